#include "report.hpp"

#include "elimination.hpp"

// Writes " <shown>=<exact>": the number as the transcript prints it, then exactly.
static void write_number(FILE *ops, double v)
{
    std::fprintf(ops, " %g=%.17g", shown(v), shown(v));
}

void report(FILE *ops, const char *name, std::initializer_list<int> places,
            const double *numbers, int count)
{
    if (ops == nullptr)
        return;
    std::fputs(name, ops);
    for (int place : places)
        std::fprintf(ops, " %d", place + 1);
    for (int k = 0; k < count; ++k)
        write_number(ops, numbers[k]);
    std::fputc('\n', ops);
}

void report_read(FILE *ops, int i, int j, long at, long size, const double *x)
{
    if (ops == nullptr)
        return;
    std::fprintf(ops, "read %d %d %ld %ld", i + 1, j + 1, at, size);
    if (x != nullptr)
        write_number(ops, *x);
    std::fputc('\n', ops);
}

void report_stage(FILE *ops, const stage_line &line, int first, int end, int j)
{
    if (ops == nullptr)
        return;
    std::fprintf(ops, "stage %s %d %d", line.id, first + 1, end);
    if (j >= 0)
        std::fprintf(ops, " %d", j + 1);
    std::fputc('\n', ops);
}

void report_stage(FILE *ops, const stage_line &line)
{
    if (ops != nullptr)
        std::fprintf(ops, "stage %s\n", line.id);
}
