// "Your own way": the learner's matrix and what it is, the operation typed or
// built with buttons, the row the learner writes where the learner does the
// arithmetic, the hint and the method's count, and the history with undo and
// its copies. It draws the slice { mode, own, run, language } (state/own.js
// says what own holds; run, whether a finished run is shown to start from)
// and sends what the learner does as messages.
import { t } from '../language.js';
import { byId, el } from '../dom.js';
import { drawMatrix as drawTable, drawFields, wholeOnFocus } from './matrix-table.js';
import { notation } from '../../logic/own/operations.js';
import { shape, meaning, sayShape, sayMeaning } from '../../logic/own/forms.js';

const section = byId('own');
const opField = byId('own-op');
const fields = byId('own-fields');
let drawn = null;         // the slice drawn last
let drawnPending = null;  // the pending operation whose fields are drawn

// What a problem ({ id, values }) says, its values said first where they are problems themselves.
const said = (problem) => t(problem.id, Object.fromEntries(Object.entries(problem.values ?? {}).map(([k, v]) => [k, v?.id ? said(v) : v])));

// The options of a row select: R1 … Rm, keeping the row chosen where it still is.
function rowOptions(select, m) {
  if (select.options.length === m) return;
  const chosen = select.selectedIndex;
  select.replaceChildren(...Array.from({ length: m }, (_, r) => el('option', '', `R${r + 1}`, { value: String(r) })));
  select.selectedIndex = Math.max(0, Math.min(chosen, m - 1));
}

// The start: open while there is no matrix or the matrix typed was refused, with its problems.
function drawStart({ own, run }) {
  byId('own-from-run').disabled = !run;
  const problem = own?.problem && !own.problem.id.startsWith('own.op.') ? own.problem : null;
  byId('own-typed-problem').textContent = problem ? said(problem) : '';
  byId('own-typed-cells').replaceChildren(...(own?.cells ?? []).map((c) =>
    el('li', '', t('own.view.cell', { row: c.row + 1, column: c.column + 1, problem: said(c.problem) }))));
  // Open while there is no matrix or the one typed is refused; closed as a new one starts.
  if (!own?.work || problem) byId('own-start').open = true;
  else if (drawn?.own?.work?.start !== own.work.start) byId('own-start').open = false;
  byId('own-empty').hidden = Boolean(own?.work);
  byId('own-work').hidden = !own?.work;
}

// The matrix, its form (its pivots marked once it is in echelon form) and,
// once reduced, what it means; Compare shown then, and Hint until then.
function drawMatrix({ own }) {
  const { matrix, work } = own;
  const s = shape(matrix);
  const caption = t('own.view.caption', { m: matrix.rows.length, n: matrix.rows[0].length, count: work.at });
  byId('own-matrix').setAttribute('aria-label', caption);
  drawTable(byId('own-matrix'), matrix, caption, s.echelon ? s.pivots : [], own.changed);
  byId('own-shape').textContent = sayShape(t, s);
  const means = s.reduced ? meaning(matrix, work.kind) : null;
  byId('own-meaning').hidden = !means;
  byId('own-meaning').lastElementChild.textContent = means ? sayMeaning(t, means) : '';
  byId('own-compare').hidden = !s.reduced;
  byId('own-hint').hidden = s.reduced;
  for (const select of [byId('own-row'), byId('own-from')]) rowOptions(select, matrix.rows.length);
}

// The operation's problem beside its field; the field emptied once an operation is done.
function drawOperation({ own }) {
  const problem = own.problem?.id.startsWith('own.op.') ? own.problem : null;
  byId('own-op-problem').textContent = problem ? said(problem) : '';
  opField.setAttribute('aria-invalid', String(Boolean(problem)));
  if (drawn?.own?.work && drawn.own.work.ops !== own.work.ops) opField.value = '';
  for (const radio of section.querySelectorAll('input[name="own-by"]')) radio.checked = radio.value === own.arithmetic;
}

// The row that the learner writes: a field an entry, drawn anew for another
// operation, its wrong cells marked where they stand, and the slip named.
function drawPending({ own }) {
  const p = own.pending;
  byId('own-pending').hidden = !p;
  if (!p) return void (drawnPending = null);
  byId('own-pending-ask').textContent = t('own.view.write', { op: notation(p.op), row: p.row + 1 });
  if (drawnPending !== p.op) {
    drawnPending = p.op;
    drawFields(fields, own.matrix.rows[p.row].length, own.matrix.bar);
  }
  const cells = p.check?.cells ?? [];
  fields.querySelectorAll('input').forEach((input, c) => {
    const wrong = cells[c] ? !cells[c].ok : false;
    input.classList.toggle('wrong', wrong);
    input.setAttribute('aria-invalid', String(wrong));
    input.setAttribute('aria-label', t('own.view.field', { row: p.row + 1, column: c + 1 }));
    input.title = cells[c]?.problem ? said(cells[c].problem) : '';
  });
  byId('own-slip').textContent = p.check ? [t('own.view.wrongCells', { count: cells.filter((c) => !c.ok).length }), p.check.slip ? t(p.check.slip) : '']
    .join(' ').trim() : '';
}

