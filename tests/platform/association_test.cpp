// The desktop's program for PDF files, found through a stand-in xdg-mime and desktop entries in a
// scratch data folder. Nothing is opened: the lookup only reads.
#include "platform/win/Association.h"
#include "platform/win/Shell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

class EnvironmentValue {
public:
    EnvironmentValue(const char* name, const QByteArray& value) : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~EnvironmentValue()
    {
        if (had_) qputenv(name_, old_);
        else qunsetenv(name_);
    }

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

void Write(const QString& path, const QByteArray& text, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    if (executable) file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

TEST(DesktopAssociation, DefaultApplicationOrTheGeneralOpener)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path();
    const QString opener = QLatin1Char('"') + root + QStringLiteral("/bin/xdg-open\" %f");
    const struct {
        const char* what;
        QByteArray defaultId;  // what xdg-mime answers
        const char* entryPath; // below applications/, "" for no entry
        QByteArray entry;
        QString command;
    } rows[] = {
        {"plain Exec", "viewer.desktop\n", "viewer.desktop", "[Desktop Entry]\nName=V\nExec=/opt/v/viewer %U\n",
         QStringLiteral("\"/opt/v/viewer\" %U")},
        {"quoted program with a blank", "viewer.desktop\n", "viewer.desktop",
         "[Desktop Entry]\nExec=\"/opt/my viewer/v\" --page 1 %f\n", QStringLiteral("\"/opt/my viewer/v\" --page 1 %f")},
        {"blanks around the equals sign", "viewer.desktop\n", "viewer.desktop", "[Desktop Entry]\nExec = /opt/v/v %f\n",
         QStringLiteral("\"/opt/v/v\" %f")},
        {"first of several ids", "a.desktop;b.desktop\n", "a.desktop", "[Desktop Entry]\nExec=/opt/a %U\n",
         QStringLiteral("\"/opt/a\" %U")},
        {"id naming a sub-folder", "kde-viewer.desktop\n", "kde/viewer.desktop", "[Desktop Entry]\nExec=/opt/k %U\n",
         QStringLiteral("\"/opt/k\" %U")},
        {"Exec only in an action", "viewer.desktop\n", "viewer.desktop",
         "[Desktop Entry]\nName=V\n[Desktop Action new]\nExec=/opt/new %U\n", opener},
        {"a key that only starts with Exec", "viewer.desktop\n", "viewer.desktop", "[Desktop Entry]\nExecPath=/opt\n",
         opener},
        {"empty Exec", "viewer.desktop\n", "viewer.desktop", "[Desktop Entry]\nExec=\n", opener},
        {"empty entry file", "viewer.desktop\n", "viewer.desktop", "", opener},
        {"entry missing", "gone.desktop\n", "", "", opener},
        {"id that leaves the folder", "../outside.desktop\n", "../outside.desktop", "[Desktop Entry]\nExec=/opt/x %U\n",
         opener},
        // Read with its dashes as folders, "-..-evil.desktop" is applications//../evil.desktop.
        {"id whose dashes climb", "-..-evil.desktop\n", "../evil.desktop", "[Desktop Entry]\nExec=/opt/evil %U\n",
         opener},
        {"id whose dashes climb from a sub-folder", "kde-..-..-..-evil.desktop\n", "../../evil.desktop",
         "[Desktop Entry]\nExec=/opt/evil %U\n", opener},
        {"dashes in the file's own name", "my-..viewer.desktop\n", "my-..viewer.desktop",
         "[Desktop Entry]\nExec=/opt/m %U\n", QStringLiteral("\"/opt/m\" %U")},
        {"no default application", "", "", "", opener},
    };

    const EnvironmentValue path("PATH", (root + QStringLiteral("/bin")).toLocal8Bit());
    const EnvironmentValue home("XDG_DATA_HOME", (root + QStringLiteral("/home")).toLocal8Bit());
    const EnvironmentValue dirs("XDG_DATA_DIRS", (root + QStringLiteral("/data")).toLocal8Bit());
    Write(root + QStringLiteral("/bin/xdg-open"), "#!/bin/sh\nexit 0\n", true);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QDir(root + QStringLiteral("/data")).removeRecursively();
        Write(root + QStringLiteral("/bin/xdg-mime"), "#!/bin/sh\nprintf -- '" + row.defaultId + "'\n", true);
        if (*row.entryPath) Write(root + QStringLiteral("/data/applications/") + QString::fromLatin1(row.entryPath), row.entry);
        QDir().mkpath(root + QStringLiteral("/data/applications/kde"));  // a sub-folder an id may climb from
        EXPECT_EQ(AssociatedCommand(QStringLiteral(".pdf")).toStdString(), row.command.toStdString());
    }

    // A kind of file the desktop does not know still gets the general opener; without one, none.
    EXPECT_EQ(AssociatedCommand(QStringLiteral(".no-such-kind")).toStdString(), opener.toStdString());
    QFile::remove(root + QStringLiteral("/bin/xdg-open"));
    EXPECT_EQ(AssociatedCommand(QStringLiteral(".no-such-kind")), QString());
}

// A program is found by its absolute path or on the PATH, never in the current folder: not
// through an empty or relative PATH entry, nor as a name with a folder in it.
TEST(DesktopAssociation, ProgramsAreNeverTakenFromTheCurrentFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path(), bin = root + QStringLiteral("/bin"), cwd = root + QStringLiteral("/cwd");
    const QByteArray marker = (root + QStringLiteral("/started")).toUtf8();
    for (const QString& program :
         {bin + QStringLiteral("/viewer"), cwd + QStringLiteral("/stale"), cwd + QStringLiteral("/sub/stale")})
        Write(program, "#!/bin/sh\n: > '" + marker + "'\n", true);
    Write(bin + QStringLiteral("/plain"), "not a program");
    const QString back = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(cwd));
    const struct {
        QString path, program, found;
    } rows[] = {
        {bin, QStringLiteral("viewer"), bin + QStringLiteral("/viewer")},
        {bin, QStringLiteral("/opt/any/viewer"), QStringLiteral("/opt/any/viewer")},
        {bin, QStringLiteral("plain"), QString()},
        {bin, QStringLiteral("stale"), QString()},
        {bin + QStringLiteral("::.:cwd"), QStringLiteral("stale"), QString()},
        {QStringLiteral(""), QStringLiteral("stale"), QString()},
        {bin, QStringLiteral("sub/stale"), QString()},
        {bin, QStringLiteral("./stale"), QString()},
        {bin, QString(), QString()},
    };
    for (const auto& row : rows) {
        const EnvironmentValue path("PATH", row.path.toLocal8Bit());
        EXPECT_EQ(FindProgram(row.program).toStdString(), row.found.toStdString()) << qPrintable(row.program);
        if (row.found.isEmpty()) {
            EXPECT_FALSE(CreateProcess({row.program, {}, cwd})) << qPrintable(row.program);
        }
    }
    QThread::msleep(300);  // a start that slipped through has run by now
    EXPECT_FALSE(QFile::exists(QString::fromUtf8(marker)));
    QDir::setCurrent(back);
}

}  // namespace
