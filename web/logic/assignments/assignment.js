// Assignments: what a teacher hands out, as a value, and the links that carry
// it. A student link carries what is asked (never the names of the class, and,
// like any exercise link, no answers: the page works them out from the seed);
// a teacher link carries the same with the list of names, and reopens the
// assignment with its keys and its results. Here too: the assignment's id,
// each student's seed, and the CSV of links per name. Nothing here touches the
// page.
//
// An assignment: {
//   generator   the version of the exercise generator its matrices come from
//   program     'gjinverse' | 'gjsolve'
//   order       2 to 4
//   options     the generator's options (share.js's exerciseOptions)
//   seed        an unsigned 32-bit integer
//   from        the first stage asked, as the page numbers stages (2: the scaling)
//   fill        the entries asked of each printout: 'none' | 'row' | 'all'
//   hints       the steps of the hint allowed per stage, 0 to 3
//   show        whether Show may fill a stage in
//   perStudent  one matrix per student (drawn from the seed and the name), or one for the class
//   title       text, '' for none
//   due         'YYYY-MM-DD', '' for none
//   names       the class list, one name a student, [] for none
// }
import { writer, reader, sealed, unsealed, crc32, toBase64url, fromBase64url, toBase32 } from './packing.js';
import { exerciseOptions, fills, programNames, firstAsked, latestGenerator } from '../share.js';
import { csv } from './csv.js';

const linkVersion = 1;
export const generatorVersion = latestGenerator;
export const maxTitle = 200;
export const maxName = 100;
export const maxNames = 500;
const maxFrom = 99;
const dayZero = Date.UTC(2000, 0, 1);
const day = 86400000;

// An assignment with what is not given set as a teacher most often wants it:
// every stage from the scaling, one row of entries, every hint, no Show, a
// matrix per student.
export function assignment(given = {}) {
  return { generator: generatorVersion, program: 'gjinverse', order: 3, options: [], seed: 1, from: firstAsked,
           fill: 'row', hints: 3, show: false, perStudent: true, title: '', due: '', names: [], ...given };
}

// A name as compared and as it draws a matrix: NFC, trimmed, each run of
// blanks one space, in lower case, so that "김민수" or "Kim  Minsu " typed on
// any device gives the same key as the class list.
export const nameKey = (name) => name.normalize('NFC').trim().replace(/\s+/g, ' ').toLowerCase();

// The class list pasted one name a line: names trimmed, blank lines and
// repeats (by nameKey) dropped, in the order given.
export function namesOf(text) {
  const seen = new Set();
  return text.split(/\r\n|\r|\n/).map((line) => line.normalize('NFC').trim().replace(/\s+/g, ' '))
    .filter((name) => name !== '' && !seen.has(nameKey(name)) && seen.add(nameKey(name)));
}

// The seed of a student's matrix: FNV-1a over the UTF-8 bytes of the name's
// key, started from the assignment's seed and mixed at the end, so that names
// one letter apart draw unrelated matrices. Fixed for good: links handed out
// depend on it.
export function studentSeed(seed, name) {
  let h = (0x811c9dc5 ^ seed) >>> 0;
  for (const b of new TextEncoder().encode(nameKey(name))) h = Math.imul(h ^ b, 0x01000193) >>> 0;
  h = Math.imul(h ^ (h >>> 16), 0x85ebca6b) >>> 0;
  h = Math.imul(h ^ (h >>> 13), 0xc2b2ae35) >>> 0;
  return (h ^ (h >>> 16)) >>> 0;
}

// What exercises.js's make() takes to draw the matrix of the student named
// (any name when the class shares one matrix).
export function exerciseFor(a, name) {
  return { program: a.program, order: a.order, options: a.options, generator: a.generator,
           seed: a.perStudent ? studentSeed(a.seed, name) : a.seed };
}

// Writes what the assignment asks (not its title, due date or names) to w.
function writeAsked(w, a) {
  w.uint(a.generator).bits(programNames.indexOf(a.program), 1).bits(a.order - 2, 2).bits(fills.indexOf(a.fill), 2)
    .bits(a.hints, 2).bits(Number(a.show), 1).bits(Number(a.perStudent), 1);
  exerciseOptions.forEach((o) => w.bits(Number(a.options.includes(o)), 1));
  w.uint(a.from).bits(a.seed, 32);
}

// The assignment's id: 7 characters of base32, the CRC-32 of what it asks. A
// title or due date corrected later keeps the id, and so the codes handed in.
export function id(a) {
  const w = writer();
  writeAsked(w, a);
  return idText(crc32(w.bytes()));
}
const idText = (crc) => toBase32(Uint8Array.from([crc >>> 24, (crc >>> 16) & 0xff, (crc >>> 8) & 0xff, crc & 0xff]));

const dueDays = (due) => (due === '' ? 0 : (Date.parse(due + 'T00:00:00Z') - dayZero) / day + 1);
const dueText = (days) => (days === 0 || !Number.isFinite(days) ? '' : new Date(dayZero + (days - 1) * day).toISOString().slice(0, 10));

