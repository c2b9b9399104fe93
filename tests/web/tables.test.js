// A stage's printout as a table that a screen reader walks, read from
// chromium's own accessibility tree (the DevTools protocol), in both languages:
// caption, row headers, column headers naming the blocks with the bar drawn
// between them, the summary as the description, and each key of the grid
// landing on an entry with its headers, value and marks, and exact value.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { useBrowser, openProgram, close, text, typeAtPrompts } from './harness.js';

const browser = useBrowser();

// The grid shown: its name, description and cells (role: name) row by row, and
// the focused entry: its row's and column's header, its name and description.
async function accessible(page) {
  const cdp = await page.context().newCDPSession(page);
  const { nodes } = await cdp.send('Accessibility.getFullAXTree');
  await cdp.detach();
  const byId = new Map(nodes.map((node) => [node.nodeId, node]));
  const children = (node) => (node.childIds ?? []).map((id) => byId.get(id)).flatMap((c) => (c.ignored ? children(c) : [c]));
  const rowsOf = (node) => children(node).flatMap((c) => (c.role.value === 'row' ? [children(c)] : rowsOf(c)));
  const grid = nodes.find((node) => node.role.value === 'grid' && !node.ignored);
  const rows = rowsOf(grid);
  const named = (node) => node.name?.value;
  const focused = (node) => node.properties?.some((p) => p.name === 'focused' && p.value.value);
  const r = rows.findIndex((row) => row.some(focused));
  const c = rows[r]?.findIndex(focused);
  return {
    name: named(grid), description: grid.description?.value, cells: rows.map((row) => row.map((x) => `${x.role.value}: ${named(x)}`)),
    focus: r < 0 ? null : [named(rows[r][0]), named(rows[0][c]), named(rows[r][c]), rows[r][c].description?.value],
  };
}

for (const locale of ['en-US', 'ko-KR']) {
  test(`the worked example's elimination as a table with headers, walked by keys (${locale})`, async () => {
    const page = await openProgram(browser(), 'gjinverse', { locale });
    await typeAtPrompts(page, '\n', ['2 2 1 1 3'], ['INPUT ORDER OF SQUARE MATRIX: ']);
    await page.waitForSelector('#stages[data-exact="done"]');
    for (let k = 0; k < 3; ++k) await page.click('#stage-next');
    const t = (id, values) => text(page, id, values);
    const [A1, A2, I1, I2] = await Promise.all([['A', 1], ['A', 2], ['I', 1], ['I', 2]].map(([block, j]) => t('table.column', { block, j })));
    const [R1, R2] = [await t('table.row', { i: 1 }), await t('table.row', { i: 2 })];
    const marked = async (printed, mark) => t('table.marks', { printed, marks: await t(`mark.${mark}`) });
    const blocks = [await t('table.summary.block', { block: 'A', from: 1, to: 2 }), await t('table.summary.block', { block: 'I', from: 3, to: 4 })];
    const table = await accessible(page);
    assert.equal(table.name, await t('table.caption', { k: 4, name: await t('stage.eliminated', { j: 1 }) }));
    assert.equal(table.description, `${await t('table.summary.shape', { rows: 2, columns: 4, blocks: blocks.join(await t('table.summary.separator')) })} ${await t('table.upper')}`);
    assert.deepEqual(table.cells, [
      [await t('table.corner'), A1, A2, I1, I2].map((name) => `columnheader: ${name}`),
      [`rowheader: ${R1}`, ...[await marked('1', 'pivot'), '0.5', '0.5', '0'].map((name) => `gridcell: ${name}`)],
      [`rowheader: ${R2}`, ...await Promise.all(['0', '-2.5', '0.5', '-1'].map(async (x) => `gridcell: ${await marked(x, 'changed')}`))],
    ]);
    // The bar, drawn before I's first column, its header included.
    assert.deepEqual(await page.$$eval('#stage-4 tr', (rows) => rows.map((row) => [...row.cells].findIndex((cell) => parseFloat(getComputedStyle(cell).borderLeftWidth) > 0))), [3, 3, 3]);

    await page.focus('#stage-4 td[tabindex="0"]');
    const exactly = async (exact) => t('exact.cell', { exact });
    const first = [R1, A1, await marked('1', 'pivot'), await exactly('1')];
    const last = [R2, I2, await marked('-1', 'changed'), await exactly('-1')];
    const moves = [[null, first], ['ArrowRight', [R1, A2, '0.5', await exactly('1/2')]], ['ArrowDown', [R2, A2, await marked('-2.5', 'changed'), await exactly('-5/2')]],
                   ['End', last], ['ArrowRight', last], ['Home', [R2, A1, await marked('0', 'changed'), await exactly('0')]],
                   ['Control+End', last], ['Control+Home', first], ['ArrowUp', first]];
    for (const [key, expected] of moves) {
      if (key) await page.keyboard.press(key);
      assert.deepEqual((await accessible(page)).focus, expected, key ?? 'the tab stop');
    }
    await close(page);
  });
}
