// The model of a run: what every view of the page shows, built from one run
// (runner.js) by one pure function. It is the only reader of the transcript and
// of the operation report (core/report.hpp), which it decodes by name; nothing
// here touches the page, so that node can test it.
//
// A model holds (frozen):
//   run       the run it was built from
//   pieces    the dialogue in the order a console shows it: { kind: 'text' |
//             'echo' | 'error', text }, { kind: 'stage', k } and, once the run is
//             over, { kind: 'exit', status }. The pieces of a longer run of the
//             same session start with those of the shorter runs before it.
//   settled   how many pieces stay as they are in every longer run of the session
//   n         the order read
//   stages    per printout: k, its index; id; the facts of its kind (stageKinds:
//             right, answer, unknowns); column, the column that a pivot pass or
//             an elimination works on (1-based), else null; first and last, the
//             columns of the matrix that it shows (1-based); columns, per printed
//             column its block of [A | I] or [A | b] and its column there,
//             { block: 'A' | 'I' | 'b', j }; pivot, the place { r, c } of the
//             framed pivot in the printout, or null; rows, the printed entries
//             row by row (the unknowns: one entry a row); line, its commentary
//             line without the newline, or null; at and text, where its output
//             starts and the output itself; changed[r][c], whether the entry is
//             printed otherwise than in the printout of the same shape before
//             it; ops, its operations, decoded by name (reportFields)
//   reads     each number that a row prompt read: { row, column, text, number,
//             shown, end } (number null for a failed read); worked out when first read
//   verdict   whether the exact replay can take the numbers as typed:
//             { readable: true, start } or { readable: false, why: { value, row }
//             | { token } | { missing: true } }; worked out when first read
//   exact     null until the replay has run (withExact): { stages, stop, tooLarge }
import { parseDecimal, divide, replay as replayExactly } from './exact.js';

const encoder = new TextEncoder();
const decoder = new TextDecoder();
const rowPattern = /^(?:[^\t\n]+\t)+$/;  // a printed matrix row, "%g\t" a column
const unknownPattern = /^x\d+=(.*)$/;
const tokenShown = 40;                   // characters of an unreadable token quoted

// The lines of the report, by their first word: the names of their fields in
// order. A name ending in '?' may be absent (null); '...' gathers the rest into
// a list. A field written "0.5=0.5" is a number, as printed and exactly:
// { shown, exact }; 'id' is text; every other field is a plain integer.
const reportFields = {
  read: ['i', 'j', 'at', 'size', 'x?'],
  row: ['i', '...entries'],
  scale: ['i', 'c', 'd'],
  swap: ['i', 'k'],
  no_exchange: ['j'],
  combine: ['t', 'p', 'r'],
  unchanged: ['t', 'p'],
  divide: ['i', 'd'],
  quotient: ['j', 'b', 'd', 'x'],
  stage: ['id', 'first?', 'last?', 'j?'],
};

// What each kind of printout is, by its stage's id: the input printouts name
// the block right of A; the unknowns are no matrix; an elimination frames its
// pivot; the answer is the last printout of a run that ends well.
const stageKinds = {
  inverse_input: { right: 'I' },
  solve_input: { right: 'b' },
  eliminated: { pivot: true },
  backward: { pivot: true },
  inverse_done: { answer: true },
  solution: { answer: true, unknowns: true },
};
const kindOf = (id) => ({ right: null, pivot: false, answer: false, unknowns: false, ...stageKinds[id] });

// Whether run's program still waits for input (runner.js gives a run's status).
export const isWaiting = (run) => run.status === -1;

// Whether a printed entry is zero ('0' or '-0'), and whether it is no finite
// number at all (inf, nan and their signed forms, as C prints them).
export const isZero = (printed) => printed === '0' || printed === '-0';
export const isNonFinite = (printed) => /^[+-]?(inf|nan)/.test(printed);

// One field of a report line: a number both ways, text, or an integer.
function field(name, value) {
  const at = value.indexOf('=');
  if (at >= 0) return { shown: value.slice(0, at), exact: value.slice(at + 1) };
  return name === 'id' ? value : Number(value);
}

