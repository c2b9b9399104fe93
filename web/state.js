// The page's state as one value, and the one function that changes it:
// update(state, message) gives the next state and the effects that the page
// (page/effects.js) is to carry out, [state, effects]. update is pure and
// total: it runs no program, reads no clock, storage or randomness (what it
// needs of them comes in the message), never changes the state it is given
// (a part that does not change keeps its reference, which the views compare),
// and gives [state, []] for a message that makes no sense in a state. Its
// handlers stand in state/, by concern: learning.js (the run, watching and
// practising it), studying.js (a student's assignment), printing.js (what a
// print holds), and two that come with parts of the page: teaching.js (the
// teacher's side) and own.js (the learner's own way). state/parts.js names
// each part's message types, which wait for it while the state has it absent;
// its handlers are read only once it is there.
//
// The state:
//   programs   'loading', 'loaded' or 'failed'
//   early      before the programs: { program, entries, ended }, what is typed
//              meanwhile, handed to them once they have loaded; else null
//   entering   once they are there, the entries typed at the run shown and not
//              yet run: { run, entries: [[entry, ended]] }; else null
//   model      the model of the run shown (model.js), or null
//   mode       'watch', 'practice' or 'own' (the learner's own way)
//   link       what the link that opened the run asked of it: { program, input,
//              exercise, asked } (share.parse), input null while the matrix of
//              its exercise (or of a student's assignment) is being made; or null
//   problem    what was wrong with the link opened: { id, program }, or null
//   teacher    the assignment whose results view a teacher's link opened, or null
//   results    the codes read in that view and their table (results.js):
//              { codes, rule, table, opened, detail, page }, codes the text
//              pasted (one a line once graded), table null until graded
//              (partial on the way), opened the name of the row opened (or
//              null), detail its answers ({ code, stages }: results.detailing)
//              once worked out, else null, page the page of its rows shown
//              (gradebook.rowsPerPage a page), fresh whether this browser's
//              gradebook did not know the assignment (its names are the
//              link's, whatever another browser added since); or null
//   gradebook  the teacher's assignments kept in this browser (gradebook.js)
//   bookUnsaved whether the browser refused to keep the gradebook (storage full or off)
//   made       the assignment made with the form: { assignment }, { invalid:
//              true } when the form's values cannot be linked, { question:
//              { repeats, past }, pending, dropped } while a name given twice or a
//              due date past waits for the teacher's yes (dropped: the options
//              left out, as possible() takes them); or null. A made
//              one's packageProblem: why its last LMS package was refused (a text's id)
//   draft      a set being made with the assignment form (state/drafting.js),
//              or null
//   assignTouched whether the teacher changed the assignment form (its program
//              then no longer follows the run shown)
//   student    the assignment that a student's link opened, and who works it
//              (logic/assignments/work.js), or null; its permissions
//              (permissions.js) refuse what the assignment locks
//   lms        inside an LMS, what it answered: { outcome, version, name,
//              suspend, unread, writer, started, taken, retries, retrying },
//              outcome 'connected' (with the name and saved work that it
//              gave), 'refused' (it started no session) or 'ended' (the
//              session is over: the student reopens the activity from the
//              course); unread, 'all' or 'part' where its saved work could not
//              be read whole; writer, what it was told (scorm.js), from the
//              session's start (ms, started); taken, whether it took the work
//              last told (null before any); retries, the refusals in a row,
//              and whether a retry waits; null outside an LMS
//   conflict   what the link asks ({ from, fill }) when this browser kept other
//              work of the same exercise, which goes on until the learner
//              chooses; else null
//   picked     whether the learner chose the stage to start from
//   unmet      whether the exercise opened could not meet every option asked
//   session    the practice of the run shown (session.js), or null
//   level      how many exercises this browser has finished (practice starts
//              one stage earlier for each)
//   past       the record kept of the run's exercise (session.tally), or null
//   saved      the progress that this browser kept of the run's exercise, from
//              which practice starts once it shows the run
//   exactShown whether practice shows the printouts before a stage exact
//   confirming the start-over that waits for the learner's yes because it would
//              erase the exercise's answers: 'restart' or 'restartPractice', or null
//   seedTyped  whether the exercise form's seed was typed into since the
//              exercise shown changed (a class set then takes that seed)
//   stage      the stage that the stages section shows, { k, all }
//   said       the parts that the status line was last asked to say (announce),
//              said again in another language; null once another run is shown
//   told       what the status line tells of the run shown, as it is shown: {
//              session, from, to, briefly, waiting }, the stages from .. to-1
//              new (to: those of its session told of by then), said briefly
//              unless a locked page names no stage, and whether the program
//              waits; null before a run
//   printing   what a print holds while it is made (printing.js), or null
//   parts      the parts of the page not loaded (state/parts.js): { absent,
//              loading, waiting }, the names of those absent and of those
//              being loaded, and the messages that wait for them, in order;
//              none absent in a state made by initial(): the page names them
//   own        the learner's own way (state/own.js), once first asked for; else null
//   language   'ko' or 'en'
//
// The effects (one key each; page/effects.js carries them out):
//   { open: { program, input, ended, keepsField } }  a program afresh, typed input
//   { openLink: { keepsField, lms } }    what the address names, followed (keepsField:
//                                        the input field left as it is; lms, the state's)
//   { enter: run }                       the entries typed at run (state.entering) run, those
//                                        typed meanwhile too, and the last run shown; or
//                                        { type: 'enteredNone' } where none ran
//   { make: exercise }                   an exercise's matrix made (exercises.make);
//                                        its input comes back as { type: 'made', input, met }
//   { address } / { visit }              the address written without a visit / a fragment visited
//   { store: key, value } / { forget: key }  what practice keeps, kept and dropped
//   { storeWork: { key, value, student } }  the work of student (the state's as it asked) kept
//                                        under key, unless the work there is newer (work.newer),
//                                        which comes back as { type: 'workStored', kept };
//                                        { type: 'workSaved', saved } comes back, saved
//                                        false where the browser refuses it
//   { report: { key, work, pairs, commit, handIn, closing } }  the student's work kept in
//                                        memory under key, and the pairs told to the LMS,
//                                        then a commit (page/lms.js: a call a task; closing,
//                                        at once, the session ended after); { type:
//                                        'reported', failed, handIn } comes back
//   { later: message, ms }               message sent, with its time (now), in ms
//   { grade: { assignment, codes, rule, say } }  the results table worked out in slices;
//                                        { type: 'graded', assignment, codes, rule, table, say }
//                                        comes back, on the way and at the end
//   { detail: { assignment, code, at } }     a row's answers (of a set's, of its problem at) worked out; { type:
//                                        'detailed', assignment, code, details } comes back
//   { warm: assignment }                 its students' runs made in slices while its results
//                                        view is open, ready for the first table
//   { keepBook: book }                   the gradebook's entries merged into what storage keeps;
//                                        { type: 'bookKept', kept } comes back
//   { saveBook: { entries, language, name } }  the class's scores across assignments as CSV
//   { package: { assignment, version, pass, file } }  the assignment's package for an LMS
//                                        made of the web zip file and saved; { type:
//                                        'packaged', assignment, name } or { ..., problem } comes back
//   { focus: target }                    the focus moved, once the views have drawn: a
//                                        question { question: [k, key], choice, select },
//                                        { stage: k }, { summary: true }, { cleared: true },
//                                        or { element: id, top, shown }
//   { announce: parts }                  the status line says parts (logic/practice/sayings.js)
//   { after: message, run }              message sent after the next paint, if run is
//                                        still shown
//   { print: asked }                     a print: { classSet }, { keys: { assignment,
//                                        read, parts, twoSided } }, { names: assignment } or { results: true }
//   { sheets: asked } / { cards: asked }  a print's worksheets ({ classSet } or { keys }) / page
//                                        of names ({ names }) drawn in slices; { type: 'sheetsDrawn',
//                                        printing, done, slow, cut } comes back after a first
//                                        slice and at the end
//   { printNow: true }                   the browser's print of what the state's printing holds
//   { save: { content, name, type } }    a download
//   { saveTable: { table, language, name } }  the results table downloaded as CSV
//   { copy: { content, done } }          the clipboard; { type: 'copied', done | error } comes back
//   { load: names }                      the parts of those names loaded; { type: 'partLoaded',
//                                        part } or { type: 'partFailed', part } comes back for each
import * as learning from './state/learning.js';
import * as studying from './state/studying.js';
import * as printing from './state/printing.js';
import { parts as pageParts, handledBy, carriedBy } from './state/parts.js';
import { permissions } from './logic/assignments/permissions.js';
import { isWaiting } from './logic/run/model.js';
// The handlers that parts bring, imported by name: read only once their part
// is there (page/loader.js lends them then), as their messages wait for it.
import { handlers as teaching } from './state/teaching.js';
import { handlers as owning } from './state/own.js';

