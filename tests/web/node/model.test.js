// The model of a run (web/model.js) and the page's words, under node, on real
// runs of the web build's programs: the dialogue's pieces, the stages and their
// facts, the changed entries, the exact verdict and values, each operation's
// words in both languages, the two tables of texts and the Korean particles.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { golden, needsBuild, programs, typeEntries, goldenCase } from './programs.js';
import { model, replayed, entry, residue, stopDivisor } from '../../../web/logic/run/model.js';
import { format } from '../../../web/logic/run/exact.js';
import { describe, sheetTitle, optionWords, questionLabel } from '../../../web/logic/run/words.js';
import { text, translator } from '../../../web/logic/language/translate.js';
import { texts } from '../../../web/logic/language/texts.js';
import { examples } from '../../../web/logic/run/share.js';
import * as runner from '../../../web/logic/run/runner.js';
import { stageLines } from '../../../web/logic/run/runner.js';
import { particle } from '../../../web/logic/language/korean.js';

before(programs);

// The models of program as the lines of input are typed, each extending the last.
function models(program, input, ended = false) {
  const lines = input.match(/[^\n]*\n|[^\n]+$/g) ?? [];
  const all = [];
  for (const run of typeEntries(program, lines, ended)) all.push(model(run, all.at(-1) ?? null));
  return all;
}

const typedModel = (program, input, ended = true) => models(program, input, ended).at(-1);

const withExact = (m) => replayed(m);

test('the pieces of a run make the console\'s transcript, and each run\'s pieces extend the last run\'s', needsBuild, () => {
  for (const name of ['gjinverse/worked-2x2', 'gjinverse/end-of-input', 'gjsolve/residues-3x3', 'gjsolve/order-above-capacity']) {
    const program = name.split('/')[0];
    const { input, expected } = goldenCase(name);
    const all = models(program, input, !input.endsWith('\n'));
    all.slice(1).forEach((m, k) => {
      const before = all[k];
      assert.deepEqual(m.pieces.slice(0, before.settled).map((p) => before.pieces.indexOf(p)),
                       [...Array(before.settled).keys()], `${name}: run ${k + 1} keeps the pieces drawn`);
    });
    const last = all.at(-1);
    const text = (kind) => last.pieces.filter((p) => p.kind === kind || (kind === 'text' && p.kind === 'stage'))
      .map((p) => (p.kind === 'stage' ? last.stages[p.k].text : p.text)).join('');
    assert.ok(Buffer.from(last.run.bytes).equals(expected), `${name}: the golden transcript`);
    assert.equal(text('text'), last.run.output, name);
    assert.equal(text('echo'), input, name);
    assert.equal(text('error'), last.run.errors, name);
    assert.deepEqual(last.pieces.at(-1), { kind: 'exit', status: last.run.status }, name);
  }
});

// Entries typed at once (a link) make one run of the program; it must give
// what a run per entry gives. The splits: by line, by three characters (cuts
// inside numbers; a long input whole), and with lines past the program's end.
test('entries typed at once give the run that a run per entry gives, stops and all', needsBuild, () => {
  const names = ['gjinverse', 'gjsolve'].flatMap((program) => fs.readdirSync(path.join(golden, program))
    .filter((f) => f.endsWith('.out') && !f.endsWith('.musl.out')).map((f) => `${program}/${f.slice(0, -4)}`));
  const splits = [(input) => input.match(/[^\n]*\n|[^\n]+$/g) ?? [], (input) => (input.length < 200 ? input.match(/[^]{1,3}/g) ?? [] : [input]),
                  (input) => [...(input.match(/[^\n]*\n|[^\n]+$/g) ?? []), '1\n', '2 3\n']];
  const fields = ['entries', 'input', 'ended', 'status', 'output', 'errors', 'report', 'stops'];
  for (const name of names) {
    const program = name.split('/')[0];
    const { input, expected } = goldenCase(name);
    for (const [s, split] of splits.entries()) {
      for (const ended of [false, true]) {
        const entries = split(input);
        const one = runner.extendBy(runner.open(program), entries, ended);
        const each = entries.reduce((run, entry, k) => runner.extend(run, entry, ended && k === entries.length - 1) ?? run, runner.open(program));
        for (const field of fields) assert.deepEqual(one[field], each[field], `${name}, split ${s}, ended ${ended}: ${field}`);
        const musl = path.join(golden, `${name}.musl.out`);  // the programs' C library here prints some inputs otherwise
        if (s === 0 && ended) assert.ok(Buffer.from(one.bytes).equals(fs.existsSync(musl) ? fs.readFileSync(musl) : expected), `${name}: the golden transcript`);
      }
    }
  }
  const [run, after] = [runner.extend(runner.open('gjsolve'), '2\n', false), runner.extendBy(runner.open('gjsolve'), ['2\n'], false)];
  assert.deepEqual(runner.extendBy(run, ['1 2 3\n', '4 5 6\n'], false).stops, typeEntries('gjsolve', ['2\n', '1 2 3\n', '4 5 6\n']).at(-1).stops);
  assert.equal(runner.extendBy(after, [], true), after, 'no entries: the run itself');
});

