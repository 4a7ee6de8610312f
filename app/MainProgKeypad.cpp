// The keypad, the scientific panel and the snippet combos: every button and snippet edits the
// caret's pad line through InsertPadText (what each button inserts is in the table of
// MainProgLayout.cpp).
#include "app/MainProg.h"
#include "platform/win/ExtMessageBox.h"

#include <QCoreApplication>
#include <algorithm>
#include <span>

namespace {

// What a snippet combo inserts for an item whose upper-cased text contains key; the first row
// that matches wins. caret is the caret's offset into the inserted text.
struct Snippet {
    const char* key;
    const char* text;
    int caret;
};

constexpr Snippet generalSnippets[] = {
    {"MESSAGE", "Message \"\"", 9},
    {"MSGBOX", "Msgbox \"\"", 8},
    {"ASKYESNO", "AskYesNo \"\",", 10},
    {"ASK", "Ask \"\",", 5},
};

constexpr Snippet conditionalSnippets[] = {
    {"IF( ) THEN ... ENDIF", "if() then\nendif", 3},
    {"ELSEIF( ) THEN", "elseif() then", 7},
    {"NOT", "not()", 4},
};

constexpr Snippet loopSnippets[] = {
    {"FOR", "for(;;)\nendfor", 4},
    {"WHILE", "while()\nendwhile", 6},
};

const char* const keypadHelp =
    // The button's caption doubles its '&' to show one; this box shows the text as it stands.
    "=\t(Equals) Click on '= Run' or '= Run & Total' Button\n"
    "'\t(Single Quote) Imperial Feet if preceeded by a number else start of a comment\n"
    "\"\t(Double Quote) Imperial Inches if preceeded by a number else start/end of a string\n"
    "(...)\tSurround current line with brackets\n"
    "(\tLeft Bracket\n"
    ")\tRight Bracket\n"
    "(-)\tUnary Minus eg   6 * -3   is illegal - whereas   6 * (-)3 = -18\n"
    "<X|\tBackspace Key\n"
    "sp\tSpace\n\n"
    "For more Help click on pull-down menu 'Help'";

}  // namespace

// ---- line operations --------------------------------------------------------------------------

AnsiString TfrmMainProg::GetCurrentLine()
{
    CurrentLine = RichEdit_Main->LineFromChar(RichEdit_Main->SelStart());
    return UnicodeToWin1252(RichEdit_Main->Lines[CurrentLine]);
}

void TfrmMainProg::SetCurrentLine(const AnsiString& text) { ReplaceCurrentLine(Win1252ToUnicode(text)); }

// The edits work on the line as the pane holds it, so that a character the pad files cannot store
// is not lost the moment a button is pressed on its line. A button's edit is the user's edit as a
// key's is: it takes the same road, which clears the answers beside the pad, colours the lines it
// touched and marks the pad edited.
void TfrmMainProg::ReplaceCurrentLine(const UnicodeString& text)
{
    LineEditText = UnicodeToWin1252(text);
    RichEdit_Main->UserEdit([this, &text] { RichEdit_Main->Lines.Set(CurrentLine, text); });
    QCoreApplication::processEvents();
}

int TfrmMainProg::GetCaretColumn() { return RichEdit_Main->SelStart() - RichEdit_Main->LineIndex(-1); }

void TfrmMainProg::SetCaretColumn(int column) { RichEdit_Main->SetSelStart(RichEdit_Main->LineIndex(-1) + column); }

// An edit that changed the number of lines renumbers them (the edit itself coloured its lines).
void TfrmMainProg::AfterLineEdit(int firstLine, int lastLine)
{
    if (firstLine != lastLine) {
        NumberedLineCount = -1;
        UpdateLineNumbers();
        SetScrollRange();
        SetScrollPosition(0);
    }
}

void TfrmMainProg::InsertPadText(const AnsiString& text, int caretOffset)
{
    const UnicodeString insert = Win1252ToUnicode(text);
    const int s = RichEdit_Main->SelStart();
    const int c = GetCaretColumn();
    GetCurrentLine();
    const int l0 = CurrentLine;
    const UnicodeString line = RichEdit_Main->Lines[l0];

    UnicodeString changed;
    if (c <= 0)
        changed = insert + line;
    else if (line.size() <= c)
        changed = line + insert;
    else
        changed = line.left(c) + insert + line.mid(c);
    ReplaceCurrentLine(changed);

    AfterLineEdit(l0, RichEdit_Main->LineFromChar(-1));
    if (caretOffset < 0)
        SetCaretColumn(std::max(c, 0) + static_cast<int>(insert.size()));
    else
        RichEdit_Main->SetSelStart(s + caretOffset);
    RichEdit_Main->setFocus();
}

