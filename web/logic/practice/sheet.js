// What a worksheet of a run asks at each stage and what its answer key gives:
// the decisions to write in blanks (among them, at the stage right after the
// printout that shows A singular, whether A is invertible, its choices to
// circle), and which stages the key shows a printout for, which one it says
// "singular" at, where the run stops meaning anything, and which it leaves
// out after that. The view (worksheet.js) lays them out.
import { questions, isDecision, paperSingular } from './check.js';

const singularOf = new WeakMap();  // a model → its paperSingular()
const singular = (m) => singularOf.get(m) ?? singularOf.set(m, paperSingular(m)).get(m);

// The decisions that stage k asks on paper (the entries are the frame's),
// whether A is invertible first where the sheet asks it.
export function sheetDecisions(m, k) {
  const { stage, question } = singular(m);
  return [...(stage === k && question ? [question] : []), ...questions(m, k, 'none').filter(isDecision)];
}

// The stages after the matrix that a key gives, { k, framed, singular }:
// framed where it shows the stage's printout (not the unknowns', nor one
// printed as the stage before printed it); singular at the stage from which
// the run means nothing, in place of its printout, and none after it.
export function keyStages(m) {
  const from = singular(m).singularFrom;
  const same = (s) => JSON.stringify(s.rows) === JSON.stringify(m.stages[s.k - 1].rows);
  return m.stages.slice(1).filter((s) => from === null || s.k <= from)
    .map((s) => ({ k: s.k, singular: s.k === from, framed: s.k !== from && !s.unknowns && !same(s) }));
}
