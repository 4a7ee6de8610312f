// Locale settings, text-to-number conversions and the date formatter of the run-time library.
#include "platform/vcl/SysUtils.h"

#include <QLocale>
#include <cctype>
#include <cerrno>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>

namespace {

const char* const kShortMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};

// One Windows-1252 character for a locale separator; fallback when the code page lacks it.
char SeparatorChar(const QString& text, char fallback)
{
    const AnsiString a = UnicodeToWin1252(text);
    return a.size() == 1 && a[0] != '?' ? a[0] : fallback;
}

// The C library reads numbers in the C locale's notation only through this locale: the GUI
// library switches the process's own locale to the user's.
locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

}  // namespace

void SetDefaultFormatSettings(TFormatSettings& settings)
{
    settings.DecimalSeparator = '.';
    settings.ThousandSeparator = ',';
    settings.ListSeparator = ',';
    for (int i = 0; i < 12; ++i) {
        settings.ShortMonthNames[static_cast<size_t>(i)] = kShortMonths[i];
        settings.LongMonthNames[static_cast<size_t>(i)] = kLongMonths[i];
    }
}

void GetLocaleFormatSettings(TFormatSettings& settings)
{
    const QLocale locale = QLocale::system();
    settings.DecimalSeparator = SeparatorChar(locale.decimalPoint(), '.');
    // A narrow no-break space (French) is not in the code page; the plain no-break space is.
    settings.ThousandSeparator = SeparatorChar(locale.groupSeparator(), '\xA0');
    if (settings.ThousandSeparator == settings.DecimalSeparator)
        settings.ThousandSeparator = settings.DecimalSeparator == ',' ? '.' : ',';
    // Qt knows no list separator; the usual one is ';' where the comma is the decimal separator.
    settings.ListSeparator = settings.DecimalSeparator == ',' ? ';' : ',';
    for (int i = 0; i < 12; ++i) {
        settings.ShortMonthNames[static_cast<size_t>(i)] = UnicodeToWin1252(locale.monthName(i + 1, QLocale::ShortFormat));
        settings.LongMonthNames[static_cast<size_t>(i)] = UnicodeToWin1252(locale.monthName(i + 1, QLocale::LongFormat));
    }
}

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings = [] {
        TFormatSettings s;
        GetLocaleFormatSettings(s);
        return s;
    }();
    return settings;
}

bool TryStrToFloat(const AnsiString& text, double& value)
{
    const char sep = FormatSettings().DecimalSeparator;
    size_t i = 0, end = text.size();
    while (i < end && text[i] == ' ') ++i;
    while (end > i && text[end - 1] == ' ') --end;
    // The number in C notation: sign, digits, point, digits, exponent.
    AnsiString c;
    if (i < end && (text[i] == '+' || text[i] == '-')) c += text[i++];
    int digits = 0;
    for (; i < end && IsDigit(text[i]); ++i, ++digits) c += text[i];
    if (i < end && text[i] == sep) {
        c += '.';
        for (++i; i < end && IsDigit(text[i]); ++i, ++digits) c += text[i];
    }
    if (digits == 0) return false;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        c += 'e';
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-')) c += text[i++];
        int expDigits = 0;
        for (; i < end && IsDigit(text[i]); ++i, ++expDigits) c += text[i];
        if (expDigits == 0) return false;
    }
    if (i != end) return false;
    errno = 0;
    const double v = strtod_l(c.c_str(), nullptr, CLocale());
    if (std::isinf(v)) return false;  // too large for a double; a tiny value becomes 0
    value = v;
    return true;
}

double StrToFloat(const AnsiString& text)
{
    double value = 0.0;
    if (!TryStrToFloat(text, value)) throw EConvertError("'" + text + "' is not a valid floating point value");
    return value;
}

namespace {

bool TryStrToInt(const AnsiString& text, int& value)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return false;
    long long v = 0;
    for (; i < text.size(); ++i) {
        const int c = std::tolower(static_cast<unsigned char>(text[i]));
        const int digit = IsDigit(static_cast<char>(c)) ? c - '0' : (base == 16 && c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
        if (digit < 0) return false;
        v = v * base + digit;
        // Hexadecimal may fill all 32 bits ($FFFFFFFF is -1); decimal must fit an int.
        if (v > (base == 16 ? 0xFFFFFFFFLL : static_cast<long long>(INT_MAX) + 1)) return false;
    }
    if (base == 16) v = static_cast<int>(static_cast<unsigned>(v));
    if (negative) v = -v;
    if (v < INT_MIN || v > INT_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

}  // namespace

int StrToIntDef(const AnsiString& text, int defaultValue)
{
    int value = 0;
    return TryStrToInt(text, value) ? value : defaultValue;
}

int StrToInt(const AnsiString& text)
{
    int value = 0;
    if (!TryStrToInt(text, value)) throw EConvertError("'" + text + "' is not a valid integer value");
    return value;
}

AnsiString IntToStr(long long value) { return std::to_string(value); }

AnsiString FormatDateTime(const AnsiString& format, const QDateTime& when)
{
    const QDate date = when.date();
    const QTime time = when.time();
    const TFormatSettings& fs = FormatSettings();
    const size_t month = static_cast<size_t>(date.isValid() ? date.month() - 1 : 0);
    auto two = [](int v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    AnsiString out;
    bool afterHour = false;  // "m" right after an hour means minutes
    size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        const char lc = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (c == '"' || c == '\'') {
            const size_t end = format.find(c, i + 1);
            out += format.substr(i + 1, end == AnsiString::npos ? AnsiString::npos : end - i - 1);
            i = end == AnsiString::npos ? format.size() : end + 1;
            continue;
        }
        size_t run = 1;
        while (i + run < format.size() && std::tolower(static_cast<unsigned char>(format[i + run])) == lc) ++run;
        switch (lc) {
        case 'd': out += run >= 2 ? two(date.day()) : std::to_string(date.day()); break;
        case 'y': out += run >= 3 ? std::to_string(date.year()) : two(date.year() % 100); break;
        case 'm':
            if (afterHour && run <= 2) {
                out += run == 2 ? two(time.minute()) : std::to_string(time.minute());
            } else if (run >= 4) {
                out += fs.LongMonthNames[month];
            } else if (run == 3) {
                out += fs.ShortMonthNames[month];
            } else {
                out += run == 2 ? two(date.month()) : std::to_string(date.month());
            }
            break;
        case 'h': out += run >= 2 ? two(time.hour()) : std::to_string(time.hour()); break;
        case 'n': out += run >= 2 ? two(time.minute()) : std::to_string(time.minute()); break;
        case 's': out += run >= 2 ? two(time.second()) : std::to_string(time.second()); break;
        default: out.append(run, c); break;
        }
        if (lc == 'h') afterHour = true;
        else if (lc == 'm' || lc == 'd' || lc == 'y' || lc == 'n' || lc == 's') afterHour = false;
        i += run;
    }
    return out;
}
