// Tests that run the built programs: the dialogue answered prompt by prompt over
// pipes, and the printed inverse checked against A by its residual.
#include "commentary.hpp"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A running program with a pipe to its standard input and one from its output.
struct child {
    pid_t pid = -1;
    int in = -1;
    int out = -1;
    std::string seen;  // everything read from it so far

    // Starts the program at path, under the emulator of a cross build if there is one.
    explicit child(const char *path)
    {
        signal(SIGPIPE, SIG_IGN);  // a program that quits early fails a check, not the run
        std::vector<std::string> words;
        std::istringstream emulator(GJ_EMULATOR);
        for (std::string word; emulator >> word;)
            words.push_back(word);
        words.push_back(path);
        std::vector<char *> argv;
        for (std::string &word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        int to[2], from[2];
        if (pipe(to) != 0 || pipe(from) != 0)
            return;
        // posix_spawn rather than fork: qemu-i386 crashes the child of a fork in
        // a dynamically linked 32-bit program.
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, to[0], 0);
        posix_spawn_file_actions_adddup2(&actions, from[1], 1);
        for (int fd : {to[0], to[1], from[0], from[1]})
            posix_spawn_file_actions_addclose(&actions, fd);  // else the program holds its own input open and never sees its end
        if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(to[0]);
        close(from[1]);
        in = to[1];
        out = from[0];
    }
    ~child()
    {
        close(in);
        close(out);
        if (pid > 0 && kill(pid, SIGKILL) == 0)
            waitpid(pid, nullptr, 0);
    }

    void send(const std::string &text) { ASSERT_EQ(write(in, text.data(), text.size()), ssize_t(text.size())); }

    // Reads until the output ends with tail, or until it ends or stays silent for
    // half a minute: a prompt left in the output buffer never arrives.
    bool await(const std::string &tail)
    {
        char buf[4096];
        ssize_t got = 0;
        while (seen.size() < tail.size() || seen.compare(seen.size() - tail.size(), tail.size(), tail)) {
            pollfd p = {out, POLLIN, 0};
            if (poll(&p, 1, 30000) <= 0 || (got = read(out, buf, sizeof buf)) <= 0)
                return false;
            seen.append(buf, size_t(got));
        }
        return true;
    }

    // Closes its input, reads the rest of its output and returns its exit status.
    int finish()
    {
        close(in);
        in = -1;
        await("\n(never printed)");
        int status = 0;
        waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

struct dialogue {
    const char *program;
    std::vector<std::pair<const char *, const char *>> prompts_and_answers;
    const char *last_line;
};

TEST(Dialogue, EachPromptShowsBeforeTheProgramWaits)
{
    const dialogue dialogues[] = {
        {GJINVERSE,
         {{"INPUT ORDER OF SQUARE MATRIX: ", "2\n"}, {"INPUT a11 a12 : ", "2 1\n"}, {"INPUT a21 a22 : ", "1 3\n"}},
         line_inverse_done.text},
        {GJSOLVE,
         {{"INPUT ORDER OF SQUARE MATRIX: ", "2\n"}, {"INPUT (a11 a12 b1): ", "2 -3 0\n"}, {"INPUT (a21 a22 b2): ", "1 1 5\n"}},
         "x2=2\n"},
    };
    for (const dialogue &d : dialogues) {
        child c(d.program);
        for (const auto &[prompt, answer] : d.prompts_and_answers) {
            ASSERT_TRUE(c.await(prompt)) << "no prompt '" << prompt << "' after:\n" << c.seen;
            c.send(answer);
        }
        EXPECT_EQ(c.finish(), 0);
        EXPECT_TRUE(c.await(d.last_line)) << c.seen;
    }
}

// For a well-conditioned A of every order, the inverse that gjinverse prints, read
// back, times A is I up to the six printed digits. A is made of quarters, each row
// diagonally dominant, and its rows are shuffled so that the pivot passes have work.
TEST(Residual, PrintedInverseTimesAIsCloseToI)
{
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<int> quarters(-12, 12);
    for (int n = 1; n <= 10; ++n) {
        std::vector<std::vector<double>> a(n, std::vector<double>(n));
        for (int i = 0; i < n; ++i) {
            double off = 0;
            for (int j = 0; j < n; ++j)
                off += j == i ? 0 : std::fabs(a[i][j] = quarters(rng) / 4.0);
            a[i][i] = (quarters(rng) < 0 ? -1 : 1) * (off + 1);
        }
        std::shuffle(a.begin(), a.end(), rng);
        std::string input = std::to_string(n);
        for (const auto &row : a)
            for (double v : row)
                input += " " + std::to_string(v);

        child c(GJINVERSE);
        c.send(input);
        ASSERT_EQ(c.finish(), 0);
        const size_t at = c.seen.rfind(line_normalized.text);  // the inverse follows it
        ASSERT_NE(at, std::string::npos) << c.seen;
        const char *p = c.seen.c_str() + at + std::strlen(line_normalized.text);
        std::vector<double> x(n * n);
        for (double &v : x) {
            int used = 0;
            ASSERT_EQ(std::sscanf(p, "%lf%n", &v, &used), 1) << "n = " << n << "\n" << c.seen;
            p += used;
        }
        for (int i = 0; i < n; ++i)
            for (int k = 0; k < n; ++k) {
                double sum = i == k ? -1 : 0;
                for (int j = 0; j < n; ++j)
                    sum += a[i][j] * x[j * n + k];
                EXPECT_LT(std::fabs(sum), 1e-3) << "n = " << n << " at " << i << "," << k;
            }
    }
}

}  // namespace
