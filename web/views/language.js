// The language switch and the texts of the markup: elements name their text
// with data-text (their content) or data-text-label (their aria-label). The
// language that the views are drawn in is a drawing cache of the state's,
// which page/draw.js hands to render(); t words in it.
import { text } from '../logic/language/translate.js';

export { text } from '../logic/language/translate.js';

let drawn = 'en';

// The text of id in the language the views are drawn in.
export const t = (id, values) => text(drawn, id, values);

export const language = () => drawn;

// Draws the texts of the markup within root in the language drawn: markup
// that a part of the page adds draws its own. A text that the markup holds
// already is left alone, so that the page's start changes no node in English.
export function drawTexts(root) {
  for (const element of root.querySelectorAll('[data-text]')) {
    const text = t(element.dataset.text);
    if (element.textContent !== text) element.textContent = text;
  }
  for (const element of root.querySelectorAll('[data-text-label]')) {
    const label = t(element.dataset.textLabel);
    if (element.getAttribute('aria-label') !== label) element.setAttribute('aria-label', label);
  }
}

// Draws the markup's texts and the switch in the language of the slice ('ko' or 'en').
export function render({ language: code }) {
  drawn = code;
  document.documentElement.lang = drawn;
  drawTexts(document);
  for (const button of document.querySelectorAll('[data-language]'))
    button.setAttribute('aria-pressed', String(button.dataset.language === drawn));
}

// The switch's buttons send the language chosen.
export function connect(dispatch) {
  for (const button of document.querySelectorAll('[data-language]'))
    button.addEventListener('click', () => dispatch({ type: 'language', code: button.dataset.language }));
}
