// A class's work on an assignment as the page does it: each student's
// matrix practised through a real session (session.js), every change noted
// by work.note, and the code written when handed in. What the teacher-side
// tests grade.
import { make } from '../../../web/logic/practice/exercises.js';
import * as session from '../../../web/logic/practice/session.js';
import { answerOf } from '../../../web/logic/practice/check.js';
import { exerciseFor } from '../../../web/logic/assignments/assignment.js';
import { opened, named, note, handIn } from '../../../web/logic/assignments/work.js';
import { id, problemsOf, keptName } from '../../../web/logic/assignments/assignment.js';
import { write, writeSet } from '../../../web/logic/assignments/result-code.js';
import { ownStart } from '../../../web/logic/assignments/set.js';
import { newOwnResult, ownNoted } from '../../../web/logic/assignments/own-result.js';
import { fromRun } from '../../../web/logic/own/matrix.js';
import { startWork, doOperation, counted, matrixAt } from '../../../web/logic/own/work.js';
import { apply } from '../../../web/logic/own/arithmetic.js';
import { changed } from '../../../web/logic/own/operations.js';
import { meaning, readingOf } from '../../../web/logic/own/reading.js';
import { hint } from '../../../web/logic/own/hints.js';
import { format as show } from '../../../web/logic/run/exact.js';

export const monday9 = Date.UTC(2026, 11, 7, 0);   // 9:00 in Seoul, when the class starts

const right = (q) => (q.kind === 'invertible' ? { choice: answerOf(q) } : q.expected.alone ? { alone: true } : { text: answerOf(q) });
const wrong = (q, text = '12345') => (q.kind === 'invertible' ? { choice: q.choices.find((c) => c !== answerOf(q)) } : { text });

// A student's work on assignment a: { student, practice, m }, the stages
// asked worked one each as plan says ('first': every answer right; 'tries': a
// wrong first answer, then right; 'huge': the same, the wrong one 1e999;
// 'hint': a hint, then right; 'shown': a wrong answer, then Show; 'open': a
// wrong answer, and no more), begun at started (ms); each(student,
// practice, m) is called after every change.
export function worked(a, name, plan, started = monday9, each = () => {}) {
  const m = make(exerciseFor(a, name)).model;
  let student = named(opened(a, name), name, null, started);
  let practice = session.start(m, { asked: { from: a.from, fill: a.fill, own: false } });
  const change = (next) => {
    student = { ...student, result: note(student.result, practice, next) };
    practice = next;
    each(student, practice, m);
  };
  for (const how of plan) {
    if (practice.finished) break;
    const k = practice.current;
    const first = session.openQuestions(practice, k)[0];
    if (how === 'hint') change(session.hint(practice, k));
    if (['tries', 'huge', 'shown', 'open'].includes(how)) change(session.answer(practice, k, first.key, wrong(first, how === 'huge' ? '1e999' : '12345')));
    if (how === 'open') break;
    if (how === 'shown') change(session.fillIn(m, practice, k));
    else for (const q of session.openQuestions(practice, k)) change(session.answer(practice, k, q.key, right(q)));
    if (practice.current === k) change(session.advance(m, practice, k));
  }
  return { student, practice, m };
}

// The code that the student of worked() hands in, minutes after the start.
export const code = (a, name, plan, minutes, started = monday9) =>
  handIn(worked(a, name, plan, started).student, started + minutes * 60000).handed;

// A school's year of codes on assignment a: students students (no class
// list), each handing in count codes as the work grows (at even steps of its
// changes, the last one whole), one a line in the order handed in.
export function schoolYear(a, students, count) {
  const codes = Array.from({ length: students }, (_, i) => {
    const steps = [];
    worked(a, `Student ${i + 1}`, Array(9).fill(['first', 'tries', 'hint', 'shown'][i % 4]), monday9, (student) => steps.push(student));
    return Array.from({ length: count }, (_, c) => handIn(steps[Math.round(((c + 1) * (steps.length - 1)) / count)], monday9 + (c + 1) * 60000 + i * 1000).handed);
  });
  return Array.from({ length: count }, (_, c) => codes.map((mine) => mine[c])).flat().join('\n');
}

// A student's work on an own assignment a (mode 'own'), as the student's
// page does it: the student's matrix, reduced by the method's next operation
// each time, done as plan says, a word an operation ('right': its row written
// right; 'slip': the old row written first, then the right one; 'shown': the
// row shown at once; 'hint': a hint asked first; 'extra': row 1 doubled
// instead, which the method never does), then read off in full ('right',
// 'wrong' or null, once reduced). Gives { result, work, start }.
export function ownWorked(a, name, plan, read = 'right', started = monday9) {
  const start = a.matrix ? ownStart(a.matrix) : fromRun(a.program, make(exerciseFor(a, name)).input);
  let work = startWork(start.matrix, start.kind);
  for (const how of plan) {
    const matrix = matrixAt(work);
    const next = hint(matrix);
    if (next === null) break;
    const op = how === 'extra' ? { type: 'scale', row: 0, factor: { n: 2n, d: 1n } } : next.op;
    if (how === 'hint') work = counted(work, 'hints');
    if (a.arithmetic === 'page' || op.type === 'swap') work = doOperation(work, op);
    else if (how === 'shown') work = counted(doOperation(work, op, null, { shown: true }), 'shown');
    else {
      const first = (how === 'slip' ? matrix : apply(matrix, op)).rows[changed(op)[0]].map(show);
      work = doOperation(counted(how === 'slip' ? counted(work, 'tries') : work, 'tries'), op, null, { first });
    }
  }
  const means = meaning(matrixAt(work), start.kind);
  const n = start.matrix.rows.length;
  const wrong = { one: { set: null }, many: { set: null }, none: { set: Array(n).fill('0').join(', ') }, inverse: { inverse: null },
    singular: { inverse: start.matrix.rows.map((_, i) => start.matrix.rows.map((__, j) => Number(i === j)).join(' ')).join('\n') } }[means?.kind];
  const answer = read === null || means === null ? null : read === 'right' ? readingOf(means) : wrong;
  return { result: ownNoted(newOwnResult(id(a), name, started), work, answer), work, start };
}

// The code that the student of ownWorked() hands in, minutes after the start.
export const ownCode = (a, name, plan, minutes, read = 'right', started = monday9) =>
  write({ ...ownWorked(a, name, plan, read, started).result, handed: started + minutes * 60000 });

// The codes that a student hands in of set a, minutes after the start: each
// problem worked as plans say (null: not begun), this method's stages as
// worked() works them, the student's own way as ownWorked() ({ own: plan,
// read }); one code, or a code a problem past limit (result-code.js writeSet).
export const setCodes = (a, name, plans, minutes, limit = undefined, started = monday9) => setWork(a, name, plans, started)(minutes, limit);

// The work of setCodes() done once: a function (minutes, limit) of its codes handed in then.
export function setWork(a, name, plans, started = monday9) {
  const parts = problemsOf(a).flatMap((p, at) => (plans[at] === null ? [] : [{ at, result: p.mode === 'own'
    ? ownWorked(p, name, plans[at].own, plans[at].read, started).result : worked(p, name, plans[at], started).student.result }]));
  return (minutes, limit) => writeSet({ id: id(a), name: keptName(name), started, handed: started + minutes * 60000 }, parts, limit);
}
