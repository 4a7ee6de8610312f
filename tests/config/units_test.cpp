// Units of measure from their codes and names.
#include "config/Units.h"

#include <gtest/gtest.h>

namespace {

struct UnitCase {
    const char* name;
    int code;
    double factor, second;
};

TEST(UnitFromName, Names)
{
    const UnitCase cases[] = {
        {"IMPERIAL", 32, 25.4, 16.0}, {"ft_in", 32, 25.4, 16.0}, {"FT_IN", 32, 25.4, 16.0},
        {"Feet", 33, 25.4, 16.0},     {"METRIC", 16, 1000, 1000}, {"metre", 17, 1000, 1000},
        {"mm", 18, 1, 1},             {"Mm", 18, 1, 1},           {"CM", 19, 10, 10},
        {"", 16, 1000, 1000},         {"INCH", 16, 1000, 1000},   {" MM", 16, 1000, 1000},
        {"MM ", 16, 1000, 1000},
    };
    for (const auto& c : cases) {
        const TLengthScale u = UnitFromName(c.name);
        EXPECT_EQ(u.Code, c.code) << c.name;
        EXPECT_EQ(u.Factor, c.factor) << c.name;
        EXPECT_EQ(u.SecondFactor, c.second) << c.name;
    }
    EXPECT_EQ(UnitFromName(static_cast<const char*>(nullptr)).Code, 16);
}

TEST(TLengthScale, CodesDecideBeforeBits)
{
    const struct {
        int code;
        double factor;
        bool imperial, metric;
    } cases[] = {
        {16, 1000, false, true}, {17, 1000, false, true}, {18, 1, false, true}, {19, 10, false, true},
        {32, 25.4, true, false}, {33, 25.4, true, false},
        // other codes by their bits: 20 is 0x14, so it counts as metric
        {20, 1000, false, true}, {0x30, 1000, true, true}, {0x24, 1000, true, false}, {0, 1000, false, false},
    };
    for (const auto& c : cases) {
        const TLengthScale u(c.code);
        EXPECT_EQ(u.Code, c.code);
        EXPECT_EQ(u.Factor, c.factor) << c.code;
        EXPECT_EQ(u.IsImperial(), c.imperial) << c.code;
        EXPECT_EQ(u.IsMetric(), c.metric) << c.code;
    }
    const TLengthScale metre = UnitFromName("METRE"), byCode(17);
    EXPECT_TRUE(metre.Code == byCode.Code && metre.Factor == byCode.Factor && metre.SecondFactor == byCode.SecondFactor);
}

}  // namespace
