// The page's state (web/state.js) under node: each message as a row of a
// table, the state before it, what it changes and the effects it asks of the
// page; every message that update takes has a row; and every message, in each
// of a few states, gives its answer without throwing or changing the state it
// was given.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { needsBuild, programs, typeEntries } from './programs.js';
import { initial, update, handlers, messageTypes, partNames, linkState, programOf } from '../../../web/state.js';
import { parts as pageParts, handledBy } from '../../../web/state/parts.js';
import { readMatrix } from '../../../web/logic/own/matrix.js';
import { readOperation } from '../../../web/logic/own/operations.js';
import { startWork, doOperation, matrixAt } from '../../../web/logic/own/work.js';
import { ownFragment, readOwnLink } from '../../../web/logic/own/link.js';
import { copyMarkdown } from '../../../web/logic/own/copies.js';
import { translator } from '../../../web/logic/language/translate.js';
import * as session from '../../../web/logic/practice/session.js';
import { model as modelOfRun } from '../../../web/logic/run/model.js';
import { modelOf, make } from '../../../web/logic/practice/exercises.js';
import { parse } from '../../../web/logic/run/share.js';
import * as runner from '../../../web/logic/run/runner.js';
import { assignment, exerciseFor, id, teacherFragment, secretOf } from '../../../web/logic/assignments/assignment.js';
import { noted, write, newResult } from '../../../web/logic/assignments/result-code.js';
import { results } from '../../../web/logic/assignments/results.js';
import { workKey, newer, mergedWork, sameWork } from '../../../web/logic/assignments/work.js';
import { ownGraded } from '../../../web/logic/assignments/own-result.js';
import { readingOf } from '../../../web/logic/own/reading.js';
import { read as readCode } from '../../../web/logic/assignments/result-code.js';
import { hint } from '../../../web/logic/own/hints.js';
import { apply, applyChecked, inverse } from '../../../web/logic/own/arithmetic.js';
import { format as show } from '../../../web/logic/run/exact.js';
import { changed, notation } from '../../../web/logic/own/operations.js';
import { resultOf, opened as writerOf, refused } from '../../../web/logic/assignments/scorm.js';

before(programs);

const input = '2\n2 1\n1 3\n';
const progress = 'practice.progress.gjinverse 2 2 1 1 3';
const record = 'practice.gjinverse 2 2 1 1 3';
const plain = (x) => JSON.parse(JSON.stringify(x, (key, value) => (typeof value === 'bigint' ? `${value}n` : value)));
const open = (program, text = '', ended = false) => ({ open: { program, input: text, ended } });
const said = (en, ko) => ({ announce: [{ en, ko }] });
// What the page keeps of a session from stage k (0-based) that stands at k, its stage k as given.
const kept = (k, stage = {}, fill = 'row') =>
  ({ from: k, fill, current: k, stages: [...Array(k).fill(null), { answers: [], wrong: false, hints: 0, shown: false, ...stage }] });
const wrongly = (text) => ({ text, alone: false, choice: null, verdict: { right: false, note: null, slip: null }, zero: false });

// The message types of the rows checked so far.
const seen = new Set();

// Checks each row [what, state, message, expected (what the next state holds
// of it; null: the state as it was, but for what the status line was asked to say), effects].
function check(cases) {
  for (const [what, state, message, expected, effects] of cases) {
    seen.add(message.type);
    const [next, asked] = update(state, message);
    const part = expected === null ? { ...next, said: state.said } : Object.fromEntries(Object.keys(expected).map((key) => [key, next[key]]));
    assert.deepEqual([part, plain(asked)], [expected ?? state, plain(effects)], what);
  }
}

// The states that the tables start from: a run shown, practised from its last
// stage, one answer given in it, a hint taken, and the last stage shown.
function states() {
  const m = modelOf('gjinverse', input);
  const waiting = modelOfRun(runner.open('gjsolve'));
  const shown = update({ ...initial(), model: waiting }, { type: 'shown', model: m, saved: null, past: null })[0];
  const practising = update(shown, { type: 'mode', mode: 'practice' })[0];
  const lastStage = { ...practising, session: { ...practising.session, from: 6, current: 6, stages: Object.assign([], { 6: practising.session.stages[6] }) } };
  const answered = { ...practising, link: { program: 'gjinverse', input, exercise: null, asked: null },
                     session: session.answer(practising.session, 6, 'entry 1 1', { text: '7' }) };
  return { m, waiting, shown, practising, lastStage, answered, hinted: { ...practising, session: session.hint(practising.session, 6) } };
}

