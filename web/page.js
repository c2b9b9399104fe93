// The page's entry: runs gjinverse or gjsolve in the pane as at a console. Each
// line entered makes a new run of the session (runner.js); the page shows its
// model (model.js): the pane at once, the other views once the pane is
// painted, then the exact values, worked out in slices between frames so that
// the page keeps answering. The first prompt is there, and the input field
// ready, before the programs have loaded: what is typed meanwhile is handed to
// them once they have. The page owns what a link carries besides the typed
// text (practice, the exercise), and hands it to the views.
import { firstPrompts } from 'gj-build/first-prompts.js';  // written by the build from the programs' own output
import * as language from './views/language.js';
import { emit, show as showRun, isShown, afterPaint, inSlices } from './views/events.js';
import { byId, el, copy } from './views/dom.js';
import * as runner from './logic/runner.js';
import { model as modelOfRun, withExact, replay } from './logic/model.js';
import * as share from './logic/share.js';
import { make as makeExercise } from './logic/exercises.js';
import * as pane from './views/pane.js';
import * as stages from './views/stages.js';
import * as status from './views/status.js';
import * as links from './views/links.js';
import * as practice from './views/practice.js';
import * as worksheet from './views/worksheet.js';
import * as exerciseForm from './views/exercise-form.js';
import * as assignmentForm from './views/assignment-form.js';
import * as teacher from './views/teacher.js';
import { parseLink } from './logic/assignment.js';
import { start as startOffline } from './views/offline.js';
import './views/print.js';

const { t } = language;
const typed = byId('typed');
const inputLine = byId('line');
const endButton = byId('end');
const restartButton = byId('restart');
const downloadLink = document.createElement('a');
// The views drawn after the pane, in tasks of their own, the cheap first.
const laterViews = [[links, status, worksheet, exerciseForm, assignmentForm], [stages], [practice]];
let model = null;     // the model shown
let opened = null;    // what the link asked of the run it opened: { program, input, exercise, asked }
let early = null;     // before the programs: { program, entries, ended }, or null once they are there

// What a link to run carries besides its text: practice, the exercise that
// gave the text, if it did, and what practice asks: for practice, what the
// link that opened run asked of it (asked: { from, fill, own }, or null); for
// the link to it, the start and the entries asked now (from, fill).
function linkState(run) {
  const link = opened && opened.program === run.program && opened.input === run.input ? opened : null;
  return { practice: practice.isActive(), exercise: link?.exercise ?? null, asked: link?.asked ?? null, ...practice.chosenFor(run) };
}

// Renders every view but the pane, a group of them at a time after paint.
function renderLater(m) {
  for (const views of laterViews) afterPaint(m.run, () => { for (const view of views) view.render(m, linkState(m.run)); });
}

// Works out the exact values of m's run a slice at a time, while it is shown.
function replayInSlices(m) {
  const job = replay(m);
  if (job === null) return;
  inSlices(m.run, (deadline) => job.step(deadline), () => {
    model = withExact(m, job.result);
    pane.render(model);
    renderLater(model);
  });
}

// Shows run: the pane at once, the rest after paint.
function show(run) {
  model = modelOfRun(run, model);
  const shown = model;
  showRun(run);
  pane.render(shown);
  settleFocus(run.status === -1);
  renderLater(shown);
  afterPaint(run, () => replayInSlices(shown));
}

// The input field keeps the focus while the program waits, and hands it to
// "Start over" when the run ends.
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
  if (early) {
    early.entries.push(text);
    early.ended = ended;
    pane.waiting(firstPrompts[early.program], early.entries);
    if (ended) settleFocus(false);
    return;
  }
  const run = runner.extend(model.run, text, ended);
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
    if (run.status === -1) typed.value = last;
  };
  // Typed text is run in tasks of its own, and shown in one more.
  if (entries.length === 0) done();
  else setTimeout(() => inSlices(first, step, () => setTimeout(() => { if (isShown(first)) done(); }, 0)), 0);
}

// Opens what the address's fragment names (share.js), practised or watched;
// anything wrong with it is said above the pane. An exercise's link gives its
// matrix. A link to a program alone, as the programs' menu has, keeps the mode.
function openLink() {
  if (openTeacher()) return;
  const link = share.parse(location.hash);
  links.setProblem(link.problem, link.program);
  practice.setActive(link.practice || (practice.isActive() && link.input === '' && !link.exercise && !link.ended));
  let { input, ended } = link;
  let exercise = null;
  practice.setUnmet(false);
  if (link.exercise) {
    const made = makeExercise({ program: link.program, ...link.exercise });
    exercise = { ...link.exercise };
    practice.setUnmet(!made.met);
    [input, ended] = [made.input, false];
  }
  opened = { program: link.program, input, exercise, asked: link.asked };
  open(link.program, input, ended);
}

