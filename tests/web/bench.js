// Benchmark, not a test: how fast the page answers, in headless chromium, as the
// median of five runs.
// - The first prompt: navigation start to the first prompt with the input
//   enabled, against a blank page that shows a prompt and an input field,
//   loaded in the same browser in the same run and seen by the same observer,
//   a run's figure the median of nine loads of each; and the range of the five
//   runs' ratios, as the goal is for each run. Then the blank page against
//   itself (nine loads more): the range that the machine alone gives a run's
//   ratio. The same for the first paint (First Contentful Paint), when the
//   prompt is seen.
// - An order-10 gjinverse run typed row by row: each Enter's keydown to the next
//   prompt in the DOM; the work of the frame that shows it, from the start of its
//   animation frame to a task of the highest priority posted there, which runs
//   once style, layout and paint are done; and the longest task that starts in
//   the second after the Enter (the Long Tasks API reports only tasks of 50 ms
//   or more: "-" is none). An Enter fits in one frame when DOM and frame
//   together stay under 16 ms. Then the slowest key event of the whole run, as
//   the browser's Event Timing API reports it: from the key's press to the next
//   paint, what Interaction to Next Paint counts; and that of the last Enter
//   alone, which draws some 30 printouts. On a shared machine the run's slowest
//   is most often a typed digit whose frame waited for the machine, not for
//   the page (a trace shows its main thread busy under 1 ms).
// - Opening a link: the longest task from the start until it is shown whole
//   and half a second after, median, worst and best of five runs: an order-10 run
//   (the same input, and one of 17-digit decimals), an example, a student's
//   assignment (a class of 40, order 3) and the teacher's link of that class
//   with the 40 codes of the grading below kept in the gradebook.
// - The exact values of two hard runs, typed on one line: the last Enter to the
//   exact view, and the longest task in between.
// - Practice on an order-4 gjinverse exercise, from its first stage, with one
//   row's entries asked: each Enter in an answer field to the first change of
//   the DOM (the field marked with its verdict), and the work of the frame that
//   shows it; apart for an answer that goes on to the next field and one that
//   ends a stage, whose next stage is drawn after that frame: for those, the
//   Enter to the focus in the next stage too ("next").
// - The teacher's table of a class of 40 (an order-3 gjinverse assignment, a
//   matrix per student, every code worked through the page's own session):
//   the click on "Read the codes" to the table in the DOM, and the longest
//   task in between.
// - Inside an LMS whose calls take 200 ms, as a distant LMS's synchronous
//   call does (the stand-in LMS of the browser tests, slowed): an order-2
//   inverse assignment's package in each SCORM version, each stage filled in
//   by Show, then handed in; the calls and the longest task from each click
//   until the calls stop, the most of a stage's end, the last one's and the
//   hand-in's.
// - The page's scripts ("parts"): the first script's size, minified and
//   gzipped, and each part's; and the time from asking for a part (the mode's
//   button, an assignment's form opened) to the part loaded, from the marks
//   that the page's loader leaves ("-": none, before the page had parts).
// - A school's year (school): 10,000 codes of 1,000 students on one
//   assignment, every other one wrapped as a mail wraps it: the click to the
//   first rows and to the whole table, a rule changed, the page reloaded; a
//   1 MB chat export holding 40 codes; a 50 MB gradebook file opened; each
//   with its longest task (three runs), and that task's CPU time in a trace
//   of the click, the rule and the reload.
// - The same order-10 run typed, the two links and the hard runs' exact
//   values, and the other links above, traced: the longest task's CPU time on
//   the page's thread, script and rendering apart ("cpu"), which a loaded
//   machine changes less than the tasks' wall times ("cpu-exact" with the
//   exact values, "cpu" without).
// - Your own way (own): an operation, and a row that the learner writes, on a
//   10 × 20 matrix of 40-digit entries: the Enter to the DOM drawn, and its frame.
// - Problem sets (sets): a set of 12 problems for a class of 40, and 10,000
//   codes of a set of three: the click on "Read the codes" to the whole table,
//   and the longest task, wall and traced CPU.
// - Prints (print), traced: the click on a print button to the browser's
//   print (asked of a stand-in), and the longest task's CPU time, script and
//   rendering apart: a class set of 30 in practice; the worksheets and keys
//   of a set of 12 problems for a class of 40; the keys of an own-way
//   assignment of the teacher's 10 × 20 matrix of 40-digit entries.
// Run: node tests/web/bench.js build-web [first] [typed] [links] [exact] [practice] [own] [grading] [lms] [parts] [school] [sets] [print] [cpu | cpu-exact] (all by default but school, sets and print)
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';

process.env.GJ_WEB_BUILD = path.resolve(process.argv[2] ?? 'build-web');
const { pageUrl, launch, open, close, serve, goldenCase, typeAtPrompts } = await import('./browser/harness.js');
// The programs loaded and the first prompt shown.
const loaded = () => !document.getElementById('typed').disabled && document.body.dataset.programs === 'loaded';
const runs = 5;
const name = 'gjinverse/growing-rows-10x10';
const orderPrompt = ['INPUT ORDER OF SQUARE MATRIX: '];