test('each message changes the state as it says, and asks the page for its effects', needsBuild, () => {
  const { m, waiting, shown, practising, lastStage, answered, hinted } = states();
  const typed = typeEntries('gjinverse', ['2\n', '2 1\n', '1 3\n']);
  // A watched run's last Enter works out no practice; practice shows it from its last stage.
  assert.deepEqual([shown.session, practising.session.from], [null, 6]);
  const seventh = { en: 'Practice, stage 7: The inverse. Now: row 1, column 1 of the inverse.', ko: '연습, 7단계: 역행렬. 지금 풀 문항: 역행렬의 1행 1열.' };
  const exercised = { ...shown, link: { program: 'gjinverse', input, exercise: { seed: 5, order: 3, options: ['nice'], generator: 1 }, asked: null } };
  const made = update(initial(), { type: 'link', link: parse('#gjsolve&seed=3&order=2') })[0];
  const entering = update(shown, { type: 'entered', entry: '1\n' })[0];
  const a = assignment({ seed: 9, names: ['Kim'] });
  const teaching = update(shown, { type: 'teacherLink', found: { role: 'teacher', assignment: a, name: null }, program: 'gjinverse' })[0];
  const table = { rows: [{ name: 'Kim', code: 'X' }, { name: 'Lee', code: null }], stages: [], rejected: [], counts: { codes: 1, graded: 1, rejected: 0, repeated: 0 } };
  table.codes = write({ ...newResult(id(a), 'Kim', 0), handed: 60000 });
  const code = write({ ...newResult(id(a), 'Kim', 0), handed: 60000 });
  const graded = { ...teaching, results: { codes: code, rule: 'best', table, opened: null, at: 0, detail: null, page: 0, pasted: false } };
  const entry = (names = ['Kim'], more = {}) => ({ link: teacherFragment({ ...a, names }), codes: '', rule: 'best', edits: 0, dropped: [], ...more });
  const results = (more = {}) => ({ codes: '', rule: 'best', table: null, opened: null, at: 0, detail: null, page: 0, fresh: false, pasted: false, ...more });
  const view = [open('gjinverse'), { focus: { element: 'teacher-codes', top: true } }];
  const keep = (e) => ({ keepBook: { [id(a)]: e } });
  const b = assignment({ seed: 9, names: ['Kim', 'Lee'] });
  const ownA = { ...a, mode: 'own' };
  const kym = { ...a, names: ['Kym'], drawn: { kym: 'Kim' } };
  // The effects of a name corrected from to to, the assignment then x, the key corrected away dropped.
  const corrected = (x, dropped, from, to) => [{ address: teacherFragment(x) }, keep({ ...entry(), link: teacherFragment(x), edits: 1, dropped: [dropped] }),
    { announce: [{ id: 'teacher.nameCorrected', values: { from, to } }] }];
  const secret = Array(16).fill(0);
  const classSet = (set) => ({ print: { classSet: { program: 'gjinverse', count: 2, parts: 'all', twoSided: true, ...set } } });
  const given = { program: 'gjsolve', order: 2, options: [], from: '3', fill: 'all', hints: 1, show: false, perStudent: true, title: 'T', due: '', names: ' Kim \n\nLee\nkim' };
  const made1 = assignment({ ...given, from: 3, seed: 11, names: ['Kim', 'Lee'], secret: secretOf(Array(16).fill(0)) });
  const book1 = { link: teacherFragment(made1), codes: '', rule: 'best', edits: 0, dropped: [] };
  const singular = assignment({ ...given, options: ['singular'], from: 3, seed: 11, names: ['Kim', 'Lee'], secret: secretOf(Array(16).fill(0)) });
  const code2 = write({ ...newResult(id(a), 'Lee', 0), handed: 120000 });
  graded.gradebook = { [id(a)]: entry(['Kim'], { codes: code }) };
  check([
    ['the first prompt waits', initial(), { type: 'awaiting', program: 'gjsolve' }, { early: { program: 'gjsolve', entries: [], ended: false } }, []],
    ['typed before the programs: kept', { ...initial(), early: { program: 'gjsolve', entries: ['2\n'], ended: false } }, { type: 'typed', text: '1', ended: true },
     { early: { program: 'gjsolve', entries: ['2\n', '1'], ended: true } }, []],
    ['typed once they are there: nothing to keep', shown, { type: 'typed', text: '1' }, null, []],
    ['entered at the run shown: it waits to run', shown, { type: 'entered', entry: '1\n' }, { entering: { run: m.run, entries: [['1\n', false]] } }, [{ enter: m.run }]],
    ['entered before those typed ran: it waits with them, run once', entering, { type: 'entered', entry: '2', ended: true },
     { entering: { run: m.run, entries: [['1\n', false], ['2', true]] } }, []],
    ['those entered ran into no reading: let go', entering, { type: 'enteredNone' }, { entering: null }, []],
    ['loaded: what was typed is typed again', { ...initial(), early: { program: 'gjsolve', entries: ['2\n', '1'], ended: true } }, { type: 'loaded' },
     { programs: 'loaded', early: null }, [{ open: { program: 'gjsolve', input: '2\n1', ended: true, keepsField: true } }]],
    ['loaded: nothing typed, the link opens', { ...initial(), early: { program: 'gjsolve', entries: [], ended: false } }, { type: 'loaded' },
     { early: null }, [{ openLink: { keepsField: true, lms: null } }]],
    ['no programs: said in both languages', initial(), { type: 'failed', error: 'E' }, { programs: 'failed' },
     [{ announce: [{ id: 'status.loadFailed', values: { error: 'E' }, lang: 'ko' }, { id: 'status.loadFailed', values: { error: 'E' }, lang: 'en' }] }]],
    ['a link to practise', initial(), { type: 'link', link: parse('#gjinverse&practice&input=2%0A&from=3&oops') },
     { mode: 'practice', problem: { id: 'link.unknown', program: 'gjinverse' }, unmet: false,
       link: { program: 'gjinverse', input: '2\n', exercise: null, asked: { from: 3, fill: null, own: false } } }, [open('gjinverse', '2\n')]],
    ['an exercise\'s link: its matrix made first', initial(), { type: 'link', link: parse('#gjsolve&seed=3&order=2') },
     { mode: 'watch', problem: null, link: { program: 'gjsolve', input: null, exercise: { seed: 3, order: 2, options: [], generator: 1 }, asked: { from: null, fill: null, own: false } } },
     [{ make: { program: 'gjsolve', seed: 3, order: 2, options: [], generator: 1 } }]],
    ['then typed', made, { type: 'made', input: '2\n1 2 3\n', met: false }, { unmet: true, link: { ...made.link, input: '2\n1 2 3\n' } }, [open('gjsolve', '2\n1 2 3\n')]],
    ['a matrix that no link waits for', shown, { type: 'made', input: '2\n1 2 3\n', met: true }, null, []],
    ['a link to a program alone keeps practice', practising, { type: 'link', link: parse('#gjsolve') }, { mode: 'practice' }, [open('gjsolve')]],
    ['a link with input watches', practising, { type: 'link', link: parse('#gjsolve&input=2') }, { mode: 'watch' }, [open('gjsolve', '2')]],
    ['a run over: practice starts at the last stage', { ...initial(), model: waiting }, { type: 'shown', model: m, saved: null, past: { count: 1 } },
     { model: m, past: { count: 1 }, stage: { k: 0, all: false } }, []],
    ['a run over, in practice: its stage named, its question focused', { ...initial(), model: waiting, mode: 'practice' }, { type: 'shown', model: m },
     { mode: 'practice' }, [{ announce: [seventh] }, { focus: { stage: 6 } }]],
    ['the stage shown stays, within the stages of a longer run of the session', { ...shown, model: modelOfRun(typed[2]), stage: { k: 9, all: true } },
     { type: 'shown', model: modelOfRun(typed[3]) }, { stage: { k: 6, all: true } }, []],
    ['practice asked from the mode\'s button', shown, { type: 'mode', mode: 'practice', focus: true }, { mode: 'practice' }, [{ announce: [seventh] }, { focus: { stage: 6 } }]],
    ['a teacher\'s link: its results view, practising, over the program empty, kept in the gradebook', shown,
     { type: 'teacherLink', found: { role: 'teacher', assignment: a }, program: 'gjinverse' },
     { mode: 'practice', teacher: a, problem: null, link: null, results: results({ fresh: true }), gradebook: { [id(a)]: entry() } }, [...view, keep(entry()), { warm: a }]],
    ['reopened: the codes kept, graded by the rule kept, and stored again only when changed', { ...shown, gradebook: { [id(a)]: entry(['Kim'], { codes: code, rule: 'first' }) } },
     { type: 'teacherLink', found: { role: 'teacher', assignment: a }, program: 'gjinverse' },
     { teacher: a, results: results({ codes: code, rule: 'first' }) },
     [...view, { grade: { assignment: a, codes: code, rule: 'first', say: true } }]],
    ['an older link: the names added since, and the address that holds them', { ...shown, gradebook: { [id(a)]: entry(['Kim', 'Lee'], { edits: 1 }) } },
     { type: 'teacherLink', found: { role: 'teacher', assignment: a }, program: 'gjinverse' },
     { teacher: b }, [...view, { address: teacherFragment(b) }, { warm: b }]],
    ['a student\'s link made a teacher\'s: nothing of the teacher\'s', shown,
     { type: 'teacherLink', found: { problem: 'link.notTeacher' }, program: 'gjinverse' },
     { teacher: null, results: null, problem: { id: 'link.notTeacher', program: 'gjinverse' } }, [open('gjinverse')]],
    ['a teacher\'s link without a digest, of an assignment this browser does not hold: nothing of the teacher\'s, and why', shown,
     { type: 'teacherLink', found: { role: 'teacher', assignment: a, unchecked: true }, program: 'gjinverse' },
     { teacher: null, results: null, problem: { id: 'link.unchecked', program: 'gjinverse' } }, [open('gjinverse')]],
    ['one of an assignment that it holds: opened', { ...shown, gradebook: { [id(a)]: entry(['Kim'], { codes: code, rule: 'first' }) } },
     { type: 'teacherLink', found: { role: 'teacher', assignment: a, unchecked: true }, program: 'gjinverse' },
     { teacher: a }, [...view, { grade: { assignment: a, codes: code, rule: 'first', say: true } }]],
    ['a teacher\'s link cut short: no view, and the page says why', shown,
     { type: 'teacherLink', found: { problem: 'link.assignment' }, program: 'gjinverse' },
     { teacher: null, problem: { id: 'link.assignment', program: 'gjinverse' } }, [open('gjinverse')]],
    ['any other link closes the results view', graded, { type: 'link', link: parse('#gjsolve') }, { teacher: null, results: null }, [open('gjsolve')]],
    ['the same assignment again keeps its table', graded, { type: 'teacherLink', found: { role: 'teacher', assignment: { ...a, title: 'New' } }, program: 'gjinverse' },
     { results: graded.results, teacher: a }, [...view, { address: teacherFragment(a) }]],
    ['start over', { ...practising, teacher: { program: 'gjinverse' } }, { type: 'restart' }, { link: null, problem: null, teacher: null },
     [{ forget: progress }, { address: '#gjinverse&practice' }, open('gjinverse')]],
    ['nothing to start over before a run', initial(), { type: 'restart' }, null, []],
    ['a wrong answer: kept, said, its text selected', practising, { type: 'answer', k: 6, key: 'entry 1 1', given: { text: '7' } }, {},
     [{ store: progress, value: kept(6, { answers: [['entry 1 1', wrongly('7')]], wrong: true }) },
      said('row 1, column 1 of the inverse: not right. It differs from what the program printed.', '역행렬의 1행 1열: 틀렸습니다. 프로그램이 출력한 값과 다릅니다.'),
      { focus: { question: [6, 'entry 1 1'], choice: null, select: true } }]],
    ['a right answer: on to the next question', answered, { type: 'answer', k: 6, key: 'entry 1 2', given: { text: '-0.2' } }, {},
     [{ store: progress, value: kept(6, { answers: [['entry 1 1', wrongly('7')], ['entry 1 2', { ...wrongly('-0.2'), verdict: { right: true, note: null, slip: null } }]], wrong: true }) },
      said('row 1, column 2 of the inverse: right.', '역행렬의 1행 2열: 맞았습니다.'), { focus: { question: [6, 'entry 2 1'] } }]],
    ['an answer to no question changes nothing', practising, { type: 'answer', k: 2, key: 'order', given: { text: '1 2' } }, { session: practising.session }, []],
    ['a stage with questions open goes on to nothing', practising, { type: 'advance', k: 6 }, null, []],
    ['a hint\'s step, said', practising, { type: 'hint', k: 6 }, {}, [{ store: progress, value: kept(6, { hints: 1 }) },
      said('Hint 1 for stage 7: The right half of the last printout: the inverse of A.', '7단계 힌트 1: 마지막 출력의 오른쪽 절반, 곧 A의 역행렬입니다.')]],
    ['the last stage shown: the record kept, one level more, the summary focused', lastStage, { type: 'fillIn', k: 6 },
     { past: { count: 1, right: 0, hints: 0, shown: 1 }, level: 1 },
     [{ forget: progress }, { store: record, value: { count: 1, right: 0, hints: 0, shown: 1 } }, { store: 'practice.level', value: 1 }, { focus: { summary: true } },
      said('Exercise done. Stages right the first time: 0 of 1; 0 hints; stages shown: 1.', '연습 문제를 마쳤습니다. 한 번에 맞힌 단계: 1개 단계 중 0개, 힌트 0번, 정답 보기로 채운 단계: 1개.')]],
    ['finished again: the record anew, the level as it was', { ...lastStage, past: { count: 1 }, level: 4 }, { type: 'fillIn', k: 6 }, { level: 4 },
     [{ forget: progress }, { store: record, value: { count: 1, right: 0, hints: 0, shown: 1 } }, { focus: { summary: true } },
      said('Exercise done. Stages right the first time: 0 of 1; 0 hints; stages shown: 1.', '연습 문제를 마쳤습니다. 한 번에 맞힌 단계: 1개 단계 중 0개, 힌트 0번, 정답 보기로 채운 단계: 1개.')]],
    ['practice from stage 2', practising, { type: 'from', from: 1 }, { picked: true }, [{ store: progress, value: kept(1) },
      said('Practice, stage 2: Each row divided by its entry largest in absolute value. Now: row 1, divisor.', '연습, 2단계: 각 행을 절댓값이 가장 큰 성분으로 나누기. 지금 풀 문항: 1행, 나누는 수.'),
      { focus: { stage: 1 } }]],
    ['no stage to start from past the last', practising, { type: 'from', from: 7 }, null, []],
    ['every entry asked', practising, { type: 'fill', fill: 'all' }, {}, [{ store: progress, value: kept(6, {}, 'all') }]],
    ['the exercise over again', practising, { type: 'restartPractice' }, { confirming: null }, [{ forget: progress }, { announce: [seventh] }, { focus: { stage: 6 } }]],
    // A start-over that would erase answers asks first; the answers stay until the yes.
    ['new input over answers asks first', answered, { type: 'restart' }, { confirming: 'restart', session: answered.session, link: answered.link },
     [{ focus: { element: 'restart-keep' } }]],
    ['and erases them on the yes', { ...answered, confirming: 'restart' }, { type: 'restart', confirmed: true }, { confirming: null, link: null },
     [{ forget: progress }, { address: '#gjinverse&practice' }, open('gjinverse')]],
    ['or keeps them on the no', { ...answered, confirming: 'restart' }, { type: 'keepWork' }, { confirming: null, session: answered.session }, [{ focus: { element: 'restart' } }]],
    ['the exercise over again, over answers, asks first', answered, { type: 'restartPractice' }, { confirming: 'restartPractice', session: answered.session },
     [{ focus: { element: 'practice-restart-keep' } }]],
    ['and starts it over on the yes', answered, { type: 'restartPractice', confirmed: true }, { confirming: null },
     [{ forget: progress }, { announce: [seventh] }, { focus: { stage: 6 } }]],
    ['a hint taken is work too', hinted, { type: 'restartPractice' }, { confirming: 'restartPractice' }, [{ focus: { element: 'practice-restart-keep' } }]],
    ['a finished exercise keeps its record: nothing to ask', { ...practising, session: session.fillIn(m, lastStage.session, 6) }, { type: 'restart' }, { confirming: null },
     [{ forget: progress }, { address: '#gjinverse&practice' }, open('gjinverse')]],
    ['a new run forgets the question, and brings its practice', { ...answered, confirming: 'restart' }, { type: 'shown', model: modelOf('gjinverse', '1\n2\n') },
     { confirming: null }, [said('Practice, stage 4: The inverse. Now: row 1, column 1 of the inverse.', '연습, 4단계: 역행렬. 지금 풀 문항: 역행렬의 1행 1열.'), { focus: { stage: 3 } }]],
    ['the record cleared, and said', { ...practising, past: { count: 1 } }, { type: 'clearRecord' }, { past: null },
     [{ forget: record }, { announce: [{ id: 'practice.cleared' }] }, { focus: { cleared: true } }]],
    ['the exact printouts', practising, { type: 'exactShown', on: true }, { exactShown: true }, []],
    ['an answer left unchecked, said', practising, { type: 'unchecked', k: 6, key: 'entry 2 2' }, null,
     [said('row 2, column 2 of the inverse: not checked yet. Press Enter, or the ↵ button beside it.', '역행렬의 2행 2열: 아직 확인하지 않은 답입니다. Enter 키나 옆의 ↵ 버튼을 누르세요.')]],
    ['another stage, said', shown, { type: 'stage', k: 2 }, { stage: { k: 2, all: false } }, [said('Stage 3 of 7: Pivot pass, column 1', '전체 7단계 중 3단계: 1열 피벗 교환')]],
    ['no stage past the last', shown, { type: 'stage', k: 7 }, { stage: { k: 0, all: false } }, []],
    ['every stage', shown, { type: 'allStages' }, { stage: { k: 0, all: true } }, []],
    ['the transcript downloaded', shown, { type: 'download' }, null, [{ save: { content: m.run.bytes, name: 'gjinverse.log', type: 'text/plain; charset=utf-8' } }]],
    ['copied while the program waits: the input keeps the focus', { ...shown, model: waiting }, { type: 'copyTranscript' }, null,
     [{ copy: { content: waiting.run.output, done: 'status.copied' } }, { focus: { element: 'typed' } }]],
    ['a new exercise', { ...shown, seedTyped: true }, { type: 'exercise', seed: 7, order: 3, options: ['nice'] }, { seedTyped: false },
     [{ visit: '#gjinverse&practice&seed=7&order=3&options=nice&gen=2&own' }]],
    ['a seed typed', exercised, { type: 'seedTyped' }, { seedTyped: true }, []],
    ['a seed typed counts no more once the exercise shown is another', { ...exercised, seedTyped: true }, { type: 'shown', model: modelOf('gjinverse', '1\n2\n') },
     { seedTyped: false }, []],
    ['a class set of the seed given', shown, { type: 'classSet', seed: 7, order: 3, options: [], count: 2 }, null,
     [classSet({ seed: 7, order: 3, options: [], generator: 2 })]],
    ['the keys alone of the exercise shown, one-sided', exercised,
     { type: 'classSet', seed: 8, order: 2, options: [], count: 30, parts: 'keys', twoSided: false }, null,
     [classSet({ seed: 5, order: 3, options: ['nice'], generator: 1, count: 30, parts: 'keys', twoSided: false })]],
    ['the seed typed since', { ...exercised, seedTyped: true }, { type: 'classSet', seed: 8, order: 2, options: [], count: 2 }, null,
     [classSet({ seed: 8, order: 2, options: [], generator: 2 })]],
    ['Korean, kept', shown, { type: 'language', code: 'ko' }, { language: 'ko' }, [{ store: 'language', value: 'ko' }]],
    ['in practice, the question named anew', practising, { type: 'language', code: 'ko' }, { language: 'ko' },
     [{ store: 'language', value: 'ko' }, { announce: [seventh] }, { focus: { stage: 6 } }]],
    ['no language the page has no texts in', shown, { type: 'language', code: 'fr' }, null, []],
    ['a copy asked', shown, { type: 'copy', content: 'x', done: 'status.linkCopied' }, null, [{ copy: { content: 'x', done: 'status.linkCopied' } }]],
    ['and done', shown, { type: 'copied', done: 'status.linkCopied' }, { said: [{ id: 'status.linkCopied' }] }, [{ announce: [{ id: 'status.linkCopied' }] }]],
    ['said again in another language', { ...shown, said: [{ id: 'status.linkCopied' }] }, { type: 'language', code: 'ko' }, { language: 'ko' },
     [{ store: 'language', value: 'ko' }, { announce: [{ id: 'status.linkCopied' }] }]],
    ['or refused', shown, { type: 'copied', error: 'no' }, null, [{ announce: [{ id: 'status.copyFailed', values: { error: 'no' } }] }]],
    ['a download asked', shown, { type: 'save', content: 'a,b', name: 'x.csv', mime: 'text/csv' }, null, [{ save: { content: 'a,b', name: 'x.csv', type: 'text/csv' } }]],
    ['a print asked', shown, { type: 'print', asked: { results: true } }, null, [{ print: { results: true } }]],
    ['an assignment made: its links, its address, its place in the gradebook', shown, { type: 'assignmentMade', given, seed: 11, secret, confirmed: true },
     { made: { assignment: made1 }, gradebook: { [id(made1)]: book1 } },
     [{ announce: [{ id: 'assign.made' }] }, { address: teacherFragment(made1) }, { keepBook: { [id(made1)]: book1 } }]],
    ['a name given twice: asked first', shown, { type: 'assignmentMade', given, seed: 11, secret },
     { made: { question: { repeats: ['Kim'], past: false }, pending: made1, dropped: [] }, gradebook: {} }, []],
    ['a due date past: asked first', shown, { type: 'assignmentMade', given: { ...given, names: 'Kim', due: '2026-12-08' }, seed: 11, secret, today: '2026-12-09' },
     { made: { question: { repeats: [], past: true }, pending: { ...made1, names: ['Kim'], due: '2026-12-08' }, dropped: [] } }, []],
    ['due today: made', shown, { type: 'assignmentMade', given: { ...given, names: 'Kim', due: '2026-12-09' }, seed: 11, secret, today: '2026-12-09' },
     { made: { assignment: { ...made1, names: ['Kim'], due: '2026-12-09' } } },
     [{ announce: [{ id: 'assign.made' }] }, { address: teacherFragment({ ...made1, names: ['Kim'], due: '2026-12-09' }) },
      { keepBook: { [id(made1)]: { ...book1, link: teacherFragment({ ...made1, names: ['Kim'], due: '2026-12-09' }) } } }]],
    ['yes to the question', { ...shown, made: { question: { repeats: ['Kim'], past: false }, pending: made1 } }, { type: 'assignmentConfirmed' },
     { made: { assignment: made1 } }, [{ announce: [{ id: 'assign.made' }] }, { address: teacherFragment(made1) }, { keepBook: { [id(made1)]: book1 } }]],
    ['no question, no yes', shown, { type: 'assignmentConfirmed' }, null, []],
    ['the form changed: its program its own', shown, { type: 'assignmentTouched' }, { assignTouched: true }, []],
    ['"nice" with "singular": made singular, and said', shown, { type: 'assignmentMade', given: { ...given, options: ['nice', 'singular'] }, seed: 11, secret, confirmed: true },
     { made: { assignment: singular } }, [{ announce: [{ id: 'assign.made' }, said('Left out, as they cannot hold with the other options at this order (a singular A has no nice answer, nor a run that stays exact): nice.',
       '이 차수에서 다른 조건과 함께 쓸 수 없는 조건은 뺐습니다(특이행렬에는 깔끔한 답도, 끝까지 정확한 풀이도 없습니다): 깔끔한 최종 답.').announce[0]] },
      { address: teacherFragment(singular) }, { keepBook: { [id(singular)]: { ...book1, link: teacherFragment(singular) } } }]],
    ['or why there are none', shown, { type: 'assignmentMade', given: { ...given, from: '' }, seed: 11 }, { made: { invalid: true } }, []],
    // The own way: its mode and arithmetic carried, the stages' hidden fields not (they would change its id and links).
    ...[['the student\'s own operations, each row written, a row seen, no hint', { arithmetic: 'learner', hints: 0, show: true }, { hints: 0, show: true }],
        ['worked out by the page: a hint allowed is the method\'s, no row to see', { arithmetic: 'page', hints: 1, show: true }, { hints: 3, show: false }]]
      .map(([name, asked, own]) => {
        const x = assignment({ ...given, seed: 11, names: ['Kim', 'Lee'], secret: secretOf(secret), mode: 'own', arithmetic: asked.arithmetic, from: 2, fill: 'row', ...own });
        return [name, shown, { type: 'assignmentMade', given: { ...given, mode: 'own', ...asked }, seed: 11, secret, confirmed: true }, { made: { assignment: x } },
                [{ announce: [{ id: 'assign.made' }] }, { address: teacherFragment(x) }, { keepBook: { [id(x)]: { ...book1, link: teacherFragment(x) } } }]];
      }),
    ['its package saved', shown, { type: 'packaged', name: 'p.zip' }, null, [{ announce: [{ id: 'lms.made', values: { name: 'p.zip' } }] }]],
    ['its package asked, a problem said before forgotten', { ...shown, made: { assignment: made1, packageProblem: 'lms.notPage' } },
     { type: 'packageAsked', version: '1.2', pass: 0.8, file: 'f' }, { made: { assignment: made1, packageProblem: null } },
     [{ package: { assignment: made1, version: '1.2', pass: 0.8, file: 'f' } }]],
    ['but none of no assignment', shown, { type: 'packageAsked', version: '1.2', pass: 0.8, file: 'f' }, null, []],
    ['the results view\'s, from a teacher\'s link; refused there, said there', graded, { type: 'packageAsked', version: '2004', pass: null, file: 'f', from: 'teacher' },
     { results: { ...graded.results, packageProblem: null } }, [{ package: { assignment: graded.teacher, version: '2004', pass: null, file: 'f' } }]],
    ['', graded, { type: 'packaged', assignment: graded.teacher, problem: 'lms.notPage' }, { results: { ...graded.results, packageProblem: 'lms.notPage' } }, []],
    ['its package refused', { ...shown, made: { assignment: made1 } }, { type: 'packaged', assignment: made1, problem: 'lms.otherBuild' },
     { made: { assignment: made1, packageProblem: 'lms.otherBuild' } }, []],
    ['that of an assignment no longer made says nothing', { ...shown, made: { assignment: made1 } }, { type: 'packaged', assignment: a, problem: 'lms.notPage' }, null, []],
    ['text pasted: after the codes kept, kept and graded', graded, { type: 'codesRead', codes: ` ${code2}\n${code} ` },
     { results: { ...graded.results, codes: `${code}\n${code2}\n${code}`, pasted: true } }, [keep(entry(['Kim'], { codes: `${code}\n${code2}\n${code}` })),
      { grade: { assignment: a, codes: `${code}\n${code2}\n${code}`, rule: 'best', say: true } }]],
    ['nothing pasted', graded, { type: 'codesRead', codes: ' \n' }, null, []],
    ['and nowhere else', shown, { type: 'codesRead', codes: 'X' }, null, []],
    ['their table', { ...graded, results: { ...graded.results, table: null } }, { type: 'graded', assignment: a, codes: code, rule: 'best', table },
     { results: graded.results }, [{ announce: [{ id: 'teacher.statusAll', values: { codes: 1, students: 1, rejected: 0 } }] }]],
    ['the codes found in the text pasted, each once, are then those kept; the count unsaid when not asked', { ...graded, results: { ...graded.results, codes: `${code} ${code}`, pasted: true } },
     { type: 'graded', assignment: a, codes: `${code} ${code}`, rule: 'best', table, say: false }, { results: graded.results }, [keep(entry(['Kim'], { codes: code }))]],
    ['a table on the way: drawn, nothing said', { ...graded, results: { ...graded.results, table: null } },
     { type: 'graded', assignment: a, codes: code, rule: 'best', table: { ...table, partial: true } }, { results: { ...graded.results, table: { ...table, partial: true } } }, []],
    ['a table of codes read before', graded, { type: 'graded', assignment: a, codes: '', rule: 'best', table: { ...table } }, null, []],
    ['a table by another rule', graded, { type: 'graded', assignment: a, codes: code, rule: 'first', table: { ...table } }, null, []],
    ['a table of another assignment', teaching, { type: 'graded', assignment: assignment({ seed: 10 }), codes: '', table }, null, []],
    ['the latest code counts', graded, { type: 'ruleChosen', rule: 'latest' }, { results: { ...graded.results, rule: 'latest' } },
     [keep(entry(['Kim'], { codes: code, rule: 'latest' })), { grade: { assignment: a, codes: code, rule: 'latest', say: true } }]],
    ['no rule of that name', graded, { type: 'ruleChosen', rule: 'worst' }, null, []],
    ['the next page of a year\'s rows', { ...graded, results: { ...graded.results, table: { ...table, rows: Array(51).fill(table.rows[0]) } } }, { type: 'pageShown', page: 1 },
     { results: { ...graded.results, table: { ...table, rows: Array(51).fill(table.rows[0]) }, page: 1 } }, [{ focus: { element: 'teacher-results' } }]],
    ['no page past the rows', graded, { type: 'pageShown', page: 1 }, null, []],
    ['a row opened: its answers worked out', graded, { type: 'rowOpened', name: 'Kim' }, { results: { ...graded.results, opened: 'Kim' } },
     [{ detail: { assignment: a, code: 'X', at: 0 } }, { focus: { element: 'teacher-detail' } }]],
    ['and closed', { ...graded, results: { ...graded.results, opened: 'Kim' } }, { type: 'rowOpened', name: 'Kim' }, { results: graded.results }, []],
    ['its answers', { ...graded, results: { ...graded.results, opened: 'Kim' } }, { type: 'detailed', assignment: a, code: 'X', details: [] },
     { results: { ...graded.results, opened: 'Kim', detail: { code: 'X', stages: [] } } }, []],
    ['those of a row no longer open', graded, { type: 'detailed', assignment: a, code: 'X', details: [] }, null, []],
    ['an own code\'s operations and reading', { ...graded, teacher: ownA, results: { ...graded.results, opened: 'Kim' } },
     { type: 'detailed', assignment: ownA, code: 'X', details: { own: [], answer: null, expected: null } },
     { results: { ...graded.results, opened: 'Kim', detail: { code: 'X', own: [], answer: null, expected: null } } }, []],
    ['a table whose open row counts another code: that code\'s answers worked out', { ...graded, results: { ...graded.results, opened: 'Kim', detail: { code: 'X', stages: [] } } },
     { type: 'graded', assignment: a, codes: code, rule: 'best', table: { ...table, rows: [{ name: 'Kim', code: 'Y' }] } }, {},
     [{ detail: { assignment: a, code: 'Y', at: 0 } }, { announce: [{ id: 'teacher.statusAll', values: { codes: 1, students: 1, rejected: 0 } }] }]],
    ['names added: those there already said, not added', graded, { type: 'namesAdded', text: 'Lee\nkim\n' },
     { teacher: b }, [{ address: teacherFragment(b) }, keep(entry(['Kim', 'Lee'], { codes: code, edits: 1 })), { grade: { assignment: b, codes: code, rule: 'best', say: false } },
      { announce: [{ id: 'teacher.namesAdded', values: { count: 1 } }, { id: 'teacher.namesThere', values: { names: 'kim' } }] }]],
    ['none new', teaching, { type: 'namesAdded', text: 'KIM' }, null,
     [{ announce: [{ id: 'teacher.namesAdded', values: { count: 0 } }, { id: 'teacher.namesThere', values: { names: 'KIM' } }] }]],
    ['a name corrected: the name corrected away noted, and the name that draws the matrix kept', teaching, { type: 'nameCorrected', from: 'Kim', to: ' Kym ' },
     { teacher: kym }, corrected(kym, 'kim', 'Kim', 'Kym')],
    ['corrected again: still drawn as it was first', { ...teaching, teacher: kym }, { type: 'nameCorrected', from: 'Kym', to: 'Kimm' },
     { teacher: { ...a, names: ['Kimm'], drawn: { kimm: 'Kim' } } }, corrected({ ...a, names: ['Kimm'], drawn: { kimm: 'Kim' } }, 'kym', 'Kym', 'Kimm')],
    ['corrected back: drawn as itself', { ...teaching, teacher: kym }, { type: 'nameCorrected', from: 'Kym', to: 'kim' },
     { teacher: { ...a, names: ['kim'] } }, corrected({ ...a, names: ['kim'] }, 'kym', 'Kym', 'kim')],
    ['the name a student had is not another\'s', { ...teaching, teacher: kym }, { type: 'namesAdded', text: 'KIM' }, null,
     [{ announce: [{ id: 'teacher.namesAdded', values: { count: 0 } }, { id: 'teacher.namesThere', values: { names: 'KIM' } }] }]],
    ['not to a name on the list', { ...teaching, teacher: b }, { type: 'nameCorrected', from: 'Kim', to: 'lee' }, null,
     [{ announce: [{ id: 'teacher.namesThere', values: { names: 'lee' } }] }]],
    ['not a name off the list', teaching, { type: 'nameCorrected', from: 'Lee', to: 'Li' }, null, []],
    ['the table as CSV', graded, { type: 'resultsSaved' }, null, [{ saveTable: { table, language: 'en', name: `results-${id(a)}.csv` } }]],
    ['not a table on the way', { ...graded, results: { ...graded.results, table: { ...table, partial: true } } }, { type: 'resultsSaved' }, null, []],
    ['no table, no CSV', teaching, { type: 'resultsSaved' }, null, []],
    ['the sheets and keys of a class list', teaching, { type: 'keysAsked' }, null, [{ print: { keys: { assignment: a, read: [], parts: 'all', twoSided: true } } }]],
    ['the keys alone, one-sided', teaching, { type: 'keysAsked', parts: 'keys', twoSided: false }, null,
     [{ print: { keys: { assignment: a, read: [], parts: 'keys', twoSided: false } } }]],
    ['no keys before a name is known', { ...teaching, teacher: assignment({ seed: 9 }) }, { type: 'keysAsked' }, null, [{ announce: [{ id: 'teacher.keysLater' }] }]],
    ['the gradebook to a file', teaching, { type: 'bookExported' }, null,
     [{ save: { content: JSON.stringify({ format: 'gauss-jordan gradebook', version: 1, assignments: [entry()] }, null, 1), name: 'gradebook.json', type: 'application/json' } }]],
    ['an empty one, not', shown, { type: 'bookExported' }, null, []],
    ['a file of no gradebook', shown, { type: 'bookImported', text: '{"assignments": []}' }, null, [{ announce: [{ id: 'book.notBook' }] }]],
    ['a file past the largest, unread: its size and the limit said', shown, { type: 'bookImported', text: null, size: 52428800 }, null,
     [{ announce: [{ id: 'book.tooLarge', values: { size: 50, most: 16 } }] }]],
    ['the gradebook refused by the browser: said once', shown, { type: 'bookKept', kept: false }, { bookUnsaved: true }, [{ announce: [{ id: 'book.unsaved' }] }]],
    ['still refused: nothing more', { ...shown, bookUnsaved: true }, { type: 'bookKept', kept: false }, null, []],
    ['kept again', { ...shown, bookUnsaved: true }, { type: 'bookKept', kept: true }, { bookUnsaved: false }, []],
    ['a gradebook file: merged, the codes of both kept', graded,
     { type: 'bookImported', text: JSON.stringify({ format: 'gauss-jordan gradebook', version: 1, assignments: [entry(['Kim', 'Lee'], { codes: code2 })] }) },
     { teacher: b, gradebook: { [id(a)]: entry(['Kim', 'Lee'], { codes: `${code}\n${code2}` }) } },
     [keep(entry(['Kim', 'Lee'], { codes: `${code}\n${code2}` })), { announce: [{ id: 'book.imported', values: { count: 1 } }] },
      { address: teacherFragment(b) }, { grade: { assignment: b, codes: `${code}\n${code2}`, rule: 'best', say: false } }]],
    ['a file\'s assignment whose link has no digest, which this browser does not hold: left out, and said', shown,
     { type: 'bookImported', text: JSON.stringify({ format: 'gauss-jordan gradebook', version: 1, assignments: [entry()] }) }, null,
     [{ keepBook: {} }, { announce: [{ id: 'book.imported', values: { count: 0 } }, { id: 'book.unchecked', values: { count: 1 } }] }]],
    ['another tab\'s gradebook: its codes shown and graded', teaching, { type: 'bookStored', book: { [id(a)]: entry(['Kim'], { codes: code }) } },
     { results: results({ codes: code, fresh: true }) }, [{ address: teacherFragment(a) }, { grade: { assignment: a, codes: code, rule: 'best', say: false } }]],
    ['the same as this one: nothing drawn again', teaching, { type: 'bookStored', book: teaching.gradebook }, { results: teaching.results }, []],
    ['the scores across the gradebook', teaching, { type: 'bookCsvAsked' }, null,
     [{ saveBook: { entries: [{ assignment: a, codes: '', rule: 'best' }], language: 'en', name: 'gradebook.csv' } }]],
  ]);
  assert.throws(() => update(shown, { type: 'nonsense' }), /nonsense/);
});