// The hint or the method's count, as asked.
function drawHelp({ own }) {
  const help = byId('own-help');
  const text = own.hint ? `${said(own.hint.reason)} ${t('own.view.hintOp', { op: notation(own.hint.op) })}`
    : own.compared ? t('own.view.compared', own.compared) : '';
  help.hidden = text === '';
  help.textContent = text;
}

// The history: the start, then each operation in the page's notation and as
// the learner wrote it, those undone marked; each a point to go back to.
function drawHistory({ own }) {
  const { work } = own;
  const item = (k, what, mine) => {
    const li = el('li', k > work.at ? 'undone' : '');
    if (k === work.at) li.setAttribute('aria-current', 'step');
    li.append(el('span', k > 0 ? 'notation' : '', what));
    if (mine) li.append(' ', el('span', 'words', mine));
    if (k !== work.at) {
      const go = el('button', 'own-go', t('own.view.goTo'), { type: 'button' });
      go.dataset.at = k;
      go.setAttribute('aria-label', t('own.view.goToLabel', { k }));
      li.append(' ', go);
    }
    return li;
  };
  byId('own-history').replaceChildren(item(0, t('own.view.start0')), ...work.ops.map((o, k) =>
    item(k + 1, notation(o.op), o.shown ? t('own.view.wasShown') : o.written === null ? t('own.view.built') : t('own.view.written', { written: o.written }))));
  byId('own-undo').disabled = work.at === 0;
  byId('own-redo').disabled = work.at === work.ops.length;
  byId('own-record').textContent = t('own.view.record', work.checks);
}

// Draws the slice: the section shown in its mode, and each of its parts from the work.
export function render(slice) {
  section.hidden = slice.mode !== 'own';
  drawStart(slice);
  if (slice.own?.work) for (const draw of [drawMatrix, drawOperation, drawPending, drawHelp, drawHistory]) draw(slice);
  drawn = slice;
}

// What the learner does, sent as messages (dispatch).
export function connect(dispatch) {
  const on = (id, type, handler) => byId(id).addEventListener(type, (event) => {
    if (type === 'submit') event.preventDefault();
    dispatch(handler(event));
  });
  on('own-from-run', 'click', () => ({ type: 'ownFromRun' }));
  // As views/seed.js draws a seed (practice's part holds it): six digits at most.
  on('own-exercise', 'submit', () => ({ type: 'ownExercise', exercise: { program: byId('own-program').value, order: Number(byId('own-order').value),
                                        seed: crypto.getRandomValues(new Uint32Array(1))[0] % 1000000 } }));
  on('own-typed-form', 'submit', () => ({ type: 'ownTyped', text: byId('own-typed').value, kind: byId('own-kind').value }));
  on('own-op-form', 'submit', () => ({ type: 'ownOp', text: opField.value }));
  on('own-row-form', 'submit', () => ({ type: 'ownRow', texts: [...fields.querySelectorAll('input')].map((input) => input.value) }));
  on('own-arithmetic', 'change', (event) => ({ type: 'ownArithmetic', by: event.target.value }));
  const simple = { 'own-show': 'ownShow', 'own-cancel': 'ownCancel', 'own-hint': 'ownHint', 'own-compare': 'ownCompare', 'own-undo': 'ownUndo', 'own-redo': 'ownRedo' };
  for (const [id, type] of Object.entries(simple)) on(id, 'click', () => ({ type }));
  section.addEventListener('click', (event) => {
    const button = event.target.closest('button');
    if (button?.dataset.build) {
      dispatch({ type: 'ownButtons', built: { type: button.dataset.build, row: Number(byId('own-row').value),
                                              from: Number(byId('own-from').value), factorText: byId('own-factor').value } });
    } else if (button?.dataset.copy) dispatch({ type: 'ownCopy', form: button.dataset.copy });
    else if (button?.dataset.at) dispatch({ type: 'ownGoTo', at: Number(button.dataset.at) });
  });
  wholeOnFocus(byId('own-matrix'));
}
