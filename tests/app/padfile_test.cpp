// Reading and writing .pad files without a window: the format, its forgiving reader, the backup of
// a replaced file, and saves that fail.
#include "app/PadFile.h"
#include "app/PadLimits.h"
#include "platform/vcl/SafeWrite.h"
#include "tests/app/padfile_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <iterator>
#include <random>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

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

// What the program writes, and the pads it and its users have stored, read as they always did,
// whatever their line ends.
TEST(PadFile, ReadsWhatItWroteAndStoredPads)
{
    const std::pair<const char*, AnsiString> files[] = {
        {"written", FormatPadText(SamplePad())},
        {"CR LF", PadTestFiles::Read(PadTestFiles::Fixture("totalled_crlf.pad"))},
        {"LF", PadTestFiles::Read(PadTestFiles::Fixture("totalled_lf.pad"))},
        {"CR", PadTestFiles::Read(PadTestFiles::Fixture("totalled_cr.pad"))},
    };
    for (const auto& [name, bytes] : files) {
        const TPadFile back = ParsePadText(bytes);
        EXPECT_EQ(back.Date, SamplePad().Date) << name;
        EXPECT_EQ(back.Description, SamplePad().Description) << name;
        EXPECT_EQ(back.UOM_Input, 4) << name;
        EXPECT_EQ(back.UOM_Answer, 10) << name;
        EXPECT_EQ(back.Precision, 3) << name;
        EXPECT_EQ(back.UOM_Angle, 1) << name;
        EXPECT_EQ(back.Lines, SamplePad().Lines) << name;
        EXPECT_TRUE(back.EndsWithTotal()) << name;
    }
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
        {"a key inside a line is pad text", "x = 1 ' see the _Date= field\nMessage \"_Description=\"\n3\n",
         {"x = 1 ' see the _Date= field", "Message \"_Description=\"", "3"}, "<unset>", false},
        {"a key after blanks is pad text", "  _Description=x\n_Data\n", {"  _Description=x"}, "<unset>", false},
        {"lines before _Data are pad lines", "3 + 4\n_Data\n5\n", {"3 + 4", "5"}, "<unset>", false},
        {"after _Data every line is a pad line", "_Data\nroof_Data = 12\n_Description=late\n_Data\n_Date=x\n",
         {"roof_Data = 12", "_Description=late", "_Data", "_Date=x"}, "<unset>", false},
        {"a value holds keys", "_Description=both _Data _Date=\n", {}, "both _Data _Date=", false},
        {"a key alone gives an empty value", "_Description=\n", {}, "", false},
        {"TOTAL must be the last line", "TOTAL\n1\n", {"TOTAL", "1"}, "<unset>", false},
        {"a trailing key line hides TOTAL", "TOTAL\n_Data\n", {"TOTAL"}, "<unset>", false},
        {"TOTAL without a final line end", "1\nTOTAL", {"1", "TOTAL"}, "<unset>", true},
        {"TOTAL with blanks is no total", "1\nTOTAL \n", {"1", "TOTAL "}, "<unset>", false},
        {"empty lines before a line stay, trailing ones go", "\n\n\r\n1\r\n\r\n\n2\n\n", {"", "", "", "1", "", "", "2"},
         "<unset>", false},
        {"empty lines before a key line go with it", "_Date=d\n\n_Description=x\r\n\r\n_Data\n\n1\n", {"", "1"}, "x",
         false},
        {"trailing empty lines do not hide TOTAL", "1\n\nTOTAL\r\n\r\n\n", {"1", "", "TOTAL"}, "<unset>", true},
        {"a NUL is dropped, not the rest", std::string("a\0b\n", 4), {"ab"}, "<unset>", false},
        // Lines end where the pad pane breaks them.
        {"a lone CR ends a line", "a\rb\n", {"a", "b"}, "<unset>", false},
        {"CR only, keys and lines", "_Description=d\r_Data\r1\r\r2\rTOTAL\r", {"1", "", "2", "TOTAL"}, "d", true},
        {"CR CR LF is two ends, LF CR two", "1\r\r\n2\n\r3", {"1", "", "2", "", "3"}, "<unset>", false},
        {"a CR before a key line", "x\r_Description=y\r\n", {"x"}, "y", false},
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

// However many short or empty lines a file holds, reading keeps no more than it may refuse.
TEST(PadFile, ReadingStopsPastTheLineLimit)
{
    const struct {
        const char* name;
        AnsiString text;
        size_t lines;
    } cases[] = {
        {"pad lines", "_Data\n1\n2\n3\n4\n5\n", 4},
        {"empty lines before a pad line", AnsiString(100000, '\n') + "1\n", 4},
        {"empty lines before a key line", AnsiString(100000, '\n') + "_Data\n1\n", 1},
        {"within the limit", "1\n\n\n", 1},
        {"lines ended by CR alone", "1\r2\r3\r4\r5\r", 4},
        {"empty lines of CRs", AnsiString(100000, '\r') + "1\r", 4},
    };
    for (const auto& c : cases) EXPECT_EQ(ParsePadText(c.text, 3).Lines.size(), c.lines) << c.name;
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

    // A pipe where the file should be is neither waited on for a backup nor replaced, and the
    // user reads why as every other write of the program says it.
    ASSERT_EQ(mkfifo(Path("pipe.pad").c_str(), 0600), 0);
    const PadTestFiles::PipeUnblocker unblocker(Path("pipe.pad"));
    const TPadSaveResult r3 = SavePadFile(Path("pipe.pad"), SamplePad());
    EXPECT_EQ(r3.status, TPadSaveResult::Status::CannotWrite);
    EXPECT_EQ(r3.Message().toStdString(),
              "Can't open " + Path("pipe.pad") + " for writing\nIt is not a regular file but a named pipe\nNothing was saved.");
    struct stat after {};
    ASSERT_EQ(lstat(Path("pipe.pad").c_str(), &after), 0);
    EXPECT_TRUE(S_ISFIFO(after.st_mode));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("pipe.p~d"))));
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

