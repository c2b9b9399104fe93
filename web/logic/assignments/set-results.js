// The teacher's results of any assignment: a set's, by problem, made here;
// one of a single problem as results.js makes it. A set's codes (a hand-in is
// one "GJS1" code, or a code a problem, result-code.js) are read and sorted
// as results.js sorts any; a student's codes of one head (the same name and
// times) are one hand-in; each problem of a hand-in is graded as results.js
// grades an assignment of that problem alone (assignment.problemOf), and
// counts its points times its share: of this method's stages, those asked
// right the first time; of the student's own way, the matrix reduced and the
// reading right, half each. The CSV of any table is in numbers a
// spreadsheet adds up: the points of each problem, the total and its
// percentage in columns of their own (the words are the drill-down's).
// Nothing here touches the page; the programs must be loaded.
//
// A set's table: {
//   mode      'set'
//   problems  per problem: { at, points, mode, given (the teacher's matrix
//             or drawn), stages and plan (this method's: the stages asked of
//             its runs, which its drill-down lists, and their plan), columns
//             (the own way's: results.js ownColumns) }
//   points    the set's, in all
//   rule      as results.js's, by which a student's hand-in that counts is
//             picked ('best': the most points)
//   rows      one per student, in results.js's order: {
//     name, seconds, handed, late, tooFast, tries, flags   as results.js's
//               rows have them, of the hand-in that counts
//     code      the first code of the hand-in that counts, or null
//     codes     every hand-in, by hand-in time: { code (its first), codes,
//               handed, points, counted }
//     cells     per problem: { points (to the hundredth), of (the
//               problem's), status ('first' finished with every point,
//               'tries' finished with fewer, 'open' begun and not finished,
//               'none' not handed in), code (the one that
//               carries it, or null), row (results.js's row of the problem
//               alone, which its drill-down reads) }
//     points    earned in all; percent, of the set's points (to a tenth)
//   }
//   rejected, counts, codes, partial   as results.js's
// }
import { problemsOf, pointsOf, stagePlan } from './assignment.js';
import { firstStage } from './work.js';
import { ownFinished } from './permissions.js';
import { partOf } from './result-code.js';
import { csv } from './csv.js';
import * as one from './results.js';

const { counted, timed, dueInstant, newMemo, sortCodes, byStudent, studentRow, runsOf, jobOf, flagText, minutes, timeText, ownColumns } = one;

// A number of points to the hundredth, as the table and the CSV show it.
const hundredth = (x) => Math.round(x * 100) / 100;

// The share of a problem's points that its row (results.js's) earns: the
// stages (or, of the student's own way, the two things) asked, done right.
const shareOf = (row) => (row.code === null || !(row.asked > 0) ? 0 : row.right / row.asked);

// A student's codes (entries, by hand-in time) as hand-ins: those of one
// head (the name and times that the codes of one hand-in share) together,
// { started, handed, codes, parts: Map from a problem's place to { code, result } }.
function handsOf(entries) {
  const hands = new Map();
  for (const { code, result } of entries) {
    const key = `${result.started} ${result.handed} ${result.name}`;
    if (!hands.has(key)) hands.set(key, { started: result.started, handed: result.handed, codes: [], parts: new Map() });
    const hand = hands.get(key);
    hand.codes.push(code);
    for (const at of result.parts ? result.parts.map((part) => part.at) : [0]) {
      if (!hand.parts.has(at)) hand.parts.set(at, { code, result: partOf(result, at) });
    }
  }
  return [...hands.values()];
}

// Whether a problem's row (results.js's, with a code) is of work finished:
// every stage asked done, or the matrix reduced and read (permissions.js).
const finished = (row) => (row.own ? ownFinished(row.own.reduced, row.own.readOff !== 'none')
  : [...row.cells.values()].every((c) => ['first', 'tries', 'shown'].includes(c.status)));

