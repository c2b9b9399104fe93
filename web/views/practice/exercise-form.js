// The form that makes a new exercise (exercises.js) for the program shown: it
// asks the page for the exercise ('exercise'), which follows its link, so that
// what it opens is what a link opens; the link says that the exercise is the
// learner's own, paced by their progress. It also asks for a class set of
// worksheets ('classSet'): the state takes the exercise shown unless a seed
// was typed into the form since ('seedTyped'); of the parts asked, sheets,
// keys or both, for copies on both sides unless asked otherwise. Opened from a
// file, it tells the teacher that the sheets print no link.
import { byId } from '../dom.js';
import { randomWord } from '../seed.js';
import { exerciseSeed, typedSeed } from '../../logic/run/share.js';

const form = byId('exercise-form');
const seedField = byId('exercise-seed');

const drawnSeed = () => exerciseSeed(randomWord());
const options = () => [...form.querySelectorAll('input[name="exercise-option"]:checked')].map((box) => box.value);
const order = () => Number(byId('exercise-order').value);

// The seed typed, or, when the field holds none, a new one, which the field shows then.
function seedOfField() {
  const typed = typedSeed(seedField.value);
  if (typed !== null) return typed;
  seedField.value = drawnSeed();
  return Number(seedField.value);
}

// Sends what the learner asks for to the page.
export function connect(dispatch) {
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    const seed = typedSeed(seedField.value) ?? drawnSeed();
    seedField.value = drawnSeed();
    dispatch({ type: 'exercise', seed, order: order(), options: options() });
  });
  seedField.addEventListener('input', () => dispatch({ type: 'seedTyped' }));
  // A class set: as many sheets as asked, each with the order and options of the exercise it starts from.
  byId('exercise-class-set').addEventListener('click', () => {
    const count = Math.round(Number(byId('exercise-count').value));
    dispatch({ type: 'classSet', parts: byId('exercise-print').value, twoSided: !byId('exercise-one-sided').checked,
               count: Number.isFinite(count) && count >= 1 ? count : 1, seed: seedOfField(), order: order(), options: options() });
  });
}

seedField.value = drawnSeed();
byId('exercise-file-link').hidden = location.protocol !== 'file:';
