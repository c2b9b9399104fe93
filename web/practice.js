// Practice: the learner carries out each stage of the run shown and the page
// checks each answer against the program's own run (check.js asks the
// questions and judges the answers; this file only shows them). The stages
// before the one to start from are a worked example in the pane; the pane shows
// each later printout only once its stage is done. Hint shows the stage's
// explanation and operations, Show fills the stage in and goes on; the summary
// at the end is kept in storage per exercise. Switching between watching and
// practising changes only what is shown, never the run.
import { t, onChange } from './language.js';
import { emit, afterPaint } from './events.js';
import { byId, el, operationList, printoutBox } from './dom.js';
import { stored, store, forget } from './storage.js';
import { stageName, stageHeading, questionLabel as labelOf, operations } from './words.js';
import { questions, check, answerOf } from './check.js';

const section = byId('practice');
const body = byId('practice-body');
const pane = byId('pane');
const modeButtons = document.querySelectorAll('button[data-mode]');

let active = false;      // practising rather than watching
let model = null;        // the model of the run shown
let unmet = false;       // whether the exercise shown could not meet every option asked
let state = null;        // the practice of model's run: { run, from, current, finished, stages[k] }
let fill = 'row';        // the entries asked besides the decisions: 'none', 'row' or 'all'
let told = null;         // the last verdict, to retell: { k, key }
let zeroTold = false;    // whether the page has said that 0 counts for -0

const practisable = (m) => m !== null && m.run.status !== -1 && m.n > 0 && m.stages.length > 1;
const practiceKey = () => `practice.${model.run.program} ${model.run.input.trim().split(/\s+/).join(' ')}`;
const say = (parts) => emit('announce', parts);
const nameOf = (k) => stageHeading(model.stages[k]);

// The practice of the run from stage from on. A learner new to the method is
// given every stage but the last; each exercise finished leaves one more.
function begin(from = Math.max(1, model.stages.length - 1 - (stored('practice.level') ?? 0))) {
  state = { run: model.run, from, current: from, finished: false, stages: [] };
  told = null;
}

// Stage k's questions and what was answered, made when first asked.
function stageState(k) {
  return (state.stages[k] ??= { questions: questions(model, k, fill), answers: new Map(), wrong: false, hinted: false, shown: false });
}

// The sentence for the verdict on question q of stage k.
function message(k, q, { verdict, zero }) {
  const label = labelOf(q);
  if (verdict.right) {
    const parts = [t('practice.right', { label })];
    if (verdict.note === 'residue') parts.push(t('practice.note.residue', { printed: q.expected.printed }));
    if (zero) parts.push(t('practice.note.negativeZero'));
    return parts.join(' ');
  }
  const { values } = q.label;
  const why = { t: values.t ?? values.r ?? '', p: values.p ?? model.stages[k].column ?? '', n: model.n };
  return t('practice.wrong', { label, why: t('practice.slip.' + (verdict.slip ?? 'differs'), why) });
}

// The pane shows the printouts of the stages done, and in watching all.
function reveal() {
  pane.toggleAttribute('data-practice', active);
  for (const group of pane.querySelectorAll('.pane-stage'))
    group.classList.toggle('reached', !state || state.finished || Number(group.dataset.k) < state.current);
}

// Marks an answer field by its verdict: a mark beside it, the colour of its
// frame, and aria-invalid, so that the mark never rests on colour alone.
function mark(input, given) {
  const right = given ? given.verdict.right : null;
  input.classList.toggle('right', right === true);
  input.classList.toggle('wrong', right === false);
  input.readOnly = right === true;
  input.setAttribute('aria-invalid', String(right === false));
  input.nextElementSibling.textContent = right === null ? '' : right ? '✓' : '✗';
}

