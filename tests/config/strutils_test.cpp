// The string and number helpers.
#include "config/StrUtils.h"

#include "platform/vcl/SysUtils.h"

#include <gtest/gtest.h>

namespace {

struct CommaLocale {
    TFormatSettings saved = FormatSettings();
    CommaLocale() { FormatSettings().DecimalSeparator = ','; }
    ~CommaLocale() { FormatSettings() = saved; }
};

TEST(ExtractLeadingNumber, PointLocale)
{
    const struct {
        const char* text;
        const char* number;
    } cases[] = {
        {"abc12.5mm", "12.5"}, {"12 345", "12345"}, {"-3.25E4x", "-3.25E4"}, {"1E5", "1"},
        {"1.2.3", "1.2"},      {"1,5", "1"},        {"E", ""},              {"-", ""},
        {".", ""},             {"", ""},            {" x5", ""},            {"x 5", "5"},
        {"0.5 kg", "0.5"},     {"12-5", "12-5"},    {"1.5E", "1.5E"},       {"1.5e3", "1.5"},
        {"--1", ""},          {"1.5E-3", "1.5E"},  {"\xA0" "7", "7"},
    };
    for (const auto& c : cases) EXPECT_EQ(ExtractLeadingNumber(c.text), c.number) << "text '" << c.text << "'";
    EXPECT_EQ(ExtractLeadingNumber(nullptr), "");
}

TEST(ExtractLeadingNumber, CommaLocale)
{
    CommaLocale comma;
    EXPECT_EQ(ExtractLeadingNumber("1,5"), "1,5");
    EXPECT_EQ(ExtractLeadingNumber("1.5"), "1");
    EXPECT_EQ(ExtractLeadingNumber(","), "");
    EXPECT_DOUBLE_EQ(StrToFloatDefault("2,25 m", 0.0), 2.25);
}

TEST(StrToFloatDefault, Texts)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"abc", 8.0}, {"0.5 kg", 0.5}, {"", 8.0}, {"  -2.5", -2.5}, {"x-1.25E2y", -125.0}, {"1E5", 1.0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(StrToFloatDefault(c.text, 8.0), c.value) << c.text;
    EXPECT_DOUBLE_EQ(StrToFloatDefault(AnsiString("12.5mm"), 0.0), 12.5);
    EXPECT_DOUBLE_EQ(StrToFloatDefault(static_cast<const char*>(nullptr), 3.0), 3.0);
    // A leading number that is no number raises, as the library's conversion does.
    for (const char* bad : {"12-5", "1.5E", "1.5E-3", "-.", "5-"}) EXPECT_THROW(StrToFloatDefault(bad, 0.0), EConvertError) << bad;
}

TEST(ReplaceAll, Cases)
{
    const struct {
        const char* text;
        const char* what;
        const char* with;
        const char* result;
    } cases[] = {
        {"a\\nb\\nc", "\\n", "\r\n", "a\r\nb\r\nc"},
        {"a\\nb", "", "x", "a\\nb"},
        {"a-b-c", "-", "", "abc"},
        {"aab", "ab", "b", "b"},  // a replacement that forms a new occurrence is replaced too
        {"xyz", "q", "r", "xyz"},
        // a replacement holding the searched text goes in once per occurrence instead of forever
        {"a.b.c", ".", "..", "a..b..c"},
        {"ab", "ab", "xaby", "xaby"},
    };
    for (const auto& c : cases) {
        AnsiString text = c.text;
        ReplaceAll(text, c.what, c.with);
        EXPECT_EQ(text, c.result) << c.text << " / " << c.what;
    }
}

TEST(FirstCharOfSet, Positions)
{
    EXPECT_EQ(FirstCharOfSet("5' 3", "'\""), 2);
    EXPECT_EQ(FirstCharOfSet("abc", "xyz"), 0);
    EXPECT_EQ(FirstCharOfSet("", "x"), 0);
    EXPECT_EQ(FirstCharOfSet("abc", ""), 0);
    EXPECT_EQ(FirstCharOfSet("7\"", "'\""), 2);
}

TEST(Conversions, LowByteAndCodePage)
{
    EXPECT_EQ(WideToAnsi(L"\u20AC"), "\xAC");
    EXPECT_EQ(WideToAnsi(L"a\u0100b"), "ab");  // a unit with a zero low byte adds nothing
    EXPECT_EQ(UnicodeToAnsi(QString::fromUtf8("\u00E9\u20AC")), "\xE9\xAC");
    EXPECT_EQ(AnsiToUnicode("\x80\xE9"), QString::fromUtf8("\u20AC\u00E9"));
    EXPECT_EQ(AnsiToAnsi("x"), "x");
}

}  // namespace
