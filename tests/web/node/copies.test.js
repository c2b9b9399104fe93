// The forms a run is copied in (web/logic/run/copies.js) under node, on real runs
// of the web build's programs: the worked examples against the golden files of
// tests/web/export/, byte for byte (GJ_UPDATE_GOLDEN=1 writes them anew, to be
// read before they are committed); an order-10 run's shape; numbers that are no
// plain decimals; the operations on the arrows; escaping; the tables' headers
// and the facts their summaries say.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { needsBuild, programs, goldenCase } from './programs.js';
import * as copies from '../../../web/logic/run/copies.js';
import { modelOf } from '../../../web/logic/practice/exercises.js';
import { translator } from '../../../web/logic/language/translate.js';

before(programs);
const worked = { gjinverse: '2\n2 1\n1 3\n', gjsolve: '2\n2 -3 0\n1 1 5\n' };
const run = (program, input = worked[program]) => modelOf(program, input);
const residues = goldenCase('gjsolve/residues-3x3').input;

test('the worked examples as LaTeX, Markdown and tables, as the golden files hold them', needsBuild, () => {
  const latex = (values, commentary, shape, stage = null) => (m, language) => copies.latex(m, { values, commentary, shape, stage, language });
  const cases = [
    ['gjinverse-worked.tex', 'en', 'gjinverse', latex('printed', 'printed', 'document')],
    ['gjinverse-worked-stage4.ko.tex', 'ko', 'gjinverse', latex('exact', 'none', 'fragment', 3)],
    ['gjsolve-worked-exact.tex', 'en', 'gjsolve', latex('exact', 'gloss', 'fragment')],
    ['gjinverse-worked.ko.md', 'ko', 'gjinverse', (m, language) => copies.markdown(m, { values: 'printed', commentary: 'printed', language })],
    ['gjsolve-worked.md', 'en', 'gjsolve', (m, language) => copies.markdown(m, { values: 'exact', commentary: 'gloss', language })],
    ['gjsolve-worked-stage4.html', 'en', 'gjsolve', (m, code) => copies.table(translator(code), m, 3).html],
    ['gjinverse-worked-stage6.ko.html', 'ko', 'gjinverse', (m, code) => copies.table(translator(code), m, 5).html],
    // gjsolve's exercise of seed 3, order 3, nice: exact r and divisors, the English gloss on the Korean page.
    ['gjsolve-seed3-exact-gloss.ko.tex', 'ko', 'gjsolve', latex('exact', 'gloss', 'document'), '3\n0 -1 0 -1\n3 -1 -1 7\n5 -2 -2 11\n'],
  ];
  for (const [name, code, program, form, input] of cases) {
    const made = form(run(program, input), code);
    const file = path.join(import.meta.dirname, '..', 'export', name);
    if (process.env.GJ_UPDATE_GOLDEN) fs.writeFileSync(file, made);
    assert.equal(made, fs.readFileSync(file, 'utf8'), name);
  }
  assert.equal(copies.table(translator('en'), run('gjsolve'), 3).text, '-0.666667\t1\t-0\n0\t1.66667\t3.33333\n');
  assert.equal(copies.table(translator('en'), run('gjsolve'), 5).text, 'x1\t3\nx2\t2\n');
});

// One display a printout, its parts on lines of their own, the bar after
// column 10, every printed number in its place, on landscape pages.
test('an order-10 run as a LaTeX document', needsBuild, () => {
  const m = run('gjinverse', goldenCase('gjinverse/growing-rows-10x10').input);
  const tex = copies.latex(m, { values: 'printed', commentary: 'printed', shape: 'document' });
  assert.match(tex, /^\\documentclass\[a4paper,landscape\]\{article\}\n\\usepackage\[landscape,margin=12mm\]\{geometry\}/);
  const displays = tex.split('\\gjdisplay{\n').slice(1);
  assert.equal(displays.length, 31);
  displays.forEach((d, k) => {
    const stage = m.stages[k];
    const rows = stage.rows.map((row) => row.map((x) => x.replace(/e([+-]\d+)$/, '\\mathrm{e}{$1}')).join(' & '));
    const columns = k < 30 ? 'rrrrrrrrrr|rrrrrrrrrr' : 'rrrrrrrrrr';
    assert.ok(d.includes(`\\begin{array}{${columns}}\n${rows.join(' \\\\\n')}\n\\end{array}`), `display ${k + 1}`);
    assert.ok(d.startsWith(k > 0 ? '\\begin{gathered}\n\\longrightarrow' : '\\begin{gathered}\n\\left['), `display ${k + 1}`);
  });
  assert.ok(displays[1].includes('R_1 \\div 10,\\quad R_2 \\div 20,\\quad R_3 \\div 40,\\quad R_4 \\div 80 \\\\\nR_5'), 'four operations a line');
});

