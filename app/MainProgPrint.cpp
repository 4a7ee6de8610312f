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
#include <algorithm>
#include <cstdlib>

namespace {

const QString kRule = QString(79, QLatin1Char('_'));

// Millimetres as device pixels at a resolution, truncated toward zero.
int MmToPixels(int mm, int dpi) { return static_cast<int>(mm * dpi * 0.03937007874015748); }

// A pad line as printed and copied: each tab four blanks.
QString WithoutTabs(QString line) { return line.replace(QLatin1Char('\t'), QStringLiteral("    ")); }

// A text cut into pieces that each fit in width in the canvas font, to be printed one below the
// other: a piece ends after its last blank where it has one, else between two characters. Nothing
// is left out; a text that fits, or is empty, is one piece.
QStringList FitToWidth(TPrinterCanvas* canvas, const QString& text, int width)
{
    const qsizetype n = text.size();
    const auto fits = [&](qsizetype from, qsizetype count) {
        return canvas->TextWidth(text.mid(from, count)) <= width;
    };
    if (n == 0) return {text};
    // The first guess at each piece comes from a character's width, so that a long line is
    // measured a piece at a time, never whole.
    const int charWidth = std::max(1, canvas->TextWidth(QStringLiteral("0")));
    QStringList pieces;
    for (qsizetype from = 0; from < n;) {
        const qsizetype rest = n - from;
        qsizetype good = 0;        // a count that fits
        qsizetype bad = rest + 1;  // a count that does not
        const qsizetype guess = std::clamp<qsizetype>(width / charWidth, 1, rest);
        if (fits(from, guess)) {
            good = guess;
            // With an even-width font the guess is right, and one more character shows it.
            for (qsizetype probe = guess + 1; good < rest; probe = std::min(probe * 2, rest)) {
                if (!fits(from, probe)) {
                    bad = probe;
                    break;
                }
                good = probe;
            }
        } else {
            bad = guess;
        }
        while (bad - good > 1) {
            const qsizetype middle = good + (bad - good) / 2;
            (fits(from, middle) ? good : bad) = middle;
        }
        // A character wider than the whole column still goes out, alone on its row.
        qsizetype count = std::max<qsizetype>(good, 1);
        if (count < rest) {
            qsizetype afterBlank = count;
            while (afterBlank > 1 && text.at(from + afterBlank - 1) != QLatin1Char(' ')) --afterBlank;
            if (afterBlank > 1) count = afterBlank;
            else if (count > 1 && text.at(from + count).isLowSurrogate()) --count;
        }
        pieces << text.mid(from, count);
        from += count;
    }
    return pieces;
}

// Where a printed row's pad line and answer start, in device pixels.
struct PrintColumns {
    int padLeft;
    int answerLeft;
};

// The columns of the printed table. The line numbers keep their gutter unless the widest of them
// would come closer to its pad line than half a blank, where the two would read as one word; then
// the gutter grows just enough. The answers keep their column at answerOffset past the gutter
// unless the widest of them would cross rightEdge; then the column moves left just enough, but
// no further than half the room beside the pad lines. Where the pad pane is dragged almost shut,
// the column stands a blank past the pad lines' heading (headingWidth wide), so that the headings
// and the pad lines keep clear of the answers.
PrintColumns PlaceColumns(int left, int gutter, int answerOffset, int rightEdge, int blank, int headingWidth,
                          int widestNumber, int widestAnswer)
{
    const int clearance = std::max(1, blank / 2);
    const int padLeft = left + std::max(gutter, widestNumber + clearance);
    const int halfOfTheRoom = rightEdge - (rightEdge - padLeft - blank) / 2;
    int answerLeft = std::min(left + gutter + answerOffset, std::max(rightEdge - widestAnswer, halfOfTheRoom));
    answerLeft = std::max(answerLeft, padLeft + headingWidth + blank);
    return {padLeft, answerLeft};
}

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
    const TFontStyles dateStyle = canvas->Font.Style;  // the date takes the style the canvas has
    const auto lineHeight = [canvas] { return std::abs(canvas->Font.Height()); };
    const auto write = [canvas](int x, int y, const UnicodeString& text, TFontStyles style) {
        canvas->Font.Style = style;
        canvas->TextOut(x, y, text);
    };
    const auto widthOf = [canvas](const UnicodeString& text, TFontStyles style) {
        canvas->Font.Style = style;
        return canvas->TextWidth(text);
    };
    const auto fit = [canvas](const UnicodeString& text, TFontStyles style, int width) {
        canvas->Font.Style = style;
        return FitToWidth(canvas, text, width);
    };

