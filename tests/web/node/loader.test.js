// The parts' loader (web/page/loader.js) under node, as the web build named by
// GJ_WEB_BUILD made it (its id, and which part imports from which): each
// part's script stubbed, a document whose head runs what it is handed a task
// later and notes it. Every part asked for at once comes after the parts it
// imports from, each script added once; a part that failed, or whose import
// failed, is asked again and loads.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import path from 'node:path';
import { register } from 'node:module';
import { pathToFileURL } from 'node:url';
import { needsBuild } from './programs.js';
import { partNames } from '../../../web/state.js';

const build = process.env.GJ_WEB_BUILD ?? '';
const generated = pathToFileURL(path.join(path.resolve(build), 'page-generated', 'parts.js')).href;
// The build's module gj-build/parts.js, as esbuild's alias names it.
register(`data:text/javascript,${encodeURIComponent(`export async function resolve(specifier, context, next) {
  return specifier === 'gj-build/parts.js' ? { url: ${JSON.stringify(generated)}, shortCircuit: true } : next(specifier, context);
}`)}`);

const log = [];            // 'added <part>' and 'ran <part>', in order
const failing = new Set(); // the parts whose script fails to load once
globalThis.document = {
  createElement: () => ({ listeners: {}, addEventListener(kind, fn) { this.listeners[kind] = fn; } }),
  head: {
    append(script) {
      const part = script.src.match(/^parts\/(.+)\.js$/)[1];
      log.push(`added ${part}`);
      setTimeout(() => {
        if (failing.delete(part)) return script.listeners.error();
        log.push(`ran ${part}`);
        globalThis.gaussJordanParts.define(part, { [`page/parts/${part}-part.js`]: { part } });
        script.listeners.load();
      }, 0);
    },
  },
};

// Loads names through the loader: { installed: [[name, entry]], failed: [names] } once each has settled.
async function load(loader, names) {
  const outcome = { installed: [], failed: [] };
  loader.loadParts(names, (name, entry) => outcome.installed.push([name, entry]), (name) => outcome.failed.push(name));
  await Promise.all(names.map(loader.settled));
  return outcome;
}

test('parts load after those they import from, and a part that failed is asked again', needsBuild, async () => {
  const loader = await import('../../../web/page/loader.js');
  const { imports } = await import(generated);
  // A part that imports from another: its first import fails, so it does too; asked again, both load.
  const [name, [first]] = Object.entries(imports).find(([, from]) => from.length > 0);
  failing.add(first);
  assert.deepEqual(await load(loader, [name]), { installed: [], failed: [name] });
  assert.equal(loader.entryOf(name), undefined);
  const again = await load(loader, [name]);
  assert.deepEqual(again.installed, [[name, { part: name }]]);
  // Every part at once, one of them failing: each script added once, after
  // the parts that it imports from ran; the failed one asked again loads.
  failing.add(partNames.at(-1));
  const all = await load(loader, partNames);
  assert.deepEqual(all.failed, [partNames.at(-1)]);
  assert.deepEqual((await load(loader, all.failed)).installed, [[partNames.at(-1), { part: partNames.at(-1) }]]);
  const added = log.filter((line) => line.startsWith('added')).map((line) => line.slice(6));
  const late = Object.entries(imports).flatMap(([part, from]) =>
    from.filter((other) => log.indexOf(`ran ${other}`) < 0 || log.indexOf(`ran ${other}`) > log.lastIndexOf(`added ${part}`)).map((other) => `${part} before ${other}`));
  assert.deepEqual(late, []);
  assert.deepEqual(added.filter((part, k) => added.indexOf(part) !== k), [first, partNames.at(-1)], 'added again: the failed alone');
  assert.deepEqual(partNames.map(loader.entryOf), partNames.map((part) => ({ part })));
});
