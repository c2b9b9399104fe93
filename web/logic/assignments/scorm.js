// What the page tells an LMS, in the words of each SCORM version: the API's
// name and calls, the data elements, time in each version's form, the element
// and value pairs that report a result, and of those, the ones that a report
// changes (writes()), which the page's state keeps. page/lms.js makes the calls.
//
// A result: { name, stages: [{ id, firstAnswer, right, result?, latencyMs }], asked,
// rightFirstTime, final, passMark, suspend }: the stages done so far, in
// order, each with the learner's first answer (a string, or one per field),
// whether it was right and the ms it took (null: finished in an earlier
// session, whose time this one does not know); the number of stages asked
// (work.stagesAsked); whether the work is over (every stage asked done, or
// handed in): only then is it scored; the pass mark as a share of the stages
// asked right the first time (0 to 1; null for none); the saved work (suspend.js).
// A stage's result, where given, is its interaction's ('correct', 'incorrect'
// or 'neutral'), else right says it. Of an assignment of the student's own
// row operations, the stages are the operations (ownResultOf).
//
// The score: SCORM 1.2's raw score is a percentage, 0 to 100 with min 0 and
// max 100 (gradebooks read raw so), and the manifest's mastery score is one
// too (scorm-package.js); 2004 has the same raw score and the share, scaled.
import { score, stagesAsked } from './work.js';
import { ownGraded, ownShare } from './own-result.js';
import { ownFinished } from './permissions.js';
import { problemsOf, pointsOf } from './assignment.js';

// Each version's API object, calls and elements; the limits are the data
// model's smallest maxima.
export const versions = {
  '1.2': {
    api: 'API',
    calls: { initialize: 'LMSInitialize', get: 'LMSGetValue', set: 'LMSSetValue', commit: 'LMSCommit',
             finish: 'LMSFinish', error: 'LMSGetLastError' },
    name: 'cmi.core.student_name', suspend: 'cmi.suspend_data',
    passMark: 'cmi.student_data.mastery_score', sessionTime: 'cmi.core.session_time', exit: 'cmi.core.exit',
    maxSuspend: 4096, maxResponse: 255,
  },
  2004: {
    api: 'API_1484_11',
    calls: { initialize: 'Initialize', get: 'GetValue', set: 'SetValue', commit: 'Commit',
             finish: 'Terminate', error: 'GetLastError' },
    name: 'cmi.learner_name', suspend: 'cmi.suspend_data',
    passMark: 'cmi.scaled_passing_score', sessionTime: 'cmi.session_time', exit: 'cmi.exit',
    maxSuspend: 64000, maxResponse: 4000,
  },
};

const two = (x) => String(x).padStart(2, '0');

// seconds as SCORM 1.2's timespan, HHHH:MM:SS.SS (hours from two to four
// digits, at most 9999 hours), or 2004's ISO 8601 duration, such as PT1H2M3.5S;
// to the hundredth of a second, a negative or unknown time as 0.
export function timespan(version, seconds) {
  const hundredths = Number.isFinite(seconds) && seconds > 0 ? Math.round(seconds * 100) : 0;
  const [h, m, s] = [Math.floor(hundredths / 360000), Math.floor(hundredths / 6000) % 60, (hundredths % 6000) / 100];
  if (version === '1.2') {
    const capped = h > 9999;
    return `${two(capped ? 9999 : h)}:${two(capped ? 59 : m)}:${capped ? '59.99' : s.toFixed(2).padStart(5, '0')}`;
  }
  if (hundredths === 0) return 'PT0S';
  return 'PT' + (h ? `${h}H` : '') + (m ? `${m}M` : '') + (s ? `${Number(s.toFixed(2))}S` : '');
}

// An interaction's id: a stage's id with what neither version's identifier takes made '-'.
const identifier = (id) => String(id).replace(/[^A-Za-z0-9_.-]/g, '-').slice(0, 255) || 'stage';

