// The adapter that makes every call to an LMS (web/views/assignments/lms.js),
// on a stand-in SCORM 1.2 API: what the page is told as the LMS opens, throws
// or refuses; what a refused write costs (it is written again, and
// committed, with the next change); the pass mark read once; the session
// ended once, as the page is hidden, and nothing told after.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import { needsBuild, programs } from './programs.js';
import { worked, monday9 } from './classwork.js';
import { connect } from '../../../web/views/assignments/lms.js';
import { assignment } from '../../../web/logic/assignments/assignment.js';
import { kept } from '../../../web/logic/assignments/work.js';
import { stored } from '../../../web/logic/session.js';

before(programs);

// A window offering a stand-in 1.2 API: GetValue gives values[element] (''
// where none), a call named in throws throws, refuse(call, element) says
// which calls answer 'false'. Every call is noted.
function around({ values = {}, throws = [], refuse = () => false } = {}) {
  const calls = [];
  const api = {};
  for (const name of ['LMSInitialize', 'LMSGetValue', 'LMSSetValue', 'LMSCommit', 'LMSFinish', 'LMSGetLastError'])
    api[name] = (...args) => {
      calls.push([name.slice(3), ...args]);
      if (throws.includes(name)) throw new Error(name);
      if (name === 'LMSGetValue') return values[args[0]] ?? '';
      return name === 'LMSGetLastError' ? '0' : refuse(name, args[0]) ? 'false' : 'true';
    };
  const heard = {};
  const w = { API: api, addEventListener: (type, listener) => { heard[type] = listener; } };
  w.parent = w;
  return { w, calls, heard };
}

// Connects to the LMS around w: what the page was told, and the session (or null).
function opened(w) {
  const told = [];
  const session = connect(w, (message) => told.push(message));
  return { told, session };
}

test('as the LMS opens, the page is told its outcome, a call that throws giving no value', () => {
  const named = { 'cmi.core.student_name': 'Kim, Minji', 'cmi.suspend_data': 'W2abc' };
  const connected = (name, suspend) => [{ type: 'lms', outcome: 'connected', version: '1.2', name, suspend }];
  // the LMS, what the page is told, whether a session is open
  const cases = [
    ['names the student', { values: named }, connected('Kim, Minji', 'W2abc'), true],
    ['throws on every GetValue', { values: named, throws: ['LMSGetValue'] }, connected('', ''), true],
    ['refuses to start', { refuse: (call) => call === 'LMSInitialize' }, [{ type: 'lms', outcome: 'refused' }], false],
    ['throws as it starts', { throws: ['LMSInitialize'] }, [{ type: 'lms', outcome: 'refused' }], false],
  ];
  for (const [what, lms, told, open] of cases) {
    const result = opened(around(lms).w);
    assert.deepEqual([result.told, result.session !== null], [told, open], what);
  }
  const nowhere = { addEventListener() {} };
  nowhere.parent = nowhere;
  assert.deepEqual(opened(nowhere), { told: [], session: null }, 'outside an LMS: nothing');
});

test('a write the LMS refused is written again and committed with the next change; the session ends once', needsBuild, () => {
  const a = assignment({ seed: 7, order: 2 });
  let refusing = true;
  const lms = around({ values: { 'cmi.student_data.mastery_score': '50' }, refuse: (call, element) => refusing && element === 'cmi.suspend_data' });
  const { session } = opened(lms.w);
  const taken = [];
  const marks = [];
  worked(a, 'Kim', ['tries'], monday9, (student, practice, m) => {
    marks.push(lms.calls.length);
    taken.push(session.tell({ a, m, practice, kept: kept(student, stored(practice), practice.finished), now: monday9 + 60000 * taken.length }));
    refusing = false;
  });
  const sets = (from, to) => lms.calls.slice(from, to).map(([call, element]) => (call === 'SetValue' ? element : call));
  assert.deepEqual(taken.slice(0, 3), [false, true, true]);
  assert.deepEqual([sets(marks[0], marks[1]), sets(marks[1], marks[2]), sets(marks[2], marks[3])],
    [['cmi.core.lesson_status', 'cmi.core.exit', 'cmi.suspend_data', 'Commit'], ['cmi.suspend_data', 'Commit'], ['cmi.suspend_data']],
    'refused, then written again and committed, then what changed alone');
  assert.equal(lms.calls.filter(([call, element]) => call === 'GetValue' && element === 'cmi.student_data.mastery_score').length, 1, 'the pass mark read once');
  const before = lms.calls.length;
  lms.heard.pagehide();
  lms.heard.beforeunload();
  assert.deepEqual(sets(before).map((c) => c.replace(/^cmi\.core\./, '')), ['session_time', 'Commit', 'Finish'], 'ended once');
  assert.equal(session.tell({ a, m: null, practice: null, kept: null, now: 0 }), false, 'nothing told after the end');
  assert.equal(lms.calls.length, before + 3);
});
