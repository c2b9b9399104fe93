// The learner's row operations: one grammar for every way one comes in
// (typed as textbooks and teachers write them, built with buttons, read from
// a link or a code), and the page's own notation of each. An operation is
//   { type: 'swap', rows: [i, j] }
//   { type: 'scale', row: i, factor }           Ri → factor·Ri
//   { type: 'add', row: i, from: j, factor }    Ri → Ri + factor·Rj
// rows 0-based, factor a rational of exact.js. Nothing here throws: what is
// not one elementary operation is a problem saying why.
import { MAX_FACTOR } from './limits.js';
import { rowLatex, fractionLatex } from '../run/copies.js';
import { MAX_DIGITS } from '../run/exact.js';
import { readNumber, normalize, excerpt, problem, ONE, ZERO, isZero, isOne, add, multiply, divide, negate, format } from './numbers.js';

// Long enough for the page's own notation of any operation it does: a
// factor as long as a number it holds (limits.js's MAX_FACTOR), and the rest.
export const MAX_OPERATION = MAX_FACTOR + 64;

// A refusal: the problem own.op.<id>.
const refuse = (id, values) => problem(`own.op.${id}`, values);

// ---- Reading ----

// The tokens of normalized text: numbers, rows (R2, r2, R_2, R_{2}), + - * /
// ( ) and the relations: { tokens }, or { unread }, the word (up to a blank)
// at the first character that is none of them, or the problem of a number too long.
// A long arrow <-- is one only with a blank or the end after it: in R2<--3R1+R2
// the second - is the sign of what it touches.
const tokenPattern = /\s*(?:(\d+(?:\.\d*)?|\.\d+)|[Rr]\s*_?\s*\{?\s*(\d+)\s*\}?|(<-{1,2}>|<=>|[↔⟷⇔⇄]|:=|<--(?=\s|$)|<-|[←⟵]|-{1,2}>|=>|[→⟶⇒]|=)|([-+*/()]))/y;

// What a relation says: 'swap' (both ways), 'left' (the target on the left:
// =, :=, <-, ←) or 'either' (->, →: the target on either side).
const relationOf = (arrow) => (/^<.*>$|[↔⟷⇔⇄]/.test(arrow) ? 'swap' : /^(?:<|←|⟵|:?=$)/.test(arrow) ? 'left' : 'either');

function tokenize(text) {
  const tokens = [];
  tokenPattern.lastIndex = 0;
  while (tokenPattern.lastIndex < text.length) {
    const at = tokenPattern.lastIndex;
    const match = tokenPattern.exec(text);
    if (match === null) {
      if (text.slice(at).trim() === '') break;
      return { unread: /\S+/.exec(text.slice(at))[0] };
    }
    const [, number, row, relation, symbol] = match;
    if (number !== undefined) {
      const read = readNumber(number, MAX_FACTOR);
      // A number too long for any operation to apply: as an operation that makes one.
      if (read.problem) return read.problem.id === 'own.number.long' ? refuse('tooLarge', { digits: MAX_DIGITS }) : { problem: read.problem };
      tokens.push({ kind: 'number', value: read.value, at });
    }
    else if (row !== undefined) tokens.push({ kind: 'row', row: row.length > 4 ? Infinity : Number(row), at });
    else if (relation !== undefined) tokens.push({ kind: 'relation', relation: relationOf(relation), at });
    else tokens.push({ kind: symbol, at });
  }
  return { tokens };
}

// A side of an operation as a linear form: { constant, rows: Map(row → coefficient) }, and
// once read whole, mentions: Map(row → times named).
const constant = (value) => ({ constant: value, rows: new Map() });
const isConstant = (form) => form.rows.size === 0;

function scaled(form, by) {
  return { constant: multiply(form.constant, by), rows: new Map([...form.rows].map(([r, c]) => [r, multiply(c, by)])) };
}

function summed(a, b) {
  const rows = new Map(a.rows);
  for (const [r, c] of b.rows) rows.set(r, rows.has(r) ? add(rows.get(r), c) : c);
  return { constant: add(a.constant, b.constant), rows };
}

