// The learner's matrix as a table: its rows named R1 … Rm, the bar before
// the right-hand side, the pivots and the rows that the last operation
// changed marked, and a long entry cut, its whole value a focus or a tap away.
// Made as one piece of markup: a 10 × 20 matrix is drawn within a frame.
import { t } from '../language.js';
import { el } from '../dom.js';
import { shown } from '../../logic/own/numbers.js';
import { escapeHtml } from '../../logic/run/copies.js';

// The most characters of an entry drawn whole; a longer one shows its start and end.
const whole = 12;

const hidden = (text) => `<span class="visually-hidden"> ${escapeHtml(text)}</span>`;

// The cell of one entry, cut where long, as a focusable span that shows it whole while focused.
function cell(value, bar, pivot) {
  const text = shown(value);
  const drawn = text.length <= whole ? text
    : `<span class="own-cut" tabindex="0" title="${text}" aria-label="${text}">${text.slice(0, 5)}…${text.slice(-4)}</span>`;
  return `<td${bar ? ' data-bar' : ''}${pivot ? ' class="pivot"' : ''}>${drawn}${pivot ? hidden(t('own.view.pivot')) : ''}</td>`;
}

// A cut entry shows itself whole while it has the focus (a tap gives it the focus).
export function wholeOnFocus(box) {
  box.addEventListener('focusin', (event) => {
    const span = event.target.closest('.own-cut');
    if (span) [span.dataset.cut, span.textContent] = [span.textContent, span.title];
  });
  box.addEventListener('focusout', (event) => {
    const span = event.target.closest('.own-cut');
    if (span?.dataset.cut) span.textContent = span.dataset.cut;
  });
}

// The rows of matrix ({ rows, bar }) as markup, one a row, named by names
// (0-based: R1 for 0): pivots ([{ row, column }]) and the changed rows
// (0-based) marked for the eye and a screen reader.
function rowsOf(matrix, pivots, changed, names) {
  const pivotAt = new Set(pivots.map((p) => `${p.row} ${p.column}`));
  return matrix.rows.map((row, r) => {
    const mark = changed.includes(r);
    return `<tr${mark ? ' class="changed"' : ''}><th scope="row">R${names[r] + 1}${mark ? hidden(t('own.view.changed')) : ''}</th>` +
      row.map((value, c) => cell(value, c === matrix.bar, pivotAt.has(`${r} ${c}`))).join('') + '</tr>';
  });
}

// Draws the table of matrix into box, captioned caption, with its marks
// (rowsOf; its rows named by names, R1 … by default). Where box holds a
// table of the same columns, only the rows that differ are drawn anew, and
// the caption's words: an operation changes one row, or two, and a table made
// anew is laid out whole.
export function drawMatrix(box, matrix, caption, pivots, changed, names = matrix.rows.map((_, r) => r)) {
  const rows = rowsOf(matrix, pivots, changed, names);
  const head = matrix.rows[0].map((_, c) => `<th scope="col"${c === matrix.bar ? ' data-bar' : ''}>${c + 1}</th>`).join('');
  const top = `<thead><tr><th scope="col">${hidden(t('table.corner'))}</th>${head}</tr></thead>`;
  const drawn = box.firstElementChild;
  if (drawn?.drawnTop === top && drawn.drawnRows.length === rows.length) {
    rows.forEach((row, r) => {
      if (row !== drawn.drawnRows[r]) drawn.tBodies[0].rows[r].outerHTML = row;
    });
    drawn.caption.firstElementChild.textContent = ` ${caption}`;
  } else box.innerHTML = `<table class="printout own-table"><caption>${hidden(caption)}</caption>${top}<tbody>${rows.join('')}</tbody></table>`;
  Object.assign(box.firstElementChild, { drawnTop: top, drawnRows: rows });
}

// The fields of the row that the learner writes, count of them, into box:
// each under its column's number, as the table heads it (a screen reader
// has the field's own name), the bar before column bar.
export function drawFields(box, count, bar) {
  box.replaceChildren(...Array.from({ length: count }, (_, c) => {
    const cellBox = el('span', 'own-cell');
    cellBox.append(el('span', 'own-column', String(c + 1), { 'aria-hidden': 'true' }), el('input', 'answer', undefined, {
      id: `own-cell-${c}`, autocomplete: 'off', autocapitalize: 'off', spellcheck: false, ...(c === bar ? { 'data-bar': '' } : {}),
    }));
    return cellBox;
  }));
}
