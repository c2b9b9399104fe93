// Practice's session (web/logic/practice/session.js) under node, over real runs of the
// web build's programs: where practice starts, restoring saved work (whole,
// partial, corrupt), moving on, Show, the hint's steps and the tally. The
// answers come from the worked examples' printouts (worked-examples.js).
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import { needsBuild, programs, goldenCase } from './programs.js';
import { workedExamples, printedAnswer } from './worked-examples.js';
import * as session from '../../../web/logic/practice/session.js';
import { translator } from '../../../web/logic/language/translate.js';
import { modelOf } from '../../../web/logic/practice/exercises.js';

before(programs);

const examples = workedExamples;
const modelOfExample = (program) => modelOf(program, goldenCase(examples[program].golden).input);
// A run with a row left alone (row 2 at stage 3), a pivot in column 2, and -0 printed at stage 8 only.
const modelWithAlone = () => modelOf('gjinverse', '3\n0 1 2\n1 0 3\n4 -3 8\n');

// Answers every open question of the stage at hand right, then moves on.
function finishStage(m, example, s) {
  const k = s.current;
  for (const q of session.openQuestions(s, k)) s = session.answer(s, k, q.key, { text: printedAnswer(example, k, q.key) });
  return session.advance(m, s, k);
}

test('practice starts where the link asks, else one stage earlier for each exercise finished', needsBuild, () => {
  const m = modelOfExample('gjinverse');  // 7 printouts: stages 1 to 7, 0 to 6 here
  const link = (from, fill, own = false) => ({ from, fill, own });
  // asked, level: from (0-based), fill
  const cases = [
    [null, 0, 6, 'row'], [null, 2, 4, 'row'], [null, 9, 1, 'row'],
    [link(null, null), 3, 1, 'row'], [link(4, 'all'), 0, 3, 'all'], [link(99, 'none'), 0, 6, 'none'],
    [link(null, null, true), 1, 5, 'row'], [link(3, null, true), 5, 2, 'row'],
  ];
  for (const [asked, level, from, fill] of cases) {
    const s = session.start(m, { asked, level });
    assert.deepEqual([s.from, s.current, s.fill, s.finished], [from, from, fill, false], JSON.stringify([asked, level]));
    assert.deepEqual(session.chosen(s), { from: from + 1, fill });
  }
});

test('saved work comes back whole, in part where some of it is broken, and not at all when corrupt', needsBuild, () => {
  const m = modelOfExample('gjinverse');
  const example = examples.gjinverse;
  let s = session.start(m, { asked: { from: 2, fill: 'all', own: false } });
  s = finishStage(m, example, s);
  s = session.hint(session.answer(s, 2, 'order', { text: '2 1' }), 2);
  const saved = JSON.parse(JSON.stringify(session.stored(s)));  // as storage keeps it
  const kept = (r) => r && [r.from, r.current, r.fill, Array.from(r.stages, (x) => x && [[...x.answers.keys()].join(), x.wrong, x.hints, x.shown])];
  const whole = [1, 2, 'all', [undefined, ['divisor 1,divisor 2,entry 1 1,entry 1 2,entry 1 3,entry 1 4,entry 2 1,entry 2 2,entry 2 3,entry 2 4', false, 0, false], ['order', true, 1, false]]];
  const broken = (stages) => ({ ...saved, stages });
  const cases = [
    ['whole', saved, whole],
    ['an answer that is no answer is dropped', broken([null, { ...saved.stages[1], answers: [['x', 1], ['y'], [7, saved.stages[2].answers[0][1]], ...saved.stages[1].answers.slice(1)] }, saved.stages[2]]),
     [1, 2, 'all', [undefined, [whole[3][1][0].replace('divisor 1,', ''), false, 0, false], whole[3][2]]]],
    ['hints past the last step, odd flags', broken([null, saved.stages[1], { answers: saved.stages[2].answers, wrong: 'yes', hints: 9, shown: 1 }]),
     [1, 2, 'all', [undefined, whole[3][1], ['order', false, 3, false]]]],
    ['an answer\'s fields of another shape read as none', broken([null, saved.stages[1], { ...saved.stages[2], hints: -2,
      answers: [['order', { text: 21, choice: [], verdict: { right: false, slip: {} } }]] }]), [1, 2, 'all', [undefined, whole[3][1], ['order', true, 0, false]]]],
    ['no stages', { ...saved, stages: 'none' }, [1, 2, 'all', [undefined, ['', false, 0, false], ['', false, 0, false]]]],
    ['from 0', { ...saved, from: 0 }, null], ['current before from', { ...saved, current: 0 }, null], ['current past the last stage', { ...saved, current: 7 }, null],
    ['from past current', { ...saved, from: 3 }, null],
    ['shown', broken([null, saved.stages[1], { ...saved.stages[2], shown: true }]), [1, 2, 'all', [undefined, whole[3][1], ['order', true, 1, true]]]],
    ['at the last stage', { ...saved, current: 6 }, [1, 6, 'all', [...whole[3], ...Array(4).fill(['', false, 0, false])]]],
    ['an unknown fill', { ...saved, fill: 'some' }, null], ['not an object', 'practice', null], ['nothing', null, null],
  ];
  for (const [name, value, expected] of cases) assert.deepEqual(kept(session.restore(m, value)), expected, name);
  const odd = session.restore(m, cases[3][1]);
  assert.deepEqual([odd.stages[2].answers.get('order'), session.answer(odd, 2, 'order', { text: '1 2' }).stages[2].answers.get('order').verdict.right],
    [{ text: null, alone: false, choice: null, zero: false, verdict: { right: false, note: null, slip: null } }, true], 'answered again after');
  const none = session.restore(m, cases[4][1]);
  assert.deepEqual([session.answer(none, 1, 'divisor 1', { text: '2' }), session.answer(none, 2, 'x 9', { text: '1' }), session.openQuestions(none, 0)], [none, none, []],
                   'a stage behind, a question not asked, a stage not practised');
  // What can be restored stores as it was stored, its answers' flags too.
  const flagged = broken([null, saved.stages[1], { ...saved.stages[2], answers: [['order', { ...saved.stages[2].answers[0][1], alone: true, zero: true }]] }]);
  for (const v of [saved, flagged]) assert.deepEqual(JSON.parse(JSON.stringify(session.stored(session.start(m, { saved: v })))), v);
});

