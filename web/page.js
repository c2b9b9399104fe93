// Runs gjinverse or gjsolve in the pane as at a console. Each line entered makes
// a new run of the session (runner.js); the page shows its model (model.js):
// the pane at once, the other views once the pane is painted, then the exact
// values, worked out in slices between frames so that the page keeps answering.
// Nothing here starts before the programs have loaded; a link followed before
// then is opened once they have.
'use strict';
var GJ = globalThis.GJ = globalThis.GJ || {};

GJ.page = (() => {
  const t = GJ.language.t;
  const byId = (id) => document.getElementById(id);
  const typed = byId('typed');
  const inputLine = byId('line');
  const endButton = byId('end');
  const restartButton = byId('restart');
  const downloadLink = document.createElement('a');
  const sliceMs = 8;          // the exact replay's work between two looks at the page
  const laterViews = [GJ.links, GJ.stages, GJ.status, GJ.practice];
  let model = null;           // the model shown

  // Renders every view but the pane, and the pane again when the exact values have come.
  function renderAll(m, withPane) {
    if (withPane) GJ.pane.render(m);
    for (const view of laterViews) view.render(m);
  }

  // Works out the exact values of m's run a slice at a time, while it is shown.
  function replay(m) {
    const job = GJ.model.replay(m);
    if (job === null) return;
    const slice = () => {
      if (!GJ.events.isShown(m.run)) return;
      if (!job.step(performance.now() + sliceMs)) {
        setTimeout(slice, 0);
        return;
      }
      model = GJ.model.withExact(m, job.result);
      renderAll(model, true);
    };
    slice();
  }

  // Shows run: the pane at once, the rest after paint.
  function show(run) {
    model = GJ.model(run, model);
    const shown = model;
    GJ.events.show(run);
    GJ.pane.render(shown);
    settleFocus();
    GJ.events.afterPaint(run, () => {
      renderAll(shown, false);
      replay(shown);
    });
  }

  // After a run: the input field keeps the focus while the program waits, and hands
  // it to "Start over" when the run ends.
  function settleFocus() {
    const waiting = model.run.status === -1;
    const hadFocus = [typed, endButton].includes(document.activeElement);
    typed.disabled = endButton.disabled = !waiting;
    inputLine.hidden = !waiting;
    if (waiting) {
      typed.focus();
      typed.scrollIntoView({ block: 'nearest' });
    } else if (hadFocus) {
      restartButton.focus();
    }
  }

  // Hands the program one more entry, with the end of input after it if ended.
  function enter(text, ended) {
    const run = GJ.runner.extend(model.run, text, ended);
    if (run === null) return;
    typed.value = '';
    show(run);
  }

  // Opens a program afresh and types input at its prompts, a line per entry, with
  // the end of input after it if ended; a last piece without its Enter stays in
  // the input field. Only the last run is shown.
  function open(program, input = '', ended = false) {
    document.title = t('title.program', { program });
    for (const link of document.querySelectorAll('nav a')) {
      if (link.hash === '#' + program) link.setAttribute('aria-current', 'page');
      else link.removeAttribute('aria-current');
    }
    for (const node of document.querySelectorAll('.program-name')) node.textContent = program;
    const entries = GJ.share.entries(input);
    if (ended && (entries.length === 0 || entries.at(-1).endsWith('\n'))) entries.push('');
    const last = entries.length > 0 && !entries.at(-1).endsWith('\n') && !ended ? entries.pop() : '';
    let run = GJ.runner.open(program);
    for (const [k, entry] of entries.entries()) run = GJ.runner.extend(run, entry, ended && k === entries.length - 1) ?? run;
    typed.value = '';
    show(run);
    if (run.status === -1) typed.value = last;
  }

  // Opens what the address's fragment names (share.js), practised or watched;
  // anything wrong with it is said above the pane. An exercise's link gives
  // its matrix through practice.
  function openLink() {
    const link = GJ.share.parse(location.hash);
    GJ.links.setProblem(link.problem, link.program);
    const { input, ended } = GJ.practice.follow(link);
    open(link.program, input, ended);
  }

  // Start over: the same program, empty, and an address that says so.
  function restart() {
    GJ.links.setProblem(null);
    history.replaceState(null, '', GJ.share.fragment(model.run.program, '', false, { practice: GJ.practice.active }));
    open(model.run.program);
  }

  function download() {
    // The address of the previous download is let go only now, when surely done with.
    if (downloadLink.href) URL.revokeObjectURL(downloadLink.href);
    downloadLink.href = URL.createObjectURL(new Blob([model.run.bytes], { type: 'text/plain; charset=utf-8' }));
    downloadLink.download = `${model.run.program}.log`;
    downloadLink.click();
  }

  // Ctrl-D ends the input. Where the key is no Latin letter (a Korean input
  // method reports 'ㅇ'), the physical key counts; elsewhere the letter does,
  // whatever key of the layout gives it.
  function isCtrlD(event) {
    if (!event.ctrlKey || event.altKey || event.metaKey) return false;
    return /^[a-z]$/i.test(event.key) ? event.key.toLowerCase() === 'd' : event.code === 'KeyD';
  }

  // The dialogue's controls and links, once the programs are there.
  function start() {
    inputLine.addEventListener('submit', (event) => {
      event.preventDefault();
      enter(typed.value + '\n', false);
    });
    typed.addEventListener('keydown', (event) => {
      if (!isCtrlD(event)) return;
      event.preventDefault();
      enter(typed.value, true);
    });
    endButton.addEventListener('click', () => enter(typed.value, true));
    restartButton.addEventListener('click', restart);
    byId('download').addEventListener('click', () => {
      download();
      if (model.run.status === -1) typed.focus();
    });
    byId('copy').addEventListener('click', async () => {
      await GJ.copy(model.run.output, 'status.copied');
      if (model.run.status === -1) typed.focus();
    });
    addEventListener('hashchange', openLink);
    openLink();
  }

  // Both languages at once: the language switch may be out of reach when nothing works.
  function loadFailed(error) {
    const say = (code) => GJ.el('span', '', GJ.language.text(code, 'status.loadFailed', { error }), { lang: code });
    GJ.events.emit('announce', () => [say('ko'), say('en')]);
  }

  GJ.language.onChange(() => {
    document.title = model === null ? t('title') : t('title.program', { program: model.run.program });
  });
  GJ.language.start();
  GJ.runner.load(GJ.programs).then(start, (error) => loadFailed(String(error)));
  return { get model() { return model; } };
})();
