#pragma once
// Writing a whole file so that a failure never leaves it worse than it was. Every file the
// program writes goes through here.
//
// The bytes go to a temporary file in the target's folder; every write is checked, the file is
// synced and closed, and only then renamed over the target, so the target is at every moment
// either the old file or the whole new one, even if the process dies in the middle. Any failure
// removes the temporary file, leaves the target untouched and returns the reason.
//
// A folder that takes no new file (read-only folder, writable file) is written in place, but
// only after a full copy of the old contents has been kept in a folder of the temporary folder
// made for it alone; a failed write then puts the old contents back, or says where the copy is.
//
// Only a regular file is replaced. A link is followed, and stays a link; a link that names no
// file yet makes that file. The name is walked folder by folder, and every link along it is looked
// at, not only the last one: in a folder that other users may write to, a link is followed only
// when the user made it, or, in a folder whose names are kept to their owners (the sticky bit, as
// on a shared temporary folder), when the folder's owner made it. Another user could otherwise
// point a name the user writes at the user's own files. In such a shared folder a file is written
// only when the user or the folder's owner made it; in any folder that other users may write to,
// only when it has no other name. A named pipe, a
// device, a socket or a folder is refused with the reason, before anything is opened or made.
// What is written is what was checked: the folder the name lies in is held open from the walk on,
// and the last name is opened in it without following a link.
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

struct SafeWriteResult {
    bool ok = true;
    QString reason;  // why it failed, for the user; empty when ok

    explicit operator bool() const { return ok; }
};

// The permissions a written file takes, and the group they open it to. KeepMode and KeepGroup give
// it those of the file it replaces, or the usual ones when it is new. A group the user may not give
// a file leaves it without the bits meant for that group, so that it is never more open than asked.
inline constexpr int KeepMode = -1;
inline constexpr long long KeepGroup = -1;
struct WriteAccess {
    int mode = KeepMode;
    long long group = KeepGroup;
    WriteAccess(int bits = KeepMode, long long owningGroup = KeepGroup) : mode(bits), group(owningGroup) {}
};

// path: the file's name as the file system knows it (UTF-8 bytes here).
SafeWriteResult SafeWriteFile(const std::string& path, const std::string& bytes, WriteAccess access = {});
SafeWriteResult SafeWriteFile(const QString& path, const std::string& bytes, WriteAccess access = {});

// A descriptor closed when it goes; moving it hands it on.
struct HeldDescriptor {
    int fd = -1;
    HeldDescriptor() = default;
    explicit HeldDescriptor(int opened) : fd(opened) {}
    HeldDescriptor(HeldDescriptor&& other) noexcept : fd(std::exchange(other.fd, -1)) {}
    HeldDescriptor& operator=(HeldDescriptor&& other) noexcept
    {
        if (this != &other) Reset(std::exchange(other.fd, -1));
        return *this;
    }
    ~HeldDescriptor() { Reset(-1); }
    void Reset(int opened);
};

// The rule above for a name about to be written, for the writer and for a caller that opens a file
// for writing itself (a macro program's open): the name walked and its links followed, and refused
// (with refused set, and the reason naming the part of the name refused) when another user planted
// a link along it, or made the file, or gave it a second name in a shared folder. On success the
// folder the write lands in is held open, with the name in it; exists tells whether something
// stands there now.
struct WriteTarget {
    SafeWriteResult check;
    bool refused = false;
    std::string target;  // the name the write lands on, as walked: for messages
    bool exists = false;
    unsigned mode = 0;  // the type and permissions of what stands there, when something does
    unsigned group = 0;  // and its group
    HeldDescriptor folder;  // the folder the write lands in, open (a path descriptor) on success
    std::string name;   // the last name, in that folder
    unsigned long long device = 0, inode = 0;  // what stands there, when something does
};
WriteTarget CheckWriteTarget(const std::string& path);

// Opens the name a successful check found, with the open flags given (a write mode's), never
// following a link: a name free at the check is made new, or, without O_CREAT, opened only if what
// appeared there meanwhile is a regular file the rule allows; a name that stood there is opened
// only if it is still the same file, and emptied (O_TRUNC) only once that is known. Returns the
// descriptor, or -1 with the reason in failure (refused set when it was a link or a file put there
// since the check). Only a regular file is opened; the descriptor does not wait on reads.
struct WriteOpen {
    int fd = -1;
    bool refused = false;
    QString reason;
};
WriteOpen OpenWriteTarget(const WriteTarget& checked, int flags);

