// The bounded text builder: what fits is kept, the buffer never overflows and stays terminated,
// a cut stays known, and measuring counts what writing would append.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dbfile/textbuilder.h"

namespace {

TEST(TextBuilder, KeepsWhatFitsAndRemembersACut)
{
    struct Case {
        const char* name;
        int capacity;
        std::vector<std::string> parts;
        int partLimit;   // of the last part; -1: all of it
        const char* expected;
        bool cut;
    } cases[] = {
        {"everything fits", 12, {"Recommend: ", ""}, -1, "Recommend: ", false},
        {"exactly full", 6, {"- ", "abc"}, -1, "- abc", false},
        {"one too many", 6, {"- ", "abcd"}, -1, "- abc", true},
        {"a cut stays when a later part fits", 4, {"abcd", ""}, -1, "abc", true},
        {"a part of a text", 8, {"ab", "cdefg"}, 2, "abcd", false},
        {"a part longer than its text", 8, {"ab", "cd"}, 5, "abcd", false},
        {"room for the terminator only", 1, {"a"}, -1, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        char buffer[16];
        std::memset(buffer, 'X', sizeof buffer);
        TextBuilder b = beginText(buffer, c.capacity);
        for (std::size_t i = 0; i < c.parts.size(); ++i) {
            if (i + 1 == c.parts.size() && c.partLimit >= 0)
                textAppendPart(&b, c.parts[i].c_str(), c.partLimit);
            else
                textAppend(&b, c.parts[i].c_str());
        }
        EXPECT_STREQ(buffer, c.expected);
        EXPECT_EQ(b.cut, c.cut);
        EXPECT_EQ(buffer[c.capacity], 'X') << "written past the buffer";
        EXPECT_EQ(b.length, int(std::strlen(c.expected)));
    }
}

TEST(TextBuilder, MeasuringCountsWhatWritingAppends)
{
    TextBuilder measure = beginMeasure();
    for (const char* part : std::initializer_list<const char*>{"Smith J", ". ", nullptr, "A title", ". "})
        textAppend(&measure, part);
    textAppendPart(&measure, "pp. 12-19", 3);
    EXPECT_EQ(measure.length, int(std::strlen("Smith J. A title. pp.")));
    EXPECT_FALSE(measure.cut);
}

TEST(TextBuilder, CopyCutsToTheBufferAndSaysSo)
{
    char title[6] = "keep";
    EXPECT_TRUE(textCopy(title, sizeof title, "Route"));
    EXPECT_STREQ(title, "Route");
    EXPECT_FALSE(textCopy(title, sizeof title, "Results of the run"));
    EXPECT_STREQ(title, "Resul");
    EXPECT_TRUE(textCopy(title, sizeof title, nullptr));
    EXPECT_STREQ(title, "") << "an absent text gives an empty title";
    EXPECT_TRUE(textCopy(nullptr, 0, "ignored")) << "no buffer is no write";
}

} // namespace