// The cell of problem p from its row graded alone (null: not handed in),
// the row's cells a stage each of the problem's stages (as results.js's
// table has them, the drill-down's).
function cellOf(p, row, code, stages = []) {
  if (row === null || row.code === null) return { points: 0, of: pointsOf(p), status: 'none', code: null, row };
  const points = hundredth(shareOf(row) * pointsOf(p));
  const status = !finished(row) ? 'open' : points === pointsOf(p) ? 'first' : 'tries';
  return { points, of: pointsOf(p), status, code, row: { ...row, cells: stages.map((k) => row.cells.get(k) ?? { status: 'unasked', hints: 0 }) } };
}

// A set's row of the student named from the hand-ins graded ({ cells,
// points, started, handed, codes }, by hand-in time; none without one) of
// problems, by options' rule, as results.js's rowOf makes a row of one problem.
function setRowOf(name, graded, problems, { rule, due, listed, damaged }) {
  const flags = [listed ? null : 'notListed'];
  const of = problems.reduce((sum, p) => sum + pointsOf(p), 0);
  if (graded.length === 0) {
    return { name, code: null, codes: [], cells: problems.map((p) => cellOf(p, null, null)), points: 0, percent: 0, tries: 0, seconds: null, handed: null, late: false, tooFast: false,
             flags: [...flags, damaged ? 'damaged' : 'missing'].filter(Boolean) };
  }
  const pick = counted(graded, rule, (hand) => hand.points);
  const tries = pick.cells.reduce((sum, c) => sum + (c.row?.tries ?? 0), 0);
  const { seconds, late, tooFast } = timed(pick.started, pick.handed, tries, due);
  const differs = pick.cells.some((c) => c.row?.flags.includes('differs'));
  flags.push(graded.length > 1 && 'codes', late && 'late', tooFast && 'tooFast', differs && 'differs');
  return { name, code: pick.codes[0], codes: graded.map((h) => ({ code: h.codes[0], codes: h.codes, handed: h.handed, points: h.points, counted: h === pick })),
           cells: pick.cells, points: pick.points, percent: of > 0 ? Math.round((1000 * pick.points) / of) / 10 : 0, tries, seconds,
           handed: pick.handed, late, tooFast, flags: flags.filter(Boolean) };
}

// What the table says of problem p: its points, kind and, for this method's
// stages, the stages its runs ask and their plan (as results.js's table has them).
function problemColumn(p) {
  const plan = stagePlan(p.program, p.order);
  const first = firstStage(p, { stages: plan });
  const stages = p.mode === 'own' ? [] : Array.from({ length: plan.length - first }, (_, i) => first + i);
  return { at: p.set?.at ?? 0, points: pointsOf(p), mode: p.mode, given: Boolean(p.matrix), stages, plan, ...(p.mode === 'own' ? { columns: ownColumns(p) } : {}) };
}

// A set's table of the rows so far.
function setTable(a, problems, rows, sorted, { rule, rejected, partial }) {
  return { mode: 'set', problems: problems.map(problemColumn), points: problems.reduce((sum, p) => sum + pointsOf(p), 0), rule,
           rows: [...rows], rejected: [...rejected], partial, codes: sorted.joined,
           counts: { codes: sorted.codes, graded: rows.filter((row) => row.code !== null).length, rejected: rejected.length, repeated: sorted.repeated } };
}

