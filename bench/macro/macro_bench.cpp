// Speed and longevity of the macro interpreter.
//  - Loop: the 10,000,000-pass loop of one statement; reports passes per second. PLUMO_LOOP_PASSES
//    sets another count (a profiler wants a shorter run).
//  - LoopAgainstLua: the same loop here and in lua5.4, interleaved in one run, best of five each;
//    reports both figures and their ratio (see bench/common/Reference.h).
//  - Longevity: 10,000 runs of one 100-statement program in one process, as a long session of
//    pad calculations does; reports the growth of resident memory and the time of the last
//    thousand runs against the first thousand.
#include "bench/common/BenchSupport.h"
#include "bench/common/Reference.h"
#include "macro/Run.h"
#include "platform/vcl/DialogSeam.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
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

}  // namespace

int main(int argc, char** argv)
{
    auto app = StartBenchApplication(argc, argv);
    RunBenchmarks(argc, argv);
    return 0;
}
