// Help from the method: the next operation of Gauss-Jordan elimination from
// wherever the learner stands, and how many the method takes from a matrix.
import { applying } from './arithmetic.js';
import { finish } from '../run/exact.js';
import { divide, negate, shown, ONE, isZero, isOne } from './numbers.js';

// The method's next operation on matrix, with its reason ({ id, values },
// rows and columns 1-based), or null once it is reduced (forms.js's shape,
// over the whole matrix): in the first column whose pivot is not done, bring
// a nonzero entry up (a swap), scale it to 1, then clear the rest of its
// column, one operation each.
export function hint(matrix) {
  const { rows } = matrix;
  const width = rows[0].length;
  let r = 0;
  for (let c = 0; c < width && r < rows.length; c++) {
    const below = rows.findIndex((row, i) => i >= r && !isZero(row[c]));
    if (below < 0) continue;
    const values = { column: c + 1, row: r + 1 };
    if (below !== r) return { op: { type: 'swap', rows: [r, below] }, reason: { id: 'own.hint.swap', values: { ...values, from: below + 1 } } };
    if (!isOne(rows[r][c])) {
      const factor = divide(ONE, rows[r][c]);
      return { op: { type: 'scale', row: r, factor }, reason: { id: 'own.hint.scale', values: { ...values, factor: shown(factor) } } };
    }
    const other = rows.findIndex((row, i) => i !== r && !isZero(row[c]));
    if (other >= 0) {
      const factor = negate(rows[other][c]);
      // Row from added or taken away, as a teacher says it, where the factor is 1 or −1.
      const id = isOne(factor) ? 'own.hint.clearAdd' : isOne(negate(factor)) ? 'own.hint.clearSubtract' : 'own.hint.clear';
      return { op: { type: 'add', row: other, from: r, factor }, reason: { id, values: { column: c + 1, row: other + 1, from: r + 1, factor: shown(factor) } } };
    }
    r++;
  }
  return null;
}

// The method's reduction of matrix, in pieces: { count, reduced }, the
// operations it takes and the reduced form.
export function* reducing(matrix) {
  let count = 0;
  for (let next = hint(matrix); next !== null; next = hint(matrix)) {
    matrix = yield* applying(matrix, next.op);
    count++;
  }
  return { count, reduced: matrix };
}

// How many operations the method takes from matrix to its reduced form.
export const methodCount = (matrix) => finish(reducing(matrix)).count;
