// Runs gjinverse or gjsolve in the pane as at a console. Each line entered runs
// the program anew over all the lines so far (see web/bridge.cpp): the output up
// to where the program waited is the same in every run, so the pane shows it cut
// at the point where each line was entered, with the line echoed there. The
// stages section (explain.js) is told of each run after the pane.
'use strict';

const programNames = ['gjinverse', 'gjsolve'];
const pane = document.getElementById('pane');
const typed = document.getElementById('typed');
const inputLine = document.getElementById('line');
const endButton = document.getElementById('end');
const restartButton = document.getElementById('restart');
const statusLine = document.getElementById('status');
const encoder = new TextEncoder();
const decoder = new TextDecoder();
const downloadLink = document.createElement('a');

let programs = null;      // the module, once loaded
const stageIds = new Map();  // commentary line, newline included -> its stage id
const stageLines = new Map(); // stage id -> its commentary line, without the newline
const t = language.t;
let program = 'gjinverse';
let lines = [];           // the text of each entry, "\n" included but for one given with the end of input
let stops = [];           // for each entry, [output bytes, error text length] shown before it
let ended = false;
let status = -1;          // the exit status, or -1 while the program waits
let output = new Uint8Array(0);
let errors = '';
let reportText = '';
let report = { rows: [], stages: [] };

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

function runProgram() {
  const input = encoder.encode(lines.join(''));
  status = withBytes(encoder.encode(program), (name) =>
    withBytes(input, (text) => programs._gj_run(name, text, input.length, ended ? 1 : 0)));
  output = heapBytes(programs._gj_output(), programs._gj_output_size());
  errors = decoder.decode(heapBytes(programs._gj_errors(), programs._gj_errors_size()));
  reportText = decoder.decode(heapBytes(programs._gj_report(), programs._gj_report_size()));
  report = exact.parseReport(reportText);
  render();
  settleFocus();
  explain.show({ program, reportText, report, output: decoder.decode(output),
                 typed: lines.join(''), lines: stageLines });
}

function span(className, text) {
  const s = document.createElement('span');
  s.className = className;
  s.textContent = text;
  return s;
}

// Writes a slice of standard output into the pane, one line at a time. Matrix rows
// ("%g\t" entries) are held until their printout ends, so that each entry can be
// compared with the printout before it of the same number of rows and columns.
// The pivot of an elimination stage is marked too: printout k is the report's stage k.
function renderOutput(text, state) {
  for (const line of text.split(/(?<=\n)/)) {
    if (/^([^\t\n]+\t)+\n$/.test(line)) {
      state.rows.push(line.slice(0, -2).split('\t'));
      continue;
    }
    // A printout and the line after it (its commentary) form a stage, kept on one printed page.
    const group = state.rows.length > 0 ? span('pane-stage', '') : pane;
    if (group !== pane) pane.append(group);
    renderPrintout(state, group);
    const id = stageIds.get(line);
    if (id === undefined) {
      group.append(line);
      continue;
    }
    const s = span('gloss', line.slice(0, -1));
    s.lang = 'ko';
    s.tabIndex = 0;
    s.dataset.gloss = t('gloss.' + id);
    group.append(s, '\n');
  }
}

function renderPrintout(state, into = pane) {
  if (state.rows.length === 0) return;
  const shape = state.rows.length + 'x' + state.rows[0].length;
  const before = state.printouts.get(shape);
  const stage = report.stages[state.count++];
  const pivot = stage && stage.pivot !== null ? stage.pivot - 1 : -1;
  state.rows.forEach((row, r) => {
    row.forEach((entry, c) => {
      const changed = before && before[r][c] !== entry;
      const marks = [changed && 'changed', r === pivot && c === pivot && 'pivot'].filter(Boolean);
      into.append(marks.length ? span(marks.join(' '), entry) : entry, '\t');
      state.widest = Math.max(state.widest, entry.length);
    });
    into.append('\n');
  });
  state.printouts.set(shape, state.rows);
  state.rows = [];
}

