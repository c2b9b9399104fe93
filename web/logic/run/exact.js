// The exact replay: a run's row operations (core/report.hpp) done again in
// rational arithmetic on the numbers as typed, so that the page can give each
// printed entry its exact value and tell a rounding residue (printed small, but
// exactly 0) from a true value. An order-10 run of 17-digit decimals carries
// numbers of 5000 bits, one with entries from 1e-320 to 1e300 numbers of
// 100000 bits, so the work comes in small pieces that a caller runs between
// frames (replay().step). Nothing here touches the page, so that node can load
// and test it.
//
// A rational is { n, d }: BigInts with d > 0. Values given back are in lowest
// terms; values taken may be in any terms. All of the page's rational
// arithmetic is here. Imports nothing.
// The replay gives up, and the page says that the exact values are too large
// to work out here, once a row needs a numerator or denominator of more than
// this many bits (a row being its integers over a common denominator). The
// replay's pieces stay small at any size, but entry() works out a value in
// one call, a gcd: about 20 ms at 2^17 bits under node on a 2-core machine,
// 70 ms at 2^18. Runs of order 8 with entries from 1e-320 to 1e300 reach
// 55000 to 90000 bits; of order 10, 115000 to 140000, so that some of those
// give up in their last backward stages.
export const MAX_BITS = 1 << 17;
const LIMIT = 1n << BigInt(MAX_BITS);

// The longest decimal read exactly (see parseDecimal).
export const MAX_DECIMAL_DIGITS = 1100;

const abs = (x) => (x < 0n ? -x : x);

// Runs a generator of pieces of work to its end and gives its value.
export function finish(pieces) {
  for (;;) {
    const { done, value } = pieces.next();
    if (done) return value;
  }
}

// The number of bits of a Number that is an integer in [1, 2^53).
function bitsOfNumber(x) {
  let bits = Math.floor(Math.log2(x)) + 1;
  if (2 ** (bits - 1) > x) --bits;
  else if (2 ** bits <= x) ++bits;
  return bits;
}

// The number of bits of x >= 0.
function bitLength(x) {
  if (x === 0n) return 0;
  const hex = x.toString(16);
  return (hex.length - 1) * 4 + bitsOfNumber(parseInt(hex[0], 16));
}

// The same for 0 <= x < 2^bound: when x is not much shorter than bound, one
// shift instead of writing x out.
function bitLengthBelow(x, bound) {
  if (bound <= 53) return bitsOfNumber(Number(x));
  const top = Number(x >> BigInt(bound - 53));
  return top > 0 ? bound - 53 + bitsOfNumber(top) : bitLength(x);
}

function smallGcd(a, b) {
  while (b !== 0) [a, b] = [b, a % b];
  return a;
}

// floor(x / y) for integers 0 <= x < 2^53 and y > 0. The floating-point
// quotient may round up to the next integer, never down past one.
function quotient(x, y) {
  const q = Math.floor(x / y);
  return q * y > x ? q - 1 : q;
}

// The gcd is Lehmer's. Euclid's algorithm does one BigInt division for every
// quotient, about one per 1.7 bits of the numbers: 35 ms at 20000 bits under
// node, where this takes 1.3 ms. Here the quotients are found on leading bits, and a whole run of them
// is applied to the numbers at once as one linear combination, on two levels:
//   - a digit step finds, on the leading 51 bits of x >= y as Numbers, the
//     quotients those bits decide (Knuth, TAOCP 2, 4.5.2, Algorithm L: a
//     quotient is taken when both bounds x+a / y+c and x+b / y+d give it),
//     about 25 bits' worth, as cofactors a, b, c, d below 2^51;
//   - a block step runs digit steps on the leading BLOCK bits of numbers too
//     long for that to pay by itself, until about half of them are used up,
//     and applies the product of their cofactors to the whole numbers.
// Whatever the bits decide, each step multiplies the pair by a matrix of
// determinant ±1, which keeps the gcd; a step that would not shorten the pair
// is replaced by one division, so the loop always ends.
const DIGIT = 51;
const BLOCK = 2048;
const BLOCK_STOP = BLOCK / 2 + 64;
const BLOCK_FROM = 1n << BigInt(2 * BLOCK);

