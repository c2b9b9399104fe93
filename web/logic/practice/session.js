// Practice of one run as a value: the stages that the learner carries out, the
// questions each asks (check.js), the answers given and their verdicts, the
// hints taken, where the learner stands, and the tally. Every function returns
// a new session and changes none. The page stores what stored() gives and hands
// it back to start(); nothing here touches the page or its storage.
//
// A session: { run, from, fill, current, finished, told, stages }, where
//   from      the first stage that the learner does (0-based; the ones before
//             it are a worked example)
//   fill      the entries asked after the decisions: 'none', 'row' or 'all'
//   current   the stage at hand; finished once the last is done
//   told      the last answer given, whose verdict the page says: { k, key }, or null
//   stages[k] for each stage from from to current: { questions, answers, wrong,
//             hints, shown }, answers a Map from a question's key to { text,
//             alone, choice, verdict, zero }; wrong once an answer missed, hints
//             the hint's steps taken, shown once Show filled the stage in.
// Once the learner has said rightly that A is singular, the stages from there
// on ask nothing of the run's inf and nan, and practice ends where the exact
// replay stops (check.askedAfterSingular).
import { stageQuestions, invertibility, invertibilityStage, check, isMiss, answerOf, startStage, unaskedAfterSingular } from './check.js';
import { isWaiting } from '../run/model.js';
import { fills, firstAsked, defaultFill } from '../run/share.js';
import { operations } from '../run/words.js';

export const hintSteps = 3;

// Whether a run can be practised, or printed as a worksheet: it is over, and
// has a matrix and a stage after its input.
export const practisable = (m) => m !== null && !isWaiting(m.run) && m.n > 0 && m.stages.length > 1;

// The exercise that a run is, by its program and the numbers typed: what the
// learner's progress and record are kept under.
const exercise = (run) => `${run.program} ${run.input.trim().split(/\s+/).join(' ')}`;
export const progressKey = (run) => `practice.progress.${exercise(run)}`;
export const recordKey = (run) => `practice.${exercise(run)}`;

const fresh = (m, k, from, fill) => ({ questions: stageQuestions(m, k, from, fill), answers: new Map(), wrong: false, hints: 0, shown: false });

// The choices that say A is singular (for gjsolve, that the system has no single solution).
const singularChoices = ['no', 'zero', 'many'];

// The stage where the learner said rightly (or Show said) that A is singular; null before.
export function saidSingular(session) {
  const said = (s) => s?.answers.get('invertible')?.verdict.right && singularChoices.includes(s.answers.get('invertible').choice);
  const k = session.stages.findIndex(said);
  return k < 0 ? null : k;
}

// The session with the questions that a singular A leaves unasked dropped
// from the stage where it was said on.
function pruned(session) {
  const said = saidSingular(session);
  if (said === null) return session;
  const asked = (s) => s.questions.filter((q) => q.afterSingular);
  const stages = session.stages.map((s, k) => (s && k >= said && asked(s).length < s.questions.length ? { ...s, questions: asked(s) } : s));
  return { ...session, stages };
}

function begin(m, from, fill) {
  const stages = [];
  stages[from] = fresh(m, from, from, fill);
  return { run: m.run, from, fill, current: from, finished: false, told: null, stages };
}

// session with stage k replaced by changes made to it, and the session's own changes.
function withStage(session, k, changes, own = {}) {
  const stages = [...session.stages];
  stages[k] = { ...stages[k], ...changes };
  return { ...session, stages, ...own };
}

// An answer as stored() keeps it, rebuilt of the fields that it should have
// (what an older page or a hand edit left otherwise reads as none); null when
// it has no key or no verdict.
function answerKept(entry) {
  const [key, a] = Array.isArray(entry) ? entry : [];
  if (typeof key !== 'string' || typeof a?.verdict?.right !== 'boolean') return null;
  const text = (x) => (typeof x === 'string' ? x : null);
  return [key, { text: text(a.text), alone: a.alone === true, choice: text(a.choice), zero: a.zero === true,
                 verdict: { right: a.verdict.right, note: text(a.verdict.note), slip: text(a.verdict.slip) } }];
}

// The session kept of m's run (as stored() gave it), if it is whole; else null.
// Answers that are not what an answer is are left out; the rest stays.
export function restore(m, saved) {
  const last = m.stages.length - 1;
  const whole = (x) => Number.isInteger(x) && x >= 1 && x <= last;
  if (!saved || !whole(saved.from) || !whole(saved.current) || saved.current < saved.from || !fills.includes(saved.fill)) return null;
  const session = { ...begin(m, saved.from, saved.fill), current: saved.current };
  const kept = Array.isArray(saved.stages) ? saved.stages : [];
  for (let k = saved.from; k <= saved.current; k++) {
    const s = kept[k];
    session.stages[k] = fresh(m, k, saved.from, saved.fill);
    if (!s || !Array.isArray(s.answers)) continue;
    const answers = s.answers.map(answerKept).filter(Boolean);
    Object.assign(session.stages[k], { answers: new Map(answers), wrong: s.wrong === true,
                                       hints: Math.min(hintSteps, Math.max(0, Math.floor(Number(s.hints)) || 0)), shown: s.shown === true });
  }
  return pruned(session);
}

