// The checks of dbtool check that read the program's own tables: every id that a rule, input
// check, page rule, the main window, a report or the dose conversion tests is in the display
// sources with a type that fits the test; every page reachable by Next and with a way on; no
// required head whose choices display rules can all hide; drug keys with a factor for their
// list's route; every reference id the rules record in the reference record.
#include <algorithm>
#include <map>
#include <set>

#include "dosecalc/conversion.h"
#include "dosecalc/conversion_factors.h"
#include "questionnaire/checks.h"
#include "questionnaire/pageflow.h"
#include "questionnaire/pagerules.h"
#include "questionnaire/ruleconditions.h"
#include "reports/reports.h"
#include "rules/prescription.h"
#include "rules/tables.h"
#include "shell/shell.h"
#include "tools/dbtool/lib/check.h"
#include "tools/dbtool/lib/check_internal.h"

namespace {

typedef void IdVisitor(std::uint16_t id, void* data);

// The ids a table's visitor lists, in its order.
std::vector<std::uint16_t> listed(void (*lister)(IdVisitor* visit, void* data))
{
    std::vector<std::uint16_t> ids;
    lister([](std::uint16_t id, void* data) { static_cast<std::vector<std::uint16_t>*>(data)->push_back(id); }, &ids);
    return ids;
}

// What a test needs of the element it names.
enum class Fit {
    Present,     // any element: shown, hidden, prompted
    Answerable,  // an answer is tested or set: a choice, an input, a module
    Page,
    Module,
    Owner,       // countChosen or a summary: choices must have it as their group
    Input,       // a value typed in
    DrugList,    // a SELECT whose OPTIONs name drugs
};

const char* fitText(Fit f)
{
    switch (f) {
    case Fit::Present: return "an element";
    case Fit::Answerable: return "an answer (RADIO, CHECKBOX, OPTION, INPUT or MODULE)";
    case Fit::Page: return "a PAGE";
    case Fit::Module: return "a MODULE";
    case Fit::Owner: return "the group of chosen answers";
    case Fit::Input: return "an INPUT";
    case Fit::DrugList: return "a SELECT of drug OPTIONs";
    }
    return "";
}

struct Tested {
    std::uint16_t id;
    Fit fit;
};

// One table row as the ids it tests; a row that names no element of these sources (the tables
// also serve other questionnaires) can never act here and is left out.
struct Row {
    explicit Row(std::string name) : by(std::move(name)) {}
    std::string by;                // "display rule 2577"
    std::vector<Tested> ids;
    std::vector<std::uint16_t> fired;
    bool malformed = false;
    std::uint16_t needsPage = 0;   // a next-page row applies only on this page
    std::uint16_t flowRule = 0;    // the id of a page rule or input check, which fired() may test
};

struct Index {
    const std::vector<Placed>& all;
    std::map<std::uint16_t, std::size_t> at;   // id -> first index
    std::set<std::uint16_t> groups;            // groups of choices
    std::set<std::uint16_t> optionGroups;

