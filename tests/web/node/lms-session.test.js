// A student's session in an LMS end to end under node: the page's state
// (state.js), its LMS adapter (page/lms.js) and a runtime that does as
// Moodle 4.5's: scorm-again's, wrapped so that a commit sends only the values
// that differ from what it sent last, takes them for sent before it knows
// whether they got there, and answers "true" again once the LMS is back. What
// got there is the LMS's record, which the next session opens on. In both
// versions: an own-way student who leaves halfway comes back to the
// operations, and the reading reaches the record as it is made; a hand-in
// made while the LMS refuses reaches it once it is back, and the page says so
// only then; saved data damaged in any way opens the page of each kind of
// assignment, saying what was kept.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import { Scorm12API, Scorm2004API } from 'scorm-again';
import { needsBuild, programs } from './programs.js';
import { initial, update } from '../../../web/state.js';
import { connect } from '../../../web/page/lms.js';
import { make, modelOf } from '../../../web/logic/practice/exercises.js';
import { assignment } from '../../../web/logic/assignments/assignment.js';
import { versions } from '../../../web/logic/assignments/scorm.js';
import { decodeWork, decodeAnyWork } from '../../../web/logic/assignments/suspend.js';
import { hint } from '../../../web/logic/own/hints.js';
import { meaning, readingOf } from '../../../web/logic/own/reading.js';
import { notation } from '../../../web/logic/own/operations.js';

before(programs);

// An LMS of version as Moodle runs one, on its record (a Map of element to
// value: what reached it); down, whether it is out of reach. The window w
// around the page offers its API.
function moodle(version, record) {
  const api = version === '1.2' ? new Scorm12API({ logLevel: 5 }) : new Scorm2004API({ logLevel: 5 });
  api.loadFromJSON({ suspend_data: record.get('cmi.suspend_data') ?? '', ...(version === '1.2' ? { core: { student_name: 'Kim' } } : { learner_name: 'Kim' }) });
  const [calls, set, sent, lms] = [versions[version].calls, new Map(), new Map(), { down: false, record, w: { listeners: {} } }];
  let failed = false;
  const store = () => {
    failed = lms.down;
    for (const [element, value] of set) {
      if (sent.get(element) === value) continue;
      sent.set(element, value);
      if (!failed) record.set(element, value);
    }
    return String(!failed);
  };
  Object.assign(lms.w, { parent: lms.w, addEventListener: (type, fn) => { lms.w.listeners[type] = fn; }, [versions[version].api]: {
    [calls.initialize]: (x) => api[calls.initialize](x), [calls.get]: (element) => api[calls.get](element), [calls.commit]: store,
    [calls.set]: (element, value) => {
      const taken = api[calls.set](element, value);
      if (taken === 'true') set.set(element, String(value));
      return taken;
    },
    [calls.finish]: () => (store(), api[calls.finish]('')), [calls.error]: () => (failed ? '101' : api[calls.error]()) } });
  return lms;
}

// The page of assignment a opened inside lms, as page.js and page/effects.js
// open it, the effects that these sessions need carried: its state, the ids
// of what its status line said, the messages asked for later, and settled(),
// which waits until the LMS has made every batch asked.
function pageIn(lms, a) {
  const page = { said: [], later: [], asked: 0, heard: 0 };
  let session = null;
  const dispatch = (message) => {
    page.heard += message.type === 'reported';
    let effects;
    [page.state, effects] = update(page.state, message);
    for (const e of effects) {
      if (e.report && session && (e.report.pairs.length > 0 || e.report.commit)) {
        page.asked += !e.report.closing;
        session.tell(e.report);
      }
      if (e.announce) page.said.push(...e.announce.map((x) => x.id));
      if (e.later) page.later.push(e.later);
      if (e.ownMake) dispatch({ type: 'ownMade', input: matrixOf(e.ownMake), program: e.ownMake.program, student: e.student });
      if (e.make) dispatch({ type: 'made', input: matrixOf(e.make), met: true });
      if (e.open?.input) dispatch({ type: 'shown', model: runOf(e.open.program, e.open.input) });
    }
  };
  page.state = initial();
  page.dispatch = dispatch;
  session = connect(lms.w, dispatch);
  const { lms: opened } = page.state;
  dispatch({ type: 'studentLink', found: { role: 'student', assignment: a, name: opened.name }, program: a.program,
             kept: decodeAnyWork(opened.suspend), now: Date.now(), lms: true });
  page.settled = async () => { while (page.heard < page.asked) await new Promise((done) => setTimeout(done, 1)); };
  page.close = () => lms.w.listeners.pagehide();
  page.lms = lms;
  return page;
}

