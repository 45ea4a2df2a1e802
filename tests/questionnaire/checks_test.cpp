// Input checks and prompts on the fixture questionnaire: the dose ranges, the check-box groups
// kept consistent, prompts and "Don't Show Again", the age and weight checks, hidden lines.
#include <gtest/gtest.h>

#include <string>

#include "dbfile/heap.h"
#include "fixture.h"
#include "questionnaire/checks.h"
#include "questionnaire/pageflow.h"
#include "questionnaire/prompts.h"

namespace {

const char* firstDoseMessage =
    "Please enter a valid value (1 - 1300) for total amount of drug administered over past 24 hours";
const char* secondDoseMessage =
    "Please enter a valid value (1 - 1300) for total amount of the 2nd opioid administered over past 24 hours";

class Checks : public QuestionnaireTest {
protected:
    void SetUp() override
    {
        QuestionnaireTest::SetUp();
        loadModules(flowDatabase());
        answer(rootElement);
    }
    void TearDown() override
    {
        clearDisplayList(&app->displayList, false);
        QuestionnaireTest::TearDown();
    }
    bool check(std::uint16_t page, int trigger, std::uint16_t element = 0)
    {
        return checkPage(element, &q->firedRules, &q->answers, page, trigger);
    }
    std::vector<std::string> messageTexts() const
    {
        std::vector<std::string> texts;
        for (const ShownMessage& m : messages)
            texts.push_back(m.text);
        return texts;
    }
    DisplayLine* line(std::uint16_t id)
    {
        std::int16_t row = std::int16_t(rows++);
        return addDisplayLine(&app->displayList, TextLine, "line", 0, 0, row, id, false, false, false, false, 0, 0,
                              -1, -1);
    }
    bool visible(const DisplayLine* l) const { return (l->flags & lineVisible) != 0; }
    int rows = 0;
};

TEST_F(Checks, TheFirstDoseMustLieBetween1And1300)
{
    struct Case {
        const char* name;
        bool fromList;     // 10334 answered: the dose is typed in 12665
        bool otherDrug;    // 12162 answered: the dose is typed in 10340 instead
        float dose12665, dose10340;
        bool refused;
    } cases[] = {
        {"1301 in 12665", true, false, 1301, 0, true},
        {"1300 in 12665, 10340 not tested", true, false, 1300, 0, false},
        {"1 in 12665", true, false, 1, 5000, false},
        {"0 in 12665", true, false, 0, 50, true},
        {"10340 when 12162 is answered", true, true, 50, 1301, true},
        {"10340 when 10334 is not answered", false, false, 1301, 100, false},
        {"10340 at 0", false, false, 100, 0, true},
    };
    for (const Case& c : cases) {
        releaseList(&q->answers);
        answer(rootElement);
        answer(10334, c.fromList ? 1.0f : 0.0f);
        answer(12162, c.otherDrug ? 1.0f : 0.0f);
        answer(12665, c.dose12665);
        answer(10340, c.dose10340);
        messages.clear();
        EXPECT_EQ(check(10324, NextPressed), !c.refused) << c.name;
        if (c.refused) {
            ASSERT_EQ(messages.size(), 1u) << c.name;
            EXPECT_EQ(messages[0].text, firstDoseMessage);
            EXPECT_EQ(messages[0].caption, "Error");
            EXPECT_EQ(messages[0].type, unsigned(MB_OK));
        } else {
            EXPECT_TRUE(messages.empty()) << c.name;
        }
        EXPECT_EQ(hasId(q->firedRules, 3340), c.refused) << c.name;
    }
}

TEST_F(Checks, NextStaysOnThePageWhenTheDoseIsOutOfRange)
{
    q->currentPage = 10324;
    answer(9524);
    answer(10334);
    answer(12665, 1301);
    EXPECT_FALSE(goNext());
    EXPECT_EQ(q->currentPage, 10324);
    EXPECT_EQ(q->history, nullptr);
    answer(12665, 1300);
    EXPECT_TRUE(goNext());
    EXPECT_EQ(q->currentPage, 15977);
}

TEST_F(Checks, TheSecondOpioidDose)
{
    answer(11650, 0);
    EXPECT_FALSE(check(15977, NextPressed));
    EXPECT_EQ(messageTexts(), std::vector<std::string>{secondDoseMessage});
    messages.clear();
    answer(11645);
    answer(12684, 20);
    EXPECT_TRUE(check(15977, NextPressed));
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(check(10324, PageShown));   // the dose is tested only on Next
}

TEST_F(Checks, DrugMustBeSelected)
{
    answer(10328);
    answer(12661);
    answer(10334);
    answer(12665, 10);
    EXPECT_FALSE(check(10324, NextPressed));
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Please select a drug"});
}

TEST_F(Checks, NoneOfTheseClearsTheOthersAndTheOthersClearIt)
{
    answer(13974);
    for (std::uint16_t id = 11706; id <= 11713; ++id)
        answer(id);
    answer(12766);
    check(10223, ControlChanged, 12766);
    EXPECT_EQ(value(12766), 1);
    EXPECT_EQ(value(13974), 0);
    for (std::uint16_t id = 11706; id <= 11713; ++id)
        EXPECT_EQ(value(id), 0) << id;

    answer(11709);
    check(10223, ControlChanged, 11709);
    EXPECT_EQ(value(12766), 0);
    EXPECT_EQ(value(11709), 1);

    answer(12766);
    answer(13974);
    check(10223, ControlChanged, 13974);
    EXPECT_EQ(value(12766), 0);
}

TEST_F(Checks, MitigatingFactorsFollowTheirHead)
{
    const std::uint16_t factors[] = {2047, 2048, 9841, 2051, 2052, 14021, 2055, 14086, 10270, 10279};
    for (std::uint16_t id : factors)
        answer(id);
    answer(10408, 0);   // the head was just unticked
    check(10223, ControlChanged, 10408);
    for (std::uint16_t id : factors)
        EXPECT_EQ(value(id), 0) << id;
    EXPECT_EQ(value(10408), 0);

    for (std::uint16_t id : factors) {
        answer(id);
        check(10223, ControlChanged, id);
        EXPECT_EQ(value(10408), 1) << id;
        answer(id, 0);
        check(10223, ControlChanged, id);
        EXPECT_EQ(value(10408), 0) << id;
    }
}

TEST_F(Checks, DontShowAgainLastsUntilTheProgramEnds)
{
    EXPECT_TRUE(check(10223, PageShown));
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], "Prompt text for the prescription module");
    EXPECT_EQ(app->promptText != nullptr, true);
    EXPECT_EQ(narrow(app->promptText), prompts[0]);

    promptResult = 1003;
    check(10223, PageShown);
    EXPECT_EQ(prompts.size(), 2u);
    EXPECT_TRUE(hasId(q->suppressedPrompts, 14001));
    check(10223, PageShown);
    check(10223, PageShown);
    EXPECT_EQ(prompts.size(), 2u);
    EXPECT_EQ(showPrompt(14001), -1);
    restartQuestionnaire();
    check(10223, PageShown);
    EXPECT_EQ(prompts.size(), 2u);
}