namespace {

// Lines that make the pad file exactly bytes long under SamplePad's keys, none longer than a line
// may be.
std::vector<AnsiString> LinesFillingTheFileTo(std::int64_t bytes)
{
    TPadFile keys = SamplePad();
    keys.Lines.clear();
    std::int64_t left = bytes - static_cast<std::int64_t>(FormatPadText(keys).size());
    std::vector<AnsiString> lines;
    while (left > 0) {
        std::int64_t length = std::min<std::int64_t>(MaxPadFileLine, left - 2);
        if (left - (length + 2) == 1) --length;  // leave room for one more line of its own
        lines.emplace_back(static_cast<size_t>(length), 'x');
        left -= length + 2;
    }
    return lines;
}

}  // namespace

// What Save writes, Open opens again, whole and with its empty lines: pads at the limits go both
// ways, and a pad past one is refused by Save before anything is written, with the limit named.
TEST_F(PadSave, WhatIsSavedOpensAgainAtAndAroundTheLimits)
{
    const AnsiString longest(MaxPadFileLine, '1');
    std::vector<AnsiString> mostLines(MaxPadFileLines, "");
    mostLines.front() = "1 + 1";
    mostLines.back() = "TOTAL";
    std::vector<AnsiString> oneLineMore = mostLines;
    oneLineMore.push_back("2");
    const struct {
        const char* name;
        std::vector<AnsiString> lines;
        AnsiString description;
        const char* refusal;  // part of the box's text; null when the pad is saved
    } cases[] = {
        {"an empty line between two", {"1 + 1", "", "2 + 2"}, "", nullptr},
        {"empty lines first, in runs, beside blanks", {"", "1", "", "", "   ", "", "TOTAL"}, "", nullptr},
        {"as many lines as a pad holds", mostLines, "", nullptr},
        {"one line more", oneLineMore, "", "it has more than 200000 lines"},
        {"the longest line", {"1", longest, ""}, "", nullptr},
        {"a line one character longer", {"1", "", longest + "2", "3"}, "", "line 3 has more than 1023 characters"},
        {"key lines are not pad lines", {"1"}, AnsiString(5000, 'd'), nullptr},
        {"as large as a pad file is", LinesFillingTheFileTo(MaxPadFileBytes), "Garage roof", nullptr},
        {"a byte larger", LinesFillingTheFileTo(MaxPadFileBytes + 1), "Garage roof", "larger than 16 MB"},
    };
    for (const auto& c : cases) {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        PadTestFiles::Write(Path("job.pad"), "previous");
        TPadFile pad = SamplePad();
        pad.Lines = c.lines;
        pad.Description = c.description;
        const TPadSaveResult r = SavePadFile(Path("job.pad"), pad);
        if (c.refusal) {
            EXPECT_FALSE(r.Saved()) << c.name;
            EXPECT_TRUE(r.Message().contains(c.refusal)) << c.name << ": " << r.Message().toStdString();
            EXPECT_EQ(PadTestFiles::Read(Path("job.pad")), "previous") << c.name;
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"job.pad"}) << c.name;
            continue;
        }
        ASSERT_TRUE(r.Saved()) << c.name << ": " << r.Message().toStdString();
        TPadFile back;
        ASSERT_TRUE(static_cast<bool>(LoadPadFile(r.FileName, back))) << c.name;
        // Only the empty lines at the end are not kept.
        std::vector<AnsiString> expected = c.lines;
        while (!expected.empty() && expected.back().empty()) expected.pop_back();
        EXPECT_TRUE(back.Lines == expected) << c.name << ": " << back.Lines.size() << " lines back of "
                                            << expected.size();
        EXPECT_EQ(back.Description, pad.Description) << c.name;
        EXPECT_EQ(back.EndsWithTotal(), expected.back() == "TOTAL") << c.name;
    }
}

