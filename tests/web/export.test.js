// The forms a run is copied in (web/export.js) under node, on real runs of the
// web build's programs: the worked examples' LaTeX, Markdown and tables against
// golden files in tests/web/export/, byte for byte (GJ_UPDATE_GOLDEN=1 writes
// them anew, to be read before they are committed); an order-10 run's shape;
// numbers that are no plain decimals; escaping; and the headers and facts that
// the stages' tables name.
'use strict';
const { test, before } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { load, programs, modelOf, goldenCase } = require('./scripts.js');

const GJ = load('texts', 'language', 'exact', 'model', 'words', 'share', 'export');
const needsBuild = { skip: process.env.GJ_WEB_BUILD ? false : 'needs the web build in GJ_WEB_BUILD' };
const goldenFolder = path.join(__dirname, 'export');
let runner;
before(async () => { runner = await programs(); });

const worked = { gjinverse: '2\n2 1\n1 3\n', gjsolve: '2\n2 -3 0\n1 1 5\n' };
const run = (program, input = worked[program]) => modelOf(runner, program, input);

// Runs fn with the page's texts in language code.
function withLanguage(code, fn) {
  const t = GJ.language.t;
  GJ.language.t = (id, values) => GJ.language.text(code, id, values);
  try { return fn(); } finally { GJ.language.t = t; }
}

test('the worked examples as LaTeX, Markdown and tables, as the golden files hold them', needsBuild, () => {
  const cases = [
    ['gjinverse-worked.tex', 'en', 'gjinverse', (m) => GJ.export.latex(m, { values: 'printed', commentary: 'printed', shape: 'document' })],
    ['gjinverse-worked-stage4.ko.tex', 'ko', 'gjinverse', (m) => GJ.export.latex(m, { values: 'exact', commentary: 'none', shape: 'fragment', stage: 3 })],
    ['gjsolve-worked-exact.tex', 'en', 'gjsolve', (m) => GJ.export.latex(m, { values: 'exact', commentary: 'gloss', shape: 'fragment' })],
    ['gjinverse-worked.ko.md', 'ko', 'gjinverse', (m) => GJ.export.markdown(m, { values: 'printed', commentary: 'printed' })],
    ['gjsolve-worked.md', 'en', 'gjsolve', (m) => GJ.export.markdown(m, { values: 'exact', commentary: 'gloss' })],
    ['gjsolve-worked-stage4.html', 'en', 'gjsolve', (m) => GJ.export.table(m, 3).html],
    ['gjinverse-worked-stage6.ko.html', 'ko', 'gjinverse', (m) => GJ.export.table(m, 5).html],
  ];
  for (const [name, code, program, form] of cases) {
    const made = withLanguage(code, () => form(run(program)));
    const file = path.join(goldenFolder, name);
    if (process.env.GJ_UPDATE_GOLDEN) fs.writeFileSync(file, made);
    assert.equal(made, fs.readFileSync(file, 'utf8'), name);
  }
});

test('a table\'s text is the printout, tabs between its columns; the unknowns keep their names', needsBuild, () => {
  const inverse = run('gjinverse');
  for (const stage of inverse.stages)
    assert.equal(GJ.export.table(inverse, stage.k).text, stage.text.replace(/^\n\n/, '').replace(/\t\n[^\t]*$/, '\n').replace(/\t\n/g, '\n'));
  const solve = run('gjsolve');
  assert.equal(GJ.export.table(solve, solve.stages.length - 1).text, 'x1\t3\nx2\t2\n');
  assert.match(GJ.export.table(solve, solve.stages.length - 1).html, /<th scope="row">x2 =<\/th><td>2<\/td>/);
});

