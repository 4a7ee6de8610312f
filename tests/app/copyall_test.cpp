// The Edit menu as the table lays it out, and Copy All: the pad as plain text on the clipboard,
// answers lined up by tabs, the pad itself untouched.
#include "tests/app/mainform_fixture.h"
#include "tests/common/DialogRecorder.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <utility>
#include <vector>
#include <gtest/gtest.h>

namespace {

const QString kRule(79, QLatin1Char('_'));

QString ClipboardText() { return QGuiApplication::clipboard()->text(); }

}  // namespace

TEST(EditMenu, ItemsCaptionsAndShortcutsInOrder)
{
    Window w;
    const struct {
        TMenuItem* item;
        const char* caption;
        const char* shortcut;
        bool visible;
    } rows[] = {
        {w->Cut1, "Cut", "Ctrl+X", true},          {w->Copy1, "Copy", "Ctrl+C", true},
        {w->Paste1, "Paste", "Ctrl+V", true},      {w->N1, "-", "", false},
        {w->CopyAll1, "Copy All", "Ctrl+Alt+C", true}, {w->N3, "-", "", true},
        {w->Find1, "Find", "Ctrl+F", true},        {w->Replace1, "Replace", "Ctrl+H", true},
    };
    ASSERT_EQ(w->MainMenu1->Items(1), w->Edit1);
    EXPECT_EQ(w->Edit1->Caption(), "Edit");
    ASSERT_EQ(w->Edit1->Count(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(w->Edit1->Items(i), rows[i].item) << i;
        EXPECT_EQ(rows[i].item->Caption(), rows[i].caption) << i;
        EXPECT_EQ(rows[i].item->ShortCut(), QKeySequence(QString::fromLatin1(rows[i].shortcut))) << i;
        EXPECT_EQ(rows[i].item->Visible(), rows[i].visible) << i;
    }
    // Print stands between Save As... and Exit.
    EXPECT_EQ(w->File1->Items(3), w->SaveAs1);
    EXPECT_EQ(w->File1->Items(4), w->Print1);
    EXPECT_EQ(w->File1->Items(5), w->Exit1);
    EXPECT_EQ(w->Print1->Caption(), "Print");
    EXPECT_EQ(w->Print1->ShortCut(), QKeySequence(QStringLiteral("Ctrl+P")));
}

TEST(CopyAll, TabsToTheAnswerColumn)
{
    Window w;
    const struct {
        int width;
        int length;
        int tabs;
    } rows[] = {
        {8, 0, 8}, {8, 7, 8}, {8, 8, 7}, {8, 11, 7}, {8, 55, 2}, {8, 56, 1}, {8, 63, 1}, {8, 70, 1},
        {8, 1000000, 1}, {16, 0, 3}, {16, 47, 1}, {16, 48, 1}, {4, 0, 18}, {1, 0, 78}, {1, 78, 1},
        {0, 0, 8},  // a width never read from the settings counts as 8
    };
    for (const auto& r : rows) {
        Config->SpacesPerTab = r.width;
        const AnsiString tabs = w->TabsToAnswerColumn(AnsiString(static_cast<size_t>(r.length), 'x'));
        EXPECT_EQ(tabs, AnsiString(static_cast<size_t>(r.tabs), '\t')) << r.width << " " << r.length;
    }
    Config->SpacesPerTab = 8;
}

TEST(CopyAll, PlainTextOfTheCalculatedPad)
{
    DialogRecorder dialogs;
    Window w;
    Config->SpacesPerTab = 8;
    w->Edit_Date->SetText("7 Dec 2026");
    w->Edit_Description->SetText("Deck");
    w.SetPad("1+2\n\t4*2\n\n3\n\n\n");
    w->Btn_CalculateAndTotal->Click();
    ASSERT_EQ(w.Answers().value(4), "14");
    const int caret = 3;
    w->RichEdit_Main->SetSelStart(caret);
    w->RichEdit_Main->SetSelLength(2);
    const QString padBefore = w->RichEdit_Main->Text();
    const QStringList answersBefore = w.Answers();

    w->CopyAll1->Click();
    const QStringList expected = {
        "7 Dec 2026",
        "Deck",
        kRule,
        "Calculation\t\t\t\t\t\t\tAnswer",
        kRule,
        "1+2" + QString(8, '\t') + "3",
        "    4*2" + QString(8, '\t') + "8",
        QString(8, '\t'),
        "3" + QString(8, '\t') + "3",
        "TOTAL\t\t\t\t\t\t\t\t14",  // the added TOTAL line is copied with its answer
    };
    EXPECT_EQ(ClipboardText(), expected.join('\n') + '\n');
    EXPECT_EQ(w->MemoOut->toPlainText(), expected.join('\n') + '\n');
    // Only the clipboard and the hidden memo change.
    EXPECT_EQ(w->RichEdit_Main->Text(), padBefore);
    EXPECT_EQ(w->RichEdit_Main->SelStart(), caret);
    EXPECT_EQ(w->RichEdit_Main->SelLength(), 2);
    EXPECT_EQ(w.Answers(), answersBefore);
    EXPECT_FALSE(w->MemoOut->isVisible());
    EXPECT_EQ(w->MemoOut->textCursor().position(), 1);
    EXPECT_FALSE(w->MemoOut->textCursor().hasSelection());
}

TEST(CopyAll, TheShortcutInThePadCopiesAndKeepsTheAnswers)
{
    DialogRecorder dialogs;
    Window w;
    w->activateWindow();
    QApplication::setActiveWindow(&*w);
    // The chord as a keyboard sends it: the modifiers go down first and come up in any order; the
    // pad has their presses and releases, but the menu takes C's press.
    const Qt::KeyboardModifiers both = Qt::ControlModifier | Qt::AltModifier;
    const struct {
        const char* order;
        std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> releases;
    } chords[] = {
        {"C, Alt, Ctrl", {{Qt::Key_C, both}, {Qt::Key_Alt, both}, {Qt::Key_Control, Qt::ControlModifier}}},
        {"Alt, C, Ctrl", {{Qt::Key_Alt, both}, {Qt::Key_C, Qt::ControlModifier}, {Qt::Key_Control, Qt::ControlModifier}}},
        {"Ctrl, Alt, C", {{Qt::Key_Control, both}, {Qt::Key_Alt, Qt::AltModifier}, {Qt::Key_C, Qt::NoModifier}}},
    };
    for (const auto& chord : chords) {
        w.SetPad("2*3");
        w->Btn_CalculateOnly->Click();
        w->PadUnchanged = true;
        w->RichEdit_Main->setFocus();
        QGuiApplication::clipboard()->clear();
        QTest::keyPress(w->RichEdit_Main, Qt::Key_Control, Qt::ControlModifier);
        QTest::keyPress(w->RichEdit_Main, Qt::Key_Alt, both);
        QTest::keyPress(w->RichEdit_Main, Qt::Key_C, both);
        for (const auto& [key, modifiers] : chord.releases) QTest::keyRelease(w->RichEdit_Main, key, modifiers);
        EXPECT_TRUE(ClipboardText().contains("2*3" + QString(8, '\t') + "6")) << chord.order;
        // Copying is no edit of the pad.
        EXPECT_EQ(w.Answers().value(0), "6") << chord.order;
        EXPECT_TRUE(w->PadUnchanged) << chord.order;
        EXPECT_EQ(w.Pad(), QStringList{"2*3"}) << chord.order;
    }
}

TEST(CopyAll, AMillionCharacterLineAndAnEmptyPad)
{
    DialogRecorder dialogs;
    Window w;
    w->CopyAll1->Click();
    EXPECT_EQ(ClipboardText().count('\n'), 5) << "header only: an empty pad has no rows";
    const QString line(1000000, QLatin1Char('7'));
    w.SetPad(line);
    w->CopyAll1->Click();
    EXPECT_TRUE(ClipboardText().endsWith(line + "\t\n"));
    EXPECT_EQ(w->RichEdit_Main->Text(), line);
}
