// Worksheets and prints, a part of the page (state/parts.js): what a print
// holds of worksheets (the state's printing, state/printing.js): a class set,
// an assignment's sheets and keys, or, the browser's own print in practice, a
// worksheet of the run shown; or none.
import * as worksheet from '../../views/worksheet.js';
import { printedLink, base } from '../draw.js';
import { keySheets } from '../../logic/assignments/assignment.js';
import { permissions } from '../../logic/assignments/permissions.js';
import { linkState } from '../../state.js';

// The worksheets of the print that the slice holds: { printing }, and for a
// worksheet of the run shown its model, its exercise (or null), whether its
// key may be printed, the link it leads to (a locked page's: the student's
// own; null: the run's), and the student whose page is locked (or null),
// whose name and assignment its sheet carries.
const sheets = {
  render({ printing, model, exercise, keys, link, student }) {
    if (printing?.classSet) worksheet.buildClassSet(printing.classSet);
    else if (printing?.keys) {
      const { assignment: a, read, parts, twoSided } = printing.keys;
      worksheet.buildAssignmentSet({ sheets: keySheets(a, read, base()), a, parts, twoSided });
    } else if (printing?.sheet) worksheet.build([{ model, exercise, link, ...worksheet.ownSheet(student) }], [], { parts: keys ? 'all' : 'sheets' });
    else worksheet.clear();
  },
};

export const views = [
  [sheets, (s) => (s.printing?.sheet
    ? { printing: s.printing, model: s.model, exercise: linkState(s).exercise, keys: permissions(s.student).keys, link: printedLink(s.student),
        student: permissions(s.student).locked ? s.student : null }
    : { printing: s.printing }), 'now'],
];
