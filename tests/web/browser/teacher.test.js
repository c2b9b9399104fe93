// The teacher's side, for what only a browser shows: a class of 40 on ten
// stages read at a glance at 1280 px in Korean (no sideways scroll of the
// table's box, a name never broken inside), the gradebook kept across a
// reload (the codes, the table and the list of assignments back) with its
// scores across the gradebook downloaded, and a year's gradebook too large for
// localStorage (in IndexedDB), a student's link made a teacher's
// opening nothing of the teacher's, and an assignment of the student's own
// operations made with the form, whose teacher's link opens on what it asks.
// engines: chromium firefox webkit
import { test } from 'node:test';
import path from 'node:path';
import assert from 'node:assert/strict';
import { build, engine, pageUrl, useBrowser, open, close } from './harness.js';
import { assignment, id, secretOf, teacherFragment, studentFragment, parseLink } from '../../../web/logic/assignments/assignment.js';
import { write, newResult } from '../../../web/logic/assignments/result-code.js';

const browser = useBrowser();
const family = ['김', '이', '박', '최', '정', '강', '조', '윤', '장', '임'];
const given = ['민준', '서연', '도윤', '하은'];
const names = family.flatMap((f) => given.map((g) => f + g));
// gjsolve of order 4 from stage 3: ten stages asked.
const a = assignment({ program: 'gjsolve', order: 4, from: 3, seed: 77, names, title: '연립방정식 과제', secret: secretOf(Array(16).fill(7)) });
const handed = Date.UTC(2026, 11, 8, 9);
const code = write({ ...newResult(id(a), names[0], handed - 600000), handed });

// The table's rows as [name, score], and whether its box scrolls sideways or a name breaks.
const look = (page) => page.evaluate(() => {
  const box = document.querySelector('#teacher .results-box');
  const broken = [...box.querySelectorAll('.row-open')].filter((b) => b.getClientRects().length > 1 || b.offsetHeight > 2 * parseFloat(getComputedStyle(b).lineHeight));
  return { rows: [...box.querySelectorAll('tbody tr')].map((tr) => [tr.cells[0].textContent, tr.cells[1].textContent]),
           stages: box.querySelectorAll('th.stage-head').length, sideways: box.scrollWidth > box.clientWidth, broken: broken.length };
});

test('a class of 40 on ten stages fits 1280 px in Korean, and comes back after a reload with its codes', async () => {
  const page = await open(browser(), pageUrl + teacherFragment(a), { ready: '#teacher-facts dd', locale: 'ko-KR', viewport: { width: 1280, height: 800 } });
  await page.evaluate((text) => { document.getElementById('teacher-codes').value = text; }, `제출합니다 ${code}`);
  await page.click('#teacher-form button');
  await page.waitForSelector('#teacher-table .results-box:not([aria-busy])');
  const drawn = await look(page);
  assert.deepEqual([drawn.rows.length, drawn.rows[0], drawn.rows[1], drawn.stages, drawn.sideways, drawn.broken],
                   [40, [names[0], '0/10'], [names[1], ''], 10, false, 0]);
  if (engine === 'chromium') await page.screenshot({ path: path.join(build, 'web-teacher-class-ko.png'), fullPage: true });
  await page.reload();
  await page.waitForSelector('#teacher-table .results-box:not([aria-busy])');
  assert.deepEqual(await look(page), drawn, 'the table back');
  assert.equal((await page.inputValue('#teacher-codes')).trim(), code, 'the codes pasted, kept');
  assert.deepEqual(await page.$$eval('#teacher-book li a', (all) => all.map((link) => link.getAttribute('href'))), [teacherFragment(a)]);
  assert.deepEqual(await page.$$eval('#assignment-book li a', (all) => all.length), 1, 'listed under the form too');
  // The scores across the gradebook: a file, a row a student.
  const scores = (await page.download('#teacher-book button.book-csv')).toString('utf8').split('\r\n');
  assert.deepEqual([scores.length, scores[0], scores[1]], [42, '\ufeff이름,연립방정식 과제', `${names[0]},0`]);
  await close(page);
});

