// The augmented matrix that gjinverse and gjsolve work on, its printout, and the
// stepwise Gauss-Jordan reduction that both programs show.
//
// The record holds [A | I] (inverse) or [A | b] (linear system). Each program fixes
// its own row capacity through the template parameter and checks the order once,
// when it reads it; every function here trusts that n <= max_rows and width <= Cols.
// An order n <= 0 means that no row is in use.
//
// reduce_matrix runs the stages in the order the transcript shows them:
//   scale_rows;
//   for each column j = 0 .. n-2: pivot_pass, eliminate_below;
//   for each column j = n-1 .. 1: eliminate_above;
// and prints the whole matrix with its commentary line after each stage to the
// stream it is given. Each stage also writes what it did to the operation report
// (report.hpp) when it is given a stream for it, ops; by default there is none.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdio>

struct stage_line;  // commentary.hpp

// The printed rounding residues are those of plain double arithmetic, each operation
// rounded on its own; x87 extended precision would print other digits.
static_assert(FLT_EVAL_METHOD == 0,
              "double arithmetic must not use excess precision (on 32-bit x86 build with -msse2 -mfpmath=sse)");

constexpr int max_rows = 10;
constexpr int inverse_cols = 20;  // [A | I] up to order 10
constexpr int solve_cols = 10;    // [A | b] up to order 9

template <int Cols>
struct aug_matrix {
    double a[max_rows][Cols];
    int n;      // the order as read; rows 0 .. n-1 are in use
    int width;  // columns in use, 0 when n <= 0
};

// A value as the transcript prints it: unchanged, but a NaN with its sign cleared.
// The sign that 0/0 gets is the CPU's choice (x86 sets it, ARM does not) and
// means nothing, so every platform prints the same "nan".
inline double shown(double v)
{
    return std::isnan(v) ? std::copysign(v, 1.0) : v;
}

// Writes "\n\n" to out, then rows 0 .. n-1, each as the entries of columns
// first .. end-1 formatted "%g\t" and a final "\n".
template <int Cols>
void print_matrix(FILE *out, const aug_matrix<Cols> &m, int first, int end);

// Writes the commentary line as it stands, through write_commentary (console.hpp),
// which lets a Windows console show it. Every commentary line goes through here.
void print_commentary(FILE *out, const stage_line &line);

// Prints the whole used width, then the commentary line, and ends the stage in
// the operation report with those columns and, when j >= 0, column j as the one
// the stage worked on.
template <int Cols>
void print_step(FILE *out, const aug_matrix<Cols> &m, const stage_line &line, FILE *ops = nullptr, int j = -1);

// Reports each used row as it stands, as the entries that the program read.
template <int Cols>
void report_entries(FILE *ops, const aug_matrix<Cols> &m);

// Divides each row by its entry of largest magnitude (the leftmost of equal ones),
// keeping that entry's sign. An all-zero row becomes NaN; a NaN in column 0 stays
// the divisor, since no comparison with it is true.
template <int Cols>
void scale_rows(aug_matrix<Cols> &m, FILE *ops = nullptr);

// Bubbles the largest magnitude in column j up to row j with one pass from the
// bottom, exchanging neighbours on a strict "less"; rows in between may also move.
// Needs 0 <= j < n-1.
template <int Cols>
void pivot_pass(aug_matrix<Cols> &m, int j, FILE *ops = nullptr);

// Replaces each row t below j whose column-j entry is nonzero by row j minus
// (a[j][j] / a[t][j]) times row t; rows with 0.0 or -0.0 there keep every bit.
template <int Cols>
void eliminate_below(aug_matrix<Cols> &m, int j, FILE *ops = nullptr);

// The same row operation for the rows above j, from row j-1 up to row 0.
template <int Cols>
void eliminate_above(aug_matrix<Cols> &m, int j, FILE *ops = nullptr);

// Runs every stage above on the matrix in place, printing to out after each one.
template <int Cols>
void reduce_matrix(FILE *out, aug_matrix<Cols> &m, FILE *ops = nullptr);
