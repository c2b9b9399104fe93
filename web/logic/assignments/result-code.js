// Result codes: what a student hands in, one line of text to copy into a chat,
// an LMS comment or an e-mail: "GJR1" then base32 (digits and capital letters
// alone, nothing that a chat turns into a link, a smiley or markup), ending in
// a CRC-32 that catches a code cut short or mistyped. It carries the student's
// record (below) whole, with what was typed first at each field, so that the
// teacher's page checks the answers itself. Nothing here touches the page.
//
// A result, the record that the practice session of an assignment keeps:
// {
//   id       the assignment's id (assignment.js)
//   name     the student's name, as typed (newResult() trims it to maxName
//            characters: the session draws the student's matrix from this one)
//   started  when the student began, in milliseconds since 1970 (the code keeps seconds)
//   handed   when the code was written, likewise
//   stages   one per stage reached, in the order reached: {
//     k      the stage's index in the run's model (0 is the input's printout)
//     done   whether the stage was finished: every question answered right, or Show used
//     right  the student's page's verdict: every first answer right, no hint, no Show
//     tries  the answers checked at the stage, right or wrong (Show's not counted)
//     hints  the steps of the hint seen, 0 to 3
//     shown  whether Show filled the stage in
//     first  per question of the stage, in the order that check.js asks them
//            (invertibility() first, then questions()), the first answer given,
//            as check() takes it: { text }, { alone: true }, { choice: 'yes' | 'no' | 'one' | 'zero' | 'many' };
//            null for a question not answered. Text is kept to maxAnswer characters.
//            The questions are those of the run with its exact values, which
//            may ask invertibility first: a session notes answers once it has them.
//   }
//   own      an assignment of the student's own row operations only (below)
// }
//
// The result of such an assignment (own-result.js makes and reads it), whose
// code starts "GJY1": the same head, stages [], and own: {
//   ops      the operations in force, in order: { op, first, shown }, op in
//            the compact form (logic/own/code.js), first the texts of the
//            first row the student wrote for it (null for none: the page's
//            arithmetic, a swap, or the row shown at once), shown whether the
//            student asked to see the row
//   tries, shown, hints   the rows written and checked, the rows shown, the hints asked
//   answer   the first reading of the reduced matrix (logic/own/reading.js),
//            or null: of an older page, { choice: 'one' | 'zero' | 'many' |
//            'yes' | 'no', values: texts | null }, which "GJY1" holds; typed in
//            full (the solution set, A⁻¹, the rank and pivot columns), which
//            only "GJY2" holds: the same layout, the reading written by reading.js
// }
// An entry's text is kept to maxAnswer characters, as an answer's is.
//
// A set's hand-in (writeSet) is one "GJS1" code: the same head, then each
// problem worked, by its place in the set, with what a "GJR1" or a "GJY2"
// code holds of it; read, its result has stages [] and parts: [{ at, stages,
// own? }]. Where that code would be longer than a phone's chat carries
// (chatLimit), the hand-in is a "GJS1" code a problem. A code whose head is
// another's hand-in (another name, another time) is another hand-in.
import { writer, reader, sealed, unsealed, toBase32, fromBase32, base32Alphabet, plainBase32 } from './packing.js';
import { writeReading, readReading, isReading, isLegacy } from '../own/reading.js';
import { plain } from '../practice/check.js';
import { maxName, keptName, blank } from './assignment.js';
import { compactOp, MAX_OPS, MAX_COLUMNS, MAX_FACTOR } from '../own/limits.js';

const prefix = 'GJR1';
const ownPrefix = 'GJY1';
const readingPrefix = 'GJY2';  // an own code whose reading is typed in full
const setPrefix = 'GJS1';
// What starts a code of any kind and version: "GJ", the kind's letter (R a
// run's stages, Y the student's own operations, S a set's problems) and the
// version's digit.
const start = 'GJ[RSY]\\d';
// The longest hand-in of a set written as one code: a long text message
// (LMS, 2,000 bytes in Korea) carries it whole, as every usual chat does;
// past it, a code a problem, each as long as that problem's work makes it.
export const chatLimit = 2000;
const maxAnswer = 64;
const maxStages = 64;
const maxQuestions = 200;
const shortest = 16;   // below this, a word that starts like a code is not taken for one
const longest = 20000;  // far above any run's code: past this, text is not read

