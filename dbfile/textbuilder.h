// Building a text in a fixed buffer: appends keep what fits and never write past the buffer,
// which always holds a terminated text.
#pragma once

struct TextBuilder {
    char* out;      // null: the builder only measures
    int capacity;   // bytes of out, terminator included
    int length;
    bool cut;       // something did not fit
};

TextBuilder beginText(char* buffer, int capacity);
// A builder that writes nothing and counts every character appended, so that a text can be
// measured by the same steps that then write it into a buffer of the right size.
TextBuilder beginMeasure();
void textAppend(TextBuilder* builder, const char* text);
// Appends at most count characters of text (fewer when it ends first).
void textAppendPart(TextBuilder* builder, const char* text, int count);
// The room left for characters, terminator excluded.
int roomLeft(const TextBuilder* builder);
// buffer = text, cut to capacity; returns false when it was cut. A null text gives "".
bool textCopy(char* buffer, int capacity, const char* text);
