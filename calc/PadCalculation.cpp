#include "calc/PadCalculation.h"

#include "calc/BasicLine.h"
#include "calc/FeetInch.h"
#include "calc/FormatAnswer.h"
#include "calc/Highlight.h"
#include "calc/HostFunctions.h"
#include "calc/PadMacro.h"
#include "macro/RunControl.h"
#include "config/Config.h"
#include "platform/win/ExtMessageBox.h"

#include <algorithm>

namespace {

constexpr unsigned kAnswerErrorStyle = 0x20000010;  // error icon, OK, own captions

const char kAnswerErrorText[] =
    "Can't TOTAL again when the variable TOTAL already exists in the Pad\n"
    "The program will total the answers until the first occurence of the\n"
    "variable TOTAL in the Pad then will cease totalling thereafter";

const THighlight& OwnHighlighter()
{
    static const THighlight highlighter;
    return highlighter;
}

int CountLines(std::vector<AnsiString>& padLines, bool& totalFound, bool clear, std::vector<int>* blanked)
{
    totalFound = false;
    for (int i = static_cast<int>(padLines.size()) - 1; i >= 0; --i) {
        const AnsiString text = Trim(padLines[static_cast<size_t>(i)]);
        if (text.empty()) continue;
        if (text == "TOTAL") {
            if (clear) {
                padLines[static_cast<size_t>(i)].clear();
                if (blanked) blanked->push_back(i);
                continue;
            }
            totalFound = true;
        }
        return i + 1;
    }
    return static_cast<int>(padLines.size());
}

// The answer unit the answers of a pad of this dimension call for, when the chosen one does
// not fit them; empty when it fits (or the dimension says nothing).
AnsiString RecommendedAnswerUnit(int dimension, const AnsiString& answerUnitName)
{
    const AnsiString unit = UpperCase(answerUnitName);
    const bool square = unit.find("SQ") != AnsiString::npos;
    const bool cubic = unit.find("CU") != AnsiString::npos;
    switch (dimension) {
    case DimLength: return square || cubic || unit.empty() ? "ft" : "";
    case DimArea: return square ? "" : "sq ft or sq yds";
    case DimVolume: return cubic ? "" : "cu ft or cu yds";
    default: return {};
    }
}

void WarnAnswerUnits(int dimension, const AnsiString& answerUnitName)
{
    if (dimension < 0) return;
    const AnsiString recommended = RecommendedAnswerUnit(dimension, answerUnitName);
    if (recommended.empty() || (AnswerUnitsWarningAnswer() & MB_DONOTTELLAGAIN)) return;
    const ExtMessageBoxParams params;
    const AnsiString message = "Possible Inconsistent Answer Units\nRecommended 'Answer Units': " + recommended;
    AnswerUnitsWarningAnswer() =
        ExtMessageBox(nullptr, message.c_str(), "Answer Units Warning", kWarningStyle, &params);
}

// The result pane: for each pad line in order, its answers in the order the run produced them,
// or one empty line when it has none. Answers filed under lines outside the pad are not shown.
std::vector<AnsiString> ResultLines(const TCalcState& state, int count)
{
    // Group the answers by line, keeping their order (a counting sort).
    std::vector<size_t> first(static_cast<size_t>(count) + 2, 0);
    for (const ZR_Variable& answer : state.PadAnswers)
        if (answer.line >= 1 && answer.line <= count) ++first[static_cast<size_t>(answer.line) + 1];
    for (size_t i = 1; i < first.size(); ++i) first[i] += first[i - 1];
    std::vector<double> values(first.back());
    std::vector<size_t> next(first.begin(), first.end() - 1);
    for (const ZR_Variable& answer : state.PadAnswers)
        if (answer.line >= 1 && answer.line <= count) values[next[static_cast<size_t>(answer.line)]++] = answer.value;

    const TLengthScale inputUnit = Config ? Config->InputUnit : TLengthScale();
    const TLengthScale answerUnit = Config ? Config->AnswerUnit : TLengthScale();
    std::vector<AnsiString> lines;
    lines.reserve(values.size() + static_cast<size_t>(count));
    for (int line = 1; line <= count; ++line) {
        const size_t from = first[static_cast<size_t>(line)], to = first[static_cast<size_t>(line) + 1];
        if (from == to) lines.emplace_back();
        for (size_t k = from; k < to; ++k) lines.push_back(FormatAnswer(state, inputUnit, answerUnit, values[k]));
    }
    return lines;
}

// Puts the calculation's state and its reach under the host functions for the length of the
// calculation.
class HostScope {
public:
    HostScope(TCalcState& state, bool reachOutside)
        : previousHost_(&Host()), previousState_(HostCalcState()), previousReach_(PadMacroHost().MayReachOutside())
    {
        InstallPadHost(&state);
        PadMacroHost().SetReachOutside(reachOutside);
    }
    ~HostScope()
    {
        PadMacroHost().SetReachOutside(previousReach_);
        SetHostCalcState(previousState_);
        SetMacroHost(previousHost_);
    }
    HostScope(const HostScope&) = delete;
    HostScope& operator=(const HostScope&) = delete;

private:
    MacroHost* previousHost_;
    TCalcState* previousState_;
    bool previousReach_;
};

bool calculating = false;

}  // namespace

