// The condition language of the rule tables, and properties of the page rules and checks: ids
// are unique, every row acts on something (that every condition reads: tests/rules/tables_test.cpp).
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <type_traits>
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

// A compiled row agrees, for every answer set of its ids, with the precedence the words promise:
// not before and, and before or, parentheses first; and with its text read at run time. The
// jumps over the rest of an "and" or an "or" are where a wrong target would show.
TEST(RuleConditions, CompiledRowsFollowPrecedenceForEveryAnswerSet)
{
    using Truth = bool (*)(bool a, bool b, bool c);
    static constexpr Condition rows[] = {
        "1 and 2 or 3"_when, "1 or 2 and 3"_when, "not 1 or 2"_when, "not (1 or 2) and 3"_when,
        "1 and (2 or 3)"_when, "(1 or 2) and (not 3 or 1)"_when, "not not 1 and 2"_when, "1 or 2 or 3"_when,
        "1 and 2 and not 3"_when, "any of 1, 2 and 3"_when, "none of 1 to 2 or 3"_when,
        "not 1 and not 2 and not 3 or 2 and 3"_when, "1 and 2 and 3 or 2 and 3 or 1"_when,
        "(1 or 2 or 3) and (not 1 or 2) and 3"_when,
    };
    static const Truth truths[] = {
        [](bool a, bool b, bool c) { return (a && b) || c; },
        [](bool a, bool b, bool c) { return a || (b && c); },
        [](bool a, bool b, bool) { return !a || b; },
        [](bool a, bool b, bool c) { return !(a || b) && c; },
        [](bool a, bool b, bool c) { return a && (b || c); },
        [](bool a, bool b, bool c) { return (a || b) && (!c || a); },
        [](bool a, bool b, bool) { return a && b; },
        [](bool a, bool b, bool c) { return a || b || c; },
        [](bool a, bool b, bool c) { return a && b && !c; },
        [](bool a, bool b, bool c) { return (a || b) && c; },
        [](bool a, bool b, bool c) { return !(a || b) || c; },
        [](bool a, bool b, bool c) { return (!a && !b && !c) || (b && c); },
        [](bool a, bool b, bool c) { return (a && b && c) || (b && c) || a; },
        [](bool a, bool b, bool c) { return (a || b || c) && (!a || b) && c; },
    };
    static_assert(sizeof rows / sizeof rows[0] == sizeof truths / sizeof truths[0]);
    for (int set = 0; set < 8; ++set) {
        bool a = set & 1, b = set & 2, c = set & 4;
        Answers answers({{1, a ? 1.0f : 0.0f}, {2, b ? 1.0f : 0.0f}, {3, c ? 1.0f : 0.0f}});
        RuleContext context{answers.list, nullptr, 0, 0, 0};
        AnsweredIds answered;
        noteAnsweredIds(&answered, answers.list);
        RuleContext filtered{answers.list, nullptr, 0, 0, 0, &answered};
        for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
            EXPECT_EQ(conditionHolds(rows[i], answers.list), truths[i](a, b, c))
                << '"' << rows[i].text << "\" with 1=" << a << " 2=" << b << " 3=" << c;
            EXPECT_EQ(conditionHolds(rows[i], filtered), truths[i](a, b, c)) << '"' << rows[i].text << "\" filtered";
            EXPECT_EQ(conditionHolds(rows[i].text, context), truths[i](a, b, c)) << '"' << rows[i].text << '"';
        }
    }
}

// A row is refused on its first test only when nothing after that test can make it hold.
constexpr bool gatedOn(const Condition& c, std::uint8_t op, std::int32_t id) { return c.gate.op == op && c.gate.id == id; }
constexpr std::uint8_t none = conditionReading::True;
static_assert(gatedOn("2075"_when, conditionReading::Answered, 2075));
static_assert(gatedOn("2075 and 9523 and (1 or 2)"_when, conditionReading::Answered, 2075));
static_assert(gatedOn("trigger 2 and page 8226 and 1"_when, conditionReading::ForTrigger, 2));
static_assert(gatedOn("page 10324 and (1 or 2)"_when, conditionReading::OnPage, 10324));
static_assert(gatedOn("element 12766 and 12766"_when, conditionReading::ForElement, 12766));
static_assert(gatedOn("2075 or 9523"_when, none, 0) && gatedOn("2075 and 9523 or 1"_when, none, 0));
static_assert(gatedOn("not 2075 and 1"_when, none, 0) && gatedOn("any of 1 to 3 and 4"_when, none, 0));
static_assert(gatedOn("any of 1, 2 and 3"_when, none, 0) && gatedOn("(1 or 2) and 3"_when, none, 0));
static_assert(gatedOn("element is not 1 and 2"_when, none, 0) && gatedOn("page 1 or 2"_when, none, 0));