for (const program of ['gjinverse', 'gjsolve']) {
  test(`${program}'s worked example practised from stage 2 to its summary`, needsBuild, () => {
    const m = modelOfExample(program);
    const example = examples[program];
    let s = session.start(m, { asked: { from: null, fill: null, own: false } });
    // A wrong answer, then a hint at the next stage; every other stage right the first time.
    const k = s.current;
    const first = session.openQuestions(s, k)[0];
    s = session.answer(s, k, first.key, { text: '12345' });
    assert.deepEqual([s.stages[k].answers.get(first.key).verdict.right, s.stages[k].wrong, s.told], [false, true, { k, key: first.key }]);
    assert.equal(session.advance(m, s, k), s, 'a stage with open questions stays');
    for (let stages = 0; !s.finished; stages++) {
      assert.ok(stages < m.stages.length, 'each stage moves on');
      if (s.current === k + 1) s = session.hint(s, s.current);
      s = finishStage(m, example, s);
    }
    assert.deepEqual(session.tally(s), { count: m.stages.length - 1, right: m.stages.length - 3, hints: 1, shown: 0 });
    for (const stays of [session.answer(s, s.current, first.key, { text: '1' }), session.hint(s, s.current), session.advance(m, s, s.current)]) {
      assert.equal(stays, s, 'a finished session takes no more answers, hints or moves');
    }
  });
}

test('0 for -0 is right, and noted the first time in the session only', needsBuild, () => {
  const m = modelOfExample('gjsolve');
  let s = session.start(m, { asked: { from: 2, fill: 'all', own: false } });
  s = session.answer(s, 1, 'entry 1 3', { text: '0' });
  s = session.answer(s, 1, 'entry 1 3', { text: '-0' });  // answered right already: stays
  const given = s.stages[1].answers.get('entry 1 3');
  assert.deepEqual([given.text, given.verdict.right, given.verdict.note, given.zero], ['0', true, 'negativeZero', true]);
  assert.deepEqual(['divisor 1', 'entry 2 4'].map((key) => session.nextQuestion(s, 1, key)?.key), ['divisor 2', 'divisor 1'],
                   'the next open question; after the last, the first');
  // Row 1 divided by 3, not -3: the slip is named in its entries while the divisor is not answered right.
  const slipAfter = (divisor) => session.answer(session.answer(s, 1, 'divisor 1', { text: divisor }), 1, 'entry 1 1', { text: '0.666667' })
    .stages[1].answers.get('entry 1 1').verdict.slip;
  assert.deepEqual(['3', '-3'].map(slipAfter), ['sign', 'oppositeSign']);
  // Show notes nothing: once it has filled stages 4 to 8 in, the first 0 for -0 is noted, and only the first.
  const n3 = modelWithAlone();
  let u = session.start(n3, { asked: { from: 4, fill: 'all', own: false } });
  while (u.current < 8) u = session.fillIn(n3, u, u.current);
  for (const key of ['entry 1 2', 'entry 1 3']) u = session.answer(u, 8, key, { text: '0' });
  assert.deepEqual([...['entry 1 2', 'entry 1 3'].map((key) => u.stages[8].answers.get(key).zero), ...['r 2', 'r 3'].map((key) => u.stages[3].answers.get(key).alone)],
                   [true, false, true, false], 'noted once; Show says row 2 is left alone and row 3 not');
});

