// The page's floors (web/README.md): what each module may import, which may
// touch the DOM or the browser, which may keep state of its own, that no file
// name stands on two floors, that the state reaches no program, that no view
// switches on a message's type and that only page/draw.js writes the body's
// attributes. Every module of the page is read, and a few made-up ones show
// that each rule bites. Then the scripts of the build (GJ_WEB_BUILD), from
// their esbuild metafiles: each module in one script alone, and each text
// that a part names there when the part runs.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { needsBuild } from './programs.js';
import { parts } from '../../../web/state/parts.js';
import { texts } from '../../../web/logic/language/texts.js';

const web = path.join(import.meta.dirname, '..', '..', '..', 'web');

// The floor of a module, by its path under web/: page.js and page/, state.js
// and state/, logic/ and views/, each folder with its subfolders.
const floorOf = (file) => file.replace(/\.js$/, '').split('/')[0];

// What each floor may import, as paths under web/ (a bare name is an npm package).
const allowed = {
  logic: (target) => target.startsWith('logic/'),
  state: (target) => target.startsWith('logic/') || target.startsWith('state/'),
  views: (target) => target.startsWith('logic/') || target.startsWith('views/'),
  page: (target) => target !== 'page.js',
};
const pure = new Set(['logic', 'state']);
// The one module of logic/ that keeps state of its own: the programs' holder.
const holder = 'logic/run/runner.js';
const browserUse = /\b(?:document|window|navigator|location|localStorage|sessionStorage|history)\s*\.|\b(?:setTimeout|requestAnimationFrame|addEventListener|fetch)\s*\(/;

// The modules that run the programs: whatever imports one of them, directly or not, does too.
const programs = ['logic/run/runner.js', 'logic/practice/exercises.js'];
const switchesOnType = /\bswitch\s*\(\s*[\w.]*\.type\s*\)|\bmessage\.type\b/;
const bodyWrite = /\bdocument\.body\.(?:dataset|toggleAttribute|setAttribute|removeAttribute|className|classList)\b/;

const withoutComments = (source) => source.replace(/\/\*[\s\S]*?\*\//g, '').replace(/(^|[^:\\'"`])\/\/.*$/gm, '$1');

// The modules of the page that source, a module at file under web/, imports (paths under web/).
const importsOf = (file, code) => [...code.matchAll(/\b(?:import|export)\b[^'"`;]*?\bfrom\s*['"]([^'"]+)['"]|\bimport\s*['"]([^'"]+)['"]/g)]
  .map((m) => m[1] ?? m[2]).filter((specifier) => specifier.startsWith('.'))  // not an npm package, nor the build's own module
  .map((specifier) => path.posix.normalize(path.posix.join(path.posix.dirname(file), specifier)));

// The rules that source, a module at file under web/, breaks: a list of sentences.
function broken(file, source) {
  const floor = floorOf(file);
  const code = withoutComments(source);
  const faults = importsOf(file, code).filter((target) => !allowed[floor](target)).map((target) => `${file} imports ${target}`);
  if (pure.has(floor) && browserUse.test(code)) faults.push(`${file} touches the browser: ${code.match(browserUse)[0]}`);
  // A module's own statements start a line; a function's are indented.
  const kept = code.match(/^(?:export\s+)?(?:let|var)\s+\w+/m);
  if (floor === 'logic' && file !== holder && kept) faults.push(`${file} keeps state of its own: ${kept[0]}`);
  if (floor === 'views' && switchesOnType.test(code)) faults.push(`${file} switches on a message's type`);
  if (file !== 'page/draw.js' && bodyWrite.test(code)) faults.push(`${file} writes the body's attributes`);
  // The scripts lend each other what a name holds once its script has run (build/bundle.js).
  if (/^export\s+(?:let|var)\b/m.test(code) && floor !== 'logic') faults.push(`${file} exports a variable`);
  return faults;
}

// The modules of the state's floor that run the programs, given what each
// module imports (a map from a path under web/ to the paths it imports).
function stateRunning(imports) {
  const running = new Set(programs);
  for (let grown = true; grown;) {
    grown = false;
    for (const [file, targets] of imports)
      if (!running.has(file) && targets.some((target) => running.has(target))) grown = running.add(file);
  }
  return [...imports.keys()].filter((file) => floorOf(file) === 'state' && running.has(file)).map((file) => `${file} runs the programs`);
}

// The names that files, paths under web/, give to more than one floor.
function sharedNames(files) {
  const floors = new Map();
  for (const file of files) {
    const name = path.posix.basename(file);
    floors.set(name, new Set([...(floors.get(name) ?? []), floorOf(file)]));
  }
  return [...floors].filter(([, on]) => on.size > 1).map(([name, on]) => `${name} on ${[...on].join(' and ')}`);
}

const modules = ['page.js', 'state.js', ...['page', 'state', 'logic', 'views'].filter((dir) => fs.existsSync(path.join(web, dir)))
  .flatMap((dir) => fs.readdirSync(path.join(web, dir), { recursive: true }).map((f) => `${dir}/${f.split(path.sep).join('/')}`))]
  .filter((file) => file.endsWith('.js') && fs.existsSync(path.join(web, file)));

test('every module of the page keeps to its floor', () => {
  assert.ok(modules.length > 20, 'the page\'s modules are where the floors say');
  const sources = new Map(modules.map((file) => [file, withoutComments(fs.readFileSync(path.join(web, file), 'utf8'))]));
  const faults = modules.flatMap((file) => broken(file, sources.get(file)));
  const imports = new Map(modules.map((file) => [file, importsOf(file, sources.get(file))]));
  assert.deepEqual([...faults, ...sharedNames(modules), ...stateRunning(imports)], []);
});

test('each rule of the floors bites', () => {
  const cases = [
    ['logic/a.js', "import { b } from './b.js'; // document.body", 0],
    ['logic/a.js', "export const shape = 'document';", 0],
    ['logic/a.js', "const x = document.querySelector('p');", 1],
    ['logic/a.js', "setTimeout(() => {}, 0);", 1],
    ['logic/a.js', "import { el } from '../views/dom.js';", 1],
    ['logic/a.js', "import qrcode from 'qrcode-generator';", 0],
    ['state.js', "import { update } from './views/practice/questions.js';", 1],
    ['views/a.js', "import { update } from '../state.js';", 1],
    ['views/a.js', "import * as page from '../page.js';", 1],
    ['views/a.js', "import { t } from '../logic/language/translate.js'; import { el } from './dom.js'; document.body;", 0],
    ['views/a/b.js', "import { update } from '../../state.js';", 1],
    ['page/a.js', "import { update } from '../state.js'; import { show } from './b.js'; document.body;", 0],
    ['page/a.js', "import * as page from '../page.js';", 1],
    ['state/a.js', "import { b } from './b.js'; import { make } from '../logic/run/share.js';", 0],
    ['state/a.js', "import { el } from '../views/dom.js'; location.hash;", 2],
    ['logic/a/b.js', "import { el } from '../../views/dom.js';", 1],
    ['logic/a.js', "let shown = null;", 1],
    ['logic/a/b.js', "export let count = 0;", 1],
    ['logic/a.js', "function f(xs) {\n  let sum = 0;\n  for (const x of xs) sum += x;\n  return sum;\n}", 0],
    ['logic/run/runner.js', "let programs = null;", 0],
    ['views/a.js', "let drawn = null;", 0],
    ['views/a.js', "export let drawn = null;", 1],
    ['views/a.js', "export function render(state, message) {\n  switch (message.type) { default: }\n}", 1],
    ['views/a.js', "const send = (message) => dispatch({ ...message, type: 'answer' });", 0],
    ['page/console.js', "document.body.dataset.programs = 'loaded';", 1],
    ['page/draw.js', "document.body.toggleAttribute('data-locked', true);", 0],
    ['views/a.js', "section.dataset.printing = ''; document.body.classList.add('x');", 1],
  ];
  assert.deepEqual(cases.map(([file, source]) => broken(file, source).length), cases.map((c) => c[2]));
  const names = [[['logic/x.js', 'views/a/x.js'], 1], [['page.js', 'page/x.js', 'page/a/x.js'], 0], [['state/x.js', 'logic/a/x.js', 'views/x.js'], 1]];
  assert.deepEqual(names.map(([files]) => sharedNames(files).length), names.map((c) => c[1]));
  const graphs = [
    [{ 'state.js': ['logic/a.js'], 'logic/a.js': ['logic/b.js'], 'logic/b.js': ['logic/run/runner.js'] }, ['state.js runs the programs']],
    [{ 'state/a.js': ['logic/practice/exercises.js'], 'state.js': ['state/a.js', 'logic/b.js'] }, ['state/a.js runs the programs', 'state.js runs the programs']],
    [{ 'state.js': ['logic/a.js'], 'logic/a.js': ['logic/b.js'], 'views/a.js': ['logic/run/runner.js'] }, []],
  ];
  assert.deepEqual(graphs.map(([graph]) => stateRunning(new Map(Object.entries(graph)))), graphs.map((c) => c[1]));
});

// The page's scripts as the build made them (build/bundle.js writes each
// one's esbuild metafile): for page.js and each part, the modules under web/
// that it holds (the build's own left out) and the external ones it imports.
function scripts() {
  const folder = path.join(process.env.GJ_WEB_BUILD, 'metafiles');
  return new Map(['page', ...parts.map((part) => part.name)].map((name) => {
    const meta = JSON.parse(fs.readFileSync(path.join(folder, `${name}.json`), 'utf8'));
    const inputs = Object.keys(Object.values(meta.outputs)[0].inputs);
    const held = inputs.filter((input) => path.resolve(web, input).startsWith(web + path.sep) || input.includes('node_modules'));
    const imported = new Set(inputs.flatMap((input) => meta.inputs[input].imports.filter((i) => i.external).map((i) => i.path.replace(/^\.\//, ''))));
    return [name, { held, imported: [...imported] }];
  }));
}

// The parts that load with script (a part's name) or before it: those it
// imports from, and theirs, and the first script, whose own imports of a part
// are read only once that part is there (page/loader.js) and load none.
const loadedWith = (script, bundles, owner) => {
  const found = new Set([script]);
  for (let grown = true; grown;) {
    grown = false;
    for (const name of [...found]) for (const module of bundles.get(name).imported) if (!found.has(owner(module)) && owner(module) !== 'page') grown = found.add(owner(module));
  }
  return found.add('page');
};

// The first script imports a part's module by name alone, read when used (page/loader.js).
test('the first script holds none of the parts\' modules, each module is in one script alone, and a part loads after those it imports from', needsBuild, async () => {
  const bundles = scripts();
  const holders = new Map();
  for (const [name, { held }] of bundles) for (const module of held) holders.set(module, [...(holders.get(module) ?? []), name]);
  const twice = [...holders].filter(([, names]) => names.length > 1).map(([module, names]) => `${module} in ${names.join(' and ')}`);
  const lentElsewhere = parts.flatMap((part) => part.modules.filter((m) => !bundles.get(part.name).held.includes(m)).map((m) => `${m} not in ${part.name}`));
  const unlent = [...bundles].flatMap(([name, { imported }]) => imported.filter((m) => m !== 'logic/language/texts.js' && !holders.has(m)).map((m) => `${name} imports ${m}`));
  // The parts that a part imports from, each loaded before it (page/loader.js, by the build's own list).
  const { imports } = await import(path.join(process.env.GJ_WEB_BUILD, 'page-generated', 'parts.js'));
  const before = (part) => [part, ...(imports[part] ?? []).flatMap(before), 'page'];
  const unloaded = parts.flatMap(({ name }) => [...loadedWith(name, bundles, (m) => holders.get(m)?.[0] ?? 'page')]
    .filter((other) => !before(name).includes(other)).map((other) => `${name} before ${other}`));
  assert.deepEqual([...twice, ...lentElsewhere, ...unlent, ...unloaded], []);
  assert.ok(bundles.get('page').held.includes('logic/run/runner.js') && bundles.get('page').held.includes('views/language.js'));
});

// A module's top-level statements (each starts a line, as above), the names
// each declares, whether it is a helper that takes the translator (t) first,
// and where each name it imports comes from ([module, name]).
function statementsOf(file) {
  const code = withoutComments(fs.readFileSync(path.join(web, file), 'utf8'));
  const imports = new Map([...code.matchAll(/^import\s*\{([^}]*)\}\s*from\s*'(\.[^']+)'/gm)].flatMap(([, names, from]) => names.split(',').filter((n) => n.trim())
    .map((n) => n.trim().split(/\s+as\s+/)).map(([name, local = name]) => [local, [path.posix.join(path.posix.dirname(file), from), name]])));
  return { imports, statements: code.split(/\n(?=[^\s})\]])/).map((text) => ({ text, names: [...text.matchAll(/^(?:export\s+)?(?:function\*?|const|let|class)\s+(\w+)/g)].map((m) => m[1]),
    helper: /^(?:export\s+)?(?:function\s+\w+\s*\(|const\s+\w+\s*=\s*\()\s*t\s*[,)]/.test(text) })) };
}

// The code that runs for a part, [module, statement]: its own modules', and
// the helpers of another script's that it hands the translator, with what
// they reach in turn: such a helper names texts for whoever calls it (the
// first script's askedWords, a teacher's view's, named the student's part's).
function partCode(own) {
  const modules = new Map();
  const of = (file) => modules.get(file) ?? modules.set(file, statementsOf(file)).get(file);
  const [reached, todo] = [new Map(), own.flatMap((file) => of(file).statements.map((s) => [file, s]))];
  while (todo.length > 0) {
    const [file, statement] = todo.pop();
    if (reached.has(statement)) continue;
    reached.set(statement, file);
    for (const [word] of statement.text.matchAll(/\b[A-Za-z_]\w*\b/g)) {
      const [from, name] = of(file).imports.get(word) ?? [file, word];
      if (fs.existsSync(path.join(web, from))) todo.push(...of(from).statements.filter((s) => s.names.includes(name) && (from === file || s.helper)).map((s) => [from, s]));
    }
  }
  return [...reached].map(([statement, file]) => [file, statement.text]);
}

// A text that the code of a part names (a literal id, or the start of some)
// must be there when the part runs: brought by it, by a part loaded before
// it, or by the first script (state/parts.js says which texts each brings).
test('each text that a part names comes with it, with a part loaded before it, or with the first script', needsBuild, () => {
  const bundles = scripts();
  const owner = (module) => [...bundles].find(([, { held }]) => held.includes(module))?.[0] ?? 'page';
  const textOwner = (id) => parts.reduce((best, part) => part.texts.reduce((b, start) =>
    (id.startsWith(start) && start.length > b[1] ? [part.name, start.length] : b), best), ['page', 0])[0];
  const ids = Object.keys(texts.en);
  const missing = parts.flatMap(({ name }) => {
    const there = loadedWith(name, bundles, owner);
    return partCode(bundles.get(name).held.filter((m) => fs.existsSync(path.join(web, m)))).flatMap(([module, code]) =>
      [...code.matchAll(/['"`]([a-z][\w-]*(?:\.[\w-]+)*\.?)['"`$]/g)]
        .flatMap(([, named]) => ids.filter((id) => id === named || (named.endsWith('.') && id.startsWith(named))))
        .filter((id) => !there.has(textOwner(id))).map((id) => `${name}: ${module} names ${id} (${textOwner(id)})`));
  });
  assert.deepEqual([...new Set(missing)], []);
});
