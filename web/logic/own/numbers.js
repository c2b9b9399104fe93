// The numbers of the learner's own row operations: entries and factors as
// typed, read exactly (0.1 is 1/10), and shown back. A number is a rational
// of exact.js; what cannot be read is a problem, never an exception.
import { readTyped, plain, MAX_TYPED, excerpt, gcd, add, multiply, divide, negate, equal, format } from '../run/exact.js';

// The arithmetic of those rationals, and a quote of what was typed, for the rest of the mode: one import of exact.js in its part.
export { gcd, add, multiply, divide, negate, equal, format, excerpt };

export const MAX_ENTRY = MAX_TYPED;

// A problem: what the page says instead of a value, by its text's id.
export const problem = (id, values = {}) => ({ problem: { id, values } });

export const ZERO = { n: 0n, d: 1n };
export const ONE = { n: 1n, d: 1n };
export const isZero = (x) => x.n === 0n;
export const isOne = (x) => x.n === 1n && x.d === 1n;

// Text as the page reads it (exact.js's plain): full-width forms, minus
// signs, dashes and ㅡ, fraction slashes and blanks as the one reader takes them.
export const normalize = plain;

// The value of one number as typed, read as everywhere on the page (exact.js's
// readTyped), at most most characters: { value } or { problem } (own.number.*).
export function readNumber(text, most = MAX_ENTRY) {
  const read = readTyped(text, most);
  if (read.value) return { value: read.value };
  const typed = plain(['string', 'number', 'bigint'].includes(typeof text) ? String(text) : '');
  return problem(`own.number.${read.problem}`, read.problem === 'long' ? { limit: most } : read.problem === 'unread' ? { part: excerpt(typed) } : {});
}

// A value for sentences and notation: the minus sign U+2212.
export const shown = (value) => format(value).replace('-', '\u2212');
