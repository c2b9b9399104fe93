// The teacher's page of an assignment, opened from the teacher link, drawn
// from the state's teacher and results: the assignment's title, due date, id
// and names; its student links again and its worksheets and keys; a box for
// the result codes handed in, pasted any number at once; and the results
// table that the page works out from them (results.js), each cell in words and
// a mark, with the codes set aside, to download as CSV or print.
import { t } from '../language.js';
import { byId, el } from '../dom.js';
import { drawStudentLinks } from './class-links.js';
import { cellText, flagText, minutes } from '../../logic/assignments/results.js';
import { id as idOf } from '../../logic/assignments/assignment.js';

const section = byId('teacher');
const codes = byId('teacher-codes');
const tableBox = byId('teacher-table');
let drawnId = null;   // the id of the assignment drawn, or null

// The assignment's facts as a description list.
function drawFacts(a) {
  const facts = [['teacher.title', a.title || t('teacher.none')], ['teacher.due', a.due || t('teacher.none')],
                 ['teacher.id', idOf(a)], ['teacher.names', a.names.length > 0 ? a.names.join(', ') : t('teacher.none')]];
  byId('teacher-facts').replaceChildren(...facts.flatMap(([id, value]) => [el('dt', '', t(id)), el('dd', '', value)]));
}

// The results table: a row per student, a column per stage asked, then the
// hints, the time, the stages right the first time and the flags.
function tableOf(tab) {
  const element = el('table', 'results');
  element.createCaption().textContent = t('teacher.table', { count: tab.rows.length });
  const heads = [t('results.name'), ...tab.stages.map((k) => t('results.stage', { k: k + 1 })), t('results.hints'),
                 t('results.minutes'), t('results.total', { count: tab.stages.length }), t('results.flags')];
  element.createTHead().insertRow().append(...heads.map((h) => el('th', '', h, { scope: 'col' })));
  const body = element.createTBody();
  for (const row of tab.rows) {
    const cells = row.cells.map((cell) => {
      const td = el('td', 'status-' + cell.status);
      td.append(el('span', 'mark', t('results.mark.' + cell.status), { 'aria-hidden': 'true' }), ' ', cellText(t, cell));
      return td;
    });
    body.insertRow().append(el('th', '', row.name, { scope: 'row' }), ...cells, el('td', 'number', String(row.hints)),
                            el('td', 'number', String(minutes(row))), el('td', 'number', String(row.right)), el('td', '', flagText(t, row)));
  }
  return element;
}

// The codes set aside, each by its start, its name and the reason.
function rejectedOf(tab) {
  if (tab.rejected.length === 0) return [];
  const list = el('ul');
  list.append(...tab.rejected.map((r) => el('li', '', t('teacher.rejectedItem',
    { code: r.code.slice(0, 12), name: r.name ?? t('teacher.unnamed'), problem: t(r.problem) }))));
  return [el('h3', '', t('teacher.rejected')), list];
}

function drawTable(table) {
  if (table === null) return tableBox.replaceChildren();
  const wrap = el('div', 'results-box', undefined, { tabIndex: 0, role: 'region' });
  wrap.setAttribute('aria-label', t('teacher.table', { count: table.rows.length }));
  wrap.append(tableOf(table));
  tableBox.replaceChildren(el('p', 'help', t('teacher.legend')), wrap, ...rejectedOf(table));
}

// Draws the slice ({ teacher: the assignment open or null, results: { codes,
// table } or null, language }); another assignment empties the box for the codes.
export function render({ teacher: a, results }) {
  const id = a && idOf(a);
  if (id === null || id !== drawnId) codes.value = '';
  drawnId = id;
  section.hidden = a === null;
  if (a === null) return;
  drawFacts(a);
  drawStudentLinks(byId('teacher-links'), a);
  drawTable(results?.table ?? null);
  byId('teacher-exports').hidden = !results;
}

// The section alone on paper while on (print.js prints the results table).
export function printing(on) {
  section.toggleAttribute('data-printing', on);
}

// Sends what the teacher does to the page.
export function connect(dispatch) {
  byId('teacher-form').addEventListener('submit', (event) => {
    event.preventDefault();
    dispatch({ type: 'codesRead', codes: codes.value });
  });
  byId('teacher-csv').addEventListener('click', () => dispatch({ type: 'resultsSaved' }));
  byId('teacher-print').addEventListener('click', () => dispatch({ type: 'print', asked: { results: true } }));
  byId('teacher-keys').addEventListener('click', () => dispatch({ type: 'keysAsked' }));
}
