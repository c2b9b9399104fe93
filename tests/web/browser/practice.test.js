// Practice, from file:// (over http where said): each worked example practised
// from start to finish at the keyboard, in English at a desktop's width and in
// Korean at a phone's, with a wrong answer and its named slip, a hint and the
// summary, in every engine; a generated exercise's link, the same matrix as
// under node; the worksheet that a print gives, and a class set of them; an
// assignment made for a class, its packages for an LMS, and the codes handed
// in read back into a table.
// engines: chromium firefox webkit
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import * as harness from './harness.js';
import { programs } from '../node/programs.js';
import { workedExamples, printedAnswer } from '../node/worked-examples.js';
import * as share from '../../../web/logic/run/share.js';
import * as exercises from '../../../web/logic/practice/exercises.js';
import * as assignment from '../../../web/logic/assignments/assignment.js';
import * as resultCode from '../../../web/logic/assignments/result-code.js';
import { zip } from '../../../web/logic/assignments/zip.js';
import * as scorm from '../node/scorm-package.js';
const { build, pageUrl, close, text, download, goldenCase } = harness;

const browser = harness.useBrowser();

// Each worked example (worked-examples.js), with one wrong answer and its slip
// and the stage that gets the hint.
const examples = {
  gjinverse: {
    ...workedExamples.gjinverse,
    wrong: { k: 3, key: 'entry 2 2', answer: '0.833333', slip: 'practice.slip.textbook', values: { t: 2, p: 1 } },
    hint: { k: 3, op: 'R2 ← R1 − 3 × R2' },
  },
  gjsolve: {
    ...workedExamples.gjsolve,
    wrong: { k: 1, key: 'divisor 1', answer: '3', slip: 'practice.slip.sign', values: {} },
    hint: { k: 3, op: 'R2 ← R1 − (-3.33333) × R2' },
  },
};

// The answer to the field in focus: a decision, or an entry of the printout,
// typed now and then as its exact value (1/3 for 0.333333, 0 for -0).
function answerFor(example, k, key) {
  const printed = printedAnswer(example, k, key);
  return key in example.decisions[k] ? printed : { '0.333333': '1/3', '-0': '0', '1.66667': '5/3' }[printed] ?? printed;
}

// The field in focus; an answer field must be wholly in view with its mark
// (but for a fraction of a pixel, where the page scrolls by whole ones), 24 px
// tall at least, with the keyboard that has digits, '-', '/' and the space.
const focused = (page) => page.evaluate(() => {
  const e = document.activeElement;
  const box = e.getBoundingClientRect();
  const whole = e.closest('.answer-box')?.getBoundingClientRect();
  const fits = !e.matches('input.answer') || (box.height >= 24 && whole.left >= 0 && whole.right <= innerWidth &&
    whole.top > -1 && whole.bottom < innerHeight + 1 && e.inputMode === 'text');
  return { k: Number(e.dataset.k), key: e.dataset.key ?? null, id: e.id, invalid: e.getAttribute('aria-invalid'), fits };
});

// Presses Tab, or Shift+Tab, until selector has the focus.
async function tabTo(page, selector, back = false) {
  for (let n = 0; n < 40; n++) {
    if (await page.evaluate((s) => document.activeElement.matches(s), selector)) return;
    await page.keyboard.press(back ? 'Shift+Tab' : 'Tab');
  }
  assert.fail(`Tab never reached ${selector}`);
}

for (const program of ['gjinverse', 'gjsolve']) {
  test(`${program}'s worked example practised at the keyboard, in English and in Korean`, async () => {
    const example = examples[program];
    const { input, expected, rows } = goldenCase(example.golden);
    for (const [locale, width] of [['en-US', 1280], ['ko-KR', 375]]) {
      const page = await harness.openProgram(browser(), program, { locale, width });
      // The pane's text as shown; a printout out of view counts too, though the
      // browser leaves it out of innerText until it is laid out.
      const shown = () => page.$eval('#pane', (pane) => {
        const groups = [...pane.querySelectorAll('.pane-stage')];
        for (const group of groups) group.style.contentVisibility = 'visible';
        const text = pane.innerText;
        for (const group of groups) group.style.contentVisibility = '';
        return text;
      });
      await page.focus('[data-mode="practice"]');
      await page.keyboard.press('Enter');
      await page.focus('#typed');
      for (const row of rows) {
        await page.keyboard.type(row);
        await page.keyboard.press('Enter');
      }
      // A learner new to the method is given every stage but the last; this one starts at the scaling.
      await page.waitForSelector('.practice-stage');
      const dialogue = await harness.paneText(page);
      assert.equal(await page.$eval('#practice-from', (s) => s.value), String(example.printouts.length - 1));
      await page.focus('#practice-from');
      await page.keyboard.press('Home');
      await page.waitForFunction(() => document.activeElement.matches('input.answer'));
      assert.ok(!(await shown()).includes(':주어진 행에서 가장 큰 수로 나눔.'), 'the pane keeps the stages to do to itself');

      let zeroNotes = 0;
      for (let answered = 0; answered < 60; answered++) {
        // The last answer of a stage goes on to the next once its verdict is painted.
        await page.waitForFunction(() => !document.activeElement.matches('input.answer[readonly]'));
        const { k, key, fits } = await focused(page);
        if (key === null) break;
        assert.ok(fits, `${key} of stage ${k + 1} at ${width} px`);
        const { wrong, hint } = example;
        if (k === hint.k && !(await page.isVisible(`#practice-stage-${k + 1} .hint`))) {
          // The rule, then the numbers, and only the third step the operations.
          await tabTo(page, `#practice-stage-${k + 1} .hint-button`);
          await page.keyboard.press('Enter');
          await page.keyboard.press('Enter');
          assert.ok(!(await page.textContent(`#practice-stage-${k + 1} .hint`)).includes(hint.op));
          await page.keyboard.press('Enter');
          assert.ok((await page.textContent(`#practice-stage-${k + 1} .hint`)).includes(hint.op));
          await tabTo(page, `[data-key="${key}"]`, true);
        }
        if (k === wrong.k && key === wrong.key && (await focused(page)).invalid === 'false') {
          await page.keyboard.type(wrong.answer);
          await page.keyboard.press('Enter');
          const slip = await text(page, wrong.slip, { ...wrong.values, n: 2 });
          assert.ok((await page.textContent(`#practice-feedback-${k}`)).endsWith(slip), 'the slip, named where it stands');
          assert.ok((await page.textContent('#status')).endsWith(slip), 'and on the status line');
          assert.deepEqual(await focused(page), { k, key, id: `practice-${k}-${key.replace(/ /g, '-')}`, invalid: 'true', fits: true });
          if (width === 375 && program === 'gjinverse') await page.screenshot({ path: path.join(build, 'web-practice-ko-375.png') });
        }
        await page.keyboard.type(answerFor(example, k, key));
        await page.keyboard.press('Enter');
        // 0 typed for -0 is right, and the page says once why.
        if (key.startsWith('entry') && example.printouts[k][key.split(' ')[1] - 1].split(' ')[key.split(' ')[2] - 1] === '-0') {
          const note = (await page.textContent(`#practice-feedback-${k}`)).includes(await text(page, 'practice.note.negativeZero'));
          assert.equal(note, zeroNotes++ === 0, `${key} of stage ${k + 1}: the note on -0 the first time only`);
        }
      }

      // The summary: the stages with a wrong answer or a hint were not right the first time.
      assert.ok(await page.evaluate(() => document.scrollingElement.scrollWidth <= innerWidth), 'the page is no wider than the screen');
      const count = example.printouts.length - 1;
      const right = count - new Set([example.wrong.k, example.hint.k]).size;
      const hints = await text(page, 'practice.hints.other', { count: 3 });
      const summary = await text(page, 'practice.summary', { right, count, hints, shown: 0 });
      assert.equal(await page.evaluate(() => document.activeElement.id), 'practice-summary');
      assert.ok((await page.textContent('#practice-summary')).startsWith(summary));
      assert.ok((await page.textContent('#status')).startsWith(summary));
      assert.equal(zeroNotes > 0, program === 'gjsolve', 'a -0 was asked');
      // Every printout shows again; the dialogue and the transcript are as when watching.
      const practised = await shown();
      assert.equal(await harness.paneText(page), dialogue);
      assert.ok((await download(page)).equals(expected));
      await page.focus('[data-mode="watch"]');
      await page.keyboard.press('Enter');
      assert.ok(await page.isVisible('#stages') && !(await page.isVisible('#practice')));
      assert.equal(await shown(), practised);

      // Back on the same exercise at the page's own pace, the record shows, and one stage more is the learner's.
      const again = await harness.open(browser(), `${pageUrl}#${program}&practice&input=${encodeURIComponent(input)}&own`,
                                       { context: page.context(), ready: '.practice-stage' });
      assert.equal(await again.$eval('#practice-from', (s) => s.value), String(count - 1));
      assert.ok((await again.textContent('.practice-record')).startsWith(await text(again, 'practice.past', { right, count, hints, shown: 0 })));
      await again.click('.clear-record');
      assert.equal(await again.textContent('.practice-record'), await text(again, 'practice.cleared'));
      await close(again);
      await close(page);
    }
  });
}

