// Numbers as "%g" prints them (web/logic/run/printf.js), against a table of what
// C prints and against the programs' own printf over doubles of every size.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import { needsBuild, programs } from './programs.js';
import * as runner from '../../../web/logic/run/runner.js';
import { printed } from '../../../web/logic/run/printf.js';

before(programs);

// [x, what printf("%g", x) writes]: ties go to the even digit.
const table = [
  [0, '0'], [-0, '-0'], [Infinity, 'inf'], [-Infinity, '-inf'], [NaN, 'nan'], [5e-324, '4.94066e-324'],
  [1.7976931348623157e308, '1.79769e+308'], [1234565, '1.23456e+06'], [1234575, '1.23458e+06'], [999999.5, '1e+06'],
  [-2.5, '-2.5'], [0.0001, '0.0001'], [0.00001, '1e-05'], [123456, '123456'], [1234567, '1.23457e+06'],
  [0.1 + 0.2, '0.3'], [1 / 3, '0.333333'], [-2 / 3, '-0.666667'], [100, '100'], [1e100, '1e+100'], [-1.5e-7, '-1.5e-07'],
];

test('printf.js writes what C writes', () => {
  assert.deepEqual(table.map(([x]) => printed(x)), table.map(([, text]) => text));
});

test('printf.js agrees with the programs\' printf', needsBuild, () => {
  assert.deepEqual(table.map(([x]) => runner.printed(x)), table.map(([, text]) => text));
  const view = new DataView(new ArrayBuffer(8));
  let seed = 7;
  const word = () => (seed = (Math.imul(seed, 1664525) + 1013904223) >>> 0);
  const values = Array.from({ length: 20000 }, (_, k) => {
    if (k % 2 === 0) return Number(`${word() % 10000000}5e${(word() % 40) - 20}`);  // halfway at the seventh digit
    view.setUint32(0, word());
    view.setUint32(4, word());
    return view.getFloat64(0);
  });
  const differing = values.filter((x) => printed(x) !== runner.printed(x));
  assert.deepEqual(differing, []);
});
