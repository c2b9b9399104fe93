// What the node and browser tests share of a package for an LMS: the page's
// files as the release's web zip holds them, and the checks of an unzipped
// package against what each version requires.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';
import { manifestName, assignmentPackage } from '../../../web/logic/assignments/scorm-package.js';
import { zip } from '../../../web/logic/assignments/zip.js';

// The zip library that the page bundles, from the page's own packages.
const { unzipSync, strFromU8 } = createRequire(path.join(import.meta.dirname, '..', '..', '..', 'web', 'package.json'))('fflate');

// The files of the web zip (packaging/web.cmake installs them), the parts' scripts among them, read from the build folder.
export const pageNames = ['index.html', 'page.js', 'page.css', 'worksheet-landscape.css', 'manifest.webmanifest', 'icon.svg',
  'icon-192.png', 'icon-512.png', 'sw.js', 'programs.js'];
const partsOf = (build) => fs.readdirSync(path.join(build, 'parts')).sort().map((name) => `parts/${name}`);
export const pageFiles = (build) => [...pageNames, ...partsOf(build)].map((name) => ({ name, bytes: fs.readFileSync(path.join(build, name)) }));

// The release's web zip of the build's files, in its one folder, with more files if given.
export const webZip = (build, more = []) =>
  zip([...pageFiles(build), ...more].map((f) => ({ ...f, name: `gauss-jordan-1.0.0-web/${f.name}` })));

// The attribute name of an element's opening tag in xml, or undefined.
const attribute = (xml, element, name) => new RegExp(`<${element}\\b[^>]*\\s${name}="([^"]*)"`).exec(xml)?.[1];

// Each version's schema version, content package namespace and the attribute that names a SCO.
const required = {
  '1.2': ['1.2', 'http://www.imsproject.org/xsd/imscp_rootv1p1p2', 'adlcp:scormtype'],
  2004: ['2004 4th Edition', 'http://www.imsglobal.org/xsd/imscp_v1p1', 'adlcp:scormType'],
};

// Checks that bytes, a package for an LMS of version, holds what the version
// requires: its schema and schema version, one SCO that the item launches,
// every file of the zip listed and none more, a launch page in the zip.
// Returns { files, xml, launch }: the files unzipped (name → bytes), the
// manifest, and the launch address, its entities read.
export function checkPackage(bytes, version) {
  const [schemaversion, namespace, scormType] = required[version];
  const files = unzipSync(bytes);
  const xml = strFromU8(files[manifestName]);
  const listed = [...xml.matchAll(/<file href="([^"]+)"\/>/g)].map((m) => m[1]);
  const launch = attribute(xml, 'resource', 'href').replaceAll('&amp;', '&');
  assert.deepEqual([/<schema>ADL SCORM<\/schema>/.test(xml), /<schemaversion>([^<]+)</.exec(xml)[1], attribute(xml, 'manifest', 'xmlns')],
                   [true, schemaversion, namespace], version);
  assert.deepEqual([attribute(xml, 'resource', scormType), attribute(xml, 'item', 'identifierref')], ['sco', attribute(xml, 'resource', 'identifier')], version);
  assert.deepEqual(Object.keys(files).sort(), [...listed, manifestName].sort(), `${version}: the zip holds every file listed, and nothing else`);
  assert.ok(files[launch.split('#')[0]], `${version}: the launch page ${launch} is in the zip`);
  return { files, xml, launch };
}

// A folder with the stand-in LMS (browser/lms/), scorm-again and the package
// for version of assignment a (pass mark pass), made of zip, unzipped under
// package/: { folder, launch, pass }, the address that the LMS launches and
// the pass mark that the manifest sets.
export function lmsFolder(version, a, pass, zip) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'gj-lms-'));
  const from = { 'index.html': 'browser/lms', 'host.js': 'browser/lms', 'scorm-again.min.js': 'node_modules/scorm-again/dist' };
  for (const [name, dir] of Object.entries(from)) fs.copyFileSync(path.join(import.meta.dirname, '..', dir, name), path.join(folder, name));
  const { files, xml, launch } = checkPackage(assignmentPackage(version, a, pass, zip).bytes, version);
  for (const [file, bytes] of Object.entries(files)) {
    fs.mkdirSync(path.dirname(path.join(folder, 'package', file)), { recursive: true });
    fs.writeFileSync(path.join(folder, 'package', file), bytes);
  }
  return { folder, launch: 'package/' + launch, pass: /<(?:adlcp:masteryscore|imsss:minNormalizedMeasure)>([^<]+)</.exec(xml)[1] };
}
