#include "dialogue.hpp"

#include <climits>
#include <cstdio>

bool read_order(const char *program, int max_order, int &n)
{
    std::fputs("INPUT ORDER OF SQUARE MATRIX: ", stdout);
    std::fflush(stdout);
    // "%lld" consumes exactly the text that "%d" would, but a number beyond int
    // arrives whole (or clamped to the long long range) instead of wrapped, so
    // that 4294967298 is refused rather than read as 2.
    long long order = 0;
    if (std::scanf("%lld", &order) != 1 || order > max_order || order < INT_MIN) {
        std::fprintf(stderr, "%s: the order must be a whole number from 1 to %d\n", program,
                     max_order);
        return false;
    }
    n = static_cast<int>(order);
    return true;
}

void print_labels(int i, int n)
{
    for (int j = 0; j < n; ++j)
        std::printf("a%d%d ", i + 1, j + 1);
}

int read_row(double *row, int count)
{
    std::fflush(stdout);
    int read = 0;
    for (int j = 0; j < count; ++j)
        read += std::scanf("%lf", &row[j]) == 1;
    return read;
}

int finish_output(const char *program)
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "%s: could not write the transcript to standard output\n", program);
        return 1;
    }
    return 0;
}
