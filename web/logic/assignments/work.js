// A student's side of an assignment, as a value: who is working it, the
// result being filled (result-code.js) and the code once handed in. The
// page's state holds one of these; what the assignment allows of it, the
// locks among it, is permissions.js's. Nothing here touches the page.
//
// A student: {
//   assignment  the assignment opened (assignment.js), without the class list
//   name        the student's name, or null while the page asks for it: the
//               one that the work kept was begun under, whose matrix it is
//   given       the name given (by an LMS, say) where the work kept was begun
//               under another, which it keeps; else null
//   named       whether the link named the student (the page then asks for no name)
//   result      the record handed in (result-code.js), or null before the name
//   handed      the result code once handed in, or null
//   confirm     whether the page is asking before it starts the work over
//   asking      what the page says of a hand-in asked for: { asked, left }, the
//               stages asked and those of them not done, while it asks before
//               it hands in; { empty: true } when there is no work to hand in; or null
//   version     how many times this work was kept, counting those of the
//               tabs whose work this one took (see newer)
//   rounds      how many times the student started the work over
//   elsewhere   whether this page took newer work that another tab kept
//   unsaved     whether the browser refused to keep the work (it then lives
//               as long as the page)
//   lms         whether the page runs inside an LMS, which then names the
//               student and keeps the work instead of the browser
// }
import { id, nameKey, keptName, drawnName } from './assignment.js';
import { newResult, noted, write, isResult } from './result-code.js';
import { isMiss } from '../practice/check.js';
import { askedStages, firstStageOf } from '../practice/session.js';

// The student opening assignment a, named by the link or the LMS or not (name null).
export const opened = (a, name, lms = false) =>
  ({ assignment: a, name, given: null, named: name !== null, result: null, handed: null, confirm: false, lms,
     asking: null, version: 0, rounds: 0, elsewhere: false, unsaved: false });

// What the work of student name on assignment a is kept under: two names
// that are one by nameKey share it, two students on one browser do not, and a
// name corrected keeps the key of the name it was (assignment.drawnName).
export const workKey = (a, name) => `assignment.${id(a)}.${nameKey(drawnName(a, name))}`;

// The work kept of assignment a (as kept() gave it, from storage or an LMS),
// if it is whole and of this assignment: its result one that result-code.js
// takes, its code a string or null; else null, and the work starts afresh
// (work kept by an older page, or altered by hand, never jams the page).
export function usableWork(work, a) {
  const fine = typeof work === 'object' && work !== null && isResult(work.result) && work.result.id === id(a) &&
    (work.handed === null || work.handed === undefined || typeof work.handed === 'string');
  if (!fine) return null;
  const count = (n) => (Number.isInteger(n) && n > 0 ? n : 0);
  return { progress: work.progress ?? null, finished: work.finished === true, result: work.result, handed: work.handed ?? null,
           version: count(work.version), rounds: count(work.rounds) };
}

// How far a work (usableWork's) has gone, in the order that newer weighs it:
// handed in or not, the stages done, the answers (and first answers), hints'
// steps and Shows noted, and the version.
const firsts = (s) => s.first.filter((answer) => answer !== null).length;
function reach(work) {
  const { stages, own } = work.result;
  if (own) return [work.handed === null ? 0 : 1, Number(own.answer !== null), own.ops.length + own.tries + own.shown + own.hints, work.version];
  const notes = stages.reduce((sum, s) => sum + s.tries + firsts(s) + s.hints + (s.shown ? 1 : 0), 0);
  return [work.handed === null ? 0 : 1, stages.filter((s) => s.done).length, notes, work.version];
}

// Whether work a of a student is newer than work b of the same student, both
// as usableWork gives them (null: none): handed in where b is not, else more
// stages done (of own work: read off), else more noted, else a later version. Work noted in one tab
// only grows, so its own next version is always newer; a tab that kept less
// than another never replaces the other's. Equal work is not newer.
export function newer(a, b) {
  if (a === null || b === null) return a !== null;
  const [x, y] = [reach(a), reach(b)];
  const k = x.findIndex((value, i) => value !== y[i]);
  return k >= 0 && x[k] > y[k];
}

// Of two values, one by a rule that takes no side (the first in the order of
// their texts): tabs that took each other's work keep the same.
export const either = (x, y) => (JSON.stringify(x) <= JSON.stringify(y) ? x : y);

// Of two first answers to one question (null: none), the one given, else either.
const bothFirst = (x = null, y = null) => (x === null || y === null ? x ?? y : either(x, y));

// A stage of two results of one student as one: what either noted.
const bothStages = (a, b) => {
  const first = Array.from({ length: Math.max(a.first.length, b.first.length) }, (_, i) => bothFirst(a.first[i], b.first[i]));
  return { k: a.k, done: a.done || b.done, right: a.right && b.right, tries: Math.max(a.tries, b.tries, firsts({ first })),
           hints: Math.max(a.hints, b.hints), shown: a.shown || b.shown, first };
};

// The answers of a stage kept twice ([key, given] pairs) as one: of two to one
// question, the right one, else either.
function bothAnswers(x, y) {
  const answers = new Map(y);
  for (const [key, given] of x) {
    const there = answers.get(key);
    if (!there || (given.verdict.right !== there.verdict.right ? given.verdict.right : either(given, there) === given)) answers.set(key, given);
  }
  return [...answers].sort(([k1], [k2]) => (k1 < k2 ? -1 : k1 > k2 ? 1 : 0));
}

