// New, Open and Save on the shown main form, as the user does them through the File menu.
#include "app/PadFile.h"
#include "app/PadLimits.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/IniFiles.h"
#include "platform/win/ExtMessageBox.h"
#include "tests/app/files_form.h"
#include "tests/common/DialogRecorder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::vector<DialogCall> CallsOf(const DialogRecorder& recorder, DialogCall::Kind kind)
{
    std::vector<DialogCall> out;
    for (const DialogCall& call : recorder.calls)
        if (call.kind == kind) out.push_back(call);
    return out;
}

// Whether the text of a pane's line is set in bold.
bool LineIsBold(TRichEdit* pane, int line)
{
    const QTextBlock block = pane->document()->findBlockByNumber(line);
    if (!block.isValid() || block.text().isEmpty()) return false;
    return block.begin().fragment().charFormat().fontWeight() >= QFont::Bold;
}

// Saves the form's pad under name through the save dialog.
void SaveAs(const ShownForm& f, const AnsiString& name)
{
    DialogRecorder recorder;
    recorder.Answer(1, {Win1252ToUnicode(f.Path(name))});
    f->Save1->Click();
}

// Opens a file through the open dialog, answering New's question (when it is asked) with
// newAnswer.
void OpenFile(const ShownForm& f, const AnsiString& path, int newAnswer = IDNO)
{
    DialogRecorder recorder;
    recorder.Answer(1, {Win1252ToUnicode(path)});
    if (!f->PadUnchanged) recorder.Answer(newAnswer);
    f->Open1->Click();
}

// Answers the save dialog as Enter does, with the proposed name in the folder the dialog starts
// in (a proposed full path goes to its own folder), and any box with OK; returns the file name the
// dialog gave.
QString SaveAsProposed(const ShownForm& f)
{
    QString chosen;
    const DialogHandler previous = SetDialogHandler([&chosen](DialogCall& call) {
        call.result = IDOK;
        if (call.kind != DialogCall::Kind::SaveFile) return;
        const QString proposed = call.fields.value(0);
        chosen = QFileInfo(proposed).isAbsolute() ? proposed : call.text + "/" + proposed;
        call.values = {chosen};
    });
    f->Save1->Click();
    SetDialogHandler(previous);
    return chosen;
}

}  // namespace

TEST(PadFiles, SaveWritesThePadAndRecordsItInTheSettings)
{
    ShownForm f;
    f.Type("1 + 2\n\n   \nx = 5\n3 * 4\n\n\n");
    f->Edit_Description->SetText("Deck");
    f->Cmb_UOM_Answer->SetItemIndex(7);
    f->Cmb_Precision->SetItemIndex(3);
    f->RadioGroup_DegRad->SetItemIndex(2);

    DialogRecorder recorder;
    recorder.Answer(1, {Win1252ToUnicode(f.Path("deck.pad"))});
    f->Save1->Click();

    const auto dialogs = CallsOf(recorder, DialogCall::Kind::SaveFile);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].caption, QString("Save Calculator Pad File"));
    EXPECT_EQ(dialogs[0].text, Win1252ToUnicode(f.Folder()));
    EXPECT_EQ(dialogs[0].fields.value(0), QString("Untitled"));

    const AnsiString date = UnicodeToWin1252(f->Edit_Date->Text());
    EXPECT_EQ(PadTestFiles::Read(f.Path("deck.pad")),
              "_Date=" + date + "\r\n_Description=Deck\r\n_UOM_Input=0\r\n_UOM_Answer=7\r\n_Precision=3\r\n"
              "_UOM_Angle=2\r\n_Data\r\n1 + 2\r\n\r\n   \r\nx = 5\r\n3 * 4\r\n");

    const TIniFile ini(f.Path("settings.INI"));
    EXPECT_EQ(ini.ReadString("Setup", "ProjectDir", "?"), f.Folder());
    EXPECT_EQ(ini.ReadString("Startup", "Scientific", "?"), "false");
    EXPECT_EQ(ini.ReadString("MRU", "1", "?"), f.Path("deck.pad"));
    EXPECT_TRUE(f->MRU_File1->Visible());
    // The pad is now the file it was saved as, with nothing left to save.
    EXPECT_EQ(f->PadName, "deck");
    EXPECT_TRUE(f->PadUnchanged);
}

