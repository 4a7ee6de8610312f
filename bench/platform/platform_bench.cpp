// Speed of the message box on the offscreen platform: from the call until the box is up, laid
// out and painted once, for messages of growing length.
//  - ShowBox/N: a warning of N characters of words, with "Don't tell me again".
//  - ShowBoxOneWord: 65,535 characters without a break.
//  - ShowBoxLineBreaks: 5,000 line breaks.
#include "bench/common/BenchSupport.h"
#include "platform/win/MsgBoxWindow.h"

#include <QElapsedTimer>
#include <QTimer>
#include <string>

namespace {

MsgBoxWindow* ShownBox()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = dynamic_cast<MsgBoxWindow*>(w); box && box->isVisible()) return box;
    return nullptr;
}

// Seconds from the call until the box has painted, answered at once afterwards.
double TimeOneBox(const std::string& message)
{
    QElapsedTimer clock;
    double seconds = 0;
    QTimer::singleShot(0, [&] {
        if (MsgBoxWindow* box = ShownBox()) {
            box->repaint();
            seconds = clock.nsecsElapsed() / 1e9;
            box->Command(IDOK);
        }
    });
    clock.start();
    ExtMessageBox(nullptr, message.c_str(), "Consistency Warning", 0x22000030 | MB_NOSOUND, nullptr);
    return seconds;
}

void Run(benchmark::State& state, const std::string& message)
{
    const DialogHandler before = SetDialogHandler({});
    for (auto _ : state) state.SetIterationTime(TimeOneBox(message));
    SetDialogHandler(before);
}

std::string Words(size_t length)
{
    std::string text;
    while (text.size() < length) text += "Possible inconsistent units in line 12: feet and millimetres. ";
    return text.substr(0, length);
}

void ShowBox(benchmark::State& state) { Run(state, Words(static_cast<size_t>(state.range(0)))); }
BENCHMARK(ShowBox)->Arg(100)->Arg(4096)->Arg(65535)->UseManualTime()->Unit(benchmark::kMillisecond);

void ShowBoxOneWord(benchmark::State& state) { Run(state, std::string(65535, 'x')); }
BENCHMARK(ShowBoxOneWord)->UseManualTime()->Unit(benchmark::kMillisecond);

void ShowBoxLineBreaks(benchmark::State& state) { Run(state, std::string(5000, '\n')); }
BENCHMARK(ShowBoxLineBreaks)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    auto app = StartBenchApplication(argc, argv);
    RunBenchmarks(argc, argv);
    return 0;
}
