// Accessibility (WCAG 2.2 AA) of the page, opened from the disk: axe-core finds
// nothing in any language, colour scheme and width, before a run and after one;
// the keyboard reaches everything, with its focus in view; targets are large
// enough; and at a phone's width only the pane scrolls sideways.
'use strict';
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { pageUrl, launch, open, close, typeAtPrompts, typeCase } = require('./harness.js');

const axeSource = fs.readFileSync(path.join(__dirname, 'node_modules', 'axe-core', 'axe.min.js'), 'utf8');
const order4 = ['4 2 1 0 0 1 3 1 0 0 1 4 1 0 0 1 5'];
const orderPrompt = ['INPUT ORDER OF SQUARE MATRIX: '];

let browser;
before(async () => { browser = await launch(); });
after(() => browser.close());

// axe's findings on the page as it is, as "rule: element" lines. Injected
// through the DevTools protocol, axe is not held by the page's CSP; it must not
// preload the stylesheets either, which would be a connection the CSP refuses.
async function axeFindings(page) {
  await page.evaluate(axeSource);
  const { violations } = await page.evaluate(() => axe.run(document, {
    preload: false,
    runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21aa', 'wcag22aa', 'best-practice'] },
  }));
  return violations.flatMap((rule) => rule.nodes.map((node) => `${rule.id}: ${node.target.join(' ')}`));
}

// The page chooses its language from the browser's (the locale), its colours from the colour scheme.
for (const locale of ['en-US', 'ko-KR']) {
  for (const colorScheme of ['light', 'dark']) {
    for (const width of [1280, 375]) {
      test(`axe finds nothing: ${locale}, ${colorScheme}, ${width} px, before and after a run`, async () => {
        const page = await open(browser, `${pageUrl}#gjinverse`,
                                { locale, colorScheme, viewport: { width, height: 800 } });
        assert.deepEqual(await axeFindings(page), [], 'before a run');
        await typeAtPrompts(page, '\n', order4, orderPrompt);
        await page.waitForSelector('.note');
        assert.deepEqual(await axeFindings(page), [], 'after an order-4 run');
        await close(page);
      });
    }
  }
}

// Tab from the top to the end of the page: everything is reached, each with a
// visible focus ring and, but for a commentary line within the text, a target
// of at least 24 by 24 CSS pixels.
test('Tab reaches links, pane, commentary lines and buttons, each with its focus visible', async () => {
  for (const colorScheme of ['light', 'dark']) {
    const page = await open(browser, `${pageUrl}#gjinverse`, { colorScheme });
    const ring = () => page.evaluate(() => {
      const style = getComputedStyle(document.activeElement);
      return style.outlineStyle !== 'none' && parseFloat(style.outlineWidth) >= 2;
    });
    assert.ok(await ring(), 'the input field, focused at the start');
    await typeAtPrompts(page, '\n', ['2 2 1 1 3'], orderPrompt);
    await page.click('h1');  // Tab goes on from there
    const reached = [];
    for (let k = 0; k < 100; k++) {
      await page.keyboard.press('Tab');
      const [what, size] = await page.evaluate(() => {
        const element = document.activeElement;
        const box = element.getBoundingClientRect();
        return [element.id || element.className || element.getAttribute('href') || element.tagName,
                Math.min(box.width, box.height)];
      });
      if (what === 'BODY' || what === reached[0]) break;  // past the end
      reached.push(what);
      assert.ok(await ring(), `a focus ring on ${what} (${colorScheme})`);
      if (what !== 'gloss') assert.ok(size >= 24, `${what} is ${size} px`);
    }
    const glosses = Array(await page.locator('#pane .gloss').count()).fill('gloss');
    const expected = ['#gjinverse', '#gjsolve', 'pane', ...glosses, 'restart', 'download', 'copy'];
    assert.deepEqual(reached.filter((what) => expected.includes(what)), expected);
    await close(page);
  }
});

test('at 375 px after an order-10 run only the pane scrolls sideways, with the keyboard too', async () => {
  const page = await open(browser, `${pageUrl}#gjinverse`, { viewport: { width: 375, height: 800 } });
  await typeCase(page, 'gjinverse/growing-rows-10x10');
  await page.waitForSelector('.note');
  assert.ok(await page.evaluate(() => document.scrollingElement.scrollWidth) <= 375, 'the page is not wider');
  const pane = await page.$eval('#pane', (element) => [element.scrollWidth, element.clientWidth]);
  assert.ok(pane[0] > pane[1], 'the pane is wider than its view');
  await page.focus('#pane');
  for (let k = 0; k < 5; k++) await page.keyboard.press('ArrowRight');
  // Scrolling may be animated: wait for it to move.
  await page.waitForFunction(() => document.getElementById('pane').scrollLeft > 0);
  await close(page);
});
