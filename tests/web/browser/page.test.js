// The page in each engine, opened from file://: golden inputs are typed at the
// prompts as a person would, and the downloaded transcript must be the golden
// output, byte for byte, whichever the page's language and the engine.
// engines: chromium firefox webkit
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { build, golden, pageUrl, chromiumAlone, useBrowser, open as openPage, openProgram, close, paneText, holdPrograms,
         text, typeAtPrompts, goldenCase, download } from './harness.js';

const browser = useBrowser();
const open = (program, options) => openProgram(browser(), program, options);

// What a console shows: the golden output with each entry echoed after the prompt it answers.
function screen(expected, prompts, entries, input) {
  let text = expected.toString();
  let at = 0;
  entries.forEach((entry, k) => {
    at = text.indexOf(prompts[k], at) + prompts[k].length;
    const echo = entry + (k < entries.length - 1 || input.endsWith('\n') ? '\n' : '');
    text = text.slice(0, at) + echo + text.slice(at);
    at += echo.length;
  });
  return text;
}

// Every engine types both worked examples and ends one input with Ctrl-D.
const everywhere = {};
const cases = [
  ['gjinverse/worked-2x2', 'row by row', 'ko-KR', everywhere],
  ['gjinverse/pivot-exchange-3x3', 'one line', 'en-US', chromiumAlone],
  ['gjinverse/end-of-input', 'row by row', 'ko-KR', everywhere],
  ['gjsolve/worked-2x2', 'one line', 'en-US', everywhere],
  ['gjsolve/residues-3x3', 'row by row', 'ko-KR', chromiumAlone],
  ['gjsolve/residues-3x3', 'one line', 'en-US', chromiumAlone],
  ['gjsolve/order-above-capacity', 'row by row', 'ko-KR', chromiumAlone],
];
for (const [name, typing, locale, engines] of cases) {
  test(`${name}, typed ${typing}, in ${locale}`, engines, async () => {
    const { input, expected, prompts, rows } = goldenCase(name);
    const errFile = path.join(golden, `${name}.err`);
    const entries = typing === 'one line' ? [rows.join(' ')] : rows;
    const page = await open(name.split('/')[0], { locale });
    await typeAtPrompts(page, input, entries, prompts);

    // Then standard error, and the exit status in the page's own words.
    const shown = screen(expected, prompts, entries, input);
    const pane = await paneText(page);
    assert.equal(pane.slice(0, shown.length), shown);
    const err = fs.existsSync(errFile) ? fs.readFileSync(errFile, 'utf8') : '';
    const [, errShown, note] = pane.slice(shown.length).match(/^(.*)\n\[([^\]\n]*)\]\n$/s) ?? [];
    assert.equal(errShown, err);
    const exitStatus = fs.readFileSync(path.join(golden, 'index'), 'utf8').match(new RegExp(`^${name} +(\\d)`, 'm'))[1];
    assert.equal(note, await text(page, 'pane.exited', { program: name.split('/')[0], status: exitStatus }));
    const transcript = await download(page);
    assert.equal(transcript.toString(), expected.toString());
    assert.ok(transcript.equals(expected), 'the same bytes');
    if (name === 'gjsolve/residues-3x3' && locale === 'en-US') await page.screenshot({ path: path.join(build, 'web-screenshot.png'), fullPage: true });
    await close(page);
  });
}

// For each printout of the pane, the columns of each row's entries marked as
// changed, once all are marked (some only after paint). A span may mark a run
// of entries, tabs between them.
async function marks(page) {
  await page.waitForSelector('#pane:not([data-marks])');
  const printouts = await page.$$eval('#pane .rows', (all) => all.map((rows) => [...rows.childNodes].map((node) =>
    (node.nodeType === Node.TEXT_NODE || !node.classList.contains('changed') ? node.textContent
      : node.textContent.split('\t').map((entry) => `*${entry}`).join('\t'))).join('')));
  return printouts.filter((printout) => printout.includes('\t')).map((printout) =>
    printout.split('\n').filter((line) => line.includes('\t')).map((row) =>
      row.split('\t').flatMap((entry, c) => (entry.startsWith('*') ? [c] : []))));
}

test('entries printed otherwise than in the printout before are marked', async () => {
  const page = await open('gjinverse');
  await typeAtPrompts(page, '\n', ['3 0 2 1 1 1 1 2 1 0'], ['INPUT ORDER OF SQUARE MATRIX: ']);
  const printouts = await marks(page);
  assert.deepEqual(printouts[0], [[], [], []], 'the first printout has none before it');
  assert.deepEqual(printouts[2], [[0, 2, 3, 4], [0, 2, 3, 4], []], 'the pivot pass exchanged rows 1 and 2');
  assert.deepEqual(printouts.at(-1), [[], [], []], 'the inverse alone is the first of its size');

  await page.click('#restart');
  await typeAtPrompts(page, '\n', ['2 2 1 1 3'], ['INPUT ORDER OF SQUARE MATRIX: ']);
  assert.deepEqual((await marks(page))[2], [[], []], 'a pivot pass that exchanges nothing marks nothing');

  // Each mark drawn otherwise than by colour: bold, framed, a wavy underline.
  await page.click('a[href="#gjsolve"]');
  await typeAtPrompts(page, '\n', [fs.readFileSync(path.join(golden, 'gjsolve/residues-3x3.in'), 'utf8').trim().split(/\s+/).join(' ')],
                      ['INPUT ORDER OF SQUARE MATRIX: ']);
  await page.waitForSelector('#pane .residue');
  const drawn = await page.evaluate(() => {
    const style = (mark) => getComputedStyle(document.querySelector(`#pane .${mark}`));
    return [style('changed').fontWeight, style('pivot').outlineStyle,
            `${style('residue').textDecorationLine} ${style('residue').textDecorationStyle}`];
  });
  assert.deepEqual(drawn, ['700', 'solid', 'underline wavy']);
  await close(page);
});

