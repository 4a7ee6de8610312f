// The main window's start-up and end, as the user sees them.
#include "tests/app/mainform_fixture.h"
#include "tests/common/DialogRecorder.h"

#include <QPixmap>
#include <cstdlib>
#include <gtest/gtest.h>

TEST(MainForm, StartsOnANewPadCalculatedOnce)
{
    DialogRecorder dialogs;
    Window w;
    EXPECT_EQ(frmMainProg, &*w);
    EXPECT_EQ(w->Version, "1.00.160202");
    EXPECT_EQ(w->Precision, -1);
    EXPECT_EQ(w->Cmb_Precision->Text(), "Default");
    EXPECT_TRUE(w->PadUnchanged);
    EXPECT_TRUE(w.Pad().join("").isEmpty());
    EXPECT_TRUE(w.Answers().join("").isEmpty());
    EXPECT_TRUE(w->PadAnswers.empty());
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_TRUE(w->RichEdit_Main->hasFocus() || !w->isActiveWindow());
}

TEST(MainForm, ScientificPanelAtStartFollowsTheSettings)
{
    const struct {
        bool scientific;
        const char* caption;
    } cases[] = {{false, "Scientific >>"}, {true, "<< Scientific"}};
    for (const auto& c : cases) {
        Window w(c.scientific);
        EXPECT_EQ(IsVisible(w->Panel_Scientific), c.scientific);
        EXPECT_EQ(w->ScientificShown, c.scientific);
        EXPECT_EQ(w->Btn_Scientific->Caption(), c.caption);
        // The open panel sits between the keypad panel and the exit strip.
        if (c.scientific) {
            EXPECT_EQ(w->Panel_Bottom->y() + w->Panel_Bottom->height(), w->Panel_Scientific->y());
            EXPECT_EQ(w->Panel_Scientific->y() + w->Panel_Scientific->height(), w->Panel_Base->y());
        }
    }
}

TEST(MainForm, ShowsTheWholeWindowWithAnswers)
{
    DialogRecorder dialogs;
    Window w;
    w.Type("12' 6 1/2\" + 3'\n2.5 * 4 ' a comment\nx = 7\nx * 2\n");
    w->Cmb_UOM_Answer->Choose(10);
    w->Btn_CalculateAndTotal->Click();
    const QPixmap picture = w->grab();
    EXPECT_EQ(picture.size(), w->size());
    // PLUMO_SCREENSHOT names a file to keep the picture in, for looking at the window.
    if (const char* path = std::getenv("PLUMO_SCREENSHOT")) picture.save(QString::fromLocal8Bit(path));
}

TEST(MainFormDeathTest, ExitEndsAtOnceWithoutAskingOrSaving)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            // Any question would end the program with another status.
            SetDialogHandler([](DialogCall&) { std::_Exit(3); });
            Window w;
            w.Type("5 + 5");
            ASSERT_FALSE(w->PadUnchanged);
            w->Exit->Click();
            std::_Exit(4);  // not reached
        },
        ::testing::ExitedWithCode(0), "");
}