test('a link to the run shown carries practice, the exercise and what practice asks', needsBuild, () => {
  const m = modelOf('gjinverse', input);
  const asked = { from: 4, fill: 'all', own: false };
  const opened = { ...initial(), link: { program: 'gjinverse', input, exercise: { seed: 1, order: 2, options: [] }, asked } };
  // The title and the menu name its program before its run is shown (made in tasks of their own).
  assert.equal(programOf(opened), 'gjinverse');
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
  const [unnamed, asked] = update(initial(), { type: 'studentLink', found: { role: 'student', assignment: a, name: null }, program: 'gjinverse' });
  assert.deepEqual([unnamed.student.name, unnamed.mode, asked], [null, 'practice', [open('gjinverse'), { focus: { element: 'student-name' } }]]);
  const [named] = update(unnamed, { type: 'studentName', name: ' Kim\u00a0', now: 1000 });
  const [opened] = update(named, { type: 'made', input, met: true });
  const m = modelOf('gjinverse', input);
  const working = update(opened, { type: 'shown', model: m, saved: null })[0];
  const s = working.session;
  const q = s.stages[1].questions[0];
  const hinted = update(working, { type: 'hint', k: 1 })[0];
  const wrong = update(hinted, { type: 'answer', k: 1, key: q.key, given: { text: '12345' } })[0];
  const work = (state, progressKept) =>
    ({ storeWork: { key: key('kim'), value: { progress: progressKept, finished: false, result: state.student.result, handed: state.student.handed, version: state.student.version, rounds: state.student.rounds }, student: state.student } });
  const answers = [[q.key, wrongly('12345')]];
  const begunAsKim = { progress: null, finished: false, result: named.student.result, handed: null };
  const lms = { outcome: 'connected', version: '1.2', name: 'Kim, Minji', suspend: '', taken: null, unread: null, writer: writerOf('1.2', {}),
                started: 1000, retries: 0, retrying: false };
  // [what, state, message, what the state is then (a part of it), effects; null: the state as it was]
  check([
    ['no name given: nothing opens', unnamed, { type: 'studentName', name: '  ' }, null, []],
    ['the name asks for the student\'s matrix, asked from the scaling', unnamed, { type: 'studentName', name: ' Kim\u00a0', now: 1000 },
     { link: { program: 'gjinverse', input: null, exercise: null, asked: { from: 2, fill: 'row', own: false } } }, [{ make: exerciseFor(a, 'Kim') }]],
    ['which opens once made', named, { type: 'made', input, met: true }, { unmet: false, link: { ...named.link, input } }, [open('gjinverse', input)]],
    ['the link\'s own name is used', initial(), { type: 'studentLink', found: { role: 'student', assignment: a, name: 'Kim' }, program: 'gjinverse', now: 5 },
     { student: { ...named.student, named: true, result: { ...named.student.result, started: 5, handed: 5 } } }, [{ make: exerciseFor(a, 'Kim') }]],
    ['an LMS naming the student only now: the work begun as Kim keeps its name and matrix, kept where the run finds it', initial(),
     { type: 'studentLink', found: { role: 'student', assignment: a, name: 'Kim, Minji' }, program: 'gjinverse', kept: begunAsKim, now: 5, lms: true },
     { student: { ...named.student, given: 'Kim, Minji', named: true, lms: true } }, [{ make: exerciseFor(a, 'Kim') }, { store: key('kim'), value: begunAsKim }]],
    ...['watch', 'practice'].map((mode) => [`locked: mode ${mode}`, working, { type: 'mode', mode }, mode === 'watch' ? null : { mode }, []]),
    ...[{ type: 'from', from: 5 }, { type: 'fill', fill: 'all' }, { type: 'stage', k: 3 }, { type: 'allStages' }, { type: 'fillIn', k: 1 },
        { type: 'hint', k: 1 }, { type: 'exercise', seed: 1, order: 2, options: [] }, { type: 'classSet', seed: 1, order: 2, options: [], count: 3 },
        { type: 'download' }, { type: 'copyTranscript' }, { type: 'assignmentMade', given: {}, seed: 1 }, { type: 'restart' }]
      .map((message) => [`locked: ${message.type}`, hinted, message, null, []]),
    ['the hint allowed is noted, the last one allowed', working, { type: 'hint', k: 1 },
     { student: { ...working.student, result: noted(working.student.result, 1, s.stages[1].questions.length, { hint: true }), version: 1 } },
     [work(hinted, kept(1, { hints: 1 })), said(
       'Hint 1 for stage 2: Each row is divided by its entry of largest magnitude (the leftmost of equal ones), sign included, so that no entry exceeds 1 in magnitude.',
       '2단계 힌트 1: 각 행을 그 행에서 절댓값이 가장 큰 성분(같으면 가장 왼쪽 것)으로 부호까지 그대로 나눕니다. 그러면 모든 성분의 절댓값이 1 이하가 됩니다.'),
      { focus: { stage: 1 } }]],
    ['a wrong first answer is noted, and kept under the student\'s key', hinted, { type: 'answer', k: 1, key: q.key, given: { text: '12345' } }, {},
     [work(wrong, kept(1, { answers, wrong: true, hints: 1 })),
      said('row 1, divisor: not right. It differs from what the program printed.', '1행, 나누는 수: 틀렸습니다. 프로그램이 출력한 값과 다릅니다.'),
      { focus: { question: [1, q.key], choice: null, select: true } }]],
    ['a start-over asks first', wrong, { type: 'restartPractice' }, { session: wrong.session, student: { ...wrong.student, confirm: true } },
     [{ focus: { element: 'student-confirm' } }]],
    ['kept work stays', { ...wrong, student: { ...wrong.student, confirm: true } }, { type: 'keepWork' }, { student: wrong.student }, []],
    ['confirmed, the work starts over, the first answer kept', { ...wrong, student: { ...wrong.student, confirm: true } }, { type: 'restartPractice', confirmed: true },
     { student: { ...wrong.student, version: 3, rounds: 1 } }, [work({ student: { ...wrong.student, version: 3, rounds: 1 } }, kept(1)), said('Practice, stage 2: Each row divided by its entry largest in absolute value. Now: row 1, divisor.',
                                               '연습, 2단계: 각 행을 절댓값이 가장 큰 성분으로 나누기. 지금 풀 문항: 1행, 나누는 수.'),
       { focus: { stage: 1 } }]],
    ['not you: the name asked again, nothing forgotten', wrong, { type: 'notYou' }, { student: { ...unnamed.student }, link: null },
     [open('gjinverse'), { focus: { element: 'student-name' } }]],
    ['not you, inside an LMS that gave no name: still inside it', { ...wrong, student: { ...wrong.student, lms: true } }, { type: 'notYou' },
     { student: { ...unnamed.student, lms: true } }, [open('gjinverse'), { focus: { element: 'student-name' } }]],
    ['a link naming the student has no "not you"', { ...wrong, student: { ...wrong.student, named: true } }, { type: 'notYou' }, null, []],
    ['outside an LMS, its answer changes nothing', wrong, { type: 'reported', failed: [] }, null, []],
    ['the LMS opened: what it gave, saved work it cannot read said, its writer from what it holds', wrong,
     { type: 'lms', outcome: 'connected', version: '1.2', name: 'Kim, Minji', suspend: 'W2x', since: 2, passMark: '50', now: 1000 },
     { lms: { ...lms, suspend: 'W2x', unread: 'all', writer: writerOf('1.2', { since: 2, passMark: '50' }) } }, []],
    ['the LMS refused some: all told again in a second', { ...wrong, lms: { ...lms, taken: true } }, { type: 'reported', failed: ['cmi.suspend_data'] },
     { lms: { ...lms, taken: false, retries: 1, retrying: true, writer: refused(lms.writer, ['cmi.suspend_data']) } }, [{ later: { type: 'lmsRetry' }, ms: 1000 }]],
    ['and again while that waits: nothing more', { ...wrong, lms: { ...lms, retries: 1, retrying: true } }, { type: 'reported', failed: ['commit'] },
     { lms: { ...lms, taken: false, retries: 2, retrying: true, writer: refused(lms.writer, ['commit']) } }, []],
    ['the session over, as a page restored from the cache finds it', { ...wrong, lms: { outcome: 'connected', taken: true } }, { type: 'lms', outcome: 'ended' },
     { lms: { outcome: 'ended', taken: true } }, []],
    ['no session to end, and no outcome of another kind', wrong, { type: 'lms', outcome: 'ended' }, null, []],
    ['handed in, and the LMS took it', { ...wrong, lms }, { type: 'reported', failed: [], handIn: true, commit: true, sent: 0 }, { lms: { ...lms, taken: true } },
     [{ announce: [{ id: 'student.lmsHandedIn' }] }]],
    ['handed in, and the LMS refused it', { ...wrong, lms }, { type: 'reported', failed: ['commit'], handIn: true, commit: true, sent: 0 },
     { lms: { ...lms, taken: false, retries: 1, retrying: true, writer: refused(lms.writer, ['commit']) } },
     [{ announce: [{ id: 'student.lmsHandedInUntaken' }] }, { later: { type: 'lmsRetry' }, ms: 1000 }]],
    ...[['a hand-in refused, then all told again and taken: said', true, 1, true, [{ announce: [{ id: 'student.lmsHandedIn' }] }]],
        ['a batch made before the refusal taken: not said, the LMS may lack what it refused', true, 0, false, []],
        ['a batch that commits nothing taken: not said', false, 1, false, []]].map(([what, commit, sent, taken, said]) =>
      [what, { ...wrong, student: { ...wrong.student, handed: 'X' }, lms: { ...lms, taken: false, retries: 4, writer: refused(lms.writer, ['commit']) } },
       { type: 'reported', failed: [], commit, sent }, { lms: { ...lms, taken: taken || false, writer: refused(lms.writer, ['commit']) } }, said]),
    ['no work: no hand-in, and a word', working, { type: 'handIn', now: 2, confirmed: true }, { student: { ...working.student, asking: { empty: true } } },
     [{ announce: [{ id: 'student.handInEmpty' }] }]],
    ['a hand-in asks first, with the stages left of those asked', wrong, { type: 'handIn', now: 2 }, { student: { ...wrong.student, asking: { asked: 6, left: 6 } } },
     [{ focus: { element: 'hand-in-yes' } }]],
    ['inside an LMS whose session is over: no hand-in, which would not reach it', { ...wrong, student: { ...wrong.student, lms: true }, lms: { outcome: 'ended' } },
     { type: 'handIn', now: 2, confirmed: true }, null, []],
    ['a yes that no question asked asks', wrong, { type: 'handIn', now: 2, confirmed: true }, { student: { ...wrong.student, asking: { asked: 6, left: 6 } } },
     [{ focus: { element: 'hand-in-yes' } }]],
    ['no, keep working', { ...wrong, student: { ...wrong.student, asking: { asked: 6, left: 6 } } }, { type: 'keepWork' }, { student: wrong.student }, []],
    ['storage refused: said once', wrong, { type: 'workSaved', saved: false }, { student: { ...wrong.student, unsaved: true } }, [{ announce: [{ id: 'student.unsaved' }] }]],
    ['still refused: nothing more', { ...wrong, student: { ...wrong.student, unsaved: true } }, { type: 'workSaved', saved: false }, null, []],
    ['kept again', { ...wrong, student: { ...wrong.student, unsaved: true } }, { type: 'workSaved', saved: true }, { student: wrong.student }, []],
  ]);
  // Handed in, once asked: a code that the teacher's page reads to the student's verdicts; then nothing is locked.
  const asking = update(wrong, { type: 'handIn', now: 2 })[0];
  const [handed, effects] = update(asking, { type: 'handIn', now: 61000, confirmed: true });
  assert.deepEqual(plain(effects), plain([{ storeWork: { key: key('kim'), value: { progress: kept(1, { answers, wrong: true, hints: 1 }), finished: false,
    result: wrong.student.result, handed: handed.student.handed, version: 3, rounds: 0 }, student: handed.student } }, { focus: { element: 'student-code' } }, { announce: [{ id: 'student.handedIn' }] }]));
  // Work that another tab kept: taken when newer (the page says so, once), never when older or unusable.
  const handedWork = effects[0].storeWork.value;
  const other = { ...wrong, student: { ...wrong.student, elsewhere: true } };
  check([
    ['newer work, from another tab: taken, and said', wrong, { type: 'workStored', kept: handedWork },
     { student: { ...wrong.student, handed: handed.student.handed, version: 3, elsewhere: true } }, [{ announce: [{ id: 'student.elsewhere' }] }]],
    ['said once', other, { type: 'workStored', kept: handedWork }, { student: { ...other.student, handed: handed.student.handed, version: 3 } }, []],
    ['older work is not taken', handed, { type: 'workStored', kept: { ...handedWork, handed: null, version: 9 } }, null, []],
    ['work of another shape is not taken', wrong, { type: 'workStored', kept: { result: 'x', version: 99 } }, null, []],
  ]);
  // Another tab's answer to the other divisor at the same time: both kept, in the result and the practice, and kept again.
  const q2 = s.stages[1].questions[1];
  const [, [{ storeWork: { value: theirs } }]] = update(hinted, { type: 'answer', k: 1, key: q2.key, given: { text: '7' } });
  const [both, [, { storeWork: { value: kept2 } }]] = update(wrong, { type: 'workStored', kept: theirs });
  assert.deepEqual([both.student.result.stages[0].first.slice(0, 2).map((f) => f.text), [...both.session.stages[1].answers.keys()].sort(), kept2.result],
                   [['12345', '7'], [q.key, q2.key].sort(), both.student.result]);
  // Handed in, the result is the code's: an answer after changes it no more, and a second hand-in does nothing.
  const afterwards = update(handed, { type: 'answer', k: 1, key: q.key, given: { text: '1' } })[0];
  assert.deepEqual([afterwards.student.result, afterwards.student.handed, update(handed, { type: 'handIn', now: 9e5 })],
                   [handed.student.result, handed.student.handed, [handed, []]]);
  const table = results({ ...a, names: ['Kim'] }, handed.student.handed);
  assert.deepEqual([table.rejected, table.rows[0].flags, table.rows[0].cells[0], table.rows[0].seconds], [[], [], { status: 'open', hints: 1 }, 60]);
  assert.equal(update(handed, { type: 'mode', mode: 'watch' })[0].mode, 'watch');
});

