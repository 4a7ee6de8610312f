// Opening the manuals: which file, which viewer, which boxes. The desktop's association and the
// process start are scripted; no viewer is ever started.
#include "app/Help_manuals.h"
#include "config/Config.h"
#include "platform/win/Association.h"
#include "platform/win/Shell.h"
#include "tests/common/DialogRecorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Placeholders in the rows: {viewer} is an existing program file, {blank viewer} one whose path
// holds a blank, {deep viewer} one whose path is longer than a start allows, {quote viewer} one
// whose path holds double quotes, with another program at the path before the first.
struct ManualRow {
    const char* what;
    const char* language;
    const char* pdfTab;
    std::string association;
    QStringList files;       // made in the Manuals folder ("sub/x.pdf" makes a folder too)
    bool manualsFolder;      // the Manuals folder exists
    const char* program;     // the program a start was asked for, "" when none was asked
    const char* argument;    // the manual's path relative to the Manuals folder
    QStringList boxes;       // the texts of the boxes the user sees, in order
    QStringList leading = {};  // the open command's own arguments, before the manual's path
};

const QString kInvalid = QString::fromLatin1(kPathInvalidMessage);
const QString kNoViewer = QString::fromLatin1(kNoViewerMessage);
const QString kLong = QString(150, QLatin1Char('x'));

const ManualRow kRows[] = {
    {"association's quoted program", "", "", "\"{viewer}\" %U", {"Reference_Manual.pdf"}, true, "{viewer}",
     "Reference_Manual.pdf", {}},
    {"language variant present", "fr", "", "\"{viewer}\" %U", {"Reference_Manual.pdf", "Reference_Manual_fr.pdf"},
     true, "{viewer}", "Reference_Manual_fr.pdf", {}},
    {"language variant missing", "de", "", "\"{viewer}\" %U", {"Reference_Manual.pdf", "Reference_Manual_fr.pdf"},
     true, "{viewer}", "Reference_Manual.pdf", {}},
    {"language that is a path", "../x", "", "\"{viewer}\" %U", {"Reference_Manual.pdf", "Reference_Manual_../x.pdf"},
     true, "{viewer}", "Reference_Manual.pdf", {}},
    {"language holding a command", "fr;x", "", "\"{viewer}\" %U", {"Reference_Manual.pdf", "Reference_Manual_fr;x.pdf"},
     true, "{viewer}", "Reference_Manual.pdf", {}},
    {"language holding a substitution", "$(x)", "", "\"{viewer}\" %U",
     {"Reference_Manual.pdf", "Reference_Manual_$(x).pdf"}, true, "{viewer}", "Reference_Manual.pdf", {}},
    {"language with a region and a script", "sr_RS@latin", "", "\"{viewer}\" %U",
     {"Reference_Manual.pdf", "Reference_Manual_sr_RS@latin.pdf"}, true, "{viewer}",
     "Reference_Manual_sr_RS@latin.pdf", {}},
    {"language of 300 characters", "lllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllll"
                                   "lllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllll"
                                   "lllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllllll"
                                   "lllllllllllllllllllllllllllllllllllllllllllll",
     "", "\"{viewer}\" %U", {"Reference_Manual.pdf"}, true, "{viewer}", "Reference_Manual.pdf", {}},
    {"override used unchanged", "", "{viewer}", "", {"Reference_Manual.pdf"}, true, "{viewer}",
     "Reference_Manual.pdf", {}},
    {"override is not unquoted", "", "\"{viewer}\"", "\"{viewer}\" %U", {"Reference_Manual.pdf"}, true,
     "\"{viewer}\"", "Reference_Manual.pdf", {kNoViewer}},
    {"override names a missing program", "", "/no/such/viewer", "\"{viewer}\" %U", {"Reference_Manual.pdf"}, true,
     "/no/such/viewer", "Reference_Manual.pdf", {kNoViewer}},
    {"association unquoted with arguments", "", "", "{viewer} %U", {"Reference_Manual.pdf"}, true, "", "",
     {kInvalid, kNoViewer}},
    {"association of one quoted character", "", "", "\"a\"", {"Reference_Manual.pdf"}, true, "", "",
     {kInvalid, kNoViewer}},
    {"association of quotes only", "", "", "\"\"", {"Reference_Manual.pdf"}, true, "", "", {kNoViewer}},
    {"no association", "", "", "", {"Reference_Manual.pdf"}, true, "", "", {kNoViewer}},
    {"association with a long tail", "", "", "\"{viewer}\" --view " + kLong.toStdString() + " %U",
     {"Reference_Manual.pdf"}, true, "{viewer}", "Reference_Manual.pdf", {}, {"--view", kLong}},
    {"program path with a blank", "", "", "\"{blank viewer}\" %f", {"Reference_Manual.pdf"}, true,
     "{blank viewer}", "Reference_Manual.pdf", {}},
    {"program path with a quote", "", "", "\"{quote viewer}\" %f", {"Reference_Manual.pdf"}, true, "", "",
     {kNoViewer}},
    {"file inside a quoted argument", "", "", "\"{viewer}\" -c \"logviewer %f\"", {"Reference_Manual.pdf"}, true, "",
     "", {kNoViewer}},
    {"file quoted on its own", "", "", "\"{viewer}\" \"%f\"", {"Reference_Manual.pdf"}, true, "", "", {kNoViewer}},
    {"program path too long", "", "", "\"{deep viewer}\" %f", {"Reference_Manual.pdf"}, true, "", "",
     {kInvalid, kNoViewer}},
    {"empty Manuals folder", "", "", "\"{viewer}\" %U", {}, true, "{viewer}", "Reference_Manual.pdf", {}},
    {"missing Manuals folder", "", "", "\"{viewer}\" %U", {}, false, "{viewer}", "Reference_Manual.pdf",
     {kNoViewer}},
};

