#include "macro/RunControl.h"

#include "macro/Errors.h"

#include <chrono>
#include <unordered_set>

namespace {

using Clock = std::chrono::steady_clock;

// About 100 loop passes, goto or calls between looks at the clock: a short loop pass takes well
// under a microsecond, so the clock costs nothing measurable, and even a pass of thousands of
// instructions brings the next look within milliseconds.
constexpr int kBudget = 128;

TRunWatch* runWatch = nullptr;
Clock::time_point lastAsk;
// The places that showed a box in the watched run.
std::unordered_set<long long> boxPlaces;

bool askWatch(bool whenever = false)
{
    if (!runWatch) return false;
    const Clock::time_point now = Clock::now();
    if (!whenever && now - lastAsk < std::chrono::milliseconds(kStopAskMs)) return false;
    lastAsk = now;
    return runWatch->StopRequested();
}

}  // namespace

int stopBudget = kBudget;

MacroWatchedRun::MacroWatchedRun(TRunWatch* watch) : previous_(runWatch)
{
    runWatch = watch;
    lastAsk = Clock::time_point();
    stopBudget = kBudget;
    boxPlaces.clear();
    if (runWatch) runWatch->RunStarted();
}

MacroWatchedRun::~MacroWatchedRun()
{
    if (runWatch) runWatch->RunEnded();
    runWatch = previous_;
    boxPlaces.clear();
}

MacroUserWait::MacroUserWait(long long place) : watch_(runWatch)
{
    if (watch_) watch_->UserWaits(!boxPlaces.insert(place).second);
}

MacroUserWait::~MacroUserWait()
{
    if (watch_) watch_->UserAnswered();
}

void macroStopCheck()
{
    stopBudget = kBudget;
    if (askWatch()) macroError("stopped", nullptr);
}

void macroStopCheckAfterBox()
{
    // The box took the user's time: a Stop given in it may be only a moment old.
    stopBudget = kBudget;
    if (askWatch(true)) macroError("stopped", nullptr);
}

void macroStoppableWait(const std::function<void(const WaitStop&)>& wait)
{
    bool stopped = false;
    wait([&stopped] { return stopped || (stopped = askWatch()); });
    if (stopped) macroError("stopped", nullptr);
}
