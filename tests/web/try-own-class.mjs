// Ad-hoc: a teacher makes an own assignment with the form, two students hand in, the table grades both.
import { chromium } from 'playwright-core';
import { pathToFileURL } from 'node:url';
import path from 'node:path';
const root = process.cwd();
const { apply } = await import(path.join(root, 'web/logic/own/arithmetic.js'));
const { readNumber } = await import(path.join(root, 'web/logic/own/numbers.js'));
const { format } = await import(path.join(root, 'web/logic/exact.js'));
const { shape, meaning } = await import(path.join(root, 'web/logic/own/forms.js'));
const build = process.env.GJ_WEB_BUILD;
const locale = process.argv[2] ?? 'ko-KR';
const width = Number(process.argv[3] ?? 1280);
const pageUrl = pathToFileURL(path.join(build, 'index.html')).href;
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
const ctx = () => browser.newContext({ viewport: { width, height: 900 }, locale });
const watch = (page) => { page.on('pageerror', (e) => console.log('pageerror', e.message)); page.on('console', (m) => m.type() === 'error' && console.log('console', m.text())); return page; };
const teacher = watch(await (await ctx()).newPage());
await teacher.goto(`${pageUrl}#gjsolve`);
await teacher.waitForSelector('body[data-programs="loaded"] #typed:not([disabled])');
await teacher.click('[data-mode="practice"]');
await teacher.click('#assignment > summary');
await teacher.check('input[name="assign-mode"][value="own"]');
await teacher.check('input[name="assign-arithmetic"][value="learner"]');
await teacher.check('#assign-own-show');
await teacher.fill('#assign-names', '김민수\nLee Jiwoo');
await teacher.click('#assignment-form button[type="submit"]');
await teacher.waitForSelector('#assignment-made:not([hidden])');
await teacher.screenshot({ path: `/tmp/shots/class-form-${locale}-${width}.png`, fullPage: true });
const teacherLink = await teacher.getAttribute('#assignment-teacher', 'href');
const links = (await teacher.inputValue('#assignment-students textarea')).split('\n').map((l) => l.replace(/^.*?: /, ''));
const num = (t) => readNumber(t).value;
const matrixOf = (rows, bar) => ({ rows: rows.map((r) => r.map(num)), bar });
async function work(link, slips) {
  const page = watch(await (await ctx()).newPage());
  await page.goto(link);
  await page.waitForSelector('#own-op', { state: 'visible' });
  let k = 0;
  while (await page.isVisible('#own-hint')) {
    await page.click('#own-hint');
    await page.waitForSelector('#own-help:not([hidden])');
    await page.fill('#own-op', /R\d+ ?[↔→].*?(?=[.。]?$)/.exec(await page.textContent('#own-help'))[0]);
    await page.press('#own-op', 'Enter');
    await page.waitForTimeout(50);
    if (await page.isVisible('#own-pending')) {
      const p = await page.evaluate(() => { const o = GJ.page.state.own; const s = (x) => `${x.n}/${x.d}`;
        return { rows: o.matrix.rows.map((r) => r.map(s)), bar: o.matrix.bar, op: { ...o.pending.op, factor: o.pending.op.factor && s(o.pending.op.factor) }, row: o.pending.row }; });
      const op = { ...p.op, factor: p.op.factor && num(p.op.factor) };
      const right = apply(matrixOf(p.rows, p.bar), op).rows[p.row].map(format);
      const fields = await page.$$('#own-fields input');
      if (slips.includes(k)) { for (const f of fields) await f.fill('0'); await page.press('#own-fields input', 'Enter'); await page.waitForTimeout(50); }
      if (slips.includes(-k - 1)) { await page.click('#own-show'); }
      else { for (const [i, f] of fields.entries()) await f.fill(right[i]); await page.press('#own-fields input', 'Enter'); }
      await page.waitForTimeout(50);
    }
    k++;
  }
  await page.waitForSelector('#own-read:not([hidden])');
  return page;
}
const codes = [];
for (const [i, link] of links.entries()) {
  const page = await work(link, i === 0 ? [] : [1, -4]);
  const m = await page.evaluate(() => { const o = GJ.page.state.own; return o.matrix.rows.map((r) => r.map((x) => `${x.n}/${x.d}`)); });
  const means = meaning(matrixOf(m, m[0].length - 1), 'system');
  await page.check(`#own-read input[value="${i === 0 ? means.kind === 'one' ? 'one' : means.kind === 'none' ? 'zero' : 'many' : 'many'}"]`);
  if (i === 0 && means.kind === 'one') for (const [j, f] of (await page.$$('#own-read input[name="own-value"]')).entries()) await f.fill(format(means.values[j]));
  await page.click('#own-read button[type="submit"]');
  await page.waitForSelector('#own-read-verdict:not([hidden])');
  await page.screenshot({ path: `/tmp/shots/class-student${i}-${locale}-${width}.png`, fullPage: true });
  await page.click('#student .hand-in');
  await page.click('#hand-in-yes');
  await page.waitForSelector('#student-code');
  codes.push(await page.inputValue('#student-code'));
}
console.log(codes.map((c) => c.slice(0, 12)));
const results = watch(await (await ctx()).newPage());
await results.goto(teacherLink);
await results.waitForSelector('#teacher-facts dd');
await results.fill('#teacher-codes', codes.join('\n'));
await results.click('#teacher-form button');
await results.waitForSelector('#teacher-table .results-box:not([aria-busy])');
console.log(await results.$$eval('#teacher-table tr', (rows) => rows.map((r) => r.innerText.replace(/\s+/g, ' '))));
await results.click('#teacher-table tbody tr:nth-child(2) th button, #teacher-table tbody tr:nth-child(2) th a').catch((e) => console.log('no row button', e.message));
await results.waitForTimeout(500);
await results.screenshot({ path: `/tmp/shots/class-results-${locale}-${width}.png`, fullPage: true });
await browser.close();
