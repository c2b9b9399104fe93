// The teacher's results: the codes pasted back, read and checked against the
// teacher's page's own run of each student's matrix, as one table with a row
// per student and a column per stage asked (its CSV is set-results.js's, as
// is a set's table, whose problems are each graded here alone). The verdicts
// are worked out here from the first answers in the codes; the student's page's
// own verdicts are only compared with them. The table is worked out in slices
// (grading()), so that a class's codes never hold the page for long, and what
// grading found of each code is kept (a memo) so that no code is checked
// twice; a row's answers are worked out when the row is opened (detailing()). Nothing
// here touches the page; the programs must be loaded (the runs are made by
// exercises.js).
//
// A table: {
//   stages    the stages asked, as indexes k of the run's model, a column each:
//             from the assignment's first to the last asked of any student
//   plan      the stages of the assignment's runs (assignment.stagePlan), which
//             name the columns
//   rule      the rule that picks the code that counts of a student's codes:
//             'best' (the most stages right the first time; of two as good,
//             the later), 'first' or 'latest' (by hand-in time)
//   rows      one per student, the class list's order first, then the others by
//             the time their first codes were handed in: {
//     name      the name on the list, else as the code has it
//     code      the code that counts, or null
//     codes     every code of the student that was checked, by hand-in time:
//               { code, handed, right, asked, counted }
//     cells     per stage of the table: { status, hints }, status one of
//               'first'   every first answer right, with no hint and no Show
//               'tries'   finished otherwise, without Show
//               'shown'   finished with Show
//               'open'    begun, not finished
//               'none'    not reached
//               'unasked' not asked of this student's run (A singular: the
//                         run means nothing more there)
//     asked     the stages asked of the student's run
//     right     of them, those right the first time
//     hints     the hints' steps seen, in all; shown, the stages shown
//     tries     the answers checked, in all
//     seconds   from the start to the hand-in, or null without a code
//     handed    the hand-in time (ms), or null
//     late      whether it was handed in after the due date's end
//     tooFast   whether the time is too short for the answers typed (fastest)
//     flags     of 'notListed', 'missing', 'damaged' (no code that checks, but a
//               damaged one of this name), 'codes' (more than one code: which
//               counts), 'late', 'tooFast', 'differs' (the student's page
//               judged a stage otherwise than this one)
//   }
//   missed    per stage of the table: { k, missed, done }, the students who
//             finished it and those of them not right the first time
//   hardest   the stages that the most students missed (up to three, most first)
//   rejected  codes set aside, each once: { code, problem, name } (name null when
//             none reads), problem 'code.broken' (ask for it again),
//             'code.version', 'code.other' (another assignment's),
//             'code.mismatch' (answers that do not fit this assignment's run)
//             or 'code.unchecked' (this page could not check it)
//   counts    { codes, graded, rejected, repeated }: the codes read (a code
//             pasted again counted once), the students graded, the codes set
//             aside and the codes pasted more than once
//   codes     the codes read, each once, one a line (result-code.js joinedCodes's form)
//   partial   whether rows are still to come (grading() gives such tables on the way)
//   mode      'own' for an assignment of the student's own row operations, else
//             absent: then stages, missed and hardest are [], columns names the
//             own columns (ownColumns), each row's asked is 2 (the matrix
//             reduced, its reading) and right those of them done, cells [], and
//             own, { reduced, readOff: 'right' | 'wrong' | 'none', ops, method,
//             written, firstRight, shown, hints, tries } (own-result.js
//             ownGraded's), or null without a code
// }
import { read, salvage, canonical, codesIn, joinedOf, partOf } from './result-code.js';
import { id as idOf, exerciseFor, nameKey, stagePlan, formerKeys } from './assignment.js';
import { stagesAsked, firstStage } from './work.js';
import { stageAsked } from '../practice/session.js';
import { check, isMiss } from '../practice/check.js';
import { making } from '../practice/exercises.js';
import { stageShort } from '../run/words.js';
import { ownGrading } from './own-result.js';
import { fromRun } from '../own/matrix.js';
import { ownStart } from './set.js';
import { notation } from '../own/operations.js';

