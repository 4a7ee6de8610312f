// Find and Replace as the user drives them: the Edit menu opens the modeless dialogs, the user
// types into them and presses their buttons.
#include "tests/app/mainform_fixture.h"
#include "tests/common/DialogRecorder.h"

#include "app/WindowRunWatch.h"
#include "platform/vcl/Dialogs.h"

#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

void Options(TFindDialog* dialog, TFindOptions options)
{
    dialog->MatchCaseBox()->setChecked((options & frMatchCase) != 0);
    dialog->WholeWordBox()->setChecked((options & frWholeWord) != 0);
}

}  // namespace

TEST(Find, FindsForwardFromTheCaretOrBehindTheSelection)
{
    const QString million = QString(1000000, 'x') + "end";
    const QString longer = QString(50000, 'q');  // longer than a line edit holds by default
    const struct {
        QString pad;
        int selStart;
        int selLength;
        QString what;
        TFindOptions options;
        int found;  // -1: "Search text not found."
        int caretAfter;
    } rows[] = {
        {"a+b a+b", 0, 0, "a+b", 0, 0, 3},
        {"a+b a+b", 0, 3, "a+b", 0, 4, 7},  // a selected match: the next one
        {"a+b a+b", 4, 3, "a+b", 0, -1, 7},  // the caret stays behind the selection
        {"a b", 2, 0, "a", 0, -1, 2},        // matches before the caret are not found
        {"x = 1\nX = 2", 0, 0, "X", frMatchCase, 6, 7},
        {"x = 1\nX = 2", 0, 0, "X", 0, 0, 1},
        {"ab a", 0, 0, "a", frWholeWord, 3, 4},
        {"my_var my", 0, 0, "my", frWholeWord, 7, 9},
        {"ab", 0, 0, "abcdef", 0, -1, 0},   // longer than the pad
        {"", 0, 0, "a", 0, -1, 0},
        {"a.*b a", 0, 0, ".*", 0, 1, 3},     // no patterns: the text itself
        {"\tx\t", 0, 0, "\tx", 0, 0, 2},
        {million, 0, 0, "end", 0, 1000000, 1000003},
        {QString(40000, 'q'), 0, 0, longer, 0, -1, 0},  // the whole text is looked for
        {"a" + longer, 0, 0, longer, 0, 1, 50001},
    };
    for (const auto& r : rows) {
        DialogRecorder dialogs;
        Window w;
        w.SetPad(r.pad);
        w->RichEdit_Main->SetSelStart(r.selStart);
        w->RichEdit_Main->SetSelLength(r.selLength);
        w->Find1->Click();
        ASSERT_TRUE(w->FindDialog->IsOpen());
        w->FindDialog->FindEdit()->setText(r.what);
        Options(w->FindDialog, r.options);
        w->FindDialog->FindNextButton()->click();
        const std::string name = (r.pad.left(20) + " / " + r.what.left(20)).toStdString();
        if (r.found < 0) {
            ASSERT_EQ(dialogs.calls.size(), 1u) << name;
            EXPECT_EQ(dialogs.calls[0].text, "Search text not found.");
            EXPECT_EQ(dialogs.calls[0].caption, "Find Text");
            EXPECT_EQ(w->RichEdit_Main->SelLength(), 0) << name;
        } else {
            EXPECT_TRUE(dialogs.calls.empty()) << name;
            EXPECT_EQ(w->RichEdit_Main->SelStart(), r.found) << name;
            EXPECT_EQ(w->RichEdit_Main->SelLength(), r.what.size()) << name;
        }
        EXPECT_EQ(w->RichEdit_Main->textCursor().position(), r.caretAfter) << name;
        EXPECT_EQ(w->RichEdit_Main->Text(), r.pad) << name;
        EXPECT_TRUE(w->FindDialog->IsOpen()) << "the dialog stays open beside the pad";
    }
}

TEST(Find, AnEmptyFindTextCannotBeSearched)
{
    DialogRecorder dialogs;
    Window w;
    w.SetPad("abc");
    w->Find1->Click();
    w->Replace1->Click();
    for (TFindDialog* dialog : {w->FindDialog, static_cast<TFindDialog*>(w->ReplaceDialog)}) {
        dialog->FindEdit()->clear();
        EXPECT_FALSE(dialog->FindNextButton()->isEnabled());
        dialog->FindNextButton()->click();
    }
    EXPECT_FALSE(w->ReplaceDialog->ReplaceAllButton()->isEnabled());
    EXPECT_FALSE(w->ReplaceDialog->ReplaceButton()->isEnabled());
    w->ReplaceDialog->ReplaceAllButton()->click();
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(w.Pad(), QStringList{"abc"});
    w->FindDialog->FindEdit()->setText("b");
    EXPECT_TRUE(w->FindDialog->FindNextButton()->isEnabled());
}

