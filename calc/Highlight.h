#pragma once
// Syntax colouring of the pad: comments, strings, numbers and feet-and-inch lengths, delimiters
// and the macro language's keywords each get their colour, and comments are set in italics.
// The same tokenizer cuts pad lines into words for the BASIC-style line translation.
#include "platform/vcl/RichEdit.h"
#include "platform/vcl/Strings.h"

#include <QHash>
#include <QPointer>
#include <functional>
#include <vector>

class QTextCharFormat;

struct TKeyWord {
    UnicodeString Word;
    int ColourIndex = 0;
};

class THighlight {
public:
    THighlight();
    ~THighlight();
    THighlight(const THighlight&) = delete;
    THighlight& operator=(const THighlight&) = delete;

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

    // The pad the colouring works on (the main form sets it), and the switch that turns
    // colouring on and off; unset, the settings' HighlightSyntax decides.
    //
    // Colours are the display formats of the pad's lines, as a syntax highlighter lays them over
    // the text: they are no edit, so they neither fill the undo history nor move the selection.
    // Once colouring has begun, every change of the pad's text (typing, paste, undo, redo) colours
    // its lines again; HighlightLines colours lines that are not coloured yet. Of a long change or
    // range, the lines in view are coloured at once and the others as they come into view.
    TRichEdit* Editor = nullptr;
    std::function<bool()> HighlightSyntax;
    bool ColouringOn() const;
    // Sets Editor and starts colouring it as it changes (null: leaves the pad alone).
    void SetEditor(TRichEdit* editor);

    void LoadKeyWords();

    // Colours the pad's lines first to last (only last when first > last). The selection stays.
    void HighlightLines(int first, int last);
    void HighlightLine(const UnicodeString& text, int lineIndex);

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

    // Lay one colour or style over a range of the pad until its lines are coloured again.
    void ColourRange(int start, int length, TColor colour);
    void ColourLineRange(int line, int column, int length, TColor colour);
    // "Italic", "Bold", "Underline" or "StrikeOut"; any other style name sets no style.
    void StyleRange(int start, int length, const UnicodeString& style);
    void StyleLineRange(int line, int column, int length, const UnicodeString& style);

    // The formats of one line's tokens, as (start, length, format) in the line.
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
    int DelimiterIndex(QChar ch) const;

    QHash<UnicodeString, int> keyWordIndex_;  // word -> its first entry in KeyWords

    // The highlighter on Editor's document, made when colouring begins.
    friend class PadHighlighter;
    void Attach();
    void OverlayRange(int start, int length, const QTextCharFormat& format);
    QPointer<class PadHighlighter> attached_;
};
