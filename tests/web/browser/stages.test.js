// The stages section and the page's two languages, from file://: operations,
// stepping by keyboard, exact values, the notes on residues and exact zeros, and
// the language switch and its persistence, which every engine runs. Texts are compared with the page's
// own tables, never with English written here.
// engines: chromium firefox webkit
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import * as harness from './harness.js';
import { build, chromiumAlone, useBrowser, openProgram, waitForPrompt, close, text, typeAtPrompts } from './harness.js';

const browser = useBrowser();
const open = (program, options) => openProgram(browser(), program, options);

const golden = (name) => fs.readFileSync(path.join(import.meta.dirname, '..', '..', 'golden', name), 'utf8');
const orderPrompt = ['INPUT ORDER OF SQUARE MATRIX: '];

// Opens a program, types its whole input on one line, and waits for the exact values.
async function runOnce(program, input, options) {
  const page = await open(program, options);
  await typeAtPrompts(page, '\n', [input.trim().split(/\s+/).join(' ')], orderPrompt);
  await page.waitForSelector('#stages[data-exact="done"]');
  return page;
}

// The stage shown: its operations' notation, and its printout's entries with their marks and titles.
const shownStage = (page) => page.$eval('#stage-list', (list) => {
  const stage = list.querySelector('.stage');
  return {
    number: Number(stage.dataset.stage) + 1,
    ops: [...stage.querySelectorAll('.notation')].map((e) => e.textContent),
    cells: [...stage.querySelectorAll('td')].map((td) => ({
      printed: td.textContent, title: td.title, marks: [...td.classList].sort().join(' ') })),
  };
});

for (const locale of ['en-US', 'ko-KR']) {
  test(`the worked example's operations, stepped through from the keyboard, in ${locale}`, chromiumAlone, async () => {
    const page = await runOnce('gjinverse', '2 2 1 1 3', { locale });
    assert.equal(await page.getAttribute('html', 'lang'), locale.slice(0, 2));
    const noExchange = await text(page, 'op.no_exchange.notation');
    const expected = [
      [],
      ['R1 ÷ 2', 'R2 ÷ 3'],
      [noExchange],
      ['R2 ← R1 − 3 × R2'],
      ['R1 ← R2 − (-5) × R1'],
      ['R1 ÷ 5', 'R2 ÷ (-2.5)'],
      [],
    ];
    // Tab reaches the stage buttons after the pane's controls; Enter on Next steps on.
    await page.focus('#stage-next');
    const seen = [];
    for (let k = 0; k < expected.length; ++k) {
      const stage = await shownStage(page);
      assert.equal(stage.number, k + 1);
      seen.push(stage.ops);
      if (k < expected.length - 1) await page.keyboard.press('Enter');
    }
    assert.deepEqual(seen, expected);
    assert.equal(await page.textContent('#status'),
                 await text(page, 'status.stage', { k: 7, count: 7, name: await text(page, 'stage.inverse_done') }));

    // Back with Page Up to the elimination, whose pivot a11 is marked, then into its
    // printout: one tab stop, and the arrow keys move to a21, exactly 0.
    for (let k = 0; k < 3; ++k) await page.keyboard.press('PageUp');
    const elimination = await shownStage(page);
    assert.equal(elimination.number, 4);
    assert.deepEqual(elimination.cells.map((c) => c.marks), ['pivot', '', '', '', 'changed', 'changed', 'changed', 'changed']);
    assert.equal(await page.$$eval('#stage-list td[tabindex="0"]', (cells) => cells.length), 1);
    await page.focus('#stage-list td[tabindex="0"]');
    await page.keyboard.press('ArrowDown');
    assert.equal(await page.evaluate(() => document.activeElement.textContent), '0');
    assert.equal(await page.textContent('.readout'),
                 await text(page, 'exact.readout', { r: 2, c: 1, printed: '0', description: await text(page, 'exact.cell', { exact: '0' }) }));
    // Stepping on from an entry keeps the focus on the same place: here a21 of the inverse's stages.
    await page.keyboard.press('PageDown');
    await page.keyboard.press('PageDown');
    const normalized = await shownStage(page);
    assert.equal(normalized.number, 6);
    assert.equal(await page.evaluate(() => document.activeElement.dataset.r + document.activeElement.dataset.c), '10');
    const exactly = await Promise.all(['1', '0', '3/5', '-1/5', '0', '1', '-1/5', '2/5'].map((exact) => text(page, 'exact.cell', { exact })));
    assert.deepEqual(normalized.cells.map((c) => c.title), exactly);
    // The pane marks the same pivots: a11 of the elimination and a22 above it.
    assert.deepEqual(await page.$$eval('#pane .pivot', (cells) => cells.map((c) => c.textContent)), ['1', '-2.5']);
    await close(page);
  });
}

