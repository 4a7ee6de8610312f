// Whole pads calculated without a window: the result pane's lines, the TOTAL line, the warnings,
// runs that stop, and pad lines of any bytes.
#include "platform/win/ExtMessageBox.h"
#include "platform/win/WinDefs.h"
#include "tests/calc/PadFixture.h"

namespace {

using Lines = std::vector<AnsiString>;

class PadCalcTest : public PadFixture {};

TEST_F(PadCalcTest, CountPadLines)
{
    const struct {
        Lines pad;
        bool clear;
        int count;
        bool totalFound;
        Lines after;
    } rows[] = {
        {{}, true, 0, false, {}},
        {{"", " ", "\t"}, true, 3, false, {"", " ", "\t"}},
        {{"1", "2", "", ""}, true, 2, false, {"1", "2", "", ""}},
        {{"1", " TOTAL "}, false, 2, true, {"1", " TOTAL "}},
        {{"1", " TOTAL ", ""}, true, 1, false, {"1", "", ""}},
        {{"1", "TOTAL", "", "TOTAL"}, true, 1, false, {"1", "", "", ""}},
        {{"1", "Total"}, true, 2, false, {"1", "Total"}},  // the word is matched in capitals only
        {{"TOTAL", "1"}, true, 2, false, {"TOTAL", "1"}},
        {{"TOTAL"}, true, 1, false, {""}},  // all blank after clearing: the full count
    };
    for (const auto& row : rows) {
        Lines pad = row.pad;
        bool found = !row.totalFound;
        EXPECT_EQ(CountPadLines(pad, found, row.clear), row.count) << ::testing::PrintToString(row.pad);
        EXPECT_EQ(found, row.totalFound) << ::testing::PrintToString(row.pad);
        EXPECT_EQ(pad, row.after) << ::testing::PrintToString(row.pad);
    }
}

TEST_F(PadCalcTest, WholePads)
{
    const struct {
        const char* name;
        const char* input;
        const char* answer;
        int angle;
        Lines pad;
        bool total;
        Lines results;
        Lines padAfter;
    } rows[] = {
        {"sums with a total", "MM", "", 0, {"3 + 4", "", "x = 2", "x * 5"}, true,
         {"7", "", "", "10", "17"}, {"3 + 4", "", "x = 2", "x * 5", "TOTAL"}},
        {"without a total", "MM", "", 0, {"3 + 4", "x * 0 + 2"}, false, {"7", "2"}, {"3 + 4", "x * 0 + 2"}},
        {"feet and inches", "IMPERIAL", "ft", 0, {"12' 6 1/2\" + 3'", "5' * 2"}, true,
         {"15'-6 1/2\"", "10'-0\"", "25'-6 1/2\""}, {"12' 6 1/2\" + 3'", "5' * 2", "TOTAL"}},
        {"areas", "IMPERIAL", "sq ft", 0, {"12' * 10'", "5' * 3'"}, true,
         {"120'sq ft", "15'sq ft", "135'sq ft"}, {"12' * 10'", "5' * 3'", "TOTAL"}},
        {"volume", "IMPERIAL", "cu yds", 0, {"12' * 10' * 3'"}, false, {"13.333cu yds"}, {"12' * 10' * 3'"}},
        {"metres in", "M", "mm", 0, {"1.2"}, false, {"1200mm"}, {"1.2"}},
        {"old TOTAL replaced on the next line", "MM", "", 0, {"1", "2", "TOTAL"}, true,
         {"1", "2", "3"}, {"1", "2", "TOTAL"}},
        {"old TOTAL after a blank line", "MM", "", 0, {"1", "", "TOTAL", ""}, true,
         {"1", "1"}, {"1", "TOTAL", "", ""}},
        {"old TOTAL blanked without a total", "MM", "", 0, {"1", "", "TOTAL"}, false, {"1"}, {"1", "", ""}},
        {"blank lines only", "MM", "", 0, {"", " ", ""}, false, {"", "", ""}, {"", " ", ""}},
        {"loop answers a line several times", "MM", "", 0, {"for(i=1; i<=3; i++)", "i * 2", "endfor"}, true,
         {"", "2", "4", "6", "", "12"}, {"for(i=1; i<=3; i++)", "i * 2", "endfor", "TOTAL"}},
        {"BASIC loop", "MM", "", 0, {"FOR i = 1 TO 2", "i", "NEXT i"}, false, {"", "1", "2", ""},
         {"FOR i = 1 TO 2", "i", "NEXT i"}},
        {"radians", "MM", "", 1, {"sin(PI / 2)", "x = 1"}, false, {"1", ""}, {"sin(PI / 2)", "x = 1"}},
        {"grads", "MM", "", 2, {"sin(100)"}, false, {"1"}, {"sin(100)"}},
        {"degrees", "MM", "", 0, {"sin(90)"}, false, {"1"}, {"sin(90)"}},
    };
    for (const auto& row : rows) {
        Units(row.input, row.answer, -1);
        state.AngleUnit = row.angle;
        Lines pad = row.pad;
        const PadCalculationResult result = Calc(pad, row.total);
        EXPECT_TRUE(result.completed) << row.name;
        EXPECT_EQ(result.resultLines, row.results) << row.name;
        EXPECT_EQ(result.lastIsTotal, row.total) << row.name;
        EXPECT_EQ(pad, row.padAfter) << row.name;
        EXPECT_EQ(result.totalLineIndex, row.total ? result.count - 1 : -1) << row.name;
    }
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(PadCalcTest, EmptyPadReadsNoControls)
{
    state.PadAnswers.push_back({5.0, 1});
    bool read = false;
    Lines pad;
    PadCalculationOptions options;
    options.readUnits = [&read] { read = true; };
    const PadCalculationResult result = CalculatePadLines(state, pad, true, options);
    EXPECT_FALSE(read);
    EXPECT_FALSE(result.completed);
    EXPECT_TRUE(result.resultLines.empty());
    EXPECT_TRUE(state.PadAnswers.empty());
    EXPECT_TRUE(pad.empty());

    pad = {"2 * 3"};
    options.readUnits = [&] { read = true; Units("MM", "", 2); };
    EXPECT_EQ(CalculatePadLines(state, pad, false, options).resultLines, Lines{"6.00"});
    EXPECT_TRUE(read);
}

TEST_F(PadCalcTest, PadThatMentionsTotal)
{
    Lines pad = {"5", "x = TOTAL * 2", "7", "x"};
    const PadCalculationResult result = Calc(pad, true);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].caption, "Answer Error");
    EXPECT_EQ(dialogs.calls[0].flags, 0x20000010u);
    EXPECT_EQ(dialogs.calls[0].text,
              "Can't TOTAL again when the variable TOTAL already exists in the Pad\n"
              "The program will total the answers until the first occurence of the\n"
              "variable TOTAL in the Pad then will cease totalling thereafter");
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.resultLines, (Lines{"5", "", "7", "10"}));
    EXPECT_FALSE(result.lastIsTotal);
    EXPECT_EQ(result.totalLineIndex, -1);
    EXPECT_EQ(pad.size(), 4u);
}

