// The status line, a polite live region, and its one writer. It tells of the
// stages that a run added, briefly (how many, and the last one's commentary
// line and operations, never the matrix), then whether the program waits, as
// the state says it is to tell of the run shown (state.told); and whatever the
// state asks it to say (announce: parts, logic/practice/sayings.js), which the
// state asks again in another language (state.said). Keeps nothing.
import { t, language } from './language.js';
import { byId, el } from './dom.js';
import { stageName, operations } from '../logic/run/words.js';
import { spoken } from '../logic/practice/sayings.js';

const line = byId('status');

function say(parts) {
  line.replaceChildren(...parts.flatMap((part, k) => (k > 0 ? [' ', part] : [part])));
}

// The stages from .. to-1 of stages, new from one run.
function brief(stages, from, to) {
  const stage = stages[to - 1];
  const parts = [t(to - from > 1 ? 'announce.many' : 'announce.one', { count: to - from, k: to, name: stageName(t, stage) })];
  if (stage.line !== null)
    parts.push(el('span', '', stage.line, { lang: 'ko' }), t('announce.gloss', { gloss: t('gloss.' + stage.id) }));
  const ops = operations(t, stage).map((op) => op.notation);
  if (ops.length > 0) parts.push(t('announce.ops', { ops: ops.join(t('announce.separator')) }));
  return parts;
}

// Tells of the run shown, in the language drawn, as the slice ({ stages,
// told, program }) says: its new stages briefly unless told otherwise (a
// locked page names no stage before it is done), then whether it waits;
// before a run, that the programs are loading.
export function render({ stages, told, program }) {
  if (told === null) return say([t('status.loading')]);
  const { from, to, briefly, waiting } = told;
  say([...(to > from && briefly ? brief(stages, from, to) : []), waiting ? t('status.waiting', { program }) : t('status.over')]);
}

// Says parts (logic/practice/sayings.js), each in the language drawn but those of a language of their own.
export function announce(parts) {
  say(parts.map((part) => {
    const { text, lang } = spoken(language(), part);
    return lang ? el('span', '', text, { lang }) : text;
  }));
}
