// Operands, arithmetic, comparisons and assignment. These run in every loop pass, so each works on
// the top of the stack in place where a pop and a push would cancel out.
#include "macro/BuiltinSupport.h"
#include "macro/Builtins.h"
#include "macro/Errors.h"
#include "macro/Fuse.h"
#include "macro/Lexer.h"
#include "macro/Machine.h"
#include "macro/Macromain.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace {

constexpr double kTolerance = 1e-8;

inline Datum& top()
{
    if (stackPtr == valueStack) stackOverpopped();
    return stackPtr[-1];
}

inline bool near(double a, double b) { return std::fabs(a - b) < kTolerance; }

inline double truth(bool b) { return b ? 1.0 : 0.0; }

// The variables that eval, assign, incr and decr take as numbers; the fused forms ask the same
// before they take their short way. eval reads, and incr and decr step, one that holds a number.
[[gnu::always_inline]] inline bool holdsNumber(const Symbol* s) { return s->type == SYM_VAR; }
// assign stores a number into a variable that holds one or has never been assigned.
[[gnu::always_inline]] inline bool takesNumber(const Symbol* s)
{
    return s->type == SYM_VAR || s->type == SYM_UNDEF;
}
// assign's store: from now on the variable holds a number.
[[gnu::always_inline]] inline void storeNumber(Symbol* s, double v)
{
    s->u.val = v;
    s->type = SYM_VAR;
}

const char* text(const char* s) { return textOrEmpty(s); }

}  // namespace

// The instructions that fused forms combine are written as bodies that are always inlined, so that
// a fused form runs as one straight piece of code; each handler just calls its body.
#define INSTRUCTION(name)                                  \
    namespace body {                                       \
    [[gnu::always_inline]] inline void name();             \
    }                                                      \
    void name() { body::name(); }                          \
    [[gnu::always_inline]] inline void body::name()

// --- operands ------------------------------------------------------------------------------------

// constpush ‹number symbol›
INSTRUCTION(constpush) { pushNum(programArea[execPos++].sym->u.val); }

// varpush ‹symbol›
INSTRUCTION(varpush) { pushSym(programArea[execPos++].sym); }

// strpush ‹text or symbol›: the cell's word as it stands.
void strpush() { pushStr(programArea[execPos++].str); }

// bltin ‹function›
void bltin()
{
    MathFn f = programArea[execPos++].math;
    Datum& x = top();
    x.val = f(x.val);
}

namespace {

// eval of anything but a plain variable: kept out of line, so that the inlined eval in fused forms
// stays small.
[[gnu::noinline]] void evalOther(Symbol* s)
{
    switch (s->type) {
    case SYM_VEC: {
        stackPop();
        Datum& index = top();
        index.val = *vecElement(s, index.val);
        return;
    }
    case SYM_STRVEC: {
        stackPop();
        Datum& index = top();
        index.str = *strvecElement(s, index.val);
        return;
    }
    case SYM_UNDEF:
        macroError("undefined variable", s->name);
    default:
        macroError("attempt to evaluate non-variable", s->name);
    }
}

}  // namespace

INSTRUCTION(eval)
{
    Datum& t = top();
    Symbol* s = t.sym;
    if (holdsNumber(s))
        t.val = s->u.val;
    else if (s->type == SYM_STRVAR)
        t.str = s->u.str;
    else
        evalOther(s);
}

void exch()
{
    Datum b = stackPop();
    Datum a = stackPop();
    stackPush(b);
    stackPush(a);
}

namespace {

// The macro input after the statement being run, for readvar: the lexer's stream.
bool readNumber(double& value, Symbol* target)
{
    std::FILE* in = macroInputFile;
    if (!in) return false;
    int got = std::fscanf(in, "%lf", &value);
    if (got == EOF) return false;
    if (got != 1) macroError("non-numeric read into", target->name);
    return true;
}

bool readLine(char* buf, int size)
{
    std::FILE* in = macroInputFile;
    if (!in || !std::fgets(buf, size, in)) return false;
    return true;
}

}  // namespace

