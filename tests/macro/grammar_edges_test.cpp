// The language the parser accepts, read through what programs do: the values they hand the host
// and the boxes they show.
#include "tests/macro/program_support.h"

#include <gtest/gtest.h>

namespace {

using Answers = std::map<std::string, double>;

struct ProgramCase {
    const char* what;
    std::string source;
    Answers answers;                 // the last SetZRQty value of each name
    std::vector<std::string> boxes;  // the boxes shown, in order
};

class GrammarPrograms : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(GrammarPrograms, Run)
{
    const ProgramCase& c = GetParam();
    ProgramRun run;
    run.Run(c.source);
    EXPECT_EQ(run.LastAnswers(), c.answers) << c.what;
    EXPECT_EQ(run.Texts(), c.boxes) << c.what;
}

std::string ParseError(int line, const std::string& text)
{
    return "Error: parse error in line number " + std::to_string(line) + ":\n" + text;
}

const ProgramCase programCases[] = {
    {"precedence of ^ over negation", "set_zr_qty(\"Z\", (-)2^2)\n", {{"Z", -4}}, {}},
    {"^ is right-associative", "set_zr_qty(\"Z\", 2^3^2)\n", {{"Z", 512}}, {}},
    {"/ is left-associative", "set_zr_qty(\"Z\", 8/4/2)\n", {{"Z", 1}}, {}},
    {"and binds tighter than or", "set_zr_qty(\"Z\", 1 or 0 and 0)\n", {{"Z", 1}}, {}},
    {"comparisons share one level", "set_zr_qty(\"Z\", 2 == 2 > 0)\n", {{"Z", 1}}, {}},
    {"double negation", "set_zr_qty(\"Z\", (-)(-)1)\n", {{"Z", 1}}, {}},
    {"a minus before an operand", "x = -1\n", {}, {ParseError(1, "x = -1\n")}},
    {"a minus inside parentheses", "x = (-1)\n", {}, {ParseError(1, "x = (-1)\n")}},
    {"assignment is right-associative", "x = y = 3\nset_zr_qty(\"Z\", x + y)\n", {{"Z", 6}}, {}},
    {"compound assignments", "x = 10\nx += 2\nx -= 4\nx *= 3\nx /= 8\nset_zr_qty(\"Z\", x)\n", {{"Z", 3}}, {}},
    {"x-- as a statement leaves the stack as it was",
     "x = 0\nfor (i = 0; i < 9000; i++) { x-- }\nset_zr_qty(\"Z\", x)\n", {{"Z", -9000}}, {}},
    {"a case body that is an assignment",
     "switch (3)\ncase (3) x = 5\nset_zr_qty(\"Z\", x)\n", {{"Z", 5}}, {}},
    {"for advances from its first cell",
     "n = 0\nfor (i = 0; i < 3; i = i + 1) n++\nendfor\nset_zr_qty(\"Z\", n)\n", {{"Z", 3}}, {}},
    {"for with a compound initialisation", "i = 5\nfor (i += 1; i < 8; i++) { }\nset_zr_qty(\"Z\", i)\n",
     {{"Z", 8}}, {}},
    {"for with an empty condition", "for (i = 0; ; i++) { }\n", {}, {ParseError(1, "for (i = 0; ; i++) { }\n")}},
    {"for with an expression for its initialisation", "for (0; i < 1; i++) { }\n", {},
     {ParseError(1, "for (0; i < 1; i++) { }\n")}},
    {"func in braces without endfunc", "func gf() {\n  return(1)\n}\nset_zr_qty(\"Z\", 1)\n", {},
     {ParseError(5, "set_zr_qty(\"Z\", 1)\n")}},  // the box shows the last line read
    {"return on its own line inside a proc", "y = 0\nproc gp() {\n  y = 1\n  return\n  y = 2\n}\ngp()\nset_zr_qty(\"Z\", y)\n",
     {{"Z", 1}}, {}},
    {"statements inside a list need no separator",
     "if (1) then x = 1 y = 2 endif\nset_zr_qty(\"Z\", x + y)\n", {{"Z", 3}}, {}},
    {"a blank line and a comment line do nothing", "\n' nothing\n   \nset_zr_qty(\"Z\", 1)\n", {{"Z", 1}}, {}},
    {"a vector element after a plain variable in ask", "vector v[2]\nask \"q\", w, v[1]\n", {},
     {ParseError(2, "ask \"q\", w, v[1]\n")}},
    // It parses; a vector element then reads its number from the program text that follows.
    {"a vector element first in ask", "vector v[2]\nask \"q\", v[1], w\nset_zr_qty(\"Z\", v[1] + w)\n",
     {}, {"q", "Error: non-numeric read into v"}},
    {"while with a braced body and endwhile",
     "k = 0\nwhile (k < 4) { k++ } endwhile\nset_zr_qty(\"Z\", k)\n", {{"Z", 4}}, {}},
    {"nested for loops", "n = 0\nfor (i = 0; i < 3; i++) {\n for (j = 0; j < 4; j++) { n++ }\n}\nset_zr_qty(\"Z\", n)\n",
     {{"Z", 12}}, {}},
    {"elseif chain", "x = 3\nif (x == 1) then r = 1 elseif (x == 2) then r = 2 elseif (x == 3) then r = 3 "
                     "else r = 4 endif\nset_zr_qty(\"Z\", r)\n",
     {{"Z", 3}}, {}},
    {"elseif chain without else", "x = 9\nr = 0\nif (x == 1) then r = 1 elseif (x == 2) then r = 2 endif\n"
                                  "set_zr_qty(\"Z\", r)\n",
     {{"Z", 0}}, {}},
    {"a vector element is not a text argument", "vector t$[1]\nt$[0] = \"a\"\nset_zr_str(\"ZR_S$\", t$[0])\n", {},
     {ParseError(3, "set_zr_str(\"ZR_S$\", t$[0])\n")}},
    {"vector elements compared with ==", "vector t$[2]\nt$[0] = \"a\"\nt$[1] = \"a\"\nset_zr_qty(\"Z\", t$[0] == t$[1])\n",
     {{"Z", 1}}, {}},
    {"a string vector assigned without an index", "vector gv$[2]\ny = 3 + (gv$ = \"a\")\n", {},
     {"Error: assignment to non-variable gv$"}},
    {"instrvec over a literal", "set_zr_qty(\"Z\", instrvec(2, \"abcabc\", \"a\"))\n", {{"Z", 3}}, {}},
    {"a lone & is a syntax error", "x = 1 & 2\n", {}, {ParseError(1, "x = 1 & 2\n")}},
    {"keywords only in their listed spellings", "Print = 4\nset_zr_qty(\"Z\", Print)\n", {{"Z", 4}}, {}},
    {"a constant may be assigned", "PI = 3\nset_zr_qty(\"Z\", PI)\n", {{"Z", 3}}, {}},
    {"a predefined variable reads 0", "set_zr_qty(\"Z\", ZR_TOTAL_PRICE)\n", {{"Z", 0}}, {}},
    {"goto a label defined later in the same block",
     "{\n goto @gskip\n set_zr_qty(\"Y\", 1)\n gskip: set_zr_qty(\"Z\", 2)\n}\n", {{"Z", 2}}, {}},
};

INSTANTIATE_TEST_SUITE_P(Source, GrammarPrograms, ::testing::ValuesIn(programCases));

}  // namespace
