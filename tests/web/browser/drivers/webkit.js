// WebKitGTK's MiniBrowser, the engine of Safari, through selenium-webdriver
// and WebKitWebDriver over classic WebDriver, on an X server of its own (Xvfb).
// A browser takes its language from the locale and its colours from a switch:
// a page opens in a private session of that language and scheme, with the
// language's locale built for it; a session (seconds to start) serves the next
// such page once its pages have closed, left as a new one would be: no
// storage, service worker or download of theirs is kept. Downloads land in
// the browser's home folder. A window is never narrower than some 450 px: a
// narrower page opens in a frame of that width, served with it over http from
// a local server, since WebKit lets no page in a frame from another origin
// (any other file://) take the focus.
import { spawn, execFile, execFileSync } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { Builder, By, Key } from 'selenium-webdriver';
import { Tab } from './tab.js';
import { serve } from './serve.js';

export const name = 'webkit';
export const executable = process.env.GJ_WEBKIT_DRIVER || '/usr/bin/WebKitWebDriver';
export const miniBrowser = process.env.GJ_MINIBROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
// What WebDriver does not let a test do here.
export const cannot = {
  clipboard: 'WebKit lets no script read the clipboard',
  print: 'WebKitWebDriver has no print command',
  printMedia: 'WebDriver emulates no media type',
  accessibilityTree: 'WebDriver gives an element\'s role and name but no tree',
  contentNames: 'WebKit gives a table cell the name of its label or title alone, not of its content',
};

const keys = { Enter: Key.ENTER, Tab: Key.TAB, Control: Key.CONTROL, Shift: Key.SHIFT, Home: Key.HOME, End: Key.END,
               PageUp: Key.PAGE_UP, PageDown: Key.PAGE_DOWN, ArrowUp: Key.ARROW_UP, ArrowDown: Key.ARROW_DOWN,
               ArrowLeft: Key.ARROW_LEFT, ArrowRight: Key.ARROW_RIGHT, Escape: Key.ESCAPE };
const narrowest = 450;

