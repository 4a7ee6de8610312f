// The three panes stay on the same lines whatever the user does, the line numbers follow the pad,
// and the pane area is whole lines high.
#include "tests/app/mainform_fixture.h"
#include "tests/common/DialogRecorder.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QStyle>
#include <QContextMenuEvent>
#include <QStyleOptionSlider>
#include <gtest/gtest.h>

namespace {

QString NumberedPad(int lines)
{
    QStringList pad;
    for (int i = 1; i <= lines; ++i) pad << QString::number(i);
    return pad.join('\n');
}

// A calculated pad of numbered lines, scrolled to its top.
void CalculatedPad(const Window& w, int lines)
{
    w.SetPad(NumberedPad(lines));
    w->Btn_CalculateOnly->Click();
    w->ScrollBar1->Scroll(scTop, 0);
}

}  // namespace

TEST(Panes, LaidOutAsDesigned)
{
    Window w;
    EXPECT_EQ(w->ClientWidth(), 915);
    EXPECT_EQ(w->ClientHeight(), 714);
    EXPECT_EQ(w->RichEdit_LineNo->width(), 46);
    EXPECT_EQ(w->RichEdit_Result->width(), 181);
    EXPECT_EQ(w->ScrollBar1->width(), 22);
    EXPECT_EQ(w->Panel_Splitter->width(), 5);
    // Left to right: numbers, pad, splitter, answers, scroll bar.
    EXPECT_LT(w->RichEdit_LineNo->x(), w->RichEdit_Main->x());
    EXPECT_LT(w->RichEdit_Main->x(), w->Panel_Splitter->x());
    EXPECT_LT(w->Panel_Splitter->x(), w->RichEdit_Result->x());
    EXPECT_LT(w->RichEdit_Result->x(), w->ScrollBar1->x());
    ASSERT_GT(w->LineHeight, 0);
    EXPECT_GT(w->CharWidth, 0);
    EXPECT_EQ((w->Panel_Grid->height() - 8) % w->LineHeight, 0);
    EXPECT_EQ(w->VisibleLineCount() * w->LineHeight + 8, w->Panel_Grid->height());
}

TEST(Panes, MeasuredLineHeightIsThePanesLineHeight)
{
    Window w;
    w.SetPad(NumberedPad(3));
    const QRect first = w->RichEdit_Main->cursorRect(QTextCursor(w->RichEdit_Main->document()->findBlockByNumber(0)));
    const QRect third = w->RichEdit_Main->cursorRect(QTextCursor(w->RichEdit_Main->document()->findBlockByNumber(2)));
    EXPECT_EQ(third.top() - first.top(), 2 * w->LineHeight);
}

TEST(Panes, AResizeIsFittedToWholeLinesAtTheNextClick)
{
    Window w;
    w.SetPad("1\n2\n3");
    const int designed = 184;
    for (int step = 0; step < 12; ++step) {
        w->resize(915 + step, 760 + (step % 2 ? 37 : -23));
        QApplication::processEvents();
        EXPECT_TRUE(w->ResizePending);
        w->RichEdit_Main->SetSelStart(1 + step % 2);  // a click in the pad moves the caret
        EXPECT_FALSE(w->ResizePending);
        EXPECT_EQ((w->Panel_Grid->height() - 8) % w->LineHeight, 0) << step;
        // The keypad panel takes less than a line from the panes, however often the window is resized.
        EXPECT_GE(w->Panel_Bottom->height(), designed) << step;
        EXPECT_LT(w->Panel_Bottom->height(), designed + w->LineHeight) << step;
    }
}