export { linkState, programOf } from './state/learning.js';
export { progressKeyOf, isStudents } from './state/studying.js';

export const initial = (language = 'en') => ({
  programs: 'loading', early: null, entering: null, model: null, mode: 'watch', link: null, problem: null, teacher: null, results: null, gradebook: {}, bookUnsaved: false, made: null, draft: null, assignTouched: false,
  student: null, lms: null, conflict: null, picked: false, unmet: false, session: null, level: 0, past: null, saved: null,
  exactShown: false, confirming: null, seedTyped: false, stage: { k: 0, all: false }, said: null, told: null, printing: null,
  parts: { absent: [], loading: [], waiting: [] }, own: null, language,
});

// The parts that the page loads when first needed, by name: those that some
// message waits for (state/parts.js), which the page names absent as it starts.
export const partNames = pageParts.filter((part) => part.handlers || part.effects || part.needs).map((part) => part.name);

// The handlers of each part that brings some (the module of state/ that it names).
const brought = { 'state/teaching.js': () => teaching, 'state/own.js': () => owning };
const broughtBy = Object.fromEntries(pageParts.filter((part) => part.handlers).map((part) =>
  [part.name, brought[part.modules.find((module) => Object.hasOwn(brought, module))]]));

// Whether message waits for part (an entry of state/parts.js), when it is
// absent: the part handles its type, its needs take it, or it names the part.
function needs(part, message, state) {
  const rule = part.needs && Object.hasOwn(part.needs, message.type) ? part.needs[message.type] : false;
  return handledBy.get(message.type) === part.name || rule === true || (typeof rule === 'function' && rule(message, state)) ||
    (message.type === 'part' && message.part === part.name);
}

