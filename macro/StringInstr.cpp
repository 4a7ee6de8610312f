// The string built-ins: length, joining, searching, trimming, substrings and case, and the two
// product-code tests. Lengths and positions count bytes; out-of-range counts and positions are
// clamped, never an error.
#include "macro/BuiltinSupport.h"
#include "macro/Builtins.h"
#include "macro/Host.h"

#include <string>

using namespace builtin;

namespace {

// Clamps a count to 0..len.
size_t clampCount(double n, size_t len)
{
    int k = truncInt(n);
    if (k <= 0) return 0;
    return static_cast<size_t>(k) > len ? len : static_cast<size_t>(k);
}

// 1-based position of t in s; 1 for an empty t, 0 when absent.
double position(const char* s, const char* t)
{
    if (!*t) return 1.0;
    const char* at = std::strstr(s, t);
    return at ? double(at - s + 1) : 0.0;
}

// A copy of s with every byte mapped.
template <class Map>
void pushMapped(const char* s, Map map, const char* failure)
{
    size_t len = std::strlen(s);
    char* copy = newText(s, len, failure, s);
    for (size_t i = 0; i < len; ++i) copy[i] = map(copy[i]);
    pushStr(copy);
}

}  // namespace

// strlen(s), len(s)
void strlength()
{
    const char* s = popStr();
    pushNum(s ? double(std::strlen(s)) : -1.0);
}

// a + b for texts
void addstr()
{
    const char* b = popText();
    const char* a = popText();
    size_t la = std::strlen(a), lb = std::strlen(b);
    // Both texts stay readable while the result is made: a collection keeps what was just popped.
    char* joined = macroNewText(la + lb + 1);
    if (!joined) macroError("addstr: malloc error", a);
    std::memcpy(joined, a, la);
    std::memcpy(joined + la, b, lb + 1);
    pushStr(joined);
}

// instr(s, t)
void searchstring()
{
    const char* t = popText();
    const char* s = popText();
    pushNum(position(s, t));
}

// instric(s, t): as instr on upper-cased copies
void searchstringIC()
{
    std::string t = popText();
    std::string s = popText();
    for (char& c : t) c = asciiUpper(c);
    for (char& c : s) c = asciiUpper(c);
    pushNum(position(s.c_str(), t.c_str()));
}

// instrvec(start, s, c): 0-based index of the first byte of s at or after start equal to c's first
void instring()
{
    const char* c = popText();
    const char* s = popText();
    int start = truncInt(popNum());
    size_t len = std::strlen(s);
    double found = -1.0;
    if (*c) {
        for (size_t i = start < 0 ? 0 : static_cast<size_t>(start); i < len; ++i) {
            if (s[i] == *c) {
                found = double(i);
                break;
            }
        }
    }
    pushNum(found);
}

// trim(s): blanks (spaces only) off both ends
void trimstring()
{
    char* s = popStr();
    if (!s || !*s) {  // passed on as it is
        pushStr(s);
        return;
    }
    size_t len = std::strlen(s);
    size_t first = 0;
    while (first < len && s[first] == ' ') ++first;
    size_t last = len;
    while (last > first && s[last - 1] == ' ') --last;
    pushNewText(s + first, last - first, "trimstring: malloc error", s);
}

// left(s, n)
void leftstring()
{
    double n = popNum();
    const char* s = popText();
    pushNewText(s, clampCount(n, std::strlen(s)), "leftstring: malloc error", s);
}

// right(s, n)
void rightstring()
{
    double n = popNum();
    const char* s = popText();
    size_t len = std::strlen(s);
    size_t k = clampCount(n, len);
    pushNewText(s + len - k, k, "rightstring: malloc error", s);
}

// mid(s, start, count): start is 1-based; a start outside the text starts at 1, a count not above
// 0 or past the end runs to the end
void midstring()
{
    double countArg = popNum();
    double startArg = popNum();
    char* s = popStr();
    size_t len = s ? std::strlen(s) : 0;
    if (len == 0) {  // passed on as it is
        pushStr(s);
        return;
    }
    int start = truncInt(startArg);
    if (start < 1 || static_cast<size_t>(start) > len) start = 1;
    size_t rest = len + 1 - static_cast<size_t>(start);
    int count = truncInt(countArg);
    size_t n = (count <= 0 || static_cast<size_t>(count) > rest) ? rest : static_cast<size_t>(count);
    pushNewText(s + start - 1, n, "midstring: malloc error", s);
}

// lcase(s)
void lowercase() { pushMapped(popText(), asciiLower, "lowercase: malloc error"); }

// ucase(s)
void uppercase() { pushMapped(popText(), asciiUpper, "uppercase: malloc error"); }

// isproductcode(n)
void isproductcode()
{
    int code = truncInt(popNum());
    pushNum(Host().IsProductCode(code) == 1 ? 1.0 : 0.0);
}

// isexcludedproductcode(n)
void isexcludedproductcode()
{
    int code = truncInt(popNum());
    pushNum(Host().IsExcludedProductCode(code) == 1 ? 1.0 : 0.0);
}
