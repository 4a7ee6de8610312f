// The machine driven by real macro programs: values, errors and limits as a pad user meets them,
// and what carries over from one calculation to the next.
#include "macro/Machine.h"
#include "tests/macro/program_support.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// The value a program hands to the host as ZR_R, or NaN when it handed none.
double Result(ProgramRun& run)
{
    auto values = run.Answers("ZR_R");
    return values.size() == 1 ? values[0] : std::nan("");
}

TEST(MachineProgram, Values)
{
    const struct {
        const char* expr;
        double expected;
    } cases[] = {
        {"1 == 1.000000001", 1},
        {"1 == 1.00000002", 0},
        {"1 > 0.999999999", 0},
        {"1 >= 0.999999999", 1},
        {"7 % 2.5", 1},
        {"(-)7 % 2", -1},
        {"modulo(17, 5)", 2},
        {"0.00000001 and 1", 1},
        {"not 0.000000001", 1},
        {"int((-)2.7)", -2},
        {"int(3e10)", 3e10},
        {"2^3^2", 512},
        {"(-)2^2", -4},
        {"sin(30)", 0.5},
        {"atan(1)", 45},
        {"atan2(1, 1)", 45},
        {"sqrt(2) * sqrt(2)", 2},
        {"abs((-)3)", 3},
        {"PI", 3.141592653589793},
    };
    for (const auto& c : cases) {
        ProgramRun run;
        run.Run(std::string("Set_ZR_Qty(\"ZR_R\", ") + c.expr + ")\n");
        EXPECT_NEAR(Result(run), c.expected, 1e-9) << c.expr;
        EXPECT_TRUE(run.Texts().empty()) << c.expr;
    }
}

TEST(MachineProgram, RunTimeErrorsEndTheRun)
{
    const struct {
        const char* source;
        const char* box;
    } cases[] = {
        {"x = 1 / 0", "Error: division by zero"},
        {"x = 7 % 0.5", "Error: mod: division by zero"},
        {"x = atan2(1, 0)", "Error: division by zero"},
        {"x = sqrt((-)1)", "Error: sqrt argument out of domain"},
        {"x = exp(1000)", "Error: exp result out of range"},
        {"x = log(0)", "Error: log result out of range"},
        {"x = never_assigned_name + 1", "Error: undefined variable \"never_assigned_name\""},
        {"k = 0\nwhile (k < 1) {\nk = k + 1\nm1spot = 5\nm1spot:\n}", "Error: assignment to non-variable m1spot"},
        {"func m1nothing()\nx = 1\nendfunc\ny = m1nothing()", "Error: m1nothing func must return a value"},
        {"func m1half()\nreturn ($2 / 2)\nendfunc\ny = m1half(1)", "Error: m1half not enough arguments"},
        {"proc m1p() return (1)\nm1p()", "Error: m1p proc cannot return a value"},
        {"vector m1v[3]\nm1v[3] = 1", "Error: index out of range m1v"},
        {"goto @m1nowhere", "Error: undefined label: m1nowhere"},
    };
    for (const auto& c : cases) {
        ProgramRun run;
        run.Run(std::string(c.source) + "\nSet_ZR_Qty(\"ZR_R\", 1)\n");
        ASSERT_FALSE(run.Texts().empty()) << c.source;
        EXPECT_EQ(run.Texts().back(), c.box) << c.source;
        EXPECT_TRUE(run.Answers("ZR_R").empty()) << c.source << ": a statement after the error ran";
    }
}

