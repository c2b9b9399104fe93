// The page's floors (web/README.md): what each module may import, and which
// may touch the DOM or the browser. Every module of the page is read, and a few
// made-up ones show that each rule bites.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';

const web = path.join(import.meta.dirname, '..', '..', '..', 'web');

// The floor of a module, by its path under web/.
const floorOf = (file) => (file.startsWith('logic/') ? 'logic' : file.startsWith('views/') ? 'views' : file.replace(/\.js$/, ''));

// What each floor may import, as paths under web/ (a bare name is an npm package).
const allowed = {
  logic: (target) => target.startsWith('logic/'),
  state: (target) => target.startsWith('logic/'),
  views: (target) => target.startsWith('logic/') || target.startsWith('views/'),
  page: (target) => target !== 'page.js',
};
const pure = new Set(['logic', 'state']);
const browserUse = /\b(?:document|window|navigator|location|localStorage|sessionStorage|history)\s*\.|\b(?:setTimeout|requestAnimationFrame|addEventListener|fetch)\s*\(/;

const withoutComments = (source) => source.replace(/\/\*[\s\S]*?\*\//g, '').replace(/(^|[^:\\'"`])\/\/.*$/gm, '$1');

// The rules that source, a module at file under web/, breaks: a list of sentences.
function broken(file, source) {
  const floor = floorOf(file);
  const code = withoutComments(source);
  const faults = [];
  for (const m of code.matchAll(/\b(?:import|export)\b[^'"`;]*?\bfrom\s*['"]([^'"]+)['"]|\bimport\s*['"]([^'"]+)['"]/g)) {
    const specifier = m[1] ?? m[2];
    if (!specifier.startsWith('.')) continue;  // an npm package, or the build's own module
    const target = path.posix.normalize(path.posix.join(path.posix.dirname(file), specifier));
    if (!allowed[floor](target)) faults.push(`${file} imports ${target}`);
  }
  if (pure.has(floor) && browserUse.test(code)) faults.push(`${file} touches the browser: ${code.match(browserUse)[0]}`);
  return faults;
}

const modules = ['page.js', 'state.js', ...['logic', 'views'].flatMap((dir) =>
  fs.readdirSync(path.join(web, dir), { recursive: true }).map((f) => `${dir}/${f.split(path.sep).join('/')}`))]
  .filter((file) => file.endsWith('.js') && fs.existsSync(path.join(web, file)));

test('every module of the page keeps to its floor', () => {
  assert.ok(modules.length > 20, 'the page\'s modules are where the floors say');
  assert.deepEqual(modules.flatMap((file) => broken(file, fs.readFileSync(path.join(web, file), 'utf8'))), []);
});

test('each rule of the floors bites', () => {
  const cases = [
    ['logic/a.js', "import { b } from './b.js'; // document.body", 0],
    ['logic/a.js', "export const shape = 'document';", 0],
    ['logic/a.js', "const x = document.querySelector('p');", 1],
    ['logic/a.js', "setTimeout(() => {}, 0);", 1],
    ['logic/a.js', "import { el } from '../views/dom.js';", 1],
    ['logic/a.js', "import qrcode from 'qrcode-generator';", 0],
    ['state.js', "import { update } from './views/practice.js';", 1],
    ['views/a.js', "import { update } from '../state.js';", 1],
    ['views/a.js', "import * as page from '../page.js';", 1],
    ['views/a.js', "import { t } from '../logic/translate.js'; import { el } from './dom.js'; document.body;", 0],
  ];
  assert.deepEqual(cases.map(([file, source]) => broken(file, source).length), cases.map((c) => c[2]));
});
