#pragma once
// Hand-assembled cells for testing the machine's instructions before (and apart from) the grammar:
// emit instructions and operands, patch jump cells, run a top-level sequence the way the run loop
// does, and read the error box a failure showed.
#include "macro/Errors.h"
#include "macro/Lexer.h"
#include "macro/Machine.h"
#include "macro/Macromain.h"
#include "tests/common/DialogRecorder.h"

#include <QString>
#include <gtest/gtest.h>
#include <string>

#define EMIT(h) emitInstr(h, #h, -1)

class MachineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Boxes name no file, whatever ran before in this process.
        macroInputName = nullptr;
        macroReaderStart(nullptr);
        ResetMacroStrings();
        machineReset();
        initCode();
    }
    void TearDown() override { ClearMacroStrings(); }

    // A fresh run, as the run entry starts one.
    void NewRun()
    {
        ClearMacroStrings();
        ResetMacroStrings();
        machineReset();
        initCode();
    }

    static Symbol* Num(double v) { return symInstall("0.000000", SYM_NUMBER, v); }
    static Symbol* Var(const char* name)
    {
        Symbol* s = symLookup(name);
        return s ? s : symInstall(name, SYM_UNDEF, 0.0);
    }
    // constpush v
    static void Const(double v)
    {
        EMIT(constpush);
        emitSym(Num(v));
    }
    // varpush s, eval
    static void Value(Symbol* s)
    {
        EMIT(varpush);
        emitSym(s);
        EMIT(eval);
    }
    // value on the stack -> s = value (left on the stack)
    static void Store(Symbol* s)
    {
        EMIT(varpush);
        emitSym(s);
        EMIT(assign);
    }
    static void Patch(int cell, int position) { programArea[cell].num = position; }

    // Ends the statement begun at start with STOP and runs it; false when it failed.
    bool Run(int start)
    {
        emitStop();
        return Exec(start);
    }
    static bool Exec(int start)
    {
        try {
            macroExecute(start);
            return true;
        } catch (const MacroRunError&) {
            return false;
        }
    }
    // The text of the last box shown.
    std::string LastBox() const
    {
        return rec.calls.empty() ? std::string() : rec.calls.back().text.toStdString();
    }
    int Depth() const { return static_cast<int>(stackPtr - valueStack); }

    DialogRecorder rec;
};
