// The getters and conversion services of the pad host: quantity, length and money texts, the
// locale's separators, the test accessors and their "Macro Error" boxes.
#include "platform/win/WinDefs.h"
#include "tests/calc/PadFixture.h"

#include <QLocale>

namespace {

class HostGetterTest : public PadFixture {
protected:
    void TearDown() override
    {
        QLocale::setDefault(savedQLocale);
        PadFixture::TearDown();
    }
    TPadMacroHost& host = PadMacroHost();
    QLocale savedQLocale;
};

TEST_F(HostGetterTest, QtyStr)
{
    const struct {
        double value;
        int decimals;
        const char* text;
    } rows[] = {
        {2.5, 3, "2.5"},          {1.23456789, 7, "1.23457"}, {3, 2, "3"},
        {2.5, 0, "3"},            {-2.5, 0, "-3"},            {1.25, 1, "1.3"},
        {1.23456789, 4, "1.2346"}, {1.23456789, -1, "1.23457"}, {0.000001, 3, "0"},
        {1e20, 2, "100000000000000000000"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(host.GetQtyStr(row.value, row.decimals), row.text) << row.value << " with " << row.decimals;
    FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(host.GetQtyStr(2.5, 2), "2,5");
}

TEST_F(HostGetterTest, LengthAndAreaStrFollowTheInputUnit)
{
    Config->InputUnit = TLengthScale(TLengthScale::IMPERIAL);
    EXPECT_EQ(host.GetLengthStr(1000), "3'-3\"");  // to the inch
    EXPECT_EQ(host.GetAreaStr(1), "10'-9\"");
    Config->InputUnit = TLengthScale(TLengthScale::MM);
    EXPECT_EQ(host.GetLengthStr(1234.4), "1234");
}

TEST_F(HostGetterTest, ZRQtyAndZRStr)
{
    EXPECT_EQ(host.GetZRQty("test"), 99.0);
    EXPECT_EQ(host.GetZRQty("TEST"), 99.0);
    EXPECT_EQ(host.GetZRStr("Test"), "Debug Test");
    EXPECT_EQ(host.GetZRStr("zr_user_name$"), "");
    EXPECT_TRUE(dialogs.calls.empty());

    const struct {
        bool text;
        const char* name;
        const char* shown;
    } rows[] = {
        {false, "WIDTH", "Error executing macro...\nGetZRQty(\"WIDTH\")\nIllegal Variable: WIDTH\nReturning 0"},
        {true, "zr_user_name",
         "Error executing macro...\nGetZRStr(\"zr_user_name\")\nIllegal Variable: zr_user_name\n"
         "Returning a blank string"},
        {true, "ZR_CLIENT$",
         "Error executing macro...\nGetZRStr(\"ZR_CLIENT$\")\nIllegal Variable: ZR_CLIENT$\nReturning a blank string"},
    };
    for (const auto& row : rows) {
        dialogs.calls.clear();
        if (row.text)
            EXPECT_EQ(host.GetZRStr(row.name), "") << row.name;
        else
            EXPECT_EQ(host.GetZRQty(row.name), 0.0) << row.name;
        ASSERT_EQ(dialogs.calls.size(), 1u) << row.name;
        EXPECT_EQ(dialogs.calls[0].caption, "Macro Error");
        EXPECT_EQ(dialogs.calls[0].flags, unsigned(MB_ICONINFORMATION | MB_SYSTEMMODAL));
        EXPECT_EQ(dialogs.calls[0].text.toStdString(), row.shown);
    }
}

TEST_F(HostGetterTest, IntegerVariableGivesSeparatorCodes)
{
    const struct {
        const char* name;
        char decimal, thousand, list;
        int code;
    } rows[] = {
        {"THOUSANDSEPARATOR", '.', ',', ';', 44},
        {"thousandseparator", '.', ',', ';', 44},
        {"ThousandsSeparator", '.', '\xA0', ';', -96},
        {"DECIMALSEPARATOR", ',', '.', ';', 44},
        {"LISTSEPARATOR", '.', ',', ';', 59},
    };
    for (const auto& row : rows) {
        FormatSettings().DecimalSeparator = row.decimal;
        FormatSettings().ThousandSeparator = row.thousand;
        FormatSettings().ListSeparator = row.list;
        EXPECT_EQ(host.GetIntegerVariable(row.name), row.code) << row.name;
    }
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(host.GetIntegerVariable("Separator"), 0);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].text, "Error executing macro...\nGetIntegerVariable(\"Separator\")\nMacro Variable illegal");
}

TEST_F(HostGetterTest, ReplaceSeparatorStr)
{
    FormatSettings().ListSeparator = ',';
    const struct {
        const char* text;
        const char* replacement;
        const char* result;
    } rows[] = {
        {"a,b,,c", ";", "a;b;;c"},
        {"a,b,c", "", "abc"},
        {"a,b", "<,>", "a<,>b"},  // a replacement holding the separator is not replaced again
        {",", ",,", ",,"},
        {"", "x", ""},
        {"abc", "x", "abc"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(host.ReplaceSeparatorStr(row.text, row.replacement), row.result) << row.text << " / " << row.replacement;
}

TEST_F(HostGetterTest, PriceStr)
{
    FormatSettings().ListSeparator = ',';
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(host.GetPriceStr(1234.5), "$1,234.50");
    EXPECT_EQ(host.GetPriceNoSeparatorStr(1234.5), "$1234.50");
    // The euro sign is no ASCII character: blanked, and the blank trimmed away.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(host.GetPriceStr(1234.5), "1.234,50");
    FormatSettings().ListSeparator = '.';
    EXPECT_EQ(host.GetPriceNoSeparatorStr(1234.5), "1234,50");
}

}  // namespace
