// The student's side of an assignment, drawn from the state's student
// (logic/assignments/work.js): what the assignment asks, the name form, "Not
// you?", the step that asks before the work starts over, the hand-in that asks
// first (or says there is nothing to hand in) with its result code, a copy
// button and, over http(s), its QR code; a word when the work went further in
// another tab, or when the browser refuses to keep it; inside an LMS, a word
// while the LMS refuses the work, when the work it kept could not be read
// whole, or when it was begun under another name than the LMS gives now,
// and the way back to the course when it started no session or ended it. Also the choice that a link offers when
// this browser kept other work of the same exercise. What the student does is
// sent to the page as a message.
import { t } from '../language.js';
import { byId, el, button, served } from '../dom.js';
import { qrOf } from '../qr.js';
import { displayName, askedWords, isolated, blank } from '../../logic/assignments/assignment.js';
import { mayHandIn } from '../../logic/assignments/permissions.js';
import { problemStates, notDone } from '../../logic/assignments/set-work.js';

const section = byId('student');
const choice = byId('link-choice');
const end = byId('student-end');

const handIn = () => button('student.handIn', () => ({ type: 'handIn', now: Date.now() }), 'hand-in');

// What the assignment asks, as a description list.
function facts(a) {
  const list = el('dl', 'student-facts');
  const rows = [...askedWords(t, a, 'student'), [t('teacher.due'), a.due || t('teacher.none')]];
  list.append(...rows.flatMap(([label, value]) => [el('dt', '', label), el('dd', '', value)]));
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
  return form;
}

// The words inside an LMS (lms, the state's) for what is said elsewhere as
// id: the LMS's own where it took the work last told, else those that say it has not.
const lmsWords = (lms, id) => (lms?.taken === true ? id : id + 'Untaken');

// The code handed in: read-only, with a copy button and, over http(s), a QR
// code; inside an LMS (lms), for the teacher who asks. A set's hand-in in a
// code a problem (one a line) is in a box that holds them all, copied together.
function handedIn(code, lms) {
  const box = el('div', 'student-code');
  const count = code.split('\n').length;
  const field = count > 1 ? el('textarea', '', undefined, { id: 'student-code', readOnly: true, value: code, spellcheck: false, rows: count })
    : el('input', '', undefined, { id: 'student-code', readOnly: true, value: code, spellcheck: false });
  const p = el('p');
  p.append(el('label', '', t('student.code'), { htmlFor: 'student-code' }), ' ', field, ' ',
           button('student.copy', () => ({ type: 'copy', content: code, done: 'student.copied' }), 'copy-code'));
  box.append(el('p', 'help', t(lms ? lmsWords(lms, 'student.lmsHandedIn') : 'student.handedIn')), p);
  if (count > 1) box.append(el('p', 'help', t('student.set.codes', { count })));
  const qr = served() && count === 1 ? qrOf(code, t('student.qr')) : null;
  if (qr) box.append(qr);
  return box;
}

// The question before a hand-in (asking: { asked, left }), or the word that
// there is nothing to hand in yet ({ empty: true }).
function asked(asking) {
  if (asking.empty) return el('p', 'note-box student-empty', t('student.handInEmpty'));
  const ask = el('div', 'note-box student-ask', undefined, { role: 'group' });
  const yes = button('student.handInYes', () => ({ type: 'handIn', now: Date.now(), confirmed: true }), 'hand-in-yes');
  yes.id = 'hand-in-yes';
  const left = asking.problems ? t('student.set.handInAsk', { ...asking, problems: asking.problems.join(', ') })
    : t(asking.own ? 'student.handInAskOwn' : 'student.handInAsk', asking);
  const done = asking.problems ? 'student.set.handInAskDone' : asking.own ? 'student.handInAskOwnDone' : 'student.handInAskDone';
  ask.append(el('p', '', asking.left > 0 ? left : t(done)), yes, ' ',
             button('student.handInNo', () => ({ type: 'keepWork' }), 'hand-in-no'));
  return ask;
}

// A set's problems, each a button that moves to it (the one open marked),
// with its state and points; done, whether the problem open is finished.
function problemList(st, done) {
  const list = el('ol', 'student-problems');
  list.append(...problemStates(st, { result: st.result }, done).map(({ state, points }, k) => {
    const item = el('li');
    const open = button('student.set.problem', () => ({ type: 'problemOpened', at: k, now: Date.now() }), 'problem-open', { k: k + 1 });
    open.id = `problem-${k + 1}`;
    if (k === st.at) open.setAttribute('aria-current', 'step');
    item.append(open, ' ', el('span', 'problem-state state-' + state, t('student.set.' + state, { points })));
    return item;
  }));
  return [el('h3', '', t('student.set.heading')), el('p', 'help', t('student.set.help')), list];
}

