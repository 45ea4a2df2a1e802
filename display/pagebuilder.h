// Producers of display lines that interpret structure: the page builder, which turns an object
// of the display database (a page, or any element heading a subtree) into lines, and the list
// markup expander for report paragraphs holding "<li>" items.
#pragma once
#include <cstdint>

constexpr int pageTitleCapacity = 100;   // bytes of the title buffer, terminator included

// Appends the object's lines to the one display list, the object's first row at row 0. The
// object's head is the title (copied, cut to fit, into titleBuffer when given); the style and
// class of the PAGE element built are stored in outStyle and outClass when given (0 without a
// PAGE). Returns the number of rows produced.
int buildPage(std::uint16_t objectId, std::uint8_t* outStyle, std::uint8_t* outClass, char* titleBuffer);

// Appends the paragraph as one line per segment from row on: list items become lines of their
// own, "- " and the item at x 5. Returns the row after the last line added.
int expandListMarkup(const char* text, int row);
