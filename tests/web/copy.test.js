// Copying a run, in Debian's chromium from file://: each form reaches the
// clipboard as the golden files of tests/web/export/ hold it (whole-run LaTeX
// and Markdown, one stage's LaTeX, in English and in Korean), and a stage's
// table as two flavours at once, whose HTML a word processor reads as cells.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { useBrowser, openProgram, close, text, typeAtPrompts } = require('./harness.js');

const browser = useBrowser();
const goldenForm = (name) => fs.readFileSync(path.join(__dirname, 'export', name), 'utf8');

// Opens program in a context that may use the clipboard, types its worked
// example and waits for the exact values.
async function worked(program, locale) {
  const context = await browser().newContext({ locale, permissions: ['clipboard-read', 'clipboard-write'] });
  const page = await openProgram(browser(), program, { context });
  const input = { gjinverse: '2 2 1 1 3', gjsolve: '2 2 -3 0 1 1 5' }[program];
  await typeAtPrompts(page, '\n', [input], ['INPUT ORDER OF SQUARE MATRIX: ']);
  await page.waitForSelector('#stages[data-exact="done"]');
  return page;
}

// Clicks selector and gives each flavour that lands on the clipboard, once the status line says doneId.
async function copied(page, selector, doneId) {
  await page.evaluate(() => { document.getElementById('status').textContent = ''; });
  await page.click(selector);
  const done = await text(page, doneId);
  await page.waitForFunction((done) => document.getElementById('status').textContent === done, done);
  return page.evaluate(async () => {
    const [item] = await navigator.clipboard.read();
    return Object.fromEntries(await Promise.all(item.types.map(async (type) => [type, await (await item.getType(type)).text()])));
  });
}

const choose = (page, values, commentary, shape) => Promise.all([
  page.selectOption('#export-values', values), page.selectOption('#export-commentary', commentary),
  page.selectOption('#export-shape', shape)]);

test('the run as a LaTeX document and as Markdown, and one stage as LaTeX, in English', async () => {
  const inverse = await worked('gjinverse', 'en-US');
  await choose(inverse, 'printed', 'printed', 'document');
  assert.deepEqual(await copied(inverse, '#copy-latex', 'status.copiedLatex'), { 'text/plain': goldenForm('gjinverse-worked.tex') });
  await close(inverse);
  await inverse.context().close();

  const solve = await worked('gjsolve', 'en-US');
  await choose(solve, 'exact', 'gloss', 'fragment');
  assert.deepEqual(await copied(solve, '#copy-markdown', 'status.copiedMarkdown'), { 'text/plain': goldenForm('gjsolve-worked.md') });
  assert.deepEqual(await copied(solve, '#copy-latex', 'status.copiedLatex'), { 'text/plain': goldenForm('gjsolve-worked-exact.tex') });
  await close(solve);
  await solve.context().close();
});

test('in Korean: one stage as LaTeX from its article, and the run as Markdown', async () => {
  const page = await worked('gjinverse', 'ko-KR');
  await choose(page, 'exact', 'none', 'fragment');
  for (let k = 0; k < 3; ++k) await page.click('#stage-next');
  const latex = `#stage-4 .stage-copies button:text-is("${await text(page, 'export.latex')}")`;
  assert.deepEqual(await copied(page, latex, 'status.copiedLatex'), { 'text/plain': goldenForm('gjinverse-worked-stage4.ko.tex') });
  await choose(page, 'printed', 'printed', 'fragment');
  assert.deepEqual(await copied(page, '#copy-markdown', 'status.copiedMarkdown'), { 'text/plain': goldenForm('gjinverse-worked.ko.md') });
  await close(page);
  await page.context().close();
});

// The HTML flavour read as a word processor reads it: a table of cells, the
// caption and headers included; the text flavour is the printout's rows.
test('a stage as a table: HTML cells and tab-separated text on the clipboard at once', async () => {
  const page = await worked('gjsolve', 'ko-KR');
  for (let k = 0; k < 3; ++k) await page.click('#stage-next');
  const flavours = await copied(page, `#stage-4 .stage-copies button:text-is("${await text(page, 'export.table')}")`, 'status.copiedTable');
  assert.deepEqual(Object.keys(flavours).sort(), ['text/html', 'text/plain']);
  assert.equal(flavours['text/plain'], '-0.666667\t1\t-0\n0\t1.66667\t3.33333\n');
  const cells = await page.evaluate((html) => {
    const table = new DOMParser().parseFromString(html, 'text/html').querySelector('table');
    return { caption: table.caption.textContent, rows: [...table.rows].map((row) => [...row.cells].map((cell) => `${cell.tagName}:${cell.textContent}`)) };
  }, flavours['text/html']);
  assert.deepEqual(cells, {
    caption: await text(page, 'table.caption', { k: 4, name: await text(page, 'stage.eliminated', { j: 1 }) }),
    rows: [['TD:', 'TH:A1', 'TH:A2', 'TH:b'], ['TH:R1', 'TD:-0.666667', 'TD:1', 'TD:-0'], ['TH:R2', 'TD:0', 'TD:1.66667', 'TD:3.33333']],
  });
  await close(page);
  await page.context().close();
});