// The inverse of an order-10 matrix: one display a printout, each a wide one
// (its operations in lines after the arrow), the bar after column 10, every
// printed number in its place, on landscape pages.
test('an order-10 run as a LaTeX document', needsBuild, () => {
  const m = run('gjinverse', goldenCase('gjinverse/growing-rows-10x10').input);
  const tex = GJ.export.latex(m, { values: 'printed', commentary: 'printed', shape: 'document' });
  const displays = tex.split('\\gjdisplay{\n').slice(1);
  assert.equal(displays.length, m.stages.length);
  assert.equal(m.stages.length, 31);
  const specs = displays.map((d) => /\\begin\{array\}\{([r|]+)\}/.exec(d)[1]);
  assert.deepEqual(new Set(specs.slice(0, -1)), new Set(['rrrrrrrrrr|rrrrrrrrrr']));
  assert.equal(specs.at(-1), 'rrrrrrrrrr', 'the inverse alone has no bar');
  displays.forEach((d, k) => {
    assert.ok(d.startsWith('\\begin{gathered}\n'), `display ${k + 1} puts its parts on lines of their own`);
    assert.equal(/\\longrightarrow/.test(d), k > 0, `display ${k + 1}: an arrow but before the first`);
    const rows = d.slice(d.indexOf('\\begin{array}')).split('\n').slice(1, 11);
    const printed = m.stages[k].rows.map((row) => row.map((x) => x.replace(/e([+-]\d+)$/, '\\mathrm{e}{$1}')).join(' & '));
    assert.deepEqual(rows.map((row) => row.replace(/ \\\\$/, '')), printed, `display ${k + 1}`);
  });
  // The scaling's ten operations come four to a line.
  assert.match(displays[1], /^\\begin\{gathered\}\n\\longrightarrow\\quad R_1 \\div 10,\\quad R_2 \\div 20,\\quad R_3 \\div 40,\\quad R_4 \\div 80 \\\\\nR_5 /);
  assert.match(tex, /\\usepackage\{kotex\}/);
  // Its widest printouts would shrink to a few points on a portrait page: the page turns sideways.
  assert.match(tex, /^\\documentclass\[a4paper,landscape\]\{article\}\n\\usepackage\[landscape,margin=12mm\]\{geometry\}/);
});

test('numbers that are no plain decimals, as printed and as exact values', needsBuild, () => {
  const cell = (m, k, r, values) => GJ.export.latex(m, { values, commentary: 'none', shape: 'fragment', stage: k })
    .split('\n').filter((line) => line.includes(' & '))[r];
  const cases = [
    // program, input, stage index, row, values, the row in LaTeX
    ['gjinverse', '2\n1 1e-320\n5 -4\n', 0, 0, 'printed', '1 & 9.99989\\mathrm{e}{-321} & 1 & 0 \\\\'],
    ['gjinverse', '2\n1 1e-320\n5 -4\n', 4, 0, 'printed', '-\\infty & -\\infty & -\\infty & \\mathrm{nan} \\\\'],
    ['gjinverse', '2\n1 1e-320\n5 -4\n', 5, 0, 'printed', '\\mathrm{nan} & \\mathrm{nan} & \\mathrm{nan} & \\mathrm{nan} \\\\'],
    ['gjinverse', '2\n1 1e-320\n5 -4\n', 0, 0, 'exact', `1 & \\frac{1}{1${'0'.repeat(320)}} & 1 & 0 \\\\`],
    ['gjinverse', '1\n1e-7\n', 2, 0, 'printed', '1 & 1\\mathrm{e}{+07}'],
    ['gjinverse', '1\n1e-7\n', 2, 0, 'exact', '1 & 10000000'],
    ['gjinverse', worked.gjinverse, 5, 1, 'printed', '-0 & 1 & -0.2 & 0.4'],
    ['gjinverse', worked.gjinverse, 5, 1, 'exact', '0 & 1 & -\\frac{1}{5} & \\frac{2}{5}'],
    // A rounding residue is 0 in the exact values, and printed as it is otherwise.
    ['gjsolve', goldenCase('gjsolve/residues-3x3').input, 6, 0, 'printed', '-1.4 & -1.4 & -2.22045\\mathrm{e}{-16} & -11.2 \\\\'],
    ['gjsolve', goldenCase('gjsolve/residues-3x3').input, 6, 0, 'exact', '-\\frac{7}{5} & -\\frac{7}{5} & 0 & -\\frac{56}{5} \\\\'],
    // A run without an exact view gives the printed values either way.
    ['gjinverse', '2\n2 nan\n1 3\n', 0, 0, 'exact', '2 & \\mathrm{nan} & 1 & 0 \\\\'],
  ];
  for (const [program, input, k, r, values, expected] of cases)
    assert.equal(cell(run(program, input), k, r, values), expected, `${input} stage ${k + 1} row ${r + 1} ${values}`);
});

