#pragma once
// The recent-files list: the pads opened or saved last, newest first, each with a short text for
// the File menu, kept in the [MRU] section of the INI file as keys "1", "2", ...
#include "platform/vcl/Strings.h"

#include <vector>

struct TIniValue;

// Whether a file or folder name read from the settings is one the system can use: a name longer
// than its path limit names nothing, and would only slow down every menu, box and dialog that
// shows it.
bool FitsPathLimit(const AnsiString& path);

class TMRU {
public:
    struct TMRUData {
        AnsiString Path;     // the full path
        AnsiString Display;  // ShortenPath of the path, made when the entry was added
    };

    TMRU() = default;

    void Clear();
    int Count() const { return static_cast<int>(Entries.size()); }
    // Puts the path first: an entry of the same path in any letter case moves to the front as it
    // was spelt; a new entry may push the oldest out.
    void Add(const AnsiString& path);
    // 1-based; "" out of range.
    AnsiString GetPath(int i) const;
    AnsiString GetDisplay(int i) const;

    void SetMaxCount(int value) { MaxCount = value; }
    void SetMaxCharacters(int value) { MaxCharacters = value; }
    void SetPathTruncatedRight(int value) { PathTruncatedRight = value != 0 ? 1 : 0; }

    // The path cut to at most MaxCharacters, with "..." in place of the folders left out.
    AnsiString ShortenPath(const AnsiString& path) const;

    // An empty INI path stands for the program's own INI file. A name too long for the system
    // (FitsPathLimit) is left out, as an empty key is.
    void Load(const AnsiString& iniPath);
    // Writes keys 1 to Count in one write of the file; keys above the count stay as they are.
    // False when the file could not be written (it is then as it was).
    bool Save(const AnsiString& iniPath) const;
    // The keys Save writes, for a caller that writes them with other settings.
    std::vector<TIniValue> IniValues() const;

    int MaxCount = 4;
    int MaxCharacters = 40;
    std::vector<TMRUData> Entries;
    int PathTruncatedRight = 1;  // 1: the shortened text keeps the folders on the left
    int OpenIndex = 0;           // 1-based entry the next Open takes without asking; 0 for none
};
