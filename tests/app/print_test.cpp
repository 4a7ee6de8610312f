// Printing the calculated pad into a PDF file through the print dialog, read back with pdftotext
// and checked against what the canvas was asked to write: header, headings, rows, bold answers,
// page breaks, the shifted and unshifted margins, and the failures a user must be told of.
#include "tests/app/mainform_fixture.h"
#include "tests/common/DialogRecorder.h"

#include "platform/vcl/Printers.h"
#include "platform/vcl/SafeWrite.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <map>
#include <gtest/gtest.h>
#include <unistd.h>
#include <csignal>
#include <cstring>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

struct Printed {
    std::vector<TTextOutCall> calls;
    std::vector<DialogCall> dialogs;
};

// Prints the window's pad through File > Print into path, on A4 with the given device margins.
Printed PrintPad(const Window& w, const QString& path, double marginMm = 0)
{
    QPrinter& device = Printer()->Device();
    device.setOutputFormat(QPrinter::PdfFormat);
    device.setOutputFileName(QString());
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageMargins(QMarginsF(marginMm, marginMm, marginMm, marginMm), QPageLayout::Millimeter);
    Printed printed;
    Printer()->Canvas()->OnTextOut = [&printed](const TTextOutCall& call) { printed.calls.push_back(call); };
    DialogRecorder dialogs;
    dialogs.Answer(1, {path});
    w->Print1->Click();
    Printer()->Canvas()->OnTextOut = nullptr;
    printed.dialogs = dialogs.calls;
    return printed;
}

// The words of a PDF with their page and box in points, from pdftotext's box listing, in reading
// order.
struct Word {
    int page;
    double x;
    double y;
    double xMax;
    QString text;
};
std::vector<Word> PdfWords(const QString& path, double* pageWidth = nullptr)
{
    QProcess run;
    run.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    run.waitForFinished(20000);
    const QString html = QString::fromUtf8(run.readAllStandardOutput());
    std::vector<Word> words;
    int page = 0;
    static const QRegularExpression tag(QStringLiteral(
        "<page width=\"([0-9.]+)\"|<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            if (pageWidth) *pageWidth = m.captured(1).toDouble();
            continue;
        }
        QString text = m.captured(5);
        text.replace("&quot;", "\"").replace("&#39;", "'").replace("&apos;", "'").replace("&lt;", "<")
            .replace("&gt;", ">").replace("&amp;", "&");
        words.push_back({page, m.captured(2).toDouble(), m.captured(3).toDouble(), m.captured(4).toDouble(), text});
    }
    // In reading order: pdftotext may take a column at a time.
    std::stable_sort(words.begin(), words.end(), [](const Word& a, const Word& b) {
        return std::tie(a.page, a.y, a.x) < std::tie(b.page, b.y, b.x);
    });
    return words;
}

bool HavePdfToText() { return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(); }

const Word* FindWord(const std::vector<Word>& words, const QString& text)
{
    for (const Word& w : words)
        if (w.text == text) return &w;
    return nullptr;
}

int Mm(int mm, int dpi) { return static_cast<int>(mm * dpi / 25.4); }

// The column where the pad pane's share of the window puts the answers, in device pixels: past
// the 25 mm margin and the 10 mm gutter, at the pad pane's share of the room between the margins
// (25 mm and 10 mm from the sheet's edges, whatever the device's own margins).
int PaneShareColumn(const Window& w)
{
    TPrinter* p = Printer();
    const int dpi = p->GetDeviceCaps(LOGPIXELSX);
    const int room = p->GetDeviceCaps(PHYSICALWIDTH) - Mm(25, dpi) - Mm(10, dpi);
    const int pad = w->RichEdit_Main->width();
    return Mm(25, dpi) + Mm(10, dpi) + pad * room / (pad + w->RichEdit_Result->width());
}

}  // namespace

