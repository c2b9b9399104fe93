// What the page tells an LMS (web/logic/assignments/scorm.js): time in each
// version's form, pass or fail at the edges of the pass mark, every pair
// that a result sets, in SCORM 1.2's and 2004's words, and of those, what a
// student's work through a real session (classwork.js) writes, answer by answer.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import { needsBuild, programs } from './programs.js';
import { worked, monday9 } from './classwork.js';
import { timespan, standing, report, passMarkOf, opened, writes, refused, closing } from '../../../web/logic/assignments/scorm.js';
import { assignment } from '../../../web/logic/assignments/assignment.js';
import { kept, handIn } from '../../../web/logic/assignments/work.js';
import { stored } from '../../../web/logic/practice/session.js';

before(programs);

test('time reads in each version\'s form', () => {
  // seconds, 1.2, 2004
  const cases = [
    [0, '00:00:00.00', 'PT0S'], [0.004, '00:00:00.00', 'PT0S'], [0.005, '00:00:00.01', 'PT0.01S'], [7.5, '00:00:07.50', 'PT7.5S'],
    [60, '00:01:00.00', 'PT1M'], [3723.25, '01:02:03.25', 'PT1H2M3.25S'], [59.999, '00:01:00.00', 'PT1M'],
    [360000 * 3, '300:00:00.00', 'PT300H'], [3600 * 12000, '9999:59:59.99', 'PT12000H'], [-5, '00:00:00.00', 'PT0S'], [NaN, '00:00:00.00', 'PT0S'],
  ];
  assert.deepEqual(cases.map(([s]) => [s, timespan('1.2', s), timespan('2004', s)]), cases);
});

test('a result is scored once the work is over, and passes at its mark as each version compares them', () => {
  // version, asked, right first time, over, pass mark → raw, scaled, passed
  const cases = [
    ['1.2', 3, 1, false, 0.5, 33.33, 0.3333, null], ['1.2', 3, 1, true, 0.5, 33.33, 0.3333, false], ['1.2', 4, 2, true, 0.5, 50, 0.5, true],
    ['1.2', 3, 2, true, 0.6667, 66.67, 0.6667, true], ['2004', 3, 2, true, 0.6667, 66.67, 0.6667, true], ['2004', 3, 2, true, 0.66671, 66.67, 0.6667, true],
    ['1.2', 3, 2, true, 0.66671, 66.67, 0.6667, true], ['2004', 9, 8, true, 0.9, 88.89, 0.8889, false], ['1.2', 3, 3, true, null, 100, 1, null],
    ['2004', 0, 0, true, 0.5, 0, 0, false], ['1.2', 7, 9, true, 1, 100, 1, true],
  ];
  for (const [version, asked, rightFirstTime, final, passMark, raw, scaled, passed] of cases)
    assert.deepEqual(standing(version, { stages: [], asked, rightFirstTime, final, passMark }), { final, raw, scaled, passed }, `${version}: ${rightFirstTime}/${asked} at ${passMark}`);
  assert.equal(standing('1.2', { stages: [{}, {}], asked: 2, rightFirstTime: 1, passMark: null }).final, true, 'without final: every stage asked done');
});

const result = {
  name: 'Kim, Minji', asked: 2, rightFirstTime: 1, final: true, passMark: 0.5, suspend: 'W21a1.2.~0',
  stages: [{ id: 'stage 2 (pivoted)', firstAnswer: ['2 1 3', '0.5'], right: true, latencyMs: 65000 },
           { id: 'stage-3', firstAnswer: '-1', right: false, latencyMs: null }],
};

test('a result is reported in each version\'s elements and vocabulary', () => {
  assert.deepEqual(report('1.2', result), [
    ['cmi.core.lesson_status', 'passed'], ['cmi.core.score.raw', '50'], ['cmi.core.score.min', '0'], ['cmi.core.score.max', '100'],
    ['cmi.interactions.0.id', 'stage-2--pivoted-'], ['cmi.interactions.0.type', 'fill-in'], ['cmi.interactions.0.student_response', '2 1 3; 0.5'],
    ['cmi.interactions.0.result', 'correct'], ['cmi.interactions.0.latency', '00:01:05.00'],
    ['cmi.interactions.1.id', 'stage-3'], ['cmi.interactions.1.type', 'fill-in'], ['cmi.interactions.1.student_response', '-1'],
    ['cmi.interactions.1.result', 'wrong'], ['cmi.core.exit', ''], ['cmi.suspend_data', 'W21a1.2.~0'],
  ]);
  assert.deepEqual(report('2004', { ...result, asked: 3, passMark: 0.9 }, 1), [
    ['cmi.completion_status', 'completed'], ['cmi.success_status', 'failed'],
    ['cmi.score.raw', '33.33'], ['cmi.score.min', '0'], ['cmi.score.max', '100'], ['cmi.score.scaled', '0.3333'],
    ['cmi.interactions.1.id', 'stage-3'], ['cmi.interactions.1.type', 'long-fill-in'], ['cmi.interactions.1.learner_response', '-1'],
    ['cmi.interactions.1.result', 'incorrect'], ['cmi.exit', 'normal'], ['cmi.suspend_data', 'W21a1.2.~0'],
  ]);
  assert.deepEqual(closing('2004', 1000, 96500), [['cmi.session_time', 'PT1M35.5S']]);
});

