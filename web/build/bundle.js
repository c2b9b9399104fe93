// Bundles the page's scripts with esbuild: the first script (page.js), which
// index.html loads, and each part of the page (parts/<name>.js, as
// state/parts.js lists them), classic scripts all, which share no code. A
// module runs in one script alone: each script's imports of a module that
// another script holds are left to esbuild as external, which it makes into
// require('./path'), path the module's under web/, and the page's registry
// (page/loader.js) answers them with the module that the other script lends.
// The first script may import a part's module by name alone: its names are
// read when used, once the part has loaded. The texts (logic/language/texts.js) are the registry's too: each script brings its
// own (state/parts.js says which), so that the first script carries those of
// watching alone.
//
//   1. the first script, to learn the modules it holds;
//   2. each part, its imports of those, and of the modules that the other
//      parts lend, left external: which part imports from which, and what the
//      first script lends;
//   3. the first script again, lending that.
//
// Each script's esbuild metafile is written to metafiles/<script>.json, which
// tests/web/node/floors.test.js reads. Fails, naming the module, where a
// module would be bundled into two scripts, where a script imports a module
// that no other lends, or where the first script imports a part's module
// whole (import * as), whose names could not be read when used.
//
// Run: node bundle.js WEB OUT GENERATED ESBUILD TARGETS, with WEB the page's
// sources, OUT the build folder, GENERATED the build's modules (first-prompts.js).
import { execFileSync } from 'node:child_process';
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';

const [web, out, generated, esbuild, targets] = process.argv.slice(2).map((arg, k) => (k < 3 ? path.resolve(arg) : arg));
const { parts } = await import(path.join(web, 'state', 'parts.js'));
const { texts } = await import(path.join(web, 'logic', 'language', 'texts.js'));
const registry = path.join(web, 'page', 'loader.js');
const textsPath = './logic/language/texts.js';

// A module's path as the scripts name it: under web/, from './'.
const named = (input) => (input.startsWith('.') ? input : `./${input}`);
const unnamed = (module) => (module.startsWith('./') ? module.slice(2) : module);
const sourceOf = (module) => path.join(web, module);
const fail = (why) => {
  console.error(`build/bundle.js: ${why}`);
  process.exit(1);
};

// The id of this build: a digest of every source the scripts are made of, so
// that the page refuses a part of another build.
function buildId() {
  const files = [];
  const walk = (folder) => {
    for (const entry of fs.readdirSync(folder, { withFileTypes: true }).sort((a, b) => (a.name < b.name ? -1 : 1))) {
      const file = path.join(folder, entry.name);
      if (entry.isDirectory() && entry.name !== 'node_modules' && entry.name !== 'build') walk(file);
      else if (entry.isFile() && (entry.name.endsWith('.js') || entry.name === 'package-lock.json')) files.push(file);
    }
  };
  walk(web);
  const hash = crypto.createHash('sha256');
  for (const file of files) hash.update(`${path.relative(web, file)}\n`).update(fs.readFileSync(file));
  // The build's own module by its name alone: where the build folder is is no part of the build.
  hash.update('first-prompts.js\n').update(fs.readFileSync(path.join(generated, 'first-prompts.js')));
  return hash.digest('hex').slice(0, 16);
}

// The part whose texts hold id (the longest start that fits), or null for the first script's.
function textsOwner(id) {
  let owner = null;
  let longest = 0;
  for (const part of parts) {
    for (const start of part.texts) if (id.startsWith(start) && start.length > longest) [owner, longest] = [part.name, start.length];
  }
  return owner;
}

// The texts that script (a part's name, or null) brings: { en: {…}, ko: {…} }.
const textsOf = (script) => Object.fromEntries(Object.entries(texts).map(([code, table]) =>
  [code, Object.fromEntries(Object.entries(table).filter(([id]) => textsOwner(id) === script))]));

