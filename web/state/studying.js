// The state's handlers for a student's assignment (logic/assignments/work.js):
// the student's link, the name, "Not you?", the hand-in and the LMS's answer;
// the locks, which refuse what the assignment's permissions do not allow; and
// what the student's run is kept under. A student's matrix is made by an
// effect ({ make }), whose input comes back as the message 'made'.
import * as session from '../logic/session.js';
import * as work from '../logic/assignments/work.js';
import { exerciseFor } from '../logic/assignments/assignment.js';
import { permissions, allows } from '../logic/assignments/permissions.js';
import { teaching } from './teaching.js';

// What the link that opened run asked of it, if that link opened it.
export const linkOf = (state, run) =>
  (state.link && state.link.program === run.program && state.link.input === run.input ? state.link : null);

// Whether run is the one that the student's assignment opened.
export const isStudents = (state, run) => state.student?.name != null && linkOf(state, run) !== null;

// The effect that keeps the student's work under the student's own key, or
// inside an LMS, tells the LMS.
export function workEffect({ student: st, session: s }) {
  const kept = work.kept(st, session.stored(s), s.finished);
  return st.lms ? { report: kept } : { store: work.workKey(st.assignment, st.name), value: kept };
}

// The key that the progress of run is kept under: the student's own for the
// assignment's run, else the exercise's.
export const progressKeyOf = (state, run) =>
  (isStudents(state, run) ? work.workKey(state.student.assignment, state.student.name) : session.progressKey(run));

// Whether the permissions of the student's page refuse message.
export function forbidden(state, message) {
  const taken = state.session?.stages[message.k]?.hints ?? null;
  return !allows(permissions(state.student), message, taken);
}

const opening = (program) => ({ open: { program, input: '', ended: false } });

// The state once the student's name is known (from the link or the form): the
// student's matrix asked for, to be opened as an exercise asked from the
// assignment's first stage once it is made, with the work kept under that
// name; before, the program empty while the page asks for the name. now: the
// time (ms) that a new result begins at.
function begun(state, kept, now) {
  const st = state.student;
  if (st.name === null) return [{ ...state, link: null }, [opening(st.assignment.program), { focus: { element: 'student-name' } }]];
  const a = st.assignment;
  const link = { program: a.program, input: null, exercise: null, asked: { from: a.from, fill: a.fill, own: false } };
  return [{ ...state, student: work.named(st, st.name, kept, now), link, unmet: false }, [{ make: exerciseFor(a, st.name) }]];
}

// The state once a student's link (found, as assignment.parseLink reads it) is
// followed: the assignment, in practice; with the student's name (the link's
// or the LMS's, with kept, the work kept under it), the student's matrix,
// asked as the assignment asks; without, the program empty while the page
// asks for the name. now: the time (ms) that a new result begins at; lms,
// whether the page runs inside an LMS.
function studentLink(state, { found, program, kept = null, now = 0, lms = false }) {
  if (found.problem || !found.assignment) return teaching(state, { found, program });
  const opened = work.opened(found.assignment, found.name, lms);
  return begun({ ...state, mode: 'practice', problem: null, teacher: null, unmet: false, link: null, student: opened }, kept, now);
}

const outcomes = ['connected', 'refused', 'ended'];

// The state once the LMS around the page answered (views/assignments/lms.js):
// a session opened, with the name and saved work that it gave; none started;
// or, for a page restored from the back-forward cache, the session over.
function lmsOutcome(state, { outcome, version = null, name = '', suspend = '' }) {
  if (!outcomes.includes(outcome) || (outcome === 'ended' && state.lms === null)) return [state, []];
  if (outcome === 'ended') return [{ ...state, lms: { ...state.lms, outcome } }, []];
  return [{ ...state, lms: { outcome, version, name: String(name ?? ''), suspend: String(suspend ?? ''), taken: null } }, []];
}

// The state once the LMS took, or refused, the work last told; for a
// hand-in (handIn), the words that say whether the gradebook has it.
function reported(state, { ok, handIn = false }) {
  if (state.lms === null) return [state, []];
  const words = handIn ? [{ announce: [{ id: ok === true ? 'student.lmsHandedIn' : 'student.lmsHandedInUntaken' }] }] : [];
  return [{ ...state, lms: { ...state.lms, taken: ok === true } }, words];
}

export const handlers = {
  studentLink,
  // The name typed on a student's link without one.
  studentName: (state, { name, kept = null, now = 0 }) => {
    const clean = String(name).normalize('NFC').trim();
    if (!state.student || state.student.name !== null || clean === '') return [state, []];
    return begun({ ...state, student: { ...state.student, name: clean } }, kept, now);
  },
  // Another student at the same browser: back to the name, the work kept.
  notYou: (state) => {
    if (!state.student || state.student.named) return [state, []];
    return begun({ ...state, student: work.opened(state.student.assignment, null, state.student.lms) }, null, 0);
  },
  handIn: (state, { now }) => {
    const st = state.student;
    if (!st?.result || st.handed !== null || !state.session) return [state, []];
    const next = { ...state, student: work.handIn(st, now) };
    // Inside an LMS, what is said waits for its answer (reported).
    if (st.lms) return [next, [{ ...workEffect(next), handIn: true }, { focus: { element: 'student-code' } }]];
    return [next, [workEffect(next), { focus: { element: 'student-code' } }, { announce: [{ id: 'student.handedIn' }] }]];
  },
  lms: lmsOutcome,
  reported,
};
