// The model of a run: what every view of the page shows, built from one run
// (runner.js) by one pure function. It is the only reader of the transcript and
// of the operation report (core/report.hpp); nothing here touches the page, so
// that node can test it.
//
// A model holds:
//   run       the run it was built from
//   pieces    the dialogue in the order a console shows it: { kind: 'text' |
//             'echo' | 'error', text }, { kind: 'stage', k } and, once the run is
//             over, { kind: 'exit', status }. The pieces of a longer run of the
//             same session start with those of the shorter runs before it.
//   stages    per printout: id; column, the column that a pivot pass or an
//             elimination works on (1-based), else null; first and last, the
//             columns of the matrix that it shows (1-based); pivot, the place
//             { r, c } of the framed pivot in the printout, or null; rows, the
//             printed entries row by row (gjsolve's unknowns: one entry a row);
//             unknowns, whether it shows the unknowns; line, its commentary line
//             without the newline, or null; text, its output; changed[r][c],
//             whether the entry is printed otherwise than in the printout of the
//             same shape before it; ops, its operations ({ name, places,
//             numbers: [{ shown, exact }] }, places 1-based)
//   reads     each number that a row prompt read: { row, column, text, number }
//             (number null for a failed read)
//   verdict   whether the exact replay can take the numbers as typed:
//             { readable: true, start } or { readable: false, why: { value, row }
//             | { token } | { missing: true } }
//   exact     null until the replay has run (withExact): { stages, stop, tooLarge }
'use strict';
var GJ = globalThis.GJ = globalThis.GJ || {};

