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
//   mode        'stages': each stage of the method asked, as above; 'own': the
//               matrix reduced by the student's own row operations (logic/own/),
//               where from and fill ask nothing, hints is 0 (none) or 3 (the
//               method's next operation, each counted), and show lets the
//               student see a changed row instead of writing it
//   arithmetic  in mode 'own': 'page', the page works out each operation, or
//               'learner', the student writes each changed row
//   title       text, '' for none
//   due         'YYYY-MM-DD', '' for none
//   names       the class list, one name a student, [] for none
//   secret      what opens the teacher's side: 26 characters of base32 (128
//               bits that the page draws), in the teacher's link only; '' for
//               an assignment made before teachers' links held one
//   digest      what the page checks a teacher's secret against (secretDigest),
//               in every link of the assignment; '' for one made before the
//               page checked it, whose teacher's link anyone with a student
//               link could make
//   drawn       the names of the class list corrected since the links were
//               handed out, each by the key (nameKey) of the name it has now:
//               the name as it was, which still draws the student's matrix
//   problems    a set's problems (set.js), 1 to 12, the first's fields also
//               the assignment's own (program to arithmetic: what a page of
//               one problem reads); absent for an assignment made before
//               sets, which is a set of one problem, its fields its problem's
// }
//
// A link holds the assignment packed (pack()): version 1, the links made
// before the secret, is read still; version 2 says whose link it is, and a
// teacher's holds the secret, which no student link holds or lets anyone work
// out; version 3 adds the digest of the secret and the names corrected;
// version 4, an assignment of the student's own operations; version 5, a
// set. Each link is written in the oldest version that holds it, as it was
// handed out.
//
// Each problem of a set is seen alone as an assignment of one problem
// (problemOf): the set's fields, the problem's, its own seed, and set: { id,
// at, count }, the set's id, the problem's place (from 0) and how many the
// set has; its id is the set's.
import { writer, reader, sealed, unsealed, crc32, sha256, toBase64url, fromBase64url, toBase32, fromBase32 } from './packing.js';
import { exerciseOptions, fills, programNames, firstAsked, latestGenerator } from '../run/share.js';
import { csv } from './csv.js';
import { optionWords } from '../run/words.js';
import { problem, problemFields, problemSeed, writeProblem, readProblem, validProblem, programInput, maxProblems } from './set.js';

export const generatorVersion = latestGenerator;
export const maxTitle = 200;
export const maxName = 100;
export const maxNames = 500;
const maxFrom = 99;   // read in links of version 1, which took any such first stage
const secretBytes = 16;
const dayZero = Date.UTC(2000, 0, 1);
const day = 86400000;
const roles = ['student', 'teacher'];
export const modes = ['stages', 'own'];
export const arithmetics = ['page', 'learner'];

// An assignment with what is not given set as a teacher most often wants it:
// every stage from the scaling, one row of entries, every hint, no Show, a
// matrix per student.
// Given problems (1 to 12, each as set.js's problem() takes it), a set: its
// first problem's fields its own too.
export function assignment(given = {}) {
  const a = { generator: generatorVersion, program: 'gjinverse', order: 3, options: [], seed: 1, from: firstAsked,
              fill: 'row', hints: 3, show: false, perStudent: true, mode: 'stages', arithmetic: 'page', title: '', due: '', names: [], secret: '', drawn: {}, ...given };
  if (given.problems === undefined) delete a.problems;
  else Object.assign(a, { problems: given.problems.map(problem) }, atTop(problem(given.problems[0] ?? {})));
  return { ...a, digest: given.digest ?? (a.secret === '' ? '' : secretDigest(a)) };
}

// A set's fields that are its first problem's: those of a page of one problem.
const atTop = (p) => Object.fromEntries(problemFields.filter((f) => f !== 'matrix' && f !== 'points').map((f) => [f, p[f]]));

// Problem i of assignment a seen alone (see above); an assignment made
// before sets is its one problem itself. setId: the set's id where the
// caller has it already (it is written of every problem: a set's long
// matrices take milliseconds each).
export function problemOf(a, i, setId = null) {
  if (a.problems === undefined) return a;
  const { problems, ...set } = a;
  return { ...set, ...problems[i], seed: problemSeed(a.seed, i), set: { id: setId ?? id(a), at: i, count: problems.length } };
}

