// The exact replay (web/exact.js) under node: decimals as typed, the gcd,
// golden operation reports replayed into hand-checked fractions and stops, and
// real runs of the page's programs replayed against plain fraction arithmetic.
// The real runs need a web build: GJ_WEB_BUILD names its folder.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { programs } from './programs.js';
import * as exact from '../../../web/logic/run/exact.js';
import { model, parseReport, decode } from '../../../web/logic/run/model.js';
import * as runner from '../../../web/logic/run/runner.js';

const golden = (name) => fs.readFileSync(path.join(import.meta.dirname, '..', '..', 'golden', name), 'utf8');
// A stage of operations written as the report writes them ("combine 2 1").
const stage = (id, ...ops) => ({ id, unknowns: id === 'solution', ops: ops.map(decode) });
const shown = (x) => (x === null ? null : exact.format(x));

// A golden report as the replay takes it: the model's reading of it, and the
// matrix as read from its row lines, each number in its shortest form (so that
// 0.1 is 1/10).
function readReport(text) {
  const { rows, stages } = parseReport(text);
  return { start: rows.map((row) => row.map((x) => exact.parseDecimal(String(Number(x.exact))))), stages };
}

// The result of a job run in one step, or one piece per step, each step
// already past its deadline.
function run(job, sliced = false) {
  while (!job.step(sliced ? 0 : Infinity));
  return job.result;
}

// Each stage's values as text: a matrix's rows of fractions, or the unknowns;
// null past a stop. Checks on the way that zero() agrees with entry().
function texts(stages, start, ids) {
  return stages.map((values, k) => {
    if (values === null) return null;
    const cell = (r, c) => {
      const x = values.entry(r, c);
      assert.equal(values.zero(r, c), x.n === 0n);
      return exact.format(x);
    };
    if (ids[k] === 'solution') return start.map((_, j) => cell(j, 0)).join(' ');
    return start.map((row, r) => row.map((_, c) => cell(r, c)).join(' ')).join(' / ');
  });
}

const replayed = ({ start, stages }, sliced = false) => {
  const { stages: values, ...rest } = run(exact.replay(start, stages), sliced);
  return { ...rest, values, texts: texts(values, start, stages.map((s) => s.id)) };
};

test('decimals as typed, and only plain decimals', () => {
  const cases = [
    ['0.1', '1/10'], ['-2.5', '-5/2'], ['-0', '0'], ['1e+21', '1000000000000000000000'], ['1.0e-05', '1/100000'],
    ['0.33333333333333331', '33333333333333331/100000000000000000'], ['.5', '1/2'], ['5.', '5'], ['+7e-1', '7/10'],
    ['1E2', '100'], ['007.50e1', '75'], ['0e99999999999', '0'],
    ['nan', null], ['inf', null], ['-inf', null], ['', null], ['.', null], ['e5', null], ['1e', null],
    ['0x10', null], ['1,5', null], [' 1', null], ['1e5.5', null], ['--1', null],
    // Past the bound on digits and exponents: null at once, whatever the length.
    ['1e-999999999', null], ['1e99999999999999999999', null], ['1'.repeat(5000), null],
    [`1${'0'.repeat(100000)}1`, null], [`1${'0'.repeat(200000)}`, null], [`0.${'0'.repeat(200000)}1`, null],
    [`1.${'0'.repeat(200000)}`, '1'], [`${'0'.repeat(200000)}2`, '2'],
  ];
  for (const [text, fraction] of cases) assert.equal(shown(exact.parseDecimal(text)), fraction, text.slice(0, 20));
  const most = exact.MAX_DECIMAL_DIGITS;
  assert.equal(exact.parseDecimal('7'.repeat(most)).n, BigInt('7'.repeat(most)));
  assert.equal(exact.parseDecimal('7'.repeat(most + 1)), null);
  assert.equal(exact.parseDecimal(`1e-${most}`).d, 10n ** BigInt(most));
  assert.equal(exact.parseDecimal(`1e-${most + 1}`), null);
  // Every finite double, read exactly: the smallest is 751 digits times 10^-1074.
  const tiny = exact.parseDecimal(`${(5n ** 1074n).toString()}e-1074`);
  assert.deepEqual(tiny, { n: 1n, d: 2n ** 1074n });
});

