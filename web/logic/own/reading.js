// What the reduced matrix means, and the learner's reading of it typed in
// full: of [A | b] its solution set (the values, "no solution", or a family
// in scalar form "x1 = 4 - 2t, x2 = t, x3 = 1" or vector form
// "x = (4, 0, 1) + t(-2, 1, 0)", any names for the parameters); of [A | I],
// A⁻¹'s entries or "not invertible"; of a plain matrix, its rank and its
// pivot columns. A reading is read exactly (readNumber's numbers), checked
// as a set against the meaning (a family is right when it is the same set:
// its point solves the system and its directions span the same null space,
// whatever point or scaling was chosen), and what is wrong is said. The
// meaning and the reading are said in words here alone, and a reading is
// written into a code and read back here. Nothing here touches the page.
//
// A reading, as the page keeps it and a code carries it:
//   { set: text | null }             a system's solution set as typed; null for "no solution" chosen
//   { inverse: text | null }         A⁻¹, a row a line (entries apart by blanks or commas); null for "not invertible"
//   { rank: text, columns: text }    the rank and the pivot columns ("1, 3") as typed
//   { choice, values }               the reading of an older page: how many solutions
//                                    ('one', 'zero', 'many') with, of one, the values; whether
//                                    A is invertible ('yes', 'no')
import { shape, columnList } from './forms.js';
import { reducing } from './hints.js';
import { finish, rank } from '../run/exact.js';
import { readNumber, normalize, excerpt, negate, shown, add, multiply, divide, equal, ZERO, ONE, isZero, isOne, MAX_ENTRY } from './numbers.js';

// The longest text of a reading: a family of many parameters on a wide system fits.
export const MAX_READING = 2000;

// ---- What the reduced matrix means ----

// The columns of matrix that hold pivots: those left of the bar, or all without one.
const pivotWidth = (matrix) => matrix.bar ?? matrix.rows[0].length;

// What the reduced matrix means for its kind, or null until the part left of
// the bar is in reduced row echelon form (then the answer is known, whatever
// is still to be done right of the bar):
//   'system':  { kind: 'one', values } | { kind: 'none', row, value } (0-based,
//              the row that says 0 = value) | { kind: 'many', free: [column], solution:
//              [{ constant, terms: [{ free, coefficient }] }] }, x_j = constant
//              + Σ coefficient·(the free variable of column free);
//   'inverse': { kind: 'inverse', inverse } | { kind: 'singular', rank, n };
//   'matrix':  { kind: 'rank', rank, pivotColumns }.
export function meaning(matrix, kind) {
  const { rows } = matrix;
  const width = pivotWidth(matrix);
  const left = shape({ rows: rows.map((row) => row.slice(0, width)), bar: null });
  if (!left.reduced) return null;
  const pivotColumns = left.pivots.map((p) => p.column);
  if (kind === 'inverse') {
    return pivotColumns.length === rows.length ? { kind: 'inverse', inverse: rows.map((row) => row.slice(width)) }
      : { kind: 'singular', rank: pivotColumns.length, n: rows.length };
  }
  if (kind !== 'system') return { kind: 'rank', rank: pivotColumns.length, pivotColumns };
  const pivotRow = new Map(left.pivots.map((p) => [p.column, p.row]));
  const none = rows.findIndex((row, r) => !left.pivots.some((p) => p.row === r) && !isZero(row[width]));
  if (none >= 0) return { kind: 'none', row: none, value: rows[none][width] };
  if (pivotColumns.length === width) return { kind: 'one', values: pivotColumns.map((c) => rows[pivotRow.get(c)][width]) };
  const columns = [...Array(width).keys()];
  const free = columns.filter((c) => !pivotRow.has(c));
  const solution = columns.map((c) => {
    if (!pivotRow.has(c)) return { constant: ZERO, terms: [{ free: c, coefficient: ONE }] };
    const row = rows[pivotRow.get(c)];
    return { constant: row[width], terms: free.filter((f) => !isZero(row[f])).map((f) => ({ free: f, coefficient: negate(row[f]) })) };
  });
  return { kind: 'many', free, solution };
}

// The reduced form of matrix, as the method reduces it (at once: for a key, a test).
export const reducedOf = (matrix) => finish(reducing(matrix)).reduced;

// The names of the free variables, by column: t, s, u, v, w, then t1, t2, ….
function parameters(free) {
  const letters = ['t', 's', 'u', 'v', 'w'];
  return new Map(free.map((c, k) => [c, free.length <= letters.length ? letters[k] : `t${k + 1}`]));
}

