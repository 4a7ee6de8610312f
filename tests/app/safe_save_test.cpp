// Saving from the window when the disk or the folder lets the program down, and file names the
// code page cannot spell: nothing the user had is lost, and every failure is said.
#include "app/PadFile.h"
#include "platform/vcl/IniFiles.h"
#include "platform/vcl/SafeWrite.h"
#include "platform/win/WinDefs.h"
#include "tests/app/files_form.h"
#include "tests/common/DialogRecorder.h"

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::vector<DialogCall> Boxes(const DialogRecorder& recorder)
{
    std::vector<DialogCall> out;
    for (const DialogCall& call : recorder.calls)
        if (call.kind == DialogCall::Kind::MessageBox) out.push_back(call);
    return out;
}

// Saves the form's pad under path through the save dialog, answering every box with OK.
std::vector<DialogCall> SaveAs(const ShownForm& f, const AnsiString& path)
{
    DialogRecorder recorder;
    recorder.Answer(1, {PathToUnicode(path)});
    f->Save1->Click();
    return Boxes(recorder);
}

const AnsiString kSettings = "; kept by hand\r\n[Setup]\r\nTempDir=.\\Temp\r\nProjectDir=.\\\r\n"
                             "[Locale]\r\nUnits=FT_IN\r\n[Startup]\r\nScientific=false\r\n[MRU]\r\n1=/old/one.pad\r\n";

}  // namespace

// A full disk under the settings: the pad is saved, the settings file keeps every setting, and
// the user is told once in the session, not at every save.
TEST(SafeSave, SettingsOnAFullDiskStayWholeAndSaySoOnce)
{
    ForgetReportedWriteFailures();
    ShownForm f;
    PadTestFiles::Write(f.Path("settings.INI"), kSettings);
    f.Type("2 + 2");
    std::vector<DialogCall> boxes;
    {
        // The pad is one write; the settings are the next.
        ScopedSafeWriteFault full({SafeWriteStep::Write, 2, ENOSPC, true});
        boxes = SaveAs(f, f.Path("job.pad"));
    }
    EXPECT_EQ(ParsePadText(PadTestFiles::Read(f.Path("job.pad"))).Lines, std::vector<AnsiString>{"2 + 2"});
    EXPECT_EQ(PadTestFiles::Read(f.Path("settings.INI")), kSettings);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "File Write Error");
    EXPECT_TRUE(boxes[0].text.startsWith("The settings could not be saved in " + PathToUnicode(f.Path("settings.INI"))))
        << boxes[0].text.toStdString();
    EXPECT_TRUE(boxes[0].text.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))));

    ScopedSafeWriteFault again({SafeWriteStep::Write, 2, ENOSPC, true});
    EXPECT_TRUE(SaveAs(f, f.Path("job2.pad")).empty());
    EXPECT_EQ(PadTestFiles::Read(f.Path("settings.INI")), kSettings);
}

// A folder that takes no new file, holding a settings file that may be written: the settings
// are written in place rather than dropped.
TEST(SafeSave, SettingsInAFolderThatCannotBeWrittenAreStillSaved)
{
    ForgetReportedWriteFailures();
    ShownForm f;
    PadTestFiles::Write(f.Path("settings.INI"), kSettings);
    f->ScientificShown = true;
    f.Type("2 + 2");
    std::vector<DialogCall> boxes;
    {
        // The pad's temporary file is made; the settings' one is refused.
        ScopedSafeWriteFault readOnly({SafeWriteStep::Create, 2, EACCES});
        boxes = SaveAs(f, f.Path("job.pad"));
        EXPECT_TRUE(readOnly.Struck());
    }
    EXPECT_TRUE(boxes.empty());
    const TIniFile ini(f.Path("settings.INI"));
    EXPECT_EQ(ini.ReadString("Startup", "Scientific", "?"), "true");
    EXPECT_EQ(ini.ReadPath("MRU", "1", "?"), f.Path("job.pad"));
    EXPECT_EQ(ini.ReadPath("Setup", "ProjectDir", "?"), f.Folder());
    EXPECT_EQ(ini.ReadString("Locale", "Units", "?"), "FT_IN");
}

// Saving onto a full disk, once or again: the pad file and its backup each stay whole, and
// every failure says so (before, the second failure deleted the backup and left no file).
TEST(SafeSave, FailedSavesKeepThePadAndItsBackup)
{
    const struct {
        const char* what;
        SafeWriteFault fault;
        const char* backupAfter;
    } rows[] = {
        {"disk full from the start", {SafeWriteStep::Write, 1, ENOSPC, true}, "older"},
        {"disk full after the backup", {SafeWriteStep::Write, 2, ENOSPC, true}, "good"},
        {"rename refused", {SafeWriteStep::Rename, 2, EIO, true}, "good"},
    };
    for (const auto& row : rows) {
        ShownForm f;
        PadTestFiles::Write(f.Path("job.pad"), "good");
        PadTestFiles::Write(f.Path("job.p~d"), "older");
        f.Type("2 + 2");
        ScopedSafeWriteFault fault(row.fault);
        for (int attempt = 1; attempt <= 2; ++attempt) {
            const std::vector<DialogCall> boxes = SaveAs(f, f.Path("job.pad"));
            ASSERT_EQ(boxes.size(), 1u) << row.what << " #" << attempt;
            EXPECT_EQ(boxes[0].caption, "File Creation Error") << row.what;
            EXPECT_EQ(PadTestFiles::Read(f.Path("job.pad")), "good") << row.what << " #" << attempt;
            EXPECT_EQ(PadTestFiles::Read(f.Path("job.p~d")), row.backupAfter) << row.what << " #" << attempt;
        }
        EXPECT_EQ(Config->MRU.Count(), 0) << row.what;
    }
}