TEST_F(PadCalcTest, ErrorsLeaveNoAnswers)
{
    const struct {
        Lines pad;
        QString box;
    } rows[] = {
        {{"1", "3 +* 4", "5"}, "Error: parse error in line number 2:\nANS = 3 +* 4"},
        // Digits typed right after an inch mark are not read into its number.
        {{"1", "x = 5\"2", "5"}, "Error: parse error in line number 2:\nx = 127 2"},
        {{"1", "x = 10\"3", "5"}, "Error: parse error in line number 2:\nx = 254 3"},
        // nor is a signed exponent: not 1.27 nor 22.7
        {{"1", "5\"e-2", "5"}, "Error: parse error in line number 2:\nANS = 127 e-2"},
        {{"1", "10 + 5\"e-1", "5"}, "Error: parse error in line number 2:\nANS = 10 + 127 e-1"},
        {{"1", "5\"e+2", "5"}, "Error: parse error in line number 2:\nANS = 127 e+2"},
        // A fraction of a foot is no length, never 1/2 over two feet: the line stops the run before
        // any answer, with no warning first, also inside a condition or a loop, where two numbers
        // side by side would be two statements.
        {{"1", "1/2'", "5"}, "Error: parse error in line number 2:\nANS = 1/2 ?"},
        {{"1", "3/4' * 2", "5"}, "Error: parse error in line number 2:\nANS = 3/4 ? * 2"},
        {{"1", "2-1/2'", "5"}, "Error: parse error in line number 2:\nANS = 2-1/2 ?"},
        {{"1", "1' + 1/2'", "5"}, "Error: parse error in line number 2:\nANS = 304.8 + 1/2 ?"},
        {{"1", "2 1/2'", "5"}, "Error: parse error in line number 2:\nANS = 2 1/2 ?"},
        {{"1", "x = 1/2'6\"", "5"}, "Error: parse error in line number 2:\nx = 1/2 ? 152.4"},
        {{"1", "12'-1/2'", "5"}, "Error: parse error in line number 2:\nANS = 3657.6-1/2 ?"},  // not 12'1" over 2'
        {{"1", "5' 1/2' * 2", "5"}, "Error: parse error in line number 2:\nANS = 1524 1/2 ? * 2"},
        {{"1", "if (1 == 1) then", "1/2'", "endif", "5"}, "Error: parse error in line number 3:\nANS = 1/2 ?"},
        {{"for (i = 1; i <= 2; i++)", "3/4' * 2", "endfor"}, "Error: parse error in line number 2:\nANS = 3/4 ? * 2"},
        {{"1", "1/0", "5"}, "Error: division by zero"},
        {{"1", "y * 2"}, "Error: undefined variable \"y\""},
        // A pad line inside a loop answers at every pass: the answer pane takes 250,000 at most.
        {{"for (i = 0; i < 250001; i++)", "i", "endfor"}, "Error: not enought memory"},
    };
    Units("MM", "mm", -1);  // lengths in a length unit: a box before the run would be a warning
    for (const auto& row : rows) {
        dialogs.calls.clear();
        Lines pad = row.pad;
        const PadCalculationResult result = Calc(pad, true);
        EXPECT_FALSE(result.completed) << row.box.toStdString();
        EXPECT_TRUE(result.resultLines.empty()) << row.box.toStdString();
        EXPECT_FALSE(result.lastIsTotal);
        EXPECT_EQ(pad.back(), "TOTAL");  // the added line stays
        ASSERT_EQ(dialogs.calls.size(), 1u) << row.box.toStdString();
        EXPECT_EQ(dialogs.calls[0].caption, "Macro Error");
        EXPECT_EQ(dialogs.calls[0].text, row.box);
    }
}

