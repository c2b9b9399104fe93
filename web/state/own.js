// The state's handlers of "Your own way": the learner's own row operations on
// a matrix of their own (logic/own/), which come with the own part of the
// page (state/parts.js). The slice state.own, null until the mode is first
// asked for:
//   work        the learner's work (own/work.js): the matrix as it started, the
//               operations, how many are in force, the counts; or null before a matrix
//   matrix      the matrix with the operations in force applied, kept beside the work
//   arithmetic  who does the arithmetic: 'page', or 'learner', who writes the changed row
//   pending     the operation named whose row the learner is writing: { op,
//               written, row, check, first }, check checkRow's verdict on the last
//               try and first the texts of the first (null before one); or null
//   problem     the last refusal, an operation's or a matrix's ({ id, values }), or null
//   cells       the entries of the matrix typed that are not numbers ([{ row, column, problem }]), or null
//   changed     the rows that the last operation changed, marked; [] after anything else
//   hint        the next operation of the method from here ({ op, reason }), asked; or null
//   compared    { yours, method }: the operations used and the method's, asked once reduced; or null
//   busy        whether an operation on long numbers, the check of a row
//               written after one, or a move through the history is being
//               worked out in slices (ownWork): nothing else is done to the
//               work meanwhile
//   readOff     in a student's assignment of this mode, once the matrix is
//               reduced: the student's first reading of what it means
//               (logic/own/reading.js) and its verdict ({ answer, right,
//               wrong }), or null before it; the page says the meaning only then
//   readProblem why the last reading sent could not be read ({ id, values }), or null
// Every change of the work is written to the address (a link to it) and
// stored, after the frame that shows it (the own part's effect { ownKeep:
// fragment }: a 10 × 20 matrix of long entries makes a long address). In a
// student's assignment of this mode (assigned()), the work is the student's
// instead: noted in the student's result and kept under the student's key,
// never in the address; what the assignment does not allow is refused.
import { readMatrix, fromRun } from '../logic/own/matrix.js';
import { readOperation, fromButtons, notation, changed } from '../logic/own/operations.js';
import { applyChecked, apply, checkRow, inverse } from '../logic/own/arithmetic.js';
import { shape } from '../logic/own/forms.js';
import { meaning, checkReading, readingForm, readingAsked, keptReading } from '../logic/own/reading.js';
import { hint, methodCount } from '../logic/own/hints.js';
import { MAX_OPS } from '../logic/own/limits.js';
import { startWork, matrixAt, doOperation, undo, redo, goTo, counted } from '../logic/own/work.js';
import { ownFragment } from '../logic/own/link.js';
import { copyText, copyLatex, copyMarkdown } from '../logic/own/copies.js';
import { shown } from '../logic/own/numbers.js';
import { translator } from '../logic/language/translate.js';
import { ownFocus } from './learning.js';
import { ownNoted, restoredWork } from '../logic/assignments/own-result.js';
import { ownStart } from '../logic/assignments/set.js';
import { locked } from '../logic/assignments/permissions.js';
import { keptWork } from './studying.js';

const fresh = { work: null, matrix: null, arithmetic: 'page', pending: null, problem: null, cells: null, changed: [], hint: null, compared: null, readOff: null, readProblem: null,
                busy: false };

// The slice as it stands, or a fresh one.
const slice = (state) => state.own ?? fresh;

// The state with the slice changed by more (an object of its fields).
const withOwn = (state, more) => ({ ...state, own: { ...slice(state), ...more } });

// The effects that say each of said ({ id, values }) on the status line, and that focus the element of id.
const announce = (...said) => ({ announce: said });
const focus = (element) => ({ focus: { element } });

// The student's assignment of this mode that locks the page, or null.
export const assigned = (state) => (state.student?.assignment.mode === 'own' && locked(state.student) ? state.student.assignment : null);

// The state with the student's work noted from the slice's (the reading's
// answer, if any) and kept as its next version: under the student's key, or
// told to the LMS (studying.js).
function studentKept(state) {
  const st = state.student;
  return keptWork({ ...state, student: { ...st, result: ownNoted(st.result, state.own.work, state.own.readOff?.answer ?? null) } });
}

// The state and the effects that keep its work: the student's, or the
// learner's in the address that links to it and in storage.
const kept = (state) => (assigned(state) ? studentKept(state) : [state, [{ ownKeep: ownFragment(state.own.work) }]]);

