#include "platform/win/Association.h"

#include "platform/vcl/SafeWrite.h"
#include "platform/win/Shell.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

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
    // An id is a file name; one that reaches out of the applications folders names no entry. Its
    // dashes may become folders, so no part between them may be a folder's "." or "..".
    if (id.contains(QLatin1Char('/')) || id.contains(QLatin1Char('\\')) || id.startsWith(QLatin1Char('.'))) return {};
    for (const QString& part : id.split(QLatin1Char('-')))
        if (part == QLatin1String(".") || part == QLatin1String("..")) return {};
    const QStringList folders = QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    const auto inside = [&folders](const QString& path) {
        const QString clean = QDir::cleanPath(path);
        for (const QString& folder : folders)
            if (clean.startsWith(QDir::cleanPath(folder) + QLatin1Char('/'))) return true;
        return false;
    };
    for (;;) {
        const QString found = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
        if (!found.isEmpty()) return inside(found) ? found : QString();
        const qsizetype dash = id.indexOf(QLatin1Char('-'));
        if (dash < 0) return {};
        id[dash] = QLatin1Char('/');
    }
}

// The Exec value of a desktop entry's main group, with the general value escapes undone. Only a
// regular file is read: an entry that is a named pipe or a device is not waited on.
QString DesktopExec(const QString& path)
{
    std::string bytes;
    if (!ReadRegularFile(path, bytes)) return {};
    bool mainGroup = false;
    const QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
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
                    else if (next == QLatin1Char('n')) out += QLatin1Char('\n');
                    else if (next == QLatin1Char('r')) out += QLatin1Char('\r');
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

// An Exec value split into its arguments (the rules are CommandArguments').
struct ExecWords {
    QStringList arguments;
    bool fileCode = false;   // a field code for the file stood in it
    qsizetype firstEnd = 0;  // where the first argument ends in the value
};

// Nothing when a quote is not closed, or when the file would stand in an argument that quotes or
// escapes anything: the desktop's rules forbid that, and the usual reason for it is a command
// that a shell reads ("sh -c \"viewer %f\""), where a file name holding ";" or "$(...)" would
// become a command of its own.
std::optional<ExecWords> SplitExec(const QString& text, const QString& file)
{
    ExecWords words;
    QString current;
    bool kept = false;     // the argument under way holds more than field codes that give nothing
    bool guarded = false;  // it quotes or escapes something
    bool hasFile = false;  // the file stands in it
    bool refused = false;
    const auto endArgument = [&](qsizetype end) {
        if (hasFile && guarded) refused = true;
        hasFile = guarded = false;
        if (!kept) return;
        words.arguments << current;
        if (words.arguments.size() == 1) words.firstEnd = end;
    };
    auto fieldCode = [&](qsizetype& i) {
        const QChar code = i + 1 < text.size() ? text[++i] : QChar();
        if (code == QLatin1Char('%')) {
            current += code;
            kept = true;
        } else if (code == QLatin1Char('f') || code == QLatin1Char('F') || code == QLatin1Char('u') ||
                   code == QLatin1Char('U')) {
            current += file;
            kept = hasFile = words.fileCode = true;
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            endArgument(i);
            current.clear();
            kept = false;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            kept = guarded = true;  // even when empty: an argument of its own
            for (++i;; ++i) {
                if (i >= text.size()) return std::nullopt;
                if (text[i] == c) break;
                if (text[i] == QLatin1Char('%')) {
                    fieldCode(i);
                } else if (c == QLatin1Char('"') && text[i] == QLatin1Char('\\') && i + 1 < text.size() &&
                           QStringLiteral("\"`$\\").contains(text[i + 1])) {
                    current += text[++i];
                } else {
                    current += text[i];
                }
            }
        } else if (c == QLatin1Char('%')) {
            fieldCode(i);
        } else {
            if (c == QLatin1Char('\\') && i + 1 < text.size()) {
                ++i;
                guarded = true;
            }
            current += text[i];
            kept = true;
        }
    }
    endArgument(text.size());
    if (refused) return std::nullopt;
    return words;
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
        const QString xdgMime = FindProgram(QStringLiteral("xdg-mime"));
        if (!xdgMime.isEmpty()) {
            const QString ids = RunQuietly(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), type});
            const QString id = ids.section(QLatin1Char(';'), 0, 0).trimmed();
            if (!id.isEmpty()) {
                const QString entry = DesktopEntryPath(id);
                const QString exec = entry.isEmpty() ? QString() : DesktopExec(entry);
                // The desktop chose this program: when it cannot be started, no other one is, and
                // the user hears that there is no viewer.
                if (!exec.trimmed().isEmpty()) return CommandFromDesktopExec(exec);
            }
        }
    }
    const QString opener = FindProgram(QStringLiteral("xdg-open"));
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
    const std::optional<ExecWords> words = SplitExec(text, QString());
    if (!words || words->arguments.isEmpty()) return {};
    // The command names its program in double quotes, which a path holding one cannot be put
    // in: such a program is not started, rather than the part of its path before the quote.
    const QString program = FindProgram(words->arguments.front());
    if (program.isEmpty() || program.contains(QLatin1Char('"'))) return {};
    // The rest of the value after the program, as it stands, for CommandArguments to read.
    return QLatin1Char('"') + program + QLatin1Char('"') + text.mid(words->firstEnd);
}

std::optional<QStringList> CommandArguments(const UnicodeString& arguments, const UnicodeString& file)
{
    std::optional<ExecWords> words = SplitExec(arguments, file);
    if (!words) return std::nullopt;
    if (!words->fileCode) words->arguments.append(file);
    return std::move(words->arguments);
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
