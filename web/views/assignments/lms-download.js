// "Download for an LMS" on the assignment form: the SCORM version, the pass
// mark and the release's web zip, which the teacher picks, asked of the state
// for the assignment that it made (page/packages.js makes the package), and
// the problem that the state says of the last zip picked.
import { t } from '../language.js';
import { byId } from '../dom.js';
import { passShare } from '../../logic/assignments/pass-mark.js';

const form = byId('lms-form');
const problem = byId('lms-problem');

// Draws the problem of the last package asked (the slice: { made, language }), if any.
export function render({ made }) {
  const id = made?.packageProblem ?? null;
  problem.hidden = id === null;
  problem.textContent = id === null ? '' : t(id);
}

// Asks for the package as the teacher's form gives it.
export function connect(dispatch) {
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    const file = byId('lms-zip').files[0];
    const version = form.querySelector('input[name="lms-version"]:checked').value;
    const pass = passShare(byId('lms-pass').value);
    if (file && pass !== undefined) dispatch({ type: 'packageAsked', version, pass, file });
  });
}
