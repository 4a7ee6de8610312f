#pragma once
// A worked example of a manual: a pad calculated by the program itself, so that every answer a
// manual prints is one the program gives.
#include "platform/vcl/Strings.h"

#include <string>
#include <vector>

struct WorkedPadOptions {
    std::string input = "none";   // none, mm, cm, m or imperial: the Input unit control
    std::string answer;           // the Answer unit control's item ("" for None, "sq m", "ft", ...)
    int precision = -1;           // decimal places, -1 for Default
    int angle = 0;                // 0 degrees, 1 radians, 2 grads
    bool total = false;           // Run & Total rather than Run
    bool expectBoxes = false;     // the example shows boxes (messages) on purpose
    bool expectError = false;     // the example shows an error on purpose and stops
    // What the user answers to the questions the pad asks, in order: a typed value for an input
    // box, "yes" or "no" for a yes/no box ("type=3600,yes"; an underscore stands for a blank).
    std::vector<std::string> typed;
};

struct WorkedPad {
    std::vector<AnsiString> padLines;     // as the pad shows them after the run (TOTAL added)
    std::vector<AnsiString> answerLines;  // the answer pane, line by line
    bool lastIsTotal = false;
    bool completed = false;
    // Every box the run showed: "caption: text", and " -> answer" where the user answered.
    std::vector<std::string> boxes;
};

// Reads "key=value" words ("input=imperial answer=sq_ft precision=2 total"); an underscore in the
// answer stands for a blank. Throws std::runtime_error on a word it does not know.
WorkedPadOptions ParsePadOptions(const std::string& words);

// Calculates the pad as the main window would with these controls. Every box of the run is
// answered with its default and recorded. The settings must exist (Config).
WorkedPad CalculateWorkedPad(const std::vector<AnsiString>& lines, const WorkedPadOptions& options);

// What the Input unit control shows for an option's input unit (its last item shows nothing).
std::string InputUnitCaption(const std::string& input);
