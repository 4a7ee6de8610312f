// The two string kinds and the code page between them.
#include "platform/vcl/Strings.h"

#include <gtest/gtest.h>

namespace {

TEST(Win1252, EveryByteSurvivesARoundTrip)
{
    AnsiString all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const UnicodeString wide = Win1252ToUnicode(all);
    ASSERT_EQ(wide.size(), 256);
    EXPECT_EQ(UnicodeToWin1252(wide), all);
}

TEST(Win1252, KnownCharacters)
{
    const struct {
        unsigned char byte;
        char16_t unicode;
    } cases[] = {
        // typographic quotes and dashes that pads pasted from word processors carry
        {0x80, 0x20AC}, {0x92, 0x2019}, {0x93, 0x201C}, {0x94, 0x201D}, {0x96, 0x2013},
        {0x9F, 0x0178}, {0xE9, 0x00E9}, {0x81, 0x0081},
    };
    for (const auto& c : cases) {
        const AnsiString one(1, static_cast<char>(c.byte));
        EXPECT_EQ(Win1252ToUnicode(one), QString(QChar(c.unicode))) << int(c.byte);
        EXPECT_EQ(UnicodeToWin1252(QString(QChar(c.unicode))), one) << int(c.byte);
    }
    // Characters the code page lacks become '?'.
    EXPECT_EQ(UnicodeToWin1252(QString::fromUtf8("a\u20BDb")), "a?b");
}

TEST(Strings, CaseAndTrim)
{
    EXPECT_EQ(UpperCase("ft_in \xE9"), "FT_IN \xE9");  // ASCII letters only
    EXPECT_EQ(LowerCase("MM Cm"), "mm cm");
    EXPECT_EQ(Trim(" \t 5' 3\"\r\n"), "5' 3\"");
    EXPECT_EQ(TrimLeft("  x  "), "x  ");
    EXPECT_EQ(TrimRight("  x  "), "  x");
    EXPECT_EQ(Trim("   "), "");
}

}  // namespace
