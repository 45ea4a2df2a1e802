// The structural part of the page flow and the navigation commands: the next visible PAGE in
// document order, the page checks, the removal of later answers on Back, and the commands that
// move currentPage and the history.
#include "questionnaire/pageflow.h"

#include "questionnaire/checks.h"
#include "shell/state.h"

namespace {

// The first element of module 0 is never taken for a page: the search begins after it.
ElementCursor afterFirstElement(const DbRecord* const* hierarchyRecords)
{
    ElementCursor c = firstElement(hierarchyRecords);
    if (c.element)
        nextElement(&c);
    return c;
}

struct ModuleButton {
    int button;
    std::uint16_t module;
    std::uint16_t firstPage;
};

const ModuleButton moduleButtons[] = {
    //  button  module  first page
    { 108,      9523,   10223 },   // prescription
    { 109,      9524,   10324 },   // dose conversion
    { 110,      9526,   11220 },   // side effects
};

// Removes the answers of every element under a MODULE element that does not hold page, so that
// what was answered in another module cannot reach this module's rules. The root stays.
void removeOtherModulesAnswers(AnswerList* answers, std::uint16_t page, const DbRecord* const* hierarchyRecords)
{
    for (ElementCursor m = firstElement(hierarchyRecords); m.element; nextElement(&m)) {
        if (elementType(m.element) != std::int8_t(ElementType::MODULE))
            continue;
        int level = elementLevel(m.element);
        bool holdsPage = false;
        for (ElementCursor c = m; !holdsPage && nextInSubtree(&c, level);)
            holdsPage = elementId(c.element) == page;
        if (holdsPage)
            continue;
        if (elementId(m.element) != rootElement)
            removeNode(answers, elementId(m.element), 0, 0, 0);
        for (ElementCursor c = m; nextInSubtree(&c, level);)
            if (elementId(c.element) != rootElement)
                removeNode(answers, elementId(c.element), 0, 0, 0);
    }
}

} // namespace

bool moduleStart(int index, std::uint16_t* module, std::uint16_t* firstPage)
{
    if (index < 0 || index >= int(sizeof moduleButtons / sizeof moduleButtons[0]))
        return false;
    *module = moduleButtons[index].module;
    *firstPage = moduleButtons[index].firstPage;
    return true;
}

std::uint16_t nextVisiblePage(const Answer* states, std::uint16_t currentPage,
                              const DbRecord* const* hierarchyRecords)
{
    ElementCursor c = afterFirstElement(hierarchyRecords);
    if (currentPage != 0) {
        while (c.element && elementId(c.element) != currentPage)
            nextElement(&c);
        if (!c.element)
            return 0;
        nextElement(&c);
    }
    for (; c.element; nextElement(&c)) {
        std::int8_t type = elementType(c.element);
        if (currentPage != 0 && type == std::int8_t(ElementType::MODULE))
            return 0;
        if (type == std::int8_t(ElementType::PAGE) && elementVisible(c.element, states))
            return elementId(c.element);
    }
    return 0;
}

bool checkPage(std::uint16_t element, AnswerList* firedRules, AnswerList* answers, std::uint16_t page,
               int trigger)
{
    releaseList(firedRules);
    bool a = trigger != ControlChanged;
    if (answerValue(*answers, rootElement) != 0)
        a = moduleChecks(element, page, trigger, firedRules, answers);
    bool b = generalChecks(page, trigger, firedRules, answers);
    return trigger == ControlChanged ? (a || b) : (a && b);
}

// The answers of the pages after page are removed, up to the end of the subtree that encloses
// it. Searching on for a sibling stops at that end too, so the last page of a module never
// reaches into the next module's answers.
void clearLaterAnswers(AnswerList* answers, std::uint16_t page, const DbRecord* const* hierarchyRecords)
{
    ElementCursor c = findElementCursor(hierarchyRecords, page);
    if (!c.element)
        return;
    int level = elementLevel(c.element);
    nextElement(&c);
    while (c.element && elementLevel(c.element) > level)
        nextElement(&c);
    for (; c.element && elementLevel(c.element) >= level; nextElement(&c))
        removeNode(answers, elementId(c.element), 0, 0, 0);
}

bool startModule(int button)
{
    QuestionnaireState* q = questionnaireState;
    const ModuleButton* chosen = nullptr;
    for (const ModuleButton& m : moduleButtons)
        if (m.button == button)
            chosen = &m;
    if (!q || !chosen)
        return false;
    for (const ModuleButton& m : moduleButtons)
        if (&m != chosen)
            removeNode(&q->answers, m.module, 0, 0, 0);
    removeOtherModulesAnswers(&q->answers, chosen->firstPage, q->hierarchyRecords);
    setAnswer(&q->answers, chosen->module, 1.0f);
    q->currentPage = chosen->firstPage;
    return true;
}

bool goNext()
{
    QuestionnaireState* q = questionnaireState;
    if (!q)
        return false;
    releaseList(&q->firedRules);
    if (!checkPage(0, &q->firedRules, &q->answers, q->currentPage, NextPressed))
        return false;
    AnswerList states = evaluatePage(&q->firedRules, q->answers);
    q->nextPage = findNextPage(&q->firedRules, states, q->answers, q->currentPage, q->hierarchyRecords);
    releaseList(&states);
    if (q->nextPage == 0)
        return false;
    pushPage(&q->history, q->currentPage);
    q->currentPage = q->nextPage;
    return true;
}

bool goBack()
{
    QuestionnaireState* q = questionnaireState;
    std::uint32_t page = 0;
    if (!q || !popPage(&q->history, &page))
        return false;
    q->currentPage = std::uint16_t(page);
    clearLaterAnswers(&q->answers, q->currentPage, q->hierarchyRecords);
    return true;
}

void openPageLink(std::uint16_t page)
{
    QuestionnaireState* q = questionnaireState;
    if (!q)
        return;
    pushPage(&q->history, q->currentPage);
    q->currentPage = page;
}

void restartQuestionnaire()
{
    QuestionnaireState* q = questionnaireState;
    if (!q)
        return;
    releaseList(&q->answers);
    setAnswer(&q->answers, rootElement, 1.0f);
    q->currentPage = moduleChoicePage;
    q->moduleRoot = rootElement;
    releaseList(&q->history);
}
