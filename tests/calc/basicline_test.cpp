// BASIC-style loops and conditions in pad lines, and typographic quotes from pasted text.
#include "calc/BasicLine.h"
#include "calc/Highlight.h"

#include <gtest/gtest.h>
#include <random>

namespace {

struct Row {
    const char* line;
    const char* translated;
};

TEST(BasicLine, RewritesBasicForms)
{
    const THighlight highlighter;
    const Row rows[] = {
        {"DO WHILE x < 5", " WHILE x < 5"},  // DO goes, its blank stays
        {"do while x", " while x"},
        {"DO x = 1", "DO x = 1"},
        {"END IF", "ENDIF"},
        {"End For", "EndFor"},
        {"END    WHILE", "ENDWHILE"},
        {"END SUB", "END SUB"},
        {"ELSE IF x > 1 THEN", "ELSEIF x > 1 THEN"},
        {"ELSE", "ELSE"},
        {"NEXT i", "ENDFOR ' NEXT i"},
        {"x = 1 ' NEXT", "x = 1 ' NEXT"},  // only as the first word
        {"FOR i = 1 TO 10", "FOR(i=1; i <= 10; i++) ' FOR i = 1 TO 10"},
        {"for i = 1 to 10", "FOR(i=1; i <= 10; i++) ' for i = 1 to 10"},
        {"FOR i = 1 TO 10 ' count", "FOR(i=1; i <= 10; i++) ' FOR i = 1 TO 10 ' count"},
        {"FOR i = 1", "FOR i = 1"},
        {"FOR i = 1 UNTIL 10", "FOR i = 1 UNTIL 10"},
        {"for(i=1; i<=10; i++)", "for(i=1; i<=10; i++)"},  // the macro language's own form
        {"endfor", "endfor"},
        {"", ""},
        {"   ", "   "},
        {"'", "'"},
        {"\"", "\""},
    };
    for (const auto& row : rows) EXPECT_EQ(TranslateBasicLine(highlighter, row.line), row.translated) << row.line;
}

// Loop heads whose bound is an expression, whose start is negative or which count by a STEP
// lost part of the head in the token-by-token rewrite; they now keep what the user wrote.
TEST(BasicLine, ForKeepsWholeBoundsSignsAndSteps)
{
    const THighlight highlighter;
    const Row rows[] = {
        {"FOR i = 1 TO n + 1", "FOR(i=1; i <= n + 1; i++) ' FOR i = 1 TO n + 1"},
        {"FOR i = -1 TO 5", "FOR(i=(-)1; i <= 5; i++) ' FOR i = -1 TO 5"},
        {"FOR i = n * 2 TO 5", "FOR(i=n * 2; i <= 5; i++) ' FOR i = n * 2 TO 5"},
        {"FOR i = 1 TO 10 STEP 2", "FOR(i=1; i <= 10; i = i + 2) ' FOR i = 1 TO 10 STEP 2"},
        {"For i = 10 To 1 Step -1", "FOR(i=10; i >= 1; i = i - 1) ' For i = 10 To 1 Step -1"},
        {"FOR i = 1 TO 2 STEP 0.25", "FOR(i=1; i <= 2; i = i + 0.25) ' FOR i = 1 TO 2 STEP 0.25"},
        // A step that is no number (or zero) cannot be given a direction: left for the macro
        // language to report.
        {"FOR i = 1 TO 10 STEP k", "FOR i = 1 TO 10 STEP k"},
        {"FOR i = 1 TO 10 STEP 0", "FOR i = 1 TO 10 STEP 0"},
        {"FOR i = 1 TO", "FOR i = 1 TO"},
    };
    for (const auto& row : rows) EXPECT_EQ(TranslateBasicLine(highlighter, row.line), row.translated) << row.line;
}

TEST(BasicLine, TypographicQuotesBecomePlain)
{
    const Row rows[] = {
        {"5\x92 6\x94", "5' 6\""},
        {"\x93note\x94", "\"note\""},
        {"3\x96" "1/2", "3-1/2"},
        {"\x91quoted\x92", "\x91quoted'"},  // the left single quote stays
        {"plain", "plain"},
    };
    for (const auto& row : rows) EXPECT_EQ(NormalizeTypographicQuotes(row.line), row.translated) << row.line;
}

TEST(BasicLine, AnyBytesAreSafe)
{
    const THighlight highlighter;
    std::mt19937 random(11);
    for (int n = 0; n < 500; ++n) {
        AnsiString line = n % 2 ? "FOR " : "";
        const int size = static_cast<int>(random() % 120);
        for (int i = 0; i < size; ++i) line.push_back(static_cast<char>(random() & 0xFF));
        // A crash test under the sanitizers; a FOR rewrite still ends with the user's line.
        const AnsiString out = TranslateBasicLine(highlighter, line);
        if (out.rfind("FOR(", 0) == 0) {
            EXPECT_EQ(out.substr(out.size() - line.size()), line);
        }
    }
    AnsiString longLine = "FOR i = 1 TO ";
    while (longLine.size() < 100000) longLine += "1 + ";
    longLine += "1";
    EXPECT_EQ(TranslateBasicLine(highlighter, longLine).rfind("FOR(i=1; i <= 1 + 1", 0), 0u);
}

}  // namespace
