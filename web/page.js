// The page's entry: runs gjinverse or gjsolve in the pane as at a console. Each
// line entered makes a new run of the session (runner.js); the page shows its
// model (model.js): the pane at once, the other views once the pane is
// painted, then the exact values, worked out in slices between frames so that
// the page keeps answering. The first prompt is there, and the input field
// ready, before the programs have loaded: what is typed meanwhile is handed to
// them once they have.
//
// The page's state is one value (state.js), changed only by update(state,
// message). The views draw from it and send what the user does as messages
// (dispatch); the page carries out the effects that update asks for (storage,
// the address, running the programs) and alone writes the mode: the body's
// data-mode, which of the stages and practice shows, and the mode buttons.
import { firstPrompts } from 'gj-build/first-prompts.js';  // written by the build from the programs' own output
import * as language from './views/language.js';
import { emit, on, show as showRun, isShown, afterPaint, inSlices } from './views/events.js';
import { byId, el, copy, save } from './views/dom.js';
import { stored, store, forget, keepInMemory } from './views/storage.js';
import * as runner from './logic/runner.js';
import { isWaiting } from './logic/runner.js';
import { recordKey } from './logic/session.js';
import { stageName } from './logic/words.js';
import { initial, update, linkState, progressKeyOf } from './state.js';
import { model as modelOfRun, withExact, replay } from './logic/model.js';
import * as share from './logic/share.js';
import { make as makeExercise } from './logic/exercises.js';
import * as pane from './views/pane.js';
import * as stages from './views/stages.js';
import * as status from './views/status.js';
import * as links from './views/links.js';
import * as practice from './views/practice.js';
import * as confirm from './views/confirm.js';
import * as exerciseForm from './views/exercise-form.js';
import * as assignmentForm from './views/assignments/assignment-form.js';
import * as teacher from './views/assignments/teacher.js';
import * as student from './views/assignments/student.js';
import { parseLink } from './logic/assignments/assignment.js';
import { locked, workKey } from './logic/assignments/work.js';
import { decodeWork } from './logic/assignments/suspend.js';
import { connect as connectLms, reporter } from './views/assignments/lms.js';
import { start as startOffline } from './views/offline.js';
import * as printer from './views/print.js';

const { t } = language;
const typed = byId('typed');
const inputLine = byId('line');
const endButton = byId('end');
const restartButton = byId('restart');
const modeButtons = document.querySelectorAll('button[data-mode]');
let state = initial();
// Inside an LMS, which launches a student's link: the LMS names the student
// and keeps the work, and the browser keeps nothing.
const lms = parseLink(location.hash)?.role === 'student' ? connectLms(window) : null;
const tellLms = lms && reporter(lms);
if (lms) keepInMemory();

// What each view is handed of the state; but for the link's problem, nothing before a model.
const draw = {
  links: () => state.model && links.render(state.model, linkState(state), state.problem),
  problem: () => links.tellProblem(state.problem),
  printer: () => state.model && printer.render(state.model, { ...linkState(state), locked: locked(state.student) }),
  exerciseForm: () => state.model && exerciseForm.render(state.model, linkState(state)),
  assignmentForm: () => state.model && assignmentForm.render(state.model),
  teacher: () => teacher.render(state.teacher),
  student: () => student.render(state.student, state.conflict, state.session?.finished === true),
  status: () => state.model && status.render(state.model),
  stages: (message) => state.model && stages.render(state, message),
  practice: (message, before) => state.model && practice.render(state, message, before),
  confirm: (message) => confirm.render(state, message),
};
// The views drawn after the pane, in tasks of their own, the cheap first.
const laterViews = [['links', 'status', 'printer', 'exerciseForm', 'assignmentForm', 'confirm', 'student'], ['stages'], ['practice']];
// The views that a message other than a new model changes, besides the mode's.
const drawnOn = {
  mode: ['links', 'printer', 'practice'], stage: ['stages'], allStages: ['stages'],
  answer: ['practice'], advance: ['practice'], hint: ['practice'], fillIn: ['practice'],
  from: ['practice', 'links'], fill: ['practice', 'links'], restartPractice: ['practice', 'confirm', 'student'], clearRecord: ['practice'],
  exactShown: ['practice'], link: ['problem', 'links', 'teacher', 'student'], teacherLink: ['problem', 'teacher', 'student'],
  restart: ['problem', 'teacher', 'student', 'confirm'], studentLink: ['problem', 'teacher', 'student'], studentName: ['student'], notYou: ['student'],
  handIn: ['student', 'printer'], keepWork: ['student', 'confirm'], takeLink: ['student', 'practice', 'links'], keepSaved: ['student'],
};
// A student's messages that change the student drawn, besides their own.
const studentsToo = new Set(['restartPractice', 'advance', 'fillIn']);

