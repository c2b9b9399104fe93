// What a print puts where (web/logic/layout/paper.js): columns split into blocks that
// fit a line, a transcript printout's lines in blocks, and an order-10 run's
// tables, every column printed once and no block wider than the paper.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import { needsBuild, programs, goldenCase } from './programs.js';
import * as paper from '../../../web/logic/layout/paper.js';
import { modelOf } from '../../../web/logic/practice/exercises.js';
import { headers } from '../../../web/logic/run/copies.js';
import { translator } from '../../../web/logic/language/translate.js';

before(programs);

test('columns split into as few blocks as fit, as even as still fit', () => {
  const cases = [
    // widths, width, label, blocks
    [[], 10, 2, []],
    [[3, 3, 3], 20, 2, [[0, 3]]],
    [[5, 5, 5, 5, 5], 14, 2, [[0, 2], [2, 4], [4, 5]]],
    [[4, 4, 4, 4, 4, 4, 4], 20, 2, [[0, 4], [4, 7]]],            // greedy 4 + 3: even as it is
    [[3, 3, 3, 3, 3, 3, 3, 3, 3], 14, 2, [[0, 3], [3, 6], [6, 9]]],  // greedy 4 + 4 + 1, evened to 3 + 3 + 3
    [[2, 2, 2, 9, 2], 12, 2, [[0, 3], [3, 4], [4, 5]]],          // evened blocks would not fit: greedy
    [[30, 2], 12, 2, [[0, 1], [1, 2]]],                           // a column wider than the line alone
  ];
  for (const [widths, width, label, expected] of cases)
    assert.deepEqual(paper.blocks(widths, width, label), expected, JSON.stringify(widths));
});

// A line's pieces as text, each entry in brackets, for the table below.
const shown = (lines) => lines?.map((line) => line.map((p) => (typeof p === 'string' ? p : `[${p.text}]`)).join(''));

test('a transcript printout in blocks: numbered columns, labelled rows, every entry marked where it is', () => {
  const rows = [['1', '-0.5', '3'], ['2', '4', '-1.25']];
  const cases = [
    // rows, tab, width, lines
    [rows, 8, 104, undefined],                  // 3 tab stops fit
    [[['12345678', '1']], 8, 10, ['           1', 'R1  [12345678]', '    2', 'R1  [1]']],  // an entry wider than the line
    [[['x1=3']], 8, 1, undefined],               // the unknowns, one column
    [rows, 8, 14, ['    1     2', 'R1  [1]  [-0.5]', 'R2  [2]     [4]', '        3', 'R1      [3]', 'R2  [-1.25]']],
    [[['1', '2'], ['3']], 8, 7, ['    1', 'R1  [1]', 'R2  [3]', '    2', 'R1  [2]', 'R2   []']],  // a short row
  ];
  for (const [given, tab, width, expected] of cases)
    assert.deepEqual(shown(paper.transcriptBlocks(given, tab, width) ?? undefined), expected, JSON.stringify([given, width]));
});

test('an order-10 run prints every column of every printout once, in blocks no wider than the paper', needsBuild, () => {
  const m = modelOf('gjinverse', goldenCase('gjinverse/growing-rows-10x10').input);
  for (const stage of m.stages) {
    const columns = stage.rows[0].length;
    const head = headers(translator('en'), m, stage.k);
    const ranges = paper.tableBlocks(head, stage.rows) ?? [[0, columns]];
    assert.deepEqual(ranges.flatMap(([a, b]) => Array.from({ length: b - a }, (_, j) => a + j)),
                     Array.from({ length: columns }, (_, c) => c), `stage ${stage.k + 1}'s table`);
    assert.ok(ranges.length <= 3, `stage ${stage.k + 1}: ${ranges.length} blocks`);
    const lines = paper.transcriptBlocks(stage.rows, 12) ?? [];
    for (const line of lines) assert.ok(shown([line])[0].length - line.filter((p) => typeof p !== 'string').length * 2 <= paper.lineWidth);
    const entries = lines.flat().filter((p) => typeof p !== 'string');
    if (columns > 1) assert.deepEqual(entries.map(({ r, c }) => stage.rows[r][c]).sort(), stage.rows.flat().sort(), `stage ${stage.k + 1}'s transcript`);
  }
});

