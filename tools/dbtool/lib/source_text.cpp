// Lines, tokens, quoted texts and numbers of the text sources. Source files are UTF-8; the
// device's texts are one byte per character, so characters up to U+00FF become that byte and
// anything beyond is refused rather than stored as mojibake.
#include "tools/dbtool/lib/source_text.h"

#include <cstdio>
#include <fstream>
#include <sstream>

std::string placeText(const SourcePlace& place)
{
    return place.line > 0 ? place.file + ":" + std::to_string(place.line) : place.file;
}

void SourceErrors::add(const SourcePlace& place, const std::string& message)
{
    messages.push_back(placeText(place) + ": " + message);
}

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One UTF-8 character starting at line[pos] (a byte >= 0x80) as a byte of 8-bit text.
bool takeUtf8(const std::string& line, std::size_t* pos, std::string* out, std::string* error)
{
    unsigned char lead = static_cast<unsigned char>(line[*pos]);
    int extra = (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || *pos + std::size_t(extra) >= line.size()) {
        *error = "invalid UTF-8 in a text; write such bytes as \\xHH";
        return false;
    }
    std::uint32_t code = lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        unsigned char c = static_cast<unsigned char>(line[*pos + i]);
        if ((c & 0xC0) != 0x80) {
            *error = "invalid UTF-8 in a text; write such bytes as \\xHH";
            return false;
        }
        code = (code << 6) | (c & 0x3F);
    }
    if (code < 0x80 || code > 0xFF) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "character U+%04X cannot be stored in the device's 8-bit text", code);
        *error = buf;
        return false;
    }
    out->push_back(char(code));
    *pos += extra + 1;
    return true;
}

// A quoted text starting at line[*pos] == '"'; leaves *pos after the closing quote.
bool takeQuoted(const std::string& line, std::size_t* pos, std::string* out, std::string* error)
{
    std::size_t i = *pos + 1;
    while (i < line.size()) {
        char c = line[i];
        if (c == '"') {
            *pos = i + 1;
            return true;
        }
        if (static_cast<unsigned char>(c) >= 0x80) {
            if (!takeUtf8(line, &i, out, error))
                return false;
            continue;
        }
        if (c != '\\') {
            out->push_back(c);
            ++i;
            continue;
        }
        if (i + 1 >= line.size())
            break;
        char e = line[i + 1];
        i += 2;
        switch (e) {
        case 'n': out->push_back('\n'); break;
        case 't': out->push_back('\t'); break;
        case 'r': out->push_back('\r'); break;
        case '\\': out->push_back('\\'); break;
        case '"': out->push_back('"'); break;
        case 'x': {
            int hi = i < line.size() ? hexDigit(line[i]) : -1;
            int lo = i + 1 < line.size() ? hexDigit(line[i + 1]) : -1;
            if (hi < 0 || lo < 0) {
                *error = "\\x must be followed by two hexadecimal digits";
                return false;
            }
            if (hi == 0 && lo == 0) {
                *error = "a text cannot hold a NUL byte (\\x00): it would end the text";
                return false;
            }
            out->push_back(char(hi * 16 + lo));
            i += 2;
            break;
        }
        default:
            *error = std::string("unknown escape \\") + e + " (use \\n \\t \\r \\\\ \\\" or \\xHH)";
            return false;
        }
    }
    *error = "text is not closed: missing '\"'";
    return false;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The tokens of one line from pos; false with a message on the first malformed token.
bool tokenizeLine(const std::string& line, std::size_t pos, std::vector<Token>* tokens, std::string* error)
{
    while (pos < line.size()) {
        if (isBlank(line[pos])) {
            ++pos;
            continue;
        }
        if (line[pos] == '#')
            break;
        Token t;
        if (line[pos] == '"') {
            t.quoted = true;
            if (!takeQuoted(line, &pos, &t.value, error))
                return false;
        } else {
            std::size_t start = pos;
            while (pos < line.size() && !isBlank(line[pos]) && line[pos] != '"' && line[pos] != '=')
                ++pos;
            std::string word = line.substr(start, pos - start);
            if (pos < line.size() && line[pos] == '=') {
                t.name = word;
                ++pos;
                if (t.name.empty()) {
                    *error = "'=' without a field name before it";
                    return false;
                }
                if (pos < line.size() && line[pos] == '"') {
                    t.quoted = true;
                    if (!takeQuoted(line, &pos, &t.value, error))
                        return false;
                } else {
                    std::size_t vstart = pos;
                    while (pos < line.size() && !isBlank(line[pos]) && line[pos] != '"')
                        ++pos;
                    t.value = line.substr(vstart, pos - vstart);
                    if (t.value.empty()) {
                        *error = "field '" + t.name + "' has no value after '='";
                        return false;
                    }
                }
            } else {
                t.value = word;
            }
            if (pos < line.size() && line[pos] == '"' && !t.quoted) {
                *error = "unexpected '\"' inside '" + line.substr(start, pos - start) + "'";
                return false;
            }
        }
        if (pos < line.size() && !isBlank(line[pos])) {
            *error = "a text must be followed by a blank";
            return false;
        }
        tokens->push_back(t);
    }
    return true;
}

} // namespace

