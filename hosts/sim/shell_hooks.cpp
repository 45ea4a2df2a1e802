// The device program's part of zura-sim: id:N targets, the display list (lines), the answer
// store (answers), answering an element as a control would (set), showing a page (show) and
// pressing the default button of the modal box on top (dismiss). They read the shell's global
// records and act through the shell's own functions, between the program's messages.
#include "hosts/sim/shell_hooks.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <ostream>

#include "display/displaylist.h"
#include "platform/portable/host.h"
#include "questionnaire/answers.h"
#include "questionnaire/elements.h"
#include "questionnaire/pageflow.h"
#include "shell/shell.h"
#include "shell/state.h"

namespace {

bool programRunning(std::string* error)
{
    if (appState && questionnaireState)
        return true;
    *error = "the device program is not running";
    return false;
}

DisplayLine* firstLineWithId(std::uint16_t id)
{
    if (!appState)
        return nullptr;
    for (DisplayLine* l = appState->displayList.head; l; l = l->next)
        if (l->id == id)
            return l;
    return nullptr;
}

// The control of the first piece of the first line with the id. An edit field shares its id with
// the caption line before it; the first line that is not plain text is taken when there is one,
// so that id:N reaches the field.
HWND lineControl(int lineId)
{
    if (lineId < 0 || lineId > 0xFFFF || !appState)
        return nullptr;
    DisplayLine* line = firstLineWithId(std::uint16_t(lineId));
    for (DisplayLine* l = line; l; l = l->next)
        if (l->id == lineId && l->kind != TextLine) {
            line = l;
            break;
        }
    return line && line->pieces ? line->pieces->control : nullptr;
}

const char* kindName(std::uint8_t kind)
{
    switch (kind) {
    case TextLine: return "TextLine";
    case CheckBox: return "CheckBox";
    case PushButton: return "PushButton";
    case MultiLineCheckBox: return "MultiLineCheckBox";
    case EditBox: return "EditBox";
    case DropList: return "DropList";
    case GroupCheckBox: return "GroupCheckBox";
    case DropListMore: return "DropListMore";
    case RuleLine: return "RuleLine";
    case PageLink: return "PageLink";
    default: return nullptr;
    }
}

// A device text quoted: \n, \", \\ and \xhh for the other bytes below 0x20 and from 0x7f.
std::string quoted(const char* text)
{
    std::string out = "\"";
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text ? text : ""); *p; ++p) {
        if (*p == '\n')
            out += "\\n";
        else if (*p == '"' || *p == '\\')
            out += {'\\', char(*p)};
        else if (*p < 0x20 || *p >= 0x7f) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02x", *p);
            out += hex;
        } else
            out += char(*p);
    }
    return out + "\"";
}

std::string flagLetters(std::uint8_t flags)
{
    std::string letters;
    if (flags & lineBold)
        letters += 'b';
    if (flags & lineUnderline)
        letters += 'u';
    if (flags & lineState)
        letters += 's';
    if (!(flags & lineVisible))
        letters += 'h';
    return letters.empty() ? "-" : letters;
}

bool printLines(std::ostream& out, std::string* error)
{
    if (!programRunning(error))
        return false;
    for (const DisplayLine* l = appState->displayList.head; l; l = l->next) {
        const char* kind = kindName(l->kind);
        out << l->row << ' ' << l->x << ' ' << l->contX << ' ' << (kind ? kind : std::to_string(l->kind)) << ' '
            << l->id << ' ' << flagLetters(l->flags) << ' ' << quoted(l->text) << '\n';
        if (l->kind != DropList)
            continue;
        const DisplayOption* chosen = displayOptionAt(l, l->group);
        for (const DisplayOption* o = l->options; o; o = o->next)
            out << "  OPTION " << o->elementId << ' ' << quoted(o->text) << (o == chosen ? " *" : "") << '\n';
    }
    return true;
}

// The shortest decimal that reads back to the same single-precision value.
std::string shortestDecimal(float value)
{
    char buffer[64];
    std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return r.ec == std::errc() ? std::string(buffer, r.ptr) : std::to_string(value);
}

bool printAnswers(std::ostream& out, std::string* error)
{
    if (!programRunning(error))
        return false;
    for (const Answer* a = questionnaireState->answers; a; a = a->next)
        out << a->elementId << ' ' << shortestDecimal(a->value) << ' ' << a->ownerId << '\n';
    return true;
}

// The element with that id and, for an OPTION, the SELECT it belongs to (the nearest SELECT
// before it at a lower level).
struct Found {
    const HierarchyElement* element = nullptr;
    const HierarchyElement* select = nullptr;
};

Found findWithSelect(std::uint16_t id)
{
    Found found;
    const HierarchyElement* select = nullptr;
    for (ElementCursor c = firstElement(questionnaireState->hierarchyRecords); c.element; nextElement(&c)) {
        if (elementId(c.element) == id) {
            found.element = c.element;
            if (elementType(c.element) == std::int8_t(ElementType::OPTION) && select &&
                elementLevel(select) < elementLevel(c.element))
                found.select = select;
            return found;
        }
        if (elementType(c.element) == std::int8_t(ElementType::SELECT))
            select = c.element;
    }
    return found;
}

bool parseNumber(const std::string& text, double* value)
{
    char* end = nullptr;
    *value = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == 0;
}

