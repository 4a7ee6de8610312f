// The input unit, answer unit, precision and angle controls: each change is copied into the
// settings and the calculation state, and the pad is calculated again without a total.
#include "app/MainProg.h"

#include "app/ControlCaptions.h"
#include "calc/FormatAnswer.h"
#include "config/Config.h"

void TfrmMainProg::GetUnitsOfMeasureAndPrecision()
{
    const int input = Cmb_UOM_Input->ItemIndex();
    const bool listed = input >= 0 && input < int(std::size(kInputUnitNames));
    Config->InputUnit = UnitFromName(listed ? kInputUnitNames[input] : "MM");  // else millimetres

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
