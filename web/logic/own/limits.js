// The own way's limits and the compact form of an operation, written once:
// the mode, its links (code.js) and an assignment's codes of own work
// (assignments/result-code.js, of the first script) read them here.
//   s1.2       swap rows 1 and 2
//   c2:1/2     row 2 times 1/2
//   a2.1:-3    row 2 plus -3 times row 1
// rows 1-based, a factor an integer or a fraction of two, each part as long
// as a number that the page holds may be (exact.js's MAX_DIGITS), so that
// every operation the page makes can be kept.
import { MAX_DIGITS } from '../run/exact.js';

export const MAX_ROWS = 10;
export const MAX_COLUMNS = 20;

// More than a reduction of a 10 × 20 matrix takes several times over; the
// operations of one piece of work, however they come (typed, built with
// buttons, a hint, a link, storage, a code).
export const MAX_OPS = 400;

// The characters of a factor in the compact form: a sign, two parts and the slash.
export const MAX_FACTOR = 2 * MAX_DIGITS + 2;

// One operation in the compact form: its letter, row, other row and factor ('-3', '1/2').
export const compactOp = new RegExp(`^([sca])(10|[1-9])(?:\\.(10|[1-9]))?(?::(-?\\d{1,${MAX_DIGITS}}(?:/\\d{1,${MAX_DIGITS}})?))?$`);
