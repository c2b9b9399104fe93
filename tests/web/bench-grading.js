// Benchmark, not a test: the results table of a class of 40, an order-3
// gjinverse assignment with a matrix per student, each code handed in by a
// student who worked every stage through the page's own session. The table
// is worked out as the page does (results.js's grading), in slices of 8 ms,
// five times: the median of the whole time and of the longest slice (what
// one task blocks the page for at most; goal under 50 ms), each also in
// processor time, which a busy machine does not stretch.
//
//   node tests/web/bench-grading.js build-web
import path from 'node:path';

process.env.GJ_WEB_BUILD = path.resolve(process.argv[2] ?? 'build-web');
const { programs } = await import('./node/programs.js');
const { code } = await import('./node/classwork.js');
const { assignment } = await import('../../web/logic/assignments/assignment.js');
const { grading } = await import('../../web/logic/assignments/results.js');

await programs();
const names = Array.from({ length: 40 }, (_, i) => `Student ${i + 1}`);
const a = assignment({ seed: 2024, order: 3, names });
const plans = ['first', 'tries', 'hint', 'shown'];
const pasted = names.map((name, i) => code(a, name, Array(9).fill(plans[i % plans.length]), 20 + i)).join('\n');

const now = () => [performance.now(), process.cpuUsage()];
const since = ([wall, cpu]) => { const { user, system } = process.cpuUsage(cpu); return [performance.now() - wall, (user + system) / 1000]; };
const runs = Array.from({ length: 5 }, () => {
  const [job, start] = [grading(a, pasted), now()];
  let longest = [0, 0];
  for (let done = false; !done;) {
    const at = now();
    done = job.step(at[0] + 8);
    longest = since(at).map((x, i) => Math.max(x, longest[i]));
  }
  return [...since(start), ...longest];
});
const median = (i) => runs.map((run) => run[i]).sort((x, y) => x - y)[2].toFixed(1);
console.log(`40 codes, order 3: whole ${median(0)} ms (processor ${median(1)} ms), longest slice ${median(2)} ms (processor ${median(3)} ms)`);
