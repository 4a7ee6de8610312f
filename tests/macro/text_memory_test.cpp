// Texts a program makes and drops are freed while it runs, and no program can hold more text than
// the budget: a loop that rebuilds a text keeps little more than that text, and a text doubled
// again and again ends the run with the memory error instead of taking the machine's memory.
// The loops run in a child process that is killed when its memory passes a bound, so a fault
// fails the test instead of the machine.
#include "tests/macro/program_support.h"

#include "macro/Lifetime.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Answers = std::map<std::string, double>;

constexpr double kMB = 1024.0 * 1024.0;

double ResidentMB(pid_t pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/status", static_cast<int>(pid));
    double kb = -1;
    if (std::FILE* f = std::fopen(path, "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "VmRSS: %lf", &kb) == 1) break;
        std::fclose(f);
    }
    return kb / 1024.0;
}

struct ChildEnd {
    int exitCode = -1;      // -1: killed or ended by a signal
    bool overMemory = false;  // killed for passing the bound
    bool overTime = false;    // killed for not ending in time
    double peakMB = 0;        // the child's peak resident memory
};

// Runs body in a child process (its result is the exit code) and watches its resident memory:
// past boundMB above the parent's, or after seconds, it is killed.
ChildEnd RunWatched(const std::function<int()>& body, double boundMB, int seconds)
{
    const double baseMB = ResidentMB(getpid());
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) _exit(body());
    ChildEnd end;
    if (child < 0) return end;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    rusage usage{};
    for (;;) {
        pid_t done = wait4(child, &status, WNOHANG, &usage);
        if (done == child) break;
        if (ResidentMB(child) - baseMB > boundMB) end.overMemory = true;
        if (std::chrono::steady_clock::now() > deadline) end.overTime = true;
        if (end.overMemory || end.overTime) {
            kill(child, SIGKILL);
            wait4(child, &status, 0, &usage);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (WIFEXITED(status)) end.exitCode = WEXITSTATUS(status);
    end.peakMB = double(usage.ru_maxrss) / 1024.0;
    return end;
}

const char kAppends[] =
    "a$ = \"\"\n"
    "for (i = 0; i < 20000; i++) { a$ = a$ + \"0123456789\" }\n"
    "set_zr_qty(\"LEN\", len(a$))\n";

const char kDoubling[] =
    "a$ = \"0123456789\"\n"
    "for (i = 0; i < 40; i++) { a$ = a$ + a$ }\n"
    "set_zr_qty(\"LEN\", len(a$))\n";

}  // namespace

// Twenty thousand appends make 2 GB of texts in all; what is held at any time stays within a few
// MB of the final text, in the interpreter's own count and in the process's memory.
TEST(TextMemory, ALoopThatRebuildsATextHoldsLittleMoreThanIt)
{
    {
        ProgramRun run;
        run.Run(kAppends);
        EXPECT_TRUE(run.Texts().empty()) << run.Texts().front();
        EXPECT_EQ(run.LastAnswers(), (Answers{{"LEN", 200000}}));
        EXPECT_LT(double(macroTextFigures().peak), 200000 + 8 * kMB);
        run.Run("a$ = \"\"\n");
    }
    ChildEnd end = RunWatched(
        [] {
            ProgramRun run;
            run.Run(kAppends);
            return run.LastAnswers() == Answers{{"LEN", 200000}} ? 0 : 1;
        },
        // The address sanitizer keeps freed memory aside for a while (256 MB at most).
        600, 120);
    EXPECT_FALSE(end.overMemory) << "the appends loop took more than 600 MB";
    EXPECT_FALSE(end.overTime) << "the appends loop did not end in two minutes";
    EXPECT_EQ(end.exitCode, 0) << "the appends loop gave the wrong length";
    std::printf("appends loop: peak resident %.0f MB (the test process had %.0f MB)\n", end.peakMB,
                ResidentMB(getpid()));
}

// Doubling a text forty times would need 10 TB: the run ends with the memory error of the
// instruction that could not make its text, once the texts pass the budget; the variable keeps
// its last text, the process goes on, and the next run works.
TEST(TextMemory, TextsPastTheBudgetEndTheRunWithTheMemoryError)
{
    ChildEnd end = RunWatched(
        [] {
            ProgramRun run;
            run.Run(kDoubling);
            const std::vector<std::string> texts = run.Texts();
            if (texts.size() != 1 || texts[0].rfind("Error: addstr: malloc error 0123456789", 0) != 0) return 1;
            if (!run.LastAnswers().empty()) return 2;
            if (macroTextFigures().peak > kTextBudget) return 3;
            run.Run("set_zr_qty(\"LEN\", len(a$))\na$ = \"\"\n");
            const double kept = 10.0 * double(1 << 24);  // the last doubling that fits the budget
            if (run.LastAnswers() != Answers{{"LEN", kept}} || run.Texts().size() != 1) return 4;
            return 0;
        },
        1024, 120);
    EXPECT_FALSE(end.overMemory) << "the doubling loop took more than 1 GB";
    EXPECT_FALSE(end.overTime) << "the doubling loop did not end in two minutes";
    EXPECT_EQ(end.exitCode, 0) << "1: no malloc error box, 2: an answer after it, 3: past the budget, "
                                  "4: the variable or the next run";
    std::printf("doubling loop: peak resident %.0f MB (the test process had %.0f MB)\n", end.peakMB,
                ResidentMB(getpid()));
}

// Texts that something still reaches survive every collection: variables, string vector
// elements, the values waiting on the stack while a call churns out garbage, and the argument an
// instruction has just popped when making its result sets off a collection (ucase of a joined
// text that nothing else holds).
TEST(TextMemory, TextsStillReachedSurviveCollections)
{
    ProgramRun run;
    run.Run("vector keep$[3]\n"
            "keep$[1] = left(\"kept one and more\", 8)\n"
            "held$ = ucase(\"held\")\n"
            "func churn()\n"
            "  g$ = \"\"\n"
            "  for (k = 0; k < 3000; k++) { g$ = g$ + \"xxxxxxxxxxxxxxxxxxxx\" }\n"
            "  return($1)\n"
            "endfunc\n"
            "res$ = lcase(\"WAIT\") + left(held$, churn(len(mid(\"an argument\", 4, 2)))) + right(held$, 2)\n"
            "big$ = \"\"\n"
            "for (j = 0; j < 20000; j++) { big$ = big$ + \"abcdefghij\" }\n"
            "bad = 0\n"
            "for (k = 0; k < 400; k++) {\n"
            "  t$ = ucase(big$ + \"xyz\")\n"
            "  if (left(t$, 4) != \"ABCD\" || right(t$, 4) != \"JXYZ\") then\n"
            "    bad = bad + 1\n"
            "  endif\n"
            "}\n"
            "set_zr_qty(\"BAD\", bad)\n"
            "k$ = keep$[1]\n"
            "set_zr_qty(\"KEEP\", k$ == \"kept one\")\n"
            "set_zr_qty(\"HELD\", held$ == \"HELD\")\n"
            "set_zr_qty(\"R\", res$ == \"waitHELD\")\n");
    EXPECT_TRUE(run.Texts().empty()) << run.Texts().front();
    EXPECT_EQ(run.LastAnswers(), (Answers{{"BAD", 0}, {"HELD", 1}, {"KEEP", 1}, {"R", 1}}));
    // Three thousand appends of twenty make 90 MB of texts: collections ran meanwhile.
    EXPECT_LT(double(macroTextFigures().peak), 16 * kMB);
    // The texts the variables hold carry into the next run.
    ProgramRun next;
    next.Run("all$ = keep$[1] + held$ + res$\nset_zr_qty(\"NEXT\", all$ == \"kept oneHELDwaitHELD\")\n");
    EXPECT_EQ(next.LastAnswers(), (Answers{{"NEXT", 1}}));
}