// Installed in the page before its scripts: notes the times in window.benchTimes.
function instrument() {
  const times = window.benchTimes = { first: null, enters: [], frames: [], pressed: [], lastEnter: 0, tasks: [], keys: [], exact: null };
  let pressed = null;
  new PerformanceObserver((list) => {
    for (const task of list.getEntries()) times.tasks.push([task.startTime, task.duration]);
  }).observe({ type: 'longtask', buffered: true });
  new PerformanceObserver((list) => {
    for (const event of list.getEntries()) if (/^key/.test(event.name)) times.keys.push([event.startTime, event.duration]);
  }).observe({ type: 'event', durationThreshold: 16, buffered: true });
  let before = 0;  // the pane's text at the Enter: the next prompt comes after it
  addEventListener('keydown', (event) => {
    if (event.key !== 'Enter') return;
    times.pressed.push(pressed = performance.now());
    times.lastEnter = event.timeStamp;  // the Event Timing start of its key events
    before = document.getElementById('pane').textContent.length;
  }, true);
  new MutationObserver(() => {
    const typed = document.getElementById('typed');
    const pane = document.getElementById('pane');
    const stages = document.getElementById('stages');
    if (!typed || !pane) return;
    const prompt = !typed.disabled && /INPUT [^:]*: $/.test(pane.textContent) && (pressed === null || pane.textContent.length > before);
    const finished = pane.querySelector('.note') !== null;
    if (times.first === null && prompt) times.first = performance.now();
    if (times.exact === null && stages && stages.dataset.exact === 'done') times.exact = performance.now();
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

// Installed in the page before its scripts: notes each Enter in an answer
// field of practice, the DOM's first change after it and the frame that shows
// it, in window.benchPractice.
function instrumentPractice() {
  const times = window.benchPractice = { dom: [], frames: [], next: [] };
  let pressed = null;
  let last = null;
  addEventListener('keydown', (event) => {
    if (event.key === 'Enter' && event.target.matches('input.answer')) pressed = last = performance.now();
  }, true);
  addEventListener('focusin', (event) => {
    if (last !== null && event.target.matches('input.answer')) times.next.push(performance.now() - last);
  });
  new MutationObserver(() => {
    if (pressed === null) return;
    times.dom.push(performance.now() - pressed);
    pressed = null;
    requestAnimationFrame(() => {
      const start = performance.now();
      scheduler.postTask(() => times.frames.push(performance.now() - start), { priority: 'user-blocking' });
    });
  }).observe(document, { subtree: true, childList: true, attributes: true, characterData: true });
}

// A page with nothing but a prompt and an input field, for the first prompt's floor.
function blankPage() {
  const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'gj-bench-')), 'blank.html');
  fs.writeFileSync(file, '<!doctype html><meta charset="utf-8"><title>blank</title>' +
    '<pre id="pane">INPUT ORDER OF SQUARE MATRIX: </pre><input id="typed">');
  return 'file://' + file;
}

// The longest task starting in [from, to), or 0 when no task was long.
const longest = (tasks, from, to) => Math.max(0, ...tasks.filter(([start]) => start >= from && start < to).map(([, d]) => d));
// The longest key event (Event Timing) that starts at or after from.
const slowestKey = (times, from) => Math.max(0, ...times.keys.filter(([start]) => start >= from).map(([, d]) => d));
const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];
const ms = (value) => (value === 0 ? '-' : value.toFixed(1)).padStart(9);

// Each run opens the page and the blank page nine times each, and the blank
// page nine times more, whose ratio to the first is what the machine alone
// makes of a run's ratio: the three in turn, each of them first in a third of
// the turns. One load's time varies by a third on a shared machine, the blank
// page's against itself alike: a run's figure is the median of its nine. Each
// load notes the first prompt as the observer sees it in the DOM, and the
// first paint of the page (First Contentful Paint), when it is seen.
const loadsPerRun = 9;
async function firstPrompts(browser) {
  const blank = blankPage();
  const painted = () => new Promise((done) => new PerformanceObserver((list) => {
    const paint = list.getEntriesByName('first-contentful-paint')[0];
    if (paint) done([window.benchTimes.first, paint.startTime]);
  }).observe({ type: 'paint', buffered: true }));
  const firstOf = async (url, ready) => {
    const p = await open(browser, url, { initScript: instrument, ready });
    const times = await p.evaluate(painted);
    await close(p);
    return times;
  };
  const blankFirst = () => firstOf(blank, () => window.benchTimes.first !== null);
  const opens = [() => firstOf(`${pageUrl}#gjinverse`, loaded), blankFirst, blankFirst];
  // Per run, the medians of [page, blank, blank again], the first prompts' and the paints'.
  const medians = [[], []];
  for (let run = 0; run < runs; run++) {
    const loads = [[], [], []];
    for (let turn = 0; turn < loadsPerRun; turn++)
      for (const k of [0, 1, 2].map((i) => (turn + i) % 3)) loads[k].push(await opens[k]());
    for (const k of [0, 1]) medians[k].push(loads.map((times) => median(times.map((t) => t[k]))));
  }
  return medians;
}

async function typedRun(browser) {
  const { input, prompts, rows } = goldenCase(name);
  const samples = [];
  for (let run = 0; run < runs; run++) {
    const page = await open(browser, `${pageUrl}#gjinverse`, { initScript: instrument, ready: loaded });
    await typeAtPrompts(page, input, rows, prompts);
    await page.waitForFunction((count) => window.benchTimes.frames.length === count, rows.length);
    await page.waitForTimeout(1000);
    samples.push(await page.evaluate(() => window.benchTimes));
    await close(page);
  }
  return [...rows.map((row, k) => [
    `Enter ${k + 1} (${k === 0 ? 'order' : `row ${k}`}) to ${k === rows.length - 1 ? 'finished transcript' : 'next prompt'}`,
    median(samples.map((times) => times.enters[k])), median(samples.map((times) => times.frames[k])),
    median(samples.map((times) => longest(times.tasks, times.pressed[k], times.pressed[k] + 1000)))]),
  ['the slowest key event of the run, press to next paint', median(samples.map((times) => slowestKey(times, 0))), null, 0],
  ['  ... of the last Enter', median(samples.map((times) => slowestKey(times, times.lastEnter))), null, 0]];
}

