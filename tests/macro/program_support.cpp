#include "tests/macro/program_support.h"

#include "macro/Instructions.h"
#include "macro/Machine.h"
#include "macro/Run.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// A number as the recording host wrote it, with a full stop whatever the test's locale.
double HostNumber(const std::string& text)
{
    double value = std::nan("");
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// The tests' folder, removed when the process that made it ends (not by a child forked from it).
struct MacroTestFolder {
    std::filesystem::path path;
    pid_t owner;
    ~MacroTestFolder()
    {
        std::error_code ignored;
        if (getpid() == owner) std::filesystem::remove_all(path, ignored);
    }
};

}  // namespace

std::string MacroTestPath(const std::string& name)
{
    namespace fs = std::filesystem;
    static const MacroTestFolder dir = [] {
        fs::path d = fs::temp_directory_path() / ("plumo_macro_tests_" + std::to_string(getpid()));
        fs::create_directories(d);
        return MacroTestFolder{d, getpid()};
    }();
    return (dir.path / name).string();
}

std::string WriteMacroFile(const std::string& name, const std::string& bytes)
{
    std::string path = MacroTestPath(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string MacroFixture(const std::string& name) { return std::string(MACRO_TEST_DATA) + "/" + name; }

ProgramRun::ProgramRun(bool listing)
{
    if (listing) macroSetAfterParseHook([this] { listings.push_back(codeListing(codeBase, codeNext)); });
}

ProgramRun::~ProgramRun() { macroSetAfterParseHook({}); }

void ProgramRun::Run(const std::string& source, const std::string& fileName)
{
    RunFile(WriteMacroFile(fileName, source));
}

void ProgramRun::RunFile(const std::string& path) { RunMacroFile(path.c_str()); }

std::vector<std::string> ProgramRun::Texts() const
{
    std::vector<std::string> texts;
    for (const DialogCall& call : boxes.calls) texts.push_back(call.text.toStdString());
    return texts;
}

std::map<std::string, double> ProgramRun::LastAnswers() const
{
    std::map<std::string, double> last;
    for (const HostCall& c : host.calls)
        if (c.name == "SetZRQty" && c.args.size() == 2) last[c.args[0]] = HostNumber(c.args[1]);
    return last;
}

std::vector<double> ProgramRun::Answers(const std::string& name) const
{
    std::vector<double> values;
    for (const HostCall& call : host.calls)
        if (call.name == "SetZRQty" && call.args.size() == 2 && call.args[0] == name)
            values.push_back(HostNumber(call.args[1]));
    return values;
}

std::string ListingOf(const std::string& source)
{
    ProgramRun run(true);
    run.Run(source);
    return run.listings.empty() ? std::string() : run.listings.front();
}

double ResidentMB(int pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/status", static_cast<int>(pid));
    double kb = -1;
    if (std::FILE* f = std::fopen(path, "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "VmRSS: %lf", &kb) == 1) break;
        std::fclose(f);
    }
    return kb / 1024.0;
}


ChildEnd RunWatched(const std::function<int()>& body, double boundMB, int seconds)
{
    const double baseMB = ResidentMB(getpid());
    MacroTestPath("");  // the folder is made here, not by a child that cannot remove it
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) _exit(body());
    ChildEnd end;
    if (child < 0) return end;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    rusage usage{};
    for (;;) {
        pid_t done = wait4(child, &status, WNOHANG, &usage);
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

