// gjsolve's whole dialogue as one function, so that main, the tests and the
// fuzzer all drive the same code.
#pragma once

#include <cstdio>

// Reads a square linear system A x = b from in and writes every stage of the
// Gauss-Jordan reduction of [A | b], then the unknowns x1 .. xn, to out; messages
// go to err. Returns the exit status: 0, or 1 when the order is refused or out
// could not be written. With ops, each stage's operations go there too (see
// report.hpp).
int run_gjsolve(FILE *in, FILE *out, FILE *err, FILE *ops = nullptr);