// A year's gradebook, two assignments of 28,000 codes each kept as the page
// keeps them (8 MB, past the 5 MB that localStorage holds), opened from a file
// where one that an older page kept in localStorage was moved over: both
// back after a reload, nothing said unkept.
test('a gradebook past what localStorage holds is kept across a reload, and one that an older page kept there is moved over', async () => {
  const entry = (x, codes = '') => ({ link: teacherFragment(x), codes, rule: 'best', edits: 0, dropped: [] });
  const codes = (seed) => Array.from({ length: 28000 }, (_, i) => `GJR1${seed}${String(i).padStart(6, '0')}`.padEnd(150, 'Q')).join('\n');
  const year = [1, 2].map((seed) => entry(assignment({ seed, secret: secretOf(Array(16).fill(seed)) }), codes(seed)));
  const file = JSON.stringify({ format: 'gauss-jordan gradebook', version: 1, assignments: year });
  assert.ok(file.length > 8e6, `${file.length} bytes`);
  // An older page's gradebook put in localStorage from a page of another address, then the teacher's link opened.
  const page = await open(browser(), `${pageUrl}?older#gjinverse`);
  await page.evaluate((book) => localStorage.setItem('gauss-jordan.gradebook', book), JSON.stringify({ [id(a)]: entry(a) }));
  await page.goto(pageUrl + teacherFragment(a));
  await page.waitForSelector('#teacher-book li');
  const mark = () => page.evaluate(() => localStorage.getItem('gauss-jordan.gradebook@'));
  assert.deepEqual([await page.evaluate(() => localStorage.getItem('gauss-jordan.gradebook')), (await mark()) !== null], [null, true], 'moved over');
  const before = await mark();
  for (let at = 0; at < file.length; at += 1e6) await page.evaluate((part) => { window.bookFile = (window.bookFile ?? '') + part; }, file.slice(at, at + 1e6));
  await page.evaluate(() => {
    const [input, chosen] = [document.querySelector('#teacher .book-file'), new DataTransfer()];
    chosen.items.add(new File([window.bookFile], 'gradebook.json', { type: 'application/json' }));
    input.files = chosen.files;
    input.dispatchEvent(new Event('change', { bubbles: true }));
  });
  await page.waitForFunction((before) => localStorage.getItem('gauss-jordan.gradebook@') !== before, before, { timeout: 60000 });
  await page.reload();
  await page.waitForFunction(() => document.querySelectorAll('#teacher-book li').length === 3, undefined, { timeout: 60000 });
  assert.equal(await page.$('#teacher-book .note-box'), null, 'nothing said unkept');
  await close(page);
});

test('a student\'s link made a teacher\'s opens nothing of the teacher\'s', async () => {
  const swapped = pageUrl + studentFragment(a, names[0]).replace('&assignment=', '&teacher=');
  const page = await open(browser(), swapped, { ready: '#link-note:not([hidden])', locale: 'ko-KR' });
  assert.deepEqual([await page.$eval('#teacher', (e) => e.hidden), await page.textContent('#link-note')],
                   [true, await page.evaluate(() => GJ.language.t('link.notTeacher'))]);
  assert.equal(await page.$('#teacher-book li'), null, 'nothing kept in the gradebook');
  await close(page);
});

// The form's own fields reach the assignment (mode, arithmetic, no hint, a
// row seen), its stages' fields hidden; its teacher's link opens, in words
// that another part brings.
test('an assignment of the student\'s own operations made with the form, and its teacher\'s link', async () => {
  const page = await open(browser(), `${pageUrl}#gjsolve`, { locale: 'ko-KR' });
  await page.click('[data-mode="practice"]');
  await page.click('#assignment > summary');
  for (const box of ['input[name="assign-mode"][value="own"]', 'input[name="assign-arithmetic"][value="learner"]', '#assign-own-hints', '#assign-own-show']) await page.click(box);
  assert.deepEqual(await page.$$eval('#assign-stages, #assign-own', (all) => all.map((e) => e.hidden)), [true, false]);
  await page.click('#assignment-form button[type="submit"]');
  await page.waitForSelector('#assignment-made:not([hidden])');
  const link = await page.getAttribute('#assignment-teacher', 'href');
  const { mode, arithmetic, hints, show } = parseLink(new URL(link).hash).assignment;
  assert.deepEqual({ mode, arithmetic, hints, show }, { mode: 'own', arithmetic: 'learner', hints: 0, show: true });
  const teacher = await open(browser(), link, { ready: '#teacher-facts dd', locale: 'ko-KR' });
  assert.ok((await teacher.textContent('#teacher-facts')).includes(await teacher.evaluate(() => GJ.language.t('student.own.learner'))));
  await close(teacher);
  await close(page);
});