// The mode, written by the page alone: the body's data-mode, the section
// shown (the stages when watching, practice when practising), the mode
// buttons, and the printouts that the pane shows.
function drawMode() {
  const practising = state.mode === 'practice';
  document.body.dataset.mode = state.mode;
  document.body.toggleAttribute('data-locked', locked(state.student));
  document.body.toggleAttribute('data-assignment', state.student !== null);
  byId('practice').hidden = !practising;
  byId('stages').hidden = practising;
  for (const button of modeButtons) button.setAttribute('aria-pressed', String(button.dataset.mode === state.mode));
  const { session } = state;
  pane.reveal(practising, session && !session.finished ? session.current : Infinity);
}

// Carries out an effect that update asks for (state.js lists them).
function carryOut(effect) {
  if (effect.open) open(effect.open.program, effect.open.input, effect.open.ended);
  else if (effect.openLink) openLink();
  else if (effect.address !== undefined) history.replaceState(null, '', effect.address);
  else if (effect.visit) {
    if (location.hash === effect.visit) dispatchEvent(new HashChangeEvent('hashchange'));
    else location.hash = effect.visit;
  } else if (effect.report) reportWork(effect.report);
  else if (effect.store) store(effect.store, effect.value);
  else if (effect.forget) forget(effect.forget);
  else if (effect.language) language.choose(effect.language);
  else if (effect.classSet) emit('classSet', effect.classSet);
  else if (effect.focusTeacher) teacher.focus();
}

// Tells the LMS the student's work (student.kept), and the student whether
// it took it; the page keeps it in memory for a return to the assignment's link.
function reportWork(work) {
  store(workKey(state.student.assignment, state.student.name), work);
  if (tellLms && state.model && state.session) student.tellLms(tellLms(state.model, state.session, work, Date.now()));
}

// The work kept of assignment a under name; inside an LMS, what it gave
// when the page opened, until the page has reported more.
function keptWork(a, name) {
  const key = workKey(a, name);
  const given = lms && stored(key) === null ? decodeWork(lms.suspend) : null;
  if (given) store(key, given);
  return stored(key);
}

// Tells the state what happened (a message), draws what it changed, and
// carries out the effects that it asks for.
function dispatch(message) {
  const before = state;
  let effects;
  [state, effects] = update(state, message);
  if (state.mode !== before.mode || state.session !== before.session || state.student !== before.student) drawMode();
  for (const view of drawnOn[message.type] ?? []) draw[view](message, before);
  if (studentsToo.has(message.type) && state.student !== before.student) draw.student();
  for (const effect of effects) carryOut(effect);
}

// Draws every view but the pane, a group of them at a time after paint, from
// the state then, for as long as run is the one shown.
function renderLater(run, before) {
  const message = { type: 'shown' };
  for (const views of laterViews) afterPaint(run, () => { for (const view of views) draw[view](message, before); });
}

// Works out the exact values of m's run a slice at a time, while it is shown.
function replayInSlices(m) {
  const job = replay(m);
  if (job === null) return;
  inSlices(m.run, (deadline) => job.step(deadline), () => {
    const before = state;
    dispatch({ type: 'shown', model: withExact(m, job.result) });
    pane.render(state.model);
    renderLater(m.run, before);
  });
}

// Shows run: the pane at once, the rest after paint. A new run's practice
// starts from what this browser kept of its exercise.
function show(run) {
  const before = state;
  const changed = state.model === null || state.model.run !== run;
  const keptOf = (key) => (changed && !isWaiting(run) ? stored(key) : null);
  dispatch({ type: 'shown', model: modelOfRun(run, state.model), saved: keptOf(progressKeyOf(state, run)), past: keptOf(recordKey(run)) });
  const shown = state.model;
  showRun(run);
  pane.render(shown);
  drawMode();
  settleFocus(isWaiting(run));
  renderLater(run, before);
  afterPaint(run, () => replayInSlices(shown));
}