// Opens each link, and notes the longest task until it is shown whole: [what, median, worst].
async function linkRuns(browser) {
  const { examples } = await import('../../web/logic/run/share.js');
  const { teacher, student, book } = await classOf40();
  const input = (typed) => `#gjinverse&input=${encodeURIComponent(typed)}`;
  const keeping = `localStorage.setItem('gauss-jordan.gradebook', ${JSON.stringify(JSON.stringify(book))});(${instrument})()`;
  const table = [];
  for (const [what, hash, ready, initScript = instrument] of [['link to ' + name, input(goldenCase(name).input), '#pane .note'],
    ['link to ' + hardCases[0][0], input(hardCases[0][1] + '\n'), '#pane .note'], [`an example (${examples[0].id})`, examples[0].hash, '#pane .note'],
    ['a student\'s assignment, class of 40', student, '.practice-stage'], ['the teacher\'s link, 40 codes kept', teacher, '#teacher-table table', keeping]]) {
    const samples = [];
    for (let run = 0; run < runs; run++) {
      const page = await open(browser, pageUrl + hash, { initScript, ready });
      await page.waitForTimeout(500);
      samples.push(await page.evaluate(() => Math.max(0, ...window.benchTimes.tasks.map(([, d]) => d))));
      await close(page);
    }
    table.push([`open ${what}: longest task`, median(samples), Math.max(...samples), Math.min(...samples)]);
  }
  return table;
}

// The tasks of the page's main thread while fn runs, from Chromium's trace:
// [wall ms, CPU ms, whether it ran the page's script]. On a shared machine a task's wall
// time holds the time its thread waited for a core; its CPU time does not.
async function tracedTasks(browser, page, fn) {
  await browser.startTracing(page, { categories: ['devtools.timeline', 'disabled-by-default-devtools.timeline'] });
  await fn();
  const trace = JSON.parse((await browser.stopTracing()).toString());
  const events = trace.traceEvents ?? trace;
  const threads = events.filter((e) => e.name === 'thread_name' && e.args.name === 'CrRendererMain');
  // The page's own scripts, not those that playwright runs in it to wait and look.
  const scripted = (e) => ['FunctionCall', 'EvaluateScript'].includes(e.name) && /\/(page|programs|parts\/\w+)\.js$/.test(e.args?.data?.url ?? '');
  const main = threads.find((t) => events.some((e) => e.pid === t.pid && e.tid === t.tid && scripted(e)));
  const mine = events.filter((e) => e.pid === main.pid && e.tid === main.tid && e.ph === 'X');
  return mine.filter((e) => e.name === 'RunTask' || e.name === 'ThreadControllerImpl::RunTask').map((task) =>
    [task.dur / 1000, (task.tdur ?? task.dur) / 1000, mine.some((e) => scripted(e) && e.ts >= task.ts && e.ts < task.ts + task.dur)]);
}

// The longest task's CPU time (script, and rendering apart) while an order-10
// run is typed row by row, while each link to an order-10 run opens, and while
// the exact values of the two hard runs are worked out.
async function cpuRuns(browser, exactToo) {
  const { input, prompts, rows } = goldenCase(name);
  const { examples } = await import('../../web/logic/run/share.js');
  const { teacher, student, book } = await classOf40();
  const cases = [['order 10, typed row by row', `${pageUrl}#gjinverse`, (page) => typeAtPrompts(page, input, rows, prompts)],
                 ...[['order 10, link', input], ['order 10, link, 17-digit decimals', hardCases[0][1] + '\n']].map(([what, typed]) =>
                   [what, `${pageUrl}#gjinverse&input=${encodeURIComponent(typed)}`, null]),
                 [`link, an example (${examples[0].id})`, pageUrl + examples[0].hash, null],
                 ['link, a student\'s assignment', pageUrl + student, null, '.practice-stage'],
                 ['link, the teacher\'s, 40 codes kept', pageUrl + teacher, null, '#teacher-table table',
                  `localStorage.setItem('gauss-jordan.gradebook', ${JSON.stringify(JSON.stringify(book))})`],
                 ...hardCases.map(([what, typed]) => [`${what}, to its exact values`, `${pageUrl}#gjinverse`,
                   (page) => typeAtPrompts(page, '\n', [typed], orderPrompt)])].slice(0, exactToo ? undefined : 6);
  const table = [];
  for (const [what, url, type, ready = null, init = null] of cases) {
    const samples = [];
    for (let run = 0; run < runs; run++) {
      const context = await browser.newContext();
      const page = await context.newPage();
      if (init) await page.addInitScript(init);
      if (type) await page.goto(url), await page.waitForSelector('body[data-programs="loaded"] #typed:not([disabled])');
      const tasks = await tracedTasks(browser, page, async () => {
        if (type) await type(page);
        else await page.goto(url);
        if (ready) await page.waitForSelector(ready);
        else await page.waitForSelector('#pane .note');
        if (!ready) await page.waitForSelector('#stages[data-exact="done"]', { state: 'attached', timeout: 300000 });
        await page.waitForTimeout(1000);
      });
      samples.push([Math.max(0, ...tasks.filter((t) => t[2]).map((t) => t[1])), Math.max(0, ...tasks.filter((t) => !t[2]).map((t) => t[1]))]);
      await context.close();
    }
    table.push([`${what}: longest task's CPU, script`, median(samples.map((s) => s[0])), null, 0],
               [`  ... rendering`, median(samples.map((s) => s[1])), null, 0]);
  }
  return table;
}

