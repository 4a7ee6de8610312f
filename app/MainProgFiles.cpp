// New, Open and Save of .pad files (the format itself is in PadFile.cpp).
#include "app/MainProg.h"
#include "app/PadFile.h"
#include "app/PadColourer.h"
#include "config/Config.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/RichEditScroll.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/ExtMessageBox.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <cstring>

namespace {

const char* const padFilter = "Plumo Calculator Pad Files (*.pad)|*.pad|All Files (*.*)|*.*|";

// The folder of a path without its last separator; the root keeps its own.
AnsiString ExtractFileDir(const AnsiString& path)
{
    const AnsiString folder = ExtractFilePath(path);
    if (folder.size() <= 1) return folder;
    return folder.substr(0, folder.size() - 1);
}

}  // namespace

void TfrmMainProg::New1Click(TObject* Sender)
{
    (void)Sender;
    StartNewPad();
}

bool TfrmMainProg::MayGiveUpPad()
{
    if (PadUnchanged) return true;
    ExtMessageBoxParams params;
    params.bUserButtonCaptions = 1;
    std::strcpy(params.UserButtonCaptions[CapYes], "Save");
    std::strcpy(params.UserButtonCaptions[CapNo], "Don't Save");
    // The box takes code-page text; a name it cannot spell shows its missing letters as '?'.
    const AnsiString text = "Do you want to Save the changes to: " + UnicodeToWin1252(PathToUnicode(PadName)) + "?";
    const int answer = ExtMessageBox(nullptr, text.c_str(), "Plumo Calculator", 0x20000023, &params) &
                       ~(MB_CHECKBOXMASK | MB_TIMEOUT);
    // The pad is only given up once it is safely on disk: a cancelled or failed save keeps it.
    if (answer == IDYES) return WritePadFile();
    return answer == IDNO;
}

bool TfrmMainProg::StartNewPad()
{
    if (!MayGiveUpPad()) return false;

    Edit_Date->SetText(Win1252ToUnicode(FormatDateTime("d mmm yyyy hh:mm:ss", QDateTime::currentDateTime())));
    Edit_Description->SetText(QString());
    Edit_Description->SetTextHint(QStringLiteral("Optional Job Description"));
    RichEdit_Main->Lines.Clear();
    RichEdit_Result->Lines.Clear();
    NumberedLineCount = -1;
    UpdateLineNumbers();
    SetScrollRange();
    SetScrollPosition(0);
    CurrentLine = 0;

    // The root stands in for the system drive of an unset project folder. Folder and name are
    // joined as they stand: the path only names the pad until it is saved.
    PadFolder = Config->ProjectDir.empty() ? AnsiString("/") : Config->ProjectDir;
    PadFilePath = PadFolder + "Untitled.pad";
    PadFileStem = PadFolder + "Untitled";
    PadName = "Untitled";
    PadHasFile = false;

    PadUnchanged = true;
    RichEdit_Main->setFocus();
    return true;
}

void TfrmMainProg::Open1Click(TObject* Sender)
{
    (void)Sender;
    if (!OpenDialog1) OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->Filter = QString::fromLatin1(padFilter);
    OpenDialog1->Title = QStringLiteral("Open Plumo Calculator Pad File");
    OpenDialog1->InitialDir = PathToUnicode(PadFolder);

    TMRU& mru = Config->MRU;
    const bool fromMenu = mru.OpenIndex >= 1;
    AnsiString path;
    if (fromMenu) {
        // The entry is read after New: a save that New asked for may have reordered the list.
        // An edited pad that was not given up stays, and nothing is opened over it.
        if (!StartNewPad()) {
            mru.OpenIndex = 0;
            return;
        }
        path = mru.GetPath(mru.OpenIndex);
        if (path.empty()) {
            mru.OpenIndex = 0;
            return;
        }
    } else {
        if (!OpenDialog1->Execute()) return;
        if (!StartNewPad()) return;
        path = UnicodeToPath(OpenDialog1->FileName);
    }

    // The names New gave: a file that is not read leaves the pad named as New left it, so that no
    // later Save proposes the refused file and writes over it.
    const AnsiString untitledPath = PadFilePath, untitledStem = PadFileStem, untitledFolder = PadFolder,
                     untitledName = PadName;
    PadFilePath = path;
    PadFileStem = ChangeFileExt(path, "");
    PadFolder = ExtractFileDir(path);
    PadName = ExtractFileName(PadFileStem);
    if (!fromMenu) Config->ProjectDir = PadFolder;

    mru.Add(path);
    UpdateMRUMenu();
    mru.OpenIndex = 0;
    if (ReadPadFile()) {
        PadHasFile = true;
        return;
    }
    PadFilePath = untitledPath;
    PadFileStem = untitledStem;
    PadFolder = untitledFolder;
    PadName = untitledName;
}

