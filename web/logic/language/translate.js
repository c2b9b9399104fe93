// The page's texts in Korean or English, for whatever words something: each
// caller names the language, by its code or by the translator it hands on.
// The language that the page is drawn in is the state's; none is kept here.
import { texts } from './texts.js';
import { particle } from './korean.js';

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

// One translator per language, made once, so that the same language always
// gives the same function.
const translators = Object.fromEntries(Object.keys(texts).map((code) => [code, (id, values) => text(code, id, values)]));

// The translator of language code ('ko' or 'en'): t(id, values), the text of
// id in that language. Throws for a language that the page has no texts in.
export function translator(code) {
  if (!Object.hasOwn(translators, code)) throw new Error(`no language "${code}"`);
  return translators[code];
}

// The language that a browser preferring preferred (a BCP 47 tag) reads best,
// unless remembered names one of the page's.
export const initialLanguage = (remembered, preferred) =>
  remembered in texts ? remembered : /^ko\b/i.test(preferred) ? 'ko' : 'en';
