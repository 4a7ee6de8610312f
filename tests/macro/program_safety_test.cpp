// Programs that once reached the machine with values of the wrong kind or past its memory: jumps
// into the middle of a statement, formatted prints of texts and numbers, memory a program drives,
// and whole-number arithmetic beyond 32 bits.
#include "tests/common/TestProcess.h"
#include "tests/macro/program_support.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using Answers = std::map<std::string, double>;
using Texts = std::vector<std::string>;

struct Case {
    const char* name;
    const char* source;
    Texts boxes;
    Answers answers;
};

void RunCases(const Case* begin, const Case* end)
{
    for (const Case* c = begin; c != end; ++c) {
        ProgramRun run;
        run.Run(c->source);
        EXPECT_EQ(run.Texts(), c->boxes) << c->name;
        EXPECT_EQ(run.LastAnswers(), c->answers) << c->name;
    }
}

TEST(ProgramSafety, GotoLeadsOnlyToTheStartOfAStatement)
{
    const Case cases[] = {
        // A label inside an expression once led a goto to code that read a number as a text.
        {"label after a text sum",
         "proc q() {\n  if (0) then\n    print \"a\" + \"b\" M:\n  endif\n  goto M\n}\nq(1.5, 2.5)\n"
         "set_zr_qty(\"A\", 1)\n",
         {"Error: goto into the middle of a statement: M"}, {}},
        {"label inside a sum", "proc q() {\n  x = 1 + M: 2\n  goto M\n}\nq()\n",
         {"Error: goto into the middle of a statement: M"}, {}},
        {"label in a loop's condition", "proc q() {\n  for (i = 0; M: i < 2; i++) { }\n  goto M\n}\nq()\n",
         {"Error: goto into the middle of a statement: M"}, {}},
        {"label in an argument list", "func f()\n  return($1)\nendfunc\nproc q() {\n  x = f(1, M: 4)\n  goto M\n}\nq()\n",
         {"Error: goto into the middle of a statement: M"}, {}},
        // Labels where statements start keep working.
        {"loop by goto",
         "i = 0\nif (1) then\n  L: i = i + 1\n  if (i < 3) then\n    goto L\n  endif\nendif\n"
         "set_zr_qty(\"A\", i)\n",
         {}, {{"A", 3}}},
        {"label ending a routine",
         "proc p() {\n  goto @done\n  set_zr_qty(\"B\", 1)\n  done:\n}\np()\nset_zr_qty(\"A\", 2)\n", {}, {{"A", 2}}},
        {"label ending a block",
         "if (1) then\n  goto @out\n  set_zr_qty(\"B\", 1)\n  out:\nendif\nset_zr_qty(\"A\", 3)\n", {}, {{"A", 3}}},
        {"label on its own line before a statement",
         "func f()\n  n = 0\n  again:\n  n = n + 1\n  if (n < 4) then\n    goto again\n  endif\n  return(n)\n"
         "endfunc\nset_zr_qty(\"A\", f())\n",
         {}, {{"A", 4}}},
    };
    RunCases(std::begin(cases), std::end(cases));
}

// A label counts only in the run that defined it; in the next calculation its name is free.
TEST(ProgramSafety, ALabelNameOfAnEarlierRunIsFree)
{
    ProgramRun run;
    run.Run("{\n  psfree: x = 1\n}\n");
    run.Run("psfree = 4\nset_zr_qty(\"A\", psfree)\n");
    EXPECT_EQ(run.Texts(), Texts{});
    EXPECT_EQ(run.LastAnswers(), (Answers{{"A", 4}}));
}

TEST(ProgramSafety, FormattedPrintTakesTheKindTheGrammarKnows)
{
    const Case cases[] = {
        // A text under a numeric conversion once printed the bits of its address.
        {"text as %e", "print \"%e\", \"abc\"\n", {"0.000000e+00"}, {}},
        {"text as %c", "print \"[%c]\", \"abc\"\n", {"[a]"}, {}},
        {"text variable", "a$ = \"xy\"\nprint \"[%s]\", a$\n", {"[xy]"}, {}},
        {"text vector element", "vector v$[2]\nv$[1] = \"q\"\nprint \"%s!\", v$[1]\n", {"q!"}, {}},
        {"built text", "print \"%s\", str(3, \"%g\") + \"m\"\n", {"3m"}, {}},
        {"number as %s", "print \"[%s]\", 2.5\n", {"[2.5]"}, {}},
        {"number as %d", "print \"%d pieces\", 5.7\n", {"5 pieces"}, {}},
    };
    RunCases(std::begin(cases), std::end(cases));
}

