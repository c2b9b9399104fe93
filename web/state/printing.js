// The state's handlers for a print while it is made (state.printing): what
// it holds, which the views draw, each its own part of it, before the
// browser prints, and undo once it has. A print that the page asks for (the
// effect { print }) holds what was asked: a class set of worksheets ({
// classSet }), an assignment's sheets and keys ({ keys }), the class's page
// of names ({ names }) or the results table ({ results }). The browser's own
// print holds, in practice, a worksheet of the run shown ({ sheet: true }),
// without its key while an assignment locks the page; in watching, the page
// itself ({ page: true }): every printout marked, every stage shown, the
// printouts wider than the paper in blocks of columns.
import { practisable } from '../logic/practice/session.js';

// What the browser's own print of the page holds in state.
const ownPrint = (state) => (state.mode === 'practice' && state.model && practisable(state.model) ? { sheet: true } : { page: true });

export const handlers = {
  // A print begins: the one asked (asked), or the browser's own; a print
  // asked and under way stays what it is.
  printing: (state, { asked = null }) => {
    if (asked !== null && typeof asked === 'object') return [{ ...state, printing: asked }, []];
    return state.printing ? [state, []] : [{ ...state, printing: ownPrint(state) }, []];
  },
  // The print is done: the page as the screen shows it again.
  printed: (state) => (state.printing ? [{ ...state, printing: null }, []] : [state, []]),
};
