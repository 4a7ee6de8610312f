#pragma once
// Runs macro programs as the pad calculation does (through RunMacroFile on a file) and keeps what
// the user and the host would see: the boxes, the host calls and, on request, the code listing of
// every top-level statement.
#include "tests/common/DialogRecorder.h"
#include "tests/common/RecordingHost.h"
#include "tests/common/TestProcess.h"

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

// The listing of the first top-level statement of source.
std::string ListingOf(const std::string& source);