// The fastest a person reads a question, works its number out and types it:
// a code whose time is under this per answer checked was not typed by hand.
const fastestAnswer = 2;

const day = 86400000;

// The end of due ('YYYY-MM-DD') in the teacher's time zone, in ms since 1970:
// offset is the zone's as Date.getTimezoneOffset() gives it (minutes behind
// UTC: -540 in Seoul). Null for no due date.
export const dueInstant = (due, offset = 0) => (due ? Date.parse(due) + day + offset * 60000 : null);

export { readCount } from './gradebook.js';

// Raise when check.js's verdicts, the stages asked or a verdict's form
// change: what an older page found of a code (the memo) is then found anew.
const gradingVersion = 2;

// What grading found, kept so that no code is checked twice (storage keeps
// it): { version, runs, codes }, runs the stages asked of each student's run
// by its seed, codes each code's verdicts by its digest (codeDigest): per
// stage of the code, '1' right the first time or '0', or 'm' for answers that
// do not fit the run, 'u' for a code that could not be checked.
export const newMemo = () => ({ version: gradingVersion, runs: {}, codes: {} });

// A memo read from anywhere: as it is when it is one of this page's, else a new one.
export function memoOf(value) {
  const sound = value !== null && typeof value === 'object' && value.version === gradingVersion &&
    [value.runs, value.codes].every((x) => x !== null && typeof x === 'object' && !Array.isArray(x));
  return sound ? value : newMemo();
}

// A code's digest in a memo: 53 bits of its canonical form (cyrb53), in base 36.
function codeDigest(code) {
  let [h1, h2] = [0xdeadbeef, 0x41c6ce57];
  for (let i = 0; i < code.length; i++) {
    const c = code.charCodeAt(i);
    [h1, h2] = [Math.imul(h1 ^ c, 2654435761), Math.imul(h2 ^ c, 1597334677)];
  }
  h1 = Math.imul(h1 ^ (h1 >>> 16), 2246822507) ^ Math.imul(h2 ^ (h2 >>> 13), 3266489909);
  h2 = Math.imul(h2 ^ (h2 >>> 16), 2246822507) ^ Math.imul(h1 ^ (h1 >>> 13), 3266489909);
  return (4294967296 * (2097151 & h2) + (h1 >>> 0)).toString(36);
}

// The codes in pasted, read, each once: { valid: [{ code, result }],
// rejected, damaged, codes, repeated, joined }, damaged the name keys that
// damaged codes of this assignment still tell, joined the codes one a line;
// reads, a Map of the codes read before (by canonical form). A generator
// that yields after each piece of text and each code.
export function* sortCodes(a, pasted, reads) {
  const [valid, rejected, damaged, id, seen] = [[], [], new Set(), idOf(a), new Set()];
  let found = 0;
  for (const piece of codesIn(pasted)) {
    yield;
    for (const code of piece.map(canonical)) {
      found++;
      if (seen.has(code)) continue;
      seen.add(code);
      if (!reads.has(code)) reads.set(code, read(code));
      const result = reads.get(code);
      const head = result.problem === 'code.broken' ? salvage(code) : null;
      if (head?.id === id) damaged.add(nameKey(head.name));
      if (result.problem) rejected.push({ code, problem: result.problem, name: head?.name ?? null });
      else if (result.id !== id) rejected.push({ code, problem: 'code.other', name: result.name });
      else valid.push({ code, result });
      if (seen.size % 16 === 0) yield;
    }
  }
  return { valid, rejected, damaged, codes: seen.size, repeated: found - seen.size, joined: joinedOf(seen) };
}

