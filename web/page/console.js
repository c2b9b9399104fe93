// The console: the input line and the buttons beside the pane, Ctrl-D, each
// entry handed to the program (or, before the programs have loaded, kept for
// them under the first prompt), a program opened afresh with a link's input
// typed at its prompts in slices, and loading the programs; what is typed in
// the input line as they arrive stays there. The pane draws what the state
// holds of it (page/draw.js). Each function is handed page: { state(),
// dispatch }, what page.js shares with its parts.
import * as runner from '../logic/run/runner.js';
import { isWaiting } from '../logic/run/model.js';
import * as share from '../logic/run/share.js';
import { show as showRun, isShown, afterPaint } from '../views/frames.js';
import { byId, el } from '../views/dom.js';
import { show, prepare } from './draw.js';

const typed = byId('typed');
const inputLine = byId('line');
const endButton = byId('end');
const restartButton = byId('restart');

// The input field keeps the focus while the program waits, and hands it to
// "New input" when the run ends. Where it is left alone (the first run shown
// as the programs arrive), a focus that the user moved elsewhere stays there.
function settleFocus(waiting, leftAlone = false) {
  const hadFocus = [typed, endButton].includes(document.activeElement);
  const moved = leftAlone && !hadFocus && document.activeElement !== null && document.activeElement !== document.body;
  typed.disabled = endButton.disabled = !waiting;
  inputLine.hidden = !waiting;
  if (waiting && !moved) {
    typed.focus();
    typed.scrollIntoView({ block: 'nearest' });
  } else if (!waiting && hadFocus) {
    restartButton.focus();
  }
}

// Shows run (draw.js), with its model if prepared, and the focus where it
// belongs then (settleFocus's leftAlone).
function display(page, run, prepared = null, leftAlone = false) {
  show(page, run, prepared);
  settleFocus(isWaiting(run), leftAlone);
}

// Hands the program one more entry, with the end of input after it if ended
// (the state keeps it until it has run: enter); before the programs have
// loaded, keeps it for them. The program runs once the emptied input line is
// painted, so that the key is answered at once.
function enter(page, entry, ended) {
  typed.value = '';
  if (page.state().early) {
    page.dispatch({ type: 'typed', text: entry, ended });
    if (ended) settleFocus(false);
    return;
  }
  // No run shown: the link's part of the page could not be loaded, and the
  // program that it names opens with the entry typed.
  if (page.state().model === null) return open(page, share.parse(location.hash).program, entry, ended);
  page.dispatch({ type: 'entered', entry, ended });
}

// Runs the entries typed at run (the state's entering), once it is painted:
// each on the run before, then makes the last run's model and shows it, each
// in a task of its own; entries typed in between run first. Entries typed
// after the program stopped reading are dropped, as they are at a console.
// Stops once another run is shown, or opened.
export function runEntered(page, run) {
  const job = { ran: 0, last: run };
  const entries = () => (page.state().entering?.run === run ? page.state().entering.entries : null);
  const step = () => {
    if (entries() === null) return;
    for (const [entry, ended] of entries().slice(job.ran)) job.last = runner.extend(job.last, entry, ended) ?? job.last;
    job.ran = entries().length;
    // Then, in a task of its own, fn, unless entries were typed meanwhile (which run first) or let go.
    const unlessMore = (fn) => afterTask(run, () => (entries() === null ? null : entries().length > job.ran ? step() : fn()));
    unlessMore(() => {
      const prepared = prepare(page, job.last);
      unlessMore(() => (job.last === run ? page.dispatch({ type: 'enteredNone' }) : display(page, job.last, prepared)));
    });
  };
  afterPaint(run, step);
}

