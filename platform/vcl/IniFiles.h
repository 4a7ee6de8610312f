#pragma once
// The INI file of the program: sections in square brackets, "key=value" lines, section and key
// names compared without regard to ASCII letter case. Text is Windows-1252 and kept byte for byte.
//
// Reading: a missing or unreadable file reads as empty, so every read gives its default; a named
// pipe, a device or a folder at the name is neither waited on nor read, and writing it fails. Where a
// section or a key stands twice, the first in the file counts. Values are trimmed of blanks and
// tabs, and a value wrapped in a pair of double or single quotes loses the pair, as the Windows
// profile reader does, so settings files written for the original program read the same.
//
// Writing changes the file on disk at once and touches nothing else: only the line of the written
// key changes (or a line is added at the end of its section, or the section is appended). Comments,
// order, blank lines, unknown lines and the file's own line ends stay as they are. Every write goes
// through SafeWriteFile, so a failed write leaves the old file whole, and says why.
//
// Values are of two kinds. Text is Windows-1252, as settings have always been written. A path is
// the file system's own name (UTF-8 here). A file holds Windows-1252 until it must hold a name the
// code page lacks; it is then written in UTF-8, and a file that is valid UTF-8 with a byte outside
// ASCII is read as UTF-8.
#include "platform/vcl/Strings.h"

#include <memory>
#include <vector>

struct TIniValue {
    AnsiString Section;
    AnsiString Key;
    AnsiString Value;
    bool IsPath = false;
};

class TIniFile {
public:
    explicit TIniFile(const AnsiString& fileName);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const AnsiString& FileName() const { return fileName_; }

    AnsiString ReadString(const AnsiString& section, const AnsiString& key,
                          const AnsiString& defaultValue) const;
    AnsiString ReadPath(const AnsiString& section, const AnsiString& key, const AnsiString& defaultValue) const;
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
    bool WritePath(const AnsiString& section, const AnsiString& key, const AnsiString& path);
    // Several values in one write of the file: all of them, or none.
    bool WriteValues(const std::vector<TIniValue>& values);
    // Why the last write failed, for the user; empty after a write that succeeded.
    const QString& LastError() const { return lastError_; }

private:
    struct Parsed;
    void Load(const AnsiString& bytes);
    AnsiString Raw(const AnsiString& section, const AnsiString& key, bool& found) const;

    AnsiString fileName_;
    std::unique_ptr<Parsed> parsed_;
    bool utf8_ = false;  // the file as read is UTF-8
    QString lastError_;
};

// The program's own INI file: the executable's path with the extension ".INI".
AnsiString ProgramIniPath();
