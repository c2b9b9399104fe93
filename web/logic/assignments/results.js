// The teacher's results: the codes pasted back, read and checked against the
// teacher's page's own run of each student's matrix, as one table with a row
// per student and a column per stage asked, and the table as CSV. The verdicts
// are worked out here from the first answers in the codes; the student's page's
// own verdicts are only compared with them. The table is worked out in slices
// (grading()), so that a class's codes never hold the page for long. Nothing
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
//     details   per stage of the table, what a teacher opens a row for:
//               { tries, shown, answers }, the answers checked, whether Show
//               filled it in, and per question of the stage { key, label,
//               given, right, slip }, the first answer given (null: none),
//               this page's verdict on it and the slip that it names (check.js)
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
// }
import { read, find, salvage, canonical } from './result-code.js';
import { id as idOf, exerciseFor, nameKey, stagePlan } from './assignment.js';
import { stagesAsked, firstStage } from './work.js';
import { stageAsked } from '../session.js';
import { check, isMiss } from '../check.js';
import { making } from '../exercises.js';
import { stageShort } from '../words.js';
import { csv } from './csv.js';

// The fastest a person reads a question, works its number out and types it:
// a code whose time is under this per answer checked was not typed by hand.
export const fastestAnswer = 2;

const day = 86400000;

// The end of due ('YYYY-MM-DD') in the teacher's time zone, in ms since 1970:
// offset is the zone's as Date.getTimezoneOffset() gives it (minutes behind
// UTC: -540 in Seoul). Null for no due date.
export const dueInstant = (due, offset = 0) => (due ? Date.parse(due) + day + offset * 60000 : null);

export { readCount } from './gradebook.js';

