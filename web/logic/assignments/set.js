// Problem sets: an assignment of 1 to 12 problems, each with its matrix (drawn
// for each student from the generator, or the teacher's own, the same for
// every student), what is asked of it and its points; the teacher's matrices
// read from what is typed or pasted, several at once, each a problem; and a
// problem packed into a link and read back. assignment.js makes the set an
// assignment (its id, its links, each problem seen alone as an assignment of
// one problem). Nothing here touches the page.
//
// A problem: {
//   matrix   null: drawn from the generator, as an assignment of one problem
//            draws it (program, order, options); else the teacher's own:
//            { kind, rows }, kind 'inverse' (A, whose [A | I] is reduced),
//            'system' ([A | b]) or 'matrix', rows the entries' texts as
//            entryText writes them, A alone for 'inverse'
//   program, order, options   drawn, the generator's; of the teacher's own,
//            the program that runs it (gjinverse for 'inverse', else gjsolve),
//            its rows and no options
//   mode, from, fill, hints, show, arithmetic   what is asked, as the fields
//            of an assignment of one problem name them (assignment.js)
//   points   what it counts for in the set's total: 1 to maxPoints
// }
import { exerciseOptions, fills, programNames, firstAsked } from '../run/share.js';
import { readTyped, plain, format, excerpt, MAX_TYPED } from '../run/exact.js';
import { MAX_ROWS, MAX_COLUMNS } from '../own/limits.js';
// The own way's reader of a matrix, of its part (own-logic): used by ownStart
// alone, which only that part and the teacher's call.
import { readMatrix } from '../own/matrix.js';

export const maxProblems = 12;
export const maxPoints = 100;
export const kinds = ['inverse', 'system', 'matrix'];
const modes = ['stages', 'own'];
const arithmetics = ['page', 'learner'];
// The largest orders that the programs take: an [A | I] of order 10, an [A | b] of order 9.
const programOrders = { inverse: 10, system: 9 };

// The fields of an assignment that are its problem's, not the set's.
export const problemFields = ['program', 'order', 'options', 'matrix', 'mode', 'from', 'fill', 'hints', 'show', 'arithmetic', 'points'];

// A problem with what is not given as an assignment's defaults are (assignment.js):
// drawn, gjinverse of order 3, every stage from the scaling, one row of entries.
export function problem(given = {}) {
  const p = { program: 'gjinverse', order: 3, options: [], matrix: null, mode: 'stages', from: firstAsked, fill: 'row', hints: 3,
              show: false, arithmetic: 'page', points: 1 };
  for (const field of problemFields) if (given[field] !== undefined) p[field] = given[field];
  return p.matrix ? { ...p, ...runOf(p.matrix), options: [] } : p;
}

// The program that runs the teacher's matrix, and its order: its rows.
const runOf = (matrix) => ({ program: matrix.kind === 'inverse' ? 'gjinverse' : 'gjsolve', order: matrix.rows.length });

// The seed of problem i of a set of seed: the set's own for the first, so
// that a set of one draws what an assignment of one problem draws; mixed
// with i for the others, so that two problems alike draw apart.
export function problemSeed(seed, i) {
  if (i === 0) return seed;
  let h = Math.imul(seed ^ Math.imul(i, 0x9e3779b9), 0x85ebca6b) >>> 0;
  h = Math.imul(h ^ (h >>> 13), 0xc2b2ae35) >>> 0;
  return (h ^ (h >>> 16)) >>> 0;
}

// ---- The teacher's matrices ----

// The exact decimal of x, or null where it has none (a denominator with a
// prime other than 2 and 5).
export function decimalOf(x) {
  let [d, twos, fives] = [x.d, 0, 0];
  while (d % 2n === 0n) [d, twos] = [d / 2n, twos + 1];
  while (d % 5n === 0n) [d, fives] = [d / 5n, fives + 1];
  if (d !== 1n) return null;
  const places = Math.max(twos, fives);
  const scaled = (x.n < 0n ? -x.n : x.n) * 10n ** BigInt(places) / x.d;
  const digits = scaled.toString().padStart(places + 1, '0');
  const text = places === 0 ? digits : `${digits.slice(0, -places)}.${digits.slice(-places)}`;
  return (x.n < 0n ? '-' : '') + text;
}

// An entry as the page keeps it, from what was typed and its value: a
// decimal as a decimal (its exact digits: 0.50 is 0.5, 1e3 is 1000), a
// fraction in lowest terms; either way digits, '.', '-' and '/' alone.
export const entryText = (typed, value) => (plain(typed).includes('/') ? null : decimalOf(value)) ?? format(value);

// The value of an entry, as typed anywhere on the page (exact.js's readTyped), or null.
const valueOf = (text) => readTyped(text, MAX_TYPED).value ?? null;

// What a teacher's matrix problem says: { problem: { id, values } }, the
// problem's number (1-based) among its values.
const trouble = (id, values) => ({ problem: { id, values } });

