// Problem sets under node: the teacher's matrices read (which problem and
// which entry when one cannot be), a set's links both ways and an old
// assignment as a set of one, a set's codes written whole or a problem each.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import { needsBuild, programs } from './programs.js';
import { setCodes } from './classwork.js';
import { results, detailing, resultsCsv } from '../../../web/logic/assignments/set-results.js';
import { translator } from '../../../web/logic/language/translate.js';
import * as A from '../../../web/logic/assignments/assignment.js';
import { finish } from '../../../web/logic/run/exact.js';
import * as S from '../../../web/logic/assignments/set.js';
import * as R from '../../../web/logic/assignments/result-code.js';
import * as SW from '../../../web/logic/assignments/set-work.js';

before(programs);

const secret = A.secretOf(Array.from({ length: 16 }, (_, i) => i * 7));
const read = (text, kind, first) => S.readMatrices(text, kind, first);
const matrix = (text, kind) => read(text, kind).matrices[0];

// From a textbook: a 3 × 5 system with two free variables, a singular 4 × 4 to invert, a 2 × 3 matrix.
const system = matrix('1 2 0 1 | 3\n2 4 1 1 | 5\n3 6 1 2 | 8', 'system');
const singular = matrix('[1 2 3 4]\n[2 4 6 8]\n[0 1 1/2 0]\n[1 0 0 0.25]', 'inverse');
export const week3 = A.assignment({ secret, seed: 77, title: '3주차 과제', names: ['김민수', 'Lee Jiwoo'], problems: [
  { matrix: system, mode: 'own', points: 2 }, { matrix: singular, mode: 'own', points: 2 },
  { program: 'gjinverse', order: 3, options: ['nice'] }, { program: 'gjsolve', order: 3, from: 4, fill: 'all' },
  { matrix: matrix('1 2 3\n4 5 6', 'matrix'), mode: 'own', arithmetic: 'learner', hints: 0, show: true, points: 3 }] });

