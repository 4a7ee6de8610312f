#pragma once
// The decimal text of a double that the run-time library's number formatters share: at most 18
// significant digits, rounded further on the text itself, a dropped 5 going away from zero.
// Internal to platform/vcl.
#include <string>

struct TDecimalDigits {
    std::string Digits;   // significant digits without trailing zeros; empty for zero
    int Point = 0;        // the value is 0.Digits x 10^Point
    bool Negative = false;

    bool IsZero() const { return Digits.empty(); }
    // The digit at a place counted from the decimal point: 0 is the first after it, -1 the
    // units; '0' outside the digits.
    char DigitAfterPoint(int place) const;
};

// value must be finite. The 18 digits are the exact binary value rounded to nearest.
TDecimalDigits DecimalDigits(double value, int significant = 18);
// Rounds to that many places after the point (may be negative), half away from zero.
void RoundToDecimals(TDecimalDigits& d, int decimals);
// Rounds to that many significant digits, half away from zero.
void RoundToSignificant(TDecimalDigits& d, int count);
// Inserts the separator between groups of three integer digits.
std::string GroupThousands(const std::string& integerDigits, char separator);
// The general format of the library: up to precision significant digits, plain digits while
// the exponent is from -5 to precision - 1, else "d.dddE[-]x".
std::string GeneralFormat(double value, int precision, char decimalSeparator);
// "INF", "-INF" or "NAN" for a value that is not finite, else empty.
std::string NonFiniteText(double value);
