// Practice's view: the stages that the learner carries out, drawn from the
// state's session (session.js holds its steps, check.js its questions and
// verdicts, sayings.js its words): the fields and buttons of each stage's
// questions, the marks of the answers, the hint's steps, the summary. Each
// render draws what changed since the slice drawn before: an answer's mark
// and verdict in place, a hint's next step, the next stage below the last;
// the whole practice anew where more changed. What the learner does is sent
// to the page as a message; where the focus goes the state asks (focus()).
// The stages before the one to start from are a worked example in the pane,
// which shows each later printout once its stage is done.
import { t } from '../language.js';
import { byId, el, operationList, printoutBox } from '../dom.js';
import { idOf, mark, choiceItem, decisions, entries } from './answer-fields.js';
import { keepInView, placeVerdict, watchFields } from './keyboard.js';
import { stageName, stageHeading } from '../../logic/run/words.js';
import { isDecision } from '../../logic/practice/check.js';
import { entry, isNonFinite, isWaiting } from '../../logic/run/model.js';
import { format } from '../../logic/run/exact.js';
import { headers } from '../../logic/run/copies.js';
import { hintSteps, hintStep, openQuestions } from '../../logic/practice/session.js';
import { verdict, summary, assignmentSummary, record } from '../../logic/practice/sayings.js';

const body = byId('practice-body');
const intro = document.querySelector('#practice [data-text="practice.intro"]');
// The slice drawn: { mode, model, session, past, exactShown, unmet, hints,
// show, records, language, student } (page/draw.js; records false on an
// assignment's page; student: the student whose assignment's run is done,
// whose summary it gives, or null), or null before the first.
let drawn = null;

const stageBox = (k) => byId(`practice-stage-${k + 1}`);
const hintBox = (k) => stageBox(k)?.querySelector('.hint');

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
// the questions, Hint and Show (while it is the current one, as far as they
// are allowed), the feedback line and the hint.
function article(slice, k) {
  const { model: m, session } = slice;
  const stage = m.stages[k];
  const s = session.stages[k];
  const a = el('article', 'practice-stage', undefined, { id: `practice-stage-${k + 1}` });
  a.append(el('h3', '', t('practice.stageHeading', { k: k + 1, count: m.stages.length, name: stageName(t, stage) }), { tabIndex: -1 }),
           el('p', 'ask', t('practice.ask.' + stage.id, { j: stage.column ?? '' })));
  if (s.questions.some((q) => isNonFinite(q.expected.printed ?? '')))
    a.append(el('p', 'ask', t('practice.ask.nonFinite')));
  a.append(before(slice, k));
  const decided = s.questions.filter(isDecision);
  const filled = s.questions.filter((q) => !isDecision(q));
  if (decided.length > 0) a.append(decisions(s, k, decided));
  if (filled.length > 0) a.append(entries(m, s, k, filled));
  if (k === session.current && !session.finished) {
    const actions = el('div', 'practice-actions');
    if (s.hints < slice.hints) actions.append(el('button', 'hint-button', t('practice.hint', { step: s.hints + 1, steps: slice.hints }), { type: 'button' }));
    else if (slice.hints < hintSteps && slice.hints > 0) actions.append(hintsSpent());
    if (slice.show) actions.append(el('button', 'show-button', t('practice.show'), { type: 'button' }));
    for (const button of actions.children) button.dataset.k = k;
    a.append(actions);
  }
  const feedback = el('p', 'feedback', '', { id: `practice-feedback-${k}` });
  const told = session.told?.k === k ? s.questions.find((q) => q.key === session.told.key) : null;
  const hint = el('div', 'hint note-box', undefined, { hidden: s.hints === 0 });
  for (let step = 1; step <= s.hints; step++) hint.append(hintPart(m, k, step));
  a.append(feedback, hint);
  if (told && s.answers.has(told.key)) {
    feedback.textContent = verdict(t, m, k, told, s.answers.get(told.key));
    placeVerdict(feedback, a.querySelector(`[id="${idOf(k, told.key)}"]`));
  }
  return a;
}

// A record's line (the summary's, with its id), and, where records are kept, a button that clears it.
function recordLine(text, isSummary, records) {
  const p = el('p', 'practice-record', text, { id: isSummary ? 'practice-summary' : '' });
  if (records) p.append(' ', el('button', 'clear-record', t('practice.clear'), { type: 'button' }));
  return p;
}

// The start-from chooser and the other settings, as the slice has them.
function settings({ model: m, session, exactShown }) {
  const from = byId('practice-from');
  from.replaceChildren(...m.stages.slice(1).map((stage) => el('option', '', stageHeading(t, stage), { value: stage.k })));
  from.value = session.from;
  for (const radio of document.querySelectorAll('input[name="practice-fill"]')) radio.checked = radio.value === session.fill;
  byId('practice-exact').checked = exactShown;
}

