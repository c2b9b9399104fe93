// What the browser tests share: Debian's chromium, headless, and the page opened
// from file:// (GJ_WEB_BUILD names the web build folder), typed at as a person would.
'use strict';
const { before, after } = require('node:test');
const assert = require('node:assert/strict');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const { chromium } = require('playwright-core');

const build = process.env.GJ_WEB_BUILD;
const pageUrl = pathToFileURL(path.join(build, 'index.html')).href;

let browser;
before(async () => {
  browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
});
after(() => browser.close());

// Opens the page on one program, in a browser that prefers the given language,
// noting script errors and any request that would leave the disk; close() checks
// that there were none. A context may be given to share its storage.
async function open(program, { locale = 'en-US', width = 1280, context = null } = {}) {
  const owned = context === null;
  if (owned) context = await browser.newContext({ locale, viewport: { width, height: 800 } });
  const page = await context.newPage();
  page.owned = owned;
  page.problems = [];
  page.on('pageerror', (error) => page.problems.push(`script error: ${error.message}`));
  page.on('request', (request) => {
    if (!/^(file|data|blob):/.test(request.url())) page.problems.push(`request: ${request.url()}`);
  });
  await page.goto(`${pageUrl}#${program}`);
  await page.waitForSelector('#typed:not([disabled])');
  return page;
}

async function close(page) {
  assert.deepEqual(page.problems, []);
  if (page.owned) await page.context().close();
  else await page.close();
}

const paneText = (page) => page.textContent('#pane');

// Types each entry at its prompt, after checking that the prompt shows and the
// input field has the focus. An input without a final newline ends with Ctrl-D.
async function typeAtPrompts(page, input, entries, prompts) {
  for (const [k, entry] of entries.entries()) {
    assert.ok((await paneText(page)).endsWith(prompts[k]), `prompt ${k} "${prompts[k]}" before typing`);
    assert.equal(await page.evaluate(() => document.activeElement.id), 'typed');
    await page.keyboard.type(entry);
    const last = k === entries.length - 1;
    await page.keyboard.press(last && !input.endsWith('\n') ? 'Control+D' : 'Enter');
  }
}

module.exports = { build, browser: () => browser, open, close, paneText, typeAtPrompts };