// The state with work as the learner's (its matrix worked out), the rest of
// the slice as more says, nothing pending; and the effects that keep it.
function working(state, work, more = {}) {
  const own = slice(state);
  return kept({ ...state, own: { ...fresh, arithmetic: own.arithmetic, readOff: own.readOff, work, matrix: more.matrix ?? matrixAt(work), ...more } });
}

// The state with the slice changed by more, the work kept.
const keptWith = (state, more) => kept(withOwn(state, more));

// A new matrix (readMatrix's or fromRun's answer) to work on from the start,
// the operation field focused; or its problem said, the work kept as it was.
function started(state, read, kind) {
  if (!read?.matrix) return [withOwn(state, { problem: read?.problem ?? null, cells: read?.cells ?? null }), read?.problem ? [announce(read.problem)] : []];
  const [next, effects] = working(state, startWork(read.matrix, read.kind ?? kind));
  return [next, [...effects, focus('own-op')]];
}

// The most characters of rows that the status line says whole.
const saidWhole = 80;

// An operation as the status line says it: the page's notation, a number of
// more than 16 digits cut to its first and last (the page shows it whole).
const cut = (text) => text.replace(/\d{17,}/g, (digits) => `${digits.slice(0, 6)}…${digits.slice(-4)}`);
const brief = (op) => cut(notation(op));
const saidShort = ({ id, values }) => ({ id, values: values.factor ? { ...values, factor: cut(values.factor) } : values });

// What the status line says once op is done on matrix: the rows it changed,
// 0-based, as "R2: 0, 1, -2", or their names alone where that would be long
// (a phone's line, a screen reader's patience): the matrix shows them.
function appliedSaid(matrix, op) {
  const rows = changed(op);
  const whole = rows.map((r) => `R${r + 1}: ${matrix.rows[r].map(shown).join(', ')}`).join('; ');
  return whole.length <= saidWhole ? { id: 'own.view.applied', values: { op: brief(op), rows: whole } }
    : { id: 'own.view.appliedLong', values: { op: brief(op), rows: rows.map((r) => `R${r + 1}`).join(', ') } };
}

// The bound under which the numbers of an operation are worked out at once,
// within a frame: 4096 bits a numerator or a denominator (1233 digits).
const QUICK = 1n << 4096n;
const short = (x) => x.n < QUICK && -x.n < QUICK && x.d < QUICK;

// Whether op on matrix is worked out at once (a swap, or the rows it reads
// and its factor short); else in slices between frames, the effect ownWork,
// whose answer comes back as ownWorked.
const quick = (matrix, op) => op.type === 'swap' || ((op.type === 'add' ? [op.row, op.from] : [op.row]).every((r) => matrix.rows[r].every(short)) && short(op.factor));

// The state waiting for job worked out in slices: the matrix after op ({
// matrix, op, written, more }), the row texts checked against it (texts too),
// or the matrix at another point of the history ({ matrix, path, move, id }).
const slices = (state, job) => [withOwn(state, { busy: true }), [{ ownWork: job }]];

// The state once op (written by the learner, or null when built with
// buttons) is done, and the status line saying it and the rows it changed;
// more, what the learner's arithmetic adds ({ shown, first }: whether the
// learner asked to see the row, the texts of the first try). An operation
// whose numbers would outgrow what the page works with is refused. Where
// its numbers are long, it is worked out in slices first (worked: the
// matrix after it, applyingChecked's answer, once they are done).
function done(state, op, written, more = {}, worked = null) {
  const own = slice(state);
  if (worked === null && !quick(own.matrix, op)) return slices(state, { matrix: own.matrix, op, written, more });
  const after = worked ?? applyChecked(own.matrix, op);
  if (after.problem) return [withOwn(state, { problem: after.problem, pending: null, busy: false }), [announce(after.problem)]];
  const work = doOperation(own.work, op, written, more);
  const { matrix } = after;
  const [next, effects] = working(state, more.shown ? counted(work, 'shown') : work, { matrix, changed: changed(op) });
  const said = announce(appliedSaid(matrix, op));
  return [next, [...effects, said, focus('own-op')]];
}

