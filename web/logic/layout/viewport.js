// Where on the screen an answer field and its verdict can be seen: the part
// that an on-screen keyboard leaves free, less a strip stuck to its top, and
// how far the page scrolls to bring what must be seen into it. Coordinates
// are the window's (getBoundingClientRect), y growing downwards.

// The part of the window left free, as { top, bottom }: the visual viewport
// where the browser has one (visual: { offsetTop, height }, else null);
// without one, the upper half on a touch screen, whose keyboard may cover the
// lower; less covered, the height of a strip stuck to the top of the window.
export function freePart({ visual, innerHeight, touch, covered = 0 }) {
  const top = visual ? visual.offsetTop : 0;
  const bottom = visual ? visual.offsetTop + visual.height : touch ? innerHeight / 2 : innerHeight;
  return { top: Math.min(top + covered, bottom), bottom };
}

// How far to scroll the page down (negative: up) so that the boxes ({ top,
// bottom }) lie wholly in free with margin to spare: as many of them as fit
// together, in the order given (the field first), by the least scroll; where
// the first alone is taller than free, its top at free's top. 0 where they
// are in view.
export function scrollNeeded(boxes, free, margin = 0) {
  const room = { top: free.top + margin, bottom: free.bottom - margin };
  const spanOf = (some) => ({ top: Math.min(...some.map((b) => b.top)), bottom: Math.max(...some.map((b) => b.bottom)) });
  const fits = (span) => span.bottom - span.top <= room.bottom - room.top;
  let n = boxes.length;
  while (n > 1 && !fits(spanOf(boxes.slice(0, n)))) n--;
  const span = spanOf(boxes.slice(0, n));
  if (span.top < room.top || !fits(span)) return span.top - room.top;
  return Math.max(0, span.bottom - room.bottom);
}
