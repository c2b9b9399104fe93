// An assignment's package for each SCORM version, made of the release's web
// zip, in a stand-in LMS (lms/) on scorm-again's runtimes, served
// over http: the LMS names the student, who works one stage right and one
// wrong, each answer telling the LMS only what changed; the page is closed;
// reloaded on the session it ended, it sends the student back to the course;
// it opens again on the LMS's saved data where the student stopped, the
// student finishes without a word of the first session rewritten, and the
// LMS's data model holds what each version's gradebook reads. The browser
// keeps nothing of it.
// engines: chromium firefox webkit
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { useBrowser, open, close, serve } from './harness.js';
import { programs } from '../node/programs.js';
import { webZip, lmsFolder } from '../node/scorm-package.js';
import { assignment } from '../../../web/logic/assignments/assignment.js';

const browser = useBrowser();
before(programs);

const a = assignment({ program: 'gjinverse', order: 2, seed: 31, fill: 'none', show: true, title: 'LMS' });
const [name, written] = ['Kim, Minji', 'Minji Kim'];   // as the LMS gives it, as a person writes it

// The release's web zip that GJ_WEB_ZIP names (the release runs this on the
// zip it made), else a zip of this build's files that holds the same.
const releaseZip = () => (process.env.GJ_WEB_ZIP ? fs.readFileSync(process.env.GJ_WEB_ZIP) : webZip(process.env.GJ_WEB_BUILD));

// The content's page, once practice has drawn the stage at hand.
const practising = () => {
  const w = window.lms.content();
  const s = w?.GJ?.page.state.session;
  return Boolean(s && (s.finished || w.document.querySelector(`#practice-stage-${s.current + 1} input.answer:not([readonly]), #practice-stage-${s.current + 1} .choice`)));
};

// Works the content's stage at hand as the student would: each question
// answered right (after wrong, for the first that takes text), or Show.
// Waits for the next stage.
async function work(page, how) {
  const k = await page.evaluate((how) => {
    const w = window.lms.content();
    const { GJ, document: d } = w;
    const s = GJ.page.state.session;
    const at = `#practice-stage-${s.current + 1}`;
    if (how === 'show') d.querySelector(`${at} .show-button`).click();
    let [wrong, answers] = [how === 'wrong', how === 'show' ? 1 : 0];
    for (const q of how === 'show' ? [] : s.stages[s.current].questions) {
      const expected = GJ.check.answerOf(q);
      const field = d.querySelector(`${at} input.answer[data-key="${q.key}"]`);
      if (q.kind === 'invertible') d.querySelector(`${at} .choice[data-key="${q.key}"][data-choice="${expected}"]`).click();
      else if (expected === null) d.querySelector(`${at} .alone[data-key="${q.key}"]`).click();
      if (q.kind === 'invertible' || expected === null) answers++;
      for (const text of [...(wrong && field ? ['12345'] : []), ...(field && expected !== null ? [expected] : [])]) {
        answers++;
        field.value = text;
        field.dispatchEvent(new w.KeyboardEvent('keydown', { key: 'Enter', bubbles: true }));
      }
      if (field) wrong = false;
    }
    return [s.current, answers];
  }, how);
  await page.waitForFunction((k) => { const s = window.lms.content().GJ.page.state.session; return s.finished || s.current > k; }, k[0]);
  await page.waitForFunction(practising);
  return k;
}

// The LMS's calls noted since the first of them, by kind: { get, set, commit },
// and the elements set.
const callsSince = (page, from) => page.evaluate((from) => window.lms.calls.slice(from), from).then((calls) => ({
  get: calls.filter(([c]) => c === 'GetValue').map((c) => c[1]), set: calls.filter(([c]) => c === 'SetValue').map((c) => c.slice(1)),
  commits: calls.filter(([c]) => c === 'Commit').length }));
const callCount = (page) => page.evaluate(() => window.lms.calls.length);

