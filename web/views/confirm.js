// The question that a start-over asks before it erases an exercise's answers
// ("Erase this exercise's answers? Yes / No"), drawn in the page beside the
// button that asked, from the state's confirming; the learner's choice is sent
// as a message.
import { byId } from './dom.js';

let dispatch = () => {};
const asking = { restart: byId('restart'), restartPractice: byId('practice-restart') };
const boxOf = (type) => byId(`${asking[type].id}-confirm`);

// Shows the question that the state waits on, its "No" focused; hides the
// others, handing the focus back to the button when the answers stay.
export function render(state, message) {
  for (const type of Object.keys(asking)) {
    const box = boxOf(type);
    const shown = state.confirming === type;
    if (shown === !box.hidden) continue;
    box.hidden = !shown;
    if (shown) box.querySelector('.keep').focus();
    else if (message.type === 'keepWork' && asking[type].offsetParent) asking[type].focus();
  }
}

// Sends the learner's choice to the page: send(message).
export function connect(send) {
  dispatch = send;
}

for (const type of Object.keys(asking)) {
  boxOf(type).addEventListener('click', (event) => {
    const button = event.target.closest('button');
    if (button) dispatch(button.matches('.erase') ? { type, confirmed: true } : { type: 'keepWork' });
  });
}
