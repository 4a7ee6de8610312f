// The string built-ins, run as macro expressions.
#include "tests/macro/builtin_support.h"

namespace {

struct TextCase {
    const char* expr;
    const char* expected;
};

struct NumberCase {
    const char* expr;
    double expected;
};

TEST(BuiltinStrings, TextResults)
{
    const TextCase cases[] = {
        {R"(left("abc", 5))", "abc"},
        {R"(left("abc", (-)1))", ""},
        {R"(left("abc", 2.9))", "ab"},
        {R"(left("", 3))", ""},
        {R"(left("abc", 1e300))", "abc"},
        {R"(right("abcdef", 2))", "ef"},
        {R"(right("abcdef", 9))", "abcdef"},
        {R"(right("abc", (-)2))", ""},
        {R"(mid("abcdef", 3, 2))", "cd"},
        {R"(mid("abcdef", 0, 2))", "ab"},
        {R"(mid("abcdef", 3, 0))", "cdef"},
        {R"(mid("abcdef", 9, 2))", "ab"},
        {R"(mid("abcdef", 3, 99))", "cdef"},
        {R"(mid("abcdef", 6, 1))", "f"},
        {R"(mid("abcdef", 7, 1))", "a"},
        {R"(mid("abcdef", (-)5, (-)5))", "abcdef"},
        {R"(mid("abcdef", 2.9, 1.9))", "b"},
        {R"(mid("", 3, 2))", ""},
        {R"(substr("abcdef", 1e300, 1e300))", "abcdef"},
        {R"(trim("  a b  "))", "a b"},
        {R"(trim("\ta\t"))", "\ta\t"},
        {R"(trim("     "))", ""},
        {R"(trim(""))", ""},
        {R"(lcase("AbC-1"))", "abc-1"},
        {R"(ucase("AbC-1"))", "ABC-1"},
        {"ucase(\"\xE9t\xE9\")", "\xE9T\xE9"},  // only ASCII letters change case
        {R"("ab" + "cd" + "")", "abcd"},
    };
    for (const TextCase& c : cases) EXPECT_EQ(EvalStr(c.expr), c.expected) << c.expr;
}

TEST(BuiltinStrings, NumberResults)
{
    const NumberCase cases[] = {
        {R"(len(""))", 0},
        {R"(strlen("abc"))", 3},
        {R"(instr("abcabc", "ca"))", 3},
        {R"(instr("abc", "x"))", 0},
        {R"(instr("abc", ""))", 1},
        {R"(instr("", "a"))", 0},
        {R"(instr("ab", "abc"))", 0},
        {R"(instric("Hello", "LL"))", 3},
        {R"(instric("hello", "x"))", 0},
        {R"(instrvec(2, "abcabc", "a"))", 3},
        {R"(instrvec(2, "abcabc", "z"))", -1},
        {R"(instrvec(0, "abc", "cz"))", 2},
        {R"(instrvec((-)4, "abc", "a"))", 0},
        {R"(instrvec(10, "abc", "a"))", -1},
        {R"(instrvec(0, "abc", ""))", -1},
        {R"(instrvec(1e300, "abc", "a"))", -1},
    };
    for (const NumberCase& c : cases) EXPECT_EQ(EvalNum(c.expr), c.expected) << c.expr;
}

// A string-vector element is accepted by len, lcase, ucase and as the middle of instrvec.
TEST(BuiltinStrings, VectorElementArguments)
{
    const char* setup = "vector bstr$[2]\nbstr$[1] = \"MiXed\"\n";
    EXPECT_EQ(EvalNum("len(bstr$[1])", setup), 5);
    EXPECT_EQ(EvalStr("lcase(bstr$[1])", setup), "mixed");
    EXPECT_EQ(EvalStr("ucase(bstr$[1])", setup), "MIXED");
    EXPECT_EQ(EvalNum("instrvec(0, bstr$[1], \"X\")", setup), 2);
    EXPECT_EQ(EvalNum("len(bstr$[0])", setup), 0);  // never assigned: empty
}

// Results are copies: changing the result never changes the source.
TEST(BuiltinStrings, ResultsAreCopies)
{
    EXPECT_EQ(EvalStr("a$ + \"/\" + b$", "a$ = \"abc\"\nb$ = left(a$, 3)\nb$ = ucase(b$)\n"), "abc/ABC");
}

TEST(BuiltinStrings, ProductCodeTests)
{
    ProgramRun run;
    run.host.numbers["IsProductCode"] = 1;
    run.host.numbers["IsExcludedProductCode"] = 2;
    run.Run("set_zr_qty(\"ZR_A\", isproductcode(7.9))\n"
            "set_zr_qty(\"ZR_B\", isexcludedproductcode((-)3.7))\n");
    EXPECT_EQ(run.Answers("ZR_A"), std::vector<double>{1.0});
    EXPECT_EQ(run.Answers("ZR_B"), std::vector<double>{0.0});  // only an answer of 1 counts
    ASSERT_GE(run.host.calls.size(), 2u);
    // The code is truncated, not rounded as the estimate built-ins round.
    EXPECT_EQ(run.host.calls[0], (HostCall{"IsProductCode", {"7"}}));
    EXPECT_EQ(run.host.calls[2], (HostCall{"IsExcludedProductCode", {"-3"}}));
}

}  // namespace
