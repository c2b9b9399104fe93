// The page's state as one value, and the one function that changes it:
// update(state, message) gives the next state and the effects that the page
// (page/effects.js) is to carry out, [state, effects]. Nothing here touches
// the page.
//
// The state:
//   programs   'loading', 'loaded' or 'failed'
//   early      before the programs: { program, entries, ended }, what is typed
//              meanwhile, handed to them once they have loaded; else null
//   model      the model of the run shown (model.js), or null
//   mode       'watch' or 'practice'
//   link       what the link that opened the run asked of it: { program, input,
//              exercise, asked } (share.parse), or null
//   problem    what was wrong with the link opened: { id, program }, or null
//   teacher    the assignment whose results view a teacher's link opened, or null
//   student    the assignment that a student's link opened, and who works it
//              (logic/assignments/work.js), or null; while it is locked, the
//              messages that would show a stage before it is answered change
//              nothing
//   conflict   what the link asks ({ from, fill }) when this browser kept other
//              work of the same exercise, which goes on until the learner
//              chooses; else null
//   picked     whether the learner chose the stage to start from
//   unmet      whether the exercise opened could not meet every option asked
//   session    the practice of the run shown (session.js), or null
//   level      how many exercises this browser has finished (practice starts
//              one stage earlier for each)
//   past       the record kept of the run's exercise (session.tally), or null
//   saved      the progress that this browser kept of the run's exercise, from
//              which practice starts once it shows the run
//   exactShown whether practice shows the printouts before a stage exact
//   confirming the start-over that waits for the learner's yes because it would
//              erase the exercise's answers: 'restart' or 'restartPractice', or null
//   stage      the stage that the stages section shows, { k, all }
//   language   'ko' or 'en'
//
// The effects: { open: { program, input, ended } } runs a program afresh over
// input; { openLink: true } opens what the address names; { address } writes
// the address without a visit, { visit } goes to a fragment; { store: key,
// value } and { forget: key } keep and drop what practice keeps;
// { report: work } tells the LMS the student's work (student.kept) instead;
// { language: code }; { classSet } prints a class set of worksheets;
// { focusTeacher: true } hands the focus to the teacher's results view.
import * as session from './logic/session.js';
import * as student from './logic/assignments/work.js';
import { exerciseFor } from './logic/assignments/assignment.js';
import { make } from './logic/exercises.js';
import { fragment, defaultProgram, latestGenerator, firstAsked } from './logic/share.js';

export const initial = (language = 'en') => ({
  programs: 'loading', early: null, model: null, mode: 'watch', link: null, problem: null, teacher: null, student: null, conflict: null,
  picked: false, unmet: false, session: null, level: 0, past: null, saved: null, exactShown: false, confirming: null, stage: { k: 0, all: false }, language,
});

// What the link that opened run asked of it, if that link opened it.
const linkOf = (state, run) =>
  (state.link && state.link.program === run.program && state.link.input === run.input ? state.link : null);

// What a link to the run shown carries besides its text: practice, the
// exercise that gave the text, if one did, and what practice asks: for a
// practised run, its session's start and the entries asked; else what the
// link that opened the run asked.
export function linkState(state) {
  const link = state.model ? linkOf(state, state.model.run) : null;
  const chosen = state.mode === 'practice' && state.session ? session.chosen(state.session) : {};
  if (chosen.from && !state.picked && !link?.asked?.from) chosen.from = firstAsked;
  return { practice: state.mode === 'practice', exercise: link?.exercise ?? null, asked: link?.asked ?? null, ...chosen };
}

// The effects that keep the session's progress: stored while under way; once
// finished, dropped, with the record of the exercise kept and, the first time
// it is finished, one level more.
function keep(state, before) {
  const s = state.session;
  if (s === null || s === before.session) return [state, []];
  if (isStudents(state, s.run)) return [state, [workEffect(state)]];
  if (!s.finished) return [state, [{ store: session.progressKey(s.run), value: session.stored(s) }]];
  const record = session.tally(s);
  const effects = [{ forget: session.progressKey(s.run) }, { store: session.recordKey(s.run), value: record }];
  if (state.past !== null) return [{ ...state, past: record }, effects];
  return [{ ...state, past: record, level: state.level + 1 }, [...effects, { store: 'practice.level', value: state.level + 1 }]];
}

