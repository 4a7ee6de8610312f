// The real boxes over the real window: every box stands over the window and holds it off, also when
// no window is active as it comes (right after a file dialog, before the desktop gives the
// activation back); while one waits, a click and keys on the pad change nothing; once it is
// answered what is typed goes into the pad, not to a button.
#include "tests/app/mainform_fixture.h"
#include "tests/app/padfile_support.h"
#include "tests/common/DialogRecorder.h"

#include "platform/vcl/Forms.h"

#include <QInputMethodEvent>
#include <QPushButton>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// A pad file with its units and its lines.
AnsiString PadFile(const char* input, const char* answer, const char* lines)
{
    return AnsiString("_Date=1 Mar 2026 10:00:00\n_Description=\n_UOM_Input=") + input + "\n_UOM_Answer=" + answer +
           "\n_Precision=0\n_UOM_Angle=0\n_Data\n" + lines;
}

// Answers the file dialogs with the file given and leaves no window active behind them, as the
// desktop does for a moment once a file dialog has closed; the first box is shown for real, any
// later one is answered with its default and recorded.
class FileDialogsLeaveNoActiveWindow {
public:
    // files: what the file dialogs choose, one after the other (the last one again and again).
    explicit FileDialogsLeaveNoActiveWindow(std::vector<AnsiString> files)
        : files_(std::move(files)), previous_(SetDialogHandler([this](DialogCall& call) {
              if (call.kind == DialogCall::Kind::OpenFile || call.kind == DialogCall::Kind::SaveFile) {
                  call.result = 1;
                  call.values = QStringList{Win1252ToUnicode(files_.empty() ? AnsiString() : files_.front())};
                  if (files_.size() > 1) files_.erase(files_.begin());
                  QApplication::setActiveWindow(nullptr);
              } else if (!passed_) {
                  passed_ = true;
                  call.passOn = true;
              } else {
                  later.push_back(call);
              }
          }))
    {
    }
    ~FileDialogsLeaveNoActiveWindow() { SetDialogHandler(previous_); }
    FileDialogsLeaveNoActiveWindow(const FileDialogsLeaveNoActiveWindow&) = delete;
    FileDialogsLeaveNoActiveWindow& operator=(const FileDialogsLeaveNoActiveWindow&) = delete;

    std::vector<DialogCall> later;

private:
    std::vector<AnsiString> files_;
    bool passed_ = false;
    DialogHandler previous_;
};

}  // namespace

