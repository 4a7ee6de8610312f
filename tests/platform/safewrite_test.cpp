// Writing files whole or not at all.
#include "platform/vcl/IniFiles.h"
#include "platform/vcl/SafeWrite.h"
#include "platform/win/Registry.h"
#include "tests/common/DialogRecorder.h"
#include "tests/common/TestProcess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <grp.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// The names in a folder, hidden ones included: a failed write must leave no temporary file.
QStringList Entries(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

struct Folder {
    QTemporaryDir dir;
    std::string Path(const char* name) const { return dir.path().toStdString() + "/" + name; }
};

// The program's temporary folder, moved for one test.
class TempFolder {
public:
    explicit TempFolder(const QString& path) : old_(qgetenv("TMPDIR")), had_(qEnvironmentVariableIsSet("TMPDIR"))
    {
        qputenv("TMPDIR", QFile::encodeName(path));
    }
    ~TempFolder()
    {
        if (had_) qputenv("TMPDIR", old_);
        else qunsetenv("TMPDIR");
    }

private:
    QByteArray old_;
    bool had_;
};

// Runs work on a thread of its own and fails the test when it has not ended within seconds, as
// when a reader waits on a named pipe for a writer. The pipes given then get writers that say
// nothing, as often as needed, which ends each such wait; a run that still does not end stops
// the test program.
void EndsAtOnce(const std::function<void()>& work, const std::vector<std::string>& pipes, const std::string& what)
{
    auto done = std::async(std::launch::async, work);
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready) return done.get();
    ADD_FAILURE() << what << ": still busy after 5 s";
    for (int poke = 0; poke < 100; ++poke) {
        for (const std::string& pipe : pipes) {
            const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        }
        if (done.wait_for(std::chrono::milliseconds(100)) == std::future_status::ready) return done.get();
    }
    std::fprintf(stderr, "%s: blocked for good\n", what.c_str());
    std::_Exit(1);
}

// What a name stands for, to tell that nothing replaced it.
std::string Node(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return "missing";
    char link[256] = {};
    if (S_ISLNK(info.st_mode) && ::readlink(path.c_str(), link, sizeof link - 1) < 0) return "unreadable link";
    return std::to_string(info.st_mode) + " " + std::to_string(info.st_ino) + " " + std::to_string(info.st_rdev) + " " +
           link;
}

}  // namespace

TEST(SafeWrite, EveryFailurePointLeavesTheTargetAsItWas)
{
    const std::string big(3 * SafeWriteChunk + 17, 'x');  // four chunks
    struct Case {
        const char* what;
        SafeWriteFault fault;
    };
    const Case cases[] = {
        {"no temporary file", {SafeWriteStep::Create, 1, EROFS}},
        {"first write", {SafeWriteStep::Write, 1, ENOSPC}},
        {"third write", {SafeWriteStep::Write, 3, ENOSPC}},
        {"sync", {SafeWriteStep::Sync, 1, EIO}},
        {"close", {SafeWriteStep::Close, 1, EDQUOT}},
        {"rename", {SafeWriteStep::Rename, 1, EXDEV}},
        {"full disk", {SafeWriteStep::Write, 1, ENOSPC, true}},
    };
    for (const Case& c : cases) {
        for (bool existed : {true, false}) {
            Folder f;
            const std::string target = f.Path("pad.pad");
            if (existed) WriteFile(target, "old contents\n");
            const QStringList before = Entries(f.dir);
            ScopedSafeWriteFault fault(c.fault);
            const SafeWriteResult r = SafeWriteFile(target, big);
            EXPECT_FALSE(r.ok) << c.what;
            EXPECT_FALSE(r.reason.isEmpty()) << c.what;
            EXPECT_TRUE(fault.Struck()) << c.what;
            EXPECT_EQ(Entries(f.dir), before) << c.what << ": the folder holds exactly what it held";
            if (existed) {
                EXPECT_EQ(ReadFile(target), "old contents\n") << c.what;
            }
        }
    }
}

