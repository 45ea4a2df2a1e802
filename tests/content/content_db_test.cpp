// The built content database as the program reads it: every reference id that a rule records
// has a citation and every citation belongs to such an id; the dose-range and conversion records
// hold the generator's bands and the morphine IV-to-oral entry that selects them.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "dbfile/heap.h"
#include "dbfile/records.h"
#include "dosecalc/dose_ranges.h"
#include "dosecalc/regimens.h"
#include "reports/citation.h"
#include "rules/prescription.h"
#include "rules/tables.h"
#include "tools/doseranges/lib/table.h"

namespace {

const std::string contentPath = std::string(ZURA_DATA_ROOT) + "/Program Files/Quellix/DEZidiVA-Qx4k.pdb";

// Every reference id in the program's rule tables.
std::set<int> idsTheRulesRecord()
{
    std::set<int> ids;
    const RuleTable* tables[] = {&safetyStopTable, &oralOrderTable,  &intravenousOrderTable,   &nonOpioidTable,
                                 &caveatTable,     &monitoringTable, &rationaleTable,          &sideEffectStepTable,
                                 &sideEffectRationaleTable,          &referenceTable};
    for (const RuleTable* t : tables)
        for (int i = 0; i < t->count; ++i) ids.insert(t->rules[i].id);
    for (int i = 0; i < pcaRowCount(); ++i) ids.insert(pcaRow(i).id);
    return ids;
}

struct RecordHolder {
    DbRecord* record;
    explicit RecordHolder(int type) : record(readRecord(std::uint8_t(type), 0, 0, 0, 0, contentPath.c_str())) {}
    ~RecordHolder() { freeRecord(&record); }
};

}  // namespace

TEST(ContentDatabase, EveryReferenceIdOfTheRulesHasACitationAndNoCitationIsOrphaned)
{
    RecordHolder refs(3);
    ASSERT_NE(refs.record, nullptr) << contentPath;
    const std::set<int> wanted = idsTheRulesRecord();
    ASSERT_EQ(wanted.size(), 140u) << "the rule tables changed; cite the new ids";
    std::set<int> cited;
    ReferenceWalk walk = beginReferenceWalk(refs.record);
    ReferenceEntry entry;
    int entries = 0;
    while (nextReference(&walk, &entry)) {
        ++entries;
        cited.insert(entry.id);
        EXPECT_TRUE(wanted.count(entry.id)) << "reference " << entry.id << " is recorded by no rule";
        EXPECT_TRUE(entry.type == 1 || entry.type == 5) << "reference " << entry.id << ": type " << int(entry.type);
        char* citation = formatCitation(&entry);
        ASSERT_NE(citation, nullptr);
        // A journal citation needs its authors, title, journal, year, volume and pages; a book
        // its authors, title, publisher and year.
        std::string text = citation;
        freeBlock(citation);
        const int needed[] = {1, 2, 5};
        for (int f : needed) EXPECT_STRNE(entry.fields[f], "") << "reference " << entry.id << " field " << f;
        if (entry.type == 1) {
            EXPECT_STRNE(entry.fields[8], "") << entry.id;
            EXPECT_STRNE(entry.fields[9], "") << entry.id;
            EXPECT_STRNE(entry.fields[11], "") << entry.id;
        } else {
            EXPECT_STRNE(entry.fields[4], "") << entry.id;
        }
        EXPECT_EQ(text.find(".."), std::string::npos) << text;
    }
    EXPECT_EQ(entries, walk.count) << "the walk stopped before the entry count: a damaged entry";
    for (int id : wanted) EXPECT_TRUE(cited.count(id)) << "reference id " << id << " has no citation";
}

