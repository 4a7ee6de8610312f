// A run that goes on stays stoppable: Escape in the window or the Stop box ends it, and meanwhile
// the window takes no input but repaints and lets the program's own boxes work.
#include "tests/app/mainform_fixture.h"
#include "tests/common/DialogRecorder.h"

#include "app/WindowRunWatch.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win/WinDefs.h"

#include <QClipboard>
#include <QDialog>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <functional>
#include <utility>
#include <gtest/gtest.h>

namespace {

void Press(QWidget* widget, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_A ? QStringLiteral("a") : QString());
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

}  // namespace

TEST(WindowStop, TheStopBoxComesAfterASecondAndItsButtonStopsTheRun)
{
    Window w;
    long long now = 0;
    TWindowRunWatch watch(&*w, [&now] { return now; });
    EXPECT_FALSE(watch.StopRequested());
    watch.RunStarted();
    const struct {
        long long at;
        bool box;
    } steps[] = {{5, false}, {500, false}, {999, false}, {1000, true}, {1500, true}};
    for (const auto& s : steps) {
        now = s.at;
        EXPECT_FALSE(watch.StopRequested()) << s.at;
        EXPECT_EQ(watch.StopBox() && watch.StopBox()->isVisible(), s.box) << s.at;
    }
    QTest::mouseClick(watch.StopButton(), Qt::LeftButton);
    EXPECT_TRUE(watch.StopRequested());
    EXPECT_FALSE(watch.StopBox()->isVisible());  // out of the way of the run's error box
    watch.RunEnded();
    EXPECT_FALSE(watch.StopBox()->isVisible());
    EXPECT_FALSE(watch.StopRequested());  // the next run starts afresh
    watch.RunStarted();
    EXPECT_FALSE(watch.StopRequested());
    watch.RunEnded();
}

TEST(WindowStop, DuringARunTheWindowTakesNoInputButEscape)
{
    DialogRecorder dialogs;
    Window w;
    w.Type("1 + 1\n");
    w->Btn_CalculateOnly->Click();
    const QStringList pad = w.Pad();
    const QStringList answers = w.Answers();
    long long now = 0;
    TWindowRunWatch watch(&*w, [&now] { return now; });
    watch.RunStarted();
    // A box of the program itself still takes what is typed into it.
    QDialog programBox;
    auto* field = new QLineEdit(&programBox);
    programBox.show();
    Press(field, Qt::Key_A);
    EXPECT_EQ(field->text(), "a");

    Press(w->RichEdit_Main, Qt::Key_A);
    QTest::mouseClick(w->Btn_CalculateAndTotal, Qt::LeftButton);
    QTest::keyClick(w->RichEdit_Main, Qt::Key_N, Qt::ControlModifier);
    now = 20;
    EXPECT_FALSE(watch.StopRequested());
    EXPECT_EQ(w.Pad(), pad);
    EXPECT_EQ(w.Answers(), answers);
    // Escape stops the run (once no box of the program is open to answer); so does closing the
    // window, which stays open.
    programBox.hide();
    Press(w->RichEdit_Main, Qt::Key_Escape);
    EXPECT_TRUE(watch.StopRequested());
    watch.RunEnded();
    EXPECT_FALSE(watch.TakeCloseRequest());
    watch.RunStarted();
    EXPECT_FALSE(watch.StopRequested());
    w->close();
    EXPECT_TRUE(watch.StopRequested());
    EXPECT_TRUE(w->isVisible());
    watch.RunEnded();
    EXPECT_TRUE(watch.TakeCloseRequest());  // kept for the window to close after the run
    EXPECT_FALSE(watch.TakeCloseRequest());
    // After the run the window is the user's again; the Escape's release was no edit.
    EXPECT_EQ(w.Answers(), answers);
    w.Type("2");
    EXPECT_EQ(w.Pad().value(1), "2");
}

