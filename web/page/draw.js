// The page's drawing: one table of [view, select, when]. select(state) gives
// the view's slice of the state, an object whose values are compared one by
// one (===) with those of the slice that the view drew last; a view is drawn
// (view.render(slice)) only when one differs. When a message shows another
// model, the views whose when is a group are drawn after the pane is painted,
// a group at a time in a task of its own, the cheap ones first, and from the
// state then, so that the latest state is drawn once; any other change is
// drawn at once. Here too: a run shown, its exact values worked out in slices
// between frames while it is shown, and what the body's attributes say (the
// mode, the lock, the programs), which only this module writes. A part of the
// page brings rows of its own (its entry's views), drawn once the state has
// the part. Each function is handed page: { state(), dispatch }, what page.js
// shares with its parts.
import { firstPrompts } from 'gj-build/first-prompts.js';  // written by the build from the programs' own output
import * as frames from '../views/frames.js';
import { byId } from '../views/dom.js';
import { t } from '../views/language.js';
import { stored } from './storage.js';
import { recordKey, reachedUpTo } from '../logic/practice/session.js';
import { model as modelOfRun, withExact, replay, isWaiting } from '../logic/run/model.js';
import { permissions, printoutsUpTo } from '../logic/assignments/permissions.js';
import { studentFragment } from '../logic/assignments/assignment.js';
import { linkState, programOf, progressKeyOf, partNames } from '../state.js';
import { entryOf } from './loader.js';
// The views, in the order that they set up their own controls as the page loads.
import * as language from '../views/language.js';
import * as pane from '../views/pane.js';
import * as stages from '../views/stages.js';
import * as status from '../views/status.js';
import * as links from '../views/links.js';
import * as confirm from '../views/confirm.js';

const modeButtons = document.querySelectorAll('button[data-mode]');
const inputLine = byId('line');
// The ways off a locked page in one tap, gone while it is locked (hidden, so
// that a page without its styles has none either).
const waysOut = ['nav', '#examples', '#share', '#restart'].map((selector) => document.querySelector(selector));

// The body's attributes, the section shown (the stages when watching,
// practice when practising; the learner's own way draws its own, and the
// style sheet hides the stages then), the mode buttons and the ways off a locked page.
const body = {
  render({ mode, locked, leave, programs }) {
    const practising = mode === 'practice';
    document.body.dataset.mode = mode;
    document.body.dataset.programs = programs;
    document.body.toggleAttribute('data-locked', locked);
    byId('practice').hidden = !practising;
    byId('stages').hidden = practising;
    for (const button of modeButtons) button.setAttribute('aria-pressed', String(button.dataset.mode === mode));
    for (const node of waysOut) node.hidden = !leave;
  },
};