// Inside an LMS: the student that it names works as on a link; every change of
// the work, from its opening on, is told to the LMS (only what changed, timed
// by the messages' times), and none is stored; the hand-in, refused, is sent
// again after a while and as the page goes, before the session's time; what
// the LMS is told of a stage shown after a wrong answer and a hint.
test('inside an LMS, the work goes to the LMS alone', needsBuild, () => {
  const a = assignment({ seed: 7, order: 2, show: true });
  const input = make(exerciseFor(a, 'Kim, Minji')).input;
  const m = modelOf('gjinverse', input);
  const connected = update(initial(), { type: 'lms', outcome: 'connected', version: '1.2', name: 'Kim, Minji', suspend: '', now: 5000 })[0];
  const linked = update(connected, { type: 'studentLink', found: { role: 'student', assignment: a, name: 'Kim, Minji' }, program: 'gjinverse', lms: true, now: 5 })[0];
  const [state0] = update(linked, { type: 'made', input, met: true });
  const stage = ['id', 'type', 'student_response', 'result', 'latency'].map((e) => `interactions.0.${e}`);
  // [message, the stage at hand then, the elements told (cmi. left out), whether committed]
  const steps = [[{ type: 'shown', model: m }, 1, ['core.lesson_status', 'core.exit', 'suspend_data'], true],
    [{ type: 'answer', k: 1, key: null, given: { text: '12345' }, now: 20000 }, 1, ['suspend_data'], false],
    [{ type: 'hint', k: 1, now: 30000 }, 1, ['suspend_data'], false], [{ type: 'fillIn', k: 1, now: 45000 }, 2, [...stage, 'suspend_data'], true],
    [{ type: 'handIn', now: 61000, confirmed: true }, 2, ['core.lesson_status', 'core.score.raw', 'core.score.min', 'core.score.max', 'core.exit', 'suspend_data'], true],
    [{ type: 'answer', k: 2, key: null, given: { text: '1' }, now: 62000 }, 2, ['suspend_data'], false]];
  let [state, handed, sentSoFar] = [state0, null, new Map()];
  for (const [message, current, elements, commit] of steps) {
    if (message.confirmed) state = update(state, { type: 'handIn', now: 60000 })[0];
    const [next, effects] = update(state, message.key === null ? { ...message, key: state.session.stages[message.k].questions[0].key } : message);
    const { report } = effects[0];
    assert.deepEqual([report.handIn, report.work.progress.current, report.work.result === next.student.result, report.work.handed === next.student.handed,
                      report.pairs.map(([e]) => e.replace('cmi.', '')), report.commit, effects.filter((e) => e.store).length],
                     [message.type === 'handIn', current, true, true, elements, commit, 0], message.type);
    assert.equal(report.pairs.find(([e]) => e.endsWith('latency'))?.[1] ?? '00:00:40.00', '00:00:40.00', 'stage 2 took 40 s');
    if (message.confirmed) handed = { state: next, report };
    report.pairs.forEach(([element, value]) => sentSoFar.set(element, value));
    state = next;
  }
  assert.equal(update(state, { type: 'shown', model: m })[1].length, 0, 'the same run shown again tells nothing');
  // The hand-in's commit refused: all is told again, the status and exit first set back and committed, and what has another form
  // in it (a runtime that took the refused values for sent sends only what differs), then committed; as the page goes too.
  const [refusing] = update(handed.state, { type: 'reported', failed: ['commit'], handIn: true, commit: true, sent: 0 });
  const [, [{ report: again }]] = update(refusing, { type: 'lmsRetry', now: 70000 });
  const differs = again.pairs.filter(([element, value]) => sentSoFar.get(element) !== value).map(([element]) => element.replace('cmi.', ''));
  assert.deepEqual([again.first, again.commit, again.sent, again.pairs.map(([element]) => element).sort(), differs],
    [[['cmi.core.lesson_status', 'incomplete'], ['cmi.core.exit', 'suspend']], true, 1, [...sentSoFar.keys()].sort(),
     ['core.score.raw', 'core.score.min', 'core.score.max', 'suspend_data']]);
  check([['the hand-in refused, told again', refusing, { type: 'lmsRetry', now: 70000 }, {}, [{ report: again }]],
    ['and first as the page goes, then the session\'s time', refusing, { type: 'lmsClosing', now: 70000 }, {},
    [{ report: { ...again, pairs: [...again.pairs, ['cmi.core.session_time', '00:01:05.00']], closing: true } }]]]);
  assert.equal(update(refusing, { type: 'lmsClosing', now: 65000 })[0].lms.outcome, 'ended');
  const told = resultOf({ a, m, record: state.student.result, took: new Map([[1, 4200]]), passMark: 0.5, handed: true, suspend: 'W1' });
  const count = state.session.stages[1].questions.length;
  assert.deepEqual(told, { name: 'Kim, Minji', asked: m.stages.length - 1, rightFirstTime: 0, passMark: 0.5, final: true, suspend: 'W1',
    stages: [{ id: 'stage-2-scaled', firstAnswer: ['12345', ...Array(count - 1).fill('')], right: false, latencyMs: 4200 }] });
});

