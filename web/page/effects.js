// The effects that update asks for (state.js lists them), carried out: a
// program opened, the link that the address names followed, an exercise's
// matrix made, the address written or visited, what practice keeps stored or
// forgotten, a student's work kept (unless newer work is there) or reported
// to the LMS, the focus moved and the status line's words, a message sent
// after paint, a print, a download, the clipboard, a part of the page
// loaded. A part's effects come with it (state/parts.js names them: an
// exercise's matrix made, practice's; grading, the gradebook kept and its
// CSVs, the teacher's; an LMS package, the LMS's; the own way's work kept),
// carried out by its entry, which the loader holds. What an effect learns
// comes back as a message. Each function is handed page: { state(),
// dispatch, lms }, what page.js shares with its parts; lms is the LMS's
// session (page/lms.js) inside one, else null. What else the first script
// needs of a part (practice's focus, the LMS's saved work) is imported of
// it by name, and read when used (loader.js): the state has the part by
// then, as the message that asks for it waits for it.
import { open, runEntered } from './console.js';
import { whenDrawn } from './draw.js';
import { loadParts, entryOf } from './loader.js';
import { stored, store, forget } from './storage.js';
import { afterPaint } from '../views/frames.js';
import { byId, save, copy } from '../views/dom.js';
import * as status from '../views/status.js';
import { focus as focusQuestion } from '../views/practice/questions.js';
import * as share from '../logic/run/share.js';
import { parseLink, blank } from '../logic/assignments/assignment.js';
import { workKey, sameWork } from '../logic/assignments/work.js';
import { usable, merged } from '../logic/assignments/set-work.js';
import { decodeAnyWork } from '../logic/assignments/suspend.js';
import { carriedBy } from '../state/parts.js';

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
  open: (page, { open: o }) => open(page, o.program, o.input, o.ended, o.keepsField),
  openLink: (page, { openLink: o }) => openLink(page, o),
  enter: (page, { enter: run }) => runEntered(page, run),
  address: (page, { address }) => history.replaceState(null, '', address),
  visit: (page, { visit }) => {
    if (location.hash === visit) dispatchEvent(new HashChangeEvent('hashchange'));
    else location.hash = visit;
  },
  report: (page, { report }) => reportWork(page, report),
  store: (page, { store: key, value }) => store(key, value),
  storeWork: (page, { storeWork: asked }) => storeWork(page, asked),
  forget: (page, { forget: key }) => forget(key),
  focus: (page, { focus: target }, later) => whenDrawn(page, later, () => focus(target)),
  announce: (page, { announce }, later) => whenDrawn(page, later, () => status.announce(announce)),
  after: (page, { after, run }, later) => {
    if (run) whenDrawn(page, later, () => afterPaint(run, () => page.dispatch(after)));
  },
  later: (page, { later, ms }) => setTimeout(() => page.dispatch({ ...later, now: Date.now() }), ms),
  // The print asked, drawn by the views that own its parts; printed once they
  // have (printNow: at once, or the worksheets once drawn), then undone.
  print: (page, { print }) => page.dispatch({ type: 'printing', asked: print }),
  printNow: () => window.print(),
  load: (page, { load: names }) => loadParts(names, (name, entry) => install(page, name, entry),
    (name) => page.dispatch({ type: 'partFailed', part: name })),
  save: (page, { save: { content, name, type } }) => save(content, name, type),
  copy: (page, { copy: { content, done } }) =>
    copy(content).then(() => page.dispatch({ type: 'copied', done }), (error) => page.dispatch({ type: 'copied', error: error.message })),
};

// Starts a part of the page once it has loaded (its entry's start); then, in
// a task of its own, tells the state, whose messages that waited for it are
// handled, and from which its views are drawn and its effects carried out.
function install(page, name, { start = () => {} }) {
  start(page);
  setTimeout(() => page.dispatch({ type: 'partLoaded', part: name }), 0);
}

