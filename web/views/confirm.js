// The question that a start-over asks before it erases an exercise's answers
// ("Erase this exercise's answers? Yes / No"), drawn in the page beside the
// button that asked, from the state's confirming; the learner's choice is sent
// as a message.
import { byId } from './dom.js';

// The button that asks each start-over, by id: the practice's is there once practice has loaded.
const asking = { restart: 'restart', restartPractice: 'practice-restart' };
const boxOf = (type) => byId(`${asking[type]}-confirm`);

// Shows the question that the state waits on (the slice: { confirming }), and hides the others.
export function render({ confirming }) {
  for (const type of Object.keys(asking)) if (boxOf(type)) boxOf(type).hidden = confirming !== type;
}

// Sends the learner's choice to the page, from the questions there now or later.
export function connect(dispatch) {
  document.addEventListener('click', (event) => {
    const button = event.target.closest?.('.confirm button');
    const type = button && Object.keys(asking).find((kind) => boxOf(kind)?.contains(button));
    if (type) dispatch(button.matches('.erase') ? { type, confirmed: true } : { type: 'keepWork' });
  });
}
