// Bad and extreme input: every byte sequence ends in a box or a normal end of the run.
#include "tests/macro/program_support.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Answers = std::map<std::string, double>;

std::string Parens(int depth)
{
    return "x = " + std::string(depth, '(') + "1" + std::string(depth, ')') + "\nset_zr_qty(\"ZR_P\", x)\n";
}

TEST(RunLimits, NestingUpToTheParserDepthParses)
{
    ProgramRun run;
    run.Run(Parens(9990));
    EXPECT_TRUE(run.Texts().empty());
    EXPECT_EQ(run.LastAnswers(), (Answers{{"ZR_P", 1}}));
}

TEST(RunLimits, NestingPastTheParserDepthIsAParserStackOverflow)
{
    ProgramRun run;
    run.Run(Parens(10000));
    ASSERT_EQ(run.Texts().size(), 1u);
    // The piece of the line the reader holds when the parser gives up.
    EXPECT_EQ(run.Texts()[0].substr(0, 52), "Error: parser stack overflow in line number 1:\n(((((");
    EXPECT_TRUE(run.LastAnswers().empty());  // nothing runs after a syntax error
}

TEST(RunLimits, DeepFixturesRun)
{
    ProgramRun run;
    for (const char* file : {"deep_parens.mac", "nested_ifs.mac", "recursion.mac"}) run.RunFile(MacroFixture(file));
    EXPECT_TRUE(run.Texts().empty());
    EXPECT_EQ(run.LastAnswers(), (Answers{{"ZR_DEEP", 1}, {"ZR_NESTED", 300}, {"ZR_DEPTH", 1000}}));
}

TEST(RunLimits, RecursionToTheFrameLimit)
{
    const std::string rec = "func rlrec() {\n if ($1 <= 0) then return(0) endif\n return(1 + rlrec($1 - 1))\n} endfunc\n";
    ProgramRun run;
    run.Run(rec + "set_zr_qty(\"ZR_R\", rlrec(1022))\n");  // 1,023 nested calls
    EXPECT_TRUE(run.Texts().empty());
    EXPECT_EQ(run.LastAnswers(), (Answers{{"ZR_R", 1022}}));
    run.Run(rec + "set_zr_qty(\"ZR_S\", rlrec(1023))\n");  // the 1,024th call
    EXPECT_EQ(run.Texts(), std::vector<std::string>{"Error: rlrec call nested too deep"});
    run.Run(rec + "set_zr_qty(\"ZR_T\", rlrec(100000))\n");
    EXPECT_EQ(run.Texts().size(), 2u);
    EXPECT_EQ(run.LastAnswers(), (Answers{{"ZR_R", 1022}}));
}

TEST(RunLimits, AProgramTooBigForTheProgramArea)
{
    std::string sum = "x = 0";
    for (int i = 0; i < 17000; ++i) sum += "+1";  // three cells a term
    ProgramRun run;
    run.Run(sum + "\nset_zr_qty(\"ZR_A\", 1)\n");
    EXPECT_EQ(run.Texts(), std::vector<std::string>{"Error: program too big"});
    EXPECT_TRUE(run.LastAnswers().empty());
}

TEST(RunLimits, UnterminatedTextsAndComments)
{
    ProgramRun run;
    run.Run("s$ = \"no end\nset_zr_qty(\"ZR_A\", 1)\n");
    run.Run("set_zr_qty(\"ZR_B\", 1)\n' a comment without its line end");
    run.Run("set_zr_qty(\"ZR_C\", 1)\ns$ = \"a\\");
    EXPECT_EQ(run.Texts(), (std::vector<std::string>{"Error: text missing closing double-quote ",
                                                     "Error: text missing closing double-quote "}));
    EXPECT_EQ(run.LastAnswers(), (Answers{{"ZR_B", 1}, {"ZR_C", 1}}));
}

