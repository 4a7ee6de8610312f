// The names a run knows before its program is read.
#include "tests/macro/program_support.h"

#include "grammar.tab.h"
#include "macro/Init.h"
#include "macro/Machine.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>

namespace {

TEST(Init, TableSizes)
{
    EXPECT_EQ(macroKeywords().size(), 553u);
    EXPECT_EQ(macroConstants().size(), 5u);
    EXPECT_EQ(macroBuiltins().size(), 49u);
    EXPECT_EQ(macroPredefinedNumbers().size(), 227u);
    EXPECT_EQ(macroPredefinedStrings().size(), 255u);
}

TEST(Init, NamesAreUniqueAndWellFormed)
{
    std::set<std::string_view> names;
    for (const KeywordRow& row : macroKeywords()) {
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
        EXPECT_TRUE(row.token >= 258 && row.token <= 411) << row.name;
    }
    for (const BuiltinRow& row : macroBuiltins()) EXPECT_TRUE(names.insert(row.name).second) << row.name;
    for (const char* name : macroPredefinedNumbers()) {
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_EQ(std::string_view(name).substr(0, 3), "ZR_") << name;
    }
    for (const char* name : macroPredefinedStrings()) {
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_EQ(std::string_view(name).back(), '$') << name;
    }
}

TEST(Init, KeywordSpellings)
{
    const struct {
        const char* name;
        int token;
    } rows[] = {
        {"proc", PROC}, {"FUNCTION", FUNC}, {"EndFunction", ENDFUNC}, {"MsgBox", PRINT}, {"readvar", READ},
        {"read", READLINE}, {"InputYesNoBox", ASKYESNO}, {"roofareaaboveeave", ROOFAREAABOVE},
        {"Set_ZR_Qty", SETZRQTY}, {"beep", PLAY}, {"InStrIC", SEARCHSTRIC}, {"substr", MIDSTR},
        {"clearscreen", CLS}, {"ne", NE}, {"Not", NOT}, {"isproduct_code", ISPRODUCTCODE},
    };
    for (const auto& row : rows) {
        bool found = false;
        for (const KeywordRow& k : macroKeywords())
            if (std::string_view(k.name) == row.name) found = k.token == row.token;
        EXPECT_TRUE(found) << row.name;
    }
}

TEST(Init, ARunInstallsEveryName)
{
    ProgramRun run;
    run.host.numbers["GetPredefinedQty"] = 2.5;
    run.host.texts["GetPredefinedString"] = "from host";
    run.Run("set_zr_qty(\"A\", ZR_ROOF_AREA)\nset_zr_str(\"B$\", ZR_CLIENT_NAME$)\nset_zr_qty(\"C\", asc(EOF$))\n"
            "set_zr_qty(\"D\", DEG + GAMMA + PHI + E)\nset_zr_qty(\"F\", Sqrt(16) + ABS((-)2) + INT(2.7))\n");
    EXPECT_TRUE(run.Texts().empty());
    EXPECT_EQ(run.LastAnswers(), (std::map<std::string, double>{
                                     {"A", 2.5}, {"C", 26}, {"D", 57.29577951308232 + 0.5772156649015329 +
                                                                1.618033988749895 + 2.718281828459045},
                                     {"F", 8}}));
    ASSERT_FALSE(run.host.calls.empty());
    EXPECT_EQ(run.host.calls[1], (HostCall{"SetZRStr", {"B$", "from host"}}));
    Symbol* s = symLookup("ZR_VERTICAL_JOINT_QTY");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->type, VAR);
    s = symLookup("sys");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->type, BLTIN);
    EXPECT_EQ(symLookup("mESSAGE"), nullptr);  // not a spelling of the keyword
}

}  // namespace
