// The program's message box: buttons and captions per style, answers, the "Don't ... again"
// check box and remembered answers, all through the dialog seam; and once as a real window.
#include "platform/win/ExtMessageBox.h"
#include "platform/win/Registry.h"
#include "tests/common/DialogRecorder.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>

namespace {

class ExtMessageBoxTest : public ::testing::Test {
protected:
    ExtMessageBoxTest() { SetRegistryFolder(folder.path()); }
    ~ExtMessageBoxTest() override { SetRegistryFolder({}); }

    QTemporaryDir folder;
    DialogRecorder dialogs;
};

struct SetRow {
    unsigned style;
    QStringList fields;
    int defaultAnswer;
};

TEST_F(ExtMessageBoxTest, ButtonSetsCaptionsAndDefaults)
{
    const SetRow rows[] = {
        {MB_OK, {"OK"}, IDOK},
        {MB_OKCANCEL, {"OK", "Cancel"}, IDOK},
        {MB_ABORTRETRYIGNORE, {"&Abort", "&Retry", "&Ignore"}, IDABORT},
        {MB_YESNOCANCEL, {"&Yes", "&No", "Cancel"}, IDYES},
        {MB_YESNOCANCEL | MB_YESTOALL | MB_NOTOALL, {"&Yes", "Y&es to All", "&No", "N&o to All", "Cancel"}, IDYES},
        {MB_YESNO | MB_DEFBUTTON2, {"&Yes", "&No"}, IDNO},
        {MB_YESNO | MB_DEFBUTTON4, {"&Yes", "&No"}, IDYES},  // no fourth button: the first
        {MB_RETRYCANCEL, {"&Retry", "Cancel"}, IDRETRY},
        {MB_CANCELTRYCONTINUE | MB_DEFBUTTON3, {"Cancel", "&Try Again", "&Continue"}, IDCONTINUE},
        {7, {"&Continue", "&Abort"}, IDCONTINUE},
        {8, {"&Skip", "S&kip All", "Cancel"}, 14},
        {9, {"&Ignore", "I&gnore All", "Cancel"}, IDIGNORE},
        {12, {"OK"}, IDOK},
        {MB_OKCANCEL | MB_HELP, {"OK", "Cancel", "&Help"}, IDOK},
        {MB_OKCANCEL | MB_YESTOALL, {"OK", "Cancel"}, IDOK},  // only Yes/No sets take it
        {0x22000030, {"OK", "Don't tell me again"}, IDOK},   // the calculation's warnings
        {MB_YESNO | MB_DONOTASKAGAIN, {"&Yes", "&No", "Don't ask me again"}, IDYES},
        {MB_OK | MB_DONOTSHOWAGAIN, {"OK", "Don't show again"}, IDOK},
    };
    for (const auto& row : rows) {
        dialogs.calls.clear();
        const int answer = ExtMessageBox(nullptr, "Possible Inconsistent Units", "Consistency Warning",
                                         row.style | MB_NOSOUND, nullptr);
        ASSERT_EQ(dialogs.calls.size(), 1u) << std::hex << row.style;
        const DialogCall& call = dialogs.calls.front();
        EXPECT_EQ(call.kind, DialogCall::Kind::ExtMessageBox);
        EXPECT_EQ(call.caption, "Consistency Warning");
        EXPECT_EQ(call.text, "Possible Inconsistent Units");
        EXPECT_EQ(call.flags, row.style | MB_NOSOUND);
        EXPECT_EQ(call.fields, row.fields) << std::hex << row.style;
        EXPECT_EQ(answer, row.defaultAnswer) << std::hex << row.style;
    }
}

TEST_F(ExtMessageBoxTest, CallerCaptionsAndButtons)
{
    ExtMessageBoxParams p;
    p.bUserButtonCaptions = 1;
    std::strcpy(p.UserButtonCaptions[CapYes], "Sure");
    std::strcpy(p.UserButtonCaptions[CapDontAsk], "Never again");
    ExtMessageBox(nullptr, "Save?", nullptr, MB_YESNO | MB_DONOTASKAGAIN, &p);
    EXPECT_EQ(dialogs.calls.back().fields, QStringList({"Sure", "&No", "Never again"}));
    EXPECT_EQ(dialogs.calls.back().caption, "Error");  // no caption given

    ExtMessageBoxParams own;
    std::strcpy(own.szButtonsText, "Metric\nImperial\n\nBoth\nNeither");
    own.pfnReport = [](const char*, unsigned) {};
    std::strcpy(own.szReportCaption, "Send");
    dialogs.Answer(24);
    EXPECT_EQ(ExtMessageBox(nullptr, "Units?", "Units", MB_OK, &own), 24);
    EXPECT_EQ(dialogs.calls.back().fields, QStringList({"Metric", "Imperial", "Both", "Neither", "Send"}));
    EXPECT_EQ(dialogs.calls.back().result, 24);

    // The block's report caption wins over the caller's caption table; without it the table's
    // Report slot is used like any other.
    const struct {
        const char* reportCaption;
        const char* tableCaption;
        const char* shown;
    } reportRows[] = {
        {"Send", "Mine", "Send"},
        {"", "Mine", "Mine"},
        {"", "", "Re&port"},
    };
    for (const auto& row : reportRows) {
        ExtMessageBoxParams r;
        r.pfnReport = [](const char*, unsigned) {};
        r.bUserButtonCaptions = 1;
        std::strcpy(r.szReportCaption, row.reportCaption);
        std::strcpy(r.UserButtonCaptions[CapReport], row.tableCaption);
        ExtMessageBox(nullptr, "m", "c", MB_OK, &r);
        EXPECT_EQ(dialogs.calls.back().fields, QStringList({"OK", row.shown})) << row.reportCaption << "/" << row.tableCaption;
    }
}

TEST_F(ExtMessageBoxTest, ResourceNumbersAreNotReadAsTexts)
{
    // No string resources here: a message or caption given by number shows empty, and no
    // address below 65536 is ever read.
    ExtMessageBox(nullptr, reinterpret_cast<const char*>(std::uintptr_t{9001}),
                  reinterpret_cast<const char*>(std::uintptr_t{65535}), MB_OK, nullptr);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].text, "");
    EXPECT_EQ(dialogs.calls[0].caption, "");
    ExtMessageBox(nullptr, reinterpret_cast<const char*>(std::uintptr_t{1}), nullptr,
                  MB_ICONSTOP | MB_SYSTEMMODAL, nullptr);
    EXPECT_EQ(dialogs.calls[1].text, "");
    EXPECT_EQ(dialogs.calls[1].caption, "Error");
}