// The handler of message type, or undefined: the state's own, or that of
// the part that handles it, which is there by then.
const handlerOf = (type) => (Object.hasOwn(handlers, type) ? handlers[type] : handledBy.has(type) ? broughtBy[handledBy.get(type)]()[type] : undefined);

// The answer of message's handler on state, unless the student's permissions
// refuse it; a message of a type that update does not take is a mistake of
// the page's, and throws.
function answer(state, message) {
  const handler = handlerOf(message.type);
  if (!handler) throw new Error(`no message "${message.type}"`);
  return studying.forbidden(state, message) ? [state, []] : handler(state, message);
}

// The parts absent that message waits for: those it needs, else those that
// carry an effect that its answer asks for (absent after it: a part loaded
// carries those of the messages that waited for it); { wanted, answer },
// answer the message's once it waits for none.
function waitsFor(state, message) {
  const absent = pageParts.filter((part) => state.parts.absent.includes(part.name));
  const needed = absent.filter((part) => needs(part, message, state)).map((part) => part.name);
  if (needed.length > 0) return { wanted: needed };
  const answered = answer(state, message);
  const kinds = answered[1].flatMap(Object.keys).filter((kind) => answered[0].parts.absent.includes(carriedBy.get(kind)));
  return { wanted: [...new Set(kinds.map((kind) => carriedBy.get(kind)))], answer: answered };
}

