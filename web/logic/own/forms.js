// What the matrix is, said exactly: row echelon form or not, reduced or not,
// its pivots, and once reduced what that means for its kind: the solutions of
// [A | b], the inverse of A in [A | I], the rank of a matrix.
import { negate, shown, ZERO, ONE, isZero, isOne } from './numbers.js';

// The columns left of the bar, or all without one: those of the unknowns, of A.
const pivotWidth = (matrix) => matrix.bar ?? matrix.rows[0].length;

// The first column of row left of width that is not 0, or -1.
const leading = (row, width) => {
  for (let c = 0; c < width; c++) if (!isZero(row[c])) return c;
  return -1;
};

// { echelon, reduced, pivots: [{ row, column }] }, judged over the whole
// matrix, bar or not, as textbooks judge an augmented one: the pivots are the
// rows' leading entries; the matrix is in row echelon form when they step
// right row by row (two in one column do not) and the rows of zeros are
// below, and reduced when moreover each pivot is 1 and alone in its column.
// So the reduced form of a system without solution has a pivot right of the
// bar (0 = 1), and that of [A | I] for a singular A pivots in I's columns.
export function shape(matrix) {
  const width = matrix.rows[0].length;
  const leads = matrix.rows.map((row) => leading(row, width));
  const pivots = [];
  let echelon = true;
  leads.forEach((column, row) => {
    if (column < 0) return;
    if (row > 0 && (leads[row - 1] < 0 || leads[row - 1] >= column)) echelon = false;
    pivots.push({ row, column });
  });
  const reduced = echelon && pivots.every(({ row, column }) =>
    isOne(matrix.rows[row][column]) && matrix.rows.every((other, r) => r === row || isZero(other[column])));
  return { echelon, reduced, pivots };
}

// What the reduced matrix means for its kind, or null before it is reduced:
//   'system':  { kind: 'one', values } | { kind: 'none', row, value } (0-based,
//              the row that says 0 = value) | { kind: 'many', free: [column], solution:
//              [{ constant, terms: [{ free, coefficient }] }] }, x_j = constant
//              + Σ coefficient·(the free variable of column free);
//   'inverse': { kind: 'inverse', inverse } | { kind: 'singular', rank, n };
//   'matrix':  { kind: 'rank', rank, pivotColumns }.
export function meaning(matrix, kind, known = shape(matrix)) {
  if (!known.reduced) return null;
  const { rows } = matrix;
  const width = pivotWidth(matrix);
  const pivotColumns = known.pivots.map((p) => p.column).filter((c) => c < width);
  if (kind === 'inverse') {
    return pivotColumns.length === rows.length ? { kind: 'inverse', inverse: rows.map((row) => row.slice(width)) }
      : { kind: 'singular', rank: pivotColumns.length, n: rows.length };
  }
  if (kind !== 'system') return { kind: 'rank', rank: pivotColumns.length, pivotColumns };
  const none = rows.findIndex((row) => leading(row, width) < 0 && !isZero(row[width]));
  if (none >= 0) return { kind: 'none', row: none, value: rows[none][width] };
  const pivotRow = new Map(known.pivots.map((p) => [p.column, p.row]));
  if (pivotColumns.length === width) return { kind: 'one', values: pivotColumns.map((c) => rows[pivotRow.get(c)][width]) };
  const columns = [...rows[0].keys()].slice(0, width);
  const free = columns.filter((c) => !pivotRow.has(c));
  const solution = columns.map((c) => {
    if (!pivotRow.has(c)) return { constant: ZERO, terms: [{ free: c, coefficient: ONE }] };
    const row = rows[pivotRow.get(c)];
    return { constant: row[width], terms: free.filter((f) => !isZero(row[f])).map((f) => ({ free: f, coefficient: negate(row[f]) })) };
  });
  return { kind: 'many', free, solution };
}

// The names of the free variables, by column: t, s, u, v, w, then t1, t2, ….
function parameters(free) {
  const letters = ['t', 's', 'u', 'v', 'w'];
  return new Map(free.map((c, k) => [c, free.length <= letters.length ? letters[k] : `t${k + 1}`]));
}

// constant + Σ coefficient·name, as a learner writes it: 2 − 3t, t, −1, (1/2)s.
function expression(constant, terms, names) {
  const parts = isZero(constant) && terms.length > 0 ? [] : [shown(constant)];
  for (const { free, coefficient } of terms) {
    const negative = coefficient.n < 0n;
    const size = negative ? negate(coefficient) : coefficient;
    const written = (isOne(size) ? '' : size.d === 1n ? shown(size) : `(${shown(size)})`) + names.get(free);
    parts.push(parts.length === 0 ? (negative ? '\u2212' : '') + written : `${negative ? '\u2212' : '+'} ${written}`);
  }
  return parts.join(' ');
}

const columnList = (columns) => columns.map((c) => c + 1).join(', ');

// What meaning says, in t's language: one sentence.
export function sayMeaning(t, meaning) {
  if (meaning === null) return '';
  const x = (j) => `x${j + 1}`;
  if (meaning.kind === 'one') return t('own.meaning.one', { values: meaning.values.map((v, j) => `${x(j)} = ${shown(v)}`).join(', ') });
  if (meaning.kind === 'none') return t('own.meaning.none', { row: meaning.row + 1, value: shown(meaning.value) });
  if (meaning.kind === 'many') {
    const names = parameters(meaning.free);
    const solution = meaning.solution.map(({ constant, terms }, j) => `${x(j)} = ${expression(constant, terms, names)}`).join(', ');
    return t(meaning.free.length > 1 ? 'own.meaning.many' : 'own.meaning.manyOne', { solution, free: [...names.values()].join(', ') });
  }
  if (meaning.kind === 'inverse') return t('own.meaning.inverse');
  if (meaning.kind === 'singular') return t('own.meaning.singular', { rank: meaning.rank, n: meaning.n });
  return t('own.meaning.rank', { rank: meaning.rank, columns: columnList(meaning.pivotColumns) });
}

// Where the matrix stands, in t's language: reduced, echelon or neither, and its pivots' columns.
export function sayShape(t, known) {
  if (!known.echelon) return t('own.shape.neither');
  if (known.pivots.length === 0) return t('own.shape.zero');
  return t(known.reduced ? 'own.shape.reduced' : 'own.shape.echelon', { columns: columnList(known.pivots.map((p) => p.column)) });
}
