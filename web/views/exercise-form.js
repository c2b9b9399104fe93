// The form that makes a new exercise (exercises.js) for the program shown: it
// asks the page for the exercise ('exercise'), which follows its link, so that
// what it opens is what a link opens; the link says that the exercise is the
// learner's own, paced by their progress. It also asks for a class set of
// worksheets ('classSet'): from the exercise shown, or from the seed typed
// into the form since; of the parts asked, sheets, keys or both, for copies on
// both sides unless asked otherwise. Opened from a file, it tells the teacher
// that the sheets print no link.
import { byId } from './dom.js';

const form = byId('exercise-form');
const seedField = byId('exercise-seed');
let dispatch = () => {};
let shownExercise = null;  // the exercise of the run shown, or null
let seedTyped = false;     // whether the seed field was typed into since the exercise was shown

const randomSeed = () => String(Math.floor(Math.random() * 1e6));
const options = () => [...form.querySelectorAll('input[name="exercise-option"]:checked')].map((box) => box.value);

// Sends what the learner asks for to the page: send(message).
export function connect(send) {
  dispatch = send;
}

// Notes the exercise that the run shown was made from, which a class set starts from.
export function render(model, linkState) {
  const exercise = linkState?.exercise ?? null;
  if (JSON.stringify(exercise) !== JSON.stringify(shownExercise)) seedTyped = false;
  shownExercise = exercise;
}

form.addEventListener('submit', (event) => {
  event.preventDefault();
  const seed = /^\d{1,9}$/.test(seedField.value.trim()) ? Number(seedField.value) : Math.floor(Math.random() * 1e6);
  seedField.value = randomSeed();
  seedTyped = false;
  dispatch({ type: 'exercise', seed, order: Number(byId('exercise-order').value), options: options() });
});
seedField.value = randomSeed();
seedField.addEventListener('input', () => { seedTyped = true; });
byId('exercise-file-link').hidden = location.protocol !== 'file:';

// A class set: as many sheets as asked, from the exercise shown unless a seed
// was typed since (a new one, shown in the field, when it holds none), each
// with the order and options of the exercise it starts from.
byId('exercise-class-set').addEventListener('click', () => {
  const count = Math.round(Number(byId('exercise-count').value));
  const asked = { type: 'classSet', parts: byId('exercise-print').value, twoSided: !byId('exercise-one-sided').checked,
                  count: Number.isFinite(count) && count >= 1 ? count : 1 };
  if (shownExercise && !seedTyped) {
    const { seed, order, options: shownOptions, generator } = shownExercise;
    dispatch({ ...asked, seed, order, options: shownOptions, generator });
    return;
  }
  if (!/^\d{1,9}$/.test(seedField.value.trim())) seedField.value = randomSeed();
  dispatch({ ...asked, seed: Number(seedField.value), order: Number(byId('exercise-order').value), options: options() });
});