// Opens a program afresh and types input at its prompts, a line per entry, with
// the end of input after it if ended; a last piece without its Enter stays in
// the input field. The program runs once over all the entries, in a task of
// its own, and its run is shown in one more, so that a long link never holds
// up the page; with no entries, the empty run is shown in a task of its own,
// apart from the message that opened it. Where keepsField holds (the first
// program opened as the programs arrive), what the input field holds stays,
// and goes on taking keys: the field is left alone, but while entries typed
// before are run, when it takes none and its selection is put back after.
export function open(page, program, input = '', ended = false, keepsField = false) {
  const entries = share.entries(input);
  if (ended && (entries.length === 0 || entries.at(-1).endsWith('\n'))) entries.push('');
  const last = entries.length > 0 && !entries.at(-1).endsWith('\n') && !ended ? entries.pop() : '';
  const first = runner.open(program);
  showRun(first);  // work for the run shown before stops here
  const selection = keepsField && document.activeElement === typed ? [typed.selectionStart, typed.selectionEnd] : null;
  if (!keepsField) typed.value = '';
  if (!keepsField || entries.length > 0) typed.disabled = entries.length > 0;
  const done = (run, prepared = null) => {
    display(page, run, prepared, keepsField);
    if (!isWaiting(run)) return;
    if (!keepsField) typed.value = last;
    else if (selection && entries.length > 0) typed.setSelectionRange(...selection);
  };
  if (entries.length === 0) afterTask(first, () => done(first));
  else afterTask(first, () => {
    const run = runner.extendBy(first, entries, ended);
    afterTask(first, () => {
      const prepared = prepare(page, run);
      afterTask(first, () => done(run, prepared));
    });
  });
}

// Runs fn in a task of its own, if run is still the one drawn then.
function afterTask(run, fn) {
  setTimeout(() => { if (isShown(run)) fn(); }, 0);
}

// Before the programs: the first prompt of the program that the address names,
// and the input field ready, unless the link carries input of its own.
export function awaitPrograms(page) {
  const link = share.parse(location.hash);
  const free = link.input === '' && !link.exercise && !link.ended;
  page.dispatch({ type: 'awaiting', program: link.program });
  typed.disabled = endButton.disabled = !free;
  if (free) typed.focus();
  else typed.value = '';
}

// The programs are there: the links open, and what was typed is typed again;
// what the input field holds, not yet entered, stays, with its caret (open's keepsField).
export const loaded = (page) => page.dispatch({ type: 'loaded' });

// Nothing to run: the programs could not be loaded (the state says why).
export function loadFailed(page, error) {
  page.dispatch({ type: 'failed', error });
  settleFocus(false);
  typed.disabled = endButton.disabled = true;
}

// The programs' module: programs.js, fetched while the page starts and run
// once the first prompt is painted, gives it as the global gaussJordanPrograms.
export function loadPrograms() {
  return new Promise((resolve, reject) => {
    const script = el('script', '', undefined, { src: 'programs.js' });
    script.addEventListener('load', () => resolve(globalThis.gaussJordanPrograms));
    script.addEventListener('error', () => reject(new Error('programs.js did not load')));
    document.head.append(script);
  });
}

// Ctrl-D ends the input. Where the key is no Latin letter (a Korean input
// method reports 'ㅇ'), the physical key counts; elsewhere the letter does,
// whatever key of the layout gives it.
function isCtrlD(event) {
  if (!event.ctrlKey || event.altKey || event.metaKey) return false;
  return /^[a-z]$/i.test(event.key) ? event.key.toLowerCase() === 'd' : event.code === 'KeyD';
}

// The input line and the buttons beside the pane; then Enter may send the form.
export function connect(page) {
  inputLine.addEventListener('submit', (event) => {
    event.preventDefault();
    enter(page, typed.value + '\n', false);
  });
  typed.addEventListener('keydown', (event) => {
    if (!isCtrlD(event)) return;
    event.preventDefault();
    enter(page, typed.value, true);
  });
  endButton.addEventListener('click', () => enter(page, typed.value, true));
  restartButton.addEventListener('click', () => page.dispatch({ type: 'restart' }));
  byId('download').addEventListener('click', () => page.dispatch({ type: 'download' }));
  byId('copy').addEventListener('click', () => page.dispatch({ type: 'copyTranscript' }));
  // The page's markup keeps an Enter from sending the form until now.
  inputLine.querySelector('button[type="submit"]').disabled = false;
}
