// A row operation done exactly, and the learner's own arithmetic of one
// checked against it: each entry exactly, and the slip named where a rule on
// the numbers tells it.
import { add, multiply, divide, negate, equal } from '../exact.js';
import { readNumber } from './numbers.js';

const ONE = { n: 1n, d: 1n };

// factor·a + b, entry by entry (b null: factor·a).
const combine = (a, factor, b = null) => a.map((x, c) => (b === null ? multiply(factor, x) : add(b[c], multiply(factor, x))));

// The row that op makes of row `row` of rows.
function rowAfter(rows, op, row) {
  if (op.type === 'swap') return rows[op.rows[0] === row ? op.rows[1] : op.rows[1] === row ? op.rows[0] : row];
  if (row !== op.row) return rows[row];
  return op.type === 'scale' ? combine(rows[row], op.factor) : combine(rows[op.from], op.factor, rows[row]);
}

// The matrix after op, a new value; the rows that op leaves keep their arrays.
export function apply(matrix, op) {
  const rows = matrix.rows.slice();
  if (op.type === 'swap') [rows[op.rows[0]], rows[op.rows[1]]] = [rows[op.rows[1]], rows[op.rows[0]]];
  else rows[op.row] = rowAfter(matrix.rows, op, op.row);
  return { rows, bar: matrix.bar };
}

const same = (a, b) => a.every((x, c) => equal(x, b[c]));

// The rows that a learner who slipped would have written for row `row`, each
// with its slip, in the order they are told: the old row, the multiple's
// sign flipped, the factor's inverse, another row's entries used.
function slips(rows, op, row) {
  const old = rows[row];
  const found = [['own.slip.oldRow', old]];
  if (op.type === 'swap' || op.row !== row) return found;
  const { factor } = op;
  const others = rows.map((_, k) => k).filter((k) => k !== row && k !== op.from);
  if (op.type === 'scale') {
    found.push(['own.slip.sign', combine(old, negate(factor))], ['own.slip.inverse', combine(old, divide(ONE, factor))]);
    for (const k of others) found.push(['own.slip.otherRow', combine(rows[k], factor)]);
  } else {
    found.push(['own.slip.sign', combine(rows[op.from], negate(factor), old)]);
    for (const k of others) found.push(['own.slip.otherRow', combine(rows[k], factor, old)], ['own.slip.otherRow', combine(rows[op.from], factor, rows[k])]);
  }
  return found;
}

// The learner's row `row` after op, texts as typed (one a column), checked
// against the exact one: { cells: [{ ok, problem? }], right, slip } with
// slip null or the text id of the mistake that the numbers show.
export function checkRow(matrix, op, row, texts) {
  const expected = rowAfter(matrix.rows, op, row);
  const typed = Array.isArray(texts) ? texts : [];
  const read = expected.map((_, c) => readNumber(typed[c]));
  const cells = read.map((r, c) => (r.problem ? { ok: false, problem: r.problem } : { ok: equal(r.value, expected[c]) }));
  const right = cells.every((cell) => cell.ok);
  if (right || read.some((r) => r.problem)) return { cells, right, slip: null };
  const values = read.map((r) => r.value);
  const named = slips(matrix.rows, op, row).find(([, made]) => same(made, values));
  if (named) return { cells, right, slip: named[0] };
  const old = matrix.rows[row];
  const partial = values.every((x, c) => equal(x, expected[c]) || equal(x, old[c]));
  return { cells, right, slip: partial ? 'own.slip.partial' : null };
}
