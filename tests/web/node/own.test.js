// The learner's own row operations (web/logic/own/) under node: the grammar
// of every notation and each refusal, the exact application and the check of
// a row written by hand with its slips, the forms and what a reduced matrix
// means (checked by substitution into the matrix as typed), and the link.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { format, add, multiply, equal } from '../../../web/logic/run/exact.js';
import { translator } from '../../../web/logic/language/translate.js';
import { readNumber } from '../../../web/logic/own/numbers.js';
import { read, plain } from '../../../web/logic/practice/check.js';
import { readMatrix, fromRun, matrixText } from '../../../web/logic/own/matrix.js';
import { readOperation, fromButtons, notation, latex } from '../../../web/logic/own/operations.js';
import { apply, checkRow } from '../../../web/logic/own/arithmetic.js';
import { shape, sayShape } from '../../../web/logic/own/forms.js';
import { meaning, reducedOf, sayMeaning, checkReading, readingOf, solutionText, sayVerdict, sayReading, writeReading, readReading, MAX_READING } from '../../../web/logic/own/reading.js';
import { writer, reader } from '../../../web/logic/assignments/packing.js';
import { hint, methodCount } from '../../../web/logic/own/hints.js';
import { generator } from '../../../web/logic/practice/exercises.js';
import { startWork, doOperation, undo, matrixAt } from '../../../web/logic/own/work.js';
import { ownFragment, readOwnLink, readingOwnLink } from '../../../web/logic/own/link.js';
import { ownGrading } from '../../../web/logic/assignments/own-result.js';
import { copyText, copyLatex, copyMarkdown } from '../../../web/logic/own/copies.js';
import { fractionLatex } from '../../../web/logic/run/copies.js';

const en = translator('en');
const said = (read) => (read.op ? notation(read.op) : read.problem.id);
const rows = (matrix) => matrix.rows.map((row) => row.map(format).join(' ')).join(' / ');
const matrixOf = (text, kind = 'matrix') => readMatrix(text, kind).matrix;

