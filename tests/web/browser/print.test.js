// Printing the page (Save as PDF): the transcript and the explanation of every
// stage, black on white, with no stage split across pages, and every column of
// a wide run on the paper, in Chromium and in Firefox. Poppler's pdftotext
// reads the PDF back, in the order of its content (-raw): the Hangul glyphs
// come as Type 3 fonts, which its layout mode would move about. GJ_WEB_BUILD
// names the web build folder.
// engines: chromium firefox
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { golden, pageUrl, useBrowser, open, close, cannot, typeCase, clickToPrint } from './harness.js';
import { assignment, teacherFragment, exerciseFor, secretOf } from '../../../web/logic/assignments/assignment.js';
import { fromRun } from '../../../web/logic/own/matrix.js';
import { meaning, sayMeaning, reducedOf } from '../../../web/logic/own/reading.js';
import { shown } from '../../../web/logic/own/numbers.js';
import { make } from '../../../web/logic/practice/exercises.js';
import { programs } from '../node/programs.js';
import { translator } from '../../../web/logic/language/translate.js';

const browser = useBrowser();
const prints = new Map();

// The text of each printed page of the page, as it is, in the dark colour scheme
// (which print must not keep), and the smallest height of a number's box on
// paper, in points; the print of each case is made once.
function printed(t, name) {
  if (!prints.has(name)) prints.set(name, print(t, name));
  return prints.get(name);
}

