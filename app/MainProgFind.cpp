// Find and Replace on the pad through the modeless find and replace dialogs: forward from the
// caret, with the dialogs' match-case and whole-word options.
#include "app/MainProg.h"

#include "app/PadColourer.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/RichEditFind.h"
#include "platform/win/WinDefs.h"

#include <QTextCursor>
#include <QTextDocument>
#include <vector>

namespace {

TSearchTypes SearchTypesOf(TFindOptions options)
{
    TSearchTypes types = 0;
    if (options & frWholeWord) types |= stWholeWord;
    if (options & frMatchCase) types |= stMatchCase;
    return types;
}

// Replaces every match of what from position from on, each search starting behind the previous
// replacement, in one edit of the document (the pad lays itself out once, not once per match).
// Returns the number of replacements; the caret ends behind the last one.
int ReplaceAllFrom(TRichEdit& pad, int from, const UnicodeString& what, const UnicodeString& with,
                   TSearchTypes options)
{
    const QString text = pad.toPlainText();
    std::vector<int> matches;
    // The character before the search's start as the edited text has it, for the whole-word
    // test: behind a replacement it is the replacement's last character.
    QChar before;
    for (int at; (at = FindInText(text, what, from, static_cast<int>(text.size()), options, before)) >= 0;) {
        matches.push_back(at);
        const QChar beforeMatch = at == from && !before.isNull() ? before : at > 0 ? text.at(at - 1) : QChar(' ');
        before = with.isEmpty() ? beforeMatch : with.back();
        from = at + static_cast<int>(what.size());
    }
    if (matches.empty()) return 0;
    // The user's edit, as if typed: the answers beside the pad go and the pad counts as edited.
    pad.UserEdit([&pad, &matches, &what, &with] {
        QTextCursor cursor(pad.document());
        cursor.beginEditBlock();
        for (auto at = matches.rbegin(); at != matches.rend(); ++at) {
            cursor.setPosition(*at);
            cursor.setPosition(*at + static_cast<int>(what.size()), QTextCursor::KeepAnchor);
            cursor.insertText(with);
        }
        cursor.endEditBlock();
    });
    const long long shift = static_cast<long long>(with.size()) - what.size();
    pad.SetSelStart(static_cast<int>(matches.back() + shift * (static_cast<long long>(matches.size()) - 1) +
                                     with.size()));
    return static_cast<int>(matches.size());
}

}  // namespace

void TfrmMainProg::Find1Click(TObject* /*Sender*/) { FindDialog->Execute(); }

void TfrmMainProg::Replace1Click(TObject* /*Sender*/) { ReplaceDialog->Execute(); }

void TfrmMainProg::FindDialogFind(TObject* /*Sender*/)
{
    const TSearchTypes options = SearchTypesOf(FindDialog->Options());
    TRichEdit* pad = RichEdit_Main;
    // A match that is selected was found last time: look behind it.
    if (pad->SelLength() > 0) pad->SetSelStart(pad->SelStart() + pad->SelLength());
    const UnicodeString what = FindDialog->FindText();
    const int found = FindText(*pad, what, pad->SelStart(), pad->LastPosition(), options);
    if (found < 0) {
        Application->MessageBox(QStringLiteral("Search text not found."), QStringLiteral("Find Text"), MB_OK);
        return;
    }
    pad->SetSelStart(found);
    pad->SetSelLength(static_cast<int>(what.size()));
    ScrollCaret(*pad);
    // The line numbers and answers follow the pad to the found line.
    AlignPaneScroll();
    SetScrollPosition(-1);
    pad->setFocus();
}

void TfrmMainProg::ReplaceDialogReplace(TObject* /*Sender*/)
{
    const TFindOptions options = ReplaceDialog->Options();
    TRichEdit* pad = RichEdit_Main;
    if (options & frReplaceAll) {
        ReplacementCount += ReplaceAllFrom(*pad, pad->SelStart(), ReplaceDialog->FindText(),
                                           ReplaceDialog->ReplaceText(), SearchTypesOf(options));
        ScrollCaret(*pad);
        ReplaceDialog->CloseDialog();
        Application->MessageBox(
            QStringLiteral("Finished searching text.\r\n%1 replacements made.").arg(ReplacementCount),
            QStringLiteral("Replace Text"), MB_OK);
        ReplacementCount = 0;
        pad->setFocus();
        return;
    }
    if (pad->SelLength() == 0) return;
    pad->UserEdit([pad, this] { SetSelText(*pad, ReplaceDialog->ReplaceText()); });
    pad->setFocus();
}

void TfrmMainProg::ReplaceDialogClose(TObject* /*Sender*/)
{
    bool totalFound = false;
    const int n = CountPadLines(totalFound, false);
    Highlighter->HighlightLines(0, n);
    // The answers shown belong to the pad as it was; the next calculation writes them again.
    RichEdit_Result->Lines.Clear();
    RichEdit_Main->SetSelStart(0);
    NumberedLineCount = -1;
    UpdateLineNumbers();
    SetScrollRange();
    SetScrollPosition(0);
}
