#pragma once
// What a calculation leaves on the main form: the answers of the last run, the run variables and
// the unit, precision and angle choices the controls copied before it. The main form holds one;
// the host functions of the macro language and the answer formatting read and fill it.
#include "platform/vcl/Strings.h"

#include <vector>

// One answer of a calculation: the value of ANS and the 1-based pad line it belongs to.
struct ZR_Variable {
    double value = 0.0;
    int line = 0;
};

struct TCalcState {
    // Answers in the order the macro run produced them; a pad line may get several or none.
    std::vector<ZR_Variable> PadAnswers;
    // ZR_VARIABLE_1 to ZR_VARIABLE_5; the second is set by the last statement of every pad
    // program, so it tells a run that reached its end.
    double MacroVariables[5] = {0.0, 0.0, 0.0, 0.0, 0.0};
    int AngleUnit = 0;          // 0 degrees, 1 radians, 2 grads
    AnsiString AnswerUnitName;  // the chosen answer item as shown ("sq ft"), "" for None
    int Precision = 0;          // decimal places, -1 for Default
};