// The answers of a stage of a code checked over its questions ({ questions,
// counted }, session.stageAsked): per question { key, label, given, right,
// slip }; null when they do not fit (in number or in form: a choice for
// invertibility, text for an order, text or "left alone" else).
function answersOf({ questions }, first) {
  const fits = (q, answer) => answer === null ||
    (q.kind === 'invertible' ? 'choice' in answer : !('choice' in answer) && (q.kind !== 'order' || 'text' in answer));
  if (first.length !== questions.length || !first.every((answer, i) => fits(questions[i], answer))) return null;
  return questions.map((q, i) => {
    const verdict = first[i] === null ? null : check(q, first[i]);
    return { key: q.key, label: q.label, given: first[i], right: verdict !== null && !isMiss(verdict), slip: verdict?.slip ?? null };
  });
}

// A cell of a stage not reached, or not asked.
const noCell = (status) => ({ status, hints: 0, tries: 0, shown: false });
const cell = ({ status, hints }) => ({ status, hints });

// A stage of a code (s) checked over a student's run (runsOf's: { model,
// checks }) for assignment a: its answers (answersOf's, null when they do
// not fit), each stage and answers checked once; and which of its questions
// count (session.stageAsked), each stage's once.
function stageChecked({ model: m, checks }, a, s) {
  const key = `${s.k} ${JSON.stringify(s.first)}`;
  if (!checks.has(s.k)) checks.set(s.k, stageAsked(m, s.k, firstStage(a, m), a.fill));
  if (!checks.has(key)) checks.set(key, answersOf(checks.get(s.k), s.first));
  return checks.get(key);
}

// A code's verdicts (the memo's) over a student's run (runsOf's), of which
// assignment a asks the stages asked: per stage of the result '1' where every
// counted first answer is right, with no hint and no Show, else '0'; 'm' when
// a stage is not one asked or its answers do not fit its questions. A
// generator that yields after each stage.
function* verdictsOf(run, a, result, asked) {
  if (result.own) return 'm';
  let verdicts = '';
  for (const s of result.stages) {
    const answers = asked.includes(s.k) ? stageChecked(run, a, s) : null;
    if (answers === null) return 'm';
    const { counted } = run.checks.get(s.k);
    verdicts += answers.every((x, i) => !counted[i] || x.right) && s.hints === 0 && !s.shown ? '1' : '0';
    yield;
  }
  return verdicts;
}

// The cells of a result by its verdicts over the stages asked, keyed by k,
// the stages right the first time, and whether the student's page agreed.
function cellsOf(result, verdicts, asked) {
  const cells = new Map(asked.map((k) => [k, noCell('none')]));
  let [right, differs] = [0, false];
  result.stages.forEach((s, i) => {
    const firstRight = verdicts[i] === '1';
    differs ||= s.done && firstRight !== s.right;
    right += s.done && firstRight;
    const status = !s.done ? 'open' : s.shown ? 'shown' : firstRight ? 'first' : 'tries';
    cells.set(s.k, { status, hints: s.hints, tries: s.tries, shown: s.shown });
  });
  return { cells, right, differs };
}

// The code of codes ({ result, right, rank? }, by hand-in time) that rule
// picks: 'best' by score (by rank where a code has one, an own code's, else
// by right); of two as good, the later.
export function counted(codes, rule, score = (c) => c.rank ?? c.right) {
  if (rule === 'first') return codes[0];
  if (rule === 'latest') return codes.at(-1);
  return codes.reduce((best, c) => (score(c) >= score(best) ? c : best));
}

// A hand-in's time (s, from started to handed, in ms), and whether it came
// after due (an instant, or null) or too fast for its tries.
export function timed(started, handed, tries, due) {
  const seconds = Math.round((handed - started) / 1000);
  return { seconds, late: due !== null && handed > due, tooFast: tries > 0 && seconds < fastestAnswer * tries };
}

