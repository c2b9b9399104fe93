// A practice session's saved work as one short ASCII string, for an LMS's
// suspend_data, which SCORM 1.2 holds to 4,096 characters: an order-4 inverse
// with every entry asked takes some 400 answers, so each costs its typed text
// and about four characters more.
//
// The saved work is what practice keeps: { from, fill, current, stages }, each
// stage null or { answers: [[key, { text, alone, choice, verdict, zero }]],
// wrong, hints, shown }, verdict { right, note, slip }.
//
// The string: "1" (the version), the fill, from and current, then for each
// stage from `from` on "~" and its flags ("~-" for none), then its answers, each
// a key, its text and an end that says the verdict: "," right, ";" wrong,
// else "!" with flags, note, slip and choice. A key is two base-36 digits for
// an entry (row, column), a letter and a digit for a divisor, r or x, a letter
// for the order or invertibility. Any other key, fill, note, slip or choice is
// written out between quotes; a text is written as it is but for the
// characters that mark the parts and any beyond ASCII, which are %-escaped.
import { deflateSync, inflateSync, strToU8, strFromU8 } from 'fflate';
import { fills } from '../run/share.js';
import { slipNames } from '../practice/check.js';
import { write, read } from './result-code.js';
import { toBase64url, fromBase64url } from './packing.js';

