// The page builder on small fixture objects: which elements become lines, their kinds, rows,
// x positions, states and values, attribute strings, drop lists and objects built in place.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../questionnaire/fixture.h"
#include "dbfile/heap.h"
#include "display/pagebuilder.h"
#include "questionnaire/pageflow.h"

namespace {

using T = ElementType;

struct Line {
    std::uint8_t kind;
    std::string text;
    int row, x, contX, width, id, group;
    bool bold, underline, state, ownsText;
    std::vector<std::uint16_t> options;
};

class PageBuilder : public QuestionnaireTest {
protected:
    void SetUp() override
    {
        QuestionnaireTest::SetUp();
        answer(rootElement);
    }
    void TearDown() override
    {
        clearDisplayList(&app->displayList, false);
        QuestionnaireTest::TearDown();
    }
    int build(std::uint16_t page)
    {
        clearDisplayList(&app->displayList, false);
        title[0] = 'X';
        style = cls = 99;
        return buildPage(page, &style, &cls, title);
    }
    std::vector<Line> lines() const
    {
        std::vector<Line> out;
        for (const DisplayLine* l = app->displayList.head; l; l = l->next) {
            Line o{l->kind, l->text ? l->text : "(none)", l->row, l->x, l->contX, l->width, l->id, l->group,
                   (l->flags & lineBold) != 0, (l->flags & lineUnderline) != 0, (l->flags & lineState) != 0,
                   (l->flags & lineOwnsText) != 0, {}};
            for (const DisplayOption* opt = l->options; opt; opt = opt->next)
                o.options.push_back(opt->elementId);
            out.push_back(o);
        }
        return out;
    }
    std::vector<int> ids() const
    {
        std::vector<int> out;
        for (const Line& l : lines())
            out.push_back(l.id);
        return out;
    }
    char title[pageTitleCapacity];
    std::uint8_t style = 0, cls = 0;
};

ElementSpec withDefault(ElementSpec e, std::uint16_t v)
{
    e.defaultValue = v;
    return e;
}

TEST_F(PageBuilder, HiddenElementsAndTheirSubtrees)
{
    loadModules({{E(1979, T::CONTAINER, 0), E(5000, T::PAGE, 1, "Title"),
                  hiddenByDefault(E(10263, T::CHECKBOX, 2)), E(5002, T::LABEL, 3), E(5003, T::LABEL, 2),
                  E(12205, T::LABEL, 2), E(5004, T::LABEL, 3), E(5005, T::LABEL, 2)}});
    struct Case {
        const char* name;
        std::vector<std::uint16_t> answered;
        std::vector<int> shown;
    } cases[] = {
        {"HIDDEN by default, no rule shows it", {}, {5003, 12205, 5004, 5005}},
        {"rule 2577 shows it", {2041}, {10263, 5002, 5003, 12205, 5004, 5005}},
        {"rule 2523 hides a plain element and its subtree", {9523}, {5003, 5005}},
    };
    for (const Case& c : cases) {
        releaseList(&q->answers);
        answer(rootElement);
        for (std::uint16_t id : c.answered)
            answer(id);
        build(5000);
        EXPECT_EQ(ids(), c.shown) << c.name;
    }
    EXPECT_EQ(q->firedRules != nullptr, true);   // the states were obtained from the rules
}

TEST_F(PageBuilder, TitleIndentsAndKinds)
{
    ElementSpec radio = E(5006, T::RADIO, 2, "Radio");
    radio.group = 5100;
    ElementSpec page = E(5000, T::PAGE, 1, "Pain management");
    page.style = 1;
    page.elementClass = 7;
    ElementSpec nested = E(5009, T::PAGE, 2, "Nested page");
    nested.style = 1;
    nested.elementClass = 7;
    loadModules({{E(1979, T::CONTAINER, 0), page, E(5001, T::LABEL, 2, "Label"),
                  E(5002, T::CHECKBOX, 3, "A check box whose caption is long enough to wrap"),
                  E(5003, T::CONTAINER, 3, "Container"), E(5004, T::GPD, 4, "Deep"), radio,
                  E(5007, T::LINE, 2), E(5008, T::BULLET, 2, "Item"), nested}});
    EXPECT_EQ(build(5000), 7);
    EXPECT_STREQ(title, "Pain management");
    EXPECT_EQ(style, 1);
    EXPECT_EQ(cls, 7);
    struct Expect {
        int id;
        std::uint8_t kind;
        const char* text;
        int row, x, contX, group;
        bool bold;
    } expected[] = {
        {5001, TextLine, "Label", 0, 8, 8, 5001, false},
        {5002, CheckBox, "A check box whose caption is long enough to wrap", 1, 16, 33, 5002, false},
        {5004, CheckBox, "Deep", 2, 24, 24, 5004, false},   // the kind passes through the container
        {5006, GroupCheckBox, "Radio", 3, 8, 25, 5100, false},
        {5007, RuleLine, "Element 5007", 4, 8, 25, 5007, false},
        {5008, RuleLine, "- Item", 5, 8, 8, 5008, false},
        {5009, TextLine, "Nested page", 6, 8, 8, 5009, true},
    };
    std::vector<Line> got = lines();
    ASSERT_EQ(got.size(), std::size(expected));
    for (std::size_t i = 0; i < got.size(); ++i) {
        const Expect& e = expected[i];
        EXPECT_EQ(got[i].id, e.id) << i;
        EXPECT_EQ(got[i].kind, e.kind) << e.id;
        EXPECT_EQ(got[i].text, e.text) << e.id;
        EXPECT_EQ(got[i].row, e.row) << e.id;
        EXPECT_EQ(got[i].x, e.x) << e.id;
        EXPECT_EQ(got[i].contX, e.contX) << e.id;
        EXPECT_EQ(got[i].group, e.group) << e.id;
        EXPECT_EQ(got[i].bold, e.bold) << e.id;
        EXPECT_EQ(got[i].width, -1) << e.id;
    }
}

TEST_F(PageBuilder, ValuesStatesAndDefaults)
{
    ElementSpec defaulted = withDefault(E(5003, T::CHECKBOX, 2, "Ticked by default"), 3);
    defaulted.group = 5200;
    loadModules({{E(1979, T::CONTAINER, 0), E(5000, T::PAGE, 1), E(5001, T::INPUT, 2, "Age"),
                  E(5002, T::CHECKBOX, 2), defaulted, withDefault(E(5004, T::CHECKBOX, 2), 0xFFFF),
                  withDefault(E(5005, T::INPUT, 2, "Weight"), 12), E(5006, T::LABEL, 2)}});
    answer(5001, 37.9f);
    answer(5002, 0.0f);
    EXPECT_EQ(build(5000), 6);
    std::vector<Line> got = lines();
    ASSERT_EQ(got.size(), 8u);
    EXPECT_EQ(got[0].kind, TextLine);
    EXPECT_EQ(got[0].text, "Age");
    EXPECT_EQ(got[0].x, 8);
    EXPECT_EQ(got[0].contX, -1);
    EXPECT_TRUE(got[0].state);
    EXPECT_EQ(got[1].kind, EditBox);
    EXPECT_EQ(got[1].text, "37");
    EXPECT_EQ(got[1].row, got[0].row);
    EXPECT_EQ(got[1].x, -1);
    EXPECT_FALSE(got[1].state);
    EXPECT_TRUE(got[1].ownsText);
    EXPECT_EQ(got[2].id, 5002);
    EXPECT_FALSE(got[2].state);
    EXPECT_EQ(got[3].id, 5003);
    EXPECT_TRUE(got[3].state);
    const Answer* created = findAnswer(q->answers, 5003, 0);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->value, 3.0f);
    EXPECT_EQ(created->ownerId, 5200u);   // as a ticked check box would own it
    EXPECT_FALSE(got[4].state);           // 0xFFFF is no default
    EXPECT_FALSE(hasAnswer(5004));
    EXPECT_EQ(got[6].text, "12");
    EXPECT_EQ(value(5005), 12);
    EXPECT_EQ(got[7].row, 5);
}

