// Reading length texts: metric marks, feet and inches with fractions, and unmarked numbers.
#include "config/Lengths.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr double kEpsilon = 1.1920928955078125e-07;  // 2^-23, the single-precision epsilon
constexpr size_t kMaxText = 255;                     // texts are read from a copy this long at most

// A copy of at most kMaxText characters: longer texts are cut, never overrun.
std::string Copy(const char* text) { return text ? std::string(text, strnlen(text, kMaxText)) : std::string(); }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// The number at the start of a text, as atof reads it in the C notation (blanks, sign, digits,
// a full stop, an exponent); 0 without one. The user's locale plays no part.
double Number(const std::string& text, size_t from = 0)
{
    size_t i = from;
    while (i < text.size() && IsSpace(text[i])) ++i;
    const size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    int digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) ++digits;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && IsDigit(text[i]); ++i) ++digits;
    if (digits == 0) return 0.0;
    size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) ++j;
            end = j;
        }
    }
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(text.substr(start, end - start).c_str(), nullptr, c);
}

// Cuts the text before the last occurrence of the lower-case or else the upper-case mark.
bool CutAtMark(std::string& text, const char* lower, const char* upper)
{
    size_t at = text.rfind(lower);
    if (at == std::string::npos) at = text.rfind(upper);
    if (at == std::string::npos) return false;
    text.resize(at);
    return true;
}

// The text without the blanks between a digit and an inch mark: 3/4 " is 3/4", where the blank
// would otherwise be the gap of a mixed number and read 3".
std::string WithoutBlanksBeforeInchMarks(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ' && !out.empty() && IsDigit(out.back())) {
            size_t k = i;
            while (k < text.size() && text[k] == ' ') ++k;
            if (k < text.size() && text[k] == '"') {
                i = k - 1;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

// Feet and inches (5' 3-1/2", -0' 6", 7 1/2") or, unmarked, feet; factor is millimetres per inch.
double ParseFeetInches(const std::string& whole, double factor)
{
    size_t i = 0;
    while (i < whole.size() && IsSpace(whole[i])) ++i;
    const std::string text = WithoutBlanksBeforeInchMarks(whole.substr(i));
    const size_t mark = text.find('\'');
    if (mark != std::string::npos) {
        size_t j = mark + 1;
        while (j < text.size() && (text[j] == ' ' || text[j] == '-')) ++j;  // a hyphen here separates
        const double inches = ParseWholeFraction(text.c_str() + j);
        const double feet = Number(text.substr(0, mark)) * factor * 12.0;
        if (NearlyEqual(feet, 0.0)) return (text[0] == '-' ? -1.0 : 1.0) * inches * factor;
        return SignWithTolerance(feet) * inches * factor + feet;
    }
    if (text.find('"') != std::string::npos) return ParseWholeFraction(text.c_str()) * factor;
    return Number(text) * factor * 12.0;
}

}  // namespace

double SignWithTolerance(double x)
{
    if (x < -kEpsilon) return -1.0;
    if (x > kEpsilon) return 1.0;
    return 0.0;
}

bool NearlyEqual(double a, double b) { return std::fabs(a - b) <= kEpsilon; }

double RoundToFraction(const TLengthScale* unit, double mm)
{
    const TLengthScale scale = unit ? *unit : TLengthScale();
    // A length typed exactly on a half step (23 31/32" in sixteenths) rounds up.
    return RoundHalfUp(mm / scale.Factor * scale.SecondFactor) / scale.SecondFactor * scale.Factor;
}

double RoundHalfUp(double steps)
{
    const double t = steps + 0.5;
    const double below = std::floor(t);
    return below + 1.0 - t <= 1e-6 ? below + 1.0 : below;  // NaN and infinities pass through
}

double ParseWholeFraction(const char* source)
{
    if (!source) return 0.0;
    const std::string text = Copy(source);
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    double sign = 1.0;
    if (i < text.size() && text[i] == '-') {
        sign = -1.0;
        ++i;
    }
    const std::string rest = text.substr(i);
    if (rest.find('/') == std::string::npos) return std::fabs(Number(rest)) * sign;

    double whole = 0.0;
    std::string fraction = rest;
    const size_t gap = rest.find_first_of(" -");
    if (gap != std::string::npos) {
        whole = std::fabs(Number(rest));
        fraction = rest.substr(gap + 1);
    }
    double part = 0.0;
    const size_t slash = fraction.find('/');
    if (slash != std::string::npos) {
        const double numerator = Number(fraction);
        const double denominator = Number(fraction, slash + 1);
        if (numerator > 0.1 && denominator > 0.1) part = numerator / denominator;
    }
    return (whole + part) * sign;
}

double ParseLength(const TLengthScale* unit, const char* source, bool round)
{
    std::string text = Copy(source);
    if (text.empty()) return 0.0;
    const int givenCode = unit ? unit->Code : TLengthScale::METRIC;
    TLengthScale scale(givenCode);

    // The millimetre mark goes first, so that its "m" never reads as metres.
    if (CutAtMark(text, "mm", "MM")) scale = TLengthScale(TLengthScale::MM);
    if (CutAtMark(text, "cm", "CM")) scale = TLengthScale(TLengthScale::CM);
    if (CutAtMark(text, "m", "M")) scale = TLengthScale(TLengthScale::METRE);
    if (text.find_first_of("'\"") != std::string::npos) scale = TLengthScale(TLengthScale::IMPERIAL);
    // A text in a unit of its own is taken as written.
    if (scale.Code != givenCode) round = false;

    double value;
    switch (scale.Code) {
    case TLengthScale::METRE: value = Number(text) * 1000.0; break;
    case TLengthScale::CM: value = Number(text) * 10.0; break;
    case TLengthScale::IMPERIAL:
    case TLengthScale::FEET: value = ParseFeetInches(text, scale.Factor); break;
    default: value = Number(text) * scale.Factor; break;
    }
    return round ? RoundToFraction(unit, value) : value;
}
