// Operands, arithmetic, comparisons and assignment. These run in every loop pass, so each works on
// the top of the stack in place where a pop and a push would cancel out.
#include "macro/Builtins.h"
#include "macro/Errors.h"
#include "macro/Lexer.h"
#include "macro/Machine.h"
#include "macro/Macromain.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr double kTolerance = 1e-8;

inline Datum& top()
{
    if (stackPtr == valueStack) stackOverpopped();
    return stackPtr[-1];
}

inline bool near(double a, double b) { return std::fabs(a - b) < kTolerance; }

inline double truth(bool b) { return b ? 1.0 : 0.0; }

const char* text(const char* s) { return textOrEmpty(s); }

}  // namespace

// --- operands ------------------------------------------------------------------------------------

// constpush ‹number symbol›
void constpush() { pushNum(programArea[execPos++].sym->u.val); }

// varpush ‹symbol›
void varpush() { pushSym(programArea[execPos++].sym); }

// strpush ‹text or symbol›: the cell's word as it stands.
void strpush() { pushStr(programArea[execPos++].str); }

// bltin ‹function›
void bltin()
{
    MathFn f = programArea[execPos++].math;
    Datum& x = top();
    x.val = f(x.val);
}

void eval()
{
    Datum& t = top();
    Symbol* s = t.sym;
    switch (s->type) {
    case SYM_VAR:
        t.val = s->u.val;
        return;
    case SYM_STRVAR:
        t.str = s->u.str;
        return;
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

void add()
{
    double b = popNum();
    top().val += b;
}

void sub()
{
    double b = popNum();
    top().val -= b;
}

void mul()
{
    double b = popNum();
    top().val *= b;
}

void ddiv()
{
    double b = popNum();
    if (b == 0.0) macroError("division by zero", nullptr);
    top().val /= b;
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

void gt()
{
    double b = popNum();
    Datum& a = top();
    a.val = truth(!near(a.val, b) && a.val > b);
}

void ge()
{
    double b = popNum();
    Datum& a = top();
    a.val = truth(near(a.val, b) || a.val >= b);
}

void lt()
{
    double b = popNum();
    Datum& a = top();
    a.val = truth(!near(a.val, b) && a.val < b);
}

void le()
{
    double b = popNum();
    Datum& a = top();
    a.val = truth(near(a.val, b) || a.val <= b);
}

void eq()
{
    double b = popNum();
    Datum& a = top();
    a.val = truth(near(a.val, b));
}

void ne()
{
    double b = popNum();
    Datum& a = top();
    a.val = truth(!near(a.val, b));
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
void assign()
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
void step(double by)
{
    Symbol* s = top().sym;
    if (s->type != SYM_VAR && s->type != SYM_UNDEF) macroError("attempt to increment non-variable", s->name);
    if (s->type == SYM_UNDEF) macroError("undefined variable", s->name);
    top().val = s->u.val + by;
    pushSym(s);
}
}  // namespace

// target -> new value, target (the assign that follows stores it)
void incr() { step(1.0); }
void decr() { step(-1.0); }
