// The teacher's page of an assignment, opened from the teacher link, drawn
// from the state's teacher and results: the assignment's title, due date, id
// and names; its student links again, names added or corrected, and its
// worksheets and keys printed; a box with the result codes pasted so far, to
// which more are pasted, and the rule that grades a student's codes; the
// stages the class missed most; the results table (results.js), a short mark
// per stage and short flags, a row opening to its details; and the codes set
// aside, to download as CSV or print.
import { t } from '../language.js';
import { byId, el } from '../dom.js';
import { drawStudentLinks } from './class-links.js';
import { cellText, flagText, minutes, stageHeading, timeText } from '../../logic/assignments/results.js';
import { stageShort, questionLabel, optionWords } from '../../logic/words.js';
import { id as idOf } from '../../logic/assignments/assignment.js';

const section = byId('teacher');
const codes = byId('teacher-codes');
const tableBox = byId('teacher-table');
const detailBox = byId('teacher-detail');
let drawn = {};   // a drawing cache, what was drawn last: { a, codes, table, opened, language }

// The teacher's time zone, as results.js's times take it.
const zone = () => new Date().getTimezoneOffset();

// The assignment's facts as a description list: its title, due date and id,
// what it asks, and its names.
function drawFacts(a) {
  const facts = [['teacher.title', a.title || t('teacher.none')], ['teacher.due', a.due || t('teacher.none')], ['teacher.id', idOf(a)],
                 ['teacher.exercise', `${a.program}, ${t('exercise.order')} ${a.order}: ${optionWords(t, a.options)}`],
                 ['student.asks', t('student.range.' + a.fill, { k: a.from })], ['assign.hints', t('assign.hints.' + a.hints)],
                 ['student.show', a.show ? t('teacher.showYes') : t('student.show.no')],
                 ['teacher.names', a.names.length > 0 ? a.names.join(', ') : t('teacher.none')]];
  byId('teacher-facts').replaceChildren(...facts.flatMap(([id, value]) => [el('dt', '', t(id)), el('dd', 'names', value)]));
  byId('teacher-wrong-name').replaceChildren(...a.names.map((name) => el('option', '', name, { value: name })));
  byId('teacher-correct-form').hidden = a.names.length === 0;
}

// A stage column's heading: its number over its short name, the whole in its title.
function stageHead(tab, k) {
  const th = el('th', 'stage-head', undefined, { scope: 'col', title: stageHeading(t, tab, k) });
  th.append(el('span', 'stage-number', String(k + 1)), el('span', 'stage-short', stageShort(t, tab.plan[k])));
  return th;
}

// A row's name: a button that opens its details (disclosed: whether they are open).
function nameCell(row, disclosed) {
  const th = el('th', 'name', undefined, { scope: 'row' });
  const open = el('button', 'row-open', row.name, { type: 'button' });
  open.dataset.name = row.name;
  open.setAttribute('aria-expanded', String(disclosed));
  open.setAttribute('aria-controls', 'teacher-detail');
  th.append(open);
  return th;
}

// The results table: a row per student: the name, the score, a mark per
// stage asked, then the hints, the time, the hand-in time and short flags.
function tableOf(tab, opened) {
  const element = el('table', 'results');
  element.createCaption().textContent = t('teacher.table', { count: tab.rows.length });
  const heads = [el('th', '', t('results.name'), { scope: 'col' }), el('th', '', t('teacher.score'), { scope: 'col' }),
    ...tab.stages.map((k) => stageHead(tab, k)),
    ...['results.hints', 'teacher.minutes', 'results.handed', 'results.flags'].map((id) => el('th', '', t(id), { scope: 'col' }))];
  element.createTHead().insertRow().append(...heads);
  const body = element.createTBody();
  for (const row of tab.rows) {
    const cells = row.cells.map((cell) => {
      const words = cellText(t, cell);
      const td = el('td', 'mark status-' + cell.status, undefined, { title: words });
      td.append(el('span', '', t('results.mark.' + cell.status), { 'aria-hidden': 'true' }), ' ', el('span', 'visually-hidden', words));
      return td;
    });
    const flags = row.flags.map((f) => t('flag.' + f)).join(' ');
    body.insertRow().append(nameCell(row, row.name === opened), el('td', 'number', row.code === null ? '' : `${row.right}/${row.asked}`), ...cells,
      el('td', 'number', String(row.hints)), el('td', 'number', String(minutes(row))), el('td', 'when', timeText(row.handed, zone()).slice(5)),
      el('td', 'flags' + (row.late ? ' late' : ''), flags));
  }
  return element;
}

// The stages that the class missed most, above the table.
function missedLine(tab) {
  if (tab.hardest.length === 0) return [];
  const stages = tab.hardest.map((k) => {
    const { missed, done } = tab.missed.find((x) => x.k === k);
    return t('teacher.missedStage', { stage: stageHeading(t, tab, k), missed, done });
  });
  return [el('p', 'missed', t('teacher.missed', { stages: stages.join(', ') }))];
}

// The codes set aside, each by its start, its name and the reason.
function rejectedOf(tab) {
  if (tab.rejected.length === 0) return [];
  const list = el('ul');
  list.append(...tab.rejected.map((r) => el('li', '', t('teacher.rejectedItem',
    { code: r.code.slice(0, 12), name: r.name ?? t('teacher.unnamed'), problem: t(r.problem) }))));
  return [el('h3', '', t('teacher.rejected')), list];
}

