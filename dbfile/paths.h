// The two database files, by the relative paths the program opens them with (the program runs
// with the folder holding "Program Files" as its current directory).
#pragma once
#include <cstdio>

constexpr const char* displayDatabasePath = "Program Files\\Quellix\\DisplayDB-Qx4k.pdb";
constexpr const char* contentDatabasePath = "Program Files\\Quellix\\DEZidiVA-Qx4k.pdb";

// Opens a data file for reading as raw bytes. Paths use backslashes, as on the handheld; where
// the host's separator is '/', they are mapped to it.
std::FILE* openDataFile(const char* path);
