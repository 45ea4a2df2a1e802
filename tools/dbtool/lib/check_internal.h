// What the checks of dbtool check share: the element sequence of the display sources (all
// modules in order, as the program sees them), each element with its place, and small helpers.
#pragma once
#include <string>
#include <vector>

#include "questionnaire/elements.h"
#include "tools/dbtool/lib/display_source.h"

struct Placed {
    const ElementSpec* element;
    const SourcePlace* place;
};

std::vector<Placed> elementSequence(const DisplaySource& source);
std::string named(const ElementSpec& e);   // "PAGE 10223"
inline bool isType(const ElementSpec& e, ElementType t) { return e.type == std::int8_t(t); }
// The end (one past) of the subtree whose head is at index i.
std::size_t subtreeEnd(const std::vector<Placed>& all, std::size_t i);
// The index of the PAGE that holds index i (i itself when it is one), or all.size().
std::size_t enclosingPage(const std::vector<Placed>& all, std::size_t i);
bool isChoice(const ElementSpec& e);   // RADIO, CHECKBOX or OPTION
bool isResultsPage(const ElementSpec& e);