// After a save the pad goes by the name it was saved under: the next Save proposes that file, not
// the one it was opened from, and nothing asks about changes that are saved. A cancelled save
// changes neither; the folders the dialogs start in stay as they were.
TEST(PadFiles, ASaveNamesThePadAfterTheFileItWrote)
{
    ShownForm f;
    const AnsiString met = "_Data\r\n1 + 1\r\n";
    PadTestFiles::Write(f.Path("met.pad"), met);
    OpenFile(f, f.Path("met.pad"));
    f.Type("2 * 3");
    SaveAs(f, "sci.pad");
    EXPECT_EQ(f->PadFilePath, f.Path("sci.pad"));
    EXPECT_EQ(f->PadFileStem, f.Path("sci"));
    EXPECT_EQ(f->PadName, "sci");
    EXPECT_EQ(f->PadFolder, f.Folder());
    EXPECT_TRUE(f->PadUnchanged);

    {
        DialogRecorder recorder;
        recorder.Answer(0);  // the save dialog, cancelled
        f->Save1->Click();
        EXPECT_EQ(f->PadName, "sci");
        EXPECT_TRUE(f->PadUnchanged);
    }
    f.Type("2 * 3\n4");
    EXPECT_EQ(SaveAsProposed(f), Win1252ToUnicode(f.Path("sci")));
    EXPECT_EQ(PadTestFiles::Read(f.Path("met.pad")), met);
    EXPECT_EQ(ParsePadText(PadTestFiles::Read(f.Path("sci.pad"))).Lines, (std::vector<AnsiString>{"2 * 3", "4"}));

    // Saved into another folder: named after that file, while the project folder and the pad's
    // folder, where the dialogs start, are as before.
    ASSERT_TRUE(QDir().mkpath(Win1252ToUnicode(f.Path("far"))));
    f.Type("5");
    SaveAs(f, "far/away.pad");
    EXPECT_EQ(f->PadFilePath, f.Path("far/away.pad"));
    EXPECT_EQ(f->PadName, "away");
    EXPECT_EQ(f->PadFolder, f.Folder());
    EXPECT_EQ(Config->ProjectDir, f.Folder());
    // ... and the next Save proposes the file written, not one of its name in the project folder.
    f.Type("5\n6");
    EXPECT_EQ(SaveAsProposed(f), Win1252ToUnicode(f.Path("far/away.pad")));
    EXPECT_FALSE(QFileInfo::exists(Win1252ToUnicode(f.Path("away.pad"))));
    EXPECT_EQ(ParsePadText(PadTestFiles::Read(f.Path("far/away.pad"))).Lines.size(), 2u);

    // An edit after the save is asked about under the saved name; a saved pad goes without a word.
    f.Type("6");
    {
        DialogRecorder recorder;
        recorder.Answer(IDCANCEL);
        f->New1->Click();
        const auto questions = CallsOf(recorder, DialogCall::Kind::ExtMessageBox);
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_EQ(questions[0].text, QString("Do you want to Save the changes to: away?"));
    }
    SaveAs(f, "far/away.pad");
    DialogRecorder recorder;
    f->close();
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_FALSE(f->isVisible());
}