// Whether run is the one that the student's assignment opened.
const isStudents = (state, run) => state.student?.name != null && linkOf(state, run) !== null;

// The effect that keeps the student's work under the student's own key, or
// inside an LMS, tells the LMS.
function workEffect({ student: st, session: s }) {
  const work = student.kept(st, session.stored(s), s.finished);
  return st.lms ? { report: work } : { store: student.workKey(st.assignment, st.name), value: work };
}

// The state with a session changed by fn(model, session), its progress kept;
// a student's result notes what changed.
function practise(state, fn) {
  if (state.session === null) return [state, []];
  const next = fn(state.model, state.session);
  const st = state.student;
  const noting = isStudents(state, next.run) && st.handed === null;
  return keep({ ...state, session: next, student: noting ? { ...st, result: student.note(st.result, state.session, next) } : st }, state);
}

// The key that the progress of run is kept under: the student's own for the
// assignment's run, else the exercise's.
export const progressKeyOf = (state, run) =>
  (isStudents(state, run) ? student.workKey(state.student.assignment, state.student.name) : session.progressKey(run));

// The state once model is shown: a new run starts its practice anew, or where
// the learner left it (saved, the progress kept of its exercise; past, its
// record); the same run with its exact values keeps the session. The stages
// section starts at stage 1 in a new session of the program.
function shown(state, { model, saved = null, past = null }) {
  const sameRun = state.model !== null && state.model.run === model.run;
  const count = model.stages.length;
  const k = state.model && state.model.run.session === model.run.session ? Math.max(0, Math.min(state.stage.k, count - 1)) : 0;
  const next = { ...state, model, stage: { ...state.stage, k } };
  if (sameRun) return { ...next, session: state.session && session.withModel(model, state.session) };
  const fresh = { ...next, session: null, past, saved, conflict: null, picked: false, confirming: null };
  return fresh.mode === 'practice' ? practised(fresh) : fresh;
}

// The state with the practice of its run started, or restored from what this
// browser kept of it (saved): once practice shows the run, so that a watched
// run's last Enter draws its pane without working out practice's questions.
function practised(state) {
  const { model, saved } = state;
  if (state.session || !model || !session.practisable(model)) return state;
  const asked = linkOf(state, model.run)?.asked ?? null;
  if (isStudents(state, model.run)) {
    const restored = session.start(model, { asked, saved: saved?.progress, level: 0 });
    return { ...state, session: { ...restored, finished: saved?.finished === true }, past: null };
  }
  const practice = session.start(model, { asked, saved, level: state.level });
  const fresh = saved && (asked?.from || asked?.fill) ? session.start(model, { asked, level: state.level }) : practice;
  const conflict = fresh.from !== practice.from || fresh.fill !== practice.fill ? { from: fresh.from, fill: fresh.fill } : null;
  return { ...state, session: practice, conflict };
}

// The program shown, or before the programs the one waiting for them.
const programOf = (state) => state.model?.run.program ?? state.early?.program ?? defaultProgram;

// The state once the link (share.parse) is followed: what it asks, practised
// or watched (a link to a program alone, as the programs' menu has, keeps the
// mode), and the run it opens; made, the exercise that it names ({ input, met }).
function followed(state, { link, made = null }) {
  const keepsMode = state.mode === 'practice' && link.input === '' && !link.exercise && !link.ended;
  const mode = link.practice || keepsMode ? 'practice' : 'watch';
  const [input, ended] = made ? [made.input, false] : [link.input, link.ended];
  const problem = link.problem === null ? null : { id: link.problem, program: link.program };
  const opened = { program: link.program, input, exercise: link.exercise, asked: link.asked };
  return [{ ...state, mode, problem, teacher: null, student: null, unmet: made !== null && !made.met, link: opened },
          [{ open: { program: link.program, input, ended } }]];
}

// The state once a teacher's link (found, as assignment.parseLink reads it:
// { assignment } or { problem }) is followed: the results view of its
// assignment, in practice, over its program empty.
function teaching(state, { found, program }) {
  const problem = found.problem ? { id: found.problem, program } : null;
  const effects = [{ open: { program, input: '', ended: false } }, ...(found.assignment ? [{ focusTeacher: true }] : [])];
  return [{ ...state, mode: 'practice', problem, teacher: found.assignment ?? null, student: null, unmet: false, link: null }, effects];
}