// Which of two works of one student is newer: [what, a, b, whether a is newer than b].
test('work handed in, or with more done, is newer than work with less, whatever its version', () => {
  const r = newResult('X', 'Kim', 0);
  const answered = noted(r, 1, 2, { answer: 0, given: { text: '1' }, miss: false });
  const done = noted(answered, 1, 2, { done: true });
  const hinted = noted(noted(answered, 1, 2, { hint: true }), 1, 2, { hint: true });
  const w = (result, more = {}) => ({ progress: null, finished: false, result, handed: null, version: 1, rounds: 0, ...more });
  const cases = [
    ['one more answer', w(answered), w(r, { version: 5 }), true],
    ['a stage done outweighs more hints', w(done), w(hinted, { version: 9 }), true],
    ['more hints do not outweigh a stage done', w(hinted, { version: 9 }), w(done), false],
    ['handed in outweighs more done', w(r, { handed: 'GJR1X' }), w(done, { version: 9 }), true],
    ['the same work, a later version', w(answered, { version: 2 }), w(answered), true],
    ['the same work and version: not newer', w(answered), w(answered), false],
    ['less, of a later version', w(r, { version: 9 }), w(answered), false],
    ['some work over none', w(r), null, true],
    ['none over some', null, w(r), false],
  ];
  assert.deepEqual(cases.map(([what, a, b]) => [what, newer(a, b)]), cases.map(([what, , , is]) => [what, is]));
  // Merged: one handed in is taken whole; the practice of the work started over more often.
  const progress = (answers) => ({ from: 1, fill: 'row', current: 1, stages: [null, { answers, wrong: false, hints: 0, shown: false }] });
  const right1 = ['divisor 1', { ...wrongly('1'), verdict: { right: true, note: null, slip: null } }];
  assert.deepEqual([mergedWork(w(r, { handed: 'GJR1X' }), w(done)).handed, mergedWork(w(answered, { rounds: 1 }), w(r, { progress: progress([right1]) })).progress,
                    mergedWork(w(r, { progress: progress([['divisor 1', wrongly('2')]]) }), w(r, { progress: progress([right1]) })).progress],
                   ['GJR1X', null, progress([right1])]);
  // Three tabs that answered one question at once, each otherwise: in whichever order they merge, one work, which two take.
  const [x, y, z] = ['1', '2', '3'].map((text) => w(noted(r, 1, 2, { answer: 0, given: { text }, miss: true }), { progress: progress([['divisor 1', wrongly(text)]]) }));
  const ways = [mergedWork(mergedWork(x, y), z), mergedWork(z, mergedWork(y, x)), mergedWork(mergedWork(z, x), y)];
  assert.deepEqual([ways.every((way) => sameWork(way, ways[0])), [x, y, z].filter((tab) => !sameWork(mergedWork(tab, ways[0]), tab)).length], [true, 2]);
});

test('work is kept per assignment and per name', () => {
  const a = assignment({ seed: 7 });
  const keys = [[a, 'Kim  Minsu'], [a, 'kim minsu '], [a, '박서연'], [assignment({ seed: 8 }), 'Kim Minsu']].map(([x, name]) => workKey(x, name));
  assert.deepEqual([keys[0] === keys[1], new Set(keys).size], [true, 3]);
});

// A link that asks otherwise than the work kept of its exercise: the page
// offers both, and says so; and the link to a run made with the form asks
// from the scaling unless the learner chose where to start.
test('a corrected link, and the link to a run asking every stage', needsBuild, () => {
  const m = modelOf('gjinverse', input);
  const linked = (asked) => ({ ...initial(), mode: 'practice', link: { program: 'gjinverse', input, exercise: null, asked } });
  const saved = session.stored(session.start(m, { asked: { from: 6, fill: 'row', own: false } }));
  const [corrected, effects] = update(linked({ from: 2, fill: null, own: false }), { type: 'shown', model: m, saved });
  assert.deepEqual([corrected.conflict, corrected.session.from, effects[0]],
                   [{ from: 1, fill: 'row' }, 5, { announce: [{ id: 'choice.text', values: { k: 2, fill: { id: 'practice.fill.row' } } }] }]);
  assert.equal(update(linked({ from: 6, fill: null, own: false }), { type: 'shown', model: m, saved })[0].conflict, null);
  check([['the link\'s choice', corrected, { type: 'takeLink' }, { conflict: null }, [{ store: progress, value: kept(1) },
          said('Practice, stage 2: Each row divided by its entry largest in absolute value. Now: row 1, divisor.', '연습, 2단계: 각 행을 절댓값이 가장 큰 성분으로 나누기. 지금 풀 문항: 1행, 나누는 수.'),
          { focus: { stage: 1 } }]],
         ['the work kept', corrected, { type: 'keepSaved' }, { conflict: null, session: corrected.session }, []]]);
  const paced = update({ ...linked({ from: null, fill: null, own: true }), level: 2 }, { type: 'shown', model: m })[0];
  assert.deepEqual([paced.session.from, linkState(paced).from], [4, 2]);
  assert.equal(linkState(update(paced, { type: 'from', from: 3 })[0]).from, 4);
});


