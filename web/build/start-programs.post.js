// Put after the module's factory, outside it (--extern-post-js): as soon as
// programs.js runs, it starts decoding and compiling the programs, and leaves
// the promise of them where the page (page.js) and node's tests find it.
globalThis.gaussJordanPrograms = GaussJordanPrograms();
