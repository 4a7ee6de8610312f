// Syntax colouring of the pad pane, read back from the formats the editor shows.
#include "app/PadColourer.h"

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

class PadColourerTest : public ::testing::Test {
protected:
    PadColourerTest()
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
    TPadColourer highlighter;
    bool on = true;
};

// One letter per character: k keyword (navy), w word (black), n number (blue), d delimiter
// (purple), s string (red), c comment (green italic), '.' an uncoloured blank.
struct Row {
    const char* line;
    const char* classes;
};

TEST_F(PadColourerTest, ColoursEachKindOfToken)
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

TEST_F(PadColourerTest, ColouringCanBeSwitchedOff)
{
    on = false;
    const std::vector<Format> formats = Colour("a = 1");
    EXPECT_NE(formats[2].colour, clPurple);
    EXPECT_NE(formats[4].colour, clBlue);
}

TEST_F(PadColourerTest, FirstAfterLastColoursLast)
{
    edit.SetText("a = 1\nb = 2");
    highlighter.HighlightLines(1, 0);
    EXPECT_EQ(FormatAt(edit, 0, 2).colour, clPurple);
}

TEST_F(PadColourerTest, ColouringLeavesTheSelectionAndTheUndoHistory)
{
    edit.document()->setUndoRedoEnabled(true);
    highlighter.SetEditor(&edit);
    QTest::keyClicks(&edit, "x = 1 + 2");
    EXPECT_EQ(FormatAt(edit, 0, 8).colour, clBlue);  // coloured as it was typed
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
TEST_F(PadColourerTest, ALongTextIsColouredWhereItIsShown)
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

// Random text is coloured without being changed, and colouring goes on past it to the end.
TEST_F(PadColourerTest, AnyTextIsSafe)
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
    edit.SetText(pad + "a = 1");
    const QString before = edit.Text();
    highlighter.HighlightLines(0, edit.LineCount());
    EXPECT_EQ(edit.Text(), before);
    EXPECT_EQ(FormatAt(edit, edit.LineCount() - 1, 2).colour, clPurple);
}

TEST_F(PadColourerTest, LongLinesStayQuick)
{
    QString line;
    while (line.size() < 100000) line += "1 + 12' 6\" * x ";
    const auto began = std::chrono::steady_clock::now();
    edit.SetText(line);
    highlighter.HighlightLines(0, 0);
    const auto took = std::chrono::steady_clock::now() - began;
    EXPECT_EQ(FormatAt(edit, 0, 0).colour, clBlue);
    EXPECT_EQ(FormatAt(edit, 0, line.size() - 4).colour, clPurple);  // the last *
    EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(took).count(), 20);
}

}  // namespace
