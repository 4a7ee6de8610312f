// The run entry and the run loop: what a run resets, what survives it, and how errors end it.
#include "tests/macro/program_support.h"

#include "macro/Machine.h"
#include "macro/Run.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using Answers = std::map<std::string, double>;

TEST(RunLoop, AnEmptyFileShowsNothing)
{
    ProgramRun run;
    run.Run("");
    EXPECT_TRUE(run.Texts().empty());
    EXPECT_TRUE(run.LastAnswers().empty());
}

TEST(RunLoop, AMissingFileEndsTheRunWithoutABox)
{
    ProgramRun run;
    run.RunFile(MacroTestPath("no such file.mac"));
    EXPECT_TRUE(run.Texts().empty());
}

TEST(RunLoop, AfterASyntaxErrorNothingMoreRuns)
{
    ProgramRun run;
    run.Run("x = 5\nset_zr_qty(\"A\", x)\n");
    run.Run("x = (\nx = 9\nset_zr_qty(\"B\", x)\n");
    run.Run("set_zr_qty(\"C\", x)\n");
    EXPECT_EQ(run.LastAnswers(), (Answers{{"A", 5}, {"C", 5}}));
    EXPECT_EQ(run.Texts(), std::vector<std::string>{"Error: parse error in line number 2:\nx = (\n"});
}

TEST(RunLoop, ARunTimeErrorSkipsTheRestOfItsLineAndFile)
{
    ProgramRun run;
    run.Run("x = 1 / 0; set_zr_qty(\"A\", 1)\nset_zr_qty(\"B\", 1)\n");
    EXPECT_TRUE(run.LastAnswers().empty());
    EXPECT_EQ(run.Texts(), std::vector<std::string>{"Error: division by zero"});
}

TEST(RunLoop, EachRunStartsAfresh)
{
    ProgramRun run;
    run.Run("x = 1\nstop(0)\nset_zr_qty(\"A\", 1)\n");
    angleMode = 1;
    run.Run("set_zr_qty(\"B\", sin(90))\nset_zr_qty(\"C\", 1)\nx = (\n");
    EXPECT_EQ(run.LastAnswers(), (Answers{{"B", 1}, {"C", 1}}));
    // The error is found at the line end, which the line counter has counted already.
    EXPECT_EQ(run.Texts(), std::vector<std::string>{"Error: parse error in line number 4:\nx = (\n"});
    EXPECT_EQ(valueCount, 0);
}

TEST(RunLoop, UserVariablesSurviveAndPredefinedNamesAreInstalledAgain)
{
    ProgramRun run;
    run.Run("kept = 42\nPI = 3\nname$ = \"roof\"\n");
    run.Run("set_zr_qty(\"K\", kept)\nset_zr_qty(\"P\", PI)\nset_zr_qty(\"N\", len(name$))\n");
    EXPECT_EQ(run.LastAnswers(), (Answers{{"K", 42}, {"P", 3.141592653589793}, {"N", 4}}));
}

TEST(RunLoop, APadWithALabelCalculatesAgain)
{
    ProgramRun run;
    for (int i = 0; i < 3; ++i) run.RunFile(MacroFixture("labels.mac"));
    EXPECT_EQ(run.Texts(), std::vector<std::string>{});
    EXPECT_EQ(run.Answers("ZR_I"), (std::vector<double>{5, 5, 5}));
}

TEST(RunLoop, TwoLabelsOfOneNameInOneRunStillFail)
{
    ProgramRun run;
    run.Run("{\nrlhere: x = 1\n}\n{\nrlhere: x = 2\n}\n");
    EXPECT_EQ(run.Texts(), std::vector<std::string>{"Error: multiple labels:  rlhere"});
}

TEST(RunLoop, AJumpToALabelOfAnEarlierStatementIsAnUndefinedLabel)
{
    // Top-level statements are compiled over the same cells; the earlier statement is gone.
    ProgramRun run;
    run.Run("i = 0\nrlback: i = i + 1\nif (i < 5) then goto rlback endif\nset_zr_qty(\"A\", i)\n");
    EXPECT_EQ(run.Texts(), std::vector<std::string>{"Error: undefined label: rlback"});
    EXPECT_TRUE(run.LastAnswers().empty());
}

TEST(RunLoop, AJumpToALabelOfAnEarlierRunIsAnUndefinedLabel)
{
    ProgramRun run;
    run.Run("{\nrlold: x = 1\n}\n");
    run.Run("goto @rlold\n");
    EXPECT_EQ(run.Texts(), std::vector<std::string>{"Error: undefined label: rlold"});
}

TEST(RunLoop, ASyntaxErrorOnALongPadLineIsCutToTheBox)
{
    ProgramRun run;
    std::string line = "x = (" + std::string(700, ' ') + "1 '_LINE:7";
    run.Run(line + "\n");
    ASSERT_EQ(run.Texts().size(), 1u);
    // The reader holds 511 bytes of the line; the box's detail takes at most 511 bytes.
    std::string expected = "Error: parse error in line number 1:\nx = (" + std::string(506, ' ');
    std::string detail = run.Texts()[0].substr(std::string("Error: parse error ").size());
    EXPECT_LE(detail.size(), 511u);
}

