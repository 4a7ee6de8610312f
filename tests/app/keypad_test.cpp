// The keypad, the function buttons, the snippet combos and the scientific panel, pressed as the
// user presses them.
#include "platform/win/ExtMessageBox.h"
#include "tests/app/files_form.h"
#include "tests/common/DialogRecorder.h"

#include <gtest/gtest.h>

namespace {

using ButtonOf = TButton* (*)(TfrmMainProg&);
#define BUTTON(name) #name, [](TfrmMainProg& f) -> TButton* { return f.name; }

struct KeyCase {
    const char* button;
    ButtonOf of;
    const char* pad;  // lines separated by '\n'
    int caret;        // position in the pad
    const char* after;
    int caretAfter;  // -1: not checked
    bool edited;
};

}  // namespace

TEST(Keypad, ButtonsTable)
{
    const KeyCase cases[] = {
        {BUTTON(Btn_Sin), "", 0, "sin()", 4, true},
        {BUTTON(BitBtn5), "1234", 2, "12534", 3, true},
        {BUTTON(BitBtn0), "", 0, "0", 1, true},
        {BUTTON(BitBtnPlus), "3", 1, "3 + ", 4, true},
        {BUTTON(BitBtnMinus), "4", 0, " - 4", 3, true},
        {BUTTON(BitBtnDoubleQuote), "6", 1, "6\"", 2, true},
        {BUTTON(BitBtnQuote), "6", 1, "6'", 2, true},
        {BUTTON(BitBtnUnaryMinus), "6 * ", 4, "6 * (-)", 7, true},
        {BUTTON(Btn_ATan2), "x", 1, "xatan2(,)", 7, true},
        {BUTTON(Btn_Log), "", 0, "ln()", 3, true},
        {BUTTON(Btn_Log10), "2*", 2, "2*log10()", 8, true},
        {BUTTON(BitBtn10), "2*", 2, "2*PI", 4, true},
        {BUTTON(Btn_XSquared), "3", 1, "3^2", 3, true},
        {BUTTON(BitBtnPairBrackets), "3 + 4", 2, "(3 + 4)", -1, true},
        {BUTTON(BitBtnPairBrackets), "3 + 4", 5, "(3 + 4)", -1, true},
        {BUTTON(Btn_AllSquared), "3 + 4", 0, "(3 + 4)^2", -1, true},
        {BUTTON(BitBtnBackspace), "abc", 0, "abc", 0, false},
        {BUTTON(BitBtnBackspace), "abc", 2, "ac", 1, true},
        {BUTTON(BitBtnBackspace), "1\n22\n3", 2, "1\n22\n3", 2, false},  // start of a line
        {BUTTON(BitBtn9), "1\n22\n3", 3, "1\n292\n3", 4, true},
        {BUTTON(BitBtnBackspace), "1\n22\n3", 4, "1\n2\n3", 3, true},
        {BUTTON(Btn_Sqrt), "\u00E9", 1, "\u00E9sqrt()", 6, true},
    };
    for (const KeyCase& c : cases) {
        ShownForm f;
        f->RichEdit_Main->SetText(QString::fromUtf8(c.pad));
        f->RichEdit_Main->SetSelStart(c.caret);
        f->PadUnchanged = true;
        c.of(*f)->Click();
        const QString where = QString("%1 on \"%2\" at %3").arg(c.button, c.pad).arg(c.caret);
        EXPECT_EQ(f->RichEdit_Main->Text(), QString::fromUtf8(c.after)) << where.toStdString();
        if (c.caretAfter >= 0) {
            EXPECT_EQ(f->RichEdit_Main->SelStart(), c.caretAfter) << where.toStdString();
        }
        EXPECT_EQ(f->PadUnchanged, !c.edited) << where.toStdString();
    }
}

// A character the pad files cannot hold stays in the pane while a button edits its line.
TEST(Keypad, EditsKeepCharactersOutsideThePadFilesCodePage)
{
    ShownForm f;
    f->RichEdit_Main->SetText(QString::fromUtf8("\u03C0r\u00B2"));
    f->RichEdit_Main->SetSelStart(3);
    f->BitBtnTimes->Click();
    EXPECT_EQ(f->RichEdit_Main->Text(), QString::fromUtf8("\u03C0r\u00B2*"));
}

// With a selection the caret's column is counted from the caret's line but the selection's start:
// a selection reaching back into an earlier line gives a negative column, and the button must
// then leave that earlier line alone.
TEST(Keypad, BackspaceWithASelectionTable)
{
    const struct {
        const char* pad;
        int anchor;
        int caret;
        const char* after;
    } cases[] = {
        {"12345\nabc", 3, 8, "12345\nabc"},  // from line 1 into line 2: nothing to delete
        {"12345\nabc", 1, 9, "12345\nabc"},
        {"12345\nabc", 8, 3, "1245\nabc"},   // dragged upwards: the caret's own line
        {"12345\nabc", 2, 4, "1345\nabc"},   // within one line
    };
    for (const auto& c : cases) {
        ShownForm f;
        f->RichEdit_Main->SetText(QString::fromUtf8(c.pad));
        QTextCursor cursor(f->RichEdit_Main->document());
        cursor.setPosition(c.anchor);
        cursor.setPosition(c.caret, QTextCursor::KeepAnchor);
        f->RichEdit_Main->setTextCursor(cursor);
        f->BitBtnBackspace->Click();
        EXPECT_EQ(f->RichEdit_Main->Text(), QString::fromUtf8(c.after)) << c.pad << " " << c.anchor << "-" << c.caret;
    }
}