test('the teacher\'s matrices are read as typed or pasted, several at once, and one that cannot be says which problem and which entry', () => {
  const cases = [
    ['1 2\n3 4', 'matrix', { matrices: [{ kind: 'matrix', rows: [['1', '2'], ['3', '4']] }] }],
    // decimals kept as decimals, fractions in lowest terms, the bar and brackets and LaTeX's separators dropped
    [' 0.50, -2/4 ; 1e1 \r\n−3  (6/4)\t007 ', 'matrix', { matrices: [{ kind: 'matrix', rows: [['0.5', '-1/2', '10'], ['-3', '3/2', '7']]}] }],
    ['1 & 2 & 3 \\\\ 4 & 5 & 6 \\\\', 'system', { matrices: [{ kind: 'system', rows: [['1', '2', '3'], ['4', '5', '6']] }] }],
    // the own way's form ("m n" first) and the programs' (the order first); several, apart by blank lines
    ['2 3\n1 2 3 4 5 6\n\n  \n2\n1 2 3\n4 5 6\n\n1 2\n3 4', 'system', { matrices: [{ kind: 'system', rows: [['1', '2', '3'], ['4', '5', '6']] },
      { kind: 'system', rows: [['1', '2', '3'], ['4', '5', '6']] }, { kind: 'system', rows: [['1', '2'], ['3', '4']] }] }],
    // an inverse's A, or its [A | I] whole
    ['2 1 | 1 0\n1 3 | 0 1', 'inverse', { matrices: [{ kind: 'inverse', rows: [['2', '1'], ['1', '3']] }] }],
    ['1 2\n3 x', 'matrix', { problem: { id: 'assign.matrix.entry', values: { problem: 4, row: 2, column: 2, part: 'x' } } }],
    ['1 2\n3 4\n\n1 2\n3 4/0', 'matrix', { problem: { id: 'assign.matrix.entry', values: { problem: 5, row: 2, column: 2, part: '4/0' } } }],
    ['1 2 3\n4 5', 'system', { problem: { id: 'assign.matrix.ragged', values: { problem: 4, row: 2, count: 2, expected: 3 } } }],
    ['1 2 3\n4 5 6', 'inverse', { problem: { id: 'assign.matrix.square', values: { problem: 4, m: 2, n: 3 } } }],
    ['1\n2', 'system', { problem: { id: 'assign.matrix.narrow', values: { problem: 4 } } }],
    [Array(11).fill('1').join('\n'), 'matrix', { problem: { id: 'assign.matrix.size', values: { problem: 4, m: 11, n: 1, maxRows: 10, maxColumns: 20 } } }],
    [Array(11).fill(Array(11).fill('1').join(' ')).join('\n').replace(/^1/, '2'), 'inverse',
     { problem: { id: 'assign.matrix.size', values: { problem: 4, m: 11, n: 11, maxRows: 10, maxColumns: 20 } } }],
    [`1 ${'9'.repeat(201)}`, 'matrix', { problem: { id: 'assign.matrix.entry', values: { problem: 4, row: 1, column: 2, part: `${'9'.repeat(24)}…` } } }],
    [' \n\n', 'matrix', { problem: { id: 'assign.matrix.none', values: {} } }],
  ];
  for (const [text, kind, expected] of cases) assert.deepEqual(read(text, kind, 4), expected, text);
  // This method's stages only where the programs take the matrix, as decimals.
  const stages = [[system, 1, { id: 'assign.matrix.stages', values: { problem: 1, m: 3, n: 5, system: 9, inverse: 10 } }],
    [singular, 2, null],
    [matrix('1 0.5\n1/4 0', 'inverse'), 1, null], [matrix('1/3 1 2\n1 1 1', 'system'), 3, { id: 'assign.matrix.decimal', values: { problem: 3, row: 1, column: 1, part: '1/3' } }],
    [matrix('1 2 3\n4 5 6', 'matrix'), 1, { id: 'assign.matrix.stages', values: { problem: 1, m: 2, n: 3, system: 9, inverse: 10 } }]];
  assert.deepEqual(stages.map(([m, k]) => S.stagesTrouble(m, k)?.problem ?? null), stages.map((c) => c[2]));
  assert.equal(S.programInput(matrix('-1/4 1e2 3\n0.125 0 -7', 'system')), '2\n-0.25 100 3\n0.125 0 -7\n');
  assert.deepEqual([[1n, 3n], [-5n, 8n], [0n, 1n], [-120n, 1n], [1n, 1024n]].map(([n, d]) => S.decimalOf({ n, d })), [null, '-0.625', '0', '-120', '0.0009765625']);
});