// The generator under node, through the same programs as the page's.
async function generator() {
  await programs();
  return { share, exercises };
}

test('a generated exercise\'s link opens from the disk on the matrix that node makes of its seed', harness.chromiumAlone, async () => {
  const GJ = await generator();
  const example = GJ.share.examples.find((e) => e.id === 'practice-nice');
  const made = GJ.exercises.make({ program: example.program, ...example.exercise });
  const page = await harness.open(browser(), pageUrl + example.hash, { ready: '.practice-stage' });
  assert.deepEqual(await page.$$eval('#pane .echo', (echoes) => echoes.map((e) => e.textContent).join('')), made.input);
  assert.ok((await page.getAttribute('#run-link', 'href')).endsWith(example.hash.replace('&own', '')),
            'the run\'s link is the exercise\'s, asking every stage: this browser\'s pace is its own');
  const from = Number(await page.$eval('#practice-from', (s) => s.value)) + 1;
  await page.selectOption('#practice-from', String(from - 2));
  assert.ok((await page.getAttribute('#run-link', 'href')).endsWith(example.hash.replace('&own', `&from=${from - 1}`)),
            'a start that the learner chose is written out');

  // The pivot pass of stage 3, which brings row 3 up and so moves row 2 down
  // too: one exchange (3 2 1), which here is also the rows sorted by
  // magnitude, is answered with the pass's rule, neither reading named.
  const k = 2;
  await page.selectOption('#practice-from', String(k));
  await page.waitForFunction(() => document.activeElement.matches('input.answer'));
  await page.keyboard.type('3 2 1');
  await page.keyboard.press('Enter');
  assert.ok((await page.textContent(`#practice-feedback-${k}`)).endsWith(await text(page, 'practice.slip.otherOrder', { p: 1 })));
  await page.keyboard.type('3 1 2');
  await page.keyboard.press('Enter');
  assert.ok((await page.textContent(`#practice-feedback-${k}`)).endsWith(await text(page, 'practice.right', { label: await text(page, 'practice.q.order') })));

  // The form makes the next exercise, by its link.
  await page.click('#exercise summary');
  await page.fill('#exercise-seed', '77');
  await page.selectOption('#exercise-order', '4');
  await page.check('input[value="alone"]');
  await page.click('#exercise-form button');
  await page.waitForFunction(() => location.hash === '#gjinverse&practice&seed=77&order=4&options=nice,alone&gen=2&own');
  const next = GJ.exercises.make({ program: 'gjinverse', seed: 77, order: 4, options: ['nice', 'alone'], generator: 2 });
  await page.waitForFunction((input) => [...document.querySelectorAll('#pane .echo')].map((e) => e.textContent).join('') === input, next.input);
  await close(page);
});

// The exercise of seed 7 (order 3, nice and reorder) as its run prints it,
// and the decisions of its first stages.
const seven = {
  printouts: [['-1 0 0 1 0 0', '-1 3 -1 0 1 0', '-4 8 -3 0 0 1'], ['1 -0 -0 -1 -0 -0', '-0.333333 1 -0.333333 0 0.333333 0', '-0.5 1 -0.375 0 0 0.125'],
              ['1 -0 -0 -1 -0 -0', '-0.5 1 -0.375 0 0 0.125', '-0.333333 1 -0.333333 0 0.333333 0'], ['1 -0 -0 -1 -0 -0', '0 2 -0.75 -1 0 0.25', '0 3 -1 -1 1 0'],
              ['1 -0 -0 -1 -0 -0', '0 3 -1 -1 1 0', '0 2 -0.75 -1 0 0.25']],
  decisions: [{}, { 'divisor 1': '-1', 'divisor 2': '3', 'divisor 3': '8' }, { order: '1 3 2' }, { 'r 2': '-2', 'r 3': '-3' }, { order: '1 3 2' }],
};

// Types the answer to the question in focus (from the table above), or text.
async function answerFocused(page, text = null) {
  const { k, key } = await focused(page);
  await page.keyboard.type(text ?? answerFor(seven, k, key));
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => !document.activeElement.matches('input.answer[readonly]'));
}

