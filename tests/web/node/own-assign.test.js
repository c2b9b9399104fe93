// Assignments of the student's own row operations under node: the own result
// through its GJY1 or GJY2 code and back, the teacher's table over codes that real own
// work on each student's matrix wrote (classwork.js ownWorked), its CSV and
// drill-down, and what the LMS is told and keeps of such work.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import { needsBuild, programs } from './programs.js';
import { ownWorked, ownCode, monday9 } from './classwork.js';
import * as A from '../../../web/logic/assignments/assignment.js';
import * as R from '../../../web/logic/assignments/result-code.js';
import { restoredWork } from '../../../web/logic/assignments/own-result.js';
import { results, detailing, ownCell, newMemo, memoOf } from '../../../web/logic/assignments/results.js';
import { resultsCsv } from '../../../web/logic/assignments/set-results.js';
import { ownResultOf, report } from '../../../web/logic/assignments/scorm.js';
import { encodeWork, decodeWork } from '../../../web/logic/assignments/suspend.js';
import { matrixAt } from '../../../web/logic/own/work.js';
import { meaning } from '../../../web/logic/own/reading.js';
import { format } from '../../../web/logic/run/exact.js';
import { translator } from '../../../web/logic/language/translate.js';

before(programs);

const own = (ops, answer, checks = { tries: 3, shown: 1, hints: 2 }) =>
  ({ id: 'WPD0D0R', name: '김민수', started: 1796720400000, handed: 1796720460000, stages: [], own: { ops, ...checks, answer } });
const op = (text, first = null, shown = false) => ({ op: text, first, shown });

// Faults: a field of the GJY1 layout written or read out of step (an op's
// rows or factor, a first row, shown, a choice, the values), a reading typed
// in full written or read out of step, or in a code an older page reads as
// its own, an older page's code no longer read, an entry kept past
// maxAnswer, an own result refused by isResult or missed by find and
// salvage, an altered code read, a code past the longest that no page reads.
test('an own result reads back from its code whole, entries cut as answers are, and one altered is caught', () => {
  const long = ['−1/３', '1'.repeat(70), ...Array(18).fill('0.25')];
  const cases = [own([], null, { tries: 0, shown: 0, hints: 0 }), own([op('s1.3'), op('c2:-1/3'), op('a3.1:12'), op('a10.9:-1234567/89')], { choice: 'yes', values: null }),
    own([op('c1:1/2', long), op('a2.1:-3', ['1', '2'], true), op('c3:5', null, true)], { choice: 'one', values: ['1', '-2/3', 'x'] }),
    ...['no', 'zero', 'many'].map((choice) => own([op('s2.1')], { choice, values: null })),
    own([op('s1.2')], { set: 'x1 = 4 − 2t, x2 = t, x3 = 1 (t는 임의의 실수)' }), own([], { set: null }), own([op('c1:2')], { inverse: '1 -1/2\n-1, 2.5' }),
    own([], { inverse: null }), own([], { rank: '2', columns: '1, 3열' })];
  for (const r of cases) {
    const code = R.write(r);
    assert.match(code, r.own.answer === null || 'choice' in r.own.answer ? /^GJY1[0-9A-Z]+$/ : /^GJY2[0-9A-Z]+$/);
    const cut = (o) => ({ ...o, first: o.first && o.first.map((x) => x.normalize('NFKC').replace('−', '-').slice(0, 64)) });
    assert.deepEqual(R.read(code), { ...r, own: { ...r.own, ops: r.own.ops.map(cut) } });
    assert.deepEqual([R.isResult(r), R.find(`코드: ${code.match(/.{1,20}/g).join(' ')}`), R.salvage(code.slice(0, -6) + '000000')],
      [true, [code], { id: r.id, name: r.name }]);
    assert.ok(R.read(code.slice(0, -1) + (code.at(-1) === 'A' ? 'B' : 'A')).problem);
  }
  const odd = [{ ops: [], stages: [{}] }, { ops: [op('x1')] }, { ops: [op('c1:1', 'x')] }, { answer: { choice: 'maybe', values: null } }, { hints: -1 },
    { answer: { set: 5 } }, { answer: { rank: '2' } }, { answer: { inverse: '1'.repeat(2001) } }];
  assert.deepEqual(odd.map(({ stages = [], ...change }) => R.isResult({ ...cases[2], stages, own: { ...cases[2].own, ...change } })), odd.map(() => false));
  // A code that an older page wrote reads as it did.
  assert.deepEqual(R.read('GJY1WPD0D0VB2Z3H1Y1JXAWR1TXFQKP8H63289471EA1XCP3XAGFB5GZ0N9KYXP0').own,
    { ops: [op('c1:1/2', ['1', '-2/3'])], tries: 3, shown: 1, hints: 2, answer: { choice: 'one', values: ['1', '-2/3'] } });
  // Past the longest code read, the last first rows are left out; the operations all stay.
  const back = R.read(R.write(own(Array.from({ length: 400 }, () => op('a1.2:1', Array(20).fill('1/3'.repeat(20)))), null)));
  assert.deepEqual([back.own.ops.length, back.own.ops[0].first.length, back.own.ops.at(-1).first], [400, 20, null]);
});

