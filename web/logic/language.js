// The page's texts in the language chosen: Korean or English. The page sets the
// language (views/language.js); what is written in it reads it here.
import { texts } from './texts.js';
import { particle } from './korean.js';

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

// Makes code ('ko' or 'en') the language that t writes in.
export function setLanguage(code) {
  if (!(code in texts)) throw new Error(`no language "${code}"`);
  current = code;
}

// The language that a browser preferring preferred (a BCP 47 tag) reads best,
// unless remembered names one of the page's.
export const initialLanguage = (remembered, preferred) =>
  remembered in texts ? remembered : /^ko\b/i.test(preferred) ? 'ko' : 'en';

// fn's result with the texts of language code, as a copy in another language
// than the page's is worded.
export function within(code, fn) {
  const before = current;
  current = code;
  try { return fn(); } finally { current = before; }
}