const response = (version, firstAnswer) =>
  (Array.isArray(firstAnswer) ? firstAnswer.join('; ') : String(firstAnswer ?? '')).slice(0, versions[version].maxResponse);

// The pairs that write stage as interaction n.
function interaction(version, stage, n) {
  const at = `cmi.interactions.${n}.`;
  const is12 = version === '1.2';
  const outcome = stage.result ?? (stage.right ? 'correct' : 'incorrect');
  return [
    [at + 'id', identifier(stage.id)],
    [at + 'type', is12 ? 'fill-in' : 'long-fill-in'],
    [at + (is12 ? 'student_response' : 'learner_response'), response(version, stage.firstAnswer)],
    [at + 'result', outcome === 'incorrect' && is12 ? 'wrong' : outcome],
    ...(Number.isFinite(stage.latencyMs) ? [[at + 'latency', timespan(version, stage.latencyMs / 1000)]] : []),
  ];
}

// A share (0 to 1) as a percentage to the hundredth, as a raw score and a
// mastery score write it; and as 2004's scaled score, to four places.
export const percent = (share) => Number((100 * share).toFixed(2));
const scaled = (share) => Number(share.toFixed(4));

// How result stands: { final, raw, scaled, passed }: whether it is scored
// yet (final), its raw score (a percentage) and share, and, where a pass mark
// is set, whether it passes, as the LMS of version compares them (1.2 the raw
// score with the mastery score, 2004 the scaled score with the scaled passing
// score); passed null before the work is over or with no pass mark.
export function standing(version, result) {
  const share = result.asked > 0 ? Math.min(1, Math.max(0, result.rightFirstTime / result.asked)) : 0;
  const final = result.final ?? (result.asked > 0 && result.stages.length >= result.asked);
  const marked = final && Number.isFinite(result.passMark);
  const passed = !marked ? null : version === '1.2' ? percent(share) >= percent(result.passMark) : scaled(share) >= scaled(result.passMark);
  return { final, raw: percent(share), scaled: scaled(share), passed };
}

// A number as a score element writes it: after an odd count of refusals
// (sent), with a zero more after the point ('50.0', '0.50'), the same number
// in a form that differs from the one the LMS's runtime may take for sent.
const scoreText = (x, sent = 0) => (sent % 2 === 0 ? String(x) : Number.isInteger(x) ? `${x}.0` : `${x}0`);

// The element and value pairs, in order, that report result to an LMS of
// version: status, score (once the work is over: a paused student is never
// "failed"), the interactions of the stages from index `since` on (those of
// earlier sessions are already there), exit, and the saved work, this left
// out when it is longer than the version takes. The session's time is
// closing()'s. sent: the refusals of the LMS so far, which the scores'
// form follows (scoreText).
export function report(version, result, since = 0, sent = 0) {
  const { final, raw, scaled: share, passed } = standing(version, result);
  const v = versions[version];
  const scores = final ? [['cmi.core.score.raw', raw], ['cmi.core.score.min', 0], ['cmi.core.score.max', 100]].map(([e, x]) => [e, scoreText(x, sent)]) : [];
  const pairs = version === '1.2'
    ? [['cmi.core.lesson_status', !final ? 'incomplete' : passed === null ? 'completed' : passed ? 'passed' : 'failed'], ...scores]
    : [['cmi.completion_status', final ? 'completed' : 'incomplete'],
       ...(final ? [['cmi.success_status', passed === null ? 'unknown' : passed ? 'passed' : 'failed'],
                    ...scores.map(([element, value]) => [element.replace('.core', ''), value]), ['cmi.score.scaled', scoreText(share, sent)]] : [])];
  result.stages.forEach((stage, n) => { if (n >= since) pairs.push(...interaction(version, stage, n)); });
  pairs.push([v.exit, final ? (version === '1.2' ? '' : 'normal') : 'suspend']);
  if (typeof result.suspend === 'string' && result.suspend.length <= v.maxSuspend) pairs.push([v.suspend, result.suspend]);
  return pairs;
}

