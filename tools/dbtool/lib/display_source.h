// The display database's text source: sections "[module N]", then one element a line, its
// level given by its indentation (two spaces a level), e.g.
//     PAGE 10223 "Patient Assessment"
//       LABEL 2061 group=2061 required "Pain score (0-10):"
// FORMAT.md describes every field. Parsing collects every problem with its file and line.
#pragma once
#include <string>
#include <vector>

#include "tools/dbtool/lib/source_text.h"
#include "tools/dbtool/lib/writer.h"

constexpr int displayModuleCount = 10;
constexpr int indentPerLevel = 2;

struct DisplayModuleSource {
    int number = 0;
    SourcePlace place;                  // of its "[module N]" line
    std::vector<ElementSpec> elements;  // in document order
    std::vector<SourcePlace> places;    // one per element
};

struct DisplaySource {
    std::vector<DisplayModuleSource> modules;   // in the order met; sorted by finishDisplaySource
};

// Parses one source text into out (a text may hold several modules; a module may not be given twice).
void parseDisplayText(const std::string& text, const std::string& fileName, DisplaySource* out,
                      SourceErrors* errors);
// Puts the modules in number order and checks that they run 0, 1, 2, ... without a gap and that
// none is empty: the program's element sequence ends at the first missing or empty module.
void finishDisplaySource(DisplaySource* source, SourceErrors* errors);

// The display database file: the hierarchy and string records of each module, in module order.
// Fails (with errors) where a module's texts or element count exceed what the record fields hold.
bool buildDisplayDatabase(const DisplaySource& source, Bytes* out, SourceErrors* errors);

// One element as a source line (without indentation); the inverse of the element parser.
std::string elementSourceText(const ElementSpec& e);
