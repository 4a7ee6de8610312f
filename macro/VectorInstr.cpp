// Vectors (declaration and element assignment), character and number conversions, quantity
// rounding, time, sleep, the command arguments and sorting.
#include "macro/BuiltinSupport.h"
#include "macro/Builtins.h"
#include "macro/Host.h"
#include "macro/Run.h"
#include "macro/RunControl.h"
#include "platform/win/Sound.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>

using namespace builtin;

namespace {

// Takes "index, vector, value" off the stack and returns the element, after the checks that every
// element assignment shares.
double* numericTarget(double& value)
{
    value = popNum();
    Symbol* v = popSym();
    double index = popNum();
    if (v->type != SYM_VEC && v->type != SYM_VAR && v->type != SYM_UNDEF)
        macroError("assignment to non-vector", v->name);
    double* element = vecElement(v, index);
    v->type = SYM_VEC;
    return element;
}

// The decimal exponent roundqty rounds to, for a step s (already a whole number).
int roundingExponent(double s)
{
    if (s >= -6 && s <= 3) return static_cast<int>(s);
    if (s < -6 || s >= 1000000) return -6;
    if (s >= 100000) return -5;
    if (s >= 10000) return -4;
    if (s >= 1000) return -3;
    if (s >= 100 || s == 50) return -2;
    if (s >= 10 || s == 5) return -1;
    return 4;  // 4 and 6 to 9
}

// Half away from zero, as a whole number.
double roundHalfAway(double x) { return x >= 0 ? std::trunc(x + 0.5) : std::trunc(x - 0.5); }

// Quicksort with a random pivot drawn from the interpreter's generator. Elements equal to the
// pivot are gathered in the middle and the smaller side is sorted first, so neither many equal
// values nor an unlucky draw can make the sort deep or slow.
void quicksort(double* v, int n)
{
    while (n > 1) {
        macroTick();  // a sort of millions of elements runs long enough to want stopping
        // One draw reaches 32,768 elements; a longer vector takes two, so any element can be drawn.
        long long draw = n > 32768 ? macroRand() * 32768LL + macroRand() : macroRand();
        std::swap(v[0], v[draw % n]);
        double pivot = v[0];
        int lt = 0, i = 1, gt = n;  // [0,lt) below, [lt,i) equal, [gt,n) above
        while (i < gt) {
            if (v[i] < pivot)
                std::swap(v[i++], v[lt++]);
            else if (v[i] > pivot)
                std::swap(v[i], v[--gt]);
            else
                ++i;
        }
        // A NaN pivot compares neither way: everything stays in the middle and the sort ends.
        int below = lt, above = n - gt;
        if (below < above) {
            quicksort(v, below);
            v += gt;
            n = above;
        } else {
            quicksort(v + gt, above);
            n = below;
        }
    }
}

// One buffer for every timestr result of the process.
char timeText[256];

}  // namespace

// vector v[n]
void decvec()
{
    Symbol* v = popSym();
    symMakeVector(v, popNum());
}

// vector s$[n]
void decstrvec()
{
    Symbol* v = popSym();
    symMakeStrVector(v, popNum());
}

// v[i] = x, v[i] += x and their kin leave x itself on the stack.
template <class Update>
void updateElement(Update update)
{
    double x;
    double* element = numericTarget(x);
    update(*element, x);
    pushNum(x);
}

void vecassign() { updateElement([](double& e, double x) { e = x; }); }
void vecadd() { updateElement([](double& e, double x) { e += x; }); }
void vecsub() { updateElement([](double& e, double x) { e -= x; }); }
void vecmul() { updateElement([](double& e, double x) { e *= x; }); }
void vecdiv() { updateElement([](double& e, double x) { e /= x; }); }