bool TfrmMainProg::ReadPadFile()
{
    TPadFile pad;
    const TPadReadResult read = LoadPadFile(PadFilePath, pad);
    if (!read) {
        // Nothing of a file that cannot be read whole is loaded.
        const bool unreadable = read.status == TPadReadResult::Status::CannotOpen;
        Application->MessageBox(read.Message(), QStringLiteral("File Open Error"),
                                unreadable ? MB_OK : MB_OK | MB_ICONSTOP);
        return false;
    }
    if (pad.Date) Edit_Date->SetText(Win1252ToUnicode(*pad.Date));
    if (pad.Description) Edit_Description->SetText(Win1252ToUnicode(*pad.Description));
    if (pad.UOM_Input) Cmb_UOM_Input->SetItemIndex(*pad.UOM_Input);
    if (pad.UOM_Answer) Cmb_UOM_Answer->SetItemIndex(*pad.UOM_Answer);
    if (pad.Precision) Cmb_Precision->SetItemIndex(*pad.Precision);
    if (pad.UOM_Angle) RadioGroup_DegRad->SetItemIndex(*pad.UOM_Angle);
    AddPadLines(pad.Lines);

    SkipRecalculation = true;
    Cmb_UOM_AnswerChange(this);
    SkipRecalculation = false;

    bool totalFound = false;
    const int n = CountPadLines(totalFound, false);
    Highlighter->HighlightLines(0, n);
    CalculatePad(pad.EndsWithTotal(), true);

    RichEdit_Main->SetSelStart(0);
    NumberedLineCount = -1;
    UpdateLineNumbers();
    SetScrollRange();
    SetScrollPosition(0);

    // The answers line up with the pad's first visible line.
    ScrollPaneToLine(RichEdit_Result, GetFirstVisibleLine(*RichEdit_Main));

    CurrentLine = 0;
    RichEdit_Main->setFocus();
    return true;
}

void TfrmMainProg::Save1Click(TObject* Sender)
{
    (void)Sender;
    WritePadFile();
}

void TfrmMainProg::SaveAs1Click(TObject* Sender) { Save1Click(Sender); }

bool TfrmMainProg::WritePadFile()
{
    if (!SaveDialog1) SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->Filter = QString::fromLatin1(padFilter);
    SaveDialog1->Title = QStringLiteral("Save Calculator Pad File");
    SaveDialog1->InitialDir = PathToUnicode(Config->ProjectDir);
    // The pad's name is proposed in the folder the dialog starts in; a pad whose file lies in
    // another folder (opened from the recent files, or saved there) is proposed by its whole
    // path, so that Enter writes the pad's own file, not one of the same name in the project
    // folder.
    const QString padFile = PathToUnicode(PadFilePath);
    const bool elsewhere =
        PadHasFile && QFileInfo(padFile).absolutePath() != QDir(SaveDialog1->InitialDir).absolutePath();
    SaveDialog1->FileName = elsewhere ? padFile : PathToUnicode(PadName);
    if (!SaveDialog1->Execute()) return false;

    TPadFile pad;
    pad.Date = UnicodeToWin1252(Edit_Date->Text());
    pad.Description = UnicodeToWin1252(Edit_Description->Text());
    pad.UOM_Input = Cmb_UOM_Input->ItemIndex();
    pad.UOM_Answer = Cmb_UOM_Answer->ItemIndex();
    pad.Precision = Cmb_Precision->ItemIndex();
    pad.UOM_Angle = RadioGroup_DegRad->ItemIndex();
    // Up to the last line that is not blank, a trailing TOTAL included, so that opening the file
    // totals again.
    bool totalFound = false;
    const int n = CountPadLines(totalFound, false);
    pad.Lines.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) pad.Lines.push_back(UnicodeToWin1252(RichEdit_Main->Lines[i]));

    const TPadSaveResult saved = SavePadFile(UnicodeToPath(SaveDialog1->FileName), pad);
    if (!saved.Saved()) {
        Application->MessageBox(saved.Message(), QStringLiteral("File Creation Error"), MB_OK);
        return false;
    }

    // The project folder is the folder of the last opened pad or of the last New, not the folder
    // just saved into: the pad keeps its folder, where Open starts.
    Config->ProjectDir = PadFolder;
    // The pad is now the file it was written to: the next Save proposes that file, and nothing
    // asks about changes that are on disk.
    PadFilePath = saved.FileName;
    PadFileStem = ChangeFileExt(saved.FileName, "");
    PadName = ExtractFileName(PadFileStem);
    PadHasFile = true;
    PadUnchanged = true;
    Config->MRU.Add(saved.FileName);
    UpdateMRUMenu();
    // A settings file that cannot be written says so itself; the pad is saved all the same.
    Config->SaveSettings(ScientificShown);
    return true;
}