    explicit Index(const std::vector<Placed>& a) : all(a)
    {
        for (std::size_t i = 0; i < all.size(); ++i) {
            const ElementSpec& e = *all[i].element;
            at.emplace(e.id, i);
            if (isChoice(e) && e.group)
                groups.insert(e.group);
            if (isType(e, ElementType::OPTION) && e.group)
                optionGroups.insert(e.group);
        }
    }
    const ElementSpec* find(std::uint16_t id) const
    {
        auto it = at.find(id);
        return it == at.end() ? nullptr : all[it->second].element;
    }
};

void onConditionId(std::uint16_t id, ConditionIdUse use, void* data)
{
    Row* row = static_cast<Row*>(data);
    switch (use) {
    case IdAnswered: case IdElement: row->ids.push_back({id, Fit::Answerable}); break;
    case IdValue: row->ids.push_back({id, Fit::Answerable}); break;
    case IdPage: row->ids.push_back({id, Fit::Page}); break;
    case IdCounted: row->ids.push_back({id, Fit::Owner}); break;
    case IdRule: row->fired.push_back(id); break;
    }
}

void addCondition(Row* row, const char* condition)
{
    if (visitConditionIds(condition, onConditionId, row) == ConditionMalformed)
        row->malformed = true;
}

template <std::size_t N> void addIds(Row* row, const std::uint16_t (&ids)[N], Fit fit)
{
    for (std::size_t k = 0; k < N && ids[k]; ++k)
        row->ids.push_back({ids[k], fit});
}

// The clinical rule tables, walked as their runs walk them; the PCA rows have their own shape.
std::vector<const RuleTable*> clinicalTables()
{
    return {&safetyStopTable, &oralOrderTable,  &intravenousOrderTable,    &nonOpioidTable,
            &caveatTable,     &monitoringTable, &rationaleTable,           &sideEffectStepTable,
            &sideEffectRationaleTable, &referenceTable};
}

void onConversionId(std::uint16_t id, ConversionIdUse use, void* data)
{
    Row* row = static_cast<Row*>(data);
    Fit fit = use == ConversionAnswered ? Fit::Answerable : use == ConversionDose ? Fit::Input : Fit::DrugList;
    row->ids.push_back({id, fit});
}

std::vector<Row> tableRows()
{
    std::vector<Row> rows;
    int count = 0;
    for (auto rules : {displayRulesWithRoot, displayRulesAlways}) {
        const DisplayRule* r = rules(&count);
        for (int i = 0; i < count; ++i) {
            Row row("display rule " + std::to_string(r[i].rule));
            row.flowRule = r[i].rule;
            addCondition(&row, r[i].condition.text);
            addIds(&row, r[i].show, Fit::Present);
            addIds(&row, r[i].hide, Fit::Present);
            rows.push_back(row);
        }
    }
    for (auto rules : {nextPageRulesWithRoot, nextPageRulesAlways}) {
        const NextPageRule* r = rules(&count);
        for (int i = 0; i < count; ++i) {
            Row row("next-page rule " + std::to_string(r[i].rule));
            row.needsPage = r[i].page;
            row.flowRule = r[i].rule;
            addCondition(&row, r[i].condition.text);
            row.ids.push_back({r[i].page, Fit::Page});
            row.ids.push_back({r[i].next, Fit::Page});
            rows.push_back(row);
        }
    }
    for (auto checks : {moduleCheckRules, generalCheckRules}) {
        const CheckRule* c = checks(&count);
        for (int i = 0; i < count; ++i) {
            Row row("input check " + std::to_string(c[i].check));
            row.flowRule = c[i].check;
            addCondition(&row, c[i].condition.text);
            bool sets = c[i].action == SetToZero || c[i].action == SetToOne;
            addIds(&row, c[i].ids, sets ? Fit::Answerable : Fit::Present);
            rows.push_back(row);
        }
    }
    for (const RuleTable* t : clinicalTables())
        for (int i = 0; i < t->count; ++i) {
            Row row("rule " + std::to_string(t->rules[i].id) + " of the " + t->name);
            addCondition(&row, t->rules[i].condition.text);
            rows.push_back(row);
        }
    for (int i = 0; i < pcaRowCount(); ++i) {
        Row row("PCA rule " + std::to_string(pcaRow(i).id));
        addCondition(&row, pcaRow(i).condition.text);
        rows.push_back(row);
    }
    Row shell("the main window");
    std::uint16_t module = 0, first = 0;
    for (int i = 0; moduleStart(i, &module, &first); ++i) {
        shell.ids.push_back({module, Fit::Module});
        shell.ids.push_back({first, Fit::Page});
    }
    shell.ids.push_back({rootElement, Fit::Module});
    shell.ids.push_back({moduleChoicePage, Fit::Page});
    for (std::uint16_t id : listed(visitResultsTitleDrugs))
        shell.ids.push_back({id, Fit::Answerable});
    for (std::uint16_t id : listed(visitPagesWithoutNext))
        shell.ids.push_back({id, Fit::Page});
    rows.push_back(shell);
    Row reports("the report layout");
    for (std::uint16_t id : listed(visitSummaryOwners))
        reports.ids.push_back({id, Fit::Owner});
    for (std::uint16_t id : listed(visitSideEffectHeadings))
        reports.ids.push_back({id, Fit::Answerable});
    rows.push_back(reports);
    for (int i = 0; i < mitigatingFactorCount(); ++i) {
        Row row("mitigating factor " + std::to_string(i + 1) + " of the dose conversion");
        addCondition(&row, mitigatingFactorCondition(i).text);
        rows.push_back(row);
    }
    Row conversion("the dose conversion");
    visitConversionIds(onConversionId, &conversion);
    rows.push_back(conversion);
    return rows;
}

// A row acts here when its page (for next-page rows) or at least one of its ids is an element.
bool rowActs(const Row& row, const Index& index)
{
    if (row.needsPage)
        return index.find(row.needsPage) != nullptr;
    return std::any_of(row.ids.begin(), row.ids.end(), [&](const Tested& t) { return index.find(t.id); });
}

bool fits(const ElementSpec* e, Fit fit, std::uint16_t id, const Index& index)
{
    switch (fit) {
    case Fit::Present: return e != nullptr;
    case Fit::Answerable:
        return e && (isChoice(*e) || isType(*e, ElementType::INPUT) || isType(*e, ElementType::MODULE) ||
                     isType(*e, ElementType::KEYPAD));
    case Fit::Page: return e && isType(*e, ElementType::PAGE);
    case Fit::Module: return e && isType(*e, ElementType::MODULE);
    case Fit::Owner: return index.groups.count(id) != 0;
    case Fit::Input: return e && (isType(*e, ElementType::INPUT) || isType(*e, ElementType::KEYPAD));
    case Fit::DrugList: return e && isType(*e, ElementType::SELECT) && index.optionGroups.count(id) != 0;
    }
    return false;
}

const SourcePlace programTables{"display sources", 0};

void checkTestedIds(const std::vector<Row>& rows, const Index& index, SourceErrors* problems)
{
    std::set<std::uint16_t> ruleIds;
    for (const Row& row : rows)
        if (row.flowRule)
            ruleIds.insert(row.flowRule);
    for (const Row& row : rows) {
        if (row.malformed)
            problems->add(programTables, row.by + ": its condition is malformed and never holds");
        if (!rowActs(row, index))
            continue;
        std::set<std::pair<std::uint16_t, int>> told;
        for (const Tested& t : row.ids) {
            const ElementSpec* e = index.find(t.id);
            if (fits(e, t.fit, t.id, index) || !told.insert({t.id, int(t.fit)}).second)
                continue;
            std::string why = t.fit == Fit::Owner ? "no RADIO, CHECKBOX or OPTION has group=" + std::to_string(t.id)
                              : e ? "it is " + named(*e)
                                  : "no element has that id";
            problems->add(e ? *index.all[index.at.at(t.id)].place : programTables,
                          row.by + " tests " + std::to_string(t.id) + " as " + fitText(t.fit) + ", but " + why);
        }
        for (std::uint16_t id : row.fired)
            if (!ruleIds.count(id))
                problems->add(programTables, row.by + " tests fired(" + std::to_string(id) +
                                                 "), but no display rule, next-page rule or input check has that id");
    }
}

// --- pages ------------------------------------------------------------------------------------

struct PageRules {
    std::set<std::uint16_t> shown, hidden;                    // by some display rule
    std::multimap<std::uint16_t, const NextPageRule*> next;   // by page
};

PageRules pageRules()
{
    PageRules p;
    int count = 0;
    for (auto rules : {displayRulesWithRoot, displayRulesAlways}) {
        const DisplayRule* r = rules(&count);
        for (int i = 0; i < count; ++i) {
            for (std::uint16_t id : r[i].show)
                if (id)
                    p.shown.insert(id);
            for (std::uint16_t id : r[i].hide)
                if (id)
                    p.hidden.insert(id);
        }
    }
    for (auto rules : {nextPageRulesWithRoot, nextPageRulesAlways}) {
        const NextPageRule* r = rules(&count);
        for (int i = 0; i < count; ++i)
            p.next.emplace(r[i].page, &r[i]);
    }
    return p;
}

bool canShow(const ElementSpec& e, const PageRules& p)
{
    return e.defaultState != std::int8_t(ElementState::HIDDEN) || p.shown.count(e.id);
}

bool canHide(const ElementSpec& e, const PageRules& p)
{
    return e.defaultState == std::int8_t(ElementState::HIDDEN) || p.hidden.count(e.id);
}

// The pages Next may lead to from the page at index i, each rule taken as firing or not: the
// rules' pages in table order, then (unless a rule always fires) the later pages of the module
// in document order up to the first that no rule can hide.
std::vector<std::uint16_t> nextPages(const Index& index, std::size_t i, const PageRules& p)
{
    std::vector<std::uint16_t> pages;
    std::uint16_t id = index.all[i].element->id;
    auto [from, to] = p.next.equal_range(id);
    // The first table's rows come first in the multimap, as they are tried first.
    for (auto r = from; r != to; ++r) {
        pages.push_back(r->second->next);
        if (std::string(r->second->condition.text) == "always")
            return pages;
    }
    for (std::size_t j = i + 1; j < index.all.size(); ++j) {
        const ElementSpec& e = *index.all[j].element;
        if (isType(e, ElementType::MODULE))
            break;
        if (!isType(e, ElementType::PAGE))
            continue;
        if (canShow(e, p))
            pages.push_back(e.id);
        if (!canHide(e, p))
            break;
    }
    return pages;
}

void checkPages(const Index& index, SourceErrors* problems)
{
    PageRules p = pageRules();
    const std::vector<Placed>& all = index.all;
    std::set<std::uint16_t> linked;
    for (const Placed& e : all)
        if (isType(*e.element, ElementType::POPUP_LINK))
            linked.insert(e.element->subObject);
    std::vector<std::uint16_t> withoutNext = listed(visitPagesWithoutNext);
    std::set<std::uint16_t> backOnly(withoutNext.begin(), withoutNext.end());

    std::set<std::uint16_t> reached, started;
    std::uint16_t module = 0, first = 0;
    for (int m = 0; moduleStart(m, &module, &first); ++m) {
        auto moduleAt = index.at.find(module);
        if (moduleAt == index.at.end() || !index.find(first))
            continue;   // reported with the tested ids
        std::vector<std::uint16_t> todo{first};
        std::set<std::uint16_t> seen{first};
        while (!todo.empty()) {
            std::uint16_t page = todo.back();
            todo.pop_back();
            auto at = index.at.find(page);
            if (at == index.at.end() || !isType(*all[at->second].element, ElementType::PAGE))
                continue;
            reached.insert(page);
            const Placed& here = all[at->second];
            if (isResultsPage(*here.element))
                continue;   // shown with Back only
            if (backOnly.count(page)) {
                problems->add(*here.place, named(*here.element) + " is reached by Next, but the main window shows it "
                                                                  "with Back only: the module stops there");
                continue;
            }
            std::vector<std::uint16_t> next = nextPages(index, at->second, p);
            if (next.empty())
                problems->add(*here.place, named(*here.element) +
                                               ": Next leads nowhere (no next-page rule and no later page in its module)");
            for (std::uint16_t n : next)
                if (seen.insert(n).second)
                    todo.push_back(n);
        }
        std::size_t start = moduleAt->second;
        for (std::size_t j = start + 1; j < subtreeEnd(all, start); ++j) {
            const ElementSpec& e = *all[j].element;
            if (!isType(e, ElementType::PAGE))
                continue;
            started.insert(e.id);
            if (!linked.count(e.id) && !seen.count(e.id))
                problems->add(*all[j].place, named(e) + " is never reached by Next from page " + std::to_string(first) +
                                                 ", the first page of module " + std::to_string(module));
        }
    }
    for (const Placed& q : all) {
        const ElementSpec& e = *q.element;
        if (!isType(e, ElementType::PAGE) || reached.count(e.id) || e.id == moduleChoicePage)
            continue;
        if (linked.count(e.id) && !backOnly.count(e.id))
            problems->add(*q.place, named(e) + " is opened by a page link, but the main window shows Next on it "
                                               "(it is not among the pages shown with Back only)");
        else if (!linked.count(e.id) && !started.count(e.id))
            problems->add(*q.place, named(e) + " is reached neither by Next nor by a page link");
    }
}

// A required element needs a choice that no display rule hides, neither the choice nor any
// element above it on its page; a choice HIDDEN from the start counts as hidden.
void checkHideableHeads(const std::vector<Placed>& all, SourceErrors* problems)
{
    PageRules p = pageRules();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const ElementSpec& head = *all[i].element;
        if (!head.required)
            continue;
        std::size_t page = enclosingPage(all, i);
        if (page == all.size())
            continue;
        bool any = false, safe = false;
        std::vector<const ElementSpec*> above{all[page].element};
        for (std::size_t j = page + 1; j < subtreeEnd(all, page) && !safe; ++j) {
            const ElementSpec& e = *all[j].element;
            above.resize(std::size_t(e.level - all[page].element->level));
            above.push_back(&e);
            if (!isChoice(e) || e.group != head.id)
                continue;
            any = true;
            safe = std::none_of(above.begin() + 1, above.end(), [&](const ElementSpec* a) { return canHide(*a, p); });
        }
        if (any && !safe)
            problems->add(*all[i].place, named(head) +
                                             " is required, but display rules can hide every choice of it: Next could never pass");
    }
}

