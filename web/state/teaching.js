// The state's handlers for the teacher's side: an assignment made with the
// form (made), the results view that a teacher's link opens (teacher), the
// codes read there and their table (results), and the teacher's gradebook
// (gradebook.js), which this browser keeps. The table is worked out in slices
// by an effect ({ grade }) and comes back as the message 'graded'; the
// gradebook is kept by one ({ keepBook }), which merges it with what storage
// holds; the keys are printed by one ({ print }); the CSVs are written by
// others ({ saveTable }, { saveBook }): results.js, which grades by running
// the programs, is out of the state's reach.
import { problemsOf, assignment, classList, teacherFragment, keyNames, cleanName, nameKey, secretOf, id, maxNames, drawnName, formerKeys } from '../logic/assignments/assignment.js';
import { rules, rowsPerPage, readCount, entryOf, merged, mergedBooks, assignmentOf, exported, imported, bookOf, headingOf, maxBookBytes, checkedOnly } from '../logic/assignments/gradebook.js';
import { inBoth } from '../logic/practice/sayings.js';
import { optionWords } from '../logic/run/words.js';
import { askedOf, draftHandlers } from './drafting.js';

// The gradebook with entry (of assignment a) in it, and the effect that keeps it.
const kept = (state, a, entry) => {
  const gradebook = { ...state.gradebook, [id(a)]: entry };
  return [gradebook, { keepBook: { [id(a)]: entry } }];
};

// The entry of the assignment open, as the gradebook holds it.
const entryOpen = (state) => state.gradebook[id(state.teacher)] ?? entryOf(state.teacher);

// The table worked out anew for the results as they are, when they hold
// codes; say, whether the status line tells the count once it is done.
const regraded = (a, results, say = true) => (results.codes === '' ? [] : [{ grade: { assignment: a, codes: results.codes, rule: results.rule, say } }]);

// The results as a teacher's link opens them: no table yet, no row open.
// fresh: whether this browser's gradebook did not know the assignment;
// pasted: whether the codes hold text pasted that no whole table has read
// yet (any text, which the views do not count: a year's takes long).
const resultsOf = (entry, fresh) => ({ codes: entry.codes, rule: entry.rule, table: null, opened: null, at: 0, detail: null, page: 0, fresh, pasted: false });

// The code of the row named of table that its problem at (from 0) is graded
// from: of a set's table, the code that carries that problem; else the row's; null for none.
const codeOf = (table, name, at) => {
  const row = table?.rows.find((r) => r.name === name);
  return (table?.mode === 'set' ? row?.cells[at]?.code : row?.code) ?? null;
};

// The effect that works out the details of problem at of the row named of table, if it has a code.
function detailOf(a, table, name, at = 0) {
  const code = codeOf(table, name, at);
  return code ? [{ detail: { assignment: a, code, at } }] : [];
}

// The state once a teacher's link (found, as assignment.parseLink reads it:
// { assignment } or { problem }) is followed: the results view of its
// assignment as the gradebook keeps it (this link's names joined to it), in
// practice, over its program empty, with the codes pasted so far graded anew
// (none yet: the students' runs made meanwhile, { warm }, for the first table).
// A link without a digest (unchecked) opens only an assignment that the
// gradebook holds already: this browser made or opened it.
export function teaching(state, { found, program }) {
  const held = found?.assignment?.program && (!found.unchecked || Object.hasOwn(state.gradebook, id(found.assignment)));
  const opened = held ? found.assignment : null;
  if (opened === null) {
    const problem = { id: typeof found?.problem === 'string' ? found.problem : found?.unchecked ? 'link.unchecked' : 'link.assignment', program };
    return [{ ...state, mode: 'practice', problem, teacher: null, results: null, student: null, unmet: false, link: null },
            [{ open: { program, input: '', ended: false } }]];
  }
  const key = id(opened);
  const entry = merged(state.gradebook, { [key]: entryOf(opened) })[key];
  const a = assignmentOf(entry);
  const [gradebook, keep] = kept(state, a, entry);
  const same = state.teacher !== null && id(state.teacher) === key && state.results !== null;
  const results = same ? state.results : resultsOf(entry, !(key in state.gradebook));
  // Kept anew only where it changed: a year's gradebook takes a while to store.
  const old = state.gradebook[key];
  const known = old !== undefined && ['link', 'codes', 'rule', 'edits'].every((f) => old[f] === entry[f]) && String(old.dropped) === String(entry.dropped);
  const effects = [{ open: { program, input: '', ended: false } }, { focus: { element: 'teacher-codes', top: true } }, ...(known ? [] : [keep]),
                   ...(entry.link === teacherFragment(opened) ? [] : [{ address: entry.link }]),
                   ...(same ? [] : results.codes === '' ? [{ warm: a }] : regraded(a, results))];
  return [{ ...state, mode: 'practice', problem: null, teacher: a, results, gradebook, student: null, unmet: false, link: null }, effects];
}