// The stage (0-based) that practice of m's run asked from stage `from` (as
// the page numbers stages) starts at: no earlier than the scaling, no later
// than the last.
export const firstStageOf = (m, from) => Math.min(m.stages.length - 1, Math.max(1, from - 1));

// Practice of m's run: where the learner left it (saved); else from the stage
// that check.startStage gives (asked: { from, fill, own } as share.parse gives
// it, from as the page numbers stages; level, the exercises finished).
export function start(m, { asked = null, saved = null, level = 0 } = {}) {
  const restored = restore(m, saved);
  if (restored) return restored;
  return begin(m, firstStageOf(m, startStage(m, asked, level ?? 0, firstAsked)), asked?.fill ?? defaultFill);
}

// The questions of stage k that practice of m's run from stage from, with
// fill's entries, asks of a learner who goes on to its end, as a result
// (result-code.js) keeps their first answers: { questions, counted }, the
// questions in the order that indexes those answers (after the stage where A
// is said singular, only those still asked then), and whether each counts
// towards the stage once it is done (at that stage itself, only those still
// asked once A is said singular: the stage is done with the others unanswered).
export function stageAsked(m, k, from, fill) {
  const all = stageQuestions(m, k, from, fill);
  const said = singularAnswered(m, from);
  const questions = said !== null && k > said ? all.filter((q) => q.afterSingular) : all;
  return { questions, counted: questions.map((q) => said === null || k < said || q.afterSingular) };
}

// What is kept of a session, so that a reload or a later visit comes back to it.
export function stored(session) {
  const stages = session.stages.map((s) => s && { answers: [...s.answers], wrong: s.wrong, hints: s.hints, shown: s.shown });
  return { from: session.from, fill: session.fill, current: session.current, stages };
}

// The same practice again from stage from, with fill's entries asked.
export const restart = (m, session, from = session.from, fill = session.fill) => begin(m, from, fill);

// The stages that practice has reached: those before the one at hand, or
// every one (Infinity) once it is finished, or with no practice.
export const reachedUpTo = (session) => (session && !session.finished ? session.current : Infinity);

// Whether a start-over would erase work of the learner's: an answer or a hint
// in a session not yet finished (a finished one has its record kept).
export const hasWork = (session) => !session.finished && session.stages.some((s) => s && (s.answers.size > 0 || s.hints > 0));

// What a link to the session's run asks now: { from (as the page numbers stages), fill }.
export const chosen = (session) => ({ from: session.from + 1, fill: session.fill });

export const question = (session, k, key) => session.stages[k]?.questions.find((q) => q.key === key) ?? null;

// The questions of stage k not yet answered right, in order.
export function openQuestions(session, k) {
  const s = session.stages[k];
  return s ? s.questions.filter((q) => !s.answers.get(q.key)?.verdict.right) : [];
}

// The question to go on to after key in stage k: the next one still open,
// else the first one still open; null once none is.
export function nextQuestion(session, k, key) {
  const s = session.stages[k];
  const open = openQuestions(session, k);
  const at = s.questions.findIndex((q) => q.key === key);
  return open.find((q) => s.questions.indexOf(q) > at) ?? open[0] ?? null;
}

// Whether the page has said in this session that 0 counts for -0.
const zeroTold = (session) => session.stages.some((s) => s && [...s.answers.values()].some((a) => a.zero));

// The session once given (an answer: { text }, { alone: true } or { choice })
// is checked against question key of stage k. zero marks the first answer of
// the session right by 0 for -0. A question answered right already, or a stage
// not open, stays as it is.
export function answer(session, k, key, given) {
  const q = question(session, k, key);
  const s = session.stages[k];
  if (q === null || session.finished || k !== session.current || s.answers.get(key)?.verdict.right) return session;
  const rightKeys = [...s.answers].filter(([, a]) => a.verdict.right).map(([key]) => key);
  const verdict = check(q, given, rightKeys);
  const zero = verdict.note === 'negativeZero' && !zeroTold(session);
  const answers = new Map(s.answers).set(key, { text: given.text ?? null, alone: given.alone === true, choice: given.choice ?? null, verdict, zero });
  return pruned(withStage(session, k, { answers, wrong: s.wrong || isMiss(verdict) }, { told: { k, key } }));
}

// The first stage (0-based) that practice leaves unasked once A was said to
// be singular at stage said (null: not said): where the run stops meaning
// anything, or the one after said; null where it asks every stage.
function askingEnds(m, said) {
  const left = said === null ? null : unaskedAfterSingular(m);
  return left && Math.max(left.first, said + 1);
}

const firstUnasked = (m, session) => askingEnds(m, saidSingular(session));

// The stage (0-based) where a learner practising m's run from stage from says
// rightly that A is singular: where the run asks it and A is; else null.
export function singularAnswered(m, from) {
  const k = invertibilityStage(m, from);
  return k !== null && singularChoices.includes(invertibility(m, k, from).expected.choice) ? k : null;
}

