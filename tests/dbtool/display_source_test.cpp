// The display source: every field of an element line, levels from indentation, modules, and a
// message naming file and line for each kind of malformed line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/dbtool/helpers.h"

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

struct LineCase {
    const char* name;
    std::string line;
    ElementSpec expected;
};

TEST(DisplaySource, ElementLinesGiveEveryField)
{
    const LineCase cases[] = {
        {"label with text", R"(LABEL 17001 "Choose a module.")",
         {.id = 17001, .type = 5, .hasText = true, .text = "Choose a module."}},
        {"spacer without text", "SPACER 10346", {.id = 10346, .type = 12, .hasText = false}},
        {"select with an empty text", R"(SELECT 10332 group=10332 "")",
         {.id = 10332, .group = 10332, .type = 9, .hasText = true, .text = ""}},
        {"drug option with keys and default",
         R"(OPTION 17060 group=10332 default=0xFFFF key1=0x913CE341 key2=663 "Morphine")",
         {.key1 = 0x913CE341, .key2 = 663, .id = 17060, .group = 10332, .defaultValue = 0xFFFF, .type = 6,
          .hasText = true, .text = "Morphine"}},
        {"input with attributes", R"(INPUT 10340 attr="SIZE=6" "Total mg, last 24 h:")",
         {.id = 10340, .type = 4, .hasText = true, .text = "Total mg, last 24 h:", .hasAttributes = true,
          .attributes = "SIZE=6"}},
        {"attributes without text get an empty text", R"(LABEL 9 attr="NOBR")",
         {.id = 9, .type = 5, .hasText = true, .text = "", .hasAttributes = true, .attributes = "NOBR"}},
        {"results page", R"(PAGE 13902 style=RECOMMEND class=RECOMMEND "Recommendation")",
         {.id = 13902, .type = 7, .elementClass = 7, .style = 1, .hasText = true, .text = "Recommendation"}},
        {"hidden, required, named codes", R"(LABEL 5 state=HIDDEN class=SUSCEPTIBILITY style=2COLUMNS required "x")",
         {.id = 5, .type = 5, .defaultState = 2, .elementClass = 8, .style = 2, .required = true, .hasText = true,
          .text = "x"}},
        {"disabled and navigation", "BUTTON 6 state=DISABLED style=NAVIGATION",
         {.id = 6, .type = 20, .defaultState = 1, .style = 3, .hasText = false}},
        {"page link", R"(POPUP_LINK 17013 sub=11030 "Sedation scale")",
         {.id = 17013, .subObject = 11030, .type = 21, .hasText = true, .text = "Sedation scale"}},
        {"fields in any order, trailing comment", R"~(RADIO 2062 "Mild (1-3)" group=2061  # mild)~",
         {.id = 2062, .group = 2061, .type = 8, .hasText = true, .text = "Mild (1-3)"}},
        {"codes by number", "40 7 class=9 style=-1 state=3",
         {.id = 7, .type = 40, .defaultState = 3, .elementClass = 9, .style = -1, .hasText = false}},
        {"escaped text", R"(LABEL 8 "a\x01\"b\"\n")",
         {.id = 8, .type = 5, .hasText = true, .text = "a\x01\"b\"\n"}},
    };
    for (const LineCase& c : cases) {
        SourceErrors errors;
        DisplaySource s = parseDisplay("[module 0]\n" + c.line + "\n", &errors);
        ASSERT_TRUE(errors.empty()) << c.name << ": " << joined(errors);
        ASSERT_EQ(s.modules.size(), 1u) << c.name;
        ASSERT_EQ(s.modules[0].elements.size(), 1u) << c.name;
        EXPECT_EQ(s.modules[0].elements[0], c.expected) << c.name << ": " << elementSourceText(s.modules[0].elements[0]);
        // The dump writes an element the same way: the line parses back to the same element.
        SourceErrors again;
        DisplaySource back = parseDisplay("[module 0]\n" + elementSourceText(c.expected) + "\n", &again);
        ASSERT_TRUE(again.empty()) << c.name << ": " << joined(again);
        EXPECT_EQ(back.modules[0].elements[0], c.expected) << c.name;
    }
}