// A teacher's link opens the assignment's results view, in practice, over
// its program empty; a teacher link cut short or altered says so. Returns
// whether the link was a teacher's. Any other link closes the view.
function openTeacher() {
  const found = /&teacher=/.test(location.hash) ? parseLink(location.hash) : null;
  teacher.render(found?.role === 'teacher' ? found.assignment : null);
  if (found === null) return false;
  const program = found.assignment?.program ?? share.parse(location.hash).program;
  links.setProblem(found.problem ?? null, program);
  practice.setActive(true);
  opened = null;
  open(program);
  if (found.assignment) teacher.focus();
  return true;
}

// Before the programs: the first prompt of the program that the address names,
// and the input field ready, unless the link carries input of its own.
function awaitPrograms() {
  const link = share.parse(location.hash);
  name(link.program);
  const free = link.input === '' && !link.exercise && !link.ended;
  early = { program: link.program, entries: [], ended: false };
  pane.waiting(firstPrompts[link.program], []);
  typed.disabled = endButton.disabled = !free;
  if (free) typed.focus();
  else typed.value = '';
}

// Start over: the same program, empty, and an address that says so.
function restart() {
  practice.clearProgress();
  opened = null;
  links.setProblem(null);
  history.replaceState(null, '', share.fragment(model.run.program, '', false, { practice: practice.isActive() }));
  open(model.run.program);
}

function download() {
  // The address of the previous download is let go only now, when surely done with.
  if (downloadLink.href) URL.revokeObjectURL(downloadLink.href);
  downloadLink.href = URL.createObjectURL(new Blob([model.run.bytes], { type: 'text/plain; charset=utf-8' }));
  downloadLink.download = `${model.run.program}.log`;
  downloadLink.click();
}

// Ctrl-D ends the input. Where the key is no Latin letter (a Korean input
// method reports 'ㅇ'), the physical key counts; elsewhere the letter does,
// whatever key of the layout gives it.
function isCtrlD(event) {
  if (!event.ctrlKey || event.altKey || event.metaKey) return false;
  return /^[a-z]$/i.test(event.key) ? event.key.toLowerCase() === 'd' : event.code === 'KeyD';
}

// Practising or watching, as the mode's buttons say; the link says so too.
function setMode(on) {
  practice.setActive(on, true);
  if (model) links.render(model, linkState(model.run));
}

// The programs are there: the links open, and what was typed is typed again.
function loaded() {
  document.body.dataset.programs = 'loaded';
  const typedEarly = early;
  early = null;
  removeEventListener('hashchange', awaitPrograms);
  addEventListener('hashchange', openLink);
  if (typedEarly.entries.length === 0) openLink();
  else open(typedEarly.program, typedEarly.entries.join(''), typedEarly.ended);
}

// Both languages at once: the language switch may be out of reach when nothing works.
function loadFailed(error) {
  document.body.dataset.programs = 'failed';
  early = null;
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
restartButton.addEventListener('click', () => { if (model) restart(); });
byId('download').addEventListener('click', () => {
  if (!model) return;
  download();
  if (model.run.status === -1) typed.focus();
});
byId('copy').addEventListener('click', async () => {
  if (!model) return;
  await copy(model.run.output, 'status.copied');
  if (model.run.status === -1) typed.focus();
});
practice.whenChosen(() => { if (model) links.render(model, linkState(model.run)); });
for (const button of document.querySelectorAll('button[data-mode]'))
  button.addEventListener('click', () => setMode(button.dataset.mode === 'practice'));
language.onChange(() => {
  document.title = model === null ? t('title') : t('title.program', { program: model.run.program });
});

// The page's markup keeps an Enter from sending the form until now.
inputLine.querySelector('button[type="submit"]').disabled = false;
awaitPrograms();
addEventListener('hashchange', awaitPrograms);
language.start();
requestAnimationFrame(() => setTimeout(() => {
  runner.load(loadPrograms()).then(loaded, (error) => loadFailed(String(error)));
  startOffline();
}, 0));

// The page's parts, as the bundle's global GJ: for a look from the browser's
// console, and for the tests, which read the page's texts and its model.
export { language, share, runner, stages };
export * as words from './logic/words.js';
export * as check from './logic/check.js';
export * as exercises from './logic/exercises.js';
export const page = { get model() { return model; } };