const answersShown = (page) => page.$$eval('#practice-body input.answer', (all) => all.map((i) => `${i.id} ${i.value} ${i.className}`));

test('a handed-out link asks from stage 2, or as it says; a reload comes back to every answer', harness.chromiumAlone, async () => {
  const hash = '#gjinverse&practice&seed=7&order=3&options=nice,reorder';
  const page = await harness.open(browser(), pageUrl + hash, { ready: '.practice-stage', locale: 'ko-KR', viewport: { width: 375, height: 700 } });
  assert.equal((await focused(page)).id, 'practice-1-divisor-1');
  const question = async (id, values) => text(page, 'practice.question', { label: await text(page, id, values) });
  assert.ok((await page.textContent('#status')).endsWith(await question('practice.q.divisor', { i: 1 })));
  await answerFocused(page, '12345');
  while ((await focused(page)).k < 5) await answerFocused(page);
  assert.ok((await page.getAttribute('#run-link', 'href')).endsWith(hash), 'what the link asks, unsaid');
  const answers = await answersShown(page);
  await page.reload();
  await page.waitForSelector('#practice-stage-6');
  assert.deepEqual([await answersShown(page), (await focused(page)).k], [answers, 5]);
  // A change of language keeps the question in focus, with what is typed there, and the status line names it.
  await page.keyboard.type('7/');
  await page.click('#language-en');
  assert.deepEqual([(await focused(page)).k, await page.evaluate(() => document.activeElement.value)], [5, '7/']);
  assert.ok((await page.textContent('#status')).includes(await text(page, 'practice.question', { label: await text(page, 'practice.q.r', { t: 3 }) })));
  await close(page);

  // Every entry of stage 4, each field wholly in view with its mark as it is answered.
  const four = await harness.open(browser(), `${pageUrl}${hash}&from=4&fill=all`, { ready: '.practice-stage', locale: 'ko-KR', viewport: { width: 375, height: 700 } });
  assert.deepEqual([(await focused(four)).k, await four.$$eval('#practice-stage-4 input.answer', (all) => all.length)], [3, 2 + 3 * 6]);
  await answerFocused(four, '-0.5');
  await four.screenshot({ path: path.join(build, 'practice-inverse-stage4-ko-375.png') });
  while ((await focused(four)).k === 3) {
    assert.ok((await focused(four)).fits, (await focused(four)).id);
    await answerFocused(four);
  }
  await four.check('#practice-exact');
  assert.match(await four.$$eval('#practice-stage-4 .printout-box td', (all) => all.map((td) => td.textContent).join('')),
               /^100-100-1\/21-3\/8/, 'the printout before it, exact');
  assert.deepEqual(await four.$$eval('#practice-stage-4 .printout-box th', (all) => all.map((th) => th.scope + (th.dataset.bar ?? '|'))),
                   ['col|', ...['A1', 'A2', 'A3'].map(() => 'col|'), 'col', 'col|', 'col|', ...[1, 2, 3].map(() => 'row|')],
                   'its columns and rows named, with the bar before I');
  await close(four);
});

// A phone's keyboard, emulated alike in every engine (none gives a test an
// on-screen keyboard): the visual viewport's height set to 400 px of the
// 740 px window, as a keyboard leaves it, and its resize event sent.
const keyboardUp = (page) => page.evaluate(() => {
  Object.defineProperty(VisualViewport.prototype, 'height', { get: () => Math.min(400, innerHeight), configurable: true });
  visualViewport.dispatchEvent(new Event('resize'));
  return new Promise((painted) => requestAnimationFrame(() => requestAnimationFrame(painted)));
});

// Where the field in focus and its stage's verdict line (when it has words)
// stand, two frames after the answer, against the part of the screen that the
// keyboard leaves and the printout strip stuck to its top.
const aboveKeyboard = (page) => page.evaluate(async () => {
  await new Promise((painted) => requestAnimationFrame(() => requestAnimationFrame(painted)));
  const e = document.activeElement;
  const free = { top: visualViewport.offsetTop, bottom: visualViewport.offsetTop + visualViewport.height };
  const strip = e.closest('.practice-stage')?.querySelector('.printout-box').getBoundingClientRect();
  const inView = (box) => box.left >= 0 && box.right <= innerWidth + 1 && box.top >= free.top - 1 && box.bottom <= free.bottom + 1 &&
    (box.top >= strip.bottom - 1 || box.bottom <= strip.top + 1);
  const verdict = document.getElementById(`practice-feedback-${e.dataset.k}`);
  return { id: e.id, k: Number(e.dataset.k), field: inView(e.closest('.answer-box, li').getBoundingClientRect()),
           verdict: verdict.textContent === '' || inView(verdict.getBoundingClientRect()) };
});

// The answer to the question in focus as the page's run has it: what this
// scenario checks is where the page puts things, not its checker.
const runsAnswer = (page) => page.evaluate(() => {
  const e = document.activeElement;
  const q = GJ.page.state.session.stages[Number(e.dataset.k)].questions.find((x) => x.key === e.dataset.key);
  return GJ.check.answerOf(q) ?? '0';
});

test('at a phone\'s width, above its keyboard, every answer\'s next field and verdict are in view', async () => {
  for (const [hash, locale] of [['#gjinverse&practice&seed=7&order=3&options=nice,reorder', 'ko-KR'], ['#gjsolve&practice&seed=7&order=4', 'en-US']]) {
    const page = await harness.open(browser(), pageUrl + hash, { ready: '.practice-stage', locale, viewport: { width: 375, height: 740 } });
    await keyboardUp(page);
    // An answer left with Tab is marked as not yet checked; the button beside it checks it as Enter does.
    const first = (await focused(page)).id;
    await page.keyboard.type('12345');
    await page.keyboard.press('Tab');
    assert.deepEqual(await page.$eval(`#${first}`, (e) => [e.className, e.nextElementSibling.textContent]), ['answer unchecked', '?']);
    await page.click(`#${first} ~ .check`);
    assert.deepEqual([(await focused(page)).id, (await focused(page)).invalid], [first, 'true']);
    let inFour = 0;  // answers given in stage 4
    let turned = 0;
    for (let answered = 0; (await focused(page)).key !== null; answered++) {
      const seen = await aboveKeyboard(page);
      assert.deepEqual(seen, { ...seen, field: true, verdict: true }, `${hash} after ${answered} answers`);
      // Stage 4 after its first entry, for a look: the keyboard would cover all below 400 px.
      if (seen.k === 3 && hash.startsWith('#gjinverse') && inFour++ === 3)
        await page.screenshot({ path: path.join(build, `practice-keyboard-stage4-${harness.engine}.png`) });
      // The phone turned sideways, and back (where the engine can): the field stays in view.
      for (const size of seen.k === 4 && page.setViewportSize && !turned++ ? [{ width: 740, height: 375 }, { width: 375, height: 740 }] : []) {
        await page.setViewportSize(size);
        assert.equal((await aboveKeyboard(page)).field, true, `turned to ${size.width} × ${size.height}`);
      }
      await answerFocused(page, await runsAnswer(page));
    }
    assert.ok(await page.isVisible('#practice-summary'));
    await close(page);
  }
});

