// The real boxes over the real window: while one is open the window's buttons keep their look and
// a click on the window leaves the keyboard with the box; once it is answered what is typed goes
// into the pad, not to a button.
#include "tests/app/mainform_fixture.h"
#include "tests/common/DialogRecorder.h"

#include <QPushButton>
#include <QWindow>
#include <gtest/gtest.h>

TEST(WindowBoxFocus, AfterABoxTheKeyboardIsThePads)
{
    Window w;
    int exits = 0;
    w->Exit->OnClick = [&exits](TObject*) { ++exits; };  // the real one ends the process
    const struct {
        const char* name;
        const char* pad;
        std::function<void()> open;
        Qt::Key answer;
    } rows[] = {
        // The save question of New, kept from by Escape (Cancel: keep my work).
        {"save question", "12 + 3", [&w] { w.Key(Qt::Key_N, Qt::ControlModifier); }, Qt::Key_Escape},
        // A run's error box after the calculate button was clicked.
        {"macro error", "foo + 1", [&w] { QTest::mouseClick(w->Btn_CalculateOnly, Qt::LeftButton); }, Qt::Key_Return},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        w.SetPad("");
        w->RichEdit_Main->setFocus();
        w.Type(row.pad);
        // Only this box is a real one: a key that went astray to a button answers its boxes
        // through the seam, and the test fails instead of waiting on a box nobody answers.
        const DialogHandler seam = SetDialogHandler({});
        RunWithBox(row.open, [&](QWidget& box) {
            EXPECT_TRUE(w->Exit->isEnabled());
            EXPECT_TRUE(w->Btn_CalculateOnly->isEnabled());
            // A click on the window, which a window manager activates blocked or not: the box
            // takes the activation back, and the answer typed next is the box's.
            w->activateWindow();
            EXPECT_TRUE(QTest::qWaitFor([&box] { return QApplication::activeWindow() == &box; }, 1000));
            QTest::keyClick(QGuiApplication::focusWindow(), row.answer);
        });
        SetDialogHandler(seam);
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), w->RichEdit_Main);
        QWindow* typing = QGuiApplication::focusWindow();
        ASSERT_TRUE(typing);
        QTest::keyClick(typing, Qt::Key_Space);
        EXPECT_TRUE(w.Pad().join("\n").contains(QStringLiteral("%1 ").arg(row.pad))) << w.Pad().join("|").toStdString();
        EXPECT_EQ(exits, 0);
    }
}
