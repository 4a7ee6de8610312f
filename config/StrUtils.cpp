#include "config/StrUtils.h"

#include "platform/vcl/SysUtils.h"

#include <cstring>

AnsiString ExtractLeadingNumber(const char* text)
{
    if (!text) return {};
    const char sep = FormatSettings().DecimalSeparator;
    AnsiString result;
    int accepted = 0;
    bool sawSep = false, sawE = false, sawMinus = false;
    for (const char* p = text; *p; ++p) {
        const char c = *p;
        if (!std::strchr(" 0123456789.,-E", c)) {
            if (accepted == 0) continue;
            break;
        }
        if (c == ',' || c == '.') {
            if (c != sep || sawSep || sawE) break;
            sawSep = true;
        } else if (c == '-') {
            if (sawE || sawSep || sawMinus) break;
            sawMinus = true;
        } else if (c == 'E') {
            if (!sawSep || sawE) break;
            sawE = true;
        }
        ++accepted;
        if (c != ' ') result.push_back(c);
    }
    if (result == "E" || result == "-" || result == AnsiString(1, sep)) result.clear();
    return result;
}

double StrToFloatDefault(const char* text, double fallback)
{
    const AnsiString number = ExtractLeadingNumber(text);
    return number.empty() ? fallback : StrToFloat(number);
}

double StrToFloatDefault(const AnsiString& text, double fallback)
{
    return StrToFloatDefault(text.c_str(), fallback);
}

void ReplaceAll(AnsiString& text, const AnsiString& what, const AnsiString& with)
{
    if (what.empty()) return;
    if (with.find(what) != AnsiString::npos) {
        // Searching from the start again would find the replacement itself and never end:
        // replace each occurrence once, left to right.
        for (size_t at = text.find(what); at != AnsiString::npos; at = text.find(what, at + with.size()))
            text.replace(at, what.size(), with);
        return;
    }
    // Each pass searches from the start, so that an occurrence formed by a replacement is
    // replaced too.
    for (size_t at = text.find(what); at != AnsiString::npos; at = text.find(what))
        text.replace(at, what.size(), with);
}

int FirstCharOfSet(const UnicodeString& text, const UnicodeString& set)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (set.contains(text[i])) return static_cast<int>(i + 1);
    return 0;
}

AnsiString WideToAnsi(const char16_t* text, size_t length)
{
    AnsiString out;
    for (size_t i = 0; i < length; ++i) {
        const char low = static_cast<char>(text[i] & 0xFF);
        if (low) out.push_back(low);
    }
    return out;
}

AnsiString WideToAnsi(const wchar_t* text)
{
    AnsiString out;
    for (; text && *text; ++text) {
        const char low = static_cast<char>(static_cast<unsigned>(*text) & 0xFF);
        if (low) out.push_back(low);
    }
    return out;
}

AnsiString UnicodeToAnsi(const UnicodeString& text)
{
    return WideToAnsi(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
}

UnicodeString AnsiToUnicode(const AnsiString& text) { return Win1252ToUnicode(text); }

AnsiString AnsiToAnsi(const AnsiString& text) { return text; }
