// The coherence checks of dbtool check, over the parsed sources: one small function a check,
// each walking the element sequence (all modules in order, as the program sees them) or the
// content entries.
#include "tools/dbtool/lib/check.h"

#include <algorithm>
#include <map>

#include "dosecalc/conversion_factors.h"
#include "questionnaire/elements.h"
#include "tools/dbtool/lib/build.h"

namespace {

struct Placed {
    const ElementSpec* element;
    const SourcePlace* place;
};

std::vector<Placed> elementSequence(const DisplaySource& source)
{
    std::vector<Placed> all;
    for (const DisplayModuleSource& m : source.modules)
        for (std::size_t i = 0; i < m.elements.size(); ++i)
            all.push_back({&m.elements[i], &m.places[i]});
    return all;
}

std::string named(const ElementSpec& e) { return std::string(elementTypeName(e.type)) + " " + std::to_string(e.id); }

bool isType(const ElementSpec& e, ElementType t) { return e.type == std::int8_t(t); }

// The end (one past) of the subtree whose head is at index i.
std::size_t subtreeEnd(const std::vector<Placed>& all, std::size_t i)
{
    std::size_t j = i + 1;
    while (j < all.size() && all[j].element->level > all[i].element->level)
        ++j;
    return j;
}

void checkUniqueIds(const std::vector<Placed>& all, SourceErrors* problems)
{
    std::map<std::uint16_t, const SourcePlace*> first;
    for (const Placed& p : all) {
        auto [at, fresh] = first.emplace(p.element->id, p.place);
        if (!fresh)
            problems->add(*p.place, named(*p.element) + ": id " + std::to_string(p.element->id) +
                                        " is already used at " + placeText(*at->second));
    }
}

// The main window takes control ids 1 (close), 100-112 (its own controls) and 20000 (the drop
// button) for commands, and 1-6 as conversion options; the line tagged (1, 0) opens the
// explanation page. A page line whose id or keys are one of these would trigger them.
void checkReservedIds(const std::vector<Placed>& all, SourceErrors* problems)
{
    for (const Placed& p : all) {
        std::uint16_t id = p.element->id;
        if ((id >= 1 && id <= 6) || (id >= 100 && id <= 112) || id == 20000)
            problems->add(*p.place, named(*p.element) + ": id " + std::to_string(id) +
                                        " is taken by the main window for a command (ids 1-6, 100-112 and 20000)");
        if (p.element->key1 == 1 && p.element->key2 == 0)
            problems->add(*p.place, named(*p.element) +
                                        ": key pair (1, 0) marks the \"How doses are calculated\" line of the dose report");
    }
}

// The report is laid out below a results page, which must contribute no rows of its own.
void checkResultsPages(const std::vector<Placed>& all, SourceErrors* problems)
{
    for (std::size_t i = 0; i < all.size(); ++i) {
        const ElementSpec& e = *all[i].element;
        bool results = isType(e, ElementType::PAGE) && (e.style == std::int8_t(ElementStyle::RECOMMEND) ||
                                                          e.elementClass == std::int8_t(ElementClass::RECOMMEND));
        if (results && subtreeEnd(all, i) > i + 1)
            problems->add(*all[i].place, "results page " + std::to_string(e.id) + " has elements of its own (first " +
                                             named(*all[i + 1].element) + " at " + placeText(*all[i + 1].place) +
                                             "); the report is laid out below it");
    }
}

void checkTextLengths(const std::vector<Placed>& all, SourceErrors* problems)
{
    for (const Placed& p : all)
        if (p.element->text.size() >= promptBufferSize)
            problems->add(*p.place, named(*p.element) + ": text of " + std::to_string(p.element->text.size()) +
                                        " bytes; a prompt text must stay below " + std::to_string(promptBufferSize));
}

// subObject names the element built in this element's place; for POPUP_LINK the page it opens.
void checkSubObjects(const std::vector<Placed>& all, SourceErrors* problems)
{
    std::map<std::uint16_t, const ElementSpec*> byId;
    for (const Placed& p : all)
        byId.emplace(p.element->id, p.element);
    for (const Placed& p : all) {
        const ElementSpec& e = *p.element;
        if (!e.subObject)
            continue;
        auto target = byId.find(e.subObject);
        if (target == byId.end())
            problems->add(*p.place, named(e) + ": sub=" + std::to_string(e.subObject) + " names no element");
        else if (isType(e, ElementType::POPUP_LINK) && !isType(*target->second, ElementType::PAGE))
            problems->add(*p.place, named(e) + ": a page link must open a PAGE, not " + named(*target->second));
    }
}

// countChosen(id) counts the answers owned by id, and an answer's owner is its element's group:
// a required element needs choices whose group is its id on its own page, or Next never passes.
void checkRequiredHeads(const std::vector<Placed>& all, SourceErrors* problems)
{
    for (std::size_t i = 0; i < all.size(); ++i) {
        const ElementSpec& e = *all[i].element;
        if (!e.required)
            continue;
        std::size_t page = i;
        while (page > 0 && !isType(*all[page].element, ElementType::PAGE))
            --page;
        bool choice = false;
        for (std::size_t j = page; j < subtreeEnd(all, page) && !choice; ++j) {
            const ElementSpec& c = *all[j].element;
            choice = c.group == e.id && (isType(c, ElementType::RADIO) || isType(c, ElementType::CHECKBOX) ||
                                         isType(c, ElementType::OPTION));
        }
        if (!choice)
            problems->add(*all[i].place, named(e) + " is required, but no RADIO, CHECKBOX or OPTION on its page has group=" +
                                             std::to_string(e.id) + ": Next could never pass");
    }
}

// An OPTION is one choice of the SELECT before it.
void checkOptions(const std::vector<Placed>& all, SourceErrors* problems)
{
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (!isType(*all[i].element, ElementType::OPTION))
            continue;
        std::size_t j = i;
        while (j > 0 && isType(*all[j - 1].element, ElementType::OPTION))
            --j;
        if (j == 0 || !isType(*all[j - 1].element, ElementType::SELECT))
            problems->add(*all[i].place, named(*all[i].element) + " does not follow a SELECT");
    }
}

