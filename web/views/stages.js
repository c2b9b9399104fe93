// The stages section: each printout of the run again, with its commentary line
// explained, its row operations in words and in row notation, and the exact
// value of every entry, all drawn from the model. One stage at a time, or all,
// as the state says (stage: { k, all }); moving sends a message, and so does a
// copy of the run or of a stage. Articles are built when first shown, and told
// the exact values when they come. A print of the page (the state's printing)
// shows every stage, and each table too wide for the paper in blocks of
// columns, each a copy of the table with the row headers and the block's columns.
import { t, language } from './language.js';
import { afterPaint, inSlices } from './frames.js';
import { byId, el, button, operationList, headerCell, headRow } from './dom.js';
import { entry, stopDivisor, isZero, isNonFinite } from '../logic/run/model.js';
import { marks } from '../logic/run/marks.js';
import { format, MAX_BITS } from '../logic/run/exact.js';
import { stageName, stageHeading } from '../logic/run/words.js';
import { facts, headers, latex, markdown, table } from '../logic/run/copies.js';
import { tableBlocks } from '../logic/layout/paper.js';

const section = byId('stages');
const empty = byId('stages-empty');
const controls = byId('stage-controls');
const list = byId('stage-list');
const previousButton = byId('stage-previous');
const nextButton = byId('stage-next');
const allButton = byId('stage-all');
const position = byId('stage-position');
const exactNote = byId('exact-note');
const exportChoices = { values: byId('export-values'), commentary: byId('export-commentary'), shape: byId('export-shape') };

let model = null;        // the model that the articles built show
let untitled = [];       // [cell, stage] still without their titles
let current = 0;         // the stage shown, as drawn (the state's stage.k)
let all = false;         // whether every stage is, as drawn (the state's stage.all)
let printing = false;    // whether the section is drawn for a print: every stage shown
let drawnLanguage = null;  // the language drawn in
const built = new Map(); // stage index -> its article

const stageCount = () => (model ? model.stages.length : 0);

// What a reader is told of entry r, c of stage k: its exact value, or why it has none.
function describeEntry(k, r, c) {
  const e = entry(model, k, r, c);
  if (e.state !== 'exact') return t({ pending: 'exact.pending', none: 'exact.unavailable', past: 'exact.past', tooLarge: 'exact.tooLarge' }[e.state]);
  if (e.residue) return t('exact.residue');
  const exact = t('exact.cell', { exact: format(e.value) });
  return e.nonFinite ? t('exact.nonFinite', { printed: e.printed, exact }) : exact;
}

function readout(cell) {
  const article = cell.closest('.stage');
  const k = Number(article.dataset.stage);
  const [r, c] = [Number(cell.dataset.r), Number(cell.dataset.c)];
  const printed = model.stages[k].rows[r][c];
  const description = describeEntry(k, r, c);
  article.querySelector('.readout').textContent = model.stages[k].unknowns
    ? t('exact.unknown', { name: t('stage.unknown', { j: r + 1 }), printed, description })
    : t('exact.readout', { r: r + 1, c: c + 1, printed, description });
}

// Gives each entry of an article its exact value as its title (shown on hover,
// read as its description), marks it (marks.js) and names its marks, says
// the table's summary (residues count as 0 in it), and adds the note of a stop
// at this stage. A title takes the value in lowest terms, a gcd of numbers that
// may have thousands of digits: the titles are given a slice at a time,
// between frames, and the section says 'done' once all are there.
function decorate(article) {
  const k = Number(article.dataset.stage);
  const cells = [...article.querySelectorAll('td')];
  article.querySelector('.table-summary').textContent = summary(k);
  for (const cell of cells) {
    const found = marks(model, k, Number(cell.dataset.r), Number(cell.dataset.c));
    cell.className = found.join(' ');
    if (found.length === 0) cell.removeAttribute('aria-label');
    else cell.setAttribute('aria-label', t('table.marks', {
      printed: cell.textContent, marks: found.map((mark) => t('mark.' + mark)).join(t('mark.separator')) }));
  }
  article.querySelector('.stop-note')?.remove();
  const stop = model.exact && model.exact.stop;
  if (stop && stop.stage === k) article.append(el('p', 'note-box stop-note', stopNote(stop), { role: 'note' }));
  untitled.push(...cells.map((cell) => [cell, k]));
  if (untitled.length === cells.length) giveTitles(model);
}

