// An entry's marks and the pieces that the pane draws a printout in
// (web/logic/run/marks.js), on gjsolve residues-3x3 before and after its exact
// values, against its golden transcript.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import { needsBuild, programs, goldenCase } from './programs.js';
import { open, extend } from '../../../web/logic/run/runner.js';
import { model, replayed } from '../../../web/logic/run/model.js';
import { markedText } from '../../../web/logic/run/marks.js';

before(programs);

// Printout k as drawn, a marked piece written [marks:text]. Printout 3 is an
// elimination with pivot a11; 6 a backward one with pivot a33, whose a13 prints
// -2.22045e-16 and is exactly 0; 8 the unknowns.
const drawn = (m, k) => markedText(m, k).map((p) => (typeof p === 'string' ? p : `[${p.marks.join('+')}:${p.text}]`)).join('');
const cases = [
  [3, false, '[pivot:0.166667]\t0.166667\t0.166667\t1\t\n[changed:0\t-0.25\t0.25\t-1.25]\t\n0\t0.4\t1\t-0.8\t\n'],
  [6, false, '[changed:-1.4\t-1.4\t-2.22045e-16\t-11.2]\t\n0\t[changed:-0.56\t0\t-1.68]\t\n0\t0\t[pivot:1.4]\t-2.8\t\n'],
  [6, true, '[changed:-1.4\t-1.4]\t[changed+residue:-2.22045e-16]\t[changed:-11.2]\t\n0\t[changed:-0.56\t0\t-1.68]\t\n0\t0\t[pivot:1.4]\t-2.8\t\n'],
  [8, true, 'x1=5\nx2=3\nx3=-2\n'],
];

test('each entry is marked changed, pivot and residue as its transcript shows, side by side changes in one piece', needsBuild, () => {
  const { input, expected } = goldenCase('gjsolve/residues-3x3');
  const plain = model(extend(open('gjsolve'), input, true));
  const exact = replayed(plain);
  assert.deepEqual(cases.map(([k, withExact]) => drawn(withExact ? exact : plain, k)), cases.map((c) => c[2]));
  // Every printout, its pieces put together, is the transcript's.
  const printouts = exact.stages.map((_, k) => markedText(exact, k).map((p) => p.text ?? p).join(''));
  assert.deepEqual(printouts.filter((rows) => !expected.toString().includes(`\n\n${rows}`)), []);
});
