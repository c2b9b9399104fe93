// gjinverse's whole dialogue as one function, so that main, the tests and the
// fuzzer all drive the same code.
#pragma once

#include <cstdio>

// Reads a square matrix A from in and writes every stage of the Gauss-Jordan
// reduction of [A | I], then A's inverse, to out; messages go to err. Returns the
// exit status: 0, or 1 when the order is refused or out could not be written.
// With ops, each stage's operations go there too (see report.hpp).
int run_gjinverse(FILE *in, FILE *out, FILE *err, FILE *ops = nullptr);
