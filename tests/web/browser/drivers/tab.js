// A tab of Firefox or WebKit with the part of playwright's Page that the
// scenarios use, so that one scenario drives every engine. An engine gives
// four things: run(expression) evaluated in the page (a promise's value
// awaited), click(selector) as the mouse clicks, key(chord) and text(string)
// as the keyboard types; everything else is made here from them.
import fs from 'node:fs';
import path from 'node:path';

// Keys by the names the scenarios use: "Enter", "Control+D", "Shift+Tab".
export const chord = (name) => {
  const keys = name.split('+');
  return { modifiers: keys.slice(0, -1), key: keys.at(-1).length === 1 ? keys.at(-1).toLowerCase() : keys.at(-1) };
};

// Scrolls page (playwright's, or a tab) to selector and waits two frames,
// for a click to land on it: the pane's stages that come into view on the way
// take their real sizes only once laid out.
export async function scrollTo(page, selector) {
  await page.$eval(selector, (e) => e.scrollIntoView({ block: 'nearest' }));
  await page.evaluate(() => new Promise((painted) => requestAnimationFrame(() => requestAnimationFrame(painted))));
}

const call = (fn, ...args) => `(${fn})(...${JSON.stringify(args)})`;

export class Tab {
  constructor(engine) {
    this.engine = engine;
    this.problems = [];
    // A text is typed in one command, which is as quick as playwright's insertText.
    this.keyboard = { type: (text) => engine.text(text), insertText: (text) => engine.text(text), press: (name) => engine.key(chord(name)) };
  }

  evaluate(fn, arg) { return this.engine.run(typeof fn === 'string' ? fn : call(fn, arg)); }

  $eval(selector, fn, arg) {
    return this.engine.run(call(`(s, a) => {
      const e = document.querySelector(s);
      if (!e) throw new Error('no element ' + s);
      return (${fn})(e, a);
    }`, selector, arg));
  }

  $$eval(selector, fn, arg) {
    return this.engine.run(call(`(s, a) => (${fn})([...document.querySelectorAll(s)], a)`, selector, arg));
  }

  async $(selector) { return (await this.evaluate((s) => document.querySelector(s) !== null, selector)) ? selector : null; }

  textContent(selector) { return this.$eval(selector, (e) => e.textContent); }
  getAttribute(selector, name) { return this.$eval(selector, (e, n) => e.getAttribute(n), name); }
  inputValue(selector) { return this.$eval(selector, (e) => e.value); }
  isDisabled(selector) { return this.$eval(selector, (e) => e.disabled); }
  isVisible(selector) {
    return this.evaluate((s) => { const e = document.querySelector(s); return e !== null && e.getClientRects().length > 0; }, selector);
  }
  focus(selector) { return this.$eval(selector, (e) => e.focus()); }
  // As playwright's: once the element is there and laid out (a part of the page may be loading it).
  async click(selector) {
    await this.waitForSelector(selector);
    await scrollTo(this, selector);
    return this.engine.click(selector);
  }

  // As a person chooses an option: the value, then input and change.
  selectOption(selector, value) {
    return this.$eval(selector, (e, v) => {
      e.value = v;
      for (const type of ['input', 'change']) e.dispatchEvent(new Event(type, { bubbles: true }));
    }, value);
  }

  // Polls fn in the page until it gives a true value, which it returns. The
  // page polls it every 10 ms for up to 10 s a call, within WebDriver's
  // script timeout, so that a wait costs one round trip, not one a poll.
  async waitForFunction(fn, arg, { timeout = 30000 } = {}) {
    const source = typeof fn === 'string' ? `() => (${fn})` : String(fn);
    const poll = `async (arg, slice) => {
      for (const end = performance.now() + slice; ; await new Promise((later) => setTimeout(later, 10))) {
        const value = await (${source})(arg);
        if (value || performance.now() > end) return value;
      }
    }`;
    for (const end = Date.now() + timeout; ;) {
      const value = await this.engine.run(call(poll, arg, Math.min(10000, Math.max(0, end - Date.now()))));
      if (value) return value;
      if (Date.now() >= end) throw new Error(`timed out waiting for ${source.slice(0, 200)}`);
    }
  }

  // As playwright waits for a selector: present and laid out.
  waitForSelector(selector, options) {
    return this.waitForFunction((s) => [...document.querySelectorAll(s)].some((e) => e.getClientRects().length > 0),
                                selector, options);
  }

  waitForTimeout(ms) { return new Promise((resolve) => setTimeout(resolve, ms)); }

  // What a click on selector saves: the bytes of the file that lands in the
  // context's download folder, once whole.
  async download(selector) {
    const folder = this.context().downloads;
    const partial = /\.(part|download)$/;
    const before = new Set(fs.readdirSync(folder));
    await this.click(selector);
    for (const end = Date.now() + 30000; Date.now() < end; await this.waitForTimeout(100)) {
      const names = fs.readdirSync(folder);
      const file = names.find((name) => !before.has(name) && !name.startsWith('.') && !partial.test(name));
      if (file && !names.some((name) => partial.test(name))) {
        const bytes = fs.readFileSync(path.join(folder, file));
        if (bytes.length > 0) return bytes;
      }
    }
    throw new Error(`no download in ${folder}`);
  }
}