TEST(Print, HeaderHeadingsRowsAndBoldAnswers)
{
    DialogRecorder boxes;
    Window w;
    w->Edit_Date->SetText("7-Dec-2026");
    w->Edit_Description->SetText("Deck");
    w.SetPad("1+2\n\t4*2\n\n3");
    w->Btn_CalculateAndTotal->Click();
    const QString pad = w->RichEdit_Main->Text();
    QTemporaryDir dir;
    const QString path = dir.filePath("pad.pdf");
    const Printed printed = PrintPad(w, path);

    ASSERT_EQ(printed.dialogs.size(), 1u) << "only the print dialog";
    EXPECT_EQ(printed.dialogs[0].kind, DialogCall::Kind::Print);
    const int dpi = Printer()->GetDeviceCaps(LOGPIXELSX);
    const int left = Mm(25, dpi), top = Mm(20, dpi), gutter = Mm(10, dpi);
    const int lh = 10 * dpi / 72 + 1;  // 10 points, rounded
    // Answers this short stand where the pad pane's share of the window puts them.
    const int answerAt = PaneShareColumn(w);
    const QString rule(79, '_');
    const struct {
        int x;
        int y;
        const char* text;
        TFontStyles style;
    } expected[] = {
        {left, top, "7-Dec-2026", 0},        {left, top + lh, "Deck", fsBold},
        {left, top + 2 * lh, nullptr, 0},    {left + gutter, top + 4 * lh, "Calculation", fsBold},
        {answerAt, top + 4 * lh, "Answer", fsBold}, {left, top + 5 * lh, nullptr, 0},
        {left, top + 7 * lh, "1", 0},        {left + gutter, top + 7 * lh, "1+2", 0},
        {answerAt, top + 7 * lh, "3", fsBold}, {left, top + 8 * lh, "2", 0},
        {left + gutter, top + 8 * lh, "    4*2", 0}, {answerAt, top + 8 * lh, "8", fsBold},
        {left, top + 9 * lh, "3", 0},        {left + gutter, top + 9 * lh, "", 0},
        {answerAt, top + 9 * lh, "", fsBold}, {left, top + 10 * lh, "4", 0},
        {left + gutter, top + 10 * lh, "3", 0}, {answerAt, top + 10 * lh, "3", fsBold},
        {left, top + 11 * lh, "5", 0},       {left + gutter, top + 11 * lh, "TOTAL", 0},
        {answerAt, top + 11 * lh, "14", fsBold},
    };
    ASSERT_EQ(printed.calls.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const TTextOutCall& call = printed.calls[i];
        EXPECT_EQ(call.page, 1) << i;
        EXPECT_EQ(call.x, expected[i].x) << i;
        EXPECT_EQ(call.y, expected[i].y) << i;
        EXPECT_EQ(call.text, expected[i].text ? QString::fromLatin1(expected[i].text) : rule) << i;
        EXPECT_EQ(call.style, expected[i].style) << i;
    }
    EXPECT_EQ(w->RichEdit_Main->Text(), pad) << "printing never changes the pad";
    EXPECT_EQ(w.Answers().value(4), "14");

}

TEST(Print, LongPadsGoOnOnNewPagesWithRowsOnly)
{
    DialogRecorder boxes;
    Window w;
    QStringList pad;
    const int lines = 10000;  // five-figure line numbers
    for (int i = 1; i <= lines; ++i) pad << QString::number(i);
    w.SetPad(pad.join('\n'));
    w->Btn_CalculateOnly->Click();
    QTemporaryDir dir;
    const Printed printed = PrintPad(w, dir.filePath("long.pdf"));
    const int dpi = Printer()->GetDeviceCaps(LOGPIXELSY);
    const int top = Mm(20, dpi), bottom = Mm(30, dpi), height = Printer()->GetDeviceCaps(VERTRES);
    int pages = 0;
    int rows = 0;
    for (const TTextOutCall& call : printed.calls) {
        pages = std::max(pages, call.page);
        if (call.page > 1) {
            EXPECT_GE(call.y, top);
            EXPECT_NE(call.text, "Calculation") << "the headings are on the first page only";
        }
        EXPECT_LT(call.y, height - bottom) << call.page << " " << call.text.toStdString();
        if (call.x == Mm(25, dpi) && call.y >= top && call.text == QString::number(rows + 1)) ++rows;
    }
    EXPECT_EQ(rows, lines);
    EXPECT_GE(pages, 100);
    // The first row of each later page stands at the top margin.
    for (int page = 2; page <= pages; ++page) {
        int first = INT_MAX;
        for (const TTextOutCall& call : printed.calls)
            if (call.page == page) first = std::min(first, call.y);
        EXPECT_EQ(first, top) << page;
    }
    ASSERT_TRUE(HavePdfToText()) << "pdftotext is missing (scripts/setup --test installs it)";
    const auto words = PdfWords(dir.filePath("long.pdf"));
    ASSERT_FALSE(words.empty());
    ASSERT_GE(words.size(), 3u);
    const Word& number = words[words.size() - 3];
    const Word& line = words[words.size() - 2];
    EXPECT_EQ(words.back().page, pages);
    EXPECT_EQ((number.text + line.text + words.back().text).toStdString(), "100001000010000");
    EXPECT_LT(number.xMax, line.x) << "the line number clear of its line";
}