// Draws the practice of the slice anew.
function paint(slice) {
  const { model: m, session } = slice;
  byId('practice-setup').hidden = session === null;
  byId('practice-unmet').hidden = !slice.unmet;
  if (session === null) {
    const waiting = slice.records ? 'practice.waiting' : 'practice.waitingAssignment';
    body.replaceChildren(el('p', '', t(m && !isWaiting(m.run) ? 'practice.nothing' : waiting)));
    return;
  }
  settings(slice);
  const parts = [el('p', 'help', session.from === 1 ? t('practice.example.input') : t('practice.example', { k: session.from }))];
  if (slice.past && !session.finished) parts.push(recordLine(record(t, 'practice.past', slice.past), false, slice.records));
  for (let k = session.from; k <= session.current; k++) parts.push(article(slice, k));
  const said = slice.student ? assignmentSummary(t, slice.student.assignment, m, slice.student.result) : summary(t, m, session);
  if (session.finished) parts.push(recordLine(said, true, slice.records));
  body.replaceChildren(...parts);
}

// Runs draw() over the fields of scope, keeping what is typed in them and not
// yet checked, and the focus.
function keepingTyped(scope, draw) {
  const typed = [...scope.querySelectorAll('input.answer:not([readonly])')].map((input) => [input.id, input.value]);
  const focused = document.activeElement?.id;
  draw();
  for (const [id, value] of typed) if (byId(id) && !byId(id).readOnly) byId(id).value = value;
  if (focused && body.contains(byId(focused))) byId(focused).focus({ preventScroll: true });
}

const repaint = (slice) => keepingTyped(body, () => paint(slice));

// The verdict on the answer to question q of stage k, marked where it stands;
// the sentence, for the answer the session told of, in the stage's feedback line.
function drawAnswer({ model: m, session }, k, q) {
  const s = session.stages[k];
  const given = s.answers.get(q.key);
  const line = byId(`practice-feedback-${k}`);  // before its row may be drawn anew
  let target = byId(idOf(k, q.key));
  if (!target || !given) return;
  if (q.kind === 'invertible') {
    const item = choiceItem(s, k, q);
    target.closest('li').replaceWith(item);
    target = item.querySelector(`[data-choice="${given.choice}"]`);
  } else {
    mark(target, given);
    if (given.verdict.right && q.kind === 'r') target.closest('li').querySelector('.alone').disabled = true;
  }
  if (session.told?.k !== k || session.told.key !== q.key) return;
  line.textContent = verdict(t, m, k, q, given);
  placeVerdict(line, target);
}

// Step of stage k's hint, added; the button names the next step, or goes after the last allowed.
function drawHint({ model: m, hints }, k, step) {
  const box = hintBox(k);
  box.hidden = false;
  box.append(hintPart(m, k, step));
  const button = stageBox(k).querySelector('.hint-button');
  if (!button) return;
  if (step < hints) button.textContent = t('practice.hint', { step: step + 1, steps: hints });
  else if (hints < hintSteps) button.replaceWith(hintsSpent());
  else button.remove();
}

// The word in place of the hint button once the steps that an assignment allows are used.
const hintsSpent = () => el('span', 'hints-spent', t('practice.hintsSpent'));

const keysOf = (questions) => questions.map((q) => q.key).join('\n');

// Stage k as the session's stage changed from was to now: its answers and hint
// in place, or the stage anew where its questions changed or Show filled it in.
function drawStage(slice, k, was, now) {
  const box = stageBox(k);
  if (!box) return;
  if (!was || now.shown !== was.shown || keysOf(now.questions) !== keysOf(was.questions))
    return keepingTyped(box, () => box.replaceWith(article(slice, k)));
  for (const q of now.questions) if (now.answers.get(q.key) !== was.answers.get(q.key)) drawAnswer(slice, k, q);
  for (let step = was.hints + 1; step <= now.hints; step++) drawHint(slice, k, step);
}

// Whether b starts a's practice over: a stage with fewer answers or hints than it had.
const restarted = (a, b) => b.stages.some((s, k) => s && a.stages[k] && (s.answers.size < a.stages[k].answers.size || s.hints < a.stages[k].hints));

// The session drawn (a) as it is now (slice.session): the stages that
// changed, and those that came after them; anew where it started over, another
// start or other entries, or its end.
function drawSession(a, slice) {
  const b = slice.session;
  if (!a || !b || a.run !== b.run || a.from !== b.from || b.current < a.current || restarted(a, b) || (b.finished && !a.finished)) return paint(slice);
  if (a.fill !== b.fill) return repaint(slice);
  for (let k = b.from; k <= a.current; k++) if (b.stages[k] !== a.stages[k]) drawStage(slice, k, a.stages[k], b.stages[k]);
  if (b.current === a.current) return;
  stageBox(a.current)?.querySelector('.practice-actions')?.remove();
  for (let k = a.current + 1; k <= b.current; k++) body.append(article(slice, k));
}

// Whether the questions of the stage at hand are others than those drawn:
// the exact values came, and with them whether A is invertible.
function asksOtherwise({ session }) {
  const shown = new Set([...(stageBox(session.current)?.querySelectorAll('[data-key]') ?? [])].map((e) => e.dataset.key));
  const keys = session.stages[session.current].questions.map((q) => q.key);
  return keys.length !== shown.size || keys.some((key) => !shown.has(key));
}

