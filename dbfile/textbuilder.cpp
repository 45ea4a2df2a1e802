// Bounded text building in fixed buffers (titles, therapy and working texts, page lines).
#include "dbfile/textbuilder.h"

#include <cstring>

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
    // The text is measured once and copied whole: appends are the inner loop of every report.
    std::size_t length = 0;
    if (count > 0) {
        const void* end = std::memchr(text, 0, std::size_t(count));
        length = end ? std::size_t(static_cast<const char*>(end) - text) : std::size_t(count);
    }
    if (!builder->out) {
        builder->length += int(length);
        return;
    }
    if (builder->capacity <= 0)
        return;
    std::size_t room = std::size_t(roomLeft(builder));
    if (length > room) {
        length = room;
        builder->cut = true;
    }
    std::memcpy(builder->out + builder->length, text, length);
    builder->length += int(length);
    builder->out[builder->length] = '\0';
}

void textAppend(TextBuilder* builder, const char* text) { textAppendPart(builder, text, 0x7FFFFFFF); }

bool textCopy(char* buffer, int capacity, const char* text)
{
    TextBuilder copy = beginText(buffer, capacity);
    textAppend(&copy, text);
    return !copy.cut;
}
