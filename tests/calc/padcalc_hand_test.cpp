// Whole pads typed the way a tradesperson types them, with answers worked out by hand:
// 1' = 304.8 mm, 1" = 25.4 mm, 1 sq ft = 92903.04 mm2, 1 cu yd = 764554857.984 mm3.
#include "tests/calc/PadFixture.h"

namespace {

using Lines = std::vector<AnsiString>;

class PadByHandTest : public PadFixture {};

struct Row {
    const char* input;   // input unit name: "MM", "CM", "M" or "IMPERIAL"
    const char* answer;  // answer item as shown, "" for None
    int precision;       // -1 Default
    int angle;           // 0 degrees, 1 radians, 2 grads
    Lines pad;
    bool total;
    Lines results;
    Lines boxes = {};  // captions of the boxes the pad shows, in order
};

void Check(const Row& row, const PadCalculationResult& result)
{
    const AnsiString name = ::testing::PrintToString(row.pad) + " " + row.input + " -> " + row.answer +
                            " p" + std::to_string(row.precision) + " a" + std::to_string(row.angle);
    EXPECT_TRUE(result.completed) << name;
    EXPECT_EQ(result.resultLines, row.results) << name;
}

TEST_F(PadByHandTest, AnswersWorkedOutByHand)
{
    const Row rows[] = {
        // Feet-inch sums: 12' 6 1/2" is 3822.7 mm, 3' is 914.4 mm.
        {"IMPERIAL", "ft", -1, 0, {"12' 6-1/2\" + 3'"}, false, {"15'-6 1/2\""}},
        {"IMPERIAL", "ft", -1, 0, {"12' 6 1/2\" + 3'"}, false, {"15'-6 1/2\""}},
        {"IMPERIAL", "ft", -1, 0, {"5'-3\" + 2' 9\""}, false, {"8'-0\""}},
        {"IMPERIAL", "ft", -1, 0, {"1' - 6\""}, false, {"6\""}},
        {"IMPERIAL", "ft", -1, 0, {"5' 6 * 2"}, false, {"11'-0\""}},  // 5' 6 is five foot six
        // Lengths typed against an operator, each worked out by hand.
        {"MM", "mm", -1, 0, {"12\"-6\"", "1\"-1\"", "1\"+2\"+3\""}, false, {"152mm", "0mm", "152mm"}},
        {"IMPERIAL", "ft", -1, 0, {"12\"-6\"", "12'/2", "16'/3", "12'-2'", "12'-2'-1'", "(12\"-6\")*2"}, false,
         {"6\"", "6'-0\"", "5'-4\"", "10'-0\"", "9'-0\"", "1'-0\""}},
        {"IMPERIAL", "sq ft", -1, 0, {"2'*3'/2"}, false, {"3'sq ft"}},
        // Inches after a number and a minus, or after a slash that divides.
        {"IMPERIAL", "ft", -1, 0, {"12\"*2-6\"", "12'/2-6\"", "12'-6\"/2-3\"", "(12\"+6\")*2-6\""}, false,
         {"1'-6\"", "5'-6\"", "6'-0\"", "2'-6\""}},
        // The fraction's slash counts as a division, as in 5' + 6 1/2".
        {"IMPERIAL", "ft", -1, 0, {"12\"*2-6-1/2\""}, false, {"1'-5 1/2\""}, {"Consistency Warning"}},
        {"MM", "", -1, 0, {"300-6\"", "1000-1-1/2\""}, false, {"147.6", "961.9"}, {"Answer Units Warning"}},
        {"IMPERIAL", "", -1, 0, {"(16'-3\")/16\"", "(12'+6\")/16\"", "a = 195\"", "a/16\""}, false,
         {"12.1875", "9.375", "", "12.1875"}, {"Consistency Warning", "Consistency Warning", "Answer Units Warning"}},
        // A blank typed before an inch mark: 6 1/2" is 165.1 mm, 26 3/4" * 3 is 80 1/4".
        {"IMPERIAL", "ft", -1, 0,
         {"6-1/2 \"", "3-1/2 \"", "26-3/4 \"*3", "2'6\" - 1-1/2 \"", "3/4 \"", "5/8 \" + 1\"", "12'-1/2 \"", "3/4  \""},
         false,
         {"6 1/2\"", "3 1/2\"", "6'-8 1/4\"", "2'-4 1/2\"", " 3/4\"", "1 5/8\"", "12'-0 1/2\"", " 3/4\""},
         {"Consistency Warning"}},  // the fraction's slash divides the feet term, as without the blank
        {"MM", "", -1, 0, {"6-1/2 \"", "3/4 \""}, false, {"165.1", "19.05"}, {"Answer Units Warning"}},
        {"IMPERIAL", "ft", -1, 0, {"6 \"", "6 1/2 \"", "12' 6 1/2 \"", "12'/2", "0.5'", "2.5'"}, false,
         {"6\"", "6 1/2\"", "12'-6 1/2\"", "6'-0\"", "6\"", "2'-6\""}},
        // A slash after a bracket or a name divides by feet; only a fraction of a foot is no length.
        {"IMPERIAL", "", -1, 0, {"(16'-3\")/2'", "x = 195\"", "x/2'", "12'/2'"}, false, {"8.125", "", "8.125", "6"},
         {"Consistency Warning", "Consistency Warning", "Answer Units Warning"}},
        // Lines read whole as one length: the trade's ways of writing feet and inches.
        {"IMPERIAL", "ft", -1, 0,
         {"10'-6\"", "5'-3-1/2\"", "12' 6-1/2\"", "12'-2", "12'2", "12'-2\"", "5' 6 * 2", "3'-6\"/2", "2' 6\" - 6\""},
         false,
         {"10'-6\"", "5'-3 1/2\"", "12'-6 1/2\"", "12'-2\"", "12'-2\"", "12'-2\"", "11'-0\"", "1'-9\"", "2'-0\""}},
        // Decimal feet and inches.
        {"IMPERIAL", "ft", -1, 0, {"1.5'", "2.5' * 2", "0.75\"", "5' 6.5\"", ".5' + 1.25'"}, false,
         {"1'-6\"", "5'-0\"", " 3/4\"", "5'-6 1/2\"", "1'-9\""}},
        {"IMPERIAL", "sq ft", -1, 0, {"2.5' * 4'"}, false, {"10'sq ft"}},
        // Fractions: the answer is to the 1/16 inch; imperial input rounds to 1/16 on the way in.
        {"IMPERIAL", "ft", -1, 0, {"1/2\"", "3/4\"", "5/8\"", "7/16\""}, false,
         {" 1/2\"", " 3/4\"", " 5/8\"", " 7/16\""}},
        {"IMPERIAL", "ft", -1, 0, {"1/32\"", "1/64\"", "3' 5-15/16\"", "11-31/32\""}, false,
         {" 1/16\"", "0\"", "3'-5 15/16\"", "1'-0\""}},
        {"MM", "ft", -1, 0, {"1/64\"", "1' 11-31/32\"", "3/32\""}, false, {"0\"", "2'-0\"", " 1/8\""}},
        // Negative lengths: the pad's unary minus is (-).
        {"IMPERIAL", "ft", -1, 0, {"(-)5' 3\"", "3' - 5' 3\"", "(-)6\"", "1' - 1' 6\""}, false,
         {"-5'-3\"", "-2'-3\"", "-0'-6\"", "-0'-6\""}},
        // Lengths times and over numbers.
        {"IMPERIAL", "ft", -1, 0, {"12' 6\" * 3", "2 * 5'", "12' / 4", "(12' + 6\") * 2"}, false,
         {"37'-6\"", "10'-0\"", "3'-0\"", "25'-0\""}},
        // Areas: 12' x 10' is 11148364.8 mm2; 12' 6" x 10' 3" is 128 1/8 sq ft.
        {"IMPERIAL", "sq ft", -1, 0, {"12' * 10'", "12' 6\" * 10' 3\""}, false, {"120'sq ft", "128'-1.5\"sq ft"}},
        {"IMPERIAL", "sq m", -1, 0, {"12' * 10'"}, false, {"11.148sq m"}},
        {"IMPERIAL", "sq yds", -1, 0, {"12' * 10'"}, false, {"13.333sq yds"}},
        {"MM", "sq ft", -1, 0, {"3000 * 4000"}, false, {"129'-2\"sq ft"}},  // 12 m2 = 129.167 sq ft
        // Volumes.
        {"IMPERIAL", "cu yds", -1, 0, {"12' * 10' * 3'", "10' * 10' * 4\""}, false, {"13.333cu yds", "1.235cu yds"}},
        {"IMPERIAL", "cu ft", -1, 0, {"12' * 10' * 3'"}, false, {"360.000cu ft"}},
        {"IMPERIAL", "cu m", -1, 0, {"12' * 10' * 3'"}, false, {"10.194cu m"}},
        {"MM", "cu yds", -1, 0, {"1000 * 1000 * 1000"}, false, {"1.308cu yds"}},
        // Metric input, answers in feet and back.
        {"MM", "ft", -1, 0, {"2500 + 1500"}, false, {"13'-1 1/2\""}},
        {"CM", "ft", -1, 0, {"250"}, false, {"8'-2 7/16\""}},
        {"M", "ft", -1, 0, {"2.5"}, false, {"8'-2 7/16\""}},
        {"M", "sq ft", -1, 0, {"3 * 4"}, false, {"129'-2\"sq ft"}},
        {"CM", "sq m", -1, 0, {"100 * 100"}, false, {"1.000sq m"}},
        {"M", "cu yds", -1, 0, {"2 * 3 * 4"}, false, {"31.391cu yds"}},
        {"MM", "ft", -1, 0, {"5' 3\""}, false, {"5'-3\""}},
        // Feet and inches typed under a metric input unit stand for the same length.
        {"M", "ft", -1, 0, {"10'", "2.5 + 1'"}, false, {"10'-0\"", "9'-2 7/16\""}},
        {"CM", "ft", -1, 0, {"10' 6\"", "12\" * 2"}, false, {"10'-6\"", "2'-0\""}},
        {"M", "sq m", -1, 0, {"10' * 10'"}, false, {"9.290sq m"}},
        {"CM", "cu ft", -1, 0, {"10' * 10' * 6\""}, false, {"50.000cu ft"}},
        {"M", "mm", -1, 0, {"1'"}, false, {"305mm"}},
        {"IMPERIAL", "mm", -1, 0, {"5' 3-1/2\""}, false, {"1613mm"}},
        {"IMPERIAL", "cm", -1, 0, {"5' 3-1/2\""}, false, {"161cm"}},
        {"IMPERIAL", "m", -1, 0, {"5' 3-1/2\""}, false, {"2m"}},
        {"IMPERIAL", "yds", -1, 0, {"3'", "12' 6\""}, false, {"1.000yds", "4.167yds"}},
        // Precision items.
        {"MM", "", -1, 0, {"10 / 3"}, false, {"3.33333"}},
        {"MM", "", 0, 0, {"10 / 3", "2 / 3"}, false, {"3", "1"}},
        {"MM", "", 1, 0, {"10 / 3"}, false, {"3.3"}},
        {"MM", "", 2, 0, {"10 / 3"}, false, {"3.33"}},
        {"MM", "", 3, 0, {"10 / 3"}, false, {"3.333"}},
        {"MM", "", 4, 0, {"10 / 3"}, false, {"3.3333"}},
        {"MM", "", 5, 0, {"10 / 3"}, false, {"3.33333"}},
        {"MM", "", 6, 0, {"10 / 3"}, false, {"3.333333"}},
        {"MM", "yds", 0, 0, {"1000"}, false, {"1yds"}},
        {"MM", "yds", 6, 0, {"1000"}, false, {"1.093613yds"}},
        {"IMPERIAL", "sq m", 1, 0, {"12' * 10'"}, false, {"11.1sq m"}},
        {"MM", "sq cm", -1, 0, {"150 * 10"}, false, {"15.0sq cm"}},
        {"MM", "cu mm", -1, 0, {"1.5 * 2"}, false, {"3cu mm"}},
        {"IMPERIAL", "ft", 4, 0, {"12' 6-1/2\" + 3'"}, false, {"15'-6 1/2\""}},  // no effect on ft
        {"MM", "mm", 4, 0, {"1234.4"}, false, {"1234mm"}},                      // nor on mm
        // Angles.
        {"MM", "", -1, 0, {"sin(30)", "cos(60)", "atan(1)", "atan2(1, 1)", "tan(45)"}, false,
         {"0.5", "0.5", "45", "45", "1"}},
        {"MM", "", -1, 1, {"atan(1)", "cos(PI)", "sin(PI / 6)"}, false, {"0.785398", "-1", "0.5"}},
        {"MM", "", -1, 2, {"atan(1)", "cos(200)", "sin(50)"}, false, {"50", "-1", "0.707107"}},
        // Totals.
        {"IMPERIAL", "ft", -1, 0, {"12' 6-1/2\"", "3'", "(-)1' 6\""}, true,
         {"12'-6 1/2\"", "3'-0\"", "-1'-6\"", "14'-0 1/2\""}},
        {"IMPERIAL", "ft", -1, 0, {"' materials", "x = 2' * 3", "x", "", "x / 2"}, true,
         {"", "", "6'-0\"", "", "3'-0\"", "9'-0\""}},
        {"IMPERIAL", "sq ft", -1, 0, {"12' * 10'", "12' 6\" * 10' 3\""}, true,
         {"120'sq ft", "128'-1.5\"sq ft", "248'-1.5\"sq ft"}},
        {"MM", "", 2, 0, {"1.25", "2.5", "x = 4", "x"}, true, {"1.25", "2.50", "", "4.00", "7.75"}},
        // BASIC-style loops and conditions, run.
        {"MM", "", -1, 0, {"FOR i = 3 TO 1 STEP -1", "i", "NEXT i"}, false, {"", "3", "2", "1", ""}},
        {"MM", "", -1, 0, {"FOR i = -1 TO 1", "i", "NEXT i"}, true, {"", "-1", "0", "1", "", "0"}},
        {"MM", "", -1, 0, {"n = 2", "for k = 1 to n + 1", "k", "next"}, false, {"", "", "1", "2", "3", ""}},
        {"MM", "", -1, 0, {"x = 2", "IF (x > 3) THEN", "x * 2", "ELSE IF (x > 1) THEN", "x * 3", "ELSE", "0", "END IF"},
         false, {"", "", "", "", "6", "", "", ""}},
        {"MM", "", -1, 0, {"i = 0", "DO WHILE (i <= 1)", "i = i + 1", "i * 10", "END WHILE"}, false,
         {"", "", "", "10", "20", ""}},
    };
    for (const Row& row : rows) {
        dialogs.calls.clear();
        Units(row.input, row.answer, row.precision);
        state.AngleUnit = row.angle;
        Lines pad = row.pad;
        Check(row, Calc(pad, row.total));
        Lines captions;
        for (const QString& caption : Captions()) captions.push_back(caption.toStdString());
        EXPECT_EQ(captions, row.boxes) << ::testing::PrintToString(row.pad);
    }
}

// A length typed against an operator reads as the same line with blanks around the operator: the
// number put in place of one length is never read into the next, a slash right after a feet mark
// divides, and digits before a feet mark are a feet length of their own.
TEST_F(PadByHandTest, LengthsAgainstAnOperatorReadAsWithBlanks)
{
    const struct {
        const char* joined;
        const char* spaced;
    } rows[] = {
        {"12\"-6\"", "12\" - 6\""},
        {"1\"-1\"", "1\" - 1\""},
        {"1\"+2\"-3\"", "1\" + 2\" - 3\""},                 // three in a row
        {"1\"-1/2\"", "1\" - 1/2\""},                       // a fraction after the operator
        {"3-1/2\"-1/4\"", "3-1/2\" - 1/4\""},
        {"(12\"-6\")*2", "(12\" - 6\") * 2"},                // brackets
        {"12\"/2\"", "12\" / 2\""},                         // inches over inches
        {"12'/2", "12' / 2"},                                // divisions of feet
        {"16'/3", "16' / 3"},
        {"12'/4'", "12' / 4'"},
        {"12'/2\"", "12' / 2\""},
        {"2'*3'/2", "2' * 3' / 2"},
        {"12'-2'", "12' - 2'"},                              // feet less feet
        {"12'-2.5'", "12' - 2.5'"},
        {"12'-2'-1'", "12' - 2' - 1'"},
        {"10'-6\"-6\"", "10'-6\" - 6\""},                     // a whole length, less inches
        {"3'6\"-1'", "3'6\" - 1'"},
        {"5'-6\"+2'-3\"", "5'-6\" + 2'-3\""},
        {"12\"*2-6\"", "12\" * 2 - 6\""},                     // a number, a minus, then inches
        {"12'/2-6\"", "12' / 2 - 6\""},
        {"12'-6\"/2-3\"", "12'-6\" / 2 - 3\""},
        {"(12\"+6\")*2-6\"", "(12\" + 6\") * 2 - 6\""},
        {"12\"*2-6-1/2\"", "12\" * 2 - 6-1/2\""},
        {"12\"*2-6 1/2\"", "12\" * 2 - 6 1/2\""},
        {"12\"*1.5-1/2\"", "12\" * 1.5 - 1/2\""},
        {"12\"*2-.5\"", "12\" * 2 - .5\""},
        {"300-6\"", "300 - 6\""},
        {"1000-1-1/2\"", "1000 - 1-1/2\""},
        {"2-3\"", "2 - 3\""},
        {"3-6\"", "3 - 6\""},
        {"1/2-1/4\"", "1 / 2 - 1/4\""},
        {"(16'-3\")/16\"", "(16'-3\") / 16\""},                // a slash after a bracket divides
        {"(12'+6\")/16\"", "(12' + 6\") / 16\""},
        {"(3)/2-1/2\"", "(3) / 2-1/2\""},
        {"12\"*2-1/2\"", "12\" * 2-1/2\""},                   // mixed numbers stay whole
        {"2-1/2\"*2", "2-1/2\" * 2"},
        {"3/4\"+1 1/2\"", "3/4\" + 1 1/2\""},
        {"12'-2/sqrt(4)", "12'-2 / sqrt(4)"},                // a slash before a name or bracket divides
        {"12'2/(5'/6)", "12'2 / (5' / 6)"},
        // Here the second form has blanks before the inch mark, and reads as the first.
        {"6-1/2\"", "6-1/2 \""},
        {"3-1/2\"", "3-1/2 \""},
        {"26-3/4\"*3", "26-3/4 \"*3"},
        {"2'6\" - 1-1/2\"", "2'6\" - 1-1/2 \""},
        {"3/4\"", "3/4 \""},
        {"5/8\" + 1\"", "5/8 \" + 1\""},
        {"12'-1/2\"", "12'-1/2 \""},
        {"3/4\"", "3/4  \""},
        {"6\"", "6 \""},
        {"6 1/2\"", "6 1/2 \""},
        {"12' 6 1/2\"", "12' 6 1/2 \""},
        {"12\"*2-6-1/2\"", "12\"*2-6-1/2 \""},
        {"1/2-1/4\"", "1/2-1/4 \""},
        {"(16'-3\")/16\"", "(16'-3 \")/16 \""},
    };
    const struct {
        const char* input;
        const char* answer;
    } units[] = {{"IMPERIAL", "ft"}, {"MM", ""}, {"CM", "cm"}, {"M", "sq m"}, {"IMPERIAL", "yds"}};
    for (const auto& unit : units) {
        for (const auto& row : rows) {
            const AnsiString name = AnsiString(row.joined) + " under " + unit.input + " -> " + unit.answer;
            Units(unit.input, unit.answer, -1);
            dialogs.calls.clear();
            Lines spacedPad = {row.spaced};
            const PadCalculationResult spaced = Calc(spacedPad, false);
            const std::vector<QString> spacedBoxes = Captions();
            const auto text = [](const std::vector<QString>& captions) {
                return QStringList(captions.begin(), captions.end()).join(", ").toStdString();
            };
            dialogs.calls.clear();
            Lines joinedPad = {row.joined};
            const PadCalculationResult joined = Calc(joinedPad, false);
            EXPECT_TRUE(spaced.completed) << name;
            EXPECT_EQ(joined.completed, spaced.completed) << name;
            EXPECT_EQ(joined.resultLines, spaced.resultLines) << name;
            EXPECT_EQ(text(Captions()), text(spacedBoxes)) << name;
        }
    }
}

}  // namespace
