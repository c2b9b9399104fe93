// The parts of the page: what its first script (page.js) leaves to scripts of
// their own, each loaded when first needed, as one table. page.js holds what
// watching a run needs: the console, the pane, the stages and their exact
// values, links, language, and the state (state.js) but the handlers that a
// part brings. The build (build/bundle.js) makes a part of its modules and of
// whatever they import that no other script holds; page/loader.js loads it,
// and a part that another imports from is loaded first; the state (state.js)
// reads which messages wait for it. A part:
//   name      its script: parts/<name>.js
//   modules   the modules under web/ that it holds for the rest of the page:
//             first its entry (page/parts/<name>-part.js, which says what the
//             part adds: its views and effects, and what it starts), then those
//             that another script imports, which it lends them (the first
//             script imports them by name, read when used); among them, the
//             module of state/ whose handlers it brings, if any
//   handlers  the message types that those handlers take: each waits for the part
//   effects   the effects whose carriers its entry brings: a message whose
//             answer asks for one waits for the part (and is answered again)
//   texts     the texts that come with it: the ids that start with one of
//             these (of two starts that fit an id, the longer names its part);
//             the others are the first script's
//   needs     the other message types that wait for it, each true (every
//             message of the type) or a rule, (message, state) => whether it waits;
//             and { type: 'part', part } waits for the part that it names
// A part that no message waits for (none of the three) is loaded only with
// the parts that import it. Adding a part is one more entry here. Imports
// nothing: the build reads it too.

// Whether a link practises the run it opens or makes an exercise: practice and prints then.
const practising = (message) => Boolean(message.link?.practice || message.link?.exercise);
// What the mode's Practise button, such a link and an assignment's links wait for.
const practised = { mode: (message) => message.mode === 'practice', link: practising, studentLink: true, teacherLink: true };

export const parts = [
  { name: 'qr', modules: ['views/qr.js'], texts: ['sheet.qr'] },
  { name: 'practice', modules: ['page/parts/practice-part.js', 'views/practice/markup.js', 'views/practice/questions.js', 'logic/practice/exercises.js', 'views/seed.js'],
    // an exercise's matrix made, practice's and the own way's
    effects: ['make', 'ownMake'],
    texts: ['practice.', 'exercise.', 'choice.', 'assign.summary',
            // what an assignment asks, which the teacher's and the student's sides both say (each side's words named by one helper)
            'student.asks', 'student.range.', 'student.hints', 'student.show', 'student.own', 'teacher.due', 'teacher.none',
            'assign.hints', 'assign.ownHints', 'teacher.showYes',
            // an assignment done, in practice's words; an exercise's options, which a print and the teacher's side both name
            'student.summary', 'sheet.option.', 'sheet.noOptions'],
    needs: practised },
  // Worksheets and prints: in practice, the browser's own print is a worksheet of the run.
  { name: 'print', modules: ['page/parts/print-part.js'], effects: ['sheets'], texts: ['sheet.'], needs: practised },
  // The teacher's side; its handlers also show what is wrong with an assignment's link.
  { name: 'teacher', modules: ['page/parts/teacher-part.js', 'state/teaching.js', 'logic/assignments/results.js'],
    handlers: ['teacherLink', 'assignmentMade', 'assignmentTouched', 'assignmentConfirmed', 'packageAsked', 'packaged', 'codesRead', 'graded',
               'pageShown', 'detailed', 'ruleChosen', 'rowOpened', 'namesAdded', 'nameCorrected', 'resultsSaved', 'keysAsked', 'bookExported',
               'bookImported', 'bookKept', 'bookStored', 'bookCsvAsked',
               // a set being made with the form (state/drafting.js, which state/teaching.js brings)
               'problemAdded', 'problemRemoved', 'problemMoved', 'problemCopied', 'pointsSet'],
    effects: ['grade', 'warm', 'detail', 'keepBook', 'saveBook', 'saveTable', 'cards'],
    texts: ['teacher.', 'results.', 'book.', 'assign.', 'links.', 'lms.', 'code.', 'slip.', 'flag.', 'short.'],
    needs: { studentLink: (message) => Boolean(message.found?.problem || !message.found?.assignment) } },
  { name: 'student', modules: ['page/parts/student-part.js'], texts: ['student.', 'lms.reopen', 'lms.connected', 'lms.commitFailed'],
    needs: { studentLink: true } },
  // The LMS: a student's session in one, and an assignment's package for one.
  { name: 'lms', modules: ['page/parts/lms-part.js', 'page/packages.js', 'logic/assignments/suspend.js', 'logic/assignments/scorm.js'],
    effects: ['package'], texts: ['lms.notPage', 'lms.tooLarge', 'lms.otherPage'], needs: { packageAsked: true } },
  // The own way's exact core: the operations' grammar, their arithmetic and
  // the learner's rows checked, the forms and what they mean, the method's
  // hint, the work and its code, and an assignment's own result. The own
  // way's part, the teacher's (grading such work) and the LMS's import it:
  // loaded before them, so that a teacher's link loads no more of the mode.
  { name: 'own-logic', modules: ['logic/own/forms.js', 'logic/own/numbers.js', 'logic/own/operations.js', 'logic/own/arithmetic.js',
                                 'logic/own/hints.js', 'logic/own/matrix.js', 'logic/own/work.js', 'logic/own/code.js', 'logic/own/reading.js',
                                 'logic/assignments/own-result.js'],
    texts: ['own.meaning.', 'own.reading.', 'own.shape.', 'own.slip.', 'own.op.', 'own.number.', 'own.matrix.', 'own.hint.', 'own.run.'] },
  // The learner's own row operations on a matrix ("Your own way"): its
  // section, its views and its handlers; for the mode asked for, and a
  // student's link to an assignment of this mode.
  { name: 'own', modules: ['page/parts/own-part.js', 'state/own.js'],
    handlers: ['ownStored', 'ownLink', 'ownRead', 'ownFromRun', 'ownTyped', 'ownExercise', 'ownMade', 'ownResumed', 'ownAnswer', 'ownOp', 'ownButtons',
               'ownArithmetic', 'ownRow', 'ownShow', 'ownCancel', 'ownUndo', 'ownRedo', 'ownGoTo', 'ownHint', 'ownCompare', 'ownCopy', 'ownReplaced', 'ownWorked'],
    effects: ['ownRead', 'ownWork', 'ownKeep'], texts: ['own.'],
    needs: { mode: (message) => message.mode === 'own', studentLink: (message) => message.found?.assignment?.mode === 'own',
             // a set's problem of the student's own operations, moved to
             problemOpened: (message, state) => state.student?.set?.problems[message.at]?.mode === 'own' } },
];

// The part that handles each message type of the parts', and the part that
// carries each effect of theirs, by name.
const byName = (field) => new Map(parts.flatMap((part) => (part[field] ?? []).map((key) => [key, part.name])));
export const handledBy = byName('handlers');
export const carriedBy = byName('effects');
