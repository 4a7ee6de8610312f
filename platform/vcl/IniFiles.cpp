#include "platform/vcl/IniFiles.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"

#include "platform/vcl/SafeWrite.h"

// SimpleIni used as a header only: its templates are compiled here (SI_IMPLEMENTATION), and only
// the 8-bit form is wanted, which needs no conversion library.
#ifndef SI_NO_CONVERSION
#define SI_NO_CONVERSION
#endif
#ifndef SI_IMPLEMENTATION
#define SI_IMPLEMENTATION
#endif
#include <SimpleIni.h>
#include <algorithm>

// Reading goes through SimpleIni; writing edits the file's own lines (below), because SimpleIni
// would rewrite the whole file in its own layout. Both follow the same line rules, so a key that
// is written is the key that is read back.
// CSimpleIniA is SimpleIni's case-insensitive form (its "Case" form tells letter case apart).
struct TIniFile::Parsed {
    CSimpleIniA ini{false, true, false};  // not UTF-8, duplicate keys kept, no multi-line values
};

namespace {

const char kBom[] = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const AnsiString& a, const AnsiString& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

AnsiString TrimBlanks(const AnsiString& s)
{
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// A NUL would end SimpleIni's scan of the whole file; as a blank it spoils only its own line.
AnsiString WithoutNul(AnsiString bytes)
{
    std::replace(bytes.begin(), bytes.end(), '\0', ' ');
    return bytes;
}

// One line of the file: its text [begin, end) and its line end [end, next).
struct Line {
    size_t begin, end, next;
};

// Lines end at CR LF, LF or a lone CR, as SimpleIni reads them.
std::vector<Line> SplitLines(const AnsiString& text)
{
    std::vector<Line> lines;
    size_t pos = text.compare(0, 3, kBom) == 0 ? 3 : 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == AnsiString::npos) {
            lines.push_back({pos, text.size(), text.size()});
            break;
        }
        size_t next = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

enum class LineKind { Blank, Comment, Section, BrokenSection, Key, Other };

struct LineInfo {
    LineKind kind = LineKind::Other;
    AnsiString name;      // section or key name
    size_t valueAt = 0;   // for a key: offset in the line where its value begins
};

LineInfo Classify(const AnsiString& text)
{
    LineInfo info;
    size_t p = 0;
    while (p < text.size() && IsBlank(text[p])) ++p;
    if (p == text.size()) return {LineKind::Blank, {}, 0};
    if (text[p] == ';' || text[p] == '#') return {LineKind::Comment, {}, 0};
    if (text[p] == '[') {
        size_t close = text.find(']', p + 1);
        // SimpleIni files the keys after a header without its bracket under a name that no
        // lookup can match; so do we.
        if (close == AnsiString::npos) return {LineKind::BrokenSection, {}, 0};
        return {LineKind::Section, TrimBlanks(text.substr(p + 1, close - p - 1)), 0};
    }
    size_t eq = text.find('=', p);
    if (eq == AnsiString::npos) return info;
    AnsiString key = TrimBlanks(text.substr(p, eq - p));
    if (key.empty()) return info;
    size_t v = eq + 1;
    while (v < text.size() && IsBlank(text[v])) ++v;
    return {LineKind::Key, key, v};
}

AnsiString FirstLineEnd(const AnsiString& text, const std::vector<Line>& lines)
{
    for (const Line& l : lines)
        if (l.next > l.end) return text.substr(l.end, l.next - l.end);
    return "\n";
}

// The file's bytes with section/key set to value, every other byte as it was.
AnsiString UpdatedBytes(const AnsiString& raw, const AnsiString& section, const AnsiString& key,
                        const AnsiString& value)
{
    const AnsiString scan = WithoutNul(raw);
    const std::vector<Line> lines = SplitLines(scan);
    const AnsiString eol = FirstLineEnd(scan, lines);
    const size_t npos = AnsiString::npos;

    // Lines before the first header form the unnamed section.
    bool inSection = section.empty();
    bool found = inSection;      // a section of that name exists
    bool firstEnded = false;     // the first section of that name is behind us
    size_t lastEntry = npos;     // its header or its last key line: a new key goes after it
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        const LineInfo info = Classify(scan.substr(l.begin, l.end - l.begin));
        if (info.kind == LineKind::Section || info.kind == LineKind::BrokenSection) {
            if (inSection) firstEnded = true;
            inSection = info.kind == LineKind::Section && SameName(info.name, section);
            if (inSection && !found) {
                found = true;
                lastEntry = i;
            }
            continue;
        }
        if (!inSection) continue;
        if (info.kind == LineKind::Key && SameName(info.name, key))
            return raw.substr(0, l.begin + info.valueAt) + value + raw.substr(l.end);
        // Comments after the last key usually introduce the next section; the new key goes
        // before them.
        if (!firstEnded && (info.kind == LineKind::Key || info.kind == LineKind::Other)) lastEntry = i;
    }

    const AnsiString entry = key + "=" + value + eol;
    if (!found) {
        AnsiString out = raw;
        if (!lines.empty() && lines.back().next == lines.back().end) out += eol;
        return out + "[" + section + "]" + eol + entry;
    }
    if (lastEntry == npos) {  // the unnamed section, still empty: the very top, after a BOM
        const size_t top = raw.compare(0, 3, kBom) == 0 ? 3 : 0;
        return raw.substr(0, top) + entry + raw.substr(top);
    }
    const Line& after = lines[lastEntry];
    return raw.substr(0, after.next) + (after.next == after.end ? eol : "") + entry + raw.substr(after.next);
}

bool HoldsLineBreak(const AnsiString& s) { return s.find_first_of(AnsiString("\r\n\0", 3)) != AnsiString::npos; }

bool IsAscii(const AnsiString& s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Whether the code page can hold the name as it is.
bool FitsCodePage(const AnsiString& path)
{
    const QString name = PathToUnicode(path);
    return Win1252ToUnicode(UnicodeToWin1252(name)) == name;
}

// The bytes that stand for a value in a file of the given kind.
AnsiString Stored(const TIniValue& v, bool utf8)
{
    if (v.IsPath) return utf8 || IsAscii(v.Value) ? v.Value : UnicodeToWin1252(PathToUnicode(v.Value));
    return utf8 ? Win1252ToUnicode(v.Value).toUtf8().toStdString() : v.Value;
}

bool Storable(const TIniValue& v)
{
    return !HoldsLineBreak(v.Section) && !HoldsLineBreak(v.Key) && !HoldsLineBreak(v.Value) &&
           v.Section.find(']') == AnsiString::npos && !TrimBlanks(v.Key).empty() &&
           v.Key.find('=') == AnsiString::npos;
}

// The file's bytes, empty for a missing file; false with the reason when something stands at the
// name that cannot be read as a file (a named pipe is not waited on, a device not read).
bool ReadBytes(const AnsiString& path, AnsiString& bytes, QString* reason = nullptr)
{
    const SafeReadResult read = ReadRegularFile(path, bytes);
    if (read || read.status == SafeReadResult::Status::Missing) return true;
    if (reason) *reason = read.reason;
    return false;
}

}  // namespace

TIniFile::TIniFile(const AnsiString& fileName) : fileName_(fileName), parsed_(std::make_unique<Parsed>())
{
    AnsiString bytes;
    if (!fileName_.empty() && ReadBytes(fileName_, bytes)) Load(bytes);
}

TIniFile::~TIniFile() = default;

void TIniFile::Load(const AnsiString& bytes)
{
    parsed_ = std::make_unique<Parsed>();
    utf8_ = IsUtf8Text(bytes);
    const AnsiString clean = WithoutNul(bytes);
    if (parsed_->ini.LoadData(clean.data(), clean.size()) < 0) parsed_ = std::make_unique<Parsed>();
}

AnsiString TIniFile::Raw(const AnsiString& section, const AnsiString& key, bool& found) const
{
    found = false;
    CSimpleIniA::TNamesDepend values;
    if (!parsed_->ini.GetAllValues(section.c_str(), key.c_str(), values) || values.empty()) return {};
    // The first in the file, whatever order the duplicates are kept in.
    auto first = std::min_element(values.begin(), values.end(),
                                  [](const auto& a, const auto& b) { return a.nOrder < b.nOrder; });
    AnsiString value = first->pItem ? first->pItem : "";
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    found = true;
    return value;
}

AnsiString TIniFile::ReadString(const AnsiString& section, const AnsiString& key,
                                const AnsiString& defaultValue) const
{
    bool found = false;
    const AnsiString value = Raw(section, key, found);
    if (!found) return defaultValue;
    return utf8_ ? UnicodeToWin1252(QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()))) : value;
}

