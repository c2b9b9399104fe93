// The page's language: Korean or English, first as the browser prefers, then as
// the user chose with the switch, remembered in localStorage. Elements name their
// text with data-text (their content) or data-text-label (their aria-label);
// views that write texts of their own retell them on onChange.
'use strict';
var GJ = globalThis.GJ = globalThis.GJ || {};

GJ.language = (() => {
  const key = 'gauss-jordan.language';
  const listeners = [];
  let current = 'en';

  // Storage may be refused (a private window, a file:// page with storage off);
  // the page then simply forgets the choice.
  function remembered() {
    try { return localStorage.getItem(key); } catch (e) { return null; }
  }

  function remember(code) {
    try { localStorage.setItem(key, code); } catch (e) { /* forgotten, as above */ }
  }

  // The text of id in language code, with each {name} replaced by values[name].
  // A missing id, or a missing value for a placeholder, is an error: never a
  // fallback to the other language, nor a {name} left on the screen.
  function text(code, id, values = {}) {
    const template = GJ.texts[code][id];
    if (template === undefined) throw new Error(`no text "${id}" in ${code}`);
    return template.replace(/\{(\w+)\}/g, (whole, name) => {
      if (values[name] === undefined || values[name] === null) throw new Error(`text "${id}" needs a value for {${name}}`);
      return String(values[name]);
    });
  }

  const t = (id, values) => text(current, id, values);

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
  function choose(code) {
    current = code;
    remember(code);
    apply();
  }

  function start() {
    const stored = remembered();
    const preferred = (navigator.languages && navigator.languages[0]) || navigator.language || '';
    current = stored in GJ.texts ? stored : /^ko\b/i.test(preferred) ? 'ko' : 'en';
    for (const button of document.querySelectorAll('[data-language]'))
      button.addEventListener('click', () => choose(button.dataset.language));
    apply();
  }

  return {
    t, text, start, choose,
    get current() { return current; },
    // fn runs after every change of language, to retell texts that the code wrote.
    onChange(fn) { listeners.push(fn); },
  };
})();

if (typeof module === 'object' && module.exports) module.exports = GJ.language;