// Lines that end in CR alone are as many lines as the pane would show: a file of few line feeds
// and two million CRs is refused by the line limit, at once, instead of freezing the window.
TEST_F(PadSave, ManyLinesEndedByCrAloneAreRefusedAtOnce)
{
    AnsiString line;
    for (int i = 0; i < 200; ++i) line += "1\r";
    AnsiString bytes;
    for (int i = 0; i < 10000; ++i) bytes += line + "\n";
    PadTestFiles::Write(Path("crs.pad"), bytes);
    QElapsedTimer timer;
    timer.start();
    TPadFile pad;
    const TPadReadResult read = LoadPadFile(Path("crs.pad"), pad);
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_EQ(read.status, TPadReadResult::Status::Refused);
    EXPECT_EQ(read.Reason, QString("it has more than 200000 lines"));
    EXPECT_TRUE(pad.Lines.empty());
}

namespace {

// A pad line as users write them: words the reader once took for keys wherever they fall, blanks,
// empty lines, and any byte a line may hold.
AnsiString RandomLine(std::mt19937& random)
{
    static const char* const words[] = {"_Date=", "_Description=", "_UOM_Input=", "_UOM_Answer=", "_Precision=",
                                        "_UOM_Angle=", "_Data", "TOTAL", "roof", " ", " = ", "12' 6\"", "1"};
    switch (random() % 6) {
    case 0: return "";
    case 1: return AnsiString(1 + random() % 4, ' ');
    default: break;
    }
    AnsiString line;
    for (unsigned parts = 1 + random() % 5; parts > 0; --parts) {
        if (random() % 2)
            line += words[random() % std::size(words)];
        else
            line += static_cast<char>(0x20 + random() % 0xe0);
    }
    return line;
}

}  // namespace

// Whatever the user typed comes back after a save and an open, line for line, with the date, the
// description and the unit controls it was saved with.
TEST_F(PadSave, RandomPadsComeBackLineForLine)
{
    AnsiString everyByte;
    for (int c = 0x20; c <= 0xff; ++c) everyByte += static_cast<char>(c);
    std::mt19937 random(29);
    for (int n = 0; n < 300; ++n) {
        TPadFile pad;
        pad.Date = RandomLine(random);
        pad.Description = n == 0 ? everyByte : RandomLine(random);
        pad.UOM_Input = static_cast<int>(random() % 6) - 1;
        pad.UOM_Answer = static_cast<int>(random() % 17) - 1;
        pad.Precision = static_cast<int>(random() % 9) - 1;
        pad.UOM_Angle = static_cast<int>(random() % 4) - 1;
        if (n == 0) pad.Lines.push_back(everyByte);
        for (unsigned count = random() % 12; count > 0; --count) pad.Lines.push_back(RandomLine(random));
        if (random() % 3 == 0) pad.Lines.push_back("TOTAL");

        const TPadSaveResult saved = SavePadFile(Path("random.pad"), pad);
        ASSERT_TRUE(saved.Saved()) << "pad " << n << ": " << saved.Message().toStdString();
        TPadFile back;
        ASSERT_TRUE(LoadPadFile(saved.FileName, back)) << "pad " << n;
        // A pad's empty lines at the end are not kept; every other line is.
        std::vector<AnsiString> expected = pad.Lines;
        while (!expected.empty() && expected.back().empty()) expected.pop_back();
        EXPECT_EQ(back.Lines, expected) << "pad " << n;
        EXPECT_EQ(back.Date, pad.Date) << "pad " << n;
        EXPECT_EQ(back.Description, pad.Description) << "pad " << n;
        EXPECT_EQ(back.UOM_Input, pad.UOM_Input) << "pad " << n;
        EXPECT_EQ(back.UOM_Answer, pad.UOM_Answer) << "pad " << n;
        EXPECT_EQ(back.Precision, pad.Precision) << "pad " << n;
        EXPECT_EQ(back.UOM_Angle, pad.UOM_Angle) << "pad " << n;
        EXPECT_EQ(back.EndsWithTotal(), !expected.empty() && expected.back() == "TOTAL") << "pad " << n;
    }
}