TEST_F(PageBuilder, ADropListTakesOneRowWithItsOptions)
{
    ElementSpec chosenByDefault = withDefault(E(5014, T::OPTION, 3, "Default drug"), 5);
    loadModules({{E(1979, T::CONTAINER, 0), E(5000, T::PAGE, 1), E(5001, T::SELECT, 2, "Drug"),
                  E(5002, T::OPTION, 3, "Morphine"), E(5003, T::OPTION, 3, "Fentanyl"),
                  E(5004, T::OPTION, 3, "Oxycodone"), E(5005, T::LABEL, 2, "After"),
                  E(5010, T::SELECT, 2, "Other"), E(5011, T::OPTION, 3, "A"), chosenByDefault}});
    answer(5003);
    for (int pass = 0; pass < 2; ++pass) {   // built again, as after Back: the choices stay
        EXPECT_EQ(build(5000), 3);
        std::vector<Line> got = lines();
        ASSERT_EQ(got.size(), 3u);
        EXPECT_EQ(got[0].kind, DropList);
        EXPECT_EQ(got[0].text, "");
        EXPECT_EQ(got[0].group, 1);
        EXPECT_EQ(got[0].options, (std::vector<std::uint16_t>{5002, 5003, 5004}));
        EXPECT_EQ(got[0].row, 0);
        EXPECT_EQ(got[1].row, 1);
        EXPECT_EQ(got[2].group, 1);
        EXPECT_EQ(value(5003), 1) << pass;
        EXPECT_EQ(findAnswer(q->answers, 5003, 0)->ownerId, 5001u);
        EXPECT_EQ(value(5014), 5);
        EXPECT_EQ(findAnswer(q->answers, 5014, 0)->ownerId, 5010u);
        EXPECT_FALSE(hasAnswer(5002));
    }
    releaseList(&q->answers);
    answer(rootElement);
    build(5000);
    EXPECT_EQ(lines()[0].group, -1);   // nothing chosen yet
}