test('a set\'s links carry every problem both ways, and fit a QR code with twelve problems', () => {
  for (const a of [week3, A.assignment({ ...week3, perStudent: false, due: '2026-04-01', digest: undefined })]) {
    assert.deepEqual(A.parseLink(A.teacherFragment(a)), { role: 'teacher', assignment: a, name: null });
    assert.deepEqual(A.parseLink(A.studentFragment(a, '김민수')), { role: 'student', assignment: { ...a, names: [], secret: '' }, name: '김민수' });
  }
  // The first problem's fields are the set's own: what a page of one problem reads.
  assert.deepEqual([week3.program, week3.order, week3.mode, week3.problems[0].program], ['gjsolve', 3, 'own', 'gjsolve']);
  // Each problem alone: the set's id, a seed of its own (the first the set's), its points.
  const alone = A.problemsOf(week3);
  assert.deepEqual(alone.map((p) => [A.id(p), p.set.at, p.points, p.mode, p.program, p.order, p.seed === week3.seed]),
    [[A.id(week3), 0, 2, 'own', 'gjsolve', 3, true], [A.id(week3), 1, 2, 'own', 'gjinverse', 4, false], [A.id(week3), 2, 1, 'stages', 'gjinverse', 3, false],
     [A.id(week3), 3, 1, 'stages', 'gjsolve', 3, false], [A.id(week3), 4, 3, 'own', 'gjsolve', 2, false]]);
  assert.deepEqual(A.exerciseFor(alone[1], 'x'), { program: 'gjinverse', order: 4, input: '4\n1 2 3 4\n2 4 6 8\n0 1 0.5 0\n1 0 0 0.25\n', seed: null });
  assert.equal(A.exerciseFor(alone[2], '김민수').seed, A.studentSeed(alone[2].seed, '김민수'));
  assert.throws(() => A.studentFragment(alone[2]));
  // Its worksheets and keys: a sheet a student and problem, each with the student's own link to the set.
  const sheets = finish(A.makingKeySheets(week3, [], 'b'));
  assert.deepEqual([sheets.length, sheets.slice(4, 7).map((sh) => [sh.name, sh.at, sh.exercise.seed === null, sh.link === 'b' + A.studentFragment(week3, sh.name)])],
    [10, [['김민수', 4, true, true], ['Lee Jiwoo', 0, true, true], ['Lee Jiwoo', 1, true, true]]]);
  // An assignment made before sets is a set of one: itself, its id and links as they were.
  const old = A.assignment({ seed: 5, secret });
  assert.deepEqual([A.problemsOf(old), A.problemOf(old, 0), A.pointsOf(old), 'problems' in A.parseLink(A.teacherFragment(old)).assignment], [[old], old, 1, false]);
  // What a set asks makes its id: its problems, their order, matrices and points; not its title or names.
  const id = A.id(week3);
  const swapped = [week3.problems[1], week3.problems[0], ...week3.problems.slice(2)];
  const changes = [{ problems: swapped }, { problems: week3.problems.slice(0, 4) }, { seed: 78 }, { perStudent: false },
    { problems: week3.problems.map((p, i) => (i === 4 ? { ...p, points: 4 } : p)) },
    { problems: week3.problems.map((p, i) => (i === 0 ? { ...p, matrix: { ...system, rows: [...system.rows.slice(0, 2), ['3', '6', '1', '2', '9']] } } : p)) }];
  for (const change of changes) assert.notEqual(A.id(A.assignment({ ...week3, ...change, digest: undefined })), id, JSON.stringify(change));
  assert.equal(A.id({ ...week3, title: '', names: [], due: '2030-01-01' }), id);
  // Sets that cannot be linked: none, thirteen, points out of range, the stages of a matrix that the programs do not take.
  const bad = [{ problems: [] }, { problems: Array(13).fill(week3.problems[2]) }, { problems: [{ ...week3.problems[2], points: 0 }] },
    { problems: [{ ...week3.problems[2], points: 101 }] }, { problems: [{ ...week3.problems[0], mode: 'stages' }] },
    { problems: [{ ...week3.problems[2], order: 5 }] }, { problems: [{ ...week3.problems[1], matrix: { kind: 'inverse', rows: [['1', 'x']] } }] }];
  for (const change of bad) assert.throws(() => A.teacherFragment({ ...week3, ...change }), JSON.stringify(change).slice(0, 80));
  // Twelve problems (four of the teacher's own, as a textbook has them), a student's link with the name and the page's address: within a QR code.
  const twelve = A.assignment({ secret, seed: 9, title: '단원 평가: 가우스-조던 소거법', problems: [...week3.problems, ...week3.problems, week3.problems[0], week3.problems[2]] });
  const link = 'https://school.example.kr/math/gauss-jordan/index.html' + A.studentFragment(twelve, '남궁민수');
  assert.deepEqual([twelve.problems.length, link.length < 500, A.parseLink(new URL(link).hash).assignment.problems], [12, true, twelve.problems]);
});

