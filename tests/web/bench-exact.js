// Benchmark of the exact replay (web/exact.js) on the hardest runs the page
// gets: gjinverse of order 10 with 17-digit decimals (a matrix pasted from a
// spreadsheet), and of orders 5 and 8 with entries whose magnitudes range from
// 1e-307 to 1e300. Each matrix comes from a seeded generator, each run from the
// page's own programs. For each it prints the size its numbers reached, the
// time of each of RUNS replays (the first includes compiling the code) and the
// processor time it took (which a busy machine does not stretch), the
// largest step of each (what one step blocks a page for at most), the largest
// piece of work, and the time to ask every entry of every stage once; for the
// order-5 case also the time of the replay before it came in pieces (commit
// dc9f921), taken from git.
//
//   node tests/web/bench-exact.js build-web
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';
import { programs } from './node/programs.js';
import { model } from '../../web/logic/run/model.js';
import * as exact from '../../web/logic/run/exact.js';
import * as runner from '../../web/logic/run/runner.js';

const RUNS = 5;

// mulberry32: a small seeded generator, so that every run times the same matrices.
function generator(seed) {
  return () => {
    seed = (seed + 0x6d2b79f5) | 0;
    let t = Math.imul(seed ^ (seed >>> 15), 1 | seed);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

const digit = (random) => String(Math.floor(random() * 10));
const sign = (random) => (random() < 0.5 ? '-' : '');

// 0.12345678901234567 and the like.
const longDecimal = (random) => `${sign(random)}0.${Array.from({ length: 17 }, () => digit(random)).join('')}`;

// -2e200, 7.5e-150, 1e-307 and the like: one or two significant digits and an
// exponent from -307 to 300, every one a double with all its bits.
function wideDecimal(random) {
  const mantissa = String(1 + Math.floor(random() * 9)) + (random() < 0.5 ? `.${digit(random)}` : '');
  return `${sign(random)}${mantissa}e${Math.floor(random() * 608) - 307}`;
}

function matrix(order, entry, seed) {
  const random = generator(seed);
  return Array.from({ length: order }, () => Array.from({ length: order }, () => entry(random)));
}

// Runs the replay `runs` times, one piece per step (a deadline already
// passed), timing each step. The pieces are the same every time, so the
// smallest time of each is its own cost, without the pauses that the garbage
// collector or other processes put into some runs; the largest step of each
// run is given too.
function timeReplay(start, stages, runs) {
  const totals = [];
  const cpu = [];
  const largest = [];
  let least = null;
  let result = null;
  for (let k = 0; k < runs; ++k) {
    const times = [];
    const cpu0 = process.cpuUsage();
    const t0 = performance.now();
    const job = exact.replay(start, stages);
    for (let done = false; !done;) {
      const before = performance.now();
      done = job.step(before);
      times.push(performance.now() - before);
    }
    totals.push(performance.now() - t0);
    const { user, system } = process.cpuUsage(cpu0);
    cpu.push((user + system) / 1000);
    largest.push(Math.max(...times));
    least = least ? least.map((time, i) => Math.min(time, times[i])) : times;
    result = job.result;
  }
  return { totals, cpu, largest, piece: Math.max(...least), pieces: least.length, result };
}

const ms = (times) => times.map((time) => time.toFixed(1)).join(', ');

// Asks every entry of every stage once: the total, and the longest single call.
function timeEntries(result, n, width) {
  let total = 0;
  let longest = 0;
  let count = 0;
  for (const stage of result.stages) {
    if (stage === null) continue;
    for (let r = 0; r < n; ++r) {
      for (let c = 0; c < width; ++c, ++count) {
        const before = performance.now();
        stage.entry(r, c);
        const time = performance.now() - before;
        total += time;
        longest = Math.max(longest, time);
      }
    }
  }
  return { total, longest, count };
}

function oldEngine() {
  const file = path.join(os.tmpdir(), `gj-exact-dc9f921-${process.pid}.js`);
  fs.writeFileSync(file, execFileSync('git', ['show', 'dc9f921:web/exact.js'], { cwd: import.meta.dirname }));
  try { return createRequire(import.meta.url)(file); } finally { fs.unlinkSync(file); }
}

async function main() {
  const build = process.argv[2] || process.env.GJ_WEB_BUILD;
  if (!build) throw new Error('usage: node tests/web/bench-exact.js BUILD_DIR (a web build)');
  process.env.GJ_WEB_BUILD = path.resolve(build);
  await programs();
  const cases = [
    { name: 'order 10, 17-digit decimals', tokens: matrix(10, longDecimal, 1) },
    { name: 'order 5, 1e-307 to 1e300', tokens: matrix(5, wideDecimal, 2), old: true },
    { name: 'order 8, 1e-307 to 1e300', tokens: matrix(8, wideDecimal, 3) },
  ];
  for (const { name, tokens, old } of cases) {
    const n = tokens.length;
    const typed = `${n}\n${tokens.map((row) => row.join(' ')).join('\n')}\n`;
    const run = runner.extend(runner.open('gjinverse'), typed, true);
    if (run.status !== 0) throw new Error(`${name}: gjinverse ended with ${run.status}: ${run.errors}`);
    const { stages, verdict } = model(run);
    const operations = stages.reduce((sum, stage) => sum + stage.ops.length, 0);
    const { totals, cpu, largest, piece, pieces, result } = timeReplay(verdict.start, stages, RUNS);
    const outcome = result.stop ? `stops at stage ${result.stop.stage + 1}` : result.tooLarge ? 'too large' : 'runs through';
    console.log(`${name}: ${stages.length} stages, ${operations} operations; ${outcome}; numbers up to ${result.bits} bits`);
    console.log(`  replay in ${pieces} steps, ms: ${ms(totals)} (processor time ${ms(cpu)})`);
    console.log(`  largest step, ms: ${ms(largest)}; largest piece of work ${piece.toFixed(2)} ms`);
    const entries = timeEntries(result, n, 2 * n);
    console.log(`  every entry asked: ${entries.count} in ${entries.total.toFixed(1)} ms, the longest ${entries.longest.toFixed(2)} ms`);
    if (old) {
      const before = oldEngine();
      const cpu0 = process.cpuUsage();
      const t0 = performance.now();
      before.replay(before.parseReport(run.report));
      const { user, system } = process.cpuUsage(cpu0);
      console.log(`  the replay of dc9f921, in one task: ${(performance.now() - t0).toFixed(1)} ms ` +
                  `(processor time ${((user + system) / 1000).toFixed(1)})`);
    }
  }
}

main().catch((error) => {
  console.error(error);
  process.exitCode = 1;
});
