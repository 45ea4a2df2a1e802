// Parsing the display database's source and building the database from it. Code names (types,
// classes, styles) are looked up in the program's own tables, so the tool and the program can
// never disagree about what "POPUP_LINK" or "RECOMMEND" means.
#include "tools/dbtool/lib/display_source.h"

#include <algorithm>
#include <cstring>

#include "questionnaire/elements.h"

namespace {

// Default states have no table in the program (only 1 and 2 exist); these are their names.
const char* const stateNames[] = {"", "DISABLED", "HIDDEN"};

int stateCode(const char* name)
{
    for (int i = 1; i < 3; ++i)
        if (std::strcmp(stateNames[i], name) == 0)
            return i;
    return 0;
}

// A code given by name (looked up with lookup) or as a number.
bool parseCode(const Token& t, const char* what, int (*lookup)(const char*), std::int8_t* out, std::string* error)
{
    if (t.quoted) {
        *error = std::string(what) + " must be a name, not a quoted text";
        return false;
    }
    int code = lookup(t.value.c_str());
    if (code != 0) {
        *out = std::int8_t(code);
        return true;
    }
    std::int64_t v = 0;
    std::string numberError;
    if (!t.value.empty() && (t.value[0] == '-' || (t.value[0] >= '0' && t.value[0] <= '9'))) {
        if (!parseNumber(t.value, -128, 127, &v, &numberError)) {
            *error = std::string(what) + ": " + numberError;
            return false;
        }
        *out = std::int8_t(v);
        return true;
    }
    *error = std::string("unknown ") + what + " '" + t.value + "'";
    return false;
}

bool parseField(const Token& t, std::int64_t high, std::int64_t* out, std::string* error)
{
    if (t.quoted) {
        *error = "field '" + t.name + "' takes a number, not a quoted text";
        return false;
    }
    std::string e;
    if (!parseNumber(t.value, 0, high, out, &e)) {
        *error = "field '" + t.name + "': " + e;
        return false;
    }
    return true;
}

// The name=value fields and flags after the id; false with a message on the first bad one.
bool parseElementFields(const std::vector<Token>& tokens, ElementSpec* e, std::string* error)
{
    std::vector<std::string> seen;
    bool haveText = false;
    for (std::size_t i = 2; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.name.empty() && t.quoted) {
            if (haveText) {
                *error = "more than one text on the line";
                return false;
            }
            haveText = true;
            e->hasText = true;
            e->text = t.value;
            continue;
        }
        std::string key = t.name.empty() ? t.value : t.name;
        if (std::find(seen.begin(), seen.end(), key) != seen.end()) {
            *error = "'" + key + "' given twice";
            return false;
        }
        seen.push_back(key);
        std::int64_t v = 0;
        bool ok = true;
        if (t.name.empty()) {
            if (key != "required") {
                *error = "unexpected '" + key + "' (fields are written name=value; the text is quoted)";
                return false;
            }
            e->required = true;
        } else if (key == "key1" || key == "key2") {
            ok = parseField(t, 0xFFFFFFFFll, &v, error);
            (key == "key1" ? e->key1 : e->key2) = std::uint32_t(v);
        } else if (key == "group" || key == "default" || key == "sub") {
            ok = parseField(t, 0xFFFF, &v, error);
            (key == "group" ? e->group : key == "default" ? e->defaultValue : e->subObject) = std::uint16_t(v);
        } else if (key == "state") {
            ok = parseCode(t, "state", stateCode, &e->defaultState, error);
        } else if (key == "class") {
            ok = parseCode(t, "class", elementClassCode, &e->elementClass, error);
        } else if (key == "style") {
            ok = parseCode(t, "style", elementStyleCode, &e->style, error);
        } else if (key == "attr") {
            e->hasAttributes = true;
            e->attributes = t.value;
        } else {
            *error = "unknown field '" + key + "'";
            return false;
        }
        if (!ok)
            return false;
    }
    // The attribute string is stored right after the text, so it needs one, if only empty.
    if (e->hasAttributes && !e->hasText)
        e->hasText = true;
    return true;
}

bool parseElementLine(const SourceLine& line, ElementSpec* e, std::string* error)
{
    const std::vector<Token>& t = line.tokens;
    if (!t[0].name.empty() || t[0].quoted) {
        *error = "a line must start with an element type";
        return false;
    }
    if (!parseCode(t[0], "element type", elementTypeCode, &e->type, error))
        return false;
    if (t.size() < 2 || !t[1].name.empty() || t[1].quoted) {
        *error = "missing element id after " + t[0].value;
        return false;
    }
    std::int64_t id = 0;
    std::string numberError;
    if (!parseNumber(t[1].value, 0, 0xFFFF, &id, &numberError)) {
        *error = "element id: " + numberError;
        return false;
    }
    e->id = std::uint16_t(id);
    e->hasText = false;
    return parseElementFields(t, e, error);
}

// "[module N]" split by the tokenizer into "[module" and "N]"; -1 when the line is not one.
bool isModuleLine(const SourceLine& line) { return line.tokens[0].name.empty() && !line.tokens[0].quoted &&
                                                   !line.tokens[0].value.empty() && line.tokens[0].value[0] == '['; }

