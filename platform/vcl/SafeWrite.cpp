#include "platform/vcl/SafeWrite.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/Strings.h"
#include "platform/win/WinDefs.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <utility>
#include <vector>
#include <sys/random.h>
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

// Gives the file open on fd the permissions mode with the group they are meant for (KeepGroup: the
// one it has). A user may give a file only a group of their own: when that one is not, the bits
// meant for the group are left out, since they would otherwise open the file to the user's own
// group, which may be everyone's.
bool GiveAccess(int fd, mode_t mode, long long group)
{
    if (group != KeepGroup) {
        struct stat info {};
        const bool same = ::fstat(fd, &info) == 0 && info.st_gid == static_cast<gid_t>(group);
        if (!same && ::fchown(fd, static_cast<uid_t>(-1), static_cast<gid_t>(group)) != 0) mode &= ~mode_t(S_IRWXG);
    }
    return ::fchmod(fd, mode) == 0;
}

// The whole of a file with its bytes replaced, written in place. Only the regular file the
// caller found is written: a link or a pipe put there since is not opened, nor written through.
bool OverwriteInPlace(int folder, const std::string& name, const std::string& bytes, WriteAccess access)
{
    const int fd = Injected(SafeWriteStep::Create)
                       ? -1
                       : ::openat(folder, name.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return false;
    }
    if ((access.mode != KeepMode || access.group != KeepGroup) &&
        !GiveAccess(fd, access.mode != KeepMode ? static_cast<mode_t>(access.mode) : info.st_mode & 07777, access.group))
        return CloseAfterFailure(fd);
    if (!WriteAll(fd, bytes.data(), bytes.size())) return CloseAfterFailure(fd);
    return SyncAndClose(fd);
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The name part of a file made beside or for the target: short enough that the additions still
// fit the file system's limit on a name (255 bytes) when the target's name nearly fills it.
std::string ShortNameOf(const std::string& name) { return name.substr(0, 200); }

// A new file beside name in folder, made for this write alone (mode 0600 until it is whole); its
// name is put in temp. -1 with errno when none can be made.
int MakeTemporary(int folder, const std::string& name, std::string& temp)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[6] = {};
        if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) return -1;
        temp = "." + ShortNameOf(name) + ".~";
        for (unsigned char r : random) temp += letters[r % (sizeof letters - 1)];
        const int fd = ::openat(folder, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// Reads the regular file open on fd whole, when it holds at most maxBytes, and closes it.
SafeReadResult ReadOpened(int fd, const struct stat& info, std::string& bytes, size_t maxBytes);

// The old contents of a file kept for the user while it is rewritten in place. The shared
// temporary folder lets anyone make names in it, so the copy goes into a folder made fresh for it
// (mode 0700: no one else can reach into it) and is itself made new there, never through a link.
// On success kept names the copy.
bool KeepCopy(const std::string& name, const std::string& bytes, std::string& kept)
{
    std::string folder = QFile::encodeName(QDir::tempPath()).toStdString() + "/" + ShortNameOf(name) + ".kept-XXXXXX";
    if (!::mkdtemp(folder.data())) return false;
    kept = folder + "/" + ShortNameOf(name);
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
SafeWriteResult WriteInPlace(const WriteTarget& target, const std::string& bytes, WriteAccess access, int createError)
{
    std::string old, kept;
    const int fd = ::openat(target.folder.fd, target.name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0) ::close(fd);
        return Failed(createError);
    }
    if (!ReadOpened(fd, info, old, SIZE_MAX) || !KeepCopy(target.name, old, kept)) return Failed(createError);

    if (OverwriteInPlace(target.folder.fd, target.name, bytes, access)) {
        DropCopy(kept);
        return {};
    }
    const int error = errno;
    if (OverwriteInPlace(target.folder.fd, target.name, old, {})) {
        DropCopy(kept);
        return Failed(error);
    }
    return Failed(error, QStringLiteral("; the previous contents are kept in ") + QFile::decodeName(kept.c_str()));
}

// The system follows at most this many links in one name, and so does the walk.
constexpr int kMaxLinks = 40;

// Puts the parts of a name in front of those still to walk, in order. Empty parts (repeated
// slashes) and "." change nothing and are left out.
void PushParts(const std::string& path, std::deque<std::string>& todo)
{
    std::vector<std::string> parts;
    for (size_t start = 0; start <= path.size();) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        std::string part = path.substr(start, slash - start);
        if (!part.empty() && part != ".") parts.push_back(std::move(part));
        start = slash + 1;
    }
    todo.insert(todo.begin(), std::make_move_iterator(parts.begin()), std::make_move_iterator(parts.end()));
}

