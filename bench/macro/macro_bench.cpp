// Speed and longevity of the macro interpreter.
//  - Loop: the 10,000,000-pass loop of one statement; reports passes per second. PLUMO_LOOP_PASSES
//    sets another count (a profiler wants a shorter run).
//  - LoopAgainstLua: the same loop here and in lua5.4, interleaved in one run, best of five each;
//    reports both figures and their ratio (see bench/common/Reference.h).
//  - Longevity: 10,000 runs of one 100-statement program in one process, as a long session of
//    pad calculations does; reports the growth of resident memory and the time of the last
//    thousand runs against the first thousand.
//  - TextAppends, TextDoubling: the loop of 20,000 appends of ten characters, and a text doubled
//    forty times (which ends at the texts' budget with the memory error); each runs in a child
//    process and reports its peak resident memory and the most text bytes the run held at once.
#include "bench/common/BenchSupport.h"
#include "bench/common/Reference.h"
#include "macro/Lifetime.h"
#include "macro/Run.h"
#include "platform/vcl/DialogSeam.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string WriteProgram(const std::string& name, const std::string& text)
{
    std::string path = "/tmp/plumo_macro_bench_" + std::to_string(getpid()) + "_" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}


long LoopPasses()
{
    const char* env = std::getenv("PLUMO_LOOP_PASSES");
    long n = env ? std::atol(env) : 0;
    return n > 0 ? n : 10000000;
}

std::string LoopProgram(long passes)
{
    return "s = 0\nfor (i = 0; i < " + std::to_string(passes) + "; i++) { s = s + i * 2 }\n";
}

