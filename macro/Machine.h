#pragma once
// The macro interpreter's stack machine: values, the symbol table, the program area, the value
// stack, the call frames and the flags through which instructions steer execution. One interpreter,
// one run at a time: all of it is module-level state.
//
// Memory over a long session. Every run installs the same 1,090 predefined names again; the
// symbol table keeps one record per name and reuses a record that an earlier run installed
// instead of stacking new ones, so the table does not grow with the number of runs. Number literals
// and the texts written in the program come from a run arena that the next run frees, after the
// texts that user variables still hold have been copied over (user variables keep their values
// from one run to the next); the texts string instructions make are freed as soon as nothing
// reaches them (Lifetime.h).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "macro/Lifetime.h"

// The machine's state is read and written by every instruction. The build makes position-
// independent code, which would reach each of these variables through an address table; hidden
// visibility (nothing here is ever exported from a shared library) lets the compiler address them
// directly.
#pragma GCC visibility push(hidden)

struct Symbol;

// One value slot of the stack. It carries no tag: each instruction knows from the grammar which
// kind it pops.
union Datum {
    double val;   // numbers, truth values, vector elements
    Symbol* sym;  // pushed by varpush
    char* str;    // NUL-terminated 8-bit text
};
static_assert(sizeof(Datum) == 8);

// An instruction handler: no arguments, no result; it reads its operand cells at execPos and
// works on the value stack.
using Handler = void (*)();
// A mathematical built-in of one argument (the value of a SYM_BLTIN symbol).
using MathFn = double (*)(double);

// One cell of the program area: a handler, a symbol, a text, or a number (a cell position, an
// argument number, an argument count). The all-zero cell is STOP.
union Inst {
    Handler fn;
    Symbol* sym;
    char* str;
    MathFn math;  // the operand of bltin
    intptr_t num;
};
static_assert(sizeof(Inst) == sizeof(void*));

// Symbol types: the parser's token numbers (the generated grammar header must agree with these).
enum : int {
    SYM_BLTIN = 262,      // mathematical built-in of one argument; u.ptr
    SYM_FUNCTION = 279,   // routine defined with func; u.defn = its first cell
    SYM_LABEL = 291,      // jump target; u.defn = its cell
    SYM_NUMBER = 308,     // a numeric literal of the program text; u.val
    SYM_PROCEDURE = 314,  // routine defined with proc; u.defn
    SYM_STRVAR = 381,     // string variable; u.str
    SYM_STRVEC = 382,     // string vector; u.strvec
    SYM_UNDEF = 386,      // name seen but never assigned
    SYM_VAR = 388,        // numeric variable (also the constants and numeric predefined names); u.val
    SYM_VEC = 389,        // numeric vector; u.vec
};

struct Symbol {
    char* name = nullptr;  // the symbol's own copy, case kept
    int type = 0;          // a token number (above, or a keyword's token)
    union {
        double val;
        char* str;
        double* vec;
        char** strvec;
        MathFn ptr;
        intptr_t defn;
    } u{};
    Symbol* next = nullptr;  // the next older symbol of the same name (the one this one hides)

    // Machine bookkeeping; instructions should use the helpers below rather than these.
    int vecSize = 0;            // elements of the vector it owns (0: none)
    int vecKind = 0;            // what it owns: 0 nothing, SYM_VEC numbers, SYM_STRVEC texts
    void* vecData = nullptr;    // the owned array (u.vec / u.strvec point at it while the type says so)

private:
    friend struct RunStamp;     // Lifetime.cpp: the run that installed it or defined it
    unsigned runStamp_ = 0;
};

// --- limits -------------------------------------------------------------------------------------
constexpr int PROGRAM_CELLS = 49152;
constexpr int STACK_SIZE = 8192;
constexpr int FRAME_COUNT = 1024;  // frame 0 is the base; calls use frames 1 to 1,023
constexpr int TEXT_BUFFER = 512;   // output and message texts: 511 characters and a NUL
// The most bytes all vectors may hold together: four of the largest size. A program that declares
// more (a pad of a few hundred vector lines) gets "not enought memory", long before the machine
// runs out of memory.
constexpr size_t VECTOR_BUDGET = size_t(512) << 20;

// --- program area ------------------------------------------------------------------------------
// A few STOP cells beyond the last usable one, which nothing writes, so that reading operand cells
// can never leave the area.
constexpr int PROGRAM_GUARD = 8;
extern Inst programArea[PROGRAM_CELLS + PROGRAM_GUARD];
extern int codeBase;  // first cell of the statement being compiled; below it, routine definitions
extern int codeNext;  // next free cell

