#include "platform/vcl/SafeWrite.h"

#include "platform/vcl/Forms.h"
#include "platform/win/WinDefs.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ArmedFault {
    int id;
    SafeWriteFault fault;
    bool spent = false;
    bool struck = false;
};

std::vector<ArmedFault>& Faults()
{
    static std::vector<ArmedFault> faults;
    return faults;
}

// True when the seam makes this step fail now; errno then holds the injected error.
bool Injected(SafeWriteStep step)
{
    for (ArmedFault& armed : Faults()) {
        if (armed.spent || armed.fault.step != step) continue;
        if (armed.fault.nth > 1) {
            --armed.fault.nth;
            continue;
        }
        errno = armed.fault.error;
        armed.struck = true;
        armed.spent = !armed.fault.sticky;
        return true;
    }
    return false;
}

SafeWriteResult Failed(int error, const QString& more = QString())
{
    return {false, QString::fromLocal8Bit(std::strerror(error)) + more};
}

// Why a file of this kind is neither replaced nor read: the system has no error number for it.
QString NotRegularReason(mode_t mode)
{
    if (S_ISDIR(mode)) return Failed(EISDIR).reason;
    const char* kind = S_ISFIFO(mode)  ? "a named pipe"
                       : S_ISCHR(mode) ? "a character device"
                       : S_ISBLK(mode) ? "a block device"
                       : S_ISSOCK(mode) ? "a socket"
                                        : "a special file";
    return QStringLiteral("It is not a regular file but ") + QLatin1String(kind);
}

// Closes a descriptor whose last step failed, keeping that step's errno for the caller.
bool CloseAfterFailure(int fd)
{
    const int error = errno;
    ::close(fd);
    errno = error;
    return false;
}

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        if (Injected(SafeWriteStep::Write)) return false;
        const ssize_t n = ::write(fd, data, std::min(size, SafeWriteChunk));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            errno = EIO;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool SyncAndClose(int fd)
{
    if (Injected(SafeWriteStep::Sync) || ::fsync(fd) != 0) return CloseAfterFailure(fd);
    // Some file systems report a lost write only when the file is closed.
    if (Injected(SafeWriteStep::Close)) return CloseAfterFailure(fd);
    return ::close(fd) == 0;
}

// The whole of a file with its bytes replaced, written in place. Only the regular file the
// caller found is written: a link or a pipe put there since is not opened, nor written through.
bool OverwriteInPlace(const std::string& path, const std::string& bytes)
{
    const int fd = Injected(SafeWriteStep::Create)
                       ? -1
                       : ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return false;
    }
    if (!WriteAll(fd, bytes.data(), bytes.size())) return CloseAfterFailure(fd);
    return SyncAndClose(fd);
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The name part of a file made beside or for the target: short enough that the additions still
// fit the file system's limit on a name (255 bytes) when the target's name nearly fills it.
std::string ShortNameOf(const std::string& path) { return NameOf(path).substr(0, 200); }