test('the gcd agrees with Euclid\'s on long and awkward numbers', () => {
  const euclid = (a, b) => {
    [a, b] = [a < 0n ? -a : a, b < 0n ? -b : b];
    while (b !== 0n) [a, b] = [b, a % b];
    return a;
  };
  let seed = 20240611;
  const random = (bits) => {
    let x = 1n;
    for (let i = 0; i < bits; i += 30) {
      seed = (seed * 1103515245 + 12345) % 2147483648;
      x = (x << 30n) | BigInt(seed & 0x3fffffff);
    }
    return x >> BigInt(seed % 30);
  };
  const fibonacci = [0n, 1n];
  while (fibonacci.length < 6000) fibonacci.push(fibonacci.at(-1) + fibonacci.at(-2));
  const pairs = [
    [0n, 0n], [0n, -7n], [12n, 18n], [-12n, 18n], [2n ** 200n, 2n ** 120n * 3n], [10n ** 600n, 2n ** 700n * 5n ** 300n],
    [fibonacci[5999], fibonacci[5998]],           // every quotient 1: long runs for a digit step
    [fibonacci[4000] * 3n ** 500n, fibonacci[3999] * 3n ** 600n],
    [random(9000), 1n], [random(9000), random(40)],  // far shorter than the other
  ];
  // Random pairs with a random common factor, shorter and longer than a block.
  for (const bits of [60, 500, 3000, 5000, 9000]) {
    for (let k = 0; k < 6; ++k) {
      const common = random(k * bits / 6);
      pairs.push([random(bits) * common, -random(bits + k * 100) * common]);
    }
  }
  for (const [a, b] of pairs) {
    const expected = euclid(a, b);
    assert.equal(exact.gcd(a, b), expected, `${a.toString(16).slice(0, 20)} ${b.toString(16).slice(0, 20)}`);
    assert.equal(exact.gcd(b, a), expected);
  }
});

test('the worked example replays to the inverse 3/5 -1/5 / -1/5 2/5', () => {
  const result = replayed(readReport(golden('gjinverse/worked-2x2.ops')));
  assert.equal(result.stop, null);
  assert.equal(result.tooLarge, null);
  assert.deepEqual(result.texts.slice(1, 6), [
    '1 1/2 1/2 0 / 1/3 1 0 1/3',
    '1 1/2 1/2 0 / 1/3 1 0 1/3',
    '1 1/2 1/2 0 / 0 -5/2 1/2 -1',   // R2 <- R1 - 3 x R2
    '5 0 3 -1 / 0 -5/2 1/2 -1',      // R1 <- R2 - (-5) x R1
    '1 0 3/5 -1/5 / 0 1 -1/5 2/5',
  ]);
});

test('the residues of gjsolve residues-3x3 are exactly 0, and x = 5, 3, -2', () => {
  const report = readReport(golden('gjsolve/residues-3x3.ops'));
  const result = replayed(report);
  const backward = report.stages.map((s) => s.id).indexOf('backward');
  // Printed -2.22045e-16 at row 1, column 3, then 8.88178e-17 at the same place.
  assert.ok(result.values[backward].zero(0, 2));
  assert.ok(result.values[backward + 1].zero(0, 2));
  assert.equal(result.texts[backward + 1], '14/25 0 0 14/5 / 0 -14/25 0 -42/25 / 0 0 7/5 -14/5');
  assert.equal(result.texts.at(-1), '5 3 -2');
});

