// The page's way into both programs. A browser page cannot block on a read, so
// the page runs a dialogue anew, from the start, over all the text typed so far,
// each time a line is entered. The input stream of a run hands out that text.
// When the text is used up and the input has not been ended, a console program
// would wait there: the bridge notes how much output had been written at that
// moment, lets the program see the end of input so that it runs out, and reports
// the output up to the wait only. A run depends on nothing but its input, so the
// output up to the wait is the same in every later run over more text.
#include "commentary.hpp"
#include "inverse.hpp"
#include "solve.hpp"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/types.h>

namespace {

struct typed_input {
    const char *text;
    size_t size;
    size_t used;
    bool ended;
    FILE *out;
    bool waited;
};

// What the last run wrote, cut at its wait if it waited.
std::string out_text, err_text;
size_t out_at_wait, err_at_wait;

ssize_t read_typed(void *cookie, char *buf, size_t size)
{
    typed_input &in = *static_cast<typed_input *>(cookie);
    if (in.used == in.size) {
        if (!in.ended && !in.waited) {
            // The programs flush before each read; flushing here as well keeps
            // the cut right even for a read that comes without one.
            std::fflush(in.out);
            in.waited = true;
            out_at_wait = out_text.size();
            err_at_wait = err_text.size();
        }
        return 0;
    }
    const size_t count = std::min(size, in.size - in.used);
    std::memcpy(buf, in.text + in.used, count);
    in.used += count;
    return static_cast<ssize_t>(count);
}

ssize_t append_to(void *cookie, const char *buf, size_t size)
{
    static_cast<std::string *>(cookie)->append(buf, size);
    return static_cast<ssize_t>(size);
}

struct program {
    const char *name;
    int (*flow)(FILE *, FILE *, FILE *);
};
const program programs[] = {{"gjinverse", run_gjinverse}, {"gjsolve", run_gjsolve}};

}  // namespace

extern "C" {

// Runs the named program over input[0 .. size-1], followed by the end of input
// when ended is nonzero. Returns the exit status, or -1 when the program waits
// for more input; -2 for an unknown name or when the streams cannot be opened.
EMSCRIPTEN_KEEPALIVE int gj_run(const char *name, const char *input, int size, int ended)
{
    out_text.clear();
    err_text.clear();
    const program *chosen = nullptr;
    for (const program &p : programs)
        if (std::strcmp(p.name, name) == 0)
            chosen = &p;
    if (chosen == nullptr)
        return -2;

    FILE *out = fopencookie(&out_text, "w", {nullptr, append_to, nullptr, nullptr});
    FILE *err = fopencookie(&err_text, "w", {nullptr, append_to, nullptr, nullptr});
    typed_input typed = {input, static_cast<size_t>(size), 0, ended != 0, out, false};
    FILE *in = fopencookie(&typed, "r", {read_typed, nullptr, nullptr, nullptr});
    if (out == nullptr || err == nullptr || in == nullptr) {
        for (FILE *f : {in, out, err})
            if (f != nullptr)
                std::fclose(f);
        return -2;
    }
    std::setvbuf(err, nullptr, _IONBF, 0);  // so that a wait cuts it where it stood
    const int status = chosen->flow(in, out, err);
    std::fclose(in);
    std::fclose(out);
    std::fclose(err);
    if (!typed.waited)
        return status;
    out_text.resize(out_at_wait);
    err_text.resize(err_at_wait);
    return -1;
}

// Standard output and standard error of the last run, as bytes.
EMSCRIPTEN_KEEPALIVE const char *gj_output() { return out_text.data(); }
EMSCRIPTEN_KEEPALIVE int gj_output_size() { return static_cast<int>(out_text.size()); }
EMSCRIPTEN_KEEPALIVE const char *gj_errors() { return err_text.data(); }
EMSCRIPTEN_KEEPALIVE int gj_errors_size() { return static_cast<int>(err_text.size()); }

// Each commentary line as the programs print it, newline included, followed by
// its English gloss and a newline, from the manual pages.
EMSCRIPTEN_KEEPALIVE const char *gj_glosses()
{
    static const std::string text = std::string(line_inverse_input) + "input complete\n" +
        line_solve_input + "input\n" +
        line_scaled + "divided by the largest number in the row\n" +
        line_pivoted + "the largest number in this column chosen as pivot; check whether aii is 0\n" +
        line_eliminated + "elimination by addition and subtraction; the unknown is eliminated\n" +
        line_backward + "elimination above the pivot\n" +
        line_normalized + "Gauss-Jordan elimination complete\n" +
        line_inverse_done + "inverse matrix complete\n";
    return text.c_str();
}
}
