#include "platform/win/Association.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace {

AssociationLookup& Lookup()
{
    static AssociationLookup lookup;
    return lookup;
}

// The desktop entry with this id, searched where the desktop keeps them; an id with dashes may
// stand for a sub-folder ("kde-viewer.desktop" for kde/viewer.desktop).
QString DesktopEntryPath(QString id)
{
    // An id is a file name; one that reaches out of the applications folders names no entry.
    if (id.contains(QLatin1Char('/')) || id.contains(QLatin1Char('\\')) || id.startsWith(QLatin1Char('.'))) return {};
    for (;;) {
        const QString found = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
        if (!found.isEmpty()) return found;
        const qsizetype dash = id.indexOf(QLatin1Char('-'));
        if (dash < 0) return {};
        id[dash] = QLatin1Char('/');
    }
}

// The Exec value of a desktop entry's main group, with the general value escapes undone.
QString DesktopExec(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    QTextStream in(&file);
    bool mainGroup = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            mainGroup = line == QLatin1String("[Desktop Entry]");
        } else if (mainGroup && line.startsWith(QLatin1String("Exec"))) {
            const QString key = line.section(QLatin1Char('='), 0, 0).trimmed();
            if (key != QLatin1String("Exec")) continue;
            QString value = line.section(QLatin1Char('='), 1).trimmed();
            QString out;
            for (qsizetype i = 0; i < value.size(); ++i) {
                if (value[i] == QLatin1Char('\\') && i + 1 < value.size()) {
                    const QChar next = value[++i];
                    if (next == QLatin1Char('s')) out += QLatin1Char(' ');
                    else if (next == QLatin1Char('t')) out += QLatin1Char('\t');
                    else if (next == QLatin1Char('\\')) out += QLatin1Char('\\');
                    else out += QLatin1Char('\\') + QString(next);
                } else {
                    out += value[i];
                }
            }
            return out;
        }
    }
    return {};
}

QString RunQuietly(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// The MIME type of files with the extension. The kinds the program opens are known without the
// desktop's MIME database, which a small system may lack.
QString MimeTypeOf(const UnicodeString& extension)
{
    const QString lower = extension.toLower();
    if (lower == QLatin1String(".pdf")) return QStringLiteral("application/pdf");
    if (lower == QLatin1String(".csv")) return QStringLiteral("text/csv");
    if (lower == QLatin1String(".xls")) return QStringLiteral("application/vnd.ms-excel");
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QStringLiteral("file") + extension,
                                                           QMimeDatabase::MatchExtension);
    return type.isValid() && !type.isDefault() ? type.name() : QString();
}

UnicodeString DesktopCommand(const UnicodeString& extension)
{
    const QString type = MimeTypeOf(extension);
    if (!type.isEmpty()) {
        const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
        if (!xdgMime.isEmpty()) {
            const QString ids = RunQuietly(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), type});
            const QString id = ids.section(QLatin1Char(';'), 0, 0).trimmed();
            if (!id.isEmpty()) {
                const QString entry = DesktopEntryPath(id);
                if (!entry.isEmpty()) {
                    const QString command = CommandFromDesktopExec(DesktopExec(entry));
                    if (!command.isEmpty()) return command;
                }
            }
        }
    }
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    return opener.isEmpty() ? QString() : QLatin1Char('"') + opener + QStringLiteral("\" %f");
}

}  // namespace

UnicodeString AssociatedCommand(const UnicodeString& extension)
{
    if (Lookup()) return Lookup()(extension);
    return DesktopCommand(extension);
}

AssociationLookup SetAssociationLookup(AssociationLookup lookup)
{
    AssociationLookup previous = std::move(Lookup());
    Lookup() = std::move(lookup);
    return previous;
}

UnicodeString CommandFromDesktopExec(const UnicodeString& exec)
{
    const QString text = exec.trimmed();
    if (text.isEmpty()) return {};
    QString program;
    qsizetype i = 0;
    if (text[0] == QLatin1Char('"')) {
        // Inside quotes a backslash escapes the next character.
        for (i = 1; i < text.size() && text[i] != QLatin1Char('"'); ++i) {
            if (text[i] == QLatin1Char('\\') && i + 1 < text.size()) ++i;
            program += text[i];
        }
        if (i < text.size()) ++i;  // the closing quote
    } else {
        while (i < text.size() && !text[i].isSpace()) program += text[i++];
    }
    if (program.isEmpty()) return {};
    if (!QFileInfo(program).isAbsolute()) {
        const QString found = QStandardPaths::findExecutable(program);
        if (!found.isEmpty()) program = found;
    }
    return QLatin1Char('"') + program + QLatin1Char('"') + text.mid(i);
}

int GetShortPathName(const UnicodeString& longPath, UnicodeString& shortPath, int bufferSize)
{
    shortPath.clear();
    if (longPath.isEmpty()) return 0;
    const QFileInfo info(longPath);
    if (!info.exists() || info.isDir()) return 0;
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    const int needed = static_cast<int>(clean.toUtf8().size()) + 1;
    if (needed >= bufferSize) return needed;
    shortPath = clean;
    return needed - 1;
}