test('a division by an exact zero stops the replay and says where, and whether A is singular', () => {
  const matrix = (...rows) => rows.map((row) => row.map((x) => ({ n: BigInt(x), d: 1n })));
  const cases = [
    // The zero pivot of 1 2 3 / 4 5 6 / 7 8 9 is a residue: rows 1 and 2 become
    // copies of row 3, and the second backward stage divides by a12, exactly 0.
    [readReport(golden('gjinverse/singular-residue-3x3.ops')), { stage: 7, row: 1, column: 2, singular: true }],
    // Here the floating-point run divides by 0 too, at the diagonal.
    [readReport(golden('gjinverse/singular-3x3.ops')), { stage: 8, row: 1, column: 1, singular: true }],
    // A zero divisor in a matrix that is not singular; the unknowns of gjsolve.
    [{ start: matrix([0, 1, 1, 0], [1, 0, 0, 1]), stages: [stage('a', 'scale 1 1 0=0')] },
      { stage: 0, row: 1, column: 1, singular: false }],
    [{ start: matrix([1, 2, 3], [2, 4, 6]),
       stages: [stage('a', 'combine 2 1 0.5=0.5'), stage('solution', 'quotient 1 3=3 1=1 3=3', 'quotient 2 0=0 0=0 nan=nan')] },
      { stage: 1, row: 2, column: 2, singular: true }],
  ];
  for (const [report, stop] of cases) {
    for (const sliced of [false, true]) {
      const result = replayed(report, sliced);
      const { op, ...where } = result.stop;
      assert.deepEqual(where, stop);
      assert.ok(result.values.slice(0, stop.stage).every(Boolean), 'values before the stop');
      assert.ok(result.values.slice(stop.stage).every((v) => v === null), 'none from the stop on');
    }
  }
});

test('places outside the matrix are refused at once', () => {
  const start = [[{ n: 1n, d: 1n }, { n: 0n, d: 1n }]];
  const cases = [[start, 'scale 1 3 1=1'], [start, 'swap 1 2'], [start, 'combine 0 1 1=1'], [start, 'divide 2 1=1'],
                 [start, 'quotient 2 1=1 1=1 1=1'], [start, 'scale 1'], [[[{ n: 1n, d: 1n }]], 'quotient 1 1=1 1=1 1=1']];
  for (const [matrix, line] of cases) {
    assert.throws(() => exact.replay(matrix, [stage('a', line)]), RangeError, line);
  }
  assert.doesNotThrow(() => exact.replay(start, [stage('a', 'unchanged 7 7')]));
});

test('numbers past MAX_BITS give up from the stage where they grew', () => {
  const half = (1n << BigInt(exact.MAX_BITS / 2 + 8)) + 1n;
  const one = { n: 1n, d: 1n };
  // R2 <- R1 - h x R2 on [h 1; 1 h]: a22 becomes 1 - h^2.
  const start = [[{ n: half, d: 1n }, one], [one, { n: half, d: 1n }]];
  const stages = [stage('a'), stage('b', 'combine 2 1 1=1'), stage('c')];
  const result = run(exact.replay(start, stages));
  assert.deepEqual(result.tooLarge, { stage: 1 });
  assert.equal(result.stop, null);
  assert.deepEqual(result.stages.map(Boolean), [true, false, false]);
  const typed = run(exact.replay([[{ n: 1n, d: 2n * half * half }]], [stage('a')]));
  assert.deepEqual([typed.tooLarge, typed.stages], [{ stage: 0 }, [null]]);
});

