// Pads beyond what the window holds are refused with one box before anything is loaded; pads
// within it open whole.
#include "tests/app/mainform_fixture.h"
#include "tests/common/DialogRecorder.h"

#include "app/PadFile.h"
#include "app/PadLimits.h"
#include "tests/app/padfile_support.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QTextDocument>
#include <fstream>
#include <gtest/gtest.h>

namespace {

void Open(const Window& w, const AnsiString& path)
{
    Config->MRU.Add(path);
    Config->MRU.OpenIndex = 1;
    w->Open1Click(nullptr);
}

}  // namespace

TEST(WindowLongPads, TooLargeIsRefusedOnceAndWithinLimitsOpens)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    const struct {
        const char* name;
        std::function<void(std::ofstream&)> write;
        const char* refusal;  // part of the box's text, null when the pad opens
    } cases[] = {
        {"one long line", [](std::ofstream& out) { out << "_Data\n" << std::string(10000, '1') << "+1\n"; },
         "line 1 has more than 1023 characters"},
        // A name outside the code page is the file's own name, in the box too.
        {"\xd0\x94\xd0\xbe\xd0\xbc long", [](std::ofstream& out) { out << std::string(2000, '1') << "\n"; },
         "\xd0\x94\xd0\xbe\xd0\xbc long.pad as a pad: line 1 has more than 1023"},
        {"a long line of sums", [](std::ofstream& out) {
             out << "_Data\n5\n";
             for (int i = 0; i < 5000; ++i) out << "1 + ";
             out << "1\n";
         }, "line 2 has more than 1023"},
        {"too many lines", [](std::ofstream& out) {
             for (int i = 0; i <= MaxPadFileLines; ++i) out << "1\n";
         }, "more than 200000 lines"},
        {"too many bytes", [](std::ofstream& out) {
             const std::string line(1000, ' ');
             for (std::int64_t written = 0; written <= MaxPadFileBytes; written += 1001) out << line << "\n";
         }, "larger than 16 MB"},
        {"the longest line that fits", [](std::ofstream& out) { out << std::string(MaxPadFileLine - 1, ' ') << "1\r\n"; },
         nullptr},
        // A CR alone ends a line in the pane, so it ends one for the limits too.
        {"too many lines ended by CR alone", [](std::ofstream& out) {
             for (int i = 0; i <= MaxPadFileLines; ++i) out << "1\r";
         }, "more than 200000 lines"},
        {"short lines ended by CR alone", [](std::ofstream& out) {
             out << "_Data\r";
             for (int i = 0; i < 600; ++i) out << "1\r";
         }, nullptr},
    };
    for (const auto& c : cases) {
        DialogRecorder dialogs;
        Window w;
        const std::string path = folder + c.name + ".pad";
        {
            std::ofstream out(path, std::ios::binary);
            c.write(out);
        }
        Open(w, path);
        if (c.refusal) {
            ASSERT_EQ(dialogs.calls.size(), 1u) << c.name;
            EXPECT_EQ(dialogs.calls[0].caption, "File Open Error") << c.name;
            EXPECT_TRUE(dialogs.calls[0].text.contains(QString::fromUtf8(c.refusal))) << c.name << ": " << dialogs.calls[0].text.toStdString();
            EXPECT_TRUE(w.Pad().join("").isEmpty()) << c.name;
        } else {
            EXPECT_TRUE(dialogs.calls.empty()) << c.name;
            EXPECT_EQ(w.Answers().value(0), "1") << c.name;
        }
        EXPECT_EQ(w->RichEdit_LineNo->LineCount(), w->RichEdit_Main->LineCount()) << c.name;
    }
}