TEST(RunLoop, ThePadMarkerGivesThePadLine)
{
    ProgramRun run;
    // A run shows its first syntax error only: the later ones are found, but show no box.
    run.Run("ANS = 0\nANS = 2 + '_LINE:12\nx = 1 +* 2 '_LINE:\n");
    run.Run("x = 1 +* 2 '_LINE:\nANS = 2 + '_LINE:12\n");
    EXPECT_EQ(run.Texts(), (std::vector<std::string>{"Error: parse error in line number 12:\nANS = 2 +",
                                                     "Error: parse error in line number 0:\nx = 1 +* 2"}));
}

TEST(RunLoop, TheRunFileNameDecidesTheBoxSuffix)
{
    ProgramRun run;
    run.Run("x = (\n", "other.mac");
    EXPECT_EQ(run.Texts(), std::vector<std::string>{"Error: parse error in line number 2:\nx = (\n in \"" +
                                                    MacroTestPath("other.mac") + "\""});
}

// The error boxes a run shows: text, caption and flags. A pad line's number comes from the marker
// behind it; a run-time error in the pad names no line; another file is named with a line.
TEST(RunLoop, ErrorBoxesOfARun)
{
    const struct {
        const char* name;
        const char* source;
        const char* file;  // null: the pad's run file
        std::string text;  // empty: no box
    } cases[] = {
        {"pad syntax error", "ANS = 0 '_LINE:1\nANS = 2 * '_LINE:7\n", nullptr,
         "Error: parse error in line number 7:\nANS = 2 *"},
        {"pad if without endif: the last line at the end of input", "ANS = 0\nif (ANS == 0) then '_LINE:2\n"
         "ebx = 1 '_LINE:3\n", nullptr, "Error: parse error in line number 3:\nebx = 1"},
        {"syntax error without marker", "x = (\n", nullptr, "Error: parse error in line number 2:\nx = (\n"},
        {"syntax error at the end of input without marker", "if (1) then\nebx = 1", nullptr,
         "Error: parse error in line number 2:\nebx = 1"},
        {"pad run-time error", "ANS = 1 / 0 '_LINE:4\n", nullptr, "Error: division by zero"},
        {"pad undefined variable", "ANS = ebUndefined7 '_LINE:2\n", nullptr,
         "Error: undefined variable \"ebUndefined7\""},
        {"pad lexer error", "s$ = \"abc '_LINE:3\n", nullptr, "Error: text missing closing double-quote "},
        {"run-time error in another file", "x = 1\ny = 1 / 0\n", "other.mac",
         "Error: division by zero in \"" + MacroTestPath("other.mac") + "\" near line 1\n"},
        {"a comment ends the last statement without a line end", "ebx = 1 ' note", nullptr, ""},
    };
    for (const auto& c : cases) {
        ProgramRun run;
        if (c.file) run.Run(c.source, c.file);
        else run.Run(c.source);
        if (c.text.empty()) {
            EXPECT_TRUE(run.boxes.calls.empty()) << c.name;
            continue;
        }
        ASSERT_EQ(run.boxes.calls.size(), 1u) << c.name;
        EXPECT_EQ(run.Texts()[0], c.text) << c.name;
        EXPECT_EQ(run.boxes.calls[0].caption.toStdString(), "Macro Error") << c.name;
        EXPECT_EQ(run.boxes.calls[0].flags, 0x1010u) << c.name;
    }
}

TEST(RunLoop, ACommentOnTheLastLineEndsItsStatement)
{
    ProgramRun run;
    run.Run("set_zr_qty(\"ZR_A\", 1) ' no line end");
    EXPECT_TRUE(run.Texts().empty());
    EXPECT_EQ(run.Answers("ZR_A"), std::vector<double>{1});
}

}  // namespace

namespace {

int OpenDescriptors()
{
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) n += entry.exists() ? 1 : 0;
    return n;
}

// A file a program leaves open is closed when its run ends (not only when a later run happens to
// open a file): no descriptor stays behind, what it wrote is in the file, and the handle is gone
// in the next run.
TEST(RunLoop, FilesLeftOpenAreClosedWhenTheRunEnds)
{
    const std::string path = MacroTestPath("left open.txt");
    std::remove(path.c_str());
    ProgramRun run;
    const int before = OpenDescriptors();
    run.Run("h = open(\"" + path + "\", \"w\")\nwrite(h, \"kept\")\nset_zr_qty(\"H\", h)\n");
    EXPECT_EQ(OpenDescriptors(), before);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char text[16] = {};
    const size_t n = std::fread(text, 1, sizeof text - 1, f);
    std::fclose(f);
    EXPECT_EQ(std::string(text, n), "kept");
    const double handle = run.LastAnswers()["H"];
    run.Run("close(" + std::to_string(static_cast<long long>(handle)) + ")\n");
    EXPECT_EQ(run.Texts(), std::vector<std::string>{"Error: close: file not open " + std::to_string(static_cast<long long>(handle))});
}

}  // namespace
