// Every spelling of every keyword: installed with its token, and usable. Each token has one small
// program in which KW stands for the keyword; the program runs once for every spelling of that
// token and must hand "OK" its expected value without any box beyond those it asks for.
#include "tests/macro/program_support.h"

#include "grammar.tab.h"
#include "macro/Builtins.h"
#include "macro/Init.h"
#include "macro/Machine.h"
#include "macro/Macromain.h"
#include "platform/win/WinDefs.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

struct FormCase {
    int token;
    const char* setup;  // statements before the check (may be empty)
    const char* check;  // the expression handed to set_zr_qty("OK", ...)
    double expected;
    const char* box = nullptr;  // the one box the program shows, if any
    int answer = 0;             // its scripted answer
    const char* value = nullptr;
};

// PATH stands for a scratch file of the test.
const FormCase formCases[] = {
    {PROC, "KW kwp() { kwx = 1 }\nkwp()", "kwx", 1},
    {FUNC, "KW kwf()\nreturn(2)\nendfunc", "kwf()", 2},
    {RETURN, "func kwf()\nKW(3)\nendfunc", "kwf()", 3},
    {IF, "KW (1) then kwx = 4 endif", "kwx", 4},
    {THEN, "if (1) KW kwx = 5 endif", "kwx", 5},
    {ELSE, "if (0) then kwx = 1 KW kwx = 6 endif", "kwx", 6},
    {ENDIF, "if (1) then kwx = 7 KW", "kwx", 7},
    {ELSEIF, "if (0) then kwx = 1 KW (1) then kwx = 8 endif", "kwx", 8},
    {WHILE, "kwx = 0\nKW (kwx < 9) { kwx = kwx + 1 }", "kwx", 9},
    {ENDWHILE, "kwx = 0\nwhile (kwx < 10) kwx = kwx + 1 KW", "kwx", 10},
    {ENDFUNC, "func kwf()\nreturn(11)\nKW", "kwf()", 11},
    {FOR, "kwx = 0\nKW (kwi = 0; kwi < 5; kwi++) { kwx = kwx + kwi }", "kwx", 10},
    {ENDFOR, "kwx = 0\nfor (kwi = 0; kwi < 3; kwi++) kwx = kwx + 4 KW", "kwx", 12},
    {PRINT, "KW 42", "1", 1, "42 "},
    {READ, "KW(kwr)", "kwr", 13},  // macroInputResult is 13 before each run
    {BREAK, "kwx = 0\nwhile (1) { kwx = kwx + 1 KW }", "kwx", 1},
    {GOTO, "{ kwx = 1 KW @kwend\nkwx = 2\nkwend: kwx = kwx + 13 }", "kwx", 14},
    {SETQTY, "KW(1, 2)", "1", 1},
    {SETEXCLUDEDQTY, "KW(1, 2)", "1", 1},
    {SETMISCMATERIALQTY, "KW(1, 2, \"a\", 3)", "1", 1},
    {SETEXCLUDEDMISCMATERIALQTY, "KW(1, 2, \"a\", 3)", "1", 1},
    {SETMISCELLANEOUSQTY, "KW(1, 2, \"a\", \"b\", \"c\", \"d\", 3, 4, 5, 6)", "1", 1},
    {SETEXCLUDEDMISCELLANEOUSQTY, "KW(1, 2, \"a\", \"b\", \"c\", \"d\", 3, 4, 5, 6)", "1", 1},
    {ASK, "KW \"How many?\", kww", "kww", 12, "How many?", 1, "12"},
    {ASKYESNO, "KW \"Go on?\", kwy", "kwy", 1, "Go on?", IDYES},
    {SETNOTEON, "KW(\"n\")", "1", 1},
    {SETNOTEOFF, "KW(\"n\")", "1", 1},
    {SETNOTESTR, "KW(\"n\", \"t\")", "1", 1},
    {PRINTSTR, "KW(\"t\")", "1", 1},
    {ISNOTEON, "", "KW(\"n\")", 0},
    {SETZRSTR, "KW(\"ZR_KW$\", \"v\")", "1", 1},
    {SETZRQTY, "KW(\"ZR_KW\", 15)", "15", 15},
    {SETTREATMENT, "KW(1, \"a\", \"b\", 2)", "1", 1},
    {GETPRODUCTCODE, "", "KW(\"a\", \"b\", 1)", 0},
    {GETPRODUCTSTR, "", "len(KW(1, \"a\"))", 0},
    {GETPRODUCTQTY, "", "KW(1, \"a\")", 0},
    {GETPRODUCTSUBSTR, "", "len(KW(1, \"a\", 2))", 0},
    {GETPRODUCTSUBQTY, "", "KW(1, \"a\", 2)", 0},
    {GETLOCALITYSTR, "", "len(KW(\"a\", 1, 2))", 0},
    {GETLOCALITYQTY, "", "KW(\"a\", 1, 2)", 0},
    {GETPRODUCTLINESUBSTR, "", "len(KW(1, \"a\", 2))", 0},
    {GETPRODUCTLINESUBQTY, "", "KW(1, \"a\", 2)", 0},
    {GETPRICESTR, "", "len(KW(1))", 0},
    {GETPRICENOSEPARATORSTR, "", "len(KW(1))", 0},
    {REPLACESEPARATORSTR, "", "len(KW(\"a\", \"b\"))", 0},
    {SEARCHDIRFILENAME, "", "len(KW(\"a\", \"b\", 1))", 0},
    {SEARCHDIRFILECOUNT, "", "KW(\"a\", \"b\")", 0},
    {GETLENGTHSTR, "", "len(KW(1))", 0},
    {GETAREASTR, "", "len(KW(1))", 0},
    {GETQTYSTR, "", "len(KW(1, 2))", 0},
    {ISPRODUCTCODE, "", "KW(1)", 0},
    {ISEXCLUDEDPRODUCTCODE, "", "KW(1)", 0},
    {GETPRODUCTINPUTQTY, "", "KW(\"a\", \"b\", 1, \"c\")", 0},
    {GETPRODUCTINPUTSTR, "", "len(KW(\"a\", \"b\", 1, \"c\"))", 0},
    {GETPRODUCTLINEQTY, "", "KW(1, \"a\")", 0},
    {GETPRODUCTLINESTR, "", "len(KW(1, \"a\"))", 0},
    {GETEXCLUDEDPRODUCTLINEQTY, "", "KW(1, \"a\")", 0},
    {GETEXCLUDEDPRODUCTLINESTR, "", "len(KW(1, \"a\"))", 0},
    {GETVARIABLEFROMFILESTR, "", "len(KW(\"a\", \"b\"))", 0},
    {GETLINEFROMFILESTR, "", "len(KW(\"a\", \"b\", 1))", 0},
    {GETNOTESFROMFILE, "", "KW(\"a\")", 0},
    {SETNOTENAMEPREFIX, "", "KW(\"a\", \"b\", 1)", 0},
    {GETVARIABLEFROMFILE, "", "KW(\"a\", \"b\")", 0},
    {GETVARIABLEFROMFILEQTY, "", "KW(\"a\", \"b\")", 0},
    {ISFILEEXIST, "", "KW(\"a\")", 0},
    {ISVIEW, "", "KW(\"a\")", 0},
    {GETEDGENAMEQTY, "", "KW(1, \"a\", \"b\")", 0},
    {GETEDGENAMESTR, "", "len(KW(1, \"a\", \"b\"))", 0},
    {GETEDGEQTY, "", "KW(1, \"a\")", 0},
    {GETEDGESTR, "", "len(KW(1, \"a\"))", 0},
    {GETROOFQTY, "", "KW(1, \"a\")", 0},
    {GETROOFSTR, "", "len(KW(1, \"a\"))", 0},
    {GETWALLQTY, "", "KW(1, \"a\")", 0},
    {GETWALLSTR, "", "len(KW(1, \"a\"))", 0},
    {GETZRSTR, "", "len(KW(\"ZR_X$\"))", 0},
    {GETZRQTY, "", "KW(\"ZR_X\")", 0},
    {PLAY, "KW(0, 0)", "1", 1},  // no frequency: nothing sounds, nothing waits
    {VECTOR, "KW kwv[3]\nkwv[1] = 16", "kwv[1]", 16},
    {MODULO, "", "KW(7, 4)", 3},
    {ATAN2, "", "KW(1, 1)", 45},
    {STRLEN, "", "KW(\"abcd\")", 4},
    {INSTRVEC, "", "KW(0, \"abc\", \"c\")", 2},
    {SEARCHSTR, "", "KW(\"abc\", \"bc\")", 2},
    {SEARCHSTRIC, "", "KW(\"abc\", \"BC\")", 2},
    {TRIMSTR, "", "len(KW(\"  ab  \"))", 2},
    {LFTSTR, "", "asc(KW(\"abc\", 2))", 97},
    {RHTSTR, "", "asc(KW(\"abc\", 1))", 99},
    {MIDSTR, "", "asc(KW(\"abcd\", 2, 1))", 98},
    {ASC, "", "KW(\"A\")", 65},
    {CHR, "", "asc(KW(66))", 66},
    {STR, "", "val(KW(17, \"%g\"))", 17},
    {VAL, "", "KW(\"18\")", 18},
    {OPEN, "kwh = KW(\"PATH\", \"w\")\nclose(kwh)", "1", 1},
    {CLOSE, "kwh = open(\"PATH\", \"w\")\nKW(kwh)", "1", 1},
    {WRITE, "kwh = open(\"PATH\", \"w\")\nKW(kwh, \"abc\")\nclose(kwh)\nkwh = open(\"PATH\", \"r\")\n"
            "kws$ = readline(kwh, 80)\nclose(kwh)", "len(kws$)", 3},
    {READLINE, "kwh = open(\"PATH\", \"w\")\nwrite(kwh, \"abcd\")\nclose(kwh)\nkwh = open(\"PATH\", \"r\")\n"
               "kws$ = KW(kwh, 80)\nclose(kwh)", "len(kws$)", 4},
    {LCASE, "", "asc(KW(\"A\"))", 97},
    {UCASE, "", "asc(KW(\"a\"))", 65},
    {SWITCH, "kwx = 0\nKW (2)\ncase (2) kwx = 19", "kwx", 19},
    {CASE, "kwx = 0\nswitch (3)\nKW (3) kwx = 20", "kwx", 20},
    {DEFAULT, "kwx = 0\nswitch (3)\nKW kwx = 21", "kwx", 21},
    {GETARG, "", "len(KW(1))", 0},
    {COMON, "KW(1)", "1", 1},
    {COMOFF, "KW(1)", "1", 1},
    {COMLINES, "", "KW(22)", 22},
    {COMBYTES, "", "KW(23)", 23},
    {TIMESTR, "", "len(KW(\"%Y\"))", 4},
    {GETKEY, "", "KW(1)", 0},
    {EXTGETKEY, "", "KW(1)", 0},
    {VGACOLOR, "KW(1)", "1", 1},
    {CLS, "KW(1, 2, 3)", "1", 1},
    {DRAWLINE, "KW(1, 2, 3, 4, 5)", "1", 1},
    {MOUSE, "KW(200, 10, 10, 1)", "1", 1},
    {MOUSEX, "", "KW(200)", 200},
    {MOUSEY, "", "KW(201)", 201},
    {MOUSELB, "", "KW(200)", 0},
    {MOUSERB, "", "KW(200)", 0},
    {MORSE, "KW(\"e\")", "1", 1},  // the speaker is a scratch file here
    {SLEEPFOR, "KW(0)", "1", 1},
    {EAVELENGTHABOVE, "", "KW(1)", 0},
    {ROOFAREAABOVE, "", "KW(1)", 0},
    {ROUNDQTY, "", "KW(12.346, 2, 0)", 12.35},
    {VGAMOUSE, "", "KW(1, 2, 3)", 0},
    {QSORT, "vector kwv[3]\nkwv[0] = 3\nkwv[1] = 1\nkwv[2] = 2\nKW(3, kwv)",
     "kwv[0] * 100 + kwv[1] * 10 + kwv[2]", 123},
    {AND, "", "1 KW 1", 1},
    {OR, "", "0 KW 1", 1},
    {NOT, "", "KW 0", 1},
    {EQ, "", "2 KW 2", 1},
    {NE, "", "2 KW 3", 1},
    {GE, "", "3 KW 3", 1},
    {GT, "", "3 KW 2", 1},
    {LE, "", "2 KW 2", 1},
    {LT, "", "2 KW 3", 1},
};

