// Line breaking: the first screen line of a text that fits a width, summed one character at a
// time. The break point is the last ' ', '-', '/' or '\\' seen; a '\n' always ends the line.
#include "display/layout.h"

#include <array>
#include <cstring>

// Each entry of a font's table is the character's advance in its low 16 bits. A character that
// stops the walk (the end of the line, '\n', or of the text) or is not measured yet also carries
// `special`, which is larger than any width: adding it fails the one comparison with the room
// left. So every other character, break points included, once measured is one lookup, one add
// and one comparison; the last break point is looked for backwards only when a line overflows.
static const std::int32_t endsLine = 1 << 16, endsText = 2 << 16;
static const std::int32_t notMeasured = 1 << 20, special = 1 << 30;
static constexpr std::array<std::int32_t, 256> stops = [] {
    std::array<std::int32_t, 256> r{};
    r['\n'] = endsLine;
    r[0] = endsText;
    return r;
}();
// Where a line may break when it overflows ('\n' never lies before the overflow: it stops the walk).
static constexpr std::array<bool, 256> breakPoints = [] {
    std::array<bool, 256> r{};
    for (unsigned char c : {' ', '-', '/', '\\'})
        r[c] = true;
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
        table.entries[c] = special | stops[c] | (c ? notMeasured : 0);
    return table.entries;
}

static std::int32_t measuredEntry(std::int32_t* entries, HDC context, unsigned char c)
{
    int advance = measureText(context, char(c));
    advance = advance < 0 ? 0 : advance > 0xFFFF ? 0xFFFF : advance;
    entries[c] = stops[c] ? special | stops[c] | advance : advance;
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
            sum += entries[*at];
            if (sum <= maxWidth)
                continue;
            std::int32_t entry = entries[*at];
            if (entry & special) {
                sum -= entry;
                if (entry & notMeasured)
                    entry = measuredEntry(entries, context, *at);
                if (entry & endsText)
                    break;
                sum += entry & 0xFFFF;
                if (entry & endsLine) {
                    breakIndex = int(at - reinterpret_cast<const unsigned char*>(text));
                    breakWidth = sum;
                    result.fitsAll = false;
                    break;
                }
                if (sum <= maxWidth)
                    continue;
            }
            // Overflowed here: the line breaks at the last break point up to this character,
            // its width the sum through it.
            result.fitsAll = false;
            int width = sum;
            for (const unsigned char* back = at;; --back) {
                if (breakPoints[*back]) {
                    breakIndex = int(back - reinterpret_cast<const unsigned char*>(text));
                    breakWidth = width;
                    break;
                }
                if (back == reinterpret_cast<const unsigned char*>(text))
                    break;
                width -= entries[*back] & 0xFFFF;
            }
            break;
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
