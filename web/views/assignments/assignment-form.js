// The form that makes an assignment for a class, in practice: what it asks
// (the program, order and options, the first stage and the entries asked, the
// hints allowed, whether Show may be used, a matrix per student or one for the
// class), its title, due date and class list; and, once made, the links that
// it gives: the students' (class-links.js) and the teacher's, and its package
// for an LMS (lms-download.js). The assignment's
// seed is drawn here, so that two assignments made alike still differ.
import { t, onChange } from '../language.js';
import { byId, el, copy } from '../dom.js';
import { emit } from '../events.js';
import { drawStudentLinks, base } from './class-links.js';
import { offer } from './lms-download.js';
import { assignment, namesOf, teacherFragment, maxTitle, maxName, maxNames } from '../../logic/assignments/assignment.js';
import { defaultProgram } from '../../logic/share.js';

const form = byId('assignment-form');
const made = byId('assignment-made');
const teacherLink = byId('assignment-teacher');
const problem = byId('assignment-problem');
let shown = null;  // the assignment whose links are shown

const value = (id) => byId(id).value;
const checked = (name) => [...form.querySelectorAll(`input[name="${name}"]:checked`)].map((box) => box.value);

// The assignment that the form describes, with a new seed.
function fromForm() {
  const from = Math.round(Number(value('assign-from')));
  return assignment({
    program: value('assign-program'), order: Number(value('assign-order')), options: checked('assign-option'),
    seed: crypto.getRandomValues(new Uint32Array(1))[0], from: Number.isFinite(from) ? from : 2,
    fill: checked('assign-fill')[0], hints: Number(value('assign-hints')), show: byId('assign-show').checked,
    perStudent: checked('assign-matrix')[0] === 'student', title: value('assign-title').trim(), due: value('assign-due'),
    names: namesOf(value('assign-names')),
  });
}

// Draws the links of assignment a; throws (assignment.js) when a cannot be linked.
function draw(a) {
  const link = base() + teacherFragment(a);
  drawStudentLinks(byId('assignment-students'), a);
  teacherLink.href = link;
  teacherLink.textContent = link;
  made.hidden = false;
}

const tellProblem = () => { problem.textContent = t('assign.invalid', { title: maxTitle, name: maxName, names: maxNames }); };

// Keeps the program of the run shown as the form's choice until the teacher picks one.
export function render(model) {
  if (!form.dataset.touched) byId('assign-program').value = model.run.program;
}

form.addEventListener('change', () => { form.dataset.touched = 'yes'; });
form.addEventListener('submit', (event) => {
  event.preventDefault();
  const a = fromForm();
  try {
    draw(a);
    shown = a;
    offer(a);
    emit('announce', () => [t('assign.made')]);
    problem.hidden = true;
  } catch {
    made.hidden = true;
    shown = null;
    offer(null);
    problem.hidden = false;
    tellProblem();
  }
});
byId('assignment-copy-teacher').addEventListener('click', () => copy(teacherLink.href, 'status.linkCopied'));
byId('assign-program').value = defaultProgram;
onChange(() => {
  if (shown) draw(shown);
  if (!problem.hidden) tellProblem();
});