// The assignment packed: a version, what it asks, title, due date and names,
// then a CRC-32 that catches a link cut short.
function pack(a, names) {
  validate({ ...a, names: [...a.names, ...names] });
  const w = writer().uint(linkVersion);
  writeAsked(w, a);
  w.uint(dueDays(a.due)).text(a.title).uint(names.length);
  names.forEach((name) => w.text(name));
  return toBase64url(sealed(w.bytes()));
}

// Throws unless every field of a holds a value that it may hold (a due date
// that is a day of the calendar, a title and names not too long, a generator
// that this page has: a later one would draw other matrices).
function validate(a) {
  const fine = programNames.includes(a.program) && [2, 3, 4].includes(a.order) && fills.includes(a.fill) &&
    Number.isInteger(a.from) && a.from >= firstAsked && a.from <= maxFrom && a.generator >= 1 && a.generator <= generatorVersion &&
    Number.isInteger(a.hints) && a.hints >= 0 && a.hints <= 3 && Number.isInteger(a.seed) && a.seed >= 0 && a.seed < 2 ** 32 &&
    a.options.every((o) => exerciseOptions.includes(o)) && /^(\d{4}-\d{2}-\d{2})?$/.test(a.due) && (a.due === '' || a.due >= '2000') &&
    dueText(dueDays(a.due)) === a.due &&
    a.title.length <= maxTitle && a.names.length <= maxNames && a.names.every((n) => n.length <= maxName && n.trim() !== '');
  if (!fine) throw new Error('assignment');
}

// Reads what pack() wrote; throws when it is broken, cut or of a later version.
function unpack(text) {
  const data = fromBase64url(text);
  const body = data && unsealed(data);
  if (!body) throw new Error('assignment');
  const r = reader(body);
  if (r.uint() !== linkVersion) throw new Error('version');
  const generator = r.uint();
  const [program, order, fill, hints, show, perStudent] = [programNames[r.bits(1)], r.bits(2) + 2, fills[r.bits(2)],
    r.bits(2), r.bits(1) === 1, r.bits(1) === 1];
  const options = exerciseOptions.filter(() => r.bits(1) === 1);
  const [from, seed, due, title] = [r.uint(), r.bits(32), dueText(r.uint()), r.text(maxTitle * 4)];
  const names = Array.from({ length: Math.min(r.uint(), maxNames + 1) }, () => r.text(maxName * 4));
  const a = { generator, program, order, options, seed, from, fill, hints, show, perStudent, title, due, names };
  validate(a);
  return a;
}

// The fragment of a student's link, with the student's name when the link is
// that student's own (the page then asks for no name).
export const studentFragment = (a, name = null) =>
  `#${a.program}&assignment=${pack(a, name === null ? [] : [name])}`;

// The fragment of the teacher's link: the assignment with its names.
export const teacherFragment = (a) => `#${a.program}&teacher=${pack(a, a.names)}`;

// Reads a fragment: null when it is no assignment's link; else { role:
// 'student' | 'teacher', assignment, name } (name: the student's own, or null
// for a link that asks for it), or { problem: 'link.assignment' } for a link
// cut short, altered, or written by a later version of the page. A student
// link's assignment has no names.
export function parseLink(hash) {
  const m = /^#?([a-z]+)&(assignment|teacher)=([^&]*)$/.exec(hash);
  if (!m) return null;
  try {
    const a = unpack(m[3]);
    if (a.program !== m[1]) throw new Error('program');
    if (m[2] === 'teacher') return { role: 'teacher', assignment: a, name: null };
    if (a.names.length > 1) throw new Error('names');
    return { role: 'student', assignment: { ...a, names: [] }, name: a.names[0] ?? null };
  } catch (e) {
    return { problem: 'link.assignment' };
  }
}

// One link per name of the class list: [{ name, link }], base the page's
// address without its fragment.
export const studentLinks = (a, base) => a.names.map((name) => ({ name, link: base + studentFragment(a, name) }));

// The links per name as CSV for a spreadsheet or an LMS (see csv.js), under a
// header row worded by t.
export const linksCsv = (t, links) =>
  csv([[t('assignment.csv.name'), t('assignment.csv.link')], ...links.map(({ name, link }) => [name, link])]);

// The worksheets and keys of an assignment, one per student: [{ name,
// exercise, link }], link the student's own (or the class's, for a class
// without a list). Without a list, each student's matrix comes from the name
// typed, so the keys are those of the names read from the codes (read);
// for one matrix for the class, one sheet without a name.
export function keySheets(a, read, base) {
  const listed = a.names.length > 0;
  const names = listed ? a.names : a.perStudent ? read : [''];
  return names.map((name) => ({ name, exercise: exerciseFor(a, name), link: base + studentFragment(a, listed ? name : null) }));
}
