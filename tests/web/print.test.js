// Printing the page (Save as PDF): the transcript and the explanation of every
// stage, black on white, with no stage split across pages. Chromium prints to PDF; poppler's pdftotext
// reads it back, in the order of the PDF's content (-raw): the Hangul glyphs come
// as Type 3 fonts, which its layout mode would move about. GJ_WEB_BUILD names
// the web build folder.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { pageUrl, useBrowser, open, close, typeCase } from './harness.js';

const browser = useBrowser();

// The text of each printed page of the page, as it is, in the dark colour scheme
// (which print must not keep).
async function printed(name) {
  const page = await open(browser(), `${pageUrl}#${name.split('/')[0]}`, { colorScheme: 'dark' });
  await typeCase(page, name);
  await page.waitForSelector('#stages[data-exact="done"]');
  const headings = await page.evaluate(() => [...Array(GJ.stages.count()).keys()].map((k) => `${k + 1}. `));
  const pdf = await page.pdf({ format: 'A4' });
  // After the print the screen shows one stage again.
  const shownAfter = await page.$$eval('#stage-list .stage', (stages) => stages.length);
  await page.emulateMedia({ media: 'print' });
  const styles = await page.evaluate(() => ['body', '#pane', '#pane .changed', '#pane .echo', '#pane .gloss', '.actions', '#line', '.stage-nav']
    .map((selector) => {
      const style = getComputedStyle(document.querySelector(selector));
      return [selector, style.display === 'none' ? 'hidden' : `${style.color} on ${style.backgroundColor}`];
    }));
  await close(page);
  const pages = execFileSync('pdftotext', ['-raw', '-enc', 'UTF-8', '-', '-'], { input: pdf }).toString().split('\f');
  return { pages, styles, headings, shownAfter };
}

test('the print of a run holds its commentary lines, Hangul included, black on white and no controls', async () => {
  const { pages, styles, headings, shownAfter } = await printed('gjinverse/worked-2x2');
  const text = pages.join('');
  // Every stage's explanation, not only the one on the screen, with its operations.
  const stageHeadings = text.split('\n').filter((line) => /^\d+\. /.test(line)).map((line) => line.slice(0, line.indexOf(' ') + 1));
  assert.deepEqual(stageHeadings, headings);
  for (const op of ['R1 ÷ 2', 'R2 ← R1 − 3 × R2', 'R1 ← R2 − (-5) × R1', 'R2 ÷ (-2.5)']) assert.ok(text.includes(op), op);
  assert.equal(shownAfter, 1);
  for (const line of [':입력완료', ':Gauss-Jordan Elimination 완료.', ':Inverse Matrix 완료.']) {
    assert.ok(text.includes(line), `${line} in the print`);
  }
  for (const control of ['Download transcript', 'End input', 'Start over']) assert.ok(!text.includes(control), control);
  const black = 'rgb(0, 0, 0) on rgba(0, 0, 0, 0)';
  assert.deepEqual(styles, [['body', 'rgb(0, 0, 0) on rgb(255, 255, 255)'], ['#pane', black], ['#pane .changed', black],
                            ['#pane .echo', black], ['#pane .gloss', black], ['.actions', 'hidden'], ['#line', 'hidden'],
                            ['.stage-nav', 'hidden']]);
});

// Page breaks in the transcript fall between stages only: every page but the
// one where it ends finishes with a commentary line; after it, no stage's
// explanation is split either.
test('an order-10 run prints on several pages, none of them ending inside a stage', async () => {
  const { pages } = await printed('gjinverse/growing-rows-10x10');
  const last = pages.findIndex((page) => page.includes('[gjinverse ended with exit status 0]'));
  assert.ok(last > 2, `the transcript ends on page ${last + 1}`);
  for (const [k, page] of pages.slice(0, last).entries()) {
    assert.match(page.trim().split('\n').at(-1), /^:/, `page ${k + 1} ends with a commentary line`);
  }
  // Each page after the transcript starts with a stage's heading.
  const stagePages = pages.slice(last + 1).filter((page) => page.trim() !== '');
  assert.ok(stagePages.length > 2);
  for (const page of stagePages) assert.match(page.trim(), /^\d+\. /, page.slice(0, 40));
});