// A malformed table row is refused by the compiler (the reader finds no steps in it, and _when
// will not make a row of it); the same text given at run time answers malformed at every call
// and never holds.
TEST(RuleConditions, AMalformedConditionNeverHolds)
{
    static constexpr const char* malformed[] = {"2075 and", "2075 or or 9523", "(2075", "value(1516) < ", "2075 9523"};
    static_assert([]() consteval {
        for (const char* text : malformed)
            if (conditionReading::stepCountOf(text) != 0)
                return false;
        return true;
    }());
    // Nor does a row written as a bare text: only _when makes a Condition.
    static_assert(!std::is_constructible_v<Condition, const char*> && !std::is_aggregate_v<Condition>);
    static constexpr Condition good = "2075 or 9523"_when;
    static_assert(good.stepCount == 3);   // 2075, the jump, 9523
    Answers a({{2075, 1}, {9523, 1}});
    RuleContext c{a.list, nullptr, 0, 0, 0};
    for (const char* text : malformed)
        for (int pass = 0; pass < 2; ++pass) {
            EXPECT_EQ(evaluateCondition(text, c), ConditionMalformed) << text;
            EXPECT_FALSE(conditionHolds(text, c)) << text;
        }
    EXPECT_TRUE(conditionHolds(good, c));
}

// A text longer than a condition may be is refused as a whole rather than cut.
TEST(RuleConditions, ATooLongTextIsMalformed)
{
    std::string text = "1";
    for (int i = 0; i < conditionStepCapacity; ++i)
        text += " or 1";
    Answers a({{1, 1}});
    RuleContext c{a.list, nullptr, 0, 0, 0};
    EXPECT_EQ(evaluateCondition(text.c_str(), c), ConditionMalformed);
    EXPECT_EQ(evaluateCondition("1 or 1 or 1", c), ConditionTrue);
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

TEST(RuleTables, DisplayRulesAct)
{
    std::set<std::uint16_t> ids;
    for (const DisplayRule* r : rowsOf(displayRulesWithRoot, displayRulesAlways, 42, 2)) {
        EXPECT_TRUE(ids.insert(r->rule).second) << "rule " << r->rule << " twice";
        EXPECT_TRUE(r->show[0] || r->hide[0]) << "rule " << r->rule << " acts on nothing";
    }
}

TEST(RuleTables, NextPageRulesLead)
{
    std::set<std::uint16_t> ids;
    for (const NextPageRule* r : rowsOf(nextPageRulesWithRoot, nextPageRulesAlways, 8, 6)) {
        EXPECT_TRUE(ids.insert(r->rule).second) << "rule " << r->rule << " twice";
        EXPECT_NE(r->page, 0);
        EXPECT_NE(r->next, 0);
    }
}

TEST(RuleTables, ChecksAct)
{
    std::set<std::uint16_t> ids;
    for (const CheckRule* c : rowsOf(moduleCheckRules, generalCheckRules, 32, 8)) {
        EXPECT_TRUE(ids.insert(c->check).second) << "check " << c->check << " twice";
        bool needsIds = c->action == HideLines || c->action == PromptText || c->action == SetToZero ||
                        c->action == SetToOne;
        bool needsText = c->action == ShowError || c->action == AskQuestion;
        EXPECT_EQ(c->ids[0] != 0, needsIds) << "check " << c->check;
        EXPECT_EQ(c->message != nullptr && c->message[0] != '\0', needsText) << "check " << c->check;
    }
}

} // namespace
