// Where the page's parts meet, and when they work: the events that views send
// ('announce', something for the status line to say: a function that gives
// its parts, text or elements, read in turn, so that a change of language can
// say it again; 'classSet', the page's request for a class set of worksheets
// that the exercise form asked for), the one queue of work after the pane is painted,
// and the one slicer of long work between frames. Work of either kind is tagged
// with the run that it is for, and dropped once another run is shown.
// Imports nothing.

const target = new EventTarget();
let shown = 0;  // the id of the run shown

export function on(type, fn) {
  target.addEventListener(type, (event) => fn(event.detail));
}

export function emit(type, detail) {
  target.dispatchEvent(new CustomEvent(type, { detail }));
}

// Notes that run is the one shown now.
export function show(run) {
  shown = run.id;
}

export const isShown = (run) => run.id === shown;

// Runs fn once the next frame is painted (the frame, then a task of its own),
// if run is still the one shown then.
export function afterPaint(run, fn) {
  requestAnimationFrame(() => setTimeout(() => { if (isShown(run)) fn(); }, 0));
}

// The work between two looks at the page, in milliseconds: half a frame.
const sliceMs = 8;

// Runs step(deadline) in tasks of their own, each until performance.now()
// reaches deadline, until it returns true; then done(). Stops for good once
// run is no longer the one shown. The first slice runs at once.
export function inSlices(run, step, done = () => {}) {
  const slice = () => {
    if (!isShown(run)) return;
    if (step(performance.now() + sliceMs)) done();
    else setTimeout(slice, 0);
  };
  slice();
}
