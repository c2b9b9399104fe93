// The state's handlers for the teacher's side: an assignment made with the
// form (made), the results view that a teacher's link opens (teacher), and
// the table of the codes read there (results). The table is worked out by an
// effect ({ grade }) and comes back as the message 'graded'; the keys are
// printed by one ({ print }), and its CSV is written by one ({ saveTable }):
// results.js, which grades by running the programs, is out of the state's reach.
import { assignment, namesOf, teacherFragment, keySheets, id } from '../logic/assignments/assignment.js';
import { find } from '../logic/assignments/result-code.js';
import { firstAsked } from '../logic/share.js';

// The state once a teacher's link (found, as assignment.parseLink reads it:
// { assignment } or { problem }) is followed: the results view of its
// assignment, in practice, over its program empty, the box for the codes
// ready for a paste.
export function teaching(state, { found, program }) {
  const a = found.assignment ?? null;
  const problem = a ? null : { id: found.problem ?? 'link.assignment', program };
  const effects = [{ open: { program, input: '', ended: false } }, ...(a ? [{ focus: { element: 'teacher-codes', top: true } }] : [])];
  const same = a !== null && state.teacher !== null && id(a) === id(state.teacher);
  return [{ ...state, mode: 'practice', problem, teacher: a, results: same ? state.results : null, student: null, unmet: false, link: null }, effects];
}

// The assignment that the form's values give (given: what the form asks, the
// class list as typed), with seed; null when it cannot be linked.
function madeOf(given, seed) {
  const from = Math.round(Number(given.from));
  const a = assignment({ ...given, seed, from: Number.isFinite(from) ? from : firstAsked, names: namesOf(String(given.names ?? '')) });
  try {
    teacherFragment(a);
    return a;
  } catch {
    return null;
  }
}

export const handlers = {
  teacherLink: teaching,
  // The assignment form's values and a seed drawn for them: its links, or why there are none.
  assignmentMade: (state, { given, seed }) => {
    const a = madeOf(given, seed);
    return a ? [{ ...state, made: { assignment: a } }, [{ announce: [{ id: 'assign.made' }] }]] : [{ ...state, made: { invalid: true } }, []];
  },
  // The made assignment's package for an LMS, saved as name.
  packaged: (state, { name }) => [state, [{ announce: [{ id: 'lms.made', values: { name: String(name) } }] }]],
  // The codes pasted into the results view, to be graded against its assignment.
  codesRead: (state, { codes }) => (state.teacher ? [state, [{ grade: { assignment: state.teacher, codes: String(codes) } }]] : [state, []]),
  // The table of the codes read, if it was worked out for the assignment open.
  graded: (state, { assignment: a, codes, table }) => {
    if (!state.teacher || !a || id(a) !== id(state.teacher) || !table) return [state, []];
    const counts = { codes: find(codes).length, rows: table.rows.filter((row) => row.code !== null).length };
    return [{ ...state, results: { codes, table } }, [{ announce: [{ id: 'teacher.readCount', values: counts }] }]];
  },
  // The results table as CSV, worded in the page's language, saved.
  resultsSaved: (state) => (state.teacher && state.results
    ? [state, [{ saveTable: { table: state.results.table, language: state.language, name: `results-${id(state.teacher)}.csv` } }]] : [state, []]),
  // The worksheets and keys of the results view's assignment; where no name is
  // known yet, why not.
  keysAsked: (state) => {
    const a = state.teacher;
    if (!a) return [state, []];
    const read = state.results?.table.rows.map((row) => row.name) ?? [];
    if (keySheets(a, read, '').length === 0) return [state, [{ announce: [{ id: 'teacher.keysLater' }] }]];
    return [state, [{ print: { keys: { assignment: a, read } } }]];
  },
};
