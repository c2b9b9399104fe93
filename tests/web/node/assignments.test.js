// Assignments under node: their links both ways, the teacher's secret, the
// id and each student's seed (pinned: links handed out depend on them), the
// names of a class, result codes written, read, found, cut and mistyped, a
// student's work and what it is scored on, the teacher's table over codes
// that real sessions wrote (classwork.js), and the bytes of the CSV files.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import { needsBuild, programs } from './programs.js';
import { code, worked, monday9 } from './classwork.js';
import * as A from '../../../web/logic/assignments/assignment.js';
import { finish } from '../../../web/logic/run/exact.js';
import * as R from '../../../web/logic/assignments/result-code.js';
import * as W from '../../../web/logic/assignments/work.js';
import { printoutsUpTo, hintStepsAllowed, hintsAllowed, showAllowed } from '../../../web/logic/assignments/permissions.js';
import { results, grading, detailing, readCount, cellText, newMemo, memoOf } from '../../../web/logic/assignments/results.js';
import { resultsCsv } from '../../../web/logic/assignments/set-results.js';
import { tally } from '../../../web/logic/practice/session.js';
import { make } from '../../../web/logic/practice/exercises.js';
import { crc32, fromBase32, toBase32, base32Alphabet } from '../../../web/logic/assignments/packing.js';
import { csv } from '../../../web/logic/assignments/csv.js';
import { translator } from '../../../web/logic/language/translate.js';

before(programs);

const names = ['김민수', 'Lee, "JJ" Jiwoo', '박서연'];
const secret = A.secretOf(Array.from({ length: 16 }, (_, i) => i * 17));
const monday = A.assignment({ seed: 12345, title: '월요일 과제: 역행렬', due: '2026-12-14', names, secret });
const range = (first, last) => Array.from({ length: last - first + 1 }, (_, i) => first + i);