// Resolves once something listens on port, or rejects once child has ended.
async function listening(port, child) {
  for (let tries = 0; child.exitCode === null && tries < 200; tries++) {
    const open = await new Promise((resolve) => {
      const socket = net.connect(port, '127.0.0.1', () => { socket.end(); resolve(true); });
      socket.on('error', () => resolve(false));
    });
    if (open) return;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  throw new Error(`WebKitWebDriver did not listen on port ${port}`);
}

const freePort = () => new Promise((resolve) => {
  const server = net.createServer().listen(0, '127.0.0.1', () => {
    const { port } = server.address();
    server.close(() => resolve(port));
  });
});

// Launches WebKit for the page at url (the test file's), whose console on one
// load (which WebDriver does not show) the first page opened reports.
export async function launch(url) {
  const testPage = url;
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'gj-webkit-'));
  const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1400x1000x24', '-nolisten', 'tcp'],
                     { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
  const display = await new Promise((resolve, reject) => {
    xvfb.stdio[3].once('data', (data) => resolve(`:${String(data).trim()}`));
    xvfb.once('exit', (code) => reject(new Error(`Xvfb ended (${code})`)));
  });
  const locales = path.join(path.dirname(fileURLToPath(url)), 'webkit-locales');
  const environment = (locale) => {
    const name = localeBuilt(locales, locale);
    return { ...process.env, DISPLAY: display, LOCPATH: locales, LANG: name, LC_ALL: name, LANGUAGE: '' };
  };
  const sessions = [];
  let onLoad = null;
  let told = false;
  let server = null;

  // Opens a new session for a page: its own WebKitWebDriver and MiniBrowser.
  async function session(locale, colorScheme) {
    const port = await freePort();
    const downloads = fs.mkdtempSync(path.join(folder, 'home-'));
    const child = spawn(executable, [`--port=${port}`], { env: { ...environment(locale), HOME: downloads }, stdio: 'ignore' });
    await listening(port, child);
    const driver = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
      browserName: 'MiniBrowser',
      'webkitgtk:browserOptions': { binary: miniBrowser, args: ['--automation', '--private', ...(colorScheme === 'dark' ? ['--dark-mode'] : [])] },
    }).build();
    // A script or a load that never ends fails its test instead of holding it.
    await driver.manage().setTimeouts({ script: 30000, pageLoad: 60000 });
    const context = { driver, child, locale, colorScheme, downloads, pages: 1 };
    sessions.push(context);
    return context;
  }

  // Leaves context, whose pages have closed but the window given, as a new
  // session: each window's storage and service workers are forgotten, the
  // others are closed, the window given shows a blank page, and the
  // downloads are gone.
  async function vacate(context, kept) {
    const { driver, downloads } = context;
    for (const handle of await driver.getAllWindowHandles()) {
      await driver.switchTo().window(handle);
      await driver.executeAsyncScript(forget);
      if (handle !== kept) await driver.close();
    }
    await driver.switchTo().window(kept);
    await driver.get('about:blank');
    for (const name of fs.readdirSync(downloads)) {
      if (!name.startsWith('.')) fs.rmSync(path.join(downloads, name), { recursive: true, force: true });
    }
  }

  async function open(url, { context = null, locale = 'en-US', colorScheme = 'light', viewport = { width: 1280, height: 800 } } = {}) {
    const owned = context === null;
    // The console of a load is read beside the first session's start.
    onLoad ??= consoleOnLoad(testPage, display, fs.mkdtempSync(path.join(folder, 'console-')));
    if (owned) {
      const idle = sessions.find((s) => s.pages === 0 && s.locale === locale && s.colorScheme === colorScheme);
      if (idle) idle.pages++;
      context = idle ?? await session(locale, colorScheme);
      context.viewport = viewport;
    } else {
      context.pages++;
      // A window, not a tab: a tab behind another is never painted.
      await context.driver.switchTo().newWindow('window');
    }
    // The window's size less what it shows of the page: a rim, if any.
    const window = context.driver.manage().window();
    const wide = Math.max(context.viewport.width, narrowest);
    // A window just made or resized may not have its new size yet (its inner
    // size reads 0, nothing, or more than the window asked: that of the page
    // before, and the window made of it would be of a negative width): it is
    // read again until it has.
    await window.setRect({ width: wide, height: context.viewport.height });
    const sized = (size) => Array.isArray(size) && size.length === 2 && size.every((x) => x > 0) &&
      size[0] <= wide && size[1] <= context.viewport.height;
    let inner = null;
    for (let tries = 0; tries < 20 && !sized(inner); tries++) {
      if (tries > 0) await new Promise((resolve) => setTimeout(resolve, 50));
      inner = await context.driver.executeScript('return [innerWidth, innerHeight]');
    }
    const [width, height] = sized(inner) ? inner : [wide, context.viewport.height];
    await window.setRect({ width: Math.round(2 * wide - width), height: Math.round(2 * context.viewport.height - height) });
    const { driver } = context;
    const handle = await driver.getWindowHandle();
    const framed = context.viewport.width < narrowest;
    // The page itself, or a frame of the width asked on a page of its own.
    const visit = async (address) => {
      await driver.switchTo().window(handle);
      if (!framed) return driver.get(address);
      // The page's files under /page/, out of the scope of its service worker.
      server ??= serve(path.dirname(fileURLToPath(url)), { prefix: 'page/', routes: {
        'frame.html': (query) => '<!doctype html><body style="margin:0"><iframe style="border:0;' +
          `width:${Number(query.get('width'))}px;height:${Number(query.get('height'))}px"></iframe>`,
      } });
      const { url: origin } = await server;
      const { width, height } = context.viewport;
      await driver.get(`${origin}frame.html?width=${width}&height=${height}`);
      const page = address.startsWith('file:') ? `${origin}page/${address.slice(new URL('.', url).href.length)}` : address;
      await driver.executeScript(`const frame = document.querySelector('iframe');
        return new Promise((loaded) => { frame.onload = loaded; frame.src = arguments[0]; });`, page);
      await driver.switchTo().frame(0);
    };
    const actions = () => driver.actions({ async: true });
    const tab = new Tab({
      run: (expression) => driver.executeScript(`return ${expression}`),
      click: async (selector) => driver.findElement(By.css(selector)).click(),
      text: (text) => actions().sendKeys(text).perform(),
      async key({ modifiers, key }) {
        let sequence = actions();
        for (const modifier of modifiers) sequence = sequence.keyDown(keys[modifier]);
        sequence = sequence.sendKeys(keys[key] ?? key);
        for (const modifier of modifiers.reverse()) sequence = sequence.keyUp(keys[modifier]);
        await sequence.perform();
      },
    });
    // WebDriver shows no console: errors and policy violations are kept in the
    // page from the first prompt on, and the console of a load is checked by
    // consoleOnLoad.
    const listen = () => tab.evaluate(() => {
      window.gjProblems = [];
      addEventListener('error', (event) => window.gjProblems.push(`script error: ${event.message}`));
      addEventListener('unhandledrejection', (event) => window.gjProblems.push(`script error: ${event.reason}`));
      document.addEventListener('securitypolicyviolation', (event) =>
        window.gjProblems.push(`CSP violation: ${event.violatedDirective} ${event.blockedURI}`));
    });
    Object.assign(tab, {
      native: driver,
      owned,
      context: () => context,
      goto: async (address) => { await visit(address); await listen(); },
      reload: async () => {
        tab.problems.push(...await tab.evaluate(() => window.gjProblems ?? []));
        if (framed) await visit(await tab.evaluate(() => location.href));
        else await driver.navigate().refresh();
        await listen();
      },
      screenshot: async ({ path: file }) => fs.writeFileSync(file, await driver.takeScreenshot(), 'base64'),
      pdf: null,
      close: async () => {
        tab.problems.push(...await tab.evaluate(() => window.gjProblems ?? []));
        if (owned) {
          await vacate(context, handle);
          context.pages = 0;
        } else {
          context.pages--;
          await driver.switchTo().window(handle);
          await driver.close();
          const [first] = await driver.getAllWindowHandles();
          await driver.switchTo().window(first);
        }
      },
    });
    if (!told) {
      told = true;
      tab.problems.push(...await onLoad);
    }
    await tab.goto(url);
    return tab;
  }

  return {
    open,
    close: async () => {
      for (const { driver, child } of sessions) {
        await driver.quit().catch(() => {});
        child.kill();
      }
      xvfb.kill();
      if (server) await (await server).close();
      fs.rmSync(folder, { recursive: true, force: true });
    },
  };
}

