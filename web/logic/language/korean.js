// Korean particles: which of a pair (은/는, 이/가, 을/를, 와/과, 으로/로) follows
// a word, by the last sound of the word as a Korean speaker reads it aloud:
// Hangul as written, digits and Latin letters as Koreans read them (x1 엑스일,
// 10 십, 0.5 영점오, 1/3 삼분의 일, r 알). Imports nothing.

const digits = '영일이삼사오육칠팔구';
// The last syllable of each Latin letter's Korean name: a 에이, b 비, ... z 제트.
const letters = '이비씨디이프지치이이이엘엠엔오피큐알스티유이유스이트';
const places = ['', '십', '백', '천'];
const myriads = ['만', '억', '조', '경'];
// What closes a word, and the marks that isolate a name (assignment.isolated):
// neither is read aloud.
const closers = /[)\]}>'"”’」』》〉\s\u2066-\u2069]+$/;

// The last syllable of a number written in digits: a fraction a/b is read
// "b분의 a", a decimal digit by digit after its point, an exponent as a power
// (…승), an integer by its last nonzero digit or, after zeros, their place
// (10 십, 1200 천이백).
function lastOfNumber(word) {
  if (/\de[+-]?\d+$/i.test(word)) return '승';
  const fraction = /(\d+(?:\.\d+)?)\/\d+(?:\.\d+)?$/.exec(word);
  if (fraction) return lastOfNumber(fraction[1]);
  if (/\.\d+$/.test(word)) return digits[word.at(-1)];
  const integer = /\d+$/.exec(word)[0];
  const zeros = integer.length - integer.replace(/0+$/, '').length;
  if (zeros === integer.length) return '영';
  if (zeros === 0) return digits[integer.at(-1)];
  // Past four zeros the lowest nonzero group of four digits ends in its unit: 120000 십이만.
  return zeros < 4 ? places[zeros] : myriads[Math.min(Math.floor(zeros / 4), myriads.length) - 1];
}

// The last syllable of word as read aloud, or null when nothing in it is read.
function lastSyllable(word) {
  const trimmed = word.replace(closers, '');
  const last = trimmed.at(-1);
  if (last === undefined) return null;
  if (/\d/.test(last)) return lastOfNumber(trimmed);
  if (/[a-z]/i.test(last)) return letters[last.toLowerCase().charCodeAt(0) - 97];
  return last;
}

// The sound a syllable ends in: 'vowel', 'rieul' (ㄹ) or 'consonant'.
function ending(syllable) {
  const code = syllable === null ? -1 : syllable.charCodeAt(0) - 0xac00;
  if (code < 0 || code > 11171) return 'consonant';
  const final = code % 28;
  return final === 0 ? 'vowel' : final === 8 ? 'rieul' : 'consonant';
}

// The particles that follow a vowel; the other of each pair follows a consonant.
const afterVowel = new Set(['는', '가', '를', '와', '로']);

// The particle of pair ('은/는', '으로/로', ...) that follows word. 으로 and 로
// differ from the rest: ㄹ takes 로 as a vowel does.
export function particle(word, pair) {
  const forms = pair.split('/');
  const vowelForm = forms.find((form) => afterVowel.has(form));
  const consonantForm = forms.find((form) => form !== vowelForm);
  if (forms.length !== 2 || vowelForm === undefined || consonantForm === undefined) throw new Error(`no particle pair "${pair}"`);
  const sound = ending(lastSyllable(String(word)));
  return sound === 'vowel' || (sound === 'rieul' && vowelForm === '로') ? vowelForm : consonantForm;
}
