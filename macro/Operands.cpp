// Operands, arithmetic, comparisons and assignment. These run in every loop pass, so each works on
// the top of the stack in place where a pop and a push would cancel out.
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

// The binary operations on numbers (a left, b right), shared by their handlers and the fused forms.
// Division refuses a zero b in its handler, before dividing.
#define BINARY(name, expr) \
    [[gnu::always_inline]] inline double name(double a, double b) { return expr; }
BINARY(sumOf, a + b)
BINARY(differenceOf, a - b)
BINARY(productOf, a * b)
BINARY(quotientOf, a / b)
BINARY(greaterOf, truth(!near(a, b) && a > b))
BINARY(greaterEqualOf, truth(near(a, b) || a >= b))
BINARY(lessOf, truth(!near(a, b) && a < b))
BINARY(lessEqualOf, truth(near(a, b) || a <= b))
BINARY(equalOf, truth(near(a, b)))
BINARY(unequalOf, truth(!near(a, b)))
#undef BINARY

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
    if (s->type == SYM_VAR)
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
        size_t n = std::strlen(line);
        char* copy = macroTryAlloc(n + 1);
        if (!copy) macroError("malloc error: ", s->name);
        std::memcpy(copy, line, n + 1);
        pushStr(copy);
        strvecassign();
        return;
    }
    s->u.val = macroInputResult;
    s->type = SYM_VAR;
    pushNum(s->u.val);
}

// --- arithmetic ----------------------------------------------------------------------------------

INSTRUCTION(add)
{
    double b = popNum();
    Datum& a = top();
    a.val = sumOf(a.val, b);
}

INSTRUCTION(sub)
{
    double b = popNum();
    Datum& a = top();
    a.val = differenceOf(a.val, b);
}

INSTRUCTION(mul)
{
    double b = popNum();
    Datum& a = top();
    a.val = productOf(a.val, b);
}

INSTRUCTION(ddiv)
{
    double b = popNum();
    if (b == 0.0) macroError("division by zero", nullptr);
    Datum& a = top();
    a.val = quotientOf(a.val, b);
}

// The integer remainder with the sign of a, on both operands truncated toward zero with no 32-bit
// limit (as int does): operands beyond 32 bits give their true remainder, exact for any double,
// instead of a wrapped one; a divisor that truncates to 0 is a division by zero.
void mod()
{
    double b = popNum();
    Datum& a = top();
    double tb = std::trunc(b);
    if (b == 0.0 || tb == 0.0) macroError("mod: division by zero", nullptr);
    a.val = std::fmod(std::trunc(a.val), tb) + 0.0;  // + 0.0: no negative zero
}

void power()
{
    double b = popNum();
    Datum& a = top();
    a.val = mathPow(a.val, b);
}

void negate()
{
    Datum& x = top();
    x.val = -x.val;
}

// atan2(a, b)
void arctan2()
{
    double b = popNum();
    Datum& a = top();
    if (b == 0.0) macroError("division by zero", nullptr);
    a.val = mathAtan2(a.val, b);
}

// --- comparisons and logic -----------------------------------------------------------------------

INSTRUCTION(gt)
{
    double b = popNum();
    Datum& a = top();
    a.val = greaterOf(a.val, b);
}

INSTRUCTION(ge)
{
    double b = popNum();
    Datum& a = top();
    a.val = greaterEqualOf(a.val, b);
}

INSTRUCTION(lt)
{
    double b = popNum();
    Datum& a = top();
    a.val = lessOf(a.val, b);
}

INSTRUCTION(le)
{
    double b = popNum();
    Datum& a = top();
    a.val = lessEqualOf(a.val, b);
}

INSTRUCTION(eq)
{
    double b = popNum();
    Datum& a = top();
    a.val = equalOf(a.val, b);
}

INSTRUCTION(ne)
{
    double b = popNum();
    Datum& a = top();
    a.val = unequalOf(a.val, b);
}

void and_()
{
    double b = popNum();
    Datum& a = top();
    a.val = truth(a.val != 0.0 && b != 0.0);
}

void or_()
{
    double b = popNum();
    Datum& a = top();
    a.val = truth(a.val != 0.0 || b != 0.0);
}

void not_()
{
    Datum& x = top();
    x.val = truth(std::fabs(x.val) < kTolerance);
}

void eqstr()
{
    const char* b = text(popStr());
    Datum& a = top();
    a.val = truth(std::strcmp(text(a.str), b) == 0);
}

void nestr()
{
    const char* b = text(popStr());
    Datum& a = top();
    a.val = truth(std::strcmp(text(a.str), b) != 0);
}

void streq() { eqstr(); }

// --- assignment ----------------------------------------------------------------------------------

// value, target -> value
INSTRUCTION(assign)
{
    Symbol* s = popSym();
    Datum& v = top();
    if (s->type != SYM_VAR && s->type != SYM_UNDEF) macroError("assignment to non-variable", s->name);
    s->u.val = v.val;
    s->type = SYM_VAR;
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
[[gnu::always_inline]] inline void step(double by)
{
    Symbol* s = top().sym;
    if (s->type != SYM_VAR && s->type != SYM_UNDEF) macroError("attempt to increment non-variable", s->name);
    if (s->type == SYM_UNDEF) macroError("undefined variable", s->name);
    top().val = s->u.val + by;
    pushSym(s);
}
}  // namespace