// Gives the untitled entries their titles in slices, after the article is
// painted, for as long as m is shown.
function giveTitles(m) {
  afterPaint(m.run, () => inSlices(m.run, (deadline) => {
    if (m !== model) return true;
    while (untitled.length > 0 && performance.now() < deadline) {
      const [cell, k] = untitled.shift();
      cell.title = describeEntry(k, Number(cell.dataset.r), Number(cell.dataset.c));
    }
    return untitled.length === 0;
  }, () => { if (m === model) tellExactState(); }));
}

// 'pending' until the exact values have come and every article shown has its titles.
function tellExactState() {
  const done = model.exact || !model.verdict.readable;
  section.dataset.exact = model.stages.length === 0 ? 'none' : done && untitled.length === 0 ? 'done' : 'pending';
}

function stopNote(stop) {
  const shown = stopDivisor(model);
  const kind = isZero(shown) ? 'exact.stop.zero' : isNonFinite(shown) ? 'exact.stop.nonFinite' : 'exact.stop.residue';
  const parts = [t('exact.stop', { i: stop.row, c: stop.column }), t(kind, { shown })];
  if (stop.singular) parts.push(t('exact.stop.singular'));
  parts.push(t('exact.stop.end'));
  return parts.join(' ');
}

// What a reader of stage k's table is told before walking it: its shape, its
// blocks, and what they hold where that has a name ("A is diagonal").
function summary(k) {
  const known = facts(model, k);
  if (known.unknowns) return t('table.summary.unknowns', { rows: known.rows });
  const blocks = known.blocks.map((b) => t(b.from === b.to ? 'table.summary.blockOne' : 'table.summary.block', b));
  const said = [t('table.summary.shape', { rows: known.rows, columns: known.columns, blocks: blocks.join(t('table.summary.separator')) })];
  for (const held of known.holds) said.push(t('table.' + held.id, held));
  if (known.residues) said.push(t('table.residues'));
  return said.join(' ');
}

// The printout as a table that a screen reader walks: a grid with one tab stop,
// after the WAI-ARIA Authoring Practices' grid pattern (a data grid). Its caption
// names the stage, row headers R1..Rn and column headers naming the block ("A,
// column 2", "I, column 1", "b") place each entry, the bar between the blocks is
// drawn on the column after it, and the summary is the table's description.
// Each entry's name is its printed value with its marks, its description its
// exact value. The keys, once an entry has the focus (gridKey):
//   Right, Left, Down, Up  the next entry that way; nothing past an edge
//   Home, End              the first, the last entry of the row
//   Ctrl+Home, Ctrl+End    the first entry of the first row, the last of the last
//   Page Up, Page Down     the stage before, after (the section's own keys)
//   Tab                    out of the grid; back in on the entry last focused
function grid(k) {
  const stage = model.stages[k];
  const head = headers(t, model, k);
  const table = el('table', 'printout', undefined, { role: 'grid' });
  table.createCaption().append(el('span', 'visually-hidden', t('table.caption', { k: k + 1, name: stageName(t, stage) })));
  table.setAttribute('aria-describedby', `stage-${k + 1}-summary`);
  if (head.columns.length > 0) headRow(table, head);
  const body = table.createTBody();
  stage.rows.forEach((row, r) => {
    const tr = body.insertRow();
    tr.append(headerCell(head.rows[r], 'row'));
    row.forEach((printed, c) => {
      const cell = el('td', '', printed, { tabIndex: r === 0 && c === 0 ? 0 : -1 });
      cell.dataset.r = r;
      cell.dataset.c = c;
      if (head.columns[c]?.bar) cell.dataset.bar = '';
      tr.append(cell);
    });
  });
  const box = el('div', 'printout-box');
  box.append(table);
  return box;
}

// The whole run's copy choices, and the language the page is drawn in: { values,
// commentary, shape, language }.
const exportOptions = () =>
  ({ ...Object.fromEntries(Object.entries(exportChoices).map(([name, select]) => [name, select.value])), language: language() });

// Stage k's own copy buttons: its LaTeX, in the choices made for the run, and
// its printout as a table, as cells (HTML) and as text at once.
function copies(k) {
  const box = el('div', 'stage-copies');
  box.append(button('export.latex', () => ({ type: 'copy', content: latex(model, { ...exportOptions(), stage: k }), done: 'status.copiedLatex' })),
             button('export.table', () => {
               const { html, text } = table(t, model, k);
               return { type: 'copy', content: { 'text/html': html, 'text/plain': text }, done: 'status.copiedTable' };
             }));
  return box;
}

function operations(stage) {
  const box = el('div', 'operations');
  box.append(el('h4', '', t('stage.operations')), operationList(stage));
  return box;
}