// The row of a student (name, the list's or the code's) over a run asking
// the stages asked, from the codes that checked ({ code, result, cells,
// right, differs }, by hand-in time; none for a student without one) by
// rule, with due the due instant.
function rowOf(name, asked, checked, { rule, due, listed, damaged }) {
  const flags = [listed ? null : 'notListed'];
  if (checked.length === 0) {
    const cells = new Map(asked.map((k) => [k, noCell('none')]));
    return { name, code: null, codes: [], cells, asked: asked.length, right: 0, hints: 0, shown: 0, tries: 0, seconds: null,
             handed: null, late: false, tooFast: false, flags: [...flags, damaged ? 'damaged' : 'missing'].filter(Boolean) };
  }
  const pick = counted(checked, rule);
  const cells = [...pick.cells.values()];
  const tries = pick.tries ?? cells.reduce((sum, c) => sum + c.tries, 0);
  const { seconds, late, tooFast } = timed(pick.result.started, pick.result.handed, tries, due);
  const codes = checked.map((c) => ({ code: c.code, handed: c.result.handed, right: c.right, asked: asked.length, counted: c === pick }));
  flags.push(checked.length > 1 && 'codes', late && 'late', tooFast && 'tooFast', pick.differs && 'differs');
  return { name, code: pick.code, codes, cells: pick.cells, asked: asked.length, right: pick.right,
           hints: pick.own?.hints ?? cells.reduce((sum, c) => sum + c.hints, 0), shown: pick.own?.shown ?? cells.filter((c) => c.shown).length,
           tries, seconds, handed: pick.result.handed, late, tooFast, flags: flags.filter(Boolean), ...('own' in pick ? { own: pick.own } : {}) };
}

// What an own code's grading keeps in the memo: 'o' and row.own as JSON;
// 'm' for a code that is not an own one or whose operations do not all apply
// to the student's matrix (start, a generator of fromRun's answer); 'u' for
// one that could not be checked.
function* ownVerdict(a, result, start) {
  if (!result.own) return 'm';
  try {
    const { matrix, kind } = yield* start();
    const g = yield* ownGrading(result, matrix, kind, a.arithmetic);
    return g.whole ? `o${Number(g.reduced)}${g.readOff[0]}${counts.map((key) => g[key]).join(',')}` : 'm';
  } catch (e) {
    return 'u';
  }
}

// The counts of an own code's grading that its verdict keeps, in order.
const counts = ['ops', 'method', 'written', 'firstRight', 'shown', 'hints', 'tries'];
const readOffs = ['right', 'wrong', 'none'];

// row.own of a memo's verdict ('o', whether reduced, the reading's first
// letter, the counts: some 20 characters, as a school's year of them is
// kept), or null for one that is not an own code's graded.
function ownOf(verdict) {
  const m = typeof verdict === 'string' && /^o([01])([rwn])(\d+(?:,\d+){6})$/.exec(verdict);
  if (!m) return null;
  const values = m[3].split(',').map(Number);
  return { reduced: m[1] === '1', readOff: readOffs.find((r) => r[0] === m[2]), ...Object.fromEntries(counts.map((key, i) => [key, values[i]])) };
}

// The own codes of a student (entries, by hand-in time) graded on the
// student's matrix, each once (memo): those that fit, as rowOf takes them
// (right: the matrix reduced and the reading right, one each; rank, by which
// 'best' picks: right, then the rows right the first time; tries, the
// operations, rows checked and reading typed); the others set aside in rejected.
function* ownChecked(a, entries, start, memo, rejected) {
  const checked = [];
  for (const { code, key, result } of entries) {
    const digest = codeDigest(key ?? code);
    if (ownOf(memo.codes[digest]) === null && !['m', 'u'].includes(memo.codes[digest])) memo.codes[digest] = yield* ownVerdict(a, result, start);
    const own = ownOf(memo.codes[digest]);
    if (own === null) rejected.push({ code, problem: memo.codes[digest] === 'u' ? 'code.unchecked' : 'code.mismatch', name: result.name });
    else {
      const right = Number(own.reduced) + Number(own.readOff === 'right');
      checked.push({ code, result, cells: new Map(), right, rank: right * 1000 + own.firstRight, differs: false, own,
                     tries: own.ops + own.tries + Number(own.readOff !== 'none') });
    }
    yield;
  }
  return checked;
}