// An operation read (readOperation's or fromButtons' answer): refused with its
// problem said, or done, or, where the learner does the arithmetic of a row
// that it changes, waiting for that row.
function named(state, read, written) {
  const own = slice(state);
  if (!own.work || own.busy) return [state, []];
  // The operations of one piece of work are bounded, however they come.
  const most = own.work.at >= MAX_OPS && { problem: { id: 'own.op.most', values: { most: MAX_OPS } } };
  if (!read?.op || most) {
    const problem = most?.problem ?? read?.problem ?? { id: 'own.op.empty', values: {} };
    return [withOwn(state, { problem }), [announce(problem)]];
  }
  const { op } = read;
  if (own.arithmetic === 'learner' && op.type !== 'swap') {
    const row = changed(op)[0];
    return [withOwn(state, { pending: { op, written, row, check: null, first: null }, problem: null, hint: null }),
      [announce({ id: 'own.view.write', values: { op: brief(op), row: row + 1 } }), focus('own-cell-0')]];
  }
  return done(state, op, written);
}

// The work moved to another point of its history (move(work)), said: the
// matrix shown taken there by the operations between, or their inverses
// back, rather than a replay from the start; in slices where one is long.
function moved(state, move, id, worked = null) {
  const own = slice(state);
  if (!own.work || (own.busy && worked === null)) return [state, []];
  const work = move(own.work);
  if (work === own.work || work.at === own.work.at) return [state, []];
  const path = work.at > own.work.at ? work.ops.slice(own.work.at, work.at).map((o) => o.op)
    : own.work.ops.slice(work.at, own.work.at).map((o) => inverse(o.op)).reverse();
  let matrix = worked ?? own.matrix;
  for (let k = 0; worked === null && k < path.length; k++) {
    if (!quick(matrix, path[k])) return slices(state, { matrix: own.matrix, path, move: { at: work.at }, id });
    matrix = apply(matrix, path[k]);
  }
  const op = id === 'own.view.undone' ? own.work.ops[work.at].op : work.ops[work.at - 1]?.op;
  const [next, effects] = working(state, work, { matrix });
  return [next, [...effects, announce(op ? { id, values: { op: brief(op) } } : { id: 'own.view.atStart' })]];
}

const isText = (value) => typeof value === 'string';

// The student's matrix made (read: fromRun's of the input that practice's
// exercise of the assignment makes, or the teacher's own matrix, set.js
// ownStart's), with the work that the student's result holds re-applied, and
// its reading if there was one; in the mode, the operation field focused.
function studentMade(state, read) {
  const st = state.student;
  if (!read?.matrix || st?.assignment.mode !== 'own' || !st.name) return [state, []];
  const own = { ...fresh, arithmetic: st.assignment.arithmetic, work: startWork(read.matrix, read.kind), matrix: read.matrix };
  const [next] = resumed({ ...state, mode: 'own', own });
  // Inside an LMS, the work is told as it opens.
  const [told, effects] = st.lms ? studentKept(next) : [next, []];
  return [told, [...effects, focus('own-op')]];
}

// The student's work as the student's result now holds it (taken from
// another tab), on the same matrix; what was pending is let go.
function resumed(state) {
  const [own, st] = [slice(state), state.student];
  if (!own.work || st?.assignment.mode !== 'own' || !st.result?.own) return [state, []];
  const work = restoredWork(st.result, own.work.start, own.work.kind);
  const answer = st.result.own.answer;
  return [withOwn(state, { work, matrix: matrixAt(work), pending: null, changed: [], hint: null, compared: null,
                           readOff: answer && judged(answer, work.start, meaning(matrixAt(work), work.kind)) }), []];
}

// A reading and its verdict as the slice keeps them: { answer, right, wrong }.
function judged(answer, start, means) {
  const verdict = means ? checkReading(answer, start, means) : null;
  return { answer, right: verdict?.right === true, wrong: verdict?.wrong ?? [] };
}

// Whether answer is a reading typed in full of what kind asks (reading.js), of any length.
const isAnswer = (answer, kind) => readingForm(answer) === readingAsked(kind);

// A message whose copies form names one of these: the work and whether to
// tell what the reduced matrix means, in a copy of t's words.
const copies = { text: copyText, latex: copyLatex, markdown: copyMarkdown,
  document: (t, work, more) => copyLatex(t, work, { ...more, document: true }) };

// Whether read is a link read as logic/own/link.js's readingOwnLink gives one: work or none, a matrix, a problem.
const isRead = (read) => typeof read === 'object' && read !== null && (read.work === null ? true :
  Array.isArray(read.work?.ops) && Array.isArray(read.work.start?.rows) && Array.isArray(read.matrix?.rows));