// The cofactors of a digit step on x >= y > 0, x of lx > DIGIT bits.
function digitCofactors(x, y, lx) {
  const shift = BigInt(lx - DIGIT);
  let xs = Number(x >> shift);
  let ys = Number(y >> shift);
  let a = 1, b = 0, c = 0, d = 1;
  for (;;) {
    if (ys + c === 0 || ys + d === 0) break;
    const q = quotient(xs + a, ys + c);
    if (q !== quotient(xs + b, ys + d)) break;
    let t = a - q * c; a = c; c = t;
    t = b - q * d; b = d; d = t;
    t = xs - q * ys; xs = ys; ys = t;
  }
  return [a, b, c, d];
}

// gcd(u, v) for u >= v >= 0 by digit steps.
function digitGcd(u, v) {
  let lu = v === 0n ? 0 : bitLength(u);
  while (v !== 0n) {
    if (lu <= 53) return BigInt(smallGcd(Number(u), Number(v)));
    const [a, b, c, d] = digitCofactors(u, v, lu);
    if (b === 0) {
      // Not one quotient decided (v is far shorter than u): a division.
      [u, v] = [v, u % v];
      lu = bitLengthBelow(u, lu);
    } else {
      [u, v] = [BigInt(a) * u + BigInt(b) * v, BigInt(c) * u + BigInt(d) * v];
      lu = bitLengthBelow(u, lu + 1);
    }
  }
  return u;
}

// The cofactors [A, B, C, D] (BigInts) of digit steps on x >= y > 0, x of lx
// bits, run until y has BLOCK_STOP bits or fewer.
function blockCofactors(x, y, lx) {
  let A = 1n, B = 0n, C = 0n, D = 1n;
  for (;;) {
    const ly = bitLengthBelow(y, lx + 1);
    if (ly <= BLOCK_STOP) return [A, B, C, D];
    const [a, b, c, d] = digitCofactors(x, y, lx);
    if (b === 0) {
      const q = x / y;
      [x, y] = [y, x - q * y];
      [A, B, C, D] = [C, D, A - q * C, B - q * D];
      lx = ly;
    } else {
      const [a1, b1, c1, d1] = [BigInt(a), BigInt(b), BigInt(c), BigInt(d)];
      [x, y] = [a1 * x + b1 * y, c1 * x + d1 * y];
      [A, B, C, D] = [a1 * A + b1 * C, a1 * B + b1 * D, c1 * A + d1 * C, c1 * B + d1 * D];
      lx = bitLengthBelow(x, lx + 1);
    }
  }
}

// gcd(u, v) >= 0 as pieces of work: it yields after each block step (well
// under a millisecond at 100000 bits).
function* gcdPieces(u, v) {
  u = abs(u);
  v = abs(v);
  if (u < v) [u, v] = [v, u];
  let lu = v === 0n ? 0 : bitLength(u);
  while (v !== 0n) {
    if (lu <= 2 * BLOCK) return digitGcd(u, v);
    const lv = bitLengthBelow(v, lu + 1);
    let shorter = null;
    if (lu - lv <= BLOCK / 4) {
      const shift = BigInt(lu - BLOCK);
      const [A, B, C, D] = blockCofactors(u >> shift, v >> shift, BLOCK);
      if (B !== 0n) {
        shorter = [abs(A * u + B * v), abs(C * u + D * v)];
        if (shorter[0] < shorter[1]) shorter.reverse();
        const ls = bitLengthBelow(shorter[0], lu + 2);
        if (ls < lu) {
          [u, v] = shorter;
          lu = ls;
        } else {
          shorter = null;
        }
      }
    }
    if (shorter === null) {
      [u, v] = [v, u % v];
      lu = lv;
    }
    yield;
  }
  return u;
}

// gcd(u, v) >= 0 in one call.
export function gcd(u, v) {
  u = abs(u);
  v = abs(v);
  if (u < v) [u, v] = [v, u];
  return u < BLOCK_FROM ? digitGcd(u, v) : finish(gcdPieces(u, v));
}

// n / d in lowest terms, d made positive.
function fraction(n, d = 1n) {
  if (d === 0n) throw new RangeError('division by zero');
  if (d < 0n) [n, d] = [-n, -d];
  if (n === 0n) return { n, d: 1n };
  const g = gcd(n, d);
  return g === 1n ? { n, d } : { n: n / g, d: d / g };
}

// "3/5", "-1/5", "2", "0".
export function format(x) {
  return x.d === 1n ? String(x.n) : `${x.n}/${x.d}`;
}

