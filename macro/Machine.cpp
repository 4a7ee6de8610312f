// The stack machine's memory: program area, value stack, frames, flags, the symbol table with its
// hash index, and the run arena.
#include "macro/Machine.h"

#include "macro/Errors.h"

#include <pthread.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <unordered_map>
#include <vector>

Inst programArea[PROGRAM_CELLS + PROGRAM_GUARD];
int codeBase = 0;
int codeNext = 0;

Datum valueStack[STACK_SIZE];
Datum* stackPtr = valueStack;
int valueCount = 0;

Frame callFrames[FRAME_COUNT];
Frame* currentFrame = callFrames;

int returnFlag = 0;
int breakFlag = 0;
int gotoFlag = 0;
int stopFlag = 0;
double switchValue = 0.0;
int execPos = 0;
int angleMode = 0;

namespace {

// One row per cell: what the emitter wrote there.
CellInfo cells[PROGRAM_CELLS];
// Highest cell written since the last reset, so a reset zeroes only what was used.
int codeHigh = 0;

// --- symbol table --------------------------------------------------------------------------------
// The table lives until the process ends (never destroyed, so no exit-time teardown can leave a
// symbol dangling or unaccounted for).
// Every symbol that is not a number literal, for carrying values over at a run boundary.
std::vector<Symbol*>& allSymbols = *new std::vector<Symbol*>;
// Name -> newest symbol of that name; older ones follow through Symbol::next.
std::unordered_map<std::string_view, Symbol*>& symbolIndex = *new std::unordered_map<std::string_view, Symbol*>;

// The bytes every vector's array holds, against VECTOR_BUDGET.
size_t vectorBytes = 0;

void releaseVector(Symbol* s)
{
    if (s->vecKind == SYM_VEC) {
        delete[] static_cast<double*>(s->vecData);
        vectorBytes -= static_cast<size_t>(s->vecSize) * sizeof(double);
    }
    if (s->vecKind == SYM_STRVEC) {
        delete[] static_cast<char**>(s->vecData);
        vectorBytes -= static_cast<size_t>(s->vecSize) * sizeof(char*);
    }
    s->vecData = nullptr;
    s->vecKind = 0;
    s->vecSize = 0;
}

Symbol* newSymbol(const char* name)
{
    auto* s = new Symbol{};
    size_t n = std::strlen(name);
    s->name = new char[n + 1];
    std::memcpy(s->name, name, n + 1);
    allSymbols.push_back(s);
    return s;
}

Symbol* install(const char* name, int type)
{
    Symbol* s = nullptr;
    if (type == SYM_NUMBER) {
        // Literals are never looked up: one per literal read, gone with the run.
        s = static_cast<Symbol*>(macroAlloc(sizeof(Symbol)));
        *s = Symbol{};
        s->name = macroStrDup(name);
    } else {
        auto it = symbolIndex.find(std::string_view(name));
        if (it == symbolIndex.end()) {
            s = newSymbol(name);
            symbolIndex.emplace(std::string_view(s->name), s);
        } else {
            // Installing a name again: the same names come back at every run, so take over a
            // record an earlier run installed (it would only be hidden) and make it the newest.
            Symbol* prev = nullptr;
            for (Symbol* p = it->second; p; prev = p, p = p->next) {
                if (!installedThisRun(p)) {
                    s = p;
                    break;
                }
            }
            if (s) {
                if (prev) {
                    prev->next = s->next;
                    s->next = it->second;
                    it->second = s;
                }
                releaseVector(s);
            } else {
                s = newSymbol(name);
                s->next = it->second;
                it->second = s;
            }
        }
    }
    s->type = type;
    stampThisRun(s);
    s->u.val = 0.0;
    return s;
}

int vectorSize(Symbol* sym, double n)
{
    double t = std::trunc(n);
    // 8 bytes an element; a vector of more than 16 million elements is a typing slip.
    if (!(t >= 0.0 && t <= 16777216.0)) macroError("bad vector size", sym->name);
    return static_cast<int>(t);
}

int elementIndex(Symbol* sym, double index)
{
    double t = std::trunc(index);
    if (!(t >= 0.0 && t < sym->vecSize)) macroError("index out of range", sym->name);
    return static_cast<int>(t);
}

}  // namespace

// --- program area --------------------------------------------------------------------------------

const std::vector<Symbol*>& symAll() { return allSymbols; }

void initCode()
{
    codeNext = codeBase;
    stackPtr = valueStack;
    currentFrame = callFrames;
    returnFlag = 0;
}

int emitCell(Inst cell, CellKind kind)
{
    if (codeNext >= PROGRAM_CELLS) macroError("program too big", nullptr);
    programArea[codeNext] = cell;
    cells[codeNext] = CellInfo{kind, false, nullptr};
    if (codeNext >= codeHigh) codeHigh = codeNext + 1;
    return codeNext++;
}

int emitInstr(Handler handler, const char* name, int op)
{
    Inst c;
    c.fn = handler;
    int pos = emitCell(c, CellKind::Instr);
    cells[pos].name = name;
    cells[pos].op = op;
    return pos;
}

int emitSym(Symbol* sym)
{
    Inst c;
    c.sym = sym;
    return emitCell(c, CellKind::Symbol);
}

int emitStr(char* text)
{
    Inst c;
    c.str = text;
    return emitCell(c, CellKind::Text);
}

int emitNum(intptr_t number)
{
    Inst c;
    c.num = number;
    return emitCell(c);
}

