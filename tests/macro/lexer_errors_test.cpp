// Lexer failures: each shows its box, and the run ends there (what ran before stays done).
#include "tests/macro/program_support.h"

#include <gtest/gtest.h>

namespace {

struct LexErrorCase {
    const char* what;
    std::string source;  // runs between a statement that answers ZR_A and one that answers ZR_B
    std::string box;
};

class LexerErrors : public ::testing::TestWithParam<LexErrorCase> {};

TEST_P(LexerErrors, ShowTheirBoxAndEndTheRun)
{
    const LexErrorCase& c = GetParam();
    ProgramRun run;
    run.Run("set_zr_qty(\"ZR_A\", 1)\n" + c.source + "\nset_zr_qty(\"ZR_B\", 1)\n");
    EXPECT_EQ(run.Texts(), std::vector<std::string>{c.box}) << c.what;
    EXPECT_EQ(run.LastAnswers(), (std::map<std::string, double>{{"ZR_A", 1}})) << c.what;
}

const std::string name511(511, 'n');
const std::string text511(511, 't');

const LexErrorCase lexErrorCases[] = {
    {"blank before $", "a $", "Error: strange $..."},
    {"$0", "x = $0", "Error: strange $..."},
    {"512-character name", "x = " + name511 + "n", "Error: name too long " + name511},
    {"512-character string", "s$ = \"" + text511 + "t\"", "Error: string too long " + text511},
    {"512-character label", "goto @" + name511 + "l", "Error: label too long " + name511},
    {"string cut by its line end", "s$ = \"abc", "Error: text missing closing double-quote "},
    {"two labels of one name", "lxtwice:\nlxtwice:", "Error: multiple labels:  lxtwice"},
    {"argument outside a routine", "x = $1", "Error: $ used outside proc definition"},
    {"argument assignment outside a routine", "$2 = 1", "Error: $ used outside proc definition"},
    {"return outside a routine", "return", "Error: return used outside proc definition"},
};

INSTANTIATE_TEST_SUITE_P(Source, LexerErrors, ::testing::ValuesIn(lexErrorCases));

TEST(LexerLimits, TheLongestNameStringAndLabelAreAccepted)
{
    ProgramRun run;
    run.Run(name511 + " = 2\nset_zr_qty(\"ZR_N\", " + name511 + ")\ns$ = \"" + text511 +
            "\"\nset_zr_qty(\"ZR_S\", len(s$))\n" + name511 + "$ = \"x\"\n");
    EXPECT_TRUE(run.Texts().empty());
    EXPECT_EQ(run.LastAnswers(), (std::map<std::string, double>{{"ZR_N", 2}, {"ZR_S", 511}}));
}

TEST(LexerLimits, AStringUnterminatedAtTheEndOfInput)
{
    ProgramRun run;
    run.Run("s$ = \"abc");
    EXPECT_EQ(run.Texts(), std::vector<std::string>{"Error: text missing closing double-quote "});
}

TEST(LexerLimits, ACommentUnterminatedAtTheEndOfInputEndsThere)
{
    ProgramRun run;
    run.Run("set_zr_qty(\"ZR_A\", 1)\n' no line end");
    EXPECT_TRUE(run.Texts().empty());
    EXPECT_EQ(run.Answers("ZR_A"), std::vector<double>{1});
}

}  // namespace