TEST_F(ExtMessageBoxTest, TickedBoxAddsItsBitAndTheWarningsStoreNothing)
{
    dialogs.Answer(IDOK, {}, true);
    EXPECT_EQ(static_cast<unsigned>(ExtMessageBox(nullptr, "x", "Answer Units Warning", 0x22000030, nullptr)),
              0x02000001u);
    EXPECT_FALSE(QFile::exists(RegistryFilePath()));
    // Without a name the next call asks again.
    ExtMessageBox(nullptr, "x", "Answer Units Warning", 0x22000030, nullptr);
    EXPECT_EQ(dialogs.calls.size(), 2u);
    // A tick on a box without a check box adds nothing.
    dialogs.Answer(IDOK, {}, true);
    EXPECT_EQ(ExtMessageBox(nullptr, "x", "Answer Error", 0x20000010, nullptr), IDOK);
}

TEST_F(ExtMessageBoxTest, CancelNeverCarriesTheCheckBox)
{
    // A warning ticked and then cancelled must show again; nothing is remembered for it.
    ExtMessageBoxParams p;
    p.pszModule = "Calc";
    dialogs.Answer(IDCANCEL, {}, true);
    EXPECT_EQ(ExtMessageBox(nullptr, "x", "Warning", MB_OKCANCEL | MB_DONOTTELLAGAIN, &p), IDCANCEL);
    EXPECT_EQ(ExtMessageBoxGetCheckBox(p), 0u);
    dialogs.Answer(IDOK, {}, true);
    EXPECT_EQ(static_cast<unsigned>(ExtMessageBox(nullptr, "x", "Warning", MB_OKCANCEL | MB_DONOTTELLAGAIN, &p)),
              0x02000001u);
    EXPECT_EQ(ExtMessageBoxGetCheckBox(p), 0x02000001u);
}

TEST_F(ExtMessageBoxTest, LongTextsAreCut)
{
    const std::string message(70000, 'm'), caption(2000, 'c');
    ExtMessageBox(nullptr, message.c_str(), caption.c_str(), MB_OK, nullptr);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].text.size(), 65535);
    EXPECT_EQ(dialogs.calls[0].caption.size(), 2000);  // the title alone is cut, to 1,023
}

