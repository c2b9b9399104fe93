// Links to runs and the examples, from file://: a run's link, opened
// elsewhere, replays it to the same transcript; whatever a link carries is only
// typed text; a broken link opens a program with a message. Every engine
// follows a link ended with Ctrl-D, and the broken ones.
// engines: chromium firefox webkit
import { test } from 'node:test';
import assert from 'node:assert/strict';
import * as harness from './harness.js';
const { close, paneText, text } = harness;

const browser = harness.useBrowser();
const open = (program, options) => harness.openProgram(browser(), program, options);
const ended = '#pane .note';
const waitForEnd = (page) => page.waitForSelector(ended);

// The link to the run, once drawn (after the pane is painted).
async function runLink(page) {
  await page.waitForFunction(() => {
    const { run } = GJ.page.model;
    const { hash } = document.getElementById('run-link');
    return hash.includes('&input=') && decodeURIComponent(hash).includes(run.input) && hash.endsWith('&end') === run.ended;
  });
  return page.getAttribute('#run-link', 'href');
}

// Typed row by row, the last row with Enter or with Ctrl-D as the golden input ends.
for (const [name, engines] of [['gjinverse/worked-2x2', harness.chromiumAlone], ['gjinverse/end-of-input', {}],
                               ['gjsolve/worked-2x2', harness.chromiumAlone]]) {
  test(`the link to ${name}, opened in a fresh browser, replays it to the same transcript`, engines, async () => {
    const page = await open(name.split('/')[0], { locale: 'ko-KR' });
    await harness.typeCase(page, name);
    await waitForEnd(page);
    const link = await runLink(page);
    assert.equal(await page.textContent('#run-link'), link);
    const pane = await paneText(page);
    await close(page);

    const replay = await harness.open(browser(), link, { locale: 'en-US', ready: ended });
    await waitForEnd(replay);
    const { expected } = harness.goldenCase(name);
    assert.ok((await harness.download(replay)).equals(expected), 'the golden transcript, byte for byte');
    // The same dialogue, but for the exit note in the other language.
    const [before, after] = [pane, await paneText(replay)].map((shown) => shown.replace(/\[[^\]\n]*\]\n$/, ''));
    assert.equal(after, before);
    assert.equal(await runLink(replay), link, 'the replay links to itself');
    await close(replay);
  });
}

test('markup in a link is only typed text: shown as typed, nothing loaded or run', harness.chromiumAlone, async () => {
  for (const [program, line] of [['gjinverse', '<img src=x onerror=alert(1)>'], ['gjsolve', '</pre><script>alert(1)</script>']]) {
    const hash = `#${program}&input=${encodeURIComponent(line + '\n')}`;
    const page = await harness.open(browser(), harness.pageUrl + hash, { ready: ended });
    const dialogs = [];
    page.on('dialog', (dialog) => { dialogs.push(dialog.message()); dialog.dismiss(); });
    await waitForEnd(page);
    assert.deepEqual(await page.$$eval('#pane .echo', (echoes) => echoes.map((e) => e.textContent)), [line + '\n']);
    assert.ok((await paneText(page)).startsWith(`INPUT ORDER OF SQUARE MATRIX: ${line}\n`));
    assert.equal(await page.$$eval('img, script:not([src])', (found) => found.length), 0);
    await page.waitForTimeout(100);  // time for an image's error handler, were there one
    assert.deepEqual(dialogs, []);
    await close(page);
  }
});

// Each with the program that opens, what the pane shows, and the message (a text id).
test('a link with no program, broken encoding or too long an input opens a program with a message', async () => {
  const long = '1 '.repeat(5000);
  const cases = [
    ['#gjinverse', 'gjinverse', null, 'en-US'],
    ['#nosuchprogram', 'gjinverse', 'link.program', 'en-US'],
    // A misspelt program: its input, meant for gjsolve, is not typed into gjinverse.
    ['#gjsolv&input=2%0A2%20-3%200%0A', 'gjinverse', 'link.program', 'ko-KR'],
    ['#gjsolve&colour=red', 'gjsolve', 'link.unknown', 'ko-KR'],
    ['#gjsolve&input=2%0A%E0%A4%A', 'gjsolve', 'link.encoding', 'ko-KR'],
    [`#gjinverse&input=${encodeURIComponent(long)}`, 'gjinverse', 'link.long', 'en-US'],
    ['#gjsolve&seed=12&order=9', 'gjsolve', 'link.exercise', 'ko-KR'],
  ];
  for (const [hash, program, problem, locale] of cases) {
    const page = await harness.open(browser(), harness.pageUrl + hash, { locale });
    assert.equal(await page.evaluate(() => document.title.split(':')[0]), program, hash);
    assert.equal(await paneText(page), 'INPUT ORDER OF SQUARE MATRIX: ', hash);
    const note = await page.$eval('#link-note', (p) => (p.hidden ? null : p.textContent));
    assert.equal(note, problem && await text(page, problem, { program, max: 8000 }), hash);
    // New input forgets the link and its message.
    await page.click('#restart');
    assert.equal(await page.isVisible('#link-note'), false);
    assert.equal(await page.evaluate(() => location.hash), `#${program}`);
    await close(page);
  }
});

test('typed text longer than a link carries gets a note instead of a link that would open empty', harness.chromiumAlone, async () => {
  const page = await open('gjinverse');
  await page.fill('#typed', '1' + ' '.repeat(8000));
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.getElementById('pane').textContent.endsWith('INPUT a11 : '));
  // The link is drawn after the pane is painted.
  await page.waitForFunction(() => !document.getElementById('run-link').hasAttribute('href'));
  assert.equal(await page.getAttribute('#run-link', 'href'), null);
  assert.equal(await page.textContent('#run-link'), await text(page, 'link.tooLong', { max: 8000 }));
  assert.ok(await page.isDisabled('#copy-link'));
  await close(page);
});