// One line of the report as a record named by reportFields: { name, ...fields }.
export function decode(line) {
  const [name, ...values] = line.split(' ');
  const record = { name };
  for (const [k, fieldName] of (reportFields[name] ?? []).entries()) {
    if (fieldName.startsWith('...')) {
      record[fieldName.slice(3)] = values.slice(k).map((value) => field('', value));
      break;
    }
    const key = fieldName.replace(/\?$/, '');
    record[key] = k < values.length ? field(key, values[k]) : null;
  }
  return record;
}

// The report as the numbers read, the rows as read and the stages in order,
// each with the facts of its kind and the operations written since the stage
// before it.
export function parseReport(text) {
  const report = { reads: [], rows: [], stages: [] };
  let ops = [];
  for (const line of text.split('\n')) {
    if (line === '') continue;
    const record = decode(line);
    if (record.name === 'stage') {
      report.stages.push({ id: record.id, ...kindOf(record.id), first: record.first, last: record.last, column: record.j, ops });
      ops = [];
    } else if (record.name === 'read') report.reads.push(record);
    else if (record.name === 'row') report.rows.push(record.entries);
    else ops.push(Object.freeze(record));
  }
  return report;
}

// The printouts of output, one for each stage of the report, from the first
// "\n\n" on and for as long as the output has the shape of one: "\n\n", the
// rows, then the commentary line (the unknowns: their lines alone).
function parseStages(output, reported) {
  const stages = [];
  let at = output.indexOf('\n\n');
  for (const stage of reported) {
    if (at < 0 || !output.startsWith('\n\n', at)) break;
    const pattern = stage.unknowns ? unknownPattern : rowPattern;
    const lines = [];
    let pos = at + 2;
    for (let end; (end = output.indexOf('\n', pos)) >= 0 && pattern.test(output.slice(pos, end)); pos = end + 1)
      lines.push(output.slice(pos, end));
    let line = null;
    if (!stage.unknowns) {
      const end = output.indexOf('\n', pos);
      if (end < 0) break;
      [line, pos] = [output.slice(pos, end), end + 1];
    }
    const rows = lines.map((l) => (stage.unknowns ? [unknownPattern.exec(l)[1]] : l.slice(0, -1).split('\t')));
    stages.push({ ...stage, k: stages.length, at, rows, line, text: output.slice(at, pos) });
    at = pos;
  }
  return stages;
}

// Each printed column's block and its column there: A's n columns, then the
// block that the first printout names.
function blocks(stage, n, right) {
  if (stage.unknowns) return [];
  return (stage.rows[0] ?? []).map((_, c) => {
    const column = stage.first - 1 + c;
    return column < n ? { block: 'A', j: column + 1 } : { block: right, j: column - n + 1 };
  });
}

// For each printout, which entries are printed otherwise than in the printout
// of the same shape before it (the first of its shape has none), its blocks and
// its pivot.
function describe(stages, n) {
  const last = new Map();
  const right = stages[0]?.right ?? 'I';
  return stages.map((stage) => {
    const shape = stage.unknowns ? 'x' : `${stage.rows.length}x${stage.rows[0]?.length}`;
    const before = last.get(shape);
    last.set(shape, stage.rows);
    const changed = stage.rows.map((row, r) => row.map((entry, c) => !stage.unknowns && before !== undefined && before[r][c] !== entry));
    const pivot = stage.pivot ? { r: stage.column - 1, c: stage.column - 1 } : null;
    return Object.freeze({ ...stage, changed, pivot, columns: blocks(stage, n, right) });
  });
}

// The pieces of output[from .. to): text, and the printouts that start there.
function outputPieces(output, from, to, stages, pieces) {
  let at = from;
  for (const stage of stages) {
    if (stage.at < from || stage.at >= to) continue;
    if (stage.at > at) pieces.push({ kind: 'text', text: output.slice(at, stage.at) });
    pieces.push({ kind: 'stage', k: stage.k });
    at = stage.at + stage.text.length;
  }
  if (to > at) pieces.push({ kind: 'text', text: output.slice(at, to) });
}

