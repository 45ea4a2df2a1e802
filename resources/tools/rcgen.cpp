// rcgen: turns the device program's resource script into the tables the portable build links.
// It reads the subset of the resource-compiler language the script uses (STRINGTABLE, ICON,
// BITMAP, ACCELERATORS, DIALOG with its item statements, #include and #define) and writes each
// resource in the binary form the resource compiler gives it, so FindResourceW/LoadResource hand
// out the same bytes on both builds.   usage: rcgen SCRIPT OUTPUT.cpp
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Constants of <windows.h> the script may name (the resource compiler takes them from there).
const std::map<std::string, long> windowsNames = {
    {"WS_OVERLAPPED", 0}, {"WS_POPUP", 0x80000000L}, {"WS_CHILD", 0x40000000}, {"WS_MINIMIZE", 0x20000000},
    {"WS_VISIBLE", 0x10000000}, {"WS_DISABLED", 0x08000000}, {"WS_CLIPSIBLINGS", 0x04000000},
    {"WS_CLIPCHILDREN", 0x02000000}, {"WS_MAXIMIZE", 0x01000000}, {"WS_CAPTION", 0x00C00000},
    {"WS_BORDER", 0x00800000}, {"WS_DLGFRAME", 0x00400000}, {"WS_VSCROLL", 0x00200000},
    {"WS_HSCROLL", 0x00100000}, {"WS_SYSMENU", 0x00080000}, {"WS_THICKFRAME", 0x00040000},
    {"WS_GROUP", 0x00020000}, {"WS_TABSTOP", 0x00010000},
    {"DS_ABSALIGN", 0x01}, {"DS_SYSMODAL", 0x02}, {"DS_LOCALEDIT", 0x20}, {"DS_SETFONT", 0x40},
    {"DS_MODALFRAME", 0x80}, {"DS_NOIDLEMSG", 0x100}, {"DS_SETFOREGROUND", 0x200}, {"DS_CENTER", 0x800},
    {"BS_PUSHBUTTON", 0}, {"BS_DEFPUSHBUTTON", 1}, {"BS_CHECKBOX", 2}, {"BS_AUTOCHECKBOX", 3},
    {"BS_RADIOBUTTON", 4}, {"BS_GROUPBOX", 7}, {"BS_OWNERDRAW", 0xB}, {"BS_MULTILINE", 0x2000},
    {"BS_NOTIFY", 0x4000},
    {"ES_LEFT", 0}, {"ES_CENTER", 1}, {"ES_RIGHT", 2}, {"ES_MULTILINE", 4}, {"ES_UPPERCASE", 8},
    {"ES_LOWERCASE", 0x10}, {"ES_PASSWORD", 0x20}, {"ES_AUTOVSCROLL", 0x40}, {"ES_AUTOHSCROLL", 0x80},
    {"ES_NOHIDESEL", 0x100}, {"ES_READONLY", 0x800}, {"ES_WANTRETURN", 0x1000}, {"ES_NUMBER", 0x2000},
    {"SS_LEFT", 0}, {"SS_CENTER", 1}, {"SS_RIGHT", 2}, {"SS_ICON", 3}, {"SS_NOPREFIX", 0x80},
    {"SS_NOTIFY", 0x100},
    {"LBS_NOTIFY", 1}, {"LBS_SORT", 2}, {"CBS_SIMPLE", 1}, {"CBS_DROPDOWN", 2}, {"CBS_DROPDOWNLIST", 3},
    {"SBS_HORZ", 0}, {"SBS_VERT", 1},
    {"VK_BACK", 8}, {"VK_TAB", 9}, {"VK_RETURN", 0x0D}, {"VK_ESCAPE", 0x1B}, {"VK_SPACE", 0x20},
    {"IDOK", 1}, {"IDCANCEL", 2}, {"IDYES", 6}, {"IDNO", 7}, {"IDC_STATIC", -1},
};

// Resource types and the control class atoms, as the binary formats number them.
enum : int { RtIcon = 3, RtBitmap = 2, RtDialog = 5, RtString = 6, RtAccelerator = 9, RtGroupIcon = 14 };
const std::map<std::string, int> classAtoms = {
    {"BUTTON", 0x80}, {"EDIT", 0x81}, {"STATIC", 0x82}, {"LISTBOX", 0x83}, {"SCROLLBAR", 0x84}, {"COMBOBOX", 0x85},
};

