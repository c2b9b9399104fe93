// The page's entry: runs gjinverse or gjsolve in the pane as at a console. Each
// line entered makes a new run of the session (runner.js); the page shows its
// model (model.js): the pane at once, the other views once the pane is
// painted, then the exact values, worked out in slices between frames so that
// the page keeps answering. The first prompt is there, and the input field
// ready, before the programs have loaded: what is typed meanwhile is handed to
// them once they have.
//
// The page's state is one value (state.js), changed only by update(state,
// message). The views draw slices of it and send what the user does as
// messages (dispatch). This file starts the page and wires its parts
// together; the parts, in page/, are handed what they share: the state now and
// dispatch. page/draw.js draws what an update changed, page/effects.js
// carries out the effects that update asks for, and page/console.js keeps the
// input line and runs the programs.
import { stored, storedAs, keepInMemory } from './page/storage.js';
import * as runner from './logic/runner.js';
import { stageName } from './logic/words.js';
import * as share from './logic/share.js';
import { initialLanguage } from './logic/translate.js';
import { parseLink, cleanName } from './logic/assignments/assignment.js';
import { bookOf } from './logic/assignments/gradebook.js';
import { initial, update } from './state.js';
// page/draw.js first: it imports the views in the order that they set up in.
import { drawn } from './page/draw.js';
import { carryOut, keptWork, rereadWork } from './page/effects.js';
import { connect as connectConsole, awaitPrograms, loaded, loadFailed, loadPrograms } from './page/console.js';
import * as language from './views/language.js';
import * as dom from './views/dom.js';
import * as stages from './views/stages.js';
import * as practice from './views/practice.js';
import * as links from './views/links.js';
import * as confirm from './views/confirm.js';
import * as exerciseForm from './views/exercise-form.js';
import * as assignmentForm from './views/assignments/assignment-form.js';
import * as lmsForm from './views/assignments/lms-download.js';
import * as teacher from './views/assignments/teacher.js';
import * as bookList from './views/assignments/book-list.js';
import * as student from './views/assignments/student.js';
import { connect as connectLms, find as findLms } from './page/lms.js';
import { start as startOffline } from './views/offline.js';

const preferred = (navigator.languages && navigator.languages[0]) || navigator.language || '';
let state = { ...initial(initialLanguage(stored('language'), preferred)), level: stored('practice.level') ?? 0, gradebook: storedAs('gradebook', bookOf) };
// What the page's parts share (page/): the state now, the one way to change
// it, and the LMS's session (page/lms.js), or null outside one.
const shared = { state: () => state, dispatch, lms: null };
// Tells the state what happened (a message), draws what it changed, and
// carries out the effects that it asks for, those that wait for the views
// once they have drawn.
function dispatch(message) {
  const before = state;
  let effects;
  [state, effects] = update(state, message);
  const later = drawn(shared, before);
  for (const effect of effects) carryOut(shared, effect, later);
}

// A change of the address's fragment: before the programs, the first prompt
// of the program that it names; once they have loaded, what it names.
function followAddress() {
  if (state.programs === 'loading') awaitPrograms(shared);
  else if (state.programs === 'loaded') carryOut(shared, { openLink: true });
}

connectConsole(shared);
// Practising or watching, as the mode's buttons say; the focus goes to the question.
for (const button of document.querySelectorAll('button[data-mode]'))
  button.addEventListener('click', () => dispatch({ type: 'mode', mode: button.dataset.mode, focus: true }));
for (const view of [dom, language, practice, stages, links, confirm, exerciseForm, assignmentForm, lmsForm, teacher, bookList]) view.connect(dispatch);
// The name typed comes with the work that this browser kept under it, and the time.
student.connect((message) => dispatch({ ...message, now: Date.now(),
  kept: state.student && keptWork(shared, state.student.assignment, cleanName(message.name)) }));

// Inside an LMS, which launches a student's link: the LMS names the student
// and keeps the work, and the browser keeps nothing, even when the LMS
// refuses the session; what it answered is in the state (state.lms).
if (parseLink(location.hash)?.role === 'student' && findLms(window) !== null) {
  keepInMemory();
  shared.lms = connectLms(window, dispatch);
}

awaitPrograms(shared);
addEventListener('hashchange', followAddress);
// Another tab of the same student's link, Back to a page kept whole, or the
// tab shown again (an engine may tell no storage event to a file:// page):
// the work is read again.
addEventListener('storage', () => rereadWork(shared));
addEventListener('pageshow', (event) => { if (event.persisted) rereadWork(shared); });
document.addEventListener('visibilitychange', () => { if (document.visibilityState === 'visible') rereadWork(shared); });
// The gradebook as another tab stored it.
addEventListener('storage', (event) => { if (event.key?.endsWith('.gradebook')) dispatch({ type: 'bookStored', book: stored('gradebook') }); });
requestAnimationFrame(() => setTimeout(() => {
  runner.load(loadPrograms()).then(() => loaded(shared), (error) => loadFailed(shared, String(error)));
  if (state.lms === null) startOffline();
}, 0));

// The page's parts, as the bundle's global GJ: for a look from the browser's
// console, and for the tests, which read the page's texts and its model.
export { language, share, runner, stages };
// A stage's name in the language that the page is drawn in.
export const words = { stageName: (stage) => stageName(language.t, stage) };
export * as check from './logic/check.js';
export * as exercises from './logic/exercises.js';
export const page = { get model() { return state.model; }, get state() { return state; } };
