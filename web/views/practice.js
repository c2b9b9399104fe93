// Practice's view: the stages that the learner carries out, drawn from the
// state's session (session.js holds its steps, check.js its questions and
// verdicts): the fields and buttons of each stage's questions, the marks of
// the answers, the hint's steps, the summary; where the focus goes, and what
// the status line says. What the learner does is sent to the page as a
// message. The stages before the one to start from are a worked example in the
// pane, which shows each later printout once its stage is done.
import { t } from './language.js';
import { emit, afterPaint } from './events.js';
import { byId, el, operationList, printoutBox } from './dom.js';
import { idOf, mark, choiceItem, decisions, entries } from './answer-fields.js';
import { keepInView, placeVerdict, watchFields } from './keyboard.js';
import { stageName, stageHeading, questionLabel as labelOf } from '../logic/words.js';
import { isMiss, isDecision } from '../logic/check.js';
import { entry, isZero, isNonFinite } from '../logic/model.js';
import { format } from '../logic/exact.js';
import { headers } from '../logic/copies.js';
import { isWaiting } from '../logic/model.js';
import { hintSteps, hintStep, openQuestions, nextQuestion, question, tally, unasked } from '../logic/session.js';
import { hintsAllowed, showAllowed } from '../logic/assignments/work.js';

const body = byId('practice-body');
let dispatch = () => {};
let drawnRun = null;  // the run whose practice is drawn

const say = (parts) => emit('announce', parts);
const stageBox = (k) => byId(`practice-stage-${k + 1}`);

// The sentence for the verdict given on question q of stage k of m's run.
function message(m, k, q, { verdict, zero }) {
  const label = labelOf(t, q);
  if (verdict.right) {
    const parts = [t('practice.right', { label })];
    if (verdict.note === 'residue') parts.push(t('practice.note.residue', { printed: q.expected.printed }));
    if (verdict.note === 'fromPrinted') parts.push(t('practice.note.fromPrinted', { printed: q.expected.printed }));
    if (zero) parts.push(t('practice.note.negativeZero'));
    if (q.kind === 'divisor' && isZero(q.expected.printed)) parts.push(t('practice.note.zeroDivisor'));
    return parts.join(' ');
  }
  const { values } = q.label;
  const why = { t: values.t ?? values.r ?? '', p: values.p ?? m.stages[k].column ?? '', n: m.n };
  return t(isMiss(verdict) ? 'practice.wrong' : 'practice.close', { label, why: t('practice.slip.' + (verdict.slip ?? 'differs'), why) });
}

// Step of stage k's hint: its rule and its numbers as sentences, its operations as a list.
const hintPart = (m, k, step) => (step < hintSteps ? el('p', '', hintStep(t, m, k, step)[0]) : operationList(m.stages[k]));

// The most bits of a numerator or denominator that the exact printouts show:
// longer fractions are worked by no one by hand, and take long to reduce.
const handBits = 128;

// The printout that stage k starts from: as printed, or exact where the run has its values.
function before({ model: m, exactShown }, k) {
  const rows = m.stages[k - 1].rows;
  if (!exactShown || !(m.exact?.bits <= handBits)) return printoutBox(rows, t('practice.before', { k: k + 1 }), headers(t, m, k - 1));
  const exact = rows.map((row, r) => row.map((printed, c) => {
    const e = entry(m, k - 1, r, c);
    return e.state === 'exact' ? format(e.value) : printed;
  }));
  return printoutBox(exact, t('practice.beforeExact', { k: k + 1 }), headers(t, m, k - 1));
}