// constant + Σ coefficient·name, as a learner writes it: 2 − 3t, t, −1, (1/2)s.
function expression(constant, terms, names) {
  const parts = isZero(constant) && terms.length > 0 ? [] : [shown(constant)];
  for (const { free, coefficient } of terms) {
    const negative = coefficient.n < 0n;
    const size = negative ? negate(coefficient) : coefficient;
    const written = (isOne(size) ? '' : size.d === 1n ? shown(size) : `(${shown(size)})`) + names.get(free);
    parts.push(parts.length === 0 ? (negative ? '\u2212' : '') + written : `${negative ? '\u2212' : '+'} ${written}`);
  }
  return parts.join(' ');
}

const vectorText = (values) => `(${values.map(shown).join(', ')})`;

// The solution set of a meaning 'one' or 'many' as the page accepts it back:
// in scalar form "x1 = 4 − 2t, x2 = t, x3 = 1" or vector form
// "x = (4, 0, 1) + t(−2, 1, 0)"; and the parameters' names.
export function solutionText(means, form = 'scalar') {
  const x = (j) => `x${j + 1}`;
  if (means.kind === 'one') {
    return { text: form === 'vector' ? `x = ${vectorText(means.values)}` : means.values.map((v, j) => `${x(j)} = ${shown(v)}`).join(', '), names: [] };
  }
  const names = parameters(means.free);
  if (form !== 'vector') {
    return { text: means.solution.map(({ constant, terms }, j) => `${x(j)} = ${expression(constant, terms, names)}`).join(', '), names: [...names.values()] };
  }
  const direction = (f) => means.solution.map(({ terms }) => terms.find((term) => term.free === f)?.coefficient ?? ZERO);
  const text = [`x = ${vectorText(means.solution.map((s) => s.constant))}`, ...means.free.map((f) => `${names.get(f)}${vectorText(direction(f))}`)].join(' + ');
  return { text, names: [...names.values()] };
}

// What meaning says, in t's language: one sentence.
export function sayMeaning(t, means) {
  if (means === null) return '';
  if (means.kind === 'one') return t('own.meaning.one', { values: solutionText(means).text });
  if (means.kind === 'none') return t('own.meaning.none', { row: means.row + 1, value: shown(means.value) });
  if (means.kind === 'many') {
    const { text, names } = solutionText(means);
    return t(names.length === 1 ? 'own.meaning.manyOne' : 'own.meaning.many', { solution: text, free: names.join(', ') });
  }
  if (means.kind === 'inverse') return t('own.meaning.inverse');
  if (means.kind === 'singular') return t('own.meaning.singular', { rank: means.rank, n: means.n });
  return t('own.meaning.rank', { rank: means.rank, columns: columnList(means.pivotColumns) });
}

// ---- Reading a solution set as typed ----

// A problem of the reading: what the page says instead of a verdict.
const problem = (id, values = {}) => ({ problem: { id: `own.reading.${id}`, values } });

// "No solution" as learners write it, lower case, blanks and stops left out.
const noneWords = new Set(['nosolution', 'nosolutions', 'none', 'inconsistent', 'thesystemisinconsistent', 'nosolutionexists', 'empty', 'emptyset',
  '∅', '{}', 'x∈∅', '해가없음', '해없음', '없음', '해가없다', '해가없습니다', '불능', '해가존재하지않음', '해가존재하지않습니다']);

// Words that qualify the parameters ("t any real number", "t ∈ ℝ", "s는 임의의
// 실수") or say that a variable is free ("x2 free"): nothing of the set itself.
const qualifierWords = /^(any|real|reals|number|numbers|arbitrary|free|is|are|where|with|for|all|in|parameters?|and|constants?)$/i;
const isQualifier = (token) => token.text === '∈' || (token.kind === 'name' && qualifierWords.test(token.text)) ||
  (token.kind === 'word' && /임의|실수|자유|매개|변수|모든|상수/.test(token.text));

const maxDepth = 4;

// Text as the page reads a number (normalize), line by line, its line breaks kept.
const lined = (text) => String(text).split(/\r\n|\r|\n/).map(normalize).join('\n');

