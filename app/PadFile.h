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
// Files are written with CR LF line ends, as the program has always written them. A line ends at
// CR LF, LF or a CR alone, where the pad pane would break it, so that the limits count the lines
// the window would show. Before "_Data", a line that begins with a key is that key's line (a
// value may hold anything, keys included); every line after "_Data" is a pad line as it stands,
// whatever words it holds; in a file without "_Data" every line is read as those before it. Empty
// lines come back where a pad line follows them, so a pad opens with the empty lines it was saved
// with; those before a key line or at the end of the file are skipped (a pad's trailing empty
// lines are never written).
#include "app/PadLimits.h"
#include "platform/vcl/Strings.h"

#include <cstdint>
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
    // Reading: the last line taken from the file that is not empty, key lines included. A pad
    // saved after a calculation with a total ends in "TOTAL", and opening it totals again.
    AnsiString LastLine;

    bool EndsWithTotal() const { return LastLine == "TOTAL"; }
};

// The settings and lines held in the bytes of a pad file, each line whole. Reading stops once there
// are more than maxLines pad lines; the pad then has maxLines + 1 of them.
TPadFile ParsePadText(const AnsiString& bytes, size_t maxLines = SIZE_MAX);

struct TPadReadResult {
    enum class Status { Read, CannotOpen, NotRegularFile, Refused };
    Status status = Status::Read;
    AnsiString FileName;  // as given
    QString Reason;       // the limit the file passes, or the link refused along its name, when refused

    explicit operator bool() const { return status == Status::Read; }
    // The text of the error box, empty when read. The file name is shown as the system spells it.
    QString Message() const;
};

// Reads a pad file (path as the system spells it) into pad; pad is left as it was unless the file
// was read whole and is within the limits of PadLimits.h. Only a regular file (or a link to one)
// is read, and nothing waits: a pipe, a device or a folder is refused at once.
TPadReadResult LoadPadFile(const AnsiString& path, TPadFile& pad);

// The bytes of a pad file. A setting left unset writes an empty text or -1 (no selection).
AnsiString FormatPadText(const TPadFile& pad);

struct TPadSaveResult {
    enum class Status { Saved, Refused, CannotBackUp, CannotWrite };
    Status status = Status::Saved;
    AnsiString FileName;    // the name written: the chosen name with the extension ".pad"
    AnsiString BackupName;  // the chosen name with the extension ".p~d"
    bool BackupMade = false;  // the file that stood under FileName is now also under BackupName
    QString Reason;           // why the save failed, as the system says it, or the limit passed

    bool Saved() const { return status == Status::Saved; }
    // The text of the error box, empty when saved. File names are shown as the system spells them.
    QString Message() const;
};

// Writes the pad under chosenName (a file name as the system spells it) with its extension made
// ".pad". A pad past a limit of PadLimits.h is refused before anything is written: what is saved
// opens again. The file that stands there is first copied whole to the extension ".p~d"; the
// backup is only ever replaced by such a whole copy. Both files are written through SafeWriteFile, so a
// save that fails, or a process that dies while saving, leaves the pad file and its backup each
// whole: the old or the new contents, never a part.
TPadSaveResult SavePadFile(const AnsiString& chosenName, const TPadFile& pad);