// Each notation of the issue, in the page's notation, on a matrix of 3 rows; each refusal by its id.
test('every notation reads as one operation, and each refusal says why', () => {
  const cases = [
    ['R1 <-> R2', 'R1 ↔ R2'], ['R1 ↔ R2', 'R1 ↔ R2'], ['r3<->r1', 'R3 ↔ R1'], ['R1 <--> R2', 'R1 ↔ R2'], ['R2 --> 2R2', 'R2 → 2R2'],
    ['R2 -> 1/2 R2', 'R2 → 1/2 R2'], ['1/2 R2 → R2', 'R2 → 1/2 R2'], ['R2 = R2 / 2', 'R2 → 1/2 R2'],
    ['R2 ← (1/2)R2', 'R2 → 1/2 R2'], ['R2 = -R2', 'R2 → −R2'], ['R2 := R2 ÷ (−4)', 'R2 → −1/4 R2'], ['2R1 -> R1', 'R1 → 2R1'],
    ['R2 -> R2 - 3R1', 'R2 → R2 − 3R1'], ['-3R1 + R2 -> R2', 'R2 → R2 − 3R1'], ['R2 = R2 - 3*R1', 'R2 → R2 − 3R1'],
    ['R2 ← R2 − 3R1', 'R2 → R2 − 3R1'], ['R2 -> R2 + R1/2', 'R2 → R2 + 1/2 R1'], ['R2 <- R2 + 0.25·R3', 'R2 → R2 + 1/4 R3'],
    ['Ｒ２　→　Ｒ２　－　３Ｒ１', 'R2 → R2 − 3R1'], ['R_{3} = R_3 × 2 + R_1', 'own.op.targetScaled'], ['R3 = (R3 + 2R1)', 'R3 → R3 + 2R1'],
    ['', 'own.op.empty'], ['   ', 'own.op.empty'], ['R2 -> 0R2', 'own.op.scaleZero'], ['R2 = R2 / 0', 'own.op.divideZero'],
    ['R2 -> R2 + 3R2', 'own.op.selfAdd'], ['R4 <-> R1', 'own.op.rowPast'], ['R0 -> 2R0', 'own.op.rowPast'],
    ['R1 + R2 -> R1 + R3', 'own.op.twoSides'], ['2R1 = R1 + R2', 'own.op.twoSides'], ['2R1 + R2 -> R1', 'own.op.targetScaled'],
    ['R2<--3R1+R2', 'R2 → R2 − 3R1'], ['R2 <-- 3R1 + R2', 'R2 → R2 + 3R1'], ['R2 → R2 ㅡ 3/-4 R1', 'R2 → R2 + 3/4 R1'],
    ['R1 -> 1 500 R1', 'own.op.sideBySide'], ['R2 → R2 − 3 2R1', 'own.op.sideBySide'], ['R1 -> 1 000 R1', 'own.op.sideBySide'],
    ['R1 <-> R1', 'own.op.sameRow'], ['2R1 <-> R2', 'own.op.notElementary'], ['R1 -> R2', 'own.op.notElementary'],
    ['R1 -> R1 + R2 + R3', 'own.op.notElementary'], ['R1 -> R1 + 2', 'own.op.notElementary'], ['R1*R2 -> R1', 'own.op.notElementary'],
    ['R1 -> R1', 'own.op.nothing'], ['R1 -> R1 + 0R2', 'own.op.nothing'], ['R1 -> R1 + x', 'own.op.unread'],
    ['R1 -> R1 +', 'own.op.unread'], ['swap', 'own.op.unread'], ['R1 -> R2 -> R3', 'own.op.notElementary'],
    ['R1 -> R1 + R2 '.repeat(6000), 'own.op.long'], ['R1 -> ' + '2'.repeat(40000) + 'R1', 'own.op.tooLarge'], ['\u0000\ud800→R1', 'own.op.unread'], [null, 'own.op.empty'],
  ];
  assert.deepEqual(cases.map(([text]) => [text, said(readOperation(text, 3))]), cases);
  assert.deepEqual(readOperation('R1 -> R1 + 2x', 3).problem.values, { part: 'x' });
  assert.deepEqual(readOperation('R9 <-> R1', 3).problem.values, { row: 9, m: 3 });
  assert.deepEqual(readOperation('R1 -> 1 500 R1', 3).problem.values, { part: '1 500' });
  // The page's notation reads back as the same operation.
  for (const [, page] of cases.filter(([, page]) => page.startsWith('R'))) assert.equal(said(readOperation(page, 3)), page);
  const buttons = [[{ type: 'swap', row: 0, from: 2 }, 'R1 ↔ R3'], [{ type: 'scale', row: 1, factorText: '-1/2' }, 'R2 → −1/2 R2'],
    [{ type: 'add', row: 1, from: 0, factorText: '−3' }, 'R2 → R2 − 3R1'], [{ type: 'add', row: 1, from: 1, factorText: '2' }, 'own.op.selfAdd'],
    [{ type: 'scale', row: 3, factorText: '2' }, 'own.op.rowPast'], [{ type: 'scale', row: 0, factorText: 'two' }, 'own.number.unread'],
    [{ type: 'scale', row: 0, factorText: '3/-4' }, 'R1 → −3/4 R1']];
  assert.deepEqual(buttons.map(([b]) => said(fromButtons(b, 3))), buttons.map((c) => c[1]));
  // A fraction in LaTeX, over an arrow as in a matrix (run/copies.js's rule).
  assert.deepEqual([latex(readOperation('R2 -> -1/2 R2', 3).op), fractionLatex({ n: -1n, d: 2n })], ['R_2 \\to -\\frac{1}{2}R_2', '-\\frac{1}{2}']);
});

