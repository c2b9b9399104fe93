// The operation report of a run (web/bridge.cpp), the printouts of its
// transcript, and the replay of the report's operations in exact rational
// arithmetic. Nothing here touches the page, so that node can test it.
'use strict';

const exact = (() => {
  // A rational number: numerator n and denominator d > 0 as BigInts, in lowest terms.
  function gcd(a, b) {
    if (a < 0n) a = -a;
    if (b < 0n) b = -b;
    while (b !== 0n) [a, b] = [b, a % b];
    return a;
  }

  function fraction(n, d = 1n) {
    if (d === 0n) throw new RangeError('division by zero');
    if (d < 0n) [n, d] = [-n, -d];
    const g = gcd(n, d);
    return g > 1n ? { n: n / g, d: d / g } : { n, d };
  }

  const sub = (x, y) => fraction(x.n * y.d - y.n * x.d, x.d * y.d);
  const mul = (x, y) => fraction(x.n * y.n, x.d * y.d);
  const div = (x, y) => fraction(x.n * y.d, x.d * y.n);
  const isZero = (x) => x.n === 0n;

  // "3/5", "-1/5", "2", "0".
  function format(x) {
    return x.d === 1n ? String(x.n) : `${x.n}/${x.d}`;
  }

  // The exact value of a decimal such as "-12.5", ".5" or "1e-05"; null for
  // anything else (nan, inf, hexadecimal, text).
  function parseDecimal(text) {
    const m = /^([+-]?)(\d*)(?:\.(\d*))?(?:[eE]([+-]?\d+))?$/.exec(text);
    if (!m || (m[2] + (m[3] ?? '')) === '') return null;
    const fractionDigits = m[3] ?? '';
    let n = BigInt(m[2] + fractionDigits);
    if (m[1] === '-') n = -n;
    const shift = Number(m[4] ?? 0) - fractionDigits.length;
    return shift >= 0 ? fraction(n * 10n ** BigInt(shift)) : fraction(n, 10n ** BigInt(-shift));
  }

  // The number the user typed, from its "%.17g" form in the report: the shortest
  // decimal that reads back as the same double, so that 0.1 is 1/10. Null when it
  // is not a finite number.
  function typedValue(text) {
    const value = Number(text);
    return Number.isFinite(value) ? parseDecimal(String(value)) : null;
  }

  // A report line's fields: the operation's name, then its rows and columns
  // (1-based) and its numbers, each as printed and exactly.
  function parseLine(line) {
    const [name, ...fields] = line.split(' ');
    const op = { name, places: [], numbers: [] };
    for (const field of fields) {
      const at = field.indexOf('=');
      if (at < 0) op.places.push(Number(field));
      else op.numbers.push({ shown: field.slice(0, at), exact: field.slice(at + 1) });
    }
    return op;
  }

  // The report as the rows read and the stages in order, each with its id and the
  // operations written since the stage before it. Where a stage works on one
  // column (a pivot pass or an elimination), column holds it, 1-based.
  function parseReport(text) {
    const rows = [];
    const stages = [];
    let ops = [];
    let passes = 0;
    for (const line of text.split('\n')) {
      if (line === '') continue;
      const op = parseLine(line);
      if (op.name === 'row') {
        rows.push(op.numbers);
      } else if (op.name === 'stage') {
        const id = line.split(' ')[1];
        const combining = ops.find((o) => o.name === 'combine' || o.name === 'unchanged');
        let column = combining ? combining.places[1] : null;
        if (id === 'pivoted') column = ++passes;
        stages.push({ id, ops, column, pivot: combining ? column : null });
        ops = [];
      } else {
        ops.push(op);
      }
    }
    return { rows, stages };
  }

  // The printouts of a transcript in order: a matrix as its rows of printed
  // entries, or gjsolve's unknowns as { unknowns: [printed x1, ...] }.
  function parsePrintouts(text) {
    const printouts = [];
    let last = null;
    for (const line of text.split('\n')) {
      const unknown = /^x\d+=(.*)$/.exec(line);
      if (/^([^\t]+\t)+$/.test(line)) {
        if (!last || !last.rows) printouts.push((last = { rows: [] }));
        last.rows.push(line.slice(0, -1).split('\t'));
      } else if (unknown) {
        if (!last || !last.unknowns) printouts.push((last = { unknowns: [] }));
        last.unknowns.push(unknown[1]);
      } else {
        last = null;
      }
    }
    return printouts;
  }

  // The first entry of A that the replay cannot take as the program took it:
  // { row, value } for a number that is not finite, { token } for typed text that
  // is not a plain decimal of the same value, { missing: true } when the input
  // ended before an entry; null when all is well. typed is everything typed, the
  // order first; count is how many entries of each row were typed.
  function unreadable(rows, typed, count) {
    for (const [i, row] of rows.entries())
      for (const entry of row)
        if (typedValue(entry.exact) === null) return { row: i + 1, value: entry.shown };
    // The order is read as its digits alone (core/dialogue.cpp): "2.5" is 2, then .5.
    const tokens = typed.replace(/^\s*[+-]?\d+/, '').split(/\s+/).filter((token) => token !== '');
    let k = 0;
    for (const row of rows) {
      for (const entry of row.slice(0, count)) {
        const token = tokens[k++];
        if (token === undefined) return { missing: true };
        if (parseDecimal(token) === null || Number(token) !== Number(entry.exact)) return { token };
      }
    }
    return null;
  }

  // Whether the first n columns of rows, as exact values, make a singular matrix.
  function singular(rows, n) {
    const m = rows.map((row) => row.slice(0, n));
    for (let j = 0; j < n; ++j) {
      const p = m.findIndex((row, i) => i >= j && !isZero(row[j]));
      if (p < 0) return true;
      [m[j], m[p]] = [m[p], m[j]];
      for (let i = j + 1; i < n; ++i) {
        const r = div(m[i][j], m[j][j]);
        m[i] = m[i].map((x, c) => sub(x, mul(r, m[j][c])));
      }
    }
    return false;
  }

  // Replays the report's operations on the typed values of its rows, exactly.
  // Returns, for each stage, the matrix after it (for gjsolve's solution, the
  // unknowns), or null from the stage that would divide by an exact zero on.
  // stop describes that division: the stage's index, the entry divided by
  // (1-based), the divisor as the report printed it (null for a combination,
  // whose report holds r instead), and whether the typed matrix is singular;
  // null when the replay ran to the end.
  function replay(report) {
    const typed = report.rows.map((row) => row.map((entry) => typedValue(entry.exact)));
    const n = typed.length;
    const m = typed.map((row) => row.slice());
    const values = [];
    const unknowns = [];
    let stop = null;

    // Divides by entry (i, c), 1-based, of m; false, with stop set, if it is exactly 0.
    const divisor = (k, i, c, shown) => {
      const d = m[i - 1][c - 1];
      if (isZero(d)) stop = { stage: k, row: i, column: c, shown };
      return d;
    };
    const operations = {
      scale: (k, [i, c], [d]) => {
        const by = divisor(k, i, c, d.shown);
        if (!stop) m[i - 1] = m[i - 1].map((x) => div(x, by));
      },
      swap: (k, [i, j]) => { [m[i - 1], m[j - 1]] = [m[j - 1], m[i - 1]]; },
      combine: (k, [t, p]) => {
        const by = divisor(k, t, p, null);
        if (stop) return;
        const r = div(m[p - 1][p - 1], by);
        m[t - 1] = m[p - 1].map((x, c) => sub(x, mul(r, m[t - 1][c])));
      },
      divide: (k, [i], [d]) => {
        const by = divisor(k, i, i, d.shown);
        if (!stop) m[i - 1] = m[i - 1].map((x) => div(x, by));
      },
      quotient: (k, [j], [, d]) => {
        const by = divisor(k, j, j, d.shown);
        if (!stop) unknowns[j - 1] = div(m[j - 1][n], by);
      },
    };
    report.stages.forEach((stage, k) => {
      for (const op of stage.ops) {
        if (stop) break;
        operations[op.name]?.(k, op.places, op.numbers);
      }
      if (stop) values.push(null);
      else values.push(stage.id === 'solution' ? unknowns.slice() : m.map((row) => row.slice()));
    });
    if (stop) stop.singular = singular(typed, n);
    return { values, stop };
  }

  return { fraction, format, isZero, parseDecimal, typedValue, parseReport, parsePrintouts, unreadable, singular, replay };
})();

if (typeof module === 'object' && module.exports) module.exports = exact;
