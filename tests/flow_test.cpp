// Drives both programs' dialogues in process, on golden inputs cut short at every
// byte: the end of input may come anywhere.
#include "inverse.hpp"
#include "solve.hpp"
#include "streams.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
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
    FILE *in = input_of(input), *out = std::tmpfile(), *err = std::tmpfile();
    if (in == nullptr || out == nullptr || err == nullptr)
        return {-1, "(no temporary file)", ""};
    const int status = flow(in, out, err, nullptr);
    result r = {status, read_back(out), read_back(err)};
    for (FILE *f : {in, out, err})
        std::fclose(f);
    return r;
}

std::string golden_input(const std::string &name)
{
    return read_file(std::string(GOLDEN_DIR) + "/" + name + ".in");
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
