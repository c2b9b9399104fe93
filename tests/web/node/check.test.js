// Practice's checker (web/check.js) under node: reading answers, "%g" as the
// programs print it, the comparison with a printed entry and its exact value, the
// pivot pass's order, and each named slip, on real runs of the web build's
// programs.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { golden, needsBuild, programs } from './programs.js';
import * as check from '../../../web/logic/practice/check.js';
import * as sheet from '../../../web/logic/practice/sheet.js';
import { make, modelOf } from '../../../web/logic/practice/exercises.js';
import * as runner from '../../../web/logic/run/runner.js';
import { format, parseDecimal } from '../../../web/logic/run/exact.js';

before(programs);

test('answers are read as decimals, fractions or non-finite numbers, in any width, and nothing else', () => {
  // typed, exact value (null: non-finite; undefined: not read), double
  const cases = [
    ['1/3', '1/3', 1 / 3], ['.5', '1/2', 0.5], ['-0', '0', -0], ['1e-05', '1/100000', 1e-5], [' 3 ', '3', 3],
    ['−2.5', '-5/2', -2.5], ['ㅡ2.5', '-5/2', -2.5], ['\u11731/\uffda2', '1/2', 0.5], ['2.5/-5', '-1/2', -0.5], ['4 / 6', '2/3', 4 / 6], ['5.', '5', 5], ['+7e-1', '7/10', 0.7],
    ['－３', '-3', -3], ['１／３', '1/3', 1 / 3], ['− 2.5', '-5/2', -2.5], ['\u3000.５\u3000', '1/2', 0.5], ['1．5', '3/2', 1.5],
    ['inf', null, Infinity], ['-inf', null, -Infinity], ['∞', null, Infinity], ['－∞', null, -Infinity], ['Infinity', null, Infinity],
    ['-Infinity', null, -Infinity], ['NaN', null, NaN], ['-nan', null, NaN], ['1/0', null, Infinity], ['-1/0', null, -Infinity], ['0/0', null, NaN],
    ['abc'], [''], ['1//2'], ['1/2/3'], ['0x10'], ['1,5'], ['1e'], ['--1'], ['infinite'], ['1 2'],
  ];
  for (const [text, value, double] of cases) {
    const read = check.read(text);
    if (value === undefined) assert.equal(read, null, text);
    else assert.deepEqual([read.value && format(read.value), Object.is(read.double, double)], [value, true], text);
  }
});

// The programs' reports write each number as printed and in full ("%.17g"):
// the formatter must give the printed form of every one, in every golden run.
test('the formatter prints every number of the golden runs as the programs printed it', needsBuild, () => {
  let numbers = 0;
  for (const program of ['gjinverse', 'gjsolve']) {
    for (const file of fs.readdirSync(path.join(golden, program)).filter((f) => f.endsWith('.in'))) {
      const run = runner.extend(runner.open(program), fs.readFileSync(path.join(golden, program, file), 'utf8'), true);
      for (const [, shown, full] of run.report.matchAll(/ ([^ =\n]+)=([^ \n]+)/g)) {
        if (/nan/.test(full)) continue;  // a NaN's sign does not survive a JS Number
        assert.equal(runner.printed({ inf: Infinity, '-inf': -Infinity }[full] ?? Number(full)), shown, `${program}/${file}: ${full}`);
        numbers++;
      }
    }
  }
  assert.ok(numbers > 1500, `${numbers} numbers`);
  assert.deepEqual([-0, 5e-324, -Infinity, NaN, 1234565, 999999.5].map(runner.printed), ['-0', '4.94066e-324', '-inf', 'nan', '1.23456e+06', '1e+06']);
});

