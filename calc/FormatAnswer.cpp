#include "calc/FormatAnswer.h"

#include "calc/FeetInch.h"
#include "config/Lengths.h"

#include <cstdio>

namespace {

enum class Figure {
    Plain,        // "%lg", or p decimals when a precision is chosen (the unit None)
    Metric,       // whole units by the length formatter
    FeetInches,   // feet, inches and a fraction of an inch
    SquareFeet,   // square feet and twelfths
    Decimals,     // p decimals
};

struct AnswerUnit {
    const char* name;  // compared with the upper-cased answer unit name
    int dimension;     // 1 length, 2 area, 3 volume
    Figure figure;
    // The answer in millimetres of its dimension is multiplied by step, steps times, and then
    // divided by divisor (0: not divided), in extended precision.
    double step;
    int steps;
    double divisor;
    int decimals;    // when no precision is chosen
    int metricCode;  // the formatter's unit for Figure::Metric
};

// Looked up in this order; the first row whose name matches decides. The divisors are the
// powers of a yard (914.4 mm) and the cube of a foot (304.8 mm).
const AnswerUnit kImperial[] = {
    {"CU YDS", 3, Figure::Decimals, 1.0, 0, 764554857.984, 3, 0},
    {"CU FT", 3, Figure::Decimals, 1.0, 0, 28316846.592, 3, 0},
    {"SQ YDS", 2, Figure::Decimals, 1.0, 0, 836127.36, 3, 0},
    {"SQ FT", 2, Figure::SquareFeet, 0.001, 2, 0.0, 0, 0},  // the formatter takes square metres
    {"YDS", 1, Figure::Decimals, 1.0, 0, 914.4, 3, 0},
};
const AnswerUnit kFeet = {"FT", 1, Figure::FeetInches, 1.0, 0, 0.0, 0, 0};

const AnswerUnit kMetric[] = {
    {"CU M", 3, Figure::Decimals, 0.001, 3, 0.0, 3, 0},
    {"CU CM", 3, Figure::Decimals, 0.1, 3, 0.0, 1, 0},
    {"CU MM", 3, Figure::Decimals, 1.0, 0, 0.0, 0, 0},
    {"SQ M", 2, Figure::Decimals, 0.001, 2, 0.0, 3, 0},
    {"SQ CM", 2, Figure::Decimals, 0.1, 2, 0.0, 1, 0},
    {"SQ MM", 2, Figure::Decimals, 1.0, 0, 0.0, 0, 0},
    {"M", 1, Figure::Metric, 1.0, 0, 0.0, 0, TLengthScale::METRE},
    {"CM", 1, Figure::Metric, 1.0, 0, 0.0, 0, TLengthScale::CM},
    {"MM", 1, Figure::Metric, 1.0, 0, 0.0, 0, TLengthScale::MM},
};
const AnswerUnit kNone = {"", 0, Figure::Plain, 1.0, 0, 0.0, 0, 0};

const AnswerUnit& LookUp(const AnsiString& upper, bool imperial)
{
    if (imperial) {
        for (const AnswerUnit& unit : kImperial)
            if (upper == unit.name) return unit;
        return kFeet;
    }
    for (const AnswerUnit& unit : kMetric)
        if (upper == unit.name) return unit;
    return kNone;
}

// printf into a string of whatever length the figure needs.
AnsiString Printf(const char* format, double value)
{
    const int size = std::snprintf(nullptr, 0, format, value);
    if (size <= 0) return {};
    AnsiString out(static_cast<size_t>(size) + 1, '\0');
    std::snprintf(out.data(), out.size(), format, value);
    out.resize(static_cast<size_t>(size));
    return out;
}

AnsiString WithDecimals(int decimals, double value)
{
    char format[32];
    std::snprintf(format, sizeof format, "%%.%df", decimals);
    return Printf(format, value);
}

// The answer in millimetres of its dimension: input code 19 is centimetres, 16 metres.
long double ToMillimetres(double answer, int inputCode, int dimension)
{
    const long double step = InputUnitMillimetres(inputCode);
    long double value = answer;
    for (int d = 0; d < dimension; ++d) value *= step;
    return value;
}

}  // namespace

AnsiString FormatAnswer(const TCalcState& state, const TLengthScale& inputUnit,
                        const TLengthScale& answerUnit, double answer)
{
    const bool imperial = answerUnit.IsImperial();
    const AnswerUnit& unit = LookUp(UpperCase(state.AnswerUnitName), imperial);
    const bool precisionChosen = state.Precision >= 0;
    const int decimals = precisionChosen ? state.Precision : unit.decimals;

    AnsiString text;
    if (unit.figure == Figure::Plain) {
        text = precisionChosen ? WithDecimals(decimals, answer) : Printf("%lg", answer);
    } else {
        long double scaled = ToMillimetres(answer, inputUnit.Code, unit.dimension);
        for (int i = 0; i < unit.steps; ++i) scaled *= unit.step;
        if (unit.divisor != 0.0) scaled /= unit.divisor;
        const double value = static_cast<double>(scaled);
        char buffer[100];
        switch (unit.figure) {
        case Figure::Metric: {
            const TLengthScale scale(unit.metricCode);
            text = FormatFeetInchFraction(&scale, value, buffer, -1, sizeof buffer);
            break;
        }
        case Figure::FeetInches:
            text = FormatFeetInchFraction(&answerUnit, value, buffer, 16, sizeof buffer);
            break;
        case Figure::SquareFeet:
            text = FormatFeetInchDecimal(&answerUnit, value, buffer, 16, sizeof buffer);
            break;
        default: text = WithDecimals(decimals, value); break;
        }
        if (unit.figure != Figure::FeetInches) text += state.AnswerUnitName;
    }
    if (imperial) {
        // The fraction of an inch reads 3 3/8, not 3 [3/8].
        std::erase(text, '[');
        std::erase(text, ']');
    }
    return text;
}

TLengthScale AnswerUnitScale(const AnsiString& answerUnitName)
{
    static const char* const imperial[] = {"FT", "SQ FT", "CU FT", "YDS", "SQ YDS", "CU YDS"};
    const AnsiString upper = UpperCase(answerUnitName);
    for (const char* name : imperial)
        if (upper == name) return UnitFromName("IMPERIAL");
    return UnitFromName("MM");
}
