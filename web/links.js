// The link to the run shown, the note on a link that could not be opened as it
// was, and the examples menu (share.js holds the links' format).
'use strict';
var GJ = globalThis.GJ = globalThis.GJ || {};

GJ.links = (() => {
  const t = GJ.language.t;
  const runLink = document.getElementById('run-link');
  const copyButton = document.getElementById('copy-link');
  const note = document.getElementById('link-note');
  let run = null;
  let problem = null;  // what was wrong with the link opened: { id, program }, or null

  // The link to the run so far, practised or watched; where the typed text is
  // longer than a link may carry, a note saying so instead, since such a link
  // would open empty.
  function tellLink() {
    const linkable = run.input.length <= GJ.share.maxInput;
    if (linkable) {
      runLink.href = location.href.replace(/#.*$/, '') + GJ.share.fragment(run.program, run.input, run.ended, GJ.practice.linkState(run));
      runLink.textContent = runLink.href;
    } else {
      runLink.removeAttribute('href');
      runLink.textContent = t('link.tooLong', { max: GJ.share.maxInput });
    }
    copyButton.disabled = !linkable;
  }

  function tellProblem() {
    note.hidden = problem === null;
    note.textContent = problem === null ? '' : t(problem.id, { program: problem.program, max: GJ.share.maxInput });
  }

  // Notes what was wrong with the link that opened program: a text id, or null.
  function setProblem(id, program) {
    problem = id === null ? null : { id, program };
    tellProblem();
  }

  // The examples menu: a link to each example's run, with its note.
  function listExamples() {
    document.getElementById('example-list').replaceChildren(...GJ.share.examples.map((example) => {
      const item = GJ.el('li');
      item.append(GJ.el('a', '', t('example.' + example.id), { href: example.hash }), ' ',
                  GJ.el('span', 'example-note', t('example.' + example.id + '.note')));
      return item;
    }));
  }

  function render(model) {
    run = model.run;
    tellLink();
  }

  function retell() {
    listExamples();
    if (run) tellLink();
    tellProblem();
  }

  copyButton.addEventListener('click', () => GJ.copy(runLink.href, 'status.linkCopied'));
  GJ.language.onChange(retell);
  return { render, retell, setProblem };
})();