struct Token {
    enum Kind { End, Name, Number, String, Punct } kind = End;
    std::string text;  // name, punctuation, or the string's bytes
    long value = 0;
    int line = 0;
};

struct Resource {
    int type;
    int id;
    Bytes data;
};

[[noreturn]] void fail(const std::string& where, int line, const std::string& message)
{
    std::fprintf(stderr, "%s:%d: %s\n", where.c_str(), line, message.c_str());
    std::exit(1);
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "rcgen: cannot read %s\n", path.string().c_str());
        std::exit(1);
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Removes comments, keeping line breaks so that line numbers stay right.
std::string stripComments(const std::string& text)
{
    std::string out;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); i++) {
        char c = text[i];
        if (inString) {
            out += c;
            if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
            out += c;
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            while (i < text.size() && text[i] != '\n')
                i++;
            out += '\n';
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            for (i += 2; i + 1 < text.size() && !(text[i] == '*' && text[i + 1] == '/'); i++)
                if (text[i] == '\n')
                    out += '\n';
            i++;
        } else {
            out += c;
        }
    }
    return out;
}

class Script {
public:
    explicit Script(fs::path path) : path_(std::move(path)), where_(path_.filename().string()) {}

    // Reads the script: directives first (line by line), then the statements.
    std::vector<Token> tokenize()
    {
        std::vector<Token> tokens;
        std::istringstream lines(stripComments(readFile(path_)));
        std::string line;
        int number = 0;
        while (std::getline(lines, line)) {
            number++;
            std::size_t first = line.find_first_not_of(" \t\r");
            if (first != std::string::npos && line[first] == '#') {
                directive(line.substr(first), number, path_.parent_path());
                continue;
            }
            scanLine(line, number, tokens);
        }
        Token end;
        end.line = number;
        tokens.push_back(end);
        return tokens;
    }

    long lookup(const std::string& name, int line) const
    {
        auto defined = defines_.find(name);
        if (defined != defines_.end())
            return defined->second;
        auto known = windowsNames.find(name);
        if (known != windowsNames.end())
            return known->second;
        fail(where_, line, "unknown name " + name);
    }

    fs::path folder() const { return path_.parent_path(); }
    const std::string& where() const { return where_; }

private:
    void directive(const std::string& line, int number, const fs::path& folder)
    {
        std::istringstream words(line.substr(1));
        std::string word;
        words >> word;
        if (word == "pragma" || word == "ifndef" || word == "endif")
            return;
        if (word == "include") {
            std::string target;
            words >> target;
            if (target.size() > 2 && target.front() == '"')
                header(folder / target.substr(1, target.size() - 2), number);
            else if (target.empty() || target.front() != '<')
                fail(where_, number, "bad #include");
            return;
        }
        if (word == "define") {
            std::string name, value;
            words >> name;
            std::getline(words, value);
            std::vector<Token> tokens;
            scanLine(value, number, tokens);
            if (tokens.empty())
                return;  // a guard such as #define NAME
            if (tokens.size() != 1 || tokens[0].kind != Token::Number)
                fail(where_, number, "#define " + name + " needs a number");
            defines_[name] = tokens[0].value;
            return;
        }
        fail(where_, number, "unsupported directive #" + word);
    }

    // A header gives only its #define lines; line is where the script included it.
    void header(const fs::path& file, int includedAt)
    {
        if (++depth_ > 8)
            fail(where_, includedAt, "#include nested too deeply: " + file.string());
        std::istringstream lines(stripComments(readFile(file)));
        std::string line;
        int number = 0;
        while (std::getline(lines, line)) {
            number++;
            std::size_t first = line.find_first_not_of(" \t\r");
            if (first != std::string::npos && line[first] == '#')
                directive(line.substr(first), number, file.parent_path());
        }
        depth_--;
    }