// The four operations, in lowest terms; divide gives null for a division by 0.
export const add = (a, b) => fraction(a.n * b.d + b.n * a.d, a.d * b.d);
export const subtract = (a, b) => fraction(a.n * b.d - b.n * a.d, a.d * b.d);
export const multiply = (a, b) => fraction(a.n * b.n, a.d * b.d);
export const divide = (a, b) => (b.n === 0n ? null : fraction(a.n * b.d, a.d * b.n));
export const negate = (a) => ({ n: -a.n, d: a.d });
export const magnitude = (a) => ({ n: abs(a.n), d: a.d });

// -1, 0 or 1 as a is less than, equal to or greater than b.
export function compare(a, b) {
  const [x, y] = [a.n * b.d, b.n * a.d];
  return x < y ? -1 : x > y ? 1 : 0;
}

export const equal = (a, b) => compare(a, b) === 0;

// The nearest double, as a Number (for a quick look, never for a verdict).
export const approximate = (a) => Number(a.n) / Number(a.d);

// The longest number that a learner types in a field: an entry, a row's
// entry, an answer. A number in a row operation may be longer (readTyped's most).
export const MAX_TYPED = 200;

// The most digits of an integer that a number the page holds may have.
export const MAX_DIGITS = Math.ceil(MAX_BITS * Math.log10(2));

// A part of what was typed, short enough to quote in a sentence.
export const excerpt = (text) => (text.length > 24 ? `${text.slice(0, 24)}…` : text);

// Text as a learner types a number (or a row operation), made plain: NFKC
// (full-width digits, signs, slash and blanks become ASCII; ½ becomes 1⁄2),
// the minus signs and dashes people type as '-', among them the Hangul
// letter ㅡ that 천지인 keyboards offer for a dash (NFKC makes it U+1173),
// the fraction slashes as '/', one blank for any run of blanks, none around.
export const plain = (text) => String(text).normalize('NFKC').replace(/[\u2212\u2010-\u2015\ufe63\u1173\u3161]/g, '-')
  .replace(/[\u2044\u2215]/g, '/').trim().replace(/\s+/g, ' ');

// A part of a typed number: an integer of up to MAX_DIGITS digits (which a
// hint's factor may need), else a decimal as parseDecimal reads it.
const partValue = (text) => (/^[+-]?\d+$/.test(text) && text.length <= MAX_DIGITS + 1 ? { n: BigInt(text), d: 1n } : parseDecimal(text));

// The one reading of a number typed anywhere on the page, in practice, in the
// own way and in a teacher's grading of either: an integer, a decimal
// (exactly, with an optional exponent) or a fraction of two, a sign on either
// part ('3/-4' is -3/4) with or without a blank after it, the whole
// optionally in parentheses '(1/2)'; two numbers side by side ('1 000') are
// none. Gives { value, parts } (parts the texts of the numerator and of the
// denominator if any, signs joined) or { problem }: 'empty', 'long' (past
// most characters, or a part past MAX_DIGITS), 'unread' or 'zeroDenominator' (with its parts, which
// practice reads as a non-finite number).
export function readTyped(text, most = MAX_TYPED) {
  const raw = ['string', 'number', 'bigint'].includes(typeof text) ? String(text) : '';
  if (raw.length > most) return { problem: 'long' };
  const typed = plain(raw);
  if (typed === '') return { problem: 'empty' };
  const parts = (/^\((.*)\)$/.exec(typed)?.[1] ?? typed).split('/').map((part) => part.trim().replace(/^([+-]) /, '$1'));
  if (parts.some((part) => /^[+-]?\d+$/.test(part) && part.length > MAX_DIGITS + 1)) return { problem: 'long' };
  const values = parts.map(partValue);
  if (parts.length > 2 || values.includes(null)) return { problem: 'unread' };
  const value = parts.length > 1 ? divide(...values) : values[0];
  return value === null ? { problem: 'zeroDenominator', parts } : { value, parts };
}

