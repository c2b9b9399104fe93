// A print of a wide run: a printout wider than the paper, an order-10 inverse's
// 20 columns say, is printed in blocks of columns that fit the page's width,
// one under the other, each row labelled R1 .. Rn and each column numbered
// (the stages' tables keep their own headers). Built on beforeprint, after the
// pane has marked every printout and the stages section shown every stage
// (their listeners come first: this module imports theirs), and removed on
// afterprint. The blocks are for paper alone: the screen and screen readers
// never see them.
import './pane.js';
import './stages.js';

// Characters of a printed line at the print's 8 pt: an A4 or a Letter page's
// width between margins of 15 mm, less a stage's frame.
export const lineWidth = 104;
const gap = 2;  // characters between two columns

// Splits columns of the given widths (characters, gap included) into runs
// [from, to), each at most width wide after a label of labelWidth characters:
// as few as can be, of as even a count of columns as still fit. A column wider
// than that alone still gets a run of its own.
export function blocks(widths, width, labelWidth) {
  const greedy = [];
  let from = 0;
  let used = labelWidth;
  widths.forEach((w, c) => {
    if (c > from && used + w > width) {
      greedy.push([from, c]);
      from = c;
      used = labelWidth;
    }
    used += w;
  });
  if (widths.length > 0) greedy.push([from, widths.length]);
  const size = Math.ceil(widths.length / Math.max(1, greedy.length));
  const even = greedy.map((_, k) => [k * size, Math.min(widths.length, (k + 1) * size)]).filter(([a, b]) => a < b);
  const fits = even.every(([a, b]) => widths.slice(a, b).reduce((sum, w) => sum + w, labelWidth) <= width);
  return fits ? even : greedy;
}

// A printout of the pane as rows of entries, each entry its text and the node
// that marks it (a span), or null: the rows' text has a tab after each entry
// and a newline after each row. A span may mark a run of entries, tabs between
// them: each is given a span of its own.
function entries(rows) {
  const table = [[]];
  let text = '';
  const end = (node) => {
    table.at(-1).push({ text: node ? node.textContent : text, node });
    text = '';
  };
  for (const node of rows.childNodes) {
    if (node.nodeType !== Node.TEXT_NODE) {
      for (const entry of node.textContent.split('\t')) end(Object.assign(node.cloneNode(false), { textContent: entry }));
      continue;
    }
    for (const ch of node.data) {
      if (ch === '\t') {
        if (text !== '') end(null);
      } else if (ch === '\n') {
        if (text !== '') end(null);
        table.push([]);
      } else text += ch;
    }
  }
  return table.filter((row) => row.length > 0);
}

const pad = (text, width) => ' '.repeat(Math.max(0, width - text.length));

// A pane printout's blocks as text, right-aligned in columns, its marked
// entries copies of their spans; null if it fits the line as it is.
function paneBlocks(group) {
  const rows = entries(group.querySelector('.rows'));
  const columns = Math.max(0, ...rows.map((row) => row.length));
  const widths = Array.from({ length: columns }, (_, c) =>
    gap + Math.max(String(c + 1).length, ...rows.map((row) => row[c]?.text.length ?? 0)));
  const tab = Number(getComputedStyle(group.closest('#pane')).tabSize) || 8;
  if (columns < 2 || columns * tab <= lineWidth) return null;
  const label = `R${rows.length}`.length;
  const out = document.createElement('span');
  out.className = 'print-blocks';
  out.setAttribute('aria-hidden', 'true');
  for (const [from, to] of blocks(widths, lineWidth, label)) {
    let line = ' '.repeat(label);
    for (let c = from; c < to; c++) line += pad(String(c + 1), widths[c]) + (c + 1);
    out.append(line + '\n');
    rows.forEach((row, r) => {
      out.append(`R${r + 1}` + pad(`R${r + 1}`, label));
      for (let c = from; c < to; c++) {
        const entry = row[c] ?? { text: '', node: null };
        out.append(pad(entry.text, widths[c]), entry.node ? entry.node.cloneNode(true) : entry.text);
      }
      out.append('\n');
    });
  }
  return out;
}

// A stage's table in blocks: a copy of the table per block, with the row
// headers and that block's columns; null if it fits the line as it is.
function tableBlocks(table) {
  const rows = [...table.rows];
  const columns = rows[0].cells.length - 1;
  const text = (cell) => cell.querySelector('[aria-hidden]')?.textContent ?? cell.textContent;
  const widths = Array.from({ length: columns }, (_, c) => gap + Math.max(...rows.map((row) => text(row.cells[c + 1] ?? row.cells[0]).length)));
  const label = gap + Math.max(...rows.map((row) => text(row.cells[0]).length));
  if (label + widths.reduce((sum, w) => sum + w, 0) <= lineWidth) return null;
  const out = document.createElement('div');
  out.className = 'print-blocks';
  out.setAttribute('aria-hidden', 'true');
  for (const [from, to] of blocks(widths, lineWidth, label)) {
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

// Draws every wide printout of the pane and of the stages in blocks, and marks
// what holds them (print-blocked) for the style to show them instead.
function build() {
  for (const group of document.querySelectorAll('#pane .pane-stage')) {
    const drawn = paneBlocks(group);
    if (drawn) group.querySelector('.rows').after(drawn);
  }
  for (const table of document.querySelectorAll('#stage-list table.printout')) {
    const drawn = tableBlocks(table);
    if (drawn) table.after(drawn);
  }
  for (const drawn of document.querySelectorAll('.print-blocks')) {
    drawn.parentElement.classList.add('print-blocked');
    drawn.closest('.stage')?.classList.add('print-blocked');
  }
}

function clear() {
  for (const drawn of document.querySelectorAll('.print-blocks')) drawn.remove();
  for (const holder of document.querySelectorAll('.print-blocked')) holder.classList.remove('print-blocked');
}

addEventListener('beforeprint', () => { clear(); build(); });
addEventListener('afterprint', clear);
