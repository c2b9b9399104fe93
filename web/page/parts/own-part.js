// "Your own way", a part of the page (state/parts.js): the learner's own row
// operations on a matrix of their own, its section, its view, and its
// handlers (state/own.js, which the state reads), loaded when the mode is
// first asked for or a link to such work opens.
import '../../views/own/markup.js';  // first: the section, before the view that draws into it
import * as own from '../../views/own/reducer.js';
import * as readOff from '../../views/own/read-off.js';
import { stored, store } from '../storage.js';
import { isWaiting } from '../../logic/run/model.js';
import { assigned } from '../../state/own.js';
import { inPieces } from '../../views/frames.js';
import { readingOwnLink } from '../../logic/own/link.js';
import { applyingChecked, applyingAll, checking } from '../../logic/own/arithmetic.js';

// What the learner's work is kept under in this browser.
const storeKey = 'own.work';

// The mode that the address was last drawn for (below).
let drawnMode = null;

// The work's link (fragment), stored after the next paint, once for a burst
// of operations, and written to the address while the mode is still drawn;
// and what this tab found or stored last, so that work another tab stored
// since, which this tab's now replaces, is said (ownReplaced).
let keeping = null;
let keptHere = null;
export const effects = {
  // A link or the work kept read in slices between frames, however long its numbers.
  ownRead: (page, { ownRead: { hash, link } }) => inPieces(readingOwnLink(hash), (read) => page.dispatch({ type: 'ownRead', read, link })),
  // An operation on long numbers, the check of a row written after one, or the way back or on through the history, in slices.
  ownWork: (page, { ownWork: job }) => inPieces(job.path ? applyingAll(job.matrix, job.path)
    : job.texts ? checking(job.matrix, job.op, job.op.type === 'swap' ? job.op.rows[0] : job.op.row, job.texts)
      : applyingChecked(job.matrix, job.op), (result) => page.dispatch({ type: 'ownWorked', job, result })),
  ownKeep: (page, { ownKeep: fragment }) => {
    if (keeping === null) requestAnimationFrame(() => setTimeout(() => {
      if (drawnMode === 'own') history.replaceState(null, '', keeping);
      const there = stored(storeKey);
      if (there !== null && there !== keptHere) page.dispatch({ type: 'ownReplaced' });
      store(storeKey, keeping);
      [keptHere, keeping] = [keeping, null];
    }, 0));
    keeping = fragment;
  },
};

// Left, the mode's address no longer links to its work, but to the program shown.
const address = {
  render: ({ mode, program }) => {
    if (drawnMode === 'own' && mode !== 'own' && /^#ownway/.test(location.hash)) history.replaceState(null, '', '#' + program);
    drawnMode = mode;
  },
};

export const views = [
  [own, (s) => ({ mode: s.mode, own: s.own, run: Boolean(s.model && !isWaiting(s.model.run)), assigned: assigned(s), language: s.language }), 'now'],
  [readOff, (s) => ({ own: s.own, assigned: assigned(s), language: s.language }), 'now'],
  [address, (s) => ({ mode: s.mode, program: s.model?.run.program ?? 'gjinverse' }), 'now'],
];

// The view sends what the learner does; the work that this browser kept comes first.
export function start(page) {
  own.connect(page.dispatch);
  readOff.connect(page.dispatch);
  keptHere = stored(storeKey);
  page.dispatch({ type: 'ownStored', text: keptHere });
}
