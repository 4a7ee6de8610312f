#pragma once
// Runs macro programs as the pad calculation does (through RunMacroFile on a file) and keeps what
// the user and the host would see: the boxes, the host calls and, on request, the code listing of
// every top-level statement.
#include "tests/common/DialogRecorder.h"
#include "tests/common/RecordingHost.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

// A file in the tests' own temporary folder.
std::string MacroTestPath(const std::string& name);
// Writes bytes to a file there and returns its path.
std::string WriteMacroFile(const std::string& name, const std::string& bytes);
// A fixture of tests/data/macro.
std::string MacroFixture(const std::string& name);

class ProgramRun {
public:
    // With listing, the listing of every top-level statement is kept in listings as it runs.
    explicit ProgramRun(bool listing = false);
    ~ProgramRun();

    // Runs source as the file name (the pad's run file by default).
    void Run(const std::string& source, const std::string& fileName = "MacroRunLine.Tmp");
    void RunFile(const std::string& path);

    // The texts of the boxes shown, in order (UTF-8).
    std::vector<std::string> Texts() const;
    // The last value handed to SetZRQty for each name.
    std::map<std::string, double> LastAnswers() const;
    // The values handed to SetZRQty for name, in order.
    std::vector<double> Answers(const std::string& name) const;

    DialogRecorder boxes;
    RecordingHost host;
    std::vector<std::string> listings;
};

// The resident memory of a process in MB (-1 when it cannot be read).
double ResidentMB(int pid);

struct ChildEnd {
    int exitCode = -1;        // -1: killed or ended by a signal
    bool overMemory = false;  // killed for passing the bound
    bool overTime = false;    // killed for not ending in time
    double peakMB = 0;        // the child's peak resident memory
};
// Runs body in a child process (its result is the exit code) and watches it: past boundMB of
// resident memory above the parent's, or after seconds, it is killed. A program that would hang
// or take the machine's memory fails the test instead.
ChildEnd RunWatched(const std::function<int()>& body, double boundMB, int seconds);

// The listing of the first top-level statement of source.
std::string ListingOf(const std::string& source);
