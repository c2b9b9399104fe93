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
// carries out the effects that update asks for, page/console.js keeps the
// input line and runs the programs, and page/loader.js loads the parts of the
// page that watching a run does not need (state/parts.js) when first needed:
// practice, prints, the teacher's side, the student's, the LMS.
import { stored, storedLarge } from './page/storage.js';
import { load as loadRunner, stageLines } from './logic/run/runner.js';
import { questions, answerOf } from './logic/practice/check.js';
import { stageName } from './logic/run/words.js';
import { examples, latestGenerator } from './logic/run/share.js';
import { initialLanguage } from './logic/language/translate.js';
import { parseLink } from './logic/assignments/assignment.js';
import { bookReading } from './logic/assignments/gradebook.js';
import { initial, update, partNames } from './state.js';
// page/draw.js first: it imports the views in the order that they set up in.
import { drawn } from './page/draw.js';
import { carryOut, rereadWork } from './page/effects.js';
import { settled } from './page/loader.js';
import { connect as connectConsole, awaitPrograms, loaded, loadFailed, loadPrograms } from './page/console.js';
import * as language from './views/language.js';
import * as dom from './views/dom.js';
import * as stagesView from './views/stages.js';
import * as links from './views/links.js';
import * as confirm from './views/confirm.js';
import { start as startOffline } from './views/offline.js';
import { nextTask, sliced } from './views/frames.js';
import { make } from './logic/practice/exercises.js';

// The state: initial() until the page's start (start()) makes it of what this browser kept.
let state = initial();
// What the page's parts share (page/): the state now, the one way to change
// it, and the LMS's session (page/lms.js, which the LMS's part
// of the page starts), or null outside one.
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
  else if (state.programs === 'loaded') carryOut(shared, { openLink: { lms: state.lms } });
}

// What this browser kept, read before the page's start, each in tasks of
// their own: the first read of a page's storage takes a while (the browser
// opens it), and a teacher's gradebook another (each link in it read and
// checked, and its codes: a year's are read in slices).
const kept = {};

// The page's start, in a task of its own after those: the state as this
// browser left it, the views drawn, the controls wired, and the programs
// loaded once the first prompt is painted. Until then the first prompt and
// the input field are the markup's, and an Enter sends nothing.
function start() {
  const preferred = (navigator.languages && navigator.languages[0]) || navigator.language || '';
  state = { ...initial(initialLanguage(kept.language, preferred)), level: kept.level ?? 0,
            gradebook: kept.gradebook, parts: { absent: partNames, loading: [], waiting: [] } };
  connectConsole(shared);
  // Practising or watching, as the mode's buttons say; the focus goes to the question.
  for (const button of document.querySelectorAll('button[data-mode]'))
    button.addEventListener('click', () => dispatch({ type: 'mode', mode: button.dataset.mode, focus: true }));
  for (const view of [dom, language, stagesView, links, confirm]) view.connect(dispatch);

  // A student's link may be launched by an LMS, which then names the student
  // and keeps the work: the LMS's part of the page is asked for at once, and
  // the link opens once it has looked for the LMS (or could not load).
  const lmsAsked = parseLink(location.hash)?.role === 'student' ? (dispatch({ type: 'part', part: 'lms' }), settled('lms')) : null;

  awaitPrograms(shared);
  addEventListener('hashchange', followAddress);
  // Another tab of the same student's link, Back to a page kept whole, or the
  // tab shown again (an engine may tell no storage event to a file:// page):
  // the work is read again.
  addEventListener('storage', () => rereadWork(shared));
  addEventListener('pageshow', (event) => { if (event.persisted) rereadWork(shared); });
  document.addEventListener('visibilitychange', () => { if (document.visibilityState === 'visible') rereadWork(shared); });
  // A print: what it holds is drawn by the views, each its own part, and undone after.
  addEventListener('beforeprint', () => dispatch({ type: 'printing' }));
  addEventListener('afterprint', () => dispatch({ type: 'printed' }));
  requestAnimationFrame(() => setTimeout(() => {
    loadRunner(loadPrograms()).then(() => lmsAsked).then(() => loaded(shared), (error) => loadFailed(shared, String(error)));
    // Inside an LMS, no service worker: the LMS serves the page, even where
    // it refused the session (no session, but the LMS's answer in the state).
    Promise.resolve(lmsAsked).then(() => { if (state.lms === null) startOffline(); });
  }, 0));
}
nextTask(() => {
  [kept.language, kept.level] = [stored('language'), stored('practice.level')];
  storedLarge('gradebook').then((book) => {
    const reading = bookReading(book);
    sliced(() => true, (deadline) => {
      for (let piece = reading.next(); ; piece = reading.next()) {
        if (piece.done) kept.gradebook = piece.value;
        if (piece.done || performance.now() >= deadline) return piece.done;
      }
    }, () => nextTask(start), true);
  });
});

// What the page shows of itself, as the bundle's global GJ: for a look from
// the browser's console, and for the tests, which read the page's texts and
// its model, and work out what practice asks.
export { language };
export const share = { examples, latestGenerator };
export const runner = { stageLines };
export const stages = { count: stagesView.count };
// A stage's name in the language that the page is drawn in.
export const words = { stageName: (stage) => stageName(language.t, stage) };
export const check = { questions, answerOf };
// Practice's exercises, once practice has loaded.
export const exercises = { make: (exercise) => make(exercise) };
export const page = { get model() { return state.model; }, get state() { return state; } };