// Characters of an answer written in 4 bits each; the two codes left end an
// answer and start an escape.
const nibbles = '0123456789.-/e';
const [end, escape] = [14, 15];
const escapes = { text: 0, alone: 1, yes: 2, no: 3, none: 4, one: 5, zero: 6, many: 7 };
const choices = ['yes', 'no', 'one', 'zero', 'many'];
// The own way's limits and its compact operations, as the mode reads them.
const [maxOps, maxEntries, maxFactor] = [MAX_OPS, MAX_COLUMNS, MAX_FACTOR];
const maxParts = 12;      // set.js maxProblems

// A new result for the student named, begun at started (ms), with no stage
// reached; the name as a code keeps it (assignment.keptName).
export const newResult = (id, name, started) =>
  ({ id, name: keptName(name), started, handed: started, stages: [] });

// The result with one thing that happened at stage k noted, the stage added
// (with count questions) when first met. event is { answer: i, given, miss }
// for an answer to question i checked (the first one kept, each one a try; a
// first answer that misses makes the stage not right), { hint: true } for a
// step of the hint, { shown: true } for Show, { done: true } when the stage is
// finished. The result given is not changed.
export function noted(result, k, count, event) {
  const at = result.stages.findIndex((s) => s.k === k);
  const old = at >= 0 ? result.stages[at]
    : { k, done: false, right: true, tries: 0, hints: 0, shown: false, first: Array(count).fill(null) };
  const s = { ...old, first: [...old.first] };
  if ('answer' in event) {
    s.tries++;
    if (s.first[event.answer] === null) [s.first[event.answer], s.right] = [event.given, s.right && !event.miss];
  }
  if (event.hint) [s.hints, s.right] = [Math.min(3, s.hints + 1), false];
  if (event.shown) [s.shown, s.right, s.done] = [true, false, true];
  if (event.done) s.done = true;
  const stages = at >= 0 ? result.stages.map((x, i) => (i === at ? s : x)) : [...result.stages, s];
  return { ...result, stages };
}

// Writes one first answer: its text in 4-bit characters, or an escape.
function writeAnswer(w, answer) {
  const kind = answer === null ? 'none' : answer.alone ? 'alone' : answer.choice ? answer.choice : 'text';
  const text = kind === 'text' ? plain(answer.text).slice(0, maxAnswer) : '';
  if (kind === 'text' && [...text].every((ch) => nibbles.includes(ch))) {
    w.nibbles(text, nibbles, end);
  } else {
    w.bits(escape, 4).bits(escapes[kind], 4);
    if (kind === 'text') w.text(text);
  }
}

function readAnswer(r) {
  let text = '';
  for (let v = r.bits(4); v !== escape; v = r.bits(4)) {
    if (v === end) return { text };
    text += nibbles[v];
  }
  const code = r.bits(4);
  const kind = Object.keys(escapes).find((k) => escapes[k] === code);
  if (kind === 'text') return { text: r.text(maxAnswer * 4) };
  if (kind === 'alone') return { alone: true };
  if (choices.includes(kind)) return { choice: kind };
  if (kind === 'none') return null;
  throw new Error('format');
}

const seconds = (ms) => (Number.isFinite(ms) ? Math.max(0, Math.min(2 ** 32 - 1, Math.floor(ms / 1000))) : 0);

// Writes the head of a code to w: the id, the times and the name (kept to
// assignment.js's maxName characters). Throws for an id that is not an assignment's.
function writeHead(w, result) {
  const id = fromBase32(result.id);
  if (id === null || id.length !== 4) throw new Error('id');
  id.forEach((b) => w.bits(b, 8));
  const started = seconds(result.started);
  return w.bits(started, 32).uint(Math.max(0, seconds(result.handed) - started)).text(keptName(result.name));
}

// The code of a result: one line of ASCII, "GJR1" and base32, or "GJY1"
// ("GJY2" with a reading typed in full) for an own result (writeOwn). Throws for an id that is not an assignment's.
export function write(result) {
  if (result.own) return writeOwn(result);
  return prefix + toBase32(sealed(writeStages(writeHead(writer(), result), result.stages).bytes()));
}

