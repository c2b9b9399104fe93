// What the views share of the page: making elements, copying to the
// clipboard, and a stage's operations as a list.
import { t } from './language.js';
import { emit } from './events.js';
import { operations } from '../logic/words.js';

export const byId = (id) => document.getElementById(id);

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

// Puts text on the clipboard (or, given a map of types to texts, each flavour)
// and has the status line say that it did, with doneId, or why it could not.
export async function copy(content, doneId) {
  try {
    if (typeof content === 'string') await navigator.clipboard.writeText(content);
    else await navigator.clipboard.write([new ClipboardItem(Object.fromEntries(
      Object.entries(content).map(([type, text]) => [type, new Blob([text], { type })])))]);
    emit('announce', () => [t(doneId)]);
  } catch (e) {
    emit('announce', () => [t('status.copyFailed', { error: e.message })]);
  }
}

// A stage's operations as a list, each in notation and in words; the sentence
// that there are none when it has none. The stages and practice's hints show it.
export function operationList(stage) {
  const described = operations(stage);
  if (described.length === 0) return el('p', '', t('stage.noOperations'));
  const ops = el('ul', 'ops');
  for (const { notation, words } of described) {
    const li = el('li');
    li.append(el('span', 'notation', notation), ' ', el('span', 'words', t('stage.opWords', { words })));
    ops.append(li);
  }
  return ops;
}

// A printout's rows as a plain table, in a box named label that scrolls
// sideways when wide.
export function printoutBox(rows, label) {
  const table = el('table', 'printout');
  for (const row of rows) table.insertRow().append(...row.map((x) => el('td', '', x)));
  const box = el('div', 'printout-box', undefined, { tabIndex: 0, role: 'region' });
  box.setAttribute('aria-label', label);
  box.append(table);
  return box;
}
