// The form that makes an assignment for a class, in practice: what it asks
// (the program, order and options, the first stage and the entries asked, the
// hints allowed, whether Show may be used, a matrix per student or one for the
// class), its title, due date and class list, sent with a seed drawn for it
// ('assignmentMade'), so that two assignments made alike still differ; and,
// once the state has made it, the links that it gives: the students'
// (class-links.js) and the teacher's. Its package for an LMS is lms-download.js's.
import { t } from '../language.js';
import { byId } from '../dom.js';
import { randomWord } from '../seed.js';
import { drawStudentLinks, base } from './class-links.js';
import { teacherFragment, maxTitle, maxName, maxNames } from '../../logic/assignments/assignment.js';
import { defaultProgram } from '../../logic/share.js';

const form = byId('assignment-form');
const madeBox = byId('assignment-made');
const teacherLink = byId('assignment-teacher');
const problem = byId('assignment-problem');

const value = (id) => byId(id).value;
const checked = (name) => [...form.querySelectorAll(`input[name="${name}"]:checked`)].map((box) => box.value);

// What the form asks, as typed: the class list as text, the first stage as the field holds it.
const given = () => ({
  program: value('assign-program'), order: Number(value('assign-order')), options: checked('assign-option'), from: value('assign-from'),
  fill: checked('assign-fill')[0], hints: Number(value('assign-hints')), show: byId('assign-show').checked,
  perStudent: checked('assign-matrix')[0] === 'student', title: value('assign-title').trim(), due: value('assign-due'), names: value('assign-names'),
});

// Draws the slice ({ program, made, language }): the program of the run shown
// as the form's choice until the teacher picks one, and the assignment made
// (made: { assignment } or { invalid: true }, or null): its links, or why
// there are none.
export function render({ program, made }) {
  if (program && !form.dataset.touched) byId('assign-program').value = program;
  madeBox.hidden = !made?.assignment;
  problem.hidden = !made?.invalid;
  problem.textContent = made?.invalid ? t('assign.invalid', { title: maxTitle, name: maxName, names: maxNames }) : '';
  if (!made?.assignment) return;
  const link = base() + teacherFragment(made.assignment);
  drawStudentLinks(byId('assignment-students'), made.assignment);
  teacherLink.href = link;
  teacherLink.textContent = link;
}

// Sends the form's assignment to the page.
export function connect(dispatch) {
  form.addEventListener('change', () => { form.dataset.touched = 'yes'; });
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    dispatch({ type: 'assignmentMade', given: given(), seed: randomWord() });
  });
  byId('assignment-copy-teacher').addEventListener('click', () => dispatch({ type: 'copy', content: teacherLink.href, done: 'status.linkCopied' }));
}

byId('assign-program').value = defaultProgram;