// Opens the content in the LMS, once closed, and waits for practice.
async function openContent(page) {
  await page.evaluate(() => { if (window.lms.closed) window.lms.open(); });
  await page.waitForFunction(practising);
}

// Opens the content again on the session that it ended, as a reload after
// Terminate does: it says to reopen the activity from the course, in place of
// the work and of a name form. Gives what it said, then closes it.
async function reopenEnded(page) {
  await page.evaluate(() => window.lms.open(false));
  await page.waitForFunction(() => Boolean(window.lms.content()?.document.querySelector('.student-reopen')));
  const said = await page.evaluate(() => {
    const { document: d, GJ } = window.lms.content();
    return [d.querySelector('.student-reopen').textContent === GJ.language.t('lms.reopen'), d.querySelector('#student-name, .student-who') === null,
            Object.keys(window.lms.content().localStorage).filter((key) => key.startsWith('gauss-jordan.assignment')).length];
  });
  await closeContent(page);
  return said;
}

async function closeContent(page) {
  await page.evaluate(() => window.lms.close());
  await page.waitForFunction(() => window.lms.closed);
}

// What the content shows of the student and the work: the name, the locks,
// whether the LMS took the work, the stage at hand and the answers of the stages before it.
const shown = (page) => page.evaluate(() => {
  const { GJ, document: d } = window.lms.content();
  const s = GJ.page.state.session;
  return { who: d.querySelector('.student-who').textContent, current: s.current, name: GJ.page.state.student.name,
           locked: d.body.hasAttribute('data-locked'), taken: d.querySelector('.student-lms').hidden,
           answers: [...d.querySelectorAll('#practice-body input.answer')].filter((i) => Number(i.dataset.k) < s.current).map((i) => i.value) };
});

const pick = (data, paths) => Object.fromEntries(paths.map((p) => [p, p.split('.').reduce((at, k) => at?.[k], data)]));

