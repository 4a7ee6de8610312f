// What a user met in a real window: panes that fell out of step after a scroll-bar click or a
// Ctrl+Home, answers lost to the release of a key pressed in a box, a TOTAL written above its
// answer. Each is driven through the real widgets with synthetic events.
#include "tests/app/mainform_fixture.h"
#include "tests/common/DialogRecorder.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <gtest/gtest.h>

namespace {

QRect ScrollBarPart(TScrollBar* bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Vertical;
    option.minimum = bar->Min();
    option.maximum = bar->Max();
    option.sliderPosition = option.sliderValue = bar->Position();
    option.pageStep = bar->LargeChange();
    option.singleStep = 1;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

// The three panes start on the same line, pixel for pixel, and the thumb stands at that line.
void ExpectInStep(const Window& w, const std::string& step)
{
    const auto lines = w.FirstLines();
    EXPECT_EQ(lines[0], lines[1]) << step;
    // Answers cleared by an edit leave one empty line, which does not scroll.
    if (w->RichEdit_Result->LineCount() > 1) {
        EXPECT_EQ(lines[2], lines[1]) << step;
    }
    EXPECT_EQ(w->RichEdit_LineNo->verticalScrollBar()->value(), w->RichEdit_Main->verticalScrollBar()->value())
        << step;
    EXPECT_EQ(w->ScrollBar1->Position(), std::min(lines[1], w->ScrollBar1->Max())) << step;
    EXPECT_EQ(w->RichEdit_LineNo->LineCount(), w->RichEdit_Main->LineCount()) << step;
}

}  // namespace

TEST(WindowInStep, ScrollBarClicksAfterTypingMoveAllThreePanes)
{
    DialogRecorder dialogs;
    Window w;
    QString typed;
    for (int i = 1; i <= 160; ++i) typed += QString::number(i) + '\n';
    w.Type(typed);
    w->Btn_CalculateOnly->Click();
    w.Key(Qt::Key_Up);  // working in the pad again
    ExpectInStep(w, "after typing");
    const QImage before = w->grab().toImage();

    const struct {
        const char* name;
        QStyle::SubControl part;
        int moved;  // lines, up is negative
    } clicks[] = {
        {"arrow up", QStyle::SC_ScrollBarSubLine, -1},
        {"arrow up again", QStyle::SC_ScrollBarSubLine, -1},
        {"track above the thumb", QStyle::SC_ScrollBarSubPage, -w->VisibleLineCount()},
        {"arrow down", QStyle::SC_ScrollBarAddLine, 1},
    };
    for (const auto& c : clicks) {
        const int first = w.FirstLines()[1];
        QTest::mouseClick(w->ScrollBar1, Qt::LeftButton, Qt::NoModifier,
                          ScrollBarPart(w->ScrollBar1, c.part).center());
        QApplication::processEvents();
        EXPECT_EQ(w.FirstLines()[1], first + c.moved) << c.name;
        ExpectInStep(w, c.name);
    }
    // What the user sees moved as well: the picture of the window is not the one before.
    const QImage after = w->grab().toImage();
    EXPECT_NE(before, after);
    if (const char* path = std::getenv("PLUMO_SCREENSHOT_SCROLL")) after.save(QString::fromLocal8Bit(path));
}

TEST(WindowInStep, KeysThatJumpThroughThePadBringTheOtherPanes)
{
    DialogRecorder dialogs;
    Window w;
    QStringList pad;
    for (int i = 1; i <= 150; ++i) pad << QString::number(i);
    w.SetPad(pad.join('\n'));
    w->Btn_CalculateOnly->Click();
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool top;
    } keys[] = {{Qt::Key_Home, Qt::ControlModifier, true},
                {Qt::Key_End, Qt::ControlModifier, false},
                {Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier, true}};
    for (const auto& k : keys) {
        w.Key(k.key, k.modifiers);
        const std::string name = QKeySequence(k.key | k.modifiers).toString().toStdString();
        EXPECT_EQ(w.FirstLines()[1] == 0, k.top) << name;
        ExpectInStep(w, name);
    }
}