// A set's work, as results.js's: a generator that yields between pieces,
// and yields a table on the way once rows are there to show.
function* setWork(a, pasted, { rule = 'best', offset = 0, models = new Map(), memo = newMemo(), reads = new Map() } = {}) {
  const sorted = yield* sortCodes(a, pasted, reads);
  const problems = problemsOf(a);
  const columns = problems.map(problemColumn);
  const [rejected, due, rows] = [[...sorted.rejected], dueInstant(a.due, offset), []];
  const runs = problems.map((p) => runsOf(p, models));
  let shownAt = 16;
  for (const [key, name, entries, listed, noList] of yield* byStudent(a, sorted.valid)) {
    const graded = [];
    // A student listed who handed nothing in yet: the runs of the student's problems made, for the tables to come.
    if (entries.length === 0) for (const [i, p] of problems.entries()) yield* (p.mode === 'own' ? runs[i].startFor(name) : studentRow(p, name, [], { kept: false }, { memo, runs: runs[i], rejected }));
    for (const hand of handsOf(entries)) {
      const cells = [];
      for (const [i, p] of problems.entries()) {
        const part = hand.parts.get(i);
        const entry = part && part.result && { code: part.code, key: `${part.code} ${i}`, result: part.result };
        const row = entry ? yield* studentRow(p, name, [entry], { rule: 'first', due: null, listed: true, damaged: false, kept: false }, { memo, runs: runs[i], rejected }) : null;
        cells.push(cellOf(p, row, part?.code ?? null, columns[i].stages));
      }
      graded.push({ ...hand, cells, points: hundredth(cells.reduce((sum, c) => sum + c.points, 0)) });
    }
    // A hand-in of which no problem fits the set (each set aside) is none.
    const fitting = graded.filter((hand) => hand.cells.some((c) => c.status !== 'none'));
    if (fitting.length > 0 || listed) rows.push(setRowOf(name, fitting, problems, { rule, due, listed: listed || noList, damaged: sorted.damaged.has(key) }));
    if (rows.length === shownAt) {
      shownAt *= 4;
      yield setTable(a, problems, rows, sorted, { rule, rejected, partial: true });
    }
  }
  return setTable(a, problems, rows, sorted, { rule, rejected, partial: false });
}

// The results table of any assignment a from the codes in pasted, worked out
// in slices: a job as results.js's grading gives, with its options.
export const grading = (a, pasted, options = {}) => (a.problems ? jobOf(setWork(a, pasted, options)) : one.grading(a, pasted, options));

// The table in one go (grading's, run to its end).
export function results(a, pasted, options = {}) {
  const job = grading(a, pasted, options);
  while (!job.step(Infinity));
  return job.result;
}

// The drill-down of problem at of a row of assignment a (a set's, or one
// problem's: at 0) from code, the code that carries it, worked out in slices
// (results.js's detailing over that problem alone).
export function detailing(a, at, code, { models = new Map() } = {}) {
  const p = problemsOf(a)[at];
  return one.detailing(p, code, problemColumn(p).stages, { models });
}

// The header of a table's CSV (t's): the name, each problem's points, the
// total, the percentage, then the time, the hand-in time, whether late, the notes.
export function csvHeader(t, table) {
  const problems = table.mode === 'set' ? table.problems : [{ points: 1 }];
  return [t('results.name'), ...problems.map((p, i) => t('results.set.problem', { k: i + 1, points: p.points })),
    t('results.set.total', { points: table.points ?? 1 }), t('results.set.percent'), t('results.minutes'), t('results.handed'),
    t('results.late'), t('results.flags')];
}

// The table as CSV worded by t (the header's words; the rest numbers): a
// line per student. A student with no code has blank points, so that an
// average over the class leaves them out; time is in minutes, so that a
// spreadsheet reads it as no date; the hand-in time in the zone of offset.
export function resultsCsv(t, table, offset = 0) {
  const set = table.mode === 'set';
  const lines = table.rows.map((row) => {
    const none = row.code === null;
    const cells = set ? row.cells.map((c) => c.points) : [hundredth(shareOf(row))];
    const points = set ? row.points : cells[0];
    const percent = set ? row.percent : Math.round(1000 * shareOf(row)) / 10;
    return [row.name, ...(none ? cells.map(() => '') : cells), none ? '' : points, none ? '' : percent, minutes(row),
      timeText(row.handed, offset), row.late ? t('results.lateYes') : '', flagText(t, row, table.rule)];
  });
  return csv([csvHeader(t, table), ...lines]);
}
