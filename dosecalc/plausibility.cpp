// The age/weight plausibility test: age in days, weight in whole pounds, and a band over age.
// Bounds are truncated toward zero and compared as unsigned 16-bit values, as the stored bands
// were drawn. An age or weight that does not fit 16 bits once converted is never plausible:
// wrapping would test a different patient, and "implausible" only asks the user to confirm.
#include "dosecalc/plausibility.h"

namespace {

constexpr std::uint32_t noValue = 0x10000;   // a converted quantity beyond 16 bits

std::uint16_t bound(double x) { return std::uint16_t(std::uint32_t(std::int32_t(x))); }

bool within(std::uint16_t weight, std::uint16_t lower, std::uint16_t upper)
{
    return lower <= weight && weight <= upper;
}

std::uint32_t ageInDaysOf(std::uint16_t age, bool ageInYears, bool ageInDays)
{
    std::uint32_t days = ageInYears ? age * 365u : ageInDays ? age : age * 30u;
    return days > 0xFFFF ? noValue : days;
}

std::uint32_t weightInPoundsOf(std::uint16_t weight, bool weightInPounds)
{
    if (weightInPounds)
        return weight;
    std::uint32_t pounds = std::uint32_t(weight * 2.204);   // kilograms to pounds, in double precision
    return pounds > 0xFFFF ? noValue : pounds;
}

bool plausibleFromOneYear(std::uint16_t weight, std::uint16_t days)
{
    if (days < 3650)
        return within(weight, bound(days * 0.011561643835616437 + 7.8), std::uint16_t((13 * days) / 365 + 20));
    if (days >= 6570)
        return weight == 0 || within(weight, 77, 440);   // 0: no weight given
    return within(weight, bound(days * 0.00684931506849315 + 25.0), bound(days * 0.09931506849315068 - 212.5));
}

} // namespace

bool plausibleWeightForAge(std::uint16_t weight, std::uint16_t age, bool ageInYears, bool weightInPounds,
                           bool ageInDays)
{
    std::uint32_t days = ageInDaysOf(age, ageInYears, ageInDays);
    std::uint32_t pounds = weightInPoundsOf(weight, weightInPounds);
    if (days == noValue || pounds == noValue)
        return false;
    std::uint16_t d = std::uint16_t(days), w = std::uint16_t(pounds);
    if (!ageInYears && d < 60)
        return within(w, 2, 15);
    if (!ageInYears && d <= 364)
        return within(w, bound(d * 0.027766666666666665 + 2.0), bound(d * 0.05 + 15.0));
    return plausibleFromOneYear(w, d);
}