// The pass mark that an LMS gives, as a share from 0 to 1: 1.2's mastery
// score is a percentage, as the package's manifest writes it; 2004's scaled
// passing score is a share. Null when it gives none, or one out of range.
export function passMarkOf(version, value) {
  if (typeof value !== 'string' || !/^\d+(\.\d+)?$/.test(value.trim())) return null;
  const share = Number(value) / (version === '1.2' ? 100 : 1);
  return share >= 0 && share <= 1 ? share : null;
}

// A first answer as the LMS is told it: the text typed, the choice, "alone"
// for a row said to stay alone, "" for none.
const said = (answer) => (answer === null ? '' : answer.alone ? 'alone' : answer.choice ?? answer.text ?? '');

// The result that the LMS is told of a student's work on assignment a over
// m's run: the stages of record (result-code.js) that are done, in order, each
// with the ms it took (took, a Map from k; none for a stage finished in an
// earlier session), the stages asked (work.stagesAsked), whether the work is
// over (handed: handed in), the pass mark and the saved work (suspend), as
// report() takes them.
export function resultOf({ a, m, record, took, passMark, handed = false, suspend }) {
  const asked = stagesAsked(a, m);
  const done = record.stages.filter((s) => s.done);
  const stages = done.map((s) => ({ id: `stage-${s.k + 1}-${m.stages[s.k]?.id ?? 'stage'}`, firstAnswer: s.first.map(said),
                                     right: s.right, latencyMs: took.get(s.k) ?? null }));
  return { name: record.name, stages, asked: asked.length, rightFirstTime: score(a, m, record).right, passMark, suspend,
           final: handed || asked.every((k) => done.some((s) => s.k === k)) };
}

// The result that the LMS is told of a student's own work on assignment a
// (record, an own result: own-result.js), graded on the student's matrix
// (start: { matrix, kind }): an interaction per operation in force, op-1,
// op-2, …, the compact operation as the response, 'correct' where the page
// did the arithmetic or the first row was right, 'incorrect' where it was
// wrong, 'neutral' where the row was shown; scored half for the matrix
// reduced and half for the reading right, over once both are done or handed in.
export function ownResultOf({ a, record, start, passMark, handed = false, suspend }) {
  const g = ownGraded(record, start.matrix, start.kind, a.arithmetic);
  const stages = g.steps.map((step, k) => ({ id: `op-${k + 1}`, firstAnswer: record.own.ops[k].op,
    result: step.shown ? 'neutral' : step.right === false ? 'incorrect' : 'correct', latencyMs: null }));
  return { name: record.name, stages, asked: 2, rightFirstTime: 2 * ownShare(g), passMark, suspend, final: handed || ownFinished(g.reduced, g.readOff !== 'none') };
}

// How a problem's work stands as the LMS scores it (one, resultOf's or
// ownResultOf's of the problem alone): { asked, right, final }.
export const problemScore = (one) => ({ asked: one.asked, right: one.rightFirstTime, final: one.final });

// How the problem open of a set stands, as problemScore says, of its work
// (record, handed) over m's run, or of the student's own operations from
// start: what the set's score sums (set-work.js keeps it with the work).
export const standingOf = ({ a, m, record, start, handed = false }) => problemScore(a.mode === 'own'
  ? ownResultOf({ a, record, start, passMark: null, handed }) : resultOf({ a, m, record, took: new Map(), passMark: null, handed }));