test('each stage knows its column, the columns it shows and its pivot', needsBuild, () => {
  const facts = (m) => m.stages.map((s) => [s.id, s.column, s.first, s.last, s.pivot && `${s.pivot.r},${s.pivot.c}`, s.rows.length]);
  assert.deepEqual(facts(typedModel('gjinverse', '2\n2 1\n1 3\n')), [
    ['inverse_input', null, 1, 4, null, 2], ['scaled', null, 1, 4, null, 2], ['pivoted', 1, 1, 4, null, 2],
    ['eliminated', 1, 1, 4, '0,0', 2], ['backward', 2, 1, 4, '1,1', 2], ['normalized', null, 1, 4, null, 2],
    ['inverse_done', null, 3, 4, null, 2]]);
  assert.deepEqual(facts(typedModel('gjsolve', '2\n2 -3 0\n1 1 5\n')).at(-1), ['solution', null, null, null, null, 2]);
  const residues = typedModel('gjsolve', goldenCase('gjsolve/residues-3x3').input).stages;
  assert.deepEqual(residues[0].rows, [['1', '1', '1', '6'], ['0', '2', '5', '-4'], ['2', '5', '-1', '27']]);
  assert.deepEqual(residues.at(-2).rows[0], ['0.56', '0', '8.88178e-17', '2.8']);
  assert.deepEqual(residues.at(-1).rows, [['5'], ['3'], ['-2']]);
  // An order of 0 has printouts without rows; a refused order has none.
  assert.deepEqual(facts(typedModel('gjinverse', '0\n')).map((f) => [f[0], f[5]]),
                   [['inverse_input', 0], ['scaled', 0], ['normalized', 0], ['inverse_done', 0]]);
  assert.deepEqual(typedModel('gjinverse', '11\n').stages, []);
});

test('an entry is changed when printed otherwise than in the printout of the same shape before it', needsBuild, () => {
  const changedColumns = (stage) => stage.changed.map((row) => row.flatMap((changed, c) => (changed ? [c] : [])));
  const m = typedModel('gjinverse', '3 0 2 1 1 1 1 2 1 0');
  assert.deepEqual(changedColumns(m.stages[0]), [[], [], []], 'the first printout has none before it');
  assert.deepEqual(changedColumns(m.stages[2]), [[0, 2, 3, 4], [0, 2, 3, 4], []], 'the pivot pass exchanged rows 1 and 2');
  assert.deepEqual(changedColumns(m.stages.at(-1)), [[], [], []], 'the inverse alone is the first of its size');
  assert.deepEqual(changedColumns(typedModel('gjinverse', '2 2 1 1 3').stages[2]), [[], []], 'no exchange, no change');
});