// The parts below the facts, as the student stands.
function work(st, lms, done) {
  if (st.lms && lms?.outcome !== 'connected') return [el('p', 'note-box student-reopen', t('lms.reopen'), { role: 'alert' })];
  if (st.name === null) return [nameForm()];
  // Each name isolated: one with a direction of its own (or a control that
  // reverses what follows, as an LMS may give one) turns none of the sentence.
  const who = el('p', 'student-who', t(st.lms ? 'lms.connected' : 'student.as', { name: isolated(st.lms ? displayName(st.name) : st.name) }));
  if (!st.named) who.append(' ', button('student.notYou', () => ({ type: 'notYou' }), 'not-you'));
  const parts = [who, ...(st.set ? problemList(st, done) : [])];
  if (st.given !== null) parts.push(el('p', 'note-box student-given', t(st.lms ? 'student.nameKept' : 'student.nameKeptList', { name: isolated(st.name), given: isolated(displayName(st.given)) })));
  if (st.lms && lms.unread) parts.push(el('p', 'note-box student-unread', t(lms.unread === 'all' ? 'student.lmsUnreadAll' : 'student.lmsUnreadPart')));
  if (st.confirm) {
    const ask = el('div', 'note-box student-confirm', undefined, { role: 'group' });
    const yes = button('student.confirmYes', () => ({ type: 'restartPractice', confirmed: true, now: Date.now() }), 'confirm-restart');
    yes.id = 'student-confirm';
    ask.append(el('p', '', t('student.confirm')), yes, ' ', button('student.confirmNo', () => ({ type: 'keepWork' }), 'keep-work'));
    parts.push(ask);
  }
  if (st.elsewhere) parts.push(el('p', 'note-box student-elsewhere', t('student.elsewhere')));
  if (st.unsaved) parts.push(el('p', 'note-box student-unsaved', t('student.unsaved'), { role: 'alert' }));
  if (st.handed !== null) parts.push(handedIn(st.handed, st.lms ? lms : null));
  else parts.push(el('p', 'help', t(st.lms ? 'student.lmsLocked' : st.assignment.mode === 'own' ? 'student.lockedOwn' : 'student.locked')), ...(mayHandIn(st, lms) ? [handIn(), ...(st.asking ? [asked(st.asking)] : [])] : []));
  parts.push(el('p', 'note-box student-lms', t('lms.commitFailed'), { role: 'alert', hidden: lms?.taken !== false }));
  return parts;
}

// Draws the slice: the student's assignment (student, or null: none), the
// hand-in below the practice once it is finished, what the LMS answered
// (lms, the state's), and the choice of a link over work kept (conflict: {
// from, fill } or null). What is typed in the name field stays.
export function render({ student: st, conflict, finished, lms }) {
  drawChoice(conflict);
  end.hidden = !(finished && mayHandIn(st, lms));
  const left = st?.set ? notDone(problemStates(st, { result: st.result }, finished)).length : 0;
  const finishedWords = st?.set ? (left > 0 ? 'student.set.finished' : 'student.set.finishedAll') : st?.assignment.mode === 'own' ? 'student.finishedOwn' : 'student.finished';
  end.replaceChildren(...(end.hidden ? [] : [el('p', '', t(st.lms && !st.set ? lmsWords(lms, 'student.lmsFinished') : finishedWords, { left })), handIn()]));
  section.hidden = st === null;
  if (st === null) return section.replaceChildren();
  const typed = byId('student-name')?.value ?? '';
  const focused = document.activeElement?.id === 'student-name';
  section.replaceChildren(el('h2', '', st.assignment.title || t('student.heading'), { id: 'student-heading', tabIndex: -1 }), facts(st.assignment), ...work(st, lms, finished));
  if (byId('student-name')) byId('student-name').value = typed;
  if (focused) byId('student-name')?.focus();
}

// The choice between the work this browser kept and what the link asks.
function drawChoice(conflict) {
  choice.hidden = conflict === null;
  if (conflict === null) return choice.replaceChildren();
  choice.replaceChildren(el('p', '', t('choice.text', { k: conflict.from + 1, fill: t('practice.fill.' + conflict.fill) })),
                         button('choice.keep', () => ({ type: 'keepSaved' })), ' ', button('choice.take', () => ({ type: 'takeLink' })));
}

// Sends the name typed to the page.
export function connect(dispatch) {
  section.addEventListener('submit', (event) => {
    if (!event.target.matches('.student-name')) return;
    event.preventDefault();
    const input = byId('student-name');
    if (!blank(input.value)) dispatch({ type: 'studentName', name: input.value });
  });
}
