#include "platform/win/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {

ShellOpenHandler& OpenHandler()
{
    static ShellOpenHandler handler;
    return handler;
}

ProcessStarter& Starter()
{
    static ProcessStarter starter;
    return starter;
}

}  // namespace

bool ShellOpen(const UnicodeString& address)
{
    if (OpenHandler()) return OpenHandler()(address);
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty()) return false;
    return QDesktopServices::openUrl(url);
}

ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler)
{
    ShellOpenHandler previous = std::move(OpenHandler());
    OpenHandler() = std::move(handler);
    return previous;
}

bool CreateProcess(const ProcessStart& start)
{
    if (Starter()) return Starter()(start);
    if (start.program.isEmpty()) return false;
    // A process must not start somewhere else than asked when its folder is missing.
    if (!start.workDir.isEmpty() && !QFileInfo(start.workDir).isDir()) return false;
    return QProcess::startDetached(start.program, start.arguments, start.workDir);
}

ProcessStarter SetProcessStarter(ProcessStarter starter)
{
    ProcessStarter previous = std::move(Starter());
    Starter() = std::move(starter);
    return previous;
}
