// Reading and writing .pad files without a window: the format, its forgiving reader, the backup of
// a replaced file, and saves that fail.
#include "app/PadFile.h"
#include "platform/vcl/SafeWrite.h"
#include "tests/app/padfile_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

TPadFile SamplePad()
{
    TPadFile pad;
    pad.Date = "7 Mar 2016 14:05:09";
    pad.Description = "Garage roof";
    pad.UOM_Input = 4;
    pad.UOM_Answer = 10;
    pad.Precision = 3;
    pad.UOM_Angle = 1;
    pad.Lines = {"12' 6-1/2\" + 3'", "", "   ", "rafters = 14", "2 * 4'", "TOTAL"};
    return pad;
}

}  // namespace

TEST(PadFile, WritesTheKeysThenDataThenTheLinesWithCrLf)
{
    EXPECT_EQ(FormatPadText(SamplePad()), PadTestFiles::Read(PadTestFiles::Fixture("totalled_crlf.pad")));
}

TEST(PadFile, ReadsWhatItWroteButForEmptyLines)
{
    const TPadFile back = ParsePadText(FormatPadText(SamplePad()));
    EXPECT_EQ(back.Date, SamplePad().Date);
    EXPECT_EQ(back.Description, SamplePad().Description);
    EXPECT_EQ(back.UOM_Input, 4);
    EXPECT_EQ(back.UOM_Answer, 10);
    EXPECT_EQ(back.Precision, 3);
    EXPECT_EQ(back.UOM_Angle, 1);
    // The empty line is gone; the line of blanks comes back.
    EXPECT_EQ(back.Lines, (std::vector<AnsiString>{"12' 6-1/2\" + 3'", "   ", "rafters = 14", "2 * 4'", "TOTAL"}));
    EXPECT_TRUE(back.EndsWithTotal());
}

struct LineCase {
    const char* name;
    AnsiString text;
    std::vector<AnsiString> lines;
    AnsiString description;  // "<unset>" when the key must stay unset
    bool total;
};

TEST(PadFile, LinesAndKeysTable)
{
    const LineCase cases[] = {
        {"keys are found anywhere in a line", "x = 1 ' see _Data\nMessage \"_Description=\"\n3\n", {"3"},
         "cription=\"", false},
        {"lines before _Data are pad lines", "3 + 4\n_Data\n5\n", {"3 + 4", "5"}, "<unset>", false},
        {"keys after _Data still count", "_Data\n1\n_Description=late\n", {"1"}, "late", false},
        {"the first key in table order wins", "_Description=both _Data\n", {}, "both _Data", false},
        {"a key alone gives an empty value", "_Description=\n", {}, "", false},
        {"TOTAL must be the last line", "TOTAL\n1\n", {"TOTAL", "1"}, "<unset>", false},
        {"a trailing key line hides TOTAL", "TOTAL\n_Data\n", {"TOTAL"}, "<unset>", false},
        {"TOTAL without a final line end", "1\nTOTAL", {"1", "TOTAL"}, "<unset>", true},
        {"TOTAL with blanks is no total", "1\nTOTAL \n", {"1", "TOTAL "}, "<unset>", false},
        {"runs of empty lines vanish", "\n\n\r\n1\r\n\r\n\n2\n\n", {"1", "2"}, "<unset>", false},
        {"a NUL is dropped, not the rest", std::string("a\0b\n", 4), {"ab"}, "<unset>", false},
        {"a lone CR inside a line stays", "a\rb\n", {"a\rb"}, "<unset>", false},
        {"an empty file", "", {}, "<unset>", false},
    };
    for (const LineCase& c : cases) {
        const TPadFile pad = ParsePadText(c.text);
        EXPECT_EQ(pad.Lines, c.lines) << c.name;
        EXPECT_EQ(pad.Description.value_or("<unset>"), c.description) << c.name;
        EXPECT_EQ(pad.EndsWithTotal(), c.total) << c.name;
    }
}

TEST(PadFile, IndexValuesTable)
{
    const struct {
        const char* value;
        int index;
    } cases[] = {
        {"3", 3}, {"", 0}, {"x", 0}, {"99", 99}, {"-1", -1}, {" 2", 0}, {"2.5", 0}, {"99999999999", 0},
    };
    for (const auto& c : cases) {
        const TPadFile pad = ParsePadText(AnsiString("_UOM_Answer=") + c.value + "\n");
        EXPECT_EQ(pad.UOM_Answer.value_or(-100), c.index) << "value '" << c.value << "'";
    }
}