test('a number is right when it prints as the program printed it, or is its exact value', () => {
  const q = (text) => parseDecimal(text) ?? check.read(text).value;
  // typed, printed, exact value (null before the replay), right, note
  const cases = [
    ['0.333333', '0.333333', '1/3', true, null], ['.333333', '0.333333', '1/3', true, null],
    ['1/3', '0.333333', '1/3', true, null], ['0.3333', '0.333333', '1/3', false, null],
    ['0.3333333', '0.333333', '1/3', true, null], ['10/9', '1.11111', '10/9', true, null],
    ['1.1111', '1.11111', '10/9', false, null], ['3/5', '0.6', '3/5', true, null], ['0.600001', '0.6', '3/5', false, null],
    ['0', '-0', '0', true, 'negativeZero'], ['-0', '-0', '0', true, null], ['-0', '0', '0', true, null],
    ['0', '-2.22045e-16', '0', true, 'residue'], ['-2.22045e-16', '-2.22045e-16', '0', true, null],
    ['2.22045e-16', '-2.22045e-16', '0', false, null], ['1', '-0', '0', false, null],
    ['0', '-0', null, true, 'negativeZero'], ['1/3', '0.333333', null, true, null], ['3.33333e-1', '0.333333', null, true, null],
    ['0', '-2.22045e-16', null, false, null], ['1234565', '1.23456e+06', '1234565', true, null],
  ];
  for (const [typed, printed, exact, right, note] of cases) {
    const verdict = check.compare(check.read(typed), { printed, exact: exact === null ? null : q(exact) });
    assert.deepEqual(verdict, { right, note }, `${typed} for ${printed} (${exact})`);
  }
});

test('the pivot pass\'s order is the program\'s, one pass from the bottom, neighbours only', needsBuild, () => {
  // gjsolve's rows, each divided by its 10: column 1 holds the tenths shown.
  const cases = [
    ['3\n1 10 0 0\n2 0 10 0\n3 0 0 10\n', [3, 1, 2], [3, 2, 1]],
    ['4\n5 10 0 0 0\n1 0 10 0 0\n3 0 0 10 0\n2 0 0 0 10\n', [1, 3, 2, 4], [1, 2, 3, 4]],
    ['2\n-5 10 0\n5 0 10\n', [1, 2], [1, 2]],
    ['3\n3 10 0 0\n2 0 10 0\n1 0 0 10\n', [1, 2, 3], [1, 2, 3]],
  ];
  for (const [input, order, oneExchange] of cases) {
    const m = modelOf('gjsolve', input);
    const k = m.stages.findIndex((s) => s.id === 'pivoted');
    assert.deepEqual(check.passOrder(m.stages[k], m.n), order, input);
    assert.deepEqual(check.oneExchange(order, 1), oneExchange, input);
    // The printout after the pass is the one before it in that order.
    assert.deepEqual(m.stages[k].rows, order.map((row) => m.stages[k - 1].rows[row - 1]), input);
  }
  const orders = [['3 1 2', 3, [3, 1, 2]], ['312', 3, [3, 1, 2]], ['3,1, 2', 3, [3, 1, 2]], ['3 1', 3, null],
                  ['3 1 1', 3, null], ['0 1 2', 3, null], ['1.5 2 3', 3, null], ['', 2, null]];
  for (const [text, n, order] of orders) assert.deepEqual(check.readOrder(text, n), order, text);
});

