// Texts a program makes and drops are freed while it runs, and no program can hold more text than
// the budget: a loop that rebuilds a text keeps little more than that text, and a text doubled
// again and again ends the run with the memory error instead of taking the machine's memory.
// The loops run in a child process that is killed when its memory passes a bound, so a fault
// fails the test instead of the machine.
#include "tests/macro/program_support.h"

#include "macro/Lifetime.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

using Answers = std::map<std::string, double>;

constexpr double kMB = 1024.0 * 1024.0;
// Each loop ends within a second or two, under the sanitizers too; one that runs on fails here,
// with its message, well before the test program's own time limit.
constexpr int kSeconds = 20;

const char kAppends[] =
    "a$ = \"\"\n"
    "for (i = 0; i < 20000; i++) { a$ = a$ + \"0123456789\" }\n"
    "set_zr_qty(\"LEN\", len(a$))\n";

const char kDoubling[] =
    "a$ = \"0123456789\"\n"
    "for (i = 0; i < 40; i++) { a$ = a$ + a$ }\n"
    "set_zr_qty(\"LEN\", len(a$))\n";

// Four string vectors of the largest size, filled with one-letter texts: a pad of a few lines that
// asks for 64 million texts. Each costs some 40 bytes of memory, not the 2 of its letter.
const char kMillionsOfLetters[] =
    "vector a$[16000000]\n"
    "vector b$[16000000]\n"
    "vector c$[16000000]\n"
    "vector d$[16000000]\n"
    "for (i = 0; i < 16000000; i++) { a$[i] = chr(65) }\n"
    "for (i = 0; i < 16000000; i++) { b$[i] = chr(66) }\n"
    "for (i = 0; i < 16000000; i++) { c$[i] = chr(67) }\n"
    "for (i = 0; i < 16000000; i++) { d$[i] = chr(68) }\n"
    "set_zr_qty(\"DONE\", 1)\n";

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
        600, kSeconds);
    EXPECT_FALSE(end.overMemory) << "the appends loop took more than 600 MB";
    EXPECT_FALSE(end.overTime) << "the appends loop did not end in " << kSeconds << " seconds";
    EXPECT_EQ(end.exitCode, 0) << "the appends loop gave the wrong length";
    std::printf("appends loop: peak resident %.0f MB (the test process had %.0f MB)\n", end.peakMB,
                ResidentMB(getpid()));
}