test('a singular exercise asks whether A is invertible, then nothing of its inf and nan; New input asks before it erases the answers', harness.chromiumAlone, async () => {
  const link = '#gjinverse&practice&seed=171672&order=2&options=singular&from=6&fill=all';
  const page = await harness.open(browser(), pageUrl + link, { ready: '#practice-5-invertible' });
  assert.ok((await page.textContent('#practice-stage-6')).includes(await text(page, 'practice.ask.nonFinite')));
  await page.click('#practice-5-invertible');
  assert.ok((await page.textContent('#practice-feedback-5')).endsWith(await text(page, 'practice.slip.singular')));
  // New input, once: the page asks, and the answer stays (shown and stored) until the yes.
  const kept = () => page.evaluate(() => [document.querySelector('#practice-5-invertible')?.getAttribute('aria-pressed') ?? null, !document.querySelector('#restart-confirm').hidden,
                                          Object.keys(localStorage).filter((key) => key.startsWith('gauss-jordan.practice.progress.')).length]);
  for (const [button, expected] of [['#restart', ['true', true, 1]], ['#restart-confirm .keep', ['true', false, 1]], ['#restart', ['true', true, 1]], ['#restart-confirm .erase', [null, false, 0]]]) {
    await page.click(button);
    // The yes opens the program anew, in a task of its own.
    if (expected[0] === null) await page.waitForFunction(() => !document.querySelector('#practice-5-invertible'));
    assert.deepEqual(await kept(), expected, button);
  }
  // Again, from scratch: after the "no", the exercise ends where the run stops, and the summary says what was not asked.
  await page.evaluate((link) => { location.hash = link; }, link);
  await page.waitForSelector('#practice-5-invertible');
  assert.deepEqual(await kept(), ['false', false, 0], 'nothing kept');
  await page.click('#practice-stage-6 [data-choice="no"]');
  const summary = await page.textContent('#practice-summary');
  assert.ok(summary.includes(await text(page, 'practice.singular.inverse')) && summary.includes(await text(page, 'practice.summary.unaskedOne', { first: 7 })), summary);
  assert.equal(await page.$$eval('.practice-stage', (stages) => stages.length), 1);
  await close(page);
});

// The text of each page of the print, in the order of the PDF's content, with
// no white space: Korean lines break within words.
const squeeze = (text) => text.replace(/\s+/g, '');
const pdfPages = (pdf) => execFileSync('pdftotext', ['-raw', '-enc', 'UTF-8', '-', '-'], { input: pdf }).toString().split('\f').map(squeeze);

// The decisions of each stage of the exercise of seed 19 (gjsolve, order 3,
// nice and alone) and the program's answers, null for a row left alone.
const aloneDecisions = [
  null, [['practice.q.divisor', { i: 1 }, '-2'], ['practice.q.divisor', { i: 2 }, '5'], ['practice.q.divisor', { i: 3 }, '5']],
  [['practice.q.order', { j: 1 }, '1 2 3']], [['practice.q.r', { t: 2, p: 1 }, '1'], ['practice.q.r', { t: 3, p: 1 }, '1']],
  [['practice.q.order', { j: 2 }, '1 2 3']], [['practice.q.r', { t: 3, p: 2 }, null]],
  [['practice.q.r', { t: 2, p: 3 }, '1'], ['practice.q.r', { t: 1, p: 3 }, '0.2']], [['practice.q.r', { t: 1, p: 2 }, null]],
  [['practice.q.x', { j: 1 }, '-0'], ['practice.q.x', { j: 2 }, '1'], ['practice.q.x', { j: 3 }, '1']],
];

test('a print in practice is a worksheet: every stage with its question and frame, then the answer key', harness.chromiumAlone, async () => {
  const GJ = await generator();
  const example = GJ.share.examples.find((e) => e.id === 'practice-alone');
  const made = GJ.exercises.make({ program: example.program, ...example.exercise });
  for (const locale of ['en-US', 'ko-KR']) {
    const page = await harness.open(browser(), pageUrl + example.hash, { ready: '.practice-stage', locale, colorScheme: 'dark' });
    const names = (await page.evaluate(() => GJ.page.model.stages.slice(1).map((s, k) => GJ.language.t('stage.heading', { k: k + 2, name: GJ.words.stageName(s) })))).map(squeeze);
    const asks = (await page.evaluate(() => GJ.page.model.stages.slice(1).map((s) => GJ.language.t('sheet.ask.' + s.id, { j: s.column ?? '' })))).map(squeeze);
    const pages = pdfPages(await page.pdf({ format: 'A4' })).filter((p) => p !== '');
    const keyHeading = await text(page, 'sheet.key');
    await page.emulateMedia({ media: 'print' });
    const looks = await page.evaluate(() => {
      window.dispatchEvent(new Event('beforeprint'));
      const cell = document.querySelector('#worksheet .sheet-stage .frame tbody td');
      const { width, height } = cell.getBoundingClientRect();
      const style = getComputedStyle(cell);
      return [style.color, style.borderTopColor, getComputedStyle(document.body).backgroundColor,
              getComputedStyle(document.querySelector('.terminal')).display, document.querySelectorAll('#worksheet .qr').length,
              width * 25.4 / 96 >= 28 && height * 25.4 / 96 >= 8];
    });
    assert.deepEqual(looks, ['rgb(0, 0, 0)', 'rgb(0, 0, 0)', 'rgb(255, 255, 255)', 'none', 0, true],
                     'black on white, the worksheet alone, no QR code from the disk, frames of 28 by 8 mm an entry');
    const keyPage = pages.findIndex((p) => p.startsWith(squeeze(keyHeading)));
    assert.ok(keyPage > 0, 'the answer key on a page of its own');
    const [sheet, key] = [pages.slice(0, keyPage).join(''), pages.slice(keyPage).join('')];
    const options = `${await text(page, 'sheet.option.nice')}, ${await text(page, 'sheet.option.alone')}`;
    const id = squeeze(await text(page, 'sheet.id', { program: 'gjsolve', seed: 19, order: 3, options }));
    assert.ok(sheet.startsWith(squeeze(await text(page, 'sheet.title.gjsolve', { program: 'gjsolve', n: 3 })) + id));
    assert.ok(!pages.join('').includes('file:'), 'no link to a file on this computer');
    assert.equal(await page.$eval('#exercise-file-link', (note) => note.hidden), false, 'the form says so');
    assert.ok(key.startsWith(squeeze(keyHeading) + id), 'the key carries the sheet\'s id');
    assert.ok(sheet.includes(squeeze(await text(page, 'sheet.name')) + squeeze(await text(page, 'sheet.date'))));
    for (const [k, name] of names.entries()) {
      assert.ok(sheet.includes(name + asks[k]), `${name} and its question on the sheet`);
      assert.ok(key.includes(name), `${name} in the key`);
    }
    // Each stage's decisions: blanks on the sheet, the program's answers in the key; its frame labelled.
    for (const [j, stage] of made.model.stages.entries()) {
      if (j === 0) continue;
      for (const [id, values, given] of aloneDecisions[j]) {
        const label = squeeze(await text(page, id, values));
        assert.ok(sheet.includes(`${label}:`), `${label} asked at stage ${j + 1}`);
        const answer = given ?? await text(page, 'sheet.aloneAnswer');
        assert.ok(key.includes(squeeze(`${label}: ${answer}`)), `${label}: ${answer} in the key`);
      }
      if (!stage.unknowns) assert.ok(key.includes(stage.rows.map((row, r) => `R${r + 1}${row.join('')}`).join('')), `the printout of stage ${j + 1} in the key`);
    }
    // Every page of the sheet after the first starts with its id; no stage is split (its name and question above).
    assert.equal(keyPage % 2, 0, `${keyPage} pages to a sheet`);
    for (const p of pages.slice(1, keyPage)) assert.ok(p.startsWith(id), p.slice(0, 40));
    await close(page);
  }
});