// The row of a student of an own assignment (rowOf's), asked two things: the
// matrix reduced and the reading; own null without a code.
function ownRowOf(name, checked, options) {
  const row = rowOf(name, [], checked, options);
  return { ...row, asked: 2, codes: row.codes.map((c) => ({ ...c, asked: 2 })), own: row.own ?? null };
}

// The students' stages missed, per column: { k, missed, done }; and the
// hardest, up to three stages with the most missed, most first.
function missedOf(stages, rows) {
  const missed = stages.map((k, i) => {
    const done = rows.map((row) => row.cells[i]).filter((c) => ['first', 'tries', 'shown'].includes(c.status));
    return { k, missed: done.filter((c) => c.status !== 'first').length, done: done.length };
  });
  const hardest = missed.filter((x) => x.missed > 0).sort((x, y) => y.missed - x.missed || x.k - y.k).slice(0, 3).map((x) => x.k);
  return { missed, hardest };
}

// The table of the rows worked out so far (rowOf's), in their table form: a
// row keeps its object from one such table to the next while the columns
// stay (tabled, a Map from a row to it), so that a view draws only the rows new.
function tableOf(a, rows, sorted, { rule, rejected, partial, tabled }) {
  // Every run of the assignment has the stages of its plan; each asks from the same first.
  const plan = stagePlan(a.program, a.order);
  const first = firstStage(a, { stages: plan });
  // An own table has no stage columns (see ownColumns).
  const last = a.mode === 'own' ? first - 1 : rows.length > 0 ? Math.max(...rows.map((row) => Math.max(...row.cells.keys()))) : plan.length - 1;
  const stages = Array.from({ length: last - first + 1 }, (_, i) => first + i);
  if (tabled.stages !== String(stages)) Object.assign(tabled, { stages: String(stages), rows: new Map() });
  const shown = rows.map((row) => {
    if (!tabled.rows.has(row)) tabled.rows.set(row, { ...row, cells: stages.map((k) => cell(row.cells.get(k) ?? noCell('unasked'))) });
    return tabled.rows.get(row);
  });
  return { ...(a.mode === 'own' ? { mode: 'own', columns: ownColumns(a) } : {}),
    stages, plan, rule, rejected: [...rejected], ...missedOf(stages, shown), rows: shown, partial, codes: sorted.joined,
    counts: { codes: sorted.codes, graded: shown.filter((row) => row.code !== null).length, rejected: rejected.length, repeated: sorted.repeated } };
}

// The names of the class list by key, and the names each was before a
// correction (assignment.formerKeys) by theirs: the rows that codes land in.
function listedOf(a) {
  const listed = new Map();
  a.names.forEach((name) => { if (!listed.has(nameKey(name))) listed.set(nameKey(name), name); });
  const rowKeys = new Map([...listed.keys()].map((key) => [key, key]));
  for (const [former, key] of formerKeys(a)) if (!rowKeys.has(former)) rowKeys.set(former, key);
  return { listed, rowKeys };
}

// The key of a student's run among the runs kept: its seed, or the teacher's
// matrix's input, which every student shares.
const runKey = (exercise) => exercise.seed ?? exercise.input;

// The runs whose checks (stageChecked's) are kept: a student's codes are
// graded together, and a school's year of checks is hundreds of megabytes.
const runsChecked = 16;