// The state once a student's link (found, as assignment.parseLink reads it) is
// followed: the assignment, in practice; with the student's name (the link's
// or the LMS's, with kept, the work kept under it), the student's matrix,
// asked as the assignment asks; without, the program empty while the page
// asks for the name. now: the time (ms) that a new result begins at; lms,
// whether the page runs inside an LMS.
function studying(state, { found, program, kept = null, now = 0, lms = false }) {
  if (found.problem) return teaching(state, { found, program });
  const opened = student.opened(found.assignment, found.name, lms);
  return begun({ ...state, mode: 'practice', problem: null, teacher: null, unmet: false, link: null, student: opened }, kept, now);
}

// The state once the student's name is known (from the link or the form): the
// student's matrix opened as an exercise, asked from the assignment's first
// stage, with the work kept under that name; before, the program empty.
function begun(state, kept, now) {
  const st = state.student;
  if (st.name === null) return [{ ...state, link: null }, [{ open: { program: st.assignment.program, input: '', ended: false } }]];
  const a = st.assignment;
  const made = make(exerciseFor(a, st.name));
  const link = { program: a.program, input: made.input, exercise: null, asked: { from: a.from, fill: a.fill, own: false } };
  return [{ ...state, student: student.named(st, st.name, kept, now), link, unmet: !made.met },
          [{ open: { program: a.program, input: made.input, ended: false } }]];
}

// Whether a lock of the student's assignment forbids message.
function forbidden(state, message) {
  const st = state.student;
  if (!student.locked(st)) return false;
  const s = state.session?.stages[message.k];
  switch (message.type) {
    case 'mode': return message.mode !== 'practice';
    case 'from': case 'fill': case 'stage': case 'allStages': case 'exercise': case 'classSet': return true;
    case 'hint': return !s || s.hints >= student.hintsAllowed(st, session.hintSteps);
    case 'fillIn': return !student.showAllowed(st);
    default: return false;
  }
}

// A start-over (type, the message's) that would erase the exercise's answers
// waits for the learner's yes (confirmed); otherwise it is done (go(state)).
// A student's work is kept under the name, and asks in the student's view.
function erasing(state, { type, confirmed = false }, go) {
  const erases = state.session && !isStudents(state, state.session.run) && session.hasWork(state.session);
  if (!confirmed && erases) return [{ ...state, confirming: type }, []];
  return go({ ...state, confirming: null });
}