// The learner's own way: every message of it as a row, from a page that
// shows a run, and from work on a 2 × 3 system (state/own.js).
test('the learner\'s own way: operations typed or built, refused, written, undone, linked and kept', needsBuild, () => {
  const { shown } = states();
  const op = (text) => readOperation(text, 2).op;
  const slice = (work, more = {}) => ({ work, matrix: work && matrixAt(work), arithmetic: 'page', pending: null, problem: null, cells: null, readOff: null,
                                        readProblem: null, changed: [], hint: null, compared: null, busy: false, ...more });
  const at = (work, more) => ({ ...shown, mode: 'own', own: slice(work, more) });
  const kept = (work, ...more) => [{ ownKeep: ownFragment(work) }, ...more];
  const said = (id, values) => ({ announce: [{ id, values }] });
  const [focusOp, minus] = [{ focus: { element: 'own-op' } }, 'R2 → R2 − 2R1'];
  const entered = (element) => ({ focus: { element, shown: true } });
  const start = startWork(readMatrix('2 3\n1 2 3\n2 5 8\n', 'system').matrix, 'system');
  const one = doOperation(start, op('R2 -> R2 - 2R1'), 'R2 -> R2 - 2R1');
  // A link keeps how each operation came (typed, as the page writes it, shown) and the counts.
  const fromLink = { ...doOperation(one, op('R1 -> R1 - 2R2'), 'R1 → R1 − 2R2', { shown: true }), checks: { tries: 1, shown: 1, hints: 2 } };
  const linked = ownFragment(fromLink);
  // 450 operations in a link, of which the first 400 are kept, and 400 in force, the most.
  const many = Array.from({ length: 450 }).reduce((work) => doOperation(work, op('R1 <-> R2'), null), start);
  const full = { ...many, ops: many.ops.slice(0, 400), at: 400 };
  // An operation whose factor is past the bound of what is worked out at once.
  const longOp = `R1 -> ${'1'.repeat(1300)} R1`;
  const long = doOperation(start, op(longOp), longOp);
  const job = { matrix: start.start, op: op(longOp), written: longOp, more: {} };
  const back = { matrix: matrixAt(long), path: [inverse(op(longOp))], move: { at: 0 }, id: 'own.view.undone' };
  const [most, mostLink] = [{ id: 'own.op.most', values: { most: 400 } }, { id: 'own.link.most', values: { most: 400, total: 450 } }];
  const built = doOperation(start, op('R1 -> 2R1'), null);
  const swapped = doOperation(start, op('R1 <-> R2'), 'R1 <-> R2');
  const learner = at(start, { arithmetic: 'learner' });
  const writing = at(start, { arithmetic: 'learner', pending: { op: op('R2 -> R2 - 2R1'), written: 'R2 = R2 - 2R1', row: 1, check: null, first: null } });
  const written = (more, checks = start.checks) => ({ ...doOperation(start, op('R2 -> R2 - 2R1'), 'R2 = R2 - 2R1', more), checks });
  const counts = (tries, shownRows, hints) => ({ tries, shown: shownRows, hints });
  const wrongRow = { cells: [{ ok: true }, { ok: true }, { ok: false }], right: false, slip: null };
  const ofRun = startWork(readMatrix('2 2\n2 1\n1 3\n', 'inverse').matrix, 'inverse');
  const reduced = doOperation(one, op('R1 -> R1 - 2R2'), null);
  const twice = { id: 'own.op.targetScaled', values: { row: 1 } };
  const damaged = { id: 'own.link.matrix', values: {}, cause: { id: 'own.matrix.dimensions', values: { part: 'x' } } };
  const entry = { id: 'own.matrix.entry', values: { row: 2, column: 2, part: 'x' } };
  const clear = { id: 'own.hint.clear', values: { column: 2, row: 1, from: 2, factor: '−2' } };
  check([
    ['the mode asked: the run\'s matrix offered', shown, { type: 'mode', mode: 'own', focus: true }, { mode: 'own', own: null }, [entered('own-from-run')]],
    ['the mode asked again: the operation field', { ...at(one), mode: 'watch' }, { type: 'mode', mode: 'own', focus: true }, { mode: 'own' }, [entered('own-op')]],
    ['left: the work stays', at(one), { type: 'mode', mode: 'watch' }, { mode: 'watch', own: slice(one) }, []],
    ['the part come, nothing kept: the run shown\'s [A | I]', shown, { type: 'ownStored', text: null }, { own: slice(ofRun) }, []],
    ['the work kept: read in slices as the part comes', shown, { type: 'ownStored', text: linked }, null, [{ ownRead: { hash: linked, link: false } }]],
    ['the work kept, read: taken', shown, { type: 'ownRead', read: readOwnLink(linked) }, { own: slice(fromLink) }, []],
    ['kept, but there is work already', at(start), { type: 'ownRead', read: readOwnLink(linked) }, null, []],
    ['a link: the mode, its work read in slices', shown, { type: 'ownLink', hash: linked }, { mode: 'own' }, [{ ownRead: { hash: linked, link: true } }]],
    ['a link read: its work', { ...shown, mode: 'own' }, { type: 'ownRead', read: readOwnLink(linked), link: true }, { own: slice(fromLink) }, kept(fromLink, entered('own-op'))],
    ['a link past 400 operations: the first 400, said', { ...shown, mode: 'own' }, { type: 'ownRead', read: readOwnLink(ownFragment(many)), link: true },
     { own: slice(full, { problem: mostLink }) }, kept(full, { announce: [mostLink] }, entered('own-op'))],
    ['the 401st operation: refused, said', at(full), { type: 'ownOp', text: 'R1 <-> R2' }, { own: slice(full, { problem: most }) }, [{ announce: [most] }]],
    ['a damaged link: said', { ...shown, mode: 'own' }, { type: 'ownRead', read: readOwnLink('#ownway&m=x'), link: true }, { own: slice(null, { problem: damaged }) },
     [{ announce: [damaged] }, entered('own-from-run')]],
    ['the run\'s matrix taken', at(start), { type: 'ownFromRun' }, { own: slice(ofRun) }, kept(ofRun, focusOp)],
    ['a matrix typed', shown, { type: 'ownTyped', text: '2 3\n1 2 3\n2 5 8', kind: 'system' }, { own: slice(start) }, kept(start, focusOp)],
    ['a bad entry said in its cell, the work kept', at(one), { type: 'ownTyped', text: '2 3\n1 2 3\n2 x 8', kind: 'system' },
     { own: slice(one, { problem: entry, cells: [{ row: 1, column: 1, problem: { id: 'own.number.unread', values: { part: 'x' } } }] }) }, [{ announce: [entry] }]],
    ['an exercise asked: practice\'s effect makes it', shown, { type: 'ownExercise', exercise: { program: 'gjsolve', order: 2, seed: 4 } }, null,
     [{ ownMake: { program: 'gjsolve', seed: 4, order: 2, options: ['nice'], generator: 2 } }]],
    ['its matrix made', shown, { type: 'ownMade', input: '2\n1 2 3\n2 5 8\n', program: 'gjsolve' }, { own: slice(start) }, kept(start, focusOp)],
    ['an operation typed: done, said, kept', at(start), { type: 'ownOp', text: 'R2 -> R2 - 2R1' }, { own: slice(one, { changed: [1] }) },
     kept(one, said('own.view.applied', { op: minus, rows: 'R2: 0, 1, 2' }), focusOp)],
    ['built with buttons: the same operation', at(start), { type: 'ownButtons', built: { type: 'scale', row: 0, factorText: '2' } },
     { own: slice(built, { changed: [0] }) }, kept(built, said('own.view.applied', { op: 'R1 → 2R1', rows: 'R1: 2, 4, 6' }), focusOp)],
    ['refused: said, the matrix as it was', at(start), { type: 'ownOp', text: '2R1 + R2 -> R1' }, { own: slice(start, { problem: twice }) }, [{ announce: [twice] }]],
    ['the learner\'s arithmetic chosen', at(start), { type: 'ownArithmetic', by: 'learner' }, { own: learner.own }, []],
    ['then an operation waits for its row', learner, { type: 'ownOp', text: 'R2 = R2 - 2R1' }, { own: writing.own },
     [said('own.view.write', { op: minus, row: 2 }), { focus: { element: 'own-cell-0' } }]],
    ['a swap writes nothing', learner, { type: 'ownOp', text: 'R1 <-> R2' }, { own: slice(swapped, { arithmetic: 'learner', changed: [0, 1] }) },
     kept(swapped, said('own.view.applied', { op: 'R1 ↔ R2', rows: 'R1: 2, 5, 8; R2: 1, 2, 3' }), focusOp)],
    ['a wrong cell: marked, counted, nothing applied', writing, { type: 'ownRow', texts: ['0', '1', '1'] },
     { own: { ...writing.own, work: { ...start, checks: counts(1, 0, 0) }, pending: { ...writing.own.pending, check: wrongRow, first: ['0', '1', '1'] } } },
     kept({ ...start, checks: counts(1, 0, 0) }, said('own.view.wrongCells', { count: 1 }), { focus: { element: 'own-cell-2' } })],
    ['the row right: done, its first try kept', writing, { type: 'ownRow', texts: ['0', '1', '2'] }, { own: slice(written({ first: ['0', '1', '2'] }), { arithmetic: 'learner', changed: [1] }) },
     kept(written({ first: ['0', '1', '2'] }), said('own.view.applied', { op: minus, rows: 'R2: 0, 1, 2' }), focusOp)],
    ['shown: done, and counted', writing, { type: 'ownShow' }, { own: slice(written({ shown: true }, counts(0, 1, 0)), { arithmetic: 'learner', changed: [1] }) },
     kept(written({ shown: true }, counts(0, 1, 0)), said('own.view.applied', { op: minus, rows: 'R2: 0, 1, 2' }), focusOp)],
    ['another operation instead', writing, { type: 'ownCancel' }, { own: learner.own }, [focusOp]],
    ['undone, said', at(one), { type: 'ownUndo' }, { own: slice({ ...one, at: 0 }) }, kept({ ...one, at: 0 }, said('own.view.undone', { op: minus }))],
    ['redone', at({ ...one, at: 0 }), { type: 'ownRedo' }, { own: slice(one) }, kept(one, said('own.view.redone', { op: minus }))],
    ['back to the start', at(one), { type: 'ownGoTo', at: 0 }, { own: slice({ ...one, at: 0 }) }, kept({ ...one, at: 0 }, { announce: [{ id: 'own.view.atStart' }] })],
    ['a hint: said, counted, not applied', at(one), { type: 'ownHint' }, { own: slice({ ...one, checks: counts(0, 0, 1) }, { hint: { op: op('R1 -> R1 - 2R2'), reason: clear } }) },
     kept({ ...one, checks: counts(0, 0, 1) }, { announce: [clear, { id: 'own.view.hintOp', values: { op: 'R1 → R1 − 2R2' } }] })],
    // Numbers past a few thousand bits: worked out in slices, nothing else done meanwhile.
    ['an operation on long numbers: worked out in slices', at(start), { type: 'ownOp', text: longOp }, { own: slice(start, { busy: true }) }, [{ ownWork: job }]],
    ['meanwhile another operation waits', at(start, { busy: true }), { type: 'ownOp', text: 'R1 <-> R2' }, null, []],
    ['worked out: done, said, kept', at(start, { busy: true }), { type: 'ownWorked', job, result: applyChecked(start.start, job.op) },
     { own: slice(long, { changed: [0] }) }, kept(long, said('own.view.appliedLong', { op: 'R1 → 111111…1111R1', rows: 'R1' }), focusOp)],
    ['undone on long numbers: its inverse worked out in slices', at(long), { type: 'ownUndo' }, { own: slice(long, { busy: true }) }, [{ ownWork: back }]],
    ['worked out: undone, the matrix as it started', at(long, { busy: true, matrix: back.matrix }), { type: 'ownWorked', job: back, result: { matrix: apply(back.matrix, back.path[0]) } },
     { own: slice({ ...long, at: 0 }) }, kept({ ...long, at: 0 }, said('own.view.undone', { op: 'R1 → 111111…1111R1' }))],
    ['worked out on a matrix since changed: dropped', at(one, { busy: true }), { type: 'ownWorked', job, result: applyChecked(start.start, job.op) }, null, []],
    ['another tab had kept other work: said', at(one), { type: 'ownReplaced' }, null, [{ announce: [{ id: 'own.view.replaced' }] }]],
    ['no comparing before it is reduced', at(one), { type: 'ownCompare' }, null, []],
    ['once reduced, the method\'s count', at(reduced), { type: 'ownCompare' }, { own: slice(reduced, { compared: { yours: 2, method: 2 } }) }, [said('own.view.compared', { yours: 2, method: 2 })]],
    ['the history copied', at(one), { type: 'ownCopy', form: 'markdown' }, null, [{ copy: { content: copyMarkdown(translator('en'), one), done: 'own.view.copied' } }]],
  ]);
});

