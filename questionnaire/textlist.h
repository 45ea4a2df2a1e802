// Text lists: the report sections. Each entry owns a copy of its text and of its marker
// ("", "NOTE", "HOLD", "Logic", "LIST", "ENDLIST"); entries stay in insertion order.
#pragma once
#include <cstdint>

struct TextEntry {
    std::uint32_t word1;       // given by the caller; every caller gives 0
    std::uint32_t word2;       // given by the caller; every caller gives 0
    std::uint32_t zero[2];
    char* text;                // owned copy, may be absent
    char* marker;              // owned copy, may be absent
    TextEntry* next;
    std::uint8_t byte;         // given by the caller; every caller gives 0
    bool oneBlock;             // text and marker live in the entry's own block
};

typedef TextEntry* TextList;

// Appends an entry, then stores copies of text and marker (each absent when given absent or when
// its copy cannot be made). nullptr, and nothing appended, when the entry cannot be allocated.
TextEntry* appendText(TextList* holder, const char* text, const char* marker);
void releaseTextList(TextList* holder);
// Whether some entry's marker equals marker, letter case ignored; an absent marker matches nothing.
bool hasMarker(const TextEntry* head, const char* marker);
