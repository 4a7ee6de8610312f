// The symbol table across runs: newest-first, case-sensitive lookup; predefined names reinstalled
// at every run without piling up; user variables (and their texts) carried from run to run;
// labels and routines that count only in the run that defined them.
#include "tests/macro/machine_support.h"

#include <cstring>
#include <set>

namespace {

class Symbols : public MachineTest {};

TEST_F(Symbols, LookupIsNewestFirstAndCaseSensitive)
{
    symInstall("sym_Dup", SYM_VAR, 1);
    Symbol* newer = symInstall("sym_Dup", SYM_VAR, 2);
    const struct {
        const char* name;
        Symbol* expected;
    } cases[] = {
        {"sym_Dup", newer}, {"sym_dup", nullptr}, {"SYM_DUP", nullptr}, {"sym_Du", nullptr}, {"sym_Dup ", nullptr},
    };
    for (const auto& c : cases) EXPECT_EQ(symLookup(c.name), c.expected) << c.name;
    EXPECT_EQ(symLookup("sym_Dup")->u.val, 2);
}

TEST_F(Symbols, NumberLiteralsAreNeverLookedUp)
{
    symInstall("1.000000", SYM_NUMBER, 1);
    EXPECT_EQ(symLookup("1.000000"), nullptr);
}

TEST_F(Symbols, ReinstallingInALaterRunReusesTheRecords)
{
    // Two installs of one name in a run (as a table with a repeated name would do).
    Symbol* a1 = symInstall("sym_Kw", 311, 0);
    Symbol* a2 = symInstall("sym_Kw", 311, 0);
    ASSERT_NE(a1, a2);
    std::set<Symbol*> first{a1, a2};
    for (int run = 0; run < 50; ++run) {
        NewRun();
        Symbol* b1 = symInstall("sym_Kw", 311, 0);
        Symbol* b2 = symInstall("sym_Kw", 311, 0);
        EXPECT_NE(b1, b2);
        EXPECT_TRUE(first.count(b1) && first.count(b2)) << "run " << run << " made a new record";
        EXPECT_EQ(symLookup("sym_Kw"), b2);
    }
}

TEST_F(Symbols, AReinstalledConstantHidesWhatTheLastRunAssigned)
{
    symInstall("sym_PI", SYM_VAR, 3.14);
    symLookup("sym_PI")->u.val = 3;  // PI = 3
    EXPECT_EQ(symLookup("sym_PI")->u.val, 3);
    NewRun();
    symInstall("sym_PI", SYM_VAR, 3.14);
    EXPECT_EQ(symLookup("sym_PI")->u.val, 3.14);
}

TEST_F(Symbols, UserVariablesKeepTheirValuesFromRunToRun)
{
    Symbol* x = Var("sym_keep");
    int start = codeNext;
    Const(5);
    Store(x);
    EMIT(discard);
    ASSERT_TRUE(Run(start));
    for (int i = 0; i < 3; ++i) NewRun();
    ASSERT_EQ(symLookup("sym_keep"), x);
    EXPECT_EQ(x->type, SYM_VAR);
    EXPECT_EQ(x->u.val, 5);
}

TEST_F(Symbols, TextsOfUserVariablesOutliveTheirRun)
{
    // One from the string store (a predefined's value), one from the run arena, one shared.
    Symbol* fromStore = Var("sym_store$");
    Symbol* fromArena = Var("sym_arena$");
    Symbol* shared = Var("sym_shared$");
    Symbol* vec = Var("sym_vec$");
    symMakeStrVector(vec, 2);
    const struct {
        Symbol* target;
        char* text;
    } assignments[] = {
        {fromStore, StoreMacroString("from the store")},
        {fromArena, macroStrDup("from the arena")},
        {shared, nullptr},
    };
    for (const auto& a : assignments) {
        int start = codeNext;
        EMIT(strpush);
        emitStr(a.text ? a.text : fromArena->u.str);
        EMIT(varpush);
        emitSym(a.target);
        EMIT(strassign);
        EMIT(discard);
        ASSERT_TRUE(Run(start));
        initCode();
    }
    *strvecElement(vec, 1) = macroStrDup("element");
    for (int run = 0; run < 4; ++run) {
        NewRun();
        // Fill the new store and arena, as a run would, over whatever the last run used.
        for (int i = 0; i < 255; ++i) StoreMacroString("xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx");
        for (int i = 0; i < 1000; ++i) std::memset(macroStrDup("yyyyyyyyyyyyyyyyyyyy"), 'z', 20);
        EXPECT_STREQ(fromStore->u.str, "from the store") << "run " << run;
        EXPECT_STREQ(fromArena->u.str, "from the arena") << "run " << run;
        EXPECT_EQ(shared->u.str, fromArena->u.str) << "run " << run;
        EXPECT_STREQ(*strvecElement(vec, 1), "element") << "run " << run;
        EXPECT_STREQ(*strvecElement(vec, 0), "") << "run " << run;
    }
}

TEST_F(Symbols, ALabelCountsOnlyInTheRunThatDefinedIt)
{
    Symbol* label = Var("sym_loop");
    EXPECT_FALSE(labelFromThisRun(label));
    defineLabel(label, 3);
    EXPECT_TRUE(labelFromThisRun(label));
    NewRun();
    EXPECT_FALSE(labelFromThisRun(label));  // the next calculation may define it again
    int start = codeNext;
    EMIT(gotocode);
    emitSym(label);
    EXPECT_FALSE(Run(start));
    EXPECT_EQ(LastBox(), "Error: undefined label: sym_loop");
}

TEST_F(Symbols, ARoutineLeftByAnEarlierRunIsNotCalled)
{
    Symbol* f = Var("sym_f");
    f->type = SYM_PROCEDURE;
    EMIT(procret);
    defineRoutine(f);
    initCode();
    int start = codeNext;
    EMIT(call);
    emitSym(f);
    emitNum(0);
    ASSERT_TRUE(Run(start));
    NewRun();
    start = codeNext;
    EMIT(call);
    emitSym(f);
    emitNum(0);
    EXPECT_FALSE(Run(start));
    EXPECT_EQ(LastBox(), "Error: undefined routine sym_f");
}

TEST_F(Symbols, RunStartResetsTheMachine)
{
    angleMode = 2;
    stopFlag = 1;
    pushNum(1);
    for (int i = 0; i < 60; ++i) Const(i);
    NewRun();
    EXPECT_EQ(angleMode, 0);
    EXPECT_EQ(stopFlag, 0);
    EXPECT_EQ(valueCount, 0);
    EXPECT_EQ(codeNext, 0);
    EXPECT_EQ(codeBase, 0);
    EXPECT_EQ(programArea[50].num, 0);
}

}  // namespace
