// The copies of a run: the forms that people carry elsewhere, all drawn from
// its model (model.js): LaTeX (the chain of printouts as augmented matrices, an
// arrow carrying each stage's row operations), Markdown (a heading, the
// commentary, the operations and a math block per stage) and one printout as a
// table (HTML and tab-separated text). Also what the copies share with the
// views that draw a printout (the stages' tables, practice, worksheets): its
// headers, and the layout facts that the tables' summaries say. Nothing here
// touches the page, so that node can test it; what words something is handed
// the translator (translate.js), or the language code, of its words.
//
// Options of latex() and markdown():
//   values      'printed' (as the transcript prints them) or 'exact' (fractions,
//               rounding residues as 0, where the run has exact values)
//   commentary  'none', 'printed' (the Korean line as printed) or 'gloss' (its
//               English gloss); the copy's other words (headings, operations)
//               are in the commentary's language, or in language without one
//   language    the page's language, 'ko' or 'en'
//   shape       latex() only: 'fragment' (displays for a document that loads
//               amsmath) or 'document' (a whole article that compiles as it is)
//   stage       latex() only: the index of the one stage to give, or null for all
import { text, translator } from '../language/translate.js';
import { stageName, stageHeading, values as opValues, operations } from './words.js';
import { entry, residue, isZero, isNonFinite, exactNumbers } from './model.js';
import { format } from './exact.js';

const wide = 48;      // characters of entries in a row past which a printout gets lines of its own
const opsPerLine = 4; // operations in a line of text, for such a printout
const landscape = 100; // characters of entries in a row past which a document turns its A4 sideways

// ---- Layout of a printout ----

// Whether printout column c starts a block after another: the bar stands before it.
const barBefore = (cols, c) => c > 0 && cols[c].block !== cols[c - 1].block;

// The headers of stage k's table, worded by t: per column { shown: 'A2',
// spoken: 'A, column 2', bar }, per row { shown: 'R1', spoken } (for the
// unknowns, 'x1 =').
export function headers(t, m, k) {
  const stage = m.stages[k];
  const cols = stage.columns;
  return {
    columns: cols.map((col, c) => ({
      shown: col.block === 'b' ? 'b' : col.block + col.j,
      spoken: col.block === 'b' ? t('table.rhs') : t('table.column', { block: col.block, j: col.j }),
      bar: barBefore(cols, c),
    })),
    rows: stage.rows.map((_, r) => (stage.unknowns
      ? { shown: t('stage.unknown', { j: r + 1 }), spoken: t('stage.unknown', { j: r + 1 }) }
      : { shown: `R${r + 1}`, spoken: t('table.row', { i: r + 1 }) })),
  };
}

// Whether entry r, c of stage k prints as 0 or is a rounding residue (exactly 0).
function zeroAt(m, k, r, c) {
  if (isZero(m.stages[k].rows[r][c])) return 'printed';
  return residue(m, k, r, c) ? 'residue' : false;
}

// What a square block from printout column from (0-based) is: 'identity',
// 'diagonal', 'upper' (triangular) or null, and whether that needed residues as 0.
function blockKind(m, k, from) {
  const rows = m.stages[k].rows;
  let ones = true;
  const below = { zero: true, residues: false };
  const above = { zero: true, residues: false };
  rows.forEach((row, r) => rows.forEach((_, j) => {
    if (r === j) { ones = ones && row[from + j] === '1'; return; }
    const zero = zeroAt(m, k, r, from + j);
    const side = r > j ? below : above;
    side.zero = side.zero && Boolean(zero);
    side.residues = side.residues || zero === 'residue';
  }));
  if (!below.zero) return { kind: null, residues: false };
  if (!above.zero) return { kind: rows.length < 2 ? null : 'upper', residues: below.residues };
  return { kind: ones ? 'identity' : rows.length < 2 ? null : 'diagonal', residues: below.residues || above.residues };
}

// The facts that the summary of stage k's table says: its shape, its blocks
// ({ block, from, to }, 1-based printout columns) and what they hold ({ id, block }
// with id 'identity', 'diagonal', 'upper' or 'inverse'), and whether a rounding
// residue was counted as 0 for that.
export function facts(m, k) {
  const stage = m.stages[k];
  const n = stage.rows.length;
  if (stage.unknowns) return { unknowns: true, rows: n };
  const cols = stage.columns;
  const blocks = [];
  cols.forEach((col, c) => {
    if (c === 0 || barBefore(cols, c)) blocks.push({ block: col.block, from: c + 1, to: c + 1 });
    else blocks.at(-1).to = c + 1;
  });
  const holds = [];
  let residues = false;
  if (stage.answer) holds.push({ id: 'inverse', block: 'A' });
  else {
    for (const b of blocks.filter((b) => b.block !== 'b' && b.to - b.from + 1 === n && n > 0)) {
      const { kind, residues: used } = blockKind(m, k, b.from - 1);
      if (kind === null || (b.block === 'I' && kind !== 'identity')) continue;
      holds.push({ id: kind, block: b.block });
      residues = residues || used;
    }
  }
  return { unknowns: false, rows: n, columns: cols.length, blocks, holds, residues };
}

