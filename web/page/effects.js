// The effects that update asks for (state.js lists them), carried out: a
// program opened, the link that the address names followed, an exercise's
// matrix made, the address written or visited, what practice keeps stored or
// forgotten, a student's work kept (unless newer work is there) or reported
// to the LMS, the focus moved and the status line's words, a message sent
// after paint, a print, a download (an LMS package's by packages.js), the
// clipboard, a part of the page loaded; the teacher's (grading, the
// gradebook kept, its CSVs) come with the teacher's part (grading.js). What an effect learns comes back
// as a message. Each function is handed page: { state(), dispatch, lms },
// what page.js shares with its parts; lms is the LMS's session
// (page/lms.js) inside one, else null. What a part of the page does
// (practice's focus, an exercise made, grading, the LMS) is imported of the
// part by name, and read when used (loader.js): the state has the part by
// then, as the message that asks for it waits for it.
import { open } from './console.js';
import { makePackage } from './packages.js';
import { whenDrawn, addRows } from './draw.js';
import { loadParts } from './loader.js';
import { stored, store, forget } from './storage.js';
import { afterPaint } from '../views/frames.js';
import { byId, save, copy } from '../views/dom.js';
import * as status from '../views/status.js';
import { focus as focusQuestion } from '../views/practice.js';
import * as share from '../logic/run/share.js';
import { make as makeExercise } from '../logic/practice/exercises.js';
import { parseLink, blank } from '../logic/assignments/assignment.js';
import { workKey } from '../logic/assignments/work.js';
import { usable, newer, merged } from '../logic/assignments/set-work.js';
import { decodeAnyWork } from '../logic/assignments/suspend.js';
import { addHandlers } from '../state.js';

// Moves the focus to target (state.js): practice's own targets, or an element
// by its id; one in a view shown anew (shown, such as the learner's own way,
// or at the page's top, such as the teacher's) once the view is painted, so
// that its first layout is not this task's too.
function focus({ element, top = false, shown = false, ...target }) {
  if (element === undefined) return focusQuestion(target);
  if (!top && !shown) return byId(element)?.focus();
  requestAnimationFrame(() => setTimeout(() => {
    byId(element)?.focus({ preventScroll: top });
    if (top) scrollTo(0, 0);
  }, 0));
}

// Each effect by its key: (page, effect, later), later whether views wait for
// the next paint, which the focus, the status line's words and a message
// after paint wait for too.
const carriers = {
  open: (page, { open: o }) => open(page, o.program, o.input, o.ended),
  openLink: (page) => openLink(page),
  make: (page, { make: exercise }) => {
    const made = makeExercise(exercise);
    page.dispatch({ type: 'made', input: made.input, met: made.met });
  },
  address: (page, { address }) => history.replaceState(null, '', address),
  visit: (page, { visit }) => {
    if (location.hash === visit) dispatchEvent(new HashChangeEvent('hashchange'));
    else location.hash = visit;
  },
  report: (page, { report }) => reportWork(page, report),
  store: (page, { store: key, value }) => store(key, value),
  storeWork: (page, { storeWork: { key, value } }) => storeWork(page, key, value),
  forget: (page, { forget: key }) => forget(key),
  package: (page, { package: asked }) => makePackage(page, asked),
  focus: (page, { focus: target }, later) => whenDrawn(page, later, () => focus(target)),
  announce: (page, { announce }, later) => whenDrawn(page, later, () => status.announce(announce)),
  after: (page, { after, run }, later) => {
    if (run) whenDrawn(page, later, () => afterPaint(run, () => page.dispatch(after)));
  },
  later: (page, { later, ms }) => setTimeout(() => page.dispatch({ ...later, now: Date.now() }), ms),
  // The print asked drawn by the views that own its parts, then printed, then undone.
  print: (page, { print }) => {
    page.dispatch({ type: 'printing', asked: print });
    window.print();
  },
  load: (page, { load: names }) => loadParts(names, (name, entry) => install(page, name, entry),
    (name) => page.dispatch({ type: 'partFailed', part: name })),
  save: (page, { save: { content, name, type } }) => save(content, name, type),
  copy: (page, { copy: { content, done } }) =>
    copy(content).then(() => page.dispatch({ type: 'copied', done }), (error) => page.dispatch({ type: 'copied', error: error.message })),
};

