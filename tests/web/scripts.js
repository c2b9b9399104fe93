// The page's scripts under node, loaded as the page loads them (each adds its
// part to the one global, GJ), and the programs of the web build named by
// GJ_WEB_BUILD, run through the page's own runner.
'use strict';
const fs = require('node:fs');
const path = require('node:path');

const web = path.join(__dirname, '..', '..', 'web');
const golden = path.join(__dirname, '..', 'golden');

// Loads the named scripts of web/, in order, and returns GJ.
function load(...names) {
  for (const name of names) require(path.join(web, `${name}.js`));
  return globalThis.GJ;
}

// The page's runner with the programs loaded; null without a web build.
async function programs() {
  const build = process.env.GJ_WEB_BUILD;
  if (!build) return null;
  require(path.join(path.resolve(build), 'programs.js'));
  const { runner } = load('runner');
  await runner.load(globalThis.GJ.programs);
  return runner;
}

// The runs of program as entries are typed one by one, the last followed by the
// end of input when ended: [the empty run, then one run per entry].
function typeEntries(runner, program, entries, ended = false) {
  const runs = [runner.open(program)];
  entries.forEach((entry, k) => runs.push(runner.extend(runs.at(-1), entry, ended && k === entries.length - 1)));
  return runs;
}

// The model of program's run over input, typed line by line with the end of
// input after it, with its exact values where it has them (the replay run in one go).
function modelOf(runner, program, input) {
  const GJ = globalThis.GJ;
  const lines = input.split(/(?<=\n)/).filter((line) => line !== '');
  let m = null;
  for (const run of typeEntries(runner, program, lines, true)) m = GJ.model(run, m);
  return GJ.model.replayed(m);
}

// A golden case: its input, expected output and the input's lines, each with its Enter.
function goldenCase(name) {
  const input = fs.readFileSync(path.join(golden, `${name}.in`), 'utf8');
  return { input, expected: fs.readFileSync(path.join(golden, `${name}.out`)), lines: input.split(/(?<=\n)/) };
}

module.exports = { golden, load, programs, typeEntries, modelOf, goldenCase };