// Whether users other than this one may make names in the folder: everyone, a group not the
// user's own, or another user who owns it. The administrator may write anywhere anyway, so a folder
// only they may write counts as the user's own.
bool OthersMayWrite(const struct stat& folder)
{
    const uid_t self = ::geteuid();
    return (folder.st_mode & S_IWOTH) || ((folder.st_mode & S_IWGRP) && folder.st_gid != ::getegid()) ||
           (folder.st_uid != self && folder.st_uid != 0 && (folder.st_mode & S_IWUSR));
}

// Whether a name can only name a folder: it ends in a slash, "." or "..", as "pad.pad/." does,
// which names no file even when pad.pad is one.
bool NamesAFolder(const std::string& path)
{
    const std::string last = path.substr(path.rfind('/') + 1);
    return last.empty() || last == "." || last == "..";
}

// Whether a link that owner made in folder may be followed. A folder that other users may write to
// lets them put a link under a name the user walks through and point it at the user's own files,
// which the user would then write or read as the pad: such a link counts only when the user made
// it, or, in a folder that keeps names to their owners, the folder's owner.
bool MayFollow(int folder, uid_t owner)
{
    struct stat info {};
    if (::fstat(folder, &info) != 0) return false;
    if (!OthersMayWrite(info) || owner == ::geteuid()) return true;
    return (info.st_mode & S_ISVTX) && owner == info.st_uid;
}

// A folder that everyone may write to and that keeps each name to its owner (a shared temporary
// folder): anyone may make a file there under a name the user is about to write.
bool Shared(const struct stat& folder) { return (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH); }

// Why a regular file in folder may not be written, or empty when it may. In a shared folder a file
// counts only when the user or the folder's owner made it: another user may have made it just
// before the user writes there. In any folder that other users may write to, a file with another
// name is not written: another user may have given a file of the user's that second name there,
// as they might have planted a link.
QString FileRefusal(const struct stat& file, int folder)
{
    struct stat info {};
    if (::fstat(folder, &info) != 0) return Failed(errno).reason;
    if (!S_ISREG(file.st_mode)) return {};
    if (Shared(info) && file.st_uid != ::geteuid() && file.st_uid != info.st_uid)
        return QStringLiteral("It is a file that another user made in a folder that everyone may write to, "
                              "and such a file is not written");
    if (file.st_nlink > 1 && OthersMayWrite(info))
        return QStringLiteral("It is a file with another name besides this one, in a folder that other users may "
                              "write to, and such a file is not written: another user may have given it that name");
    return {};
}

// A walked name as the user reads it, cut as boxes cut what they quote.
QString Spelled(const std::vector<std::string>& parts, bool fromRoot)
{
    std::string text = fromRoot ? "/" : "";
    for (size_t i = 0; i < parts.size(); ++i) text += (i ? "/" : "") + parts[i];
    return QFile::decodeName(TextHead(text).c_str());
}

// A seam's work, when a test set one.
void RaceIfSet(RacePoint point)
{
    if (const std::function<void()>& race = RaceAt(point)) race();
}

