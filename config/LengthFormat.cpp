// Writing lengths as feet, inches and fractions of an inch, and areas as square feet.
#include "config/Lengths.h"

#include "platform/vcl/SysUtils.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The picture for a precision: "0" for whole numbers, "0.##..." for up to that many decimals.
std::string Picture(int precision) { return precision > 0 ? "0." + std::string(static_cast<size_t>(precision), '#') : "0"; }

bool IsFractionPrecision(int precision) { return precision == 16 || precision == 32 || precision == 64; }

// The text into the caller's buffer, cut to its size.
char* Put(const std::string& text, char* out, size_t outSize)
{
    if (!out || outSize == 0) return out;
    const size_t n = std::min(text.size(), outSize - 1);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return out;
}

// " [3/8]\"": n of D parts written with the smallest power-of-two denominator.
std::string FractionText(int n, int denominator)
{
    int den = 2;
    while (den < denominator && n % (denominator / den) != 0) den *= 2;
    return " [" + std::to_string(n / (denominator / den)) + "/" + std::to_string(den) + "]\"";
}

std::string FeetInchFraction(const TLengthScale& unit, double mm, int precision)
{
    if (unit.Code == TLengthScale::FEET) return FormatFloat(".##", std::fabs(mm) / (unit.Factor * 12.0)) + "'";
    if (unit.Code != TLengthScale::IMPERIAL) return FormatFloat(Picture(precision), RoundToFraction(&unit, mm) / unit.Factor);
    if (!std::isfinite(mm)) return FormatFloat("0", mm);

    double sign = SignWithTolerance(mm);
    const double a = std::fabs(mm) / (unit.Factor * 12.0);
    double feet = std::floor(a);
    const double inches = (a - feet) * 12.0;
    int denominator = precision == 32 || precision == 64 ? precision : static_cast<int>(unit.SecondFactor);
    if (denominator < 2) denominator = 16;
    double r = RoundHalfUp(inches * denominator) / denominator;
    // With whole inches, 11 1/2" and more would be written as 12".
    if (precision == -1 && r >= 11.5 && r < 12.5) {
        r = 0.0;
        feet += 1.0;
    }
    if (NearlyEqual(r, 12.0)) {
        r = 0.0;
        feet += 1.0;
    }
    if (NearlyEqual(feet, 0.0) && NearlyEqual(r, 0.0)) sign = 0.0;  // nothing left to sign

    std::string feetText = (sign == -1.0 ? "-" : "") + FormatFloat(Picture(precision), feet) + "'";
    if (IsFractionPrecision(precision)) {
        feetText = feetText == "0'" ? "" : feetText + "-";
        const double whole = std::floor(r);
        const int n = static_cast<int>((r - whole) * denominator + 0.5);
        std::string inchText = FormatFloat("0", whole);
        if (feetText.empty() && inchText == "0" && n > 0) inchText.clear();
        inchText += n == 0 ? "\"" : FractionText(n, denominator);
        return feetText + inchText;
    }
    if (r > 0.0) return feetText + "-" + FormatFloat(Picture(precision), r) + "\"";
    return feetText;
}

std::string FeetInchDecimal(const TLengthScale& unit, double area, int precision)
{
    const double squareFoot = 12.0 * unit.Factor * 12.0 * unit.Factor;  // in square millimetres
    if (unit.Code == TLengthScale::FEET) return FormatFloat(".##", std::fabs(area) * 1000.0 * 1000.0 / squareFoot) + "'";
    if (unit.Code != TLengthScale::IMPERIAL) return FormatFloat(Picture(precision), area);
    if (!std::isfinite(area)) return FormatFloat("0", area);

    double sign = SignWithTolerance(area);
    const double a = std::fabs(area * 1000.0 * 1000.0 / squareFoot);
    double whole = std::floor(a);
    const double twelfths = (a - whole) * 12.0;
    double r = RoundHalfUp(twelfths * unit.SecondFactor) / unit.SecondFactor;
    if (NearlyEqual(r, 12.0)) {
        r = 0.0;
        whole += 1.0;
    }
    if (NearlyEqual(whole, 0.0) && NearlyEqual(r, 0.0)) sign = 0.0;
    std::string text = (sign == -1.0 ? "-" : "") + FormatFloat(Picture(precision), whole) + "'";
    if (r > 0.0) text += "-" + FormatFloat(Picture(precision), r) + "\"";
    return text;
}

}  // namespace

char* FormatFeetInchFraction(const TLengthScale* unit, double mm, char* out, int precision, size_t outSize)
{
    return Put(FeetInchFraction(unit ? *unit : TLengthScale(), mm, precision), out, outSize);
}

char* FormatFeetInchDecimal(const TLengthScale* unit, double area, char* out, int precision, size_t outSize)
{
    return Put(FeetInchDecimal(unit ? *unit : TLengthScale(), area, precision), out, outSize);
}
