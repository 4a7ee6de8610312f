// Calculating the pad from the window: the pad's lines go to the headless calculation, and its
// answers come back into the answer pane beside their lines, the total in bold.
#include "app/MainProg.h"

#include "calc/FormatAnswer.h"
#include "calc/Highlight.h"
#include "calc/PadCalculation.h"
#include "config/Config.h"
#include "platform/vcl/RichEditScroll.h"

#include <QTextBlock>

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

void TfrmMainProg::CalculatePad(bool total)
{
    RichEdit_Result->Lines.Clear();
    std::vector<AnsiString> lines = PadLinesOf(RichEdit_Main);
    PadCalculationOptions options;
    options.readUnits = [this] { GetUnitsOfMeasureAndPrecision(); };
    options.highlighter = Highlighter;
    const PadCalculationResult result = CalculatePadLines(Calc, lines, total, options);

    // The calculation blanked trailing TOTAL lines and may have added its own.
    for (int i : result.blankedLines) RichEdit_Main->Lines.Set(i, QString());
    if (result.totalLineIndex >= 0) {
        const QString line = Win1252ToUnicode(lines[result.totalLineIndex]);
        if (result.totalLineIndex < RichEdit_Main->Lines.Count())
            RichEdit_Main->Lines.Set(result.totalLineIndex, line);
        else
            RichEdit_Main->Lines.Add(line);
        Highlighter->HighlightLines(result.totalLineIndex, result.totalLineIndex);
    }
    if (!result.completed) return;

    // One answer per line, each line ending in a break, as if added one by one.
    QString text;
    for (const AnsiString& answer : result.resultLines) {
        text += Win1252ToUnicode(answer);
        text += QLatin1Char('\n');
    }
    RichEdit_Result->SetText(text);
    RichEdit_Result->SetSelStart(RichEdit_Result->LastPosition());
    if (result.lastIsTotal && !result.resultLines.empty()) {
        const int length = Win1252ToUnicode(result.resultLines.back()).size();
        RichEdit_Result->SetSelStart(RichEdit_Result->SelStart() - length - 1);
        RichEdit_Result->SetSelLength(length);
        RichEdit_Result->SelAttributes.SetStyle(fsBold);
    }
    SyncPanesAfterCalculation();
}

void TfrmMainProg::SyncPanesAfterCalculation()
{
    RichEdit_Main->setFocus();
    RichEdit_Main->SetSelStart(9999999);
    // The user always goes on on a fresh blank line.
    if (!GetCurrentLine().empty()) {
        RichEdit_Main->Lines.Add(QString());
        RichEdit_Main->SetSelStart(9999999);
        RichEdit_Result->Lines.Add(QString());
    }
    NumberedLineCount = -1;
    UpdateLineNumbers();
    SetScrollRange();
    SetScrollPosition(-1);
    const int first = GetFirstVisibleLine(*RichEdit_Main);
    ScrollPaneToLine(RichEdit_Result, first);
    RichEdit_Main->setFocus();
}
