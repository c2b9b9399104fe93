// The page as an installable app: served over http, its service worker caches
// every file, and the page then runs with the server gone and the browser
// offline; from file:// nothing of it is tried. GJ_WEB_BUILD names the web build
// folder, CMAKE_COMMAND the cmake that makes sw.js.
// engines: chromium
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { build, pageUrl, useBrowser, open, waitForPrompt, close, serve, typeCase, goldenCase,
        download } from './harness.js';

const browser = useBrowser();

test('over http the page is installable, and runs offline once its service worker controls it', async () => {
  const server = await serve(build);
  const page = await open(browser(), `${server.url}index.html#gjinverse`);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  // The browser contexts of the tests are incognito, where no app installs; any other reason counts.
  const cdp = await page.context().newCDPSession(page);
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  assert.deepEqual(installabilityErrors.filter((error) => error.errorId !== 'in-incognito'), []);
  const manifest = await cdp.send('Page.getAppManifest');
  assert.deepEqual(manifest.errors, []);
  assert.equal(manifest.url, `${server.url}manifest.webmanifest`);

  await server.close();
  await page.context().setOffline(true);
  await page.reload();
  await waitForPrompt(page);
  await typeCase(page, 'gjinverse/worked-2x2');
  assert.ok((await download(page)).equals(goldenCase('gjinverse/worked-2x2').expected), 'the golden bytes');
  await close(page);
});

// Registering would fail with a console error, which close() checks for. The
// page's modules come as one classic script, which file:// runs where it
// refuses modules, in syntax that the oldest browsers it names take.
test('from the disk the page runs one bundled script beside the programs, and links no manifest', async () => {
  const page = await open(browser(), pageUrl);
  assert.equal(await page.locator('link[rel="manifest"]').count(), 0);
  assert.deepEqual(await page.$$eval('script', (all) => all.map((s) => [s.getAttribute('src'), s.type])),
                   [['page.js', ''], ['programs.js', '']]);
  assert.doesNotMatch(fs.readFileSync(path.join(build, 'page.js'), 'utf8'), /\(\?<[=!]/, 'no lookbehind, which Safari 15 refuses');
  await close(page);
});

// sw.js names its cache after a hash of the files it caches: any one of them
// changed must give a new name, or browsers would keep serving the old files.
test('a change to any cached file renames the cache', () => {
  const files = fs.readFileSync(path.join(build, 'sw.js'), 'utf8').match(/const files = \[(.*)\];/)[1]
    .split(', ').map((quoted) => quoted.slice(1, -1));
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'gj-sw-'));
  for (const file of files) fs.copyFileSync(path.join(build, file), path.join(folder, file));
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
  assert.ok(files.includes('programs.js') && files.includes('index.html'));
  fs.rmSync(folder, { recursive: true });
});
