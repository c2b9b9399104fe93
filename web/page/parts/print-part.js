// Worksheets and prints, a part of the page (state/parts.js): what a print
// holds of worksheets (the state's printing, state/printing.js): a class set
// or an assignment's sheets and keys, drawn in slices as its effect asks; or,
// the browser's own print in practice, a worksheet of the run shown; or none.
import * as worksheet from '../../views/worksheet.js';
import { printedLink, base } from '../draw.js';
import { permissions } from '../../logic/assignments/permissions.js';
import { linkState } from '../../state.js';

// The worksheet of the run shown, or none, as the slice holds: { printing },
// and for a worksheet of the run shown its model, its exercise (or null),
// whether its key may be printed, the link it leads to (a locked page's: the
// student's own; null: the run's), and the student whose page is locked (or
// null), whose name and assignment its sheet carries. A print's class set
// or sheets and keys are its effect's to draw.
const sheets = {
  render({ printing, model, exercise, keys, link, student }) {
    if (printing?.sheet) worksheet.build([{ model, exercise, link, ...worksheet.ownSheet(student) }], [], { parts: keys ? 'all' : 'sheets' });
    else if (!printing?.classSet && !printing?.keys) worksheet.clear();
  },
};

export const views = [
  [sheets, (s) => (s.printing?.sheet
    ? { printing: s.printing, model: s.model, exercise: linkState(s).exercise, keys: permissions(s.student).keys, link: printedLink(s.student),
        student: permissions(s.student).locked ? s.student : null }
    : { printing: s.printing }), 'now'],
];

// The worksheets of a print asked (printing: a class set, or an assignment's
// sheets and keys), drawn in slices; what came of them, as they go and once
// done, comes back as 'sheetsDrawn'.
export const effects = {
  sheets: (page, { sheets: printing }) => worksheet.draw(printing, base(), (drawn) => page.dispatch({ type: 'sheetsDrawn', printing, ...drawn })),
};
