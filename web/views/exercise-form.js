// The form that makes a new exercise (exercises.js) for the program shown: it
// follows the exercise's link, so that what it opens is what a link opens; the
// link says that the exercise is the learner's own, paced by their progress.
// It also asks the worksheet for a class set of the exercise ('classSet', events.js).
import { byId } from './dom.js';
import { emit } from './events.js';
import { fragment, defaultProgram, latestGenerator } from '../logic/share.js';

const form = byId('exercise-form');
const seedField = byId('exercise-seed');
let program = defaultProgram;

const randomSeed = () => String(Math.floor(Math.random() * 1e6));

// Keeps the program of the run shown: the exercise is made for it.
export function render(model) {
  program = model.run.program;
}

form.addEventListener('submit', (event) => {
  event.preventDefault();
  const seed = /^\d{1,9}$/.test(seedField.value.trim()) ? Number(seedField.value) : Math.floor(Math.random() * 1e6);
  const options = [...form.querySelectorAll('input[name="exercise-option"]:checked')].map((box) => box.value);
  const hash = fragment(program, '', false, { practice: true, own: true, exercise: { seed, order: Number(byId('exercise-order').value), options, generator: latestGenerator } });
  seedField.value = randomSeed();
  if (location.hash === hash) dispatchEvent(new HashChangeEvent('hashchange'));
  else location.hash = hash;
});
seedField.value = randomSeed();

// A class set: as many sheets as asked, from the seed in the field on (a new
// one, shown in the field, when it holds none), each with the order and options chosen.
byId('exercise-class-set').addEventListener('click', () => {
  if (!/^\d{1,9}$/.test(seedField.value.trim())) seedField.value = randomSeed();
  const count = Math.round(Number(byId('exercise-count').value));
  emit('classSet', {
    program, seed: Number(seedField.value), order: Number(byId('exercise-order').value), generator: latestGenerator,
    options: [...form.querySelectorAll('input[name="exercise-option"]:checked')].map((box) => box.value),
    count: Number.isFinite(count) && count >= 1 ? count : 1,
  });
});
