#include "platform/win/Shell.h"

#include <QDesktopServices>
#include <QDir>
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
    const QString program = FindProgram(start.program);
    if (program.isEmpty()) return false;
    // A process must not start somewhere else than asked when its folder is missing.
    if (!start.workDir.isEmpty() && !QFileInfo(start.workDir).isDir()) return false;
    return QProcess::startDetached(program, start.arguments, start.workDir);
}

UnicodeString FindProgram(const UnicodeString& program)
{
    if (program.isEmpty()) return {};
    if (QDir::isAbsolutePath(program)) return program;
    // A name with a folder in it is relative to the current folder, which is not searched.
    if (program.contains(QLatin1Char('/'))) return {};
    const QStringList folders = qEnvironmentVariable("PATH").split(QLatin1Char(':'));
    for (const QString& folder : folders) {
        // An empty or relative entry stands for the current folder, or a folder below it.
        if (!QDir::isAbsolutePath(folder)) continue;
        const QFileInfo candidate(QDir(folder).filePath(program));
        if (candidate.isFile() && candidate.isExecutable()) return candidate.absoluteFilePath();
    }
    return {};
}

ProcessStarter SetProcessStarter(ProcessStarter starter)
{
    ProcessStarter previous = std::move(Starter());
    Starter() = std::move(starter);
    return previous;
}
