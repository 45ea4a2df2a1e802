// dbtool check: proves that sources which parse are also coherent, so that the program can
// neither stall nor misread them. Each problem names the element or entry and its place.
// Not yet checked: the ids that the program's own rule, check and shell tables test (present,
// with a fitting type), page reachability under the next-page rules, hidden options of required
// heads under the display rules, drug keys against the route of their list, reference ids
// recorded by the rules; they come with those tables.
#pragma once
#include <string>

#include "tools/dbtool/lib/content_source.h"
#include "tools/dbtool/lib/display_source.h"

constexpr std::size_t promptBufferSize = 1000;   // texts shown as prompts are widened into this

void checkDisplaySource(const DisplaySource& source, SourceErrors* problems);
void checkContentSource(const ContentSource& source, SourceErrors* problems);

// Loads DATA_DIR's sources and checks them; parse errors are reported first, as problems.
bool checkDataDir(const std::string& dataDir, SourceErrors* problems);
