// The state's handlers for the learner: the run (the programs' loading, what
// is typed before, a link followed, a run shown, a start-over), watching it
// (the mode, the stages section), practising it (session.js's steps, and
// after each where the focus goes and what the status line says), new
// exercises and class sets, the language, and what the page copies, saves and
// prints. An exercise's matrix is made by an effect ({ make }), whose input
// comes back as the message 'made'.
import * as session from '../logic/practice/session.js';
import { note } from '../logic/assignments/work.js';
import { problemWork } from '../logic/assignments/set-work.js';
import { isWaiting } from '../logic/run/model.js';
import { fragment, defaultProgram, latestGenerator, firstAsked, fills } from '../logic/run/share.js';
import { questionLabel, stageName } from '../logic/run/words.js';
import { texts } from '../logic/language/texts.js';
import { permissions } from '../logic/assignments/permissions.js';
import { inBoth, verdict, naming, summary, assignmentSummary, hintWords } from '../logic/practice/sayings.js';
import { linkOf, isStudents, keptWork, studentSession } from './studying.js';

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
// it is finished, one level more; a student's work kept as at now (ms).
function keep(state, before, now) {
  const s = state.session;
  if (s === null || s === before.session) return [state, []];
  if (isStudents(state, s.run)) return keptWork(state, now);
  if (!s.finished) return [state, [{ store: session.progressKey(s.run), value: session.stored(s) }]];
  const record = session.tally(s);
  const effects = [{ forget: session.progressKey(s.run) }, { store: session.recordKey(s.run), value: record }];
  if (state.past !== null) return [{ ...state, past: record }, effects];
  return [{ ...state, past: record, level: state.level + 1 }, [...effects, { store: 'practice.level', value: state.level + 1 }]];
}

// The state with the session changed by change(model, session), its progress
// kept at now (ms, the message's); a student's result notes what changed.
function changed(state, change, now) {
  if (state.session === null) return [state, []];
  const next = change(state.model, state.session);
  const st = state.student;
  const noting = isStudents(state, next.run) && st.handed === null;
  return keep({ ...state, session: next, student: noting ? { ...st, result: note(st.result, state.session, next) } : st }, state, now);
}

// The effects that bring the learner to stage k of the state's practice: the
// status line names it and its first open question, which takes the focus.
function atStage(state, k) {
  const { model: m, session: s } = state;
  if (!s || s.finished || state.mode !== 'practice') return [];
  return [{ announce: [inBoth((t) => naming(t, m, s, k))] }, { focus: { stage: k } }];
}

// The effects once stage k is done: the next stage, or the summary at the end.
function movedOn(state, k) {
  const { model: m, session: s } = state;
  const st = isStudents(state, s.run) ? state.student : null;
  const said = (t) => (st ? assignmentSummary(t, st.assignment, m, st.result) : summary(t, m, s));
  if (s.finished) return [{ focus: { summary: true } }, { announce: [inBoth(said)] }];
  return [{ announce: [inBoth((t) => [t('practice.done', { k: k + 1 }), ...naming(t, m, s, k + 1)])] }, { focus: { stage: k + 1 } }];
}

// [state, effects] with the effects of practice's step after it, where the session changed.
const stepped = ([state, effects], before, after) => [state, state.session === before.session ? effects : [...effects, ...after(state)]];

// The verdict on the answer to question key of stage k, said; the focus back
// on a wrong answer, on the next open question after a right one, or, after
// the last, the next stage once the verdict of the run shown is painted (as
// at now, the answer's time).
function judged(state, k, key, now) {
  const { model: m, session: s } = state;
  const q = session.question(s, k, key);
  const given = s.stages[k].answers.get(key);
  const said = { announce: [inBoth((t) => verdict(t, m, k, q, given))] };
  if (!given.verdict.right) return [said, { focus: { question: [k, key], choice: given.choice, select: q.kind !== 'invertible' } }];
  const next = session.nextQuestion(s, k, key);
  return [said, next ? { focus: { question: [k, next.key] } } : { after: { type: 'advance', k, now }, run: m.run }];
}

