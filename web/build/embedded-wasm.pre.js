// Put before the generated module code, inside its function (--pre-js). The
// WebAssembly is inside programs.js as a data: URL (SINGLE_FILE); where fetch
// exists, the module fetches that URL first, which the page's
// Content-Security-Policy (connect-src 'none') refuses with a console error.
// This empty local fetch hides the global one from the module alone, so that it
// decodes the URL in place instead.
var fetch;
