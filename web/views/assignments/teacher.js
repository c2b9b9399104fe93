// The teacher's page of an assignment, opened from the teacher link, drawn
// from the state's teacher and results: the assignment's title, due date, id
// and names; its student links again, names added or corrected, and its
// worksheets and keys printed; a box with the result codes pasted so far, to
// which more are pasted, and the rule that grades a student's codes; the
// stages the class missed most; the results table (results.js), a short mark
// per stage and short flags, a row opening to its details; and the codes set
// aside, to download as CSV or print. An assignment of the student's own row
// operations has its own columns (results.js ownColumns), and a row opens to
// each operation and the reading against what the reduced matrix means.
import { t } from '../language.js';
import { byId, el, button, today } from '../dom.js';
import { framed, painted } from '../frames.js';
import { drawStudentLinks } from './class-links.js';
import { cellText, flagText, minutes, stageHeading, timeText, ownHeading, ownCell, ownStepText } from '../../logic/assignments/results.js';
import { sayMeaning, sayReading, sayVerdict } from '../../logic/own/reading.js';
import { stageShort, questionLabel, optionWords } from '../../logic/run/words.js';
import { id as idOf, askedWords, isolated, fileName, problemsOf, problemWords } from '../../logic/assignments/assignment.js';
import { rowsPerPage } from '../../logic/assignments/gradebook.js';
import { joinedCount } from '../../logic/assignments/result-code.js';

const section = byId('teacher');
const codes = byId('teacher-codes');
const tableBox = byId('teacher-table');
const detailBox = byId('teacher-detail');
const keptLine = el('p', 'help', '', { id: 'teacher-kept' });
codes.after(keptLine);
const linkNotes = el('div', 'link-notes');
byId('teacher-facts').before(linkNotes);
let drawn = {};   // a drawing cache, what was drawn last: { a, codes, pasted, table, opened, at, detail, page, language }

// The teacher's time zone, as results.js's times take it.
const zone = () => new Date().getTimezoneOffset();

// The assignment's facts as a description list: its title, due date and id,
// what it asks, and its names.
function drawFacts(a) {
  const facts = [['teacher.title', a.title || t('teacher.none')], ['teacher.due', a.due || t('teacher.none')], ['teacher.id', idOf(a)]]
    .map(([id, value]) => [t(id), value]);
  const rows = [...facts, ...(a.problems ? problemsOf(a).map((p, i) => [t('teacher.set.problem', { k: i + 1 }), problemWords(t, p)])
    : [[t('teacher.exercise'), problemWords(t, a)], ...askedWords(t, a, 'teacher')])];
  const names = el('dd', 'names');
  a.names.forEach((name, i) => names.append(...(i > 0 ? [', '] : []), el('bdi', '', name)));
  if (a.names.length === 0) names.append(t('teacher.none'));
  byId('teacher-facts').replaceChildren(...rows.flatMap(([label, value]) => [el('dt', '', label), el('dd', 'names', value)]), el('dt', '', t('teacher.names')), names);
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

// The results table, empty: its caption, its header (the name, the score, a
// mark per stage asked, then the hints, the time, the hand-in time and short
// flags; of the student's own operations, the name, its own columns, then
// the time, the hand-in time and flags) and a body for the rows.
function tableOf(tab) {
  const element = el('table', 'results');
  element.createCaption();
  const head = (text) => el('th', '', text, { scope: 'col' });
  const middle = tab.mode === 'set' ? [...tab.problems.map((p, i) => head(t('teacher.set.head', { k: i + 1, points: p.points }))),
    head(t('results.set.total', { points: tab.points })), head(t('teacher.set.percent'))]
    : tab.mode === 'own' ? tab.columns.map((c) => head(ownHeading(t, c)))
      : [head(t('teacher.score')), ...tab.stages.map((k) => stageHead(tab, k)), head(t('results.hints'))];
  const heads = [head(t('results.name')), ...middle, ...['teacher.minutes', 'results.handed', 'results.flags'].map((id) => head(t(id)))];
  element.createTHead().insertRow().append(...heads);
  element.createTBody();
  return element;
}

// A set's cell of a row: the points earned of the problem's, a button that
// opens that problem's work (as a row of one problem opens), its status in words.
function problemCell(row, cell, at) {
  const words = `${t('results.status.' + cell.status)}: ${t('teacher.set.cell', { ...cell, k: at + 1 })}`;
  const td = el('td', 'mark status-' + cell.status, undefined, { title: words });
  const open = el('button', 'cell-open', cell.status === 'none' ? '—' : `${cell.points}/${cell.of}`, { type: 'button', 'aria-label': words });
  Object.assign(open.dataset, { name: row.name, at: String(at) });
  open.setAttribute('aria-controls', 'teacher-detail');
  td.append(open);
  return td;
}

// A student's row of the table (tab's), its details open or not (disclosed).
function rowOf(tab, row, disclosed) {
  const tr = el('tr');
  const cells = tab.mode === 'set' ? [] : row.cells.map((cell) => {
    const words = cellText(t, cell);
    const td = el('td', 'mark status-' + cell.status, undefined, { title: words });
    td.append(el('span', '', t('results.mark.' + cell.status), { 'aria-hidden': 'true' }), ' ', el('span', 'visually-hidden', words));
    return td;
  });
  const middle = tab.mode === 'set' ? [...row.cells.map((cell, at) => problemCell(row, cell, at)),
    el('td', 'number', row.code === null ? '' : String(row.points)), el('td', 'number', row.code === null ? '' : String(row.percent))]
    : tab.mode === 'own' ? tab.columns.map((c) => ownCell(t, row, c)).map(({ text, status }) => el('td', 'own-mark status-' + status, text))
      : [el('td', 'number', row.code === null ? '' : `${row.right}/${row.asked}`), ...cells, el('td', 'number', String(row.hints))];
  const flags = row.flags.map((f) => t('flag.' + f)).join(' ');
  tr.append(nameCell(row, disclosed), ...middle, el('td', 'number', String(minutes(row))), el('td', 'when', timeText(row.handed, zone()).slice(5)),
    el('td', 'flags' + (row.late ? ' late' : ''), flags));
  return tr;
}

// The stages that the class missed most, above the table.
function missedLine(tab) {
  if (!tab.hardest?.length) return [];
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
    { code: r.code.slice(0, 12), name: r.name === null ? t('teacher.unnamed') : isolated(r.name), problem: t(r.problem) }))));
  return [el('h3', '', t('teacher.rejected')), list];
}