// A class set from the exercise form: a sheet for each seed from the one in the
// form on, each of the same even number of pages with its id on every one,
// then their keys in the same order, several to a page; each key carries its
// sheet's id and the answers of that sheet's matrix. Over http a sheet has a
// QR code of its link. Printed alone, the keys of 30 sheets fit 10 pages.
test('a class set of sheets, then their keys, each key with its sheet\'s id', harness.chromiumAlone, async () => {
  const GJ = await generator();
  const server = await harness.serve(build);
  try {
    await classSet(GJ, await harness.open(browser(), `${server.url}index.html#gjinverse&practice&seed=5&order=3`, { ready: '.practice-stage' }));
  } finally {
    await server.close();
  }
});

async function classSet(GJ, page) {
  await page.click('#exercise summary');
  assert.equal(await page.$eval('#exercise-file-link', (note) => note.hidden), true, 'no word on links from a file, over http');
  const margin = { top: '12mm', right: '12mm', bottom: '12mm', left: '12mm' };  // a printer's, about
  const [title, keyHeading] = [await text(page, 'sheet.title.gjinverse', { program: 'gjinverse', n: 3 }), await text(page, 'sheet.key')].map(squeeze);

  // The keys alone, of a class set of 30 from the exercise shown.
  await page.fill('#exercise-count', '30');
  await page.selectOption('#exercise-print', 'keys');
  await harness.clickToPrint(page, '#exercise-class-set');
  const keyPdf = await page.pdf({ format: 'A4', preferCSSPageSize: true, margin });
  fs.writeFileSync(path.join(build, 'web-worksheet-keys.pdf'), keyPdf);  // for a look
  const keyPages = pdfPages(keyPdf).filter((p) => p !== '');
  assert.ok(keyPages.length <= 10, `${keyPages.length} pages of keys`);
  const allKeys = keyPages.join('');
  assert.equal(allKeys.split(keyHeading).length - 1, 30, 'every key');
  assert.ok(!allKeys.includes(title), 'and no sheet');
  assert.ok(allKeys.startsWith(keyHeading + squeeze(await text(page, 'sheet.id', { program: 'gjinverse', seed: 5, order: 3, options: await text(page, 'sheet.noOptions') }))),
            'from the exercise shown');

  await page.selectOption('#exercise-print', 'all');
  await page.check('input[value="exact"]');
  await page.fill('#exercise-seed', '40');
  await page.fill('#exercise-count', '3');
  await harness.clickToPrint(page, '#exercise-class-set');
  assert.equal(await page.locator('#worksheet .sheet .qr path').count(), 3, 'a QR code on each sheet');
  const pdf = await page.pdf({ format: 'A4', preferCSSPageSize: true, margin });
  fs.writeFileSync(path.join(build, 'web-worksheets.pdf'), pdf);  // for a look
  const pages = pdfPages(pdf).filter((p) => p !== '');
  const firstKey = pages.findIndex((p) => p.startsWith(keyHeading));
  const sheetStarts = pages.flatMap((p, k) => (p.startsWith(title) ? [k] : []));
  assert.deepEqual(sheetStarts.length, 3);
  const perSheet = firstKey / 3;
  assert.deepEqual([sheetStarts, perSheet % 2], [[0, perSheet, 2 * perSheet], 0], `${firstKey} pages of sheets`);
  assert.ok(pages.slice(firstKey).every((p) => p.startsWith(keyHeading)), 'the keys after the sheets');
  const all = pages.join('');
  const [sheets, keys] = [all.slice(0, all.indexOf(keyHeading)).split(title).slice(1), all.split(keyHeading).slice(1)];
  for (let k = 0; k < 3; k++) {
    const made = GJ.exercises.make({ program: 'gjinverse', order: 3, seed: 40 + k, options: ['nice', 'exact'], generator: GJ.share.latestGenerator });
    const options = `${await text(page, 'sheet.option.nice')}, ${await text(page, 'sheet.option.exact')}`;
    const id = squeeze(await text(page, 'sheet.id', { program: 'gjinverse', seed: 40 + k, order: 3, options }));
    assert.ok(sheets[k].startsWith(id) && keys[k].startsWith(id), `sheet ${k + 1} and key ${k + 1}: ${id}`);
    for (const p of pages.slice(k * perSheet + 1, (k + 1) * perSheet)) assert.ok(p.startsWith(id), `the id on every page of sheet ${k + 1}`);
    const rows = (stage) => stage.rows.map((row, r) => `R${r + 1}${row.join('')}`).join('');
    assert.ok(sheets[k].includes(rows(made.model.stages[0])), `sheet ${k + 1} is seed ${40 + k}'s matrix`);
    assert.ok(keys[k].includes(rows(made.model.stages.at(-1))), `key ${k + 1} holds seed ${40 + k}'s inverse`);
  }
  assert.equal(await page.locator('#worksheet > *').count(), 0, 'the class set is gone after the print');

  // An order-4 inverse's sheet is too wide for an upright page: it prints on A4 turned sideways.
  await page.selectOption('#exercise-order', '4');
  await page.fill('#exercise-count', '1');
  await harness.clickToPrint(page, '#exercise-class-set');
  const [, width, height] = /\/MediaBox \[0 0 ([\d.]+) ([\d.]+)\]/.exec((await page.pdf({ format: 'A4', preferCSSPageSize: true, margin })).toString('latin1'));
  assert.ok(Number(width) > Number(height), `an order-4 sheet on a page ${width} by ${height} pt`);

  await close(page);
}

