#include "dialogue.hpp"

#include <climits>

bool read_order(FILE *in, FILE *out, int max_order, int &n)
{
    std::fputs("INPUT ORDER OF SQUARE MATRIX: ", out);
    std::fflush(out);
    // "%lld" consumes exactly the text that "%d" would, but a number beyond int
    // arrives whole (or clamped to the long long range) instead of wrapped, so
    // that 4294967298 is refused rather than read as 2.
    long long order = 0;
    if (std::fscanf(in, "%lld", &order) != 1 || order > max_order || order < INT_MIN)
        return false;
    n = static_cast<int>(order);
    return true;
}

int refuse_order(FILE *err, const char *program, int max_order)
{
    std::fprintf(err, "%s: the order must be a whole number from 1 to %d\n", program, max_order);
    return 1;
}

void print_labels(FILE *out, int i, int n)
{
    for (int j = 0; j < n; ++j)
        std::fprintf(out, "a%d%d ", i + 1, j + 1);
}

void read_row(FILE *in, FILE *out, double *row, int count)
{
    std::fflush(out);
    for (int j = 0; j < count; ++j) {
        double x;
        if (std::fscanf(in, "%lf", &x) == 1)
            row[j] = x;
    }
}

int finish_output(FILE *out, FILE *err, const char *program)
{
    if (std::fflush(out) != 0 || std::ferror(out)) {
        std::fprintf(err, "%s: could not write the transcript to standard output\n", program);
        return 1;
    }
    return 0;
}