// The assignment that the form's values give (given: what the form asks, the
// class list as typed; names: the list's names; problems, a set's: the
// draft's, state/drafting.js), with seed and secret; null when it cannot be linked.
function madeOf(given, names, seed, secret, problems = []) {
  const a = assignment({ ...askedOf(given), seed, secret, names, ...(problems.length > 0 ? { problems } : {}) });
  try {
    teacherFragment(a);
    return a;
  } catch {
    return null;
  }
}

// The state once assignment a is made: its links shown, the address its
// teacher's link, and a place in the gradebook; the options asked that could
// not hold with the others (dropped, left out of a) said.
function made(state, a, dropped = []) {
  const [gradebook, keep] = kept(state, a, merged(state.gradebook, { [id(a)]: entryOf(a) })[id(a)]);
  const said = dropped.length === 0 ? [] : [inBoth((t) => t('assign.dropped', { options: optionWords(t, dropped) }))];
  return [{ ...state, made: { assignment: a }, gradebook },
          [{ announce: [{ id: 'assign.made' }, ...said] }, { address: teacherFragment(a) }, keep]];
}

// The assignment open with its names changed to names, and the names that
// draw their matrices (drawn, assignment's; a name corrected away adds its
// key to dropped): its entry, its address; the same assignment when they
// cannot be linked.
function renamed(state, { names, drawn = state.teacher.drawn }, dropped = [], said = []) {
  const a = { ...state.teacher, names, drawn };
  try { teacherFragment(a); } catch { return [state, [{ announce: [{ id: 'teacher.namesTooMany' }] }]]; }
  const before = entryOpen(state);
  const entry = { ...before, link: teacherFragment(a), edits: before.edits + 1, dropped: [...before.dropped, ...dropped] };
  const [gradebook, keep] = kept(state, a, entry);
  return [{ ...state, teacher: a, gradebook }, [{ address: entry.link }, keep, ...regraded(a, state.results, false), ...said]];
}

// The keys that a name added or corrected may not take on assignment a: its
// names' and the names they were before a correction, but those of the name
// corrected (except).
function takenKeys(a, except = null) {
  const formers = formerKeys(a).filter(([, now]) => except === null || now !== nameKey(except)).map(([former]) => former);
  return new Set([...a.names.map(nameKey), ...formers]);
}

// The results view's state with the results changed to results, kept in the
// gradebook, and graded anew unless told not to (grade false).
function withResults(state, results, grade = true) {
  const entry = { ...entryOpen(state), codes: results.codes, rule: results.rule };
  const [gradebook, keep] = kept(state, state.teacher, entry);
  return [{ ...state, results, gradebook }, [keep, ...(grade ? regraded(state.teacher, results) : [])]];
}

// The state with book merged into its gradebook; the assignment open, if
// book changed it, shown as merged (its address, its codes graded anew).
function withBook(state, book) {
  const gradebook = merged(state.gradebook, book);
  const key = state.teacher && id(state.teacher);
  const entry = key && key in book ? gradebook[key] : null;
  if (entry === null || JSON.stringify(entry) === JSON.stringify(state.gradebook[key])) return [{ ...state, gradebook }, []];
  const [a, results] = [assignmentOf(entry), { ...state.results, codes: entry.codes }];
  return [{ ...state, gradebook, teacher: a, results }, [{ address: entry.link }, ...regraded(a, results, false)]];
}