TEST_F(Checks, PromptButtonsAndTexts)
{
    promptResult = 1005;
    EXPECT_EQ(showPrompt(12888), 1005);
    EXPECT_EQ(showPrompt(12888), 1005);   // OK does not suppress
    EXPECT_EQ(prompts.size(), 2u);
    EXPECT_EQ(showPrompt(4242), -1);      // no such element
    EXPECT_EQ(prompts.size(), 2u);
}

TEST_F(Checks, ALongPromptIsCutToItsBuffer)
{
    std::vector<std::vector<ElementSpec>> db = flowDatabase();
    db[1].push_back(E(15000, ElementType::LABEL, 3, std::string(1500, 'a')));
    ElementSpec silent = E(15001, ElementType::LABEL, 3);
    silent.hasText = false;
    db[1].push_back(silent);
    releaseDisplayRecords(q);
    loadModules(db);
    EXPECT_EQ(showPrompt(15000), 1005);
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], std::string(promptTextCapacity - 1, 'a'));
    EXPECT_EQ(showPrompt(15001), -1);
    EXPECT_EQ(prompts.size(), 1u);
}

TEST_F(Checks, AgeAndWeightOnThePatientPage)
{
    struct Case {
        const char* name;
        float age, weight;
        bool years, months;
        std::vector<std::string> shown;
    } cases[] = {
        {"no age", 0, 0, true, false, {"Age required to continue"}},
        {"negative age", -3, 20, true, false, {"Age required to continue"}},
        {"adult in years", 18, 70, true, false, {"Enter an age < 18 years to continue."}},
        {"adult in months", 216, 70, false, true, {"Enter an age < 18 years to continue."}},
        {"child without weight", 10, 0, true, false, {"Weight is required for pediatrics."}},
    };
    for (const Case& c : cases) {
        releaseList(&q->answers);
        answer(rootElement);
        answer(1516, c.age);
        answer(1547, c.weight);
        answer(2208, c.years ? 1.0f : 0.0f);
        answer(2210, c.months ? 1.0f : 0.0f);
        messages.clear();
        EXPECT_FALSE(check(8226, NextPressed)) << c.name;
        EXPECT_EQ(messageTexts(), c.shown) << c.name;
    }
}