TEST(PadFile, ALongLineIsReadInPiecesAndNothingIsLost)
{
    const AnsiString line(1'000'000, '7');
    const TPadFile pad = ParsePadText("_Data\n" + line + "\n1\n");
    ASSERT_EQ(pad.Lines.size(), 978u + 1);
    AnsiString joined;
    for (size_t i = 0; i + 1 < pad.Lines.size(); ++i) {
        EXPECT_LE(pad.Lines[i].size(), MaxPadFileLine);
        joined += pad.Lines[i];
    }
    EXPECT_EQ(joined, line);
    EXPECT_EQ(pad.Lines.back(), "1");
}

TEST(PadFile, BinaryBytesRead)
{
    TPadFile pad;
    ASSERT_TRUE(LoadPadFile(PadTestFiles::Fixture("binary.pad"), pad));
    for (const AnsiString& line : pad.Lines) {
        EXPECT_FALSE(line.empty());
        EXPECT_EQ(line.find('\0'), AnsiString::npos);
        EXPECT_EQ(line.find('\n'), AnsiString::npos);
    }
}

class PadSave : public ::testing::Test {
protected:
    AnsiString Path(const char* name) const { return UnicodeToWin1252(dir.path()) + "/" + name; }
    QTemporaryDir dir;
};

TEST_F(PadSave, TheReplacedFileLivesOnAsTheBackup)
{
    PadTestFiles::Write(Path("job.p~d"), "oldest");
    PadTestFiles::Write(Path("job.pad"), "previous");
    const TPadSaveResult r = SavePadFile(Path("job"), SamplePad());
    ASSERT_TRUE(r.Saved());
    EXPECT_TRUE(r.BackupMade);
    EXPECT_EQ(PadTestFiles::Read(Path("job.p~d")), "previous");
    EXPECT_EQ(PadTestFiles::Read(Path("job.pad")), FormatPadText(SamplePad()));
}

TEST_F(PadSave, AFileThatCannotBeCreatedIsReported)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("job.pad"));  // a folder stands where the file should
    const TPadSaveResult r = SavePadFile(Path("job.pad"), SamplePad());
    EXPECT_EQ(r.status, TPadSaveResult::Status::CannotWrite);
    EXPECT_TRUE(r.Message().startsWith("Can't open " + QString::fromStdString(Path("job.pad")) + " for writing\n"))
        << r.Message().toStdString();

    const TPadSaveResult r2 = SavePadFile(Path("no/such/folder/job.pad"), SamplePad());
    EXPECT_EQ(r2.status, TPadSaveResult::Status::CannotWrite);
}

// A file size limit makes the write fail part-way, as a full disk does.
TEST_F(PadSave, AFailedWriteKeepsTheOldContentsAndLeavesNoCutOffFile)
{
    PadTestFiles::Write(Path("job.pad"), "previous");
    TPadFile big = SamplePad();
    big.Lines.assign(200, AnsiString(60, 'x'));

    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    const TPadSaveResult r = SavePadFile(Path("job.pad"), big);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(r.status, TPadSaveResult::Status::CannotWrite);
    EXPECT_TRUE(r.BackupMade);
    EXPECT_EQ(PadTestFiles::Read(Path("job.p~d")), "previous");
    EXPECT_EQ(PadTestFiles::Read(Path("job.pad")), "previous");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), (QStringList{"job.pad", "job.p~d"}));
    EXPECT_TRUE(r.Message().endsWith("its contents are also kept in " + QString::fromStdString(Path("job.p~d"))))
        << r.Message().toStdString();
}

// Every failure point of the backup and of the pad itself: both files stay whole and as they were
// or, for the backup, a whole copy of the pad; the failure is reported.
TEST_F(PadSave, EveryFailurePointKeepsBothFilesWhole)
{
    for (SafeWriteStep step : {SafeWriteStep::Create, SafeWriteStep::Write, SafeWriteStep::Sync,
                               SafeWriteStep::Close, SafeWriteStep::Rename}) {
        for (int nth : {1, 2}) {  // 1: the backup fails, 2: the pad fails
            PadTestFiles::Write(Path("job.pad"), "previous");
            PadTestFiles::Write(Path("job.p~d"), "oldest");
            ScopedSafeWriteFault fault({step, nth, ENOSPC});
            const TPadSaveResult r = SavePadFile(Path("job.pad"), SamplePad());
            const char* what = nth == 1 ? "backup" : "pad";
            EXPECT_FALSE(r.Saved()) << static_cast<int>(step) << what;
            EXPECT_FALSE(r.Message().isEmpty()) << static_cast<int>(step) << what;
            EXPECT_EQ(PadTestFiles::Read(Path("job.pad")), "previous") << static_cast<int>(step) << what;
            EXPECT_EQ(PadTestFiles::Read(Path("job.p~d")), nth == 1 ? "oldest" : "previous")
                << static_cast<int>(step) << what;
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
        }
    }
}
