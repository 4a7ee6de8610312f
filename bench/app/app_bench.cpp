// Speed of the main window on the offscreen platform, as the user meets it:
//  - Startup: making and showing the window up to the first calculated (empty) pad.
//  - OpenAndCalculate/N: opening a pad file of N lines of feet-and-inch arithmetic from the
//    recent-files menu, which reads, colours and calculates it and fills the answer pane.
//  - TypeCharacter/N: one key typed into the middle of an N-line calculated pad (only the edited
//    line is coloured again; the answers are cleared).
#include "bench/common/BenchSupport.h"
#include "bench/app/WindowBench.h"
#include "app/MainProg.h"
#include "config/Config.h"
#include "platform/vcl/DialogSeam.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <clocale>
#include <cstdlib>
#include <fstream>
#include <memory>

namespace {


// Settings of its own: the temporary program file and the projects go to a fresh folder.
struct Session {
    QTemporaryDir dir;
    AnsiString Folder() const { return UnicodeToWin1252(dir.path()) + "/"; }
    void Configure() const
    {
        UseBenchFolder(Folder());
    }
    AnsiString WritePad(int lines) const
    {
        const AnsiString path = Folder() + "pad" + std::to_string(lines) + ".pad";
        std::ofstream out(path, std::ios::binary);
        out << "_Date=1 Jan 2026 10:00:00\n_Description=bench\n_UOM_Input=0\n_UOM_Answer=10\n"
               "_Precision=0\n_UOM_Angle=0\n_Data\n";
        for (int i = 0; i < lines; ++i) out << kBenchPadLines[i % 8] << "\n";
        return path;
    }
};

std::unique_ptr<TfrmMainProg> ShownWindow(const Session& session)
{
    auto form = std::make_unique<TfrmMainProg>();
    session.Configure();
    form->show();
    return form;
}

void Open(TfrmMainProg& form, const AnsiString& path)
{
    Config->MRU.Add(path);
    Config->MRU.OpenIndex = 1;
    form.PadUnchanged = true;  // New asks nothing
    form.Open1Click(&form);
}

void Startup(benchmark::State& state)
{
    Session session;
    for (auto _ : state) {
        auto form = ShownWindow(session);
        benchmark::DoNotOptimize(form->RichEdit_Result->LineCount());
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}

void OpenAndCalculate(benchmark::State& state)
{
    Session session;
    auto form = ShownWindow(session);
    const AnsiString path = session.WritePad(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Open(*form, path);
        benchmark::DoNotOptimize(form->RichEdit_Result->LineCount());
    }
    if (form->RichEdit_Result->Lines.Count() < state.range(0)) state.SkipWithError("answers missing");
    state.counters["us/line"] = benchmark::Counter(static_cast<double>(state.range(0)),
                                                   benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}

void TypeCharacter(benchmark::State& state)
{
    Session session;
    auto form = ShownWindow(session);
    Open(*form, session.WritePad(static_cast<int>(state.range(0))));
    // The window lays a long pad out a part at a time while it waits for the user; the caret sent
    // down the pad has it laid out whole before the first key.
    TRichEdit* pad = form->RichEdit_Main;
    pad->SetSelStart(pad->LineIndex(static_cast<int>(state.range(0) / 2)));
    for (auto _ : state) {
        QTest::keyClick(pad, Qt::Key_1);
        state.PauseTiming();
        QTest::keyClick(pad, Qt::Key_Backspace);
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(Startup)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenAndCalculate)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
// The longest pads the window is meant for: opened and calculated in well under 2 s.
BENCHMARK(OpenAndCalculate)->Arg(100000)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(TypeCharacter)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    auto app = StartBenchApplication(argc, argv);
    {
        // The first window of a process also loads the fonts: the start-up the user waits for.
        Session session;
        QElapsedTimer timer;
        timer.start();
        auto form = ShownWindow(session);
        std::fprintf(stderr, "first window of the process, shown and calculated: %.1f ms\n",
                     timer.nsecsElapsed() / 1e6);
    }
    RunBenchmarks(argc, argv);
    return boxesShown ? 1 : 0;
}
