// Speed and longevity of a pad calculation, end to end: count, translate, write the program,
// run it, collect and format the answers.
//  - Pad/N: a pad of N lines of feet-and-inch arithmetic (sums, areas, volumes, functions,
//    assignments); reports the time per pad line, which must stay flat as N grows.
//  - Longevity: 10,000 calculations of one 100-line pad in one process; reports the growth of
//    resident memory and the time of the last thousand against the first thousand.
//  - PadAgainstBc: the 10,000-line pad calculated headless and the same arithmetic in `bc -l`,
//    interleaved in one run, best of five each; reports both times and their ratio.
#include "bench/common/BenchSupport.h"
#include "bench/common/Reference.h"
#include "calc/PadCalculation.h"
#include "config/Config.h"
#include "platform/vcl/DialogSeam.h"

#include <QApplication>
#include <QDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

// Lines of the kind tradespeople write; every one gives an answer or sets a variable, and none
// raises a warning with the answer unit "cu ft".
const char* const kPadLines[] = {
    "12' 6 1/2\" + 3' 4\"",
    "5' 3-1/2\" * 4'",
    "2' * 3' * 4' 6\"",
    "x = 7' 2\" * 2",
    "x / 2 + 1' 6\"",
    "(2' + 3') * 1' 6\"",
    "sqrt(16' * 4')",
    "atan2(3, 4) * 180 / PI + sin(30)",
    "width = 10' 9 3/8\"",
    "width * 3' - 2' * 2'",
};

// The same arithmetic for bc: lengths in millimetres (an inch is 25.4), each answer line added to
// the total and printed, as the pad answers and totals it. p is pi; bc's a() and s() are arctan
// and sine in radians.
const char* const kBcLines[] = {
    "a = (12*12 + 6 + 1/2)*25.4 + (3*12 + 4)*25.4",
    "a = (5*12 + 3 + 1/2)*25.4 * (4*12)*25.4",
    "a = (2*12)*25.4 * (3*12)*25.4 * (4*12 + 6)*25.4",
    "x = (7*12 + 2)*25.4 * 2",
    "a = x / 2 + (1*12 + 6)*25.4",
    "a = ((2*12)*25.4 + (3*12)*25.4) * (1*12 + 6)*25.4",
    "a = sqrt((16*12)*25.4 * (4*12)*25.4)",
    "a = a(3/4) * 180 / p + s(30 * p / 180)",
    "w = (10*12 + 9 + 3/8)*25.4",
    "a = w * (3*12)*25.4 - (2*12)*25.4 * (2*12)*25.4",
};
static_assert(std::size(kBcLines) == std::size(kPadLines));

std::string BcProgram(int lines)
{
    std::string program = "p = 4 * a(1)\nt = 0\n";
    for (int i = 0; i < lines; ++i) {
        const char* line = kBcLines[i % std::size(kBcLines)];
        program += line;
        program += line[0] == 'a' ? "\nt = t + a\na\n" : "\n";
    }
    return program + "t\n";
}

std::vector<AnsiString> Pad(int lines)
{
    std::vector<AnsiString> pad;
    pad.reserve(static_cast<size_t>(lines));
    for (int i = 0; i < lines; ++i) pad.push_back(kPadLines[i % std::size(kPadLines)]);
    return pad;
}

void Prepare(TCalcState& calc)
{
    Config->InputUnit = UnitFromName("IMPERIAL");
    Config->AnswerUnit = UnitFromName("IMPERIAL");
    calc.AnswerUnitName = "cu ft";
    calc.Precision = -1;
}

void PadLines(benchmark::State& state)
{
    TCalcState calc;
    Prepare(calc);
    const int lines = static_cast<int>(state.range(0));
    bool completed = true;
    size_t results = 0;
    for (auto _ : state) {
        std::vector<AnsiString> pad = Pad(lines);
        const PadCalculationResult result = CalculatePadLines(calc, pad, true);
        completed &= result.completed;
        results = result.resultLines.size();
        benchmark::DoNotOptimize(results);
    }
    if (!completed || boxesShown) state.SkipWithError("the pad did not calculate cleanly");
    state.counters["results"] = double(results);
    state.counters["per_line_us"] =
        benchmark::Counter(double(lines) * double(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                           benchmark::Counter::kIs1000);
}
BENCHMARK(PadLines)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void Longevity(benchmark::State& state)
{
    TCalcState calc;
    Prepare(calc);
    const std::vector<AnsiString> pad = Pad(100);
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        double first = 0.0, last = 0.0, rssAfterFirst = 0.0;
        bool completed = true;
        const double rssStart = ResidentMegabytes();
        for (int run = 0; run < 10000; ++run) {
            std::vector<AnsiString> lines = pad;
            const auto t0 = Clock::now();
            completed &= CalculatePadLines(calc, lines, true).completed;
            const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
            if (run < 1000) first += seconds;
            if (run >= 9000) last += seconds;
            if (run == 999) rssAfterFirst = ResidentMegabytes();
        }
        if (!completed || boxesShown) state.SkipWithError("the pad did not calculate cleanly");
        state.counters["first_1000_s"] = first;
        state.counters["last_1000_s"] = last;
        state.counters["rss_start_MB"] = rssStart;
        state.counters["rss_growth_after_1000_MB"] = ResidentMegabytes() - rssAfterFirst;
        state.counters["rss_growth_total_MB"] = ResidentMegabytes() - rssStart;
    }
}
BENCHMARK(Longevity)->Iterations(1)->Unit(benchmark::kSecond);

void PadAgainstBc(benchmark::State& state)
{
    TCalcState calc;
    Prepare(calc);
    const int lines = 10000;
    const std::string bcPath = QDir::tempPath().toStdString() + "/plumo_calc_bench_" + std::to_string(getpid()) + ".bc";
    std::ofstream(bcPath, std::ios::binary) << BcProgram(lines) << "quit\n";
    for (auto _ : state) {
        BestOf ours, bc;
        bool completed = true;
        for (int round = 0; round < 5; ++round) {
            std::vector<AnsiString> pad = Pad(lines);
            ours.Add(TimeInProcess([&] { completed &= CalculatePadLines(calc, pad, true).completed; }));
            bc.Add(TimeProgram({"bc", "-l", "-q"}, bcPath));
        }
        if (!completed || boxesShown) state.SkipWithError("the pad did not calculate cleanly");
        if (!bc.ok) state.SkipWithError("bc did not run (scripts/setup --test installs it)");
        state.counters["ours_s"] = ours.cpu;
        state.counters["bc_s"] = bc.cpu;
        state.counters["ours/bc_time"] = ours.cpu / bc.cpu;
        state.counters["ours_wall_s"] = ours.wall;
        state.counters["bc_wall_s"] = bc.wall;
    }
    std::remove(bcPath.c_str());
}
BENCHMARK(PadAgainstBc)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    auto app = StartBenchApplication(argc, argv);
    // Settings of our own, with the program file in a scratch folder.
    const std::string folder = QDir::tempPath().toStdString() + "/plumo_calc_bench_" + std::to_string(getpid());
    QDir().mkpath(QString::fromStdString(folder));
    new TConfig((folder + "/none.INI").c_str());
    Config->TempDir = folder;

    RunBenchmarks(argc, argv);
    QDir(QString::fromStdString(folder)).removeRecursively();
    return 0;
}
