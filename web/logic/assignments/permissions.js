// What an assignment allows, the one rule of it that update (the messages it
// refuses), the views (the controls they draw), the body's data-locked
// (which page.css keys on), print, the parts and grading read: what a
// student's locked page allows, and of the own way what it allows; who may
// hand in, and when work is finished. From the name on, until the work is
// handed in, the assignment locks the page: nothing that would show a stage
// before it is answered, and no way out to practice of the same matrix.
// Nothing here touches the page.
import { hintSteps, reachedUpTo } from '../practice/session.js';
import { shape } from '../own/forms.js';

// Whether the assignment hides what would show a stage before it is answered:
// from the name on, until it is handed in.
export const locked = (student) => student !== null && student.name !== null && student.handed === null;

// The steps of a stage's hint that student may see: those the assignment
// allows while it is locked, else every step (hintSteps). The hint button
// counts to it.
export const hintStepsAllowed = (student) => (locked(student) ? Math.min(hintSteps, student.assignment.hints) : hintSteps);

// The steps of a hint of steps steps that the student may see (hintStepsAllowed's, at most steps).
export const hintsAllowed = (student, steps) => Math.min(steps, hintStepsAllowed(student));

// Whether Show may fill a stage in.
export const showAllowed = (student) => !locked(student) || student.assignment.show;

// What the own way allows on a page that own assignment a locks (null: none):
// { matrix, arithmetic, hint, show }, whether another matrix may be taken
// (typed, a run's, an exercise, a link or the work this browser kept),
// the arithmetic changed, the method's next operation asked, a changed row
// seen instead of written.
export const ownAllows = (a) => ({ matrix: !a, arithmetic: !a, hint: !a || a.hints > 0, show: !a || a.show });

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
//   own         what the own way allows (ownAllows)
// }
export function permissions(student) {
  const shut = locked(student);
  const ownOnly = shut && student.assignment.mode === 'own';
  return { locked: shut, watch: !shut, choose: !shut, transcript: !shut, exercises: !shut,
           hints: hintsAllowed(student, hintSteps), show: showAllowed(student), keys: !shut, records: student === null, leave: !shut,
           ownOnly, own: ownAllows(ownOnly ? student.assignment : null) };
}

// What each message that a permission may refuse needs, by the message's type;
// a hint needs a step left, given the steps taken at its stage (taken).
const another = (p) => p.own.matrix;
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
  ownStored: another, ownLink: another, ownRead: another, ownFromRun: another, ownTyped: another, ownExercise: another,
  ownArithmetic: (p) => p.own.arithmetic, ownHint: (p) => p.own.hint, ownShow: (p) => p.own.show,
};

// Whether permissions p allow message; taken, the hint's steps taken at the
// message's stage (null where there is no such stage).
export const allows = (p, message, taken = null) => needs[message.type]?.(p, message, taken) ?? true;

// The stages whose printouts student's page may hold, given the session of
// the student's run (or null): while the assignment locks the page, those
// practice has reached (none before it starts); once the work is finished or
// handed in, or outside an assignment, every one (Infinity).
export const printoutsUpTo = (student, session) => (!locked(student) ? Infinity : session ? reachedUpTo(session) : 0);

// Whether student may hand in now: named, not handed in yet and, inside an
// LMS, while it holds the session (lms: the state's answer of the LMS), as a
// hand-in that cannot reach it would be lost. The page offers the hand-in,
// and takes it, by this rule alone.
export const mayHandIn = (student, lms) =>
  Boolean(student?.name && student.result && student.handed === null && (!student.lms || lms?.outcome === 'connected'));

// Whether own work is finished: its matrix reduced (as the operations in
// force leave it), and read off. The student's page and grading both judge so.
export const ownFinished = (reduced, read) => reduced && read;

// Whether the work of student's page is finished: practice of every stage
// asked (session, practice's), or of own work (own: the own way's slice of
// the state) the matrix in force reduced and read.
export const finished = (student, session, own) => (student?.assignment.mode === 'own'
  ? ownFinished(Boolean(own?.matrix) && shape(own.matrix).reduced, Boolean(own?.readOff))
  : session?.finished === true);
