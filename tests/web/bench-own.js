// Benchmark of the learner's own row operations (web/logic/own/) under node,
// on a 10 × 20 matrix of 40-digit entries (integers, then fractions of 20
// digits over 20): each operation timed as the page does it (read, applied,
// the changed row written by hand checked, once right and once with a slip to
// look for), then the form and the meaning worked out. First 100 operations
// of 40-digit factors on the matrix as typed; then the method's whole
// reduction, whose entries grow to hundreds or thousands of digits; then a
// reading of the reduced matrix typed in full, as long as the page reads,
// checked as a set against the matrix as typed. Prints the
// median, the 95th percentile and the largest (a garbage collection or a
// busy machine makes those). Then work that the page does in pieces between
// frames, each as one task (all its pieces at once) against its longest
// piece: a crafted code graded (its numbers grown near the size bound by
// factors of a thousand digits, then spread over the ten rows, in a code
// within the longest that a page reads) and the longest link opened (380
// operations of factors of 200 digits over 200 on 10 × 20).
//
//   node tests/web/bench-own.js
import { performance } from 'node:perf_hooks';
import { format } from '../../web/logic/run/exact.js';
import { readMatrix } from '../../web/logic/own/matrix.js';
import { apply, checkRow } from '../../web/logic/own/arithmetic.js';
import { shape } from '../../web/logic/own/forms.js';
import { meaning, checkReading, MAX_READING } from '../../web/logic/own/reading.js';
import { hint } from '../../web/logic/own/hints.js';
import { ownGrading } from '../../web/logic/assignments/own-result.js';
import { readingOwnLink, ownFragment } from '../../web/logic/own/link.js';
import { startWork } from '../../web/logic/own/work.js';
import { decodeOps } from '../../web/logic/own/code.js';
import { write } from '../../web/logic/assignments/result-code.js';
import { readOperation } from '../../web/logic/own/operations.js';
// The exercises' seeded generator, so that every run times the same matrices.
import { generator } from '../../web/logic/practice/exercises.js';

const digits = (random, count) => String(1 + Math.floor(random() * 9)) + Array.from({ length: count - 1 }, () => Math.floor(random() * 10)).join('');

function matrixText(random, entry) {
  return `10 20\n${Array.from({ length: 10 }, () => Array.from({ length: 20 }, () => (random() < 0.5 ? '-' : '') + entry(random)).join(' ')).join('\n')}`;
}

const at = (xs, q) => xs.slice().sort((a, b) => a - b)[Math.floor(q * (xs.length - 1))].toFixed(2);
const said = (xs) => `median ${at(xs, 0.5)} ms, 95% ${at(xs, 0.95)} ms, largest ${at(xs, 1)} ms`;

// The time of an operation (typed, or the method's) done on matrix as the page does it, and the matrix after it.
function timed(matrix, typed) {
  const start = performance.now();
  const op = typeof typed === 'string' ? readOperation(typed, 10).op : typed;
  const after = apply(matrix, op);
  const row = op.type === 'swap' ? op.rows[0] : op.row;
  const written = after.rows[row].map(format);
  checkRow(matrix, op, row, written);
  checkRow(matrix, op, row, written.map((x, c) => (c === 0 ? '1' : x)));
  return [performance.now() - start, after];
}

// A warm-up, so that the first figures are not the compiler's.
for (let k = 0, warm = readMatrix(matrixText(generator(1), (r) => digits(r, 40)), 'system').matrix; k < 200; k++) timed(warm, `R1 -> R1 - 3R${k % 9 + 2}`);