test('the exact view takes the numbers as the program read them, or says why it cannot', needsBuild, () => {
  const fraction = (x) => format(x);
  const cases = [
    ['2\n2 1\n1 3\n', null, '2 1 1 0'],
    ['2 2 1 1 3 9 9', null, '2 1 1 0'],              // later text is never read
    ['2\n2.0 1e0\n+1 3\n', null, '2 1 1 0'],
    ['2.5 1 1 3', null, '1/2 1 1 0'],                // the order is 2, then .5
    ['2\n0.1 1e-05\n1 3\n', null, '1/10 1/100000 1 0'],
    ['2\n-0 1\n1 3\n', null, '0 1 1 0'],
    ['2\n2 1\n1 x\n', { token: 'x' }],
    ['2\n2 1\n1 0x3\n', { token: '0x3' }],           // read as 3, but not written so
    ['2\n1e-5000 1\n1 3\n', { token: '1e-5000' }],   // read as 0
    ['2\n3e-324 1\n1 3\n', { token: '3e-324' }],     // read as 4.94066e-324, with only one bit
    ['2\n1 1e-320\n5 -4\n', { token: '1e-320' }],    // read as 9.99989e-321
    ['2\n1 3e-308\n5 -4\n', null, '1 3/1' + '0'.repeat(308) + ' 1 0'],
    ['2\n2 1\n1', { missing: true }],
    ['2\n2 nan\n1 3\n', { value: 'nan', row: 1 }],
    ['2\n2 1\n1 -inf\n', { value: '-inf', row: 2 }],
  ];
  for (const [input, why, firstRow] of cases) {
    const verdict = typedModel('gjinverse', input).verdict;
    assert.deepEqual(verdict.readable ? null : verdict.why, why, input);
    if (firstRow) assert.equal(verdict.start[0].map(fraction).join(' '), firstRow, input);
  }
});

test('exact values, residues and the entries that are not numbers', needsBuild, () => {
  const exactly = (m, k) => m.stages[k].rows.map((row, r) => row.map((_, c) => {
    const e = entry(m, k, r, c);
    return e.residue ? 'residue' : format(e.value);
  }).join(' '));
  const worked = withExact(typedModel('gjinverse', '2\n2 1\n1 3\n'));
  assert.deepEqual(exactly(worked, 5), ['1 0 3/5 -1/5', '0 1 -1/5 2/5']);
  assert.deepEqual(exactly(worked, 6), ['3/5 -1/5', '-1/5 2/5'], 'the inverse is the right half');
  assert.equal(entry(typedModel('gjinverse', '2\n2 1\n1 3\n'), 5, 0, 2).state, 'pending');

  const residues = withExact(typedModel('gjsolve', goldenCase('gjsolve/residues-3x3').input));
  const marked = residues.stages.flatMap((s) => s.rows.flatMap((row, r) => row.flatMap((printed, c) =>
    (residue(residues, s.k, r, c) ? [[s.k + 1, printed]] : []))));
  assert.deepEqual(marked, [[7, '-2.22045e-16'], [8, '8.88178e-17']]);
  assert.deepEqual(exactly(residues, 8), ['5', '3', '-2']);

  // Entries from 3e-308 to 1e300 overflow to -inf and nan where the exact value is 0: neither is a residue.
  const huge = withExact(typedModel('gjinverse', '3\n3e-308 1e-200 5e307\n-4 1e-300 -4\n1 1e300 -4\n'));
  const odd = huge.stages.flatMap((s) => s.rows.flatMap((row, r) => row.flatMap((printed, c) => {
    const e = entry(huge, s.k, r, c);
    return e.nonFinite ? [[s.k + 1, r + 1, c + 1, printed, e.residue, e.state === 'exact' && format(e.value)]] : [];
  })));
  assert.deepEqual(odd.filter(([k, r, c]) => k === 8 && r === 1 && c <= 3).map((e) => e.slice(0, 5).concat(e[5].length > 20 ? 'long' : e[5])),
                   [[8, 1, 1, 'inf', false, 'long'], [8, 1, 2, '-inf', false, '0'], [8, 1, 3, 'nan', false, '0']]);
});

