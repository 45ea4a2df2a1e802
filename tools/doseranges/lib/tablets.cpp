// Making a dose from real tablet strengths: every combination of up to the form's tablet
// limit is tried once, so the choice among ways to make an amount is explicit and stable.
#include "tools/doseranges/lib/tablets.h"

#include <algorithm>
#include <functional>
#include <map>

namespace doseranges {

int DoseMake::tablets() const
{
    int n = 0;
    for (int c : counts) n += c;
    return n;
}

int DoseMake::strengthsUsed() const
{
    int n = 0;
    for (int c : counts) n += c > 0;
    return n;
}

namespace {

// Of two ways to make the same amount: fewer tablets, then fewer strengths, then the one
// that uses more of the larger strengths (counts are ordered largest strength first).
bool betterMake(const DoseMake& a, const DoseMake& b)
{
    if (a.tablets() != b.tablets()) return a.tablets() < b.tablets();
    if (a.strengthsUsed() != b.strengthsUsed()) return a.strengthsUsed() < b.strengthsUsed();
    return a.counts > b.counts;
}

}  // namespace

namespace {

std::vector<DoseMake> workOutDoses(const TabletForm& form)
{
    std::map<int, DoseMake> best;
    DoseMake current;
    current.counts.assign(form.strengths.size(), 0);
    std::function<void(std::size_t, int)> walk = [&](std::size_t i, int left) {
        if (i == form.strengths.size()) {
            if (current.tablets() == 0) return;
            if (form.oneStrengthPerDose && current.strengthsUsed() > 1) return;
            current.amount = 0;
            for (std::size_t k = 0; k < current.counts.size(); ++k)
                current.amount += current.counts[k] * form.strengths[k];
            auto found = best.find(current.amount);
            if (found == best.end() || betterMake(current, found->second))
                best[current.amount] = current;
            return;
        }
        for (int n = 0; n <= left; ++n) {
            current.counts[i] = n;
            walk(i + 1, left - n);
        }
        current.counts[i] = 0;
    };
    walk(0, form.maxTabletsPerDose);
    std::vector<DoseMake> out;
    for (auto& [amount, make] : best) out.push_back(make);
    return out;
}

}  // namespace

const std::vector<DoseMake>& possibleDoses(const TabletForm& form)
{
    static std::map<const TabletForm*, std::vector<DoseMake>> done;
    auto found = done.find(&form);
    if (found == done.end()) found = done.emplace(&form, workOutDoses(form)).first;
    return found->second;
}

bool largestDoseUpTo(const TabletForm& form, int limit, DoseMake* out)
{
    bool found = false;
    for (const DoseMake& make : possibleDoses(form))
        if (make.amount <= limit) {
            *out = make;
            found = true;
        }
    return found;
}

std::string formatTenths(int tenths)
{
    std::string whole = std::to_string(tenths / 10);
    return tenths % 10 ? whole + "." + std::to_string(tenths % 10) : whole;
}

std::string tabletBreakdown(const TabletForm& form, const DoseMake& make)
{
    if (make.tablets() == 1) return "";
    std::string parts;
    for (std::size_t i = 0; i < make.counts.size(); ++i) {
        if (!make.counts[i]) continue;
        if (!parts.empty()) parts += " + ";
        if (make.counts[i] > 1) parts += std::to_string(make.counts[i]) + " x ";
        parts += formatTenths(form.strengths[i]) + " mg";
    }
    return "(" + parts + " tablets)";
}

}  // namespace doseranges