// The worked examples and a few more, with answers and the slip each should get.
const worked = { program: 'gjinverse', input: '2\n2 1\n1 3\n' };
const workedSolve = { program: 'gjsolve', input: '2\n2 -3 0\n1 1 5\n' };
const seed3 = { program: 'gjsolve', input: '3\n0 -1 0 -1\n3 -1 -1 7\n5 -2 -2 11\n' };
const singular = { program: 'gjinverse', input: '2\n-8 -2\n-4 -1\n' };
const slipCases = [
  // run, stage (its id and column), question, answer, right, slip, note
  [workedSolve, 'scaled', 'divisor 1', '3', false, 'sign'],
  [workedSolve, 'scaled', 'divisor 1', '-3', true, null],
  [workedSolve, 'scaled', 'entry 1 1', '0.666667', false, 'sign'],
  [workedSolve, 'scaled', 'entry 1 3', '0', true, null, 'negativeZero'],
  [{ program: 'gjinverse', input: '2\n-2 2\n1 3\n' }, 'scaled', 'divisor 1', '2', false, 'leftmost'],
  [{ program: 'gjinverse', input: '2\n-2 2\n1 3\n' }, 'scaled', 'entry 1 1', '-1', false, 'leftmost'],
  [worked, 'scaled', 'divisor 1', '1', false, null],
  [worked, 'scaled', 'divisor 1', 'two', false, 'unreadable'],
  [{ program: 'gjinverse', input: '3\n1 4 0\n2 4 1\n3 4 3\n' }, 'pivoted 1', 'order', '3 2 1', false, 'otherOrder'],
  [{ program: 'gjinverse', input: '3\n1 4 0\n2 4 1\n3 4 3\n' }, 'pivoted 1', 'order', '2 1 3', false, 'otherOrder'],
  [{ program: 'gjinverse', input: '3\n1 4 0\n2 4 1\n3 4 3\n' }, 'pivoted 1', 'order', '3 1', false, 'notOrder'],
  [{ program: 'gjinverse', input: '3\n1 4 0\n2 4 1\n3 4 3\n' }, 'pivoted 1', 'order', '312', true, null],
  [worked, 'eliminated 1', 'r 2', '1/3', false, 'inverted'],
  [worked, 'eliminated 1', 'r 2', '0.333333', false, 'inverted'],
  [worked, 'eliminated 1', 'r 2', '3', true, null],
  [worked, 'eliminated 1', 'r 2', { alone: true }, false, 'notZero'],
  [worked, 'eliminated 1', 'entry 2 2', '0.833333', false, 'textbook'],
  [worked, 'eliminated 1', 'entry 2 3', '-1/6', false, 'textbook'],
  [worked, 'eliminated 1', 'entry 2 2', '-2.5', true, null],
  [worked, 'backward 2', 'r 1', '-0.2', false, 'inverted'],
  [worked, 'backward 2', 'entry 1 1', '1', false, 'textbook'],
  [worked, 'normalized', 'divisor 2', '2.5', false, 'sign'],
  [worked, 'normalized', 'entry 2 4', '-0.4', false, 'sign'],
  [worked, 'inverse_done', 'entry 1 1', '3/5', true, null],
  [{ program: 'gjsolve', input: '2\n0 1 2\n1 0 3\n' }, 'eliminated 1', 'r 2', '3', false, 'changedZero'],
  [{ program: 'gjsolve', input: '2\n0 1 2\n1 0 3\n' }, 'eliminated 1', 'r 2', { alone: true }, true, null],
  [{ program: 'gjsolve', input: '2\n0 1 2\n1 0 3\n' }, 'eliminated 1', 'entry 2 2', '1', false, 'changedZero'],
  [{ program: 'gjsolve', input: '3\n1 1 1 6\n0 2 5 -4\n2 5 -1 27\n' }, 'backward 3', 'entry 1 3', '0', true, null, 'residue'],
  [workedSolve, 'solution', 'x 1', '3', true, null],
  [workedSolve, 'solution', 'x 2', '-2', false, 'oppositeSign'],
  // Hand work on the printed numbers (seed 3's stage 4: -0.181818 - 1.06061 × -0.142857), and answers close to the program's.
  [seed3, 'eliminated 1', 'entry 3 2', '-0.0303024', true, null, 'fromPrinted'],
  [seed3, 'eliminated 1', 'entry 3 2', '-0.030303', true, null],
  [seed3, 'eliminated 1', 'entry 3 2', '-0.0303', false, 'closeDigits'],
  [seed3, 'eliminated 1', 'entry 3 2', '-0.0304', false, 'closeNear'],
  [seed3, 'eliminated 1', 'entry 3 2', '-0.031', false, null],
  [seed3, 'eliminated 1', 'r 3', '1.06', false, 'closeDigits'],
  [seed3, 'eliminated 1', 'r 3', '1.0606', true, null, 'fromPrinted'],
  [seed3, 'eliminated 1', 'entry 3 1', '-1e-06', true, null, 'fromPrinted'],
  [seed3, 'eliminated 1', 'entry 3 1', '1e-05', false, null],
  // "Left alone" typed, and 0 or "alone" for a row that is eliminated.
  [seed3, 'eliminated 1', 'r 2', '0', true, null],
  [seed3, 'eliminated 1', 'r 2', ' 그대로 ', true, null],
  [seed3, 'eliminated 1', 'r 2', "'그대로'", true, null],
  [seed3, 'eliminated 1', 'r 2', '‘그대로’', true, null],
  [seed3, 'eliminated 1', 'r 2', 'Alone', true, null],
  [seed3, 'eliminated 1', 'r 2', '1', false, 'changedZero'],
  [seed3, 'eliminated 1', 'r 3', '0', false, 'notZero'],
  [seed3, 'eliminated 1', 'r 3', 'alone', false, 'notZero'],
  // A singular A: non-finite entries in their forms, and whether A is invertible.
  [singular, 'normalized', 'entry 1 1', '0/0', true, null],
  [singular, 'normalized', 'entry 1 3', '-∞', true, null],
  [singular, 'normalized', 'entry 1 4', 'Infinity', true, null],
  [singular, 'normalized', 'entry 1 4', 'nan', false, null],
  [singular, 'normalized', 'entry 1 4', '1e308', false, null],
  // Past what a double holds: a verdict, as for any other wrong number.
  [worked, 'eliminated 1', 'entry 2 2', '1e309', false, null], [worked, 'scaled', 'divisor 1', '-1e999/1', false, null],
  [worked, 'normalized', 'divisor 2', 'ㅡ2.5', true, null],
  [singular, 'backward 2', 'r 1', '0', true, null],
  [singular, 'backward 2', 'invertible', { choice: 'yes' }, false, 'singular'],
  [singular, 'backward 2', 'invertible', { choice: 'no' }, true, null],
  [{ program: 'gjsolve', input: '2\n-8 -8 1\n-4 -4 4\n' }, 'backward 2', 'invertible', { choice: 'many' }, false, 'noSolution'],
  [{ program: 'gjsolve', input: '3\n1 2 3 1\n2 4 6 2\n1 1 1 1\n' }, 'backward 3', 'invertible', { choice: 'one' }, false, 'manySolutions'],
  [{ program: 'gjsolve', input: '3\n1 2 3 1\n2 4 6 2\n1 1 1 1\n' }, 'backward 3', 'invertible', { choice: 'many' }, true, null],
];

