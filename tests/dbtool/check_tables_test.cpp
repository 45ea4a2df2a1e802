// dbtool check against the program's tables: the repository's display sources, written back to
// a temporary folder with one fault each, fail with a message naming the element; ids are listed
// from the rule conditions as the evaluator reads them; missing reference ids are all named.
#include <filesystem>
#include <functional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dosecalc/conversion.h"
#include "dosecalc/conversion_factors.h"
#include "questionnaire/pageflow.h"
#include "questionnaire/ruleconditions.h"
#include "reports/reports.h"
#include "shell/shell.h"
#include "tests/dbtool/helpers.h"
#include "tools/dbtool/lib/build.h"
#include "tools/dbtool/lib/check.h"

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

const std::string repositoryData = std::string(ZURA_TEST_DIR) + "/../../data";

// --- the ids of a condition ------------------------------------------------------------------

void collect(std::uint16_t id, ConditionIdUse use, void* data)
{
    static_cast<std::vector<std::pair<int, int>>*>(data)->push_back({id, use});
}

TEST(ConditionIds, EveryIdIsListedWithHowItIsTested)
{
    using List = std::vector<std::pair<int, int>>;
    const struct {
        const char* condition;
        List ids;
        ConditionResult result;
    } cases[] = {
        {"9523 and (2072 or 2073)", {{9523, IdAnswered}, {2072, IdAnswered}, {2073, IdAnswered}}, ConditionFalse},
        {"page 10324 and not 11495", {{10324, IdPage}, {11495, IdAnswered}}, ConditionFalse},
        {"element is not 12766 and any of 11706 to 11708", {{12766, IdElement}, {11706, IdAnswered},
                                                             {11707, IdAnswered}, {11708, IdAnswered}}, ConditionFalse},
        {"none of 2036, 2037", {{2036, IdAnswered}, {2037, IdAnswered}}, ConditionTrue},
        {"value(1516) < 18 or countChosen(8223) > 0", {{1516, IdValue}, {8223, IdCounted}}, ConditionTrue},
        {"not fired(1614, 1922)", {{1614, IdRule}, {1922, IdRule}}, ConditionTrue},
        {"always", {}, ConditionTrue},
        {"plausibleWeightForAge", {{1547, IdValue}, {1516, IdValue}, {2208, IdValue}, {2350, IdValue}, {9152, IdValue}},
         ConditionFalse},   // no weight given
        {"9523 and", {{9523, IdAnswered}}, ConditionMalformed},
        {"value(70000) > 1", {}, ConditionFalse},   // beyond an element id: not listed
    };
    for (const auto& c : cases) {
        List ids;
        EXPECT_EQ(visitConditionIds(c.condition, collect, &ids), c.result) << c.condition;
        EXPECT_EQ(ids, c.ids) << c.condition;
    }
    List none;
    EXPECT_EQ(visitConditionIds(nullptr, collect, &none), ConditionMalformed);
}

// --- faults in the display sources -----------------------------------------------------------

DisplaySource repositoryDisplay()
{
    DisplaySource d;
    SourceErrors errors;
    loadDisplaySources(repositoryData, &d, &errors);
    EXPECT_TRUE(errors.empty()) << joined(errors);
    return d;
}

// The sources written back, one file a module, with the repository's content sources beside.
SourceErrors checkWritten(const DisplaySource& d, const TempFolder& folder)
{
    for (const DisplayModuleSource& m : d.modules) {
        std::string text = "[module " + std::to_string(m.number) + "]\n";
        for (const ElementSpec& e : m.elements)
            text += std::string(std::size_t(e.level) * indentPerLevel, ' ') + elementSourceText(e) + "\n";
        folder.write("display/" + std::to_string(m.number) + ".txt", text);
    }
    std::filesystem::copy(repositoryData + "/content", folder.file("content"), std::filesystem::copy_options::recursive);
    SourceErrors problems, missingReferences;
    checkDataDir(folder.path(), &problems, &missingReferences);
    return problems;
}

struct At {
    DisplayModuleSource* module;
    std::size_t index;
    ElementSpec& element() const { return module->elements[index]; }
};

At find(DisplaySource& d, std::uint16_t id)
{
    for (DisplayModuleSource& m : d.modules)
        for (std::size_t i = 0; i < m.elements.size(); ++i)
            if (m.elements[i].id == id)
                return {&m, i};
    ADD_FAILURE() << "no element " << id << " in the repository's sources";
    return {nullptr, 0};
}

std::size_t subtreeEnd(const DisplayModuleSource& m, std::size_t i)
{
    std::size_t j = i + 1;
    while (j < m.elements.size() && m.elements[j].level > m.elements[i].level)
        ++j;
    return j;
}

void insert(DisplayModuleSource* m, std::size_t at, ElementSpec e)
{
    m->elements.insert(m->elements.begin() + long(at), e);
    m->places.insert(m->places.begin() + long(at), SourcePlace{"inserted", 0});
}

ElementSpec page(std::uint16_t id, std::int8_t level)
{
    ElementSpec e;
    e.type = std::int8_t(ElementType::PAGE);
    e.id = id;
    e.level = level;
    e.text = "p";
    return e;
}

