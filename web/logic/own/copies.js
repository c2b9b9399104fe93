// The copies of the learner's work, as the run's copies are made: the
// history as text (each operation in the learner's notation and the page's,
// then the matrix), LaTeX (a chain of matrices, the operation over each
// arrow) and Markdown (a heading a step, the matrix a table). Each is handed
// the translator t of its words.
import { escapeLatex, fractionLatex } from '../run/copies.js';
import { notation, latex } from './operations.js';
import { apply } from './arithmetic.js';
import { format } from './numbers.js';

// The matrices of work's steps: the start, then one after each operation in
// force, with the operation that made it ({ op, written } or null).
function steps(work) {
  const made = [{ entry: null, matrix: work.start }];
  for (const entry of work.ops.slice(0, work.at)) made.push({ entry, matrix: apply(made.at(-1).matrix, entry.op) });
  return made;
}

// What a step is called: the start, or its operation in the page's notation
// and, where it was typed otherwise, as the learner typed it.
function caption(t, entry, k) {
  if (entry === null) return { heading: t('own.copy.start'), typed: null };
  const own = notation(entry.op);
  const typed = entry.written !== null && entry.written.trim() !== own ? t('own.copy.typed', { written: entry.written.trim() }) : null;
  return { heading: t('own.copy.step', { k, notation: own }), typed };
}

// The matrix as lines of text, each column as wide as its widest entry, the bar as |.
function matrixLines(matrix) {
  const cells = matrix.rows.map((row) => row.map(format));
  const widths = cells[0].map((_, c) => Math.max(...cells.map((row) => row[c].length)));
  return cells.map((row) => `[ ${row.map((x, c) => (c === matrix.bar ? '| ' : '') + x.padStart(widths[c])).join('  ')} ]`);
}

export function copyText(t, work) {
  const parts = [t('own.copy.title')];
  steps(work).forEach(({ entry, matrix }, k) => {
    const { heading, typed } = caption(t, entry, k);
    parts.push([typed === null ? heading : `${heading} (${typed})`, ...matrixLines(matrix)].join('\n'));
  });
  return parts.join('\n\n') + '\n';
}

// The matrix in LaTeX: a bmatrix, or with a bar an array between brackets.
function matrixLatex(matrix) {
  const body = matrix.rows.map((row) => row.map(fractionLatex).join(' & ')).join(' \\\\\n');
  if (matrix.bar === null) return `\\begin{bmatrix}\n${body}\n\\end{bmatrix}`;
  const columns = matrix.rows[0].map((_, c) => (c === matrix.bar ? '|r' : 'r')).join('');
  return `\\left[\\begin{array}{${columns}}\n${body}\n\\end{array}\\right]`;
}

export function copyLatex(t, work) {
  const title = t('own.copy.title');
  const displays = steps(work).map(({ entry, matrix }) =>
    `\\[\n${entry === null ? '' : `\\xrightarrow{${latex(entry.op)}}\n`}${matrixLatex(matrix)}\n\\]`);
  return [`% ${escapeLatex(title)}: needs \\usepackage{amsmath}`, ...displays, ''].join('\n');
}

const escapeMarkdown = (text) => text.replace(/[\\`*_<>$|[\]]/g, '\\$&');

// The headers of the matrix's columns: x1 … b for a system, A1 … I1 … for [A | I], C1 … else.
function columnNames(work) {
  const n = work.start.rows[0].length;
  const bar = work.start.bar;
  return Array.from({ length: n }, (_, c) => {
    if (work.kind === 'system') return c < bar ? `x${c + 1}` : 'b';
    if (work.kind === 'inverse') return c < bar ? `A${c + 1}` : `I${c - bar + 1}`;
    return `C${c + 1}`;
  });
}

function matrixTable(matrix, names) {
  const lines = [`|  | ${names.join(' | ')} |`, `| --- |${names.map(() => ' ---: |').join('')}`];
  matrix.rows.forEach((row, r) => lines.push(`| R${r + 1} | ${row.map(format).join(' | ')} |`));
  return lines.join('\n');
}

export function copyMarkdown(t, work) {
  const names = columnNames(work);
  const parts = [`# ${escapeMarkdown(t('own.copy.title'))}`];
  steps(work).forEach(({ entry, matrix }, k) => {
    const { heading, typed } = caption(t, entry, k);
    parts.push(`## ${escapeMarkdown(heading)}`);
    if (typed !== null) parts.push(escapeMarkdown(typed));
    parts.push(matrixTable(matrix, names));
  });
  return parts.join('\n\n') + '\n';
}
