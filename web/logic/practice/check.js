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
//   'invertible'  choices, and expected { invertible, choice }: whether A is
//             invertible (for gjsolve, how many solutions the system has), and
//             the choice that says so (invertibility()).
// The decisions are every kind but 'entry'.
// A slip: { slip, printed, exact } (an answer that prints or equals this has it;
// unlessRight, the key of a question whose right answer rules it out),
// { slip, order }, or { slip, otherwise: true } (every wrong number has it).
// A slip is named only where its reading alone fits the answer.
import { parseDecimal, readTyped, plain, divide, multiply, subtract, negate, magnitude, equal, format, approximate, rank } from '../run/exact.js';
import { ofPrinted, rounding, significantDigits, difference, product, quotient, hull, meets, holds, near } from './interval.js';
import { valueAt, isZero, isNonFinite, exactNumbers } from '../run/model.js';
import { printed as asPrinted } from '../run/printf.js';

const one = { n: 1n, d: 1n };

// Text as a keyboard may give it, made plain as every number is read
// (exact.js's plain, which a code's answers are written in too).
export { plain };

const nonFiniteWord = /^([+-]?) ?(inf|infinity|∞|nan)$/;

// What the learner typed as a number, read as everywhere on the page
// (exact.js's readTyped: -2, .5, 1e-05, 1/3, -2.5/3, (1/2), ½), { value,
// double, decimal }, decimal the text for a decimal alone, else null; or a
// non-finite number as printed (inf, -inf, nan), as ∞, Infinity or NaN, or
// as a division by 0 (1/0, -1/0, 0/0), with value null; or null for anything else.
export function read(text) {
  const typed = plain(text);
  const word = nonFiniteWord.exec(typed.toLowerCase());
  if (word) return { value: null, double: word[2] === 'nan' ? NaN : word[1] === '-' ? -Infinity : Infinity, decimal: null };
  const got = readTyped(typed);
  if (got.parts === undefined) return null;
  const [top, bottom = '1'] = got.parts;
  return { value: got.value ?? null, double: Number(top) / Number(bottom), decimal: got.parts.length === 1 ? top : null };
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

// expected with its hull, what hand work on the printed numbers gives, worked
// out by hullOf when first read, for an answer found not right: most are right.
function handWork(expected, hullOf) {
  let hand;
  return Object.defineProperty(expected, 'hull', { get: () => (hand ??= [hullOf()])[0], enumerable: true });
}

// The slip of row i scaled by column c's entry printed as d, were it scaled by
// another of A's entries: 'leftmost' when one of the same magnitude and the
// other sign stands in the row, 'sign' when d is negative (its magnitude drops
// the sign), else null. Only A's entries are candidates for the divisor.
function scaleSlip(m, k, i, c, d) {
  const stage = m.stages[k];
  const row = stage.rows[i - 1];
  const size = (col) => {
    const v = valueAt(m, k - 1, i - 1, col);
    return v ? format(magnitude(v)) : row[col].replace(/^-/, '');
  };
  const rival = (x, col) => stage.columns[col].block === 'A' && col !== c - 1 && x !== row[c - 1] && size(col) === size(c - 1);
  if (row.some(rival)) return 'leftmost';
  return d.startsWith('-') ? 'sign' : null;
}

// A slip whose exact value value() works out, and its printed form; both
// undefined where it has none. The value is worked out when an answer is
// first compared with it: a wide run's entries have many readings, and most
// are never needed.
function slipOf(slip, value) {
  let exact;
  const get = () => (exact === undefined ? (exact = value() || null) : exact);
  return {
    slip,
    get exact() { return get() ?? undefined; },
    get printed() { return get() ? asPrinted(approximate(get())) : undefined; },
  };
}

// The rows that stood at positions p and t of stage k's printout before the
// pivot pass just ahead of it, as positions after that pass (1-based); the
// same p and t when no pass moved a row there.
function beforeExchange(m, k, t, p) {
  const pass = m.stages[k - 1];
  if (pass?.id !== 'pivoted') return { p, t };
  const order = passOrder(pass, m.n);
  return { p: order.indexOf(p) + 1, t: order.indexOf(t) + 1 };
}

// The readings of a combination that takes another row in place of the pivot
// row p or the target row t: value(q, s) works it out with row q for p and row
// s for t. A row that stood at p or t before the pass just ahead is
// 'beforeExchange', any other 'wrongRow'.
function rowReadings(m, k, { t, p }, value) {
  const old = beforeExchange(m, k, t, p);
  const readings = [];
  for (let q = 1; q <= m.n; q++) {
    if (q !== p) readings.push(slipOf(q === old.p ? 'beforeExchange' : 'wrongRow', () => value(q, t)));
    if (q !== t) readings.push(slipOf(q === old.t ? 'beforeExchange' : 'wrongRow', () => value(p, q)));
  }
  if (old.p !== p && old.t !== t) readings.push(slipOf('beforeExchange', () => value(old.p, old.t)));
  return readings;
}

// The order that sorts rows j .. n of the printout before stage k's pass by
// the magnitude of their entry in column j, largest first (equal ones keep
// their order), rows above j where they stand.
function sortedOrder(m, k, j) {
  const size = (row) => {
    const v = valueAt(m, k - 1, row - 1, j - 1);
    return v ? approximate(magnitude(v)) : Math.abs(Number(m.stages[k - 1].rows[row - 1][j - 1]));
  };
  const rows = Array.from({ length: m.n }, (_, r) => r + 1);
  return [...rows.slice(0, j - 1), ...rows.slice(j - 1).sort((a, b) => size(b) - size(a) || a - b)];
}

const number = (kind, key, label, expected, slips = []) => ({ key, kind, label, expected, slips });

// Whether a question is a decision rather than an entry of the printout.
export const isDecision = (question) => question.kind !== 'entry';

// The decisions that each kind of stage asks for, in the order of its operations.
const decisions = {
  scaled: (m, k) => m.stages[k].ops.filter((op) => op.name === 'scale').map((op) => {
    const { i, c, d } = op;
    const expected = { printed: d.shown, exact: exactNumbers(m, k, op).d ?? null, hull: printedAt(m, k - 1, i - 1, c - 1) };
    const slip = scaleSlip(m, k, i, c, d.shown);
    return number('divisor', `divisor ${i}`, { id: 'practice.q.divisor', values: { i } }, expected, slip ? [negated(slip, expected)] : []);
  }),
  pivoted: (m, k) => {
    const stage = m.stages[k];
    const order = passOrder(stage, m.n);
    const identity = order.map((_, r) => r + 1);
    const slips = [{ slip: 'oneExchange', order: oneExchange(order, stage.column) }, { slip: 'noExchange', order: identity },
                   { slip: 'sorted', order: sortedOrder(m, k, stage.column) }];
    return [{ key: 'order', kind: 'order', label: { id: 'practice.q.order', values: { j: stage.column } }, expected: { order },
              slips: slips.filter((s) => String(s.order) !== String(order)) }];
  },
  eliminated: (m, k) => m.stages[k].ops.filter((op) => op.name === 'combine' || op.name === 'unchanged').map((op) => {
    const { t, p } = op;
    const label = { id: 'practice.q.r', values: { t, p } };
    if (op.name === 'unchanged') return { key: `r ${t}`, kind: 'r', label, expected: { alone: true }, slips: [] };
    const exact = exactNumbers(m, k, op).r ?? null;
    const inverted = { slip: 'inverted', printed: asPrinted(1 / Number(op.r.exact)), exact: exact && divide(one, exact) };
    const before = (i, j) => valueAt(m, k - 1, i - 1, j - 1);
    const ratio = (q, s) => before(q, p) && before(s, p) && divide(before(q, p), before(s, p));
    const slips = [inverted, slipOf('rSign', () => exact && negate(exact)), ...rowReadings(m, k, op, ratio)];
    return number('r', `r ${t}`, label, handWork({ printed: op.r.shown, exact }, () => handR(m, k, op)), slips);
  }),
  normalized: (m, k) => m.stages[k].ops.filter((op) => op.name === 'divide').map((op) => {
    const { i, d } = op;
    const expected = { printed: d.shown, exact: exactNumbers(m, k, op).d ?? null, hull: printedAt(m, k - 1, i - 1, i - 1) };
    return number('divisor', `divisor ${i}`, { id: 'practice.q.divisor', values: { i } }, expected,
                  d.shown.startsWith('-') ? [negated('sign', expected)] : []);
  }),
  solution: (m, k) => m.stages[k].rows.map(([x], r) => {
    const unscaled = slipOf('unscaled', () => valueAt(m, k - 1, r, m.n));
    return number('x', `x ${r + 1}`, { id: 'practice.q.x', values: { j: r + 1 } }, { printed: x, exact: valueAt(m, k, r, 0), hull: handEntry(m, k, r, 0) },
                  [unscaled]);
  }),
};
decisions.backward = decisions.eliminated;

// The operation of stage k that makes row i (1-based) of its printout, if any.
const rowOperation = (stage, i) => stage.ops.find((op) =>
  (['scale', 'divide'].includes(op.name) && op.i === i) || (['combine', 'unchanged'].includes(op.name) && op.t === i));

// The slips that entry r, c of stage k may show: a row scaled or divided by
// the wrong divisor (unless that divisor was answered rightly) or not at all;
// a row eliminated in the textbook's form, with r's sign lost, or with
// another row in place of one of its two; a row changed that the elimination
// leaves alone.
function entrySlips(m, k, r, c, expected) {
  const before = (i, j) => valueAt(m, k - 1, i - 1, j);
  if (m.stages[k].id === 'pivoted') return [slipOf('beforeExchange', () => before(r + 1, c))];
  const op = rowOperation(m.stages[k], r + 1);
  if (!op) return [];
  if (op.name === 'scale' || op.name === 'divide') {
    const slip = op.name === 'scale' ? scaleSlip(m, k, r + 1, op.c, op.d.shown) : op.d.shown.startsWith('-') ? 'sign' : null;
    const wrongDivisor = slip ? [{ ...negated(slip, expected), unlessRight: `divisor ${r + 1}` }] : [];
    return [...wrongDivisor, slipOf('unscaled', () => before(r + 1, c))];
  }
  if (op.name === 'unchanged') return [{ slip: 'changedZero', otherwise: true }];
  const { p, t } = op;
  const rValue = exactNumbers(m, k, op).r;
  if (!rValue) return [];
  const combined = (q, s, sign = 1) => before(q, c) && before(s, c) &&
    subtract(before(q, c), multiply(sign > 0 ? rValue : negate(rValue), before(s, c)));
  const textbook = () => rValue.n !== 0n && before(t, c) && before(p, c) && subtract(before(t, c), multiply(divide(one, rValue), before(p, c)));
  return [slipOf('textbook', textbook), slipOf('rSign', () => combined(p, t, -1)), ...rowReadings(m, k, op, combined)];
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
    const expected = handWork({ printed, exact: valueAt(m, k, r, c) }, () => handEntry(m, k, r, c));
    const label = { id: 'practice.q.entry', values: { r: r + 1, c: c + 1, stage: stage.id } };
    return number('entry', `entry ${r + 1} ${c + 1}`, label, expected, entrySlips(m, k, r, c, expected));
  }));
}

