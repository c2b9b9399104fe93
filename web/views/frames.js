// When the page's drawing works: the one queue of work after the pane is
// painted, and the one slicer of long work between frames. Work of either kind
// is tagged with the run that it is for, and dropped once another run is
// drawn; the slicer also takes work for no run (the LMS's calls), which goes
// on whatever is drawn. Imports nothing.

let drawnRun = 0;  // the id of the run drawn

// Notes that run is the one drawn now.
export function show(run) {
  drawnRun = run.id;
}

export const isShown = (run) => run.id === drawnRun;

// Runs fn once the next frame is painted (the frame, then a task of its own),
// if run is still the one drawn then.
export function afterPaint(run, fn) {
  requestAnimationFrame(() => setTimeout(() => { if (isShown(run)) fn(); }, 0));
}

// The work between two looks at the page, in milliseconds: half a frame.
const sliceMs = 8;

// Runs step(deadline) in tasks of their own, each until performance.now()
// reaches deadline, until it returns true; then done(). Stops for good once
// run is no longer the one drawn (run null: work for no run, which goes on
// whatever is drawn). The first slice runs at once, or, later, in a task of
// its own.
export function inSlices(run, step, done = () => {}, later = false) {
  const slice = () => {
    if (run !== null && !isShown(run)) return;
    if (step(performance.now() + sliceMs)) done();
    else setTimeout(slice, 0);
  };
  if (later) setTimeout(slice, 0);
  else slice();
}
