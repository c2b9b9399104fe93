// Practice: the learner carries out each stage of the run shown and the page
// checks each answer against the program's own run (check.js asks the
// questions and judges the answers; this file only shows them). The stages
// before the one to start from are a worked example in the pane; the pane shows
// each later printout only once its stage is done. Hint gives the stage's rule,
// then its numbers, then its operations; Show fills the stage in and goes on.
// The answers so far are kept in storage per exercise, and the summary at the
// end. Switching between watching and practising changes only what is shown,
// never the run.
import { t, onChange } from './language.js';
import { emit, afterPaint } from './events.js';
import { byId, el, operationList, printoutBox } from './dom.js';
import { stored, store, forget } from './storage.js';
import { stageName, stageHeading, questionLabel as labelOf, operations } from '../logic/words.js';
import { questions, invertibility, check, isMiss, answerOf } from '../logic/check.js';
import { entry, isZero, isNonFinite } from '../logic/model.js';
import { format } from '../logic/exact.js';
import { headers } from '../logic/forms.js';
import { fills, firstAsked, defaultFill } from '../logic/share.js';
import { keepInView, followViewport, placeVerdict, checkButton, markUnchecked } from './keyboard.js';

const section = byId('practice');
const body = byId('practice-body');
const pane = byId('pane');
const modeButtons = document.querySelectorAll('button[data-mode]');
const hintSteps = 3;

let active = false;      // practising rather than watching
let model = null;        // the model of the run shown
let unmet = false;       // whether the exercise shown could not meet every option asked
let asked = null;        // what the link that opened the run asks of practice: { from, fill, own }, or null
let state = null;        // the practice of model's run: { run, from, fill, current, finished, stages[k] }
let told = null;         // the last verdict, to retell: { k, key }
let zeroTold = false;    // whether the page has said that 0 counts for -0
let exactShown = false;  // the printouts before each stage as exact fractions
let onChosen = () => {}; // told when the start or the entries asked change

const practisable = (m) => m !== null && m.run.status !== -1 && m.n > 0 && m.stages.length > 1;
const exercise = () => `${model.run.program} ${model.run.input.trim().split(/\s+/).join(' ')}`;
const recordKey = () => `practice.${exercise()}`;
const progressKey = () => `practice.progress.${exercise()}`;
const say = (parts) => emit('announce', parts);
const nameOf = (k) => stageHeading(model.stages[k]);
const idOf = (k, key) => `practice-${k}-${key.replace(/ /g, '-')}`;

function begin(from, fill) {
  state = { run: model.run, from, fill, current: from, finished: false, stages: [] };
  told = null;
}

// Stage k's questions: whether A is invertible where the exact replay divides
// by zero, its decisions, then the entries asked.
const questionsOf = (k) => [invertibility(model, k), ...questions(model, k, state.fill)].filter(Boolean);

// Stage k's questions and what was answered, made when first asked.
function stageState(k) {
  return (state.stages[k] ??= { questions: questionsOf(k), answers: new Map(), wrong: false, hints: 0, shown: false });
}

// The answers so far, kept per exercise so that a reload or a later visit comes back to them.
function save() {
  const stages = state.stages.map((s) => s && { answers: [...s.answers], wrong: s.wrong, hints: s.hints, shown: s.shown });
  store(progressKey(), { from: state.from, fill: state.fill, current: state.current, stages });
}

// The practice kept of this exercise, if any and whole: true once restored.
function restore() {
  const saved = stored(progressKey());
  const last = model.stages.length - 1;
  const whole = (x) => Number.isInteger(x) && x >= 1 && x <= last;
  if (!saved || !whole(saved.from) || !whole(saved.current) || saved.current < saved.from || !fills.includes(saved.fill)) return false;
  begin(saved.from, saved.fill);
  state.current = saved.current;
  for (const [k, s] of (Array.isArray(saved.stages) ? saved.stages : []).entries()) {
    if (!s || k < saved.from || k > saved.current || !Array.isArray(s.answers)) continue;
    const answers = s.answers.filter((a) => Array.isArray(a) && typeof a[0] === 'string' && typeof a[1]?.verdict?.right === 'boolean');
    Object.assign(stageState(k), { answers: new Map(answers), wrong: s.wrong === true, hints: Math.min(hintSteps, Number(s.hints) || 0), shown: s.shown === true });
  }
  return true;
}

