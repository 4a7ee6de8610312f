// The boxes a pad's program shows while it runs: they keep the keyboard when the window is
// clicked, Escape answers them as their kind says and never stops the run, the time they wait for
// the user brings no Stop box, and a text that is no program ends after one error box, not hundreds.
#include "tests/app/mainform_fixture.h"
#include "tests/common/DialogRecorder.h"

#include "app/WindowRunWatch.h"

#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

namespace {

bool StopBoxShown(const Window& w)
{
    const QDialog* stop = w->PadRunWatch()->StopBox();
    return stop && stop->isVisible();
}

// The box as the user meets it once the window was clicked: the active window, with the keyboard.
bool BoxIsActive(QWidget& box)
{
    return QTest::qWaitFor([&box] { return QApplication::activeWindow() == &box; }, 1000);
}

}  // namespace

// A window manager activates the window that is clicked, blocked or not. The box must get the
// activation back, and what is typed meanwhile into the window must reach the box too.
TEST(WindowRunBoxes, AClickOnTheWindowLeavesTheKeysWithTheBoxAndEscapeAnswersIt)
{
    const struct {
        const char* name;
        const char* pad;
        const char* typed;    // the first key goes to the pad, before the box has the keyboard back
        bool escapeAnswers;   // Escape answers the box (a message's OK); else it leaves it open
        const char* answer;   // of the pad's second line
    } rows[] = {
        {"input form", "ask \"Wall length in mm\", wall\nwall * 2", "1200", false, "2400"},
        {"yes/no question", "askyesno \"Go on?\", yn\nyn + 1", "", false, "2"},
        {"message", "message \"Measure twice\"\n1 + 1", "", true, "2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DialogRecorder dialogs;
        Window w;
        w.SetPad(QString::fromLatin1(row.pad));
        // Only the program's first box is real; anything after it is answered through the seam, so
        // a fault fails the test instead of leaving it waiting on a box.
        const DialogHandler seam = SetDialogHandler({});
        RunWithBox([&w] { w->Btn_CalculateOnly->Click(); }, [&](QWidget& box) {
            SetDialogHandler(seam);
            w->activateWindow();  // as a click on the pad makes the window manager do
            EXPECT_TRUE(BoxIsActive(box));
            const QString typed = QString::fromLatin1(row.typed);
            if (!typed.isEmpty()) QTest::keyClicks(w->RichEdit_Main, typed.left(1));
            for (const QChar c : typed.mid(1)) QTest::keyClick(QGuiApplication::focusWindow(), c.toLatin1());
            QTest::keyClick(w->RichEdit_Main, Qt::Key_Escape);
            EXPECT_EQ(box.isVisible(), !row.escapeAnswers);
            if (box.isVisible()) QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Return);
        });
        EXPECT_EQ(w.Answers().value(1), row.answer) << w.Answers().join("|").toStdString();
        for (const DialogCall& call : dialogs.calls) ADD_FAILURE() << "a box too many: " << call.text.toStdString();
        EXPECT_FALSE(w->PadRunWatch()->Running());
    }
}

// The Stop box is for a run that goes on by itself, not for one that waits for its user: not beside
// a first question, nor beside the error box the user reads. A box shown again (a loop of boxes)
// brings it at once.
TEST(WindowRunBoxes, TheStopBoxComesForALoopOfBoxesNotForABoxThatWaits)
{
    const struct {
        const char* name;
        const char* pad;
        int waitMs;     // how long the user takes over the first box
        bool stopBox;   // the Stop box is there by the second box
    } rows[] = {
        {"input form", "ask \"Wall length in mm\", wall\nwall * 2", 2000, false},
        {"error box", "1 +", 2000, false},
        {"loop of messages", "while (1 == 1)\nmessage \"hi\"\nendwhile", 0, true},
        {"loop of an estimate function's errors", "while (1 == 1)\nset_zr_str(\"a\", \"b\")\nendwhile", 0, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DialogRecorder dialogs;
        Window w;
        w.SetPad(QString::fromLatin1(row.pad));
        const DialogHandler seam = SetDialogHandler({});
        bool answered = false, secondBox = false, stopSeen = false;
        // The box that shows again, met as soon as it is up: the Stop box must be beside it then.
        QTimer again;
        again.setInterval(10);
        QObject::connect(&again, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!answered || !box || secondBox) return;
            secondBox = true;
            stopSeen = StopBoxShown(w);
            SetDialogHandler(seam);
            if (stopSeen) QTest::mouseClick(w->PadRunWatch()->StopButton(), Qt::LeftButton);
            // Without it, the run is stopped from the window once the box is gone.
            box->done(QDialog::Rejected);
            QTest::keyClick(w->RichEdit_Main, Qt::Key_Escape);
        });
        again.start();
        RunWithBox([&w] { w->Btn_CalculateOnly->Click(); }, [&](QWidget& box) {
            QTest::qWait(row.waitMs);
            EXPECT_FALSE(StopBoxShown(w));
            answered = true;
            if (!row.stopBox) SetDialogHandler(seam);
            QTest::keyClick(box.focusWidget() ? box.focusWidget() : &box, Qt::Key_Return);
        });
        SetDialogHandler(seam);
        EXPECT_EQ(secondBox, row.stopBox);
        EXPECT_EQ(stopSeen, row.stopBox);
        EXPECT_FALSE(w->PadRunWatch()->Running());
    }
}

// A text pasted or opened by mistake: hundreds of lines that are no program, each a syntax error.
// The first error box is the one to mend; the run ends there for the user, and the pad stays.
TEST(WindowRunBoxes, AProsePadEndsAfterItsFirstErrorBox)
{
    DialogRecorder dialogs;
    Window w;
    QStringList prose;
    for (int i = 1; i <= 300; ++i)
        prose << QStringLiteral("Line %1 of the letter: we shall deliver the timber on Monday, weather permitting.").arg(i);
    w.SetPad(prose.join(QLatin1Char('\n')));
    const QStringList pad = w.Pad();
    w->Btn_CalculateAndTotal->Click();
    int errorBoxes = 0;
    for (const DialogCall& call : dialogs.calls) errorBoxes += call.caption == QLatin1String("Macro Error");
    EXPECT_EQ(errorBoxes, 1);
    ASSERT_FALSE(dialogs.calls.empty());
    EXPECT_TRUE(dialogs.calls.front().text.startsWith("Error: parse error in line number 1:"))
        << dialogs.calls.front().text.toStdString();
    EXPECT_TRUE(w.Answers().join("").isEmpty());
    EXPECT_EQ(w.Pad().mid(0, pad.size()), pad);
}

// Stopped by Escape in the window or by its close, taken while the run asks: the Stop box goes with
// the run, before the report that it stopped.
TEST(WindowRunBoxes, TheStopBoxGoesAsSoonAsTheRunIsStopped)
{
    const struct {
        const char* name;
        std::function<void(Window&)> stop;
    } ways[] = {
        {"Escape", [](Window& w) { QTest::keyClick(w->RichEdit_Main, Qt::Key_Escape); }},
        {"the window's close", [](Window& w) { w->close(); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        Window w;
        long long now = 0;
        TWindowRunWatch watch(&*w, [&now] { return now; });
        watch.RunStarted();
        now = TWindowRunWatch::kBoxAfterMs;
        EXPECT_FALSE(watch.StopRequested());
        ASSERT_TRUE(watch.StopBox() && watch.StopBox()->isVisible());
        QTimer::singleShot(0, [&] { way.stop(w); });
        EXPECT_TRUE(watch.StopRequested());
        EXPECT_FALSE(watch.StopBox()->isVisible());
        watch.RunEnded();
    }
}
