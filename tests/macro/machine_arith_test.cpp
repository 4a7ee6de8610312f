// Arithmetic, comparisons and logic on the value stack: results, the 1e-8 tolerance, and the
// run-time errors with the texts the error box shows.
#include "tests/macro/machine_support.h"

#include <cmath>
#include <limits>

namespace {

struct BinaryCase {
    const char* name;
    Handler op;
    double a, b, expected;
};

const double NaN = std::numeric_limits<double>::quiet_NaN();

class Arith : public MachineTest {
protected:
    // a op b, the result left on the stack
    double Binary(Handler op, double a, double b)
    {
        int start = codeNext;
        Const(a);
        Const(b);
        emitInstr(op, "op", -1);
        EXPECT_TRUE(Run(start));
        EXPECT_EQ(Depth(), 1);
        return popNum();
    }
};

TEST_F(Arith, BinaryResults)
{
    const BinaryCase cases[] = {
        {"1 + 2", add, 1, 2, 3},
        {"1 - 2", sub, 1, 2, -1},
        {"3 * 4", mul, 3, 4, 12},
        {"8 / 4", ddiv, 8, 4, 2},
        {"7 % 2.5 (both truncated)", mod, 7, 2.5, 1},
        {"-7 % 2 (sign of a)", mod, -7, 2, -1},
        {"7 % -2", mod, 7, -2, 1},
        {"-4 % 2 is 0, not -0", mod, -4, 2, 0},
        {"beyond 32 bits: 1e10 % 7", mod, 1e10, 7, std::fmod(1e10, 7)},
        {"2 ^ 10", power, 2, 10, 1024},
        {"2 ^ 0.5", power, 2, 0.5, std::sqrt(2.0)},
        {"1 == 1.000000001", eq, 1, 1.000000001, 1},
        {"1 == 1.00000002", eq, 1, 1.00000002, 0},
        {"1 != 1.000000001", ne, 1, 1.000000001, 0},
        {"1 != 1.00000002", ne, 1, 1.00000002, 1},
        {"1 > 0.999999999", gt, 1, 0.999999999, 0},
        {"1 >= 0.999999999", ge, 1, 0.999999999, 1},
        {"1 > 0.9999", gt, 1, 0.9999, 1},
        {"0.999999999 < 1", lt, 0.999999999, 1, 0},
        {"0.999999999 <= 1", le, 0.999999999, 1, 1},
        {"2 < 1", lt, 2, 1, 0},
        {"2 <= 1", le, 2, 1, 0},
        {"NaN == NaN", eq, NaN, NaN, 0},
        {"NaN != 1", ne, NaN, 1, 1},
        {"NaN >= 1", ge, NaN, 1, 0},
        {"0.00000001 and 1 (strict zero test)", and_, 0.00000001, 1, 1},
        {"0 and 1", and_, 0, 1, 0},
        {"0 or 0.000000001", or_, 0, 0.000000001, 1},
        {"0 or 0", or_, 0, 0, 0},
        {"NaN and 1 (NaN is true)", and_, NaN, 1, 1},
    };
    for (const auto& c : cases) {
        NewRun();
        EXPECT_EQ(Binary(c.op, c.a, c.b), c.expected) << c.name;
    }
}

TEST_F(Arith, UnaryResults)
{
    struct Case {
        const char* name;
        Handler op;
        double x, expected;
    } cases[] = {
        {"not 0.000000001", not_, 0.000000001, 1},
        {"not 0.00000002", not_, 0.00000002, 0},
        {"not 0", not_, 0, 1},
        {"not NaN", not_, NaN, 0},
        {"(-) 2", negate, 2, -2},
    };
    for (const auto& c : cases) {
        NewRun();
        int start = codeNext;
        Const(c.x);
        emitInstr(c.op, "op", -1);
        ASSERT_TRUE(Run(start)) << c.name;
        EXPECT_EQ(popNum(), c.expected) << c.name;
    }
}

TEST_F(Arith, ErrorsShowTheirBox)
{
    const struct {
        const char* name;
        Handler op;
        double a, b;
        const char* box;
    } cases[] = {
        {"1 / 0", ddiv, 1, 0, "Error: division by zero"},
        {"7 % 0", mod, 7, 0, "Error: mod: division by zero"},
        {"7 % 0.5 (b truncates to 0)", mod, 7, 0.5, "Error: mod: division by zero"},
        {"atan2(1, 0)", arctan2, 1, 0, "Error: division by zero"},
        {"0 ^ -1", power, 0, -1, "Error: exponentiation result out of range"},
        {"-8 ^ 0.5", power, -8, 0.5, "Error: exponentiation argument out of domain"},
        {"10 ^ 400", power, 10, 400, "Error: exponentiation result out of range"},
    };
    for (const auto& c : cases) {
        NewRun();
        int start = codeNext;
        Const(c.a);
        Const(c.b);
        emitInstr(c.op, "op", -1);
        EXPECT_FALSE(Run(start)) << c.name;
        EXPECT_EQ(LastBox(), c.box) << c.name;
    }
}

TEST_F(Arith, StringComparisons)
{
    char abc[] = "abc", abc2[] = "abc", abd[] = "abd";
    const struct {
        Handler op;
        char *a, *b;
        double expected;
    } cases[] = {
        {eqstr, abc, abc2, 1}, {eqstr, abc, abd, 0}, {nestr, abc, abd, 1},
        {nestr, abc, abc2, 0}, {streq, abc, abc2, 1}, {streq, abd, abc, 0},
    };
    for (const auto& c : cases) {
        NewRun();
        pushStr(c.a);
        pushStr(c.b);
        c.op();
        EXPECT_EQ(popNum(), c.expected) << c.a << " vs " << c.b;
    }
}

TEST_F(Arith, AssignmentAndIncrement)
{
    Symbol* x = Var("arith_x");
    int start = codeNext;
    Const(5);
    Store(x);  // x = 5, value stays
    EMIT(discard);
    EMIT(varpush);
    emitSym(x);
    EMIT(incr);
    EMIT(assign);  // x++ leaves the new value
    ASSERT_TRUE(Run(start));
    EXPECT_EQ(x->type, SYM_VAR);
    EXPECT_EQ(x->u.val, 6);
    EXPECT_EQ(popNum(), 6);
    EXPECT_EQ(Depth(), 0);
}

TEST_F(Arith, AssignmentErrors)
{
    Symbol* s = Var("arith_s$");
    static char text[] = "t";  // the variable keeps it past the test
    s->type = SYM_STRVAR;
    s->u.str = text;
    Symbol* n = Var("arith_n");
    Symbol* u = Var("arith_never_set");
    const struct {
        const char* name;
        Symbol* target;
        Handler op;
        const char* box;
    } cases[] = {
        {"number into a string variable", s, assign, "Error: assignment to non-variable arith_s$"},
        {"reading an unset name", u, eval, "Error: undefined variable \"arith_never_set\""},
        {"incrementing an unset name", u, incr, "Error: undefined variable \"arith_never_set\""},
        {"incrementing a string", s, incr, "Error: attempt to increment non-variable arith_s$"},
    };
    n->type = SYM_VAR;
    for (const auto& c : cases) {
        int start = codeNext;
        Const(1);
        EMIT(varpush);
        emitSym(c.target);
        emitInstr(c.op, "op", -1);
        EXPECT_FALSE(Run(start)) << c.name;
        EXPECT_EQ(LastBox(), c.box) << c.name;
        NewRun();
    }
}

TEST_F(Arith, EvaluatingARoutineShowsNoDetail)
{
    Symbol* f = Var("arith_routine");
    f->type = SYM_PROCEDURE;
    int start = codeNext;
    Value(f);
    EXPECT_FALSE(Run(start));
    EXPECT_EQ(LastBox(), "Error: attempt to evaluate non-variable");
}

}  // namespace