int CountPadLines(std::vector<AnsiString>& padLines, bool& totalFound, bool clear)
{
    return CountLines(padLines, totalFound, clear, nullptr);
}

PadCalculationResult CalculatePadLines(TCalcState& state, std::vector<AnsiString>& padLines, bool total,
                                       const PadCalculationOptions& options)
{
    PadCalculationResult result;
    // A dialog of a run keeps the event loop going; a calculation asked for meanwhile would
    // rewrite the program being run and the answers being filled. It does nothing.
    if (calculating) return result;
    struct Busy {
        Busy() { calculating = true; }
        ~Busy() { calculating = false; }
    } busy;

    bool totalFound = false;
    int count = CountLines(padLines, totalFound, true, &result.blankedLines);
    state.PadAnswers.clear();
    if (count == 0) return result;
    if (options.readUnits) options.readUnits();

    HostScope host(state, options.reachOutside);
    PadMacroFile file;
    AnsiString path;
    if (!OpenPadMacroFile(file, path)) return result;

    const THighlight& highlighter = options.highlighter ? *options.highlighter : OwnHighlighter();
    int overallDimension = DimNone;
    bool stillTotalling = true;
    for (int i = 0; i < count; ++i) {
        const AnsiString& line = padLines[static_cast<size_t>(i)];
        if (Trim(line).empty()) continue;
        int dimension = DimNone;
        TranslatePadLine(file, TranslateBasicLine(highlighter, line), i + 1, dimension, stillTotalling);
        overallDimension = std::max(overallDimension, dimension);
    }

    if (total && !stillTotalling) {
        const ExtMessageBoxParams params;
        ExtMessageBox(nullptr, kAnswerErrorText, "Answer Error", kAnswerErrorStyle, &params);
        total = false;
    }
    if (total) {
        if (padLines.size() <= static_cast<size_t>(count))
            padLines.push_back("TOTAL");
        else
            padLines[static_cast<size_t>(count)] = "TOTAL";
        result.totalLineIndex = count;
        ++count;
        int dimension = DimNone;
        TranslatePadLine(file, "TOTAL", count, dimension, stillTotalling);
    }
    result.count = count;

    WarnAnswerUnits(overallDimension, state.AnswerUnitName);

    {
        // The watch sees the run itself; the warnings above wait for the user, not for the run.
        MacroWatchedRun watching(options.watch);
        result.completed = RunPadMacroFile(file, path);
    }
    if (!result.completed) return result;

    result.resultLines = ResultLines(state, count);
    // The total is the answer of the last line; it is bold only when that line was answered.
    if (total) {
        result.lastIsTotal = std::any_of(state.PadAnswers.begin(), state.PadAnswers.end(),
                                         [count](const ZR_Variable& a) { return a.line == count; });
    }
    return result;
}