// The record cleared: the line that held it says so.
function drawCleared() {
  const line = body.querySelector('.clear-record')?.parentElement;
  if (!line) return;
  line.textContent = t('practice.cleared');
  line.tabIndex = -1;
  line.dataset.cleared = '';
}

// What the slice settles anew: the whole practice, or, over the same run and settings, nothing.
const settledAnew = (last, slice) => ['language', 'exactShown', 'unmet', 'hints', 'show', 'records'].some((key) => slice[key] !== last[key]);

// Draws the practice of the slice, from what changed since the slice drawn
// before; nothing while the learner watches.
export function render(slice) {
  const last = drawn;
  drawn = slice;
  // An assignment's page has its matrix already: nothing to type, no exercise to make.
  intro.dataset.text = slice.records ? 'practice.intro' : 'practice.introAssignment';
  intro.textContent = t(intro.dataset.text);
  if (slice.mode !== 'practice' || !slice.model) return;
  if (!last || last.mode !== 'practice' || !last.model || last.model.run !== slice.model.run) return paint(slice);
  if (settledAnew(last, slice)) return repaint(slice);
  const { session } = slice;
  // The exact values have come: the questions take them, the answers stay.
  // Else what the session did since the slice drawn is drawn, even where the
  // exact values came with it (an answer given before their frame).
  if (slice.model !== last.model && session && !session.finished && (slice.exactShown || asksOtherwise(slice))) repaint(slice);
  else if (session !== last.session) drawSession(last.session, slice);
  if (slice.past === null && last.past !== null && session === last.session) drawCleared();
}

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

// Moves the focus to target, as the state asks: a question ({ question: [k,
// key] }, on the choice given, its text selected where asked), a stage ({ stage:
// k }, its first open question), the summary, or the line of a record cleared.
export function focus(target) {
  if (target.question) {
    const [k, key] = target.question;
    let element = byId(idOf(k, key));
    if (target.choice) element = element?.closest('li')?.querySelector(`[data-choice="${target.choice}"]`) ?? element;
    if (!element) return;
    if (target.select) element.select();
    focusOn(element, byId(`practice-feedback-${k}`), hintBox(k));
  } else if (target.stage !== undefined) {
    if (drawn?.session) focusStage(drawn.session, target.stage);
  } else {
    const line = target.summary ? byId('practice-summary') : body.querySelector('[data-cleared]');
    if (!line) return;
    line.tabIndex = -1;
    line.focus();
  }
}

// An answer field's Enter, or its check button: the answer sent, unless there is none.
function answerOf(input) {
  if (input.readOnly || input.value.trim() === '') return null;
  return { type: 'answer', k: Number(input.dataset.k), key: input.dataset.key, given: { text: input.value }, now: Date.now() };
}

// Sends what the learner does to the page, a step of practice with its time (now).
export function connect(dispatch) {
  byId('practice-from').addEventListener('change', (event) => dispatch({ type: 'from', from: Number(event.target.value) }));
  byId('practice-fill').addEventListener('change', (event) => dispatch({ type: 'fill', fill: event.target.value }));
  byId('practice-exact').addEventListener('change', (event) => dispatch({ type: 'exactShown', on: event.target.checked }));
  byId('practice-restart').addEventListener('click', () => dispatch({ type: 'restartPractice', now: Date.now() }));
  body.addEventListener('keydown', (event) => {
    if (event.key !== 'Enter' || !event.target.matches('input.answer')) return;
    event.preventDefault();
    const answer = answerOf(event.target);
    if (answer) dispatch(answer);
  });
  // An answer field's text as last checked: its answer in the session drawn.
  const checked = (input) => drawn?.session?.stages[input.dataset.k]?.answers.get(input.dataset.key)?.text ?? '';
  watchFields(body, (k) => [byId(`practice-feedback-${k}`), hintBox(k)], checked,
              (input) => dispatch({ type: 'unchecked', k: Number(input.dataset.k), key: input.dataset.key }));
  body.addEventListener('click', (event) => {
    const button = event.target.closest('button');
    if (!button) return;
    const { key, choice } = button.dataset;
    const [k, now] = [Number(button.dataset.k), Date.now()];
    if (button.matches('.check')) {
      const input = button.parentElement.firstChild;
      const answer = answerOf(input);
      if (answer) dispatch(answer);
      else input.focus();
    } else if (button.matches('.alone')) dispatch({ type: 'answer', k, key, given: { alone: true }, now });
    else if (button.matches('.choice')) dispatch({ type: 'answer', k, key, given: { choice }, now });
    else if (button.matches('.hint-button')) dispatch({ type: 'hint', k, now });
    else if (button.matches('.show-button')) dispatch({ type: 'fillIn', k, now });
    else if (button.matches('.clear-record')) dispatch({ type: 'clearRecord' });
  });
}
