// Saving from the window when the disk or the folder lets the program down, and file names the
// code page cannot spell: nothing the user had is lost, and every failure is said.
#include "app/PadFile.h"
#include "platform/vcl/IniFiles.h"
#include "platform/vcl/SafeWrite.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinDefs.h"
#include "tests/app/files_form.h"
#include "tests/common/DialogRecorder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
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

// Another user of the machine plants a name in a shared temporary folder: "quote.pad", a link to
// the user's own pad; "jobs", a link to the user's own folder; a folder of their own that anyone
// may write, holding such a link; or "quote.pad" as a second name of the user's pad. The user saves
// a pad as ".../quote" (or "jobs/accounts") there, and opens the same name through the Open dialog
// and the recent files. The save says why it wrote nothing, naming the part refused, before any
// backup is made; the open refuses as well and loads nothing; the user's file, the planted names
// and the folder stay as they were. The user's own links there are saved and opened through.
// Planting another user's name needs the right to give files away; without it those rows are left
// out and named.
TEST(SafeSave, NamesPlantedInASharedFolderAreNeitherSavedNorOpenedThroughTable)
{
    enum Planted { LinkToPad, LinkToFolder, LinkInAFolderOfTheirs, SecondName };
    const struct {
        const char* what;
        Planted planted;
        bool byAnother;
        bool opens;  // Open reads it: reading a second name hands nothing over
    } rows[] = {
        {"another user's link to the user's pad", LinkToPad, true, false},
        {"another user's link to the user's folder, in the middle", LinkToFolder, true, false},
        {"another user's link in a folder they made", LinkInAFolderOfTheirs, true, false},
        {"a second name of the user's pad", SecondName, false, true},
        {"the user's own link to their pad", LinkToPad, false, true},
        {"the user's own link to their folder, in the middle", LinkToFolder, false, true},
    };
    const AnsiString own = "_Data\n6 * 7\n";
    std::string leftOut;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir home, shared;
        const AnsiString folder = UnicodeToPath(shared.path()), homeFolder = UnicodeToPath(home.path());
        const AnsiString victim = homeFolder + "/accounts.pad";
        PadTestFiles::Write(victim, own);
        AnsiString planted = folder + "/quote.pad", saved = folder + "/quote.pad";
        bool given = true;
        switch (row.planted) {
        case LinkToPad: ASSERT_EQ(::symlink(victim.c_str(), planted.c_str()), 0); break;
        case LinkToFolder:
            planted = folder + "/jobs";
            saved = planted + "/accounts.pad";
            ASSERT_EQ(::symlink(homeFolder.c_str(), planted.c_str()), 0);
            break;
        case LinkInAFolderOfTheirs:
            ASSERT_EQ(::mkdir((folder + "/adir").c_str(), 0777), 0);
            given = ::chown((folder + "/adir").c_str(), 4242, static_cast<gid_t>(-1)) == 0;
            ::chmod((folder + "/adir").c_str(), 0777);
            planted = saved = folder + "/adir/quote.pad";
            ASSERT_EQ(::symlink(victim.c_str(), planted.c_str()), 0);
            break;
        case SecondName: ASSERT_EQ(::link(victim.c_str(), planted.c_str()), 0); break;
        }
        if (row.byAnother) given = given && ::lchown(planted.c_str(), 4242, static_cast<gid_t>(-1)) == 0;
        if (!given) {
            ASSERT_EQ(errno, EPERM);
            leftOut += std::string("\n  ") + row.what;
            continue;
        }
        ASSERT_EQ(::chmod(folder.c_str(), 01777), 0);
        struct stat before {};
        ASSERT_EQ(::lstat(planted.c_str(), &before), 0);

        for (const bool fromMenu : {false, true}) {
            ShownForm g;
            DialogRecorder recorder;
            if (fromMenu) {
                Config->MRU.Add(saved);
                g->UpdateMRUMenu();
                g->MRU_File1->Click();
            } else {
                recorder.Answer(1, {PathToUnicode(saved)});
                g->Open1->Click();
            }
            const std::vector<DialogCall> boxes = Boxes(recorder);
            const char* how = fromMenu ? "from the recent files" : "through the Open dialog";
            if (row.opens) {
                EXPECT_TRUE(boxes.empty()) << how;
                EXPECT_EQ(g.PadLines().value(0), "6 * 7") << how;
                continue;
            }
            ASSERT_EQ(boxes.size(), 1u) << how;
            EXPECT_EQ(boxes[0].caption, "File Open Error") << how;
            EXPECT_TRUE(boxes[0].text.startsWith("Can't open " + PathToUnicode(saved) + " as a pad: " +
                                                 PathToUnicode(planted) + " is a link that another user made"))
                << how << ": " << boxes[0].text.toStdString();
            EXPECT_TRUE(g.PadLines().join("").isEmpty()) << how;
            EXPECT_EQ(g->PadName, "Untitled") << how;
        }

        ShownForm f;
        f.Type("2 + 2");
        const QStringList homeBefore = QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        const std::vector<DialogCall> boxes = SaveAs(f, ChangeFileExt(saved, ""));
        const bool followed = !row.byAnother && row.planted != SecondName;
        if (followed) {
            EXPECT_TRUE(boxes.empty()) << boxes.front().text.toStdString();
            EXPECT_EQ(ParsePadText(PadTestFiles::Read(victim)).Lines, std::vector<AnsiString>{"2 + 2"});
            EXPECT_EQ(PadTestFiles::Read(ChangeFileExt(saved, ".p~d")), own);
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].caption, "File Creation Error");
            EXPECT_TRUE(boxes[0].text.startsWith("Can't open " + PathToUnicode(saved) + " for writing\n"))
                << boxes[0].text.toStdString();
            EXPECT_TRUE(boxes[0].text.contains("another user")) << boxes[0].text.toStdString();
            if (row.byAnother) {
                EXPECT_TRUE(boxes[0].text.contains(PathToUnicode(planted) + " is a link")) << boxes[0].text.toStdString();
            }
            EXPECT_TRUE(boxes[0].text.endsWith("Nothing was saved.")) << boxes[0].text.toStdString();
            EXPECT_EQ(PadTestFiles::Read(victim), own);
            // No backup was made, beside the user's pad or in the shared folder.
            EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), homeBefore);
            EXPECT_FALSE(QFileInfo::exists(PathToUnicode(folder + "/quote.p~d")));
            struct stat after {};
            ASSERT_EQ(::lstat(planted.c_str(), &after), 0);
            EXPECT_EQ(after.st_ino, before.st_ino);
            EXPECT_EQ(after.st_mode, before.st_mode);
            EXPECT_EQ(Config->MRU.Count(), 0);
        }
        ::chmod(folder.c_str(), 0700);
        ::chmod((folder + "/adir").c_str(), 0700);
    }
    if (!leftOut.empty()) std::printf("Left out, since this user may not give a name to another user:%s\n", leftOut.c_str());
}