TEST(Panes, ScrollingKeepsTheThreePanesOnTheSameLines)
{
    DialogRecorder dialogs;
    Window w;
    CalculatedPad(w, 200);
    const int v = w->VisibleLineCount();
    ASSERT_GT(v, 5);
    EXPECT_EQ(w->ScrollBar1->Max(), 201 - v);

    using Step = void (*)(const Window&);
    const struct {
        const char* name;
        Step step;
        int first;  // the pad's first visible line afterwards
    } steps[] = {
        {"scroll bar to 50", [](const Window& x) { x->ScrollBar1->Scroll(scTrack, 50); }, 50},
        {"wheel down", [](const Window& x) { x.Wheel(-120); }, 51},
        {"wheel down", [](const Window& x) { x.Wheel(-120); }, 52},
        {"wheel up", [](const Window& x) { x.Wheel(120); }, 51},
        {"scroll bar line down", [](const Window& x) { x->ScrollBar1->Scroll(scLineDown, 52); }, 52},
        {"scroll bar to the top", [](const Window& x) { x->ScrollBar1->Scroll(scTop, 0); }, 0},
        {"wheel up at the top", [](const Window& x) { x.Wheel(120); }, 0},
        {"scroll bar to the end", [](const Window& x) { x->ScrollBar1->Scroll(scBottom, x->ScrollBar1->Max()); }, -1},
    };
    for (const auto& s : steps) {
        s.step(w);
        const auto lines = w.FirstLines();
        if (s.first >= 0) {
            EXPECT_EQ(lines[1], s.first) << s.name;
        }
        EXPECT_EQ(lines[0], lines[1]) << s.name;
        EXPECT_EQ(lines[2], lines[1]) << s.name;
        EXPECT_EQ(w->ScrollBar1->Position(), lines[1]) << s.name;
    }
}

TEST(Panes, KeysThatScrollThePadBringTheOtherPanesAlong)
{
    DialogRecorder dialogs;
    Window w;
    CalculatedPad(w, 200);
    const Qt::Key keys[] = {Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_Up};
    for (Qt::Key key : keys) {
        w.Key(key);
        const auto lines = w.FirstLines();
        EXPECT_EQ(lines[0], lines[1]) << QKeySequence(key).toString().toStdString();
        EXPECT_EQ(lines[2], lines[1]) << QKeySequence(key).toString().toStdString();
    }
    EXPECT_GT(w.FirstLines()[1], 0);
}

TEST(Panes, AShortPadDoesNotScroll)
{
    DialogRecorder dialogs;
    Window w;
    CalculatedPad(w, 3);
    EXPECT_EQ(w->ScrollBar1->Max(), 0);
    w.Wheel(-120);
    EXPECT_EQ(w.FirstLines(), (std::array<int, 3>{0, 0, 0}));
}

TEST(Panes, LineNumbersFollowThePad)
{
    Window w;
    w.Type("1\n2\n3\n4");
    EXPECT_EQ(Window::Lines(w->RichEdit_LineNo), (QStringList{"1", "2", "3", "4"}));
    w.Key(Qt::Key_Home);
    w.Key(Qt::Key_Backspace);  // joins lines 3 and 4
    EXPECT_EQ(w.Pad(), (QStringList{"1", "2", "34"}));
    EXPECT_EQ(Window::Lines(w->RichEdit_LineNo), (QStringList{"1", "2", "3"}));
    w->NumberedLineCount = -1;
    EXPECT_TRUE(w->UpdateLineNumbers());
    EXPECT_FALSE(w->UpdateLineNumbers());
    EXPECT_EQ(Window::Lines(w->RichEdit_LineNo), (QStringList{"1", "2", "3"}));
}

TEST(Panes, EnterAtTheBottomKeepsTheLineNumbersBesideTheirLines)
{
    Window w;
    const int v = w->VisibleLineCount();
    QString typed;
    for (int i = 1; i <= v + 5; ++i) typed += QString::number(i) + '\n';
    w.Type(typed);
    const auto lines = w.FirstLines();
    EXPECT_GT(lines[1], 0);
    EXPECT_EQ(lines[0], lines[1]);
    EXPECT_EQ(w->RichEdit_LineNo->LineCount(), w->RichEdit_Main->LineCount());
}

TEST(Panes, BackspaceAtTheTopVisibleLineScrollsTheNumbersUpWithThePad)
{
    DialogRecorder dialogs;
    Window w;
    CalculatedPad(w, 100);
    w->ScrollBar1->Scroll(scTrack, 40);
    const int top = w.FirstLines()[1];
    ASSERT_EQ(top, 40);
    w->RichEdit_Main->SetSelStart(w->RichEdit_Main->LineIndex(top));
    w.Key(Qt::Key_Backspace);
    EXPECT_EQ(w->RichEdit_Main->Lines[top - 1], QString("%1%2").arg(top).arg(top + 1));
    const auto lines = w.FirstLines();
    EXPECT_EQ(lines[0], lines[1]);
    EXPECT_EQ(lines[1], top - 1);
}

