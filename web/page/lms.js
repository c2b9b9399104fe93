// The page inside an LMS: finds the LMS's SCORM API in the frames around it,
// starts a session and reads the learner's name, the saved work, the
// interactions already there and the pass mark once; then makes the calls that
// the state asks for (page/effects.js hands them over, as scorm.js's writer in
// the state worked them out), one batch after another and each call in a task
// of its own while the LMS is slow (views/frames.js's slicer), so that no
// task holds the page much longer than one call; and ends the session when
// the page is hidden, after what the state sends last, at once. It keeps no
// record of what the LMS was told: what the LMS answers goes to the page as
// messages: { type: 'lms', outcome } when it opens ('connected', with what it
// read, or 'refused'), and again ('ended') when a page restored from the
// back-forward cache finds its session over; { type: 'reported', failed,
// handIn, commit, sent } once a batch is made, failed the elements refused
// ('commit' for a commit), the rest as the batch was asked; and { type:
// 'lmsClosing', now } as the page goes.
import { versions } from '../logic/assignments/scorm.js';
import { inSlices } from '../views/frames.js';

const maxLevels = 10;   // frames walked up from the page, and from its opener

// The error codes of a refused SetValue that say the LMS will never take the
// element or its value (not implemented, read-only, a type or range it
// refuses), in either version: those are not sent again.
const forGood = new Set([401, 402, 403, 404, 405, 406, 407]);

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
export function find(w) {
  for (const version of ['2004', '1.2']) {
    for (const at of windowsAround(w)) {
      const api = readable(() => at[versions[version].api]);
      if (api && typeof api[versions[version].calls.initialize] === 'function') return { version, api };
    }
  }
  return null;
}

// A call to api of version: what it answers, as a string, or null when it
// throws (a call that throws gives no value, and is taken as refused).
const caller = (api, v) => (name, ...args) => readable(() => {
  const answer = api[v.calls[name]](...args);
  return answer === undefined ? null : String(answer);
});

// Whether an answer says yes: "true" as Moodle and scorm-again answer, in any
// case and with blanks around it, or true.
const yes = (answer) => answer?.trim().toLowerCase() === 'true';

// A session with the LMS around w, which sends the LMS's answers to dispatch:
// { version, tell(batch) }; null outside an LMS or when the LMS refuses to
// start one (the page is then told 'refused'). The session ends by itself
// when the page is hidden or unloaded.
export function connect(w, dispatch) {
  const found = find(w);
  if (!found) return null;
  const v = versions[found.version];
  const call = caller(found.api, v);
  if (!yes(call('initialize', ''))) {
    dispatch({ type: 'lms', outcome: 'refused' });
    return null;
  }
  const get = (element) => call('get', element) ?? '';
  const read = { name: get(v.name), suspend: get(v.suspend), since: Number(get('cmi.interactions._count')) || 0, passMark: get(v.passMark) };
  const queue = [];   // the batches not yet made: { calls, failed, asked }, calls [name, element, value] in order
  let [open, pumping] = [true, false];

  // Makes the next call of the first batch, or, after its last, tells the
  // page how it went: then gives true, as the page draws (a task of its own).
  const next = () => {
    const batch = queue[0];
    const [name, element = '', value] = batch.calls.shift();
    if (batch.calls.length === 0) queue.shift();
    if (name === 'reported') {
      dispatch({ type: 'reported', failed: batch.failed, ...batch.asked });
      return true;
    }
    const taken = yes(name === 'set' ? call('set', element, value) : call(name, ''));
    if (!taken && (name !== 'set' || !forGood.has(Number(call('error') ?? NaN)))) batch.failed.push(name === 'set' ? element : name);
    return false;
  };
  const pump = (deadline) => {
    while (queue.length > 0 && !next() && performance.now() < deadline);
    return queue.length === 0;
  };
  const session = {
    version: found.version,
    // Sends { first, pairs, commit } to the LMS after what it was sent
    // before, a call a task: the pairs of first, committed, then the others;
    // closing: at once, the session ended after it. What comes back
    // ('reported') carries commit, handIn and sent as asked.
    tell({ first = [], pairs, commit = false, handIn = false, closing = false, sent = 0 }) {
      if (!open) return;
      const set = (list) => list.map(([element, value]) => ['set', element, value]);
      const calls = [...set(first), ...(first.length > 0 ? [['commit']] : []), ...set(pairs), ...(commit || closing ? [['commit']] : [])];
      queue.push({ calls: [...calls, closing ? ['finish'] : ['reported']], failed: [], asked: { handIn, commit: commit || closing, sent } });
      if (closing) {
        open = false;
        while (queue.length > 0) next();
      } else if (!pumping) {
        pumping = true;
        inSlices(null, pump, () => { pumping = false; }, true);
      }
    },
  };
  // The page going: the state sends what the LMS has not taken yet, and the
  // session's time, at once; the session ends even where it sent nothing.
  const finish = () => {
    if (!open) return;
    dispatch({ type: 'lmsClosing', now: Date.now() });
    session.tell({ pairs: [], closing: true });
  };
  for (const event of ['pagehide', 'beforeunload']) w.addEventListener(event, finish);
  w.addEventListener('pageshow', (event) => { if (event.persisted && !open) dispatch({ type: 'lms', outcome: 'ended' }); });
  dispatch({ type: 'lms', outcome: 'connected', version: found.version, ...read, now: Date.now() });
  return session;
}
