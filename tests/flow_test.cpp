// Drives both programs' dialogues in process, on golden inputs cut short at every
// byte: the end of input may come anywhere.
#include "inverse.hpp"
#include "solve.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct result {
    int status;
    std::string out;
    std::string err;
};

// Runs a dialogue with input as its whole input and returns what it wrote.
result run(int (*flow)(FILE *, FILE *, FILE *, FILE *), const std::string &input)
{
    // fmemopen refuses an empty buffer; /dev/null gives the same end of input.
    FILE *in = input.empty() ? std::fopen("/dev/null", "r")
                             : fmemopen(const_cast<char *>(input.data()), input.size(), "r");
    char *out_text = nullptr, *err_text = nullptr;
    size_t out_size = 0, err_size = 0;
    FILE *out = open_memstream(&out_text, &out_size);
    FILE *err = open_memstream(&err_text, &err_size);
    const int status = flow(in, out, err, nullptr);
    std::fclose(in);
    std::fclose(out);
    std::fclose(err);
    result r = {status, std::string(out_text, out_size), std::string(err_text, err_size)};
    std::free(out_text);
    std::free(err_text);
    return r;
}

std::string golden_input(const std::string &name)
{
    std::ifstream file(std::string(GOLDEN_DIR) + "/" + name + ".in", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

struct program {
    const char *name;
    int (*flow)(FILE *, FILE *, FILE *, FILE *);
    const char *refusal;
    const char *cases[5];
};

const program programs[] = {
    {"gjinverse", run_gjinverse, "gjinverse: the order must be a whole number from 1 to 10\n",
     {"worked-2x2", "residue-3x3", "non-finite-entries", "bad-entry", "order10-capacity"}},
    {"gjsolve", run_gjsolve, "gjsolve: the order must be a whole number from 1 to 9\n",
     {"worked-2x2", "residues-3x3", "rhs-divisor-exchange", "bad-entry", "order9-capacity"}},
};

// Input that ends early is no error: every entry not read stays 0, exactly as if
// 0 had been typed for it, and the run completes. Cut inside a number, the run
// still completes (with whatever the cut number reads as), and cut before any
// order it refuses the order.
TEST(EndOfInput, AnywhereLeavesTheUnreadEntriesZero)
{
    std::string zeros;
    for (int i = 0; i < 120; ++i)  // more entries than any matrix holds
        zeros += " 0";
    for (const program &p : programs)
        for (const char *name : p.cases) {
            const std::string input = golden_input(std::string(p.name) + "/" + name);
            ASSERT_FALSE(input.empty()) << p.name << "/" << name;
            for (size_t cut = 0; cut <= input.size(); ++cut) {
                const std::string prefix = input.substr(0, cut);
                const result r = run(p.flow, prefix);
                const bool order_read = prefix.find_first_not_of(" \t\n") != std::string::npos;
                const bool at_boundary = cut == input.size() || std::isspace(static_cast<unsigned char>(input[cut]));
                if (!order_read) {
                    EXPECT_EQ(r.status, 1) << p.name << "/" << name << " cut at " << cut;
                    EXPECT_EQ(r.out, "INPUT ORDER OF SQUARE MATRIX: ");
                    EXPECT_EQ(r.err, p.refusal);
                } else if (at_boundary) {
                    const result typed = run(p.flow, prefix + zeros);
                    EXPECT_EQ(r.status, typed.status) << p.name << "/" << name << " cut at " << cut;
                    EXPECT_EQ(r.out, typed.out) << p.name << "/" << name << " cut at " << cut;
                } else {
                    EXPECT_EQ(r.status, 0) << p.name << "/" << name << " cut at " << cut << "\n" << r.err;
                }
            }
        }
}

}  // namespace