test('the residues of gjsolve residues-3x3 are exactly 0 and marked so', chromiumAlone, async () => {
  const page = await runOnce('gjsolve', golden('gjsolve/residues-3x3.in'), { locale: 'ko-KR' });
  const residue = await text(page, 'exact.residue');
  await page.click('#stage-all');
  const marked = await page.$$eval('#stage-list td.residue', (cells) => cells.map((td) => [
    Number(td.closest('.stage').dataset.stage) + 1, td.textContent, td.title]));
  assert.deepEqual(marked, [[7, '-2.22045e-16', residue], [8, '8.88178e-17', residue]]);
  // Every other entry printed as nonzero is exactly nonzero; the unknowns are exactly 5, 3 and -2.
  const solution = await page.$$eval('.stage:last-child td', (cells) => cells.map((td) => td.title));
  assert.deepEqual(solution, await Promise.all(['5', '3', '-2'].map((exact) => text(page, 'exact.cell', { exact }))));
  assert.equal(await page.isVisible('.legend .sample.residue'), true);
  // The pane marks the same residues, as its legend promises.
  await page.waitForSelector('#pane:not([data-marks])');
  assert.deepEqual(await page.$$eval('#pane .residue', (entries) => entries.map((e) => e.textContent)),
                   ['-2.22045e-16', '8.88178e-17']);
  await close(page);
});

// Three runs with the same operations: 0x3 is read as 3, but the page cannot
// read it as the program did; x and 0 are both read as 0.
test('the exact view and the stage shown belong to their run, not to its operations', chromiumAlone, async () => {
  const page = await open('gjinverse');
  await typeAtPrompts(page, '\n', ['2', '2 1', '1 0x3'], ['INPUT ORDER OF SQUARE MATRIX: ', 'INPUT a11 a12 : ', 'INPUT a21 a22 : ']);
  await page.waitForSelector('#stages[data-exact="done"]');
  assert.equal(await page.textContent('#exact-note'), await text(page, 'exact.none.token', { token: '0x3' }));
  for (let k = 0; k < 4; ++k) await page.click('#stage-next');
  assert.equal(await page.textContent('#stage-position'), await text(page, 'stages.position', { k: 5, count: 7 }));
  const exactDone = (input) => page.waitForFunction((input) => GJ.page.model.run.input === input &&
    document.getElementById('stages').dataset.run === String(GJ.page.model.run.id) &&
    document.getElementById('stages').dataset.exact === 'done', input);

  await page.evaluate(() => { document.getElementById('examples').open = true; });
  await page.click('#example-list a[href*="gjinverse&input=2%0A2%201%0A1%203"]');
  await exactDone('2\n2 1\n1 3\n');
  assert.equal(await page.isVisible('#exact-note'), false, 'the worked example has its exact values');
  assert.equal(await page.getAttribute('#stage-list td', 'title'), await text(page, 'exact.cell', { exact: '2' }));
  assert.equal(await page.textContent('#stage-position'), await text(page, 'stages.position', { k: 1, count: 7 }),
               'a new run starts at its first stage');

  for (const [typed, note] of [['x', await text(page, 'exact.none.token', { token: 'x' })], ['0', null]]) {
    const input = `2\n2 1\n1 ${typed}\n`;
    await page.evaluate((input) => { location.hash = `gjinverse&input=${encodeURIComponent(input)}`; }, input);
    await exactDone(input);
    assert.equal(await page.$eval('#exact-note', (p) => (p.hidden ? null : p.textContent)), note, typed);
  }
  await close(page);
});

