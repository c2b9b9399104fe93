// The reading of a reduced matrix that a student's assignment of "Your own
// way" asks before the page says what the matrix means: of a system, how many
// solutions (and, of one, their values); of [A | I], whether A is invertible.
// Then the verdict on that first reading. It draws the slice { own, assigned,
// language } and sends the reading as a message.
import { t } from '../language.js';
import { byId, el } from '../dom.js';
import { shape } from '../../logic/own/forms.js';

const says = (id, values) => t(`own.read.${id}`, values);
const form = el('form', 'note-box', undefined, { id: 'own-read', hidden: true });
const verdict = el('p', 'note-box', undefined, { id: 'own-read-verdict', hidden: true, tabIndex: -1 });
byId('own-meaning').before(form, verdict);
let drawnFor = null;  // the work whose questions are drawn

// A radio of the reading's choice.
function choice(value) {
  const label = el('label');
  label.append(el('input', '', undefined, { type: 'radio', name: 'own-read', value, required: true }), ' ', says(value));
  return label;
}

// The questions for a matrix of kind ('system' or 'inverse') with n unknowns.
function questions(kind, n) {
  const system = kind === 'system';
  const set = el('fieldset');
  set.append(el('legend', '', says(system ? 'system' : 'inverse')), ...(system ? ['one', 'zero', 'many'] : ['yes', 'no']).map(choice));
  const parts = [el('h3', '', says('heading')), set];
  if (system) {
    const values = el('p', 'own-line');
    values.append(says('values'), ...Array.from({ length: n }, (_, j) => {
      const label = el('label', '', `x${j + 1} = `);
      label.append(el('input', '', undefined, { size: 6, autocomplete: 'off', spellcheck: false, name: 'own-value' }));
      return label;
    }));
    parts.push(values);
  }
  parts.push(el('button', '', says('check'), { type: 'submit' }));
  form.replaceChildren(...parts);
}

// Draws the questions while the student's reduced matrix waits for its
// reading, drawn anew for another matrix; the verdict once read.
export function render({ own, assigned }) {
  const asking = Boolean(assigned && own?.work && !own.readOff && shape(own.matrix).reduced && own.work.kind !== 'matrix');
  form.hidden = !asking;
  if (asking && drawnFor !== own.work.start) {
    drawnFor = own.work.start;
    questions(own.work.kind, own.matrix.bar ?? 0);
  }
  verdict.hidden = !own?.readOff;
  verdict.textContent = own?.readOff ? says(own.readOff.right ? 'right' : 'wrong') : '';
}

// Sends the reading: the choice and, of a system, the values typed.
export function connect(dispatch) {
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    const choice = form.querySelector('input[name="own-read"]:checked')?.value;
    const values = [...form.querySelectorAll('input[name="own-value"]')].map((input) => input.value);
    if (choice) dispatch({ type: 'ownAnswer', answer: { choice, values: choice === 'one' ? values : null } });
  });
}
