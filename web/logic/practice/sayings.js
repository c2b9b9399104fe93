// What the page says, as data that either language can say again, and the
// words that practice says: a verdict's sentence, the stage and question at
// hand, the hint's steps, the summary and the record of an exercise. The
// state asks the status line to say parts; the views write the same words
// with the translator of the language they are drawn in. Nothing here touches
// the page.
//
// A part is one of
//   { id, values }        a text of the page in the language drawn; a value
//                         that is itself a part is said first
//   { id, values, lang }  the same, always in lang, marked as in it
//   { text, lang }        text in lang, as it is, marked as in it
//   { ko, en }            words already said in each language
import { translator } from '../language/translate.js';
import { texts } from '../language/texts.js';
import { stageName, questionLabel } from '../run/words.js';
import { isMiss } from './check.js';
import { isZero } from '../run/model.js';
import { hintStep, openQuestions, tally, unasked } from './session.js';
import { score } from '../assignments/work.js';

const languages = Object.keys(texts);

// A part that says what say(t) words (a sentence, or sentences in turn) in every language.
export const inBoth = (say) => Object.fromEntries(languages.map((code) => [code, [say(translator(code))].flat().join(' ')]));

const said = (t, value) => (value !== null && typeof value === 'object' && 'id' in value ? t(value.id, sayValues(t, value.values)) : value);
const sayValues = (t, values = {}) => Object.fromEntries(Object.entries(values).map(([name, value]) => [name, said(t, value)]));

// Part said in language code: { text, lang }, lang the language it is marked
// as in, or null for code's own words.
export function spoken(code, part) {
  if ('text' in part) return { text: part.text, lang: part.lang };
  if (part.id === undefined) return { text: part[code], lang: null };
  return { text: said(translator(part.lang ?? code), part), lang: part.lang ?? null };
}

// The sentence for the verdict given on question q of stage k of m's run.
export function verdict(t, m, k, q, { verdict: v, zero }) {
  const label = questionLabel(t, q);
  if (v.right) {
    const parts = [t('practice.right', { label })];
    if (v.note === 'residue') parts.push(t('practice.note.residue', { printed: q.expected.printed }));
    if (v.note === 'fromPrinted') parts.push(t('practice.note.fromPrinted', { printed: q.expected.printed }));
    if (zero) parts.push(t('practice.note.negativeZero'));
    if (q.kind === 'divisor' && isZero(q.expected.printed)) parts.push(t('practice.note.zeroDivisor'));
    return parts.join(' ');
  }
  const { values } = q.label;
  const why = { t: values.t ?? values.r ?? '', p: values.p ?? m.stages[k].column ?? '', n: m.n };
  return t(isMiss(v) ? 'practice.wrong' : 'practice.close', { label, why: t('practice.slip.' + (v.slip ?? 'differs'), why) });
}

// Stage k of practice and its first question still open: what the status line names.
export function naming(t, m, session, k) {
  const q = openQuestions(session, k)[0];
  return [t('practice.announce', { k: k + 1, name: stageName(t, m.stages[k]) }), ...(q ? [t('practice.question', { label: questionLabel(t, q) })] : [])];
}

// The sentence of a record (session.tally's) under id: the counts, the hints worded by their number.
export const record = (t, id, counts) =>
  t(id, { ...counts, hints: t(counts.hints === 1 ? 'practice.hints.one' : 'practice.hints.other', { count: counts.hints }) });

// The sentence that names A singular where m's run found it so, or none.
const singularWords = (t, m) => (m.exact?.stop?.singular ? [t('practice.singular.' + (m.run.program === 'gjsolve' ? 'solve' : 'inverse'))] : []);

// The summary of an assignment done (a, over run m, with its result as
// noted): counted over the stages that the assignment asks (work.score), A
// named singular where it is.
export function assignmentSummary(t, a, m, result) {
  const { right, asked, hints, shown } = score(a, m, result);
  return [t('student.summary', { right, asked, hints, shown }), ...singularWords(t, m)].join(' ');
}

// The summary of the exercise done, naming A singular where it is, and the
// stages left unasked once the learner said so.
export function summary(t, m, session) {
  const left = unasked(m, session);
  return [record(t, 'practice.summary', tally(session)), ...singularWords(t, m),
          ...(left ? [t(left.first < left.last ? 'practice.summary.unasked' : 'practice.summary.unaskedOne', left)] : [])].join(' ');
}

// Step of stage k's hint as the status line says it: which step, then its sentences.
export const hintWords = (t, m, k, step) => [t('practice.hintShown', { k: k + 1, step }), ...hintStep(t, m, k, step)];
