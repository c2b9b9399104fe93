// gjsolve: reads a square linear system A x = b and prints every stage of the
// Gauss-Jordan reduction of [A | b], then the unknowns x1 .. xn.
#include "solve.hpp"

#include "commentary.hpp"
#include "dialogue.hpp"
#include "elimination.hpp"
#include "report.hpp"

#include <algorithm>

using solve_matrix = aug_matrix<solve_cols>;

constexpr int max_order = std::min(max_rows, solve_cols - 1);

// Prompts for equation i and reads its n coefficients and its right-hand side,
// which is column n+1 of the row.
static void read_equation(FILE *in, FILE *out, solve_matrix &m, int i, FILE *ops)
{
    std::fputs("INPUT (", out);
    print_labels(out, i, m.n);
    std::fprintf(out, "b%d): ", i + 1);
    read_row(in, out, m.a[i], m.n + 1, i, ops);
}

// Writes each unknown as its row's right-hand side over its diagonal entry; the
// matrix itself is left as the reduction left it.
static void print_solution(FILE *out, const solve_matrix &m, FILE *ops)
{
    std::fputs("\n\n", out);
    for (int j = 0; j < m.n; ++j) {
        const double x = m.a[j][m.n] / m.a[j][j];
        std::fprintf(out, "x%d=%g\n", j + 1, shown(x));
        report(ops, "quotient", {j}, {m.a[j][m.n], m.a[j][j], x});
    }
    report_stage(ops, line_solution);
}

int run_gjsolve(FILE *in, FILE *out, FILE *err, FILE *ops)
{
    solve_matrix m = {};
    if (!read_order(in, out, max_order, m.n))
        return refuse_order(err, "gjsolve", max_order);
    m.width = m.n > 0 ? m.n + 1 : 0;
    for (int i = 0; i < m.n; ++i)
        read_equation(in, out, m, i, ops);
    report_entries(ops, m);
    print_step(out, m, line_solve_input, ops);
    reduce_matrix(out, m, ops);
    print_solution(out, m, ops);
    return finish_output(out, err, "gjsolve");
}
