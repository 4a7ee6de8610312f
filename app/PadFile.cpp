#include "app/PadFile.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/SafeWrite.h"
#include "platform/vcl/SysUtils.h"

#include <algorithm>
#include <cstdint>

namespace {

enum class Key { Date, Description, UOM_Input, UOM_Answer, Precision, UOM_Angle, Data };

struct KeyRow {
    const char* text;
    Key key;
};

// The key lines as the writer writes them, each at the start of its line; no key begins with
// another, so at most one row matches.
constexpr KeyRow keyTable[] = {
    {"_Date=", Key::Date},           {"_Description=", Key::Description},
    {"_UOM_Input=", Key::UOM_Input}, {"_UOM_Answer=", Key::UOM_Answer},
    {"_Precision=", Key::Precision}, {"_UOM_Angle=", Key::UOM_Angle},
    {"_Data", Key::Data},
};

// An index of a control: a whole number, or 0 for anything else (an empty value included).
int IndexValue(const AnsiString& value)
{
    return StrToIntDef(value.empty() ? AnsiString("0") : value, 0);
}

// Takes one line of the file; true when it is a pad line. A key counts only at the start of a
// line before the data: a comment that mentions "_Date=", or a variable named roof_Data, is the
// user's text and comes back as typed.
bool HandleLine(TPadFile& pad, const AnsiString& line, bool& inData)
{
    if (!line.empty()) pad.LastLine = line;
    if (inData) {
        pad.Lines.push_back(line);
        return true;
    }
    for (const KeyRow& row : keyTable) {
        const AnsiString key = row.text;
        if (line.compare(0, key.size(), key) != 0) continue;
        const AnsiString value = line.substr(key.size());
        switch (row.key) {
        case Key::Date: pad.Date = value; break;
        case Key::Description: pad.Description = value; break;
        case Key::UOM_Input: pad.UOM_Input = IndexValue(value); break;
        case Key::UOM_Answer: pad.UOM_Answer = IndexValue(value); break;
        case Key::Precision: pad.Precision = IndexValue(value); break;
        case Key::UOM_Angle: pad.UOM_Angle = IndexValue(value); break;
        case Key::Data: inData = true; break;
        }
        return false;
    }
    pad.Lines.push_back(line);
    return true;
}

// A value on one line of the file: a line break or NUL inside it would cut it into lines of its own.
AnsiString OneLine(AnsiString text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    return text;
}

const char* const lineEnd = "\r\n";

}  // namespace

TPadFile ParsePadText(const AnsiString& bytes, size_t maxLines)
{
    TPadFile pad;
    bool inData = false;
    size_t emptyLines = 0;  // not yet known to stand between pad lines
    size_t pos = 0;
    while (pos < bytes.size()) {
        // Lines end where the pad pane breaks them: at CR LF, at LF and at a CR alone.
        size_t end = bytes.find_first_of("\r\n", pos);
        if (end == AnsiString::npos) end = bytes.size();
        AnsiString line = bytes.substr(pos, end - pos);
        pos = end + 1;
        if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ++pos;
        // A NUL would end the line early in a C string; binary bytes are dropped, not the rest.
        line.erase(std::remove(line.begin(), line.end(), '\0'), line.end());
        if (line.empty()) {
            ++emptyLines;
            continue;
        }
        // Empty lines go where the pad line after them goes: into the pad before it, or with a
        // key line, out.
        if (HandleLine(pad, line, inData)) {
            const size_t before = pad.Lines.size() - 1;
            if (before + emptyLines >= maxLines) {
                pad.Lines.resize(maxLines + 1);
                return pad;
            }
            pad.Lines.insert(pad.Lines.end() - 1, emptyLines, AnsiString());
        }
        emptyLines = 0;
    }
    return pad;
}

QString TPadReadResult::Message() const
{
    // The name may come from the settings' recent files, megabytes long: the box quotes its head.
    const QString name = PathToUnicode(TextHead(FileName));
    switch (status) {
    case Status::Read: return {};
    case Status::CannotOpen: return "Can't open " + name + " for reading";
    case Status::NotRegularFile: return "Can't open " + name + " for reading: it is not a regular file";
    case Status::Refused: return "Can't open " + name + " as a pad: " + Reason;
    }
    return {};
}

