// The six oral conversion options and the regimen each gives for a morphine-equivalent
// 24-hour total: total / 10 = equianalgesic units, x the oral factor of the option's drug =
// the 24-hour oral dose, split into the option's schedule and made from real tablets.
#pragma once
#include <string>
#include <vector>

#include "tools/doseranges/lib/tablets.h"

namespace doseranges {

constexpr int ivMorphineFactor = 10;           // mg of IV morphine per equianalgesic unit
constexpr int acetaminophenDailyLimit = 4000;  // mg
// Breakthrough dose for the controlled-release options: at most this share of the scheduled
// 24-hour dose (10-20 % is the usual range); when even the smallest tablet is above it, that
// tablet is still used up to the second share, and beyond that the option is not offered.
constexpr int breakthroughPercent = 20;
constexpr int smallestBreakthroughPercent = 25;

struct ConversionOption {
    int number;                                // 1-6, as the program numbers them
    const char* drug;                          // for the reviewers' notes
    int oralFactorTenths;                      // oral factor of the drug, tenths of a mg per unit
    std::vector<const TabletForm*> forms;      // in order of preference
    int dosesPerDay;
    const char* interval;                      // "every 12 hours"
    const TabletForm* breakthrough;            // controlled-release options only
    const char* productName;                   // shown when the option cannot give the dose
};

const std::vector<ConversionOption>& conversionOptions();
const std::vector<const TabletForm*>& allTabletForms();

struct Regimen {
    bool available = false;
    std::string text;          // the regimen, or "None"
    int dailyTenths = 0;       // scheduled 24-hour dose of the opioid
    int breakthroughTenths = 0;
    int acetaminophenPerDay = 0;
    std::string why;           // when not available: what the tablets cannot do
};

// The 24-hour oral dose of the option's drug for a total, in tenths of a mg (exact for whole
// totals: the oral factors are multiples of 0.5 mg).
double oralDailyDose(const ConversionOption& option, double total);

// The largest whole total for which the option's tablets can still give the dose.
int largestServedTotal(const ConversionOption& option);

// The regimen of the option for a band whose upper bound is the whole number total: the
// largest the tablets give without passing the oral dose of that total.
Regimen regimenFor(const ConversionOption& option, int total);

}  // namespace doseranges
