// The page's one source of chance: a random 32-bit word from the browser's
// generator, for a new exercise's and a new assignment's seed, and the bytes
// of a new assignment's secret.
export const randomWord = () => crypto.getRandomValues(new Uint32Array(1))[0];

// n random bytes, as an array.
export const randomBytes = (n) => [...crypto.getRandomValues(new Uint8Array(n))];
