#include "manuals/builder/WorkedPad.h"

#include "calc/HostFunctions.h"
#include "calc/PadCalculation.h"
#include "calc/PadMacro.h"
#include "config/Config.h"
#include "platform/vcl/DialogSeam.h"
#include "platform/win/WinDefs.h"

#include <sstream>
#include <stdexcept>

namespace {

struct InputUnit {
    const char* option;
    const char* unitName;  // as the Input control gives it to the settings
    const char* caption;
};

const InputUnit kInputUnits[] = {
    {"none", "MM", "None"},
    {"mm", "MM", "Metric (mm)"},
    {"cm", "CM", "Metric (cm)"},
    {"m", "M", "Metric (m)"},
    {"imperial", "IMPERIAL", "Imperial (feet and inches)"},
};

const InputUnit& InputUnitOf(const std::string& option)
{
    for (const InputUnit& unit : kInputUnits)
        if (option == unit.option) return unit;
    throw std::runtime_error("unknown input unit: " + option);
}

bool ImperialAnswer(const AnsiString& answer)
{
    const AnsiString upper = UpperCase(answer);
    for (const char* name : {"FT", "SQ FT", "CU FT", "YDS", "SQ YDS", "CU YDS"})
        if (upper == name) return true;
    return false;
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
            InputUnitOf(value);
            options.input = value;
        } else if (key == "answer") {
            options.answer = value;
            for (char& c : options.answer)
                if (c == '_') c = ' ';
        } else if (key == "precision") {
            options.precision = value == "default" ? -1 : std::stoi(value);
        } else if (key == "angle") {
            if (value == "degrees") options.angle = 0;
            else if (value == "radians") options.angle = 1;
            else if (value == "grads") options.angle = 2;
            else throw std::runtime_error("unknown angle unit: " + value);
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

std::string InputUnitCaption(const std::string& input) { return InputUnitOf(input).caption; }

WorkedPad CalculateWorkedPad(const std::vector<AnsiString>& lines, const WorkedPadOptions& options)
{
    TCalcState state;
    state.AnswerUnitName = options.answer;
    state.Precision = options.precision;
    state.AngleUnit = options.angle;
    Config->InputUnit = UnitFromName(InputUnitOf(options.input).unitName);
    Config->AnswerUnit = UnitFromName(ImperialAnswer(options.answer) ? "IMPERIAL" : "MM");
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