test('numbers that are no plain decimals, as printed and as exact values', needsBuild, () => {
  const tiny = '2\n1 1e-320\n5 -4\n';
  const cases = [  // program, input, stage index, row, values, the row in LaTeX
    ['gjinverse', tiny, 0, 0, 'printed', '1 & 9.99989\\mathrm{e}{-321} & 1 & 0 \\\\'],
    ['gjinverse', tiny, 0, 0, 'exact', '1 & 9.99989\\mathrm{e}{-321} & 1 & 0 \\\\'],  // no exact view: 1e-320 lost bits
    ['gjinverse', '2\n1 3e-308\n5 -4\n', 0, 0, 'exact', `1 & \\frac{3}{1${'0'.repeat(308)}} & 1 & 0 \\\\`],
    ['gjinverse', tiny, 4, 0, 'printed', '-\\infty & -\\infty & -\\infty & \\mathrm{nan} \\\\'],
    ['gjinverse', '1\n1e-7\n', 2, 0, 'printed', '1 & 1\\mathrm{e}{+07}'],
    ['gjinverse', '1\n1e-7\n', 2, 0, 'exact', '1 & 10000000'],
    ['gjinverse', worked.gjinverse, 5, 1, 'printed', '-0 & 1 & -0.2 & 0.4'],
    ['gjinverse', worked.gjinverse, 5, 1, 'exact', '0 & 1 & -\\frac{1}{5} & \\frac{2}{5}'],
    ['gjsolve', residues, 6, 0, 'printed', '-1.4 & -1.4 & -2.22045\\mathrm{e}{-16} & -11.2 \\\\'],
    ['gjsolve', residues, 6, 0, 'exact', '-\\frac{7}{5} & -\\frac{7}{5} & 0 & -\\frac{56}{5} \\\\[1ex]'],
    ['gjinverse', '2\n2 nan\n1 3\n', 0, 0, 'exact', '2 & \\mathrm{nan} & 1 & 0 \\\\'],  // no exact view
  ];
  for (const [program, input, k, r, values, expected] of cases) {
    const tex = copies.latex(run(program, input), { values, commentary: 'none', shape: 'fragment', stage: k, language: 'en' });
    assert.equal(tex.split('\n').filter((line) => line.includes(' & '))[r], expected, `${input} ${k + 1} ${values}`);
  }
});

