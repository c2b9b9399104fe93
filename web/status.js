// The status line, a polite live region, and its one writer. It tells of the
// stages that a run added, briefly (how many, and the last one's commentary
// line and operations, never the matrix), then whether the program waits; and
// whatever the page announces ('announce' events). What it says is kept as a
// function, so that a change of language retells it.
'use strict';
var GJ = globalThis.GJ = globalThis.GJ || {};

GJ.status = (() => {
  const line = document.getElementById('status');
  const t = GJ.language.t;
  let telling = () => [t('status.loading')];
  let session = 0;
  let announced = 0;  // the stages of the session told of
  let run = null;     // the run last told of

  function say(parts) {
    telling = parts;
    line.replaceChildren(...parts().flatMap((part, k) => (k > 0 ? [' ', part] : [part])));
  }

  // The stages from .. to-1 of model, new from one run.
  function brief(model, from, to) {
    const stage = model.stages[to - 1];
    const name = GJ.words.stageName(stage);
    const parts = [t(to - from > 1 ? 'announce.many' : 'announce.one', { count: to - from, k: to, name })];
    if (stage.line !== null)
      parts.push(GJ.el('span', '', stage.line, { lang: 'ko' }), t('announce.gloss', { gloss: t('gloss.' + stage.id) }));
    const ops = GJ.words.operations(stage).map((op) => op.notation);
    if (ops.length > 0) parts.push(t('announce.ops', { ops: ops.join(t('announce.separator')) }));
    return parts;
  }

  function render(model) {
    if (model.run === run) return;
    run = model.run;
    if (run.session !== session) [session, announced] = [run.session, 0];
    const [from, to] = [announced, model.stages.length];
    announced = Math.max(announced, to);
    const program = run.program;
    say(() => [...(to > from ? brief(model, from, to) : []),
               run.status === -1 ? t('status.waiting', { program }) : t('status.over')]);
  }

  GJ.events.on('announce', say);
  GJ.language.onChange(() => say(telling));
  return { render, retell: () => say(telling) };
})();
