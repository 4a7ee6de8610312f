#include "app/Help_manuals.h"

#include "config/Config.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/Association.h"
#include "platform/win/Shell.h"
#include "platform/win/WinDefs.h"

#include <QDir>
#include <QFileInfo>

namespace {

UnicodeString& ProgramFolderOverride()
{
    static UnicodeString folder;
    return folder;
}

// The class library's error dialog: an error box with an OK button.
void ShowError(const char* text)
{
    Application->MessageBox(QString::fromLatin1(text), QStringLiteral("Error"), MB_OK | MB_ICONERROR);
}

// A settings text is Windows-1252, as the settings file is.
UnicodeString SettingText(const AnsiString& text) { return Win1252ToUnicode(text); }

// A manual's file name in the user's language, or empty when the language is not a language's
// name: letters, digits and the "_", "-" and "@" of names such as pt_BR, zh-Hans or sr@latin.
// Anything else (a path, a ";" or a "$") could only be meant to reach beyond the Manuals folder
// or into the viewer's command.
UnicodeString LanguageVariant(const UnicodeString& name, const UnicodeString& language)
{
    if (language.isEmpty()) return {};
    for (const QChar c : language)
        if (c.unicode() > 0x7F || !(c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-') ||
                                    c == QLatin1Char('@')))
            return {};
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) return name + QLatin1Char('_') + language;
    return name.left(dot) + QLatin1Char('_') + language + name.mid(dot);
}

}  // namespace

UnicodeString ManualsFolder()
{
    UnicodeString folder = ProgramFolderOverride();
    if (folder.isEmpty()) folder = QFileInfo(Application->ExeName()).absolutePath();
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder + QStringLiteral("Manuals");
}

void SetProgramFolderForManuals(const UnicodeString& folder) { ProgramFolderOverride() = folder; }

namespace {

// An open command cut after its program: quotation marks taken off a quoted path, the rest after
// the closing quote being the command's arguments. A quote that is followed by more of a word
// stands inside the path ("/opt/we"ird/viewer" %f): its program is no path before that quote,
// which would be another program, so the command names none.
void SplitOpenCommand(UnicodeString command, UnicodeString& program, UnicodeString& arguments)
{
    arguments.clear();
    for (;;) {
        const qsizetype quote = command.indexOf(QLatin1Char('"'));
        if (quote < 0) break;
        if (quote > 0) {
            // A closing quote ends the program's path, however long what follows it is.
            arguments = command.mid(quote + 1);
            command.truncate(quote);
            if (!arguments.isEmpty() && !arguments.front().isSpace()) {
                command.clear();
                arguments.clear();
            }
            break;
        }
        command.remove(0, 1);
    }
    program = command;
}

// The viewer for files with the extension, and the arguments its open command starts it with (in
// a desktop entry's notation; none for a viewer of the settings, which is a program path only).
UnicodeString FindViewer(const AnsiString& extension, UnicodeString& arguments)
{
    arguments.clear();
    const AnsiString lower = LowerCase(extension);
    if (Config) {
        if (lower.find("pdf") != AnsiString::npos && !Config->PDFTab.empty()) return SettingText(Config->PDFTab);
        if (lower.find("csv") != AnsiString::npos && !Config->CSVTab.empty()) return SettingText(Config->CSVTab);
        if (lower.find("xls") != AnsiString::npos && !Config->XLSTab.empty()) return SettingText(Config->XLSTab);
    }
    UnicodeString command;
    SplitOpenCommand(AssociatedCommand(Win1252ToUnicode(extension)), command, arguments);
    if (!command.isEmpty()) {
        UnicodeString shortPath;
        const int length = GetShortPathName(command, shortPath, 256);
        if (length == 0 || length >= 256) {
            ShowError(kPathInvalidMessage);
            return {};
        }
        command = shortPath;
    }
    return command;
}

}  // namespace

UnicodeString StripCommandQuotes(UnicodeString command)
{
    UnicodeString program, arguments;
    SplitOpenCommand(std::move(command), program, arguments);
    return program;
}

UnicodeString FindAssociatedProgram(const AnsiString& extension)
{
    UnicodeString arguments;
    return FindViewer(extension, arguments);
}

void OpenManual(const AnsiString& name)
{
    UnicodeString commandArguments;
    const UnicodeString viewer = FindViewer(".pdf", commandArguments);
    const UnicodeString workDir = ManualsFolder();
    // Only a plain file name: the path handed to the viewer stays inside the Manuals folder.
    UnicodeString file = QFileInfo(Win1252ToUnicode(name)).fileName();
    if (file == QLatin1String(".") || file == QLatin1String("..")) file.clear();
    const UnicodeString variant = LanguageVariant(file, Config ? SettingText(Config->Language) : UnicodeString());
    if (!variant.isEmpty() && QFileInfo(workDir + QLatin1Char('/') + variant).isFile()) file = variant;

    // The viewer's whole command, with the manual's path as one argument wherever it asks for the
    // file; no shell reads it.
    const std::optional<QStringList> arguments = CommandArguments(commandArguments, workDir + QLatin1Char('/') + file);
    ProcessStart start;
    start.program = viewer;
    start.arguments = arguments.value_or(QStringList());
    start.workDir = workDir;
    if (viewer.isEmpty() || file.isEmpty() || !arguments || !CreateProcess(start)) ShowError(kNoViewerMessage);
}

void OpenReferenceManual() { OpenManual(kReferenceManual); }
