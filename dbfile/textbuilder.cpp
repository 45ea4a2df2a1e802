// Bounded text building in fixed buffers (titles, therapy and working texts, page lines).
#include "dbfile/textbuilder.h"

TextBuilder beginText(char* buffer, int capacity)
{
    TextBuilder builder = {buffer, capacity, 0, false};
    if (buffer && capacity > 0)
        buffer[0] = '\0';
    return builder;
}

TextBuilder beginMeasure() { return TextBuilder{nullptr, 0, 0, false}; }

int roomLeft(const TextBuilder* builder)
{
    int room = builder->capacity - 1 - builder->length;
    return room > 0 ? room : 0;
}

void textAppendPart(TextBuilder* builder, const char* text, int count)
{
    if (!text)
        return;
    if (!builder->out) {
        for (int i = 0; i < count && text[i]; ++i)
            ++builder->length;
        return;
    }
    if (builder->capacity <= 0)
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

bool textCopy(char* buffer, int capacity, const char* text)
{
    TextBuilder copy = beginText(buffer, capacity);
    textAppend(&copy, text);
    return !copy.cut;
}