void Loop(benchmark::State& state)
{
    const long passes = LoopPasses();
    std::string path = WriteProgram("loop.mac", LoopProgram(passes));
    for (auto _ : state) RunMacroFile(path.c_str());
    state.counters["passes/s"] =
        benchmark::Counter(double(passes) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["boxes"] = boxesShown;
    std::remove(path.c_str());
}
BENCHMARK(Loop)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The loop's closest match in Lua keeps both variables global, as this language's variables are,
// and tests and advances the counter itself; Lua's own counted for (a local counter) is the
// second, faster reference.
void LoopAgainstLua(benchmark::State& state)
{
    const long passes = 10000000;
    const std::string n = std::to_string(passes);
    std::string ours = WriteProgram("loop.mac", LoopProgram(passes));
    std::string luaWhile = WriteProgram("loop_while.lua", "s = 0\ni = 0\nwhile i < " + n + " do s = s + i * 2; i = i + 1 end\n");
    std::string luaFor = WriteProgram("loop_for.lua", "s = 0\nfor i = 0, " + n + " - 1 do s = s + i * 2 end\n");
    for (auto _ : state) {
        BestOf ourBest, whileBest, forBest;
        for (int round = 0; round < 5; ++round) {
            ourBest.Add(TimeInProcess([&] { RunMacroFile(ours.c_str()); }));
            whileBest.Add(TimeProgram({"lua5.4", luaWhile}));
            forBest.Add(TimeProgram({"lua5.4", luaFor}));
        }
        if (!whileBest.ok || !forBest.ok) {
            state.SkipWithError("lua5.4 did not run (scripts/setup --test installs it)");
            break;
        }
        state.counters["ours_passes/s"] = passes / ourBest.cpu;
        state.counters["lua_while_globals_passes/s"] = passes / whileBest.cpu;
        state.counters["lua_for_passes/s"] = passes / forBest.cpu;
        state.counters["ours/lua_while"] = whileBest.cpu / ourBest.cpu;
        state.counters["ours/lua_for"] = forBest.cpu / ourBest.cpu;
        state.counters["ours_wall_s"] = ourBest.wall;
        state.counters["lua_while_wall_s"] = whileBest.wall;
    }
    state.counters["boxes"] = boxesShown;
    for (const std::string& p : {ours, luaWhile, luaFor}) std::remove(p.c_str());
}
BENCHMARK(LoopAgainstLua)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// One hundred statements in the shape of a translated pad.
std::string HundredStatements()
{
    std::string p = "TOTAL = 0\nANS = 0\n";
    for (int line = 1; line <= 24; ++line) {
        std::string n = std::to_string(line);
        p += "ANS = " + n + " * 12.5 + sqrt(" + n + ") '_LINE:" + n + "\n";
        p += "Set_ZR_Qty(\"ZR_VARIABLE:" + n + "\", ANS)\n";
        p += "TOTAL = TOTAL + ANS\n";
        p += "w" + n + "$ = \"line \" + str(ANS, \"%.2f\") '_LINE:" + n + "\n";
    }
    p += "AVERAGE = TOTAL / 24\n";
    p += "Set_ZR_Qty(\"ZR_VARIABLE_2\", 1)\n";
    return p;
}

void Longevity(benchmark::State& state)
{
    const int runs = 10000;
    std::string path = WriteProgram("pad.mac", HundredStatements());
    for (auto _ : state) {
        RunMacroFile(path.c_str());  // warm: the first run installs the names
        double before = ResidentMegabytes();
        double firstThousand = 0, lastThousand = 0;
        auto mark = std::chrono::steady_clock::now();
        for (int i = 1; i <= runs; ++i) {
            RunMacroFile(path.c_str());
            if (i % 1000 == 0) {
                auto now = std::chrono::steady_clock::now();
                double ms = std::chrono::duration<double, std::milli>(now - mark).count();
                if (i == 1000) firstThousand = ms;
                if (i == runs) lastThousand = ms;
                mark = now;
            }
        }
        state.counters["rss_growth_MB"] = ResidentMegabytes() - before;
        state.counters["first1000_ms"] = firstThousand;
        state.counters["last1000_ms"] = lastThousand;
        state.counters["last/first"] = lastThousand / firstThousand;
    }
    state.counters["boxes"] = boxesShown;
    std::remove(path.c_str());
}
BENCHMARK(Longevity)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// Runs the program in a child process: its peak resident memory (MB), the most text it held at
// once (MB, from the child's own count) and its time (s); false when the child did not end well.
bool RunInChild(const std::string& path, double& peakMB, double& heldMB, double& seconds)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return false;
    std::fflush(nullptr);
    auto start = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        RunMacroFile(path.c_str());
        double held = double(macroTextFigures().peak) / (1024.0 * 1024.0);
        _exit(write(pipeFds[1], &held, sizeof held) == sizeof held ? 0 : 1);
    }
    close(pipeFds[1]);
    if (child < 0) {
        close(pipeFds[0]);
        return false;
    }
    if (read(pipeFds[0], &heldMB, sizeof heldMB) != sizeof heldMB) heldMB = -1;
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    peakMB = double(usage.ru_maxrss) / 1024.0;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void TextLoop(benchmark::State& state, const char* name, const char* program)
{
    std::string path = WriteProgram(name, program);
    for (auto _ : state) {
        double peak = 0, held = 0, seconds = 0;
        if (!RunInChild(path, peak, held, seconds)) {
            state.SkipWithError("the child did not end well");
            break;
        }
        state.counters["peak_rss_MB"] = peak;
        state.counters["peak_text_MB"] = held;
        state.counters["child_s"] = seconds;
    }
    std::remove(path.c_str());
}

void TextAppends(benchmark::State& state)
{
    TextLoop(state, "appends.mac",
             "a$ = \"\"\nfor (i = 0; i < 20000; i++) { a$ = a$ + \"0123456789\" }\n"
             "Set_ZR_Qty(\"ZR_VARIABLE_2\", len(a$))\n");
}
BENCHMARK(TextAppends)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// Ends with the "addstr: malloc error" box (one box counted in the child, none here).
void TextDoubling(benchmark::State& state)
{
    TextLoop(state, "doubling.mac",
             "a$ = \"0123456789\"\nfor (i = 0; i < 40; i++) { a$ = a$ + a$ }\n"
             "Set_ZR_Qty(\"ZR_VARIABLE_2\", len(a$))\n");
}
BENCHMARK(TextDoubling)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    auto app = StartBenchApplication(argc, argv);
    RunBenchmarks(argc, argv);
    return 0;
}
