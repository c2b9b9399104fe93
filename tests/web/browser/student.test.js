// A student's page: no printout of a stage not done anywhere in the locked
// document; the hand-in that asks first, and refuses while there is no work;
// and two tabs of one link, where the tab behind takes the newer work.
// engines: chromium firefox webkit
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import * as harness from './harness.js';
import { assignment, studentFragment } from '../../../web/logic/assignments/assignment.js';

const browser = harness.useBrowser();
const a = assignment({ seed: 11, order: 2, options: ['nice'], hints: 1, show: true, title: '역행렬 과제' });
const link = harness.pageUrl + studentFragment(a, '김민수');
const field = (stage) => `#practice-stage-${stage} input.answer:not([readonly])`;

// The student's link, at the stage asked first; in context to share its storage, else in a new one (Korean, width wide).
const openLink = (context = null, width = 1280) =>
  harness.open(browser(), link, { ...(context ? { context } : { locale: 'ko-KR', viewport: { width, height: 800 } }), ready: field(2) });

// Fills the stage at hand (stage, 1-based) in with Show, and waits for the next.
async function show(page, stage) {
  await page.click(`#practice-stage-${stage} .show-button`);
  await page.waitForSelector(field(stage + 1));
}

// What the locked document holds of the stages not done: the entries and
// commentary lines of those stages that no stage done, and no page before a run, has too.
const unreached = (page) => page.evaluate((bare) => {
  const { model, session } = GJ.page.state;
  const texts = (stages) => stages.flatMap((s) => [...s.rows.flat(), ...(s.line ? [s.line] : [])]);
  const done = new Set(texts(model.stages.slice(0, session.current)));
  const html = document.documentElement.outerHTML;
  return texts(model.stages.slice(session.current)).filter((x) => x.length >= 3 && !done.has(x) && !bare.includes(x) && html.includes(x));
}, fs.readFileSync(path.join(harness.build, 'index.html'), 'utf8'));

test('a locked page holds no printout of a stage not done; handed in, it holds them all', async () => {
  const page = await openLink(null, 375);
  assert.deepEqual(await unreached(page), []);
  assert.deepEqual(await page.$$eval('#pane .pane-stage', (all) => all.map((s) => s.dataset.k)), ['0'], 'the input\'s printout alone');
  assert.ok(await page.evaluate(() => ['nav', '#examples', '#restart', '#share'].every((s) => document.querySelector(s).hidden)), 'no way out');
  await show(page, 2);
  assert.deepEqual(await unreached(page), []);
  if (harness.engine === 'chromium') await page.screenshot({ path: path.join(harness.build, 'web-student-locked-375-ko.png'), fullPage: true });
  await page.click('#student .hand-in');
  await page.click('#hand-in-yes');
  await page.waitForSelector('#student-code');
  const count = await page.evaluate(() => GJ.page.model.stages.length);
  assert.equal(await page.$$eval('#pane .pane-stage', (all) => all.length), count, 'every printout, once handed in');
  assert.ok(await page.evaluate(() => !document.querySelector('nav').hidden));
  if (harness.engine === 'chromium') await page.screenshot({ path: path.join(harness.build, 'web-student-handed-375-ko.png'), fullPage: true });
  await harness.close(page);
});

test('the hand-in refuses while there is no work, then asks, saying the stages left', async () => {
  const page = await openLink();
  await page.click('#student .hand-in');
  await page.waitForSelector('#student .student-empty');
  assert.equal(await page.evaluate(() => document.getElementById('student-code')), null);
  await show(page, 2);
  await page.click('#student .hand-in');
  const asked = await page.evaluate(() => GJ.page.model.stages.length - 1);
  assert.equal(await page.textContent('#student .student-ask p'), await harness.text(page, 'student.handInAsk', { asked, left: asked - 1 }));
  assert.equal(await page.evaluate(() => document.activeElement.id), 'hand-in-yes');
  await page.click('#student .hand-in-no');
  assert.equal(await page.evaluate(() => document.querySelector('#student .student-ask')), null);
  if (harness.engine === 'chromium') await page.screenshot({ path: path.join(harness.build, 'web-student-locked-1280-ko.png'), fullPage: true });
  await page.click('#student .hand-in');
  await page.click('#hand-in-yes');
  await page.waitForSelector('#student-code');
  if (harness.engine === 'chromium') await page.screenshot({ path: path.join(harness.build, 'web-student-handed-1280-ko.png'), fullPage: true });
  await harness.close(page);
});

// Tab 1 reaches stage 3 in a context of its own; what it stored is then put
// in the storage of a second context, from a tab there that has not read it
// (a tab's own write tells no tab of it), which is behind; a third tab there
// hears of the change.
test('two tabs of one link: the tab behind takes the newer work, and a reload keeps it', async () => {
  const first = await openLink();
  await show(first, 2);
  const kept = await first.evaluate(() => Object.entries(localStorage).find(([key]) => key.includes('.assignment.')));
  await harness.close(first);
  const stale = await openLink();
  const context = stale.context();
  const told = await openLink(context);
  await stale.evaluate(([key, value]) => localStorage.setItem(key, value), kept);
  // The tab that hears re-reads the work at once, and says where it went on.
  await told.waitForSelector(field(3));
  assert.ok(await told.isVisible('#student .student-elsewhere'));
  // The stale tab answers at stage 2: its work is older, so it takes the newer instead.
  await stale.focus(field(2));
  await stale.keyboard.type('999');
  await stale.keyboard.press('Enter');
  await stale.waitForSelector(field(3));
  assert.equal(await stale.textContent('#student .student-elsewhere'), await harness.text(stale, 'student.elsewhere'));
  const again = await harness.open(browser(), link, { context, ready: field(3) });
  assert.equal(await again.evaluate((s) => document.querySelector(s), field(2)), null, 'a reload opens at stage 3, not 2');
  await harness.close(again);
  await harness.close(told);
  await harness.close(stale);
});

// Over http, where a print carries a link and its QR code: a locked page's
// print leads back to the student's own link, never to practice of its matrix.
test('a locked page\'s print leads back to the assignment', harness.chromiumAlone, async () => {
  const server = await harness.serve(harness.build);
  try {
    const own = server.url + 'index.html' + studentFragment(a, '김민수');
    const page = await harness.open(browser(), own, { locale: 'ko-KR', ready: field(2) });
    const printed = await page.evaluate(() => {
      dispatchEvent(new Event('beforeprint'));
      const found = [document.querySelector('#worksheet .sheet-link').textContent, document.querySelectorAll('#worksheet .qr').length];
      dispatchEvent(new Event('afterprint'));
      return found;
    });
    assert.deepEqual([printed[0].includes(own), printed[1]], [true, 1]);
    await harness.close(page);
  } finally {
    await server.close();
  }
});
