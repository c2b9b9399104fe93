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
import { parseDecimal, divide, multiply, subtract, negate, magnitude, equal, format, approximate } from './exact.js';
import { valueAt, isZero, isNonFinite } from './model.js';
import { printed as printf } from './runner.js';

// What the learner typed as a number: a decimal (-2, .5, 1e-05) or a fraction
// of two (1/3, -2.5/3): { value, double }, or null for anything else.
export function read(text) {
  const parts = text.trim().replace(/\u2212/g, '-').split('/').map((part) => part.trim());
  if (parts.length > 2) return null;
  const [top, bottom = '1'] = parts;
  const [a, b] = [parseDecimal(top), parseDecimal(bottom)];
  if (a === null || b === null || b.n === 0n) return null;
  return { value: divide(a, b), double: Number(top) / Number(bottom) };
}

// Whether a number read is expected ({ printed, exact }): it prints as the
// program printed it, or it is the exact value. note says what to tell: that
// 0 counts for -0, or that the program printed a rounding residue.
export function compare(answer, expected) {
  const { printed, exact } = expected;
  if (printf(answer.double) === printed) return { right: true, note: null };
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
  const plain = order.map((_, k) => k + 1);
  [plain[j - 1], plain[moved - 1]] = [moved, j];
  return plain;
}

// An order as typed: row numbers separated by blanks or commas, or, below ten
// rows, digits alone ("312"); null unless each of 1 .. n comes once.
export function readOrder(text, n) {
  let items = text.trim().split(/[\s,]+/);
  if (items.length === 1 && n < 10 && /^\d+$/.test(items[0])) items = [...items[0]];
  const order = items.map(Number);
  const complete = order.length === n && order.every((x, k) => Number.isInteger(x) && x >= 1 && x <= n && order.indexOf(x) === k);
  return complete ? order : null;
}

const negated = (slip, { printed, exact }) =>
  ({ slip, printed: printed.startsWith('-') ? printed.slice(1) : '-' + printed, exact: exact && negate(exact) });

// The slip of row i scaled by column c's entry printed as d, were it scaled by
// another: 'leftmost' when a later entry has the same magnitude, 'sign' when
// d is negative (its magnitude drops the sign), else null.
function scaleSlip(m, k, i, c, d) {
  const row = m.stages[k - 1].rows[i - 1];
  const size = (col) => {
    const v = valueAt(m, k - 1, i - 1, col);
    return v ? format(magnitude(v)) : row[col].replace(/^-/, '');
  };
  if (row.some((x, col) => col !== c - 1 && x !== row[c - 1] && size(col) === size(c - 1))) return 'leftmost';
  return d.startsWith('-') ? 'sign' : null;
}

const number = (key, label, expected, slips = []) => ({ key, kind: 'number', label, expected, slips });

// The decisions that each kind of stage asks for, in the order of its operations.
const decisions = {
  scaled: (m, k) => m.stages[k].ops.filter((op) => op.name === 'scale').map(({ i, c, d }) => {
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
    const { t, p } = op;
    const label = { id: 'practice.q.r', values: { t, p } };
    if (op.name === 'unchanged') return { key: `r ${t}`, kind: 'r', label, expected: { alone: true }, slips: [] };
    const [pp, tp] = [valueAt(m, k - 1, p - 1, p - 1), valueAt(m, k - 1, t - 1, p - 1)];
    const exact = pp && tp && divide(pp, tp);
    const inverted = { slip: 'inverted', printed: printf(1 / Number(op.r.exact)), exact: pp && tp && divide(tp, pp) };
    return { ...number(`r ${t}`, label, { printed: op.r.shown, exact }, [inverted]), kind: 'r' };
  }),
  normalized: (m, k) => m.stages[k].ops.filter((op) => op.name === 'divide').map(({ i, d }) => {
    const expected = { printed: d.shown, exact: valueAt(m, k - 1, i - 1, i - 1) };
    return number(`divisor ${i}`, { id: 'practice.q.divisor', values: { i } }, expected,
                  d.shown.startsWith('-') ? [negated('sign', expected)] : []);
  }),
  solution: (m, k) => m.stages[k].rows.map(([x], r) =>
    number(`x ${r + 1}`, { id: 'practice.q.x', values: { j: r + 1 } }, { printed: x, exact: valueAt(m, k, r, 0) })),
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
  return [{ slip: 'textbook', printed: printf(approximate(textbook)), exact: textbook }];
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
    const expected = { printed, exact: valueAt(m, k, r, c) };
    const label = { id: 'practice.q.entry', values: { r: r + 1, c: c + 1, stage: stage.id } };
    return number(`entry ${r + 1} ${c + 1}`, label, expected, entrySlips(m, k, r, c, expected));
  }));
}

// Every question of stage k, its decisions first.
export function questions(m, k, fill) {
  const ask = decisions[m.stages[k].id];
  return [...(ask ? ask(m, k) : []), ...entryQuestions(m, k, fill)];
}

// The verdict on an answer ({ text }, or { alone: true } for the button that
// says a row is left alone): { right, note, slip }. slip names the mistake
// where it can be told: one of question.slips, 'notZero' (a row eliminated
// said to be left alone), 'unreadable' or 'notOrder'; else null.
export function check(question, answer) {
  const wrong = (slip) => ({ right: false, note: null, slip });
  const { expected } = question;
  if (question.kind === 'order') {
    const order = readOrder(answer.text, expected.order.length);
    if (order === null) return wrong('notOrder');
    if (String(order) === String(expected.order)) return { right: true, note: null, slip: null };
    return wrong(question.slips.find((s) => String(s.order) === String(order))?.slip ?? null);
  }
  if (answer.alone) return expected.alone ? { right: true, note: null, slip: null } : wrong('notZero');
  if (!expected.alone && isNonFinite(expected.printed) && answer.text.trim().toLowerCase() === expected.printed)
    return { right: true, note: null, slip: null };
  const value = read(answer.text);
  if (value === null) return wrong('unreadable');
  if (expected.alone) return wrong('changedZero');
  const verdict = compare(value, expected);
  if (verdict.right) return { ...verdict, slip: null };
  return wrong(question.slips.find((s) => s.otherwise || (s.printed !== undefined && compare(value, s).right))?.slip ?? null);
}

// The answer that Show fills in: the printed number, the order, or 'alone'.
export const answerOf = (question) =>
  question.kind === 'order' ? question.expected.order.join(' ') : question.expected.alone ? null : question.expected.printed;
