#include "macro/RunControl.h"

#include "macro/Errors.h"
#include "macro/Host.h"
#include "platform/win/Sound.h"

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

// About 100 loop passes, goto or calls between looks at the clock: a short loop pass takes well
// under a microsecond, so the clock costs nothing measurable, and even a pass of thousands of
// instructions brings the next look within milliseconds.
constexpr int kBudget = 128;
// The host may do real work when asked (the window handles its events), so no more often than this.
constexpr Clock::duration kAskInterval = std::chrono::milliseconds(2);

Clock::time_point lastAsk;
bool waitStopped = false;

bool askDuringWait()
{
    if (!waitStopped && Host().StopRequested()) waitStopped = true;
    return waitStopped;
}

}  // namespace

int stopBudget = kBudget;

void macroStopCheck()
{
    stopBudget = kBudget;
    const Clock::time_point now = Clock::now();
    if (now - lastAsk < kAskInterval) return;
    lastAsk = now;
    if (Host().StopRequested()) macroError("stopped", nullptr);
}

void macroStoppableWait(void (*wait)(void*), void* context)
{
    struct PollScope {
        WaitPoll previous;
        PollScope() : previous(SetWaitPoll(askDuringWait)) { waitStopped = false; }
        ~PollScope() { SetWaitPoll(previous); }
    };
    {
        PollScope scope;
        wait(context);
    }
    if (waitStopped) macroError("stopped", nullptr);
}
