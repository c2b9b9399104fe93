// The result of an assignment of the student's own row operations: what the
// student's page notes of the own work (logic/own/work.js) and hands in as a
// "GJY1" code (result-code.js, which describes its form), the work rebuilt
// from it on the student's matrix, and what the teacher's page and the LMS
// grade in it: whether the matrix was reduced, the reading of it, each row
// written at its first try, the hints and the rows shown. Re-applied exactly,
// as the student's page applied it. Nothing here touches the page.
import { newResult } from './result-code.js';
import { compact, decodeOps } from '../own/code.js';
import { startWork } from '../own/work.js';
import { applyingChecked, checking } from '../own/arithmetic.js';
import { changed, MAX_OPERATION } from '../own/operations.js';
import { shape } from '../own/forms.js';
import { meaning, checkReading, keptReading } from '../own/reading.js';
import { reducing } from '../own/hints.js';
import { finish } from '../run/exact.js';

// A new own result for the student named, begun at started (ms), with nothing done.
export const newOwnResult = (id, name, started) =>
  ({ ...newResult(id, name, started), own: { ops: [], tries: 0, shown: 0, hints: 0, answer: null } });

// The result with its own part taken from the own work (the operations in
// force, each with its first row, whether it was shown and, kept in this
// browser but not in a code, its text as typed; and the work's checks) and
// the reading answer; the first reading noted is kept for good.
export function ownNoted(result, work, answer = result.own?.answer ?? null) {
  const ops = work.ops.slice(0, work.at).map(({ op, first, shown, written }) =>
    ({ op: compact(op), first: first ? [...first] : null, shown: shown === true, ...(written ? { written } : {}) }));
  const { tries = 0, shown = 0, hints = 0 } = work.checks ?? {};
  return { ...result, stages: [], own: { ops, tries, shown, hints, answer: result.own?.answer ?? keptReading(answer) } };
}

// The operations of an own result replayed on the student's matrix, each
// while it applies: { steps: [{ op, before, first, shown }], end, whole },
// end the matrix after them, whole false when one did not apply (a code
// made for another matrix), the steps then those before it; in pieces.
function* replaying(result, matrix) {
  const ops = result.own.ops;
  const read = decodeOps(ops.map((o) => o.op).join(','), matrix.rows.length).ops;
  const steps = [];
  let end = matrix;
  for (const [i, op] of read.entries()) {
    const after = yield* applyingChecked(end, op);
    if (after.problem) break;
    steps.push({ op, before: end, first: ops[i].first, shown: ops[i].shown, written: ops[i].written });
    end = after.matrix;
  }
  return { steps, end, whole: steps.length === ops.length };
}

// The own work (logic/own/work.js's form) that result holds, rebuilt on the
// student's matrix of kind: its operations re-applied up to the first that
// does not apply, each with its first row and shown, its checks; all in force.
export function restoredWork(result, matrix, kind) {
  const ops = finish(replaying(result, matrix)).steps.map(({ op, first, shown, written }) =>
    ({ op, written: typeof written === 'string' && written.length <= MAX_OPERATION ? written : null, ...(first ? { first } : {}), ...(shown ? { shown } : {}) }));
  const { tries, shown, hints } = result.own;
  return { ...startWork(matrix, kind), ops, at: ops.length, checks: { tries, shown, hints } };
}

// An operation of the work graded: { op, first, right, wrong, slip, shown },
// right null where the student wrote no row (the page's arithmetic, a swap),
// else whether the first row was right (false for one shown at once), wrong
// its cells not right (0-based columns), slip checkRow's.
function* stepGraded({ op, before, first, shown }, learner) {
  if (!learner || op.type === 'swap') return { op, first: null, right: null, wrong: [], slip: null, shown };
  if (first === null) return { op, first, right: false, wrong: [], slip: null, shown };
  const check = yield* checking(before, op, changed(op)[0], first);
  const wrong = check.cells.flatMap((cell, c) => (cell.ok ? [] : [c]));
  return { op, first, right: check.right, wrong, slip: check.slip, shown };
}

// An own result graded on the student's matrix of kind, the arithmetic the
// assignment's ('page' | 'learner'): { whole, reduced, readOff: 'right' |
// 'wrong' | 'none', ops, method, written, firstRight, shown, hints, tries,
// steps, answer, verdict, expected }. whole is false when an operation does
// not apply to the matrix; steps are stepGraded's; expected is the meaning
// of the reduced form (the same however the matrix was reduced), which the
// reading is judged by, verdict what it says of the reading (checkReading's,
// null without one); written the rows the student wrote or was shown. In pieces,
// a gcd each, so that a page grades a code between
// frames however long its numbers (ownGraded: at once).
export const ownGraded = (result, matrix, kind, arithmetic) => finish(ownGrading(result, matrix, kind, arithmetic));
export function* ownGrading(result, matrix, kind, arithmetic) {
  const { steps, end, whole } = yield* replaying(result, matrix);
  const method = yield* reducing(matrix);
  const expected = meaning(method.reduced, kind);
  const { answer, tries, shown, hints } = result.own;
  const graded = [];
  for (const step of steps) graded.push(yield* stepGraded(step, arithmetic === 'learner'));
  const verdict = answer === null ? null : checkReading(answer, matrix, expected);
  return { whole, reduced: shape(end).reduced, readOff: verdict === null ? 'none' : verdict.right ? 'right' : 'wrong', verdict,
           ops: steps.length, method: method.count, written: graded.filter((s) => s.right !== null).length,
           firstRight: graded.filter((s) => s.right === true).length, shown, hints, tries, steps: graded, answer, expected };
}

// The score of a graded own result (ownGraded's), 0 to 1: half for the
// matrix reduced, half for the reading right.
export const ownShare = (graded) => (graded.reduced ? 0.5 : 0) + (graded.readOff === 'right' ? 0.5 : 0);