// Adds what a part of the page brings once it has loaded (its entry's views,
// handlers and effects) and starts it; then, in a task of its own, tells the
// state, whose messages that waited for it are handled.
function install(page, name, { views = [], handlers = {}, effects = {}, start = () => {} }) {
  addRows(views);
  addHandlers(handlers);
  for (const [kind, carrier] of Object.entries(effects)) carriers[kind] ??= carrier;
  start(page);
  setTimeout(() => page.dispatch({ type: 'partLoaded', part: name }), 0);
}

// Carries out effect, one of those that update returns; later, whether views
// wait for the next paint after the update that asked for it.
export function carryOut(page, effect, later = false) {
  const kind = Object.keys(effect).find((key) => key in carriers);
  carriers[kind](page, effect, later);
}

// Keeps the student's work (work.kept's) in memory under key, for a return
// to the assignment's link, and hands the LMS's session the calls that tell
// it what changed (first, pairs, commit; handIn, closing, sent: see
// page/lms.js), which answers 'reported'.
function reportWork(page, { key = null, work, first = [], pairs, commit = false, handIn = false, closing = false, sent = 0 }) {
  if (key !== null) store(key, work);
  if (page.lms && (pairs.length > 0 || commit)) page.lms.tell({ first, pairs, commit, handIn, closing, sent });
}

// Keeps the student's work (value) under key, unless the work stored there
// holds something that it lacks (another tab's), which the page then takes
// with its own (set-work.js's merged: a set's work a problem each), and keeps
// again; says whether the browser kept it, or refused it (storage full or off).
function storeWork(page, key, value) {
  const there = stored(key);
  const st = page.state().student;
  if (st && newer(merged(usable(value, st), usable(there, st)), usable(value, st))) {
    page.dispatch({ type: 'workStored', kept: there });
    return;
  }
  const saved = store(key, value);
  if (!saved || page.state().student?.unsaved) page.dispatch({ type: 'workSaved', saved });
}

// The student's work as the browser keeps it now, handed to the state, which
// takes it if it is newer: on another tab's change of storage, and on a page
// restored by Back.
export function rereadWork(page) {
  const st = page.state().student;
  if (st?.name && !st.lms) page.dispatch({ type: 'workStored', kept: stored(workKey(st.assignment, st.name)) });
}

// The work kept of assignment a under name; inside an LMS, what it gave
// when the page opened (savedInLms), until the page has reported more, under
// name or the name that work was begun under.
export function keptWork(page, a, name) {
  const given = savedInLms(page);
  return stored(workKey(a, name)) ?? (given ? stored(workKey(a, begunBy(given))) ?? given : null);
}

// The work that the LMS gave when the page opened, or null.
const savedInLms = (page) => (page.state().lms?.outcome === 'connected' ? decodeAnyWork(page.state().lms.suspend) : null);

// The name that work (one problem's, or a set's) was begun under, or null.
const begunBy = (work) => (work?.result ?? work?.problems?.find(Boolean)?.result)?.name ?? null;

// Opens what the address's fragment names: the learner's own work
// (own/link.js, read by its part), an assignment's link
// (assignment.parseLink), or a run, practised or watched (share.js); anything
// wrong with it is said above the pane.
export function openLink(page) {
  const hash = location.hash;
  if (/^#ownway/.test(hash)) return page.dispatch({ type: 'ownLink', hash });
  const found = parseLink(hash);
  if (found !== null) {
    const program = found.assignment?.program ?? share.parse(hash).program;
    const { lms } = page.state();
    const inLms = lms !== null && found.role === 'student';
    // Refused, the LMS names no one, and the page asks for no name; naming
    // no one, the name that the work it kept was begun under is taken.
    const given = !inLms ? found.name : lms.outcome !== 'connected' ? null
      : !blank(lms.name) ? lms.name : found.name ?? begunBy(savedInLms(page));
    const named = given === found.name ? found : { ...found, name: given };
    const kept = named.name ? keptWork(page, named.assignment, named.name) : null;
    page.dispatch({ type: found.role === 'student' ? 'studentLink' : 'teacherLink', found: named, program, kept, now: Date.now(), lms: inLms });
    return;
  }
  page.dispatch({ type: 'link', link: share.parse(hash) });
}