// Entries of one hard kind, from a seeded generator, so that every run is the same.
function hardInput(order, entry) {
  let seed = 12345;
  const random = () => (seed = (seed * 1103515245 + 12345) % 2147483648) / 2147483648;
  return `${order} ` + Array.from({ length: order * order }, () => entry(random)).join(' ');
}
const hardCases = [
  ['order 10, 17-digit decimals', hardInput(10, (random) => (random() - 0.5).toFixed(17))],
  ['order 8, -2e200 7.5e-150 1e-307', hardInput(8, (random) => ['-2e200', '7.5e-150', '1e-307', '3', '-0.7'][Math.floor(random() * 5)])],
];

async function exactRuns(browser) {
  const table = [];
  for (const [what, input] of hardCases) {
    const samples = [];
    for (let run = 0; run < runs; run++) {
      const page = await open(browser, `${pageUrl}#gjinverse`, { initScript: instrument, ready: loaded });
      await typeAtPrompts(page, '\n', [input], orderPrompt);
      await page.waitForSelector('#stages[data-exact="done"]', { timeout: 300000 });
      const times = await page.evaluate(() => window.benchTimes);
      samples.push([times.exact - times.pressed[0], longest(times.tasks, times.pressed[0] + 100, times.exact + 1)]);
      await close(page);
    }
    table.push([`${what}: Enter to exact values`, median(samples.map((s) => s[0])), null, median(samples.map((s) => s[1]))]);
  }
  return table;
}

// Answers the first stages of an order-4 exercise at the keyboard, each with
// the program's own answer; an answer field in focus, a row said to be left
// alone with its button.
async function practiceRuns(browser) {
  const samples = { next: [], stage: [] };
  for (let run = 0; run < runs; run++) {
    const page = await open(browser, `${pageUrl}#gjinverse&practice&seed=4&order=4&options=nice`, { initScript: instrumentPractice, ready: '.practice-stage' });
    await page.selectOption('#practice-from', '1');
    for (let stage = 1; stage <= 4;) {
      await page.waitForFunction(() => document.activeElement.matches('input.answer'));
      const [k, answer] = await page.evaluate(() => {
        const { k, key } = document.activeElement.dataset;
        const question = GJ.check.questions(GJ.page.model, Number(k), 'row').find((q) => q.key === key);
        return [Number(k), GJ.check.answerOf(question)];
      });
      if (answer === null) {
        await page.click(`.alone[data-k="${k}"][data-key="${await page.evaluate(() => document.activeElement.dataset.key)}"]`);
        continue;
      }
      const before = await page.evaluate(() => window.benchPractice.frames.length);
      await page.keyboard.type(answer);
      await page.keyboard.press('Enter');
      await page.waitForFunction((count) => window.benchPractice.frames.length > count, before);
      await page.waitForFunction((k) => !document.activeElement.matches(`input.answer[data-k="${k}"][readonly]`), k);
      const [dom, frame, next, at] = await page.evaluate(() => [window.benchPractice.dom.at(-1), window.benchPractice.frames.at(-1),
                                                                window.benchPractice.next.at(-1), Number(document.activeElement.dataset.k)]);
      samples[at === k ? 'next' : 'stage'].push([dom, frame, next]);
      if (at !== k) stage++;
    }
    await close(page);
  }
  const row = (what, list, column) => [what + ` (${list.length})`, median(list.map((s) => s[column])), column === 0 ? median(list.map((s) => s[1])) : null, 0];
  return [row('practice, order 4: Enter to its verdict, next field', samples.next, 0),
          row('practice, order 4: Enter to its verdict, last of a stage', samples.stage, 0),
          row('  ... and to the next stage\'s first field', samples.stage, 2)];
}

// A class of 40 (an order-3 gjinverse assignment) and the code of each
// student's work: its teacher's link, a student's, and the gradebook that
// keeps the codes.
async function classOf40() {
  const { programs } = await import('./node/programs.js');
  const { code } = await import('./node/classwork.js');
  const { assignment, teacherFragment, studentFragment, id, secretOf } = await import('../../web/logic/assignments/assignment.js');
  const { entryOf } = await import('../../web/logic/assignments/gradebook.js');
  await programs();
  const names = Array.from({ length: 40 }, (_, i) => `Student ${i + 1}`);
  const a = assignment({ seed: 2024, order: 3, names, secret: secretOf(Array(16).fill(1)) });
  const plans = ['first', 'tries', 'hint', 'shown'];
  const codes = names.map((n, i) => code(a, n, Array(9).fill(plans[i % plans.length]), 20 + i)).join('\n');
  return { codes, teacher: teacherFragment(a), student: studentFragment(a, names[7]), book: { [id(a)]: { ...entryOf(a), codes } } };
}