// The page works out the exact values in slices between frames, each in a task
// of its own. Every task is slowed here by 20 ms, a timeout's and a message's
// alike (the slices follow one another by messages), so that the replay of an
// order-8 run with entries from 1e-307 to 1e300 takes a second (some 0.1 s
// unslowed on a fast machine, too short for the key below): a key pressed
// meanwhile must be answered while the values are still pending, and a new run
// must drop the old run's replay. The benchmark times the real one.
test('the exact values are worked out between frames, and a new run drops them', chromiumAlone, async () => {
  const wide = ['-2e200', '7.5e-150', '1e-307', '3', '-0.7', '4e300', '-6e-88'];
  const hard = '8 ' + Array.from({ length: 64 }, (_, k) => wide[(k * 3 + 3 + Math.floor(k / 5)) % wide.length]).join(' ');
  const slowTasks = () => {
    const setTimeout0 = window.setTimeout;
    const onmessage = Object.getOwnPropertyDescriptor(MessagePort.prototype, 'onmessage');
    window.tasks = 0;
    const slowed = (fn) => (...args) => {
      window.tasks++;
      for (const end = performance.now() + 20; performance.now() < end;);
      return fn(...args);
    };
    window.setTimeout = (fn, ...rest) => setTimeout0(slowed(fn), ...rest);
    Object.defineProperty(MessagePort.prototype, 'onmessage', { ...onmessage, set(fn) { onmessage.set.call(this, fn && slowed(fn)); } });
  };
  const page = await harness.open(browser(), `${harness.pageUrl}#gjinverse`, { initScript: slowTasks });
  const before = await page.evaluate(() => window.tasks);
  await typeAtPrompts(page, '\n', [hard], orderPrompt, { atOnce: true });
  await page.waitForSelector('#stages[data-exact="pending"]');
  await page.evaluate(() => {
    window.keysWhileExact = [];
    addEventListener('keydown', () => window.keysWhileExact.push(document.getElementById('stages').dataset.exact), true);
  });
  await page.keyboard.press('Shift');
  await page.waitForFunction(() => window.keysWhileExact.length > 0);
  assert.deepEqual(await page.evaluate(() => window.keysWhileExact), ['pending'], 'the key came before the exact values');
  await page.waitForSelector('#stages[data-exact="done"]', { timeout: 60000 });
  assert.ok(await page.evaluate(() => window.tasks) - before > 10, 'the replay ran in slices');

  // Again, and a new run at once: no slice of the old replay runs after it.
  await page.click('#restart');
  await typeAtPrompts(page, '\n', [hard], orderPrompt, { atOnce: true });
  await page.waitForSelector('#stages[data-exact="pending"]');
  await page.click('#restart');
  await page.waitForSelector('#stages[data-exact="none"]');
  await page.waitForTimeout(100);
  const tasks = await page.evaluate(() => window.tasks);
  await page.waitForTimeout(500);
  assert.equal(await page.evaluate(() => window.tasks), tasks);
  await close(page);
});

test('a change of language retells the glosses, the exit note, the stages and the status line', async () => {
  const page = await runOnce('gjinverse', '2 2 1 1 3', { locale: 'en-US' });
  const said = () => page.evaluate(() => [
    [...document.querySelectorAll('#pane .gloss')].map((g) => g.dataset.gloss).join('|'),
    document.querySelector('#pane .note').textContent.trim(),
    document.querySelector('#stage-list h3').textContent,
    document.getElementById('status').textContent]);
  const english = await said();
  await page.click('#language-ko');
  const korean = await said();
  const glosses = ['inverse_input', 'scaled', 'pivoted', 'eliminated', 'backward', 'normalized', 'inverse_done'];
  assert.equal(korean[0], (await Promise.all(glosses.map((id) => text(page, `gloss.${id}`)))).join('|'));
  assert.equal(korean[1], await text(page, 'pane.note', { note: await text(page, 'pane.exited', { program: 'gjinverse', status: 0 }) }));
  assert.equal(korean[2], await text(page, 'stage.heading', { k: 1, name: await text(page, 'stage.inverse_input') }));
  assert.ok(korean[3].endsWith(await text(page, 'status.over')), korean[3]);
  assert.ok(korean[3].includes(await text(page, 'stage.inverse_done')), korean[3]);
  for (let k = 0; k < 4; ++k) assert.notEqual(korean[k], english[k]);
  await close(page);
});

