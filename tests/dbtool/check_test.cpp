// dbtool check: the repository's sources pass, and a source with each kind of fault fails with
// a message naming the element or entry and its place.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/dbtool/helpers.h"
#include "tools/dbtool/lib/check.h"

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

TEST(Check, TheRepositorySourcesAreCoherent)
{
    SourceErrors problems;
    EXPECT_TRUE(checkDataDir(std::string(ZURA_TEST_DIR) + "/../../data", &problems)) << joined(problems);
}

struct Case {
    const char* name;
    std::string source;
    std::string message;
};

// A sound module 0; each case adds module 1 with its fault.
const std::string home = "[module 0]\nMODULE 1979 \"root\"\n  PAGE 9521 \"Home\"\n[module 1]\n  MODULE 9523 \"m\"\n";

TEST(Check, EachFaultOfTheDisplaySourceIsNamed)
{
    const Case cases[] = {
        {"duplicate id", home + "    PAGE 9521 \"again\"\n", "t.txt:6: PAGE 9521: id 9521 is already used at t.txt:3"},
        {"command id", home + "    PAGE 101 \"p\"\n",
         "t.txt:6: PAGE 101: id 101 is taken by the main window for a command (ids 1-6, 100-112 and 20000)"},
        {"conversion option id", home + "    PAGE 4 \"p\"\n", "t.txt:6: PAGE 4: id 4 is taken by the main window"},
        {"drop button id", home + "    PAGE 20000 \"p\"\n", "t.txt:6: PAGE 20000: id 20000 is taken by the main window"},
        {"explanation key pair", home + "    PAGE 10 \"p\"\n      OPTION 11 key1=1 \"x\"\n",
         "t.txt:7: OPTION 11: key pair (1, 0) marks the \"How doses are calculated\" line of the dose report"},
        {"results page with rows", home + "    PAGE 13902 style=RECOMMEND \"r\"\n      LABEL 12 \"row\"\n",
         "t.txt:6: results page 13902 has elements of its own (first LABEL 12 at t.txt:7); the report is laid out below it"},
        {"results page by class", home + "    PAGE 13902 class=RECOMMEND \"r\"\n      SPACER 12\n",
         "t.txt:6: results page 13902 has elements of its own"},
        {"prompt too long", home + "    LABEL 12 \"" + std::string(1000, 'x') + "\"\n",
         "t.txt:6: LABEL 12: text of 1000 bytes; a prompt text must stay below 1000"},
        {"link to nothing", home + "    POPUP_LINK 12 sub=999 \"x\"\n", "t.txt:6: POPUP_LINK 12: sub=999 names no element"},
        {"link to a label", home + "    LABEL 13 \"l\"\n    POPUP_LINK 12 sub=13 \"x\"\n",
         "t.txt:7: POPUP_LINK 12: a page link must open a PAGE, not LABEL 13"},
        {"required without choices", home + "    PAGE 10 \"p\"\n      LABEL 11 group=11 required \"q\"\n"
                                             "        RADIO 12 group=99 \"a\"\n",
         "t.txt:7: LABEL 11 is required, but no RADIO, CHECKBOX or OPTION on its page has group=11: Next could never pass"},
        {"drug keys without a factor", home + "    PAGE 10 \"p\"\n      SELECT 11 \"\"\n"
                                              "        OPTION 12 key1=0x0724673C key2=759 \"x\"\n",
         "t.txt:8: OPTION 12: keys 0x0724673C/759 have no conversion factor for any route"},
        {"option without select", home + "    PAGE 10 \"p\"\n      LABEL 11 \"q\"\n        OPTION 12 \"a\"\n",
         "t.txt:8: OPTION 12 does not follow a SELECT"},
    };
    for (const Case& c : cases) {
        SourceErrors errors;
        DisplaySource s = parseDisplay(c.source, &errors);
        ASSERT_TRUE(errors.empty()) << c.name << ": " << joined(errors);
        checkDisplaySource(s, &errors);
        EXPECT_THAT(errors.messages, Contains(HasSubstr(c.message))) << c.name << ":\n" << joined(errors);
    }
}