// Forgets what the page in the current window keeps in the browser: its
// origin's storage, service workers and caches (a script for
// executeAsyncScript, which calls its last argument when done).
const forget = `const done = arguments[arguments.length - 1];
  const each = async (step) => { try { await step(); } catch (e) { /* none of that kind here */ } };
  Promise.all([
    each(() => localStorage.clear()),
    each(() => sessionStorage.clear()),
    each(async () => { for (const r of await navigator.serviceWorker.getRegistrations()) await r.unregister(); }),
    each(async () => { for (const name of await caches.keys()) await caches.delete(name); }),
  ]).then(() => done());`;

// The console messages of one load of url, which WebDriver does not show: the
// page opened in a MiniBrowser of its own, which writes its console with its
// other messages (on stderr), with a home folder of its own.
function consoleOnLoad(url, display, home) {
  const page = url.replace(/#.*/, '');
  return new Promise((resolve) => execFile(miniBrowser, ['--enable-write-console-messages-to-stdout=true', '--exit-after-load', page],
    { env: { ...process.env, DISPLAY: display, HOME: home }, timeout: 60000, maxBuffer: 1 << 26 },
    (error, stdout, stderr) => resolve(`${stdout}${stderr}`.split('\n').filter((line) => line.startsWith('CONSOLE'))
      .map((line) => `console: ${line}`))));
}

// The name of locale's files (ko_KR.UTF-8 for ko-KR) in folder, built there
// by the first test file that needs them: a locale takes seconds to build,
// and the test files of one build share it.
function localeBuilt(folder, locale) {
  const name = `${locale.replace('-', '_')}.UTF-8`;
  const built = path.join(folder, name);
  if (!fs.existsSync(built)) {
    fs.mkdirSync(folder, { recursive: true });
    const making = fs.mkdtempSync(path.join(folder, '.making-'));
    execFileSync('localedef', ['-i', locale.replace('-', '_'), '-f', 'UTF-8', path.join(making, name)]);
    // Another test file may have built it meanwhile: either is whole.
    try { fs.renameSync(path.join(making, name), built); } catch (error) { if (!fs.existsSync(built)) throw error; }
    fs.rmSync(making, { recursive: true, force: true });
  }
  return name;
}

export async function hasAccessible(tab, selector, { role, name }) {
  const element = await tab.native.findElement(By.css(selector));
  return (await element.getAriaRole()) === role && (name === null || (await element.getAccessibleName()) === name);
}
