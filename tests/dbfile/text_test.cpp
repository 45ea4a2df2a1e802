// Text crossing the platform boundary: byte for code unit, low byte back.
#include <gtest/gtest.h>

#include "dbfile/text.h"

namespace {

TEST(WidenText, EachByteBecomesTheCodeUnitOfTheSameValue)
{
    WCHAR wide[8];
    EXPECT_EQ(widenText(wide, "a\xE9\xFF"), 3);
    EXPECT_EQ(wide[0], u'a');
    EXPECT_EQ(wide[1], 0x00E9);
    EXPECT_EQ(wide[2], 0x00FF);
    EXPECT_EQ(wide[3], 0);
    wide[0] = u'x';
    EXPECT_EQ(widenText(wide, nullptr), 0);
    EXPECT_EQ(wide[0], 0) << "an absent text gives an empty string";
}

TEST(NarrowText, EachCodeUnitBecomesItsLowByte)
{
    char narrow[8] = "keep";
    const WCHAR text[] = {0x20AC, u'b', 0x00E9, 0};
    narrowText(narrow, text);
    EXPECT_STREQ(narrow, "\xAC" "b\xE9");
    narrowText(narrow, nullptr);
    EXPECT_STREQ(narrow, "\xAC" "b\xE9") << "an absent text leaves the destination untouched";
}

TEST(BoundedText, CutsWhatDoesNotFit)
{
    WCHAR wide[4] = {1, 1, 1, 1};
    EXPECT_EQ(widenTextBounded(wide, 4, "abcdef"), 3);
    EXPECT_EQ(wide[2], u'c');
    EXPECT_EQ(wide[3], 0);
    EXPECT_EQ(widenTextBounded(wide, 0, "abc"), 0);
    EXPECT_EQ(wide[0], u'a') << "capacity 0 writes nothing";

    char narrow[3] = {'x', 'x', 'x'};
    const WCHAR text[] = {u'p', u'q', u'r', 0};
    EXPECT_EQ(narrowTextBounded(narrow, 3, text), 2);
    EXPECT_STREQ(narrow, "pq");
    EXPECT_EQ(narrowTextBounded(narrow, 1, text), 0);
    EXPECT_STREQ(narrow, "");
}

} // namespace