// The tokens of text: numbers, names (a Latin or Greek letter, then letters,
// digits, _ and primes), other words (Hangul), and signs; each with gap, whether
// blanks came before it. A line break between two terms parts them as a comma does.
function tokensOf(text) {
  const plain = lined(text).replace(/_\{(\w+)\}/g, '_$1').replace(/[·×⋅∙]/g, '*').replace(/ℝ/g, 'R');
  const pattern = /(\n)|(\s+)|(\d+(?:\.\d*)?|\.\d+)|([A-Za-z\u0370-\u03ff][A-Za-z\u0370-\u03ff\d_']*)|(\p{L}+)|([-+*/()[\]{},;=:∈∅])|(.)/gsu;
  const tokens = [];
  let gap = false;
  for (const [whole, line, blank, number, name, word, sign, other] of plain.matchAll(pattern)) {
    if (line !== undefined) {
      const last = tokens.at(-1);
      if (last && !['+', '-', '*', '/', '(', '[', '{', ',', ';', '='].includes(last.text)) tokens.push({ kind: 'line', text: ',', gap: true });
      gap = true;
    } else if (blank !== undefined) gap = true;
    else {
      const kind = number !== undefined ? 'number' : name !== undefined ? 'name' : word !== undefined ? 'word' : sign !== undefined ? 'sign' : 'other';
      if (kind === 'other') return problem('unread', { part: excerpt(whole) });
      // A line break before a sign that continues the term joins the lines.
      if (tokens.at(-1)?.kind === 'line' && ['+', '-', '*', '/', ')', ']', '}'].includes(whole)) tokens.pop();
      tokens.push({ kind, text: whole, gap });
      gap = false;
    }
  }
  while (tokens.at(-1)?.kind === 'line') tokens.pop();
  // Brackets nested deeper than a reading needs are refused, before a parse that passes over them at each depth.
  let depth = 0;
  for (const token of tokens) {
    depth += ['(', '[', '{'].includes(token.text) ? 1 : [')', ']', '}'].includes(token.text) ? -1 : 0;
    if (depth > maxDepth) return problem('unread', { part: excerpt(token.text.repeat(maxDepth + 1)) });
  }
  return { tokens };
}

// An affine value of the parameters: { c, terms: Map name → coefficient }; a
// vector is an array of them.
const constant = (c) => ({ c, terms: new Map() });
const isConstant = (a) => a.terms.size === 0;
const scaled = (a, k) => ({ c: multiply(a.c, k), terms: new Map([...a.terms].map(([p, v]) => [p, multiply(v, k)]).filter(([, v]) => !isZero(v))) });
function summed(a, b) {
  const terms = new Map(a.terms);
  for (const [p, v] of b.terms) terms.set(p, terms.has(p) ? add(terms.get(p), v) : v);
  return { c: add(a.c, b.c), terms: new Map([...terms].filter(([, v]) => !isZero(v))) };
}

// A parser of one expression over tokens from at: sums of products of
// numbers, parameters and vectors in brackets, linear in the parameters.
// Each method gives { value } (value { scalar } or { vector }) or { problem }.
function parser(tokens) {
  let at = 0;
  const peek = () => tokens[at];
  const isSign = (text) => peek()?.kind === 'sign' && peek().text === text;
  const unread = () => problem('unread', { part: excerpt(tokens.slice(at, at + 4).map((k) => k.text).join(' ') || '…') });
  // Values combined: a + b, a · b.
  const plus = (a, b) => {
    if (a.vector && b.vector) {
      return a.vector.length === b.vector.length ? { value: { vector: a.vector.map((x, i) => summed(x, b.vector[i])) } } : problem('lengths');
    }
    return a.scalar && b.scalar ? { value: { scalar: summed(a.scalar, b.scalar) } } : problem('lengths');
  };
  const times = (a, b) => {
    if (a.vector && b.vector) return problem('nonlinear');
    const [k, other] = a.scalar && (!b.scalar || isConstant(a.scalar)) ? [a.scalar, b] : [b.scalar, a];
    const product = (x) => (isConstant(k) ? scaled(x, k.c) : isConstant(x) ? scaled(k, x.c) : null);
    const parts = other.vector ? other.vector.map(product) : [product(other.scalar)];
    if (parts.includes(null)) return problem('nonlinear');
    return { value: other.vector ? { vector: parts } : { scalar: parts[0] } };
  };
  // A bracket's entries, up to close: expressions apart by commas,
  // semicolons or lines, or, of signed numbers alone, by blanks ("[4 -2 1]").
  function group(close) {
    let [depth, end] = [0, at];
    for (; end < tokens.length; end++) {
      if (['(', '[', '{'].includes(tokens[end].text)) depth++;
      else if ([')', ']', '}'].includes(tokens[end].text) && depth-- === 0) break;
    }
    if (tokens[end]?.text !== close) return unread();
    const inner = tokens.slice(at, end);
    at = end + 1;
    let parts = clausesOf(inner);
    if (parts.length === 1 && inner.every((k) => k.kind === 'number' || ['+', '-'].includes(k.text))) {
      // A new entry at a number after a number, or at a sign written against the number after it.
      parts = [[]];
      inner.forEach((k, i) => {
        const previous = inner[i - 1]?.kind === 'number';
        const starts = previous && k.gap && (k.kind === 'number' || (inner[i + 1]?.kind === 'number' && !inner[i + 1].gap));
        if (starts) parts.push([]);
        parts.at(-1).push(k);
      });
    }
    const entries = parts.map(expressionOf);
    const wrong = entries.find((e) => e.problem);
    if (wrong) return wrong;
    if (entries.length === 1 && entries[0].value.scalar && close !== ']') return entries[0];
    if (entries.some((e) => !e.value.scalar)) return problem('nonlinear');
    return { value: { vector: entries.map((e) => e.value.scalar) } };
  }
  function factor() {
    const token = peek();
    if (token === undefined) return unread();
    at++;
    if (token.kind === 'number') {
      const read = readNumber(token.text);
      return read.problem ? { problem: read.problem } : { value: { scalar: constant(read.value) } };
    }
    if (token.kind === 'name') return { value: { scalar: { c: ZERO, terms: new Map([[token.text, ONE]]) } } };
    if (token.kind === 'word') return problem('parameter', { part: excerpt(token.text) });
    const close = { '(': ')', '[': ']', '{': '}' }[token.text];
    if (close) return group(close);
    at--;
    return unread();
  }
  // A product: factors side by side or apart by * and /, a division by a number alone.
  function product() {
    let read = factor();
    for (;;) {
      if (read.problem) return read;
      const next = peek();
      if (next === undefined) return read;
      const divided = isSign('/');
      if (divided || isSign('*')) at++;
      else if (!(next.kind === 'number' || next.kind === 'name' || next.kind === 'word' || ['(', '['].includes(next.text))) return read;
      else if (next.kind === 'number' && tokens[at - 1].kind === 'number') return problem('adjacent', { part: excerpt(`${tokens[at - 1].text} ${next.text}`) });
      const right = factor();
      if (right.problem) return right;
      if (divided) {
        const k = right.value.scalar;
        if (!k || !isConstant(k) || isZero(k.c)) return problem(k && isConstant(k) ? 'zero' : 'nonlinear');
        read = times(read.value, { scalar: constant(divide(ONE, k.c)) });
      } else read = times(read.value, right.value);
    }
  }
  // A sum of signed products.
  function sum() {
    let read = null;
    for (;;) {
      const minus = isSign('-');
      if (minus || isSign('+')) at++;
      else if (read !== null) return read;
      const term = product();
      if (term.problem) return term;
      const value = minus ? times({ scalar: constant(negate(ONE)) }, term.value).value : term.value;
      read = read === null ? { value } : plus(read.value, value);
      if (read.problem) return read;
    }
  }
  return { sum, done: () => at >= tokens.length, unread };
}

// One expression of tokens, whole: { value } or { problem }.
function expressionOf(tokens) {
  if (tokens.length === 0) return problem('empty');
  const p = parser(tokens);
  const read = p.sum();
  return read.problem || p.done() ? read : p.unread();
}

// tokens split at the commas and semicolons outside brackets.
function clausesOf(tokens) {
  const clauses = [[]];
  let depth = 0;
  for (const token of tokens) {
    if (['(', '[', '{'].includes(token.text)) depth++;
    if ([')', ']', '}'].includes(token.text)) depth--;
    if (depth === 0 && [',', ';'].includes(token.text)) clauses.push([]);
    else clauses.at(-1).push(token);
  }
  return clauses.filter((clause) => clause.length > 0);
}

// tokens without the groups in brackets that qualify the parameters: "(t any real number)".
function unqualified(tokens) {
  const out = [];
  for (let k = 0; k < tokens.length; k++) {
    if (tokens[k].text === '(' || tokens[k].text === '{') {
      let [depth, end] = [0, k];
      for (; end < tokens.length; end++) {
        depth += ['(', '{'].includes(tokens[end].text) ? 1 : [')', '}'].includes(tokens[end].text) ? -1 : 0;
        if (depth === 0) break;
      }
      if (tokens.slice(k, end).some(isQualifier)) { k = end; continue; }
    }
    out.push(tokens[k]);
  }
  return out;
}

// The index of a variable's name among n unknowns: x1 .. xn (x_1 too), or x,
// y, z, w where n is at most 4; -1 for another name, n or more for xk past n.
function variable(name, n) {
  const numbered = /^[xX]_?(\d{1,3})$/.exec(name);
  if (numbered) return Number(numbered[1]) - 1;
  return n <= 4 ? 'xyzw'.slice(0, n).indexOf(name) : -1;
}

// The solution set of a system of n unknowns as typed: { none: true }, or {
// point, directions: [{ name, vector }] } (exact; point where every parameter
// is 0, a direction per parameter), or { problem }.
export function readSet(text, n) {
  if (typeof text !== 'string' || text.trim() === '') return problem('empty');
  if (text.length > MAX_READING) return problem('long', { limit: MAX_READING });
  const lowered = normalize(text).toLowerCase().replace(/[\s.。'"“”]/g, '');
  if (noneWords.has(lowered)) return { none: true };
  const read = tokensOf(text);
  if (read.problem) return read;
  // Each clause up to a word about the parameters after a term ("… where t is
  // real", "s, t ∈ ℝ", "x2 free"); one of names alone before it, and the names
  // alone just before it ("s, t ∈ ℝ"), only say them.
  const [clauses, said] = [[], []];
  const bare = (clause) => clause.length === 1 && clause[0].kind === 'name';
  for (const clause of clausesOf(unqualified(read.tokens))) {
    const at = clause.findIndex((token, k) => isQualifier(token) && (k === 0 || /^(number|name)$/.test(clause[k - 1].kind) || /[)\]}]/.test(clause[k - 1].text)));
    const before = at < 0 ? clause : clause.slice(0, at);
    if (at < 0 || !before.every((token) => token.kind === 'name')) clauses.push(before);
    else {
      while (clauses.length > 0 && bare(clauses.at(-1))) said.push(clauses.pop());
      said.push(before);
    }
  }
  const equations = clauses.filter((clause) => clause.some((token) => token.text === '='));
  if (equations.length === 0) return listed(clauses, n);
  // Beside equations, a clause of variables alone says them free ("x2, x3 free").
  const loose = clauses.filter((clause) => !equations.includes(clause));
  const stray = loose.find((clause) => clause.some((token) => token.kind !== 'name'));
  if (stray) return problem('unread', { part: excerpt(stray.map((token) => token.text).join(' ')) });
  const free = [...loose, ...said].flat().filter((token) => variable(token.text, n) >= 0).map((token) => token.text);
  const sides = equations.map((clause) => {
    const at = clause.findIndex((token) => token.text === '=');
    return [clause.slice(0, at), clause.slice(at + 1)];
  });
  const [left, right] = sides[0];
  if (sides.length === 1 && (left.length > 1 || (left[0]?.kind === 'name' && /^[xX]$/.test(left[0].text) && n > 1))) return vectorForm(left, right, n);
  return scalarForm(sides, free, n);
}

// A plain list: one vector sum ("(2, -1)", "(4, 0, 1) + t(-2, 1, 0)"), or the values in order ("2, -1", "4 - 2t, t, 1").
function listed(clauses, n) {
  if (clauses.length === 1) return family(expressionOf(clauses[0]), n);
  const entries = clauses.map(expressionOf);
  const wrong = entries.find((e) => e.problem || !e.value.scalar);
  if (wrong) return wrong.problem ? wrong : problem('nonlinear');
  return family({ value: { vector: entries.map((e) => e.value.scalar) } }, n);
}

// "x = (…) + t(…)", or "(x1, x2, x3) = …", the unknowns in any order.
function vectorForm(left, right, n) {
  let order = [...Array(n).keys()];
  if (left.length > 1) {
    const named = clausesOf(left.slice(1, -1));
    order = named.map((clause) => (clause.length === 1 ? variable(clause[0].text, n) : -1));
    if (!['(', '['].includes(left[0].text) || order.includes(-1) || new Set(order).size !== n || order.some((j) => j >= n)) {
      return problem('unread', { part: excerpt(left.map((token) => token.text).join('')) });
    }
  }
  const read = family(expressionOf(right), n);
  if (read.problem) return read;
  const placed = (vector) => order.reduce((out, j, i) => { out[j] = vector[i]; return out; }, Array(n));
  return { point: placed(read.point), directions: read.directions.map(({ name, vector }) => ({ name, vector: placed(vector) })) };
}

// "x1 = 4 - 2t, x2 = t, x3 = 1", "x1 = 4 - 2x2, x2 free, x3 = 1": a free
// variable named on the right is a parameter of its own name.
function scalarForm(sides, free, n) {
  const values = Array(n).fill(null);
  for (const [left, right] of sides) {
    const name = left.length === 1 ? left[0].text : left.map((token) => token.text).join('');
    const j = left.length === 1 && left[0].kind === 'name' ? variable(name, n) : -1;
    if (j < 0) return problem('unread', { part: excerpt(name) });
    if (j >= n) return problem('noVariable', { variable: name, n });
    if (values[j] !== null) return problem('twice', { variable: `x${j + 1}` });
    const read = expressionOf(right);
    if (read.problem) return read;
    if (!read.value.scalar) return problem('nonlinear');
    values[j] = read.value.scalar;
  }
  for (const name of free) {
    const j = variable(name, n);
    if (j < n && values[j] === null) values[j] = { c: ZERO, terms: new Map([[name, ONE]]) };
  }
  // A variable named on the right without an equation is free: a parameter of its own name.
  const used = new Set(values.flatMap((v) => (v ? [...v.terms.keys()] : [])));
  for (const name of used) {
    const j = variable(name, n);
    if (j >= 0 && j < n && values[j] === null) values[j] = { c: ZERO, terms: new Map([[name, ONE]]) };
  }
  const missing = values.findIndex((v) => v === null);
  if (missing >= 0) return problem('missing', { variable: `x${missing + 1}` });
  // A variable named on the right with an equation of its own stands for its value, once.
  const bound = (name) => {
    const j = variable(name, n);
    const own = j >= 0 && j < n ? values[j] : null;
    return own && !(isZero(own.c) && own.terms.size === 1 && own.terms.has(name)) ? own : null;
  };
  const substituted = values.map((v) => [...v.terms].reduce((sum, [name, k]) =>
    summed(sum, bound(name) ? scaled(bound(name), k) : { c: ZERO, terms: new Map([[name, k]]) }), constant(v.c)));
  if (substituted.some((v) => [...v.terms.keys()].some(bound))) return problem('circular');
  return family({ value: { vector: substituted } }, n);
}

// The family of an expression's value: its point and a direction per parameter, of n entries.
function family(read, n) {
  if (read.problem) return read;
  const vector = read.value.vector ?? [read.value.scalar];
  if (vector.length !== n) return problem('count', { n, count: vector.length });
  const names = [...new Set(vector.flatMap((x) => [...x.terms.keys()]))];
  return { point: vector.map((x) => x.c), directions: names.map((name) => ({ name, vector: vector.map((x) => x.terms.get(name) ?? ZERO) })) };
}

// ---- Readings of [A | I] and of a matrix ----

// A⁻¹ as typed, n × n: { entries } or { problem }.
export function readInverse(text, n) {
  if (typeof text !== 'string' || text.trim() === '') return problem('empty');
  if (text.length > MAX_READING) return problem('long', { limit: MAX_READING });
  const lines = lined(text).replace(/[[\]{}]/g, ' ').split(/[\n;]/).map((line) => line.trim()).filter(Boolean);
  const rows = lines.map((line) => line.split(/\s*,\s*|\s+/).filter(Boolean));
  if (rows.length !== n || rows.some((row) => row.length !== n)) return problem('shape', { n });
  const entries = [];
  for (const [r, row] of rows.entries()) {
    entries.push([]);
    for (const [c, typed] of row.entries()) {
      const read = readNumber(typed);
      if (read.problem) return problem('entry', { row: r + 1, column: c + 1, part: excerpt(typed) });
      entries[r].push(read.value);
    }
  }
  return { entries };
}

// The pivot columns as typed ("1, 3", "1 and 3", "1, 3열"): { columns } (1-based, as typed) or { problem }.
function readColumns(text) {
  const words = normalize(String(text)).toLowerCase().replace(/columns?|and|열|과|와|및|번째|번|c/g, ' ');
  if (!/^[\s\d,;]*$/.test(words)) return problem('columns', { part: excerpt(String(text)) });
  return { columns: (words.match(/\d+/g) ?? []).map(Number) };
}

// ---- A reading checked ----

const isText = (value, most = MAX_READING) => typeof value === 'string' && value.length <= most;
export const legacyChoices = ['yes', 'no', 'one', 'zero', 'many'];

// The form of a reading of any length: 'set', 'inverse', 'rank' or 'choice'; null for what is not one.
export function readingForm(value) {
  if (typeof value !== 'object' || value === null) return null;
  const text = (x) => typeof x === 'string';
  if ('set' in value) return value.set === null || text(value.set) ? 'set' : null;
  if ('inverse' in value) return value.inverse === null || text(value.inverse) ? 'inverse' : null;
  if ('rank' in value) return text(value.rank) && text(value.columns) ? 'rank' : null;
  return legacyChoices.includes(value.choice) && (value.values === null || (Array.isArray(value.values) && value.values.every(text))) ? 'choice' : null;
}

// Whether value is a reading as the page keeps one (the forms above), within the lengths that a code carries.
export function isReading(value) {
  const form = readingForm(value);
  if (form === 'set' || form === 'inverse') return value[form] === null || isText(value[form]);
  if (form === 'rank') return isText(value.rank, MAX_ENTRY) && isText(value.columns, MAX_ENTRY);
  return form === 'choice' && (value.values === null || (value.values.length <= 20 && value.values.every((v) => isText(v, MAX_ENTRY))));
}

// A copy of a reading, as a result keeps it (of the older form, values null but for 'one').
export function keptReading(reading) {
  if (!reading) return null;
  if ('set' in reading) return { set: reading.set };
  if ('inverse' in reading) return { inverse: reading.inverse };
  if ('rank' in reading) return { rank: reading.rank, columns: reading.columns };
  return { choice: reading.choice, values: reading.choice === 'one' ? [...(reading.values ?? [])] : null };
}

// Whether a reading is of the older form, which an older code holds.
export const isLegacy = (reading) => Boolean(reading) && 'choice' in reading;

// What a verdict is made of: right, or what is wrong ({ id, values }).
const rightVerdict = { right: true, wrong: [] };
const wrongVerdict = (id, values = {}) => ({ right: false, wrong: [{ id: `own.reading.wrong.${id}`, values }] });

// Whether x solves equation i of the system as typed (start, [A | b]), or of
// its homogeneous system: the sum kept over the product of the denominators,
// with no gcd on the way, as only whether it is 0 is asked.
function solves(start, i, x, homogeneous) {
  const row = start.rows[i];
  let [n, d] = [0n, 1n];
  x.forEach((xj, j) => {
    if (row[j].n === 0n || xj.n === 0n) return;
    const [pn, pd] = [row[j].n * xj.n, row[j].d * xj.d];
    [n, d] = [n * pd + pn * d, d * pd];
  });
  const b = homogeneous ? ZERO : row[start.bar];
  return n * b.d === b.n * d;
}

// A solution set (readSet's) checked against the system as typed (start,
// [A | b]) and the meaning of its reduced form.
function setVerdict(read, start, means) {
  if (read.none) return means.kind === 'none' ? rightVerdict : wrongVerdict('consistent');
  if (means.kind === 'none') return wrongVerdict('inconsistent', { row: means.row + 1, value: shown(means.value) });
  const n = start.bar;
  const equations = start.rows.length;
  const failing = (x, homogeneous) => [...Array(equations).keys()].find((i) => !solves(start, i, x, homogeneous));
  const dimension = means.kind === 'one' ? 0 : means.free.length;
  const count = read.directions.length;
  if (dimension === 0 && count > 0) return wrongVerdict('oneOnly');
  const point = failing(read.point, false);
  if (point !== undefined) {
    return wrongVerdict(read.directions.length > 0 ? 'point' : 'values', { point: vectorText(read.point), equation: point + 1 });
  }
  for (const { name, vector } of read.directions) {
    const i = failing(vector, true);
    if (i !== undefined) return wrongVerdict('direction', { name, vector: vectorText(vector), equation: i + 1 });
  }
  if (count > dimension) return wrongVerdict('tooMany', { count, dimension });
  if (dimension > 0 && count === 0) return wrongVerdict('family', { dimension });
  const spanned = rank(read.directions.map((d) => d.vector));
  return spanned < dimension ? wrongVerdict('missing', { spanned, dimension }) : rightVerdict;
}

// A⁻¹ or "not invertible" checked against the meaning: the entries that are not A⁻¹'s named.
function inverseVerdict(read, means) {
  if (read === null) return means.kind === 'singular' ? rightVerdict : wrongVerdict('invertible');
  if (means.kind === 'singular') return wrongVerdict('singular', { rank: means.rank, n: means.n });
  const cells = read.entries.flatMap((row, r) => row.flatMap((x, c) => (equal(x, means.inverse[r][c]) ? [] : [`(${r + 1}, ${c + 1})`])));
  return cells.length === 0 ? rightVerdict : wrongVerdict('entries', { cells: cells.join(', '), count: cells.length });
}

// The rank and pivot columns checked: each that is not so said.
function rankVerdict(rank, columns, means) {
  const wrong = [];
  if (!equal(rank, { n: BigInt(means.rank), d: 1n })) wrong.push(wrongVerdict('rank', { rank: shown(rank) }).wrong[0]);
  const pivots = means.pivotColumns.map((c) => c + 1);
  const missing = pivots.filter((c) => !columns.includes(c));
  const extra = [...new Set(columns.filter((c) => !pivots.includes(c)))];
  if (missing.length > 0) wrong.push(wrongVerdict('columnMissing', { columns: missing.join(', ') }).wrong[0]);
  if (extra.length > 0) wrong.push(wrongVerdict('columnExtra', { columns: extra.join(', ') }).wrong[0]);
  return { right: wrong.length === 0, wrong };
}

// An older page's reading checked: the choice, and of one solution each value exactly.
function legacyVerdict(reading, means) {
  const expected = { one: 'one', none: 'zero', many: 'many', inverse: 'yes', singular: 'no' }[means.kind];
  if (reading.choice !== expected) return { right: false, wrong: [] };
  if (expected !== 'one') return rightVerdict;
  const values = reading.values ?? [];
  const right = values.length === means.values.length && values.every((text, j) => {
    const read = readNumber(text);
    return !read.problem && equal(read.value, means.values[j]);
  });
  return { right, wrong: [] };
}

// A reading checked against the matrix as typed (start, its bar set for a
// system or [A | I]) and the meaning of its reduced form (meaning()): {
// right, wrong: [{ id, values }] } (what is wrong, each said by sayVerdict),
// or { problem } for a reading that cannot be read, which counts as none.
export function checkReading(reading, start, means) {
  if (readingForm(reading) === null || means === null) return problem('empty');
  if (isLegacy(reading)) return legacyVerdict(reading, means);
  if ('set' in reading) {
    if (!['one', 'none', 'many'].includes(means.kind)) return problem('empty');
    if (reading.set === null) return setVerdict({ none: true }, start, means);
    const read = readSet(reading.set, start.bar);
    return read.problem ? read : setVerdict(read, start, means);
  }
  if ('inverse' in reading) {
    if (!['inverse', 'singular'].includes(means.kind)) return problem('empty');
    if (reading.inverse === null) return inverseVerdict(null, means);
    const read = readInverse(reading.inverse, start.rows.length);
    return read.problem ? read : inverseVerdict(read, means);
  }
  if (means.kind !== 'rank') return problem('empty');
  if (reading.columns.length > MAX_ENTRY) return problem('long', { limit: MAX_ENTRY });
  const rank = readNumber(reading.rank);
  if (rank.problem || rank.value.d !== 1n || rank.value.n < 0n) return problem('rank', { part: excerpt(reading.rank) });
  const columns = readColumns(reading.columns);
  return columns.problem ? columns : rankVerdict(rank.value, columns.columns, means);
}

// What a reading of the kind asks: 'set', 'inverse' or 'rank'.
export const readingAsked = (kind) => ({ system: 'set', inverse: 'inverse' }[kind] ?? 'rank');

// The reading that the meaning asks for, as the page accepts it: the key's (and a check's own).
export function readingOf(means) {
  if (means.kind === 'none') return { set: null };
  if (means.kind === 'one' || means.kind === 'many') return { set: solutionText(means).text };
  if (means.kind === 'singular') return { inverse: null };
  if (means.kind === 'inverse') return { inverse: means.inverse.map((row) => row.map(shown).join(' ')).join('\n') };
  return { rank: String(means.rank), columns: columnList(means.pivotColumns) };
}

// ---- Said in words ----

// A reading in t's words, as the student gave it ("no reading" for null).
export function sayReading(t, reading) {
  if (!reading) return t('own.reading.said.none');
  if ('set' in reading) return reading.set === null ? t('own.reading.said.noSolution') : reading.set;
  if ('inverse' in reading) return reading.inverse === null ? t('own.reading.said.notInvertible') : reading.inverse.split('\n').join('; ');
  if ('rank' in reading) return t('own.reading.said.rank', { rank: reading.rank, columns: reading.columns });
  const values = (reading.values ?? []).map((v, j) => `x${j + 1} = ${v}`).join(', ');
  return t('own.reading.said.' + reading.choice, { values });
}

// What is wrong with a reading (checkReading's verdict or problem), in t's words: one sentence a fault.
export function sayVerdict(t, verdict) {
  if (verdict.problem) return t(verdict.problem.id, verdict.problem.values);
  if (verdict.right) return t('own.reading.right');
  return [t('own.reading.wrong'), ...verdict.wrong.map(({ id, values }) => t(id, values))].join(' ');
}

// ---- In a code ----

// Characters of a numeric text written in 4 bits each; the code left ends it.
const nibbles = '0123456789-/. ,';
const nibbleEnd = 15;
const forms = ['set', 'inverse', 'rank', 'choice'];

// Writes a text to w: in 4-bit characters where each is one of nibbles, else its UTF-8.
function writeText(w, text) {
  const plain = [...text].every((ch) => nibbles.includes(ch));
  w.bits(Number(plain), 1);
  return plain ? w.nibbles(text, nibbles, nibbleEnd) : w.text(text);
}

const readText = (r, most) => (r.bits(1) === 0 ? r.text(most * 4) : r.nibbles(nibbles, nibbleEnd, most));

// Writes a text or null to w.
const writeMaybe = (w, text) => (text === null ? w.bits(0, 1) : writeText(w.bits(1, 1), text));
const readMaybe = (r, most) => (r.bits(1) === 0 ? null : readText(r, most));

// Writes a reading (isReading's) to w, a bit writer of packing.js; readReading reads it back, or throws.
export function writeReading(w, reading) {
  const form = forms.findIndex((f) => f in reading);
  w.bits(form, 2);
  if (form === 0) return writeMaybe(w, reading.set);
  if (form === 1) return writeMaybe(w, reading.inverse);
  if (form === 2) return writeText(writeText(w, reading.rank), reading.columns);
  w.bits(legacyChoices.indexOf(reading.choice), 3).bits(Number(reading.values !== null), 1);
  if (reading.values === null) return w;
  reading.values.forEach((v) => writeText(w.bits(1, 1), v));
  return w.bits(0, 1);
}

export function readReading(r) {
  const form = forms[r.bits(2)];
  if (form === 'set') return { set: readMaybe(r, MAX_READING) };
  if (form === 'inverse') return { inverse: readMaybe(r, MAX_READING) };
  if (form === 'rank') return { rank: readText(r, MAX_ENTRY), columns: readText(r, MAX_ENTRY) };
  const choice = legacyChoices[r.bits(3)];
  if (!choice) throw new Error('format');
  let values = null;
  if (r.bits(1) === 1) {
    values = [];
    while (r.bits(1) === 1) {
      if (values.length >= 20) throw new Error('long');
      values.push(readText(r, MAX_ENTRY));
    }
  }
  return { choice, values };
}
