// The mathematical built-ins in the three angle modes, their checked errors, int, rand and stop.
#include "tests/macro/machine_support.h"

#include <cmath>
#include <set>

namespace {

class MathBuiltins : public MachineTest {};

TEST_F(MathBuiltins, TrigonometryFollowsTheAngleMode)
{
    const double pi = 3.141592653589793;
    const struct {
        const char* name;
        int mode;
        MathFn f;
        double x, expected;
    } cases[] = {
        {"sin 30 deg", 0, mathSin, 30, 0.5},
        {"sin 100 grad", 2, mathSin, 100, 1},
        {"sin pi/2 rad", 1, mathSin, pi / 2, 1},
        {"cos 60 deg", 0, mathCos, 60, 0.5},
        {"cos 200 grad", 2, mathCos, 200, -1},
        {"tan 45 deg", 0, mathTan, 45, 1},
        {"tan 50 grad", 2, mathTan, 50, 1},
        {"atan 1 deg", 0, mathAtan, 1, 45},
        {"atan 1 grad", 2, mathAtan, 1, 50},
        {"atan 1 rad", 1, mathAtan, 1, pi / 4},
        {"asin 0.5 deg", 0, mathAsin, 0.5, 30},
        {"acos 0 grad", 2, mathAcos, 0, 100},
        {"acos -1 rad", 1, mathAcos, -1, pi},
    };
    for (const auto& c : cases) {
        angleMode = c.mode;
        EXPECT_NEAR(c.f(c.x), c.expected, 1e-12) << c.name;
    }
    angleMode = 0;
}

TEST_F(MathBuiltins, Atan2FollowsTheAngleMode)
{
    const struct {
        int mode;
        double y, x, expected;
    } cases[] = {
        {0, 1, 1, 45}, {0, 1, -1, 135}, {2, -1, 1, -50}, {1, 0, -1, 3.141592653589793},
    };
    for (const auto& c : cases) {
        NewRun();
        angleMode = c.mode;
        int start = codeNext;
        Const(c.y);
        Const(c.x);
        EMIT(arctan2);
        ASSERT_TRUE(Run(start));
        EXPECT_NEAR(popNum(), c.expected, 1e-12) << "mode " << c.mode << " atan2(" << c.y << ", " << c.x << ")";
    }
}

TEST_F(MathBuiltins, CheckedFunctions)
{
    const struct {
        const char* name;
        MathFn f;
        double x;
        const char* box;  // null: no error
        double expected;
    } cases[] = {
        {"sqrt(-1)", mathSqrt, -1, "Error: sqrt argument out of domain", 0},
        {"sqrt(16)", mathSqrt, 16, nullptr, 4},
        {"exp(1000)", mathExp, 1000, "Error: exp result out of range", 0},
        {"exp(0)", mathExp, 0, nullptr, 1},
        {"log(-1)", mathLog, -1, "Error: log argument out of domain", 0},
        {"log(0)", mathLog, 0, "Error: log result out of range", 0},
        {"log10(1000)", mathLog10, 1000, nullptr, 3},
        {"log10(-5)", mathLog10, -5, "Error: log10 argument out of domain", 0},
    };
    for (const auto& c : cases) {
        NewRun();
        int start = codeNext;
        Const(c.x);
        EMIT(bltin);
        emitMath(c.f);
        bool ok = Run(start);
        if (c.box) {
            EXPECT_FALSE(ok) << c.name;
            EXPECT_EQ(LastBox(), c.box) << c.name;
        } else {
            ASSERT_TRUE(ok) << c.name;
            EXPECT_NEAR(popNum(), c.expected, 1e-12) << c.name;
        }
    }
}

TEST_F(MathBuiltins, IntTruncatesTowardZero)
{
    const struct {
        double x, expected;
    } cases[] = {
        {-2.7, -2}, {2.7, 2}, {-0.5, 0}, {2147483647.9, 2147483647},
        // Beyond 32 bits the truncated value itself, not a wrapped integer.
        {3e10, 3e10}, {-5000000000.5, -5000000000}, {1e300, 1e300},
    };
    for (const auto& c : cases) {
        double r = mathInt(c.x);
        EXPECT_EQ(r, c.expected) << "int(" << c.x << ")";
        EXPECT_FALSE(std::signbit(r) && r == 0) << "int(" << c.x << ") is a negative zero";
    }
}

TEST_F(MathBuiltins, RandStaysInRangeAndReseedsOnlyWhenAsked)
{
    std::set<double> seen;
    for (int i = 0; i < 2000; ++i) {
        double r = mathRand(0);
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
        ASSERT_EQ(r, std::trunc(r));
        seen.insert(r);
    }
    EXPECT_GT(seen.size(), 1000u);
    macroSrand(7);
    double a = mathRand(0), b = mathRand(0);
    macroSrand(7);
    EXPECT_EQ(mathRand(0), a);
    EXPECT_EQ(mathRand(0), b);
}

TEST_F(MathBuiltins, StopEndsEveryStatementThatFollows)
{
    Symbol* x = Var("math_after_stop");
    x->type = SYM_VAR;
    x->u.val = 0;
    int start = codeNext;
    Const(0);
    EMIT(bltin);
    emitMath(mathStop);
    EMIT(discard);
    Const(1);
    Store(x);
    ASSERT_TRUE(Run(start));
    EXPECT_EQ(stopFlag, 1);
    EXPECT_EQ(x->u.val, 0);
    // The next statement of the run does not execute either.
    initCode();
    start = codeNext;
    Const(2);
    Store(x);
    ASSERT_TRUE(Run(start));
    EXPECT_EQ(x->u.val, 0);
    NewRun();
    EXPECT_EQ(stopFlag, 0);
}

}  // namespace
