// Exercises for practice: a matrix A (and, for gjsolve, b) of order 2 to 5 with
// small integer entries, drawn from a seed. Options ask for a nice answer (A a
// product of integer elementary matrices, so det A = ±1 and the inverse, or x,
// has small integer entries), a pivot pass that reorders other rows, a row left
// alone because of a 0, a singular A, or every stage exact (every number that
// the run prints, and every r, is its exact value, so that the whole exercise
// can be done by hand without rounding). Each draw is run through the program
// (runner.js) and kept only when every option holds in the model of that run;
// otherwise the next draw of the seed's sequence is tried, so that a seed always
// gives the same exercise. Nothing here touches the page.
//
// The generator has versions, named in an exercise's link (share.js), and each
// keeps drawing what it drew: version 1 keeps any draw that holds the options;
// version 2 also rejects near-trivial matrices (a permutation or diagonal
// matrix, with signs, or more zeros than a triangular one has), under every option.
import { determinant, parseDecimal, equal } from '../run/exact.js';
import { model, replay, replayed, withExact, entry, valueAt, exactNumbers } from '../run/model.js';
import { open, extend } from '../run/runner.js';
import { passOrder, oneExchange } from './check.js';
import { latestGenerator, possible } from '../run/share.js';

export { possible };

export const orders = [2, 3, 4, 5];
export const versions = Array.from({ length: latestGenerator }, (_, k) => k + 1);
export const maxEntry = 9;     // the largest magnitude of an entry of A
export const maxAnswer = 20;   // of an entry of a nice inverse or x
const attempts = 400;

// The model of program's whole run over input, given as one entry with the end
// of input after it, with its exact values: what an exercise is drawn from, and
// what the tests look at. The programs must be loaded.
export function modelOf(program, input) {
  return replayed(model(extend(open(program), input, true)));
}

