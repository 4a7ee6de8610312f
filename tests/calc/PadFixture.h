#pragma once
// A calculation without a window: settings of its own with the temporary folder in a scratch
// folder, a calculation state with the pad host installed, both warnings unanswered, and every
// dialog recorded.
#include "calc/FormatAnswer.h"
#include "calc/HostFunctions.h"
#include "calc/PadCalculation.h"
#include "calc/PadMacro.h"
#include "config/Config.h"
#include "platform/vcl/SysUtils.h"
#include "tests/common/DialogRecorder.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

class PadFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        const AnsiString ini = Folder() + "/none.INI";
        new TConfig(ini.c_str());
        Config->TempDir = Folder();
        Config->MacroDir = Folder() + "/no-macros";
        Units("MM", "", -1);
        ConsistencyWarningAnswer() = 0;
        AnswerUnitsWarningAnswer() = 0;
        InstallPadHost(&state);
    }
    void TearDown() override
    {
        InstallPadHost(nullptr);
        SetMacroHost(nullptr);
        delete Config;
        FormatSettings() = savedLocale;
    }

    AnsiString Folder() const { return temp.path().toStdString(); }
    AnsiString ProgramPath() const { return Folder() + "/MacroRunLine.Tmp"; }
    AnsiString ProgramText() const
    {
        std::ifstream in(ProgramPath(), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    // The unit controls: input unit name ("MM", "CM", "M", "IMPERIAL"), the answer item's
    // text ("" for None) and the precision (-1 Default).
    void Units(const char* input, const AnsiString& answer, int precision)
    {
        Config->InputUnit = UnitFromName(input);
        Config->AnswerUnit = AnswerUnitScale(answer);
        state.AnswerUnitName = answer;
        state.Precision = precision;
    }

    PadCalculationResult Calc(std::vector<AnsiString>& pad, bool total)
    {
        return CalculatePadLines(state, pad, total);
    }

    // The captions of the recorded dialogs, in order.
    std::vector<QString> Captions() const
    {
        std::vector<QString> out;
        for (const DialogCall& call : dialogs.calls) out.push_back(call.caption);
        return out;
    }

    QTemporaryDir temp;
    TCalcState state;
    DialogRecorder dialogs;
    TFormatSettings savedLocale = FormatSettings();
};
