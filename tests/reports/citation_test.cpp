// Citations by reference type: punctuation of every template, empty fields, the [s] rule.
#include <gtest/gtest.h>

#include <string>

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

TEST(Citation, JournalArticle)
{
    Fields f;
    f.f[1] = "Smith J";
    f.f[2] = "Opioid dosing";
    f.f[8] = "J Analg";
    f.f[5] = "2003";
    f.f[9] = "4";
    f.f[10] = "2";
    f.f[11] = "10-5";
    EXPECT_EQ(cite(1, f), "Smith J. Opioid dosing. J Analg. 2003;4(2):10-5");

    Fields issueOnly;
    issueOnly.f[5] = "2003";
    issueOnly.f[10] = "2";
    EXPECT_EQ(cite(1, issueOnly), "2003;(2)");
}

TEST(Citation, ErratumUsesTheSourceTwice)
{
    Fields f;
    f.f[1] = "Lee K";
    f.f[2] = "Title";
    f.f[8] = "Pain";
    f.f[5] = "1999";
    f.f[9] = "80";
    EXPECT_EQ(cite(3, f), "Lee K. Title[published erratum appears in Pain;]. Pain. 1999;80");
}

TEST(Citation, EditorsAndEditions)
{
    Fields one;
    one.f[1] = "Ready LB";
    one.f[2] = "Acute Pain";
    one.f[7] = "2nd ";
    one.f[14] = "St Louis";
    one.f[4] = "Mosby";
    one.f[5] = "1993";
    EXPECT_EQ(cite(6, one), "Ready LB, editor. Acute Pain. 2nd ed. St Louis: Mosby; 1993.");
    Fields two = one;
    two.f[1] = "Ready LB, Edwards WT";
    EXPECT_EQ(cite(6, two), "Ready LB, Edwards WT, editors. Acute Pain. 2nd ed. St Louis: Mosby; 1993.");

    Fields chapter;
    chapter.f[1] = "Author A";
    chapter.f[15] = "Chapter";
    chapter.f[16] = "Ed A, Ed B";
    chapter.f[2] = "Book";
    chapter.f[7] = "3rd";
    chapter.f[11] = "1-9";
    EXPECT_EQ(cite(8, chapter), "Author A. Chapter. In: Ed A, Ed B , editors. Book. 3rd ed. p. 1-9. ");
    EXPECT_EQ(cite(5, chapter), "Author A. Book. 3rded. .");
}

TEST(Citation, PackageInsertSoftwareAndWebPage)
{
    Fields insert;
    insert.f[2] = "Duragesic";
    insert.f[14] = "Titusville, NJ";
    insert.f[4] = "Janssen";
    insert.f[5] = "2003";
    EXPECT_EQ(cite(12, insert), "Duragesic package insert. Titusville, NJ: Janssen; 2003. ");

    Fields web;
    web.f[2] = "Guideline";
    web.f[6] = "http://example.org/";
    EXPECT_EQ(cite(13, web), "Guideline. URL: http://example.org/");

    Fields software;
    software.f[2] = "Program";
    software.f[10] = "2.1";
    EXPECT_EQ(cite(11, software), "Program. Version 2.1. ");
}

TEST(Citation, UnknownTypesUseTheGeneralTemplate)
{
    Fields f;
    f.f[1] = "A";
    f.f[5] = "2004";
    f.f[9] = "7";
    f.f[11] = "3";
    EXPECT_EQ(cite(20, f), "A. In press 2004. ;7 p. 3. ");
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
