// The dose-range table: bands of the morphine-equivalent 24-hour total (mg of IV morphine after
// the reduction), each with the six regimens, and the conversion entry that names the table.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "tools/doseranges/lib/regimens.h"

namespace doseranges {

constexpr int rangeTable = 1;
constexpr unsigned morphineKey1 = 0x913CE341u, morphineKey2 = 663;
constexpr int routeIV = 3, routeOral = 8;
constexpr int largestEnteredDose = 1300;   // the entry page accepts 1 to 1300 (mg or mcg) a drug

struct Band {
    int lower = 0, upper = 0;                  // lower < total <= upper
    std::array<Regimen, 6> regimens;
};

// The largest total the entry page lets through: two drugs at the largest dose, with the
// smallest factors, halved unless it is one drug converted to an option of its own.
double largestReachableTotal();

// Bands one mg wide wherever a regimen changes, merged where all six stay the same; the
// regimens are worked out at each band's upper bound. Totals below the first band give no
// regimen at all; the last band runs to the largest reachable total.
std::vector<Band> doseBands();

// The content source text of the conversion entry and the bands, as data/content/ holds it.
std::string doseRangeSource();

}  // namespace doseranges
