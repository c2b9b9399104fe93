// The learner's matrix as a table: its rows named R1 … Rm, the bar before
// the right-hand side, the pivots and the rows that the last operation
// changed marked, and a long entry cut, its whole value a focus or a tap away.
import { t } from '../language.js';
import { el } from '../dom.js';
import { shown } from '../../logic/own/numbers.js';

// The most characters of an entry drawn whole; a longer one shows its start and end.
const whole = 12;

// The cell of one entry; cut where long, as a focusable span that shows it whole while focused.
function cell(value) {
  const text = shown(value);
  const td = el('td');
  if (text.length <= whole) td.textContent = text;
  else td.append(el('span', 'own-cut', text.slice(0, 5) + '…' + text.slice(-4), { tabIndex: 0, title: text, 'aria-label': text }));
  return td;
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

// The table of matrix ({ rows, bar }), captioned caption; pivots ([{ row,
// column }]) and the changed rows (0-based) marked for the eye and a screen reader.
export function matrixTable(matrix, caption, pivots, changed) {
  const table = el('table', 'printout own-table');
  table.createCaption().append(el('span', 'visually-hidden', caption));
  const n = matrix.rows[0].length;
  const corner = el('th', '', undefined, { scope: 'col' });
  corner.append(el('span', 'visually-hidden', t('table.corner')));
  table.createTHead().insertRow().append(corner, ...Array.from({ length: n }, (_, c) => {
    const th = el('th', '', String(c + 1), { scope: 'col' });
    if (c === matrix.bar) th.dataset.bar = '';
    return th;
  }));
  const body = table.createTBody();
  const pivotAt = new Set(pivots.map((p) => `${p.row} ${p.column}`));
  matrix.rows.forEach((row, r) => {
    const tr = body.insertRow();
    const th = el('th', '', `R${r + 1}`, { scope: 'row' });
    if (changed.includes(r)) {
      tr.className = 'changed';
      th.append(el('span', 'visually-hidden', ' ' + t('own.view.changed')));
    }
    tr.append(th, ...row.map((value, c) => {
      const td = cell(value);
      if (c === matrix.bar) td.dataset.bar = '';
      if (pivotAt.has(`${r} ${c}`)) {
        td.classList.add('pivot');
        td.append(el('span', 'visually-hidden', ' ' + t('own.view.pivot')));
      }
      return td;
    }));
  });
  return table;
}