test('LaTeX and HTML specials are escaped, and kotex comes with Hangul', needsBuild, () => {
  assert.equal(GJ.export.escapeLatex('a\\b{c}$d&e#f^g_h%i~j'),
               'a\\textbackslash{}b\\{c\\}\\$d\\&e\\#f\\textasciicircum{}g\\_h\\%i\\textasciitilde{}j');
  assert.equal(GJ.export.escapeHtml('<a href="x">&</a>'), '&lt;a href=&quot;x&quot;&gt;&amp;&lt;/a&gt;');
  const m = run('gjinverse');
  const kotex = (code, commentary) => withLanguage(code, () =>
    /\\usepackage\{kotex\}/.test(GJ.export.latex(m, { values: 'printed', commentary, shape: 'document' })));
  assert.deepEqual([kotex('en', 'none'), kotex('en', 'gloss'), kotex('en', 'printed'), kotex('ko', 'none'), kotex('ko', 'gloss')],
                   [false, false, true, true, true], 'Korean lines, or the Korean word for "no exchange"');
});

test('the tables\' headers, in both languages, and the facts their summaries say', needsBuild, () => {
  const solve = run('gjsolve');
  const spoken = (code, m, k) => withLanguage(code, () => GJ.export.headers(m, k).columns.map((h) => `${h.bar ? '| ' : ''}${h.spoken}`));
  assert.deepEqual(spoken('en', solve, 0), ['A, column 1', 'A, column 2', '| b, the right-hand side']);
  assert.deepEqual(spoken('ko', run('gjinverse'), 1), ['A의 1열', 'A의 2열', '| I의 1열', 'I의 2열']);
  assert.deepEqual(spoken('en', run('gjinverse'), 6), ['I, column 1', 'I, column 2'], 'the inverse: the right half alone');
  assert.deepEqual(withLanguage('ko', () => GJ.export.headers(solve, 0).rows.map((h) => [h.shown, h.spoken])), [['R1', '1행'], ['R2', '2행']]);

  const holds = (m) => m.stages.map((s) => {
    const facts = GJ.export.facts(m, s.k);
    return facts.unknowns ? `${facts.rows} unknowns` : facts.holds.map((h) => `${h.id} ${h.block}`).join(', ') + (facts.residues ? ' (residues)' : '');
  });
  assert.deepEqual(holds(run('gjinverse')), ['identity I', '', '', 'upper A', 'diagonal A', 'identity A', 'inverse A']);
  assert.deepEqual(holds(run('gjsolve')), ['', '', '', 'upper A', 'diagonal A', '2 unknowns']);
  // Residues count as 0 once the replay says so: the second backward stage is
  // diagonal only so; the first one's residue is above the diagonal, and not needed.
  assert.deepEqual(holds(run('gjsolve', goldenCase('gjsolve/residues-3x3').input)).slice(5),
                   ['upper A', 'upper A', 'diagonal A (residues)', '3 unknowns']);
  assert.deepEqual(GJ.export.facts(run('gjsolve'), 0).blocks, [{ block: 'A', from: 1, to: 2 }, { block: 'b', from: 3, to: 3 }]);
  // Order 1 and order 0: nothing to call diagonal, and no rows at all.
  assert.deepEqual(holds(run('gjinverse', '1\n-4\n')), ['identity I', 'identity A', 'identity A', 'inverse A']);
  assert.deepEqual(holds(run('gjinverse', '0\n')), ['', '', '', 'inverse A']);
  assert.match(GJ.export.latex(run('gjinverse', '0\n'), { values: 'printed', commentary: 'none', shape: 'fragment' }), /\\left\[\\;\\right\]/);
});