// Writes a result's stages to w (what a "GJR1" code holds after its head).
function writeStages(w, stages) {
  w.uint(stages.length);
  for (const s of stages) {
    w.uint(s.k).bits(Number(s.done), 1).bits(Number(s.right), 1).bits(Number(s.shown), 1).bits(Math.min(3, s.hints), 2)
      .uint(s.tries).uint(s.first.length);
    s.first.forEach((answer) => writeAnswer(w, answer));
  }
  return w;
}

const opLetters = 'sca';

// A factor's text in 4-bit characters: an answer's, but the exponent's 'e'.
const digits = nibbles.slice(0, -1);

// Writes a compact operation: its letter in 2 bits, its rows, its factor.
function writeOp(w, text) {
  const [, letter, row, from, factor] = compactOp.exec(text) ?? [];
  if (!letter || (letter === 'c') !== (from === undefined) || (letter === 's') !== (factor === undefined)) throw new Error('op');
  w.bits(opLetters.indexOf(letter), 2).uint(Number(row));
  if (from !== undefined) w.uint(Number(from));
  if (factor !== undefined) w.nibbles(factor, digits, end);
}

function readOp(r) {
  const letter = opLetters[r.bits(2)];
  if (!letter) throw new Error('format');
  const row = r.uint();
  const from = letter === 'c' ? '' : `.${r.uint()}`;
  const text = `${letter}${row}${from}${letter === 's' ? '' : `:${r.nibbles(digits, end, maxFactor)}`}`;
  if (!compactOp.test(text)) throw new Error('format');
  return text;
}

// Writes texts (a row's entries, the values read off), each as an answer's text, or null.
function writeTexts(w, texts) {
  w.bits(Number(texts !== null), 1);
  if (texts !== null) {
    w.uint(texts.length);
    texts.forEach((text) => writeAnswer(w, { text }));
  }
}

function readTexts(r) {
  if (r.bits(1) === 0) return null;
  const count = r.uint();
  if (count > maxEntries) throw new Error('long');
  return Array.from({ length: count }, () => {
    const answer = readAnswer(r);
    if (typeof answer?.text !== 'string') throw new Error('format');
    return answer.text;
  });
}

// Whether an own part's reading is typed in full, which only a "GJY2" code holds of an own code.
const full = (own) => own.answer !== null && !isLegacy(own.answer);

// The code of an own result, "GJY1" and base32 ("GJY2" where its reading is
// typed in full): the head, the checks, the operations with their first rows
// (those of the first `keep`), the answer.
const ownCode = (result, keep) => (full(result.own) ? readingPrefix : ownPrefix) +
  toBase32(sealed(writeOwnPart(writeHead(writer(), result), result.own, keep, full(result.own)).bytes()));

// Writes an own result's part to w (what a "GJY1" code holds after its
// head): the checks, the operations with the first rows of the first keep;
// the reading as an older page wrote it, or where whole as reading.js writes
// any (what a "GJY2" code and a set's code hold).
function writeOwnPart(w, own, keep, whole) {
  const { ops, tries, shown, hints, answer } = own;
  w.uint(tries).uint(shown).uint(hints).uint(ops.length);
  ops.forEach((o, i) => {
    writeOp(w, o.op);
    w.bits(Number(o.shown), 1);
    writeTexts(w, i < keep ? o.first : null);
  });
  w.bits(Number(answer !== null), 1);
  if (answer !== null && whole) writeReading(w, answer);
  else if (answer !== null) {
    w.bits(choices.indexOf(answer.choice), 3);
    writeTexts(w, answer.values);
  }
  return w;
}

// The code that code(keep) writes within the longest code read, keep the
// operations of an own part whose first rows it holds (count, all of them):
// where they make it longer, those of the last operations are left out (as
// not written).
function within(code, count) {
  const whole = code(count);
  if (whole.length <= longest) return whole;
  let [fits, over] = [0, count];
  while (over - fits > 1) {
    const mid = (fits + over) >> 1;
    [fits, over] = code(mid).length <= longest ? [mid, over] : [fits, mid];
  }
  return code(fits);
}

// An own result's code, within the longest code read.
const writeOwn = (result) => within((keep) => ownCode(result, keep), result.own.ops.length);

