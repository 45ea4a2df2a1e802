// The side-effect report section by section: the heading named by the first chosen side effect,
// list levels 8 pixels a level, entries two rows apart, rationale as stored, and References.
#include <gtest/gtest.h>

#include "questionnaire/textlist.h"
#include "reports/reports.h"
#include "report_fixture.h"

namespace {

typedef std::vector<ReportLine> Lines;

class SideEffectReport : public ReportTest {};

TEST_F(SideEffectReport, TheHeadingNamesTheFirstChosenSideEffect)
{
    struct Case {
        std::vector<std::uint16_t> chosen;
        const char* heading;
    } cases[] = {
        {{11226}, "Nausea / Vomiting:"},
        {{11225}, "Pruritus / Rash:"},
        {{11224}, "Sedation:"},
        {{11223}, "Respiratory Depression:"},
        {{13973}, "Constipation:"},
        {{13973, 11224}, "Sedation:"},   // tested in a fixed order, not the order chosen
        {{11223, 11226}, "Nausea / Vomiting:"},
        {{}, ""},                        // nothing chosen: an empty bold line
        {{11220}, ""},
    };
    selectSection(u"Recommendation");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.heading);
        releaseList(&q->answers);
        for (std::uint16_t id : c.chosen)
            answer(id);
        answer(11222, 0.0f);   // answered but not chosen: not a heading
        clearLines();
        EXPECT_EQ(buildSideEffectReport(), 1);
        EXPECT_EQ(lines(), (Lines{heading(0, c.heading)}));
    }
}

TEST_F(SideEffectReport, ListLevelsIndentEntriesEightPixelsALevel)
{
    answer(11224);
    add(&app->recommendationList, "Stop sedatives", "");
    add(&app->recommendationList, "", "LIST");
    add(&app->recommendationList, "Reduce the dose", "");
    add(&app->recommendationList, "", "ENDLIST");
    add(&app->recommendationList, "Reassess", "");
    selectSection(u"Recommendation");
    EXPECT_EQ(buildSideEffectReport(), 7);
    EXPECT_EQ(lines(), (Lines{heading(0, "Sedation:"), body(1, "Stop sedatives"), body(3, "Reduce the dose", 8),
                              body(5, "Reassess")}));
}

TEST_F(SideEffectReport, AListMarkerWithTextShowsItAtTheNewLevel)
{
    add(&app->caveatList, "Outer", "LIST");
    add(&app->caveatList, "Inner", "LIST");
    add(&app->caveatList, "Back", "ENDLIST");
    add(&app->caveatList, "<li>kept as stored", "");
    add(&app->caveatList, "", "ENDLIST");
    add(&app->caveatList, "Left", "");
    selectSection(u"Caveats");
    EXPECT_EQ(buildSideEffectReport(), 11);
    EXPECT_EQ(lines(), (Lines{heading(0, "Caveats:"), body(1, "Outer", 8), body(3, "Inner", 16), body(5, "Back", 8),
                              body(7, "<li>kept as stored", 8), body(9, "Left")}));
}

TEST_F(SideEffectReport, RationaleEntriesAreShownAsStoredEmptyOnesIncluded)
{
    add(&app->rationaleList, "First reason<ul><li>item</li></ul>", "");
    add(&app->rationaleList, "", "");
    add(&app->rationaleList, "Nested", "LIST");
    selectSection(u"Rationale");
    EXPECT_EQ(buildSideEffectReport(), 7);
    EXPECT_EQ(lines(), (Lines{heading(0, "Rationale:"), body(1, "First reason<ul><li>item</li></ul>"), body(3, ""),
                              body(5, "Nested")}));
}

TEST_F(SideEffectReport, AnEmptySectionGivesOnlyItsHeading)
{
    struct Case {
        const char16_t* section;
        const char* heading;
    } cases[] = {{u"Caveats", "Caveats:"}, {u"Rationale", "Rationale:"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.heading);
        selectSection(c.section);
        clearLines();
        EXPECT_EQ(buildSideEffectReport(), 1);
        EXPECT_EQ(lines(), (Lines{heading(0, c.heading)}));
    }
}

TEST_F(SideEffectReport, ReferencesWithNothingCitedIsEmpty)
{
    writeReferences({referenceEntry(3409, 13, {"", "", "Sedation guideline", "", "", "", "http://example.org/"})});
    selectSection(u"References");
    EXPECT_EQ(buildSideEffectReport(), 0);
    EXPECT_TRUE(lines().empty());

    cite({3409});
    EXPECT_EQ(buildSideEffectReport(), 2);
    EXPECT_EQ(lines(), (Lines{body(0, "Sedation guideline. URL: http://example.org/")}));
}

TEST_F(SideEffectReport, AnUnknownOrMissingSelectionShowsTheRecommendation)
{
    answer(13973);
    add(&app->recommendationList, "Laxative", "");
    for (int chosen : {-1, 0}) {
        SCOPED_TRACE(chosen);
        selectorShows({u"Summary"}, chosen);
        clearLines();
        EXPECT_EQ(buildSideEffectReport(), 3);
        EXPECT_EQ(lines(), (Lines{heading(0, "Constipation:"), body(1, "Laxative")}));
    }
}

TEST_F(SideEffectReport, AfterAResultsPageWithLinesTheReportStartsBelowThem)
{
    addDisplayLine(&app->displayList, TextLine, "Results", 0, 0, 0, 1, 0, 1, 0, 0, 1, 0, 0, -1);
    add(&app->recommendationList, "Step", "");
    selectSection(u"Recommendation");
    EXPECT_EQ(buildSideEffectReport(), 4);
    Lines got = lines();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[1], heading(1, ""));
    EXPECT_EQ(got[2], body(2, "Step"));
}

} // namespace
