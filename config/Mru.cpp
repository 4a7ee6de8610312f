#include "config/Mru.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/IniFiles.h"

#include <algorithm>
#include <climits>

namespace {

const char kSection[] = "MRU";

// A UTF-8 name cut in the middle of a character loses the character's first bytes too, so the
// menu shows no broken character.
void DropCutCharacter(AnsiString& text)
{
    size_t lead = text.size();
    while (lead > 0 && (static_cast<unsigned char>(text[lead - 1]) & 0xC0) == 0x80) --lead;
    if (lead == 0) return;
    const unsigned char c = static_cast<unsigned char>(text[lead - 1]);
    const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (text.size() - (lead - 1) < length) text.resize(lead - 1);
}

bool SamePathIgnoringCase(const AnsiString& a, const AnsiString& b) { return UpperCase(a) == UpperCase(b); }

}  // namespace

bool FitsPathLimit(const AnsiString& path) { return path.size() < PATH_MAX; }

void TMRU::Clear()
{
    Entries.clear();
    OpenIndex = 0;
}

void TMRU::Add(const AnsiString& path)
{
    if (path.empty()) return;
    auto found = std::find_if(Entries.begin(), Entries.end(),
                              [&](const TMRUData& e) { return SamePathIgnoringCase(e.Path, path); });
    if (found != Entries.end()) {
        std::rotate(Entries.begin(), found, found + 1);  // keeps the entry's own spelling and text
        return;
    }
    Entries.insert(Entries.begin(), TMRUData{path, ShortenPath(path)});
    if (Count() > MaxCount) Entries.pop_back();
}

AnsiString TMRU::GetPath(int i) const
{
    return i >= 1 && i <= Count() ? Entries[static_cast<size_t>(i - 1)].Path : AnsiString();
}

AnsiString TMRU::GetDisplay(int i) const
{
    return i >= 1 && i <= Count() ? Entries[static_cast<size_t>(i - 1)].Display : AnsiString();
}

AnsiString TMRU::ShortenPath(const AnsiString& path) const
{
    const long limit = MaxCharacters;
    auto cut = [limit](AnsiString text) {
        if (limit < 0) return AnsiString();
        if (text.size() > static_cast<size_t>(limit)) {
            const bool utf8 = IsUtf8Text(text);
            text.resize(static_cast<size_t>(limit));
            if (utf8) DropCutCharacter(text);
        }
        return text;
    };
    if (static_cast<long>(path.size()) <= limit) return path;

    // The root that is always shown: "/" on this system, the drive ("C:\") of a Windows path.
    // Both separators divide folders.
    const bool slashRoot = path[0] == '/';
    const size_t rootLen = slashRoot ? 1 : std::min<size_t>(3, path.size());
    const AnsiString root = path.substr(0, rootLen);
    const AnsiString ellipsis = slashRoot ? ".../" : "...\\";
    const AnsiString name = ExtractFileName(path);
    const long nameLen = static_cast<long>(name.size());
    const size_t nameAt = path.size() - name.size();  // the folders are path[0, nameAt)

    if (limit - static_cast<long>(rootLen) - 4 < nameLen || nameAt == 0) return cut(root + ellipsis + name);

    if (PathTruncatedRight) {
        // Whole folders from the left, while the root, the folders taken, "...\" and the name fit.
        size_t taken = rootLen;
        for (;;) {
            const size_t sep = path.find_first_of("/\\", taken);
            if (sep == AnsiString::npos || sep >= nameAt) break;
            if (static_cast<long>(sep + 1) + nameLen > limit - 4) break;
            taken = sep + 1;
        }
        return cut(path.substr(0, taken) + ellipsis + name);
    }
    // Whole folders from the right, each with the separator before it, while the root, "...",
    // the folders taken and the name fit.
    size_t from = nameAt - 1;  // the final separator
    while (from > 0) {
        const size_t prev = path.find_last_of("/\\", from - 1);
        if (prev == AnsiString::npos || prev + 1 < rootLen) break;
        if (static_cast<long>(nameAt - prev) + nameLen > limit - static_cast<long>(rootLen) - 3) break;
        from = prev;
    }
    return cut(root + "..." + path.substr(from, nameAt - from) + name);
}

void TMRU::Load(const AnsiString& iniPath)
{
    Clear();
    const TIniFile ini(iniPath.empty() ? ProgramIniPath() : iniPath);
    // Oldest first, so that key "1" ends up at the front.
    for (int i = MaxCount; i >= 1; --i) {
        const AnsiString path = ini.ReadPath(kSection, std::to_string(i), "");
        if (FitsPathLimit(path)) Add(path);
    }
}

std::vector<TIniValue> TMRU::IniValues() const
{
    std::vector<TIniValue> values;
    for (int i = 1; i <= Count(); ++i) values.push_back({kSection, std::to_string(i), GetPath(i), true});
    return values;
}

bool TMRU::Save(const AnsiString& iniPath) const
{
    TIniFile ini(iniPath.empty() ? ProgramIniPath() : iniPath);
    return ini.WriteValues(IniValues());
}