// Stage k as the learner works it: what it asks, the printout it starts from,
// the questions, Hint and Show (while it is the current one), the feedback line
// and the hint.
function article(state, k) {
  const { model: m, session } = state;
  const stage = m.stages[k];
  const s = session.stages[k];
  const a = el('article', 'practice-stage', undefined, { id: `practice-stage-${k + 1}` });
  a.append(el('h3', '', t('practice.stageHeading', { k: k + 1, count: m.stages.length, name: stageName(t, stage) }), { tabIndex: -1 }),
           el('p', 'ask', t('practice.ask.' + stage.id, { j: stage.column ?? '' })));
  if (s.questions.some((q) => isNonFinite(q.expected.printed ?? '')))
    a.append(el('p', 'ask', t('practice.ask.nonFinite')));
  a.append(before(state, k));
  const decided = s.questions.filter(isDecision);
  const filled = s.questions.filter((q) => !isDecision(q));
  if (decided.length > 0) a.append(decisions(s, k, decided));
  if (filled.length > 0) a.append(entries(m, s, k, filled));
  if (k === session.current && !session.finished) {
    const actions = el('div', 'practice-actions');
    if (s.hints < hintsAllowed(state.student, hintSteps))
      actions.append(el('button', 'hint-button', t('practice.hint', { step: s.hints + 1, steps: hintSteps }), { type: 'button' }));
    if (showAllowed(state.student)) actions.append(el('button', 'show-button', t('practice.show'), { type: 'button' }));
    for (const button of actions.children) button.dataset.k = k;
    a.append(actions);
  }
  const feedback = el('p', 'feedback', '', { id: `practice-feedback-${k}` });
  const told = session.told?.k === k ? question(session, k, session.told.key) : null;
  const hint = el('div', 'hint note-box', undefined, { hidden: s.hints === 0 });
  for (let step = 1; step <= s.hints; step++) hint.append(hintPart(m, k, step));
  a.append(feedback, hint);
  if (told && s.answers.has(told.key)) {
    feedback.textContent = message(m, k, told, s.answers.get(told.key));
    placeVerdict(feedback, a.querySelector(`[id="${idOf(k, told.key)}"]`));
  }
  return a;
}

// A record's sentence: the counts, the hints worded by their number.
const recordText = (id, record) =>
  t(id, { ...record, hints: t(record.hints === 1 ? 'practice.hints.one' : 'practice.hints.other', { count: record.hints }) });

// The summary of the exercise done, naming A singular where it is, and the
// stages left unasked once the learner said so.
function summaryText({ model: m, session }) {
  const singular = m.exact?.stop?.singular;
  const program = m.run.program === 'gjsolve' ? 'solve' : 'inverse';
  const left = unasked(m, session);
  return [recordText('practice.summary', tally(session)), ...(singular ? [t('practice.singular.' + program)] : []),
          ...(left ? [t(left.first < left.last ? 'practice.summary.unasked' : 'practice.summary.unaskedOne', left)] : [])].join(' ');
}

// The record kept of this exercise, and a button that clears it.
function record(text, summary) {
  const p = el('p', 'practice-record', text, { id: summary ? 'practice-summary' : '' });
  p.append(' ', el('button', 'clear-record', t('practice.clear'), { type: 'button' }));
  return p;
}

// The start-from chooser and the other settings, as the state has them.
function settings({ model: m, session, exactShown }) {
  const from = byId('practice-from');
  from.replaceChildren(...m.stages.slice(1).map((stage) => el('option', '', stageHeading(t, stage), { value: stage.k })));
  from.value = session.from;
  for (const radio of document.querySelectorAll('input[name="practice-fill"]')) radio.checked = radio.value === session.fill;
  byId('practice-exact').checked = exactShown;
}

// Draws the practice of the run shown anew.
function paint(state) {
  const { model: m, session } = state;
  drawnRun = m?.run ?? null;
  byId('practice-setup').hidden = session === null;
  byId('practice-unmet').hidden = !state.unmet;
  if (session === null) {
    body.replaceChildren(el('p', '', t(m && !isWaiting(m.run) ? 'practice.nothing' : 'practice.waiting')));
    return;
  }
  settings(state);
  const parts = [el('p', 'help', session.from === 1 ? t('practice.example.input') : t('practice.example', { k: session.from }))];
  if (state.past && !session.finished) parts.push(record(recordText('practice.past', state.past), false));
  for (let k = session.from; k <= session.current; k++) parts.push(article(state, k));
  if (session.finished) parts.push(record(summaryText(state), true));
  body.replaceChildren(...parts);
}

// Draws the same practice anew, as the language or the questions change: what
// is typed and not yet checked stays, and so does the focus.
function repaint(state) {
  const typed = [...body.querySelectorAll('input.answer:not([readonly])')].map((input) => [input.id, input.value]);
  const focused = document.activeElement?.id;
  paint(state);
  for (const [id, value] of typed) if (byId(id) && !byId(id).readOnly) byId(id).value = value;
  if (focused && body.contains(byId(focused))) byId(focused).focus({ preventScroll: true });
}

