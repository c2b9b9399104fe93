// What the matrix is, said exactly: row echelon form or not, reduced or not,
// and its pivots. What a reduced matrix means is reading.js's.
import { isZero, isOne } from './numbers.js';

// The columns that hold pivots: those left of the bar, or all without one.
const pivotWidth = (matrix) => matrix.bar ?? matrix.rows[0].length;

// The first column of row left of width that is not 0, or -1.
const leading = (row, width) => {
  for (let c = 0; c < width; c++) if (!isZero(row[c])) return c;
  return -1;
};

// { echelon, reduced, pivots: [{ row, column }] }: the pivots are the leading
// entries left of the bar; the matrix is in row echelon form when they step
// right row by row and the rows without one (0 left of the bar) are below,
// and reduced when moreover each pivot is 1 and alone in its column.
export function shape(matrix) {
  const width = pivotWidth(matrix);
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

const columnList = (columns) => columns.map((c) => c + 1).join(', ');

// Where the matrix stands, in t's language: reduced, echelon or neither, and its pivots' columns.
export function sayShape(t, known) {
  if (!known.echelon) return t('own.shape.neither');
  if (known.pivots.length === 0) return t('own.shape.zero');
  return t(known.reduced ? 'own.shape.reduced' : 'own.shape.echelon', { columns: columnList(known.pivots.map((p) => p.column)) });
}