// The exact value of a plain decimal: an optional sign, digits with at most
// one decimal point (at least one digit), and an optional exponent: "-12.5",
// ".5", "5.", "+7e-1", "1E2". Null for anything else: nan, inf, hexadecimal,
// "1,5", "e5", "1e", "".
//
// Null too when the value, written as m × 10^e with m an integer that does
// not end in 0, has more than MAX_DECIMAL_DIGITS digits in m or |e| above
// MAX_DECIMAL_DIGITS, so that hostile text (a token of a million digits,
// "1e-999999999") costs no more than reading it. The bound keeps the exact
// value of every finite double: 2^-1074 is 751 digits times 10^-1074, the
// largest double 309 digits. Zero is zero whatever its exponent.
export function parseDecimal(text) {
  const match = /^([+-]?)(\d*)(?:\.(\d*))?(?:[eE]([+-]?)(\d+))?$/.exec(text);
  if (match === null) return null;
  const [, sign, whole, part = '', exponentSign, exponentDigits] = match;
  if (whole === '' && part === '') return null;
  const digits = (whole + part).replace(/^0+/, '');
  if (digits === '') return { n: 0n, d: 1n };
  let end = digits.length;
  while (digits[end - 1] === '0') --end;  // not /0+$/, which is quadratic on 1000…0001
  const significant = digits.slice(0, end);
  let exponent = digits.length - end - part.length;
  // A long exponent is a huge Number, or Infinity: past the bound either way.
  if (exponentDigits !== undefined) exponent += (exponentSign === '-' ? -1 : 1) * Number(exponentDigits);
  if (significant.length > MAX_DECIMAL_DIGITS || Math.abs(exponent) > MAX_DECIMAL_DIGITS) return null;
  const n = (sign === '-' ? -1n : 1n) * BigInt(significant);
  if (exponent >= 0) return { n: n * 10n ** BigInt(exponent), d: 1n };
  return fraction(n, 10n ** BigInt(-exponent));
}

// A row of the matrix: its entries nums[c] / den with den > 0, so that a row
// operation is integer arithmetic. A row never changes once made: a stage's
// matrix is the array of its rows, shared with the stages before it. clean
// says that den and the nums have no common factor; values caches each entry
// in lowest terms once asked for.
function makeRow(nums, den, clean) {
  if (den < 0n) {
    nums = nums.map((x) => -x);
    den = -den;
  }
  return { nums: Object.freeze(nums), den, clean, values: [] };
}

// The row nums / den with their common factor divided out, as pieces of
// work. The gcd starts with den and the smallest numerators, which usually
// settles it early: once it is 1 nothing is left to do.
function* cleanRow(nums, den) {
  let g = abs(den);
  const order = nums.filter((x) => x !== 0n).map(abs).sort((x, y) => (x < y ? -1 : x > y ? 1 : 0));
  for (const x of order) {
    if (g === 1n) break;
    g = yield* gcdPieces(g, x);
  }
  if (g !== 1n) {
    const divided = [];
    for (const x of nums) {
      divided.push(x / g);
      yield;
    }
    [nums, den] = [divided, den / g];
  }
  return makeRow(nums, den, true);
}

// A row from rationals in any terms: the numerators over their lcm.
function* rowOf(values) {
  let den = 1n;
  for (const x of values) den = (den / gcd(den, x.d)) * x.d;
  return yield* cleanRow(values.map((x) => x.n * (den / x.d)), den);
}

// The determinant of a square matrix of BigInts, by fraction-free (Bareiss)
// elimination, in which every division is exact. As pieces of work; the
// determinant is the value.
function* determinantPieces(rows) {
  const m = rows.map((row) => row.slice());
  const n = m.length;
  let [sign, previous] = [1n, 1n];
  for (let k = 0; k < n; ++k) {
    const p = m.findIndex((row, i) => i >= k && row[k] !== 0n);
    if (p < 0) return 0n;
    if (p !== k) [m[k], m[p], sign] = [m[p], m[k], -sign];
    const pivot = m[k];
    for (let i = k + 1; i < n; ++i) {
      const row = m[i];
      for (let j = k + 1; j < n; ++j) {
        row[j] = (pivot[k] * row[j] - row[k] * pivot[j]) / previous;
        yield;
      }
      row[k] = 0n;
    }
    previous = pivot[k];
  }
  return n === 0 ? 1n : sign * m[n - 1][n - 1];
}

// The determinant of a square matrix of integers (Numbers or BigInts), exactly.
export const determinant = (rows) => finish(determinantPieces(rows.map((row) => row.map(BigInt))));

