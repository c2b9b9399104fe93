// The pane: the dialogue as at a console, drawn append-only from the model's
// pieces (model.js): a longer run of the same session only adds pieces, so each
// render draws those past the ones drawn. Printouts are marked: the entries
// printed otherwise than in the printout of the same shape before them, the
// pivot of an elimination and, once the exact replay is done, the rounding
// residues (marks.js). The last Enter of an order-10 run adds some 30
// printouts at once, 2,000 of their 6,000 entries marked, in some 450 spans:
// only the last few, those in view, are marked at once; the others are drawn as
// plain text and marked after paint (or before a print, which also draws the
// printouts too wide for the paper again in blocks of columns).
import { t } from './language.js';
import { afterPaint, inSlices } from './frames.js';
import { byId, el } from './dom.js';
import { marks, markedText } from '../logic/run/marks.js';
import { transcriptBlocks } from '../logic/layout/paper.js';

const pane = byId('pane');
const markedAtOnce = 4;  // printouts, more than a screen's height at order 10
let session = 0;         // the session drawn
let drawn = 0;           // pieces drawn
let printouts = [];      // per stage drawn: { node, marked, residues, group, columns, lines }
let widest = 0;          // the longest entry drawn
let exit = null;         // the exit note: [span, status]
let drawnModel = null;   // the model drawn
let drawnLanguage = null;  // the language drawn in
let drawnUpTo = Infinity;  // the stages whose printouts may be drawn: those before it
let drawnEarly = null;   // what was typed before the programs, as drawn
let printed = false;     // whether the pane is drawn for a print

function clear(next) {
  pane.textContent = '';
  session = next;
  drawn = widest = 0;
  printouts = [];
  exit = null;
}

// A printout's rows as text, as printed: "%g\t" a column, or "x1=3".
function rowText(stage, row, r) {
  return stage.unknowns ? `x${r + 1}=${row[0]}\n` : row.join('\t') + '\t\n';
}

// A printout's rows, its text but for a span around each run of marked
// entries (marks.js): an order-10 run draws some 4,000 entries at its last Enter.
function markedRows(model, stage) {
  const into = document.createDocumentFragment();
  for (const piece of markedText(model, stage.k))
    into.append(typeof piece === 'string' ? piece : el('span', piece.marks.join(' '), piece.text));
  return into;
}

// Draws printout k's rows again with their marks, in place.
function mark(model, k) {
  const printout = printouts[k];
  const rows = el('span', 'rows');
  rows.append(markedRows(model, model.stages[k]));
  printout.node.replaceWith(rows);
  printout.node = rows;
  printout.marked = true;
}

// A stage: "\n\n", then its printout and its commentary line, which print keeps
// on one page, and practice hides together while the stage is to do. The
// commentary line shows its gloss on hover and focus; the gloss is in the
// page's language, the line itself Korean.
function drawStage(model, stage, into) {
  const rows = el('span', 'rows', stage.rows.map((row, r) => rowText(stage, row, r)).join(''));
  for (const row of stage.rows) for (const entry of row) widest = Math.max(widest, entry.length);
  const group = el('span', 'pane-stage');
  group.dataset.k = stage.k;
  group.append('\n\n', rows);
  if (stage.line !== null) {
    const gloss = el('span', 'gloss', undefined, { tabIndex: 0 });
    gloss.dataset.stage = stage.id;
    gloss.dataset.gloss = t('gloss.' + stage.id);
    gloss.append(el('span', '', stage.line, { lang: 'ko' }));
    group.append(gloss, '\n');
  }
  into.append(group);
  printouts[stage.k] = { node: rows, marked: false, group, columns: stage.rows[0]?.length ?? 0, lines: stage.rows.length + 3 };
}

function tellExit() {
  const [span, status] = exit;
  const note = status === -2 ? t('pane.notStarted', { program: drawnModel.run.program })
    : t('pane.exited', { program: drawnModel.run.program, status });
  span.textContent = `\n${t('pane.note', { note })}\n`;
}

function draw(model, piece, into) {
  if (piece.kind === 'text') into.append(piece.text);
  else if (piece.kind === 'echo') into.append(el('span', 'echo', piece.text));
  else if (piece.kind === 'error') into.append(el('span', 'err', piece.text));
  else if (piece.kind === 'stage') drawStage(model, model.stages[piece.k], into);
  else if (piece.kind === 'exit') {
    exit = [el('span', 'note'), piece.status];
    into.append(exit[0]);
  }
}

// Whether piece is the printout of a stage at or past upTo, which stops the drawing.
const withheld = (piece, upTo) => piece.kind === 'stage' && piece.k >= upTo;

// Marks every printout not yet marked, and those with residues once the exact
// values have come: at once before a print, else in slices, the last first.
const unmarked = (model) => printouts.flatMap((p, k) => (!p.marked || (model.exact && p.residues !== model.exact) ? [k] : []));

function markSome(model, ks, deadline) {
  while (ks.length > 0 && performance.now() < deadline) {
    const k = ks.pop();
    mark(model, k);
    printouts[k].residues = model.exact;
  }
  if (ks.length === 0) delete pane.dataset.marks;
  return ks.length === 0;
}

