// The worksheet that a print in practice gives instead of the page: the
// exercise, then for each stage its name, its question and an empty frame the
// size of its printout; then, on a page of its own, the answer key from the run.
import { t } from './language.js';
import { byId, el, printoutBox } from './dom.js';
import { stageHeading, questionLabel } from './words.js';
import { questions, answerOf } from './check.js';

const worksheet = byId('worksheet');
let model = null;  // the model of the run shown

// A frame of the printout's size: empty, or with its entries for the key.
function frame(stage, filled) {
  const table = el('table', 'frame');
  for (const row of stage.unknowns ? [] : stage.rows) table.insertRow().append(...row.map((x) => el('td', '', filled ? x : ' ')));
  return table;
}

function build() {
  const sheet = el('section', 'sheet');
  sheet.append(el('h2', '', t('sheet.title', { program: model.run.program, n: model.n })), el('p', '', t('sheet.intro')),
               printoutBox(model.stages[0].rows, t('practice.before', { k: 2 })));
  const key = el('section', 'sheet-key');
  key.append(el('h2', '', t('sheet.key')));
  for (const stage of model.stages.slice(1)) {
    const asked = questions(model, stage.k, 'none').filter((q) => !q.key.startsWith('entry'));
    const blank = el('div', 'sheet-stage');
    blank.append(el('h3', '', stageHeading(stage)), el('p', '', t('practice.ask.' + stage.id, { j: stage.column ?? '' })));
    if (asked.length > 0) blank.append(el('p', 'blanks', asked.map((q) => `${questionLabel(q)}: ________`).join('   ')));
    blank.append(frame(stage, false));
    sheet.append(blank);
    const answers = el('div', 'sheet-stage');
    answers.append(el('h3', '', stageHeading(stage)));
    if (asked.length > 0)
      answers.append(el('p', '', asked.map((q) => `${questionLabel(q)}: ${answerOf(q) ?? t('practice.aloneAnswer')}`).join('; ')));
    answers.append(frame(stage, true));
    key.append(answers);
  }
  worksheet.replaceChildren(sheet, key);
}

// Keeps the model for a print; a run with stages to practise prints as a worksheet.
export function render(next) {
  model = next;
}

addEventListener('beforeprint', () => {
  if (document.body.dataset.mode === 'practice' && model && model.run.status !== -1 && model.n > 0 && model.stages.length > 1) build();
});
addEventListener('afterprint', () => worksheet.replaceChildren());