// The replay as the page had it before it came in pieces: every entry its own
// fraction, with Euclid's gcd.
function reference({ start, stages }) {
  const gcd = (a, b) => {
    [a, b] = [a < 0n ? -a : a, b < 0n ? -b : b];
    while (b !== 0n) [a, b] = [b, a % b];
    return a;
  };
  const make = (n, d) => {
    if (d < 0n) [n, d] = [-n, -d];
    const g = gcd(n, d) || 1n;
    return { n: n / g, d: d / g };
  };
  const sub = (x, y) => make(x.n * y.d - y.n * x.d, x.d * y.d);
  const mul = (x, y) => make(x.n * y.n, x.d * y.d);
  const div = (x, y) => make(x.n * y.d, x.d * y.n);
  const m = start.map((row) => row.map((x) => make(x.n, x.d)));
  const n = m.length;
  const unknowns = [];
  const out = [];
  for (const stage of stages) {
    for (const op of stage.ops) {
      const { name } = op;
      const [i, j] = { scale: [op.i, op.c], swap: [op.i, op.k], combine: [op.t, op.p], divide: [op.i], quotient: [op.j] }[name] ?? [];
      if (name === 'scale' || name === 'divide') {
        const by = m[i - 1][(name === 'scale' ? j : i) - 1];
        m[i - 1] = m[i - 1].map((x) => div(x, by));
      } else if (name === 'swap') {
        [m[i - 1], m[j - 1]] = [m[j - 1], m[i - 1]];
      } else if (name === 'combine') {
        const r = div(m[j - 1][j - 1], m[i - 1][j - 1]);
        m[i - 1] = m[j - 1].map((x, c) => sub(x, mul(r, m[i - 1][c])));
      } else if (name === 'quotient') {
        unknowns[i - 1] = div(m[i - 1][n], m[i - 1][i - 1]);
      }
    }
    out.push(stage.id === 'solution' ? unknowns.map(exact.format).join(' ')
      : m.map((row) => row.map(exact.format).join(' ')).join(' / '));
  }
  return out;
}

// Real runs: matrices of 17-digit decimals, and of entries from 1e-307 to 1e300
// (smaller ones lose bits in the double, and have no exact view).
function* realRuns() {
  let seed = 7;
  const random = () => (seed = (seed * 1103515245 + 12345) % 2147483648) / 2147483648;
  const digits = (count) => Array.from({ length: count }, () => Math.floor(random() * 10)).join('');
  const long = () => `${random() < 0.5 ? '-' : ''}0.${digits(17)}`;
  const wide = () => `${random() < 0.5 ? '-' : ''}${1 + digits(1) % 9}.${digits(1)}e${Math.floor(random() * 608) - 307}`;
  for (const [program, n, entry] of [['gjinverse', 5, long], ['gjinverse', 3, wide], ['gjsolve', 4, long], ['gjsolve', 3, wide]]) {
    const width = program === 'gjinverse' ? n : n + 1;
    const tokens = Array.from({ length: n }, () => Array.from({ length: width }, entry));
    const start = tokens.map((row, i) => [
      ...row.map((token) => exact.parseDecimal(token)),
      ...(program === 'gjinverse' ? tokens.map((_, j) => ({ n: i === j ? 1n : 0n, d: 1n })) : []),
    ]);
    yield { program, tokens, start };
  }
}

test('real runs replay as plain fraction arithmetic does, sliced or not', async (t) => {
  if (!process.env.GJ_WEB_BUILD) return t.skip('needs GJ_WEB_BUILD, the folder of a web build');
  await programs();
  for (const { program, tokens, start } of realRuns()) {
    const typed = `${tokens.length}\n${tokens.map((row) => row.join(' ')).join('\n')}\n`;
    const ran = runner.extend(runner.open(program), typed, true);
    assert.equal(ran.status, 0, ran.errors);
    const { stages, verdict } = model(ran);
    assert.deepEqual(verdict.start, start, 'the model starts from the numbers as typed');
    const whole = replayed({ start, stages });
    assert.deepEqual([whole.stop, whole.tooLarge], [null, null]);
    assert.deepEqual(whole.texts, reference({ start, stages }), `${program} ${typed}`);
    const sliced = replayed({ start, stages }, true);
    const outcome = (r) => [r.texts, r.stop, r.tooLarge, r.bits];
    assert.deepEqual(outcome(sliced), outcome(whole));
  }
});
