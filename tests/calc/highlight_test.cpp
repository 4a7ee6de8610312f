// Syntax colouring of a pad, read back from the formats the editor shows, and the tokenizer the
// BASIC-line translation uses.
#include "calc/Highlight.h"

#include "platform/vcl/RichEditScroll.h"

#include <QTest>
#include <chrono>
#include <cstring>
#include <map>
#include <gtest/gtest.h>
#include <random>

namespace {

struct Format {
    TColor colour;
    TFontStyles style;
};

Format FormatAt(TRichEdit& edit, int line, int column)
{
    const QTextCharFormat format = DisplayedFormat(edit, edit.LineIndex(line) + column);
    TFontStyles style = 0;
    if (format.fontWeight() >= QFont::Bold) style |= fsBold;
    if (format.fontItalic()) style |= fsItalic;
    const TColor colour = format.hasProperty(QTextFormat::ForegroundBrush) ? FromQColor(format.foreground().color())
                                                                            : FromQColor(edit.palette().text().color());
    return {colour, style};
}

class HighlightTest : public ::testing::Test {
protected:
    HighlightTest()
    {
        highlighter.Editor = &edit;
        highlighter.HighlightSyntax = [this] { return on; };
    }
    // Colours a one-line pad and returns the format of each character.
    std::vector<Format> Colour(const QString& line)
    {
        edit.SetText(line);
        highlighter.HighlightLines(0, 0);
        std::vector<Format> formats;
        for (int i = 0; i < line.size(); ++i) formats.push_back(FormatAt(edit, 0, i));
        return formats;
    }

