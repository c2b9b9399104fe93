// "Download for an LMS" on the assignment form: the SCORM version, the pass
// mark and the release's web zip, which the teacher picks (the page cannot
// fetch its own files), read here and made into the assignment's package,
// which is saved as a download. The package itself is scorm-package.js's.
import { t, onChange } from '../language.js';
import { byId, save } from '../dom.js';
import { emit } from '../events.js';
import { assignmentPackage, passShare } from '../../logic/assignments/scorm-package.js';

const form = byId('lms-form');
const problem = byId('lms-problem');
const largest = 256 * 1024 * 1024;   // bytes of a web zip read at most: the page's is a few megabytes
let offered = null;   // the assignment whose package the form makes

// Offers the package of assignment a (null: none, the form is hidden with the links).
export function offer(a) {
  offered = a;
  problem.hidden = true;
}

const tell = (id) => {
  problem.textContent = t(id);
  problem.hidden = false;
};

// The package of the form's assignment from the picked zip, saved; or the
// problem said when the file is no zip of the page.
async function make() {
  const file = byId('lms-zip').files[0];
  const version = form.querySelector('input[name="lms-version"]:checked').value;
  const pass = passShare(byId('lms-pass').value);
  if (!offered || !file || pass === undefined) return;
  const made = file.size <= largest ? assignmentPackage(version, offered, pass, new Uint8Array(await file.arrayBuffer())) : null;
  if (!made) return tell('lms.notPage');
  problem.hidden = true;
  save(made.bytes, made.name, 'application/zip');
  emit('announce', () => [t('lms.made', { name: made.name })]);
}

form.addEventListener('submit', (event) => {
  event.preventDefault();
  make().catch(() => tell('lms.notPage'));
});
onChange(() => { if (!problem.hidden) tell('lms.notPage'); });
