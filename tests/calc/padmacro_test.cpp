// The temporary program a pad is written into: its exact text, where it goes, the kinds of
// pad lines, the end of totalling, and the consistency warning with "Don't tell me again".
#include "platform/win/ExtMessageBox.h"
#include "platform/win/WinDefs.h"
#include "tests/calc/PadFixture.h"

#include "platform/vcl/SafeWrite.h"

#include <QDir>
#include <cerrno>

namespace {

class PadMacroTest : public PadFixture {
protected:
    // Writes the given pad lines (number, text) into a fresh program and returns its text
    // between the fixed first lines and the completion line.
    AnsiString Written(const std::vector<std::pair<int, AnsiString>>& lines, bool* totalling = nullptr)
    {
        PadMacroFile file;
        AnsiString path;
        EXPECT_TRUE(OpenPadMacroFile(file, path));
        bool still = true;
        for (const auto& [n, text] : lines) {
            int dimension = 0;
            EXPECT_TRUE(TranslatePadLine(file, text, n, dimension, still));
        }
        EXPECT_TRUE(WritePadMacroFile(file, path));
        if (totalling) *totalling = still;
        const AnsiString all = ProgramText();
        const AnsiString head = "TOTAL = 0\nANS = 0\n";
        EXPECT_EQ(all.substr(0, head.size()), head);
        return all.substr(head.size());
    }
};

TEST_F(PadMacroTest, WorkedExampleByteForByte)
{
    PadMacroFile file;
    AnsiString path;
    ASSERT_TRUE(OpenPadMacroFile(file, path));
    EXPECT_EQ(path, ProgramPath());
    bool still = true;
    int dimension = 0;
    TranslatePadLine(file, "3 + 4", 1, dimension, still);
    EXPECT_EQ(dimension, -9);
    TranslatePadLine(file, "x = 2", 3, dimension, still);
    EXPECT_TRUE(RunPadMacroFile(file, path));
    EXPECT_FALSE(file.open);

    EXPECT_EQ(ProgramText(),
              "TOTAL = 0\n"
              "ANS = 0\n"
              "ANS = 3 + 4 '_LINE:1\n"
              "Set_ZR_Qty(\"ZR_VARIABLE:1\", ANS)\n"
              "TOTAL = TOTAL + ANS\n"
              "x = 2 '_LINE:3\n"
              "Set_ZR_Qty(\"ZR_VARIABLE_2\", 1)\n");
    ASSERT_EQ(state.PadAnswers.size(), 1u);
    EXPECT_EQ(state.PadAnswers[0].value, 7.0);
    EXPECT_EQ(state.PadAnswers[0].line, 1);
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(PadMacroTest, AngleLineByAngleUnit)
{
    const struct {
        int angleUnit;
        const char* first;
    } rows[] = {
        {0, "TOTAL = 0\n"},
        {1, "Set_ZR_Qty(\"ZR_ANGLE_UOM\",1)\nTOTAL = 0\n"},
        {2, "Set_ZR_Qty(\"ZR_ANGLE_UOM\",2)\nTOTAL = 0\n"},
        {3, "TOTAL = 0\n"},
        {-1, "TOTAL = 0\n"},
    };
    for (const auto& row : rows) {
        state.AngleUnit = row.angleUnit;
        {
            PadMacroFile file;
            AnsiString path;
            ASSERT_TRUE(OpenPadMacroFile(file, path));
            ASSERT_TRUE(WritePadMacroFile(file, path));
        }
        EXPECT_EQ(ProgramText().substr(0, std::strlen(row.first)), row.first) << "angle unit " << row.angleUnit;
    }
}

TEST_F(PadMacroTest, KindsOfPadLines)
{
    const struct {
        AnsiString line;
        AnsiString written;
        bool totallingAfter;
    } rows[] = {
        {"3 + 4", "ANS = 3 + 4 '_LINE:2\nSet_ZR_Qty(\"ZR_VARIABLE:2\", ANS)\nTOTAL = TOTAL + ANS\n", true},
        {"tend * 2", "tend * 2 '_LINE:2\n", true},                // "END" inside a word
        {"task", "task '_LINE:2\n", true},                        // "ASK" inside a word
        {"' note = 5", "' note = 5 '_LINE:2\n", true},            // a comment holding "="
        {"' note", "' note\n", true},
        {"   ' indented", "   ' indented\n", true},
        {"if (x > 1) then", "if (x > 1) then '_LINE:2\n", true},
        {"total * 2", "ANS = total * 2 '_LINE:2\nSet_ZR_Qty(\"ZR_VARIABLE:2\", ANS)\nTOTAL = TOTAL + ANS\n", true},
        {"TOTAL * 2", "ANS = TOTAL * 2 '_LINE:2\nSet_ZR_Qty(\"ZR_VARIABLE:2\", ANS)\n", false},
        {"message(\"TOTAL\")", "message(\"TOTAL\") '_LINE:2\n", false},  // inside a string too
        {"2 ' TOTAL", "ANS = 2 ' TOTAL '_LINE:2\nSet_ZR_Qty(\"ZR_VARIABLE:2\", ANS)\n", false},
        {"  7  ", "ANS =   7   '_LINE:2\nSet_ZR_Qty(\"ZR_VARIABLE:2\", ANS)\nTOTAL = TOTAL + ANS\n", true},
        // A NUL ends the line before its marker would; the line is taken up to it.
        {AnsiString("3\0 + 4", 6), "ANS = 3 '_LINE:2\nSet_ZR_Qty(\"ZR_VARIABLE:2\", ANS)\nTOTAL = TOTAL + ANS\n", true},
    };
    for (const auto& row : rows) {
        bool totalling = true;
        EXPECT_EQ(Written({{2, row.line}}, &totalling), row.written) << row.line;
        EXPECT_EQ(totalling, row.totallingAfter) << row.line;
    }
}

TEST_F(PadMacroTest, FolderOfTheProgram)
{
    const AnsiString macros = Folder() + "/Macros";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(macros)));
    AnsiString windowsStyle = Folder();
    std::replace(windowsStyle.begin(), windowsStyle.end(), '/', '\\');
    const struct {
        AnsiString temp, macro, expected;
    } rows[] = {
        {Folder(), macros, Folder() + "/MacroRunLine.Tmp"},
        {Folder() + "/", macros, Folder() + "/MacroRunLine.Tmp"},
        {windowsStyle, macros, Folder() + "/MacroRunLine.Tmp"},
        {Folder() + "/missing", macros, macros + "/MacroRunLine.Tmp"},
    };
    for (const auto& row : rows) {
        Config->TempDir = row.temp;
        Config->MacroDir = row.macro;
        PadMacroFile file;
        AnsiString path;
        EXPECT_TRUE(OpenPadMacroFile(file, path)) << row.temp;
        EXPECT_EQ(path, row.expected) << row.temp;
        EXPECT_TRUE(file.open) << row.temp;
    }
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(PadMacroTest, NoFolderToWriteIn)
{
    const AnsiString longFolder = Folder() + "/" + AnsiString(240, 'd');
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(longFolder)));
    const struct {
        AnsiString temp, macro, path;
    } rows[] = {
        {Folder() + "/missing", Folder() + "/gone", Folder() + "/gone/MacroRunLine.Tmp"},
        // The interpreter takes at most 255 characters of path.
        {longFolder, longFolder, longFolder + "/MacroRunLine.Tmp"},
        // A folder of the settings file of megabytes: the box quotes 511 bytes of it.
        {AnsiString(4 << 20, 'm'), AnsiString(4 << 20, 'm'), AnsiString(4 << 20, 'm') + "/MacroRunLine.Tmp"},
    };
    for (const auto& row : rows) {
        dialogs.calls.clear();
        Config->TempDir = row.temp;
        Config->MacroDir = row.macro;
        PadMacroFile file;
        AnsiString path;
        EXPECT_FALSE(OpenPadMacroFile(file, path));
        EXPECT_FALSE(file.open);
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_EQ(dialogs.calls[0].caption, "Macro Single Line File Error");
        const std::string shown = dialogs.calls[0].text.toStdString();
        EXPECT_TRUE(shown == "Can't open " + row.path.substr(0, 511) + " for writing")
            << shown.substr(0, 600) << " (" << shown.size() << " bytes)";
        EXPECT_EQ(dialogs.calls[0].flags, unsigned(MB_OK));
        EXPECT_FALSE(RunPadMacroFile(file, path));
    }
}

