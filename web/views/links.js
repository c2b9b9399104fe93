// The link to the run shown, the note on a link that could not be opened as it
// was, and the examples menu (share.js holds the links' format). What a link
// carries besides the typed text, practice, the exercise and what practice
// asks (from, fill), is the state's (state.linkState), handed over in the slice.
import { t } from './language.js';
import { byId, el } from './dom.js';
import { fragment, maxInput, examples } from '../logic/run/share.js';

const runLink = byId('run-link');
const copyButton = byId('copy-link');
const note = byId('link-note');
let drawnLanguage = null;  // the language drawn in

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

// The note on what was wrong with the link opened (the slice: { problem:
// { id, program } or null, language }).
export function tellProblem({ problem }) {
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

// Draws the link to the run of the slice ({ run, language, and what the link
// carries: practice, exercise, asked, from, fill }), and the examples menu in
// its language.
export function render({ run, language, ...carries }) {
  if (language !== drawnLanguage) listExamples();
  drawnLanguage = language;
  if (run) tellLink(run, carries);
}

// The link copied as the learner asks.
export function connect(dispatch) {
  copyButton.addEventListener('click', () => dispatch({ type: 'copy', content: runLink.href, done: 'status.linkCopied' }));
}