const hintBox = (k) => stageBox(k)?.querySelector('.hint');

// Focus on an answer field or button, scrolled wholly into view with its mark
// and as far as they fit the others given (the verdict line, the hint), above
// an on-screen keyboard: focus() leaves a field that is partly in view where
// it is in some engines.
function focusOn(element, ...others) {
  element.focus({ preventScroll: true });
  keepInView(element.closest('.answer-box, .decisions li') ?? element, ...others);
}

// Moves the focus to the first question of stage k not yet answered right, else to its heading.
function focusStage(session, k) {
  const q = openQuestions(session, k)[0];
  const target = q ? byId(idOf(k, q.key)) : stageBox(k)?.querySelector('h3');
  if (target) focusOn(target, byId(`practice-feedback-${k}`), hintBox(k));
}

// What the status line says of stage k and its first open question.
function naming({ model: m, session }, k) {
  const q = openQuestions(session, k)[0];
  return [t('practice.announce', { k: k + 1, name: stageName(t, m.stages[k]) }), ...(q ? [t('practice.question', { label: labelOf(t, q) })] : [])];
}

// The status line naming the current question, and the focus on it (after
// the status line, whose new words may move the page).
function tellCurrent(state) {
  if (!state.session || state.session.finished) return;
  say(() => naming(state, state.session.current));
  focusStage(state.session, state.session.current);
}

// The verdict on the answer just given, marked where it stands and said; then
// the next open question, or, after the last, the next stage once the verdict is painted.
function tellVerdict(state) {
  const { session } = state;
  const { k, key } = session.told;
  const s = session.stages[k];
  const q = question(session, k, key);
  const given = s.answers.get(key);
  const line = byId(`practice-feedback-${k}`);  // before its row may be drawn anew
  let target = byId(idOf(k, key));
  if (q.kind === 'invertible') {
    const item = choiceItem(s, k, q);
    target.closest('li').replaceWith(item);
    target = item.querySelector(`[data-choice="${given.choice}"]`);
  } else {
    mark(target, given);
    if (given.verdict.right && q.kind === 'r') target.closest('li').querySelector('.alone').disabled = true;
  }
  const sentence = () => message(state.model, k, q, given);
  line.textContent = sentence();
  placeVerdict(line, target);
  say(() => [sentence()]);
  if (!given.verdict.right) {
    if (q.kind !== 'invertible') target.select();
    return focusOn(target, line, hintBox(k));
  }
  const next = nextQuestion(session, k, key);
  if (next === null) return afterPaint(state.model.run, () => dispatch({ type: 'advance', k }));
  focusOn(byId(idOf(k, next.key)), line, hintBox(k));
}

// After stage k is done: the next stage, added below it, or the summary at the end.
function moveOn(state, k) {
  if (state.session.finished) {
    paint(state);
    byId('practice-summary').tabIndex = -1;
    byId('practice-summary').focus();
    say(() => [summaryText(state)]);
    return;
  }
  stageBox(k)?.querySelector('.practice-actions')?.remove();
  if (!stageBox(k + 1)) body.append(article(state, k + 1));
  say(() => [t('practice.done', { k: k + 1 }), ...naming(state, k + 1)]);
  focusStage(state.session, k + 1);
}

// The next step of stage k's hint; after the last, back to the question.
function tellHint({ model: m, session, student }, k) {
  const step = session.stages[k].hints;
  const a = stageBox(k);
  const box = a.querySelector('.hint');
  box.hidden = false;
  box.append(hintPart(m, k, step));
  say(() => [t('practice.hintShown', { k: k + 1, step }), ...hintStep(t, m, k, step)]);
  const button = a.querySelector('.hint-button');
  if (step < hintsAllowed(student, hintSteps)) button.textContent = t('practice.hint', { step: step + 1, steps: hintSteps });
  else {
    button.remove();
    focusStage(session, k);
  }
}

// The record cleared: the line that held it says so, and takes the focus.
function tellCleared() {
  const line = body.querySelector('.clear-record')?.parentElement;
  if (!line) return;
  line.textContent = t('practice.cleared');
  line.tabIndex = -1;
  line.focus();
  say(() => [t('practice.cleared')]);
}