// Doubling a text forty times would need 10 TB: the run ends with the memory error of the
// instruction that could not make its text, once the texts pass the budget; the variable keeps
// its last text, the process goes on, and the next run works. A text that fits the budget alone
// but not beside the one it is made from is refused too, after the collection that frees what it
// can.
TEST(TextMemory, TextsPastTheBudgetEndTheRunWithTheMemoryError)
{
    const struct {
        const char* name;
        std::string program;
    } cases[] = {
        {"doubled forty times", kDoubling},
        {"doubled 24 times, then one more character",
         "a$ = \"0123456789\"\nfor (i = 0; i < 24; i++) { a$ = a$ + a$ }\nb$ = a$ + \"x\"\n"
         "set_zr_qty(\"LEN\", len(a$))\n"},
    };
    for (const auto& c : cases) {
        ChildEnd end = RunWatched(
            [&c] {
                ProgramRun run;
                run.Run(c.program);
                const std::vector<std::string> texts = run.Texts();
                if (texts.size() != 1 || texts[0].rfind("Error: addstr: malloc error 0123456789", 0) != 0) return 1;
                if (!run.LastAnswers().empty()) return 2;
                if (macroTextFigures().peak > kTextBudget) return 3;
                run.Run("set_zr_qty(\"LEN\", len(a$))\na$ = \"\"\n");
                const double kept = 10.0 * double(1 << 24);  // the last doubling that fits the budget
                if (run.LastAnswers() != Answers{{"LEN", kept}} || run.Texts().size() != 1) return 4;
                return 0;
            },
            1024, kSeconds);
        EXPECT_FALSE(end.overMemory) << c.name << ": took more than 1 GB";
        EXPECT_FALSE(end.overTime) << c.name << ": did not end in " << kSeconds << " seconds";
        EXPECT_EQ(end.exitCode, 0) << c.name << ": 1: no malloc error box, 2: an answer after it, 3: past the budget, "
                                               "4: the variable or the next run";
        std::printf("%s: peak resident %.0f MB (the test process had %.0f MB)\n", c.name, end.peakMB,
                    ResidentMB(getpid()));
    }
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

// A file of one line longer than the budget, read by readline with a length that would take all
// of it: the run ends with the read's memory error, holding next to nothing on the way (it held
// the whole line before it found it too long). Asked for a piece that fits, it gets that piece.
TEST(TextMemory, ALineLongerThanTheBudgetIsRefusedBeforeItIsRead)
{
    const std::string path = MacroTestPath("one_long_line.txt");
    {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0);
        const std::string chunk(size_t(4) << 20, 'x');
        for (size_t written = 0; written < kTextBudget + chunk.size() * 4; written += chunk.size())
            ASSERT_EQ(::write(fd, chunk.data(), chunk.size()), ssize_t(chunk.size()));
        ASSERT_EQ(::close(fd), 0);
    }
    const struct {
        const char* what;
        const char* length;
        const char* box;  // null: no box, and the piece is read whole
        double piece;
    } rows[] = {
        {"the whole line", "2000000000", "Error: readstr: malloc error", 0},
        {"a piece of 16 MB", "16777217", nullptr, 16777216},
    };
    for (const auto& row : rows) {
        const std::string program = "h = open(\"" + path + "\", \"r\")\n"
                                    "a$ = readline(h, " + row.length + ")\n"
                                    "set_zr_qty(\"LEN\", len(a$))\n";
        ChildEnd end = RunWatched(
            [&] {
                ProgramRun run;
                run.Run(program);
                const std::vector<std::string> texts = run.Texts();
                if (row.box) return texts == std::vector<std::string>{row.box} && run.LastAnswers().empty() ? 0 : 1;
                return texts.empty() && run.LastAnswers() == Answers{{"LEN", row.piece}} ? 0 : 1;
            },
            100, kSeconds);
        EXPECT_FALSE(end.overMemory) << row.what << ": took more than 100 MB";
        EXPECT_FALSE(end.overTime) << row.what << ": did not end in " << kSeconds << " seconds";
        EXPECT_EQ(end.exitCode, 0) << row.what << ": not the box or the piece expected";
        std::printf("readline of %s of a %zu MB line: peak resident %.0f MB\n", row.what,
                    (kTextBudget >> 20) + 16, end.peakMB);
    }
    std::remove(path.c_str());
}

// Millions of one-letter texts count what they cost: the pad above ends with the memory error of
// the text that passes the ceiling, and the process stays within the vectors' 512 MB and the
// texts' 256 MB (with what the interpreter itself takes) instead of holding gigabytes. Calculated
// again, it counts the texts the vectors kept from the first time, and frees them as the vectors
// are declared again.
TEST(TextMemory, MillionsOfShortTextsCountWhatTheyCost)
{
#if defined(__SANITIZE_ADDRESS__)
    // There every block has a guard zone and freed ones are kept aside, so the figure bounded here
    // means nothing, and the millions of texts take half a minute: the plain build checks it.
    GTEST_SKIP() << "the memory of millions of texts is measured in the plain build";
#endif
    constexpr double kBoundMB = 1200;
    ChildEnd end = RunWatched(
        [] {
            for (int calculation = 0; calculation < 2; ++calculation) {
                ProgramRun run;
                const auto started = std::chrono::steady_clock::now();
                run.Run(kMillionsOfLetters);
                std::fprintf(stderr, "calculation %d: %.2f s\n", calculation + 1,
                             std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
                const std::vector<std::string> texts = run.Texts();
                if (texts != std::vector<std::string>{"Error: chr: malloc error"}) {
                    for (const std::string& text : texts) std::fprintf(stderr, "box: %s\n", text.c_str());
                    return 1 + calculation;
                }
                if (!run.LastAnswers().empty()) return 3;
                if (macroTextFigures().peak > kTextBudget) return 4;
            }
            return 0;
        },
        kBoundMB, kSeconds);
    EXPECT_FALSE(end.overMemory) << "the pad took more than " << kBoundMB << " MB";
    EXPECT_FALSE(end.overTime) << "the pad did not end in " << kSeconds << " seconds";
    EXPECT_EQ(end.exitCode, 0) << "1, 2: no memory error box in the first or second calculation, 3: an answer, "
                                  "4: the texts counted past the ceiling";
    std::printf("four vectors of one-letter texts, calculated twice: peak resident %.0f MB (the test process had "
                "%.0f MB)\n", end.peakMB, ResidentMB(getpid()));
}