// Code that makes texts ({ en: { id: text }, ko: … }), as { prelude, value },
// value an expression of them once prelude has run: their ids once, grouped
// by their start up to the last dot ({ "own.view.": "heading intro …" }),
// then each language's texts in the ids' order, joined by a character that
// none of them holds, which is half the size of a table per language; or,
// for a few texts, where that would be no shorter, the tables themselves.
// Fails where a language lacks a text that another has.
function textsCode(tables) {
  const plain = { prelude: '', value: JSON.stringify(tables) };
  const groups = {};
  for (const id of new Set(Object.values(tables).flatMap(Object.keys))) {
    const start = id.slice(0, id.lastIndexOf('.') + 1);
    groups[start] = groups[start] === undefined ? id.slice(start.length) : `${groups[start]} ${id.slice(start.length)}`;
  }
  const ids = Object.entries(groups).flatMap(([start, ends]) => ends.split(' ').map((end) => start + end));
  for (const [code, table] of Object.entries(tables)) {
    const lacking = ids.find((id) => !Object.hasOwn(table, id));
    if (lacking) fail(`logic/language/texts.js: ${code} has no text ${lacking}`);
  }
  const every = Object.values(tables).flatMap(Object.values);
  const between = [...'^~`@#'].find((c) => every.every((text) => !text.includes(c)));
  if (between === undefined) return plain;
  const compact = {
    prelude: `const ids = Object.entries(${JSON.stringify(groups)}).flatMap(([start, ends]) => ends.split(' ').map((end) => start + end));\n` +
      `const table = (texts) => Object.fromEntries(texts.split(${JSON.stringify(between)}).map((text, k) => [ids[k], text]));\n`,
    value: `{ ${Object.entries(tables).map(([code, table]) => `${code}: table(${JSON.stringify(ids.map((id) => table[id]).join(between))})`).join(', ')} }`,
  };
  // What the prelude costs once minified, against what it saves.
  return compact.prelude.length + compact.value.length + 60 < plain.value.length ? compact : plain;
}

// The module that brings a part's texts to the registry (admit).
function partTexts(name) {
  const { prelude, value } = textsCode(textsOf(name));
  return `import { admit } from ${JSON.stringify(registry)};\n${prelude}admit(${JSON.stringify(name)}, ${JSON.stringify(build)}, ${value});\n`;
}

// Writes a generated module, unless it holds that already (so that make sees no change).
function write(name, text) {
  const file = path.join(generated, name);
  if (!fs.existsSync(file) || fs.readFileSync(file, 'utf8') !== text) fs.writeFileSync(file, text);
  return file;
}

// The statements that lend modules (a map from each module's path to the
// names lent of it, or '*' for all of it) under their names: each a
// namespace, or an object of the names lent, so that what no script uses of
// the module stays out of the bundle. The values are those that the names
// hold once the script has run: no module of the page exports a let.
function lending(modules) {
  const lent = [...modules];
  const imports = lent.map(([module, names], k) => (names === '*' ? `import * as m${k} from ${JSON.stringify(sourceOf(module))};\n`
    : `import { ${[...names].map((name, j) => `${name} as m${k}_${j}`).join(', ')} } from ${JSON.stringify(sourceOf(module))};\n`));
  const objects = lent.map(([module, names], k) => `${JSON.stringify(named(module))}: ` + (names === '*' ? `m${k}`
    : `{ ${[...names].map((name, j) => `${name}: m${k}_${j}`).join(', ')} }`));
  return `${imports.join('')}const lent = {${objects.join(', ')}};\n`;
}

