// The fuzz targets' shared start-up, watchdog and guarded file writes.
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
#include <mutex>
#include <thread>
#include <unistd.h>

// Tones and pauses would only make the fuzzer wait.
bool Beep(int, int, const WaitStop&) { return true; }
void Sleep(unsigned, const WaitStop&) {}

// A fuzzed program may write files (open with "w"): only relative names below the working folder
// (scripts/fuzz runs in a scratch folder) are allowed, and the folders named in FUZZ_WRITABLE
// (colon-separated), where the fuzzer itself keeps its corpus and its findings.
namespace {
bool writableHere(const char* path)
{
    if (!path) return false;
    std::string p = path;
    if (p.find("..") != std::string::npos) return false;
    if (p[0] != '/') return true;
    const char* allowed = std::getenv("FUZZ_WRITABLE");
    std::string list = allowed ? allowed : "";
    for (size_t start = 0; start <= list.size();) {
        size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        std::string prefix = list.substr(start, end - start);
        if (!prefix.empty() && p.compare(0, prefix.size(), prefix) == 0) return true;
        start = end + 1;
    }
    return false;
}
}  // namespace

extern "C" std::FILE* __real_fopen(const char* path, const char* mode);
extern "C" std::FILE* __wrap_fopen(const char* path, const char* mode)
{
    bool writes = mode && std::strpbrk(mode, "wa+") != nullptr;
    if (writes && !writableHere(path)) {
        errno = EACCES;
        return nullptr;
    }
    return __real_fopen(path, mode);
}

namespace {

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
