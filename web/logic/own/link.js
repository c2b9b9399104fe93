// A link to the learner's work: the matrix started from, the operations
// done and how many are in force, so that it opens where the learner was,
// with how each operation came and the learner's counts:
//   #ownway&kind=system&m=<the matrix's text>&ops=<compact operations>&at=<k>
//     &typed=<JSON: each operation's text as typed, "=" typed as the page
//             writes it, null built with buttons>&shown=<k.k…>&checks=<tries.shown.hints>
// A link made before the last three opens with every operation built with buttons.
import { readMatrix, matrixText, made } from './matrix.js';
import { encodeOps, decodeOps } from './code.js';
import { startWork } from './work.js';
import { applying, tooLarge } from './arithmetic.js';
import { finish } from '../run/exact.js';
import { notation, MAX_OPERATION } from './operations.js';
import { MAX_OPS } from './limits.js';

const kinds = ['matrix', 'system', 'inverse'];
// The longest link read: 400 operations of factors of hundreds of digits, each
// in its compact form and, typed, as the learner wrote it.
const MAX_LINK = 2000000;

// The link's hash: every operation, those undone too, so that redo works where it opens.
export function ownFragment(work) {
  const typed = work.ops.map(({ op, written }) => (written === null ? null : written === notation(op) ? '=' : written));
  const shown = work.ops.flatMap(({ shown: s }, k) => (s ? [k] : [])).join('.');
  const { tries = 0, shown: rows = 0, hints = 0 } = work.checks ?? {};
  return `#ownway&kind=${work.kind}&m=${encodeURIComponent(matrixText(work.start))}&ops=${encodeOps({ ...work, at: work.ops.length })}&at=${work.at}` +
    `&typed=${encodeURIComponent(JSON.stringify(typed))}&shown=${shown}&checks=${tries}.${rows}.${hints}`;
}

// The link's typed texts and shown rows of ops (its field typed, JSON, and shown) and its counts: what an old or damaged one lacks, left out.
function howDone(fields, ops) {
  let typed = [];
  try { typed = JSON.parse(fields.get('typed') ?? '[]'); } catch (e) { /* an old link's or a damaged one: built with buttons */ }
  const shown = new Set((fields.get('shown') ?? '').split('.'));
  const entries = ops.map((op, k) => {
    const text = Array.isArray(typed) ? typed[k] : null;
    const written = text === '=' ? notation(op) : typeof text === 'string' && text.length <= MAX_OPERATION ? text : null;
    return { op, written, ...(shown.has(String(k)) ? { shown: true } : {}) };
  });
  const counts = /^(\d{1,6})\.(\d{1,6})\.(\d{1,6})$/.exec(fields.get('checks') ?? '')?.slice(1).map(Number) ?? [0, 0, 0];
  return { entries, checks: { tries: counts[0], shown: counts[1], hints: counts[2] } };
}

// Whether hash is a link to work of this mode.
export const isOwnLink = (hash) => typeof hash === 'string' && /^#ownway(?:&|$)/.test(hash);

// The matrix of kind that the link's text gives (the whole matrix, bar by kind): { matrix } or { problem }.
function linkMatrix(text, kind) {
  const read = readMatrix(text, 'matrix');
  if (read.problem) return read;
  const n = read.matrix.rows[0].length;
  if ((kind === 'system' && n < 2) || (kind === 'inverse' && n !== 2 * read.matrix.rows.length)) {
    return { problem: { id: 'own.matrix.square', values: { m: read.matrix.rows.length, n } } };
  }
  return { matrix: made(read.matrix.rows, kind) };
}

// The work that a link's hash carries: { work, matrix, problem }, matrix the
// one shown (after the operations in force). A matrix that
// cannot be read gives no work and own.link.matrix (its cause the matrix's
// problem, or null); a damaged list of operations gives the work up to the first
// damaged one (or one that makes numbers too large) and own.link.ops. Never
// throws. In pieces, a gcd each, so that a page opens
// a link between frames however long its numbers (readOwnLink: at once).
export const readOwnLink = (hash) => finish(readingOwnLink(hash));
export function* readingOwnLink(hash) {
  const damaged = (cause) => ({ work: null, problem: { id: 'own.link.matrix', values: {}, cause } });
  if (!isOwnLink(hash) || hash.length > MAX_LINK) return damaged(null);
  // Its fields decoded; a damaged escape is left as it is, which no matrix nor operation reads.
  const fields = new URLSearchParams(hash.slice('#ownway'.length));
  const kind = kinds.includes(fields.get('kind')) ? fields.get('kind') : 'matrix';
  const read = linkMatrix(fields.get('m') ?? '', kind);
  if (read.problem) return damaged(read.problem);
  const decodedOps = decodeOps(fields.get('ops') ?? '', read.matrix.rows.length);
  const { total } = decodedOps;
  // The matrices the operations make, up to one that outgrows what the page works with.
  const matrices = [read.matrix];
  for (const op of decodedOps.ops) {
    const next = yield* applying(matrices.at(-1), op);
    if (tooLarge(next)) break;
    matrices.push(next);
  }
  const ops = decodedOps.ops.slice(0, matrices.length - 1);
  const at = /^\d{1,4}$/.test(fields.get('at') ?? '') ? Math.min(Number(fields.get('at')), ops.length) : ops.length;
  const { entries, checks } = howDone(fields, ops);
  const work = { ...startWork(read.matrix, kind), ops: entries, at, checks };
  const problem = ops.length === MAX_OPS && total > MAX_OPS ? { id: 'own.link.most', values: { most: MAX_OPS, total } }
    : ops.length < total ? { id: 'own.link.ops', values: { read: ops.length, total } } : null;
  return { work, matrix: matrices[at], problem };
}
