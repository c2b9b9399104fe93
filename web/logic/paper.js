// What a print puts where, worked out without the page: a printout wider than
// the paper (an order-10 inverse's 20 columns, say) in blocks of columns that
// fit a line, one under the other, each row labelled R1 .. Rn and each column
// numbered, in the transcript and in the stages' tables alike.

// Characters of a printed line at the print's 8 pt: an A4 or a Letter page's
// width between margins of 15 mm, less a stage's frame.
export const lineWidth = 104;
const gap = 2;  // characters between two columns

// Splits columns of the given widths (characters, gap included) into runs
// [from, to), each at most width wide after a label of labelWidth characters:
// as few as can be, of as even a count of columns as still fit. A column wider
// than that alone still gets a run of its own.
export function blocks(widths, width, labelWidth) {
  const greedy = [];
  let from = 0;
  let used = labelWidth;
  widths.forEach((w, c) => {
    if (c > from && used + w > width) {
      greedy.push([from, c]);
      from = c;
      used = labelWidth;
    }
    used += w;
  });
  if (widths.length > 0) greedy.push([from, widths.length]);
  const size = Math.ceil(widths.length / Math.max(1, greedy.length));
  const even = greedy.map((_, k) => [k * size, Math.min(widths.length, (k + 1) * size)]).filter(([a, b]) => a < b);
  const fits = even.every(([a, b]) => widths.slice(a, b).reduce((sum, w) => sum + w, labelWidth) <= width);
  return fits ? even : greedy;
}

const pad = (text, width) => ' '.repeat(Math.max(0, width - text.length));
const columnCount = (rows) => Math.max(0, ...rows.map((row) => row.length));

// A transcript printout's rows (its printed entries) in blocks, as lines of
// text right-aligned in columns under a line of column numbers: each line a
// list of pieces, text or an entry { r, c, text } for the pane to mark. Null
// where the rows fit the line as they print, a tab stop of tab characters an entry.
export function transcriptBlocks(rows, tab, width = lineWidth) {
  const columns = columnCount(rows);
  if (columns < 2 || columns * tab <= width) return null;
  const widths = Array.from({ length: columns }, (_, c) =>
    gap + Math.max(String(c + 1).length, ...rows.map((row) => row[c]?.length ?? 0)));
  const label = `R${rows.length}`.length;
  const lines = [];
  for (const [from, to] of blocks(widths, width, label)) {
    let numbers = ' '.repeat(label);
    for (let c = from; c < to; c++) numbers += pad(String(c + 1), widths[c]) + (c + 1);
    lines.push([numbers]);
    rows.forEach((row, r) => {
      const line = [`R${r + 1}` + pad(`R${r + 1}`, label)];
      for (let c = from; c < to; c++) {
        const text = row[c] ?? '';
        line.push(pad(text, widths[c]), { r, c, text });
      }
      lines.push(line);
    });
  }
  return lines;
}

// A stage's table in blocks: the runs [from, to) of its printout's columns,
// each printed as a table of its own with the row headers; null where the
// table fits the line. head is its headers (forms.js), rows its printed entries.
export function tableBlocks(head, rows, width = lineWidth) {
  const columns = columnCount(rows);
  const widths = Array.from({ length: columns }, (_, c) =>
    gap + Math.max(head.columns[c]?.shown.length ?? 0, ...rows.map((row) => row[c]?.length ?? 0)));
  const label = gap + Math.max(0, ...head.rows.map((h) => h.shown.length));
  if (label + widths.reduce((sum, w) => sum + w, 0) <= width) return null;
  return blocks(widths, width, label);
}