TEST_F(PageBuilder, AttributeStrings)
{
    loadModules({{E(1979, T::CONTAINER, 0), E(5000, T::PAGE, 1),
                  withAttributes(E(5001, T::LABEL, 2), "SIZE=10"),
                  withAttributes(E(5002, T::LABEL, 2), "size=10"),
                  withAttributes(E(5003, T::CHECKBOX, 2), "indent=2"), E(5004, T::LABEL, 3), E(5005, T::LABEL, 2),
                  withAttributes(E(5006, T::LABEL, 2, "First"), "NOBR"), E(5007, T::LABEL, 2, "Second"),
                  E(5008, T::LABEL, 2, "Next row"),
                  withAttributes(E(5009, T::LABEL, 2), "NOBR"), withAttributes(E(5010, T::LABEL, 2), "INDENT=3"),
                  E(5011, T::LABEL, 3), withAttributes(E(5012, T::LABEL, 2), "nobr")}});
    build(5000);
    struct Expect {
        int id, row, x, width;
    } expected[] = {
        {5001, 0, 8, 80},  {5002, 1, 8, -1}, {5003, 2, 24, -1}, {5004, 3, 32, -1}, {5005, 4, 8, -1},
        {5006, 5, 8, -1},  {5007, 5, -1, -1}, {5008, 6, 8, -1},
        {5009, 7, 8, -1},  {5010, 7, -1, -1},  // INDENT= after NOBR keeps "after the previous entry"
        {5011, 8, 40, -1}, {5012, 9, 8, -1},   // the indent still applies below it; "nobr" is no NOBR
    };
    std::vector<Line> got = lines();
    ASSERT_EQ(got.size(), std::size(expected));
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].id, expected[i].id) << i;
        EXPECT_EQ(got[i].row, expected[i].row) << expected[i].id;
        EXPECT_EQ(got[i].x, expected[i].x) << expected[i].id;
        EXPECT_EQ(got[i].width, expected[i].width) << expected[i].id;
    }
    EXPECT_EQ(got[2].contX, 25);   // continuation from the unindented x, plus the box
}

TEST_F(PageBuilder, ObjectsBuiltInPlace)
{
    ElementSpec include = E(5002, T::LABEL, 2, "Include");
    include.subObject = 6000;
    ElementSpec link = E(5004, T::POPUP_LINK, 2, "How doses are calculated");
    link.subObject = 6000;
    ElementSpec itself = E(6100, T::CONTAINER, 1);
    itself.subObject = 6100;
    loadModules({{E(1979, T::CONTAINER, 0), E(5000, T::PAGE, 1), E(5001, T::LABEL, 2), include,
                  E(5003, T::LABEL, 2), link},
                 {E(6000, T::CONTAINER, 1, "Object head"), E(6001, T::LABEL, 2), E(6002, T::CHECKBOX, 3),
                  itself, E(6101, T::LABEL, 2)}});
    EXPECT_EQ(build(5000), 5);
    std::vector<Line> got = lines();
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(ids(), (std::vector<int>{5001, 6001, 6002, 5003, 6000}));
    EXPECT_EQ(got[1].row, 1);
    EXPECT_EQ(got[1].x, 8);
    EXPECT_EQ(got[2].row, 2);
    EXPECT_EQ(got[2].x, 16);
    EXPECT_EQ(got[3].row, 3);
    EXPECT_EQ(got[4].kind, PageLink);
    EXPECT_EQ(got[4].text, "How doses are calculated");
    EXPECT_TRUE(got[4].underline);
    EXPECT_TRUE(got[4].state);
    EXPECT_TRUE(got[4].ownsText);
    EXPECT_EQ(got[4].width, -1);
    EXPECT_STREQ(title, "Element 5000");

    // An object that names itself ends instead of building itself for ever.
    clearDisplayList(&app->displayList, false);
    EXPECT_EQ(buildPage(6100, nullptr, nullptr, nullptr), 0);
}