// The code of a set's hand-in of parts ([{ at, result }], the problems
// worked, each result as write() takes it, all of one head: the set's id,
// the student's name and times): what a part holds, after its place and
// whether it is an own one, as its own code would; an own part's first rows
// those of its first keep operations.
function setCode(head, parts, keep) {
  const w = writeHead(writer(), head).uint(parts.length);
  for (const { at, result } of parts) {
    w.uint(at).bits(Number(Boolean(result.own)), 1);
    if (result.own) writeOwnPart(w, result.own, keep, true);
    else writeStages(w, result.stages);
  }
  return setPrefix + toBase32(sealed(w.bytes()));
}

// The codes of a set's hand-in (see setCode): one for the whole when it is
// no longer than limit, else one a problem, each within the longest code read.
export function writeSet(head, parts, limit = chatLimit) {
  const whole = setCode(head, parts, Infinity);
  if (parts.length > 1 && whole.length > limit) return parts.map((part) => writeSet(head, [part], limit)[0]);
  return [whole.length <= longest ? whole : within((keep) => setCode(head, parts, keep), parts[0].result.own?.ops.length ?? 0)];
}

// The own part of a result read from r after its head (see ownCode), its
// reading as reading.js writes any where whole (a "GJY2" code, a set's).
function readOwn(r, whole) {
  const [tries, shown, hints, count] = [r.uint(), r.uint(), r.uint(), r.uint()];
  if (count > maxOps) throw new Error('long');
  const ops = Array.from({ length: count }, () => {
    const [op, shown] = [readOp(r), r.bits(1) === 1];
    return { op, first: readTexts(r), shown };
  });
  let answer = null;
  if (r.bits(1) === 1) {
    if (whole) answer = readReading(r);
    else {
      const choice = choices[r.bits(3)];
      if (!choice) throw new Error('format');
      answer = { choice, values: readTexts(r) };
    }
  }
  return { ops, tries, shown, hints, answer };
}

// What a chat, a mail or a hand puts inside a code that is no part of it:
// blanks and line breaks, hyphens and dashes, and the characters of no width
// (a soft hyphen, a joiner, a mark of direction, an invisible times: a copy
// brings them along unseen).
const gap = '[\\s\\p{Cf}\\u2010-\\u2015-]';
const gaps = new RegExp(gap + '+', 'gu');

// A code as pasted, made plain: NFKC (full-width letters and digits), and
// what a chat or a hand put inside it dropped.
const codeText = (code) => code.normalize('NFKC').replace(gaps, '');

// A code written one way: plain, in capitals, O as 0 and I, L as 1; two codes
// the same so are one code pasted twice.
export const canonical = (code) => plainBase32(codeText(code));

// What the head of a code's body holds, read from r: the id, the times and
// the name.
function readHead(r) {
  const id = toBase32(Uint8Array.from({ length: 4 }, () => r.bits(8)));
  const started = r.bits(32) * 1000;
  const handed = started + r.uint() * 1000;
  return { id, name: r.text(maxName * 4), started, handed, stages: [] };
}

// Whether a code of this page's start (text) is of a version it reads: the
// first of each kind, and an own code's second.
const known = (text) => text[3] === prefix[3] || (/^GJY/i.test(text) && text[3] === readingPrefix[3]);

// The result that a code carries, or { problem }: 'code.broken' for one cut
// short, altered or not a code at all, 'code.version' for a sound code of
// another version of the page (every version keeps "GJR", "GJS" or "GJY", a
// digit, base32 and the CRC-32 at its end). Any case is read, and O for 0, I
// or L for 1; so are full-width letters and the hyphens, blanks and line
// breaks inside it. A "GJY1" or "GJY2" code gives an own result
// (own-result.js), a "GJS1" code a set's (parts).
export function read(code) {
  const text = codeText(code);
  const data = new RegExp(`^${start}`, 'i').test(text) && text.length <= longest && fromBase32(text.slice(prefix.length));
  const body = data && unsealed(data);
  if (!body) return { problem: 'code.broken' };
  const own = /^GJY/i.test(text);
  if (!known(text)) return { problem: 'code.version' };
  try {
    const r = reader(body);
    const result = readHead(r);
    if (own) result.own = readOwn(r, text[3] === readingPrefix[3]);
    else if (/^GJS/i.test(text)) result.parts = readParts(r);
    else readStages(r, result);
    if (r.left() >= 8) throw new Error('format');
    return result;
  } catch (e) {
    return { problem: 'code.broken' };
  }
}

