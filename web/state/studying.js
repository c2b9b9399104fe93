// The state's handlers for a student's assignment (logic/assignments/work.js):
// the student's link, the name, "Not you?", the hand-in that asks first, the
// work that another tab kept or the browser refused, and the LMS's answer;
// the locks, which refuse what the assignment's permissions do not allow; and
// what the student's run is kept under. A student's matrix is made by an
// effect ({ make }), whose input comes back as the message 'made'.
import * as session from '../logic/session.js';
import * as work from '../logic/assignments/work.js';
import { exerciseFor, cleanName } from '../logic/assignments/assignment.js';
import { permissions, allows } from '../logic/assignments/permissions.js';
import { teaching } from './teaching.js';

// What the link that opened run asked of it, if that link opened it.
export const linkOf = (state, run) =>
  (state.link && state.link.program === run.program && state.link.input === run.input ? state.link : null);

// Whether run is the one that the student's assignment opened.
export const isStudents = (state, run) => state.student?.name != null && linkOf(state, run) !== null;

// The state with the student's work kept once more (its next version), and
// the effects that keep it: under the student's own key, unless newer work is
// there (page/effects.js weighs them), or, inside an LMS, told to the LMS.
export function keptWork(state) {
  const st = { ...state.student, version: state.student.version + 1 };
  const value = work.kept(st, session.stored(state.session), state.session.finished);
  return [{ ...state, student: st }, [st.lms ? { report: value } : { storeWork: { key: work.workKey(st.assignment, st.name), value } }]];
}

// The practice of the student's run (model) restored from the work kept
// (usable: work.usableWork's, or null: afresh), as the assignment asks it.
export function studentSession(state, model, usable) {
  const asked = linkOf(state, model.run)?.asked ?? null;
  const restored = session.start(model, { asked, saved: usable?.progress ?? null, level: 0 });
  return { ...restored, finished: usable?.finished === true };
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
  if (!found?.assignment || found.problem) return teaching(state, { found, program });
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

// The hand-in: refused, with a word, while there is no work; else asked first
// (the stages asked and those left said) and, once confirmed, the code
// written and kept. now: the time (ms) of the hand-in.
function handIn(state, { now, confirmed = false }) {
  const st = state.student;
  if (!st?.result || st.handed !== null || !state.session || !state.model) return [state, []];
  if (!work.hasWork(st)) return [{ ...state, student: { ...st, asking: { empty: true } } }, [{ announce: [{ id: 'student.handInEmpty' }] }]];
  if (!confirmed || st.asking === null || st.asking.empty) {
    const { asked, done } = work.score(st.assignment, state.model, st.result);
    return [{ ...state, student: { ...st, asking: { asked, left: asked - done } } }, [{ focus: { element: 'hand-in-yes' } }]];
  }
  const [next, [effect]] = keptWork({ ...state, student: { ...work.handIn(st, now), asking: null } });
  // Inside an LMS, what is said waits for its answer (reported).
  if (st.lms) return [next, [{ ...effect, handIn: true }, { focus: { element: 'student-code' } }]];
  return [next, [effect, { focus: { element: 'student-code' } }, { announce: [{ id: 'student.handedIn' }] }]];
}

// The student's work as the browser now keeps it (kept: stored by another
// tab, found on a page restored by Back, or there when this tab's own was
// refused), taken when it is newer than this page's (work.newer): the
// result, the code and the practice are the kept work's, and the page says
// that the work goes on elsewhere. Older or equal work changes nothing.
function workStored(state, { kept = null }) {
  const st = state.student;
  if (!st?.name || st.lms) return [state, []];
  const usable = work.usableWork(kept, st.assignment);
  if (!work.newer(usable, work.usableWork(work.kept(st, null, false), st.assignment))) return [state, []];
  const student = { ...st, result: usable.result, handed: usable.handed, version: usable.version, asking: null, confirm: false, elsewhere: true };
  const ours = state.model && state.session && isStudents(state, state.model.run);
  const next = { ...state, student, saved: usable, session: ours ? studentSession(state, state.model, usable) : state.session };
  return [next, st.elsewhere ? [] : [{ announce: [{ id: 'student.elsewhere' }] }]];
}

export const handlers = {
  studentLink,
  // The name typed on a student's link without one.
  studentName: (state, { name, kept = null, now = 0 }) => {
    const clean = typeof name === 'string' ? cleanName(name) : '';
    if (!state.student || state.student.name !== null || clean === '') return [state, []];
    return begun({ ...state, student: { ...state.student, name: clean } }, kept, now);
  },
  // Another student at the same browser: back to the name, the work kept.
  notYou: (state) => {
    if (!state.student || state.student.named) return [state, []];
    return begun({ ...state, student: work.opened(state.student.assignment, null, state.student.lms) }, null, 0);
  },
  handIn,
  workStored,
  // Whether the browser kept the student's work last kept (saved); a refusal is said once.
  workSaved: (state, { saved }) => {
    const st = state.student;
    if (!st?.name || st.unsaved === !saved) return [state, []];
    return [{ ...state, student: { ...st, unsaved: !saved } }, saved ? [] : [{ announce: [{ id: 'student.unsaved' }] }]];
  },
  lms: lmsOutcome,
  reported,
};
