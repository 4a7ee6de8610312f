#pragma once
// A tone and a pause, as the macro statements play and sleepfor ask for them. Both block the
// calling thread for the time asked, unless the caller's stop question (below) ends them early.
#include <functional>

// Asked at the start of a wait and then every WAIT_SLICE_MS while it lasts; true ends the wait at
// once. Empty: the wait lasts the whole time.
using WaitStop = std::function<bool()>;
constexpr unsigned WAIT_SLICE_MS = 10;

// Sounds a tone of the given frequency (hertz) for the given time (milliseconds) and returns when
// the tone has ended. The desktop offers no tone generator here, so the system's alert sound
// stands for the tone; the time is honoured by waiting. A frequency outside 37..32767 Hz plays
// nothing and returns at once with false, as does a negative duration.
bool Beep(int frequency, int duration, const WaitStop& stop = {});

// Waits the given milliseconds.
void Sleep(unsigned milliseconds, const WaitStop& stop = {});