std::string Replace(std::string text, const std::string& what, const std::string& with)
{
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

const FormCase* CaseOf(int token)
{
    for (const FormCase& c : formCases)
        if (c.token == token) return &c;
    return nullptr;
}

TEST(KeywordForms, EveryTokenHasAProgram)
{
    std::set<int> tokens;
    for (const KeywordRow& row : macroKeywords()) tokens.insert(row.token);
    for (int token : tokens) EXPECT_NE(CaseOf(token), nullptr) << "token " << token;
    EXPECT_EQ(std::size(formCases), tokens.size());
}

TEST(KeywordForms, EverySpellingIsInstalledAndRuns)
{
    const std::string path = MacroTestPath("keyword_forms.txt");
    const std::string speaker = WriteMacroFile("keyword_forms_speaker", "");
    const char* savedSpeaker = macroSpeakerDevice;
    macroSpeakerDevice = speaker.c_str();
    for (const KeywordRow& row : macroKeywords()) {
        const FormCase* c = CaseOf(row.token);
        if (!c) continue;  // reported by EveryTokenHasAProgram
        std::string program = Replace(c->setup, "KW", row.name);
        program += std::string(*c->setup ? "\n" : "") + "set_zr_qty(\"OK\", " + Replace(c->check, "KW", row.name) + ")\n";
        program = Replace(program, "PATH", path);

        ProgramRun run;
        macroInputResult = 13;
        if (c->box) run.boxes.Answer(c->answer, c->value ? QStringList{c->value} : QStringList{});
        run.Run(program);

        std::vector<std::string> boxes;
        if (c->box) boxes.push_back(c->box);
        EXPECT_EQ(run.Texts(), boxes) << row.name << ":\n" << program;
        std::vector<double> ok = run.Answers("OK");
        ASSERT_EQ(ok.size(), 1u) << row.name << ":\n" << program;
        EXPECT_NEAR(ok[0], c->expected, 1e-9) << row.name << ":\n" << program;
        Symbol* s = symLookup(row.name);
        ASSERT_NE(s, nullptr) << row.name;
        EXPECT_EQ(s->type, row.token) << row.name;
    }
    macroSpeakerDevice = savedSpeaker;
}

}  // namespace
