// The zura-sim script language: words, quoted texts with their escapes, comments, and the rest
// of a line as an unquoted TEXT.
#include "hosts/sim/screen.h"
#include "hosts/sim/script.h"

#include <gtest/gtest.h>

TEST(SimScript, LinesSplitIntoWordsAndTexts)
{
    struct Case {
        const char* line;
        std::vector<std::string> words;
        std::string text1;   // argument 1 read as TEXT
    } cases[] = {
        {"tap next", {"tap", "next"}, "next"},
        {"  expect Zura Management   # the title", {"expect", "Zura", "Management"}, "Zura Management"},
        {"tap \"Sleep apnea\"", {"tap", "Sleep apnea"}, "Sleep apnea"},
        {"answer \"Don't Show Again\"", {"answer", "Don't Show Again"}, "Don't Show Again"},
        {"expect \"say \\\"hi\\\" \\\\ \\n\"", {"expect", "say \"hi\" \\ \n"}, "say \"hi\" \\ \n"},
        {"type id:12 \"1\\x32\\x2E5\"", {"type", "id:12", "12.5"}, "id:12 \"1\\x32\\x2E5\""},
        {"expect \"a # is text inside quotes\"", {"expect", "a # is text inside quotes"}, "a # is text inside quotes"},
        {"expect caf\xe9", {"expect", "caf\xe9"}, "caf\xe9"},
        {"scroll to 5\r", {"scroll", "to", "5"}, "to 5"},
    };
    for (const Case& c : cases) {
        std::vector<ScriptLine> lines;
        std::string error;
        ASSERT_TRUE(parseScript(c.line, &lines, &error)) << c.line << ": " << error;
        ASSERT_EQ(lines.size(), 1u) << c.line;
        std::vector<std::string> words;
        for (const ScriptWord& w : lines[0].words)
            words.push_back(w.text);
        EXPECT_EQ(words, c.words) << c.line;
        EXPECT_EQ(lines[0].text(1), c.text1) << c.line;
    }
}

TEST(SimScript, BlankAndCommentLinesAreDroppedAndLinesKeepTheirNumbers)
{
    std::vector<ScriptLine> lines;
    std::string error;
    ASSERT_TRUE(parseScript("# a walk\n\n  \ntap next\n   # indented comment\nscreen", &lines, &error));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].number, 4);
    EXPECT_EQ(lines[1].number, 6);
}

TEST(SimScript, MalformedQuotesAndEscapesAreRefusedWithTheirLine)
{
    struct Case {
        const char* script;
        const char* error;
    } cases[] = {
        {"tap \"open", "line 1: unterminated quote"},
        {"screen\nexpect \"\\q\"", "line 2: bad escape \\q"},
        {"expect \"\\x4\"", "line 1: bad escape \\x"},
        {"expect \"\\xZZ\"", "line 1: bad escape \\x"},
        {"expect \"ends in a backslash\\", "line 1: unterminated quote"},
    };
    for (const Case& c : cases) {
        std::vector<ScriptLine> lines;
        std::string error;
        EXPECT_FALSE(parseScript(c.script, &lines, &error)) << c.script;
        EXPECT_EQ(error, c.error) << c.script;
    }
}

TEST(SimScript, PrintedTextsUseTheSameEscapes)
{
    struct Case {
        std::u16string text;
        std::string printed;
    } cases[] = {
        {u"Next", "\"Next\""},
        {u"say \"hi\"\n", "\"say \\\"hi\\\"\\n\""},
        {u"a\\b", "\"a\\\\b\""},
        {u"caf\u00e9\t", "\"caf\\xe9\\x09\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(quoteText(c.text), c.printed);
    EXPECT_EQ(widen("caf\xe9"), u"caf\u00e9") << "script texts are 8-bit, a byte a character";
}