const all = Array(40).fill('right');
const names = ['김민수', 'Lee', '박서연', 'Choi'];
const learner = A.assignment({ program: 'gjsolve', seed: 12345, mode: 'own', arithmetic: 'learner', names, due: '2026-12-07' });

// Faults: an operation re-applied otherwise than the student's page did, a
// reading misjudged, a slip, a row shown or a hint miscounted, an op that does not apply graded
// rather than set aside, 'best' not picking the whole work, the memo not
// grading the same table, the own columns, CSV and drill-down.
test('an own assignment grades each student\'s operations re-applied to the student\'s matrix', needsBuild, () => {
  const tamper = (code) => { const r = R.read(code); r.own.ops.push(op('a4.1:1')); return R.write(r); };
  const codes = [ownCode(learner, names[0], ['hint', 'slip', ...all], 30), ownCode(learner, names[1], ['extra', 'shown', ...all], 20, 'wrong'),
    ownCode(learner, names[2], ['right', 'right'], 10, null), ownCode(learner, names[2], all, 15), ownCode(learner, names[2], all, 25, 'wrong'),
    tamper(ownCode(learner, 'Kang', all, 10))];
  const table = results(learner, codes.join('\n'));
  // name, right of asked, reduced, read off, ops, method, rows right first of written, shown, hints, flags
  assert.deepEqual(table.rows.map(({ name, right, asked, own: o, flags }) => [name, `${right}/${asked}`, ...(o ? [o.reduced, o.readOff,
    `${o.ops}/${o.method}`, `${o.firstRight}/${o.written}`, o.shown, o.hints] : []), flags.join(' ')]),
    [[names[0], '2/2', true, 'right', '9/9', '8/9', 0, 1, ''], [names[1], '1/2', true, 'wrong', '10/8', '9/10', 1, 0, ''],
     [names[2], '2/2', true, 'right', '9/9', '9/9', 0, 0, 'codes'], [names[3], '0/2', 'missing']]);
  assert.deepEqual([table.mode, table.stages, table.rejected.map((x) => [x.problem, x.name])], ['own', [], [['code.mismatch', 'Kang']]]);
  // An older page's code, its reading how many solutions and their values, is graded as that page graded it.
  const { result, work } = ownWorked(learner, names[0], all);
  const older = (choice, values) => R.write({ ...result, own: { ...result.own, answer: { choice, values } } });
  const values = meaning(matrixAt(work), 'system').values.map(format);
  assert.deepEqual([older('one', values), older('one', [...values.slice(1), '0']), older('many', null)].map((code) => [code.slice(0, 4), results(learner, code).rows[0].own.readOff]),
    [['GJY1', 'right'], ['GJY1', 'wrong'], ['GJY1', 'wrong']]);
  assert.deepEqual(['first', 'latest'].map((rule) => results(learner, codes.slice(2, 5).join(' '), { rule }).rows[2].codes.map((c) => c.counted)),
    [[true, false, false], [false, false, true]]);
  // 'best' takes the matrix reduced and read right over more rows right the first time read wrong (the table shows what was earned).
  const choi = [ownCode(learner, 'Choi', ['slip', 'slip', ...all], 20), ownCode(learner, 'Choi', all, 30, 'wrong')];
  assert.deepEqual(results(learner, choi.join(' ')).rows.at(-1).codes.map((c) => c.counted), [true, false]);
  const memo = newMemo();
  assert.deepEqual(results(learner, codes.join('\n'), { memo }), table);
  assert.deepEqual(results(learner, codes.join('\n'), { memo: memoOf(JSON.parse(JSON.stringify(memo))), models: new Map() }), table);
  // The CSV in numbers: the matrix reduced and read right, half a point each.
  assert.deepEqual(resultsCsv(translator('ko'), table).split('\r\n').slice(0, 3), ['\ufeff이름,1번 문제(1점),합계(1점),백분율,걸린 시간(분),제출 시각,기한 넘김,확인할 점',
    '김민수,1,1,100,30,2026-12-07 00:30,,', 'Lee,0.5,0.5,50,20,2026-12-07 00:20,,']);
  const opened = (a, code) => { const job = detailing(a, code, []); while (!job.step(0)); return job.result; };
  const kim = opened(learner, table.rows[0].code);
  assert.deepEqual([kim.own.length, kim.own[0].right, kim.own[1], kim.verdict.right, kim.expected.kind], [9, true,
    { op: 'R2 → R2 + 7R1', first: ['-7', '6', '-4', '-2'], right: false, wrong: [0, 1, 2, 3], slip: 'own.slip.oldRow', shown: false }, true, 'one']);
  assert.deepEqual([table.rows[1].code.slice(0, 4), opened(learner, table.rows[1].code).verdict.wrong.map((w) => w.id)], ['GJY2', ['own.reading.wrong.consistent']]);
  // The page's arithmetic: no row written, so no column of them, and no verdict per row.
  const page = { ...learner, arithmetic: 'page' }, paged = results(page, ownCode(page, names[0], all, 5));
  assert.deepEqual([paged.columns, ownCell(translator('en'), paged.rows[0], 'ops'), opened(page, paged.rows[0].code).own[0].right],
    [['reduced', 'readOff', 'ops', 'hints', 'shown'], { text: '9 (the method: 9)', status: 'first' }, null]);
});

