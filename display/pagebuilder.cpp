// The page builder: one display line per shown element of an object's subtree, the kind from
// the element type, x from the depth (8 pixels a level), state and value from the answers.
// A hidden element hides its whole subtree; an element whose subObject names another object
// has that object built in its place; an attribute string may hold "SIZE=", "INDENT=", "NOBR".
#include "display/pagebuilder.h"

#include <cstring>

#include "dbfile/heap.h"
#include "dbfile/textbuilder.h"
#include "dosecalc/numtext.h"
#include "questionnaire/elements.h"
#include "questionnaire/pageflow.h"
#include "questionnaire/prompts.h"
#include "shell/state.h"

namespace {

constexpr std::uint8_t inheritKind = 0xFF;
constexpr std::int8_t inheritOffset = -1;
constexpr int pixelsPerLevel = 8;
constexpr int pixelsPerUnit = 8;         // of "SIZE=" and "INDENT="
constexpr int deepestObjectNesting = 8;  // objects built in place inside objects built in place

// What an element type does besides choosing its kind and continuation offset.
enum TypeEffect : std::uint8_t {
    BoldText = 1,          // the line is bold
    EmptyText = 2,         // the line shows an empty text of its own
    OwnGroup = 4,          // the line's group is the element's group (exclusive check boxes)
    NoGroup = 8,           // the line's group is -1 (no option chosen yet)
    ReportsPage = 16,      // the element's style and class are reported to the caller
    StartsOptions = 32,    // the option counter restarts
    IsOption = 64,         // the element is the next option of the drop list before it
};

struct TypeRow {
    ElementType type;
    std::uint8_t kind;
    std::int8_t contOffset;
    std::uint8_t effects;
};

// Types not listed inherit the kind and have continuation offset 0.
const TypeRow typeTable[] = {
    //  type                      kind           cont. offset   effects
    { ElementType::CHECKBOX,    CheckBox,      17,            0 },
    { ElementType::CONTAINER,   inheritKind,   inheritOffset, 0 },
    { ElementType::INPUT,       EditBox,       0,             0 },
    { ElementType::LABEL,       TextLine,      0,             0 },
    { ElementType::OPTION,      inheritKind,   inheritOffset, IsOption },
    { ElementType::PAGE,        TextLine,      0,             BoldText | ReportsPage },
    { ElementType::RADIO,       GroupCheckBox, 17,            OwnGroup },
    { ElementType::SELECT,      DropList,      inheritOffset, EmptyText | NoGroup | StartsOptions },
    { ElementType::SPACER,      TextLine,      0,             EmptyText },
    { ElementType::LINE,        RuleLine,      inheritOffset, 0 },
    { ElementType::POPUP_LINK,  PageLink,      inheritOffset, 0 },
    { ElementType::BULLET,      inheritKind,   0,             0 },
};
const TypeRow otherType = { ElementType(0), inheritKind, 0, 0 };

const TypeRow& typeRow(std::int8_t type)
{
    for (const TypeRow& row : typeTable)
        if (std::int8_t(row.type) == type)
            return row;
    return otherType;
}

// The running state of one object's build.
struct Builder {
    QuestionnaireState* q;
    DisplayList* list;
    AnswerList states;
    int nesting;
    int firstRow;           // the list row of this object's first row
    int rows;               // rows produced so far
    bool titleTaken;
    int pageLevel;
    int skipLevel;          // 0: not skipping
    int indent, indentLevel;
    bool newRow;
    std::int16_t x, contX;
    // Before any element sets them, inheriting types get a plain text line without offset.
    std::uint8_t kind;
    std::int8_t contOffset;
    int optionCounter;
    DisplayLine* lastLine;
    std::uint8_t style, elementClass;
    char* titleBuffer;
    int titleCapacity;
};

// What one element puts on its line.
struct ElementLine {
    const HierarchyElement* e;
    const TypeRow* type;
    const char* text;
    const char* attributes;
    bool bold, copy, state, fromDefault;
    std::int16_t group, width;
    char valueText[12];
};

int buildObject(Builder& parent, std::uint16_t objectId, int firstRow, int nesting, std::uint8_t* outStyle,
                std::uint8_t* outClass, char* titleBuffer, int titleCapacity);

DisplayLine* addLine(Builder& b, std::uint8_t kind, const char* text, const HierarchyElement* e, std::uint16_t id,
                     bool underline, bool bold, bool state, bool copy, std::int16_t group, std::int16_t x,
                     std::int16_t contX, std::int16_t width)
{
    std::int16_t row = std::int16_t(b.firstRow + b.rows);
    return addDisplayLine(b.list, kind, text, elementKey1(e), elementKey2(e), row, id, underline, bold, state,
                          copy, group, x, contX, width);
}

// Hidden by default and not shown, or hidden by a rule: the element and its subtree are skipped.
bool skipping(Builder& b, const HierarchyElement* e)
{
    int level = elementLevel(e);
    if (level <= b.skipLevel)
        b.skipLevel = 0;
    if (b.skipLevel == 0 && !elementVisible(e, b.states))
        b.skipLevel = level;
    if (level <= b.indentLevel)
        b.indent = 0;
    return b.skipLevel != 0;
}

void applyType(Builder& b, ElementLine& l)
{
    const TypeRow& t = *l.type;
    if (t.kind != inheritKind)
        b.kind = t.kind;
    if (t.contOffset != inheritOffset)
        b.contOffset = t.contOffset;
    l.bold = (t.effects & BoldText) != 0;
    l.group = std::int16_t(elementId(l.e));
    if (t.effects & OwnGroup)
        l.group = std::int16_t(elementGroupOf(l.e));
    if (t.effects & NoGroup)
        l.group = -1;
    if (t.effects & EmptyText) {
        l.text = "";
        l.copy = true;
    }
    if (t.effects & ReportsPage) {
        b.style = std::uint8_t(elementStyle(l.e));
        b.elementClass = std::uint8_t(elementClass(l.e));
    }
    if (t.effects & StartsOptions)
        b.optionCounter = -1;
    if (t.effects & IsOption)
        ++b.optionCounter;
}

// The state and value text from the element's answer, or from its default, which then becomes
// its answer, owned by the element's group as a control would own it.
void valueAndState(Builder& b, ElementLine& l)
{
    std::uint16_t id = elementId(l.e);
    std::uint16_t initial = elementDefaultValue(l.e);
    l.valueText[0] = '\0';
    if (const Answer* a = findAnswer(b.q->answers, id, 0)) {
        l.state = a->value != 0.0f;
        formatInteger(l.valueText, answerValue(b.q->answers, id));
    } else if (initial != 0 && initial != 0xFFFF) {
        l.state = true;
        l.fromDefault = true;
        formatInteger(l.valueText, initial);
        if (Answer* created = findOrAddNode(&b.q->answers, id, 0, 0, 0)) {
            created->value = float(initial);
            created->ownerId = elementGroupOf(l.e);
        }
    }
}

void readAttributes(Builder& b, ElementLine& l)
{
    l.width = -1;
    if (!l.attributes)
        return;
    if (const char* size = std::strstr(l.attributes, "SIZE="))
        l.width = std::int16_t(std::int16_t(parseInteger(size + 5)) * pixelsPerUnit);
    if (const char* indent = findTextNoCase(l.attributes, "INDENT=")) {
        b.indentLevel = elementLevel(l.e);
        b.indent = parseInteger(indent + 7) * pixelsPerUnit;
    }
}

// An option adds a choice to the drop list before it. A chosen option marks its index as the
// list's choice; an answer the user gave is kept, only one created from the default takes it.
void addOption(Builder& b, ElementLine& l)
{
    if (!b.lastLine)
        return;
    std::uint16_t id = elementId(l.e);
    if (l.state) {
        b.lastLine->group = std::int16_t(b.optionCounter);
        if (Answer* a = findOrAddNode(&b.q->answers, id, 0, 0, 0)) {
            if (l.fromDefault)
                a->value = float(elementDefaultValue(l.e));
            a->ownerId = b.lastLine->id;
        }
    }
    addDisplayOption(b.lastLine, l.text, elementKey1(l.e), elementKey2(l.e), id, false);
}

void addBullet(Builder& b, ElementLine& l)
{
    int capacity = int(l.text ? std::strlen(l.text) : 0) + 3;
    char* bullet = static_cast<char*>(allocBlock(std::size_t(capacity)));
    if (!bullet)
        return;
    TextBuilder text = beginText(bullet, capacity);
    textAppend(&text, "- ");
    textAppend(&text, l.text);
    addLine(b, b.kind, bullet, l.e, elementId(l.e), false, l.bold, l.state, true, l.group, b.x, b.contX, -1);
    freeBlock(bullet);
}

void addElementLines(Builder& b, ElementLine& l)
{
    std::int8_t type = elementType(l.e);
    std::uint16_t id = elementId(l.e);
    if (type == std::int8_t(ElementType::INPUT)) {
        // The label first, then the edit field after it on the same row, showing the value.
        addLine(b, TextLine, l.text, l.e, id, false, l.bold, l.state, false, l.group, b.x, -1, -1);
        b.x = -1;
        l.text = l.valueText;
        l.copy = true;
        l.state = false;
    } else if (type == std::int8_t(ElementType::POPUP_LINK)) {
        addLine(b, PageLink, l.text, l.e, elementSubObject(l.e), true, l.bold, true, true, l.group, b.x, b.contX, -1);
        return;
    } else if (type == std::int8_t(ElementType::BULLET)) {
        addBullet(b, l);
        return;
    } else if (type == std::int8_t(ElementType::OPTION)) {
        addOption(b, l);
        return;
    }
    b.lastLine = addLine(b, b.kind, l.text, l.e, id, false, l.bold, l.state, l.copy, l.group, b.x, b.contX, l.width);
}

void advanceRow(Builder& b, const ElementLine& l)
{
    if (elementType(l.e) == std::int8_t(ElementType::OPTION)) {
        b.newRow = false;
    } else if (l.attributes && std::strstr(l.attributes, "NOBR")) {
        b.x = -1;
        b.newRow = false;
    } else {
        b.newRow = true;
        ++b.rows;
    }
}

void buildElement(Builder& b, const ElementCursor& at)
{
    ElementLine l{};
    l.e = at.element;
    l.type = &typeRow(elementType(l.e));
    if (b.rows == 0 && elementType(l.e) == std::int8_t(ElementType::SPACER))
        return;
    if (skipping(b, l.e))
        return;
    l.text = elementTextAt(at, b.q->stringRecords);
    applyType(b, l);
    std::uint16_t subObject = elementSubObject(l.e);
    if (subObject != 0 && b.kind != PageLink) {
        b.rows += buildObject(b, subObject, b.firstRow + b.rows, b.nesting + 1, nullptr, nullptr, nullptr, 0);
        return;
    }
    if (!b.titleTaken) {
        // The first element shown is the title: it gives the level x counts from.
        b.titleTaken = true;
        b.pageLevel = elementLevel(l.e);
        textCopy(b.titleBuffer, b.titleCapacity, l.text);
        return;
    }
    if (elementType(l.e) == std::int8_t(ElementType::CONTAINER))
        return;
    valueAndState(b, l);
    l.attributes = elementAttributesAt(at, b.q->stringRecords);
    bool startsRow = b.newRow;
    if (startsRow) {
        b.x = std::int16_t((elementLevel(l.e) - b.pageLevel) * pixelsPerLevel);
        b.contX = std::int16_t(b.x + b.contOffset);
    }
    readAttributes(b, l);
    // An element placed after another on its row keeps that x: -1 after NOBR must stay "after
    // the previous entry", and after a drop list's options x already holds the indent.
    if (startsRow)
        b.x = std::int16_t(b.x + b.indent);
    addElementLines(b, l);
    if (elementFlags(l.e) & flagRequired)
        addId(&b.q->requiredList, elementId(l.e));
    advanceRow(b, l);
}

int buildObject(Builder& parent, std::uint16_t objectId, int firstRow, int nesting, std::uint8_t* outStyle,
                std::uint8_t* outClass, char* titleBuffer, int titleCapacity)
{
    if (nesting > deepestObjectNesting)
        return 0;   // an object that contains itself would never end
    ElementCursor at = findElementCursor(parent.q->hierarchyRecords, objectId);
    if (!at.element)
        return 0;
    Builder b{};
    b.q = parent.q;
    b.list = parent.list;
    b.nesting = nesting;
    b.firstRow = firstRow;
    b.newRow = true;
    b.kind = TextLine;
    b.contOffset = 0;
    b.titleBuffer = titleBuffer;
    b.titleCapacity = titleCapacity;
    b.states = evaluatePage(&b.q->firedRules, b.q->answers);
    int baseLevel = elementLevel(at.element);
    for (; at.element; nextElement(&at)) {
        if (elementLevel(at.element) <= baseLevel && elementId(at.element) != objectId)
            break;
        buildElement(b, at);
    }
    releaseList(&b.states);
    if (outStyle)
        *outStyle = b.style;
    if (outClass)
        *outClass = b.elementClass;
    return b.rows;
}

} // namespace

int buildPage(std::uint16_t objectId, std::uint8_t* outStyle, std::uint8_t* outClass, char* titleBuffer)
{
    if (!questionnaireState) {
        messageBox(nullptr, "Unable to find the Hierarchy Records", "Alert", MB_OK);
        return 0;
    }
    if (titleBuffer)
        titleBuffer[0] = '\0';
    releaseList(&questionnaireState->requiredList);
    if (!appState)
        return 0;
    Builder top{};
    top.q = questionnaireState;
    top.list = &appState->displayList;
    return buildObject(top, objectId, 0, 0, outStyle, outClass, titleBuffer, pageTitleCapacity);
}