function field(k, q, labelled) {
  const input = el('input', 'answer', undefined, {
    id: `practice-${k}-${q.key.replace(/ /g, '-')}`, autocomplete: 'off', spellcheck: false,
    inputMode: q.kind === 'order' ? 'numeric' : 'decimal', enterKeyHint: 'enter',
  });
  Object.assign(input.dataset, { k, key: q.key });
  if (!labelled) input.setAttribute('aria-label', labelOf(q));
  input.setAttribute('aria-describedby', `practice-feedback-${k}`);
  const given = state.stages[k].answers.get(q.key);
  input.value = given ? given.text ?? '' : '';
  const holder = el('span', 'answer-box');
  holder.append(input, el('span', 'mark', '', { 'aria-hidden': 'true' }));
  mark(input, given);
  return holder;
}

// The decisions, each with its label; a row of an elimination also offers
// "left alone".
function decisions(k, questions) {
  const list = el('ul', 'decisions');
  for (const q of questions) {
    const item = el('li');
    const box = field(k, q, true);
    item.append(el('label', '', labelOf(q), { htmlFor: box.firstChild.id }), ' ', box);
    if (q.kind === 'r') {
      const alone = el('button', 'alone', t('practice.alone', { t: q.label.values.t }), { type: 'button' });
      Object.assign(alone.dataset, { k, key: q.key });
      item.append(' ', alone);
    }
    list.append(item);
  }
  return list;
}

// The entries asked, laid out as the printout's rows and columns.
function entries(k, questions) {
  const table = el('table', 'entry-grid');
  const byRow = new Map();
  for (const q of questions) {
    const { r, c } = q.label.values;
    if (!byRow.has(r)) byRow.set(r, []);
    byRow.get(r)[c - 1] = q;
  }
  const columns = Math.max(...[...byRow.values()].map((row) => row.length));
  table.insertRow().append(el('td'), ...Array.from({ length: columns }, (_, c) => el('th', '', String(c + 1), { scope: 'col' })));
  for (const [r, row] of byRow) {
    const tr = table.insertRow();
    tr.append(el('th', '', String(r), { scope: 'row' }));
    for (const q of row) tr.insertCell().append(field(k, q, false));
  }
  const scroller = el('div', 'entry-box');
  scroller.append(table);
  const box = el('div');
  box.append(el('p', '', t('practice.entries')), scroller);
  return box;
}

// The hint: the stage's explanation and its row operations, from the stages' own words.
function hint(k) {
  const stage = model.stages[k];
  const box = el('div', 'hint note-box', undefined, { hidden: !state.stages[k].hinted });
  box.append(el('p', '', t('about.' + stage.id, { j: stage.column ?? '' })));
  box.append(operationList(stage));
  return box;
}

// Stage k as the learner works it: what it asks, the printout it starts from,
// the questions, the feedback line, and (while it is the current one) Hint and Show.
function article(k) {
  const stage = model.stages[k];
  const s = stageState(k);
  const a = el('article', 'practice-stage', undefined, { id: `practice-stage-${k + 1}` });
  a.append(el('h3', '', t('practice.stageHeading', { k: k + 1, count: model.stages.length, name: stageName(stage) }),
              { tabIndex: -1 }),
           el('p', 'ask', t('practice.ask.' + stage.id, { j: stage.column ?? '' })),
           printoutBox(model.stages[k - 1].rows, t('practice.before', { k: k + 1 })));
  const asked = s.questions.filter((q) => !q.key.startsWith('entry'));
  const filled = s.questions.filter((q) => q.key.startsWith('entry'));
  if (asked.length > 0) a.append(decisions(k, asked));
  if (filled.length > 0) a.append(entries(k, filled));
  const feedback = el('p', 'feedback', '', { id: `practice-feedback-${k}` });
  const last = told && told.k === k && s.questions.find((q) => q.key === told.key);
  if (last) feedback.textContent = message(k, last, s.answers.get(told.key));
  a.append(feedback, hint(k));
  if (k === state.current && !state.finished) {
    const actions = el('div', 'practice-actions');
    actions.append(el('button', 'hint-button', t('practice.hint'), { type: 'button' }),
                   el('button', 'show-button', t('practice.show'), { type: 'button' }));
    a.append(actions);
  }
  return a;
}

