// The page's state (web/state.js) under node: each message as a row of one
// table, the state before it, what it changes and the effects it asks of the page.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import { needsBuild, programs, typeEntries } from './programs.js';
import { initial, update, linkState } from '../../../web/state.js';
import * as session from '../../../web/logic/session.js';
import { model as modelOfRun } from '../../../web/logic/model.js';
import { modelOf } from '../../../web/logic/exercises.js';
import { parse } from '../../../web/logic/share.js';
import * as runner from '../../../web/logic/runner.js';
import { assignment, exerciseFor, id } from '../../../web/logic/assignments/assignment.js';
import { make } from '../../../web/logic/exercises.js';
import { noted } from '../../../web/logic/assignments/result-code.js';
import { results } from '../../../web/logic/assignments/results.js';
import { workKey } from '../../../web/logic/assignments/work.js';
import { resultOf } from '../../../web/logic/assignments/scorm.js';

before(programs);

const input = '2\n2 1\n1 3\n';
const progress = 'practice.progress.gjinverse 2 2 1 1 3';
const record = 'practice.gjinverse 2 2 1 1 3';

test('each message changes the state as it says, and asks the page for its effects', needsBuild, () => {
  const m = modelOf('gjinverse', input);
  const waiting = modelOfRun(runner.open('gjsolve'));
  const typed = typeEntries('gjinverse', ['2\n', '2 1\n', '1 3\n']);
  const shown = update({ ...initial(), model: waiting }, { type: 'shown', model: m, saved: null, past: null })[0];
  const practising = update(shown, { type: 'mode', mode: 'practice' })[0];
  // A watched run's last Enter works out no practice; practice shows it from its last stage.
  assert.deepEqual([shown.session, practising.session.from], [null, 6]);
  const lastStage = { ...practising, session: { ...practising.session, from: 6, current: 6, stages: Object.assign([], { 6: practising.session.stages[6] }) } };
  const done = session.fillIn(m, lastStage.session, 6);
  const answered = { ...practising, link: { program: 'gjinverse', input, exercise: null, asked: null },
                     session: session.answer(practising.session, 6, 'entry 1 1', { text: '7' }) };
  const hinted = { ...practising, session: session.hint(practising.session, 6) };
  // [what, state before, message, what the state is then (a part of it), effects]
  const cases = [
    ['the first prompt waits', initial(), { type: 'awaiting', program: 'gjsolve' }, { early: { program: 'gjsolve', entries: [], ended: false } }, []],
    ['loaded: what was typed is typed again', { ...initial(), early: { program: 'gjsolve', entries: ['2\n', '1'], ended: true } }, { type: 'loaded' },
     { programs: 'loaded', early: null }, [{ open: { program: 'gjsolve', input: '2\n1', ended: true } }]],
    ['loaded: nothing typed, the link opens', { ...initial(), early: { program: 'gjsolve', entries: [], ended: false } }, { type: 'loaded' },
     { early: null }, [{ openLink: true }]],
    ['a link to practise', initial(), { type: 'link', link: parse('#gjinverse&practice&input=2%0A&from=3&oops') },
     { mode: 'practice', problem: { id: 'link.unknown', program: 'gjinverse' }, unmet: false,
       link: { program: 'gjinverse', input: '2\n', exercise: null, asked: { from: 3, fill: null, own: false } } },
     [{ open: { program: 'gjinverse', input: '2\n', ended: false } }]],
    ['an exercise\'s link types its matrix', initial(), { type: 'link', link: parse('#gjsolve&seed=3&order=2'), made: { input: '2\n1 2 3\n', met: false } },
     { mode: 'watch', unmet: true, problem: null }, [{ open: { program: 'gjsolve', input: '2\n1 2 3\n', ended: false } }]],
    ['a link to a program alone keeps practice', practising, { type: 'link', link: parse('#gjsolve') }, { mode: 'practice' },
     [{ open: { program: 'gjsolve', input: '', ended: false } }]],
    ['a link with input watches', practising, { type: 'link', link: parse('#gjsolve&input=2') }, { mode: 'watch' },
     [{ open: { program: 'gjsolve', input: '2', ended: false } }]],
    ['a run over: practice starts at the last stage', { ...initial(), model: waiting }, { type: 'shown', model: m, saved: null, past: { count: 1 } },
     { model: m, past: { count: 1 }, stage: { k: 0, all: false } }, []],
    ['the stage shown stays, within the stages of a longer run of the session', { ...shown, model: modelOfRun(typed[2]), stage: { k: 9, all: true } },
     { type: 'shown', model: modelOfRun(typed[3]) }, { stage: { k: 6, all: true } }, []],
    ['a teacher\'s link: its results view, practising, over the program empty', shown,
     { type: 'teacherLink', found: { role: 'teacher', assignment: { program: 'gjsolve' } }, program: 'gjsolve' },
     { mode: 'practice', teacher: { program: 'gjsolve' }, problem: null, link: null },
     [{ open: { program: 'gjsolve', input: '', ended: false } }, { focusTeacher: true }]],
    ['a teacher\'s link cut short: no view, and the page says why', shown,
     { type: 'teacherLink', found: { problem: 'link.assignment' }, program: 'gjinverse' },
     { teacher: null, problem: { id: 'link.assignment', program: 'gjinverse' } }, [{ open: { program: 'gjinverse', input: '', ended: false } }]],
    ['any other link closes the results view', { ...shown, teacher: { program: 'gjsolve' } }, { type: 'link', link: parse('#gjsolve') },
     { teacher: null }, [{ open: { program: 'gjsolve', input: '', ended: false } }]],
    ['start over', { ...practising, teacher: { program: 'gjinverse' } }, { type: 'restart' }, { link: null, problem: null, teacher: null },
     [{ forget: progress }, { address: '#gjinverse&practice' }, { open: { program: 'gjinverse', input: '', ended: false } }]],
    ['a wrong answer is kept', practising, { type: 'answer', k: 6, key: 'entry 1 1', given: { text: '7' } }, {},
     [{ store: progress, value: { from: 6, fill: 'row', current: 6, stages: Object.assign([], { 6: { answers: [['entry 1 1', { text: '7', alone: false, choice: null, zero: false,
       verdict: { right: false, note: null, slip: null } }]], wrong: true, hints: 0, shown: false } }) } }]],
    ['an answer to no question changes nothing', practising, { type: 'answer', k: 2, key: 'order', given: { text: '1 2' } }, { session: practising.session }, []],
    ['the last stage shown: the record kept, one level more', lastStage, { type: 'fillIn', k: 6 }, { past: session.tally(done), level: 1 },
     [{ forget: progress }, { store: record, value: session.tally(done) }, { store: 'practice.level', value: 1 }]],
    ['finished again: the record anew, the level as it was', { ...lastStage, past: { count: 1 }, level: 4 }, { type: 'fillIn', k: 6 }, { level: 4 },
     [{ forget: progress }, { store: record, value: session.tally(done) }]],
    ['practice from stage 2', practising, { type: 'from', from: 1 }, {}, [{ store: progress, value: session.stored(session.restart(m, practising.session, 1)) }]],
    ['the exercise over again', practising, { type: 'restartPractice' }, { confirming: null }, [{ forget: progress }]],
    // A start-over that would erase answers asks first; the answers stay until the yes.
    ['new input over answers asks first', answered, { type: 'restart' }, { confirming: 'restart', session: answered.session, link: answered.link }, []],
    ['and erases them on the yes', { ...answered, confirming: 'restart' }, { type: 'restart', confirmed: true }, { confirming: null, link: null },
     [{ forget: progress }, { address: '#gjinverse&practice' }, { open: { program: 'gjinverse', input: '', ended: false } }]],
    ['or keeps them on the no', { ...answered, confirming: 'restart' }, { type: 'keepWork' }, { confirming: null, session: answered.session }, []],
    ['the exercise over again, over answers, asks first', answered, { type: 'restartPractice' }, { confirming: 'restartPractice', session: answered.session }, []],
    ['and starts it over on the yes', answered, { type: 'restartPractice', confirmed: true }, { confirming: null, session: session.restart(m, answered.session) },
     [{ forget: progress }]],
    ['a hint taken is work too', hinted, { type: 'restartPractice' }, { confirming: 'restartPractice' }, []],
    ['a finished exercise keeps its record: nothing to ask', { ...practising, session: done }, { type: 'restart' }, { confirming: null },
     [{ forget: progress }, { address: '#gjinverse&practice' }, { open: { program: 'gjinverse', input: '', ended: false } }]],
    ['a new run forgets the question', { ...answered, confirming: 'restart' }, { type: 'shown', model: modelOf('gjinverse', '1\n2\n') }, { confirming: null }, []],
    ['the record cleared', { ...practising, past: { count: 1 } }, { type: 'clearRecord' }, { past: null }, [{ forget: record }]],
    ['no stage past the last', shown, { type: 'stage', k: 7 }, { stage: { k: 0, all: false } }, []],
    ['a new exercise', shown, { type: 'exercise', seed: 7, order: 3, options: ['nice'] }, {},
     [{ visit: '#gjinverse&practice&seed=7&order=3&options=nice&gen=2&own' }]],
    ['a class set', shown, { type: 'classSet', seed: 7, order: 3, options: [], count: 2 }, {},
     [{ classSet: { program: 'gjinverse', seed: 7, order: 3, options: [], count: 2, generator: 2, parts: 'all', twoSided: true } }]],
    ['the keys alone of the exercise shown, one-sided', shown,
     { type: 'classSet', seed: 5, order: 3, options: ['nice'], count: 30, generator: 1, parts: 'keys', twoSided: false }, {},
     [{ classSet: { program: 'gjinverse', seed: 5, order: 3, options: ['nice'], count: 30, generator: 1, parts: 'keys', twoSided: false } }]],
  ];
  for (const [what, state, message, expected, effects] of cases) {
    const [next, asked] = update(state, message);
    const part = Object.fromEntries(Object.keys(expected).map((key) => [key, next[key]]));
    assert.deepEqual([part, JSON.parse(JSON.stringify(asked))], [expected, JSON.parse(JSON.stringify(effects))], what);
  }
  assert.throws(() => update(shown, { type: 'nonsense' }), /nonsense/);
});

