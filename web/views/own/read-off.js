// The reading of a reduced matrix that a student's assignment of "Your own
// way" asks, typed in full, before the page says what the matrix means
// (logic/own/reading.js): of a system its solution set on a line (or "no
// solution"), of [A | I] A⁻¹ an entry a box (or "not invertible"), of a
// matrix its rank and pivot columns. Then why a reading could not be read,
// what was typed kept; or the verdict on the first reading, what is wrong
// with it said. It draws the slice { own, assigned, language } and sends the
// reading as a message.
import { t } from '../language.js';
import { byId, el } from '../dom.js';
import { shape } from '../../logic/own/forms.js';
import { readingAsked, sayVerdict } from '../../logic/own/reading.js';

const form = el('form', 'note-box', undefined, { id: 'own-read', hidden: true });
const problem = el('p', 'own-problem', undefined, { id: 'own-read-problem' });
const verdict = el('p', 'note-box', undefined, { id: 'own-read-verdict', hidden: true, tabIndex: -1 });
byId('own-meaning').before(form, verdict);
let drawnFor = null;  // the work whose reading is drawn
let drawnLanguage = null;  // the language its boxes are labelled in
const off = { autocomplete: 'off', autocapitalize: 'off', spellcheck: false };

// An element whose text the page draws in its language (views/language.js).
function worded(tag, id, attributes = {}) {
  const e = el(tag, '', t(id), attributes);
  e.dataset.text = id;
  return e;
}

// A button that sends the reading of nothing typed: "no solution", "not invertible".
const noneButton = (id) => worded('button', id, { type: 'button', className: 'own-read-none' });

// The questions of a reading of what kind asks, of a matrix of n rows.
function questions(kind, n) {
  const asked = readingAsked(kind);
  form.dataset.asked = asked;
  const parts = [worded('h3', 'own.read.heading')];
  if (asked === 'set') {
    const entry = el('p');
    entry.append(worded('label', 'own.read.set', { htmlFor: 'own-read-set' }), el('br'),
      el('textarea', '', undefined, { id: 'own-read-set', rows: 2, ...off, 'aria-describedby': 'own-read-problem' }));
    const line = el('p', 'own-line');
    line.append(worded('button', 'own.read.check', { type: 'submit' }), noneButton('own.read.noSolution'));
    parts.push(entry, line);
  } else if (asked === 'inverse') {
    const grid = el('table');
    for (let r = 0; r < n; r++) {
      const row = grid.insertRow();
      for (let c = 0; c < n; c++) {
        row.insertCell().append(el('input', '', undefined, { size: 5, ...off, name: 'own-read-entry', 'aria-label': t('own.read.entry', { row: r + 1, column: c + 1 }) }));
      }
    }
    const line = el('p', 'own-line');
    line.append(worded('button', 'own.read.check', { type: 'submit' }), noneButton('own.read.notInvertible'));
    const box = el('div', 'own-read-grid');
    box.append(grid);
    parts.push(worded('p', 'own.read.inverse'), box, line);
  } else {
    const line = el('p', 'own-line');
    line.append(worded('label', 'own.read.rank', { htmlFor: 'own-read-rank' }), el('input', '', undefined, { id: 'own-read-rank', size: 3, inputMode: 'numeric', ...off }),
      worded('label', 'own.read.columns', { htmlFor: 'own-read-columns' }), el('input', '', undefined, { id: 'own-read-columns', size: 8, ...off }));
    parts.push(line, worded('button', 'own.read.check', { type: 'submit' }));
  }
  form.replaceChildren(...parts, problem);
}

// Draws the questions while the student's reduced matrix waits for its
// reading (anew for another matrix, what was typed kept otherwise), why the
// last reading could not be read, and the verdict once read.
export function render({ own, assigned, language }) {
  const asking = Boolean(assigned && own?.work && !own.readOff && shape(own.matrix).reduced);
  form.hidden = !asking;
  if (asking && drawnFor !== own.work.start) {
    drawnFor = own.work.start;
    questions(own.work.kind, own.matrix.rows.length);
  } else if (asking && drawnLanguage !== language) {
    form.querySelectorAll('input[name="own-read-entry"]').forEach((input, k) => {
      const n = own.matrix.rows.length;
      input.setAttribute('aria-label', t('own.read.entry', { row: Math.floor(k / n) + 1, column: (k % n) + 1 }));
    });
  }
  drawnLanguage = language;
  problem.textContent = asking && own.readProblem ? t(own.readProblem.id, own.readProblem.values) : '';
  verdict.hidden = !own?.readOff;
  verdict.textContent = own?.readOff ? sayVerdict(t, own.readOff) : '';
}

// The reading typed: the line, the boxes a row a line, or the rank and columns.
function typed() {
  const { asked } = form.dataset;
  if (asked === 'set') return { set: byId('own-read-set').value };
  if (asked === 'inverse') {
    const entries = [...form.querySelectorAll('input[name="own-read-entry"]')].map((input) => input.value.trim() || '?');
    const n = Math.round(Math.sqrt(entries.length));
    return { inverse: Array.from({ length: n }, (_, r) => entries.slice(r * n, r * n + n).join(' ')).join('\n') };
  }
  return { rank: byId('own-read-rank').value, columns: byId('own-read-columns').value };
}

// Sends the reading typed, or the reading of nothing ("no solution", "not invertible").
export function connect(dispatch) {
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    dispatch({ type: 'ownAnswer', answer: typed() });
  });
  form.addEventListener('click', (event) => {
    if (!event.target.closest('.own-read-none')) return;
    dispatch({ type: 'ownAnswer', answer: { [form.dataset.asked]: null } });
  });
}
