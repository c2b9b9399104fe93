// The package that an LMS imports (web/logic/lms-package.js, web/logic/zip.js):
// each version's manifest against its golden file, the same zip in every time
// zone, the files of a zip of the page, and a package made of the built page,
// unzipped, holding what each version requires.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';
import { manifest, manifestName, filesOfZip, lmsPackage } from '../../../web/logic/lms-package.js';
import { zip } from '../../../web/logic/zip.js';
import { needsBuild } from './programs.js';

// The zip library that the page bundles, from the page's own packages.
const { unzipSync, strFromU8 } = createRequire(path.join(import.meta.dirname, '..', '..', '..', 'web', 'package.json'))('fflate');

const goldens = path.join(import.meta.dirname, 'lms-package');

test('each version\'s manifest is its golden file, title and address escaped; a pass mark only where one is given', () => {
  const p = { id: 'a7Kx-2', title: 'Week 3 <inverse> & "R&D" \'A\'\u0007 역행렬', launch: 'index.html#gjinverse&practice&seed=100&a=x',
    files: ['index.html', 'page.js', 'page.css'], passMark: 0.8, asked: 9 };
  assert.equal(manifest('1.2', p), fs.readFileSync(path.join(goldens, 'scorm-1.2.xml'), 'utf8'));
  assert.equal(manifest('2004', { ...p, id: '7up', passMark: 2 / 3 }), fs.readFileSync(path.join(goldens, 'scorm-2004.xml'), 'utf8'));
  // version, what differs from p, what the manifest then lacks
  const cases = [['1.2', { asked: null }, 'masteryscore'], ['1.2', { passMark: 1.5 }, 'masteryscore'], ['2004', { passMark: null }, 'imsss:sequencing']];
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

// The attribute name of an element's opening tag in xml, or undefined.
const attribute = (xml, element, name) => new RegExp(`<${element}\\b[^>]*\\s${name}="([^"]*)"`).exec(xml)?.[1];

test('a package made of a web zip of the built page holds what each version requires', needsBuild, () => {
  const build = process.env.GJ_WEB_BUILD;
  const names = ['index.html', 'page.js', 'page.css', 'worksheet-landscape.css', 'manifest.webmanifest', 'icon.svg',
    'icon-192.png', 'icon-512.png', 'sw.js', 'programs.js'];
  const pageFiles = names.map((name) => ({ name, bytes: fs.readFileSync(path.join(build, name)) }));
  const webZip = zip([...pageFiles, { name: manifestName, bytes: 'stale' }].map((f) => ({ ...f, name: `gauss-jordan-1.0-web/${f.name}` })));
  // version, schema version, the content package's namespace, the attribute that names a SCO
  const versions = [['1.2', '1.2', 'http://www.imsproject.org/xsd/imscp_rootv1p1p2', 'adlcp:scormtype'],
    ['2004', '2004 4th Edition', 'http://www.imsglobal.org/xsd/imscp_v1p1', 'adlcp:scormType']];
  for (const [version, schemaversion, namespace, scormType] of versions) {
    const options = { id: 'x1', title: 'T', launch: 'index.html#gjinverse&practice&seed=3', passMark: 0.5, asked: 4 };
    const unzipped = unzipSync(lmsPackage(version, options, filesOfZip(webZip)));
    const xml = strFromU8(unzipped[manifestName]);
    const listed = [...xml.matchAll(/<file href="([^"]+)"\/>/g)].map((m) => m[1]);
    const launch = attribute(xml, 'resource', 'href');
    assert.deepEqual([/<schema>ADL SCORM<\/schema>/.test(xml), /<schemaversion>([^<]+)</.exec(xml)[1], attribute(xml, 'manifest', 'xmlns')],
                     [true, schemaversion, namespace], version);
    assert.deepEqual([attribute(xml, 'resource', scormType), attribute(xml, 'item', 'identifierref')], ['sco', attribute(xml, 'resource', 'identifier')], version);
    assert.deepEqual(Object.keys(unzipped).sort(), [...listed, manifestName].sort(), `${version}: the zip holds every file listed, and nothing else`);
    assert.ok(unzipped[launch.split('#')[0]], `${version}: the launch page ${launch} is in the zip`);
    assert.ok(Buffer.from(unzipped['programs.js']).equals(pageFiles.at(-1).bytes), version);
    assert.doesNotMatch(xml, /stale/, `${version}: the package's own manifest`);
  }
});
