// Reading and writing lengths in feet, inches and fractions, and in metric units.
#include "config/Lengths.h"

#include "platform/vcl/SysUtils.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string Fraction(int code, double mm, int precision)
{
    const TLengthScale unit(code);
    char buf[100];
    return FormatFeetInchFraction(&unit, mm, buf, precision);
}

std::string Decimal(int code, double area, int precision)
{
    const TLengthScale unit(code);
    char buf[100];
    return FormatFeetInchDecimal(&unit, area, buf, precision);
}

double Parse(int code, const char* text, bool round = true)
{
    const TLengthScale unit(code);
    return ParseLength(&unit, text, round);
}

TEST(ParseLength, Texts)
{
    const struct {
        const char* text;
        int code;
        double mm;
    } cases[] = {
        {"5' 3-1/2\"", 32, 1612.9},
        {"5' 3-1/2\"", 18, 1612.9},
        {"5'-3\"", 18, 1600.2},
        {"5' - 3\"", 18, 1600.2},
        {"-5' 3\"", 18, -1600.2},
        {"-0' 6\"", 18, -152.4},
        {"5'", 18, 1524.0},
        {"3/4\"", 18, 19.05},
        {"-3\"", 18, -76.2},
        {"7 1/2\"", 18, 190.5},
        {"1/0\"", 18, 0.0},
        {"5", 18, 5.0},
        {"5", 19, 50.0},
        {"5", 16, 5000.0},
        {"5", 32, 1524.0},
        {"5", 33, 1524.0},
        {"25mm", 18, 25.0},
        {"2.5 cm", 18, 25.0},
        {"1.2m", 18, 1200.0},
        {"12.6mm", 18, 13.0},
        {"12.6mm", 16, 12.6},
        {"1.03\"", 32, 25.4},
        {"1.03\"", 18, 26.162},
        {"3m 50cm", 18, 3000.0},
        {"", 18, 0.0},
        {"   ", 32, 0.0},
        {" \t", 33, 0.0},
        // what a tradesperson types: halves to sixty-fourths
        {"1/2\"", 32, 12.7},
        {"3 1/4\"", 32, 82.55},
        {"5/8\"", 32, 15.875},
        {"11 15/16\"", 32, 303.2125},
        {"2' 7/16\"", 32, 620.7125},
        {"1/32\"", 18, 0.79375},
        {"1/64\"", 18, 0.396875},
        {"1/64\"", 32, 0.0},  // rounded to the nearest sixteenth, a half going up: 1/64 is under it
        {"1/32\"", 32, 1.5875},
        {"-7/8\"", 18, -22.225},
        {"-0'-6 1/2\"", 18, -165.1},
        {"12' 6 1/2\"", 32, 3822.7},
        // blanks before the inch mark are no gap of a mixed number
        {"6-1/2 \"", 18, 165.1},
        {"3/4 \"", 18, 19.05},
        {"3/4  \"", 18, 19.05},
        {"12'-1/2 \"", 18, 3670.3},
        {"5' 3/4 \"", 32, 1543.05},
        {"6 1/2 \"", 18, 165.1},
        {"6 \"", 18, 152.4},
        // metric with blanks, and in capitals
        {"  250 mm", 18, 250.0},
        {"1.5 M", 18, 1500.0},
        {"30 CM", 18, 300.0},
        {"2.4 m", 16, 2400.0},
        {"2.4", 16, 2400.0},
        {"2.4", 17, 2400.0},
        {"0.5m", 17, 500.0},
        {"1.2346m", 17, 1235.0},  // same code: rounded to the millimetre
    };
    for (const auto& c : cases) EXPECT_NEAR(Parse(c.code, c.text), c.mm, 1e-9) << c.text << " with unit " << c.code;
}

TEST(ParseLength, RoundingFlag)
{
    EXPECT_NEAR(Parse(18, "12.6mm", false), 12.6, 1e-12);
    EXPECT_NEAR(Parse(32, "1.03\"", false), 26.162, 1e-12);
    EXPECT_NEAR(Parse(18, "12.6", true), 13.0, 1e-12);
}