int emitMath(MathFn fn)
{
    Inst c;
    c.math = fn;
    return emitCell(c, CellKind::Function);
}

int emitStop()
{
    Inst c;
    c.num = 0;
    return emitCell(c, CellKind::Stop);
}

const CellInfo& cellInfo(int pos)
{
    static const CellInfo outside;
    return pos >= 0 && pos < PROGRAM_CELLS ? cells[pos] : outside;
}

void markStatementStart(int pos)
{
    if (pos >= 0 && pos < PROGRAM_CELLS) cells[pos].statementStart = true;
}

void defineRoutine(Symbol* routine)
{
    routine->u.defn = codeBase;
    stampThisRun(routine);
    codeBase = codeNext;
}

// --- stack ---------------------------------------------------------------------------------------

void stackOverpushed()
{
    stackPtr = valueStack;
    valueCount = 0;
    macroError("stack overpushed", nullptr);
}

void stackOverpopped()
{
    valueCount = 0;
    macroError("stack overpopped", nullptr);
}

// --- execution -----------------------------------------------------------------------------------

namespace {

// Control statements run their parts by calling macroExecute again, one native level per nested
// construct, and a goto out of an if part keeps that level: a goto loop nests deeper with every
// pass. Before the thread's stack runs out, the run ends with a run-time error instead of a crash.
const char* stackFloor = nullptr;

void setStackFloor()
{
    pthread_attr_t attr;
    void* low = nullptr;
    size_t size = 0;
    if (pthread_getattr_np(pthread_self(), &attr) != 0) return;
    if (pthread_attr_getstack(&attr, &low, &size) == 0 && low && size > 0) {
        // Keep a quarter of the stack (at least 512 KB) for the handlers, boxes and the unwinding.
        size_t reserve = std::max<size_t>(size / 4, 512 * 1024);
        if (reserve < size) stackFloor = static_cast<const char*>(low) + reserve;
    }
    pthread_attr_destroy(&attr);
}

}  // namespace

void macroCheckNesting()
{
    char probe;
    if (stackFloor && &probe < stackFloor) macroError("program nested too deep", nullptr);
}

void macroExecute(int position)
{
    macroCheckNesting();
    macroRunCells(position);
}

void machineReset()
{
    if (!stackFloor) setStackFloor();
    std::memset(programArea, 0, sizeof(Inst) * static_cast<size_t>(codeHigh));
    std::fill(cells, cells + codeHigh, CellInfo{});
    codeHigh = 0;
    codeBase = codeNext = 0;
    stackPtr = valueStack;
    valueCount = 0;
    currentFrame = callFrames;
    callFrames[0] = Frame{};
    returnFlag = breakFlag = gotoFlag = stopFlag = 0;
    switchValue = 0.0;
    execPos = 0;
    angleMode = 0;
    lifetimeStartRun();
}

// --- symbols -------------------------------------------------------------------------------------

Symbol* symLookup(const char* name)
{
    auto it = symbolIndex.find(std::string_view(name));
    return it == symbolIndex.end() ? nullptr : it->second;
}

Symbol* symInstall(const char* name, int type, double value)
{
    Symbol* s = install(name, type);
    s->u.val = value;
    return s;
}

Symbol* symInstallString(const char* name, int type, char* text)
{
    Symbol* s = install(name, type);
    s->u.str = text;
    return s;
}

namespace {
// The old array goes first, so that declaring a big vector again does not need twice its memory;
// when the new one cannot be had the name owns none, and the run ends with the memory error.
template <class T>
T* newVectorArray(Symbol* sym, double n)
{
    int size = vectorSize(sym, n);
    releaseVector(sym);
    const size_t bytes = static_cast<size_t>(size) * sizeof(T);
    T* data = vectorBytes + bytes > VECTOR_BUDGET ? nullptr : new (std::nothrow) T[static_cast<size_t>(size)]();
    if (!data) macroError("not enought memory", nullptr);
    vectorBytes += bytes;
    sym->vecSize = size;
    return data;
}
}  // namespace

void symMakeVector(Symbol* sym, double n)
{
    double* data = newVectorArray<double>(sym, n);
    sym->vecData = data;
    sym->vecKind = SYM_VEC;
    sym->type = SYM_VEC;
    sym->u.vec = data;
}

void symMakeStrVector(Symbol* sym, double n)
{
    char** data = newVectorArray<char*>(sym, n);
    for (int i = 0; i < sym->vecSize; ++i) data[i] = macroEmptyText();
    sym->vecData = data;
    sym->vecKind = SYM_STRVEC;
    sym->type = SYM_STRVEC;
    sym->u.strvec = data;
}

double* vecElement(Symbol* sym, double index)
{
    if (sym->vecKind != SYM_VEC) macroError("vector not declared", sym->name);
    return static_cast<double*>(sym->vecData) + elementIndex(sym, index);
}

char** strvecElement(Symbol* sym, double index)
{
    if (sym->vecKind != SYM_STRVEC) macroError("vector not declared", sym->name);
    return static_cast<char**>(sym->vecData) + elementIndex(sym, index);
}

// --- random numbers ------------------------------------------------------------------------------

namespace {
unsigned randState = 1;
}

int macroRand()
{
    randState = randState * 214013u + 2531011u;
    return static_cast<int>((randState >> 16) & 0x7fff);
}

void macroSrand(unsigned seed) { randState = seed; }
