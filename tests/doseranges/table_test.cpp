// The dose-range table: the committed source is the generator's output, the bands run without a
// gap, and every regimen text, read back on its own, names a dose the band allows.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>

#include "tools/doseranges/lib/table.h"

using namespace doseranges;

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Working out the bands walks every whole total up to the largest reachable one: do it once.
const std::vector<Band>& bands()
{
    static const std::vector<Band> all = doseBands();
    return all;
}

const std::string committedPath = std::string(ZURA_TEST_DIR) + "/../../data/content/doseranges.txt";

// What a regimen text says, read back from the text alone.
struct ReadDose {
    std::string name;
    int amountTenths = 0;       // opioid in one dose
    int tablets = 0;
    int acetaminophen = 0;      // mg in one dose
    int hours = 0;
    bool prn = false;
    std::vector<int> strengths; // tenths of a mg, one per tablet
};

int tenths(const std::string& mg) { return int(std::lround(std::stod(mg) * 10)); }

bool readDose(const std::string& text, ReadDose* out, std::string* why)
{
    static const std::regex plain(R"(^([^0-9]+) ([0-9]+(?:\.5)?) mg(?: \((.+) tablets\))? PO every ([0-9]+) hours( PRN breakthrough pain)?$)");
    static const std::regex combo(R"(^([^0-9]+) ([0-9]+(?:\.5)?)/([0-9]+) mg ([0-9]) tablets? PO every ([0-9]+) hours$)");
    std::smatch m;
    if (std::regex_match(text, m, combo)) {
        out->name = m[1];
        out->tablets = std::stoi(m[4]);
        out->amountTenths = tenths(m[2]) * out->tablets;
        out->acetaminophen = std::stoi(m[3]) * out->tablets;
        out->hours = std::stoi(m[5]);
        out->strengths.assign(out->tablets, tenths(m[2]));
        return true;
    }
    if (!std::regex_match(text, m, plain)) {
        *why = "does not read as a dose: " + text;
        return false;
    }
    out->name = m[1];
    out->amountTenths = tenths(m[2]);
    out->hours = std::stoi(m[4]);
    out->prn = m[5].matched;
    if (!m[3].matched) {
        out->tablets = 1;
        out->strengths = {out->amountTenths};
        return true;
    }
    static const std::regex part(R"(^(?:([0-9]) x )?([0-9]+(?:\.5)?) mg$)");
    std::string parts = m[3];
    int sum = 0;
    for (std::size_t start = 0;;) {
        std::size_t plus = parts.find(" + ", start);
        std::string one = parts.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
        std::smatch p;
        if (!std::regex_match(one, p, part)) {
            *why = "tablet list unreadable: " + parts;
            return false;
        }
        int count = p[1].matched ? std::stoi(p[1]) : 1;
        for (int i = 0; i < count; ++i) out->strengths.push_back(tenths(p[2]));
        sum += count * tenths(p[2]);
        if (plus == std::string::npos) break;
        start = plus + 3;
    }
    out->tablets = int(out->strengths.size());
    if (sum != out->amountTenths) {
        *why = "tablets add up to " + formatTenths(sum) + " mg, not the dose: " + text;
        return false;
    }
    return true;
}

const TabletForm* formNamed(const std::string& name)
{
    for (const TabletForm* f : allTabletForms())
        if (name == f->name) return f;
    return nullptr;
}

bool realStrengths(const ReadDose& d)
{
    const TabletForm* form = formNamed(d.name);
    if (!form || d.tablets > form->maxTabletsPerDose) return false;
    for (int s : d.strengths)
        if (std::find(form->strengths.begin(), form->strengths.end(), s) == form->strengths.end()) return false;
    return true;
}