// Every problem of a, each seen alone.
export function problemsOf(a) {
  if (a.problems === undefined) return [a];
  const setId = id(a);
  return a.problems.map((_, i) => problemOf(a, i, setId));
}

// The points of a problem (seen alone): 1 for an assignment made before sets.
export const pointsOf = (p) => p.points ?? 1;

// The digest of assignment a's secret that its links carry: the first 16
// bytes of SHA-256 over the secret and the id, in base32, so that a secret
// made up, or one of another assignment, does not open its teacher's side.
export function secretDigest(a) {
  const bytes = fromBase32(a.secret) ?? new Uint8Array(0);
  const hex = sha256(Uint8Array.from([...bytes, ...fromBase32(id(a))]));
  return toBase32(Uint8Array.from({ length: secretBytes }, (_, i) => parseInt(hex.slice(2 * i, 2 * i + 2), 16)));
}

// The secret of a new assignment made of bytes that the caller draws at
// random (16 of them; crypto.getRandomValues in a page).
export const secretOf = (bytes) => toBase32(Uint8Array.from(bytes).subarray(0, secretBytes));

// A name as typed anywhere, cleaned: NFC, trimmed, each run of blanks one space.
export const cleanName = (name) => String(name).normalize('NFC').trim().replace(/\s+/g, ' ');

// Whether a name typed is none: blanks alone, or nothing.
export const blank = (name) => cleanName(name) === '';

// The name as a result code keeps it, and so as it draws the student's
// matrix: clean, cut to maxName characters (never inside a character that
// takes two, nor to end in a blank). A name of maxName characters or fewer
// is itself clean; a kept name is kept as it is.
export const keptName = (name) => cleanName(cleanName(name).slice(0, maxName).replace(/[\ud800-\udbff]$/, ''));

// A name as compared and as it draws a matrix: the kept name in lower case,
// so that "김민수" or "Kim  Minsu " typed on any device gives the same key as
// the class list.
export const nameKey = (name) => keptName(name).toLowerCase();

// A name as text among other text shows it: isolated (FSI … PDI), so that a
// name typed with a direction of its own (or a control that reverses what
// follows) turns nothing after it; the name itself, which draws the matrix, stays as typed.
export const isolated = (name) => `\u2068${name}\u2069`;

// A name as a person writes it, where an LMS gives it "Last, First" (SCORM
// 1.2's usual form): "Kim, Minji" is "Minji Kim", "박, 지호" "박지호" (Hangul
// names are written family name first, with no blank). Any other name is clean.
export function displayName(name) {
  const parts = cleanName(name).split(',').map((part) => part.trim());
  if (parts.length !== 2 || parts.some((part) => part === '')) return cleanName(name);
  const [last, first] = parts;
  return /^[\p{Script=Hangul}\s]+$/u.test(last + first) ? last + first : `${first} ${last}`;
}

// The class list pasted one name a line: { names, repeats }, names clean, in
// the order given, blank lines dropped and a name met again (by nameKey)
// given once; repeats, each name given more than once, as first written, so
// that the teacher is asked to tell those students apart.
export function classList(text) {
  const [names, keys, repeats] = [[], new Map(), []];
  for (const name of String(text).split(/\r\n|\r|\n/).map(cleanName).filter((line) => line !== '')) {
    const key = nameKey(name);
    if (!keys.has(key)) keys.set(key, names.push(name) - 1);
    else if (!repeats.includes(names[keys.get(key)])) repeats.push(names[keys.get(key)]);
  }
  return { names, repeats };
}

// What assignment a asks, in words (t's), as the rows of a description list,
// [label, value]: the stages and entries (or the student's own operations,
// and who works them out), the hints, Show; for whose view ('student' or
// 'teacher'), whose result a Show is counted in.
export function askedWords(t, a, whose) {
  const own = a.mode === 'own';
  const hints = own ? t(a.hints > 0 ? 'student.ownHints' : 'student.hints.0') : a.hints > 0 ? t('student.hints.n', { count: a.hints }) : t('student.hints.0');
  return [
    [t('student.asks'), own ? t('student.own.' + a.arithmetic) : t('student.range.' + a.fill, { k: a.from })],
    [t(whose === 'teacher' ? (own ? 'assign.ownHints' : 'assign.hints') : 'student.hints'), hints],
    [t(own ? 'student.ownShow' : 'student.show'), a.show ? t(whose === 'teacher' ? 'teacher.showYes' : 'student.show.yes') : t('student.show.no')],
  ];
}