// Faults: an interaction's result for a row shown or a first row wrong, the
// score not halved between the reduction and the reading, the work not over
// once reduced and read, own work lost in the LMS's saved work or rebuilt
// on the matrix otherwise than it was.
test('the LMS is told an interaction per operation and half a score each for the reduction and the reading; the work survives a relaunch', needsBuild, () => {
  const cases = [[['slip', 'shown', ...all], 'wrong', ['incorrect', 'neutral', 'correct'], '50', 'completed'], [all, 'right', ['correct'], '100', 'completed'],
    [['right'], null, ['correct'], undefined, 'incomplete']];
  for (const [plan, read, results12, raw, status] of cases) {
    const { result, work, start } = ownWorked(learner, 'Kim', plan, read);
    const pairs = Object.fromEntries(report('2004', ownResultOf({ a: learner, record: result, start, passMark: null, suspend: '' })));
    assert.deepEqual([results12.map((_, k) => pairs[`cmi.interactions.${k}.result`]), pairs['cmi.interactions.0.learner_response'], pairs['cmi.score.raw'],
      pairs['cmi.completion_status']], [results12, result.own.ops[0].op, raw, status], plan.join(' '));
    const kept = decodeWork(encodeWork({ progress: null, finished: read !== null, result, handed: null }));
    assert.deepEqual([kept.result, kept.finished, matrixAt(restoredWork(kept.result, start.matrix, start.kind))], [R.read(R.write(result)), read !== null, matrixAt(work)]);
  }
});
