// Runs gjinverse or gjsolve in the pane as at a console. Each line entered runs
// the program anew over all the lines so far (see web/bridge.cpp): the output up
// to where the program waited is the same in every run, so the pane (pane.js)
// only adds what is new, the line echoed where it was entered. The stages
// section (explain.js) is told of each run after the pane, and the status line
// announces the stages that a run added. A link (share.js) opens a run by typing
// its lines anew.
'use strict';

const typed = document.getElementById('typed');
const inputLine = document.getElementById('line');
const endButton = document.getElementById('end');
const restartButton = document.getElementById('restart');
const statusLine = document.getElementById('status');
const linkNote = document.getElementById('link-note');
const runLink = document.getElementById('run-link');
const copyLinkButton = document.getElementById('copy-link');
const encoder = new TextEncoder();
const decoder = new TextDecoder();
const downloadLink = document.createElement('a');

let programs = null;      // the module, once loaded
const stageIds = new Map();  // commentary line, newline included -> its stage id
const stageLines = new Map(); // stage id -> its commentary line, without the newline
const t = language.t;
let program = GJShare.defaultProgram;
let lines = [];           // the text of each entry, "\n" included but for one given with the end of input
let stops = [];           // for each entry, [output bytes, error text length] shown before it
let ended = false;
let status = -1;          // the exit status, or -1 while the program waits
let output = new Uint8Array(0);
let errors = '';
let reportText = '';
let report = { rows: [], stages: [] };
let announced = 0;        // the stages the status line has told of
let linkProblem = null;   // the text id of what was wrong with the link opened, if anything
let stagesPending = 0;    // the frame after which the stages are shown, if one is asked for

// Copies text into the module's memory, NUL-terminated, for the length of fn's call.
function withBytes(bytes, fn) {
  const at = programs._malloc(bytes.length + 1);
  programs.HEAPU8.set(bytes, at);
  programs.HEAPU8[at + bytes.length] = 0;
  try { return fn(at); } finally { programs._free(at); }
}

function heapBytes(at, size) {
  return programs.HEAPU8.slice(at, at + size);
}

// Runs the program over everything entered; the page shows the result with show().
function runProgram() {
  const input = encoder.encode(lines.join(''));
  status = withBytes(encoder.encode(program), (name) =>
    withBytes(input, (text) => programs._gj_run(name, text, input.length, ended ? 1 : 0)));
  output = heapBytes(programs._gj_output(), programs._gj_output_size());
  errors = decoder.decode(heapBytes(programs._gj_errors(), programs._gj_errors_size()));
  reportText = decoder.decode(heapBytes(programs._gj_report(), programs._gj_report_size()));
  report = exact.parseReport(reportText);
}

// Shows a run: the pane at once; the stages section and the status line after
// the pane is painted (the next frame, then a task of their own), so that an
// Enter never waits for them.
function show() {
  paneView.draw({ program, output, errors, stops, lines, status, report, stageIds });
  settleFocus();
  showLink();
  if (stagesPending === 0) stagesPending = requestAnimationFrame(() => setTimeout(showStages, 0));
}