// The codes in pasted, read, each once: { valid: [{ code, result }],
// rejected, damaged, codes, repeated }, damaged the name keys that damaged
// codes of this assignment still tell; a generator that yields after each code.
function* sortCodes(a, pasted) {
  const [valid, rejected, damaged, id, seen] = [[], [], new Set(), idOf(a), new Set()];
  const found = find(pasted);
  yield;
  for (const code of found) {
    if (seen.has(canonical(code))) continue;
    seen.add(canonical(code));
    const result = read(code);
    const head = result.problem === 'code.broken' ? salvage(code) : null;
    if (head?.id === id) damaged.add(nameKey(head.name));
    if (result.problem) rejected.push({ code, problem: result.problem, name: head?.name ?? null });
    else if (result.id !== id) rejected.push({ code, problem: 'code.other', name: result.name });
    else valid.push({ code, result });
    yield;
  }
  return { valid, rejected, damaged, codes: seen.size, repeated: found.length - seen.size };
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

// A cell of a stage not reached, or not asked: { status, hints } and its details.
const noCell = (status) => ({ status, hints: 0, tries: 0, shown: false, answers: [] });
const cell = ({ status, hints }) => ({ status, hints });
const detail = ({ tries, shown, answers }) => ({ tries, shown, answers });

// The cells of a result over the stages of m's run that assignment a asks
// (asked), keyed by k, the stages right the first time, and whether the
// student's page agreed; null when a stage of the result is not one asked or
// its answers do not fit its questions. A generator that yields after each stage.
function* cellsOf(m, a, result, asked) {
  const cells = new Map(asked.map((k) => [k, noCell('none')]));
  let [right, differs] = [0, false];
  for (const s of result.stages) {
    if (!cells.has(s.k)) return null;
    const stage = stageAsked(m, s.k, firstStage(a, m), a.fill);
    const answers = answersOf(stage, s.first);
    if (answers === null) return null;
    const firstRight = answers.every((x, i) => !stage.counted[i] || x.right) && s.hints === 0 && !s.shown;
    differs ||= s.done && firstRight !== s.right;
    right += s.done && firstRight;
    const status = !s.done ? 'open' : s.shown ? 'shown' : firstRight ? 'first' : 'tries';
    cells.set(s.k, { status, hints: s.hints, tries: s.tries, shown: s.shown, answers });
    yield;
  }
  return { cells, right, differs };
}

// The code of codes ({ result, right }, by hand-in time) that rule picks.
function counted(codes, rule) {
  if (rule === 'first') return codes[0];
  if (rule === 'latest') return codes.at(-1);
  return codes.reduce((best, c) => (c.right >= best.right ? c : best));
}

// The row of a student (name, the list's or the code's) over m's run, from
// the codes that checked ({ code, result, cells, right, differs }, by hand-in
// time; none for a student without one) by rule, with due the due instant.
function rowOf(name, m, a, checked, { rule, due, listed, damaged }) {
  const asked = stagesAsked(a, m);
  const flags = [listed ? null : 'notListed'];
  if (checked.length === 0) {
    const cells = new Map(asked.map((k) => [k, noCell('none')]));
    return { name, code: null, codes: [], cells, asked: asked.length, right: 0, hints: 0, shown: 0, tries: 0, seconds: null,
             handed: null, late: false, tooFast: false, flags: [...flags, damaged ? 'damaged' : 'missing'].filter(Boolean) };
  }
  const pick = counted(checked, rule);
  const cells = [...pick.cells.values()];
  const seconds = Math.round((pick.result.handed - pick.result.started) / 1000);
  const tries = cells.reduce((sum, c) => sum + c.tries, 0);
  const late = due !== null && pick.result.handed > due;
  const tooFast = tries > 0 && seconds < fastestAnswer * tries;
  const codes = checked.map((c) => ({ code: c.code, handed: c.result.handed, right: c.right, asked: asked.length, counted: c === pick }));
  flags.push(checked.length > 1 && 'codes', late && 'late', tooFast && 'tooFast', pick.differs && 'differs');
  return { name, code: pick.code, codes, cells: pick.cells, asked: asked.length, right: pick.right,
           hints: cells.reduce((sum, c) => sum + c.hints, 0), shown: cells.filter((c) => c.shown).length, tries, seconds,
           handed: pick.result.handed, late, tooFast, flags: flags.filter(Boolean) };
}

// The students' stages missed, per column: { k, missed, done }; and the
// hardest, up to three stages with the most missed, most first.
function missedOf(stages, rows) {
  const missed = stages.map((k) => {
    const done = rows.map((row) => row.cells.get(k)).filter((c) => c && ['first', 'tries', 'shown'].includes(c.status));
    return { k, missed: done.filter((c) => c.status !== 'first').length, done: done.length };
  });
  const hardest = missed.filter((x) => x.missed > 0).sort((x, y) => y.missed - x.missed || x.k - y.k).slice(0, 3).map((x) => x.k);
  return { missed, hardest };
}

// The table's work, as a generator that yields between pieces (see grading).
function* work(a, pasted, { rule = 'best', offset = 0, models = new Map() } = {}) {
  function* modelFor(name) {
    const exercise = exerciseFor(a, name);
    if (!models.has(exercise.seed)) models.set(exercise.seed, (yield* making(exercise)).model);
    return models.get(exercise.seed);
  }
  const sorted = yield* sortCodes(a, pasted);
  const rejected = [...sorted.rejected];
  const listed = new Map();
  a.names.forEach((name) => { if (!listed.has(nameKey(name))) listed.set(nameKey(name), name); });
  const byName = new Map([...listed.keys()].map((key) => [key, []]));
  for (const entry of [...sorted.valid].sort((x, y) => x.result.handed - y.result.handed)) {
    const key = nameKey(entry.result.name);
    if (!byName.has(key)) byName.set(key, []);
    byName.get(key).push(entry);
  }
  const due = dueInstant(a.due, offset);
  const rows = [];
  for (const [key, entries] of byName) {
    const name = listed.get(key) ?? entries[0].result.name;
    const m = yield* modelFor(name);
    const checked = [];
    for (const { code, result } of entries) {
      try {
        const cells = yield* cellsOf(m, a, result, stagesAsked(a, m));
        if (cells === null) rejected.push({ code, problem: 'code.mismatch', name: result.name });
        else checked.push({ code, result, ...cells });
      } catch (e) {
        rejected.push({ code, problem: 'code.unchecked', name: result.name });
      }
      yield;
    }
    if (checked.length > 0 || listed.has(key)) rows.push(rowOf(name, m, a, checked, { rule, due, listed: listed.has(key) || listed.size === 0, damaged: sorted.damaged.has(key) }));
  }
  // Every run of the assignment has the stages of its plan; each asks from the same first.
  const plan = stagePlan(a.program, a.order);
  const first = firstStage(a, { stages: plan });
  const last = rows.length > 0 ? Math.max(...rows.map((row) => Math.max(...row.cells.keys()))) : plan.length - 1;
  const stages = Array.from({ length: last - first + 1 }, (_, i) => first + i);
  const table = { stages, plan, rule, rejected, ...missedOf(stages, rows),
    rows: rows.map((row) => {
      const full = stages.map((k) => row.cells.get(k) ?? noCell('unasked'));
      return { ...row, cells: full.map(cell), details: full.map(detail) };
    }),
    counts: { codes: sorted.codes, graded: rows.filter((row) => row.code !== null).length, rejected: rejected.length, repeated: sorted.repeated } };
  return table;
}

// The results table of assignment a from the codes found in pasted (any
// text), worked out in slices: a job whose step(deadline) works until
// performance.now() reaches deadline (or a little past: one student's program
// run, one piece of an exact replay or one stage of a code checked) and gives
// whether the table is done; job.result is the table then. options: { rule
// ('best' by default, 'first' or 'latest': see the table's rule), offset (the
// teacher's zone, as dueInstant takes it), models (a Map that keeps the
// students' runs by seed between tables of one assignment: given again, a
// table of more codes or by another rule makes no run twice) }.
export function grading(a, pasted, options = {}) {
  const pieces = work(a, pasted, options);
  const job = { result: null };
  job.step = (deadline) => {
    for (;;) {
      const { done, value } = pieces.next();
      if (done) job.result = value;
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

// A stage column's heading (t's): its number and its short name.
export const stageHeading = (t, table, k) => t('results.stageNamed', { k: k + 1, name: stageShort(t, table.plan[k]) });

// The header row of the table and of its CSV (t's): the name, a column per
// stage, then the hints, the time, the stages right the first time, those
// asked, the hand-in time, whether late, and the notes.
export const header = (t, table) => [t('results.name'), ...table.stages.map((k) => stageHeading(t, table, k)), t('results.hints'),
  t('results.minutes'), t('results.right'), t('results.asked'), t('results.handed'), t('results.late'), t('results.flags')];

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

// The table as CSV worded by t: the header, then a line per student. Time is
// in minutes and the totals plain counts, so that a spreadsheet reads neither
// as a date; the hand-in time is in the zone of offset. The codes set aside
// are listed on the page, not in the CSV, which has one line per student.
export function resultsCsv(t, table, offset = 0) {
  const lines = table.rows.map((row) => [row.name, ...row.cells.map((cell) => cellText(t, cell)), row.hints,
    minutes(row), row.right, row.asked, timeText(row.handed, offset), row.late ? t('results.lateYes') : '', flagText(t, row, table.rule)]);
  return csv([header(t, table), ...lines]);
}
