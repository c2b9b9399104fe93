// The form that makes a new exercise (exercises.js) for the program shown: it
// asks the page for the exercise ('exercise'), which follows its link, so that
// what it opens is what a link opens; the link says that the exercise is the
// learner's own, paced by their progress. It also asks for a class set of
// worksheets of the exercise ('classSet').
import { byId } from './dom.js';

const form = byId('exercise-form');
const seedField = byId('exercise-seed');
let dispatch = () => {};

const randomSeed = () => String(Math.floor(Math.random() * 1e6));
const options = () => [...form.querySelectorAll('input[name="exercise-option"]:checked')].map((box) => box.value);

// Sends what the learner asks for to the page: send(message).
export function connect(send) {
  dispatch = send;
}

form.addEventListener('submit', (event) => {
  event.preventDefault();
  const seed = /^\d{1,9}$/.test(seedField.value.trim()) ? Number(seedField.value) : Math.floor(Math.random() * 1e6);
  seedField.value = randomSeed();
  dispatch({ type: 'exercise', seed, order: Number(byId('exercise-order').value), options: options() });
});
seedField.value = randomSeed();

// A class set: as many sheets as asked, from the seed in the field on (a new
// one, shown in the field, when it holds none), each with the order and options chosen.
byId('exercise-class-set').addEventListener('click', () => {
  if (!/^\d{1,9}$/.test(seedField.value.trim())) seedField.value = randomSeed();
  const count = Math.round(Number(byId('exercise-count').value));
  dispatch({
    type: 'classSet', seed: Number(seedField.value), order: Number(byId('exercise-order').value), options: options(),
    count: Number.isFinite(count) && count >= 1 ? count : 1,
  });
});