// Reads 40 codes on the teacher's page: the click to the table, and the longest task.
async function gradingRuns(browser) {
  const { codes: pasted, teacher } = await classOf40();
  const samples = [];
  for (let run = 0; run < runs; run++) {
    const page = await open(browser, pageUrl + teacher, { initScript: instrument, ready: '#teacher-facts dd' });
    const [took, task] = await page.evaluate((text) => new Promise((done) => {
      document.getElementById('teacher-codes').value = text;
      const box = document.getElementById('teacher-table');
      const start = performance.now();
      new MutationObserver((changes, observer) => {
        if (!box.querySelector('table')) return;
        observer.disconnect();
        const end = performance.now();
        setTimeout(() => done([end - start, Math.max(0, ...window.benchTimes.tasks.filter(([at]) => at >= start - 1 && at < end).map(([, d]) => d))]), 100);
      }).observe(box, { childList: true });
      document.querySelector('#teacher-form button').click();
    }), pasted);
    samples.push([took, task]);
    await close(page);
  }
  return [['40 codes: Read the codes to the table', median(samples.map((s) => s[0])), null, median(samples.map((s) => s[1]))]];
}

// "Your own way" on a 10 × 20 matrix of 40-digit integers, opened by its link:
// an operation typed and applied by the page (then its inverse, so that the
// entries stay as long), and one named with the learner's arithmetic whose
// row is written right and checked; the Enter to the DOM drawn (update and
// drawing, which run in the submit's handler), and the work of the frame that
// shows it, as practice's are measured.
async function ownRuns(browser) {
  const digits = (k) => String(10n ** 39n + BigInt(k) * 982451653n ** 4n % 9n * 10n ** 38n + BigInt(k) * 7919n);
  const text = `10 20\n${Array.from({ length: 10 }, (_, r) => Array.from({ length: 20 }, (_, c) => digits(r * 20 + c)).join(' ')).join('\n')}\n`;
  const page = await open(browser, `${pageUrl}#ownway&kind=matrix&m=${encodeURIComponent(text)}&ops=&at=0`, { initScript: instrument, ready: '#own-matrix table' });
  // Submits form (after fill(), in the page) and gives [the DOM drawn, the frame after], in ms.
  const timed = (form, fill) => page.evaluate(([form, fill]) => new Promise((done) => {
    new Function(fill)();
    const start = performance.now();
    document.getElementById(form).requestSubmit();
    const dom = performance.now() - start;
    requestAnimationFrame(() => {
      const frame = performance.now();
      scheduler.postTask(() => done([dom, performance.now() - frame]), { priority: 'user-blocking' });
    });
  }), [form, fill]);
  const op = (text) => `document.getElementById('own-op').value = ${JSON.stringify(text)};`;
  // The learner's row 2 after R2 → R2 − 3/7 R1, worked out exactly from the matrix shown.
  const row = `const { rows } = GJ.page.state.own.matrix;
    rows[1].forEach((b, c) => { const a = rows[0][c];
      document.getElementById('own-cell-' + c).value = (b.n * a.d * 7n - 3n * a.n * b.d) + '/' + (b.d * a.d * 7n); });`;
  const samples = { page: [], learner: [] };
  for (let run = 0; run < runs; run++) {
    await page.evaluate(() => { document.querySelector('input[name="own-by"][value="page"]').click(); });
    samples.page.push(await timed('own-op-form', op('R2 -> R2 - 3/7 R1')), await timed('own-op-form', op('R2 -> R2 + 3/7 R1')));
    await page.evaluate(() => { document.querySelector('input[name="own-by"][value="learner"]').click(); });
    await timed('own-op-form', op('R2 -> R2 - 3/7 R1'));
    samples.learner.push(await timed('own-row-form', row));
    await page.evaluate(() => { document.getElementById('own-undo').click(); });
  }
  const tasks = await page.evaluate(() => window.benchTimes.tasks);
  await close(page);
  const rowOf = (what, list) => [what, median(list.map((s) => s[0])), median(list.map((s) => s[1])), longest(tasks, 0, Infinity)];
  return [rowOf('own way, 10 × 20 of 40 digits: an operation applied', samples.page),
          rowOf('  ... a row written by the learner, checked and applied', samples.learner)];
}

// The scripts' sizes in KB, minified and gzipped; then the time from asking
// for a part to its loaded, median and worst: [what, median, worst] each.
async function partRuns(browser) {
  const scripts = ['page.js', ...fs.readdirSync(path.join(process.env.GJ_WEB_BUILD, 'parts')).sort().map((f) => `parts/${f}`)];
  const table = scripts.map((file) => fs.readFileSync(path.join(process.env.GJ_WEB_BUILD, file)))
    .map((bytes, k) => [`${scripts[k]}, KB minified and gzipped`, bytes.length / 1024, zlib.gzipSync(bytes, { level: 9 }).length / 1024]);
  for (const [part, hash, ...clicks] of [['practice', '#gjinverse', 'button[data-mode="practice"]'],
                                         ['teacher', '#gjinverse&practice', 'button[data-mode="practice"]', '#assignment > summary'],
                                         ['own', '#gjinverse', 'button[data-mode="own"]']]) {
    const samples = [];
    for (let run = 0; run < runs; run++) {
      const page = await open(browser, pageUrl + hash, { ready: loaded });
      for (const selector of clicks) await page.click(selector);
      samples.push(await page.waitForFunction((name) => {
        const [asked, done] = [`part ${name} asked`, `part ${name} loaded`].map((mark) => performance.getEntriesByName(mark)[0]);
        return asked && done && done.startTime - asked.startTime;
      }, part, { timeout: 5000 }).then((handle) => handle.jsonValue(), () => 0));
      await close(page);
    }
    table.push([`the ${part} part, asked to loaded`, median(samples), Math.max(...samples)]);
  }
  return table;
}

