#pragma once
// Timing our code and a reference program (lua5.4, bc) side by side in one benchmark run. On a
// loaded machine wall time says little, so both sides are measured in CPU time as well: our
// thread's, and the child's user and system time; the best of several interleaved rounds counts.
#include <algorithm>
#include <fcntl.h>
#include <chrono>
#include <ctime>
#include <limits>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

struct Timing {
    double wall = 0;  // seconds
    double cpu = 0;   // seconds
    bool ok = true;
};

struct BestOf {
    double wall = std::numeric_limits<double>::infinity();
    double cpu = std::numeric_limits<double>::infinity();
    bool ok = true;
    void Add(const Timing& t)
    {
        ok &= t.ok;
        wall = std::min(wall, t.wall);
        cpu = std::min(cpu, t.cpu);
    }
};

inline double ThreadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

template <class F>
Timing TimeInProcess(F&& work)
{
    const auto start = std::chrono::steady_clock::now();
    const double cpu = ThreadCpuSeconds();
    work();
    Timing t;
    t.cpu = ThreadCpuSeconds() - cpu;
    t.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return t;
}

// Runs argv[0] (found on the PATH) with its arguments; stdin from inputPath when given, stdout
// and stderr to /dev/null. Not ok when it could not start or did not exit with 0.
inline Timing TimeProgram(const std::vector<std::string>& argv, const std::string& inputPath = "")
{
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!inputPath.empty()) posix_spawn_file_actions_addopen(&actions, 0, inputPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Timing t;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int status = 0;
    rusage usage{};
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0 ||
        wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        t.ok = false;
    posix_spawn_file_actions_destroy(&actions);
    t.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    t.cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    return t;
}