TEST(Replace, ReplaceAllFromTheCaret)
{
    const QString longer = QString(50000, 'q');  // longer than a line edit holds by default
    const struct {
        QString pad;
        int caret;
        QString what;
        QString with;
        TFindOptions options;
        QString result;
        int count;
    } rows[] = {
        {"a a a", 0, "a", "bb", 0, "bb bb bb", 3},
        {"a a", 0, "a", "aa", 0, "aa aa", 2},  // the replacement holds the find text: it ends
        {"aaa", 0, "a", "aa", 0, "aaaaaa", 3},
        {"111", 0, "11", "2", 0, "21", 1},  // matches that overlap: the next search starts behind the match
        {"aaaa", 0, "aa", "b", 0, "bb", 2},
        {"a a a", 1, "a", "b", 0, "a b b", 2},  // matches before the caret stay
        {"abc", 0, "z", "y", 0, "abc", 0},
        {"A a", 0, "a", "b", frMatchCase, "A b", 1},
        {"A a", 0, "a", "b", 0, "b b", 2},
        {"a aa a", 0, "a", "", frWholeWord, " aa ", 2},
        {"a a", 0, "a", "b", frWholeWord, "b b", 2},
        {"x-x", 0, "x", "x1", frWholeWord, "x1-x1", 2},
        {"xx", 0, "x", "", frWholeWord, "xx", 0},
        {"1+2\n3+4\n5+6", 0, "+", "*", 0, "1*2\n3*4\n5*6", 3},
        {"\t1\t", 0, "\t", "    ", 0, "    1    ", 2},
        {QString(40000, 'q'), 0, longer, "z", 0, QString(40000, 'q'), 0},  // no match: nothing changes
        {"a-a", 0, "a", longer, 0, longer + "-" + longer, 2},
    };
    for (const auto& r : rows) {
        DialogRecorder dialogs;
        Window w;
        w.SetPad(r.pad);
        w->Btn_CalculateOnly->Click();
        dialogs.calls.clear();  // what the calculation said of the pad
        w->RichEdit_Main->SetSelStart(r.caret);
        w->Replace1->Click();
        w->ReplaceDialog->FindEdit()->setText(r.what);
        w->ReplaceDialog->ReplaceEdit()->setText(r.with);
        Options(w->ReplaceDialog, r.options);
        w->ReplaceDialog->ReplaceAllButton()->click();
        const std::string name = (r.pad.left(20) + " / " + r.what.left(20) + " / " + r.with.left(20)).toStdString();
        EXPECT_EQ(w.Pad().join('\n').toStdString(), r.result.toStdString()) << name;
        ASSERT_EQ(dialogs.calls.size(), 1u) << name;
        EXPECT_EQ(dialogs.calls[0].text.toStdString(),
                  QString("Finished searching text.\r\n%1 replacements made.").arg(r.count).toStdString())
            << name;
        EXPECT_EQ(dialogs.calls[0].caption, "Replace Text");
        EXPECT_EQ(w->ReplacementCount, 0);
        // The dialog closed, and its close emptied the answers and reset the panes.
        EXPECT_FALSE(w->ReplaceDialog->IsOpen()) << name;
        EXPECT_TRUE(w.Answers().join("").isEmpty()) << name;
        EXPECT_EQ(w->RichEdit_Main->SelStart(), 0) << name;
        EXPECT_EQ(w->RichEdit_LineNo->Lines.Count(), w->RichEdit_Main->LineCount()) << name;
        EXPECT_EQ(w->PadUnchanged, r.count == 0) << name << ": New must ask before an edited pad goes";
    }
}

TEST(Replace, TheReplaceButtonReplacesWhateverIsSelected)
{
    const struct {
        int selStart;
        int selLength;
        QString result;
    } rows[] = {
        {0, 0, "1+2 +4"},    // nothing selected: nothing changes
        {4, 2, "1+2 x"},     // the selection, though it is not the find text
        {0, 6, "x"},
    };
    for (const auto& r : rows) {
        DialogRecorder dialogs;
        Window w;
        w.SetPad("1+2 +4");
        w->Btn_CalculateOnly->Click();
        w->Replace1->Click();
        w->ReplaceDialog->FindEdit()->setText("zzz");
        w->ReplaceDialog->ReplaceEdit()->setText("x");
        w->RichEdit_Main->SetSelStart(r.selStart);
        w->RichEdit_Main->SetSelLength(r.selLength);
        w->ReplaceDialog->ReplaceButton()->click();
        EXPECT_EQ(w.Pad().join('\n'), r.result) << r.selStart;
        EXPECT_EQ(w->RichEdit_Main->SelLength(), 0);
        EXPECT_TRUE(dialogs.calls.empty());
        EXPECT_TRUE(w->ReplaceDialog->IsOpen());
        EXPECT_EQ(w->PadUnchanged, r.selLength == 0);
        // A replacement empties the answers at once; closing the dialog empties them in any case.
        EXPECT_EQ(w.Answers().value(0), r.selLength == 0 ? "7" : "") << r.selStart;
        w->ReplaceDialog->CancelButton()->click();
        EXPECT_TRUE(w.Answers().join("").isEmpty()) << r.selStart;
    }
}