test('each answer gets its verdict, and each slip its name', needsBuild, () => {
  const models = new Map();
  for (const [run, stageName, key, answer, right, slip, note = null] of slipCases) {
    const id = `${run.program} ${run.input}`;
    if (!models.has(id)) models.set(id, modelOf(run.program, run.input));
    const m = models.get(id);
    const k = m.stages.findIndex((s) => [s.id, `${s.id} ${s.column}`].includes(stageName));
    const question = [check.invertibility(m, k), ...check.questions(m, k, 'all')].find((q) => q?.key === key);
    const given = typeof answer === 'string' ? { text: answer } : answer;
    assert.deepEqual(check.check(question, given), { right, slip, note }, `${id}: ${stageName}, ${key}, ${JSON.stringify(answer)}`);
  }
});

test('each stage asks its decisions, then the entries asked for', needsBuild, () => {
  const m = modelOf(worked.program, worked.input);
  const keys = (k, fill) => check.questions(m, k, fill).map((q) => q.key).join(', ');
  assert.equal(keys(1, 'none'), 'divisor 1, divisor 2');
  assert.equal(keys(1, 'row'), 'divisor 1, divisor 2, entry 1 1, entry 1 2, entry 1 3, entry 1 4');
  assert.equal(keys(2, 'none'), 'order');
  assert.equal(keys(3, 'row'), 'r 2, entry 2 1, entry 2 2, entry 2 3, entry 2 4', 'the row that the stage changed');
  assert.equal(keys(6, 'none'), 'entry 1 1, entry 1 2, entry 2 1, entry 2 2', 'the inverse is asked whole');
  assert.equal(check.questions(m, 1, 'all').length, 10);
  const solve = modelOf(workedSolve.program, workedSolve.input);
  assert.equal(check.questions(solve, 5, 'all').map((q) => q.key).join(', '), 'x 1, x 2');
  assert.deepEqual(check.questions(solve, 5, 'all').map(check.answerOf), ['3', '2']);
  assert.deepEqual(check.questions(solve, 2, 'none').map(check.answerOf), ['1 2']);
});

