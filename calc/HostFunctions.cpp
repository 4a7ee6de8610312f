// The predefined values and the ZR_ setters of the pad host, and its installation. The getters
// and conversion services are in HostGetters.cpp.
#include "calc/HostFunctions.h"

#include "config/Config.h"
#include "macro/Errors.h"
#include "macro/Machine.h"
#include "macro/Macromain.h"
#include "platform/vcl/SysUtils.h"

#include <QDateTime>
#include <cstring>

namespace {

TCalcState* calcState = nullptr;

const char kVariableMarker[] = "ZR_VARIABLE:";

// The most answers one calculation gives: a quarter more than the longest pad has lines. Each
// becomes a line of the answer pane, which then lays itself out as quickly as the pad pane does;
// a pad line inside a loop that runs on would otherwise fill the pane until the window froze and
// the machine's memory ran out. Past it the run ends with the interpreter's memory error.
constexpr size_t kMaxPadAnswers = 250000;

// The run variables, ZR_VARIABLE_1 to ZR_VARIABLE_5, by their index on the state.
const char* const kRunVariables[] = {
    "ZR_VARIABLE_1", "ZR_VARIABLE_2", "ZR_VARIABLE_3", "ZR_VARIABLE_4", "ZR_VARIABLE_5",
};

bool HasZRPrefix(const char* name) { return std::strncmp(name, "ZR_", 3) == 0; }

// A setter was given a name that cannot be an estimate variable; the run goes on (unless it is
// stopped in the box). The name and value are the pad's texts: only what the box can show of them
// is copied.
void ShowSetterError(const char* call, const char* name, const AnsiString& value)
{
    const AnsiString text = AnsiString("Error executing macro...\n") + call + "(\"" + TextHead(name) + "\",\"" +
                            value + "\")\nMacro Variable must begin with ZR_ for substitution to take place";
    ShowMacroHostError(text.c_str());
}

// The angle code of a Set_ZR_Qty value: the value plus 0.1 cut to a whole number, and degrees
// for anything outside 0 to 2 (a value that is no number included).
int AngleCode(double value)
{
    const double code = value + 0.1;
    if (!(code >= 0.0 && code < 3.0)) return 0;
    return static_cast<int>(code);
}

}  // namespace

TPadMacroHost& PadMacroHost()
{
    static TPadMacroHost host;
    return host;
}

void InstallPadHost(TCalcState* state)
{
    calcState = state;
    SetMacroHost(&PadMacroHost());
}

TCalcState* HostCalcState() { return calcState; }

void SetHostCalcState(TCalcState* state) { calcState = state; }

double TPadMacroHost::GetPredefinedQty(const char*) { return 0.0; }

AnsiString TPadMacroHost::GetPredefinedString(const char* name)
{
    if (std::strcmp(name, "ZR_DATE_AND_TIME$") == 0)
        return FormatDateTime("d mmm yyyy hh:mm:ss", QDateTime::currentDateTime());
    if (std::strcmp(name, "ZR_CURRENT_DATE$") == 0)
        return FormatDateTime("d mmmm yyyy", QDateTime::currentDateTime());
    if (std::strcmp(name, "ZR_LOCALE_LANGUAGE$") == 0) return Config ? Config->Language : AnsiString();
    if (std::strcmp(name, "ZR_LOCALE_UNIT$") == 0) return Config ? Config->Units : AnsiString();
    if (std::strcmp(name, "ZR_LIST_SEPARATOR$") == 0) return AnsiString(1, FormatSettings().ListSeparator);
    // Dialog captions are asked for as "TRANSLATE:<caption>".
    if (std::strstr(name, "TRANSLATE:")) return AnsiString(name + 10);
    return {};
}

void TPadMacroHost::SetZRStr(const char* name, const char* value)
{
    // No string variable is kept; only the name is checked.
    if (!HasZRPrefix(name)) ShowSetterError("Set_ZR_Str", name, TextHead(value));
}

void TPadMacroHost::SetZRQty(const char* name, double value)
{
    if (std::strcmp(name, "ZR_PRINT_WARNING") == 0) return;
    for (int i = 0; i < 5; ++i) {
        if (std::strcmp(name, kRunVariables[i]) == 0) {
            if (calcState) calcState->MacroVariables[i] = value;
            return;
        }
    }
    // An answer: the pad program names its pad line after the marker.
    if (const char* marker = std::strstr(name, kVariableMarker)) {
        const int line = StrToIntDef(marker + sizeof kVariableMarker - 1, 1);
        if (!calcState) return;
        if (calcState->PadAnswers.size() >= kMaxPadAnswers) macroError("not enought memory", nullptr);
        calcState->PadAnswers.push_back({value, line});
        return;
    }
    if (std::strcmp(name, "ZR_ANGLE_UOM") == 0 || std::strcmp(name, "ANGLE_UOM") == 0) {
        angleMode = AngleCode(value);
        return;
    }
    if (!HasZRPrefix(name)) ShowSetterError("Set_ZR_Qty", name, FloatToStr(value));
}
