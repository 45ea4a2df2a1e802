// The condition language of the rule tables, and properties of the tables themselves: every
// condition reads without error, ids are unique, every row acts on something.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "questionnaire/answers.h"
#include "questionnaire/checks.h"
#include "questionnaire/pagerules.h"
#include "questionnaire/ruleconditions.h"

namespace {

struct Answers {
    explicit Answers(std::initializer_list<std::pair<std::uint16_t, float>> values)
    {
        for (auto& v : values)
            setAnswer(&list, v.first, v.second);
    }
    ~Answers() { releaseList(&list); }
    AnswerList list = nullptr;
};

TEST(RuleConditions, ReadAsWritten)
{
    Answers a({{2075, 1}, {9523, 1}, {2072, 0}, {1516, 17.9f}, {12665, 1301}, {10340, 1300}});
    AnswerList fired = nullptr;
    addId(&fired, 2375);
    {
        Answer* owned = setAnswer(&a.list, 7001, 1);
        owned->ownerId = 8223;
        owned = setAnswer(&a.list, 7002, 1);
        owned->ownerId = 8223;
    }
    RuleContext c{a.list, &fired, 10324, 12766, 3};
    struct Case {
        const char* condition;
        ConditionResult expected;
    } cases[] = {
        {"2075", ConditionTrue},
        {"2072", ConditionFalse},                       // answered 0.0 counts as not chosen
        {"not 2072", ConditionTrue},
        {"2075 and 9523", ConditionTrue},
        {"2075 and 2072", ConditionFalse},
        {"2072 or 9523", ConditionTrue},
        {"not 2075 or 9523", ConditionTrue},            // not binds tighter than or
        {"not (2075 or 9523)", ConditionFalse},
        {"2072 and 2075 or 9523", ConditionTrue},       // and binds tighter than or
        {"2072 and (2075 or 9523)", ConditionFalse},
        {"always", ConditionTrue},
        {"page 10324", ConditionTrue},
        {"page 15977", ConditionFalse},
        {"trigger 3", ConditionTrue},
        {"element 12766", ConditionTrue},
        {"element is not 12766", ConditionFalse},
        {"any of 2072, 2075", ConditionTrue},
        {"none of 2072, 2073", ConditionTrue},
        {"any of 2070 to 2074", ConditionFalse},
        {"any of 2070 to 2075", ConditionTrue},
        {"fired(2375)", ConditionTrue},
        {"fired(2376, 2378)", ConditionFalse},
        {"not fired(2376, 2375)", ConditionFalse},
        {"value(1516) < 18", ConditionTrue},            // 17.9 is 17
        {"value(1516) > 17", ConditionFalse},
        {"value(1516) <= 17", ConditionTrue},
        {"value(1516) >= 17", ConditionTrue},
        {"value(1516) = 17", ConditionTrue},
        {"value(12665) outside 1 to 1300", ConditionTrue},
        {"value(10340) outside 1 to 1300", ConditionFalse},
        {"value(4242) outside 1 to 1300", ConditionTrue},   // absent is 0
        {"countChosen(8223) > 1", ConditionTrue},
        {"countChosen(8223) > 2", ConditionFalse},
        {"", ConditionMalformed},
        {"2075 and", ConditionMalformed},
        {"(2075 or 9523", ConditionMalformed},
        {"2075 9523", ConditionMalformed},
        {"2075 nand 9523", ConditionMalformed},
        {"value(1516) ~ 3", ConditionMalformed},
        {"any 2075", ConditionMalformed},
        {"pages 10324", ConditionMalformed},
        {"element is 12766", ConditionMalformed},
        {"fired(2375", ConditionMalformed},
    };
    for (const Case& k : cases)
        EXPECT_EQ(evaluateCondition(k.condition, c), k.expected) << '"' << k.condition << '"';
    EXPECT_EQ(evaluateCondition(nullptr, c), ConditionMalformed);
    EXPECT_FALSE(conditionHolds("2075 and", c));
    releaseList(&fired);
}

// Every condition must read without error whatever the answers; a malformed one never holds.
void expectWellFormed(const char* table, std::uint16_t id, const char* condition)
{
    RuleContext empty{nullptr, nullptr, 0, 0, 0};
    EXPECT_NE(evaluateCondition(condition, empty), ConditionMalformed) << table << " " << id << ": " << condition;
}

// The rows of a table pair: those run with the root, then those run always.
template <typename Row>
std::vector<const Row*> rowsOf(const Row* (*withRoot)(int*), const Row* (*always)(int*), int expectWithRoot,
                               int expectAlways)
{
    int n1 = 0, n2 = 0;
    const Row* first = withRoot(&n1);
    const Row* second = always(&n2);
    EXPECT_EQ(n1, expectWithRoot);
    EXPECT_EQ(n2, expectAlways);
    std::vector<const Row*> rows;
    for (int i = 0; i < n1; ++i)
        rows.push_back(&first[i]);
    for (int i = 0; i < n2; ++i)
        rows.push_back(&second[i]);
    return rows;
}

TEST(RuleTables, DisplayRulesReadAndAct)
{
    std::set<std::uint16_t> ids;
    for (const DisplayRule* r : rowsOf(displayRulesWithRoot, displayRulesAlways, 42, 2)) {
        expectWellFormed("display rule", r->rule, r->condition);
        EXPECT_TRUE(ids.insert(r->rule).second) << "rule " << r->rule << " twice";
        EXPECT_TRUE(r->show[0] || r->hide[0]) << "rule " << r->rule << " acts on nothing";
    }
}

TEST(RuleTables, NextPageRulesReadAndLead)
{
    std::set<std::uint16_t> ids;
    for (const NextPageRule* r : rowsOf(nextPageRulesWithRoot, nextPageRulesAlways, 8, 6)) {
        expectWellFormed("next-page rule", r->rule, r->condition);
        EXPECT_TRUE(ids.insert(r->rule).second) << "rule " << r->rule << " twice";
        EXPECT_NE(r->page, 0);
        EXPECT_NE(r->next, 0);
    }
}

TEST(RuleTables, ChecksReadAndAct)
{
    std::set<std::uint16_t> ids;
    for (const CheckRule* c : rowsOf(moduleCheckRules, generalCheckRules, 32, 8)) {
        expectWellFormed("check", c->check, c->condition);
        EXPECT_TRUE(ids.insert(c->check).second) << "check " << c->check << " twice";
        bool needsIds = c->action == HideLines || c->action == PromptText || c->action == SetToZero ||
                        c->action == SetToOne;
        bool needsText = c->action == ShowError || c->action == AskQuestion;
        EXPECT_EQ(c->ids[0] != 0, needsIds) << "check " << c->check;
        EXPECT_EQ(c->message != nullptr && c->message[0] != '\0', needsText) << "check " << c->check;
    }
}

} // namespace
