// The library's Format: printf-like, but with its own general format and exponent form.
#include "platform/vcl/DecimalDigits.h"
#include "platform/vcl/SysUtils.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Numbers that Format writes go into macro programs, so the point is always a full stop.
constexpr char kPoint = '.';

[[noreturn]] void BadFormat(const AnsiString& format)
{
    throw EConvertError("Format '" + format + "' invalid or incompatible with argument");
}

class TArgs {
public:
    TArgs(const AnsiString& format, std::initializer_list<TVarRec> args) : format_(format), args_(args) {}

    const TVarRec& Next()
    {
        if (next_ >= args_.size()) throw EConvertError("No argument for format '" + format_ + "'");
        return *(args_.begin() + next_++);
    }
    long long Integer()
    {
        const TVarRec& a = Next();
        if (const long long* v = std::get_if<long long>(&a.Value)) return *v;
        BadFormat(format_);
    }
    double Float()
    {
        const TVarRec& a = Next();
        if (const double* v = std::get_if<double>(&a.Value)) return *v;
        // The library accepts an integer where a float is asked for.
        if (const long long* v = std::get_if<long long>(&a.Value)) return static_cast<double>(*v);
        BadFormat(format_);
    }
    const AnsiString& Text()
    {
        const TVarRec& a = Next();
        if (const AnsiString* v = std::get_if<AnsiString>(&a.Value)) return *v;
        BadFormat(format_);
    }

private:
    const AnsiString& format_;
    std::initializer_list<TVarRec> args_;
    size_t next_ = 0;
};

// Digits of a whole number, with at least minDigits of them.
AnsiString Digits(unsigned long long v, int minDigits, int base = 10)
{
    AnsiString out;
    do {
        out.insert(out.begin(), "0123456789ABCDEF"[v % static_cast<unsigned>(base)]);
        v /= static_cast<unsigned>(base);
    } while (v);
    if (static_cast<int>(out.size()) < minDigits) out.insert(0, static_cast<size_t>(minDigits) - out.size(), '0');
    return out;
}

AnsiString FixedText(double value, int decimals, bool thousands)
{
    if (!std::isfinite(value)) return NonFiniteText(value);
    TDecimalDigits d = DecimalDigits(value);
    RoundToDecimals(d, decimals);
    AnsiString integer;
    for (int place = -d.Point; place < 0; ++place) integer += d.DigitAfterPoint(place);
    if (integer.empty()) integer = "0";
    if (thousands) integer = GroupThousands(integer, ',');
    AnsiString out = d.Negative && !d.IsZero() ? "-" : "";
    out += integer;
    if (decimals > 0) {
        out += kPoint;
        for (int place = 0; place < decimals; ++place) out += d.DigitAfterPoint(place);
    }
    return out;
}

// "-d.ddd...E+ddd" with precision significant digits and at least three exponent digits.
AnsiString ExponentText(double value, int precision)
{
    if (!std::isfinite(value)) return NonFiniteText(value);
    precision = std::clamp(precision, 1, 18);
    TDecimalDigits d = DecimalDigits(value);
    RoundToSignificant(d, precision);
    const int exponent = d.IsZero() ? 0 : d.Point - 1;
    AnsiString out = d.Negative && !d.IsZero() ? "-" : "";
    out += d.IsZero() ? '0' : d.Digits[0];
    if (precision > 1) {
        out += kPoint;
        for (int i = 1; i < precision; ++i) out += i < static_cast<int>(d.Digits.size()) ? d.Digits[static_cast<size_t>(i)] : '0';
    }
    out += exponent < 0 ? "E-" : "E+";
    out += Digits(static_cast<unsigned long long>(std::abs(exponent)), 3);
    return out;
}

}  // namespace

AnsiString Format(const AnsiString& format, std::initializer_list<TVarRec> args)
{
    TArgs next(format, args);
    AnsiString out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        if (++i >= format.size()) BadFormat(format);
        if (format[i] == '%') {
            out += '%';
            continue;
        }
        const bool left = format[i] == '-';
        if (left) ++i;
        // A width or precision: digits, or '*' for the next argument.
        auto number = [&](int fallback) {
            if (i < format.size() && format[i] == '*') {
                ++i;
                return static_cast<int>(std::clamp(next.Integer(), 0LL, 100000LL));
            }
            if (i >= format.size() || format[i] < '0' || format[i] > '9') return fallback;
            long long n = 0;
            while (i < format.size() && format[i] >= '0' && format[i] <= '9') n = std::min(n * 10 + (format[i++] - '0'), 100000LL);
            return static_cast<int>(n);
        };
        const int width = number(0);
        int precision = -1;
        if (i < format.size() && format[i] == '.') {
            ++i;
            precision = number(0);
        }
        if (i >= format.size()) BadFormat(format);
        AnsiString item;
        switch (format[i] | 0x20) {  // the type letter in either case
        case 'd': {
            const long long v = next.Integer();
            item = (v < 0 ? "-" : "") + Digits(v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v), precision);
            break;
        }
        case 'u': item = Digits(static_cast<unsigned long long>(next.Integer()), precision); break;
        case 'x': item = Digits(static_cast<unsigned long long>(next.Integer()), precision, 16); break;
        case 'f': item = FixedText(next.Float(), precision < 0 ? 2 : std::min(precision, 18), false); break;
        case 'n': item = FixedText(next.Float(), precision < 0 ? 2 : std::min(precision, 18), true); break;
        case 'e': item = ExponentText(next.Float(), precision < 0 ? 15 : precision); break;
        case 'g': item = GeneralFormat(next.Float(), precision < 0 ? 15 : precision, kPoint); break;
        case 's': {
            const AnsiString& s = next.Text();
            item = precision < 0 ? s : s.substr(0, static_cast<size_t>(precision));
            break;
        }
        default: BadFormat(format);
        }
        if (static_cast<int>(item.size()) < width) {
            const size_t pad = static_cast<size_t>(width) - item.size();
            item = left ? item + AnsiString(pad, ' ') : AnsiString(pad, ' ') + item;
        }
        out += item;
    }
    return out;
}
