// When the page's drawing works: the one queue of work after the pane is
// painted, and the one slicer of long work between frames. Work after paint,
// and a run's work in slices, is tagged with the run that it is for, and
// dropped once another run is drawn; the slicer also takes work for no run
// (the LMS's calls, a teacher's table), which goes on while it is wanted.
// Imports nothing.

let drawnRun = 0;  // the id of the run drawn

// Notes that run is the one drawn now.
export function show(run) {
  drawnRun = run.id;
}

export const isShown = (run) => run.id === drawnRun;

// Runs fn once the next frame is painted: the frame, then a task of its own.
export const painted = (fn) => requestAnimationFrame(() => setTimeout(fn, 0));

// Runs fn once the next frame is painted, if run is still the one drawn then.
export function afterPaint(run, fn) {
  painted(() => { if (isShown(run)) fn(); });
}

// The work between two looks at the page, in milliseconds: half a frame.
const sliceMs = 8;

// What runs in a task of its own soon (nextTask), in order, and the channel
// that starts each: one while there is any, since a browser makes each
// channel at some cost (and an open one keeps node running).
const soon = [];
let channel = null;

// Runs fn in a task of its own, soon: a message to itself, which no browser
// delays as it does a chain of timeouts (4 ms each, after the fifth).
export function nextTask(fn) {
  if (channel === null) {
    const opened = new MessageChannel();
    opened.port1.onmessage = () => {
      soon.shift()();
      if (soon.length > 0 || channel !== opened) return;
      opened.port1.close();
      channel = null;
    };
    channel = opened;
  }
  soon.push(fn);
  channel.port2.postMessage(null);
}

// Runs step(deadline) in tasks of their own, each until performance.now()
// reaches deadline, until it returns true; then done(). Stops for good once
// going() no longer holds. The first slice runs at once, or, later, in a task
// of its own; next runs each slice after the one before (nextTask: soon).
export function sliced(going, step, done = () => {}, later = false, next = nextTask) {
  const slice = () => {
    if (!going()) return;
    if (step(performance.now() + sliceMs)) done();
    else next(slice);
  };
  if (later) next(slice);
  else slice();
}

// As sliced, but a slice a frame, the first too: each once the frame before
// is painted, so that what a slice adds to the page is laid out in a frame of
// its own, not with the rest.
export const framed = (going, step, done = () => {}) => sliced(going, step, done, true, painted);

// Runs the pieces of a generator (work between two yields) in slices
// (sliced's), the first in a task of its own, while going(); then done(its
// value, whether it took more than a slice). long() once, where the first
// slice left some.
export function inPieces(pieces, done, going = () => true, long = () => {}) {
  let slices = 0;
  sliced(going, (deadline) => {
    for (let next = pieces.next(); ; next = pieces.next()) {
      if (next.done) {
        done(next.value, slices > 0);
        return true;
      }
      if (performance.now() >= deadline) break;
    }
    if (slices++ === 0) long();
    return false;
  }, undefined, true);
}

// Draws a print's pieces (inPieces's) while going(), and tells told({ done,
// slow }): after a first slice that left some (done false), then once all
// are drawn (slow: after more than one slice).
export const drawnInPieces = (pieces, going, told) => inPieces(pieces, (_, slow) => told({ done: true, slow }), going, () => told({ done: false }));

// Slices (sliced's) while run is the one drawn (run null: work for no run,
// which goes on whatever is drawn).
export const inSlices = (run, step, done, later = false) => sliced(() => run === null || isShown(run), step, done, later);