TEST(SafeWrite, WritesWholeKeepsModeAndFollowsLinks)
{
    Folder f;
    const std::string target = f.Path("Дом.pad");  // the file system's own name, unchanged
    WriteFile(target, "old");
    ::chmod(target.c_str(), 0640);
    ASSERT_TRUE(SafeWriteFile(target, std::string("new\0bytes", 9)).ok);
    EXPECT_EQ(ReadFile(target), std::string("new\0bytes", 9));
    struct stat info {};
    ::stat(target.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    const std::string link = f.Path("link.pad");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    ASSERT_TRUE(SafeWriteFile(QString::fromStdString(link), "through the link").ok);
    EXPECT_EQ(ReadFile(target), "through the link");
    ::lstat(link.c_str(), &info);
    EXPECT_TRUE(S_ISLNK(info.st_mode));

    // A name that nearly fills the file system's limit still leaves room for the temporary file.
    const std::string longName = f.Path((std::string(250, 'n') + ".pad").c_str());
    EXPECT_TRUE(SafeWriteFile(longName, "long").ok);
    EXPECT_EQ(ReadFile(longName), "long");

    EXPECT_FALSE(SafeWriteFile(f.Path("no folder/x.pad"), "x").ok);
    EXPECT_FALSE(SafeWriteFile(f.dir.path().toStdString(), "x").ok);  // a folder
    // A name that goes on past a file names no file: the file stays as it was.
    for (const char* past : {"/.", "/", "/..", "/./"}) {
        EXPECT_FALSE(SafeWriteFile(target + past, "past").ok) << past;
        std::string read;
        EXPECT_FALSE(ReadRegularFile(target + past, read)) << past;
    }
    EXPECT_EQ(ReadFile(target), "through the link");
    EXPECT_FALSE(SafeWriteFile(std::string(), "x").ok);
}

// A file keeps its group when it is written again. When the user may not give the new file that
// group (it is not one of theirs), the bits meant for that group go: they would otherwise open
// the file to the user's own group, which may be everyone's.
TEST(SafeWrite, AFileKeepsItsGroupOrLosesTheBitsMeantForIt)
{
    if (::geteuid() != 0) {
        std::printf("[ NOTICE ] a file of a group not the user's needs an administrator to make: left out\n");
        return;
    }
    constexpr uid_t kUser = 4242;
    constexpr gid_t kOwnGroup = 4242, kTeam = 4343;
    std::string folder = "/tmp/plumo-group-XXXXXX";
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    const std::string pad = folder + "/team.pad";
    WriteFile(pad, "old");
    const struct {
        const char* what;
        bool asUser;    // written by kUser, who is in no group but kOwnGroup, else by the administrator
        mode_t mode;
        mode_t after;
        gid_t groupAfter;
    } rows[] = {
        {"the administrator keeps any group", false, 0660, 0660, kTeam},
        {"a user keeps the bits but not a group of another's", true, 0660, 0600, kOwnGroup},
        {"a file open to everyone stays so", true, 0664, 0604, kOwnGroup},
    };
    for (const auto& row : rows) {
        ASSERT_EQ(::chown(folder.c_str(), kUser, kOwnGroup), 0);
        ASSERT_EQ(::chown(pad.c_str(), kUser, kTeam), 0);
        ASSERT_EQ(::chmod(pad.c_str(), row.mode), 0);
        const ChildEnd end = RunWatched(
            [&] {
                if (row.asUser && (::setgroups(0, nullptr) != 0 || ::setresgid(kOwnGroup, kOwnGroup, kOwnGroup) != 0 ||
                                   ::setresuid(kUser, kUser, kUser) != 0))
                    return 2;
                return SafeWriteFile(pad, row.what).ok ? 0 : 1;
            },
            200, 20);
        EXPECT_EQ(end.exitCode, 0) << row.what;
        EXPECT_EQ(ReadFile(pad), row.what);
        struct stat info {};
        ASSERT_EQ(::stat(pad.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, row.after) << row.what;
        EXPECT_EQ(info.st_gid, row.groupAfter) << row.what;
    }
    ::unlink(pad.c_str());
    ::rmdir(folder.c_str());
}

// A folder that takes no new file, with a file that may be written: written in place, and a
// failure there puts the old contents back.
TEST(SafeWrite, FolderWithoutRoomForATemporaryFile)
{
    Folder f;
    const std::string target = f.Path("settings.INI");
    WriteFile(target, "[Setup]\nA=1\n");
    {
        ScopedSafeWriteFault fault({SafeWriteStep::Create, 1, EACCES});
        ASSERT_TRUE(SafeWriteFile(target, "[Setup]\nA=2\n").ok);
    }
    EXPECT_EQ(ReadFile(target), "[Setup]\nA=2\n");
    EXPECT_EQ(Entries(f.dir), QStringList{"settings.INI"});

    // The temporary file, the kept copy, then the in-place write: that last write fails.
    ScopedSafeWriteFault fault({SafeWriteStep::Create, 1, EACCES});
    {
        ScopedSafeWriteFault second({SafeWriteStep::Write, 2, ENOSPC});
        const SafeWriteResult r = SafeWriteFile(target, "[Setup]\nA=3\n");
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(second.Struck());
    }
    EXPECT_EQ(ReadFile(target), "[Setup]\nA=2\n");

    // A new file in such a folder cannot be made at all.
    {
        ScopedSafeWriteFault again({SafeWriteStep::Create, 1, EACCES});
        EXPECT_FALSE(SafeWriteFile(f.Path("new.INI"), "x").ok);
        EXPECT_FALSE(QFile::exists(QString::fromStdString(f.Path("new.INI"))));
    }

    // The temporary folder is shared: another user may plant a link at the name the copy would
    // take. The copy goes into a folder made for it alone, and what the link names stays as it is.
    Folder temp;
    const TempFolder moved(temp.dir.path());
    const std::string victim = temp.Path("victim's file");
    WriteFile(victim, "victim's own");
    const std::string planted = temp.Path(("settings.INI." + std::to_string(::getpid()) + ".kept").c_str());
    ASSERT_EQ(::symlink(victim.c_str(), planted.c_str()), 0);
    auto everything = [&] {
        return QDir(temp.dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    const QStringList planting = everything();
    {
        ScopedSafeWriteFault refused({SafeWriteStep::Create, 1, EACCES});
        ASSERT_TRUE(SafeWriteFile(target, "[Setup]\nA=4\n").ok);
    }
    EXPECT_EQ(ReadFile(target), "[Setup]\nA=4\n");
    EXPECT_EQ(everything(), planting) << "the copy and its folder are gone once the file is written";

    // Both the in-place write and the putting back fail: the user is told where the copy is.
    SafeWriteResult r;
    {
        ScopedSafeWriteFault refused({SafeWriteStep::Create, 1, EACCES});
        ScopedSafeWriteFault full({SafeWriteStep::Write, 2, ENOSPC, true});
        r = SafeWriteFile(target, "[Setup]\nA=5\n");
    }
    EXPECT_EQ(ReadFile(victim), "victim's own");
    const QString told = QStringLiteral("; the previous contents are kept in ");
    ASSERT_TRUE(!r.ok && r.reason.contains(told)) << r.reason.toStdString();
    const std::string kept = QFile::encodeName(r.reason.mid(r.reason.indexOf(told) + told.size())).toStdString();
    EXPECT_EQ(ReadFile(kept), "[Setup]\nA=4\n");
    const std::string keptFolder = kept.substr(0, kept.rfind('/'));
    EXPECT_EQ(keptFolder.substr(0, keptFolder.rfind('/')), temp.dir.path().toStdString());
    struct stat file {}, folder {};
    ASSERT_TRUE(::lstat(kept.c_str(), &file) == 0 && ::lstat(keptFolder.c_str(), &folder) == 0);
    EXPECT_TRUE(S_ISREG(file.st_mode));
    EXPECT_TRUE(S_ISDIR(folder.st_mode));
    EXPECT_EQ(folder.st_mode & 07777, 0700u) << "no one else reaches into it";
    EXPECT_EQ(folder.st_uid, ::getuid());
}

// Names that stand for something other than a regular file: the writers replace nothing and write
// through nothing, the readers neither wait on a pipe nor read a device without end, and each says
// why at once. A dangling link is a file yet to be made, and is made where the link points.
TEST(SafeWrite, SpecialFilesAreNeitherReplacedNorWaitedOn)
{
    const QString notRegular = QStringLiteral("not a regular file");
    const struct {
        const char* what;
        std::function<int(const std::string& name, const std::string& folder)> make;  // 0 when made
        QString reason;  // empty: the write succeeds
        const char* linked;  // what a link row points to, checked untouched; "" for none
    } rows[] = {
        {"named pipe", [](const std::string& n, const std::string&) { return ::mkfifo(n.c_str(), 0666); },
         notRegular, ""},
        {"device", [](const std::string& n, const std::string&) {
             return ::mknod(n.c_str(), S_IFCHR | 0666, makedev(1, 3));  // a twin of /dev/null
         }, notRegular, ""},
        {"link to a named pipe", [](const std::string& n, const std::string& folder) {
             return ::mkfifo((folder + "/pipe").c_str(), 0666) || ::symlink("pipe", n.c_str());
         }, notRegular, "pipe"},
        // Twins of the system's devices, never the devices themselves: a writer that wrongly
        // replaced what a link names would otherwise replace the system's own.
        {"link to a device that takes anything", [](const std::string& n, const std::string& folder) {
             const std::string device = folder + "/null";
             return ::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) || ::symlink(device.c_str(), n.c_str());
         }, notRegular, "null"},
        {"link to a device that reads without end", [](const std::string& n, const std::string& folder) {
             const std::string device = folder + "/zero";
             return ::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 5)) || ::symlink(device.c_str(), n.c_str());
         }, notRegular, "zero"},
        {"folder", [](const std::string& n, const std::string&) { return ::mkdir(n.c_str(), 0777); },
         QString::fromLocal8Bit(std::strerror(EISDIR)), ""},
        {"link loop", [](const std::string& n, const std::string&) { return ::symlink("Registry.ini", n.c_str()); },
         QString::fromLocal8Bit(std::strerror(ELOOP)), ""},
        {"dangling link", [](const std::string& n, const std::string&) { return ::symlink("made.ini", n.c_str()); },
         QString(), ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Folder f;
        const std::string folder = f.dir.path().toStdString();
        const std::string name = f.Path("Registry.ini");
        const int made = row.make(name, folder);
        if (made != 0 && errno == EPERM) continue;  // device nodes need the right to make them
        ASSERT_EQ(made, 0) << std::strerror(errno);
        const std::string linked = !*row.linked        ? std::string()
                                   : row.linked[0] == '/' ? row.linked
                                                          : folder + "/" + row.linked;
        const std::string nodeBefore = Node(name), linkedBefore = linked.empty() ? "" : Node(linked);
        const QStringList entriesBefore = Entries(f.dir);
        SetRegistryFolder(f.dir.path());
        ForgetReportedWriteFailures();
        DialogRecorder boxes;

        EndsAtOnce([&] {
            SCOPED_TRACE(row.what);  // on this thread too
            // The readers first, while the name still stands for what the row made.
            const AnsiString read = TIniFile(name).ReadString("K", "v", "default");
            unsigned value = 0;
            const bool regRead = RegReadDword("K", "v", value);
            const SafeWriteResult direct = SafeWriteFile(name, "[K]\nv=1\n");
            SafeWriteResult inPlace;
            {
                ScopedSafeWriteFault refused({SafeWriteStep::Create, 1, EACCES});
                inPlace = SafeWriteFile(QString::fromStdString(name), "[K]\nv=2\n");
            }
            TIniFile ini(name);
            const bool iniWritten = ini.WriteString("K", "v", "3");
            const bool regWritten = RegWriteDword("K", "v", 4);
            EXPECT_EQ(read, "default");
            EXPECT_FALSE(regRead);
            if (row.reason.isEmpty()) {
                EXPECT_TRUE(direct.ok && inPlace.ok && iniWritten && regWritten) << direct.reason.toStdString();
                EXPECT_TRUE(RegReadDword("K", "v", value));
                EXPECT_EQ(value, 4u);
                return;
            }
            EXPECT_FALSE(direct.ok);
            EXPECT_TRUE(direct.reason.contains(row.reason)) << direct.reason.toStdString();
            EXPECT_FALSE(inPlace.ok);
            EXPECT_TRUE(inPlace.reason.contains(row.reason)) << inPlace.reason.toStdString();
            EXPECT_FALSE(iniWritten);
            EXPECT_TRUE(ini.LastError().contains(row.reason)) << ini.LastError().toStdString();
            EXPECT_FALSE(regWritten);
        }, {name, folder + "/pipe"}, row.what);

        if (row.reason.isEmpty()) {
            EXPECT_EQ(Node(name), nodeBefore) << "the link stays a link";
            EXPECT_TRUE(boxes.calls.empty());
            continue;
        }
        EXPECT_EQ(Node(name), nodeBefore);
        if (!linked.empty()) {
            EXPECT_EQ(Node(linked), linkedBefore);
        }
        EXPECT_EQ(Entries(f.dir), entriesBefore);
        EXPECT_EQ(boxes.calls.size(), 1u) << "the remembered answers could not be kept, said once";
        for (const DialogCall& box : boxes.calls) EXPECT_TRUE(box.text.contains(row.reason)) << box.text.toStdString();
    }
    SetRegistryFolder(QString());
}

namespace {

// Gives a name to another user, without following it when it is a link; false when this user
// may not (only a privileged user can give files away).
bool GiveTo(const std::string& path, uid_t owner) { return ::lchown(path.c_str(), owner, static_cast<gid_t>(-1)) == 0; }

}  // namespace

// Links in a folder that other users may write to (a shared temporary folder, or one another user
// made): one that another user planted anywhere along the name the user saves to, as the name
// itself or as a folder in the middle of it, is neither written nor read through, and the file it
// leads to stays byte for byte as it was; the box names the link refused. A file another user made
// in a shared folder, or a second name of the user's own file there, is not written either. The
// user's own links, the shared folder owner's, and links in folders only the user may write are
// followed and written as elsewhere. Giving a link to another user needs the right to change
// owners: without it (an unprivileged run) those rows are left out and named.
TEST(SafeWrite, LinksPlantedInSharedFoldersAreNotFollowed)
{
    constexpr uid_t kOther = 4242, kFolderOwner = 4343;
    enum Owner { Self, FolderOwner, Other };
    enum Planted { Links, FileOfAnother, SecondName };
    const struct {
        const char* what;
        mode_t folderMode;
        bool folderOfAnother;       // the shared folder belongs to kFolderOwner
        std::vector<Owner> chain;   // who made each link, from the saved name on
        bool dangling;              // the last link names a file yet to be made
        bool followed;
        const char* through = "";   // the rest of the name after the links, which then name the user's folder
        mode_t madeByOther = 0;     // the links lie in a folder of this mode that kOther made in the shared one
        Planted planted = Links;
        bool swapped = false;       // the first link is swapped for another user's once it was looked at
    } rows[] = {
        // No link: the saved name is a file that another user made there, which anyone may write.
        {"another user's file in a shared folder", 01777, false, {}, false, false, "", 0, FileOfAnother},
        {"the folder owner's file in a shared folder", 01777, true, {}, false, true, "", 0, FileOfAnother},
        {"a second name of the user's own file in a shared folder", 01777, false, {}, false, false, "", 0, SecondName},
        {"a second name of the user's own file where only the user writes", 0700, false, {}, false, true, "", 0,
         SecondName},
        {"another user's link in a shared folder", 01777, false, {Other}, false, false},
        {"another user's dangling link in a shared folder", 01777, false, {Other}, true, false},
        {"the user's own link to another user's link", 01777, false, {Self, Other}, false, false},
        {"another user's link in a shared folder of a third", 01777, true, {Other}, false, false},
        {"the user's own link in a shared folder", 01777, false, {Self}, false, true},
        {"the user's own link in a shared folder of another", 01777, true, {Self}, false, true},
        {"the folder owner's link", 01777, true, {FolderOwner}, false, true},
        {"another user's link where anyone may replace names", 0777, false, {Other}, false, false},
        {"another user's link in a sticky folder only its owner writes", 01755, false, {Other}, false, true},
        {"another user's link to a folder, in the middle of the name", 01777, false, {Other}, false, false, "/own.txt"},
        {"another user's link to a folder, a file yet to be made there", 01777, false, {Other}, true, false,
         "/made.txt"},
        {"the user's own link to another user's link to a folder", 01777, false, {Self, Other}, false, false,
         "/own.txt"},
        {"another user's link to a folder where anyone may replace names", 0777, false, {Other}, false, false,
         "/own.txt"},
        {"the user's own link to a folder, in the middle of the name", 01777, false, {Self}, false, true, "/own.txt"},
        {"the folder owner's link to a folder", 01777, true, {FolderOwner}, false, true, "/own.txt"},
        {"another user's link to a folder where only the user writes", 0700, false, {Other}, false, true,
         "/own.txt"},
        {"another user's link in a folder they made that anyone may write", 01777, false, {Other}, false, false, "",
         0777},
        {"another user's link in a folder they made", 01777, false, {Other}, false, false, "", 0755},
        {"another user's link to a folder, in a folder they made", 01777, false, {Other}, false, false, "/own.txt",
         0755},
        {"the user's own link in a folder another user made that anyone may write", 01777, false, {Self}, false,
         true, "", 0777},
        {"a second name of the user's own file in a folder another user made that anyone may write", 01777, false,
         {}, false, false, "", 0777, SecondName},
        {"a second name of the user's own file in a folder another user made", 01777, false, {}, false, false, "",
         0755, SecondName},
        {"the user's own link, swapped for another user's as it is followed", 01777, false, {Self}, false, true,
         "", 0777, Links, true},
        {"the user's own link to a folder, swapped for another user's as it is followed", 01777, false, {Self},
         false, true, "/own.txt", 0777, Links, true},
    };
    const std::string victimBytes = "the user's own file\r\n";
    std::vector<std::string> leftOut;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Folder victim, shared;
        const std::string folder = shared.dir.path().toStdString();
        bool made = true;
        std::string base = folder;
        if (row.madeByOther) {
            base = folder + "/adir";
            ASSERT_EQ(::mkdir(base.c_str(), 0700), 0);
            made = GiveTo(base, kOther);
            ::chmod(base.c_str(), row.madeByOther);
        }
        const bool plantedFile = row.planted != Links;
        const bool intoFolder = *row.through != 0;
        const std::string file = row.dangling ? "made.txt" : "own.txt";
        const std::string target = row.planted == FileOfAnother ? base + "/quote.pad" : victim.Path(file.c_str());
        if (!row.dangling) WriteFile(target, victimBytes);
        if (row.planted == SecondName) {
            ASSERT_EQ(::link(target.c_str(), (base + "/quote.pad").c_str()), 0);
        }
        // The links: the saved name (or its folder) first, each naming the next, the last naming the
        // user's file (or folder).
        std::vector<std::string> links{base + (intoFolder ? "/jobs" : "/quote.pad")};
        for (size_t i = 1; i < row.chain.size(); ++i) links.push_back(base + "/hop" + std::to_string(i));
        const std::string lastTarget = intoFolder ? victim.dir.path().toStdString() : target;
        for (size_t i = 0; i < row.chain.size(); ++i) {
            ASSERT_EQ(::symlink(i + 1 < links.size() ? links[i + 1].c_str() : lastTarget.c_str(), links[i].c_str()), 0);
            const Owner owner = row.chain[i];
            if (owner != Self) made = made && GiveTo(links[i], owner == Other ? kOther : kFolderOwner);
        }
        if (row.planted == FileOfAnother) {
            ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
            made = made && GiveTo(target, row.folderOfAnother ? kFolderOwner : kOther);
        }
        if (row.folderOfAnother) made = made && GiveTo(folder, kFolderOwner);
        ASSERT_EQ(::chmod(folder.c_str(), row.folderMode), 0);
        if (!made) {
            ASSERT_EQ(errno, EPERM) << std::strerror(errno);
            leftOut.push_back(row.what);
            ::chmod(folder.c_str(), 0700);
            continue;
        }
        const std::string name = links[0] + row.through;
        const std::string nodeBefore = Node(links[0]);
        const QStringList entriesBefore = Entries(shared.dir);
        // What another user swaps in: a link of theirs to another file (or folder) of the user's.
        const std::string secret = victim.Path("secret"), secretFile = secret + (intoFolder ? "/own.txt" : "");
        if (intoFolder) {
            ASSERT_EQ(::mkdir(secret.c_str(), 0700), 0);
        }
        WriteFile(secretFile, "secret");
        const auto swapping = [&](const std::function<void()>& work) {
            if (!row.swapped) return work();
            const std::string swap = base + "/swap";
            int raced = 0;
            {
                const ScopedRaceInWalk race([&] {
                    ++raced;
                    if (::symlink(secret.c_str(), swap.c_str()) == 0 && GiveTo(swap, kOther))
                        ::rename(swap.c_str(), links[0].c_str());
                });
                work();
            }
            EXPECT_GT(raced, 0) << row.what << ": the swap came while the walk followed the link";
            ::unlink(links[0].c_str());
            ASSERT_EQ(::symlink(lastTarget.c_str(), links[0].c_str()), 0);
        };

        std::string read;
        SafeReadResult readResult;
        SafeWriteResult written;
        swapping([&] { readResult = ReadRegularFile(name, read); });
        swapping([&] { written = SafeWriteFile(name, "the pad"); });
        EXPECT_EQ(ReadFile(secretFile), "secret") << "nothing is written past a link swapped in";
        if (row.followed) {
            EXPECT_TRUE(written.ok) << written.reason.toStdString();
            // A second name is replaced by the new file; the file it shared stays as it was.
            EXPECT_EQ(ReadFile(row.planted == SecondName ? name : target), "the pad");
            EXPECT_EQ(readResult.status, SafeReadResult::Status::Read) << readResult.reason.toStdString();
            EXPECT_EQ(read, victimBytes);
        } else {
            EXPECT_FALSE(written.ok);
            EXPECT_TRUE(written.reason.contains(QLatin1String("another user"))) << written.reason.toStdString();
            if (!plantedFile) {
                // The box names the link refused: the first one along the name that another user made.
                const size_t refused = std::find(row.chain.begin(), row.chain.end(), Other) - row.chain.begin();
                EXPECT_TRUE(written.reason.startsWith(QString::fromStdString(links.at(refused) + " is a link")))
                    << written.reason.toStdString();
            }
            if (plantedFile) {
                // A file is read as any other: reading it hands nothing over.
                EXPECT_EQ(read, victimBytes);
            } else {
                EXPECT_EQ(readResult.status, SafeReadResult::Status::NotRegular);
                EXPECT_TRUE(readResult.reason.contains(QLatin1String("another user"))) << readResult.reason.toStdString();
                EXPECT_TRUE(read.empty());
            }
            if (row.dangling) {
                EXPECT_FALSE(QFile::exists(QString::fromStdString(target)));
            } else {
                EXPECT_EQ(ReadFile(target), victimBytes);
            }
            EXPECT_EQ(Entries(shared.dir), entriesBefore);
        }
        if ((!plantedFile || !row.followed) && !row.swapped) {
            EXPECT_EQ(Node(links[0]), nodeBefore) << "the link (or the refused file) stays as it was";
        }
        ::chmod(folder.c_str(), 0700);  // so that the scratch folder can go
        if (row.madeByOther) ::chmod(base.c_str(), 0700);
    }
    if (!leftOut.empty()) {
        std::string names;
        for (const std::string& name : leftOut) names += "\n  " + name;
        std::printf("Left out, since this user may not give a link to another user:%s\n", names.c_str());
    }
}
