// Practice and exercises, a part of the page (state/parts.js): the practice
// section, its questions, the exercise form, and the exercises made from a
// seed, practice's and the own way's. It comes before the teacher's and the
// student's parts, which draw into its section.
import '../../views/practice/markup.js';  // first: the section's controls, before the views that hold them
import * as practice from '../../views/practice/questions.js';
import * as exerciseForm from '../../views/practice/exercise-form.js';
import { byId } from '../../views/dom.js';
import { make } from '../../logic/practice/exercises.js';
import { permissions } from '../../logic/assignments/permissions.js';
import { isStudents } from '../../state.js';

// The student whose run is shown, whose summary practice gives: once the
// run is done, so that practice is not drawn again at each note.
const studentOf = (s) => (s.student?.name && s.session?.finished && isStudents(s, s.session.run) ? s.student : null);

export const views = [
  [practice, (s) => {
    const p = permissions(s.student);
    return { mode: s.mode, model: s.model, session: s.session, past: s.past, exactShown: s.exactShown, unmet: s.unmet,
             hints: p.hints, show: p.show, records: p.records, language: s.language, student: studentOf(s) };
  }, 'practice'],
];

// An exercise's matrix made (exercises.make): practice's, whose input comes
// back as 'made'; the own way's, as 'ownMade', a student's too (student).
export const effects = {
  make: (page, { make: exercise }) => {
    const made = make(exercise);
    page.dispatch({ type: 'made', input: made.input, met: made.met });
  },
  ownMake: (page, { ownMake: exercise, student = false }) =>
    page.dispatch({ type: 'ownMade', input: make(exercise).input, program: exercise.program, student }),
};

// The views send what the learner does; the form of a new assignment, the
// teacher's part's, is asked for as it is first opened.
export function start(page) {
  practice.connect(page.dispatch);
  exerciseForm.connect(page.dispatch);
  byId('assignment').addEventListener('toggle', (event) => {
    if (event.target.open) page.dispatch({ type: 'part', part: 'teacher' });
  });
}
