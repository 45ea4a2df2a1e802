// Recording what the user did with a page control: check boxes and exclusive groups, drop-list
// choices and typed numbers become answers; the state bit of the line follows the answer.
#include <cstdint>

#include "dbfile/text.h"
#include "display/droplist.h"
#include "platform/winapi.h"
#include "questionnaire/answers.h"
#include "questionnaire/elements.h"
#include "shell/shell.h"
#include "shell/state.h"

namespace {

constexpr int editTextSize = 50;

void setLineState(DisplayLine* line, bool on)
{
    if (on)
        line->flags |= lineState;
    else
        line->flags &= std::uint8_t(~lineState);
}

Answer* answerFor(std::uint32_t id) { return findOrAddNode(&questionnaireState->answers, id, 0, 0, 0); }

bool isRadio(std::uint32_t id)
{
    const HierarchyElement* e = findElement(questionnaireState->hierarchyRecords, std::uint16_t(id));
    return e && elementType(e) == std::int8_t(ElementType::RADIO);
}

// Unticks every member of an exclusive group: the lines on the page and also every RADIO answer
// the group owns, so that a member hidden from this page cannot stay chosen beside the new one.
// Check boxes that share the group's owner (listed with it in the Summary) keep their answers.
void clearGroup(int group)
{
    for (DisplayLine* l = appState->displayList.head; l; l = l->next) {
        if ((l->kind == GroupCheckBox || l->kind == CheckBox) && l->group == group) {
            if (Answer* a = answerFor(l->id))
                a->value = 0.0f;
            setLineState(l, false);
        }
    }
    for (Answer* a = questionnaireState->answers; a; a = a->next)
        if (group != 0 && a->ownerId == std::uint32_t(std::uint16_t(group)) && a->ownerKey2 == 0 &&
            isRadio(a->elementId))
            a->value = 0.0f;
}

bool recordCheckBox(DisplayLine* line, HWND control)
{
    Answer* a = answerFor(line->id);
    bool checked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (a) {
        a->ownerId = elementGroup(questionnaireState->hierarchyRecords, line->id);
        a->ownerKey2 = 0;
        a->value = checked ? 1.0f : 0.0f;
    }
    setLineState(line, checked);
    return true;
}

void setOptionAnswer(std::uint32_t id, float value, std::uint32_t owner)
{
    if (Answer* a = answerFor(id)) {
        a->value = value;
        a->ownerId = owner;
        a->ownerKey2 = 0;
    }
}

void recordDropList(DisplayLine* line)
{
    DisplayLine* open = appState->openDropLine;
    if (open) {
        const DisplayOption* chosen = closeDropList(appState, open);
        if (chosen) {
            if (appState->openDropChoice)
                setOptionAnswer(appState->openDropChoice, 0.0f, open->id);
            setOptionAnswer(chosen->elementId, 1.0f, open->id);
        }
        appState->openDropLine = nullptr;
        if (open->pieces && open->pieces->control)
            SendMessageW(open->pieces->control, LB_SETCURSEL, WPARAM(-1), 0);
        return;
    }
    const DisplayOption* current = openDropList(appState, line);
    appState->openDropLine = line;
    appState->openDropChoice = current ? current->elementId : 0;
}

// The text's leading decimal integer as atoi reads it (blanks, a sign, digits), 0 when there is
// none; a number beyond the 32-bit range gives the nearest end of it, where atoi is undefined,
// so that an impossible dose stays impossibly large for the range checks.
std::int32_t leadingInteger(const char* text)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    std::int64_t value = 0;
    const std::int64_t limit = negative ? std::int64_t(INT32_MAX) + 1 : INT32_MAX;
    for (; *text >= '0' && *text <= '9'; ++text)
        if ((value = value * 10 + (*text - '0')) > limit)
            value = limit;
    return std::int32_t(negative ? -value : value);
}

} // namespace

bool recordControl(HWND control, int notification)
{
    DisplayLine* line = findDisplayLineByControl(&appState->displayList, control);
    if (!line)
        return false;
    switch (line->kind) {
    case GroupCheckBox:
        clearGroup(line->group);
        return recordCheckBox(line, control);
    case CheckBox:
        return recordCheckBox(line, control);
    case DropList:
        if (notification == 0 || notification == 1)
            recordDropList(line);
        return false;
    default:
        return false;
    }
}

void onEditNotification(DisplayLine* line, HWND control, int notification)
{
    if (notification == EN_CHANGE) {
        WCHAR wide[editTextSize + 1] = {};
        SendMessageW(control, WM_GETTEXT, editTextSize, reinterpret_cast<LPARAM>(wide));
        wide[editTextSize] = 0;
        char text[editTextSize + 1];
        narrowTextBounded(text, editTextSize + 1, wide);
        setDisplayLineText(line, text, true);
        if (Answer* a = answerFor(line->id))
            a->value = float(leadingInteger(text));
        setLineState(line, false);
    } else if (notification == EN_SETFOCUS) {
        openKeypad(control);
    }
}
