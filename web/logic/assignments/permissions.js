// What a page that a student's assignment opened allows: the one rule that
// update (the messages it refuses), the views (the controls they draw), the
// body's data-locked (which page.css keys on) and print read. From the name
// on, until the work is handed in, the assignment locks the page: nothing that
// would show a stage before it is answered, and no way out to practice of the
// same matrix. Nothing here touches the page.
import { hintSteps, reachedUpTo } from '../practice/session.js';
import { locked as isLocked, hintsAllowed, showAllowed } from './work.js';

// The permissions of the page of student (work.js's, or null: no assignment): {
//   locked      whether the assignment locks the page now
//   watch       Watch, the stages section, and moving in it
//   choose      choosing the stage to start from and the entries asked
//   transcript  copying and downloading the transcript, and its link
//   exercises   new exercises, class sets and assignments
//   hints       the steps of a stage's hint that may be shown
//   show        whether Show may fill a stage in
//   keys        whether a print of practice holds the answer key
//   records     practice's record of the exercise, kept by this browser and cleared at will
//   leave       the ways off the page in one tap: the programs' menu, the
//               examples, "New input"
//   ownOnly     whether the page stays in "Your own way" (an assignment of the
//               student's own operations, while it locks the page)
// }
export function permissions(student) {
  const locked = isLocked(student);
  return { locked, watch: !locked, choose: !locked, transcript: !locked, exercises: !locked,
           hints: hintsAllowed(student, hintSteps), show: showAllowed(student), keys: !locked, records: student === null, leave: !locked,
           ownOnly: locked && student.assignment.mode === 'own' };
}

// What each message that a permission may refuse needs, by the message's type;
// a hint needs a step left, given the steps taken at its stage (taken).
const needs = {
  mode: (p, { mode }) => (p.ownOnly ? mode === 'own' : mode === 'practice' || p.watch),
  stage: (p) => p.watch, allStages: (p) => p.watch,
  from: (p) => p.choose, fill: (p) => p.choose,
  download: (p) => p.transcript, copyTranscript: (p) => p.transcript,
  exercise: (p) => p.exercises, classSet: (p) => p.exercises, assignmentMade: (p) => p.exercises,
  hint: (p, message, taken) => taken !== null && taken < p.hints,
  fillIn: (p) => p.show,
  clearRecord: (p) => p.records,
  restart: (p) => p.leave,
};

// Whether permissions p allow message; taken, the hint's steps taken at the
// message's stage (null where there is no such stage).
export const allows = (p, message, taken = null) => needs[message.type]?.(p, message, taken) ?? true;

// The stages whose printouts student's page may hold, given the session of
// the student's run (or null): while the assignment locks the page, those
// practice has reached (none before it starts); once the work is finished or
// handed in, or outside an assignment, every one (Infinity).
export const printoutsUpTo = (student, session) => (!isLocked(student) ? Infinity : session ? reachedUpTo(session) : 0);