function article(k) {
  const stage = model.stages[k];
  const a = el('article', 'stage', undefined, { id: `stage-${k + 1}` });
  a.dataset.stage = k;
  const heading = el('h3', '', stageHeading(t, stage), { id: `stage-${k + 1}-heading`, tabIndex: -1 });
  a.setAttribute('aria-labelledby', heading.id);
  a.append(heading);
  if (stage.line !== null) {
    const p = el('p', 'commentary');
    p.append(el('span', 'printed-line', stage.line, { lang: 'ko' }), t('stage.glossSeparator'), t('gloss.' + stage.id));
    a.append(p);
  }
  a.append(el('p', 'about', t('about.' + stage.id, { j: stage.column ?? '' })));
  // The printout, and beside it (under it on a narrow screen) its operations.
  const figure = el('div', 'figure');
  figure.append(grid(k), el('p', 'table-summary', '', { id: `stage-${k + 1}-summary` }),
                el('p', 'readout', t('exact.hint')), copies(k));
  const body = el('div', 'stage-body');
  body.append(figure, operations(stage));
  a.append(body);
  decorate(a);
  return a;
}

function articleFor(k) {
  if (!built.has(k)) built.set(k, article(k));
  return built.get(k);
}

// Puts the current stage, or every stage, into the list, and the controls in step.
function paint() {
  const shownStages = all || printing ? model.stages.map((s) => s.k) : [current];
  list.replaceChildren(...shownStages.map(articleFor));
  for (const [k, a] of built) a.classList.toggle('current', all && k === current);
  position.textContent = t('stages.position', { k: current + 1, count: stageCount() });
  previousButton.disabled = current === 0;
  nextButton.disabled = current === stageCount() - 1;
  allButton.setAttribute('aria-pressed', String(all));
}

function exactNoteText() {
  const why = model.verdict.readable ? null : model.verdict.why;
  if (why) {
    return why.missing ? t('exact.none.missing')
      : why.token !== undefined ? t('exact.none.token', { token: why.token })
      : t('exact.none.value', { row: why.row, value: why.value });
  }
  if (model.exact && model.exact.stop) return t('exact.stopped', { k: model.exact.stop.stage + 1 });
  if (model.exact && model.exact.tooLarge)
    return t('exact.none.tooLarge', { k: model.exact.tooLarge.stage + 1, digits: Math.floor(MAX_BITS * Math.log10(2)) });
  return '';
}

function paintExactNote() {
  exactNote.textContent = model ? exactNoteText() : '';
  exactNote.hidden = exactNote.textContent === '';
}

// Shows the stages of the slice's model ({ model, stage: { k, all }, language,
// printing }): anew for another run or language, and with the exact values
// once they have come for the same run; another stage, or all of them, as the
// slice says; every stage, wide tables in blocks, for a print.
export function render({ model: next, stage, language: code, printing: on = false }) {
  const retold = code !== drawnLanguage;
  drawnLanguage = code;
  if (next !== null) {
    if (next !== model) drawModel(next, stage);
    else if (retold) retell();
    if (stage.k !== current) go(stage.k);
    if (stage.all !== all) showAll(stage.all);
  }
  if (on !== printing) (on ? print : unprint)();
}

function drawModel(next, stage) {
  const sameRun = model !== null && model.run === next.run;
  model = next;
  section.dataset.run = String(next.run.id);  // which run the section shows, drawn after the state has it
  current = stage.k;
  all = stage.all;
  untitled = [];
  if (sameRun) {
    for (const a of built.values()) decorate(a);
  } else {
    built.clear();
  }
  tellExactState();
  empty.hidden = stageCount() > 0;
  controls.hidden = stageCount() === 0;
  paintExactNote();
  if (stageCount() === 0) list.replaceChildren();
  else if (!sameRun) paint();
}

// Shows stage k, the state's now. Focus on an entry follows to the same place
// in the new stage's printout, so that one entry can be watched from stage to stage.
function go(k) {
  if (k === current || k >= stageCount()) return;
  const focused = document.activeElement;
  const place = focused && focused.matches('#stage-list td') ? [focused.dataset.r, focused.dataset.c] : null;
  current = k;
  paint();
  // At either end its button is disabled, and the focus goes to the other one.
  if (focused && focused.disabled) (focused === nextButton ? previousButton : nextButton).focus();
  const a = articleFor(k);
  if (place) {
    const cell = a.querySelector(`td[data-r="${place[0]}"][data-c="${place[1]}"]`);
    if (cell) moveTo(cell);
    else a.querySelector('h3').focus();
  }
  if (all) a.scrollIntoView({ block: 'nearest' });
}

