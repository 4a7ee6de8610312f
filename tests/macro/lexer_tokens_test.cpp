// The lexer: the tokens it hands the parser for a piece of source, and its errors.
#include "tests/macro/program_support.h"

#include "grammar.tab.h"
#include "macro/Init.h"
#include "macro/Lexer.h"
#include "macro/Machine.h"
#include "macro/Macromain.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

namespace {

// The tokens of source, one text each: "VAR x", "NUMBER 1000", "'+'", "\\n", "PP" ...
std::string Tokens(const std::string& source, int* lines = nullptr)
{
    static const std::map<int, const char*> names = {
        {VAR, "VAR"}, {STRVAR, "STRVAR"}, {UNDEF, "UNDEF"}, {LABEL, "LABEL"}, {NUMBER, "NUMBER"},
        {STRING, "STRING"}, {FORMAT, "FORMAT"}, {ARG, "ARG"}, {GT, "GT"}, {GE, "GE"}, {LT, "LT"},
        {LE, "LE"}, {EQ, "EQ"}, {NE, "NE"}, {AND, "AND"}, {OR, "OR"}, {NOT, "NOT"}, {AE, "AE"},
        {SE, "SE"}, {ME, "ME"}, {DE, "DE"}, {PP, "PP"}, {MM, "MM"}, {PRINT, "PRINT"}, {BLTIN, "BLTIN"},
        {STRLEN, "STRLEN"}, {IF, "IF"},
    };
    ResetMacroStrings();
    machineReset();
    macroInit();
    macroLineNumber = 1;
    std::string path = WriteMacroFile("lexer.txt", source);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    macroReaderStart(f);
    std::string out;
    for (int t; (t = macroLex()) != 0;) {
        if (!out.empty()) out += ' ';
        auto it = names.find(t);
        if (t == '\n') out += "\\n";
        else if (it == names.end()) out += t < 256 ? "'" + std::string(1, char(t)) + "'" : "tok" + std::to_string(t);
        else out += it->second;
        char buf[64];
        if (t == NUMBER) std::snprintf(buf, sizeof buf, " %.15g", macrolval.sym->u.val), out += buf;
        if (t == VAR || t == STRVAR || t == UNDEF || t == LABEL) out += std::string(" ") + macrolval.sym->name;
        if (t == STRING || t == FORMAT) out += std::string(" [") + macrolval.str + "]";
        if (t == ARG) out += " " + std::to_string(macrolval.num);
    }
    if (lines) *lines = macroLineNumber;
    macroReaderStart(nullptr);
    std::fclose(f);
    ClearMacroStrings();
    return out;
}

struct TokenCase {
    std::string source;
    const char* tokens;
};

class LexerTokens : public ::testing::TestWithParam<TokenCase> {};

TEST_P(LexerTokens, Splits)
{
    EXPECT_EQ(Tokens(GetParam().source), GetParam().tokens) << "source: " << GetParam().source;
}

const TokenCase tokenCases[] = {
    {"lxx=1;lxy=2\n", "VAR lxx '=' NUMBER 1 \\n VAR lxy '=' NUMBER 2 \\n"},
    {"lxa$ = lxb\n", "STRVAR lxa$ '=' VAR lxb \\n"},
    {"LxTotal lxtotal\n", "VAR LxTotal VAR lxtotal \\n"},
    {"lxloop: lxx\n", "VAR lxx \\n"},
    {"lxspot : lxx\n", "VAR lxspot ':' VAR lxx \\n"},
    {"@lxlater\nlxlater:\n@lxlater\n", "UNDEF lxlater \\n \\n LABEL lxlater \\n"},
    {"lxx+++lxy\n", "VAR lxx PP '+' VAR lxy \\n"},
    {"lxa=-1\n", "VAR lxa '=' '-' NUMBER 1 \\n"},
    {"lxx-=lxy--\n", "VAR lxx SE VAR lxy MM \\n"},
    {"lxa*=lxb/=lxc\n", "VAR lxa ME VAR lxb DE VAR lxc \\n"},
    {"qa>=qb>qc<=qd<qe==qf!=qg!qh\n",
     "VAR qa GE VAR qb GT VAR qc LE VAR qd LT VAR qe EQ VAR qf NE VAR qg NOT VAR qh \\n"},
    {"lxa&&lxb||lxc&lxd|lxe\n", "VAR lxa AND VAR lxb OR VAR lxc '&' VAR lxd '|' VAR lxe \\n"},
    {"1e3 2.5E-1 1e .5 . 1.2.3 2lxx\n",
     "NUMBER 1000 NUMBER 0.25 NUMBER 1 NUMBER 0.5 NUMBER 0 NUMBER 1.2 NUMBER 0.3 NUMBER 2 VAR lxx \\n"},
    {"1e400 1e-400\n", "NUMBER inf NUMBER 0 \\n"},
    {"\"100%\" \"\\%\" \"a\\tb\" \"q\\\"q\" \"b\\\\\"\n",
     "FORMAT [100%] STRING [%] STRING [a\tb] STRING [q\"q] STRING [b\\] \\n"},
    {"\"a\\\nb\"\n", "STRING [a\nb] \\n"},
    {"\"\\B\\q\"\n", "STRING [Bq] \\n"},
    {"lxx = 1 ' a remark = 5\nlxy\n", "VAR lxx '=' NUMBER 1 \\n VAR lxy \\n"},
    {"' remark at the end", "\\n"},  // the remark still ends its line
    {"$1 $20 = $003\n", "ARG 1 ARG 20 '=' ARG 3 \\n"},
    {"print Print msgbox MsgBox MSGbox\n", "PRINT VAR Print PRINT PRINT VAR MSGbox \\n"},
    {"len LEN Len strlen lEN\n", "STRLEN STRLEN STRLEN STRLEN VAR lEN \\n"},
    {"sqrt If IF iF\n", "BLTIN IF IF VAR iF \\n"},
    {"lxx\r\nlxy\r\n", "VAR lxx \\n VAR lxy \\n"},
    {"\tlxx \t= 1\n", "VAR lxx '=' NUMBER 1 \\n"},
    // Bytes above 0x7F are characters: in a literal they stay, elsewhere the parser rejects them.
    {"\"\xe9\xff\" \xb0\n", "STRING [\xe9\xff] '\xb0' \\n"},
    {"lxx \xff lxy\n", "VAR lxx '\xff' VAR lxy \\n"},
    // A NUL byte ends its piece; at the start of a piece it ends the input.
    {std::string("lxx = 1\0junk\nlxy\n", 17), "VAR lxx '=' NUMBER 1 VAR lxy \\n"},
};

INSTANTIATE_TEST_SUITE_P(Source, LexerTokens, ::testing::ValuesIn(tokenCases));

TEST(Lexer, CountsLineEndsButNotSemicolons)
{
    int lines = 0;
    Tokens("x=1;y=2\n", &lines);
    EXPECT_EQ(lines, 2);
    Tokens("x=1\ny=2\n", &lines);
    EXPECT_EQ(lines, 3);
    Tokens("\"a\\\nb\"\n", &lines);  // an escaped line end is part of the text
    EXPECT_EQ(lines, 2);
}

TEST(Lexer, NulAtTheStartOfALineEndsTheInput)
{
    EXPECT_EQ(Tokens(std::string("lxx\n\0y\nz\n", 10)), "VAR lxx \\n");
}

TEST(Lexer, LongLinesArriveInPieces)
{
    // Blanks are skipped across pieces, so a statement after 100,000 of them still reads.
    EXPECT_EQ(Tokens(std::string(100000, ' ') + "lxx = 1\n"), "VAR lxx '=' NUMBER 1 \\n");
    // A number split by a piece boundary is two numbers: 511 bytes end the first piece.
    EXPECT_EQ(Tokens(std::string(509, ' ') + "123\n"), "NUMBER 12 NUMBER 3 \\n");
}

}  // namespace
