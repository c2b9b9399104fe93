// Links to runs: what a fragment opens, and that a run's link opens that run.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import * as share from '../../../web/logic/run/share.js';

const unsaid = { from: null, fill: null, own: false };

test('a fragment opens its program with its typed text, or the default with a message', () => {
  const cases = [
    ['', 'gjinverse', '', false, null],
    ['#', 'gjinverse', '', false, null],
    ['#gjsolve', 'gjsolve', '', false, null],
    ['#gjinverse&input=2%0A2%201%0A1%203%0A', 'gjinverse', '2\n2 1\n1 3\n', false, null],
    ['#gjsolve&input=1%0A4%208&end', 'gjsolve', '1\n4 8', true, null],
    ['#gjsolve&end', 'gjsolve', '', true, null],
    ['#nosuchprogram', 'gjinverse', '', false, 'link.program'],
    ['#gjsolv&input=1%0A4%208&end', 'gjinverse', '', false, 'link.program'],
    ['#gjinverse&colour=red', 'gjinverse', '', false, 'link.unknown'],
    ['#gjinverse&input=2%E0%A4%A', 'gjinverse', '', false, 'link.encoding'],
    ['#gjinverse&input=%&end', 'gjinverse', '', false, 'link.encoding'],
    ['#gjinverse&input=' + '1%20'.repeat(share.maxInput), 'gjinverse', '', false, 'link.long'],
    ['#gjinverse&input=%3Cimg%20src%3Dx%20onerror%3Dalert(1)%3E', 'gjinverse', '<img src=x onerror=alert(1)>', false, null],
  ];
  for (const [hash, program, input, ended, problem] of cases)
    assert.deepEqual(share.parse(hash), { program, input, ended, problem, practice: false, exercise: null, asked: unsaid }, hash);
});

test('a fragment opens practice, on typed text or on a generated exercise, or says what is wrong', () => {
  const exercise = (seed, order, options, generator = 1) => ({ seed, order, options, generator });
  // fragment, input, practice, exercise, problem; a link without the generator's version is of version 1
  const cases = [
    ['#gjsolve&practice', '', true, null, null],
    ['#gjinverse&practice&input=2%0A2%201%0A1%203%0A', '2\n2 1\n1 3\n', true, null, null],
    ['#gjinverse&practice&seed=7&order=4&options=reorder,nice', '', true, exercise(7, 4, ['nice', 'reorder']), null],
    ['#gjinverse&seed=7', '', false, exercise(7, 3, []), null],
    ['#gjinverse&practice&seed=4294967295&options=', '', true, exercise(4294967295, 3, []), null],
    ['#gjinverse&practice&seed=7&input=1%0A2%0A', '', true, exercise(7, 3, []), null],
    ['#gjinverse&practice&seed=4294967296', '', true, null, 'link.exercise'],
    ['#gjinverse&practice&seed=-1', '', true, null, 'link.exercise'],
    ['#gjinverse&practice&seed=7&order=5', '', true, exercise(7, 5, []), null],
    ['#gjinverse&practice&seed=7&order=6', '', true, null, 'link.exercise'],
    ['#gjinverse&practice&seed=7&options=nice,easy', '', true, null, 'link.exercise'],
    ['#gjinverse&practice&order=3', '', true, null, 'link.exercise'],
    ['#gjinverse&practice=yes', '', false, null, 'link.unknown'],
    ['#gjinverse&practice&seed=7&options=nice&gen=2', '', true, exercise(7, 3, ['nice'], 2), null],
    ['#gjinverse&practice&seed=7&gen=1', '', true, exercise(7, 3, [], 1), null],
    ['#gjinverse&practice&seed=7&gen=3', '', true, null, 'link.exercise'],
    ['#gjinverse&practice&seed=7&gen=0', '', true, null, 'link.exercise'],
    ['#gjinverse&practice&seed=7&gen=', '', true, null, 'link.exercise'],
  ];
  for (const [hash, input, practice, made, problem] of cases) {
    const run = share.parse(hash);
    assert.deepEqual([run.input, run.practice, run.exercise, run.problem], [input, practice, made, problem], hash);
  }
  for (const extra of [{ practice: true }, { practice: true, exercise: exercise(12, 2, ['singular']) }, { exercise: exercise(0, 4, []) },
    { exercise: exercise(5, 2, ['exact'], share.latestGenerator) }]) {
    const run = share.parse(share.fragment('gjsolve', extra.exercise ? '' : '1\n4 8\n', false, extra));
    assert.deepEqual([run.practice, run.exercise, run.problem], [extra.practice ?? false, extra.exercise ?? null, null]);
  }
  assert.equal(share.fragment('gjinverse', '', false, { exercise: exercise(7, 3, []) }), '#gjinverse&seed=7&order=3', 'version 1 links as before');
  assert.equal(share.fragment('gjinverse', '', false, { exercise: exercise(7, 3, [], 2) }), '#gjinverse&seed=7&order=3&gen=2');
});

