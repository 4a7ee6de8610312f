// The machine's fixed limits and their messages: 8,192 stack values and 49,152 program cells
// (nested calls: machine_program_test); and the checks on vector indexes.
#include "tests/macro/machine_support.h"

#include <cmath>

namespace {

class Limits : public MachineTest {};

TEST_F(Limits, StackHolds8192ValuesAndEmptiesWhenOverpushed)
{
    for (int i = 0; i < STACK_SIZE; ++i) pushNum(i);
    EXPECT_EQ(valueCount, STACK_SIZE);
    EXPECT_THROW(pushNum(1), MacroRunError);
    EXPECT_EQ(LastBox(), "Error: stack overpushed");
    EXPECT_EQ(Depth(), 0);
    EXPECT_EQ(valueCount, 0);
}

TEST_F(Limits, PushesLeftBehindByEarlierStatementsCountTowardTheLimit)
{
    for (int i = 0; i < 5; ++i) pushNum(i);
    initCode();  // the next statement starts with an empty stack, but the count stays
    EXPECT_EQ(Depth(), 0);
    for (int i = 0; i < STACK_SIZE - 5; ++i) pushNum(i);
    EXPECT_THROW(pushNum(1), MacroRunError);
    EXPECT_EQ(LastBox(), "Error: stack overpushed");
    NewRun();
    EXPECT_EQ(valueCount, 0);
}

TEST_F(Limits, PopFromAnEmptyStack)
{
    int start = codeNext;
    EMIT(discard);
    EXPECT_FALSE(Run(start));
    EXPECT_EQ(LastBox(), "Error: stack overpopped");
    EXPECT_EQ(valueCount, 0);
}

TEST_F(Limits, ProgramAreaEndsAtCell49152)
{
    codeNext = PROGRAM_CELLS - 1;
    EXPECT_EQ(emitStop(), PROGRAM_CELLS - 1);
    EXPECT_THROW(emitStop(), MacroRunError);
    EXPECT_EQ(LastBox(), "Error: program too big");
    EXPECT_EQ(codeNext, PROGRAM_CELLS);
}

TEST_F(Limits, VectorIndexes)
{
    Symbol* v = Var("limits_v");
    symMakeVector(v, 3);
    EXPECT_EQ(v->type, SYM_VEC);
    *vecElement(v, 2.9) = 7;  // indexes truncate toward zero
    EXPECT_EQ(v->u.vec[2], 7);
    const struct {
        const char* name;
        double index;
    } bad[] = {{"3 (the size)", 3}, {"-1", -1}, {"NaN", std::nan("")}, {"1e30", 1e30}};
    for (const auto& c : bad) {
        EXPECT_THROW(vecElement(v, c.index), MacroRunError) << c.name;
        EXPECT_EQ(LastBox(), "Error: index out of range limits_v") << c.name;
    }
    EXPECT_EQ(*vecElement(v, -0.5), 0);  // truncates to 0
    Symbol* plain = Var("limits_plain");
    EXPECT_THROW(vecElement(plain, 0), MacroRunError);
    EXPECT_EQ(LastBox(), "Error: vector not declared limits_plain");
    EXPECT_THROW(strvecElement(v, 0), MacroRunError);
    EXPECT_THROW(symMakeVector(v, -1), MacroRunError);
    EXPECT_EQ(LastBox(), "Error: bad vector size limits_v");
}

TEST_F(Limits, EvalReadsVectorElements)
{
    Symbol* v = Var("limits_ev");
    Symbol* s = Var("limits_es$");
    symMakeVector(v, 4);
    symMakeStrVector(s, 2);
    v->u.vec[3] = 42;
    EXPECT_STREQ(*strvecElement(s, 1), "");  // never assigned: the empty text
    static char hello[] = "hello";  // the variable keeps it past the test
    *strvecElement(s, 0) = hello;
    int start = codeNext;
    Const(3);
    Value(v);
    Const(0);
    Value(s);
    ASSERT_TRUE(Run(start));
    EXPECT_STREQ(popStr(), "hello");
    EXPECT_EQ(popNum(), 42);
    EXPECT_EQ(Depth(), 0);
}

}  // namespace