// The parts of a "GJS1" code read from r (setCode's): each problem's place
// in the set, once, and its stages or own part.
function readParts(r) {
  const count = r.uint();
  if (count > maxParts) throw new Error('long');
  const parts = Array.from({ length: count }, () => {
    const [at, part] = [r.uint(), { stages: [] }];
    if (r.bits(1) === 1) part.own = readOwn(r, true);
    else readStages(r, part);
    return { at, ...part };
  });
  if (new Set(parts.map((part) => part.at)).size < count) throw new Error('format');
  return parts;
}

// The result of problem at (from 0) that result (read()'s) carries: of a
// set's, the part of that problem under the code's head; of any other, the
// result itself as the first problem; null where it has none.
export function partOf(result, at) {
  if (!result.parts) return at === 0 ? result : null;
  const part = result.parts.find((p) => p.at === at);
  const { id, name, started, handed } = result;
  return part ? { id, name, started, handed, stages: part.stages, ...(part.own ? { own: part.own } : {}) } : null;
}

// The stages of a "GJR1" code read from r into result.
function readStages(r, result) {
  const count = r.uint();
  if (count > maxStages) throw new Error('long');
  for (let i = 0; i < count; i++) {
    const s = { k: r.uint(), done: r.bits(1) === 1, right: r.bits(1) === 1, shown: r.bits(1) === 1, hints: r.bits(2), tries: r.uint() };
    const questions = r.uint();
    if (questions > maxQuestions) throw new Error('long');
    result.stages.push({ ...s, first: Array.from({ length: questions }, () => readAnswer(r)) });
  }
}

// What can still be read of a code that does not check: { id, name } from
// its head (the id and the name, near its start), which a character altered
// further on spares; null where even that does not read. Neither is sure:
// nothing checks them.
export function salvage(code) {
  const text = canonical(code);
  if (!new RegExp(`^${start}`).test(text) || !known(text)) return null;
  const w = writer();
  for (const ch of text.slice(prefix.length)) w.bits(Math.max(0, base32Alphabet.indexOf(ch)), 5);
  try {
    const { id, name } = readHead(reader(w.bytes()));
    return blank(name) || /[\p{Cc}\ufffd]/u.test(name) ? null : { id, name };
  } catch (e) {
    return null;
  }
}

// Whether value is a result as this page keeps one: each field of the form
// that newResult() and noted() give (or own-result.js's newOwnResult() and
// ownNoted()), so that work kept by an older page or altered by hand is not
// taken for one.
export function isResult(value) {
  const count = (x, most = Infinity) => Number.isInteger(x) && x >= 0 && x <= most;
  const flag = (x) => typeof x === 'boolean';
  const answer = (x) => x === null || (typeof x === 'object' && (typeof x.text === 'string' || x.alone === true || choices.includes(x.choice)));
  const stage = (s) => typeof s === 'object' && s !== null && count(s.k) && flag(s.done) && flag(s.right) && flag(s.shown) &&
    count(s.hints, 3) && count(s.tries) && Array.isArray(s.first) && s.first.length <= maxQuestions && s.first.every(answer);
  const texts = (x) => Array.isArray(x) && x.length <= maxEntries && x.every((v) => typeof v === 'string');
  const op = (o) => typeof o === 'object' && o !== null && compactOp.test(o.op) && (o.first === null || texts(o.first)) && flag(o.shown);
  const read = (x) => x === null || isReading(x);
  const own = (o) => o === undefined || (typeof o === 'object' && o !== null && Array.isArray(o.ops) && o.ops.length <= maxOps &&
    o.ops.every(op) && count(o.tries) && count(o.shown) && count(o.hints) && read(o.answer) && value.stages.length === 0);
  return typeof value === 'object' && value !== null && typeof value.id === 'string' && fromBase32(value.id)?.length === 4 &&
    typeof value.name === 'string' && Number.isFinite(value.started) && Number.isFinite(value.handed) &&
    Array.isArray(value.stages) && value.stages.length <= maxStages && value.stages.every(stage) && own(value.own);
}