// An answer as the details list it: the question, what was typed first, and its verdict with the slip named.
function answerItem(answer) {
  const given = answer.given === null ? t('teacher.noAnswer') : answer.given.text ?? (answer.given.alone ? t('teacher.alone') : answer.given.choice);
  const slip = answer.slip && !answer.right ? ` (${t('slip.' + answer.slip)})` : '';
  return el('li', answer.right ? 'right' : 'wrong', `${questionLabel(t, answer)}: ${given} ${answer.right ? '✓' : '✗'}${slip}`);
}

// An operation of the student's own as the details list it: the operation,
// how its row went, the first row written with the entries not right marked,
// and the slip that its check names.
function stepItem(step) {
  const item = el('li', step.first !== null && !step.right ? 'wrong' : '');
  item.append(el('strong', '', step.op), ': ', ownStepText(t, step), step.slip && !step.right ? ` (${t(step.slip)})` : '');
  if (step.first !== null) {
    const row = el('span', 'own-first');
    step.first.forEach((entry, c) => row.append(' ', step.wrong.includes(c) ? el('mark', '', entry) : el('span', '', entry)));
    item.append(el('br'), t('teacher.own.first'), row);
  }
  return item;
}

// Of the student's own operations (detail: { own, answer, expected }, or
// null until worked out), each operation, then what the student read off
// and what the reduced matrix means.
function ownDetail(row, detail) {
  if (detail === null) return [];
  const steps = el('ol', 'detail-own');
  steps.append(...detail.own.map(stepItem));
  const right = { right: ' ✓', wrong: ' ✗' }[row.own?.readOff] ?? '';
  return [el('h4', '', t('teacher.own.steps')), detail.own.length > 0 ? steps : el('p', '', t('teacher.own.noSteps')),
    el('p', '', t('teacher.own.reading', { answer: sayReading(t, detail.answer) }) + right),
    ...(detail.verdict && !detail.verdict.right ? [el('p', '', sayVerdict(t, detail.verdict))] : []),
    ...(detail.expected ? [el('p', '', t('teacher.own.expected', { meaning: sayMeaning(t, detail.expected) }))] : [])];
}

