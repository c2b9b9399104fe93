// The effects that update asks for (state.js lists them), carried out: a
// program opened, the link that the address names followed, the address
// written or visited, what practice keeps stored or forgotten, a student's
// work reported to the LMS, the language drawn, a class set printed, the
// focus handed to the teacher's results. Each function is handed page:
// { state(), dispatch, lms, tellLms }, what page.js shares with its parts; lms
// is the LMS's session (views/assignments/lms.js) inside one, else null.
import { open } from './console.js';
import * as language from '../views/language.js';
import { emit } from '../views/events.js';
import { stored, store, forget } from '../views/storage.js';
import * as teacher from '../views/assignments/teacher.js';
import * as student from '../views/assignments/student.js';
import * as share from '../logic/share.js';
import { make as makeExercise } from '../logic/exercises.js';
import { parseLink } from '../logic/assignments/assignment.js';
import { workKey } from '../logic/assignments/work.js';
import { decodeWork } from '../logic/assignments/suspend.js';

// Carries out effect, one of those that update returns.
export function carryOut(page, effect) {
  if (effect.open) open(page, effect.open.program, effect.open.input, effect.open.ended);
  else if (effect.openLink) openLink(page);
  else if (effect.address !== undefined) history.replaceState(null, '', effect.address);
  else if (effect.visit) {
    if (location.hash === effect.visit) dispatchEvent(new HashChangeEvent('hashchange'));
    else location.hash = effect.visit;
  } else if (effect.report) reportWork(page, effect.report);
  else if (effect.store) store(effect.store, effect.value);
  else if (effect.forget) forget(effect.forget);
  else if (effect.language) language.choose(effect.language);
  else if (effect.classSet) emit('classSet', effect.classSet);
  else if (effect.focusTeacher) teacher.focus();
}

// Tells the LMS the student's work (student.kept), and the student whether
// it took it; the page keeps it in memory for a return to the assignment's link.
function reportWork(page, work) {
  const state = page.state();
  store(workKey(state.student.assignment, state.student.name), work);
  if (page.tellLms && state.model && state.session) student.tellLms(page.tellLms(state.model, state.session, work, Date.now()));
}

// The work kept of assignment a under name; inside an LMS, what it gave
// when the page opened, until the page has reported more.
export function keptWork(page, a, name) {
  const key = workKey(a, name);
  const given = page.lms && stored(key) === null ? decodeWork(page.lms.suspend) : null;
  if (given) store(key, given);
  return stored(key);
}

// Opens what the address's fragment names (share.js), practised or watched;
// anything wrong with it is said above the pane. An exercise's link gives its
// matrix.
export function openLink(page) {
  const found = /&(teacher|assignment)=/.test(location.hash) ? parseLink(location.hash) : null;
  if (found !== null) {
    const program = found.assignment?.program ?? share.parse(location.hash).program;
    const inLms = page.lms !== null && found.role === 'student';
    const named = inLms && page.lms.name.trim() !== '' ? { ...found, name: page.lms.name } : found;
    const kept = named.name ? keptWork(page, named.assignment, named.name) : null;
    page.dispatch({ type: found.role === 'student' ? 'studentLink' : 'teacherLink', found: named, program, kept, now: Date.now(), lms: inLms });
    return;
  }
  const link = share.parse(location.hash);
  const made = link.exercise ? makeExercise({ program: link.program, ...link.exercise }) : null;
  page.dispatch({ type: 'link', link, made: made && { input: made.input, met: made.met } });
}
