#pragma once
// The pad's syntax: how a line is cut into tokens (comments, strings, numbers and feet-and-inch
// lengths, delimiters, words) and which colour and style each token gets. The BASIC-style line
// translation reads lines with NextToken; the pad pane is coloured from LineFormats by
// TPadColourer (app/PadColourer.h), which owns the one THighlight of the window.
#include "platform/vcl/RichEdit.h"  // TColor
#include "platform/vcl/Strings.h"

#include <QHash>
#include <functional>
#include <vector>

struct TKeyWord {
    UnicodeString Word;
    int ColourIndex = 0;
};

class THighlight {
public:
    THighlight();

    std::vector<UnicodeString> Delimiters;  // blank and tab first: they separate, uncoloured
    std::vector<TColor> Palette;
    std::vector<TKeyWord> KeyWords;
    int CommentColour = 1;
    int StringColour = 2;
    int NumberColour = 3;
    int DelimiterColour = 4;
    int KeyWordColour = 5;
    UnicodeString CommentStart;
    UnicodeString StringDelimiter;
    UnicodeString DecimalPoint;

    void LoadKeyWords();

    // The next token of line at or after the 0-based pos, which it advances. Returns the colour
    // index of the token (1 comment, 2 string, 3 number or length, 5 keyword, 0 other word), or
    // -1 with an empty token when the line holds no further token.
    int NextToken(const UnicodeString& line, UnicodeString& token, int& pos, int& start,
                  int& length) const;
    // Whether the text at the 1-based start is a feet length (1) or an inch length (2), and
    // its length in characters; 0 when it is neither.
    int NumberTokenKind(const UnicodeString& line, int start, int& length) const;
    int FindKeyWordColour(const UnicodeString& word) const;
    TColor ColourOf(int index) const;

    // How one line is coloured: each coloured delimiter and each token, in line order, as
    // (start, length) in the line with its colour; comments are italic. Blanks and tabs get none.
    struct LineFormat {
        int start;
        int length;
        TColor colour;
        bool italic;
    };
    std::vector<LineFormat> LineFormats(const UnicodeString& text) const;

private:
    enum class Kind { Comment, String, Number, Word };
    struct Span {
        int start = 0;
        int end = 0;  // one past the last character
        Kind kind = Kind::Word;
    };
    // Skips delimiters from pos (reporting each coloured one to onDelimiter when given) and reads
    // the token after them; false when the line ends first.
    bool ReadToken(const UnicodeString& line, int pos, Span& span,
                   const std::function<void(int)>& onDelimiter) const;
    // The colour index of a token: the one place a token's kind becomes a colour. The token's
    // text is read only for a word.
    int ColourIndexOf(Kind kind, const UnicodeString& word) const;
    int DelimiterIndex(QChar ch) const;

    QHash<UnicodeString, int> keyWordIndex_;  // word -> its first entry in KeyWords
};