// The details of the row named: its flags in words, its codes, and per stage
// its first answers, hints, Show and tries, or each of the student's own
// operations (detail: results' detail, null until they are worked out).
function detailOf(tab, name, detail) {
  const row = tab.rows.find((r) => r.name === name);
  if (!row) return [];
  // Of own work, the rows written wrong where the student writes rows (the table's column of them), else none.
  const took = tab.mode === 'own' ? t(tab.columns.includes('firstRight') ? 'teacher.own.took' : 'teacher.own.tookOps', { ops: row.own?.ops ?? 0, tries: row.own?.tries ?? 0, minutes: minutes(row) })
    : t('teacher.took', { minutes: minutes(row), tries: row.tries });
  const facts = [took, flagText(t, row, tab.rule)].filter(Boolean);
  const codesList = el('ul');
  const said = tab.mode === 'own' ? 'teacher.own.' : 'teacher.';
  codesList.append(...row.codes.map((c) => el('li', c.counted ? 'counted' : '', t(said + (c.counted ? 'codeCounted' : 'codeOther'),
    { code: c.code.slice(0, 12), handed: timeText(c.handed, zone()), right: c.right, asked: c.asked }))));
  const stages = tab.stages.map((k, i) => {
    const [cell, found] = [row.cells[i], detail?.code === row.code ? detail.stages[i] : null];
    const part = el('li');
    part.append(el('strong', '', stageHeading(t, tab, k)), ' ', cellText(t, cell),
      found?.tries > 0 ? t('teacher.tries', { tries: found.tries }) : '', found?.shown ? t('teacher.shownToo') : '');
    if (found?.answers.length > 0) {
      const answers = el('ul');
      answers.append(...found.answers.map(answerItem));
      part.append(answers);
    }
    return part;
  });
  const list = el('ol', 'detail-stages');
  list.append(...stages);
  const work = tab.mode === 'own' ? ownDetail(row, detail?.code === row.code ? detail : null) : [list];
  return [el('h3', 'names', t('teacher.detail', { name: isolated(row.name) })), ...facts.map((f) => el('p', '', f)), codesList, ...work];
}

// The table being drawn: { tab, page, wrap, table, rows (those drawn), pages,
// missed, rejected }, or null.
let tabling = null;

// A new table drawn for tab into the box: the stages missed, the legend, the
// table in its scrolling box, the pages of its rows, the codes set aside.
function newTabling(tab, page) {
  const wrap = el('div', 'results-box', undefined, { tabIndex: 0, role: 'region', id: 'teacher-results' });
  const drawing = { tab, page, wrap, table: tableOf(tab), rows: [], pages: el('p', 'table-pages'), missed: el('div'), rejected: el('div') };
  wrap.append(drawing.table);
  const legend = { own: 'teacher.own.legend', set: 'teacher.set.legend' }[tab.mode] ?? 'teacher.legend';
  tableBox.replaceChildren(drawing.missed, el('p', 'help', t(legend)), wrap, drawing.pages, drawing.rejected);
  return drawing;
}

// The line under a table of more rows than a page: the rows shown, and the pages before and after.
function pagesOf(tab, page) {
  const count = tab.rows.length;
  if (count <= rowsPerPage) return [];
  const last = Math.ceil(count / rowsPerPage) - 1;
  const range = t('teacher.rows', { from: page * rowsPerPage + 1, to: Math.min(count, (page + 1) * rowsPerPage), count });
  return [range, ' ', ...(page > 0 ? [button('teacher.pageBefore', () => ({ type: 'pageShown', page: page - 1 })), ' '] : []),
          ...(page < last ? [button('teacher.pageAfter', () => ({ type: 'pageShown', page: page + 1 }))] : [])];
}

// The most rows that one frame lays out: a browser lays a table's new rows
// out in the frame that shows them, some 1 ms a row of a class's table.
const rowsPerFrame = 8;

