// "Your own way" on a phone's width, in every engine: a 3 × 4 system typed,
// operations typed and built with buttons, a row written by the learner with
// a wrong cell marked, an undo, the address that opens the work where it
// was, and the reduced form's solution read; a student's reading of it typed
// in full, refused while it cannot be read, then judged.
// engines: chromium firefox webkit
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { pageUrl, useBrowser, open, close, text, chromiumAlone } from './harness.js';
import { readMatrix, fromRun } from '../../../web/logic/own/matrix.js';
import { meaning, sayMeaning, readingOf, reducedOf } from '../../../web/logic/own/reading.js';
import { assignment, studentFragment, exerciseFor } from '../../../web/logic/assignments/assignment.js';
import { make } from '../../../web/logic/practice/exercises.js';
import { shown } from '../../../web/logic/own/numbers.js';
import { programs } from '../node/programs.js';
import { translator } from '../../../web/logic/language/translate.js';

const browser = useBrowser();
// x3 once x1 and x2 are eliminated, and R3 = R1 + R2: infinitely many solutions.
const system = '3 4\n1 2 1 4\n2 4 3 9\n3 6 4 13\n';
const reduced = readMatrix('3 4\n1 2 0 3\n0 0 1 1\n0 0 0 0\n', 'system').matrix;

const cells = (page) => page.$$eval('#own-matrix tbody tr', (rows) => rows.map((row) => [...row.querySelectorAll('td')].map((td) => td.textContent.replace(/\s*\(.*\)$/, ''))));
const fill = (page, selector, value) => page.$eval(selector, (field, v) => { field.value = v; }, value);
// The cells once they are want, or as they stand after 5 s: webkit under load
// once read the table as before an undo, the history as after it.
async function settled(page, want) {
  for (let tries = 0; tries < 50; tries++) {
    const now = await cells(page);
    if (JSON.stringify(now) === JSON.stringify(want)) return now;
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  return cells(page);
}
// Waits until the history lists the start and count operations.
const listed = (page, count) => page.waitForFunction((n) => document.querySelectorAll('#own-history li').length === n + 1, count);

// Types op into the operation field and presses Enter; then, given count, waits for that many operations.
async function typeOp(page, op, count = null) {
  await page.focus('#own-op');
  await page.keyboard.type(op);
  await page.keyboard.press('Enter');
  if (count !== null) await listed(page, count);
}

test('a 3 × 4 system reduced in one\'s own way at 375 px, both ways of typing and of arithmetic', async () => {
  let page = await open(browser(), `${pageUrl}#gjsolve`, { viewport: { width: 375, height: 800 } });
  await page.click('[data-mode="own"]');
  // No run finished yet: the focus on the first control that makes a matrix, once the section is shown.
  await page.waitForFunction(() => document.activeElement.id === 'own-program');
  await page.selectOption('#own-kind', 'system');
  await fill(page, '#own-typed', system);
  await page.click('#own-typed-form button[type="submit"]');
  await page.waitForSelector('#own-matrix table');
  assert.ok(await page.$eval('#own-op', (f) => f.getBoundingClientRect().bottom + scrollY <= 800), 'the operation field on the first screen');
  // An operation draws its row anew, not the table, which would be laid out whole.
  await page.$eval('#own-matrix table', (table) => { table.dataset.kept = ''; });
  await typeOp(page, 'R2 -> R2 - 2R1', 1);
  assert.ok(await page.$('#own-matrix table[data-kept]'), 'the table kept');
  assert.match(await page.textContent('#status'), /R2 → R2 − 2R1/);
  // Built with buttons: R3 → R3 − 3R1.
  await page.click('#own-buttons summary');
  for (const [select, row] of [['#own-row', '2'], ['#own-from', '0']]) await page.selectOption(select, row);
  await fill(page, '#own-factor', '-3');
  await page.click('[data-build="add"]');
  await listed(page, 2);
  assert.deepEqual((await cells(page)).slice(1), [['0', '0', '1', '1'], ['0', '0', '1', '1']]);


  // The learner's arithmetic: R3 → R3 − R2 written with the sign the other way, then right.
  await page.click('input[name="own-by"][value="learner"]');
  await typeOp(page, 'R3 -> R3 - R2');
  await page.waitForSelector('#own-cell-3');
  for (const [k, value] of ['0', '0', '2', '2'].entries()) await fill(page, `#own-cell-${k}`, value);
  await page.click('#own-row-form button[type="submit"]');
  await page.waitForSelector('#own-cell-2[aria-invalid="true"]');
  assert.deepEqual(await page.$$eval('#own-fields input', (fields) => fields.map((f) => f.getAttribute('aria-invalid'))), ['false', 'false', 'true', 'true']);
  assert.equal(await page.textContent('#own-slip'), `${await text(page, 'own.view.wrongCells', { count: 2 })} ${await text(page, 'own.slip.sign')}`);
  for (const k of [2, 3]) await fill(page, `#own-cell-${k}`, '0');
  await page.click('#own-row-form button[type="submit"]');
  await listed(page, 3);
  await page.click('input[name="own-by"][value="page"]');

  // A swap undone: the matrix as before it.
  const kept = await cells(page);
  await typeOp(page, 'R1 <-> R2', 4);
  await page.click('#own-undo');
  await page.waitForFunction(() => document.querySelector('#own-history li[aria-current]')?.textContent.startsWith('R3'));
  assert.deepEqual(await settled(page, kept), kept);

  // The address links to the work where it was (written after the frame that
  // shows it); the last operation reduces it.
  const address = await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => setTimeout(() => done(location.hash), 0))));
  await close(page);
  page = await open(browser(), pageUrl + address, { viewport: { width: 375, height: 800 }, ready: '#own-matrix table' });
  assert.deepEqual(await cells(page), kept);
  await typeOp(page, 'R1 = R1 - R2');
  await page.waitForSelector('#own-meaning:not([hidden])');
  assert.equal(await page.textContent('#own-meaning p'), sayMeaning(translator('en'), meaning(reduced, 'system')));
  assert.ok(await page.evaluate(() => document.scrollingElement.scrollWidth <= 375), 'nothing wider than the phone');
  await close(page);
});

