// The age/weight plausibility test: the sample bands at their edges, unit conversions, and ages
// or weights that do not fit 16 bits once converted.
#include <gtest/gtest.h>

#include "dosecalc/plausibility.h"

namespace {

enum AgeUnit { Years, Months, Days };

bool plausible(std::uint16_t weight, bool pounds, std::uint16_t age, AgeUnit unit)
{
    return plausibleWeightForAge(weight, age, unit == Years, pounds, unit == Days);
}

// Each band is checked at both edges and just outside them.
TEST(Plausibility, SampleBandsInPounds)
{
    const struct {
        const char* name;
        std::uint16_t age;
        AgeUnit unit;
        std::uint16_t lower, upper;
    } bands[] = {
        {"2 months", 60, Days, 3, 18},
        {"2 months entered in months", 2, Months, 3, 18},
        {"6 months", 180, Days, 6, 24},
        {"6 months entered in months", 6, Months, 6, 24},
        {"11 months entered in months", 11, Months, 11, 31},
        {"1 year", 1, Years, 12, 33},
        {"1 year entered in days", 365, Days, 12, 33},
        {"5 years", 5, Years, 28, 85},
        {"9 years", 9, Years, 45, 137},
        {"10 years", 10, Years, 50, 150},
        {"17 years", 17, Years, 67, 403},
        {"18 years", 18, Years, 77, 440},
        {"80 years", 80, Years, 77, 440},
        {"0 years", 0, Years, 7, 20},
        {"30 days", 30, Days, 2, 15},
        {"59 days", 59, Days, 2, 15},
        {"364 days", 364, Days, 12, 33},
    };
    for (const auto& b : bands) {
        EXPECT_FALSE(plausible(std::uint16_t(b.lower - 1), true, b.age, b.unit)) << b.name << ": below";
        EXPECT_TRUE(plausible(b.lower, true, b.age, b.unit)) << b.name << ": lower edge";
        EXPECT_TRUE(plausible(b.upper, true, b.age, b.unit)) << b.name << ": upper edge";
        EXPECT_FALSE(plausible(std::uint16_t(b.upper + 1), true, b.age, b.unit)) << b.name << ": above";
    }
}

TEST(Plausibility, Cases)
{
    const struct {
        const char* name;
        std::uint16_t weight;
        bool pounds;
        std::uint16_t age;
        AgeUnit unit;
        bool expected;
    } cases[] = {
        {"30 days, 1 pound", 1, true, 30, Days, false},
        {"30 days, 2 pounds", 2, true, 30, Days, true},
        {"30 days, 16 pounds", 16, true, 30, Days, false},
        {"adult with no weight given", 0, true, 40, Years, true},
        {"adult with no weight given, in kilograms", 0, false, 40, Years, true},
        {"adult of 76 pounds", 76, true, 40, Years, false},
        {"adult of 77 pounds", 77, true, 40, Years, true},
        {"adult of 100 kg (220 pounds)", 100, false, 40, Years, true},
        {"adult of 200 kg (440 pounds)", 200, false, 40, Years, true},
        {"adult of 201 kg (443 pounds)", 201, false, 40, Years, false},
        {"adult of 35 kg (77 pounds)", 35, false, 40, Years, true},
        {"adult of 34 kg (74 pounds)", 34, false, 40, Years, false},
        {"7000 days counts as an adult", 150, true, 7000, Days, true},
        {"a child with no weight given", 0, true, 5, Years, false},
        // The day count or the converted weight would wrap in 16 bits: implausible, so the user
        // is asked to confirm instead of the wrapped value being tested.
        {"180 years would wrap to 164 days", 10, true, 180, Years, false},
        {"179 years still fits", 150, true, 179, Years, true},
        {"2185 months would wrap", 150, true, 2185, Months, false},
        {"2184 months still fits", 150, true, 2184, Months, true},
        {"29770 kg would wrap to 77 pounds", 29770, false, 40, Years, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plausible(c.weight, c.pounds, c.age, c.unit), c.expected) << c.name;
    EXPECT_TRUE(plausibleWeightForAge(30, 1, true, true, true)) << "years win over days";
}

} // namespace