// A count of bytes in megabytes, to a tenth.
const megabytes = (bytes) => Math.round(Number(bytes) / 104857.6) / 10;

const teacherOnly = (handler) => (state, message) => (state.teacher && state.results ? handler(state, message) : [state, []]);

export const handlers = {
  // A set being made with the form (state/drafting.js), which the teacher's part brings too.
  ...draftHandlers,
  teacherLink: teaching,
  // The assignment form's values, a seed and the secret's bytes drawn for
  // them, and today ('YYYY-MM-DD'): its links, or why there are none, or a
  // question first (a name given twice, a due date past) unless confirmed.
  assignmentMade: (state, { given = {}, seed, secret = [], today = '', confirmed = false }) => {
    const list = classList(typeof given?.names === 'string' ? given.names : '');
    // A set: the problems of the draft, drawn from its own seed, which its previews showed.
    const draft = state.draft?.problems.length > 0 ? state.draft : null;
    const a = madeOf(given, list.names, draft?.seed ?? seed, secretOf(Array.isArray(secret) ? secret : []), draft?.problems);
    if (a === null) return [{ ...state, made: { invalid: true } }, []];
    const dropped = draft ? [] : (Array.isArray(given.options) ? given.options : []).filter((o) => !a.options.includes(o));
    const past = a.due !== '' && a.due < String(today);
    if (!confirmed && (list.repeats.length > 0 || past)) return [{ ...state, made: { question: { repeats: list.repeats, past }, pending: a, dropped } }, []];
    return made(state, a, dropped);
  },
  // The assignment form changed by the teacher: it no longer follows the program shown.
  assignmentTouched: (state) => (state.assignTouched ? [state, []] : [{ ...state, assignTouched: true }, []]),
  // The question answered yes: the assignment made as it was given.
  assignmentConfirmed: (state) => (state.made?.pending ? made(state, state.made.pending, state.made.dropped) : [state, []]),
  // A package for an LMS asked, of version with pass (a share) from the web
  // zip file, of the assignment made (from 'made') or of the results view's ('teacher').
  packageAsked: (state, { version, pass, file, from = 'made' }) => {
    const [a, place] = from === 'teacher' ? [state.teacher, 'results'] : [state.made?.assignment, 'made'];
    return a ? [{ ...state, [place]: { ...state[place], packageProblem: null } }, [{ package: { assignment: a, version, pass, file } }]] : [state, []];
  },
  // The package of assignment saved as name, or refused for problem (a text's
  // id), said where it was asked if that assignment is still there.
  packaged: (state, { assignment = null, name = null, problem = null }) => {
    if (problem === null) return [state, [{ announce: [{ id: 'lms.made', values: { name: String(name) } }] }]];
    const place = state.made?.assignment === assignment ? 'made' : state.teacher === assignment && state.results ? 'results' : null;
    return place ? [{ ...state, [place]: { ...state[place], packageProblem: String(problem) } }, []] : [state, []];
  },
  // Text pasted into the results view: after the codes read before, kept, and
  // graded, which finds its codes (a class's year of them is no click's work).
  codesRead: teacherOnly((state, { codes }) => {
    const text = typeof codes === 'string' ? codes.trim() : '';
    const r = state.results;
    return text === '' ? [state, []] : withResults(state, { ...r, codes: r.codes === '' ? text : `${r.codes}\n${text}`, pasted: true });
  }),
  // The table of the codes read by a rule, if it is that of the results as
  // they are now: on the way (partial), or whole, whose codes, each once, are
  // then those kept; the count said if asked (say).
  graded: (state, { assignment: a, codes, rule = 'best', table, say = true }) => {
    const r = state.results;
    if (!state.teacher || !r || !a?.program || id(a) !== id(state.teacher) || codes !== r.codes || rule !== r.rule || !table?.rows) return [state, []];
    const opened = r.opened !== null && codeOf(table, r.opened, r.at) !== r.detail?.code ? detailOf(a, table, r.opened, r.at) : [];
    if (table.partial) return [{ ...state, results: { ...r, table } }, opened];
    const [next, keep] = typeof table.codes !== 'string' || table.codes === r.codes ? [state, []] : withResults(state, { ...r, codes: table.codes }, false);
    return [{ ...next, results: { ...next.results, table, pasted: false } }, [...keep, ...opened, ...(say ? [{ announce: [readCount(table)] }] : [])]];
  },
  // A page of the table's rows shown (rowsPerPage a page, from 0), the focus on the table.
  pageShown: teacherOnly((state, { page }) => {
    const pages = Math.ceil((state.results.table?.rows.length ?? 0) / rowsPerPage);
    if (!Number.isInteger(page) || page < 0 || page >= pages) return [state, []];
    return [{ ...state, results: { ...state.results, page } }, [{ focus: { element: 'teacher-results' } }]];
  }),
  // The details of a row opened (of a set's, of its problem at), worked out
  // from its code, if that row is still open on it: per stage, or of the
  // student's own operations ({ own, answer, expected }, results.detailing's).
  detailed: (state, { assignment: a, code, at = 0, details }) => {
    const r = state.results;
    const open = state.teacher && r?.table && r.opened !== null && at === r.at ? codeOf(r.table, r.opened, at) : null;
    if (open === null || open !== code || !a?.program || id(a) !== id(state.teacher)) return [state, []];
    const own = problemsOf(state.teacher)[at]?.mode === 'own' && Array.isArray(details?.own);
    if (!(own || Array.isArray(details))) return [state, []];
    return [{ ...state, results: { ...r, detail: own ? { code, ...details } : { code, stages: details } } }, []];
  },
  // The rule by which a student's codes are graded.
  ruleChosen: teacherOnly((state, { rule }) =>
    (rules.includes(rule) && rule !== state.results.rule ? withResults(state, { ...state.results, rule }) : [state, []])),
  // A student's row opened to the details of each stage (the focus on them),
  // of a set's row its problem at (from 0); or closed when it was open.
  rowOpened: teacherOnly((state, { name, at = 0 }) => {
    const r = state.results;
    const k = Number.isInteger(at) && at >= 0 && at < problemsOf(state.teacher).length ? at : 0;
    const opened = (r.opened === name && r.at === k) || typeof name !== 'string' ? null : name;
    const effects = opened === null ? [] : [...detailOf(state.teacher, r.table, opened, k), { focus: { element: 'teacher-detail' } }];
    return [{ ...state, results: { ...r, opened, at: k, detail: null } }, effects];
  }),
  // Names added to the class list (text, one a line): the names there keep
  // their links; a name there already is said, not added twice.
  namesAdded: teacherOnly((state, { text }) => {
    const keys = takenKeys(state.teacher);
    const list = classList(typeof text === 'string' ? text : '');
    const repeats = [...list.repeats, ...list.names.filter((name) => keys.has(nameKey(name)))];
    const added = list.names.filter((name) => !keys.has(nameKey(name)));
    const said = [{ id: 'teacher.namesAdded', values: { count: added.length } },
                  ...(repeats.length > 0 ? [{ id: 'teacher.namesThere', values: { names: repeats.join(', ') } }] : [])];
    return added.length === 0 ? [state, [{ announce: said }]] : renamed(state, { names: [...state.teacher.names, ...added] }, [], [{ announce: said }]);
  }),
  // A name of the list (from) corrected to another (to), which no one else on
  // the list has, nor had: the student's matrix, link key and codes stay,
  // drawn from the name as it was first.
  nameCorrected: teacherOnly((state, { from, to }) => {
    const a = state.teacher;
    const [names, name] = [a.names, cleanName(typeof to === 'string' ? to : '')];
    const at = names.indexOf(from);
    if (at < 0 || name === '' || name === from) return [state, []];
    if (takenKeys({ ...a, names: names.filter((n, i) => i !== at) }, from).has(nameKey(name))) {
      return [state, [{ announce: [{ id: 'teacher.namesThere', values: { names: name } }] }]];
    }
    const [was, drawn] = [drawnName(a, from), { ...a.drawn }];
    delete drawn[nameKey(from)];
    if (nameKey(was) !== nameKey(name)) drawn[nameKey(name)] = was;
    const said = { announce: [{ id: 'teacher.nameCorrected', values: { from, to: name } }] };
    return renamed(state, { names: names.map((n, i) => (i === at ? name : n)), drawn }, nameKey(from) === nameKey(name) ? [] : [nameKey(from)], [said]);
  }),
  // The results table as CSV, worded in the page's language, saved as name
  // (assignment.fileName's; by the id without one).
  resultsSaved: (state, { name }) => (state.teacher && state.results?.table && !state.results.table.partial
    ? [state, [{ saveTable: { table: state.results.table, language: state.language,
                              name: typeof name === 'string' && name !== '' ? name : `results-${id(state.teacher)}.csv` } }]] : [state, []]),
  // The worksheets, the keys or both of the results view's assignment, on
  // one side or two; where no name is known yet, why not.
  keysAsked: (state, { parts = 'all', twoSided = true }) => {
    const a = state.teacher;
    if (!a) return [state, []];
    const read = state.results?.table?.rows.map((row) => row.name) ?? [];
    if (keyNames(a, read).length === 0) return [state, [{ announce: [{ id: 'teacher.keysLater' }] }]];
    const kind = ['all', 'sheets', 'keys'].includes(parts) ? parts : 'all';
    return [state, [{ print: { keys: { assignment: a, read, parts: kind, twoSided: twoSided !== false } } }]];
  },
  // The whole gradebook written to one file.
  bookExported: (state) => (Object.keys(state.gradebook).length === 0 ? [state, []]
    : [state, [{ save: { content: exported(state.gradebook), name: 'gradebook.json', type: 'application/json' } }]]),
  // A gradebook file (of size bytes) merged into this one: no code is lost on
  // either side, and the names that a class list could not take are said.
  // A file past the largest (maxBookBytes) is refused before it is read: text
  // then is null.
  bookImported: (state, { text = null, size = 0 }) => {
    if (Number(size) > maxBookBytes) return [state, [{ announce: [{ id: 'book.tooLarge', values: { size: megabytes(size), most: megabytes(maxBookBytes) } }] }]];
    const read = imported(String(text));
    if (read === null) return [state, [{ announce: [{ id: 'book.notBook' }] }]];
    // An entry whose link has no digest opens nowhere but in the browser that holds it.
    const { book, left: unchecked } = checkedOnly(read, state.gradebook);
    const [next, effects] = withBook(state, book);
    const keep = Object.fromEntries(Object.keys(book).map((key) => [key, next.gradebook[key]]));
    const left = mergedBooks(state.gradebook, book).left.map(({ a, names }) =>
      ({ id: 'book.namesLeft', values: { title: headingOf(a), names: names.join(', '), most: maxNames } }));
    const refused = unchecked.length > 0 ? [{ id: 'book.unchecked', values: { count: unchecked.length } }] : [];
    return [next, [{ keepBook: keep }, { announce: [{ id: 'book.imported', values: { count: Object.keys(book).length } }, ...left, ...refused] }, ...effects]];
  },
  // Whether the browser kept the gradebook: refused (storage full or off), the
  // page says so once, and what to do; kept again, it says nothing more.
  bookKept: (state, { kept }) => {
    const unsaved = kept === false;
    if (unsaved === state.bookUnsaved) return [state, []];
    return [{ ...state, bookUnsaved: unsaved }, unsaved ? [{ announce: [{ id: 'book.unsaved' }] }] : []];
  },
  // The gradebook as another tab of this browser stored it, merged into this one.
  bookStored: (state, { book }) => withBook(state, bookOf(book)),
  // The class's scores across the gradebook's assignments, as CSV.
  bookCsvAsked: (state) => {
    const entries = Object.values(state.gradebook).map((e) => ({ assignment: assignmentOf(e), codes: e.codes, rule: e.rule }));
    return entries.length === 0 ? [state, []] : [state, [{ saveBook: { entries, language: state.language, name: 'gradebook.csv' } }]];
  },
};
