// Parsing zura-sim scripts into command lines of words (see script.h).
#include "hosts/sim/script.h"

#include <cctype>

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = char(std::tolower((unsigned char)c));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// Reads a quoted word starting after its opening quote; false for a bad escape or no end.
bool readQuoted(const std::string& line, std::size_t& i, std::string& out, std::string& why)
{
    while (i < line.size()) {
        char c = line[i++];
        if (c == '"')
            return true;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (i >= line.size())
            break;
        char e = line[i++];
        if (e == '"' || e == '\\') {
            out += e;
        } else if (e == 'n') {
            out += '\n';
        } else if (e == 'x' && i + 1 < line.size() && hexDigit(line[i]) >= 0 && hexDigit(line[i + 1]) >= 0) {
            out += char(hexDigit(line[i]) * 16 + hexDigit(line[i + 1]));
            i += 2;
        } else {
            why = std::string("bad escape \\") + e;
            return false;
        }
    }
    if (why.empty())
        why = "unterminated quote";
    return false;
}

bool parseLine(const std::string& line, ScriptLine& out, std::string& why)
{
    std::size_t i = 0;
    std::vector<std::size_t> starts;
    while (i < line.size()) {
        while (i < line.size() && std::isspace((unsigned char)line[i]))
            ++i;
        if (i >= line.size() || line[i] == '#')
            break;
        ScriptWord w;
        starts.push_back(i);
        if (line[i] == '"') {
            ++i;
            w.quoted = true;
            if (!readQuoted(line, i, w.text, why))
                return false;
        } else {
            while (i < line.size() && !std::isspace((unsigned char)line[i]) && line[i] != '#')
                w.text += line[i++];
        }
        out.words.push_back(w);
        if (i < line.size() && line[i] == '#')
            break;
    }
    std::size_t end = i;
    while (end > 0 && std::isspace((unsigned char)line[end - 1]))
        --end;
    for (std::size_t k = 0; k < out.words.size(); ++k)
        out.words[k].rest = starts[k] < end ? line.substr(starts[k], end - starts[k]) : "";
    return true;
}

}  // namespace

std::string ScriptLine::text(std::size_t i) const
{
    if (i >= words.size())
        return "";
    return words[i].quoted ? words[i].text : words[i].rest;
}

bool parseScript(const std::string& script, std::vector<ScriptLine>* lines, std::string* error)
{
    int number = 0;
    std::size_t at = 0;
    while (at <= script.size()) {
        std::size_t nl = script.find('\n', at);
        std::string line = script.substr(at, nl == std::string::npos ? std::string::npos : nl - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        ++number;
        ScriptLine parsed;
        parsed.number = number;
        std::string why;
        if (!parseLine(line, parsed, why)) {
            *error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
        if (!parsed.words.empty())
            lines->push_back(parsed);
        if (nl == std::string::npos)
            break;
        at = nl + 1;
    }
    return true;
}