// The hint's step just taken at stage k, said; after the last allowed, the focus back on the stage.
function hinted(state, k, allowed) {
  const step = state.session.stages[k].hints;
  const said = { announce: [inBoth((t) => hintWords(t, state.model, k, step))] };
  return step < allowed ? [said] : [said, { focus: { stage: k } }];
}

// The state once model is shown: a new run starts its practice anew, or where
// the learner left it (saved, the progress kept of its exercise; past, its
// record); the same run with its exact values keeps the session. The stages
// section starts at stage 1 in a new session of the program.
function shown(state, { model, saved = null, past = null }) {
  const sameRun = state.model !== null && state.model.run === model.run;
  const count = model.stages.length;
  const k = state.model && state.model.run.session === model.run.session ? Math.max(0, Math.min(state.stage.k, count - 1)) : 0;
  const next = { ...state, model, stage: { ...state.stage, k }, entering: state.entering?.run === model.run ? state.entering : null };
  if (sameRun) return { ...next, session: state.session && session.withModel(model, state.session) };
  const fresh = { ...next, session: null, past, saved, conflict: null, picked: false, confirming: null };
  return fresh.mode === 'practice' ? started(fresh) : fresh;
}

// The state with the practice of its run started, or restored from what this
// browser kept of it (saved): once practice shows the run, so that a watched
// run's last Enter draws its pane without working out practice's questions.
function started(state) {
  const { model, saved } = state;
  if (state.session || !model || !session.practisable(model)) return state;
  const asked = linkOf(state, model.run)?.asked ?? null;
  if (isStudents(state, model.run)) return { ...state, session: studentSession(state, model, problemWork(saved, state.student)), past: null };
  const practice = session.start(model, { asked, saved, level: state.level });
  const fresh = saved && (asked?.from || asked?.fill) ? session.start(model, { asked, level: state.level }) : practice;
  const conflict = fresh.from !== practice.from || fresh.fill !== practice.fill ? { from: fresh.from, fill: fresh.fill } : null;
  return { ...state, session: practice, conflict };
}

// The program shown; before the programs, the one waiting for them; once
// they are there, before its run is shown, the one that the link followed names.
export const programOf = (state) => state.model?.run.program ?? state.early?.program ?? state.link?.program ?? null;

// The state once the link (share.parse) is followed: what it asks, practised
// or watched (a link to a program alone, as the programs' menu has, keeps the
// mode), and the run it opens: its input, or the exercise that it names, made
// first; the input field keeps what it holds where the message says so (keepsField).
function followed(state, { link, keepsField = false }) {
  const keepsMode = state.mode === 'practice' && link.input === '' && !link.exercise && !link.ended;
  const mode = link.practice || keepsMode ? 'practice' : 'watch';
  const problem = link.problem === null ? null : { id: link.problem, program: link.program };
  const opened = { program: link.program, input: link.exercise ? null : link.input, exercise: link.exercise, asked: link.asked };
  const effect = link.exercise ? { make: { program: link.program, ...link.exercise } }
    : { open: { program: link.program, input: link.input, ended: link.ended, ...(keepsField === true ? { keepsField } : {}) } };
  return [{ ...state, mode, problem, teacher: null, results: null, student: null, unmet: false, link: opened }, [effect]];
}

// A start-over (type, the message's) that would erase the exercise's answers
// waits for the learner's yes (confirmed), its "No" focused; otherwise it is
// done (go(state)). A student's work is kept under the name, and asks in the
// student's view.
function erasing(state, { type, confirmed = false }, go) {
  const erases = state.session && !isStudents(state, state.session.run) && session.hasWork(state.session);
  if (!confirmed && erases) return [{ ...state, confirming: type }, [{ focus: { element: `${asking[type]}-keep` } }]];
  return go({ ...state, confirming: null });
}

