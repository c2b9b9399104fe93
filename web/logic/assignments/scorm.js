// What the page tells an LMS, in the words of each SCORM version: the API's
// name and calls, the data elements, time in each version's form, and the
// element and value pairs that report a result. views/assignments/lms.js makes
// the calls.
//
// A result: { name, stages: [{ id, firstAnswer, right, latencyMs }], asked,
// rightFirstTime, passMark, seconds, suspend }: the stages answered so far, in
// order, each with the learner's first answer (a string, or one per field)
// and whether it was right; the number of stages asked; the pass mark as a
// share of them right the first time (0 to 1; null for none); the seconds of
// this session; the saved work (suspend.js).

import { unasked } from '../session.js';

// Each version's API object, calls and elements; the limits are the data
// model's smallest maxima.
export const versions = {
  '1.2': {
    api: 'API',
    calls: { initialize: 'LMSInitialize', get: 'LMSGetValue', set: 'LMSSetValue', commit: 'LMSCommit',
             finish: 'LMSFinish', error: 'LMSGetLastError' },
    name: 'cmi.core.student_name', entry: 'cmi.core.entry', suspend: 'cmi.suspend_data',
    passMark: 'cmi.student_data.mastery_score', sessionTime: 'cmi.core.session_time', exit: 'cmi.core.exit',
    maxSuspend: 4096, maxResponse: 255,
  },
  2004: {
    api: 'API_1484_11',
    calls: { initialize: 'Initialize', get: 'GetValue', set: 'SetValue', commit: 'Commit',
             finish: 'Terminate', error: 'GetLastError' },
    name: 'cmi.learner_name', entry: 'cmi.entry', suspend: 'cmi.suspend_data',
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
  return [
    [at + 'id', identifier(stage.id)],
    [at + 'type', is12 ? 'fill-in' : 'long-fill-in'],
    [at + (is12 ? 'student_response' : 'learner_response'), response(version, stage.firstAnswer)],
    [at + 'result', stage.right ? 'correct' : is12 ? 'wrong' : 'incorrect'],
    [at + 'latency', timespan(version, stage.latencyMs / 1000)],
  ];
}

// Whether result is done (every stage asked answered) and, where a pass mark
// is set, passed: { done, passed }, passed null while not done or with no mark.
export function standing(result) {
  const done = result.asked > 0 && result.stages.length >= result.asked;
  const marked = done && Number.isFinite(result.passMark);
  return { done, passed: marked ? result.rightFirstTime >= result.passMark * result.asked - 1e-9 : null };
}

// The element and value pairs, in order, that report result to an LMS of
// version: status, score, the interactions of the stages from index `since`
// on (those of earlier commits and sessions are already there), session time,
// exit and the saved work, this left out when it is longer than the version takes.
export function report(version, result, since = 0) {
  const { done, passed } = standing(result);
  const max = Math.max(0, result.asked);
  const raw = Math.min(max, Math.max(0, result.rightFirstTime));
  const v = versions[version];
  const pairs = version === '1.2'
    ? [['cmi.core.lesson_status', passed === null ? (done ? 'completed' : 'incomplete') : passed ? 'passed' : 'failed'],
       ['cmi.core.score.raw', String(raw)], ['cmi.core.score.min', '0'], ['cmi.core.score.max', String(max)]]
    : [['cmi.completion_status', done ? 'completed' : 'incomplete'],
       ['cmi.success_status', passed === null ? 'unknown' : passed ? 'passed' : 'failed'],
       ['cmi.score.raw', String(raw)], ['cmi.score.min', '0'], ['cmi.score.max', String(max)],
       ['cmi.score.scaled', String(max ? Number((raw / max).toFixed(4)) : 0)]];
  result.stages.forEach((stage, n) => { if (n >= since) pairs.push(...interaction(version, stage, n)); });
  pairs.push([v.sessionTime, timespan(version, result.seconds)], [v.exit, done ? (version === '1.2' ? '' : 'normal') : 'suspend']);
  if (typeof result.suspend === 'string' && result.suspend.length <= v.maxSuspend) pairs.push([v.suspend, result.suspend]);
  return pairs;
}

// The pass mark that an LMS gives, as a share from 0 to 1: 1.2's mastery
// score is on the raw score's scale, stages right the first time of asked;
// 2004's scaled passing score is a share. Null when it gives none, or one out
// of range.
export function passMarkOf(version, value, asked) {
  if (typeof value !== 'string' || !/^\d+(\.\d+)?$/.test(value.trim())) return null;
  const share = Number(value) / (version === '1.2' ? asked : 1);
  return share >= 0 && share <= 1 ? share : null;
}

// How many stages the practice session of m's run asks: from its first on,
// to the last that means something once A is said to be singular.
export function askedOf(m, practice) {
  const left = unasked(m, practice);
  return Math.max(0, (left ? left.first - 1 : m.stages.length) - practice.from);
}

// A first answer as the LMS is told it: the text typed, the choice, "alone"
// for a row said to stay alone, "" for none.
const said = (answer) => (answer === null ? '' : answer.alone ? 'alone' : answer.choice ?? answer.text ?? '');

// The result that the LMS is told of a student's work on m's run: the stages
// of record (result-code.js) that are done, in order, each with the ms it
// took (took, a Map from k), the stages that practice asks, the pass mark,
// the seconds of this session and the saved work (suspend), as report() takes them.
export function resultOf({ m, practice, record, took, passMark, seconds, suspend }) {
  const done = record.stages.filter((s) => s.done);
  const stages = done.map((s) => ({ id: `stage-${s.k + 1}-${m.stages[s.k]?.id ?? 'stage'}`, firstAnswer: s.first.map(said),
                                     right: s.right, latencyMs: took.get(s.k) ?? 0 }));
  return { name: record.name, stages, asked: askedOf(m, practice), rightFirstTime: done.filter((s) => s.right).length,
           passMark, seconds, suspend };
}
