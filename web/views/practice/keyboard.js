// Practice on a phone: the focused answer field and its verdict kept in the
// part of the screen that an on-screen keyboard leaves free (the visual
// viewport, as it resizes when the keyboard opens or the phone turns), the
// verdict line placed under the row of the field it judges, and what stands
// in for Enter: a check button beside each field, and a mark on an answer
// left for another field before it was checked.
import { t } from '../language.js';
import { el } from '../dom.js';
import { freePart, scrollNeeded } from '../../logic/layout/viewport.js';

const margin = 6;  // px left between what must be seen and the edge of the free part
const touch = () => window.matchMedia?.('(pointer: coarse)').matches === true;

// The height of the printout strip stuck to the top of the stage that holds element, if any.
function stripAbove(element) {
  const strip = element.closest('.practice-stage')?.querySelector(':scope > .printout-box');
  return strip && strip.compareDocumentPosition(element) & Node.DOCUMENT_POSITION_FOLLOWING ? strip.offsetHeight : 0;
}

// Scrolls the entries' block sideways, where element is in it, so that element
// stands wholly in its view, clear of the row names stuck to its left.
function keepInRow(element) {
  const grid = element.closest('.entry-grid');
  if (!grid) return;
  const view = grid.getBoundingClientRect();
  const names = grid.querySelector('.row-label')?.getBoundingClientRect().width ?? 0;
  const { left, right } = element.getBoundingClientRect();
  grid.scrollLeft += scrollNeeded([{ top: left, bottom: right }], { top: view.left + names, bottom: view.left + grid.clientWidth }, margin);
}

// Scrolls element into view within the entries' block that scrolls sideways,
// then the page so that element and, as far as they fit, the others given (the
// verdict line, the hint, when they have words) lie in the part of the screen
// left free.
export function keepInView(element, ...others) {
  bringIn(element, others);
  // Firefox scrolls the caret of the field just left into view a moment
  // later, which can push this one out of its row's view: look again.
  requestAnimationFrame(() => { if (element.contains(document.activeElement)) bringIn(element, others); });
}

function bringIn(element, others) {
  keepInRow(element);
  const free = freePart({ visual: window.visualViewport ?? null, innerHeight, touch: touch(), covered: stripAbove(element) });
  // Room below practice as tall as the keyboard, so that its last field can scroll up above it.
  document.getElementById('practice-body')?.style.setProperty('--keyboard', `${Math.max(0, innerHeight - free.bottom)}px`);
  const shown = others.filter((e) => e?.isConnected && !e.hidden && e.textContent !== '');
  const delta = scrollNeeded([element, ...shown].map((e) => e.getBoundingClientRect()), free, margin);
  if (delta !== 0) window.scrollBy(0, delta);
}

// Keeps whatever focused() gives (an element and the others to show with it,
// or null) in view whenever the free part of the screen changes: a keyboard
// opens or closes, the phone turns.
function followViewport(focused) {
  let queued = false;
  const again = () => {
    if (queued) return;
    queued = true;
    requestAnimationFrame(() => {
      queued = false;
      const shown = focused();
      if (shown) keepInView(...shown);
    });
  };
  window.visualViewport?.addEventListener('resize', again);
  window.addEventListener('resize', again);
}

// Puts the verdict line right under the row of field: as the last item of
// its entry row, or of its decision's line.
export function placeVerdict(verdict, field) {
  const row = field.closest('.entry-row, .decisions li');
  if (row && verdict.parentElement !== row) row.append(verdict);
}

// A small button beside a field that checks it as Enter does, named for the
// question; pressing it leaves the focus (and the keyboard) on the field.
export function checkButton(label) {
  const button = el('button', 'check', '↵', { type: 'button', tabIndex: -1 });
  button.setAttribute('aria-label', t('practice.check', { label }));
  button.addEventListener('mousedown', (event) => event.preventDefault());
  return button;
}

// Marks input, left with an answer not yet checked, with '?' beside it, or
// (on false, as the learner comes back to it) no longer; mark() of practice
// clears it too, when the answer is checked.
function markUnchecked(input, unchecked = true) {
  input.classList.toggle('unchecked', unchecked);
  input.nextElementSibling.textContent = unchecked ? '?' : '';
}

// Watches the answer fields of practice's body: a field reached with Tab, or
// tapped, is scrolled wholly into view, and an answer left there unchecked is
// being worked on again; an answer left for another field without Enter, not
// as it was last checked (checked(input), the session's), is marked as not yet
// checked (not when a repaint takes the field away), and said
// (unchecked(input)) unless the window lost the focus; the focused field and
// what others(k) gives of its stage stay in view as the free part changes.
export function watchFields(body, others, checked, unchecked) {
  body.addEventListener('focusin', (event) => {
    if (!event.target.matches('input.answer')) return;
    keepInView(event.target.closest('.answer-box'));
    if (event.target.matches('.unchecked')) markUnchecked(event.target, false);
  });
  body.addEventListener('focusout', (event) => {
    const input = event.target;
    if (!input.matches('input.answer') || input.readOnly || !input.isConnected || input.value.trim() === '') return;
    if (input.value === checked(input)) return;
    markUnchecked(input);
    if (document.hasFocus()) unchecked(input);
  });
  followViewport(() => {
    const input = document.activeElement;
    return body.contains(input) && input.matches('input.answer, .choice')
      ? [input.closest('.answer-box, .decisions li'), ...others(Number(input.dataset.k))] : null;
  });
}
