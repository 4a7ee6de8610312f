// Calculating the pad from the window: the pad's lines go to the headless calculation, and its
// answers come back into the answer pane beside their lines, the total in bold.
#include "app/MainProg.h"

#include "app/PadColourer.h"
#include "app/WindowRunWatch.h"
#include "calc/FormatAnswer.h"
#include "calc/PadCalculation.h"
#include "config/Config.h"
#include "platform/vcl/RichEditScroll.h"

#include <QTextBlock>
#include <QTextDocument>
#include <utility>
#include <QTextCursor>

namespace {

// The pad's lines as 8-bit text (an empty last line after a final line break is no line).
std::vector<AnsiString> PadLinesOf(const TRichEdit* pad)
{
    const int count = pad->Lines.Count();
    std::vector<AnsiString> lines;
    lines.reserve(count);
    QTextBlock block = pad->document()->firstBlock();
    for (int i = 0; i < count && block.isValid(); ++i, block = block.next())
        lines.push_back(UnicodeToWin1252(block.text()));
    return lines;
}

}  // namespace

void TfrmMainProg::Btn_CalculateAndTotalClick(TObject* /*Sender*/) { CalculatePad(true); }

void TfrmMainProg::Btn_CalculateOnlyClick(TObject* /*Sender*/) { CalculatePad(false); }

int TfrmMainProg::CountPadLines(bool& totalFound, bool clear)
{
    std::vector<AnsiString> lines = PadLinesOf(RichEdit_Main);
    const std::vector<AnsiString> before = clear ? lines : std::vector<AnsiString>();
    const int count = ::CountPadLines(lines, totalFound, clear);
    if (clear)
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i] != before[i]) RichEdit_Main->Lines.Set(static_cast<int>(i), Win1252ToUnicode(lines[i]));
    return count;
}

AnsiString TfrmMainProg::FormatAnswer(double answer)
{
    return ::FormatAnswer(Calc, Config->InputUnit, Config->AnswerUnit, answer);
}

void TfrmMainProg::CalculatePad(bool total, bool opening)
{
    // Only the calculation right after a pad was opened keeps the pad's view.
    const bool opened = std::exchange(loadingPad_, false);
    RichEdit_Result->Lines.Clear();
    std::vector<AnsiString> lines = PadLinesOf(RichEdit_Main);
    // The pad as the calculation read it: its answers and its TOTAL belong to these lines only.
    const std::vector<AnsiString> read = lines;
    PadCalculationOptions options;
    options.readUnits = [this] { GetUnitsOfMeasureAndPrecision(); };
    options.highlighter = &Highlighter->Syntax;
    options.watch = runWatch_.get();
    options.reachOutside = !opening;
    const PadCalculationResult result = CalculatePadLines(Calc, lines, total, options);
    // The window was closed while the program ran: the run is over, so now it closes, after the
    // question about an edited pad.
    if (runWatch_->TakeCloseRequest()) close();
    // The boxes of a calculation hold the window off, but should the pad have changed while one
    // waited (another pad opened in its place, say), the answers would stand beside lines they do
    // not belong to and the TOTAL would go over a line by its old number: they go, as an edit
    // takes the answers away, and the pad stays as it is.
    if (PadLinesOf(RichEdit_Main) != read) {
        RichEdit_Result->Lines.Clear();
        return;
    }

    // The calculation blanked trailing TOTAL lines and may have added its own.
    for (int i : result.blankedLines) RichEdit_Main->Lines.Set(i, QString());
    if (result.totalLineIndex >= 0) {
        // The TOTAL goes on the line its answer is filed under. A pad whose last line was just
        // blanked has an empty last line that the line list does not count, so the place is
        // found among the control's lines, which count it.
        QTextCursor cursor(RichEdit_Main->document());
        cursor.movePosition(QTextCursor::End);
        while (RichEdit_Main->LineCount() <= result.totalLineIndex) cursor.insertBlock();
        RichEdit_Main->Lines.Set(result.totalLineIndex, Win1252ToUnicode(lines[result.totalLineIndex]));
        Highlighter->HighlightLines(result.totalLineIndex, result.totalLineIndex);
    }
    // A failed run shows no answers; the numbers still follow a TOTAL line it added.
    if (!result.completed) {
        if (UpdateLineNumbers()) SetScrollRange();
        RichEdit_Main->setFocus();  // typing goes on in the pad, as after a calculation that ends
        return;
    }

    // One answer per line, each line ending in a break, as if added one by one; the total in
    // bold.
    RichEdit_Result->Rewrite([&result](QTextCursor& cursor) {
        const size_t plain =
            result.resultLines.size() - (result.lastIsTotal && !result.resultLines.empty() ? 1 : 0);
        QString text;
        for (size_t i = 0; i < plain; ++i) {
            text += Win1252ToUnicode(result.resultLines[i]);
            text += QLatin1Char('\n');
        }
        cursor.insertText(text, QTextCharFormat());
        if (plain < result.resultLines.size()) {
            QTextCharFormat bold;
            bold.setFontWeight(QFont::Bold);
            cursor.insertText(Win1252ToUnicode(result.resultLines.back()), bold);
            cursor.insertText(QStringLiteral("\n"), QTextCharFormat());
        }
    });
    loadingPad_ = opened;
    SyncPanesAfterCalculation();
}

void TfrmMainProg::SyncPanesAfterCalculation()
{
    // A pad just opened keeps its view at the top; sending its caret to the end and back would
    // lay out all of a long pad at once.
    const bool keepView = std::exchange(loadingPad_, false);
    RichEdit_Main->setFocus();
    if (!keepView) RichEdit_Main->SetSelStart(RichEdit_Main->LastPosition());
    // The user always goes on on a fresh blank line.
    const QTextBlock last = RichEdit_Main->document()->lastBlock();
    CurrentLine = last.blockNumber();
    if (!last.text().isEmpty()) {
        QTextCursor pad(RichEdit_Main->document());
        pad.movePosition(QTextCursor::End);
        pad.insertBlock(QTextBlockFormat(), QTextCharFormat());
        if (!keepView) RichEdit_Main->SetSelStart(RichEdit_Main->LastPosition());
        QTextCursor answers(RichEdit_Result->document());
        answers.movePosition(QTextCursor::End);
        if (!answers.block().text().isEmpty()) answers.insertBlock(QTextBlockFormat(), QTextCharFormat());
        answers.insertBlock(QTextBlockFormat(), QTextCharFormat());
    }
    NumberedLineCount = -1;
    UpdateLineNumbers();
    SetScrollRange();
    SetScrollPosition(-1);
    const int first = GetFirstVisibleLine(*RichEdit_Main);
    ScrollPaneToLine(RichEdit_Result, first);
    RichEdit_Main->setFocus();
}