// Lengths typed exactly on a half sixteenth round up, with or without feet before them.
TEST(ParseLength, HalfStepsRoundUp)
{
    const struct {
        const char* text;
        double inches;
    } cases[] = {
        {"11-31/32\"", 12.0},
        {"1' 11-31/32\"", 24.0},
        {"10' 3-1/32\"", 123.0625},
        {"-1' 11-31/32\"", -23.9375},  // a half rounds toward plus infinity
    };
    for (const auto& c : cases) EXPECT_NEAR(Parse(32, c.text), c.inches * 25.4, 1e-9) << c.text;
}

TEST(ParseLength, IgnoresTheLocaleAndLongTexts)
{
    TFormatSettings saved = FormatSettings();
    FormatSettings().DecimalSeparator = ',';
    EXPECT_NEAR(Parse(18, "2.5 cm"), 25.0, 1e-12);
    EXPECT_NEAR(Parse(18, "2,5 cm"), 20.0, 1e-12);  // a comma ends the number
    FormatSettings() = saved;

    // Only the first 255 characters are read; nothing past them is touched.
    EXPECT_NEAR(Parse(16, ("5" + std::string(300, ' ') + "mm").c_str()), 5000.0, 1e-9);
    EXPECT_NEAR(Parse(18, (std::string(254, ' ') + "75").c_str()), 7.0, 1e-9);
    const std::string digits(1000, '9');
    EXPECT_TRUE(std::isfinite(Parse(18, digits.c_str())));
    EXPECT_EQ(ParseLength(nullptr, "5", false), 5000.0);
    const TLengthScale mm(18);
    EXPECT_EQ(ParseLength(&mm, nullptr, true), 0.0);
}

TEST(ParseWholeFraction, Texts)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"3-1/2\"", 3.5}, {"1/2\"", 0.5}, {"7 1/2", 7.5}, {"1/2 3", 1.0}, {"  -3 1/4", -3.25},
        {"-1/2", -0.5},   {"1/0\"", 0.0}, {"0/4", 0.0},   {"5", 5.0},     {"", 0.0},
        {"abc", 0.0},     {"3 0.05/1", 3.0}, {"12", 12.0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(ParseWholeFraction(c.text), c.value) << c.text;
    EXPECT_EQ(ParseWholeFraction(nullptr), 0.0);
}

TEST(Helpers, ToleranceAndRounding)
{
    const double eps = 1.1920928955078125e-07;
    EXPECT_EQ(SignWithTolerance(eps), 0.0);
    EXPECT_EQ(SignWithTolerance(2 * eps), 1.0);
    EXPECT_EQ(SignWithTolerance(-2 * eps), -1.0);
    EXPECT_EQ(SignWithTolerance(std::nan("")), 0.0);
    EXPECT_TRUE(NearlyEqual(1.0, 1.0 + eps));
    EXPECT_FALSE(NearlyEqual(1.0, 1.0 + 2 * eps));
    EXPECT_FALSE(NearlyEqual(std::nan(""), 0.0));
    const TLengthScale ft(32), mm(18);
    EXPECT_NEAR(RoundToFraction(&ft, 26.162), 25.4, 1e-12);
    EXPECT_NEAR(RoundToFraction(&ft, 25.4 / 32), 1.5875, 1e-12);  // a half goes up
    EXPECT_EQ(RoundToFraction(&mm, -2.5), -2.0);                  // toward plus infinity
    EXPECT_EQ(RoundToFraction(&mm, 2.5), 3.0);
}

struct FormatCase {
    double value;
    int precision;
    const char* text;
};

