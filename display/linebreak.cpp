// Line breaking: the first screen line of a text that fits a width, summed one character at a
// time. The break point is the last ' ', '-', '/' or '\\' seen; a '\n' always ends the line.
#include "display/layout.h"

#include <array>
#include <cstring>

// Each entry of a font's table is the character's advance in its low 16 bits and what the
// character does to a line above them: a break point, the end of the line ('\n' is both), or the
// end of the text. An entry not measured yet is negative. So an ordinary character, once
// measured, is one lookup, one comparison and one add.
static const std::int32_t breakPoint = 1 << 16, endsLine = 2 << 16, endsText = 4 << 16;
static const std::int32_t notMeasured = std::int32_t(0x80000000u);
static constexpr std::array<std::int32_t, 256> roles = [] {
    std::array<std::int32_t, 256> r{};
    for (unsigned char c : {' ', '-', '/', '\\'})
        r[c] = breakPoint;
    r['\n'] = breakPoint | endsLine;
    r[0] = endsText;
    return r;
}();

// The table of the font now selected in the context: looked up once per line. A context or font
// not met yet takes over the table taken longest ago.
static std::int32_t* advancesOf(const DisplayList* list, HDC context)
{
    HGDIOBJ font = GetCurrentObject(context, OBJ_FONT);
    for (AdvanceTable& table : list->advanceTables)
        if (table.inUse && table.context == context && table.font == font)
            return table.entries;
    AdvanceTable& table = list->advanceTables[list->nextAdvanceTable];
    list->nextAdvanceTable = std::uint8_t((list->nextAdvanceTable + 1) % advanceTableCount);
    table.inUse = 1;
    table.context = context;
    table.font = font;
    for (int c = 0; c < 256; ++c)
        table.entries[c] = roles[c] | (c ? notMeasured : 0);
    return table.entries;
}

static std::int32_t measuredEntry(std::int32_t* entries, HDC context, unsigned char c)
{
    int advance = measureText(context, char(c));
    entries[c] = roles[c] | (advance < 0 ? 0 : advance > 0xFFFF ? 0xFFFF : advance);
    return entries[c];
}

LineBreak breakLine(const DisplayList* list, const char* text, std::int16_t maxWidth,
                    bool measureBold, bool forceBreak)
{
    HDC context = measureBold ? list->boldMeasureContext : list->normalMeasureContext;
    std::int32_t* entries = text ? advancesOf(list, context) : nullptr;
    LineBreak result = {nullptr, true, 0, 0};
    int sum = 0;
    int breakIndex = 0;
    int breakWidth = -1;
    int i = 0;
    if (text) {
        const unsigned char* at = reinterpret_cast<const unsigned char*>(text);
        for (;; ++at) {
            std::int32_t entry = entries[*at];
            if (std::uint32_t(entry) > 0xFFFF) {
                if (entry < 0)
                    entry = measuredEntry(entries, context, *at);
                if (entry & endsText)
                    break;
                sum += entry & 0xFFFF;
                if (entry & breakPoint) {
                    breakIndex = int(at - reinterpret_cast<const unsigned char*>(text));
                    breakWidth = sum;
                    if (entry & endsLine) {
                        result.fitsAll = false;
                        break;
                    }
                }
            } else {
                sum += entry;
            }
            if (sum > maxWidth) {
                result.fitsAll = false;
                break;
            }
        }
        i = int(at - reinterpret_cast<const unsigned char*>(text));
    }
    if (result.fitsAll) {
        result.lineLength = i;
        result.lineWidth = sum;
        return result;
    }
    char stopChar = text[i];
    result.lineWidth = sum < breakWidth ? sum : breakWidth;
    if (breakIndex == 0) {
        result.lineWidth = 0;
        if (forceBreak) {
            // Cut the word where it overflowed, and take at least one character so that a room
            // narrower than one character still moves through the text.
            breakIndex = i;
            result.lineWidth = sum - (entries[static_cast<unsigned char>(stopChar)] & 0xFFFF);   // before stopChar
            if (breakIndex == 0 && stopChar != '\n' && stopChar != ' ') {
                breakIndex = 1;
                result.lineWidth = sum;
            }
        }
    }
    result.lineLength = breakIndex;
    int next = breakIndex;
    if (stopChar == '\n' || stopChar == ' ')
        next += 1;
    if (text[next] == ' ')
        next += 1;
    result.rest = text + next;
    return result;
}
