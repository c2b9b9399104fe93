// The teacher's gradebook (web/logic/assignments/gradebook.js): two
// browsers' books merged (no code lost, names added on either side kept, a
// name corrected away not brought back), a file written and read back, what
// is no gradebook refused, and the class's scores across assignments as CSV.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { assignment, id, teacherFragment, secretOf } from '../../../web/logic/assignments/assignment.js';
import { write, newResult, joinedCodes, joinedCount } from '../../../web/logic/assignments/result-code.js';
import { merged, bookOf, exported, imported, bookCsv } from '../../../web/logic/assignments/gradebook.js';
import { translator } from '../../../web/logic/language/translate.js';

const a = assignment({ seed: 3, names: ['Kim', 'Lee'], title: 'Week 1', secret: secretOf(Array(16).fill(1)) });
const other = assignment({ seed: 4, title: '' });
const code = (name, handed) => write({ ...newResult(id(a), name, 0), handed });
const [k1, k2, l1] = [code('Kim', 60000), code('Kim', 120000), code('Lee', 60000)];
const entry = (names, more = {}) => ({ link: teacherFragment({ ...a, names }), codes: '', rule: 'best', edits: 0, dropped: [], ...more });
const key = id(a);

test('two gradebooks merged: every code of both, the names of the one changed more, the other\'s added unless corrected away', () => {
  // [what, here, there, the entry merged]
  const cases = [
    ['codes of both, each once, here\'s first', entry(['Kim', 'Lee'], { codes: `${k1}\n${l1}` }), entry(['Kim', 'Lee'], { codes: `${l1}\n${k2}` }),
     entry(['Kim', 'Lee'], { codes: `${k1}\n${l1}\n${k2}` })],
    ['a name added there is kept', entry(['Kim', 'Lee']), entry(['Kim', 'Lee', 'Park'], { edits: 1 }), entry(['Kim', 'Lee', 'Park'], { edits: 1 })],
    ['names added on both sides', entry(['Kim', 'Lee', 'Choi'], { edits: 2 }), entry(['Kim', 'Lee', 'Park'], { edits: 1 }),
     entry(['Kim', 'Lee', 'Choi', 'Park'], { edits: 2 })],
    ['a name corrected here is not brought back from there', entry(['Kym', 'Lee'], { edits: 1, dropped: ['kim'] }), entry(['Kim', 'Lee']),
     entry(['Kym', 'Lee'], { edits: 1, dropped: ['kim'] })],
  ];
  for (const [what, here, there, expected] of cases) assert.deepEqual(merged({ [key]: here }, { [key]: there })[key], expected, what);
  const both = merged({ [key]: entry(['Kim', 'Lee']) }, { [id(other)]: { ...entry([]), link: teacherFragment(other) } });
  assert.deepEqual(Object.keys(both), [key, id(other)], 'an assignment of either');
});

test('a gradebook written to a file reads back the same; what is no gradebook is refused, and unsound entries dropped', () => {
  const book = { [key]: entry(['Kim', 'Lee'], { codes: `${k1}\n${l1}`, rule: 'first', edits: 2, dropped: ['choi'] }) };
  assert.deepEqual(imported(exported(book)), book);
  for (const text of ['', '{}', '[]', 'null', '{"format":"gauss-jordan gradebook"}', '{"format":"other","assignments":[]}'])
    assert.equal(imported(text), null, text);
  const kept = bookOf([{ link: '#gjinverse&teacher=AAAA' }, { link: teacherFragment(a).replace('teacher', 'assignment') }, 7,
                       { ...entry(['Kim']), codes: `x ${k1} y`, rule: 'worst', edits: -1, dropped: 'kim' }]);
  assert.deepEqual(kept, { [key]: entry(['Kim'], { codes: k1 }) });
  assert.deepEqual(bookOf('text'), {});
  // One code however a chat or a hand wrote it: with a hyphen, in lower case, O for 0 and l for 1, with characters of no width inside.
  const body = k1.slice(4);
  assert.match(body, /0.*1|1.*0/);
  const alike = [`${k1.slice(0, 10).toLowerCase()}-${k1.slice(10)}`, 'GJR1' + body.replace(/0/g, 'O').replace(/1/g, 'l'),
                 `${k1.slice(0, 9)}\u200b${k1.slice(9, 20)}\u00ad${k1.slice(20)}`];
  assert.equal(joinedCodes(k1, ...alike, null, k2), `${k1}\n${k2}`);
  assert.equal(joinedCodes(alike[1]), k1, 'kept as the page writes it');
  // Codes so kept of every kind are counted without a search, an own one's too; anything else is not so kept.
  const own = write({ ...newResult(id(a), 'Kim', 0), own: { ops: [], tries: 0, shown: 0, hints: 0, answer: null } });
  assert.deepEqual([`${k1}\n${own}`, `${k1}\n`, `${k1} x`, ''].map(joinedCount), [2, 0, 0, 0]);
  // A year's codes, read in pieces, counted as made; one of them spoiled (a text of the same length) is not so kept.
  const year = Array.from({ length: 2000 }, (_, i) => write(newResult(id(a), `S${i}`, 0)));
  const made = joinedCodes(year.join(' x\n'));
  assert.equal(made, year.join('\n'));
  assert.deepEqual([made, made.replace(year[1000], year[1000].toLowerCase()), year.join('\n')].map(joinedCount), [2000, 0, 2000]);
});

test('the class\'s scores across assignments: a row a student, a column an assignment, in percent', () => {
  const row = (name, right, asked, has = true) => ({ name, code: has ? 'X' : null, right, asked });
  const graded = [{ a, table: { rows: [row('Kim', 9, 9), row('Lee', 0, 9, false)] } },
                  { a: other, table: { rows: [row('kim', 2, 3), row('Park', 0, 0)] } }];
  assert.equal(bookCsv(translator('en'), graded), `\ufeffName,Week 1,${id(other)}\r\nKim,100,67\r\nLee,,\r\nPark,,\r\n`);
});
