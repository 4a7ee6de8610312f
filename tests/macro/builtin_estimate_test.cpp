// The estimate built-ins: each calls its host function with the arguments converted as the host
// takes them, and hands back what the host answers.
#include "tests/macro/builtin_support.h"

namespace {

// The host calls of a program, without the set_zr_qty/set_zr_str that report the result.
std::vector<HostCall> CallsOf(const ProgramRun& run, const char* resultName)
{
    std::vector<HostCall> calls;
    for (const HostCall& c : run.host.calls)
        if (c.args.empty() || c.args[0] != resultName) calls.push_back(c);
    return calls;
}

struct StatementCase {
    const char* statement;
    HostCall call;
};

TEST(BuiltinEstimate, Setters)
{
    const StatementCase cases[] = {
        {"setqty(2.5, 7.25)", {"SetQty", {"3", "7.25"}}},
        {"setqty((-)1.7, 0)", {"SetQty", {"-1", "0"}}},
        {"setqty(2.49, (-)0.5)", {"SetQty", {"2", "-0.5"}}},
        {"setqty(1e300, 1)", {"SetQty", {"2147483647", "1"}}},
        {"SetExcludedQty(4, 1.5)", {"SetExcludedQty", {"4", "1.5"}}},
        {R"(setmiscmaterialqty(1.5, 2.5, "m", 3.5))", {"SetMiscMaterialQty", {"2", "2.5", "m", "0", "4"}}},
        {R"(setexcludedmiscmaterialqty(1, 2, "m", 3))", {"SetMiscMaterialQty", {"1", "2", "m", "1", "3"}}},
        {R"(setmiscellaneousqty(1, 2, "a", "b", "c", "d", 7.5, 8.5, 9.5, 10.4))",
         {"SetMiscellaneousQty", {"1", "2", "a", "b", "c", "d", "7.5", "8.5", "9.5", "0", "10"}}},
        {R"(setexcludedmiscellaneousqty(1, 2, "a", "b", "c", "d", 7, 8, 9, 10))",
         {"SetMiscellaneousQty", {"1", "2", "a", "b", "c", "d", "7", "8", "9", "1", "10"}}},
        {R"(setnoteon("n1"))", {"SetNoteOn", {"n1"}}},
        {R"(setnoteoff("n1"))", {"SetNoteOff", {"n1"}}},
        {R"(setnotestr("n1", "text"))", {"SetNoteStr", {"n1", "text"}}},
        {R"(printstr("hello"))", {"PrintStr", {"", "hello"}}},
        {R"(set_zr_str("ZR_CLIENT_NAME$", "Jo"))", {"SetZRStr", {"ZR_CLIENT_NAME$", "Jo"}}},
        {R"(Set_ZR_Qty("ZR_VARIABLE:3", 2.5))", {"SetZRQty", {"ZR_VARIABLE:3", "2.5"}}},
        {R"(settreatment(1.5, "a", "b", (-)0.5))", {"SetTreatment", {"2", "a", "b", "0"}}},
    };
    for (const StatementCase& c : cases) {
        ProgramRun run;
        run.Run(std::string(c.statement) + "\n");
        EXPECT_EQ(run.Texts(), std::vector<std::string>{}) << c.statement;
        EXPECT_EQ(run.host.calls, std::vector<HostCall>{c.call}) << c.statement;
    }
}

struct NumberCase {
    const char* expr;
    std::vector<HostCall> calls;
    const char* answering;  // the host function whose answer is set
    double answer;
    double expected;
};

TEST(BuiltinEstimate, NumberGetters)
{
    const NumberCase cases[] = {
        {R"(isnoteon("n"))", {{"IsNoteOn", {"n"}}}, "IsNoteOn", 1, 1},
        {R"(isnoteon("n"))", {{"IsNoteOn", {"n"}}}, "IsNoteOn", 2, 0},  // only 1 counts
        {"eavelengthabove(2.5)", {{"EaveLengthAbove", {"2.5"}}}, "EaveLengthAbove", 3.25, 3.25},
        {"roofareaaboveeave(1)", {{"RoofAreaAbove", {"1"}}}, "RoofAreaAbove", 4.5, 4.5},
        {R"(getproduct_code("a", "b", 2.5))", {{"GetProductCode", {"a", "b", "3"}}}, "GetProductCode", 42, 42},
        {R"(getproductqty(1.4, "f"))", {{"GetProductQty", {"1", "f"}}}, "GetProductQty", 1.5, 1.5},
        {R"(getproductsubqty(1, "f", 2))", {{"GetProductSubQty", {"1", "f", "2"}}}, "GetProductSubQty", 2, 2},
        {R"(getlocalityqty("l", 1, 2))", {{"GetLocalityQty", {"l", "1", "2"}}}, "GetLocalityQty", 3, 3},
        {R"(getproductlinesubqty(1, "f", 2))", {{"GetProductLineSubQty", {"1", "f", "2"}}}, "GetProductLineSubQty", 4, 4},
        {R"(getproductinputqty("a", "b", 1, "f"))",
         {{"GetProductCode", {"a", "b", "1"}}, {"GetProductQty", {"7", "f"}}}, "GetProductQty", 5, 5},
        {R"(getproductlineqty(1, "f"))", {{"GetProductLineQty", {"1", "f"}}}, "GetProductLineQty", 6, 6},
        {R"(getexcludedproductlineqty(1, "f"))", {{"GetExcludedProductLineQty", {"1", "f"}}}, "GetExcludedProductLineQty", 7, 7},
        {R"(getvariablefromfileqty("p", "v"))", {{"GetVariableFromFileQty", {"p", "v"}}}, "GetVariableFromFileQty", 8, 8},
        {R"(getvariablefromfile("p", "v"))", {{"GetVariableFromFileQty", {"p", "v"}}}, "GetVariableFromFileQty", 8, 8},
        {R"(searchdirfilecount("d", "*.x"))", {{"SearchDirFileCount", {"d", "*.x"}}}, "SearchDirFileCount", 1, 1},
        {R"(isfileexist("p"))", {{"IsFileExist", {"p"}}}, "IsFileExist", 2, 2},
        {R"(isview("v"))", {{"IsView", {"v"}}}, "IsView", 1, 1},
        {R"(get_zr_qty("TEST"))", {{"GetZRQty", {"TEST"}}}, "GetZRQty", 99.9, 99},  // truncated
        {R"(get_zr_qty("TEST"))", {{"GetZRQty", {"TEST"}}}, "GetZRQty", -99.9, -99},
        {R"(getedgenameqty(1, "n", "f"))", {{"GetEdgeNameQty", {"1", "n", "f"}}}, "GetEdgeNameQty", 9, 9},
        {R"(getedgeqty(1, "f"))", {{"GetEdgeQty", {"1", "f"}}}, "GetEdgeQty", 10, 10},
        {R"(getroofqty(1, "f"))", {{"GetRoofQty", {"1", "f"}}}, "GetRoofQty", 11, 11},
        {R"(getwallqty(1, "f"))", {{"GetWallQty", {"1", "f"}}}, "GetWallQty", 12, 12},
        // These hosts answer nothing: the built-in yields 0, one value and no more.
        {R"(getnotesfromfile("p"))", {{"GetNotesFromFile", {"p"}}}, "", 0, 0},
        {R"(setnotenameprefix("a", "b", 1.5))", {{"SetNoteNamePrefix", {"a", "b", "2"}}}, "", 0, 0},
    };
    for (const NumberCase& c : cases) {
        ProgramRun run;
        run.host.numbers["GetProductCode"] = 7;
        if (*c.answering) run.host.numbers[c.answering] = c.answer;
        run.Run(std::string("set_zr_qty(\"ZR_R\", ") + c.expr + ")\n");
        EXPECT_EQ(run.Texts(), std::vector<std::string>{}) << c.expr;
        EXPECT_EQ(CallsOf(run, "ZR_R"), c.calls) << c.expr;
        EXPECT_EQ(run.Answers("ZR_R"), std::vector<double>{c.expected}) << c.expr;
    }
}

// A getter used as an expression statement leaves the stack as it found it, inside loops too.
TEST(BuiltinEstimate, OneValueEach)
{
    ProgramRun run;
    run.Run("for (i = 0; i < 10000; i++) { setnotenameprefix(\"a\", \"b\", 1) getnotesfromfile(\"p\") }\n"
            "set_zr_qty(\"ZR_R\", 1 + setnotenameprefix(\"a\", \"b\", 1))\n");
    EXPECT_EQ(run.Texts(), std::vector<std::string>{});
    EXPECT_EQ(run.Answers("ZR_R"), std::vector<double>{1});
}

struct TextCase {
    const char* expr;
    HostCall call;
};

TEST(BuiltinEstimate, TextGetters)
{
    const TextCase cases[] = {
        {R"(getproductstr(1.5, "f"))", {"GetProductStr", {"2", "f"}}},
        {R"(getproductsubstr(1, "f", 2))", {"GetProductSubStr", {"1", "f", "2"}}},
        {R"(getlocalitystr("l", 1, 2))", {"GetLocalityStr", {"l", "1", "2"}}},
        {R"(getproductlinesubstr(1, "f", 2))", {"GetProductLineSubStr", {"1", "f", "2"}}},
        {"getpricestr(12.5)", {"GetPriceStr", {"12.5"}}},
        {"getpricenoseparatorstr(12.5)", {"GetPriceNoSeparatorStr", {"12.5"}}},
        {R"(replaceseparatorstr("a,b", ";"))", {"ReplaceSeparatorStr", {"a,b", ";"}}},
        {R"(getproductlinestr(1, "f"))", {"GetProductLineStr", {"1", "f"}}},
        {R"(getexcludedproductlinestr(1, "f"))", {"GetExcludedProductLineStr", {"1", "f"}}},
        {R"(getvariablefromfilestr("p", "v"))", {"GetVariableFromFileStr", {"p", "v"}}},
        {R"(getlinefromfilestr("p", "k", 2))", {"GetLineFromFileStr", {"p", "k", "2"}}},
        {R"(searchdirfilename("d", "*.x", 1))", {"SearchDirFileName", {"d", "*.x", "1"}}},
        {R"(getedgenamestr(1, "n", "f"))", {"GetEdgeNameStr", {"1", "n", "f"}}},
        {R"(getedgestr(1, "f"))", {"GetEdgeStr", {"1", "f"}}},
        {R"(getroofstr(1, "f"))", {"GetRoofStr", {"1", "f"}}},
        {R"(getwallstr(1, "f"))", {"GetWallStr", {"1", "f"}}},
        {R"(get_zr_str("TEST"))", {"GetZRStr", {"TEST"}}},
        {"getlengthstr(1000)", {"GetLengthStr", {"1000"}}},
        {"getareastr(2)", {"GetAreaStr", {"2"}}},
        {"getqtystr(1.5, 2)", {"GetQtyStr", {"1.5", "2"}}},
    };
    for (const TextCase& c : cases) {
        ProgramRun run;
        run.host.texts[c.call.name] = "answer of " + c.call.name;
        run.Run(std::string("set_zr_str(\"ZR_R\", ") + c.expr + ")\n");
        EXPECT_EQ(run.Texts(), std::vector<std::string>{}) << c.expr;
        EXPECT_EQ(run.host.calls,
                  (std::vector<HostCall>{c.call, {"SetZRStr", {"ZR_R", "answer of " + c.call.name}}}))
            << c.expr;
    }
}

TEST(BuiltinEstimate, ProductInputStr)
{
    ProgramRun run;
    run.host.numbers["GetProductCode"] = 12;
    run.host.texts["GetProductStr"] = "tile";
    run.Run(R"(set_zr_str("ZR_R", getproductinputstr("a", "b", 0.5, "name")))" "\n");
    EXPECT_EQ(run.host.calls, (std::vector<HostCall>{{"GetProductCode", {"a", "b", "1"}},
                                                     {"GetProductStr", {"12", "name"}},
                                                     {"SetZRStr", {"ZR_R", "tile"}}}));
}

// What the host writes is kept to the 511 bytes of the result buffer, up to its first NUL; a host
// that writes nothing gives the empty text.
TEST(BuiltinEstimate, TextResultLimits)
{
    struct Case {
        AnsiString hostText;
        std::string expected;
    } cases[] = {
        {"", ""},
        {std::string(600, 'x'), std::string(511, 'x')},
        {std::string(511, 'y'), std::string(511, 'y')},
        {std::string("ab\0cd", 5), "ab"},
    };
    for (const Case& c : cases) {
        ProgramRun run;
        run.host.texts["GetZRStr"] = c.hostText;
        run.Run("set_zr_str(\"ZR_R\", get_zr_str(\"TEST\"))\n");
        ASSERT_EQ(run.host.calls.size(), 2u);
        EXPECT_EQ(run.host.calls[1].args[1], c.expected) << c.hostText.size();
    }
}

// Without a host installed, every built-in answers neutrally.
TEST(BuiltinEstimate, DefaultHost)
{
    SetMacroHost(nullptr);
    EXPECT_EQ(Host().GetZRQty("TEST"), 0.0);
    EXPECT_EQ(Host().GetQtyStr(1.5, 2), "");
    EXPECT_EQ(Host().GetPredefinedString("TRANSLATE:Message"), "Message");
    EXPECT_EQ(Host().GetPredefinedString("ZR_CLIENT_NAME$"), "");
    EXPECT_EQ(Host().GetIntegerVariable("decimalseparator"), '.');
    EXPECT_EQ(Host().GetIntegerVariable("THOUSANDSEPARATOR"), ',');
    EXPECT_EQ(Host().GetIntegerVariable("NOSUCH"), 0);
}

}  // namespace