// The dose conversion divides by the factor of the chosen drug for its list's route.
void checkDrugListRoutes(const std::vector<Placed>& all, SourceErrors* problems)
{
    std::map<std::uint16_t, std::int8_t> routes;
    visitConversionIds(
        [](std::uint16_t id, ConversionIdUse use, void* data) {
            auto* r = static_cast<std::map<std::uint16_t, std::int8_t>*>(data);
            if (use == ConversionDrugListIV || use == ConversionDrugListPO)
                (*r)[id] = use == ConversionDrugListIV ? routeIV : routePO;
        },
        &routes);
    for (const Placed& p : all) {
        const ElementSpec& e = *p.element;
        auto list = routes.find(e.group);
        if (!isType(e, ElementType::OPTION) || !(e.key1 || e.key2) || list == routes.end())
            continue;
        if (conversionFactor(e.key1, e.key2, list->second) == 0)
            problems->add(*p.place, named(e) + ": keys " + hex32(e.key1) + "/" + std::to_string(e.key2) +
                                        " have no conversion factor for route " + std::to_string(list->second) +
                                        " of its list SELECT " + std::to_string(e.group));
    }
}

} // namespace

void checkDisplayAgainstTables(const DisplaySource& source, SourceErrors* problems)
{
    std::vector<Placed> all = elementSequence(source);
    Index index(all);
    checkTestedIds(tableRows(), index, problems);
    checkPages(index, problems);
    checkHideableHeads(all, problems);
    checkDrugListRoutes(all, problems);
}

void checkConditionAgainst(const DisplaySource& source, const std::string& by, const char* condition,
                           SourceErrors* problems)
{
    std::vector<Placed> all = elementSequence(source);
    Index index(all);
    Row row(by);
    addCondition(&row, condition);
    checkTestedIds({row}, index, problems);
}

void checkRecordedReferences(const ContentSource& content, SourceErrors* missingReferences)
{
    std::map<std::uint16_t, std::string> recorded;   // id -> the first rule recording it
    for (const RuleTable* t : clinicalTables())
        for (int i = 0; i < t->count; ++i)
            recorded.emplace(t->rules[i].id, std::string("the ") + t->name);
    for (int i = 0; i < pcaRowCount(); ++i)
        recorded.emplace(pcaRow(i).id, "the PCA rules");
    for (const ReferenceSource& r : content.references)
        recorded.erase(r.id);
    for (const auto& [id, by] : recorded)
        if (id != 0)
            missingReferences->add(SourcePlace{"content sources", 0}, "reference id " + std::to_string(id) + ", recorded by " +
                                                                      by + ", has no entry in the reference record");
}
