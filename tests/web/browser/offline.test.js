// The page as an installable app: served over http, its service worker caches
// every file, the parts of the page among them, and the page then runs with
// the server gone (and, in chromium, the browser offline): a teacher's link
// opens whole, each part it needs loaded from the cache. From file:// the same
// link opens, with nothing of the app tried; a part whose file is missing
// says so in the status line, and the rest of the page works. GJ_WEB_BUILD
// names the web build folder, CMAKE_COMMAND the cmake that makes sw.js.
// engines: chromium firefox webkit
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { build, pageUrl, engine, useBrowser, open, waitForPrompt, close, serve, typeCase, goldenCase,
        download, text } from './harness.js';
import { assignment, teacherFragment, secretOf } from '../../../web/logic/assignments/assignment.js';

const browser = useBrowser();
const teacherLink = teacherFragment(assignment({ seed: 2024, order: 3, names: ['Kim Minji', 'Lee Jiwoo'], secret: secretOf(Array(16).fill(1)) }));
// The teacher's view drawn, its parts loaded.
const teacherShown = '#teacher:not([hidden]) #teacher-facts dd';

test('over http the page is installable, and a teacher\'s link runs offline once its service worker controls it', async () => {
  const server = await serve(build);
  const page = await open(browser(), `${server.url}index.html#gjinverse`);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  if (engine === 'chromium') {
    // The browser contexts of the tests are incognito, where no app installs; any other reason counts.
    const cdp = await page.context().newCDPSession(page);
    const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
    assert.deepEqual(installabilityErrors.filter((error) => error.errorId !== 'in-incognito'), []);
    const manifest = await cdp.send('Page.getAppManifest');
    assert.deepEqual(manifest.errors, []);
    assert.equal(manifest.url, `${server.url}manifest.webmanifest`);
  }

  await server.close();
  if (engine === 'chromium') await page.context().setOffline(true);
  // A query makes it a load of its own, which the worker answers with its index.html.
  await page.goto(`${server.url}index.html?offline${teacherLink}`);
  await page.waitForSelector(teacherShown);
  await page.goto(`${server.url}index.html?again#gjinverse`);
  await waitForPrompt(page);
  await typeCase(page, 'gjinverse/worked-2x2');
  assert.ok((await download(page)).equals(goldenCase('gjinverse/worked-2x2').expected), 'the golden bytes');
  await close(page);
});

// Registering would fail with a console error, which close() checks for. The
// page's modules come as classic scripts, which file:// runs where it refuses
// modules, in syntax that the oldest browsers it names take. A copy of the
// page's folder without a part's file opens the same link: the status line
// says what could not be loaded, and a program still runs.
test('from the disk a teacher\'s link loads its parts as scripts beside the first, and links no manifest; a part missing is said', async () => {
  const page = await open(browser(), pageUrl + teacherLink, { ready: teacherShown });
  assert.equal(await page.evaluate(() => document.querySelectorAll('link[rel="manifest"]').length), 0);
  const scripts = await page.evaluate(() => [...document.scripts].map((s) => [s.getAttribute('src'), s.type]));
  assert.deepEqual(scripts.filter(([src]) => !src.startsWith('parts/')).sort(), [['page.js', ''], ['programs.js', '']]);
  assert.deepEqual(scripts.map(([src]) => src).filter((src) => src.startsWith('parts/')).sort(),
                   ['parts/own-logic.js', 'parts/practice.js', 'parts/print.js', 'parts/qr.js', 'parts/teacher.js']);
  for (const script of ['page.js', ...fs.readdirSync(path.join(build, 'parts')).map((name) => `parts/${name}`)])
    assert.doesNotMatch(fs.readFileSync(path.join(build, script), 'utf8'), /\(\?<[=!]/, `no lookbehind in ${script}, which Safari 15 refuses`);
  await close(page);

  const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'gj-copy-'));
  for (const file of cachedFiles().filter((name) => name !== 'parts/teacher.js')) fs.cpSync(path.join(build, file), path.join(copy, file));
  const broken = await open(browser(), pathToFileURL(path.join(copy, 'index.html')).href + teacherLink);
  const said = await text(broken, 'part.failed', { part: await text(broken, 'part.teacher') });
  await broken.waitForFunction((line) => document.getElementById('status').textContent === line, said);
  await typeCase(broken, 'gjinverse/worked-2x2');
  broken.problems = broken.problems.filter((problem) => !/teacher\.js|Failed to load resource/.test(problem));
  await close(broken);
  fs.rmSync(copy, { recursive: true, force: true });
});

// The files that sw.js caches: every file of the page.
const cachedFiles = () => fs.readFileSync(path.join(build, 'sw.js'), 'utf8').match(/const files = \[(.*)\];/)[1]
  .split(', ').map((quoted) => quoted.slice(1, -1));

// sw.js names its cache after a hash of the files it caches: any one of them
// changed must give a new name, or browsers would keep serving the old files.
test('a change to any cached file renames the cache', { skip: engine !== 'chromium' && `left to chromium in ${engine}` }, () => {
  const files = cachedFiles();
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'gj-sw-'));
  for (const file of files) fs.cpSync(path.join(build, file), path.join(folder, file));
  const web = path.join(import.meta.dirname, '..', '..', '..', 'web', 'build');
  const cacheName = () => {
    execFileSync(process.env.CMAKE_COMMAND, [`-DTEMPLATE=${web}/sw.js.in`, `-DOUTPUT=${folder}/sw.js`,
      `-DFOLDER=${folder}`, '-DNAME=gauss-jordan', '-DVERSION=1.0.0', `-DFILES=${files.join(',')}`,
      '-P', `${web}/service-worker.cmake`]);
    return fs.readFileSync(path.join(folder, 'sw.js'), 'utf8').match(/const cacheName = '(.*)';/)[1];
  };
  const names = new Set([cacheName(), cacheName()]);
  assert.equal(names.size, 1, 'the same files, the same name');
  for (const file of files) {
    fs.appendFileSync(path.join(folder, file), '\n');
    names.add(cacheName());
  }
  assert.equal(names.size, files.length + 1);
  assert.ok(['programs.js', 'index.html', 'page.js', ...fs.readdirSync(path.join(build, 'parts')).map((name) => `parts/${name}`)]
    .every((file) => files.includes(file)), 'every script of the page is cached, each part\'s among them');
  fs.rmSync(folder, { recursive: true });
});