    void scanLine(const std::string& line, int number, std::vector<Token>& tokens)
    {
        std::size_t i = 0;
        while (i < line.size()) {
            char c = line[i];
            if (c == ' ' || c == '\t' || c == '\r') {
                i++;
                continue;
            }
            Token token;
            token.line = number;
            if (c == 'L' && i + 1 < line.size() && line[i + 1] == '"')
                c = line[++i];
            if (c == '"') {
                token.kind = Token::String;
                i = scanString(line, i + 1, number, token.text);
            } else if (std::isdigit(static_cast<unsigned char>(c))) {
                token.kind = Token::Number;
                const char* start = line.c_str() + i;
                char* stop = nullptr;
                errno = 0;
                unsigned long long value = std::strtoull(start, &stop, 0);
                if (errno != 0 || value > 0xFFFFFFFFull)
                    fail(where_, number, "number out of range");
                token.value = static_cast<long>(value);
                i += static_cast<std::size_t>(stop - start);
                while (i < line.size() && (line[i] == 'L' || line[i] == 'l' || line[i] == 'U' || line[i] == 'u'))
                    i++;
            } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
                token.kind = Token::Name;
                while (i < line.size() && (std::isalnum(static_cast<unsigned char>(line[i])) || line[i] == '_'))
                    token.text += line[i++];
            } else {
                token.kind = Token::Punct;
                token.text = std::string(1, c);
                i++;
            }
            tokens.push_back(token);
        }
    }

    // A quoted string: "" is a quote; \n, \t, \\, \" and \xHH escapes; bytes are Latin-1.
    std::size_t scanString(const std::string& line, std::size_t i, int number, std::string& text)
    {
        while (i < line.size()) {
            char c = line[i++];
            if (c == '"') {
                if (i < line.size() && line[i] == '"') {
                    text += '"';
                    i++;
                    continue;
                }
                return i;
            }
            if (c == '\\' && i < line.size()) {
                char e = line[i++];
                if (e == 'n')
                    text += '\n';
                else if (e == 't')
                    text += '\t';
                else if (e == 'x') {
                    int code = 0, digits = 0;
                    while (digits < 2 && i < line.size() && std::isxdigit(static_cast<unsigned char>(line[i]))) {
                        char h = line[i++];
                        code = code * 16 + (std::isdigit(static_cast<unsigned char>(h)) ? h - '0' : (h | 0x20) - 'a' + 10);
                        digits++;
                    }
                    if (digits == 0)
                        fail(where_, number, "\\x needs hexadecimal digits");
                    text += static_cast<char>(code);
                } else
                    text += e;
                continue;
            }
            text += c;
        }
        fail(where_, number, "unterminated string");
    }

    fs::path path_;
    std::string where_;
    std::map<std::string, long> defines_;
    int depth_ = 0;
};

