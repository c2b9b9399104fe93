// The link to the run shown, the note on a link that could not be opened as it
// was, and the examples menu (share.js holds the links' format). What a link
// carries besides the typed text, practice, the exercise and what practice
// asks (from, fill), is the page's state's, which the page hands over with the model.
import { t, onChange } from './language.js';
import { byId, el, copy } from './dom.js';
import { fragment, maxInput, examples } from '../logic/share.js';

const runLink = byId('run-link');
const copyButton = byId('copy-link');
const note = byId('link-note');

// The link to run, carrying what carries says; where the typed text is longer
// than a link may carry, a note saying so instead, since such a link would open empty.
function tellLink(run, carries) {
  const linkable = run.input.length <= maxInput;
  if (linkable) {
    runLink.href = location.href.replace(/#.*$/, '') + fragment(run.program, run.input, run.ended, carries);
    runLink.textContent = runLink.href;
  } else {
    runLink.removeAttribute('href');
    runLink.textContent = t('link.tooLong', { max: maxInput });
  }
  copyButton.disabled = !linkable;
}

// The note on what was wrong with the link opened (problem: { id, program }), or none (null).
export function tellProblem(problem) {
  note.hidden = problem === null;
  note.textContent = problem === null ? '' : t(problem.id, { program: problem.program, max: maxInput });
}

// The examples menu: a link to each example's run, with its note.
function listExamples() {
  byId('example-list').replaceChildren(...examples.map((example) => {
    const item = el('li');
    item.append(el('a', '', t('example.' + example.id), { href: example.hash }), ' ',
                el('span', 'example-note', t('example.' + example.id + '.note')));
    return item;
  }));
}

// Shows the link to model's run, practised or watched as linkState says
// ({ practice, exercise, from, fill }), and what was wrong with the link opened.
// The page draws the link anew after a change of language.
export function render(model, linkState, problem) {
  tellLink(model.run, linkState);
  tellProblem(problem);
}

const retell = listExamples;

copyButton.addEventListener('click', () => copy(runLink.href, 'status.linkCopied'));
onChange(retell);