// Every number that hand work on the printed numbers gives, done in doubles and
// printed as the programs print, is right, at every stage of these runs.
test('hand work on the printed numbers of the printout before is right', needsBuild, () => {
  let differing = 0;
  for (const [program, input] of [[seed3.program, seed3.input], ['gjsolve', '3\n1 1 1 6\n0 2 5 -4\n2 5 -1 27\n'],
    ['gjinverse', '3\n2 -7 4\n9 1 -3\n-5 8 6\n'], ['gjsolve', '4\n3 -1 7 2 5\n-8 4 1 9 -2\n6 6 -5 1 3\n2 -9 4 -7 8\n']]) {
    const m = modelOf(program, input);
    for (const [k, stage] of m.stages.entries()) {
      const before = k > 0 && m.stages[k - 1].rows.map((row) => row.map(Number));
      const hand = (r, c) => {
        const op = stage.ops.find((o) => (['scale', 'divide'].includes(o.name) && o.i === r + 1) || (o.name === 'combine' && o.t === r + 1));
        if (stage.unknowns) return before[r][m.n] / before[r][r];
        if (!op) return null;
        if (op.name === 'combine') return before[op.p - 1][c] - Number(op.r.shown) * before[r][c];
        return before[r][c] / before[r][op.name === 'scale' ? op.c - 1 : r];
      };
      for (const q of k > 0 ? check.questions(m, k, 'all') : []) {
        const [, r, c = 1] = q.key.split(' ').map(Number);
        const value = q.key.startsWith('entry') || q.key.startsWith('x') ? hand(r - 1, c - 1) : null;
        if (value === null) continue;
        differing += runner.printed(value) !== q.expected.printed;
        assert.equal(check.check(q, { text: runner.printed(value) }).right, true, `${program} ${input}: stage ${k + 1}, ${q.key}`);
      }
    }
  }
  assert.ok(differing >= 5, `${differing} answers other than the program's`);
});

// The slips that students make most, each found by its rule on the run's own
// numbers; an answer that two rules explain is not named. seed100 is the nice
// 3×3 exercise of seed 100, whose row 3 (-1 -1 0) is divided by -1.
const bubble = { program: 'gjinverse', input: '3\n1 4 0\n2 4 1\n3 4 3\n' };
const fourRows = { program: 'gjsolve', input: '4\n1 10 0 0 0\n4 0 10 0 0\n2 0 0 10 0\n3 0 0 0 10\n' };
const seed100 = { program: 'gjinverse', input: '3\n4 3 2\n-3 -3 -1\n-1 -1 0\n' };
const readingCases = [
  // run, stage, question, answer, slip, the stage's questions answered rightly before
  [bubble, 'scaled', 'entry 2 1', '2', 'unscaled'],
  [workedSolve, 'solution', 'x 1', '3.33333', 'unscaled'],
  [bubble, 'pivoted 1', 'entry 1 1', '0.25', 'beforeExchange'],
  [bubble, 'eliminated 1', 'r 2', '1.5', 'beforeExchange'],
  [bubble, 'eliminated 1', 'entry 2 1', '-0.5', 'beforeExchange'],
  [bubble, 'eliminated 1', 'r 2', '2', 'wrongRow'],
  [bubble, 'eliminated 1', 'entry 2 1', '-1.5', 'wrongRow'],
  [bubble, 'eliminated 1', 'entry 3 3', '0.75', 'wrongRow'],
  [bubble, 'eliminated 1', 'r 2', '1', null],                 // another row, or the rows before the pass
  [bubble, 'eliminated 1', 'r 2', '-3', 'rSign'],
  [bubble, 'eliminated 1', 'entry 2 1', '1.5', 'rSign'],
  [worked, 'eliminated 1', 'r 2', '-3', 'rSign'],
  [fourRows, 'pivoted 1', 'order', '2 1 3 4', 'oneExchange'],
  [fourRows, 'pivoted 1', 'order', '2 4 3 1', 'sorted'],
  [fourRows, 'pivoted 1', 'order', '1 2 3 4', 'noExchange'],
  [fourRows, 'pivoted 1', 'order', '4 3 2 1', 'otherOrder'],
  [seed100, 'scaled', 'divisor 3', '1', 'sign'],
  [seed100, 'scaled', 'entry 3 6', '1', 'oppositeSign'],      // the divisor's sign dropped, or no division at all
  [seed100, 'scaled', 'entry 3 6', '1', 'unscaled', ['divisor 3']],
  [seed100, 'scaled', 'entry 2 1', '-1', 'sign'],
  [seed100, 'scaled', 'entry 2 1', '-1', 'oppositeSign', ['divisor 2']],
];