// One reader of a number for the page: the own way's, practice's (null where
// it reads none, a double for a division by 0) and a teacher's grading, which
// reads the plain text that a code keeps.
test('numbers and matrices are read exactly as typed, the same everywhere, and what cannot be read is refused with its limit', () => {
  const numbers = [['3', '3'], ['-3/4', '-3/4'], ['0.1', '1/10'], ['1e2', '100'], ['.5', '1/2'], ['０．２５', '1/4'], ['−7', '-7'],
    ['ㅡ3', '-3'], ['–3', '-3'], ['(1/2)', '1/2'], ['3/-4', '-3/4'], ['- 3', '-3'], ['½', '1/2'], ['1⁄2', '1/2'],
    ['1 000', 'own.number.unread', 'null'], ['1/0', 'own.number.zeroDenominator', 'Infinity'],
    ['', 'own.number.empty', 'null'], ['abc', 'own.number.unread', 'null'], ['9'.repeat(201), 'own.number.long', 'null']];
  const own = (s) => (readNumber(s).value ? format(readNumber(s).value) : readNumber(s).problem.id);
  const practice = (s) => (read(s) === null ? 'null' : read(s).value ? format(read(s).value) : String(read(s).double));
  assert.deepEqual(numbers.map(([s]) => [s, own(s), own(plain(s)), practice(s)]), numbers.map(([s, v, p = v]) => [s, v, v, p]));
  const matrices = [
    ['2 3\n1 2 3\n4 5 6', 'system', '1 2 3 / 4 5 6'], ['2\n1 2 3\n4 5 6', 'system', '1 2 3 / 4 5 6'],
    ['2 2 1 0.5 -1/3 4', 'inverse', '1 1/2 1 0 / -1/3 4 0 1'], ['1 1 7', 'system', 'own.matrix.narrow'],
    ['11 2', 'matrix', 'own.matrix.size'], ['10 21', 'matrix', 'own.matrix.size'], ['3 3\n1 2', 'matrix', 'own.matrix.count'],
    ['2 3 1 2 3 4 5 6', 'inverse', 'own.matrix.square'], ['x 2', 'matrix', 'own.matrix.dimensions'], ['y'.repeat(10000), 'matrix', 'own.matrix.dimensions'], ['1 1 ' + '9 '.repeat(50000), 'matrix', 'own.matrix.long'], ['1 1 ' + '9'.repeat(250), 'matrix', 'own.matrix.entryLong'],
  ];
  assert.deepEqual(matrices.map(([text, kind]) => { const r = readMatrix(text, kind); return r.matrix ? rows(r.matrix) : r.problem.id; }),
    matrices.map((c) => c[2]));
  const bad = readMatrix('2 2\n1 x\n3 1/0', 'matrix');
  assert.deepEqual([bad.problem, bad.cells.map((c) => [c.row, c.column, c.problem.id])],
    [{ id: 'own.matrix.entry', values: { row: 1, column: 2, part: 'x' } }, [[0, 1, 'own.number.unread'], [1, 1, 'own.number.zeroDenominator']]]);
  const run = fromRun('gjsolve', '2\n0.1 2 3\n4 5 6\n');
  assert.deepEqual([run.kind, rows(run.matrix), run.matrix.bar], ['system', '1/10 2 3 / 4 5 6', 2]);
  assert.equal(rows(matrixOf(matrixText(run.matrix))), rows(run.matrix));
});

// The matrix [1 2 | 3; 4 5 | 6; 7 8 | 9], an operation, the row written, and what the check says.
test('an operation is applied exactly, and a row written by hand is checked cell by cell with its slip', () => {
  const m = matrixOf('3 3\n1 2 3\n4 5 6\n7 8 9', 'system');
  const op = (text) => readOperation(text, 3).op;
  assert.equal(rows(apply(m, op('R2 -> R2 - 4R1'))), '1 2 3 / 0 -3 -6 / 7 8 9');
  assert.equal(rows(apply(m, op('R1 <-> R3'))), '7 8 9 / 4 5 6 / 1 2 3');
  assert.equal(rows(apply(m, op('R3 -> 1/3 R3'))), '1 2 3 / 4 5 6 / 7/3 8/3 3');
  assert.equal(apply(m, op('R2 -> R2 - 4R1')).rows[0], m.rows[0], 'a row left keeps its array');
  const cases = [
    ['R2 -> R2 - 4R1', '0 -3 -6', [true, true, true], null], ['R2 -> R2 - 4R1', '0 -3 -7', [true, true, false], null],
    ['R2 -> R2 - 4R1', '8 13 18', [false, false, false], 'own.slip.sign'], ['R2 -> R2 - 4R1', '4 5 6', [false, false, false], 'own.slip.oldRow'],
    ['R2 -> R2 - 4R1', '-24 -27 -30', [false, false, false], 'own.slip.otherRow'], ['R2 -> R2 - 4R1', '0 5 -6', [true, false, true], 'own.slip.partial'],
    ['R3 -> 1/4 R3', '1.75 2 2.25', [true, true, true], null], ['R3 -> 1/3 R3', '2.333 8/3 3', [false, true, true], 'own.slip.rounded'],
    ['R2 -> R2 - 4R1', '0 3 -6', [true, false, true], 'own.slip.multipleForgotten'], ['R2 -> R2 - 4R1', '0 -3 -6.0001', [true, true, false], null],
    ['R3 -> 1/3 R3', '21 24 27', [false, false, false], 'own.slip.inverse'], ['R3 -> 1/3 R3', '7/3 8 9', [true, false, false], 'own.slip.partial'],
    ['R3 -> -2R3', '14 16 18', [false, false, false], 'own.slip.sign'], ['R3 -> 2R3', '2 4 6', [false, false, false], 'own.slip.otherRow'],
  ];
  for (const [text, typed, ok, slip] of cases) {
    const row = op(text).row;
    const checked = checkRow(m, op(text), row, typed.split(' '));
    assert.deepEqual([checked.cells.map((c) => c.ok), checked.right, checked.slip], [ok, ok.every(Boolean), slip], `${text}: ${typed}`);
  }
  assert.deepEqual(checkRow(m, op('R2 -> 2R2'), 1, ['8', 'ten']).cells.map((c) => c.problem?.id), [undefined, 'own.number.unread', 'own.number.empty']);
});

