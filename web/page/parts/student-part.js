// The student's side of an assignment, a part of the page (state/parts.js):
// the name asked, the hand-in and the code, drawn above practice, whose part
// comes first.
import '../../views/practice/markup.js';
import * as student from '../../views/assignments/student.js';
import { keptWork } from '../effects.js';
import { keptName } from '../../logic/assignments/assignment.js';
import { finished } from '../../logic/assignments/permissions.js';

export const views = [
  [student, (s) => ({ student: s.student, conflict: s.conflict, finished: finished(s.student, s.session, s.own), lms: s.lms, language: s.language }), 'cheap'],
];

// The name typed comes with the work that this browser kept under it (the
// name as the state keeps it: assignment.keptName), and the time.
export function start(page) {
  student.connect((message) => {
    const st = page.state().student;
    page.dispatch({ ...message, now: Date.now(), kept: st && keptWork(page.state().lms, st.assignment, keptName(message.name)) });
  });
}