for (const version of ['1.2', '2004']) {
  test(`SCORM ${version}: the package reports the name, stages, score and time, and resumes from the LMS`, async (t) => {
    const { folder, launch, pass } = lmsFolder(version, a, 0.1, releaseZip());
    const server = await serve(folder);
    const page = await open(browser(), `${server.url}index.html?v=${version}&pass=${pass}&name=${encodeURIComponent(name)}` +
                            `&launch=${encodeURIComponent(launch)}`, { ready: practising });
    try {
      const first = await shown(page);
      assert.deepEqual([first.name, first.who.includes(written), first.locked, first.taken], [name, true, true, true], 'named by the LMS, locked');
      // The opening's own batch (its commit among it) taken first: a call a task, it may still be on its way.
      await page.waitForFunction(() => window.lms.content().GJ.page.state.lms.taken === true);
      const opening = await callCount(page);
      const [[right, rightAnswers], [wrong, wrongAnswers]] = [await work(page, 'right'), await work(page, 'wrong')];
      assert.equal(wrong, right + 1);
      const before = await shown(page);
      await closeContent(page);
      const paused = await page.evaluate(() => window.lms.data());
      const session1 = await callsSince(page, 0);
      const answering = await callsSince(page, opening);
      assert.equal(session1.get.filter((e) => /mastery_score|scaled_passing_score/.test(e)).length, 1, 'the pass mark read once');
      const last = new Map();
      for (const [element, value] of session1.set) {
        assert.notEqual(last.get(element), value, `${element} sent again unchanged`);
        last.set(element, value);
      }
      assert.equal(answering.commits, 3, 'committed at each stage done, and as the page closes');
      const ended = await callCount(page);
      assert.deepEqual(await reopenEnded(page), [true, true, 0], 'reloaded after Terminate: back to the course, no name asked, nothing kept');
      assert.deepEqual((await callsSince(page, ended)).set, [], 'nothing told to an ended session');

      // The saved work in an alphabet that a careless form-encoding keeps; resumed from its older form too.
      assert.match(paused.suspend_data, /^W2[A-Za-z0-9_-]+$/);
      await page.evaluate(() => {
        const data = window.lms.data();
        const base64 = data.suspend_data.slice(2).replaceAll('-', '+').replaceAll('_', '/');
        data.suspend_data = 'W1' + base64.padEnd(Math.ceil(base64.length / 4) * 4, '=');
        localStorage.setItem(`lms-data-${window.lms.version}`, JSON.stringify(data));
      });
      const resumed = await callCount(page);
      await openContent(page);
      assert.deepEqual(await shown(page), before, 'the work resumed where it stopped, from the older form');
      let answers = rightAnswers + wrongAnswers;
      while (!(await page.evaluate(() => window.lms.content().GJ.page.state.session.finished))) answers += (await work(page, 'show'))[1];
      const asked = await page.evaluate(() => { const { GJ } = window.lms.content(); return GJ.page.model.stages.length - GJ.page.state.session.from; });
      const kept = await page.evaluate(() => Object.keys(window.lms.content().localStorage).filter((key) => key.startsWith('gauss-jordan.')));
      // Nor a service worker, not even of the session that the LMS refused.
      const workers = await page.evaluate(async () => (await navigator.serviceWorker?.getRegistrations() ?? []).map((r) => r.scope));
      await closeContent(page);
      const data = await page.evaluate(() => window.lms.data());
      const all = await callsSince(page, 0);
      t.diagnostic(`calls per answer: ${((all.get.length + all.set.length + all.commits) / answers).toFixed(2)} (${all.get.length} reads, ` +
                   `${all.set.length} writes to ${new Set(all.set.map(([e]) => e)).size} elements, ${all.commits} commits, ${answers} answers)`);
      const again = (await callsSince(page, resumed)).set.map(([element]) => element);
      assert.deepEqual(again.filter((e) => /^cmi\.interactions\.[01]\./.test(e)), [], 'the first session\'s stages left as they were');
      assert.deepEqual([0, 1].map((n) => data.interactions[n].latency), [0, 1].map((n) => paused.interactions[n].latency), 'their times kept');

      const is12 = version === '1.2';
      const [status, exit, raw] = is12 ? ['core.lesson_status', 'core.exit', 'core.score.raw'] : ['completion_status', 'exit', 'score.raw'];
      assert.deepEqual([pick(paused, [status, exit, raw]), Object.keys(paused.interactions).length],
                       [{ [status]: 'incomplete', [exit]: 'suspend', [raw]: '' }, 2], 'after the first session: not scored while paused');
      const interactions = Array.from({ length: asked }, (_, n) => data.interactions[n]);
      assert.deepEqual(interactions.map((i) => i.result), ['correct', ...Array(asked - 1).fill(is12 ? 'wrong' : 'incorrect')]);
      assert.match(interactions[0].id, new RegExp(`^stage-${right + 1}-`));
      assert.match(interactions[1][is12 ? 'student_response' : 'learner_response'], /^12345/, 'the wrong first answer, as given');
      assert.ok(interactions.every((i) => /^(\d\d:\d\d:\d\d(\.\d+)?|PT[\d.HMS]+)$/.test(i.latency)), 'each stage\'s time');
      // One stage of those asked right the first time, as a percentage and as a share.
      const [percent, share] = [String(Number((100 / asked).toFixed(2))), String(Number((1 / asked).toFixed(4)))];
      const expected = is12
        ? { 'core.student_name': name, 'core.lesson_status': 'passed', 'core.exit': '', 'core.score.raw': percent, 'core.score.max': '100' }
        : { learner_name: name, completion_status: 'completed', success_status: 'passed', exit: 'normal', 'score.raw': percent,
            'score.max': '100', 'score.scaled': share };
      assert.deepEqual(pick(data, Object.keys(expected)), expected);
      assert.ok(data.suspend_data.length > 0 && data.suspend_data.length <= 4096);
      assert.deepEqual([kept, workers], [[], []], 'nothing kept in the browser');
      // Closed while its files are served: the browser may still be fetching some.
      await close(page);
    } finally {
      await server.close();
    }
  });
}
