// Properties of the rule tables themselves: every condition of every table of the program is
// compiled from its text, reference ids unique within a set and across sets, every entry with a text
// and a known marker, every outline closed.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "dosecalc/conversion.h"
#include "questionnaire/checks.h"
#include "questionnaire/pagerules.h"
#include "rules/prescription.h"
#include "rules/tables.h"

namespace {

struct SetTables {
    const char* name;
    std::vector<const RuleTable*> tables;
    bool withPcaRows;
};

std::vector<SetTables> allSets()
{
    return {
        {"prescription", {&safetyStopTable, &oralOrderTable, &intravenousOrderTable}, true},
        {"non-opioid", {&nonOpioidTable}, false},
        {"caveats", {&caveatTable}, false},
        {"monitoring", {&monitoringTable}, false},
        {"rationale", {&rationaleTable}, false},
        {"side-effect steps", {&sideEffectStepTable}, false},
        {"side-effect rationale", {&sideEffectRationaleTable}, false},
        {"references", {&referenceTable}, false},
    };
}

struct NamedCondition {
    std::string by;
    const Condition* condition;
};

template <typename Row>
void addRows(std::vector<NamedCondition>* all, const char* table, const Row* (*rows)(int*), std::uint16_t Row::*id)
{
    int count = 0;
    const Row* r = rows(&count);
    for (int i = 0; i < count; ++i)
        all->push_back({std::string(table) + " " + std::to_string(r[i].*id), &r[i].condition});
}

// Every condition the program tests: page rules, input checks, clinical rules, mitigating factors.
std::vector<NamedCondition> everyCondition()
{
    std::vector<NamedCondition> all;
    addRows(&all, "display rule", displayRulesWithRoot, &DisplayRule::rule);
    addRows(&all, "display rule", displayRulesAlways, &DisplayRule::rule);
    addRows(&all, "next-page rule", nextPageRulesWithRoot, &NextPageRule::rule);
    addRows(&all, "next-page rule", nextPageRulesAlways, &NextPageRule::rule);
    addRows(&all, "check", moduleCheckRules, &CheckRule::check);
    addRows(&all, "check", generalCheckRules, &CheckRule::check);
    for (const SetTables& set : allSets())
        for (const RuleTable* table : set.tables)
            for (int i = 0; i < table->count; ++i)
                all.push_back({std::string(table->name) + " " + std::to_string(table->rules[i].id),
                               &table->rules[i].condition});
    for (int i = 0; i < pcaRowCount(); ++i)
        all.push_back({"PCA row " + std::to_string(pcaRow(i).id), &pcaRow(i).condition});
    for (int i = 0; i < mitigatingFactorCount(); ++i)
        all.push_back({"mitigating factor " + std::to_string(i + 1), &mitigatingFactorCondition(i)});
    return all;
}

// A typo in any row would make that rule never hold at a bedside; such a row does not compile.
// What the compiler made must also be what the text says: the steps in constant data equal a
// fresh reading of the row's text, and answer as it does.
TEST(RuleTables, EveryConditionOfEveryTableIsCompiledFromItsText)
{
    const RuleContext none{nullptr, nullptr, 0, 0, 0};
    std::vector<NamedCondition> all = everyCondition();
    for (const NamedCondition& c : all) {
        ASSERT_NE(c.condition->text, nullptr) << c.by;
        ConditionStep read[conditionStepCapacity];
        int count = 0;
        ASSERT_TRUE(conditionReading::readCondition(c.condition->text, read, &count)) << c.by << ": " << c.condition->text;
        ASSERT_EQ(c.condition->stepCount, count) << c.by << ": " << c.condition->text;
        for (int i = 0; i < count; ++i) {
            const ConditionStep& s = c.condition->steps[i];
            EXPECT_TRUE(s.op == read[i].op && s.relation == read[i].relation && s.id == read[i].id &&
                        s.a == read[i].a && s.b == read[i].b)
                << c.by << " step " << i << ": " << c.condition->text;
        }
        EXPECT_EQ(evaluateCondition(*c.condition, none), evaluateCondition(c.condition->text, none)) << c.by;
    }
}

TEST(RuleTables, IdsAreUniqueWithinEverySetAndNeverShared)
{
    std::map<std::uint16_t, std::string> owner;
    for (const SetTables& set : allSets()) {
        std::vector<std::uint16_t> ids;
        for (const RuleTable* table : set.tables)
            for (int i = 0; i < table->count; ++i)
                ids.push_back(table->rules[i].id);
        if (set.withPcaRows)
            for (int i = 0; i < pcaRowCount(); ++i)
                ids.push_back(pcaRow(i).id);
        for (std::uint16_t id : ids) {
            EXPECT_NE(id, 0) << "a row without its id in " << set.name;
            auto [at, added] = owner.emplace(id, set.name);
            EXPECT_TRUE(added) << "id " << id << " in " << set.name << " also in " << at->second;
        }
    }
}

TEST(RuleTables, EveryEntryHasATextAndAKnownMarkerAndEveryListCloses)
{
    const std::set<std::string> markers = {"", "NOTE", "HOLD", "Logic", "LIST", "ENDLIST"};
    for (const SetTables& set : allSets())
        for (const RuleTable* table : set.tables)
            for (int i = 0; i < table->count; ++i) {
                SCOPED_TRACE(testing::Message() << table->name << " row " << i + 1 << " id " << table->rules[i].id);
                int level = 0, deepest = 0;
                for (const RuleEntry& entry : table->rules[i].entries) {
                    ASSERT_NE(entry.text, nullptr);
                    ASSERT_NE(entry.marker, nullptr);
                    std::string marker = entry.marker, text = entry.text;
                    EXPECT_TRUE(markers.count(marker)) << "marker " << marker;
                    bool listMarker = marker == "LIST" || marker == "ENDLIST";
                    EXPECT_EQ(text.empty(), listMarker) << "text \"" << text << "\"";
                    level += marker == "LIST" ? 1 : marker == "ENDLIST" ? -1 : 0;
                    EXPECT_GE(level, 0);
                    deepest = std::max(deepest, level);
                }
                EXPECT_EQ(level, 0);
                EXPECT_LE(deepest, 2);
            }
}

TEST(RuleTables, PcaRowsComposeFiveNonEmptyEntriesThatFit)
{
    for (int i = 0; i < pcaRowCount(); ++i) {
        const PcaRow& row = pcaRow(i);
        const char* cells[] = {row.loading, row.demand, row.basal, row.lockout, row.limit};
        for (int which = 0; which < pcaEntryCount; ++which) {
            SCOPED_TRACE(testing::Message() << "PCA row " << i + 1 << " id " << row.id << " entry " << which + 1);
            ASSERT_NE(cells[which], nullptr);
            EXPECT_STRNE(cells[which], "");
            char text[pcaEntrySize + 8];
            pcaEntryText(row, which, text, sizeof text);
            EXPECT_LT(std::string(text).size(), std::size_t(pcaEntrySize - 1)) << "cut at the entry buffer";
            EXPECT_NE(std::string(text).find(cells[which]), std::string::npos);
        }
    }
}

TEST(RuleTables, EverySetHasItsRows)
{
    struct Case {
        const char* name;
        int rows, expected;
    } cases[] = {
        {"safety stops", safetyStopTable.count, 2},
        {"PCA rows", pcaRowCount(), 31},
        {"oral orders", oralOrderTable.count, 22},
        {"intravenous orders", intravenousOrderTable.count, 12},
        {"non-opioid orders", nonOpioidTable.count, 4},
        {"caveats", caveatTable.count, 31},
        {"monitoring", monitoringTable.count, 11},
        {"rationale", rationaleTable.count, 7},
        {"side-effect steps", sideEffectStepTable.count, 5},
        {"side-effect rationale", sideEffectRationaleTable.count, 3},
        {"references", referenceTable.count, 12},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.rows, c.expected) << c.name;
}

TEST(RuleTables, ReferenceRulesAppendNoText)
{
    for (int i = 0; i < referenceTable.count; ++i)
        EXPECT_EQ(referenceTable.rules[i].entries.size(), 0u) << "row " << i + 1;
}

}  // namespace
