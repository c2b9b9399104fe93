// The page's way into both programs. A browser page cannot block on a read, so
// the page runs a dialogue anew, from the start, over all the text typed so far,
// each time a line is entered. The input stream of a run hands out that text.
// When the text is used up and the input has not been ended, a console program
// would wait there: the bridge notes how much output had been written at that
// moment, lets the program see the end of input so that it runs out, and reports
// the output up to the wait only. A run depends on nothing but its input, so the
// output up to the wait is the same in every later run over more text. The same
// holds for the operation report (core/report.hpp), which the page explains the
// stages with: a read that the wait cuts short is written after the cut, so the
// report never holds it. A link types many entries at once: one run over all of
// them, handed out an entry at a time, notes where each earlier run would have
// waited, which is what running each of them would give.
#include "commentary.hpp"
#include "inverse.hpp"
#include "solve.hpp"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cerrno>
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
    FILE *ops;
    bool waited;
    const int *starts;  // where each entry starts, in order; count of them
    int count;
    int stopped;        // the entries whose start the program has read up to
    int *stops;         // per entry: output and standard error written before it
};

// What the last run wrote, cut at its wait if it waited.
std::string out_text, err_text, ops_text;
size_t out_at_wait, err_at_wait, ops_at_wait;

ssize_t read_typed(void *cookie, char *buf, size_t size)
{
    typed_input &in = *static_cast<typed_input *>(cookie);
    // The program asks for the entry after the text read: a run over the
    // entries before it would wait here.
    for (; in.stopped < in.count && static_cast<size_t>(in.starts[in.stopped]) == in.used; in.stopped++) {
        std::fflush(in.out);
        in.stops[2 * in.stopped] = static_cast<int>(out_text.size());
        in.stops[2 * in.stopped + 1] = static_cast<int>(err_text.size());
    }
    // An entry is handed out no further than its end, so that the program
    // asks again where the next one starts.
    const size_t end = in.stopped < in.count ? static_cast<size_t>(in.starts[in.stopped]) : in.size;
    if (in.used == in.size) {
        if (!in.ended && !in.waited) {
            // The programs flush before each read; flushing here as well keeps
            // the cut right even for a read that comes without one.
            std::fflush(in.out);
            std::fflush(in.ops);
            in.waited = true;
            out_at_wait = out_text.size();
            err_at_wait = err_text.size();
            ops_at_wait = ops_text.size();
        }
        return 0;
    }
    const size_t count = std::min(size, end - in.used);
    std::memcpy(buf, in.text + in.used, count);
    in.used += count;
    return static_cast<ssize_t>(count);
}

// Answers ftell, which the report's read lines take their byte positions from:
// musl's ftell asks for the position with SEEK_CUR and offset 0, and subtracts
// what its buffer still holds from the bytes handed out. The typed text is only
// ever read forwards, so any other seek is refused.
int tell_typed(void *cookie, off_t *offset, int whence)
{
    const typed_input &in = *static_cast<const typed_input *>(cookie);
    if (whence != SEEK_CUR || *offset != 0) {
        errno = EINVAL;
        return -1;
    }
    *offset = static_cast<off_t>(in.used);
    return 0;
}

ssize_t append_to(void *cookie, const char *buf, size_t size)
{
    static_cast<std::string *>(cookie)->append(buf, size);
    return static_cast<ssize_t>(size);
}

struct program {
    const char *name;
    int (*flow)(FILE *, FILE *, FILE *, FILE *);
};
const program programs[] = {{"gjinverse", run_gjinverse}, {"gjsolve", run_gjsolve}};

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE int gj_run_entries(const char *name, const char *input, int size, int ended, const int *starts, int count,
                                        int *stops);

// Runs the named program over input[0 .. size-1], followed by the end of input
// when ended is nonzero. Returns the exit status, or -1 when the program waits
// for more input; -2 for an unknown name or when the streams cannot be opened.
EMSCRIPTEN_KEEPALIVE int gj_run(const char *name, const char *input, int size, int ended)
{
    return gj_run_entries(name, input, size, ended, nullptr, 0, nullptr);
}

// Runs the named program as gj_run does, over input typed as count entries,
// entry k starting at byte starts[k] (in order, starts[0] being 0). Writes to
// stops[2k] and stops[2k + 1] the bytes of output and of standard error
// written before entry k was read: what a run over the entries before it shows.
// Gives as gj_run does; the entries after the program stops reading keep no stops.
EMSCRIPTEN_KEEPALIVE int gj_run_entries(const char *name, const char *input, int size, int ended, const int *starts, int count,
                                        int *stops)
{
    out_text.clear();
    err_text.clear();
    ops_text.clear();
    const program *chosen = nullptr;
    for (const program &p : programs)
        if (std::strcmp(p.name, name) == 0)
            chosen = &p;
    if (chosen == nullptr)
        return -2;

    FILE *out = fopencookie(&out_text, "w", {nullptr, append_to, nullptr, nullptr});
    FILE *err = fopencookie(&err_text, "w", {nullptr, append_to, nullptr, nullptr});
    FILE *ops = fopencookie(&ops_text, "w", {nullptr, append_to, nullptr, nullptr});
    typed_input typed = {input, static_cast<size_t>(size), 0, ended != 0, out, ops, false, starts, count, 0, stops};
    FILE *in = fopencookie(&typed, "r", {read_typed, nullptr, tell_typed, nullptr});
    FILE *const streams[] = {in, out, err, ops};
    const bool opened = std::none_of(std::begin(streams), std::end(streams), [](FILE *f) { return f == nullptr; });
    int status = -2;
    if (opened) {
        std::setvbuf(err, nullptr, _IONBF, 0);  // so that a wait cuts it where it stood
        status = chosen->flow(in, out, err, ops);
    }
    for (FILE *f : streams)
        if (f != nullptr)
            std::fclose(f);
    if (!opened || !typed.waited)
        return status;
    out_text.resize(out_at_wait);
    err_text.resize(err_at_wait);
    ops_text.resize(ops_at_wait);
    return -1;
}

// Standard output and standard error of the last run, as bytes.
EMSCRIPTEN_KEEPALIVE const char *gj_output() { return out_text.data(); }
EMSCRIPTEN_KEEPALIVE int gj_output_size() { return static_cast<int>(out_text.size()); }
EMSCRIPTEN_KEEPALIVE const char *gj_errors() { return err_text.data(); }
EMSCRIPTEN_KEEPALIVE int gj_errors_size() { return static_cast<int>(err_text.size()); }

// The operation report of the last run, as text.
EMSCRIPTEN_KEEPALIVE const char *gj_report() { return ops_text.data(); }
EMSCRIPTEN_KEEPALIVE int gj_report_size() { return static_cast<int>(ops_text.size()); }

// x as the transcript prints an entry ("%g"), NUL-terminated, valid until the
// next call: the page's practice compares answers with the C library's own digits.
EMSCRIPTEN_KEEPALIVE const char *gj_format(double x)
{
    static char text[32];  // "%g" writes at most 13 characters ("-1.79769e+308")
    std::snprintf(text, sizeof text, "%g", x);
    return text;
}

// One line for each stage that has a commentary line: its id, a tab, and the line
// as the programs print it, without its newline. The page keys its glosses and
// explanations by these ids.
EMSCRIPTEN_KEEPALIVE const char *gj_stages()
{
    static std::string text;
    if (text.empty())
        for (const stage_line *line : stage_lines)
            if (line->text[0] != '\0')
                text += std::string(line->id) + '\t' + line->text;
    return text.c_str();
}
}
