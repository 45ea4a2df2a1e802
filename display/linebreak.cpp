// Line breaking: the first screen line of a text that fits a width, summed one character at a
// time. The break point is the last ' ', '-', '/' or '\\' seen; a '\n' always ends the line.
#include "display/layout.h"

static bool isBreakCharacter(char c)
{
    return c == ' ' || c == '-' || c == '/' || c == '\\';
}

LineBreak breakLine(const DisplayList* list, const char* text, std::int16_t maxWidth,
                    bool measureBold, bool forceBreak)
{
    HDC context = measureBold ? list->boldMeasureContext : list->normalMeasureContext;
    LineBreak result = {nullptr, true, 0, 0};
    int sum = 0;
    int breakIndex = 0;
    int breakWidth = -1;
    int widthBefore = 0;   // sum before the character at which the loop stopped
    int i = 0;
    if (text) {
        for (; text[i] != '\0'; ++i) {
            widthBefore = sum;
            sum += measureText(context, text[i]);
            if (isBreakCharacter(text[i])) {
                breakIndex = i;
                breakWidth = sum;
            }
            if (text[i] == '\n') {
                breakIndex = i;
                breakWidth = sum;
                result.fitsAll = false;
                break;
            }
            if (sum > maxWidth) {
                result.fitsAll = false;
                break;
            }
        }
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
            result.lineWidth = widthBefore;
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
