// A student's page: no printout of a stage not done anywhere in the locked
// document, the hand-in that refuses without work and asks first, two tabs of
// one link where the tab behind takes the newer work, and a locked print.
// (A tab that hears of another's storage takes newer work as the one behind
// does: state.test.js's rows of workStored.)
// engines: chromium firefox webkit
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import * as harness from './harness.js';
import { assignment, studentFragment } from '../../../web/logic/assignments/assignment.js';

const browser = harness.useBrowser();
const own = studentFragment(assignment({ seed: 11, order: 2, options: ['nice'], hints: 1, show: true, title: '역행렬 과제 1' }), '김민수');
const field = (stage) => `#practice-stage-${stage} input.answer:not([readonly])`;
const bare = fs.readFileSync(path.join(harness.build, 'index.html'), 'utf8');
// The student's link at the stage asked first; in context to share its storage, else in a Korean one of its own.
const openLink = (context = null, url = harness.pageUrl) =>
  harness.open(browser(), url + own, { ...(context ? { context } : { locale: 'ko-KR', viewport: { width: 375, height: 800 } }), ready: field(2) });
const show = (page, stage) => page.click(`#practice-stage-${stage} .show-button`).then(() => page.waitForSelector(field(stage + 1)));
const gone = (page, selector) => page.evaluate((s) => document.querySelector(s) === null, selector);

// The entries and commentary lines of the stages not done that the locked document holds, but for those of stages done or of the bare page.
const unreached = (page) => page.evaluate((bare) => {
  const { model, session } = GJ.page.state;
  const texts = (stages) => stages.flatMap((s) => [...s.rows.flat(), ...(s.line ? [s.line] : [])]);
  const done = new Set(texts(model.stages.slice(0, session.current)));
  return texts(model.stages.slice(session.current)).filter((x) => x.length >= 3 && !done.has(x) && !bare.includes(x) && document.documentElement.outerHTML.includes(x));
}, bare);

// Tab 1 reaches stage 3 in a context of its own; its work is then put in the
// storage of a second context by the tab there that is behind (a tab's own
// write tells no tab), which then answers at stage 2.
test('a locked page: no unreached stage, a hand-in that asks, two tabs', async () => {
  const first = await openLink();
  assert.deepEqual([await unreached(first), await first.evaluate(() => ['nav', '#examples', '#restart'].map((s) => document.querySelector(s).hidden))],
                   [[], [true, true, true]]);
  await first.click('#student .hand-in');
  await first.waitForSelector('#student .student-empty');
  await show(first, 2);
  assert.deepEqual(await unreached(first), []);
  const kept = await first.evaluate(() => Object.entries(localStorage).find(([key]) => key.includes('.assignment.')));
  const stale = await openLink();
  await stale.evaluate(([key, value]) => localStorage.setItem(key, value), kept);
  await stale.focus(field(2));
  await stale.keyboard.type('999');
  await stale.keyboard.press('Enter');
  await stale.waitForSelector('#student .student-elsewhere');
  const reloaded = await harness.open(browser(), harness.pageUrl + own, { context: stale.context(), ready: field(3) });
  assert.ok(await gone(reloaded, field(2)) && await gone(stale, field(2)), 'the newer work taken, and kept over a reload');
  for (const page of [reloaded, stale]) await harness.close(page);
  // Asked first, with the stages left; no, then yes: the code, and every printout.
  await first.click('#student .hand-in');
  const count = await first.evaluate(() => GJ.page.model.stages.length);
  assert.equal(await first.textContent('#student .student-ask p'), await harness.text(first, 'student.handInAsk', { asked: count - 1, left: count - 2 }));
  await first.click('#student .hand-in-no');
  assert.ok(await gone(first, '#student .student-ask'));
  await first.click('#student .hand-in');
  await first.click('#hand-in-yes');
  await first.waitForSelector('#student-code');
  assert.equal(await first.$$eval('#pane .pane-stage', (all) => all.length), count);
  await harness.close(first);
});

// Over http, where a print carries a link and its QR code, it leads back to
// the student's own link; it carries the assignment's title and the student's name.
test('a locked page\'s print leads back to the assignment', harness.chromiumAlone, async () => {
  const server = await harness.serve(harness.build);
  const page = await openLink(null, server.url + 'index.html');
  await page.evaluate(() => dispatchEvent(new Event('beforeprint')));
  assert.ok((await page.textContent('#worksheet .sheet-link')).includes(server.url + 'index.html' + own));
  assert.deepEqual([(await page.textContent('#worksheet .sheet-id')).split(' · ')[0], await page.textContent('#worksheet .sheet-name .write')], ['역행렬 과제 1', '김민수']);
  await harness.close(page);
  await server.close();
});
