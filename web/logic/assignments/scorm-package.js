// An assignment as a package that an LMS imports: the manifest
// (imsmanifest.xml) for SCORM 1.2 or 2004 4th edition, and the files of the
// package, the page's own and the manifest. One item, one resource: the page,
// launched with the assignment in its address; and an assignment's package,
// made of the release's web zip, with the name that it is saved under.
import { zip, unzip } from './zip.js';
import { studentFragment, fileTitle, id as idOf } from './assignment.js';
import { percent } from './scorm.js';
import { sha256 } from './packing.js';

// The most a web zip of the page is read from, and unpacks to, in bytes: the
// release's is some 150 KB, its files some 400 KB; unpacking 16 MB takes a
// fraction of a second, where a zip that inflates to gigabytes would hold
// the tab for minutes.
export const maxWebZip = 16 * 1024 * 1024;

// Each version's manifest: its namespaces and schema locations, the version
// that its metadata names, and how its resource says that it is a SCO.
const kinds = {
  '1.2': {
    namespaces: {
      xmlns: 'http://www.imsproject.org/xsd/imscp_rootv1p1p2',
      'xmlns:adlcp': 'http://www.adlnet.org/xsd/adlcp_rootv1p2',
    },
    locations: 'http://www.imsproject.org/xsd/imscp_rootv1p1p2 imscp_rootv1p1p2.xsd ' +
      'http://www.imsglobal.org/xsd/imsmd_rootv1p2p1 imsmd_rootv1p2p1.xsd http://www.adlnet.org/xsd/adlcp_rootv1p2 adlcp_rootv1p2.xsd',
    schemaversion: '1.2',
    scormType: 'adlcp:scormtype',
  },
  2004: {
    namespaces: {
      xmlns: 'http://www.imsglobal.org/xsd/imscp_v1p1',
      'xmlns:adlcp': 'http://www.adlnet.org/xsd/adlcp_v1p3',
      'xmlns:adlseq': 'http://www.adlnet.org/xsd/adlseq_v1p3',
      'xmlns:adlnav': 'http://www.adlnet.org/xsd/adlnav_v1p3',
      'xmlns:imsss': 'http://www.imsglobal.org/xsd/imsss',
    },
    locations: 'http://www.imsglobal.org/xsd/imscp_v1p1 imscp_v1p1.xsd http://www.adlnet.org/xsd/adlcp_v1p3 adlcp_v1p3.xsd ' +
      'http://www.adlnet.org/xsd/adlseq_v1p3 adlseq_v1p3.xsd http://www.adlnet.org/xsd/adlnav_v1p3 adlnav_v1p3.xsd ' +
      'http://www.imsglobal.org/xsd/imsss imsss_v1p0.xsd',
    schemaversion: '2004 4th Edition',
    scormType: 'adlcp:scormType',
  },
};

export const manifestName = 'imsmanifest.xml';