// A pasted line's entries: blanks, tabs, commas, semicolons, a bar, brackets
// and LaTeX's '&' separate them.
const entriesOf = (line) => line.replace(/[|│[\]&,;]/g, ' ').trim().split(/\s+/).filter(Boolean);

// A block's rows of entries: a row a line (LaTeX's "\\" ends one too); the
// own way's form, "m n" then m·n entries, where its first line gives the
// sizes and the lines after it are not rows of that line's length; the
// programs' form, the order then its rows, for an inverse or a system.
function rowsOf(block, kind) {
  const lines = block.split(/\n|\\\\/).map(entriesOf).filter((line) => line.length > 0);
  const [first, rest] = [lines[0], lines.slice(1)];
  const count = (token) => (/^\d{1,2}$/.test(token ?? '') ? Number(token) : null);
  const tokens = rest.flat();
  const even = lines.every((line) => line.length === first.length);
  if (!even && first.length === 2 && count(first[0]) && count(first[1]) && tokens.length === count(first[0]) * count(first[1])) {
    const n = count(first[1]);
    return Array.from({ length: count(first[0]) }, (_, r) => tokens.slice(r * n, (r + 1) * n));
  }
  const width = kind === 'system' ? count(first[0]) + 1 : count(first[0]);
  if (!even && first.length === 1 && width && tokens.length === count(first[0]) * width) {
    return Array.from({ length: count(first[0]) }, (_, r) => tokens.slice(r * width, (r + 1) * width));
  }
  return lines;
}

// Whether rows (of values) end in the identity of their order: an [A | I] pasted whole.
const endsInIdentity = (rows) => rows.every((row, i) => row.length === 2 * rows.length &&
  row.slice(rows.length).every((x, j) => x.n === BigInt(i === j) && x.d === 1n));

// One pasted matrix of kind (block, its text) as problem number k: { matrix }
// or a trouble saying which entry, row or size is wrong.
function matrixOf(block, kind, k) {
  const rows = rowsOf(block, kind);
  const width = rows[0].length;
  const ragged = rows.findIndex((row) => row.length !== width);
  if (ragged >= 0) return trouble('assign.matrix.ragged', { problem: k, row: ragged + 1, count: rows[ragged].length, expected: width });
  const values = [];
  for (const [r, row] of rows.entries()) {
    values.push([]);
    for (const [c, typed] of row.entries()) {
      const value = valueOf(typed);
      if (value === null) return trouble('assign.matrix.entry', { problem: k, row: r + 1, column: c + 1, part: excerpt(typed) });
      values[r].push(value);
    }
  }
  const m = rows.length;
  const whole = kind === 'inverse' && endsInIdentity(values);
  const columns = whole ? width : kind === 'inverse' ? 2 * width : width;
  if (m > MAX_ROWS || columns > MAX_COLUMNS) return trouble('assign.matrix.size', { problem: k, m, n: width, maxRows: MAX_ROWS, maxColumns: MAX_COLUMNS });
  if (kind === 'inverse' && !whole && m !== width) return trouble('assign.matrix.square', { problem: k, m, n: width });
  if (kind === 'system' && width < 2) return trouble('assign.matrix.narrow', { problem: k });
  const kept = values.map((row, r) => row.slice(0, whole ? m : width).map((x, c) => entryText(rows[r][c], x)));
  return { matrix: { kind, rows: kept } };
}

// The teacher's matrices of kind typed or pasted as text, one after another,
// each apart from the next by a blank line, a row a line: { matrices } (at
// least one), or a trouble: { problem: { id, values } } that names the
// problem (first, the number of the first matrix's, then one more each) and
// the entry, row or size that cannot be read.
export function readMatrices(text, kind, first = 1) {
  const blocks = String(text ?? '').replace(/\r\n?/g, '\n').split(/\n[ \t]*\n/).filter((block) => entriesOf(block.replace(/\\\\/g, ' ')).length > 0);
  if (!kinds.includes(kind) || blocks.length === 0) return trouble('assign.matrix.none', {});
  const matrices = [];
  for (const [i, block] of blocks.entries()) {
    const read = matrixOf(block, kind, first + i);
    if (read.problem) return read;
    matrices.push(read.matrix);
  }
  return { matrices };
}

// What keeps this method's stages from being asked of the teacher's matrix
// as problem number k, or null: the programs take an [A | b] of order 1 to 9
// and an A of order 1 to 10, square, with entries they read (decimals: 1/3
// has none).
export function stagesTrouble(matrix, k) {
  const [m, n] = [matrix.rows.length, matrix.rows[0].length];
  const square = matrix.kind === 'system' ? n === m + 1 : n === m;
  if (matrix.kind === 'matrix' || !square || m > programOrders[matrix.kind]) {
    return trouble('assign.matrix.stages', { problem: k, m, n, system: programOrders.system, inverse: programOrders.inverse });
  }
  for (const [r, row] of matrix.rows.entries()) {
    const c = row.findIndex((text) => decimalOf(valueOf(text)) === null);
    if (c >= 0) return trouble('assign.matrix.decimal', { problem: k, row: r + 1, column: c + 1, part: row[c] });
  }
  return null;
}

