#pragma once
// How a test program keeps its own failures from passing unseen. The tests run in a child process
// and the program passes only when that child says its test runner came to its end: a test that
// leaves early (exit, _exit, quick_exit, a crash) fails the program instead of cutting the run short
// with a status that looks like success. The process is bounded in memory, so that a test that runs
// away fails by itself rather than taking the machine.
#include <functional>

// Started again by one of its own tests, the program runs the entry named in this variable instead
// of its tests (ChildEntry below).
inline constexpr char kChildEntryVariable[] = "PLUMO_TEST_ENTRY";

// A piece of a test that must run in a process of its own (to be killed, or to be watched as it
// ends): registered under a name at start-up, run when the program is started with
// kChildEntryVariable set to that name. Its value is the process's exit status. Not a test: it is
// neither listed nor run by the test runner.
class ChildEntry {
public:
    ChildEntry(const char* name, std::function<int()> run);
};

// The entry named by kChildEntryVariable, or an empty function when there is none.
std::function<int()> ChildEntryToRun();

// Limits the address space of this process and of every process it starts (not under the address
// sanitizer, whose shadow memory needs terabytes of it; RunTestsInChild watches resident memory).
void BoundMemory();

// In the parent: runs the rest of main in a child and returns the program's exit status, which
// fails unless the child reported that its runner finished. In the child: returns -1, and main
// goes on to run the tests and then calls ReportRunnerFinished. A child whose resident memory
// outgrows a few gigabytes is killed, and fails the program. The child and every process it starts
// have a temporary folder (TMPDIR) made fresh for this run; anything the tests leave in it fails
// the program, and the folder is removed at the end.
int RunTestsInChild(int argc, char** argv);

// Tells the parent that the test runner came to its end with this result.
void ReportRunnerFinished(int result);

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