TEST(WindowBoxFocus, EveryBoxHoldsTheWindowOffAndThenTheKeyboardIsThePadsTable)
{
    Window w;
    int exits = 0;
    w->Exit->OnClick = [&exits](TObject*) { ++exits; };  // the real one ends the process
    const AnsiString folder = Config->ProjectDir;
    const AnsiString consistency = folder + "consistency.pad", answerUnits = folder + "units.pad";
    PadTestFiles::Write(consistency, PadFile("4", "10", "5' * 3' + 2'\n10' + 2'\n"));
    PadTestFiles::Write(answerUnits, PadFile("4", "0", "12'\n100\n250\nTOTAL\n"));
    const auto calculate = [&w] {
        QApplication::setActiveWindow(nullptr);
        w->Btn_CalculateOnly->Click();
    };
    const struct {
        const char* name;
        const char* pad;       // typed first
        AnsiString file;       // what the file dialog chooses
        std::function<void()> open;
        Qt::Key answer;
        QStringList after;     // the pad's first lines once the box is answered
    } rows[] = {
        // The save question of New, kept from by Escape (Cancel: keep my work).
        {"save question of New", "12 + 3", "", [&w] { w.Key(Qt::Key_N, Qt::ControlModifier); }, Qt::Key_Escape, {"12 + 3"}},
        {"save question after the Open dialog", "1+1", consistency, [&w] { w->Open1->Click(); }, Qt::Key_Escape, {"1+1"}},
        {"consistency warning of Open's calculation", "", consistency, [&w] { w->Open1->Click(); }, Qt::Key_Return,
         {"5' * 3' + 2'", "10' + 2'"}},
        {"answer units warning of Open's calculation", "", answerUnits, [&w] { w->Open1->Click(); }, Qt::Key_Return,
         {"12'", "100", "250", "TOTAL"}},
        {"File Open Error", "", folder + "missing.pad", [&w] { w->Open1->Click(); }, Qt::Key_Return, {}},
        {"File Creation Error", "7", folder + "no/such/folder.pad", [&w] { w->Save1->Click(); }, Qt::Key_Return, {"7"}},
        {"answer error of a total", "x = TOTAL * 2", "", [&w] {
             QApplication::setActiveWindow(nullptr);
             w->Btn_CalculateAndTotal->Click();
         }, Qt::Key_Return, {"x = TOTAL * 2"}},
        {"keypad help", "", "", [&w] {
             QApplication::setActiveWindow(nullptr);
             w->BitBtnHelp->Click();
         }, Qt::Key_Return, {}},
        // A run's error box after the calculate button was clicked.
        {"macro error", "foo + 1", "", calculate, Qt::Key_Return, {"foo + 1"}},
        {"an estimate function's macro error", "x = get_zr_qty(\"a\")", "", calculate, Qt::Key_Return, {}},
        {"a run's message", "message \"Measure twice\"", "", calculate, Qt::Key_Return, {}},
        {"a run's yes/no question", "askyesno \"Go on?\", yn", "", calculate, Qt::Key_Return, {}},
        {"a run's input form", "ask \"Wall length in mm\", wall", "", calculate, Qt::Key_Return, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        w->PadUnchanged = true;
        w->New1->Click();
        w.Type(QString::fromLatin1(row.pad));
        QWindow* window = w->windowHandle();
        const QPoint onPad = w->RichEdit_Main->viewport()->mapTo(&*w, QPoint(4, 4));
        FileDialogsLeaveNoActiveWindow fileDialogs({row.file});
        QStringList underTheBox;
        RunWithBox(row.open, [&](QWidget& box) {
            EXPECT_TRUE(ActivationReturn::HeldOff(&box, &*w)) << "the box holds nothing off";
            EXPECT_EQ(box.windowHandle()->transientParent(), window) << "the box stands over no window";
            underTheBox = w.Pad();
            // A click on the pad, and keys: a digit, Enter, and the menu commands New and Open.
            QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, onPad);
            for (const Qt::Key key : {Qt::Key_9, Qt::Key_Return}) QTest::keyClick(window, key);
            QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
            QTest::keyClick(window, Qt::Key_O, Qt::ControlModifier);
            EXPECT_EQ(w.Pad(), underTheBox) << "the pad took what the box holds off";
            EXPECT_TRUE(box.isVisible());
            QTest::keyClick(box.windowHandle(), row.answer);
        });
        for (const DialogCall& call : fileDialogs.later) ADD_FAILURE() << "a box too many: " << call.text.toStdString();
        EXPECT_EQ(w.Pad().mid(0, static_cast<int>(row.after.size())), row.after) << w.Pad().join('|').toStdString();

        // Once the box is answered the keyboard is the pad's.
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), w->RichEdit_Main);
        QWindow* typing = QGuiApplication::focusWindow();
        if (!typing) {
            ADD_FAILURE() << "no window has the keyboard";
            continue;
        }
        const qsizetype spaces = w->RichEdit_Main->Text().count(QLatin1Char(' '));
        QTest::keyClick(typing, Qt::Key_Space);
        EXPECT_EQ(w->RichEdit_Main->Text().count(QLatin1Char(' ')), spaces + 1) << w.Pad().join('|').toStdString();
        EXPECT_EQ(exits, 0);
    }
}

// Whatever changed the pad while a box of its calculation waited (text an input method sends to
// the pad, which no box holds off; another pad opened by a command that got through), the
// calculation's answers and its TOTAL are not written over the lines by their old numbers: the
// answers go, as an edit takes them away, and the pad stays as the user left it.
TEST(WindowBoxFocus, ARunWritesOnlyToThePadItCalculatedTable)
{
    Window w;
    const AnsiString folder = Config->ProjectDir;
    const AnsiString consistency = folder + "consistency.pad", answerUnits = folder + "units.pad",
                     other = folder + "other.pad";
    PadTestFiles::Write(consistency, PadFile("4", "10", "5' * 3' + 2'\n10' + 2'\n"));
    PadTestFiles::Write(answerUnits, PadFile("4", "0", "12'\n100\n250\nTOTAL\n"));
    PadTestFiles::Write(other, PadFile("1", "0", "100 + 200\n3 * 4\n"));
    const struct {
        const char* name;
        AnsiString file;
        std::function<void()> change;  // while the box waits
        QStringList pad;               // the pad once the box is answered
    } rows[] = {
        {"a line an input method types under the answer units warning", answerUnits, [&w] {
             w->RichEdit_Main->SetSelStart(0);
             QInputMethodEvent typed;
             typed.setCommitString(QStringLiteral("5000\n"));
             QApplication::sendEvent(w->RichEdit_Main, &typed);
         }, {"5000", "12'", "100", "250", "TOTAL"}},
        {"another pad opened under the consistency warning", consistency, [&w] { w->Open1->Click(); },
         {"100 + 200", "3 * 4"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        w->PadUnchanged = true;
        w->New1->Click();
        FileDialogsLeaveNoActiveWindow fileDialogs({row.file, other});
        RunWithBox([&w] { w->Open1->Click(); }, [&](QWidget& box) {
            row.change();
            QTest::keyClick(box.windowHandle(), Qt::Key_Return);
        });
        QStringList pad = w.Pad();
        while (!pad.isEmpty() && pad.back().isEmpty()) pad.removeLast();
        EXPECT_EQ(pad, row.pad) << w.Pad().join('|').toStdString();
        EXPECT_TRUE(w.Answers().join("").isEmpty()) << w.Answers().join('|').toStdString();
        EXPECT_TRUE(w.BoldAnswers().isEmpty());
    }
}