// A matrix as typed, reduced by the method's hints, its form and what it means;
// every meaning checked against the matrix as typed.
test('the reduced form says one solution, none, infinitely many, the inverse, singular or the rank, exactly', () => {
  const cases = [
    ['3 4\n2 1 -1 8\n-3 -1 2 -11\n-2 1 2 -3', 'system', 'One solution: x1 = 2, x2 = 3, x3 = −1.'],
    ['3 4\n1 2 -1 3\n2 4 1 3\n1 2 0 2', 'system', 'Infinitely many solutions: x1 = 2 − 2t, x2 = t, x3 = −1 (t any real number).'],
    ['2 4\n1 2 3 4\n2 4 6 8', 'system', 'Infinitely many solutions: x1 = 4 − 2t − 3s, x2 = t, x3 = s (t, s any real numbers).'],
    ['3 3\n1 1 2\n1 1 3\n2 0 1', 'system', 'No solution: row 3 says 0 = 1.'],
    ['3 3\n2 0 1\n1 3 2\n1 1 2', 'inverse', 'A is invertible: A⁻¹ stands right of the bar.'],
    ['3 3\n1 2 3\n4 5 6\n7 8 9', 'inverse', 'A is not invertible: its rank is 2, less than 3.'],
    ['2 3\n1 2 3\n2 4 7', 'matrix', 'Rank 2; pivot columns 1, 3.'],
  ];
  for (const [text, kind, words] of cases) {
    const start = matrixOf(text, kind);
    const found = meaning(reducedOf(start), kind);
    assert.equal(sayMeaning(en, found), words);
    const A = start.rows.map((row) => row.slice(0, start.bar ?? row.length));
    const times = (x) => A.map((row) => row.reduce((sum, a, j) => add(sum, multiply(a, x[j])), { n: 0n, d: 1n }));
    if (found.kind === 'one') assert.ok(times(found.values).every((y, i) => equal(y, start.rows[i].at(-1))), text);
    if (found.kind === 'many') {
      for (const pick of [[0n, 0n], [3n, -7n]]) {
        const value = (c) => ({ n: pick[found.free.indexOf(c)], d: 1n });
        const x = found.solution.map(({ constant, terms }) => terms.reduce((s, { free, coefficient }) => add(s, multiply(coefficient, value(free))), constant));
        assert.ok(times(x).every((y, i) => equal(y, start.rows[i].at(-1))), `${text} at ${pick}`);
      }
    }
    if (found.kind === 'inverse') A.forEach((_, j) => assert.ok(times(found.inverse.map((row) => row[j])).every((y, i) => y.n === (i === j ? 1n : 0n))));
  }
  // The forms over the whole matrix, right of the bar too.
  const shapes = [['2 3\n1 2 0\n0 0 1', 'Reduced row echelon form; pivots in columns 1, 3.'],
    ['2 3\n2 2 0\n0 0 1', 'Row echelon form, not yet reduced; pivots in columns 1, 3.'], ['2 3\n0 1 0\n1 0 0', 'Not yet in row echelon form.'],
    ['2 3\n0 0 0\n0 1 0', 'Not yet in row echelon form.'], ['2 3\n1 2 0\n1 0 1', 'Not yet in row echelon form.'],
    ['2 2\n0 0\n0 0', 'Every entry is 0: reduced row echelon form, without pivots.'],
    ['3 4\n1 0 3/5 0\n0 1 1/5 1\n0 0 0 2', 'Row echelon form, not yet reduced; pivots in columns 1, 2, 4.', 'system'],
    ['3 4\n1 0 3/5 0\n0 1 1/5 0\n0 0 0 1', 'Reduced row echelon form; pivots in columns 1, 2, 4.', 'system']];
  assert.deepEqual(shapes.map(([text, , kind]) => [text, sayShape(en, shape(matrixOf(text, kind)))]),
    shapes.map(([text, words]) => [text, words]));
  assert.equal(meaning(matrixOf('2 2\n1 2\n0 1'), 'matrix'), null);
  assert.equal(methodCount(matrixOf('2 2\n0 2\n3 0')), 3);
  assert.deepEqual(['2 2\n1 0\n1 1', '2 2\n1 0\n-1 1', '2 2\n1 0\n2 1'].map((text) => hint(matrixOf(text)).reason.id),
    ['own.hint.clearSubtract', 'own.hint.clearAdd', 'own.hint.clear']);
  assert.equal(sayMeaning(translator('ko'), meaning(matrixOf('2 3\n1 -1/2 0\n0 0 1', 'system'), 'system')), '해가 없습니다. 2행이 0 = 1을 나타냅니다.');
  // An inconsistent system means "no solution" once A is reduced, before its last column is.
  const early = matrixOf('3 4\n1 0 3/5 0\n0 1 1/5 1\n0 0 0 2', 'system');
  assert.deepEqual([shape(early).reduced, sayMeaning(en, meaning(early, 'system'))], [false, 'No solution: row 3 says 0 = 2.']);
  // The Korean that a teacher writes: the rank and its pivot columns, a parameter any real number.
  assert.deepEqual([['2 3\n1 0 3\n0 1 0', 'matrix'], ['2 3\n1 2 3\n0 0 0', 'system']].map(([text, kind]) => sayMeaning(translator('ko'), meaning(matrixOf(text, kind), kind))),
    ['계수(rank)는 2, 피벗이 있는 열은 1, 2열입니다.', '해가 무수히 많습니다: x1 = 3 − 2t, x2 = t (t는 임의의 실수).']);
});