// int and % truncate toward zero with no 32-bit limit: the boundaries of 32 bits change nothing.
TEST(ProgramSafety, WholeNumbersBeyond32Bits)
{
    const Case cases[] = {
        {"int", "set_zr_qty(\"A\", int(2147483647.9))\nset_zr_qty(\"B\", int(2147483648.5))\n"
                "set_zr_qty(\"C\", int((-)2147483648.7))\nset_zr_qty(\"D\", int((-)2147483649.5))\n"
                "set_zr_qty(\"E\", int(30000000000.2))\n",
         {}, {{"A", 2147483647}, {"B", 2147483648}, {"C", -2147483648.0}, {"D", -2147483649.0}, {"E", 3e10}}},
        {"%", "set_zr_qty(\"A\", 2147483648 % 10)\nset_zr_qty(\"B\", 4294967296 % 7)\n"
              "set_zr_qty(\"C\", (-)2147483649 % 10)\nset_zr_qty(\"D\", 100000000000000000000 % 7)\n"
              "set_zr_qty(\"E\", 7 % 4294967296)\nset_zr_qty(\"F\", modulo(4294967303, 4294967296))\n",
         {}, {{"A", 8}, {"B", 4}, {"C", -9}, {"D", 2}, {"E", 7}, {"F", 7}}},
        {"% by a fraction", "set_zr_qty(\"A\", 5 % 0.5)\n", {"Error: mod: division by zero"}, {}},
    };
    RunCases(std::begin(cases), std::end(cases));
}

// Memory a program asks for and cannot have ends the run with the interpreter's memory error, and
// the names keep what they had. The program runs in a process of its own that cannot have its four
// vectors of 128 MB: its address space is limited to 400 MB more than it uses, or, where the
// address sanitizer's shadow memory rules such a limit out, that sanitizer refuses any single
// allocation over 100 MB and hands back nothing instead of ending the process.
const ChildEntry memoryRefused("memory-refused", [] {
#if !defined(__SANITIZE_ADDRESS__)
    long pages = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
        std::fclose(f);
    }
    const rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (400ull << 20);
    rlimit rl{limit, limit};
    if (pages == 0 || setrlimit(RLIMIT_AS, &rl) != 0) return 3;
#endif
    ProgramRun run;
    run.Run("vector a[16000000]\nvector b[16000000]\nvector c[16000000]\nvector d[16000000]\n"
            "set_zr_qty(\"A\", 1)\n");
    const bool reported = run.Texts() == Texts{"Error: not enought memory"} && run.LastAnswers().empty();
    run.Run("vector a[1]\nvector b[1]\nvector c[1]\nvector d[1]\nset_zr_qty(\"A\", 1)\n");
    const bool recovered = run.LastAnswers() == Answers{{"A", 1}};
    return reported ? (recovered ? 0 : 2) : 1;
});

// All vectors together hold at most four of the largest size, whatever the machine could give: a
// program that declares more ends with the memory error instead of taking the machine's memory
// (twenty lines would take 2.5 GB, a pad of two hundred more than most machines have). A vector
// declared again, or smaller, gives its memory back to the others.
TEST(ProgramSafety, VectorsTogetherStayWithinTheirBudget)
{
    const auto declare = [](std::initializer_list<int> vectors, int size) {
        std::string lines;
        for (int v : vectors) lines += "vector budget" + std::to_string(v) + "[" + std::to_string(size) + "]\n";
        return lines;
    };
    const ChildEnd end = RunWatched(
        [&declare] {
            ProgramRun run;
            run.Run(declare({1, 2, 3, 4, 5, 6, 7, 8}, 16000000) + "set_zr_qty(\"A\", 1)\n");
            if (run.Texts() != Texts{"Error: not enought memory"} || !run.LastAnswers().empty()) return 1;
            run.boxes.calls.clear();
            run.Run(declare({1, 1, 2}, 16000000) + "set_zr_qty(\"A\", 2)\n");
            if (!run.Texts().empty() || run.LastAnswers() != Answers{{"A", 2}}) return 2;
            run.boxes.calls.clear();
            run.Run(declare({1, 2, 3, 4}, 1) + declare({5, 6, 7}, 16000000) + "set_zr_qty(\"A\", 3)\n");
            if (!run.Texts().empty() || run.LastAnswers() != Answers{{"A", 3}}) return 3;
            return 0;
        },
        900, 20);
    EXPECT_FALSE(end.overMemory) << "the vectors took more than 900 MB";
    EXPECT_FALSE(end.overTime) << "the vectors took more than 20 seconds";
    EXPECT_EQ(end.exitCode, 0) << "1: no memory error, 2: a vector declared again, 3: vectors made smaller";
}

TEST(ProgramSafety, MemoryAProgramCannotHaveIsAnError)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kChildEntryVariable, "memory-refused");
    const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               (asan.isEmpty() ? QString() : asan + QLatin1Char(':')) +
                   QStringLiteral("allocator_may_return_null=1:max_allocation_size_mb=100"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {});
    ASSERT_TRUE(child.waitForStarted(10000)) << child.errorString().toStdString();
    ASSERT_TRUE(child.waitForFinished(20000)) << "the child did not end within 20 seconds";
    ASSERT_EQ(child.exitStatus(), QProcess::NormalExit) << "the child ended by a signal";
    EXPECT_EQ(child.exitCode(), 0) << "1: no memory error shown, 2: no run after it, 3: no limit set";
}

}  // namespace
