// The teacher's page of an assignment, opened from the teacher link: the
// assignment's title, due date, id and names; its student links again and its
// worksheets and keys; a box for the result codes handed in, pasted any number
// at once; and the results table that the page works out from them
// (results.js), each cell in words and a mark, with the codes set aside, to
// download as CSV or print.
import { t, onChange } from '../language.js';
import { byId, el, save } from '../dom.js';
import { emit } from '../events.js';
import { drawStudentLinks, base } from './class-links.js';
import { results, resultsCsv, cellText, flagText, minutes } from '../../logic/assignments/results.js';
import { find } from '../../logic/assignments/result-code.js';
import { id as idOf, keySheets } from '../../logic/assignments/assignment.js';

const section = byId('teacher');
const codes = byId('teacher-codes');
const tableBox = byId('teacher-table');
let shown = null;   // the assignment open, or null
let table = null;   // its results table, once codes are read

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

function drawTable() {
  const wrap = el('div', 'results-box', undefined, { tabIndex: 0, role: 'region' });
  wrap.setAttribute('aria-label', t('teacher.table', { count: table.rows.length }));
  wrap.append(tableOf(table));
  tableBox.replaceChildren(el('p', 'help', t('teacher.legend')), wrap, ...rejectedOf(table));
  byId('teacher-exports').hidden = false;
}

function draw() {
  drawFacts(shown);
  drawStudentLinks(byId('teacher-links'), shown);
  if (table) drawTable();
}

// Opens the teacher's page of assignment a, or closes it for null. The
// programs must be loaded: the table is worked out from each student's run.
export function render(a) {
  const same = shown !== null && a !== null && idOf(a) === idOf(shown);
  shown = a;
  section.hidden = a === null;
  if (!same) {
    table = null;
    codes.value = '';
    tableBox.replaceChildren();
    byId('teacher-exports').hidden = true;
  }
  if (a !== null) draw();
}

// Brings the teacher to the page's top, the box for the codes ready for a paste.
export function focus() {
  codes.focus({ preventScroll: true });
  scrollTo(0, 0);
}

byId('teacher-form').addEventListener('submit', (event) => {
  event.preventDefault();
  if (!shown) return;
  table = results(shown, codes.value);
  drawTable();
  const counts = { codes: find(codes.value).length, rows: table.rows.filter((row) => row.code !== null).length };
  emit('announce', () => [t('teacher.readCount', counts)]);
});
byId('teacher-csv').addEventListener('click', () => {
  if (table) save(resultsCsv(t, table), `results-${idOf(shown)}.csv`, 'text/csv; charset=utf-8');
});
byId('teacher-print').addEventListener('click', () => {
  section.dataset.printing = '';
  print();
});
addEventListener('afterprint', () => { delete section.dataset.printing; });
// The keys: a worksheet and its key for each student, each with the name and
// that student's link; or, when no name is known yet, a word on why not.
byId('teacher-keys').addEventListener('click', () => {
  const sheets = keySheets(shown, table ? table.rows.map((row) => row.name) : [], base());
  if (sheets.length === 0) emit('announce', () => [t('teacher.keysLater')]);
  else emit('assignmentSet', { sheets });
});
onChange(() => { if (shown) draw(); });
