#include "platform/vcl/DecimalDigits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

char TDecimalDigits::DigitAfterPoint(int place) const
{
    const long index = static_cast<long>(Point) + place;
    if (index < 0 || index >= static_cast<long>(Digits.size())) return '0';
    return Digits[static_cast<size_t>(index)];
}

static void DropTrailingZeros(TDecimalDigits& d)
{
    while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
    if (d.Digits.empty()) d.Point = 0;
}

TDecimalDigits DecimalDigits(double value, int significant)
{
    TDecimalDigits d;
    d.Negative = std::signbit(value);
    if (value == 0.0 || !std::isfinite(value)) return d;
    significant = std::clamp(significant, 1, 18);
    // to_chars is exact and ignores the C locale, which the GUI library sets to the user's.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                                   significant - 1);
    *res.ptr = '\0';
    const char* e = std::find(buf, res.ptr, 'e');
    for (const char* p = buf; p < e; ++p)
        if (*p != '.') d.Digits.push_back(*p);
    d.Point = std::atoi(e + 1) + 1;
    DropTrailingZeros(d);
    return d;
}

// Keeps the first keep digits and rounds on the next one.
static void RoundAt(TDecimalDigits& d, long keep)
{
    if (keep >= static_cast<long>(d.Digits.size())) return;
    if (keep < 0) {
        d.Digits.clear();
        d.Point = 0;
        return;
    }
    const bool up = d.Digits[static_cast<size_t>(keep)] >= '5';
    d.Digits.resize(static_cast<size_t>(keep));
    if (up) {
        long i = keep - 1;
        for (; i >= 0 && d.Digits[static_cast<size_t>(i)] == '9'; --i) d.Digits[static_cast<size_t>(i)] = '0';
        if (i >= 0) {
            ++d.Digits[static_cast<size_t>(i)];
        } else {
            d.Digits.insert(d.Digits.begin(), '1');
            ++d.Point;
        }
    }
    DropTrailingZeros(d);
}

void RoundToDecimals(TDecimalDigits& d, int decimals)
{
    if (d.IsZero()) return;
    RoundAt(d, static_cast<long>(d.Point) + decimals);
}

void RoundToSignificant(TDecimalDigits& d, int count) { RoundAt(d, count); }

std::string GroupThousands(const std::string& integerDigits, char separator)
{
    std::string out;
    const size_t n = integerDigits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out.push_back(separator);
        out.push_back(integerDigits[i]);
    }
    return out;
}

std::string NonFiniteText(double value)
{
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    return {};
}

std::string GeneralFormat(double value, int precision, char decimalSeparator)
{
    if (!std::isfinite(value)) return NonFiniteText(value);
    precision = std::clamp(precision, 1, 18);
    TDecimalDigits d = DecimalDigits(value);
    RoundToSignificant(d, precision);
    if (d.IsZero()) return "0";
    std::string out = d.Negative ? "-" : "";
    const int exponent = d.Point - 1;
    const int n = static_cast<int>(d.Digits.size());
    if (exponent >= -5 && d.Point <= precision) {
        if (d.Point <= 0) {
            out += '0';
            out += decimalSeparator;
            out.append(static_cast<size_t>(-d.Point), '0');
            out += d.Digits;
        } else {
            out += d.Digits.substr(0, static_cast<size_t>(std::min(n, d.Point)));
            if (d.Point > n) out.append(static_cast<size_t>(d.Point - n), '0');
            if (n > d.Point) {
                out += decimalSeparator;
                out += d.Digits.substr(static_cast<size_t>(d.Point));
            }
        }
        return out;
    }
    out += d.Digits[0];
    if (n > 1) {
        out += decimalSeparator;
        out += d.Digits.substr(1);
    }
    out += 'E';
    out += std::to_string(exponent);
    return out;
}
