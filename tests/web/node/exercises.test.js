// The exercise generator (web/exercises.js) under node, through the web
// build's programs: for many seeds each option holds, checked here on A itself
// and on the printouts of its run (every stage exact: on every printed number);
// a seed always gives the same exercise.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import { needsBuild, programs } from './programs.js';
import * as exercises from '../../../web/logic/practice/exercises.js';
import { determinant } from '../../../web/logic/run/exact.js';
import { entry } from '../../../web/logic/run/model.js';
import { passOrder, oneExchange } from '../../../web/logic/practice/check.js';

before(programs);

const seeds = Array.from({ length: 12 }, (_, k) => 1 + k * 7919);
const manySeeds = Array.from({ length: 40 }, (_, k) => 5 + k * 104729);
const optionSets = [[], ['nice'], ['reorder'], ['alone'], ['singular'], ['nice', 'reorder', 'alone'], ['reorder', 'alone', 'singular'],
                    ['exact'], ['exact', 'nice', 'reorder'], ['exact', 'alone'], ['exact', 'singular']];

// A printed plain decimal as a fraction of BigInts, or null for any other form (1e-05, inf).
function decimal(printed) {
  const parts = /^(-?)(\d+)(?:\.(\d+))?$/.exec(printed);
  return parts && { n: BigInt(parts[1] + parts[2] + (parts[3] ?? '')), d: 10n ** BigInt((parts[3] ?? '').length) };
}
const same = (x, y) => x !== null && y !== null && x.n * y.d === y.n * x.d;

// The product of two integer matrices given as printed text.
const product = (a, b) => a.map((row) => b[0].map((_, j) => row.reduce((sum, x, k) => sum + x * Number(b[k][j]), 0)));

test('the determinant is exact', () => {
  assert.equal(determinant([[2, 1], [1, 3]]), 5n);
  assert.equal(determinant([[0, 2, 1], [1, 1, 1], [2, 1, 0]]), 3n);
  assert.equal(determinant([[1, 2, 3], [4, 5, 6], [7, 8, 9]]), 0n);
  assert.equal(determinant([[0, 1], [1, 0]]), -1n);
  assert.equal(determinant([[9, 9, 9, 9], [9, -9, 9, 9], [9, 9, -9, 9], [9, 9, 9, -9]]), -52488n);
});

test('for many seeds each option holds in A and in the program\'s own run', needsBuild, () => {
  for (const program of ['gjinverse', 'gjsolve']) {
    for (const order of exercises.orders) {
      for (const options of optionSets) {
        for (const seed of options.includes('exact') ? manySeeds : seeds) {
          const e = exercises.make({ program, order, seed, options });
          const what = `${program}, order ${order}, seed ${seed}, ${options.join('+')}`;
          assert.ok(e.met, what);
          assert.deepEqual(e.options, exercises.possible(options, order), what);
          assert.ok(e.a.flat().every((x) => Number.isInteger(x) && Math.abs(x) <= exercises.maxEntry), what);
          const det = determinant(e.a);
          assert.equal(det === 0n, e.options.includes('singular'), what);
          const stages = e.model.stages;
          const answer = stages.at(-1).rows;
          if (e.options.includes('nice')) {
            assert.ok(det === 1n || det === -1n, what);
            // A times the printed inverse is I, or A times the printed x is b.
            const identity = e.a.map((row, i) => row.map((_, j) => Number(i === j)));
            if (program === 'gjinverse') assert.deepEqual(product(e.a, answer), identity, what);
            else assert.deepEqual(product(e.a, answer).map(([x]) => x), e.b, what);
            assert.ok(answer.flat().every((x) => /^-?\d+$/.test(x) && Math.abs(x) <= exercises.maxAnswer), what);
          }
          if (e.options.includes('reorder')) {
            assert.ok(stages.some((s, k) => s.id === 'pivoted' &&
              String(s.rows) !== String(oneExchange(passOrder(s, order), s.column).map((r) => stages[k - 1].rows[r - 1]))), what);
          }
          if (e.options.includes('exact')) {
            // Every entry prints as its exact value, and every r is the quotient of the printed a[p][p] and a[t][p].
            stages.forEach((s, k) => s.rows.forEach((row, r) => row.forEach((printed, c) =>
              assert.ok(same(decimal(printed), entry(e.model, k, r, c).value), `${what}: stage ${k + 1} prints ${printed}`))));
            for (const [k, s] of stages.entries()) {
              for (const { t, p, r } of s.ops.filter((op) => op.name === 'combine')) {
                const [pp, tp] = [decimal(stages[k - 1].rows[p - 1][p - 1]), decimal(stages[k - 1].rows[t - 1][p - 1])];
                assert.ok(same({ n: decimal(r.shown).n * tp.n, d: decimal(r.shown).d * tp.d }, pp), `${what}: r = ${r.shown}`);
              }
            }
          }
          if (e.options.includes('alone')) {
            assert.ok(stages.some((s, k) => s.ops.some((op) => op.name === 'unchanged' &&
              String(s.rows[op.t - 1]) === String(stages[k - 1].rows[op.t - 1]))), what);
          }
        }
      }
    }
  }
});

