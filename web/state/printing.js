// The state's handlers for a print while it is made (state.printing): what
// it holds, which the views draw, each its own part of it, before the
// browser prints, and undo once it has. A print that the page asks for (the
// effect { print }) holds what was asked: a class set of worksheets ({
// classSet }), an assignment's sheets and keys ({ keys }), the class's page
// of names ({ names }) or the results table ({ results }); the browser
// prints it at once ({ printNow }), or, where its parts draw it in slices
// ({ sheets } of worksheets, by the print part; { cards } of names with
// their links' QR codes, by the teacher's: some 500 sheets of a class's set
// of problems, an own-way key of a long matrix), once they have, said where
// that takes a while. The browser's own print holds, in practice, a
// worksheet of the run shown ({ sheet: true }), without its key while an
// assignment locks the page; in watching, the page itself ({ page: true }):
// every printout marked, every stage shown, the printouts wider than the
// paper in blocks of columns.
import { practisable } from '../logic/practice/session.js';

// What a print asked (asked) takes first: its parts drawn in slices (cards,
// sheets), or none, and the browser prints it at once.
const drawing = (asked) => (asked.names ? { cards: asked } : asked.classSet || asked.keys ? { sheets: asked } : { printNow: true });

// What the browser's own print of the page holds in state.
const ownPrint = (state) => (state.mode === 'practice' && state.model && practisable(state.model) ? { sheet: true } : { page: true });

export const handlers = {
  // A print begins: the one asked (asked), or the browser's own; a print
  // asked and under way stays what it is.
  printing: (state, { asked = null }) => {
    if (asked !== null && typeof asked === 'object') return [{ ...state, printing: asked }, [drawing(asked)]];
    return state.printing ? [state, []] : [{ ...state, printing: ownPrint(state) }, []];
  },
  // What the print asked (printing) holds drawn: done, the browser prints
  // it, said where that took a while (slow) or left students out (cut: {
  // students, of }); not yet, the print said to be made.
  sheetsDrawn: (state, { printing, done, slow, cut }) => {
    if (!printing || state.printing !== printing) return [state, []];
    if (!done) return [state, [{ announce: [{ id: 'sheet.making' }] }]];
    const said = [...(slow ? [{ id: 'sheet.made' }] : []), ...(cut ? [{ id: 'sheet.cut', values: cut }] : [])];
    return [state, [...(said.length > 0 ? [{ announce: said }] : []), { printNow: true }]];
  },
  // The print is done: the page as the screen shows it again.
  printed: (state) => (state.printing ? [{ ...state, printing: null }, []] : [state, []]),
};