// However its lines end (CR LF, LF, a CR alone, mixed), a file opens as the lines the reader
// counted, with its keys in their controls, not folded into the date.
TEST(WindowLongPads, LinesEndedAnyWayOpenAsTheReaderCountedThem)
{
    QTemporaryDir dir;
    const struct {
        const char* name;
        std::string bytes;
        QStringList lines;
    } cases[] = {
        {"CR only", PadTestFiles::Read(PadTestFiles::Fixture("totalled_cr.pad")),
         {"12' 6-1/2\" + 3'", "", "   ", "rafters = 14", "2 * 4'", "TOTAL"}},
        {"mixed", "_Date=7 Mar 2016 14:05:09\r\n_Description=Garage roof\r_Data\n1\r2\r\n\r3\n\r\n4",
         {"1", "2", "", "3", "", "4"}},
    };
    for (const auto& c : cases) {
        DialogRecorder dialogs;
        Window w;
        const std::string path = dir.path().toStdString() + "/" + c.name + ".pad";
        PadTestFiles::Write(path, c.bytes);
        Open(w, path);
        EXPECT_TRUE(dialogs.calls.empty()) << c.name;
        EXPECT_EQ(w->Edit_Date->Text(), QString("7 Mar 2016 14:05:09")) << c.name;
        EXPECT_EQ(w->Edit_Description->Text(), QString("Garage roof")) << c.name;
        const auto read = ParsePadText(c.bytes).Lines;
        EXPECT_EQ(w.Pad().mid(0, static_cast<int>(read.size())), c.lines) << c.name;
        EXPECT_EQ(static_cast<int>(read.size()), c.lines.size()) << c.name;
        EXPECT_TRUE(w.Pad().mid(c.lines.size()).join("").isEmpty()) << c.name;
        EXPECT_EQ(w->RichEdit_LineNo->LineCount(), w->RichEdit_Main->LineCount()) << c.name;
    }
}

