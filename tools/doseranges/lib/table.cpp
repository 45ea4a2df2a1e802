// Bands, their reviewers' notes and the source text. Each band repeats, in the strings the
// program does not read, the 24-hour oral dose each option's drug would need and what its
// regimen gives, so a reviewer can check every line without running anything.
#include "tools/doseranges/lib/table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace doseranges {

namespace {

// The factors of the explanation page ("How doses are calculated"): IV and PO, 0 where the
// page lists none. hasOption: a drug with a conversion option of its own (no reduction).
struct DrugFactors {
    float iv, po;
    bool hasOption;
};
const DrugFactors explainedFactors[] = {
    {10, 30, true},     // morphine
    {0, 200, false},    // codeine
    {75, 300, false},   // meperidine
    {10, 20, false},    // methadone
    {100, 0, false},    // fentanyl
    {1.5f, 7.5f, true}, // hydromorphone
    {0, 20, true},      // oxycodone
    {2, 4, false},      // levorphanol
    {1, 0, false},      // oxymorphone
    {0, 30, true},      // hydrocodone
};

std::string formatMg(double mg)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", mg);
    std::string s = text;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s;
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string dailyNote(const ConversionOption& option, const Band& band, const Regimen& r)
{
    std::string note = std::string(option.drug) + " PO, 24 hours: more than " +
                       formatMg(oralDailyDose(option, band.lower)) + " up to " +
                       formatMg(oralDailyDose(option, band.upper)) + " mg needed; ";
    if (!r.available) return note + "none: " + r.why;
    note += "regimen gives " + formatTenths(r.dailyTenths) + " mg";
    if (r.breakthroughTenths) note += ", breakthrough " + formatTenths(r.breakthroughTenths) + " mg a dose";
    if (r.acetaminophenPerDay) note += ", acetaminophen " + std::to_string(r.acetaminophenPerDay) + " mg";
    return note;
}

std::string bandNote(const Band& band)
{
    return "IV morphine after the reduction, 24 hours: more than " + std::to_string(band.lower) + " up to " +
           std::to_string(band.upper) + " mg (" + formatMg(band.lower / double(ivMorphineFactor)) + " to " +
           formatMg(band.upper / double(ivMorphineFactor)) + " equianalgesic units)";
}

bool sameRegimens(const std::array<Regimen, 6>& a, const std::array<Regimen, 6>& b)
{
    for (int i = 0; i < 6; ++i)
        if (a[i].text != b[i].text) return false;
    return true;
}

bool noneAvailable(const std::array<Regimen, 6>& r)
{
    for (const Regimen& x : r)
        if (x.available) return false;
    return true;
}

}  // namespace

double largestReachableTotal()
{
    float largest = 0;
    for (const DrugFactors& first : explainedFactors)
        for (float f1 : {first.iv, first.po}) {
            if (f1 == 0) continue;
            float units1 = float(largestEnteredDose) / f1;
            // Either the first drug alone or with any second drug (the same drug keeps the
            // first drug's rule; a different one is always halved).
            float alone = ivMorphineFactor * units1 * (first.hasOption ? 1.0f : 0.5f);
            if (alone > largest) largest = alone;
            for (const DrugFactors& second : explainedFactors)
                for (float f2 : {second.iv, second.po}) {
                    if (f2 == 0) continue;
                    bool same = &first == &second;
                    float total = ivMorphineFactor * (units1 + float(largestEnteredDose) / f2);
                    total = float(total * (same && first.hasOption ? 1.0 : 0.5));
                    if (total > largest) largest = total;
                }
        }
    return largest;
}

std::vector<Band> doseBands()
{
    const int last = int(std::ceil(largestReachableTotal()));
    const auto& options = conversionOptions();
    // Past the largest total any option serves every regimen is "None": one band to the end.
    int served = 0;
    for (const ConversionOption& option : options) served = std::max(served, largestServedTotal(option));
    const int walkTo = std::min(last, served + 1);
    std::vector<Band> bands;
    for (int upper = 1; upper <= walkTo; ++upper) {
        std::array<Regimen, 6> row;
        for (int i = 0; i < 6; ++i) row[i] = regimenFor(options[i], upper);
        if (bands.empty() && noneAvailable(row)) continue;
        if (!bands.empty() && sameRegimens(bands.back().regimens, row)) {
            bands.back().upper = upper;
            continue;
        }
        Band band;
        band.lower = upper - 1;
        band.upper = upper;
        band.regimens = row;
        bands.push_back(band);
    }
    if (!bands.empty()) bands.back().upper = last;
    return bands;
}

std::string doseRangeSource()
{
    const auto& options = conversionOptions();
    std::string out =
        "# Dose-range table 1 and the conversion entry that uses it, written by tools/doseranges:\n"
        "#     build/doseranges > data/content/doseranges.txt\n"
        "# Do not edit by hand; change the generator and run it again (test_doseranges compares).\n"
        "#\n"
        "# A band holds the morphine-equivalent 24-hour total T (mg of IV morphine, after the\n"
        "# reduction) with lower < T <= upper. Each option's regimen is worked out at the band's\n"
        "# upper bound: T / 10 equianalgesic units x the oral factor of the option's drug (oxycodone\n"
        "# 20, morphine 30, hydrocodone 30, hydromorphone 7.5) = the 24-hour oral dose, split into\n"
        "# the schedule (every 12 hours controlled-release, every 4 hours short-acting). Each dose\n"
        "# is the largest that US tablet strengths make without passing the oral dose: at most 3\n"
        "# tablets, combination tablets one a dose (1950 mg acetaminophen a day). Bands break at\n"
        "# every whole mg where a regimen changes, so for any total inside a band a regimen passes\n"
        "# the oral dose by less than the oral equivalent of 1 mg of IV morphine a day. The\n"
        "# controlled-release options add a short-acting breakthrough dose of at most 20 % of the\n"
        "# scheduled 24-hour dose (the smallest tablet up to 25 %). \"None\": the tablets cannot\n"
        "# give the dose. daily1..daily6 and s12 show the arithmetic of each band.\n\n";
    out += "conversion key1=0x913CE341 key2=663 from=3 to=8 table=" + std::to_string(rangeTable) + "\n";
    for (int i = 0; i < 6; ++i)
        out += "    product" + std::to_string(i + 1) + " " + quoted(options[i].productName) + "\n";
    out += "    s6 " + quoted("IV morphine equivalent to oral regimens") + "\n";
    for (const Band& band : doseBands()) {
        out += "\nrange table=" + std::to_string(rangeTable) + " lower=" + std::to_string(band.lower) +
               " upper=" + std::to_string(band.upper) + "\n";
        for (int i = 0; i < 6; ++i) {
            out += "    daily" + std::to_string(i + 1) + " " + quoted(dailyNote(options[i], band, band.regimens[i])) + "\n";
            out += "    regimen" + std::to_string(i + 1) + " " + quoted(band.regimens[i].text) + "\n";
        }
        out += "    s12 " + quoted(bandNote(band)) + "\n";
    }
    return out;
}

}  // namespace doseranges