for (const [what, entry] of [['40-digit integers', (r) => digits(r, 40)], ['fractions of 20 digits over 20', (r) => `${digits(r, 20)}/${digits(r, 20)}`]]) {
  const random = generator(7);
  const typed = readMatrix(matrixText(random, entry), 'system').matrix;
  const once = Array.from({ length: 100 }, (_, k) => timed(typed, k % 2
    ? `R${k % 10 + 1} -> R${k % 10 + 1} - ${digits(random, 40)}/${digits(random, 40)} R${(k + 3) % 10 + 1}`
    : `R${k % 10 + 1} = ${digits(random, 40)} R${k % 10 + 1}`)[0]);
  const [ops, forms] = [[], []];
  let matrix = typed;
  for (let next = hint(matrix); next !== null; next = hint(matrix)) {
    const [time, after] = timed(matrix, next.op);
    ops.push(time);
    matrix = after;
    const start = performance.now();
    meaning(matrix, 'system', shape(matrix));
    forms.push(performance.now() - start);
  }
  const longest = Math.max(...matrix.rows.flat().map((x) => format(x).length));
  console.log(`${what}:\n  an operation on the matrix as typed: ${said(once)}`);
  console.log(`  the method's ${ops.length} operations, to entries of ${longest} characters: ${said(ops)}`);
  console.log(`  form and meaning after each: ${said(forms)}`);
  // Readings of 2,000 characters: a point of long numbers, directions as many as fit, a sum of many fractions.
  const list = (count, size) => `(${Array.from({ length: 19 }, () => digits(random, size)).join(', ').slice(0, count)})`;
  const readings = [`x = ${list(MAX_READING - 10, 100)}`, `x = ${list(100, 3)}${Array.from({ length: 17 }, (_, k) => ` + t${k}${list(100, 3)}`).join('')}`,
    `x1 = ${Array.from({ length: 180 }, (_, k) => `1/${k + 2}`).join(' + ')}`.slice(0, MAX_READING)];
  const means = meaning(matrix, 'system');
  const checks = readings.flatMap((set) => Array.from({ length: 5 }, () => {
    const start = performance.now();
    checkReading({ set }, typed, means);
    return performance.now() - start;
  }));
  console.log(`  a reading of ${MAX_READING} characters checked: ${said(checks)}`);
}

// The pieces of work of a generator run to its end: [the whole, the longest piece] in ms.
function pieces(work) {
  let [longest, last] = [0, performance.now()];
  const start = last;
  for (let step = work.next(); !step.done; step = work.next()) {
    const now = performance.now();
    longest = Math.max(longest, now - last);
    last = now;
  }
  return [performance.now() - start, Math.max(longest, performance.now() - last)].map((ms) => ms.toFixed(0));
}

{
  const random = generator(11);
  const small = readMatrix(`10 10\n${Array.from({ length: 100 }, () => 1 + Math.floor(random() * 9)).join(' ')}`, 'inverse').matrix;
  const ops = [...Array.from({ length: 12 }, () => `c1:${digits(random, 1000)}`), ...Array.from({ length: 9 }, (_, r) => `a${r + 2}.1:1`)];
  const result = { id: 'WPD0D0R', name: 'Kim', started: 0, handed: 0, stages: [], own: { ops: [], tries: 0, shown: 0, hints: 0, answer: null } };
  for (let k = 0; ; k++) {
    const op = `a${k % 10 + 1}.${(k + 3) % 10 + 1}:-${digits(random, 6)}/${digits(random, 5)}`;
    const next = { ...result.own, ops: [...ops, op].map((o) => ({ op: o, first: ['1', '2', '3'], shown: false })) };
    if (ops.length >= 400 || write({ ...result, own: next }).length > 20000) break;
    ops.push(op);
  }
  result.own.ops = ops.map((o) => ({ op: o, first: ['1', '2', '3'], shown: false }));
  const [whole, longest] = pieces(ownGrading(result, small, 'inverse', 'learner'));
  console.log(`a crafted code of ${ops.length} operations (${write(result).length} characters) graded: one task ${whole} ms, its longest piece ${longest} ms`);
  const typed = readMatrix(matrixText(random, (r) => digits(r, 40)), 'matrix').matrix;
  const long = Array.from({ length: 380 }, (_, k) => `a${k % 10 + 1}.${(k + 1) % 10 + 1}:${digits(random, 200)}/${digits(random, 200)}`).join(',');
  const work = { ...startWork(typed, 'matrix'), ops: decodeOps(long, 10).ops.map((op) => ({ op, written: null })), at: 380 };
  const link = ownFragment(work);
  const [opened, piece] = pieces(readingOwnLink(link));
  console.log(`the longest link (${link.length} characters, 380 operations) opened: one task ${opened} ms, its longest piece ${piece} ms`);
}
