// The page's drawing: which views a message redraws, from the state then; a
// run shown, the pane at once and the other views once it is painted; the
// exact values worked out in slices between frames while the run is shown;
// and the mode, which only this module writes: the body's data-mode and
// locks, which of the stages and practice shows, and the mode buttons.
// Each function is handed page: { state(), dispatch }, what page.js shares
// with its parts.
import { show as showRun, afterPaint, inSlices } from '../views/events.js';
import { byId } from '../views/dom.js';
import { t } from '../views/language.js';
import { stored } from '../views/storage.js';
import { isWaiting } from '../logic/model.js';
import { recordKey } from '../logic/session.js';
import { model as modelOfRun, withExact, replay } from '../logic/model.js';
import { locked } from '../logic/assignments/work.js';
import { linkState, progressKeyOf } from '../state.js';
// The views, in the order that they set up their own controls as the page loads.
import * as pane from '../views/pane.js';
import * as stages from '../views/stages.js';
import * as status from '../views/status.js';
import * as links from '../views/links.js';
import * as practice from '../views/practice.js';
import * as confirm from '../views/confirm.js';
import * as exerciseForm from '../views/exercise-form.js';
import * as assignmentForm from '../views/assignments/assignment-form.js';
import * as teacher from '../views/assignments/teacher.js';
import * as student from '../views/assignments/student.js';
import * as printer from '../views/print.js';

const modeButtons = document.querySelectorAll('button[data-mode]');

// What each view is handed of the state; but for the link's problem, nothing before a model.
const views = {
  links: (state) => state.model && links.render(state.model, linkState(state), state.problem),
  problem: (state) => links.tellProblem(state.problem),
  printer: (state) => state.model && printer.render(state.model, { ...linkState(state), locked: locked(state.student) }),
  exerciseForm: (state) => state.model && exerciseForm.render(state.model, linkState(state)),
  assignmentForm: (state) => state.model && assignmentForm.render(state.model),
  teacher: (state) => teacher.render(state.teacher),
  student: (state) => student.render(state.student, state.conflict, state.session?.finished === true),
  status: (state) => state.model && status.render(state.model),
  stages: (state, message) => state.model && stages.render(state, message),
  practice: (state, message, before) => state.model && practice.render(state, message, before),
  confirm: (state, message) => confirm.render(state, message),
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

// Draws view from the state now.
const draw = (page, view, message, before) => views[view](page.state(), message, before);

// The mode: the body's data-mode and locks, the section shown (the stages when
// watching, practice when practising), the mode buttons, and the printouts
// that the pane shows.
function drawMode({ mode, student: st, session }) {
  const practising = mode === 'practice';
  document.body.dataset.mode = mode;
  document.body.toggleAttribute('data-locked', locked(st));
  document.body.toggleAttribute('data-assignment', st !== null);
  byId('practice').hidden = !practising;
  byId('stages').hidden = practising;
  for (const button of modeButtons) button.setAttribute('aria-pressed', String(button.dataset.mode === mode));
  pane.reveal(practising, session && !session.finished ? session.current : Infinity);
}

// Draws what message changed, the state having been before until it came.
export function drawn(page, message, before) {
  const { mode, session, student: st } = page.state();
  if (mode !== before.mode || session !== before.session || st !== before.student) drawMode(page.state());
  for (const view of drawnOn[message.type] ?? []) draw(page, view, message, before);
  if (studentsToo.has(message.type) && page.state().student !== before.student) draw(page, 'student');
}

// Draws every view but the pane, a group of them at a time after paint, from
// the state then, for as long as run is the one shown.
function renderLater(page, run, before) {
  const message = { type: 'shown' };
  for (const group of laterViews) afterPaint(run, () => { for (const view of group) draw(page, view, message, before); });
}

// Works out the exact values of m's run a slice at a time, while it is shown.
function replayInSlices(page, m) {
  const job = replay(m);
  if (job === null) return;
  inSlices(m.run, (deadline) => job.step(deadline), () => {
    const before = page.state();
    page.dispatch({ type: 'shown', model: withExact(m, job.result) });
    pane.render(page.state().model);
    renderLater(page, m.run, before);
  });
}

// Shows run: the pane at once, the rest after paint. A new run's practice
// starts from what this browser kept of its exercise.
export function show(page, run) {
  const before = page.state();
  const changed = before.model === null || before.model.run !== run;
  const keptOf = (key) => (changed && !isWaiting(run) ? stored(key) : null);
  page.dispatch({ type: 'shown', model: modelOfRun(run, before.model), saved: keptOf(progressKeyOf(before, run)), past: keptOf(recordKey(run)) });
  const shown = page.state().model;
  showRun(run);
  pane.render(shown);
  drawMode(page.state());
  renderLater(page, run, before);
  afterPaint(run, () => replayInSlices(page, shown));
}

// Every text that the code wrote, told anew in the language now chosen.
export function retell(page) {
  const { model } = page.state();
  document.title = model === null ? t('title') : t('title.program', { program: model.run.program });
  if (model) {
    draw(page, 'links');
    practice.retell(page.state());
  }
  draw(page, 'student');
}
