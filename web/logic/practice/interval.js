// Closed intervals of rationals, { lo, hi }, for hand work from printed numbers:
// a number written to a few significant digits stands for every number that
// rounds to it, and an operation on such numbers for every result that those
// can give. Built on exact.js's operations; nothing here touches the page.
import { parseDecimal, add, subtract, multiply, divide, compare, magnitude } from '../run/exact.js';

const decimal = /^[+-]?(\d*)(?:\.(\d*))?(?:[eE]([+-]?\d+))?$/;
const min = (a, b) => (compare(a, b) <= 0 ? a : b);
const max = (a, b) => (compare(a, b) >= 0 ? a : b);
const power = (e) => parseDecimal(`1e${e}`);
const [zero, one, half, tenth] = ['0', '1', '0.5', '0.1'].map(parseDecimal);

// The significant digits of a decimal as written: "-0.0303" has 3, "1.20" 3, "0" none.
export function significantDigits(text) {
  const match = decimal.exec(text);
  return match ? (match[1] + (match[2] ?? '')).replace(/^0+/, '').length : 0;
}

// The numbers that round to the decimal text at its digits, or at `digits`
// significant digits when given ("%g" prints six, dropping trailing zeros):
// the text plus or minus half a unit of its last digit, where a power of ten
// (1, 0.01) reaches only half a unit of the decade below towards zero. A zero
// stands for itself, since "%g" prints 0 only for an exact zero. Null for
// anything that is no decimal (inf, nan).
export function rounding(text, digits = null) {
  const x = parseDecimal(text);
  if (x === null) return null;
  if (compare(x, zero) === 0) return { lo: x, hi: x };
  const [, whole, part = '', exponent = '0'] = decimal.exec(text);
  const lead = (whole + part).search(/[1-9]/);
  const top = whole.length - 1 - lead + Number(exponent);  // the exponent of the leading digit
  const last = digits === null ? Number(exponent) - part.length : top - digits + 1;
  const outer = multiply(power(last), half);
  const inner = compare(magnitude(x), power(top)) === 0 ? multiply(outer, tenth) : outer;
  return compare(x, zero) > 0 ? { lo: subtract(x, inner), hi: add(x, outer) } : { lo: subtract(x, outer), hi: add(x, inner) };
}

// What the programs' "%g" stands for: six significant digits.
export const ofPrinted = (printed) => rounding(printed, 6);

export const difference = (a, b) => ({ lo: subtract(a.lo, b.hi), hi: subtract(a.hi, b.lo) });

export function product(a, b) {
  const all = [multiply(a.lo, b.lo), multiply(a.lo, b.hi), multiply(a.hi, b.lo), multiply(a.hi, b.hi)];
  return { lo: all.reduce(min), hi: all.reduce(max) };
}

// a / b, or null where b holds 0 and the quotient has no bound.
export function quotient(a, b) {
  if (compare(b.lo, zero) <= 0 && compare(b.hi, zero) >= 0) return null;
  return product(a, { lo: divide(one, b.hi), hi: divide(one, b.lo) });
}

// The smallest interval holding both.
export const hull = (a, b) => ({ lo: min(a.lo, b.lo), hi: max(a.hi, b.hi) });

export const meets = (a, b) => compare(a.lo, b.hi) <= 0 && compare(b.lo, a.hi) <= 0;

export const holds = (a, x) => meets(a, { lo: x, hi: x });

// Whether x lies within share (a decimal, "0.01") of a's larger end in magnitude from a.
export function near(a, x, share) {
  const reach = multiply(max(magnitude(a.lo), magnitude(a.hi)), parseDecimal(share));
  return meets({ lo: subtract(a.lo, reach), hi: add(a.hi, reach) }, { lo: x, hi: x });
}