// A recursive-descent reader of one side, over tokens from index `at`:
//   side   := term (('+' | '-') term)*
//   term   := factor (('*' | '/')? factor)*     (side by side is a product)
//   factor := ('+' | '-') factor | number | row | '(' side ')'
// Each gives { form, at } or { fail: { id, at } }: a product of two rows is
// not elementary, a division by a row neither, by 0 is its own refusal; two
// numbers side by side are one too (1 500 R1, 3 2R1: a blank in a number or
// a product, the page cannot tell which).
function reader(tokens) {
  const next = (at) => tokens[at]?.kind;
  const fail = (id, at) => ({ fail: { id, at } });

  function side(at) {
    let left = term(at);
    while (!left.fail && (next(left.at) === '+' || next(left.at) === '-')) {
      const sign = next(left.at);
      const right = term(left.at + 1);
      if (right.fail) return right;
      left = { form: summed(left.form, sign === '-' ? scaled(right.form, negate(ONE)) : right.form), at: right.at };
    }
    return left;
  }

  function term(at) {
    let left = factor(at);
    for (;;) {
      if (left.fail) return left;
      const kind = next(left.at);
      const explicit = kind === '*' || kind === '/';
      if (!explicit && !['number', 'row', '('].includes(kind)) return left;
      if (kind === 'number' && tokens[left.at - 1].kind === 'number') return fail('sideBySide', left.at - 1);
      const right = factor(explicit ? left.at + 1 : left.at);
      if (right.fail) return right;
      if (kind === '/') {
        if (!isConstant(right.form)) return fail('notElementary', left.at);
        const inverse = divide(ONE, right.form.constant);
        if (inverse === null) return fail('divideZero', left.at);
        left = { form: scaled(left.form, inverse), at: right.at };
      } else if (isConstant(left.form) || isConstant(right.form)) {
        const [form, by] = isConstant(left.form) ? [right.form, left.form.constant] : [left.form, right.form.constant];
        left = { form: scaled(form, by), at: right.at };
      } else {
        return fail('notElementary', left.at);
      }
    }
  }

  function factor(at) {
    const token = tokens[at];
    if (token === undefined) return fail('unread', at);
    if (token.kind === '+' || token.kind === '-') {
      const inner = factor(at + 1);
      return inner.fail || token.kind === '+' ? inner : { form: scaled(inner.form, negate(ONE)), at: inner.at };
    }
    if (token.kind === 'number') return { form: constant(token.value), at: at + 1 };
    if (token.kind === 'row') {
      return { form: { constant: ZERO, rows: new Map([[token.row, ONE]]) }, at: at + 1 };
    }
    if (token.kind === '(') {
      const inner = side(at + 1);
      if (inner.fail) return inner;
      return next(inner.at) === ')' ? { form: inner.form, at: inner.at + 1 } : fail('unread', inner.at);
    }
    return fail('unread', at);
  }

  return side;
}

// The one row of form with coefficient 1 and nothing else, or null.
function loneRow(form) {
  if (!isZero(form.constant) || form.rows.size !== 1) return null;
  const [[row, c]] = form.rows;
  return isOne(c) && form.mentions.get(row) === 1 ? row : null;
}

// The operation that makes row `target` the expression `form`, or a refusal.
function replacing(target, form) {
  const others = [...form.rows].filter(([r, c]) => r !== target && !isZero(c)).map(([r]) => r);
  if (!isZero(form.constant)) return refuse('notElementary');
  if (!form.rows.has(target)) return refuse(others.length === 0 ? 'scaleZero' : 'notElementary');
  if ((form.mentions.get(target) ?? 0) > 1) return refuse('selfAdd', { row: target });
  const own = form.rows.get(target);
  if (others.length === 0) {
    if (isZero(own)) return refuse('scaleZero');
    return isOne(own) ? refuse('nothing') : { op: { type: 'scale', row: target - 1, factor: own } };
  }
  if (others.length > 1) return refuse('notElementary');
  if (!isOne(own)) return refuse('targetScaled', { row: target });
  return { op: { type: 'add', row: target - 1, from: others[0] - 1, factor: form.rows.get(others[0]) } };
}

// What a relation between the forms of two sides means.
function operationOf(relation, left, right) {
  const [l, r] = [loneRow(left), loneRow(right)];
  if (relation === 'swap') {
    if (l === null || r === null) return refuse('notElementary');
    return l === r ? refuse('sameRow', { row: l }) : { op: { type: 'swap', rows: [l - 1, r - 1] } };
  }
  if (relation === 'left') return l === null ? refuse('twoSides') : replacing(l, right);
  if (l !== null && r !== null) return l === r ? refuse('nothing') : refuse('notElementary');
  if (l !== null) return replacing(l, right);
  if (r !== null) return replacing(r, left);
  return refuse('twoSides');
}

// The rows an operation names (1-based) past m, as a refusal, or null.
function pastRows(tokens, m) {
  const past = tokens.find((token) => token.kind === 'row' && (token.row < 1 || token.row > m));
  return past ? refuse('rowPast', { row: Number.isFinite(past.row) ? past.row : '…', m }) : null;
}

// One elementary row operation on a matrix of m rows, from text as typed:
// { op } or { problem } (own.op.*; values.part the part that could not be read).
export function readOperation(text, m) {
  const raw = typeof text === 'string' ? text : '';
  return raw.length > MAX_OPERATION ? refuse('long', { limit: MAX_OPERATION }) : parsed(raw, m);
}