// A student's matrix and run, made once for every page that opens them.
const made = new Map();
const once = (key, value) => made.get(key) ?? made.set(key, value()).get(key);
const matrixOf = (exercise) => once(JSON.stringify(exercise), () => make(exercise).input);
const runOf = (program, input) => once(program + input, () => modelOf(program, input));

// The method's next operation typed, count times.
const operations = (page, count) => {
  for (let k = 0; k < count && hint(page.state.own.matrix); k++) page.dispatch({ type: 'ownOp', text: notation(hint(page.state.own.matrix).op) });
};
const handIn = (page) => ['', true].forEach((confirmed) => page.dispatch({ type: 'handIn', now: Date.now(), confirmed }));

for (const version of ['1.2', '2004']) {
  test(`SCORM ${version}: own work left halfway comes back, its reading reaches the LMS as it is made, and a hand-in refused once it is back, said handed in only then`, needsBuild, async () => {
    const a = assignment({ mode: 'own', order: 3, seed: 11 });
    const left = pageIn(moodle(version, new Map()), a);
    operations(left, 4);
    await left.settled();
    left.close();
    const lms = moodle(version, left.lms.record);
    const page = pageIn(lms, a);
    assert.deepEqual([page.state.lms.unread, page.state.own.work.at, page.state.mode], [null, 4, 'own'], 'back to the operations');
    operations(page, Infinity);
    page.dispatch({ type: 'ownAnswer', answer: readingOf(meaning(page.state.own.matrix, page.state.own.work.kind)) });
    await page.settled();
    const [status, raw] = version === '1.2' ? ['cmi.core.lesson_status', 'cmi.core.score.raw'] : ['cmi.completion_status', 'cmi.score.raw'];
    assert.deepEqual([lms.record.get(status), Number(lms.record.get(raw))], ['completed', 100], 'the reading committed');
    lms.down = true;
    handIn(page);
    await page.settled();
    const said = () => page.said.filter((id) => id.startsWith('student.'));
    assert.deepEqual([said(), page.later, decodeWork(lms.record.get('cmi.suspend_data')).handed], [['student.lmsHandedInUntaken'], [{ type: 'lmsRetry' }], null]);
    // Back: a commit answers "true" even where it sends nothing; the page's next batch tells all again, in another form.
    lms.down = false;
    page.dispatch({ type: 'lmsRetry', now: Date.now() });
    await page.settled();
    assert.deepEqual([said().at(-1), decodeWork(lms.record.get('cmi.suspend_data')).handed], ['student.lmsHandedIn', page.state.student.handed]);
  });
}