test('each version words done, passed and failed in its own vocabulary, and a paused student is neither', () => {
  const statuses = ['cmi.core.lesson_status', 'cmi.completion_status', 'cmi.success_status', 'cmi.core.exit', 'cmi.exit', 'cmi.core.score.raw', 'cmi.score.scaled'];
  // over, right first time, pass mark → 1.2's status, exit and raw score, 2004's completion, success, exit and scaled score
  const cases = [
    [true, 2, null, 'completed', '', '100', 'completed', 'unknown', 'normal', '1'], [true, 0, 0.5, 'failed', '', '0', 'completed', 'failed', 'normal', '0'],
    [false, 1, 0.5, 'incomplete', 'suspend', undefined, 'incomplete', undefined, 'suspend', undefined], [true, 1, 0.5, 'passed', '', '50', 'completed', 'passed', 'normal', '0.5'],
  ];
  for (const [final, rightFirstTime, passMark, ...expected] of cases) {
    const r = { ...result, final, rightFirstTime, passMark };
    const pairs = Object.fromEntries([...report('1.2', r), ...report('2004', r)]);
    assert.deepEqual(statuses.map((e) => pairs[e]), [0, 3, 4, 1, 5, 2, 6].map((i) => expected[i]), JSON.stringify(r));
  }
});

test('what exceeds a version\'s limits is cut or left out', () => {
  const long = { ...result, suspend: 'x'.repeat(4097), stages: [{ ...result.stages[1], firstAnswer: '9'.repeat(5000) }] };
  const [v12, v2004] = ['1.2', '2004'].map((v) => Object.fromEntries(report(v, long)));
  assert.deepEqual([v12['cmi.suspend_data'], v12['cmi.interactions.0.student_response'].length], [undefined, 255]);
  assert.deepEqual([v2004['cmi.suspend_data'].length, v2004['cmi.interactions.0.learner_response'].length], [4097, 4000]);
});

test('an LMS\'s pass mark reads as a share: 1.2\'s mastery score a percentage', () => {
  // version, value, share
  const cases = [['1.2', '80', 0.8], ['1.2', '', null], ['1.2', '101', null], ['1.2', ' 62.5 ', 0.625], ['2004', '0.75', 0.75], ['2004', '-0.5', null],
    ['2004', 'abc', null], ['2004', undefined, null], ['2004', '1.5', null]];
  assert.deepEqual(cases.map(([v, value]) => passMarkOf(v, value)), cases.map((c) => c[2]));
});

// A 6-stage run (gjinverse of order 2, from the scaling), each stage right,
// the second after a wrong answer; a minute an answer. What each change sets
// and whether it commits: the answers that finish no stage set the saved work
// alone; a stage done sets its interaction and commits; hand-in scores.
test('the LMS is told only what changed, commits at a stage done and at hand-in, and never rewrites an earlier session\'s stages', needsBuild, () => {
  const a = assignment({ seed: 7, order: 2 });
  const told = (version, writer, plan, started, handed = false) => {
    const sets = [];
    let [now, last] = [started, null];
    const each = (student, practice, m) => {
      last = { student, practice, m };
      const work = kept(student, stored(practice), practice.finished);
      const w = writes(writer, { a, m, practice, kept: work, now: now += 60000, started, suspend: `S${now}` });
      sets.push([...w.pairs.map(([element]) => element.replace(/^cmi\.(core\.|interactions\.)?/, '')), ...(w.commit ? ['commit'] : [])]);
      writer = w.writer;
    };
    worked(a, 'Kim', plan, started, each);
    if (handed) each(handIn(last.student, now), last.practice, last.m);
    return { sets, writer };
  };
  const first = told('1.2', opened('1.2', { passMark: '50' }), ['first', 'tries'], monday9);
  const answers = (n) => Array(n).fill(['suspend_data']);
  const stage = (n) => [`${n}.id`, `${n}.type`, `${n}.student_response`, `${n}.result`, `${n}.latency`, 'suspend_data', 'commit'];
  assert.deepEqual(first.sets, [['lesson_status', 'exit', 'suspend_data', 'commit'], ...answers(5), stage(0), ...answers(6), stage(1)]);
  // The next session: the LMS holds both interactions; the two stages done before are not timed.
  const work = { result: worked(a, 'Kim', ['first', 'tries']).student.result };
  const again = told('1.2', opened('1.2', { since: 2, passMark: '50', work }), Array(6).fill('first'), monday9 + 3600000, true);
  assert.ok(again.sets.flat().every((element) => !/^[01]\./.test(element)), 'interactions 0 and 1 stay as they are');
  assert.deepEqual(again.sets.slice(-2), [['lesson_status', 'score.raw', 'score.min', 'score.max', ...stage(5).slice(0, 5), 'exit', 'suspend_data', 'commit'],
    ['suspend_data', 'commit']], 'scored when the last stage is done; handed in, committed');
  assert.deepEqual([again.writer.written.get('cmi.core.lesson_status'), again.writer.written.get('cmi.core.score.raw')], ['passed', '100']);
  const unknown = told('2004', opened('2004', { work }), ['first'], monday9).writer;
  assert.deepEqual([...unknown.written.keys()].filter((e) => e.endsWith('latency')), [], 'no time for a stage finished in an earlier session');
  const retried = refused(first.writer, ['cmi.suspend_data']);
  assert.deepEqual([retried.written.has('cmi.suspend_data'), retried.committed, refused(first.writer, []).committed], [false, null, first.writer.committed]);
});
