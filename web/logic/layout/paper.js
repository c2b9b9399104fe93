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
// table fits the line. head is its headers (copies.js), rows its printed entries.
export function tableBlocks(head, rows, width = lineWidth) {
  const columns = columnCount(rows);
  const widths = Array.from({ length: columns }, (_, c) =>
    gap + Math.max(head.columns[c]?.shown.length ?? 0, ...rows.map((row) => row[c]?.length ?? 0)));
  const label = gap + Math.max(0, ...head.rows.map((h) => h.shown.length));
  if (label + widths.reduce((sum, w) => sum + w, 0) <= width) return null;
  return blocks(widths, width, label);
}

// ---- Worksheets on A4 ----
// A worksheet is laid out here page by page, so that every page can carry the
// sheet's id and name line and each student's sheet can have the same even
// number of pages: heights in millimetres, each a little more than the print
// style gives it (page.css, the worksheet's rules), so that a page laid out
// here never spills onto another.

// The room on an A4 page inside the print's margins of 12 mm, upright or sideways.
export const area = (landscape) => (landscape ? { width: 273, height: 186 } : { width: 186, height: 273 });
const sheetSizes = {
  column: 28,       // a frame's column, room for -0.333333 by hand
  label: 9,         // a frame's row labels
  frameHead: 5,     // a frame's line of column names
  frameRow: 8.5,    // a frame's row
  blankWidth: 60,   // a decision's label and box, side by side
  blankLine: 11,    // a line of decisions
  heading: 9,       // a stage's name, and the space above it
  ask: 15,          // its question, three lines at most
  working: 17,      // the room for working under each stage
  strip: 14,        // the id and name line on top of every page
  top: 62,          // the first page's title, id, link or QR code, name line and the sentence before the matrix
};
// Sideways, for 7 to 10 columns, the rows are lower and the room for working
// less, so that two stages of an order-5 inverse fit a page; its questions
// take two of its longer lines (worksheet-landscape.css).
const sidewaysSizes = { ...sheetSizes, frameRow: 7.5, working: 12, ask: 10 };
const sizesFor = (landscape) => (landscape ? sidewaysSizes : sheetSizes);

// The frame of a printout of the given columns: whether the page is turned
// sideways for it, and each column's width, narrower than 28 mm only where
// the columns fit no other way (26 mm at 10 columns and the bar).
function frameFit(columns) {
  const room = (landscape) => area(landscape).width - sheetSizes.label;
  const landscape = columns * sheetSizes.column > room(false);
  return { landscape, column: Math.min(sheetSizes.column, Math.floor(room(landscape) / columns)) };
}

// The height of a stage's part of a sheet, upright or sideways: { rows,
// decisions, frame } with frame false where the stage has no frame (the unknowns' stage).
function stageHeight({ rows, decisions, frame }, landscape) {
  const s = sizesFor(landscape);
  const width = area(landscape).width;
  const perLine = Math.max(1, Math.floor(width / s.blankWidth));
  return s.heading + s.ask + Math.ceil(decisions / perLine) * s.blankLine +
    (frame ? s.frameHead + rows * s.frameRow : 0) + s.working;
}

// A student's sheet as pages: { landscape, column, pages }, pages a list of the
// indexes of the stages on each page (the first page opens with the matrix of
// n rows), padded with empty pages (for working) to an even count when
// twoSided. A stage taller than a page still gets one of its own. The last
// page takes stages from the one before while it has two fewer and they fit,
// so that the last stages are worked together, not the last alone.
export function sheetPages({ n, columns, stages }, twoSided) {
  const { landscape, column } = frameFit(columns);
  const s = sizesFor(landscape);
  const { height } = area(landscape);
  const pages = [[]];
  let used = s.top + s.frameHead + n * s.frameRow;
  stages.forEach((stage, k) => {
    const h = stageHeight(stage, landscape);
    if (used + h > height && pages.at(-1).length + (pages.length === 1 ? 1 : 0) > 0) {
      pages.push([]);
      used = s.strip;
    }
    pages.at(-1).push(k);
    used += h;
  });
  const [before, last] = [pages.at(-2), pages.at(-1)];
  const room = height - s.strip - last.reduce((sum, k) => sum + stageHeight(stages[k], landscape), 0);
  for (let free = room; pages.length > 1 && last.length + 1 < before.length && stageHeight(stages[before.at(-1)], landscape) <= free;) {
    free -= stageHeight(stages[before.at(-1)], landscape);
    last.unshift(before.pop());
  }
  if (twoSided && pages.length % 2 === 1) pages.push([]);
  return { landscape, column, pages };
}

