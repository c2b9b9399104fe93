// The one adapter over the programs' module (programs.js, made from
// web/bridge.cpp): it loads the module and makes runs. A run is one frozen
// value: the program, the entries typed (each a line with its Enter, but for one
// given with the end of input), whether the input ended, the exit status (-1
// while the program waits for more input, -2 when it could not start), its
// output as bytes and as text, its standard error, its operation report
// (core/report.hpp), and the stops: for each entry, the lengths of the output
// and of standard error shown before it. Runs of one session extend one another,
// entry by entry; each run has an id of its own. It also formats numbers as the
// programs print them, with their own C library (printf.js does the same
// without them). Nothing else calls the module, which comes to load() as a promise.

import { isWaiting } from './model.js';

const encoder = new TextEncoder();
const decoder = new TextDecoder();
let programs = null;
let sessions = 0;
let runs = 0;

// Resolves once the module that loading (a promise) gives is ready to run.
export async function load(loading) {
  programs = await loading;
}

// Copies bytes into the module's memory, NUL-terminated, for the length of fn's call.
function withBytes(bytes, fn) {
  const at = programs._malloc(bytes.length + 1);
  programs.HEAPU8.set(bytes, at);
  programs.HEAPU8[at + bytes.length] = 0;
  try { return fn(at); } finally { programs._free(at); }
}

const heap = (at, size) => programs.HEAPU8.slice(at, at + size);

// The bridge runs the program anew over everything typed so far: the output up
// to where it waits is the same in every later run over more text.
function execute(program, input, ended) {
  const bytes = encoder.encode(input);
  const status = withBytes(encoder.encode(program), (name) =>
    withBytes(bytes, (text) => programs._gj_run(name, text, bytes.length, ended ? 1 : 0)));
  return outcome(status);
}

// What the last run of the module gave, with its status.
function outcome(status) {
  const output = heap(programs._gj_output(), programs._gj_output_size());
  return {
    status, bytes: output, output: decoder.decode(output),
    errors: decoder.decode(heap(programs._gj_errors(), programs._gj_errors_size())),
    report: decoder.decode(heap(programs._gj_report(), programs._gj_report_size())),
  };
}

// The run of program over entries typed one after another, as one run of the
// program: what execute gives, with stops, per entry that the program asked
// for (those after it stopped reading have none), the lengths of the output
// and standard error texts written before it.
function executeEntries(program, entries, ended) {
  const parts = entries.map((entry) => encoder.encode(entry));
  const bytes = new Uint8Array(parts.reduce((size, part) => size + part.length, 0));
  const starts = new Int32Array(parts.length);
  parts.reduce((at, part, k) => { bytes.set(part, at); starts[k] = at; return at + part.length; }, 0);
  const count = parts.length;
  const at = programs._malloc(4 * 3 * count);
  const words = () => new Int32Array(programs.HEAPU8.buffer, at, 3 * count);  // anew after the memory grows
  words().set(starts);
  words().fill(-1, count);
  try {
    const status = withBytes(encoder.encode(program), (name) => withBytes(bytes, (text) =>
      programs._gj_run_entries(name, text, bytes.length, ended ? 1 : 0, at, count, at + 4 * count)));
    const stopWords = words().slice(count);
    const byteStops = [];
    for (let k = 0; k < count && stopWords[2 * k] >= 0; k++) byteStops.push([stopWords[2 * k], stopWords[2 * k + 1]]);
    const outs = textLengths(heap(programs._gj_output(), programs._gj_output_size()), byteStops.map(([out]) => out));
    const errs = textLengths(heap(programs._gj_errors(), programs._gj_errors_size()), byteStops.map(([, err]) => err));
    return { ...outcome(status), stops: outs.map((out, k) => [out, errs[k]]) };
  } finally { programs._free(at); }
}

// Byte offsets into bytes, in order, as lengths of the text that they decode to.
function textLengths(bytes, offsets) {
  let length = 0;
  let from = 0;
  return offsets.map((to) => {
    length += decoder.decode(bytes.subarray(from, to)).length;
    from = to;
    return length;
  });
}

function make(session, program, entries, ended, stops) {
  const input = entries.join('');
  return Object.freeze({
    id: ++runs, session, program, entries: Object.freeze(entries), input, ended,
    stops: Object.freeze(stops), ...execute(program, input, ended),
  });
}

// A new session of program, with nothing typed yet.
export function open(program) {
  return make(++sessions, program, [], false, []);
}

// The run after one more entry, with the end of input after it if ended; null
// when run's program no longer reads.
export function extend(run, entry, ended) {
  if (!isWaiting(run)) return null;
  const stop = [run.output.length, run.errors.length];
  return make(run.session, run.program, [...run.entries, entry], ended, [...run.stops, stop]);
}

// The run after entries typed at run one by one, with the end of input after
// the last if ended: what an extend per entry gives (entries after the
// program stopped reading left out), from one run of the program.
export function extendBy(run, entries, ended) {
  if (entries.length === 0 || !isWaiting(run)) return run;
  const all = [...run.entries, ...entries];
  const { stops, ...ran } = executeEntries(run.program, all, ended);
  const kept = all.slice(0, stops.length);
  return Object.freeze({
    id: ++runs, session: run.session, program: run.program, entries: Object.freeze(kept), input: kept.join(''),
    ended: ended && kept.length === all.length, stops: Object.freeze(stops), ...ran,
  });
}

// The id of each stage that has a commentary line, and that line as printed.
export function stageLines() {
  const lines = new Map();
  for (const line of programs.UTF8ToString(programs._gj_stages()).split('\n')) {
    const [id, text] = line.split('\t');
    if (text !== undefined) lines.set(id, text);
  }
  return lines;
}

// x as the programs print an entry: C's printf with "%g", from the module's own
// C library; the node tests hold printf.js, which practice judges by, to it.
export function printed(x) {
  return programs.UTF8ToString(programs._gj_format(x));
}
