#include "platform/win/Registry.h"

#include "platform/vcl/SafeWrite.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
// SimpleIni compiles its template bodies only where SI_IMPLEMENTATION is set; setting it here
// makes this file link on its own, whatever else the program uses.
#ifndef SI_NO_CONVERSION
#define SI_NO_CONVERSION  // 8-bit names and values only
#endif
#ifndef SI_IMPLEMENTATION
#define SI_IMPLEMENTATION
#endif
#include <SimpleIni.h>
#include <cstdlib>
#include <string>

namespace {

QString& FolderOverride()
{
    static QString folder;
    return folder;
}

// A key path or value name that would not survive as one INI section or entry name.
bool Storable(const AnsiString& text)
{
    if (text.empty()) return false;
    for (char c : text)
        if (c == '\n' || c == '\r' || c == '\0') return false;
    return text.find(']') == AnsiString::npos && text.find('=') == AnsiString::npos &&
           text.front() != ';' && text.front() != '#' && text.front() != ' ';
}

// The store as it stands; a missing file is an empty store. False with the reason when the name
// holds something that cannot be read as a file, which is then neither waited on nor replaced.
bool Load(CSimpleIniA& ini, QString* reason = nullptr)
{
    std::string bytes;
    const SafeReadResult read = ReadRegularFile(RegistryFilePath(), bytes);
    if (read.status == SafeReadResult::Status::Missing) return true;
    if (!read) {
        if (reason) *reason = read.reason;
        return false;
    }
    return ini.LoadData(bytes.data(), bytes.size()) >= 0;
}

}  // namespace

QString RegistryFilePath()
{
    QString folder = FolderOverride();
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QDir(folder).filePath(QStringLiteral("Registry.ini"));
}

void SetRegistryFolder(const QString& folder) { FolderOverride() = folder; }

bool RegReadDword(const AnsiString& key, const AnsiString& name, unsigned& value)
{
    if (!Storable(key) || !Storable(name)) return false;
    CSimpleIniA ini;
    if (!Load(ini)) return false;
    const char* text = ini.GetValue(key.c_str(), name.c_str(), nullptr);
    if (!text || !*text) return false;
    char* end = nullptr;
    const unsigned long number = std::strtoul(text, &end, 10);
    if (*end != '\0' || number > 0xFFFFFFFFul) return false;
    value = static_cast<unsigned>(number);
    return true;
}

bool RegWriteDword(const AnsiString& key, const AnsiString& name, unsigned value)
{
    if (!Storable(key) || !Storable(name)) return false;
    CSimpleIniA ini;
    // A store that cannot be read is not replaced by one that holds only this value.
    QString unreadable;
    if (!Load(ini, &unreadable)) {
        ReportWriteFailureOnce(QStringLiteral("Your remembered answers"), RegistryFilePath(),
                               QStringLiteral("The file cannot be read: ") + unreadable);
        return false;
    }
    ini.SetValue(key.c_str(), name.c_str(), std::to_string(value).c_str());
    std::string data;
    if (ini.Save(data) < 0) return false;

    const QString path = RegistryFilePath();
    SafeWriteResult written;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        written = {false, QStringLiteral("The folder cannot be made")};
    else
        written = SafeWriteFile(path, data);
    // An answer that could not be kept is asked again next time; the user hears why, once.
    if (!written) ReportWriteFailureOnce(QStringLiteral("Your remembered answers"), path, written.reason);
    return written.ok;
}
