// Runs stay stoppable: a watch that asks for a stop ends endless loops, gotos, recursion and long
// waits promptly with the run-time error "stopped"; a watch that never asks changes nothing.
#include "macro/Instructions.h"
#include "macro/Machine.h"
#include "macro/Run.h"
#include "macro/RunControl.h"
#include "tests/macro/program_support.h"

#include <chrono>
#include <gtest/gtest.h>

namespace {

// Answers true from its stopAt-th ask on (never when stopAt is 0).
class StopWatch : public TRunWatch {
public:
    explicit StopWatch(int stopAt) : stopAt_(stopAt) {}
    bool StopRequested() override { return armed && ++asks >= stopAt_ && stopAt_ > 0; }
    int asks = 0;
    bool armed = true;  // asks count only while armed

private:
    int stopAt_;
};

struct Outcome {
    std::vector<std::string> boxes;
    std::vector<double> answers;  // of set_zr_qty("A", ...)
    int asks = 0;
    double seconds = 0;
};

Outcome RunWith(int stopAt, const std::string& source)
{
    DialogRecorder recorder;
    RecordingHost host;
    StopWatch watch(stopAt);
    const auto start = std::chrono::steady_clock::now();
    {
        // An endless program the watch cannot stop ends the test program, failed, not hangs it.
        const Watchdog watchdog(std::chrono::seconds(20));
        MacroWatchedRun watching(&watch);
        RunMacroFile(WriteMacroFile("stop.mac", source).c_str());
    }
    Outcome out;
    out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (const DialogCall& call : recorder.calls) out.boxes.push_back(call.text.toStdString());
    for (const HostCall& call : host.calls)
        if (call.name == "SetZRQty" && call.args.size() == 2 && call.args[0] == "A")
            out.answers.push_back(std::stod(call.args[1]));
    out.asks = watch.asks;
    return out;
}

struct EndlessCase {
    const char* what;
    const char* program;
};

const EndlessCase kEndless[] = {
    {"empty while", "while (1) {}\n"},
    {"endless for", "for (stopI = 0; 1; stopI++) { stopS = stopI }\n"},
    {"goto loop", "proc stopGo() {\n  stopN = 0\nstopBack:\n  stopN = stopN + 1\n  goto stopBack\n}\nstopGo()\n"},
    {"deep recursion", "proc stopDeep() {\n  if ($1 < 900) then\n    stopDeep($1 + 1)\n    stopDeep($1 + 1)\n  endif\n}\nstopDeep(0)\n"},
    // Waits long enough to fail the time limit, short enough that a wait nobody stops fails
    // the test rather than hanging it.
    {"a sleep of five seconds", "sleepfor(5)\n"},
    {"a tone of five seconds", "play(440, 5000)\n"},
    {"beep in a loop", "while (1) { beep(440, 1000) }\n"},
};

TEST(RunStop, EndlessRunsEndPromptlyWithStopped)
{
    for (const EndlessCase& c : kEndless) {
        SCOPED_TRACE(c.what);
        // The earlier answer stays (as with any run-time error), the later statement never runs.
        Outcome out = RunWith(4, std::string("set_zr_qty(\"A\", 1)\n") + c.program + "set_zr_qty(\"A\", 2)\n");
        ASSERT_EQ(out.boxes.size(), 1u);
        EXPECT_EQ(out.boxes[0].rfind("Error: stopped in ", 0), 0u) << out.boxes[0];
        EXPECT_EQ(out.answers, std::vector<double>{1});
        EXPECT_EQ(out.asks, 4);
        EXPECT_LT(out.seconds, 2.0);
    }
}

TEST(RunStop, AHostThatNeverStopsChangesNothing)
{
    const std::string program =
        "func stopFib()\n  if ($1 < 2) then\n    return($1)\n  endif\n  return(stopFib($1 - 1) + stopFib($1 - 2))\nendfunc\n"
        "stopS = 0\nfor (stopI = 0; stopI < 20000; stopI++) { stopS = stopS + stopI * 2 }\n"
        "stopK = 0\nwhile (stopK < 300) { stopK = stopK + 1 }\n"
        "proc stopClimb() {\n  stopM = 0\nstopMore:\n  stopM = stopM + 1\n  if (stopM < 50) then\n    goto stopMore\n  endif\n}\nstopClimb()\n"
        "play(440, 30)\nsleepfor(0)\n"
        "set_zr_qty(\"A\", stopS)\nset_zr_qty(\"A\", stopK + stopM)\nset_zr_qty(\"A\", stopFib(15))\n";
    Outcome plain = RunWith(0, program);
    EXPECT_TRUE(plain.boxes.empty()) << plain.boxes.front();
    EXPECT_EQ(plain.answers, (std::vector<double>{399980000, 350, 610}));
    EXPECT_GT(plain.asks, 0);  // the tone's wait asks at least once
    // A host that stops only much later than this program needs sees the same.
    Outcome late = RunWith(1000000, program);
    EXPECT_EQ(late.boxes, plain.boxes);
    EXPECT_EQ(late.answers, plain.answers);
}

// A long sort is one instruction: it counts its own steps.
TEST(RunStop, ALongSortStops)
{
    DialogRecorder recorder;
    RecordingHost host;
    StopWatch watch(1);
    watch.armed = false;
    macroSetAfterParseHook([&watch] {
        if (codeListing(codeBase, codeNext).find("sortcode") != std::string::npos) watch.armed = true;
    });
    MacroWatchedRun watching(&watch);
    RunMacroFile(WriteMacroFile("sort.mac",
                                "vector stopV[500000]\n"
                                "for (stopI = 0; stopI < 500000; stopI++) { stopV[stopI] = (stopI * 7919) % 500009 }\n"
                                "qsort(500000, stopV)\nset_zr_qty(\"A\", 1)\n")
                     .c_str());
    macroSetAfterParseHook({});
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].text.toStdString().rfind("Error: stopped in ", 0), 0u);
    EXPECT_TRUE(host.calls.empty());
}

TEST(RunStop, TheNextRunStartsUnstopped)
{
    RunWith(1, "while (1) {}\n");
    Outcome next = RunWith(0, "stopX = 0\nwhile (stopX < 1000) { stopX++ }\nset_zr_qty(\"A\", stopX)\n");
    EXPECT_TRUE(next.boxes.empty());
    EXPECT_EQ(next.answers, std::vector<double>{1000});
}

}  // namespace
