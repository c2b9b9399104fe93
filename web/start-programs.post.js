// Put after the module's factory, outside it (--extern-post-js): programs.js,
// the page's first script, starts decoding and compiling the programs at once,
// so that this overlaps with loading and running the page's other scripts.
// runner.js waits on the promise.
var GJ = globalThis.GJ = globalThis.GJ || {};
GJ.programs = GaussJordanPrograms();
