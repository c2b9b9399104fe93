// The student's side of an assignment, drawn from the state's student
// (logic/assignments/work.js): what the assignment asks, the name form, "Not
// you?", the step that asks before the work starts over, and the hand-in with its
// result code, a copy button and, over http(s), its QR code. Also the choice
// that a link offers when this browser kept other work of the same exercise.
// What the student does is sent to the page as a message.
import { t } from '../language.js';
import { byId, el, copy } from '../dom.js';
import { emit } from '../events.js';
import { qrOf } from '../qr.js';

const section = byId('student');
const choice = byId('link-choice');
const end = byId('student-end');
let dispatch = () => {};
let drawn = null;  // the student drawn
const trouble = el('p', 'note-box student-lms', undefined, { role: 'alert', hidden: true });

const served = () => /^https?:$/.test(location.protocol);

// A button with the text of id that sends message.
const button = (id, message, className = '') => {
  const b = el('button', className, t(id), { type: 'button' });
  b.addEventListener('click', () => dispatch(message()));
  return b;
};

// What the assignment asks, as a description list.
function facts(a) {
  const list = el('dl', 'student-facts');
  const rows = [['student.asks', t('student.asksText', { k: a.from, fill: t('practice.fill.' + a.fill) })],
                ['assign.hints', t('assign.hints.' + a.hints)], ['student.show', t(a.show ? 'student.show.yes' : 'student.show.no')],
                ['teacher.due', a.due || t('teacher.none')]];
  list.append(...rows.flatMap(([id, value]) => [el('dt', '', t(id)), el('dd', '', value)]));
  return list;
}

// The form that asks a student's name.
function nameForm() {
  const form = el('form', 'student-name');
  const input = el('input', '', undefined, { id: 'student-name', autocomplete: 'name', maxLength: 100, required: true });
  const p = el('p');
  p.append(el('label', '', t('student.name'), { htmlFor: 'student-name' }), ' ', input, ' ',
           el('button', '', t('student.start'), { type: 'submit' }));
  form.append(p);
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    if (input.value.trim() !== '') dispatch({ type: 'studentName', name: input.value });
  });
  return form;
}

// The code handed in: read-only, with a copy button and, over http(s), a QR
// code; inside an LMS (lms), which has the work already, for the teacher who asks.
function handedIn(code, lms) {
  const box = el('div', 'student-code');
  const field = el('input', '', undefined, { id: 'student-code', readOnly: true, value: code, spellcheck: false });
  const p = el('p');
  const copier = el('button', 'copy-code', t('student.copy'), { type: 'button' });
  copier.addEventListener('click', () => copy(code, 'student.copied'));
  p.append(el('label', '', t('student.code'), { htmlFor: 'student-code' }), ' ', field, ' ', copier);
  box.append(el('p', 'help', t(lms ? 'student.lmsHandedIn' : 'student.handedIn')), p);
  const qr = served() ? qrOf(code, t('student.qr')) : null;
  if (qr) box.append(qr);
  return box;
}

// The parts below the facts, as the student stands.
function work(st) {
  if (st.name === null) return [nameForm()];
  const who = el('p', 'student-who', t(st.lms ? 'lms.connected' : 'student.as', { name: st.name }));
  if (!st.named) who.append(' ', button('student.notYou', () => ({ type: 'notYou' }), 'not-you'));
  const parts = [who];
  if (st.confirm) {
    const ask = el('div', 'note-box student-confirm', undefined, { role: 'group' });
    ask.append(el('p', '', t('student.confirm')), button('student.confirmYes', () => ({ type: 'restartPractice', confirmed: true }), 'confirm-restart'),
               ' ', button('student.confirmNo', () => ({ type: 'keepWork' }), 'keep-work'));
    parts.push(ask);
  }
  if (st.handed !== null) parts.push(handedIn(st.handed, st.lms));
  else parts.push(el('p', 'help', t(st.lms ? 'student.lmsLocked' : 'student.locked')), button('student.handIn', () => ({ type: 'handIn', now: Date.now() }), 'hand-in'));
  trouble.textContent = t('lms.commitFailed');
  parts.push(trouble);
  return parts;
}

// Draws the student's assignment (st, or null: none), the hand-in below the
// practice once it is finished, and the choice of a link over work kept
// (conflict: { from, fill } or null). Where the step changed (the name asked
// or given, a confirm, the code), the focus goes there.
export function render(st, conflict, finished = false) {
  drawChoice(conflict);
  end.hidden = !(finished && st?.name && st.handed === null);
  end.replaceChildren(...(end.hidden ? [] : [el('p', '', t(st.lms ? 'student.lmsFinished' : 'student.finished')), button('student.handIn', () => ({ type: 'handIn', now: Date.now() }), 'hand-in')]));
  section.hidden = st === null;
  const before = drawn;
  drawn = st;
  if (st === null) return section.replaceChildren();
  const typed = byId('student-name')?.value ?? '';
  section.replaceChildren(el('h2', '', st.assignment.title || t('student.heading'), { id: 'student-heading', tabIndex: -1 }), facts(st.assignment), ...work(st));
  const focus = st.name === null ? byId('student-name')
    : st.confirm && !before?.confirm ? section.querySelector('.confirm-restart')
    : st.handed !== null && before?.handed === null ? byId('student-code') : null;
  if (byId('student-name')) byId('student-name').value = typed;
  if (focus) focus.focus();
  if (st.handed !== null && before?.handed === null) emit('announce', () => [t(st.lms ? 'student.lmsHandedIn' : 'student.handedIn')]);
}

// Says, while it holds, that the LMS did not take the work last told (ok false).
export function tellLms(ok) {
  trouble.hidden = ok;
}

// The choice between the work this browser kept and what the link asks.
// The status line says it when it first shows.
function drawChoice(conflict) {
  const wasHidden = choice.hidden;
  choice.hidden = conflict === null;
  if (conflict === null) return choice.replaceChildren();
  const sentence = () => t('choice.text', { k: conflict.from + 1, fill: t('practice.fill.' + conflict.fill) });
  choice.replaceChildren(el('p', '', sentence()), button('choice.keep', () => ({ type: 'keepSaved' })), ' ',
                         button('choice.take', () => ({ type: 'takeLink' })));
  if (wasHidden) emit('announce', () => [sentence()]);
}

// Sends what the student does to the page: send(message).
export function connect(send) {
  dispatch = send;
}
