#pragma once
// The desktop's program for a kind of file, found the way the program's viewer lookup expects
// it: as an "open" command whose program path comes first, quoted, followed by the rest of the
// command ("\"/usr/bin/viewer\" %U"). The desktop's default application for the extension's MIME
// type gives it (xdg-mime, then the Exec line of its desktop entry); without one, the desktop's
// general opener (xdg-open) stands in.
#include "platform/vcl/Strings.h"

#include <functional>

// The open command for files with extension (".pdf"); empty when the desktop knows none.
UnicodeString AssociatedCommand(const UnicodeString& extension);

using AssociationLookup = std::function<UnicodeString(const UnicodeString& extension)>;
// Installs a lookup in place of the desktop's and returns the one it replaces (empty: desktop).
AssociationLookup SetAssociationLookup(AssociationLookup lookup);

// The command of a desktop entry's Exec value: its program (unquoted and unescaped as desktop
// entries write it, found on the PATH when not absolute) in double quotes, then the rest.
// An empty or blank Exec gives an empty command.
UnicodeString CommandFromDesktopExec(const UnicodeString& exec);

// The file's path in the form a process is started with: its absolute, clean path in shortPath
// and the number of bytes that path takes with its terminating zero. Returns 0 when the path
// names no existing file; when the needed size is bufferSize or more, returns it and leaves
// shortPath empty.
int GetShortPathName(const UnicodeString& longPath, UnicodeString& shortPath, int bufferSize);