// Checks one regimen of a band; returns what is wrong, or "".
std::string checkRegimen(const ConversionOption& option, const Band& band, const std::string& text)
{
    if (text == "None") return "";
    if (text.size() >= 300) return "longer than the report's 300-byte working text";
    std::string lower = text;
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    std::size_t sep = text.find(" AND ");
    bool controlled = option.breakthrough != nullptr;
    // The report breaks the first " AND " into lines and names the drugs from "AND": no other
    // "and", in any case, may appear.
    std::size_t ands = 0;
    for (std::size_t at = lower.find("and"); at != std::string::npos; at = lower.find("and", at + 1)) ++ands;
    if (ands != (controlled ? 1u : 0u) || (controlled && sep == std::string::npos)) return "wrong number of AND";
    std::string why;
    ReadDose scheduled, breakthrough;
    if (!readDose(controlled ? text.substr(0, sep) : text, &scheduled, &why)) return why;
    if (!realStrengths(scheduled)) return "not made of real tablets";
    if (scheduled.prn || scheduled.hours * option.dosesPerDay != 24) return "schedule is not " + std::string(option.interval);
    int daily = scheduled.amountTenths * option.dosesPerDay;
    // Never above the oral dose at the band's upper bound, and above the oral dose of any total
    // in the band by less than what 1 mg of IV morphine gives.
    double needUpper = oralDailyDose(option, band.upper) * 10;
    double needLower = oralDailyDose(option, band.lower) * 10;
    double oneMg = oralDailyDose(option, 1) * 10;
    if (daily > needUpper + 1e-9) return "daily dose above the band's oral dose";
    if (daily > needLower + oneMg + 1e-9) return "daily dose passes the oral dose of the band's lowest totals";
    if (scheduled.acetaminophen * option.dosesPerDay > acetaminophenDailyLimit) return "acetaminophen above the limit";
    bool saysAcetaminophen = text.find("Acetaminophen") != std::string::npos;
    if (saysAcetaminophen != (scheduled.acetaminophen > 0)) return "Acetaminophen named but not given, or given unnamed";
    if (controlled) {
        if (!readDose(text.substr(sep + 5), &breakthrough, &why)) return why;
        if (!breakthrough.prn || breakthrough.hours != 4 || !realStrengths(breakthrough) ||
            breakthrough.name != option.breakthrough->name)
            return "breakthrough dose malformed";
        if (breakthrough.amountTenths * 100 > daily * smallestBreakthroughPercent) return "breakthrough dose too large";
    }
    return "";
}

}  // namespace

TEST(DoseRangeTable, CommittedTableIsTheGeneratorsOutput)
{
    const std::string committed = readFile(committedPath);
    const std::string generated = doseRangeSource();
    if (committed == generated) return;
    std::istringstream a(committed), b(generated);
    std::string la, lb;
    for (int line = 1;; ++line) {
        bool moreA = bool(std::getline(a, la)), moreB = bool(std::getline(b, lb));
        if (!moreA && !moreB) break;
        if (la != lb || moreA != moreB) {
            ADD_FAILURE() << committedPath << ":" << line << " differs from the generator's output\n  committed: " << la
                          << "\n  generated: " << lb << "\nrun build/doseranges data/content/doseranges.txt";
            return;
        }
    }
    ADD_FAILURE() << committedPath << " differs from the generator's output";
}

TEST(DoseRangeTable, BandsRunWithoutGapFromTheSmallestDoseToTheLargestReachable)
{
    const std::vector<Band>& bands = ::bands();
    ASSERT_FALSE(bands.empty());
    // Oxycodone/acetaminophen 2.5/325 mg every 4 hours (15 mg a day) needs a total of 7.5 mg.
    EXPECT_EQ(bands.front().lower, 7);
    for (std::size_t i = 1; i < bands.size(); ++i) {
        EXPECT_EQ(bands[i].lower, bands[i - 1].upper) << "band " << i;
        EXPECT_LT(bands[i].lower, bands[i].upper) << "band " << i;
    }
    // Two doses of 1300 mg of IV hydromorphone, converted to oral hydromorphone (no reduction).
    EXPECT_NEAR(largestReachableTotal(), 2 * 1300 / 1.5 * 10, 0.01);
    EXPECT_EQ(bands.back().upper, 17334);
    for (const Regimen& r : bands.back().regimens) EXPECT_EQ(r.text, "None");
}

TEST(DoseRangeTable, EveryRegimenSaysADoseTheBandAllows)
{
    const auto& options = conversionOptions();
    for (const Band& band : bands())
        for (int i = 0; i < 6; ++i) {
            std::string wrong = checkRegimen(options[i], band, band.regimens[i].text);
            EXPECT_EQ(wrong, "") << "band " << band.lower << "-" << band.upper << ", option " << i + 1 << ": "
                                 << band.regimens[i].text;
        }
}

const Band* bandHolding(const std::vector<Band>& bands, double total)
{
    for (const Band& b : bands)
        if (b.lower < total && total <= b.upper) return &b;
    return nullptr;
}

