// The teacher's effects, which come with the teacher's part of the page
// (page/parts/teacher-part.js): a results table worked out in slices, a row's
// details, the gradebook kept in storage, and the CSVs of a table and of the
// class's scores across the gradebook. Each is handed page: { state(),
// dispatch }, what page.js shares with its parts; what it learns comes back
// as a message.
import { stored, store, forget, keptLarge, largeMarked } from './storage.js';
import { sliced, nextTask } from '../views/frames.js';
import { save } from '../views/dom.js';
import { memoOf } from '../logic/assignments/results.js';
import { grading, detailing, resultsCsv } from '../logic/assignments/set-results.js';
import { merged, bookOf, bookCsv } from '../logic/assignments/gradebook.js';
import { id as idOf } from '../logic/assignments/assignment.js';
import { translator } from '../logic/language/translate.js';

// The teacher's time zone, as results.js takes it.
const zone = () => new Date().getTimezoneOffset();

// What grading found of assignment a's codes (results.js's memo) is kept under this key.
const memoKey = (a) => `graded.${idOf(a)}`;

// What grading the assignment open keeps between its tables: the students'
// runs by seed, the codes read, what grading found (kept in storage too),
// and the job under way, which a newer one stops.
const grader = { id: null, models: new Map(), reads: new Map(), memo: null, job: null };

// The grader of assignment a, anew when it was another's.
function graderOf(a) {
  if (grader.id !== idOf(a)) Object.assign(grader, { id: idOf(a), models: new Map(), reads: new Map(), memo: memoOf(stored(memoKey(a))), job: null });
  return grader;
}

// How much a memo holds, to tell whether a job added to it.
const memoSize = (memo) => Object.keys(memo.codes).length + Object.keys(memo.runs).length;

// Grades the codes against assignment a by rule in slices, in tasks of their
// own (reading a class's codes is not the click's work); the tables on the
// way and the last come back as 'graded' (say: whether the status line tells
// the count). Not told, the table is not wanted: the students' runs are made
// for the tables to come. A newer grading stops this one.
function gradeCodes(page, { assignment: a, codes, rule, say = true }, told = true) {
  const g = graderOf(a);
  const job = grading(a, codes, { rule, offset: zone(), models: g.models, memo: g.memo, reads: g.reads });
  const [known, graded] = [memoSize(g.memo), (table) => page.dispatch({ type: 'graded', assignment: a, codes, rule, table, say })];
  let shown = null;
  g.job = job;
  nextTask(() => sliced(() => g.job === job, (deadline) => {
    const done = job.step(deadline);
    if (!done && told && job.partial !== shown) graded(shown = job.partial);
    return done;
  }, () => {
    if (told) graded(job.result);
    // Kept in a task of its own: a year's memo is a megabyte of JSON.
    if (memoSize(g.memo) > known) nextTask(() => store(memoKey(a), g.memo));
  }));
}

// Works out the details of a row opened (of a set's, of its problem at:
// set-results.js detailing) in slices; they come back as 'detailed'.
function detailRow(page, { assignment: a, code, at = 0 }) {
  const job = detailing(a, at, code, { models: graderOf(a).models });
  nextTask(() => sliced(() => true, (deadline) => job.step(deadline),
    () => page.dispatch({ type: 'detailed', assignment: a, code, at, details: job.result })));
}

// The gradebook that this page kept last, and the mark of it that storage
// had then (largeMarked), while no other tab kept one since; the keeping under way.
let last = { book: null, mark: null };
let keeping = Promise.resolve();

// Merges entries into the gradebook that storage keeps large (as they are on
// the one this page kept last, where no other tab kept one since: it holds
// all of this page's), one keeping after another, and tells the page
// whether the browser kept it ('bookKept'); where it is refused, what grading
// found of the codes (which can be found again) makes room first.
function keepGradebook(page, entries) {
  const keep = () => {
    let book;
    const mine = last.book !== null && largeMarked('gradebook') === last.mark;
    return keptLarge('gradebook', mine ? (book = { ...last.book, ...entries }) : (there) => (book = merged(bookOf(there), entries)))
      .then((kept) => [kept, book]);
  };
  keeping = keeping.then(keep).then(([kept, book]) => {
    if (kept) return [kept, book];
    Object.keys(book ?? entries).forEach((key) => forget(`graded.${key}`));
    return keep();
  }).catch(() => [false, null]).then(([kept, book]) => {
    last = kept ? { book, mark: largeMarked('gradebook') } : { book: null, mark: null };
    page.dispatch({ type: 'bookKept', kept });
  });
}

// Grades each entry ({ assignment, codes, rule }) in slices, one after
// another, then saves the class's scores across them as CSV.
function saveScores({ entries, language, name }) {
  const graded = [];
  const next = () => {
    if (graded.length === entries.length) return save(bookCsv(translator(language), graded), name, 'text/csv; charset=utf-8');
    const { assignment: a, codes, rule } = entries[graded.length];
    const memo = memoOf(stored(memoKey(a)));
    const job = grading(a, codes, { rule, offset: zone(), memo });
    nextTask(() => sliced(() => true, (deadline) => job.step(deadline), () => {
      graded.push({ a, table: job.result });
      next();
    }));
  };
  next();
}

// The teacher's effects, by their keys (state.js lists them), as page/effects.js carries them out.
export const effects = {
  grade: (page, { grade }) => gradeCodes(page, grade),
  warm: (page, { warm }) => gradeCodes(page, { assignment: warm, codes: '', rule: 'best' }, false),
  detail: (page, { detail }) => detailRow(page, detail),
  keepBook: (page, { keepBook: entries }) => nextTask(() => keepGradebook(page, entries)),
  saveBook: (page, { saveBook }) => saveScores(saveBook),
  saveTable: (page, { saveTable: { table, language, name } }) => save(resultsCsv(translator(language), table, zone()), name, 'text/csv; charset=utf-8'),
};
