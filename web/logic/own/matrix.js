// The matrix that the learner reduces: { rows, bar }, rows of exact rationals
// and bar the number of columns left of the bar (null without one). Its kind
// says what its columns are: 'matrix' (no right-hand side), 'system' ([A | b],
// bar = n - 1) or 'inverse' ([A | I], bar = n / 2).
import { readNumber, normalize, excerpt, MAX_ENTRY, ONE, ZERO, problem, format } from './numbers.js';

import { MAX_ROWS, MAX_COLUMNS } from './limits.js';

export { MAX_ROWS, MAX_COLUMNS };
// The longest text a matrix is read from: every entry as long as it may be, with room for blanks.
export const MAX_TEXT = MAX_ROWS * MAX_COLUMNS * (MAX_ENTRY + 8) + 64;


// The bar of an m × n matrix of kind.
export const barOf = (kind, n) => (kind === 'system' ? n - 1 : kind === 'inverse' ? n / 2 : null);

// The matrix of kind made of rows, its bar set.
export const made = (rows, kind) => ({ rows, bar: barOf(kind, rows[0].length) });

// rows with the identity of their order appended to each.
const withIdentity = (rows) => rows.map((row, i) => [...row, ...rows.map((_, j) => (i === j ? ONE : ZERO))]);

// A count read from a token: a positive integer of a few digits, else null.
const count = (token) => (token !== undefined && /^\d{1,6}$/.test(token) ? Number(token) : null);

// The blank-separated tokens of text ({ tokens }), or own.matrix.long.
function tokensOf(text) {
  const typed = typeof text === 'string' ? text : '';
  return typed.length > MAX_TEXT ? problem('own.matrix.long', { limit: MAX_TEXT }) : { tokens: normalize(typed).split(/\s+/).filter(Boolean) };
}

// The problem of token k, which should have been a count of rows or columns.
const notCount = (tokens, k) => problem('own.matrix.dimensions', { part: excerpt(tokens[k] ?? '') });

// Whether an m × n matrix (A alone for 'inverse') of kind may be reduced
// here: a problem or null.
function sizeProblem(m, n, kind) {
  const columns = kind === 'inverse' ? 2 * n : n;
  if (m < 1 || n < 1 || m > MAX_ROWS || columns > MAX_COLUMNS) {
    return problem('own.matrix.size', { m, n, maxRows: MAX_ROWS, maxColumns: MAX_COLUMNS });
  }
  if (kind === 'inverse' && m !== n) return problem('own.matrix.square', { m, n });
  if (kind === 'system' && n < 2) return problem('own.matrix.narrow');
  return null;
}

// The m × n matrix of the tokens after the sizes, read exactly: { rows } or
// a problem for the first bad entry, with cells for every bad one (row and
// column 0-based; the problem's values 1-based, for its sentence).
function entries(tokens, m, n) {
  if (tokens.length !== m * n) return problem('own.matrix.count', { expected: m * n, got: tokens.length });
  const rows = [];
  const cells = [];
  for (let r = 0; r < m; r++) {
    rows.push([]);
    for (let c = 0; c < n; c++) {
      const read = readNumber(tokens[r * n + c]);
      if (read.problem) cells.push({ row: r, column: c, problem: read.problem });
      rows[r].push(read.value);
    }
  }
  if (cells.length === 0) return { rows };
  const first = cells[0];
  const at = { row: first.row + 1, column: first.column + 1 };
  // An entry too long is said so, as its cell says it, not as "not a number".
  if (first.problem.id === 'own.number.long') return { ...problem('own.matrix.entryLong', { ...at, ...first.problem.values }), cells };
  return { ...problem('own.matrix.entry', { ...at, part: excerpt(tokens[first.row * n + first.column]) }), cells };
}

// A matrix typed as "m n" then its m·n entries, blank-separated, in rows or
// on one line. For 'inverse' the text gives A (square), and I is appended;
// for 'system' the last column is b. The programs' own form, the order n
// then A (then b in each row, for a system), is read too. Gives { matrix }
// or { problem, cells? }.
export function readMatrix(text, kind = 'matrix') {
  const { tokens, problem: long } = tokensOf(text);
  if (long) return { problem: long };
  const [m, n] = [count(tokens[0]), count(tokens[1])];
  if (m === null) return notCount(tokens, 0);
  // The programs' form: n alone, then n rows (of n + 1 entries for a system).
  const width = kind === 'system' ? m + 1 : m;
  const programs = kind !== 'matrix' && tokens.length === 1 + m * width && !(n !== null && tokens.length === 2 + m * n);
  const [rowsOf, columnsOf] = programs ? [m, width] : [m, n];
  if (columnsOf === null) return notCount(tokens, 1);
  const wrong = sizeProblem(rowsOf, columnsOf, kind);
  if (wrong) return wrong;
  const read = entries(tokens.slice(programs ? 1 : 2), rowsOf, columnsOf);
  if (read.problem) return read;
  return { matrix: made(kind === 'inverse' ? withIdentity(read.rows) : read.rows, kind) };
}

// The matrix of a run of the programs from the text typed into it (the
// order, then A, then b in each row for gjsolve; whatever follows is left),
// exact from the decimals typed: { matrix, kind } or { problem }.
export function fromRun(program, input) {
  const kind = { gjinverse: 'inverse', gjsolve: 'system' }[program];
  if (kind === undefined) return problem('own.run.program', { program: excerpt(String(program)) });
  const { tokens, problem: long } = tokensOf(input);
  if (long) return { problem: long };
  const n = count(tokens[0]);
  if (n === null) return notCount(tokens, 0);
  const width = kind === 'system' ? n + 1 : n;
  const read = readMatrix(`${n} ${width} ${tokens.slice(1, 1 + n * width).join(' ')}`, kind === 'inverse' ? 'inverse' : 'system');
  return read.matrix ? { matrix: read.matrix, kind } : read;
}

// The matrix as text that readMatrix(text, 'matrix') reads back: "m n", then a row a line.
export const matrixText = (matrix) =>
  `${matrix.rows.length} ${matrix.rows[0].length}\n${matrix.rows.map((row) => row.map(format).join(' ')).join('\n')}\n`;