// Replace All clicked while a calculation runs does nothing: had it replaced, the run's answers
// would come up beside the changed lines (10 beside 7+7), and Copy All and Print would carry the
// wrong pairs. The dialog stays open, and once the run has ended it replaces as ever.
TEST(Replace, ReplaceAllWaitsForTheCalculationToEnd)
{
    DialogRecorder dialogs;
    Window w;
    w.SetPad("5+5\n5*5\nfor(i=1;i<=200000;i=i+1)\nendfor\n1");
    w->Replace1->Click();
    w->ReplaceDialog->FindEdit()->setText("5");
    w->ReplaceDialog->ReplaceEdit()->setText("7");
    // Clicked as soon as the run lets the window's events through.
    bool clickedDuringRun = false;
    QTimer click;
    click.setInterval(0);
    QObject::connect(&click, &QTimer::timeout, [&] {
        if (!w->PadRunWatch()->Running() || clickedDuringRun) return;
        clickedDuringRun = true;
        QTest::mouseClick(w->ReplaceDialog->ReplaceAllButton(), Qt::LeftButton);
    });
    click.start();
    w->Btn_CalculateOnly->Click();
    click.stop();
    ASSERT_TRUE(clickedDuringRun) << "the run ended before the click";
    for (const DialogCall& call : dialogs.calls) ADD_FAILURE() << "a box during the run: " << call.text.toStdString();
    EXPECT_EQ(w.Pad().mid(0, 2), (QStringList{"5+5", "5*5"}));
    EXPECT_EQ(w.Answers().mid(0, 2), (QStringList{"10", "25"}));
    EXPECT_TRUE(w->ReplaceDialog->IsOpen());

    w->RichEdit_Main->SetSelStart(0);  // the calculation left the caret at the pad's end
    QTest::mouseClick(w->ReplaceDialog->ReplaceAllButton(), Qt::LeftButton);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_TRUE(dialogs.calls[0].text.endsWith("4 replacements made.")) << dialogs.calls[0].text.toStdString();
    EXPECT_EQ(w.Pad().mid(0, 2), (QStringList{"7+7", "7*7"}));
    EXPECT_TRUE(w.Answers().join("").isEmpty());
}

TEST(Replace, ManyMatchesInALongLineEndQuickly)
{
    DialogRecorder dialogs;
    Window w;
    w.SetPad(QString(50000, 'a'));
    w->Replace1->Click();
    w->ReplaceDialog->FindEdit()->setText("a");
    w->ReplaceDialog->ReplaceEdit()->setText("ba");
    QElapsedTimer timer;
    timer.start();
    w->ReplaceDialog->ReplaceAllButton()->click();
    EXPECT_LT(timer.elapsed(), 5000);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_TRUE(dialogs.calls[0].text.endsWith("50000 replacements made."));
    EXPECT_EQ(w->RichEdit_Main->LastPosition(), 100000);
}

TEST(Find, TheShortcutsOpenTheDialogsAndPrint)
{
    DialogRecorder dialogs;
    Window w;
    QApplication::setActiveWindow(&*w);
    w->RichEdit_Main->setFocus();
    w.Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(w->FindDialog->IsOpen());
    w->FindDialog->CloseDialog();
    QApplication::setActiveWindow(&*w);
    w->RichEdit_Main->setFocus();
    w.Key(Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(w->ReplaceDialog->IsOpen());
    EXPECT_FALSE(w->ReplaceDialog->Window()->isModal());
    // The replace dialog's Find Next has no event to run.
    w->ReplaceDialog->FindEdit()->setText("a");
    w->ReplaceDialog->FindNextButton()->click();
    EXPECT_TRUE(dialogs.calls.empty());
    w->ReplaceDialog->CloseDialog();
    QApplication::setActiveWindow(&*w);
    w->RichEdit_Main->setFocus();
    w.Key(Qt::Key_P, Qt::ControlModifier);  // cancelled by the unscripted answer
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].kind, DialogCall::Kind::Print);
}