function render() {
  pane.textContent = '';
  const state = { rows: [], printouts: new Map(), widest: 0, count: 0 };
  const shown = [...stops, [output.length, errors.length]];
  shown.forEach(([outEnd, errEnd], k) => {
    const [outStart, errStart] = k > 0 ? shown[k - 1] : [0, 0];
    renderOutput(decoder.decode(output.subarray(outStart, outEnd)), state);
    renderPrintout(state);
    if (errEnd > errStart) pane.append(span('err', errors.slice(errStart, errEnd)));
    if (k < lines.length) pane.append(span('echo', lines[k]));
  });
  // A tab reaches past the longest entry, so that the columns line up.
  pane.style.tabSize = Math.max(8, state.widest + 2);
  const waiting = status === -1;
  if (!waiting) {
    const note = status === -2 ? t('pane.notStarted', { program }) : t('pane.exited', { program, status });
    pane.append(span('note', `\n[${note}]\n`));
  }
  statusLine.textContent = waiting ? t('status.waiting', { program }) : t('status.over');
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

// Hands the program one more entry: a line, or the text typed so far with the end of input.
function enter(text, endOfInput) {
  if (status !== -1) return;
  stops.push([output.length, errors.length]);
  lines.push(text);
  ended = endOfInput;
  typed.value = '';
  runProgram();
}

function start() {
  const asked = location.hash.slice(1);
  program = programNames.includes(asked) ? asked : 'gjinverse';
  document.title = t('title.program', { program });
  for (const link of document.querySelectorAll('nav a')) {
    if (link.hash === '#' + program) link.setAttribute('aria-current', 'page');
    else link.removeAttribute('aria-current');
  }
  lines = [];
  stops = [];
  ended = false;
  status = -1;
  typed.value = '';
  runProgram();
}

inputLine.addEventListener('submit', (event) => {
  event.preventDefault();
  enter(typed.value + '\n', false);
});
typed.addEventListener('keydown', (event) => {
  if (event.ctrlKey && !event.altKey && !event.metaKey && event.key.toLowerCase() === 'd') {
    event.preventDefault();
    enter(typed.value, true);
  }
});
endButton.addEventListener('click', () => enter(typed.value, true));
restartButton.addEventListener('click', start);
document.getElementById('download').addEventListener('click', () => {
  // The address of the previous download is let go only now, when surely done with.
  if (downloadLink.href) URL.revokeObjectURL(downloadLink.href);
  downloadLink.href = URL.createObjectURL(new Blob([output], { type: 'text/plain; charset=utf-8' }));
  downloadLink.download = `${program}.log`;
  downloadLink.click();
  if (status === -1) typed.focus();
});
document.getElementById('copy').addEventListener('click', async () => {
  try {
    await navigator.clipboard.writeText(decoder.decode(output));
    statusLine.textContent = t('status.copied');
  } catch (e) {
    statusLine.textContent = t('status.copyFailed', { error: e.message });
  }
  if (status === -1) typed.focus();
});
window.addEventListener('hashchange', start);

let loadError = null;     // why the programs could not be loaded, if they could not
explain.start((text) => { statusLine.textContent = text; });
// The language, first chosen now, retells the pane's notes and glosses, the title
// and the status line; the transcript itself never changes.
language.onChange(() => {
  if (programs === null) {
    document.title = t('title');
    statusLine.textContent = loadError === null ? t('status.loading') : t('status.loadFailed', { error: loadError });
    return;
  }
  document.title = t('title.program', { program });
  render();
});
language.start();

GaussJordanPrograms().then((module) => {
  programs = module;
  for (const line of module.UTF8ToString(module._gj_stages()).split('\n')) {
    const [id, text] = line.split('\t');
    if (text === undefined) continue;
    stageIds.set(text + '\n', id);
    stageLines.set(id, text);
  }
  start();
}, (error) => {
  loadError = String(error);
  statusLine.textContent = t('status.loadFailed', { error: loadError });
});
