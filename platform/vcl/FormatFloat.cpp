// The picture formatter and the general float-to-text conversion.
#include "platform/vcl/DecimalDigits.h"
#include "platform/vcl/SysUtils.h"

#include <cmath>

namespace {

// What a picture pattern asks for.
struct TPicture {
    AnsiString Prefix, Suffix;  // text before and after the placeholders
    int IntegerZeros = 0;       // "0" before the point: integer digits always written
    int Decimals = 0;           // placeholders after the point
    int FixedDecimals = 0;      // decimals up to the last "0" after the point: always written
    bool Thousands = false;     // a ',' among the placeholders
    bool HasPlaceholder = false;
};

bool IsPlaceholder(char c) { return c == '0' || c == '#' || c == '.' || c == ','; }

TPicture ReadPicture(const AnsiString& pattern)
{
    TPicture pic;
    bool afterPoint = false, placeholdersDone = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '"' || c == '\'') {  // quoted text is copied without its quotes
            const size_t end = pattern.find(c, i + 1);
            const AnsiString text = pattern.substr(i + 1, end == AnsiString::npos ? AnsiString::npos : end - i - 1);
            (pic.HasPlaceholder ? pic.Suffix : pic.Prefix) += text;
            if (pic.HasPlaceholder) placeholdersDone = true;
            if (end == AnsiString::npos) break;
            i = end;
            continue;
        }
        if (!IsPlaceholder(c) || placeholdersDone) {
            (pic.HasPlaceholder ? pic.Suffix : pic.Prefix) += c;
            if (pic.HasPlaceholder) placeholdersDone = true;
            continue;
        }
        pic.HasPlaceholder = true;
        if (c == '.') {
            afterPoint = true;
        } else if (c == ',') {
            pic.Thousands = true;
        } else if (afterPoint) {
            ++pic.Decimals;
            if (c == '0') pic.FixedDecimals = pic.Decimals;
        } else if (c == '0') {
            ++pic.IntegerZeros;
        }
    }
    return pic;
}

}  // namespace

AnsiString FormatFloat(const AnsiString& pattern, double value)
{
    const TPicture pic = ReadPicture(pattern);
    if (!pic.HasPlaceholder && pic.Prefix.empty()) return FloatToStr(value);
    if (!std::isfinite(value)) return NonFiniteText(value);

    TDecimalDigits d = DecimalDigits(value);
    RoundToDecimals(d, pic.Decimals);

    AnsiString integer;
    for (int place = -d.Point; place < 0; ++place) integer += d.DigitAfterPoint(place);
    if (static_cast<int>(integer.size()) < pic.IntegerZeros)
        integer.insert(0, static_cast<size_t>(pic.IntegerZeros) - integer.size(), '0');
    if (pic.Thousands) integer = GroupThousands(integer, FormatSettings().ThousandSeparator);

    AnsiString fraction;
    for (int place = 0; place < pic.Decimals; ++place) fraction += d.DigitAfterPoint(place);
    while (static_cast<int>(fraction.size()) > pic.FixedDecimals && fraction.back() == '0') fraction.pop_back();

    AnsiString out = d.Negative && !d.IsZero() ? "-" : "";
    out += pic.Prefix;
    out += integer;
    if (!fraction.empty()) {
        out += FormatSettings().DecimalSeparator;
        out += fraction;
    }
    return out + pic.Suffix;
}

AnsiString FloatToStr(double value) { return GeneralFormat(value, 15, FormatSettings().DecimalSeparator); }
