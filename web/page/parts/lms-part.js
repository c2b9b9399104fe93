// The LMS, a part of the page (state/parts.js): a student's session in an
// LMS that launched the student's link, and an assignment's package for an
// LMS (page/packages.js), with the zips that both read and write.
import { connect, find } from '../lms.js';
import { makePackage } from '../packages.js';
import { keepInMemory } from '../storage.js';
import { parseLink } from '../../logic/assignments/assignment.js';

// An assignment's package for an LMS, made and saved.
export const effects = { package: (page, { package: asked }) => makePackage(page, asked) };

// Inside an LMS, which launches a student's link: the LMS names the student
// and keeps the work, and the browser keeps nothing, even when the LMS
// refuses the session; what it answered is in the state (state.lms).
export function start(page) {
  if (parseLink(location.hash)?.role !== 'student' || find(window) === null) return;
  keepInMemory();
  page.lms = connect(window, page.dispatch);
}