int parseModuleLine(const SourceLine& line, std::string* error)
{
    const std::vector<Token>& t = line.tokens;
    std::int64_t n = -1;
    std::string numberError;
    if (line.indent != 0 || t.size() != 2 || t[0].value != "[module" || t[1].quoted || t[1].value.size() < 2 ||
        t[1].value.back() != ']') {
        *error = "a module line reads \"[module N]\" at the start of the line";
        return -1;
    }
    if (!parseNumber(t[1].value.substr(0, t[1].value.size() - 1), 0, displayModuleCount - 1, &n, &numberError)) {
        *error = "module number: " + numberError;
        return -1;
    }
    return int(n);
}

} // namespace

void parseDisplayText(const std::string& text, const std::string& fileName, DisplaySource* out, SourceErrors* errors)
{
    std::vector<SourceLine> lines = tokenizeSource(text, fileName, errors);
    DisplayModuleSource* module = nullptr;
    int previousLevel = -1;
    bool sawModuleLine = false;
    for (const SourceLine& line : lines) {
        std::string error;
        if (isModuleLine(line)) {
            int n = parseModuleLine(line, &error);
            module = nullptr;
            sawModuleLine = true;
            if (n < 0) {
                errors->add(line.place, error);
                continue;
            }
            for (const DisplayModuleSource& m : out->modules)
                if (m.number == n)
                    error = "module " + std::to_string(n) + " is already given at " + placeText(m.place);
            if (!error.empty()) {
                errors->add(line.place, error);
                continue;
            }
            out->modules.push_back(DisplayModuleSource{n, line.place, {}, {}});
            module = &out->modules.back();
            previousLevel = -1;
            continue;
        }
        if (!module) {
            // After a bad module line its elements are passed over; that line was reported.
            if (!sawModuleLine)
                errors->add(line.place, "element before any \"[module N]\" line");
            sawModuleLine = true;
            continue;
        }
        if (line.indent % indentPerLevel != 0) {
            errors->add(line.place, "indentation of " + std::to_string(line.indent) +
                                        " spaces is not a whole level (two spaces a level)");
            continue;
        }
        int level = line.indent / indentPerLevel;
        if (level > 127) {
            errors->add(line.place, "nested too deep (level " + std::to_string(level) + ", at most 127)");
            continue;
        }
        if (previousLevel >= 0 && level > previousLevel + 1) {
            errors->add(line.place, "indentation jumps from level " + std::to_string(previousLevel) + " to level " +
                                        std::to_string(level) + "; go one level deeper at a time");
            continue;
        }
        ElementSpec e;
        if (!parseElementLine(line, &e, &error)) {
            errors->add(line.place, error);
            continue;
        }
        e.level = std::int8_t(level);
        previousLevel = level;
        module->elements.push_back(e);
        module->places.push_back(line.place);
    }
}

void finishDisplaySource(DisplaySource* source, SourceErrors* errors)
{
    std::stable_sort(source->modules.begin(), source->modules.end(),
                     [](const DisplayModuleSource& a, const DisplayModuleSource& b) { return a.number < b.number; });
    for (std::size_t i = 0; i < source->modules.size(); ++i) {
        const DisplayModuleSource& m = source->modules[i];
        if (m.number != int(i)) {
            errors->add(m.place, "module " + std::to_string(m.number) + " follows a missing module " +
                                     std::to_string(i) + ": the program stops at the first missing module");
            break;
        }
        if (m.elements.empty())
            errors->add(m.place, "module " + std::to_string(m.number) +
                                     " has no elements: the program stops at the first empty module");
    }
    if (source->modules.empty())
        errors->add(SourcePlace{"display sources", 0}, "no module given");
}

bool buildDisplayDatabase(const DisplaySource& source, Bytes* out, SourceErrors* errors)
{
    std::vector<Bytes> records;
    bool ok = true;
    for (const DisplayModuleSource& m : source.modules) {
        std::string problem = moduleRecordsProblem(m.elements);
        if (!problem.empty()) {
            errors->add(m.place, "module " + std::to_string(m.number) + ": " + problem);
            ok = false;
            continue;
        }
        ModuleRecords r = makeModuleRecords(std::uint16_t(m.number), m.elements);
        records.push_back(r.hierarchy);
        records.push_back(r.strings);
    }
    if (ok)
        *out = makeContainer(records, "DisplayDB-Qx4k");
    return ok;
}

namespace {

std::string codeText(int code, const char* name) { return *name ? std::string(name) : std::to_string(code); }

} // namespace

std::string elementSourceText(const ElementSpec& e)
{
    std::string s = codeText(e.type, elementTypeName(e.type)) + " " + std::to_string(e.id);
    if (e.key1)
        s += " key1=" + hex32(e.key1);
    if (e.key2)
        s += " key2=" + std::to_string(e.key2);
    if (e.group)
        s += " group=" + std::to_string(e.group);
    if (e.defaultValue)
        s += " default=" + (e.defaultValue == 0xFFFF ? std::string("0xFFFF") : std::to_string(e.defaultValue));
    if (e.subObject)
        s += " sub=" + std::to_string(e.subObject);
    if (e.defaultState)
        s += " state=" + codeText(e.defaultState, e.defaultState > 0 && e.defaultState < 3 ? stateNames[e.defaultState] : "");
    if (e.elementClass)
        s += " class=" + codeText(e.elementClass, elementClassName(e.elementClass));
    if (e.style)
        s += " style=" + codeText(e.style, elementStyleName(e.style));
    if (e.required)
        s += " required";
    if (e.hasAttributes)
        s += " attr=" + quoteText(e.attributes);
    if (e.hasText)
        s += " " + quoteText(e.text);
    return s;
}
