// The three panes (line numbers, pad, answers) and their shared scroll bar: after every key,
// wheel turn, click and scroll they show the same lines, the line numbers follow the pad's line
// count, and the pane area is sized to whole lines.
#include "app/MainProg.h"

#include "app/PadColourer.h"
#include "calc/BasicLine.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/RichEditScroll.h"
#include "platform/win/WinDefs.h"

#include <QFontMetrics>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>
#include <cstdlib>

namespace {

int CaretLine(const TRichEdit* edit) { return edit->LineFromChar(edit->SelStart()); }

// Writes the numbers 1 to count into the line-number pane, one per line. The pane is usually
// one line longer or shorter than before, so only its end is changed when it already holds a
// run of numbers from 1.
void FillLineNumbers(TRichEdit* pane, int count)
{
    QTextDocument* doc = pane->document();
    const int have = doc->blockCount();
    const bool numbered = doc->firstBlock().text() == QLatin1String("1") &&
                          doc->lastBlock().text() == QString::number(have);
    // A whole new text is laid out a part at a time, as it comes into view; an edit is laid out
    // at once. Many lines more or less are written anew.
    if (!numbered || count < 1 || std::abs(count - have) > 200) {
        QString text;
        for (int i = 1; i <= count; ++i) {
            if (i > 1) text += QLatin1Char('\n');
            text += QString::number(i);
        }
        pane->setPlainText(text);
        return;
    }
    QTextCursor cursor(doc);
    if (count > have) {
        QString tail;
        for (int i = have + 1; i <= count; ++i) tail += QLatin1Char('\n') + QString::number(i);
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(tail);
    } else if (count < have) {
        cursor.setPosition(doc->findBlockByNumber(count - 1).position() + QString::number(count).size());
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
}

}  // namespace

void TfrmMainProg::MeasurePadFont()
{
    RichEdit_Main->Lines.Clear();
    for (int i = 0; i < 3; ++i) RichEdit_Main->Lines.Add(QStringLiteral("        "));
    const int end = RichEdit_Main->LastPosition();
    const QPoint p0 = PosFromChar(*RichEdit_Main, 0);
    const QPoint p1 = PosFromChar(*RichEdit_Main, end);  // start of the empty fourth line
    LineHeight = (p1.y() - p0.y()) / 3;
    const QPoint p2 = PosFromChar(*RichEdit_Main, end - 1);  // behind the eighth blank
    CharWidth = (p2.x() - p0.x()) / 8;
}

int TfrmMainProg::VisibleLineCount()
{
    // Before the font is measured no line fits.
    return LineHeight > 0 ? RichEdit_Main->height() / LineHeight : 0;
}

void TfrmMainProg::ApplyPendingResize()
{
    // What the keypad panel took at the last fitting goes back first; otherwise it would grow by
    // up to a line at every resize and the pad would shrink away over a session.
    if (bottomSlack_ != 0) {
        SetHeight(Panel_Bottom, Panel_Bottom->height() - bottomSlack_);
        bottomSlack_ = 0;
    }
    const int h = VisibleLineCount() * LineHeight + 8;
    bottomSlack_ = Panel_Grid->height() - h;
    SetHeight(Panel_Bottom, Panel_Bottom->height() + bottomSlack_);
    SetHeight(Panel_Grid, h);
    ResizePending = false;
    PlaceColumnCaptions();
}

void TfrmMainProg::SetScrollRange()
{
    const int v = VisibleLineCount();
    ScrollBar1->SetMax(std::max(RichEdit_Main->LineCount() - v, 0));
    ScrollBar1->SetMin(0);
    ScrollBar1->SetSmallChange(1);
    ScrollBar1->SetLargeChange(v);
}

void TfrmMainProg::SetScrollPosition(int line)
{
    // The thumb shows where the view is: at the caret's line it made the next arrow click jump
    // by as many lines as the caret stood below the top.
    if (line == -1) {
        ScrollBar1->SetPosition(std::min(GetFirstVisibleLine(*RichEdit_Main), ScrollBar1->Max()));
        return;
    }
    if (line < 0) return;
    if (line >= ScrollBar1->Max()) line = ScrollBar1->Max() - 1;
    if (line < 0) line = 0;
    ScrollBar1->SetPosition(line);
}

bool TfrmMainProg::UpdateLineNumbers()
{
    const int count = RichEdit_Main->LineCount();
    if (count == NumberedLineCount) return false;
    FillLineNumbers(RichEdit_LineNo, count);
    FitLineNumberPane(count);
    AlignLineNumberPane();
    NumberedLineCount = count;
    return true;
}

void TfrmMainProg::FitLineNumberPane(int count)
{
    const QFontMetrics metrics(RichEdit_LineNo->document()->defaultFont());
    const int border = 2 * (RichEdit_LineNo->frameWidth() + static_cast<int>(RichEdit_LineNo->document()->documentMargin()));
    // Digits are all one width in the pane's fonts; one more digit's room keeps the caret clear.
    const int digits = static_cast<int>(QString::number(std::max(count, 1)).size()) + 1;
    const int width = std::max(kLineNumberPaneWidth, metrics.horizontalAdvance(QString(digits, QLatin1Char('0'))) + border);
    if (width == RichEdit_LineNo->width()) return;
    SetWidth(RichEdit_LineNo, width);
    PlaceColumnCaptions();
    UpdateMinimumSize();
}

void TfrmMainProg::AlignLineNumberPane()
{
    ScrollPaneToLine(RichEdit_LineNo, GetFirstVisibleLine(*RichEdit_Main));
}

void TfrmMainProg::ScrollPaneToLine(TRichEdit* pane, int line)
{
    pane->SetSelStart(0);
    LineScroll(*pane, 0, line);
}

void TfrmMainProg::AlignPaneScroll()
{
    const int f = GetFirstVisibleLine(*RichEdit_Main);
    const int n = GetFirstVisibleLine(*RichEdit_LineNo);
    const int r = GetFirstVisibleLine(*RichEdit_Result);
    const int c = RichEdit_Result->LineCount();
    LineScroll(*RichEdit_LineNo, 0, f - n);
    if (c > 1) LineScroll(*RichEdit_Result, 0, f - r);
}

void TfrmMainProg::FollowPadScroll()
{
    AlignPaneScroll();
    SetScrollPosition(-1);
}

void TfrmMainProg::FollowPadLineCount()
{
    if (UpdateLineNumbers()) SetScrollRange();
}

void TfrmMainProg::RichEdit_MainKeyDown(TObject* /*Sender*/, WORD& Key, TShiftState Shift)
{
    const int caretLine = CaretLine(RichEdit_Main);
    KeyDownLine = caretLine;
    keyDownShift_ = Shift;
    if (Key == VK_BACK && caretLine == GetFirstVisibleLine(*RichEdit_Main) &&
        RichEdit_Main->SelStart() == RichEdit_Main->LineIndex(-1) && RichEdit_Main->SelStart() > 0)
        BackspaceAtTopLine = true;
}

void TfrmMainProg::RichEdit_MainKeyUp(TObject* /*Sender*/, WORD& Key, TShiftState Shift)
{
    const int f = GetFirstVisibleLine(*RichEdit_Main);
    const auto resync = [this](bool alwaysRange) {
        if (UpdateLineNumbers() || alwaysRange) SetScrollRange();
        SetScrollPosition(-1);
        RichEdit_Main->setFocus();
    };

    if (Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT) AlignPaneScroll();

    if (Key == VK_RETURN) {
        if (f + VisibleLineCount() == CaretLine(RichEdit_Main) + 1) {
            ScrollPaneToLine(RichEdit_LineNo, f + 1);
            ScrollPaneToLine(RichEdit_Result, f + 1);
        }
        resync(false);
    }

    if (BackspaceAtTopLine) {
        if (RichEdit_LineNo->Lines.Count() > 1) RichEdit_LineNo->Lines.Delete(RichEdit_LineNo->Lines.Count() - 1);
        ScrollBy(*RichEdit_LineNo, SB_LINEUP);
        BackspaceAtTopLine = false;
    } else if (Key == VK_BACK) {
        resync(false);
    }

    // Ctrl may be up again before V when the keys are struck fast: the paste was made at V's press.
    const bool ctrlOnly = Shift == ssCtrl || keyDownShift_ == ssCtrl;
    if (Key == 'V' && ctrlOnly) {
        // Text pasted from a word processor brings curly quotes and dashes the pad cannot read.
        const int caret = RichEdit_Main->SelStart();
        const int last = CaretLine(RichEdit_Main);
        for (int i = KeyDownLine; i <= last; ++i) {
            const UnicodeString line = RichEdit_Main->Lines[i];
            const AnsiString plain = NormalizeTypographicQuotes(UnicodeToWin1252(line));
            if (plain != UnicodeToWin1252(line)) RichEdit_Main->Lines.Set(i, Win1252ToUnicode(plain));
        }
        RichEdit_Main->SetSelStart(caret);
        ScrollPaneToLine(RichEdit_LineNo, f);
        ScrollPaneToLine(RichEdit_Result, f);
        resync(false);
    }

    if (Key == 'X' && ctrlOnly) resync(true);

    // Whatever the key did (Ctrl+Home, a join at the top line), the panes end on the same lines.
    FollowPadLineCount();
    FollowPadScroll();
}

void TfrmMainProg::AfterPadEdit(int first, int last, bool byMouse)
{
    if (byMouse) {
        const int caretLine = CaretLine(RichEdit_Main);
        KeyDownLine = std::min(first, caretLine);
        WORD key = 'V';
        RichEdit_MainKeyUp(RichEdit_Main, key, ssCtrl);
    }
    // The answers shown belong to the pad as it was.
    RichEdit_Result->Lines.Clear();
    Highlighter->HighlightLines(first, last);
    PadUnchanged = false;
}

void TfrmMainProg::RichEdit_MainMouseUp(TObject* /*Sender*/, TMouseButton /*Button*/, TShiftState /*Shift*/,
                                        int /*X*/, int /*Y*/)
{
    padMouseDown_ = false;
    SetScrollPosition(-1);
    AlignLineNumberPane();
    RichEdit_Main->setFocus();
}

void TfrmMainProg::RichEdit_MainSelectionChange(TObject* /*Sender*/)
{
    if (ResizePending) {
        ApplyPendingResize();
        SetScrollRange();
        SetScrollPosition(-1);
    }
    // A selection dragged past the pad's edge scrolls the pad; the other panes follow. The button
    // must have gone down in the pad: held on the scroll bar, it meant the pad was being lined
    // up, and the half-done alignment sent the other panes to the top.
    if (padMouseDown_ && GetAsyncKeyState(VK_LBUTTON) == 0x8000) {
        AlignPaneScroll();
        SetScrollPosition(-1);
    }
}

void TfrmMainProg::RichEdit_MainMouseWheel(TObject* /*Sender*/, TShiftState /*Shift*/, int WheelDelta,
                                           QPoint /*MousePos*/, bool& /*Handled*/)
{
    const int s = RichEdit_Main->SelStart();
    const int c = CaretLine(RichEdit_Main);
    int f = GetFirstVisibleLine(*RichEdit_Main);
    const int n = RichEdit_Main->LineCount();
    const int v = VisibleLineCount();
    if (WheelDelta > 0) {
        const int t = f > 0 ? f - 1 : f;
        ScrollPaneToLine(RichEdit_LineNo, t);
        ScrollPaneToLine(RichEdit_Result, t);
        ScrollPaneToLine(RichEdit_Main, t);
    } else if (WheelDelta < 0 && n - v > f) {
        const int t = f + 1;
        if (n > v) {
            ScrollPaneToLine(RichEdit_LineNo, t);
            ScrollPaneToLine(RichEdit_Result, t);
        }
        ScrollPaneToLine(RichEdit_Main, t);
    }
    f = GetFirstVisibleLine(*RichEdit_Main);
    SetScrollPosition(f);
    if (f <= c && c < f + v)
        RichEdit_Main->SetSelStart(s);
    else
        RichEdit_Main->SetSelStart(RichEdit_Main->LineIndex(f));
}

void TfrmMainProg::ScrollBar1Scroll(TObject* /*Sender*/, TScrollCode /*ScrollCode*/, int& ScrollPos)
{
    if (ResizePending) {
        ApplyPendingResize();
        SetScrollRange();
        SetScrollPosition(-1);
    }
    const int s = RichEdit_Main->SelStart();
    const int c = CaretLine(RichEdit_Main);
    const int v = VisibleLineCount();
    const int n = RichEdit_Main->LineCount();
    if (n > v) {
        ScrollPaneToLine(RichEdit_LineNo, ScrollPos);
        ScrollPaneToLine(RichEdit_Result, ScrollPos);
    }
    ScrollPaneToLine(RichEdit_Main, ScrollPos);
    if (ScrollPos <= c && c < ScrollPos + v)
        RichEdit_Main->SetSelStart(s);
    else
        ScrollBar1->setFocus();
}

void TfrmMainProg::Panel_SplitterMouseUp(TObject* /*Sender*/, TMouseButton /*Button*/, TShiftState /*Shift*/,
                                         int X, int /*Y*/)
{
    const int w = ScrollBar1->width();
    const int b = Panel_Splitter->x() + X;
    if (b < RichEdit_Main->x() + w || b > RichEdit_Result->x() + RichEdit_Result->width() - w) return;
    for (QWidget* control : {static_cast<QWidget*>(ScrollBar1), static_cast<QWidget*>(RichEdit_Result),
                             static_cast<QWidget*>(Panel_Splitter)})
        SetAlign(control, alNone);
    SetBounds(RichEdit_Result, RichEdit_Result->x() + X, RichEdit_Result->y(), RichEdit_Result->width() - X,
              RichEdit_Result->height());
    SetLeft(Panel_Splitter, Panel_Splitter->x() + X);
    for (QWidget* control : {static_cast<QWidget*>(ScrollBar1), static_cast<QWidget*>(RichEdit_Result),
                             static_cast<QWidget*>(Panel_Splitter)})
        SetAlign(control, alRight);
    PlaceColumnCaptions();
}

void TfrmMainProg::AddPadLines(const std::vector<AnsiString>& lines)
{
    if (lines.empty()) return;
    QStringList text;
    text.reserve(static_cast<qsizetype>(lines.size()));
    for (const AnsiString& line : lines) text << Win1252ToUnicode(line);
    if (RichEdit_Main->document()->isEmpty()) {
        // As Lines.Add leaves it: the lines, each with its break, and the caret at the end.
        RichEdit_Main->SetText(text.join(QLatin1Char('\n')) + QLatin1Char('\n'));
        loadingPad_ = true;
        return;
    }
    RichEdit_Main->Lines.Add(text.join(QLatin1Char('\n')));
}