TEST(ContentDatabase, DoseRangeRecordHoldsTheGeneratorsBands)
{
    RecordHolder ranges(1);
    ASSERT_NE(ranges.record, nullptr) << contentPath;
    const std::vector<doseranges::Band> bands = doseranges::doseBands();
    PackedWalk walk = beginPackedWalk(ranges.record);
    DoseRangeEntry entry;
    std::size_t i = 0;
    for (; nextDoseRangeEntry(&walk, &entry); ++i) {
        ASSERT_LT(i, bands.size());
        EXPECT_EQ(entry.rangeTable, doseranges::rangeTable);
        EXPECT_EQ(entry.lower, bands[i].lower);
        EXPECT_EQ(entry.upper, bands[i].upper);
        for (int option = 0; option < 6; ++option)
            EXPECT_EQ(entry.strings[2 * option + 1], bands[i].regimens[option].text) << "band " << i;
    }
    EXPECT_EQ(i, bands.size());
}

TEST(ContentDatabase, MorphineIvToOralEntrySelectsTheTableAndNamesTheProducts)
{
    RecordHolder conversions(2);
    ASSERT_NE(conversions.record, nullptr) << contentPath;
    PackedWalk walk = beginPackedWalk(conversions.record);
    ConversionEntry entry;
    bool found = false;
    while (!found && nextConversionEntry(&walk, &entry))
        found = entry.key1 == morphineKeys.key1 && entry.key2 == morphineKeys.key2 && entry.fromRoute == routeIV &&
                entry.toRoute == routePO;
    ASSERT_TRUE(found);
    EXPECT_EQ(entry.rangeTable, doseranges::rangeTable);
    const auto& options = doseranges::conversionOptions();
    for (int i = 0; i < 6; ++i) EXPECT_STREQ(entry.strings[i], options[i].productName);
}

TEST(ContentDatabase, GeneratorUsesTheProgramsOralFactorsAndOptionDrugs)
{
    const DrugKeys drugs[] = {oxycodoneKeys, morphineKeys, oxycodoneKeys, hydrocodoneKeys, hydromorphoneKeys, morphineKeys};
    const auto& options = doseranges::conversionOptions();
    EXPECT_EQ(conversionFactor(morphineKeys.key1, morphineKeys.key2, routeIV), float(doseranges::ivMorphineFactor));
    for (int i = 0; i < 6; ++i) {
        DrugKeys d = optionDrug(options[i].number);
        EXPECT_TRUE(sameDrug(d, drugs[i])) << "option " << i + 1;
        EXPECT_EQ(conversionFactor(d.key1, d.key2, routePO) * 10, float(options[i].oralFactorTenths)) << "option " << i + 1;
        EXPECT_EQ(optionControlledRelease(options[i].number), options[i].breakthrough != nullptr) << "option " << i + 1;
    }
}

TEST(ContentDatabase, RegimensReadAsTheReportShowsThem)
{
    // The option boxes name the drugs without doses; the chosen regimen breaks at its first " AND ".
    const char* names[] = {"Oxycodone (controlled-release) AND Oxycodone (short-acting) ",
                           "Morphine (controlled-release) AND Morphine (short-acting) ", nullptr,
                           "Hydrocodone/Acetaminophen ", "Hydromorphone ", "Morphine (short-acting) "};
    for (const doseranges::Band& band : doseranges::doseBands())
        for (int option = 1; option <= 6; ++option) {
            const std::string& regimen = band.regimens[option - 1].text;
            if (regimenIsNone(regimen.c_str())) continue;
            char shown[300];
            regimenDrugNames(regimen.c_str(), shown, sizeof shown);
            if (option == 3)
                EXPECT_TRUE(std::string(shown) == "Oxycodone/Acetaminophen " || std::string(shown) == "Oxycodone (short-acting) ")
                    << shown;
            else
                EXPECT_STREQ(shown, names[option - 1]) << "band " << band.lower << "-" << band.upper;
            // Option 3 must name acetaminophen exactly when it holds it: liver disease rules on it.
            EXPECT_EQ(regimenHasAcetaminophen(regimen.c_str()), band.regimens[option - 1].acetaminophenPerDay > 0)
                << regimen;
            char* broken = breakFirstAnd(regimen.c_str());
            ASSERT_NE(broken, nullptr);
            std::string lines = broken;
            freeBlock(broken);
            std::size_t breaks = std::count(lines.begin(), lines.end(), '\n');
            EXPECT_EQ(breaks, optionControlledRelease(option) ? 2u : 0u) << lines;
        }
}
