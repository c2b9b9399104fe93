// The parts of the console dialogue that both programs share: the order prompt
// with its guard, the labels of a row prompt, reading a row of numbers, and the
// final check that the transcript was written. The output stream is flushed
// before every read, so that a prompt shows even when the output goes through a
// pipe.
#pragma once

#include <cstdio>

// Writes the order prompt to out and reads the order from in into n. An order of
// 0 or less is accepted: the run then has no rows. Returns false, leaving n alone,
// when no number can be read or the number is above max_order or beyond an int.
bool read_order(FILE *in, FILE *out, int max_order, int &n);

// Writes one line to err saying that the order must be from 1 to max_order, and
// returns the exit status for a refused order, 1.
int refuse_order(FILE *err, const char *program, int max_order);

// Writes the labels "a<i+1><j+1> " of row i's prompt, for j = 0 .. n-1.
void print_labels(FILE *out, int i, int n);

// Flushes out, then reads count numbers with "%lf" from in into row[0 .. count-1].
// A number that cannot be read leaves its cell as it was. Every read is tried:
// scanf leaves the offending text unread, so the reads after it mostly fail too,
// but one that consumed a lone sign lets the next read go on past it. With ops,
// each read is reported as entry (i, j) of the matrix, with where in the input it
// was found, which asks in for its position (ftell); without, in is only read.
void read_row(FILE *in, FILE *out, double *row, int count, int i, FILE *ops);

// Flushes out and returns the exit status: 0, or 1 after a line on err when any
// of the transcript could not be written.
int finish_output(FILE *out, FILE *err, const char *program);