test('a singular matrix whose zero pivot is a residue says where exact arithmetic stops', chromiumAlone, async () => {
  const page = await runOnce('gjinverse', golden('gjinverse/singular-residue-3x3.in'), { locale: 'en-US' });
  await page.click('#stage-all');
  const notes = await page.$$eval('.stop-note', (all) => all.map((note) => [
    Number(note.closest('.stage').dataset.stage) + 1, note.getAttribute('role'), note.textContent]));
  const note = [await text(page, 'exact.stop', { i: 1, c: 2 }), await text(page, 'exact.stop.residue', { shown: '1.57898e-15' }),
                await text(page, 'exact.stop.singular'), await text(page, 'exact.stop.end')].join(' ');
  assert.deepEqual(notes, [[8, 'note', note]]);
  assert.equal(await page.textContent('#exact-note'), await text(page, 'exact.stopped', { k: 8 }));
  const past = await text(page, 'exact.past');
  const titles = await page.$$eval('.stage', (stages) => stages.map((s) => [...s.querySelectorAll('td')].map((td) => td.title)));
  assert.ok(titles.slice(0, 7).every((stage) => stage.every((title) => title !== past)));
  assert.ok(titles.slice(7).every((stage) => stage.every((title) => title === past)));
  await close(page);
});

test('a stop at a divisor printed as nan says that it is not a number, not a residue', chromiumAlone, async () => {
  const page = await runOnce('gjinverse', '3 2 0 3e-308 1 5e307 5e307 1e-200 1 0', { locale: 'ko-KR' });
  await page.click('#stage-all');
  const note = [await text(page, 'exact.stop', { i: 1, c: 2 }), await text(page, 'exact.stop.nonFinite', { shown: 'nan' }),
                await text(page, 'exact.stop.end')].join(' ');
  assert.deepEqual(await page.$$eval('.stop-note', (all) => all.map((n) => n.textContent)), [note]);
  await close(page);
});

test('a run with an entry that is not a finite number has no exact view, and says so', chromiumAlone, async () => {
  const page = await runOnce('gjinverse', '2 1 nan 0 1', { locale: 'ko-KR' });
  assert.equal(await page.textContent('#exact-note'), await text(page, 'exact.none.value', { row: 1, value: 'nan' }));
  const titles = await page.$$eval('#stage-list td', (cells) => [...new Set(cells.map((td) => td.title))]);
  assert.deepEqual(titles, [await text(page, 'exact.unavailable')]);
  await close(page);
});

test('the language chosen is kept across a reload from file://', async () => {
  const page = await open('gjinverse', { locale: 'en-US' });
  const state = () => page.evaluate(() => [document.documentElement.lang, document.querySelector('h1').textContent,
                                           document.getElementById('language-ko').getAttribute('aria-pressed')]);
  assert.deepEqual(await state(), ['en', await text(page, 'title'), 'false']);
  await page.click('#language-ko');
  const korean = ['ko', await text(page, 'title'), 'true'];
  assert.deepEqual(await state(), korean);
  await page.reload();
  await waitForPrompt(page);
  assert.deepEqual(await state(), korean);
  await page.click('#language-en');
  await page.reload();
  await waitForPrompt(page);
  assert.equal(await page.getAttribute('html', 'lang'), 'en');
  await close(page);
});

test('the Korean page at a phone\'s width and at a desktop\'s, for a look', chromiumAlone, async () => {
  for (const width of [375, 1280]) {
    const page = await runOnce('gjsolve', golden('gjsolve/residues-3x3.in'), { locale: 'ko-KR', width });
    for (let k = 0; k < 7; ++k) await page.click('#stage-next');
    await page.focus('#stage-list td[tabindex="0"]');
    await page.keyboard.press('ArrowRight');
    await page.keyboard.press('ArrowRight');
    await page.screenshot({ path: path.join(build, `web-ko-${width}.png`), fullPage: true });
    // Nothing is wider than the screen: wide printouts scroll in their own box.
    assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= window.innerWidth));
    await close(page);
  }
});