TEST(FormatFeetInchFraction, Imperial)
{
    const FormatCase cases[] = {
        {1000, 16, "3'-3 [3/8]\""},   {1000, 32, "3'-3 [3/8]\""},    {1000, 64, "3'-3 [3/8]\""},
        {1000, -1, "3'-3\""},         {1001, 16, "3'-3 [7/16]\""},   {1001, 32, "3'-3 [13/32]\""},
        {1001, 64, "3'-3 [13/32]\""}, {1001, -1, "3'-3\""},          {999, 16, "3'-3 [5/16]\""},
        {999, 32, "3'-3 [11/32]\""},  {999, 64, "3'-3 [21/64]\""},   {999, -1, "3'-3\""},
        {1003, 16, "3'-3 [1/2]\""},   {1003, 32, "3'-3 [1/2]\""},    {1003, 64, "3'-3 [31/64]\""},
        {1003, -1, "3'-4\""},         {25.4, 16, "1\""},             {25.4, -1, "0'-1\""},
        {304.8, 16, "1'-0\""},        {304.8, -1, "1'"},             {298.45, 16, "11 [3/4]\""},
        {298.45, -1, "1'"},           {0, 16, "0\""},                {0, -1, "0'"},
        {-165.1, 16, "-0'-6 [1/2]\""}, {-165.1, -1, "-0'-7\""},      {-1000, 16, "-3'-3 [3/8]\""},
        {-1000, -1, "-3'-3\""},       {1000, 2, "3'-3.38\""},        {12.7, 16, " [1/2]\""},
        {3, -1, "0'-0\""},            {3, 16, " [1/8]\""},
        // halves to sixteenths, and what rounds into the next foot
        {303.2125, 16, "11 [15/16]\""}, {304.4, 16, "1'-0\""},       {3822.7, 16, "12'-6 [1/2]\""},
        {15.875, 16, " [5/8]\""}, {1.5875, 32, " [1/16]\""}, {0.396875, 64, " [1/64]\""},
        {0.396875, 16, "0\""},        {-0.1, 16, "0\""},             {-0.1, -1, "0'"},
        {-22.225, 16, "-0'-0 [7/8]\""}, {-25.4, -1, "-0'-1\""},       {292.1, -1, "1'"},
        {289.0, -1, "0'-11\""},       {609.6, 0, "2'"},              {100000, 16, "328'-1\""},
    };
    for (const auto& c : cases) EXPECT_EQ(Fraction(32, c.value, c.precision), c.text) << c.value << " mm, precision " << c.precision;
}

// An answer that lies exactly on a half of the last step (half a sixteenth, half an inch) is
// written rounded up, however the arithmetic before it left the last bits.
TEST(FormatFeetInchFraction, HalfStepsRoundUp)
{
    const struct {
        const char* typed;  // read as millimetres first, so not rounded on the way in
        int precision;
        const char* text;
    } cases[] = {
        {"1'-0 5/32\"", 16, "1'-0 [3/16]\""},  {"1'-0 7/32\"", 16, "1'-0 [1/4]\""},
        {"1'-0 17/32\"", 16, "1'-0 [9/16]\""}, {"1'-1 15/32\"", 16, "1'-1 [1/2]\""},
        {"1'-2 31/32\"", 16, "1'-3\""},        {"1'-0 3/64\"", 32, "1'-0 [1/16]\""},
        {"2'-5 15/32\"", -1, "2'-6\""},        {"-1'-0 5/32\"", 16, "-1'-0 [3/16]\""},
    };
    for (const auto& c : cases) EXPECT_EQ(Fraction(32, Parse(18, c.typed, false), c.precision), c.text) << c.typed;
    // A half sixteenth of every inch up to twelve feet, reached by halving a length.
    int roundedDown = 0;
    for (int sixteenths = 1; sixteenths < 144 * 16 * 2; sixteenths += 2)
        if (Fraction(32, sixteenths * 25.4 / 16 / 2, 16) != Fraction(32, (sixteenths + 1) * 25.4 / 32, 16)) ++roundedDown;
    EXPECT_EQ(roundedDown, 0);
}