// The link to the run so far; where the typed text is longer than a link may
// carry, a note saying so instead, since such a link would open empty.
function showLink() {
  const typedText = lines.join('');
  const linkable = typedText.length <= GJShare.maxInput;
  if (linkable) {
    runLink.href = location.href.replace(/#.*$/, '') + GJShare.fragment(program, typedText, ended);
    runLink.textContent = runLink.href;
  } else {
    runLink.removeAttribute('href');
    runLink.textContent = t('link.tooLong', { max: GJShare.maxInput });
  }
  copyLinkButton.disabled = !linkable;
}

function showStages() {
  stagesPending = 0;
  explain.show({ program, reportText, report, output: decoder.decode(output), typed: lines.join(''), lines: stageLines });
  tellStatus();
}

// The status line, a polite live region: the stages the last run added, briefly
// (how many, and the last one's commentary line and operations, never the
// matrix), then whether the program waits.
function tellStatus() {
  const count = explain.count();
  const parts = [];
  if (count > announced) parts.push(...explain.brief(announced, count));
  announced = count;
  parts.push(status === -1 ? t('status.waiting', { program }) : t('status.over'));
  statusLine.replaceChildren(...parts.flatMap((part, k) => (k > 0 ? [' ', part] : [part])));
}

// After a run: the input field keeps the focus while the program waits, and hands
// it to "Start over" when the run ends.
function settleFocus() {
  const waiting = status === -1;
  const hadFocus = [typed, endButton].includes(document.activeElement);
  typed.disabled = endButton.disabled = !waiting;
  inputLine.hidden = !waiting;
  if (waiting) {
    typed.focus();
    typed.scrollIntoView({ block: 'nearest' });
  } else if (hadFocus) {
    restartButton.focus();
  }
}

// Hands the program one more entry: a line, or the text typed so far with the
// end of input. False when the program no longer reads.
function enter(text, endOfInput) {
  if (status !== -1) return false;
  stops.push([output.length, errors.length]);
  lines.push(text);
  ended = endOfInput;
  typed.value = '';
  runProgram();
  return true;
}

// Opens a program afresh and types input at its prompts, a line per entry, with
// the end of input after it if ended; a last piece without its Enter stays in
// the input field. The pane is drawn once, after the last entry.
function open(name, input = '', endOfInput = false) {
  program = name;
  document.title = t('title.program', { program });
  for (const link of document.querySelectorAll('nav a')) {
    if (link.hash === '#' + program) link.setAttribute('aria-current', 'page');
    else link.removeAttribute('aria-current');
  }
  lines = [];
  stops = [];
  ended = false;
  status = -1;
  announced = 0;
  output = new Uint8Array(0);
  errors = '';
  paneView.clear();
  tellLinkProblem();
  for (const node of document.querySelectorAll('.program-name')) node.textContent = program;
  runProgram();
  const entries = GJShare.entries(input);
  if (endOfInput && (entries.length === 0 || entries.at(-1).endsWith('\n'))) entries.push('');
  const last = entries.length > 0 && !entries.at(-1).endsWith('\n') && !endOfInput ? entries.pop() : '';
  for (const [k, entry] of entries.entries()) {
    if (!enter(entry, endOfInput && k === entries.length - 1)) break;
  }
  show();
  if (status === -1) typed.value = last;
}

// Opens what the address's fragment names (see share.js); anything wrong with
// it is said above the pane.
function openLink() {
  const run = GJShare.parse(location.hash);
  linkProblem = run.problem;
  open(run.program, run.input, run.ended);
}

function tellLinkProblem() {
  linkNote.hidden = linkProblem === null;
  linkNote.textContent = linkProblem === null ? '' : t(linkProblem, { program, max: GJShare.maxInput });
}

// Start over: the same program, empty, and an address that says so.
function restart() {
  linkProblem = null;
  history.replaceState(null, '', '#' + program);
  open(program);
}

// The examples menu: a link to each example's run, with its note.
function listExamples() {
  const list = document.getElementById('example-list');
  list.replaceChildren(...GJShare.examples.map((example) => {
    const item = document.createElement('li');
    const link = document.createElement('a');
    link.href = example.hash;
    link.textContent = t('example.' + example.id);
    const note = document.createElement('span');
    note.className = 'example-note';
    note.textContent = t('example.' + example.id + '.note');
    item.append(link, ' ', note);
    return item;
  }));
}

async function copy(text, done) {
  try {
    await navigator.clipboard.writeText(text);
    statusLine.textContent = t(done);
  } catch (e) {
    statusLine.textContent = t('status.copyFailed', { error: e.message });
  }
}

inputLine.addEventListener('submit', (event) => {
  event.preventDefault();
  if (enter(typed.value + '\n', false)) show();
});
// Ctrl-D ends the input. The physical key is checked too: with a Korean input
// method on, the D key reports 'ㅇ'.
typed.addEventListener('keydown', (event) => {
  if (event.ctrlKey && !event.altKey && !event.metaKey && (event.key.toLowerCase() === 'd' || event.code === 'KeyD')) {
    event.preventDefault();
    if (enter(typed.value, true)) show();
  }
});
endButton.addEventListener('click', () => { if (enter(typed.value, true)) show(); });
restartButton.addEventListener('click', restart);
document.getElementById('download').addEventListener('click', () => {
  // The address of the previous download is let go only now, when surely done with.
  if (downloadLink.href) URL.revokeObjectURL(downloadLink.href);
  downloadLink.href = URL.createObjectURL(new Blob([output], { type: 'text/plain; charset=utf-8' }));
  downloadLink.download = `${program}.log`;
  downloadLink.click();
  if (status === -1) typed.focus();
});
document.getElementById('copy').addEventListener('click', async () => {
  await copy(decoder.decode(output), 'status.copied');
  if (status === -1) typed.focus();
});
copyLinkButton.addEventListener('click', () => copy(runLink.href, 'status.linkCopied'));
window.addEventListener('hashchange', openLink);

let loadError = null;     // why the programs could not be loaded, if they could not
explain.start((text) => { statusLine.textContent = text; });
// The language, first chosen now, retells the pane's notes and glosses, the
// examples, the title and the status line; the transcript itself never changes.
language.onChange(() => {
  listExamples();
  if (programs === null) {
    document.title = t('title');
    statusLine.textContent = loadError === null ? t('status.loading') : t('status.loadFailed', { error: loadError });
    return;
  }
  document.title = t('title.program', { program });
  paneView.retell();
  tellLinkProblem();
  showLink();
  statusLine.textContent = status === -1 ? t('status.waiting', { program }) : t('status.over');
});
language.start();

gaussJordanPrograms.then((module) => {
  programs = module;
  for (const line of module.UTF8ToString(module._gj_stages()).split('\n')) {
    const [id, text] = line.split('\t');
    if (text === undefined) continue;
    stageIds.set(text + '\n', id);
    stageLines.set(id, text);
  }
  openLink();
}, (error) => {
  loadError = String(error);
  statusLine.textContent = t('status.loadFailed', { error: loadError });
});
