// A set of three problems, made with the form (this method's stages of a
// drawn inverse, Show allowed; the students' own way on the teacher's system,
// 2 points; the stages of the teacher's system, pasted with the other),
// worked by a student who moves between them, handed in at once, and read
// by the teacher into a row with a cell a problem.
// engines: chromium firefox webkit
import { test } from 'node:test';
import assert from 'node:assert/strict';
import * as harness from './harness.js';

const browser = harness.useBrowser();
const form = (selector) => `#assignment-form ${selector}`;
const setValue = (page, selector, value) => page.$eval(selector, (e, v) => {
  e.value = v;
  e.dispatchEvent(new Event('input', { bubbles: true }));
  e.dispatchEvent(new Event('change', { bubbles: true }));
}, value);
const count = (page, selector) => page.$$eval(selector, (all) => all.length);

test('a set made with the form, worked by a student, handed in, read by the teacher', async () => {
  const page = await harness.openProgram(browser(), 'gjinverse');
  await page.click('[data-mode="practice"]');
  await page.click('#assignment summary');
  await page.waitForSelector('#assign-add');
  await page.selectOption('#assign-order', '2');
  await page.click(form('input[value="nice"]'));
  await page.click('#assign-show');
  await page.click('#assign-add');
  await page.waitForFunction(() => document.querySelectorAll('#assign-set li').length === 1);
  await page.click(form('input[name="assign-source"][value="given"]'));
  await page.click(form('input[name="assign-mode"][value="own"]'));
  await setValue(page, '#assign-typed', '1 2 | 5\n3 4 | 6');
  await page.click('#assign-add');
  await page.waitForFunction(() => document.querySelectorAll('#assign-set li').length === 2);
  await setValue(page, '#assign-points-2', '2');
  await page.click(form('input[name="assign-mode"][value="stages"]'));
  await setValue(page, '#assign-typed', '1 1 3\n1 -1 x');
  await page.click('#assign-add');
  await page.waitForSelector('#assign-trouble');
  await setValue(page, '#assign-typed', '1 1 3\n1 -1 1');
  await page.click('#assign-add');
  await page.waitForFunction(() => document.querySelectorAll('#assign-set li').length === 3);
  await setValue(page, '#assign-names', 'Kim');
  await page.click(form('button[type="submit"]'));
  await page.waitForSelector('#assignment-made:not([hidden])');
  const link = (await page.inputValue('#assignment-students textarea')).replace(/^Kim: /, '');
  const teacherLink = await page.getAttribute('#assignment-teacher', 'href');
  await harness.close(page);

  // The student: the first problem shown through, an operation on the second, the third not begun.
  const student = await harness.open(browser(), link, { ready: '#practice-stage-2 .show-button' });
  assert.equal(await count(student, '#student .student-problems li'), 3);
  while (await student.$('#practice .show-button')) await student.click('#practice .show-button');
  await student.click('#problem-2');
  await student.waitForSelector('#own-op');
  await student.focus('#own-op');
  await student.keyboard.type('R2 -> R2 - 3R1');
  await student.keyboard.press('Enter');
  await student.waitForFunction(() => document.querySelector('#student .state-begun') !== null);
  await student.click('#student .hand-in');
  await student.waitForSelector('#hand-in-yes');
  assert.match(await student.textContent('#student .student-ask p'), /\b2, 3\b/, 'the problems not done said');
  await student.click('#hand-in-yes');
  await student.waitForSelector('#student-code');
  const code = await student.inputValue('#student-code');
  assert.match(code, /^GJS1[0-9A-Z]+$/);
  await harness.close(student);

  // The teacher: a row, a cell a problem, the total; a cell opens that problem's work.
  const results = await harness.open(browser(), teacherLink, { ready: '#teacher-facts dd' });
  await setValue(results, '#teacher-codes', `Kim: ${code}`);
  await results.click('#teacher-form button');
  await results.waitForSelector('#teacher-table .results-box:not([aria-busy])');
  const cells = await results.$$eval('#teacher-table tbody tr td', (tds) => tds.map((td) => td.textContent));
  assert.deepEqual(cells.slice(0, 5), ['0/1', '0/2', '—', '0', '0']);
  await results.click('#teacher-table button.cell-open[data-at="1"]');
  await results.waitForSelector('#teacher-detail .detail-own li');
  assert.match(await results.textContent('#teacher-detail'), /R2 → R2 − 3R1/);
  await harness.close(results);
});
