// Dumping a database file readably: the container's record list, then every element or entry
// of the records the program reads, decoded through the program's own reader and accessors.
// The decoded part is written in the source syntax, so a dump of a sound file parses back to
// the sources it was built from. Damage (what, where) is listed and never read past.
#pragma once
#include <string>
#include <vector>

enum class DatabaseKind { Detect, Display, Content };

struct DumpResult {
    std::string text;                  // the dump itself
    std::vector<std::string> damage;   // one line per fault found; empty for a sound file
};

DumpResult dumpDatabase(const std::string& path, DatabaseKind kind = DatabaseKind::Detect);
