#pragma once
// A tone and a pause, as the macro statements play and sleepfor ask for them. Both block the
// calling thread for the time asked, unless the wait poll (below) ends them early.

// Sounds a tone of the given frequency (hertz) for the given time (milliseconds) and returns when
// the tone has ended. The desktop offers no tone generator here, so the system's alert sound
// stands for the tone; the time is honoured by waiting. A frequency outside 37..32767 Hz plays
// nothing and returns at once with false, as does a negative duration.
bool Beep(int frequency, int duration);

// Waits the given milliseconds.
void Sleep(unsigned milliseconds);

// Asked at the start of every wait of Sleep and Beep and then every WAIT_SLICE_MS while it lasts;
// a true answer ends the wait at once. A caller whose waits must stay interruptible installs one
// for their duration (the macro interpreter does, so that a Stop ends a long sleepfor or play).
using WaitPoll = bool (*)();
constexpr unsigned WAIT_SLICE_MS = 10;
// Installs poll (null: none) and returns the one installed before.
WaitPoll SetWaitPoll(WaitPoll poll);
WaitPoll CurrentWaitPoll();