// s$[i] = t$
void strvecassign()
{
    char* text = popStr();
    Symbol* v = popSym();
    double index = popNum();
    if (v->type != SYM_STRVEC && v->type != SYM_UNDEF)
        macroError("assignment to non-stringvector", v->name);
    char** element = strvecElement(v, index);
    *element = text;
    v->type = SYM_STRVEC;
    pushStr(text);
}

// asc(s): the first byte as a signed 8-bit code
void asc()
{
    const char* s = popText();
    pushNum(static_cast<signed char>(s[0]));
}

// chr(n): one byte, the low 8 bits of n (0 gives the empty text)
void chr()
{
    double n = popNum();
    double t = std::trunc(n);
    long long whole = (std::isnan(t) || std::fabs(t) >= 9.2e18) ? 0 : static_cast<long long>(t);
    char c = static_cast<char>(whole & 0xFF);
    pushNewText(&c, 1, "chr: malloc error", nullptr);
}

// str(x, "format")
void str()
{
    const char* format = popText();
    double x = popNum();
    char buf[TEXT_BUFFER];
    {
        CLocaleScope c;
        macroFormatNumber(buf, sizeof buf, format, x);
    }
    pushNewText(buf, std::strlen(buf), "str: malloc error:", format);
}

// val(s): the number in a text, after dropping everything that cannot be part of one
void val()
{
    const char* s = popText();
    int decimal = Host().GetIntegerVariable("DECIMALSEPARATOR");
    int thousands = Host().GetIntegerVariable("THOUSANDSEPARATOR");
    if (!*s) {
        pushNum(0.0);
        return;
    }
    // The argument's own text stays as it is: val reads its argument, it does not edit it.
    std::string kept;
    for (const char* p = s; *p; ++p) {
        char c = *p;
        if (c < '+' || c > '9' || c == static_cast<char>(thousands)) continue;
        kept += (c == ',' && decimal == ',') ? '.' : c;
    }
    CLocaleScope cLocale;
    char* end = nullptr;
    double value = std::strtod(kept.c_str(), &end);
    if (end == kept.c_str()) macroError("val: conversion error", kept.c_str());
    pushNum(value);
}

// roundqty(x, step, mode): mode 1 rounds up, -1 down, anything else to nearest
void roundqty()
{
    double m = roundHalfAway(popNum());
    double s = roundHalfAway(popNum());
    double x = popNum();
    double b = m == 1 ? 0.99999999 : m == -1 ? 1e-8 : 0.5;
    double result;
    if (s == 5)
        result = std::floor(0.2 * x + b) * 5;
    else if (s == 50)
        result = std::floor(0.02 * x + b) * 50;
    else {
        double p = std::pow(10.0, roundingExponent(s));
        result = std::floor(p * x + b) / p;
    }
    pushNum(result);
}

// timestr(format): the local time by strftime, in the one shared buffer
void timestr()
{
    const char* format = popText();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    CLocaleScope c;
    if (std::strftime(timeText, sizeof timeText, format, &local) == 0) timeText[0] = '\0';
    pushStr(timeText);
}

// sleepfor(n): n seconds; the user interface waits meanwhile
void sleepfor()
{
    double seconds = std::trunc(popNum());
    if (!(seconds > 0)) return;
    double ms = seconds * 1000.0;
    unsigned wait = ms >= 4294967295.0 ? 4294967295u : static_cast<unsigned>(ms);
    macroStoppableWait([=](const WaitStop& stop) { Sleep(wait, stop); });
}

// getarg(n)
void getargcode()
{
    int n = truncInt(popNum());
    const char* arg = n < 0 ? "" : macroCmdArg(n);
    if (!arg) arg = "";
    pushNewText(arg, std::strlen(arg), "getargcode: malloc error", arg);
}

// qsort(n, v): elements 0 to n-1 of v in ascending order
void sortcode()
{
    Symbol* v = popSym();
    int n = truncInt(popNum());
    if (n < 2) return;
    double* first = vecElement(v, 0);
    vecElement(v, n - 1);  // the count must lie within the vector
    quicksort(first, n);
}
