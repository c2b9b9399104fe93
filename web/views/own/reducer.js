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
import { shape, sayShape } from '../../logic/own/forms.js';
import { meaning, sayMeaning } from '../../logic/own/reading.js';
import { ownAllows } from '../../logic/assignments/permissions.js';

// The element of the section whose id is own-<name>.
const element = (name) => byId(`own-${name}`);
// The text own.view.<id> in the language drawn.
const says = (id, values) => t(`own.view.${id}`, values);

const section = byId('own');
const opField = element('op');
const fields = element('fields');
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
  element('from-run').disabled = !run;
  const problem = own?.problem && !own.problem.id.startsWith('own.op.') ? own.problem : null;
  element('typed-problem').textContent = problem ? said(problem) : '';
  element('typed-cells').replaceChildren(...(own?.cells ?? []).map((c) =>
    el('li', '', `${says('field', { row: c.row + 1, column: c.column + 1 })}: ${said(c.problem)}`)));
  // Open while there is no matrix or the one typed is refused; closed as a new one starts.
  if (!own?.work || problem) element('start').open = true;
  else if (drawn?.own?.work?.start !== own.work.start) element('start').open = false;
  element('empty').hidden = Boolean(own?.work);
  element('work').hidden = !own?.work;
}

// What a student's assignment of this mode (assigned, or null) fixes: the
// matrix, who does the arithmetic, and whether a hint or a row shown may be
// asked (permissions.js ownAllows).
function drawAssigned({ assigned: a }) {
  const may = ownAllows(a);
  element('start').hidden = !may.matrix;
  element('arithmetic').hidden = !may.arithmetic;
  element('show').hidden = !may.show;
  if (!may.hint) element('hint').hidden = true;
}

// The matrix, its form (its pivots marked once it is in echelon form) and,
// once reduced, what it means; Compare shown then, and Hint until then.
function drawMatrix({ own, assigned }) {
  const { matrix, work } = own;
  const s = shape(matrix);
  const caption = says('caption', { m: matrix.rows.length, n: matrix.rows[0].length, count: work.at });
  element('matrix').setAttribute('aria-label', caption);
  drawTable(element('matrix'), matrix, caption, s.echelon ? s.pivots : [], own.changed);
  element('shape').textContent = sayShape(t, s);
  // A student's assignment says what it means once the student has read it.
  const means = s.reduced && !(assigned && !own.readOff) ? meaning(matrix, work.kind) : null;
  element('meaning').hidden = !means;
  element('meaning').lastElementChild.textContent = means ? sayMeaning(t, means) : '';
  element('compare').hidden = !s.reduced;
  element('hint').hidden = s.reduced;
  for (const select of [element('row'), element('from')]) rowOptions(select, matrix.rows.length);
}

// The operation's problem beside its field; the field emptied once an operation is done.
function drawOperation({ own }) {
  const problem = own.problem?.id.startsWith('own.op.') ? own.problem : null;
  element('op-problem').textContent = problem ? said(problem) : '';
  opField.setAttribute('aria-invalid', String(Boolean(problem)));
  if (drawn?.own?.work && drawn.own.work.ops !== own.work.ops) opField.value = '';
  for (const radio of section.querySelectorAll('input[name="own-by"]')) radio.checked = radio.value === own.arithmetic;
}

