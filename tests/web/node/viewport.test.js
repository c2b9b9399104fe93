// The part of the screen that an on-screen keyboard leaves free, and the
// scroll that brings a field and its verdict into it.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { freePart, scrollNeeded } from '../../../web/logic/viewport.js';

test('the free part: the visual viewport, else the upper half on a touch screen, less a strip at the top', () => {
  // visual, innerHeight, touch, covered → free part
  const cases = [
    [{ offsetTop: 0, height: 400 }, 740, true, 0, { top: 0, bottom: 400 }],
    [{ offsetTop: 120, height: 300 }, 740, true, 0, { top: 120, bottom: 420 }],   // scrolled within the window
    [{ offsetTop: 0, height: 100 }, 740, true, 130, { top: 100, bottom: 100 }],    // a strip taller than the room
    [null, 740, true, 0, { top: 0, bottom: 370 }],
    [null, 740, true, 100, { top: 100, bottom: 370 }],
  ];
  for (const [visual, innerHeight, touch, covered, free] of cases)
    assert.deepEqual(freePart({ visual, innerHeight, touch, covered }), free, JSON.stringify({ visual, touch, covered }));
});

test('the scroll that brings a field, and as far as they fit its verdict and its hint, into the free part', () => {
  const box = (top, bottom) => ({ top, bottom });
  const free = box(100, 400);
  // boxes (the field first), margin → scroll down by
  const cases = [
    [[box(200, 230)], 0, 0],                       // in view
    [[box(600, 630)], 6, 236],                     // under the keyboard: up to its edge
    [[box(40, 70)], 6, -66],                       // under the strip
    [[box(380, 410), box(420, 480)], 0, 80],       // the verdict below comes along
    [[box(380, 410), box(250, 280)], 0, 10],       // and one above
    [[box(700, 730), box(100, 200)], 0, 330],      // the two do not fit: the field alone
    [[box(380, 410), box(420, 480), box(490, 560)], 0, 160],      // the hint too, where all three fit
    [[box(380, 410), box(420, 480), box(490, 800)], 0, 80],       // else the field and its verdict
    [[box(200, 700)], 0, 100],                     // taller than the room: its top in view
    [[box(300, 330)], 200, 0],                     // no room at all but at the field: kept where it is
  ];
  for (const [boxes, margin, delta] of cases) assert.equal(scrollNeeded(boxes, free, margin), delta, JSON.stringify(boxes));
});
