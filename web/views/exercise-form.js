// The form that makes a new exercise (exercises.js) for the program shown: it
// follows the exercise's link, so that what it opens is what a link opens; the
// link says that the exercise is the learner's own, paced by their progress.
// It also asks for a class set of worksheets ('classSet', events.js): from the
// exercise shown, or from the seed typed into the form since; of the parts
// asked, sheets, keys or both, for copies on both sides unless asked otherwise.
// Opened from a file, it tells the teacher that the sheets print no link.
import { byId } from './dom.js';
import { emit } from './events.js';
import { fragment, defaultProgram } from '../logic/share.js';

const form = byId('exercise-form');
const seedField = byId('exercise-seed');
let program = defaultProgram;
let shownExercise = null;  // the exercise of the run shown, or null
let seedTyped = false;     // whether the seed field was typed into since the exercise was shown

const randomSeed = () => String(Math.floor(Math.random() * 1e6));

// Keeps the program of the run shown, which the exercise is made for, and
// the exercise that its link made.
export function render(model, linkState) {
  program = model.run.program;
  const exercise = linkState?.exercise ?? null;
  if (JSON.stringify(exercise) !== JSON.stringify(shownExercise)) seedTyped = false;
  shownExercise = exercise;
}

const optionsChecked = () => [...form.querySelectorAll('input[name="exercise-option"]:checked')].map((box) => box.value);

form.addEventListener('submit', (event) => {
  event.preventDefault();
  const seed = /^\d{1,9}$/.test(seedField.value.trim()) ? Number(seedField.value) : Math.floor(Math.random() * 1e6);
  const options = optionsChecked();
  const hash = fragment(program, '', false, { practice: true, own: true, exercise: { seed, order: Number(byId('exercise-order').value), options } });
  seedField.value = randomSeed();
  seedTyped = false;
  if (location.hash === hash) dispatchEvent(new HashChangeEvent('hashchange'));
  else location.hash = hash;
});
seedField.value = randomSeed();

seedField.addEventListener('input', () => { seedTyped = true; });
byId('exercise-file-link').hidden = location.protocol !== 'file:';

// A class set: as many sheets as asked, from the exercise shown unless a seed
// was typed since (a new one, shown in the field, when it holds none), each
// with the order and options of the exercise it starts from.
byId('exercise-class-set').addEventListener('click', () => {
  const count = Math.round(Number(byId('exercise-count').value));
  const asked = { parts: byId('exercise-print').value, twoSided: !byId('exercise-one-sided').checked,
                  count: Number.isFinite(count) && count >= 1 ? count : 1, program };
  if (shownExercise && !seedTyped) {
    emit('classSet', { ...asked, seed: shownExercise.seed, order: shownExercise.order, options: shownExercise.options });
    return;
  }
  if (!/^\d{1,9}$/.test(seedField.value.trim())) seedField.value = randomSeed();
  emit('classSet', { ...asked, seed: Number(seedField.value), order: Number(byId('exercise-order').value), options: optionsChecked() });
});