// The arrow's line of one stage: r's sign taken into the operator, no
// coefficient 1 nor a term 0·R; exact numbers with exact values; the words in
// the commentary's language (the page's without one).
test('the operations on the arrows', needsBuild, () => {
  const seed3 = '3\n0 -1 0 -1\n3 -1 -1 7\n5 -2 -2 11\n';  // gjsolve's exercise of seed 3, order 3, nice
  const cases = [  // page language, program, input, values, commentary, stage index, the arrow's line
    ['en', 'gjinverse', '2\n1 1\n1 1\n', 'printed', 'none', 3, '\\xrightarrow{R_2 \\leftarrow R_1 - R_2}'],
    ['en', 'gjinverse', '2\n1 1\n1 1\n', 'exact', 'none', 4, '\\xrightarrow{R_1 \\leftarrow R_2}'],  // r = 0
    ['en', 'gjinverse', '2\n-3 1\n-3 1\n', 'printed', 'none', 4, '\\xrightarrow{R_1 \\leftarrow R_2}'],  // r = -0
    ['en', 'gjinverse', '2\n-3 -3\n-1 -2\n', 'printed', 'none', 4, '\\xrightarrow{R_1 \\leftarrow R_2 + R_1}'],
    ['en', 'gjinverse', worked.gjinverse, 'printed', 'none', 4, '\\xrightarrow{R_1 \\leftarrow R_2 + 5R_1}'],
    ['en', 'gjinverse', worked.gjinverse, 'exact', 'none', 5, '\\xrightarrow{\\substack{R_1 \\div 5 \\\\ R_2 \\div \\left(-\\frac{5}{2}\\right)}}'],
    ['en', 'gjsolve', seed3, 'printed', 'none', 3, '\\longrightarrow\\quad R_2\\ \\text{unchanged},\\quad R_3 \\leftarrow R_1 - 1.06061R_3 \\\\'],
    ['en', 'gjsolve', seed3, 'exact', 'none', 3, '\\longrightarrow\\quad R_2\\ \\text{unchanged},\\quad R_3 \\leftarrow R_1 - \\frac{35}{33}R_3 \\\\'],
    ['en', 'gjsolve', seed3, 'exact', 'none', 8, '\\xrightarrow{\\substack{x_1 = \\frac{15}{2} \\div \\frac{5}{2} = 3 \\\\ x_2 = 1 \\div 1 = 1 \\\\ x_3 = (-1) \\div (-1) = 1}}'],
    ['ko', 'gjsolve', '2\n0 1 2\n1 0 3\n', 'printed', 'none', 3, '\\xrightarrow{R_2\\ \\text{그대로}}'],
    ['ko', 'gjsolve', '2\n0 1 2\n1 0 3\n', 'printed', 'gloss', 3, '\\xrightarrow{R_2\\ \\text{unchanged}}'],
    ['ko', 'gjinverse', worked.gjinverse, 'printed', 'gloss', 2, '\\xrightarrow{\\text{no exchange}}'],
    ['en', 'gjinverse', worked.gjinverse, 'printed', 'printed', 2, '\\xrightarrow{\\text{교환 없음}}'],
  ];
  for (const [code, program, input, values, commentary, k, expected] of cases) {
    const tex = copies.latex(run(program, input), { values, commentary, shape: 'fragment', stage: k, language: code });
    assert.equal(tex.split('\n').find((line) => /arrow/.test(line)), expected, `${program} ${JSON.stringify(input)} stage ${k + 1}`);
  }
  const headings = copies.markdown(run('gjsolve'), { values: 'printed', commentary: 'gloss', language: 'ko' });
  assert.ok(headings.includes('\n## 4. Elimination below the pivot, column 1\n'), 'Markdown in the gloss\'s language');
});

test('specials escaped, kotex exactly where Hangul is', needsBuild, () => {
  assert.equal(copies.escapeLatex('\\{}$&#^_%~'), '\\textbackslash{}\\{\\}\\$\\&\\#\\textasciicircum{}\\_\\%\\textasciitilde{}');
  assert.equal(copies.escapeHtml('<a b="c">&'), '&lt;a b=&quot;c&quot;&gt;&amp;');
  const kotex = (language, commentary) =>
    copies.latex(run('gjinverse'), { values: 'printed', commentary, shape: 'document', language }).includes('\\usepackage{kotex}');
  assert.deepEqual([['en', 'none'], ['en', 'gloss'], ['en', 'printed'], ['ko', 'none']].map(([code, c]) => kotex(code, c)), [false, false, true, true]);
});

test('the tables\' headers in both languages, and the facts their summaries say', needsBuild, () => {
  const spoken = (code, m, k) => copies.headers(translator(code), m, k).columns.map((h) => `${h.bar ? '| ' : ''}${h.spoken}`);
  assert.deepEqual(spoken('en', run('gjsolve'), 0), ['A, column 1', 'A, column 2', '| b, the right-hand side']);
  assert.deepEqual(spoken('ko', run('gjinverse'), 1), ['A의 1열', 'A의 2열', '| I의 1열', 'I의 2열']);
  assert.deepEqual(spoken('en', run('gjinverse'), 6), ['I, column 1', 'I, column 2']);
  const holds = (m) => m.stages.map((s) => {
    const facts = copies.facts(m, s.k);
    return facts.unknowns ? 'unknowns' : facts.holds.map((h) => `${h.id} ${h.block}`).join() + (facts.residues ? ' (residues)' : '');
  });
  assert.deepEqual(holds(run('gjinverse')), ['identity I', '', '', 'upper A', 'diagonal A', 'identity A', 'inverse A']);
  // The first backward stage's residue is above the diagonal, not needed for "upper".
  assert.deepEqual(holds(run('gjsolve', residues)).slice(5), ['upper A', 'upper A', 'diagonal A (residues)', 'unknowns']);
  assert.deepEqual(holds(run('gjinverse', '0\n')), ['', '', '', 'inverse A']);
});