// The letter decides where the key gives a Latin letter, whatever key of the
// layout gives it; the physical key only where it does not.
test('Ctrl-D ends the input on any layout, with a Korean input method too (ㅇ), and only Ctrl-D', harness.chromiumAlone, async () => {
  const page = await open('gjinverse', { locale: 'ko-KR' });
  await page.keyboard.type('1');
  await page.keyboard.press('Enter');
  await page.keyboard.type('4');
  const press = (key, code) => page.$eval('#typed', (input, [key, code]) => input.dispatchEvent(
    new KeyboardEvent('keydown', { key, code, ctrlKey: true, bubbles: true, cancelable: true })), [key, code]);
  await press('s', 'KeyD');  // Ctrl-S on Colemak
  await press('e', 'KeyD');  // Ctrl-E on Dvorak
  await page.waitForTimeout(50);
  assert.equal(await page.$(ended), null, 'Ctrl-S and Ctrl-E on the D key leave the input open');
  assert.equal(await page.inputValue('#typed'), '4');
  await press('ㅇ', 'KeyD');
  await waitForEnd(page);
  assert.match(await paneText(page), /^INPUT ORDER OF SQUARE MATRIX: 1\nINPUT a11 : 4\n/);
  assert.ok((await page.getAttribute('#run-link', 'href')).endsWith('#gjinverse&input=1%0A4&end'));
  await close(page);
});

test('the status line tells of new stages briefly: the last one\'s commentary and operations, not its matrix', harness.chromiumAlone, async () => {
  const page = await open('gjinverse');
  await harness.typeAtPrompts(page, '\n', ['2', '2 1 1 3'], ['INPUT ORDER OF SQUARE MATRIX: ', 'INPUT a11 a12 : ']);
  // The stages, and the status line with them, come after the pane is painted.
  await page.waitForSelector('#stages[data-exact]');
  const name = await text(page, 'stage.inverse_done');
  const line = await page.evaluate(() => GJ.runner.stageLines().get('inverse_done'));
  const expected = [await text(page, 'announce.many', { count: 7, k: 7, name }), line,
                    await text(page, 'announce.gloss', { gloss: await text(page, 'gloss.inverse_done') }),
                    await text(page, 'status.over')].join(' ');
  assert.equal(await page.textContent('#status'), expected);
  assert.equal(await page.getAttribute('#status span', 'lang'), 'ko');
  await close(page);
});

test('every example opens its run, which its link replays', harness.chromiumAlone, async () => {
  const page = await open('gjsolve');
  const examples = await page.evaluate(() => GJ.share.examples);
  const shown = await page.$$eval('#example-list li', (items) => items.map((li) => [li.querySelector('a').hash, li.textContent]));
  assert.equal(shown.length, examples.length);
  for (const [k, example] of examples.entries()) {
    assert.equal(decodeURIComponent(shown[k][0]), decodeURIComponent(example.hash));
    assert.ok(shown[k][1].includes(await text(page, `example.${example.id}.note`)), example.id);
    await page.evaluate(() => { document.getElementById('examples').open = true; });
    await page.click(`#example-list li:nth-child(${k + 1}) a`);
    // Every line echoed as typed (an exercise's: the matrix of its seed), and the run over.
    const input = example.exercise
      ? await page.evaluate((e) => GJ.exercises.make({ program: e.program, ...e.exercise }).input, example) : example.input;
    await page.waitForFunction((input) => document.querySelector('#pane .note') !== null &&
      [...document.querySelectorAll('#pane .echo')].map((e) => e.textContent).join('') === input, input);
    assert.equal(await page.evaluate(() => document.title.split(':')[0]), example.program);
  }
  await close(page);
});

// The programs' promise held back (or refused) by a script that runs before the
// page's own: links followed meanwhile wait for the programs, and the last one
// opens; when the programs cannot load, links do nothing and the page says why.
test('a link followed before the programs have loaded opens once they have; a failed load is said once', harness.chromiumAlone, async () => {
  for (const fail of [false, true]) {
    const page = await harness.open(browser(), `${harness.pageUrl}#gjsolve`,
                                    { initScript: harness.holdPrograms(fail), ready: 'h1', locale: 'en-US' });
    await page.click('a[href="#gjinverse"]');
    await page.evaluate(() => { document.getElementById('examples').open = true; });
    await page.click('#example-list li:nth-child(2) a');
    // The link is followed on hashchange, a task after the click.
    await page.waitForFunction(() => document.getElementById('typed').disabled);
    assert.ok(await page.isDisabled('#typed'), 'no input before the programs');
    await page.evaluate(() => window.releasePrograms());
    if (fail) {
      await page.waitForFunction(() => document.getElementById('status').textContent.includes('no WebAssembly here'));
      const said = await page.$$eval('#status span', (spans) => spans.map((s) => [s.lang, s.textContent]));
      assert.deepEqual(said.map(([lang]) => lang), ['ko', 'en']);
      await page.click('a[href="#gjsolve"]');
      assert.equal(await paneText(page), '');
    } else {
      await waitForEnd(page);
      assert.ok((await paneText(page)).startsWith('INPUT ORDER OF SQUARE MATRIX: 2\nINPUT (a11 a12 b1): 2 -3 0'));
    }
    await close(page);
  }
});
