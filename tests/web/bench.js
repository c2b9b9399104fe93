// Benchmark, not a test: how fast the page answers an order-10 gjinverse run
// typed row by row in headless chromium, as the median of five runs. Times are
// taken in the page, to the moment the DOM shows the state (the next frame
// paints it): navigation start to the first prompt with the input enabled;
// each Enter's keydown to the next prompt; the last Enter to the finished
// transcript. Beside each Enter, the work of the frame that shows it: from the
// start of its animation frame to a task of the highest priority posted there,
// which runs once style, layout and paint are done, before the page's own tasks
// (the exact values, computed after paint); the Enter fits in one frame when
// DOM and frame together stay under 16 ms. Run: node tests/web/bench.js build-web
'use strict';
const path = require('node:path');

process.env.GJ_WEB_BUILD = path.resolve(process.argv[2] ?? 'build-web');
const { pageUrl, launch, open, close, goldenCase, typeAtPrompts } = require('./harness.js');
const runs = 5;
const name = 'gjinverse/growing-rows-10x10';

// Installed in the page before its scripts: notes the times in window.benchTimes.
function instrument() {
  const times = window.benchTimes = { first: null, enters: [], frames: [] };
  let pressed = null;
  addEventListener('keydown', (event) => { if (event.key === 'Enter') pressed = performance.now(); }, true);
  new MutationObserver(() => {
    const typed = document.getElementById('typed');
    const pane = document.getElementById('pane');
    if (!typed || !pane) return;
    const prompt = !typed.disabled && /INPUT [^:]*: $/.test(pane.textContent);
    const finished = pane.querySelector('.note') !== null;
    if (times.first === null && prompt) times.first = performance.now();
    if (pressed !== null && (prompt || finished)) {
      times.enters.push(performance.now() - pressed);
      pressed = null;
      requestAnimationFrame(() => {
        const start = performance.now();
        scheduler.postTask(() => times.frames.push(performance.now() - start), { priority: 'user-blocking' });
      });
    }
  }).observe(document, { subtree: true, childList: true, attributes: true, characterData: true });
}

const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];

(async () => {
  const browser = await launch();
  const { input, prompts, rows } = goldenCase(name);
  const samples = [];
  for (let run = 0; run < runs; run++) {
    const page = await open(browser, `${pageUrl}#gjinverse`, { initScript: instrument });
    await typeAtPrompts(page, input, rows, prompts);
    await page.waitForFunction((count) => window.benchTimes.frames.length === count, rows.length);
    samples.push(await page.evaluate(() => window.benchTimes));
    await close(page);
  }
  await browser.close();

  const table = [['first prompt', median(samples.map((times) => times.first)), null]];
  rows.forEach((row, k) => {
    const what = k === 0 ? 'order' : `row ${k}`;
    const until = k === rows.length - 1 ? 'finished transcript' : 'next prompt';
    table.push([`Enter ${k + 1} (${what}) to ${until}`, median(samples.map((times) => times.enters[k])),
                median(samples.map((times) => times.frames[k]))]);
  });
  console.log(`${name}, typed row by row, in ${runs} runs: median times in ms`);
  console.log(`${''.padEnd(42)}${'DOM'.padStart(9)}${'frame'.padStart(9)}`);
  for (const [what, ms, frame] of table)
    console.log(`${what.padEnd(42)}${ms.toFixed(1).padStart(9)}${frame === null ? '' : frame.toFixed(1).padStart(9)}`);
})();
