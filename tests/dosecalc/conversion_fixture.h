// Fixture for the dose conversion tests: the two global records with a small questionnaire
// (drug questions and their drug options), content records made with the database writer, and
// helpers that answer questions the way the questionnaire does.
#pragma once
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dbfile/heap.h"
#include "dosecalc/conversion.h"
#include "dosecalc/conversion_factors.h"
#include "tests/common/fixture.h"

namespace fixture {

// Drug options of the fixture questionnaire.
enum DrugOption : std::uint16_t {
    IvMorphine = 20001, IvFentanyl, IvHydromorphone, IvOxycodone, IvUnknown, IvLongName,
    PoOxycodone = 20101, PoMorphine, PoHydrocodone,
    SecondIvMorphine = 20201, SecondIvFentanyl,
    SecondPoOxycodone = 20301, SecondPoMorphine,
};

inline const std::string longDrugName(150, 'L');

struct DrugSpec {
    std::uint16_t id;
    DrugKeys keys;
    const char* name;
    std::uint16_t question;
};

constexpr DrugKeys fentanylKeys = {0x365BAB3Eu, 519};
constexpr DrugKeys unknownKeys = {0x12345678u, 1};

inline std::vector<DrugSpec> drugSpecs()
{
    return {
        {IvMorphine, morphineKeys, "Morphine", 10332},
        {IvFentanyl, fentanylKeys, "Fentanyl", 10332},
        {IvHydromorphone, hydromorphoneKeys, "Hydromorphone", 10332},
        {IvOxycodone, oxycodoneKeys, "Oxycodone", 10332},
        {IvUnknown, unknownKeys, "Unknown", 10332},
        {IvLongName, morphineKeys, longDrugName.c_str(), 10332},
        {PoOxycodone, oxycodoneKeys, "Oxycodone", 12242},
        {PoMorphine, morphineKeys, "Morphine", 12242},
        {PoHydrocodone, hydrocodoneKeys, "Hydrocodone", 12242},
        {SecondIvMorphine, morphineKeys, "Morphine", 11643},
        {SecondIvFentanyl, fentanylKeys, "Fentanyl", 11643},
        {SecondPoOxycodone, oxycodoneKeys, "Oxycodone", 12339},
        {SecondPoMorphine, morphineKeys, "Morphine", 12339},
    };
}

inline ModuleRecords questionnaireRecords()
{
    std::vector<ElementSpec> elements = {E(9524, ElementType::MODULE, 0, "Dose conversion")};
    for (std::uint16_t question : {10332, 12242, 11643, 12339}) {
        elements.push_back(E(question, ElementType::SELECT, 1, "Opioid"));
        for (const DrugSpec& d : drugSpecs()) {
            if (d.question != question)
                continue;
            ElementSpec option = E(d.id, ElementType::OPTION, 2, d.name);
            option.key1 = d.keys.key1;
            option.key2 = d.keys.key2;
            elements.push_back(option);
        }
    }
    return makeModuleRecords(0, elements);
}

// One dose-range entry; regimen i (1..6) is regimens[i - 1].
inline PackedEntry rangeEntry(std::uint16_t lower, std::uint16_t upper, std::int8_t table,
                              const std::vector<std::string>& regimens)
{
    PackedEntry e;
    putU16(e.header, upper);
    putU16(e.header, lower);
    putU8(e.header, std::uint8_t(table));
    for (int s = 0; s < 14; ++s)
        e.strings.push_back(s % 2 == 1 && s / 2 < 6 ? regimens[s / 2] : "x" + std::to_string(s));
    return e;
}

inline std::vector<std::string> regimensNamed(const std::string& range)
{
    std::vector<std::string> r;
    for (int i = 1; i <= 6; ++i)
        r.push_back("Drug" + std::to_string(i) + " " + range);
    return r;
}

inline PackedEntry conversionEntry(DrugKeys drug, std::int8_t from, std::int8_t to, std::int8_t table,
                                   const std::string& productPrefix)
{
    PackedEntry e;
    putU32(e.header, drug.key1);
    putU32(e.header, drug.key2);
    putU8(e.header, std::uint8_t(from));
    putU8(e.header, std::uint8_t(to));
    putU8(e.header, std::uint8_t(table));
    for (int s = 0; s < 7; ++s)
        e.strings.push_back(productPrefix + std::to_string(s + 1));
    return e;
}

// Conversion record: decoys first (another drug, another route pair), then morphine IV to PO
// with table 2. Dose ranges: a decoy table 9 covering everything, then table 2.
inline Bytes conversionBytes()
{
    return makePackedRecord(2, 0,
                            {conversionEntry(oxycodoneKeys, 3, 8, 9, "WrongDrug"),
                             conversionEntry(morphineKeys, 3, 16, 9, "WrongRoute"),
                             conversionEntry(morphineKeys, 3, 8, 2, "Product")});
}

inline Bytes doseRangeBytes()
{
    return makePackedRecord(1, 0,
                            {rangeEntry(0, 60000, 9, regimensNamed("decoy")),
                             rangeEntry(0, 10, 2, regimensNamed("0-10")),
                             rangeEntry(10, 20, 2, regimensNamed("10-20")),
                             rangeEntry(20, 50, 2, regimensNamed("20-50")),
                             rangeEntry(50, 60, 2, regimensNamed("50-60")),
                             rangeEntry(60, 100, 2, regimensNamed("60-100")),
                             rangeEntry(100, 120, 2, regimensNamed("100-120")),
                             rangeEntry(120, 1000, 2, regimensNamed("120-1000"))});
}

// The global records, built fresh for each test and torn down after it.
class ConversionTest : public ::testing::Test, public GlobalRecords {
public:
    void SetUp() override
    {
        install();
        ModuleRecords m = questionnaireRecords();
        q->hierarchyRecords[0] = recordFrom(m.hierarchy);
        q->stringRecords[0] = recordFrom(m.strings);
        setContent(conversionBytes(), doseRangeBytes());
    }

    void TearDown() override { release(); }

    void setContent(const Bytes& conversion, const Bytes& ranges)
    {
        freeBlock(appState->conversionRecord);
        freeBlock(appState->doseRangeRecord);
        appState->conversionRecord = conversion.empty() ? nullptr : recordFrom(conversion);
        appState->doseRangeRecord = ranges.empty() ? nullptr : recordFrom(ranges);
    }

    // A drop-list choice: the option's answer, owned by its question.
    void choose(std::uint16_t option, std::uint16_t question, float value = 1.0f)
    {
        ASSERT_NE(answer(option, value, question), nullptr);
    }

    void ivDrug(std::uint16_t option, float mg) { choose(option, 10332); answer(10340, mg); }
    void ivDrugMcg(std::uint16_t option, float mcg) { choose(option, 10332); answer(10334); answer(12665, mcg); }
    void poDrug(std::uint16_t option, float mg) { answer(12162); choose(option, 12242); answer(10340, mg); }
    void secondIv(std::uint16_t option, float mg) { answer(11498); choose(option, 11643); answer(11650, mg); }
    void secondPo(std::uint16_t option, float mg)
    {
        answer(11498);
        answer(12167);
        choose(option, 12339);
        answer(11650, mg);
    }

    static std::vector<std::string> texts(const TextEntry* entry)
    {
        std::vector<std::string> out;
        for (; entry; entry = entry->next)
            out.push_back(entry->text ? entry->text : "(absent)");
        return out;
    }
};

} // namespace fixture
