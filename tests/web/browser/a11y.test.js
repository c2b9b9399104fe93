// Accessibility (WCAG 2.2 AA) of the page, opened from the disk: axe-core finds
// nothing in any language, colour scheme and width, before a run, after one, in
// the learner's own way, in practice, with an assignment's links made and on the teacher's results;
// the keyboard reaches everything, with its focus in view; targets are large
// enough; and at a phone's width only the pane scrolls sideways, in every
// engine.
// engines: chromium firefox webkit
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { pageUrl, chromiumAlone, useBrowser, open, close, typeAtPrompts, typeCase } from './harness.js';
import { parseLink, id, studentFragment, assignment } from '../../../web/logic/assignments/assignment.js';
import { write, newResult } from '../../../web/logic/assignments/result-code.js';

const axeSource = fs.readFileSync(path.join(import.meta.dirname, '..', 'node_modules', 'axe-core', 'axe.min.js'), 'utf8');
const order4 = ['4 2 1 0 0 1 3 1 0 0 1 4 1 0 0 1 5'];
const orderPrompt = ['INPUT ORDER OF SQUARE MATRIX: '];

const browser = useBrowser();

// axe's findings on the page as it is, as "rule: element" lines. Injected
// through the DevTools protocol, axe is not held by the page's CSP; it must not
// preload the stylesheets either, which would be a connection the CSP refuses.
// It is injected once a document, and reports its violations alone.
async function axeFindings(page) {
  if (!(await page.evaluate(() => 'axe' in window))) await page.evaluate(axeSource);
  return page.evaluate(async () => (await axe.run(document, {
    preload: false,
    resultTypes: ['violations'],
    runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21aa', 'wcag22aa', 'best-practice'] },
  })).violations.flatMap((rule) => rule.nodes.map((node) => `${rule.id}: ${node.target.join(' ')}`)));
}

// Opens the link to the run and the examples menu.
const openDisclosures = (page) => page.$$eval('details', (all) => all.forEach((details) => { details.open = true; }));

// Practice on the run shown, from its first stage with the whole printout
// asked: one answer wrong, one close, one right, every step of the hint, the
// printouts exact and the exercise form open.
async function practise(page) {
  await page.click('[data-mode="practice"]');
  await page.selectOption('#practice-from', '1');
  await page.check('input[name="practice-fill"][value="all"]');
  await page.check('#practice-exact');
  for (const [field, answer] of [[1, '-4'], [1, '2'], [2, '3.02']]) {
    await page.fill(`#practice-1-divisor-${field}`, answer);
    await page.press(`#practice-1-divisor-${field}`, 'Enter');
  }
  for (let step = 0; step < 3; step++) await page.click('.hint-button');
  await openDisclosures(page);
}

// The learner's own way on the run shown: an operation refused, a row
// written with a wrong entry, a hint, every disclosure open.
async function ownWay(page) {
  await page.click('[data-mode="own"]');
  await page.waitForSelector('#own-matrix table');
  for (const [op, by] of [['2R1 + R2 -> R1', 'page'], ['R2 -> R2 - R1', 'learner']]) {
    await page.check(`input[name="own-by"][value="${by}"]`);
    await page.fill('#own-op', op);
    await page.press('#own-op', 'Enter');
  }
  await page.fill('#own-cell-0', '7');
  await page.press('#own-cell-0', 'Enter');
  await page.waitForSelector('#own-cell-0[aria-invalid="true"]');
  await page.click('#own-hint');
  await openDisclosures(page);
}

// An assignment for a class of two made with the form (open after practise()),
// then the teacher's link opened in a page of its own, with one code read into
// the table and one set aside; gives that page.
async function assignAndRead(page, options) {
  await page.fill('#assign-names', '김민수\nLee Jiwoo');
  await page.click('#assignment-form button[type="submit"]');
  await page.waitForSelector('#assignment-made:not([hidden])');
  const link = await page.getAttribute('#assignment-teacher', 'href');
  const code = write(newResult(id(parseLink(new URL(link).hash).assignment), 'Lee Jiwoo', 0));
  const results = await open(browser(), link, { ...options, ready: '#teacher-facts dd' });
  await results.fill('#teacher-codes', `${code}\n${code.slice(0, -3)}`);
  await results.click('#teacher-form button');
  await results.waitForSelector('#teacher-table .results-box:not([aria-busy])');
  return results;
}

// The first student link of the assignment made on page, opened in page's
// browser context: locked, a hint taken and a start-over asked; gives that page.
async function studentStates(page) {
  const link = (await page.inputValue('#assignment-students textarea')).split('\n')[0].replace(/^.*?: /, '');
  const student = await open(browser(), link, { context: page.context(), ready: '#practice-stage-2 input.answer:not([readonly])' });
  await student.click('#practice-stage-2 .hint-button');
  await student.click('#practice-restart');
  await student.waitForSelector('.student-confirm');
  return student;
}