// varread ‹symbol›: the variables after ask and askyesno, and readvar.
void varread()
{
    Symbol* s = programArea[execPos++].sym;
    if (s->type == SYM_VEC) {
        double v = 0.0;
        if (!readNumber(v, s)) v = 0.0;
        pushNum(v);
        vecassign();
        return;
    }
    if (s->type == SYM_STRVEC) {
        char line[TEXT_BUFFER];
        if (!readLine(line, sizeof line)) {
            // Nothing left to read: the element keeps its text, which stands as the value.
            stackPop();
            Datum& index = top();
            index.str = *strvecElement(s, index.val);
            return;
        }
        builtin::pushNewText(line, std::strlen(line), "malloc error: ", s->name);
        strvecassign();
        return;
    }
    s->u.val = macroInputResult;
    s->type = SYM_VAR;
    pushNum(s->u.val);
}

// --- arithmetic, comparisons and logic -----------------------------------------------------------

namespace {

// The binary operators on numbers, a the left operand (pushed first) and b the right one. Each
// kind says how it combines them (of) and, when it refuses some b, which (refuses) and with what
// message (refusal). The handlers and the fused forms are all made from the kinds, so each rule
// is written once.
struct TakesAny {
    static constexpr bool refuses(double) { return false; }
    static constexpr const char* refusal = nullptr;
};

struct Sum : TakesAny {
    static double of(double a, double b) { return a + b; }
};
struct Difference : TakesAny {
    static double of(double a, double b) { return a - b; }
};
struct Product : TakesAny {
    static double of(double a, double b) { return a * b; }
};
struct Quotient {
    static bool refuses(double b) { return b == 0.0; }
    static constexpr const char* refusal = "division by zero";
    static double of(double a, double b) { return a / b; }
};
// The integer remainder with the sign of a, on both operands truncated toward zero with no 32-bit
// limit (as int does): operands beyond 32 bits give their true remainder, exact for any double,
// instead of a wrapped one; a divisor that truncates to 0 is a division by zero.
struct Remainder {
    static bool refuses(double b) { return std::trunc(b) == 0.0; }
    static constexpr const char* refusal = "mod: division by zero";
    // + 0.0: no negative zero
    static double of(double a, double b) { return std::fmod(std::trunc(a), std::trunc(b)) + 0.0; }
};
// The checked pow reports its own domain and range errors.
struct Power : TakesAny {
    static double of(double a, double b) { return mathPow(a, b); }
};
// atan2(a, b), in the angle mode
struct ArcTangent {
    static bool refuses(double b) { return b == 0.0; }
    static constexpr const char* refusal = "division by zero";
    static double of(double a, double b) { return mathAtan2(a, b); }
};

// Comparisons count numbers within the tolerance as equal; a NaN difference never is.
struct Greater : TakesAny {
    static double of(double a, double b) { return truth(!near(a, b) && a > b); }
};
struct GreaterOrEqual : TakesAny {
    static double of(double a, double b) { return truth(near(a, b) || a >= b); }
};
struct Less : TakesAny {
    static double of(double a, double b) { return truth(!near(a, b) && a < b); }
};
struct LessOrEqual : TakesAny {
    static double of(double a, double b) { return truth(near(a, b) || a <= b); }
};
struct Equal : TakesAny {
    static double of(double a, double b) { return truth(near(a, b)); }
};
struct Unequal : TakesAny {
    static double of(double a, double b) { return truth(!near(a, b)); }
};
// and and or test strictly against zero, and both operands have been evaluated.
struct Both : TakesAny {
    static double of(double a, double b) { return truth(a != 0.0 && b != 0.0); }
};
struct Either : TakesAny {
    static double of(double a, double b) { return truth(a != 0.0 || b != 0.0); }
};

// a, b -> a op b. A refused b is reported as soon as it is popped.
template <class Kind>
[[gnu::always_inline]] inline void binary()
{
    double b = popNum();
    if (Kind::refuses(b)) macroError(Kind::refusal, nullptr);
    Datum& a = top();
    a.val = Kind::of(a.val, b);
}

// a, b -> 1.0 when the texts are equal byte for byte (Same) or differ (!Same)
template <bool Same>
void compareTexts()
{
    const char* b = text(popStr());
    Datum& a = top();
    a.val = truth((std::strcmp(text(a.str), b) == 0) == Same);
}

}  // namespace

