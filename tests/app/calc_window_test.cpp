// Calculating from the window as the user does: type a pad, press one of the two calculate
// buttons, read the answers beside the lines; change units, precision and angles.
#include "tests/app/mainform_fixture.h"
#include "tests/common/DialogRecorder.h"

#include <gtest/gtest.h>

namespace {

struct CalcCase {
    const char* name;
    const char* typed;  // typed key by key, '\n' is Enter
    int answerUnit;     // Cmb_UOM_Answer item
    int precision;      // Cmb_Precision item
    bool total;         // Calculate-and-total, else Calculate-only
    QStringList answers;
    QStringList bold;
};

}  // namespace

TEST(CalcWindow, TypedPadsAndTheirAnswers)
{
    const CalcCase cases[] = {
        {"millimetres with a total", "1000\n500 + 500\n", 1, 0, true,
         {"1000mm", "1000mm", "2000mm"}, {"2000mm"}},
        {"feet and inches", "1000\n", 10, 0, false, {"3'-3 3/8\""}, {}},
        {"feet-inch input summed in feet", "12' 6 1/2\" + 3'\n", 10, 0, true,
         {"15'-6 1/2\"", "15'-6 1/2\""}, {"15'-6 1/2\""}},
        {"a statement line has no answer", "x = 2\nx * 3\n", 0, 0, false, {"", "6"}, {}},
        {"two decimals", "1234.5\n", 0, 3, false, {"1234.50"}, {}},
        {"yards", "1000\n", 13, 0, false, {"1.094yds"}, {}},
        {"blank lines between answers", "1\n\n2\n", 0, 0, true, {"1", "", "2", "3"}, {"3"}},
        {"a loop answers its line each time round", "for(i=1;i<=3;i=i+1)\ni\nendfor\n", 0, 0, false,
         {"", "1", "2", "3", ""}, {}},
        {"blanks before an inch mark, then none",
         "6-1/2 \"\n6-1/2\"\n26-3/4 \"*3\n26-3/4\"*3\n3/4 \"\n3/4\"\n5/8 \" + 1\"\n5/8\" + 1\"\n12'-1/2 \"\n12'-1/2\"\n", 10, 0,
         false,
         {"6 1/2\"", "6 1/2\"", "6'-8 1/4\"", "6'-8 1/4\"", " 3/4\"", " 3/4\"", "1 5/8\"", "1 5/8\"", "12'-0 1/2\"",
          "12'-0 1/2\""},
         {}},
    };
    for (const CalcCase& c : cases) {
        DialogRecorder dialogs;
        Window w;
        w.Type(QString::fromUtf8(c.typed));
        w->Cmb_UOM_Answer->SetItemIndex(c.answerUnit);
        w->Cmb_Precision->SetItemIndex(c.precision);
        (c.total ? w->Btn_CalculateAndTotal : w->Btn_CalculateOnly)->Click();
        QStringList answers = w.Answers();
        while (!answers.isEmpty() && answers.back().isEmpty() && answers.size() > c.answers.size()) answers.pop_back();
        EXPECT_EQ(answers, c.answers) << c.name;
        EXPECT_EQ(w.BoldAnswers(), c.bold) << c.name;
        for (const DialogCall& call : dialogs.calls)
            ADD_FAILURE() << c.name << ": unexpected box " << call.caption.toStdString() << call.text.toStdString();
    }
}

TEST(CalcWindow, TotalGoesOnItsOwnLineAndAnOldTotalIsReplaced)
{
    DialogRecorder dialogs;
    Window w;
    w.Type("5\n6\nTOTAL\n");
    w->Btn_CalculateAndTotal->Click();
    EXPECT_EQ(w.Pad().mid(0, 3), (QStringList{"5", "6", "TOTAL"}));
    EXPECT_EQ(w.BoldAnswers(), QStringList{"11"});
    // The caret goes on on a fresh blank line below the pad.
    EXPECT_EQ(w->RichEdit_Main->LineFromChar(-1), 3);
    EXPECT_TRUE(w->RichEdit_Main->Lines[3].isEmpty());
}

TEST(CalcWindow, CalculateOnlyBlanksATrailingTotal)
{
    DialogRecorder dialogs;
    Window w;
    w.Type("5\n\nTOTAL");
    w->Btn_CalculateOnly->Click();
    EXPECT_EQ(w.Pad(), (QStringList{"5", ""}));
    EXPECT_EQ(w.Answers().value(0), "5");
    EXPECT_TRUE(w.BoldAnswers().isEmpty());
}

TEST(CalcWindow, TotalAlreadyInThePadIsAnAnswerErrorAndNoTotalIsAdded)
{
    DialogRecorder dialogs;
    Window w;
    w.Type("5\nx = TOTAL * 2\n");
    w->Btn_CalculateAndTotal->Click();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].caption, "Answer Error");
    EXPECT_FALSE(w.Pad().contains("TOTAL"));
    EXPECT_TRUE(w.BoldAnswers().isEmpty());
    EXPECT_EQ(w.Answers().value(0), "5");
}

TEST(CalcWindow, AMacroErrorLeavesTheAnswerPaneEmpty)
{
    // A fraction of a foot is no length: its line stops the calculation as a typing error does.
    for (const char* typed : {"5\n3 +* \n", "5\n1/2'\n"}) {
        DialogRecorder dialogs;
        Window w;
        w.Type(typed);
        w->Cmb_UOM_Answer->SetItemIndex(10);  // ft: no units warning comes first
        w->Btn_CalculateAndTotal->Click();
        ASSERT_EQ(dialogs.calls.size(), 1u) << typed;
        EXPECT_EQ(dialogs.calls[0].caption, "Macro Error") << typed;
        EXPECT_TRUE(w.Answers().join("").isEmpty()) << typed;
    }
}