std::uint16_t conversionId(ConversionIdUse wanted)
{
    struct Find {
        ConversionIdUse wanted;
        std::uint16_t id;
    } f{wanted, 0};
    visitConversionIds(
        [](std::uint16_t id, ConversionIdUse use, void* data) {
            Find* f = static_cast<Find*>(data);
            if (use == f->wanted && !f->id)
                f->id = id;
        },
        &f);
    return f.id;
}

// The first id a table's visitor lists.
std::uint16_t firstListed(void (*lister)(void (*visit)(std::uint16_t, void*), void*))
{
    std::uint16_t first = 0;
    lister([](std::uint16_t id, void* data) {
        auto* f = static_cast<std::uint16_t*>(data);
        if (!*f)
            *f = id;
    }, &first);
    return first;
}

std::uint16_t firstPageOf(int button)
{
    std::uint16_t module = 0, first = 0;
    EXPECT_TRUE(moduleStart(button, &module, &first));
    return first;
}

TEST(CheckTables, EachFaultIsNamed)
{
    const std::uint16_t dose = conversionId(ConversionDose);
    const std::uint16_t ivList = conversionId(ConversionDrugListIV);
    const std::uint16_t owner = firstListed(visitSummaryOwners);
    const std::uint16_t backOnly = firstListed(visitPagesWithoutNext);
    const std::uint16_t first = firstPageOf(0);
    const std::uint16_t lastFirst = firstPageOf(2);
    ASSERT_EQ(conversionFactor(hydrocodoneKeys.key1, hydrocodoneKeys.key2, routeIV), 0.0f);

    const struct {
        const char* name;
        std::function<void(DisplaySource&)> fault;
        std::string message;   // empty: no problem at all
    } cases[] = {
        {"the sources as they are", [](DisplaySource&) {}, ""},
        {"a tested id missing", [&](DisplaySource& d) { find(d, dose).element().id = 60000; },
         "the dose conversion tests " + std::to_string(dose) + " as an INPUT, but no element has that id"},
        {"an id of a mitigating factor's condition missing",
         [&](DisplaySource& d) { find(d, 11706).element().id = 60008; },
         "mitigating factor 7 of the dose conversion tests 11706 as an answer (RADIO, CHECKBOX, OPTION, INPUT or "
         "MODULE), but no element has that id"},
        {"a tested id of another type",
         [&](DisplaySource& d) { find(d, ivList).element().type = std::int8_t(ElementType::LABEL); },
         "the dose conversion tests " + std::to_string(ivList) + " as a SELECT of drug OPTIONs, but it is LABEL " +
             std::to_string(ivList)},
        {"an owner without choices",
         [&](DisplaySource& d) {
             for (DisplayModuleSource& m : d.modules)
                 for (ElementSpec& e : m.elements)
                     if (e.group == owner)
                         e.group = 60001;
         },
         "the report layout tests " + std::to_string(owner) +
             " as the group of chosen answers, but no RADIO, CHECKBOX or OPTION has group=" + std::to_string(owner)},
        {"a first page that is no page",
         [&](DisplaySource& d) { find(d, first).element().type = std::int8_t(ElementType::LABEL); },
         "the main window tests " + std::to_string(first) + " as a PAGE, but it is LABEL " + std::to_string(first)},
        {"a page Next never reaches",
         [&](DisplaySource& d) {
             At at = find(d, first);
             ElementSpec hidden = page(60002, at.element().level);
             hidden.defaultState = std::int8_t(ElementState::HIDDEN);
             insert(at.module, subtreeEnd(*at.module, at.index), hidden);
         },
         "PAGE 60002 is never reached by Next from page " + std::to_string(first) + ", the first page of module"},
        {"a page where Next leads nowhere",
         [&](DisplaySource& d) {
             At at = find(d, lastFirst);
             std::size_t end = subtreeEnd(*at.module, at.index);
             at.module->elements.resize(end);
             at.module->places.resize(end);
         },
         "PAGE " + std::to_string(lastFirst) + ": Next leads nowhere"},
        {"a linked page shown with Next",
         [&](DisplaySource& d) {
             DisplayModuleSource& last = d.modules.back();
             insert(&last, last.elements.size(), page(60003, last.elements.back().level));
             At at = find(d, first);
             ElementSpec link;
             link.type = std::int8_t(ElementType::POPUP_LINK);
             link.id = 60004;
             link.subObject = 60003;
             link.level = std::int8_t(at.element().level + 1);
             link.text = "l";
             insert(at.module, at.index + 1, link);
         },
         "PAGE 60003 is opened by a page link, but the main window shows Next on it"},
        {"a page reached neither by Next nor by a link",
         [&](DisplaySource& d) {
             DisplayModuleSource& last = d.modules.back();
             insert(&last, last.elements.size(), page(60005, last.elements.back().level));
         },
         "PAGE 60005 is reached neither by Next nor by a page link"},
        {"a page shown with Back only reached by Next",
         [&](DisplaySource& d) {
             find(d, backOnly).element().id = 60006;
             for (DisplayModuleSource& m : d.modules)
                 for (ElementSpec& e : m.elements)
                     if (e.subObject == backOnly)
                         e.subObject = 60006;
             At at = find(d, first);
             insert(at.module, subtreeEnd(*at.module, at.index), page(backOnly, at.element().level));
         },
         "PAGE " + std::to_string(backOnly) + " is reached by Next, but the main window shows it with Back only"},
        {"a required head whose choices can all be hidden",
         [&](DisplaySource& d) {
             At at = find(d, first);
             std::size_t end = subtreeEnd(*at.module, at.index);
             std::size_t head = at.index;
             while (head < end && !at.module->elements[head].required)
                 ++head;
             ASSERT_LT(head, end);
             for (std::size_t j = at.index; j < end; ++j)
                 if (at.module->elements[j].group == at.module->elements[head].id &&
                     at.module->elements[j].type == std::int8_t(ElementType::RADIO))
                     at.module->elements[j].defaultState = std::int8_t(ElementState::HIDDEN);
         },
         "is required, but display rules can hide every choice of it: Next could never pass"},
        {"a drug with no factor for its list's route",
         [&](DisplaySource& d) {
             At at = find(d, ivList);
             for (std::size_t j = at.index; j < at.module->elements.size(); ++j) {
                 ElementSpec& e = at.module->elements[j];
                 if (e.group == ivList && (e.key1 || e.key2)) {
                     e.id = 60007;
                     e.key1 = hydrocodoneKeys.key1;
                     e.key2 = hydrocodoneKeys.key2;
                     break;
                 }
             }
         },
         "OPTION 60007: keys 0xCCF62F41/2253 have no conversion factor for route 3 of its list SELECT " +
             std::to_string(ivList)},
    };
    for (const auto& c : cases) {
        DisplaySource d = repositoryDisplay();
        c.fault(d);
        TempFolder folder;
        SourceErrors problems = checkWritten(d, folder);
        if (c.message.empty())
            EXPECT_TRUE(problems.empty()) << c.name << ":\n" << joined(problems);
        else
            EXPECT_THAT(problems.messages, Contains(HasSubstr(c.message))) << c.name << ":\n" << joined(problems);
    }
}

