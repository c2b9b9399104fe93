// gjsolve: reads a square linear system A x = b and prints every stage of the
// Gauss-Jordan reduction of [A | b], then the unknowns x1 .. xn.
#include "commentary.hpp"
#include "dialogue.hpp"
#include "elimination.hpp"

#include <algorithm>
#include <cstdio>

using solve_matrix = aug_matrix<solve_cols>;

constexpr int max_order = std::min(max_rows, solve_cols - 1);

// Prompts for equation i and reads its n coefficients and its right-hand side.
static void read_equation(solve_matrix &m, int i)
{
    std::fputs("INPUT (", stdout);
    print_labels(i, m.n);
    std::printf("b%d): ", i + 1);
    read_row(m.a[i], m.n + 1);
}

// Writes each unknown as its row's right-hand side over its diagonal entry; the
// matrix itself is left as the reduction left it.
static void print_solution(const solve_matrix &m)
{
    std::fputs("\n\n", stdout);
    for (int j = 0; j < m.n; ++j)
        std::printf("x%d=%g\n", j + 1, m.a[j][m.n] / m.a[j][j]);
}

int main()
{
    solve_matrix m = {};
    if (!read_order("gjsolve", max_order, m.n))
        return 1;
    m.width = m.n > 0 ? m.n + 1 : 0;
    for (int i = 0; i < m.n; ++i)
        read_equation(m, i);
    print_step(m, line_solve_input);
    reduce_matrix(m);
    print_solution(m);
    return finish_output("gjsolve");
}
