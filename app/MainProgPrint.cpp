// The calculated pad taken out of the program: printed with its date, description, line numbers
// and answers, or copied to the clipboard as plain text with tabs lining up the answers. Both
// take what the three panes show; neither calculates nor changes the pad.
#include "app/MainProg.h"

#include "config/Config.h"
#include "platform/vcl/Clipboard.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Printers.h"
#include "platform/win/WinDefs.h"

#include <QTextCursor>
#include <QTextDocumentFragment>
#include <cstdlib>

namespace {

const QString kRule = QString(79, QLatin1Char('_'));

// Millimetres as device pixels at a resolution, truncated toward zero.
int MmToPixels(int mm, int dpi) { return static_cast<int>(mm * dpi * 0.03937007874015748); }

// A pad line as printed and copied: each tab four blanks.
QString WithoutTabs(QString line) { return line.replace(QLatin1Char('\t'), QStringLiteral("    ")); }

}  // namespace

void TfrmMainProg::Print1Click(TObject* /*Sender*/)
{
    if (!PrintDialog1->Execute()) return;
    TPrinter* printer = Printer();
    const int dpiX = printer->GetDeviceCaps(LOGPIXELSX);
    const int dpiY = printer->GetDeviceCaps(LOGPIXELSY);
    const int offsetX = printer->GetDeviceCaps(PHYSICALOFFSETX);
    const int offsetY = printer->GetDeviceCaps(PHYSICALOFFSETY);
    const int physicalWidth = printer->GetDeviceCaps(PHYSICALWIDTH);
    const int horzRes = printer->GetDeviceCaps(HORZRES);

    const int top = MmToPixels(20, dpiY);
    const int bottom = MmToPixels(30, dpiY);
    const int left = MmToPixels(25, dpiX);
    const int right = MmToPixels(10, dpiX);
    // The device draws from the printable area's corner, not the sheet's.
    const int leftShifted = left - offsetX;
    const int rightShifted = right - (physicalWidth - offsetX - horzRes);
    const int topShifted = top - offsetY;
    const int printableWidth = horzRes - (leftShifted + rightShifted);

    bool totalFound = false;
    const int rows = CountPadLines(totalFound, false);

    const auto fail = [](const UnicodeString& reason) {
        Application->MessageBox(QStringLiteral("The pad was not printed.\n\n") + reason, QStringLiteral("Print"),
                                MB_OK | MB_ICONERROR);
    };
    if (!printer->BeginDoc()) {
        fail(printer->LastError());
        return;
    }
    TPrinterCanvas* canvas = printer->Canvas();
    canvas->Font.Name = QStringLiteral("Courier New");
    canvas->Font.Size = 10;
    const auto lineHeight = [canvas] { return std::abs(canvas->Font.Height()); };
    const auto write = [canvas](int x, int y, const UnicodeString& text, TFontStyles style) {
        canvas->Font.Style = style;
        canvas->TextOut(x, y, text);
    };

    const int gutter = MmToPixels(10, dpiX);
    const int mainWidth = RichEdit_Main->width();
    const int panesWidth = mainWidth + RichEdit_Result->width();
    const int answerOffset = panesWidth > 0 ? mainWidth * printableWidth / panesWidth : 0;

    // The header, on the first page only.
    int y = topShifted;
    write(leftShifted, y, Edit_Date->Text(), canvas->Font.Style);
    y += lineHeight();
    write(leftShifted, y, Edit_Description->Text(), fsBold);
    y += lineHeight();
    write(leftShifted, y, kRule, 0);
    y += lineHeight();
    y += lineHeight();
    write(left + gutter, y, QStringLiteral("Calculation"), fsBold);
    write(left + gutter + answerOffset, y, QStringLiteral("Answer"), fsBold);
    y += lineHeight();
    write(left, y, kRule, 0);
    y += lineHeight();
    y += lineHeight();

    for (int i = 0; i < rows; ++i) {
        if (printer->PageHeight() - bottom <= y) {
            printer->NewPage();
            y = top;
        }
        write(left, y, RichEdit_LineNo->Lines[i], 0);
        write(left + gutter, y, WithoutTabs(RichEdit_Main->Lines[i]), 0);
        write(left + gutter + answerOffset, y, RichEdit_Result->Lines[i], fsBold);
        y += lineHeight();
    }
    if (!printer->EndDoc()) fail(printer->LastError());
}

AnsiString TfrmMainProg::TabsToAnswerColumn(const AnsiString& line)
{
    // The settings keep the width between 1 and 16; one never read counts as the usual 8.
    const int w = Config->SpacesPerTab >= 1 && Config->SpacesPerTab <= 16 ? Config->SpacesPerTab : 8;
    const int stops = 80 / w - 1;
    const long long used = static_cast<long long>(line.size()) / w + 1;
    if (used >= stops) return "\t";
    return AnsiString(static_cast<size_t>(stops - used), '\t');
}

void TfrmMainProg::RenderPadAsText()
{
    bool totalFound = false;
    const int rows = CountPadLines(totalFound, false);
    QString text;
    const auto add = [&text](const QString& line) {
        text += line;
        text += QLatin1Char('\n');
    };
    add(Edit_Date->Text());
    add(Edit_Description->Text());
    add(kRule);
    add(QStringLiteral("Calculation") + Win1252ToUnicode(TabsToAnswerColumn("Calculation")) + QStringLiteral("Answer"));
    add(kRule);
    for (int i = 0; i < rows; ++i) {
        const QString p = WithoutTabs(RichEdit_Main->Lines[i]);
        add(p + Win1252ToUnicode(TabsToAnswerColumn(UnicodeToWin1252(p))) + RichEdit_Result->Lines[i]);
    }
    MemoOut->setPlainText(text);
}

void TfrmMainProg::CopyAll1Click(TObject* /*Sender*/)
{
    RenderPadAsText();
    QTextCursor all = MemoOut->textCursor();
    all.select(QTextCursor::Document);
    MemoOut->setTextCursor(all);
    Clipboard()->SetAsText(all.selection().toPlainText());
    all.setPosition(std::min(1, MemoOut->document()->characterCount() - 1));
    MemoOut->setTextCursor(all);
}