// The button that asks each start-over.
const asking = { restart: 'restart', restartPractice: 'practice-restart' };

// The same exercise from its start again, its progress forgotten; within an
// assignment, once the student has confirmed it (the result keeps the first
// answers), at now (ms).
function restartPractice(state, { confirmed = false, now }) {
  if (state.session === null) return [state, []];
  const st = state.student;
  if (isStudents(state, state.session.run)) {
    if (!st.confirm || !confirmed) return [{ ...state, student: { ...st, confirm: true } }, [{ focus: { element: 'student-confirm' } }]];
    const [next, effects] = keptWork({ ...state, student: { ...st, confirm: false, rounds: st.rounds + 1 }, session: session.restart(state.model, state.session) }, now);
    return [next, [...effects, ...atStage(next, next.session.current)]];
  }
  return erasing(state, { type: 'restartPractice', confirmed }, (state) => {
    const next = { ...state, session: session.restart(state.model, state.session) };
    return [next, [{ forget: session.progressKey(state.session.run) }, ...atStage(next, next.session.current)]];
  });
}

// The transcript's effect (effect(run)), and the focus back on the input while the program waits.
const transcript = (state, effect) =>
  (state.model ? [state, [effect(state.model.run), ...(isWaiting(state.model.run) ? [{ focus: { element: 'typed' } }] : [])]] : [state, []]);

const practising = {
  // A step of practice at now (ms), which an LMS's report times.
  answer: (state, { k, key, given, now }) =>
    (given ? stepped(changed(state, (m, s) => session.answer(s, k, key, given), now), state, (next) => judged(next, k, key, now)) : [state, []]),
  advance: (state, { k, now }) => stepped(changed(state, (m, s) => session.advance(m, s, k), now), state, (next) => movedOn(next, k)),
  hint: (state, { k, now }) =>
    stepped(changed(state, (m, s) => session.hint(s, k), now), state, (next) => hinted(next, k, permissions(next.student).hints)),
  fillIn: (state, { k, now }) => stepped(changed(state, (m, s) => session.fillIn(m, s, k), now), state, (next) => movedOn(next, k)),
  from: (state, { from }) => {
    if (!state.session || !Number.isInteger(from) || from < 1 || from >= state.model.stages.length) return [state, []];
    const [next, effects] = changed({ ...state, picked: true, conflict: null }, (m, s) => session.restart(m, s, from));
    return [next, [...effects, ...atStage(next, next.session.current)]];
  },
  fill: (state, { fill }) => {
    if (!fills.includes(fill)) return [state, []];
    const before = state.session;
    const [next, effects] = changed(state, (m, s) => session.withFill(m, s, fill));
    const moved = before && (next.session.finished || next.session.current !== before.current);
    return [next, moved ? [...effects, ...movedOn(next, before.current)] : effects];
  },
  restartPractice,
  clearRecord: (state) => {
    if (!state.model) return [{ ...state, past: null }, []];
    const said = state.past === null ? [] : [{ announce: [{ id: 'practice.cleared' }] }, { focus: { cleared: true } }];
    return [{ ...state, past: null }, [{ forget: session.recordKey(state.model.run) }, ...said]];
  },
  exactShown: (state, { on }) => [{ ...state, exactShown: on === true }, []],
  // An answer left unchecked for another field: the status line says so.
  unchecked: (state, { k, key }) => {
    const q = state.session && session.question(state.session, k, key);
    return q ? [state, [{ announce: [inBoth((t) => t('practice.unchecked', { label: questionLabel(t, q) }))] }]] : [state, []];
  },
  // The start-over that waited is not done: the answers stay, and the focus goes back to the button that asked.
  keepWork: (state) => {
    const back = state.confirming ? [{ focus: { element: asking[state.confirming] } }] : [];
    return [{ ...state, confirming: null, ...(state.student ? { student: { ...state.student, confirm: false, asking: null } } : {}) }, back];
  },
  // The link's choice over the work kept: what it asks, from its start.
  takeLink: (state) => {
    if (!state.conflict || !state.session) return [state, []];
    const { from, fill } = state.conflict;
    const [next, effects] = keep({ ...state, conflict: null, session: session.restart(state.model, state.session, from, fill) }, state);
    return [next, [...effects, ...atStage(next, next.session.current)]];
  },
  keepSaved: (state) => [{ ...state, conflict: null }, []],
};

