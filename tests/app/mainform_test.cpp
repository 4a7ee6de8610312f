// The main window's start-up and end, as the user sees them.
#include "tests/app/mainform_fixture.h"
#include "tests/app/quit_guard.h"
#include "tests/common/DialogRecorder.h"
#include "platform/win/WinDefs.h"

#include <QFileInfo>
#include <QPixmap>
#include <QTest>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
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

namespace {

enum class Way { CloseButton, SessionEnd, ExitButton, ExitMenu };

const struct {
    Way way;
    const char* name;
} kWaysToQuit[] = {{Way::CloseButton, "the window's close"},
                   {Way::SessionEnd, "the session's end"},
                   {Way::ExitButton, "the Exit button"},
                   {Way::ExitMenu, "File, Exit"}};

// Quits the way given; true when the program goes on. The window manager's close button and
// Alt+F4 both reach the window as its platform window's close; Exit would end the program, which
// the test program counts instead.
bool QuitGoesOn(Window& w, Way way)
{
    const int exits = ExitsReached();
    switch (way) {
    case Way::CloseButton: w->windowHandle()->close(); return w->isVisible();
    case Way::SessionEnd: return !w->QueryEndSession(true);
    case Way::ExitButton:
        w->Exit->setFocus(Qt::MouseFocusReason);  // as the press of a real click gives it
        w->Exit->Click();
        break;
    case Way::ExitMenu: w->Exit1->Click(); break;
    }
    return ExitsReached() == exits;
}

QString SavePath() { return QString::fromLocal8Bit(Config->ProjectDir.c_str()) + "quit.pad"; }

}  // namespace

TEST(MainForm, EveryWayToQuitAnEditedPadAsksAndCancelKeepsIt)
{
    const struct {
        const char* answer;
        int question;
        int saveDialog;  // -1: not shown
    } kept[] = {{"Cancel", IDCANCEL, -1}, {"Save, then the save cancelled", IDYES, 0}};
    for (const auto& way : kWaysToQuit)
        for (const auto& a : kept) {
            DialogRecorder dialogs;
            Window w;
            w.Type("8' * 6");
            dialogs.Answer(a.question);
            if (a.saveDialog >= 0) dialogs.Answer(a.saveDialog);
            EXPECT_TRUE(QuitGoesOn(w, way.way)) << way.name << ", " << a.answer;
            ASSERT_FALSE(dialogs.calls.empty()) << way.name;
            EXPECT_EQ(dialogs.calls[0].text, "Do you want to Save the changes to: Untitled?") << way.name;
            EXPECT_TRUE(dialogs.calls[0].fields.contains("Don't Save")) << way.name;
            EXPECT_EQ(dialogs.calls.size(), a.saveDialog >= 0 ? 2u : 1u) << way.name << ", " << a.answer;
            EXPECT_TRUE(w->isVisible()) << way.name << ", " << a.answer;
            EXPECT_EQ(w.Pad().value(0), "8' * 6") << way.name << ", " << a.answer;
            EXPECT_FALSE(w->PadUnchanged) << way.name << ", " << a.answer;
            // A space typed next goes on in the pad, not into the button that asked.
            EXPECT_EQ(QApplication::focusWidget(), w->RichEdit_Main) << way.name << ", " << a.answer;
        }
}

