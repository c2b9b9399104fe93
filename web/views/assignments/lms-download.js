// "Download for an LMS", where an assignment was made and in the results view
// of a teacher's link (views/assignments/markup.js, each place's ids starting
// with its own at): the SCORM version, the pass mark and the release's web
// zip, which the teacher picks, asked of the state for that place's
// assignment (page/packages.js makes the package), and the problem that the
// state says of the last zip picked there.
import { t } from '../language.js';
import { byId } from '../dom.js';
import { passShare } from '../../logic/assignments/pass-mark.js';

// Each place, by what the state calls it: its ids' start.
const places = { made: '', teacher: 'teacher-' };

// Draws the problem of the last package asked at each place (the slice: {
// made, teacher, language }, each a text's id or null), if any.
export function render(slice) {
  for (const [from, at] of Object.entries(places)) {
    const [problem, id] = [byId(`${at}lms-problem`), slice[from] ?? null];
    problem.hidden = id === null;
    problem.textContent = id === null ? '' : t(id);
  }
}

// Asks for the package as either place's form gives it; a form first opened
// asks for the LMS's part, which makes it.
export function connect(dispatch) {
  for (const [from, at] of Object.entries(places)) {
    const form = byId(`${at}lms-form`);
    form.addEventListener('submit', (event) => {
      event.preventDefault();
      const file = byId(`${at}lms-zip`).files[0];
      const version = form.querySelector(`input[name="${at}lms-version"]:checked`).value;
      const pass = passShare(byId(`${at}lms-pass`).value);
      if (file && pass !== undefined) dispatch({ type: 'packageAsked', version, pass, file, from });
    });
    byId(`${at}lms`).addEventListener('toggle', (event) => { if (event.target.open) dispatch({ type: 'part', part: 'lms' }); });
  }
}