const without = (list, name) => list.filter((item) => item !== name);

// The messages that waited, handled again in order once a part has come:
// each either handled now or waiting again for the parts still absent.
function takeWaiting(state) {
  let next = { ...state, parts: { ...state.parts, waiting: [] } };
  const effects = [];
  for (const message of state.parts.waiting) {
    const [after, more] = handle(next, message);
    next = after;
    effects.push(...more);
  }
  return [next, effects];
}

const parted = {
  // A part asked for by name ({ part }): the message waits for it, if it is absent, and then does nothing.
  part: (state) => [state, []],
  // The part loaded: its messages are handled.
  partLoaded: (state, { part }) => {
    const { absent, loading } = state.parts;
    return takeWaiting({ ...state, parts: { ...state.parts, absent: without(absent, part), loading: without(loading, part) } });
  },
  // The part could not be loaded: the messages that waited for it are let
  // go, the status line says so in the page's language (the rest of the page
  // works, its switch too), and the next message that needs it asks for it again.
  partFailed: (state, { part }) => {
    const { absent, loading, waiting } = state.parts;
    if (!loading.includes(part)) return [state, []];
    const parts = { absent, loading: without(loading, part), waiting: waiting.filter((message) => !waitsFor(state, message).wanted.includes(part)) };
    return [{ ...state, parts }, [{ announce: [{ id: 'part.failed', values: { part: { id: `part.${part}` } } }] }]];
  },
};

// Every message that update takes, by its type, but those of the parts: (state, message) => [state, effects].
export const handlers = { ...learning.handlers, ...studying.handlers, ...printing.handlers, ...parted };

// The type of every message that update takes, the parts' too.
export const messageTypes = [...Object.keys(handlers), ...handledBy.keys()];

// What the status line tells of state's run, new since told (what it told
// of the run shown before): the stages that the run added to its session.
function telling(state, told) {
  const { run, stages } = state.model;
  const from = told?.session === run.session ? told.to : 0;
  return { session: run.session, from, to: Math.max(from, stages.length), briefly: permissions(state.student).watch, waiting: isWaiting(run) };
}

// The effects that follow any message from what it changed: a choice between
// the link and the work kept is said as it appears, and a seed typed no longer
// counts once the exercise shown is another; what the status line is asked to
// say last is noted (said), and what it tells of a run shown anew (told).
function settled(before, [state, effects]) {
  const exercise = (s) => JSON.stringify(learning.linkState(s).exercise);
  const next = state.seedTyped && exercise(state) !== exercise(before) ? { ...state, seedTyped: false } : state;
  const { from, fill } = next.conflict ?? {};
  const all = !next.conflict || before.conflict ? effects
    : [{ announce: [{ id: 'choice.text', values: { k: from + 1, fill: { id: 'practice.fill.' + fill } } }] }, ...effects];
  const anew = next.model?.run !== before.model?.run;
  const said = all.findLast((effect) => effect.announce)?.announce ?? (anew ? null : next.said);
  const told = anew && next.model ? telling(next, next.told) : next.told;
  return [said === next.said && told === next.told ? next : { ...next, said, told }, all];
}

// The next state and the effects of message on state, but those that follow
// any message: the message waits for the parts of the page that it needs and
// that are absent, and for those that carry the effects of its answer; else
// its handler answers, unless the student's permissions refuse it.
function handle(state, message) {
  const { wanted, answer: answered } = waitsFor(state, message);
  if (wanted.length === 0) return answered;
  const { absent, loading, waiting } = state.parts;
  const asked = wanted.filter((name) => !loading.includes(name));
  return [{ ...state, parts: { absent, loading: [...loading, ...asked], waiting: [...waiting, message] } }, asked.length > 0 ? [{ load: asked }] : []];
}

// The next state and the effects of message ({ type, ... }) on state.
export function update(state, message) {
  return settled(state, handle(state, message));
}