test('Show fills a stage in with the program\'s answers, counts it as shown and moves on', needsBuild, () => {
  const m = modelOfExample('gjinverse');
  let s = session.start(m, { asked: { from: 3, fill: 'all', own: false } });
  s = session.answer(s, 2, 'order', { text: '1 2' });
  s = session.fillIn(m, s, 2);
  const answers = [...s.stages[2].answers].map(([key, a]) => `${key}=${a.text}`);
  assert.deepEqual(answers, ['order=1 2', 'entry 1 1=1', 'entry 1 2=0.5', 'entry 1 3=0.5', 'entry 1 4=0',
                             'entry 2 1=0.333333', 'entry 2 2=1', 'entry 2 3=0', 'entry 2 4=0.333333']);
  assert.deepEqual([s.current, s.stages[2].shown, s.told], [3, true, null]);
  for (const stays of [session.fillIn(m, s, 2), session.advance(m, s, 2), session.hint(s, 2)]) assert.equal(stays, s, 'only the stage at hand');
  assert.deepEqual([session.withFill(m, s, 'none').stages[2].questions.length, session.withModel(m, s)], [9, s], 'the stages done keep their questions');
  while (!s.finished) s = session.fillIn(m, s, s.current);
  assert.deepEqual(session.tally(s), { count: 5, right: 0, hints: 0, shown: 5 });
  // Fewer entries asked leave nothing open in a stage whose decisions are done: it is done with.
  let t = session.answer(session.start(m, { asked: { from: 3, fill: 'row', own: false } }), 2, 'order', { text: '1 2' });
  t = session.withFill(m, t, 'none');
  assert.deepEqual([t.current, t.fill, t.stages[3].questions.map((q) => q.key)], [3, 'none', ['r 2']]);
});

test('a hint\'s three steps: the rule, the numbers, the operations', needsBuild, () => {
  const m = modelOfExample('gjinverse');
  const steps = (k) => [1, 2, 3].map((step) => session.hintStep(translator('en'), m, k, step));
  assert.deepEqual(steps(3).slice(1), [['The pivot a11 = 1; column 1 of each row to work on: row 2: 0.333333.'], ['R2 ← R1 − 3 × R2']]);
  assert.deepEqual(steps(2)[1], ['Column 1, from the bottom row up: row 2: 0.333333; row 1: 1.']);
  const n3 = modelWithAlone();
  const solve = modelOfExample('gjsolve');
  // [run, stage (0-based), step, the sentence]
  const cases = [
    [m, 1, 2, 'row 1: its entry of largest magnitude is in column 1; row 2: its entry of largest magnitude is in column 2'],
    [m, 4, 1, 'Each row t above the pivot row p, from the nearest one up, becomes the pivot row minus r times row t, with r = a_pp ÷ a_tp. This clears column p of row t. A row with 0 in column p is left alone.'],
    [m, 4, 2, 'The pivot a22 = -2.5; column 2 of each row to work on: row 1: 0.5.'],
    [m, 5, 2, 'The divisors are the diagonal entries a11; a22: read each in its own row of the printout above.'],
    [m, 6, 2, 'The inverse is columns 3 to 4 of the printout above, row by row.'],
    [n3, 3, 2, 'The pivot a11 = 0.5; column 1 of each row to work on: row 2: 0; row 3: 0.333333.'],
    [n3, 4, 1, 'One pass from the bottom row up: wherever a row is larger in magnitude in column 2 than the row above it, the two are exchanged. The largest entry rises to row 2, and rows in between may move as well.'],
    [n3, 4, 2, 'Column 2, from the bottom row up: row 3: -0.375; row 2: 0.5.'],
    [solve, 5, 2, 'x1: the right-hand side 3.33333 over the diagonal entry 1.11111; x2: the right-hand side 3.33333 over the diagonal entry 1.66667'],
  ];
  for (const [run, k, step, sentence] of cases) assert.deepEqual(session.hintStep(translator('en'), run, k, step), [sentence], `stage ${k}, step ${step}`);
  let s = session.start(m, { asked: { from: 4, fill: null, own: false } });
  for (let n = 0; n < 5; n++) s = session.hint(s, 3);
  assert.deepEqual([s.stages[3].hints, session.hint(s, 2)], [3, s]);
});

test('a run is practisable once over, with a matrix and a stage after it', needsBuild, () => {
  const cases = [['gjinverse', '1\n-4\n', true], ['gjinverse', '0\n', false], ['gjsolve', 'x', false]];
  assert.deepEqual(cases.map(([program, input]) => session.practisable(modelOf(program, input))), cases.map((c) => c[2]));
  assert.deepEqual([session.practisable(null), session.progressKey({ program: 'gjsolve', input: ' 1\n\t2  3\n' })], [false, 'practice.progress.gjsolve 1 2 3']);
});