    TRichEdit edit;
    THighlight highlighter;
    bool on = true;
};

// One letter per character: k keyword (navy), w word (black), n number (blue), d delimiter
// (purple), s string (red), c comment (green italic), '.' an uncoloured blank.
struct Row {
    const char* line;
    const char* classes;
};

TEST_F(HighlightTest, ColoursEachKindOfToken)
{
    const Row rows[] = {
        {"If x > 1 THEN", "kk.w.d.n.kkkk"},
        {"iF To to TO", "ww.kk.kk.kk"},
        {"a = b ' note", "w.d.w.cccccc"},
        {"x = \"abc", "w.d.ssss"},                // an open string runs to the end
        {"m(\"a b\")+1", "wdsssssddn"},
        {"12' 6 1/2\" + 3", "nnnnnnnnnn.d.n"},    // a length with blanks is one token
        {"5abc.d + 1", "nnnnnn.d.n"},             // a number runs to the next delimiter
        {"ab'cd", "wwccc"},                       // an apostrophe in a word starts a comment
        {"sqrt(2)^2", "kkkkdnddn"},
        {"say\"hi\"", "wwwwwww"},                 // a quote inside a word does not end it
        {"\t,", ".d"},
        {"=()+-/*<>^![]|&,", "dddddddddddddddd"},  // every coloured delimiter
        {"x = \"a' b\" ' \"c", "w.d.ssssss.cccc"},   // a mark in a string; a quote in a comment
        {"PI*E+pi", "kkdkdww"},
    };
    const std::map<char, Format> expected = {
        {'k', {clNavy, 0}}, {'w', {clBlack, 0}}, {'n', {clBlue, 0}}, {'d', {clPurple, 0}},
        {'s', {clRed, 0}},  {'c', {clGreen, fsItalic}},
    };
    for (const auto& row : rows) {
        const std::vector<Format> formats = Colour(QString::fromLatin1(row.line));
        ASSERT_EQ(formats.size(), std::strlen(row.classes)) << row.line;
        for (size_t i = 0; i < formats.size(); ++i) {
            const char want = row.classes[i];
            if (want == '.') continue;
            EXPECT_EQ(formats[i].colour, expected.at(want).colour) << row.line << " at " << i;
            EXPECT_EQ(formats[i].style, expected.at(want).style) << row.line << " at " << i;
        }
    }
}

TEST_F(HighlightTest, ColouringCanBeSwitchedOff)
{
    on = false;
    const std::vector<Format> formats = Colour("a = 1");
    EXPECT_NE(formats[2].colour, clPurple);
    EXPECT_NE(formats[4].colour, clBlue);
}

TEST_F(HighlightTest, FirstAfterLastColoursLast)
{
    edit.SetText("a = 1\nb = 2");
    highlighter.HighlightLines(1, 0);
    EXPECT_EQ(FormatAt(edit, 0, 2).colour, clPurple);
}

TEST_F(HighlightTest, ColouringLeavesTheSelectionAndTheUndoHistory)
{
    edit.document()->setUndoRedoEnabled(true);
    highlighter.SetEditor(&edit);
    QTest::keyClicks(&edit, "x = 1 + 2");
    edit.SetSelStart(4);
    edit.SetSelLength(3);
    highlighter.HighlightLines(0, 5);  // lines past the end are passed over
    EXPECT_EQ(edit.SelStart(), 4);
    EXPECT_EQ(edit.SelLength(), 3);
    EXPECT_EQ(FormatAt(edit, 0, 4).colour, clBlue);
    // Undo takes back what was typed, not colours; what comes back is coloured again.
    edit.undo();
    EXPECT_EQ(edit.Text(), "");
    edit.redo();
    EXPECT_EQ(edit.Text(), "x = 1 + 2");
    EXPECT_EQ(FormatAt(edit, 0, 8).colour, clBlue);
    EXPECT_EQ(FormatAt(edit, 0, 2).colour, clPurple);
    EXPECT_FALSE(edit.document()->isRedoAvailable());
}

// A long text is coloured where it is shown: lines scrolled into view get their colours when
// painted, and colours laid over a line by hand stay through the painting until the line is
// coloured again.
TEST_F(HighlightTest, ALongTextIsColouredWhereItIsShown)
{
    highlighter.SetEditor(&edit);
    edit.resize(300, 200);
    edit.show();
    QString text;
    for (int i = 0; i < 3000; ++i) text += "x = 1\n";
    edit.SetText(text);
    highlighter.HighlightLines(0, edit.LineCount());
    const auto paint = [this] { edit.viewport()->grab(); };
    paint();
    EXPECT_EQ(FormatAt(edit, 0, 4).colour, clBlue);
    highlighter.ColourLineRange(1, 0, 1, clRed);
    paint();
    EXPECT_EQ(FormatAt(edit, 1, 0).colour, clRed);
    highlighter.HighlightLines(1, 1);
    EXPECT_EQ(FormatAt(edit, 1, 0).colour, clBlack);

    LineScroll(edit, 0, 2000);
    paint();
    const int shown = GetFirstVisibleLine(edit);
    EXPECT_GT(shown, 1900);
    EXPECT_EQ(FormatAt(edit, shown + 2, 2).colour, clPurple);
    EXPECT_EQ(FormatAt(edit, 1000, 2).colour, clBlack);  // never shown
}

struct TokenRow {
    const char* line;
    std::vector<std::pair<const char*, int>> tokens;  // text and colour index
};

TEST(HighlightTokens, NextTokenReadsTokensAndTheirKinds)
{
    const THighlight h;
    const TokenRow rows[] = {
        {"FOR i = 1 TO 10", {{"FOR", 5}, {"i", 0}, {"1", 3}, {"TO", 5}, {"10", 3}}},
        {"12' 6 1/2\" + 3", {{"12' 6 1/2\"", 3}, {"3", 3}}},
        {"x = \"a b\" ' c", {{"x", 0}, {"\"a b\"", 2}, {"' c", 1}}},
        {"-1", {{"1", 3}}},  // a sign is a delimiter
        {"s = \"open", {{"s", 0}, {"\"open", 2}}},      // an open string runs to the end
        {"\"", {{"\"", 2}}},
        {"'", {{"'", 1}}},
        {"x'y \"z\"", {{"x", 0}, {"'y \"z\"", 1}}},  // a comment swallows strings
        {"\"a'b\" + c", {{"\"a'b\"", 2}, {"c", 0}}}, // and a string swallows comment marks
        {"1.5E+3*2e-4", {{"1.5E", 3}, {"3", 3}, {"2e", 3}, {"4", 3}}},  // exponents are no part of a number
        {".5\" ^ 2", {{".5\"", 3}, {"2", 3}}},
        {"5' 6\"-2'", {{"5' 6\"", 3}, {"2'", 3}}},
        {"a<=b!c|d&e,f[1]", {{"a", 0}, {"b", 0}, {"c", 0}, {"d", 0}, {"e", 0}, {"f", 0}, {"1", 3}}},
        {"Sqrt(x)/LOG10 y", {{"Sqrt", 5}, {"x", 0}, {"LOG10", 5}, {"y", 0}}},
        {"12'' 3", {{"12'", 3}, {"' 3", 1}}},
        {"   ", {}},
        {"", {}},
    };
    for (const auto& row : rows) {
        const QString line = QString::fromLatin1(row.line);
        int pos = 0, start = 0, length = 0;
        UnicodeString token;
        for (const auto& [text, colour] : row.tokens) {
            EXPECT_EQ(h.NextToken(line, token, pos, start, length), colour) << row.line;
            EXPECT_EQ(token, QString::fromLatin1(text)) << row.line;
            EXPECT_EQ(line.mid(start, length), token) << row.line;
        }
        EXPECT_EQ(h.NextToken(line, token, pos, start, length), -1) << row.line;
        EXPECT_TRUE(token.isEmpty()) << row.line;
        EXPECT_EQ(pos, line.size()) << row.line;
    }
}

TEST(HighlightTokens, KeywordTableAndPalette)
{
    const THighlight h;
    ASSERT_EQ(h.KeyWords.size(), 204u);
    EXPECT_EQ(h.KeyWords.front().Word, "sin");
    EXPECT_EQ(h.KeyWords.back().Word, "ANS");
    const std::pair<const char*, int> words[] = {
        {"Log10", 5}, {"InStrIc", 5}, {"EndFunction", 5}, {"MsgBox", 5}, {"QSort", 5},
        {"GoTo", 5},  {"ElseIf", 5},  {"EOF$", 5},        {"TOTAL", 5},  {"total", 0},
        {"iF", 0},    {"Msgbox", 5},  {"mSgbox", 0},      {"pi", 0},     {"", 0},
    };
    for (const auto& [word, colour] : words) EXPECT_EQ(h.FindKeyWordColour(word), colour) << word;
    EXPECT_EQ(h.ColourOf(-1), clBlack);
    EXPECT_EQ(h.ColourOf(7), clBlack);
    EXPECT_EQ(h.ColourOf(6), clMaroon);
    EXPECT_EQ(h.ColourOf(h.KeyWordColour), clNavy);
}

// Every entry of the keyword table, in table order, written out as the user types them.
TEST(HighlightTokens, EveryKeywordInTableOrder)
{
    const char* const expected =
        "sin Sin SIN cos Cos COS tan Tan TAN atan Atan ATAN atan2 Atan2 ATAN2 asin Asin ASIN "
        "acos Acos ACOS ln Ln LN log Log LOG log10 Log10 LOG10 exp Exp EXP sqrt Sqrt SQRT "
        "int Int INT abs Abs ABS rand Rand RAND stop Stop STOP "
        "instr Instr InStr INSTR instric instrIC Instric InstrIC InStrIc InStrIC INSTRIC "
        "len Len LEN trim Trim TRIM left Left LEFT right Right RIGHT mid Mid MID asc Asc ASC "
        "chr Chr CHR str Str STR val Val VAL lcase Lcase LCASE ucase Ucase UCASE if If IF "
        "while While WHILE function Function FUNCTION for For FOR "
        "endif Endif EndIf ENDIF endwhile Endwhile EndWhile ENDWHILE "
        "endfunction Endfunction EndFunction ENDFUNCTION endfor Endfor EndFor ENDFOR "
        "message Message MESSAGE msgbox Msgbox MSGBOX MsgBox "
        "return Return RETURN vector Vector VECTOR break Break BREAK qsort Qsort QSort QSORT "
        "goto Goto GoTo GOTO include Include INCLUDE else Else ELSE elseif Elseif ElseIf ELSEIF "
        "case Case CASE then Then THEN to To TO next Next NEXT end End END eq Eq EQ ne Ne NE "
        "and And AND or Or OR not Not NOT gt Gt GT lt Lt LT ge Ge GE le Le LE "
        "PI E GAMMA DEG PHI EOF$ TOTAL ANS";
    const QStringList words = QString::fromLatin1(expected).split(' ');
    const THighlight h;
    ASSERT_EQ(h.KeyWords.size(), static_cast<size_t>(words.size()));
    for (int i = 0; i < words.size(); ++i) {
        EXPECT_EQ(h.KeyWords[static_cast<size_t>(i)].Word, words[i]) << "entry " << i;
        EXPECT_EQ(h.KeyWords[static_cast<size_t>(i)].ColourIndex, h.KeyWordColour) << words[i].toStdString();
        EXPECT_EQ(h.ColourOf(h.FindKeyWordColour(words[i])), clNavy) << words[i].toStdString();
    }
}

TEST(HighlightTokens, NumberTokenKindTellsLengths)
{
    const THighlight h;
    const struct {
        const char* line;
        int start, kind, length;
    } rows[] = {
        {"12' 6 1/2\" + 3", 1, 1, 10},
        {"7\" * 2", 1, 2, 2},
        {"5.5'", 1, 1, 4},  // decimal feet are one length token
        {"5\" 3'", 1, 0, 0}, // a later feet length that does not start here spoils it
        {"x 5", 3, 0, 0},
        {"5", 9, 0, 0},
    };
    for (const auto& row : rows) {
        int length = -1;
        EXPECT_EQ(h.NumberTokenKind(QString::fromLatin1(row.line), row.start, length), row.kind) << row.line;
        EXPECT_EQ(length, row.length) << row.line;
    }
}

TEST_F(HighlightTest, AnyTextIsSafe)
{
    std::mt19937 random(5);
    QString pad;
    for (int n = 0; n < 200; ++n) {
        for (int i = static_cast<int>(random() % 80); i > 0; --i) {
            const QChar c(static_cast<char16_t>(random() % 2 ? random() % 128 : random() % 0x3000));
            pad += c == QChar('\n') || c == QChar('\r') ? QChar('x') : c;
        }
        pad += '\n';
    }
    edit.SetText(pad);
    highlighter.HighlightLines(0, edit.LineCount());
    int pos = 0, start = 0, length = 0;
    UnicodeString token;
    for (int line = 0; line < edit.LineCount(); ++line, pos = 0)
        while (highlighter.NextToken(edit.Lines[line], token, pos, start, length) >= 0) {}
}

TEST_F(HighlightTest, LongLinesStayQuick)
{
    QString line;
    while (line.size() < 100000) line += "1 + 12' 6\" * x ";
    const auto began = std::chrono::steady_clock::now();
    int pos = 0, start = 0, length = 0, tokens = 0;
    UnicodeString token;
    while (highlighter.NextToken(line, token, pos, start, length) >= 0) ++tokens;
    edit.SetText(line);
    highlighter.HighlightLines(0, 0);
    const auto took = std::chrono::steady_clock::now() - began;
    EXPECT_GT(tokens, 19000);
    EXPECT_EQ(FormatAt(edit, 0, line.size() - 2).colour, clBlack);  // the last x
    EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(took).count(), 20);
}

}  // namespace
