// Assignments under node: their links both ways, the id and each student's
// seed (pinned: links handed out depend on them), result codes written, read,
// cut and mistyped, the teacher's re-check of a code over a real run, the
// results table's flags, the keys' sheets, and the bytes of the CSV files.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import { needsBuild, programs } from './programs.js';
import * as A from '../../../web/logic/assignments/assignment.js';
import * as R from '../../../web/logic/assignments/result-code.js';
import { results, resultsCsv } from '../../../web/logic/assignments/results.js';
import { invertibility, questions, answerOf } from '../../../web/logic/check.js';
import { make } from '../../../web/logic/exercises.js';
import { crc32, fromBase32, toBase32, base32Alphabet } from '../../../web/logic/assignments/packing.js';
import { csv } from '../../../web/logic/assignments/csv.js';
import { translator } from '../../../web/logic/translate.js';

before(programs);

const names = ['김민수', 'Lee, "JJ" Jiwoo', '박서연'];
const monday = A.assignment({ seed: 12345, title: '월요일 과제: 역행렬', due: '2026-12-14', names });

test('assignment links carry the assignment both ways, a student link without the class list', () => {
  const cases = [monday, A.assignment(), A.assignment({ program: 'gjsolve', order: 4, options: ['nice', 'alone'], seed: 2 ** 32 - 1,
    from: 5, fill: 'all', hints: 0, show: true, perStudent: false, due: '2099-01-31', names: ['a'.repeat(A.maxName)] })];
  for (const a of cases) {
    assert.deepEqual(A.parseLink(A.teacherFragment(a)), { role: 'teacher', assignment: a, name: null });
    assert.deepEqual(A.parseLink(A.studentFragment(a)), { role: 'student', assignment: { ...a, names: [] }, name: null });
    assert.deepEqual(A.parseLink(A.studentFragment(a, a.names[0] ?? null)).name, a.names[0] ?? null);
    assert.match(A.studentFragment(a), /^#gj(inverse|solve)&assignment=[A-Za-z0-9_-]+$/);
  }
  const student = A.studentFragment(monday);
  const broken = [student.slice(0, -1), student.replace(/assignment=(.)/, (all, c) => `assignment=${c === 'I' ? 'J' : 'I'}`), student.replace('gjinverse', 'gjsolve'),
                  `#gjinverse&assignment=${student.split('=')[1]}x`, A.teacherFragment(monday).replace(/.$/, (c) => (c === 'A' ? 'B' : 'A'))];
  for (const hash of broken) assert.deepEqual(A.parseLink(hash), { problem: 'link.assignment' }, hash);
  assert.equal(A.parseLink('#gjinverse&practice&seed=3'), null);
  const bad = [{ due: '2026-02-30' }, { from: 1 }, { hints: 4 }, { names: [' '] }, { title: 'x'.repeat(A.maxTitle + 1) },
               { generator: A.generatorVersion + 1 }];
  for (const given of bad) assert.throws(() => A.studentFragment(A.assignment(given)), JSON.stringify(given));
});

test('the id names what is asked; a student\'s seed comes from the name as any device types it', () => {
  const id = A.id(monday);
  assert.match(id, /^[0-9A-Z]{7}$/);
  assert.equal(A.id({ ...monday, title: '', due: '', names: [] }), id);
  for (const change of [{ seed: 12346 }, { fill: 'all' }, { from: 3 }, { hints: 2 }, { show: true }, { perStudent: false }, { options: ['nice'] }])
    assert.notEqual(A.id({ ...monday, ...change }), id, JSON.stringify(change));
  // seed, name, the student's seed: fixed for good.
  const pinned = [[1, '김민수', 4056152687], [12345, '김민수', 3100270559], [12345, ' 김민수\t', 3100270559],
    [12345, '김민수'.normalize('NFD'), 3100270559], [12345, '박서연', 1850778182], [1, 'Lee Jiwoo', 890612056],
    [1, 'lee  JIWOO ', 890612056], [4294967295, 'A', 4088226457]];
  assert.deepEqual(pinned.map(([seed, name]) => A.studentSeed(seed, name)), pinned.map((p) => p[2]));
  assert.deepEqual(A.namesOf('김민수\r\n\n  Lee   Jiwoo \n김민수\n박서연'), ['김민수', 'Lee Jiwoo', '박서연']);
});

test('each student of a class gets a matrix of their own, and the same one again', needsBuild, () => {
  const matrices = (generator) => names.map((name) => JSON.stringify(make(A.exerciseFor({ ...monday, generator }, name)).a));
  // Pinned, per version of the generator: a class's links, handed out, must
  // give these matrices in every later version of the page.
  // Version 2 draws the same here: none of these is one that it rejects.
  const class3 = ['[[8,-1,7],[-7,6,-4],[-3,-8,1]]', '[[8,1,8],[9,-2,9],[1,-2,4]]', '[[-1,-7,9],[-2,7,-5],[-2,6,7]]'];
  const pinned = [[1, class3], [2, class3]];
  assert.deepEqual(pinned.map(([generator]) => matrices(generator)), pinned.map((p) => p[1]));
  assert.deepEqual(matrices(2), matrices(2));
  assert.equal(new Set(names.map((name) => JSON.stringify(make(A.exerciseFor({ ...monday, perStudent: false }, name)).a))).size, 1);
});

// Each case: the assignment, the names read from the codes, and the names of
// the sheets that its keys are printed for, each with the matrix of that name
// (pinned above for 김민수) and the link that the student was given.
test('the keys are printed for the class list, else the names read, or once for a class\'s one matrix', () => {
  const base = 'https://school.example/gj/index.html';
  const cases = [[monday, ['Choi'], names], [{ ...monday, names: [] }, ['Choi', '김민수'], ['Choi', '김민수']],
                 [{ ...monday, names: [] }, [], []], [{ ...monday, names: [], perStudent: false }, ['Choi'], ['']]];
  for (const [a, read, expected] of cases) {
    const sheets = A.keySheets(a, read, base);
    assert.deepEqual(sheets.map((sheet) => sheet.name), expected);
    for (const { name, exercise, link } of sheets) {
      assert.equal(exercise.seed, a.perStudent ? A.studentSeed(a.seed, name) : a.seed, name);
      assert.ok(link.startsWith(base + '#gjinverse&assignment='));
      assert.equal(A.parseLink(new URL(link).hash).name, a.names.length > 0 ? name : null, name);
    }
  }
  assert.equal(A.keySheets(monday, [], '').find((sheet) => sheet.name === '김민수').exercise.seed, 3100270559);
});

// A stage as one student works it, through the record that the session keeps.
function work(result, m, k, fill, how) {
  const qs = [invertibility(m, k), ...questions(m, k, fill)].filter(Boolean);
  const right = (q) => (q.kind === 'invertible' ? { choice: answerOf(q) } : q.expected.alone ? { alone: true } : { text: answerOf(q) });
  const wrong = (q) => (q.kind === 'invertible' ? { choice: answerOf(q) === 'yes' ? 'no' : 'yes' } : { text: 'wrong' });
  const answer = (r, i, given, miss) => R.noted(r, k, qs.length, { answer: i, given, miss });
  if (how === 'hint') result = R.noted(result, k, qs.length, { hint: true });
  if (['tries', 'shown', 'open', 'claims'].includes(how)) result = answer(result, 0, wrong(qs[0]), how !== 'claims');
  if (how === 'shown') return R.noted(result, k, qs.length, { shown: true });
  if (how === 'open') return result;
  qs.forEach((q, i) => { result = answer(result, i, right(q), false); });
  return R.noted(result, k, qs.length, { done: true });
}

// A class's codes: name, hand-in minute and what the student did at each stage
// asked (the stages after the plan's not reached); 'claims' is a wrong first
// answer that the student's page took for right.
function codes(a, plans) {
  return plans.map(([name, minute, plan]) => {
    const m = make(A.exerciseFor(a, name)).model;
    let result = R.newResult(A.id(a), name, Date.UTC(2026, 11, 8, 9));
    plan.forEach((how, i) => { result = work(result, m, a.from - 1 + i, a.fill, how); });
    return R.write({ ...result, handed: result.started + minute * 60000 });
  });
}

test('a result code reads back whole, and a code cut or with one character altered is caught', () => {
  const result = R.noted(R.noted(R.newResult(A.id(monday), '김민수', 1796720400000), 3, 4,
    { answer: 0, given: { text: '−1/３' }, miss: false }), 3, 4, { answer: 2, given: { text: 'Infinity, 그대로' }, miss: true });
  const stages = [{ k: 2, done: true, right: false, tries: 7, hints: 3, shown: true, first: [{ alone: true }, { choice: 'no' }, { text: '-2.5e-05' }, null] }];
  for (const r of [result, { ...result, handed: result.started + 3599000, stages }]) {
    const code = R.write(r);
    assert.match(code, /^GJR1[0-9A-Z]+$/);
    const back = R.read(code);
    assert.deepEqual(back, { ...r, stages: r.stages.map((s) => ({ ...s, first: s.first.map((x) => (x?.text ? { text: x.text.normalize('NFKC').replace('−', '-') } : x)) })) });
    assert.deepEqual(R.read(code.toLowerCase()), back);
  }
  const code = codes(monday, [[names[0], 30, ['first', 'tries', 'hint', 'shown']]])[0];
  let caught = 0;
  for (let at = 4; at < code.length; at++) {
    const other = base32Alphabet[(base32Alphabet.indexOf(code[at]) + 1 + (at % 31)) % 32];
    caught += Boolean(R.read(code.slice(0, at) + other + code.slice(at + 1)).problem) + Boolean(R.read(code.slice(0, at)).problem);
  }
  assert.equal(caught, 2 * (code.length - 4));
  assert.ok(code.length < 400, `${code.length} characters`);
  assert.deepEqual(['GJR2' + code.slice(4), 'GJR' + code.slice(4), 'GJ' + code.slice(3), 'not a code', code + '0'].map((c) => R.read(c).problem),
    ['code.version', 'code.broken', 'code.broken', 'code.broken', 'code.broken']);
  assert.deepEqual(R.find(`선생님, ${code}입니다.\n(${code.toLowerCase()}) GJR1 done; xGJR1${code.slice(4)} ${code.slice(0, 20)}`),
    [code, code.toLowerCase(), code.slice(0, 20)]);
});

test('an order-4 inverse with every entry asked makes a code of reasonable length', needsBuild, () => {
  const a = A.assignment({ order: 4, fill: 'all', seed: 7 });
  const stages = make(A.exerciseFor(a, 'x')).model.stages.length;
  const code = codes(a, [['x', 40, Array(stages - 1).fill('first')]])[0];
  assert.ok(code.length < 2400, `${code.length} characters`);
  assert.deepEqual(results(a, code).rows[0].cells.map((c) => c.status), Array(stages - 1).fill('first'));
});

test('the teacher\'s page gives each code its own verdicts, and flags what needs a look', needsBuild, () => {
  const plans = [[names[0], 25, ['first', 'tries', 'hint', 'shown', 'first', 'open']], [names[2], 20, ['tries']],
                 [names[2], 31, ['first', 'first']], [' 박서연 ', 28, ['open']], ['Choi', 40, ['claims']]];
  const [kim, park1, park2, park3, choi] = codes(monday, plans);
  const other = codes({ ...monday, seed: 1 }, [[names[1], 5, ['first']]])[0];
  const altered = kim.slice(0, 30) + (kim[30] === 'A' ? 'B' : 'A') + kim.slice(31);
  const unfit = R.write({ ...R.newResult(A.id(monday), 'Kang', 0), stages: [{ k: 1, done: true, right: true, tries: 1, hints: 0, shown: false, first: [null] }] });
  const table = results(monday, `${park2}\n민수: ${kim}\n${park1} ${altered} ${choi} ${other} ${park3} ${unfit}`);
  const row = (name) => table.rows.find((r) => r.name === name);
  const statuses = (name) => row(name).cells.map((c) => c.status).join(' ');
  assert.equal(statuses(names[0]), 'first tries tries shown first open none none none none none none'.split(' ').slice(0, table.stages.length).join(' '));
  assert.deepEqual([row(names[0]).hints, row(names[0]).seconds, row(names[0]).right], [1, 1500, 2]);
  assert.equal(statuses(names[2]).split(' ').slice(0, 3).join(' '), 'first first none');
  assert.deepEqual(table.rows.map((r) => [r.name, r.flags.join(' ')]),
    [[names[0], ''], [names[1], 'missing'], [names[2], 'replaced'], ['Choi', 'notListed differs']]);
  assert.equal(statuses('Choi').split(' ')[0], 'tries');
  assert.equal(row(names[2]).replaced, 2);
  const choice = R.read(kim);
  choice.stages[0].first[0] = { choice: 'yes' };
  assert.deepEqual(results(monday, R.write(choice)).rejected.map((r) => r.problem), ['code.mismatch']);
  assert.deepEqual(table.rejected.map((r) => [r.problem, r.name]), [['code.broken', null], ['code.other', names[1]], ['code.mismatch', 'Kang']]);
  assert.deepEqual(table.stages, Array.from({ length: table.stages.length }, (_, i) => i + 1));
  const text = resultsCsv(translator('ko'), table);
  assert.ok(text.startsWith('\ufeff이름,2단계,3단계,'), text.slice(0, 40));
  assert.match(text, /\r\n김민수,한 번에 맞힘,다시 풀어 맞힘,"다시 풀어 맞힘, 힌트 1번",정답 보기 사용,한 번에 맞힘,풀다가 멈춤,풀지 않음,/);
  assert.match(text, /\r\n"Lee, ""JJ"" Jiwoo",풀지 않음,.*,0,,0,코드를 내지 않음\r\n/);
  assert.match(resultsCsv(translator('en'), table), /,1,25,2,\r\n/);
});

test('CSV files are UTF-8 with a byte-order mark, quoted as RFC 4180 asks, formulas disarmed', () => {
  const text = A.linksCsv(translator('ko'), [{ name: '김민수', link: 'file:///a.html#x' }, { name: '=HYPERLINK("x")', link: 'b,c' }]);
  assert.deepEqual([...new TextEncoder().encode(text).slice(0, 9)], [0xef, 0xbb, 0xbf, 0xec, 0x9d, 0xb4, 0xeb, 0xa6, 0x84]);
  assert.equal(text, '\ufeff이름,링크\r\n김민수,file:///a.html#x\r\n"\'=HYPERLINK(""x"")","b,c"\r\n');
  assert.equal(csv([['a\nb', -1, '-1', '@x', 'plain']]), '\ufeff"a\nb",-1,\'-1,\'@x,plain\r\n');
  assert.equal(crc32(new TextEncoder().encode('123456789')), 0xcbf43926);
  assert.deepEqual([...fromBase32(toBase32(Uint8Array.from([0, 255, 1, 2, 3])))], [0, 255, 1, 2, 3]);
  assert.deepEqual(['0U', '01', 'oO'].map(fromBase32).map((x) => x && [...x]), [null, null, [0]]);
});