// The dialogue's pieces. Those of the entries that previous (an earlier run of
// the same session) had already echoed are taken over as they are.
function dialogue(run, stages, previous) {
  const bounds = [...run.stops, [run.output.length, run.errors.length]];
  const reuse = previous && previous.run.session === run.session ? previous.run.entries.length : 0;
  const pieces = previous ? previous.pieces.slice(0, reuse > 0 ? previous.settled : 0) : [];
  let settled = pieces.length;
  let [out, err] = reuse > 0 ? bounds[reuse - 1] : [0, 0];
  for (let k = reuse; k < bounds.length; k++) {
    const [outEnd, errEnd] = bounds[k];
    outputPieces(run.output, out, outEnd, stages, pieces);
    if (errEnd > err) pieces.push({ kind: 'error', text: run.errors.slice(err, errEnd) });
    if (k < run.entries.length) {
      pieces.push({ kind: 'echo', text: run.entries[k] });
      settled = pieces.length;
    }
    [out, err] = [outEnd, errEnd];
  }
  if (!isWaiting(run)) pieces.push({ kind: 'exit', status: run.status });
  return { pieces: Object.freeze(pieces.map(Object.freeze)), settled };
}

// The smallest magnitude of a double with all 53 bits: below it the double of a
// typed number may be far from it (3e-324 is read as 4.94066e-324).
const smallestNormal = 2 ** -1022;

// Whether the double stored for a decimal stands for it, as a double stands for
// 0.1: finite, zero just when the decimal is, and held to all 53 bits.
function faithful(value, double) {
  if (!Number.isFinite(double)) return false;
  return value.n === 0n ? double === 0 : Math.abs(double) >= smallestNormal;
}

// Whether each number was read as typed, so that the replay may start from the
// typed decimals (0.1 is 1/10): { readable: true, start } with the start matrix,
// or { readable: false, why }.
function judge(report, reads) {
  const odd = report.rows.flatMap((row, r) => row.filter((x) => !Number.isFinite(Number(x.exact))).map((x) => ({ value: x.shown, row: r + 1 })));
  if (odd.length > 0) return { readable: false, why: odd[0] };
  const start = report.rows.map((row) => row.map((x) => parseDecimal(x.exact)));
  // Until the matrix is complete its rows are not reported, and nothing is judged.
  for (const read of start.length > 0 ? reads : []) {
    if (read.number === null) return { readable: false, why: read.text.trim() === '' && read.end ? { missing: true } : { token: read.shown } };
    const value = parseDecimal(read.text);
    const double = Number(read.number.exact);
    if (value === null || Number(read.text) !== double || !faithful(value, double)) return { readable: false, why: { token: read.shown } };
    start[read.row - 1][read.column - 1] = value;
  }
  return { readable: true, start };
}

// Each number that a row prompt read, with the text it was read from. A
// failed read may have consumed nothing: its quote is then the text that stood
// there, up to the next blank.
function readsOf(report, input) {
  const bytes = encoder.encode(input);
  return report.reads.map(({ i, j, at, size, x }) => {
    const text = decoder.decode(bytes.subarray(at, at + size));
    const rest = size > 0 ? text : decoder.decode(bytes.subarray(at, at + 4 * tokenShown)).trim().split(/\s/)[0];
    const shown = rest.length > tokenShown ? rest.slice(0, tokenShown) + '…' : rest;
    return { row: i, column: j, text, number: x, shown, end: at + size >= bytes.length };
  });
}

// The model of run; previous, the model of an earlier run of the same session,
// lends its pieces.
export function model(run, previous = null) {
  const report = parseReport(run.report);
  const n = report.rows.length;
  const stages = describe(parseStages(run.output, report.stages), n);
  const { pieces, settled } = dialogue(run, stages, previous);
  // The reads and the verdict are worked out when first asked for, after the
  // pane is painted: an Enter has enough to do.
  let reads = null;
  let verdict = null;
  return Object.freeze({
    run, pieces, settled, stages: Object.freeze(stages), n, exact: null,
    get reads() { return (reads ??= readsOf(report, run.input)); },
    get verdict() { return (verdict ??= judge(report, this.reads)); },
  });
}

