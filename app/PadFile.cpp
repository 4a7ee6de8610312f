#include "app/PadFile.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"

#include <QFile>
#include <algorithm>

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
    pad.LastLine = line;
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

}  // namespace

TPadFile ParsePadText(const AnsiString& bytes)
{
    TPadFile pad;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        if (end == AnsiString::npos) end = bytes.size();
        AnsiString line = bytes.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // A NUL would end the line early in a C string; binary bytes are dropped, not the rest.
        line.erase(std::remove(line.begin(), line.end(), '\0'), line.end());
        // Empty lines never reach the pad; a line of blanks does.
        for (size_t from = 0; from < line.size(); from += MaxPadFileLine)
            HandleLine(pad, line.substr(from, MaxPadFileLine));
    }
    return pad;
}

bool LoadPadFile(const AnsiString& path, TPadFile& pad)
{
    QFile file(Win1252ToUnicode(path));
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    pad = ParsePadText(AnsiString(bytes.constData(), static_cast<size_t>(bytes.size())));
    return true;
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

AnsiString TPadSaveResult::Message() const
{
    AnsiString text;
    switch (status) {
    case Status::Saved: return "";
    case Status::CannotCreate: text = "Can't open " + FileName + " for writing"; break;
    case Status::CannotWrite: text = "Can't write " + FileName; break;
    }
    if (BackupMade) text += "\nThe previous contents of the file are kept in " + BackupName;
    return text;
}

TPadSaveResult SavePadFile(const AnsiString& chosenName, const TPadFile& pad)
{
    TPadSaveResult result;
    result.FileName = ChangeFileExt(chosenName, ".pad");
    result.BackupName = ChangeFileExt(chosenName, ".p~d");
    const QString name = Win1252ToUnicode(result.FileName);
    const QString backup = Win1252ToUnicode(result.BackupName);

    QFile::remove(backup);
    if (FileExists(result.FileName)) {
        // Where the old file cannot be moved aside, a copy keeps it all the same: the file is
        // about to be overwritten.
        result.BackupMade = QFile::rename(name, backup) || QFile::copy(name, backup);
    }

    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        result.status = TPadSaveResult::Status::CannotCreate;
        return result;
    }
    const AnsiString bytes = FormatPadText(pad);
    const qint64 written = file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    const bool flushed = file.flush();
    file.close();
    if (written != static_cast<qint64>(bytes.size()) || !flushed || file.error() != QFileDevice::NoError) {
        // A cut-off pad must not pass for the whole one.
        file.remove();
        result.status = TPadSaveResult::Status::CannotWrite;
    }
    return result;
}
