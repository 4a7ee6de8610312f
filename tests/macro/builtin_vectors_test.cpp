// Vectors, conversions, quantity rounding, time, sleep, the command arguments and sorting.
#include "tests/macro/builtin_support.h"

#include "macro/Run.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace {

struct NumberCase {
    const char* expr;
    double expected;
};

struct TextCase {
    const char* expr;
    const char* expected;
};

struct ErrorCase {
    const char* program;
    const char* box;
};

TEST(BuiltinVectors, ElementAssignment)
{
    const char* setup = "vector bvec[3]\nbvec[1] = 4\n";
    const NumberCase cases[] = {
        {"bvec[0]", 0},                    // a new vector starts at zero
        {"bvec[1]", 4},
        {"bvec[2] = 7", 7},                // an assignment is an expression
        {"bvec[1] += 2", 2},               // the compound forms leave the operand, not the element
        {"bvec[1] += 2 + bvec[1]", 6},
        {"(bvec[1] *= 3) + bvec[1]", 15},
        {"(bvec[1] -= 1) + bvec[1]", 4},
        {"(bvec[1] /= 8) + bvec[1]", 8.5},
        {"(bvec[1] /= 0) + 0", 0},         // no zero test: the element becomes infinite
        {"bvec[2.9] = 5", 5},              // the index is truncated
    };
    for (const NumberCase& c : cases) EXPECT_EQ(EvalNum(c.expr, setup), c.expected) << c.expr;
    EXPECT_TRUE(std::isinf(EvalNum("bvec[1]", std::string(setup) + "bvec[1] /= 0\n")));
}

TEST(BuiltinVectors, DeclaringAgainGivesAFreshVector)
{
    EXPECT_EQ(EvalNum("bvec[0] + bvec[4]", "vector bvec[2]\nbvec[0] = 9\nvector bvec[5]\n"), 0);
    EXPECT_EQ(EvalStr("\"<\" + bstr$[1] + \">\"", "vector bstr$[2]\nbstr$[1] = \"x\"\nvector bstr$[2]\n"), "<>");
}

TEST(BuiltinVectors, StringElements)
{
    const char* setup = "vector bstr$[3]\nbstr$[0] = \"ab\"\nbstr$[2] = bstr$[0] + \"c\"\n";
    EXPECT_EQ(EvalStr("bstr$[0] + bstr$[1] + bstr$[2]", setup), "ababc");
}

TEST(BuiltinVectors, Errors)
{
    const ErrorCase cases[] = {
        {"vector bvec[3]\nbvec[3] = 1\n", "Error: index out of range bvec"},
        {"vector bvec[3]\nbvec[(-)1] = 1\n", "Error: index out of range bvec"},
        {"vector bvec[3]\nbvec[1e300] += 1\n", "Error: index out of range bvec"},
        {"vector bstr$[2]\nbstr$[2] = \"a\"\n", "Error: index out of range bstr$"},
        {"bnovec[0] = 1\n", "Error: vector not declared bnovec"},  // a plain name owns no elements
        {"t$ = \"a\"\nt$[0] = \"b\"\n", "Error: assignment to non-stringvector t$"},
        {"vector bstr$[2]\nvector bvec[2]\nbvec[0] = 1\nbstr$[0] = \"a\"\nbvec[0] = len(bstr$[0])\n", ""},
    };
    for (const ErrorCase& c : cases) EXPECT_EQ(FirstBox(c.program), c.box) << c.program;
}

TEST(BuiltinVectors, Sort)
{
    const char* setup = "vector bvec[5]\nbvec[0] = 3\nbvec[1] = 1\nbvec[2] = 2\nbvec[3] = (-)8\nbvec[4] = 99\nqsort(3, bvec)\n";
    EXPECT_EQ(EvalNum("bvec[0]*10000 + bvec[1]*1000 + bvec[2]*100", setup), 10000 + 2000 + 300);
    EXPECT_EQ(EvalNum("bvec[3]", setup), -8);  // beyond the count: untouched
    EXPECT_EQ(EvalNum("bvec[4]", setup), 99);
    // A count below 2 sorts nothing.
    EXPECT_EQ(EvalNum("bvec[0]", "vector bvec[2]\nbvec[0] = 2\nbvec[1] = 1\nqsort(1, bvec)\n"), 2);
    EXPECT_EQ(EvalNum("bvec[0]", "vector bvec[2]\nbvec[0] = 2\nbvec[1] = 1\nqsort((-)5, bvec)\n"), 2);
    // The count must lie within the vector.
    EXPECT_EQ(FirstBox("vector bvec[2]\nqsort(3, bvec)\n"), "Error: index out of range bvec");
}

