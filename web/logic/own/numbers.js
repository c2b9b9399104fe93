// The numbers of the learner's own row operations: entries and factors as
// typed, read exactly (0.1 is 1/10), and shown back. A number is a rational
// of exact.js; what cannot be read is a problem, never an exception.
import { parseDecimal, gcd, add, multiply, divide, negate, equal, format } from '../run/exact.js';

// The arithmetic of those rationals, for the rest of the mode: one import of exact.js in its part.
export { gcd, add, multiply, divide, negate, equal, format };

export const MAX_ENTRY = 200;

// A problem: what the page says instead of a value, by its text's id.
export const problem = (id, values = {}) => ({ problem: { id, values } });

export const ZERO = { n: 0n, d: 1n };
export const ONE = { n: 1n, d: 1n };
export const isZero = (x) => x.n === 0n;
export const isOne = (x) => x.n === 1n && x.d === 1n;

// A part of what was typed, short enough to quote in a sentence.
export const excerpt = (text) => (text.length > 24 ? `${text.slice(0, 24)}…` : text);

// Text as the page reads it: NFKC (full-width digits, signs, slash and
// blanks become ASCII; ½ becomes 1⁄2), the minus signs and dashes people
// type as '-', and the fraction slashes as '/'.
export const normalize = (text) => String(text).normalize('NFKC').replace(/[\u2212\u2012\u2013\u2014\ufe63]/g, '-').replace(/[\u2044\u2215]/g, '/');

// The value of one number as typed: an integer, a decimal (exactly, with an
// optional exponent), a fraction `-3/4` (of two such), each optionally in parentheses
// `(1/2)`, with blanks around. Gives { value } or { problem }.
export function readNumber(text) {
  const raw = ['string', 'number', 'bigint'].includes(typeof text) ? String(text) : '';
  if (raw.length > MAX_ENTRY) return problem('own.number.long', { limit: MAX_ENTRY });
  const typed = normalize(raw).trim();
  if (typed === '') return problem('own.number.empty');
  const parts = (/^\(\s*(.*?)\s*\)$/.exec(typed)?.[1] ?? typed).split('/').map((part) => part.trim());
  const values = parts.map(parseDecimal);
  // The sign goes before the fraction or its numerator, never below the line.
  if (parts.length > 2 || values.includes(null) || /^[+-]/.test(parts[1])) return problem('own.number.unread', { part: excerpt(typed) });
  const value = parts.length > 1 ? divide(...values) : values[0];
  return value === null ? problem('own.number.zeroDenominator') : { value };
}

// A value for sentences and notation: the minus sign U+2212.
export const shown = (value) => format(value).replace('-', '\u2212');