test('a link to the run shown carries practice, the exercise and what practice asks', needsBuild, () => {
  const m = modelOf('gjinverse', input);
  const asked = { from: 4, fill: 'all', own: false };
  const opened = { ...initial(), link: { program: 'gjinverse', input, exercise: { seed: 1, order: 2, options: [] }, asked } };
  const shown = update(opened, { type: 'shown', model: m })[0];
  const cases = [
    [shown, { practice: false, exercise: { seed: 1, order: 2, options: [] }, asked }],
    [update(shown, { type: 'mode', mode: 'practice' })[0], { practice: true, exercise: { seed: 1, order: 2, options: [] }, asked, from: 4, fill: 'all' }],
    [{ ...shown, link: { ...shown.link, input: '2\n' } }, { practice: false, exercise: null, asked: null }],
  ];
  assert.deepEqual(cases.map(([state]) => linkState(state)), cases.map((c) => c[1]));
});

// A student's link on one browser: the name, the student's matrix asked as the
// assignment asks, each lock (a message that it forbids changes nothing), what
// is noted in the result, the work kept under the student's own key, the
// start-over that asks first, and the code that the teacher's page re-checks
// to the same verdicts.
test('a student works an assignment, locked until handed in', needsBuild, () => {
  const a = assignment({ seed: 7, order: 2, options: ['nice'], hints: 1, show: false });
  const key = (name) => `assignment.${id(a)}.${name}`;
  const input = make(exerciseFor(a, 'Kim')).input;
  const open = (text) => ({ open: { program: 'gjinverse', input: text, ended: false } });
  const [unnamed, asked] = update(initial(), { type: 'studentLink', found: { role: 'student', assignment: a, name: null }, program: 'gjinverse' });
  assert.deepEqual([unnamed.student.name, unnamed.mode, asked], [null, 'practice', [open('')]]);
  const [opened] = update(unnamed, { type: 'studentName', name: ' Kim\u00a0', now: 1000 });
  const m = modelOf('gjinverse', input);
  const working = update(opened, { type: 'shown', model: m, saved: null })[0];
  const s = working.session;
  const q = s.stages[1].questions[0];
  const hinted = update(working, { type: 'hint', k: 1 })[0];
  const wrong = update(hinted, { type: 'answer', k: 1, key: q.key, given: { text: '12345' } })[0];
  const kept = (state) => ({ store: key('kim'), value: { progress: session.stored(state.session), finished: false, result: state.student.result, handed: null } });
  // [what, state, message, what the state is then (a part of it), effects; null: the state as it was]
  const cases = [
    ['no name given: nothing opens', unnamed, { type: 'studentName', name: '  ' }, null, []],
    ['the name opens the student\'s matrix, asked from the scaling', unnamed, { type: 'studentName', name: ' Kim\u00a0', now: 1000 },
     { link: { program: 'gjinverse', input, exercise: null, asked: { from: 2, fill: 'row', own: false } } }, [open(input)]],
    ['the link\'s own name is used', initial(), { type: 'studentLink', found: { role: 'student', assignment: a, name: 'Kim' }, program: 'gjinverse', now: 5 },
     { student: { ...opened.student, named: true, result: { ...opened.student.result, started: 5, handed: 5 } } }, [open(input)]],
    ...['watch', 'practice'].map((mode) => [`locked: mode ${mode}`, working, { type: 'mode', mode }, mode === 'watch' ? null : { mode }, []]),
    ...[{ type: 'from', from: 5 }, { type: 'fill', fill: 'all' }, { type: 'stage', k: 3 }, { type: 'allStages' }, { type: 'fillIn', k: 1 },
        { type: 'hint', k: 1 }, { type: 'exercise', seed: 1, order: 2, options: [] }, { type: 'classSet', seed: 1, order: 2, options: [], count: 3 }]
      .map((message) => [`locked: ${message.type}`, hinted, message, null, []]),
    ['the hint allowed is noted', working, { type: 'hint', k: 1 }, { student: { ...working.student, result: noted(working.student.result, 1, s.stages[1].questions.length, { hint: true }) } },
     [kept(hinted)]],
    ['a wrong first answer is noted, and kept under the student\'s key', hinted, { type: 'answer', k: 1, key: q.key, given: { text: '12345' } },
     {}, [kept(wrong)]],
    ['a start-over asks first', wrong, { type: 'restartPractice' }, { session: wrong.session, student: { ...wrong.student, confirm: true } }, []],
    ['kept work stays', { ...wrong, student: { ...wrong.student, confirm: true } }, { type: 'keepWork' }, { student: wrong.student }, []],
    ['confirmed, the work starts over, the first answer kept', { ...wrong, student: { ...wrong.student, confirm: true } }, { type: 'restartPractice', confirmed: true },
     { student: wrong.student }, [{ store: key('kim'), value: { progress: session.stored(session.restart(m, wrong.session)), finished: false, result: wrong.student.result, handed: null } }]],
    ['not you: the name asked again, nothing forgotten', wrong, { type: 'notYou' }, { student: { ...unnamed.student }, link: null }, [open('')]],
    ['not you, inside an LMS that gave no name: still inside it', { ...wrong, student: { ...wrong.student, lms: true } }, { type: 'notYou' },
     { student: { ...unnamed.student, lms: true } }, [open('')]],
    ['a link naming the student has no "not you"', { ...wrong, student: { ...wrong.student, named: true } }, { type: 'notYou' }, null, []],
  ];
  for (const [what, state, message, expected, effects] of cases) {
    const [next, asked] = update(state, message);
    const part = expected === null ? next : Object.fromEntries(Object.keys(expected).map((key) => [key, next[key]]));
    assert.deepEqual([part, JSON.parse(JSON.stringify(asked))], [expected ?? state, JSON.parse(JSON.stringify(effects))], what);
  }
  // Handed in: a code that the teacher's page reads to the student's verdicts; then nothing is locked.
  const [handed, stored] = update(wrong, { type: 'handIn', now: 61000 });
  assert.deepEqual(stored, [{ store: key('kim'), value: { progress: session.stored(wrong.session), finished: false, result: wrong.student.result, handed: handed.student.handed } }]);
  const table = results({ ...a, names: ['Kim'] }, handed.student.handed);
  assert.deepEqual([table.rejected, table.rows[0].flags, table.rows[0].cells[0], table.rows[0].seconds], [[], [], { status: 'open', hints: 1 }, 60]);
  assert.equal(update(handed, { type: 'mode', mode: 'watch' })[0].mode, 'watch');
});

