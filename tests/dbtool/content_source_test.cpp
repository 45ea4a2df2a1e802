// The content source: the three entry kinds with their head fields and named strings, long
// texts split over lines, and a message naming file and line for each kind of malformed entry.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/dbtool/helpers.h"

namespace {

using ::testing::Contains;

TEST(ContentSource, EntriesOfEveryKindKeepTheirFieldsAndOrder)
{
    SourceErrors errors;
    ContentSource s = parseContent("range table=1 lower=59 upper=60\n"
                                   "    regimen1 \"Oxycodone CR 60 mg\" \" every 12 hours\"\n"
                                   "    daily1 \"120 mg\"\n"
                                   "    s13 \"last\"\n"
                                   "range table=-2 lower=0 upper=0xFFFF\n"
                                   "conversion key1=0x913CE341 key2=663 from=3 to=8 table=1\n"
                                   "    product6 \"Morphine, short-acting\"\n"
                                   "    s6 \"unused\"\n"
                                   "reference id=3361 type=13\n"
                                   "    title \"Safe use of opioids\"\n"
                                   "          \" in hospitals\"  # continued\n"
                                   "    url \"http://x\"\n"
                                   "    editors \"E\"\n"
                                   "    f0 \"zero\"\n",
                                   &errors);
    ASSERT_TRUE(errors.empty()) << joined(errors);
    ASSERT_EQ(s.ranges.size(), 2u);
    EXPECT_EQ(s.ranges[0].table, 1);
    EXPECT_EQ(s.ranges[0].lower, 59);
    EXPECT_EQ(s.ranges[0].upper, 60);
    EXPECT_EQ(s.ranges[0].strings[1], "Oxycodone CR 60 mg every 12 hours");
    EXPECT_EQ(s.ranges[0].strings[0], "120 mg");
    EXPECT_EQ(s.ranges[0].strings[13], "last");
    EXPECT_EQ(s.ranges[0].strings[3], "");
    EXPECT_EQ(s.ranges[1].table, -2);
    EXPECT_EQ(s.ranges[1].upper, 0xFFFF);
    EXPECT_EQ(s.rangePlaces[1].line, 5);
    ASSERT_EQ(s.conversions.size(), 1u);
    EXPECT_EQ(s.conversions[0].key1, 0x913CE341u);
    EXPECT_EQ(s.conversions[0].key2, 663u);
    EXPECT_EQ(s.conversions[0].fromRoute, 3);
    EXPECT_EQ(s.conversions[0].toRoute, 8);
    EXPECT_EQ(s.conversions[0].table, 1);
    EXPECT_EQ(s.conversions[0].strings[5], "Morphine, short-acting");
    EXPECT_EQ(s.conversions[0].strings[6], "unused");
    ASSERT_EQ(s.references.size(), 1u);
    EXPECT_EQ(s.references[0].id, 3361);
    EXPECT_EQ(s.references[0].type, 13);
    EXPECT_EQ(s.references[0].fields[2], "Safe use of opioids in hospitals");
    EXPECT_EQ(s.references[0].fields[6], "http://x");
    EXPECT_EQ(s.references[0].fields[16], "E");
    EXPECT_EQ(s.references[0].fields[0], "zero");
}

TEST(ContentSource, StringNamesFollowTheirIndex)
{
    const struct {
        const char* (*name)(int);
        int index;
        const char* expected;
    } cases[] = {
        {doseRangeStringName, 0, "daily1"},     {doseRangeStringName, 11, "regimen6"},
        {doseRangeStringName, 12, "s12"},       {conversionStringName, 0, "product1"},
        {conversionStringName, 6, "s6"},        {referenceFieldName, 1, "authors"},
        {referenceFieldName, 8, "source"},      {referenceFieldName, 10, "issue"},
        {referenceFieldName, 14, "place"},      {referenceFieldName, 16, "editors"},
        {referenceFieldName, 17, ""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.name(c.index), c.expected) << c.index;
}

struct ErrorCase {
    const char* name;
    std::string source;
    std::string message;
};

TEST(ContentSource, MalformedEntriesNameFileAndLine)
{
    const ErrorCase cases[] = {
        {"unknown kind", "band table=1", "t.txt:1: unknown entry kind 'band' (range, conversion or reference)"},
        {"missing head field", "range table=1 lower=0", "t.txt:1: missing 'upper' on a range line"},
        {"unknown head field", "range table=1 lower=0 upper=5 top=3", "t.txt:1: unexpected 'top' on a range line"},
        {"head field twice", "reference id=1 id=2 type=1", "t.txt:1: 'id' given twice"},
        {"head field out of range", "conversion key1=1 key2=2 from=300 to=8 table=1",
         "t.txt:1: field 'from': 300 is out of range (-128 to 127)"},
        {"head field quoted", "reference id=\"1\" type=1", "t.txt:1: field 'id': takes a number, not a quoted text"},
        {"empty range", "range table=1 lower=30 upper=30",
         "t.txt:1: empty range: lower 30 is not below upper 30 (a range holds the doses above lower up to upper)"},
        {"unknown string", "reference id=1 type=1\n    author \"x\"",
         "t.txt:2: unknown reference string 'author' (f0, authors, title, f3, publisher, date, url, edition, source, "
         "volume, issue, pages, f12, f13, place, chapter, editors)"},
        {"string number out of range", "conversion key1=1 key2=2 from=3 to=8 table=1\n    s7 \"x\"",
         "t.txt:2: unknown conversion string 's7' (product1, product2, product3, product4, product5, product6, s6)"},
        {"string twice", "reference id=1 type=1\n    title \"a\"\n    s2 \"b\"", "t.txt:3: string 'title' given twice"},
        {"string without text", "reference id=1 type=1\n    title", "t.txt:2: string 'title' has no text"},
        {"string with =", "reference id=1 type=1\n    title=\"x\"",
         "t.txt:2: write a string as: name \"text\" (without '=')"},
        {"word after name", "reference id=1 type=1\n    title \"x\" more",
         "t.txt:2: only quoted texts may follow a string's name"},
        {"continuation first", "reference id=1 type=1\n    \"x\"",
         "t.txt:2: a text line continues a string, but no string comes before it"},
        {"field before entry", "# start\n    title \"x\"",
         "t.txt:2: indented line before any entry (range, conversion or reference)"},
    };
    for (const ErrorCase& c : cases) {
        SourceErrors errors;
        parseContent(c.source, &errors);
        EXPECT_THAT(errors.messages, Contains(c.message)) << c.name << ":\n" << joined(errors);
    }
}

TEST(ContentSource, ABadHeadLineDropsItsEntryButNotTheNext)
{
    SourceErrors errors;
    ContentSource s = parseContent("reference id=1 type=1 extra=2\n    title \"lost\"\n"
                                   "reference id=2 type=1\n    title \"kept\"\n",
                                   &errors);
    EXPECT_EQ(errors.messages.size(), 1u) << joined(errors);
    ASSERT_EQ(s.references.size(), 1u);
    EXPECT_EQ(s.references[0].fields[2], "kept");
}

} // namespace