// Every question of stage k, its decisions first.
export function questions(m, k, fill) {
  const ask = decisions[m.stages[k].id];
  return [...(ask ? ask(m, k) : []), ...entryQuestions(m, k, fill)];
}

// The first stage (0-based) whose printout shows, in exact values, that A is
// singular: a row of A all 0, or a column j of A all 0 from row j down while
// the columns before it are 0 below the diagonal; null when none does (or
// before the exact replay).
export function singularShown(m) {
  if (!shownOf.has(m)) shownOf.set(m, firstSingular(m));
  return shownOf.get(m);
}

// singularShown's answer by model, worked out once: each stage's questions ask it.
const shownOf = new WeakMap();

function firstSingular(m) {
  const proves = (k) => {
    const stage = m.stages[k];
    if (stage.unknowns || !m.exact?.stages[k]) return false;
    const a = (i, j) => valueAt(m, k, i - 1, stage.columns.findIndex((col) => col.block === 'A' && col.j === j));
    const zero = (i, j) => a(i, j)?.n === 0n;
    const rows = Array.from({ length: m.n }, (_, i) => i + 1);
    if (stage.columns.filter((col) => col.block === 'A').length !== m.n) return false;
    if (rows.some((i) => rows.every((j) => zero(i, j)))) return true;
    return rows.some((j) => rows.every((i) => i < j || zero(i, j)) &&
      rows.every((c) => c >= j || rows.every((i) => i <= c || zero(i, c))));
  };
  const k = m.stages.findIndex((_, k) => proves(k));
  return k < 0 ? null : k;
}