// Names the code page lacks reach the file system, the recent-files list and the settings as
// they are: two pads so named stay two files, each opening as itself.
TEST(SafeSave, FileNamesOutsideTheCodePage)
{
    ForgetReportedWriteFailures();
    ShownForm f;
    PadTestFiles::Write(f.Path("settings.INI"), "[Setup]\r\nTempDir=Caf\xE9\r\n");  // a Windows-1252 file
    const AnsiString house = f.Path("Дом.pad"), garden = f.Path("Сад.pad");
    f.Type("1 + 1");
    EXPECT_TRUE(SaveAs(f, house).empty());
    f.Type("2 + 2");
    EXPECT_TRUE(SaveAs(f, garden).empty());
    EXPECT_EQ(ParsePadText(PadTestFiles::Read(house)).Lines, std::vector<AnsiString>{"1 + 1"});
    EXPECT_EQ(ParsePadText(PadTestFiles::Read(garden)).Lines, std::vector<AnsiString>{"2 + 2"});
    EXPECT_FALSE(QFile::exists(PathToUnicode(f.Path("???.pad"))));

    // The settings file became UTF-8 to hold the names, its own text kept.
    const AnsiString settings = PadTestFiles::Read(f.Path("settings.INI"));
    EXPECT_TRUE(IsUtf8Text(settings));
    const TIniFile ini(f.Path("settings.INI"));
    EXPECT_EQ(ini.ReadString("Setup", "TempDir", "?"), "Caf\xE9");
    TMRU reloaded;
    reloaded.SetMaxCount(9);
    reloaded.Load(f.Path("settings.INI"));
    ASSERT_EQ(reloaded.Count(), 2);
    EXPECT_EQ(reloaded.GetPath(1), garden);
    EXPECT_EQ(reloaded.GetPath(2), house);
    EXPECT_TRUE(f->MRU_File2->Caption().contains(QString::fromUtf8("Дом.pad")))
        << f->MRU_File2->Caption().toStdString();

    {
        DialogRecorder recorder;
        recorder.Answer(IDNO);  // the edited pad is not saved
        f->MRU_File2->Click();
        EXPECT_TRUE(Boxes(recorder).empty());
    }
    EXPECT_EQ(f.PadLines().value(0), "1 + 1");
    EXPECT_EQ(f->PadFilePath, house);
    EXPECT_EQ(PathToUnicode(f->PadName), QString::fromUtf8("Дом"));
}

// Another user of the machine plants "quote.pad" in a shared temporary folder, a link to the
// user's own file; the user saves a pad as "quote" there. The save says why it wrote nothing, and
// the user's file, the link and the folder stay as they were. Planting needs a link that belongs
// to another user, which only a user with the right to give files away can make.
TEST(SafeSave, ALinkPlantedInASharedFolderIsNotSavedThrough)
{
    ShownForm f;
    QTemporaryDir shared;
    const AnsiString folder = UnicodeToPath(shared.path());
    const AnsiString victim = f.Path("accounts.txt"), planted = folder + "/quote.pad";
    PadTestFiles::Write(victim, "the user's own figures\n");
    ASSERT_EQ(::symlink(victim.c_str(), planted.c_str()), 0);
    if (::lchown(planted.c_str(), 4242, static_cast<gid_t>(-1)) != 0) {
        ASSERT_EQ(errno, EPERM);
        GTEST_SKIP() << "this user may not give a link to another user";
    }
    ASSERT_EQ(::chmod(folder.c_str(), 01777), 0);
    f.Type("2 + 2");

    const std::vector<DialogCall> boxes = SaveAs(f, folder + "/quote");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "File Creation Error");
    EXPECT_TRUE(boxes[0].text.contains("quote.pad")) << boxes[0].text.toStdString();
    EXPECT_TRUE(boxes[0].text.contains("another user")) << boxes[0].text.toStdString();
    EXPECT_TRUE(boxes[0].text.contains("Nothing was saved")) << boxes[0].text.toStdString();
    EXPECT_EQ(PadTestFiles::Read(victim), "the user's own figures\n");
    EXPECT_EQ(QFileInfo(PathToUnicode(planted)).symLinkTarget(), PathToUnicode(victim));
    EXPECT_EQ(QDir(shared.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              QStringList{"quote.pad"});
    EXPECT_EQ(Config->MRU.Count(), 0);
    ::chmod(folder.c_str(), 0700);
}
