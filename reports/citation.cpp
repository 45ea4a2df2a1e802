// Citation templates, one row of steps per reference type. A field step appends its prefix, the
// field and its suffix only when the field is not empty; "plural" appends "s" after the suffix
// when the field holds a ',' (several editors); then suffix2. An "always" step appends its
// literal. The "volume" step appends its literal (and field 9 when it is named) when field 9 or
// field 10 is not empty. The pieces are gathered and measured first, then copied into a block of
// exactly their size.
#include "reports/citation.h"

#include <cstring>

#include "dbfile/heap.h"

namespace {

enum StepKind : unsigned char { Field, Always, Volume, End };

// A literal and its length, measured when the table is compiled.
struct Literal {
    const char* text;
    unsigned char length;
};

struct Step {
    StepKind kind;
    signed char field;      // Field: the field; Volume: 9 to append field 9, -1 for the literal alone
    Literal prefix;         // Always and Volume: the literal
    Literal suffix;
    bool plural;
    Literal suffix2;
};

constexpr int maxSteps = 11;
struct Template {
    Step steps[maxSteps];
};

#define L(text) {text, sizeof(text) - 1}
#define F(k, pre, suf) {Field, k, L(pre), L(suf), false, L("")}
#define FS(k, pre, suf, suf2) {Field, k, L(pre), L(suf), true, L(suf2)}
#define A(text) {Always, -1, L(text), L(""), false, L("")}
#define V(k, text) {Volume, k, L(text), L(""), false, L("")}
#define E {End, -1, L(""), L(""), false, L("")}

// ORDER: row t is reference type t (0 is unused); types outside 1..13 use otherTemplate.
const Template templates[14] = {
    /* 0 */ {{E}},
    /* 1 journal article */
    {{F(1, "", ". "), F(2, "", ". "), F(8, "", ". "), F(5, "", ""), V(9, ";"), F(10, "(", ")"), F(11, ":", ""), E}},
    /* 2 */ {{E}},
    /* 3 article with erratum */
    {{F(1, "", ". "), F(2, "", ""), F(8, "[published erratum appears in ", ";]. "), F(8, "", ". "), F(5, "", ""),
      V(9, ";"), E}},
    /* 4 in press */
    {{F(1, "", ". "), F(2, "", ". "), F(8, "", ". "), F(5, "In press ", ""), A("."), E}},
    /* 5 book */
    {{F(1, "", ". "), F(2, "", ". "), F(7, "", "ed. "), F(14, "", ": "), F(4, "", "; "), F(5, "", ""), A("."), E}},
    /* 6 edited book */
    {{FS(1, "", ", editor", ". "), F(2, "", ". "), F(7, "", "ed. "), F(14, "", ": "), F(4, "", "; "), F(5, "", ""),
      A("."), E}},
    /* 7 book, as 5 */
    {{F(1, "", ". "), F(2, "", ". "), F(7, "", "ed. "), F(14, "", ": "), F(4, "", "; "), F(5, "", ""), A("."), E}},
    /* 8 chapter */
    {{F(1, "", ". "), F(15, "", ". "), FS(16, "In: ", " , editor", ". "), F(2, "", ". "), F(7, "", " ed. "),
      F(14, "", ": "), F(4, "", "; "), F(5, "", ". "), F(11, "p. ", ""), A(". "), E}},
    /* 9 */
    {{F(1, "", ". "), FS(16, "In: ", " , editor", ". "), F(2, "", ". "), F(14, "", ": "), F(4, "", "; "),
      F(5, "", ". "), E}},
    /* 10 */
    {{F(1, "", ". "), F(2, "", ". "), FS(16, "In: ", " , editor", ". "), F(14, "", ": "), F(4, "", "; "),
      F(5, "", ". "), F(11, "p. ", ""), A(". "), E}},
    /* 11 software */
    {{F(2, "", ". "), F(1, "", ". "), F(7, "", " ed. "), F(10, "Version ", ". "), F(14, "", ": "), F(4, "", "; "),
      F(5, "", ". "), E}},
    /* 12 package insert */
    {{F(2, "", ""), A(" package insert. "), F(14, "", ": "), F(4, "", "; "), F(5, "", ". "), E}},
    /* 13 web page */
    {{F(2, "", ". "), F(6, "URL: ", ""), E}},
};

const Template otherTemplate = {{F(1, "", ". "), F(2, "", ". "), F(8, "", ". "), F(5, "In press ", ". "), V(-1, ";"),
                                 F(9, "", " "), F(10, "(", ")"), F(11, "p. ", ""), A(". "), E}};

#undef L
#undef F
#undef FS
#undef A
#undef V
#undef E

bool present(const char* field) { return field && field[0]; }

// The pieces of a citation, each measured once: at most five a step.
constexpr int maxParts = maxSteps * 5;
struct Parts {
    const char* text[maxParts];
    std::size_t length[maxParts];
    int count;
    std::size_t total;
};

void addPart(Parts* parts, const char* text, std::size_t length)
{
    if (length == 0)
        return;
    parts->text[parts->count] = text;
    parts->length[parts->count++] = length;
    parts->total += length;
}

void addPart(Parts* parts, Literal literal) { addPart(parts, literal.text, literal.length); }
void addPart(Parts* parts, const char* field) { addPart(parts, field, std::strlen(field)); }

void applyTemplate(const Template& t, const ReferenceEntry* entry, Parts* out)
{
    for (const Step& step : t.steps) {
        if (step.kind == End)
            break;
        if (step.kind == Always) {
            addPart(out, step.prefix);
        } else if (step.kind == Volume) {
            if (present(entry->fields[9]) || present(entry->fields[10])) {
                addPart(out, step.prefix);
                if (step.field >= 0 && entry->fields[step.field])
                    addPart(out, entry->fields[step.field]);
            }
        } else {
            const char* field = entry->fields[step.field];
            if (!present(field))
                continue;
            addPart(out, step.prefix);
            addPart(out, field);
            addPart(out, step.suffix);
            if (step.plural && std::strchr(field, ','))
                addPart(out, Literal{"s", 1});
            addPart(out, step.suffix2);
        }
    }
}

} // namespace

char* formatCitation(const ReferenceEntry* entry)
{
    int type = entry->type;
    const Template& t = (type >= 1 && type <= 13) ? templates[type] : otherTemplate;
    Parts parts;
    parts.count = 0;
    parts.total = 0;
    applyTemplate(t, entry, &parts);
    char* text = static_cast<char*>(allocBlock(parts.total + 1));
    if (!text)
        return nullptr;
    char* at = text;
    for (int i = 0; i < parts.count; ++i) {
        std::memcpy(at, parts.text[i], parts.length[i]);
        at += parts.length[i];
    }
    *at = '\0';
    return text;
}
