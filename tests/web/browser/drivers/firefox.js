// Debian's firefox-esr, headless, through puppeteer-core over WebDriver BiDi.
// The language, the colour scheme, the download folder and the clipboard are
// preferences of the whole browser, and a launch takes seconds: one browser
// serves the test file, its language and scheme set through its own scripts
// (BiDi's system access) before a page opens with others, unless a page is
// open there, when another browser is launched for them. Each page opens in a
// new tab of a browser context of its own (Firefox never gives the first tab
// the focus).
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';
import { Tab } from './tab.js';

export const name = 'firefox';
export const executable = process.env.GJ_FIREFOX || '/usr/bin/firefox-esr';
export const cannot = {
  accessibilityTree: 'WebDriver BiDi finds elements by role and name but shows no tree',
  printMedia: 'puppeteer emulates the print media type over the DevTools protocol alone',
};

// The preferences that give a page the language and colour scheme asked.
const preferences = (locale, colorScheme) => ({
  'intl.accept_languages': locale,
  'layout.css.prefers-color-scheme.content-override': colorScheme === 'dark' ? 0 : 1,
});

// Sets the preferences of browser, a running one, from its chrome window; gives browser.
async function setPreferences(browser, values) {
  const { result: { contexts: [chrome] } } = await browser.connection.send('browsingContext.getTree', { 'moz:scope': 'chrome' });
  const { result } = await browser.connection.send('script.evaluate', {
    expression: Object.entries(values).map(([name, value]) =>
      `Services.prefs.${typeof value === 'number' ? 'setIntPref' : 'setStringPref'}(${JSON.stringify(name)}, ${JSON.stringify(value)});`).join(''),
    target: { context: chrome.context }, awaitPromise: false,
  });
  if (result.type !== 'success') throw new Error(`preferences not set: ${JSON.stringify(result.exceptionDetails)}`);
  return browser;
}

// A profile that Firefox has once started on, made in folder by the first
// test file that needs it and copied for each browser: a new profile takes
// Firefox seconds of building caches that a copy already has.
async function startedProfile(folder) {
  const made = path.join(folder, 'firefox-profile');
  if (!fs.existsSync(made)) {
    fs.mkdirSync(folder, { recursive: true });
    const making = fs.mkdtempSync(path.join(folder, '.making-'));
    await (await puppeteer.launch({ browser: 'firefox', executablePath: executable, headless: true, userDataDir: making })).close();
    // Another test file may have made it meanwhile: either is whole.
    try { fs.renameSync(making, made); } catch (error) { if (!fs.existsSync(made)) throw error; }
    fs.rmSync(making, { recursive: true, force: true });
  }
  return made;
}

export async function launch(url) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'gj-firefox-'));
  const profile = startedProfile(path.dirname(fileURLToPath(url)));
  // Each { browser (a promise), key: its language and scheme, pages: how many are open }.
  const browsers = [];
  const start = async (locale, colorScheme) => {
    const downloads = fs.mkdtempSync(path.join(folder, 'downloads-'));
    const userDataDir = fs.mkdtempSync(path.join(folder, 'profile-'));
    fs.cpSync(await profile, userDataDir, { recursive: true });
    return puppeteer.launch({
      browser: 'firefox', executablePath: executable, headless: true, userDataDir, args: ['--remote-allow-system-access'],
      extraPrefsFirefox: {
        ...preferences(locale, colorScheme),
        'browser.download.dir': downloads, 'browser.download.folderList': 2, 'browser.download.useDownloadDir': true,
        'browser.download.alwaysOpenPanel': false, 'browser.download.start_downloads_in_tmp_dir': false,
        'dom.events.testing.asyncClipboard': true,
      },
    }).then((browser) => Object.assign(browser, { downloads }));
  };
  // A browser for a page of that language and scheme, counted as open there
  // until the page closes.
  const browserFor = (locale, colorScheme) => {
    const key = `${locale} ${colorScheme}`;
    let entry = browsers.find((b) => b.key === key) ?? browsers.find((b) => b.pages === 0);
    if (entry === undefined) browsers.push(entry = { browser: start(locale, colorScheme) });
    else if (entry.key !== key) entry.browser = entry.browser.then((browser) => setPreferences(browser, preferences(locale, colorScheme)));
    entry.key = key;
    entry.pages = (entry.pages ?? 0) + 1;
    return entry;
  };

  async function open(url, { context = null, initScript = null, locale = 'en-US', colorScheme = 'light',
                             viewport = { width: 1280, height: 800 } } = {}) {
    const owned = context === null;
    if (owned) {
      const entry = browserFor(locale, colorScheme);
      const browser = await entry.browser;
      context = Object.assign(await browser.createBrowserContext(), { entry, pages: 0, downloads: browser.downloads, viewport });
    } else {
      context.entry.pages++;
    }
    context.pages++;
    const page = await context.newPage();
    await page.setViewport(context.viewport);
    const tab = new Tab({
      run: (expression) => page.evaluate(expression),
      click: (selector) => page.click(selector),
      text: (text) => page.keyboard.type(text),
      async key({ modifiers, key }) {
        for (const modifier of modifiers) await page.keyboard.down(modifier);
        await page.keyboard.press(key);
        for (const modifier of modifiers.reverse()) await page.keyboard.up(modifier);
      },
    });
    page.on('console', (message) => {
      if (message.type() === 'error') tab.problems.push(`console error: ${message.text()}`);
    });
    page.on('pageerror', (error) => tab.problems.push(`script error: ${error.message}`));
    await page.evaluateOnNewDocument(() => {
      document.addEventListener('securitypolicyviolation', (event) =>
        console.error(`CSP violation: ${event.violatedDirective} ${event.blockedURI}`));
    });
    if (initScript) await page.evaluateOnNewDocument(initScript);
    Object.assign(tab, {
      native: page,
      owned,
      context: () => context,
      goto: (address) => page.goto(address),
      reload: () => page.reload(),
      screenshot: (options) => page.screenshot(options),
      pdf: (options) => page.pdf(options),
      close: async () => {
        await (owned ? context.close() : page.close());
        const closed = owned ? context.pages : 1;
        context.pages -= closed;
        context.entry.pages -= closed;
      },
    });
    await page.goto(url);
    return tab;
  }

  return {
    open,
    close: async () => {
      await Promise.all(browsers.map(async ({ browser }) => (await browser).close()));
      fs.rmSync(folder, { recursive: true, force: true });
    },
  };
}

// Through BiDi's locator by role and name: the element must be among those
// found from it (the locator computes the role and name of every element it
// passes, which over a whole document takes seconds).
export async function hasAccessible(tab, selector, { role, name }) {
  const quoted = (text) => `"${text.replace(/["\\]/g, '\\$&')}"`;
  const element = await tab.native.$(selector);
  const found = await element.$$(`::-p-aria(${name === null ? '' : `[name=${quoted(name)}]`}[role=${quoted(role)}])`);
  for (const each of found) if (await each.evaluate((e, s) => e === document.querySelector(s), selector)) return true;
  return false;
}