// A pad saved into a folder other than the one the save dialog starts in is that file from then
// on, however it began: edited and saved again, it is written there, not as a pad of its name in
// the project folder (over whatever is there).
TEST(PadFiles, APadSavedIntoAnotherFolderIsSavedThereAgain)
{
    const struct {
        const char* name;
        const char* opened;  // through the open dialog first; null: an untitled pad
    } rows[] = {
        {"an untitled pad", nullptr},
        {"a pad opened from a third folder", "third/met.pad"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ShownForm f;
        for (const char* folder : {"far", "third"}) ASSERT_TRUE(QDir().mkpath(Win1252ToUnicode(f.Path(folder))));
        const AnsiString theirs = "_Data\r\n7 + 7\r\n";
        PadTestFiles::Write(f.Path("away.pad"), theirs);
        if (row.opened) {
            PadTestFiles::Write(f.Path(row.opened), "_Data\r\n1 + 1\r\n");
            OpenFile(f, f.Path(row.opened));
        }
        f.Type("5");
        SaveAs(f, "far/away.pad");
        f.Type("5\n6");
        EXPECT_EQ(UnicodeToWin1252(SaveAsProposed(f)), f.Path("far/away.pad"));
        EXPECT_EQ(ParsePadText(PadTestFiles::Read(f.Path("far/away.pad"))).Lines, (std::vector<AnsiString>{"5", "6"}));
        EXPECT_EQ(PadTestFiles::Read(f.Path("away.pad")), theirs);
        EXPECT_FALSE(FileExists(f.Path("away.p~d")));
    }
}

// The date and the description are saved with the pad: typing in either is an edit that New and
// Exit ask about. Setting them by New or Open is not.
TEST(PadFiles, EditingTheDateOrDescriptionIsAnEditOfThePad)
{
    for (const char* field : {"date", "description"}) {
        ShownForm f;
        OpenFile(f, PadTestFiles::Fixture("totalled_lf.pad"));
        ASSERT_TRUE(f->PadUnchanged) << field;
        TEdit* edit = QString(field) == "date" ? f->Edit_Date : f->Edit_Description;
        edit->setFocus();
        QTest::keyClicks(edit, "x");
        EXPECT_FALSE(f->PadUnchanged) << field;
        for (const bool exiting : {false, true}) {
            DialogRecorder recorder;
            recorder.Answer(IDCANCEL);
            if (exiting)
                f->close();
            else
                f->New1->Click();
            EXPECT_EQ(CallsOf(recorder, DialogCall::Kind::ExtMessageBox).size(), 1u) << field << exiting;
            EXPECT_TRUE(edit->Text().endsWith("x")) << field << exiting;
            EXPECT_TRUE(f->isVisible()) << field << exiting;
        }
    }
}

TEST(PadFiles, APadSavedWithItsTotalTotalsAgainWhenOpened)
{
    ShownForm f;
    f.Type("1 + 2\n\n3 * 4");
    f->Btn_CalculateAndTotal->Click();
    ASSERT_EQ(f.PadLines().value(3), QString("TOTAL"));
    SaveAs(f, "totalled.pad");

    OpenFile(f, f.Path("totalled.pad"));
    // The pad comes back as it was saved, its empty line included; the total is worked out and
    // shown in bold.
    EXPECT_EQ(f.PadLines().mid(0, 4), (QStringList{"1 + 2", "", "3 * 4", "TOTAL"}));
    const QStringList results = f.ResultLines();
    ASSERT_GE(results.size(), 4);
    EXPECT_TRUE(results[3].contains("15")) << results.join('|').toStdString();
    EXPECT_TRUE(LineIsBold(f->RichEdit_Result, 3));
    EXPECT_EQ(f->PadName, "totalled");
    EXPECT_EQ(f->PadFolder, f.Folder());
    EXPECT_TRUE(f->PadUnchanged);
}

TEST(PadFiles, APadSavedWithoutItsTotalOpensWithoutOne)
{
    ShownForm f;
    f.Type("1 + 2\n3 * 4");
    f->Btn_CalculateOnly->Click();
    SaveAs(f, "plain.pad");
    OpenFile(f, f.Path("plain.pad"));
    EXPECT_EQ(f.PadLines().mid(0, 2), (QStringList{"1 + 2", "3 * 4"}));
    EXPECT_FALSE(f.PadLines().contains("TOTAL"));
    EXPECT_FALSE(LineIsBold(f->RichEdit_Result, 1));
}

TEST(PadFiles, OpeningSetsTheControlsFromTheFile)
{
    ShownForm f;
    OpenFile(f, PadTestFiles::Fixture("totalled_lf.pad"));
    EXPECT_EQ(f->Edit_Date->Text(), QString("7 Mar 2016 14:05:09"));
    EXPECT_EQ(f->Edit_Description->Text(), QString("Garage roof"));
    EXPECT_EQ(f->Cmb_UOM_Input->ItemIndex(), 4);
    EXPECT_EQ(f->Cmb_UOM_Answer->ItemIndex(), 10);
    EXPECT_EQ(f->Cmb_Precision->ItemIndex(), 3);
    EXPECT_EQ(f->RadioGroup_DegRad->ItemIndex(), 1);
    // The controls reach the calculation's settings without a calculation of their own.
    EXPECT_EQ(f->AnswerUnitName, "ft");
    EXPECT_EQ(f->Precision, 2);
    EXPECT_EQ(f->AngleUnit, 1);
    EXPECT_EQ(f.PadLines().mid(0, 6),
              (QStringList{"12' 6-1/2\" + 3'", "", "   ", "rafters = 14", "2 * 4'", "TOTAL"}));
}

struct NewCase {
    const char* name;
    bool edited;
    int question;    // the answer to New's question
    int saveDialog;  // then the save dialog's: 1 saves, 0 cancels, -1 not shown
    bool padKept;
};

TEST(PadFiles, NewAsksBeforeItGivesUpAnEditedPadTable)
{
    const NewCase cases[] = {
        {"an unedited pad goes without a question", false, 0, -1, false},
        {"cancel keeps the pad", true, IDCANCEL, -1, true},
        {"don't save gives it up", true, IDNO, -1, false},
        {"save writes it first", true, IDYES, 1, false},
        {"a cancelled save keeps the pad", true, IDYES, 0, true},
    };
    for (const NewCase& c : cases) {
        ShownForm f;
        f->RichEdit_Main->SetText("7 * 6");
        f->PadUnchanged = !c.edited;
        DialogRecorder recorder;
        if (c.edited) recorder.Answer(c.question);
        if (c.saveDialog >= 0) recorder.Answer(c.saveDialog, {Win1252ToUnicode(f.Path("kept.pad"))});
        f->New1->Click();

        const auto questions = CallsOf(recorder, DialogCall::Kind::ExtMessageBox);
        ASSERT_EQ(questions.size(), c.edited ? 1u : 0u) << c.name;
        if (c.edited) {
            EXPECT_EQ(questions[0].text, QString("Do you want to Save the changes to: Untitled?")) << c.name;
            EXPECT_EQ(questions[0].caption, QString("Plumo Calculator")) << c.name;
            EXPECT_EQ(questions[0].flags, 0x20000023u) << c.name;
            EXPECT_TRUE(questions[0].fields.contains("Save")) << c.name;
            EXPECT_TRUE(questions[0].fields.contains("Don't Save")) << c.name;
        }
        EXPECT_EQ(f.PadLines().value(0) == "7 * 6", c.padKept) << c.name;
        EXPECT_EQ(f->PadUnchanged, !c.padKept) << c.name;
        EXPECT_EQ(FileExists(f.Path("kept.pad")), c.saveDialog == 1) << c.name;
        EXPECT_EQ(CallsOf(recorder, DialogCall::Kind::SaveFile).size(), c.saveDialog >= 0 ? 1u : 0u) << c.name;
    }
}

TEST(PadFiles, NewStartsAnUntitledPad)
{
    const struct {
        const char* projectDir;
        const char* path;
    } cases[] = {
        {"", "/Untitled.pad"},
        {"/home/joiner/pads", "/home/joiner/padsUntitled.pad"},  // joined as they stand
        {"/home/joiner/pads/", "/home/joiner/pads/Untitled.pad"},
    };
    for (const auto& c : cases) {
        ShownForm f(c.projectDir);
        EXPECT_EQ(f->PadFilePath, c.path) << c.projectDir;
        EXPECT_EQ(f->PadName, "Untitled") << c.projectDir;
        EXPECT_TRUE(QRegularExpression("^\\d{1,2} \\w{3} \\d{4} \\d\\d:\\d\\d:\\d\\d$")
                        .match(f->Edit_Date->Text())
                        .hasMatch())
            << f->Edit_Date->Text().toStdString();
        EXPECT_EQ(f->Edit_Description->TextHint(), QString("Optional Job Description"));
    }
}

// The backup is no more open to others than the pad it keeps, whatever an older backup allowed;
// the calculation's program file, which holds the pad's lines, is the user's alone.
TEST(PadFiles, SavingUnderAnotherExtensionWritesPadAndKeepsTheOldFile)
{
    // A group of the machine that is not the user's own: the pad's bits for its group are meant for
    // that one, and must not come to open the pad, or its backup, to the user's own group.
    const gid_t otherGroup = ::getegid() == 65534 ? 65533 : 65534;
    const struct {
        mode_t pad;
        mode_t oldBackup;  // 0: none
        bool otherGroup;   // the pad's group is otherGroup
    } rows[] = {{0600, 0, false}, {0644, 0, false}, {0640, 0, false}, {0600, 0644, false},
                {0644, 0600, false}, {0640, 0, true}, {0660, 0664, true}};
    for (const auto& row : rows) {
        ShownForm f;
        PadTestFiles::Write(f.Path("job.pad"), "previous");
        ASSERT_EQ(::chmod(f.Path("job.pad").c_str(), row.pad), 0);
        if (row.oldBackup) {
            PadTestFiles::Write(f.Path("job.p~d"), "older");
            ASSERT_EQ(::chmod(f.Path("job.p~d").c_str(), row.oldBackup), 0);
        }
        if (row.otherGroup && ::chown(f.Path("job.pad").c_str(), static_cast<uid_t>(-1), otherGroup) != 0) {
            std::printf("[ NOTICE ] a pad of another group is left out: only an administrator may give a file "
                        "a group not the user's\n");
            continue;
        }
        PadTestFiles::Write(f.Path("MacroRunLine.Tmp"), "an older program");
        ASSERT_EQ(::chmod(f.Path("MacroRunLine.Tmp").c_str(), 0644), 0);
        f.Type("2 + 2");
        SaveAs(f, "job.txt");
        EXPECT_EQ(PadTestFiles::Read(f.Path("job.p~d")), "previous");
        EXPECT_EQ(ParsePadText(PadTestFiles::Read(f.Path("job.pad"))).Lines, std::vector<AnsiString>{"2 + 2"});
        EXPECT_FALSE(FileExists(f.Path("job.txt")));
        EXPECT_EQ(Config->MRU.GetPath(1), f.Path("job.pad"));
        struct stat backup {}, pad {}, program {};
        ASSERT_EQ(::stat(f.Path("job.p~d").c_str(), &backup), 0);
        ASSERT_EQ(::stat(f.Path("job.pad").c_str(), &pad), 0);
        EXPECT_EQ(backup.st_mode & 07777, row.pad) << std::oct << row.pad << " " << row.oldBackup;
        EXPECT_EQ(pad.st_mode & 07777, row.pad) << std::oct << row.pad;
        const gid_t group = row.otherGroup ? otherGroup : ::getegid();
        EXPECT_EQ(backup.st_gid, group) << std::oct << row.pad << " " << row.oldBackup;
        EXPECT_EQ(pad.st_gid, group) << std::oct << row.pad;

        f->Btn_CalculateOnly->Click();
        ASSERT_EQ(::stat(f.Path("MacroRunLine.Tmp").c_str(), &program), 0);
        EXPECT_EQ(program.st_mode & 07777, 0600u);
        EXPECT_NE(PadTestFiles::Read(f.Path("MacroRunLine.Tmp")), "an older program");
    }
}

// A save that fails, or a pad that a pad file cannot hold, leaves the pad in the window as it was
// and records nothing.
TEST(PadFiles, ASaveThatCannotBeWrittenSaysSoAndRecordsNothing)
{
    const QString tooLong = "1\n\n" + QString(MaxPadFileLine + 1, '2') + "\n3";
    const struct {
        const char* name;
        const char* file;
        QString pad;
        const char* says;  // after "Can't ... <file>"
    } cases[] = {
        {"a folder stands there", "taken.pad", "2 + 2", " for writing\n"},
        {"a line too long", "long.pad", tooLong, " as a pad: line 3 has more than 1023 characters"},
    };
    for (const auto& c : cases) {
        ShownForm f;
        ASSERT_TRUE(QDir(Win1252ToUnicode(f.Folder())).mkdir("taken.pad"));
        const AnsiString name = f.Path(c.file);
        f.Type(c.pad);
        DialogRecorder recorder;
        recorder.Answer(1, {Win1252ToUnicode(name)});
        f->Save1->Click();
        const auto boxes = CallsOf(recorder, DialogCall::Kind::MessageBox);
        ASSERT_EQ(boxes.size(), 1u) << c.name;
        EXPECT_EQ(boxes[0].caption, QString("File Creation Error")) << c.name;
        EXPECT_TRUE(boxes[0].text.contains(Win1252ToUnicode(name) + c.says)) << c.name << ": " << boxes[0].text.toStdString();
        EXPECT_EQ(boxes[0].flags, unsigned(MB_OK)) << c.name;
        EXPECT_FALSE(FileExists(f.Path("settings.INI"))) << c.name;
        EXPECT_FALSE(FileExists(f.Path("long.pad"))) << c.name;
        EXPECT_EQ(Config->MRU.Count(), 0) << c.name;
        EXPECT_EQ(f.PadLines().join('\n'), c.pad) << c.name;
        EXPECT_FALSE(f->PadUnchanged) << c.name;
    }
}

TEST(PadFiles, AFileThatCannotBeReadSaysSo)
{
    ShownForm f;
    const AnsiString missing = f.Path("gone.pad");
    DialogRecorder recorder;
    recorder.Answer(1, {Win1252ToUnicode(missing)});
    f->Open1->Click();
    const auto boxes = CallsOf(recorder, DialogCall::Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, QString("File Open Error"));
    EXPECT_EQ(boxes[0].text, Win1252ToUnicode("Can't open " + missing + " for reading"));
    EXPECT_EQ(f->PadFilePath, f.Folder() + "Untitled.pad");
    EXPECT_EQ(Config->MRU.GetPath(1), missing);
    EXPECT_TRUE(f.PadLines().isEmpty());
}

// Only regular files are read as pads: a pipe, a device or a folder picked in Open is refused at
// once, and nothing of it is loaded.
TEST(PadFiles, SpecialFilesAreRefusedAtOnce)
{
    ShownForm scratch;
    const AnsiString fifo = scratch.Path("pipe.pad");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const AnsiString dangling = scratch.Path("dangling.pad");
    ASSERT_EQ(symlink(scratch.Path("gone.pad").c_str(), dangling.c_str()), 0);
    const AnsiString linked = scratch.Path("linked.pad");
    ASSERT_EQ(symlink(PadTestFiles::Fixture("no_keys.pad").c_str(), linked.c_str()), 0);
    ASSERT_EQ(mkdir(scratch.Path("folder.pad").c_str(), 0700), 0);

    const PadTestFiles::PipeUnblocker unblocker(fifo);
    const struct {
        const char* name;
        AnsiString path;
        const char* says;  // after "Can't open <path>"; null when the file opens
    } cases[] = {
        {"a pipe", fifo, " for reading: it is not a regular file"},
        {"a device", "/dev/null", " for reading: it is not a regular file"},
        {"a folder", scratch.Path("folder.pad"), " for reading: it is not a regular file"},
        {"a link to nothing", dangling, " for reading"},
        {"a link to a pad opens", linked, nullptr},
    };
    for (const auto& c : cases) {
        ShownForm f;
        QElapsedTimer timer;
        timer.start();
        DialogRecorder recorder;
        recorder.Answer(1, {Win1252ToUnicode(c.path)});
        f->Open1->Click();
        EXPECT_LT(timer.elapsed(), 2000) << c.name;
        const auto boxes = CallsOf(recorder, DialogCall::Kind::MessageBox);
        if (!c.says) {
            EXPECT_TRUE(boxes.empty()) << c.name;
            EXPECT_EQ(f.PadLines().mid(0, 3), (QStringList{"3 + 4", "", "5 * 6"})) << c.name;
            continue;
        }
        ASSERT_EQ(boxes.size(), 1u) << c.name;
        EXPECT_EQ(boxes[0].caption, QString("File Open Error")) << c.name;
        EXPECT_TRUE(boxes[0].text.startsWith(Win1252ToUnicode("Can't open " + c.path + c.says)))
            << c.name << ": " << boxes[0].text.toStdString();
        EXPECT_TRUE(f.PadLines().join("").isEmpty()) << c.name;
        EXPECT_EQ(f->PadName, "Untitled") << c.name;
    }
}

TEST(PadFiles, BadFilesOpenTable)
{
    ShownForm scratch;
    const AnsiString longLine = scratch.Path("long.pad");
    PadTestFiles::Write(longLine, "_Data\n" + AnsiString(1'000'000, '9') + "\n");
    const struct {
        const char* name;
        AnsiString path;
        int padLines;  // -1: any
    } cases[] = {
        {"binary bytes", PadTestFiles::Fixture("binary.pad"), -1},
        {"keys out of range", PadTestFiles::Fixture("out_of_range.pad"), 1},
        {"no keys at all", PadTestFiles::Fixture("no_keys.pad"), 2},
        {"one line of a million characters", longLine, 0},  // refused: no pad line is that long
    };
    for (const auto& c : cases) {
        ShownForm f;
        f->Cmb_UOM_Input->SetItemIndex(2);
        OpenFile(f, c.path);
        if (c.padLines > 0) {
            EXPECT_GE(f.PadLines().size(), c.padLines) << c.name;
        } else if (c.padLines == 0) {
            EXPECT_TRUE(f.PadLines().join("").isEmpty()) << c.name;
        }
        EXPECT_EQ(f->PadFilePath, c.padLines == 0 ? f.Folder() + "Untitled.pad" : c.path) << c.name;
    }

    ShownForm f;
    f->Cmb_UOM_Input->SetItemIndex(2);
    f->Cmb_UOM_Answer->SetItemIndex(5);
    OpenFile(f, PadTestFiles::Fixture("out_of_range.pad"));
    EXPECT_EQ(f->Cmb_UOM_Answer->ItemIndex(), -1);  // 99: no such unit, none chosen
    EXPECT_EQ(f->AnswerUnitName, "");
    EXPECT_EQ(f->Cmb_Precision->ItemIndex(), -1);
    EXPECT_EQ(f->Cmb_UOM_Input->ItemIndex(), 0);  // "x" is no number
    EXPECT_EQ(f->RadioGroup_DegRad->ItemIndex(), 0);

    // A file without keys leaves the controls as they were.
    f->Cmb_UOM_Answer->SetItemIndex(5);
    OpenFile(f, PadTestFiles::Fixture("no_keys.pad"));
    EXPECT_EQ(f->Cmb_UOM_Answer->ItemIndex(), 5);
    EXPECT_EQ(f.PadLines().mid(0, 3), (QStringList{"3 + 4", "", "5 * 6"}));
}

TEST(PadFiles, OnlyTheOpenDialogMovesTheProjectFolder)
{
    ShownForm f;
    const AnsiString sub = f.Path("site");
    ASSERT_TRUE(QDir().mkpath(Win1252ToUnicode(sub)));
    PadTestFiles::Write(sub + "/a.pad", "_Data\n1\n");
    PadTestFiles::Write(f.Path("b.pad"), "_Data\n2\n");

    OpenFile(f, sub + "/a.pad");
    EXPECT_EQ(Config->ProjectDir, sub);
    EXPECT_EQ(f->PadFolder, sub);

    Config->ProjectDir = "/elsewhere";
    OpenFile(f, f.Path("b.pad"));  // list: b, a
    {
        DialogRecorder recorder;
        f->MRU_File2->Click();  // a, without a dialog
        EXPECT_TRUE(CallsOf(recorder, DialogCall::Kind::OpenFile).empty());
    }
    EXPECT_EQ(f->PadFilePath, sub + "/a.pad");
    EXPECT_EQ(Config->ProjectDir, f.Folder());  // set by the dialog that opened b.pad

    DialogRecorder recorder;
    f->Save1->Click();  // unscripted: cancelled
    const auto dialogs = CallsOf(recorder, DialogCall::Kind::SaveFile);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text, Win1252ToUnicode(f.Folder()));
    // ... where the pad from the recent files is proposed by its whole path, as it lies elsewhere.
    EXPECT_EQ(dialogs[0].fields.value(0), Win1252ToUnicode(sub + "/a.pad"));
}