TEST_F(PadCalcTest, AnswerUnitsWarning)
{
    const struct {
        const char* name;
        const char* answer;
        Lines pad;
        const char* recommended;  // null: no box
    } rows[] = {
        {"lengths, no unit", "", {"5' + 3'"}, "ft"},
        {"lengths in sq m", "sq m", {"5'"}, "ft"},
        {"lengths in cu yds", "cu yds", {"5'"}, "ft"},
        {"lengths in ft", "ft", {"5'"}, nullptr},
        {"lengths in m", "m", {"5'"}, nullptr},
        {"areas in m", "m", {"5' * 3'"}, "sq ft or sq yds"},
        {"areas in sq m", "sq m", {"5' * 3'"}, nullptr},
        {"volumes in sq ft", "sq ft", {"5' * 3' * 2'"}, "cu ft or cu yds"},
        {"volumes in cu m", "cu m", {"5' * 3' * 2'"}, nullptr},
        {"a length and an area count as an area", "ft", {"5'", "5' * 3'"}, "sq ft or sq yds"},
        {"no lengths", "", {"3 + 4"}, nullptr},
        {"assignments count not", "", {"x = 5'"}, nullptr},
    };
    for (const auto& row : rows) {
        dialogs.calls.clear();
        Units("IMPERIAL", row.answer, -1);
        Lines pad = row.pad;
        EXPECT_TRUE(Calc(pad, false).completed) << row.name;
        if (!row.recommended) {
            EXPECT_TRUE(dialogs.calls.empty()) << row.name;
            continue;
        }
        ASSERT_EQ(dialogs.calls.size(), 1u) << row.name;
        EXPECT_EQ(dialogs.calls[0].caption, "Answer Units Warning") << row.name;
        EXPECT_EQ(dialogs.calls[0].flags, 0x22000030u) << row.name;
        EXPECT_EQ(dialogs.calls[0].text.toStdString(),
                  AnsiString("Possible Inconsistent Answer Units\nRecommended 'Answer Units': ") + row.recommended)
            << row.name;
    }
}