// Saved data of each kind of assignment, whole, then damaged: not base64,
// cut in half, each character altered. The page opens on the student's matrix; what it
// could read is kept, and said (unread 'part': the answers, the stages start
// again; 'all': nothing, the work starts afresh); own work, whose result
// holds it all, is never partly read.
test('saved data damaged in any way opens the page of each kind of assignment, saying what was kept', needsBuild, async () => {
  const kinds = [['stages', assignment({ seed: 7, order: 2 }), (page) => page.dispatch({ type: 'hint', k: page.state.session.current })],
                 ['own', assignment({ mode: 'own', program: 'gjsolve', order: 2, seed: 5 }), (page) => operations(page, 2)],
                 ['set', assignment({ seed: 4, problems: [{ order: 2 }, { program: 'gjsolve', order: 2, mode: 'own' }] }),
                  (page) => page.dispatch({ type: 'hint', k: page.state.session.current })]];
  for (const [kind, a, work] of kinds) {
    const record = new Map();
    const page = pageIn(moodle('2004', record), a);
    work(page);
    await page.settled();
    page.close();
    const saved = record.get('cmi.suspend_data');
    const altered = Array.from({ length: saved.length - 2 }, (_, i) => saved.slice(0, i + 2) + (saved[i + 2] === 'A' ? 'B' : 'A') + saved.slice(i + 3));
    for (const damaged of [saved, 'W2!!!', saved.slice(0, saved.length >> 1), ...altered]) {
      const opened = pageIn(moodle('2004', new Map([['cmi.suspend_data', damaged]])), a);
      const { state: { lms, student, session, own } } = opened;
      const kept = decodeAnyWork(damaged);
      const what = `${kind}: ${damaged}`;
      assert.ok(kind === 'own' ? own?.work : session, what);
      assert.equal(lms.unread, !kept ? 'all' : kept.lost ? 'part' : null, what);
      assert.ok(kind !== 'own' || lms.unread !== 'part', what);
      assert.deepEqual(student.result.stages.length + (student.result.own?.ops.length ?? 0) > 0, Boolean(kept?.problems ? kept.problems[0] : kept), what);
    }
  }
});

// A set of two problems (this method's stages of a drawn inverse, 1 point,
// Show allowed; the students' own way on the teacher's system, 2 points):
// the first shown through, the second left after two operations, each
// problem's work back as it was on the next launch, the interactions named
// by problem, the score the share of the set's points.
for (const version of ['1.2', '2004']) {
  test(`SCORM ${version}: a set's problems each resume where they were, its interactions named by problem, its score its points'`, needsBuild, async () => {
    const a = assignment({ seed: 4, problems: [{ order: 2, show: true }, { matrix: { kind: 'system', rows: [['1', '2', '5'], ['3', '4', '6']] }, mode: 'own', points: 2 }] });
    const moved = (page, at) => { page.dispatch({ type: 'problemOpened', at, now: Date.now() }); page.later.splice(0).forEach(page.dispatch); };
    const first = pageIn(moodle(version, new Map()), a);
    while (!first.state.session.finished) first.dispatch({ type: 'fillIn', k: first.state.session.current, now: Date.now() });
    moved(first, 1);
    operations(first, 2);
    await first.settled();
    first.close();
    const ids = (record) => [...record].filter(([element]) => /interactions\.\d+\.id/.test(element)).map(([, id]) => id);
    assert.deepEqual(ids(first.lms.record), ['p1-stage-2-scaled', 'p1-stage-3-pivoted', 'p1-stage-4-eliminated', 'p1-stage-5-backward', 'p1-stage-6-normalized',
      'p1-stage-7-inverse_done', 'p2-op-1', 'p2-op-2']);
    const lms = moodle(version, first.lms.record);
    const page = pageIn(lms, a);
    assert.deepEqual([page.state.lms.unread, page.state.student.at, page.state.student.works[0]?.finished], [null, 0, true], 'the first problem as it was');
    moved(page, 1);
    assert.equal(page.state.own.work.at, 2, 'the second as it was');
    operations(page, Infinity);
    page.dispatch({ type: 'ownAnswer', answer: readingOf(meaning(page.state.own.matrix, page.state.own.work.kind)) });
    handIn(page);
    await page.settled();
    const raw = lms.record.get(version === '1.2' ? 'cmi.core.score.raw' : 'cmi.score.raw');
    assert.deepEqual([ids(lms.record).includes(`p2-op-${page.state.own.work.at}`), Number(raw)], [true, 66.67]);
    assert.equal(decodeAnyWork(lms.record.get('cmi.suspend_data')).handed, page.state.student.handed);
  });
}
