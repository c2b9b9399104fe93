// The form that makes an assignment for a class, in practice: what it asks
// (the program, order and options; the stages of the method, from a first
// one, with the entries asked, the hints allowed and whether Show may be used,
// or the student's own row operations, with who works each out, whether the
// method's next operation may be asked and a changed row seen; a matrix per
// student or one for the class), its title, due date and class list, sent
// with a seed drawn for it and the bytes of its secret ('assignmentMade'), so
// that two assignments made alike still differ; the question the state asks
// first (a name given twice, a due date past); and, once the state has made
// it, the links that it gives: the students' (class-links.js) and the
// teacher's. "From" offers the named stages of the program and order chosen.
// The problem that the form asks (drawn from the generator, or each of the
// teacher's matrices typed) may be added to a set instead (set-draft.js
// draws it), whose problems the links then carry.
// Its package for an LMS is lms-download.js's.
import { t } from '../language.js';
import { byId, el, today } from '../dom.js';
import { randomWord, randomBytes } from '../seed.js';
import { drawStudentLinks, base } from './class-links.js';
import { teacherFragment, fromChoices, maxTitle, maxName, maxNames } from '../../logic/assignments/assignment.js';
import { defaultProgram, firstAsked } from '../../logic/run/share.js';
import { stageName } from '../../logic/run/words.js';

const form = byId('assignment-form');
const madeBox = byId('assignment-made');
const teacherLink = byId('assignment-teacher');
const problem = byId('assignment-problem');
const question = byId('assignment-question');
const fromField = byId('assign-from');
let drawnChoices = '';   // the program, order and language whose stages "From" offers

const value = (id) => byId(id).value;
const checked = (name) => [...form.querySelectorAll(`input[name="${name}"]:checked`)].map((box) => box.value);

const own = () => checked('assign-mode')[0] === 'own';

// What the form asks, as typed: the class list as text, the first stage as
// the field holds it; for the student's own operations, the hint and the row
// seen as their own fields hold them.
const given = () => ({
  program: value('assign-program'), order: Number(value('assign-order')), options: checked('assign-option'), from: value('assign-from'),
  fill: checked('assign-fill')[0], mode: own() ? 'own' : 'stages', arithmetic: checked('assign-arithmetic')[0],
  hints: own() ? 3 * Number(byId('assign-own-hints').checked) : Number(value('assign-hints')), show: byId(own() ? 'assign-own-show' : 'assign-show').checked,
  perStudent: checked('assign-matrix')[0] === 'student', title: value('assign-title').trim(), due: value('assign-due'), names: value('assign-names'),
  source: checked('assign-source')[0], kind: value('assign-kind'), text: value('assign-typed'),
});

// The fields of what is asked shown: the stages' (the first, the entries,
// the hints per stage, Show) or the student's own operations' (the
// arithmetic, the hint, a changed row seen, which only a student who writes
// the rows may be allowed).
function drawMode() {
  const given = checked('assign-source')[0] === 'given';
  byId('assign-given').hidden = !given;
  byId('assign-drawn').hidden = given;
  byId('assign-stages').hidden = own();
  byId('assign-own').hidden = !own();
  byId('assign-own-show').disabled = checked('assign-arithmetic')[0] !== 'learner';
}

// "From"'s choices: the named stages of the program and order chosen, the
// one chosen kept where the run has it, else the first asked.
function drawFrom(language) {
  const [program, order] = [value('assign-program'), Number(value('assign-order'))];
  const drawing = `${program} ${order} ${language}`;
  if (drawing === drawnChoices) return;
  drawnChoices = drawing;
  const chosen = Number(fromField.value) || firstAsked;
  fromField.replaceChildren(...fromChoices(program, order).map(({ from, stage }) =>
    el('option', '', t('assign.fromStage', { k: from, name: stageName(t, { ...stage, k: from - 1 }) }), { value: String(from) })));
  fromField.value = String(fromField.querySelector(`option[value="${chosen}"]`) ? chosen : firstAsked);
}

// The question asked before the links are made: the names given twice, the due date past.
function drawQuestion(made) {
  question.hidden = !made?.question;
  if (!made?.question) return;
  const { repeats, past } = made.question;
  byId('assignment-question-text').textContent = [repeats.length > 0 ? t('assign.repeats', { names: repeats.join(', ') }) : '',
    past ? t('assign.past', { due: made.pending.due }) : ''].filter(Boolean).join(' ');
}

// Draws the slice ({ program, made, touched, language }): the program of the
// run shown as the form's choice until the teacher changed the form
// (touched), and the assignment made
// (made: { assignment }, { invalid: true }, { question, pending }, or null):
// its links, or why there are none, or what is asked first.
export function render({ program, made, touched, language }) {
  if (program && !touched) byId('assign-program').value = program;
  drawFrom(language);
  madeBox.hidden = !made?.assignment;
  problem.hidden = !made?.invalid;
  problem.textContent = made?.invalid ? t('assign.invalid', { title: maxTitle, name: maxName, names: maxNames }) : '';
  drawQuestion(made);
  if (!made?.assignment) return;
  const link = base() + teacherFragment(made.assignment);
  drawStudentLinks(byId('assignment-students'), made.assignment);
  teacherLink.href = link;
  teacherLink.textContent = link;
}

// Sends the form's assignment to the page.
export function connect(dispatch) {
  form.addEventListener('change', (event) => {
    dispatch({ type: 'assignmentTouched' });
    if (event.target.id === 'assign-program' || event.target.id === 'assign-order') drawFrom(drawnChoices.split(' ')[2]);
    drawMode();
  });
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    dispatch({ type: 'assignmentMade', given: given(), seed: randomWord(), secret: randomBytes(16), today: today() });
  });
  byId('assignment-confirm').addEventListener('click', () => dispatch({ type: 'assignmentConfirmed' }));
  // The problem the form asks, or each matrix typed, added to the set being made; its seed drawn with the first.
  byId('assign-add').addEventListener('click', () => dispatch({ type: 'problemAdded', given: given(), seed: randomWord() }));
  byId('assignment-copy-teacher').addEventListener('click', () => dispatch({ type: 'copy', content: teacherLink.href, done: 'status.linkCopied' }));
}

byId('assign-program').value = defaultProgram;
drawMode();
