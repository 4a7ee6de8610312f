// BASIC-style loops and conditions in pad lines, and typographic quotes from pasted text.
#include "calc/BasicLine.h"
#include "calc/Highlight.h"
#include "grammar.tab.h"
#include "macro/Init.h"
#include "tests/calc/PadFixture.h"

#include <gtest/gtest.h>
#include <random>
#include <string_view>

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
        {"End  If", "EndIf"},
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
        // A plain step of zero would loop for ever: left for the macro language to report.
        {"FOR i = 1 TO 10 STEP 0", "FOR i = 1 TO 10 STEP 0"},
        {"FOR i = 1 TO", "FOR i = 1 TO"},
        {"FOR i = 1 TO 10 STEP", "FOR i = 1 TO 10 STEP"},
    };
    for (const auto& row : rows) EXPECT_EQ(TranslateBasicLine(highlighter, row.line), row.translated) << row.line;
}

// Each two-word BASIC form is joined into one word, which must then be a spelling the language
// knows, whether the user wrote it in capitals, small letters or with capital initials.
TEST(BasicLine, JoinedWordsAreKeywordsInEachCase)
{
    const THighlight highlighter;
    const struct {
        const char* first;
        const char* second;
        int token;
    } forms[] = {
        {"end", "if", ENDIF}, {"end", "for", ENDFOR}, {"end", "while", ENDWHILE},
        {"else", "if", ELSEIF}, {"do", "while", WHILE},
    };
    const auto spelt = [](std::string word, int style) {
        for (size_t i = 0; i < word.size(); ++i)
            if (style == 1 || (style == 2 && i == 0)) word[i] = static_cast<char>(word[i] - 'a' + 'A');
        return word;
    };
    for (const auto& form : forms)
        for (int style = 0; style < 3; ++style)  // small letters, capitals, capital initials
            for (const char* gap : {" ", "   "}) {
                const AnsiString line = spelt(form.first, style) + gap + spelt(form.second, style) + " (x > 1)";
                const AnsiString joined = TranslateBasicLine(highlighter, line);
                const AnsiString word = Trim(joined.substr(0, joined.find('(')));
                int token = 0;
                for (const KeywordRow& row : macroKeywords())
                    if (std::string_view(row.name) == word) token = row.token;
                EXPECT_EQ(token, form.token) << line << " -> " << joined;
            }
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

// BASIC lines calculated as pads: loops whose STEP is a length or a variable, macro for lines that
// mention a variable named to, and conditions closed by End If in its title-case spelling; each
// line's answers as the result pane shows them.
class BasicPad : public PadFixture {};

TEST_F(BasicPad, LoopsAndConditionsCalculate)
{
    using Lines = std::vector<AnsiString>;
    const struct {
        const char* input;
        const char* answer;
        Lines pad;
        Lines results;
    } rows[] = {
        {"IMPERIAL", "ft", {"FOR w = 2' TO 4' STEP 1'", "w", "NEXT w"}, {"", "2'-0\"", "3'-0\"", "4'-0\"", ""}},
        // A stud layout: every 16 inches over 8 feet, both ends included.
        {"IMPERIAL", "ft", {"FOR x = 0 TO 8' STEP 16\"", "x", "NEXT x"},
         {"", "0\"", "1'-4\"", "2'-8\"", "4'-0\"", "5'-4\"", "6'-8\"", "8'-0\"", ""}},
        {"MM", "", {"n = 2", "FOR i = 1 TO 5 STEP n", "i", "NEXT i"}, {"", "", "1", "3", "5", ""}},
        {"MM", "", {"n = 2", "FOR i = 5 TO 1 STEP (-)n", "i", "NEXT i"}, {"", "", "5", "3", "1", ""}},
        {"MM", "", {"n = 0", "FOR i = 1 TO 5 STEP n", "i", "NEXT i", "7"}, {"", "", "", "", "7"}},
        {"MM", "", {"to = 1", "for(i = 1; i <= to + 1; i++)", "i", "endfor"}, {"", "", "1", "2", ""}},
        {"MM", "", {"span = 5", "If (span == 5) Then", "rail = 1", "End If", "rail"}, {"", "", "", "", "1"}},
        {"MM", "",
         {"span = 2", "rail = 0", "If (span > 3) Then", "rail = 1", "Else If (span > 1) Then", "rail = 2", "End If",
          "rail"},
         {"", "", "", "", "", "", "", "2"}},
        {"MM", "", {"span = 0", "rail = 0", "If (span > 3) Then", "rail = 1", "Else", "rail = 3", "End If", "rail * 10"},
         {"", "", "", "", "", "", "", "30"}},
        // The inner End If closes only the inner condition.
        {"IMPERIAL", "ft",
         {"span = 5", "rail = 0", "If (span > 1) Then", "If (span > 9) Then", "rail = 1'", "End If",
          "rail = rail + 2'", "End If", "rail"},
         {"", "", "", "", "", "", "", "", "2'-0\""}},
        {"MM", "", {"span = 5", "rail = 0", "If (span == 5) Then", "rail = 4", "End  If", "rail"},
         {"", "", "", "", "", "4"}},
    };
    for (const auto& row : rows) {
        Units(row.input, row.answer, -1);
        Lines pad = row.pad;
        const PadCalculationResult result = Calc(pad, false);
        EXPECT_TRUE(result.completed) << row.pad[0];
        EXPECT_EQ(result.resultLines, row.results) << row.pad[0] << "\n" << ProgramText();
    }
    EXPECT_TRUE(dialogs.calls.empty());
}

}  // namespace
