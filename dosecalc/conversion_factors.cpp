// The conversion-factor table and the six conversion options, fixed in the program. The drug
// names are those the explanation page lists; its tables are text and must agree with these rows.
#include "dosecalc/conversion_factors.h"

namespace {

struct FactorRow {
    DrugKeys drug;
    const char* name;
    float iv, po;
    bool micrograms;   // factors in mcg; every other drug's are in mg
};

//  key1         key2    drug              IV     PO     unit mcg
const FactorRow factorTable[] = {
    {{0x913CE341u, 663}, "Morphine", 10.0f, 30.0f, false},
    {{0xF08EBF3Eu, 27}, "Codeine", 0.0f, 200.0f, false},
    {{0x94CA333Fu, 39}, "Meperidine", 75.0f, 300.0f, false},
    {{0x6A529740u, 116}, "Methadone", 10.0f, 20.0f, false},
    {{0x365BAB3Eu, 519}, "Fentanyl", 100.0f, 0.0f, true},
    {{0x733D973Fu, 563}, "Hydromorphone", 1.5f, 7.5f, false},
    {{0x29E35B44u, 696}, "Oxycodone", 0.0f, 20.0f, false},
    {{0x0724673Cu, 759}, "(no factors)", 0.0f, 0.0f, false},
    {{0x26560B42u, 1320}, "Levorphanol", 2.0f, 4.0f, false},
    {{0x7A61EF44u, 1322}, "Oxymorphone", 1.0f, 0.0f, false},
    {{0xCCF62F41u, 2253}, "Hydrocodone", 0.0f, 30.0f, false},
};

struct OptionRow {
    int option;
    DrugKeys drug;
    bool controlledRelease;
};

//  option  drug of the option   controlled release
const OptionRow optionTable[] = {
    {1, oxycodoneKeys, true},
    {2, morphineKeys, true},
    {3, oxycodoneKeys, false},
    {4, hydrocodoneKeys, false},
    {5, hydromorphoneKeys, false},
    {6, morphineKeys, false},
};
static_assert(sizeof(optionTable) / sizeof(optionTable[0]) == lastOption - firstOption + 1);

const FactorRow* findDrug(DrugKeys drug)
{
    for (const FactorRow& row : factorTable)
        if (sameDrug(row.drug, drug))
            return &row;
    return nullptr;
}

const OptionRow* findOption(int option)
{
    if (option < firstOption || option > lastOption)
        return nullptr;
    return &optionTable[option - firstOption];
}

} // namespace

float conversionFactor(std::uint32_t key1, std::uint32_t key2, std::int8_t route)
{
    const FactorRow* row = findDrug({key1, key2});
    if (!row)
        return 0.0f;
    switch (route) {
    case routeIM:
    case routeIV:
    case routeSQ:
        return row->iv;
    case routePO:
    case routePR:
        return row->po;
    default:
        return 0.0f;
    }
}

bool factorInMicrograms(DrugKeys drug)
{
    const FactorRow* row = findDrug(drug);
    return row && row->micrograms;
}

DrugKeys optionDrug(int option)
{
    const OptionRow* row = findOption(option);
    return row ? row->drug : DrugKeys{0, 0};
}

bool optionControlledRelease(int option)
{
    const OptionRow* row = findOption(option);
    return row && row->controlledRelease;
}