// The old contents of a file kept for the user while it is rewritten in place. The shared
// temporary folder lets anyone make names in it, so the copy goes into a folder made fresh for it
// (mode 0700: no one else can reach into it) and is itself made new there, never through a link.
// On success kept names the copy.
bool KeepCopy(const std::string& target, const std::string& bytes, std::string& kept)
{
    std::string folder = QFile::encodeName(QDir::tempPath()).toStdString() + "/" + ShortNameOf(target) + ".kept-XXXXXX";
    if (!::mkdtemp(folder.data())) return false;
    kept = folder + "/" + ShortNameOf(target);
    const int fd = Injected(SafeWriteStep::Create)
                       ? -1
                       : ::open(kept.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    bool ok = fd >= 0;
    if (ok && !WriteAll(fd, bytes.data(), bytes.size())) {
        ::close(fd);
        ok = false;
    }
    if (ok && SyncAndClose(fd)) return true;
    ::unlink(kept.c_str());
    ::rmdir(folder.c_str());
    return false;
}

void DropCopy(const std::string& kept)
{
    ::unlink(kept.c_str());
    ::rmdir(FolderOf(kept).c_str());
}

// A folder that refuses a new file while its file may still be written: the file is rewritten
// in place, with its old contents kept elsewhere until the new ones are safely down.
SafeWriteResult WriteInPlace(const std::string& target, const std::string& bytes, int createError)
{
    std::string old, kept;
    if (!ReadRegularFile(target, old) || !KeepCopy(target, old, kept)) return Failed(createError);

    if (OverwriteInPlace(target, bytes)) {
        DropCopy(kept);
        return {};
    }
    const int error = errno;
    if (OverwriteInPlace(target, old)) {
        DropCopy(kept);
        return Failed(error);
    }
    return Failed(error, QStringLiteral("; the previous contents are kept in ") + QFile::decodeName(kept.c_str()));
}

// Whether a name that owner made may be followed or written, by the rule the kernel protects
// shared folders with: in a folder that everyone may write to and that keeps each name to its
// owner (the sticky bit, as on /tmp), anyone may plant a link or a file under a name the user is
// about to write, so a name there counts only when the user or the folder's owner made it.
// Writing through another user's link would hand them the user's own files, and writing into
// their file what the user writes.
bool MadeByUs(const std::string& name, uid_t owner)
{
    struct stat folder {};
    if (::stat(FolderOf(name).c_str(), &folder) != 0) return false;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || owner == ::geteuid() || owner == folder.st_uid;
}

// The name a write lands on: the path with its links followed, to the end of the chain, even
// when that end names no file yet. False with errno ELOOP on a chain that does not end; false
// with refused set, errno EACCES, on a link that another user planted in a shared folder.
bool FollowLinks(std::string path, std::string& target, bool& refused)
{
    refused = false;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = path;
            return true;
        }
        if (!MadeByUs(path, info.st_uid)) {
            refused = true;
            errno = EACCES;
            return false;
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n < 0) return false;
        if (static_cast<size_t>(n) >= link.size()) {
            errno = ENAMETOOLONG;
            return false;
        }
        link.resize(static_cast<size_t>(n));
        path = link.front() == '/' ? link : FolderOf(path) + "/" + link;
    }
    errno = ELOOP;
    return false;
}

QString PlantedLinkReason()
{
    return QStringLiteral("It is a link that another user made in a folder that everyone may write to, "
                          "and such a link is not followed");
}

QString PlantedFileReason()
{
    return QStringLiteral("It is a file that another user made in a folder that everyone may write to, "
                          "and such a file is not written");
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

WriteTarget CheckWriteTarget(const std::string& path)
{
    WriteTarget result;
    if (path.empty() || path.find('\0') != std::string::npos) {
        result.check = Failed(ENOENT);
        return result;
    }
    if (!FollowLinks(path, result.target, result.refused)) {
        result.check = {false, result.refused ? PlantedLinkReason() : Failed(errno).reason};
        return result;
    }
    struct stat info {};
    result.exists = ::lstat(result.target.c_str(), &info) == 0;
    result.mode = info.st_mode;
    if (!result.exists && errno != ENOENT) {
        result.check = Failed(errno);
    } else if (result.exists && S_ISREG(info.st_mode) && !MadeByUs(result.target, info.st_uid)) {
        result.refused = true;
        result.check = {false, PlantedFileReason()};
    }
    return result;
}

SafeWriteResult SafeWriteFile(const std::string& path, const std::string& bytes)
{
    // A link is followed, so that the file it names is replaced and the link stays a link.
    const WriteTarget checked = CheckWriteTarget(path);
    if (!checked.check) return checked.check;
    const std::string& target = checked.target;
    const bool exists = checked.exists;
    // A pipe, a device or a folder is never replaced by a file, nor written into.
    if (exists && !S_ISREG(checked.mode)) return {false, NotRegularReason(checked.mode)};
    // A file the user may not write is not replaced behind its back by the rename.
    if (exists && ::access(target.c_str(), W_OK) != 0) return Failed(errno);

    std::string temp = FolderOf(target) + "/." + ShortNameOf(target) + ".~XXXXXX";
    const int fd = Injected(SafeWriteStep::Create) ? -1 : ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if ((error == EACCES || error == EPERM) && exists && ::access(target.c_str(), W_OK) == 0)
            return WriteInPlace(target, bytes, error);
        return Failed(error);
    }
    auto fail = [&](int error) {
        ::unlink(temp.c_str());
        return Failed(error);
    };
    // The new file keeps the permissions of the one it replaces.
    ::fchmod(fd, exists ? (checked.mode & 07777) : NewFileMode());
    if (!WriteAll(fd, bytes.data(), bytes.size())) {
        CloseAfterFailure(fd);
        return fail(errno);
    }
    if (!SyncAndClose(fd)) return fail(errno);
    if (Injected(SafeWriteStep::Rename) || ::rename(temp.c_str(), target.c_str()) != 0) return fail(errno);

    // The rename itself reaches the disk with the folder.
    const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return {};
}