// ---- LaTeX ----

const latexSpecials = { '\\': '\\textbackslash{}', '{': '\\{', '}': '\\}', $: '\\$', '&': '\\&', '#': '\\#',
                        '^': '\\textasciicircum{}', _: '\\_', '%': '\\%', '~': '\\textasciitilde{}' };
export const escapeLatex = (text) => text.replace(/[\\{}$&#^_%~]/g, (c) => latexSpecials[c]);
const latexText = (text) => `\\text{${escapeLatex(text)}}`;
const sub = (i) => (i < 10 ? `_${i}` : `_{${i}}`);

// Row i (1-based) in LaTeX: R_2, R_{10}; the run's copies and the own way's write rows so.
export const rowLatex = (i) => `R${sub(i)}`;

// A number as printed, in math: -0 stays -0, 1e-05 keeps its form, inf and nan
// become \infty and \mathrm{nan}.
function printedLatex(printed) {
  if (isNonFinite(printed)) return (printed.startsWith('-') ? '-' : '') + (printed.includes('inf') ? '\\infty' : '\\mathrm{nan}');
  const exponent = /^(.*)e([+-]\d+)$/.exec(printed);
  return exponent ? `${exponent[1]}\\mathrm{e}{${exponent[2]}}` : printed;
}

// An exact value ("-3/5") as a fraction: -\frac{3}{5}; the one way the
// page's copies write a fraction, in a matrix and over an arrow alike.
export function fractionLatex(value) {
  const [, sign, n, d] = /^(-?)(\d+)(?:\/(\d+))?$/.exec(format(value));
  return d === undefined ? sign + n : `${sign}\\frac{${n}}{${d}}`;
}

// Entry r, c of stage k in the values chosen: exact where the replay gave a
// value (a residue as 0), else as printed.
function entryLatex(m, k, r, c, values) {
  const e = entry(m, k, r, c);
  if (values !== 'exact' || e.state !== 'exact') return printedLatex(e.printed);
  return e.residue ? '0' : fractionLatex(e.value);
}

// An operation's number in the notation: a negative one bracketed, as on the page.
const operand = (latex) => (!/^-/.test(latex) ? latex : latex.includes('\\frac') ? `\\left(${latex}\\right)` : `(${latex})`);

// R_p - r R_t with the sign of r taken into the operator: the coefficient 1
// unwritten (R_p - R_t, R_p + R_t), and R_p alone for r = 0 (a zero pivot).
// NaN, which has no sign, is written as printed.
function combineLatex(t, p, shown, exact) {
  const target = `R${sub(t)}`;
  const pivot = `${target} \\leftarrow R${sub(p)}`;
  if (/nan/.test(shown) && !exact) return `${pivot} - ${operand(printedLatex(shown))}${target}`;
  const negative = exact ? exact.n < 0n : shown.startsWith('-');
  const size = exact ? fractionLatex({ n: negative ? -exact.n : exact.n, d: exact.d }) : printedLatex(shown.replace(/^-/, ''));
  if (size === '0') return pivot;
  return `${pivot} ${negative ? '+' : '-'} ${size === '1' ? '' : size}${target}`;
}

// Each operation of stage k in LaTeX, in the page's row notation, its words
// t's; with exact values, its numbers exact where the run has them.
function operationsLatex(t, m, k, values) {
  const stage = m.stages[k];
  return stage.ops.flatMap((op) => {
    const named = opValues(op, stage);
    if (named === null) return [];
    const exact = values === 'exact' ? exactNumbers(m, k, op) : {};
    const number = (name) => (exact[name] ? fractionLatex(exact[name]) : printedLatex(named[name]));
    const notation = {
      scale: () => `R${sub(op.i)} \\div ${operand(number('d'))}`,
      divide: () => `R${sub(op.i)} \\div ${operand(number('d'))}`,
      swap: () => `R${sub(op.i)} \\leftrightarrow R${sub(op.k)}`,
      no_exchange: () => latexText(t('op.no_exchange.notation')),
      combine: () => combineLatex(op.t, op.p, named.r, exact.r),
      unchanged: () => `R${sub(op.t)}\\ ${latexText(t('export.unchanged'))}`,
      quotient: () => `x${sub(op.j)} = ${operand(number('b'))} \\div ${operand(number('d'))} = ${number('x')}`,
    };
    return [notation[op.name]()];
  });
}

// Stage k's printout in math, and its width in characters (the widest entry of each column added up).
function printoutLatex(m, k, values) {
  const stage = m.stages[k];
  const cells = stage.rows.map((row, r) => row.map((_, c) => entryLatex(m, k, r, c, values)));
  const width = (cells[0] ?? []).reduce((sum, _, c) => sum + Math.max(...cells.map((row) => row[c].length)), 0);
  if (stage.unknowns) {
    const lines = cells.map(([x], r) => `x${sub(r + 1)} &= ${x}`);
    return { math: `\\begin{aligned}\n${lines.join(' \\\\\n')}\n\\end{aligned}`, width };
  }
  if (cells.length === 0) return { math: '\\left[\\;\\right]', width };
  const cols = stage.columns;
  return { math: arrayLatex(cells, cols.map((_, c) => barBefore(cols, c))), width };
}

// A matrix of cells in LaTeX between brackets, a bar before each column that
// bars says; rows apart by an ex where a fraction stands in a row and the
// next, so that two stacked fractions do not touch.
export function arrayLatex(cells, bars) {
  const alignment = bars.map((bar) => (bar ? '|r' : 'r')).join('');
  const tall = cells.map((row) => row.some((cell) => cell.includes('\\frac')));
  const body = cells.map((row, r) => row.join(' & ') + (r + 1 === cells.length ? '' : tall[r] && tall[r + 1] ? ' \\\\[1ex]' : ' \\\\')).join('\n');
  return `\\left[\\begin{array}{${alignment}}\n${body}\n\\end{array}\\right]`;
}

// Stage k's commentary line in the form chosen, or null.
function commentary(stage, form) {
  if (form === 'none' || stage.line === null) return null;
  return form === 'printed' ? stage.line : text('en', 'gloss.' + stage.id);
}

// One display: the arrow carrying stage k's operations (none before the first
// printout), stacked above it, the printout and its commentary line beside it.
// A wide printout has each on lines of its own, the operations in lines of
// text after the arrow, so that shrinking it to a page's width shrinks them alike.
function displayLatex(t, m, k, options) {
  const stage = m.stages[k];
  const { math, width } = printoutLatex(m, k, options.values);
  const line = commentary(stage, options.commentary);
  const said = line === null ? null : latexText(line);
  const ops = k > 0 ? operationsLatex(t, m, k, options.values) : null;
  if (width <= wide) {
    const label = ops === null ? null : ops.length === 1 ? ops[0] : `\\substack{${ops.join(' \\\\ ')}}`;
    const arrow = ops === null ? null : ops.length === 0 ? '\\longrightarrow' : `\\xrightarrow{${label}}`;
    return [arrow === null ? math : `${arrow}\n${math}`, said].filter(Boolean).join('\n\\quad ');
  }
  const lines = [];
  for (let i = 0; i < (ops ?? []).length; i += opsPerLine) lines.push(ops.slice(i, i + opsPerLine).join(',\\quad '));
  if (ops !== null) lines[0] = `\\longrightarrow\\quad ${lines[0] ?? ''}`.trimEnd();
  return `\\begin{gathered}\n${[...lines, math, said].filter(Boolean).join(' \\\\\n')}\n\\end{gathered}`;
}

// The whole document around displays, under a title: A4 (landscape for
// printouts as wide as an order-10 inverse's), narrow margins, kotex for
// Hangul; a display wider than the line is shrunk to its width; then lines of
// text after them, if any.
export function documentLatex(program, displays, sideways, after = []) {
  const hangul = /[^\x00-\x7f]/.test(displays.join('') + after.join(''));
  return [
    `\\documentclass[a4paper${sideways ? ',landscape' : ''}]{article}`,
    `\\usepackage[${sideways ? 'landscape,margin=12mm' : 'margin=15mm'}]{geometry}`,
    '\\usepackage{amsmath}',
    '\\usepackage{graphicx}',
    ...(hangul ? ['\\usepackage{kotex}'] : []),
    '\\setlength{\\arraycolsep}{3pt}',
    '\\newsavebox{\\gjbox}',
    '% One display a line, shrunk to the width of the line where it is wider.',
    '\\newcommand{\\gjdisplay}[1]{\\par\\medskip\\noindent\\sbox{\\gjbox}{$\\displaystyle #1$}%',
    '  \\ifdim\\wd\\gjbox>\\linewidth\\resizebox{\\linewidth}{!}{\\usebox{\\gjbox}}%',
    '  \\else\\makebox[\\linewidth]{\\usebox{\\gjbox}}\\fi\\par\\medskip}',
    '\\begin{document}',
    `\\section*{${program}}`,
    ...displays.map((d) => `\\gjdisplay{\n${d}\n}`),
    ...after.map((line) => `\\par ${line}`),
    '\\end{document}',
    '',
  ].join('\n');
}

// The translator of a copy's words: the commentary's language, or the page's
// without one.
const wordsOf = ({ commentary, language }) => translator({ printed: 'ko', gloss: 'en' }[commentary] ?? language);

// The run (or options.stage alone) in LaTeX: a fragment of displays, or a whole document.
export function latex(m, options) {
  const t = wordsOf(options);
  const ks = options.stage === null || options.stage === undefined ? m.stages.map((s) => s.k) : [options.stage];
  const displays = ks.map((k) => displayLatex(t, m, k, options));
  if (options.shape === 'document') {
    const widest = Math.max(0, ...ks.map((k) => printoutLatex(m, k, options.values).width));
    return documentLatex(m.run.program, displays, widest > landscape);
  }
  const hangul = /[^\x00-\x7f]/.test(displays.join(''));
  const needs = `% ${m.run.program}: needs \\usepackage{amsmath}${hangul ? ' and \\usepackage{kotex}' : ''}`;
  return [needs, ...displays.map((d) => `\\[\n${d}\n\\]`), ''].join('\n');
}

// ---- Markdown ----

// Brackets stay as they are: \[ would open display math where MathJax renders the page.
const escapeMarkdown = (text) => text.replace(/[\\`*_<>$]/g, '\\$&');

// The run in Markdown: per stage a heading, its commentary line, its operations
// as a list and its printout as a $$ math block.
export function markdown(m, options) {
  const t = wordsOf(options);
  const parts = [`# ${m.run.program}`];
  for (const stage of m.stages) {
    parts.push(`## ${escapeMarkdown(stageHeading(t, stage))}`);
    const line = commentary(stage, options.commentary);
    if (line !== null) parts.push(options.commentary === 'printed' ? `\`${line}\`` : escapeMarkdown(line));
    const ops = operations(t, stage);
    if (ops.length > 0) {
      parts.push(ops.map(({ notation, words }) =>
        `- ${escapeMarkdown(notation)} ${escapeMarkdown(t('stage.opWords', { words }))}`).join('\n'));
    }
    parts.push(`$$\n${printoutLatex(m, stage.k, options.values).math}\n$$`);
  }
  return parts.join('\n\n') + '\n';
}

// ---- A printout as a table ----

const htmlSpecials = { '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' };
export const escapeHtml = (text) => String(text).replace(/[&<>"]/g, (c) => htmlSpecials[c]);

// Stage k's printout as { html, text }: a <table> with its caption and headers
// worded by t, each block a column group, for a word processor or a
// spreadsheet (no style attributes: the page's CSP refuses them while the
// clipboard reads the HTML); and the printed entries with tabs between the
// columns.
export function table(t, m, k) {
  const stage = m.stages[k];
  const head = headers(t, m, k);
  const caption = t('table.caption', { k: k + 1, name: stageName(t, stage) });
  const th = (h, scope) => `<th scope="${scope}">${escapeHtml(h.shown)}</th>`;
  const lines = ['<table border="1">', `<caption>${escapeHtml(caption)}</caption>`];
  if (head.columns.length > 0) {
    const spans = facts(m, k).blocks.map((b) => `<colgroup span="${b.to - b.from + 1}"></colgroup>`);
    lines.push(`<colgroup></colgroup>${spans.join('')}`);
    lines.push(`<thead><tr><td></td>${head.columns.map((h) => th(h, 'col')).join('')}</tr></thead>`);
  }
  lines.push('<tbody>');
  stage.rows.forEach((row, r) => lines.push(`<tr>${th(head.rows[r], 'row')}${row.map((x) => `<td>${escapeHtml(x)}</td>`).join('')}</tr>`));
  lines.push('</tbody>', '</table>', '');
  const text = stage.rows.map((row, r) => (stage.unknowns ? [`x${r + 1}`, ...row] : row).join('\t') + '\n').join('');
  return { html: lines.join('\n'), text };
}