void TfrmMainProg::PrependToCurrentLine(const AnsiString& text)
{
    const UnicodeString insert = Win1252ToUnicode(text);
    const int s = RichEdit_Main->SelStart();
    GetCurrentLine();
    ReplaceCurrentLine(insert + RichEdit_Main->Lines[CurrentLine]);
    RichEdit_Main->SetSelStart(s + static_cast<int>(insert.size()));
    RichEdit_Main->setFocus();
}

void TfrmMainProg::AppendToCurrentLine(const AnsiString& text)
{
    GetCurrentLine();
    const int l0 = CurrentLine;
    ReplaceCurrentLine(RichEdit_Main->Lines[l0] + Win1252ToUnicode(text));
    AfterLineEdit(l0, RichEdit_Main->LineFromChar(-1));
    RichEdit_Main->setFocus();
}

// ---- keypad and function buttons ---------------------------------------------------------------

void TfrmMainProg::BitBtnPairBracketsClick(TObject*)
{
    PrependToCurrentLine("(");
    AppendToCurrentLine(")");
}

void TfrmMainProg::Btn_AllSquaredClick(TObject*)
{
    PrependToCurrentLine("(");
    AppendToCurrentLine(")^2");
}

// Deletes the character left of the caret within its line; it never joins two lines.
void TfrmMainProg::BitBtnBackspaceClick(TObject*)
{
    // A selection that starts on an earlier line than the caret gives a negative column; there is
    // no character of the selection's first line to delete then.
    const int c = GetCaretColumn();
    if (c <= 0) return;
    const int s = RichEdit_Main->SelStart();
    GetCurrentLine();
    const int l0 = CurrentLine;
    UnicodeString line = RichEdit_Main->Lines[l0];
    line.remove(c - 1, 1);
    ReplaceCurrentLine(line);
    AfterLineEdit(l0, RichEdit_Main->LineFromChar(-1));
    RichEdit_Main->SetSelStart(s - 1);
    RichEdit_Main->setFocus();
}

void TfrmMainProg::BitBtnHelpClick(TObject*)
{
    const ExtMessageBoxParams params;
    ExtMessageBox(nullptr, keypadHelp, "Keypad Help", 0x20000040, &params);
}

// ---- scientific panel ---------------------------------------------------------------------------

void TfrmMainProg::Btn_ScientificClick(TObject*)
{
    if (ScientificShown) {
        Btn_Scientific->SetCaption(QStringLiteral("Scientific >>"));
        SetVisible(Panel_Scientific, false);
        ScientificShown = false;
        UpdateMinimumSize();
        return;
    }
    Btn_Scientific->SetCaption(QStringLiteral("<< Scientific"));
    // Taken off the bottom edge and put back, the keypad panel lies above the scientific one.
    SetAlign(Panel_Bottom, alNone);
    SetVisible(Panel_Scientific, true);
    // The panel shows whole pad lines when its height has a first decimal in lines.
    const int h = Panel_Scientific->height();
    if (LineHeight > 0 && (10 * h / LineHeight) % 10 > 0) SetHeight(Panel_Scientific, (h / LineHeight + 1) * LineHeight);
    SetAlign(Panel_Bottom, alBottom);
    ScientificShown = true;
    UpdateMinimumSize();
}

// ---- snippet combos -------------------------------------------------------------------------------

namespace {

void InsertSnippet(TfrmMainProg& form, TComboBox* combo, std::span<const Snippet> snippets)
{
    const AnsiString item = UnicodeToWin1252(combo->Text());
    const AnsiString upper = UpperCase(item);
    for (const Snippet& snippet : snippets) {
        if (upper.find(snippet.key) != AnsiString::npos) {
            form.InsertPadText(snippet.text, snippet.caret);
            return;
        }
    }
    form.InsertPadText(item, -1);
}

}  // namespace

void TfrmMainProg::Cmb_GeneralChange(TObject*) { InsertSnippet(*this, Cmb_General, generalSnippets); }
void TfrmMainProg::Cmb_ConditionalChange(TObject*) { InsertSnippet(*this, Cmb_Conditional, conditionalSnippets); }
void TfrmMainProg::Cmb_LoopChange(TObject*) { InsertSnippet(*this, Cmb_Loop, loopSnippets); }