// The result that the LMS is told of a set's work (kept: set-work.js's, each
// problem's work with its score) and of its problem open, at (one: resultOf's
// or ownResultOf's of that problem alone): the interactions of this session
// (items, by id, each named by its problem: p2-op-3, p1-stage-4-scaled)
// after the since of earlier sessions; the score the share of the set's
// points earned, a problem's points times its own share (of a problem not
// open, as kept); over once every problem is, or once handed in.
export function setResultOf({ set, at, one, kept, items, since, passMark, suspend }) {
  const scores = kept.problems.map((w, k) => (k === at ? problemScore(one) : w?.score ?? null));
  const points = problemsOf(set).map(pointsOf);
  const earned = scores.reduce((sum, x, k) => sum + (x && x.asked > 0 ? (points[k] * x.right) / x.asked : 0), 0);
  return { name: one.name, stages: [...Array(since).fill(null), ...items.values()], asked: points.reduce((sum, x) => sum + x, 0), rightFirstTime: earned,
           passMark, suspend, final: kept.handed !== null || scores.every((x) => x?.final === true) };
}

// The writer's side of a session with an LMS of version, as a value: {
//   version
//   since      the interactions that the LMS held when it opened: those are
//              never written again
//   before     the stages (k) finished in earlier sessions, whose time is unknown here
//   passMark   read once, when the LMS opened (passMarkOf)
//   written    a Map from element to the value last written and taken
//   reached    a Map from k to when (ms) this session reached the stage
//   took       a Map from k to the ms that a stage finished in this session took
//   committed  what the last commit held (the stages done, whether handed in,
//              over, and the score), or null
//   parts      of a set, by problem (its place): { reached, took, before,
//              ops }, as above for that problem, ops the operations in force
//              of its own work when the LMS opened (their interactions are there)
//   items      of a set, the interactions of this session, by id, in the
//              order first told
//   sent       how many times the LMS refused what it was told: each time,
//              everything is told again, in a form that differs from the
//              last (scoreText, suspend.js's count, a status set meanwhile
//              first), as Moodle's SCORM runtimes send only what differs
//              from what they sent last, and take a value for sent before
//              they know whether it was
// }

// The writer when an LMS of version opens: since, its cmi.interactions._count
// (0 where it gives none); passMark as it gives it (a string, read once);
// work, the work that it kept (suspend.js's decodeWork or decodeSetWork), or null.
export const opened = (version, { since = 0, passMark = null, work = null }) => ({
  version, since: Number.isInteger(since) && since > 0 ? since : 0, passMark: passMarkOf(version, passMark),
  before: doneBefore(work), written: new Map(), reached: new Map(), took: new Map(), committed: null, sent: 0,
  ...(work?.problems ? { parts: Object.fromEntries(work.problems.map((w, at) => [at, partOf(w)])) } : {}),
});

// What a writer keeps of the times of a set's problem of work (that problem's, or null) when the LMS opened.
const partOf = (work) => ({ before: doneBefore(work), reached: new Map(), took: new Map(), ops: work?.result.own?.ops.length ?? 0 });

// The stages (k) of work (one problem's, or null) finished when the LMS opened.
const doneBefore = (work) => new Set((work?.result?.stages ?? []).filter((s) => s.done).map((s) => s.k));

// What the LMS is to be told after a change of the student's work: { writer,
// pairs, commit, first }, the writer that follows, the pairs whose value differs
// from what was last written (the interactions of earlier sessions left
// alone), and whether to commit: when a stage more is done, the work is
// over or handed in, its score changes, or a commit before was not taken;
// first, the pairs to commit before those (see told). a, m, practice: the
// assignment, the run and the session; kept, the work (work.kept); now (ms);
// started, when this session opened; suspend, the saved work as suspend.js
// writes it. Of an own assignment, start ({ matrix, kind }: the student's
// matrix, as the own work starts from it) instead of m and practice, an
// operation more instead of a stage (ownResultOf).
export function writes(writer, options) {
  if (options.kept.problems) return setWrites(writer, options);
  const { result, times } = problemTold(writer, options, writer.passMark);
  return told(writer, result, options.kept, { reached: times.reached, took: times.took });
}

