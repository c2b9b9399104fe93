#include "dialogue.hpp"

#include "report.hpp"

#include <climits>

// Consumes what "%d" would: blanks, an optional sign, then decimal digits. The
// digits are taken as text, because C libraries disagree on what an out-of-range
// "%lld" stores: glibc clamps it, musl wraps it round, so that
// -18446744073709551615 would read as 1. At most 18 significant digits are taken,
// which no long long overflows on; any order that long is refused, and the run
// ends there, so the digits after them are never read. Returns false when there
// is no digit.
static bool scan_integer(FILE *in, long long &value)
{
    char sign[2] = "+";
    char digits[19] = "";
    int zeros = 0;
    // Each call stops where the text stops matching; %n records whether there
    // were leading zeros at all.
    if (std::fscanf(in, " %1[-+]", sign) == EOF || std::fscanf(in, "%*[0]%n", &zeros) == EOF)
        return false;
    if (std::fscanf(in, "%18[0-9]", digits) != 1 && zeros == 0)
        return false;
    value = 0;
    for (const char *d = digits; *d != '\0'; ++d)
        value = value * 10 + (*d - '0');
    if (sign[0] == '-')
        value = -value;
    return true;
}

bool read_order(FILE *in, FILE *out, int max_order, int &n)
{
    std::fputs("INPUT ORDER OF SQUARE MATRIX: ", out);
    std::fflush(out);
    long long order = 0;
    if (!scan_integer(in, order) || order > max_order || order < INT_MIN)
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

// Reads one number with "%lf" into cell, which keeps its value when none can be read.
static void read_entry(FILE *in, double &cell)
{
    double x;
    if (std::fscanf(in, "%lf", &x) == 1)
        cell = x;
}

// The same read, reported as entry (i, j): the blank directive skips what "%lf"
// would skip by itself, so the read consumes the same bytes, and %n tells those
// blanks apart from the bytes of the number.
static void read_reported_entry(FILE *in, double &cell, int i, int j, FILE *ops)
{
    int blanks = 0;
    double x;
    const long start = std::ftell(in);
    const bool read = std::fscanf(in, " %n%lf", &blanks, &x) == 1;
    const long at = start + blanks;
    report_read(ops, i, j, at, std::ftell(in) - at, read ? &x : nullptr);
    if (read)
        cell = x;
}

void read_row(FILE *in, FILE *out, double *row, int count, int i, FILE *ops)
{
    std::fflush(out);
    for (int j = 0; j < count; ++j) {
        if (ops == nullptr)
            read_entry(in, row[j]);
        else
            read_reported_entry(in, row[j], i, j, ops);
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
