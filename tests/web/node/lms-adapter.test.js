// The adapter that makes every call to an LMS (web/views/assignments/lms.js),
// on a stand-in SCORM 1.2 API: what the page is told as the LMS opens, throws
// or refuses. What it writes is scorm.js's (lms.test.js); the browser's LMS
// scenario counts its calls.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { connect } from '../../../web/views/assignments/lms.js';

// A window offering a stand-in 1.2 API: GetValue gives values[element] (''
// where none), a call named in throws throws, refuse(call) says which calls
// answer 'false'.
function around({ values = {}, throws = [], refuse = () => false } = {}) {
  const api = {};
  for (const name of ['LMSInitialize', 'LMSGetValue', 'LMSSetValue', 'LMSCommit', 'LMSFinish', 'LMSGetLastError'])
    api[name] = (element) => {
      if (throws.includes(name)) throw new Error(name);
      return name === 'LMSGetValue' ? values[element] ?? '' : name === 'LMSGetLastError' ? '0' : String(!refuse(name));
    };
  const w = { API: api, addEventListener() {} };
  w.parent = w;
  return w;
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
    const result = opened(around(lms));
    assert.deepEqual([result.told, result.session !== null], [told, open], what);
  }
  const nowhere = { addEventListener() {} };
  nowhere.parent = nowhere;
  assert.deepEqual(opened(nowhere), { told: [], session: null }, 'outside an LMS: nothing');
});