void setLineStates(std::uint16_t id, bool on)
{
    for (DisplayLine* l = appState->displayList.head; l; l = l->next) {
        if (l->id != id || (l->kind != CheckBox && l->kind != GroupCheckBox))
            continue;
        if (on)
            l->flags |= lineState;
        else
            l->flags &= std::uint8_t(~lineState);
    }
}

// A drop list showing the option takes it as its choice, as a pick in the open list would.
void chooseInDropLists(std::uint16_t optionId)
{
    for (DisplayLine* l = appState->displayList.head; l; l = l->next) {
        if (l->kind != DropList)
            continue;
        int index = 0;
        for (const DisplayOption* o = l->options; o; o = o->next, ++index)
            if (o->elementId == optionId)
                l->group = std::int16_t(index);
    }
}

// set ID VALUE [OWNER]: the answer a control of the element would record. A chosen RADIO or
// OPTION ends the other choices of its group or list, as a tap or a pick does.
bool setAnswerCommand(const std::vector<std::string>& args, std::string* error)
{
    if (!programRunning(error))
        return false;
    double id = 0, value = 0, owner = 0;
    if (args.size() < 2 || args.size() > 3 || !parseNumber(args[0], &id) || !parseNumber(args[1], &value) ||
        (args.size() == 3 && !parseNumber(args[2], &owner))) {
        *error = "usage: set ID VALUE [OWNER]";
        return false;
    }
    if (id < 0 || id > 0xFFFF || id != double(std::uint16_t(id)) || owner < 0 || owner > 0xFFFF ||
        owner != double(std::uint16_t(owner))) {
        *error = "set: ID and OWNER are element ids (0 to 65535)";
        return false;
    }
    std::uint16_t element = std::uint16_t(id);
    Found found = findWithSelect(element);
    std::uint32_t ownerId = 0;
    if (args.size() == 3)
        ownerId = std::uint16_t(owner);
    else if (found.select)
        ownerId = elementId(found.select);
    else if (found.element)
        ownerId = elementGroupOf(found.element);
    float answer = float(value);
    bool exclusive = answer != 0.0f && found.element && ownerId != 0 &&
                     (elementType(found.element) == std::int8_t(ElementType::RADIO) ||
                      elementType(found.element) == std::int8_t(ElementType::OPTION));
    if (exclusive) {
        for (Answer* a = questionnaireState->answers; a; a = a->next)
            if (a->ownerId == ownerId && a->ownerKey2 == 0 && a->elementId != element) {
                a->value = 0.0f;
                setLineStates(std::uint16_t(a->elementId), false);
            }
    }
    Answer* a = findOrAddNode(&questionnaireState->answers, element, 0, 0, 0);
    if (!a) {
        *error = "set: out of memory";
        return false;
    }
    a->value = answer;
    a->ownerId = ownerId;
    a->ownerKey2 = 0;
    setLineStates(element, answer != 0.0f);
    if (answer != 0.0f)
        chooseInDropLists(element);
    // The page checks run as after a control change, when the element is on the page.
    if (DisplayLine* line = firstLineWithId(element); line && appState->viewState == ModuleView)
        showScreen(RecheckScreen, line);
    syncCheckStates(&appState->displayList);
    return true;
}

bool isResultsPage(const HierarchyElement* e)
{
    return elementType(e) == std::int8_t(ElementType::PAGE) &&
           (elementStyle(e) == std::int8_t(ElementStyle::RECOMMEND) ||
            elementClass(e) == std::int8_t(ElementClass::RECOMMEND));
}

// The first results page of the module that holds the page; 0 when there is none.
std::uint16_t firstResultsPage(std::uint16_t page)
{
    ElementCursor module = {};
    bool inModule = false;
    for (ElementCursor c = firstElement(questionnaireState->hierarchyRecords); c.element; nextElement(&c)) {
        if (elementType(c.element) == std::int8_t(ElementType::MODULE))
            module = c;
        if (elementId(c.element) == page) {
            inModule = module.element != nullptr;
            break;
        }
    }
    if (!inModule)
        return 0;
    int level = elementLevel(module.element);
    for (ElementCursor c = module; nextInSubtree(&c, level);)
        if (isResultsPage(c.element))
            return elementId(c.element);
    return 0;
}

// show PAGE|results: the page becomes the current page of the module view, entered as by Next
// (the page left is on the history, so Back returns to it), and is shown as any page is.
bool showPage(const std::string& what, std::string* error)
{
    if (!programRunning(error))
        return false;
    QuestionnaireState* q = questionnaireState;
    double number = 0;
    std::uint16_t page = 0;
    if (what == "results") {
        page = firstResultsPage(q->currentPage);
        if (!page) {
            *error = "show results: the module of page " + std::to_string(q->currentPage) + " has no results page";
            return false;
        }
    } else if (parseNumber(what, &number) && number >= 0 && number <= 0xFFFF && number == double(std::uint16_t(number))) {
        page = std::uint16_t(number);
    } else {
        *error = "usage: show PAGE|results";
        return false;
    }
    if (appState->viewState == ModuleView && q->currentPage != page)
        pushPage(&q->history, q->currentPage);
    q->currentPage = page;
    appState->viewState = ModuleView;
    appState->pageLinkOpen = 0;
    showScreen(RebuildScreen, nullptr);
    return true;
}


} // namespace

SimShellHooks deviceShellHooks()
{
    SimShellHooks hooks;
    hooks.lineControl = lineControl;
    hooks.lines = printLines;
    hooks.answers = printAnswers;
    hooks.set = setAnswerCommand;
    hooks.show = showPage;
    return hooks;
}
