// Writing files whole or not at all.
#include "platform/vcl/SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

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
    EXPECT_FALSE(SafeWriteFile(std::string(), "x").ok);
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
    ScopedSafeWriteFault again({SafeWriteStep::Create, 1, EACCES});
    EXPECT_FALSE(SafeWriteFile(f.Path("new.INI"), "x").ok);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(f.Path("new.INI"))));
}
