// The run-time library's number and date texts.
#include "platform/vcl/SysUtils.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

// Switches the process-wide settings to a comma locale for one test and puts them back.
struct CommaLocale {
    TFormatSettings saved = FormatSettings();
    CommaLocale()
    {
        FormatSettings().DecimalSeparator = ',';
        FormatSettings().ThousandSeparator = '.';
    }
    ~CommaLocale() { FormatSettings() = saved; }
};

struct PictureCase {
    const char* pattern;
    double value;
    const char* text;
};

TEST(FormatFloat, Patterns)
{
    const PictureCase cases[] = {
        // a dropped 5 rounds away from zero, on the decimal text
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"0", 3.5, "4"},
        {"0", 0.5, "1"},
        {"0.##", 3.375, "3.38"},
        {"0.##", -3.375, "-3.38"},
        {"0.##", 0.125, "0.13"},
        // 1.005 is 1.00499999999999989... as a double; 18 digits keep that, so it rounds down
        {"0.##", 1.005, "1"},
        {"0.##", 2.675, "2.67"},
        // 18 significant digits: 0.1 + 0.2 is 0.300000000000000044
        {"0.################", 0.1 + 0.2, "0.3"},
        // trailing zeros of '#' dropped, the point only before a digit
        {"0.##", 3.5, "3.5"},
        {"0.##", 3.0, "3"},
        {"0.##", 3.999, "4"},
        {"0.#####", 1.0 / 3.0, "0.33333"},
        // no sign on a value that rounds to zero
        {"0", -0.4, "0"},
        {"0", -0.0, "0"},
        {"0.##", -0.004, "0"},
        {"0.##", -0.005, "-0.01"},
        // no leading zero without a '0' before the point; nothing at all for zero
        {".##", 0.5, ".5"},
        {".##", 3.28084, "3.28"},
        {".##", 0.0, ""},
        {".##", 0.004, ""},
        {".##", -0.004, ""},
        {".##", -0.5, "-.5"},
        // fixed zeros
        {"0.00", 3.0, "3.00"},
        {"0.00", 3.456, "3.46"},
        {"0.0#", 3.0, "3.0"},
        {"0.0#", 3.14159, "3.14"},
        {"000", 7.0, "007"},
        // no thousands separator unless asked for
        {"0", 1234567.0, "1234567"},
        {"#,##0", 1234567.0, "1,234,567"},
        {"#,##0.00", -1234.5, "-1,234.50"},
        {"#,##0", 999.0, "999"},
        // carries through every digit
        {"0.##", 9.999, "10"},
        {"0", 99999.5, "100000"},
        // large and small
        {"0", 1e20, "100000000000000000000"},
        {"0", 123456789012345678.0, "123456789012345680"},
        {"0.##", 1e-300, "0"},
        {"0", std::numeric_limits<double>::infinity(), "INF"},
        {"0", -std::numeric_limits<double>::infinity(), "-INF"},
        {"0", std::nan(""), "NAN"},
        // text around the placeholders
        {"0.## mm", 2.5, "2.5 mm"},
        {"\"x\"0", 5.0, "x5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloat(c.pattern, c.value), c.text) << "pattern " << c.pattern << ", value " << c.value;
}

TEST(FormatFloat, UsesTheLocaleSeparators)
{
    CommaLocale comma;
    EXPECT_EQ(FormatFloat("0.##", 3.375), "3,38");
    EXPECT_EQ(FormatFloat(".##", 0.5), ",5");
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1.234,50");
    EXPECT_EQ(FloatToStr(1.5), "1,5");
}

TEST(FloatToStr, GeneralFormat)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {1.0, "1"},
        {-1.5, "-1.5"},
        {0.1, "0.1"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {123456789012345.0, "123456789012345"},
        {1234567890123456.0, "1.23456789012346E15"},
        {1e15, "1E15"},
        {1.5e20, "1.5E20"},
        {0.00001, "0.00001"},
        {0.0000015, "1.5E-6"},
        {-2.5e-10, "-2.5E-10"},
        {1612.9, "1612.9"},
        {999999999999999.9, "1E15"},
    };
    for (const auto& c : cases) EXPECT_EQ(FloatToStr(c.value), c.text) << c.value;
}

