// Display states of a page's elements, and whether an element is visible under them.
// Show and hide each remove the opposite node before adding their own, so the later one wins.
#include "questionnaire/pageflow.h"

void showElement(AnswerList* states, std::uint16_t id)
{
    removeNode(states, id, 0, stateHidden, 0);
    findOrAddNode(states, id, 0, stateShown, 0);
}

void hideElement(AnswerList* states, std::uint16_t id)
{
    removeNode(states, id, 0, stateShown, 0);
    findOrAddNode(states, id, 0, stateHidden, 0);
}

std::uint32_t displayState(const Answer* states, std::uint16_t id)
{
    const Answer* node = findAnswer(states, id, 0);
    return node ? node->state : 0;
}

bool elementVisible(const HierarchyElement* element, const Answer* states)
{
    std::uint32_t state = displayState(states, elementId(element));
    if (elementDefaultState(element) == std::int8_t(ElementState::HIDDEN))
        return state == stateShown;
    return state != stateHidden;
}