// A program file that cannot be written whole is never run: the box names the file and the
// reason, and the calculation gives no answers (before, a cut program ran, or nothing was said).
TEST_F(PadMacroTest, AProgramThatCannotBeWrittenIsNotRun)
{
    std::vector<AnsiString> good = {"1 + 1"};
    ASSERT_TRUE(CalculatePadLines(state, good, false).completed);
    const AnsiString before = ProgramText();

    const struct {
        const char* what;
        SafeWriteFault fault;
    } rows[] = {
        {"no file can be made", {SafeWriteStep::Create, 1, ENOSPC}},
        {"full disk", {SafeWriteStep::Write, 1, ENOSPC, true}},
        {"nearly full: the second part fails", {SafeWriteStep::Write, 2, ENOSPC}},
        {"sync fails", {SafeWriteStep::Sync, 1, EIO}},
        {"close fails", {SafeWriteStep::Close, 1, EIO}},
        {"rename fails", {SafeWriteStep::Rename, 1, EIO}},
    };
    for (const auto& row : rows) {
        dialogs.calls.clear();
        std::vector<AnsiString> pad(20000, "2 + 3");  // a program of several write chunks
        ScopedSafeWriteFault fault(row.fault);
        const PadCalculationResult r = CalculatePadLines(state, pad, true);
        EXPECT_TRUE(fault.Struck()) << row.what;
        EXPECT_FALSE(r.completed) << row.what;
        EXPECT_TRUE(r.resultLines.empty()) << row.what;
        EXPECT_TRUE(state.PadAnswers.empty()) << row.what;
        ASSERT_EQ(dialogs.calls.size(), 1u) << row.what;
        EXPECT_EQ(dialogs.calls[0].caption, "Macro Single Line File Error");
        EXPECT_TRUE(dialogs.calls[0].text.startsWith(QString::fromStdString("Can't open " + ProgramPath() + " for writing\n")))
            << dialogs.calls[0].text.toStdString();
        EXPECT_EQ(ProgramText(), before) << row.what;
    }
}

