// Debian's firefox-esr, headless, through puppeteer-core over WebDriver BiDi.
// The language, the colour scheme, the download folder and the clipboard are
// preferences of the whole browser: one browser is launched for each language
// and scheme asked, and each page opens in a new tab of a browser context of
// its own (Firefox never gives the first tab the focus).
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';
import { Tab } from './tab.js';

export const name = 'firefox';
export const executable = process.env.GJ_FIREFOX || '/usr/bin/firefox-esr';
export const cannot = {
  accessibilityTree: 'WebDriver BiDi finds elements by role and name but shows no tree',
  printMedia: 'puppeteer emulates the print media type over the DevTools protocol alone',
};

export async function launch() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'gj-firefox-'));
  const browsers = new Map();
  const browserFor = (locale, colorScheme) => {
    const key = `${locale} ${colorScheme}`;
    if (!browsers.has(key)) {
      const downloads = fs.mkdtempSync(path.join(folder, 'downloads-'));
      browsers.set(key, puppeteer.launch({
        browser: 'firefox', executablePath: executable, headless: true,
        extraPrefsFirefox: {
          'intl.accept_languages': locale,
          'layout.css.prefers-color-scheme.content-override': colorScheme === 'dark' ? 0 : 1,
          'browser.download.dir': downloads, 'browser.download.folderList': 2, 'browser.download.useDownloadDir': true,
          'browser.download.alwaysOpenPanel': false, 'browser.download.start_downloads_in_tmp_dir': false,
          'dom.events.testing.asyncClipboard': true,
        },
      }).then((browser) => Object.assign(browser, { downloads })));
    }
    return browsers.get(key);
  };

  async function open(url, { context = null, initScript = null, locale = 'en-US', colorScheme = 'light',
                             viewport = { width: 1280, height: 800 } } = {}) {
    const owned = context === null;
    if (owned) {
      const browser = await browserFor(locale, colorScheme);
      context = await browser.createBrowserContext();
      context.downloads = browser.downloads;
      context.viewport = viewport;
    }
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
      close: () => (owned ? context.close() : page.close()),
    });
    await page.goto(url);
    return tab;
  }

  return {
    open,
    close: async () => {
      for (const browser of browsers.values()) await (await browser).close();
      fs.rmSync(folder, { recursive: true, force: true });
    },
  };
}

// Through BiDi's locator by role and name: the element must be among those found.
export async function hasAccessible(tab, selector, { role, name }) {
  const quoted = (text) => `"${text.replace(/["\\]/g, '\\$&')}"`;
  const found = await tab.native.$$(`::-p-aria(${name === null ? '' : `[name=${quoted(name)}]`}[role=${quoted(role)}])`);
  for (const element of found) if (await element.evaluate((e, s) => e === document.querySelector(s), selector)) return true;
  return false;
}