// The teacher's table while what act() does is worked out, from then (from
// the page's start when act is null): [ms to its first rows, ms to all of
// them (rows rows of a table drawn anew, the box no longer busy: the page of
// 50 rows that the page draws of a year), longest task].
const tableTimes = (page, rows, act) => page.evaluate(([rows, act]) => new Promise((done) => {
  const [box, start] = [document.getElementById('teacher-table'), act === null ? 0 : performance.now()];
  const [before, count] = [box.querySelector('table'), () => (box.querySelector('table') === before ? 0 : box.querySelectorAll('tbody tr').length)];
  let first = null;
  const look = () => {
    first ??= count() > 0 ? performance.now() - start : null;
    if (count() < rows || box.querySelector('[aria-busy="true"]')) return setTimeout(look, 5);
    const end = performance.now();
    setTimeout(() => done([first, end - start, Math.max(0, ...window.benchTimes.tasks.filter(([at]) => at >= start - 1 && at < end).map(([, d]) => d))]), 100);
  };
  if (act !== null) new Function(act)();
  setTimeout(look, 0);
}), [rows, act]);

// tableTimes traced (after before(), a reload), its figures, then the longest task's CPU time.
const tracedTable = async (browser, page, rows, act, before = async () => {}) => {
  let times;
  const tasks = await tracedTasks(browser, page, async () => { times = await before().then(() => tableTimes(page, rows, act)); });
  return [...times, Math.max(0, ...tasks.map((task) => task[1]))];
};

// A school's year of codes, a chat export and a gradebook file too large (see
// the top); the paste itself (a browser lays out megabytes in a box for a
// while) comes before the click timed.
async function schoolRuns(browser) {
  const [{ programs }, { schoolYear, code }, { assignment, teacherFragment, secretOf }] = await Promise.all(['./node/programs.js', './node/classwork.js',
    '../../web/logic/assignments/assignment.js'].map((file) => import(file)));
  await programs();
  const secret = secretOf(Array(16).fill(1));
  const [a, b] = [assignment({ seed: 2024, order: 3, secret }), assignment({ seed: 2025, order: 3, secret, names: Array.from({ length: 40 }, (_, i) => `Student ${i + 1}`) })];
  const pasted = schoolYear(a, 1000, 10).split('\n').map((c, i) => (i % 2 ? c : c.match(/.{1,76}/g).join('\n'))).join('\n');
  const chat = b.names.map((n, i) => `[${n}] ${'그럼 내일 봬요, 숙제 다 했어요. '.repeat(560)}\n${code(b, n, Array(9).fill('first'), 20 + i)}`).join('\n');
  const big = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'gj-bench-')), 'gradebook.json');
  fs.writeFileSync(big, JSON.stringify({ format: 'gauss-jordan gradebook', version: 1, assignments: [{ link: teacherFragment(a), codes: pasted.repeat(22) }] }));
  const opened = (x, text) => open(browser, pageUrl + teacherFragment(x), { initScript: instrument, ready: '#teacher-facts dd' }).then((page) =>
    page.evaluate((text) => { document.getElementById('teacher-codes').value = text; }, text).then(() => page.waitForTimeout(500)).then(() => page));
  const [read, rule] = [`document.querySelector('#teacher-form button').click();`,
    `const r = document.getElementById('teacher-rule'); r.value = 'first'; r.dispatchEvent(new Event('change', { bubbles: true }));`];
  const samples = [];
  for (let run = 0; run < 3; run++) {
    const page = await opened(a, pasted);
    const times = [await tracedTable(browser, page, 50, read), await tracedTable(browser, page, 50, rule)];
    times.push(await tracedTable(browser, page, 50, null, () => page.reload().then(() => page.waitForSelector('#teacher-facts dd'))));
    await close(page);
    const chatPage = await opened(b, chat);
    times.push(await tableTimes(chatPage, 40, read));
    const [start, said] = await chatPage.evaluate(() => [performance.now(), document.getElementById('status').textContent]);
    await chatPage.setInputFiles('#teacher .book-file', big);
    await chatPage.waitForFunction((said) => document.getElementById('status').textContent !== said, said, { timeout: 600000 });
    times.push(await chatPage.evaluate((start) => [null, performance.now() - start, Math.max(0, ...window.benchTimes.tasks.filter(([at]) => at >= start - 1).map(([, d]) => d))], start));
    await close(chatPage);
    samples.push(times);
  }
  const mid = (i, j) => samples.map((s) => s[i][j]).sort((x, y) => x - y)[1];
  return [['10,000 codes: Read the codes to the first rows', 0, 0], ['  ... to the whole table', 0, 1], ['  ... then graded by \'first\'', 1, 1],
          ['  ... reloaded, the page\'s start to the whole table', 2, 1], ['1 MB chat export, 40 codes: to the table', 3, 1],
          ['50 MB gradebook file opened: to a word', 4, 1]].map(([what, i, j]) => [what, mid(i, j), null, mid(i, 2)])
    .concat(['the click', 'the rule', 'the reload'].map((what, i) => [`  ... ${what}: longest task's CPU, traced`, mid(i, 3), null, 0]));
}