// A student's assignment of the student's own operations, opened in page's
// browser context and reduced by the method's operations as the hints give
// them, to the reading that it asks; gives that page.
async function ownAssigned(page) {
  const a = assignment({ mode: 'own', program: 'gjsolve', order: 2, seed: 5, options: ['nice'] });
  const student = await open(browser(), pageUrl + studentFragment(a, 'Kim'), { context: page.context(), ready: '#own-op' });
  while (await student.isVisible('#own-hint')) {
    await student.click('#own-hint');
    await student.waitForSelector('#own-help:not([hidden])');
    await student.fill('#own-op', /R\d+ ?[↔→].*?(?=[.。]?$)/.exec(await student.textContent('#own-help'))[0]);
    await student.press('#own-op', 'Enter');
    await student.waitForFunction(() => document.getElementById('own-op').value === '');
  }
  await student.waitForSelector('#own-read:not([hidden])');
  return student;
}

// The page chooses its language from the browser's (the locale), its colours from the colour scheme.
for (const locale of ['en-US', 'ko-KR']) {
  for (const colorScheme of ['light', 'dark']) {
    for (const width of [1280, 375]) {
      test(`axe finds nothing: ${locale}, ${colorScheme}, ${width} px, before and after a run`, chromiumAlone, async () => {
        const page = await open(browser(), `${pageUrl}#gjinverse`,
                                { locale, colorScheme, viewport: { width, height: 800 } });
        assert.deepEqual(await axeFindings(page), [], 'before a run');
        await typeAtPrompts(page, '\n', order4, orderPrompt);
        await page.waitForSelector('#stages[data-exact="done"]');
        if (width === 375) assert.ok(await page.$eval('#pane', (pane) => pane.scrollWidth > pane.clientWidth), 'a run wider than the pane');
        await openDisclosures(page);
        assert.deepEqual(await axeFindings(page), [], 'after an order-4 run, the link and the examples open');
        await ownWay(page);
        assert.deepEqual(await axeFindings(page), [], 'the learner\'s own way: a refusal, a row written wrong and a hint');
        if (width === 375) assert.ok(await page.evaluate(() => document.scrollingElement.scrollWidth) <= 375, 'the own way no wider');
        await practise(page);
        assert.deepEqual(await axeFindings(page), [], 'practising the run, a wrong answer, a right one and a hint shown');
        const results = await assignAndRead(page, { locale, colorScheme, viewport: { width, height: 800 } });
        assert.deepEqual(await axeFindings(page), [], 'an assignment\'s links made');
        assert.deepEqual(await axeFindings(results), [], 'the teacher\'s results, a code read and one set aside');
        await close(results);
        const student = await studentStates(page);
        assert.deepEqual(await axeFindings(student), [], 'a student\'s assignment, locked, a hint taken and a start-over asked');
        await student.click('#student .hand-in');
        await student.click('#hand-in-yes');
        await student.waitForSelector('#student-code');
        assert.deepEqual(await axeFindings(student), [], 'a student\'s assignment handed in');
        const teacherLink = await page.getAttribute('#assignment-teacher', 'href');
        await student.goto(pageUrl + studentFragment(parseLink(new URL(teacherLink).hash).assignment));
        await student.waitForSelector('#student-name');
        assert.deepEqual(await axeFindings(student), [], 'a student\'s link that asks the name');
        await close(student);
        const own = await ownAssigned(page);
        assert.deepEqual(await axeFindings(own), [], 'a student\'s own operations, locked, the reading asked');
        if (width === 375) assert.ok(await own.evaluate(() => document.scrollingElement.scrollWidth) <= 375, 'what the assignment asks no wider');
        await close(own);
        await close(page);
      });
    }
  }
}

test('axe finds nothing in the question whether A is invertible, answered wrong, nor in New input\'s question before it erases that', chromiumAlone, async () => {
  const page = await open(browser(), `${pageUrl}#gjinverse&practice&seed=171672&order=2&options=singular&from=6`,
                          { ready: '#practice-5-invertible', locale: 'ko-KR', colorScheme: 'dark' });
  await page.click('#practice-5-invertible');
  await page.click('#restart');
  await page.waitForSelector('#restart-confirm:not([hidden])');
  assert.deepEqual(await axeFindings(page), []);
  await close(page);
});

