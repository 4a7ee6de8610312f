#pragma once
// The rich-text edit control of the pad panes: its text as lines, a selection given by a start
// and a length, the character format of the selection, and the edit-control messages the
// program sends it. Character positions count one per line break, as the original control's
// do, and a line is a paragraph: the panes never wrap, so each pad line is one line on screen.
#include "platform/vcl/Strings.h"

#include <QTextCursor>
#include <QTextEdit>
#include <cstdint>
#include <functional>

// A colour as 0x00BBGGRR.
using TColor = int;
enum : TColor {
    clBlack = 0x000000,
    clMaroon = 0x000080,
    clGreen = 0x008000,
    clNavy = 0x800000,
    clPurple = 0x800080,
    clRed = 0x0000FF,
    clBlue = 0xFF0000,
    clWhite = 0xFFFFFF,
};
QColor ToQColor(TColor colour);
TColor FromQColor(const QColor& colour);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;  // a set of TFontStyle bits

// The edit-control messages the program sends through TRichEdit::Perform.
enum : unsigned {
    EM_GETLINECOUNT = 0x00BA,
    EM_LINEINDEX = 0x00BB,
    EM_EXLINEFROMCHAR = 0x0436,
};

class TRichEdit;

// The character format of the selection. Reading gives the format of its first character (of
// the insertion point when nothing is selected); setting applies to the whole selection, or to
// what is typed next when nothing is selected.
class TTextAttributes {
public:
    explicit TTextAttributes(TRichEdit& owner) : owner_(owner) {}
    TColor Color() const;
    void SetColor(TColor colour);
    TFontStyles Style() const;
    void SetStyle(TFontStyles style);
    UnicodeString Name() const;
    void SetName(const UnicodeString& family);
    int Size() const;  // points
    void SetSize(int points);

private:
    TRichEdit& owner_;
};

// The text of the control as a list of lines. Count leaves out an empty last line, so a text
// ending in a line break has as many lines as breaks; Add puts each line with its break.
class TRichEditLines {
public:
    explicit TRichEditLines(TRichEdit& owner) : owner_(owner) {}
    int Count() const;
    UnicodeString operator[](int index) const;  // "" outside the lines
    // Replaces the text of a line; an index without a line changes nothing.
    void Set(int index, const UnicodeString& text);
    // Appends a line and leaves the caret at the end of the text.
    void Add(const UnicodeString& text);
    // Inserts a line before line index (index == Count appends).
    void Insert(int index, const UnicodeString& text);
    // Removes a line and its break; the last line loses its text only.
    void Delete(int index);
    void Clear();

private:
    TRichEdit& owner_;
};

// The format a character is shown in: its own, with the display formats a highlighter laid over
// its line on top.
QTextCharFormat DisplayedFormat(const TRichEdit& edit, int position);

class TRichEdit : public QTextEdit {
public:
    explicit TRichEdit(QWidget* parent = nullptr);

    TRichEditLines Lines{*this};
    TTextAttributes SelAttributes{*this};

    // The whole text, lines joined by "\n".
    UnicodeString Text() const;
    void SetText(const UnicodeString& text);

    // Setting SelStart puts the caret there with nothing selected; SelLength then selects
    // from SelStart on. Both are clamped to the text.
    int SelStart() const;
    void SetSelStart(int position);
    int SelLength() const;
    void SetSelLength(int length);

    // EM_LINEINDEX: the position of the first character of a line, -1 for a line that does not
    // exist; line -1 is the caret's line.
    int LineIndex(int line) const;
    // EM_EXLINEFROMCHAR: the line holding a character position (past the end: the last line;
    // -1: the caret's).
    int LineFromChar(int position) const;
    // EM_GETLINECOUNT: the lines on screen, an empty last line included; at least 1.
    int LineCount() const;

    // Sends a message of the original control: the ones above, with its arguments.
    // Unknown messages answer 0.
    intptr_t Perform(unsigned message, uintptr_t wParam, intptr_t lParam);

    int LastPosition() const;  // the number of character positions

    // Replaces the text by what write puts in through the cursor given, in a new document with
    // the same settings (anything holding the old document must ask for it again). A long text is
    // laid out a part at a time as it comes into view, not all at once; the caret is at the start.
    void Rewrite(const std::function<void(QTextCursor&)>& write);

    // Between these, selection and format changes are gathered and the control shows the
    // outcome once at EndUpdate: the selection then is the last one set. Calls nest.
    void BeginUpdate();
    void EndUpdate();

    // The user's own edits of the text, each told once the control has handled the key, the
    // input method's text, the click or the drop that made it: the first and last line it touched
    // (as the text now stands), and whether the mouse made it. Changes the program makes to the
    // text are not told, nor is a key or click that changes nothing.
    std::function<void(int first, int last, bool byMouse)> OnUserEdit;
    // Makes an edit the user asked for elsewhere (a menu command) as the user's own; it is told
    // even when it found nothing to change, on the caret's line.
    void UserEdit(const std::function<void()>& edit);

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    // A key finds the text laid out to its end and the scroll range whole: an edit before that
    // would be laid out wrongly, and a caret sent far down would stop short.
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class TTextAttributes;
    friend class TRichEditLines;
    // Scrolling to a line needs the text laid out to that line and the scroll range whole.
    friend void LineScroll(TRichEdit& edit, int columns, int lines);

    // A new text is laid out a part at a time while the program waits for the user, which keeps a
    // long pad quick to open. Whatever needs it whole before that (a key, a far caret move, a
    // scroll by lines, an edit, lines laid out again from outside) has the control finish it
    // first, here and nowhere else.
    void WatchLayout(QTextDocument* document);
    // Lays out the part of the text not laid out yet and sets the scroll range to the whole text
    // at once. Quick when all of it is laid out.
    void FinishLayout();
    // After lines were laid out again alone: lays out the lines behind them that the layout had
    // not reached.
    static void LayOutTheRest(QTextDocument& doc);
    // Between these the changes of the text are the user's; at the outermost end they are told.
    void BeginUserInput(bool byMouse);
    void EndUserInput();
    void NoteChange(int from, int added);
    // Whether the caret's line lies below what the scroll range reaches (the text laid out only in
    // part, or the view not told of its size yet).
    bool BeyondScrollRange(const QTextCursor& cursor) const;
    QTextCursor Cursor() const;  // the selection being worked on
    void SetCursor(const QTextCursor& cursor);
    void MergeFormat(const QTextCharFormat& format);

    int updating_ = 0;
    QTextCursor batch_;
    bool layingOut_ = false;  // a new text is still being laid out, a part at a time
    bool changing_ = false;   // between the document's report of a change and its end
    int userInput_ = 0;       // nested handlings of the user's input
    bool middleDown_ = false;  // a middle click pastes on its release: press to release is one edit
    bool byMouse_ = false;
    int editedFirst_ = 0;      // the lines the user's input has changed so far, -1 when none
    int editedLast_ = -1;
    int blockCount_ = 0;       // the line count before the latest change
};
