// "Download for an LMS" on the assignment form: the SCORM version, the pass
// mark and the release's web zip, which the teacher picks (the page cannot
// fetch its own files), read here and made into the package of the assignment
// that the state made, which is saved as a download. The package itself is
// scorm-package.js's; a zip of another build than the page open here, one
// past the size read, or one that unpacks past it, is refused with its reason.
import { t } from '../language.js';
import { byId } from '../dom.js';
import { packageFor, passShare, zipSizeProblem } from '../../logic/assignments/scorm-package.js';

const form = byId('lms-form');
const problem = byId('lms-problem');
let offered = null;   // the assignment whose package the form drawn makes
let said = null;      // the problem drawn (a text's id), or null

// The digest of the page's own script that the build wrote into the page, or
// null where it wrote none (a page run from its sources).
function ownDigest() {
  const written = /^sha256-([0-9a-f]{64})$/.exec(document.querySelector('meta[name="gj-script"]')?.content ?? '');
  return written ? written[1] : null;
}

// Draws the form for the assignment made (the slice: { made, language }); a
// problem said is said again in the language drawn.
export function render({ made }) {
  const a = made?.assignment ?? null;
  if (a !== offered) tell(null);
  offered = a;
  tell(said);
}

// Says the problem of id, or none (null).
const tell = (id) => {
  said = id;
  problem.hidden = id === null;
  problem.textContent = id === null ? '' : t(id);
};

// The package of the form's assignment from the picked zip, saved; or the
// problem said when the file is too large to read or is no zip of this page.
async function make(dispatch) {
  const file = byId('lms-zip').files[0];
  const version = form.querySelector('input[name="lms-version"]:checked').value;
  const pass = passShare(byId('lms-pass').value);
  if (!offered || !file || pass === undefined) return;
  const large = zipSizeProblem(file.size);
  if (large) return tell(large);
  const made = packageFor(version, offered, pass, new Uint8Array(await file.arrayBuffer()), ownDigest());
  if (made.problem) return tell(made.problem);
  tell(null);
  dispatch({ type: 'save', content: made.bytes, name: made.name, mime: 'application/zip' });
  dispatch({ type: 'packaged', name: made.name });
}

// Makes the package as the teacher asks.
export function connect(dispatch) {
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    make(dispatch).catch(() => tell('lms.notPage'));
  });
}
