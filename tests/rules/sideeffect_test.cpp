// Side-effect management: which step list a chosen side effect gets, its outline nesting, the
// rationale and caveats beside it.
#include <gtest/gtest.h>

#include <algorithm>

#include "harness.h"
#include "rules/rules.h"

namespace {

typedef std::vector<std::uint32_t> Ids;

struct StepCase {
    const char* name;
    std::vector<std::uint32_t> chosen;
    Ids stepIds, rationaleIds, caveatIds;
};

const StepCase stepCases[] = {
    {"nausea / vomiting", {nausea}, {3396}, {3406}, {3404}},
    {"pruritus / rash", {pruritus}, {3397}, {3408}, {3407}},
    {"sedation: no rationale, contributing factors as caveats", {sedation}, {3398}, {}, {3409}},
    {"respiratory depression alone", {respiratory}, {3399}, {}, {3405}},
    {"constipation", {constipation}, {3400}, {3410}, {}},
    {"nausea and constipation: the first step list, both rationales", {nausea, constipation}, {3396}, {3406, 3410}, {3404}},
    {"sedation before respiratory depression", {respiratory, sedation}, {3398}, {}, {3405, 3409}},
    {"no side effect", {}, {}, {}, {}},
};

TEST(SideEffects, TheFirstChosenSideEffectGetsItsStepsAndEveryOneItsRationale)
{
    for (const StepCase& c : stepCases) {
        SCOPED_TRACE(c.name);
        Patient patient(c.chosen);
        EXPECT_EQ(runSet(sideEffectStepRules, patient).ids, c.stepIds);
        EXPECT_EQ(runSet(sideEffectRationaleRules, patient).ids, c.rationaleIds);
        EXPECT_EQ(runSet(caveatRules, patient).ids, c.caveatIds);
    }
}

// The deepest level of the outline in each step ("STEP ONE" ...), and the level at the end.
struct Outline {
    std::vector<int> deepestPerStep;
    int finalLevel = 0;
    bool wentNegative = false;
    bool markersHaveEmptyText = true;
};

Outline outlineOf(const std::vector<TextAndMarker>& entries)
{
    Outline outline;
    int level = 0;
    for (const TextAndMarker& e : entries) {
        if (e.first.rfind("STEP ", 0) == 0 && e.second.empty())
            outline.deepestPerStep.push_back(0);
        if (e.second == "LIST" || e.second == "ENDLIST") {
            outline.markersHaveEmptyText = outline.markersHaveEmptyText && e.first.empty();
            level += e.second == "LIST" ? 1 : -1;
            outline.wentNegative = outline.wentNegative || level < 0;
            if (!outline.deepestPerStep.empty() && level > outline.deepestPerStep.back())
                outline.deepestPerStep.back() = level;
        }
    }
    outline.finalLevel = level;
    return outline;
}

TEST(SideEffects, EveryStepListReturnsToTheMarginAndNestsWhereItShould)
{
    struct Case {
        const char* name;
        std::uint32_t sideEffect;
        std::vector<int> deepestPerStep;
    } cases[] = {
        {"nausea: two levels in step three", nausea, {1, 1, 2}},
        {"pruritus: one level only", pruritus, {1, 1, 1}},
        {"sedation: two levels in step one", sedation, {2, 1, 1, 1, 1}},
        {"respiratory depression: two levels in step one", respiratory, {2, 1, 1, 1, 1, 1}},
        {"constipation: two levels in step one", constipation, {2, 1, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Patient patient({c.sideEffect});
        Outline outline = outlineOf(runSet(sideEffectStepRules, patient).entries);
        EXPECT_EQ(outline.deepestPerStep, c.deepestPerStep);
        EXPECT_EQ(outline.finalLevel, 0);
        EXPECT_FALSE(outline.wentNegative);
        EXPECT_TRUE(outline.markersHaveEmptyText);
    }
}

TEST(SideEffects, StepHeadingsKeepTheirStoredBlanks)
{
    struct Case {
        const char* name;
        std::uint32_t sideEffect;
        std::vector<std::string> headings;
    } cases[] = {
        {"nausea", nausea, {"STEP ONE: ", "STEP TWO: ", "STEP THREE: "}},
        {"respiratory depression: the last heading has no blank", respiratory,
         {"STEP ONE: ", "STEP TWO: ", "STEP THREE: ", "STEP FOUR: ", "STEP FIVE: ", "STEP SIX:"}},
        {"constipation: two blanks after every heading", constipation,
         {"STEP ONE:  ", "STEP TWO:  ", "STEP THREE:  ", "STEP FOUR:  ", "STEP FIVE:  "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Patient patient({c.sideEffect});
        std::vector<std::string> headings;
        for (const TextAndMarker& e : runSet(sideEffectStepRules, patient).entries)
            if (e.first.rfind("STEP ", 0) == 0)
                headings.push_back(e.first);
        EXPECT_EQ(headings, c.headings);
    }
}

TEST(SideEffects, RespiratoryDepressionCaveatListsItsEightEntriesInOrder)
{
    Patient patient({respiratory});
    std::vector<TextAndMarker> entries = runSet(caveatRules, patient).entries;
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_EQ(entries[0].first, "Consider the following factors that may contribute to respiratory depression:  ");
    EXPECT_EQ(entries[1].first, "Illicit use of opioids or CNS depressants by patient or family member.");
    EXPECT_EQ(entries[7].first, "PCA pump not programmed correctly.");
}

TEST(SideEffects, SedationAndRespiratoryFactorListsHoldTheSameItemsInDifferentOrders)
{
    Patient sedated({sedation});
    Patient depressed({respiratory});
    std::vector<std::string> a = textsOf(nullptr), b;
    for (const TextAndMarker& e : runSet(caveatRules, sedated).entries)
        a.push_back(e.first);
    for (const TextAndMarker& e : runSet(caveatRules, depressed).entries)
        b.push_back(e.first);
    ASSERT_EQ(a.size(), 8u);
    ASSERT_EQ(b.size(), 8u);
    std::vector<std::string> itemsA(a.begin() + 1, a.end()), itemsB(b.begin() + 1, b.end());
    EXPECT_NE(itemsA, itemsB);
    std::sort(itemsA.begin(), itemsA.end());
    std::sort(itemsB.begin(), itemsB.end());
    EXPECT_EQ(itemsA, itemsB);
}

}  // namespace