const tally = () => {
  const done = state.stages.slice(state.from);
  return { count: done.length, right: done.filter((s) => !s.wrong && !s.hinted && !s.shown).length,
           hints: done.filter((s) => s.hinted).length, shown: done.filter((s) => s.shown).length };
};

// The record kept of this exercise, and a button that clears it.
function record(id, values) {
  const p = el('p', 'practice-record', t(id, values), { id: id === 'practice.summary' ? 'practice-summary' : '' });
  p.append(' ', el('button', 'clear-record', t('practice.clear'), { type: 'button' }));
  return p;
}

// The start-from chooser and the fill switch take their values from here.
function settings() {
  const from = byId('practice-from');
  from.replaceChildren(...model.stages.slice(1).map((_, k) => el('option', '', nameOf(k + 1), { value: k + 1 })));
  from.value = state.from;
  for (const radio of document.querySelectorAll('input[name="practice-fill"]')) radio.checked = radio.value === fill;
}

// Draws the practice of the run shown anew.
function paint() {
  byId('practice-setup').hidden = state === null;
  byId('practice-unmet').hidden = !unmet;
  if (state === null) {
    body.replaceChildren(el('p', '', t(model && model.run.status !== -1 ? 'practice.nothing' : 'practice.waiting')));
    return;
  }
  settings();
  const parts = [el('p', 'help', t('practice.example', { k: state.from }))];
  const past = stored(practiceKey());
  if (past && !state.finished) parts.push(record('practice.past', past));
  for (let k = state.from; k <= Math.min(state.current, model.stages.length - 1); k++) parts.push(article(k));
  if (state.finished) parts.push(record('practice.summary', tally()));
  body.replaceChildren(...parts);
  reveal();
}

// Moves the focus to the first field of stage k not yet answered right.
function focusStage(k) {
  const a = byId(`practice-stage-${k + 1}`);
  const open = a && [...a.querySelectorAll('input.answer')].find((input) => !input.readOnly);
  (open ?? a?.querySelector('h3'))?.focus();
}

// After stage k is done: the next stage, added below it, or the summary at the end.
function complete(k) {
  if (k + 1 < model.stages.length) {
    state.current = k + 1;
    const done = byId(`practice-stage-${k + 1}`);
    done.querySelector('.practice-actions').remove();
    body.append(article(k + 1));
    reveal();
    focusStage(k + 1);
    say(() => [t('practice.done', { k: k + 1 }), t('practice.announce', { k: k + 2, name: stageName(model.stages[k + 1]) })]);
    return;
  }
  state.finished = true;
  const summary = tally();
  if (stored(practiceKey()) === null) store('practice.level', (stored('practice.level') ?? 0) + 1);
  store(practiceKey(), summary);
  paint();
  byId('practice-summary').tabIndex = -1;
  byId('practice-summary').focus();
  say(() => [t('practice.summary', tally())]);
}

const openQuestions = (k) => state.stages[k].questions.filter((q) => !state.stages[k].answers.get(q.key)?.verdict.right);

// Checks the answer given to question key of stage k, marks it where it
// stands, says the verdict, and goes on to the next open question; after
// the last one, to the next stage once the verdict is painted.
function answer(k, key, given) {
  const s = state.stages[k];
  const q = s.questions.find((x) => x.key === key);
  const verdict = check(q, given);
  const zero = verdict.note === 'negativeZero' && !zeroTold;
  zeroTold ||= zero;
  s.answers.set(key, { text: given.alone ? null : given.text, verdict, zero });
  s.wrong ||= !verdict.right;
  told = { k, key };
  const input = byId(`practice-${k}-${key.replace(/ /g, '-')}`);
  mark(input, s.answers.get(key));
  const sentence = () => message(k, q, s.answers.get(key));
  byId(`practice-feedback-${k}`).textContent = sentence();
  say(() => [sentence()]);
  if (!verdict.right) return input.select();
  const open = openQuestions(k);
  if (open.length === 0) return afterPaint(model.run, () => { if (state.current === k) complete(k); });
  const after = open.find((x) => s.questions.indexOf(x) > s.questions.indexOf(q)) ?? open[0];
  byId(`practice-${k}-${after.key.replace(/ /g, '-')}`).focus();
}