// The text that the program of the teacher's matrix is given: its order,
// then a row a line, each entry as the decimal that it is.
export const programInput = (matrix) =>
  `${matrix.rows.length}\n${matrix.rows.map((row) => row.map((text) => decimalOf(valueOf(text))).join(' ')).join('\n')}\n`;

// The teacher's matrix as the learner's own operations start from it:
// { matrix, kind } (own/matrix.js's), [A | I] for an inverse. Only where the
// own way's part is there: its own and the teacher's.
export function ownStart(matrix) {
  const { rows, kind } = matrix;
  const read = readMatrix(`${rows.length} ${rows[0].length}\n${rows.map((row) => row.join(' ')).join('\n')}`, kind);
  return { matrix: read.matrix, kind };
}

// The teacher's matrix as text that readMatrices reads back: a row a line.
const matrixLines = (matrix) => matrix.rows.map((row) => row.join(' ')).join('\n');

// Whether matrix is a teacher's matrix as readMatrices gives one, and
// whether this method's stages may be asked of it: { valid, stages }, worked
// out once a matrix (a WeakMap by it): a set's links are made a student at a
// time, each checking every problem, and reading 12 matrices of long entries
// again takes a tenth of a second a link.
const checks = new WeakMap();
function matrixChecks(matrix) {
  if (matrix === null || typeof matrix !== 'object' || !kinds.includes(matrix.kind) || !Array.isArray(matrix.rows) || matrix.rows.length === 0) return { valid: false };
  if (!checks.has(matrix)) {
    const read = readMatrices(matrixLines(matrix), matrix.kind);
    const valid = read.matrices?.length === 1 && JSON.stringify(read.matrices[0]) === JSON.stringify({ kind: matrix.kind, rows: matrix.rows });
    checks.set(matrix, { valid, stages: valid && stagesTrouble(matrix, 1) === null });
  }
  return checks.get(matrix);
}

// Whether p's own fields hold values that a problem may hold: a matrix that
// reads back as it is, this method's stages only where the programs take
// it, and points from 1 to maxPoints. The fields it shares with an
// assignment of one problem are assignment.js's to check.
export function validProblem(p) {
  const points = Number.isInteger(p.points) && p.points >= 1 && p.points <= maxPoints;
  if (p.matrix === null) return points;
  const { valid, stages } = matrixChecks(p.matrix);
  return points && valid && (p.mode === 'own' || stages) &&
    p.program === runOf(p.matrix).program && p.order === runOf(p.matrix).order && p.options.length === 0;
}

// ---- Problems in a link ----

// Entries in 4 bits a character; the last code ends one.
const nibbles = '0123456789.-/';
const end = 15;

// Writes problem p to w: its matrix (the generator's program, order and
// options; or the teacher's kind, sizes and entries), what is asked, its points.
export function writeProblem(w, p) {
  w.bits(Number(p.matrix !== null), 1);
  if (p.matrix === null) {
    w.bits(programNames.indexOf(p.program), 1).uint(p.order);
    exerciseOptions.forEach((o) => w.bits(Number(p.options.includes(o)), 1));
  } else {
    const { kind, rows } = p.matrix;
    w.bits(kinds.indexOf(kind), 2).uint(rows.length).uint(rows[0].length);
    rows.flat().forEach((text) => w.nibbles(text, nibbles, end));
  }
  w.bits(modes.indexOf(p.mode), 1);
  if (p.mode === 'own') w.bits(arithmetics.indexOf(p.arithmetic), 1).bits(Number(p.hints > 0), 1).bits(Number(p.show), 1);
  else w.uint(p.from).bits(fills.indexOf(p.fill), 2).bits(p.hints, 2).bits(Number(p.show), 1);
  w.uint(p.points);
}

// The problem that writeProblem wrote, read from r; throws what the reader
// throws, and for sizes past the limits.
export function readProblem(r) {
  let p;
  if (r.bits(1) === 0) {
    const [program, order] = [programNames[r.bits(1)], r.uint()];
    p = { program, order, options: exerciseOptions.filter(() => r.bits(1) === 1), matrix: null };
  } else {
    const [kind, m, n] = [kinds[r.bits(2)], r.uint(), r.uint()];
    if (!kind || m < 1 || n < 1 || m > MAX_ROWS || n > MAX_COLUMNS) throw new Error('assignment');
    const rows = Array.from({ length: m }, () => Array.from({ length: n }, () => r.nibbles(nibbles, end, MAX_TYPED)));
    p = { matrix: { kind, rows }, ...runOf({ kind, rows }), options: [] };
  }
  const mode = modes[r.bits(1)];
  const asked = mode === 'own'
    ? { arithmetic: arithmetics[r.bits(1)], hints: 3 * r.bits(1), show: r.bits(1) === 1, from: firstAsked, fill: 'row' }
    : { from: r.uint(), fill: fills[r.bits(2)], hints: r.bits(2), show: r.bits(1) === 1, arithmetic: 'page' };
  return { ...p, mode, ...asked, points: r.uint() };
}