// Carries out effect, one of those that update returns; later, whether views
// wait for the next paint after the update that asked for it. A part's
// effect is asked for once the part is there (the state waits for it).
export function carryOut(page, effect, later = false) {
  const kind = Object.keys(effect).find((key) => key in carriers || carriedBy.has(key));
  const carrier = carriers[kind] ?? entryOf(carriedBy.get(kind)).effects[kind];
  carrier(page, effect, later);
}

// Keeps the student's work (work.kept's) in memory under key, for a return
// to the assignment's link, and hands the LMS's session the calls that tell
// it what changed (first, pairs, commit; handIn, closing, sent: see
// page/lms.js), which answers 'reported'.
function reportWork(page, { key = null, work, first = [], pairs, commit = false, handIn = false, closing = false, sent = 0 }) {
  if (key !== null) store(key, work);
  if (page.lms && (pairs.length > 0 || commit)) page.lms.tell({ first, pairs, commit, handIn, closing, sent });
}

// Keeps the student's work (value, of student: the state's as it asked)
// under key, unless the work stored there holds something that it lacks, or
// an answer to a question that it answered otherwise (another tab's), which
// the page then takes with its own (set-work.js's merged: a set's work a
// problem each), and keeps again; says whether the browser kept it, or
// refused it (storage full or off).
function storeWork(page, { key, value, student: st }) {
  const there = stored(key);
  if (st && !sameWork(merged(usable(value, st), usable(there, st)), usable(value, st))) {
    page.dispatch({ type: 'workStored', kept: there });
    return;
  }
  page.dispatch({ type: 'workSaved', saved: store(key, value) });
}

// The student's work as the browser keeps it now, handed to the state, which
// takes it if it is newer: on another tab's change of storage, and on a page
// restored by Back.
export function rereadWork(page) {
  const st = page.state().student;
  if (st?.name && !st.lms) page.dispatch({ type: 'workStored', kept: stored(workKey(st.assignment, st.name)) });
}

// The work kept of assignment a under name; inside an LMS (lms, the state's
// answer of it), what it gave when the page opened (savedInLms), until the
// page has reported more, under name or the name that work was begun under.
export function keptWork(lms, a, name) {
  const given = savedInLms(lms);
  return stored(workKey(a, name)) ?? (given ? stored(workKey(a, begunBy(given))) ?? given : null);
}

// The work that the LMS (lms, the state's answer of it) gave when the page opened, or null.
const savedInLms = (lms) => (lms?.outcome === 'connected' ? decodeAnyWork(lms.suspend) : null);

// The name that work (one problem's, or a set's) was begun under, or null.
const begunBy = (work) => (work?.result ?? work?.problems?.find(Boolean)?.result)?.name ?? null;

// Opens what the address's fragment names: the learner's own work
// (own/link.js, read by its part), an assignment's link
// (assignment.parseLink), or a run, practised or watched (share.js), whose
// opening leaves the input field as it is where keepsField holds; anything
// wrong with it is said above the pane. lms: the state's answer of the LMS, or null.
export function openLink(page, { keepsField = false, lms = null } = {}) {
  const hash = location.hash;
  if (/^#ownway/.test(hash)) return page.dispatch({ type: 'ownLink', hash });
  const found = parseLink(hash);
  if (found !== null) {
    const program = found.assignment?.program ?? share.parse(hash).program;
    const inLms = lms !== null && found.role === 'student';
    // Refused, the LMS names no one, and the page asks for no name; naming
    // no one, the name that the work it kept was begun under is taken.
    const given = !inLms ? found.name : lms.outcome !== 'connected' ? null
      : !blank(lms.name) ? lms.name : found.name ?? begunBy(savedInLms(lms));
    const named = given === found.name ? found : { ...found, name: given };
    const kept = named.name ? keptWork(lms, named.assignment, named.name) : null;
    page.dispatch({ type: found.role === 'student' ? 'studentLink' : 'teacherLink', found: named, program, kept, now: Date.now(), lms: inLms });
    return;
  }
  page.dispatch({ type: 'link', link: share.parse(hash), ...(keepsField ? { keepsField } : {}) });
}