// Test seams: work done at a point of a write where another user racing the program would act,
// after a name was checked and before it is opened (AfterCheck), or each time the walk of a name
// has looked at a link and before it follows it (InWalk). One at each point at a time, for as long
// as the object lives.
enum class RacePoint { AfterCheck, InWalk };
std::function<void()>& RaceAt(RacePoint point);
template <RacePoint point>
class ScopedRace {
public:
    explicit ScopedRace(std::function<void()> race) { RaceAt(point) = std::move(race); }
    ~ScopedRace() { RaceAt(point) = nullptr; }
    ScopedRace(const ScopedRace&) = delete;
    ScopedRace& operator=(const ScopedRace&) = delete;
};
using ScopedRaceAfterCheck = ScopedRace<RacePoint::AfterCheck>;
using ScopedRaceInWalk = ScopedRace<RacePoint::InWalk>;

// Reading the files the program reads for itself: only a regular file (or the one a link names)
// is read. A folder, a named pipe, a device or a socket is refused with its reason before it is
// opened, and nothing waits on a pipe or reads a device without end. Links are followed as the
// writer follows them: a name with a link along it that another user planted in a folder others
// may write to cannot be opened.
struct SafeReadResult {
    enum class Status {
        Read,        // read whole; or, from OpenRegularFile, open
        Missing,     // nothing stands at the path (so a caller may read it as empty)
        CannotOpen,  // it could not be opened or read
        NotRegular,  // a folder, a named pipe, a device, a socket, or a link that is not followed
        TooLarge,    // it holds more than the caller takes
    };
    Status status = Status::Read;
    QString reason;     // why it failed, for the user; empty when read
    unsigned mode = 0;  // the type and permissions of the file read
    bool refused = false;  // NotRegular because of a link another user made along the name
    unsigned group = 0;    // the group the permissions of the file read open it to

    explicit operator bool() const { return status == Status::Read; }
};

// Opens the regular file at path for reading, without waiting; on success fd is a descriptor the
// caller closes, otherwise -1.
SafeReadResult OpenRegularFile(const std::string& path, int& fd);
SafeReadResult OpenRegularFile(const QString& path, int& fd);

// Reads the regular file at path whole into bytes, when it holds at most maxBytes; bytes is empty
// unless it was read.
SafeReadResult ReadRegularFile(const std::string& path, std::string& bytes, size_t maxBytes = SIZE_MAX);
SafeReadResult ReadRegularFile(const QString& path, std::string& bytes, size_t maxBytes = SIZE_MAX);

// The steps that can fail, for the test seam below.
enum class SafeWriteStep { Create, Write, Sync, Close, Rename };

// Test seam: the nth time `step` is reached from now on (counted over all calls) it fails with
// `error` as if the system had refused it; `sticky` keeps failing every later time too (a full
// disk). Writes go out in chunks of at most SafeWriteChunk bytes, one step each. Several faults
// may be armed at once; each lasts as long as its ScopedSafeWriteFault.
struct SafeWriteFault {
    SafeWriteStep step = SafeWriteStep::Write;
    int nth = 1;
    int error = 28;  // ENOSPC
    bool sticky = false;
};
inline constexpr size_t SafeWriteChunk = 64 * 1024;

class ScopedSafeWriteFault {
public:
    explicit ScopedSafeWriteFault(const SafeWriteFault& fault);
    ~ScopedSafeWriteFault();
    ScopedSafeWriteFault(const ScopedSafeWriteFault&) = delete;
    ScopedSafeWriteFault& operator=(const ScopedSafeWriteFault&) = delete;
    // Whether the fault has struck at least once.
    bool Struck() const;

private:
    int id_ = 0;
};

// Tells the user that a file kept for them (the settings, remembered answers) could not be
// written: once per kind of file and session, so a settings file that stays unwritable is named
// once, not at every save. Tests clear what was told.
void ReportWriteFailureOnce(const QString& what, const QString& path, const QString& reason);
void ForgetReportedWriteFailures();
