// The set being made with the assignment form (state.draft): its problems,
// each with what it asks, its points (a field), buttons that move it up or
// down, copy it and remove it, and a preview of its matrix as a student gets
// it (the first name of the class list typed, else a student's of the
// name in the help); and why the last problems asked could not be added.
// What the teacher does is sent as messages.
import { t } from '../language.js';
import { byId, el, button } from '../dom.js';
import { assignment, problemsOf, problemWords, exerciseFor } from '../../logic/assignments/assignment.js';
import { ownStart } from '../../logic/assignments/set.js';
import { make } from '../../logic/practice/exercises.js';
import { fromRun } from '../../logic/own/matrix.js';
import { shown } from '../../logic/own/numbers.js';

const box = byId('assign-set');
const previews = new Map();   // a drawing cache: a problem's preview by its matrix and the name it is drawn for

// The name whose matrices the previews show: the class list's first, else a student's of the help's words.
const sampleName = () => byId('assign-names').value.split('\n').map((line) => line.trim()).find(Boolean) ?? t('assign.sample');

// The rows of problem p's matrix as the student named gets it, each entry's text.
function rowsOf(p, name) {
  const key = JSON.stringify([p.matrix, p.program, p.order, p.options, p.seed, p.perStudent, name]);
  if (!previews.has(key)) {
    const start = p.matrix ? ownStart(p.matrix) : fromRun(p.program, make(exerciseFor(p, name)).input);
    previews.set(key, start.matrix.rows.map((row) => row.map(shown)));
  }
  return previews.get(key);
}

// A matrix's rows as a small table.
function preview(rows) {
  const table = el('table', 'set-preview');
  for (const row of rows) table.insertRow().append(...row.map((x) => el('td', 'number', x)));
  return table;
}

// Problem p (seen alone) of the draft as an item of its list, the k-th of count.
function item(p, k, count, name) {
  const li = el('li', 'set-problem');
  const points = el('input', '', undefined, { type: 'number', min: 1, max: 100, step: 1, value: String(p.points), id: `assign-points-${k + 1}` });
  points.dataset.at = String(k);
  const line = el('p');
  line.append(el('strong', '', t('teacher.set.problem', { k: k + 1 })), ' ', problemWords(t, p), ' ',
    el('label', '', t('assign.points'), { htmlFor: points.id }), ' ', points, ' ',
    ...[['assign.up', -1, k > 0], ['assign.down', 1, k < count - 1]].filter(([, , can]) => can)
      .map(([id, by]) => button(id, () => ({ type: 'problemMoved', at: k, by }), 'set-move')),
    ' ', button('assign.copy', () => ({ type: 'problemCopied', at: k }), 'set-copy'), ' ', button('assign.remove', () => ({ type: 'problemRemoved', at: k }), 'set-remove'));
  li.append(line, el('p', 'help', t(p.matrix ? 'assign.previewGiven' : 'assign.preview', { name })), preview(rowsOf(p, name)));
  return li;
}

// Draws the slice ({ draft, language }).
export function render({ draft }) {
  const problems = draft?.problems ?? [];
  const name = sampleName();
  const views = problems.length > 0 ? problemsOf(assignment({ seed: draft.seed, perStudent: byId('assignment-form').querySelector('input[name="assign-matrix"]:checked')?.value !== 'class', problems })) : [];
  const list = el('ol', 'set-problems');
  list.append(...views.map((p, k) => item(p, k, views.length, name)));
  const trouble = draft?.trouble ? [el('p', 'note-box', t(draft.trouble.id, draft.trouble.values), { role: 'alert', id: 'assign-trouble' })] : [];
  box.replaceChildren(...trouble, ...(views.length > 0 ? [el('h3', '', t('assign.setHeading', { count: views.length })), list] : []));
}

// Sends a problem's points as typed, once changed.
export function connect(dispatch) {
  box.addEventListener('change', (event) => {
    if (event.target.dataset.at) dispatch({ type: 'pointsSet', at: Number(event.target.dataset.at), points: Number(event.target.value) });
  });
}
