// The teacher's gradebook, kept in the teacher's browser: every assignment
// made or opened there, by its id, with the codes pasted so far; merged with
// another browser's (an import never loses a code), written to one file and
// read back, and the class's scores across assignments as CSV. Nothing here
// touches the page.
//
// A gradebook: { [id]: entry }, an entry: {
//   link     the teacher's fragment of the assignment (assignment.teacherFragment):
//            what it asks, its names and its secret
//   codes    the codes pasted so far, one a line, each once (result-code.js joinedCodes)
//   rule     the grading rule chosen: 'best', 'first' or 'latest'
//   edits    how many times its names were changed here: of two entries of one
//            assignment, the one changed more often gives the names first
//   dropped  the name keys corrected away, which a merge brings back from neither side
// }
import { parseLink, teacherFragment, nameKey, formerKeys, maxNames, id as idOf } from './assignment.js';
import { joinedCodes, joining, ended } from './result-code.js';
import { csv } from './csv.js';

export const rules = ['best', 'first', 'latest'];

// What the status line says once a table (results.js's) is read: { id, values } for t.
export const readCount = (table) => ({ id: table.counts.rejected > 0 ? 'teacher.status' : 'teacher.statusAll',
  values: { codes: table.counts.codes, students: table.counts.graded, rejected: table.counts.rejected } });
// The rows of a results table (results.js) that the page draws at once: a school's year of
// students is read a page at a time (a browser lays a table of a thousand
// rows out for seconds), and whole in its CSV.
export const rowsPerPage = 50;

const fileFormat = 'gauss-jordan gradebook';

// The assignment of an entry's link, or null when the link opens no teacher's side.
export function assignmentOf(entry) {
  const found = typeof entry?.link === 'string' ? parseLink(entry.link) : null;
  return found?.role === 'teacher' ? found.assignment : null;
}

// Book there without the entries that book here may not take from a file:
// those whose links carry no digest (assignment.parseLink's unchecked), which
// open only in the browser that holds them already. { book, left }, left the
// ids left out.
export function checkedOnly(there, here) {
  const left = Object.keys(there).filter((key) => !Object.hasOwn(here, key) && parseLink(there[key].link).unchecked);
  return { book: Object.fromEntries(Object.entries(there).filter(([key]) => !left.includes(key))), left };
}

// A new entry of assignment a.
export const entryOf = (a) => ({ link: teacherFragment(a), codes: '', rule: 'best', edits: 0, dropped: [] });

// An entry of assignment a (its link's) as kept: its fields in their shapes.
// A generator that yields as joining() does.
function* soundEntry(entry, a) {
  return { link: teacherFragment(a), codes: yield* joining(entry.codes), rule: rules.includes(entry.rule) ? entry.rule : 'best',
           edits: Number.isInteger(entry.edits) && entry.edits >= 0 ? entry.edits : 0,
           dropped: Array.isArray(entry.dropped) ? entry.dropped.filter((x) => typeof x === 'string') : [] };
}

// A gradebook read from anywhere (storage, a file): its sound entries under
// their ids; {} for anything else. A generator that yields after each entry
// and as joining() does: a year's codes are some 60 ms to read (bookOf: in
// one go).
export function* bookReading(value) {
  const book = {};
  if (value === null || typeof value !== 'object') return book;
  for (const entry of Object.values(value)) {
    const a = assignmentOf(entry);
    if (a !== null) book[idOf(a)] = yield* soundEntry(entry, a);
    yield;
  }
  return book;
}

export const bookOf = (value) => ended(bookReading(value));

// Two entries of one assignment as one: every code of both; the names of the
// one changed more often (here's, of two as often), then as many of the
// other's as the list takes (assignment.maxNames) that neither corrected
// away; its title, due date, secret and rule. { entry, left }: left, the
// other's names that the list could not take.
function mergedEntry(here, there) {
  const [first, second] = there.edits > here.edits ? [there, here] : [here, there];
  const a = assignmentOf(first);
  const dropped = [...new Set([...first.dropped, ...second.dropped])];
  const keys = new Set([...a.names.map(nameKey), ...formerKeys(a).map(([former]) => former)]);
  const more = assignmentOf(second).names.filter((name) => !keys.has(nameKey(name)) && !dropped.includes(nameKey(name)));
  const room = Math.max(0, maxNames - a.names.length);
  const link = teacherFragment({ ...a, names: [...a.names, ...more.slice(0, room)] });
  const codes = there.codes === '' || there.codes === here.codes ? here.codes : here.codes === '' ? there.codes : joinedCodes(here.codes, there.codes);
  const entry = { link, codes, rule: first.rule, edits: Math.max(here.edits, there.edits), dropped };
  return { entry, left: more.slice(room) };
}

// Book here with book there merged in: every assignment of either, and every
// code; { book, left }, left the names that a class list could not take, by
// assignment: [{ a, names }].
export function mergedBooks(here, there) {
  const [book, left] = [{ ...here }, []];
  for (const [key, entry] of Object.entries(there)) {
    if (!(key in here)) book[key] = entry;
    else {
      const both = mergedEntry(here[key], entry);
      book[key] = both.entry;
      if (both.left.length > 0) left.push({ a: assignmentOf(both.entry), names: both.left });
    }
  }
  return { book, left };
}

// Book here with book there merged in (mergedBooks's book).
export const merged = (here, there) => mergedBooks(here, there).book;

// The gradebook as the text of one file (JSON).
export const exported = (book) => JSON.stringify({ format: fileFormat, version: 1, assignments: Object.values(book) }, null, 1);

// The largest gradebook file opened, in bytes (as the web zip's cap): a
// year of a school's codes takes a few.
export const maxBookBytes = 16 * 1024 * 1024;

// The gradebook in a file's text, or null when the text is no gradebook.
export function imported(text) {
  try {
    const value = JSON.parse(text);
    if (value?.format !== fileFormat || !Array.isArray(value.assignments)) return null;
    return bookOf(value.assignments);
  } catch {
    return null;
  }
}

// An assignment's heading in the list and the CSV: its title, else its id.
export const headingOf = (a) => a.title || idOf(a);

// The class's scores across assignments as CSV worded by t: a row a student
// (by name key, in the order first met), a column an assignment of graded
// ([{ a, table }]) with the share of the stages asked that were right the
// first time, or of a set's points earned, in percent ('' without a code).
export function bookCsv(t, graded) {
  const rows = new Map();
  graded.forEach(({ table }, i) => {
    for (const row of table.rows) {
      const key = nameKey(row.name);
      if (!rows.has(key)) rows.set(key, [row.name, ...graded.map(() => '')]);
      const percent = row.percent ?? (row.asked > 0 ? (100 * row.right) / row.asked : null);
      if (row.code !== null && percent !== null) rows.get(key)[i + 1] = Math.round(percent);
    }
  });
  return csv([[t('results.name'), ...graded.map(({ a }) => headingOf(a))], ...rows.values()]);
}