TEST(DoseRangeTable, WorkedConversions)
{
    struct Case {
        const char* name;
        double total;
        int option;
        const char* regimen;
    };
    const Case cases[] = {
        {"120 mg IV morphine halved, oxycodone CR", 60, 1,
         "Oxycodone (controlled-release) 60 mg PO every 12 hours AND Oxycodone (short-acting) 20 mg PO every 4 hours PRN breakthrough pain"},
        {"120 mg IV morphine halved, short-acting oxycodone: 120 mg a day", 60, 3,
         "Oxycodone (short-acting) 20 mg PO every 4 hours"},
        {"low dose: oxycodone with acetaminophen", 30, 3, "Oxycodone/Acetaminophen 10/325 mg 1 tablet PO every 4 hours"},
        {"hydrocodone at its largest dose", 20, 4, "Hydrocodone/Acetaminophen 10/325 mg 1 tablet PO every 4 hours"},
        {"120 mg IV morphine to morphine CR, not halved: 360 mg a day", 120, 2,
         "Morphine (controlled-release) 180 mg (3 x 60 mg tablets) PO every 12 hours AND Morphine (short-acting) 60 mg (2 x 30 mg tablets) PO every 4 hours PRN breakthrough pain"},
        {"120 mg IV morphine to short-acting morphine, not halved", 120, 6, "Morphine (short-acting) 60 mg (2 x 30 mg tablets) PO every 4 hours"},
        {"hydrocodone beyond one tablet every 4 hours", 21, 4, "None"},
        {"morphine CR 15 mg twice a day: breakthrough tablet too large", 12, 2, "None"},
        {"short-acting oxycodone past the combination tablets", 45, 3, "Oxycodone (short-acting) 15 mg PO every 4 hours"},
        {"1000 mcg IV fentanyl halved, hydromorphone", 50, 5, "Hydromorphone 6 mg (4 mg + 2 mg tablets) PO every 4 hours"},
        {"total on a band's upper bound", 9, 3, "Oxycodone/Acetaminophen 2.5/325 mg 1 tablet PO every 4 hours"},
        {"total just above the smallest band", 7.01, 4, "None"},
    };
    const std::vector<Band>& bands = ::bands();
    for (const Case& c : cases) {
        const Band* band = bandHolding(bands, c.total);
        ASSERT_NE(band, nullptr) << c.name;
        EXPECT_EQ(band->regimens[c.option - 1].text, c.regimen) << c.name;
    }
    EXPECT_EQ(bandHolding(bands, 7), nullptr) << "a total of 7 mg has no band";
    EXPECT_EQ(bandHolding(bands, 0), nullptr) << "a total of 0 has no band";
}

TEST(DoseRangeTable, DosesFromTablets)
{
    const TabletForm morphineCR = {"Morphine (controlled-release)", {2000, 1000, 600, 300, 150}, 3, false, 0};
    const TabletForm combination = {"Oxycodone/Acetaminophen", {100, 75, 50, 25}, 2, true, 325};
    struct Case {
        const char* name;
        const TabletForm* form;
        int limit;
        bool found;
        int amount;
        const char* breakdown;
    };
    const Case cases[] = {
        {"two strengths", &morphineCR, 450, true, 450, "(30 mg + 15 mg tablets)"},
        {"rounded down to what tablets make", &morphineCR, 1290, true, 1200, "(2 x 60 mg tablets)"},
        {"fewest tablets first", &morphineCR, 2000, true, 2000, ""},
        {"three tablets at most", &morphineCR, 9999, true, 6000, "(3 x 200 mg tablets)"},
        {"below the smallest tablet", &morphineCR, 149, false, 0, ""},
        {"combination: one strength only", &combination, 124, true, 100, ""},
        {"combination: two of one strength", &combination, 150, true, 150, "(2 x 7.5 mg tablets)"},
    };
    for (const Case& c : cases) {
        DoseMake make;
        bool found = largestDoseUpTo(*c.form, c.limit, &make);
        EXPECT_EQ(found, c.found) << c.name;
        if (!found) continue;
        EXPECT_EQ(make.amount, c.amount) << c.name;
        EXPECT_EQ(tabletBreakdown(*c.form, make), c.breakdown) << c.name;
    }
    EXPECT_EQ(formatTenths(25), "2.5");
    EXPECT_EQ(formatTenths(2000), "200");
}
