#pragma once
// What the program asks of the desktop shell: open an address (a web page or a mail link) with
// the program the desktop chooses for it, and start another program detached from this one.
// Each goes through a seam, so that tests can answer in place of the desktop and no test opens a
// real browser or starts a real viewer.
#include "platform/vcl/Strings.h"

#include <QStringList>
#include <functional>

// Opens address ("https://...", "mailto:...") as the desktop's "open" would. True when the
// desktop took it; false when nothing could open it.
bool ShellOpen(const UnicodeString& address);

using ShellOpenHandler = std::function<bool(const UnicodeString& address)>;
// Installs a handler in place of the desktop and returns the one it replaces (empty: the desktop).
ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler);

// A program to start: its path, its arguments (each passed as one argument, blanks and all) and
// the folder it starts in.
struct ProcessStart {
    UnicodeString program;
    QStringList arguments;
    UnicodeString workDir;
};

// Starts the program as a process of its own and returns at once; the program is not waited for
// or watched. True when it started. A missing program or working folder fails, and so does a
// program that FindProgram does not find.
bool CreateProcess(const ProcessStart& start);

// The program a start runs: an absolute path as it stands; a bare name from the folders of the
// PATH that are absolute, where it is an executable file. Anything else is not found (empty): a
// program is never taken from the current folder, whatever folder that happens to be.
UnicodeString FindProgram(const UnicodeString& program);

using ProcessStarter = std::function<bool(const ProcessStart& start)>;
// Installs a starter in place of the real one and returns the one it replaces (empty: real).
ProcessStarter SetProcessStarter(ProcessStarter starter);
