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
// file yet makes that file. In a folder that everyone may write to and whose names are kept to
// their owners (a shared temporary folder), a link is followed, and a file written, only when the
// user or the folder's owner made it, as the kernel itself protects such folders. A named pipe, a
// device, a socket or a folder is refused with the reason, before anything is opened or made.
#include <QString>
#include <cstdint>
#include <string>

struct SafeWriteResult {
    bool ok = true;
    QString reason;  // why it failed, for the user; empty when ok

    explicit operator bool() const { return ok; }
};

// path: the file's name as the file system knows it (UTF-8 bytes here).
SafeWriteResult SafeWriteFile(const std::string& path, const std::string& bytes);
SafeWriteResult SafeWriteFile(const QString& path, const std::string& bytes);

// The rule above for a name about to be written, for the writer and for a caller that opens a file
// for writing itself (a macro program's open): the links of path followed, and refused (with
// refused set) when another user planted a link or made the file in a shared folder. On success
// target is the name the write lands on, and exists tells whether something stands there now.
struct WriteTarget {
    SafeWriteResult check;
    bool refused = false;
    std::string target;
    bool exists = false;
    unsigned mode = 0;  // the type and permissions of what stands there, when something does
};
WriteTarget CheckWriteTarget(const std::string& path);

// Reading the files the program reads for itself: only a regular file (or the one a link names)
// is read. A folder, a named pipe, a device or a socket is refused with its reason before it is
// opened, and nothing waits on a pipe or reads a device without end. Links are followed as the
// writer follows them: one planted by another user in a shared folder cannot be opened.
struct SafeReadResult {
    enum class Status {
        Read,        // read whole; or, from OpenRegularFile, open
        Missing,     // nothing stands at the path (so a caller may read it as empty)
        CannotOpen,  // it could not be opened or read
        NotRegular,  // a folder, a named pipe, a device, a socket, or a link that is not followed
        TooLarge,    // it holds more than the caller takes
    };
    Status status = Status::Read;
    QString reason;  // why it failed, for the user; empty when read

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
