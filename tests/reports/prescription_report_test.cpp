// The prescription report section by section, as the section selector chooses it: the Dosing
// entries and their markers, the headed lists through the list markup, References and the
// Summary of the answers; and where the report starts after a results page's own lines.
#include <gtest/gtest.h>

#include "display/layout.h"
#include "questionnaire/elements.h"
#include "questionnaire/textlist.h"
#include "reports/reports.h"
#include "report_fixture.h"

namespace {

typedef std::vector<ReportLine> Lines;

class PrescriptionReport : public ReportTest {};

TEST_F(PrescriptionReport, TheSelectorTextNamesTheSection)
{
    struct Case {
        std::vector<std::u16string> items;
        int chosen;
        int section;
    } cases[] = {
        {{u"Prescription"}, 0, 1}, {{u"Prescription", u"Caveats"}, 1, 3}, {{u"Monitoring"}, 0, 4},
        {{u"Rationale"}, 0, 5},    {{u"References"}, 0, 6},              {{u"Summary"}, 0, 7},
        {{}, -1, 1},               {{u"Summary"}, -1, 1},                {{u"summary"}, 0, 1},
        {{u"Summary "}, 0, 1},     {{u"Recommendation"}, 0, 1},          {{std::u16string(120, u'S')}, 0, 1},
    };
    for (const Case& c : cases) {
        selectorShows(c.items, c.chosen);
        std::string first = c.items.empty() ? "(empty)" : std::string(c.items.back().begin(), c.items.back().end());
        EXPECT_EQ(prescriptionSection(), c.section) << first << ", chosen " << c.chosen;
    }
}

TEST_F(PrescriptionReport, DosingShowsNotesUnderTheirEntryAndSkipsHoldAndLogic)
{
    add(&app->recommendationList, "First", "");
    add(&app->recommendationList, "A note", "NOTE");
    add(&app->recommendationList, "Held", "HOLD");
    add(&app->recommendationList, "Fourth", "");
    add(&app->recommendationList, "Reasoning", "Logic");
    add(&app->recommendationList, "Fifth<ul><li>one</li><li>two</li></ul>", "");
    add(&app->nonOpioidList, "Acetaminophen", "");
    add(&app->nonOpioidList, "Ibuprofen", "");
    selectSection(u"Prescription");
    EXPECT_EQ(buildPrescriptionReport(), 14);
    EXPECT_EQ(lines(), (Lines{heading(0, "Dosing:"), body(1, "First"), body(2, "A note"), body(4, "Fourth"),
                              body(6, "Fifth"), body(7, "- one", 5), body(8, "- two", 5), body(9, "\n"),
                              body(10, "Acetaminophen"), body(12, "Ibuprofen")}));
}

TEST_F(PrescriptionReport, TheFirstShownDosingEntryHasNoBlankRowBeforeIt)
{
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> entries;
        Lines expected;
        int next;
    } cases[] = {
        {"held first", {{"Held", "HOLD"}, {"Shown", ""}}, {heading(0, "Dosing:"), body(1, "Shown")}, 2},
        {"a note first", {{"Note", "NOTE"}, {"Shown", ""}}, {heading(0, "Dosing:"), body(1, "Note"), body(3, "Shown")}, 4},
        {"nothing", {}, {heading(0, "Dosing:")}, 1},
        {"only logic", {{"Why", "Logic"}}, {heading(0, "Dosing:")}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        releaseTextList(&app->recommendationList);
        for (const auto& e : c.entries)
            add(&app->recommendationList, e.first, e.second);
        clearLines();
        EXPECT_EQ(buildPrescriptionReport(), c.next);
        EXPECT_EQ(lines(), c.expected);
    }
}

TEST_F(PrescriptionReport, HeadedSectionsPassTheirEntriesThroughTheListMarkup)
{
    add(&app->caveatList, "Caveat one", "");
    add(&app->caveatList, "Caveat<li>item", "");
    add(&app->monitoringList, "Monitor sedation", "");
    add(&app->monitoringList, "Monitor respiration", "");
    add(&app->rationaleList, "Because", "");
    struct Case {
        const char16_t* name;
        Lines expected;
        int next;
    } cases[] = {
        {u"Caveats", {heading(0, "Caveats:"), body(1, "Caveat one"), body(3, "Caveat"), body(4, "- item", 5)}, 6},
        {u"Monitoring", {heading(0, "Guidelines:"), body(1, "Monitor sedation"), body(3, "Monitor respiration")}, 5},
        {u"Rationale", {heading(0, "Rationale:"), body(1, "Because")}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name)));
        selectSection(c.name);
        clearLines();
        EXPECT_EQ(buildPrescriptionReport(), c.next);
        EXPECT_EQ(lines(), c.expected);
    }
}

TEST_F(PrescriptionReport, AnEmptySectionGivesOnlyItsHeading)
{
    selectSection(u"Caveats");
    EXPECT_EQ(buildPrescriptionReport(), 1);
    EXPECT_EQ(lines(), (Lines{heading(0, "Caveats:")}));
}

TEST_F(PrescriptionReport, ReferencesWithNothingCitedIsEmpty)
{
    writeReferences({referenceEntry(3363, 13, {"", "", "Cited only when its rule fires"})});
    selectSection(u"References");
    EXPECT_EQ(buildPrescriptionReport(), 0);
    EXPECT_TRUE(lines().empty());

    cite({3363});
    EXPECT_EQ(buildPrescriptionReport(), 2);
    EXPECT_EQ(lines(), (Lines{body(0, "Cited only when its rule fires. ")}));
}

