// The adapter that makes every call to an LMS (web/page/lms.js), on a
// stand-in SCORM 1.2 API: what the page is told as the LMS opens, throws or
// refuses, in the answers of Moodle (strings) and of others (true); how the
// calls that the state asks for are made, a task each while the LMS is slow,
// and what the page hears of them; and the end of the session as the page
// goes. What it writes is scorm.js's (lms.test.js); the browser's LMS
// scenario counts its calls.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { connect } from '../../../web/page/lms.js';

// A window offering a stand-in 1.2 API: GetValue gives values[element] (''
// where none), a call named in throws throws, refuse(call, element) says
// which calls answer 'false' (GetLastError then answers error(element)), and
// the others answer yes. Each call takes ms, and is noted in w.calls as
// [call, element, the task it ran in].
function around({ values = {}, throws = [], refuse = () => false, error = () => '101', yes = 'true', ms = 0 } = {}) {
  const [api, calls, listeners] = [{}, [], {}];
  let [task, inTask, last] = [0, false, '0'];
  for (const name of ['LMSInitialize', 'LMSGetValue', 'LMSSetValue', 'LMSCommit', 'LMSFinish', 'LMSGetLastError'])
    api[name] = (element) => {
      if (!inTask) [task, inTask] = [task + 1, true], queueMicrotask(() => { inTask = false; });
      calls.push([name, element, task]);
      for (const until = performance.now() + ms; performance.now() < until;);
      if (throws.includes(name)) throw new Error(name);
      if (name === 'LMSGetValue') return values[element] ?? '';
      if (name === 'LMSGetLastError') return last;
      last = refuse(name, element) ? error(element) : '0';
      return last === '0' ? yes : 'false';
    };
  const w = { API: api, calls, listeners, addEventListener: (type, fn) => { listeners[type] = fn; } };
  w.parent = w;
  return w;
}

// Connects to the LMS around w: what the page was told (its times left out), and the session (or null).
function opened(w) {
  const told = [];
  const session = connect(w, ({ now, ...message }) => told.push(message));
  return { told, session };
}

test('as the LMS opens, the page is told its outcome, a call that throws giving no value', () => {
  const named = { 'cmi.core.student_name': 'Kim, Minji', 'cmi.suspend_data': 'W2abc', 'cmi.interactions._count': '3', 'cmi.student_data.mastery_score': '80' };
  const connected = (name, suspend, since = 0, passMark = '') => [{ type: 'lms', outcome: 'connected', version: '1.2', name, suspend, since, passMark }];
  // the LMS, what the page is told, whether a session is open
  const cases = [
    ['names the student', { values: named }, connected('Kim, Minji', 'W2abc', 3, '80'), true],
    ['answers true rather than "true"', { values: named, yes: true }, connected('Kim, Minji', 'W2abc', 3, '80'), true],
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

// An LMS whose every call outlasts a slice of the page's work.
test('the calls asked are made in order, a task each while the LMS is slow; what it refuses for now is reported, not what it never takes', async () => {
  const refusing = ['cmi.core.exit', 'cmi.interactions.0.id'];
  const w = around({ ms: 10, refuse: (call, element) => refusing.includes(element), error: (element) => (element === 'cmi.core.exit' ? '405' : ' 101 ') });
  const { told, session } = opened(w);
  const from = w.calls.length;
  session.tell({ pairs: [['cmi.core.lesson_status', 'incomplete'], ['cmi.core.exit', 'x'], ['cmi.interactions.0.id', 'a']], commit: true });
  session.tell({ pairs: [['cmi.suspend_data', 'W2']], handIn: true, sent: 2 });
  assert.equal(w.calls.length, from, 'none in the task that asks');
  while (told.length < 3) await new Promise((done) => setTimeout(done, 5));
  const made = w.calls.slice(from).filter(([call]) => call !== 'LMSGetLastError');
  assert.deepEqual(made.map(([call, element]) => element ?? call), ['cmi.core.lesson_status', 'cmi.core.exit', 'cmi.interactions.0.id', '', 'cmi.suspend_data']);
  assert.equal(new Set(made.map(([, , task]) => task)).size, made.length, 'a call a task');
  assert.deepEqual(told.slice(1), [{ type: 'reported', failed: ['cmi.interactions.0.id'], handIn: false, commit: true, sent: 0 },
    { type: 'reported', failed: [], handIn: true, commit: false, sent: 2 }]);
  // The page going: the state's last batch, then the session's end, at once; nothing after.
  session.tell({ pairs: [['cmi.suspend_data', 'W2y']] });
  w.listeners.pagehide();
  assert.deepEqual(w.calls.slice(-3).map(([call, element]) => [call, element]), [['LMSSetValue', 'cmi.suspend_data'], ['LMSCommit', ''], ['LMSFinish', '']]);
  assert.deepEqual(told.slice(3), [{ type: 'lmsClosing' }, { type: 'reported', failed: [], handIn: false, commit: false, sent: 0 }]);
  session.tell({ pairs: [['cmi.suspend_data', 'W2z']] });
  w.listeners.beforeunload();
  assert.equal(w.calls.at(-1)[0], 'LMSFinish');
});
