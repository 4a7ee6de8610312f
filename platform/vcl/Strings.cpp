#include "platform/vcl/Strings.h"

#include <QFile>
#include <algorithm>
#include <cstring>

namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

UnicodeString Win1252ToUnicode(const AnsiString& text)
{
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (unsigned char c : text) {
        char16_t u = (c >= 0x80 && c < 0xA0) ? kHigh[c - 0x80] : char16_t(c);
        out.append(QChar(u));
    }
    return out;
}

AnsiString UnicodeToWin1252(const UnicodeString& text)
{
    AnsiString out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar qc : text) {
        char16_t u = qc.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.push_back(static_cast<char>(u));
            continue;
        }
        const char16_t* hit = std::find(std::begin(kHigh), std::end(kHigh), u);
        out.push_back(hit != std::end(kHigh) ? static_cast<char>(0x80 + (hit - kHigh)) : '?');
    }
    return out;
}

AnsiString UpperCase(const AnsiString& text)
{
    AnsiString out = text;
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

AnsiString LowerCase(const AnsiString& text)
{
    AnsiString out = text;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

static bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

AnsiString TrimLeft(const AnsiString& text)
{
    size_t i = 0;
    while (i < text.size() && IsTrimmed(text[i])) ++i;
    return text.substr(i);
}

AnsiString TrimRight(const AnsiString& text)
{
    size_t n = text.size();
    while (n > 0 && IsTrimmed(text[n - 1])) --n;
    return text.substr(0, n);
}

AnsiString Trim(const AnsiString& text) { return TrimLeft(TrimRight(text)); }

UnicodeString PathToUnicode(const AnsiString& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

AnsiString UnicodeToPath(const UnicodeString& path) { return QFile::encodeName(path).toStdString(); }

AnsiString TextHead(const char* text) { return AnsiString(text, strnlen(text, kTextHeadMax)); }

bool IsUtf8Text(const AnsiString& text)
{
    bool wide = false;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        wide = true;
        size_t more = 0;
        unsigned min = 0, code = 0;
        if ((c & 0xE0) == 0xC0) more = 1, min = 0x80, code = c & 0x1F;
        else if ((c & 0xF0) == 0xE0) more = 2, min = 0x800, code = c & 0x0F;
        else if ((c & 0xF8) == 0xF0) more = 3, min = 0x10000, code = c & 0x07;
        else return false;
        if (i + more >= text.size()) return false;
        for (size_t k = 1; k <= more; ++k) {
            const unsigned char t = static_cast<unsigned char>(text[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            code = (code << 6) | (t & 0x3F);
        }
        // Overlong forms, surrogates and code points past Unicode are no UTF-8.
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += more + 1;
    }
    return wide;
}
