// The saved work in an LMS's suspend_data (web/logic/assignments/suspend.js):
// read back as written, within SCORM 1.2's 4,096 characters for the largest session that
// practice keeps, printable ASCII without what form-encoding changes, null for
// a string cut or altered, and the work that the page saved before read as it was.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import { needsBuild, programs } from './programs.js';
import { encode, decode, encodeWork, decodeWork } from '../../../web/logic/assignments/suspend.js';
import { write, read } from '../../../web/logic/assignments/result-code.js';
import { make } from '../../../web/logic/practice/exercises.js';
import { questions, invertibility, answerOf, check, isMiss } from '../../../web/logic/practice/check.js';

before(programs);

const right = { right: true, note: null, slip: null };
const given = (text, verdict = right, more = {}) => ({ text, alone: false, choice: null, verdict, zero: false, ...more });
const stage = (answers, more = {}) => ({ answers, wrong: false, hints: 0, shown: false, ...more });

test('saved work reads back as it was written', () => {
  const cases = [
    ['nothing answered yet', { from: 2, fill: 'row', current: 2, stages: [null, null, stage([])] }],
    ['a wrong answer, a close one and a note', { from: 1, fill: 'all', current: 2, stages: [null,
      stage([['divisor 1', given('-9')], ['divisor 2', given('5', { right: false, note: null, slip: 'sign' })],
             ['entry 1 2', given('0.89', { right: false, note: null, slip: 'closeDigits' })],
             ['entry 2 1', given('-0', { right: true, note: 'negativeZero', slip: null }, { zero: true })]], { wrong: true, hints: 3 }),
      stage([['order', given('2 1 4 3')], ['r 2', given(null, right, { alone: true })], ['r 3', given('alone', right, { alone: true })]])] }],
    ['invertibility, shown, a stage not made, every fill', { from: 3, fill: 'none', current: 5, stages: [null, null, null,
      stage([['invertible', given(null, { right: false, note: null, slip: 'singular' }, { choice: 'no' })]], { shown: true, hints: 1 }), null,
      stage([], { hints: 8, wrong: true })] }],
    ['typed text beyond the short forms', { from: 1, fill: 'row', current: 1, stages: [null,
      stage([['entry 12 40', given('−2,5; 1/3 ! ~ % \' 가')], ['x 3', given('')], ['unheard of', given('1', { right: false, note: 'new', slip: 'other' }, { choice: 'maybe' })]])] }],
  ];
  for (const [what, saved] of cases) {
    const text = encode(saved);
    assert.match(text, /^[\x20-\x7e]*$/, what);
    assert.deepEqual(decode(text), saved, what);
  }
});

test('a string cut short, altered or of another version reads as nothing', () => {
  const text = encode({ from: 1, fill: 'all', current: 1, stages: [null, stage([['entry 1 1', given('0.5')], ['divisor 2', given('2', { right: false, note: null, slip: 'sign' })]])] });
  const altered = ['', '2' + text.slice(1), text.slice(0, -1), text.slice(0, -3), text.replace('~', '!'), text.replace('.', ''),
    text.replace(/0$/, "'x"), text + '~', text + 'Z9,', text.replace('!0', '!G'), text.replace('!0', '!8'), text.replace('0.5', '0%E'),
    text.replace('~0', '~_'), text.replace('~0', '~!'), text.replace('!004', '!00F4'), text.replace('2!', '2\''), '1a1.1.~0%E2,', null, 42];
  for (const bad of altered) assert.equal(decode(bad), null, String(bad));
});

