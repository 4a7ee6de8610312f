// Whole macro programs (tests/data/macro): the boxes they show and the values they hand the host.
#include "tests/macro/program_support.h"

#include <gtest/gtest.h>

#include "platform/win/WinDefs.h"

#include <fstream>
#include <iterator>
#include <map>

namespace {

struct FixtureCase {
    const char* file;
    bool padRun;                                // run under the pad's run-file name
    std::vector<std::string> boxes;             // texts of the boxes, in order
    std::map<std::string, double> answers;      // the last SetZRQty value for each name
    std::map<std::string, std::string> texts;   // the last SetZRStr value for each name
};

std::map<std::string, double> LastQty(const RecordingHost& host)
{
    std::map<std::string, double> last;
    for (const HostCall& c : host.calls)
        if (c.name == "SetZRQty") last[c.args[0]] = std::stod(c.args[1]);
    return last;
}

std::map<std::string, std::string> LastStr(const RecordingHost& host)
{
    std::map<std::string, std::string> last;
    for (const HostCall& c : host.calls)
        if (c.name == "SetZRStr") last[c.args[0]] = c.args[1];
    return last;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ProgramFixture : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(ProgramFixture, ShowsItsBoxesAndHandsItsValues)
{
    const FixtureCase& c = GetParam();
    ProgramRun run;
    // Message boxes are answered OK, the input form with 12, a yes/no question with Yes.
    for (int i = 0; i < 5; ++i) run.boxes.Answer(IDOK);
    run.boxes.Answer(1, {"12"});
    run.boxes.Answer(IDYES);
    if (c.padRun) run.Run(ReadFile(MacroFixture(c.file)));
    else run.RunFile(MacroFixture(c.file));
    EXPECT_EQ(run.Texts(), c.boxes) << c.file;
    EXPECT_EQ(LastQty(run.host), c.answers) << c.file;
    EXPECT_EQ(LastStr(run.host), c.texts) << c.file;
}

const FixtureCase fixtureCases[] = {
    {"pad_answers.mac", true, {},
     {{"ZR_VARIABLE:1", 7}, {"ZR_VARIABLE:4", 21}, {"ZR_VARIABLE:5", 28}, {"ZR_VARIABLE_2", 1}}, {}},
    {"loops.mac", false, {},
     {{"ZR_SUM", 55}, {"ZR_WHILE", 35}, {"ZR_WHILE2", 3}, {"ZR_FOR2", 9}, {"ZR_CASE", 5}}, {}},
    {"routines.mac", false, {}, {{"ZR_FACT", 720}, {"ZR_SUM3", 6.5}, {"ZR_Y", 9}}, {}},
    {"strings.mac", false, {},
     {{"ZR_LEN", 9}, {"ZR_POS", 6}, {"ZR_V0", 1}, {"ZR_V2", 3}, {"ZR_EQ", 1}},
     {{"ZR_TEXT$", "Roof area"}, {"ZR_MID$", "oof"}, {"ZR_UP$", "ROOF"}, {"ZR_NUM$", "3.14"}, {"ZR_T$", "xy"}}},
    {"messages.mac", false, {"1 ", "a", "  2.2", "x is", "3 ", "How many?", "Go on?"}, {{"ZR_W", 12}, {"ZR_YES", 1}}, {}},
    {"labels.mac", false, {}, {{"ZR_I", 5}}, {}},
    {"conditions.mac", false, {}, {{"ZR_R", 2}, {"ZR_TOL", 1}, {"ZR_NEG", -4}, {"ZR_MOD", 1}}, {}},
    {"syntax_error_pad.mac", true, {"Error: parse error in line number 3:\nANS = 4 + * 5"}, {{"ZR_VARIABLE:1", 6}}, {}},
    {"runtime_error.mac", false, {"Error: division by zero in \"" + MacroFixture("runtime_error.mac") + "\" near line 1\n"},
     {{"ZR_BEFORE", 1}}, {}},
};

INSTANTIATE_TEST_SUITE_P(Files, ProgramFixture, ::testing::ValuesIn(fixtureCases));

}  // namespace