TEST_F(ExtMessageBoxTest, RememberedAnswersAreReturnedWithoutAsking)
{
    ExtMessageBoxParams p;
    p.pszModule = "PadFiles";
    p.nLine = 7;
    dialogs.Answer(IDNO, {}, true);
    EXPECT_EQ(static_cast<unsigned>(ExtMessageBox(nullptr, "Save?", "Save", MB_YESNO | MB_DONOTASKAGAIN, &p)),
              0x01000000u | IDNO);
    EXPECT_EQ(ExtMessageBoxGetCheckBox(p), 0x01000000u | IDNO);
    EXPECT_EQ(static_cast<unsigned>(ExtMessageBox(nullptr, "Save?", "Save", MB_YESNO | MB_DONOTASKAGAIN, &p)),
              0x01000000u | IDNO);
    EXPECT_EQ(dialogs.calls.size(), 1u);

    // Another line, another company or a style without a check box asks again.
    ExtMessageBoxParams other = p;
    other.nLine = 8;
    ExtMessageBox(nullptr, "Save?", "Save", MB_YESNO | MB_DONOTASKAGAIN, &other);
    std::strcpy(other.szCompany, "Plumo");
    other.nLine = 7;
    ExtMessageBox(nullptr, "Save?", "Save", MB_YESNO | MB_DONOTASKAGAIN, &other);
    ExtMessageBox(nullptr, "Save?", "Save", MB_YESNO, &p);
    EXPECT_EQ(dialogs.calls.size(), 4u);
    EXPECT_EQ(ExtMessageBoxGetCheckBox("", "PadFiles", 8), 0u);
    // An answer given without the tick is not remembered.
    EXPECT_EQ(ExtMessageBoxGetCheckBox("Plumo", "PadFiles", 7), 0u);
}

TEST_F(ExtMessageBoxTest, StopIconWithSystemModalIsThePlainBox)
{
    ExtMessageBox(nullptr, "Fatal", nullptr, MB_ICONSTOP | MB_SYSTEMMODAL | MB_DONOTTELLAGAIN, nullptr);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].kind, DialogCall::Kind::MessageBox);
    EXPECT_EQ(dialogs.calls[0].caption, "Error");
}

TEST_F(ExtMessageBoxTest, CallerErrorsAreReported)
{
    ExtMessageBoxParams longWait, bothWaits;
    longWait.nTimeoutSeconds = 1000;
    bothWaits.nTimeoutSeconds = 5;
    bothWaits.nDisabledSeconds = 5;
    const struct {
        const char* message;
        unsigned style;
        const ExtMessageBoxParams* params;
    } rows[] = {
        {nullptr, MB_OK, nullptr},
        {"m", MB_OK, &longWait},
        {"m", MB_OK, &bothWaits},
        {"m", MB_OK | MB_YESTOALL, nullptr},
        {"m", MB_OKCANCEL | MB_HELP | MB_DEFBUTTON3, nullptr},  // Help cannot be the default
    };
    for (const auto& row : rows) {
        try {
            ExtMessageBox(nullptr, row.message, "c", row.style, row.params);
            ADD_FAILURE() << "no error for style " << std::hex << row.style;
        } catch (const EExtMessageBoxError& e) {
            EXPECT_NE(std::string(e.what()).find(" failed - ExtMessageBox.cpp#"), std::string::npos) << e.what();
        }
    }
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_THROW(ExtMessageBoxGetCheckBox(nullptr, "m", 1), EExtMessageBoxError);
    EXPECT_THROW(ReadRegistry("", ""), EExtMessageBoxError);
}

TEST_F(ExtMessageBoxTest, CheckBoxKeysAreLettersAndDigits)
{
    const AnsiString a = EncodeCheckBoxKey("PadFiles"), b = EncodeCheckBoxKey("PadFilez");
    EXPECT_EQ(a.size(), 8u);
    EXPECT_NE(a, b);
    EXPECT_EQ(a, EncodeCheckBoxKey("PadFiles"));
    const AnsiString odd = EncodeCheckBoxKey(AnsiString("\xff\x80 =[]\n", 7) + AnsiString(600, 'x'));
    EXPECT_EQ(odd.size(), 490u);
    for (char c : odd) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c))) << c;
}

