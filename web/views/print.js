// The print's one owner: what a print holds is prepared here on beforeprint
// and undone on afterprint. A print the page asks for (print()) is a class set
// of worksheets, an assignment's sheets and keys, the class's page of names
// with their QR codes, or the results table; each is drawn by the view that
// owns it, then printed. Otherwise, from the browser's menu, a print in
// practice is a worksheet of the run shown, without its key while an
// assignment locks the page; in watching it is the page itself, with every
// printout marked, every stage shown, and the printouts wider than the paper
// in blocks of columns (paper.js).
import * as pane from './pane.js';
import * as stages from './stages.js';
import * as worksheet from './worksheet.js';
import * as classLinks from './assignments/class-links.js';
import * as teacher from './assignments/teacher.js';
import { practisable } from '../logic/session.js';
import { keySheets } from '../logic/assignments/assignment.js';

let drawn = null;   // what a print of the page holds (the slice last drawn): { model, practice, exercise, keys, link, student }
let asked = null;   // the print asked for, drawn until it is done

// Notes what a print of the page holds: the run's model, whether the page is
// in practice, the exercise that its link made (or null), whether the print
// may hold the answer key, and the link it leads to (a locked page's: the
// student's own; null: the run's), and the student whose page is locked (or
// null), whose name and assignment its sheet carries.
export function render(slice) {
  drawn = slice;
}

// Draws the print asked ({ classSet }, { keys: { assignment, read, parts, twoSided } }, { names:
// assignment } or { results: true }), and prints it.
export function print(what) {
  asked = what;
  if (what.classSet) worksheet.buildClassSet(what.classSet);
  else if (what.keys) {
    const { assignment: a, read, parts, twoSided } = what.keys;
    worksheet.buildAssignmentSet({ sheets: keySheets(a, read, classLinks.base()), a, parts, twoSided });
  }
  else if (what.names) classLinks.printNames(what.names);
  else if (what.results) teacher.printing(true);
  window.print();
}

function prepare() {
  pane.unprint();
  stages.unprint();
  if (asked) return;
  if (drawn?.model && drawn.practice && practisable(drawn.model)) {
    worksheet.build([{ model: drawn.model, exercise: drawn.exercise, link: drawn.link, ...worksheet.ownSheet(drawn.student) }], [], { parts: drawn.keys ? 'all' : 'sheets' });
    return;
  }
  worksheet.clear();
  pane.print();
  stages.print();
}

function undo() {
  if (asked?.names) classLinks.printNames(null);
  if (asked?.results) teacher.printing(false);
  asked = null;
  worksheet.clear();
  pane.unprint();
  stages.unprint();
}

addEventListener('beforeprint', prepare);
addEventListener('afterprint', undo);
