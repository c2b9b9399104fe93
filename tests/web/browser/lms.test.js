// The page's LMS adapter (web/views/lms.js) against scorm-again's SCORM 1.2
// and 2004 runtimes, in a stand-in LMS (lms/) served over http: a content
// page reports two stages, one right and one wrong, and is closed; it opens
// again on the LMS's saved data, reads the name and saved work back, finishes,
// and the LMS's data model holds what each version's gradebook reads.
// engines: chromium firefox webkit
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { useBrowser, open, close, serve } from './harness.js';

const browser = useBrowser();

// A folder with the stand-in LMS, scorm-again, and the content page with the
// adapter bundled for the oldest browsers that the page runs in.
function lmsFolder() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'gj-lms-'));
  const here = path.join(import.meta.dirname, 'lms');
  for (const file of ['index.html', 'host.js', 'fixture.html']) fs.copyFileSync(path.join(here, file), path.join(folder, file));
  fs.copyFileSync(path.join(import.meta.dirname, '..', 'node_modules', 'scorm-again', 'dist', 'scorm-again.min.js'),
                  path.join(folder, 'scorm-again.min.js'));
  execFileSync('esbuild', [path.join(here, 'fixture.js'), '--bundle', '--format=iife', '--target=safari15.4,firefox115,chrome109',
                           '--log-level=warning', `--outfile=${path.join(folder, 'fixture.bundle.js')}`]);
  return folder;
}

const stage = (id, firstAnswer, right) => ({ id, firstAnswer, right, latencyMs: 61500 });
const first = { name: 'Kim, Minji', asked: 3, rightFirstTime: 1, passMark: 0.6, seconds: 130, suspend: '1a1.3.~0111,~1',
  stages: [stage('stage-2-scaled', ['-9', '5'], true), stage('stage-3-pivoted', '1 3 2', false)] };
const last = { ...first, rightFirstTime: 2, seconds: 40, suspend: '1a1.3.~0111,~1~0',
  stages: [...first.stages, stage('stage-4-eliminated', '0.5', true)] };

// What each version's data model holds after each session, by the paths of
// renderCMIToJSONObject().
const expected = {
  '1.2': (done) => ({
    'core.student_name': 'Kim, Minji', 'core.lesson_status': done ? 'passed' : 'incomplete', 'core.exit': done ? '' : 'suspend',
    'core.score.raw': done ? '2' : '1', 'core.score.min': '0', 'core.score.max': '3', suspend_data: done ? last.suspend : first.suspend,
    'interactions.0.student_response': '-9; 5', 'interactions.0.result': 'correct', 'interactions.0.latency': '00:01:01.5',
    'interactions.1.id': 'stage-3-pivoted', 'interactions.1.type': 'fill-in', 'interactions.1.result': 'wrong',
    'interactions.2.result': done ? 'correct' : undefined,
  }),
  2004: (done) => ({
    learner_name: 'Kim, Minji', completion_status: done ? 'completed' : 'incomplete', success_status: done ? 'passed' : 'unknown',
    exit: done ? 'normal' : 'suspend', 'score.raw': done ? '2' : '1', 'score.max': '3', 'score.scaled': done ? '0.6667' : '0.3333',
    suspend_data: done ? last.suspend : first.suspend,
    'interactions.0.learner_response': '-9; 5', 'interactions.0.result': 'correct', 'interactions.0.latency': 'PT1M1.5S',
    'interactions.1.id': 'stage-3-pivoted', 'interactions.1.type': 'long-fill-in', 'interactions.1.result': 'incorrect',
    'interactions.2.result': done ? 'correct' : undefined,
  }),
};

const pick = (data, paths) => Object.fromEntries(paths.map((p) => [p, p.split('.').reduce((at, k) => at?.[k], data)]));

// Opens the content in the LMS of page, and gives what the adapter read from the LMS.
async function openContent(page) {
  await page.evaluate(() => { if (window.lms.closed) window.lms.open(); });
  await page.waitForFunction(() => window.lms.content()?.fixture !== undefined);
  return page.evaluate(() => {
    const { version, name, suspend, entry } = window.lms.content().fixture ?? {};
    return { version, name, suspend, entry };
  });
}

async function closeContent(page) {
  await page.evaluate(() => window.lms.close());
  await page.waitForFunction(() => window.lms.closed);
}

for (const version of ['1.2', '2004']) {
  test(`SCORM ${version}: the LMS gets the name, results, score and saved work, and gives them back on reopening`, async (t) => {
    const server = await serve(lmsFolder());
    t.after(() => server.close());
    const page = await open(browser(), `${server.url}index.html?v=${version}&launch=fixture.html&name=${encodeURIComponent('Kim, Minji')}`,
                            { ready: () => window.lms?.content()?.fixture !== undefined });
    assert.deepEqual(await openContent(page), { version, name: 'Kim, Minji', suspend: '', entry: 'ab-initio' });
    assert.equal(await page.evaluate((r) => window.lms.content().fixture.report(r), first), true, 'committed');
    await closeContent(page);
    const paths = Object.keys(expected[version](false));
    const sessionTime = version === '1.2' ? 'core.session_time' : 'session_time';
    const data = await page.evaluate(() => window.lms.data());
    assert.deepEqual(pick(data, paths), expected[version](false));
    assert.match(pick(data, [sessionTime])[sessionTime], /^(00:00:\d\d(\.\d+)?|PT\d+(\.\d+)?S)$/, 'the session\'s time, ended on closing');

    assert.deepEqual(await openContent(page), { version, name: 'Kim, Minji', suspend: first.suspend, entry: 'resume' });
    assert.equal(await page.evaluate((r) => window.lms.content().fixture.report(r), last), true, 'committed');
    assert.deepEqual(await page.evaluate(() => window.lms.content().fixture.errors), []);
    await closeContent(page);
    assert.deepEqual(pick(await page.evaluate(() => window.lms.data()), paths), expected[version](true));
    await close(page);
  });
}