// The students' runs of assignment a (one problem), kept in models by run:
// runFor(name), a generator of the student's { model, checks }, the checks
// of its stages made so far (stageChecked's: a student's codes repeat the
// stages of the codes before), kept for the last few runs asked of this
// object; modelFor(name), of the model alone; and startFor(name), of the
// matrix that the student's own operations start from (the teacher's own, or
// the input of the student's run).
export function runsOf(a, models) {
  const checked = new Map();
  function* modelFor(name) {
    const exercise = exerciseFor(a, name);
    if (!models.has(runKey(exercise))) models.set(runKey(exercise), (yield* making(exercise)).model);
    return models.get(runKey(exercise));
  }
  function* runFor(name) {
    const [model, key] = [yield* modelFor(name), runKey(exerciseFor(a, name))];
    const checks = checked.get(key) ?? new Map();
    checked.delete(key);
    checked.set(key, checks);
    if (checked.size > runsChecked) checked.delete(checked.keys().next().value);
    return { model, checks };
  }
  function* startFor(name) {
    return a.matrix ? ownStart(a.matrix) : fromRun(a.program, (yield* modelFor(name)).run.input);
  }
  return { runFor, modelFor, startFor };
}

// The row of the student named on assignment a (one problem) from the
// student's codes that read (entries, { code, result, key? }, by hand-in
// time; the memo keeps its verdicts by key, else by code), as rowOf makes it with options
// (rowOf's, and kept: whether a student without a code has a row); null for
// none. What does not fit goes to rejected; memo, runs: grading's.
export function* studentRow(a, name, entries, options, { memo, runs, rejected }) {
  if (a.mode === 'own') {
    const checked = yield* ownChecked(a, entries, () => runs.startFor(name), memo, rejected);
    return checked.length > 0 || options.kept ? ownRowOf(name, checked, options) : null;
  }
  const key = runKey(exerciseFor(a, name));
  if (!Array.isArray(memo.runs[key])) memo.runs[key] = stagesAsked(a, yield* runs.modelFor(name));
  const asked = memo.runs[key];
  const checked = [];
  for (const { code, key, result } of entries) {
    const digest = codeDigest(key ?? code);
    if (typeof memo.codes[digest] !== 'string') {
      const run = yield* runs.runFor(name);
      try { memo.codes[digest] = yield* verdictsOf(run, a, result, asked); } catch (e) { memo.codes[digest] = 'u'; }
    }
    const verdicts = memo.codes[digest];
    if (verdicts === 'm' || verdicts === 'u' || verdicts.length !== result.stages.length) {
      rejected.push({ code, problem: verdicts === 'u' ? 'code.unchecked' : 'code.mismatch', name: result.name });
    } else checked.push({ code, result, ...cellsOf(result, verdicts, asked) });
    yield;
  }
  return checked.length > 0 || options.kept ? rowOf(name, asked, checked, options) : null;
}

// The codes of each student of assignment a, sorted (sortCodes'), by the
// key of the row they land in (the class list's first, in its order, each
// with its name), by hand-in time: [[key, name, entries]]. A generator that
// yields every few hundred codes: a school's year of them is some 50 ms.
export function* byStudent(a, valid) {
  const { listed, rowKeys } = listedOf(a);
  const byName = new Map([...listed.keys()].map((key) => [key, []]));
  for (const [i, entry] of [...valid].sort((x, y) => x.result.handed - y.result.handed).entries()) {
    const key = rowKeys.get(nameKey(entry.result.name)) ?? nameKey(entry.result.name);
    if (!byName.has(key)) byName.set(key, []);
    byName.get(key).push(entry);
    if (i % 256 === 255) yield;
  }
  return [...byName].map(([key, entries]) => [key, listed.get(key) ?? entries[0].result.name, entries, listed.has(key), listed.size === 0]);
}

// The table's work, as a generator that yields between pieces (see grading),
// and yields a table on the way once rows are there to show.
function* work(a, pasted, { rule = 'best', offset = 0, models = new Map(), memo = newMemo(), reads = new Map() } = {}) {
  const sorted = yield* sortCodes(a, pasted, reads);
  const [rejected, runs] = [[...sorted.rejected], runsOf(a, models)];
  const [due, rows, tabled] = [dueInstant(a.due, offset), [], {}];
  let shownAt = 16;   // the rows of the next table given on the way
  for (const [key, name, entries, listed, noList] of yield* byStudent(a, sorted.valid)) {
    const options = { rule, due, listed: listed || noList, damaged: sorted.damaged.has(key), kept: listed };
    const row = yield* studentRow(a, name, entries, options, { memo, runs, rejected });
    if (row) rows.push(row);
    if (rows.length === shownAt) {
      shownAt *= 4;
      yield tableOf(a, rows, sorted, { rule, rejected, partial: true, tabled });
    }
  }
  return tableOf(a, rows, sorted, { rule, rejected, partial: false, tabled });
}

