// The LaTeX documents that the page copies, compiled as a user would: pdflatex
// in a folder of their own, the PDF read back by pdftotext in its layout mode
// (a printed row a line). The worked example of each program, also in exact
// fractions, and an order-10 inverse; the commentary as its English gloss
// (GJ_TEX_FORM=plain) or in Korean as printed, through kotex (korean). The
// PDFs stay in the web build folder (latex-*.pdf), for a look. GJ_PDFLATEX and
// GJ_PDFTOTEXT name the tools, else PATH has them.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { programs, goldenCase } from './programs.js';
import { latex } from '../../../web/logic/run/copies.js';
import { modelOf } from '../../../web/logic/practice/exercises.js';
import { text as textOf, translator } from '../../../web/logic/language/translate.js';
import { readMatrix } from '../../../web/logic/own/matrix.js';
import { startWork, doOperation, matrixAt } from '../../../web/logic/own/work.js';
import { hint } from '../../../web/logic/own/hints.js';
import { meaning, sayMeaning } from '../../../web/logic/own/reading.js';
import { copyLatex } from '../../../web/logic/own/copies.js';

const build = process.env.GJ_WEB_BUILD;
const form = process.env.GJ_TEX_FORM ?? 'plain';
before(programs);

// The text of the PDF that doc compiles to, kept as latex-name.pdf in the build folder.
function compile(name, doc) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'gj-latex-'));
  try {
    fs.writeFileSync(path.join(folder, 'run.tex'), doc);
    try {
      execFileSync(process.env.GJ_PDFLATEX ?? 'pdflatex', ['-interaction=nonstopmode', '-halt-on-error', 'run.tex'], { cwd: folder });
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

// Whether text holds each of parts, in order.
function inOrder(text, parts) {
  let at = 0;
  for (const part of parts) {
    at = text.indexOf(part, at);
    if (at < 0) return false;
    at += part.length;
  }
  return true;
}

const runs = [['gjinverse-worked', 'gjinverse', '2\n2 1\n1 3\n', true], ['gjsolve-worked', 'gjsolve', '2\n2 -3 0\n1 1 5\n', true],
              ['gjinverse-10x10', 'gjinverse', goldenCase('gjinverse/growing-rows-10x10').input, false]];
for (const [name, program, input, exactToo] of runs) {
  test(`${name} (${form}): the documents compile, and the PDF holds the printed rows and the commentary`, { skip: !build && 'needs GJ_WEB_BUILD' }, () => {
    const m = modelOf(program, input);
    const commentary = form === 'korean' ? 'printed' : 'gloss';
    const text = squeeze(compile(`${name}-${form}`, latex(m, { values: 'printed', commentary, shape: 'document' })));
    assert.ok(inOrder(text, m.stages.flatMap((s) => s.rows.map((row, r) => squeeze((s.unknowns ? `x${r + 1}` : '') + row.join(''))))));
    const lines = m.stages.filter((s) => s.line !== null).map((s) => (form === 'korean' ? s.line : textOf('en', `gloss.${s.id}`)));
    assert.ok(inOrder(text, lines.map(squeeze)));
    if (!exactToo) return;
    // In exact fractions a rounded decimal of the scaling stage gives way to its fraction.
    const exact = squeeze(compile(`${name}-exact-${form}`, latex(m, { values: 'exact', commentary, shape: 'document' })));
    assert.ok(inOrder(exact, m.stages[0].rows.map((row) => squeeze(row.join('')))) && !exact.includes(m.stages[1].rows[1][0]));
  });
}

// The own way's work as a whole document, reduced by the method's hints: its
// matrices, its fractions and what the reduced matrix means, in the form's language.
test(`the own way's document (${form}) compiles, and the PDF holds the work and what it means`, { skip: !build && 'needs GJ_WEB_BUILD' }, () => {
  const t = translator(form === 'korean' ? 'ko' : 'en');
  let [work, m] = [startWork(readMatrix('2 3\n2 1 3\n1 3 4', 'system').matrix, 'system'), null];
  for (let next = hint(m = matrixAt(work)); next; next = hint(m = matrixAt(work))) work = doOperation(work, next.op, null);
  const text = compile(`own-${form}`, copyLatex(t, work, { document: true }));
  const said = sayMeaning(t, meaning(m, 'system'));
  assert.ok(inOrder(squeeze(text), ['213', '134', squeeze(said)]), said);
  assert.ok(!copyLatex(t, work, { tell: false }).includes(said));
});