// The typed matrix's exact rows (for gjsolve with b), or null where the
// numbers were not read as typed.
const typedRows = (m) => (m.verdict.readable ? m.verdict.start : null);

// How many solutions the system of a gjsolve run has, by the exact ranks of A
// and of [A | b]: 'one', 'zero' or 'many'; null where the typed numbers were
// not read.
export function solutions(m) {
  const rows = typedRows(m);
  if (!rows) return null;
  const [ofA, ofAb] = [rank(rows.map((row) => row.slice(0, m.n))), rank(rows)];
  return ofA === m.n ? 'one' : ofA < ofAb ? 'zero' : 'many';
}

// The stage (0-based) that asks whether A is invertible (for gjsolve, how many
// solutions the system has), when practice asks from stage from on: the stage
// right after the printout that shows A singular; else, where the exact
// replay divides by an exact zero without that, the stage that does so; and
// from itself where that stage comes before it. Null where none asks.
export function invertibilityStage(m, from = 1) {
  const shown = singularShown(m);
  const stage = shown !== null && shown + 1 < m.stages.length ? shown + 1 : m.exact?.stop ? m.exact.stop.stage : null;
  return stage === null ? null : Math.max(stage, Math.min(from, m.stages.length - 1));
}

// That question at stage k, or null: its choices, and the answer that the
// exact replay (or, for gjsolve, the ranks) gives.
export function invertibility(m, k, from = 1) {
  if (invertibilityStage(m, from) !== k) return null;
  const invertible = !(m.exact.stop?.singular ?? singularShown(m) !== null);
  const solve = m.run.program === 'gjsolve';
  const choice = solve ? solutions(m) ?? (invertible ? 'one' : 'many') : invertible ? 'yes' : 'no';
  return { key: 'invertible', kind: 'invertible', label: { id: solve ? 'practice.q.unique' : 'practice.q.invertible', values: {} },
           choices: solve ? ['one', 'zero', 'many'] : ['yes', 'no'], expected: { invertible, choice }, slips: [] };
}