// The rank of a matrix of exact values (rows of fractions), by elimination
// on a copy; for the few columns of a practice run, where the work is small.
export function rank(rows) {
  const a = rows.map((row) => row.slice());
  let r = 0;
  for (let c = 0; c < (a[0]?.length ?? 0) && r < a.length; c++) {
    const p = a.findIndex((row, i) => i >= r && row[c].n !== 0n);
    if (p < 0) continue;
    [a[r], a[p]] = [a[p], a[r]];
    for (let i = r + 1; i < a.length; i++) {
      const f = divide(a[i][c], a[r][c]);
      a[i] = a[i].map((x, j) => subtract(x, multiply(f, a[r][j])));
    }
    r++;
  }
  return r;
}

// Whether the first n columns of rows make a singular matrix: a row's integers
// are the row times its denominator, which keeps singularity. As pieces of work.
function* singular(rows, n) {
  return (yield* determinantPieces(rows.map((row) => row.nums.slice(0, n)))) === 0n;
}

// A stage's values as the caller sees them: entry(r, c) is the value at row
// r and column c (0-based; for the solution, entry(j, 0) is x_{j+1}) in
// lowest terms, worked out when first asked (one gcd of numbers of up to
// MAX_BITS bits) and kept; zero(r, c) says whether it is exactly 0, at no
// cost. Both throw a RangeError for a place outside the stage.
function matrixView(rows, width) {
  const row = (r, c) => {
    if (!(r >= 0 && r < rows.length && c >= 0 && c < width)) throw new RangeError(`no entry (${r}, ${c})`);
    return rows[r];
  };
  return {
    entry(r, c) {
      const x = row(r, c);
      return (x.values[c] ??= fraction(x.nums[c], x.den));
    },
    zero: (r, c) => row(r, c).nums[c] === 0n,
  };
}

function unknownsView(unknowns) {
  const unknown = (j, c) => {
    if (!(j >= 0 && j < unknowns.length && c === 0 && unknowns[j])) throw new RangeError(`no unknown (${j}, ${c})`);
    return unknowns[j];
  };
  return {
    entry(j, c) {
      const x = unknown(j, c);
      return (x.value ??= fraction(x.n, x.d));
    },
    zero: (j, c) => unknown(j, c).n === 0n,
  };
}

// The rows and columns that each operation that changes the matrix names,
// as { rows, columns } of its fields (the report's, decoded by name).
const places = {
  scale: { rows: ['i'], columns: ['c'] },
  swap: { rows: ['i', 'k'], columns: [] },
  combine: { rows: ['t', 'p'], columns: [] },
  divide: { rows: ['i'], columns: [] },
  quotient: { rows: ['j'], columns: [] },
};