// Every other way the user has of changing the pad, or of acting on it from the find and replace
// windows open beside it, waits for the run's end: what changed during a run would stand beside
// the run's answers once it ends. Each way does its work again once the run is over.
TEST(WindowStop, NothingActsOnThePadDuringARunTable)
{
    const auto drop = [](Window& w) {
        QMimeData data;
        data.setText(QStringLiteral("9"));
        const QPoint at = w->RichEdit_Main->cursorRect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w->RichEdit_Main->viewport(), &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w->RichEdit_Main->viewport(), &move);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w->RichEdit_Main->viewport(), &drop);
    };
    const auto fromMenu = [](Window& w, TMenuItem* menu, TMenuItem* item) {
        QMenuBar* bar = w->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(menu->Action()).center());
        if (auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            QTest::mouseClick(open, Qt::LeftButton, Qt::NoModifier, open->actionGeometry(item->Action()).center());
            open->close();
        }
    };
    const struct {
        const char* name;
        std::function<void(Window&)> act;
    } ways[] = {
        {"an input method's text", [](Window& w) {
             QInputMethodEvent typed;
             typed.setCommitString(QStringLiteral("9"));
             QApplication::sendEvent(w->RichEdit_Main, &typed);
         }},
        {"a drop", drop},
        {"the keypad", [](Window& w) { QTest::mouseClick(w->BitBtn7, Qt::LeftButton); }},
        {"a snippet chosen by key", [](Window& w) {
             w->Cmb_Loop->setFocus();
             QTest::keyClick(w->Cmb_Loop, Qt::Key_Down);
         }},
        {"Paste from the menu by mouse", [&fromMenu](Window& w) { fromMenu(w, w->Edit1, w->Paste1); }},
        {"Replace All", [](Window& w) { QTest::mouseClick(w->ReplaceDialog->ReplaceAllButton(), Qt::LeftButton); }},
        {"Replace All by the space bar", [](Window& w) { QTest::keyClick(w->ReplaceDialog->ReplaceAllButton(), Qt::Key_Space); }},
        {"Replace", [](Window& w) {
             w->RichEdit_Main->SetSelStart(0);
             w->RichEdit_Main->SetSelLength(1);
             QTest::mouseClick(w->ReplaceDialog->ReplaceButton(), Qt::LeftButton);
         }},
        {"Find Next", [](Window& w) { QTest::mouseClick(w->FindDialog->FindNextButton(), Qt::LeftButton); }},
        {"Enter in Find", [](Window& w) { QTest::keyClick(w->FindDialog->FindEdit(), Qt::Key_Return); }},
        {"the replace window's close", [](Window& w) { w->ReplaceDialog->Window()->windowHandle()->close(); }},
        {"a key after the find window is shown again", [](Window& w) {
             // As when it is restored from minimised: it stays a window held off, not a box of the run.
             QShowEvent shown;
             QApplication::sendEvent(w->FindDialog->Window(), &shown);
             w->RichEdit_Main->setFocus();
             QTest::keyClick(w->RichEdit_Main, Qt::Key_9);
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        DialogRecorder dialogs;
        Window w(true);
        w.Type("1 + 1\n");
        w->Btn_CalculateOnly->Click();
        QGuiApplication::clipboard()->setText(QStringLiteral("9"));
        w->Find1->Click();
        w->FindDialog->FindEdit()->setText(QStringLiteral("zzz"));  // not found: a box says so
        w->Replace1->Click();
        w->ReplaceDialog->FindEdit()->setText(QStringLiteral("1"));
        w->ReplaceDialog->ReplaceEdit()->setText(QStringLiteral("3"));
        w->RichEdit_Main->setFocus();
        w->RichEdit_Main->SetSelStart(0);  // Replace All works on from the caret
        const QStringList pad = w.Pad();
        const QStringList answers = w.Answers();
        ASSERT_EQ(answers.value(0), "2");
        const auto acted = [&] {
            return w.Pad() != pad || w.Answers() != answers || !dialogs.calls.empty() ||
                   !w->FindDialog->IsOpen() || !w->ReplaceDialog->IsOpen();
        };
        long long now = 0;
        TWindowRunWatch watch(&*w, [&now] { return now; });
        watch.RunStarted();
        way.act(w);
        now = 20;
        EXPECT_FALSE(watch.StopRequested());
        EXPECT_FALSE(acted()) << w.Pad().join('|').toStdString();
        watch.RunEnded();
        EXPECT_FALSE(watch.TakeCloseRequest());
        EXPECT_TRUE(w->isVisible());
        way.act(w);
        EXPECT_TRUE(acted()) << "the way does nothing even without a run";
    }
}

// The whole road: a pad that never ends, stopped from the window. The interpreter must ask the
// host whether to stop while it runs; if it does not, a pad like this never returns, and the
// watchdog ends the test program, failed.
TEST(WindowStop, AnEndlessPadIsStoppedByEscapeOrTheStopButton)
{
    {
        DialogRecorder dialogs;
        Window w;
        w.Type("for(i=1;i<=20000;i=i+1)\nendfor\n");
        w->Btn_CalculateOnly->Click();
        ASSERT_GT(w->PadRunWatch()->Asked(), 0) << "the interpreter never asked whether to stop the run";
    }
    const struct {
        const char* name;
        int afterMs;
        bool button;
    } ways[] = {{"Escape", 300, false}, {"the Stop button", 1200, true}};
    for (const auto& way : ways) {
        DialogRecorder dialogs;
        Window w;
        // A statement line of a pad must hold "=" or a statement word to pass as it stands.
        w.Type("1 + 1\nwhile (1 == 1)\nendwhile\n");
        QTimer::singleShot(way.afterMs, [&w, &way] {
            TWindowRunWatch* watch = w->PadRunWatch();
            if (way.button && watch->StopButton() && watch->StopBox()->isVisible())
                QTest::mouseClick(watch->StopButton(), Qt::LeftButton);
            else if (!way.button)
                Press(w->RichEdit_Main, Qt::Key_Escape);
        });
        const auto began = std::chrono::steady_clock::now();
        {
            const Watchdog watchdog(std::chrono::seconds(15));
            w->Btn_CalculateOnly->Click();
        }
        const auto took = std::chrono::steady_clock::now() - began;
        EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), way.afterMs + 1000) << way.name;
        ASSERT_FALSE(dialogs.calls.empty()) << way.name;
        EXPECT_TRUE(dialogs.calls.back().text.contains("stopped")) << way.name << ": " << dialogs.calls.back().text.toStdString();
        EXPECT_TRUE(w.Answers().join("").isEmpty()) << way.name;
        EXPECT_FALSE(w->PadRunWatch()->Running()) << way.name;
    }
}

