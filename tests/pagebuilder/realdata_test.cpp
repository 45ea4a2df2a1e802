// The page flow and the page builder on the databases built from data/: every module's pages
// can be walked with Next, each page builds lines under its title, and no page comes twice.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "../questionnaire/fixture.h"
#include "dbfile/records.h"
#include "display/pagebuilder.h"
#include "questionnaire/pageflow.h"

namespace {

class RealQuestionnaire : public QuestionnaireTest {
protected:
    void SetUp() override
    {
        QuestionnaireTest::SetUp();
        std::string path = std::string(ZURA_DATA_ROOT) + "/Program Files/Quellix/DisplayDB-Qx4k.pdb";
        for (int m = 0; m < 10; ++m) {
            q->hierarchyRecords[m] = readRecord(1, std::uint16_t(m), 0, 0, 0, path.c_str());
            q->stringRecords[m] = readRecord(2, std::uint16_t(m), 0, 0, 0, path.c_str());
        }
        restartQuestionnaire();
    }
    void TearDown() override
    {
        clearDisplayList(&app->displayList, false);
        QuestionnaireTest::TearDown();
    }
    // Builds and checks pages as the shell shows them, pressing Next until it stays or a
    // results page is reached; returns the pages shown.
    std::vector<int> walk(int button, const std::vector<std::pair<std::uint16_t, float>>& given,
                          bool* reachedResults)
    {
        restartQuestionnaire();
        EXPECT_TRUE(startModule(button));
        for (const auto& a : given)
            answer(a.first, a.second);
        std::vector<int> pages;
        *reachedResults = false;
        for (int step = 0; step < 40; ++step) {
            clearDisplayList(&app->displayList, false);
            char title[pageTitleCapacity] = "";
            std::uint8_t style = 0, cls = 0;
            int rows = buildPage(q->currentPage, &style, &cls, title);
            pages.push_back(q->currentPage);
            EXPECT_NE(title[0], '\0') << "page " << q->currentPage;
            if (style == 1 || cls == 7) {   // the report follows the page's lines
                *reachedResults = true;
                break;
            }
            EXPECT_GT(rows, 0) << "page " << q->currentPage;
            checkPage(0, &q->firedRules, &q->answers, q->currentPage, PageShown);
            if (!goNext())
                break;
        }
        return pages;
    }
};

TEST_F(RealQuestionnaire, EveryModuleCanBeWalked)
{
    ASSERT_NE(q->hierarchyRecords[0], nullptr) << "the display database was not built";
    struct Case {
        int button;
        std::uint16_t firstPage;
        std::vector<std::pair<std::uint16_t, float>> given;
        bool results;
    } cases[] = {
        {108, 10223, {}, true},
        {109, 10324, {}, false},   // no dose given: Next stays with the dose message
        {109, 10324, {{10328, 1}, {12661, 0}, {17060, 1}, {10340, 100}, {11495, 1}}, true},   // no second opioid
        {110, 11220, {}, true},
    };
    for (const Case& c : cases) {
        bool results = false;
        std::vector<int> pages = walk(c.button, c.given, &results);
        EXPECT_EQ(results, c.results) << "button " << c.button;
        ASSERT_FALSE(pages.empty());
        EXPECT_EQ(pages[0], c.firstPage);
        std::set<int> unique(pages.begin(), pages.end());
        EXPECT_EQ(unique.size(), pages.size()) << "button " << c.button;
        messages.clear();
    }
}

} // namespace
