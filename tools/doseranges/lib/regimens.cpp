// The conversion options, the tablets they use, and the regimen arithmetic. Strengths are those
// of US products: OxyContin 10-80 mg, MS Contin 15-200 mg, oxycodone tablets 5-30 mg, morphine
// sulfate tablets 15 and 30 mg, Dilaudid 2, 4 and 8 mg, Percocet x/325 and Norco x/325.
#include "tools/doseranges/lib/regimens.h"

#include <algorithm>
#include <map>

namespace doseranges {

namespace {

//                                    name                              strengths (tenths of a mg)                 tablets  one strength  acetaminophen
const TabletForm oxycodoneCR      = {"Oxycodone (controlled-release)", {800, 600, 400, 300, 200, 150, 100},        3,       false,        0};
const TabletForm morphineCR       = {"Morphine (controlled-release)",  {2000, 1000, 600, 300, 150},                3,       false,        0};
const TabletForm oxycodoneIR      = {"Oxycodone (short-acting)",       {300, 200, 150, 100, 50},                   3,       false,        0};
const TabletForm morphineIR       = {"Morphine (short-acting)",        {300, 150},                                 3,       false,        0};
const TabletForm hydromorphone    = {"Hydromorphone",                  {80, 40, 20},                               3,       false,        0};
// Combination tablets: one a dose, so 6 a day, within the labelled daily maximum of every
// strength (6 tablets of 10/325 mg) and 1950 mg of acetaminophen, which leaves room for the
// acetaminophen of other products under the 4000 mg limit.
const TabletForm oxycodoneAPAP    = {"Oxycodone/Acetaminophen",        {100, 75, 50, 25},                          1,       true,         325};
const TabletForm hydrocodoneAPAP  = {"Hydrocodone/Acetaminophen",      {100, 75, 50},                              1,       true,         325};

// One candidate dose: the form it is made of and its tablets.
struct Candidate {
    const TabletForm* form;
    DoseMake make;
};

int acetaminophenPerDay(const ConversionOption& option, const Candidate& c)
{
    return c.make.tablets() * c.form->acetaminophenPerTablet * option.dosesPerDay;
}

// Every dose the option's forms can give within the acetaminophen limit, in form order.
std::vector<Candidate> workOutCandidates(const ConversionOption& option)
{
    std::vector<Candidate> out;
    for (const TabletForm* form : option.forms)
        for (const DoseMake& make : possibleDoses(*form)) {
            Candidate c{form, make};
            if (acetaminophenPerDay(option, c) <= acetaminophenDailyLimit) out.push_back(c);
        }
    return out;
}

const std::vector<Candidate>& candidates(const ConversionOption& option)
{
    static std::map<int, std::vector<Candidate>> done;
    auto found = done.find(option.number);
    if (found == done.end()) found = done.emplace(option.number, workOutCandidates(option)).first;
    return found->second;
}

std::string strengthText(const Candidate& c)
{
    const TabletForm& f = *c.form;
    if (!f.acetaminophenPerTablet)
        return formatTenths(c.make.amount) + " mg";
    int strength = 0;
    for (std::size_t i = 0; i < f.strengths.size(); ++i)
        if (c.make.counts[i]) strength = f.strengths[i];
    int n = c.make.tablets();
    return formatTenths(strength) + "/" + std::to_string(f.acetaminophenPerTablet) + " mg " + std::to_string(n) +
           (n == 1 ? " tablet" : " tablets");
}

std::string doseText(const Candidate& c, const char* interval)
{
    std::string text = std::string(c.form->name) + " " + strengthText(c);
    std::string breakdown = c.form->acetaminophenPerTablet ? "" : tabletBreakdown(*c.form, c.make);
    if (!breakdown.empty()) text += " " + breakdown;
    return text + " PO " + interval;
}

std::string largestText(const ConversionOption& option, const Candidate& c)
{
    std::string what = strengthText(c);
    std::string breakdown = c.form->acetaminophenPerTablet ? "" : tabletBreakdown(*c.form, c.make);
    if (!breakdown.empty()) what += " " + breakdown;
    return what + " " + option.interval;
}

// The breakthrough dose for a scheduled 24-hour dose, or false when no tablet fits.
bool breakthroughFor(const TabletForm& form, int dailyTenths, DoseMake* out)
{
    if (largestDoseUpTo(form, dailyTenths * breakthroughPercent / 100, out)) return true;
    DoseMake smallest = possibleDoses(form).front();
    if (smallest.amount * 100 > dailyTenths * smallestBreakthroughPercent) return false;
    *out = smallest;
    return true;
}

Regimen unavailable(std::string why)
{
    Regimen r;
    r.text = "None";
    r.why = std::move(why);
    return r;
}

}  // namespace

const std::vector<ConversionOption>& conversionOptions()
{
    //  no  drug            oral factor  forms                              doses  interval           breakthrough   product name
    static const std::vector<ConversionOption> options = {
        {1, "Oxycodone",     200, {&oxycodoneCR},                        2, "every 12 hours", &oxycodoneIR, "Oxycodone (controlled-release) tablets"},
        {2, "Morphine",      300, {&morphineCR},                         2, "every 12 hours", &morphineIR,  "Morphine (controlled-release) tablets"},
        {3, "Oxycodone",     200, {&oxycodoneAPAP, &oxycodoneIR},        6, "every 4 hours",  nullptr,      "Oxycodone/Acetaminophen or Oxycodone (short-acting) tablets"},
        {4, "Hydrocodone",   300, {&hydrocodoneAPAP},                    6, "every 4 hours",  nullptr,      "Hydrocodone/Acetaminophen tablets"},
        {5, "Hydromorphone", 75,  {&hydromorphone},                      6, "every 4 hours",  nullptr,      "Hydromorphone tablets"},
        {6, "Morphine",      300, {&morphineIR},                         6, "every 4 hours",  nullptr,      "Morphine (short-acting) tablets"},
    };
    return options;
}

const std::vector<const TabletForm*>& allTabletForms()
{
    static const std::vector<const TabletForm*> forms = {&oxycodoneCR, &morphineCR,    &oxycodoneIR,    &morphineIR,
                                                         &hydromorphone, &oxycodoneAPAP, &hydrocodoneAPAP};
    return forms;
}

int largestServedTotal(const ConversionOption& option)
{
    int largest = 0;
    for (const Candidate& c : candidates(option)) largest = std::max(largest, c.make.amount);
    // need = total x oral factor (tenths) must not pass largest x doses x 10.
    return int(10LL * largest * option.dosesPerDay / option.oralFactorTenths);
}

double oralDailyDose(const ConversionOption& option, double total)
{
    return total / ivMorphineFactor * option.oralFactorTenths / 10.0;
}

Regimen regimenFor(const ConversionOption& option, int total)
{
    // need: the 24-hour oral dose in tenths of a mg times 10 (exact in whole numbers).
    const long long need = static_cast<long long>(total) * option.oralFactorTenths;
    const long long perDose = 10LL * option.dosesPerDay;
    const std::vector<Candidate>& all = candidates(option);
    const Candidate* best = nullptr;
    const Candidate* smallest = nullptr;
    const Candidate* largest = nullptr;
    for (const Candidate& c : all) {
        if (!smallest || c.make.amount < smallest->make.amount) smallest = &c;
        if (!largest || c.make.amount > largest->make.amount) largest = &c;
        // A later form wins only with a larger dose, so the earlier form keeps the low doses.
        if (c.make.amount * perDose <= need && (!best || c.make.amount > best->make.amount)) best = &c;
    }
    if (!best)
        return unavailable("less than the smallest regimen, " + largestText(option, *smallest));
    if (need > largest->make.amount * perDose)
        return unavailable("more than the largest regimen, " + largestText(option, *largest));

    Regimen r;
    r.available = true;
    r.dailyTenths = best->make.amount * option.dosesPerDay;
    r.acetaminophenPerDay = acetaminophenPerDay(option, *best);
    r.text = doseText(*best, option.interval);
    if (option.breakthrough) {
        DoseMake b;
        if (!breakthroughFor(*option.breakthrough, r.dailyTenths, &b))
            return unavailable("the smallest breakthrough tablet, " + formatTenths(possibleDoses(*option.breakthrough).front().amount) +
                               " mg, is more than " + std::to_string(smallestBreakthroughPercent) + " % of the " +
                               formatTenths(r.dailyTenths) + " mg scheduled");
        r.breakthroughTenths = b.amount;
        r.text += " AND " + doseText({option.breakthrough, b}, "every 4 hours") + " PRN breakthrough pain";
    }
    return r;
}

}  // namespace doseranges
