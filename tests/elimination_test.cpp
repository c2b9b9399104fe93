// Tables for the stage operations: the scaling divisor, the pivot pass, the row
// operation of the eliminations, and the stage sequence at the smallest orders.
#include "commentary.hpp"
#include "elimination.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

using matrix = aug_matrix<inverse_cols>;
using rows = std::vector<std::vector<double>>;
const double nan = std::nan("");

// A matrix of order n whose width is that of the first row.
matrix make(const rows &values)
{
    matrix m = {};
    m.n = static_cast<int>(values.size());
    m.width = static_cast<int>(values[0].size());
    for (int i = 0; i < m.n; ++i)
        for (int col = 0; col < m.width; ++col)
            m.a[i][col] = values[i][col];
    return m;
}

// Equal to the bit where it matters: NaN matches NaN, and -0 does not match 0.
bool same(double x, double y)
{
    if (std::isnan(x) || std::isnan(y))
        return std::isnan(x) && std::isnan(y);
    return x == y && std::signbit(x) == std::signbit(y);
}

struct scaling_case {
    std::vector<double> row;
    double divisor;  // the entry the row must be divided by
};

TEST(ScaleRows, DividesByTheLeftmostEntryOfLargestMagnitude)
{
    const scaling_case cases[] = {
        {{2, -3, 0}, -3},          // the sign of the chosen entry is kept
        {{-2, 2}, -2},             // a tie keeps the leftmost
        {{5, -5, 5}, 5},
        {{0.5, 0.25, 1, 0}, 1},    // the identity block takes part
        {{1, 2, 0, 1}, 2},
        {{-4, 1}, -4},
        {{4}, 4},
        {{1, nan, 3}, 3},          // a NaN never replaces the divisor ...
        {{nan, 5, 1}, nan},        // ... and one in column 0 stays it
        {{0, 0, 0}, 0},            // an all-zero row turns into NaN
        {{-0.0, 0, 0}, -0.0},
    };
    for (const scaling_case &c : cases) {
        matrix m = make({c.row, c.row});
        scale_rows(m);
        for (int i = 0; i < 2; ++i)
            for (size_t col = 0; col < c.row.size(); ++col)
                EXPECT_TRUE(same(m.a[i][col], c.row[col] / c.divisor))
                    << "row " << i << " col " << col << " divisor " << c.divisor;
    }
}

struct pivot_case {
    int j;
    std::vector<double> column;  // column j, from row 0 down
    std::vector<int> order;      // the original rows, in their new order
};

TEST(PivotPass, IsOneBubblePassFromTheBottom)
{
    const pivot_case cases[] = {
        {0, {1, 2, 3}, {2, 0, 1}},
        {0, {5, 1, 3, 2}, {0, 2, 1, 3}},  // rows move although the largest is on top
        {0, {-5, 5}, {0, 1}},             // equal magnitudes never exchange
        {0, {2, 2, 3}, {2, 0, 1}},
        {0, {0, -0.0, 0}, {0, 1, 2}},
        {0, {nan, 1}, {0, 1}},            // comparisons with NaN are false
        {0, {1, nan}, {0, 1}},
        {1, {9, 1, 2}, {0, 2, 1}},        // rows above j stay
        {2, {1, 2, 3, 4}, {0, 1, 3, 2}},
    };
    for (const pivot_case &c : cases) {
        rows values;
        for (size_t i = 0; i < c.column.size(); ++i) {
            std::vector<double> row(4, 0.0);
            row[c.j] = c.column[i];
            row[3] = static_cast<double>(i);  // tags the row, travels with it
            values.push_back(row);
        }
        matrix m = make(values);
        pivot_pass(m, c.j);
        for (size_t i = 0; i < c.order.size(); ++i)
            EXPECT_EQ(m.a[i][3], c.order[i]) << "j " << c.j << " position " << i;
    }
}

TEST(Eliminate, RowsWithZeroInTheColumnKeepEveryBitAndNaNCountsAsNonzero)
{
    // Rows 1 and 2 hold 0.0 or -0.0 in column 0 (the pivot column below) and in
    // column 3 (the pivot column above); rows 3 and 4 are changed below.
    const rows values = {{2, 1, 7, 0.0},
                         {0.0, -0.0, 1e-300, -0.0},
                         {-0.0, nan, -3, 0.0},
                         {1, 1, 1, 2},
                         {nan, 1, 1, 1}};
    matrix below = make(values);
    eliminate_below(below, 0);
    matrix above = make(values);
    eliminate_above(above, 3);
    for (const matrix *m : {&below, &above})
        for (int t = 1; t <= 2; ++t)
            EXPECT_EQ(std::memcmp(m->a[t], values[t].data(), 4 * sizeof(double)), 0) << t;
    EXPECT_EQ(below.a[3][1], 1 - 1 * 2.0);
    for (int col = 0; col < 4; ++col)
        EXPECT_TRUE(std::isnan(below.a[4][col])) << col;
}

TEST(LinearSystem, RightHandSideChoosesTheDivisorAndMovesWithItsRow)
{
    aug_matrix<solve_cols> m = {{{1, 2, 100}, {3, 1, 2}}, 2, 3};
    scale_rows(m);     // row 0 by its b, 100
    pivot_pass(m, 0);  // 0.01 < 1: the rows change places, b with them
    const double expected[2][3] = {{1, 1.0 / 3, 2.0 / 3}, {0.01, 0.02, 1}};
    for (int i = 0; i < 2; ++i)
        for (int col = 0; col < 3; ++col)
            EXPECT_EQ(m.a[i][col], expected[i][col]) << i << "," << col;
}

// Runs reduce_matrix and returns what it printed, through a temporary file
// rather than a memory stream, which not every C library has.
std::string reduce_printout(matrix &m)
{
    FILE *out = std::tmpfile();
    if (out == nullptr)
        return "(no temporary file)";
    reduce_matrix(out, m);
    std::rewind(out);
    std::string printed;
    for (int c; (c = std::fgetc(out)) != EOF;)
        printed += static_cast<char>(c);
    std::fclose(out);
    return printed;
}

TEST(ReduceMatrix, SmallestOrdersPrintOnlyTheScaling)
{
    matrix one = make({{4, 1}});
    EXPECT_EQ(reduce_printout(one), std::string("\n\n1\t0.25\t\n") + line_scaled.text);

    for (int n : {0, -1, INT_MIN}) {
        matrix none = {};
        none.n = n;
        EXPECT_EQ(reduce_printout(none), std::string("\n\n") + line_scaled.text) << n;
    }
}

}  // namespace
