// The getters and conversion services of the pad host: length, area, quantity and money texts,
// the locale's separators, and the test accessors getzrqty and getzrstr.
#include "calc/HostFunctions.h"

#include "config/Config.h"
#include "config/Lengths.h"
#include "macro/Macromain.h"
#include "platform/vcl/SysUtils.h"

#include <QLocale>
#include <cstring>

namespace {

// Misuse of a getter: the box says what was asked and what the run goes on with.
void ShowGetterError(const AnsiString& text) { ShowMacroHostError(("Error executing macro...\n" + text).c_str()); }

// Whether name, upper-cased, begins with upper. Only as much of the name is read as upper is long:
// a name may be a pad's text of hundreds of megabytes, and an upper-cased copy of it would be as
// large.
bool UpperStartsWith(const char* name, const char* upper)
{
    for (; *upper; ++name, ++upper)
        if (!*name || (*name >= 'a' && *name <= 'z' ? char(*name - 'a' + 'A') : *name) != *upper) return false;
    return true;
}

bool UpperEquals(const char* name, const char* upper)
{
    return UpperStartsWith(name, upper) && name[std::strlen(upper)] == '\0';
}

TLengthScale InputUnit() { return Config ? Config->InputUnit : TLengthScale(); }

// getqtystr's pictures by the number of decimals asked for; any other number takes five.
const char* const kQtyPictures[] = {"0", "0.#", "0.##", "0.###", "0.####"};
const char kQtyPictureOther[] = "0.#####";

// The separators GetIntegerVariable gives by name.
const struct {
    const char* name;
    char TFormatSettings::*separator;
} kSeparators[] = {
    {"LISTSEPARATOR", &TFormatSettings::ListSeparator},
    {"DECIMALSEPARATOR", &TFormatSettings::DecimalSeparator},
    {"THOUSANDSEPARATOR", &TFormatSettings::ThousandSeparator},
    {"THOUSANDSSEPARATOR", &TFormatSettings::ThousandSeparator},
};

AnsiString DeleteAll(AnsiString text, char c)
{
    std::erase(text, c);
    return text;
}

}  // namespace

AnsiString MoneyText(double value)
{
    AnsiString text = UnicodeToWin1252(QLocale().toCurrencyString(value));
    if (!text.empty() && text[0] == '\\') text.erase(0, 1);
    // Currency signs outside ASCII (the euro, the pound) do not survive the macro's texts.
    for (char& c : text)
        if (static_cast<unsigned char>(c) >= 128) c = ' ';
    return Trim(text);
}

int TPadMacroHost::GetIntegerVariable(const char* name)
{
    for (const auto& row : kSeparators)
        // The code as a signed 8-bit character: a non-breaking space gives -96.
        if (UpperEquals(name, row.name)) return static_cast<signed char>(FormatSettings().*row.separator);
    ShowGetterError("GetIntegerVariable(\"" + TextHead(name) + "\")\nMacro Variable illegal");
    return 0;
}

double TPadMacroHost::GetZRQty(const char* name)
{
    if (UpperEquals(name, "TEST")) return 99.0;
    const AnsiString n = TextHead(name);
    ShowGetterError("GetZRQty(\"" + n + "\")\nIllegal Variable: " + n + "\nReturning 0");
    return 0.0;
}

AnsiString TPadMacroHost::GetZRStr(const char* name)
{
    if (UpperEquals(name, "TEST")) return "Debug Test";
    if (UpperStartsWith(name, "ZR_USER_") && name[std::strlen(name) - 1] == '$') return {};
    const AnsiString n = TextHead(name);
    ShowGetterError("GetZRStr(\"" + n + "\")\nIllegal Variable: " + n + "\nReturning a blank string");
    return {};
}

AnsiString TPadMacroHost::GetLengthStr(double value)
{
    const TLengthScale unit = InputUnit();
    char text[256];
    return FormatFeetInchFraction(&unit, value, text, -1, sizeof text);
}

AnsiString TPadMacroHost::GetAreaStr(double value)
{
    const TLengthScale unit = InputUnit();
    char text[256];
    return FormatFeetInchDecimal(&unit, value, text, -1, sizeof text);
}

AnsiString TPadMacroHost::GetQtyStr(double value, int decimals)
{
    const bool listed = decimals >= 0 && decimals < static_cast<int>(std::size(kQtyPictures));
    return FormatFloat(listed ? kQtyPictures[decimals] : kQtyPictureOther, value);
}

AnsiString TPadMacroHost::GetPriceStr(double value) { return MoneyText(value); }

AnsiString TPadMacroHost::GetPriceNoSeparatorStr(double value)
{
    return DeleteAll(MoneyText(value), FormatSettings().ListSeparator);
}

AnsiString TPadMacroHost::ReplaceSeparatorStr(const char* text, const char* replacement)
{
    // One pass from left to right: a replacement that holds the separator itself is not
    // replaced again (searching from the start after each replacement would never end). Only
    // what the result keeps is made: many separators each replaced by a long text would make
    // gigabytes of it.
    const char separator = FormatSettings().ListSeparator;
    const size_t replacementLength = strnlen(replacement, kTextHeadMax);
    AnsiString result;
    for (const char* p = text; *p && result.size() < kTextHeadMax; ++p) {
        if (*p == separator)
            result.append(replacement, replacementLength);
        else
            result += *p;
    }
    if (result.size() > kTextHeadMax) result.resize(kTextHeadMax);
    return result;
}

int TPadMacroHost::SearchDirFileCount(const char*, const char*) { return 1; }