// A random number generator in [0, 1) from a 32-bit seed (mulberry32).
export function generator(seed) {
  let a = seed >>> 0;
  return () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = Math.imul(a ^ (a >>> 15), a | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}
const int = (random, lo, hi) => lo + Math.floor(random() * (hi - lo + 1));

// The magnitudes of the entries of an exercise with every stage exact, by
// order. The scaling divides each row by its largest entry and the eliminations
// by entries of A's later rows, so that a draw of these (powers of 2 and 5, and
// fewer of them the more stages follow) divides by powers of 2 and 5 often
// enough: at order 4, a handful of draws finds one with every stage exact.
// Zeros come one draw in eight: more of them make sparse, dull exercises.
const exactMagnitudes = { 2: [1, 2, 4, 5, 8], 3: [1, 2, 4], 4: [1, 2], 5: [1, 2] };

// Whether x may be an entry of A (or b) of the exercise asked.
const fits = (x, n, options) => (options.exact ? x === 0 || exactMagnitudes[n].includes(Math.abs(x)) : Math.abs(x) <= maxEntry);
const small = (rows, options) => rows.every((row) => row.every((x) => fits(x, rows.length, options)));

// A random entry: with every stage exact 0 or one of its magnitudes with a
// random sign, else an integer from lo to hi.
function entryOf(random, n, options, lo, hi) {
  if (!options.exact) return int(random, lo, hi);
  const magnitudes = exactMagnitudes[n];
  return int(random, 0, 7) === 0 ? 0 : magnitudes[int(random, 0, magnitudes.length - 1)] * (int(random, 0, 1) ? 1 : -1);
}

// det ±1: the identity changed by 4n row operations of integer elementary
// matrices (a multiple of one row added to another, an exchange, a negation),
// each kept only while the entries stay small.
function unimodular(random, n, options) {
  let a = Array.from({ length: n }, (_, i) => Array.from({ length: n }, (_, j) => Number(i === j)));
  for (let step = 0; step < 4 * n;) {
    const [i, j, kind] = [int(random, 0, n - 1), int(random, 0, n - 1), int(random, 0, 5)];
    const next = a.map((row) => row.slice());
    if (kind === 0) [next[i], next[j]] = [a[j], a[i]];
    else if (kind === 1) next[i] = a[i].map((x) => -x);
    else if (i !== j) next[i] = a[i].map((x, c) => x + [-2, -1, 1, 2][kind - 2] * a[j][c]);
    else continue;
    if (small(next, options)) [a, step] = [next, step + 1];
  }
  return a;
}

// det 0: n - 1 random rows and, at a random place, a sum of multiples of two of them.
function singularRows(random, n) {
  const rows = Array.from({ length: n - 1 }, () => Array.from({ length: n }, () => int(random, -4, 4)));
  const [p, q, c] = [int(random, 0, n - 2), int(random, 0, n - 2), [-1, 1][int(random, 0, 1)]];
  rows.splice(int(random, 0, n - 1), 0, rows[p].map((x, j) => (p === q ? 2 * c * x : x + c * rows[q][j])));
  return rows;
}

// One draw: A, and for gjsolve b (with a nice A, b = A x for a small integer x).
function draw(random, program, n, options) {
  const a = options.singular ? singularRows(random, n) : options.nice ? unimodular(random, n, options)
    : Array.from({ length: n }, () => Array.from({ length: n }, () => entryOf(random, n, options, -maxEntry, maxEntry)));
  if (program !== 'gjsolve') return { a, b: null };
  const x = Array.from({ length: n }, () => (options.exact ? int(random, -1, 1) : int(random, -5, 5)));
  const b = options.nice && !options.singular ? a.map((row) => row.reduce((sum, v, j) => sum + v * x[j], 0))
    : a.map(() => entryOf(random, n, options, -maxEntry, maxEntry));
  return { a, b };
}

// Whether the answer of m's run, the inverse or x, is small integers, exactly
// and as printed (a residue where the exact value is 0 is not nice).
function niceAnswer(m) {
  const k = m.stages.length - 1;
  return k > 0 && m.stages[k].rows.every((row, r) => row.every((printed, c) => {
    const { state, value } = entry(m, k, r, c);
    return state === 'exact' && value.d === 1n && value.n <= maxAnswer && value.n >= -maxAnswer && /^-?\d+$/.test(printed);
  }));
}

// Whether every number that m's run prints is its exact value, written as a
// plain decimal (it prints in full, with no exponent, and is no rounding
// residue), and so is every r of its eliminations, a[p][p] ÷ a[t][p] of the
// printout before.
function everyStageExact(m) {
  const full = (printed, value) => {
    const read = /^-?\d+(\.\d+)?$/.test(printed) ? parseDecimal(printed) : null;
    return value !== null && read !== null && equal(read, value);
  };
  return m.stages.length > 1 && m.stages.every((s) =>
    s.rows.every((row, r) => row.every((printed, c) => full(printed, valueAt(m, s.k, r, c)))) &&
    s.ops.every((op) => op.name !== 'combine' || full(op.r.shown, exactNumbers(m, s.k, op).r ?? null)));
}

// Whether A is near-trivial: at most one entry other than 0 in each row and
// each column (a permutation or a diagonal matrix, signs aside), or more
// zeros than a triangular matrix of its order has.
export function trivial(a) {
  const n = a.length;
  const nonzero = (xs) => xs.filter((x) => x !== 0).length;
  const monomial = a.every((row) => nonzero(row) <= 1) && a.every((_, j) => nonzero(a.map((row) => row[j])) <= 1);
  return monomial || n * n - nonzero(a.flat()) > (n * (n - 1)) / 2;
}

// Whether each option holds for A and the model of its run; without
// singular, A must be invertible. From version 2, A must not be near-trivial.
function holds(options, a, m, generator) {
  if (generator >= 2 && trivial(a)) return false;
  const d = determinant(a);
  const reordered = (s) => s.id === 'pivoted' &&
    String(passOrder(s, m.n)) !== String(oneExchange(passOrder(s, m.n), s.column));
  return (options.singular ? d === 0n : d !== 0n) &&
    (!options.nice || (d * d === 1n && niceAnswer(m))) &&
    (!options.reorder || m.stages.some(reordered)) &&
    (!options.alone || m.stages.some((s) => s.ops.some((op) => op.name === 'unchanged'))) &&
    (!options.exact || everyStageExact(m));
}

// The exercise of a seed and a version of the generator (1 unless said, as a
// link without one is): { program, order, seed, options, generator, a, b, input,
// model, met }, met false when no draw within the attempts held every option
// (the last draw is given then).
export function make(exercise) {
  const work = making(exercise);
  for (;;) {
    const { done, value } = work.next();
    if (done) return value;
  }
}

// The model of program's run over input with its exact values, as pieces
// of work: a yield after the run and after each piece of the replay.
function* ranExactly(program, input) {
  const printed = model(extend(open(program), input, true));
  yield;
  const job = replay(printed);
  while (job && !job.step(0)) yield;
  return job ? withExact(printed, job.result) : printed;
}

// make() as pieces of work, for a caller that spreads many over frames (the
// results of a class): a generator that yields after each program run and
// each piece of its exact replay, and returns the exercise. An exercise
// given its input (a teacher's own matrix) is that input's run alone, with
// no seed and every option met.
export function* making({ program = 'gjinverse', order = 3, seed = 1, options = [], generator: version = 1, input = null }) {
  if (input !== null) return { program, order, seed: null, options: [], generator: version, a: null, b: null, input, model: yield* ranExactly(program, input), met: true };
  const kept = possible(options, order, version);
  const wanted = Object.fromEntries(kept.map((o) => [o, true]));
  const random = generator(seed);
  let exercise = null;
  for (let attempt = 0; attempt < attempts; attempt++) {
    const { a, b } = draw(random, program, order, wanted);
    const rows = b ? a.map((row, i) => [...row, b[i]]) : a;
    const input = `${order}\n${rows.map((row) => row.join(' ')).join('\n')}\n`;
    const made = yield* ranExactly(program, input);
    exercise = { program, order, seed, options: kept, generator: version, a, b, input, model: made, met: holds(wanted, a, made, version) };
    if (exercise.met) break;
  }
  return exercise;
}

