#include "tests/common/TestProcess.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <string>
#include <vector>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define PLUMO_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PLUMO_TEST_ASAN 1
#endif
#endif

namespace {

std::map<std::string, std::function<int()>>& Entries()
{
    static std::map<std::string, std::function<int()>> entries;
    return entries;
}

// The child's end of the pipe to its parent; -1 in the parent and in a death test's child.
int finishedFd = -1;

constexpr char kFinished[] = "runner finished %d\n";

// GoogleTest starts a death test's child as this program again with this flag. Such a child runs
// its one statement in the process it was given, as it always did: its end is the death test's
// to judge.
bool IsDeathTestChild(int argc, char** argv)
{
    static const char flag[] = "--gtest_internal_run_death_test";
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], flag, sizeof flag - 1) == 0) return true;
    return false;
}

}  // namespace

ChildEntry::ChildEntry(const char* name, std::function<int()> run) { Entries()[name] = std::move(run); }

std::function<int()> ChildEntryToRun()
{
    const char* name = std::getenv(kChildEntryVariable);
    if (!name) return {};
    const auto it = Entries().find(name);
    if (it != Entries().end()) return it->second;
    return [name = std::string(name)] {
        std::fprintf(stderr, "%s names no entry of this test program: %s\n", kChildEntryVariable, name.c_str());
        return 2;
    };
}

// The tests use well under a gigabyte (the sanitizer build somewhat more); a test that runs away (a
// loop that no stop reaches, growing as it goes) is stopped at this much.
constexpr unsigned long long kMemoryLimit = 4ull << 30;

#if defined(PLUMO_TEST_ASAN)
// The address sanitizer reserves terabytes of address space for its shadow memory, so an
// address-space limit would stop it at start: there the parent's watch on resident memory alone
// bounds the tests (RunTestsInChild).
void BoundMemory() {}
#else
// Fails the runaway's own allocations, in the test that made them, in every process the tests start.
void BoundMemory()
{
    rlimit rl{};
    if (getrlimit(RLIMIT_AS, &rl) != 0 || (rl.rlim_cur != RLIM_INFINITY && rl.rlim_cur <= kMemoryLimit)) return;
    rl.rlim_cur = rl.rlim_max == RLIM_INFINITY || rl.rlim_max > kMemoryLimit ? kMemoryLimit : rl.rlim_max;
    // Inherited by every process the tests start; one of them may lower it further for itself.
    if (setrlimit(RLIMIT_AS, &rl) != 0) std::perror("test program: address-space limit");
}
#endif