// The practice kept of two works of one student as one (session.stored's):
// that of the work started over more often (rounds), else each stage's
// answers and flags of both, as far as either went.
function bothProgress(a, b) {
  const [p, q] = [a.progress, b.progress];
  if (a.rounds !== b.rounds) return a.rounds > b.rounds ? p : q;
  if (!p || !q || p.from !== q.from || p.fill !== q.fill) return !p || !q ? p ?? q : either(p, q);
  const stage = (x, y) => (!x || !y ? x ?? y ?? null : { answers: bothAnswers(x.answers, y.answers),
    wrong: x.wrong || y.wrong, hints: Math.max(x.hints, y.hints), shown: x.shown || y.shown });
  const length = Math.max(p.stages.length, q.stages.length);
  return { ...p, current: Math.max(p.current, q.current), stages: Array.from({ length }, (_, k) => stage(p.stages[k], q.stages[k])) };
}

// Two works of one student (usableWork's, or null) as one, so that answers
// given at once in two tabs are all kept: one handed in is taken whole (of
// two, the newer); else every stage that either result noted, each with the
// first answers and the flags of both, the practice of both (bothProgress),
// and the later version. Own work (own-result.js), whose operations follow
// one another, is not merged: the newer is taken whole. Which of two is
// taken where neither comes first is the same whichever is a: tabs of
// one student, each merging what the others kept, come to the same work.
export function mergedWork(a, b) {
  if (a === null || b === null) return a ?? b;
  if (a.handed !== null || b.handed !== null || a.result.own || b.result.own) return newer(b, a) ? b : newer(a, b) ? a : either(a, b);
  const ks = [...new Set([...a.result.stages, ...b.result.stages].map((s) => s.k))].sort((x, y) => x - y);
  const at = (work, k) => work.result.stages.find((s) => s.k === k);
  const stages = ks.map((k) => (at(a, k) && at(b, k) ? bothStages(at(a, k), at(b, k)) : at(a, k) ?? at(b, k)));
  return { progress: bothProgress(a, b), finished: a.finished || b.finished, result: { ...a.result, started: Math.min(a.result.started, b.result.started), stages },
           handed: null, version: Math.max(a.version, b.version), rounds: Math.max(a.rounds, b.rounds) };
}

// Whether two works of one student (usableWork's, or null) hold the same work,
// whatever their versions: neither adds to the other.
export const sameWork = (a, b) => JSON.stringify(a && { ...a, version: 0 }) === JSON.stringify(b && { ...b, version: 0 });

// The student once the name is given, as a code keeps it (assignment.keptName:
// the one name that links, codes and the matrix take), with the work kept
// under it (kept: what the page stored or the LMS gave, or null; see
// usableWork) or a new result begun at now (ms). Work begun under another
// name (an LMS that names the student only in a later session) keeps that
// name, and so its matrix; given then notes the name given.
export function named(student, name, kept, now) {
  const clean = keptName(name);
  const work = usableWork(kept, student.assignment);
  const other = work && ![clean, ''].map(nameKey).includes(nameKey(work.result.name));
  const result = work?.result ?? newResult(id(student.assignment), clean, now);
  return { ...student, name: other ? keptName(work.result.name) : clean, given: other ? clean : null, result, handed: work?.handed ?? null,
           confirm: false, asking: null, version: work?.version ?? 0, rounds: work?.rounds ?? 0 };
}

// The first stage (0-based) that assignment a asks of a run m: its `from`,
// as practice starts it (session.firstStageOf).
export const firstStage = (a, m) => firstStageOf(m, a.from);

// The stages (0-based, in order) that assignment a asks of the student whose
// run is m: from its first to the last, or, for a singular A, to the last
// that still means something once the student says so (session.askedStages).
// The results table, the LMS's report and the student's own summary count these.
export const stagesAsked = (a, m) => askedStages(m, firstStage(a, m));

// How a student's work on assignment a over run m stands, by the record
// (result-code.js): { asked, done, right, hints, shown, share }, the stages
// asked, those of them done, done right the first time (by the student's
// page), the hints' steps seen and the stages shown, and right as a share of
// asked (0 to 1). "k of n" is right of asked.
export function score(a, m, result) {
  const asked = stagesAsked(a, m);
  const done = (result?.stages ?? []).filter((s) => s.done && asked.includes(s.k));
  const right = done.filter((s) => s.right).length;
  return { asked: asked.length, done: done.length, right, hints: done.reduce((sum, s) => sum + s.hints, 0),
           shown: done.filter((s) => s.shown).length, share: asked.length > 0 ? right / asked.length : 0 };
}

// Whether the student has work to hand in: an answer, a hint or Show noted;
// of own work, an operation, a row checked or a hint.
export function hasWork(student) {
  const own = student?.result?.own;
  if (own) return own.ops.length > 0 || own.tries > 0 || own.hints > 0;
  return (student?.result?.stages ?? []).some((s) => s.tries > 0 || s.hints > 0 || s.shown);
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
// Work with nothing in it (hasWork) is not handed in: the student stays.
export const handIn = (student, now) => (hasWork(student) ? { ...student, handed: write({ ...student.result, handed: now }) } : student);

// What the page keeps of the student's work: the session's progress as
// session.stored gives it, whether it was finished, the result, the code, the
// version (newer weighs it) and the rounds.
export const kept = (student, progress, finished) =>
  ({ progress, finished, result: student.result, handed: student.handed, version: student.version, rounds: student.rounds ?? 0 });

