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

// The value stored under key, or null. Text that is no JSON, as the language
// was once stored, is taken as it is.
export function stored(key) {
  let text = null;
  try { if (browser) text = localStorage.getItem(prefix + key); } catch (e) { /* refused: memory has what this page stored */ }
  if (text === null) return memory.get(key) ?? null;
  try { return JSON.parse(text); } catch (e) { return text; }
}

// Stores value under key; gives whether it outlives the page: false when the
// browser refused it (storage full or off), which memory then keeps alone.
// Memory alone by choice (keepInMemory) is no refusal.
export function store(key, value) {
  memory.set(key, value);
  try {
    if (browser) localStorage.setItem(prefix + key, JSON.stringify(value));
    return true;
  } catch (e) {
    return false;
  }
}

export function forget(key) {
  memory.delete(key);
  try { if (browser) localStorage.removeItem(prefix + key); } catch (e) { /* nothing was kept */ }
}
