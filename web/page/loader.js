// The parts of the page (state/parts.js lists them), each a classic script
// of its own, parts/<name>.js, added to the document when first needed; and
// the one registry through which the page's scripts share their modules, so
// that a module runs once, in one script, with one state. The build
// (build/bundle.js) makes each script's imports of a module that another
// script holds into require(path), path the module's under web/ ('./views/
// language.js'); each script lends what the others import of it (provide), a
// part once it has run (define), with its texts first (admit). The first
// script lends its modules at its start. Its own modules may import a part's
// module by name: the import is read when used, which the state makes sure
// is once the part has loaded (a message that needs it waits for it).
//
// Imports nothing that draws a text: this module runs before the texts are there.
import { build, imports } from 'gj-build/parts.js';  // written by the build: its id, and what each part imports of another

const lent = new Map();       // path -> the module lent under it
const defined = new Map();    // part -> its entry, once its script has run
const loading = new Map();    // part -> its load, a promise of its entry
const installed = new Map();  // part -> a promise that settles once it is installed or has failed

// The module lent under path; until a script lends it, one whose names are
// read when used, which throws for a module that no script has lent yet.
export function require(path) {
  return lent.get(path) ?? new Proxy({}, { get: (target, name) => lentNow(path)[name] });
}

function lentNow(path) {
  if (!lent.has(path)) throw new Error(`no script of the page has lent ${path}`);
  return lent.get(path);
}

// Lends modules ({ path: module }) to the page's other scripts.
export function provide(modules) {
  for (const [path, module] of Object.entries(modules)) lent.set(path, module);
}

// Lets part's script run, if it is of this build, and adds its texts ({
// en: { id: text }, ko: … }) to the page's; throws for another build's,
// whose modules would not fit this page's.
export function admit(part, of, texts) {
  if (of !== build) throw new Error(`parts/${part}.js is of another build of the page`);
  const catalog = lentNow('./logic/language/texts.js').texts;
  for (const [code, more] of Object.entries(texts)) Object.assign(catalog[code], more);
}

// The script of part has run: it lends modules, its entry first.
export function define(part, modules) {
  provide(modules);
  defined.set(part, Object.values(modules)[0]);
}

globalThis.gaussJordanParts = { require, provide, admit, define };

// Loads the script of part; resolves to its entry once it has run, rejects
// when it cannot be loaded (a file missing, another build's).
function script(part) {
  return new Promise((resolve, reject) => {
    const element = document.createElement('script');
    element.src = `parts/${part}.js`;
    element.addEventListener('load', () => (defined.has(part) ? resolve(defined.get(part)) : reject(new Error(`parts/${part}.js lent nothing`))));
    element.addEventListener('error', () => reject(new Error(`parts/${part}.js did not load`)));
    document.head.append(element);
  });
}

// Loads part after the parts that it imports from; asked again after a
// failure, it tries again.
function load(part) {
  if (!loading.has(part)) {
    const loaded = Promise.all((imports[part] ?? []).map(load)).then(() => script(part));
    loading.set(part, loaded);
    loaded.catch(() => loading.delete(part));
  }
  return loading.get(part);
}

// Loads each part of names, then installs it (install(name, entry)), or
// tells that it failed (failed(name)). The performance timeline notes when
// each was asked and when it was there, for the benchmark.
export function loadParts(names, install, failed) {
  for (const name of names) {
    performance.mark(`part ${name} asked`);
    installed.set(name, load(name).then((entry) => {
      install(name, entry);
      performance.mark(`part ${name} loaded`);
    }, () => failed(name)));
  }
}

// The entry of part once its script has run (what the part adds: its views,
// effects and start, page/parts/<name>-part.js), else undefined.
export const entryOf = (part) => defined.get(part);

// A promise that settles once part, asked for, is installed or has failed.
export const settled = (part) => installed.get(part) ?? Promise.resolve();