test('a set\'s hand-in is one code while it fits a chat, else a code a problem; each reads back whole, and an old code is a set of one', () => {
  const head = { id: A.id(week3), name: '김민수', started: 1796720400000, handed: 1796724000000 };
  const own = { ops: [{ op: 'c1:1/2', first: null, shown: false }, { op: 'a2.1:-3', first: ['0', '1', '2/3', '-7', '1'], shown: true }],
                tries: 2, shown: 1, hints: 1, answer: { choice: 'many', values: null } };
  const stages = [{ k: 1, done: true, right: false, tries: 3, hints: 1, shown: false, first: [{ text: '0.5' }, { alone: true }, null] },
                  { k: 2, done: false, right: true, tries: 0, hints: 0, shown: false, first: [null] }];
  const parts = [{ at: 0, result: { ...head, stages: [], own } }, { at: 3, result: { ...head, stages } }];
  const whole = R.writeSet(head, parts);
  const back = (code) => R.read(code).parts;
  assert.equal(whole.length, 1);
  assert.match(whole[0], /^GJS1[0-9A-Z]+$/);
  assert.deepEqual(R.read(whole[0]), { ...head, stages: [], parts: [{ at: 0, stages: [], own }, { at: 3, stages }] });
  // Past the limit, a code a problem; the teacher's page finds each in any text around them.
  const apart = R.writeSet(head, parts, 60);
  assert.deepEqual(apart.map(back), [[{ at: 0, stages: [], own }], [{ at: 3, stages }]]);
  assert.deepEqual(R.find(`민수: ${apart[0]}\n그리고 ${apart[1].match(/.{1,20}/g).join(' ')}`), apart);
  // Twelve problems of long own work: a code a problem, none past the chat's limit but what one problem's work makes longer.
  const long = { ...own, ops: Array(40).fill(own.ops[1]) };
  const many = R.writeSet(head, Array.from({ length: 12 }, (_, at) => ({ at, result: { ...head, stages: [], own: long } })));
  assert.deepEqual([many.length, many.every((code) => code.length <= R.chatLimit), many.map((code) => back(code)[0].at)], [12, true, Array.from({ length: 12 }, (_, i) => i)]);
  // Damaged, a problem given twice: set aside as broken.
  const [w, twice] = [whole[0], R.writeSet(head, [parts[1], { ...parts[1] }])[0]];
  assert.deepEqual([w.slice(0, -1), w.replace(/.$/, (c) => (c === '0' ? '1' : '0')), 'GJS2' + w.slice(4), twice].map((c) => R.read(c).problem),
    ['code.broken', 'code.broken', 'code.version', 'code.broken']);
});

// The class of week3 (its problems: the system and the singular matrix the
// students' own way, 2 points each; two of this method's stages; the 2 × 3
// matrix the students' own way, 3 points): 김민수 right throughout, Lee's
// hand-in in a code a problem with the stages of problem 3 right only after
// tries, 박서연 twice (problems 2 and 4 left undone at first), a damaged code
// of Choi's and one of another set.
test('a set\'s table has a row a student, a column a problem with its points, the total and its percentage', needsBuild, () => {
  const [all, staged] = [{ own: Array(40).fill('right'), read: 'right' }, Array(12).fill('first')];
  const kim = setCodes(week3, '김민수', [all, all, staged, staged, all], 50);
  const lee = setCodes(week3, 'Lee Jiwoo', [all, all, Array(12).fill('tries'), staged, all], 40, 100);
  const park = [setCodes(week3, '박서연', [all, null, staged, null, { own: ['right'], read: null }], 30), setCodes(week3, '박서연', [all, all, staged, staged, all], 70)];
  const choi = setCodes(week3, 'Choi', [all, null, null, null, null], 20)[0];
  const other = setCodes(A.assignment({ ...week3, seed: 1, digest: undefined }), '김민수', [all, null, null, null, null], 5)[0];
  const pasted = [...kim, ...lee, ...park.flat(), choi.slice(0, -8) + (choi.at(-8) === 'A' ? 'B' : 'A') + choi.slice(-7), other].join('\n');
  const table = results({ ...week3, names: [...week3.names, 'Choi'] }, pasted);
  assert.deepEqual([lee.length, table.points, table.problems.map((p) => [p.points, p.mode, p.stages.length])],
    [5, 9, [[2, 'own', 0], [2, 'own', 0], [1, 'stages', 9], [1, 'stages', 6], [3, 'own', 0]]]);
  assert.deepEqual(table.rows.map((row) => [row.name, row.points, row.percent, row.cells.map((c) => `${c.points} ${c.status}`).join(', '), row.flags.join(' ')]), [
    ['김민수', 9, 100, '2 first, 2 first, 1 first, 1 first, 3 first', ''], ['Lee Jiwoo', 8, 88.9, '2 first, 2 first, 0 tries, 1 first, 3 first', ''],
    ['Choi', 0, 0, '0 none, 0 none, 0 none, 0 none, 0 none', 'damaged'], ['박서연', 9, 100, '2 first, 2 first, 1 first, 1 first, 3 first', 'notListed codes']]);
  assert.deepEqual([table.rejected.map((r) => [r.problem, r.name]), table.counts], [[['code.broken', 'Choi'], ['code.other', '김민수']],
    { codes: 10, graded: 3, rejected: 2, repeated: 0 }]);
  // The rule picks 박서연's hand-in; the points of each problem in a column of its own, summed by a spreadsheet.
  const first = results(week3, park.flat().join(' '), { rule: 'first' }).rows.at(-1);
  assert.deepEqual([first.points, first.codes.map((c) => [c.points, c.counted]), first.cells.map((c) => c.status).join(' ')],
    [3, [[3, true], [9, false]], 'first none first none open']);
  assert.deepEqual(resultsCsv(translator('en'), table).split('\r\n').slice(0, 4), ['\ufeffName,Problem 1 (out of 2),Problem 2 (out of 2),' +
    'Problem 3 (out of 1),Problem 4 (out of 1),Problem 5 (out of 3),Total (out of 9),Percentage,Time (minutes),Handed in,Late,Notes',
    '김민수,2,2,1,1,3,9,100,50,2026-12-07 00:50,,', 'Lee Jiwoo,2,2,0,1,3,8,88.9,40,2026-12-07 00:40,,',
    'Choi,,,,,,,,,,,a damaged code: ask the student to paste it again']);
  // A problem's drill-down, as an assignment of one problem's: of Lee's stages, from the code that carries them; of 김민수's own work.
  const opened = (at, code) => { const job = detailing(week3, at, code); while (!job.step(0)); return job.result; };
  assert.deepEqual(opened(2, table.rows[1].cells[2].code).map((stage) => stage.answers.every((x) => x.right)).slice(0, 3), [false, false, false]);
  const own = opened(0, table.rows[0].cells[0].code);
  assert.deepEqual([own.own.length > 0, own.verdict.right, own.expected.kind], [true, true, 'many']);
});

