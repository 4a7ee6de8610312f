#pragma once
// A unit of length: a unit code and the millimetres per unit.
#include "platform/vcl/Strings.h"

struct TLengthScale {
    // Unit codes: bit 0x10 marks the metric codes, bit 0x20 the imperial ones.
    enum : int { METRIC = 16, METRE = 17, MM = 18, CM = 19, IMPERIAL = 32, FEET = 33 };

    int Code = METRIC;
    double Factor = 1000.0;        // millimetres per unit (per inch for the imperial codes)
    double SecondFactor = 1000.0;  // 16 for the imperial codes (sixteenths), else Factor

    TLengthScale() = default;
    explicit TLengthScale(int code);

    bool IsImperial() const;
    bool IsMetric() const;
};

// "IMPERIAL", "FT_IN", "FEET", "METRIC", "METRE", "MM", "CM" in any case; anything else is METRIC.
TLengthScale UnitFromName(const char* name);
inline TLengthScale UnitFromName(const AnsiString& name) { return UnitFromName(name.c_str()); }
