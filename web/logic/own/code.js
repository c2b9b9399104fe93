// The learner's operations in a link, compactly (limits.js's form), joined by commas.
import { format, divide } from './numbers.js';
import { compactOp, MAX_OPS } from './limits.js';

export { MAX_OPS };

// One operation in the compact form.
export function compact(op) {
  if (op.type === 'swap') return `s${op.rows[0] + 1}.${op.rows[1] + 1}`;
  if (op.type === 'scale') return `c${op.row + 1}:${format(op.factor)}`;
  return `a${op.row + 1}.${op.from + 1}:${format(op.factor)}`;
}

// The operations in force of work, compactly.
export const encodeOps = (work) => work.ops.slice(0, work.at).map(({ op }) => compact(op)).join(',');

// One compact operation on a matrix of m rows, or null where it is none:
// a row past m, a swap or an addition of a row with itself, a factor of 0.
function expand(text, m) {
  const match = compactOp.exec(text);
  if (match === null) return null;
  const [, letter, i, j, factorText] = match;
  const [n, d = '1'] = factorText?.split('/') ?? [];
  const type = { s: 'swap', c: 'scale', a: 'add' }[letter];
  const [row, from] = [i - 1, j - 1];  // from NaN without j
  // A factor may be longer than an entry typed (a product of two typed fractions).
  const factor = n === undefined ? null : divide({ n: BigInt(n), d: 1n }, { n: BigInt(d), d: 1n });
  const within = (k) => k >= 0 && k < m;
  const rows = within(row) && (type === 'scale' ? j === undefined : within(from) && from !== row);
  if (!rows || (type === 'swap' ? n !== undefined : factor === null || factor.n === 0n)) return null;
  return type === 'swap' ? { type, rows: [row, from] } : type === 'scale' ? { type, row, factor } : { type, row, from, factor };
}

// The operations of text on a matrix of m rows, up to the first that cannot
// be read: { ops, total } (total the pieces in text; ops.length < total when
// one is damaged, or past MAX_OPS).
export function decodeOps(text, m) {
  const pieces = typeof text === 'string' && text !== '' ? text.split(',') : [];
  const ops = [];
  for (const piece of pieces.slice(0, MAX_OPS)) {
    const op = expand(piece, m);
    if (op === null) break;
    ops.push(op);
  }
  return { ops, total: pieces.length };
}
