#pragma once
// The user's part of the registry, where the program keeps small values between sessions, held
// in an INI file of our own: one section per key path ("Software\Company\Program\..."), one
// entry per value. Key paths and value names compare without regard to case, as the registry's.
#include "platform/vcl/Strings.h"

#include <QString>

// The file, "Registry.ini" in the user's configuration folder of this program unless a folder
// was set. Tests set a folder of their own.
QString RegistryFilePath();
void SetRegistryFolder(const QString& folder);  // an empty folder restores the default

// Reads a DWORD value; false when the file, key or value is missing or unreadable.
bool RegReadDword(const AnsiString& key, const AnsiString& name, unsigned& value);
// Writes a DWORD value, creating the key and the file as needed; the rest of the file is kept.
// False when it cannot be written (the old file then stays as it was).
bool RegWriteDword(const AnsiString& key, const AnsiString& name, unsigned value);
