// The print and question instructions on hand-assembled cells, and the checks that only cells the
// grammar never lays out can reach. (Control flow through real programs: machine_program_test.)
#include "tests/macro/machine_support.h"

#include "platform/win/WinDefs.h"

#include <cstring>

namespace {

// A jump into a routine's body from the top level leaves no routine for $n or a return to use.
TEST_F(MachineTest, ArgumentsAndReturnsOutsideARoutine)
{
    for (Handler h : {arg, argassign, procret, funcret}) {
        NewRun();
        int start = codeNext;
        Const(1);
        emitInstr(h, "h", -1);
        emitNum(1);
        EXPECT_FALSE(Run(start));
        EXPECT_TRUE(LastBox().find("used outside proc definition") != std::string::npos) << LastBox();
    }
}

class Print : public MachineTest {
protected:
    std::vector<std::string> Boxes() const
    {
        std::vector<std::string> out;
        for (const auto& c : rec.calls) out.push_back(c.text.toStdString());
        return out;
    }
};

TEST_F(Print, EveryItemShowsItsOwnBox)
{
    char a[] = "a";
    int start = codeNext;
    Const(1);
    EMIT(prexpr);
    EMIT(prstr);
    emitStr(a);
    Const(1.0 / 3);
    EMIT(prexpr);
    ASSERT_TRUE(Run(start));
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"1 ", "a", "0.33333333 "}));
    EXPECT_EQ(rec.calls[0].flags, MB_ICONINFORMATION | MB_SYSTEMMODAL);
}

TEST_F(Print, FormattedItems)
{
    char t[] = "text";
    const struct {
        const char* format;
        bool isText;
        double number;
        const char* shown;
    } cases[] = {
        {"%5.2f m", false, 3.14159, " 3.14 m"},
        {"%d pieces", false, 5.7, "5 pieces"},
        {"%x", false, 255, "ff"},
        {"100%% = %g", false, 1, "100% = 1"},
        {"name: %s", true, 0, "name: text"},
        {"%-6s|", true, 0, "text  |"},
        {"%s", false, 2.5, "2.5"},
        {"%g and %g", false, 2, "2 and %g"},
        {"%n%f", false, 1, "%n1.000000"},
        {"%*d", false, 3, "%*d"},
        {"%.3e", false, 12345, "1.234e+04"},
        {"%99999999f", false, 1, nullptr},  // capped width: cut to the text buffer
    };
    for (const auto& c : cases) {
        rec.calls.clear();
        initCode();
        int start = codeNext;
        if (c.isText) {
            EMIT(strpush);
            emitStr(t);
            EMIT(prfmtstr);
        } else {
            Const(c.number);
            EMIT(prfmt);
        }
        emitStr(const_cast<char*>(c.format));
        ASSERT_TRUE(Run(start)) << c.format;
        ASSERT_EQ(rec.calls.size(), 1u) << c.format;
        if (c.shown)
            EXPECT_EQ(LastBox(), c.shown) << c.format;
        else
            EXPECT_EQ(rec.calls[0].text.size(), 511) << c.format;
    }
}

TEST_F(Print, ANumberWithTheBitsOfAnAddressIsStillANumber)
{
    // A number whose bits are those of a real text's address; %s must not read through them.
    char text[] = "text";
    double number;
    static_assert(sizeof number == sizeof(char*));
    char* address = text;
    std::memcpy(&number, &address, sizeof number);
    int start = codeNext;
    Const(number);
    EMIT(prfmt);
    emitStr(const_cast<char*>("[%s]"));
    ASSERT_TRUE(Run(start));
    EXPECT_NE(LastBox(), "[text]");
    EXPECT_TRUE(LastBox().find("e-3") != std::string::npos) << LastBox();
}

TEST_F(Print, LongTextsAreCut)
{
    std::string longText(2000, 'x');
    int start = codeNext;
    EMIT(prstr);
    emitStr(longText.data());
    ASSERT_TRUE(Run(start));
    EXPECT_EQ(rec.calls.back().text.size(), 511);
}

TEST_F(Print, AskAndAskYesNo)
{
    Symbol* w = Var("ctl_w");
    char prompt[] = "Width?";
    rec.Answer(1, {" -2.5 "});  // the input form
    rec.Answer(IDYES);
    rec.Answer(IDNO);
    const struct {
        Handler box;
        double expected;
    } cases[] = {{prstrask, -2.5}, {askyesno, 1}, {askyesno, 0}};
    for (const auto& c : cases) {
        initCode();
        int start = codeNext;
        emitInstr(c.box, "box", -1);
        emitStr(prompt);
        EMIT(varread);
        emitSym(w);
        EMIT(discard);
        ASSERT_TRUE(Run(start));
        EXPECT_EQ(w->type, SYM_VAR);
        EXPECT_EQ(w->u.val, c.expected);
    }
}

}  // namespace
