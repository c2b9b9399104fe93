// The operation report, pinned by golden files: for a few cases, what each stage
// did (golden/<case>.ops) when the program reads golden/<case>.in. The streams are
// temporary files, which every C library has, so this runs on every platform.
#include "inverse.hpp"
#include "solve.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string read_file(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string read_back(FILE *f)
{
    std::string text;
    std::rewind(f);
    for (int c; (c = std::fgetc(f)) != EOF;)
        text += static_cast<char>(c);
    return text;
}

// Runs flow over input and returns its operation report; the transcript is not kept.
std::string report_of(int (*flow)(FILE *, FILE *, FILE *, FILE *), const std::string &input)
{
    FILE *in = std::tmpfile(), *out = std::tmpfile(), *ops = std::tmpfile();
    if (in == nullptr || out == nullptr || ops == nullptr)
        return "(no temporary file)";
    std::fwrite(input.data(), 1, input.size(), in);
    std::rewind(in);
    flow(in, out, stderr, ops);
    std::string report = read_back(ops);
    for (FILE *f : {in, out, ops})
        std::fclose(f);
    return report;
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
    };
    for (const report_case &c : cases) {
        const std::string golden = std::string(GOLDEN_DIR) + "/" + c.name;
        const std::string expected = read_file(golden + ".ops");
        ASSERT_FALSE(expected.empty()) << golden << ".ops";
        EXPECT_EQ(report_of(c.flow, read_file(golden + ".in")), expected) << c.name << ": " << c.covers;
    }
}

// The console passes no report stream, and the transcript is the same with one.
TEST(OperationReport, LeavesTheTranscriptAlone)
{
    const std::string input = read_file(std::string(GOLDEN_DIR) + "/gjinverse/residue-3x3.in");
    std::string transcripts[2];
    for (int with_report = 0; with_report < 2; ++with_report) {
        FILE *in = std::tmpfile(), *out = std::tmpfile(), *ops = std::tmpfile();
        ASSERT_TRUE(in != nullptr && out != nullptr && ops != nullptr);
        std::fwrite(input.data(), 1, input.size(), in);
        std::rewind(in);
        run_gjinverse(in, out, stderr, with_report ? ops : nullptr);
        transcripts[with_report] = read_back(out);
        for (FILE *f : {in, out, ops})
            std::fclose(f);
    }
    EXPECT_EQ(transcripts[0], transcripts[1]);
    EXPECT_EQ(transcripts[0], read_file(std::string(GOLDEN_DIR) + "/gjinverse/residue-3x3.out"));
}

}  // namespace