test('assignment links carry the assignment both ways, a student link without the class list or the secret', () => {
  const cases = [monday, A.assignment({ secret }), A.assignment({ program: 'gjsolve', order: 4, options: ['nice', 'alone'], seed: 2 ** 32 - 1,
    from: 12, fill: 'all', hints: 0, show: true, perStudent: false, due: '2099-01-31', names: ['a'.repeat(A.maxName)], secret }),
    A.assignment({ names: range(1, A.maxNames).map((i) => `학생 ${i}`), secret })];
  for (const a of cases) {
    assert.deepEqual(A.parseLink(A.teacherFragment(a)), { role: 'teacher', assignment: a, name: null });
    assert.deepEqual(A.parseLink(A.studentFragment(a)), { role: 'student', assignment: { ...a, names: [], secret: '' }, name: null });
    assert.deepEqual(A.parseLink(A.studentFragment(a, a.names[0] ?? null)).name, a.names[0] ?? null);
    assert.match(A.studentFragment(a), /^#gj(inverse|solve)&assignment=[A-Za-z0-9_-]+$/);
  }
  const student = A.studentFragment(monday, names[0]);
  const broken = [student.slice(0, -1), student.replace(/assignment=(.)/, (all, c) => `assignment=${c === 'I' ? 'J' : 'I'}`), student.replace('gjinverse', 'gjsolve'),
                  `#gjinverse&assignment=${student.split('=')[1]}x`, A.teacherFragment(monday).replace(/.$/, (c) => (c === 'A' ? 'B' : 'A')),
                  A.teacherFragment(monday).replace('teacher=', 'assignment='), '#gjinverse&practice&assignment=x', `${student}&end`];
  for (const hash of broken) assert.deepEqual(A.parseLink(hash), { problem: 'link.assignment' }, hash);
  // A student's own link made a teacher's opens nothing of the teacher's, nor a secret made up or another
  // assignment's with the digest that the student links carry; a link made before the digest opens.
  const other = A.assignment({ seed: 5, secret: A.secretOf(Array(16).fill(9)) });
  for (const hash of [student, A.studentFragment(monday)]) assert.deepEqual(A.parseLink(hash.replace('assignment=', 'teacher=')), { problem: 'link.notTeacher' });
  for (const forged of [{ secret: A.secretOf(Array(16).fill(0)) }, { secret: other.secret }, { secret: other.secret, digest: other.digest }, { secret: '' }])
    assert.deepEqual(A.parseLink(A.teacherFragment({ ...monday, ...forged })), { problem: 'link.notTeacher' }, JSON.stringify(forged));
  // Without a digest, a teacher's link is unchecked (state/teaching.js opens it only where the gradebook holds it);
  // of an own assignment, whose links always carry one, it is refused.
  assert.deepEqual([A.parseLink(A.teacherFragment({ ...monday, digest: '' })).unchecked, A.parseLink(A.teacherFragment(monday)).unchecked], [true, undefined]);
  const ownWay = A.assignment({ mode: 'own', secret, names });
  assert.deepEqual([A.parseLink(A.teacherFragment({ ...ownWay, digest: '' })), A.parseLink(A.teacherFragment(ownWay)).role], [{ problem: 'link.notTeacher' }, 'teacher']);
  // A name corrected: the teacher's link and the student's own carry the name as it was, which draws the matrix and keeps the work's key.
  const fixed = { ...monday, names: ['김민수', 'Lee Jiwoo', '박서윤'], drawn: { [A.nameKey('박서윤')]: '박서연' } };
  const own = A.parseLink(A.studentFragment(fixed, '박서윤'));
  assert.deepEqual([A.parseLink(A.teacherFragment(fixed)).assignment, own.name, A.exerciseFor(own.assignment, own.name), W.workKey(own.assignment, own.name)],
                   [fixed, '박서윤', A.exerciseFor(monday, '박서연'), W.workKey(monday, '박서연')]);
  assert.deepEqual(['#gjinverse&practice&seed=3', '#gjinverse&teacher=x', '#x&assignment='].map(A.isAssignmentLink), [false, true, true]);
  assert.equal(A.parseLink('#gjinverse&practice&seed=3'), null);
  const bad = [{ due: '2026-02-30' }, { from: 1 }, { from: 11 }, { hints: 4 }, { names: [' '] }, { names: Array(A.maxNames + 1).fill('x') },
               { title: 'x'.repeat(A.maxTitle + 1) }, { generator: A.generatorVersion + 1 }, { secret: 'ABC' }];
  for (const given of bad) assert.throws(() => A.teacherFragment({ ...monday, ...given }), JSON.stringify(given));
});

// Links made before teachers' links held a secret (by commit 6089909): a
// teacher's, a student's own and one asking from stage 12 of 10.
test('links handed out before the secret read as they did, and a teacher\'s link without one is written as it was', () => {
  const old = { ...monday, names: ['김민수', '박서연'], secret: '', digest: '' };
  const teacher = '#gjinverse&teacher=JC6BAAAMDlXPaduyblOyalOydvCDqs7zsoJw6IOyXre2WieugrEMuq5gOuvvOyImDLrsJXshJzsl7ADOtmPn';
  assert.deepEqual(A.parseLink(teacher), { role: 'teacher', assignment: old, name: null, unchecked: true });
  assert.equal(A.teacherFragment(old), teacher);
  assert.deepEqual(A.parseLink('#gjinverse&assignment=JC6BAAAMDlXPaduyblOyalOydvCDqs7zsoJw6IOyXre2WieugrCMuq5gOuvvOyImALD98lQ'),
                   { role: 'student', assignment: { ...old, names: [] }, name: '김민수' });
  const past = A.parseLink('#gjinverse&assignment=JC6A4AAAwOVc9p27JuU7JqU7J28IOqzvOygnDog7Jet7ZaJ66CsA94rHYQ').assignment;
  assert.deepEqual([past.from, A.id(past), A.parseLink(A.teacherFragment({ ...past, names: ['x'] })).assignment.from], [12, 'WPD0D0R', 12]);
});

test('the id names what is asked, not the names, title, due date or secret; a student\'s seed comes from the name as any device types it', () => {
  const id = A.id(monday);
  assert.match(id, /^[0-9A-Z]{7}$/);
  assert.equal(A.id({ ...monday, title: '', due: '', names: ['최하늘', ...names], secret: '' }), id);
  for (const change of [{ seed: 12346 }, { fill: 'all' }, { from: 3 }, { hints: 2 }, { show: true }, { perStudent: false }, { options: ['nice'] }])
    assert.notEqual(A.id({ ...monday, ...change }), id, JSON.stringify(change));
  // A name added, one corrected: every other link and matrix stays.
  const later = { ...monday, names: ['김민수', 'Lee Jiwoo', '박서연', '최하늘'] };
  for (const name of ['김민수', '박서연']) assert.deepEqual([A.studentFragment(later, name), A.exerciseFor(later, name)], [A.studentFragment(monday, name), A.exerciseFor(monday, name)]);
  // seed, name, the student's seed: fixed for good (a name past 100 characters by its first 100).
  const long = '김'.repeat(A.maxName);
  const pinned = [[1, '김민수', 4056152687], [12345, '김민수', 3100270559], [12345, ' 김민수\t', 3100270559],
    [12345, '김민수'.normalize('NFD'), 3100270559], [12345, '박서연', 1850778182], [1, 'Lee Jiwoo', 890612056],
    [1, 'lee  JIWOO ', 890612056], [4294967295, 'A', 4088226457], [7, long, 998389473], [7, `${long}수`, 998389473]];
  assert.deepEqual(pinned.map(([seed, name]) => A.studentSeed(seed, name)), pinned.map((p) => p[2]));
});

test('a class list names each student once and says who is named twice; an LMS\'s "Last, First" as a person writes it', () => {
  assert.deepEqual(A.classList('김민수\r\n\n  Lee   Jiwoo \n김민수\n박서연\nlee jiwoo\n김민수'), { names: ['김민수', 'Lee Jiwoo', '박서연'], repeats: ['김민수', 'Lee Jiwoo'] });
  const shown = [['박, 지호', '박지호'], ['Kim, Minji', 'Minji Kim'], [' Kim,  Minji ', 'Minji Kim'], ['남궁, 민', '남궁민'], ['Lee Jiwoo', 'Lee Jiwoo'],
    ['a, b, c', 'a, b, c'], [', x', ', x']];
  assert.deepEqual(shown.map(([name]) => [name, A.displayName(name)]), shown);
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

test('an assignment starts at a named stage of its run, from the scaling to the last', needsBuild, () => {
  for (const program of ['gjinverse', 'gjsolve']) {
    for (const order of [2, 3, 4]) {
      const { stages } = make({ program, order, seed: order }).model;
      assert.deepEqual(A.stagePlan(program, order), stages.map((s) => ({ id: s.id, column: s.column ?? null })), `${program} ${order}`);
      assert.deepEqual(A.fromChoices(program, order).map((choice) => choice.from), range(2, stages.length));
    }
  }
});

// Each case: the assignment, the names read from the codes, and the names of
// the sheets that its keys are printed for, each with the matrix of that name
// (pinned above for 김민수) and the link that the student was given.
test('the keys are printed for the class list, else the names read, or once for a class\'s one matrix', () => {
  const base = 'https://school.example/gj/index.html';
  const cases = [[monday, ['Choi'], names], [{ ...monday, names: [] }, ['Choi', '김민수'], ['Choi', '김민수']],
                 [{ ...monday, names: [] }, [], []], [{ ...monday, names: [], perStudent: false }, ['Choi'], ['']]];
  for (const [a, read, expected] of cases) {
    const sheets = finish(A.makingKeySheets(a, read, base));
    assert.deepEqual(sheets.map((sheet) => sheet.name), expected);
    for (const { name, exercise, link } of sheets) {
      assert.equal(exercise.seed, a.perStudent ? A.studentSeed(a.seed, name) : a.seed, name);
      assert.ok(link.startsWith(base + '#gjinverse&assignment='));
      assert.equal(A.parseLink(new URL(link).hash).name, a.names.length > 0 ? name : null, name);
    }
  }
  assert.equal(finish(A.makingKeySheets(monday, [], '')).find((sheet) => sheet.name === '김민수').exercise.seed, 3100270559);
});

test('a result code reads back whole, is found through hyphens, blanks, line breaks and full-width letters, and one altered is caught', needsBuild, () => {
  const result = R.noted(R.noted(R.newResult(A.id(monday), '김민수', 1796720400000), 3, 4,
    { answer: 0, given: { text: '−1/３' }, miss: false }), 3, 4, { answer: 2, given: { text: 'Infinity, 그대로' }, miss: true });
  const stages = [{ k: 2, done: true, right: false, tries: 7, hints: 3, shown: true,
    first: [{ alone: true }, ...['no', 'one', 'zero', 'many'].map((choice) => ({ choice })), { text: '-2.5e-05' }, null, { text: '1'.repeat(70) }] }];
  for (const r of [result, { ...result, handed: result.started + 3599000, stages }]) {
    const written = R.write(r);
    assert.match(written, /^GJR1[0-9A-Z]+$/);
    const back = R.read(written);
    assert.deepEqual(back, { ...r, stages: r.stages.map((s) => ({ ...s, first: s.first.map((x) => (x?.text ? { text: x.text.normalize('NFKC').replace('−', '-').slice(0, 64) } : x)) })) });
    assert.deepEqual(R.read(written.toLowerCase()), back);
  }
  const kim = code(monday, names[0], ['first', 'tries', 'hint', 'shown'], 30);
  let caught = 0;
  for (let at = 4; at < kim.length; at++) {
    const other = base32Alphabet[(base32Alphabet.indexOf(kim[at]) + 1 + (at % 31)) % 32];
    caught += Boolean(R.read(kim.slice(0, at) + other + kim.slice(at + 1)).problem) + Boolean(R.read(kim.slice(0, at)).problem);
  }
  assert.equal(caught, 2 * (kim.length - 4));
  assert.ok(kim.length < 400, `${kim.length} characters`);
  assert.deepEqual(['GJR2' + kim.slice(4), 'GJR' + kim.slice(4), 'GJ' + kim.slice(3), 'not a code', kim + '0', 'x' + kim].map((c) => R.read(c).problem),
    ['code.version', 'code.broken', 'code.broken', 'code.broken', 'code.broken', 'code.broken']);
  assert.deepEqual(R.read(kim.match(/.{1,9}/g).join(' - ')), R.read(kim));
  assert.throws(() => R.write({ ...result, id: 'ABC' }), /id/);
  const other = code({ ...monday, seed: 1 }, 'Choi', ['first'], 5);
  const split = (by) => kim.match(/.{1,24}/g).join(by);
  const wide = [...kim].map((ch) => String.fromCharCode(ch.charCodeAt(0) + 0xfee0)).join('');
  // text pasted, the codes found in it
  const pasted = [[`선생님, ${kim}입니다.\n(${kim.toLowerCase()}) GJR1 done; xGJR1${kim.slice(4)} ${kim.slice(0, 20)}`, [kim, kim.toLowerCase(), kim.slice(0, 20)]],
    [split('-'), [kim]], [`코드: ${split(' \n')}\nKim Minsu`, [kim]], [`${split(' ')} and ${other}`, [kim, other]], [wide, [kim]],
    [split('\u2010'), [kim]], [`${split(' ').slice(0, -2)}X ok`, [`${kim.slice(0, -2)}Xok`]], [`GJR2${split(' ').slice(4)} ok`, [`GJR2${kim.slice(4)}`]],
    // marks of direction and an invisible times, which a copy from a right-to-left chat or a formula brings
    ...['\u200e', '\u200f', '\u2062', '\u2067'].map((mark) => [`${kim.slice(0, 9)}${mark}${kim.slice(9)}`, [kim]])];
  for (const [text, found] of pasted) assert.deepEqual(R.find(text), found, text);
  // What a code altered near its end still tells: its assignment and name.
  assert.deepEqual(R.salvage(`${kim.slice(0, -6)}000000`), { id: A.id(monday), name: names[0] });
  assert.deepEqual(R.salvage(`gjr1${kim.slice(4, -6).toLowerCase()}000000`), { id: A.id(monday), name: names[0] });
  assert.deepEqual(['GJR1', 'GJR1ZZZZZZZZZZZZZZZZZZZZ', 'code', 'GJR2' + kim.slice(4), R.write({ ...result, name: '' }), R.write({ ...result, name: 'a\u0001' })]
    .map(R.salvage), [null, null, null, null, null, null]);
  // What is not a result as the page keeps one: each field of another shape.
  const r = R.read(kim);
  const s0 = r.stages[0];
  const notResults = [null, 'x', { ...r, id: 5 }, { ...r, id: 'ABC' }, { ...r, name: 5 }, { ...r, started: NaN }, { ...r, handed: '5' },
    { ...r, stages: Array(65).fill(s0) }, ...[null, { k: -1 }, { k: 1.5 }, { done: 1 }, { right: 'yes' }, { shown: null }, { hints: 4 }, { tries: -1 },
      { first: 'x' }, { first: Array(201).fill(null) }, { first: [5] }, { first: [{ choice: 'maybe' }] }, { first: [{ alone: 1 }] }]
      .map((change) => ({ ...r, stages: [change && { ...s0, ...change }] }))];
  assert.deepEqual([R.isResult(r), notResults.filter(R.isResult)], [true, []]);
});

test('an order-4 inverse with every entry asked makes a code of reasonable length', needsBuild, () => {
  const a = A.assignment({ order: 4, fill: 'all', seed: 7 });
  const stages = make(A.exerciseFor(a, 'x')).model.stages.length;
  const long = code(a, 'x', Array(stages - 1).fill('first'), 40);
  assert.ok(long.length < 2400, `${long.length} characters`);
  assert.deepEqual(results(a, long).rows[0].cells.map((c) => c.status), Array(stages - 1).fill('first'));
});

// What a student's work is scored on, with a singular A (the stages after it
// says so are not asked): [assignment, name, how each stage goes]; the
// stages asked are those that the real session went through to its end.
test('a student\'s work is scored on the stages asked of that student\'s run, as the table counts them', needsBuild, () => {
  const singular = A.assignment({ seed: 31, options: ['singular'], names: ['S2', 'S3'] });
  const cases = [[singular, 'S2', Array(9).fill('first')], [singular, 'S3', ['first', 'hint', 'shown', 'first', 'first', 'first']],
    [A.assignment({ ...singular, program: 'gjsolve' }), 'S3', Array(9).fill('tries')], [A.assignment({ seed: 5, from: 8 }), 'x', ['first', 'tries', 'first']]];
  for (const [a, name, plan] of cases) {
    const { student, practice, m } = worked(a, name, plan);
    const { count, right, hints, shown } = tally(practice);
    assert.deepEqual([practice.finished, W.score(a, m, student.result)], [true, { asked: count, done: count, right, hints, shown, share: right / count }], name);
    const row = results(a, W.handIn(student, monday9 + 600000).handed).rows.find((r) => r.name === name);
    assert.deepEqual([row.asked, row.right, row.flags.filter((f) => f !== 'missing')], [count, right, []], name);
  }
  const table = results(singular, cases.slice(0, 2).map(([a, name, plan]) => code(a, name, plan, 30)).join('\n'));
  assert.deepEqual(table.rows.map((row) => row.cells.map((c) => c.status).join(' ')),
    ['first first first first first first first', 'first tries shown first first first unasked']);
});

test('work kept of another shape starts afresh; the hints and Show that a locked page allows; no hand-in without work', needsBuild, () => {
  const a = A.assignment({ seed: 7, order: 2, hints: 1 });
  const fresh = W.named(W.opened(a, null), ' Kim\u00a0 ', null, 5);
  const result = { ...fresh.result, stages: [{ k: 1, done: false, right: true, tries: 1, hints: 0, shown: false, first: [null] }] };
  const kept = { progress: null, finished: false, result, handed: null };
  const odd = [{ ...kept, result: { ...result, stages: 'none' } }, { ...kept, result: { ...result, stages: [{ ...result.stages[0], first: 'x' }] } },
    { ...kept, result: { ...result, stages: [{ ...result.stages[0], hints: 4 }] } }, { ...kept, result: { ...result, id: 'ABCDEFG' } },
    { ...kept, handed: 5 }, { ...kept, result: { ...result, started: '5' } }, 'W1', null];
  for (const work of odd) assert.deepEqual(W.named(W.opened(a, null), 'Kim', work, 5), fresh, JSON.stringify(work));
  assert.deepEqual([W.named(W.opened(a, null), 'Kim', kept, 9).result, fresh.name], [result, 'Kim']);
  // Work begun under another name (an LMS that names the student only later) keeps it, and so its matrix; the name given is noted.
  const later = W.named(W.opened(a, 'Kim, Minji', true), 'Kim, Minji', kept, 9);
  assert.deepEqual([later.name, later.given, later.result], ['Kim', 'Kim, Minji', result]);
  // An LMS's name past maxName: the name that the code keeps, which the student's own link takes.
  const long = W.named(W.opened(a, null), 'x'.repeat(A.maxName + 50), null, 5).name;
  assert.deepEqual([long, A.parseLink(A.studentFragment(a, long)).name], ['x'.repeat(A.maxName), long]);
  const { student } = worked(a, 'Kim', ['first']);
  // student, the hint's steps and Show allowed, whether a hand-in writes a code
  const cases = [[fresh, 1, false, false], [W.opened(a, null), 3, true, false], [{ ...student, assignment: { ...a, show: true, hints: 0 } }, 0, true, true],
    [W.handIn(student, 9), 3, true, true], [student, 1, false, true]];
  assert.deepEqual(cases.map(([st]) => [st, hintStepsAllowed(st), showAllowed(st), W.handIn(st, 9).handed !== null]), cases);
  assert.equal(hintsAllowed(fresh, 3), 1);
  // The pane's printouts: a locked page's up to the stage at hand, none before practice; every one once done or handed in.
  const upTo = [[student, { current: 3, finished: false }, 3], [student, null, 0], [student, { current: 3, finished: true }, Infinity],
    [W.handIn(student, 9), { current: 3, finished: false }, Infinity], [null, { current: 3, finished: false }, Infinity]];
  assert.deepEqual(upTo.map(([st, session]) => printoutsUpTo(st, session)), upTo.map((c) => c[2]));
});

// The class of monday: [name, minutes to the hand-in, how each stage went].
// 박서연 hands in three times; a damaged code of Lee's, one of another
// assignment and one of another version, 1e999 as a first answer, codes
// pasted again (as they were, in small letters, in parts), a name past 100
// characters, and a code handed in after the due date or too fast.
test('the table grades each student by the rule picked over every code, and sets aside only what it cannot take', needsBuild, () => {
  const a = { ...monday, due: '2026-12-07' };
  const longName = 'Kim '.repeat(30).trim();
  const plans = [[names[0], 25, ['first', 'tries', 'hint', 'shown', 'first', 'open']], [names[2], 20, ['tries']], [names[2], 30, ['first', 'first', 'first']],
    [names[2], 40, ['first']], ['Choi', 60 * 20, ['tries']], ['Kang', 0.2, ['huge', 'first', 'first']], [longName, 30, ['first', 'first', 'hint']]];
  const [kim, park1, park2, park3, choi, kang, long] = plans.map(([name, minutes, plan]) => code(a, name, plan, minutes));
  const lee = code(a, names[1], ['first'], 10);
  const damaged = lee.slice(0, -8) + (lee.at(-8) === 'A' ? 'B' : 'A') + lee.slice(-7);
  const other = code({ ...a, seed: 1 }, names[0], ['first'], 5);
  const pasted = `${park3}\n민수: ${kim}\n${park1} ${damaged} ${choi} ${other} ${kang}\n${long}\n${kim}\ngjr1${kim.slice(4).toLowerCase().replace(/1/g, 'l')}\n` +
    `${park2.match(/.{1,30}/g).join('-')} GJR2${park1.slice(4)}`;
  const table = results(a, pasted, { offset: -540 });
  const statuses = (row) => row.cells.map((c) => c.status).join(' ');
  assert.deepEqual(table.rows.map((row) => [row.name, row.right, row.asked, row.hints, row.shown, row.flags.join(' ')]),
    [[names[0], 2, 9, 1, 1, ''], [names[1], 0, 9, 0, 0, 'damaged'], [names[2], 3, 9, 0, 0, 'codes'], ['Kang', 2, 9, 0, 0, 'notListed tooFast'],
     [longName.slice(0, 99), 2, 9, 1, 0, 'notListed'], ['Choi', 0, 9, 0, 0, 'notListed late']]);
  assert.deepEqual(table.rows.slice(0, 3).map(statuses), ['first tries tries shown first open none none none', 'none none none none none none none none none',
    'first first first open none none none none none']);
  assert.deepEqual([table.counts, table.missed.slice(0, 6).map((x) => [x.missed, x.done]), table.hardest, table.rejected.map((r) => [r.problem, r.name])],
    [{ codes: 10, graded: 5, rejected: 3, repeated: 2 }, [[2, 5], [1, 4], [2, 4], [1, 1], [0, 1], [0, 0]], [1, 3, 2],
     [['code.broken', names[1]], ['code.other', names[0]], ['code.version', null]]]);
  // What a row opens to: each first answer, its verdict and slip.
  const opened = (row) => { const job = detailing(a, row.code, table.stages); while (!job.step(0)); return job.result; };
  assert.deepEqual([opened(table.rows[0])[1].answers[0], opened(table.rows[3])[0].answers[0].given, opened(table.rows[1])[0]],
    [{ key: 'order', label: { id: 'practice.q.order', values: { j: 1 } }, given: { text: '12345' }, right: false, slip: 'notOrder' }, { text: '1e999' },
     { tries: 0, shown: false, answers: [] }]);
  // The rule picks which of 박서연's codes counts; of two as good by 'best', the later.
  const park4 = code(a, names[2], ['first'], 50);
  for (const [rule, codes, right, counted] of [['best', [park1, park2, park3], 3, [false, true, false]], ['first', [park1, park2, park3], 0, [true, false, false]],
    ['latest', [park1, park2, park3], 1, [false, false, true]], ['best', [park3, park4], 1, [false, true]]]) {
    const row = results(a, codes.toReversed().join(' '), { rule }).rows[2];
    assert.deepEqual([row.right, row.codes.map((c) => c.counted), row.code], [right, counted, codes[counted.indexOf(true)]], rule);
  }
  // What grading found, kept as storage keeps it, grades the same table without a run or a check; an older page's is not taken.
  const memo = newMemo();
  results(a, pasted, { offset: -540, memo });
  assert.deepEqual(results(a, pasted, { offset: -540, memo: memoOf(JSON.parse(JSON.stringify(memo))), models: new Map() }), table);
  assert.deepEqual([memoOf({ ...memo, version: 0 }).codes, memoOf(null).runs], [{}, {}]);
  // A name corrected (박서연 to 박서윤): the codes handed in under either name land in its one row, on the matrix first drawn.
  const fixed = { ...a, names: [names[0], names[1], '박서윤'], drawn: { [A.nameKey('박서윤')]: names[2] } };
  const renamed = results(fixed, `${park1} ${code(fixed, '박서윤', ['first'], 45)}`).rows;
  assert.deepEqual([renamed.length, renamed[2].name, renamed[2].right, renamed[2].flags], [3, '박서윤', 1, ['codes']]);
  // Codes altered and sealed again, as another page might write them: answers
  // that do not fit, a stage not asked; and a verdict of the student's page's own.
  const tamper = (from, change) => { const r = R.read(from); change(r); return R.write(r); };
  const odd = [(r) => { r.stages[0].first[0] = { choice: 'yes' }; }, (r) => { r.stages[0].first.pop(); }, (r) => { r.stages[0].k = 0; }];
  const strange = results(a, odd.map((change) => tamper(kang, change)).join(' '));
  assert.deepEqual([strange.rejected.map((r) => r.problem), strange.rows.length], [Array(3).fill('code.mismatch'), 3]);
  const claims = results(a, tamper(kim, (r) => { r.stages[1].right = true; }));
  assert.deepEqual([claims.rows[0].flags, readCount(claims).id], [['differs'], 'teacher.statusAll']);
  assert.deepEqual([results(A.assignment({ secret }), '').stages, grading(a, '').step(Infinity)], [range(1, 9), true]);
  // Worked out in slices, a piece at a time, the same table.
  const job = grading(a, pasted, { offset: -540 });
  let pieces = 1;
  while (!job.step(0)) pieces++;
  assert.deepEqual([job.result, pieces > 100], [table, true]);
  // One row a student in the CSV, in numbers (the stages right the first time, of a point); the codes set aside are not in it.
  const t = translator('ko');
  const lines = resultsCsv(t, table, -540).split('\r\n');
  assert.deepEqual([lines.length, lines[0], lines[1], lines[2], lines[6]], [table.rows.length + 2,
    '\ufeff이름,1번 문제(1점),합계(1점),백분율,걸린 시간(분),제출 시각,기한 넘김,확인할 점', '김민수,0.22,0.22,22.2,25,2026-12-07 09:25,,',
    `"Lee, ""JJ"" Jiwoo",,,,,,,코드가 손상됨: 학생에게 코드를 다시 붙여 넣어 보내 달라고 하세요`,
    'Choi,0,0,0,1200,2026-12-08 05:00,예,명단에 없는 이름; 제출 기한이 지나서 냄']);
  assert.equal(t(readCount(table).id, readCount(table).values), '코드 10개를 읽어 학생 5명의 결과를 채웠습니다(3개는 채점에서 뺌).');
  assert.deepEqual([{ status: 'tries', hints: 1 }, { status: 'open', hints: 2 }, { status: 'unasked', hints: 0 }].map((c) => cellText(translator('en'), c)),
    ['right after tries, 1 hint', 'begun, not finished, 2 hints', 'not asked: A is singular']);
});

test('CSV files are UTF-8 with a byte-order mark, quoted as RFC 4180 asks, formulas disarmed', () => {
  const text = A.linksCsv(translator('ko'), [{ name: '김민수', link: 'file:///a.html#x' }, { name: '=HYPERLINK("x")', link: 'b,c' }]);
  assert.deepEqual([...new TextEncoder().encode(text).slice(0, 9)], [0xef, 0xbb, 0xbf, 0xec, 0x9d, 0xb4, 0xeb, 0xa6, 0x84]);
  assert.equal(text, '\ufeff이름,링크\r\n김민수,file:///a.html#x\r\n"\'=HYPERLINK(""x"")","b,c"\r\n');
  assert.equal(csv([['a\nb', -1, '-1', '@x', 'plain']]), '\ufeff"a\nb",-1,\'-1,\'@x,plain\r\n');
  // Named for a teacher to find: the title (what a file name cannot hold dropped), else the program and order, and the day.
  assert.deepEqual([A.fileName('Links', { ...monday, title: 'a/b: "c"\u202e' }, '2026-12-09'), A.fileName('결과', A.assignment({ order: 4 }), '2026-12-09')],
                   ['Links - a b c 2026-12-09.csv', '결과 - gjinverse 4 2026-12-09.csv']);
  assert.equal(crc32(new TextEncoder().encode('123456789')), 0xcbf43926);
  assert.deepEqual([...fromBase32(toBase32(Uint8Array.from([0, 255, 1, 2, 3])))], [0, 255, 1, 2, 3]);
  assert.deepEqual(['0U', '01', 'oO'].map(fromBase32).map((x) => x && [...x]), [null, null, [0]]);
});
