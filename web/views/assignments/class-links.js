// What the assignment form and the teacher's page share: an assignment's
// student links drawn into a box (one link for the class, or one per name as
// a list to copy, a CSV file and a printed page of names with QR codes), and
// that page of names, which a print holds (state/printing.js). The links themselves are
// assignment.js's.
import { t } from '../language.js';
import { byId, el, button, served, today } from '../dom.js';
import { qrOf } from '../qr.js';
import { drawnInPieces } from '../frames.js';
import { studentFragment, studentLinks, linksCsv, fileName } from '../../logic/assignments/assignment.js';

const sheet = byId('class-sheet');

// The page's address without its fragment: what every link starts with.
export const base = () => location.href.replace(/#.*$/, '');

// The page of names of assignment a, each with the QR code of their link,
// drawn for a print a card at a time between frames (a class's codes take
// a few milliseconds each, a set's links of long matrices more), telling
// told as frames.js's drawnInPieces does; a print drawn or cleared meanwhile
// stops it.
let drawing = null;
export function drawNames(a, told) {
  const job = drawing = nameCards(a);
  sheet.dataset.printing = '';
  drawnInPieces(job, () => drawing === job, told);
}

// The page's title, then a card a name: its name, its link's QR code, its link.
function* nameCards(a) {
  yield sheet.replaceChildren(el('h2', '', t('links.qrTitle', { title: a.title || t('links.untitled') })));
  for (const name of a.names) {
    const [link, card] = [base() + studentFragment(a, name), el('div', 'name-card')];
    const qr = qrOf(link, `${t('sheet.qr')}: ${name}`);
    card.append(el('p', 'name-card-name', name), ...(qr ? [qr] : []), el('p', 'sheet-link', link));
    yield sheet.append(card);
  }
}

// No page of names: after its print.
export function clearNames() {
  drawing = null;
  delete sheet.dataset.printing;
  sheet.replaceChildren();
}

// The student links of assignment a, drawn into box: for a class list, the
// list to copy, its CSV and its page of QR codes; else the one link that asks
// each student's name. From a file, a note that such links open nowhere else.
export function drawStudentLinks(box, a) {
  const parts = served() ? [] : [el('p', 'note-box', t('links.file'))];
  if (a.names.length === 0) {
    const link = base() + studentFragment(a);
    const line = el('p', 'link-line');
    line.append(el('a', 'student-link', link, { href: link }));
    parts.push(el('p', '', t('links.one')), line, button('links.copyOne', () => ({ type: 'copy', content: link, done: 'status.linkCopied' })));
  } else {
    const links = studentLinks(a, base());
    const listId = `${box.id}-list`;
    const list = el('textarea', 'link-list', links.map(({ name, link }) => `${name}: ${link}`).join('\n'),
                    { id: listId, readOnly: true, rows: Math.min(8, links.length), spellcheck: false, wrap: 'off' });
    const actions = el('p', 'link-actions');
    actions.append(button('links.copyList', () => ({ type: 'copy', content: list.value, done: 'links.listCopied' }), 'copy-list'), ' ',
                   button('links.csv', () => ({ type: 'save', content: linksCsv(t, links), name: fileName(t('links.fileLabel'), a, today()), mime: 'text/csv; charset=utf-8' }), 'save-csv'));
    if (served()) actions.append(' ', button('links.qr', () => ({ type: 'print', asked: { names: a } }), 'print-qr'));
    parts.push(el('label', '', t('links.list'), { htmlFor: listId }), list, actions);
  }
  box.replaceChildren(...parts);
}