// An assignment for a class of three, made through the form in Korean: the
// links copied, the teacher's link opening the results view, and two codes
// pasted among other text giving the table's verdicts and its CSV, the keys
// and, over http, the names with their QR codes. The codes are written from a
// table of first answers, worked by hand on the students' matrices (pinned
// under node: seed 12345, no options); the pivot pass keeps 김민수's rows and
// brings 박서연's second row up.
const classList = ['김민수', 'Lee, "JJ" Jiwoo', '박서연'];
const handedIn = [
  // name, minutes taken, the stages reached: [k, done, tries, hints, first answers]; the verdicts expected
  ['김민수', 25, [[1, true, 9, 0, ['8', '-7', '-8', '1', '-0.125', '0.875', '0.125', '0', '0']],
                  [2, true, 7, 1, ['1 2 3', '1', '-0.125', '0.875', '0.125', '0', '0']]], ['first', 'tries', 'none']],
  ['박서연', 40, [[1, true, 10, 0, ['-1', '7', '7', '-1/9', '-0.777778', '1', '0.111111', '0', '0']],
                  [2, false, 1, 0, ['2 1 3', null, null, null, null, null, null]]], ['tries', 'open', 'none']],
];

// The code that a student of assignment a hands in, from a line of handedIn.
function codeOf(a, [name, minutes, stages]) {
  const started = Date.UTC(2026, 11, 8, 9);
  return resultCode.write({ id: assignment.id(a), name, started, handed: started + minutes * 60000,
    stages: stages.map(([k, done, tries, hints, first]) => ({ k, done, tries, hints, shown: false,
      right: hints === 0 && first[0] !== '-1', first: first.map((x) => (x === null ? null : { text: x })) })) });
}

// Sets a form field's value as typing would leave it.
const setValue = (page, selector, value) => page.$eval(selector, (e, v) => {
  e.value = v;
  e.dispatchEvent(new Event('input', { bubbles: true }));
}, value);

// The assignment's packages for an LMS, made on the form from the release's
// web zip of this build (playwright's own file chooser and download, so in
// chromium alone): a zip that is not the page's refused, then each version
// named for the title, holding what the version requires and launched on the
// student link without names.
async function lmsPackages(page, a) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'gj-lms-form-'));
  const [web, other, altered] = ['gauss-jordan-1.0.0-web.zip', 'photos.zip', 'altered-web.zip'].map((name) => path.join(folder, name));
  fs.writeFileSync(web, scorm.webZip(build));
  fs.writeFileSync(other, zip([{ name: 'index.html', bytes: '<p>' }]));
  fs.writeFileSync(altered, zip(scorm.pageFiles(build).map((f) => (f.name === 'page.js' ? { ...f, bytes: 'alert(1)' } : f))));
  await page.click('#lms summary');
  // the file picked, the problem said
  for (const [file, problem] of [[other, 'lms.notPage'], [altered, 'lms.otherPage']]) {
    await page.setInputFiles('#lms-zip', file);
    await page.click('#lms-form button[type="submit"]');
    await page.waitForFunction((said) => document.getElementById('lms-problem').textContent === said, await text(page, problem));
  }
  await page.setInputFiles('#lms-zip', web);
  // version, the pass mark typed, the file saved
  for (const [version, pass, name] of [['1.2', '50', '월요일 과제 역행렬-scorm12.zip'], ['2004', '', '월요일 과제 역행렬-scorm2004.zip']]) {
    await page.check(`input[name="lms-version"][value="${version}"]`);
    await page.fill('#lms-pass', pass);
    const [saved] = await Promise.all([page.waitForEvent('download'), page.click('#lms-form button[type="submit"]')]);
    assert.equal(saved.suggestedFilename(), name);
    const { launch, xml } = scorm.checkPackage(fs.readFileSync(await saved.path()), version);
    assert.deepEqual(assignment.parseLink(launch.replace(/^index\.html/, '')), { role: 'student', assignment: { ...a, names: [], secret: '' }, name: null }, version);
    assert.equal(/masteryscore|minNormalizedMeasure/.test(xml), pass !== '', `${version}: a pass mark only where one is typed`);
  }
  assert.ok(await page.$eval('#lms-problem', (e) => e.hidden));
  await page.waitForFunction((done) => document.getElementById('status').textContent === done,
                             await text(page, 'lms.made', { name: '월요일 과제 역행렬-scorm2004.zip' }));
  fs.rmSync(folder, { recursive: true });
}

// A student's link opened on a shared browser (context, or a new one): the
// student's matrix, asked from the scaling.
const openStudent = (link, context) => harness.open(browser(), link,
  { ...(context ? { context } : { locale: 'ko-KR' }), ready: '#practice-stage-2 input.answer:not([readonly])' });

// Every way to the answers, tried while the assignment is locked: each leaves
// the page as it was, and the print holds no key and no later printout.
async function findsNoAnswers(page) {
  assert.ok(await page.evaluate(() => document.body.hasAttribute('data-locked')));
  for (const selector of ['[data-mode="watch"]', '.start-at', '#practice-fill', '#copy', '#download', '#stages', '#share', '.show-button'])
    assert.equal(await page.isVisible(selector), false, `${selector} is out of reach`);
  const copied = await text(page, 'status.copied');
  await page.evaluate(() => {
    document.querySelector('[data-mode="watch"]').click();
    document.getElementById('copy').click();
    document.getElementById('download').click();
    const from = document.getElementById('practice-from');
    from.value = String(GJ.page.model.stages.length - 1);
    from.dispatchEvent(new Event('change', { bubbles: true }));
  });
  assert.deepEqual(await page.evaluate(() => [document.body.dataset.mode, GJ.page.state.session.from]), ['practice', 1]);
  assert.notEqual(await page.textContent('#status'), copied);
  for (let step = 1; step <= 3; step++) await page.click('#practice-stage-2 .hint-button');
  assert.equal(await page.$('.hint-button'), null, 'no fourth hint');
  const printed = await page.evaluate(() => {
    dispatchEvent(new Event('beforeprint'));
    const sheet = document.getElementById('worksheet');
    const found = [sheet.querySelectorAll('.sheet-key').length, sheet.textContent];
    dispatchEvent(new Event('afterprint'));
    return found;
  });
  const later = await page.evaluate(() => GJ.page.model.stages.at(-1).rows.flat().filter((x) => x.length >= 4));
  assert.equal(printed[0], 0, 'no key in the print');
  for (const entry of later) assert.ok(!printed[1].includes(entry), `${entry}, of the last printout, not in the print`);
}

