#pragma once
// The text of one answer in the result pane: the answer, which the macro run left in the pad's
// input unit, converted to the chosen answer unit and written with the chosen decimals, or in
// feet, inches and fractions, followed by the unit's name.
#include "calc/CalcState.h"
#include "config/Units.h"

// The answer-unit scale of an answer item: "IMPERIAL" for ft, sq ft, cu ft, yds, sq yds and
// cu yds (in any case), "MM" for the metric items and anything else. It only tells the two apart.
TLengthScale AnswerUnitScale(const AnsiString& answerUnitName);

// Reads the answer unit name and precision of the state; inputUnit (only its code) says what
// the answer is in, answerUnit whether the answer unit is imperial or metric.
AnsiString FormatAnswer(const TCalcState& state, const TLengthScale& inputUnit,
                        const TLengthScale& answerUnit, double answer);
