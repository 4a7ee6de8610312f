#pragma once
// A tone and a pause, as the macro statements play and sleepfor ask for them. Both block the
// calling thread for the time asked.

// Sounds a tone of the given frequency (hertz) for the given time (milliseconds) and returns when
// the tone has ended. The desktop offers no tone generator here, so the system's alert sound
// stands for the tone; the time is honoured by waiting. A frequency outside 37..32767 Hz plays
// nothing and returns at once with false, as does a negative duration.
bool Beep(int frequency, int duration);

// Waits the given milliseconds.
void Sleep(unsigned milliseconds);
