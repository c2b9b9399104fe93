// The parts of the console dialogue that both programs share: the order prompt
// with its guard, the labels of a row prompt, reading a row of numbers, and the
// final check that the transcript was written. Standard output is flushed before
// every read, so that a prompt shows even when the output goes through a pipe.
#pragma once

// Writes the order prompt and reads the order into n. An order of 0 or less is
// accepted: the run then has no rows. Returns false, after one line on standard
// error naming the range 1 .. max_order, when no number can be read or the number
// is above max_order or beyond an int.
bool read_order(const char *program, int max_order, int &n);

// Writes the labels "a<i+1><j+1> " of row i's prompt, for j = 0 .. n-1.
void print_labels(int i, int n);

// Flushes standard output, then reads count numbers with "%lf" into row[0 .. count-1].
// A number that cannot be read leaves its cell as it was, and scanf leaves the
// offending text unread, so the reads after it fail as well. Returns how many of
// the count numbers were read.
int read_row(double *row, int count);

// Flushes standard output and returns the exit status: 0, or 1 after a line on
// standard error when any of the transcript could not be written.
int finish_output(const char *program);
