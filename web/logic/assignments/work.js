// A student's side of an assignment, as a value: who is working it, the
// result being filled (result-code.js), the code once handed in, and what the
// assignment locks while it is open. The page's state holds one of these; the
// views draw the locks from it. Nothing here touches the page.
//
// A student: {
//   assignment  the assignment opened (assignment.js), without the class list
//   name        the student's name, or null while the page asks for it
//   named       whether the link named the student (the page then asks for no name)
//   result      the record handed in (result-code.js), or null before the name
//   handed      the result code once handed in, or null
//   confirm     whether the page is asking before it starts the work over
//   lms         whether the page runs inside an LMS, which then names the
//               student and keeps the work instead of the browser
// }
import { id, nameKey } from './assignment.js';
import { newResult, noted, write } from './result-code.js';
import { isMiss } from '../check.js';

// The student opening assignment a, named by the link or the LMS or not (name null).
export const opened = (a, name, lms = false) =>
  ({ assignment: a, name, named: name !== null, result: null, handed: null, confirm: false, lms });

// What the work of student name on assignment a is kept under: two names
// that are one by nameKey share it, two students on one browser do not.
export const workKey = (a, name) => `assignment.${id(a)}.${nameKey(name)}`;

// Whether the assignment hides what would show a stage before it is answered:
// from the name on, until it is handed in.
export const locked = (student) => student !== null && student.name !== null && student.handed === null;

// The steps of a stage's hint that the student may see (all, once unlocked).
export const hintsAllowed = (student, steps) => (locked(student) ? Math.min(steps, student.assignment.hints) : steps);

// Whether Show may fill a stage in.
export const showAllowed = (student) => !locked(student) || student.assignment.show;

// The student once the name is given (trimmed, NFC), with the work kept under
// it (kept: what the page stored, or null) or a new result begun at now (ms).
export function named(student, name, kept, now) {
  const clean = name.normalize('NFC').trim();
  const result = kept?.result?.id === id(student.assignment) ? kept.result : newResult(id(student.assignment), clean, now);
  return { ...student, name: clean, result, handed: typeof kept?.handed === 'string' ? kept.handed : null, confirm: false };
}

// The result with what the session's change from before to after shows noted:
// an answer checked, a hint's step, Show, a stage reached or finished. A
// result handed in is noted no more.
export function note(result, before, after) {
  if (result === null || after === before) return result;
  let r = result;
  for (let k = after.from; k < after.stages.length; k++) {
    const [b, s] = [before.stages[k], after.stages[k]];
    if (!s || s === b) continue;
    const count = s.questions.length;
    r = noted(r, k, count, {});
    s.questions.forEach((q, i) => {
      const given = s.answers.get(q.key);
      if (!given || b?.answers.get(q.key) === given || s.shown) return;
      r = noted(r, k, count, { answer: i, given: answerGiven(given), miss: isMiss(given.verdict) });
    });
    for (let step = b?.hints ?? 0; step < s.hints; step++) r = noted(r, k, count, { hint: true });
    if (s.shown && !b?.shown) r = noted(r, k, count, { shown: true });
  }
  for (let k = after.from; k < after.stages.length; k++)
    if (after.stages[k] && (k < after.current || after.finished)) r = noted(r, k, after.stages[k].questions.length, { done: true });
  return r;
}

// An answer as the session keeps it, as a result keeps it.
const answerGiven = (a) => (a.choice ? { choice: a.choice } : a.alone ? { alone: true } : { text: a.text ?? '' });

// The student once the work is handed in at now (ms): the code written.
export const handIn = (student, now) => ({ ...student, handed: write({ ...student.result, handed: now }) });

// What the page keeps of the student's work: the session's progress as
// session.stored gives it, whether it was finished, the result and the code.
export const kept = (student, progress, finished) => ({ progress, finished, result: student.result, handed: student.handed });
