// The parts of the page: what its first script (page.js) leaves to scripts of
// their own, each loaded when first needed. page.js holds what watching a run
// needs: the console, the pane, the stages and their exact values, links,
// language, and the state (state.js) but the handlers that a part brings
// (those of a module of state/ that it holds). The build (build/bundle.js) makes
// a part of its modules and of whatever they import that no other script
// holds; page/loader.js loads it, and a part that another imports from is
// loaded first. A part:
//   name     its script: parts/<name>.js
//   modules  the modules under web/ that it holds for the rest of the page:
//            first its entry (page/parts/<name>-part.js, which says what the part
//            adds: its views, handlers and effects, and what it starts), then
//            those that another script imports, which it lends them (the
//            first script imports them by name, read when used)
//   texts    the texts that come with it: the ids that start with one of
//            these (of two starts that fit an id, the longer names its part);
//            the others are the first script's
//   needs    (state, message) => whether message waits for the part, which
//            the state then asks for (state.js); none for a part that only
//            the parts that import it need
// Adding a part is one more entry here. Imports nothing: the build reads it too.

// Whether message asks for part name by name: { type: 'part', part }.
const asked = (message, name) => message.type === 'part' && message.part === name;

// Whether message brings the page into practice: the mode chosen, a link that
// practises a run or makes an exercise, an assignment's link.
const practising = (message) => (message.type === 'mode' && message.mode === 'practice') ||
  (message.type === 'link' && Boolean(message.link?.practice || message.link?.exercise)) ||
  message.type === 'studentLink' || message.type === 'teacherLink';

export const parts = [
  { name: 'qr', modules: ['views/qr.js'], texts: ['sheet.qr'] },
  { name: 'practice', modules: ['page/parts/practice-part.js', 'views/practice-markup.js', 'views/practice.js', 'logic/practice/exercises.js', 'views/seed.js'],
    texts: ['practice.', 'exercise.', 'choice.', 'assign.summary',
            // what an assignment asks, which the teacher's and the student's sides both say
            'student.asks', 'student.range.', 'student.hints', 'student.show', 'student.own', 'teacher.due', 'teacher.none'],
    // a message that asks for an exercise's matrix (the learner's own way's) too
    needs: (state, message) => practising(message) || message.exercise || asked(message, 'practice') },
  // Worksheets and prints: in practice, the browser's own print is a worksheet of the run.
  { name: 'print', modules: ['page/parts/print-part.js'], texts: ['sheet.'],
    needs: (state, message) => practising(message) || asked(message, 'print') },
  { name: 'teacher', modules: ['page/parts/teacher-part.js', 'state/teaching.js', 'logic/assignments/results.js'],
    texts: ['teacher.', 'results.', 'book.', 'assign.', 'links.', 'lms.', 'code.', 'slip.', 'flag.', 'short.'],
    // its handlers too (state/teaching.js), which also show what is wrong with an assignment's link
    needs: (state, message) => message.type === 'teacherLink' || asked(message, 'teacher') ||
      (message.type === 'studentLink' && Boolean(message.found?.problem || !message.found?.assignment)) },
  { name: 'student', modules: ['page/parts/student-part.js'], texts: ['student.', 'lms.reopen', 'lms.connected', 'lms.commitFailed'],
    needs: (state, message) => message.type === 'studentLink' || asked(message, 'student') },
  // The LMS: a student's session in one, and an assignment's package for one.
  { name: 'lms', modules: ['page/parts/lms-part.js', 'page/packages.js', 'logic/assignments/suspend.js', 'logic/assignments/scorm.js'],
    texts: ['lms.notPage', 'lms.tooLarge', 'lms.otherPage'],
    needs: (state, message) => message.type === 'packageAsked' || asked(message, 'lms') },
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
  // section, its views and its handlers (state/own.js), which no other script
  // imports; for the mode asked for, a link to such work (ownLink, the one
  // message with a hash), and a student's link to an assignment of this mode.
  { name: 'own', modules: ['page/parts/own-part.js'], texts: ['own.'],
    needs: (state, message) => message.mode === 'own' || message.hash || message.found?.assignment?.mode === 'own' ||
      // a set's problem of the student's own operations, moved to
      (message.type === 'problemOpened' && state.student?.set?.problems[message.at]?.mode === 'own') },
];
