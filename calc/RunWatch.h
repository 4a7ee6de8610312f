#pragma once
// Whoever runs pads may keep watch over each run and ask for it to stop: the window answers the
// interpreter's question "stop now?" from its Stop box and the Escape key. The calculation tells
// the watch when a run begins and ends, and the pad host asks it while the run goes on.

class TRunWatch {
public:
    virtual ~TRunWatch() = default;
    virtual void RunStarted() {}
    // Asked often while a program runs (and all through its waits); true ends the run.
    virtual bool StopRequested() { return false; }
    virtual void RunEnded() {}
};

// The watch of the runs to come; null: runs are not watched. The caller keeps ownership.
void SetRunWatch(TRunWatch* watch);
TRunWatch* RunWatch();