// The header starts at the margins measured from the sheet's edge, the headings and rows at those
// measured from the printable area's edge. The answers keep the column of the pad pane's share
// unless their widest would cross the right margin there: then the column moves left just enough
// for it to end at the margin. The line numbers keep the 10 mm gutter unless the widest would come
// within half a blank of its line: then the gutter grows just enough to keep that half blank.
TEST(Print, ColumnsKeepThePaneShareUnlessAnAnswerOrANumberNeedsRoom)
{
    ASSERT_TRUE(HavePdfToText()) << "pdftotext is missing (scripts/setup --test installs it)";
    QStringList thousand, tenThousand;
    for (int i = 1; i <= 10000; ++i) (i <= 1000 ? thousand : tenThousand) << QString::number(i % 10);
    tenThousand = thousand + tenThousand;
    // Where the pad pane is dragged almost shut, the share would put the answers over the pad
    // lines: they start a blank past the heading "Calculation" instead.
    enum Answers { AtTheShare, EndAtTheMargin, ABlankPastCalculation };
    const int shut = INT_MIN;  // the border dragged as far left as it goes
    enum Gutter { TenMm, HalfABlankAfterTheNumbers };
    const struct {
        const char* name;
        int windowWidth;  // 0: as it first shows
        int splitterDrag; // pixels the border between pad and answers is dragged
        double marginMm;  // the device's own margin
        int precision;
        QString pad;
        Answers answers;
        Gutter gutter;
    } rows[] = {
        {"short answers, device margins", 0, 0, 5, 0, "1+2\n3", AtTheShare, TenMm},
        {"short answers, device margins wider than the page's", 0, 0, 12, 0, "1+2\n3", AtTheShare, TenMm},
        {"answers pane dragged wide", 0, -500, 0, 0, "1+2\n3", AtTheShare, TenMm},
        {"answers pane dragged wide, device margins", 0, -500, 12, 3, "1234567.89 * 15.06", AtTheShare, TenMm},
        {"pad pane dragged almost shut", 0, shut, 0, 0, "1+2\n3", ABlankPastCalculation, TenMm},
        {"long answers, pad pane wide", 2500, 0, 0, 3, "1234567.89 * 15.06\n98765432.1 * 3\n7", EndAtTheMargin,
         TenMm},
        {"long answers, device margins", 2500, 0, 12, 3, "1234567.89 * 15.06\n7", EndAtTheMargin, TenMm},
        {"four-figure line numbers", 0, 0, 0, 0, thousand.join('\n'), AtTheShare, TenMm},
        {"five-figure line numbers", 0, 0, 0, 0, tenThousand.join('\n'), AtTheShare, HalfABlankAfterTheNumbers},
    };
    for (const auto& r : rows) {
        DialogRecorder boxes;
        Window w;
        if (r.windowWidth > 0) {
            w->resize(r.windowWidth, w->height());
            QApplication::processEvents();
        }
        if (r.splitterDrag != 0) {
            const int before = w->RichEdit_Result->width();
            const int drag = r.splitterDrag != shut ? r.splitterDrag
                                                    : w->RichEdit_Main->x() + w->ScrollBar1->width() - w->Panel_Splitter->x();
            w->Panel_SplitterMouseUp(nullptr, mbLeft, {}, drag, 0);
            ASSERT_EQ(w->RichEdit_Result->width(), before - drag) << r.name;
        }
        w->Edit_Date->SetText("Today");
        w->Edit_Description->SetText("Shed");
        w->Cmb_UOM_Input->SetItemIndex(0);
        w->Cmb_UOM_Answer->SetItemIndex(0);
        w->Cmb_Precision->SetItemIndex(r.precision);
        w.SetPad(r.pad);
        w->Btn_CalculateAndTotal->Click();
        QTemporaryDir dir;
        const QString path = dir.filePath("columns.pdf");
        const Printed printed = PrintPad(w, path, r.marginMm);
        TPrinter* p = Printer();
        const int dpi = p->GetDeviceCaps(LOGPIXELSX);
        const int offset = p->GetDeviceCaps(PHYSICALOFFSETX);
        const int left = Mm(25, dpi), top = Mm(20, dpi);
        // 10 mm from the sheet's edge, or the edge of what the device prints where that is wider.
        const int horzRes = p->GetDeviceCaps(HORZRES);
        const int rightMargin =
            std::min(horzRes, p->GetDeviceCaps(PHYSICALWIDTH) - offset - Mm(10, dpi));
        const int share = PaneShareColumn(w);
        const double toPt = 72.0 / dpi;

        // Where the canvas was asked to write: header, headings, and the rows' answers.
        ASSERT_GT(printed.calls.size(), 6u) << r.name;
        const TTextOutCall &date = printed.calls[0], &calculation = printed.calls[3], &answer = printed.calls[4];
        ASSERT_EQ(calculation.text, "Calculation") << r.name;
        ASSERT_EQ(answer.text, "Answer") << r.name;
        EXPECT_EQ(date.x, left - offset) << r.name;
        EXPECT_EQ(date.y, top - p->GetDeviceCaps(PHYSICALOFFSETY)) << r.name;
        EXPECT_EQ(printed.calls[5].x, left) << r.name << ": the second rule";
        EXPECT_EQ(printed.calls[6].x, left) << r.name << ": the first line number";
        EXPECT_EQ(printed.calls[6].text, "1") << r.name;
        for (const TTextOutCall& call : printed.calls) {
            if (call.style == fsBold && call.y > answer.y) {
                EXPECT_EQ(call.x, answer.x) << r.name << ": " << call.text.toStdString();
            }
        }
        if (r.answers == AtTheShare) EXPECT_EQ(answer.x, share) << r.name;
        else if (r.answers == EndAtTheMargin) EXPECT_LT(answer.x, share) << r.name;
        else EXPECT_GT(answer.x, share) << r.name;
        if (r.gutter == TenMm) EXPECT_EQ(calculation.x, left + Mm(10, dpi)) << r.name;
        else EXPECT_GT(calculation.x, left + Mm(10, dpi)) << r.name;

        // On paper: the header from the sheet's edge, the rows from the printable area's.
        double pageWidth = 0;
        const auto words = PdfWords(path, &pageWidth);
        const Word* today = FindWord(words, "Today");
        const Word* heading = FindWord(words, "Answer");
        ASSERT_TRUE(today && heading) << r.name;
        EXPECT_NEAR(today->x, 25 * 72 / 25.4, 1.0) << r.name;
        EXPECT_NEAR(heading->x, (offset + answer.x) * toPt, 0.5) << r.name;
        const double blank = 0.6 * 10;  // a blank of the even-width font at 10 points
        if (r.answers == ABlankPastCalculation) {
            const Word* pads = FindWord(words, "Calculation");
            ASSERT_NE(pads, nullptr) << r.name;
            EXPECT_NEAR(pads->xMax + blank, heading->x, 0.5) << r.name;
        }
        double widestEnd = 0;  // the right end of the widest answer
        double gap = 0;        // between the last line number and its line
        for (size_t i = 0; i < words.size(); ++i) {
            const Word& word = words[i];
            if ((word.page == 1 && word.y <= heading->y) || word.text.startsWith("___")) continue;
            if (word.x >= heading->x - 0.5) {
                widestEnd = std::max(widestEnd, word.xMax);
            } else if (word.x < (offset + calculation.x) * toPt - 0.5) {
                ASSERT_LT(i + 1, words.size()) << r.name;
                ASSERT_EQ(words[i + 1].y, word.y) << r.name << ": a line number alone on its row";
                gap = words[i + 1].x - word.xMax;
            }
        }
        const double marginPt = (offset + rightMargin) * toPt;
        EXPECT_LE(widestEnd, marginPt + 0.5) << r.name;
        if (r.answers == EndAtTheMargin) {
            EXPECT_NEAR(widestEnd, marginPt, 0.5) << r.name << ": moved left just enough";
        }
        if (r.gutter == HalfABlankAfterTheNumbers) EXPECT_NEAR(gap, blank / 2, 0.5) << r.name;
        else EXPECT_GE(gap, blank / 2) << r.name;
    }
}

