// Citations by reference type: punctuation of every template, empty fields, the [s] rule.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "dbfile/heap.h"
#include "reports/citation.h"

namespace {

struct Fields {
    const char* f[referenceFieldCount] = {};
};

std::string cite(int type, const Fields& fields)
{
    ReferenceEntry e{};
    e.id = 1;
    e.type = std::int8_t(type);
    static const char empty[] = "";
    for (int i = 0; i < referenceFieldCount; ++i)
        e.fields[i] = fields.f[i] ? fields.f[i] : empty;
    char* text = formatCitation(&e);
    std::string s = text ? text : "<null>";
    freeBlock(text);
    return s;
}

TEST(Citation, AllFieldsEmptyByType)
{
    struct Case {
        int type;
        const char* expected;
    } cases[] = {
        {1, ""}, {2, ""}, {3, ""}, {4, "."}, {5, "."}, {6, "."}, {7, "."}, {8, ". "}, {9, ""}, {10, ". "},
        {11, ""}, {12, " package insert. "}, {13, ""}, {0, ". "}, {14, ". "}, {-3, ". "},
    };
    Fields none;
    for (const Case& c : cases)
        EXPECT_EQ(cite(c.type, none), c.expected) << "type " << c.type;
}

TEST(Citation, FieldsInTheirTemplates)
{
    struct Case {
        const char* name;
        int type;
        std::vector<std::pair<int, const char*>> fields;   // field number, text
        const char* expected;
    } cases[] = {
        {"journal article", 1,
         {{1, "Smith J"}, {2, "Opioid dosing"}, {8, "J Analg"}, {5, "2003"}, {9, "4"}, {10, "2"}, {11, "10-5"}},
         "Smith J. Opioid dosing. J Analg. 2003;4(2):10-5"},
        {"journal article, year and issue only", 1, {{5, "2003"}, {10, "2"}}, "2003;(2)"},
        {"erratum: the source twice", 3, {{1, "Lee K"}, {2, "Title"}, {8, "Pain"}, {5, "1999"}, {9, "80"}},
         "Lee K. Title[published erratum appears in Pain;]. Pain. 1999;80"},
        {"one editor", 6,
         {{1, "Ready LB"}, {2, "Acute Pain"}, {7, "2nd "}, {14, "St Louis"}, {4, "Mosby"}, {5, "1993"}},
         "Ready LB, editor. Acute Pain. 2nd ed. St Louis: Mosby; 1993."},
        {"two editors", 6,
         {{1, "Ready LB, Edwards WT"}, {2, "Acute Pain"}, {7, "2nd "}, {14, "St Louis"}, {4, "Mosby"}, {5, "1993"}},
         "Ready LB, Edwards WT, editors. Acute Pain. 2nd ed. St Louis: Mosby; 1993."},
        {"chapter", 8,
         {{1, "Author A"}, {15, "Chapter"}, {16, "Ed A, Ed B"}, {2, "Book"}, {7, "3rd"}, {11, "1-9"}},
         "Author A. Chapter. In: Ed A, Ed B , editors. Book. 3rd ed. p. 1-9. "},
        {"a chapter's fields in a book's template", 5,
         {{1, "Author A"}, {15, "Chapter"}, {16, "Ed A, Ed B"}, {2, "Book"}, {7, "3rd"}, {11, "1-9"}},
         "Author A. Book. 3rded. ."},
        {"package insert", 12, {{2, "Duragesic"}, {14, "Titusville, NJ"}, {4, "Janssen"}, {5, "2003"}},
         "Duragesic package insert. Titusville, NJ: Janssen; 2003. "},
        {"web page", 13, {{2, "Guideline"}, {6, "http://example.org/"}}, "Guideline. URL: http://example.org/"},
        {"software", 11, {{2, "Program"}, {10, "2.1"}}, "Program. Version 2.1. "},
        {"an unknown type takes the general template", 20, {{1, "A"}, {5, "2004"}, {9, "7"}, {11, "3"}},
         "A. In press 2004. ;7 p. 3. "},
    };
    for (const Case& c : cases) {
        Fields f;
        for (const auto& [field, text] : c.fields)
            f.f[field] = text;
        EXPECT_EQ(cite(c.type, f), c.expected) << c.name;
    }
}

TEST(Citation, NoMemoryGivesNoText)
{
    ReferenceEntry e{};
    static const char empty[] = "";
    for (auto& field : e.fields)
        field = empty;
    e.type = 12;
    setAllocationFailure(1);
    EXPECT_EQ(formatCitation(&e), nullptr);
    setAllocationFailure(0);
}

} // namespace
