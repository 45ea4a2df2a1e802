// The sections a rule run offers in the selector, worked out apart from the selector itself so
// that the runs can be checked by the names they offer. selector.cpp hands the names to the
// combo box.
#pragma once
#include <cstdint>

constexpr int sectionCapacity = 6;

struct SectionNames {
    const char* names[sectionCapacity];
    int count;
};

// Empty the cited references (creating the holder on first use), run the module's rule sets
// into the section lists of AppState and collect the names of the sections with content, in
// the selector's order. False, with no name and no rule run, when the holder cannot be made
// or the state records are missing.
bool prescriptionSections(SectionNames* sections);
bool sideEffectSections(SectionNames* sections);

// 1 "Recommendation", 2 "Caveats", 3 "Rationale", 4 "References"; 1 for any other text.
std::uint8_t sideEffectSectionNumber(const char* text);