// Many equal values, and sorted or reversed input, sort quickly and without deep recursion.
TEST(BuiltinVectors, SortLargeVectors)
{
    const char* fills[] = {"bvec[i] = 7", "bvec[i] = i", "bvec[i] = 0 - i", "bvec[i] = i % 3"};
    for (const char* fill : fills) {
        std::string setup = std::string("vector bvec[200000]\nfor (i = 0; i < 200000; i++) {") + fill +
                            "}\nqsort(200000, bvec)\nok = 1\n"
                            "for (i = 1; i < 200000; i++) { if (bvec[i-1] > bvec[i]) then ok = 0 endif }\n";
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(EvalNum("ok", setup), 1) << fill;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20)) << fill;
    }
}

TEST(BuiltinConversions, Numbers)
{
    const NumberCase cases[] = {
        {R"(asc("A"))", 65},
        {R"(asc("Abc"))", 65},
        {R"(asc(""))", 0},
        {"asc(\"\xE9\")", -23},  // bytes above 127 are negative
        {R"(val("12.5"))", 12.5},
        {R"(val("1,234.5"))", 1234.5},       // the thousands separator goes
        {R"(val("$1,234.50 each"))", 1234.5},
        {R"(val("-3"))", -3},
        {R"(val("+.5"))", 0.5},
        {R"(val(""))", 0},
        {R"(val("1-2"))", 1},
        {R"(val("1/2"))", 1},
    };
    for (const NumberCase& c : cases) EXPECT_EQ(EvalNum(c.expr), c.expected) << c.expr;
}

TEST(BuiltinConversions, Texts)
{
    const TextCase cases[] = {
        {"chr(65)", "A"},
        {"chr(321)", "A"},       // the low 8 bits
        {"chr(256)", ""},
        {"chr(0)", ""},
        {"chr(65.9)", "A"},
        {"chr(1e300)", ""},
        {"chr(233)", "\xE9"},
        {R"(str(3.14159, "%.2f"))", "3.14"},
        {R"(str(2, "%5.1f"))", "  2.0"},
        {R"(str(2, "x=%g%%"))", "x=2%"},
        {R"(str(42.7, "%d"))", "42"},
        {R"(str(1, "%s and %s"))", "1 and %s"},  // only the first conversion takes the number
        {R"(str(1, "%n"))", "%n"},
    };
    for (const TextCase& c : cases) EXPECT_EQ(EvalStr(c.expr), c.expected) << c.expr;
    // A text never exceeds 511 characters.
    EXPECT_EQ(EvalNum(R"(len(str(1, "%900.1f")))"), 511);
}

// The number is written and read with a full stop whatever the desktop's locale. The locale with a
// decimal comma is made for the test, so that no machine lacks it.
TEST(BuiltinConversions, FullStopInAnyLocale)
{
    const CommaLocale comma;
    ASSERT_TRUE(comma.made) << comma.why;
    EXPECT_EQ(EvalStr(R"(str(2.5, "%.1f"))"), "2.5");
    EXPECT_EQ(EvalNum(R"(val("2.5"))"), 2.5);
    EXPECT_EQ(EvalNum(R"(val(str(1234.5, "%g")) * 2)"), 2469);
}

TEST(BuiltinConversions, ValWithCommaDecimals)
{
    ProgramRun run;
    run.host.numbers["GetIntegerVariable:DECIMALSEPARATOR"] = ',';
    run.host.numbers["GetIntegerVariable:THOUSANDSEPARATOR"] = '.';
    run.Run("set_zr_qty(\"ZR_R\", val(\"1.234,5\"))\n");
    EXPECT_EQ(run.Answers("ZR_R"), std::vector<double>{1234.5});
    ASSERT_GE(run.host.calls.size(), 2u);
    EXPECT_EQ(run.host.calls[0], (HostCall{"GetIntegerVariable", {"DECIMALSEPARATOR"}}));
    EXPECT_EQ(run.host.calls[1], (HostCall{"GetIntegerVariable", {"THOUSANDSEPARATOR"}}));
}