// A stage of a 3×3 inverse as the layout sees it: 3 rows, its decisions, a frame.
const stage = (decisions, rows = 3, frame = true) => ({ rows, decisions, frame });
const inverse3 = { n: 3, columns: 6, stages: [stage(3), stage(1), stage(2), stage(1), stage(1), stage(2), stage(1), stage(3), stage(0)] };

test('a sheet\'s pages: upright or sideways by its widest frame, stages kept whole, an even count for two sides', () => {
  const cases = [
    // shape, twoSided, landscape, column, stages on each page
    [inverse3, true, false, 28, [[0, 1], [2, 3, 4], [5, 6], [7, 8]]],                           // the last stage not alone
    [{ ...inverse3, stages: inverse3.stages.slice(0, 6) }, true, false, 28, [[0, 1], [2, 3], [4, 5], []]],
    [{ ...inverse3, stages: inverse3.stages.slice(0, 6) }, false, false, 28, [[0, 1], [2, 3], [4, 5]]],
    [{ n: 2, columns: 4, stages: [stage(2, 2)] }, true, false, 28, [[0], []]],
    [{ n: 3, columns: 8, stages: [stage(3), stage(1)] }, false, true, 28, [[0], [1]]],            // 8 columns: sideways
    [{ n: 5, columns: 10, stages: [stage(5, 5)] }, false, true, 26, [[], [0]]],                    // 10 columns: narrower
    [{ n: 3, columns: 4, stages: [stage(3), stage(0, 3, false)] }, false, false, 28, [[0, 1]]],   // the unknowns: no frame
    [{ n: 10, columns: 20, stages: [] }, true, true, 13, [[], []]],                                 // a typed order 10: squeezed, on the page
  ];
  for (const [shape, twoSided, landscape, column, pages] of cases)
    assert.deepEqual(paper.sheetPages(shape, twoSided), { landscape, column, pages }, JSON.stringify([shape.columns, shape.stages.length, twoSided]));
});

test('every student\'s sheet of a class set has as many pages as the longest, all the same way up', () => {
  const short = { n: 2, columns: 4, stages: [stage(2, 2)] };
  const long = { ...inverse3, stages: inverse3.stages.slice(0, 6) };
  const set = paper.sheetsPages([short, long, { ...short, columns: 8 }], true);
  assert.deepEqual([set.landscape, set.pages.map((pages) => pages.length)], [true, [4, 4, 4]]);
  assert.deepEqual(set.pages[0], [[0], [], [], []]);
});

test('keys several to a page, none split, whichever way up takes fewer pages', () => {
  const key = (frames, widest = 5) => ({ stages: Array.from({ length: frames }, () => ({ rows: 3, widths: Array(6).fill(widest), caption: 50 })) });
  const cases = [
    // keys, way up asked, landscape, keys on each page
    [Array(7).fill(key(9)), null, false, [[0, 1, 2, 3], [4, 5, 6]]],
    [Array(30).fill(key(9)), null, false, Array.from({ length: 8 }, (_, p) => [4 * p, 4 * p + 1, 4 * p + 2, 4 * p + 3].filter((k) => k < 30))],
    [Array(3).fill(key(9)), true, true, [[0, 1, 2]]],              // after sideways sheets
    [Array(4).fill(key(9, 12)), null, true, [[0, 1], [2, 3]]],     // wide entries: one frame to an upright line
    [[key(70), key(9)], null, false, [[0], [1]]],                  // taller than a page: a page of its own
  ];
  for (const [keys, landscape, sideways, pages] of cases)
    assert.deepEqual(paper.keyPages(keys, landscape), { landscape: sideways, pages }, `${keys.length} keys`);
  assert.deepEqual(['-0.5', '정답', 'x₁ − r', '１／３'].map(paper.textWidth), [4, 4, 6, 6]);
});