SafeWriteResult SafeWriteFile(const QString& path, const std::string& bytes)
{
    return SafeWriteFile(QFile::encodeName(path).toStdString(), bytes);
}

namespace {

SafeReadResult ReadFailed(int error)
{
    return {error == ENOENT ? SafeReadResult::Status::Missing : SafeReadResult::Status::CannotOpen,
            Failed(error).reason};
}

// Opens the regular file at path for reading and gives what it holds in info.
SafeReadResult OpenChecked(const std::string& path, int& fd, struct stat& info)
{
    fd = -1;
    if (path.empty() || path.find('\0') != std::string::npos) return ReadFailed(ENOENT);
    // A link planted by another user in a shared folder is not read through either: its target's
    // contents would otherwise end up wherever the reader puts them (a backup beside it).
    std::string target;
    bool refused = false;
    if (!FollowLinks(path, target, refused) && refused)
        return {SafeReadResult::Status::NotRegular, PlantedLinkReason()};
    // Looked at before it is opened: opening a device may already do something.
    if (::stat(path.c_str(), &info) != 0) return ReadFailed(errno);
    if (!S_ISREG(info.st_mode)) return {SafeReadResult::Status::NotRegular, NotRegularReason(info.st_mode)};
    // Without waiting, since a pipe put there meanwhile would wait for a writer (a regular file
    // reads the same), and looked at again once open, in case the name changed hands meanwhile.
    const int opened = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (opened < 0) return ReadFailed(errno);
    if (::fstat(opened, &info) != 0) {
        CloseAfterFailure(opened);
        return ReadFailed(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(opened);
        return {SafeReadResult::Status::NotRegular, NotRegularReason(info.st_mode)};
    }
    fd = opened;
    return {};
}

}  // namespace

SafeReadResult OpenRegularFile(const std::string& path, int& fd)
{
    struct stat info {};
    return OpenChecked(path, fd, info);
}

SafeReadResult OpenRegularFile(const QString& path, int& fd)
{
    return OpenRegularFile(QFile::encodeName(path).toStdString(), fd);
}

SafeReadResult ReadRegularFile(const std::string& path, std::string& bytes, size_t maxBytes)
{
    bytes.clear();
    int fd = -1;
    struct stat info {};
    SafeReadResult result = OpenChecked(path, fd, info);
    if (!result) return result;
    const auto tooLarge = [&] {
        ::close(fd);
        bytes.clear();
        return SafeReadResult{SafeReadResult::Status::TooLarge, Failed(EFBIG).reason};
    };
    if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) return tooLarge();
    bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[SafeWriteChunk];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            CloseAfterFailure(fd);
            bytes.clear();
            return ReadFailed(errno);
        }
        if (n == 0) break;
        // The file may grow while it is read: what lies past the limit is not read.
        if (static_cast<size_t>(n) > maxBytes - bytes.size()) return tooLarge();
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return result;
}

SafeReadResult ReadRegularFile(const QString& path, std::string& bytes, size_t maxBytes)
{
    return ReadRegularFile(QFile::encodeName(path).toStdString(), bytes, maxBytes);
}

ScopedSafeWriteFault::ScopedSafeWriteFault(const SafeWriteFault& fault)
{
    static int lastId = 0;
    id_ = ++lastId;
    Faults().push_back({id_, fault});
}

ScopedSafeWriteFault::~ScopedSafeWriteFault()
{
    std::erase_if(Faults(), [this](const ArmedFault& armed) { return armed.id == id_; });
}

bool ScopedSafeWriteFault::Struck() const
{
    for (const ArmedFault& armed : Faults())
        if (armed.id == id_) return armed.struck;
    return false;
}

namespace {

QSet<QString>& Reported()
{
    static QSet<QString> reported;
    return reported;
}

}  // namespace

void ReportWriteFailureOnce(const QString& what, const QString& path, const QString& reason)
{
    if (Reported().contains(what)) return;
    Reported().insert(what);
    Application->MessageBox(what + QStringLiteral(" could not be saved in ") + path + QLatin1Char('\n') + reason,
                            QStringLiteral("File Write Error"), MB_OK | MB_ICONWARNING);
}

void ForgetReportedWriteFailures() { Reported().clear(); }
