// A class's work on an assignment as the page does it: each student's
// matrix practised through a real session (session.js), every change noted
// by work.note, and the code written when handed in. What the teacher-side
// tests grade.
import { make } from '../../../web/logic/exercises.js';
import * as session from '../../../web/logic/session.js';
import { answerOf } from '../../../web/logic/check.js';
import { exerciseFor } from '../../../web/logic/assignments/assignment.js';
import { opened, named, note, handIn } from '../../../web/logic/assignments/work.js';

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
