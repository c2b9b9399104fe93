// Practice's answer key and checker: the questions that each stage of a run asks
// of a learner, with the program's own answers and the slips worth naming, all
// taken from the model of the run (model.js); reading what the learner typed; and
// the verdict on it. Nothing here touches the page, so that node can test it.
//
// A question: { key, kind, label: { id, values }, expected, slips }, where kind is
//   'divisor' a row's divisor of a scaling or a division, 'x' an unknown, or
//   'entry' an entry of the printout: expected { printed, exact, hull }, the
//             number as the program printed it, its exact value (a rational,
//             or null before the exact replay) and the interval of what hand
//             work on the printed numbers gives (or null);
//   'r'       the same, or { alone: true } for a row that the elimination leaves
//             alone, which the learner says with a button of its own;
//   'order'   expected { order }: the rows after a pivot pass, top to bottom, by
//             their numbers before it;
//   'invertible' expected { invertible }: whether A is invertible (for
//             gjsolve, whether the system has exactly one solution), asked
//             where the exact replay divides by an exact zero.
// The decisions are every kind but 'entry'.
// A slip: { slip, printed, exact } (an answer that prints or equals this has it),
// { slip, order }, or { slip, otherwise: true } (every wrong number has it).
import { parseDecimal, divide, multiply, subtract, negate, magnitude, equal, format, approximate } from './exact.js';
import { ofPrinted, rounding, significantDigits, difference, product, quotient, hull, meets, holds, near } from './interval.js';
import { valueAt, isZero, isNonFinite } from './model.js';
import { printed as asPrinted } from './runner.js';

// Text as a keyboard may give it, in the forms read: NFKC (full-width digits,
// signs and slash, the ideographic space), the minus sign U+2212 as '-', one
// blank for any run of them, none after a leading sign.
export const plain = (text) =>
  text.normalize('NFKC').replace(/\u2212/g, '-').trim().replace(/\s+/g, ' ').replace(/^([+-]) /, '$1');

const nonFiniteWord = /^([+-]?)(inf|infinity|∞|nan)$/;

// What the learner typed as a number: a decimal (-2, .5, 1e-05) or a fraction
// of two (1/3, -2.5/3), { value, double, decimal }, decimal the text for a
// decimal alone, else null; or a non-finite number as printed (inf, -inf,
// nan), as ∞, Infinity or NaN, or as a division by 0 (1/0, -1/0, 0/0), with
// value null; or null for anything else.
export function read(text) {
  const typed = plain(text);
  const word = nonFiniteWord.exec(typed.toLowerCase());
  if (word) return { value: null, double: word[2] === 'nan' ? NaN : word[1] === '-' ? -Infinity : Infinity, decimal: null };
  const parts = typed.split('/').map((part) => part.trim());
  if (parts.length > 2) return null;
  const [top, bottom = '1'] = parts;
  const [a, b] = [parseDecimal(top), parseDecimal(bottom)];
  if (a === null || b === null) return null;
  return { value: divide(a, b), double: Number(top) / Number(bottom), decimal: parts.length === 1 ? top : null };
}

// Whether a non-finite number read is the one printed (any NaN for nan or -nan).
const sameNonFinite = (double, printed) =>
  isNonFinite(printed) && (printed.endsWith('nan') ? Number.isNaN(double) : double === (printed.startsWith('-') ? -Infinity : Infinity));

// Whether a number read is expected ({ printed, exact }): it prints as the
// program printed it, or it is the exact value. note says what to tell: that
// 0 counts for -0, or that the program printed a rounding residue.
export function compare(answer, expected) {
  const { printed, exact } = expected;
  if (asPrinted(answer.double) === printed) return { right: true, note: null };
  const zero = isZero(printed);
  if (exact ? !equal(answer.value, exact) : !(zero && answer.value.n === 0n)) return { right: false, note: null };
  return { right: true, note: printed === '-0' ? 'negativeZero' : exact && exact.n === 0n && !zero ? 'residue' : null };
}

// The order of rows 1 .. n after stage's pivot pass, by their numbers before it.
export function passOrder(stage, n) {
  const order = Array.from({ length: n }, (_, k) => k + 1);
  for (const op of stage.ops)
    if (op.name === 'swap') [order[op.i - 1], order[op.k - 1]] = [order[op.k - 1], order[op.i - 1]];
  return order;
}

