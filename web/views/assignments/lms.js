// The page inside an LMS: finds the LMS's SCORM API in the frames around it,
// starts a session, reads the learner's name and saved work, reports results
// and ends the session once, when the page closes. Every call to the LMS is
// made here; what the calls carry comes from logic/assignments/scorm.js.
import { versions, report, timespan, passMarkOf, resultOf, askedOf } from '../../logic/assignments/scorm.js';
import { encodeWork } from '../../logic/assignments/suspend.js';

const maxLevels = 10;   // frames walked up from the page, and from its opener

// The windows to search, nearest first: w and up to maxLevels of its parents,
// then its opener and as many of the opener's. A window of another origin
// cannot be read and ends its branch.
function* windowsAround(w) {
  for (let start = w, branch = 0; start && branch < 2; branch++) {
    let at = start;
    for (let level = 0; at && level <= maxLevels; level++) {
      yield at;
      const up = at.parent;
      if (!up || up === at) break;
      at = up;
    }
    start = readable(() => start.opener);
  }
}

// What get() gives, or null when it throws (a frame of another origin).
const readable = (get) => {
  try { return get() ?? null; } catch { return null; }
};

// The LMS's API found around w: { version, api }, 2004's preferred where a
// frame offers both; null outside an LMS.
function find(w = window) {
  for (const version of ['2004', '1.2']) {
    for (const at of windowsAround(w)) {
      const api = readable(() => at[versions[version].api]);
      if (api && typeof api[versions[version].calls.initialize] === 'function') return { version, api };
    }
  }
  return null;
}

// A session with the LMS around w, started, with what the LMS gives:
// { version, name, suspend, entry, started, passMark(asked), report(result,
// commit), finish(), errors }; null outside an LMS or when the LMS refuses to
// start one. The session ends by itself when the page is hidden or unloaded.
// report() sets the result's elements and, unless commit is false, commits:
// it gives whether every call was taken. Each call that fails is noted in
// errors as { call, element, code } and the rest go on.
export function connect(w = window) {
  const found = find(w);
  if (!found) return null;
  const { version, api } = found;
  const v = versions[version];
  const errors = [];
  let open = true;
  const call = (name, ...args) => {
    let answer;
    try { answer = api[v.calls[name]](...args); } catch { answer = 'false'; }
    if (String(answer) === 'false') errors.push({ call: name, element: args[0] ?? null, code: readable(() => String(api[v.calls.error]())) });
    return answer;
  };
  if (String(call('initialize', '')) !== 'true') return null;
  const get = (element) => String(call('get', element) ?? '');
  const started = Date.now();
  let written = Number(get('cmi.interactions._count')) || 0;
  const session = {
    version, errors, started,
    name: get(v.name), suspend: get(v.suspend), entry: get(v.entry),
    passMark: (asked) => passMarkOf(version, get(v.passMark), asked),
    report(result, commit = true) {
      if (!open) return false;
      const failed = errors.length;
      for (const [element, value] of report(version, result, written)) call('set', element, value);
      written = Math.max(written, result.stages.length);
      if (commit) call('commit', '');
      return errors.length === failed;
    },
    finish() {
      if (!open) return;
      open = false;
      call('set', v.sessionTime, timespan(version, (Date.now() - started) / 1000));
      call('finish', '');
    },
  };
  for (const event of ['pagehide', 'beforeunload']) w.addEventListener(event, session.finish);
  return session;
}

// What reports a student's work to the LMS of session (connect's): given the
// run's model m, the practice session, the work as the page keeps it
// (student.kept) and now (ms), it sets the score, the stages done with the
// time each took since this session reached it, and the saved work; it
// commits when a stage more is done or the work is handed in, and after a
// report that the LMS did not take. It gives whether the LMS took it all.
export function reporter(session) {
  const [reached, took] = [new Map(), new Map()];
  let committed = null;
  return (m, practice, kept, now) => {
    if (!reached.has(practice.current)) reached.set(practice.current, now);
    for (const s of kept.result.stages)
      if (s.done && !took.has(s.k)) took.set(s.k, now - (reached.get(s.k) ?? session.started));
    const result = resultOf({ m, practice, record: kept.result, took, passMark: session.passMark(askedOf(m, practice)),
                              seconds: (now - session.started) / 1000, suspend: encodeWork(kept) });
    const step = `${result.stages.length} ${kept.handed !== null}`;
    const ok = session.report(result, step !== committed);
    committed = ok ? step : null;   // what the LMS did not take is committed with the next report
    return ok;
  };
}
