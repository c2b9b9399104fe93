// An entry's marks, the one rule for every view that marks a printout (the
// pane, the stages' tables, a print), and a printout's rows as the pane draws
// them: text, with its marked entries apart.
import { residue } from './model.js';

const isChangedAlone = (found) => found.length === 1 && found[0] === 'changed';

// The marks of entry r, c (0-based) of stage k's printout, in this order:
// 'changed', printed otherwise than in the printout of the same shape before
// it; 'pivot', the framed pivot of an elimination; 'residue', printed as a
// finite nonzero number that is exactly 0 (known once the exact values have come).
export function marks(m, k, r, c) {
  const stage = m.stages[k];
  const found = [];
  if (stage.changed[r][c]) found.push('changed');
  if (stage.pivot && stage.pivot.r === r && stage.pivot.c === c) found.push('pivot');
  if (residue(m, k, r, c)) found.push('residue');
  return found;
}

// Stage k's rows as printed ("%g\t" a column, or "x1=3" a line), in pieces:
// plain text, and { text, marks } for marked text. Entries marked 'changed'
// alone that stand side by side in a row are one piece, the tabs between them
// included: bold and colour draw nothing on a tab, and an order-10 printout
// then takes some 20 pieces where it had 150. A pivot or a residue, framed or
// underlined, is a piece of its own entry alone.
export function markedText(m, k) {
  const stage = m.stages[k];
  const pieces = [];
  let text = '';    // plain text since the last marked piece
  let run = null;   // the piece of changed entries that the next may join
  stage.rows.forEach((row, r) => {
    row.forEach((entry, c) => {
      if (stage.unknowns) text += `x${r + 1}=`;
      const after = stage.unknowns ? '' : '\t';
      const found = marks(m, k, r, c);
      if (found.length === 0) {
        text += entry + after;
        run = null;
      } else if (run && isChangedAlone(found)) {
        run.text += text + entry;
        text = after;
      } else {
        if (text !== '') pieces.push(text);
        const piece = { text: entry, marks: found };
        pieces.push(piece);
        run = isChangedAlone(found) ? piece : null;
        text = after;
      }
    });
    text += '\n';
    run = null;
  });
  if (text !== '') pieces.push(text);
  return pieces;
}