// Whatever the window's width, every answer is printed whole and ends inside the right margin, and
// a pad line too long for its column goes on in the next printed row instead of running under the
// answers. Nothing is cut or printed over.
TEST(Print, AnswersAreWholeInsideTheMarginAtAnyWindowWidth)
{
    ASSERT_TRUE(HavePdfToText()) << "pdftotext is missing (scripts/setup --test installs it)";
    const QString blanks = QString("1 + ").repeated(40) + "1";
    const QString solid = QString("2*").repeated(90) + "2";
    const struct {
        const char* name;
        int input, answer, precision;
        QString pad;
    } pads[] = {
        {"long answers", 0, 0, 3, "1234567.89 * 15.06\n98765432.1 * 3\n7"},
        {"square feet", 4, 11, 0, "12' * 16'8-1/8\"\n6'6\" * 3'1/2\"\n1.5 * 2"},
        {"long pad lines", 0, 0, 0, blanks + "\n\n" + solid + "\n\t3\t*\t4"},
        {"an answer wider than the page", 0, 0, 3, "10^150\n2"},
    };
    const double mmToPt = 72 / 25.4;
    for (const int width : {0, 1400, 2500}) {
        for (const auto& p : pads) {
            const std::string row = std::string(p.name) + " at " + std::to_string(width);
            DialogRecorder boxes;
            Window w;
            if (width > 0) {
                w->resize(width, w->height());
                QApplication::processEvents();
            }
            w->Cmb_UOM_Input->SetItemIndex(p.input);
            w->Cmb_UOM_Answer->SetItemIndex(p.answer);
            w->Cmb_Precision->SetItemIndex(p.precision);
            w.SetPad(p.pad);
            w->Edit_Description->SetText(QString("Deck boards, joists and bearers, ").repeated(4) + p.name);
            w->Btn_CalculateAndTotal->Click();
            QTemporaryDir dir;
            const QString path = dir.filePath("pad.pdf");
            PrintPad(w, path);
            double pageWidth = 0;
            std::vector<Word> words = PdfWords(path, &pageWidth);
            const Word* heading = FindWord(words, "Answer");
            const Word* calculation = FindWord(words, "Calculation");
            ASSERT_TRUE(heading && calculation) << row;
            const Word head = *heading, calc = *calculation;
            const double rightMargin = pageWidth - 10 * mmToPt;
            QString header, answers, lines;
            QStringList headerWords;
            std::map<int, std::pair<int, double>> rowOfLine;            // line number -> page, y
            std::map<std::pair<int, double>, QString> answerOnRow;  // its first answer word
            for (size_t i = 0; i < words.size(); ++i) {
                const Word& word = words[i];
                EXPECT_LE(word.xMax, rightMargin + 0.5) << row << ": " << word.text.toStdString();
                if (i + 1 < words.size() && words[i + 1].page == word.page && words[i + 1].y == word.y) {
                    EXPECT_LE(word.xMax, words[i + 1].x + 0.5) << row << ": printed over " << word.text.toStdString();
                }
                if ((word.page == 1 && word.y <= head.y) || word.text.startsWith("___")) {
                    header += word.text;
                    headerWords << word.text;
                } else if (word.x >= head.x - 0.5) {
                    answers += word.text;
                    answerOnRow.try_emplace({word.page, word.y}, word.text);
                } else {
                    EXPECT_LT(word.xMax, head.x) << row << ": " << word.text.toStdString() << " reaches the answers";
                    if (word.x >= calc.x - 0.5) lines += word.text;
                    else rowOfLine[word.text.toInt()] = {word.page, word.y};
                }
            }
            EXPECT_TRUE(header.contains(w->Edit_Description->Text().remove(' '))) << row;
            // The description too long for a row goes on in the next one, broken between words.
            const QStringList whole = (w->Edit_Date->Text() + " " + w->Edit_Description->Text() + " Calculation Answer")
                                          .split(' ', Qt::SkipEmptyParts);
            for (const QString& word : headerWords) {
                EXPECT_TRUE(word.startsWith("___") || whole.contains(word)) << row << ": " << word.toStdString();
            }
            const QStringList shown = w.Answers();
            EXPECT_EQ(answers.toStdString(), shown.join("").remove(' ').toStdString()) << row;
            EXPECT_EQ(lines.toStdString(), w.Pad().join("").remove('\t').remove(' ').toStdString()) << row;
            // Each answer starts on the first printed row of its line.
            for (int i = 0; i < shown.size(); ++i) {
                const QString first = answerOnRow[rowOfLine[i + 1]];
                EXPECT_EQ(!first.isEmpty(), !shown[i].isEmpty()) << row << ": line " << i + 1;
                EXPECT_TRUE(QString(shown[i]).remove(' ').startsWith(first)) << row << ": line " << i + 1;
            }
        }
    }
}

