// What the tests of the page's dialogue and stages share: one chromium for the
// test file, launched before its tests and closed after them, and the page
// opened from file:// on one program, with the checks of harness.js.
'use strict';
const { before, after } = require('node:test');
const harness = require('./harness.js');

let browser;
before(async () => { browser = await harness.launch(); });
after(() => browser.close());

// Opens the page on one program, in a browser that prefers the given language.
// A context may be given to share its storage; close() then closes the page alone.
function open(program, { locale = 'en-US', width = 1280, context = null } = {}) {
  return harness.open(browser, `${harness.pageUrl}#${program}`,
                      context ? { context } : { locale, viewport: { width, height: 800 } });
}

module.exports = { build: harness.build, browser: () => browser, open, close: harness.close,
                   paneText: harness.paneText, typeAtPrompts: harness.typeAtPrompts };
