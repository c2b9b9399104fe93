// The page's one source of chance: a random 32-bit word from the browser's
// generator, for a new exercise's and a new assignment's seed.
export const randomWord = () => crypto.getRandomValues(new Uint32Array(1))[0];