// A long pad opens with its first screen coloured and its answers beside it; the lines further
// down get their colours as they come into view or are edited.
TEST(WindowLongPads, ALongPadIsColouredWhereverItIsShownOrEdited)
{
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/long.pad";
    {
        std::ofstream out(path, std::ios::binary);
        out << "_Data\n";
        for (int i = 0; i < 3000; ++i) out << "sqrt(144) + 3\n";
        out << "TOTAL\n";
    }
    DialogRecorder dialogs;
    Window w;
    TRichEdit* pad = w->RichEdit_Main;
    const auto colour = [&](int line, int column) {
        return FromQColor(DisplayedFormat(*pad, pad->LineIndex(line) + column).foreground().color());
    };
    const auto paint = [&] { pad->viewport()->grab(); };
    Open(w, path);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(w.Answers().value(2999), "15");
    EXPECT_EQ(w.BoldAnswers(), QStringList{"45000"});
    EXPECT_EQ(w.FirstLines(), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(w->RichEdit_Result->SelStart(), 0);
    EXPECT_EQ(w->RichEdit_Result->document()->defaultFont(), w->RichEdit_Result->font());
    EXPECT_EQ(colour(0, 0), clNavy);
    EXPECT_EQ(colour(0, 5), clBlue);

    const struct {
        const char* how;
        std::function<void()> go;
    } moves[] = {
        {"Ctrl+End", [&] { w.Key(Qt::Key_End, Qt::ControlModifier); }},
        {"the wheel", [&] { for (int i = 0; i < 4; ++i) w.Wheel(120); }},
        {"a page up", [&] { w.Key(Qt::Key_PageUp); }},
    };
    for (const auto& move : moves) {
        move.go();
        paint();
        const int first = GetFirstVisibleLine(*pad);
        EXPECT_GT(first, 2000) << move.how;
        for (int line : {first, first + 3}) {
            EXPECT_EQ(colour(line, 0), clNavy) << move.how << " line " << line;
            EXPECT_EQ(colour(line, 5), clBlue) << move.how << " line " << line;
        }
    }

    // An edit far from the view colours its line at once.
    pad->SetSelStart(pad->LineIndex(1500));
    w.Type("7 + ");
    EXPECT_EQ(w.Pad().value(1500), "7 + sqrt(144) + 3");
    EXPECT_EQ(colour(1500, 0), clBlue);
    EXPECT_EQ(colour(1500, 4), clNavy);

    // Recalculating gives the answer pane a new text each time; the old ones go.
    for (int i = 0; i < 3; ++i) w->Btn_CalculateOnly->Click();
    EXPECT_EQ(w.Answers().value(1500), "22");
    EXPECT_EQ(w->RichEdit_Result->findChildren<QTextDocument*>().size(), 1);
}

// The window lays a long pad out a part at a time, in the background; an edit made before it has
// finished must leave the whole pad reachable, its lines and answers side by side.
TEST(WindowLongPads, AnEditRightAfterOpeningLeavesTheWholePadReachable)
{
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/long.pad";
    {
        std::ofstream out(path, std::ios::binary);
        out << "_Data\n";
        for (int i = 0; i < 3000; ++i) out << i << "\n";
    }
    const struct {
        const char* edit;
        std::function<void(const Window&)> make;
    } edits[] = {
        {"a key on the second line", [](const Window& w) {
             w->RichEdit_Main->SetSelStart(w->RichEdit_Main->LineIndex(1));
             w.Type("5");
         }},
        {"twenty lines deleted", [](const Window& w) {
             w->RichEdit_Main->SetSelStart(w->RichEdit_Main->LineIndex(10));
             for (int i = 0; i < 20; ++i) w.Key(Qt::Key_Down, Qt::ShiftModifier);
             w.Key(Qt::Key_Delete);
         }},
        {"a calculation", [](const Window& w) { w->Btn_CalculateOnly->Click(); }},
        {"lines pasted from the Edit menu", [](const Window& w) {
             QGuiApplication::clipboard()->setText("7\n8\n");
             w->RichEdit_Main->SetSelStart(w->RichEdit_Main->LineIndex(1));
             w->Paste1->Click();
         }},
    };
    for (const auto& edit : edits) {
        DialogRecorder dialogs;
        Window w;
        Open(w, path);
        edit.make(w);
        w.Key(Qt::Key_End, Qt::ControlModifier);
        const int lines = w->RichEdit_Main->LineCount();
        EXPECT_GT(GetFirstVisibleLine(*w->RichEdit_Main), lines - 40) << edit.edit;
        EXPECT_EQ(w->RichEdit_LineNo->LineCount(), lines) << edit.edit;
        EXPECT_EQ(w.FirstLines()[0], w.FirstLines()[1]) << edit.edit;
        for (TRichEdit* pane : {w->RichEdit_LineNo, w->RichEdit_Main, w->RichEdit_Result}) {
            const QTextDocument* doc = pane->document();
            const QAbstractTextDocumentLayout* layout = doc->documentLayout();
            const QRectF first = layout->blockBoundingRect(doc->firstBlock());
            const double bottom = layout->blockBoundingRect(doc->lastBlock()).bottom();
            EXPECT_NEAR(bottom, first.top() + doc->blockCount() * first.height(), 1) << edit.edit;
            EXPECT_NEAR(bottom + doc->documentMargin(), layout->documentSize().height(), 1) << edit.edit;
        }
    }
}

// Every line number shows whole, however many digits it has; a short pad has the designed pane.
TEST(WindowLongPads, LineNumbersShowWhole)
{
    Window w;
    TRichEdit* numbers = w->RichEdit_LineNo;
    const int designed = numbers->width();
    const QFontMetrics metrics(numbers->document()->defaultFont());
    for (int lines : {12000, 3}) {
        w.SetPad(QString("1\n").repeated(lines - 1) + "1");
        const QString last = numbers->Lines[lines - 1];
        ASSERT_EQ(last, QString::number(lines));
        EXPECT_LE(metrics.horizontalAdvance(last) + 2 * numbers->document()->documentMargin(), numbers->viewport()->width()) << lines;
        EXPECT_EQ(w->RichEdit_Main->x(), numbers->x() + numbers->width()) << lines;
        EXPECT_GE(w->minimumWidth(), numbers->width() + w->RichEdit_Result->width()) << lines;
    }
    EXPECT_EQ(numbers->width(), designed);
}
