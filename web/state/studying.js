// The state's handlers for a student's assignment (logic/assignments/work.js):
// the student's link, the name, "Not you?", the hand-in that asks first, the
// work that another tab kept or the browser refused, and the LMS: what it
// answered, what it is told (its writer, logic/assignments/scorm.js, is in
// the state; page/lms.js makes the calls) and told again; the locks, which
// refuse what the assignment's permissions do not allow; and what the
// student's run is kept under. A student's matrix is made by an effect ({
// make }), whose input comes back as the message 'made'.
import * as session from '../logic/practice/session.js';
import * as work from '../logic/assignments/work.js';
import * as sets from '../logic/assignments/set-work.js';
import { exerciseFor, keptName } from '../logic/assignments/assignment.js';
import { versions, opened as writer, writes, refused, closing, standingOf } from '../logic/assignments/scorm.js';
import { encodeWork, encodeSetWork, decodeAnyWork } from '../logic/assignments/suspend.js';
import { permissions, allows, mayHandIn, finished } from '../logic/assignments/permissions.js';
import { teaching } from './teaching.js';

// What the link that opened run asked of it, if that link opened it.
export const linkOf = (state, run) =>
  (state.link && state.link.program === run.program && state.link.input === run.input ? state.link : null);

// Whether run is the one that the student's assignment opened.
export const isStudents = (state, run) => state.student?.name != null && linkOf(state, run) !== null;

// The state with the student's work kept once more (its next version), and
// the effects that keep it: under the student's own key, unless newer work is
// there (page/effects.js weighs them), or, inside an LMS, told to the LMS as
// at now (ms; told); handIn, whether it is the hand-in.
export function keptWork(state, now, handIn = false) {
  const st = { ...state.student, version: state.student.version + 1 };
  const value = sets.setKept(st, keptOf(state, st));
  const next = { ...state, student: st };
  return st.lms ? told(next, value, now, handIn) : [next, [{ storeWork: { key: work.workKey(st.assignment, st.name), value, student: st } }]];
}

// The work of student st on the problem open as the page keeps it: with the
// session's progress, or, of the student's own operations, the result alone
// (which holds them).
const keptOf = (state, st) => {
  const live = work.kept(st, st.assignment.mode === 'own' || !state.session ? null : session.stored(state.session), finished(st, state.session, state.own));
  // Of a set's problem inside an LMS, how it stands too: the set's score sums each problem's as it was left.
  const start = startOf(state, st);
  const scored = st.set && st.lms && (start || (state.model && state.session && isStudents(state, state.session.run)));
  return scored ? { ...live, score: standingOf({ a: st.assignment, m: state.model, record: st.result, start, handed: st.handed !== null }) } : live;
};

// Of the student's own operations, the matrix they start from, which stands for the run and its session; else null.
const startOf = (state, st) => (st.assignment.mode === 'own' && state.own?.work ? { matrix: state.own.work.start, kind: state.own.work.kind } : null);

// The student's work as it stands, as keptWork keeps it (no new version).
const standing = (state) => sets.setKept(state.student, keptOf(state, state.student));

// Whether the run shown is the student's own, inside an LMS.
const inLms = (state) => Boolean(state.student?.lms && (state.student.assignment.mode === 'own' ? state.own?.work
  : state.session && state.model && isStudents(state, state.session.run)));

