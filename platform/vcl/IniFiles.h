#pragma once
// The INI file of the program: sections in square brackets, "key=value" lines, section and key
// names compared without regard to ASCII letter case. Text is Windows-1252 and kept byte for byte.
//
// Reading: a missing or unreadable file reads as empty, so every read gives its default. Where a
// section or a key stands twice, the first in the file counts. Values are trimmed of blanks and
// tabs, and a value wrapped in a pair of double or single quotes loses the pair, as the Windows
// profile reader does, so settings files written for the original program read the same.
//
// Writing changes the file on disk at once and touches nothing else: only the line of the written
// key changes (or a line is added at the end of its section, or the section is appended). Comments,
// order, blank lines, unknown lines and the file's own line ends stay as they are. The new file is
// written beside the old one and renamed over it, so a failed write leaves the old file whole.
#include "platform/vcl/Strings.h"

#include <memory>

class TIniFile {
public:
    explicit TIniFile(const AnsiString& fileName);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const AnsiString& FileName() const { return fileName_; }

    AnsiString ReadString(const AnsiString& section, const AnsiString& key,
                          const AnsiString& defaultValue) const;
    // The default when the key is missing, empty or not a whole number.
    int ReadInteger(const AnsiString& section, const AnsiString& key, int defaultValue) const;
    // The value in the locale's decimal notation; the default when missing, empty or no number.
    double ReadFloat(const AnsiString& section, const AnsiString& key, double defaultValue) const;
    bool SectionExists(const AnsiString& section) const;
    bool ValueExists(const AnsiString& section, const AnsiString& key) const;

    // False when the file could not be written (it is then unchanged) or when a name or the value
    // holds a line break or a NUL, which would break the file's lines.
    bool WriteString(const AnsiString& section, const AnsiString& key, const AnsiString& value);
    bool WriteInteger(const AnsiString& section, const AnsiString& key, int value);

private:
    struct Parsed;
    void Load(const AnsiString& bytes);

    AnsiString fileName_;
    std::unique_ptr<Parsed> parsed_;
};

// The program's own INI file: the executable's path with the extension ".INI".
AnsiString ProgramIniPath();