// A problem (seen alone, problemOf's) in words (t's): its matrix (the
// program, order and options drawn, or the teacher's own, its size and
// kind), then, of a set's, what is asked and its points.
export function problemWords(t, p) {
  const matrix = p.matrix ? t('teacher.set.given', { m: p.matrix.rows.length, n: p.matrix.rows[0].length, kind: t('assign.kind.' + p.matrix.kind) })
    : `${p.program}, ${t('exercise.order')} ${p.order}: ${optionWords(t, p.options)}`;
  if (!p.set) return matrix;
  return [matrix, ...askedWords(t, p, 'teacher').map(([label, value]) => `${label}: ${value}`), t('teacher.set.points', { points: pointsOf(p) })].join(' · ');
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

// The name that draws the matrix of the student named: the name that the
// class list had before a correction (a.drawn), else the name itself.
export const drawnName = (a, name) => a.drawn?.[nameKey(name)] ?? name;

// The keys of the names that the list had before a correction, each with the
// key of the name that it has now: [[former, now]].
export const formerKeys = (a) => Object.entries(a.drawn ?? {}).map(([key, name]) => [nameKey(name), key]);

// What exercises.js's make() takes to draw the matrix of the student named
// (any name when the class shares one matrix).
export function exerciseFor(a, name) {
  if (a.matrix) return { program: a.program, order: a.order, input: programInput(a.matrix), seed: null };
  return { program: a.program, order: a.order, options: a.options, generator: a.generator,
           seed: a.perStudent ? studentSeed(a.seed, drawnName(a, name)) : a.seed };
}

// Writes what the assignment asks (not its title, due date or names) to w;
// an assignment of the student's own operations says so after the rest,
// which leaves the ids of the others as they were. A set starts with a 0,
// where the generator's version stands in the others, then its seed, whether
// its matrices are drawn per student, and its problems.
function writeAsked(w, a) {
  if (a.problems !== undefined) {
    w.uint(0).uint(a.generator).bits(a.seed, 32).bits(Number(a.perStudent), 1).uint(a.problems.length - 1);
    return a.problems.forEach((p) => writeProblem(w, p));
  }
  w.uint(a.generator).bits(programNames.indexOf(a.program), 1).bits(a.order - 2, 2).bits(fills.indexOf(a.fill), 2)
    .bits(a.hints, 2).bits(Number(a.show), 1).bits(Number(a.perStudent), 1);
  exerciseOptions.forEach((o) => w.bits(Number(a.options.includes(o)), 1));
  w.uint(a.from).bits(a.seed, 32);
  if (a.mode === 'own') w.bits(1, 1).bits(arithmetics.indexOf(a.arithmetic), 1);
}

// The assignment's id: 7 characters of base32, the CRC-32 of what it asks. A
// title, due date or class list corrected later, and the secret, leave the
// id alone, and so every link, matrix and code handed out.
export function id(a) {
  if (a.set) return a.set.id;
  const w = writer();
  writeAsked(w, a);
  return idText(crc32(w.bytes()));
}
const idText = (crc) => toBase32(Uint8Array.from([crc >>> 24, (crc >>> 16) & 0xff, (crc >>> 8) & 0xff, crc & 0xff]));

const dueDays = (due) => (due === '' ? 0 : (Date.parse(due + 'T00:00:00Z') - dayZero) / day + 1);
const dueText = (days) => (days === 0 || !Number.isFinite(days) ? '' : new Date(dayZero + (days - 1) * day).toISOString().slice(0, 10));

// The stages of a run of program at order (2 to 4), as model.js names them
// ({ id, column }), from the input's printout (stage 1) on: the same for
// every matrix of that order.
export function stagePlan(program, order) {
  const columns = (ids, from, to, step) => Array.from({ length: Math.abs(to - from) + 1 }, (_, i) => from + i * step)
    .flatMap((j) => ids.map((id) => ({ id, column: j })));
  const inverse = program === 'gjinverse';
  return [{ id: inverse ? 'inverse_input' : 'solve_input', column: null }, { id: 'scaled', column: null },
    ...columns(['pivoted', 'eliminated'], 1, order - 1, 1), ...columns(['backward'], order, 2, -1),
    ...(inverse ? [{ id: 'normalized', column: null }, { id: 'inverse_done', column: null }] : [{ id: 'solution', column: null }])];
}

// The stages that an assignment of program at order may start from, as the
// page numbers them (from 2, the scaling, to the last): [{ from, stage }],
// stage as stagePlan gives it (words.stageName names it).
export const fromChoices = (program, order) =>
  stagePlan(program, order).map((stage, k) => ({ from: k + 1, stage })).slice(firstAsked - 1);

// Whether every field of a holds a value that it may hold (a due date that is
// a day of the calendar, a title and names not too long, a generator that
// this page has: a later one would draw other matrices). An assignment made
// now (strict: the ones with a secret) starts at a stage of its run; one
// made before may start past the last, and practice then asks the last.
function valid(a, strict) {
  // A set: each problem, seen alone (where the set's own fields are checked too).
  if (a.problems !== undefined) {
    let setId = null;  // written once, where its problems are first seen alone
    return Array.isArray(a.problems) && a.problems.length >= 1 && a.problems.length <= maxProblems &&
      a.problems.every((p, i) => validProblem(p) && valid(problemOf(a, i, setId ??= id(a)), strict));
  }
  const lastFrom = strict ? stagePlan(a.program, a.order).length : maxFrom;
  return programNames.includes(a.program) && (a.matrix ? true : [2, 3, 4].includes(a.order)) && fills.includes(a.fill) &&
    Number.isInteger(a.from) && a.from >= firstAsked && a.from <= lastFrom && a.generator >= 1 && a.generator <= generatorVersion &&
    Number.isInteger(a.hints) && a.hints >= 0 && a.hints <= 3 && Number.isInteger(a.seed) && a.seed >= 0 && a.seed < 2 ** 32 &&
    a.options.every((o) => exerciseOptions.includes(o)) && modes.includes(a.mode ?? 'stages') && arithmetics.includes(a.arithmetic ?? 'page') && /^(\d{4}-\d{2}-\d{2})?$/.test(a.due) && (a.due === '' || a.due >= '2000') &&
    dueText(dueDays(a.due)) === a.due && typeof a.secret === 'string' && (a.secret === '' || fromBase32(a.secret)?.length === secretBytes) &&
    typeof a.digest === 'string' && (a.digest === '' || fromBase32(a.digest)?.length === secretBytes) &&
    a.title.length <= maxTitle && a.names.length <= maxNames && a.names.every(validName) && validDrawn(a);
}

const validName = (name) => typeof name === 'string' && name.length <= maxName && !blank(name);

// Whether each name corrected (a.drawn) is a valid name, under the key of a name of the list.
function validDrawn(a) {
  const keys = new Set(a.names.map(nameKey));
  return a.drawn !== null && typeof a.drawn === 'object' && Object.entries(a.drawn).every(([key, name]) => keys.has(key) && validName(name));
}

function validate(a, strict) {
  if (!valid(a, strict)) throw new Error('assignment');
}

// The version of the link of assignment a for role, with its corrections
// drawn: the oldest that holds what it carries (1: a teacher's without a
// secret; 2: neither a digest nor a correction; 3; 4: the student's own operations; 5: a set).
function versionOf(a, role, drawn) {
  if (a.problems !== undefined) return 5;
  if (a.mode === 'own') return 4;
  if (a.digest !== '' || drawn.length > 0) return 3;
  return role === 'teacher' && a.secret === '' ? 1 : 2;
}

// The link's text of assignment a with names, for role ('student' or
// 'teacher'), then a CRC-32 that catches a link cut short. Throws for an
// assignment that is not valid().
function pack(a, names, role) {
  if (a.set) throw new Error('assignment');   // a problem seen alone: its set's link is the one
  const drawn = names.map((name, i) => [i, a.drawn?.[nameKey(name)]]).filter(([, was]) => was !== undefined);
  validate({ ...a, names, drawn: Object.fromEntries(drawn.map(([i, was]) => [nameKey(names[i]), was])) }, a.secret !== '');
  const version = versionOf(a, role, drawn);
  const w = writer().uint(version);
  if (version > 1) w.bits(roles.indexOf(role), 1);
  writeAsked(w, a);
  w.uint(dueDays(a.due)).text(a.title).uint(names.length);
  names.forEach((name) => w.text(name));
  if (version >= 3) {
    w.uint(drawn.length);
    drawn.forEach(([i, was]) => w.uint(i).text(was));
    w.bits(Number(a.digest !== ''), 1);
    if (a.digest !== '') fromBase32(a.digest).forEach((b) => w.bits(b, 8));
  }
  if (role === 'teacher' && version >= 3) w.bits(Number(a.secret !== ''), 1);
  if (role === 'teacher' && a.secret !== '') fromBase32(a.secret).forEach((b) => w.bits(b, 8));
  return toBase64url(sealed(w.bytes()));
}

// 16 bytes read from r, in base32.
const bytesRead = (r) => toBase32(Uint8Array.from({ length: secretBytes }, () => r.bits(8)));

// What an assignment of one problem asks, read from r after the head of a
// link of version (pack()).
function readAsked(r, version) {
  const generator = r.uint();
  const [program, order, fill, hints, show, perStudent] = [programNames[r.bits(1)], r.bits(2) + 2, fills[r.bits(2)],
    r.bits(2), r.bits(1) === 1, r.bits(1) === 1];
  const options = exerciseOptions.filter(() => r.bits(1) === 1);
  const [from, seed] = [r.uint(), r.bits(32)];
  const own = version === 4 && r.bits(1) === 1;
  if (version === 4 && !own) throw new Error('assignment');
  const [mode, arithmetic] = [modes[Number(own)], own ? arithmetics[r.bits(1)] : 'page'];
  return { generator, program, order, options, seed, from, fill, hints, show, perStudent, mode, arithmetic };
}

// What a set asks, read from r after the head of a link of version 5 (writeAsked's).
function readSet(r) {
  if (r.uint() !== 0) throw new Error('assignment');
  const [generator, seed, perStudent, count] = [r.uint(), r.bits(32), r.bits(1) === 1, r.uint() + 1];
  if (count > maxProblems) throw new Error('assignment');
  const problems = Array.from({ length: count }, () => readProblem(r));
  return { generator, ...atTop(problems[0]), seed, perStudent, problems };
}

// Reads what pack() wrote: { a, role }, role null for version 1 (whose links
// do not say whose they are); throws when it is broken, cut or of a later
// version, and for a teacher's link whose secret has not the digest of its assignment.
function unpack(text) {
  const data = fromBase64url(text);
  const body = data && unsealed(data);
  if (!body) throw new Error('assignment');
  const r = reader(body);
  const version = r.uint();
  if (![1, 2, 3, 4, 5].includes(version)) throw new Error('version');
  const role = version === 1 ? null : roles[r.bits(1)];
  const asked = version === 5 ? readSet(r) : readAsked(r, version);
  const [due, title] = [dueText(r.uint()), r.text(maxTitle * 4)];
  const names = Array.from({ length: Math.min(r.uint(), maxNames + 1) }, () => r.text(maxName * 4));
  const drawn = {};
  let digest = '';
  if (version >= 3) {
    const count = r.uint();
    if (count > names.length) throw new Error('assignment');
    for (let k = 0; k < count; k++) {
      const i = r.uint();
      drawn[nameKey(names[i] ?? '')] = r.text(maxName * 4);
    }
    if (r.bits(1) === 1) digest = bytesRead(r);
  }
  const secret = role === 'teacher' && (version < 3 || r.bits(1) === 1) ? bytesRead(r) : '';
  if (r.left() >= 8) throw new Error('assignment');
  const a = { ...asked, title, due, names, secret, drawn, digest };
  validate(a, a.secret !== '');
  if (role === 'teacher' && digest !== '' && (secret === '' || secretDigest(a) !== digest)) throw new Error('forged');
  // Own assignments and sets came after the digest: a teacher's link of one without it was not made by the page.
  if (role === 'teacher' && digest === '' && version >= 4) throw new Error('forged');
  return { a, role };
}

// The fragment of a student's link, with the student's name when the link is
// that student's own (the page then asks for no name).
export const studentFragment = (a, name = null) =>
  `#${a.program}&assignment=${pack(a, name === null ? [] : [name], 'student')}`;

// The fragment of the teacher's link: the assignment with its names and its secret.
export const teacherFragment = (a) => `#${a.program}&teacher=${pack(a, a.names, 'teacher')}`;

const linkPattern = /^#?([a-z]+)&(assignment|teacher)=([^&]*)$/;

// Whether a fragment is an assignment's link, sound or not: one that names
// an assignment or a teacher's side (parseLink reads it).
export const isAssignmentLink = (hash) => /(^#?|&)(assignment|teacher)=/.test(hash);

// Reads a fragment: null when it is no assignment's link; else { role:
// 'student' | 'teacher', assignment, name } (name: the student's own, or null
// for a link that asks for it), or { problem } for a link that opens
// nothing: 'link.assignment' for one cut short, altered, or written by a
// later version of the page, 'link.notTeacher' for a student's link made a
// teacher's, or one whose secret has not its digest. A student link's
// assignment has no names and no secret, and of the names corrected its own.
// A teacher's link without a digest (made before the page checked them, or a
// student's link made a teacher's with the digest taken out: nothing tells
// them apart) is unchecked: { role: 'teacher', ..., unchecked: true }, which
// only the browser that holds its assignment already may open
// (gradebook.js); of an own assignment or a set, whose links always carry
// one, it is 'link.notTeacher'.
export function parseLink(hash) {
  if (!isAssignmentLink(hash)) return null;
  const m = linkPattern.exec(hash);
  try {
    if (!m) throw new Error('form');
    const { a, role } = unpack(m[3]);
    if (a.program !== m[1]) throw new Error('program');
    if (m[2] === 'teacher' && role === 'student') return { problem: 'link.notTeacher' };
    if (m[2] === 'teacher') return { role: 'teacher', assignment: a, name: null, ...(a.digest === '' ? { unchecked: true } : {}) };
    if (role === 'teacher' || a.names.length > 1) throw new Error('names');
    return { role: 'student', assignment: { ...a, names: [], secret: '' }, name: a.names[0] ?? null };
  } catch (e) {
    return { problem: e.message === 'forged' ? 'link.notTeacher' : 'link.assignment' };
  }
}

// One link per name of the class list: [{ name, link }], base the page's
// address without its fragment.
export const studentLinks = (a, base) => a.names.map((name) => ({ name, link: base + studentFragment(a, name) }));

// text as part of a file's name, at most most characters: what a file
// system refuses in a name (a path's separators, a drive's colon, a
// wildcard, a control), and what turns a name around unseen (a direction's
// control), made a blank; blanks and dots at either end, which some refuse
// or hide, left out.
export function fileTitle(text, most) {
  const cut = (x) => x.replace(/^[\s.]+|[\s.]+$/g, '');
  return cut(cut(String(text).replace(/[\\/:*?"<>|\p{Cc}\p{Cf}\s]+/gu, ' ')).slice(0, most).replace(/[\ud800-\udbff]$/, ''));
}

// The name of a file of assignment a that a teacher finds among downloads:
// what it holds (label), the title, else the program and order, and the day
// (today, 'YYYY-MM-DD'), without what a file name may not hold.
export function fileName(label, a, today) {
  return `${label} - ${fileTitle(a.title || `${a.program} ${a.order}`, 60)} ${today}.csv`;
}

// The links per name as CSV for a spreadsheet or an LMS (see csv.js), under a
// header row worded by t.
export const linksCsv = (t, links) =>
  csv([[t('assignment.csv.name'), t('assignment.csv.link')], ...links.map(({ name, link }) => [name, link])]);

// The names that an assignment's worksheets and keys are printed for: its
// class list; without a list, where each student's matrix comes from the
// name typed, the names read from the codes (read); for one matrix for the
// class, one sheet without a name ('').
export const keyNames = (a, read) => (a.names.length > 0 ? a.names : a.perStudent ? read : ['']);

// The worksheets and keys of an assignment, a sheet a student (keyNames's,
// the first most of them) and problem, at the problem's place (from 0): [{
// name, at, exercise, link }], link the student's own (or the class's, for a
// class without a list) after base; in pieces, a yield after each student's
// link: a set of long matrices takes a while to pack into one.
export function* makingKeySheets(a, read, base, most = Infinity) {
  const [listed, problems, sheets] = [a.names.length > 0, problemsOf(a), []];
  const classLink = listed ? null : base + studentFragment(a, null);
  for (const name of keyNames(a, read).slice(0, most)) {
    const link = classLink ?? base + studentFragment(a, name);
    sheets.push(...problems.map((p, at) => ({ name, at, exercise: exerciseFor(p, name), link })));
    yield;
  }
  return sheets;
}