std::vector<SourceLine> tokenizeSource(const std::string& text, const std::string& fileName, SourceErrors* errors)
{
    std::vector<SourceLine> lines;
    std::size_t start = 0;
    int number = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        SourceLine out;
        out.place = {fileName, number};
        std::size_t pos = 0;
        bool tab = false;
        while (pos < line.size() && isBlank(line[pos])) {
            tab = tab || line[pos] == '\t';
            ++pos;
        }
        if (pos == line.size() || line[pos] == '#')
            continue;
        if (tab) {
            errors->add(out.place, "tab in the indentation; indent with spaces");
            continue;
        }
        out.indent = int(pos);
        std::string error;
        if (!tokenizeLine(line, pos, &out.tokens, &error)) {
            errors->add(out.place, error);
            continue;
        }
        if (!out.tokens.empty())
            lines.push_back(out);
        if (end == text.size())
            break;
    }
    return lines;
}

bool readTextFile(const std::string& path, std::string* text, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = "cannot open " + path;
        return false;
    }
    std::ostringstream all;
    all << in.rdbuf();
    if (in.bad()) {
        *error = "cannot read " + path;
        return false;
    }
    *text = all.str();
    return true;
}

bool parseNumber(const std::string& text, std::int64_t low, std::int64_t high, std::int64_t* value,
                 std::string* error)
{
    std::size_t i = 0;
    bool negative = !text.empty() && text[0] == '-';
    if (negative)
        ++i;
    int base = 10;
    if (text.size() > i + 1 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    std::int64_t v = 0;
    bool any = false, ok = true;
    for (; i < text.size(); ++i) {
        int d = hexDigit(text[i]);
        if (d < 0 || d >= base) {
            ok = false;
            break;
        }
        any = true;
        if (v > (std::int64_t(1) << 40)) {   // far beyond any field; stop before overflow
            ok = false;
            break;
        }
        v = v * base + d;
    }
    if (!ok || !any) {
        *error = "'" + text + "' is not a number";
        return false;
    }
    if (negative)
        v = -v;
    if (v < low || v > high) {
        *error = text + " is out of range (" + std::to_string(low) + " to " + std::to_string(high) + ")";
        return false;
    }
    *value = v;
    return true;
}

std::string quoteText(const std::string& bytes)
{
    std::string out = "\"";
    for (char ch : bytes) {
        unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default:
            if (c >= 0x20 && c < 0x7F) {
                out.push_back(char(c));
            } else {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\x%02X", c);
                out += buf;
            }
        }
    }
    return out + "\"";
}

std::string hex32(std::uint32_t value)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", value);
    return buf;
}