// Whether question q of stage k is still asked once the learner has said
// rightly that A is singular: not from the exact replay's stop on, where the
// printouts are inf and nan and mean nothing more, nor any inf or nan before.
export function askedAfterSingular(m, k, q) {
  const stop = m.exact?.stop;
  return q.kind === 'invertible' || (!(stop && k >= stop.stage) && !isNonFinite(q.expected.printed ?? ''));
}

// Every question of stage k that practice of m's run from stage from (0-based)
// asks, in the order that a session asks them and a result keeps their first
// answers: whether A is invertible where that is asked, then questions(); each
// marked afterSingular, whether it is still asked once A is said singular.
export const stageQuestions = (m, k, from, fill) => [invertibility(m, k, from), ...questions(m, k, fill)].filter(Boolean)
  .map((q) => ({ ...q, afterSingular: askedAfterSingular(m, k, q) }));

// The stages (0-based, first and last) that are not asked once the learner
// has said that A is singular, for the tally to name (as the page numbers
// them, k + 1, in 'practice.summary.unasked'); null where every stage is.
export function unaskedAfterSingular(m) {
  const stop = m.exact?.stop;
  return stop && stop.singular !== false ? { first: stop.stage, last: m.stages.length - 1 } : null;
}

// What a worksheet of run m asks and keys about invertibility: the stage
// (0-based) that asks the question and its answer (invertibility()), or null;
// and from which stage on the key says "singular" in place of the printout,
// where the run stops meaning anything (the exact replay's stop), or null.
export function paperSingular(m) {
  const k = invertibilityStage(m);
  const question = k === null ? null : invertibility(m, k);
  const stop = m.exact?.stop;
  return { stage: k, question, singularFrom: stop && stop.singular !== false ? stop.stage : null };
}

// The stage (1-based, as the page numbers them) that practice of run m starts
// from: the one a link asks; the scaling for a link that is not the page's own,
// and for a matrix that is singular (known from its exact rank, or from the
// inf and nan that the run prints), so that the learner is asked whether it
// is invertible; else the last stage but one more for each exercise finished
// (level).
export function startStage(m, asked, level, first) {
  if (asked?.from) return asked.from;
  if (asked && !asked.own) return first;
  const rows = typedRows(m);
  const singular = rows ? rank(rows.map((row) => row.slice(0, m.n))) < m.n
    : m.stages.some((s) => s.rows.some((row) => row.some(isNonFinite)));
  return singular ? first : m.stages.length - level;
}

