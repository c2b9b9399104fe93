// The printout and the stages of the Gauss-Jordan reduction, in the order in which
// the transcript shows them.
#include "elimination.hpp"

#include "commentary.hpp"
#include "console.hpp"
#include "report.hpp"

#include <cmath>
#include <cstdio>
#include <utility>

template <int Cols>
void print_matrix(FILE *out, const aug_matrix<Cols> &m, int first, int end)
{
    std::fputs("\n\n", out);
    for (int r = 0; r < m.n; ++r) {
        for (int col = first; col < end; ++col)
            std::fprintf(out, "%g\t", shown(m.a[r][col]));
        std::fputc('\n', out);
    }
}

void print_commentary(FILE *out, const stage_line &line)
{
    write_commentary(out, line.text);
}

template <int Cols>
void print_step(FILE *out, const aug_matrix<Cols> &m, const stage_line &line, FILE *ops, int j)
{
    print_matrix(out, m, 0, m.width);
    print_commentary(out, line);
    report_stage(ops, line, 0, m.width, j);
}

template <int Cols>
void report_entries(FILE *ops, const aug_matrix<Cols> &m)
{
    for (int i = 0; i < m.n; ++i)
        report(ops, "row", {i}, m.a[i], m.width);
}

template <int Cols>
void scale_rows(aug_matrix<Cols> &m, FILE *ops)
{
    for (int i = 0; i < m.n; ++i) {
        double *row = m.a[i];
        int c = 0;
        for (int col = 1; col < m.width; ++col)
            if (std::fabs(row[col]) > std::fabs(row[c]))
                c = col;
        const double d = row[c];
        for (int col = 0; col < m.width; ++col)
            row[col] = row[col] / d;
        report(ops, "scale", {i, c}, {d});
    }
}

template <int Cols>
void pivot_pass(aug_matrix<Cols> &m, int j, FILE *ops)
{
    bool exchanged = false;
    for (int i = m.n - 1; i > j; --i)
        if (std::fabs(m.a[i - 1][j]) < std::fabs(m.a[i][j])) {
            for (int col = 0; col < m.width; ++col)
                std::swap(m.a[i - 1][col], m.a[i][col]);
            report(ops, "swap", {i - 1, i});
            exchanged = true;
        }
    if (!exchanged)
        report(ops, "no_exchange", {j});
}

// Replaces row t by row p minus r times row t, with r = a[p][p] / a[t][p] taken
// before the row changes. Clears a[t][p] up to rounding and rescales the rest of
// row t by -r; a zero in column p (either sign) leaves row t alone.
template <int Cols>
static void combine_rows(aug_matrix<Cols> &m, int p, int t, FILE *ops)
{
    if (m.a[t][p] == 0.0) {
        report(ops, "unchanged", {t, p});
        return;
    }
    const double r = m.a[p][p] / m.a[t][p];
    for (int col = 0; col < m.width; ++col)
        m.a[t][col] = m.a[p][col] - m.a[t][col] * r;
    report(ops, "combine", {t, p}, {r});
}

template <int Cols>
void eliminate_below(aug_matrix<Cols> &m, int j, FILE *ops)
{
    for (int t = j + 1; t < m.n; ++t)
        combine_rows(m, j, t, ops);
}

template <int Cols>
void eliminate_above(aug_matrix<Cols> &m, int j, FILE *ops)
{
    for (int t = j - 1; t >= 0; --t)
        combine_rows(m, j, t, ops);
}

template <int Cols>
void reduce_matrix(FILE *out, aug_matrix<Cols> &m, FILE *ops)
{
    scale_rows(m, ops);
    print_step(out, m, line_scaled, ops);
    // A single row needs no elimination and n <= 0 has no rows; returning here
    // also keeps n - 1 from overflowing when the order read was INT_MIN.
    if (m.n < 2)
        return;
    for (int j = 0; j < m.n - 1; ++j) {
        pivot_pass(m, j, ops);
        print_step(out, m, line_pivoted, ops, j);
        eliminate_below(m, j, ops);
        print_step(out, m, line_eliminated, ops, j);
    }
    for (int j = m.n - 1; j >= 1; --j) {
        eliminate_above(m, j, ops);
        print_step(out, m, line_backward, ops, j);
    }
}

// The capacities that the programs use.
#define INSTANTIATE(Cols)                                                                        \
    template void print_matrix(FILE *, const aug_matrix<Cols> &, int, int);                      \
    template void print_step(FILE *, const aug_matrix<Cols> &, const stage_line &, FILE *, int); \
    template void report_entries(FILE *, const aug_matrix<Cols> &);                              \
    template void scale_rows(aug_matrix<Cols> &, FILE *);                                        \
    template void pivot_pass(aug_matrix<Cols> &, int, FILE *);                                   \
    template void eliminate_below(aug_matrix<Cols> &, int, FILE *);                              \
    template void eliminate_above(aug_matrix<Cols> &, int, FILE *);                              \
    template void reduce_matrix(FILE *, aug_matrix<Cols> &, FILE *);
INSTANTIATE(inverse_cols)
INSTANTIATE(solve_cols)
