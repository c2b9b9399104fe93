// Benchmark, not a test: the results table of a class of 40, an order-3
// gjinverse assignment with a matrix per student, each code handed in by a
// student who worked every stage through the page's own session. The table
// is worked out as the page does (results.js's grading), in slices of 8 ms,
// RUNS times: for each, the whole time, the longest slice (what one task
// blocks the page for at most; goal under 50 ms) and the number of slices;
// then the same in one go, as the page did before it came in slices. Each
// time is also given in processor time, which a busy machine does not stretch.
//
//   node tests/web/bench-grading.js build-web
import path from 'node:path';

process.env.GJ_WEB_BUILD = path.resolve(process.argv[2] ?? 'build-web');
const { programs } = await import('./node/programs.js');
const { code } = await import('./node/classwork.js');
const A = await import('../../web/logic/assignments/assignment.js');
const { grading } = await import('../../web/logic/assignments/results.js');

const RUNS = 5;
const sliceMs = 8;   // as the page's slicer (views/frames.js)

await programs();
const names = Array.from({ length: 40 }, (_, i) => `Student ${i + 1}`);
const a = A.assignment({ seed: 2024, order: 3, names });
const plans = [['first'], ['tries'], ['hint'], ['shown'], ['first', 'first']];
const pasted = names.map((name, i) => code(a, name, Array(9).fill(plans[i % plans.length][i % 2] ?? 'first'), 20 + i)).join('\n');

const cpuMs = ({ user, system }) => (user + system) / 1000;
const median = (xs) => [...xs].sort((x, y) => x - y)[Math.floor(xs.length / 2)];
const timings = [];
for (let run = 0; run < RUNS; run++) {
  const job = grading(a, pasted);
  const [start, cpuStart] = [performance.now(), process.cpuUsage()];
  let [longest, longestCpu, slices] = [0, 0, 0];
  for (let done = false; !done; slices++) {
    const [at, cpu] = [performance.now(), process.cpuUsage()];
    done = job.step(at + sliceMs);
    longest = Math.max(longest, performance.now() - at);
    longestCpu = Math.max(longestCpu, cpuMs(process.cpuUsage(cpu)));
  }
  timings.push({ whole: performance.now() - start, cpu: cpuMs(process.cpuUsage(cpuStart)), longest, longestCpu, slices, rows: job.result.rows.length });
}
const once = [];
for (let run = 0; run < RUNS; run++) {
  const start = performance.now();
  grading(a, pasted).step(Infinity);
  once.push(performance.now() - start);
}
const f = (x) => x.toFixed(1);
console.log(`40 codes, order 3, ${timings[0].rows} rows; in slices of ${sliceMs} ms:`);
timings.forEach((x, i) => console.log(`  run ${i + 1}: whole ${f(x.whole)} ms (processor ${f(x.cpu)}), ` +
  `longest slice ${f(x.longest)} ms (processor ${f(x.longestCpu)}), ${x.slices} slices`));
console.log(`  median: whole ${f(median(timings.map((x) => x.whole)))} ms, longest slice ${f(median(timings.map((x) => x.longest)))} ms ` +
  `(processor ${f(median(timings.map((x) => x.longestCpu)))})`);
console.log(`in one go: ${once.map(f).join(', ')} ms (median ${f(median(once))})`);