TEST(BuiltinConversions, ValFailures)
{
    EXPECT_EQ(FirstBox("x = val(\"abc\")\n"), "Error: val: conversion error ");
    EXPECT_EQ(FirstBox("x = val(\"a+b\")\n"), "Error: val: conversion error +");
}

// val reads its argument and leaves it as it was.
TEST(BuiltinConversions, ValKeepsItsArgument)
{
    EXPECT_EQ(EvalStr("a$", "a$ = \"$1,234.50 each\"\nx = val(a$)\n"), "$1,234.50 each");
    EXPECT_EQ(EvalNum("asc(EOF$)", "x = val(EOF$ + \"1\")\nx = val(\"7\")\n"), 26);
}

TEST(BuiltinConversions, RoundQty)
{
    const NumberCase cases[] = {
        {"roundqty(12.346, 2, 0)", 12.35},
        {"roundqty(12.341, 2, 1)", 12.35},
        {"roundqty(12.349, 2, (-)1)", 12.34},
        {"roundqty(12.34, 2, 1)", 12.34},      // already on the step: not pushed up
        {"roundqty(1234, 100, 0)", 1200},
        {"roundqty(1250, 100, 0)", 1300},
        {"roundqty(1234, 50, 0)", 1250},
        {"roundqty(1224, 50, 0)", 1200},
        {"roundqty(12, 5, 1)", 15},
        {"roundqty(12, 5, 0)", 10},
        {"roundqty(3.14159, 7, 0)", 3.1416},   // 6 to 9: four places
        {"roundqty(3.14159, 4, 0)", 3.1416},
        {"roundqty(2.5, 0, 0)", 3},
        {"roundqty((-)2.5, 0, 0)", -2},
        {"roundqty(2.4, 0, 1)", 3},
        {"roundqty(2.6, 0, (-)1)", 2},
        {"roundqty(123, (-)1, 0)", 120},
        {"roundqty(12.3456, 1.6, 0)", 12.35},  // the step rounds to 2
        {"roundqty(12.3456, 2.4, 0.6)", 12.35}, // and the mode 0.6 to 1: up
        {"roundqty(1234567, 1000, 0)", 1235000},
        {"roundqty(1234567, 20000, 0)", 1230000},
        {"roundqty(123456789, 5000000, 0)", 123000000},
        {"roundqty(1234.5, (-)9, 0)", 1000000 * std::floor(1234.5e-6 + 0.5)},
    };
    for (const NumberCase& c : cases) EXPECT_DOUBLE_EQ(EvalNum(c.expr), c.expected) << c.expr;
}

TEST(BuiltinMisc, TimeStr)
{
    char year[8];
    std::time_t now = std::time(nullptr);
    std::strftime(year, sizeof year, "%Y", std::localtime(&now));
    EXPECT_EQ(EvalStr(R"(timestr("%Y"))"), year);
    EXPECT_EQ(EvalStr(R"(timestr("100%%"))"), "100%");
    EXPECT_EQ(EvalStr(R"(timestr("%b"))").size(), 3u);
    EXPECT_EQ(EvalStr(R"(timestr(""))"), "");
    // Longer than the 256-byte buffer: the empty text, nothing written past it.
    EXPECT_EQ(EvalStr(R"(timestr("%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y%Y"))"), "");
    // One buffer for every call: a variable set from timestr reads the latest call.
    EXPECT_EQ(EvalStr("a$", "a$ = timestr(\"first\")\nb$ = timestr(\"second\")\n"), "second");
}

TEST(BuiltinMisc, SleepForNothing)
{
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FirstBox("sleepfor(0)\nsleepfor((-)5)\nsleepfor(0.9)\nsleepfor((-)1e300)\n"), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(BuiltinMisc, GetArg)
{
    EXPECT_EQ(EvalStr("getarg(0)"), "");
    EXPECT_EQ(EvalStr("getarg((-)1)"), "");
    EXPECT_EQ(EvalStr("getarg(1e300)"), "");
}

}  // namespace
