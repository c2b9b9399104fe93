// What the matrix is, said exactly: row echelon form or not, reduced or not,
// and its pivots. What a reduced matrix means is reading.js's.
import { isZero, isOne } from './numbers.js';

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

// Columns (from 0) as a sentence lists them: "1, 3".
export const columnList = (columns) => columns.map((c) => c + 1).join(', ');

// Where the matrix stands, in t's language: reduced, echelon or neither, and its pivots' columns.
export function sayShape(t, known) {
  if (!known.echelon) return t('own.shape.neither');
  if (known.pivots.length === 0) return t('own.shape.zero');
  return t(known.reduced ? 'own.shape.reduced' : 'own.shape.echelon', { columns: columnList(known.pivots.map((p) => p.column)) });
}