// The largest session: an order-4 inverse asked from the scaling with every
// entry, each field answered, every third one first wrongly then rightly.
test('an order-4 inverse with every entry asked fits in 4,096 characters', needsBuild, () => {
  const m = make({ program: 'gjinverse', order: 4, seed: 7, options: [] }).model;
  const stages = [null];
  for (let k = 1; k < m.stages.length; k++) {
    const answers = new Map();
    let wrong = false;
    [invertibility(m, k), ...questions(m, k, 'all')].filter(Boolean).forEach((q, i) => {
      const expected = answerOf(q);
      const typed = q.kind === 'invertible' ? { choice: expected } : expected === null ? { alone: true } : { text: expected };
      if (i % 3 === 0 && q.kind === 'number') {
        const slip = check(q, { text: `${expected}1` });
        wrong ||= isMiss(slip);
      }
      answers.set(q.key, { text: typed.text ?? null, alone: typed.alone === true, choice: typed.choice ?? null, verdict: check(q, typed), zero: false });
    });
    stages.push(stage([...answers], { wrong, hints: k % 4 }));
  }
  const saved = { from: 1, fill: 'all', current: m.stages.length - 1, stages };
  const text = encode(saved);
  assert.ok(stages.flatMap((s) => s?.answers ?? []).length > 350, 'every entry of every stage is asked');
  assert.ok(text.length <= 4096, `${text.length} characters`);
  assert.deepEqual(decode(text), saved);
  // With the result that it hands in, each first answer as typed, and its code.
  const result = { id: 'ABCDEFG', name: 'Kim, Minji', started: 1796000000000, handed: 1796000000000, stages: stages.slice(1).map((st, i) =>
    ({ k: i + 1, done: true, right: !st.wrong, tries: st.answers.length + 3, hints: st.hints, shown: false,
       first: st.answers.map(([, a], j) => (a.choice ? { choice: a.choice } : a.alone ? { alone: true } : { text: j % 3 === 0 ? `${a.text}1` : a.text })) })) };
  const work = { progress: saved, finished: true, result, handed: write({ ...result, handed: 1796003600000 }) };
  const written = encodeWork(work);
  assert.ok(written.length <= 4096, `${written.length} characters, with the result`);
  assert.deepEqual(decodeWork(written), { ...work, result: read(write(result)) });
  assert.match(written, /^W2[A-Za-z0-9_-]+$/);
  for (const bad of [written.slice(0, -4), 'W3' + written.slice(2), 'W1' + written.slice(2), text, '', null]) assert.equal(decodeWork(bad), null);
  // Progress that cannot be read: the result and the code handed in are kept, the progress starts afresh, and is said lost.
  const unread = decodeWork(encodeWork({ ...work, progress: { ...saved, from: 36 ** 4 } }));
  assert.deepEqual(unread, { progress: null, finished: false, result: read(write(result)), handed: work.handed, lost: true });
});

// Saved by commit 6089909's page ("W1", base64): a slip of its 15 as a digit,
// another quoted; and the digits of the slips, pinned (check.slipNames only grows).
test('work saved as "W1" by the page before reads as it did; each slip keeps its digit', () => {
  const old = decodeWork('W1BUAxCoAgFN29RVNLxftfK1srKQoDFSS6QFtCi1tnDyJqqPnambiauZYFUOY3PbdPuYSAWDZPjgeloxz5kisQzGEmnMbFEJXesSrWo7OA7dl1nfgB');
  const slips = old.progress.stages[1].answers.map(([key, a]) => [key, a.text, a.verdict.slip]);
  assert.deepEqual([slips, old.result.name, old.result.stages[0].first[0], old.finished, old.handed],
    [[['divisor 1', '2', null], ['divisor 2', '-3', 'wrongRow']], '김민수', { text: '2' }, false, null]);
  assert.deepEqual(decodeWork(encodeWork(old)), old);
  const saved = (slip) => ({ from: 1, fill: 'row', current: 1, stages: [null, stage([['r 2', given('1', { right: false, note: null, slip })]])] });
  assert.deepEqual(['sign', 'invertible', 'wrongRow', 'manySolutions'].map((slip) => encode(saved(slip))),
    ['111.1.~0R21!0040', '111.1.~0R21!00e0', '111.1.~0R21!00g0', '111.1.~0R21!00p0']);
});