const version = '1';
const digits = '0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ-_';
const reserved = /[^\x20-\x7e]|[,;!~%']/g;
const notes = [null, 'residue', 'fromPrinted', 'negativeZero'];
// A slip's digit is its place here: check.js keeps the names in an order
// that only grows, so that saved work reads the same.
const slips = [null, ...slipNames];
const choices = [null, 'yes', 'no'];
const maxHints = 8;   // the stage's flags are one digit: wrong, shown and the hints times 4
const keyLetters = { divisor: 'D', r: 'R', x: 'X' };
const keyWords = { D: 'divisor', R: 'r', X: 'x' };

const escape = (text) => text.replace(reserved, (ch) =>
  [...new TextEncoder().encode(ch)].map((b) => '%' + b.toString(16).toUpperCase().padStart(2, '0')).join(''));
const quoted = (text) => `'${escape(text)}'`;

// value as its one-digit index in table, or quoted when it is not there.
function token(value, table) {
  const k = table.indexOf(value ?? null);
  return k >= 0 ? digits[k] : quoted(String(value));
}

// A question's key in two or three characters where it has a short form.
function keyToken(key) {
  let m = /^entry ([1-9]\d*) ([1-9]\d*)$/.exec(key);
  if (m && m[1] < 36 && m[2] < 36) return Number(m[1]).toString(36) + Number(m[2]).toString(36);
  m = /^(divisor|r|x) ([1-9]\d*)$/.exec(key);
  if (m && m[2] < 36) return keyLetters[m[1]] + Number(m[2]).toString(36);
  return key === 'order' ? 'O' : key === 'invertible' ? 'I' : quoted(key);
}

function answerToken([key, given]) {
  const { text = null, alone = false, choice = null, verdict, zero = false } = given;
  const plain = text !== null && !alone && !zero && choice === null && verdict.note === null && verdict.slip === null;
  const end = plain ? (verdict.right ? ',' : ';')
    : '!' + digits[(verdict.right ? 1 : 0) | (alone ? 2 : 0) | (zero ? 4 : 0) | (text === null ? 8 : 0)] +
      token(verdict.note, notes) + token(verdict.slip, slips) + token(choice, choices);
  return keyToken(key) + (text === null ? '' : escape(String(text))) + end;
}

function stageToken(stage) {
  if (!stage) return '~-';
  const hints = Math.max(0, Math.min(maxHints, Number(stage.hints) || 0));
  const flags = (stage.wrong ? 1 : 0) | (stage.shown ? 2 : 0) | (hints << 2);
  return '~' + digits[flags] + (stage.answers ?? []).map(answerToken).join('');
}

// The saved work as a string of printable ASCII; the stages before `from`,
// which practice does not restore, are left out.
export function encode(saved) {
  const stages = Array.from({ length: Math.max(0, (saved.stages?.length ?? 0) - saved.from) }, (_, i) => saved.stages[saved.from + i]);
  return version + token(saved.fill, fills) + saved.from.toString(36) + '.' + saved.current.toString(36) + '.' +
    stages.map(stageToken).join('');
}

// A reader of text: each read takes its part from where the last one stopped
// and gives its value, or throws a SyntaxError.
const reader = (text) => {
  let at = 0;
  const fail = () => { throw new SyntaxError(`suspend data unreadable at ${at}`); };
  const peek = () => text[at];
  const base36 = (ch) => (/^[0-9a-z]$/.test(ch) ? parseInt(ch, 36) : fail());
  const next = () => (at < text.length ? text[at++] : fail());
  const upTo = (pattern) => {
    const start = at;
    while (at < text.length && !pattern.test(text[at])) at++;
    return text.slice(start, at);
  };
  const unescape = (part) => {
    try { return decodeURIComponent(part); } catch { return fail(); }
  };
  const quote = () => {
    const part = upTo(/'/);
    next();
    return unescape(part);
  };
  const tokenOf = (table) => {
    const ch = next();
    if (ch === "'") return quote();
    const k = digits.indexOf(ch);
    return k >= 0 && k < table.length ? table[k] : fail();
  };
  const number = () => {
    const part = upTo(/\./);
    next();
    return /^[0-9a-z]{1,4}$/.test(part) ? parseInt(part, 36) : fail();
  };
  const key = () => {
    const ch = next();
    if (ch === "'") return quote();
    if (ch === 'O') return 'order';
    if (ch === 'I') return 'invertible';
    const second = base36(next());
    return keyWords[ch] ? `${keyWords[ch]} ${second}` : `entry ${base36(ch)} ${second}`;
  };
  const answer = () => {
    const k = key();
    const typed = unescape(upTo(/[,;!~']/));
    const end = next();
    if (end === ',' || end === ';')
      return [k, { text: typed, alone: false, choice: null, verdict: { right: end === ',', note: null, slip: null }, zero: false }];
    if (end !== '!') return fail();
    const flags = digits.indexOf(next());
    if (flags < 0 || flags > 15 || (flags & 8 && typed !== '')) return fail();
    const [note, slip, choice] = [tokenOf(notes), tokenOf(slips), tokenOf(choices)];
    return [k, { text: flags & 8 ? null : typed, alone: (flags & 2) > 0, choice, verdict: { right: (flags & 1) > 0, note, slip }, zero: (flags & 4) > 0 }];
  };
  const stage = () => {
    if (next() !== '~') fail();
    const ch = next();
    if (ch === '-') return null;
    const flags = digits.indexOf(ch);
    if (flags < 0 || flags >> 2 > maxHints) fail();
    const answers = [];
    while (at < text.length && peek() !== '~') answers.push(answer());
    return { answers, wrong: (flags & 1) > 0, hints: flags >> 2, shown: (flags & 2) > 0 };
  };
  return { tokenOf, number, stage, done: () => at >= text.length };
};

// The saved work that encode() wrote, its stages before `from` null; null when
// text is not such a string (another version, cut short or altered).
export function decode(text) {
  if (typeof text !== 'string' || text[0] !== version) return null;
  try {
    const read = reader(text.slice(1));
    const fill = read.tokenOf(fills);
    const [from, current] = [read.number(), read.number()];
    const stages = Array(from).fill(null);
    while (!read.done()) stages.push(read.stage());
    return { from, fill, current, stages };
  } catch {
    return null;
  }
}

// A student's work on an assignment (work.kept: { progress, finished,
// result, handed }) as one string for suspend_data: "W2" and the base64url
// (letters, digits, '-' and '_': nothing that an LMS which form-encodes the
// value carelessly turns into something else) of the deflated lines of the
// progress (encode), whether it is finished, the result's code and the code
// handed in. Deflating finds the code handed in in the result's, and the
// progress's digits in few bits: an order-4 inverse with every entry asked,
// handed in, takes 2,600 characters, or 3,600 with a third of its first
// answers wrong (3,100 and 5,100 as they stand). Work saved by earlier pages
// as "W1" and base64 reads still (decodeWork). sent, where not 0, is written
// on a line of its own: the times the LMS refused the work, so that the same
// work sent again after a refusal differs from what the LMS's runtime may
// take for sent (Moodle's SCORM 1.2 marks a value sent before it knows).
export function encodeWork(kept, sent = 0) {
  const lines = [kept.progress ? encode(kept.progress) : '', kept.finished ? '1' : '0', write(kept.result), kept.handed ?? '', ...(sent > 0 ? [String(sent)] : [])];
  return 'W2' + toBase64url(deflateSync(strToU8(lines.join('\n')), { level: 9 }));
}

// The bytes after a saved work's version: base64url for "W2", base64 for "W1"; null for none.
function deflated(text) {
  if (text.startsWith('W2')) return fromBase64url(text.slice(2));
  if (!text.startsWith('W1')) return null;
  try { return strToU8(atob(text.slice(2)), true); } catch { return null; }
}

// The work that encodeWork() wrote, its times to the second; null when text
// is not such a string. Where its progress cannot be read but its result can
// (from the result's code, or the code handed in), what can be kept is: the
// work with progress null, which practice starts afresh, and lost: true.
// Own work (an own result, own-result.js) has no progress: its result holds
// it all, and it is never lost so.
export function decodeWork(text) {
  const data = typeof text === 'string' ? deflated(text) : null;
  if (!data) return null;
  let lines;
  try { lines = strFromU8(inflateSync(data)).split('\n'); } catch { return null; }
  const [result, handed] = [lines[2], lines[3]].map((line) => (line ? read(line) : null)).map((r) => (r && !r.problem ? r : null));
  if (![4, 5].includes(lines.length) || !(result ?? handed)) return null;
  const progress = ['0', '1'].includes(lines[1]) ? decode(lines[0]) : null;
  const finished = lines[1] === '1' && (progress !== null || Boolean((result ?? handed).own));
  const lost = progress === null && lines[0] !== '';
  return { progress, finished, result: result ?? handed, handed: handed ? lines[3] : null, ...(lost ? { lost } : {}) };
}

// A set's work (set-work.js's: { problems, handed, version }, each problem's
// work.kept's with its score) as one string for suspend_data: "S1" and the
// base64url of the deflated lines: the count of problems, the version and
// sent (as encodeWork's); for each problem its progress, whether it is
// finished ('-' for none begun), its result's code and its score (scorm.js
// problemScore's: "asked right final"); then the codes handed in. Where that
// is longer than most (the version's suspend_data), the progress of the last
// problems is left out, one after another: their results stay whole, and
// their practice starts afresh.
export function encodeSetWork(value, sent = 0, most = Infinity) {
  const line = (keep) => (w, at) => (w === null ? ['', '-', '', ''] : [at < keep && w.progress ? encode(w.progress) : '', w.finished ? '1' : '0',
    write(w.result), w.score ? `${w.score.asked} ${w.score.right} ${Number(w.score.final)}` : '']);
  const text = (keep) => 'S1' + toBase64url(deflateSync(strToU8([`${value.problems.length} ${value.version} ${sent}`,
    ...value.problems.flatMap(line(keep)), (value.handed ?? '').replace(/\n/g, ' ')].join('\n')), { level: 9 }));
  let keep = value.problems.length;
  while (keep > 0 && text(keep).length > most) keep--;
  return text(keep);
}

// The set's work that encodeSetWork() wrote ({ problems, handed, version },
// lost: true where a progress could not be read); null when text is not such
// a string. A problem whose result does not read is none begun.
export function decodeSetWork(text) {
  const data = typeof text === 'string' && text.startsWith('S1') ? fromBase64url(text.slice(2)) : null;
  let lines;
  try { lines = data && strFromU8(inflateSync(data)).split('\n'); } catch { return null; }
  const [count, version] = (lines?.[0] ?? '').split(' ').map(Number);
  if (!lines || !Number.isInteger(count) || count < 1 || count > 12 || lines.length !== 4 * count + 2) return null;
  let lost = false;
  const problems = Array.from({ length: count }, (_, at) => {
    const [progressLine, finished, code, score] = lines.slice(1 + 4 * at, 5 + 4 * at);
    const result = code ? read(code) : null;
    if (!result || result.problem) return null;
    const progress = progressLine ? decode(progressLine) : null;
    lost ||= progressLine !== '' && progress === null;
    const [asked, right, final] = score.split(' ').map(Number);
    return { progress, finished: finished === '1', result, handed: null, version: 0, rounds: 0,
             ...(Number.isFinite(asked) && Number.isFinite(right) ? { score: { asked, right, final: final === 1 } } : {}) };
  });
  const handed = lines.at(-1) === '' ? null : lines.at(-1).split(' ').join('\n');
  return { problems, handed, version: Number.isInteger(version) ? version : 0, ...(lost ? { lost } : {}) };
}

// The work of either kind that text holds (a set's, "S1", or one problem's), or null.
export const decodeAnyWork = (text) => (typeof text === 'string' && text.startsWith('S1') ? decodeSetWork(text) : decodeWork(text));