TEST(Format, Items)
{
    const struct {
        const char* format;
        std::initializer_list<TVarRec> args;
        const char* text;
    } cases[] = {
        {"%10g", {1612.9}, "    1612.9"},
        {"%10g", {-152.4}, "    -152.4"},
        {"%10g", {1524.0}, "      1524"},
        {"%10g", {26.162}, "    26.162"},
        {"%10g", {1.0 / 3.0}, "0.333333333333333"},
        {"%10g", {1e20}, "      1E20"},
        {"%-6g|", {2.5}, "2.5   |"},
        {"%g", {0.1 + 0.2}, "0.3"},
        {"%.3g", {3.14159}, "3.14"},
        {"%d", {42}, "42"},
        {"%d", {-7}, "-7"},
        {"%5d", {42}, "   42"},
        {"%-5d|", {42}, "42   |"},
        {"%.4d", {-42}, "-0042"},
        {"%*d", {4, 7}, "   7"},
        {"%u", {3000000000u}, "3000000000"},
        {"%x", {255}, "FF"},
        {"%s and %s", {"cats", AnsiString("dogs")}, "cats and dogs"},
        {"%.2s", {"abc"}, "ab"},
        {"%f", {2.0}, "2.00"},
        {"%.2f", {3.375}, "3.38"},
        {"%.2f", {-0.001}, "0.00"},
        {"%.0f", {2.5}, "3"},
        {"%f", {7}, "7.00"},
        {"%n", {1234567.891}, "1,234,567.89"},
        {"%e", {1.5}, "1.50000000000000E+000"},
        {"%.3e", {-12345.0}, "-1.23E+004"},
        {"%.3e", {0.00012345}, "1.23E-004"},
        {"100%%", {}, "100%"},
        {"line %d: %s", {7, "x"}, "line 7: x"},
    };
    for (const auto& c : cases) EXPECT_EQ(Format(c.format, c.args), c.text) << c.format;
}

TEST(Format, NumbersKeepAFullStopInACommaLocale)
{
    CommaLocale comma;
    EXPECT_EQ(Format("%10g", {1612.9}), "    1612.9");
    EXPECT_EQ(Format("%.2f", {1.5}), "1.50");
}

TEST(Format, WrongOrMissingArgumentsRaise)
{
    const struct {
        const char* format;
        std::initializer_list<TVarRec> args;
    } cases[] = {
        {"%d", {1.5}}, {"%s", {3}}, {"%g", {"x"}}, {"%d %d", {1}}, {"%q", {1}}, {"50%", {}},
    };
    for (const auto& c : cases) EXPECT_THROW(Format(c.format, c.args), EConvertError) << c.format;
}

TEST(StrToFloat, Texts)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"0", 0.0}, {"12.5", 12.5}, {"  -3.25  ", -3.25}, {"+4", 4.0}, {".5", 0.5}, {"5.", 5.0},
        {"1E5", 1e5}, {"1.5e-3", 1.5e-3}, {"-2.5E+2", -250.0}, {"1e-400", 0.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(StrToFloat(c.text), c.value) << c.text;
        double v = -1;
        EXPECT_TRUE(TryStrToFloat(c.text, v)) << c.text;
    }
}

TEST(StrToFloat, BadTextsRaiseTheLibraryMessage)
{
    const char* cases[] = {"", " ", "abc", "1.2.3", "12-5", "1.5E", "1,5", "1 000", "-", ".", "E5", "1e999", "0x10", "inf"};
    for (const char* text : cases) {
        try {
            StrToFloat(text);
            ADD_FAILURE() << "no error for '" << text << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(AnsiString(e.what()), "'" + AnsiString(text) + "' is not a valid floating point value");
        }
        double v = 7.0;
        EXPECT_FALSE(TryStrToFloat(text, v)) << text;
        EXPECT_EQ(v, 7.0) << "value changed for " << text;
    }
}

TEST(StrToFloat, ReadsTheLocaleSeparatorOnly)
{
    CommaLocale comma;
    EXPECT_DOUBLE_EQ(StrToFloat("1,5"), 1.5);
    EXPECT_DOUBLE_EQ(StrToFloat("-0,25E2"), -25.0);
    EXPECT_THROW(StrToFloat("1.5"), EConvertError);
}

TEST(StrToInt, Texts)
{
    const struct {
        const char* text;
        int value;  // -999 for the default
    } cases[] = {
        {"7", 7}, {"-12", -12}, {"+3", 3}, {"007", 7}, {"$E9", 233}, {"0x1f", 31}, {"$FFFFFFFF", -1},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"2147483648", -999}, {"", -999}, {" 7", -999}, {"7 ", -999}, {"1.5", -999}, {"x", -999},
        {"$", -999}, {"0x", -999}, {"$1FFFFFFFF", -999}, {"99999999999999999999", -999},
    };
    for (const auto& c : cases) EXPECT_EQ(StrToIntDef(c.text, -999), c.value) << c.text;
    EXPECT_THROW(StrToInt("abc"), EConvertError);
    EXPECT_EQ(StrToInt("-5"), -5);
    EXPECT_EQ(IntToStr(-1234567890123LL), "-1234567890123");
}

TEST(FormatDateTime, PadDateAndCurrentDate)
{
    const QDateTime when(QDate(2016, 2, 2), QTime(9, 5, 7));
    EXPECT_EQ(FormatDateTime("d mmm yyyy hh:mm:ss", when), "2 Feb 2016 09:05:07");
    EXPECT_EQ(FormatDateTime("d mmmm yyyy", when), "2 February 2016");
    EXPECT_EQ(FormatDateTime("dd/mm/yy h:nn", when), "02/02/16 9:05");
    EXPECT_EQ(FormatDateTime("'at' hh:mm", QDateTime(QDate(2020, 12, 31), QTime(23, 59, 0))), "at 23:59");

    TFormatSettings saved = FormatSettings();
    FormatSettings().LongMonthNames[1] = "Februar";
    EXPECT_EQ(FormatDateTime("d mmmm yyyy", when), "2 Februar 2016");
    FormatSettings() = saved;
}

}  // namespace
