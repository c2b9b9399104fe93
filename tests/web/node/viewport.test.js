// The part of the screen that an on-screen keyboard leaves free, and the
// scroll that brings a field, its verdict and its hint into it.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { freePart, scrollNeeded } from '../../../web/logic/layout/viewport.js';

test('the free part, and the scroll that brings a field and as much as fits with it into it', () => {
  // visual viewport, touch, strip covering its top → free part
  assert.deepEqual([[{ offsetTop: 120, height: 300 }, true, 0], [{ offsetTop: 0, height: 100 }, true, 130], [null, true, 100], [null, false, 0]]
    .map(([visual, touch, covered]) => freePart({ visual, innerHeight: 740, touch, covered })),
  [{ top: 120, bottom: 420 }, { top: 100, bottom: 100 }, { top: 100, bottom: 370 }, { top: 0, bottom: 740 }]);
  const box = (top, bottom) => ({ top, bottom });
  // boxes (the field, its verdict, its hint), margin → scroll down by, with free from 100 to 400
  const cases = [
    [[box(200, 230), box(240, 300)], 0, 0],                      // in view
    [[box(600, 630)], 6, 236],                                   // under the keyboard
    [[box(40, 70)], 6, -66],                                     // under the strip
    [[box(380, 410), box(250, 280)], 0, 10],                     // the verdict above comes along
    [[box(380, 410), box(420, 480), box(490, 560)], 0, 160],     // and the hint below
    [[box(380, 410), box(420, 480), box(490, 800)], 0, 80],      // all that fits of them
    [[box(700, 730), box(100, 200)], 0, 330],                    // the field alone
    [[box(200, 700)], 0, 100],                                   // taller than the room: its top in view
  ];
  for (const [boxes, margin, delta] of cases) assert.equal(scrollNeeded(boxes, box(100, 400), margin), delta, JSON.stringify(boxes));
});
