#pragma once
// Small helpers the built-in handlers share: taking arguments off the stack, converting numbers to
// ints without leaving the int range, and making result texts.
#include "macro/Errors.h"
#include "macro/Machine.h"

#include <clocale>
#include <cmath>
#include <cstring>
#include <locale.h>
#include <string>

namespace builtin {

// A text argument; a missing text reads as the empty one, so no handler ever follows a null.
inline const char* popText() { return textOrEmpty(popStr()); }

// The integer part of a number, kept inside the int range (NaN gives 0): a number far outside it
// is no meaningful count or index anyway, and converting it unchecked is undefined.
inline int truncInt(double x)
{
    if (std::isnan(x)) return 0;
    double t = std::trunc(x);
    if (t >= 2147483647.0) return 2147483647;
    if (t <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(t);
}

// The estimate built-ins' rounding: the integer part of the value plus 0.5 (2.5 -> 3, -1.7 -> -1).
inline int roundInt(double x) { return truncInt(x + 0.5); }

// A result text: a new copy of len bytes of text (Lifetime.h: it lives while something reaches
// it). When it cannot be had, the instruction fails with its own message ("addstr: malloc error")
// and detail.
inline char* newText(const char* text, size_t len, const char* failure, const char* detail)
{
    char* copy = macroNewText(len + 1);
    if (!copy) macroError(failure, detail);
    std::memcpy(copy, text, len);
    copy[len] = '\0';
    return copy;
}

inline void pushNewText(const char* text, size_t len, const char* failure, const char* detail)
{
    pushStr(newText(text, len, failure, detail));
}

// Formatting and reading numbers the C library's way, always with a full stop, whatever locale the
// desktop set for the process.
class CLocaleScope {
public:
    CLocaleScope() : old_(uselocale(cLocale())) {}
    ~CLocaleScope() { uselocale(old_); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    static locale_t cLocale()
    {
        static locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
        return c ? c : LC_GLOBAL_LOCALE;
    }
    locale_t old_;
};

inline char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
inline char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

}  // namespace builtin