TEST_F(PageBuilder, BeforeAnyElementSetsAKindInheritingTypesGetAPlainTextLine)
{
    loadModules({{E(1979, T::CONTAINER, 0), E(6000, T::CONTAINER, 1, "Object head"), E(6001, T::OPTION, 2, "Option without a list"),
                  E(6002, T::GPD, 2, "Plain")}});
    EXPECT_EQ(buildPage(6000, nullptr, nullptr, nullptr), 1);
    std::vector<Line> got = lines();
    ASSERT_EQ(got.size(), 1u);   // the option had no line to join
    EXPECT_EQ(got[0].id, 6002);
    EXPECT_EQ(got[0].kind, TextLine);
    EXPECT_EQ(got[0].row, 0);
    EXPECT_EQ(got[0].x, 8);      // the x the option took, as after a drop list's options
    EXPECT_EQ(got[0].contX, 8);
    EXPECT_TRUE(got[0].options.empty());
}

TEST_F(PageBuilder, SpacersRequiredElementsAndTheTitleBuffer)
{
    ElementSpec required = E(5002, T::CHECKBOX, 2);
    required.required = true;
    loadModules({{E(1979, T::CONTAINER, 0), E(5000, T::PAGE, 1, std::string(150, 't')), E(5001, T::SPACER, 2),
                  required, E(5003, T::SPACER, 2), E(5004, T::LABEL, 2), E(5005, T::PAGE, 1)}});
    addId(&q->requiredList, 4242);
    EXPECT_EQ(build(5000), 3);
    EXPECT_EQ(std::string(title), std::string(pageTitleCapacity - 1, 't'));
    std::vector<Line> got = lines();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].id, 5002);   // the spacer before any row is skipped
    EXPECT_EQ(got[1].id, 5003);
    EXPECT_EQ(got[1].text, "");
    EXPECT_TRUE(got[1].ownsText);
    EXPECT_TRUE(hasId(q->requiredList, 5002));
    EXPECT_FALSE(hasId(q->requiredList, 4242));
    EXPECT_EQ(style, 0);
    EXPECT_EQ(cls, 0);
    build(5005);
    EXPECT_EQ(q->requiredList, nullptr);
}

TEST_F(PageBuilder, NothingToBuild)
{
    loadModules({{E(1979, T::CONTAINER, 0), E(5000, T::PAGE, 1)}});
    EXPECT_EQ(build(4242), 0);
    EXPECT_TRUE(lines().empty());
    EXPECT_STREQ(title, "");
    EXPECT_EQ(build(5000), 0);
    EXPECT_TRUE(messages.empty());

    QuestionnaireState* saved = questionnaireState;
    questionnaireState = nullptr;
    EXPECT_EQ(buildPage(5000, nullptr, nullptr, nullptr), 0);
    questionnaireState = saved;
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Unable to find the Hierarchy Records");
    EXPECT_EQ(messages[0].caption, "Alert");
    EXPECT_EQ(messages[0].type, unsigned(MB_OK));
}

TEST_F(PageBuilder, BuildingWithoutMemoryDropsLinesButNeverCrashes)
{
    loadModules({{E(1979, T::CONTAINER, 0), E(5000, T::PAGE, 1), E(5001, T::BULLET, 2, "Item"),
                  withDefault(E(5002, T::CHECKBOX, 2), 2), E(5003, T::SELECT, 2), E(5004, T::OPTION, 3),
                  E(5005, T::INPUT, 2, "Dose")}});
    for (long n = 1; n < 40; ++n) {
        clearDisplayList(&app->displayList, false);
        releaseList(&q->answers);
        setAllocationFailure(n);
        int rows = buildPage(5000, nullptr, nullptr, title);
        setAllocationFailure(0);
        EXPECT_LE(rows, 4) << n;
    }
}

} // namespace