// A row's condition is checked as written: one that does not read is named, whatever ids it
// names, and so is each id it tests that the sources lack or hold with an unfitting type.
TEST(CheckTables, AConditionThatDoesNotReadOrTestsAMissingIdIsNamed)
{
    const struct {
        const char* condition;
        std::string message;   // empty: no problem at all
    } cases[] = {
        {"9523 and not (9524 or 9526)", ""},
        {"9523 and", "row 1: its condition is malformed and never holds"},
        {"9523 or (9524 and 9526", "row 1: its condition is malformed and never holds"},
        {"9523 nand 9524", "row 1: its condition is malformed and never holds"},
        {"9523 and not 60010", "row 1 tests 60010 as an answer (RADIO, CHECKBOX, OPTION, INPUT or MODULE), "
                               "but no element has that id"},
        {"9523 or any of 60011 to 60012", "row 1 tests 60011 as an answer"},
        {"page 9523", "row 1 tests 9523 as a PAGE, but it is"},
        {"9523 and countChosen(60013) > 1", "row 1 tests 60013 as the group of chosen answers"},
    };
    DisplaySource d = repositoryDisplay();
    for (const auto& c : cases) {
        SourceErrors problems;
        checkConditionAgainst(d, "row 1", c.condition, &problems);
        if (c.message.empty())
            EXPECT_TRUE(problems.empty()) << c.condition << ":\n" << joined(problems);
        else
            EXPECT_THAT(problems.messages, Contains(HasSubstr(c.message))) << c.condition << ":\n" << joined(problems);
    }
}

// --- reference ids ---------------------------------------------------------------------------

TEST(CheckTables, EveryRecordedReferenceIdMissingIsNamed)
{
    SourceErrors errors;
    ContentSource content = parseContent("reference id=3361 type=1\n    title \"t\"\n", &errors);
    ASSERT_TRUE(errors.empty()) << joined(errors);
    checkRecordedReferences(content, &errors);
    EXPECT_THAT(errors.messages, Contains(HasSubstr("reference id 3362, recorded by the references, has no entry "
                                                    "in the reference record")));
    EXPECT_THAT(errors.messages, Contains(HasSubstr("reference id 2653, recorded by the PCA rules")));
    EXPECT_THAT(errors.messages, Not(Contains(HasSubstr("reference id 3361,"))));

    // With every one of them there, none is missing.
    ContentSource full;
    for (const std::string& m : errors.messages) {
        ReferenceSource r;
        r.id = std::uint16_t(std::stoi(m.substr(m.find("reference id ") + 13)));
        full.references.push_back(r);
    }
    full.references.push_back(content.references[0]);
    SourceErrors none;
    checkRecordedReferences(full, &none);
    EXPECT_TRUE(none.empty()) << joined(none);
}

} // namespace
