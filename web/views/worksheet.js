// The worksheets that a print in practice gives instead of the page, drawn
// when the print asks (print.js): one for the run shown, or a class set (one
// sheet for each of N consecutive seeds of an exercise, made here with
// exercises.js). A sheet carries its exercise's id and link, and a QR code of the link
// where the page is served over http(s); a name and date line; the matrix;
// then for each stage its name, its question, a blank for each decision and a
// frame of its printout's shape, big enough to write -0.333333 by hand, its
// rows and columns labelled as the stages' tables label them (forms.js) with
// the bar between A and I or b. After the sheets, each on pages of its own,
// come their answer keys, each with its sheet's id.
import qrcode from 'qrcode-generator';
import { t } from './language.js';
import { byId, el } from './dom.js';
import { stageHeading, questionLabel } from '../logic/words.js';
import { questions, answerOf } from '../logic/check.js';
import { headers } from '../logic/forms.js';
import { fragment } from '../logic/share.js';
import { make } from '../logic/exercises.js';

/*! qrcode-generator 2.0.4: Copyright (c) 2009 Kazuhiko Arase, MIT license.
  Permission is hereby granted, free of charge, to any person obtaining a copy of this software and associated
  documentation files (the "Software"), to deal in the Software without restriction, including without limitation
  the rights to use, copy, modify, merge, publish, distribute, sublicense, and/or sell copies of the Software, and to
  permit persons to whom the Software is furnished to do so, subject to the following conditions: The above copyright
  notice and this permission notice shall be included in all copies or substantial portions of the Software.
  THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED, INCLUDING BUT NOT LIMITED TO THE
  WARRANTIES OF MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS OR
  COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR
  OTHERWISE, ARISING FROM, OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE SOFTWARE. */

const worksheet = byId('worksheet');
const landscape = byId('worksheet-landscape');
// Printout columns that an A4 page holds at 28 mm each beside the row labels,
// upright and turned sideways.
const portraitColumns = 6;
const landscapeColumns = 9;
export const maxSheets = 100;

// The link of a sheet: the exercise's (every stage asked from the first), or the practised run's.
function linkOf({ model, exercise }) {
  const hash = exercise ? fragment(model.run.program, '', false, { practice: true, exercise })
    : fragment(model.run.program, model.run.input, false, { practice: true });
  return new URL(hash, location.href).href;
}

function idOf({ model, exercise }) {
  if (!exercise) return t('sheet.idTyped', { program: model.run.program, order: model.n });
  const options = exercise.options.length > 0 ? exercise.options.join(', ') : t('sheet.noOptions');
  return t('sheet.id', { program: model.run.program, seed: exercise.seed, order: exercise.order, options });
}

// The QR code of link as an SVG drawing (one path, no style: the CSP allows
// none), or null when the link is longer than a QR code holds.
function qrOf(link) {
  const code = qrcode(0, 'M');
  try {
    code.addData(link);
    code.make();
  } catch {
    return null;
  }
  const size = code.getModuleCount();
  let path = '';
  for (let r = 0; r < size; r++)
    for (let c = 0; c < size; c++) if (code.isDark(r, c)) path += `M${c + 4} ${r + 4}h1v1h-1z`;
  const svg = document.createElementNS('http://www.w3.org/2000/svg', 'svg');
  svg.setAttribute('viewBox', `0 0 ${size + 8} ${size + 8}`);
  svg.setAttribute('class', 'qr');
  svg.setAttribute('role', 'img');
  svg.setAttribute('aria-label', t('sheet.qr'));
  const drawing = document.createElementNS('http://www.w3.org/2000/svg', 'path');
  drawing.setAttribute('d', path);
  svg.append(drawing);
  return svg;
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
  head.append(el('h2', '', t('sheet.title', { program: m.run.program, n: m.n })), ...idLines(sheet));
  const qr = /^https?:$/.test(location.protocol) ? qrOf(linkOf(sheet)) : null;
  const name = el('p', 'sheet-name');
  name.append(el('span', '', t('sheet.name')), el('span', 'write'), el('span', '', t('sheet.date')), el('span', 'write short'));
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
// for that are squeezed. A sheet is { model, exercise }, the exercise as the
// page hands it, or null for a matrix typed in.
export function build(sheets, made = []) {
  const columns = Math.max(...sheets.flatMap(({ model }) => model.stages.map((s) => s.rows[0]?.length ?? 0)));
  landscape.media = columns > portraitColumns ? 'print' : 'not all';
  worksheet.classList.toggle('squeezed', columns > landscapeColumns);
  worksheet.replaceChildren(...sheets.map((sheet, k) => sheetOf(sheet, made[k])), ...sheets.map(keyOf));
}

// Whether a run makes a worksheet: a matrix read, and stages past it.
export const printable = (m) => m !== null && m.run.status !== -1 && m.n > 0 && m.stages.length > 1;

// A class set: sheets for seeds seed .. seed + count - 1 of the exercise.
export function buildClassSet({ program, order, seed, options, count }) {
  const made = Array.from({ length: Math.min(count, maxSheets) }, (_, k) => make({ program, order, seed: seed + k, options }));
  build(made.map((e) => ({ model: e.model, exercise: { program, order, seed: e.seed, options } })), made);
}

// No worksheet: the page prints as itself.
export function clear() {
  worksheet.replaceChildren();
  landscape.media = 'not all';
}