TEST_F(ExtMessageBoxTest, RegistryFileKeepsOtherValues)
{
    ASSERT_TRUE(RegWriteDword("Software\\A\\ExtMessageBox", "one", 1));
    ASSERT_TRUE(RegWriteDword("Software\\B", "two", 0xFFFFFFFFu));
    unsigned value = 0;
    ASSERT_TRUE(RegReadDword("software\\a\\extmessagebox", "ONE", value));  // any case
    EXPECT_EQ(value, 1u);
    ASSERT_TRUE(RegReadDword("Software\\B", "two", value));
    EXPECT_EQ(value, 0xFFFFFFFFu);
    EXPECT_FALSE(RegReadDword("Software\\B", "three", value));
    EXPECT_FALSE(RegWriteDword("Software\\B]\n[x", "v", 1));  // would break the file
    EXPECT_FALSE(RegWriteDword("Software\\B", "", 1));
}

// The window itself, with no seam handler: it answers by itself after its time-out, and its
// buttons and check box answer as they do through the seam. A box that does not come up fails
// the test within seconds.
class ExtMessageBoxWindow : public ExtMessageBoxTest {
protected:
    ExtMessageBoxWindow() { previous = SetDialogHandler({}); }
    ~ExtMessageBoxWindow() override { SetDialogHandler(previous); }

    // The answer of a box shown with these arguments, while `script` works it.
    static int Answer(const char* message, const char* caption, unsigned style, const ExtMessageBoxParams* p,
                      const std::function<void(QWidget& box)>& script)
    {
        int answer = -1;
        RunWithBox([&] { answer = ExtMessageBox(nullptr, message, caption, style | MB_NOSOUND, p); }, [&](QWidget& box) {
            EXPECT_EQ(box.objectName(), "ExtMessageBox");
            script(box);
        });
        return answer;
    }
    static void Press(QWidget& box, const QString& caption)
    {
        for (QPushButton* b : box.findChildren<QPushButton*>())
            if (b->text() == caption) return b->click();
        ADD_FAILURE() << "no button " << caption.toStdString();
    }

    DialogHandler previous;
};

TEST_F(ExtMessageBoxWindow, TimeOutAnswersWithTheDefaultButton)
{
    ExtMessageBoxParams p;
    p.nTimeoutSeconds = 1;
    EXPECT_EQ(static_cast<unsigned>(Answer("Going on", "Wait", MB_OKCANCEL, &p, [](QWidget&) {})), 0x80000001u);
}

TEST_F(ExtMessageBoxWindow, ButtonAndCheckBoxAnswer)
{
    EXPECT_EQ(static_cast<unsigned>(Answer("Save?", "Save", MB_YESNO | MB_DONOTTELLAGAIN, nullptr, [](QWidget& box) {
                  box.findChild<QCheckBox*>()->setChecked(true);
                  Press(box, "&No");
              })),
              0x02000000u | IDNO);
}

TEST_F(ExtMessageBoxWindow, BoxClosedWithoutAnAnswerRemembersNothing)
{
    ExtMessageBoxParams p;
    p.pszModule = "PadFiles";
    p.nLine = 3;
    EXPECT_EQ(Answer("Save?", "Save", MB_YESNO | MB_DONOTASKAGAIN, &p, [](QWidget& box) {
        box.findChild<QCheckBox*>()->setChecked(true);
        box.hide();  // its loop ends without a button
    }), 0);
    EXPECT_EQ(ExtMessageBoxGetCheckBox(p), 0u);
}

TEST_F(ExtMessageBoxWindow, WideLayoutPutsTheButtonsOnTheRight)
{
    Answer("A message long enough to make the box much wider than its one button.", "Wide", MB_OK, nullptr,
           [](QWidget& box) {
               int right = 0;
               for (QPushButton* b : box.findChildren<QPushButton*>())
                   right = std::max(right, b->mapTo(&box, QPoint(b->width(), 0)).x());
               EXPECT_LT(box.width() - right, 40) << box.width() << " " << right;
               static_cast<QDialog&>(box).reject();
           });
}

TEST_F(ExtMessageBoxWindow, EscapeAnswersOnlyWhereTheSetAllows)
{
    EXPECT_EQ(Answer("Save?", "Save", MB_YESNO, nullptr, [](QWidget& box) {
        static_cast<QDialog&>(box).reject();  // Escape: a Yes/No box has no answer for it
        EXPECT_TRUE(box.isVisible());
        Press(box, "&Yes");
    }), IDYES);
    EXPECT_EQ(Answer("Go?", "Go", MB_OKCANCEL, nullptr, [](QWidget& box) { static_cast<QDialog&>(box).reject(); }),
              IDCANCEL);
}

}  // namespace
