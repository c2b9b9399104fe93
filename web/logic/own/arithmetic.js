// A row operation done exactly, and the learner's own arithmetic of one
// checked against it: each entry exactly, and the slip named where a rule on
// the numbers tells it.
import { readNumber, normalize as plain, shown, ONE, gcd, add, divide, negate, equal } from './numbers.js';
import { MAX_BITS, MAX_DIGITS, finish, subtract } from '../run/exact.js';

// f·x in lowest terms, the gcds taken of the parts crosswise (Henrici), which
// are shorter than the products: an operation on entries of hundreds of
// digits takes half the time it would. A gcd is a piece of work each (see
// exact.js's finish): near the size bound one takes some 20 ms, an entry 80.
function* times(f, x) {
  const g1 = gcd(f.n, x.d);
  yield;
  const g2 = gcd(x.n, f.d);
  yield;
  return { n: (f.n / g1) * (x.n / g2), d: (f.d / g2) * (x.d / g1) };
}

// y + f·x in lowest terms, the gcd again taken of the denominators first.
function* plusTimes(y, f, x) {
  const p = yield* times(f, x);
  const g = gcd(p.d, y.d);
  yield;
  if (g === 1n) return { n: p.n * y.d + y.n * p.d, d: p.d * y.d };
  const t = p.n * (y.d / g) + y.n * (p.d / g);
  const h = gcd(t, g);
  yield;
  return t === 0n ? { n: 0n, d: 1n } : { n: t / h, d: (p.d / g) * (y.d / h) };
}

// Entry c of factor·a + b (b null: factor·a), in pieces.
const entryOf = (a, factor, b, c) => (b === null ? times(factor, a[c]) : plusTimes(b[c], factor, a[c]));

// The entries of factor·a + b, in pieces.
function* combining(a, factor, b = null) {
  const row = [];
  for (let c = 0; c < a.length; c++) row.push(yield* entryOf(a, factor, b, c));
  return row;
}

// The row that op makes of row `row` of rows, in pieces.
function* rowAfter(rows, op, row) {
  if (op.type === 'swap') return rows[op.rows[0] === row ? op.rows[1] : op.rows[1] === row ? op.rows[0] : row];
  if (row !== op.row) return rows[row];
  return yield* (op.type === 'scale' ? combining(rows[row], op.factor) : combining(rows[op.from], op.factor, rows[row]));
}

// The most bits of a numerator or a denominator that the page works with
// (exact.js's MAX_BITS, the run's bound too): about 39,500 digits. The
// method's reduction of a 10 × 20 matrix of the longest entries typed reaches
// 6,600 bits from 200-digit integers, 36,000 from fractions of 99 digits
// over 100; past this bound an operation would take seconds.
const LIMIT = 1n << BigInt(MAX_BITS);
export { MAX_DIGITS };

// Whether an entry of matrix has outgrown MAX_BITS: an operation that made it
// so is refused (own.op.tooLarge), so that repeated factors cannot make
// the arithmetic crawl.
export const tooLarge = (matrix) => matrix.rows.some((row) => row.some((x) => x.n >= LIMIT || -x.n >= LIMIT || x.d >= LIMIT));

// The matrix after op ({ matrix }), or own.op.tooLarge ({ problem }) where
// it outgrows MAX_BITS; in pieces (applyChecked: at once).
export function* applyingChecked(matrix, op) {
  const after = yield* applying(matrix, op);
  return tooLarge(after) ? { problem: { id: 'own.op.tooLarge', values: { digits: MAX_DIGITS } } } : { matrix: after };
}
export const applyChecked = (matrix, op) => finish(applyingChecked(matrix, op));

// The matrix after op, a new value; the rows that op leaves keep their
// arrays; in pieces, a gcd each (apply: at once).
export function* applying(matrix, op) {
  const rows = matrix.rows.slice();
  if (op.type === 'swap') [rows[op.rows[0]], rows[op.rows[1]]] = [rows[op.rows[1]], rows[op.rows[0]]];
  else rows[op.row] = yield* rowAfter(matrix.rows, op, op.row);
  return { rows, bar: matrix.bar };
}
export const apply = (matrix, op) => finish(applying(matrix, op));

// The matrix after each of ops in turn ({ matrix }), in pieces.
export function* applyingAll(matrix, ops) {
  for (const op of ops) matrix = yield* applying(matrix, op);
  return { matrix };
}

// The operation that undoes op: a swap itself, a scale by the inverse, an addition of the opposite multiple.
export const inverse = (op) => (op.type === 'swap' ? op : { ...op, factor: op.type === 'scale' ? divide(ONE, op.factor) : negate(op.factor) });


