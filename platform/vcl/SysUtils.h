#pragma once
// The run-time library functions the program formats and converts numbers and dates with.
// Each gives exactly the texts the program's callers expect of the original library.
#include "platform/vcl/Strings.h"

#include <QDateTime>
#include <array>
#include <concepts>
#include <initializer_list>
#include <stdexcept>
#include <variant>

// The locale settings the run-time library reads. Filled from the user's locale on first use;
// tests set them directly and must not depend on the machine's own locale.
struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    char ListSeparator = ',';
    std::array<AnsiString, 12> ShortMonthNames;
    std::array<AnsiString, 12> LongMonthNames;
};

// The process-wide settings, read from the user's locale the first time they are asked for.
TFormatSettings& FormatSettings();
// Reads the separators and month names from the user's locale (QLocale::system()).
void GetLocaleFormatSettings(TFormatSettings& settings);
// Sets a plain English locale with a full stop and a comma; tests start from it.
void SetDefaultFormatSettings(TFormatSettings& settings);

// The conversion error of StrToFloat and its kin; its message is the library's text.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The picture formatter, for patterns built from "0", "#", "." and an optional thousands ','
// (text before or after the placeholders is copied as it stands):
// - the value is taken with 18 significant digits, and that decimal text is rounded to the
//   placeholders after the point, a dropped 5 or more going away from zero (2.5 -> "3" with "0");
// - "0" is a digit always written, "#" after the point one written only when it is not a
//   trailing zero; the separator only when a decimal digit follows it;
// - no integer digit without a "0" before the point (".##" writes 0.5 as ".5", and 0 as "");
// - a value that rounds to zero has no sign; no thousands separator unless the pattern has ',';
// - the locale's decimal separator (FormatSettings()).
// An empty pattern writes the general format (as FloatToStr). Infinities and NaN give "INF",
// "-INF" and "NAN".
AnsiString FormatFloat(const AnsiString& pattern, double value);

// Locale-aware text to double: blanks around it, a sign, digits with the locale's decimal
// separator, an exponent. Raises EConvertError ("'<text>' is not a valid floating point value")
// on anything else, including a number too large for a double.
double StrToFloat(const AnsiString& text);
bool TryStrToFloat(const AnsiString& text, double& value);
// A signed decimal integer, or hexadecimal after "$" or "0x", to int. No blanks are allowed.
// StrToIntDef gives the default on bad text or overflow; StrToInt raises EConvertError
// ("'<text>' is not a valid integer value").
int StrToIntDef(const AnsiString& text, int defaultValue);
int StrToInt(const AnsiString& text);
AnsiString IntToStr(long long value);
// The general format with 15 significant digits and the locale's decimal separator: plain
// digits while the decimal exponent is from -5 to 14 ("0.00001", "123456789012345"), else
// scientific as "1.5E20" or "1.5E-7". Trailing zeros are never written.
AnsiString FloatToStr(double value);

// One argument of Format: any integer, a floating-point number or a text.
struct TVarRec {
    std::variant<long long, double, AnsiString> Value;
    template <std::integral T>
    TVarRec(T v) : Value(static_cast<long long>(v)) {}
    TVarRec(double v) : Value(v) {}
    TVarRec(const char* v) : Value(AnsiString(v ? v : "")) {}
    TVarRec(AnsiString v) : Value(std::move(v)) {}
};

// The library's Format: "%" ["-"] [width] ["." precision] type, width and precision also "*"
// (taken from the arguments), "%%" for a per cent sign. Types:
//   d  integer, precision = minimum digits     u  unsigned     x  upper-case hexadecimal
//   f  fixed, precision = decimals (2)         n  fixed with thousands separators
//   e  "-d.ddd...E+ddd", precision = digits (15)
//   g  general: up to precision significant digits (15, not C's 6), plain or scientific as
//      FloatToStr, no trailing zeros ("%10g" right-aligns it in ten characters)
//   s  text, precision = most characters
// Numbers are written with a full stop whatever the locale: the texts Format makes are read back
// as numbers by the macro language, which knows no other decimal point.
// A wrong type or a missing argument raises EConvertError.
AnsiString Format(const AnsiString& format, std::initializer_list<TVarRec> args);

// The library's date formatter: d dd (day), m mm (month, or minutes right after an hour),
// mmm mmmm (the locale's short and long month names), yy yyyy, h hh, n nn, s ss, text in quotes
// copied, any other character copied. Letters are taken in either case.
AnsiString FormatDateTime(const AnsiString& format, const QDateTime& when);