TEST(Print, FailuresAreReportedAndCancelPrintsNothing)
{
    Window w;
    w.SetPad("1+1");
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("locked");
    QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
    const bool root = ::geteuid() == 0;
    // A shared folder where another user planted "jobs", a link to the user's own folder, and the
    // user made "mine", a link to the same folder: printing through the first is refused with the
    // link named, through the second it is printed. Giving a link away needs the right to do so.
    QTemporaryDir shared, home;
    const QString planted = shared.filePath("jobs");
    QFile::link(home.path(), planted);
    QFile::link(home.path(), shared.filePath("mine"));
    const bool given = ::lchown(QFile::encodeName(planted).constData(), 4242, static_cast<gid_t>(-1)) == 0;
    ::chmod(QFile::encodeName(shared.path()).constData(), 01777);
    if (!given) std::printf("Left out, since this user may not give a link to another user: another user's link\n");
    const struct {
        QString path;
        bool fails;
        QString says = QString();  // in the box, when it fails
        bool run = true;
    } rows[] = {
        {dir.filePath("missing/pad.pdf"), true},
        {dir.filePath("locked/pad.pdf"), !root},
        {dir.path(), true},  // a folder, not a file
        {dir.filePath("ok.pdf"), false},
        {planted + "/pad.pdf", true, planted + " is a link that another user made", given},
        {shared.filePath("mine/mine.pdf"), false},
    };
    for (const auto& r : rows) {
        if (!r.run) continue;
        const Printed printed = PrintPad(w, r.path);
        const bool boxShown = printed.dialogs.size() == 2;
        EXPECT_EQ(boxShown, r.fails) << r.path.toStdString();
        if (boxShown) {
            EXPECT_EQ(printed.dialogs[1].caption, "Print");
            EXPECT_TRUE(printed.dialogs[1].text.startsWith("The pad was not printed.")) << r.path.toStdString();
            EXPECT_TRUE(printed.dialogs[1].text.contains(r.says)) << printed.dialogs[1].text.toStdString();
        }
        if (r.fails) EXPECT_FALSE(QFileInfo(r.path).isFile()) << r.path.toStdString();
        else EXPECT_GT(QFileInfo(r.path).size(), 100) << r.path.toStdString();
    }
    // No temporary file is left beside a target; nothing was printed into the user's folder through
    // the planted link.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).join(","), "ok.pdf");
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files | QDir::Hidden).join(","), "mine.pdf");
    ::chmod(QFile::encodeName(shared.path()).constData(), 0700);

    DialogRecorder cancel;
    cancel.Answer(0);
    w->Print1->Click();
    ASSERT_EQ(cancel.calls.size(), 1u);
    EXPECT_EQ(cancel.calls[0].kind, DialogCall::Kind::Print);
    QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(Print, AnOldFileIsReplacedByTheWholePrint)
{
    DialogRecorder boxes;
    Window w;
    w.SetPad("1+1");
    QTemporaryDir dir;
    const QString path = dir.filePath("pad.pdf");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    PrintPad(w, path);
    QFile printed(path);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    const QByteArray bytes = printed.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
    // With the old file's mode, not that of a private temporary file.
    EXPECT_EQ(QFileInfo(path).permissions() & (QFile::ReadGroup | QFile::ReadOther),
              QFile::ReadGroup | QFile::ReadOther);

    // The document is made in memory: a temporary folder that takes no file does not stop it.
    const QByteArray tmp = qgetenv("TMPDIR");
    QFile notAFolder(dir.filePath("file"));
    ASSERT_TRUE(notAFolder.open(QIODevice::WriteOnly));
    notAFolder.close();
    qputenv("TMPDIR", notAFolder.fileName().toUtf8());
    w.SetPad("3+3");
    const Printed aside = PrintPad(w, path);
    EXPECT_EQ(aside.dialogs.size(), 1u) << "only the print dialog";
    qputenv("TMPDIR", tmp);
    QFile made(path);
    ASSERT_TRUE(made.open(QIODevice::ReadOnly));
    const QByteArray last = made.readAll();
    ASSERT_TRUE(last.startsWith("%PDF-"));
    EXPECT_NE(last, bytes);
    made.close();

    // A write that fails leaves the last print as it was, and the box says why.
    const struct {
        SafeWriteStep step;
        int error;
        bool fileSizeLimit;  // every file stops growing past a few bytes, as on a full disk
    } faults[] = {
        {SafeWriteStep::Write, ENOSPC, false}, {SafeWriteStep::Sync, EIO, false},
        {SafeWriteStep::Rename, EACCES, false}, {SafeWriteStep::Create, EFBIG, true},
    };
    for (const auto& f : faults) {
        std::optional<ScopedSafeWriteFault> fault;
        if (!f.fileSizeLimit) fault.emplace(SafeWriteFault{f.step, 1, f.error, true});
        QStringList pad;
        for (int i = 0; i < 200; ++i) pad << "4+4";
        w.SetPad(pad.join('\n'));
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const auto signal = std::signal(SIGXFSZ, SIG_IGN);
        if (f.fileSizeLimit) {
            rlimit small = limit;
            small.rlim_cur = 1000;
            ::setrlimit(RLIMIT_FSIZE, &small);
        }
        const Printed failed = PrintPad(w, path);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, signal);
        ASSERT_EQ(failed.dialogs.size(), 2u) << f.error;
        EXPECT_TRUE(failed.dialogs[1].text.startsWith("The pad was not printed.")) << f.error;
        EXPECT_TRUE(failed.dialogs[1].text.contains(QString::fromLocal8Bit(std::strerror(f.error))))
            << failed.dialogs[1].text.toStdString();
        QFile kept(path);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), last) << f.error;
    }
}

TEST(Print, AMillionCharacterLinePrintsWholeAndQuickly)
{
    DialogRecorder boxes;
    Window w;
    const QString line = QString(1000000, '7');
    w.SetPad(line);
    QTemporaryDir dir;
    QElapsedTimer timer;
    timer.start();
    const Printed printed = PrintPad(w, dir.filePath("wide.pdf"));
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(printed.dialogs.size(), 1u);
    EXPECT_GT(QFileInfo(dir.filePath("wide.pdf")).size(), 100);
    EXPECT_EQ(w->RichEdit_Main->Text(), line);
    // Row after row under the heading, on page after page, and not a character lost.
    ASSERT_GT(printed.calls.size(), 3u);
    const int column = printed.calls[3].x;  // "Calculation"
    QString printedLine;
    for (const TTextOutCall& call : printed.calls)
        if (call.x == column && call.text != "Calculation") printedLine += call.text;
    EXPECT_TRUE(printedLine == line) << printedLine.size();
    EXPECT_GT(printed.calls.back().page, 100);
}