// A pad opened from the recent files is saved into its own file. Opened after a pad of another
// folder, whose folder the save dialog then starts in, it is proposed by its whole path, and
// Enter writes it there: not over a pad of its name in that folder (whose text would live on only
// in a backup that the next such save deletes), nor as a new file there. Where the dialog starts
// in its own folder, or the pad came through the open dialog, its name is proposed as ever.
TEST(PadFiles, APadFromTheRecentFilesIsSavedIntoItsOwnFile)
{
    const struct {
        const char* name;
        const char* openedBefore;  // through the open dialog, after clientA/job.pad
        bool fromMenu;             // clientA/job.pad then opened again from the recent files
        const char* proposed;      // as the save dialog resolves it
    } cases[] = {
        {"another folder holds a pad of its name", "clientB/job.pad", true, "clientA/job.pad"},
        {"another folder holds none", "clientB/other.pad", true, "clientA/job.pad"},
        {"its own folder", "clientA/other.pad", true, "clientA/job"},
        {"through the open dialog", "clientB/job.pad", false, "clientA/job"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ShownForm f;
        for (const char* folder : {"clientA", "clientB"}) ASSERT_TRUE(QDir().mkpath(Win1252ToUnicode(f.Path(folder))));
        const AnsiString job = f.Path("clientA/job.pad"), before = f.Path(c.openedBefore);
        const AnsiString ours = "_Data\r\n1 + 1\r\n", theirs = "_Data\r\n2 + 2\r\n";
        PadTestFiles::Write(job, ours);
        PadTestFiles::Write(before, theirs);
        OpenFile(f, job);
        OpenFile(f, before);
        if (c.fromMenu) {
            DialogRecorder recorder;
            f->MRU_File2->Click();
            EXPECT_TRUE(recorder.calls.empty());
        } else {
            OpenFile(f, job);
        }
        ASSERT_EQ(f->PadFilePath, job);
        f.Type("1 + 1\n3 + 3");
        EXPECT_EQ(SaveAsProposed(f), Win1252ToUnicode(f.Path(c.proposed)));
        EXPECT_EQ(ParsePadText(PadTestFiles::Read(job)).Lines, (std::vector<AnsiString>{"1 + 1", "3 + 3"}));
        EXPECT_EQ(PadTestFiles::Read(ChangeFileExt(job, ".p~d")), ours);
        // The other folder is as it was: its pad whole, no backup of it, no new pad beside it.
        EXPECT_EQ(PadTestFiles::Read(before), theirs);
        EXPECT_FALSE(FileExists(ChangeFileExt(before, ".p~d")));
        EXPECT_EQ(FileExists(f.Path("clientB/job.pad")), before == f.Path("clientB/job.pad"));
        // Saved again, the same file again (the dialog now starts in its folder).
        f.Type("1 + 1\n3 + 3\n4");
        EXPECT_EQ(ChangeFileExt(UnicodeToWin1252(SaveAsProposed(f)), ".pad"), job);
        EXPECT_EQ(ParsePadText(PadTestFiles::Read(job)).Lines.size(), 3u);
        EXPECT_EQ(PadTestFiles::Read(before), theirs);
    }
}

// Cancelling New's question, or the save it asks for, or a save that fails, keeps the edited pad
// as it was, under its own name, and opens nothing over it.
TEST(PadFiles, OpenKeepsTheEditedPadWhenItWasNotGivenUp)
{
    ShownForm f;
    const AnsiString blocker = f.Path("blocked.pad");
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(blocker)));  // a folder: the save fails
    struct Case {
        const char* what;
        int newAnswer;
        QStringList saveAnswer;  // empty: the save dialog is cancelled
    };
    const Case cases[] = {
        {"question cancelled", IDCANCEL, {}},
        {"save dialog cancelled", IDYES, {}},
        {"save failed", IDYES, {QString::fromStdString(blocker)}},
    };
    for (const Case& c : cases) {
        f.Type("5");
        const AnsiString pathBefore = f->PadFilePath;
        DialogRecorder recorder;
        recorder.Answer(1, {Win1252ToUnicode(PadTestFiles::Fixture("no_keys.pad"))});
        recorder.Answer(c.newAnswer);
        recorder.Answer(c.saveAnswer.isEmpty() ? 0 : 1, c.saveAnswer);
        recorder.Answer(IDOK);  // the failed save's box
        f->Open1->Click();
        EXPECT_EQ(f.PadLines(), QStringList{"5"}) << c.what;
        EXPECT_EQ(f->PadFilePath, pathBefore) << c.what;
        EXPECT_FALSE(f->PadUnchanged) << c.what;
        EXPECT_EQ(Config->MRU.Count(), 0) << c.what;
    }
}