// The state and effect that tell the LMS the student's work (value, as
// work.kept gives it) at now (ms; without one, as the run opens, the
// session's start): the writer past the pairs whose value the LMS has not
// taken yet (scorm.writes), and { report } with them (first, those to commit
// before them), with the work to keep in memory for a return to the link,
// and with the LMS's refusals so far (sent), which its answer ('reported')
// brings back; while the LMS holds no session, the keeping alone.
function told(state, value, now, handIn = false) {
  const { lms, student: st, model: m, session: practice } = state;
  const report = { key: work.workKey(st.assignment, st.name), work: value, pairs: [], commit: false, handIn };
  const start = startOf(state, st);
  if (lms?.outcome !== 'connected' || (!start && (!m || !practice))) return [state, [{ report }]];
  const at = Number.isFinite(now) ? now : lms.started;
  const { sent } = lms.writer;
  const suspend = st.set ? encodeSetWork(value, sent, versions[lms.version].maxSuspend) : encodeWork(value, sent);
  const w = writes(lms.writer, { set: st.set, a: st.assignment, m, practice, start, kept: value, now: at, started: lms.started, suspend });
  return [{ ...state, lms: { ...lms, writer: w.writer } }, [{ report: { ...report, pairs: w.pairs, commit: w.commit, first: w.first, sent } }]];
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
// name (the matrix is that of the name that work was begun under); before,
// the program empty while the page asks for the name. now: the time (ms) that
// a new result begins at. Inside an LMS, the work that it kept is kept in
// memory, where the run shown finds it.
function begun(state, kept, now) {
  const st = state.student;
  if (st.name === null) return [{ ...state, link: null }, [opening(st.assignment.program), { focus: { element: 'student-name' } }]];
  const student = sets.named(st, st.name, kept, now);
  const keep = st.lms && kept ? [{ store: work.workKey(student.assignment, student.name), value: kept }] : [];
  const [next, effects] = problemShown({ ...state, unmet: false }, student);
  return [next, [...effects, ...keep]];
}

// The state with the problem open of student (a set's, or the assignment of
// one problem) asked for: its matrix made, to be opened as an exercise asked
// from its first stage, or for the student's own operations (that mode's
// part, state/own.js), the teacher's own matrix taken as it is.
function problemShown(state, student) {
  const a = student.assignment;
  if (a.mode === 'own') {
    const made = a.matrix ? { later: { type: 'ownMade', given: true, student: true }, ms: 0 } : { ownMake: exerciseFor(a, student.name), student: true };
    return [{ ...state, student, link: null, mode: 'own', session: null }, [made]];
  }
  const link = { program: a.program, input: null, exercise: null, asked: { from: a.from, fill: a.fill, own: false } };
  return [{ ...state, student, link, mode: 'practice', session: null }, [{ make: exerciseFor(a, student.name) }]];
}

// The student of a set moved to problem at (from 0), as at now (ms): the
// problem left kept as it stands, the one asked for shown from its work.
function problemOpened(state, { at, now = 0 }) {
  const st = state.student;
  if (!st?.set || !st.name || !Number.isInteger(at) || at < 0 || at >= st.set.problems.length || at === st.at) return [state, []];
  const [kept, keeping] = keptWork(state, now);
  const student = sets.moved(kept.student, keptOf(kept, kept.student), at, now);
  const [next, effects] = problemShown({ ...kept, saved: null }, student);
  return [next, [...keeping, ...effects]];
}

// The state once a student's link (found, as assignment.parseLink reads it) is
// followed: the assignment, in practice; with the student's name (the link's
// or the LMS's, with kept, the work kept under it), the student's matrix,
// asked as the assignment asks; without, the program empty while the page
// asks for the name. now: the time (ms) that a new result begins at; lms,
// whether the page runs inside an LMS.
function studentLink(state, { found, program, kept = null, now = 0, lms = false }) {
  if (!found?.assignment || found.problem) return teaching(state, { found, program });
  const opened = sets.opened(found.assignment, found.name, lms);
  return begun({ ...state, mode: 'practice', problem: null, teacher: null, unmet: false, link: null, student: opened }, kept, now);
}

const outcomes = ['connected', 'refused', 'ended'];

// The state once the LMS around the page answered (page/lms.js): a session
// opened at now (ms), with what it gave (the name, the saved work, the
// interactions it holds, the pass mark), from which the writer starts; none
// started; or, for a page restored from the back-forward cache, the session over.
function lmsOutcome(state, { outcome, version = null, name = '', suspend = '', since = 0, passMark = null, now = 0 }) {
  if (!outcomes.includes(outcome) || (outcome === 'ended' && state.lms === null)) return [state, []];
  if (outcome === 'ended') return [{ ...state, lms: { ...state.lms, outcome } }, []];
  const connected = outcome === 'connected' && Object.hasOwn(versions, version);
  const saved = connected ? String(suspend ?? '') : '';
  const kept = decodeAnyWork(saved);
  return [{ ...state, lms: { outcome: connected ? outcome : 'refused', version: connected ? version : null, name: connected ? String(name ?? '') : '',
    suspend: saved, taken: null, unread: saved === '' ? null : !kept ? 'all' : kept.lost ? 'part' : null,
    writer: connected ? writer(version, { since, passMark, work: kept }) : null, started: Number.isFinite(now) ? now : 0, retries: 0, retrying: false } }, []];
}

// The wait before what the LMS refused is sent again, after it refused it
// retries times in a row (1 or more): a second, two, four, ... a minute at most.
const retryMs = (retries) => Math.min(60000, 1000 * 2 ** (retries - 1));

// The state once the LMS made a batch (page/lms.js), taking it all or
// refusing some (failed: the elements refused, 'commit' for a commit): all
// is told again with the next change, or after a while (lmsRetry), and as
// the page closes at the latest (scorm.refused). The LMS has the work once
// it takes a batch that commits (commit) and was made after its last refusal
// (sent, the refusals as the batch was made): that batch told everything
// again. For a hand-in (handIn), and for the first such batch after a
// refusal of work handed in, the words that say whether the gradebook has it.
function reported(state, { failed, handIn = false, commit = false, sent = null }) {
  const { lms } = state;
  if (lms?.outcome !== 'connected' || !Array.isArray(failed)) return [state, []];
  const ok = failed.length === 0;
  const has = ok && commit === true && sent === lms.writer.sent;
  const retries = ok ? 0 : lms.retries + 1;
  const news = handIn || (has && lms.taken === false && state.student?.handed != null);
  const words = news ? [{ announce: [{ id: has ? 'student.lmsHandedIn' : 'student.lmsHandedInUntaken' }] }] : [];
  const retry = ok || lms.retrying ? [] : [{ later: { type: 'lmsRetry' }, ms: retryMs(retries) }];
  const next = { ...lms, writer: refused(lms.writer, failed), taken: !ok ? false : has ? true : lms.taken, retries, retrying: lms.retrying || !ok };
  return [{ ...state, lms: next }, [...words, ...retry]];
}

// What the LMS refused, sent again at now (ms): the work as it stands, of
// which the LMS is told what it has not taken yet.
function lmsRetry(state, { now }) {
  if (state.lms?.outcome !== 'connected' || !state.lms.retrying) return [state, []];
  const next = { ...state, lms: { ...state.lms, retrying: false } };
  return inLms(next) ? told(next, standing(next), now) : [next, []];
}

// The page going, at now (ms): what the LMS has not taken yet of the work
// (the hand-in among it) sent at once, then the session's time and a commit,
// after which page/lms.js ends the session.
function lmsClosing(state, { now }) {
  const { lms } = state;
  if (lms?.outcome !== 'connected') return [state, []];
  const [next, [{ report }]] = inLms(state) ? told(state, standing(state), now) : [state, [{ report: { pairs: [] } }]];
  const last = { ...report, pairs: [...report.pairs, ...closing(lms.version, lms.started, now)], commit: true, closing: true };
  return [{ ...next, lms: { ...next.lms, outcome: 'ended' } }, [{ report: last }]];
}

// The hand-in: refused, with a word, while there is no work; else asked first
// (the stages asked and those left said) and, once confirmed, the code
// written and kept. now: the time (ms) of the hand-in.
function handIn(state, { now, confirmed = false }) {
  const st = state.student;
  const own = st?.assignment.mode === 'own';
  if (!mayHandIn(st, state.lms) || (own ? !state.own?.work : !state.session || !state.model)) return [state, []];
  const live = keptOf(state, st);
  if (!(st.set ? sets.setHasWork(st, live) : work.hasWork(st))) return [{ ...state, student: { ...st, asking: { empty: true } } }, [{ announce: [{ id: 'student.handInEmpty' }] }]];
  if (!confirmed || st.asking === null || st.asking.empty) {
    // Of a set, the problems not done; of the student's own operations, one thing: the matrix reduced and read.
    const left = st.set && sets.notDone(sets.problemStates(st, live, live.finished));
    const { asked, done } = st.set ? { asked: st.set.problems.length, done: st.set.problems.length - left.length }
      : own ? { asked: 1, done: Number(live.finished) } : work.score(st.assignment, state.model, st.result);
    const more = st.set ? { problems: left } : own ? { own } : {};
    return [{ ...state, student: { ...st, asking: { asked, left: asked - done, ...more } } }, [{ focus: { element: 'hand-in-yes' } }]];
  }
  const handed = st.set ? sets.handedIn(st, live, now) : work.handIn(st, now);
  const [next, [effect]] = keptWork({ ...state, student: { ...handed, asking: null } }, now, true);
  // Inside an LMS, what is said waits for its answer (reported).
  if (st.lms) return [next, [effect, { focus: { element: 'student-code' } }]];
  return [next, [effect, { focus: { element: 'student-code' } }, { announce: [{ id: 'student.handedIn' }] }]];
}

// The student's work as the browser now keeps it (kept: stored by another
// tab, found on a page restored by Back, or there when this tab's own was
// refused), taken with this page's (work.mergedWork) where it holds something
// that this page's lacks, or took another of two answers to one question:
// the result, the code and the practice are then both's, the page says that
// the work went on elsewhere, and keeps both's where the browser's lacked
// some of this page's. Work that changes nothing changes nothing; tabs that
// answered at once come to the same work.
function workStored(state, { kept = null }) {
  const st = state.student;
  if (!st?.name || st.lms) return [state, []];
  const own = st.assignment.mode === 'own';
  const running = !own && state.model && state.session && isStudents(state, state.model.run);
  const live = own ? keptOf(state, st) : work.kept(st, running ? session.stored(state.session) : null, running && state.session.finished);
  const [ours, theirs] = [sets.usable(sets.setKept(st, live), st), sets.usable(kept, st)];
  const both = sets.merged(ours, theirs);
  if (work.sameWork(both, ours)) return [state, []];
  // Of a set, the problem open's work among the set's.
  const mine = st.set ? both.problems[st.at] : both;
  const student = { ...st, ...(st.set ? { works: both.problems } : {}), result: mine?.result ?? st.result, handed: both.handed, version: both.version,
                    rounds: mine?.rounds ?? st.rounds, asking: null, confirm: false, elsewhere: true };
  const next = { ...state, student, saved: mine, session: running ? studentSession(state, state.model, mine) : state.session };
  const value = sets.setKept(student, work.kept(student, mine?.progress ?? null, mine?.finished ?? false));
  const keep = !work.sameWork(both, theirs) ? [{ storeWork: { key: work.workKey(st.assignment, st.name), value, student } }] : [];
  // The student's own operations follow the result taken (state/own.js).
  const resume = own ? [{ later: { type: 'ownResumed' }, ms: 0 }] : [];
  return [next, [...(st.elsewhere ? [] : [{ announce: [{ id: 'student.elsewhere' }] }]), ...keep, ...resume]];
}

export const handlers = {
  studentLink,
  // The name typed on a student's link without one.
  studentName: (state, { name, kept = null, now = 0 }) => {
    const clean = typeof name === 'string' ? keptName(name) : '';
    if (!state.student || state.student.name !== null || clean === '') return [state, []];
    return begun({ ...state, student: { ...state.student, name: clean } }, kept, now);
  },
  // Another student at the same browser: back to the name, the work kept.
  notYou: (state) => {
    if (!state.student || state.student.named) return [state, []];
    return begun({ ...state, student: sets.opened(state.student.set ?? state.student.assignment, null, state.student.lms) }, null, 0);
  },
  handIn,
  problemOpened,
  workStored,
  // Whether the browser kept the student's work last kept (saved); a refusal is said once.
  workSaved: (state, { saved }) => {
    const st = state.student;
    if (!st?.name || st.unsaved === !saved) return [state, []];
    return [{ ...state, student: { ...st, unsaved: !saved } }, saved ? [] : [{ announce: [{ id: 'student.unsaved' }] }]];
  },
  lms: lmsOutcome,
  reported,
  lmsRetry,
  lmsClosing,
};
