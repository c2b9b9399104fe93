// The question that a start-over asks before it erases an exercise's answers
// ("Erase this exercise's answers? Yes / No"), drawn in the page beside the
// button that asked, from the state's confirming; the learner's choice is sent
// as a message.
import { byId } from './dom.js';

const asking = { restart: byId('restart'), restartPractice: byId('practice-restart') };
const boxOf = (type) => byId(`${asking[type].id}-confirm`);

// Shows the question that the state waits on (the slice: { confirming }), and hides the others.
export function render({ confirming }) {
  for (const type of Object.keys(asking)) boxOf(type).hidden = confirming !== type;
}

// Sends the learner's choice to the page.
export function connect(dispatch) {
  for (const type of Object.keys(asking)) {
    boxOf(type).addEventListener('click', (event) => {
      const button = event.target.closest('button');
      if (button) dispatch(button.matches('.erase') ? { type, confirmed: true } : { type: 'keepWork' });
    });
  }
}