// Draws the results' table (null: none yet, or grading). Rows that the table
// drawn has already (a table on the way holds the rows of the one before) stay
// as they are; the others are drawn a slice a frame, after the frame that
// shows the table's frame (its caption and heads) and the rest of the view,
// the box busy until the last (and while rows are still to come).
function drawTable(results, fresh) {
  const tab = results?.table ?? null;
  if (tab === null) {
    tabling = null;
    return tableBox.replaceChildren(...(results?.codes ? [el('p', 'help', t('teacher.grading'))] : []));
  }
  const page = Math.max(0, Math.min(results.page ?? 0, Math.ceil(tab.rows.length / rowsPerPage) - 1));
  const shown = tab.rows.slice(page * rowsPerPage, (page + 1) * rowsPerPage);
  const kept = !fresh && tabling !== null && tabling.page === page && String(tabling.tab.stages) === String(tab.stages) &&
    tabling.rows.length <= shown.length && tabling.rows.every((row, i) => shown[i] === row);
  const drawing = kept ? Object.assign(tabling, { tab }) : newTabling(tab, page);
  tabling = drawing;
  drawing.pages.replaceChildren(...pagesOf(tab, page));
  const label = t('teacher.table', { count: tab.rows.length });
  drawing.table.caption.textContent = label;
  drawing.wrap.setAttribute('aria-label', label);
  drawing.wrap.setAttribute('aria-busy', 'true');
  drawing.missed.replaceChildren(...missedLine(tab));
  drawing.rejected.replaceChildren(...rejectedOf(tab));
  const body = drawing.table.tBodies[0];
  framed(() => tabling === drawing && drawing.tab === tab, (deadline) => {
    const most = drawing.rows.length + rowsPerFrame;
    while (drawing.rows.length < Math.min(most, shown.length) && performance.now() < deadline) {
      const row = shown[drawing.rows.length];
      body.append(rowOf(tab, row, row.name === results.opened));
      drawing.rows.push(row);
    }
    return drawing.rows.length === shown.length;
  }, () => { if (!tab.partial) drawing.wrap.removeAttribute('aria-busy'); });
}

// Marks the row opened (a name, or null; of a set's, the problem at) as
// open, the others as closed, and draws its details.
function drawDetail(results) {
  const tab = results?.table ?? null;
  const set = tab?.mode === 'set';
  for (const open of tableBox.querySelectorAll('button.row-open')) open.setAttribute('aria-expanded', String(!set && open.dataset.name === results?.opened));
  for (const open of tableBox.querySelectorAll('button.cell-open'))
    open.setAttribute('aria-expanded', String(open.dataset.name === results?.opened && Number(open.dataset.at) === results.at));
  detailBox.replaceChildren(...(tab === null || results.opened === null ? [] : set ? setDetail(tab, results) : detailOf(tab, results.opened, results.detail)));
}

// The details of a set's row opened at its problem (results.at): its points,
// then that problem's work as a row of one problem opens to it (detailOf,
// over the problem's own row and columns, with its notes; the set's are in
// the table).
function setDetail(tab, { opened, at, detail }) {
  const row = tab.rows.find((r) => r.name === opened);
  const [cell, column] = [row?.cells[at], tab.problems[at]];
  if (!cell) return [];
  const heading = el('h3', 'names', t('teacher.set.detail', { name: isolated(row.name), k: at + 1 }));
  const facts = [el('p', '', t('teacher.set.cell', { ...cell, k: at + 1 }))];
  if (!cell.row?.code) return [heading, ...facts];
  const one = { mode: column.mode === 'own' ? 'own' : undefined, stages: column.stages, plan: column.plan, columns: column.columns, rule: tab.rule, rows: [cell.row] };
  return [heading, ...facts, ...detailOf(one, opened, detail).slice(1)];
}

// The most codes that the box shows once read: a browser lays a box of
// megabytes out for seconds, at each change. Text pasted shows again once its
// codes are found, and past this, a line under the box says how many are kept.
const codesShown = 200;

// A box that holds more than this when its codes are read is emptied apart
// from the click: a browser takes some 10 ms a megabyte to undo the layout of
// what it held (and as much again to empty it) wherever that is done.
const boxLarge = 65536;

// The box of codes and the line under it, for the codes kept (results');
// text pasted that no whole table has read yet is not counted. A box hidden
// as its codes were read (connect) is emptied once the frame that undid its
// layout is painted, in a task of its own, and shown again.
function drawCodes({ codes: kept, pasted }) {
  const count = pasted ? 0 : joinedCount(kept);
  const text = count > 0 && count <= codesShown ? kept + '\n' : '';
  keptLine.textContent = count > codesShown ? t('teacher.kept', { count }) : '';
  if (!codes.hidden) codes.value = text;
  else painted(() => Object.assign(codes, { value: text, hidden: false }));
}