// Where practice of the run starts: where the learner left it; else where the
// link asks, from stage 2 unless it says otherwise; else, for the page's own
// examples and exercises and a matrix typed here, at the last stage but one
// more for each exercise finished.
function start() {
  if (restore()) return;
  const last = model.stages.length - 1;
  const from = asked?.from ?? (asked && !asked.own ? firstAsked : last + 1 - (stored('practice.level') ?? 0));
  begin(Math.min(last, Math.max(1, from - 1)), asked?.fill ?? defaultFill);
}

// The sentence for the verdict on question q of stage k.
function message(k, q, { verdict, zero }) {
  const label = labelOf(q);
  if (verdict.right) {
    const parts = [t('practice.right', { label })];
    if (verdict.note === 'residue') parts.push(t('practice.note.residue', { printed: q.expected.printed }));
    if (verdict.note === 'fromPrinted') parts.push(t('practice.note.fromPrinted', { printed: q.expected.printed }));
    if (zero) parts.push(t('practice.note.negativeZero'));
    if (q.key.startsWith('divisor') && isZero(q.expected.printed)) parts.push(t('practice.note.zeroDivisor'));
    return parts.join(' ');
  }
  const { values } = q.label;
  const why = { t: values.t ?? values.r ?? '', p: values.p ?? model.stages[k].column ?? '', n: model.n };
  return t(isMiss(verdict) ? 'practice.wrong' : 'practice.close', { label, why: t('practice.slip.' + (verdict.slip ?? 'differs'), why) });
}

// The pane shows the printouts of the stages done, and in watching all.
function reveal() {
  pane.toggleAttribute('data-practice', active);
  for (const group of pane.querySelectorAll('.pane-stage'))
    group.classList.toggle('reached', !state || state.finished || Number(group.dataset.k) < state.current);
}

// Marks an answer field by its verdict: a mark beside it, the colour of its
// frame, and aria-invalid, so that the mark never rests on colour alone. A
// field answered right is done with, and leaves the tab order to the open ones.
function mark(input, given) {
  const verdict = given ? given.verdict : null;
  const close = verdict !== null && !verdict.right && !isMiss(verdict);
  input.classList.toggle('right', verdict?.right === true);
  input.classList.toggle('wrong', verdict?.right === false && !close);
  input.classList.toggle('close', close);
  input.classList.remove('unchecked');
  input.readOnly = verdict?.right === true;
  input.tabIndex = verdict?.right === true ? -1 : 0;
  input.setAttribute('aria-invalid', String(verdict?.right === false));
  input.nextElementSibling.textContent = verdict === null ? '' : verdict.right ? '✓' : close ? '≈' : '✗';
}

// A text field: the keyboard of letters and signs, which on every phone has
// the digits, '-', '/', '.' and the space a layer away; a number keypad lacks some.
function field(k, q, labelled) {
  const input = el('input', 'answer', undefined, {
    type: 'text', id: idOf(k, q.key), autocomplete: 'off', spellcheck: false, autocapitalize: 'off',
    inputMode: 'text', enterKeyHint: 'enter',
  });
  input.setAttribute('autocorrect', 'off');
  Object.assign(input.dataset, { k, key: q.key });
  if (!labelled) input.setAttribute('aria-label', labelOf(q));
  input.setAttribute('aria-describedby', `practice-feedback-${k}`);
  const given = state.stages[k].answers.get(q.key);
  input.value = given ? given.text ?? (given.alone ? t('practice.aloneAnswer') : '') : '';
  const holder = el('span', 'answer-box');
  holder.append(input, el('span', 'mark', '', { 'aria-hidden': 'true' }), checkButton(labelOf(q)));
  mark(input, given);
  return holder;
}