TEST(MainForm, ClosingQuitsAnUneditedPadAtOnceAndAnEditedOneOnceSavedOrGivenUp)
{
    const struct {
        const char* name;
        bool edited;
        int question;  // 0: none expected
        bool save;
    } cases[] = {{"unedited", false, 0, false}, {"Don't Save", true, IDNO, false}, {"Save", true, IDYES, true}};
    for (const auto& way : kWaysToQuit) {
        if (way.way == Way::ExitButton || way.way == Way::ExitMenu) continue;  // the death test below
        for (const auto& c : cases) {
            DialogRecorder dialogs;
            Window w;
            if (c.edited) w.Type("8' * 6");
            if (c.question) dialogs.Answer(c.question);
            if (c.save) dialogs.Answer(1, {SavePath()});
            EXPECT_FALSE(QuitGoesOn(w, way.way)) << way.name << ", " << c.name;
            EXPECT_EQ(dialogs.calls.size(), (c.question ? 1u : 0u) + (c.save ? 1u : 0u)) << way.name << ", " << c.name;
            EXPECT_EQ(QFileInfo::exists(SavePath()), c.save) << way.name << ", " << c.name;
            if (way.way == Way::SessionEnd) {
                // The session then closes the window: the pad already agreed to is not asked about again.
                const size_t asked = dialogs.calls.size();
                EXPECT_TRUE(w->close()) << c.name;
                EXPECT_EQ(dialogs.calls.size(), asked) << c.name;
            }
        }
    }
}

// The session's end agreed to let the pad go, but the end did not come (another program cancelled
// it), and the user went on: what the user typed since is asked about when the window closes.
TEST(MainForm, ASessionEndThatDidNotComeLeavesLaterEditsToBeAskedAbout)
{
    // Where the user goes on after the logout was cancelled: the pad, or a field saved with it.
    enum Where { Pad, Date, Description };
    const struct {
        const char* name;
        Where where;
        QString typedAfter;
        int questionsAtClose;
    } cases[] = {{"nothing typed since", Pad, "", 0},
                 {"typed in the pad", Pad, " + 1", 1},
                 {"typed in the description", Description, "roof", 1},
                 {"typed in the date", Date, "1", 1}};
    for (const auto& c : cases) {
        DialogRecorder dialogs;
        Window w;
        w.Type("8' * 6");
        dialogs.Answer(IDNO);
        ASSERT_TRUE(w->QueryEndSession(true)) << c.name;
        ASSERT_EQ(dialogs.calls.size(), 1u) << c.name;
        if (c.where == Pad)
            w.Type(c.typedAfter);
        else
            QTest::keyClicks(c.where == Date ? w->Edit_Date : w->Edit_Description, c.typedAfter);
        dialogs.Answer(IDCANCEL);
        w->windowHandle()->close();
        ASSERT_EQ(dialogs.calls.size(), 1u + c.questionsAtClose) << c.name;
        EXPECT_EQ(w->isVisible(), c.questionsAtClose == 1) << c.name << ": Cancel keeps the window";
        if (c.questionsAtClose) {
            EXPECT_EQ(dialogs.calls.back().text, "Do you want to Save the changes to: Untitled?") << c.name;
            EXPECT_EQ(w.Pad().value(0), "8' * 6" + (c.where == Pad ? c.typedAfter : QString())) << c.name;
        }
    }
}

TEST(MainFormDeathTest, ExitQuitsOnceTheEditedPadIsGivenUp)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    static int questions = 0;
    static char folder[4096];  // the window's folder, which the process ending here must remove
    const struct {
        const char* name;
        bool edited;
    } cases[] = {{"unedited: no question", false}, {"edited: Don't Save", true}};
    for (const auto& way : kWaysToQuit) {
        if (way.way != Way::ExitButton && way.way != Way::ExitMenu) continue;
        for (const auto& c : cases)
            EXPECT_EXIT(
                {
                    // The status tells how many questions were asked on the way out.
                    TfrmMainProg::QuitProgram = nullptr;  // the program's own end
                    std::atexit([] {
                        std::error_code ignored;
                        std::filesystem::remove_all(folder, ignored);
                        std::_Exit(10 + questions);
                    });
                    SetDialogHandler([](DialogCall& call) {
                        ++questions;
                        call.result = IDNO;
                    });
                    Window w;
                    std::snprintf(folder, sizeof folder, "%s", Config->TempDir.c_str());
                    if (c.edited) w.Type("5 + 5");
                    QuitGoesOn(w, way.way);
                    std::_Exit(4);  // not reached
                },
                ::testing::ExitedWithCode(c.edited ? 11 : 10), "")
                << way.name << ", " << c.name;
    }
}
