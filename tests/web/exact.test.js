// The page's exact replay (web/exact.js) under node: numbers as typed, golden
// operation reports replayed into hand-checked fractions, and the runs that have
// no exact view.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const exact = require('../../web/exact.js');

const golden = (name) => fs.readFileSync(path.join(__dirname, '..', 'golden', name), 'utf8');
const shown = (x) => (x === null ? null : exact.format(x));

test('a report number is the decimal that was typed, as a fraction', () => {
  const cases = [
    ['0.10000000000000001', '1/10'],
    ['1.0000000000000001e-05', '1/100000'],
    ['0.33333333333333331', '3333333333333333/10000000000000000'],
    ['-2.5', '-5/2'],
    ['-0', '0'],
    ['1e+21', '1000000000000000000000'],
    ['123456789012345678', '123456789012345680'],
    ['nan', null],
    ['inf', null],
    ['-inf', null],
  ];
  for (const [text, fraction] of cases) assert.equal(shown(exact.typedValue(text)), fraction, text);
});

test('only plain decimals are read exactly', () => {
  const cases = [['.5', '1/2'], ['5.', '5'], ['+7e-1', '7/10'], ['1E2', '100'],
                 ['', null], ['.', null], ['e5', null], ['1e', null], ['0x10', null], ['1,5', null]];
  for (const [text, fraction] of cases) assert.equal(shown(exact.parseDecimal(text)), fraction, text);
});

// The matrix after each stage, each row's fractions joined by blanks.
const matrices = (replayed) => replayed.values.map((value) =>
  value && value.map((row) => (Array.isArray(row) ? row.map(exact.format).join(' ') : exact.format(row))));

test('the worked example replays to the inverse 3/5 -1/5 / -1/5 2/5', () => {
  const report = exact.parseReport(golden('gjinverse/worked-2x2.ops'));
  assert.deepEqual(report.stages.map((s) => [s.id, s.column, s.pivot]), [
    ['inverse_input', null, null], ['scaled', null, null], ['pivoted', 1, null],
    ['eliminated', 1, 1], ['backward', 2, 2], ['normalized', null, null], ['inverse_done', null, null]]);
  const replayed = exact.replay(report);
  assert.equal(replayed.stop, null);
  assert.deepEqual(matrices(replayed).slice(1, 6), [
    ['1 1/2 1/2 0', '1/3 1 0 1/3'],
    ['1 1/2 1/2 0', '1/3 1 0 1/3'],
    ['1 1/2 1/2 0', '0 -5/2 1/2 -1'],   // R2 <- R1 - 3 x R2
    ['5 0 3 -1', '0 -5/2 1/2 -1'],      // R1 <- R2 - (-5) x R1
    ['1 0 3/5 -1/5', '0 1 -1/5 2/5'],
  ]);
});

test('the residues of gjsolve residues-3x3 are exactly 0, and x = 5, 3, -2', () => {
  const report = exact.parseReport(golden('gjsolve/residues-3x3.ops'));
  const values = exact.replay(report).values;
  const backward = report.stages.map((s) => s.id).indexOf('backward');
  // Printed -2.22045e-16 at row 1, column 3, then 8.88178e-17 at the same place.
  assert.equal(exact.format(values[backward][0][2]), '0');
  assert.equal(exact.format(values[backward + 1][0][2]), '0');
  assert.deepEqual(values[backward + 1].map((row) => row.map(exact.format).join(' ')),
                   ['14/25 0 0 14/5', '0 -14/25 0 -42/25', '0 0 7/5 -14/5']);
  assert.deepEqual(values.at(-1).map(exact.format), ['5', '3', '-2']);
});

test('a division by an exact zero stops the replay and says where', () => {
  const cases = [
    // The zero pivot of 1 2 3 / 4 5 6 / 7 8 9 is a residue: rows 1 and 2 become
    // copies of row 3, and the second backward stage divides by a12, exactly 0.
    ['gjinverse/singular-residue-3x3.ops', { stage: 7, row: 1, column: 2, shown: null, singular: true }],
    // Here the floating-point run divides by 0 too, at the diagonal.
    ['gjinverse/singular-3x3.ops', { stage: 8, row: 1, column: 1, shown: '0', singular: true }],
  ];
  for (const [name, stop] of cases) {
    const replayed = exact.replay(exact.parseReport(golden(name)));
    assert.deepEqual(replayed.stop, stop, name);
    assert.ok(replayed.values.slice(0, stop.stage).every(Boolean), `${name}: values before the stop`);
    assert.ok(replayed.values.slice(stop.stage).every((v) => v === null), `${name}: none from the stop on`);
  }
});

test('the exact view needs the typed numbers, as the program read them', () => {
  const rows = (...values) => values.map((row) => row.map((v) => ({ shown: v, exact: v })));
  const twoByTwo = rows(['2', '1', '1', '0'], ['1', '3', '0', '1']);
  const cases = [
    ['2\n2 1\n1 3\n', twoByTwo, null],
    ['2 2 1 1 3 9 9', twoByTwo, null],                        // later text is never read
    ['2\n2.0 1e0\n+1 3\n', twoByTwo, null],
    ['2.5 1 1 3', rows(['0.5', '1', '1', '0'], ['1', '3', '0', '1']), null],  // the order is 2, then .5
    ['2\n2 1\n1 x\n', twoByTwo, { token: 'x' }],
    ['2\n2 1\n1 0x3\n', twoByTwo, { token: '0x3' }],
    ['2\n2 1\n1', rows(['2', '1', '1', '0'], ['1', '0', '0', '1']), { missing: true }],
    ['2\n2 nan\n1 3\n', rows(['2', 'nan', '1', '0'], ['1', '3', '0', '1']), { row: 1, value: 'nan' }],
  ];
  for (const [typed, read, expected] of cases) assert.deepEqual(exact.unreadable(read, typed, 2), expected, typed);
});

test('each printout of a transcript is found in order', () => {
  const printouts = exact.parsePrintouts(golden('gjsolve/residues-3x3.out'));
  assert.equal(printouts.length, exact.parseReport(golden('gjsolve/residues-3x3.ops')).stages.length);
  assert.deepEqual(printouts[0].rows, [['1', '1', '1', '6'], ['0', '2', '5', '-4'], ['2', '5', '-1', '27']]);
  assert.deepEqual(printouts.at(-2).rows[0], ['0.56', '0', '8.88178e-17', '2.8']);
  assert.deepEqual(printouts.at(-1), { unknowns: ['5', '3', '-2'] });
});