const running = {
  // Before the programs: the first prompt of program, waiting for what is typed.
  awaiting: (state, { program }) => [{ ...state, early: { program, entries: [], ended: false } }, []],
  typed: (state, { text, ended = false }) =>
    (state.early ? [{ ...state, early: { ...state.early, entries: [...state.early.entries, String(text)], ended } }, []] : [state, []]),
  // Once they are there, an entry typed at the run shown, with the end of
  // input after it if ended: it waits, with those typed after it, for the
  // page to run them ({ enter: run }, once for those typed in a burst), which
  // shows the last run; another run shown lets them go.
  entered: (state, { entry, ended = false }) => {
    if (!state.model || typeof entry !== 'string') return [state, []];
    const { run } = state.model;
    const more = state.entering?.run === run;
    const entering = { run, entries: [...(more ? state.entering.entries : []), [entry, ended === true]] };
    return [{ ...state, entering }, more ? [] : [{ enter: run }]];
  },
  // The entries typed came after the program stopped reading, and are dropped, as at a console.
  enteredNone: (state) => (state.entering ? [{ ...state, entering: null }, []] : [state, []]),
  // The programs are there: what was typed is typed again, else the link
  // opens; either way what the input field holds stays (keepsField).
  loaded: (state) => {
    const { early } = state;
    const effect = early && early.entries.length > 0
      ? { open: { program: early.program, input: early.entries.join(''), ended: early.ended, keepsField: true } } : { openLink: { keepsField: true, lms: state.lms } };
    return [{ ...state, programs: 'loaded', early: null }, [effect]];
  },
  // Both languages at once: the language switch may be out of reach when nothing works.
  failed: (state, { error = '' }) => [{ ...state, programs: 'failed', early: null },
    [{ announce: ['ko', 'en'].map((lang) => ({ id: 'status.loadFailed', values: { error }, lang })) }]],
  link: (state, message) => (message.link ? followed(state, message) : [state, []]),
  // The matrix of the exercise that the link or the student's name asked for, made: it opens.
  made: (state, { input, met }) => {
    if (!state.link || state.link.input !== null || typeof input !== 'string') return [state, []];
    const { program } = state.link;
    return [{ ...state, link: { ...state.link, input }, unmet: met === false }, [{ open: { program, input, ended: false } }]];
  },
  // A run shown; a new one in practice brings the learner to its stage at
  // hand; inside an LMS, the student's work is told as it opens.
  shown: (state, message) => {
    if (!message.model?.run || !Array.isArray(message.model.stages)) return [state, []];
    const next = shown(state, message);
    const opens = next.student?.lms && next.session && !state.session && isStudents(next, next.session.run);
    const fresh = next.session && state.model?.run !== next.model.run;
    const [told, effects] = opens ? keptWork(next, message.now) : [next, []];
    return [told, [...effects, ...(fresh ? atStage(told, told.session.current) : [])]];
  },
  // Start over: the same program, empty, and an address that says so.
  restart: (state, message) => (!state.model ? [state, []] : erasing(state, message, (state) => {
    const { program } = state.model.run;
    const effects = [{ address: fragment(program, '', false, { practice: state.mode === 'practice' }) }, { open: { program, input: '', ended: false } }];
    if (state.session && !isStudents(state, state.session.run)) effects.unshift({ forget: session.progressKey(state.session.run) });
    return [{ ...state, link: null, problem: null, teacher: null, results: null, student: null, unmet: false }, effects];
  })),
  download: (state) => transcript(state, (run) => ({ save: { content: run.bytes, name: `${run.program}.log`, type: 'text/plain; charset=utf-8' } })),
  copyTranscript: (state) => transcript(state, (run) => ({ copy: { content: run.output, done: 'status.copied' } })),
};