void add() { binary<Sum>(); }
void sub() { binary<Difference>(); }
void mul() { binary<Product>(); }
void ddiv() { binary<Quotient>(); }
void mod() { binary<Remainder>(); }
void power() { binary<Power>(); }
void arctan2() { binary<ArcTangent>(); }
void gt() { binary<Greater>(); }
void ge() { binary<GreaterOrEqual>(); }
void lt() { binary<Less>(); }
void le() { binary<LessOrEqual>(); }
void eq() { binary<Equal>(); }
void ne() { binary<Unequal>(); }
void and_() { binary<Both>(); }
void or_() { binary<Either>(); }

void negate()
{
    Datum& x = top();
    x.val = -x.val;
}

void not_()
{
    Datum& x = top();
    x.val = truth(std::fabs(x.val) < kTolerance);
}

void eqstr() { compareTexts<true>(); }
void nestr() { compareTexts<false>(); }
// The equality of two string-vector elements.
void streq() { compareTexts<true>(); }

// --- assignment ----------------------------------------------------------------------------------

// value, target -> value
INSTRUCTION(assign)
{
    Symbol* s = popSym();
    Datum& v = top();
    if (!takesNumber(s)) macroError("assignment to non-variable", s->name);
    storeNumber(s, v.val);
}

// text, target -> target
void strassign()
{
    Symbol* s = popSym();
    Datum& v = top();
    if (s->type != SYM_STRVAR && s->type != SYM_UNDEF) macroError("assignment to non-variable", s->name);
    s->u.str = v.str;
    s->type = SYM_STRVAR;
    v.sym = s;
}

namespace {
// target -> new value, target (the assign that follows stores it)
template <int By>
[[gnu::always_inline]] inline void step()
{
    Symbol* s = top().sym;
    if (s->type == SYM_UNDEF) macroError("undefined variable", s->name);
    if (!holdsNumber(s)) macroError("attempt to increment non-variable", s->name);
    top().val = s->u.val + By;
    pushSym(s);
}
}  // namespace

void incr() { step<1>(); }
void decr() { step<-1>(); }

// The end of an expression statement: its value is dropped.
INSTRUCTION(discard) { stackPop(); }

// --- fused forms ---------------------------------------------------------------------------------