// Faults: a problem's work lost when two tabs' set works merge, one handed in
// not taken whole, a tab's work of another shape or size taken, the problem
// open's live work left out of the hand-in or the states.
test('a set\'s work: each problem\'s kept as two tabs merge it, handed in whole, none of another shape', () => {
  const st = SW.named(SW.opened(week3, null), 'Kim', null, 1000);
  const result = (at, tries) => ({ ...st.result, stages: [{ k: 1, done: at === 3, right: false, tries, hints: 0, shown: false, first: [null] }] });
  const live = (at, tries) => ({ progress: null, finished: at === 3, result: result(at, tries), handed: 'x', version: 9, rounds: 0 });
  const tab = (works) => SW.usable({ problems: week3.problems.map((_, at) => works[at] ?? null), handed: null, version: 1 }, st);
  const [one, two] = [tab({ 2: live(2, 1) }), tab({ 2: live(2, 3), 3: live(3, 1) })];
  const both = SW.merged(one, two);
  assert.deepEqual([both.problems.map((w) => w?.result.stages[0].tries ?? null), SW.newer(both, one), SW.newer(both, two), SW.newer(two, both)],
    [[null, null, 3, 1, null], true, false, false]);
  const handed = { ...one, handed: 'GJS1X' };
  assert.deepEqual([SW.merged(handed, two), SW.merged(two, handed)], [handed, handed]);
  const odd = [null, 'x', { problems: [] }, { problems: Array(6).fill(null) }];
  assert.deepEqual(odd.map((value) => SW.usable(value, st)), [null, null, null, null]);
  // The problem open (the first) as it stands, with problem 4 done and 3 begun: their states, the hand-in of those with work.
  const at = { ...st, works: two.problems };
  assert.deepEqual(SW.problemStates(at, { result: result(0, 2) }, false).map((p) => `${p.state} ${p.points}`), ['begun 2', 'none 2', 'begun 1', 'done 1', 'none 3']);
  const code = R.read(SW.handedIn(at, live(0, 2), 5000).handed);
  assert.deepEqual([code.name, code.handed, code.parts.map((p) => p.at)], ['Kim', 5000, [0, 2, 3]]);
});
