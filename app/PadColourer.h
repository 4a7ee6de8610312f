#pragma once
// Syntax colouring of the pad pane as the user types. What colour each token of a line gets is
// THighlight's (calc/Highlight.h, which also serves the pad translation); this lays those colours
// over the pane's lines.
//
// Colours are the display formats of the pad's lines, as a syntax highlighter lays them over the
// text: they are no edit, so they neither fill the undo history nor move the selection. Once
// colouring has begun, every change of the pad's text (typing, paste, undo, redo) colours its
// lines again; HighlightLines colours lines that are not coloured yet. Of a long change or range,
// the lines in view are coloured at once and the others as they come into view.
#include "calc/Highlight.h"
#include "platform/vcl/RichEdit.h"

#include <QPointer>
#include <functional>

class QTextCharFormat;

class TPadColourer {
public:
    TPadColourer() = default;
    ~TPadColourer();
    TPadColourer(const TPadColourer&) = delete;
    TPadColourer& operator=(const TPadColourer&) = delete;

    // The tokens and their colours; the pad translation reads lines with the same one.
    const THighlight Syntax;

    // The pad the colouring works on (the main form sets it), and the switch that turns
    // colouring on and off; unset, the settings' HighlightSyntax decides.
    TRichEdit* Editor = nullptr;
    std::function<bool()> HighlightSyntax;
    bool ColouringOn() const;
    // Sets Editor and starts colouring it as it changes (null: leaves the pad alone).
    void SetEditor(TRichEdit* editor);

    // Colours the pad's lines first to last (only last when first > last). The selection stays.
    void HighlightLines(int first, int last);
    void HighlightLine(const UnicodeString& text, int lineIndex);

    // Lay one colour or style over a range of the pad until its lines are coloured again.
    void ColourRange(int start, int length, TColor colour);
    void ColourLineRange(int line, int column, int length, TColor colour);
    // "Italic", "Bold", "Underline" or "StrikeOut"; any other style name sets no style.
    void StyleRange(int start, int length, const UnicodeString& style);
    void StyleLineRange(int line, int column, int length, const UnicodeString& style);

private:
    // The highlighter on Editor's document, made when colouring begins.
    friend class PadHighlighter;
    void Attach();
    void OverlayRange(int start, int length, const QTextCharFormat& format);
    QPointer<class PadHighlighter> attached_;
};