TEST(RunLimits, BytesAboveTheAsciiRangeAreSyntaxErrorsOutsideTexts)
{
    ProgramRun run;
    run.Run("x = 2 \xbd\nset_zr_qty(\"ZR_A\", 1)\n");
    ASSERT_EQ(run.Texts().size(), 1u);
    EXPECT_EQ(run.Texts()[0].substr(0, 37), "Error: parse error in line number 1:\n");
    EXPECT_TRUE(run.LastAnswers().empty());  // the rest of the program no longer ends silently
    run.Run("s$ = \"2\xbd\xff\"\nset_zr_qty(\"ZR_L\", len(s$))\n");
    EXPECT_EQ(run.LastAnswers(), (Answers{{"ZR_L", 3}}));
}

TEST(RunLimits, EveryByteValue)
{
    std::string all;
    for (int c = 0; c < 256; ++c) all += char(c);
    ProgramRun run;
    run.Run(all + "\n" + all);
    run.Run("set_zr_qty(\"ZR_A\", 1)\n");
    EXPECT_EQ(run.LastAnswers(), (Answers{{"ZR_A", 1}}));
}

TEST(RunLimits, RandomBytesEndEveryRun)
{
    std::mt19937 gen(20240207);
    std::uniform_int_distribution<int> byte(0, 255), length(1, 3000), pick(0, 9);
    const std::string words[] = {"x = ", "(", ")", "{", "}", "if", "then", "endif", "while", "for", "\"", "'",
                                 "$1", "func", "proc", "return", "\n", ";", "vector v[3]", "v[1]", "@l", "l:"};
    ProgramRun run;
    for (int i = 0; i < 200; ++i) {
        std::string program;
        int n = length(gen);
        while (int(program.size()) < n) {
            if (pick(gen) < 4) program += words[gen() % std::size(words)];
            else program += char(byte(gen));
        }
        run.Run(program);
    }
    run.Run("set_zr_qty(\"ZR_A\", 1)\n");
    EXPECT_EQ(run.LastAnswers()["ZR_A"], 1);
}

TEST(RunLimits, AHundredThousandCharacterLine)
{
    ProgramRun run;
    run.Run("x = 1" + std::string(100000, '+') + "\nset_zr_qty(\"ZR_A\", 1)\n");
    run.Run(std::string(100000, 'n') + " = 1\n");
    run.Run("s$ = \"" + std::string(100000, 's') + "\"\n");
    ASSERT_EQ(run.Texts().size(), 3u);
    EXPECT_EQ(run.Texts()[0].substr(0, 37), "Error: parse error in line number 1:\n");
    EXPECT_EQ(run.Texts()[1].substr(0, 25), "Error: name too long nnnn");
    EXPECT_EQ(run.Texts()[2].substr(0, 27), "Error: string too long ssss");
}

}  // namespace

namespace {

// A goto out of an if part keeps the native level of that part, so a goto loop nests deeper on
// every pass. Short loops run; a loop deep enough to exhaust the stack ends in a run-time error.
TEST(RunLimits, GotoLoopsEndInAnErrorBeforeTheStackRunsOut)
{
    const std::string loop = "{\ni = 0\nglzz: i = i + 1\nif (i < N) then goto glzz endif\n}\nset_zr_qty(\"ZR_G\", i)\n";
    auto withCount = [&](const char* n) {
        std::string s = loop;
        s.replace(s.find('N'), 1, n);
        return s;
    };
    ProgramRun run;
    run.Run(withCount("1000"));
    EXPECT_TRUE(run.Texts().empty());
    EXPECT_EQ(run.LastAnswers(), (Answers{{"ZR_G", 1000}}));
    run.Run(withCount("100000000"));
    EXPECT_EQ(run.Texts(), std::vector<std::string>{"Error: program nested too deep"});
    // The interpreter is whole afterwards.
    run.Run(withCount("10"));
    EXPECT_EQ(run.LastAnswers(), (Answers{{"ZR_G", 10}}));
}

}  // namespace