// The results table of assignment a from the codes found in pasted (any
// text), worked out in slices: a job whose step(deadline) works until
// performance.now() reaches deadline (or a little past: one student's program
// run, one piece of an exact replay, one stage of a code checked or a piece
// of 64 KB of text searched) and gives whether the table is done; job.result
// is the table then, and job.partial the last table given on the way (rows
// still to come), or null. options: { rule ('best' by default, 'first' or
// 'latest': see the table's rule), offset (the teacher's zone, as dueInstant
// takes it), models (a Map that keeps the students' runs by seed between
// tables of one assignment: given again, a table of more codes or by another
// rule makes no run twice), memo (what grading found of the codes, newMemo's,
// which grading adds to: given again, no code is checked twice), reads (a Map
// of the codes read, likewise) }.
export const grading = (a, pasted, options = {}) => jobOf(work(a, pasted, options));

// A job of the work of a generator (see grading): its value once done is
// job.result, the last value it yields on the way job.partial.
export function jobOf(pieces) {
  const job = { result: null, partial: null };
  job.step = (deadline) => {
    for (;;) {
      const { done, value } = pieces.next();
      if (done) job.result = value;
      else if (value) job.partial = value;
      if (done || performance.now() >= deadline) return done;
    }
  };
  return job;
}

// The table in one go (grading's, run to its end).
export function results(a, pasted, options = {}) {
  const job = grading(a, pasted, options);
  while (!job.step(Infinity));
  return job.result;
}

// The details of a row opened, worked out in slices (a job as grading's): of
// its code that counts, per stage of the table (stages) { tries, shown,
// answers }, the answers checked, whether Show filled it in, and per question
// of the stage { key, label, given, right, slip }, the first answer given
// (null: none), this page's verdict on it and the slip that it names
// (check.js); [] for a stage that the code does not reach, and for no code
// (null). Of an own assignment, ownDetails' (stages unused). models as grading's.
export const detailing = (a, code, stages, { models = new Map() } = {}) => jobOf(details(a, code, stages, models));

// The result of a's problem that code carries (a set's code, its part of
// the problem), or null for none, a code that does not read or is another
// assignment's.
function problemRead(a, code) {
  const result = code === null ? null : read(code);
  return result && !result.problem && result.id === idOf(a) ? partOf(result, a.set?.at ?? 0) : null;
}

function* details(a, code, stages, models) {
  if (a.mode === 'own') return yield* ownDetails(a, code, models);
  const result = problemRead(a, code);
  if (result === null) return stages.map(() => ({ tries: 0, shown: false, answers: [] }));
  const run = yield* runsOf(a, models).runFor(result.name);
  const found = [];
  for (const k of stages) {
    const s = result.stages.find((x) => x.k === k);
    found.push({ tries: s?.tries ?? 0, shown: s?.shown ?? false, answers: (s && stageChecked(run, a, s)) ?? [] });
    yield;
  }
  return found;
}

// A stage column's heading (t's): its number and its short name.
export const stageHeading = (t, table, k) => t('results.stageNamed', { k: k + 1, name: stageShort(t, table.plan[k]) });

// A cell in words (t's): its status, and its hints when there were any.
export const cellText = (t, { status, hints }) => t('results.status.' + status) +
  (hints > 0 ? t('results.cellHints', { hints: t(hints === 1 ? 'practice.hints.one' : 'practice.hints.other', { count: hints }) }) : '');