TEST(CalcWindow, EditingKeysClearTheAnswersAndNavigationKeysKeepThem)
{
    struct KeyCase {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool clears;
    };
    const KeyCase cases[] = {
        {Qt::Key_A, Qt::NoModifier, true},       {Qt::Key_Backspace, Qt::NoModifier, true},
        {Qt::Key_Return, Qt::NoModifier, true},  {Qt::Key_Delete, Qt::NoModifier, true},
        {Qt::Key_Up, Qt::NoModifier, false},     {Qt::Key_Down, Qt::NoModifier, false},
        {Qt::Key_Left, Qt::NoModifier, false},   {Qt::Key_Right, Qt::NoModifier, false},
        {Qt::Key_Home, Qt::NoModifier, false},   {Qt::Key_End, Qt::NoModifier, false},
        {Qt::Key_PageUp, Qt::NoModifier, false}, {Qt::Key_PageDown, Qt::NoModifier, false},
        {Qt::Key_Shift, Qt::NoModifier, false},  {Qt::Key_Control, Qt::NoModifier, false},
        {Qt::Key_C, Qt::ControlModifier, false},
    };
    for (const KeyCase& c : cases) {
        DialogRecorder dialogs;
        Window w;
        w.Type("1\n2\n");
        w->Btn_CalculateOnly->Click();
        ASSERT_EQ(w.Answers().value(1), "2");
        w->PadUnchanged = true;
        w->RichEdit_Main->SetSelStart(1);
        w.Key(c.key, c.modifiers);
        const QString name = QKeySequence(c.key | c.modifiers).toString();
        EXPECT_EQ(w.Answers().join("").isEmpty(), c.clears) << name.toStdString();
        EXPECT_EQ(w->PadUnchanged, !c.clears) << name.toStdString();
    }
}

TEST(CalcWindow, TypingColoursTheEditedLine)
{
    DialogRecorder dialogs;
    Window w;
    w.Type("x = 12 ' note");
    EXPECT_EQ(FromQColor(DisplayedFormat(*w->RichEdit_Main, 4).foreground().color()), clBlue);  // the 1 of 12
    EXPECT_TRUE(DisplayedFormat(*w->RichEdit_Main, 9).fontItalic());  // inside the comment
}

TEST(CalcWindow, UnitControlsReadIntoTheSettings)
{
    struct UnitCase {
        int input;
        int answer;
        int inputCode;
        bool imperial;
        const char* answerName;
    };
    const UnitCase cases[] = {
        {2, 10, TLengthScale::CM, true, "ft"},
        {0, 0, TLengthScale::MM, false, ""},
        {1, 5, TLengthScale::MM, false, "sq cm"},
        {3, 8, TLengthScale::METRIC, false, "sq m"},
        {4, 15, TLengthScale::IMPERIAL, true, "cu yds"},
        {-1, -1, TLengthScale::MM, false, ""},  // nothing chosen
    };
    for (const UnitCase& c : cases) {
        DialogRecorder dialogs;
        Window w;
        w->Cmb_UOM_Input->SetItemIndex(c.input);
        w->Cmb_UOM_Answer->SetItemIndex(c.answer);
        w->GetUnitsOfMeasureAndPrecision();
        EXPECT_EQ(Config->InputUnit.Code, c.inputCode) << c.input << "/" << c.answer;
        EXPECT_EQ(Config->AnswerUnit.IsImperial(), c.imperial) << c.input << "/" << c.answer;
        EXPECT_EQ(w->AnswerUnitName, c.answerName) << c.input << "/" << c.answer;
    }
}

TEST(CalcWindow, EachControlRecalculatesWithoutTotal)
{
    using Change = void (*)(TfrmMainProg&);
    const std::pair<const char*, Change> changes[] = {
        {"input unit", [](TfrmMainProg& f) { f.Cmb_UOM_Input->Choose(1); }},
        {"answer unit", [](TfrmMainProg& f) { f.Cmb_UOM_Answer->Choose(1); }},
        {"precision", [](TfrmMainProg& f) { f.Cmb_Precision->Choose(2); }},
        {"angles", [](TfrmMainProg& f) { f.RadioGroup_DegRad->Choose(2); }},
    };
    for (const auto& [name, change] : changes) {
        DialogRecorder dialogs;
        Window w;
        w.Type("1\n2\n");
        w->Btn_CalculateAndTotal->Click();
        ASSERT_EQ(w.BoldAnswers().size(), 1) << name;
        change(*w);
        EXPECT_TRUE(w.BoldAnswers().isEmpty()) << name;
        EXPECT_FALSE(w.Answers().join("").isEmpty()) << name;
    }
}

TEST(CalcWindow, NoRecalculationWhileSkipped)
{
    DialogRecorder dialogs;
    Window w;
    w.Type("1\n");
    w->Btn_CalculateAndTotal->Click();
    w->SkipRecalculation = true;
    w->Cmb_Precision->Choose(3);
    EXPECT_EQ(w->Precision, 2);
    EXPECT_EQ(w.BoldAnswers(), QStringList{"1"});
}

TEST(CalcWindow, AngleUnitReachesTheCalculation)
{
    const std::pair<int, const char*> cases[] = {{0, "0.0274121"}, {1, "1"}};
    for (const auto& [angle, answer] : cases) {
        DialogRecorder dialogs;
        Window w;
        w.Type("sin(PI/2)\n");
        w->RadioGroup_DegRad->Choose(angle);
        EXPECT_EQ(w->AngleUnit, angle);
        EXPECT_EQ(w.Answers().value(0), answer) << angle;
    }
}
