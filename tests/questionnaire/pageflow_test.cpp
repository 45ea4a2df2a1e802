// Page flow on a fixture questionnaire: display-state rules, next-page rules and the structural
// search for the next page, and what Next, Back, page links, module buttons and Restart do.
#include <gtest/gtest.h>

#include "dbfile/heap.h"
#include "fixture.h"
#include "questionnaire/pageflow.h"
#include "questionnaire/pagerules.h"

namespace {

class PageFlow : public QuestionnaireTest {
protected:
    void SetUp() override
    {
        QuestionnaireTest::SetUp();
        loadModules(flowDatabase());
        answer(rootElement);
        q->moduleRoot = rootElement;
        q->currentPage = moduleChoicePage;
    }

    // Display states of the current answers.
    AnswerList states()
    {
        releaseList(&held);
        held = evaluatePage(&q->firedRules, q->answers);
        return held;
    }
    void TearDown() override
    {
        releaseList(&held);
        QuestionnaireTest::TearDown();
    }
    AnswerList held = nullptr;
};

TEST_F(PageFlow, ModuleChoiceWithDoseConversionGoesToItsFirstPageByRule)
{
    answer(9524);
    EXPECT_TRUE(goNext());
    EXPECT_EQ(q->currentPage, 10324);
    EXPECT_EQ(q->nextPage, 10324);
    EXPECT_TRUE(hasId(q->firedRules, 2383));
    std::uint32_t top = 0;
    ASSERT_TRUE(popPage(&q->history, &top));
    EXPECT_EQ(top, moduleChoicePage);
}

TEST_F(PageFlow, NextPageRulesNeedTheRootButTheFurtherRulesDoNot)
{
    removeNode(&q->answers, rootElement, 0, 0, 0);
    answer(9524);
    EXPECT_EQ(findNextPage(&q->firedRules, nullptr, q->answers, moduleChoicePage, q->hierarchyRecords), 0);
    struct Case {
        const char* name;
        std::uint16_t answered;
        std::uint16_t next;
        std::uint16_t rule;
    } cases[] = {
        {"5040", 5040, 8541, 2010}, {"5039", 5039, 1449, 1491}, {"5043", 5043, 14441, 1827},
        {"8462", 8462, 8463, 1976}, {"5044", 5044, 9521, 2106}, {"nothing", 0, 9999, 1489},
    };
    for (const Case& c : cases) {
        AnswerList answers = nullptr;
        if (c.answered)
            setAnswer(&answers, c.answered, 1.0f);
        AnswerList fired = nullptr;
        EXPECT_EQ(findNextPage(&fired, nullptr, answers, 5038, q->hierarchyRecords), c.next) << c.name;
        EXPECT_TRUE(hasId(fired, c.rule)) << c.name;
        releaseList(&answers);
        releaseList(&fired);
    }
}

TEST_F(PageFlow, StructuralSearchSkipsPagesThatAreNotVisible)
{
    struct Case {
        const char* name;
        std::vector<std::uint16_t> answered;
        std::uint16_t from;
        std::uint16_t next;
    } cases[] = {
        {"HIDDEN page no rule shows, then a page a rule hides", {9523}, 10223, 7002},
        {"HIDDEN page shown by rule 2577", {9523, 2041}, 10223, 10263},
        {"page hidden by rule 2523 is passed over", {9524}, 10263, 7002},
        {"page no rule hides", {}, 10263, 12205},
        {"next page beyond the MODULE that ends the prescription module", {}, 7003, 0},
        {"next page beyond the MODULE after the module choice", {}, moduleChoicePage, 0},
        {"a page that is not in the questionnaire", {}, 4242, 0},
        {"from no page: the first PAGE after the root", {}, 0, moduleChoicePage},
    };
    for (const Case& c : cases) {
        releaseList(&q->answers);
        answer(rootElement);
        for (std::uint16_t id : c.answered)
            answer(id);
        EXPECT_EQ(nextVisiblePage(states(), c.from, q->hierarchyRecords), c.next) << c.name;
    }
}

TEST_F(PageFlow, TheFirstElementOfTheQuestionnaireIsNeverTakenForAPage)
{
    std::vector<std::vector<ElementSpec>> db = {{E(5000, ElementType::PAGE, 1), E(5001, ElementType::LABEL, 2),
                                                 E(5002, ElementType::PAGE, 1)}};
    releaseDisplayRecords(q);
    loadModules(db);
    EXPECT_EQ(nextVisiblePage(nullptr, 0, q->hierarchyRecords), 5002);
    EXPECT_EQ(nextVisiblePage(nullptr, 5000, q->hierarchyRecords), 0);
}

TEST_F(PageFlow, NextWithoutANextPageStays)
{
    q->currentPage = 7003;
    EXPECT_FALSE(goNext());
    EXPECT_EQ(q->currentPage, 7003);
    EXPECT_EQ(q->history, nullptr);
}

TEST_F(PageFlow, DisplayStatesOfTheOralRouteAndItsDrugs)
{
    answer(9523);
    answer(2075);
    AnswerList s = states();
    for (std::uint16_t id : {2081, 2083, 2044})
        EXPECT_EQ(displayState(s, id), stateHidden) << id;
    EXPECT_EQ(displayState(s, 16100), 0u);

    answer(2051);
    answer(2072);
    s = states();
    for (std::uint16_t id : {2081, 2083, 2044})
        EXPECT_EQ(displayState(s, id), stateHidden) << id;
    for (std::uint16_t id : {16100, 16099, 13866})
        EXPECT_EQ(displayState(s, id), stateShown) << id;
    EXPECT_TRUE(hasId(q->firedRules, 2456));
    EXPECT_TRUE(hasId(q->firedRules, 2625));
}

TEST_F(PageFlow, Rule2585SeesOnlyTheRulesBeforeIt)
{
    struct Case {
        const char* name;
        std::vector<std::uint16_t> answered;
        std::uint32_t state13090;
    } cases[] = {
        {"no listed rule fired", {}, stateHidden},
        {"2378 fires after 2585", {10265}, stateHidden},
        {"2629 fires after 2585", {9523, 2075, 10270}, stateHidden},
        {"2578 fires before 2585", {11671, 2075}, 0},
        {"3366 fires before 2585", {14049}, 0},
    };
    for (const Case& c : cases) {
        releaseList(&q->answers);
        answer(rootElement);
        for (std::uint16_t id : c.answered)
            answer(id);
        EXPECT_EQ(displayState(states(), 13090), c.state13090) << c.name;
    }
}

TEST_F(PageFlow, TheLaterOfShowAndHideWins)
{
    // 2625 shows 16100, then 2378 hides it; 2378 shows 13093, nothing hides it later.
    for (std::uint16_t id : {9523, 2051, 2072, 10265})
        answer(id);
    AnswerList s = states();
    EXPECT_EQ(displayState(s, 16100), stateHidden);
    EXPECT_EQ(displayState(s, 13093), stateShown);
    int nodes16100 = 0;
    for (const Answer* a = s; a; a = a->next)
        nodes16100 += a->elementId == 16100 ? 1 : 0;
    EXPECT_EQ(nodes16100, 1);
}

TEST_F(PageFlow, RulesThatRunWithoutTheRoot)
{
    removeNode(&q->answers, rootElement, 0, 0, 0);
    answer(1459);
    answer(1460);
    answer(2041);   // would show 10263, but only while the root is answered
    AnswerList s = states();
    for (std::uint16_t id : {1463, 1510, 1464})
        EXPECT_EQ(displayState(s, id), stateShown) << id;
    EXPECT_EQ(displayState(s, 10263), 0u);
}

TEST_F(PageFlow, VisibilityOfElements)
{
    struct Case {
        const char* name;
        bool hiddenByDefault;
        std::uint32_t state;   // 0: none
        bool visible;
    } cases[] = {
        {"plain", false, 0, true},           {"plain shown", false, stateShown, true},
        {"plain hidden", false, stateHidden, false}, {"HIDDEN", true, 0, false},
        {"HIDDEN shown", true, stateShown, true},    {"HIDDEN hidden", true, stateHidden, false},
    };
    for (const Case& c : cases) {
        HierarchyElement e{};
        e.bytes[8] = 0x39;   // id 0x3039 = 12345
        e.bytes[9] = 0x30;
        e.bytes[20] = c.hiddenByDefault ? 2 : 0;
        AnswerList s = nullptr;
        if (c.state == stateShown)
            showElement(&s, 12345);
        if (c.state == stateHidden)
            hideElement(&s, 12345);
        EXPECT_EQ(elementVisible(&e, s), c.visible) << c.name;
        releaseList(&s);
    }
}

TEST_F(PageFlow, BackRestoresThePageBeforeAndRemovesTheAnswersOfLaterPages)
{
    ASSERT_TRUE(startModule(108));
    EXPECT_EQ(q->currentPage, 10223);
    answer(2075);
    ASSERT_TRUE(goNext());   // 10263 HIDDEN, 12205 hidden by 2523
    EXPECT_EQ(q->currentPage, 7002);
    answer(7021);
    answer(7022);
    ASSERT_TRUE(goNext());
    EXPECT_EQ(q->currentPage, 7003);
    answer(7031);
    answer(12665, 40.0f);    // an answer of the next module

    ASSERT_TRUE(goBack());
    EXPECT_EQ(q->currentPage, 7002);
    EXPECT_FALSE(hasAnswer(7031));
    EXPECT_TRUE(hasAnswer(7021));
    EXPECT_TRUE(hasAnswer(7022));
    EXPECT_TRUE(hasAnswer(2075));
    EXPECT_EQ(value(12665), 40);

    ASSERT_TRUE(goBack());
    EXPECT_EQ(q->currentPage, 10223);
    EXPECT_FALSE(hasAnswer(7021));
    EXPECT_FALSE(hasAnswer(7022));
    EXPECT_TRUE(hasAnswer(2075));
    EXPECT_EQ(value(9523), 1);

    EXPECT_FALSE(goBack());   // the history is empty: the caller goes home
    EXPECT_EQ(q->currentPage, 10223);
}

TEST_F(PageFlow, ClearingAfterTheLastPageOfAModuleLeavesTheNextModuleAlone)
{
    answer(7031);
    answer(10334);
    answer(12665, 100.0f);
    clearLaterAnswers(&q->answers, 7003, q->hierarchyRecords);
    EXPECT_TRUE(hasAnswer(7031));
    EXPECT_TRUE(hasAnswer(10334));
    EXPECT_TRUE(hasAnswer(12665));
    clearLaterAnswers(&q->answers, 4242, q->hierarchyRecords);   // not in the questionnaire
    EXPECT_EQ(answerCount(), 4);
}

TEST_F(PageFlow, ModuleButtonsChooseTheirModule)
{
    struct Case {
        int button;
        std::uint16_t module;
        std::uint16_t firstPage;
    } cases[] = {{108, 9523, 10223}, {109, 9524, 10324}, {110, 9526, 11220}};
    pushPage(&q->history, 4242);
    answer(2075);
    for (const Case& c : cases) {
        for (std::uint16_t id : {9523, 9524, 9526})
            answer(id);
        ASSERT_TRUE(startModule(c.button)) << c.button;
        EXPECT_EQ(q->currentPage, c.firstPage) << c.button;
        for (std::uint16_t id : {9523, 9524, 9526})
            EXPECT_EQ(hasAnswer(id), id == c.module) << c.button << " " << id;
        EXPECT_EQ(value(c.module), 1);
        EXPECT_EQ(hasAnswer(2075), c.button == 108) << c.button;   // the prescription module's answer
        EXPECT_NE(q->history, nullptr);
    }
    q->currentPage = 7002;
    EXPECT_FALSE(startModule(111));
    EXPECT_EQ(q->currentPage, 7002);
}

TEST_F(PageFlow, StartingAModuleRemovesTheAnswersOfEveryOtherModule)
{
    answer(2075);            // prescription
    answer(7031);
    answer(12665, 40.0f);    // dose conversion
    answer(11220);           // side effects (its page element)
    ASSERT_TRUE(startModule(109));
    EXPECT_FALSE(hasAnswer(2075));
    EXPECT_FALSE(hasAnswer(7031));
    EXPECT_FALSE(hasAnswer(11220));
    EXPECT_EQ(value(12665), 40) << "the chosen module keeps its own answers";
    EXPECT_EQ(value(rootElement), 1);
    ASSERT_TRUE(startModule(108));
    EXPECT_FALSE(hasAnswer(12665));
    EXPECT_EQ(value(rootElement), 1);
    EXPECT_EQ(value(9523), 1);
}

TEST_F(PageFlow, PageLinkPushesThePageItLeaves)
{
    q->currentPage = 10223;
    openPageLink(13902);
    EXPECT_EQ(q->currentPage, 13902);
    ASSERT_TRUE(goBack());
    EXPECT_EQ(q->currentPage, 10223);
}

TEST_F(PageFlow, RestartLeavesOnlyTheRootAnswered)
{
    ASSERT_TRUE(startModule(108));
    answer(2075);
    ASSERT_TRUE(goNext());
    q->moduleRoot = 0;
    restartQuestionnaire();
    EXPECT_EQ(answerCount(), 1);
    ASSERT_NE(q->answers, nullptr);
    EXPECT_EQ(q->answers->elementId, rootElement);
    EXPECT_EQ(q->answers->value, 1.0f);
    EXPECT_EQ(q->history, nullptr);
    EXPECT_EQ(q->currentPage, moduleChoicePage);
    EXPECT_EQ(q->moduleRoot, rootElement);
}

TEST_F(PageFlow, AHistoryNodeThatCannotBeAllocatedIsMissing)
{
    q->currentPage = 10223;
    setAllocationFailure(1, false, true);
    openPageLink(13902);
    setAllocationFailure(0);
    EXPECT_EQ(q->currentPage, 13902);
    EXPECT_EQ(q->history, nullptr);
}

} // namespace