// The result of one problem that writes() tells (resultOf's or
// ownResultOf's), and its times (a writer's, or a set's part of one) after it.
function problemTold(times, { a, m, practice, kept, now, started, suspend, start }, passMark) {
  if (a.mode === 'own') return { result: ownResultOf({ a, record: kept.result, start, passMark, handed: kept.handed !== null, suspend }), times };
  const reached = times.reached.has(practice.current) ? times.reached : new Map(times.reached).set(practice.current, now);
  const took = new Map(times.took);
  for (const s of kept.result.stages)
    if (s.done && !took.has(s.k) && !times.before.has(s.k)) took.set(s.k, now - (reached.get(s.k) ?? started));
  return { result: resultOf({ a, m, record: kept.result, took, passMark, handed: kept.handed !== null, suspend }), times: { ...times, reached, took } };
}

// writes() of a set (set, the set; a, its problem open; kept, the set's
// work): the problem open told as one problem alone, its interactions of
// this session named by problem among the set's (those of earlier sessions:
// its stages finished before, which resultOf does not time, and its
// operations in force then, are there), the score the set's (setResultOf).
function setWrites(writer, { set, a, kept, suspend, ...options }) {
  const at = a.set.at;
  const { result: one, times } = problemTold(writer.parts?.[at] ?? partOf(null), { ...options, a, suspend, kept: { ...kept.problems[at], handed: kept.handed } }, null);
  const items = new Map(writer.items ?? []);
  one.stages.forEach((stage, n) => {
    if (a.mode === 'own' ? n >= times.ops : stage.latencyMs !== null) items.set(`p${at + 1}-${stage.id}`, { ...stage, id: `p${at + 1}-${stage.id}` });
  });
  const result = setResultOf({ set, at, one, kept, items, since: writer.since, passMark: writer.passMark, suspend });
  return told(writer, result, kept, { items, parts: { ...writer.parts, [at]: times } });
}

// The elements that have one word for each meaning, with the word they say
// while the work goes on: told again after a refusal, each is first set to
// that word and committed (writes' first), so that a runtime that took the
// word refused for sent sends the word that follows.
const meanwhile = { 'cmi.core.lesson_status': 'incomplete', 'cmi.completion_status': 'incomplete', 'cmi.success_status': 'unknown',
                    'cmi.core.exit': 'suspend', 'cmi.exit': 'suspend' };

// writes()'s answer for result (resultOf's or ownResultOf's), the writer
// changed by more: the pairs not written yet, and a commit at each stage (or
// operation) more, at the work's end and score (the reading of own work), and
// at the hand-in; after a refusal, first the words meanwhile.
function told(writer, result, kept, more) {
  const pairs = report(writer.version, result, writer.since, writer.sent).filter(([element, value]) => writer.written.get(element) !== value);
  const written = new Map(writer.written);
  pairs.forEach(([element, value]) => written.set(element, value));
  const { final, raw } = standing(writer.version, result);
  const step = `${result.stages.length} ${kept.handed !== null} ${final} ${raw}`;
  const first = writer.sent === 0 ? [] : pairs.filter(([element, value]) => element in meanwhile && meanwhile[element] !== value)
    .map(([element]) => [element, meanwhile[element]]);
  return { writer: { ...writer, ...more, written, committed: step }, pairs, commit: step !== writer.committed, first };
}

// The writer once the LMS refused some of what writes() gave (failed, the
// elements refused; a refused commit, 'commit'): everything is told again,
// in a form that differs from the last (sent), and committed, with the next
// change: a runtime that took a value for sent as it tried would send no
// value told again as it was.
export function refused(writer, failed) {
  return failed.length === 0 ? writer : { ...writer, written: new Map(), committed: null, sent: writer.sent + 1 };
}

// The pairs that end a session of the LMS of version begun at started (ms),
// at now: its time. The session's last commit and end follow them.
export const closing = (version, started, now) => [[versions[version].sessionTime, timespan(version, (now - started) / 1000)]];