TEST(Check, ASoundDisplaySourcePasses)
{
    SourceErrors errors;
    DisplaySource s = parseDisplay(home + "    PAGE 10 \"p\"\n      LABEL 11 group=11 required \"q\"\n"
                                          "        RADIO 12 group=11 \"a\"\n      SELECT 13 \"\"\n        OPTION 14 \"o\"\n"
                                          "      POPUP_LINK 15 sub=16 \"link\"\n    PAGE 16 style=RECOMMEND \"r\"\n",
                                   &errors);
    checkDisplaySource(s, &errors);
    EXPECT_TRUE(errors.empty()) << joined(errors);
}

const std::string regimens = "    regimen1 \"a\"\n    regimen2 \"b\"\n    regimen3 \"c\"\n    regimen4 \"None\"\n"
                             "    regimen5 \"e\"\n    regimen6 \"f\"\n";
const std::string products = "    product1 \"a\"\n    product2 \"b\"\n    product3 \"c\"\n    product4 \"d\"\n"
                             "    product5 \"e\"\n    product6 \"f\"\n";

TEST(Check, EachFaultOfTheContentSourceIsNamed)
{
    const Case cases[] = {
        {"overlapping bands", "range table=1 lower=0 upper=10\n" + regimens + "range table=1 lower=5 upper=20\n" + regimens,
         "t.txt:8: band (5, 20] of table 1 overlaps (0, 10] at t.txt:1; the program takes the first"},
        {"empty regimen", "range table=1 lower=0 upper=10\n    regimen1 \"a\"\n",
         "t.txt:1: band (0, 10] of table 1: regimen2 is empty; write \"None\" where the option cannot give the dose"},
        {"conversion without bands", "conversion key1=0x913CE341 key2=663 from=3 to=8 table=2\n" + products,
         "t.txt:1: conversion 0x913CE341/663: table 2 has no dose-range band"},
        {"conversion without a product", "range table=1 lower=0 upper=10\n" + regimens +
                                             "conversion key1=1 key2=2 from=3 to=8 table=1\n    product1 \"a\"\n",
         "t.txt:8: conversion 0x00000001/2: product2 is empty"},
        {"no morphine conversion", "range table=1 lower=0 upper=10\n" + regimens +
                                       "conversion key1=0x913CE341 key2=663 from=8 to=3 table=1\n" + products,
         "content sources: no conversion entry for the morphine keys 0x913CE341/663 from route 3 to route 8: the dose "
         "conversion could never find a regimen"},
        {"reference type", "reference id=3361 type=2\n    title \"t\"\n",
         "t.txt:1: reference 3361: type 2 is not a citation type (1, 3-13); type 2 prints nothing"},
        {"reference type 0", "reference id=3361 type=0\n    title \"t\"\n", "t.txt:1: reference 3361: type 0 is not a citation type (1, 3-13); it gets the generic template"},
        {"reference without title", "reference id=3362 type=1\n    authors \"a\"\n", "t.txt:1: reference 3362: no title"},
    };
    for (const Case& c : cases) {
        SourceErrors errors;
        ContentSource s = parseContent(c.source, &errors);
        ASSERT_TRUE(errors.empty()) << c.name << ": " << joined(errors);
        checkContentSource(s, &errors);
        EXPECT_THAT(errors.messages, Contains(HasSubstr(c.message))) << c.name << ":\n" << joined(errors);
    }
}

TEST(Check, AdjacentBandsAndOtherTablesDoNotOverlap)
{
    SourceErrors errors;
    ContentSource s = parseContent("range table=1 lower=0 upper=10\n" + regimens + "range table=1 lower=10 upper=20\n" +
                                       regimens + "range table=2 lower=5 upper=15\n" + regimens +
                                       "conversion key1=0x913CE341 key2=663 from=3 to=8 table=1\n" + products,
                                   &errors);
    checkContentSource(s, &errors);
    EXPECT_TRUE(errors.empty()) << joined(errors);
}

} // namespace