// The focus on entering the learner's own way, once its section is painted:
// its operation field, or with no matrix yet the first control that makes
// one (the run shown's matrix, else an exercise's).
export const ownFocus = (state) => ({ focus: { element: state.own?.work ? 'own-op'
  : state.model && !isWaiting(state.model.run) ? 'own-from-run' : 'own-program', shown: true } });

const watching = {
  // The learner's own way waits for its part (state/own.js), which takes the work.
  mode: (state, { mode, focus = false }) => {
    if (!/^(practice|watch|own)$/.test(mode)) return [state, []];
    const next = mode === 'practice' ? started({ ...state, mode }) : { ...state, mode };
    if (focus && mode === 'own') return [next, [ownFocus(next)]];
    return [next, focus && next.session ? atStage(next, next.session.current) : []];
  },
  stage: (state, { k }) => {
    if (!state.model || !Number.isInteger(k) || k < 0 || k >= state.model.stages.length || k === state.stage.k) return [state, []];
    const { stages } = state.model;
    const said = inBoth((t) => t('status.stage', { k: k + 1, count: stages.length, name: stageName(t, stages[k]) }));
    return [{ ...state, stage: { ...state.stage, k } }, [{ announce: [said] }]];
  },
  allStages: (state) => [{ ...state, stage: { ...state.stage, all: !state.stage.all } }, []],
};

const asked = {
  // A new exercise of the program shown, opened by its link: the learner's own.
  exercise: (state, { seed, order, options }) => {
    if (!Number.isInteger(seed) || !Number.isInteger(order) || !Array.isArray(options)) return [state, []];
    return [{ ...state, seedTyped: false },
      [{ visit: fragment(programOf(state) ?? defaultProgram, '', false, { practice: true, own: true, exercise: { seed, order, options, generator: latestGenerator } }) }]];
  },
  // The seed field typed into: a class set takes its seed rather than the exercise's shown.
  seedTyped: (state) => [{ ...state, seedTyped: true }, []],
  // A class set of worksheets: of the exercise shown, unless a seed was typed
  // since; else of the seed given, with the order and options given.
  classSet: (state, { seed, order, options, count = 1, parts = 'all', twoSided = true }) => {
    const set = (state.seedTyped ? null : linkState(state).exercise) ?? { seed, order, options, generator: latestGenerator };
    return [state, [{ print: { classSet: { program: programOf(state) ?? defaultProgram, ...set, count, parts, twoSided } } }]];
  },
  // Another language: practice's question named anew in it, or else what the status line said last said again.
  language: (state, { code }) => {
    if (!Object.hasOwn(texts, code)) return [state, []];
    const named = atStage(state, state.session?.current);
    return [{ ...state, language: code }, [{ store: 'language', value: code }, ...(named.length > 0 || !state.said ? named : [{ announce: state.said }])]];
  },
  // What a view asks the page to copy (content: text, or texts by type), save
  // (content of the MIME type mime, under name) or print, as it asks.
  copy: (state, { content, done }) => [state, [{ copy: { content, done } }]],
  save: (state, { content, name, mime }) => [state, [{ save: { content, name, type: mime } }]],
  print: (state, { asked }) => [state, [{ print: asked }]],
  // What a copy came to: done, the id of what to say, or the error.
  copied: (state, { done = null, error = '' }) =>
    [state, [{ announce: [done ? { id: done } : { id: 'status.copyFailed', values: { error: String(error) } }] }]],
};

export const handlers = { ...running, ...watching, ...practising, ...asked };