// Whether A is invertible: two buttons, the one chosen pressed, both done with once right.
function choiceItem(k, q) {
  const item = el('li');
  const given = state.stages[k].answers.get(q.key);
  const labelId = idOf(k, q.key) + '-label';
  const group = el('span', 'choices', undefined, { role: 'group' });
  group.setAttribute('aria-labelledby', labelId);
  group.setAttribute('aria-describedby', `practice-feedback-${k}`);
  const which = q.label.id.split('.').at(-1);
  for (const choice of ['yes', 'no']) {
    const button = el('button', 'choice', t(`practice.choice.${which}.${choice}`), { type: 'button', disabled: given?.verdict.right === true });
    if (choice === 'yes') button.id = idOf(k, q.key);
    button.setAttribute('aria-pressed', String(given?.choice === choice));
    Object.assign(button.dataset, { k, key: q.key, choice });
    group.append(button);
  }
  const sign = given ? (given.verdict.right ? '✓' : '✗') : '';
  item.append(el('span', '', labelOf(q), { id: labelId }), ' ', group, el('span', 'mark', sign, { 'aria-hidden': 'true' }));
  return item;
}

// The decisions, each with its label; a row of an elimination also offers
// "left alone".
function decisions(k, questions) {
  const list = el('ul', 'decisions');
  for (const q of questions) {
    if (q.kind === 'invertible') {
      list.append(choiceItem(k, q));
      continue;
    }
    const item = el('li');
    const box = field(k, q, true);
    item.append(el('label', '', labelOf(q), { htmlFor: box.firstChild.id }), ' ', box);
    if (q.kind === 'r') {
      const done = state.stages[k].answers.get(q.key)?.verdict.right === true;
      const alone = el('button', 'alone', t('practice.alone', { t: q.label.values.t }), { type: 'button', disabled: done });
      Object.assign(alone.dataset, { k, key: q.key });
      item.append(' ', alone);
    }
    list.append(item);
  }
  return list;
}

// The entries asked, in the rows and columns of the printout, under its
// column headers with the bar before I or b; the rows scroll sideways as one
// block where the screen is narrow, each row's label staying at its left.
function entries(k, questions) {
  const box = el('div', 'entries');
  box.append(el('p', '', t('practice.entries')));
  const { columns } = headers(model, k);
  const grid = el('div', 'entry-grid');
  grid.style.setProperty('--columns', columns.length);
  const head = el('div', 'entry-head', undefined, { 'aria-hidden': 'true' });
  head.append(el('span', 'row-label'), ...columns.map((col) => el('span', 'column-label', col.shown, col.bar ? { 'data-bar': '' } : {})));
  grid.append(head);
  const byRow = new Map();
  for (const q of questions) {
    const { r } = q.label.values;
    if (!byRow.has(r)) byRow.set(r, []);
    byRow.get(r).push(q);
  }
  for (const [r, row] of byRow) {
    const line = el('div', 'entry-row');
    line.append(el('span', 'row-label', t('practice.row', { r }), { 'aria-hidden': 'true' }));
    for (const q of row) {
      const cell = el('span', 'entry', undefined, columns[q.label.values.c - 1]?.bar ? { 'data-bar': '' } : {});
      cell.append(field(k, q, false));
      line.append(cell);
    }
    grid.append(line);
  }
  box.append(grid);
  return box;
}

// The numbers that stage k works with, as printed in the printout before it,
// without any that a field asks for as it stands.
function numbers(k) {
  const stage = model.stages[k];
  const before = model.stages[k - 1].rows;
  const list = (items) => items.join(t('practice.hint.separator'));
  const at = (r, c) => t('practice.hint.entry', { r, value: before[r - 1][c - 1] });
  const rows = (ops) => list(ops.map((op) => at(op.t, op.p)));
  switch (stage.id) {
    case 'scaled': return list(stage.ops.map(({ i, c }) => t('practice.hint.scaled', { i, c })));
    case 'pivoted': {
      const j = stage.column;
      return t('practice.hint.pivoted', { j, entries: list(before.slice(j - 1).map((_, r) => at(before.length - r, j))) });
    }
    case 'eliminated': case 'backward': {
      const p = stage.column;
      const ops = stage.ops.filter((op) => op.name === 'combine' || op.name === 'unchanged');
      return t('practice.hint.eliminated', { p, pivot: before[p - 1][p - 1], entries: rows(ops) });
    }
    case 'normalized': return t('practice.hint.normalized', { entries: list(before.map((_, i) => `a${i + 1}${i + 1}`)) });
    case 'inverse_done': return t('practice.hint.inverse_done', { first: stage.first, last: stage.last });
    case 'solution': return list(before.map((row, i) => t('practice.hint.solution', { j: i + 1, b: row[model.n], d: row[i] })));
    default: return '';
  }
}

