#pragma once
// The desktop's program for a kind of file, found the way the program's viewer lookup expects
// it: as an "open" command whose program path comes first, quoted, followed by the rest of the
// command ("\"/usr/bin/viewer\" --page 1 %U"), which CommandArguments reads. The desktop's
// default application for the extension's MIME type gives it (xdg-mime, then the Exec line of its
// desktop entry); without one, the desktop's general opener (xdg-open) stands in.
#include "platform/vcl/Strings.h"

#include <QStringList>
#include <functional>
#include <optional>

// The open command for files with extension (".pdf"); empty when the desktop knows none.
UnicodeString AssociatedCommand(const UnicodeString& extension);

using AssociationLookup = std::function<UnicodeString(const UnicodeString& extension)>;
// Installs a lookup in place of the desktop's and returns the one it replaces (empty: desktop).
AssociationLookup SetAssociationLookup(AssociationLookup lookup);

// The command of a desktop entry's Exec value: its program in double quotes, then the rest of
// the value as it stands. The program is unquoted and unescaped as desktop entries write it, and
// found on the PATH when it is a bare name (never in the current folder). Empty when the value is
// blank, when its program is not found or its path holds a double quote, or when
// CommandArguments would refuse it.
UnicodeString CommandFromDesktopExec(const UnicodeString& exec);

// The arguments that the part of an open command after its program stands for, with file as the
// one file to open. It is read by the rules of a desktop entry's Exec value: blanks separate the
// arguments; double quotes hold blanks, and a backslash in them keeps the next ", `, $ or \;
// single quotes hold everything up to the next one, as a shell's do; outside quotes a backslash
// keeps the next character. The field codes %f, %F, %u and %U each give file, within the
// argument they stand in, whatever it holds; %% gives a percent; any other field code gives
// nothing, and an argument of nothing else is left out. A command that asks for no file gets it
// as its last argument. Nothing when a quote is not closed, or when a field code for the file
// stands in an argument that quotes or escapes anything ("sh -c \"viewer %f\""): a shell could
// read a file name there as a command.
std::optional<QStringList> CommandArguments(const UnicodeString& arguments, const UnicodeString& file);

// The file's path in the form a process is started with: its absolute, clean path in shortPath
// and the number of bytes that path takes with its terminating zero. Returns 0 when the path
// names no existing file; when the needed size is bufferSize or more, returns it and leaves
// shortPath empty.
int GetShortPathName(const UnicodeString& longPath, UnicodeString& shortPath, int bufferSize);
