// What zura-sim sees of the screen: the visible windows grouped by top-level window (bottom of
// the z order first), each group top to bottom, left to right; and how it prints them.
#pragma once
#include "platform/portable/host.h"

#include <iosfwd>
#include <string>
#include <vector>

std::u16string widen(const std::string& text);      // byte by byte, as the device program does
std::string quoteText(const std::u16string& text);  // "..." with \" \\ \n \xhh escapes

// A group: a visible top-level window and its visible descendants, in screen order.
struct ScreenGroup {
    const PortableWindowInfo* top;
    std::vector<const PortableWindowInfo*> windows;   // top first, then by y, then by x
};
std::vector<ScreenGroup> screenGroups(const std::vector<PortableWindowInfo>& snapshot);

// The text a control shows: a list box its line at the top of its view, others their text.
std::u16string shownText(const PortableWindowInfo& w);
// Every text a window shows (all lines of a list), for expectations.
bool showsText(const PortableWindowInfo& w, const std::u16string& part);

void printScreen(std::ostream& out, const std::vector<PortableWindowInfo>& snapshot);