// The rule of stage k in words.
function rule(k) {
  const stage = model.stages[k];
  return t(stage.id === 'backward' ? 'practice.hint.backward' : 'about.' + stage.id, { j: stage.column ?? '' });
}

// The hint's step (1 to 3) of stage k: its rule in words, its numbers, its operations.
const hintStep = (k, step) => (step === 1 ? el('p', '', rule(k)) : step === 2 ? el('p', '', numbers(k)) : operationList(model.stages[k]));

function hint(k) {
  const { hints } = state.stages[k];
  const box = el('div', 'hint note-box', undefined, { hidden: hints === 0 });
  for (let step = 1; step <= hints; step++) box.append(hintStep(k, step));
  return box;
}

// The most bits of a numerator or denominator that the exact printouts show:
// longer fractions are worked by no one by hand, and take long to reduce.
const handBits = 128;

// The printout that stage k starts from: as printed, or exact where the run has its values.
function before(k) {
  const rows = model.stages[k - 1].rows;
  if (!exactShown || !(model.exact?.bits <= handBits)) return printoutBox(rows, t('practice.before', { k: k + 1 }), headers(model, k - 1));
  const exact = rows.map((row, r) => row.map((printed, c) => {
    const e = entry(model, k - 1, r, c);
    return e.state === 'exact' ? format(e.value) : printed;
  }));
  return printoutBox(exact, t('practice.beforeExact', { k: k + 1 }), headers(model, k - 1));
}

// Stage k as the learner works it: what it asks, the printout it starts from,
// the questions, Hint and Show (while it is the current one), the feedback line
// and the hint.
function article(k) {
  const stage = model.stages[k];
  const s = stageState(k);
  const a = el('article', 'practice-stage', undefined, { id: `practice-stage-${k + 1}` });
  a.append(el('h3', '', t('practice.stageHeading', { k: k + 1, count: model.stages.length, name: stageName(stage) }),
              { tabIndex: -1 }),
           el('p', 'ask', t('practice.ask.' + stage.id, { j: stage.column ?? '' })));
  if (s.questions.some((q) => q.kind === 'invertible' || isNonFinite(q.expected.printed ?? '')))
    a.append(el('p', 'ask', t('practice.ask.nonFinite')));
  a.append(before(k));
  const decided = s.questions.filter((q) => !q.key.startsWith('entry'));
  const filled = s.questions.filter((q) => q.key.startsWith('entry'));
  if (decided.length > 0) a.append(decisions(k, decided));
  if (filled.length > 0) a.append(entries(k, filled));
  if (k === state.current && !state.finished) {
    const actions = el('div', 'practice-actions');
    if (s.hints < hintSteps)
      actions.append(el('button', 'hint-button', t('practice.hint', { step: s.hints + 1, steps: hintSteps }), { type: 'button' }));
    actions.append(el('button', 'show-button', t('practice.show'), { type: 'button' }));
    a.append(actions);
  }
  const feedback = el('p', 'feedback', '', { id: `practice-feedback-${k}` });
  const last = told && told.k === k && s.questions.find((q) => q.key === told.key);
  a.append(feedback, hint(k));
  if (last && s.answers.has(told.key)) {
    feedback.textContent = message(k, last, s.answers.get(told.key));
    placeVerdict(feedback, a.querySelector(`[id="${idOf(k, told.key)}"]`));
  }
  return a;
}

const tally = () => {
  const done = state.stages.slice(state.from);
  const hints = done.reduce((sum, s) => sum + s.hints, 0);
  return { count: done.length, right: done.filter((s) => !s.wrong && s.hints === 0 && !s.shown).length,
           hints, shown: done.filter((s) => s.shown).length };
};

// A record's sentence: the counts, the hints worded by their number.
const recordText = (id, record) =>
  t(id, { ...record, hints: t(record.hints === 1 ? 'practice.hints.one' : 'practice.hints.other', { count: record.hints }) });

