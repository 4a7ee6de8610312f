// The tokenizer the BASIC-line translation uses, and the colours it gives each token (how the
// pane shows them is tested on the window side).
#include "calc/Highlight.h"

#include <chrono>
#include <gtest/gtest.h>
#include <random>

namespace {

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
        // Coloured as calculated: a minus or a dividing slash before inches is no part of them.
        {"12\"*2-6\"", {{"12\"", 3}, {"2", 3}, {"6\"", 3}}},
        {"12\"*1.5-1/2\"", {{"12\"", 3}, {"1.5", 3}, {"1/2\"", 3}}},
        {"1/2-1/4\"", {{"1", 3}, {"2", 3}, {"1/4\"", 3}}},
        {"(16'-3\")/16\"", {{"16'-3\"", 3}, {"16\"", 3}}},
        {"12\"*2-1/2\"", {{"12\"", 3}, {"2-1/2\"", 3}}},
        {"x2/3-1/4\"", {{"x2", 0}, {"3-1/4\"", 3}}},
        // Blanks before an inch mark are no gap: the mixed number is one length.
        {"6-1/2 \" * 2", {{"6-1/2 \"", 3}, {"2", 3}}},
        {"2'6\" - 1-1/2  \"", {{"2'6\"", 3}, {"1-1/2  \"", 3}}},
        {"1/2' + 1", {{"1", 3}, {"2' ", 3}, {"1", 3}}},  // a fraction of a foot, as before
        {"12'-1/2' + 1", {{"12'", 3}, {"1", 3}, {"2' ", 3}, {"1", 3}}},  // also after feet
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
        {"12'/2", 1, 1, 3},  // coloured as calculated: twelve feet, over two
        {"12'-2'", 1, 1, 3},
        {"2-3\"", 1, 0, 0},     // two, less three inches
        {"2-3\"", 3, 2, 2},
        {"2-1/4\"", 1, 2, 6},   // a mixed number
        {"1/2-1/4\"", 3, 0, 0}, // the 2 is a denominator, so the hyphen is a minus
        {"a/2-1/4\"", 3, 2, 6}, // and here a whole number after a division
        {"4\"/.\".14", 4, 2, 2}, // a point that starts no number is read from itself
        {"6\"/. 4\"", 4, 2, 4},
        {"6-1/2 \"", 1, 2, 7},
        {"12'-1/2 \"", 1, 1, 9},
        {"3/4  \"", 1, 2, 6},
        {"x 5", 3, 0, 0},
        {"5", 9, 0, 0},
    };
    for (const auto& row : rows) {
        int length = -1;
        EXPECT_EQ(h.NumberTokenKind(QString::fromLatin1(row.line), row.start, length), row.kind) << row.line;
        EXPECT_EQ(length, row.length) << row.line;
    }
}

// Lines no pad should hold, and random ones: the tokens NextToken reads are the very ranges the
// pane colours, in order, inside the line, and every line is read to its end.
TEST(HighlightTokens, AnyTextIsCutTheSameWayForColouringAndTranslation)
{
    std::vector<QString> lines = {
        QString(), QStringLiteral("\""), QStringLiteral("'"), QStringLiteral("\"\"\"'\"'"),
        QString(QChar(0)) + "1' 2\"", QString(QChar(0xD800)) + "x = 1", QString("5") + QChar(0xDFFF) + "'",
        QString(QChar(0xFFFF)).repeated(3), QStringLiteral("12' 6 1/2\"").repeated(50),
        QStringLiteral("1/2/3/4\"'- -'\"."), QStringLiteral(".'.\".'"),
    };
    std::mt19937 random(5);
    for (int n = 0; n < 300; ++n) {
        QString line;
        for (int i = static_cast<int>(random() % 80); i > 0; --i)
            line += QChar(static_cast<char16_t>(random() % 2 ? random() % 128 : random() % 0x10000));
        lines.push_back(line);
    }
    const THighlight h;
    for (const QString& line : lines) {
        std::vector<THighlight::LineFormat> tokens;
        int pos = 0, start = 0, length = 0, colour = 0;
        UnicodeString token;
        while ((colour = h.NextToken(line, token, pos, start, length)) >= 0) {
            ASSERT_GT(length, 0) << line.toStdString();
            ASSERT_EQ(pos, start + length) << line.toStdString();
            ASSERT_EQ(token, line.mid(start, length)) << line.toStdString();
            ASSERT_TRUE(tokens.empty() || start >= tokens.back().start + tokens.back().length)
                << line.toStdString();
            tokens.push_back({start, length, h.ColourOf(colour), colour == h.CommentColour});
        }
        EXPECT_EQ(pos, line.size()) << line.toStdString();

        std::vector<THighlight::LineFormat> coloured;
        for (const THighlight::LineFormat& f : h.LineFormats(line)) {
            ASSERT_TRUE(f.length > 0 && f.start >= 0 && f.start + f.length <= line.size()) << line.toStdString();
            const bool delimiter = f.length == 1 && QStringLiteral("=()+-/*<>^![]|&,").contains(line[f.start]);
            if (delimiter) EXPECT_EQ(f.colour, clPurple) << line.toStdString();
            else coloured.push_back(f);
        }
        ASSERT_EQ(coloured.size(), tokens.size()) << line.toStdString();
        for (size_t i = 0; i < tokens.size(); ++i) {
            EXPECT_EQ(coloured[i].start, tokens[i].start) << line.toStdString();
            EXPECT_EQ(coloured[i].length, tokens[i].length) << line.toStdString();
            EXPECT_EQ(coloured[i].colour, tokens[i].colour) << line.toStdString();
            EXPECT_EQ(coloured[i].italic, tokens[i].italic) << line.toStdString();
        }
    }
}

TEST(HighlightTokens, LongLinesStayQuick)
{
    QString line;
    while (line.size() < 100000) line += "1 + 12' 6\" * x ";
    const THighlight h;
    const auto began = std::chrono::steady_clock::now();
    int pos = 0, start = 0, length = 0, tokens = 0;
    UnicodeString token;
    while (h.NextToken(line, token, pos, start, length) >= 0) ++tokens;
    const std::vector<THighlight::LineFormat> formats = h.LineFormats(line);
    const auto took = std::chrono::steady_clock::now() - began;
    EXPECT_GT(tokens, 19000);
    ASSERT_FALSE(formats.empty());
    EXPECT_EQ(formats.back().start, line.size() - 2);  // the last x, black
    EXPECT_EQ(formats.back().colour, clBlack);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(took).count(), 20);
}

}  // namespace