// The parts of the page loaded when first needed (state/parts.js): a message
// that needs one waits in the state, which asks for the part once; the
// message is handled once its parts are there, let go with a word in both
// languages when one cannot load. And what a print holds while it is made.
test('a message waits for the parts of the page it needs, and a print holds what it prints', needsBuild, () => {
  const { shown, practising } = states();
  const parts = (absent, loading = [], waiting = []) => ({ absent, loading, waiting });
  const practise = { type: 'mode', mode: 'practice' };
  const asking = { ...shown, parts: parts(['practice', 'print', 'teacher']) };
  const [waiting] = update(asking, practise);
  const [halfway] = update(waiting, { type: 'partLoaded', part: 'print' });
  const failed = [{ announce: [{ id: 'part.failed', values: { part: { id: 'part.practice' } } }] }];
  const a = assignment({ seed: 3 });
  const keys = { keys: { assignment: a, read: [], parts: 'all', twoSided: true } };
  check([
    ['a message waits, and its parts are asked for', asking, practise,
     { mode: 'watch', parts: parts(['practice', 'print', 'teacher'], ['practice', 'print'], [practise]) }, [{ load: ['practice', 'print'] }]],
    ['another waits without asking again', waiting, { type: 'part', part: 'practice' },
     { parts: parts(['practice', 'print', 'teacher'], ['practice', 'print'], [practise, { type: 'part', part: 'practice' }]) }, []],
    ['one part of two come: it waits on', waiting, { type: 'partLoaded', part: 'print' },
     { mode: 'watch', parts: parts(['practice', 'teacher'], ['practice'], [practise]) }, []],
    ['every part come: it is handled', halfway, { type: 'partLoaded', part: 'practice' }, { mode: 'practice', parts: parts(['teacher']) }, []],
    ['a part that cannot load: let go, and said', halfway, { type: 'partFailed', part: 'practice' },
     { mode: 'watch', parts: parts(['practice', 'teacher']) }, failed],
    ['a part not asked for fails: nothing', halfway, { type: 'partFailed', part: 'teacher' }, null, []],
    ['a message that needs no part', asking, { type: 'allStages' }, { stage: { k: 0, all: true } }, []],
    ['the browser\'s print, watching', shown, { type: 'printing' }, { printing: { page: true } }, []],
    ['the browser\'s print, practising: a worksheet', practising, { type: 'printing' }, { printing: { sheet: true } }, []],
    ['a print asked', shown, { type: 'printing', asked: { results: true } }, { printing: { results: true } }, [{ printNow: true }]],
    ['worksheets asked: drawn in slices first', shown, { type: 'printing', asked: keys }, { printing: keys }, [{ sheets: keys }]],
    ['a page of names asked: drawn in slices first', shown, { type: 'printing', asked: { names: a } }, { printing: { names: a } }, [{ cards: { names: a } }]],
    ['on the way: said', { ...shown, printing: keys }, { type: 'sheetsDrawn', printing: keys, done: false }, null, [{ announce: [{ id: 'sheet.making' }] }]],
    ['drawn: said, and printed', { ...shown, printing: keys }, { type: 'sheetsDrawn', printing: keys, done: true, slow: true, cut: { students: 41, of: 50 } },
     null, [{ announce: [{ id: 'sheet.made' }, { id: 'sheet.cut', values: { students: 41, of: 50 } }] }, { printNow: true }]],
    ['drawn of a print no longer asked: nothing', { ...shown, printing: { ...keys } }, { type: 'sheetsDrawn', printing: keys, done: true }, null, []],
    ['a print asked, under way as the browser prints', { ...shown, printing: { names: 1 } }, { type: 'printing' }, null, []],
    ['a print done', { ...shown, printing: { page: true } }, { type: 'printed' }, { printing: null }, []],
  ]);
  // Every part absent, as the page starts: a message of each type that a
  // part handles asks for it; a student's own-way link for the own part with
  // practice's (which makes the matrix); an own-way exercise, whose answer
  // asks for an effect that practice's part carries, for that part.
  const none = { ...shown, parts: parts(partNames) };
  const asks = (state, message) => update(state, message)[1].find((effect) => effect.load)?.load ?? [];
  assert.deepEqual([...handledBy].filter(([type, part]) => !asks(none, { type }).includes(part)), []);
  const own = { ...shown, parts: parts(['practice', 'print', 'teacher']), own: update(shown, { type: 'ownFromRun' })[0].own };
  const ownLink = { type: 'studentLink', found: { role: 'student', assignment: assignment({ mode: 'own', seed: 3 }), name: 'Kim' }, program: 'gjinverse' };
  const exercise = { type: 'ownExercise', exercise: { program: 'gjsolve', order: 2, seed: 4 } };
  assert.deepEqual([asks(none, ownLink), asks(none, { type: 'mode', mode: 'own' }), asks(none, { type: 'packageAsked' }), asks(own, exercise)],
                   [['practice', 'print', 'student', 'own'], ['own'], ['teacher', 'lms'], ['practice']]);
  const [waits] = update(own, exercise);
  assert.deepEqual([waits.parts, update(waits, { type: 'partLoaded', part: 'practice' })[1].map(Object.keys)],
                   [parts(['practice', 'print', 'teacher'], ['practice'], [exercise]), [['ownMake']]]);
});

// Each module of the state that brings handlers is the state's own
// (state.js) or a part's, whose entry in state/parts.js names their types.
test('the parts name the handlers they bring', async () => {
  const folder = path.join(import.meta.dirname, '..', '..', '..', 'web', 'state');
  for (const file of fs.readdirSync(folder)) {
    const types = Object.keys((await import(path.join(folder, file))).handlers ?? {}).sort();
    const part = pageParts.find((p) => p.modules.includes(`state/${file}`));
    assert.deepEqual(part ? [...part.handlers].sort() : types.filter((type) => Object.hasOwn(handlers, type)), types, file);
  }
});

// Every property of value frozen, and Maps' contents copied out for a look after.
function frozen(value, seen = new Set()) {
  if (value === null || typeof value !== 'object' || ArrayBuffer.isView(value) || seen.has(value)) return value;
  seen.add(value);
  for (const key of Reflect.ownKeys(value)) {
    const d = Object.getOwnPropertyDescriptor(value, key);
    if ('value' in d) frozen(d.value, seen);
  }
  if (value instanceof Map) for (const [k, v] of value) { frozen(k, seen); frozen(v, seen); }
  return Object.freeze(value);
}
const snapshot = (state) => JSON.stringify(state, (key, value) => (value instanceof Map ? [...value] : typeof value === 'bigint' ? String(value) : value));

// Every message that update takes, in each of a few states: a page before a
// run, a run watched, practised, a student's locked page, a teacher's view;
// none throws, with its fields or without them or of the wrong types, none
// makes a state of another shape or a text of nothing ("undefined"), and none
// changes the state it is given.
// A student's assignment of the student's own operations, with the
// student's arithmetic and neither hints nor rows shown: locked in the mode,
// the first row and the first reading kept, reopened where it was, graded.
test('a student reduces an own assignment\'s matrix, reads it, hands in and reopens it', needsBuild, () => {
  const a = assignment({ mode: 'own', arithmetic: 'learner', hints: 0, program: 'gjsolve', order: 2, seed: 9 });
  const go = (state, ...messages) => messages.reduce(([s], m) => update(s, m), [state, []]);
  const link = { type: 'studentLink', found: { role: 'student', assignment: a, name: 'Kim' }, program: 'gjsolve', now: 1000 };
  const [opened, effects] = update(initial(), link);
  assert.deepEqual([opened.mode, effects[0]], ['own', { ownMake: exerciseFor(a, 'Kim'), student: true }]);
  const made = { type: 'ownMade', input: make(exerciseFor(a, 'Kim')).input, program: 'gjsolve', student: true };
  let [state] = update(opened, made);
  assert.equal(state.own.arithmetic, 'learner');
  check(['ownArithmetic', 'ownTyped', 'ownHint', 'ownShow', 'ownFromRun', 'mode'].map((type) =>
    [`${type} refused while the assignment locks the mode`, state, { type, by: 'page', text: '1 2', kind: 'matrix', mode: 'practice' }, null, []])
    .concat([['no reading before the matrix is reduced', state, { type: 'ownAnswer', answer: { set: 'x1 = 1, x2 = 1' } }, null, []]]));
  // The method's operations, each row written by the student: the first one wrong once.
  for (let k = 0, next; (next = hint(state.own.matrix)); k++) {
    const { op } = next;
    const row = changed(op)[0];
    const texts = apply(state.own.matrix, op).rows[row].map(show);
    const built = { type: op.type, row, from: op.type === 'swap' ? op.rows[1] : op.from, factorText: op.factor ? show(op.factor) : '1' };
    [state] = go(state, k === 1 ? { type: 'ownOp', text: `${notation(op)} ` } : { type: 'ownButtons', built }, ...(k === 0 ? [{ type: 'ownRow', texts: texts.map(() => '0') }] : []), { type: 'ownRow', texts });
  }
  const expected = ownGraded(state.student.result, state.own.work.start, 'system', 'learner').expected;
  // A reading that cannot be read is said and not kept; an older page's choice is not taken; the first read counts.
  [state] = go(state, { type: 'ownAnswer', answer: { set: 'x1 = 2t#' } }, { type: 'ownAnswer', answer: { choice: 'zero', values: null } });
  assert.deepEqual([state.own.readOff, state.own.readProblem.id], [null, 'own.reading.unread']);
  [state] = go(state, { type: 'ownAnswer', answer: { set: null } }, { type: 'ownAnswer', answer: readingOf(expected) });
  assert.deepEqual(state.own.readOff, { answer: { set: null }, right: false, wrong: [{ id: 'own.reading.wrong.consistent', values: {} }] }, 'the first reading counts');
  const [handed, [{ storeWork }]] = update(update(state, { type: 'handIn', now: 9000 })[0], { type: 'handIn', now: 9000, confirmed: true });
  const graded = ownGraded(readCode(handed.student.handed), state.own.work.start, 'system', 'learner');
  const at = state.own.work.at;
  assert.deepEqual([graded.reduced, graded.readOff, graded.firstRight, graded.written, graded.tries], [true, 'wrong', at - 1, at, 1]);
  // Reopened with the work kept: the operations and the reading where they were.
  const [again] = go(initial(), { ...link, kept: JSON.parse(JSON.stringify(storeWork.value)) }, made);
  assert.deepEqual([again.mode, again.own.work.at, again.own.readOff?.right, again.own.work.ops.map((o) => o.written)],
    ['own', at, false, state.own.work.ops.map((o) => o.written)]);
  assert.ok(again.own.work.ops[1].written, 'an operation typed reopens typed');
  check([['work from another tab followed', again, { type: 'ownResumed' }, { own: again.own }, []]]);
  // Inside an LMS, each operation reaches it as an interaction.
  const [lms] = go(initial(), { type: 'lms', outcome: 'connected', version: '2004', name: 'Kim', suspend: '', now: 1 }, { ...link, lms: true }, made);
  const { report } = update(lms, { type: 'ownOp', text: 'R1 <-> R2' })[1].find((effect) => effect.report);
  assert.deepEqual(report.pairs.filter(([element]) => /interactions\.0\.(id|result)/.test(element)), [['cmi.interactions.0.id', 'op-1'], ['cmi.interactions.0.result', 'correct']]);
});

// Of [A | I], the reading asks A⁻¹ or "not invertible": a solution set is
// not taken for it; the first reading is judged, handed in as a GJY2 code,
// and reopened with its verdict.
test('a student reads an own assignment\'s [A | I] off as A⁻¹ or not invertible', needsBuild, () => {
  const a = assignment({ mode: 'own', program: 'gjinverse', order: 2, seed: 4 });
  const go = (state, ...messages) => messages.reduce(([s], m) => update(s, m), [state, []]);
  const link = { type: 'studentLink', found: { role: 'student', assignment: a, name: 'Kim' }, program: 'gjinverse', now: 1000 };
  const made = { type: 'ownMade', input: make(exerciseFor(a, 'Kim')).input, program: 'gjinverse', student: true };
  let [state] = go(initial(), link, made);
  for (let next; (next = hint(state.own.matrix));) [state] = go(state, { type: 'ownOp', text: notation(next.op) });
  const [same] = go(state, { type: 'ownAnswer', answer: { set: 'x1 = 1, x2 = 1' } });
  [state] = go(state, { type: 'ownAnswer', answer: { inverse: null } }, { type: 'ownAnswer', answer: { inverse: '1 0\n0 1' } });
  assert.deepEqual([same.own.readOff, state.own.readOff], [null, { answer: { inverse: null }, right: false, wrong: [{ id: 'own.reading.wrong.invertible', values: {} }] }]);
  const [handed, [{ storeWork }]] = go(state, { type: 'handIn', now: 9000 }, { type: 'handIn', now: 9000, confirmed: true });
  assert.match(handed.student.handed, /^GJY2/);
  const [again] = go(initial(), { ...link, kept: JSON.parse(JSON.stringify(storeWork.value)) }, made);
  assert.deepEqual(again.own.readOff, state.own.readOff);
});