// The summary of the exercise done, naming A singular where it is.
function summaryText() {
  const singular = model.exact?.stop?.singular;
  const program = model.stages[0].right === 'b' ? 'solve' : 'inverse';
  return [recordText('practice.summary', tally()), ...(singular ? [t('practice.singular.' + program)] : [])].join(' ');
}

// The record kept of this exercise, and a button that clears it.
function record(text, summary) {
  const p = el('p', 'practice-record', text, { id: summary ? 'practice-summary' : '' });
  p.append(' ', el('button', 'clear-record', t('practice.clear'), { type: 'button' }));
  return p;
}

// The start-from chooser and the other settings take their values from here.
function settings() {
  const from = byId('practice-from');
  from.replaceChildren(...model.stages.slice(1).map((_, k) => el('option', '', nameOf(k + 1), { value: k + 1 })));
  from.value = state.from;
  for (const radio of document.querySelectorAll('input[name="practice-fill"]')) radio.checked = radio.value === state.fill;
  byId('practice-exact').checked = exactShown;
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
  const parts = [el('p', 'help', state.from === 1 ? t('practice.example.input') : t('practice.example', { k: state.from }))];
  const past = stored(recordKey());
  if (past && !state.finished) parts.push(record(recordText('practice.past', past), false));
  for (let k = state.from; k <= Math.min(state.current, model.stages.length - 1); k++) parts.push(article(k));
  if (state.finished) parts.push(record(summaryText(), true));
  body.replaceChildren(...parts);
  reveal();
}

// Draws the same practice anew, as the language or the questions change: what
// is typed and not yet checked stays, and so does the focus.
function repaint() {
  const typed = [...body.querySelectorAll('input.answer:not([readonly])')].map((input) => [input.id, input.value]);
  const focused = document.activeElement?.id;
  paint();
  for (const [id, value] of typed) if (byId(id) && !byId(id).readOnly) byId(id).value = value;
  if (focused && body.contains(byId(focused))) byId(focused).focus({ preventScroll: true });
}

const hintBox = (k) => byId(`practice-stage-${k + 1}`).querySelector('.hint');
const openQuestions = (k) => state.stages[k].questions.filter((q) => !state.stages[k].answers.get(q.key)?.verdict.right);

// Focus on an answer field or button, scrolled wholly into view with its mark
// and as far as they fit the others given (the verdict line, the hint), above
// an on-screen keyboard: focus() leaves a field that is partly in view where
// it is in some engines.
function focusOn(element, ...others) {
  element.focus({ preventScroll: true });
  keepInView(element.closest('.answer-box, .decisions li') ?? element, ...others);
}

// Moves the focus to the first question of stage k not yet answered right,
// else to its heading; gives that question.
function focusStage(k) {
  const a = byId(`practice-stage-${k + 1}`);
  const q = openQuestions(k)[0];
  const target = q ? byId(idOf(k, q.key)) : a?.querySelector('h3');
  if (target) focusOn(target, byId(`practice-feedback-${k}`), a?.querySelector('.hint'));
  return q;
}

// What the status line says of stage k and its first open question.
function naming(k) {
  const q = openQuestions(k)[0];
  return [t('practice.announce', { k: k + 1, name: stageName(model.stages[k]) }), ...(q ? [t('practice.question', { label: labelOf(q) })] : [])];
}

// The status line naming the current question, and the focus on it (after
// the status line, whose new words may move the page).
function tellCurrent() {
  if (!state || state.finished) return;
  say(() => naming(state.current));
  focusStage(state.current);
}

// After stage k is done: the next stage, added below it, or the summary at the end.
function complete(k) {
  if (k + 1 < model.stages.length) {
    state.current = k + 1;
    save();
    byId(`practice-stage-${k + 1}`).querySelector('.practice-actions').remove();
    body.append(article(k + 1));
    reveal();
    say(() => [t('practice.done', { k: k + 1 }), ...naming(k + 1)]);
    focusStage(k + 1);
    return;
  }
  state.finished = true;
  forget(progressKey());
  if (stored(recordKey()) === null) store('practice.level', (stored('practice.level') ?? 0) + 1);
  store(recordKey(), tally());
  paint();
  byId('practice-summary').tabIndex = -1;
  byId('practice-summary').focus();
  say(() => [summaryText()]);
}

