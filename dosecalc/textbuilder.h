// Building a text in a fixed buffer: appends keep what fits and never write past the buffer,
// which always holds a terminated text.
#pragma once

struct TextBuilder {
    char* out;
    int capacity;   // bytes of out, terminator included
    int length;
    bool cut;       // something did not fit
};

TextBuilder beginText(char* buffer, int capacity);
void textAppend(TextBuilder* builder, const char* text);
// Appends at most count characters of text (fewer when it ends first).
void textAppendPart(TextBuilder* builder, const char* text, int count);
// The room left for characters, terminator excluded.
int roomLeft(const TextBuilder* builder);
