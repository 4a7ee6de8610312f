// The fuzz targets' shared start-up, watchdog and confined file writes.
#include "fuzz/FuzzSupport.h"

#include "macro/Machine.h"
#include "platform/vcl/DialogSeam.h"
#include "platform/win/Sound.h"
#include "platform/win/WinDefs.h"

#include <QApplication>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/landlock.h>
#include <mutex>
#include <string>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>
#include <vector>

// Tones and pauses would only make the fuzzer wait.
bool Beep(int, int, const WaitStop&) { return true; }
void Sleep(unsigned, const WaitStop&) {}

// A fuzzed program may write files (open with "w"), and a fuzzer run as root could empty any file
// a program names. The kernel (Landlock) confines every write of this process and of the threads
// it starts later, by whatever call it is made: opening for writing, making, truncating, renaming
// and removing files are allowed below the working folder (scripts/fuzz runs in a scratch folder)
// and the folders named in FUZZ_WRITABLE (colon-separated), where the fuzzer itself keeps its
// corpus and its findings; reading stays free. A kernel that cannot confine it stops the fuzzer.
namespace {

#ifndef LANDLOCK_ACCESS_FS_TRUNCATE
#define LANDLOCK_ACCESS_FS_TRUNCATE (1ULL << 14)
#endif

// The status of a fuzz target on a kernel without Landlock: scripts/fuzz then leaves the fuzzing
// out, with a notice, rather than run the programs unconfined.
constexpr int kNoLandlock = 77;

[[noreturn]] void Unconfined(const char* what)
{
    std::fprintf(stderr, "fuzz: %s (%s): the fuzzed programs' writes cannot be confined, so they are not run\n",
                 what, std::strerror(errno));
    std::abort();
}

std::vector<std::string> WritableFolders()
{
    std::vector<std::string> folders{"."};
    const char* listed = std::getenv("FUZZ_WRITABLE");
    const std::string list = listed ? listed : "";
    for (size_t start = 0; start <= list.size();) {
        size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        if (end > start) folders.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

void ConfineWrites()
{
    const long abi = syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
    if (abi < 1) {
        std::fprintf(stderr, "fuzz: this kernel has no Landlock (%s): the fuzzed programs' writes cannot be "
                             "confined, so they are not run\n", std::strerror(errno));
        std::_Exit(kNoLandlock);
    }
    landlock_ruleset_attr ruleset{};
    ruleset.handled_access_fs = LANDLOCK_ACCESS_FS_WRITE_FILE | LANDLOCK_ACCESS_FS_REMOVE_DIR |
                                LANDLOCK_ACCESS_FS_REMOVE_FILE | LANDLOCK_ACCESS_FS_MAKE_CHAR |
                                LANDLOCK_ACCESS_FS_MAKE_DIR | LANDLOCK_ACCESS_FS_MAKE_REG |
                                LANDLOCK_ACCESS_FS_MAKE_SOCK | LANDLOCK_ACCESS_FS_MAKE_FIFO |
                                LANDLOCK_ACCESS_FS_MAKE_BLOCK | LANDLOCK_ACCESS_FS_MAKE_SYM;
    if (abi >= 2) ruleset.handled_access_fs |= LANDLOCK_ACCESS_FS_REFER;     // links and renames across folders
    if (abi >= 3) ruleset.handled_access_fs |= LANDLOCK_ACCESS_FS_TRUNCATE;  // truncate() by name
    const int fd = static_cast<int>(syscall(SYS_landlock_create_ruleset, &ruleset, sizeof ruleset, 0));
    if (fd < 0) Unconfined("landlock_create_ruleset");
    for (const std::string& folder : WritableFolders()) {
        landlock_path_beneath_attr rule{};
        rule.allowed_access = ruleset.handled_access_fs;
        rule.parent_fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (rule.parent_fd < 0) continue;  // a folder that is not there takes no writes
        const long added = syscall(SYS_landlock_add_rule, fd, LANDLOCK_RULE_PATH_BENEATH, &rule, 0);
        ::close(rule.parent_fd);
        if (added != 0) Unconfined("landlock_add_rule");
    }
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) Unconfined("no_new_privs");
    if (syscall(SYS_landlock_restrict_self, fd, 0) != 0) Unconfined("landlock_restrict_self");
    ::close(fd);
}

// Stops a run after its time is up by setting the stop flag, which every execution loop tests.
class Watchdog {
public:
    Watchdog() : thread_([this] { Loop(); }) {}
    void Arm(std::chrono::milliseconds limit)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        deadline_ = std::chrono::steady_clock::now() + limit;
        armed_ = true;
        wake_.notify_one();
    }
    void Disarm()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        armed_ = false;
    }

private:
    void Loop()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            if (!armed_) {
                wake_.wait(lock);
                continue;
            }
            if (wake_.wait_until(lock, deadline_) == std::cv_status::timeout && armed_ &&
                std::chrono::steady_clock::now() >= deadline_) {
                std::atomic_ref<int>(stopFlag).store(1, std::memory_order_relaxed);
                armed_ = false;
            }
        }
    }
    std::mutex mutex_;
    std::condition_variable wake_;
    std::chrono::steady_clock::time_point deadline_;
    bool armed_ = false;
    std::thread thread_;
};

Watchdog* watchdog = nullptr;
unsigned answerCount = 0;

}  // namespace

void FuzzInitialize(const char* name)
{
    // First, before any thread starts: a thread started earlier would not be confined.
    ConfineWrites();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static std::string program = name;
    static char* argv[] = {program.data(), nullptr};
    new QApplication(argc, argv);
    SetDialogHandler([](DialogCall& call) {
        ++answerCount;
        call.result = call.kind == DialogCall::Kind::MacroInput ? 1 : (answerCount % 2 ? IDYES : IDNO);
        call.values = QStringList{QString::number(answerCount % 7)};
    });
    watchdog = new Watchdog;
}

void FuzzWriteFile(const std::string& path, const uint8_t* data, size_t size)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) std::abort();
    for (size_t done = 0; done < size;) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0) std::abort();
        done += static_cast<size_t>(n);
    }
    ::close(fd);
}

void FuzzArm(std::chrono::milliseconds limit) { watchdog->Arm(limit); }
void FuzzDisarm() { watchdog->Disarm(); }