// The order after moving the row that the pass brings to row j into it by one exchange.
export function oneExchange(order, j) {
  const moved = order[j - 1];
  const exchanged = order.map((_, k) => k + 1);
  [exchanged[j - 1], exchanged[moved - 1]] = [moved, j];
  return exchanged;
}

// An order as typed: row numbers separated by blanks or commas, or, below ten
// rows, digits alone ("312"); null unless each of 1 .. n comes once.
export function readOrder(text, n) {
  let items = plain(text).split(/[\s,]+/);
  if (items.length === 1 && n < 10 && /^\d+$/.test(items[0])) items = [...items[0]];
  const order = items.map(Number);
  const complete = order.length === n && order.every((x, k) => Number.isInteger(x) && x >= 1 && x <= n && order.indexOf(x) === k);
  return complete ? order : null;
}

const negated = (slip, { printed, exact }) =>
  ({ slip, printed: printed.startsWith('-') ? printed.slice(1) : '-' + printed, exact: exact && negate(exact) });

// The entry of printout k at row i and column j of the matrix (0-based), as
// the interval of the numbers that print so; null for inf or nan.
function printedAt(m, k, i, j) {
  const stage = m.stages[k];
  return ofPrinted(stage.rows[i][j - stage.first + 1]);
}

// The interval of a / b, or null where either is unbounded.
const over = (a, b) => (a && b ? quotient(a, b) : null);

// r = a[p][p] / a[t][p] of stage k's combination op, from the printout before.
const handR = (m, k, { t, p }) => over(printedAt(m, k - 1, p - 1, p - 1), printedAt(m, k - 1, t - 1, p - 1));

// What hand work on the printed numbers of the printout before stage k gives
// for entry r, c of its printout (0-based): every result of the stage's own
// operation on numbers that print as those do, with, for an elimination, r
// as printed or as worked out from that printout. Null where that has no bound.
function handEntry(m, k, r, c) {
  const stage = m.stages[k];
  const at = (i, j) => printedAt(m, k - 1, i, j);
  const column = stage.unknowns ? m.n : stage.first - 1 + c;
  if (stage.id === 'pivoted') return at(passOrder(stage, m.n)[r] - 1, column);
  if (stage.unknowns) return over(at(r, m.n), at(r, r));
  const op = rowOperation(stage, r + 1);
  if (!op || op.name === 'unchanged') return at(r, column);
  if (op.name === 'scale') return over(at(r, column), at(r, op.c - 1));
  if (op.name === 'divide') return over(at(r, column), at(r, r));
  const [printedR, workedR] = [ofPrinted(op.r.shown), handR(m, k, op)];
  const ratio = printedR && workedR ? hull(printedR, workedR) : printedR ?? workedR;
  const [pivot, target] = [at(op.p - 1, column), at(r, column)];
  return ratio && pivot && target ? difference(pivot, product(ratio, target)) : null;
}

// The slip of row i scaled by column c's entry printed as d, were it scaled by
// another: 'leftmost' when a later entry has the same magnitude, 'sign' when
// d is negative (its magnitude drops the sign), else null.
function scaleSlip(m, k, i, c, d) {
  const row = m.stages[k].rows[i - 1];
  const size = (col) => {
    const v = valueAt(m, k - 1, i - 1, col);
    return v ? format(magnitude(v)) : row[col].replace(/^-/, '');
  };
  if (row.some((x, col) => col !== c - 1 && x !== row[c - 1] && size(col) === size(c - 1))) return 'leftmost';
  return d.startsWith('-') ? 'sign' : null;
}

const number = (kind, key, label, expected, slips = []) => ({ key, kind, label, expected, slips });

// Whether a question is a decision rather than an entry of the printout.
export const isDecision = (question) => question.kind !== 'entry';

