// Bounded text building for the conversion's fixed buffers (therapy texts, working texts).
#include "dosecalc/textbuilder.h"

TextBuilder beginText(char* buffer, int capacity)
{
    TextBuilder builder = {buffer, capacity, 0, false};
    if (capacity > 0)
        buffer[0] = '\0';
    return builder;
}

int roomLeft(const TextBuilder* builder)
{
    int room = builder->capacity - 1 - builder->length;
    return room > 0 ? room : 0;
}

void textAppendPart(TextBuilder* builder, const char* text, int count)
{
    if (!text || builder->capacity <= 0)
        return;
    int i = 0;
    for (; i < count && text[i]; ++i) {
        if (roomLeft(builder) == 0) {
            builder->cut = true;
            break;
        }
        builder->out[builder->length++] = text[i];
    }
    builder->out[builder->length] = '\0';
}

void textAppend(TextBuilder* builder, const char* text) { textAppendPart(builder, text, 0x7FFFFFFF); }
