// The language switch and the texts of the markup: elements name their text
// with data-text (their content) or data-text-label (their aria-label); views
// that write texts of their own retell them on onChange. The language the
// views are drawn in is a drawing cache of the state's, which the page sets
// through choose(); t words in it.
import { text, translator, initialLanguage } from '../logic/translate.js';
import { stored, store } from './storage.js';

export { text } from '../logic/translate.js';

let drawn = 'en';
const listeners = [];

// The text of id in the language the views are drawn in.
export const t = (id, values) => text(drawn, id, values);

export const language = () => drawn;

// fn runs after every change of language, to retell texts that the code wrote.
export function onChange(fn) {
  listeners.push(fn);
}

function apply() {
  document.documentElement.lang = drawn;
  for (const element of document.querySelectorAll('[data-text]')) element.textContent = t(element.dataset.text);
  for (const element of document.querySelectorAll('[data-text-label]'))
    element.setAttribute('aria-label', t(element.dataset.textLabel));
  for (const button of document.querySelectorAll('[data-language]'))
    button.setAttribute('aria-pressed', String(button.dataset.language === drawn));
  for (const listener of listeners) listener();
}

// Draws the views in code ('ko' or 'en'), remembers it and retells every text.
export function choose(code) {
  translator(code);  // throws for a language that the page has no texts in
  drawn = code;
  store('language', code);
  apply();
}

// The language remembered or preferred, and every text; the switch's buttons
// send the language chosen to send(code), and the page then chooses it.
export function start(send) {
  const preferred = (navigator.languages && navigator.languages[0]) || navigator.language || '';
  drawn = initialLanguage(stored('language'), preferred);
  for (const button of document.querySelectorAll('[data-language]'))
    button.addEventListener('click', () => send(button.dataset.language));
  apply();
}
