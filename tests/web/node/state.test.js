// The page's state (web/state.js) under node: each message as a row of one
// table, the state before it, what it changes and the effects it asks of the page.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import { needsBuild, programs, typeEntries } from './programs.js';
import { initial, update, linkState } from '../../../web/state.js';
import * as session from '../../../web/logic/session.js';
import { modelOf, model as modelOfRun } from '../../../web/logic/model.js';
import { parse } from '../../../web/logic/share.js';
import * as runner from '../../../web/logic/runner.js';

before(programs);

const input = '2\n2 1\n1 3\n';
const progress = 'practice.progress.gjinverse 2 2 1 1 3';
const record = 'practice.gjinverse 2 2 1 1 3';

test('each message changes the state as it says, and asks the page for its effects', needsBuild, () => {
  const m = modelOf('gjinverse', input);
  const waiting = modelOfRun(runner.open('gjsolve'));
  const typed = typeEntries('gjinverse', ['2\n', '2 1\n', '1 3\n']);
  const shown = update({ ...initial(), model: waiting }, { type: 'shown', model: m, saved: null, past: null })[0];
  const practising = { ...shown, mode: 'practice' };
  const lastStage = { ...practising, session: { ...shown.session, from: 6, current: 6, stages: Object.assign([], { 6: shown.session.stages[6] }) } };
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
    [{ ...shown, mode: 'practice' }, { practice: true, exercise: { seed: 1, order: 2, options: [] }, asked, from: 4, fill: 'all' }],
    [{ ...shown, link: { ...shown.link, input: '2\n' } }, { practice: false, exercise: null, asked: null }],
  ];
  assert.deepEqual(cases.map(([state]) => linkState(state)), cases.map((c) => c[1]));
});