// The row that the learner writes: a field an entry, drawn anew for another
// operation, its wrong cells marked where they stand, and the slip named.
function drawPending({ own }) {
  const p = own.pending;
  element('pending').hidden = !p;
  if (!p) return void (drawnPending = null);
  element('pending-ask').textContent = says('write', { op: notation(p.op), row: p.row + 1 });
  if (drawnPending !== p.op) {
    drawnPending = p.op;
    drawFields(fields, own.matrix.rows[p.row].length, own.matrix.bar);
    // The rows the row is worked out from, beside its fields: with a phone's
    // keyboard up, the matrix is off the screen.
    const from = p.op.type === 'add' ? [p.row, p.op.from] : [p.row];
    element('sources').setAttribute('aria-label', says('sources'));
    drawTable(element('sources'), { rows: from.map((r) => own.matrix.rows[r]), bar: own.matrix.bar }, says('sources'), [], [], from);
  }
  const cells = p.check?.cells ?? [];
  fields.querySelectorAll('input').forEach((input, c) => {
    const wrong = cells[c] ? !cells[c].ok : false;
    input.classList.toggle('wrong', wrong);
    input.setAttribute('aria-invalid', String(wrong));
    input.setAttribute('aria-label', says('field', { row: p.row + 1, column: c + 1 }));
    input.title = cells[c]?.problem ? said(cells[c].problem) : '';
  });
  element('slip').textContent = p.check ? [says('wrongCells', { count: cells.filter((c) => !c.ok).length }), p.check.slip ? t(p.check.slip, p.check.about) : '']
    .join(' ').trim() : '';
}

// The hint or the method's count, as asked.
function drawHelp({ own }) {
  const help = element('help');
  const text = own.hint ? `${said(own.hint.reason)} ${says('hintOp', { op: notation(own.hint.op) })}`
    : own.compared ? says('compared', own.compared) : '';
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
      const go = el('button', 'own-go', says('goTo'), { type: 'button' });
      go.dataset.at = k;
      go.setAttribute('aria-label', says('goToLabel', { k }));
      li.append(' ', go);
    }
    return li;
  };
  element('history').replaceChildren(item(0, t('own.copy.start')), ...work.ops.map((o, k) =>
    item(k + 1, notation(o.op), o.shown ? says('wasShown') : o.written === null ? says('built') : t('own.copy.typed', { written: o.written }))));
  element('undo').disabled = work.at === 0;
  element('redo').disabled = work.at === work.ops.length;
  element('record').textContent = says('record', work.checks);
}

// Draws the slice: the section shown in its mode, and each of its parts from the work.
export function render(slice) {
  section.hidden = slice.mode !== 'own';
  drawStart(slice);
  if (slice.own?.work) for (const draw of [drawMatrix, drawOperation, drawPending, drawHelp, drawHistory]) draw(slice);
  drawAssigned(slice);
  drawn = slice;
}

// What the learner does, sent as messages (dispatch).
export function connect(dispatch) {
  const on = (name, type, handler) => element(name).addEventListener(type, (event) => {
    if (type === 'submit') event.preventDefault();
    dispatch(handler(event));
  });
  on('from-run', 'click', () => ({ type: 'ownFromRun' }));
  // As views/seed.js draws a seed (practice's part holds it): six digits at most.
  on('exercise', 'submit', () => ({ type: 'ownExercise', exercise: { program: element('program').value, order: Number(element('order').value),
                                        seed: crypto.getRandomValues(new Uint32Array(1))[0] % 1000000 } }));
  on('typed-form', 'submit', () => ({ type: 'ownTyped', text: element('typed').value, kind: element('kind').value }));
  on('op-form', 'submit', () => ({ type: 'ownOp', text: opField.value }));
  on('row-form', 'submit', () => ({ type: 'ownRow', texts: [...fields.querySelectorAll('input')].map((input) => input.value) }));
  on('arithmetic', 'change', (event) => ({ type: 'ownArithmetic', by: event.target.value }));
  const simple = { show: 'ownShow', cancel: 'ownCancel', hint: 'ownHint', compare: 'ownCompare', undo: 'ownUndo', redo: 'ownRedo' };
  for (const [id, type] of Object.entries(simple)) on(id, 'click', () => ({ type }));
  section.addEventListener('click', (event) => {
    const button = event.target.closest('button');
    if (button?.dataset.build) {
      dispatch({ type: 'ownButtons', built: { type: button.dataset.build, row: Number(element('row').value),
                                              from: Number(element('from').value), factorText: element('factor').value } });
    } else if (button?.dataset.copy) dispatch({ type: 'ownCopy', form: button.dataset.copy });
    else if (button?.dataset.at) dispatch({ type: 'ownGoTo', at: Number(button.dataset.at) });
  });
  wholeOnFocus(element('matrix'));
}