// The rows that a learner who slipped would have written for row `row`, each
// with its slip, in the order they are told: the old row, the multiple's
// sign flipped, the factor's inverse, another row's entries used. Each is
// [slip, a, factor, b], the row factor·a + b (b null: factor·a), worked out
// entry by entry only as far as it matches.
function slips(rows, op, row) {
  const old = rows[row];
  const found = [['own.slip.oldRow', old, ONE, null]];
  if (op.type === 'swap' || op.row !== row) return found;
  const { factor } = op;
  const others = rows.map((_, k) => k).filter((k) => k !== row && k !== op.from);
  if (op.type === 'scale') {
    found.push(['own.slip.sign', old, negate(factor), null], ['own.slip.inverse', old, divide(ONE, factor), null]);
    for (const k of others) found.push(['own.slip.otherRow', rows[k], factor, null]);
  } else {
    found.push(['own.slip.sign', rows[op.from], negate(factor), old]);
    for (const k of others) found.push(['own.slip.otherRow', rows[k], factor, old], ['own.slip.otherRow', rows[op.from], factor, rows[k]]);
  }
  return found;
}

// Whether text, a decimal, is value rounded: within half a unit of its last
// place, and not value itself (0.333 for 1/3, 0.67 for 2/3).
function rounds(text, value, exact) {
  const places = /^[+-]?\d*\.(\d+)$/.exec(plain(text ?? ''))?.[1].length;
  if (places === undefined || equal(value, exact)) return false;
  const gap = subtract(value, exact);
  return (gap.n < 0n ? -gap.n : gap.n) * 2n * 10n ** BigInt(places) <= gap.d;
}

// The slip of a row whose every wrong entry tells the same thing, with the
// first such column (1-based): each a decimal that rounds the exact value
// (own.slip.rounded, with that value), or, of an addition, the other row's
// entry added without its factor (own.slip.multipleForgotten); else null.
function entrySlip(op, rows, row, typed, values, expected) {
  const wrong = values.flatMap((x, c) => (equal(x, expected[c]) ? [] : [c]));
  if (wrong.every((c) => rounds(typed[c], values[c], expected[c]))) {
    return { slip: 'own.slip.rounded', about: { column: wrong[0] + 1, typed: typed[wrong[0]], exact: shown(expected[wrong[0]]) } };
  }
  const [y, x] = [rows[row], rows[op.from]];
  const bare = (c) => equal(values[c], add(y[c], op.factor.n < 0n ? negate(x[c]) : x[c]));
  if (op.type === 'add' && !equal(op.factor, ONE) && !equal(op.factor, negate(ONE)) && wrong.every(bare)) {
    return { slip: 'own.slip.multipleForgotten', about: { column: wrong[0] + 1, factor: shown(op.factor), from: op.from + 1 } };
  }
  return null;
}

// The learner's row `row` after op, texts as typed (one a column), checked
// against the exact one: { cells: [{ ok, problem? }], right, slip, about? } with
// slip null or the text id of the mistake that the numbers show, about its
// text's values where it has any; in pieces, a gcd each (checkRow: at once).
export const checkRow = (matrix, op, row, texts) => finish(checking(matrix, op, row, texts));
export function* checking(matrix, op, row, texts) {
  const expected = yield* rowAfter(matrix.rows, op, row);
  if (expected === undefined) return { cells: [], right: false, slip: null };
  const typed = Array.isArray(texts) ? texts : [];
  const read = expected.map((_, c) => readNumber(typed[c]));
  const cells = read.map((r, c) => (r.problem ? { ok: false, problem: r.problem } : { ok: equal(r.value, expected[c]) }));
  const right = cells.every((cell) => cell.ok);
  if (right || read.some((r) => r.problem)) return { cells, right, slip: null };
  const values = read.map((r) => r.value);
  for (const [slip, a, factor, b] of slips(matrix.rows, op, row)) {
    let fits = true;
    for (let c = 0; fits && c < values.length; c++) {
      fits = equal(values[c], yield* entryOf(a, factor, b, c));
    }
    if (fits) return { cells, right, slip };
  }
  const named = entrySlip(op, matrix.rows, row, typed, values, expected);
  if (named) return { cells, right, ...named };
  const old = matrix.rows[row];
  const partial = values.every((x, c) => equal(x, expected[c]) || equal(x, old[c]));
  return { cells, right, slip: partial ? 'own.slip.partial' : null };
}
