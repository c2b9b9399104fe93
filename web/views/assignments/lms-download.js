// "Download for an LMS" on the assignment form: the SCORM version, the pass
// mark and the release's web zip, which the teacher picks (the page cannot
// fetch its own files), read here and made into the package of the assignment
// that the state made, which is saved as a download. The package itself is
// scorm-package.js's.
import { t } from '../language.js';
import { byId } from '../dom.js';
import { assignmentPackage, passShare } from '../../logic/assignments/scorm-package.js';

const form = byId('lms-form');
const problem = byId('lms-problem');
const largest = 256 * 1024 * 1024;   // bytes of a web zip read at most: the page's is a few megabytes
let offered = null;   // the assignment whose package the form drawn makes

// Draws the form for the assignment made (the slice: { made, language }); a
// problem said is said again in the language drawn.
export function render({ made }) {
  const a = made?.assignment ?? null;
  if (a !== offered) problem.hidden = true;
  offered = a;
  if (!problem.hidden) tell('lms.notPage');
}

const tell = (id) => {
  problem.textContent = t(id);
  problem.hidden = false;
};

// The package of the form's assignment from the picked zip, saved; or the
// problem said when the file is no zip of the page.
async function make(dispatch) {
  const file = byId('lms-zip').files[0];
  const version = form.querySelector('input[name="lms-version"]:checked').value;
  const pass = passShare(byId('lms-pass').value);
  if (!offered || !file || pass === undefined) return;
  const made = file.size <= largest ? assignmentPackage(version, offered, pass, new Uint8Array(await file.arrayBuffer())) : null;
  if (!made) return tell('lms.notPage');
  problem.hidden = true;
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
