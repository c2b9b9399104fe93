// The LaTeX documents that the page copies, compiled as a user would compile
// them: pdflatex in a folder of their own, the PDF read back with pdftotext
// in its layout mode, a printed row a line.
// The worked example of each program and an order-10 inverse, with the
// commentary as its English gloss (GJ_TEX_FORM=plain) or in Korean as printed,
// through kotex (GJ_TEX_FORM=korean); and the worked examples' exact fractions.
// GJ_PDFLATEX and GJ_PDFTOTEXT name the tools, else they are looked up in PATH.
// Each PDF's text holds every printed row in order, and the commentary. The
// PDFs are left in the web build folder (latex-*.pdf), for a look.
'use strict';
const { test, before } = require('node:test');
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { build, load, programs, modelOf, goldenCase } = require('./scripts.js');

const GJ = load('texts', 'language', 'exact', 'model', 'words', 'share', 'export');
const form = process.env.GJ_TEX_FORM ?? 'plain';
const commentary = form === 'korean' ? 'printed' : 'gloss';
const needsBuild = { skip: build ? false : 'needs the web build in GJ_WEB_BUILD' };
let runner;
before(async () => { runner = await programs(); });

// The text of the PDF that doc compiles to, kept as latex-name.pdf in the build folder.
function compile(name, doc) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'gj-latex-'));
  try {
    fs.writeFileSync(path.join(folder, 'run.tex'), doc);
    try {
      execFileSync(process.env.GJ_PDFLATEX ?? 'pdflatex', ['-interaction=nonstopmode', '-halt-on-error', 'run.tex'], { cwd: folder, stdio: 'pipe' });
    } catch (error) {
      assert.fail(`${name}: pdflatex failed:\n${error.stdout.toString().split('\n').slice(-25).join('\n')}`);
    }
    fs.copyFileSync(path.join(folder, 'run.pdf'), path.join(build, `latex-${name}.pdf`));
    return execFileSync(process.env.GJ_PDFTOTEXT ?? 'pdftotext', ['-layout', '-enc', 'UTF-8', 'run.pdf', '-'], { cwd: folder }).toString();
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

// Text as compared: numbers, letters and signs only, the minus sign as '-'.
const squeeze = (text) => text.replace(/−/g, '-').replace(/[^0-9A-Za-z.+\-가-힣]/g, '');

// Finds each of parts in text, in order; returns the first one missing, or null.
function missingInOrder(text, parts) {
  let at = 0;
  for (const part of parts) {
    const found = text.indexOf(part, at);
    if (found < 0) return part;
    at = found + part.length;
  }
  return null;
}

const runs = [
  ['gjinverse-worked', 'gjinverse', '2\n2 1\n1 3\n'],
  ['gjsolve-worked', 'gjsolve', '2\n2 -3 0\n1 1 5\n'],
  ['gjinverse-10x10', 'gjinverse', goldenCase('gjinverse/growing-rows-10x10').input],
];

for (const [name, program, input] of runs) {
  test(`${name}, commentary ${commentary}: the document compiles and its PDF holds the printed rows`, needsBuild, () => {
    const m = modelOf(runner, program, input);
    const text = squeeze(compile(`${name}-${form}`, GJ.export.latex(m, { values: 'printed', commentary, shape: 'document' })));
    const rows = m.stages.flatMap((s) => s.rows.map((row, r) => (s.unknowns ? `x${r + 1}${row[0]}` : row.join(''))));
    assert.equal(missingInOrder(text, rows.map(squeeze)), null);
    const lines = m.stages.filter((s) => s.line !== null).map((s) => (form === 'korean' ? s.line : GJ.language.text('en', `gloss.${s.id}`)));
    assert.equal(missingInOrder(text, lines.map(squeeze)), null);
  });
}

// In exact values the typed integers stay, and a rounded decimal that no
// operation names gives way to its fraction.
test(`the worked examples in exact fractions compile too (${form})`, needsBuild, () => {
  for (const [name, program, input, rounded] of [[...runs[0], '0.333333'], [...runs[1], '0.666667']]) {
    const m = modelOf(runner, program, input);
    const text = squeeze(compile(`${name}-exact-${form}`, GJ.export.latex(m, { values: 'exact', commentary, shape: 'document' })));
    assert.equal(missingInOrder(text, m.stages[0].rows.map((row) => squeeze(row.join('')))), null, name);
    assert.ok(!text.includes(rounded), `${name}: no ${rounded}`);
  }
});