namespace {

// The resident memory of a process in bytes; 0 when it cannot be read.
unsigned long long ResidentBytes(pid_t pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/statm", static_cast<int>(pid));
    unsigned long long size = 0, resident = 0;
    if (std::FILE* f = std::fopen(path, "r")) {
        if (std::fscanf(f, "%llu %llu", &size, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * static_cast<unsigned long long>(sysconf(_SC_PAGESIZE));
}

// Waits for the child's end, looking at its resident memory meanwhile: past the limit it is killed.
// False when it could not be waited for.
bool WaitWatchingMemory(pid_t child, int& status)
{
    for (bool killed = false;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) return true;
        if (done < 0 && errno != EINTR) return false;
        if (!killed && ResidentBytes(child) > kMemoryLimit) {
            killed = true;
            std::fflush(stdout);
            std::fprintf(stderr, "\n[  FAILED  ] the tests took more than %llu MB of memory; they end here\n",
                         kMemoryLimit >> 20);
            kill(child, SIGKILL);
        }
        usleep(50000);
    }
}

// The temporary folder of one run of a test program, made fresh for it inside the one it was
// given and removed after it. The tests' own temporary folder (TMPDIR) is "tmp" inside it, where
// every temporary file and folder of theirs must be gone by the end; Qt's runtime folder, when
// the desktop names none, is "run", out of the way of that count.
class RunFolder {
public:
    explicit RunFolder(const char* program)
    {
        const char* given = std::getenv("TMPDIR");
        std::string name = std::string(given && *given == '/' ? given : "/tmp") + "/" +
                           std::filesystem::path(program).filename().string() + ".XXXXXX";
        if (!mkdtemp(name.data())) return;
        root_ = name;
        owner_ = getpid();
        if (mkdir(Tmp().c_str(), 0700) != 0 || mkdir((root_ + "/run").c_str(), 0700) != 0) return;
        setenv("TMPDIR", Tmp().c_str(), 1);
        if (!std::getenv("XDG_RUNTIME_DIR")) setenv("XDG_RUNTIME_DIR", (root_ + "/run").c_str(), 1);
        made_ = true;
    }
    ~RunFolder()
    {
        std::error_code ignored;
        // The child that runs the tests returns through here too: the folder is the parent's.
        if (!root_.empty() && getpid() == owner_) std::filesystem::remove_all(root_, ignored);
    }
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    bool Made() const { return made_; }
    std::string Tmp() const { return root_ + "/tmp"; }
    // The names left in the tests' temporary folder, sorted, separated by blanks; empty when none.
    std::string LeftBehind() const
    {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(Tmp(), error))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        std::string list;
        for (const std::string& n : names) list += (list.empty() ? "" : " ") + n;
        return list;
    }

private:
    std::string root_;
    pid_t owner_ = 0;
    bool made_ = false;
};

// Runs the tests in a child and waits for it: the program's exit status in the parent, -1 in
// the child.
int RunAndWait()
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        std::perror("test program: pipe");
        return 1;
    }
    std::fflush(nullptr);
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("test program: fork");
        return 1;
    }
    if (child == 0) {
        close(fds[0]);
        // The tests end with their parent: a program stopped from outside (at its time limit)
        // leaves nothing of itself running.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(1);
        finishedFd = fds[1];
        return -1;
    }
    close(fds[1]);
    // The child's output goes straight through; this process only waits for its end.
    int status = 0;
    if (!WaitWatchingMemory(child, status)) {
        std::perror("test program: waiting for the tests");
        return 1;
    }
    // Read once the child is gone: whatever it wrote is in the pipe, and a process it forked that
    // still holds the pipe open cannot hold this one up.
    char report[64] = {};
    fcntl(fds[0], F_SETFL, O_NONBLOCK);
    const ssize_t got = read(fds[0], report, sizeof report - 1);
    close(fds[0]);
    int result = -1;
    const bool finished = got > 0 && std::sscanf(report, kFinished, &result) == 1;
    if (WIFEXITED(status) && finished && WEXITSTATUS(status) == result) return result;

    std::fflush(stdout);
    if (WIFSIGNALED(status)) {
        std::fprintf(stderr, "\n[  FAILED  ] the test program was ended by signal %d (%s) %s\n", WTERMSIG(status),
                     strsignal(WTERMSIG(status)), finished ? "after its tests" : "before its tests had all run");
        return 128 + WTERMSIG(status);
    }
    const int code = WEXITSTATUS(status);
    if (finished)
        std::fprintf(stderr, "\n[  FAILED  ] the test program ended with status %d after its tests had ended with %d\n",
                     code, result);
    else
        std::fprintf(stderr,
                     "\n[  FAILED  ] the test program ended with status %d before its tests had all run: a test "
                     "ended the program (exit, _exit, quick_exit, a watchdog), and the tests after it never ran\n",
                     code);
    return code != 0 ? code : 1;
}

}  // namespace

int RunTestsInChild(int argc, char** argv)
{
    if (IsDeathTestChild(argc, argv)) return -1;
    // Each test removes what it puts in the temporary folder; one that leaves something fails the
    // program, and the folder goes anyway.
    const RunFolder folder(argv[0]);
    if (!folder.Made()) {
        std::perror("test program: temporary folder");
        return 1;
    }
    const int status = RunAndWait();
    if (status == -1) return -1;  // the child, which runs the tests
    const std::string left = folder.LeftBehind();
    if (left.empty()) return status;
    std::fflush(stdout);
    std::fprintf(stderr, "\n[  FAILED  ] the tests left this in their temporary folder: %s\n", left.c_str());
    return status != 0 ? status : 1;
}

void ReportRunnerFinished(int result)
{
    if (finishedFd < 0) return;
    dprintf(finishedFd, kFinished, result);
    close(finishedFd);
    finishedFd = -1;
}

double ResidentMB(int pid)
{
    const unsigned long long bytes = ResidentBytes(pid);
    return bytes == 0 ? -1.0 : double(bytes) / (1024.0 * 1024.0);
}

ChildEnd RunWatched(const std::function<int()>& body, double boundMB, int seconds)
{
    const double baseMB = ResidentMB(getpid());
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) _exit(body());
    ChildEnd end;
    if (child < 0) return end;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = -1;  // no end seen: not an exit
    rusage usage{};
    for (;;) {
        const pid_t done = wait4(child, &status, WNOHANG, &usage);
        if (done == child) break;
        if (ResidentMB(child) - baseMB > boundMB) end.overMemory = true;
        if (std::chrono::steady_clock::now() > deadline) end.overTime = true;
        if (end.overMemory || end.overTime) {
            kill(child, SIGKILL);
            wait4(child, &status, 0, &usage);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (WIFEXITED(status)) end.exitCode = WEXITSTATUS(status);
    end.peakMB = double(usage.ru_maxrss) / 1024.0;
    return end;
}