// A reading typed in full, checked as a set against the matrix as typed and
// its reduced form: what is right however it is written, each fault named by
// its id, and what cannot be read by its problem. The page's own writing of
// each meaning (the key's, both forms) reads back as right.
test('a reading typed in full is the same set or says what is wrong', () => {
  const matrices = {
    family: ['3 6\n1 2 0 1 0 4\n2 4 1 3 0 9\n1 2 1 2 1 6', 'system'], one: ['2 3\n1 1 3\n1 -1 1', 'system'], none: ['2 3\n1 1 3\n2 2 1', 'system'],
    inverse: ['2 2\n2 1\n1 1', 'inverse'], singular: ['2 2\n1 2\n2 4', 'inverse'], rank: ['2 3\n1 2 3\n2 4 7', 'matrix'],
    // Six free variables: parameters t1 .. t6.
    wide: ['1 8\n1 1 1 1 1 1 1 1', 'system'] };
  const cases = [
    ['family', { set: 'x1 = 4 - 2a - b, x2 = a, x3 = 1 - b, x4 = b, x5 = 1' }, 'right'],
    ['family', { set: 'x = (2, 1, 1, 0, 1) + λ(-4, 2, 0, 0, 0) + μ(-3, 1, -1, 1, 0) (λ, μ ∈ ℝ)' }, 'right'],
    ['family', { set: 'x1 = 4 - 2x2 - x4, x2 free, x3 = 1 - x4, x5 = 1' }, 'right'], ['family', { set: 'x1 = 4 - 2x2 - x4, x2, x4 free, x3 = 1 - x4, x5 = 1' }, 'right'],
    // Words about the parameters, in their clause or after a term; a word in place of a term is none of them.
    ['family', { set: '(4, 0, 1, 0, 1) + s(-2, 1, 0, 0, 0) + t(-1, 0, -1, 1, 0) where s and t are real' }, 'right'],
    ['family', { set: '4 - 2s - t, s, 1 - t, t, 1, s, t ∈ R' }, 'right'], ['family', { set: 'x1 = 4 - 2s - t, x2 = s, x3 = 1 - t, x4 = t, x5 = 1 for all s, t' }, 'right'],
    ['family', { set: '[4 0 1 0 1] + (1/2)s[-4 2 0 0 0] + t[-1 0 -1 1 0]' }, 'right'],
    ['family', { set: '(x2, x1, x3, x4, x5) = (0, 4, 1, 0, 1) + t1(1, -2, 0, 0, 0)\n + t2(0, -1, -1, 1, 0)' }, 'right'],
    ['family', { set: 'x = (4, 0, 1, 0, 2) + s(-2, 1, 0, 0, 0) + t(-1, 0, -1, 1, 0)' }, 'wrong.point'],
    ['family', { set: 'x = (4, 0, 1, 0, 1) + s(-2, 1, 0, 0, 0)' }, 'wrong.missing'],
    ['family', { set: 'x = (4, 0, 1, 0, 1) + s(-2, 1, 0, 0, 0) + t(-4, 2, 0, 0, 0)' }, 'wrong.missing'],
    ['family', { set: 'x = (4, 0, 1, 0, 1) + s(-2, 1, 0, 0, 0) + t(-1, 0, -1, 1, 0) + r(-3, 1, -1, 1, 0)' }, 'wrong.tooMany'],
    ['family', { set: 'x = (4, 0, 1, 0, 1) + s(-2, 1, 0, 0, 0) + t(-1, 0, -1, 1, 1)' }, 'wrong.direction'],
    ['family', { set: 'no solution' }, 'wrong.consistent'], ['family', { set: '(4, 0, 1, 0, 1)' }, 'wrong.family'],
    ['family', { set: 'x1 = 4 - 2t, x2 = 임의' }, 'problem.parameter'], ['family', { set: 'x1 = 4 - 2t#' }, 'problem.unread'],
    ['family', { set: 'x1 = 4 - t*s' }, 'problem.nonlinear'], ['family', { set: 'x = (4, 0, 1) + t(1, 2, 3)' }, 'problem.count'],
    ['family', { set: 'x1 = 4 - 2x2 - x4, x3 = 1 - x4' }, 'problem.missing'], ['family', { set: 'x1 = 1, x1 = 2' }, 'problem.twice'],
    ['family', { set: 'x1 = 4 - 2 3t' }, 'problem.adjacent'], ['family', { set: 'x1 = 1, x6 = 2' }, 'problem.noVariable'],
    ['family', { set: '('.repeat(9) + ')'.repeat(9) }, 'problem.unread'], ['family', { set: 'x'.repeat(2001) }, 'problem.long'],
    // Blanks part entries only between numbers: "4 -2" is two entries, "4 - 2" one.
    ['family', { set: '[4 0 1 0 1] + s[-2 1 0 0 0] + t[-1 0 -1 1 0]' }, 'right'], ['family', { set: '[4 0 1 0 2 - 1] + s[-2 1 0 0 0] + t[-1 0 -1 1 0]' }, 'right'],
    ['family', { set: '[4 0 1 0 1 -1] + s[-2 1 0 0 0] + t[-1 0 -1 1 0]' }, 'problem.lengths'],
    // A product is read left to right, a division by a number alone: 3/2 t is (3/2)t, and 1/t is refused.
    ['family', { set: 'x1 = 4 - 4/2 t - s, x2 = t, x3 = 1 - s, x4 = s, x5 = 1' }, 'right'], ['family', { set: 'x1 = 4 - 2/t' }, 'problem.nonlinear'],
    ['family', { set: 'x1 = 4 - 2t - s, x2 = t, x3 = 1 - s, x4 = s, x5 = 1/0' }, 'problem.zero'],
    ['family', { set: 'x₁ = 4 − 2t − s; x₂ = t; x₃ = 1 − s; x₄ = s; x₅ = 1 (t, s는 임의의 실수)' }, 'right'],
    ['family', { set: 'x_{1} = 4 - 2x_2 - x_4\nx_3 = 1 - x_4\nx_5 = 1' }, 'right'], ['family', { set: 'x1 = 4 - 2x2 - x4, x2 = 2x1' }, 'problem.missing'],
    ['family', { set: 'x1 = 4 - 2x2 - x4, x2 = x3, x3 = 1 - x4, x5 = 1' }, 'problem.circular'],
    ['family', { set: 'x = (4, 0, 1, 0, 1) + t(-2, 1, 0, 0, 0) + t(-1, 0, -1, 1, 0)' }, 'wrong.missing'],
    ['family', { set: 'x = (4, 0, 1, 0, 1) + (-2, 1, 0, 0, 0)(-1, 0, -1, 1, 0)' }, 'problem.nonlinear'], ['family', { set: '(4, 0) + 1' }, 'problem.lengths'],
    ['one', { set: 'x1 = 2, x2 = 1' }, 'right'], ['one', { set: '2, 1' }, 'right'], ['one', { set: 'x = 2, y = 1' }, 'right'],
    ['one', { set: 'x1 = 2, x2 = 2' }, 'wrong.values'], ['one', { set: 'x1 = 2 + t, x2 = 1' }, 'wrong.oneOnly'], ['one', { set: null }, 'wrong.consistent'],
    ['one', { choice: 'one', values: ['2', '1.0'] }, 'right'], ['one', { choice: 'many', values: null }, 'wrong'],
    ['none', { set: null }, 'right'], ['none', { set: '해가 없음' }, 'right'], ['none', { set: 'x1 = 3 - t, x2 = t' }, 'wrong.inconsistent'],
    ['inverse', { inverse: '1 -1\n-1 2' }, 'right'], ['inverse', { inverse: '1, -1; -1, 3' }, 'wrong.entries'], ['inverse', { inverse: null }, 'wrong.invertible'],
    ['inverse', { inverse: '1 -1' }, 'problem.shape'], ['inverse', { inverse: '1 x\n1 1' }, 'problem.entry'],
    ['singular', { inverse: null }, 'right'], ['singular', { inverse: '1 0\n0 1' }, 'wrong.singular'],
    ['rank', { rank: '2', columns: '1열, 3열' }, 'right'], ['rank', { rank: '3', columns: '1 2' }, 'wrong.rank wrong.columnMissing wrong.columnExtra'],
    ['rank', { rank: 'two', columns: '1' }, 'problem.rank'], ['rank', { rank: '2', columns: 'first' }, 'problem.columns'],
    // A reading of another kind's form is none.
    ['inverse', { set: 'x1 = 1, x2 = 1' }, 'problem.empty'], ['one', { rank: '2', columns: '1, 2' }, 'problem.empty'], ['rank', { inverse: null }, 'problem.empty'],
  ];
  const reduced = Object.fromEntries(Object.entries(matrices).map(([name, [text, kind]]) => {
    const start = matrixOf(text, kind);
    return [name, { start, means: meaning(reducedOf(start), kind) }];
  }));
  const verdict = (name, reading) => {
    const v = checkReading(reading, reduced[name].start, reduced[name].means);
    return v.problem ? v.problem.id.replace('own.reading.', 'problem.') : v.right ? 'right' : ['wrong', ...v.wrong.map((w) => w.id.replace('own.reading.', ''))].slice(v.wrong.length ? 1 : 0).join(' ');
  };
  assert.deepEqual(cases.map(([name, reading]) => [name, reading, verdict(name, reading)]), cases);
  // Each verdict and problem said whole in both languages: every placeholder given its value.
  for (const code of ['en', 'ko']) {
    for (const [name, reading] of cases) assert.doesNotMatch(sayVerdict(translator(code), checkReading(reading, reduced[name].start, reduced[name].means)), /[{}]|undefined/);
  }
  // Each reading through a code's bits and back, as long as a code carries one; one longer is refused.
  const longest = [{ set: 'x'.repeat(MAX_READING) }, { inverse: '1/3 '.repeat(MAX_READING / 4) }];
  for (const reading of [...cases.map(([, r]) => r).filter((r) => !Object.values(r).some((v) => v?.length > MAX_READING)), ...longest]) {
    const w = writeReading(writer(), reading).bits(5, 3);
    const r = reader(w.bytes());
    assert.deepEqual([readReading(r), r.bits(3)], [reading, 5]);
  }
  assert.throws(() => readReading(reader(writeReading(writer(), { inverse: '1'.repeat(MAX_READING + 1) }).bytes())), /long/);
  // The drill-down's words for what the student read.
  assert.deepEqual([{ set: 'x1 = 2' }, { set: null }, { inverse: '1 2\n3 4' }, { inverse: null }, { rank: '2', columns: '1, 3' }, { choice: 'one', values: ['2', '1'] }, null]
    .map((reading) => sayReading(translator('ko'), reading)), ['x1 = 2', '해가 없음', '1 2; 3 4', 'A는 역행렬이 없음', '계수 2, 피벗이 있는 열 1, 3', '해가 하나뿐: x1 = 2, x2 = 1', '답하지 않음']);
  for (const [name, { means }] of Object.entries(reduced)) {
    assert.equal(verdict(name, readingOf(means)), 'right', name);
    if (means.solution) assert.equal(verdict(name, { set: solutionText(means, 'vector').text }), 'right', name);
  }
  assert.equal(solutionText(reduced.family.means, 'vector').text, 'x = (4, 0, 1, 0, 1) + t(−2, 1, 0, 0, 0) + s(−1, 0, −1, 1, 0)');
  const { start, means } = reduced.family;
  assert.deepEqual(['en', 'ko'].map((code) => sayVerdict(translator(code), checkReading({ set: 'x = (4, 0, 1, 0, 2) + t(-2, 1, 0, 0, 0)' }, start, means))), [
    'Not right. The point (4, 0, 1, 0, 2), where every parameter is 0, does not solve equation 3.',
    '틀렸습니다. 매개변수가 모두 0일 때의 점 (4, 0, 1, 0, 2)는 3번째 방정식을 만족하지 않습니다.']);
});

