// What the node tests of the page's modules share: the programs of the web
// build named by GJ_WEB_BUILD, loaded into the page's own runner, and the
// golden cases.
import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';
import * as runner from '../../../web/logic/run/runner.js';

export const golden = path.join(import.meta.dirname, '..', '..', 'golden');
export const needsBuild = { skip: process.env.GJ_WEB_BUILD ? false : 'needs the web build in GJ_WEB_BUILD' };

// Loads the programs of the web build into the page's runner; false without a build.
export async function programs() {
  const build = process.env.GJ_WEB_BUILD;
  if (!build) return false;
  createRequire(import.meta.url)(path.join(path.resolve(build), 'programs.js'));
  await runner.load(globalThis.gaussJordanPrograms);
  return true;
}

// The runs of program as entries are typed one by one, the last followed by the
// end of input when ended: [the empty run, then one run per entry].
export function typeEntries(program, entries, ended = false) {
  const runs = [runner.open(program)];
  entries.forEach((entry, k) => runs.push(runner.extend(runs.at(-1), entry, ended && k === entries.length - 1)));
  return runs;
}

// A golden case: its input, expected output and the input's lines, each with its Enter.
export function goldenCase(name) {
  const input = fs.readFileSync(path.join(golden, `${name}.in`), 'utf8');
  return { input, expected: fs.readFileSync(path.join(golden, `${name}.out`)), lines: input.match(/[^\n]*\n|[^\n]+$/g) ?? [] };
}