TEST(MachineProgram, ControlFlow)
{
    const struct {
        const char* name;
        const char* source;
        double expected;
    } cases[] = {
        {"while (0) runs no body", "r = 5\nwhile (0) { r = 1 }", 5},
        {"break lets the pass finish", "r = 0\nwhile (1) { r = r + 1\nbreak\nr = r + 10 }", 11},
        {"a long for loop", "r = 0\nfor (i = 0; i < 100000; i++) { r = r + 1 }", 100000},
        {"case with break skips default", "r = 0\nswitch (2)\ncase (2) { r = r + 1\nbreak }\ndefault r = r + 10", 1},
        {"case without break runs default", "r = 0\nswitch (2)\ncase (2) r = r + 1\ndefault r = r + 10", 11},
        {"case has no tolerance", "r = 0\nswitch (2)\ncase (2.0000000001) r = r + 1\ndefault r = r + 10", 10},
        {"recursion", "func m1fact()\nif ($1 <= 1) then\nreturn (1)\nendif\nreturn ($1 * m1fact($1 - 1))\nendfunc\nr = m1fact(10)",
         3628800},
        {"arguments are assignable", "func m1inc()\n$1 = $1 + 1\nreturn ($1)\nendfunc\nr = m1inc(41)", 42},
    };
    for (const auto& c : cases) {
        ProgramRun run;
        run.Run(std::string(c.source) + "\nSet_ZR_Qty(\"ZR_R\", r)\n");
        EXPECT_EQ(Result(run), c.expected) << c.name;
        EXPECT_TRUE(run.Texts().empty()) << c.name << ": " << (run.Texts().empty() ? "" : run.Texts()[0]);
    }
}

TEST(MachineProgram, NestedCallLimit)
{
    const char* deep = "d = 0\nproc m1deep() {\nif (d < limit) then\nd++\nm1deep()\nendif\n}\n";
    ProgramRun ok;
    ok.Run(std::string(deep) + "limit = 1022\nm1deep()\nSet_ZR_Qty(\"ZR_R\", d)\n");
    EXPECT_EQ(Result(ok), 1022);
    EXPECT_TRUE(ok.Texts().empty());
    ProgramRun tooDeep;
    tooDeep.Run(std::string(deep) + "limit = 1023\nm1deep()\nSet_ZR_Qty(\"ZR_R\", d)\n");
    EXPECT_EQ(tooDeep.Texts(), std::vector<std::string>{"Error: m1deep call nested too deep"});
}

TEST(MachineProgram, PrintShowsOneBoxPerItem)
{
    ProgramRun run;
    run.Run("print 1, \"a\"\nmessage \"%5.1f cm\", 2.25\nx$ = \"ok\"\nprint \"[%s]\", x$\n");
    EXPECT_EQ(run.Texts(), (std::vector<std::string>{"1 ", "a", "  2.2 cm", "[ok]"}));
}

TEST(MachineProgram, StopEndsTheRun)
{
    ProgramRun run;
    run.Run("Set_ZR_Qty(\"ZR_R\", 1)\nx = stop(0)\nSet_ZR_Qty(\"ZR_R\", 2)\n");
    EXPECT_EQ(run.Answers("ZR_R"), std::vector<double>{1});
    EXPECT_TRUE(run.Texts().empty());
}

TEST(MachineProgram, WhatCarriesOverToTheNextCalculation)
{
    ProgramRun first;
    first.Run("kept = 12\nkept_text$ = \"abc\" + \"def\"\nfunc m1twice()\nreturn ($1 * 2)\nendfunc\n"
              "Set_ZR_Qty(\"ZR_R\", m1twice(kept))\n");
    EXPECT_EQ(Result(first), 24);
    for (int i = 0; i < 5; ++i) {
        ProgramRun again;
        again.Run("Set_ZR_Qty(\"ZR_R\", kept + len(kept_text$))\n");
        EXPECT_EQ(Result(again), 18) << "calculation " << i;
    }
    EXPECT_STREQ(symLookup("kept_text$")->u.str, "abcdef");
    // The routine's code went with its run; calling it now is an error, not a jump into nothing.
    ProgramRun stale;
    stale.Run("Set_ZR_Qty(\"ZR_R\", m1twice(1))\n");
    EXPECT_EQ(stale.Texts(), std::vector<std::string>{"Error: undefined routine m1twice"});
}

TEST(MachineProgram, PredefinedNamesAreReinstalledNotStacked)
{
    ProgramRun first;
    first.Run("PI = 3\n");
    Symbol* pi = symLookup("PI");
    Symbol* message = symLookup("message");
    ASSERT_NE(pi, nullptr);
    ProgramRun second;
    second.Run("Set_ZR_Qty(\"ZR_R\", PI)\n");
    EXPECT_NEAR(Result(second), 3.141592653589793, 1e-15);
    EXPECT_EQ(symLookup("PI"), pi);
    EXPECT_EQ(symLookup("message"), message);
}

}  // namespace