class HelpManuals : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        root_ = dir_.path();
        new TConfig((root_ + QStringLiteral("/none.INI")).toUtf8().constData());
        QDir().mkpath(root_ + QStringLiteral("/program"));
        SetProgramFolderForManuals(root_ + QStringLiteral("/program"));
        viewer_ = MakeFile(root_ + QStringLiteral("/bin/viewer"));
        blankViewer_ = MakeFile(root_ + QStringLiteral("/my bin/the viewer"));
        const QString part(90, QLatin1Char('d'));
        quoteViewer_ = MakeFile(root_ + QStringLiteral("/we\"ir\"d/viewer"));
        MakeFile(root_ + QStringLiteral("/we"));
        deepViewer_ = MakeFile(root_ + QLatin1Char('/') + part + QLatin1Char('/') + part + QLatin1Char('/') + part +
                               QStringLiteral("/viewer"));
        previousStarter_ = SetProcessStarter([this](const ProcessStart& start) {
            starts_.push_back(start);
            // As a real start: the program must exist, and so must the folder it starts in.
            return QFileInfo(start.program).isFile() && QFileInfo(start.workDir).isDir();
        });
        previousLookup_ = SetAssociationLookup([this](const UnicodeString& extension) {
            lookups_ << extension;
            return association_;
        });
    }
    void TearDown() override
    {
        SetProcessStarter(previousStarter_);
        SetAssociationLookup(previousLookup_);
        SetProgramFolderForManuals(QString());
        delete Config;
    }
    static QString MakeFile(const QString& path)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }
    QString Expand(QString text) const
    {
        return text.replace(QStringLiteral("{viewer}"), viewer_)
            .replace(QStringLiteral("{blank viewer}"), blankViewer_)
            .replace(QStringLiteral("{deep viewer}"), deepViewer_)
            .replace(QStringLiteral("{quote viewer}"), quoteViewer_);
    }

    QTemporaryDir dir_;
    QString root_, viewer_, blankViewer_, deepViewer_, quoteViewer_;
    QString association_;
    QStringList lookups_;
    std::vector<ProcessStart> starts_;
    ProcessStarter previousStarter_;
    AssociationLookup previousLookup_;
};

TEST_F(HelpManuals, EachCaseOpensTheRightFileOrSaysWhyNot)
{
    for (const ManualRow& row : kRows) {
        SCOPED_TRACE(row.what);
        const QString manuals = root_ + QStringLiteral("/program/Manuals");
        QDir(manuals).removeRecursively();
        if (row.manualsFolder) QDir().mkpath(manuals);
        for (const QString& file : row.files) MakeFile(manuals + QLatin1Char('/') + file);
        Config->Language = row.language;
        Config->PDFTab = Expand(QString::fromLatin1(row.pdfTab)).toStdString();
        association_ = Expand(QString::fromStdString(row.association));
        starts_.clear();

        DialogRecorder boxes;
        OpenReferenceManual();

        QStringList texts;
        for (const DialogCall& call : boxes.calls) texts << call.text;
        EXPECT_EQ(texts, row.boxes);
        if (*row.program) {
            ASSERT_EQ(starts_.size(), 1u);
            EXPECT_EQ(starts_[0].program, Expand(QString::fromLatin1(row.program)));
            EXPECT_EQ(starts_[0].arguments,
                      row.leading + QStringList{manuals + QLatin1Char('/') + QString::fromLatin1(row.argument)});
            EXPECT_EQ(starts_[0].workDir, manuals);
        } else {
            EXPECT_TRUE(starts_.empty());
        }
        // Whatever the settings hold, a start is only ever asked for a file of the Manuals folder.
        for (const ProcessStart& start : starts_)
            EXPECT_EQ(QFileInfo(start.arguments.value(start.arguments.size() - 1)).absolutePath(),
                      QDir::cleanPath(manuals));
    }
}

