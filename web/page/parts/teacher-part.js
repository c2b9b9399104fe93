// The teacher's side, a part of the page (state/parts.js): the results view
// that a teacher's link opens, with the gradebook kept in this browser, and
// the form of a new assignment with its links and its package for an LMS
// (which the LMS's part makes). The form stands in practice's section, whose
// part comes first.
import '../../views/practice/markup.js';
import '../../views/assignments/markup.js';  // the part's own markup, before the views that hold it
import * as teacher from '../../views/assignments/teacher.js';
import * as classLinks from '../../views/assignments/class-links.js';
import * as assignmentForm from '../../views/assignments/assignment-form.js';
import * as setDraft from '../../views/assignments/set-draft.js';
import * as lmsForm from '../../views/assignments/lms-download.js';
import * as bookList from '../../views/assignments/book-list.js';
import { storedLarge, largeMark } from '../storage.js';
import { effects as grading } from '../grading.js';

// What carries out the effects of the teacher's handlers (state/teaching.js,
// which the state reads): grading's, and the page of names drawn for a print.
export const effects = {
  ...grading,
  cards: (page, { cards: printing }) => classLinks.drawNames(printing.names, (drawn) => page.dispatch({ type: 'sheetsDrawn', printing, ...drawn })),
};

export const views = [
  [teacher, (s) => ({ teacher: s.teacher, results: s.results, language: s.language }), 'now'],
  // What a print asked of the teacher's side holds (state/printing.js): the
  // results table; the class's page of names, drawn by its effect (cards), cleared after.
  [{ render: ({ results }) => teacher.printing(results) }, (s) => ({ results: Boolean(s.printing?.results) }), 'now'],
  [{ render: ({ names }) => { if (names === null) classLinks.clearNames(); } }, (s) => ({ names: s.printing?.names ?? null }), 'now'],
  [assignmentForm, (s) => ({ program: s.model?.run.program ?? null, made: s.made, touched: s.assignTouched, language: s.language }), 'cheap'],
  [lmsForm, (s) => ({ made: s.made?.packageProblem, teacher: s.results?.packageProblem, language: s.language }), 'cheap'],
  [setDraft, (s) => ({ draft: s.draft, language: s.language }), 'cheap'],
  [bookList, (s) => ({ gradebook: s.gradebook, teacher: s.teacher, unsaved: s.bookUnsaved, pasted: s.results?.pasted, language: s.language }), 'cheap'],
];

// The views send what the teacher does (an LMS's form first opened asks for
// the LMS's part, which makes its package).
export function start(page) {
  for (const view of [teacher, assignmentForm, setDraft, lmsForm, bookList]) view.connect(page.dispatch);
  // The gradebook as another tab kept it.
  addEventListener('storage', (event) => {
    if (event.key === largeMark('gradebook')) storedLarge('gradebook').then((book) => page.dispatch({ type: 'bookStored', book }));
  });
}
