// The page inside an LMS: finds the LMS's SCORM API in the frames around it,
// starts a session, reads the learner's name, the saved work and the pass mark
// once, tells the LMS what changed in the student's work and ends the session
// once, when the page is hidden. Every call to the LMS is made here; what the
// calls carry comes from logic/assignments/scorm.js, and what the LMS answers
// goes to the page as messages: { type: 'lms', outcome } when it opens
// ('connected', with its name and saved work, or 'refused'), and again
// ('ended') when a page restored from the back-forward cache finds its
// session over. The record of what the LMS was told (scorm.js's writer) is
// this adapter's own, as a view keeps what it drew.
import { versions, opened, writes, refused, closing } from '../../logic/assignments/scorm.js';
import { encodeWork, decodeWork } from '../../logic/assignments/suspend.js';

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

// A session with the LMS around w, which sends the LMS's answers to dispatch:
// { version, tell(work), finish() }; null outside an LMS or when the LMS
// refuses to start one (the page is then told 'refused'). tell() gives
// whether the LMS took every call; the session ends by itself when the page
// is hidden or unloaded.
export function connect(w, dispatch) {
  const found = find(w);
  if (!found) return null;
  const v = versions[found.version];
  const call = caller(found.api, v);
  if (call('initialize', '') !== 'true') {
    dispatch({ type: 'lms', outcome: 'refused' });
    return null;
  }
  const get = (element) => call('get', element) ?? '';
  const started = Date.now();
  const [name, suspend] = [get(v.name), get(v.suspend)];
  let writer = opened(found.version, { since: Number(get('cmi.interactions._count')) || 0, passMark: get(v.passMark), work: decodeWork(suspend) });
  let open = true;
  const session = {
    version: found.version,
    // Tells the LMS what changed in { a, m, practice, kept } at now (ms).
    tell({ a, m, practice, kept, now }) {
      if (!open) return false;
      const told = writes(writer, { a, m, practice, kept, now, started, suspend: encodeWork(kept) });
      const failed = told.pairs.filter(([element, value]) => call('set', element, value) !== 'true').map(([element]) => element);
      if (told.commit && call('commit', '') !== 'true') failed.push('commit');
      writer = refused(told.writer, failed);
      return failed.length === 0;
    },
    finish() {
      if (!open) return;
      open = false;
      for (const [element, value] of closing(found.version, started, Date.now())) call('set', element, value);
      call('commit', '');
      call('finish', '');
    },
  };
  for (const event of ['pagehide', 'beforeunload']) w.addEventListener(event, session.finish);
  w.addEventListener('pageshow', (event) => { if (event.persisted && !open) dispatch({ type: 'lms', outcome: 'ended' }); });
  dispatch({ type: 'lms', outcome: 'connected', version: found.version, name, suspend });
  return session;
}
