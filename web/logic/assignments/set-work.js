// A student's work on a set of problems (assignment.js's problems): each
// problem's work as work.js keeps that of an assignment of one problem, the
// set's one hand-in and its version, as one value that the browser (under the
// set's work key) or the LMS keeps; the student's side of a set, where the
// problem open is seen alone (assignment.problemOf) and worked as an
// assignment of one problem is, and the student moves freely between them.
// What is written here takes an assignment of one problem as it is (work.js's).
// Nothing here touches the page.
//
// The work of a set as the page keeps it: { problems, handed, version },
// problems a work a problem as work.kept gives one (its handed null, its
// version 0) or null for one not begun; handed the codes handed in, one a
// line (result-code.js writeSet), or null; version as work.kept's.
//
// A student of a set: work.js's student, its assignment the problem open, and
//   set    the set opened (null: an assignment of one problem)
//   at     the problem open, from 0
//   works  each problem's work (usableWork's, or null), the one open's as it
//          was when last left: its result and the session are the student's
// handed and version are the set's.
import * as work from './work.js';
import { id, problemOf, keptName, nameKey, pointsOf } from './assignment.js';
import { newResult, writeSet } from './result-code.js';

const count = (n) => (Number.isInteger(n) && n > 0 ? n : 0);

// Whether value has the shape of a set's work.
const isSetWork = (value) => typeof value === 'object' && value !== null && Array.isArray(value.problems);

// usable (a problem's work as work.usableWork gives it) with the score of w
// (that work as kept) where it has one: how the problem stands for an LMS
// (scorm.js standingOf), which the set's score sums.
const scored = (usable, w) => (usable && w?.score ? { ...usable, score: w.score } : usable);

// The work of set kept (from storage or an LMS), each problem's usable
// (work.usableWork's) or null; null where it is no set's work of set's size.
export function usableSetWork(value, set) {
  if (!isSetWork(value) || value.problems.length !== set.problems.length) return null;
  const problems = value.problems.map((w, at) => scored(work.usableWork(w && { ...w, handed: null }, problemOf(set, at)), w));
  return { problems, handed: typeof value.handed === 'string' ? value.handed : null, version: count(value.version) };
}

// The work that the student's page takes of value: the set's (usableSetWork)
// for a student of a set, else the problem's (work.usableWork).
export const usable = (value, st) => (st.set ? usableSetWork(value, st.set) : work.usableWork(value, st.assignment));

// The work of the problem open that value holds (a set's, or the problem's own), usable or null.
export const problemWork = (value, st) =>
  (st.set && isSetWork(value) ? usableSetWork(value, st.set)?.problems[st.at] ?? null : work.usableWork(value, st.assignment));

// Whether work a is newer than work b (both usable's, or null): of a set,
// handed in where b is not, else any problem's work newer (work.newer), else
// a later version; of one problem, work.newer.
export function newer(a, b) {
  if (!isSetWork(a) || !isSetWork(b)) return a !== null && b !== null ? work.newer(a, b) : a !== null;
  if ((a.handed === null) !== (b.handed === null)) return a.handed !== null;
  const some = a.problems.some((w, at) => work.newer(w, b.problems[at]));
  return some || (!b.problems.some((w, at) => work.newer(w, a.problems[at])) && a.version > b.version);
}

// Two works of one student (usable's, or null) as one: of a set, one handed
// in is taken whole (of two, the newer); else each problem's work of both
// (work.mergedWork) and the later version; of one problem, work.mergedWork.
export function merged(a, b) {
  if (!isSetWork(a) || !isSetWork(b)) return a === null || b === null ? a ?? b : work.mergedWork(a, b);
  if (a.handed !== null || b.handed !== null) return newer(b, a) ? b : newer(a, b) ? a : work.either(a, b);
  return { problems: a.problems.map((w, at) => work.mergedWork(w, b.problems[at])), handed: null, version: Math.max(a.version, b.version) };
}

// The student opening assignment a (a set or not), named or not (work.opened's).
export function opened(a, name, lms = false) {
  const st = work.opened(a, name, lms);
  return a.problems ? { ...st, assignment: problemOf(a, 0), set: a, at: 0, works: a.problems.map(() => null) } : { ...st, set: null };
}

// The student of a set at problem at, its work taken from works (a new
// result begun at now where it has none).
function at(st, k, now) {
  const w = st.works[k];
  return { ...st, at: k, assignment: problemOf(st.set, k), result: w?.result ?? newResult(id(st.set), st.name, now), rounds: w?.rounds ?? 0 };
}

// The student once the name is given (work.named's), with the set's work
// kept (kept: as setKept gave it, or null), at the problem open. Work begun
// under another name keeps it, as work.named keeps it.
export function named(st, name, kept, now) {
  if (!st.set) return work.named(st, name, kept, now);
  const clean = keptName(name);
  const found = usableSetWork(kept, st.set) ?? { problems: st.set.problems.map(() => null), handed: null, version: 0 };
  const begun = found.problems.find(Boolean);
  const other = Boolean(begun) && ![clean, ''].map(nameKey).includes(nameKey(begun.result.name));
  return at({ ...st, name: other ? keptName(begun.result.name) : clean, given: other ? clean : null, works: found.problems,
              handed: found.handed, version: found.version, confirm: false, asking: null }, st.at, now);
}

// Whether a problem's work (usable's, or null) holds work (work.hasWork).
const withWork = (w) => w !== null && work.hasWork({ result: w.result });

// The problem open's work as the set keeps it, from live (work.kept's).
const asProblem = (live) => ({ ...live, handed: null, version: 0 });

// The works of a set's student with the problem open's as it stands (live, work.kept's).
const worksWith = (st, live) => st.works.map((w, k) => (k === st.at ? scored(work.usableWork(asProblem(live), st.assignment), live) : w));

// What the page keeps of the student's work, live the problem open's
// (work.kept's): of a set, the set's work; else live itself.
export const setKept = (st, live) => (st.set ? { problems: worksWith(st, live).map((w) => w && asProblem(w)), handed: st.handed, version: st.version } : live);

// The student of a set moved to problem k, the problem left as it stands (live) kept among the works.
export const moved = (st, live, k, now) => at({ ...st, works: worksWith(st, live), confirm: false, asking: null }, k, now);

// How each problem of a set's student stands, the one open as live (and
// done, whether it is finished): [{ state: 'none' | 'begun' | 'done', points }].
export function problemStates(st, live, done) {
  return worksWith(st, { ...live, finished: done }).map((w, k) => ({ points: pointsOf(problemOf(st.set, k)),
    state: !withWork(w) ? 'none' : w.finished ? 'done' : 'begun' }));
}

// Whether a set's student has work to hand in (work.hasWork of any problem).
export const setHasWork = (st, live) => worksWith(st, live).some(withWork);

// The student once the set is handed in at now (ms): the codes written (one
// for the whole, or one a problem: writeSet), of each problem with work.
export function handedIn(st, live, now) {
  const works = worksWith(st, live);
  const parts = works.flatMap((w, k) => (withWork(w) ? [{ at: k, result: w.result }] : []));
  if (parts.length === 0) return st;
  const head = { id: id(st.set), name: st.name, started: Math.min(...parts.map((p) => p.result.started)), handed: now };
  return { ...st, works, handed: writeSet(head, parts).join('\n') };
}

// The numbers (from 1) of the problems of set that states (problemStates') say are not done.
export const notDone = (states) => states.flatMap((s, k) => (s.state === 'done' ? [] : [k + 1]));