// target -> new value, target (the assign that follows stores it)
INSTRUCTION(incr) { step(1.0); }
INSTRUCTION(decr) { step(-1.0); }

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

// The common case of each form directly, when its conditions show that the plain sequence could
// not fail: the variable holds a number, the stack has room for what the sequence pushes and holds
// the operand it takes, no division by zero. Anything else runs the plain sequence.
using BinaryFn = double (*)(double, double);

[[gnu::always_inline]] inline bool stackHolds(int values) { return stackPtr - valueStack >= values; }
[[gnu::always_inline]] inline bool stackRoomFor(int pushes) { return valueCount <= STACK_SIZE - pushes; }
[[gnu::always_inline]] inline void pushUnchecked(double v)
{
    (stackPtr++)->val = v;
    ++valueCount;
}

// varpush x, eval, constpush n, op: x op n
template <BinaryFn F, bool RefusesZero, Handler Op>
void varOpNumber()
{
    const Inst* c = programArea + execPos;  // x, eval, constpush, n, op
    Symbol* x = c[0].sym;
    double n = c[3].sym->u.val;
    if (x->type == SYM_VAR && stackRoomFor(2) && !(RefusesZero && n == 0.0)) {
        execPos += 5;
        pushUnchecked(F(x->u.val, n));
        return;
    }
    fused<body::varpush, body::eval, body::constpush, Op>();
}

// varpush x, eval, op: (the value on the stack) op x
template <BinaryFn F, bool RefusesZero, Handler Op>
void opVar()
{
    Symbol* x = programArea[execPos].sym;  // x, eval, op
    if (x->type == SYM_VAR && stackRoomFor(1) && stackHolds(1) && !(RefusesZero && x->u.val == 0.0)) {
        execPos += 3;
        Datum& a = stackPtr[-1];
        a.val = F(a.val, x->u.val);
        return;
    }
    fused<body::varpush, body::eval, Op>();
}

// constpush n, op: (the value on the stack) op n
template <BinaryFn F, bool RefusesZero, Handler Op>
void opNumber()
{
    double n = programArea[execPos].sym->u.val;  // n, op
    if (stackRoomFor(1) && stackHolds(1) && !(RefusesZero && n == 0.0)) {
        execPos += 2;
        Datum& a = stackPtr[-1];
        a.val = F(a.val, n);
        return;
    }
    fused<body::constpush, Op>();
}

// varpush x, eval
void varValue()
{
    Symbol* x = programArea[execPos].sym;  // x, eval
    if (x->type == SYM_VAR && stackRoomFor(1)) {
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
    if ((x->type == SYM_VAR || x->type == SYM_UNDEF) && stackRoomFor(1) && stackHolds(1)) {
        execPos += Drops ? 3 : 2;
        x->u.val = stackPtr[-1].val;
        x->type = SYM_VAR;
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
template <int By, Handler Step>
void varStep()
{
    Symbol* x = programArea[execPos].sym;  // x, incr|decr, assign
    if (x->type == SYM_VAR && stackRoomFor(2)) {
        execPos += 3;
        x->u.val = x->u.val + By;
        pushUnchecked(x->u.val);
        return;
    }
    fused<body::varpush, Step, body::assign>();
}

}  // namespace

// The longer forms of a start come first: the first form that matches is taken.
#define FUSED_BINARY(op, fn, refusesZero, handler)                                                   \
    {{OP_varpush, OP_eval, OP_constpush, OP_##op}, 4, varOpNumber<fn, refusesZero, body::handler>}, \
    {{OP_varpush, OP_eval, OP_##op}, 3, opVar<fn, refusesZero, body::handler>},                     \
    {{OP_constpush, OP_##op}, 2, opNumber<fn, refusesZero, body::handler>},

const FusedForm fusedForms[] = {
    FUSED_BINARY(add, sumOf, false, add)
    FUSED_BINARY(sub, differenceOf, false, sub)
    FUSED_BINARY(mul, productOf, false, mul)
    FUSED_BINARY(div, quotientOf, true, ddiv)
    FUSED_BINARY(lt, lessOf, false, lt)
    FUSED_BINARY(le, lessEqualOf, false, le)
    FUSED_BINARY(gt, greaterOf, false, gt)
    FUSED_BINARY(ge, greaterEqualOf, false, ge)
    FUSED_BINARY(eq, equalOf, false, eq)
    FUSED_BINARY(ne, unequalOf, false, ne)
    {{OP_varpush, OP_assign, OP_discard}, 3, varStore<true>},   // x = value
    {{OP_varpush, OP_incr, OP_assign}, 3, varStep<1, body::incr>},   // x++
    {{OP_varpush, OP_decr, OP_assign}, 3, varStep<-1, body::decr>},  // x--
    {{OP_varpush, OP_assign}, 2, varStore<false>},
    {{OP_varpush, OP_eval}, 2, varValue},
};
#undef FUSED_BINARY
const int fusedFormCount = static_cast<int>(std::size(fusedForms));