// The decisions that each kind of stage asks for, in the order of its operations.
const decisions = {
  scaled: (m, k) => m.stages[k].ops.filter((op) => op.name === 'scale').map(({ i, c, d }) => {
    const expected = { printed: d.shown, exact: valueAt(m, k - 1, i - 1, c - 1), hull: printedAt(m, k - 1, i - 1, c - 1) };
    const slip = scaleSlip(m, k, i, c, d.shown);
    return number('divisor', `divisor ${i}`, { id: 'practice.q.divisor', values: { i } }, expected, slip ? [negated(slip, expected)] : []);
  }),
  pivoted: (m, k) => {
    const stage = m.stages[k];
    const order = passOrder(stage, m.n);
    const slip = oneExchange(order, stage.column);
    return [{ key: 'order', kind: 'order', label: { id: 'practice.q.order', values: { j: stage.column } }, expected: { order },
              slips: [{ slip: 'oneExchange', order: slip }] }];
  },
  eliminated: (m, k) => m.stages[k].ops.filter((op) => op.name === 'combine' || op.name === 'unchanged').map((op) => {
    const { t, p } = op;
    const label = { id: 'practice.q.r', values: { t, p } };
    if (op.name === 'unchanged') return { key: `r ${t}`, kind: 'r', label, expected: { alone: true }, slips: [] };
    const [pp, tp] = [valueAt(m, k - 1, p - 1, p - 1), valueAt(m, k - 1, t - 1, p - 1)];
    const exact = pp && tp && divide(pp, tp);
    const inverted = { slip: 'inverted', printed: asPrinted(1 / Number(op.r.exact)), exact: pp && tp && divide(tp, pp) };
    return number('r', `r ${t}`, label, { printed: op.r.shown, exact, hull: handR(m, k, op) }, [inverted]);
  }),
  normalized: (m, k) => m.stages[k].ops.filter((op) => op.name === 'divide').map(({ i, d }) => {
    const expected = { printed: d.shown, exact: valueAt(m, k - 1, i - 1, i - 1), hull: printedAt(m, k - 1, i - 1, i - 1) };
    return number('divisor', `divisor ${i}`, { id: 'practice.q.divisor', values: { i } }, expected,
                  d.shown.startsWith('-') ? [negated('sign', expected)] : []);
  }),
  solution: (m, k) => m.stages[k].rows.map(([x], r) =>
    number('x', `x ${r + 1}`, { id: 'practice.q.x', values: { j: r + 1 } }, { printed: x, exact: valueAt(m, k, r, 0), hull: handEntry(m, k, r, 0) })),
};
decisions.backward = decisions.eliminated;

// The operation of stage k that makes row i (1-based) of its printout, if any.
const rowOperation = (stage, i) => stage.ops.find((op) =>
  (['scale', 'divide'].includes(op.name) && op.i === i) || (['combine', 'unchanged'].includes(op.name) && op.t === i));

// The slips that entry r, c of stage k may show: a row scaled or divided by
// the wrong sign, a row eliminated in the textbook's form, a row changed that
// the elimination leaves alone.
function entrySlips(m, k, r, c, expected) {
  const op = rowOperation(m.stages[k], r + 1);
  if (!op) return [];
  if (op.name === 'scale') {
    const slip = scaleSlip(m, k, r + 1, op.c, op.d.shown);
    return slip ? [negated(slip, expected)] : [];
  }
  if (op.name === 'divide') return op.d.shown.startsWith('-') ? [negated('sign', expected)] : [];
  if (op.name === 'unchanged') return [{ slip: 'changedZero', otherwise: true }];
  const p = op.p;
  const [tc, tp, pp, pc] = [[r, c], [r, p - 1], [p - 1, p - 1], [p - 1, c]].map(([i, j]) => valueAt(m, k - 1, i, j));
  if (!(tc && tp && pp && pc) || pp.n === 0n) return [];
  const textbook = subtract(tc, multiply(divide(tp, pp), pc));
  return [{ slip: 'textbook', printed: asPrinted(approximate(textbook)), exact: textbook }];
}

// The row whose entries are asked by default: the first with an entry printed
// otherwise than before the stage, else the first.
const firstChanged = (stage) => Math.max(0, stage.changed.findIndex((row) => row.includes(true)));

// The entries asked of stage k: those of fill 'all' rows, of 'row' one, of
// 'none' none; the answer's printout is asked whole, and the unknowns are decisions.
function entryQuestions(m, k, fill) {
  const stage = m.stages[k];
  if (stage.unknowns) return [];
  const rows = stage.answer || fill === 'all' ? stage.rows.map((_, r) => r)
    : fill === 'row' && stage.rows.length > 0 ? [firstChanged(stage)] : [];
  return rows.flatMap((r) => stage.rows[r].map((printed, c) => {
    const expected = { printed, exact: valueAt(m, k, r, c), hull: handEntry(m, k, r, c) };
    const label = { id: 'practice.q.entry', values: { r: r + 1, c: c + 1, stage: stage.id } };
    return number('entry', `entry ${r + 1} ${c + 1}`, label, expected, entrySlips(m, k, r, c, expected));
  }));
}

