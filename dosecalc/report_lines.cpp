// Appending a styled line of the conversion report or the explanation page.
#include "dosecalc/report_lines.h"

DisplayLine* addStyledLine(DisplayList* list, const LineStyle& style, const char* text, std::int16_t row,
                           std::uint16_t id)
{
    return addDisplayLine(list, style.kind, text, style.tag, 0, row, id ? id : style.id, 0, style.bold, 0,
                          style.copyText, style.group, style.x, style.contX, -1);
}