    // The answer column stands where the pad pane's share of the window puts it, as long as the
    // widest answer (or its heading) ends there inside the right margin; a wider one moves it left
    // just far enough, but never past the middle of the room beside the pad lines: an answer wider
    // than that goes on in the rows below, as does a pad line too long for its column. Nothing
    // crosses the right margin on the sheet, nor the edge of what the device can print.
    const int rightEdge = horzRes - std::max(rightShifted, 0);
    const int blank = widthOf(QStringLiteral(" "), 0);
    int widestNumber = 0;
    int widestAnswer = widthOf(QStringLiteral("Answer"), fsBold);
    for (int i = 0; i < rows; ++i) {
        widestNumber = std::max(widestNumber, widthOf(RichEdit_LineNo->Lines[i], 0));
        widestAnswer = std::max(widestAnswer, widthOf(RichEdit_Result->Lines[i], fsBold));
    }
    const int mainWidth = RichEdit_Main->width();
    const int panesWidth = mainWidth + RichEdit_Result->width();
    const int answerOffset =
        panesWidth > 0 ? static_cast<int>(static_cast<long long>(mainWidth) * printableWidth / panesWidth) : 0;
    const PrintColumns columns =
        PlaceColumns(left, MmToPixels(10, dpiX), answerOffset, rightEdge, blank,
                     widthOf(QStringLiteral("Calculation"), fsBold), widestNumber, widestAnswer);
    const int padLeft = columns.padLeft;
    const int answerLeft = columns.answerLeft;
    const int answerWidth = std::max(1, rightEdge - answerLeft);
    const int padWidth = answerLeft - blank - padLeft;

    int y = topShifted;
    // Each printed row goes on the page while there is room above the bottom margin.
    const auto startRow = [&] {
        if (printer->PageHeight() - bottom <= y) {
            printer->NewPage();
            y = top;
        }
    };
    const auto writeLines = [&](int x, const UnicodeString& text, TFontStyles style) {
        for (const QString& piece : fit(text, style, rightEdge - x)) {
            startRow();
            write(x, y, piece, style);
            y += lineHeight();
        }
    };

    // The header, on the first page only.
    writeLines(leftShifted, Edit_Date->Text(), dateStyle);
    writeLines(leftShifted, Edit_Description->Text(), fsBold);
    write(leftShifted, y, kRule, 0);
    y += lineHeight();
    y += lineHeight();
    write(padLeft, y, QStringLiteral("Calculation"), fsBold);
    write(answerLeft, y, QStringLiteral("Answer"), fsBold);
    y += lineHeight();
    write(left, y, kRule, 0);
    y += lineHeight();
    y += lineHeight();

    // A row's answer stands beside the first printed row of its pad line.
    for (int i = 0; i < rows; ++i) {
        const QStringList line = fit(WithoutTabs(RichEdit_Main->Lines[i]), 0, padWidth);
        const QStringList answer = fit(RichEdit_Result->Lines[i], fsBold, answerWidth);
        for (qsizetype k = 0; k < std::max(line.size(), answer.size()); ++k) {
            startRow();
            if (k == 0) write(left, y, RichEdit_LineNo->Lines[i], 0);
            if (k < line.size()) write(padLeft, y, line[k], 0);
            if (k < answer.size()) write(answerLeft, y, answer[k], fsBold);
            y += lineHeight();
        }
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
