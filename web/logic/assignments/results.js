// The teacher's results: the codes pasted back, read and checked against the
// teacher's page's own run of each student's matrix, as one table with a row
// per student and a column per stage asked, and the table as CSV. The verdicts
// are worked out here from the first answers in the codes; the student's page's
// own verdicts are only compared with them. Nothing here touches the page; the
// programs must be loaded (the runs are made by exercises.js).
//
// A table: {
//   stages    the stages asked, as indexes k of the run's model, a column each
//   rows      one per student, the class list's order first, then the others by
//             the time their codes were handed in: {
//     name      the name on the list, else as the code has it
//     code      the code that counts (the latest handed in), or null
//     cells     per stage asked: { status, hints }, status one of
//               'first'  every first answer right, with no hint and no Show
//               'tries'  finished otherwise, without Show
//               'shown'  finished with Show
//               'open'   begun, not finished
//               'none'   not reached
//     hints     the hints seen, in all
//     seconds   from the start to the hand-in, or null without a code
//     right     the stages right the first time
//     replaced  how many earlier codes for the same name this one replaced
//     flags     of 'replaced', 'notListed', 'missing', 'differs' (the
//               student's page judged a stage otherwise than this one)
//   }
//   rejected  codes that make no row: { code, problem, name } (name null when
//             unreadable), problem 'code.broken', 'code.version', 'code.other'
//             (another assignment's) or 'code.mismatch' (answers that do not
//             fit this assignment's run)
// }
import { read, find } from './result-code.js';
import { id as idOf, exerciseFor, nameKey } from './assignment.js';
import { invertibility, questions, check, isMiss } from '../check.js';
import { make } from '../exercises.js';
import { csv } from './csv.js';

// The questions of stage k of m, practised from stage from (0-based), in the
// order that a result keeps its first answers.
const questionsAt = (m, k, from, fill) => [invertibility(m, k, from), ...questions(m, k, fill)].filter(Boolean);

// Whether every first answer of a stage is right, by this page's checker.
const firstRight = (qs, first) => first.every((answer, i) => answer !== null && !isMiss(check(qs[i], answer)));

// Whether an answer read from a code is of the form that question q takes: a
// choice for invertibility, text for an order, text or "left alone" else.
const fits = (q, answer) => answer === null ||
  (q.kind === 'invertible' ? 'choice' in answer : !('choice' in answer) && (q.kind !== 'order' || 'text' in answer));

// The cells of a result over the stages asked of model m, and whether the
// student's page agreed; null when a stage of the result is not one asked or
// its answers do not fit its questions (in number or in form).
function cellsOf(m, a, result, asked) {
  const cells = asked.map(() => ({ status: 'none', hints: 0 }));
  let differs = false;
  for (const s of result.stages) {
    const at = asked.indexOf(s.k);
    if (at < 0 || s.k >= m.stages.length) return null;
    const qs = questionsAt(m, s.k, a.from - 1, a.fill);
    if (s.first.length !== qs.length || !s.first.every((answer, i) => fits(qs[i], answer))) return null;
    const right = firstRight(qs, s.first) && s.hints === 0 && !s.shown;
    differs ||= s.done && right !== s.right;
    const status = !s.done ? 'open' : s.shown ? 'shown' : right ? 'first' : 'tries';
    cells[at] = { status, hints: s.hints };
  }
  return { cells, differs };
}

// The stages asked of an assignment whose runs have count stages.
const stagesAsked = (a, count) => Array.from({ length: Math.max(0, count - a.from + 1) }, (_, i) => a.from - 1 + i);

// How many stages assignment a asks, counted on the matrix of its first name
// (or of any name, without a list), as the results table counts them.
export const askedCount = (a) => stagesAsked(a, make(exerciseFor(a, a.names[0] ?? '')).model.stages.length).length;

// The codes in pasted, read: { valid: [{ code, result, order }], rejected }.
function sortCodes(a, pasted) {
  const [valid, rejected, id] = [[], [], idOf(a)];
  find(pasted).forEach((code, order) => {
    const result = read(code);
    if (result.problem) rejected.push({ code, problem: result.problem, name: null });
    else if (result.id !== id) rejected.push({ code, problem: 'code.other', name: result.name });
    else valid.push({ code, result, order });
  });
  return { valid, rejected };
}