void putWord(Bytes& out, long value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void putDword(Bytes& out, long value)
{
    putWord(out, value & 0xFFFF);
    putWord(out, (value >> 16) & 0xFFFF);
}

void putText(Bytes& out, const std::string& text)
{
    for (unsigned char c : text)
        putWord(out, c);
    putWord(out, 0);
}

void alignDword(Bytes& out)
{
    while (out.size() % 4)
        out.push_back(0);
}

class Parser {
public:
    Parser(Script& script, std::vector<Token> tokens) : script_(script), tokens_(std::move(tokens)) {}

    std::vector<Resource> run()
    {
        while (peek().kind != Token::End) {
            if (isName("STRINGTABLE")) {
                next();
                stringTable();
            } else if (isName("LANGUAGE")) {
                next();
                expression();
                expect(",");
                expression();
            } else {
                int id = static_cast<int>(expression());
                Token type = next();
                if (type.kind != Token::Name)
                    fail(script_.where(), type.line, "resource type expected");
                if (type.text == "BITMAP")
                    bitmap(id);
                else if (type.text == "ICON")
                    icon(id);
                else if (type.text == "ACCELERATORS")
                    accelerators(id);
                else if (type.text == "DIALOG")
                    dialog(id);
                else
                    fail(script_.where(), type.line, "unsupported resource type " + type.text);
            }
        }
        finishStrings();
        return resources_;
    }

private:
    const Token& peek() const { return tokens_[position_]; }
    Token next()
    {
        Token token = tokens_[position_];
        if (token.kind != Token::End)
            position_++;
        return token;
    }
    bool isName(const char* name) const { return peek().kind == Token::Name && peek().text == name; }
    bool isPunct(const char* p) const { return peek().kind == Token::Punct && peek().text == p; }
    void expect(const char* p)
    {
        if (!isPunct(p))
            fail(script_.where(), peek().line, std::string("expected ") + p);
        next();
    }
    bool skipComma()
    {
        if (!isPunct(","))
            return false;
        next();
        return true;
    }
    void begin()
    {
        if (isName("BEGIN") || isPunct("{"))
            next();
        else
            fail(script_.where(), peek().line, "expected BEGIN");
    }
    bool atEnd()
    {
        if (isName("END") || isPunct("}")) {
            next();
            return true;
        }
        if (peek().kind == Token::End)
            fail(script_.where(), peek().line, "missing END");
        return false;
    }

    long primary()
    {
        Token token = next();
        if (token.kind == Token::Number)
            return token.value;
        if (token.kind == Token::Name)
            return script_.lookup(token.text, token.line);
        if (token.kind == Token::Punct && token.text == "(") {
            long value = expression();
            expect(")");
            return value;
        }
        if (token.kind == Token::Punct && token.text == "-")
            return -primary();
        if (token.kind == Token::Punct && token.text == "~")
            return ~primary();
        fail(script_.where(), token.line, "number expected");
    }

    long expression()
    {
        long value = primary();
        while (isPunct("|") || isPunct("+")) {
            bool orBits = next().text == "|";
            long right = primary();
            value = orBits ? (value | right) : (value + right);
        }
        return value;
    }

    // A style list on top of a default: "A | B | NOT C" sets A and B and clears C.
    long styleList(long style)
    {
        for (bool first = true; first || isPunct("|"); first = false) {
            if (!first)
                next();
            if (isName("NOT")) {
                next();
                style &= ~primary();
            } else {
                style |= primary();
            }
        }
        return style;
    }

    std::string text()
    {
        Token token = next();
        if (token.kind != Token::String)
            fail(script_.where(), token.line, "quoted text expected");
        return token.text;
    }

    Bytes fileBytes(const std::string& name)
    {
        std::string content = readFile(script_.folder() / name);
        return Bytes(content.begin(), content.end());
    }

    void stringTable()
    {
        while (!isName("BEGIN") && !isPunct("{") && peek().kind != Token::End)
            next();  // memory options
        begin();
        while (!atEnd()) {
            int line = peek().line;
            long id = expression();
            skipComma();
            if (id < 0 || id > 0xFFFF || strings_.count(static_cast<int>(id)))
                fail(script_.where(), line, "bad or repeated string id");
            strings_[static_cast<int>(id)] = text();
        }
    }

    // Strings are stored in blocks of 16, block n holding ids (n - 1) * 16 to n * 16 - 1, each a
    // count followed by that many characters.
    void finishStrings()
    {
        std::map<int, std::vector<std::string>> blocks;
        for (const auto& [id, value] : strings_) {
            auto& block = blocks[id / 16 + 1];
            block.resize(16);
            block[id % 16] = value;
        }
        for (const auto& [blockId, entries] : blocks) {
            Bytes data;
            for (const std::string& entry : entries) {
                putWord(data, static_cast<long>(entry.size()));
                for (unsigned char c : entry)
                    putWord(data, c);
            }
            resources_.push_back({RtString, blockId, data});
        }
    }

    void bitmap(int id)
    {
        Bytes file = fileBytes(text());
        if (file.size() < 14 + 40 || file[0] != 'B' || file[1] != 'M')
            fail(script_.where(), tokens_[position_ - 1].line, "not a BMP file");
        resources_.push_back({RtBitmap, id, Bytes(file.begin() + 14, file.end())});
    }

    // An .ico file becomes one RT_ICON per image and an RT_GROUP_ICON directory naming them.
    void icon(int id)
    {
        int line = peek().line;
        Bytes file = fileBytes(text());
        auto word = [&](std::size_t at) { return at + 1 < file.size() ? file[at] | (file[at + 1] << 8) : -1; };
        auto dword = [&](std::size_t at) { return static_cast<long>(word(at)) | (static_cast<long>(word(at + 2)) << 16); };
        int count = word(4);
        if (word(0) != 0 || word(2) != 1 || count <= 0 || file.size() < 6 + 16u * count)
            fail(script_.where(), line, "not an icon file");
        Bytes group;
        putWord(group, 0);
        putWord(group, 1);
        putWord(group, count);
        for (int i = 0; i < count; i++) {
            std::size_t entry = 6 + 16 * i;
            long size = dword(entry + 8), offset = dword(entry + 12);
            if (size <= 0 || offset < 0 || static_cast<std::size_t>(offset + size) > file.size())
                fail(script_.where(), line, "icon image outside the file");
            int imageId = nextIconId_++;
            resources_.push_back({RtIcon, imageId, Bytes(file.begin() + offset, file.begin() + offset + size)});
            group.insert(group.end(), file.begin() + entry, file.begin() + entry + 12);
            putWord(group, imageId);
        }
        resources_.push_back({RtGroupIcon, id, group});
    }

    void accelerators(int id)
    {
        begin();
        Bytes data;
        std::size_t last = 0;
        while (!atEnd()) {
            int line = peek().line;
            long key = 0;
            bool ascii = peek().kind == Token::String;
            if (ascii) {
                std::string name = text();
                if (name.size() == 2 && name[0] == '^')
                    key = (name[1] & 0x1F);
                else if (name.size() == 1)
                    key = static_cast<unsigned char>(name[0]);
                else
                    fail(script_.where(), line, "bad accelerator key");
            } else {
                key = expression();
            }
            expect(",");
            long command = expression();
            long flags = 0;
            while (skipComma()) {
                Token option = next();
                static const std::map<std::string, long> options = {
                    {"VIRTKEY", 0x01}, {"NOINVERT", 0x02}, {"SHIFT", 0x04}, {"CONTROL", 0x08}, {"ALT", 0x10}, {"ASCII", 0}};
                auto found = options.find(option.text);
                if (found == options.end())
                    fail(script_.where(), option.line, "unknown accelerator option " + option.text);
                flags |= found->second;
            }
            last = data.size();
            putWord(data, flags);
            putWord(data, key);
            putWord(data, command);
            putWord(data, 0);
        }
        if (data.empty())
            fail(script_.where(), peek().line, "empty accelerator table");
        data[last] |= 0x80;  // the last entry of the table
        resources_.push_back({RtAccelerator, id, data});
    }

    struct Item {
        long style, exStyle;
        long x, y, cx, cy;
        long id;
        int atom;
        std::string title;
    };

    void coordinates(Item& item)
    {
        item.x = expression();
        expect(",");
        item.y = expression();
        expect(",");
        item.cx = expression();
        expect(",");
        item.cy = expression();
    }

    // Item statements and the styles the resource compiler gives them before the script's own.
    Item item(const Token& keyword)
    {
        static const std::map<std::string, std::pair<int, long>> kinds = {
            {"PUSHBUTTON", {0x80, 0x00010000}},    // BS_PUSHBUTTON | WS_TABSTOP
            {"DEFPUSHBUTTON", {0x80, 0x00010001}}, // BS_DEFPUSHBUTTON | WS_TABSTOP
            {"AUTOCHECKBOX", {0x80, 0x00010003}},  // BS_AUTOCHECKBOX | WS_TABSTOP
            {"EDITTEXT", {0x81, 0x00810000}},      // ES_LEFT | WS_BORDER | WS_TABSTOP
            {"LTEXT", {0x82, 0x00020000}},         // SS_LEFT | WS_GROUP
            {"CTEXT", {0x82, 0x00020001}},         // SS_CENTER | WS_GROUP
            {"RTEXT", {0x82, 0x00020002}},         // SS_RIGHT | WS_GROUP
            {"LISTBOX", {0x83, 0x00800001}},       // LBS_NOTIFY | WS_BORDER
            {"COMBOBOX", {0x85, 0x00010001}},      // CBS_SIMPLE | WS_TABSTOP
        };
        const long childVisible = 0x50000000;
        Item item{};
        if (keyword.text == "CONTROL") {
            item.title = text();
            expect(",");
            item.id = expression();
            expect(",");
            std::string className = text();
            for (char& c : className)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            auto atom = classAtoms.find(className);
            if (atom == classAtoms.end())
                fail(script_.where(), keyword.line, "unknown control class " + className);
            item.atom = atom->second;
            expect(",");
            item.style = styleList(childVisible);
            expect(",");
            coordinates(item);
            if (skipComma())
                item.exStyle = expression();
            return item;
        }
        auto kind = kinds.find(keyword.text);
        if (kind == kinds.end())
            fail(script_.where(), keyword.line, "unsupported dialog item " + keyword.text);
        item.atom = kind->second.first;
        bool titled = keyword.text != "EDITTEXT" && keyword.text != "LISTBOX" && keyword.text != "COMBOBOX";
        if (titled) {
            item.title = text();
            expect(",");
        }
        item.id = expression();
        expect(",");
        coordinates(item);
        item.style = childVisible | kind->second.second;
        if (skipComma()) {
            item.style = styleList(item.style);
            if (skipComma())
                item.exStyle = expression();
        }
        return item;
    }

    void dialog(int id)
    {
        Item box{};
        coordinates(box);
        bool captioned = false, fonted = false;
        long style = 0x80880000;  // WS_POPUP | WS_BORDER | WS_SYSMENU when no STYLE is given
        long pointSize = 0;
        std::string caption, face;
        while (!isName("BEGIN") && !isPunct("{") && peek().kind != Token::End) {
            Token option = next();
            if (option.text == "STYLE") {
                style = styleList(0);
            } else if (option.text == "EXSTYLE") {
                box.exStyle = expression();
            } else if (option.text == "CAPTION") {
                caption = text();
                captioned = true;
            } else if (option.text == "FONT") {
                pointSize = expression();
                expect(",");
                face = text();
                fonted = true;
            } else {
                fail(script_.where(), option.line, "unsupported dialog option " + option.text);
            }
        }
        if (captioned)
            style |= 0x00C00000;  // WS_CAPTION
        if (fonted)
            style |= 0x40;  // DS_SETFONT
        begin();
        std::vector<Item> items;
        while (!atEnd()) {
            Token keyword = next();
            if (keyword.kind != Token::Name)
                fail(script_.where(), keyword.line, "dialog item expected");
            items.push_back(item(keyword));
        }
        Bytes data;
        putDword(data, style);
        putDword(data, box.exStyle);
        putWord(data, static_cast<long>(items.size()));
        for (long v : {box.x, box.y, box.cx, box.cy})
            putWord(data, v);
        putWord(data, 0);  // no menu
        putWord(data, 0);  // the dialog class
        putText(data, caption);
        if (fonted) {
            putWord(data, pointSize);
            putText(data, face);
        }
        for (const Item& item : items) {
            alignDword(data);
            putDword(data, item.style);
            putDword(data, item.exStyle);
            for (long v : {item.x, item.y, item.cx, item.cy})
                putWord(data, v);
            putWord(data, item.id);
            putWord(data, 0xFFFF);
            putWord(data, item.atom);
            putText(data, item.title);
            putWord(data, 0);  // no creation data
        }
        resources_.push_back({RtDialog, id, data});
    }

    Script& script_;
    std::vector<Token> tokens_;
    std::size_t position_ = 0;
    std::map<int, std::string> strings_;
    std::vector<Resource> resources_;
    int nextIconId_ = 1;
};

void writeTable(const std::vector<Resource>& resources, const fs::path& output, const std::string& source)
{
    std::ostringstream out;
    out << "// Generated by rcgen from " << source << "; do not edit.\n"
        << "#include \"platform/portable/resource_table.h\"\n\n";
    for (std::size_t i = 0; i < resources.size(); i++) {
        out << "alignas(4) static const unsigned char resource" << i << "[] = {";
        const Bytes& data = resources[i].data;
        for (std::size_t b = 0; b < data.size(); b++)
            out << (b % 16 ? " " : "\n    ") << static_cast<int>(data[b]) << ",";
        out << "\n};\n";
    }
    out << "\nconst PortableResourceEntry portableResources[] = {\n";
    for (std::size_t i = 0; i < resources.size(); i++)
        out << "    {" << resources[i].type << ", " << resources[i].id << ", resource" << i << ", sizeof resource" << i
            << "},\n";
    out << "};\nconst int portableResourceCount = " << resources.size() << ";\n";
    std::string text = out.str();
    std::ofstream file(output, std::ios::binary);
    file << text;
    if (!file) {
        std::fprintf(stderr, "rcgen: cannot write %s\n", output.string().c_str());
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: rcgen SCRIPT.rc OUTPUT.cpp\n");
        return 2;
    }
    Script script{fs::path(argv[1])};
    std::vector<Token> tokens = script.tokenize();
    Parser parser(script, tokens);
    std::vector<Resource> resources = parser.run();
    writeTable(resources, argv[2], fs::path(argv[1]).filename().string());
    return 0;
}
