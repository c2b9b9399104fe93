// The handlers of a set being made with the assignment form (its
// draft), which state/teaching.js brings with the teacher's part: problems added
// from the form's values (one drawn from the generator, or each of the
// teacher's own matrices pasted), removed, moved, copied and given their
// points; the form's "Make the links" then makes the set (teaching.js). The
// slice state.draft, null until a first problem is added:
//   seed      the set's seed, drawn as the first problem is added: the
//             previews show the matrices that the students will get
//   problems  the set's problems so far (logic/assignments/set.js), 0 to 12
//   trouble   why the last problems asked could not be added ({ id, values }:
//             which problem, which entry), or null
import { assignment, teacherFragment, stagePlan, generatorVersion } from '../logic/assignments/assignment.js';
import { problem, readMatrices, stagesTrouble, maxProblems, maxPoints } from '../logic/assignments/set.js';
import { firstAsked, possible } from '../logic/run/share.js';

// What an assignment of the student's own operations takes of the form's
// values: not the first stage nor the entries, which it does not ask; a hint
// allowed or not (0 or 3); a changed row seen only where the student writes
// such rows. Where it asks the stages, the arithmetic is the page's.
const ownGiven = (given) => (given.mode === 'own'
  ? { from: firstAsked, fill: 'row', hints: Number(given.hints) > 0 ? 3 : 0, show: given.arithmetic === 'learner' && given.show === true }
  : { arithmetic: 'page' });

// What the form's values (given) ask of a problem: its fields as typed, the
// options that can hold together at its order, the first stage a number,
// and of the student's own operations what ownGiven takes.
export function askedOf(given) {
  const from = Math.round(Number(given.from));
  const options = possible(Array.isArray(given.options) ? given.options : [], Number(given.order), generatorVersion);
  return { ...given, options, from: Number.isFinite(from) ? from : firstAsked, ...ownGiven(given) };
}

const empty = (seed) => ({ seed, problems: [], trouble: null });

// The draft with its problems changed to problems (and no trouble), or with trouble said.
const withProblems = (state, problems) => [{ ...state, draft: { ...state.draft, problems, trouble: null } }, []];
const troubled = (state, draft, trouble) => [{ ...state, draft: { ...draft, trouble } }, [{ announce: [trouble] }]];

// Whether problem p may stand in a set: a set of it alone can be linked.
function linkable(p) {
  try {
    teacherFragment(assignment({ problems: [p] }));
    return true;
  } catch {
    return false;
  }
}

// The problems that the form's values (given: what the form asks, and
// source 'drawn' or 'given' with kind and text, the teacher's matrices)
// add as problems first to first + count - 1: { problems } or { trouble }.
function added(given, first) {
  const asked = askedOf(given);
  if (given.source !== 'given') {
    const p = problem({ ...asked, matrix: null });
    return linkable(p) ? { problems: [p] } : { trouble: { id: 'assign.problem.invalid', values: { problem: first } } };
  }
  const read = readMatrices(given.text, given.kind, first);
  if (read.problem) return { trouble: read.problem };
  // The stage asked first, within the run of each matrix.
  const problems = read.matrices.map((matrix) => problem({ ...asked, matrix })).map((p) => ({ ...p, from: Math.min(p.from, stagePlan(p.program, p.order).length) }));
  const stages = asked.mode === 'own' ? null : read.matrices.map((m, i) => stagesTrouble(m, first + i)).find(Boolean);
  return stages ? { trouble: stages.problem } : { problems };
}

// A handler that takes the draft's problem at (from 0) only where there is one.
const atProblem = (handle) => (state, message) => {
  const problems = state.draft?.problems ?? [];
  return Number.isInteger(message.at) && message.at >= 0 && message.at < problems.length ? handle(state, message, problems) : [state, []];
};

export const draftHandlers = {
  // Problems added from the form's values (given, as problemAdded's added()
  // takes them); seed, the set's, taken with the first.
  problemAdded: (state, { given = {}, seed }) => {
    const draft = state.draft ?? empty(Number.isInteger(seed) ? seed : 1);
    const more = added(given ?? {}, draft.problems.length + 1);
    if (more.trouble) return troubled(state, draft, more.trouble);
    if (draft.problems.length + more.problems.length > maxProblems) return troubled(state, draft, { id: 'assign.problem.many', values: { most: maxProblems } });
    return withProblems({ ...state, draft }, [...draft.problems, ...more.problems]);
  },
  problemRemoved: atProblem((state, { at }, problems) => withProblems(state, problems.filter((p, k) => k !== at))),
  // A problem moved one place up or down (by: -1 or 1).
  problemMoved: atProblem((state, { at, by }, problems) => {
    const to = at + (by === -1 ? -1 : 1);
    if (to < 0 || to >= problems.length) return [state, []];
    const next = [...problems];
    [next[at], next[to]] = [next[to], next[at]];
    return withProblems(state, next);
  }),
  // A copy of a problem, just after it: the same matrix asked otherwise, say.
  problemCopied: atProblem((state, { at }, problems) => (problems.length >= maxProblems
    ? troubled(state, state.draft, { id: 'assign.problem.many', values: { most: maxProblems } })
    : withProblems(state, [...problems.slice(0, at + 1), problems[at], ...problems.slice(at + 1)]))),
  // A problem's points: a whole number from 1 to maxPoints, else as they were.
  pointsSet: atProblem((state, { at, points }, problems) => {
    const n = Number(points);
    if (!Number.isInteger(n) || n < 1 || n > maxPoints || n === problems[at].points) return [state, []];
    return withProblems(state, problems.map((p, k) => (k === at ? { ...p, points: n } : p)));
  }),
};