TPadReadResult LoadPadFile(const AnsiString& path, TPadFile& pad)
{
    TPadReadResult result;
    result.FileName = path;
    AnsiString bytes;
    const SafeReadResult opened = ReadRegularFile(path, bytes, MaxPadFileBytes);
    switch (opened.status) {
    case SafeReadResult::Status::Read: break;
    case SafeReadResult::Status::Missing:
    case SafeReadResult::Status::CannotOpen: result.status = TPadReadResult::Status::CannotOpen; return result;
    case SafeReadResult::Status::NotRegular:
        // A link another user planted along the name is named, with why it is not followed.
        result.status = opened.refused ? TPadReadResult::Status::Refused : TPadReadResult::Status::NotRegularFile;
        result.Reason = opened.refused ? opened.reason : QString();
        return result;
    case SafeReadResult::Status::TooLarge:
        result.status = TPadReadResult::Status::Refused;
        result.Reason = PadLimitPassed({}, MaxPadFileBytes + 1);
        return result;
    }
    // A file of short lines holds many more than a pad may have: reading stops past the limit.
    TPadFile read = ParsePadText(bytes, MaxPadFileLines);
    result.Reason = PadLimitPassed(read.Lines, static_cast<std::int64_t>(bytes.size()));
    if (!result.Reason.isEmpty()) {
        result.status = TPadReadResult::Status::Refused;
        return result;
    }
    pad = std::move(read);
    return result;
}

AnsiString FormatPadText(const TPadFile& pad)
{
    auto number = [](const std::optional<int>& v) { return std::to_string(v.value_or(-1)); };
    AnsiString out;
    out += "_Date=" + OneLine(pad.Date.value_or("")) + lineEnd;
    out += "_Description=" + OneLine(pad.Description.value_or("")) + lineEnd;
    out += "_UOM_Input=" + number(pad.UOM_Input) + lineEnd;
    out += "_UOM_Answer=" + number(pad.UOM_Answer) + lineEnd;
    out += "_Precision=" + number(pad.Precision) + lineEnd;
    out += "_UOM_Angle=" + number(pad.UOM_Angle) + lineEnd;
    out += AnsiString("_Data") + lineEnd;
    for (const AnsiString& line : pad.Lines) out += OneLine(line) + lineEnd;
    return out;
}

QString TPadSaveResult::Message() const
{
    const QString name = PathToUnicode(FileName);
    switch (status) {
    case Status::Saved: return {};
    case Status::Refused: return "Can't save " + name + " as a pad: " + Reason + ".\nNothing was saved.";
    case Status::CannotBackUp:
        return "Can't open " + PathToUnicode(BackupName) + " for writing\n" + Reason +
               "\nNothing was saved; " + name + " is as it was.";
    case Status::CannotWrite:
        return "Can't open " + name + " for writing\n" + Reason +
               (BackupMade ? "\n" + name + " is as it was; its contents are also kept in " + PathToUnicode(BackupName)
                           : "\nNothing was saved.");
    }
    return {};
}

TPadSaveResult SavePadFile(const AnsiString& chosenName, const TPadFile& pad)
{
    TPadSaveResult result;
    result.FileName = ChangeFileExt(chosenName, ".pad");
    result.BackupName = ChangeFileExt(chosenName, ".p~d");
    const AnsiString text = FormatPadText(pad);
    result.Reason = PadLimitPassed(pad.Lines, static_cast<std::int64_t>(text.size()));
    if (!result.Reason.isEmpty()) {
        result.status = TPadSaveResult::Status::Refused;
        return result;
    }

    // A name that may not be written (a link or a file another user planted) is refused before
    // its contents are copied anywhere.
    if (const WriteTarget checked = CheckWriteTarget(result.FileName); checked.refused) {
        result.status = TPadSaveResult::Status::CannotWrite;
        result.Reason = checked.check.reason;
        return result;
    }
    // The backup is made by copying, never by moving: the pad file stands whole at every moment,
    // and the backup is replaced only once the copy is whole on disk. It is no more open to others
    // than the pad it keeps.
    if (FileExists(result.FileName)) {
        AnsiString previous;
        const SafeReadResult read = ReadRegularFile(result.FileName, previous);
        if (read.status == SafeReadResult::Status::NotRegular) {
            // A pipe or a device is not replaced by a pad, nor waited on for a backup; the reason
            // is the one the safe write gives for it.
            result.status = TPadSaveResult::Status::CannotWrite;
            result.Reason = read.reason;
            return result;
        }
        const SafeWriteResult kept = read ? SafeWriteFile(result.BackupName, previous,
                                                          WriteAccess(static_cast<int>(read.mode & 0777), read.group))
                                          : SafeWriteResult{false, read.reason};
        if (!kept) {
            result.status = TPadSaveResult::Status::CannotBackUp;
            result.Reason = kept.reason;
            return result;
        }
        result.BackupMade = true;
    }

    const SafeWriteResult written = SafeWriteFile(result.FileName, text);
    if (!written) {
        result.status = TPadSaveResult::Status::CannotWrite;
        result.Reason = written.reason;
    }
    return result;
}
