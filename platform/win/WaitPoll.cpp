// The wait poll lives apart from Sleep and Beep, so that a program that brings its own Sleep and
// Beep (the fuzzer, which must not wait) can still link the code that installs a poll.
#include "platform/win/Sound.h"

#include <utility>

namespace {
WaitPoll waitPoll = nullptr;
}

WaitPoll SetWaitPoll(WaitPoll poll)
{
    std::swap(waitPoll, poll);
    return poll;
}

WaitPoll CurrentWaitPoll() { return waitPoll; }
