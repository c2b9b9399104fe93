// The copies of the learner's work, as the run's copies are made: the
// history as text (each operation in the learner's notation and the page's,
// then the matrix), LaTeX (a chain of matrices, the operation over each
// arrow: displays, or a whole document) and Markdown (a heading a step, the
// matrix a table); each ends with the form the matrix is in and, once it is
// reduced, what that means (unless told not to: a student's assignment before
// the student has read it). Each is handed the translator t of its words.
import { escapeLatex, fractionLatex, arrayLatex, documentLatex } from '../run/copies.js';
import { notation, latex } from './operations.js';
import { apply } from './arithmetic.js';
import { format } from './numbers.js';
import { shape, sayShape } from './forms.js';
import { meaning, sayMeaning } from './reading.js';

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

// The sentences that end a copy: the form of the matrix the work ends at
// and, once reduced, what it means, unless tell is false.
function closing(t, work, end, tell) {
  const known = shape(end);
  return [sayShape(t, known), ...(tell && known.reduced ? [sayMeaning(t, meaning(end, work.kind, known))] : [])];
}

export function copyText(t, work, { tell = true } = {}) {
  const parts = [t('own.copy.title')];
  const made = steps(work);
  made.forEach(({ entry, matrix }, k) => {
    const { heading, typed } = caption(t, entry, k);
    parts.push([typed === null ? heading : `${heading} (${typed})`, ...matrixLines(matrix)].join('\n'));
  });
  parts.push(closing(t, work, made.at(-1).matrix, tell).join('\n'));
  return parts.join('\n\n') + '\n';
}

// The matrix in LaTeX, as the run's copies write one (run/copies.js's arrayLatex).
const matrixLatex = (matrix) => arrayLatex(matrix.rows.map((row) => row.map(fractionLatex)), matrix.rows[0].map((_, c) => c === matrix.bar));

// The work in LaTeX: displays for a document that loads amsmath, or (document) a whole one.
export function copyLatex(t, work, { tell = true, document = false } = {}) {
  const title = escapeLatex(t('own.copy.title'));
  const made = steps(work);
  const displays = made.map(({ entry, matrix }) => `${entry === null ? '' : `\\xrightarrow{${latex(entry.op)}}\n`}${matrixLatex(matrix)}`);
  const words = closing(t, work, made.at(-1).matrix, tell).map(escapeLatex);
  if (document) return documentLatex(title, displays, made[0].matrix.rows[0].length > 10, words);
  const hangul = /[^\x00-\x7f]/.test(words.join(''));
  return [`% ${title}: needs \\usepackage{amsmath}${hangul ? ' and \\usepackage{kotex}' : ''}`, ...displays.map((d) => `\\[\n${d}\n\\]`),
    ...words, ''].join('\n');
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

export function copyMarkdown(t, work, { tell = true } = {}) {
  const names = columnNames(work);
  const parts = [`# ${escapeMarkdown(t('own.copy.title'))}`];
  const made = steps(work);
  made.forEach(({ entry, matrix }, k) => {
    const { heading, typed } = caption(t, entry, k);
    parts.push(`## ${escapeMarkdown(heading)}`);
    if (typed !== null) parts.push(escapeMarkdown(typed));
    parts.push(matrixTable(matrix, names));
  });
  parts.push(closing(t, work, made.at(-1).matrix, tell).map(escapeMarkdown).join('\n\n'));
  return parts.join('\n\n') + '\n';
}
