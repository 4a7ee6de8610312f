#pragma once
// The .pad file: a text file of Windows-1252 lines, the settings of the pad as key lines, then
// the marker "_Data" and the pad's own lines.
//
//   _Date=<date text>
//   _Description=<description>
//   _UOM_Input=<input unit index>
//   _UOM_Answer=<answer unit index>
//   _Precision=<precision index>
//   _UOM_Angle=<angle unit index>
//   _Data
//   <pad lines>
//
// Files are written with CR LF line ends, as the program has always written them, and read with
// CR LF or LF. Reading is forgiving, as it always was: a key is recognised on any line that holds
// it anywhere, before or after "_Data", and empty lines are skipped.
#include "platform/vcl/Strings.h"

#include <optional>
#include <vector>

struct TPadFile {
    // Each setting is set when the file had its key; a key that the file lacks leaves it unset.
    std::optional<AnsiString> Date;
    std::optional<AnsiString> Description;
    std::optional<int> UOM_Input;
    std::optional<int> UOM_Answer;
    std::optional<int> Precision;
    std::optional<int> UOM_Angle;
    std::vector<AnsiString> Lines;  // the pad lines, in order
    // Reading: the last line taken from the file, key lines included. A pad saved after a
    // calculation with a total ends in "TOTAL", and opening it totals again.
    AnsiString LastLine;

    bool EndsWithTotal() const { return LastLine == "TOTAL"; }
};

// The longest line that reading keeps in one piece; a longer line is read as several pad lines of
// at most this many characters, so that nothing of it is lost.
inline constexpr size_t MaxPadFileLine = 1023;

// The settings and lines held in the bytes of a pad file.
TPadFile ParsePadText(const AnsiString& bytes);
// Reads a pad file (path as the system spells it); false when it cannot be opened (pad is then
// left as it was).
bool LoadPadFile(const AnsiString& path, TPadFile& pad);

// The bytes of a pad file. A setting left unset writes an empty text or -1 (no selection).
AnsiString FormatPadText(const TPadFile& pad);

struct TPadSaveResult {
    enum class Status { Saved, CannotBackUp, CannotWrite };
    Status status = Status::Saved;
    AnsiString FileName;    // the name written: the chosen name with the extension ".pad"
    AnsiString BackupName;  // the chosen name with the extension ".p~d"
    bool BackupMade = false;  // the file that stood under FileName is now also under BackupName
    QString Reason;           // why the save failed, as the system says it

    bool Saved() const { return status == Status::Saved; }
    // The text of the error box, empty when saved. File names are shown as the system spells them.
    QString Message() const;
};

// Writes the pad under chosenName (a file name as the system spells it) with its extension made
// ".pad". The file that stands there is first copied whole to the extension ".p~d"; the backup is
// only ever replaced by such a whole copy. Both files are written through SafeWriteFile, so a
// save that fails, or a process that dies while saving, leaves the pad file and its backup each
// whole: the old or the new contents, never a part.
TPadSaveResult SavePadFile(const AnsiString& chosenName, const TPadFile& pad);
