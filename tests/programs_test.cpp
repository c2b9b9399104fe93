// Tests that run the built programs: the dialogue answered prompt by prompt over
// pipes, and the printed inverse checked against A by its residual.
#include "commentary.hpp"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// A running program with a pipe to its standard input and one from its output.
struct child {
    pid_t pid = -1;
    int in = -1;
    int out = -1;
    std::string seen;  // everything read from it so far

    explicit child(const char *path)
    {
        signal(SIGPIPE, SIG_IGN);  // a program that quits early fails a check, not the run
        int to[2], from[2];
        if (pipe(to) != 0 || pipe(from) != 0)
            return;
        pid = fork();
        if (pid == 0) {
            dup2(to[0], 0);
            dup2(from[1], 1);
            for (int fd : {to[0], to[1], from[0], from[1]})
                close(fd);
            execl(path, path, static_cast<char *>(nullptr));
            _exit(127);
        }
        close(to[0]);
        close(from[1]);
        in = to[1];
        out = from[0];
    }
    ~child()
    {
        if (in >= 0)
            close(in);
        if (pid > 0 && kill(pid, SIGKILL) == 0)
            waitpid(pid, nullptr, 0);
        close(out);
    }

    void send(const std::string &text)
    {
        ASSERT_EQ(write(in, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }

    // Reads what the program has written, waiting for it for up to half a minute.
    // Returns false when the output has ended or stayed silent that long.
    bool read_some()
    {
        pollfd p = {out, POLLIN, 0};
        char buf[4096];
        if (poll(&p, 1, 30000) <= 0)
            return false;
        const ssize_t got = read(out, buf, sizeof buf);
        if (got <= 0)
            return false;
        seen.append(buf, static_cast<size_t>(got));
        return true;
    }

    // Reads until the output ends with tail; a prompt left in a buffer never arrives.
    bool await(const std::string &tail)
    {
        while (seen.size() < tail.size() ||
               seen.compare(seen.size() - tail.size(), tail.size(), tail) != 0)
            if (!read_some())
                return false;
        return true;
    }

    // Closes its input, reads the rest of its output and returns its exit status.
    int finish()
    {
        close(in);
        in = -1;
        while (read_some()) {
        }
        int status = 0;
        waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

struct exchange {
    const char *prompt;
    const char *answer;
};

struct dialogue {
    const char *program;
    std::vector<exchange> steps;
    const char *last_line;
};

TEST(Dialogue, EachPromptShowsBeforeTheProgramWaits)
{
    const dialogue dialogues[] = {
        {GJINVERSE,
         {{"INPUT ORDER OF SQUARE MATRIX: ", "2\n"},
          {"INPUT a11 a12 : ", "2 1\n"},
          {"INPUT a21 a22 : ", "1 3\n"}},
         line_inverse_done},
        {GJSOLVE,
         {{"INPUT ORDER OF SQUARE MATRIX: ", "2\n"},
          {"INPUT (a11 a12 b1): ", "2 -3 0\n"},
          {"INPUT (a21 a22 b2): ", "1 1 5\n"}},
         "x2=2\n"},
    };
    for (const dialogue &d : dialogues) {
        child c(d.program);
        for (const exchange &e : d.steps) {
            ASSERT_TRUE(c.await(e.prompt)) << "no prompt '" << e.prompt << "' after:\n" << c.seen;
            c.send(e.answer);
        }
        EXPECT_EQ(c.finish(), 0);
        EXPECT_TRUE(c.await(d.last_line)) << c.seen;
    }
}

// A well-conditioned matrix: entries on a grid of quarters, each row made
// diagonally dominant, then the rows shuffled so that the pivot passes have work.
std::vector<std::vector<double>> random_matrix(int n, std::mt19937 &rng)
{
    std::uniform_int_distribution<int> quarters(-12, 12);
    std::vector<std::vector<double>> a(n, std::vector<double>(n));
    for (int i = 0; i < n; ++i) {
        double off = 0;
        for (int j = 0; j < n; ++j)
            off += std::fabs(a[i][j] = quarters(rng) / 4.0);
        off -= std::fabs(a[i][i]);
        a[i][i] = (quarters(rng) < 0 ? -1 : 1) * (off + 1);
    }
    std::shuffle(a.begin(), a.end(), rng);
    return a;
}

// Runs the program on input and returns what it printed after the last marker.
std::string run_tail(const char *program, const std::string &input, const char *marker)
{
    child c(program);
    c.send(input);
    EXPECT_EQ(c.finish(), 0);
    const size_t at = c.seen.rfind(marker);
    return at == std::string::npos ? "" : c.seen.substr(at + std::strlen(marker));
}

// Reads numbers from text with format, which ends with "%lf%n", as long as it matches.
std::vector<double> scan_all(const std::string &text, const char *format)
{
    std::vector<double> values;
    double v = 0;
    int used = 0;
    for (const char *p = text.c_str(); std::sscanf(p, format, &v, &used) == 1; p += used)
        values.push_back(v);
    return values;
}

std::string input_text(int n, const std::vector<std::vector<double>> &rows)
{
    std::string text = std::to_string(n) + "\n";
    for (const auto &row : rows)
        for (double v : row)
            text += std::to_string(v) + " ";
    return text;
}

// The results are printed to six digits, so the residuals come out near 1e-5.
TEST(Residual, PrintedInverseTimesAIsCloseToI)
{
    std::mt19937 rng(20261207);
    for (int n = 1; n <= 10; ++n) {
        const auto a = random_matrix(n, rng);
        const auto x = scan_all(run_tail(GJINVERSE, input_text(n, a), line_normalized), "%lf%n");
        ASSERT_EQ(x.size(), static_cast<size_t>(n * n)) << "n = " << n;
        for (int i = 0; i < n; ++i)
            for (int k = 0; k < n; ++k) {
                double sum = i == k ? -1 : 0;
                for (int j = 0; j < n; ++j)
                    sum += a[i][j] * x[j * n + k];
                EXPECT_LT(std::fabs(sum), 1e-3) << "n = " << n << " at " << i << "," << k;
            }
    }
}

TEST(Residual, PrintedSolutionSatisfiesTheSystem)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> quarters(-40, 40);
    for (int n = 1; n <= 9; ++n) {
        auto rows = random_matrix(n, rng);
        std::vector<double> b(n);
        for (int i = 0; i < n; ++i)
            rows[i].push_back(b[i] = quarters(rng) / 4.0);
        const auto x = scan_all(run_tail(GJSOLVE, input_text(n, rows), "\n\n"), " x%*d=%lf%n");
        ASSERT_EQ(x.size(), static_cast<size_t>(n)) << "n = " << n;
        for (int i = 0; i < n; ++i) {
            double sum = -b[i];
            for (int j = 0; j < n; ++j)
                sum += rows[i][j] * x[j];
            EXPECT_LT(std::fabs(sum), 1e-3) << "n = " << n << " equation " << i;
        }
    }
}

}  // namespace
