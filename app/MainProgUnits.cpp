// The input unit, answer unit, precision and angle controls: each change is copied into the
// settings and the calculation state, and the pad is calculated again without a total.
#include "app/MainProg.h"

#include "calc/FormatAnswer.h"
#include "config/Config.h"

namespace {

// The unit names of the input items, by index; any other index reads millimetres. "M" is no name
// the units know, so it gives their default, the metre.
const char* const kInputUnitNames[] = {"MM", "MM", "CM", "M", "IMPERIAL"};

}  // namespace

void TfrmMainProg::GetUnitsOfMeasureAndPrecision()
{
    const int input = Cmb_UOM_Input->ItemIndex();
    Config->InputUnit = UnitFromName(input >= 0 && input < 5 ? kInputUnitNames[input] : "MM");

    if (Cmb_UOM_Answer->ItemIndex() == 0)
        AnswerUnitName.clear();
    else
        AnswerUnitName = UnicodeToWin1252(Cmb_UOM_Answer->Text());
    Config->AnswerUnit = AnswerUnitScale(AnswerUnitName);

    Precision = Cmb_Precision->ItemIndex() - 1;
    const int angle = RadioGroup_DegRad->ItemIndex();
    if (angle >= 0 && angle <= 2) AngleUnit = angle;
}

// The four controls do the same: take the controls in and calculate again without a total.
void TfrmMainProg::UnitsChanged()
{
    GetUnitsOfMeasureAndPrecision();
    if (!SkipRecalculation) CalculatePad(false);
}

void TfrmMainProg::Cmb_UOM_InputChange(TObject* /*Sender*/) { UnitsChanged(); }
void TfrmMainProg::Cmb_UOM_AnswerChange(TObject* /*Sender*/) { UnitsChanged(); }
void TfrmMainProg::Cmb_PrecisionChange(TObject* /*Sender*/) { UnitsChanged(); }
void TfrmMainProg::RadioGroup_DegRadClick(TObject* /*Sender*/) { UnitsChanged(); }
