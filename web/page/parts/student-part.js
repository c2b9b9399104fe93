// The student's side of an assignment, a part of the page (state/parts.js):
// the name asked, the hand-in and the code, drawn above practice, whose part
// comes first.
import '../../views/practice-markup.js';
import * as student from '../../views/assignments/student.js';
import { keptWork } from '../effects.js';
import { cleanName } from '../../logic/assignments/assignment.js';

export const views = [
  [student, (s) => ({ student: s.student, conflict: s.conflict, finished: s.session?.finished === true || Boolean(s.student?.assignment.mode === 'own' && s.own?.readOff), lms: s.lms, language: s.language }), 'cheap'],
];

// The name typed comes with the work that this browser kept under it, and the time.
export function start(page) {
  student.connect((message) => {
    const st = page.state().student;
    page.dispatch({ ...message, now: Date.now(), kept: st && keptWork(page, st.assignment, cleanName(message.name)) });
  });
}
