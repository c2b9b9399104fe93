// A stand-in LMS for the browser tests: scorm-again gives the SCORM API of the
// version that the address asks (?v=1.2 or ?v=2004) to a content page
// (&launch=) in a frame, with the learner's name (&name=) and the pass mark
// that the package's manifest sets (&pass=), as an LMS does. What the content
// commits is kept in this page's localStorage, so that the content can be
// closed and opened again on the data saved, as an LMS resumes an attempt.
// Every call that the content makes is noted, as [call, element, value]; with
// &slow=ms, each takes that long, as a distant LMS's synchronous call does.
// window.lms: open(), close(), the data kept, the calls, and the content's window.
(() => {
  const query = new URLSearchParams(location.search);
  const version = query.get('v') === '2004' ? '2004' : '1.2';
  const key = `lms-data-${version}`;
  const slow = Number(query.get('slow')) || 0;
  const data = () => JSON.parse(localStorage.getItem(key) ?? 'null');
  let frame = null;
  const calls = [];
  const noted = version === '1.2' ? ['LMSInitialize', 'LMSGetValue', 'LMSSetValue', 'LMSCommit', 'LMSFinish']
    : ['Initialize', 'GetValue', 'SetValue', 'Commit', 'Terminate'];

  // A new session's API on the data kept, as the frame's parent offers it.
  function start() {
    const saved = data();
    const api = version === '1.2' ? new window.Scorm12API({ logLevel: 5 }) : new window.Scorm2004API({ logLevel: 5 });
    if (saved) api.loadFromJSON(saved);
    const core = version === '1.2' ? api.cmi.core : api.cmi;
    core[version === '1.2' ? 'student_name' : 'learner_name'] = query.get('name') ?? '';
    const pass = query.get('pass');
    if (pass && version === '1.2') api.cmi.student_data.mastery_score = pass;
    else if (pass) api.cmi.scaled_passing_score = pass;
    const exit = saved && (version === '1.2' ? saved.core?.exit : saved.exit);
    core.entry = !saved ? 'ab-initio' : exit === 'suspend' ? 'resume' : '';
    const keep = () => localStorage.setItem(key, JSON.stringify(api.renderCMIToJSONObject().cmi));
    for (const call of version === '1.2' ? ['LMSCommit', 'LMSFinish'] : ['Commit', 'Terminate']) api.on(call, keep);
    for (const name of noted) {
      const call = api[name].bind(api);
      api[name] = (...args) => {
        calls.push([name.replace(/^LMS/, ''), ...args]);
        for (const until = performance.now() + slow; performance.now() < until;);
        return call(...args);
      };
    }
    delete window.API;
    delete window.API_1484_11;
    window[version === '1.2' ? 'API' : 'API_1484_11'] = api;
  }

  window.lms = {
    version,
    data,
    calls,
    closed: true,
    content: () => frame?.contentWindow ?? null,
    // Opens the content on a new session, or (fresh false) on the one that it ended.
    open(fresh = true) {
      if (fresh) start();
      frame = document.createElement('iframe');
      frame.title = 'Content';
      frame.src = query.get('launch');
      document.querySelector('main').append(frame);
      window.lms.closed = false;
    },
    // Unloads the content, which then ends its session, and removes its frame.
    close() {
      frame.addEventListener('load', () => { frame.remove(); frame = null; window.lms.closed = true; }, { once: true });
      frame.src = 'about:blank';
    },
  };
  addEventListener('DOMContentLoaded', () => window.lms.open());
})();
