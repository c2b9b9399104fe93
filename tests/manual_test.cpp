// The manual pages quote every commentary line of their program, letter for
// letter, so that rewording a line in the code without its page fails here.
#include "streams.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// Each stage id of the commentary source with its line, newline dropped, read
// from the entries written {"id", "line\n"}.
std::map<std::string, std::string> commentary_lines()
{
    const std::string source = read_file(COMMENTARY_SOURCE);
    std::map<std::string, std::string> lines;
    for (size_t at = 0; (at = source.find("= {\"", at)) != std::string::npos;) {
        const size_t id_end = source.find('"', at + 4);
        const size_t text_start = source.find('"', id_end + 1) + 1;
        const size_t text_end = source.find('"', text_start);
        std::string text = source.substr(text_start, text_end - text_start);
        if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\\n") == 0)
            text.resize(text.size() - 2);
        lines[source.substr(at + 4, id_end - at - 4)] = text;
        at = text_end;
    }
    return lines;
}

// The line as a manual page writes it: every letter beyond ASCII as \[uXXXX],
// and a hyphen as \-.
std::string as_roff(const std::string &utf8)
{
    std::string roff;
    for (size_t k = 0; k < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[k]);
        const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        unsigned code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int e = 1; e <= extra; ++e)
            code = code << 6 | (static_cast<unsigned char>(utf8[k + e]) & 0x3F);
        k += 1 + extra;
        char escape[16];
        std::snprintf(escape, sizeof escape, "\\[u%04X]", code);
        roff += code == '-' ? std::string("\\-") : code < 0x80 ? std::string(1, char(code)) : escape;
    }
    return roff;
}

TEST(ManualPages, QuoteEveryCommentaryLineOfTheirProgram)
{
    const std::map<std::string, std::string> lines = commentary_lines();
    ASSERT_EQ(as_roff(lines.at("backward")), ":Gauss\\-Jordan Elimination...");
    const std::pair<const char *, std::vector<const char *>> pages[] = {
        {MANUAL_GJINVERSE, {"inverse_input", "scaled", "pivoted", "eliminated", "backward", "normalized", "inverse_done"}},
        {MANUAL_GJSOLVE, {"solve_input", "scaled", "pivoted", "eliminated", "backward"}},
    };
    for (const auto &[page, ids] : pages) {
        const std::string manual = read_file(page);
        for (const char *id : ids)
            EXPECT_NE(manual.find(as_roff(lines.at(id))), std::string::npos)
                << page << " lacks the line of " << id << ": " << as_roff(lines.at(id));
    }
}

}  // namespace
