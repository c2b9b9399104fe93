// What the browser tests share: a browser, one for a test file, the page
// opened from file:// or from a local server, the checks that every test makes
// on it, typing at the program's prompts, the golden cases, the page's texts and
// its download. GJ_WEB_BUILD names the web build folder.
import assert from 'node:assert/strict';
import { before, after } from 'node:test';
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { name as engine, driver } from './drivers/index.js';
import { serve } from './drivers/serve.js';

const build = process.env.GJ_WEB_BUILD;
const golden = path.join(import.meta.dirname, '..', '..', 'golden');
const pageUrl = pathToFileURL(path.join(build, 'index.html')).href;

// The engine named by GJ_ENGINE (drivers/index.js), started for the page.
const launch = () => driver.launch(pageUrl);

// Opens url in a new context with the given options (locale, colorScheme,
// viewport, initScript), or in the given context, and waits for the first
// prompt, or for ready, a selector or a function of the page (a link may open a
// finished run). Every problem is noted on page.problems, which close() checks:
// a Content-Security-Policy violation, a console error, a script error, and (in
// chromium) any request that leaves the page's own folder.
async function open(browser, url, { ready = null, ...options } = {}) {
  const page = await browser.open(url, options);
  await (ready === null ? waitForPrompt(page) : typeof ready === 'function' ? page.waitForFunction(ready) : page.waitForSelector(ready));
  return page;
}

// The first prompt, once the programs are there to answer it (the page shows
// it, and takes what is typed, before that).
const waitForPrompt = (page) => page.waitForSelector('body[data-programs="loaded"] #typed:not([disabled])');

// One browser for the test file that calls this, launched before its tests and
// closed after them; returns a function that gives it.
function useBrowser() {
  let browser;
  before(async () => { browser = await launch(); });
  after(() => browser.close());
  return () => browser;
}

// Opens the page from file:// on one program, in browser, in a browser context
// that prefers the given language and colours, at the given width; or in the
// context given, to share its storage (close() then closes the page alone).
function openProgram(browser, program, { locale = 'en-US', width = 1280, colorScheme = 'light', context = null } = {}) {
  return open(browser, `${pageUrl}#${program}`,
              context ? { context } : { locale, colorScheme, viewport: { width, height: 800 } });
}

// The page's text id with values, in the language the page shows.
const text = (page, id, values = {}) => page.evaluate(([id, values]) => GJ.language.t(id, values), [id, values]);

// Closes page, and its context if it has one of its own, after which none of
// its problems is left to note.
async function close(page) {
  await page.close();
  assert.deepEqual(page.problems, []);
}

// Options of a test that only chromium runs: the other engines run the main
// scenarios.
const chromiumAlone = { skip: engine !== 'chromium' && `left to chromium in ${engine}` };

// A step that engine cannot take is skipped, and the test says so.
function cannot(t, what) {
  const reason = driver.cannot[what];
  if (reason) t.diagnostic(`skipped in ${engine}: ${reason}`);
  return Boolean(reason);
}

const paneText = (page) => page.textContent('#pane');

// An init script that holds the programs back until the page's script calls
// window.releasePrograms(), which loads them, or fails them when fail is true.
const holdPrograms = (fail) => `(${(failing) => {
  let given;
  const programs = new Promise((resolve) => { given = resolve; });
  const held = new Promise((resolve, reject) => {
    window.releasePrograms = () => (failing ? reject(new Error('no WebAssembly here')) : programs.then(resolve, reject));
  });
  Object.defineProperty(window, 'gaussJordanPrograms', { get: () => held, set: given });
}})(${fail})`;

// Types each entry at its prompt, after checking that the prompt shows (within
// a few seconds: a click that opens a program does so in a task of its own) and
// the input field has the focus. An input without a final newline ends with Ctrl-D.
// With atOnce, for a test that is not about typing, each entry comes as one
// insertion, as a paste gives it, rather than key by key.
async function typeAtPrompts(page, input, entries, prompts, { atOnce = false } = {}) {
  for (const [k, entry] of entries.entries()) {
    await page.waitForFunction((prompt) => document.getElementById('pane').textContent.endsWith(prompt), prompts[k],
                               { timeout: 5000 }).catch(() => {});
    assert.ok((await paneText(page)).endsWith(prompts[k]), `prompt ${k} "${prompts[k]}" before typing`);
    assert.equal(await page.evaluate(() => document.activeElement.id), 'typed');
    await (atOnce ? page.keyboard.insertText(entry) : page.keyboard.type(entry));
    const last = k === entries.length - 1;
    await page.keyboard.press(last && !input.endsWith('\n') ? 'Control+D' : 'Enter');
  }
  // The program runs over an entry once the key is answered; its run is then shown.
  await page.waitForFunction(() => !document.getElementById('line').hasAttribute('data-entering'));
}

// A golden case: its input, its expected output, the prompts in that output,
// and the input's rows (the entries when typed row by row).
function goldenCase(name) {
  const input = fs.readFileSync(path.join(golden, `${name}.in`), 'utf8');
  const expected = fs.readFileSync(path.join(golden, `${name}.out`));
  const prompts = expected.toString().split('\n')[0].match(/INPUT [^:]*: /g);
  const rows = input.split('\n').filter((line, k, all) => k < all.length - 1 || line !== '');
  return { input, expected, prompts, rows };
}

// Types a golden case row by row into the page, open on its program (each row
// at once, with atOnce).
async function typeCase(page, name, options) {
  const { input, prompts, rows } = goldenCase(name);
  await typeAtPrompts(page, input, rows, prompts, options);
}

const download = (page) => page.download('#download');

// Clicks selector, whose print the page asks of the browser once it has
// drawn it, and waits for that: the browser's print a stand-in, as a PDF stands in for it.
const clickToPrint = (page, selector) => page.evaluate(() => { window.print = () => { window.printed = true; }; window.printed = false; })
  .then(() => page.click(selector)).then(() => page.waitForFunction(() => window.printed));

export { build, golden, pageUrl, engine, chromiumAlone, cannot, launch, useBrowser, open, openProgram, waitForPrompt, close, serve, clickToPrint,
         paneText, holdPrograms, text, typeAtPrompts, goldenCase, typeCase, download };
