// The worksheets that a print in practice gives instead of the page: one for
// the run shown, drawn when the print asks (state/printing.js); or, drawn in slices
// between frames as the print part's effect asks (draw: a class of 40 with 12
// problems makes some 500 sheets, a few milliseconds each, and an own-way key
// may reduce a 10 × 20 matrix of long entries), a class set (one sheet for
// each of N consecutive seeds of an exercise, made here with exercises.js) or
// an assignment's sheets, with their answer keys, or either alone. A sheet is
// laid out page by page (paper.js): every page carries the sheet's id and a
// name line, and each student's sheet has as many pages as the next one's, an
// even count for copies on both sides. Its first page has the link and, where
// the page is served over http(s), its QR code (a link to a file on this
// computer would not open on a student's device: none is printed); then the
// matrix; then for each stage its name, its question as paper asks it, a
// blank for each decision, a frame of its printout's shape big enough to
// write -0.333333 by hand, its rows and columns labelled as the stages'
// tables label them (copies.js) with the bar between A and I or b, and room
// for working; at the stage right after the printout that shows A singular,
// whether A is invertible, its choices to circle. The keys come after, several
// to a page, each with its sheet's id, saying "singular" in place of the
// printouts from where the run stops meaning anything (sheet.js). An
// assignment's sheets carry each student's name and link. An assignment of
// the student's own row operations prints the own way's sheets instead
// (ownSheets): the matrix, exact, ruled room for the operations and for the
// reading; their keys the exact reduced form and what it means, written as
// the page accepts it.
import { t } from './language.js';
import { byId, el, served } from './dom.js';
import { qrOf } from './qr.js';
import { stageHeading, questionLabel, sheetTitle, optionWords } from '../logic/run/words.js';
import { answerOf } from '../logic/practice/check.js';
import { sheetDecisions as decisionsOf, keyStages } from '../logic/practice/sheet.js';
import { headers } from '../logic/run/copies.js';
import { fragment } from '../logic/run/share.js';
import { making } from '../logic/practice/exercises.js';
import { sheetsPages, keyPages, keyHeight, area, textWidth } from '../logic/layout/paper.js';
import { exerciseFor, problemsOf, keyNames, makingKeySheets } from '../logic/assignments/assignment.js';
import { ownStart } from '../logic/assignments/set.js';
import { fromRun } from '../logic/own/matrix.js';
import { shown } from '../logic/own/numbers.js';
import { meaning, sayMeaning, solutionText } from '../logic/own/reading.js';
import { reducing } from '../logic/own/hints.js';
import { finish } from '../logic/run/exact.js';
import { drawnInPieces } from './frames.js';

const worksheet = byId('worksheet');
// A4 turned sideways, for a worksheet too wide upright: its style sheet,
// loaded with this part (not with the page), in force only while such a
// worksheet is printed (its media print then).
const landscape = el('link', '', undefined, { rel: 'stylesheet', href: 'worksheet-landscape.css', media: 'not all' });
document.head.append(landscape);
// The most sheets that a print holds: a class set's, or an assignment's
// students whole (each a sheet a problem), as many as fit.
const maxSheets = 500;

// The link of a sheet: an assignment's student link, given; else the
// exercise's (every stage asked from the first), or the practised run's.
function linkOf({ model, exercise, link = null }) {
  if (link !== null) return link;
  const hash = exercise ? fragment(model.run.program, '', false, { practice: true, exercise })
    : fragment(model.run.program, model.run.input, false, { practice: true });
  return new URL(hash, location.href).href;
}

function idOf({ model, exercise }) {
  if (!exercise) return t('sheet.idTyped', { program: model.run.program, order: model.n });
  return t('sheet.id', { program: model.run.program, seed: exercise.seed, order: exercise.order, options: optionWords(t, exercise.options) });
}

// Whether a printed link would open on a student's device: not one to a file on this computer.
const linkPrints = () => location.protocol !== 'file:';

// An id of a sheet, after its assignment's title and due date where it is an assignment's.
const headed = (sheet, id) => (sheet.heading ? `${sheet.heading} · ${id}` : id);
const idText = (sheet) => headed(sheet, idOf(sheet));

const idLine = (sheet) => el('p', 'sheet-id', idText(sheet));

