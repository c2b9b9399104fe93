// What the page tells an LMS (web/logic/assignments/scorm.js): time in each
// version's form, pass or fail at the edges of the pass mark, and every pair
// that a result sets, in SCORM 1.2's and 2004's words.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { timespan, standing, report, passMarkOf } from '../../../web/logic/assignments/scorm.js';

test('time reads in each version\'s form', () => {
  // seconds, 1.2, 2004
  const cases = [
    [0, '00:00:00.00', 'PT0S'], [0.004, '00:00:00.00', 'PT0S'], [0.005, '00:00:00.01', 'PT0.01S'], [7.5, '00:00:07.50', 'PT7.5S'],
    [60, '00:01:00.00', 'PT1M'], [3723.25, '01:02:03.25', 'PT1H2M3.25S'], [59.999, '00:01:00.00', 'PT1M'],
    [360000 * 3, '300:00:00.00', 'PT300H'], [3600 * 12000, '9999:59:59.99', 'PT12000H'], [-5, '00:00:00.00', 'PT0S'], [NaN, '00:00:00.00', 'PT0S'],
  ];
  assert.deepEqual(cases.map(([s]) => [s, timespan('1.2', s), timespan('2004', s)]), cases);
});

test('a result is done once every stage asked is answered, and passes at its mark', () => {
  const stages = (n) => Array(n).fill({ id: 'x', firstAnswer: '1', right: true, latencyMs: 0 });
  // stages answered, asked, right first time, pass mark → done, passed
  const cases = [
    [1, 3, 1, 0.5, false, null], [3, 3, 1, 0.5, true, false], [4, 4, 2, 0.5, true, true], [3, 3, 2, 2 / 3, true, true],
    [3, 3, 3, null, true, null], [0, 0, 0, 0.5, false, null], [9, 9, 8, 0.9, true, false], [10, 10, 7, 0.7, true, true],
  ];
  for (const [answered, asked, rightFirstTime, passMark, done, passed] of cases)
    assert.deepEqual(standing({ stages: stages(answered), asked, rightFirstTime, passMark }), { done, passed }, `${rightFirstTime}/${asked} at ${passMark}`);
});

const result = {
  name: 'Kim, Minji', asked: 2, rightFirstTime: 1, passMark: 0.5, seconds: 95.5, suspend: '1a1.2.~0',
  stages: [{ id: 'stage 2 (pivoted)', firstAnswer: ['2 1 3', '0.5'], right: true, latencyMs: 65000 },
           { id: 'stage-3', firstAnswer: '-1', right: false, latencyMs: 4200 }],
};

test('a result is reported in each version\'s elements and vocabulary', () => {
  assert.deepEqual(report('1.2', result), [
    ['cmi.core.lesson_status', 'passed'], ['cmi.core.score.raw', '1'], ['cmi.core.score.min', '0'], ['cmi.core.score.max', '2'],
    ['cmi.interactions.0.id', 'stage-2--pivoted-'], ['cmi.interactions.0.type', 'fill-in'], ['cmi.interactions.0.student_response', '2 1 3; 0.5'],
    ['cmi.interactions.0.result', 'correct'], ['cmi.interactions.0.latency', '00:01:05.00'],
    ['cmi.interactions.1.id', 'stage-3'], ['cmi.interactions.1.type', 'fill-in'], ['cmi.interactions.1.student_response', '-1'],
    ['cmi.interactions.1.result', 'wrong'], ['cmi.interactions.1.latency', '00:00:04.20'],
    ['cmi.core.session_time', '00:01:35.50'], ['cmi.core.exit', ''], ['cmi.suspend_data', '1a1.2.~0'],
  ]);
  assert.deepEqual(report('2004', { ...result, asked: 3, passMark: 0.9 }, 1), [
    ['cmi.completion_status', 'incomplete'], ['cmi.success_status', 'unknown'],
    ['cmi.score.raw', '1'], ['cmi.score.min', '0'], ['cmi.score.max', '3'], ['cmi.score.scaled', '0.3333'],
    ['cmi.interactions.1.id', 'stage-3'], ['cmi.interactions.1.type', 'long-fill-in'], ['cmi.interactions.1.learner_response', '-1'],
    ['cmi.interactions.1.result', 'incorrect'], ['cmi.interactions.1.latency', 'PT4.2S'],
    ['cmi.session_time', 'PT1M35.5S'], ['cmi.exit', 'suspend'], ['cmi.suspend_data', '1a1.2.~0'],
  ]);
});

test('each version words done, passed and failed in its own vocabulary', () => {
  const statuses = ['cmi.core.lesson_status', 'cmi.completion_status', 'cmi.success_status', 'cmi.core.exit', 'cmi.exit'];
  // stages answered of 2, right first time, pass mark → 1.2's status and exit, 2004's completion, success and exit
  const cases = [
    [2, 2, null, 'completed', '', 'completed', 'unknown', 'normal'], [2, 0, 0.5, 'failed', '', 'completed', 'failed', 'normal'],
    [1, 1, 0.5, 'incomplete', 'suspend', 'incomplete', 'unknown', 'suspend'], [2, 1, 0.5, 'passed', '', 'completed', 'passed', 'normal'],
  ];
  for (const [answered, rightFirstTime, passMark, ...expected] of cases) {
    const r = { ...result, stages: result.stages.slice(0, answered), rightFirstTime, passMark };
    const pairs = Object.fromEntries([...report('1.2', r), ...report('2004', r)]);
    assert.deepEqual(statuses.map((e) => pairs[e]), [expected[0], expected[2], expected[3], expected[1], expected[4]], JSON.stringify(r));
  }
});

test('what exceeds a version\'s limits is cut or left out', () => {
  const long = { ...result, suspend: 'x'.repeat(4097), stages: [{ ...result.stages[1], firstAnswer: '9'.repeat(5000) }] };
  const [v12, v2004] = ['1.2', '2004'].map((v) => Object.fromEntries(report(v, long)));
  assert.deepEqual([v12['cmi.suspend_data'], v12['cmi.interactions.0.student_response'].length], [undefined, 255]);
  assert.deepEqual([v2004['cmi.suspend_data'].length, v2004['cmi.interactions.0.learner_response'].length], [4097, 4000]);
});

test('an LMS\'s pass mark reads as a share', () => {
  // version, value, stages asked, share
  const cases = [['1.2', '8', 10, 0.8], ['1.2', '', 10, null], ['1.2', '11', 10, null], ['1.2', '3', undefined, null],
    ['2004', '0.75', 4, 0.75], ['2004', '-0.5', 4, null], ['2004', 'abc', 4, null], ['2004', undefined, 4, null], ['1.2', ' 6 ', 10, 0.6]];
  assert.deepEqual(cases.map(([v, value, asked]) => passMarkOf(v, value, asked)), cases.map((c) => c[3]));
});