TEST(WindowInStep, APasteReleasedAtOnceStillNumbersTheLines)
{
    Window w;
    QStringList lines;
    for (int i = 1; i <= 80; ++i) lines << QString::number(i);
    QGuiApplication::clipboard()->setText(lines.join('\n'));
    if (QGuiApplication::clipboard()->text().isEmpty()) GTEST_SKIP() << "no clipboard on this platform";
    // Ctrl goes up before V does.
    QTest::keyPress(w->RichEdit_Main, Qt::Key_Control);
    QTest::keyPress(w->RichEdit_Main, Qt::Key_V, Qt::ControlModifier);
    QTest::keyRelease(w->RichEdit_Main, Qt::Key_Control, Qt::ControlModifier);
    QTest::keyRelease(w->RichEdit_Main, Qt::Key_V);
    EXPECT_EQ(w->RichEdit_LineNo->Lines[79], "80");
    EXPECT_EQ(w->ScrollBar1->Max(), 80 - w->VisibleLineCount());
    ExpectInStep(w, "paste");
}

// The release of the Enter that closed a box (the Answer Units Warning, the Save dialog, a
// message of the program) reaches the pad; the pad never had its press.
TEST(WindowInStep, AKeyReleasedWithoutItsPressIsNoEdit)
{
    const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Space, Qt::Key_A, Qt::Key_Backspace};
    for (Qt::Key key : keys) {
        DialogRecorder dialogs;
        Window w;
        w.Type("12'\n3'\n");
        w->Cmb_UOM_Answer->SetItemIndex(0);
        w->PadUnchanged = true;  // as just saved
        w->Btn_CalculateAndTotal->Click();
        ASSERT_FALSE(dialogs.calls.empty());
        EXPECT_EQ(dialogs.calls.front().caption, "Answer Units Warning");
        const QStringList answers = w.Answers();
        ASSERT_FALSE(answers.join("").isEmpty());
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(w->RichEdit_Main, &release);
        const std::string name = QKeySequence(key).toString().toStdString();
        EXPECT_EQ(w.Answers(), answers) << name;
        EXPECT_TRUE(w->PadUnchanged) << name;
        EXPECT_EQ(w.BoldAnswers().size(), 1) << name;
        // A key pressed and released in the pad is still an edit.
        w.Key(key);
        EXPECT_FALSE(w->PadUnchanged) << name;
    }
}

TEST(WindowInStep, TheAddedTotalStandsBesideItsBoldAnswer)
{
    const struct {
        const char* pad;
        bool failing;
    } cases[] = {
        {"TOTAL", false}, {"\nTOTAL", false}, {"TOTAL\n", false}, {"5\n\nTOTAL", false},
        {"5\n6", false},  {"\n", false},      {"5\n3 +* 2", true},
    };
    for (const auto& c : cases) {
        DialogRecorder dialogs;
        Window w;
        w.SetPad(QString::fromLatin1(c.pad));
        w->Btn_CalculateAndTotal->Click();
        const QStringList pad = w.Pad();
        const int total = static_cast<int>(pad.lastIndexOf("TOTAL"));
        ASSERT_GE(total, 0) << c.pad;
        if (!c.failing) {
            ASSERT_EQ(w.BoldAnswers().size(), 1) << c.pad;
            EXPECT_EQ(w.Answers().value(total), w.BoldAnswers().front()) << c.pad;
            EXPECT_EQ(pad.count("TOTAL"), 1) << c.pad;
        }
        // Every pad line has its number, the added TOTAL too.
        EXPECT_EQ(w->RichEdit_LineNo->LineCount(), w->RichEdit_Main->LineCount()) << c.pad;
        EXPECT_EQ(w->RichEdit_LineNo->Lines[total], QString::number(total + 1)) << c.pad;
    }
}