// readOperation's answer for text of any length.
function parsed(raw, m) {
  const typed = normalize(raw).replace(/[·⋅∙×✕]/g, '*').replace(/÷/g, '/').trim();
  if (typed === '') return refuse('empty');
  const read = tokenize(typed);
  if (read.problem) return read;
  if (read.unread !== undefined) return refuse('unread', { part: excerpt(read.unread) });
  const { tokens } = read;
  const at = tokens.findIndex((token) => token.kind === 'relation');
  const rest = tokens.slice(at + 1);
  if (at < 0 || rest.some((token) => token.kind === 'relation')) {
    return refuse(tokens.some((token) => token.kind === 'row') ? 'notElementary' : 'unread', { part: excerpt(typed) });
  }
  const sides = [tokens.slice(0, at), rest].map((part) => {
    if (part.length === 0) return { fail: { id: 'unread', at: 0 } };
    const result = reader(part)(0);
    if (result.fail) return result;
    if (result.at < part.length) return { fail: { id: 'unread', at: result.at } };
    const mentions = new Map();
    for (const { kind, row } of part) if (kind === 'row') mentions.set(row, (mentions.get(row) ?? 0) + 1);
    return { form: { ...result.form, mentions } };
  });
  const failed = sides.findIndex((s) => s.fail);
  if (failed >= 0) {
    const { id, at: where } = sides[failed].fail;
    const part = failed === 0 ? tokens.slice(0, at) : rest;
    // Past the end of a side, its last token is what could not be read (R1 → R1 +).
    const from = (part[where] ?? part.at(-1) ?? tokens[at]).at;
    const unread = typed.slice(from, failed === 0 && where < part.length ? tokens[at].at : undefined).trim();
    // Two numbers side by side, quoted up to what follows the second.
    if (id === 'sideBySide') return refuse(id, { part: excerpt(typed.slice(from, (part[where + 2] ?? tokens[at]).at > from ? (part[where + 2] ?? tokens[at]).at : undefined).trim()) });
    return id === 'unread' ? pastRows(tokens, m) ?? refuse(id, { part: excerpt(unread) }) : refuse(id);
  }
  return pastRows(tokens, m) ?? operationOf(tokens[at].relation, sides[0].form, sides[1].form);
}

// An operation built with buttons ({ type, row, from, factorText }, rows
// 0-based): the factor read as an entry is, then the operation written and
// read as typed, so that both give the same operation and the same refusals.
export function fromButtons(buttons, m) {
  const { type, row, from, factorText } = buttons ?? {};
  // A row not chosen is written R0, which is past the rows.
  const R = (i) => `R${Number.isInteger(i) ? i + 1 : 0}`;
  if (type === 'swap') return parsed(`${R(row)} <-> ${R(from)}`, m);
  if (type !== 'scale' && type !== 'add') return refuse('notElementary');
  const read = readNumber(factorText, MAX_FACTOR);
  if (read.problem) return read;
  const factor = `(${format(read.value)})`;
  return parsed(type === 'scale' ? `${R(row)} -> ${factor} ${R(row)}` : `${R(row)} -> ${R(row)} + ${factor} ${R(from)}`, m);
}

// ---- Notation ----

// The 0-based rows that op changes.
export const changed = (op) => (op.type === 'swap' ? [...op.rows] : [op.row]);

// op written with the symbols of a notation: its rows (1-based), the swap's
// and the replacement's arrows, its minus sign, and a coefficient that is a
// fraction (an integer is written as it is, 1 not at all).
function written(op, { row, swap, to, minus, fraction }) {
  const R = (i) => row(i + 1);
  if (op.type === 'swap') return `${R(op.rows[0])} ${swap} ${R(op.rows[1])}`;
  const negative = op.factor.n < 0n;
  const x = negative ? negate(op.factor) : op.factor;
  const size = isOne(x) ? '' : x.d === 1n ? String(x.n) : fraction(x);
  if (op.type === 'scale') return `${R(op.row)} ${to} ${negative ? minus : ''}${size}${R(op.row)}`;
  return `${R(op.row)} ${to} ${R(op.row)} ${negative ? minus : '+'} ${size}${R(op.from)}`;
}

// The page's own notation of op: R1 ↔ R2, R2 → 1/2 R2, R2 → −R2, R2 → R2 − 3R1.
export const notation = (op) => written(op, { row: (i) => `R${i}`, swap: '↔', to: '→', minus: '\u2212', fraction: (x) => `${format(x)} ` });

// op in LaTeX, its rows and fractions as every copy writes them (run/copies.js):
// R_1 \leftrightarrow R_2, R_2 \to \frac{1}{2}R_2, R_2 \to R_2 - 3R_1.
export const latex = (op) => written(op, { row: rowLatex, swap: '\\leftrightarrow', to: '\\to', minus: '-', fraction: fractionLatex });