TEST(DisplaySource, IndentationGivesTheLevelAndPlacesAreKept)
{
    SourceErrors errors;
    DisplaySource s = parseDisplay("[module 0]\n"
                                   "MODULE 1\n"
                                   "  PAGE 2\n"
                                   "    LABEL 3\n"
                                   "      RADIO 4\n"
                                   "\n"
                                   "  # a comment between\n"
                                   "  PAGE 5\n"
                                   "[module 1]\n"
                                   "  MODULE 6\n",
                                   &errors);
    ASSERT_TRUE(errors.empty()) << joined(errors);
    ASSERT_EQ(s.modules.size(), 2u);
    const std::vector<ElementSpec>& e = s.modules[0].elements;
    ASSERT_EQ(e.size(), 5u);
    const int levels[] = {0, 1, 2, 3, 1};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(e[i].level, levels[i]) << "element " << e[i].id;
    EXPECT_EQ(s.modules[0].places[4].line, 8);
    EXPECT_EQ(s.modules[1].elements[0].level, 1) << "a module may start at any level";
}

struct ErrorCase {
    const char* name;
    std::string source;
    std::string message;   // the whole message, place included
};

TEST(DisplaySource, MalformedLinesNameFileAndLine)
{
    const ErrorCase cases[] = {
        {"unknown type", "[module 0]\nBOX 1", "t.txt:2: unknown element type 'BOX'"},
        {"type in lower case", "[module 0]\nlabel 1", "t.txt:2: unknown element type 'label'"},
        {"no id", "[module 0]\nLABEL", "t.txt:2: missing element id after LABEL"},
        {"id out of range", "[module 0]\nLABEL 70000", "t.txt:2: element id: 70000 is out of range (0 to 65535)"},
        {"id not a number", "[module 0]\nLABEL 1x", "t.txt:2: element id: '1x' is not a number"},
        {"negative group", "[module 0]\nLABEL 1 group=-1", "t.txt:2: field 'group': -1 is out of range (0 to 65535)"},
        {"key beyond 32 bits", "[module 0]\nOPTION 1 key1=0x100000000",
         "t.txt:2: field 'key1': 0x100000000 is out of range (0 to 4294967295)"},
        {"quoted number", "[module 0]\nLABEL 1 group=\"5\"", "t.txt:2: field 'group' takes a number, not a quoted text"},
        {"unknown field", "[module 0]\nLABEL 1 colour=5", "t.txt:2: unknown field 'colour'"},
        {"unknown state", "[module 0]\nLABEL 1 state=GONE", "t.txt:2: unknown state 'GONE'"},
        {"unknown class", "[module 0]\nLABEL 1 class=FOO", "t.txt:2: unknown class 'FOO'"},
        {"unknown style", "[module 0]\nLABEL 1 style=BOLD", "t.txt:2: unknown style 'BOLD'"},
        {"class number out of range", "[module 0]\nLABEL 1 class=300", "t.txt:2: class: 300 is out of range (-128 to 127)"},
        {"field twice", "[module 0]\nLABEL 1 group=1 group=2", "t.txt:2: 'group' given twice"},
        {"required twice", "[module 0]\nLABEL 1 required required", "t.txt:2: 'required' given twice"},
        {"two texts", "[module 0]\nLABEL 1 \"a\" \"b\"", "t.txt:2: more than one text on the line"},
        {"stray word", "[module 0]\nLABEL 1 reqd",
         "t.txt:2: unexpected 'reqd' (fields are written name=value; the text is quoted)"},
        {"text first", "[module 0]\n\"x\" 1", "t.txt:2: a line must start with an element type"},
        {"odd indentation", "[module 0]\n   LABEL 1",
         "t.txt:2: indentation of 3 spaces is not a whole level (two spaces a level)"},
        {"level jump", "[module 0]\nPAGE 1\n    LABEL 2",
         "t.txt:3: indentation jumps from level 0 to level 2; go one level deeper at a time"},
        {"element before module", "# header\nLABEL 1", "t.txt:2: element before any \"[module N]\" line"},
        {"module out of range", "[module 10]", "t.txt:1: module number: 10 is out of range (0 to 9)"},
        {"module not a number", "[module x]", "t.txt:1: module number: 'x' is not a number"},
        {"indented module line", "  [module 0]", "t.txt:1: a module line reads \"[module N]\" at the start of the line"},
        {"module line with more", "[module 0] extra", "t.txt:1: a module line reads \"[module N]\" at the start of the line"},
        {"module twice", "[module 0]\nLABEL 1\n[module 0]\nLABEL 2", "t.txt:3: module 0 is already given at t.txt:1"},
        {"bad escape", "[module 0]\nLABEL 1 \"caf\\q\"", "t.txt:2: unknown escape \\q (use \\n \\t \\r \\\\ \\\" or \\xHH)"},
    };
    for (const ErrorCase& c : cases) {
        SourceErrors errors;
        parseDisplay(c.source, &errors, false);
        EXPECT_THAT(errors.messages, Contains(c.message)) << c.name << ":\n" << joined(errors);
    }
}