// Tab from the top to the end of the page: everything is reached, each with a
// visible focus ring and, but for a commentary line within the text, a target
// of at least 24 by 24 CSS pixels.
test('Tab reaches links, pane, commentary lines and buttons, each with its focus visible', chromiumAlone, async () => {
  for (const colorScheme of ['light', 'dark']) {
    const page = await open(browser(), `${pageUrl}#gjinverse`, { colorScheme });
    const ring = () => page.evaluate(() => {
      const style = getComputedStyle(document.activeElement);
      return style.outlineStyle !== 'none' && parseFloat(style.outlineWidth) >= 2;
    });
    assert.ok(await ring(), 'the input field, focused at the start');
    await typeAtPrompts(page, '\n', ['2 2 1 1 3'], orderPrompt);
    await openDisclosures(page);
    await page.click('h1');  // Tab goes on from there
    const reached = [];
    for (let k = 0; k < 100; k++) {
      await page.keyboard.press('Tab');
      const [what, size] = await page.evaluate(() => {
        const element = document.activeElement;
        const box = element.getBoundingClientRect();
        return [element.id || element.className || (element.closest('#example-list') ? 'example-link' : element.getAttribute('href')) || element.tagName,
                Math.min(box.width, box.height)];
      });
      if (what === 'BODY' || what === reached[0]) break;  // past the end
      reached.push(what);
      assert.ok(await ring(), `a focus ring on ${what} (${colorScheme})`);
      if (what !== 'gloss') assert.ok(size >= 24, `${what} is ${size} px`);
    }
    const glosses = Array(await page.locator('#pane .gloss').count()).fill('gloss');
    const examples = Array(await page.locator('#example-list a').count()).fill('example-link');
    const expected = ['#gjinverse', '#gjsolve', 'pane', ...glosses, 'restart', 'download', 'copy', 'run-link',
                      'copy-link', ...examples];
    assert.deepEqual(reached.filter((what) => expected.includes(what)), expected);
    await close(page);
  }
});

test('at 375 px after an order-10 run only the pane scrolls sideways, with the keyboard too', async () => {
  const page = await open(browser(), `${pageUrl}#gjinverse`, { viewport: { width: 375, height: 800 } });
  await typeCase(page, 'gjinverse/growing-rows-10x10', { atOnce: true });
  await page.waitForSelector('.note');
  assert.ok(await page.evaluate(() => document.scrollingElement.scrollWidth) <= 375, 'the page is not wider');
  const pane = await page.$eval('#pane', (element) => [element.scrollWidth, element.clientWidth]);
  assert.ok(pane[0] > pane[1], 'the pane is wider than its view');
  await page.focus('#pane');
  for (let k = 0; k < 5; k++) await page.keyboard.press('ArrowRight');
  // Scrolling may be animated: wait for it to move.
  await page.waitForFunction(() => document.getElementById('pane').scrollLeft > 0);
  // Scrolled to its end, the pane shows the right edge of the widest printout:
  // nothing of the text is cut off past what can be scrolled into view.
  const [textRight, paneRight] = await page.evaluate(() => {
    const pane = document.getElementById('pane');
    pane.scrollLeft = pane.scrollWidth;
    const text = document.createRange();
    text.selectNodeContents(pane);
    return [Math.max(...[...text.getClientRects()].map((box) => box.right)), pane.getBoundingClientRect().right];
  });
  assert.ok(textRight <= paneRight, `the text ends at ${textRight} px, the pane at ${paneRight} px`);
  await close(page);
});

// Presses Tab (Shift+Tab when back) until the focus is on selector; fails after
// 60 presses, which also catches a keyboard trap.
async function tabTo(page, selector, back = false) {
  for (let k = 0; k < 60; k++) {
    if (await page.evaluate((s) => document.activeElement.matches(s), selector)) return;
    await page.keyboard.press(back ? 'Shift+Tab' : 'Tab');
  }
  assert.fail(`Tab never reached ${selector}`);
}

test('a whole run with the keyboard alone: type, Enter, Ctrl-D, stages, the link and the examples', chromiumAlone, async () => {
  const page = await open(browser(), `${pageUrl}#gjinverse`, { locale: 'ko-KR' });
  await page.keyboard.press('Shift+Tab');
  await tabTo(page, '#typed');
  for (const line of ['2', '2 1']) {
    await page.keyboard.type(line);
    await page.keyboard.press('Enter');
  }
  await page.keyboard.type('1 3');
  await page.keyboard.press('Control+D');
  await page.waitForSelector('#pane .note');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'restart');
  await page.waitForSelector('#stage-controls:not([hidden])');

  // The stages: Next with Enter, then Page Down.
  await tabTo(page, '#stage-next');
  await page.keyboard.press('Enter');
  await page.keyboard.press('PageDown');
  assert.equal(await page.textContent('#stage-position'), await page.evaluate(() => GJ.language.t('stages.position', { k: 3, count: 7 })));

  // The link: opened with Enter, reached with Tab, copied with Enter.
  await tabTo(page, '#share summary', true);
  await page.keyboard.press('Enter');
  await tabTo(page, '#run-link');
  assert.ok((await page.getAttribute('#run-link', 'href')).endsWith('#gjinverse&input=2%0A2%201%0A1%203&end'));
  await tabTo(page, '#copy-link');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => /\S/.test(document.getElementById('status').textContent) &&
    !document.getElementById('status').textContent.includes(GJ.language.t('status.over')));

  // The examples: opened with Enter, the second one followed with Enter.
  await tabTo(page, '#examples summary');
  await page.keyboard.press('Enter');
  await tabTo(page, '#example-list li:nth-child(2) a');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.title.startsWith('gjsolve'));
  await page.waitForSelector('#pane .note');
  // And on to the end of the page, and round to its start: no trap.
  await tabTo(page, '#stage-next');
  await tabTo(page, 'nav a');
  await close(page);
});