// The dose conversion divides by the chosen drug's factor: keys without a factor for any route
// (or a typing slip in them) would make it divide by zero.
void checkDrugKeys(const std::vector<Placed>& all, SourceErrors* problems)
{
    for (const Placed& p : all) {
        const ElementSpec& e = *p.element;
        if ((e.key1 || e.key2) && conversionFactor(e.key1, e.key2, routeIV) == 0 &&
            conversionFactor(e.key1, e.key2, routePO) == 0)
            problems->add(*p.place, named(e) + ": keys " + hex32(e.key1) + "/" + std::to_string(e.key2) +
                                        " have no conversion factor for any route");
    }
}

void checkBands(const ContentSource& s, SourceErrors* problems)
{
    for (std::size_t i = 0; i < s.ranges.size(); ++i) {
        const DoseRangeSource& r = s.ranges[i];
        std::string band = "band (" + std::to_string(r.lower) + ", " + std::to_string(r.upper) + "] of table " +
                           std::to_string(r.table);
        for (std::size_t j = 0; j < i; ++j) {
            const DoseRangeSource& q = s.ranges[j];
            if (q.table == r.table && r.lower < q.upper && q.lower < r.upper)
                problems->add(s.rangePlaces[i], band + " overlaps (" + std::to_string(q.lower) + ", " +
                                                    std::to_string(q.upper) + "] at " + placeText(s.rangePlaces[j]) +
                                                    "; the program takes the first");
        }
        for (int option = 1; option <= 6; ++option)
            if (r.strings[2 * option - 1].empty())
                problems->add(s.rangePlaces[i], band + ": " + doseRangeStringName(2 * option - 1) +
                                                    " is empty; write \"None\" where the option cannot give the dose");
    }
}

void checkConversions(const ContentSource& s, SourceErrors* problems)
{
    for (std::size_t i = 0; i < s.conversions.size(); ++i) {
        const ConversionSource& c = s.conversions[i];
        bool banded = std::any_of(s.ranges.begin(), s.ranges.end(), [&](const DoseRangeSource& r) { return r.table == c.table; });
        if (!banded)
            problems->add(s.conversionPlaces[i], "conversion " + hex32(c.key1) + "/" + std::to_string(c.key2) +
                                                     ": table " + std::to_string(c.table) + " has no dose-range band");
        for (int option = 0; option < 6; ++option)
            if (c.strings[option].empty())
                problems->add(s.conversionPlaces[i], "conversion " + hex32(c.key1) + "/" + std::to_string(c.key2) +
                                                         ": " + conversionStringName(option) + " is empty");
    }
}

// The conversion always looks up the morphine keys from IV to PO.
void checkMorphineConversion(const ContentSource& s, SourceErrors* problems)
{
    for (const ConversionSource& c : s.conversions)
        if (c.key1 == morphineKeys.key1 && c.key2 == morphineKeys.key2 && c.fromRoute == routeIV && c.toRoute == routePO)
            return;
    problems->add(SourcePlace{"content sources", 0}, "no conversion entry for the morphine keys " + hex32(morphineKeys.key1) +
                                                          "/" + std::to_string(morphineKeys.key2) + " from route " +
                                                          std::to_string(routeIV) + " to route " + std::to_string(routePO) +
                                                          ": the dose conversion could never find a regimen");
}

void checkReferences(const ContentSource& s, SourceErrors* problems)
{
    for (std::size_t i = 0; i < s.references.size(); ++i) {
        const ReferenceSource& r = s.references[i];
        std::string name = "reference " + std::to_string(r.id);
        if (r.type < 1 || r.type > 13 || r.type == 2)
            problems->add(s.referencePlaces[i], name + ": type " + std::to_string(r.type) +
                                                    " is not a citation type (1, 3-13); " +
                                                    (r.type == 2 ? "type 2 prints nothing" : "it gets the generic template"));
        if (r.fields[2].empty())
            problems->add(s.referencePlaces[i], name + ": no title");
    }
}

} // namespace

void checkDisplaySource(const DisplaySource& source, SourceErrors* problems)
{
    std::vector<Placed> all = elementSequence(source);
    checkUniqueIds(all, problems);
    checkReservedIds(all, problems);
    checkResultsPages(all, problems);
    checkTextLengths(all, problems);
    checkSubObjects(all, problems);
    checkRequiredHeads(all, problems);
    checkOptions(all, problems);
    checkDrugKeys(all, problems);
}

void checkContentSource(const ContentSource& source, SourceErrors* problems)
{
    checkBands(source, problems);
    checkConversions(source, problems);
    checkMorphineConversion(source, problems);
    checkReferences(source, problems);
}

bool checkDataDir(const std::string& dataDir, SourceErrors* problems)
{
    DisplaySource display;
    ContentSource content;
    if (!loadSources(dataDir, &display, &content, problems))
        return false;
    checkDisplaySource(display, problems);
    checkContentSource(content, problems);
    return problems->empty();
}
