// The print's one owner: what a print holds is prepared here on beforeprint,
// from what the page has handed over (the run shown, the mode, the exercise,
// a class set asked), and undone on afterprint. In practice a print is a
// worksheet of the run shown, or the class set asked; otherwise it is the page
// itself, with every printout marked, every stage shown, and the printouts
// wider than the paper in blocks of columns (paper.js). Each view draws its
// own part from its own model; none reads another's page.
import * as pane from './pane.js';
import * as stages from './stages.js';
import * as worksheet from './worksheet.js';
import { practisable } from '../logic/session.js';

let handed = null;    // { model, practice, exercise }, as the page last handed them
let classSet = null;  // the class set asked, drawn until its print is done

// Keeps what a print of the run shown needs: the model, whether the page is in
// practice, the exercise that its link made (or null), and whether an
// assignment locks it (its worksheet is then printed without the key).
export function render(model, { practice, exercise, locked = false }) {
  handed = { model, practice, exercise: exercise ?? null, locked };
}

// Draws a class set of worksheets, as the exercise form asked, and prints it.
export function printClassSet(asked) {
  classSet = asked;
  worksheet.buildClassSet(asked);
  print();
}

// Draws an assignment's sheets and keys, one per student, as the teacher's
// results view asked ({ sheets }, worksheet.buildAssignmentSet), and prints them.
export function printAssignmentSet(asked) {
  classSet = asked;
  worksheet.buildAssignmentSet(asked);
  print();
}

function prepare() {
  pane.unprint();
  stages.unprint();
  if (classSet) return;
  if (handed && handed.practice && practisable(handed.model)) {
    worksheet.build([{ model: handed.model, exercise: handed.exercise }], [], { parts: handed.locked ? 'sheets' : 'all' });
    return;
  }
  worksheet.clear();
  pane.print();
  stages.print();
}

function undo() {
  classSet = null;
  worksheet.clear();
  pane.unprint();
  stages.unprint();
}

addEventListener('beforeprint', prepare);
addEventListener('afterprint', undo);
