// Tablets that exist (US products) and how a single dose is made from them.
// Amounts are whole tenths of a milligram, so 2.5 mg and 7.5 mg stay exact.
#pragma once
#include <string>
#include <vector>

namespace doseranges {

// One dosage form: the strengths sold, how many tablets one dose may take, and the
// acetaminophen in each tablet (0 for single-drug tablets).
struct TabletForm {
    const char* name;                     // as the regimen text names it
    std::vector<int> strengths;           // tenths of a mg of the opioid, largest first
    int maxTabletsPerDose;
    bool oneStrengthPerDose;              // combination tablets: never mix strengths in one dose
    int acetaminophenPerTablet;           // mg
};

// The tablets one dose is made of: counts[i] tablets of form.strengths[i].
struct DoseMake {
    int amount = 0;                       // tenths of a mg
    std::vector<int> counts;
    int tablets() const;
    int strengthsUsed() const;
};

// Every amount a dose of the form can have, each made with the fewest tablets (then the
// fewest different strengths), smallest amount first. Worked out once per form.
const std::vector<DoseMake>& possibleDoses(const TabletForm& form);

// The largest possible dose of the form not above limit (tenths of a mg); false when even
// the smallest tablet is above it.
bool largestDoseUpTo(const TabletForm& form, int limit, DoseMake* out);

// "2.5", "10": an amount in tenths of a mg as the texts write it.
std::string formatTenths(int tenths);

// The tablets a dose is made of, for the regimen text: "" for one tablet,
// "(2 x 30 mg tablets)", "(40 mg + 10 mg tablets)".
std::string tabletBreakdown(const TabletForm& form, const DoseMake& make);

}  // namespace doseranges