// The input field keeps the focus while the program waits, and hands it to
// "New input" when the run ends.
function settleFocus(waiting) {
  const hadFocus = [typed, endButton].includes(document.activeElement);
  typed.disabled = endButton.disabled = !waiting;
  inputLine.hidden = !waiting;
  if (waiting) {
    typed.focus();
    typed.scrollIntoView({ block: 'nearest' });
  } else if (hadFocus) {
    restartButton.focus();
  }
}

// Hands the program one more entry, with the end of input after it if ended;
// before the programs have loaded, keeps it for them.
function enter(text, ended) {
  typed.value = '';
  if (state.early) {
    dispatch({ type: 'typed', text, ended });
    pane.waiting(firstPrompts[state.early.program], state.early.entries);
    if (ended) settleFocus(false);
    return;
  }
  const run = runner.extend(state.model.run, text, ended);
  if (run !== null) show(run);
}

// The page's chrome for program: its title, the menu, the names in the help.
function name(program) {
  document.title = t('title.program', { program });
  for (const link of document.querySelectorAll('nav a')) {
    if (link.hash === '#' + program) link.setAttribute('aria-current', 'page');
    else link.removeAttribute('aria-current');
  }
  for (const node of document.querySelectorAll('.program-name')) node.textContent = program;
}

// Opens a program afresh and types input at its prompts, a line per entry, with
// the end of input after it if ended; a last piece without its Enter stays in
// the input field. The program runs once per entry, each run in a slice of
// its own, so that a long link never holds up the page; only the last run is shown.
function open(program, input = '', ended = false) {
  name(program);
  const entries = share.entries(input);
  if (ended && (entries.length === 0 || entries.at(-1).endsWith('\n'))) entries.push('');
  const last = entries.length > 0 && !entries.at(-1).endsWith('\n') && !ended ? entries.pop() : '';
  let run = runner.open(program);
  const first = run;
  showRun(first);  // work for the run shown before stops here
  typed.value = '';
  typed.disabled = entries.length > 0;
  let k = 0;
  const step = (deadline) => {
    for (; k < entries.length && performance.now() < deadline; k++)
      run = runner.extend(run, entries[k], ended && k === entries.length - 1) ?? run;
    return k === entries.length;
  };
  const done = () => {
    show(run);
    if (isWaiting(run)) typed.value = last;
  };
  // Typed text is run in tasks of its own, and shown in one more.
  if (entries.length === 0) done();
  else setTimeout(() => inSlices(first, step, () => setTimeout(() => { if (isShown(first)) done(); }, 0)), 0);
}

// Opens what the address's fragment names (share.js), practised or watched;
// anything wrong with it is said above the pane. An exercise's link gives its
// matrix.
function openLink() {
  const found = /&(teacher|assignment)=/.test(location.hash) ? parseLink(location.hash) : null;
  if (found !== null) {
    const program = found.assignment?.program ?? share.parse(location.hash).program;
    const inLms = lms !== null && found.role === 'student';
    const named = inLms && lms.name.trim() !== '' ? { ...found, name: lms.name } : found;
    const kept = named.name ? keptWork(named.assignment, named.name) : null;
    dispatch({ type: found.role === 'student' ? 'studentLink' : 'teacherLink', found: named, program, kept, now: Date.now(), lms: inLms });
    return;
  }
  const link = share.parse(location.hash);
  const made = link.exercise ? makeExercise({ program: link.program, ...link.exercise }) : null;
  dispatch({ type: 'link', link, made: made && { input: made.input, met: made.met } });
}

// Before the programs: the first prompt of the program that the address names,
// and the input field ready, unless the link carries input of its own.
function awaitPrograms() {
  const link = share.parse(location.hash);
  name(link.program);
  const free = link.input === '' && !link.exercise && !link.ended;
  dispatch({ type: 'awaiting', program: link.program });
  pane.waiting(firstPrompts[link.program], []);
  typed.disabled = endButton.disabled = !free;
  if (free) typed.focus();
  else typed.value = '';
}

function download() {
  const { run } = state.model;
  save(run.bytes, `${run.program}.log`, 'text/plain; charset=utf-8');
}

