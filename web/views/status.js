// The status line, a polite live region, and its one writer. It tells of the
// stages that a run added, briefly (how many, and the last one's commentary
// line and operations, never the matrix), then whether the program waits; and
// whatever the state asks it to say (announce: parts, logic/practice/sayings.js). What
// it told of the run is kept as a function of the language drawn, so that a
// change of language retells it; what the state asked it to say, the state
// asks again (state.said).
import { t, language } from './language.js';
import { byId, el } from './dom.js';
import { stageName, operations } from '../logic/run/words.js';
import { isWaiting } from '../logic/run/model.js';
import { spoken } from '../logic/practice/sayings.js';

const line = byId('status');
let telling = () => [t('status.loading')];  // what the line told of the run, drawn anew in the language drawn
let session = 0;
let announced = 0;     // the stages of the session told of
let run = null;        // the run last told of
let drawnLanguage = null;  // the language drawn in

function say(parts) {
  line.replaceChildren(...parts.flatMap((part, k) => (k > 0 ? [' ', part] : [part])));
}

// Tells of the run: parts(), drawn anew in another language.
function tell(parts) {
  telling = parts;
  say(parts());
}

// The stages from .. to-1 of model, new from one run.
function brief(model, from, to) {
  const stage = model.stages[to - 1];
  const parts = [t(to - from > 1 ? 'announce.many' : 'announce.one', { count: to - from, k: to, name: stageName(t, stage) })];
  if (stage.line !== null)
    parts.push(el('span', '', stage.line, { lang: 'ko' }), t('announce.gloss', { gloss: t('gloss.' + stage.id) }));
  const ops = operations(t, stage).map((op) => op.notation);
  if (ops.length > 0) parts.push(t('announce.ops', { ops: ops.join(t('announce.separator')) }));
  return parts;
}

// Tells of the run of the slice ({ model, language, briefly }) when it is
// another than the one told of, its new stages briefly unless briefly is
// false (a locked page names no stage before it is done); retells what was
// said when only the language changed.
export function render({ model, language: code, briefly = true }) {
  const retold = code !== drawnLanguage;
  drawnLanguage = code;
  if (!model || model.run === run) {
    if (retold) tell(telling);
    return;
  }
  run = model.run;
  if (run.session !== session) [session, announced] = [run.session, 0];
  const [from, to] = [announced, model.stages.length];
  announced = Math.max(announced, to);
  const program = run.program;
  tell(() => [...(to > from && briefly ? brief(model, from, to) : []),
              isWaiting(run) ? t('status.waiting', { program }) : t('status.over')]);
}

// Says parts (logic/practice/sayings.js), each in the language drawn but those of a language of their own.
export function announce(parts) {
  say(parts.map((part) => {
    const { text, lang } = spoken(language(), part);
    return lang ? el('span', '', text, { lang }) : text;
  }));
}