// The latest code for each name (by hand-in time, then by the order pasted),
// with the count of those it replaced: a Map from nameKey to { code, result, replaced }.
function latestByName(valid) {
  const latest = new Map();
  const sorted = [...valid].sort((x, y) => x.result.handed - y.result.handed || x.order - y.order);
  for (const entry of sorted) {
    const key = nameKey(entry.result.name);
    latest.set(key, { ...entry, replaced: latest.has(key) ? latest.get(key).replaced + 1 : 0 });
  }
  return latest;
}

// The results table of assignment a from the codes found in pasted (any text).
export function results(a, pasted) {
  const runs = new Map();
  const modelFor = (name) => {
    const exercise = exerciseFor(a, name);
    if (!runs.has(exercise.seed)) runs.set(exercise.seed, make(exercise).model);
    return runs.get(exercise.seed);
  };
  const asked = stagesAsked(a, modelFor(a.names[0] ?? '').stages.length);
  const { valid, rejected } = sortCodes(a, pasted);
  const listed = new Map(a.names.map((name) => [nameKey(name), name]));
  const rows = [];
  for (const [key, { code, result, replaced }] of latestByName(valid)) {
    const checked = cellsOf(modelFor(result.name), a, result, asked);
    if (checked === null) {
      rejected.push({ code, problem: 'code.mismatch', name: result.name });
      continue;
    }
    const flags = [replaced > 0 && 'replaced', a.names.length > 0 && !listed.has(key) && 'notListed', checked.differs && 'differs'];
    rows.push({ name: listed.get(key) ?? result.name, code, cells: checked.cells, hints: checked.cells.reduce((sum, c) => sum + c.hints, 0),
                seconds: Math.round((result.handed - result.started) / 1000), right: checked.cells.filter((c) => c.status === 'first').length,
                replaced, flags: flags.filter(Boolean) });
  }
  const missing = [...listed].filter(([key]) => !rows.some((row) => nameKey(row.name) === key)).map(([, name]) =>
    ({ name, code: null, cells: asked.map(() => ({ status: 'none', hints: 0 })), hints: 0, seconds: null, right: 0, replaced: 0, flags: ['missing'] }));
  const place = (row) => (listed.has(nameKey(row.name)) ? a.names.findIndex((n) => nameKey(n) === nameKey(row.name)) : a.names.length);
  return { stages: asked, rows: [...rows, ...missing].sort((x, y) => place(x) - place(y)), rejected };
}

// A cell in words (t's): its status, and its hints when there were any.
export const cellText = (t, { status, hints }) => t('results.status.' + status) +
  (hints > 0 ? t('results.cellHints', { hints: t(hints === 1 ? 'practice.hints.one' : 'practice.hints.other', { count: hints }) }) : '');

// A row's flags in words (t's), one after another.
export const flagText = (t, row) => row.flags.map((f) => t('results.flag.' + f, { count: row.replaced })).join('; ');

// The time a row took, in minutes to a tenth, '' without a code.
export const minutes = (row) => (row.seconds === null ? '' : Math.round(row.seconds / 6) / 10);

// The table as CSV worded by t: a header, a line per row, then a line
// per code rejected. Time is in minutes and the total a plain count, so that a
// spreadsheet reads neither as a date.
export function resultsCsv(t, table) {
  const header = [t('results.name'), ...table.stages.map((k) => t('results.stage', { k: k + 1 })), t('results.hints'),
                  t('results.minutes'), t('results.total', { count: table.stages.length }), t('results.flags')];
  const lines = table.rows.map((row) => [row.name, ...row.cells.map((cell) => cellText(t, cell)), row.hints,
    minutes(row), row.right, flagText(t, row)]);
  const rejected = table.rejected.map((r) => [r.name ?? '', ...table.stages.map(() => ''), '', '', '', t(r.problem)]);
  return csv([header, ...lines, ...rejected]);
}
