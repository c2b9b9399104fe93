// The operation report, pinned by golden files: for a few cases, what each stage
// did (golden/<case>.ops) when the program reads golden/<case>.in. The streams are
// temporary files, which every C library has, so this runs on every platform.
#include "inverse.hpp"
#include "solve.hpp"
#include "streams.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

struct run_result {
    std::string transcript;
    std::string report;  // empty when no report stream was given
};

// Runs flow over input, with a report stream or without one.
run_result run(int (*flow)(FILE *, FILE *, FILE *, FILE *), const std::string &input, bool reported)
{
    FILE *in = input_of(input), *out = std::tmpfile(), *ops = std::tmpfile();
    if (in == nullptr || out == nullptr || ops == nullptr)
        return {"(no temporary file)", "(no temporary file)"};
    flow(in, out, stderr, reported ? ops : nullptr);
    run_result r = {read_back(out), read_back(ops)};
    for (FILE *f : {in, out, ops})
        std::fclose(f);
    return r;
}

struct report_case {
    const char *name;
    int (*flow)(FILE *, FILE *, FILE *, FILE *);
    const char *covers;
};

TEST(OperationReport, MatchesTheGoldenReports)
{
    const report_case cases[] = {
        {"gjinverse/worked-2x2", run_gjinverse, "r = 3 below the pivot, then -5 above it"},
        {"gjinverse/pivot-bubble-3x3", run_gjinverse, "column 0.25, 0.5, 0.75: rows 3, 1, 2 after the pass"},
        {"gjinverse/singular-3x3", run_gjinverse, "a zero pivot: r = 0 above it, then division by 0"},
        {"gjinverse/singular-residue-3x3", run_gjinverse, "a pivot that is zero but for rounding"},
        {"gjsolve/zero-leading-coefficient", run_gjsolve, "a row left alone for its 0"},
        {"gjsolve/residues-3x3", run_gjsolve, "every quotient, residues in the rows"},
        {"gjsolve/all-zero-equation", run_gjsolve, "a zero divisor and NaN in the report"},
        {"gjsolve/order-zero", run_gjsolve, "no rows: the stages alone"},
        {"gjinverse/order-int-min", run_gjinverse, "no columns, the inverse's half included: 1 0"},
    };
    for (const report_case &c : cases) {
        const std::string golden = std::string(GOLDEN_DIR) + "/" + c.name;
        const std::string expected = read_file(golden + ".ops");
        ASSERT_FALSE(expected.empty()) << golden << ".ops";
        EXPECT_EQ(run(c.flow, read_file(golden + ".in"), true).report, expected) << c.name << ": " << c.covers;
    }
}

// The console passes no report stream, and the transcript is the same with one.
TEST(OperationReport, LeavesTheTranscriptAlone)
{
    const std::string input = read_file(std::string(GOLDEN_DIR) + "/gjinverse/residue-3x3.in");
    const std::string transcripts[2] = {run(run_gjinverse, input, false).transcript,
                                        run(run_gjinverse, input, true).transcript};
    EXPECT_EQ(transcripts[0], transcripts[1]);
    // The golden transcripts are in UTF-8; a CP949 build writes other bytes.
    if (GJ_UTF8_COMMENTARY) {
        EXPECT_EQ(transcripts[0], read_file(std::string(GOLDEN_DIR) + "/gjinverse/residue-3x3.out"));
    }
}

}  // namespace