AnsiString TIniFile::ReadPath(const AnsiString& section, const AnsiString& key, const AnsiString& defaultValue) const
{
    bool found = false;
    const AnsiString value = Raw(section, key, found);
    if (!found) return defaultValue;
    return utf8_ || IsAscii(value) ? value : UnicodeToPath(Win1252ToUnicode(value));
}

int TIniFile::ReadInteger(const AnsiString& section, const AnsiString& key, int defaultValue) const
{
    const AnsiString text = ReadString(section, key, "");
    return text.empty() ? defaultValue : StrToIntDef(text, defaultValue);
}

double TIniFile::ReadFloat(const AnsiString& section, const AnsiString& key, double defaultValue) const
{
    const AnsiString text = ReadString(section, key, "");
    double value = 0;
    return !text.empty() && TryStrToFloat(text, value) ? value : defaultValue;
}

bool TIniFile::SectionExists(const AnsiString& section) const
{
    return parsed_->ini.GetSection(section.c_str()) != nullptr;
}

bool TIniFile::ValueExists(const AnsiString& section, const AnsiString& key) const
{
    return parsed_->ini.GetValue(section.c_str(), key.c_str()) != nullptr;
}

bool TIniFile::WriteString(const AnsiString& section, const AnsiString& key, const AnsiString& value)
{
    return WriteValues({{section, key, value, false}});
}

