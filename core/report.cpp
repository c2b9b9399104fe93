#include "report.hpp"

#include "elimination.hpp"

void report(FILE *ops, const char *name, std::initializer_list<int> places,
            const double *numbers, int count)
{
    if (ops == nullptr)
        return;
    std::fputs(name, ops);
    for (int place : places)
        std::fprintf(ops, " %d", place + 1);
    for (int k = 0; k < count; ++k)
        std::fprintf(ops, " %g=%.17g", shown(numbers[k]), shown(numbers[k]));
    std::fputc('\n', ops);
}

void report_stage(FILE *ops, const stage_line &line)
{
    if (ops != nullptr)
        std::fprintf(ops, "stage %s\n", line.id);
}