// text with the characters that XML gives a meaning escaped, and those that
// it does not allow (controls other than tab and line ends) dropped.
const xmlEscape = (text) => String(text)
  .replace(/[\x00-\x08\x0b\x0c\x0e-\x1f\ufffe\uffff]/g, '')
  .replace(/[&<>"']/g, (ch) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;', "'": '&apos;' })[ch]);

// An XML identifier (an NCName) made of id: what it does not take becomes '_',
// and one that does not start with a letter or '_' is prefixed.
const identifier = (id) => {
  const name = String(id ?? '').replace(/[^A-Za-z0-9._-]/g, '_');
  return /^[A-Za-z_]/.test(name) ? name : `gj_${name}`;
};

// The pass mark where the version needs it in the manifest. 1.2's mastery
// score, on the item, is on the scale of the raw score, which an LMS compares
// with it: a percentage (scorm.js). 2004's primary objective is satisfied by
// the scaled score, the share, and named for what it measures in the
// assignment's mode: the stages right the first time, or of the student's own
// operations the matrix reduced and read (scorm.js ownResultOf), or of a set
// its points earned (scorm.js setResultOf).
function passMarkXml(version, passMark, mode) {
  if (!Number.isFinite(passMark) || passMark < 0 || passMark > 1) return [];
  if (version === '1.2') return [`<adlcp:masteryscore>${percent(passMark)}</adlcp:masteryscore>`];
  return ['<imsss:sequencing>', '  <imsss:objectives>',
    `    <imsss:primaryObjective objectiveID="${{ own: 'matrix_reduced_and_read', set: 'points_earned' }[mode] ?? 'stages_right_first_time'}" satisfiedByMeasure="true">`,
    `      <imsss:minNormalizedMeasure>${Number(passMark.toFixed(4))}</imsss:minNormalizedMeasure>`,
    '    </imsss:primaryObjective>', '  </imsss:objectives>', '</imsss:sequencing>'];
}

// imsmanifest.xml for version ('1.2' or '2004') of a package: { id, title,
// launch, files, passMark, mode }, launch the page's address within the package
// (such as index.html#…), files the names of every file of the page,
// passMark a share from 0 to 1, or null, mode the assignment's ('set' for a set). Throws for
// another version.
export function manifest(version, { id, title, launch, files, passMark = null, mode = 'stages' }) {
  const kind = kinds[version];
  if (!kind) throw new RangeError(`no SCORM version ${version}`);
  const base = identifier(id);
  const attributes = Object.entries({ ...kind.namespaces, 'xmlns:xsi': 'http://www.w3.org/2001/XMLSchema-instance' })
    .map(([name, value]) => `${name}="${value}"`).join('\n    ');
  const indent = (lines, by) => lines.map((line) => ' '.repeat(by) + line);
  return [
    '<?xml version="1.0" encoding="UTF-8"?>',
    `<manifest identifier="${base}" version="1"`,
    `    ${attributes}`,
    `    xsi:schemaLocation="${kind.locations}">`,
    '  <metadata>',
    '    <schema>ADL SCORM</schema>',
    `    <schemaversion>${kind.schemaversion}</schemaversion>`,
    '  </metadata>',
    `  <organizations default="${base}_organization">`,
    `    <organization identifier="${base}_organization">`,
    `      <title>${xmlEscape(title)}</title>`,
    `      <item identifier="${base}_item" identifierref="${base}_page">`,
    `        <title>${xmlEscape(title)}</title>`,
    ...indent(passMarkXml(version, passMark, mode), 8),
    '      </item>',
    '    </organization>',
    '  </organizations>',
    '  <resources>',
    `    <resource identifier="${base}_page" type="webcontent" ${kind.scormType}="sco" href="${xmlEscape(launch)}">`,
    ...files.map((name) => `      <file href="${xmlEscape(name)}"/>`),
    '    </resource>',
    '  </resources>',
    '</manifest>',
    '',
  ].join('\n');
}

// The package's files, [{ name, bytes }]: the manifest (text) first, then the
// page's files as given; a page file of the manifest's name gives way to it.
function packageFiles(pageFiles, manifestText) {
  return [{ name: manifestName, bytes: new TextEncoder().encode(manifestText) },
    ...pageFiles.filter((f) => f.name !== manifestName)];
}

// A name that a package may carry: a path of plain parts below its root.
const safeName = (name) => !/^\/|\\|^[A-Za-z]:/.test(name) && name.split('/').every((part) => part !== '' && part !== '.' && part !== '..');

// The page's files in a zip of the page, such as the release's web zip:
// { files: [{ name, bytes }] }, the one folder that holds them all, if any,
// taken off their names; or { problem }: 'lms.tooLarge' for a zip that
// unpacks past maxWebZip (stopped there), 'lms.notPage' for bytes that are not
// a zip, hold no index.html at the root so found, or hold a name that climbs
// out of it or starts at a drive or the root.
export function webZipFiles(bytes) {
  let files;
  try { files = unzip(bytes, maxWebZip); } catch (e) { return { problem: e instanceof RangeError ? 'lms.tooLarge' : 'lms.notPage' }; }
  const top = files[0]?.name.match(/^[^/]+\//)?.[0];
  if (top && files.every((f) => f.name.startsWith(top))) files = files.map((f) => ({ ...f, name: f.name.slice(top.length) }));
  return files.every((f) => safeName(f.name)) && files.some((f) => f.name === 'index.html') ? { files } : { problem: 'lms.notPage' };
}

// webZipFiles' files, or null for any problem.
export const filesOfZip = (bytes) => webZipFiles(bytes).files ?? null;

// The problem of a file of size bytes picked as the web zip before it is
// read: 'lms.tooLarge' past maxWebZip, else null.
export const zipSizeProblem = (size) => (size > maxWebZip ? 'lms.tooLarge' : null);

// Whether a file of the page, by its name, is one of its scripts: the first
// (page.js) or a part's (parts/<name>.js).
const isScript = (name) => name === 'page.js' || /^parts\/[^/]+\.js$/.test(name);

// The digest of the page's scripts among files, or null without page.js: the
// SHA-256 of a line "<SHA-256 of the script> <name>" for each script, in the
// order of their names. The page carries its own (the build writes it,
// build/script-digest.cmake), to tell a web zip of another build, or one
// that lacks a part.
export const pageDigest = (files) => {
  if (!files.some((f) => f.name === 'page.js')) return null;
  const bytesOf = (f) => (typeof f.bytes === 'string' ? new TextEncoder().encode(f.bytes) : f.bytes);
  const lines = files.filter((f) => isScript(f.name)).sort((a, b) => (a.name < b.name ? -1 : 1)).map((f) => `${sha256(bytesOf(f))} ${f.name}\n`);
  return sha256(new TextEncoder().encode(lines.join('')));
};

// The zip of a package for an LMS of version: pageFiles ([{ name, bytes }])
// and the manifest that options describe (as manifest() takes them), which
// lists every one of those files but a manifest of their own.
export function lmsPackage(version, options, pageFiles) {
  const own = pageFiles.filter((f) => f.name !== manifestName);
  return zip(packageFiles(own, manifest(version, { ...options, files: own.map((f) => f.name) })));
}

// The files without which a zip is not the page's: its markup, its script and the programs.
const pageNames = ['index.html', 'page.js', 'programs.js'];

// The pass mark typed, as a share: pass-mark.js's, apart so that the form reads it without the zips.
export { passShare } from './pass-mark.js';

// The name that the package of version is saved under: the assignment's
// title as a file's name keeps it (assignment.fileTitle), or its id when it
// has none (or none that a file name keeps).
export const packageName = (title, id, version) => `${fileTitle(title, 100) || id}-scorm${version === '1.2' ? '12' : '2004'}.zip`;

// Assignment a's package for an LMS of version ('1.2' or '2004'), made of
// webZip (the bytes of the release's web zip) with passMark (a share, or
// null): { name, bytes }, launched on the student link without a name, which
// the LMS gives; or { problem }, webZipFiles' or 'lms.otherPage' where
// digest (the running page's pageDigest) is given and the zip's script is
// another.
export function packageFor(version, a, passMark, webZip, digest = null) {
  const { files, problem } = webZipFiles(webZip);
  if (problem || !pageNames.every((name) => files.some((f) => f.name === name))) return { problem: problem ?? 'lms.notPage' };
  if (digest !== null && pageDigest(files) !== digest) return { problem: 'lms.otherPage' };
  const id = idOf(a);
  const options = { id, title: a.title || id, launch: 'index.html' + studentFragment(a), passMark, mode: a.problems ? 'set' : a.mode };
  return { name: packageName(a.title, id, version), bytes: lmsPackage(version, options, files) };
}

// packageFor's package without the digest's check, or null for any problem.
export function assignmentPackage(version, a, passMark, webZip) {
  const made = packageFor(version, a, passMark, webZip);
  return made.problem ? null : made;
}
