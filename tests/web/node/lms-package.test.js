// The package that an LMS imports (web/logic/assignments/scorm-package.js,
// zip.js beside it): each version's manifest against its golden file, the same
// zip in every time zone, the files of a zip of the page (and none of a zip
// that unpacks past its cap), and a package made of the built page, unzipped,
// holding what each version requires; an assignment's package, its name, its
// pass mark and the page's own script.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';
import { manifest, manifestName, filesOfZip, webZipFiles, lmsPackage, assignmentPackage, packageFor, pageDigest, passShare, packageName, zipSizeProblem,
  maxWebZip } from '../../../web/logic/assignments/scorm-package.js';
import { zip, unzip } from '../../../web/logic/assignments/zip.js';
import { sha256 } from '../../../web/logic/assignments/packing.js';
import * as assignment from '../../../web/logic/assignments/assignment.js';
import { needsBuild, programs } from './programs.js';
import { webZip, pageFiles, checkPackage } from './scorm-package.js';

// The zip library that the page bundles, from the page's own packages.
const { unzipSync, strFromU8 } = createRequire(path.join(import.meta.dirname, '..', '..', '..', 'web', 'package.json'))('fflate');

before(programs);

const goldens = path.join(import.meta.dirname, 'lms-package');

test('each version\'s manifest is its golden file, title and address escaped; a pass mark only where one is given', () => {
  const p = { id: 'a7Kx-2', title: 'Week 3 <inverse> & "R&D" \'A\'\u0007 역행렬', launch: 'index.html#gjinverse&practice&seed=100&a=x',
    files: ['index.html', 'page.js', 'page.css'], passMark: 0.8 };
  assert.equal(manifest('1.2', p), fs.readFileSync(path.join(goldens, 'scorm-1.2.xml'), 'utf8'));
  assert.equal(manifest('2004', { ...p, id: '7up', passMark: 2 / 3 }), fs.readFileSync(path.join(goldens, 'scorm-2004.xml'), 'utf8'));
  // version, what differs from p, what the manifest then lacks
  const cases = [['1.2', { passMark: null }, 'masteryscore'], ['1.2', { passMark: 1.5 }, 'masteryscore'], ['2004', { passMark: null }, 'imsss:sequencing'],
    ['2004', { mode: 'own' }, 'stages_right_first_time']];
  for (const [version, more, lacks] of cases) assert.ok(!manifest(version, { ...p, ...more }).includes(lacks), `${version} ${JSON.stringify(more)}`);
  assert.throws(() => manifest('1.3', p), RangeError);
});

test('the same files make the same zip in every time zone, and unzip as they were', () => {
  const files = [{ name: 'b.txt', bytes: 'zweite 두 번째\n'.repeat(50) }, { name: 'a/c.bin', bytes: new Uint8Array([0, 255, 7]) }];
  const zone = process.env.TZ;
  const made = ['UTC', 'Asia/Seoul', 'America/Los_Angeles'].map((tz) => { process.env.TZ = tz; return Buffer.from(zip(files)); });
  process.env.TZ = zone ?? '';
  if (zone === undefined) delete process.env.TZ;
  assert.ok(made.every((bytes) => bytes.equals(made[0])), 'one zip for every zone');
  const back = unzipSync(made[0]);
  assert.deepEqual(Object.keys(back), ['b.txt', 'a/c.bin']);
  assert.deepEqual([strFromU8(back['b.txt']), [...back['a/c.bin']]], [files[0].bytes, [0, 255, 7]]);
  assert.throws(() => zip([...files, files[0]]), /two files named b\.txt/);
});

test('a zip of the page gives its files from its root, and nothing for a zip that is not one', () => {
  const f = (name) => ({ name, bytes: name });
  // files zipped, the names of the page's files (null: none)
  const cases = [
    [['gauss-jordan-1.0-web/index.html', 'gauss-jordan-1.0-web/page.js'], ['index.html', 'page.js']],
    [['index.html', 'icons/a.png'], ['index.html', 'icons/a.png']],
    [['top/index.html', 'other/page.js'], null], [['top/page.js'], null], [['index.html', '../evil.js'], null],
    [['index.html', 'a/../../evil.js'], null], [['index.html', '/etc/x'], null], [['index.html', 'C:/x'], null],
    [['index.html', 'a\\..\\x'], null], [['index.html', './a'], null], [['index.html', 'a//b'], null], [['a/index.html', 'a/b/'], ['index.html']],
  ];
  for (const [names, expected] of cases) assert.deepEqual(filesOfZip(zip(names.map(f)))?.map((x) => x.name) ?? null, expected, names.join());
  assert.equal(filesOfZip(new TextEncoder().encode('not a zip')), null);
});

// A zip whose headers (local, at 22, and central, at 24) say that its files unpack to size bytes.
function declaring(bytes, size) {
  const view = new DataView(bytes.slice().buffer);
  for (let at = 0; at < view.byteLength - 4; at++) {
    const field = { 0x04034b50: 22, 0x02014b50: 24 }[view.getUint32(at, true)];
    if (field) view.setUint32(at + field, size, true);
  }
  return new Uint8Array(view.buffer);
}

