// The lexical layer: quoted texts and their escapes, malformed lines with their place, numbers.
#include <gtest/gtest.h>

#include "tools/dbtool/lib/source_text.h"

namespace {

struct TextCase {
    const char* name;
    std::string source;
    std::string bytes;
};

TEST(SourceText, QuotedTextsDecodeToTheirBytes)
{
    const TextCase cases[] = {
        {"plain", R"("Pain score (0-10):")", "Pain score (0-10):"},
        {"empty", R"("")", ""},
        {"two blanks kept", R"("S  Asleep")", "S  Asleep"},
        {"newline and tab", R"("a\nb\tc\r")", "a\nb\tc\r"},
        {"quote and backslash", R"("say \"x\" \\ y")", "say \"x\" \\ y"},
        {"hex bytes", R"("\x41\xe9\xFF\x01")", "A\xE9\xFF\x01"},
        {"latin-1 from UTF-8", "\"Tram\xC3\xA8r\"", "Tram\xE8r"},
        {"hash inside a text", R"("# not a comment")", "# not a comment"},
        {"equals inside a text", R"("SIZE=6")", "SIZE=6"},
    };
    for (const TextCase& c : cases) {
        SourceErrors errors;
        std::vector<SourceLine> lines = tokenizeSource(c.source, "t.txt", &errors);
        ASSERT_TRUE(errors.empty()) << c.name << ": " << errors.messages[0];
        ASSERT_EQ(lines.size(), 1u) << c.name;
        ASSERT_EQ(lines[0].tokens.size(), 1u) << c.name;
        EXPECT_TRUE(lines[0].tokens[0].quoted) << c.name;
        EXPECT_EQ(lines[0].tokens[0].value, c.bytes) << c.name;
    }
}

TEST(SourceText, MalformedLinesAreReportedWithFileAndLine)
{
    const TextCase cases[] = {
        {"unclosed text", "LABEL 1 \"open", "text is not closed"},
        {"unknown escape", R"(LABEL 1 "bad \q")", "unknown escape \\q"},
        {"short hex escape", R"(LABEL 1 "\x4")", "two hexadecimal digits"},
        {"NUL byte", R"(LABEL 1 "a\x00b")", "cannot hold a NUL byte"},
        {"beyond latin-1", "LABEL 1 \"\xE2\x82\xAC\"", "U+20AC cannot be stored"},
        {"broken UTF-8", "LABEL 1 \"\xC3\"", "invalid UTF-8"},
        {"tab indentation", "\tLABEL 1", "tab in the indentation"},
        {"text glued to a word", "LABEL 1 \"a\"b", "followed by a blank"},
        {"quote inside a word", "LABEL 1 ab\"c\"", "unexpected '\"'"},
        {"field without name", "LABEL 1 =5", "without a field name"},
        {"field without value", "LABEL 1 group=", "has no value"},
    };
    for (const TextCase& c : cases) {
        SourceErrors errors;
        std::vector<SourceLine> lines = tokenizeSource("# first line\n" + c.source + "\nLABEL 2\n", "t.txt", &errors);
        ASSERT_EQ(errors.messages.size(), 1u) << c.name;
        EXPECT_EQ(errors.messages[0].rfind("t.txt:2: ", 0), 0u) << c.name << ": " << errors.messages[0];
        EXPECT_NE(errors.messages[0].find(c.bytes), std::string::npos) << c.name << ": " << errors.messages[0];
        ASSERT_EQ(lines.size(), 1u) << c.name << ": the bad line is left out, the next one kept";
        EXPECT_EQ(lines[0].place.line, 3) << c.name;
    }
}

TEST(SourceText, QuotingGivesEveryByteBack)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(char(b));
    SourceErrors errors;
    std::vector<SourceLine> lines = tokenizeSource("x=" + quoteText(all), "t.txt", &errors);
    ASSERT_TRUE(errors.empty()) << errors.messages[0];
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].tokens[0].name, "x");
    EXPECT_EQ(lines[0].tokens[0].value, all);
}

TEST(SourceText, CommentsBlankLinesAndCarriageReturnsAreSkipped)
{
    SourceErrors errors;
    std::vector<SourceLine> lines =
        tokenizeSource("# a comment\r\n\r\n   \n  LABEL 1 group=2 # trailing\r\nPAGE 3", "t.txt", &errors);
    ASSERT_TRUE(errors.empty());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].place.line, 4);
    EXPECT_EQ(lines[0].indent, 2);
    ASSERT_EQ(lines[0].tokens.size(), 3u);
    EXPECT_EQ(lines[0].tokens[2].name, "group");
    EXPECT_EQ(lines[0].tokens[2].value, "2");
    EXPECT_EQ(lines[1].place.line, 5);
}

TEST(SourceText, NumbersInDecimalAndHexWithinTheirRange)
{
    struct Case {
        const char* text;
        std::int64_t low, high;
        bool ok;
        std::int64_t value;
    } cases[] = {
        {"663", 0, 0xFFFF, true, 663},
        {"0x913CE341", 0, 0xFFFFFFFFll, true, 0x913CE341},
        {"0xffff", 0, 0xFFFF, true, 0xFFFF},
        {"-128", -128, 127, true, -128},
        {"128", -128, 127, false, 0},
        {"65536", 0, 0xFFFF, false, 0},
        {"-1", 0, 0xFFFF, false, 0},
        {"12a", 0, 0xFFFF, false, 0},
        {"0x", 0, 0xFFFF, false, 0},
        {"", 0, 0xFFFF, false, 0},
        {"99999999999999999999", 0, 0xFFFF, false, 0},
    };
    for (const Case& c : cases) {
        std::int64_t v = -7;
        std::string error;
        EXPECT_EQ(parseNumber(c.text, c.low, c.high, &v, &error), c.ok) << c.text;
        if (c.ok)
            EXPECT_EQ(v, c.value) << c.text;
        else
            EXPECT_FALSE(error.empty()) << c.text;
    }
}

} // namespace