// A row's flags in words (t's), one after another; rule, the table's.
export const flagText = (t, row, rule = 'best') => row.flags.map((f) =>
  t('results.flag.' + f, { count: row.codes.length, rule: t('results.rule.' + rule), answers: row.tries, minutes: minutes(row) })).join('; ');

// The time a row took, in minutes to a tenth, '' without a code.
export const minutes = (row) => (row.seconds === null ? '' : Math.round(row.seconds / 6) / 10);

// A time (ms) as 'YYYY-MM-DD HH:MM' in the zone of offset (dueInstant's), '' for none.
export const timeText = (ms, offset = 0) =>
  (ms === null ? '' : new Date(ms - offset * 60000).toISOString().slice(0, 16).replace('T', ' '));

// ---- Own assignments: the student's own row operations ----

// The columns of an own table: the matrix reduced, the reading, the
// operations against the method's, the rows right the first time (where
// the student writes them), the hints and the rows shown.
export const ownColumns = (a) =>
  ['reduced', 'readOff', 'ops', ...(a.arithmetic === 'learner' ? ['firstRight'] : []), 'hints', 'shown'];

// An own column's heading (t's).
export const ownHeading = (t, column) => t('results.own.' + column);

// Each own column's cell of row.own (o) in t's words, with the status of a stage's cell for its colour.
const ownCells = {
  reduced: (t, o) => ({ text: t(o.reduced ? 'results.own.reducedYes' : 'results.own.reducedNo'), status: o.reduced ? 'first' : 'open' }),
  readOff: (t, o) => ({ text: t('results.own.read.' + o.readOff), status: { right: 'first', wrong: 'shown', none: 'open' }[o.readOff] }),
  ops: (t, o) => ({ text: t('results.own.opsCount', { ops: o.ops, method: o.method }), status: o.ops <= o.method ? 'first' : 'tries' }),
  firstRight: (t, o) => ({ text: t('results.own.firstRightOf', { right: o.firstRight, written: o.written }),
                           status: o.written === 0 ? 'none' : o.firstRight === o.written ? 'first' : 'tries' }),
  hints: (t, o) => ({ text: String(o.hints), status: o.hints === 0 ? 'first' : 'tries' }),
  shown: (t, o) => ({ text: String(o.shown), status: o.shown === 0 ? 'first' : 'shown' }),
};

// A row's cell of an own column (t's): { text, status }, status one of a
// stage cell's ('first', 'tries', 'shown', 'open', 'none'); 'none' without a code.
export const ownCell = (t, row, column) => (row.own ? ownCells[column](t, row.own) : { text: t('results.status.none'), status: 'none' });

// An operation of the drill-down (detailing's) in t's words: how its row went.
export function ownStepText(t, step) {
  if (step.right === null) return t('results.own.row.page');
  if (step.first === null) return t(step.shown ? 'results.own.row.shown' : 'results.own.row.none');
  if (step.right) return t('results.own.row.right');
  return t('results.own.row.wrong', { columns: step.wrong.map((c) => c + 1).join(', ') }) + (step.shown ? '; ' + t('results.own.row.shown') : '');
}

// The drill-down of an own code on the student's matrix: { own, answer,
// verdict, expected }, own per operation { op (the page's notation), first,
// right, wrong, slip, shown } (ownGraded's steps), answer the reading,
// verdict what is wrong with it and expected the meaning it is judged by
// (reading.js says each); for no code, or one that is not of a, nothing.
function* ownDetails(a, code, models) {
  const result = problemRead(a, code);
  if (!result?.own) return { own: [], answer: null, verdict: null, expected: null };
  const { matrix, kind } = yield* runsOf(a, models).startFor(result.name);
  const g = yield* ownGrading(result, matrix, kind, a.arithmetic);
  return { own: g.steps.map((step) => ({ ...step, op: notation(step.op) })), answer: g.answer, verdict: g.verdict, expected: g.expected };
}
