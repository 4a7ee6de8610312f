#include "platform/win/Sound.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <thread>

bool Beep(int frequency, int duration, const WaitStop& stop)
{
    if (frequency < 37 || frequency > 32767 || duration < 0)
        return false;
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
    Sleep(static_cast<unsigned>(duration), stop);
    return true;
}

void Sleep(unsigned milliseconds, const WaitStop& stop)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(milliseconds);
    // Small slices against the deadline, so an early end is noticed within one slice and the
    // slices' own overshoot does not add up.
    for (;;) {
        if (stop && stop()) return;
        const Clock::duration left = end - Clock::now();
        if (left <= Clock::duration::zero()) return;
        std::this_thread::sleep_for(std::min<Clock::duration>(left, std::chrono::milliseconds(WAIT_SLICE_MS)));
    }
}
