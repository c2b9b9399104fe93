// The parts' loader (web/page/loader.js) under node, by the build's own list
// of which part imports from which (GJ_WEB_BUILD): the parts' scripts stubbed
// by a document whose head runs each script a task later, or fails it once.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import path from 'node:path';
import { register } from 'node:module';
import { pathToFileURL } from 'node:url';
import { needsBuild } from './programs.js';
import { partNames } from '../../../web/state.js';

const generated = pathToFileURL(path.resolve(process.env.GJ_WEB_BUILD ?? '', 'page-generated', 'parts.js')).href;
register(`data:text/javascript,${encodeURIComponent(`export const resolve = (s, c, next) => (s === 'gj-build/parts.js' ? { url: '${generated}', shortCircuit: true } : next(s, c));`)}`);

const log = [];            // 'added <part>' and 'ran <part>', in order
const failing = new Set(); // the parts whose script fails once
globalThis.document = { createElement: () => ({ addEventListener(kind, fn) { this[kind] = fn; } }), head: { append(script) {
  const part = script.src.slice(6, -3);
  log.push(`added ${part}`);
  setTimeout(() => (failing.delete(part) ? script.error() : (log.push(`ran ${part}`), globalThis.gaussJordanParts.define(part, { entry: part }), script.load())));
} } };

test('a part loads after those it imports from, and one that failed is asked again', needsBuild, async () => {
  const loader = await import('../../../web/page/loader.js');
  const { imports } = await import(generated);
  const load = async (names) => {
    const failed = [];
    loader.loadParts(names, () => {}, (name) => failed.push(name));
    await Promise.all(names.map(loader.settled));
    return failed;
  };
  // A part whose import fails once fails with it; every part asked for at once, one failing once.
  const [part, [first]] = Object.entries(imports).find(([, from]) => from.length > 0);
  failing.add(first).add(partNames.at(-1));
  assert.deepEqual([await load([part]), await load(partNames), await load([part, partNames.at(-1)])], [[part], [partNames.at(-1)], []]);
  const ran = (name) => log.indexOf(`ran ${name}`);
  const early = Object.entries(imports).flatMap(([name, from]) => from.filter((o) => ran(o) < 0 || ran(o) > log.lastIndexOf(`added ${name}`)));
  const added = log.filter((line) => line.startsWith('added'));
  assert.deepEqual([early, added.filter((line, k) => added.indexOf(line) !== k)], [[], [`added ${first}`, `added ${partNames.at(-1)}`]]);
  assert.deepEqual(partNames.map(loader.entryOf), partNames);
});
