// Numbers in and out of text, rounding, the case-insensitive search and packed-entry steps.
#include <gtest/gtest.h>

#include <string>

#include "dosecalc/numtext.h"
#include "tools/dbtool/lib/writer.h"

namespace {

TEST(ParseInteger, ReadsAnOptionalMinusAndDigitsUpToTheFirstOther)
{
    const struct {
        const char* text;
        std::int32_t expected;
    } cases[] = {
        {nullptr, 0}, {"", 0}, {"-", 0}, {"12abc", 12}, {"+5", 0}, {" 12", 0}, {"007", 7}, {"-42", -42},
        {"1300", 1300}, {"--1", 0}, {"2147483647", 2147483647}, {"-2147483648", INT32_MIN},
        // Overflow wraps as 32-bit arithmetic does.
        {"2147483648", INT32_MIN}, {"4294967296", 0}, {"4294967301", 5}, {"99999999999", 1215752191},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseInteger(c.text), c.expected) << (c.text ? c.text : "(absent)");
}

TEST(FormatInteger, WritesTheDecimalTextOfAny32BitValue)
{
    const struct {
        std::int32_t value;
        const char* expected;
    } cases[] = {
        {0, "0"}, {-5, "-5"}, {1300, "1300"}, {999999999, "999999999"}, {10, "10"},
        {INT32_MAX, "2147483647"}, {INT32_MIN, "-2147483648"},
    };
    for (const auto& c : cases) {
        char out[12];
        formatInteger(out, c.value);
        EXPECT_STREQ(out, c.expected) << c.value;
        EXPECT_EQ(parseInteger(out), c.value) << "reads back: " << c.value;
    }
}

TEST(RoundHalfAway, HalvesGoAwayFromZero)
{
    const struct {
        float x;
        std::int32_t expected;
    } cases[] = {
        {0.5f, 1}, {-0.5f, -1}, {1.49f, 1}, {0.0f, 0}, {2.5f, 3}, {-2.5f, -3}, {0.49f, 0}, {-0.49f, 0},
        {16777215.0f, 16777215},
        // Just below one half in single precision, which the double-precision sum keeps below 1.
        {0.49999997f, 0},
        {3e9f, INT32_MAX}, {-3e9f, INT32_MIN},   // beyond 32 bits: the nearest end
    };
    for (const auto& c : cases)
        EXPECT_EQ(roundHalfAway(c.x), c.expected) << c.x;
}

TEST(FormatFixed, ExactlyTheGivenDecimals)
{
    const struct {
        float x;
        int decimals;
        const char* expected;
    } cases[] = {
        {12.0f, 2, "12.00"}, {0.25f, 2, "0.25"}, {0.05f, 2, "0.05"}, {1.5f, 2, "1.50"}, {7.5f, 0, "8"},
        {0.0f, 2, "0.00"}, {100.0f, 0, "100"}, {0.005f, 2, "0.01"}, {2.0f, 1, "2.0"}, {0.001f, 3, "0.001"},
        {1234.5678f, 2, "1234.57"}, {0.0f, 0, "0"}, {0.4f, 0, "0"},
        // Negative values keep the sign ahead of the padding.
        {-0.05f, 2, "-0.05"}, {-12.0f, 2, "-12.00"}, {-7.5f, 0, "-8"},
        {3.0f, -1, "3"},   // a negative count of decimals is taken as 0
    };
    for (const auto& c : cases) {
        char out[32];
        formatFixed(out, c.x, c.decimals);
        EXPECT_STREQ(out, c.expected) << c.x << " with " << c.decimals << " decimals";
    }
}

TEST(FindTextNoCase, FirstMatchWithAsciiLettersFolded)
{
    const struct {
        const char* haystack;
        const char* needle;
        int expected;   // position, -1 for none
    } cases[] = {
        {"Size=10 indent=5", "INDENT=", 8},
        {"ab", "abc", -1},
        {"anything", "", 0},
        {"", "", 0},
        {"", "a", -1},
        {"NOBR", "nobr", 0},
        {"xxNoBrxxnobr", "NOBR", 2},
        {"tail match", "MATCH", 5},
        // Equal byte sums but different text: the rolling sum alone must not decide.
        {"ba ab", "ab", 3},
        {"AD BC", "bc", 3},
        // Only ASCII letters fold: '@' (64) is not '`' (96), and 0xE9 is not 0xC9.
        {"@", "`", -1},
        {"caf\xC9", "CAF\xE9", -1},
        {"x\xE9", "\xE9", 1},
        {nullptr, "a", -1},
        {"a", nullptr, -1},
    };
    for (const auto& c : cases) {
        const char* found = findTextNoCase(c.haystack, c.needle);
        int position = found ? int(found - c.haystack) : -1;
        EXPECT_EQ(position, c.expected) << '"' << (c.haystack ? c.haystack : "(absent)") << "\" / \""
                                        << (c.needle ? c.needle : "(absent)") << '"';
    }
}

TEST(EqualsNoCase, WholeTextsWithLettersFolded)
{
    EXPECT_TRUE(equalsNoCase("Logic", "LOGIC"));
    EXPECT_TRUE(equalsNoCase("", ""));
    EXPECT_FALSE(equalsNoCase("Logic", "Logi"));
    EXPECT_FALSE(equalsNoCase("", nullptr));
}

TEST(NextPackedEntry, PadsToAMultipleOfFourFromTheFirstEntry)
{
    const struct {
        const char* name;
        std::int32_t offset;
        int headerSize;
        std::vector<std::string> strings;
        std::int32_t expected;
    } cases[] = {
        {"ends exactly on a multiple of 4", 0, 5, {"ab"}, 8},          // 5 + 3
        {"one byte past it adds three", 0, 5, {"abc"}, 12},           // 5 + 4 = 9 -> 12
        {"empty strings count their terminators", 8, 3, {"", "", "", "", ""}, 16},
        {"from a later entry", 12, 11, {"x", "yyy"}, 32},            // 12 + 11 + 2 + 4 = 29 -> 32
    };
    for (const auto& c : cases) {
        Bytes strings;
        for (const std::string& s : c.strings)
            putText(strings, s);
        std::int32_t offset = c.offset;
        nextPackedEntry(&offset, c.headerSize, reinterpret_cast<const char*>(strings.data()), int(c.strings.size()));
        EXPECT_EQ(offset, c.expected) << c.name;
    }
}

TEST(PackedEntries, WalkOnlyWhatLiesWithinTheRecord)
{
    std::vector<PackedEntry> entries = {{{1, 2, 3}, {"first", "a"}}, {{4, 5, 6}, {"second", ""}}};
    Bytes record = makePackedRecord(3, 0, entries);
    const std::uint8_t* body = record.data() + 16;
    std::int32_t size = std::int32_t(record.size() - 16);

    std::int32_t offset = 0;
    ASSERT_TRUE(packedEntryFits(body, size, offset, 3, 2));
    EXPECT_STREQ(packedEntryString(body, offset, 3, 0), "first");
    EXPECT_STREQ(packedEntryString(body, offset, 3, 1), "a");
    nextPackedEntry(&offset, 3, packedEntryString(body, offset, 3, 0), 2);
    EXPECT_EQ(offset, 12);
    ASSERT_TRUE(packedEntryFits(body, size, offset, 3, 2));
    EXPECT_STREQ(packedEntryString(body, offset, 3, 0), "second");
    EXPECT_STREQ(packedEntryString(body, offset, 3, 1), "");
    nextPackedEntry(&offset, 3, packedEntryString(body, offset, 3, 0), 2);
    EXPECT_EQ(offset, size);
    EXPECT_FALSE(packedEntryFits(body, size, offset, 3, 2)) << "past the last entry";

    const struct {
        const char* name;
        std::int32_t size, offset;
        int headerSize, count;
        bool fits;
    } cases[] = {
        {"whole first entry", size, 0, 3, 2, true},
        {"strings beyond the entry's padding run off the record", 12, 0, 3, 4, false},
        {"last string's terminator cut off", 22, 12, 3, 2, false},
        {"header cut short", 14, 12, 3, 0, false},
        {"header exactly fits, no strings", 15, 12, 3, 0, true},
        {"negative offset", size, -4, 3, 2, false},
        {"negative size", -1, 0, 3, 2, false},
        {"negative count", size, 0, 3, -1, false},
        {"offset near the 32-bit end", size, INT32_MAX - 1, 3, 2, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(packedEntryFits(body, c.size, c.offset, c.headerSize, c.count), c.fits) << c.name;
    EXPECT_FALSE(packedEntryFits(nullptr, 10, 0, 3, 0));
}

} // namespace