TEST(DisplaySource, EveryMalformedLineIsReportedNotJustTheFirst)
{
    SourceErrors errors;
    parseDisplay("[module 0]\nMODULE 1\nBOX 2\nLABEL 3 x=1\n  LABEL 4\nLABEL 5 group=x\n", &errors);
    ASSERT_EQ(errors.messages.size(), 3u) << joined(errors);
    EXPECT_THAT(errors.messages[0], HasSubstr("t.txt:3:"));
    EXPECT_THAT(errors.messages[1], HasSubstr("t.txt:4:"));
    EXPECT_THAT(errors.messages[2], HasSubstr("t.txt:6:"));
}

TEST(DisplaySource, ModulesRunFromZeroWithoutGapOrEmptyModule)
{
    const ErrorCase cases[] = {
        {"gap", "[module 0]\nMODULE 1\n[module 2]\nMODULE 2",
         "t.txt:3: module 2 follows a missing module 1: the program stops at the first missing module"},
        {"no module 0", "[module 1]\nMODULE 1",
         "t.txt:1: module 1 follows a missing module 0: the program stops at the first missing module"},
        {"empty module", "[module 0]\n# nothing yet\n[module 1]\nMODULE 2",
         "t.txt:1: module 0 has no elements: the program stops at the first empty module"},
        {"no module at all", "# empty\n", "display sources: no module given"},
    };
    for (const ErrorCase& c : cases) {
        SourceErrors errors;
        parseDisplay(c.source, &errors);
        EXPECT_THAT(errors.messages, Contains(c.message)) << c.name << ":\n" << joined(errors);
    }
    SourceErrors errors;
    DisplaySource s;
    parseDisplayText("[module 1]\n  MODULE 9523\n", "b.txt", &s, &errors);
    parseDisplayText("[module 0]\nMODULE 1979\n", "a.txt", &s, &errors);
    finishDisplaySource(&s, &errors);
    EXPECT_TRUE(errors.empty()) << joined(errors);
    ASSERT_EQ(s.modules.size(), 2u);
    EXPECT_EQ(s.modules[0].number, 0) << "modules are put in number order whatever the file order";
}

TEST(DisplaySource, BuildRefusesWhatTheRecordFieldsCannotHold)
{
    std::string source = "[module 0]\nMODULE 1\n";
    std::string longText(1000, 'a');
    for (int i = 0; i < 70; ++i)
        source += "  LABEL " + std::to_string(i + 2) + " \"" + longText + "\"\n";
    SourceErrors errors;
    DisplaySource s = parseDisplay(source, &errors);
    ASSERT_TRUE(errors.empty());
    Bytes out;
    EXPECT_FALSE(buildDisplayDatabase(s, &out, &errors));
    EXPECT_THAT(joined(errors), HasSubstr("t.txt:1: module 0: the texts run past 65535 bytes"));
}

} // namespace