test('a division by an exact zero: where the replay stops, and the divisor as printed', needsBuild, () => {
  const cases = [
    ['gjinverse', goldenCase('gjinverse/singular-residue-3x3').input, { stage: 7, row: 1, column: 2, singular: true }, '1.57898e-15'],
    ['gjinverse', goldenCase('gjinverse/singular-3x3').input, { stage: 8, row: 1, column: 1, singular: true }, '0'],
    // Here the exact zero prints as 1e-300, in a matrix that is not singular.
    ['gjinverse', '3\n1 1e300 1e-300\n1e300 1e-200 1\n1e300 2 1e-300\n', { stage: 6, row: 2, column: 3, singular: false }, '1e-300'],
  ];
  for (const [program, input, stop, shown] of cases) {
    const m = withExact(typedModel(program, input));
    const { op, ...where } = m.exact.stop;
    assert.deepEqual(where, stop, input);
    assert.equal(stopDivisor(m), shown, input);
    assert.equal(entry(m, stop.stage, 0, 0).state, 'past');
  }
});

test('past the size that the replay works out, the entries say that they are too large', needsBuild, () => {
  const input = `10
2e-224 -3e256 -9e-235 -3e172 -5e240 -2e-52 4e-163 1e277 8e39 -7e256
4e93 7e284 6e-112 7e-148 -4e198 5e-264 -2e-149 7e276 2e-258 -9e-218
2e-92 4e-218 -8e145 7e239 -7e210 3e7 -7e-143 3e87 -3e-51 -2e242
9e109 3e180 -2e-5 -5e196 -9e-253 -8e-225 -7e-218 -2e-268 7e159 8e-200
-9e147 -6e-110 -7e-228 4e268 -9e126 -9e159 -8e228 4e-247 -7e63 -9e-216
2e-252 7e-190 -6e-292 5e-160 -2e-25 2e219 -7e-231 -2e235 8e159 3e-165
9e211 -9e135 8e-258 2e137 -6e-220 -1e-288 -5e-128 4e236 2e-129 -4e-135
-2e166 4e63 4e52 -9e-172 -7e-136 9e70 -1e244 9e280 -8e-193 5e-11
-2e244 1e156 9e97 2e-179 6e283 -3e-92 7e83 2e60 1e73 3e-175
9e234 9e-257 -3e79 8e94 5e292 -8e210 8e-131 -8e54 2e109 3e-250
`;
  const m = withExact(typedModel('gjinverse', input));
  assert.deepEqual([m.exact.tooLarge, m.exact.stop], [{ stage: 27 }, null]);
  assert.deepEqual([26, 27, 30].map((k) => entry(m, k, 0, 0).state), ['exact', 'tooLarge', 'tooLarge']);
});

