// Practice's answer key and checker: the questions that each stage of a run asks
// of a learner, with the program's own answers and the slips worth naming, all
// taken from the model of the run (model.js); reading what the learner typed; and
// the verdict on it. Nothing here touches the page, so that node can test it.
//
// A question: { key, kind, label: { id, values }, expected, slips }, where kind is
//   'number'  expected { printed, exact }: the number as the program printed it
//             and its exact value (a rational, or null before the exact replay);
//   'r'       the same, or { alone: true } for a row that the elimination leaves
//             alone, which the learner says with a button of its own;
//   'order'   expected { order }: the rows after a pivot pass, top to bottom, by
//             their numbers before it.
// A slip: { slip, printed, exact } (an answer that prints or equals this has it),
// { slip, order }, or { slip, otherwise: true } (every wrong number has it).
'use strict';
var GJ = globalThis.GJ = globalThis.GJ || {};

GJ.check = (() => {
  const fraction = (n, d) => GJ.exact.fraction(n, d);
  const divide = (a, b) => (b.n === 0n ? null : fraction(a.n * b.d, a.d * b.n));
  const times = (a, b) => fraction(a.n * b.n, a.d * b.d);
  const minus = (a, b) => fraction(a.n * b.d - b.n * a.d, a.d * b.d);
  const same = (a, b) => a.n * b.d === b.n * a.d;
  const approx = (a) => Number(a.n) / Number(a.d);
  const nonFinite = /^-?(inf|nan)/;

  // The exact value of a finite double, as a rational of BigInts.
  function exactOf(x) {
    const view = new DataView(new ArrayBuffer(8));
    view.setFloat64(0, Math.abs(x));
    const bits = view.getBigUint64(0);
    const biased = Number(bits >> 52n);
    const mantissa = (bits & ((1n << 52n) - 1n)) | (biased === 0 ? 0n : 1n << 52n);
    const exponent = biased === 0 ? -1074 : biased - 1075;
    const n = x < 0 ? -mantissa : mantissa;
    return exponent >= 0 ? { n: n << BigInt(exponent), d: 1n } : { n, d: 1n << BigInt(-exponent) };
  }

  // x as C's printf("%g") writes it: six significant digits, rounded half to even
  // on the double's exact binary value (toPrecision rounds such ties otherwise),
  // fixed notation for exponents -4 to 5, else an exponent of at least two digits.
  function printf(x) {
    if (Number.isNaN(x)) return 'nan';
    if (!Number.isFinite(x)) return x < 0 ? '-inf' : 'inf';
    if (x === 0) return Object.is(x, -0) ? '-0' : '0';
    const { n, d } = exactOf(Math.abs(x));
    const ten = (e) => 10n ** BigInt(e);
    const below = (e) => (e >= 0 ? n < ten(e) * d : n * ten(-e) < d);  // |x| < 10^e
    let e = Math.floor(Math.log10(Math.abs(x)));
    while (below(e)) --e;
    while (!below(e + 1)) ++e;
    const [num, den] = e <= 5 ? [n * ten(5 - e), d] : [n, d * ten(e - 5)];
    let m = num / den;
    const twice = 2n * (num - m * den);
    if (twice > den || (twice === den && m % 2n === 1n)) ++m;
    if (m === 1000000n) [m, e] = [100000n, e + 1];
    const digits = String(m);
    const trim = (text) => text.replace(/\.(\d*?)0*$/, (_, kept) => (kept ? '.' + kept : ''));
    const body = e < -4 || e >= 6 ? `${trim(digits[0] + '.' + digits.slice(1))}e${e < 0 ? '-' : '+'}${String(Math.abs(e)).padStart(2, '0')}`
      : e >= 0 ? trim(digits.slice(0, e + 1) + '.' + digits.slice(e + 1)) : trim('0.' + '0'.repeat(-e - 1) + digits);
    return (x < 0 ? '-' : '') + body;
  }

  // What the learner typed as a number: a decimal (-2, .5, 1e-05) or a fraction
  // of two (1/3, -2.5/3): { value, double }, or null for anything else.
  function read(text) {
    const parts = text.trim().replace(/\u2212/g, '-').split('/').map((part) => part.trim());
    if (parts.length > 2) return null;
    const [top, bottom = '1'] = parts;
    const [a, b] = [GJ.exact.parseDecimal(top), GJ.exact.parseDecimal(bottom)];
    if (a === null || b === null || b.n === 0n) return null;
    return { value: divide(a, b), double: Number(top) / Number(bottom) };
  }

  // Whether a number read is expected ({ printed, exact }): it prints as the
  // program printed it, or it is the exact value. note says what to tell: that
  // 0 counts for -0, or that the program printed a rounding residue.
  function compare(answer, expected) {
    const { printed, exact } = expected;
    if (printf(answer.double) === printed) return { right: true, note: null };
    const zero = printed === '0' || printed === '-0';
    if (exact ? !same(answer.value, exact) : !(zero && answer.value.n === 0n)) return { right: false, note: null };
    return { right: true, note: printed === '-0' ? 'negativeZero' : exact && exact.n === 0n && !zero ? 'residue' : null };
  }

  // The order of rows 1 .. n after stage's pivot pass, by their numbers before it.
  function passOrder(stage, n) {
    const order = Array.from({ length: n }, (_, k) => k + 1);
    for (const op of stage.ops)
      if (op.name === 'swap') [order[op.places[0] - 1], order[op.places[1] - 1]] = [order[op.places[1] - 1], order[op.places[0] - 1]];
    return order;
  }

  // The order after moving the row that the pass brings to row j into it by one exchange.
  function oneExchange(order, j) {
    const moved = order[j - 1];
    const plain = order.map((_, k) => k + 1);
    [plain[j - 1], plain[moved - 1]] = [moved, j];
    return plain;
  }

  // An order as typed: row numbers separated by blanks or commas, or, below ten
  // rows, digits alone ("312"); null unless each of 1 .. n comes once.
  function readOrder(text, n) {
    let items = text.trim().split(/[\s,]+/);
    if (items.length === 1 && n < 10 && /^\d+$/.test(items[0])) items = [...items[0]];
    const order = items.map(Number);
    const complete = order.length === n && order.every((x, k) => Number.isInteger(x) && x >= 1 && x <= n && order.indexOf(x) === k);
    return complete ? order : null;
  }

  // The exact value of entry r, c (0-based) of stage k's printout, or null.
  function valueAt(m, k, r, c) {
    const entry = GJ.model.entry(m, k, r, c);
    return entry.state === 'exact' ? entry.value : null;
  }

  const negated = (slip, { printed, exact }) =>
    ({ slip, printed: printed.startsWith('-') ? printed.slice(1) : '-' + printed, exact: exact && { n: -exact.n, d: exact.d } });

  // The slip of row i scaled by column c's entry printed as d, were it scaled by
  // another: 'leftmost' when a later entry has the same magnitude, 'sign' when
  // d is negative (its magnitude drops the sign), else null.
  function scaleSlip(m, k, i, c, d) {
    const row = m.stages[k - 1].rows[i - 1];
    const magnitude = (col) => {
      const v = valueAt(m, k - 1, i - 1, col);
      return v ? `${v.n < 0n ? -v.n : v.n}/${v.d}` : row[col].replace(/^-/, '');
    };
    if (row.some((x, col) => col !== c - 1 && x !== row[c - 1] && magnitude(col) === magnitude(c - 1))) return 'leftmost';
    return d.startsWith('-') ? 'sign' : null;
  }

  const number = (key, label, expected, slips = []) => ({ key, kind: 'number', label, expected, slips });

  // The decisions that each kind of stage asks for, in the order of its operations.
  const decisions = {
    scaled: (m, k) => m.stages[k].ops.filter((op) => op.name === 'scale').map(({ places: [i, c], numbers: [d] }) => {
      const expected = { printed: d.shown, exact: valueAt(m, k - 1, i - 1, c - 1) };
      const slip = scaleSlip(m, k, i, c, d.shown);
      return number(`divisor ${i}`, { id: 'practice.q.divisor', values: { i } }, expected, slip ? [negated(slip, expected)] : []);
    }),
    pivoted: (m, k) => {
      const stage = m.stages[k];
      const order = passOrder(stage, m.n);
      const slip = oneExchange(order, stage.column);
      return [{ key: 'order', kind: 'order', label: { id: 'practice.q.order', values: { j: stage.column } }, expected: { order },
                slips: [{ slip: 'oneExchange', order: slip }] }];
    },
    eliminated: (m, k) => m.stages[k].ops.filter((op) => op.name === 'combine' || op.name === 'unchanged').map((op) => {
      const [t, p] = op.places;
      const label = { id: 'practice.q.r', values: { t, p } };
      if (op.name === 'unchanged') return { key: `r ${t}`, kind: 'r', label, expected: { alone: true }, slips: [] };
      const [pp, tp] = [valueAt(m, k - 1, p - 1, p - 1), valueAt(m, k - 1, t - 1, p - 1)];
      const exact = pp && tp && divide(pp, tp);
      const inverted = { slip: 'inverted', printed: printf(1 / Number(op.numbers[0].exact)), exact: pp && tp && divide(tp, pp) };
      return { ...number(`r ${t}`, label, { printed: op.numbers[0].shown, exact }, [inverted]), kind: 'r' };
    }),
    normalized: (m, k) => m.stages[k].ops.filter((op) => op.name === 'divide').map(({ places: [i], numbers: [d] }) => {
      const expected = { printed: d.shown, exact: valueAt(m, k - 1, i - 1, i - 1) };
      return number(`divisor ${i}`, { id: 'practice.q.divisor', values: { i } }, expected,
                    d.shown.startsWith('-') ? [negated('sign', expected)] : []);
    }),
    solution: (m, k) => m.stages[k].rows.map(([x], r) =>
      number(`x ${r + 1}`, { id: 'practice.q.x', values: { j: r + 1 } }, { printed: x, exact: valueAt(m, k, r, 0) })),
  };
  decisions.backward = decisions.eliminated;

  // The slips that entry r, c of stage k may show: a row scaled or divided by
  // the wrong sign, a row eliminated in the textbook's form, a row changed that
  // the elimination leaves alone.
  function entrySlips(m, k, r, c, expected) {
    const stage = m.stages[k];
    const op = stage.ops.find((o) => ['scale', 'divide', 'combine', 'unchanged'].includes(o.name) && o.places[0] === r + 1);
    if (!op) return [];
    if (op.name === 'scale') {
      const slip = scaleSlip(m, k, r + 1, op.places[1], op.numbers[0].shown);
      return slip ? [negated(slip, expected)] : [];
    }
    if (op.name === 'divide') return op.numbers[0].shown.startsWith('-') ? [negated('sign', expected)] : [];
    if (op.name === 'unchanged') return [{ slip: 'changedZero', otherwise: true }];
    const p = op.places[1];
    const [tc, tp, pp, pc] = [[r, c], [r, p - 1], [p - 1, p - 1], [p - 1, c]].map(([i, j]) => valueAt(m, k - 1, i, j));
    if (!(tc && tp && pp && pc) || pp.n === 0n) return [];
    const textbook = minus(tc, times(divide(tp, pp), pc));
    return [{ slip: 'textbook', printed: printf(approx(textbook)), exact: textbook }];
  }

  // The row whose entries are asked by default: the first with an entry printed
  // otherwise than before the stage, else the first.
  const firstChanged = (stage) => Math.max(0, stage.changed.findIndex((row) => row.includes(true)));

  // The entries asked of stage k: those of fill 'all' rows, of 'row' one, of
  // 'none' none; the inverse is asked whole, and the unknowns are decisions.
  function entryQuestions(m, k, fill) {
    const stage = m.stages[k];
    if (stage.unknowns) return [];
    const rows = stage.id === 'inverse_done' || fill === 'all' ? stage.rows.map((_, r) => r)
      : fill === 'row' && stage.rows.length > 0 ? [firstChanged(stage)] : [];
    return rows.flatMap((r) => stage.rows[r].map((printed, c) => {
      const expected = { printed, exact: valueAt(m, k, r, c) };
      const label = { id: 'practice.q.entry', values: { r: r + 1, c: c + 1, stage: stage.id } };
      return number(`entry ${r + 1} ${c + 1}`, label, expected, entrySlips(m, k, r, c, expected));
    }));
  }

  // Every question of stage k, its decisions first.
  function questions(m, k, fill) {
    const ask = decisions[m.stages[k].id];
    return [...(ask ? ask(m, k) : []), ...entryQuestions(m, k, fill)];
  }

  // The verdict on an answer ({ text }, or { alone: true } for the button that
  // says a row is left alone): { right, note, slip }. slip names the mistake
  // where it can be told: one of question.slips, 'notZero' (a row eliminated
  // said to be left alone), 'unreadable' or 'notOrder'; else null.
  function check(question, answer) {
    const wrong = (slip) => ({ right: false, note: null, slip });
    const { expected } = question;
    if (question.kind === 'order') {
      const order = readOrder(answer.text, expected.order.length);
      if (order === null) return wrong('notOrder');
      if (String(order) === String(expected.order)) return { right: true, note: null, slip: null };
      return wrong(question.slips.find((s) => String(s.order) === String(order))?.slip ?? null);
    }
    if (answer.alone) return expected.alone ? { right: true, note: null, slip: null } : wrong('notZero');
    if (!expected.alone && nonFinite.test(expected.printed) && answer.text.trim().toLowerCase() === expected.printed)
      return { right: true, note: null, slip: null };
    const value = read(answer.text);
    if (value === null) return wrong('unreadable');
    if (expected.alone) return wrong('changedZero');
    const verdict = compare(value, expected);
    if (verdict.right) return { ...verdict, slip: null };
    return wrong(question.slips.find((s) => s.otherwise || (s.printed !== undefined && compare(value, s).right))?.slip ?? null);
  }

  // The answer that Show fills in: the printed number, the order, or 'alone'.
  const answerOf = (question) =>
    question.kind === 'order' ? question.expected.order.join(' ') : question.expected.alone ? null : question.expected.printed;

  return { printf, read, compare, passOrder, oneExchange, readOrder, questions, check, answerOf };
})();

if (typeof module === 'object' && module.exports) module.exports = GJ.check;