// Show: every open question of the current stage filled in with the program's answer.
function show(k) {
  const s = state.stages[k];
  for (const q of s.questions) {
    if (!s.answers.get(q.key)?.verdict.right)
      s.answers.set(q.key, { text: answerOf(q), verdict: { right: true, note: null, slip: null } });
  }
  s.shown = true;
  told = null;
  byId(`practice-stage-${k + 1}`).replaceWith(article(k));
  complete(k);
}

function showHint(k) {
  state.stages[k].hinted = true;
  const box = byId(`practice-stage-${k + 1}`).querySelector('.hint');
  box.hidden = false;
  say(() => [t('practice.hintShown', { k: k + 1 }), ...operations(model.stages[k]).map((op) => op.notation)]);
}

// Practising (true) or watching; the run, the dialogue and the transcript stay as they are.
export function setActive(on) {
  active = on;
  document.body.dataset.mode = on ? 'practice' : 'watch';
  section.hidden = !on;
  byId('stages').hidden = on;
  for (const button of modeButtons) button.setAttribute('aria-pressed', String((button.dataset.mode === 'practice') === on));
  reveal();
  if (on && model) paint();
}

// Shows the practice of next's run: a new run starts it anew.
export function render(next) {
  const sameRun = model !== null && model.run === next.run;
  model = next;
  if (sameRun && state) {
    // The exact values have come: the questions take them, the answers stay.
    for (const [k, s] of state.stages.entries()) if (s) s.questions = questions(model, k, fill);
    return;
  }
  state = practisable(model) ? (begin(), state) : null;
  if (!active) return reveal();
  paint();
  if (state) {
    focusStage(state.current);
    say(() => [t('practice.announce', { k: state.current + 1, name: stageName(model.stages[state.current]) })]);
  }
}

export function retell() {
  if (active && model) paint();
}

// Whether the learner practises.
export const isActive = () => active;

// Notes whether the exercise shown met every option asked of it.
export function setUnmet(value) {
  unmet = value;
}

byId('practice-from').addEventListener('change', (event) => {
  begin(Number(event.target.value));
  paint();
  focusStage(state.current);
});
byId('practice-fill').addEventListener('change', (event) => {
  fill = event.target.value;
  if (!state) return;
  for (let k = state.current; k < model.stages.length; k++) if (state.stages[k]) state.stages[k].questions = questions(model, k, fill);
  paint();
  // Fewer entries asked may leave nothing open in the stage at hand.
  if (!state.finished && openQuestions(state.current).length === 0) complete(state.current);
});
body.addEventListener('keydown', (event) => {
  const input = event.target;
  if (event.key !== 'Enter' || !input.matches('input.answer')) return;
  event.preventDefault();
  if (input.readOnly || input.value.trim() === '') return;
  answer(Number(input.dataset.k), input.dataset.key, { text: input.value });
});
body.addEventListener('click', (event) => {
  const button = event.target.closest('button');
  if (!button) return;
  if (button.matches('.alone')) answer(Number(button.dataset.k), button.dataset.key, { alone: true });
  else if (button.matches('.hint-button')) showHint(state.current);
  else if (button.matches('.show-button')) show(state.current);
  else if (button.matches('.clear-record')) {
    forget(practiceKey());
    const line = button.parentElement;
    line.textContent = t('practice.cleared');
    line.tabIndex = -1;
    line.focus();
    say(() => [t('practice.cleared')]);
  }
});
onChange(retell);