// What an r field takes for "left alone", besides 0, in either language.
const aloneWords = ['alone', 'left alone', '그대로'];
// The word without the quotes that the task's sentence puts around it.
const unquoted = (word) => word.replace(/^['"‘“](.*)['"’”]$/u, '$1');

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

// Every slip that a verdict may name, in a fixed order that saved work
// (suspend.js) writes them by: new ones go at the end. 'differs' is what the
// page says for a wrong answer with no slip named.
export const slipNames = ['differs', 'unreadable', 'notOrder', 'sign', 'leftmost', 'oneExchange', 'inverted', 'textbook',
  'changedZero', 'notZero', 'closeDigits', 'closeNear', 'singular', 'invertible', 'rSign', 'wrongRow', 'beforeExchange',
  'unscaled', 'noExchange', 'sorted', 'otherOrder', 'oppositeSign', 'oneSolution', 'noSolution', 'manySolutions'];

// Whether a verdict counts against the stage: a close answer is to be carried
// further, not a mistake.
export const isMiss = (verdict) => !verdict.right && !['closeDigits', 'closeNear'].includes(verdict.slip);

// The one slip that the readings found name, or null when none does or two
// different ones do: a slip whose rule fits two readings is not named.
function onlyReading(found) {
  const names = new Set(found.map((s) => s.slip));
  return names.size === 1 ? [...names][0] : null;
}

// The verdict on an answer ({ text }, { alone: true } for the button that says
// a row is left alone, or { choice } for invertibility, one of its question's
// choices: 'yes' | 'no', or for gjsolve 'one' | 'zero' | 'many'), given
// the keys of the stage's questions already answered rightly:
// { right, note, slip }. note is 'fromPrinted' for a number that hand work on
// the printed numbers gives, else as compare() says. slip names the mistake
// where it can be told: one of question.slips whose reading alone fits (a
// slip that holds unlessRight a question answered rightly does not),
// 'notZero' (a row eliminated said to be left alone), 'changedZero',
// 'singular' or 'invertible' (the wrong answer to invertibility), 'closeDigits'
// or 'closeNear' (see closeness), 'oppositeSign' (the number with the other
// sign, and nothing else named), 'unreadable' or 'notOrder'; else null.
export function check(question, answer, answeredRightly = []) {
  const right = (note = null) => ({ right: true, note, slip: null });
  const wrong = (slip) => ({ right: false, note: null, slip });
  const { expected } = question;
  if (question.kind === 'order') {
    const order = readOrder(answer.text, expected.order.length);
    if (order === null) return wrong('notOrder');
    if (String(order) === String(expected.order)) return right();
    const found = question.slips.filter((s) => String(s.order) === String(order));
    return wrong(found.length > 0 ? onlyReading(found) ?? 'otherOrder' : 'otherOrder');
  }
  if (question.kind === 'invertible') {
    if (answer.choice === expected.choice) return right();
    return wrong({ yes: 'invertible', no: 'singular', one: 'oneSolution', zero: 'noSolution', many: 'manySolutions' }[expected.choice]);
  }
  if (answer.alone || (question.kind === 'r' && aloneWords.includes(unquoted(plain(answer.text).toLowerCase()))))
    return expected.alone ? right() : wrong('notZero');
  const value = read(answer.text);
  if (value === null) return wrong('unreadable');
  if (expected.alone) return value.value?.n === 0n ? right() : wrong('changedZero');
  if (value.value === null || isNonFinite(expected.printed)) return sameNonFinite(value.double, expected.printed) ? right() : wrong(null);
  const verdict = compare(value, expected);
  if (verdict.right) return { ...verdict, slip: null };
  if (question.kind === 'r' && value.value.n === 0n) return wrong('notZero');
  // A number past what a double holds (1e309) prints as inf, which no interval holds.
  const printedHull = ofPrinted(asPrinted(value.double));
  if (expected.hull && printedHull && meets(expected.hull, printedHull)) return right('fromPrinted');
  const found = question.slips.filter((s) => s.printed !== undefined && !answeredRightly.includes(s.unlessRight) && compare(value, s).right);
  const named = found.length > 0 ? onlyReading(found)
    : closeness(value, expected) ?? question.slips.find((s) => s.otherwise)?.slip ?? null;
  const opposite = value.value.n !== 0n && compare({ ...value, value: negate(value.value), double: -value.double }, expected).right;
  return wrong(named ?? (opposite ? 'oppositeSign' : null));
}

// The answer that Show fills in: the printed number, the order, 'alone' (null)
// or the choice.
export const answerOf = (question) =>
  question.kind === 'order' ? question.expected.order.join(' ')
    : question.kind === 'invertible' ? question.expected.choice
      : question.expected.alone ? null : question.expected.printed;