// Checks the answer given to question key of stage k, marks it where it
// stands, says the verdict, and goes on to the next open question; after
// the last one, to the next stage once the verdict is painted.
function answer(k, key, given) {
  const s = state.stages[k];
  const q = s.questions.find((x) => x.key === key);
  const verdict = check(q, given);
  const zero = verdict.note === 'negativeZero' && !zeroTold;
  zeroTold ||= zero;
  s.answers.set(key, { text: given.text ?? null, alone: given.alone === true, choice: given.choice ?? null, verdict, zero });
  s.wrong ||= isMiss(verdict);
  told = { k, key };
  save();
  const line = byId(`practice-feedback-${k}`);
  let target = byId(idOf(k, key));
  if (q.kind === 'invertible') {
    const item = choiceItem(k, q);
    target.closest('li').replaceWith(item);
    target = item.querySelector(`[data-choice="${given.choice}"]`);
  } else {
    mark(target, s.answers.get(key));
    if (verdict.right && q.kind === 'r') target.closest('li').querySelector('.alone').disabled = true;
  }
  const sentence = () => message(k, q, s.answers.get(key));
  line.textContent = sentence();
  placeVerdict(line, target);
  say(() => [sentence()]);
  if (!verdict.right) {
    if (q.kind !== 'invertible') target.select();
    return focusOn(target, line, hintBox(k));
  }
  const open = openQuestions(k);
  if (open.length === 0) return afterPaint(model.run, () => { if (state.current === k) complete(k); });
  const after = open.find((x) => s.questions.indexOf(x) > s.questions.indexOf(q)) ?? open[0];
  focusOn(byId(idOf(k, after.key)), line, hintBox(k));
}

// Show: every open question of the current stage filled in with the program's answer.
function show(k) {
  const s = state.stages[k];
  for (const q of openQuestions(k)) {
    const choice = q.kind === 'invertible' ? answerOf(q) : null;
    s.answers.set(q.key, { text: choice ? null : answerOf(q), alone: q.expected.alone === true, choice,
                           verdict: { right: true, note: null, slip: null } });
  }
  s.shown = true;
  told = null;
  byId(`practice-stage-${k + 1}`).replaceWith(article(k));
  complete(k);
}

// The next step of the hint; after the last, back to the question.
function showHint(k) {
  const s = state.stages[k];
  s.hints = Math.min(hintSteps, s.hints + 1);
  save();
  const step = s.hints;
  const a = byId(`practice-stage-${k + 1}`);
  const box = a.querySelector('.hint');
  box.hidden = false;
  box.append(hintStep(k, step));
  const words = () => (step === 1 ? [rule(k)] : step === 2 ? [numbers(k)] : operations(model.stages[k]).map((op) => op.notation));
  say(() => [t('practice.hintShown', { k: k + 1, step }), ...words()]);
  const button = a.querySelector('.hint-button');
  if (step < hintSteps) button.textContent = t('practice.hint', { step: step + 1, steps: hintSteps });
  else {
    button.remove();
    focusStage(k);
  }
}

// Practising (true) or watching; the run, the dialogue and the transcript stay
// as they are. When the learner switches (focus), the focus goes to the question.
export function setActive(on, focus = false) {
  active = on;
  document.body.dataset.mode = on ? 'practice' : 'watch';
  section.hidden = !on;
  byId('stages').hidden = on;
  for (const button of modeButtons) button.setAttribute('aria-pressed', String((button.dataset.mode === 'practice') === on));
  reveal();
  if (on && model) {
    paint();
    if (focus) tellCurrent();
  }
}

// Shows the practice of next's run, as link ({ asked }) asks: a new run starts
// it anew, or where the learner left it.
export function render(next, link = {}) {
  const sameRun = model !== null && model.run === next.run;
  model = next;
  if (sameRun && state) {
    // The exact values have come: the questions take them, the answers stay.
    const keys = () => state.stages[state.current]?.questions.map((q) => q.key).join();
    const before = keys();
    for (const [k, s] of state.stages.entries()) if (s) s.questions = questionsOf(k);
    if (active && !state.finished && (keys() !== before || exactShown)) repaint();
    return;
  }
  asked = link.asked ?? null;
  state = practisable(model) ? (start(), state) : null;
  onChosen();
  if (!active) return reveal();
  paint();
  tellCurrent();
}

