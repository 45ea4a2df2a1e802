// The script language of zura-sim: one command a line, '#' starts a comment, TEXT arguments may
// be quoted with double quotes and the escapes \" \\ \n and \xHH. Texts are 8-bit: each byte is
// one character, as in the device program.
#pragma once
#include <string>
#include <vector>

struct ScriptWord {
    std::string text;     // unquoted and unescaped
    bool quoted = false;
    std::string rest;     // the raw line from this word on (comment and trailing blanks removed)
};

struct ScriptLine {
    int number = 0;
    std::vector<ScriptWord> words;   // words[0] is the command
    // Argument i as TEXT: a quoted word, or the rest of the line from an unquoted one.
    std::string text(std::size_t i) const;
};

// Splits a script into its command lines (blank and comment-only lines dropped). Returns false
// with *error (naming the line) for an unterminated quote or a bad escape.
bool parseScript(const std::string& script, std::vector<ScriptLine>* lines, std::string* error);