// Reduces the student's matrix on page by the hints' operations, to the reading that it asks.
async function followHints(page) {
  while (await page.isVisible('#own-hint')) {
    await page.click('#own-hint');
    await page.waitForSelector('#own-help:not([hidden])');
    await typeOp(page, /R\d+ ?[↔→].*?(?=[.。]?$)/.exec(await page.textContent('#own-help'))[0]);
    await page.waitForFunction(() => document.getElementById('own-op').value === '');
  }
  await page.waitForSelector('#own-read:not([hidden])');
}

// A student's own assignment at 375 px, reduced by the hints' operations: the
// reading asked typed in full; one that cannot be read is said, what was
// typed kept; one whose point misses an equation is judged wrong, saying which.
test('a student reads the reduced matrix off in full, and is told what is wrong', async () => {
  const a = assignment({ mode: 'own', program: 'gjsolve', order: 2, seed: 5, options: ['nice'] });
  await programs();  // the students' matrices made under node, by the same programs as the page's
  const start = fromRun('gjsolve', make(exerciseFor(a, 'Kim')).input);
  const { set } = readingOf(meaning(reducedOf(start.matrix), 'system'));
  const page = await open(browser(), pageUrl + studentFragment(a, 'Kim'), { viewport: { width: 375, height: 800 }, ready: '#own-op' });
  await followHints(page);
  await fill(page, '#own-read-set', 'x1 = 2t#');
  await page.click('#own-read button[type="submit"]');
  await page.waitForFunction(() => document.getElementById('own-read-problem').textContent.includes('#'));
  assert.equal(await page.inputValue('#own-read-set'), 'x1 = 2t#', 'what was typed is kept');
  await fill(page, '#own-read-set', set.replace(/\d+$/, (last) => String(Number(last) + 1)));
  await page.click('#own-read button[type="submit"]');
  await page.waitForSelector('#own-read-verdict:not([hidden])');
  assert.match(await page.textContent('#own-read-verdict'), /^Not right\. \(.*\) does not solve equation \d\.$/);
  assert.ok(await page.isVisible('#own-meaning') && !(await page.isVisible('#own-read')));
  assert.ok(await page.evaluate(() => document.scrollingElement.scrollWidth <= 375), 'nothing wider than the phone');
  await close(page);
});

// Of [A | I], A⁻¹ typed an entry a box, row by row: one entry off is named by its row and column.
test('a student types A⁻¹ an entry a box, and is told which entry is not A⁻¹\'s', chromiumAlone, async () => {
  await programs();
  const a = assignment({ mode: 'own', program: 'gjinverse', order: 2, seed: 4, options: ['nice'] });
  const start = fromRun('gjinverse', make(exerciseFor(a, 'Kim')).input);
  const entries = meaning(reducedOf(start.matrix), 'inverse').inverse.flat().map(shown);
  const page = await open(browser(), pageUrl + studentFragment(a, 'Kim'), { ready: '#own-op' });
  await followHints(page);
  await page.$$eval('#own-read input[name="own-read-entry"]', (inputs, values) => inputs.forEach((input, k) => { input.value = values[k]; }),
    [...entries.slice(0, 3), `${entries[3]}1`]);
  await page.click('#own-read button[type="submit"]');
  await page.waitForSelector('#own-read-verdict:not([hidden])');
  assert.match(await page.textContent('#own-read-verdict'), /\(row, column\) \(2, 2\)\.$/);
  await close(page);
});