// Prepares for the next top-level statement: codeNext = codeBase, value stack emptied (its count
// is kept), frames back to the base, returnFlag cleared.
void initCode();
// What the emitter wrote into each cell, kept beside the cell and rewritten with it: the code
// listing reads it, and a goto reads it to tell a statement's first cell from the middle of one.
enum class CellKind : unsigned char {
    Stop,      // the zero cell that ends a sequence
    Instr,     // an instruction; CellInfo::name says which
    Symbol,    // a symbol operand (variable, vector, routine, label)
    Number,    // the symbol of a numeric literal
    Text,      // a string or format literal
    Position,  // a jump target or the start of a sub-sequence
    Count,     // an argument number or count
    Function,  // the function of a mathematical built-in
};
struct CellInfo {
    CellKind kind = CellKind::Stop;
    // A statement starts here (or a statement list ends here): running from this cell runs whole
    // statements only, so a goto may lead here and nowhere else.
    bool statementStart = false;
    const char* name = nullptr;  // the instruction's listing name, for an Instr cell
    int op = -1;                 // which instruction (an Op), for an Instr cell
};
// Writes one cell at codeNext and returns its position; "program too big" when the area is full.
int emitCell(Inst cell, CellKind kind = CellKind::Count);
// An instruction cell; name goes into the code listing.
int emitInstr(Handler handler, const char* name, int op);
// Operand cells.
int emitSym(Symbol* sym);
int emitStr(char* text);
int emitNum(intptr_t number);  // a cell position, an argument number or count
int emitMath(MathFn fn);       // the function cell after bltin
int emitStop();
// What was written into a cell (a STOP row outside the area).
const CellInfo& cellInfo(int pos);
// The code emitter marks each statement's first cell, and the STOP that ends a statement list.
void markStatementStart(int pos);
// End of a func or proc definition: the routine starts at codeBase, which moves to codeNext so the
// definition's cells stay for later calls in this run.
void defineRoutine(Symbol* routine);

// --- value stack ---------------------------------------------------------------------------------
extern Datum valueStack[STACK_SIZE];
extern Datum* stackPtr;  // next free slot
extern int valueCount;   // pushes less pops since the run started (initCode does not reset it)

[[noreturn]] void stackOverpushed();
[[noreturn]] void stackOverpopped();

inline void stackPush(Datum d)
{
    if (valueCount == STACK_SIZE) stackOverpushed();
    *stackPtr++ = d;
    ++valueCount;
}
inline Datum stackPop()
{
    if (stackPtr == valueStack) stackOverpopped();
    --valueCount;
    return *--stackPtr;
}
inline void pushNum(double v) { Datum d; d.val = v; stackPush(d); }
inline void pushStr(char* s) { Datum d; d.str = s; stackPush(d); }
inline void pushSym(Symbol* s) { Datum d; d.sym = s; stackPush(d); }
inline double popNum() { return stackPop().val; }
inline char* popStr() { return stackPop().str; }
inline Symbol* popSym() { return stackPop().sym; }
// A text that may be missing reads as the empty one, so no handler ever follows a null.
inline const char* textOrEmpty(const char* s) { return s ? s : ""; }

// --- call frames ---------------------------------------------------------------------------------
struct Frame {
    Symbol* routine;  // null for the base frame
    int returnPos;    // where execution resumes after the return
    Datum* lastArg;   // the last argument on the value stack
    int argCount;
};
extern Frame callFrames[FRAME_COUNT];
extern Frame* currentFrame;

// --- flags and registers -------------------------------------------------------------------------
extern int returnFlag;  // set by a return; ends every macroExecute loop in progress
extern int breakFlag;   // set by break; loops, switch, case and default act on it
extern int gotoFlag;    // set by goto, cleared by each if
extern int stopFlag;    // set by stop and by a syntax error; ends all execution in this run
extern double switchValue;
extern int execPos;     // the cell macroExecute reads next
extern int angleMode;   // 0 degrees, 1 radians, 2 grads; the host's SetZRQty sets it

// Runs cells from position until a STOP cell, a return or a stop.
void macroExecute(int position);
// The loop of macroExecute without its check of the native stack, inlined into the loops that run
// their parts again and again (they check the stack once on entry, with macroCheckNesting).
[[gnu::always_inline]] inline void macroRunCells(int position)
{
    execPos = position;
    for (;;) {
        Handler h = programArea[execPos].fn;
        if (!h || (returnFlag | stopFlag)) return;
        ++execPos;
        h();
    }
}
// "program nested too deep" before the native stack runs out.
void macroCheckNesting();

