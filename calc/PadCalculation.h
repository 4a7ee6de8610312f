#pragma once
// Calculating a pad without a window: the pad's lines go in, the result pane's lines come out.
// The main form's CalculatePad is a thin layer over CalculatePadLines: it hands over the pad's
// lines, writes back the lines that changed (a trailing TOTAL blanked, a TOTAL added), fills the
// result pane from the result, sets the total in bold and re-synchronises the panes.
#include "calc/CalcState.h"
#include "platform/vcl/Strings.h"

#include <functional>
#include <vector>

class THighlight;
class TRunWatch;

// The number of pad lines a calculation takes: up to and including the last line that is not
// blank. With clear set, trailing lines that read TOTAL (trimmed, case-sensitive) are blanked in
// padLines and not counted; without it the last such line is counted and totalFound is set.
// A pad of blank lines only counts all of them (0 only for no lines at all).
int CountPadLines(std::vector<AnsiString>& padLines, bool& totalFound, bool clear);

struct PadCalculationResult {
    // The result pane, one line per answer in pad order (a pad line answered several times by a
    // loop gets several lines, one answered never gets an empty one). Empty when the calculation
    // stopped early (empty pad, program file not opened, run ended by an error).
    std::vector<AnsiString> resultLines;
    // The last result line is the total and is shown in bold.
    bool lastIsTotal = false;
    // The macro run reached its last statement; only then are the panes re-synchronised.
    bool completed = false;
    // The pad lines taken into the calculation, the added TOTAL line included.
    int count = 0;
    // 0-based index of the TOTAL line written into padLines (to be re-coloured), -1 when none.
    int totalLineIndex = -1;
    // 0-based indexes of trailing TOTAL lines that were blanked before the calculation.
    std::vector<int> blankedLines;
};

struct PadCalculationOptions {
    // The form's GetUnitsOfMeasureAndPrecision: called once the pad is known to have lines, before
    // anything is translated. Empty: the state and Config already hold the units.
    std::function<void()> readUnits;
    // The tokenizer for the BASIC-style lines; null uses a private one.
    const THighlight* highlighter = nullptr;
    // Keeps watch over the run and may stop it (macro/RunControl.h); null: the run is not watched.
    TRunWatch* watch = nullptr;
    // Whether the run may open files and devices. The calculation that opening a pad file makes
    // passes false: the run then ends at the first statement that would (open, morse), with a box
    // that says Calculate runs it; the pad's arithmetic, variables and questions run as ever.
    bool reachOutside = true;
};

// Calculates padLines (8-bit, Windows-1252) with total as Btn_CalculateAndTotal asks for it.
// Reads Config->InputUnit / AnswerUnit / TempDir / MacroDir and state's AngleUnit,
// AnswerUnitName and Precision; fills state.PadAnswers and state.MacroVariables. padLines is
// changed in place: trailing TOTAL lines blanked, a TOTAL line added when totalling.
// The warnings (consistency, answer units, "Answer Error") are shown on the way; a syntax or
// run-time error of the run is shown by the interpreter.
PadCalculationResult CalculatePadLines(TCalcState& state, std::vector<AnsiString>& padLines,
                                       bool total, const PadCalculationOptions& options = {});
