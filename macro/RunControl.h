#pragma once
// Keeping a run stoppable. Whoever starts a run may hand it a watch for its length; while the
// program runs, the watch is asked whether to stop at most once every kStopAskMs at a loop's next
// pass, a goto, a call and all through its waits, and after every box the program shows. A true
// answer ends the run with the run-time error "stopped". The watch is also told while a box of
// the program waits for the user: that time is the user's, not the run's.
//
// Asking the clock at every instruction would cost the loops their speed, so the places where a
// program can go on for ever (a loop's next pass, a goto, a call) count down a budget, and only an
// exhausted budget looks at the clock.
#include "platform/win/Sound.h"

#include <functional>

class TRunWatch {
public:
    virtual ~TRunWatch() = default;
    virtual void RunStarted() {}
    // Asked while the program runs; true ends the run.
    virtual bool StopRequested() { return false; }
    // A box of the program waits for the user until UserAnswered. again: the same box statement
    // has shown a box before in this run, so the program shows boxes in a loop.
    virtual void UserWaits(bool /*again*/) {}
    virtual void UserAnswered() {}
    virtual void RunEnded() {}
};

// The watch is asked no more often than this (it may do real work: the window handles its events).
constexpr int kStopAskMs = 10;

// Watches the runs made while it lives (watch null: none), and tells the watch when they start
// and end.
class MacroWatchedRun {
public:
    explicit MacroWatchedRun(TRunWatch* watch);
    ~MacroWatchedRun();
    MacroWatchedRun(const MacroWatchedRun&) = delete;
    MacroWatchedRun& operator=(const MacroWatchedRun&) = delete;

private:
    TRunWatch* previous_;
};

// Lives while a box of the program waits for the user, and tells the watch. place: where in the
// program the box is shown (the same place seen again in one run means a loop of boxes).
class MacroUserWait {
public:
    explicit MacroUserWait(long long place);
    ~MacroUserWait();
    MacroUserWait(const MacroUserWait&) = delete;
    MacroUserWait& operator=(const MacroUserWait&) = delete;

private:
    TRunWatch* watch_;
};

// The budget left before the next look at the clock.
extern int stopBudget;

// An exhausted budget: refills it and asks the watch, when the last ask is old enough.
[[gnu::cold]] void macroStopCheck();

// A box of the program was answered: the watch is asked at once, whatever the clock says, so that a
// Stop given while the box was open ends the run here, before the program shows its next box.
void macroStopCheckAfterBox();

// One step of a loop, goto or call.
inline void macroTick()
{
    if (--stopBudget < 0) macroStopCheck();
}

// Runs wait (a Sleep or Beep given the stop question) with the watch asked all through it;
// "stopped" when it answered true.
void macroStoppableWait(const std::function<void(const WaitStop&)>& wait);