// Every question of stage k, its decisions first.
export function questions(m, k, fill) {
  const ask = decisions[m.stages[k].id];
  return [...(ask ? ask(m, k) : []), ...entryQuestions(m, k, fill)];
}

// The question that the stage where the exact replay divides by an exact zero
// asks first: whether A is invertible (for gjsolve, whether the system has
// exactly one solution), the exact replay's verdict its answer; else null.
export function invertibility(m, k) {
  const stop = m.exact?.stop;
  if (!stop || stop.stage !== k) return null;
  const id = m.run.program === 'gjsolve' ? 'practice.q.unique' : 'practice.q.invertible';
  return { key: 'invertible', kind: 'invertible', label: { id, values: {} }, expected: { invertible: !stop.singular }, slips: [] };
}

// What an r field takes for "left alone", besides 0, in either language.
const aloneWords = ['alone', 'left alone', '그대로'];

// How near a wrong number comes: 'closeDigits' when it has fewer significant
// digits than the program prints and the program's value rounds to it;
// 'closeNear' within 1% of what hand work on the printed numbers gives (or of
// the printed number); else null.
function closeness(answer, expected) {
  const digits = answer.decimal === null ? 0 : significantDigits(answer.decimal);
  if (digits > 0 && digits < 6) {
    const agreed = rounding(answer.decimal);
    if ([parseDecimal(expected.printed), expected.exact].some((x) => x && holds(agreed, x))) return 'closeDigits';
  }
  const around = expected.hull ?? ofPrinted(expected.printed);
  return around && near(around, answer.value, '0.01') ? 'closeNear' : null;
}

// Whether a verdict counts against the stage: a close answer is to be carried
// further, not a mistake.
export const isMiss = (verdict) => !verdict.right && !['closeDigits', 'closeNear'].includes(verdict.slip);

// The verdict on an answer ({ text }, { alone: true } for the button that says
// a row is left alone, or { choice: 'yes' | 'no' } for invertibility):
// { right, note, slip }. note is 'fromPrinted' for a number that hand work on
// the printed numbers gives, else as compare() says. slip names the mistake
// where it can be told: one of question.slips, 'notZero' (a row eliminated
// said to be left alone), 'changedZero', 'singular' or 'invertible' (the
// wrong answer to invertibility), 'closeDigits' or 'closeNear' (see
// closeness), 'unreadable' or 'notOrder'; else null.
export function check(question, answer) {
  const right = (note = null) => ({ right: true, note, slip: null });
  const wrong = (slip) => ({ right: false, note: null, slip });
  const { expected } = question;
  if (question.kind === 'order') {
    const order = readOrder(answer.text, expected.order.length);
    if (order === null) return wrong('notOrder');
    if (String(order) === String(expected.order)) return right();
    return wrong(question.slips.find((s) => String(s.order) === String(order))?.slip ?? null);
  }
  if (question.kind === 'invertible')
    return answer.choice === (expected.invertible ? 'yes' : 'no') ? right() : wrong(expected.invertible ? 'invertible' : 'singular');
  if (answer.alone || (question.kind === 'r' && aloneWords.includes(plain(answer.text).toLowerCase())))
    return expected.alone ? right() : wrong('notZero');
  const value = read(answer.text);
  if (value === null) return wrong('unreadable');
  if (expected.alone) return value.value?.n === 0n ? right() : wrong('changedZero');
  if (value.value === null || isNonFinite(expected.printed)) return sameNonFinite(value.double, expected.printed) ? right() : wrong(null);
  const verdict = compare(value, expected);
  if (verdict.right) return { ...verdict, slip: null };
  if (question.kind === 'r' && value.value.n === 0n) return wrong('notZero');
  if (expected.hull && meets(expected.hull, ofPrinted(asPrinted(value.double)))) return right('fromPrinted');
  const named = question.slips.find((s) => s.printed !== undefined && compare(value, s).right);
  return wrong(named?.slip ?? closeness(value, expected) ?? question.slips.find((s) => s.otherwise)?.slip ?? null);
}

// The answer that Show fills in: the printed number, the order, 'alone' (null)
// or the choice.
export const answerOf = (question) =>
  question.kind === 'order' ? question.expected.order.join(' ')
    : question.kind === 'invertible' ? (question.expected.invertible ? 'yes' : 'no')
      : question.expected.alone ? null : question.expected.printed;