struct SnippetCase {
    const char* name;
    TComboBox* TfrmMainProg::*combo;
    int item;
    const char* after;
    int caretAfter;
};

TEST(Keypad, SnippetsTable)
{
    const SnippetCase cases[] = {
        {"MsgBox", &TfrmMainProg::Cmb_General, 0, "Msgbox \"\"", 8},
        {"Ask", &TfrmMainProg::Cmb_General, 1, "Ask \"\",", 5},
        {"AskYesNo", &TfrmMainProg::Cmb_General, 2, "AskYesNo \"\",", 10},
        {"Val( )", &TfrmMainProg::Cmb_General, 3, "Val( )", 6},
        {"if", &TfrmMainProg::Cmb_Conditional, 0, "if() then\nendif", 3},
        {"elseif", &TfrmMainProg::Cmb_Conditional, 1, "elseif() then", 7},
        {"else", &TfrmMainProg::Cmb_Conditional, 2, "else", 4},
        {"not", &TfrmMainProg::Cmb_Conditional, 11, "not()", 4},
        {"for", &TfrmMainProg::Cmb_Loop, 0, "for(;;)\nendfor", 4},
        {"while", &TfrmMainProg::Cmb_Loop, 1, "while()\nendwhile", 6},
        {"the empty item", &TfrmMainProg::Cmb_Loop, 2, "", 0},
    };
    for (const SnippetCase& c : cases) {
        ShownForm f;
        ((*f).*c.combo)->Choose(c.item);
        EXPECT_EQ(f->RichEdit_Main->Text(), QString::fromUtf8(c.after)) << c.name;
        EXPECT_EQ(f->RichEdit_Main->SelStart(), c.caretAfter) << c.name;
    }
}

TEST(Keypad, ASnippetOfTwoLinesNumbersBothLines)
{
    ShownForm f;
    f->RichEdit_Main->SetText("x = 1");
    f->RichEdit_Main->SetSelStart(5);
    f->NumberedLineCount = 0;
    f->UpdateLineNumbers();
    f->Cmb_Loop->Choose(0);
    EXPECT_EQ(f->RichEdit_Main->Text(), QString("x = 1for(;;)\nendfor"));
    EXPECT_EQ(ShownForm::Lines(f->RichEdit_LineNo), (QStringList{"1", "2"}));
}

TEST(Keypad, ScientificPanelOpensToWholeLines)
{
    const struct {
        int height;
        int lineHeight;
        int opened;
    } cases[] = {{183, 20, 200}, {180, 20, 180}, {181, 20, 181}, {125, 17, 136}};
    for (const auto& c : cases) {
        ShownForm f;
        SetHeight(f->Panel_Scientific, c.height);
        f->LineHeight = c.lineHeight;
        f->Btn_Scientific->Click();
        EXPECT_TRUE(f->ScientificShown);
        EXPECT_TRUE(IsVisible(f->Panel_Scientific));
        EXPECT_EQ(f->Panel_Scientific->height(), c.opened) << c.height << " / " << c.lineHeight;
        EXPECT_EQ(f->Btn_Scientific->Caption(), QString("<< Scientific"));
        // The keypad panel stays above the scientific panel.
        EXPECT_LE(f->Panel_Bottom->geometry().bottom(), f->Panel_Scientific->geometry().top());

        f->Btn_Scientific->Click();
        EXPECT_FALSE(f->ScientificShown);
        EXPECT_FALSE(IsVisible(f->Panel_Scientific));
        EXPECT_EQ(f->Btn_Scientific->Caption(), QString("Scientific >>"));
    }
}

TEST(Keypad, HelpShowsTheLegend)
{
    ShownForm f;
    DialogRecorder recorder;
    f->BitBtnHelp->Click();
    ASSERT_EQ(recorder.calls.size(), 1u);
    const DialogCall& call = recorder.calls[0];
    EXPECT_EQ(call.kind, DialogCall::Kind::ExtMessageBox);
    EXPECT_EQ(call.caption, QString("Keypad Help"));
    EXPECT_EQ(call.flags, 0x20000040u);
    EXPECT_TRUE(call.text.startsWith("=\t(Equals) Click on '= Run' or '= Run & Total' Button\n'\t(Single Quote)"));
    EXPECT_TRUE(call.text.contains("(-)\tUnary Minus eg   6 * -3   is illegal - whereas   6 * (-)3 = -18\n"));
    EXPECT_TRUE(call.text.endsWith("sp\tSpace\n\nFor more Help click on pull-down menu 'Help'"));
}