// Replays stages (each { unknowns, ops }, ops the report's operations decoded
// by name, rows and columns 1-based) on start, the matrix as typed (n rows of
// width rationals; for gjsolve width is n + 1, the last column b):
//   scale { i, c }     row i divided by its entry in column c
//   swap { i, k }      rows i and k exchanged
//   combine { t, p }   row t replaced by row p minus r times row t, where
//                      r = a[p][p] / a[t][p], from the exact rows
//   divide { i }       row i divided by a[i][i]
//   quotient { j }     x_j = a[j][n+1] / a[j][j]
// and any other operation (unchanged, no_exchange) leaves the matrix alone.
// Throws a RangeError at once for places outside the matrix.
//
// Gives a job: job.step(deadline) works until performance.now() reaches
// deadline (ms) or the replay is done, and returns true once it is done. Each
// call does at least one piece of work, so that a caller already past its
// deadline still gets there. A piece is one entry's arithmetic or one step of
// a gcd, a few milliseconds at most even near MAX_BITS. job.result is then
// { stages, stop, tooLarge, bits }:
//   stages[k]  the values after stage k (see matrixView; for a stage of the
//              unknowns, the unknowns), or null from the stop or the give-up on;
//   stop       where the replay would divide by an exact zero, as
//              { stage, row, column, op, singular }: the stage's index
//              (0-based), the entry divided by (1-based: a[i][c] for scale,
//              a[t][p] for combine, a[i][i] for divide, a[j][j] for quotient),
//              the operation, and whether the first n columns of start make a
//              singular matrix; else null;
//   tooLarge   { stage } (0-based) when a row of that stage outgrew MAX_BITS;
//              else null;
//   bits       the most bits that a row's numerator or denominator took.
export function replay(start, stages) {
  const n = start.length;
  const width = n === 0 ? 0 : start[0].length;
  const within = (k, count) => Number.isInteger(k) && k >= 1 && k <= count;
  for (const { ops } of stages) {
    for (const op of ops) {
      const named = places[op.name];
      if (!named) continue;
      const ok = named.rows.every((f) => within(op[f], n)) && named.columns.every((f) => within(op[f], width)) &&
        (op.name !== 'quotient' || width > n);
      if (!ok) throw new RangeError(`${op.name} ${JSON.stringify(op)}: outside the ${n}×${width} matrix`);
    }
  }

  const job = { result: null };
  const work = (function* () {
    const rows = [];
    for (const values of start) rows.push(yield* rowOf(values));
    const initial = rows.slice();
    const unknowns = [];
    const views = [];
    let stop = null;
    let tooLarge = null;
    let largest = 0n;
    const measure = (row, k) => {
      for (const x of row.nums) if (x > largest || -x > largest) largest = abs(x);
      if (row.den > largest) largest = row.den;
      if (largest >= LIMIT && tooLarge === null) tooLarge = { stage: k };
    };
    for (const row of rows) measure(row, 0);

    // The divisor a[i][c] (1-based) of op as its numerator over the row's
    // denominator; at an exact 0, stop says where.
    const divisor = (k, op, i, c) => {
      const x = rows[i - 1].nums[c - 1];
      if (x === 0n) stop = { stage: k, row: i, column: c, op, singular: null };
      return x;
    };
    const operations = {
      *scale(k, op) {
        const { i, c } = op;
        const by = divisor(k, op, i, c);
        if (!stop) rows[i - 1] = yield* cleanRow(rows[i - 1].nums, by);
        return rows[i - 1];
      },
      *swap(k, { i, k: j }) {
        [rows[i - 1], rows[j - 1]] = [rows[j - 1], rows[i - 1]];
        return null;
      },
      // With P = row p and T = row t as integers over their denominators,
      // P_c / P.den - (P_p T.den / (P.den T_p)) T_c / T.den
      //   = (P_c T_p - P_p T_c) / (P.den T_p),
      // with T_p and P_p divided by their gcd first. That gcd takes out most
      // of the common factor of the result; the rest, a few small primes
      // (powers of 2 and 5 from decimals, mostly), stays until the row is a
      // pivot row or is divided: a gcd of the whole row for every
      // combination would make the replay two to three times slower.
      *combine(k, op) {
        const { t, p } = op;
        const tp = divisor(k, op, t, p);
        if (stop) return null;
        let pivotRow = rows[p - 1];
        if (!pivotRow.clean) rows[p - 1] = pivotRow = yield* cleanRow(pivotRow.nums, pivotRow.den);
        const pp = pivotRow.nums[p - 1];
        if (pp === 0n) return (rows[t - 1] = pivotRow);
        const g = yield* gcdPieces(pp, tp);
        const [a, b] = [tp / g, pp / g];
        const target = rows[t - 1].nums;
        const nums = [];
        for (const [c, x] of pivotRow.nums.entries()) {
          nums.push(x * a - b * target[c]);
          yield;
        }
        return (rows[t - 1] = makeRow(nums, pivotRow.den * a, false));
      },
      *divide(k, op) {
        const { i } = op;
        const by = divisor(k, op, i, i);
        if (!stop) rows[i - 1] = yield* cleanRow(rows[i - 1].nums, by);
        return rows[i - 1];
      },
      *quotient(k, op) {
        const { j } = op;
        const by = divisor(k, op, j, j);
        if (stop) return null;
        const b = rows[j - 1].nums[n];
        unknowns[j - 1] = by < 0n ? { n: -b, d: -by } : { n: b, d: by };
        return null;
      },
    };

    for (const [k, stage] of stages.entries()) {
      for (const op of stage.ops) {
        if (stop || tooLarge) break;
        if (!Object.hasOwn(operations, op.name)) continue;
        const made = yield* operations[op.name](k, op);
        if (made && !stop) measure(made, k);
        yield;
      }
      if (stop || tooLarge) views.push(null);
      else if (stage.unknowns) views.push(unknownsView(unknowns.slice()));
      else views.push(matrixView(rows.slice(), width));
    }
    if (stop) stop.singular = yield* singular(initial, n);
    job.result = { stages: views, stop, tooLarge, bits: largest === 0n ? 0 : bitLength(largest) };
  })();

  let done = false;
  job.step = (deadline) => {
    while (!done) {
      done = work.next().done === true;
      if (performance.now() >= deadline) break;
    }
    return done;
  };
  return job;
}