TEST_F(Checks, AnUnlikelyWeightAsksForConfirmation)
{
    answer(1516, 10);
    answer(2208);
    answer(1547, 900);
    messageResult = IDCANCEL;
    EXPECT_FALSE(check(8226, NextPressed));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text,
              "The given age and weight combination seems unreasonable.  Are you sure you want to continue?");
    EXPECT_EQ(messages[0].caption, "Confirm");
    EXPECT_EQ(messages[0].type, unsigned(MB_OKCANCEL));
    messageResult = IDOK;
    EXPECT_TRUE(check(8226, NextPressed));
}

TEST_F(Checks, RespiratoryInfectionPage)
{
    EXPECT_FALSE(check(1449, NextPressed));
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Please select upper or lower respiratory infection."});
    messages.clear();
    answer(1455);
    EXPECT_FALSE(check(1449, NextPressed));
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Age group required to continue."});
    messages.clear();
    answer(8224);
    EXPECT_TRUE(check(1449, NextPressed));
    EXPECT_TRUE(messages.empty());
}

TEST_F(Checks, AControlChangeIsAcceptedOnlyByACheckThatSaysSo)
{
    EXPECT_FALSE(check(1449, ControlChanged, 1455));
    answer(1455);
    Answer* group = setAnswer(&q->answers, 8224, 1.0f);
    group->ownerId = 8223;
    EXPECT_TRUE(check(1449, ControlChanged, 1455));
    EXPECT_TRUE(hasId(q->firedRules, 1919));
    // Without the root only the general checks run; Next passes when they do.
    releaseList(&q->answers);
    answer(10334);
    answer(12665, 5000);
    EXPECT_TRUE(check(10324, NextPressed));
    EXPECT_TRUE(messages.empty());
}

TEST_F(Checks, AMessageIsShownEvenWithoutMemory)
{
    setAllocationFailure(1, true, true);
    EXPECT_TRUE(showMessage("Please select a drug", true));
    setAllocationFailure(0);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_FALSE(showMessage("Please select a drug", false));
    EXPECT_EQ(messages.size(), 2u);
}

TEST_F(Checks, HiddenLinesComeBackAtTheNextControlChange)
{
    DisplayLine* head = line(12888);
    DisplayLine* below = line(12889);
    DisplayLine* sibling = line(16158);
    DisplayLine* other = line(11220);
    hideElementLines(12888);
    EXPECT_FALSE(visible(head));
    EXPECT_FALSE(visible(below));
    EXPECT_TRUE(visible(sibling));
    EXPECT_TRUE(visible(other));
    hideElementLines(4242);   // no such element: nothing hidden
    EXPECT_TRUE(visible(sibling));

    // Check 3463 hides 12888 and 16158 while 2072 is not answered.
    showAllDisplayLines(&app->displayList);
    check(11220, ControlChanged, 2072);
    EXPECT_FALSE(visible(head));
    EXPECT_FALSE(visible(sibling));
    answer(2072);
    showAllDisplayLines(&app->displayList);
    check(11220, ControlChanged, 2072);
    EXPECT_TRUE(visible(head));
    EXPECT_TRUE(visible(below));
    EXPECT_TRUE(visible(sibling));
}

} // namespace