test('a seed gives the same exercise every time, and seeds give different ones', needsBuild, () => {
  const inputs = new Set();
  for (const seed of seeds) {
    const options = { program: 'gjsolve', order: 3, seed, options: ['nice'] };
    const first = exercises.make(options);
    assert.equal(exercises.make(options).input, first.input);
    inputs.add(first.input);
  }
  assert.ok(inputs.size >= seeds.length - 1, `${inputs.size} different exercises of ${seeds.length} seeds`);
  assert.deepEqual(exercises.possible(['singular', 'nice', 'reorder'], 2), ['singular'], 'nothing that cannot hold');
});

// What each version of the generator draws, pinned: a link handed out keeps
// its matrix ([A | b], rows split by '/') whatever the page becomes. A row
// changed here breaks every link of that version already out.
const pinned = [
  // version, program, seed, order, options, matrix
  [1, 'gjinverse', 101, 3, ['nice', 'exact'], '0 -1 0 / 0 0 1 / 1 0 0'],
  [2, 'gjinverse', 101, 3, ['nice', 'exact'], '0 1 0 / -2 -1 -1 / 1 1 0'],
  [1, 'gjinverse', 100, 3, ['nice'], '4 3 2 / -3 -3 -1 / -1 -1 0'],
  [2, 'gjinverse', 100, 3, ['nice'], '4 3 2 / -3 -3 -1 / -1 -1 0'],
  [1, 'gjinverse', 2024, 3, ['nice', 'reorder'], '0 0 1 / -1 1 -6 / -1 0 3'],
  [1, 'gjsolve', 19, 3, ['nice', 'alone'], '-2 0 1 1 / 5 1 -2 -1 / 5 0 -2 -2'],
  [2, 'gjsolve', 7, 3, ['singular'], '-4 -4 4 0 / 2 0 -1 -6 / -8 -8 8 -3'],
  [1, 'gjinverse', 6, 2, ['singular'], '0 -8 / 0 -4'],
  [2, 'gjinverse', 6, 2, ['singular'], '-8 8 / -4 4'],
  [1, 'gjsolve', 2, 4, ['nice', 'exact'], '0 -1 2 0 1 / 1 0 0 -1 -1 / 0 0 1 0 1 / 0 0 -1 -1 -1'],
  [2, 'gjsolve', 2, 4, ['nice', 'exact'], '0 0 0 -1 -1 / 1 2 2 -1 -2 / 0 1 1 0 -1 / 0 -1 -2 -2 0'],
  [1, 'gjinverse', 1, 4, ['nice', 'reorder', 'exact'], '0 0 -1 0 / 1 0 2 1 / 0 0 0 1 / 0 1 2 -2'],
  [2, 'gjinverse', 1, 4, ['nice', 'reorder', 'exact'], '2 2 1 0 / 0 2 2 -1 / -1 -1 -1 0 / 1 0 0 0'],
  [1, 'gjsolve', 61, 2, ['alone'], '7 0 9 / 0 7 -6'],
  [2, 'gjsolve', 61, 2, ['alone'], '0 9 -4 / 8 2 -7'],
  [2, 'gjsolve', 42, 2, [], '2 -1 -4 / 7 3 2'],
  [2, 'gjsolve', 8, 4, ['reorder', 'alone'], '-7 2 -4 4 1 / 2 -1 6 -5 -1 / 0 -8 0 -8 5 / 1 -5 -6 9 5'],
];

test('each version of the generator draws what it always drew for a seed', needsBuild, () => {
  assert.deepEqual(exercises.versions, [1, 2]);
  for (const [version, program, seed, order, options, matrix] of pinned) {
    const e = exercises.make({ program, order, seed, options, generator: version });
    const drawn = e.a.map((row, i) => [...row, ...(e.b ? [e.b[i]] : [])].join(' ')).join(' / ');
    assert.equal(drawn, matrix, `version ${version}, ${program}, seed ${seed}, order ${order}, ${options}`);
  }
  const unsaid = exercises.make({ program: 'gjinverse', order: 3, seed: 101, options: ['nice', 'exact'] });
  assert.equal(unsaid.generator, 1, 'an exercise whose generator is not said is of version 1');
});

test('from version 2 no option draws a near-trivial matrix', needsBuild, () => {
  // A, whether it is near-trivial
  const cases = [['0 1 0 / 0 0 1 / 1 0 0', true], ['2 0 / 0 -3', true], ['0 -8 / 0 -4', true], ['1 2 / 0 3', false],
                 ['1 2 3 / 0 4 5 / 0 0 6', false], ['1 0 0 / 0 1 0 / 0 2 1', true], ['0 -1 0 / 1 0 0 / 0 0 0', true], ['1 1 / 1 1', false]];
  for (const [text, trivial] of cases) assert.equal(exercises.trivial(text.split(' / ').map((row) => row.split(' ').map(Number))), trivial, text);
  assert.deepEqual([exercises.possible(['alone', 'singular'], 2, 2), exercises.possible(['alone', 'singular'], 2, 1), exercises.possible(['alone', 'singular'], 3, 2)],
                   [['singular'], ['alone', 'singular'], ['alone', 'singular']], 'a singular 2×2 with a row left alone is near-trivial');
  for (const program of ['gjinverse', 'gjsolve']) {
    for (const order of exercises.orders) {
      for (const options of optionSets) {
        for (const seed of seeds) {
          const e = exercises.make({ program, order, seed, options, generator: 2 });
          assert.ok(e.met && !exercises.trivial(e.a), `${program}, order ${order}, seed ${seed}, ${options.join('+')}`);
        }
      }
    }
  }
});