// A file that Open refuses leaves the pad untitled, as New left it: no later Save proposes the
// refused file, so pressing Enter in the save dialog cannot write over it or its backup.
TEST(PadFiles, ARefusedFileIsNeitherNamedNorWrittenOver)
{
    const struct {
        const char* name;
        AnsiString bytes;  // empty: a folder of that name
    } cases[] = {
        {"long.pad", "_Data\r\n1\r\n" + AnsiString(MaxPadFileLine + 1, '9') + "\r\n"},
        {"many.pad", QByteArray("1\r").repeated(MaxPadFileLines + 1).toStdString()},
        {"folder.pad", ""},
    };
    for (const auto& c : cases) {
        ShownForm f;
        const AnsiString path = f.Path(c.name);
        if (c.bytes.empty())
            ASSERT_TRUE(QDir().mkdir(Win1252ToUnicode(path))) << c.name;
        else
            PadTestFiles::Write(path, c.bytes);
        DialogRecorder recorder;
        recorder.Answer(1, {Win1252ToUnicode(path)});
        f->Open1->Click();
        ASSERT_EQ(CallsOf(recorder, DialogCall::Kind::MessageBox).size(), 1u) << c.name;
        EXPECT_EQ(f->PadFilePath, f.Folder() + "Untitled.pad") << c.name;
        EXPECT_EQ(f->PadFileStem, f.Folder() + "Untitled") << c.name;
        EXPECT_EQ(f->PadName, "Untitled") << c.name;

        for (int save = 0; save < 2; ++save) {
            f.Type("9 * 9");
            EXPECT_EQ(SaveAsProposed(f), Win1252ToUnicode(f.Path("Untitled"))) << c.name;
        }
        if (c.bytes.empty())
            EXPECT_TRUE(QFileInfo(Win1252ToUnicode(path)).isDir()) << c.name;
        else
            EXPECT_EQ(PadTestFiles::Read(path), c.bytes) << c.name;
        EXPECT_FALSE(FileExists(ChangeFileExt(path, ".p~d"))) << c.name;
        EXPECT_EQ(ParsePadText(PadTestFiles::Read(f.Path("Untitled.pad"))).Lines, std::vector<AnsiString>{"9 * 9"})
            << c.name;
    }
}