GJ.model = (() => {
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();
  const rowPattern = /^(?:[^\t\n]+\t)+$/;  // a printed matrix row, "%g\t" a column
  const unknownPattern = /^x\d+=(.*)$/;
  const tokenShown = 40;                   // characters of an unreadable token quoted

  // One report line's fields after its name: places, plain integers, and
  // numbers, each written as printed and exactly ("0.5=0.5").
  function parseFields(fields) {
    const op = { places: [], numbers: [] };
    for (const field of fields) {
      const at = field.indexOf('=');
      if (at < 0) op.places.push(Number(field));
      else op.numbers.push({ shown: field.slice(0, at), exact: field.slice(at + 1) });
    }
    return op;
  }

  // The report as the numbers read, the rows as read and the stages in order,
  // each with the operations written since the stage before it.
  function parseReport(text) {
    const report = { reads: [], rows: [], stages: [] };
    let ops = [];
    for (const line of text.split('\n')) {
      if (line === '') continue;
      const [name, ...fields] = line.split(' ');
      if (name === 'stage') {
        const [first = null, last = null, column = null] = fields.slice(1).map(Number);
        report.stages.push({ id: fields[0], first, last, column, ops });
        ops = [];
        continue;
      }
      const op = { name, ...parseFields(fields) };
      if (name === 'read') report.reads.push(op);
      else if (name === 'row') report.rows.push(op.numbers);
      else ops.push(op);
    }
    return report;
  }

  // The printouts of output, one for each stage of the report, from the first
  // "\n\n" on and for as long as the output has the shape of one: "\n\n", the
  // rows, then the commentary line (gjsolve's solution: its unknowns' lines).
  function parseStages(output, reported) {
    const stages = [];
    let at = output.indexOf('\n\n');
    for (const stage of reported) {
      if (at < 0 || !output.startsWith('\n\n', at)) break;
      const unknowns = stage.id === 'solution';
      const pattern = unknowns ? unknownPattern : rowPattern;
      const lines = [];
      let pos = at + 2;
      for (let end; (end = output.indexOf('\n', pos)) >= 0 && pattern.test(output.slice(pos, end)); pos = end + 1)
        lines.push(output.slice(pos, end));
      let line = null;
      if (!unknowns) {
        const end = output.indexOf('\n', pos);
        if (end < 0) break;
        [line, pos] = [output.slice(pos, end), end + 1];
      }
      const rows = lines.map((l) => (unknowns ? [unknownPattern.exec(l)[1]] : l.slice(0, -1).split('\t')));
      stages.push({ ...stage, k: stages.length, at, rows, unknowns, line, text: output.slice(at, pos) });
      at = pos;
    }
    return stages;
  }

  // For each printout, which entries are printed otherwise than in the printout
  // of the same shape before it; the first of its shape has none.
  function markChanges(stages) {
    const last = new Map();
    return stages.map((stage) => {
      const shape = stage.unknowns ? 'x' : `${stage.rows.length}x${stage.rows[0]?.length}`;
      const before = last.get(shape);
      last.set(shape, stage.rows);
      const changed = stage.rows.map((row, r) => row.map((entry, c) => !stage.unknowns && before !== undefined && before[r][c] !== entry));
      const pivot = stage.id === 'eliminated' || stage.id === 'backward' ? { r: stage.column - 1, c: stage.column - 1 } : null;
      return Object.freeze({ ...stage, changed, pivot });
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
    if (run.status !== -1) pieces.push({ kind: 'exit', status: run.status });
    return { pieces: Object.freeze(pieces.map(Object.freeze)), settled };
  }

  // Whether each number was read as typed, so that the replay may start from the
  // typed decimals (0.1 is 1/10): { readable: true, start } with the start matrix,
  // or { readable: false, why }.
  function judge(report) {
    const firstOdd = report.rows.findIndex((row) => row.some((x) => !Number.isFinite(Number(x.exact))));
    if (firstOdd >= 0) {
      const value = report.rows[firstOdd].find((x) => !Number.isFinite(Number(x.exact))).shown;
      return { readable: false, why: { value, row: firstOdd + 1 } };
    }
    const start = report.rows.map((row) => row.map((x) => GJ.exact.parseDecimal(x.exact)));
    // Until the matrix is complete its rows are not reported, and nothing is judged.
    for (const read of start.length > 0 ? report.reads : []) {
      if (read.number === null) return { readable: false, why: read.text.trim() === '' && read.end ? { missing: true } : { token: read.shown } };
      // The double must be the decimal's: not an overflow, nor an underflow to 0.
      const value = GJ.exact.parseDecimal(read.text);
      const double = Number(read.number.exact);
      if (value === null || Number(read.text) !== double || (value.n === 0n) !== (double === 0))
        return { readable: false, why: { token: read.shown } };
      start[read.row - 1][read.column - 1] = value;
    }
    return { readable: true, start };
  }

  // Each number that a row prompt read, with the text it was read from. A
  // failed read may have consumed nothing: its quote is then the text that stood
  // there, up to the next blank.
  function reads(report, input) {
    const bytes = encoder.encode(input);
    return report.reads.map(({ places: [row, column, at, size], numbers: [number = null] }) => {
      const text = decoder.decode(bytes.subarray(at, at + size));
      const rest = size > 0 ? text : decoder.decode(bytes.subarray(at, at + 4 * tokenShown)).trim().split(/\s/)[0];
      const shown = rest.length > tokenShown ? rest.slice(0, tokenShown) + '…' : rest;
      return { row, column, text, number, shown, end: at + size >= bytes.length };
    });
  }

  // The model of run; previous, the model of an earlier run of the same session,
  // lends its pieces.
  function model(run, previous = null) {
    const report = parseReport(run.report);
    const stages = markChanges(parseStages(run.output, report.stages));
    const { pieces, settled } = dialogue(run, stages, previous);
    // The reads and the verdict are worked out when first asked for, after the
    // pane is painted: an Enter has enough to do.
    let read = null;
    let verdict = null;
    return Object.freeze({
      run, pieces, settled, stages: Object.freeze(stages), n: report.rows.length, exact: null,
      get reads() { return (read ??= reads(report, run.input)); },
      get verdict() { return (verdict ??= judge({ ...report, reads: this.reads })); },
    });
  }

  // The model with the exact replay's result: { stages, stop, tooLarge } (exact.js).
  function withExact(m, exact) {
    return Object.freeze({ ...m, exact });
  }

  // The replay of a model's run in exact arithmetic, to be stepped (exact.js);
  // null when there is nothing to replay or the numbers were not read as typed.
  function replay(m) {
    if (m.stages.length === 0 || !m.verdict.readable) return null;
    return GJ.exact.replay(m.verdict.start, m.stages);
  }

  // m with its exact values, the replay run to its end in one go: for the
  // exercises' generator and for tests, which wait for them; the page's own runs
  // are replayed in slices (page.js).
  function replayed(m) {
    const job = replay(m);
    if (job === null) return m;
    while (!job.step(Infinity));
    return withExact(m, job.result);
  }

  const nonFinite = /^-?(inf|nan)/;
  const matrixColumn = (stage, c) => (stage.unknowns ? 0 : stage.first - 1 + c);

  // Whether entry r, c (0-based) of stage k's printout is a rounding residue: it
  // prints as a finite nonzero number, and is exactly 0.
  function residue(m, k, r, c) {
    const values = m.exact && m.exact.stages[k];
    const printed = m.stages[k].rows[r][c];
    return Boolean(values) && !nonFinite.test(printed) && printed !== '0' && printed !== '-0' &&
      values.zero(r, matrixColumn(m.stages[k], c));
  }

  // Entry r, c of stage k's printout: its printed text and what the exact replay
  // says of it, { printed, state, value, residue, nonFinite }: state is 'pending'
  // before the replay, 'none' for a run without an exact view, 'tooLarge',
  // 'past' after a division by an exact zero, else 'exact', with value.
  function entry(m, k, r, c) {
    const printed = m.stages[k].rows[r][c];
    const described = { printed, state: 'pending', value: null, residue: false, nonFinite: nonFinite.test(printed) };
    if (!m.verdict.readable) return { ...described, state: 'none' };
    if (m.exact === null) return described;
    const values = m.exact.stages[k];
    if (!values) return { ...described, state: m.exact.stop ? 'past' : 'tooLarge' };
    const value = values.entry(r, matrixColumn(m.stages[k], c));
    return { ...described, state: 'exact', value, residue: residue(m, k, r, c) };
  }

  // The divisor at the exact replay's stop as the transcript printed it: the
  // operation's own number, or for a combination a[t][p] of the printout before.
  function stopDivisor(m) {
    const { stage, row, column } = m.exact.stop;
    const divisorAt = { scale: ([i, c]) => [i, c], combine: ([t, p]) => [t, p], divide: ([i]) => [i, i], quotient: ([j]) => [j, j] };
    const op = m.stages[stage].ops.find((o) => divisorAt[o.name] && String(divisorAt[o.name](o.places)) === `${row},${column}`);
    if (op.name === 'combine') return m.stages[stage - 1].rows[row - 1][column - 1];
    return op.numbers[op.name === 'quotient' ? 1 : 0].shown;
  }

  return Object.assign(model, { parseReport, withExact, replay, replayed, residue, entry, stopDivisor });
})();

if (typeof module === 'object' && module.exports) module.exports = GJ.model;