// The link that a print of a locked page leads to: the student's own, back to
// the assignment; null outside one.
export const printedLink = (st) => (permissions(st).locked ? base() + studentFragment(st.assignment, st.named ? st.name : null) : null);
// The page's address without its fragment: what every link to it starts with.
export const base = () => location.href.replace(/#.*$/, '');

// The program's name in the page's chrome: its title, the menu, the names in
// the help and in what the parts of the page add.
const chrome = {
  render({ program }) {
    document.title = program === null ? t('title') : t('title.program', { program });
    for (const link of document.querySelectorAll('nav a')) {
      if (program !== null && link.hash === '#' + program) link.setAttribute('aria-current', 'page');
      else link.removeAttribute('aria-current');
    }
    if (program !== null) for (const node of document.querySelectorAll('.program-name')) node.textContent = program;
  },
};

const practising = (s) => s.mode === 'practice';
// Whether a print of the page itself is being made (state/printing.js).
const printingPage = (s) => s.printing?.page === true;

// [view, select, when]: when is 'now', or the group it is drawn in after paint.
const rowsOf = (rows) => rows.map(([view, select, when]) => ({ view, select, when }));
const table = rowsOf([
  [language, (s) => ({ language: s.language }), 'now'],
  [chrome, (s) => ({ program: programOf(s), language: s.language, absent: s.parts.absent }), 'now'],
  [body, (s) => ({ mode: s.mode, locked: permissions(s.student).locked, leave: permissions(s.student).leave, programs: s.programs }), 'now'],
  [pane, (s) => ({ model: s.model, language: s.language, upTo: printoutsUpTo(s.student, s.session), early: s.early,
                   prompt: s.early ? firstPrompts[s.early.program] : '', failed: s.programs === 'failed', printing: printingPage(s) }), 'now'],
  [{ render: pane.reveal }, (s) => ({ model: s.model, practising: practising(s), upTo: reachedUpTo(s.session) }), 'now'],
  [{ render: links.tellProblem }, (s) => ({ problem: s.problem, language: s.language }), 'now'],
  [confirm, (s) => ({ confirming: s.confirming }), 'now'],
  // The input line says so while entries typed wait to run.
  [{ render: ({ entering }) => inputLine.toggleAttribute('data-entering', entering) }, (s) => ({ entering: s.entering !== null }), 'now'],
  [links, (s) => ({ run: permissions(s.student).transcript ? s.model?.run ?? null : null, language: s.language, ...linkState(s) }), 'cheap'],
  [status, (s) => ({ stages: s.model?.stages, told: s.told, program: s.model?.run.program, language: s.language }), 'cheap'],
  [stages, (s) => ({ model: permissions(s.student).watch ? s.model : null, stage: s.stage, language: s.language, printing: printingPage(s) }), 'stages'],
]);
const groups = ['cheap', 'stages', 'practice'];

// The rows of each part's entry ([view, select, when], as the table's), made once.
const partRows = new Map();
const rowsOfPart = (entry) => {
  if (!partRows.has(entry)) partRows.set(entry, rowsOf(entry.views ?? []));
  return partRows.get(entry);
};

// The rows drawn from state: the table's, then those of each part that the state has.
const rowsFor = (state) => [...table, ...partNames.filter((name) => !state.parts.absent.includes(name) && entryOf(name))
  .flatMap((name) => rowsOfPart(entryOf(name)))];

const drawnSlices = new Map();    // row -> the slice that its view drew last
const scheduled = new Map();      // group -> the run that its drawing after paint waits for

const same = (a, b) => a !== undefined && Object.keys(b).every((key) => a[key] === b[key]);

// Draws row's view from state, unless its slice is the one drawn.
function drawRow(row, state) {
  const slice = row.select(state);
  if (same(drawnSlices.get(row), slice)) return;
  drawnSlices.set(row, slice);
  row.view.render(slice);
}

// Draws the rows of group after the next paint, from the state then, while run is shown.
function schedule(page, group, run) {
  if (scheduled.get(group) === run) return;
  scheduled.set(group, run);
  frames.afterPaint(run, () => {
    scheduled.delete(group);
    const state = page.state();
    for (const row of rowsFor(state)) if (row.when === group) drawRow(row, state);
  });
}

// Draws what the state now changed since before; gives whether some views wait
// for the next paint, and with them the effects that follow their drawing.
export function drawn(page, before) {
  const state = page.state();
  const later = state.model !== null && state.model !== before.model;
  for (const row of rowsFor(state)) {
    if (later && row.when !== 'now') schedule(page, row.when, state.model.run);
    else drawRow(row, state);
  }
  return groups.some((group) => scheduled.has(group));
}

// Runs fn once the views waiting for paint have drawn (at once, given later
// false), while the run shown now is still shown.
export function whenDrawn(page, later, fn) {
  const run = page.state().model?.run;
  if (later && run) frames.afterPaint(run, fn);
  else fn();
}

// Works out the exact values of m's run a slice at a time, while it is shown.
function replayInSlices(page, m) {
  const job = replay(m);
  if (job === null) return;
  frames.inSlices(m.run, (deadline) => job.step(deadline), () => page.dispatch({ type: 'shown', model: withExact(m, job.result) }));
}

// The model of run, made ahead of showing it (in a task of its own, as an
// order-10 run's model takes a while): { run, after, model }, which show
// takes while the model shown is still the one it was made after.
export function prepare(page, run) {
  const after = page.state().model;
  return { run, after, model: modelOfRun(run, after) };
}

// Shows run (with its model, if prepared): the pane at once, the rest after
// paint. A new run's practice starts from what this browser kept of its exercise.
export function show(page, run, prepared = null) {
  const before = page.state();
  const changed = before.model === null || before.model.run !== run;
  const keptOf = (key) => (changed && !isWaiting(run) ? stored(key) : null);
  const made = prepared?.run === run && prepared.after === before.model ? prepared.model : modelOfRun(run, before.model);
  frames.show(run);
  page.dispatch({ type: 'shown', model: made, saved: keptOf(progressKeyOf(before, run)), past: keptOf(recordKey(run)) });
  const shown = page.state().model;
  frames.afterPaint(run, () => replayInSlices(page, shown));
}