// Draws the slice ({ teacher: the assignment open or null, results: { codes,
// rule, table, opened } or null, language }); the box holds the codes kept.
// Only what changed is drawn again: a class's links and table are large.
export function render({ teacher: a, results, language }) {
  section.hidden = a === null;
  if (a === null) {
    [drawn, tabling] = [{}, null];
    return;
  }
  const fresh = a !== drawn.a || language !== drawn.language;
  if (results.codes !== drawn.codes || results.pasted !== drawn.pasted) drawCodes(results);
  byId('teacher-rule').value = results.rule;
  if (drawn.a && a !== drawn.a && idOf(a) === idOf(drawn.a)) {
    // Names added or corrected: the fields that asked for them are done with.
    byId('teacher-new-names').value = '';
    byId('teacher-right-name').value = '';
  }
  if (fresh || results.fresh !== drawn.known) {
    // What a link made before the digest, or opened where the gradebook knew nothing of it, cannot tell.
    linkNotes.replaceChildren(...[a.digest === '' && 'teacher.forgeable', results.fresh && 'teacher.fresh'].filter(Boolean).map((id) => el('p', 'note-box', t(id))));
  }
  if (fresh) {
    drawFacts(a);
    // The class's links (a link a name, each its own packing of the
    // assignment) once the rest is painted, in a task and a layout of their own.
    painted(() => { if (drawn.a === a && drawn.language === language) drawStudentLinks(byId('teacher-links'), a); });
  }
  if (fresh || results.table !== drawn.table || results.page !== drawn.page || (results.table === null && results.codes !== drawn.codes)) drawTable(results, fresh);
  if (fresh || results.table !== drawn.table || results.opened !== drawn.opened || results.at !== drawn.at || results.detail !== drawn.detail) drawDetail(results);
  byId('teacher-exports').hidden = !results.table || results.table.partial;
  drawn = { a, codes: results.codes, pasted: results.pasted, table: results.table, opened: results.opened, at: results.at, detail: results.detail, page: results.page, known: results.fresh, language };
}

// The section alone on paper while on (a print of the results table, state/printing.js).
export function printing(on) {
  section.toggleAttribute('data-printing', on);
}

// Sends what the teacher does to the page.
export function connect(dispatch) {
  const submit = (id, message) => byId(id).addEventListener('submit', (event) => {
    event.preventDefault();
    dispatch(message());
  });
  byId('teacher-form').addEventListener('submit', (event) => {
    event.preventDefault();
    const text = codes.value;
    if (text.length > boxLarge && text.trim() !== '') {
      // Hidden, its layout is undone in the next frame, not in this task
      // (drawCodes); but a box hidden with the focus in it is undone at
      // once, so the focus goes first where a click on the button puts it.
      if (document.activeElement === codes) (event.submitter ?? event.target.querySelector('button')).focus({ preventScroll: true });
      codes.hidden = true;
    }
    dispatch({ type: 'codesRead', codes: text });
  });
  submit('teacher-names-form', () => ({ type: 'namesAdded', text: byId('teacher-new-names').value }));
  submit('teacher-correct-form', () => ({ type: 'nameCorrected', from: byId('teacher-wrong-name').value, to: byId('teacher-right-name').value }));
  submit('teacher-print-form', () => ({ type: 'keysAsked', parts: byId('teacher-parts').value, twoSided: !byId('teacher-one-sided').checked }));
  byId('teacher-rule').addEventListener('change', (event) => dispatch({ type: 'ruleChosen', rule: event.target.value }));
  tableBox.addEventListener('click', (event) => {
    const open = event.target.closest('button.row-open, button.cell-open');
    if (open) dispatch({ type: 'rowOpened', name: open.dataset.name, ...(open.dataset.at ? { at: Number(open.dataset.at) } : {}) });
  });
  byId('teacher-csv').addEventListener('click', () => dispatch({ type: 'resultsSaved', name: fileName(t('results.fileLabel'), drawn.a, today()) }));
  byId('teacher-print').addEventListener('click', () => dispatch({ type: 'print', asked: { results: true } }));
}