async function print(t, name) {
  const page = await open(browser(), `${pageUrl}#${name.split('/')[0]}`, { colorScheme: 'dark' });
  await typeCase(page, name, { atOnce: true });
  await page.waitForSelector('#stages[data-exact="done"]');
  const headings = await page.evaluate(() => [...Array(GJ.stages.count()).keys()].map((k) => `${k + 1}. `));
  const pdf = await page.pdf({ format: 'A4' });
  // After the print the screen shows one stage again.
  const shownAfter = await page.$$eval('#stage-list .stage', (stages) => stages.length);
  let styles = null;
  if (!cannot(t, 'printMedia')) {
    await page.emulateMedia({ media: 'print' });
    styles = await page.evaluate(() => ['body', '#pane', '#pane .changed', '#pane .echo', '#pane .gloss', '.actions', '#line', '.stage-nav', '.modes']
      .map((selector) => {
        const style = getComputedStyle(document.querySelector(selector));
        return [selector, style.display === 'none' ? 'hidden' : `${style.color} on ${style.backgroundColor}`];
      }));
  }
  await close(page);
  const pages = execFileSync('pdftotext', ['-raw', '-enc', 'UTF-8', '-', '-'], { input: pdf }).toString().split('\f');
  const boxes = execFileSync('pdftotext', ['-bbox', '-enc', 'UTF-8', '-', '-'], { input: pdf, maxBuffer: 1 << 28 }).toString()
    .matchAll(/<word xMin="[\d.]+" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">(-?[\d.]+(e[+-]\d+)?)<\/word>/g);
  const smallest = Math.min(...[...boxes].map(([, top, bottom]) => bottom - top));
  return { pages, styles, headings, shownAfter, smallest };
}

test('the print of a run holds its commentary lines, Hangul included, black on white and no controls', async (t) => {
  const { pages, styles, headings, shownAfter } = await printed(t, 'gjinverse/worked-2x2');
  const text = pages.join('');
  // Every stage's explanation, not only the one on the screen, with its operations.
  const stageHeadings = text.split('\n').filter((line) => /^\d+\. /.test(line)).map((line) => line.slice(0, line.indexOf(' ') + 1));
  assert.deepEqual(stageHeadings, headings);
  for (const op of ['R1 ÷ 2', 'R2 ← R1 − 3 × R2', 'R1 ← R2 − (-5) × R1', 'R2 ÷ (-2.5)']) assert.ok(text.includes(op), op);
  assert.equal(shownAfter, 1);
  for (const line of [':입력완료', ':Gauss-Jordan Elimination 완료.', ':Inverse Matrix 완료.']) {
    assert.ok(text.includes(line), `${line} in the print`);
  }
  for (const control of ['Download transcript', 'End input', 'New input']) assert.ok(!text.includes(control), control);
  const black = 'rgb(0, 0, 0) on rgba(0, 0, 0, 0)';
  if (styles) assert.deepEqual(styles, [['body', 'rgb(0, 0, 0) on rgb(255, 255, 255)'], ['#pane', black], ['#pane .changed', black],
                            ['#pane .echo', black], ['#pane .gloss', black], ['.actions', 'hidden'], ['#line', 'hidden'],
                            ['.stage-nav', 'hidden'], ['.modes', 'hidden']]);
});

// Page breaks in the transcript fall between stages only: every page but the
// one where it ends finishes with a commentary line; after it, no stage's
// explanation is split either.
test('an order-10 run prints on several pages, none of them ending inside a stage', async (t) => {
  const { pages } = await printed(t, 'gjinverse/growing-rows-10x10');
  const last = pages.findIndex((page) => page.includes('[gjinverse ended with exit status 0]'));
  assert.ok(last > 2, `the transcript ends on page ${last + 1}`);
  for (const [k, page] of pages.slice(0, last).entries()) {
    assert.match(page.trim().split('\n').at(-1), /^:/, `page ${k + 1} ends with a commentary line`);
  }
  // Each page after the transcript starts with a stage's heading.
  const stagePages = pages.slice(last + 1).filter((page) => page.trim() !== '');
  assert.ok(stagePages.length > 2);
  for (const page of stagePages) assert.match(page.trim(), /^\d+\. /, page.slice(0, 40));
});

// A golden output's printouts: each its rows of entries.
const printouts = (output) => output.split('\n\n').map((part) => part.split('\n').filter((line) => line.includes('\t'))
  .map((line) => line.split('\t').filter((entry) => entry !== ''))).filter((rows) => rows.length > 0);

// The rows of numbers on paper, each without the label R1 .. Rn that a
// printout in blocks gives it, and without a block's line of column numbers
// (the one before a row R1); read back into the expected printouts' shapes: a
// printout's blocks joined row by row until its rows are as long as expected.
function readBack(text, expected) {
  const number = /^(-?[\d.]+(e[+-]\d+)?|-?nan|-?inf)$/;
  const lines = text.split('\n').map((line) => line.trim().split(/\s+/));
  const rows = lines.flatMap((words, k) => {
    const entries = /^R\d+$/.test(words[0]) ? words.slice(1) : words;
    const header = entries === words && /^R1$/.test(lines[k + 1]?.[0]);
    return entries.length > 0 && !header && entries.every((word) => number.test(word)) ? [entries] : [];
  });
  let at = 0;
  return expected.map((printout) => {
    const joined = printout.map(() => []);
    while (at < rows.length && joined[0].length < printout[0].length) for (const row of joined) row.push(...(rows[at++] ?? []));
    return joined;
  });
}

// Every column of every printout on the paper, in the transcript and in the
// stages, as no page's edge cuts it nor a shrunken page makes it too small.
test('an order-10 run prints every entry of every printout, in legible type', async (t) => {
  const { pages, smallest } = await printed(t, 'gjinverse/growing-rows-10x10');
  const expected = printouts(fs.readFileSync(path.join(golden, 'gjinverse/growing-rows-10x10.out'), 'utf8'));
  const [transcript, stages] = pages.join('\n').split('[gjinverse ended with exit status 0]');
  assert.deepEqual(readBack(transcript, expected), expected, 'the transcript');
  assert.deepEqual(readBack(stages, expected), expected, 'the stages');
  assert.ok(smallest >= 7, `numbers ${smallest.toFixed(1)} pt high`);
});

// An assignment's sheets of ten stages, under a long title: each page after a
// sheet's first carries the id, the name and date line and the page number,
// the name line whole on one line; the last page holds the last stages together.
test('an assignment\'s sheets carry their name line whole on every page, and end on more than one stage', async () => {
  const a = assignment({ program: 'gjsolve', order: 4, from: 3, seed: 77, names: ['김민준', '이서연'], title: '연립방정식 과제 2주차: 가우스-조르단 소거법으로 첨가행렬을 기약 행사다리꼴로 만들기',
    secret: secretOf(Array(16).fill(2)) });
  const page = await open(browser(), pageUrl + teacherFragment(a), { ready: '#teacher-facts dd', locale: 'ko-KR' });
  await page.selectOption('#teacher-parts', 'sheets').then(() => clickToPrint(page, '#teacher-keys'));
  const pdf = await page.pdf({ format: 'A4', preferCSSPageSize: true });
  await close(page);
  const later = execFileSync('pdftotext', ['-raw', '-enc', 'UTF-8', '-', '-'], { input: pdf }).toString().split('\f').filter((p) => /\d+쪽 중 \d+쪽/.test(p));
  assert.ok(later.length >= 4 && later.every((p) => /이름 (김민준|이서연) 날짜/.test(p)), later.join('\n----\n').slice(0, 2000));
  for (const name of a.names) assert.ok(later.filter((p) => p.includes(name) && /^\d+\. /m.test(p)).at(-1).match(/^\d+\. /gm).length >= 2, name);
});

// An own-way assignment's sheets and keys: a sheet a student, with the room
// for the operations and the reading, and keys that give the reduced form
// exactly and what it means, with none of the method's rounding residues.
test('an own-way assignment prints the own way\'s sheets, and keys of exact reduced forms', async () => {
  const a = assignment({ mode: 'own', program: 'gjinverse', order: 3, seed: 21, names: ['Kim', 'Lee'], secret: secretOf(Array(16).fill(7)) });
  await programs();  // the students' matrices made under node, by the same programs as the page's
  const page = await open(browser(), pageUrl + teacherFragment(a), { ready: '#teacher-facts dd' });
  await clickToPrint(page, '#teacher-keys');
  const pdf = await page.pdf({ format: 'A4', preferCSSPageSize: true });
  await close(page);
  const pages = execFileSync('pdftotext', ['-raw', '-enc', 'UTF-8', '-', '-'], { input: pdf }).toString().split('\f');
  for (const name of a.names) assert.ok(pages.some((p) => p.includes(name) && p.includes('Row operations') && p.includes('What it means')), name);
  const keys = pages.filter((p) => p.includes('Answer key')).join(' ').replace(/\s+/g, ' ');
  for (const name of a.names) {
    const { matrix } = fromRun('gjinverse', make(exerciseFor(a, name)).input);
    const means = meaning(reducedOf(matrix), 'inverse');
    assert.ok(keys.includes(sayMeaning(translator('en'), means)), name);
    for (const x of means.inverse?.flat() ?? []) assert.ok(keys.includes(shown(x)), `${name}: ${shown(x)}`);
  }
  assert.doesNotMatch(keys, /\de-\d/, 'no residue such as 7.77156e-17');
});
