// What the page keeps in the browser's storage, as JSON under one prefix. Storage
// may be refused (a private window, a file:// page with storage off): what is
// stored is then kept in memory instead, for as long as the page is open.
// What grows past what localStorage holds (about 5 MB in Chromium), a
// teacher's gradebook of a year (16 MB as a file opens), is kept large: in
// IndexedDB, with a mark in localStorage that another tab's storage event
// tells, and in localStorage where IndexedDB is refused.
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

// Stores value under key; gives whether it outlives the page: false when the
// browser refused it (storage full or off), which memory then keeps alone.
// Memory alone by choice (keepInMemory) is no refusal.
export function store(key, value) {
  memory.set(key, value);
  try {
    if (!browser) return true;
    const text = JSON.stringify(value);
    localStorage.setItem(prefix + key, text);
    return true;
  } catch (e) {
    return false;
  }
}

export function forget(key) {
  memory.delete(key);
  try { if (browser) localStorage.removeItem(prefix + key); } catch (e) { /* nothing was kept */ }
}

// ---- Kept large: IndexedDB ----

// The database of what is kept large, once asked for: a promise of it, null
// where the browser refuses it (then localStorage keeps all).
let database;
function opened() {
  database ??= new Promise((resolve) => {
    try {
      const asked = indexedDB.open('gauss-jordan', 1);
      asked.onupgradeneeded = () => asked.result.createObjectStore('kept');
      asked.onsuccess = () => resolve(asked.result);
      asked.onerror = asked.onblocked = () => resolve(null);
    } catch (e) {
      resolve(null);
    }
  });
  return database;
}

// The mark in localStorage that key is kept large: its last write's time and
// count, so that other tabs hear of each ('storage', as largeMark names it),
// and a tab tells whether another wrote since it did (largeMarked).
export const largeMark = (key) => `${prefix}${key}@`;
export const largeMarked = (key) => storedText(`${key}@`);
let writes = 0;

// A transaction of the large store, mode 'readonly' or 'readwrite', in which
// act(shelf, give) asks what it asks of the store (shelf) and gives (give) its
// outcome: a promise of that outcome once the transaction is done, or of
// refused where it fails (an error, an abort: the disk full).
const transacted = (db, mode, act, refused) => new Promise((resolve) => {
  try {
    let given;
    const t = db.transaction('kept', mode);
    act(t.objectStore('kept'), (value) => { given = value; });
    t.oncomplete = () => resolve(given);
    t.onerror = t.onabort = (event) => { event.preventDefault?.(); resolve(refused); };
  } catch (e) {
    resolve(refused);
  }
});

// The value kept large under key, or null: from IndexedDB once a value has
// been kept there; else what localStorage kept (as a page before this one
// did, or where IndexedDB is refused), moved over to IndexedDB. A promise;
// in memory alone (keepInMemory), memory's. A page that never kept one
// opens no database.
export async function storedLarge(key) {
  if (!browser) return memory.get(key) ?? null;
  const old = stored(key);
  const db = largeMarked(key) !== null || old !== null ? await opened() : null;
  if (!db) return old;
  const value = await transacted(db, 'readonly', (shelf, give) => { const got = shelf.get(key); got.onsuccess = () => give(got.result); }, undefined);
  if (value !== undefined || old === null) return value ?? null;
  if (await keptLarge(key, old)) {
    forget(key);
    marked(key);
  }
  return old;
}

// Notes that key's value was kept large, once more.
const marked = (key) => store(`${key}@`, `${Date.now()} ${++writes}`);

// Keeps under key value, or what value gives of the value kept there now
// (null: none) where it is a function, in one transaction: another tab's
// written meanwhile is taken in. In localStorage where IndexedDB is refused.
// A promise of whether it outlives the page (false: refused, as when the
// disk is full; memory keeps it alone).
export async function keptLarge(key, value) {
  const made = (there) => (typeof value === 'function' ? value(there ?? null) : value);
  if (!browser) {
    memory.set(key, made(memory.get(key)));
    return true;
  }
  const db = await opened();
  if (!db) return store(key, made(stored(key)));
  const done = await transacted(db, 'readwrite', (shelf, give) => {
    const put = (there) => {
      shelf.put(made(there), key);
      give(true);
    };
    if (typeof value !== 'function') return put(null);
    const got = shelf.get(key);
    got.onsuccess = () => put(got.result);
  }, false);
  if (done) marked(key);
  return done;
}
