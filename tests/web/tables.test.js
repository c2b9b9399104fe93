// The stages' printouts as tables that a screen reader walks, read from
// chromium's own accessibility tree (through the DevTools protocol) in both
// languages: the caption, the row and column headers naming the blocks with
// the bar drawn between them, the summary as the table's description, and the
// keys of the grid, each move landing on an entry whose headers, name (value
// and marks) and description (exact value) are checked. Texts come from the
// page's own tables.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { useBrowser, openProgram, close, text, typeAtPrompts } = require('./harness.js');

const browser = useBrowser();

async function runOnce(program, input, locale) {
  const page = await openProgram(browser(), program, { locale });
  await typeAtPrompts(page, '\n', [input], ['INPUT ORDER OF SQUARE MATRIX: ']);
  await page.waitForSelector('#stages[data-exact="done"]');
  return page;
}

// The grid shown, as the accessibility tree has it: { name, description, rows:
// [[name of each cell or header]] }, and the focused entry: { row, column (its
// headers' names), name, description }.
async function accessible(page) {
  const cdp = await page.context().newCDPSession(page);
  const { nodes } = await cdp.send('Accessibility.getFullAXTree');
  await cdp.detach();
  const byId = new Map(nodes.map((node) => [node.nodeId, node]));
  // A node's children, through the ignored nodes that wrap them.
  const children = (node) => (node.childIds ?? []).map((id) => byId.get(id)).filter(Boolean)
    .flatMap((child) => (child.ignored ? children(child) : [child]));
  const rowsOf = (node) => children(node).flatMap((child) => (child.role.value === 'row' ? [child] : rowsOf(child)));
  const grid = nodes.find((node) => node.role.value === 'grid' && !node.ignored);
  const rows = rowsOf(grid).map(children);
  const focused = (cell) => cell.properties?.some((p) => p.name === 'focused' && p.value.value);
  const r = rows.findIndex((row) => row.some(focused));
  const c = r < 0 ? -1 : rows[r].findIndex(focused);
  const named = (node) => node.name?.value ?? '';
  return {
    name: named(grid), description: grid.description?.value ?? '',
    rows: rows.map((row) => row.map((cell) => `${cell.role.value}: ${named(cell)}`)),
    focus: r < 0 ? null : { row: named(rows[r][0]), column: named(rows[0][c]), name: named(rows[r][c]), description: rows[r][c].description?.value },
  };
}

for (const locale of ['en-US', 'ko-KR']) {
  test(`the worked example's elimination as a table with headers, walked by keys (${locale})`, async () => {
    const page = await runOnce('gjinverse', '2 2 1 1 3', locale);
    for (let k = 0; k < 3; ++k) await page.click('#stage-next');
    const t = (id, values) => text(page, id, values);
    const column = (block, j) => t('table.column', { block, j });
    const blocks = [await t('table.summary.block', { block: 'A', from: 1, to: 2 }), await t('table.summary.block', { block: 'I', from: 3, to: 4 })];
    const table = await accessible(page);
    assert.equal(table.name, await t('table.caption', { k: 4, name: await t('stage.eliminated', { j: 1 }) }));
    assert.equal(table.description, [await t('table.summary.shape', { rows: 2, columns: 4, blocks: blocks.join(await t('table.summary.separator')) }),
                                     await t('table.upper')].join(' '));
    const changed = async (printed) => t('table.marks', { printed, marks: await t('mark.changed') });
    assert.deepEqual(table.rows, [
      [`columnheader: ${await t('table.corner')}`, ...await Promise.all([['A', 1], ['A', 2], ['I', 1], ['I', 2]].map(async ([b, j]) => `columnheader: ${await column(b, j)}`))],
      [`rowheader: ${await t('table.row', { i: 1 })}`, `gridcell: ${await t('table.marks', { printed: '1', marks: await t('mark.pivot') })}`,
       'gridcell: 0.5', 'gridcell: 0.5', 'gridcell: 0'],
      [`rowheader: ${await t('table.row', { i: 2 })}`, ...await Promise.all(['0', '-2.5', '0.5', '-1'].map(async (x) => `gridcell: ${await changed(x)}`))],
    ]);
    // The bar is drawn before I's first column, in its header and its entries alike.
    assert.deepEqual(await page.$$eval('#stage-4 tr', (rows) => rows.map((row) => [...row.cells].map((cell) => parseFloat(getComputedStyle(cell).borderLeftWidth) > 0))),
                     [[false, false, false, true, false], [false, false, false, true, false], [false, false, false, true, false]]);

    // The keys, from the grid's one tab stop: each move's entry, headers and exact value.
    await page.focus('#stage-4 td[tabindex="0"]');
    const at = async (r, c, name, exact) => ({ row: await t('table.row', { i: r }), column: await column(...c), name,
                                               description: await t('exact.cell', { exact }) });
    const moves = [
      [null, await at(1, ['A', 1], await t('table.marks', { printed: '1', marks: await t('mark.pivot') }), '1')],
      ['ArrowRight', await at(1, ['A', 2], '0.5', '1/2')],
      ['ArrowDown', await at(2, ['A', 2], await changed('-2.5'), '-5/2')],
      ['End', await at(2, ['I', 2], await changed('-1'), '-1')],
      ['ArrowRight', await at(2, ['I', 2], await changed('-1'), '-1')],
      ['Home', await at(2, ['A', 1], await changed('0'), '0')],
      ['Control+End', await at(2, ['I', 2], await changed('-1'), '-1')],
      ['Control+Home', await at(1, ['A', 1], await t('table.marks', { printed: '1', marks: await t('mark.pivot') }), '1')],
      ['ArrowUp', await at(1, ['A', 1], await t('table.marks', { printed: '1', marks: await t('mark.pivot') }), '1')],
    ];
    for (const [key, expected] of moves) {
      if (key) await page.keyboard.press(key);
      assert.deepEqual((await accessible(page)).focus, expected, key ?? 'the first entry');
    }
    assert.equal(await page.textContent('#stage-position'), await t('stages.position', { k: 4, count: 7 }), 'Ctrl+Home stays in the grid');
    await close(page);
  });
}

test('a rounding residue is named so, and gjsolve\'s right-hand side is its own block (ko-KR)', async () => {
  const input = fs.readFileSync(path.join(__dirname, '..', 'golden', 'gjsolve', 'residues-3x3.in'), 'utf8');
  const page = await runOnce('gjsolve', input.trim().split(/\s+/).join(' '), 'ko-KR');
  for (let k = 0; k < 7; ++k) await page.click('#stage-next');
  await page.focus('#stage-8 td[tabindex="0"]');
  for (const key of ['ArrowRight', 'ArrowRight']) await page.keyboard.press(key);
  const t = (id, values) => text(page, id, values);
  const table = await accessible(page);
  assert.deepEqual(table.focus, {
    row: await t('table.row', { i: 1 }), column: await t('table.column', { block: 'A', j: 3 }),
    name: await t('table.marks', { printed: '8.88178e-17', marks: [await t('mark.changed'), await t('mark.residue')].join(await t('mark.separator')) }),
    description: await t('exact.residue'),
  });
  assert.equal(table.rows[0].at(-1), `columnheader: ${await t('table.rhs')}`);
  assert.ok(table.description.endsWith(`${await t('table.diagonal')} ${await t('table.residues')}`), table.description);
  await close(page);
});