TEST_F(PadMacroTest, ConsistencyWarningUntilDontTellMeAgain)
{
    Units("IMPERIAL", "ft", -1);
    dialogs.Answer(IDOK);
    Written({{1, "5' * 3' + 2'"}});
    ASSERT_EQ(dialogs.calls.size(), 1u);
    const DialogCall& box = dialogs.calls[0];
    EXPECT_EQ(box.kind, DialogCall::Kind::ExtMessageBox);
    EXPECT_EQ(box.caption, "Consistency Warning");
    EXPECT_EQ(box.text, "Possible Inconsistent Units in following line\n5' * 3' + 2'");
    EXPECT_EQ(box.flags, 0x22000030u);

    // Ticked in the second box: no third or later box, in this pad or the next.
    dialogs.Answer(IDOK, {}, true);
    Written({{1, "10' / 2'"}, {2, "5' + 6 1/2\""}, {3, "5' * 3' + 2'"}});
    EXPECT_EQ(dialogs.calls.size(), 2u);
    EXPECT_TRUE(ConsistencyWarningAnswer() & MB_DONOTTELLAGAIN);
    Written({{1, "5' * 3' + 2'"}});
    EXPECT_EQ(dialogs.calls.size(), 2u);

    // The box quotes 511 bytes of a long line.
    ConsistencyWarningAnswer() = 0;
    AnsiString longLine = "5' * 3' + 2'";
    while (longLine.size() < 100000) longLine += " + 0";
    Written({{1, longLine}});
    ASSERT_EQ(dialogs.calls.size(), 3u);
    const std::string shown = dialogs.calls[2].text.toStdString();
    EXPECT_TRUE(shown == "Possible Inconsistent Units in following line\n" + longLine.substr(0, 511))
        << shown.substr(0, 600) << " (" << shown.size() << " bytes)";
}

TEST_F(PadMacroTest, RunThatStopsIsNotComplete)
{
    PadMacroFile file;
    AnsiString path;
    ASSERT_TRUE(OpenPadMacroFile(file, path));
    bool still = true;
    int dimension = 0;
    TranslatePadLine(file, "3 +* 4", 1, dimension, still);
    TranslatePadLine(file, "5", 2, dimension, still);
    state.MacroVariables[1] = 1.0;  // left from an earlier run
    EXPECT_FALSE(RunPadMacroFile(file, path));
    EXPECT_TRUE(state.PadAnswers.empty());
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].text, "Error: parse error in line number 1:\nANS = 3 +* 4");
}

}  // namespace