// --- run life cycle ------------------------------------------------------------------------------
// The start of every run: zeroes the program area, codeBase = codeNext = 0, empty stack and
// valueCount = 0, base frame, stopFlag, returnFlag, breakFlag and gotoFlag cleared, angle mode
// degrees; then starts a new run (Lifetime.h: what carries over and what goes). Call it before
// macroInit installs the predefined names.
void machineReset();

// --- symbol table --------------------------------------------------------------------------------
// The newest symbol of that name (case-sensitive, byte for byte), or null.
Symbol* symLookup(const char* name);
// A new symbol at the head of the list, hiding older ones of the same name. Installing a name
// again that an earlier run installed reuses that record. A SYM_NUMBER symbol is a literal: it
// lives in the run arena and is never found by symLookup.
Symbol* symInstall(const char* name, int type, double value);
// The same with a text value: the pointer itself is stored (no copy).
Symbol* symInstallString(const char* name, int type, char* text);
// Every symbol record of the session (number literals aside), oldest first.
const std::vector<Symbol*>& symAll();

// Vectors: the declaration gives the symbol a fresh array (numbers start at 0.0, texts at "").
// n is truncated toward zero; a negative or huge size is a run-time error.
void symMakeVector(Symbol* sym, double n);
void symMakeStrVector(Symbol* sym, double n);
// Element index of a vector the symbol owns; "index out of range" (or "vector not declared" when
// it owns none of that kind) with the vector's name.
double* vecElement(Symbol* sym, double index);
char** strvecElement(Symbol* sym, double index);

// --- helpers shared with the built-ins -----------------------------------------------------------
// The interpreter's pseudo-random generator: integers 0 to 32767 (rand and qsort draw from it).
int macroRand();
void macroSrand(unsigned seed);
// Formats one number with a user-supplied printf format into buf (size bytes, always
// NUL-terminated, cut when longer). Only the first conversion takes the number: e, f, g, a take it
// as a double; d, i, o, u, x, X, c take it truncated to an integer; s takes its "%.8g" text. Any
// later conversion, and those that would read memory or write through a pointer (n, p, *), are
// written out as they stand. Width and precision are capped at 511. Returns the length written.
int macroFormatNumber(char* buf, size_t size, const char* format, double value);
// The same for one text: the first s conversion takes it; a numeric conversion takes 0.
int macroFormatText(char* buf, size_t size, const char* format, const char* text);

// --- instructions of the machine (Exec.cpp, Operands.cpp) ----------------------------------------
// Control flow, calls and output.
void whilecode();
void forcode();
void ifcode();
void switchcode();
void casecode();
void defaultcode();
void brkout();
void gotocode();
void call();
void funcret();
void procret();
void arg();
void argassign();
void discard();
void prexpr();
void prstr();
void prstrexpr();
void prfmt();
void prfmtstr();
void prstrask();
void prstrask2();
void askyesno();
void askyesno2();
// Operands, arithmetic, comparisons and assignment. and, or and not are C++ words: their handlers
// carry a trailing underscore; their instruction names stay "and", "or" and "not".
void constpush();
void varpush();
void strpush();
void bltin();
void eval();
void exch();
void varread();
void add();
void sub();
void mul();
void ddiv();
void mod();
void power();
void negate();
void arctan2();
void gt();
void ge();
void lt();
void le();
void eq();
void ne();
void and_();
void or_();
void not_();
void eqstr();
void nestr();
void streq();
void assign();
void strassign();
void incr();
void decr();

// --- mathematical built-ins (MathBuiltins.cpp) ---------------------------------------------------
double degToRad(double x);
double radToDeg(double x);
double gradToRad(double x);
double radToGrad(double x);
double mathSin(double x);
double mathCos(double x);
double mathTan(double x);
double mathAsin(double x);
double mathAcos(double x);
double mathAtan(double x);
double mathLog(double x);
double mathLog10(double x);
double mathExp(double x);
double mathSqrt(double x);
double mathInt(double x);
double mathAbs(double x);
double mathRand(double x);
double mathStop(double x);
double mathPow(double x, double y);
double mathAtan2(double y, double x);
// After a C library call: a domain error reports name with "argument out of domain", a range
// error name with "result out of range"; otherwise returns value. Clear errno before the call.
double mathErrCheck(double value, const char* name);

#pragma GCC visibility pop
