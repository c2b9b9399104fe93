// The language switch and the texts of the markup: elements name their text
// with data-text (their content) or data-text-label (their aria-label); views
// that write texts of their own retell them on onChange.
import { t, language, setLanguage, initialLanguage } from '../logic/language.js';
import { stored, store } from './storage.js';

export { t, text, language, within } from '../logic/language.js';

const listeners = [];

// fn runs after every change of language, to retell texts that the code wrote.
export function onChange(fn) {
  listeners.push(fn);
}

function apply() {
  const current = language();
  document.documentElement.lang = current;
  for (const element of document.querySelectorAll('[data-text]')) element.textContent = t(element.dataset.text);
  for (const element of document.querySelectorAll('[data-text-label]'))
    element.setAttribute('aria-label', t(element.dataset.textLabel));
  for (const button of document.querySelectorAll('[data-language]'))
    button.setAttribute('aria-pressed', String(button.dataset.language === current));
  for (const listener of listeners) listener();
}

// Switches to code ('ko' or 'en'), remembers it and retells every text.
export function choose(code) {
  setLanguage(code);
  store('language', code);
  apply();
}

// The language remembered or preferred, and every text; the switch's buttons
// send the language chosen to send(code), and the page then chooses it.
export function start(send) {
  const preferred = (navigator.languages && navigator.languages[0]) || navigator.language || '';
  setLanguage(initialLanguage(stored('language'), preferred));
  for (const button of document.querySelectorAll('[data-language]'))
    button.addEventListener('click', () => send(button.dataset.language));
  apply();
}
