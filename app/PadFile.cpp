#include "app/PadFile.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/SafeWrite.h"
#include "platform/vcl/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Key { Date, Description, UOM_Input, UOM_Answer, Precision, UOM_Angle, Data };

struct KeyRow {
    const char* text;
    Key key;
};

// In the order they are tested: the first key found anywhere in a line decides.
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

void HandleLine(TPadFile& pad, const AnsiString& line)
{
    if (!line.empty()) pad.LastLine = line;
    for (const KeyRow& row : keyTable) {
        const AnsiString key = row.text;
        if (line.find(key) == AnsiString::npos) continue;
        // The value is what follows the key's length of characters, counted from the start of the
        // line, as in every file the program writes.
        const AnsiString value = line.size() > key.size() ? line.substr(key.size()) : AnsiString();
        switch (row.key) {
        case Key::Date: pad.Date = value; break;
        case Key::Description: pad.Description = value; break;
        case Key::UOM_Input: pad.UOM_Input = IndexValue(value); break;
        case Key::UOM_Answer: pad.UOM_Answer = IndexValue(value); break;
        case Key::Precision: pad.Precision = IndexValue(value); break;
        case Key::UOM_Angle: pad.UOM_Angle = IndexValue(value); break;
        case Key::Data: break;
        }
        return;
    }
    pad.Lines.push_back(line);
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

enum class FileRead { Read, CannotOpen, NotRegularFile, TooLarge };

// Reads the regular file at path (or the one a link names) whole into bytes when it holds at most
// limit bytes; reason says why it could not be opened. Nothing waits: a pipe, a device or a folder
// is told from the open descriptor before any read, and opening uses O_NONBLOCK, without which a
// pipe waits for a writer (a regular file reads the same with it).
FileRead ReadRegularFile(const AnsiString& path, std::int64_t limit, AnsiString& bytes, QString& reason)
{
    const auto cannotOpen = [&reason] {
        reason = QString::fromLocal8Bit(std::strerror(errno));
        return FileRead::CannotOpen;
    };
    if (path.find('\0') != AnsiString::npos) {  // no file has such a name
        errno = ENOENT;
        return cannotOpen();
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return cannotOpen();
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat status {};
    if (::fstat(fd, &status) != 0) return cannotOpen();
    if (!S_ISREG(status.st_mode)) return FileRead::NotRegularFile;
    if (status.st_size > limit) return FileRead::TooLarge;

    // The file may grow while it is read: what lies past the limit is not read.
    bytes.clear();
    bytes.reserve(static_cast<size_t>(status.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return cannotOpen();
        if (got == 0) return FileRead::Read;
        if (static_cast<std::int64_t>(bytes.size()) + got > limit) return FileRead::TooLarge;
        bytes.append(buffer, static_cast<size_t>(got));
    }
}

}  // namespace

TPadFile ParsePadText(const AnsiString& bytes, size_t maxLines)
{
    TPadFile pad;
    size_t emptyLines = 0;  // not yet known to stand between pad lines
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        if (end == AnsiString::npos) end = bytes.size();
        AnsiString line = bytes.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // A NUL would end the line early in a C string; binary bytes are dropped, not the rest.
        line.erase(std::remove(line.begin(), line.end(), '\0'), line.end());
        if (line.empty()) {
            ++emptyLines;
            continue;
        }
        const size_t before = pad.Lines.size();
        HandleLine(pad, line);
        // Empty lines go where the pad line after them goes: into the pad before it, or with a
        // key line, out.
        if (pad.Lines.size() > before) {
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
    const QString name = PathToUnicode(FileName);
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
    QString reason;
    switch (ReadRegularFile(path, MaxPadFileBytes, bytes, reason)) {
    case FileRead::Read: break;
    case FileRead::CannotOpen: result.status = TPadReadResult::Status::CannotOpen; return result;
    case FileRead::NotRegularFile: result.status = TPadReadResult::Status::NotRegularFile; return result;
    case FileRead::TooLarge:
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

    // The backup is made by copying, never by moving: the pad file stands whole at every moment,
    // and the backup is replaced only once the copy is whole on disk.
    if (FileExists(result.FileName)) {
        AnsiString previous;
        QString reason;
        const FileRead read = ReadRegularFile(result.FileName, INT64_MAX, previous, reason);
        if (read == FileRead::NotRegularFile) {
            // A pipe or a device is not replaced by a pad, nor waited on for a backup.
            result.status = TPadSaveResult::Status::CannotWrite;
            result.Reason = QStringLiteral("Not a regular file");
            return result;
        }
        const SafeWriteResult kept =
            read == FileRead::Read ? SafeWriteFile(result.BackupName, previous) : SafeWriteResult{false, reason};
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
