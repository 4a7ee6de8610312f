#pragma once
// The macro language's host while a pad is calculated: the predefined values, the ZR_ setters
// through which a pad program hands back its answers, the estimate getters and the conversion
// services. Misuse (a setter name without "ZR_", an unknown getter name) is reported in an
// information box captioned "Macro Error" and the run goes on with a neutral result.
//
// The answers, run variables and angle choice live on the main form's calculation state; the
// form installs its state here once (InstallPadHost), and a headless calculation installs its own.
// The estimate accessors the calculator has no data for answer with the neutral values of the
// default host.
#include "calc/CalcState.h"
#include "macro/Host.h"

class TPadMacroHost : public MacroHost {
public:
    // --- predefined values and setters ---
    double GetPredefinedQty(const char* name) override;
    AnsiString GetPredefinedString(const char* name) override;
    void SetZRStr(const char* name, const char* value) override;
    void SetZRQty(const char* name, double value) override;

    // --- getters and conversions ---
    int GetIntegerVariable(const char* name) override;
    double GetZRQty(const char* name) override;
    AnsiString GetZRStr(const char* name) override;
    AnsiString GetLengthStr(double value) override;
    AnsiString GetAreaStr(double value) override;
    AnsiString GetQtyStr(double value, int decimals) override;
    AnsiString GetPriceStr(double value) override;
    AnsiString GetPriceNoSeparatorStr(double value) override;
    AnsiString ReplaceSeparatorStr(const char* text, const char* replacement) override;
    int SearchDirFileCount(const char* dir, const char* pattern) override;

    // --- reach ---
    bool MayReachOutside() override { return reachOutside_; }
    // Set by each calculation for its run (PadCalculationOptions::reachOutside).
    void SetReachOutside(bool reach) { reachOutside_ = reach; }

private:
    bool reachOutside_ = true;
};

// The one pad host.
TPadMacroHost& PadMacroHost();
// Makes the pad host the interpreter's host and state the calculation state it fills (null: the
// host stays, with no state to fill).
void InstallPadHost(TCalcState* state);
// The calculation state the host functions reach; null when none is installed.
TCalcState* HostCalcState();
void SetHostCalcState(TCalcState* state);

// The money text of a value in the locale's currency format, as getpricestr gives it: a leading
// backslash dropped, characters outside ASCII blanked, trimmed.
AnsiString MoneyText(double value);
