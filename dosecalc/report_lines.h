// The line styles of the conversion report and the explanation page, and the one call that
// appends a line in a style. Lines carry tag 0/0, are not underlined, have state off and width -1
// unless their style says otherwise.
#pragma once
#include <cstdint>

#include "display/displaylist.h"

struct LineStyle {
    std::uint8_t kind;
    bool bold;
    std::uint16_t id;     // the option number for option boxes and items (given per line)
    std::int16_t group;
    std::int16_t x, contX;
    bool copyText;        // false: the text stays owned by its TextList or by AppState
    std::uint32_t tag;
};

//                                  kind        bold   id group  x   contX  copy   tag
constexpr LineStyle headingStyle = {TextLine, true, 0, 0, 0, 0, true, 0};
constexpr LineStyle groupHeadingStyle = {TextLine, true, 1, 0, 0, 0, true, 0};
constexpr LineStyle paragraphStyle = {TextLine, false, 0, 0, 0, 0, true, 0};
constexpr LineStyle keptParagraphStyle = {TextLine, false, 0, 0, 0, 0, false, 0};
constexpr LineStyle runOnStyle = {TextLine, false, 0, 0, -1, -1, true, 0};
constexpr LineStyle optionBoxStyle = {CheckBox, false, 0, 0, 0, 17, true, 0};
constexpr LineStyle itemStyle = {TextLine, false, 0, 0, 0, 8, true, 0};
constexpr LineStyle reasonsStyle = {TextLine, false, 1, -1, -1, -1, true, 0};
constexpr LineStyle buttonStyle = {PushButton, false, 0, 0, 5, 5, true, 1};
// The explanation page's numbered steps and the factor beside a drug's name.
constexpr LineStyle stepStyle = {TextLine, false, 0, 0, 0, 17, true, 0};
constexpr LineStyle factorStyle = {TextLine, false, 0, 0, 100, -1, true, 0};

// Tag pair of the report's "How doses are calculated" button.
constexpr std::uint32_t explanationButtonTag = 1;
constexpr std::uint32_t explanationButtonTag2 = 0;

// Appends text at row in the style; id 0 takes the style's id. nullptr when memory runs out.
DisplayLine* addStyledLine(DisplayList* list, const LineStyle& style, const char* text, std::int16_t row,
                           std::uint16_t id = 0);
