// Sleep and Beep wait the time asked, in slices, and the caller's stop question ends them at once.
#include "platform/win/Sound.h"

#include <chrono>
#include <gtest/gtest.h>

namespace {

int polls = 0;
int stopAt = 0;
const WaitStop kPoll = [] { return ++polls >= stopAt; };

double Seconds(void (*wait)())
{
    const auto start = std::chrono::steady_clock::now();
    wait();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(Sound, WaitsEndWhenThePollSaysSo)
{
    struct Case {
        const char* what;
        void (*wait)();
    } const cases[] = {
        // Long against the slices, yet short enough that a stop not heard fails within seconds.
        {"sleep of three seconds", [] { Sleep(3000, kPoll); }},
        {"tone of three seconds", [] { EXPECT_TRUE(Beep(440, 3000, kPoll)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        polls = 0;
        stopAt = 3;
        const double seconds = Seconds(c.wait);
        EXPECT_EQ(polls, 3);
        // Two slices of 10 ms, with room for a loaded machine.
        EXPECT_GE(seconds, 0.015);
        EXPECT_LT(seconds, 1.0);
    }
}

TEST(Sound, WaitsTheTimeAskedWithoutAPoll)
{
    EXPECT_GE(Seconds([] { Sleep(35); }), 0.035);
    EXPECT_GE(Seconds([] { EXPECT_TRUE(Beep(440, 25)); }), 0.025);
    // Nothing to play: no wait at all.
    EXPECT_LT(Seconds([] { EXPECT_FALSE(Beep(20, 5000)); }), 0.5);
    EXPECT_LT(Seconds([] { EXPECT_FALSE(Beep(440, -1)); }), 0.5);
}

}  // namespace
