// Copying a run, from file://: each button puts its form on the clipboard as
// the golden files of tests/web/export/ hold it, in English and in Korean, and
// "Copy as table" the HTML and the text flavours at once, the HTML read back as
// a word processor reads it: a table of cells. An engine whose clipboard no
// test can read (WebKit) checks that the page says it copied.
// engines: chromium firefox webkit
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { useBrowser, openProgram, close, cannot, text, typeAtPrompts } from './harness.js';

const browser = useBrowser();
const golden = (name) => ({ 'text/plain': fs.readFileSync(path.join(import.meta.dirname, '..', 'export', name), 'utf8') });

// Types program's worked example and sets the copy choices.
async function worked(program, locale, [values, commentary, shape]) {
  const page = await openProgram(browser(), program, { locale });
  await typeAtPrompts(page, '\n', [{ gjinverse: '2 2 1 1 3', gjsolve: '2 2 -3 0 1 1 5' }[program]], ['INPUT ORDER OF SQUARE MATRIX: ']);
  await page.waitForSelector('#stages[data-exact="done"]');
  for (const [id, value] of [['values', values], ['commentary', commentary], ['shape', shape]]) await page.selectOption(`#export-${id}`, value);
  return page;
}

// Clicks selector and, once the status line says doneId, gives each flavour on
// the clipboard, or null where no test can read it.
async function copied(t, page, selector, doneId) {
  await page.evaluate(() => { document.getElementById('status').textContent = ''; });
  await page.click(selector);
  await page.waitForFunction((done) => document.getElementById('status').textContent === done, await text(page, doneId));
  if (cannot(t, 'clipboard')) return null;
  return page.evaluate(async () => {
    const [item] = await navigator.clipboard.read();
    return Object.fromEntries(await Promise.all(item.types.map(async (type) => [type, await (await item.getType(type)).text()])));
  });
}

// What was copied is the golden file's, where it can be read.
const same = (flavours, name) => flavours === null || assert.deepEqual(flavours, golden(name));

test('the run as a LaTeX document, in exact fractions and as Markdown, in English', async (t) => {
  const inverse = await worked('gjinverse', 'en-US', ['printed', 'printed', 'document']);
  same(await copied(t, inverse, '#copy-latex', 'status.copiedLatex'), 'gjinverse-worked.tex');
  await close(inverse);
  const solve = await worked('gjsolve', 'en-US', ['exact', 'gloss', 'fragment']);
  same(await copied(t, solve, '#copy-markdown', 'status.copiedMarkdown'), 'gjsolve-worked.md');
  same(await copied(t, solve, '#copy-latex', 'status.copiedLatex'), 'gjsolve-worked-exact.tex');
  await close(solve);
});

test('in Korean: a stage as LaTeX and as a table, from its article', async (t) => {
  const page = await worked('gjinverse', 'ko-KR', ['exact', 'none', 'fragment']);
  for (let k = 0; k < 3; ++k) await page.click('#stage-next');
  const button = async (id) => `#stage-4 .stage-copies button:nth-of-type(${1 + await page.$$eval('#stage-4 .stage-copies button',
    (buttons, label) => buttons.findIndex((b) => b.textContent === label), await text(page, id))})`;
  same(await copied(t, page, await button('export.latex'), 'status.copiedLatex'), 'gjinverse-worked-stage4.ko.tex');
  const table = await copied(t, page, await button('export.table'), 'status.copiedTable');
  if (table === null) return close(page);
  assert.equal(table['text/plain'], '1\t0.5\t0.5\t0\n0\t-2.5\t0.5\t-1\n');
  const cells = await page.evaluate((html) => [...new DOMParser().parseFromString(html, 'text/html').querySelector('table').rows]
    .map((row) => [...row.cells].map((cell) => `${cell.tagName}:${cell.textContent}`).join(' ')), table['text/html']);
  assert.deepEqual(cells, ['TD: TH:A1 TH:A2 TH:I1 TH:I2', 'TH:R1 TD:1 TD:0.5 TD:0.5 TD:0', 'TH:R2 TD:0 TD:-2.5 TD:0.5 TD:-1']);
  assert.ok(table['text/html'].includes(`<caption>${await text(page, 'table.caption', { k: 4, name: await text(page, 'stage.eliminated', { j: 1 }) })}</caption>`));
  await close(page);
});