export function retell() {
  if (!active || !model) return;
  repaint();
  tellCurrent();
}

// Whether the learner practises.
export const isActive = () => active;

// What a link to run asks of practice now: { from (as the page numbers stages), fill }, or null.
export const chosenFor = (run) => (active && state && state.run === run ? { from: state.from + 1, fill: state.fill } : null);

// fn is told whenever the start or the entries asked change.
export function whenChosen(fn) {
  onChosen = fn;
}

// Forgets the answers kept of the run shown: the page starts it over.
export function clearProgress() {
  if (state) forget(progressKey());
}

// Notes whether the exercise shown met every option asked of it.
export function setUnmet(value) {
  unmet = value;
}

byId('practice-from').addEventListener('change', (event) => {
  begin(Number(event.target.value), state.fill);
  save();
  paint();
  tellCurrent();
  onChosen();
});
byId('practice-fill').addEventListener('change', (event) => {
  if (!state) return;
  state.fill = event.target.value;
  for (let k = state.current; k < model.stages.length; k++) if (state.stages[k]) state.stages[k].questions = questionsOf(k);
  save();
  repaint();
  onChosen();
  // Fewer entries asked may leave nothing open in the stage at hand.
  if (!state.finished && openQuestions(state.current).length === 0) complete(state.current);
});
byId('practice-exact').addEventListener('change', (event) => {
  exactShown = event.target.checked;
  if (state) repaint();
});
byId('practice-restart').addEventListener('click', () => {
  forget(progressKey());
  begin(state.from, state.fill);
  paint();
  tellCurrent();
});
body.addEventListener('keydown', (event) => {
  const input = event.target;
  if (event.key !== 'Enter' || !input.matches('input.answer')) return;
  event.preventDefault();
  if (input.readOnly || input.value.trim() === '') return;
  answer(Number(input.dataset.k), input.dataset.key, { text: input.value });
});
// A field reached with Tab, or tapped, is scrolled wholly into view too, and
// an answer left unchecked there is being worked on again.
body.addEventListener('focusin', (event) => {
  if (!event.target.matches('input.answer')) return;
  keepInView(event.target.closest('.answer-box'));
  if (event.target.matches('.unchecked')) markUnchecked(event.target, false);
});
// An answer left for another field without Enter is marked as not yet
// checked (not when a repaint takes the field away), and the status line
// says so, unless the window lost the focus.
body.addEventListener('focusout', (event) => {
  const input = event.target;
  if (!input.matches('input.answer') || input.readOnly || !input.isConnected) return;
  const { k, key } = input.dataset;
  const s = state?.stages[k];
  const q = s?.questions.find((x) => x.key === key);
  if (!q || input.value.trim() === '' || input.value === s.answers.get(key)?.text) return;
  markUnchecked(input);
  if (document.hasFocus()) say(() => [t('practice.unchecked', { label: labelOf(q) })]);
});
// The focused field, its stage's verdict and hint stay in view as the screen's free part changes.
followViewport(() => {
  const input = document.activeElement;
  return input?.matches('#practice-body input.answer, #practice-body .choice')
    ? [input.closest('.answer-box, .decisions li'), byId(`practice-feedback-${input.dataset.k}`), hintBox(Number(input.dataset.k))] : null;
});
body.addEventListener('click', (event) => {
  const button = event.target.closest('button');
  if (!button) return;
  const { k, key, choice: picked } = button.dataset;
  if (button.matches('.check')) {
    const input = button.parentElement.firstChild;
    if (input.readOnly || input.value.trim() === '') input.focus();
    else answer(Number(input.dataset.k), input.dataset.key, { text: input.value });
  } else if (button.matches('.alone')) answer(Number(k), key, { alone: true });
  else if (button.matches('.choice')) answer(Number(k), key, { choice: picked });
  else if (button.matches('.hint-button')) showHint(state.current);
  else if (button.matches('.show-button')) show(state.current);
  else if (button.matches('.clear-record')) {
    forget(recordKey());
    const line = button.parentElement;
    line.textContent = t('practice.cleared');
    line.tabIndex = -1;
    line.focus();
    say(() => [t('practice.cleared')]);
  }
});
onChange(retell);