test('each slip that students make is named by its rule, and only where one rule fits', needsBuild, () => {
  for (const [run, stageName, key, answer, slip, rightly = []] of readingCases) {
    const m = modelOf(run.program, run.input);
    const k = m.stages.findIndex((s) => [s.id, `${s.id} ${s.column}`].includes(stageName));
    const question = check.questions(m, k, 'all').find((q) => q.key === key);
    assert.deepEqual(check.check(question, { text: answer }, rightly), { right: false, note: null, slip },
                     `${run.input}: ${stageName}, ${key}, ${answer}, after ${rightly}`);
  }
});

// Singular matrices: the printout that first shows A singular (a row of A all
// 0, or a column 0 from the diagonal down), the stage that asks about it, its
// answer by the exact ranks, where practice starts, and the stages left unasked.
const singularCases = [
  // program, input, shown, asked, answer, start (a matrix typed, no exercise finished), unasked from, to
  ['gjinverse', '3\n1 2 3\n2 4 6\n1 1 1\n', 5, 6, 'no', 2, 8, 9],
  ['gjinverse', '3\n1 2 3\n4 5 6\n7 8 9\n', 5, 6, 'no', 2, 7, 9],
  ['gjinverse', '3\n0 0 0\n1 2 3\n4 5 6\n', 0, 1, 'no', 2, 8, 9],
  ['gjinverse', '2\n-8 -2\n-4 -1\n', 3, 4, 'no', 2, 5, 6],
  ['gjsolve', '3\n1 2 3 1\n2 4 6 2\n1 1 1 1\n', 5, 6, 'many', 2, 8, 8],
  ['gjsolve', '3\n1 2 3 1\n2 4 6 5\n1 1 1 1\n', 5, 6, 'zero', 2, 8, 8],
  ['gjsolve', '3\n-4 -4 4 0\n2 0 -1 -6\n-8 -8 8 -3\n', 3, 4, 'zero', 2, 8, 8],
  ['gjinverse', '2\n2 1\n1 3\n', null, null, null, 7, null, null],
];

test('a singular A is asked about right after the printout that shows it, and answered by the exact ranks', needsBuild, () => {
  for (const [program, input, shown, asked, answer, start, first, last] of singularCases) {
    const m = modelOf(program, input);
    const paper = check.paperSingular(m);
    const got = [check.singularShown(m), check.invertibilityStage(m), paper.question?.expected.choice ?? null,
                 check.startStage(m, null, 0, 2), check.unaskedAfterSingular(m)];
    assert.deepEqual(got, [shown, asked, answer, start, first === null ? null : { first, last }], `${program} ${input}`);
    assert.equal(paper.singularFrom, first, `${program} ${input}: the key says singular from the stop`);
    // On paper: the question at its stage; the key framed up to the stop, "singular" there, nothing after.
    const asks = m.stages.slice(1).filter((s) => sheet.sheetDecisions(m, s.k).some((q) => q.kind === 'invertible')).map((s) => s.k);
    const key = sheet.keyStages(m);
    assert.deepEqual([asks, key.at(-1).k, key.filter((s) => s.singular).map((s) => s.k)],
                     [asked === null ? [] : [asked], first ?? m.stages.length - 1, first === null ? [] : [first]], `${program} ${input}: on paper`);
    assert.ok(key.filter((s) => s.framed).every((s) => !m.stages[s.k].rows.flat().some((x) => /inf|nan/.test(x))), `${program} ${input}: a key of numbers`);
    if (asked === null) continue;
    // Started past it, the first stage asked asks it; after a "no", nothing of the inf and nan is asked.
    assert.equal(check.invertibilityStage(m, asked + 1), asked + 1);
    const left = m.stages.slice(1).flatMap((s) => check.questions(m, s.k, 'all').filter((q) => check.askedAfterSingular(m, s.k, q)));
    assert.ok(left.length > 0 && left.every((q) => !/inf|nan/.test(q.expected.printed ?? '')), `${program} ${input}`);
  }
  // The singular exercise that the examples offer is one of the rows above.
  assert.equal(make({ program: 'gjinverse', order: 2, seed: 171672, options: ['singular'], generator: 1 }).input, singularCases[3][1]);
  const typed = modelOf('gjinverse', '2\n2 1\n1 3\n');
  assert.deepEqual([check.startStage(typed, null, 3, 2), check.startStage(typed, { from: 4 }, 0, 2), check.startStage(typed, { own: false }, 0, 2)], [4, 4, 2]);
});