// Literal words, so that two texts swapped fail.
test('each kind of operation in its notation and its words, and the sheets\' and fields\' words, in both languages', needsBuild, () => {
  const runs = [['gjinverse', '2\n2 1\n1 3\n'], ['gjinverse', '3\n1 4 0\n2 4 1\n3 4 3\n'], ['gjsolve', '2\n0 1 2\n1 0 3\n'],
                ['gjsolve', '2\n2 -3 0\n1 1 5\n']];
  const said = { en: new Map(), ko: new Map() };
  for (const code of ['en', 'ko']) {
    const t = translator(code);
    for (const [program, input] of runs) {
      for (const stage of typedModel(program, input).stages) {
        for (const op of stage.ops) {
          const described = describe(t, op, stage);
          if (described && !said[code].has(described.notation)) said[code].set(described.notation, described.words);
        }
      }
    }
    // And the words of a sheet's title and options, and of the fields' labels.
    for (const [key, words] of [['sheet gjsolve 3', sheetTitle(t, 'gjsolve', 3)], ['sheet gjinverse 4', sheetTitle(t, 'gjinverse', 4)],
      ['options', optionWords(t, [])], ['options nice exact', optionWords(t, ['nice', 'exact'])],
      ['entry 2 3', questionLabel(t, { label: { id: 'practice.q.entry', values: { r: 2, c: 3, stage: 'eliminated' } } })],
      ['divisor 2', questionLabel(t, { label: { id: 'practice.q.divisor', values: { i: 2 } } })]]) said[code].set(key, words);
  }
  const expected = {
    en: [['R1 ÷ 2', 'its largest entry, column 1'], ['R2 ↔ R3', 'row 3 is larger in magnitude in column 1, so it moves up'],
         ['no exchange', 'no row is larger in magnitude in column 1 than the row above it'],
         ['R2 ← R1 − 3 × R2', 'row 2 becomes the pivot row minus r times itself, r = a11 ÷ a21 = 3'],
         ['R1 ← R2 − (-5) × R1', 'row 1 becomes the pivot row minus r times itself, r = a22 ÷ a12 = -5'],
         ['R2 unchanged', '0 in column 1'], ['R2 ÷ (-2.5)', 'its diagonal entry a22'],
         ['x1 = 3.33333 ÷ 1.11111 = 3', 'the right-hand side of row 1 over its diagonal entry'],
         ['sheet gjsolve 3', 'Exercise: gjsolve, a 3 × 3 system of equations'], ['sheet gjinverse 4', 'Exercise: gjinverse, the inverse of a 4 × 4 matrix'],
         ['options', 'no options'], ['options nice exact', 'nice, exact'], ['entry 2 3', 'row 2, column 3 after the elimination'],
         ['divisor 2', 'row 2, divisor']],
    ko: [['R1 ÷ 2', '이 행에서 절댓값이 가장 큰 성분, 1열'], ['R2 ↔ R3', '1열에서 3행 성분의 절댓값이 더 커서 위로 올라감'],
         ['교환 없음', '1열에서 바로 위 행보다 절댓값이 큰 행이 없음'],
         ['R2 ← R1 − 3 × R2', '2행을 (피벗 행) − r × (2행)으로 바꿈, r = a11 ÷ a21 = 3'],
         ['R2 그대로', '1열 성분이 0'], ['R2 ÷ (-2.5)', '대각 성분 a22'],
         ['x1 = 3.33333 ÷ 1.11111 = 3', '1행의 우변을 대각 성분으로 나눈 값'],
         ['sheet gjsolve 3', '연습 문제: gjsolve, 3×3 연립방정식(미지수 3개)'], ['sheet gjinverse 4', '연습 문제: gjinverse, 4×4 행렬의 역행렬'],
         ['options', '조건 없음'], ['options nice exact', '깔끔한 최종 답, 정확한 단계'], ['entry 2 3', '소거 뒤 2행 3열'], ['divisor 2', '2행, 나누는 수']],
  };
  for (const code of ['en', 'ko'])
    for (const [notation, words] of expected[code]) assert.equal(said[code].get(notation), words, `${code}: ${notation}`);
});