// Whether the questions of the stage at hand are others than those drawn:
// the exact values came, and with them whether A is invertible.
function asksOtherwise({ session }) {
  const drawn = new Set([...(stageBox(session.current)?.querySelectorAll('[data-key]') ?? [])].map((e) => e.dataset.key));
  const keys = session.stages[session.current].questions.map((q) => q.key);
  return keys.length !== drawn.size || keys.some((key) => !drawn.has(key));
}

// Draws state's practice, as message (what the page was told) changed it from
// before; nothing while the learner watches.
export function render(state, message, before = state) {
  if (state.mode !== 'practice') return;
  const { session } = state;
  const changed = session !== before.session;
  switch (message.type) {
    case 'answer':
      if (!changed) return;
      // A singular A said: the stage's questions of inf and nan are gone from it.
      if (session.stages[message.k].questions !== before.session.stages[message.k].questions)
        stageBox(message.k).replaceWith(article(state, message.k));
      return tellVerdict(state);
    case 'advance': return changed && moveOn(state, message.k);
    case 'fillIn':
      if (!changed) return;
      stageBox(message.k).replaceWith(article(state, message.k));
      return moveOn(state, message.k);
    case 'hint': return changed && tellHint(state, message.k);
    case 'fill':
      repaint(state);
      return session && (session.finished || session.current !== before.session.current) && moveOn(state, before.session.current);
    case 'exactShown': return repaint(state);
    case 'clearRecord': return tellCleared();
    case 'restartPractice': if (!changed) return; break;
    case 'shown':
      if (drawnRun !== state.model.run) break;
      // The exact values have come: the questions take them, the answers stay.
      if (session && !session.finished && (state.exactShown || asksOtherwise(state))) repaint(state);
      return;
    case 'mode':
      paint(state);
      return message.focus && tellCurrent(state);
  }
  paint(state);
  tellCurrent(state);
}

// Draws the practice again in the language now chosen.
export function retell(state) {
  if (state.mode !== 'practice' || !state.model) return;
  repaint(state);
  tellCurrent(state);
}

// Sends what the learner does to the page: send(message).
export function connect(send) {
  dispatch = send;
}

byId('practice-from').addEventListener('change', (event) => dispatch({ type: 'from', from: Number(event.target.value) }));
byId('practice-fill').addEventListener('change', (event) => dispatch({ type: 'fill', fill: event.target.value }));
byId('practice-exact').addEventListener('change', (event) => dispatch({ type: 'exactShown', on: event.target.checked }));
byId('practice-restart').addEventListener('click', () => dispatch({ type: 'restartPractice' }));
body.addEventListener('keydown', (event) => {
  const input = event.target;
  if (event.key !== 'Enter' || !input.matches('input.answer')) return;
  event.preventDefault();
  if (input.readOnly || input.value.trim() === '') return;
  dispatch({ type: 'answer', k: Number(input.dataset.k), key: input.dataset.key, given: { text: input.value } });
});
watchFields(body, (k) => [byId(`practice-feedback-${k}`), hintBox(k)], (input) =>
  say(() => [t('practice.unchecked', { label: input.getAttribute('aria-label') ?? input.labels[0]?.textContent ?? '' })]));
body.addEventListener('click', (event) => {
  const button = event.target.closest('button');
  if (!button) return;
  const { key, choice } = button.dataset;
  const k = Number(button.dataset.k);
  if (button.matches('.check')) {
    const input = button.parentElement.firstChild;
    if (input.readOnly || input.value.trim() === '') input.focus();
    else dispatch({ type: 'answer', k: Number(input.dataset.k), key: input.dataset.key, given: { text: input.value } });
  } else if (button.matches('.alone')) dispatch({ type: 'answer', k, key, given: { alone: true } });
  else if (button.matches('.choice')) dispatch({ type: 'answer', k, key, given: { choice } });
  else if (button.matches('.hint-button')) dispatch({ type: 'hint', k });
  else if (button.matches('.show-button')) dispatch({ type: 'fillIn', k });
  else if (button.matches('.clear-record')) dispatch({ type: 'clearRecord' });
});
