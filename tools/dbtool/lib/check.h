// dbtool check: proves that sources which parse are also coherent, so that the program can
// neither stall nor misread them. Each problem names the element or entry and its place.
// The checks against the program's own tables (the ids they test, page reachability, required
// heads, drug lists, recorded reference ids) read those tables themselves (check_tables.cpp).
#pragma once
#include <string>

#include "tools/dbtool/lib/content_source.h"
#include "tools/dbtool/lib/display_source.h"

constexpr std::size_t promptBufferSize = 1000;   // texts shown as prompts are widened into this

// The checks that need only the sources themselves.
void checkDisplaySource(const DisplaySource& source, SourceErrors* problems);
void checkContentSource(const ContentSource& source, SourceErrors* problems);

// The checks against the program's own tables: the ids that its page rules, input checks,
// clinical rules, main window, reports and dose conversion test are there with a fitting type;
// every page of a module is reached by Next from its first page and has a way on; no required
// head has only choices that display rules can hide; drug OPTIONs have a factor for their list's
// route. Rows of the tables that name no element of the sources (tables shared with other
// questionnaires) are passed over.
void checkDisplayAgainstTables(const DisplaySource& source, SourceErrors* problems);
// One condition checked as a table row named by is: a text that does not read, or an id it tests
// that no element of a fitting type has. The tables' own rows go through the same check.
void checkConditionAgainst(const DisplaySource& source, const std::string& by, const char* condition,
                           SourceErrors* problems);
// The dose-range bands of the tables that generated gives are exactly its bands, string for
// string; checkBandsAgainstGenerator takes them from tools/doseranges.
void checkBandsAgainst(const ContentSource& source, const ContentSource& generated, SourceErrors* problems);
void checkBandsAgainstGenerator(const ContentSource& source, SourceErrors* problems);
// Every reference id that the rule tables record has an entry in the reference record.
void checkRecordedReferences(const ContentSource& source, SourceErrors* missingReferences);

// Loads DATA_DIR's sources and checks them; parse errors are reported first, as problems.
// With missingReferences, the reference ids missing from the reference record go there (as
// warnings) instead of into problems.
bool checkDataDir(const std::string& dataDir, SourceErrors* problems, SourceErrors* missingReferences = nullptr);
