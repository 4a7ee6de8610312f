#include "platform/win/Registry.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSaveFile>
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

bool Load(CSimpleIniA& ini)
{
    QFile file(RegistryFilePath());
    if (!file.exists()) return true;
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    return ini.LoadData(bytes.constData(), static_cast<size_t>(bytes.size())) >= 0;
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
    if (!Load(ini)) return false;
    ini.SetValue(key.c_str(), name.c_str(), std::to_string(value).c_str());
    std::string data;
    if (ini.Save(data) < 0) return false;

    const QString path = RegistryFilePath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    // Written beside the old file and renamed over it, so a failed write loses nothing.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(data.data(), static_cast<qint64>(data.size()));
    return file.commit();
}
