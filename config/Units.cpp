#include "config/Units.h"

#include <cstring>

TLengthScale::TLengthScale(int code) : Code(code)
{
    switch (code) {
    case MM: Factor = SecondFactor = 1.0; break;
    case CM: Factor = SecondFactor = 10.0; break;
    case IMPERIAL:
    case FEET:
        Factor = 25.4;
        SecondFactor = 16.0;
        break;
    default: Factor = SecondFactor = 1000.0; break;
    }
}

// The six known codes decide first; any other code by its bits, so 0x30 is both.
bool TLengthScale::IsImperial() const
{
    if (Code >= METRIC && Code <= CM) return false;
    if (Code == IMPERIAL || Code == FEET) return true;
    return (Code & 0x20) != 0;
}

bool TLengthScale::IsMetric() const
{
    if (Code >= METRIC && Code <= CM) return true;
    if (Code == IMPERIAL || Code == FEET) return false;
    return (Code & 0x10) != 0;
}

TLengthScale UnitFromName(const char* name)
{
    static const struct {
        const char* name;
        int code;
    } kNames[] = {
        {"IMPERIAL", TLengthScale::IMPERIAL}, {"FT_IN", TLengthScale::IMPERIAL},
        {"FEET", TLengthScale::FEET},         {"METRIC", TLengthScale::METRIC},
        {"METRE", TLengthScale::METRE},       {"MM", TLengthScale::MM},
        {"CM", TLengthScale::CM},
    };
    const AnsiString upper = UpperCase(name ? name : "");
    for (const auto& n : kNames)
        if (upper == n.name) return TLengthScale(n.code);
    return TLengthScale(TLengthScale::METRIC);
}