// Walks path to the name it lands on, folder by folder from the root or the current folder,
// following its links (at most kMaxLinks, the parts of each target walked in turn) by the rule of
// MayFollow. A ".." goes up from the folder actually reached, as the system takes it. On success
// out holds the folder (open) and the last name in it, what stands there (in info) and the name as
// walked; otherwise out.check says why, with out.refused when a link was refused.
bool Walk(const std::string& path, WriteTarget& out, struct stat& info)
{
    const auto fail = [&out](int error) {
        out.check = Failed(error);
        errno = error;  // for a reader, which tells a missing name from others
        return false;
    };
    if (path.empty() || path.find('\0') != std::string::npos) return fail(ENOENT);
    bool fromRoot = path.front() == '/';
    HeldDescriptor folder(::open(fromRoot ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (folder.fd < 0) return fail(errno);
    std::vector<std::string> walked;  // the folders passed, for the box
    std::deque<std::string> todo;
    PushParts(path, todo);
    bool folderOnly = NamesAFolder(path);
    int links = 0;
    std::string name;
    info = {};
    while (!todo.empty()) {
        std::string part = std::move(todo.front());
        todo.pop_front();
        if (part == "..") {
            folder.Reset(::openat(folder.fd, "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
            if (folder.fd < 0) return fail(errno);
            if (!walked.empty() && walked.back() != "..") walked.pop_back();
            else if (!fromRoot) walked.push_back("..");
            continue;
        }
        if (::fstatat(folder.fd, part.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT || !todo.empty()) return fail(errno);
            name = std::move(part);
            out.exists = false;
            break;
        }
        if (S_ISLNK(info.st_mode)) {
            // The link is held while it is judged and read, so that what is followed is the link
            // whose maker was judged, not one put under its name in between.
            const HeldDescriptor held(::openat(folder.fd, part.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
            if (held.fd < 0 || ::fstat(held.fd, &info) != 0) return fail(errno);
            if (!S_ISLNK(info.st_mode)) {
                // Something else stands there now: it is looked at afresh.
                if (++links > kMaxLinks) return fail(ELOOP);
                todo.push_front(std::move(part));
                continue;
            }
            if (!MayFollow(folder.fd, info.st_uid)) {
                walked.push_back(part);
                out.refused = true;
                out.check = {false, Spelled(walked, fromRoot) +
                                        QStringLiteral(" is a link that another user made in a folder that other "
                                                       "users may write to, and such a link is not followed")};
                return false;
            }
            RaceIfSet(RacePoint::InWalk);
            if (++links > kMaxLinks) return fail(ELOOP);
            std::string link(PATH_MAX, '\0');
            const ssize_t n = ::readlinkat(held.fd, "", link.data(), link.size());
            if (n < 0) return fail(errno);
            if (n == 0) return fail(ENOENT);
            if (static_cast<size_t>(n) >= link.size()) return fail(ENAMETOOLONG);
            link.resize(static_cast<size_t>(n));
            if (link.front() == '/') {
                folder.Reset(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
                if (folder.fd < 0) return fail(errno);
                walked.clear();
                fromRoot = true;
            }
            if (todo.empty() && NamesAFolder(link)) folderOnly = true;
            PushParts(link, todo);
            continue;
        }
        if (todo.empty()) {
            name = std::move(part);
            out.exists = true;
            break;
        }
        if (!S_ISDIR(info.st_mode)) return fail(ENOTDIR);
        // Not followed if it became a link since it was looked at.
        folder.Reset(::openat(folder.fd, part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (folder.fd < 0) return fail(errno);
        walked.push_back(std::move(part));
    }
    if (name.empty()) {
        // The name ends in a folder ("/", "..", or a link to one with nothing after it).
        name = ".";
        if (::fstat(folder.fd, &info) != 0) return fail(errno);
        out.exists = true;
    }
    if (folderOnly && !(out.exists && S_ISDIR(info.st_mode))) return fail(out.exists ? ENOTDIR : ENOENT);
    walked.push_back(name);
    out.target = Spelled(walked, fromRoot).toStdString();
    out.name = std::move(name);
    out.mode = out.exists ? info.st_mode : 0;
    out.group = out.exists ? info.st_gid : 0;
    out.device = out.exists ? info.st_dev : 0;
    out.inode = out.exists ? info.st_ino : 0;
    out.folder = std::move(folder);
    return true;
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

void HeldDescriptor::Reset(int opened)
{
    if (fd >= 0) ::close(fd);
    fd = opened;
}

WriteTarget CheckWriteTarget(const std::string& path)
{
    WriteTarget result;
    struct stat info {};
    if (!Walk(path, result, info) || !result.exists) return result;
    const QString refusal = FileRefusal(info, result.folder.fd);
    if (!refusal.isEmpty()) {
        result.refused = true;
        result.check = {false, refusal};
    }
    return result;
}

WriteOpen OpenWriteTarget(const WriteTarget& checked, int flags)
{
    WriteOpen result;
    if (!checked.check || checked.folder.fd < 0) {
        result.refused = checked.refused;
        result.reason = checked.check.reason;
        return result;
    }
    RaceIfSet(RacePoint::AfterCheck);
    // A file that stood there is emptied only once it is known to be the one checked; a free
    // name is made new, so that nothing put there meanwhile is opened in its place.
    const bool empty = flags & O_TRUNC;
    flags = (flags & ~O_TRUNC) | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    const bool fresh = !checked.exists && (flags & O_CREAT);
    if (checked.exists && !(flags & O_EXCL)) flags &= ~O_CREAT;  // one gone since is not made anew
    if (fresh) flags |= O_EXCL;
    const int fd = ::openat(checked.folder.fd, checked.name.c_str(), flags, 0666);
    const auto changed = [&result] {
        result.refused = true;
        result.reason = QStringLiteral("Something else was put under its name after it was checked, and it is "
                                       "not written");
        return result;
    };
    if (fd < 0) {
        const int error = errno;
        // A link there now is refused by the no-follow flag, a name made since by the exclusive one.
        if (error == ELOOP || (fresh && error == EEXIST)) return changed();
        result.reason = Failed(error).reason;
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        result.reason = Failed(errno).reason;
        ::close(fd);
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.reason = NotRegularReason(info.st_mode);
        ::close(fd);
        return result;
    }
    // A name free at the check and not made here holds only what was put there since.
    if (checked.exists ? info.st_dev != checked.device || info.st_ino != checked.inode : !fresh) {
        ::close(fd);
        return changed();
    }
    if (const QString refusal = FileRefusal(info, checked.folder.fd); !refusal.isEmpty()) {
        ::close(fd);
        result.refused = true;
        result.reason = refusal;
        return result;
    }
    if (empty && ::ftruncate(fd, 0) != 0) {
        result.reason = Failed(errno).reason;
        ::close(fd);
        return result;
    }
    result.fd = fd;
    return result;
}

std::function<void()>& RaceAt(RacePoint point)
{
    static std::function<void()> races[2];
    return races[point == RacePoint::AfterCheck ? 0 : 1];
}

SafeWriteResult SafeWriteFile(const std::string& path, const std::string& bytes, WriteAccess access)
{
    // A link is followed, so that the file it names is replaced and the link stays a link.
    const WriteTarget checked = CheckWriteTarget(path);
    if (!checked.check) return checked.check;
    const int folder = checked.folder.fd;
    const std::string& name = checked.name;
    const bool exists = checked.exists;
    // A pipe, a device or a folder is never replaced by a file, nor written into.
    if (exists && !S_ISREG(checked.mode)) return {false, NotRegularReason(checked.mode)};
    // A file the user may not write is not replaced behind its back by the rename.
    if (exists && ::faccessat(folder, name.c_str(), W_OK, 0) != 0) return Failed(errno);

    std::string temp;
    const int fd = Injected(SafeWriteStep::Create) ? -1 : MakeTemporary(folder, name, temp);
    if (fd < 0) {
        const int error = errno;
        if ((error == EACCES || error == EPERM) && exists && ::faccessat(folder, name.c_str(), W_OK, 0) == 0)
            return WriteInPlace(checked, bytes, access, error);
        return Failed(error);
    }
    auto fail = [&](int error) {
        ::unlinkat(folder, temp.c_str(), 0);
        return Failed(error);
    };
    // The new file keeps the permissions of the one it replaces, and the group they open it to,
    // unless the caller names its own: a pad saved is no more open than it was.
    GiveAccess(fd,
               access.mode != KeepMode ? static_cast<mode_t>(access.mode) : exists ? (checked.mode & 07777) : NewFileMode(),
               access.group != KeepGroup ? access.group : exists ? static_cast<long long>(checked.group) : KeepGroup);
    if (!WriteAll(fd, bytes.data(), bytes.size())) {
        CloseAfterFailure(fd);
        return fail(errno);
    }
    if (!SyncAndClose(fd)) return fail(errno);
    if (Injected(SafeWriteStep::Rename) || ::renameat(folder, temp.c_str(), folder, name.c_str()) != 0)
        return fail(errno);

    // The rename itself reaches the disk with the folder.
    const int synced = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (synced >= 0) {
        ::fsync(synced);
        ::close(synced);
    }
    return {};
}

SafeWriteResult SafeWriteFile(const QString& path, const std::string& bytes, WriteAccess access)
{
    return SafeWriteFile(QFile::encodeName(path).toStdString(), bytes, access);
}

namespace {

SafeReadResult ReadFailed(int error)
{
    return {error == ENOENT ? SafeReadResult::Status::Missing : SafeReadResult::Status::CannotOpen,
            Failed(error).reason};
}

// A read that succeeded, with what it tells of the file.
SafeReadResult ReadFrom(const struct stat& info)
{
    SafeReadResult result;
    result.mode = info.st_mode;
    result.group = info.st_gid;
    return result;
}

SafeReadResult ReadOpened(int fd, const struct stat& info, std::string& bytes, size_t maxBytes)
{
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
    return ReadFrom(info);
}

// Opens the regular file at path for reading and gives what it holds in info.
SafeReadResult OpenChecked(const std::string& path, int& fd, struct stat& info)
{
    fd = -1;
    // A name with a link along it that another user planted where others may write is not read
    // through either: its target's contents would otherwise end up wherever the reader puts them
    // (a pad calculated, a backup beside it).
    WriteTarget walked;
    if (!Walk(path, walked, info)) {
        if (walked.refused) return {SafeReadResult::Status::NotRegular, walked.check.reason, 0, true, 0};
        return ReadFailed(errno);
    }
    if (!walked.exists) return ReadFailed(ENOENT);
    // Looked at before it is opened: opening a device may already do something.
    if (!S_ISREG(info.st_mode)) return {SafeReadResult::Status::NotRegular, NotRegularReason(info.st_mode)};
    // Without waiting, since a pipe put there meanwhile would wait for a writer (a regular file
    // reads the same), and looked at again once open, in case the name changed hands meanwhile.
    const int opened =
        ::openat(walked.folder.fd, walked.name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
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
    return ReadFrom(info);
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
    const SafeReadResult opened = OpenChecked(path, fd, info);
    if (!opened) return opened;
    return ReadOpened(fd, info, bytes, maxBytes);
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
