// A stage's printout as a table that a screen reader walks, read from
// chromium's own accessibility tree (the DevTools protocol), and as far as the
// other engines show it to a test, by role and name, in both languages:
// caption, row headers, column headers naming the blocks with the bar drawn
// between them, the summary as the description, and each key of the grid
// landing on an entry with its headers, value and marks, and exact value.
// engines: chromium firefox webkit
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { engine, useBrowser, openProgram, close, cannot, text, typeAtPrompts } from './harness.js';
import { driver } from './drivers/index.js';

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

// The focused entry's row header, column header, name and description: from
// chromium's accessibility tree; in the other engines, which show a test no
// tree, each name that the engine computes is checked against the one
// expected (where it names a cell by its content; else the role alone, but
// for a label), and the description is the entry's title.
async function focused(page, expected, byContent) {
  if (engine === 'chromium') return (await accessible(page)).focus;
  const labelled = await page.evaluate(() => {
    const cell = document.activeElement;
    for (const e of document.querySelectorAll('[data-probe]')) delete e.dataset.probe;
    Object.assign(cell.closest('tr').cells[0].dataset, { probe: 'row' });
    Object.assign(cell.closest('table').rows[0].cells[cell.cellIndex].dataset, { probe: 'column' });
    Object.assign(cell.dataset, { probe: 'cell' });
    return cell.hasAttribute('aria-label');
  });
  const roles = { row: 'rowheader', column: 'columnheader', cell: 'gridcell' };
  const names = await Promise.all(Object.entries(roles).map(async ([probe, role], k) => {
    const name = byContent || (probe === 'cell' && labelled) ? expected[k] : null;
    return (await driver.hasAccessible(page, `[data-probe="${probe}"]`, { role, name })) ? expected[k] : `not ${role} ${name}`;
  }));
  return [...names, await page.getAttribute('[data-probe="cell"]', 'title')];
}

for (const locale of ['en-US', 'ko-KR']) {
  test(`the worked example's elimination as a table with headers, walked by keys (${locale})`, async (t) => {
    const page = await openProgram(browser(), 'gjinverse', { locale });
    await typeAtPrompts(page, '\n', ['2 2 1 1 3'], ['INPUT ORDER OF SQUARE MATRIX: ']);
    await page.waitForSelector('#stages[data-exact="done"]');
    for (let k = 0; k < 3; ++k) await page.click('#stage-next');
    const tx = (id, values) => text(page, id, values);
    const [A1, A2, I1, I2] = await Promise.all([['A', 1], ['A', 2], ['I', 1], ['I', 2]].map(([block, j]) => tx('table.column', { block, j })));
    const [R1, R2] = [await tx('table.row', { i: 1 }), await tx('table.row', { i: 2 })];
    const marked = async (printed, mark) => tx('table.marks', { printed, marks: await tx(`mark.${mark}`) });
    const blocks = [await tx('table.summary.block', { block: 'A', from: 1, to: 2 }), await tx('table.summary.block', { block: 'I', from: 3, to: 4 })];
    const table = cannot(t, 'accessibilityTree') ? null : await accessible(page);
    if (table) assert.equal(table.name, await tx('table.caption', { k: 4, name: await tx('stage.eliminated', { j: 1 }) }));
    if (table) assert.equal(table.description, `${await tx('table.summary.shape', { rows: 2, columns: 4, blocks: blocks.join(await tx('table.summary.separator')) })} ${await tx('table.upper')}`);
    if (table) assert.deepEqual(table.cells, [
      [await tx('table.corner'), A1, A2, I1, I2].map((name) => `columnheader: ${name}`),
      [`rowheader: ${R1}`, ...[await marked('1', 'pivot'), '0.5', '0.5', '0'].map((name) => `gridcell: ${name}`)],
      [`rowheader: ${R2}`, ...await Promise.all(['0', '-2.5', '0.5', '-1'].map(async (x) => `gridcell: ${await marked(x, 'changed')}`))],
    ]);
    // The bar, drawn before I's first column, its header included.
    assert.deepEqual(await page.$$eval('#stage-4 tr', (rows) => rows.map((row) => [...row.cells].findIndex((cell) => parseFloat(getComputedStyle(cell).borderLeftWidth) > 0))), [3, 3, 3]);

    await page.focus('#stage-4 td[tabindex="0"]');
    const byContent = engine === 'chromium' || !cannot(t, 'contentNames');
    const exactly = async (exact) => tx('exact.cell', { exact });
    const first = [R1, A1, await marked('1', 'pivot'), await exactly('1')];
    const last = [R2, I2, await marked('-1', 'changed'), await exactly('-1')];
    const moves = [[null, first], ['ArrowRight', [R1, A2, '0.5', await exactly('1/2')]], ['ArrowDown', [R2, A2, await marked('-2.5', 'changed'), await exactly('-5/2')]],
                   ['End', last], ['ArrowRight', last], ['Home', [R2, A1, await marked('0', 'changed'), await exactly('0')]],
                   ['Control+End', last], ['Control+Home', first], ['ArrowUp', first]];
    for (const [key, expected] of moves) {
      if (key) await page.keyboard.press(key);
      assert.deepEqual(await focused(page, expected, byContent), expected, key ?? 'the tab stop');
    }
    await close(page);
  });
}