// Inside an LMS: the student that it names works as on a link; every change of
// the work, from its opening on, is told to the LMS, and none is stored; what
// the LMS is told of a stage shown after a wrong answer and a hint.
test('inside an LMS, the work goes to the LMS alone', needsBuild, () => {
  const a = assignment({ seed: 7, order: 2, show: true });
  const m = modelOf('gjinverse', make(exerciseFor(a, 'Kim, Minji')).input);
  const [linked] = update(initial(), { type: 'studentLink', found: { role: 'student', assignment: a, name: 'Kim, Minji' }, program: 'gjinverse', lms: true, now: 5 });
  const steps = [['shown', { type: 'shown', model: m }], ['answer', { type: 'answer', k: 1, key: null, given: { text: '12345' } }],
    ['hint', { type: 'hint', k: 1 }], ['fillIn', { type: 'fillIn', k: 1 }], ['handIn', { type: 'handIn', now: 61000 }]];
  let state = linked;
  for (const [what, message] of steps) {
    const [next, effects] = update(state, message.key === null ? { ...message, key: state.session.stages[1].questions[0].key } : message);
    const work = { progress: session.stored(next.session), finished: false, result: next.student.result, handed: next.student.handed };
    assert.deepEqual(JSON.parse(JSON.stringify(effects)), JSON.parse(JSON.stringify([{ report: work }])), what);
    state = next;
  }
  assert.equal(update(state, { type: 'shown', model: m })[1].length, 0, 'the same run shown again tells nothing');
  const told = resultOf({ m, practice: state.session, record: state.student.result, took: new Map([[1, 4200]]), passMark: 0.5, seconds: 60, suspend: 'W1' });
  const count = state.session.stages[1].questions.length;
  assert.deepEqual(told, { name: 'Kim, Minji', asked: m.stages.length - 1, rightFirstTime: 0, passMark: 0.5, seconds: 60, suspend: 'W1',
    stages: [{ id: 'stage-2-scaled', firstAnswer: ['12345', ...Array(count - 1).fill('')], right: false, latencyMs: 4200 }] });
});

