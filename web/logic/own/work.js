// The learner's work in their own way: the matrix started from and the list
// of operations done, of which `at` are in force (undo and redo move it; an
// operation done after an undo drops the ones undone). The matrix shown, the
// history, the link and the code are all made from it.
//   { kind, start, ops: [{ op, written, shown? }], at, checks: { tries, shown, hints } }
// written is the learner's text, or null for an operation built with
// buttons; shown says that the learner asked to see the row instead of
// writing it. Every function gives a new value.
import { apply } from './arithmetic.js';

export const startWork = (matrix, kind) => ({ kind, start: matrix, ops: [], at: 0, checks: { tries: 0, shown: 0, hints: 0 } });

// The matrix after the first `at` operations.
export function matrixAt(work, at = work.at) {
  let matrix = work.start;
  for (const { op } of work.ops.slice(0, at)) matrix = apply(matrix, op);
  return matrix;
}

// The work with op done (as written, or null) after the operations in force; more says { shown }.
export const doOperation = (work, op, written = null, more = {}) =>
  ({ ...work, ops: [...work.ops.slice(0, work.at), { op, written, ...more }], at: work.at + 1 });

export const goTo = (work, at) => ({ ...work, at: Math.max(0, Math.min(work.ops.length, Number.isInteger(at) ? at : work.at)) });
export const undo = (work) => goTo(work, work.at - 1);
export const redo = (work) => goTo(work, work.at + 1);

// The work with one more of the learner's arithmetic counted: 'tries' (a row
// written and checked), 'shown' (a row asked for) or 'hints'.
export const counted = (work, what) => ({ ...work, checks: { ...work.checks, [what]: (work.checks[what] ?? 0) + 1 } });