// Makes cell the grid's one tab stop, and focuses it.
function moveTo(cell) {
  for (const other of cell.closest('table').querySelectorAll('td[tabindex="0"]')) other.tabIndex = -1;
  cell.tabIndex = 0;
  cell.focus();
}

// Moves the focus in a grid as its keyboard contract says (see grid); false for other keys.
function gridKey(event, cell) {
  const stage = model.stages[Number(cell.closest('.stage').dataset.stage)];
  const [rows, cols] = [stage.rows.length, stage.rows[0].length];
  const [r, c] = [Number(cell.dataset.r), Number(cell.dataset.c)];
  const to = (event.ctrlKey ? { Home: [0, 0], End: [rows - 1, cols - 1] } : {
    ArrowUp: [r - 1, c], ArrowDown: [r + 1, c], ArrowLeft: [r, c - 1], ArrowRight: [r, c + 1],
    Home: [r, 0], End: [r, cols - 1],
  })[event.key];
  if (!to) return false;
  const [r2, c2] = [Math.max(0, Math.min(rows - 1, to[0])), Math.max(0, Math.min(cols - 1, to[1]))];
  moveTo(cell.closest('table').querySelector(`td[data-r="${r2}"][data-c="${c2}"]`));
  return true;
}

// Every article told anew in the language now chosen.
function retell() {
  if (stageCount() === 0) return;
  built.clear();
  untitled = [];
  paint();
  paintExactNote();
}

// Stage k's table in blocks (paper.js) for paper alone, or null if it fits.
function printBlocks(k, table) {
  const ranges = tableBlocks(headers(t, model, k), model.stages[k].rows);
  if (!ranges) return null;
  const out = el('div', 'print-blocks', undefined, { 'aria-hidden': 'true' });
  for (const [from, to] of ranges) {
    const copy = table.cloneNode(true);
    copy.removeAttribute('role');
    copy.removeAttribute('aria-describedby');
    copy.caption?.remove();
    for (const row of copy.rows) {
      [...row.cells].forEach((cell, c) => {
        if (c > 0 && (c <= from || c > to)) cell.remove();
        cell.removeAttribute('tabindex');
      });
    }
    out.append(copy);
  }
  return out;
}

// Readies the section for a print: every stage shown, wide tables in blocks,
// which the print style shows instead.
function print() {
  printing = true;
  if (stageCount() === 0) return;
  paint();
  for (const a of list.querySelectorAll('.stage')) {
    const table = a.querySelector('table.printout');
    const drawn = printBlocks(Number(a.dataset.stage), table);
    if (!drawn) continue;
    table.after(drawn);
    table.parentElement.classList.add('print-blocked');
    a.classList.add('print-blocked');
  }
}

// The section as the screen shows it again.
function unprint() {
  printing = false;
  for (const drawn of list.querySelectorAll('.print-blocks')) drawn.remove();
  for (const holder of list.querySelectorAll('.print-blocked')) holder.classList.remove('print-blocked');
  if (stageCount() > 0) paint();
}

// Every stage shown (on), or the current one alone.
function showAll(on) {
  all = on;
  paint();
  if (all) articleFor(current).scrollIntoView({ block: 'nearest' });
}

// Sends what the reader does to the page: another stage, all of them, a copy of the run.
export function connect(dispatch) {
  const move = (k) => dispatch({ type: 'stage', k });
  previousButton.addEventListener('click', () => move(current - 1));
  nextButton.addEventListener('click', () => move(current + 1));
  allButton.addEventListener('click', () => dispatch({ type: 'allStages' }));
  section.addEventListener('keydown', (event) => {
    if (event.altKey || event.metaKey) return;
    let handled = false;
    if (event.ctrlKey) {
      handled = event.target.matches('#stage-list td') && gridKey(event, event.target);
    } else if (event.key === 'PageUp' || event.key === 'PageDown') {
      move(current + (event.key === 'PageDown' ? 1 : -1));
      handled = true;
    } else if (event.target.matches('#stage-list td')) {
      handled = gridKey(event, event.target);
    }
    if (handled) event.preventDefault();
  });
  byId('copy-latex').addEventListener('click', () =>
    dispatch({ type: 'copy', content: latex(model, { ...exportOptions(), stage: null }), done: 'status.copiedLatex' }));
  byId('copy-markdown').addEventListener('click', () => dispatch({ type: 'copy', content: markdown(model, exportOptions()), done: 'status.copiedMarkdown' }));
}

for (const type of ['focusin', 'mouseover'])
  list.addEventListener(type, (event) => { if (event.target.matches('td')) readout(event.target); });

// The number of stages shown, for the tests' look at a print.
export const count = stageCount;