TEST(FormatFeetInchDecimal, HalfStepsRoundUp)
{
    // Square feet and twelfths that lie on a half sixteenth of a twelfth.
    const struct {
        int squareFeet;
        double twelfths;
        const char* text;
    } cases[] = {
        {1, 5 + 31.0 / 32, "1'-6\""},
        {5, 7 + 27.0 / 32, "5'-7.875\""},
        {11, 6 + 1.0 / 32, "11'-6.0625\""},
        {23, 1 + 3.0 / 32, "23'-1.125\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Decimal(32, (c.squareFeet + c.twelfths / 12) * 0.09290304, 16), c.text) << c.squareFeet << "' " << c.twelfths;
}

TEST(FormatFeetInchFraction, DecimalFeetAndMetric)
{
    const struct {
        int code;
        double mm;
        int precision;
        const char* text;
    } cases[] = {
        {33, 1000, -1, "3.28'"}, {33, -1000, 16, "3.28'"}, {33, 0, -1, "'"},  {33, 152.4, -1, ".5'"},
        {18, 1000, -1, "1000"},  {19, 1000, -1, "100"},    {16, 1000, -1, "1"}, {17, 1000, -1, "1"},
        {18, 1234.4, -1, "1234"}, {19, 1234, -1, "123"},   {19, 1235, -1, "124"}, {17, 1500, 2, "1.5"},
        {18, -0.4, -1, "0"},      {18, -2.5, -1, "-2"},    {20, 2500, -1, "3"},
    };
    for (const auto& c : cases) EXPECT_EQ(Fraction(c.code, c.mm, c.precision), c.text) << c.mm << " mm, code " << c.code;
}

TEST(FormatFeetInchDecimal, Areas)
{
    const struct {
        int code;
        double area;
        int precision;
        const char* text;
    } cases[] = {
        {32, 1.0, 16, "10'-9.1875\""},  {32, 1.0, -1, "10'-9\""},       {32, 0.5, 16, "5'-4.5625\""},
        {32, 0.5, -1, "5'-5\""},        {32, 0.09290304, 16, "1'"},     {32, 0, 16, "0'"},
        {32, -0.05, 16, "-0'-6.4375\""}, {32, -0.05, -1, "-0'-6\""},     {33, 1.0, -1, "10.76'"},
        {33, -1.0, 16, "10.76'"},       {18, 2.3456, 2, "2.35"},        {18, 2.3456, -1, "2"},
        {32, 1.0, 0, "10'-9\""},
    };
    for (const auto& c : cases) EXPECT_EQ(Decimal(c.code, c.area, c.precision), c.text) << c.area << " m2, code " << c.code;
}

TEST(Formatters, CommaLocale)
{
    TFormatSettings saved = FormatSettings();
    FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(Fraction(32, 1000, 2), "3'-3,38\"");
    EXPECT_EQ(Fraction(33, 1000, -1), "3,28'");
    EXPECT_EQ(Decimal(32, 1.0, 16), "10'-9,1875\"");
    FormatSettings() = saved;
}

TEST(Formatters, CutToTheCallersBuffer)
{
    const TLengthScale ft(32);
    char small[6];
    EXPECT_STREQ(FormatFeetInchFraction(&ft, 1000, small, 16, sizeof small), "3'-3 ");
    char huge[100];
    EXPECT_EQ(std::string(FormatFeetInchFraction(&ft, 1e300, huge, 16)).size(), 99u);
    char guard[4] = {'x', 'x', 'x', 'x'};
    FormatFeetInchDecimal(&ft, 1.0, guard, 16, 1);
    EXPECT_EQ(guard[0], '\0');
    EXPECT_EQ(guard[1], 'x');
    EXPECT_STREQ(FormatFeetInchFraction(&ft, std::nan(""), huge, 16), "NAN");
    EXPECT_STREQ(FormatFeetInchFraction(&ft, -INFINITY, huge, -1), "-INF");
}

TEST(Lengths, ParseThenFormatRoundTrips)
{
    // Every sixteenth up to two feet reads back as written.
    const TLengthScale ft(32);
    for (int sixteenths = 1; sixteenths < 24 * 16; ++sixteenths) {
        const double mm = sixteenths * 25.4 / 16;
        char buf[100];
        std::string text = FormatFeetInchFraction(&ft, mm, buf, 16);
        std::erase(text, '[');
        std::erase(text, ']');
        EXPECT_NEAR(ParseLength(&ft, text.c_str(), true), mm, 1e-9) << text;
    }
}

}  // namespace
