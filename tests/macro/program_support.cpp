#include "tests/macro/program_support.h"

#include "macro/Instructions.h"
#include "macro/Machine.h"
#include "macro/Run.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
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

// Makes the folder before the first test, in the process that runs them: a child watched by
// RunWatched that made it would end without removing it.
class MacroTestFolderEnvironment : public ::testing::Environment {
public:
    void SetUp() override { MacroTestPath(""); }
};
[[maybe_unused]] ::testing::Environment* const folderEnvironment =
    ::testing::AddGlobalTestEnvironment(new MacroTestFolderEnvironment);

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


