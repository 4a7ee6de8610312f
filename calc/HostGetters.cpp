// The getters and conversion services of the pad host: length, area, quantity and money texts,
// the locale's separators, and the test accessors getzrqty and getzrstr.
#include "calc/HostFunctions.h"

#include "config/Config.h"
#include "config/Lengths.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinDefs.h"

#include <QLocale>

namespace {

// Misuse of a getter: the box says what was asked and what the run goes on with.
void ShowGetterError(const AnsiString& text)
{
    Application->MessageBox(Win1252ToUnicode("Error executing macro...\n" + text), QStringLiteral("Macro Error"),
                            MB_ICONINFORMATION | MB_SYSTEMMODAL);
}

TLengthScale InputUnit() { return Config ? Config->InputUnit : TLengthScale(); }

// getqtystr's pictures by the number of decimals asked for; any other number takes five.
const char* const kQtyPictures[] = {"0", "0.#", "0.##", "0.###", "0.####"};
const char kQtyPictureOther[] = "0.#####";

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
    const AnsiString upper = UpperCase(name);
    const TFormatSettings& locale = FormatSettings();
    char separator = 0;
    if (upper == "LISTSEPARATOR") {
        separator = locale.ListSeparator;
    } else if (upper == "DECIMALSEPARATOR") {
        separator = locale.DecimalSeparator;
    } else if (upper == "THOUSANDSEPARATOR" || upper == "THOUSANDSSEPARATOR") {
        separator = locale.ThousandSeparator;
    } else {
        ShowGetterError("GetIntegerVariable(\"" + AnsiString(name) + "\")\nMacro Variable illegal");
        return 0;
    }
    // The code as a signed 8-bit character: a non-breaking space gives -96.
    return static_cast<signed char>(separator);
}

double TPadMacroHost::GetZRQty(const char* name)
{
    if (UpperCase(name) == "TEST") return 99.0;
    const AnsiString n(name);
    ShowGetterError("GetZRQty(\"" + n + "\")\nIllegal Variable: " + n + "\nReturning 0");
    return 0.0;
}

AnsiString TPadMacroHost::GetZRStr(const char* name)
{
    const AnsiString upper = UpperCase(name);
    if (upper == "TEST") return "Debug Test";
    if (upper.starts_with("ZR_USER_") && upper.ends_with("$")) return {};
    const AnsiString n(name);
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
    // replaced again (searching from the start after each replacement would never end).
    const char separator = FormatSettings().ListSeparator;
    AnsiString result;
    for (const char* p = text; *p; ++p) {
        if (*p == separator)
            result += replacement;
        else
            result += *p;
    }
    return result;
}

int TPadMacroHost::SearchDirFileCount(const char*, const char*) { return 1; }
