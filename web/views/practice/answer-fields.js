// Practice's fields: each question of a stage as the learner answers it (a
// text field, the "left alone" button of a row, the two buttons of whether A is
// invertible), grouped as decisions and as the entries of a printout, and
// marked by the verdict on the answer given. questions.js places them.
import { t } from '../language.js';
import { el } from '../dom.js';
import { questionLabel as labelOf } from '../../logic/run/words.js';
import { isMiss } from '../../logic/practice/check.js';
import { headers } from '../../logic/run/copies.js';
import { checkButton } from './keyboard.js';

// The id of the field (or first button) of question key of stage k.
export const idOf = (k, key) => `practice-${k}-${key.replace(/ /g, '-')}`;

// Marks an answer field by its verdict: a mark beside it, the colour of its
// frame, and aria-invalid, so that the mark never rests on colour alone. A
// field answered right is done with, and leaves the tab order to the open ones.
export function mark(input, given) {
  const verdict = given ? given.verdict : null;
  const close = verdict !== null && !verdict.right && !isMiss(verdict);
  input.classList.toggle('right', verdict?.right === true);
  input.classList.toggle('wrong', verdict?.right === false && !close);
  input.classList.toggle('close', close);
  input.classList.remove('unchecked');
  input.readOnly = verdict?.right === true;
  input.tabIndex = verdict?.right === true ? -1 : 0;
  input.setAttribute('aria-invalid', String(verdict?.right === false));
  input.nextElementSibling.textContent = verdict === null ? '' : verdict.right ? '✓' : close ? '≈' : '✗';
}

// A text field for question q of stage k, as s (the stage's session) has it: the keyboard of letters and signs, which on every phone has
// the digits, '-', '/', '.' and the space a layer away; a number keypad lacks some.
function field(s, k, q, labelled) {
  const input = el('input', 'answer', undefined, {
    type: 'text', id: idOf(k, q.key), autocomplete: 'off', spellcheck: false, autocapitalize: 'off',
    inputMode: 'text', enterKeyHint: 'enter',
  });
  input.setAttribute('autocorrect', 'off');
  Object.assign(input.dataset, { k, key: q.key });
  if (!labelled) input.setAttribute('aria-label', labelOf(t, q));
  input.setAttribute('aria-describedby', `practice-feedback-${k}`);
  const given = s.answers.get(q.key);
  input.value = given ? given.text ?? (given.alone ? t('practice.aloneAnswer') : '') : '';
  const holder = el('span', 'answer-box');
  holder.append(input, el('span', 'mark', '', { 'aria-hidden': 'true' }), checkButton(labelOf(t, q)));
  mark(input, given);
  return holder;
}

// Whether A is invertible: two buttons, the one chosen pressed, both done with once right.
export function choiceItem(s, k, q) {
  const item = el('li');
  const given = s.answers.get(q.key);
  const labelId = idOf(k, q.key) + '-label';
  const group = el('span', 'choices', undefined, { role: 'group' });
  group.setAttribute('aria-labelledby', labelId);
  group.setAttribute('aria-describedby', `practice-feedback-${k}`);
  const which = q.label.id.split('.').at(-1);
  for (const choice of q.choices) {
    const button = el('button', 'choice', t(`practice.choice.${which}.${choice}`), { type: 'button', disabled: given?.verdict.right === true });
    if (choice === q.choices[0]) button.id = idOf(k, q.key);
    button.setAttribute('aria-pressed', String(given?.choice === choice));
    Object.assign(button.dataset, { k, key: q.key, choice });
    group.append(button);
  }
  const sign = given ? (given.verdict.right ? '✓' : '✗') : '';
  item.append(el('span', '', labelOf(t, q), { id: labelId }), ' ', group, el('span', 'mark', sign, { 'aria-hidden': 'true' }));
  return item;
}

// The decisions of stage k, each with its label; a row of an elimination also offers "left alone".
export function decisions(s, k, questions) {
  const list = el('ul', 'decisions');
  for (const q of questions) {
    if (q.kind === 'invertible') {
      list.append(choiceItem(s, k, q));
      continue;
    }
    const item = el('li');
    const box = field(s, k, q, true);
    item.append(el('label', '', labelOf(t, q), { htmlFor: box.firstChild.id }), ' ', box);
    if (q.kind === 'r') {
      const done = s.answers.get(q.key)?.verdict.right === true;
      const alone = el('button', 'alone', t('practice.alone', { t: q.label.values.t }), { type: 'button', disabled: done });
      Object.assign(alone.dataset, { k, key: q.key });
      item.append(' ', alone);
    }
    list.append(item);
  }
  return list;
}

// The entries asked of stage k of model m, in the rows and columns of the
// printout, under its column headers with the bar before I or b; on a phone
// (page.css), each row's entries wrap under its label, each under its
// column's name, so that none is off the side of the screen.
export function entries(m, s, k, questions) {
  const box = el('div', 'entries');
  box.append(el('p', '', t('practice.entries')));
  const { columns } = headers(t, m, k);
  const grid = el('div', 'entry-grid');
  grid.style.setProperty('--columns', columns.length);
  const head = el('div', 'entry-head', undefined, { 'aria-hidden': 'true' });
  head.append(el('span', 'row-label'), ...columns.map((col) => el('span', 'column-label', col.shown, col.bar ? { 'data-bar': '' } : {})));
  grid.append(head);
  const byRow = new Map();
  for (const q of questions) {
    const { r } = q.label.values;
    if (!byRow.has(r)) byRow.set(r, []);
    byRow.get(r).push(q);
  }
  for (const [r, row] of byRow) {
    const line = el('div', 'entry-row');
    line.append(el('span', 'row-label', t('practice.row', { r }), { 'aria-hidden': 'true' }));
    for (const q of row) {
      const column = columns[q.label.values.c - 1];
      const cell = el('span', 'entry', undefined, column?.bar ? { 'data-bar': '' } : {});
      cell.append(el('span', 'cell-label', column?.shown ?? '', { 'aria-hidden': 'true' }), field(s, k, q, false));
      line.append(cell);
    }
    grid.append(line);
  }
  box.append(grid);
  return box;
}
