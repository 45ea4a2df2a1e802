// Building the two database files from a data folder: data/display/*.txt make the display
// database, data/content/*.txt the content database; files are read in name order.
#pragma once
#include <string>

#include "tools/dbtool/lib/content_source.h"
#include "tools/dbtool/lib/display_source.h"

// The .txt files of a folder, in name order; an error when the folder cannot be listed.
std::vector<std::string> sourceFiles(const std::string& folder, SourceErrors* errors);

// All sources of DATA_DIR/display and DATA_DIR/content, parsed and (display) finished.
void loadDisplaySources(const std::string& dataDir, DisplaySource* out, SourceErrors* errors);
void loadContentSources(const std::string& dataDir, ContentSource* out, SourceErrors* errors);
// Both; false when any source has an error.
bool loadSources(const std::string& dataDir, DisplaySource* display, ContentSource* content, SourceErrors* errors);

// Writes ROOT/Program Files/Quellix/DisplayDB-Qx4k.pdb and DEZidiVA-Qx4k.pdb. Nothing is
// written when any source has an error.
bool buildDatabases(const std::string& dataDir, const std::string& root, SourceErrors* errors);

std::string displayDatabaseFile(const std::string& root);
std::string contentDatabaseFile(const std::string& root);