// A program that keeps showing boxes spends its time in them: while one waits for its answer, the
// Stop box and the window's close must be within reach. The boxes here are real, and nobody
// answers them; the clicks and the close go through the platform, where a box holding off the
// other windows would swallow them.
TEST(WindowStop, ALoopOfBoxesStopsByTheStopBoxOrTheWindowsCloseWithNoBoxAnswered)
{
    const struct {
        const char* name;
        const char* line;
    } programs[] = {{"message", "message \"hi\""},
                    {"ask", "ask \"How many?\", n"},
                    {"yes/no", "askyesno \"Again?\", yn"},
                    {"an estimate function's error", "x = get_zr_qty(\"a\")"}};
    const struct {
        const char* name;
        bool close;
    } ways[] = {{"the Stop button", false}, {"the window's close", true}};
    for (const auto& program : programs)
        for (const auto& way : ways) {
            const std::string trace = std::string(program.name) + " stopped by " + way.name;
            DialogRecorder dialogs;
            Window w;
            w.Type(QStringLiteral("while (1 == 1)\n%1\nendwhile\n").arg(QString::fromLatin1(program.line)));
            const QStringList pad = w.Pad();
            // The run's report that it stopped; then, once the window closes, the question about
            // the edited pad: Cancel keeps it.
            dialogs.Answer(IDOK);
            if (way.close) dialogs.Answer(IDCANCEL);
            DialogHandler recorder = SetDialogHandler({});
            bool acted = false;
            auto restore = [&recorder] {
                if (recorder) SetDialogHandler(std::exchange(recorder, {}));
            };
            QTimer act;
            act.setInterval(20);
            QObject::connect(&act, &QTimer::timeout, [&] {
                TWindowRunWatch* watch = w->PadRunWatch();
                // The first box waits for the user alone; the Stop comes when a box shows again.
                if (auto* first = qobject_cast<QDialog*>(QApplication::activeModalWidget()); first && !acted && !watch->StopBox())
                    return first->accept();
                if (acted || !watch->StopBox() || !watch->StopBox()->isVisible()) return;
                acted = true;
                // From here on the seam answers: the run's report that it stopped, the question.
                restore();
                if (way.close) {
                    w->windowHandle()->close();
                } else {
                    QDialog* box = watch->StopBox();
                    const QPoint at = watch->StopButton()->mapTo(box, watch->StopButton()->rect().center());
                    QTest::mouseClick(box->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
                }
            });
            // A watch that fails must fail the test, not hang it: after a while the boxes are
            // answered again, every one on the screen (the run's boxes hold off nothing, so none
            // of them is the application's modal one), and the run is stopped from the window. A
            // run that not even this ends (it never asks whether to stop) ends the test program.
            QTimer guard;
            guard.setInterval(200);
            const auto began = std::chrono::steady_clock::now();
            QObject::connect(&guard, &QTimer::timeout, [&] {
                if (std::chrono::steady_clock::now() - began < std::chrono::seconds(4)) return;
                restore();
                for (QWidget* top : QApplication::topLevelWidgets())
                    if (auto* box = qobject_cast<QDialog*>(top); box && box->isVisible() && box != w->PadRunWatch()->StopBox())
                        box->done(QDialog::Rejected);
                Press(w->RichEdit_Main, Qt::Key_Escape);
            });
            act.start();
            guard.start();
            {
                const Watchdog watchdog(std::chrono::seconds(15));
                w->Btn_CalculateOnly->Click();
            }
            act.stop();
            guard.stop();
            restore();
            const auto took = std::chrono::steady_clock::now() - began;
            EXPECT_TRUE(acted) << trace << ": the Stop box never showed";
            EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 2000) << trace;
            ASSERT_FALSE(dialogs.calls.empty()) << trace;
            EXPECT_TRUE(dialogs.calls[0].text.contains("stopped")) << trace << ": " << dialogs.calls[0].text.toStdString();
            EXPECT_EQ(dialogs.calls.size(), way.close ? 2u : 1u) << trace;
            if (way.close) {
                EXPECT_TRUE(dialogs.calls.back().text.startsWith("Do you want to Save the changes")) << trace;
            }
            EXPECT_TRUE(w->isVisible()) << trace;
            EXPECT_FALSE(w->PadRunWatch()->Running()) << trace;
            EXPECT_EQ(w.Pad(), pad) << trace;
            EXPECT_TRUE(w.Answers().join("").isEmpty()) << trace;
        }
}