// The codes in text, in the order they come, whatever is around them: each
// word that starts with "GJR", "GJS" or "GJY" and a digit (in any case, in full-width letters
// too), whole, so that a code cut or mangled is found, and flagged when read.
// The words after a code that what a chat puts inside one (gap) parts from it
// (as a chat wraps a long word) are taken in, up to the next code: the
// longest that checks is the code, else all of them. Each is given without
// its separators.
export function find(text) {
  const words = new RegExp(`\\b${start}[0-9A-Za-z]*(?:${gap}+(?!${start})[0-9A-Za-z]+)*`, 'giu');
  return [...text.normalize('NFKC').matchAll(words)].map(([whole]) => {
    const parts = whole.split(gaps);
    if (parts.length === 1) return whole;
    const joined = parts.map((_, i) => parts.slice(0, i + 1).join('')).reverse();
    return joined.find((code) => [undefined, 'code.version'].includes(read(code).problem)) ?? joined[0];
  }).filter((code) => code.length >= shortest);
}

// Where each code in text starts, as find() takes them: a pattern to search
// with (lastIndex and exec), which a long text is cut at.
export const codeStarts = () => new RegExp(`\\b${start}`, 'gi');

// A line of codes as joinedCodes gives them: one code in its canonical form.
const joinedLine = new RegExp(`^${start}[0-9A-Z]{12,}$`);

// What joinedCount found of the last few long texts it was asked of, and
// the count of each text that joinedOf made: a pattern takes some 40 ms over
// a year's codes (megabytes), and the teacher's views count them at each
// drawing. A cache keyed by the text, as a Map keys a long string by its
// length (and then its characters): it gives what joinedCount would.
const counted = new Map();
const [countedLength, countedMost] = [65536, 8];

// Notes that text holds count codes as joinedCodes gives them; gives count.
function countNoted(text, count) {
  if (text.length < countedLength) return count;
  counted.delete(text);
  counted.set(text, count);
  if (counted.size > countedMost) counted.delete(counted.keys().next().value);
  return count;
}

// How many codes text holds as joinedCodes gives them (and nothing else),
// else 0: a line at a time, and no array of a year's lines made, since a
// pattern over a whole year of codes takes long. A generator that yields
// every 64 KB of text or so.
function* counting(text) {
  if (text.length >= countedLength && counted.has(text)) return counted.get(text);
  for (let [count, at, since] = [1, 0, 0]; ; count++) {
    const end = text.indexOf('\n', at);
    if (!joinedLine.test(end < 0 ? text.slice(at) : text.slice(at, end))) return countNoted(text, 0);
    if (end < 0) return countNoted(text, count);
    if (end - since > 65536) {
      since = end;
      yield;
    }
    at = end + 1;
  }
}

// What a generator (counting's, joining's) returns, run to its end in one go.
export function ended(pieces) {
  for (;;) {
    const { done, value } = pieces.next();
    if (done) return value;
  }
}

export const joinedCount = (text) => ended(counting(text));

// Codes (a Set of codes in their canonical form, as find() finds them) one
// a line, in their order: joinedCodes's form, whose count is then known.
export function joinedOf(codes) {
  const text = [...codes].join('\n');
  countNoted(text, codes.size);
  return text;
}

// The codes of text in pieces of some 64 KB, each cut just before a code
// (whose words the search takes up to the next code): each piece's codes.
export function* codesIn(text) {
  const starts = codeStarts();
  for (let from = 0; from < text.length;) {
    starts.lastIndex = from + 65536;
    const to = starts.exec(text)?.index ?? text.length;
    yield find(text.slice(from, to));
    from = to;
  }
}

// The codes of texts (any text each), each once in its canonical form, one a
// line, in the order first met: how a gradebook and a table keep them, so
// that such a text is read again without a search. A generator that yields
// every 64 KB of text or so (joinedCodes: in one go).
export function* joining(...texts) {
  const codes = new Set();
  for (const text of texts.map((x) => String(x ?? ''))) {
    if ((yield* counting(text)) > 0) for (const code of text.split('\n')) codes.add(code);
    else {
      for (const piece of codesIn(text)) {
        for (const code of piece) codes.add(canonical(code));
        yield;
      }
    }
  }
  return joinedOf(codes);
}

export const joinedCodes = (...texts) => ended(joining(...texts));