// Questions of the summary and their chosen answers.
std::vector<ElementSpec> summaryQuestionnaire()
{
    auto element = [](std::uint16_t id, ElementType type, int level, const char* text) {
        ElementSpec e;
        e.id = id;
        e.type = std::int8_t(type);
        e.level = std::int8_t(level);
        e.text = text;
        return e;
    };
    ElementSpec untexted = element(16140, ElementType::CHECKBOX, 2, "");
    untexted.hasText = false;
    return {
        element(9523, ElementType::MODULE, 0, "Prescription"),
        element(15817, ElementType::SELECT, 1, "Drug"),
        element(15818, ElementType::OPTION, 2, "Morphine"),
        element(15819, ElementType::OPTION, 2, "Hydromorphone"),
        element(2071, ElementType::SELECT, 1, "Route"),
        element(2075, ElementType::OPTION, 2, "Oral"),
        element(2061, ElementType::SELECT, 1, "Score"),
        element(2062, ElementType::OPTION, 2, "Mild"),
        element(10269, ElementType::CHECKBOX, 1, "Factors"),
        element(10270, ElementType::CHECKBOX, 2, "Sleep apnea"),
        element(16158, ElementType::CHECKBOX, 2, "Age over 65"),
        element(16139, ElementType::CHECKBOX, 2, "Asthma"),
        untexted,
        element(13074, ElementType::CHECKBOX, 1, "Allergies"),
        element(13075, ElementType::CHECKBOX, 2, "Codeine"),
    };
}

TEST_F(PrescriptionReport, TheSummaryListsEachGroupOnceWithItsChosenAnswers)
{
    loadQuestionnaire(summaryQuestionnaire());
    answer(9523);
    answer(16158, 1.0f, 16157);   // mitigating factors, listed in answer order across their owners
    answer(15818, 1.0f, 15817);
    answer(13075, 0.0f, 13074);   // not chosen
    answer(2062, 1.0f, 2061);
    answer(10270, 1.0f, 10269);
    answer(15819, 2.0f, 15817);
    answer(16139, 1.0f, 16137, 1);   // a second key: not a plain answer of its question
    answer(2075, 0.5f, 2071);        // a value other than 0.0, even below 1
    selectSection(u"Summary");
    EXPECT_EQ(buildPrescriptionReport(), 10);
    EXPECT_EQ(lines(), (Lines{heading(0, "Drug:"), body(1, "Morphine", 5), body(2, "Hydromorphone", 5),
                              heading(3, "Route:"), body(4, "Oral", 5), heading(5, "Zura Score:"), body(6, "Mild", 5),
                              heading(7, "Mitigating Factors:"), body(8, "Age over 65", 5),
                              body(9, "Sleep apnea", 5)}));
}

TEST_F(PrescriptionReport, AnAnswerWithoutTextStillHeadsItsGroup)
{
    loadQuestionnaire(summaryQuestionnaire());
    answer(16140, 1.0f, 16138);
    answer(9999, 1.0f, 13074);   // no such element
    selectSection(u"Summary");
    EXPECT_EQ(buildPrescriptionReport(), 2);
    EXPECT_EQ(lines(), (Lines{heading(0, "Mitigating Factors:"), heading(1, "Allergies:")}));
}

TEST_F(PrescriptionReport, AfterAResultsPageWithLinesTheReportStartsBelowThem)
{
    // The results page's own lines, as the page builder leaves them.
    addDisplayLine(&app->displayList, TextLine, "Results", 0, 0, 0, 1, 0, 1, 0, 0, 1, 0, 0, -1);
    addDisplayLine(&app->displayList, TextLine, "Review the orders", 0, 0, 2, 2, 0, 0, 0, 0, 2, 8, 8, -1);
    add(&app->rationaleList, "Because", "");
    selectSection(u"Rationale");
    EXPECT_EQ(buildPrescriptionReport(), 6);
    Lines got = lines();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[2], heading(3, "Rationale:"));
    EXPECT_EQ(got[3], body(4, "Because"));

    // The rows stay in order, so each line is laid out on a screen row of its own.
    layoutDisplayList(&app->displayList);
    int lastRow = -1;
    for (const DisplayLine* l = app->displayList.head; l; l = l->next) {
        ASSERT_NE(l->pieces, nullptr) << l->text;
        EXPECT_GT(l->pieces->row, lastRow) << l->text;
        lastRow = l->pieces->row;
    }
}

TEST_F(PrescriptionReport, ChoosingASectionAgainGivesTheSameLines)
{
    add(&app->recommendationList, "Morphine 5 mg PO q4h prn", "");
    add(&app->caveatList, "Caution", "");
    selectorShows({u"Prescription", u"Caveats"}, 0);
    buildPrescriptionReport();
    Lines first = lines();
    selectorShows({u"Prescription", u"Caveats"}, 1);
    clearLines();
    buildPrescriptionReport();
    selectorShows({u"Prescription", u"Caveats"}, 0);
    clearLines();
    buildPrescriptionReport();
    EXPECT_EQ(lines(), first);
    ASSERT_NE(app->recommendationList, nullptr);
    EXPECT_STREQ(app->recommendationList->text, "Morphine 5 mg PO q4h prn");
    EXPECT_EQ(app->recommendationList->next, nullptr);
}

} // namespace