// Answers the first question of the scaling with answer, then hands in, saying yes when asked; gives the code.
async function handIn(page, answer) {
  const field = '#practice-stage-2 input.answer:not([readonly])';
  await page.focus(field);
  await page.keyboard.type(answer);
  await page.keyboard.press('Enter');
  await page.click('#student .hand-in');
  await page.click('#hand-in-yes');
  await page.waitForSelector('#student-code');
  return page.inputValue('#student-code');
}

test('a teacher makes an assignment for three names, and reads two codes back into a table and a CSV', async (t) => {
  const page = await harness.openProgram(browser(), 'gjinverse', { locale: 'ko-KR' });
  await page.evaluate(() => { crypto.getRandomValues = (array) => { array[0] = 12345; return array; }; });
  await page.click('[data-mode="practice"]');
  await page.click('#assignment summary');
  await page.click('#assignment-form input[value="nice"]');
  await setValue(page, '#assign-title', '월요일 과제: 역행렬');
  await setValue(page, '#assign-due', '2026-12-14');
  // A name too long for a link is refused with a word on why; the list as pasted then makes the links.
  await setValue(page, '#assign-names', '가'.repeat(assignment.maxName + 1));
  await page.click('#assignment-form button[type="submit"]');
  await page.waitForSelector('#assignment-problem:not([hidden])');
  assert.ok(await page.$eval('#assignment-made', (e) => e.hidden));
  // A name given twice is asked about first.
  await setValue(page, '#assign-names', classList.join('\n') + '\n\n김민수\n');
  await page.click('#assignment-form button[type="submit"]');
  await page.waitForSelector('#assignment-question:not([hidden])');
  assert.ok((await page.textContent('#assignment-question-text')).includes('김민수'));
  await page.click('#assignment-confirm');
  await page.waitForSelector('#assignment-made:not([hidden])');
  if (harness.engine === 'chromium') await page.screenshot({ path: path.join(build, 'web-assignment-form-ko.png'), fullPage: true });

  // One link per name, to copy, each opening that student's assignment; a note
  // that links to a file open on no other device.
  const list = await page.inputValue('#assignment-students textarea');
  const links = list.split('\n').map((line) => /^(.*): (\S+)$/.exec(line).slice(1));
  assert.deepEqual(links.map(([name]) => name), classList);
  for (const [name, link] of links) assert.deepEqual(assignment.parseLink(new URL(link).hash).name, name);
  assert.equal(await page.textContent('#assignment-students .note-box'), await text(page, 'links.file'));
  assert.equal(await page.$('#assignment-students .print-qr'), null, 'no QR codes of links to a file');
  await page.click('#assignment-students .copy-list');
  await page.waitForFunction((done) => document.getElementById('status').textContent === done, await text(page, 'links.listCopied'));
  if (!harness.cannot(t, 'clipboard')) assert.equal(await page.evaluate(() => navigator.clipboard.readText()), list);
  const linksFile = await page.download('#assignment-students .save-csv');
  assert.equal(linksFile.toString(), `\ufeff이름,링크\r\n${links.map(([name, link]) => `${name.includes(',') ? '"Lee, ""JJ"" Jiwoo"' : name},${link}\r\n`).join('')}`);

  const teacherLink = await page.getAttribute('#assignment-teacher', 'href');
  const a = assignment.parseLink(new URL(teacherLink).hash).assignment;
  assert.equal(await page.evaluate(() => location.hash), new URL(teacherLink).hash, 'the address is the teacher\'s link');
  assert.match(a.secret, /^[0-9A-Z]{26}$/);
  assert.deepEqual([a.seed, a.options, a.names, a.title, a.due, a.from, a.fill, a.hints, a.show, a.perStudent],
                   [12345, [], classList, '월요일 과제: 역행렬', '2026-12-14', 2, 'row', 3, false, true]);
  if (harness.engine === 'chromium') await lmsPackages(page, a);
  await close(page);

  // Two students, in turn on one browser: the first tries every way to the
  // answers and finds none; each hands in; the first's code is still there
  // when the first comes back.
  const kimPage = await openStudent(links[0][1]);
  assert.deepEqual(await kimPage.$$eval('#student dd', (all) => all.map((dd) => dd.textContent)).then((dd) => dd.at(-1)), '2026-12-14');
  await findsNoAnswers(kimPage);
  if (harness.engine === 'chromium') await kimPage.screenshot({ path: path.join(build, 'web-assignment-student-ko.png'), fullPage: true });
  const kimCode = await handIn(kimPage, '999');
  assert.match(kimCode, /^GJR1[0-9A-Z]+$/);
  assert.ok(await kimPage.isVisible('#copy') && !(await kimPage.evaluate(() => document.body.hasAttribute('data-locked'))), 'the transcript, once handed in');
  if (harness.engine === 'chromium') await kimPage.screenshot({ path: path.join(build, 'web-assignment-handed-ko.png'), fullPage: true });
  const parkPage = await openStudent(links[2][1], kimPage.context());
  assert.equal(await parkPage.$('#student-code'), null, 'the next student starts afresh');
  const parkCode = await handIn(parkPage, '-1');
  await close(parkPage);
  const back = await harness.open(browser(), links[0][1], { context: kimPage.context(), ready: '#student-code' });
  assert.equal(await back.inputValue('#student-code'), kimCode, 'the first student\'s work kept');
  await close(back);
  await close(kimPage);

  // The teacher's link: the assignment, and the codes pasted among other text.
  const results = await harness.open(browser(), teacherLink, { ready: '#teacher-facts dd', locale: 'ko-KR' });
  // The view takes the focus once it is painted, a frame after it is drawn.
  await results.waitForFunction(() => document.activeElement.id === 'teacher-codes', undefined, { timeout: 5000 }).catch(() => {});
  assert.equal(await results.evaluate(() => document.activeElement.id), 'teacher-codes', 'the box for the codes, ready for a paste');
  const facts = await results.$$eval('#teacher-facts dd', (all) => all.map((dd) => dd.textContent));
  assert.deepEqual([facts[0], facts[1], facts.at(-1)], ['월요일 과제: 역행렬', '2026-12-14', classList.join(', ')]);
  assert.equal(await results.$$eval('#teacher-links textarea', (all) => all[0].value), list);
  const [kim, park] = handedIn.map((line) => codeOf(a, line));
  const [altered, other] = [kim.slice(0, 30) + (kim[30] === 'A' ? 'B' : 'A') + kim.slice(31), codeOf({ ...a, seed: 1 }, handedIn[0])];
  await setValue(results, '#teacher-codes', `박서연 제출합니다: ${park}\n\n(민수) ${kim.toLowerCase()} 감사합니다!\n${altered}, ${other}`);
  await results.click('#teacher-form button');
  await results.waitForSelector('#teacher-table .results-box:not([aria-busy])');
  const rows = await results.$$eval('#teacher-table tbody tr', (trs) => trs.map((tr) => [...tr.cells].map((c) => c.textContent)));
  const verdict = async (status) => `${await text(results, 'results.mark.' + status)} ${await text(results, 'results.status.' + status)}`;
  const expected = new Map(handedIn.map(([name, , , verdicts]) => [name, verdicts]));
  assert.deepEqual(rows.map((row) => row[0]), classList, 'a row per name, in the list\'s order');
  for (const row of rows) {
    const verdicts = expected.get(row[0]) ?? ['none', 'none', 'none'];
    for (const [i, status] of verdicts.entries()) assert.ok(row[2 + i].startsWith(await verdict(status)), `${row[0]}, stage ${i + 2}: ${row[2 + i]}`);
  }
  // The score, then the hints, the minutes, the hand-in time and the flags.
  const tail = (row) => [row[1], ...row.slice(-4, -2), row.at(-1)];
  assert.deepEqual(rows.map(tail), [['1/9', '1', '25', ''], ['', '0', '', await text(results, 'flag.missing')], ['0/9', '0', '40', '']]);
  // Each name isolated, so that a name of another direction turns nothing after it.
  const setAside = await results.$$eval('#teacher-table li', (all) => all.map((li) => li.textContent));
  assert.deepEqual(setAside, [await text(results, 'teacher.rejectedItem', { code: altered.slice(0, 12), name: '\u2068김믔수\u2069', problem: await text(results, 'code.broken') }),
                              await text(results, 'teacher.rejectedItem', { code: other.slice(0, 12), name: '\u2068김민수\u2069', problem: await text(results, 'code.other') })]);
  if (harness.engine === 'chromium') await results.screenshot({ path: path.join(build, 'web-assignment-results-ko.png'), fullPage: true });

  // The CSV: UTF-8 with its byte-order mark, the Korean names intact.
  const file = await results.download('#teacher-csv');
  assert.deepEqual([...file.subarray(0, 3)], [0xef, 0xbb, 0xbf]);
  const csvText = file.toString('utf8');
  assert.match(csvText, /\r\n김민수,0\.11,0\.11,11\.1,25,/);
  assert.match(csvText, /\r\n"Lee, ""JJ"" Jiwoo",,,,,/);
  await results.click('#language-en');
  // The table is drawn anew a slice of rows a frame: read once its rows are all there.
  await results.waitForFunction(() => document.querySelector('#teacher-table tbody tr:first-child > :nth-child(3)')?.textContent.includes('first time'));
  await results.waitForSelector('#teacher-table .results-box:not([aria-busy])');
  assert.deepEqual(await results.$$eval('#teacher-table tbody tr:first-child > *', (cells) => [0, 2].map((i) => cells[i].textContent)),
                   ['김민수', '✓ right the first time']);

  // The codes that the students' pages gave, joined to those read: graded by
  // the latest, the teacher's page agrees with their verdicts.
  await setValue(results, '#teacher-codes', `${kimCode} ${parkCode}`);
  await results.click('#teacher-form button');
  await results.waitForFunction(() => document.querySelector('#teacher-codes').value.split('\n').filter(Boolean).length === 6);
  await results.selectOption('#teacher-rule', 'latest');
  const open = await verdict('open');
  await results.waitForFunction((open) => document.querySelector('#teacher-table tbody tr:first-child td:nth-of-type(2)')?.textContent.startsWith(open), open);
  await results.waitForSelector('#teacher-table .results-box:not([aria-busy])');
  const handedRows = await results.$$eval('#teacher-table tbody tr', (trs) => trs.map((tr) => [...tr.cells].map((c) => c.textContent)));
  // (A code handed in within seconds may be flagged too fast besides.)
  assert.deepEqual([0, 2].map((i) => [handedRows[i][0], handedRows[i][2].startsWith(open), handedRows[i].at(-4), handedRows[i].at(-1).split(' ')[0]]),
                   [['김민수', true, '3', await text(results, 'flag.codes')], ['박서연', true, '0', await text(results, 'flag.codes')]]);

  // The keys: a sheet for each student, with the name (and, but from a file,
  // that student's own link), then their keys, each with the name.
  await harness.clickToPrint(results, '#teacher-keys');
  const sheets = await results.$$eval('#worksheet .sheet', (all) => all.map((sheet) =>
    [sheet.querySelector('.sheet-name .write').textContent, sheet.querySelector('.sheet-link')?.textContent ?? null]));
  assert.deepEqual(sheets, classList.map((name) => [name, null]));
  assert.deepEqual(await results.$$eval('#worksheet .sheet-key .key-id', (all) => all.map((id) => id.textContent.split(' · ').at(-1))), classList);
  await close(results);

  // Over http, a page of the names, each with the QR code of their own link.
  if (harness.engine !== 'chromium') return;
  const server = await harness.serve(build);
  try {
    const served = await harness.open(browser(), server.url + 'index.html' + new URL(teacherLink).hash, { ready: '#teacher-facts dd' });
    assert.equal(await served.$('#teacher-links .note-box'), null);
    await harness.clickToPrint(served, '#teacher-links .print-qr');
    const cards = await served.$$eval('#class-sheet .name-card', (all) => all.map((card) =>
      [card.querySelector('.name-card-name').textContent, card.querySelectorAll('.qr path').length, card.querySelector('.sheet-link').textContent]));
    assert.deepEqual(cards, links.map(([name, link]) => [name, 1, server.url + 'index.html' + new URL(link).hash]));
    await close(served);
  } finally {
    await server.close();
  }
});
