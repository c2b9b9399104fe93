// What the views share of the page: making elements and buttons that send a
// message, saving a download, copying to the clipboard, and a stage's
// operations and printouts as a list and a table.
import { t } from './language.js';
import { operations } from '../logic/run/words.js';

export const byId = (id) => document.getElementById(id);

// Whether the page is served over http(s): only then does a link to it, or its QR code, open on another device.
export const served = () => /^https?:$/.test(location.protocol);

const saver = document.createElement('a');

// Saves content (text or bytes) as a download named name, of the given type.
export function save(content, name, type) {
  // The address of the previous file is let go only now, when surely done with.
  if (saver.href) URL.revokeObjectURL(saver.href);
  saver.href = URL.createObjectURL(new Blob([content], { type }));
  saver.download = name;
  saver.click();
}

// An element: tag, optional class, text and attributes (properties where the
// element has one of that name, attributes otherwise).
export function el(tag, className = '', text = undefined, attributes = {}) {
  const e = document.createElement(tag);
  if (className) e.className = className;
  if (text !== undefined) e.textContent = text;
  for (const [name, value] of Object.entries(attributes)) {
    if (name in e) e[name] = value;
    else e.setAttribute(name, value);
  }
  return e;
}

// Puts text on the clipboard (or, given a map of types to texts, each
// flavour); resolves once it is there, rejects with why it could not be.
export async function copy(content) {
  if (typeof content === 'string') await navigator.clipboard.writeText(content);
  else await navigator.clipboard.write([new ClipboardItem(Object.fromEntries(
    Object.entries(content).map(([type, text]) => [type, new Blob([text], { type })])))]);
}

// What each button drawn by button() sends when pressed: a drawing cache, as
// the buttons are.
const sends = new WeakMap();

// A button with the text of id (with values) that sends message() when pressed (connect()).
export function button(id, message, className = '', values = {}) {
  const b = el('button', className, t(id, values), { type: 'button' });
  sends.set(b, message);
  return b;
}

// The buttons of button() send their messages to dispatch.
export function connect(dispatch) {
  document.addEventListener('click', (event) => {
    const message = sends.get(event.target.closest?.('button'));
    if (message) dispatch(message());
  });
}

// A stage's operations as a list, each in notation and in words; the sentence
// that there are none when it has none. The stages and practice's hints show it.
export function operationList(stage) {
  const described = operations(t, stage);
  if (described.length === 0) return el('p', '', t('stage.noOperations'));
  const ops = el('ul', 'ops');
  for (const { notation, words } of described) {
    const li = el('li');
    li.append(el('span', 'notation', notation), ' ', el('span', 'words', t('stage.opWords', { words })));
    ops.append(li);
  }
  return ops;
}

// A column's or row's header cell of a printout (copies.headers), named for
// the eye and, where that differs, for a screen reader.
export function headerCell(header, scope) {
  const th = el('th', '', undefined, { scope });
  if (header.bar) th.dataset.bar = '';
  if (header.shown === header.spoken) th.textContent = header.shown;
  else th.append(el('span', '', header.shown, { 'aria-hidden': 'true' }), el('span', 'visually-hidden', header.spoken));
  return th;
}

// Gives a printout's table its row of column headers (copies.headers), under a
// corner cell that a screen reader names.
export function headRow(table, head) {
  const corner = el('th', '', undefined, { scope: 'col' });
  corner.append(el('span', 'visually-hidden', t('table.corner')));
  table.createTHead().insertRow().append(corner, ...head.columns.map((header) => headerCell(header, 'col')));
}

// A printout's rows as a table, in a box named label that scrolls sideways
// when wide. Given head (copies.headers: each column's and row's name, shown and
// spoken, and where the bar stands), its columns and rows are labelled as the
// stages' tables are, for the eye and for a screen reader.
export function printoutBox(rows, label, head = null) {
  const table = el('table', 'printout');
  if (head !== null) headRow(table, head);
  const body = table.createTBody();
  rows.forEach((row, r) => {
    const tr = body.insertRow();
    if (head !== null) tr.append(headerCell(head.rows[r], 'row'));
    tr.append(...row.map((x, c) => {
      const cell = el('td', '', x);
      if (head?.columns[c]?.bar) cell.dataset.bar = '';
      return cell;
    }));
  });
  const box = el('div', 'printout-box', undefined, { tabIndex: 0, role: 'region' });
  box.setAttribute('aria-label', label);
  box.append(table);
  return box;
}

// Today in the user's time zone, 'YYYY-MM-DD'.
export const today = () => new Date(Date.now() - new Date().getTimezoneOffset() * 60000).toISOString().slice(0, 10);