// Singular matrices practised from the stage asked (the scaling by default),
// every stage shown but the one that asks whether A is invertible: [program,
// input, from, the stage that asks (0-based), a wrong choice and its slip, the
// right one, the last stage practised, the stages left unasked as the page numbers them,
// what a result keeps: [the questions of the stage that asks, those of them counted, the questions of the next]].
const singularRuns = [
  ['gjinverse', '3\n1 2 3\n2 4 6\n1 1 1\n', null, 6, 'yes', 'singular', 'no', 7, { first: 9, last: 10 }, [21, 21, 19]],
  ['gjinverse', '3\n1 2 3\n2 4 6\n1 1 1\n', 9, 8, 'yes', 'singular', 'no', 8, { first: 10, last: 10 }, [22, 1, 0]],  // asked where the run stops
  ['gjinverse', '3\n1 2 3\n2 4 6\n1 1 1\n', 10, 9, 'yes', 'singular', 'no', 9, null, [10, 1, 0]],  // asked at the last stage
  ['gjinverse', '3\n1 2 3\n4 5 6\n7 8 9\n', null, 6, 'yes', 'singular', 'no', 6, { first: 8, last: 10 }, [21, 21, 0]],
  ['gjinverse', '2\n-8 -2\n-4 -1\n', null, 4, 'yes', 'singular', 'no', 4, { first: 6, last: 7 }, [10, 10, 0]],
  // An exercise's singular system (gjsolve, seed 7, order 3): none, by the ranks.
  ['gjsolve', '3\n-4 -4 4 0\n2 0 -1 -6\n-8 -8 8 -3\n', null, 4, 'many', 'noSolution', 'zero', 7, { first: 9, last: 9 }, [14, 14, 13]],
  ['gjsolve', '3\n1 2 3 1\n2 4 6 2\n1 1 1 1\n', null, 6, 'zero', 'manySolutions', 'many', 7, { first: 9, last: 9 }, [15, 15, 13]],
];

test('a singular A is asked about once it shows; after a "no" nothing of inf and nan is asked, and practice ends where the run stops', needsBuild, () => {
  for (const [program, input, from, asked, wrong, slip, right, last, unasked, counts] of singularRuns) {
    const m = modelOf(program, input);
    const what = `${program} ${JSON.stringify(input)} from ${from}`;
    let s = session.start(m, { asked: { from, fill: 'all', own: false } });
    while (s.current < asked) {
      assert.ok(!session.question(s, s.current, 'invertible'), `${what}: not asked at ${s.current}`);
      s = session.fillIn(m, s, s.current);
    }
    assert.equal(session.fillIn(m, s, asked).stages[asked].answers.get('invertible').choice, right, `${what}: Show`);
    s = session.answer(s, asked, 'invertible', { choice: wrong });
    assert.deepEqual([s.stages[asked].answers.get('invertible').verdict.slip, session.saidSingular(s), s.stages[asked].questions.length], [slip, null, counts[0]], what);
    const result = (k) => (k < m.stages.length ? session.stageAsked(m, k, s.from, 'all') : { questions: [], counted: [] });
    assert.deepEqual([result(asked).questions.length, result(asked).counted.filter(Boolean).length, result(asked + 1).questions.length], counts, `${what}: a result`);
    s = session.answer(s, asked, 'invertible', { choice: right });
    // What is kept comes back with as few questions.
    const back = session.restore(m, JSON.parse(JSON.stringify(session.stored(s))));
    assert.deepEqual(back.stages[asked].questions, s.stages[asked].questions, what);
    while (!s.finished) {
      assert.ok(!s.stages[s.current].questions.some((q) => /inf|nan/.test(q.expected.printed ?? '')), `${what}: stage ${s.current} asks no inf or nan`);
      s = session.fillIn(m, s, s.current);
    }
    assert.deepEqual([session.saidSingular(s), s.stages.length - 1, session.tally(s).count, session.unasked(m, s)], [asked, last, last + 1 - s.from, unasked], what);
    assert.deepEqual(session.askedStages(m, s.from), Array.from({ length: last + 1 - s.from }, (_, i) => s.from + i), `${what}: the stages asked`);
  }
  // An invertible A whose inverse prints inf, and one whose exact replay divides by an exact 0 at stage 5
  // (0.3 ÷ 3 is not 0.1 in binary): a result keeps and counts every question after it.
  const kept = [['1\n1e-320\n', 3], ['3\n1 0.1 0\n3 0.3 1\n0 1 0\n', 6]].map(([input, k]) => session.stageAsked(modelOf('gjinverse', input), k, 1, 'none'));
  assert.deepEqual(kept.map((r) => [r.questions.length, r.counted.filter(Boolean).length]), [[1, 1], [2, 2]]);
});