// The name and date line, the name written in where the sheet is a student's.
function nameLine(sheet) {
  const name = el('p', 'sheet-name');
  name.append(el('span', '', t('sheet.name')), el('span', 'write', sheet.name ?? ''), el('span', '', t('sheet.date')), el('span', 'write short'));
  return name;
}

// Stage k's printout as a frame: its rows labelled, the bar before I or b;
// empty, with its columns named and column millimetres wide, or for a key
// with the printed entries and no line of names.
function frame(m, k, filled, column) {
  const head = headers(t, m, k);
  const table = el('table', 'frame');
  const bar = (c) => (head.columns[c].bar ? 'bar' : '');
  if (column) {
    const names = head.columns.map((h, c) => el('th', bar(c), h.shown, { scope: 'col' }));
    for (const th of names) th.style.width = `${column}mm`;
    table.createTHead().insertRow().append(el('td'), ...names);
  }
  const body = table.createTBody();
  m.stages[k].rows.forEach((row, r) =>
    body.insertRow().append(el('th', '', head.rows[r].shown, { scope: 'row' }), ...row.map((x, c) => el('td', bar(c), filled ? x : ''))));
  return table;
}

// The blanks that a decision takes on a line of them: whether A is invertible
// takes a line's worth, its choices written out.
const blanksOf = (qs) => qs.reduce((sum, q) => sum + (q.kind === 'invertible' ? 3 : 1), 0);

// What the layout needs of a sheet: its matrix's rows, its widest printout, and each stage after the matrix.
const shapeOf = (m) => ({
  n: m.stages[0].rows.length,
  columns: Math.max(...m.stages.map((s) => s.rows[0]?.length ?? 0)),
  stages: m.stages.slice(1).map((s) => ({ rows: s.rows.length, decisions: blanksOf(decisionsOf(m, s.k)), frame: !s.unknowns })),
});

// A first page's top: its head, with the link (of link(), or none for null)
// and its QR code where a link prints.
function topOf(head, link) {
  const to = linkPrints() ? link() : null;
  if (to === null) return head;
  head.append(el('p', 'sheet-link', t('sheet.link', { link: to })));
  const qr = served() ? qrOf(to) : null;
  if (!qr) return head;
  const top = el('div', 'sheet-top');
  top.append(head, qr);
  return top;
}

// The first page's top: the title, the id, the link and its QR code where a
// link prints, and the name line.
function firstTop(sheet, made) {
  const head = el('div', 'sheet-head');
  head.append(el('h2', '', sheetTitle(t, sheet.model.run.program, sheet.model.n)), idLine(sheet));
  const parts = [topOf(head, () => linkOf(sheet)), nameLine(sheet)];
  if (made && !made.met) parts.push(el('p', 'note-box', t('exercise.unmet')));
  return parts;
}

// The line on top of every page after the first: the id, the name line, and which page of how many.
function strip(sheet, page, count) {
  const top = el('div', 'sheet-strip');
  top.append(idLine(sheet), nameLine(sheet), el('p', 'sheet-page-number', t('sheet.page', { page, count })));
  return top;
}

// The words of question q's choice.
const choiceWords = (q, choice) => t(`practice.choice.${q.label.id.split('.').at(-1)}.${choice}`);

// Whether A is invertible, as paper asks it: its choices to circle one of.
function choices(q) {
  const line = el('span', 'circle');
  line.append(`${questionLabel(t, q)} ${t('sheet.circle')}`);
  for (const choice of q.choices) line.append(' ', el('span', 'choice-word', choiceWords(q, choice)));
  return line;
}

// A stage to do on paper: its name, its question, a blank for each decision, its frame and room for working.
function stagePart(m, stage, column) {
  const part = el('div', 'sheet-stage');
  part.append(el('h3', '', stageHeading(t, stage)), el('p', 'ask', t('sheet.ask.' + stage.id, { j: stage.column ?? '' })));
  const asked = decisionsOf(m, stage.k);
  if (asked.length > 0) {
    const blanks = el('p', 'blanks');
    for (const q of asked) blanks.append(q.kind === 'invertible' ? choices(q) : el('span', 'blank', `${questionLabel(t, q)}:`), ' ');
    part.append(blanks);
  }
  if (!stage.unknowns) part.append(frame(m, stage.k, false, column));
  part.append(el('div', 'working', t('sheet.working')));
  return part;
}