const handlers = {
  // Before the programs: the first prompt of program, waiting for what is typed.
  awaiting: (state, { program }) => [{ ...state, early: { program, entries: [], ended: false } }, []],
  typed: (state, { text, ended }) =>
    [{ ...state, early: { ...state.early, entries: [...state.early.entries, text], ended } }, []],
  // The programs are there: what was typed is typed again, else the link opens.
  loaded: (state) => {
    const { early } = state;
    const effect = early && early.entries.length > 0
      ? { open: { program: early.program, input: early.entries.join(''), ended: early.ended } } : { openLink: true };
    return [{ ...state, programs: 'loaded', early: null }, [effect]];
  },
  failed: (state) => [{ ...state, programs: 'failed', early: null }, []],
  link: followed,
  teacherLink: teaching,
  studentLink: studying,
  // The name typed on a student's link without one.
  studentName: (state, { name, kept = null, now = 0 }) => {
    const clean = name.normalize('NFC').trim();
    if (state.student?.name !== null || clean === '') return [state, []];
    return begun({ ...state, student: { ...state.student, name: clean } }, kept, now);
  },
  // Another student at the same browser: back to the name, the work kept.
  notYou: (state) => {
    if (!state.student || state.student.named) return [state, []];
    return begun({ ...state, student: student.opened(state.student.assignment, null, state.student.lms) }, null, 0);
  },
  handIn: (state, { now }) => {
    const st = state.student;
    if (!st?.result || st.handed !== null || !state.session) return [state, []];
    const next = { ...state, student: student.handIn(st, now) };
    return [next, [workEffect(next)]];
  },
  // The start-over that waited is not done: the answers stay.
  keepWork: (state) => [{ ...state, confirming: null, ...(state.student ? { student: { ...state.student, confirm: false } } : {}) }, []],
  // The link's choice over the work kept: what it asks, from its start.
  takeLink: (state) => {
    if (!state.conflict || !state.session) return [state, []];
    const { from, fill } = state.conflict;
    return keep({ ...state, conflict: null, session: session.restart(state.model, state.session, from, fill) }, state);
  },
  keepSaved: (state) => [{ ...state, conflict: null }, []],
  // A run shown; inside an LMS, the student's work is told as it opens.
  shown: (state, message) => {
    const next = shown(state, message);
    const opens = next.student?.lms && next.session && !state.session && isStudents(next, next.session.run);
    return [next, opens ? [workEffect(next)] : []];
  },
  mode: (state, { mode }) => [mode === 'practice' ? practised({ ...state, mode }) : { ...state, mode }, []],
  // Start over: the same program, empty, and an address that says so.
  restart: (state, message) => erasing(state, message, (state) => {
    const { program } = state.model.run;
    const effects = [{ address: fragment(program, '', false, { practice: state.mode === 'practice' }) }, { open: { program, input: '', ended: false } }];
    if (state.session && !isStudents(state, state.session.run)) effects.unshift({ forget: session.progressKey(state.session.run) });
    return [{ ...state, link: null, problem: null, teacher: null, student: null, unmet: false }, effects];
  }),
  answer: (state, { k, key, given }) => practise(state, (m, s) => session.answer(s, k, key, given)),
  advance: (state, { k }) => practise(state, (m, s) => session.advance(m, s, k)),
  hint: (state, { k }) => practise(state, (m, s) => session.hint(s, k)),
  fillIn: (state, { k }) => practise(state, (m, s) => session.fillIn(m, s, k)),
  from: (state, { from }) => practise({ ...state, picked: true, conflict: null }, (m, s) => session.restart(m, s, from)),
  fill: (state, { fill }) => practise(state, (m, s) => session.withFill(m, s, fill)),
  // The same exercise from its start again, its progress forgotten; within an
  // assignment, once the student has confirmed it (the result keeps the first answers).
  restartPractice: (state, { confirmed = false }) => {
    if (state.session === null) return [state, []];
    const st = state.student;
    if (isStudents(state, state.session.run)) {
      if (!st.confirm || !confirmed) return [{ ...state, student: { ...st, confirm: true } }, []];
      const next = { ...state, student: { ...st, confirm: false }, session: session.restart(state.model, state.session) };
      return [next, [workEffect(next)]];
    }
    return erasing(state, { type: 'restartPractice', confirmed }, (state) =>
      [{ ...state, session: session.restart(state.model, state.session) }, [{ forget: session.progressKey(state.session.run) }]]);
  },
  clearRecord: (state) => [{ ...state, past: null }, state.model ? [{ forget: session.recordKey(state.model.run) }] : []],
  exactShown: (state, { on }) => [{ ...state, exactShown: on }, []],
  stage: (state, { k }) => {
    if (!state.model || k < 0 || k >= state.model.stages.length) return [state, []];
    return [{ ...state, stage: { ...state.stage, k } }, []];
  },
  allStages: (state) => [{ ...state, stage: { ...state.stage, all: !state.stage.all } }, []],
  language: (state, { code }) => [{ ...state, language: code }, [{ language: code }]],
  // A new exercise of the program shown, opened by its link: the learner's own.
  exercise: (state, { seed, order, options }) => {
    return [state, [{ visit: fragment(programOf(state), '', false, { practice: true, own: true, exercise: { seed, order, options, generator: latestGenerator } }) }]];
  },
  classSet: (state, { seed, order, options, count, parts = 'all', twoSided = true, generator = latestGenerator }) =>
    [state, [{ classSet: { program: programOf(state), seed, order, options, count, parts, twoSided, generator } }]],
};

// The next state and the effects of message ({ type, ... }) on state.
export function update(state, message) {
  const handler = handlers[message.type];
  if (!handler) throw new Error(`no message "${message.type}"`);
  return forbidden(state, message) ? [state, []] : handler(state, message);
}
