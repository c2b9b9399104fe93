// An entry's marks (web/logic/marks.js) on a real run of gjsolve, before and
// after its exact values, checked against its golden transcript: each kind of
// mark as a grid, and the pieces that the pane draws a printout in.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import { needsBuild, programs, goldenCase } from './programs.js';
import { open, extend } from '../../../web/logic/runner.js';
import { model, replayed } from '../../../web/logic/model.js';
import { marks, markedText } from '../../../web/logic/marks.js';

before(programs);

const name = 'gjsolve/residues-3x3';
const models = () => {
  const plain = model(extend(open('gjsolve'), goldenCase(name).input, true));
  return { plain, exact: replayed(plain) };
};

// Each entry's marks, a row a line: '.' none, else their initials (c, p, r).
const grid = (m, k) => m.stages[k].rows.map((row, r) =>
  row.map((_, c) => marks(m, k, r, c).map((mark) => mark[0]).join('') || '.').join(' '));

// Stage k of the golden transcript printouts (its rows as in the .out file):
// 1 scaled, 2 and 4 pivoted, 3 and 5 eliminated (pivots a11, a22), 6 and 7
// backward (pivots a33, a22), whose a13 prints -2.22045e-16 and 8.88178e-17.
const grids = [
  [0, false, ['. . . .', '. . . .', '. . . .']],
  [1, false, ['c c c c', '. c c c', 'c c c c']],
  [2, false, ['. . . .', 'c c c c', 'c c c c']],
  [3, false, ['p . . .', 'c c c c', '. . . .']],
  [4, false, ['. . . .', '. c c c', '. c c c']],
  [5, false, ['. . . .', '. p . .', '. c c c']],
  [6, false, ['c c c c', '. c c c', '. . p .']],
  [6, true, ['c c cr c', '. c c c', '. . p .']],
  [7, true, ['c c cr c', '. p . .', '. . . .']],
  [8, true, ['.', '.', '.']],
];

test('each entry of a run is marked changed, pivot and residue as its transcript shows', needsBuild, () => {
  const { plain, exact } = models();
  assert.deepEqual(grids.map(([k, withExact]) => grid(withExact ? exact : plain, k)), grids.map((row) => row[2]));
});

// The pieces of a printout as text, a marked piece written [marks:text].
const drawn = (m, k) => markedText(m, k).map((p) => (typeof p === 'string' ? p : `[${p.marks.join('+')}:${p.text}]`)).join('');

test('a printout is drawn as its transcript prints it, changed entries side by side in one piece', needsBuild, () => {
  const { plain, exact } = models();
  const cases = [
    [plain, 3, '[pivot:0.166667]\t0.166667\t0.166667\t1\t\n[changed:0\t-0.25\t0.25\t-1.25]\t\n0\t0.4\t1\t-0.8\t\n'],
    [exact, 6, '[changed:-1.4\t-1.4]\t[changed+residue:-2.22045e-16]\t[changed:-11.2]\t\n' +
               '0\t[changed:-0.56\t0\t-1.68]\t\n0\t0\t[pivot:1.4]\t-2.8\t\n'],
    [exact, 8, 'x1=5\nx2=3\nx3=-2\n'],
  ];
  assert.deepEqual(cases.map(([m, k]) => drawn(m, k)), cases.map((c) => c[2]));
  // Every printout, its pieces put together, is the transcript's.
  const transcript = goldenCase(name).expected.toString();
  const printouts = exact.stages.map((_, k) => markedText(exact, k).map((p) => p.text ?? p).join(''));
  assert.deepEqual(printouts.filter((rows) => !transcript.includes(`\n\n${rows}`)), []);
});