bool TIniFile::WritePath(const AnsiString& section, const AnsiString& key, const AnsiString& path)
{
    return WriteValues({{section, key, path, true}});
}

bool TIniFile::WriteValues(const std::vector<TIniValue>& values)
{
    lastError_.clear();
    if (values.empty()) return true;
    if (fileName_.empty()) {
        lastError_ = QStringLiteral("The settings file has no name");
        return false;
    }
    for (const TIniValue& v : values) {
        if (!Storable(v)) {
            lastError_ = QStringLiteral("A setting holds a line break and cannot be stored");
            return false;
        }
    }
    // Start from the file as it is now, not as it was read, so that nothing written to it since
    // is lost; a file that exists but cannot be read is not replaced.
    AnsiString raw;
    QString unreadable;
    if (!ReadBytes(fileName_, raw, &unreadable)) {
        lastError_ = QStringLiteral("The file cannot be read: ") + unreadable;
        return false;
    }
    bool utf8 = IsUtf8Text(raw);
    if (!utf8 && std::any_of(values.begin(), values.end(),
                             [](const TIniValue& v) { return v.IsPath && !FitsCodePage(v.Value); })) {
        raw = Win1252ToUnicode(raw).toUtf8().toStdString();
        utf8 = true;
    }
    AnsiString updated = raw;
    for (const TIniValue& v : values) updated = UpdatedBytes(updated, v.Section, v.Key, Stored(v, utf8));

    const SafeWriteResult written = SafeWriteFile(fileName_, updated);
    if (!written) {
        lastError_ = written.reason;
        return false;
    }
    Load(updated);
    return true;
}

bool TIniFile::WriteInteger(const AnsiString& section, const AnsiString& key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

AnsiString ProgramIniPath() { return ChangeFileExt(ParamStr0(), ".INI"); }
