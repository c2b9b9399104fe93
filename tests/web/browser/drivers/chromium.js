// Debian's chromium, headless, through playwright-core: its browser and pages
// are playwright's own, which the other engines' tabs imitate (tab.js). Each page
// opens in a browser context of its own, with the language, colours and size
// asked, or in a context given, to share its storage.
import path from 'node:path';
import { chromium } from 'playwright-core';
import { scrollTo } from './tab.js';

export const name = 'chromium';
export const executable = process.env.GJ_CHROMIUM || '/usr/bin/chromium';
export const cannot = {};

// The address bar's drop-downs, which the browser makes for each window (a
// context), each in a renderer of its own that costs more than the page, and
// which no test shows.
const unused = ['WebUIOmniboxPopup', 'WebUIOmniboxAimPopup'];

export async function launch() {
  const browser = await chromium.launch({
    executablePath: path.join(import.meta.dirname, 'chromium-features.sh'),
    env: { ...process.env, GJ_CHROMIUM: executable },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           `--disable-features=${unused.join(',')}`],
  });
  // Playwright's own browser, for what only chromium does.
  return Object.assign(browser, { open: (url, options) => open(browser, url, options) });
}

// Opens url with initScript (if any) run in the page before its own scripts.
// Every problem is noted on page.problems: a Content-Security-Policy violation,
// a console error, a script error, and any request that leaves the page's own
// folder (those of a service worker included, in a context of the page's own).
async function open(browser, url, { context = null, initScript = null, ...contextOptions } = {}) {
  const owned = context === null;
  if (owned) context = await browser.newContext({ permissions: ['clipboard-read', 'clipboard-write'], ...contextOptions });
  const page = await context.newPage();
  const folder = new URL('.', url).href;
  page.owned = owned;
  page.problems = [];
  await page.addInitScript(() => {
    document.addEventListener('securitypolicyviolation', (event) =>
      console.error(`CSP violation: ${event.violatedDirective} ${event.blockedURI}`));
  });
  if (initScript) await page.addInitScript(initScript);
  page.on('console', (message) => {
    if (message.type() === 'error') page.problems.push(`console error: ${message.text()}`);
  });
  page.on('pageerror', (error) => page.problems.push(`script error: ${error.message}`));
  (owned ? context : page).on('request', (request) => {
    const address = request.url();
    if (!address.startsWith(folder) && !/^(data|blob):/.test(address)) page.problems.push(`request: ${address}`);
  });
  page.download = async (selector) => {
    await scrollTo(page, selector);
    const [file] = await Promise.all([page.waitForEvent('download'), page.click(selector)]);
    const { readFile } = await import('node:fs/promises');
    return readFile(await file.path());
  };
  const close = page.close.bind(page);
  page.close = () => (owned ? context.close() : close());
  await page.goto(url);
  return page;
}

export async function hasAccessible(page, selector, { role, name }) {
  const cdp = await page.context().newCDPSession(page);
  const { root } = await cdp.send('DOM.getDocument');
  const { nodeId } = await cdp.send('DOM.querySelector', { nodeId: root.nodeId, selector });
  const { nodes: [node] } = await cdp.send('Accessibility.getPartialAXTree', { nodeId, fetchRelatives: false });
  await cdp.detach();
  return node?.role?.value === role && (name === null || node?.name?.value === name);
}