// A class set's sheets as pages, as sheetPages lays each out: all the same
// way up, for the widest printout of any, and each padded with pages for
// working to as many as the longest has, so that no two students' sheets
// share a sheet of paper. { landscape, column, pages: per sheet its pages }.
export function sheetsPages(shapes, twoSided) {
  const columns = Math.max(...shapes.map((shape) => shape.columns));
  const each = shapes.map((shape) => sheetPages({ ...shape, columns }, twoSided));
  const count = Math.max(...each.map((sheet) => sheet.pages.length));
  const pad = (pages) => [...pages, ...Array.from({ length: count - pages.length }, () => [])];
  return { ...frameFit(columns), pages: each.map((sheet) => pad(sheet.pages)) };
}

// The width of a line of text in characters of a Latin font: a Hangul
// syllable or another character of East Asian width counts as two.
const wide = /[\u1100-\u115f\u2e80-\ua4cf\uac00-\ud7a3\uf900-\ufaff\uff00-\uff60]/u;
export const textWidth = (text) => [...text].reduce((sum, ch) => sum + (wide.test(ch) ? 2 : 1), 0);

// ---- Answer keys, several to a page ----
const keySizes = {
  char: 1.3,        // a character of an entry at the keys' 6 pt
  captionChar: 1.15,  // of a caption, on average
  cellPad: 1.2,
  label: 4,
  line: 3,          // a line of a key's frame (2.7 mm and its border) or caption
  gap: 3,           // between two frames
  head: 5,          // the key's id line
  keyGap: 3,
};

// A key's frame width: row labels, and each column as wide as its widest entry (characters).
const keyFrameWidth = (widths) => widths.reduce((sum, w) => sum + w * keySizes.char + keySizes.cellPad, keySizes.label);

// The height of a key on a page of the given width: { stages: [{ rows, widths,
// caption }] }, widths the characters of each column's widest entry, caption
// those of the line over its frame (the stage's name and the answers of its
// decisions), rows 0 where the stage has no frame of its own; the frames side
// by side, with no line of column names.
export function keyHeight({ stages }, width) {
  const k = keySizes;
  const frame = Math.max(...stages.map((s) => keyFrameWidth(s.widths)));
  const perLine = Math.max(1, Math.floor((width + k.gap) / (frame + k.gap)));
  const captionLines = (s) => Math.ceil((s.caption * k.captionChar) / frame);
  let height = k.head + k.keyGap;
  for (let at = 0; at < stages.length; at += perLine) {
    const line = stages.slice(at, at + perLine);
    height += Math.max(...line.map((s) => (captionLines(s) + s.rows) * k.line)) + k.gap;
  }
  return { height, frame, perLine };
}

// Keys packed onto pages, in order, none split: { landscape, pages }, pages a
// list of the indexes of the keys on each. Alone, keys take whichever way up
// gives fewer pages; after sheets, the sheets' way.
export function keyPages(keys, landscape = null) {
  const pack = (sideways) => {
    const { width, height } = area(sideways);
    const pages = [];
    let used = Infinity;
    keys.forEach((key, i) => {
      const h = keyHeight(key, width).height;
      if (used + h > height) {
        pages.push([]);
        used = 0;
      }
      pages.at(-1).push(i);
      used += h;
    });
    return { landscape: sideways, pages };
  };
  if (landscape !== null) return pack(landscape);
  const [upright, sideways] = [pack(false), pack(true)];
  return sideways.pages.length < upright.pages.length ? sideways : upright;
}