TEST_F(HelpManuals, TheMenuNamesAndTheOverridesOfOtherKinds)
{
    QDir().mkpath(root_ + QStringLiteral("/program/Manuals"));
    association_ = QLatin1Char('"') + viewer_ + QStringLiteral("\" %U");
    for (const char* name : {kMetricBasicManual, kImperialBasicManual, kGeneralManual}) {
        starts_.clear();
        OpenManual(name);
        ASSERT_EQ(starts_.size(), 1u);
        EXPECT_EQ(QFileInfo(starts_[0].arguments.value(0)).fileName(), QString::fromLatin1(name));
    }
    EXPECT_EQ(lookups_.value(0), QStringLiteral(".pdf"));

    // The CSV and XLS viewers serve their own kinds only; the PDF viewer is the PDF one's.
    Config->CSVTab = "/csv/viewer";
    Config->XLSTab = "/xls/viewer";
    EXPECT_EQ(FindAssociatedProgram(".CSV"), QStringLiteral("/csv/viewer"));
    EXPECT_EQ(FindAssociatedProgram(".xls"), QStringLiteral("/xls/viewer"));
    EXPECT_EQ(FindAssociatedProgram(".pdf"), viewer_);
}

TEST(HelpCommandQuotes, StripLeavesTheProgramPath)
{
    const struct {
        const char* command;
        const char* program;
    } rows[] = {
        {"\"/opt/My Viewer/view\" \"%1\"", "/opt/My Viewer/view"},
        {"/usr/bin/view %U", "/usr/bin/view %U"},  // left whole: the path check refuses it
        {"\"a\"", "a"},
        {"a\"", "a"},
        {"\"", ""},
        {"\"\"\"", ""},
        {"", ""},
        {"/usr/bin/view", "/usr/bin/view"},
        {"\"/opt/we\"ird/viewer\" %f", ""},  // not /opt/we: a quote inside the path names no program
        {"\"a\"b", ""},
        {"\"a\"\t%f", "a"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(StripCommandQuotes(QString::fromLatin1(row.command)), QString::fromLatin1(row.program))
            << row.command;
}

// Environment values for one test, put back as they were.
class Environment {
public:
    void Set(const char* name, const QString& value)
    {
        saved_.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
        qputenv(name, QFile::encodeName(value));
    }
    ~Environment()
    {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
            if (it->had) qputenv(it->name, it->value);
            else qunsetenv(it->name);
    }

private:
    struct Saved {
        const char* name;
        QByteArray value;
        bool had;
    };
    std::vector<Saved> saved_;
};

// The desktop's own entry for PDF files, read from its file: the whole command starts, with the
// manual's path as one argument where the entry asks for a file, and without a shell. A program
// that is neither absolute nor on the PATH is not found, even when the current folder holds it.
// The program's folder has a name a shell would read as commands; an entry that would hand the
// manual's path to a shell inside a quoted or escaped argument starts nothing, and neither does
// one whose program path holds a double quote (nor the program named by the path before it).
TEST_F(HelpManuals, DesktopEntriesStartTheirWholeCommand)
{
    const QString programFolder = root_ + QStringLiteral("/a;b $(c) `d` 'e\"/program");
    QDir().mkpath(programFolder);
    SetProgramFolderForManuals(programFolder);
    const QString bin = root_ + QStringLiteral("/bin"), manuals = programFolder + QStringLiteral("/Manuals");
    const QString manual = manuals + QStringLiteral("/Reference_Manual.pdf");
    const struct {
        QByteArray exec;          // the Exec line as the entry file holds it
        const char* program;      // in {bin}; "" when nothing may start
        QStringList arguments;    // {manual} stands for the manual's path
    } rows[] = {
        {"env GDK_BACKEND=x11 viewer %U", "env", {"GDK_BACKEND=x11", "viewer", "{manual}"}},
        {"flatpak run org.example.Viewer %f", "flatpak", {"run", "org.example.Viewer", "{manual}"}},
        {"sh -c 'viewer \"$1\"' sh %f", "sh", {"-c", "viewer \"$1\"", "sh", "{manual}"}},
        {"\"" + bin.toUtf8() + "/my viewer\" --title \"Plumo \\\"Help\\\" 100%%\" \"back\\\\\\\\slash\" %F",
         "my viewer",
         {"--title", "Plumo \"Help\" 100%", "back\\slash", "{manual}"}},
        {"viewer --page=%f %i %c %k %%u %m", "viewer", {"--page={manual}", "%u"}},
        {"viewer \"\" %u", "viewer", {"", "{manual}"}},
        {"viewer", "viewer", {"{manual}"}},
        {"", "xdg-open", {"{manual}"}},  // no command of its own: the desktop's general opener
        {"no-such-viewer %f", "", {}},
        {"stale-viewer %f", "", {}},  // only in the current folder
        {"viewer \"--unclosed %f", "", {}},
        {"'" + bin.toUtf8() + "/we\"ir\"d/viewer' %f", "", {}},
        {"\"" + bin.toUtf8() + "/we\\\\\"ir\\\\\"d/viewer\" %f", "", {}},
        {"sh -c \"logviewer %f\"", "", {}},
        {"sh -c 'logviewer %f'", "", {}},
        {"sh -c \"logviewer \"%f", "", {}},
        {"sh -c logviewer\\\\ %f", "", {}},
        {"viewer --title=\"Plumo\" %f", "viewer", {"--title=Plumo", "{manual}"}},
    };

    Environment environment;
    environment.Set("PATH", bin);
    environment.Set("XDG_DATA_HOME", root_ + QStringLiteral("/home"));
    environment.Set("XDG_DATA_DIRS", root_ + QStringLiteral("/data"));
    const auto executable = QFileDevice::ExeOwner | QFileDevice::ReadOwner;
    for (const char* program : {"env", "flatpak", "sh", "my viewer", "viewer", "xdg-open", "we", "we\"ir\"d/viewer"})
        QFile(MakeFile(bin + QLatin1Char('/') + QLatin1String(program))).setPermissions(executable);
    QFile xdgMime(MakeFile(bin + QStringLiteral("/xdg-mime")));
    ASSERT_TRUE(xdgMime.open(QIODevice::WriteOnly));
    xdgMime.write("#!/bin/sh\necho viewer.desktop\n");
    xdgMime.close();
    xdgMime.setPermissions(executable);
    const QString cwd = root_ + QStringLiteral("/cwd");
    QFile(MakeFile(cwd + QStringLiteral("/stale-viewer"))).setPermissions(executable);
    const struct Back {
        QString folder;
        ~Back() { QDir::setCurrent(folder); }
    } back{QDir::currentPath()};
    ASSERT_TRUE(QDir::setCurrent(cwd));
    MakeFile(manual);
    SetAssociationLookup(nullptr);

    for (const auto& row : rows) {
        SCOPED_TRACE(row.exec.toStdString());
        QFile entry(MakeFile(root_ + QStringLiteral("/home/applications/viewer.desktop")));
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nName=Viewer\nExec=" + row.exec + "\n");
        entry.close();
        starts_.clear();
        DialogRecorder boxes;
        OpenReferenceManual();

        QStringList texts;
        for (const DialogCall& call : boxes.calls) texts << call.text;
        if (!*row.program) {
            EXPECT_TRUE(starts_.empty()) << starts_[0].program.toStdString();
            EXPECT_EQ(texts.join(QLatin1Char('|')).toStdString(), kNoViewer.toStdString());
            continue;
        }
        EXPECT_EQ(texts.join(QLatin1Char('|')).toStdString(), "");
        ASSERT_EQ(starts_.size(), 1u);
        EXPECT_EQ(starts_[0].program, bin + QLatin1Char('/') + QLatin1String(row.program));
        QStringList expected = row.arguments;
        expected.replaceInStrings(QStringLiteral("{manual}"), manual);
        EXPECT_EQ(starts_[0].arguments.join(QLatin1Char('|')).toStdString(),
                  expected.join(QLatin1Char('|')).toStdString());
        EXPECT_EQ(starts_[0].workDir, manuals);
    }
}

}  // namespace
