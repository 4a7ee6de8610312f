#include "manuals/builder/WorkedPad.h"

#include "app/ControlCaptions.h"
#include "calc/FormatAnswer.h"
#include "calc/HostFunctions.h"
#include "calc/PadCalculation.h"
#include "calc/PadMacro.h"
#include "config/Config.h"
#include "platform/vcl/DialogSeam.h"
#include "platform/win/WinDefs.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace {

// The words of a worked pad's input option, by the index of the Input list's item they choose.
const char* const kInputOptions[] = {"none", "mm", "cm", "m", "imperial"};
static_assert(std::size(kInputOptions) == std::size(kInputUnits));

size_t InputIndexOf(const std::string& option)
{
    for (size_t i = 0; i < std::size(kInputOptions); ++i)
        if (option == kInputOptions[i]) return i;
    throw std::runtime_error("unknown input unit: " + option);
}

}  // namespace

WorkedPadOptions ParsePadOptions(const std::string& words)
{
    WorkedPadOptions options;
    std::istringstream in(words);
    std::string word;
    while (in >> word) {
        const size_t eq = word.find('=');
        const std::string key = word.substr(0, eq);
        const std::string value = eq == std::string::npos ? std::string() : word.substr(eq + 1);
        if (key == "input") {
            InputIndexOf(value);
            options.input = value;
        } else if (key == "answer") {
            options.answer = value;
            for (char& c : options.answer)
                if (c == '_') c = ' ';
            // As the window has it: the first item, None, stands for no unit.
            if (std::find(std::next(std::begin(kAnswerUnits)), std::end(kAnswerUnits), options.answer) ==
                std::end(kAnswerUnits))
                throw std::runtime_error("the Answer list has no item \"" + options.answer + "\"");
        } else if (key == "precision") {
            options.precision = value == "default" ? -1 : std::atoi(value.c_str());
            if (options.precision < -1 || options.precision + 1 >= int(std::size(kPrecisions)) ||
                (value != "default" && value != std::to_string(options.precision)))
                throw std::runtime_error("the Precision list has no item for " + value);
        } else if (key == "angle") {
            const auto angle = std::find_if(std::begin(kAngleUnits), std::end(kAngleUnits),
                                            [&](const char* item) { return LowerCase(item) == value; });
            if (angle == std::end(kAngleUnits)) throw std::runtime_error("unknown angle unit: " + value);
            options.angle = int(angle - std::begin(kAngleUnits));
        } else if (key == "total") {
            options.total = true;
        } else if (key == "type") {
            std::string item;
            std::istringstream items(value);
            while (std::getline(items, item, ',')) {
                for (char& c : item)
                    if (c == '_') c = ' ';
                options.typed.push_back(item);
            }
            options.expectBoxes = true;
        } else if (key == "boxes") {
            options.expectBoxes = true;
        } else if (key == "error") {
            options.expectError = true;
        } else {
            throw std::runtime_error("unknown pad option: " + word);
        }
    }
    return options;
}

std::string InputUnitCaption(const std::string& input) { return kInputUnits[InputIndexOf(input)]; }

WorkedPad CalculateWorkedPad(const std::vector<AnsiString>& lines, const WorkedPadOptions& options)
{
    TCalcState state;
    state.AnswerUnitName = options.answer;
    state.Precision = options.precision;
    state.AngleUnit = options.angle;
    Config->InputUnit = UnitFromName(kInputUnitNames[InputIndexOf(options.input)]);
    Config->AnswerUnit = AnswerUnitScale(options.answer);
    // Each example starts as a fresh program would: no warning yet told to keep quiet.
    ConsistencyWarningAnswer() = 0;
    AnswerUnitsWarningAnswer() = 0;

    WorkedPad pad;
    size_t nextAnswer = 0;
    const DialogHandler previous = SetDialogHandler([&](DialogCall& call) {
        std::string shown = call.caption.toStdString() + ": " + call.text.toStdString();
        const bool question = call.kind == DialogCall::Kind::MacroInput ||
                              (call.kind == DialogCall::Kind::MessageBox && (call.flags & MB_TYPEMASK) == MB_YESNO);
        if (question && nextAnswer < options.typed.size()) {
            const std::string& answer = options.typed[nextAnswer++];
            if (call.kind == DialogCall::Kind::MacroInput) {
                call.values = QStringList{QString::fromStdString(answer)};
                call.result = 1;
            } else {
                call.result = answer == "yes" ? IDYES : IDNO;
            }
            shown += " -> " + answer;
        }
        pad.boxes.push_back(shown);
    });
    InstallPadHost(&state);
    pad.padLines = lines;
    PadCalculationResult result;
    try {
        result = CalculatePadLines(state, pad.padLines, options.total);
    } catch (...) {
        InstallPadHost(nullptr);
        SetDialogHandler(previous);
        throw;
    }
    InstallPadHost(nullptr);
    SetDialogHandler(previous);
    if (nextAnswer < options.typed.size()) throw std::runtime_error("a worked pad asked fewer questions than it has answers");
    pad.answerLines = result.resultLines;
    pad.lastIsTotal = result.lastIsTotal;
    pad.completed = result.completed;
    return pad;
}