test('a zip that unpacks past its cap is refused, before unpacking by what it declares, or as it unpacks', () => {
  const zeros = zip([{ name: 'index.html', bytes: new Uint8Array(20000) }, { name: 'page.js', bytes: 'x' }]);
  assert.ok(zeros.length < 1000, `${zeros.length} bytes`);
  assert.deepEqual(unzip(zeros, 20001).map((f) => [f.name, f.bytes.length]), [['index.html', 20000], ['page.js', 1]]);
  for (const bytes of [zeros, declaring(zeros, 10)]) assert.throws(() => unzip(bytes, 19999), RangeError);
  // zip, what webZipFiles finds: the size declared past the cap, or a zip that is none
  const cases = [[declaring(zeros, maxWebZip), 'lms.tooLarge'], [zeros.slice(0, 100), 'lms.notPage'], [zeros, undefined]];
  assert.deepEqual(cases.map(([bytes]) => webZipFiles(bytes).problem), cases.map((c) => c[1]));
  assert.deepEqual([zipSizeProblem(maxWebZip), zipSizeProblem(maxWebZip + 1)], [null, 'lms.tooLarge']);
  assert.deepEqual(['', 'abc'].map((text) => sha256(new TextEncoder().encode(text))),
    ['e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855', 'ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad']);
});

test('a package made of a web zip of the built page holds what each version requires', needsBuild, () => {
  const build = process.env.GJ_WEB_BUILD;
  const zipped = webZip(build, [{ name: manifestName, bytes: 'stale' }]);
  for (const version of ['1.2', '2004']) {
    const options = { id: 'x1', title: 'T', launch: 'index.html#gjinverse&practice&seed=3', passMark: 0.5 };
    const { files, xml, launch } = checkPackage(lmsPackage(version, options, filesOfZip(zipped)), version);
    assert.equal(launch, options.launch, version);
    assert.ok(Buffer.from(files['programs.js']).equals(fs.readFileSync(path.join(build, 'programs.js'))), version);
    assert.doesNotMatch(xml, /stale/, `${version}: the package's own manifest`);
  }
});

// The launch on the student link and the file's name are the practice scenario's, which makes both versions on the form.
test('an assignment\'s package passes at its percentage, and is made only from a zip of the running page', needsBuild, () => {
  const build = process.env.GJ_WEB_BUILD;
  const a = assignment.assignment({ seed: 12345, order: 3, names: ['Kim Minji', 'Lee Jiwoo'] });
  const [page, zipped] = [pageFiles(build), webZip(build)];
  const made = packageFor('1.2', a, 0.625, zipped, pageDigest(page));
  const { xml } = checkPackage(made.bytes, '1.2');
  assert.deepEqual([made.name, /<adlcp:masteryscore>([\d.]+)</.exec(xml)?.[1], packageFor('2004', a, null, zipped, '0'.repeat(64)).problem],
    ['Q2948V0-scorm12.zip', '62.5', 'lms.otherPage']);
  const partless = zip(page.filter((f) => f.name !== 'parts/teacher.js'));
  assert.equal(packageFor('1.2', a, 0.6, partless, pageDigest(page)).problem, 'lms.otherPage', 'a web zip without a part of the page');
  const written = /<meta name="gj-script" content="sha256-([0-9a-f]{64})">/.exec(fs.readFileSync(path.join(build, 'index.html'), 'utf8'));
  assert.equal(written?.[1], pageDigest(page), 'the page carries its own script\'s digest, which the build wrote after bundling it');
  // what is picked instead of the web zip
  const notPage = [zip(page.filter((f) => f.name !== 'programs.js')), zip([{ name: 'index.html', bytes: '<p>' }]),
    new TextEncoder().encode('PK not a zip'), new Uint8Array(0)];
  for (const bytes of notPage) assert.deepEqual([assignmentPackage('1.2', a, 0.6, bytes), packageFor('1.2', a, 0.6, bytes).problem], [null, 'lms.notPage']);
});

test('the pass mark typed and the package\'s file name', () => {
  // typed, the share (null: none; undefined: refused)
  const marks = [['', null], [' 60 ', 0.6], ['0', 0], ['100', 1], ['62.5', 0.625], ['100.5', undefined], ['-5', undefined],
    ['1e2', undefined], ['sixty', undefined]];
  for (const [typed, share] of marks) assert.equal(passShare(typed), share, typed);
  // title, version, the file name: by the rule of every file the page names (assignment.fileTitle), a control of direction too
  const names = [['월요일 과제: 역행렬', '1.2', '월요일 과제 역행렬-scorm12.zip'], ['', '2004', 'ABC1234-scorm2004.zip'],
    ['..', '1.2', 'ABC1234-scorm12.zip'], ['a\\b\t"c"?', '2004', 'a b c-scorm2004.zip'], [' .hidden. ', '1.2', 'hidden-scorm12.zip'],
    ['x'.repeat(150), '1.2', 'x'.repeat(100) + '-scorm12.zip'], ['piz.\u202eexe', '1.2', 'piz. exe-scorm12.zip']];
  for (const [title, version, name] of names) assert.equal(packageName(title, 'ABC1234', version), name, title);
});