// The model with the exact replay's result: { stages, stop, tooLarge } (exact.js).
export function withExact(m, exact) {
  return Object.freeze({ ...m, exact });
}

// The replay of a model's run in exact arithmetic, to be stepped (exact.js);
// null when there is nothing to replay or the numbers were not read as typed.
export function replay(m) {
  if (m.stages.length === 0 || !m.verdict.readable) return null;
  return replayExactly(m.verdict.start, m.stages);
}

// m with its exact values, the replay run to its end in one go: for the
// exercises' generator and for tests, which wait for them; the page's own runs
// are replayed in slices (page/draw.js).
export function replayed(m) {
  const job = replay(m);
  if (job === null) return m;
  while (!job.step(Infinity));
  return withExact(m, job.result);
}

// The column of the matrix that column c of stage's printout shows (0-based).
const matrixColumn = (stage, c) => (stage.unknowns ? 0 : stage.first - 1 + c);

// Whether entry r, c (0-based) of stage k's printout is a rounding residue: it
// prints as a finite nonzero number, and is exactly 0.
export function residue(m, k, r, c) {
  const values = m.exact && m.exact.stages[k];
  const printed = m.stages[k].rows[r][c];
  return Boolean(values) && !isNonFinite(printed) && !isZero(printed) && values.zero(r, matrixColumn(m.stages[k], c));
}

// Entry r, c of stage k's printout: its printed text and what the exact replay
// says of it, { printed, state, value, residue, nonFinite }: state is 'pending'
// before the replay, 'none' for a run without an exact view, 'tooLarge',
// 'past' after a division by an exact zero, else 'exact', with value.
export function entry(m, k, r, c) {
  const printed = m.stages[k].rows[r][c];
  const described = { printed, state: 'pending', value: null, residue: false, nonFinite: isNonFinite(printed) };
  if (!m.verdict.readable) return { ...described, state: 'none' };
  if (m.exact === null) return described;
  const values = m.exact.stages[k];
  if (!values) return { ...described, state: m.exact.stop ? 'past' : 'tooLarge' };
  const value = values.entry(r, matrixColumn(m.stages[k], c));
  return { ...described, state: 'exact', value, residue: residue(m, k, r, c) };
}

// The exact value of entry r, c of stage k, or null where there is none.
export function valueAt(m, k, r, c) {
  const e = entry(m, k, r, c);
  return e.state === 'exact' ? e.value : null;
}

// The divisor at the exact replay's stop as the transcript printed it: the
// operation's own number, or for a combination a[t][p] of the printout before.
export function stopDivisor(m) {
  const { stage, op } = m.exact.stop;
  return op.name === 'combine' ? m.stages[stage - 1].rows[op.t - 1][op.p - 1] : op.d.shown;
}

// The exact values of the numbers that op of stage k names, worked out from the
// printout before it: r = a[p][p] ÷ a[t][p] of a combination, the divisor d of
// a scaling or a division, and b, d and x = b ÷ d of an unknown (x its own).
// A number without an exact value (before the replay, past its stop, r where
// a[t][p] is 0) is left out.
export function exactNumbers(m, k, op) {
  const before = (r, c) => valueAt(m, k - 1, r - 1, c - 1);
  const quotient = (a, b) => (a && b ? divide(a, b) : null);
  const found = {
    combine: () => ({ r: quotient(before(op.p, op.p), before(op.t, op.p)) }),
    scale: () => ({ d: before(op.i, op.c) }),
    divide: () => ({ d: before(op.i, op.i) }),
    quotient: () => ({ b: before(op.j, m.stages[k - 1].rows[0].length), d: before(op.j, op.j), x: valueAt(m, k, op.j - 1, 0) }),
  }[op.name]?.() ?? {};
  return Object.fromEntries(Object.entries(found).filter(([, value]) => value));
}