function sheetOf(sheet, made, layout) {
  const { model: m } = sheet;
  const part = el('section', 'sheet');
  layout.pages.forEach((ks, p) => {
    const page = el('div', 'sheet-page');
    if (p === 0) page.append(...firstTop(sheet, made), el('p', 'intro', t('sheet.intro')), frame(m, 0, true, layout.column));
    else page.append(strip(sheet, p + 1, layout.pages.length));
    if (p > 0 && ks.length === 0) page.append(el('p', 'working-page', t('sheet.workingPage')));
    for (const k of ks) page.append(stagePart(m, m.stages[k + 1], layout.column));
    part.append(page);
  });
  return part;
}

// A decision's answer as the key gives it: a row left alone is the 0 written
// for it, a choice its words.
const keyAnswer = (q) => (q.kind === 'invertible' ? choiceWords(q, answerOf(q)) : answerOf(q) ?? t('sheet.aloneAnswer'));

// The line over a stage's frame in a key (one of keyStages): its name, and the
// answers to its decisions (the unknowns' values among them); or that A is
// singular, where the run stops meaning anything.
function captionOf(m, { k, framed, singular }) {
  const stage = m.stages[k];
  if (singular) return `${stageHeading(t, stage)} — ${t('sheet.keySingular')}`;
  const asked = decisionsOf(m, k).map((q) => `${questionLabel(t, q)}${q.kind === 'invertible' ? '' : ':'} ${keyAnswer(q)}`);
  if (!stage.unknowns && !framed) asked.push(t('sheet.keySame'));
  return asked.length > 0 ? `${stageHeading(t, stage)} — ${asked.join('; ')}` : stageHeading(t, stage);
}

// What the keys' layout needs of a sheet's key.
const keyShapeOf = (m) => ({
  stages: keyStages(m).map((given) => {
    const { rows } = m.stages[given.k];
    return { rows: given.framed ? rows.length : 0, caption: textWidth(captionOf(m, given)),
             widths: (rows[0] ?? []).map((_, c) => Math.max(2, ...rows.map((row) => row[c]?.length ?? 0))) };
  }),
});

// A sheet's key, compact (shape: its keyShapeOf): its id, then its stages'
// frames side by side, each under its name and answers.
function keyOf(sheet, shape, width) {
  const { model: m } = sheet;
  const key = el('section', 'sheet-key');
  const id = el('p', 'key-id');
  id.append(el('strong', '', t('sheet.key')), ' ', idText(sheet));
  const { frame: frameWidth, perLine } = keyHeight(shape, width);
  const grid = el('div', 'key-frames');
  grid.style.gridTemplateColumns = `repeat(${perLine}, ${frameWidth}mm)`;
  if (sheet.name) id.append(' · ', sheet.name);
  for (const given of keyStages(m)) {
    const cell = el('div', 'key-stage');
    cell.append(el('p', 'key-caption', captionOf(m, given)));
    if (given.framed) cell.append(frame(m, given.k, true, null));
    grid.append(cell);
  }
  key.append(id, grid);
  return key;
}

// Fills the worksheet with the parts asked of sheets, at once (stagePieces's:
// the print of the run shown, a sheet of its own).
export function build(sheets, made = [], options = {}) {
  worksheet.replaceChildren();
  finish(stagePieces(sheets, made, options));
}

// Draws the parts asked ('all': the sheets then their keys, 'sheets' or
// 'keys') into the worksheet, a piece at a time, each sheet of as many pages
// as the others, an even count when twoSided; on A4 turned sideways, where a
// frame needs it, or where keys alone take fewer pages so. A sheet is { model, exercise }, the exercise as the page hands
// it, or null for a matrix typed in; made, the exercises as make() gave them.
function* stagePieces(sheets, made, { parts = 'all', twoSided = true }) {
  const [shapes, keyShapes] = [[], []];
  for (const { model } of parts === 'keys' ? [] : sheets) yield shapes.push(shapeOf(model));
  for (const { model } of parts === 'sheets' ? [] : sheets) yield keyShapes.push(keyShapeOf(model));
  const layout = parts === 'keys' ? null : sheetsPages(shapes, twoSided);
  const keys = parts === 'sheets' ? null : keyPages(keyShapes, layout?.landscape ?? null);
  const sideways = (layout ?? keys).landscape;
  for (const [k, sheet] of (layout ? sheets : []).entries()) yield worksheet.append(sheetOf(sheet, made[k], { column: layout.column, pages: layout.pages[k] }));
  for (const page of keys?.pages ?? []) {
    const keyPage = el('div', 'key-page');
    worksheet.append(keyPage);
    for (const k of page) yield keyPage.append(keyOf(sheets[k], keyShapes[k], area(sideways).width));
  }
  landscape.media = sideways ? 'print' : 'not all';
}