// The names that source, module (a path under web/), imports of each module:
// a map from a module's path under web/ to a set of names, or '*'.
function importedNames(module, source) {
  const code = source.replace(/\/\*[\s\S]*?\*\//g, '').replace(/(^|[^:\\'"`])\/\/.*$/gm, '$1');
  const found = new Map();
  for (const [, clause, specifier] of code.matchAll(/\b(?:import|export)\s+([^;'"]*?)\s*from\s*['"]([^'"]+)['"]/g)) {
    if (!specifier.startsWith('.')) continue;
    const target = path.posix.normalize(path.posix.join(path.posix.dirname(module), specifier));
    const names = found.get(target) ?? new Set();
    if (names === '*' || /\*/.test(clause)) { found.set(target, '*'); continue; }
    if (/^\w+/.test(clause) && !clause.startsWith('{')) names.add('default');
    for (const item of clause.match(/\{([^}]*)\}/)?.[1].split(',') ?? []) if (item.trim()) names.add(item.trim().split(/\s+as\s+/)[0]);
    found.set(target, names);
  }
  return found;
}

// Adds to lends (a map as lending() takes) what names asks of module.
function lend(lends, module, names) {
  const had = lends.get(module) ?? new Set();
  lends.set(module, had === '*' || names === '*' ? '*' : new Set([...had, ...names]));
}

// Bundles entry into OUT/file, with externals (paths under web/, matched once
// resolved, whatever path an import names them by), writing its metafile;
// gives the metafile.
function bundle(entry, file, externals, globalName = null) {
  const metafile = path.join(out, 'metafiles', `${path.basename(file, '.js')}.json`);
  fs.mkdirSync(path.dirname(metafile), { recursive: true });
  fs.mkdirSync(path.dirname(path.join(out, file)), { recursive: true });
  // The scripts' require: the registry's, found when first asked, as the first script makes it itself.
  const footer = `${globalName ? `globalThis.${globalName} = ${globalName};\n` : ''}})(function (path) { return gaussJordanParts.require(path); });`;
  execFileSync(esbuild, [entry, '--bundle', '--format=iife', ...(globalName ? [`--global-name=${globalName}`] : []),
    `--target=${targets}`, '--minify', '--charset=utf8', '--log-level=warning', `--alias:gj-build=${generated}`,
    ...externals.map((module) => `--external:${path.resolve(web, module)}`),
    '--banner:js=(function (require) {', `--footer:js=${footer}`, `--metafile=${metafile}`, `--outfile=${path.join(out, file)}`],
  { cwd: web, stdio: 'inherit' });
  return canonical(JSON.parse(fs.readFileSync(metafile, 'utf8')), path.join(out, file), metafile);
}

// esbuild names an external module by its path from the script's folder: the
// script and its metafile are written with its path under web/ instead (as
// require() names it), the same wherever the folders are.
function canonical(meta, file, metafile) {
  const from = path.dirname(file);
  const renamed = new Map();
  for (const input of Object.values(meta.inputs)) {
    for (const i of input.imports) {
      if (!i.external) continue;
      const module = path.relative(web, path.resolve(from, i.path)).split(path.sep).join('/');
      renamed.set(i.path, named(module));
      i.path = named(module);
    }
  }
  let text = fs.readFileSync(file, 'utf8');
  for (const [rendered, module] of renamed) text = text.split(JSON.stringify(rendered)).join(JSON.stringify(module));
  fs.writeFileSync(file, text);
  fs.writeFileSync(metafile, JSON.stringify(meta, null, 1));
  return meta;
}

// What a bundle's metafile says: the modules it holds (paths under web/, or
// the build's own), and the external ones it imports.
function contents(meta) {
  const [output] = Object.values(meta.outputs);
  const held = Object.keys(output.inputs);
  const imported = new Set(held.flatMap((input) => meta.inputs[input].imports.filter((i) => i.external).map((i) => i.path)));
  return { held: held.filter((input) => !input.startsWith('../') || !path.resolve(web, input).startsWith(generated)), imported: [...imported] };
}

// The first script's entry: its texts first, then the page, then what it lends.
function firstEntry(lent) {
  const { prelude, value } = textsCode(textsOf(null));
  write('texts-page.js', `import { provide } from ${JSON.stringify(registry)};\n${prelude}provide({ ${JSON.stringify(textsPath)}: { texts: ${value} } });\n`);
  return write('page-entry.js', `import './texts-page.js';\nexport * from ${JSON.stringify(path.join(web, 'page.js'))};\n` +
    `import { provide } from ${JSON.stringify(registry)};\n${lending(lent)}provide(lent);\n`);
}

// Bundles each part, the modules of the first script (first) left external;
// gives [{ part, held, imported }] for each.
function bundleParts(first) {
  return parts.map((part) => {
    for (const module of part.modules) if (first.includes(module)) fail(`${module}, which part ${part.name} lends, is in the first script`);
    write(`texts-${part.name}.js`, partTexts(part.name));
    const entry = write(`part-${part.name}.js`, `import './texts-${part.name}.js';\n${lending(part.modules.map((m) => [m, '*']))}` +
      `import { define } from ${JSON.stringify(registry)};\ndefine(${JSON.stringify(part.name)}, lent);\n`);
    const others = [...lentBy].filter(([, owner]) => owner !== part.name).map(([module]) => module);
    return { part, ...contents(bundle(entry, `parts/${part.name}.js`, [textsPath, ...first, ...others])) };
  });
}

// What the first script lends the parts (their imports of it, by name), and
// which parts each part imports from; fails where a module would be bundled
// into two scripts, or where a part imports what no script lends.
function linked(first, partContents) {
  const holder = new Map(first.map((module) => [module, 'page.js']));
  for (const { part, held } of partContents) {
    for (const module of held) {
      if (holder.has(module)) fail(`${module} is bundled into ${holder.get(module)} and parts/${part.name}.js: let one lend it (state/parts.js)`);
      holder.set(module, `parts/${part.name}.js`);
    }
    for (const module of part.modules) if (!held.includes(module)) fail(`parts/${part.name}.js lends ${module}, which it does not hold`);
  }
  const imports = {};
  const lends = new Map();
  for (const { part, held, imported } of partContents) {
    for (const module of imported) {
      if (module === textsPath) continue;
      if (lentBy.has(module)) imports[part.name] = [...new Set([...(imports[part.name] ?? []), lentBy.get(module)])];
      else if (!first.includes(unnamed(module))) fail(`parts/${part.name}.js imports ${module}, which no script lends`);
    }
    for (const module of held.filter((m) => fs.existsSync(sourceOf(m)) && sourceOf(m).startsWith(web + path.sep))) {
      for (const [target, names] of importedNames(module, fs.readFileSync(sourceOf(module), 'utf8')))
        if (first.includes(target)) lend(lends, target, names);
    }
  }
  // The generated entries' imports: the registry's.
  lend(lends, 'page/loader.js', new Set(['admit', 'define']));
  return { imports, lends: new Map([...lends].sort(([a], [b]) => (a < b ? -1 : 1))) };
}

const build = buildId();
const lentBy = new Map(parts.flatMap((part) => part.modules.map((module) => [named(module), part.name])));
write('parts.js', `export const build = ${JSON.stringify(build)};\nexport const imports = {};\n`);
// The first script's externals: the texts, and the modules that the parts lend.
const firstExternals = [textsPath, ...lentBy.keys()];
let first = contents(bundle(firstEntry(new Map()), 'page.js', firstExternals, 'GJ')).held;
// What the first script lends may bring it modules that it held none of
// before (lent whole): the parts are bundled again without them.
for (let round = 0; ; round++) {
  const { imports, lends } = linked(first, bundleParts(first));
  write('parts.js', `export const build = ${JSON.stringify(build)};\nexport const imports = ${JSON.stringify(imports)};\n`);
  const next = contents(bundle(firstEntry(lends), 'page.js', firstExternals, 'GJ')).held;
  if (next.join('\n') === first.join('\n')) break;
  if (round === 2) fail(`the first script holds other modules each time it lends its own: ${next.filter((m) => !first.includes(m)).join(', ')}`);
  first = next;
}
// A part's module that the first script imports, it imports by name.
for (const module of first.filter((m) => fs.existsSync(sourceOf(m)) && sourceOf(m).startsWith(web + path.sep))) {
  for (const [target, names] of importedNames(module, fs.readFileSync(sourceOf(module), 'utf8')))
    if (lentBy.has(named(target)) && names === '*') fail(`${module} imports ${target} whole: a part's module is imported by name`);
}