test('both languages have the same texts with the same placeholders, and every id made of parts', needsBuild, () => {
  const { en, ko } = texts;
  assert.deepEqual(Object.keys(ko).sort(), Object.keys(en).sort());
  const placeholders = (text) => [...new Set([...text.matchAll(/\{(\w+)(?::[^{}]*)?\}/g)].map((m) => m[1]))].sort();
  const pairs = ['은/는', '이/가', '을/를', '와/과', '으로/로'];
  for (const id of Object.keys(en)) {
    assert.deepEqual(placeholders(ko[id]), placeholders(en[id]), id);
    assert.notEqual(en[id], '', id);
    assert.notEqual(ko[id], '', id);
    // A finished Korean sentence has no hedged particle; a placeholder names one of the pairs.
    assert.doesNotMatch(ko[id], /[을를은는이가와과]\([을를은는이가와과]\)|\(으\)로/, `hedged particle in ko ${id}`);
    for (const [, pair] of ko[id].matchAll(/\{\w+:([^{}]*)\}/g)) assert.ok(pairs.includes(pair), `${id}: ${pair}`);
    assert.doesNotMatch(en[id], /\{\w+:/, id);
  }
  const needed = [];
  for (const id of stageLines().keys()) needed.push(`stage.${id}`, `about.${id}`, `gloss.${id}`);
  needed.push('stage.solution', 'about.solution');
  const ops = new Set();
  for (const program of ['gjinverse', 'gjsolve'])
    for (const file of fs.readdirSync(path.join(golden, program)).filter((f) => f.endsWith('.ops')))
      for (const line of fs.readFileSync(path.join(golden, program, file), 'utf8').split('\n'))
        ops.add(line.split(' ')[0]);
  for (const op of ops) if (!['', 'row', 'read', 'stage'].includes(op)) needed.push(`op.${op}.notation`, `op.${op}.words`);
  for (const example of examples) needed.push(`example.${example.id}`, `example.${example.id}.note`);
  // And every text that the page's markup names.
  const markup = fs.readFileSync(path.join(import.meta.dirname, '..', '..', '..', 'web', 'assets', 'index.html'), 'utf8');
  needed.push(...[...markup.matchAll(/data-text(?:-label)?="([^"]+)"/g)].map((m) => m[1]));
  for (const id of needed) assert.ok(id in en, id);
  assert.throws(() => text('en', 'stage.pivoted', {}), /needs a value for \{j\}/);
  assert.throws(() => translator('fr'), /no language "fr"/);
  assert.equal(text('ko', 'status.waiting', { program: 'gjsolve' }), 'gjsolve가 입력을 기다립니다.');
  assert.equal(text('ko', 'exact.stop', { i: 1, c: 3 }), '정확히 계산하면 여기서 a13은 0인데, 이 단계는 이 값으로 나눕니다.');
});

// Each word as a Korean speaker reads its end aloud, and the particle of each pair after it.
test('the Korean particle fits the last sound of the word as read', () => {
  const cases = [  // word, 은/는 이/가 을/를 와/과 으로/로
    ['행렬', '은 이 을 과 로'], ['피벗', '은 이 을 과 으로'], ['성분', '은 이 을 과 으로'], ['나누기', '는 가 를 와 로'],
    ['r', '은 이 을 과 로'], ['a11', '은 이 을 과 로'], ['x1', '은 이 을 과 로'], ['a12', '는 가 를 와 로'],
    ['gjinverse', '는 가 를 와 로'], ['R3', '은 이 을 과 으로'], ['x', '는 가 를 와 로'], ['L', '은 이 을 과 로'],
    ['m', '은 이 을 과 으로'], ['b', '는 가 를 와 로'], ['0', '은 이 을 과 으로'], ['10', '은 이 을 과 으로'],
    ['-5', '는 가 를 와 로'], ['7', '은 이 을 과 로'], ['0.5', '는 가 를 와 로'], ['-0.333333', '은 이 을 과 으로'],
    ['1/3', '은 이 을 과 로'], ['-5/2', '는 가 를 와 로'], ['1.06061', '은 이 을 과 로'], ['120000', '은 이 을 과 으로'],
    ['-2.22045e-16', '은 이 을 과 으로'], ['1e-05', '은 이 을 과 으로'], ['nan', '은 이 을 과 으로'], ['-inf', '는 가 를 와 로'],
    ['f(x)', '는 가 를 와 로'], ['“abc”', '는 가 를 와 로'], ['(2행)', '은 이 을 과 으로'], ['A의 2열', '은 이 을 과 로'],
    ['\u2068박서윤\u2069', '은 이 을 과 으로'],  // a name isolated, as a student's sentence says it
  ];
  const chosen = (word) => ['은/는', '이/가', '을/를', '와/과', '으로/로'].map((pair) => particle(word, pair)).join(' ');
  assert.deepEqual(cases.map(([word]) => [word, chosen(word)]), cases);
  assert.equal(particle('3', '과/와'), '과');
  assert.throws(() => particle('3', '의/에'), /no particle pair/);
});
