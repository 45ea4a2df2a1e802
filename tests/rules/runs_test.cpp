// The two rule runs as the main window sees them: the sections offered in the selector's order,
// the cited references they leave behind, and the References check against a content database
// written for the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "dbfile/heap.h"
#include "harness.h"
#include "rules/sections.h"

namespace {

typedef std::vector<std::string> Names;
typedef std::vector<std::uint32_t> Ids;

TEST(Runs, PrescriptionModuleAloneOffersCaveatsMonitoringReferencesSummary)
{
    ContentRoot root({3457});
    RunState state;
    Patient patient({prescription});
    EXPECT_EQ(prescriptionRun(state, patient), (Names{"Caveats", "Monitoring", "References", "Summary"}));
    EXPECT_EQ(state.cited(), (Ids{2852, 3457, 2645, 3440}));
    EXPECT_EQ(state.app.recommendationList, nullptr);
    EXPECT_EQ(state.app.nonOpioidList, nullptr);
    EXPECT_EQ(state.app.rationaleList, nullptr);
}

TEST(Runs, ReferencesAreOfferedOnlyWhenTheRecordCitesARecordedId)
{
    struct Case {
        const char* name;
        std::vector<std::uint16_t> recordIds;
        bool withRecord;
        std::vector<std::uint32_t> chosen;
        bool offered;
    } cases[] = {
        {"a monitoring id", {9999, 3440}, true, {prescription}, true},
        {"no recorded id in the record", {9999, 3363}, true, {prescription}, false},
        {"the oral route, recorded only by the reference rules", {3363}, true, {prescription, oral}, true},
        {"the intravenous route does not record the oral id", {3363}, true, {prescription, iv}, false},
        {"a PCA factor, recorded only by the reference rules", {3374}, true, {prescription, pca, sleepApnea}, true},
        {"no reference record in the database", {}, false, {prescription, oral}, false},
        {"empty reference record", {}, true, {prescription, oral}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ContentRoot root(c.recordIds, c.withRecord);
        RunState state;
        Patient patient(c.chosen);
        Names names = prescriptionRun(state, patient);
        EXPECT_EQ(std::count(names.begin(), names.end(), "References"), c.offered ? 1 : 0);
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(names.back(), "Summary");
    }
}

TEST(Runs, NoContentDatabaseAtAllLeavesOutReferencesOnly)
{
    ContentRoot root({3363});
    std::filesystem::remove_all(root.folder.path + "/Program Files");
    RunState state;
    Patient patient({prescription, oral, oxycodone, mild});
    EXPECT_EQ(prescriptionRun(state, patient), (Names{"Prescription", "Caveats", "Monitoring", "Rationale", "Summary"}));
}

TEST(Runs, NonOpioidOrdersAloneStillOfferPrescriptionFirst)
{
    ContentRoot root({});
    RunState state;
    Patient patient({prescription, oral, acetaminophen});
    Names names = prescriptionRun(state, patient);
    EXPECT_EQ(state.app.recommendationList, nullptr);
    ASSERT_NE(state.app.nonOpioidList, nullptr);
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.front(), "Prescription");
}

TEST(Runs, TheHoldPairOffersPrescription)
{
    ContentRoot root({});
    RunState state;
    Patient patient({prescription, holdSedation, iv, morphine, moderate});
    Names names = prescriptionRun(state, patient);
    std::vector<TextAndMarker> entries = entriesOf(state.app.recommendationList);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1], TextAndMarker("HOLD", "HOLD"));
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.front(), "Prescription");
}

