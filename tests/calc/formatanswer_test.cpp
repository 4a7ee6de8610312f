// The answer texts of the result pane, unit by unit.
#include "calc/FormatAnswer.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// The answer scale the unit controls choose: imperial for the feet and yard units.
TLengthScale AnswerScaleFor(const AnsiString& name)
{
    for (const char* imperial : {"FT", "SQ FT", "CU FT", "YDS", "SQ YDS", "CU YDS"})
        if (UpperCase(name) == imperial) return UnitFromName("IMPERIAL");
    return UnitFromName("MM");
}

struct Row {
    double answer;
    const char* unit;
    const char* inputUnit;  // the name the input control gives
    int precision;
    const char* text;
};

TEST(FormatAnswer, EveryAnswerUnit)
{
    const Row rows[] = {
        {1000, "ft", "MM", -1, "3'-3 3/8\""},
        {1000, "yds", "MM", -1, "1.094yds"},
        {1000000, "sq ft", "MM", -1, "10'-9.1875\"sq ft"},
        {1000000, "sq yds", "MM", -1, "1.196sq yds"},
        {1000000000, "cu ft", "MM", -1, "35.315cu ft"},
        {1000000000, "cu yds", "MM", -1, "1.308cu yds"},
        {1234.4, "mm", "MM", -1, "1234mm"},
        {1234, "cm", "MM", -1, "123cm"},
        {1000000, "sq cm", "MM", -1, "10000.0sq cm"},
        {2000000000, "cu m", "MM", -1, "2.000cu m"},
        {1234.5, "", "MM", -1, "1234.5"},
        {250, "sq m", "CM", -1, "0.025sq m"},      // 250 cm2 are 25,000 mm2
        {1.2, "mm", "M", -1, "1200mm"},            // "M" names the metric unit of 1000 mm
        {1234.5, "", "MM", 2, "1234.50"},
        {1000000000, "cu yds", "MM", 2, "1.31cu yds"},
        {1000000, "sq cm", "MM", 0, "10000sq cm"},
        {1234.4, "mm", "MM", 3, "1234mm"},         // precision does not reach the length units
        {-165.1, "ft", "MM", -1, "-0'-6 1/2\""},   // keeps its sign under a foot
        {1234.5, "furlongs", "MM", -1, "1234.5"},  // an unknown metric name: no unit
        {1000000, "", "CM", -1, "1e+06"},          // "%lg", unconverted
    };
    for (const auto& row : rows) {
        TCalcState state;
        state.AnswerUnitName = row.unit;
        state.Precision = row.precision;
        const TLengthScale input = UnitFromName(row.inputUnit);
        EXPECT_EQ(FormatAnswer(state, input, AnswerScaleFor(row.unit), row.answer), row.text)
            << row.answer << " in " << row.unit << " from " << row.inputUnit;
    }
}

TEST(FormatAnswer, HugeFiguresAreWrittenWhole)
{
    TCalcState state;
    state.AnswerUnitName = "sq mm";
    state.Precision = 6;
    const AnsiString text = FormatAnswer(state, UnitFromName("MM"), UnitFromName("MM"), std::ldexp(1.0, 400));
    EXPECT_EQ(text.size(), 121u + 7u + 5u);  // 2^400 has 121 digits; ".000000", "sq mm"
    EXPECT_EQ(text.substr(text.size() - 12), ".000000sq mm");
}

}  // namespace