const markAll = (model) => markSome(model, unmarked(model), Infinity);

// Draws the slice ({ model, language, upTo, early, prompt, failed, printing }):
// the model's pieces past those drawn, up to the printout of stage upTo (a
// locked page holds no printout of a stage not done, nor what the run printed
// after it), or, in another language, the glosses and exit note anew. Before
// the programs (no model), the first prompt and what was typed (the state's
// early), or nothing once they could not be loaded (failed). For a print
// (printing), every printout marked and those wider than the paper in blocks.
export function render({ model, language, upTo = Infinity, early = null, prompt = '', failed = false, printing = false }) {
  const retold = drawnModel !== null && language !== drawnLanguage;
  drawnLanguage = language;
  if (retold) retell();
  if (model === null && failed) empty();
  else if (model === null && early !== null && early !== drawnEarly) waiting(prompt, early.entries);
  else if (model !== null && (model !== drawnModel || upTo !== drawnUpTo)) drawModel(model, upTo);
  drawnEarly = early;
  if (printing !== printed) (printing ? print : unprint)();
  printed = printing;
}

function drawModel(model, upTo) {
  if (model.run.session !== session) clear(model.run.session);
  drawnModel = model;
  drawnUpTo = upTo;
  const into = document.createDocumentFragment();
  const from = printouts.length;
  for (; drawn < model.pieces.length && !withheld(model.pieces[drawn], upTo); drawn++) draw(model, model.pieces[drawn], into);
  for (let k = Math.max(from, printouts.length - markedAtOnce); k < printouts.length; k++) mark(model, k);
  if (exit) tellExit();
  pane.append(into);
  // A tab reaches past the longest entry, so that the columns line up; a
  // stage out of view takes the size of its text, a tab stop an entry.
  const tab = Math.max(8, widest + 2);
  const resized = String(tab) !== pane.style.tabSize;
  pane.style.tabSize = tab;
  for (const { group, columns, lines } of resized ? printouts : printouts.slice(from))
    group.style.containIntrinsicSize = `auto ${columns * tab}ch auto ${lines}lh`;
  if (printouts.some((p) => !p.marked || (model.exact && p.residues !== model.exact))) {
    pane.dataset.marks = 'pending';
    afterPaint(model.run, () => {
      const ks = unmarked(drawnModel);
      const marking = drawnModel;
      inSlices(model.run, (deadline) => marking !== drawnModel || markSome(marking, ks, deadline));
    });
  }
}

// Which printouts the pane shows (the slice: { practising, upTo, model }): in
// practice those of the stages before upTo, the ones the learner has done; else all.
export function reveal({ practising, upTo }) {
  pane.toggleAttribute('data-practice', practising);
  if (!practising) return;
  for (const [k, printout] of printouts.entries()) printout?.group.classList.toggle('reached', k < upTo);
}

// Before the programs have loaded: the first prompt, and the entries typed
// since, echoed. The first run that comes draws the dialogue anew.
function waiting(prompt, entries) {
  clear(-1);
  drawnModel = null;
  pane.append(prompt, ...entries.map((entry) => el('span', 'echo', entry)));
}

// Nothing at all: the programs could not be loaded.
function empty() {
  clear(-1);
  drawnModel = null;
}

// The glosses and the exit note in the language now chosen; the transcript
// itself never changes.
function retell() {
  for (const gloss of pane.querySelectorAll('.gloss')) gloss.dataset.gloss = t('gloss.' + gloss.dataset.stage);
  if (exit) tellExit();
}

// Printout k's rows in blocks of columns (paper.js), its entries marked, for
// paper alone: the screen and screen readers never see them. Null if its rows
// fit the paper as they are.
function printBlocks(k, tab) {
  const stage = drawnModel.stages[k];
  const lines = transcriptBlocks(stage.rows, tab);
  if (!lines) return null;
  const out = el('span', 'print-blocks', undefined, { 'aria-hidden': 'true' });
  for (const line of lines) {
    for (const piece of line) {
      const classes = typeof piece === 'string' ? '' : marks(drawnModel, k, piece.r, piece.c).join(' ');
      out.append(classes === '' ? piece.text ?? piece : el('span', classes, piece.text));
    }
    out.append('\n');
  }
  return out;
}

// Readies the pane for a print: every printout marked, and those wider than
// the paper drawn again in blocks, which the print style shows instead.
function print() {
  if (!drawnModel) return;
  markAll(drawnModel);
  const tab = Math.max(8, widest + 2);
  printouts.forEach((printout, k) => {
    const drawn = printBlocks(k, tab);
    if (!drawn) return;
    printout.node.after(drawn);
    printout.group.classList.add('print-blocked');
  });
}

// The pane as the screen shows it again.
function unprint() {
  for (const drawn of pane.querySelectorAll('.print-blocks')) drawn.remove();
  for (const holder of pane.querySelectorAll('.print-blocked')) holder.classList.remove('print-blocked');
}