// Ctrl-D ends the input. Where the key is no Latin letter (a Korean input
// method reports 'ㅇ'), the physical key counts; elsewhere the letter does,
// whatever key of the layout gives it.
function isCtrlD(event) {
  if (!event.ctrlKey || event.altKey || event.metaKey) return false;
  return /^[a-z]$/i.test(event.key) ? event.key.toLowerCase() === 'd' : event.code === 'KeyD';
}

// The programs are there: the links open, and what was typed is typed again.
function loaded() {
  document.body.dataset.programs = 'loaded';
  removeEventListener('hashchange', awaitPrograms);
  addEventListener('hashchange', openLink);
  dispatch({ type: 'loaded' });
}

// Both languages at once: the language switch may be out of reach when nothing works.
function loadFailed(error) {
  document.body.dataset.programs = 'failed';
  dispatch({ type: 'failed' });
  removeEventListener('hashchange', awaitPrograms);
  pane.empty();
  settleFocus(false);
  typed.disabled = endButton.disabled = true;
  const say = (code) => el('span', '', language.text(code, 'status.loadFailed', { error }), { lang: code });
  emit('announce', () => [say('ko'), say('en')]);
}

// The programs' module: programs.js, fetched while the page starts and run
// once the first prompt is painted, gives it as the global gaussJordanPrograms.
function loadPrograms() {
  return new Promise((resolve, reject) => {
    const script = el('script', '', undefined, { src: 'programs.js' });
    script.addEventListener('load', () => resolve(globalThis.gaussJordanPrograms));
    script.addEventListener('error', () => reject(new Error('programs.js did not load')));
    document.head.append(script);
  });
}

inputLine.addEventListener('submit', (event) => {
  event.preventDefault();
  enter(typed.value + '\n', false);
});
typed.addEventListener('keydown', (event) => {
  if (!isCtrlD(event)) return;
  event.preventDefault();
  enter(typed.value, true);
});
endButton.addEventListener('click', () => enter(typed.value, true));
restartButton.addEventListener('click', () => { if (state.model) dispatch({ type: 'restart' }); });
byId('download').addEventListener('click', () => {
  if (!state.model || locked(state.student)) return;
  download();
  if (isWaiting(state.model.run)) typed.focus();
});
byId('copy').addEventListener('click', async () => {
  if (!state.model || locked(state.student)) return;
  const { run } = state.model;
  await copy(run.output, 'status.copied');
  if (isWaiting(run)) typed.focus();
});
// Practising or watching, as the mode's buttons say; the focus goes to the question.
for (const button of modeButtons)
  button.addEventListener('click', () => dispatch({ type: 'mode', mode: button.dataset.mode, focus: true }));
for (const view of [practice, stages, exerciseForm, confirm]) view.connect(dispatch);
// The name typed comes with the work that this browser kept under it, and the time.
student.connect((message) => dispatch(message.type !== 'studentName' ? message
  : { ...message, kept: keptWork(state.student.assignment, message.name.normalize('NFC').trim()), now: Date.now() }));
on('classSet', printer.printClassSet);
on('assignmentSet', printer.printAssignmentSet);
language.onChange(() => {
  const { model } = state;
  document.title = model === null ? t('title') : t('title.program', { program: model.run.program });
  if (model) {
    draw.links();
    practice.retell(state);
  }
  draw.student();
});

// The page's markup keeps an Enter from sending the form until now.
inputLine.querySelector('button[type="submit"]').disabled = false;
awaitPrograms();
addEventListener('hashchange', awaitPrograms);
language.start((code) => dispatch({ type: 'language', code }));
state = { ...state, language: language.language(), level: stored('practice.level') ?? 0 };
requestAnimationFrame(() => setTimeout(() => {
  runner.load(loadPrograms()).then(loaded, (error) => loadFailed(String(error)));
  if (!lms) startOffline();
}, 0));

// The page's parts, as the bundle's global GJ: for a look from the browser's
// console, and for the tests, which read the page's texts and its model.
export { language, share, runner, stages };
// A stage's name in the language the page is drawn in.
export const words = { stageName: (stage) => stageName(language.t, stage) };
export * as check from './logic/check.js';
export * as exercises from './logic/exercises.js';
export const page = { get model() { return state.model; }, get state() { return state; } };