test('work is kept per assignment and per name', () => {
  const a = assignment({ seed: 7 });
  const keys = [[a, 'Kim  Minsu'], [a, 'kim minsu '], [a, '박서연'], [assignment({ seed: 8 }), 'Kim Minsu']].map(([x, name]) => workKey(x, name));
  assert.deepEqual([keys[0] === keys[1], new Set(keys).size], [true, 3]);
});

// A link that asks otherwise than the work kept of its exercise: the page
// offers both; and the link to a run made with the form asks from the scaling
// unless the learner chose where to start.
test('a corrected link, and the link to a run asking every stage', needsBuild, () => {
  const m = modelOf('gjinverse', input);
  const linked = (asked) => ({ ...initial(), mode: 'practice', link: { program: 'gjinverse', input, exercise: null, asked } });
  const saved = session.stored(session.start(m, { asked: { from: 6, fill: 'row', own: false } }));
  const corrected = update(linked({ from: 2, fill: null, own: false }), { type: 'shown', model: m, saved })[0];
  assert.deepEqual([corrected.conflict, corrected.session.from], [{ from: 1, fill: 'row' }, 5]);
  assert.equal(update(linked({ from: 6, fill: null, own: false }), { type: 'shown', model: m, saved })[0].conflict, null);
  const taken = update(corrected, { type: 'takeLink' })[0];
  assert.deepEqual([taken.conflict, taken.session.from, update(corrected, { type: 'keepSaved' })[0].session.from], [null, 1, 5]);
  const paced = update({ ...linked({ from: null, fill: null, own: true }), level: 2 }, { type: 'shown', model: m })[0];
  assert.deepEqual([paced.session.from, linkState(paced).from], [4, 2]);
  assert.equal(linkState(update(paced, { type: 'from', from: 3 })[0]).from, 4);
});
