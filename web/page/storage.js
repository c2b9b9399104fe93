// What the page keeps in the browser's storage, as JSON under one prefix. Storage
// may be refused (a private window, a file:// page with storage off): what is
// stored is then kept in memory instead, for as long as the page is open.
// Imports nothing.

const prefix = 'gauss-jordan.';
const memory = new Map();
let browser = true;   // whether the browser's storage is used

// From now on, what is stored is kept in memory alone, as inside an LMS,
// which keeps the work itself.
export function keepInMemory() {
  browser = false;
}

// The text that the browser's storage holds under key, or null (none, or refused).
function storedText(key) {
  try { return browser ? localStorage.getItem(prefix + key) : null; } catch (e) { return null; }
}

// The value stored under key, or null. Text that is no JSON, as the language
// was once stored, is taken as it is.
export function stored(key) {
  const text = storedText(key);
  if (text === null) return memory.get(key) ?? null;
  try { return JSON.parse(text); } catch (e) { return text; }
}

// What was stored under key as read(value) reads it: read again only when
// the browser's storage holds other text than when last read or written here
// (another tab's), as a gradebook of a school's year takes a while to read.
const reads = new Map();   // key -> { text, value } last read or written
export function storedAs(key, read) {
  const text = storedText(key);
  const last = reads.get(key);
  if (text !== null && last?.text === text) return last.value;
  const value = read(text === null ? memory.get(key) ?? null : parsed(text));
  if (text !== null) reads.set(key, { text, value });
  return value;
}

const parsed = (text) => { try { return JSON.parse(text); } catch (e) { return text; } };

// Stores value under key; gives whether it outlives the page: false when the
// browser refused it (storage full or off), which memory then keeps alone.
// Memory alone by choice (keepInMemory) is no refusal.
export function store(key, value) {
  memory.set(key, value);
  try {
    if (!browser) return true;
    const text = JSON.stringify(value);
    localStorage.setItem(prefix + key, text);
    if (reads.has(key)) reads.set(key, { text, value });
    return true;
  } catch (e) {
    return false;
  }
}

export function forget(key) {
  memory.delete(key);
  try { if (browser) localStorage.removeItem(prefix + key); } catch (e) { /* nothing was kept */ }
}