// The problems of a set of 12, in turn: three of this method's stages, drawn per student, and one of the own way.
const kinds = [{ program: 'gjinverse', order: 3 }, { program: 'gjsolve', order: 3 }, { program: 'gjinverse', order: 4 }, { program: 'gjsolve', order: 2, mode: 'own' }];

// Problem sets (sets): a set of 12 problems (nine of this method's stages,
// drawn per student, and three of the students' own way) for a class of 40,
// each hand-in one code or a code a problem; and 10,000 codes of a set of
// three (1,000 students, 10 hand-ins each): the click on "Read the codes" to
// the whole table, and the longest task (three runs; the class's runs made
// first, as the results view makes them once it is open).
async function setRuns(browser) {
  const [{ programs }, { setWork }, { assignment, teacherFragment, secretOf }] = await Promise.all(['./node/programs.js', './node/classwork.js',
    '../../web/logic/assignments/assignment.js'].map((file) => import(file)));
  await programs();
  const secret = secretOf(Array(16).fill(1));
  const names = Array.from({ length: 40 }, (_, i) => `Student ${i + 1}`);
  const twelve = assignment({ seed: 2024, names, secret, problems: Array.from({ length: 12 }, (_, i) => kinds[i % 4]) });
  const planOf = (p, i) => (p.mode === 'own' ? { own: Array(40).fill('right'), read: 'right' } : Array(14).fill(['first', 'tries', 'hint', 'shown'][i % 4]));
  const worked = (a, name, i) => setWork(a, name, a.problems.map((p) => planOf(p, i)));
  const classCodes = names.map((name, i) => worked(twelve, name, i)(30 + i).join('\n')).join('\n');
  const three = assignment({ seed: 2026, secret, problems: kinds.slice(1) });
  const year = Array.from({ length: 1000 }, (_, i) => worked(three, `Student ${i + 1}`, i));
  const schoolCodes = Array.from({ length: 10 }, (_, c) => year.map((hands) => hands(30 + c).join('\n'))).flat().join('\n');
  const samples = [];
  for (let run = 0; run < 3; run++) {
    const times = [];
    for (const [a, pasted, rows] of [[twelve, classCodes, 40], [three, schoolCodes, 50]]) {
      const page = await open(browser, pageUrl + teacherFragment(a), { initScript: instrument, ready: '#teacher-facts dd' });
      await page.evaluate((text) => { document.getElementById('teacher-codes').value = text; }, pasted);
      await page.waitForTimeout(a === twelve ? 5000 : 500);
      times.push(await tracedTable(browser, page, rows, `document.querySelector('#teacher-form button').click();`));
      await close(page);
    }
    samples.push(times);
  }
  const mid = (i, j) => samples.map((s) => s[i][j]).sort((x, y) => x - y)[1];
  return [['A set of 12 problems, 40 students: Read the codes to the table', 0], ['10,000 codes of a set of 3: to the whole table', 1]]
    .flatMap(([what, i]) => [[what, mid(i, 1), null, mid(i, 2)], ['  ... longest task\'s CPU, traced', mid(i, 3), null, 0]]);
}

// The prints (see the top), three runs each: [what, click to print, longest task's CPU, script; rendering].
async function printRuns(browser) {
  const [{ programs }, { assignment, teacherFragment, secretOf }] = await Promise.all(['./node/programs.js', '../../web/logic/assignments/assignment.js'].map((file) => import(file)));
  await programs();
  const [secret, names] = [secretOf(Array(16).fill(1)), Array.from({ length: 40 }, (_, i) => `Student ${i + 1}`)];
  let seed = 12345n;  // 40-digit entries from a seeded generator: a matrix of full rank, as a textbook's are not
  const digits = () => String(10n ** 39n + (seed = (seed * 6364136223846793005n + 1442695040888963407n) % 2n ** 130n));
  const own = [{ matrix: { kind: 'matrix', rows: Array.from({ length: 10 }, () => Array.from({ length: 20 }, digits)) }, mode: 'own' }];
  const [twelve, owned] = [Array.from({ length: 12 }, (_, i) => kinds[i % 4]), own].map((problems, k) => teacherFragment(assignment({ seed: 2024 + k, names, secret, problems })));
  const keys = (parts) => (page) => page.selectOption('#teacher-parts', parts).then(() => page.click('#teacher-keys'));
  const table = [];
  for (const [what, hash, ready, click] of [['a class set of 30, order 4', '#gjinverse&practice&seed=5&order=4', '.practice-stage',
    (page) => page.click('#exercise summary').then(() => page.fill('#exercise-count', '30')).then(() => page.click('#exercise-class-set'))],
    ['a set of 12 problems, 40 students: worksheets and keys', twelve, '#teacher-facts dd', keys('all')],
    ['own way, the teacher\'s 10 × 20 of 40 digits, 40 students: keys', owned, '#teacher-facts dd', keys('keys')]]) {
    const samples = [];
    for (let run = 0; run < 3; run++) {
      const context = await browser.newContext();
      const page = await context.newPage();
      await page.goto(pageUrl + hash).then(() => page.waitForSelector(ready));
      const start = await page.evaluate(() => { window.print = () => { window.printed = performance.now(); }; return performance.now(); });
      const tasks = await tracedTasks(browser, page, () => click(page).then(() => page.waitForFunction(() => window.printed, null, { timeout: 600000 })).then(() => page.waitForTimeout(1000)));
      samples.push([await page.evaluate(() => window.printed) - start, ...[true, false].map((script) => Math.max(0, ...tasks.filter((t) => t[2] === script).map((t) => t[1])))]);
      await context.close();
    }
    const mid = (j) => samples.map((s) => s[j]).sort((x, y) => x - y)[1];
    table.push([`print, ${what}: to the print; longest task's CPU, script`, mid(0), null, mid(1)], ['  ... rendering', 0, null, mid(2)]);
  }
  return table;
}