test('a link says what practice asks: the first stage, the entries, or the learner\'s own pace', () => {
  const exercise = '#gjinverse&practice&seed=7&order=3&options=nice,reorder';
  // fragment, what it asks, problem
  const cases = [
    [exercise, unsaid, null],
    [exercise + '&from=4&fill=all', { from: 4, fill: 'all', own: false }, null],
    ['#gjsolve&practice&fill=none&input=1%0A4%208%0A&from=12', { from: 12, fill: 'none', own: false }, null],
    [exercise + '&own', { ...unsaid, own: true }, null],
    [exercise + '&from=1', unsaid, 'link.practice'],
    [exercise + '&from=2.5&fill=all', { ...unsaid, fill: 'all' }, 'link.practice'],
    [exercise + '&fill=some', unsaid, 'link.practice'],
    [exercise + '&from', unsaid, 'link.practice'],
    [exercise + '&own=1', unsaid, 'link.unknown'],
  ];
  for (const [hash, asked, problem] of cases) {
    const run = share.parse(hash);
    assert.deepEqual([run.asked, run.problem, run.exercise?.seed], [asked, problem, hash.includes('seed') ? 7 : undefined], hash);
  }
  // The defaults go unsaid; own only where the page's own pace is meant.
  const made = { seed: 7, order: 3, options: ['nice', 'reorder'] };
  assert.equal(share.fragment('gjinverse', '', false, { practice: true, exercise: made, from: 2, fill: 'row' }), exercise);
  assert.equal(share.fragment('gjinverse', '', false, { practice: true, exercise: made, from: 4, fill: 'all' }), exercise + '&from=4&fill=all');
  assert.equal(share.fragment('gjsolve', '1\n4 8', true, { practice: true, fill: 'none' }), '#gjsolve&practice&input=1%0A4%208&end&fill=none');
  assert.ok(share.examples.filter((e) => e.practice).every((e) => share.parse(e.hash).asked.own), 'the examples keep the learner\'s pace');
});

test('a run survives its own link, whatever it typed', () => {
  const runs = [
    ['gjinverse', '', false],
    ['gjinverse', '2\n2 1\n1 3\n', false],
    ['gjsolve', '1\n4 8', true],
    ['gjsolve', '</pre><script>alert(1)</script>\n& #x=1 %41 + 1e+5\n', true],
    ['gjinverse', '3\n\u00a0한글 0x1p3\r\n', false],
  ];
  for (const [program, input, ended] of runs) {
    const link = share.fragment(program, input, ended);
    assert.doesNotMatch(link.slice(1), /[#\s<>"]/, 'nothing that would end or split the address');
    assert.deepEqual(share.parse(link), { program, input, ended, problem: null, practice: false, exercise: null, asked: unsaid }, link);
  }
});

test('typed text comes back as the entries a person made', () => {
  assert.deepEqual(share.entries('2\n2 1\n1 3\n'), ['2\n', '2 1\n', '1 3\n']);
  assert.deepEqual(share.entries('2\n\n2 1'), ['2\n', '\n', '2 1']);
  assert.deepEqual(share.entries(''), []);
});

test('every example is a link to its own run', () => {
  assert.ok(share.examples.length >= 7);
  assert.ok(share.examples.filter((example) => example.practice).length >= 3, 'a few practice links');
  for (const example of share.examples) {
    const run = share.parse(example.hash);
    assert.equal(run.program, example.program, example.id);
    assert.equal(run.input, example.input, example.id);
    assert.equal(run.problem, null, example.id);
    assert.equal(run.practice, example.practice ?? false, example.id);
    assert.deepEqual(run.exercise, example.exercise ?? null, example.id);
  }
});
