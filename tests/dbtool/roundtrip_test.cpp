// Build then dump: every element and entry comes back as written, through the program's own
// reader and accessors, for the repository's data and for sources that use every field and byte.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/dbtool/helpers.h"
#include "tools/dbtool/lib/build.h"
#include "tools/dbtool/lib/dump.h"

namespace {

using ::testing::HasSubstr;

std::string allBytes()
{
    std::string s;
    for (int b = 1; b < 256; ++b)
        s.push_back(char(b));
    return s;
}

// Writes the database and dumps it; the dump must find no damage.
DumpResult buildAndDump(const TempFolder& folder, const std::string& name, const Bytes& bytes, DatabaseKind kind)
{
    std::string path = folder.file(name);
    std::string error;
    EXPECT_TRUE(writeBytes(path, bytes, &error)) << error;
    DumpResult dump = dumpDatabase(path, kind);
    EXPECT_TRUE(dump.damage.empty()) << name << ": " << dump.damage[0];
    return dump;
}

void expectSameDisplay(const DisplaySource& written, const std::string& dumpText)
{
    SourceErrors errors;
    DisplaySource back;
    parseDisplayText(dumpText, "dump", &back, &errors);
    finishDisplaySource(&back, &errors);
    ASSERT_TRUE(errors.empty()) << joined(errors);
    ASSERT_EQ(back.modules.size(), written.modules.size());
    for (std::size_t m = 0; m < written.modules.size(); ++m) {
        const std::vector<ElementSpec>& a = written.modules[m].elements;
        const std::vector<ElementSpec>& b = back.modules[m].elements;
        ASSERT_EQ(a.size(), b.size()) << "module " << m;
        for (std::size_t i = 0; i < a.size(); ++i)
            EXPECT_EQ(a[i], b[i]) << "module " << m << " element " << i << ":\n  written " << elementSourceText(a[i])
                                  << "\n  dumped  " << elementSourceText(b[i]);
    }
}

void expectSameContent(const ContentSource& written, const std::string& dumpText)
{
    SourceErrors errors;
    ContentSource back;
    parseContentText(dumpText, "dump", &back, &errors);
    ASSERT_TRUE(errors.empty()) << joined(errors);
    EXPECT_EQ(back.ranges, written.ranges);
    EXPECT_EQ(back.conversions, written.conversions);
    EXPECT_EQ(back.references, written.references);
}

TEST(RoundTrip, TheRepositoryDataComesBackAsWritten)
{
    TempFolder root;
    std::string data = std::string(ZURA_TEST_DIR) + "/../../data";
    SourceErrors errors;
    ASSERT_TRUE(buildDatabases(data, root.path(), &errors)) << joined(errors);
    DisplaySource display;
    ContentSource content;
    loadDisplaySources(data, &display, &errors);
    loadContentSources(data, &content, &errors);
    ASSERT_TRUE(errors.empty()) << joined(errors);

    DumpResult d = dumpDatabase(displayDatabaseFile(root.path()));
    ASSERT_TRUE(d.damage.empty()) << d.damage[0];
    expectSameDisplay(display, d.text);
    EXPECT_THAT(d.text, HasSubstr("\nMODULE 1979 \"Acute Pain Management\"\n  PAGE 9521 \"Home\"\n"));
    EXPECT_THAT(d.text, HasSubstr("\n        OPTION 17060 key1=0x913CE341 key2=663 group=10332 default=0xFFFF "
                                  "\"Morphine\"\n"));

    DumpResult c = dumpDatabase(contentDatabaseFile(root.path()));
    ASSERT_TRUE(c.damage.empty()) << c.damage[0];
    expectSameContent(content, c.text);
    EXPECT_THAT(c.text, HasSubstr("conversion key1=0x913CE341 key2=663 from=3 to=8 table=1\n"));
}

TEST(RoundTrip, TheDatabasesOfTheBuildDumpWithoutDamage)
{
    std::string folder = std::string(ZURA_DATA_ROOT) + "/Program Files/Quellix/";
    for (const char* name : {"DisplayDB-Qx4k.pdb", "DEZidiVA-Qx4k.pdb"}) {
        DumpResult r = dumpDatabase(folder + name);
        EXPECT_TRUE(r.damage.empty()) << name << ": " << r.damage[0];
        EXPECT_THAT(r.text, HasSubstr(" records\n")) << name;
    }
}

TEST(RoundTrip, EveryFieldAndEveryByteOfAnElementComesBack)
{
    std::string bytes = quoteText(allBytes());
    std::string source = "[module 0]\n"
                         "MODULE 1 \"root\"\n"
                         "  PAGE 2 key1=0xFFFFFFFF key2=0x80000001 group=65535 default=0xFFFF sub=65534 state=HIDDEN "
                         "class=SUSCEPTIBILITY style=NAVIGATION required attr=" + bytes + " " + bytes + "\n"
                         "    SPACER 3\n"
                         "    LABEL 4 \"\"\n"
                         "    40 5 class=9 style=4 state=3 \"codes without names\"\n"
                         "    INPUT 6 attr=\"\" \"empty attributes\"\n"
                         "[module 1]\n"
                         "  MODULE 7 \"second module\"\n"
                         "    PAGE 8 style=RECOMMEND class=RECOMMEND \"Recommendation\"\n";
    SourceErrors errors;
    DisplaySource s = parseDisplay(source, &errors);
    ASSERT_TRUE(errors.empty()) << joined(errors);
    Bytes db;
    ASSERT_TRUE(buildDisplayDatabase(s, &db, &errors));
    TempFolder folder;
    DumpResult d = buildAndDump(folder, "DisplayDB-Qx4k.pdb", db, DatabaseKind::Detect);
    expectSameDisplay(s, d.text);
}

TEST(RoundTrip, AFirstElementWithoutTextReadsTheStringRecordsEmptyFirstText)
{
    SourceErrors errors;
    DisplaySource s = parseDisplay("[module 0]\nSPACER 1\n  SPACER 2\n", &errors);
    ASSERT_TRUE(errors.empty());
    Bytes db;
    ASSERT_TRUE(buildDisplayDatabase(s, &db, &errors));
    TempFolder folder;
    DumpResult d = buildAndDump(folder, "x.pdb", db, DatabaseKind::Display);
    EXPECT_THAT(d.text, HasSubstr("\nSPACER 1 \"\"\n  SPACER 2\n"));
}

TEST(RoundTrip, EveryEntryAndEveryByteOfTheContentComesBack)
{
    std::string b = quoteText(allBytes());
    std::string source = "range table=-128 lower=0 upper=1\n";
    for (int i = 0; i < doseRangeStringCount; ++i)
        source += std::string("    ") + doseRangeStringName(i) + " " + b + "\n";
    source += "range table=127 lower=65534 upper=65535\n    regimen3 \"None\"\n"
              "conversion key1=0xFFFFFFFF key2=0 from=-1 to=127 table=-128\n";
    for (int i = 0; i < conversionStringCount; ++i)
        source += std::string("    ") + conversionStringName(i) + " \"p" + std::to_string(i) + "\"\n";
    source += "reference id=65535 type=-1\n";
    for (int i = 0; i < referenceStringCount; ++i)
        source += std::string("    ") + referenceFieldName(i) + " " + b + "\n";
    // Entries whose ends fall on each of the four places before a multiple of 4.
    for (int pad = 0; pad < 4; ++pad)
        source += "reference id=" + std::to_string(pad) + " type=1\n    title \"" + std::string(std::size_t(pad), 't') +
                  "\"\n";
    SourceErrors errors;
    ContentSource s = parseContent(source, &errors);
    ASSERT_TRUE(errors.empty()) << joined(errors);
    Bytes db;
    ASSERT_TRUE(buildContentDatabase(s, &db, &errors));
    TempFolder folder;
    DumpResult d = buildAndDump(folder, "c.pdb", db, DatabaseKind::Content);
    expectSameContent(s, d.text);
}

TEST(RoundTrip, AnEmptyContentSourceMakesEmptyRecords)
{
    ContentSource s;
    SourceErrors errors;
    Bytes db;
    ASSERT_TRUE(buildContentDatabase(s, &db, &errors));
    TempFolder folder;
    DumpResult d = buildAndDump(folder, "c.pdb", db, DatabaseKind::Content);
    EXPECT_THAT(d.text, HasSubstr("# reference record: record 2 (offset "));
    expectSameContent(s, d.text);
}

} // namespace