namespace {

// Runs the handlers one after the other as macroExecute would (each finds execPos past the cell
// of its instruction). None of the first ones can set returnFlag or stopFlag, so macroExecute
// would not have stopped between them.
template <Handler First, Handler... Rest>
void fused()
{
    First();
    ((++execPos, Rest()), ...);
}

// Each form does its common case directly, when the checks of the plain sequence would all pass:
// the variable is one its instructions accept, the stack has room for what the sequence pushes
// and holds the operand it takes, the operator takes its b. Anything else runs the plain sequence,
// which reports what it must.
[[gnu::always_inline]] inline bool stackHolds(int values) { return stackPtr - valueStack >= values; }
[[gnu::always_inline]] inline bool stackRoomFor(int pushes) { return valueCount <= STACK_SIZE - pushes; }
[[gnu::always_inline]] inline void pushUnchecked(double v)
{
    (stackPtr++)->val = v;
    ++valueCount;
}

// varpush x, eval, constpush n, op: x op n
template <class Kind>
void varOpNumber()
{
    const Inst* c = programArea + execPos;  // x, eval, constpush, n, op
    Symbol* x = c[0].sym;
    double n = c[3].sym->u.val;
    if (holdsNumber(x) && stackRoomFor(2) && !Kind::refuses(n)) {
        execPos += 5;
        pushUnchecked(Kind::of(x->u.val, n));
        return;
    }
    fused<body::varpush, body::eval, body::constpush, binary<Kind>>();
}

// varpush x, eval, op: (the value on the stack) op x
template <class Kind>
void opVar()
{
    Symbol* x = programArea[execPos].sym;  // x, eval, op
    if (holdsNumber(x) && stackRoomFor(1) && stackHolds(1) && !Kind::refuses(x->u.val)) {
        execPos += 3;
        Datum& a = stackPtr[-1];
        a.val = Kind::of(a.val, x->u.val);
        return;
    }
    fused<body::varpush, body::eval, binary<Kind>>();
}

// constpush n, op: (the value on the stack) op n
template <class Kind>
void opNumber()
{
    double n = programArea[execPos].sym->u.val;  // n, op
    if (stackRoomFor(1) && stackHolds(1) && !Kind::refuses(n)) {
        execPos += 2;
        Datum& a = stackPtr[-1];
        a.val = Kind::of(a.val, n);
        return;
    }
    fused<body::constpush, binary<Kind>>();
}

// varpush x, eval
void varValue()
{
    Symbol* x = programArea[execPos].sym;  // x, eval
    if (holdsNumber(x) && stackRoomFor(1)) {
        execPos += 2;
        pushUnchecked(x->u.val);
        return;
    }
    fused<body::varpush, body::eval>();
}

// varpush x, assign[, discard]: x = the value on the stack, which a statement then drops
template <bool Drops>
void varStore()
{
    Symbol* x = programArea[execPos].sym;  // x, assign[, discard]
    if (takesNumber(x) && stackRoomFor(1) && stackHolds(1)) {
        execPos += Drops ? 3 : 2;
        storeNumber(x, stackPtr[-1].val);
        if (Drops) {
            --stackPtr;
            --valueCount;
        }
        return;
    }
    if (Drops)
        fused<body::varpush, body::assign, body::discard>();
    else
        fused<body::varpush, body::assign>();
}

// varpush x, incr|decr, assign: x++ or x--, whose value is the new one
template <int By>
void varStep()
{
    Symbol* x = programArea[execPos].sym;  // x, incr|decr, assign
    if (holdsNumber(x) && stackRoomFor(2)) {
        execPos += 3;
        storeNumber(x, x->u.val + By);
        pushUnchecked(x->u.val);
        return;
    }
    fused<body::varpush, step<By>, body::assign>();
}

}  // namespace

// The longer forms of a start come first: the first form that matches is taken.
#define FUSED_BINARY(op, Kind)                                                     \
    {{OP_varpush, OP_eval, OP_constpush, OP_##op}, 4, varOpNumber<Kind>}, \
    {{OP_varpush, OP_eval, OP_##op}, 3, opVar<Kind>},                     \
    {{OP_constpush, OP_##op}, 2, opNumber<Kind>},

const FusedForm fusedForms[] = {
    FUSED_BINARY(add, Sum)
    FUSED_BINARY(sub, Difference)
    FUSED_BINARY(mul, Product)
    FUSED_BINARY(div, Quotient)
    FUSED_BINARY(lt, Less)
    FUSED_BINARY(le, LessOrEqual)
    FUSED_BINARY(gt, Greater)
    FUSED_BINARY(ge, GreaterOrEqual)
    FUSED_BINARY(eq, Equal)
    FUSED_BINARY(ne, Unequal)
    {{OP_varpush, OP_assign, OP_discard}, 3, varStore<true>},        // x = value
    {{OP_varpush, OP_incr, OP_assign}, 3, varStep<1>},               // x++
    {{OP_varpush, OP_decr, OP_assign}, 3, varStep<-1>},              // x--
    {{OP_varpush, OP_assign}, 2, varStore<false>},
    {{OP_varpush, OP_eval}, 2, varValue},
};
#undef FUSED_BINARY
const int fusedFormCount = static_cast<int>(std::size(fusedForms));
