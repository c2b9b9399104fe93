// The teacher's gradebook as the page lists it, drawn from the state's
// gradebook into each of its boxes (under the assignment form, and in the
// teacher's view): a link per assignment kept in this browser, and the
// gradebook downloaded as one file, opened from one, and its scores as CSV.
import { t } from '../language.js';
import { el, button } from '../dom.js';
import { assignmentOf, headingOf, maxBookBytes } from '../../logic/assignments/gradebook.js';
import { id as idOf } from '../../logic/assignments/assignment.js';
import { joinedCount } from '../../logic/assignments/result-code.js';

const boxes = document.querySelectorAll('.gradebook');

// The list of the gradebook's assignments, each a link to its teacher's view;
// the one open (an id, or null) marked as the page, its codes not counted
// while they hold text pasted (pasted: teacher.js's drawCodes).
function listOf(book, open, pasted) {
  const entries = Object.values(book);
  if (entries.length === 0) return el('p', '', t('book.none'));
  const list = el('ul', 'book-list');
  for (const entry of entries) {
    const a = assignmentOf(entry);
    const codes = pasted && idOf(a) === open ? 0 : joinedCount(entry.codes);
    const link = el('a', 'names', t('book.item', { title: headingOf(a), program: a.program, codes }), { href: entry.link });
    if (idOf(a) === open) link.setAttribute('aria-current', 'page');
    const item = el('li');
    item.append(link);
    list.append(item);
  }
  return list;
}

// The box's file field that opens a gradebook, and its label.
function importer(box) {
  const input = el('input', 'book-file', undefined, { type: 'file', accept: '.json,application/json', id: `${box.id}-file` });
  return [el('label', '', t('book.import'), { htmlFor: input.id }), input];
}

// Draws the slice ({ gradebook, teacher, unsaved, pasted, language }) into
// every box; unsaved, whether the browser refused to keep the gradebook;
// pasted, the results' (state/teaching.js).
export function render({ gradebook, teacher, unsaved, pasted }) {
  const open = teacher && idOf(teacher);
  const some = Object.keys(gradebook).length > 0;
  for (const box of boxes) {
    const tools = el('p', 'book-tools');
    if (some) tools.append(button('book.export', () => ({ type: 'bookExported' })), ' ', button('book.csv', () => ({ type: 'bookCsvAsked' }), 'book-csv'), ' ');
    tools.append(...importer(box));
    box.replaceChildren(el('h3', '', t('book.heading')), el('p', 'help', t('book.help')),
      ...(unsaved ? [el('p', 'note-box', t('book.unsaved'))] : []), listOf(gradebook, open, pasted), tools);
  }
}

// A gradebook file chosen is read and sent to the page; one past the
// largest that opens is not read (the page says why).
export function connect(dispatch) {
  document.addEventListener('change', (event) => {
    const input = event.target;
    if (!input.classList?.contains('book-file') || !input.files?.[0]) return;
    const file = input.files[0];
    input.value = '';
    if (file.size > maxBookBytes) dispatch({ type: 'bookImported', text: null, size: file.size });
    else file.text().then((text) => dispatch({ type: 'bookImported', text, size: file.size }));
  });
}
