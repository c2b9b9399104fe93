// The page's language: Korean or English, first as the browser prefers, then as
// the user chose with the switch, remembered in storage. Elements name their
// text with data-text (their content) or data-text-label (their aria-label);
// views that write texts of their own retell them on onChange.
import { texts } from './texts.js';
import { stored, store } from './storage.js';
import { particle } from './korean.js';

const listeners = [];
let current = 'en';

// The text of id in language code, with each {name} replaced by values[name],
// and each {name:은/는} by the value and the particle of the pair that fits
// it (korean.js). A missing id, or a missing value for a placeholder, is an
// error: never a fallback to the other language, nor a {name} left on the screen.
export function text(code, id, values = {}) {
  const template = texts[code][id];
  if (template === undefined) throw new Error(`no text "${id}" in ${code}`);
  return template.replace(/\{(\w+)(?::([^{}]+))?\}/g, (whole, name, pair) => {
    if (values[name] === undefined || values[name] === null) throw new Error(`text "${id}" needs a value for {${name}}`);
    const value = String(values[name]);
    return pair === undefined ? value : value + particle(value, pair);
  });
}

export const t = (id, values) => text(current, id, values);

export const language = () => current;

// fn's result with the texts of language code, as a copy in another language
// than the page's is worded.
export function within(code, fn) {
  const before = current;
  current = code;
  try { return fn(); } finally { current = before; }
}

// fn runs after every change of language, to retell texts that the code wrote.
export function onChange(fn) {
  listeners.push(fn);
}

function apply() {
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
  current = code;
  store('language', code);
  apply();
}

// The language remembered or preferred, the switch's buttons, and every text.
export function start() {
  const remembered = stored('language');
  const preferred = (navigator.languages && navigator.languages[0]) || navigator.language || '';
  current = remembered in texts ? remembered : /^ko\b/i.test(preferred) ? 'ko' : 'en';
  for (const button of document.querySelectorAll('[data-language]'))
    button.addEventListener('click', () => choose(button.dataset.language));
  apply();
}