// An answer as the details list it: the question, what was typed first, and its verdict with the slip named.
function answerItem(answer) {
  const given = answer.given === null ? t('teacher.noAnswer') : answer.given.text ?? (answer.given.alone ? t('teacher.alone') : answer.given.choice);
  const slip = answer.slip && !answer.right ? ` (${t('slip.' + answer.slip)})` : '';
  return el('li', answer.right ? 'right' : 'wrong', `${questionLabel(t, answer)}: ${given} ${answer.right ? '✓' : '✗'}${slip}`);
}

// The details of the row named: its flags in words, its codes, and per stage
// its first answers, hints, Show and tries.
function detailOf(tab, name) {
  const row = tab.rows.find((r) => r.name === name);
  if (!row) return [];
  const facts = [t('teacher.took', { minutes: minutes(row), tries: row.tries }), flagText(t, row, tab.rule)].filter(Boolean);
  const codesList = el('ul');
  codesList.append(...row.codes.map((c) => el('li', c.counted ? 'counted' : '', t(c.counted ? 'teacher.codeCounted' : 'teacher.codeOther',
    { code: c.code.slice(0, 12), handed: timeText(c.handed, zone()), right: c.right, asked: c.asked }))));
  const stages = tab.stages.map((k, i) => {
    const [cell, detail] = [row.cells[i], row.details[i]];
    const part = el('li');
    part.append(el('strong', '', stageHeading(t, tab, k)), ' ', cellText(t, cell),
      detail.tries > 0 ? t('teacher.tries', { tries: detail.tries }) : '', detail.shown ? t('teacher.shownToo') : '');
    if (detail.answers.length > 0) {
      const answers = el('ul');
      answers.append(...detail.answers.map(answerItem));
      part.append(answers);
    }
    return part;
  });
  const list = el('ol', 'detail-stages');
  list.append(...stages);
  return [el('h3', 'names', t('teacher.detail', { name: row.name })), ...facts.map((f) => el('p', '', f)), codesList, list];
}

function drawTable(results) {
  const tab = results?.table ?? null;
  if (tab === null) {
    detailBox.replaceChildren();
    return tableBox.replaceChildren(...(results?.codes ? [el('p', 'help', t('teacher.grading'))] : []));
  }
  const wrap = el('div', 'results-box', undefined, { tabIndex: 0, role: 'region' });
  wrap.setAttribute('aria-label', t('teacher.table', { count: tab.rows.length }));
  wrap.append(tableOf(tab, results.opened));
  tableBox.replaceChildren(...missedLine(tab), el('p', 'help', t('teacher.legend')), wrap, ...rejectedOf(tab));
  detailBox.replaceChildren(...(results.opened === null ? [] : detailOf(tab, results.opened)));
}

// Draws the slice ({ teacher: the assignment open or null, results: { codes,
// rule, table, opened } or null, language }); the box holds the codes kept.
// Only what changed is drawn again: a class's links and table are large.
export function render({ teacher: a, results, language }) {
  section.hidden = a === null;
  if (a === null) {
    drawn = {};
    return;
  }
  const fresh = a !== drawn.a || language !== drawn.language;
  if (results.codes !== drawn.codes) codes.value = results.codes === '' ? '' : results.codes + '\n';
  byId('teacher-rule').value = results.rule;
  if (drawn.a && a !== drawn.a && idOf(a) === idOf(drawn.a)) {
    // Names added or corrected: the fields that asked for them are done with.
    byId('teacher-new-names').value = '';
    byId('teacher-right-name').value = '';
  }
  if (fresh) {
    drawFacts(a);
    drawStudentLinks(byId('teacher-links'), a);
  }
  if (fresh || results.table !== drawn.table || results.opened !== drawn.opened || results.codes !== drawn.codes) drawTable(results);
  byId('teacher-exports').hidden = !results.table;
  drawn = { a, codes: results.codes, table: results.table, opened: results.opened, language };
}

// The section alone on paper while on (print.js prints the results table).
export function printing(on) {
  section.toggleAttribute('data-printing', on);
}

// Sends what the teacher does to the page.
export function connect(dispatch) {
  const submit = (id, message) => byId(id).addEventListener('submit', (event) => {
    event.preventDefault();
    dispatch(message());
  });
  submit('teacher-form', () => ({ type: 'codesRead', codes: codes.value }));
  submit('teacher-names-form', () => ({ type: 'namesAdded', text: byId('teacher-new-names').value }));
  submit('teacher-correct-form', () => ({ type: 'nameCorrected', from: byId('teacher-wrong-name').value, to: byId('teacher-right-name').value }));
  submit('teacher-print-form', () => ({ type: 'keysAsked', parts: byId('teacher-parts').value, twoSided: !byId('teacher-one-sided').checked }));
  byId('teacher-rule').addEventListener('change', (event) => dispatch({ type: 'ruleChosen', rule: event.target.value }));
  tableBox.addEventListener('click', (event) => {
    const open = event.target.closest('button.row-open');
    if (open) dispatch({ type: 'rowOpened', name: open.dataset.name });
  });
  byId('teacher-csv').addEventListener('click', () => dispatch({ type: 'resultsSaved' }));
  byId('teacher-print').addEventListener('click', () => dispatch({ type: 'print', asked: { results: true } }));
}
