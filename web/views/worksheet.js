// The worksheets that a print in practice gives instead of the page: one for
// the run shown, or a class set (one sheet for each of N consecutive seeds of
// an exercise, made here with exercises.js) when the exercise form asks for
// one. A sheet carries its exercise's id and link, and a QR code of the link
// where the page is served over http(s); a name and date line; the matrix;
// then for each stage its name, its question, a blank for each decision and a
// frame of its printout's shape, big enough to write -0.333333 by hand, its
// rows and columns labelled as the stages' tables label them (forms.js) with
// the bar between A and I or b. After the sheets, each on pages of its own,
// come their answer keys, each with its sheet's id.
import { t } from './language.js';
import { byId, el } from './dom.js';
import { on } from './events.js';
import { qrOf } from './qr.js';
import { stageHeading, questionLabel, sheetTitle, optionWords } from '../logic/words.js';
import { questions, answerOf } from '../logic/check.js';
import { headers } from '../logic/forms.js';
import { fragment } from '../logic/share.js';
import { make } from '../logic/exercises.js';

const worksheet = byId('worksheet');
const landscape = byId('worksheet-landscape');
// Printout columns that an A4 page holds at 28 mm each beside the row labels,
// upright and turned sideways.
const portraitColumns = 6;
const landscapeColumns = 9;
export const maxSheets = 100;

let shown = null;      // the run shown: { model, exercise }, exercise as page.js hands it, or null
let classSet = false;  // whether the worksheet holds a class set, made for the print under way

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
  return t('sheet.id', { program: model.run.program, seed: exercise.seed, order: exercise.order, options: optionWords(exercise.options) });
}

// The lines that name a sheet and its key: the id and the link.
function idLines(sheet) {
  const link = linkOf(sheet);
  return [el('p', 'sheet-id', idOf(sheet)), el('p', 'sheet-link', t('sheet.link', { link }))];
}

// Stage k's printout as a frame: its rows and columns labelled, the bar
// before I or b; empty, or with the printed entries for the key.
function frame(m, k, filled) {
  const head = headers(m, k);
  const table = el('table', 'frame');
  const bar = (c) => (head.columns[c].bar ? 'bar' : '');
  table.createTHead().insertRow().append(el('td'), ...head.columns.map((h, c) => el('th', bar(c), h.shown, { scope: 'col' })));
  const body = table.createTBody();
  m.stages[k].rows.forEach((row, r) =>
    body.insertRow().append(el('th', '', head.rows[r].shown, { scope: 'row' }), ...row.map((x, c) => el('td', bar(c), filled ? x : ''))));
  return table;
}

// The decisions that stage k asks (the entries are the frame's).
const decisionsOf = (m, k) => questions(m, k, 'none').filter((q) => !q.key.startsWith('entry'));

function sheetOf(sheet, made) {
  const { model: m } = sheet;
  const part = el('section', 'sheet');
  const head = el('div', 'sheet-head');
  head.append(el('h2', '', sheetTitle(m.run.program, m.n)), ...idLines(sheet));
  const qr = /^https?:$/.test(location.protocol) ? qrOf(linkOf(sheet)) : null;
  const name = el('p', 'sheet-name');
  name.append(el('span', '', t('sheet.name')), el('span', 'write', sheet.name), el('span', '', t('sheet.date')), el('span', 'write short'));
  part.append(qr ? el('div', 'sheet-top') : head, name);
  if (qr) part.firstChild.append(head, qr);
  if (made && !made.met) part.append(el('p', 'note-box', t('exercise.unmet')));
  part.append(el('p', '', t('sheet.intro')), frame(m, 0, true));
  for (const stage of m.stages.slice(1)) {
    const blank = el('div', 'sheet-stage');
    blank.append(el('h3', '', stageHeading(stage)), el('p', '', t('practice.ask.' + stage.id, { j: stage.column ?? '' })));
    const asked = decisionsOf(m, stage.k);
    if (asked.length > 0) {
      const blanks = el('p', 'blanks');
      for (const q of asked) blanks.append(el('span', 'blank', `${questionLabel(q)}:`), ' ');
      blank.append(blanks);
    }
    if (!stage.unknowns) blank.append(frame(m, stage.k, false));
    part.append(blank);
  }
  return part;
}

function keyOf(sheet) {
  const { model: m } = sheet;
  const key = el('section', 'sheet-key');
  key.append(el('h2', '', t('sheet.key')), ...idLines(sheet));
  if (sheet.name) key.append(el('p', 'sheet-id', `${t('sheet.name')}: ${sheet.name}`));
  for (const stage of m.stages.slice(1)) {
    const answers = el('div', 'sheet-stage');
    answers.append(el('h3', '', stageHeading(stage)));
    const asked = decisionsOf(m, stage.k);
    if (asked.length > 0)
      answers.append(el('p', '', asked.map((q) => `${questionLabel(q)}: ${answerOf(q) ?? t('practice.aloneAnswer')}`).join('; ')));
    if (!stage.unknowns) answers.append(frame(m, stage.k, true));
    key.append(answers);
  }
  return key;
}

// Fills the worksheet with sheets, then their keys, on A4 turned sideways
// where a printout is wider than a portrait page holds; frames too wide even
// for that are squeezed.
function build(sheets, made = []) {
  const columns = Math.max(...sheets.flatMap(({ model }) => model.stages.map((s) => s.rows[0]?.length ?? 0)));
  landscape.media = columns > portraitColumns ? 'print' : 'not all';
  worksheet.classList.toggle('squeezed', columns > landscapeColumns);
  worksheet.replaceChildren(...sheets.map((sheet, k) => sheetOf(sheet, made[k])), ...sheets.map(keyOf));
}

const printable = (m) => m !== null && m.run.status !== -1 && m.n > 0 && m.stages.length > 1;

// Keeps the run shown, and the exercise that its link made, for a print.
export function render(model, linkState) {
  shown = { model, exercise: linkState?.exercise ?? null };
}

// A class set: sheets for seeds seed .. seed + count - 1 of the exercise, printed at once.
on('classSet', ({ program, order, seed, options, generator, count }) => {
  const made = Array.from({ length: Math.min(count, maxSheets) }, (_, k) => make({ program, order, seed: seed + k, options, generator }));
  build(made.map((e) => ({ model: e.model, exercise: { program, order, seed: e.seed, options, generator } })), made);
  classSet = true;
  print();
});

// An assignment's sheets and keys, printed at once: one per student, each with
// the student's name and link ({ name, exercise, link }, exercise as
// exercises.js's make() takes it).
on('assignmentSet', ({ sheets }) => {
  const made = sheets.slice(0, maxSheets).map((sheet) => make(sheet.exercise));
  build(made.map((e, k) => ({ ...sheets[k], model: e.model })), made);
  classSet = true;
  print();
});

addEventListener('beforeprint', () => {
  if (!classSet && document.body.dataset.mode === 'practice' && shown && printable(shown.model)) build([shown]);
});
addEventListener('afterprint', () => {
  classSet = false;
  worksheet.replaceChildren();
  landscape.media = 'not all';
});