for (const locale of ['en-US', 'ko-KR']) {
  test(`every commentary line has its gloss, shown on keyboard focus too, in ${locale}`, chromiumAlone, async () => {
    const page = await open('gjsolve', { locale });
    await typeAtPrompts(page, '\n', ['2 2 -3 0 1 1 5'], ['INPUT ORDER OF SQUARE MATRIX: ']);
    const glosses = await page.$$eval('.gloss', (lines) => lines.map((line) => line.dataset.gloss));
    assert.equal(glosses.length, 5);
    assert.ok(glosses.every((gloss) => gloss.length > 0));
    await page.focus('.gloss');
    const shown = await page.$eval('.gloss', (line) => getComputedStyle(line, '::after').content);
    const gloss = await text(page, 'gloss.solve_input');
    assert.equal(shown, `"  (${gloss})"`);
    // The line is Korean, its gloss in the page's language: spoken each in its own voice.
    assert.deepEqual(await page.$eval('.gloss', (line) => [line.closest('[lang]').lang, line.firstElementChild.lang]),
                     [locale.slice(0, 2), 'ko']);
    await close(page);
  });
}

test('a link to the other program starts it afresh, waiting for its order', chromiumAlone, async () => {
  const page = await open('gjsolve');
  await typeAtPrompts(page, '\n', ['2'], ['INPUT ORDER OF SQUARE MATRIX: ']);
  assert.equal(await page.textContent('.help code'), 'gjsolve > run.log', 'the note names the program open');
  await page.click('a[href="#gjinverse"]');
  await page.waitForFunction(() => document.title.startsWith('gjinverse'));
  assert.equal(await paneText(page), 'INPUT ORDER OF SQUARE MATRIX: ');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'typed');
  assert.equal(await page.textContent('.help code'), 'gjinverse > run.log');
  await close(page);
});

// The first prompt is there before the programs: what is typed meanwhile is
// echoed, and handed to the program once it has loaded; an entry still being
// typed as they arrive is kept.
test('what is typed before the programs have loaded is handed to them', chromiumAlone, async () => {
  const page = await openPage(browser(), `${pageUrl}#gjinverse`, { initScript: holdPrograms(false), ready: '#typed:not([disabled])' });
  const { input, expected } = goldenCase('gjinverse/worked-2x2');
  assert.equal(await paneText(page), 'INPUT ORDER OF SQUARE MATRIX: ');
  for (const line of input.trim().split('\n')) {
    await page.keyboard.type(line);
    await page.keyboard.press('Enter');
  }
  assert.equal(await paneText(page), `INPUT ORDER OF SQUARE MATRIX: ${input}`);
  await page.evaluate(() => window.releasePrograms());
  await page.waitForSelector('#pane .note');
  assert.ok((await paneText(page)).startsWith(`INPUT ORDER OF SQUARE MATRIX: 2\nINPUT a11 a12 : 2 1\nINPUT a21 a22 : 1 3\n`));
  assert.ok((await download(page)).equals(expected));
  await close(page);
  // An entry begun as the programs arrive stays in the field, with its caret,
  // a key typed as they arrive (once the page has them, before the first run
  // is shown) keeps its place, and its Enter sends all of it.
  const typing = await openPage(browser(), `${pageUrl}#gjinverse`, { initScript: holdPrograms(false), ready: '#typed:not([disabled])' });
  await typing.keyboard.type('1');
  await typing.evaluate(() => {
    new MutationObserver((changes, observer) => {
      observer.disconnect();
      document.getElementById('typed').setRangeText('0', 1, 1, 'end');
    }).observe(document.body, { attributeFilter: ['data-programs'] });
    window.releasePrograms();
  });
  await typing.waitForFunction(() => GJ.page.model !== null);
  assert.deepEqual(await typing.evaluate(() => [document.getElementById('typed').value, document.getElementById('typed').selectionStart]), ['10', 2]);
  await typing.keyboard.press('Enter');
  await typing.waitForFunction(() => /MATRIX: .*\n/.test(document.getElementById('pane').textContent));
  assert.ok((await paneText(typing)).startsWith('INPUT ORDER OF SQUARE MATRIX: 10\n'), await paneText(typing));
  await close(typing);
  // A focus moved off the input line before they arrive stays where it was
  // put (it went back to the field, and an Enter on "Practise" ran an empty line).
  const moving = await openPage(browser(), `${pageUrl}#gjinverse`, { initScript: holdPrograms(false), ready: '#typed:not([disabled])' });
  await moving.focus('[data-mode="practice"]');
  await moving.evaluate(() => window.releasePrograms());
  await moving.waitForFunction(() => GJ.page.model !== null && !document.getElementById('typed').disabled);
  assert.equal(await moving.evaluate(() => document.activeElement.dataset.mode), 'practice');
  await close(moving);
});

// The program runs over an entry after the key is answered: lines entered
// before it has run (here all in one task) run in order, none lost or repeated.
test('lines entered faster than the program runs are run in order', chromiumAlone, async () => {
  const page = await open('gjsolve');
  const { input, expected } = goldenCase('gjsolve/worked-2x2');
  await page.evaluate((lines) => {
    for (const line of lines) {
      document.getElementById('typed').value = line;
      document.getElementById('line').requestSubmit();
    }
  }, input.trim().split('\n'));
  await page.waitForSelector('#pane .note');
  assert.ok((await download(page)).equals(expected));
  await close(page);
});