// What the student's assignment does not allow (another matrix, the
// arithmetic changed, a hint or a row shown where it allows none) update
// refuses before these, by its permissions (logic/assignments/permissions.js).
export const handlers = {
  // The part come: the work that this browser kept (text, its link's
  // fragment), read in slices (the own part's effect ownRead, which comes
  // back as ownRead), or else the matrix of the run shown, if there is one
  // to take; unless there is work already.
  ownStored: (state, { text }) => {
    if (slice(state).work) return [state, []];
    if (isText(text)) return [state, [{ ownRead: { hash: text, link: false } }]];
    const read = state.model && fromRun(state.model.run.program, state.model.run.input);
    return [withOwn(state, read?.matrix ? { work: startWork(read.matrix, read.kind), matrix: read.matrix } : {}), []];
  },
  // A link to the learner's work (#ownway&...): the mode, and the link read in
  // slices (ownRead), however long its numbers.
  ownLink: (state, { hash }) => (isText(hash) ? [{ ...state, mode: 'own' }, [{ ownRead: { hash, link: true } }]] : [state, []]),
  // The work of a link read (readingOwnLink's): a link's where it left it,
  // what of it could not be read said; kept work taken unless there is work.
  ownRead: (state, { read, link = false }) => {
    if (!isRead(read)) return [state, []];
    const { work, matrix, problem } = read;
    if (!link) return slice(state).work || !work ? handlers.ownStored(state, {}) : [withOwn(state, { work, matrix }), []];
    if (!work) return [withOwn(state, { problem }), [...(problem ? [announce(problem)] : []), ownFocus(state)]];
    const [next, effects] = working(state, work, { matrix, problem });
    return [next, [...effects, ...(problem ? [announce(problem)] : []), ownFocus(next)]];
  },
  // An operation, or a row's check, worked out in slices (job, as the state
  // asked for it; result, applyingChecked's or checking's): taken where the
  // matrix is still the one it was worked out on.
  ownWorked: (state, { job, result }) => {
    const own = slice(state);
    if (!own.busy || !job || job.matrix !== own.matrix || typeof result !== 'object' || result === null) return [state, []];
    if (job.texts) return result.cells ? handlers.ownRow(state, { texts: job.texts }, result) : [state, []];
    if (Array.isArray(job.path)) return result.matrix && Number.isInteger(job.move?.at) ? moved(state, (work) => goTo(work, job.move.at), job.id, result.matrix) : [state, []];
    return result.matrix || result.problem ? done(state, job.op, job.written, job.more, result) : [state, []];
  },
  // Another tab had kept other work, which this tab's now replaces: said (that tab's stays in its address).
  ownReplaced: (state) => [state, [announce({ id: 'own.view.replaced' })]],
  // The matrix of the run shown; a matrix typed, of the kind chosen.
  ownFromRun: (state) => (state.model ? started(state, fromRun(state.model.run.program, state.model.run.input)) : [state, []]),
  ownTyped: (state, { text, kind }) =>
    (isText(text) && ['matrix', 'system', 'inverse'].includes(kind) ? started(state, readMatrix(text, kind), kind) : [state, []]),
  // An exercise as practice makes them ({ program, order, seed }): its
  // matrix made by an effect (ownMake, which practice's part carries, once it is
  // there, which the message waits for), which comes back as ownMade.
  ownExercise: (state, { exercise: { program, order, seed } = {} }) => {
    if (!['gjinverse', 'gjsolve'].includes(program) || !Number.isInteger(order) || !Number.isInteger(seed)) return [state, []];
    return [state, [{ ownMake: { program, seed, order, options: ['nice'], generator: 2 } }]];
  },
  // A problem of a set on the teacher's own matrix (given) takes it as it is, the same for every student.
  ownMade: (state, { input, program, given = false, student = false }) => {
    const matrix = given && student ? state.student?.assignment.matrix : null;
    if (matrix) return studentMade(state, ownStart(matrix));
    if (!isText(input) || !isText(program)) return [state, []];
    return student ? studentMade(state, fromRun(program, input)) : started(state, fromRun(program, input));
  },
  ownResumed: resumed,
  // The student's reading of the reduced matrix (an assignment's), typed in
  // full: one that cannot be read is said and not kept (the view keeps what
  // was typed); the first read is kept and judged, what is wrong with it
  // said, and the page then says what the matrix means.
  ownAnswer: (state, { answer }) => {
    const own = slice(state);
    const means = own.matrix && shape(own.matrix).reduced ? meaning(own.matrix, own.work.kind) : null;
    if (!assigned(state) || own.readOff || !means || !isAnswer(answer, own.work.kind)) return [state, []];
    const verdict = checkReading(answer, own.work.start, means);
    if (verdict.problem) return [withOwn(state, { readProblem: verdict.problem }), [announce(verdict.problem)]];
    const readOff = { answer: keptReading(answer), right: verdict.right, wrong: verdict.wrong };
    const [next, effects] = keptWith(state, { readOff, readProblem: null });
    const said = verdict.right ? [{ id: 'own.reading.right' }] : [{ id: 'own.reading.wrong' }, ...verdict.wrong];
    return [next, [...effects, announce(...said), focus('own-read-verdict')]];
  },
  // An operation typed, or built with the buttons ({ kind, row, from, factorText }).
  ownOp: (state, { text }) => (isText(text) && state.own?.matrix ? named(state, readOperation(text, state.own.matrix.rows.length), text) : [state, []]),
  ownButtons: (state, { built }) => (built && state.own?.matrix ? named(state, fromButtons(built, state.own.matrix.rows.length), null) : [state, []]),
  ownArithmetic: (state, { by }) => (['page', 'learner'].includes(by) ? [withOwn(state, { arithmetic: by, pending: null }), []] : [state, []]),
  // The changed row as the learner wrote it (texts, an entry a column): done
  // when every entry is right, else its wrong cells and the slip marked, a try more counted.
  ownRow: (state, { texts }, worked = null) => {
    const own = slice(state);
    if (!own.pending || !Array.isArray(texts) || !texts.every(isText) || (own.busy && worked === null)) return [state, []];
    const { op, written, row } = own.pending;
    if (worked === null && !quick(own.matrix, op)) return slices(state, { matrix: own.matrix, op, written, more: {}, texts });
    const check = worked ?? checkRow(own.matrix, op, row, texts);
    const first = own.pending.first ?? texts;
    if (check.right) return done(state, op, written, { first });
    const work = counted(own.work, 'tries');
    const wrong = check.cells.findIndex((cell) => !cell.ok);
    const said = { id: 'own.view.wrongCells', values: { count: check.cells.filter((cell) => !cell.ok).length } };
    const [next, effects] = keptWith(state, { work, pending: { ...own.pending, check, first }, busy: false });
    return [next, [...effects, announce(said, ...(check.slip ? [{ id: check.slip, ...(check.about ? { values: check.about } : {}) }] : [])), focus(`own-cell-${wrong}`)]];
  },
  // The row shown and the operation done, which counts.
  ownShow: (state) => {
    const { pending: p, busy } = slice(state);
    return p && !busy ? done(state, p.op, p.written, { shown: true, ...(p.first ? { first: p.first } : {}) }) : [state, []];
  },
  ownCancel: (state) => (slice(state).pending ? [withOwn(state, { pending: null }), [focus('own-op')]] : [state, []]),
  ownUndo: (state) => moved(state, undo, 'own.view.undone'),
  ownRedo: (state) => moved(state, redo, 'own.view.redone'),
  ownGoTo: (state, { at }) => (Number.isInteger(at) ? moved(state, (work) => goTo(work, at), 'own.view.wentTo') : [state, []]),
  // The next operation of the method, said, never applied; a hint more counted.
  ownHint: (state) => {
    const own = slice(state);
    const next = own.matrix && hint(own.matrix);
    if (!next) return [state, []];
    const [after, effects] = keptWith(state, { work: counted(own.work, 'hints'), hint: next });
    return [after, [...effects, announce(saidShort(next.reason), { id: 'own.view.hintOp', values: { op: brief(next.op) } })]];
  },
  // Once reduced, the operations used against the method's from the same start.
  ownCompare: (state) => {
    const own = slice(state);
    if (!own.matrix || !shape(own.matrix).reduced) return [state, []];
    const compared = { yours: own.work.at, method: methodCount(own.work.start) };
    return [withOwn(state, { compared }), [announce({ id: 'own.view.compared', values: compared })]];
  },
  // The history copied as text, LaTeX or Markdown, in the page's language.
  ownCopy: (state, { form }) => {
    const own = slice(state);
    if (!own.work || !Object.hasOwn(copies, form)) return [state, []];
    // In an assignment, what the matrix means is the student's to read first.
    const tell = !assigned(state) || Boolean(own.readOff);
    return [state, [{ copy: { content: copies[form](translator(state.language), own.work, { tell }), done: 'own.view.copied' } }]];
  },
};

