// The lexical layer shared by the text sources and the dumps: lines with their indentation,
// tokens (words, name=value pairs, quoted texts with escapes such as \xHH), numbers, and the
// quoting that turns stored bytes back into source text.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Where a source item was written, for messages of the form "file:line: what".
struct SourcePlace {
    std::string file;
    int line = 0;
};
std::string placeText(const SourcePlace& place);

// Collected problems, one line each, already prefixed with their place.
struct SourceErrors {
    std::vector<std::string> messages;
    void add(const SourcePlace& place, const std::string& message);
    bool empty() const { return messages.empty(); }
};

// One token: a bare word ("required", "PAGE"), a pair (name "group", value "5") or a quoted
// text (quoted, value holds the decoded bytes). A pair's value may itself be quoted.
struct Token {
    std::string name;    // empty unless the token was name=value
    std::string value;
    bool quoted = false;
};

// One non-blank, non-comment line: its indentation in spaces and its tokens.
struct SourceLine {
    SourcePlace place;
    int indent = 0;
    std::vector<Token> tokens;
};

// Splits text into lines and tokens. A '#' outside quotes starts a comment; blank and comment
// lines are dropped. Tabs in the indentation, unterminated quotes and bad escapes are errors
// (the line is then left out).
std::vector<SourceLine> tokenizeSource(const std::string& text, const std::string& fileName, SourceErrors* errors);

// Reads a whole file; false with a message when it cannot be read.
bool readTextFile(const std::string& path, std::string* text, std::string* error);

// A whole number in decimal or 0x hexadecimal, optionally negative, within [low, high];
// otherwise false with a message naming what was expected.
bool parseNumber(const std::string& text, std::int64_t low, std::int64_t high, std::int64_t* value,
                 std::string* error);

// The bytes as a quoted source text: printable ASCII as is, '"' and '\' escaped, \n \t \r, and
// every other byte as \xHH, so that parsing the result gives the same bytes back.
std::string quoteText(const std::string& bytes);
std::string hex32(std::uint32_t value);   // "0x913CE341"
