// Opioid conversion factors and the six oral conversion options. A drug is known by the two keys
// of the questionnaire element that names it; a factor is the dose of the drug, in the unit of
// the drug's factor, that counts as one equianalgesic unit.
#pragma once
#include <cstdint>

struct DrugKeys {
    std::uint32_t key1, key2;
};

inline bool sameDrug(DrugKeys a, DrugKeys b) { return a.key1 == b.key1 && a.key2 == b.key2; }
inline bool drugKnown(DrugKeys d) { return d.key1 != 0 || d.key2 != 0; }

constexpr DrugKeys morphineKeys = {0x913CE341u, 663};
constexpr DrugKeys oxycodoneKeys = {0x29E35B44u, 696};
constexpr DrugKeys hydrocodoneKeys = {0xCCF62F41u, 2253};
constexpr DrugKeys hydromorphoneKeys = {0x733D973Fu, 563};

// Route codes as the conversion table and conversionFactor take them.
constexpr std::int8_t routeIM = 1;
constexpr std::int8_t routeIV = 3;
constexpr std::int8_t routePO = 8;
constexpr std::int8_t routePR = 16;
constexpr std::int8_t routeSQ = 17;

// The factor for the route: the IV column for IM, IV and SQ, the PO column for PO and PR; 0 for
// any other route and any drug not in the table.
float conversionFactor(std::uint32_t key1, std::uint32_t key2, std::int8_t route);
// Whether the drug's factors count micrograms (fentanyl) rather than milligrams (every other drug).
bool factorInMicrograms(DrugKeys drug);

// The conversion options, numbered 1..6.
constexpr int firstOption = 1;
constexpr int lastOption = 6;
DrugKeys optionDrug(int option);             // {0, 0} outside 1..6
bool optionControlledRelease(int option);    // false outside 1..6