TEST(Runs, BothRunsAreIdempotentForTheSameAnswers)
{
    ContentRoot root({3363, 3396});
    struct Case {
        const char* name;
        bool sideEffectModule;
        std::vector<std::uint32_t> chosen;
    } cases[] = {
        {"oral oxycodone, mild pain", false, {prescription, oral, oxycodone, mild}},
        {"morphine PCA, sleep apnea", false, {prescription, pca, morphine, moderate, sleepApnea}},
        {"nausea", true, {sideEffects, nausea}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunState state;
        Patient patient(c.chosen);
        auto run = [&] { return c.sideEffectModule ? sideEffectRun(state, patient) : prescriptionRun(state, patient); };
        Names first = run();
        Ids firstCited = state.cited();
        std::vector<std::string> firstCaveats = textsOf(state.app.caveatList);
        Names second = run();
        EXPECT_EQ(second, first);
        EXPECT_EQ(state.cited(), firstCited);
        EXPECT_EQ(textsOf(state.app.caveatList), firstCaveats);
        Ids sorted = firstCited;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "duplicate cited id";
    }
}

TEST(Runs, SideEffectSectionsInTheirOrder)
{
    ContentRoot root({3409});
    struct Case {
        const char* name;
        std::vector<std::uint32_t> chosen;
        Names expected;
    } cases[] = {
        {"nausea", {sideEffects, nausea}, {"Recommendation", "Caveats", "Rationale"}},
        {"sedation: no rationale; its caveat is cited", {sideEffects, sedation}, {"Recommendation", "Caveats", "References"}},
        {"respiratory depression", {sideEffects, respiratory}, {"Recommendation", "Caveats"}},
        {"no side effect chosen: an empty selector", {sideEffects}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunState state;
        Patient patient(c.chosen);
        EXPECT_EQ(sideEffectRun(state, patient), c.expected);
    }
}

TEST(Runs, ARunAfterTheOtherModuleForgetsTheEarlierCitations)
{
    ContentRoot root({3363});
    RunState state;
    Patient oralPatient({prescription, oral, oxycodone, mild});
    Patient nauseaPatient({sideEffects, nausea});
    prescriptionRun(state, oralPatient);
    Names names = sideEffectRun(state, nauseaPatient);
    EXPECT_EQ(state.cited(), (Ids{3396, 3404, 3406}));
    EXPECT_EQ(std::count(names.begin(), names.end(), "References"), 0);
}

TEST(Runs, WithoutMemoryForTheCitedReferencesNoRuleRunsAndNoSectionIsOffered)
{
    ContentRoot root({3363});
    RunState state;
    Patient patient({prescription, oral, oxycodone, mild});
    setAllocationFailure(1);
    Names names = prescriptionRun(state, patient);
    setAllocationFailure(0);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(citedReferences, nullptr);
    EXPECT_EQ(state.app.recommendationList, nullptr);
    EXPECT_EQ(state.app.caveatList, nullptr);
}

TEST(Runs, AllocationFailuresPartWayLoseItemsButNeverCrash)
{
    ContentRoot root({3363});
    Patient patient({prescription, pca, morphine, moderate, sleepApnea});
    for (long failAt = 1; failAt < 200; ++failAt) {
        RunState state;
        setAllocationFailure(failAt);
        Names names = prescriptionRun(state, patient);
        setAllocationFailure(0);
        if (!names.empty())
            EXPECT_EQ(names.back(), "Summary") << "failing at allocation " << failAt;
    }
}

TEST(Runs, MissingStateRecordsOfferNothing)
{
    SectionNames sections{};
    EXPECT_FALSE(prescriptionSections(&sections));
    EXPECT_FALSE(sideEffectSections(&sections));
    EXPECT_EQ(sections.count, 0);
}

TEST(Runs, SideEffectSectionNumbersFromTheSelectorText)
{
    struct Case {
        const char* text;
        int expected;
    } cases[] = {
        {"Recommendation", 1}, {"Caveats", 2}, {"Rationale", 3}, {"References", 4},
        {"Summary", 1}, {"Prescription", 1}, {"", 1}, {"caveats", 1}, {"Caveats ", 1}, {nullptr, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "(no text)");
        EXPECT_EQ(sideEffectSectionNumber(c.text), c.expected);
    }
}

}  // namespace