// A class set's pieces: sheets for seeds seed .. seed + count - 1 of the exercise, the parts asked.
function* classSetPieces({ program, order, seed, options, generator, count, parts, twoSided }) {
  const made = [];
  for (let k = 0; k < Math.min(count, maxSheets); k++) made.push(yield* making({ program, order, seed: seed + k, options, generator }));
  yield* stagePieces(made.map((e) => ({ model: e.model, exercise: { program, order, seed: e.seed, options, generator } })), made, { parts, twoSided });
}

// An assignment's title and due date, as its sheets carry them above their id.
const headingOf = (a) => [a.title, a.due && t('sheet.due', { due: a.due })].filter(Boolean).join(' · ');

// What the sheet of a student's own print carries of the assignment: the
// student's name, the title and due date, and the exercise that drew the
// matrix; nothing off an assignment (student null).
export const ownSheet = (student) => (student === null ? {} :
  { name: student.name, heading: headingOf(student.assignment), exercise: exerciseFor(student.assignment, student.name) });

// An assignment's pieces (a: its sheets, keys or both, parts, on one side or
// two), of its first most students: sheets a student and problem ({ name, at,
// exercise, link }, exercise as exercises.js's make() takes it, links after
// base), each with the student's name and link and the assignment's title
// and due date, a set's problem number after them; those of this method's
// stages, then the own way's. What the students share (the teacher's own
// matrix) is made once.
function* assignmentPieces({ assignment: a, read, parts = 'all', twoSided = true }, base, most) {
  const [problems, sheets] = [problemsOf(a), yield* makingKeySheets(a, read, base, most)];
  const heading = (sheet) => [headingOf(a), a.problems && t('sheet.problem', { k: sheet.at + 1 })].filter(Boolean).join(' · ');
  const [exercises, starts] = [new Map(), new Map()];
  function* made(exercise) {
    const key = JSON.stringify(exercise);
    if (!exercises.has(key)) exercises.set(key, yield* making(exercise));
    return exercises.get(key);
  }
  const [stages, own] = [sheets.filter((sheet) => problems[sheet.at].mode !== 'own'), []];
  const stagesMade = [];
  for (const sheet of stages) stagesMade.push(yield* made(sheet.exercise));
  if (stages.length > 0) yield* stagePieces(stages.map((sheet, k) => ({ ...sheet, heading: heading(sheet), model: stagesMade[k].model,
    exercise: stagesMade[k].seed === null ? null : sheet.exercise })), stagesMade, { parts, twoSided });
  for (const sheet of sheets.filter((sheet) => problems[sheet.at].mode === 'own')) {
    const p = problems[sheet.at];
    if (p.matrix && !starts.has(sheet.at)) starts.set(sheet.at, ownStart(p.matrix));
    const start = p.matrix ? starts.get(sheet.at) : fromRun(p.program, (yield* made(sheet.exercise)).input);
    yield own.push({ ...sheet, ...start, heading: heading(sheet), id: p.matrix ? t('sheet.idTyped', { program: p.program, order: p.order })
      : t('sheet.id', { program: p.program, seed: sheet.exercise.seed, order: p.order, options: optionWords(t, p.options) }) });
  }
  yield* ownPieces(own, { parts, twoSided });
}

// ---- The own way's sheets ----

// A matrix as a frame: its rows labelled, the bar before b or I, each entry
// exact; empty cells (filled false) for the learner's own, of the same shape.
function ownFrame({ rows, bar }, filled = true) {
  const table = el('table', 'frame own-frame');
  const body = table.createTBody();
  rows.forEach((row, r) => body.insertRow().append(el('th', '', `R${r + 1}`, { scope: 'row' }),
    ...row.map((x, c) => el('td', c === bar ? 'bar' : '', filled ? shown(x) : ''))));
  return table;
}

// Ruled lines to write on, count of them, each numbered where numbered.
function ruled(count, numbered) {
  const list = el(numbered ? 'ol' : 'div', 'own-ruled');
  for (let k = 0; k < count; k++) list.append(el(numbered ? 'li' : 'p', 'write'));
  return list;
}

