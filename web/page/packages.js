// The teacher's package for an LMS: the release's web zip that the teacher
// picked (the page cannot fetch its own files) read and made into the package
// of an assignment (scorm-package.js's), and saved as a download. A zip of
// another build than the page open here, one past the size read, or one that
// unpacks past it, is refused with its reason. Either way the outcome comes
// back as { type: 'packaged', name } or { type: 'packaged', problem }.
import { save } from '../views/dom.js';
import { packageFor, zipSizeProblem } from '../logic/assignments/scorm-package.js';

// The digest of the page's own script that the build wrote into the page, or
// null where it wrote none (a page run from its sources).
function ownDigest() {
  const written = /^sha256-([0-9a-f]{64})$/.exec(document.querySelector('meta[name="gj-script"]')?.content ?? '');
  return written ? written[1] : null;
}

// Makes assignment's package of version with pass (a share) from file, saves it, and says so.
export async function makePackage(page, { assignment, version, pass, file }) {
  const told = (outcome) => page.dispatch({ type: 'packaged', assignment, ...outcome });
  const large = zipSizeProblem(file.size);
  if (large) return told({ problem: large });
  try {
    const made = packageFor(version, assignment, pass, new Uint8Array(await file.arrayBuffer()), ownDigest());
    if (made.problem) return told({ problem: made.problem });
    save(made.bytes, made.name, 'application/zip');
    told({ name: made.name });
  } catch {
    told({ problem: 'lms.notPage' });
  }
}
