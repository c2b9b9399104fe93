// gjinverse: reads a square matrix A and prints every stage of the Gauss-Jordan
// reduction of [A | I], then A's inverse.
#include "inverse.hpp"

#include "commentary.hpp"
#include "dialogue.hpp"
#include "elimination.hpp"
#include "report.hpp"

#include <algorithm>

using inverse_matrix = aug_matrix<inverse_cols>;

constexpr int max_order = std::min(max_rows, inverse_cols / 2);

// Prompts for row i, reads its n entries of A and sets its 1.0 of the identity block.
static void read_inverse_row(FILE *in, FILE *out, inverse_matrix &m, int i, FILE *ops)
{
    std::fputs("INPUT ", out);
    print_labels(out, i, m.n);
    std::fputs(": ", out);
    read_row(in, out, m.a[i], m.n, i, ops);
    m.a[i][m.n + i] = 1.0;
}

// Divides each row by its diagonal entry, which is read once before the row changes.
static void divide_by_diagonal(inverse_matrix &m, FILE *ops)
{
    for (int i = 0; i < m.n; ++i) {
        const double p = m.a[i][i];
        for (int col = 0; col < m.width; ++col)
            m.a[i][col] = m.a[i][col] / p;
        report(ops, "divide", {i}, {p});
    }
}

// Prints the right half alone, the inverse, then its commentary line. The half
// starts at width / 2 = n, or at 0 when no row is in use, so that an empty
// printout reports no columns.
static void print_inverse(FILE *out, const inverse_matrix &m, FILE *ops)
{
    const int first = m.width / 2;
    print_matrix(out, m, first, m.width);
    print_commentary(out, line_inverse_done);
    report_stage(ops, line_inverse_done, first, m.width);
}

int run_gjinverse(FILE *in, FILE *out, FILE *err, FILE *ops)
{
    inverse_matrix m = {};
    if (!read_order(in, out, max_order, m.n))
        return refuse_order(err, "gjinverse", max_order);
    m.width = m.n > 0 ? 2 * m.n : 0;
    for (int i = 0; i < m.n; ++i)
        read_inverse_row(in, out, m, i, ops);
    report_entries(ops, m);
    print_step(out, m, line_inverse_input, ops);
    reduce_matrix(out, m, ops);
    divide_by_diagonal(m, ops);
    print_step(out, m, line_normalized, ops);
    print_inverse(out, m, ops);
    return finish_output(out, err, "gjinverse");
}