// One student's own-way sheet (a problem: { matrix, kind, name, link,
// heading, id }): its top as any sheet's, the matrix, ruled room for the
// operations, the reading that its kind asks; on two sides, a page of room more.
function ownSheetOf(problem, twoSided) {
  const { matrix, kind } = problem;
  const part = el('section', 'sheet');
  const first = el('div', 'sheet-page');
  const head = el('div', 'sheet-head');
  head.append(el('h2', '', t('sheet.own.title')), el('p', 'sheet-id', headed(problem, problem.id)));
  first.append(topOf(head, () => problem.link || null), nameLine(problem), el('p', 'intro', t('sheet.own.intro')), ownFrame(matrix),
    el('h3', '', t('sheet.own.operations')), ruled(Math.min(16, 3 * matrix.rows.length + 2), true),
    el('h3', '', t('sheet.own.reading')), el('p', 'ask', t(`sheet.own.ask.${kind}`)));
  if (kind === 'inverse') first.append(ownFrame({ rows: matrix.rows.map((row) => row.slice(0, matrix.bar)), bar: null }, false));
  first.append(ruled(kind === 'system' ? 3 : 1, false));
  part.append(first);
  if (twoSided) {
    const back = el('div', 'sheet-page');
    back.append(el('p', 'working-page', t('sheet.workingPage')));
    part.append(back);
  }
  return part;
}

// A problem's key: its id, the reduced form exactly (reduced) and what it
// means, as the page accepts it read (a family in scalar form, then in vector form).
function ownKeyOf(problem, reduced) {
  const means = meaning(reduced, problem.kind);
  const key = el('section', 'sheet-key');
  const id = el('p', 'key-id');
  id.append(el('strong', '', t('sheet.key')), ' ', headed(problem, problem.id));
  if (problem.name) id.append(' · ', problem.name);
  key.append(id, el('p', 'key-caption', t('sheet.own.reduced')), ownFrame(reduced), el('p', 'key-caption', sayMeaning(t, means)),
    ...(means.kind === 'many' ? [el('p', 'key-caption', solutionText(means, 'vector').text)] : []));
  return key;
}

// Draws the own way's sheets and keys (parts: 'all', 'sheets' or 'keys') of
// problems into the worksheet, a piece at a time: a sheet each, then the keys
// together, each matrix reduced once however many students share it (the
// teacher's own, one matrix: some 1 s for 10 × 20 entries of 40 digits).
function* ownPieces(problems, { parts = 'all', twoSided = true }) {
  for (const problem of parts === 'keys' ? [] : problems) yield worksheet.append(ownSheetOf(problem, twoSided));
  if (parts === 'sheets' || problems.length === 0) return;
  const [keys, reduced] = [el('div', 'key-page'), new Map()];
  worksheet.append(keys);
  for (const problem of problems) {
    if (!reduced.has(problem.matrix)) reduced.set(problem.matrix, (yield* reducing(problem.matrix)).reduced);
    yield keys.append(ownKeyOf(problem, reduced.get(problem.matrix)));
  }
}

// The worksheets drawn in slices, or null.
let drawing = null;

// Draws the worksheets of a print asked (printing: a class set, { classSet },
// or an assignment's, { keys: { assignment, read, parts, twoSided } }, its
// students' links from base) in slices between frames, in place of what the
// worksheet held, and tells told({ done, slow, cut }) as drawnInPieces does:
// cut, where an assignment's sheets are more than a print holds, { students,
// of }, the students' printed, of how many. A print drawn or cleared
// meanwhile stops it.
export function draw(printing, base, told) {
  const { job, cut } = printing.classSet ? { job: classSetPieces(printing.classSet), cut: null } : assignmentSet(printing.keys, base);
  drawing = job;
  worksheet.replaceChildren();
  landscape.media = 'not all';
  drawnInPieces(job, () => drawing === job, (drawn) => told({ ...drawn, cut }));
}

// An assignment's, of as many students as a print holds, each whole.
function assignmentSet(asked, base) {
  const [students, per] = [keyNames(asked.assignment, asked.read).length, problemsOf(asked.assignment).length];
  const most = Math.min(students, Math.max(1, Math.floor(maxSheets / per)));
  return { job: assignmentPieces(asked, base, most), cut: most < students ? { students: most, of: students } : null };
}

// No worksheet: the page prints as itself.
export function clear() {
  drawing = null;
  worksheet.replaceChildren();
  landscape.media = 'not all';
}