// Clicks the LMS content's button (selector) and waits until the LMS's calls stop: [calls, the longest task since].
async function lmsStep(page, selector) {
  const [from, calls] = await page.evaluate((selector) => {
    const [w, calls] = [window.lms.content(), window.lms.calls.length];
    const from = w.performance.now() - 1;
    w.document.querySelector(selector).click();
    return [from, calls];
  }, selector);
  for (let n = -1; n !== (n = await page.evaluate(() => window.lms.calls.length));) await page.waitForTimeout(1000);
  const [made, tasks] = await page.evaluate(() => [window.lms.calls.length, window.lms.content().benchTimes.tasks]);
  return [made - calls, longest(tasks, from, Infinity)];
}

async function lmsRuns(browser) {
  const { webZip, lmsFolder } = await import('./node/scorm-package.js');
  const { assignment } = await import('../../web/logic/assignments/assignment.js');
  const table = [];
  for (const version of ['1.2', '2004']) {
    const { folder, launch } = lmsFolder(version, assignment({ order: 2, show: true }), 0.5, webZip(process.env.GJ_WEB_BUILD));
    const server = await serve(folder);
    const page = await open(browser, `${server.url}index.html?v=${version}&slow=200&name=Kim&launch=${encodeURIComponent(launch)}`,
                            { initScript: instrument, ready: () => document.querySelector('iframe')?.contentDocument.querySelector('.show-button') });
    const ends = [];
    while (await page.evaluate(() => !window.lms.content().GJ.page.state.session.finished)) ends.push(await lmsStep(page, '.show-button'));
    await lmsStep(page, '.hand-in');
    const rows = [['a stage\'s end', ends.slice(0, -1)], ['the last stage\'s end', ends.slice(-1)], ['the hand-in', [await lmsStep(page, '.hand-in-yes')]]];
    for (const [what, steps] of rows)
      table.push([`LMS ${version}, ${what} (${Math.max(...steps.map((s) => s[0]))} calls): longest task`, Math.max(...steps.map((s) => s[1])), null, 0]);
    await close(page);
    await server.close();
  }
  return table;
}

(async () => {
  const parts = process.argv.length > 3 ? process.argv.slice(3) : ['first', 'typed', 'links', 'exact', 'practice', 'own', 'grading', 'lms', 'parts', 'cpu-exact'];
  const browser = await launch();
  const first = parts.includes('first') ? await firstPrompts(browser) : null;
  const typed = parts.includes('typed') ? await typedRun(browser) : [];
  const linked = parts.includes('links') ? await linkRuns(browser) : [];
  const exact = parts.includes('exact') ? await exactRuns(browser) : [];
  const practice = parts.includes('practice') ? await practiceRuns(browser) : [];
  const own = parts.includes('own') ? await ownRuns(browser) : [];
  const grading = parts.includes('grading') ? await gradingRuns(browser) : [];
  const lms = parts.includes('lms') ? await lmsRuns(browser) : [];
  const scripts = parts.includes('parts') ? await partRuns(browser) : [];
  const school = parts.includes('school') ? await schoolRuns(browser) : [];
  const sets = parts.includes('sets') ? await setRuns(browser) : [];
  const prints = parts.includes('print') ? await printRuns(browser) : [];
  const cpu = parts.includes('cpu') || parts.includes('cpu-exact') ? await cpuRuns(browser, parts.includes('cpu-exact')) : [];
  await browser.close();

  console.log(`median of ${runs} runs, in ms`);
  const runsOf = (values) => `runs ${Math.min(...values).toFixed(2)}–${Math.max(...values).toFixed(2)}`;
  const ratios = (runs, k) => runs.map((times) => times[k] / times[1]);
  for (const [what, k] of first ? [['first prompt', 0], ['first paint', 1]] : []) {
    const [page, blank] = [0, 1].map((n) => median(first[k].map((times) => times[n])));
    console.log(`${what} ${page.toFixed(1)}, a blank page with a prompt ${blank.toFixed(1)}: ratio ${(page / blank).toFixed(2)}, ` +
                `${runsOf(ratios(first[k], 0))}; the blank page against itself: ${runsOf(ratios(first[k], 2))} (a run: the medians of ${loadsPerRun} loads)`);
  }
  console.log(`${name}, typed row by row; exact values of two hard runs; practice`);
  console.log(`${''.padEnd(60)}${'DOM'.padStart(9)}${'frame'.padStart(9)}${'longest'.padStart(9)}`);
  for (const [what, dom, frame, task] of [...typed, ...exact, ...practice, ...own, ...grading, ...lms, ...school, ...sets, ...prints, ...cpu])
    console.log(`${what.padEnd(60)}${dom.toFixed(1).padStart(9)}${frame === null ? ''.padStart(9) : frame.toFixed(1).padStart(9)}${ms(task)}`);
  console.log(`${'links; the page\'s scripts and parts'.padEnd(60)}${'median'.padStart(9)}${'worst'.padStart(9)}${'best'.padStart(9)}`);
  for (const [what, middle, most, least] of [...linked, ...scripts]) console.log(`${what.padEnd(60)}${ms(middle)}${ms(most)}${least === undefined ? '' : ms(least)}`);
})();
