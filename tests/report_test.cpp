// The operation report, pinned by golden files: for a few cases, what each stage
// did (golden/<case>.ops) when the program reads golden/<case>.in. The streams are
// temporary files, which every C library has, so this runs on every platform.
#include "inverse.hpp"
#include "solve.hpp"
#include "streams.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
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

// The read lines of a report, in order.
std::string read_lines(const std::string &report)
{
    std::istringstream lines(report);
    std::string reads;
    for (std::string line; std::getline(lines, line);)
        if (line.compare(0, 5, "read ") == 0)
            reads += line + '\n';
    return reads;
}

struct read_case {
    int (*flow)(FILE *, FILE *, FILE *, FILE *);
    const char *input;
    const char *reads;
    const char *covers;
};

// Where each number was found, for inputs that every C library reads alike; the
// reads themselves, and so the transcript, are the same without a report stream.
TEST(OperationReport, SaysWhereEachNumberWasRead)
{
    const read_case cases[] = {
        {run_gjinverse, "2.5 1\n1 3\n",
         "read 1 1 1 2 0.5=0.5\n"
         "read 1 2 4 1 1=1\n"
         "read 2 1 6 1 1=1\n"
         "read 2 2 8 1 3=3\n",
         "the order 2.5 is 2, and .5 is the first entry"},
        {run_gjsolve, "2\n  1\n\n   -2.5  \n 3e1\n4 5 6\n",
         "read 1 1 4 1 1=1\n"
         "read 1 2 10 4 -2.5=-2.5\n"
         "read 1 3 18 3 30=30\n"
         "read 2 1 22 1 4=4\n"
         "read 2 2 24 1 5=5\n"
         "read 2 3 26 1 6=6\n",
         "a row across lines, blanks before and after its numbers; b1 is column 3"},
        {run_gjsolve, "2\n1 x 3\n4 5 6\n",
         "read 1 1 2 1 1=1\n"
         "read 1 2 4 0\n"
         "read 1 3 4 0\n"
         "read 2 1 4 0\n"
         "read 2 2 4 0\n"
         "read 2 3 4 0\n",
         "x fails, and stays unread for every read after it"},
        {run_gjinverse, "2\n2 1\n1",
         "read 1 1 2 1 2=2\n"
         "read 1 2 4 1 1=1\n"
         "read 2 1 6 1 1=1\n"
         "read 2 2 7 0\n",
         "the input ends before the last entry"},
    };
    for (const read_case &c : cases) {
        const run_result reported = run(c.flow, c.input, true);
        EXPECT_EQ(read_lines(reported.report), c.reads) << c.covers;
        EXPECT_EQ(run(c.flow, c.input, false).transcript, reported.transcript) << c.covers;
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
