// Editing the pad as in any editor: undo and redo with the colours kept, the wheel of a touchpad,
// captions and the smallest window.
#include "tests/app/mainform_fixture.h"
#include "tests/common/DialogRecorder.h"

#include <gtest/gtest.h>

namespace {

TColor ShownColour(const Window& w, int line, int column)
{
    return FromQColor(DisplayedFormat(*w->RichEdit_Main, w->RichEdit_Main->LineIndex(line) + column).foreground().color());
}

}  // namespace

TEST(WindowEdit, UndoAndRedoTakeBackEditsAndKeepTheColours)
{
    DialogRecorder dialogs;
    Window w;
    w.Type("x = 12\n");
    w->Btn_CalculateOnly->Click();
    w.Type("y = 3\n");
    w->BitBtn7->Click();  // the keypad's edits are edits like the others
    ASSERT_EQ(w.Pad(), (QStringList{"x = 12", "y = 3", "7"}));

    w.Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Pad(), (QStringList{"x = 12", "y = 3"}));
    w.Key(Qt::Key_Z, Qt::ControlModifier);
    w.Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Pad().value(0), "x = 12");
    EXPECT_EQ(w->RichEdit_Main->LineCount(), w->RichEdit_LineNo->LineCount());
    w.Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    w.Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.Pad().value(1), "y = 3");
    EXPECT_EQ(ShownColour(w, 1, 2), clPurple);
    EXPECT_EQ(ShownColour(w, 1, 4), clBlue);
    EXPECT_EQ(ShownColour(w, 0, 4), clBlue);
    EXPECT_EQ(w->RichEdit_Main->LineCount(), w->RichEdit_LineNo->LineCount());
    EXPECT_FALSE(w->PadUnchanged);
    EXPECT_TRUE(w.Answers().join("").isEmpty());  // an undo is an edit: old answers go
}

TEST(WindowEdit, ASelectionSurvivesTheColouring)
{
    Window w;
    w.Type("a = 1 + 2");
    w.Key(Qt::Key_Left, Qt::ShiftModifier);
    w.Key(Qt::Key_Left, Qt::ShiftModifier);
    w.Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(w->RichEdit_Main->SelLength(), 3);
    w.Type("4");  // replaces the selection and colours the line
    EXPECT_EQ(w.Pad(), QStringList{"a = 1 4"});
    EXPECT_EQ(ShownColour(w, 0, 6), clBlue);
}