test('a link reopens the work where it was, and a damaged one opens what could be read', () => {
  let work = startWork(matrixOf('2 3\n1/2 2 3\n4 5 6', 'system'), 'system');
  for (const text of ['R1 <-> R2', 'R2 -> 2R2', 'R2 -> R2 - 1/4 R1']) work = doOperation(work, readOperation(text, 2).op, text);
  work = undo(work);
  const back = readOwnLink(ownFragment(work));
  assert.deepEqual([back.problem, back.work.kind, back.work.at, back.work.ops.length, rows(back.matrix), rows(back.work.start)],
    [null, 'system', 2, 3, rows(matrixAt(work)), '1/2 2 3 / 4 5 6']);
  const damaged = readOwnLink(ownFragment(work).replace('s1.2', 's1.1'));
  assert.deepEqual([damaged.problem, damaged.work.ops.length], [{ id: 'own.link.ops', values: { read: 0, total: 3 } }, 0]);
  for (const hash of ['#ownway&kind=system&m=2%203%0A1%20x', '#ownway&m=%E0%A4%A', '#ownway', '#ownway&m=' + 'x'.repeat(300000)])
    assert.deepEqual([readOwnLink(hash).work, readOwnLink(hash).problem.id], [null, 'own.link.matrix'], hash.slice(0, 40));
  const huge = readOwnLink(`#ownway&kind=matrix&m=1%201%0A1&ops=${Array(250).fill(`c1:${'9'.repeat(190)}`).join(',')}`);
  assert.deepEqual([huge.problem.id, huge.work.ops.length < 250, rows(huge.matrix)], ['own.link.ops', true, rows(matrixAt(huge.work))]);
  work = doOperation(work, readOperation('R2 = R2 - 3*R1', 2).op, 'R2 = R2 - 3*R1');
  assert.match(copyText(en, work), /\nOperation 3: R2 → R2 − 3R1 \(typed as R2 = R2 - 3\*R1\)\n\[   4    5  \|   6 \]\n\[ -11  -11  \| -12 \]\n\nNot yet in row echelon form\.\n$/);
  assert.match(copyMarkdown(en, work), /## Operation 1: R1 ↔ R2\n\ntyped as R1 \\<-\\> R2\n\n\|  \| x1 \| x2 \| b \|\n.*\n\| R1 \| 4 \| 5 \| 6 \|/);
  assert.match(copyLatex(en, work), /\\xrightarrow\{R_2 \\to 2R_2\}\n\\left\[\\begin\{array\}\{rr\|r\}\n4 & 5 & 6 \\\\\n1 & 4 & 6\n/);
});

// A 10 × 20 matrix of 40-digit entries, reduced by following the hints to the
// end: each hint typed back, built with buttons and kept in a link reads as
// the same operation (a factor of hundreds of digits among them).
test('every hint of a reduction of 10 × 20 with 40-digit entries can be typed back, built with buttons and linked', () => {
  const random = generator(49);
  const entry = () => (random() < 0.5 ? '-' : '') + String(1 + Math.floor(random() * 9)) + Array.from({ length: 39 }, () => Math.floor(random() * 10)).join('');
  const start = matrixOf(`10 20\n${Array.from({ length: 10 }, () => Array.from({ length: 20 }, entry).join(' ')).join('\n')}`);
  let [work, m] = [startWork(start, 'matrix'), start];
  for (let next = hint(m); next; next = hint(m)) {
    const typed = notation(next.op);
    const { type, rows: [row, from] = [next.op.row, next.op.from], factor } = next.op;
    const buttons = fromButtons({ type, row, from, factorText: factor && format(factor) }, 10);
    assert.deepEqual([said(readOperation(typed, 10)), said(buttons)], [typed, typed]);
    [work, m] = [doOperation(work, next.op, typed), apply(m, next.op)];
  }
  assert.ok(shape(m).reduced && work.ops.some(({ written }) => written.length > 443), 'reduced, past a factor of 443 characters');
  assert.deepEqual(readOwnLink(ownFragment(work)).work.ops.map(({ op }) => notation(op)), work.ops.map(({ op }) => notation(op)));
});

// A crafted code or link holds no task: its replay comes in pieces of one gcd,
// 2 an entry scaled and 3 or 4 an entry added, on 2 × 20 of 40-digit entries.
test('an own result is graded and a link read in pieces of a gcd each', () => {
  const start = matrixOf(`2 20\n${Array.from({ length: 40 }, (_, k) => `${k + 1}${'3'.repeat(39)}`).join(' ')}`);
  const ops = [`c1:${'7'.repeat(1000)}`, 'a2.1:-3/4', 'a1.2:5'];
  const result = (list) => ({ own: { ops: list.map((op) => ({ op, first: ['1'], shown: false })), tries: 0, shown: 0, hints: 0, answer: null } });
  const count = (pieces) => { let k = 0; while (!pieces.next().done) k++; return k; };
  const graded = count(ownGrading(result(ops), start, 'matrix', 'learner')) - count(ownGrading(result([]), start, 'matrix', 'learner'));
  const linked = readOwnLink(`#ownway&kind=matrix&m=${encodeURIComponent(matrixText(start))}&ops=${ops.join(',')}`);
  assert.deepEqual([graded >= 160, count(readingOwnLink(ownFragment(linked.work))) >= 160, linked.work.ops.length], [true, true, 3]);
});
