// The page's programs (build-web/programs.js, web/bridge.cpp) under node, for
// tests and benchmarks: load the module once, then run either program over some
// typed text and read what it wrote, as the page does.
//
//   const programs = require('./programs.js');
//   const module = await programs.load(process.env.GJ_WEB_BUILD);
//   const { status, output, errors, report } = programs.run(module, 'gjsolve', '1\n4 8\n', true);
'use strict';
const path = require('node:path');

// The module of the web build in buildDir, once it is ready.
async function load(buildDir) {
  const factory = require(path.resolve(buildDir, 'programs.js'));
  return factory();
}

// Runs program ('gjinverse' or 'gjsolve') over input, followed by the end of
// input when ended. status is the exit status, or -1 when the program waits for
// more input (output, errors and report then stop where it waited); output is the
// transcript as bytes (a Uint8Array: the commentary is UTF-8, or CP949 in a CP949
// build); errors and report (core/report.hpp) are text.
function run(module, program, input, ended = true) {
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();
  const withBytes = (bytes, fn) => {
    const at = module._malloc(bytes.length + 1);
    module.HEAPU8.set(bytes, at);
    module.HEAPU8[at + bytes.length] = 0;
    try { return fn(at); } finally { module._free(at); }
  };
  const heapBytes = (at, size) => module.HEAPU8.slice(at, at + size);
  const typed = encoder.encode(input);
  const status = withBytes(encoder.encode(program), (name) =>
    withBytes(typed, (text) => module._gj_run(name, text, typed.length, ended ? 1 : 0)));
  return {
    status,
    output: heapBytes(module._gj_output(), module._gj_output_size()),
    errors: decoder.decode(heapBytes(module._gj_errors(), module._gj_errors_size())),
    report: decoder.decode(heapBytes(module._gj_report(), module._gj_report_size())),
  };
}

module.exports = { load, run };
