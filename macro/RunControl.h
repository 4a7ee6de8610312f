#pragma once
// Keeping a run stoppable. The host is asked (MacroHost::StopRequested) every few milliseconds
// while a program runs and all through its waits; a true answer ends the run with the run-time
// error "stopped".
//
// Asking the clock at every instruction would cost the loops their speed, so the places where a
// program can go on for ever (a loop's next pass, a goto, a call) count down a budget, and only an
// exhausted budget looks at the clock.

// The budget left before the next look at the clock.
extern int stopBudget;

// An exhausted budget: refills it and asks the host when the last ask is a few ms old.
[[gnu::cold]] void macroStopCheck();

// One step of a loop, goto or call.
inline void macroTick()
{
    if (--stopBudget < 0) macroStopCheck();
}

// Waits through wait(context) (a Sleep or Beep of the platform) with the host asked all through it;
// "stopped" when it answered true.
void macroStoppableWait(void (*wait)(void*), void* context);