// A set of three problems (this method's stages of a drawn matrix, a 2 × 3
// matrix of the teacher's the student's own way, the stages of the teacher's
// system): each problem's work kept as the student moves, one hand-in.
test('a set\'s student moves between its problems, each keeping its work, and hands them in at once', needsBuild, () => {
  const a = assignment({ seed: 3, problems: [{ order: 2 }, { matrix: { kind: 'matrix', rows: [['1', '2', '3'], ['4', '5', '6']] }, mode: 'own' },
    { matrix: { kind: 'system', rows: [['1', '1', '3'], ['1', '-1', '1']] }, points: 2 }] });
  const go = (state, ...messages) => messages.reduce(([s], m) => update(s, m), [state, []]);
  const [first, made] = go(initial(), { type: 'studentLink', found: { role: 'student', assignment: a, name: 'Kim' }, program: 'gjinverse', now: 1000 });
  const view = first.student.assignment;
  const input0 = make(exerciseFor(view, 'Kim')).input;
  let [state] = go(first, { type: 'made', input: input0, met: true }, { type: 'shown', model: modelOf('gjinverse', input0), saved: null });
  const q = state.session.stages[1].questions[0];
  [state] = go(state, { type: 'answer', k: 1, key: q.key, given: { text: '12345' }, now: 2000 });
  const [moved, away] = update(state, { type: 'problemOpened', at: 1, now: 3000 });
  const { value: kept, student: keeping } = away[0].storeWork;
  check([['a problem moved to: the one left kept, the teacher\'s matrix taken as it is', state, { type: 'problemOpened', at: 1, now: 3000 },
    { mode: 'own', session: null, link: null }, [{ storeWork: { key: workKey(view, 'Kim'), value: kept, student: keeping } }, { later: { type: 'ownMade', given: true, student: true }, ms: 0 }]]]);
  assert.deepEqual([made, moved.student.at, kept.problems.map((w) => w && w.result.stages.length), kept.problems[0].progress.stages[1].wrong],
    [[{ make: exerciseFor(view, 'Kim') }], 1, [1, null, null], true]);
  [state] = go(moved, { type: 'ownMade', given: true, student: true }, { type: 'ownOp', text: 'R2 -> R2 - 4R1' });
  assert.deepEqual([state.own.work.start.rows.length, state.student.result.own.ops.map((o) => o.op)], [2, ['a2.1:-4']]);
  // Back to the first: its matrix made again, its work where it was; the hand-in says which problems are not done.
  const [back, effects] = update(state, { type: 'problemOpened', at: 0, now: 4000 });
  const stored = effects[0].storeWork.value;
  [state] = go(back, { type: 'made', input: input0, met: true }, { type: 'shown', model: modelOf('gjinverse', input0), saved: JSON.parse(JSON.stringify(stored)) });
  assert.deepEqual([state.mode, state.session.stages[1].wrong, stored.problems[1].result.own.ops.length], ['practice', true, 1]);
  [state] = go(state, { type: 'handIn', now: 5000 });
  assert.deepEqual(state.student.asking, { asked: 3, left: 3, problems: [1, 2, 3] });
  const [handed] = update(state, { type: 'handIn', now: 9000, confirmed: true });
  const code = readCode(handed.student.handed);
  assert.deepEqual([code.id, code.parts.map((part) => [part.at, part.stages.length, part.own?.ops.length])], [id(a), [[0, 1, undefined], [1, 0, 1]]]);
});

// A set made with the form: problems added (drawn, or the teacher's matrices
// pasted, each a problem; one that cannot be read, or too many, said and
// not added), moved, copied, given points, removed; then its links.
test('a teacher makes a set of problems with the form, then its links', () => {
  const form = { program: 'gjsolve', order: 3, options: ['nice'], from: '2', fill: 'row', mode: 'stages', hints: 3, show: false, arithmetic: 'page', names: 'Kim' };
  const pasted = { ...form, mode: 'own', source: 'given', kind: 'system', text: '1 2 3\n4 5 6\n\n1 0 1 2\n0 1 0 3' };
  const go = (state, ...messages) => messages.reduce(([s], m) => update(s, m), [state, []]);
  const [two] = go(initial(), { type: 'problemAdded', given: form, seed: 77 }, { type: 'problemAdded', given: pasted, seed: 78 });
  const problems = two.draft.problems;
  assert.deepEqual([two.draft.seed, problems.map((p) => [p.program, p.order, p.mode, p.matrix?.rows.length ?? null, p.points])],
    [77, [['gjsolve', 3, 'stages', null, 1], ['gjsolve', 2, 'own', 2, 1], ['gjsolve', 2, 'own', 2, 1]]]);
  const entry = { id: 'assign.matrix.entry', values: { problem: 4, row: 1, column: 2, part: 'x' } };
  check([
    ['a matrix that cannot be read: which problem, which entry', two, { type: 'problemAdded', given: { ...pasted, text: '1 x 3' } },
     { draft: { ...two.draft, trouble: entry } }, [{ announce: [entry] }]],
    ['the stages of a matrix that the programs do not take', two, { type: 'problemAdded', given: { ...pasted, mode: 'stages', text: '1 2 3 4' } },
     { draft: { ...two.draft, trouble: { id: 'assign.matrix.stages', values: { problem: 4, m: 1, n: 4, system: 9, inverse: 10 } } } },
     [{ announce: [{ id: 'assign.matrix.stages', values: { problem: 4, m: 1, n: 4, system: 9, inverse: 10 } }] }]],
    ['moved down', two, { type: 'problemMoved', at: 0, by: 1 }, { draft: { ...two.draft, problems: [problems[1], problems[0], problems[2]] } }, []],
    ['not moved past the end', two, { type: 'problemMoved', at: 2, by: 1 }, null, []],
    ['copied after itself', two, { type: 'problemCopied', at: 1 }, { draft: { ...two.draft, problems: [problems[0], problems[1], problems[1], problems[2]] } }, []],
    ['its points', two, { type: 'pointsSet', at: 2, points: '4' }, { draft: { ...two.draft, problems: [problems[0], problems[1], { ...problems[2], points: 4 }] } }, []],
    ['no points past 100', two, { type: 'pointsSet', at: 2, points: 101 }, null, []],
    ['removed', two, { type: 'problemRemoved', at: 0 }, { draft: { ...two.draft, problems: problems.slice(1) } }, []],
    ['no thirteenth', { ...two, draft: { ...two.draft, problems: Array(12).fill(problems[0]) } }, { type: 'problemAdded', given: form },
     { draft: { ...two.draft, problems: Array(12).fill(problems[0]), trouble: { id: 'assign.problem.many', values: { most: 12 } } } },
     [{ announce: [{ id: 'assign.problem.many', values: { most: 12 } }] }]],
  ]);
  // The links: the set of the draft, drawn from its seed.
  const [made] = update(two, { type: 'assignmentMade', given: form, seed: 5, secret: Array(16).fill(1) });
  assert.deepEqual([made.made.assignment.seed, made.made.assignment.problems, made.made.assignment.names], [77, problems, ['Kim']]);
});

test('every message is taken in every state, and the state given stays as it was', needsBuild, () => {
  const { m, shown, practising, answered } = states();
  const a = assignment({ seed: 7, order: 2, names: ['Kim'] });
  const input2 = make(exerciseFor(a, 'Kim')).input;
  const named = update(update(initial(), { type: 'studentLink', found: { role: 'student', assignment: a, name: 'Kim' }, program: 'gjinverse', now: 1 })[0],
                       { type: 'made', input: input2, met: true })[0];
  const student = update(named, { type: 'shown', model: modelOf('gjinverse', input2) })[0];
  const teaching = update(shown, { type: 'teacherLink', found: { role: 'teacher', assignment: a, name: null }, program: 'gjinverse' })[0];
  const minimal = {
    awaiting: { program: 'gjsolve' }, typed: { text: '2\n' }, entered: { entry: '2\n', ended: false }, enteredNone: {}, loaded: {}, failed: { error: 'E' }, link: { link: parse('#gjsolve&seed=3') },
    made: { input: '2\n1 2\n3 4\n', met: true }, shown: { model: m }, restart: {}, download: {}, copyTranscript: {}, mode: { mode: 'watch', focus: true },
    stage: { k: 1 }, allStages: {}, answer: { k: 6, key: 'entry 1 1', given: { text: '1' } }, advance: { k: 6 }, hint: { k: 6 }, fillIn: { k: 6 },
    from: { from: 1 }, fill: { fill: 'all' }, restartPractice: { confirmed: true }, clearRecord: {}, exactShown: { on: true },
    unchecked: { k: 6, key: 'entry 1 1' }, keepWork: {}, takeLink: {}, keepSaved: {}, exercise: { seed: 1, order: 3, options: [] }, seedTyped: {},
    classSet: { seed: 1, order: 3, options: [], count: 2 }, language: { code: 'ko' }, copy: { content: 'x', done: 'status.copied' },
    save: { content: 'x', name: 'x.txt', mime: 'text/plain' }, print: { asked: { results: true } }, copied: { done: 'status.copied' },
    studentLink: { found: { role: 'student', assignment: a, name: 'Lee' }, program: 'gjinverse', now: 1 }, studentName: { name: 'Lee', now: 1 },
    notYou: {}, handIn: { now: 2, confirmed: true }, problemOpened: { at: 1, now: 2 },
    problemAdded: { given: { source: 'given', kind: 'system', text: '1 2 3', mode: 'own' }, seed: 5 }, problemRemoved: { at: 0 },
    problemMoved: { at: 0, by: 1 }, problemCopied: { at: 0 }, pointsSet: { at: 0, points: 3 }, reported: { failed: ['commit'] }, lms: { outcome: 'refused' }, workStored: { kept: null }, workSaved: { saved: false },
    lmsRetry: { now: 3 }, lmsClosing: { now: 3 },
    teacherLink: { found: { role: 'teacher', assignment: a, name: null }, program: 'gjinverse' },
    assignmentMade: { given: { names: 'Kim' }, seed: 7 }, packaged: { name: 'x.zip' }, packageAsked: { version: '2004', pass: null, file: 'f' }, codesRead: { codes: '' },
    graded: { assignment: a, codes: '', table: { rows: [], stages: [], rejected: [], counts: { codes: 0, graded: 0, rejected: 0, repeated: 0 } } },
    resultsSaved: {}, keysAsked: {}, assignmentConfirmed: {}, ruleChosen: { rule: 'first' }, rowOpened: { name: 'Kim' }, namesAdded: { text: 'Lee' },
    nameCorrected: { from: 'Kim', to: 'Kym' }, bookExported: {}, bookImported: { text: '{}', size: 2 }, bookCsvAsked: {}, bookStored: { book: null },
    bookKept: { kept: false }, detailed: { assignment: a, code: 'X', details: [] }, pageShown: { page: 0 }, assignmentTouched: {},
    part: { part: 'teacher' }, partLoaded: { part: 'teacher' }, partFailed: { part: 'teacher' }, printing: {}, printed: {}, sheetsDrawn: { printing: { classSet: {} }, done: true },
    ownStored: { text: '#ownway&kind=matrix&m=1%201%0A2' }, ownLink: { hash: '#ownway&kind=system&m=2' },
    ownReplaced: {}, ownWorked: { job: null }, ownRead: { read: readOwnLink('#ownway&kind=matrix&m=1%201%0A2'), link: true }, ownFromRun: {},
    ownTyped: { text: '1 2 3 4', kind: 'system' }, ownExercise: { exercise: { program: 'gjsolve', order: 2, seed: 4 } },
    ownMade: { input: '2\n1 2 3\n4 5 6\n', program: 'gjsolve' }, ownOp: { text: 'R1 <-> R2' },
    ownButtons: { built: { type: 'scale', row: 0, factorText: '2' } }, ownArithmetic: { by: 'learner' }, ownRow: { texts: ['1', '2'] },
    ownShow: {}, ownCancel: {}, ownUndo: {}, ownRedo: {}, ownGoTo: { at: 0 }, ownHint: {}, ownCompare: {}, ownCopy: { form: 'latex' },
    ownAnswer: { answer: { set: 'x1 = 1, x2 = 2' } }, ownResumed: {},
  };
  assert.deepEqual(Object.keys(minimal).sort(), [...messageTypes].sort(), 'a message for every handler');
  // Each message as the page sends it, with every field missing, and with each of a wrong type.
  const wrong = (value) => (typeof value === 'number' ? 'x' : typeof value === 'boolean' ? 1 : typeof value === 'string' ? 7 : value === null || Array.isArray(value) ? 'x' : {});
  const malformed = Object.entries(minimal).flatMap(([type, fields]) =>
    [{ type, ...fields }, { type }, { type, ...Object.fromEntries(Object.entries(fields).map(([key, value]) => [key, wrong(value)])) }]);
  const unnamed = update(initial(), { type: 'studentLink', found: { role: 'student', assignment: a, name: null }, program: 'gjinverse', now: 1 })[0];
  const owning = update(update(shown, { type: 'mode', mode: 'own' })[0], { type: 'ownArithmetic', by: 'learner' })[0];
  const writing = update(owning, { type: 'ownOp', text: 'R2 -> R2 - R1' })[0];
  for (const [name, state] of Object.entries({ initial: initial(), shown, practising, answered, unnamed, student, teaching, owning, writing })) {
    const before = snapshot(frozen(state));
    for (const [i, message] of malformed.entries()) {
      const what = `${message.type} ${['whole', 'bare', 'of wrong types'][i % 3]} in ${name}`;
      const [next, effects] = update(state, message);
      assert.ok(next && Array.isArray(effects), what);
      assert.deepEqual(Object.keys(next), Object.keys(state), what);
      assert.doesNotMatch(snapshot(next), /"(undefined|NaN|\[object Object\])"/, what);
      assert.equal(snapshot(state), before, `${what} leaves it as it was`);
    }
  }
  assert.deepEqual([...seen].filter((type) => !messageTypes.includes(type)), [], 'rows of no handler');
  assert.deepEqual(messageTypes.filter((type) => !seen.has(type)), [], 'handlers without a row');
});
