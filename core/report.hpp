// The operation report: what each stage did to the matrix, for a reader who wants
// more than the printouts (the web page lists it beside each printout and replays
// it in exact arithmetic). The stages write it to an optional stream; the console
// programs pass none, and then nothing is formatted or written.
//
// One line per operation, fields separated by one blank. Rows and columns are
// 1-based, as the user sees them. A number is written as the transcript prints it
// ("%g"), then "=", then exactly ("%.17g"): 0.333333=0.33333333333333331, -0=-0,
// nan=nan, inf=inf.
//
//   read i j at size [x]
//                      a row prompt read entry (i, j) from the size bytes of the
//                      input that start at byte at (from 0; the blanks before it
//                      are not counted); x is the number stored, absent when the
//                      read failed and the cell kept its value (size 0 at the end
//                      of input, but a failed read may consume a few bytes)
//   row i x1 .. xw     the entries of row i as read, before the input printout
//   scale i c d        row i divided by d, its entry of largest magnitude, from column c
//   swap i k           the pivot pass exchanged rows i and k = i + 1
//   no_exchange j      the pivot pass for column j exchanged nothing
//   combine t p r      row t replaced by row p minus r times row t
//   unchanged t p      row t left alone: its entry in column p is 0
//   divide i d         row i divided by its diagonal entry d (gjinverse)
//   quotient j b d x   x_j = b / d, printed as x (gjsolve)
//   stage id first last [j]
//                      the printout of stage id is written: columns first .. last
//                      of each row (1 0 for none); j is the column that a pivot
//                      pass or an elimination works on. The lines since the
//                      previous stage line are its operations
//   stage solution     gjsolve's unknowns are written (no matrix, so no columns)
#pragma once

#include "commentary.hpp"

#include <cstdio>
#include <initializer_list>

// Writes one line to ops, if there is one: the name, each of places (0-based, so
// written plus one), then numbers[0 .. count-1] in both forms.
void report(FILE *ops, const char *name, std::initializer_list<int> places,
            const double *numbers = nullptr, int count = 0);

inline void report(FILE *ops, const char *name, std::initializer_list<int> places,
                   std::initializer_list<double> numbers)
{
    report(ops, name, places, numbers.begin(), static_cast<int>(numbers.size()));
}

// Writes "read <i+1> <j+1> <at> <size>" to ops, if there is one, then x in both
// forms unless x is null (the read failed).
void report_read(FILE *ops, int i, int j, long at, long size, const double *x);

// Writes "stage <id> <first+1> <end>" to ops, if there is one, then j+1 when j >= 0:
// the printout showed columns first .. end-1, and the stage worked on column j.
void report_stage(FILE *ops, const stage_line &line, int first, int end, int j = -1);

// Writes "stage <id>" to ops, if there is one: a stage that prints no matrix.
void report_stage(FILE *ops, const stage_line &line);