// The stages (0-based, in order) that practice of m's run from stage from
// (0-based) asks of a learner who goes on to its end: from `from` to the
// run's last, or, where A is singular and the learner says so, to the last
// that still means something. Each who finishes has done these, whatever the
// answers on the way.
export function askedStages(m, from) {
  const end = Math.min(m.stages.length, askingEnds(m, singularAnswered(m, from)) ?? m.stages.length);
  return Array.from({ length: Math.max(0, end - from) }, (_, i) => from + i);
}

// Those stages, as the page numbers them: { first, last }, or null where none is.
export function unasked(m, session) {
  const first = firstUnasked(m, session);
  return first !== null && first < m.stages.length ? { first: first + 1, last: m.stages.length } : null;
}

// The session after stage k, with every question answered right: the next
// stage, or finished after the last, or where A was said to be singular,
// after the last stage that still means something. Stays as it is otherwise.
export function advance(m, session, k) {
  if (session.finished || k !== session.current || openQuestions(session, k).length > 0) return session;
  if (k + 1 >= (firstUnasked(m, session) ?? m.stages.length)) return { ...session, finished: true };
  const stages = [...session.stages];
  stages[k + 1] = fresh(m, k + 1, session.from, session.fill);
  return pruned({ ...session, current: k + 1, stages });
}

// Show: every open question of stage k filled in with the program's answer,
// the stage counted as shown, and the session moved on.
export function fillIn(m, session, k) {
  if (session.finished || k !== session.current) return session;
  const s = session.stages[k];
  const answers = new Map(s.answers);
  for (const q of openQuestions(session, k)) {
    const choice = q.kind === 'invertible' ? answerOf(q) : null;
    answers.set(q.key, { text: choice ? null : answerOf(q), alone: q.expected.alone === true, choice, zero: false,
                         verdict: { right: true, note: null, slip: null } });
  }
  return advance(m, withStage(session, k, { answers, shown: true }, { told: null }), k);
}

// One more step of stage k's hint, up to the last.
export function hint(session, k) {
  const s = session.stages[k];
  if (!s || session.finished || k !== session.current) return session;
  return withStage(session, k, { hints: Math.min(hintSteps, s.hints + 1) });
}

// The session with other entries asked: the stages from the one at hand on
// ask them, and the stage at hand is done with once nothing is left open in it.
export function withFill(m, session, fill) {
  const stages = session.stages.map((s, k) => (s && k >= session.current ? { ...s, questions: stageQuestions(m, k, session.from, fill) } : s));
  return advance(m, pruned({ ...session, fill, stages }), session.current);
}

// The session once m, the same run with its exact values, has come: the
// questions take them, the answers stay.
export function withModel(m, session) {
  return pruned({ ...session, stages: session.stages.map((s, k) => s && { ...s, questions: stageQuestions(m, k, session.from, session.fill) }) });
}

// The numbers that stage k works with, as printed in the printout before it,
// worded by t.
function numbers(t, m, k) {
  const stage = m.stages[k];
  const before = m.stages[k - 1].rows;
  const list = (items) => items.join(t('practice.hint.separator'));
  const at = (r, c) => t('practice.hint.entry', { r, value: before[r - 1][c - 1] });
  switch (stage.id) {
    case 'scaled': return list(stage.ops.map(({ i, c }) => t('practice.hint.scaled', { i, c })));
    case 'pivoted': {
      const j = stage.column;
      return t('practice.hint.pivoted', { j, entries: list(before.slice(j - 1).map((_, r) => at(before.length - r, j))) });
    }
    case 'eliminated': case 'backward': {
      const p = stage.column;
      const ops = stage.ops.filter((op) => op.name === 'combine' || op.name === 'unchanged');
      return t('practice.hint.eliminated', { p, pivot: before[p - 1][p - 1], entries: list(ops.map((op) => at(op.t, op.p))) });
    }
    case 'normalized': return t('practice.hint.normalized', { entries: list(before.map((_, i) => `a${i + 1}${i + 1}`)) });
    case 'inverse_done': return t('practice.hint.inverse_done', { first: stage.first, last: stage.last });
    case 'solution': return list(before.map((row, i) => t('practice.hint.solution', { j: i + 1, b: row[m.n], d: row[i] })));
    default: return '';
  }
}

// Step (1 to hintSteps) of stage k's hint, as sentences worded by t: the
// stage's rule in words, then the numbers it works with, then its operations
// in row notation.
export function hintStep(t, m, k, step) {
  const stage = m.stages[k];
  if (step === 1) return [t(stage.id === 'backward' ? 'practice.hint.backward' : 'about.' + stage.id, { j: stage.column ?? '' })];
  if (step === 2) return [numbers(t, m, k)];
  return operations(t, stage).map((op) => op.notation);
}

// The stages done so far: how many, how many right the first time (no wrong
// answer, no hint, not shown), the hints' steps taken, and how many were shown.
export function tally(session) {
  const done = session.stages.slice(session.from).filter(Boolean);
  return { count: done.length, right: done.filter((s) => !s.wrong && s.hints === 0 && !s.shown).length,
           hints: done.reduce((sum, s) => sum + s.hints, 0), shown: done.filter((s) => s.shown).length };
}