TEST_F(PadCalcTest, WarningsStayHiddenOnceTicked)
{
    Units("IMPERIAL", "", -1);
    Lines pad = {"5' * 3' + 2'", "5'"};
    dialogs.Answer(IDOK, {}, true);  // consistency: don't tell me again
    dialogs.Answer(IDOK);            // answer units: just OK
    Calc(pad, false);
    EXPECT_EQ(Captions(), (std::vector<QString>{"Consistency Warning", "Answer Units Warning"}));

    dialogs.Answer(IDOK, {}, true);  // answer units: don't tell me again
    Calc(pad, false);
    EXPECT_EQ(dialogs.calls.size(), 3u);
    EXPECT_EQ(dialogs.calls[2].caption, "Answer Units Warning");

    Calc(pad, true);
    EXPECT_EQ(dialogs.calls.size(), 3u);
}

TEST_F(PadCalcTest, PadLinesOfAnyBytes)
{
    Units("IMPERIAL", "ft", -1);
    const AnsiString rows[] = {
        AnsiString("5\0' + 3", 7),
        AnsiString(1, '\0'),
        "\x92" "5\x92 + 3\x94",  // typographic quotes are not lengths
        "message(\x93hi\x94)",
        AnsiString(100000, '7'),
        AnsiString(100000, '\''),
        "1 + " + AnsiString(50000, '(') ,
        "'",
        "\"",
        "5''''",
        "1/0\"",
        "\"5\" * \"",
        "x = \"" + AnsiString(600, 'a') + "\"",
        "\xff\xfe\x01\x02",
        "ENDFOR",
        "}",
        "FOR i = 1 TO",
    };
    for (const AnsiString& line : rows) {
        dialogs.calls.clear();
        Lines pad = {"1", line, "2"};
        const PadCalculationResult result = Calc(pad, true);
        const AnsiString shown = line.substr(0, 40);
        if (result.completed) {
            EXPECT_GE(result.resultLines.size(), 4u) << shown;
        } else {
            EXPECT_TRUE(result.resultLines.empty()) << shown;
            bool macroError = false;
            for (const DialogCall& call : dialogs.calls) macroError |= call.caption == "Macro Error";
            EXPECT_TRUE(macroError) << shown;
        }
    }
}

TEST_F(PadCalcTest, CalculationAskedForDuringARunDoesNothing)
{
    // A message box of the run keeps the event loop going; a calculation asked for then must not
    // touch the program being run or the answers being filled.
    TCalcState other;
    Lines otherPad = {"9"};
    PadCalculationResult inner;
    const DialogHandler previous = SetDialogHandler([&](DialogCall& call) {
        call.result = IDOK;
        inner = CalculatePadLines(other, otherPad, true);
    });
    Lines pad = {"3", "message \"hello\"", "4"};
    const PadCalculationResult result = Calc(pad, true);
    SetDialogHandler(previous);
    EXPECT_FALSE(inner.completed);
    EXPECT_EQ(otherPad, Lines{"9"});
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.resultLines, (Lines{"3", "", "4", "7"}));
}

TEST_F(PadCalcTest, HostIsPutBackAfterwards)
{
    TCalcState formState;
    InstallPadHost(&formState);
    Lines pad = {"1"};
    Calc(pad, false);
    EXPECT_EQ(HostCalcState(), &formState);
    EXPECT_EQ(&Host(), &PadMacroHost());
    EXPECT_TRUE(formState.PadAnswers.empty());
    EXPECT_EQ(state.PadAnswers.size(), 1u);
}

}  // namespace