TEST(Panes, PastedTypographicQuotesBecomePlainMarks)
{
    Window w;
    QGuiApplication::clipboard()->setText(QString::fromUtf8("5\u2019 6\u201D \u2013 2\u2019\n\u201Cx\u201D"));
    if (QGuiApplication::clipboard()->text().isEmpty()) GTEST_SKIP() << "no clipboard on this platform";
    w.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.Pad(), (QStringList{"5' 6\" - 2'", "\"x\""}));
}

TEST(Panes, TheSplitterMovesTheBorderWithinLimits)
{
    const struct {
        int dragged;
        bool moves;
    } cases[] = {{-100, true}, {60, true}, {-5000, false}, {5000, false}, {164, true}, {165, false}};
    for (const auto& c : cases) {
        Window w;
        const int resultLeft = w->RichEdit_Result->x();
        const int resultWidth = w->RichEdit_Result->width();
        w->Panel_SplitterMouseUp(w->Panel_Splitter, mbLeft, 0, c.dragged, 0);
        const int moved = c.moves ? c.dragged : 0;
        EXPECT_EQ(w->RichEdit_Result->x(), resultLeft + moved) << c.dragged;
        EXPECT_EQ(w->RichEdit_Result->width(), resultWidth - moved) << c.dragged;
        EXPECT_EQ(w->Panel_Splitter->x() + w->Panel_Splitter->width(), w->RichEdit_Result->x()) << c.dragged;
        EXPECT_EQ(w->RichEdit_Result->x() + w->RichEdit_Result->width(), w->ScrollBar1->x()) << c.dragged;
        EXPECT_EQ(w->RichEdit_Main->x() + w->RichEdit_Main->width(), w->Panel_Splitter->x()) << c.dragged;
    }
}

TEST(Panes, DraggingTheScrollBarThumbMovesThePanesTogether)
{
    DialogRecorder dialogs;
    Window w;
    CalculatedPad(w, 300);
    w->RichEdit_Main->SetSelStart(w->RichEdit_Main->LineIndex(2));  // the caret stays behind
    QStyleOptionSlider option;
    option.initFrom(w->ScrollBar1);
    option.orientation = Qt::Vertical;
    option.minimum = w->ScrollBar1->Min();
    option.maximum = w->ScrollBar1->Max();
    option.sliderPosition = option.sliderValue = w->ScrollBar1->Position();
    option.pageStep = w->ScrollBar1->LargeChange();
    option.singleStep = 1;
    const QRect thumb = w->ScrollBar1->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                               QStyle::SC_ScrollBarSlider, w->ScrollBar1);
    QPoint at = thumb.center();
    QTest::mousePress(w->ScrollBar1, Qt::LeftButton, Qt::NoModifier, at);
    for (int step = 0; step < 5; ++step) {
        at.ry() += 20;
        QTest::mouseMove(w->ScrollBar1, at);
    }
    QTest::mouseRelease(w->ScrollBar1, Qt::LeftButton, Qt::NoModifier, at);
    const auto lines = w.FirstLines();
    EXPECT_GT(lines[1], 0);
    EXPECT_EQ(lines[0], lines[1]);
    EXPECT_EQ(lines[2], lines[1]);
    EXPECT_EQ(w->ScrollBar1->Position(), lines[1]);
}

// The panes have no menu of their own: a Paste or Delete from one would change the pad behind the
// back of the line numbers and leave old answers beside the wrong lines.
TEST(Panes, ARightClickOpensNoEditMenu)
{
    Window w;
    CalculatedPad(w, 3);
    const QStringList answers = w.Answers();
    for (TRichEdit* pane : {w->RichEdit_Main, w->RichEdit_LineNo, w->RichEdit_Result}) {
        // What the window system sends for a right click.
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(10, 10), pane->viewport()->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(pane->viewport(), &click);
        QApplication::processEvents();
        QString opened;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && (top->windowFlags() & Qt::Popup) == Qt::Popup) {
                opened = top->metaObject()->className();
                top->close();
            }
        EXPECT_EQ(opened, QString()) << (pane == w->RichEdit_Main ? "pad" : "side pane");
    }
    EXPECT_EQ(w.Answers(), answers);
}
