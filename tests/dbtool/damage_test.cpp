// Damaged database files: each kind of damage is reported with what and where, and no damage,
// however made (truncation at every byte, random bytes), makes the dump read past its data.
#include <cstring>
#include <functional>
#include <random>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dbfile/bytes.h"
#include "tests/dbtool/helpers.h"
#include "tools/dbtool/lib/dump.h"

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

// Three modules; module 1 ends with an attribute string, so cutting the file's end cuts it.
const char* const displaySource = "[module 0]\n"
                                  "MODULE 1 \"root\"\n"
                                  "  PAGE 2 \"Home\"\n"
                                  "[module 1]\n"
                                  "  MODULE 3 \"m\"\n"
                                  "    INPUT 4 attr=\"SIZE=6\" \"Dose:\"\n"
                                  "[module 2]\n"
                                  "  MODULE 5 \"n\"\n";

const char* const contentSource = "range table=1 lower=0 upper=10\n    regimen1 \"a\"\n"
                                  "conversion key1=1 key2=2 from=3 to=8 table=1\n    product1 \"p\"\n"
                                  "reference id=7 type=1\n    title \"t\"\n"
                                  "reference id=8 type=1\n    title \"u\"\n";

Bytes displayFixture()
{
    SourceErrors errors;
    DisplaySource s = parseDisplay(displaySource, &errors);
    Bytes out;
    EXPECT_TRUE(errors.empty() && buildDisplayDatabase(s, &out, &errors)) << joined(errors);
    return out;
}

Bytes contentFixture()
{
    SourceErrors errors;
    ContentSource s = parseContent(contentSource, &errors);
    Bytes out;
    EXPECT_TRUE(errors.empty() && buildContentDatabase(s, &out, &errors)) << joined(errors);
    return out;
}

std::uint32_t recordAt(const Bytes& b, int i) { return readU32(b.data() + 78 + 8 * i); }
void setU16(Bytes& b, std::size_t at, std::uint16_t v)
{
    b[at] = std::uint8_t(v);
    b[at + 1] = std::uint8_t(v >> 8);
}
void setU32(Bytes& b, std::size_t at, std::uint32_t v)
{
    setU16(b, at, std::uint16_t(v));
    setU16(b, at + 2, std::uint16_t(v >> 16));
}
// Element i of the hierarchy record that is record r of the file.
std::size_t elementAt(const Bytes& b, int r, int i) { return recordAt(b, r) + 16 + 26 * i; }

struct DamageCase {
    const char* name;
    bool display;
    std::function<void(Bytes&)> damage;
    std::string message;
};

DumpResult dumpBytes(const Bytes& bytes, bool display)
{
    TempFolder folder;
    std::string path = folder.file("fixture.pdb");
    std::string error;
    if (bytes.empty())
        folder.write("fixture.pdb", "");
    else
        EXPECT_TRUE(writeBytes(path, bytes, &error)) << error;
    return dumpDatabase(path, display ? DatabaseKind::Display : DatabaseKind::Content);
}

TEST(Damage, EachKindOfDamageIsReportedWithWhatAndWhere)
{
    // Display records: 0 h0, 1 s0, 2 h1, 3 s1, 4 h2, 5 s2. Content: 0 ranges, 1 conversions, 2 references.
    const DamageCase cases[] = {
        {"shorter than a container header", true, [](Bytes& b) { b.resize(79); },
         "the file has 79 bytes, fewer than the 80 bytes of a container header"},
        {"empty file", true, [](Bytes& b) { b.clear(); }, "the file has 0 bytes, fewer than the 80 bytes of a container header"},
        {"record list past the end", true, [](Bytes& b) { setU16(b, 76, 300); },
         "the record list of 300 entries needs 2478 bytes but the file has"},
        {"record offset past the end", true, [](Bytes& b) { setU32(b, 78 + 8 * 3, 100000); },
         "record 3 (list entry at 102): starts at 100000, past the end of the file ("},
        {"record end past the end", true, [](Bytes& b) { setU32(b, 78 + 8 * 3, 100000); },
         "record 2 (list entry at 94): ends at 100000, past the end of the file ("},
        {"record end before its start", true, [](Bytes& b) { setU32(b, 78 + 8 * 2, recordAt(b, 1) - 10); },
         "record 1 (list entry at 86): ends at "},
        {"record shorter than its header", true, [](Bytes& b) { setU32(b, 78 + 8 * 1, recordAt(b, 0) + 10); },
         "record 0 (list entry at 78): 10 bytes, shorter than the 16-byte record header"},
        {"hierarchy claims more elements than it holds", true, [](Bytes& b) { setU16(b, recordAt(b, 2) + 8, 5); },
         "hierarchy record of module 1 (record 2 (offset "},
        {"negative element count", true, [](Bytes& b) { setU16(b, recordAt(b, 0) + 8, 0xFFFF); },
         "hierarchy record of module 0 claims -1 elements but holds no whole element"},
        {"text offset beyond its string record", true, [](Bytes& b) { setU16(b, elementAt(b, 0, 1) + 16, 0x7000); },
         "element 2 (module 0, element 1): textOffset 28672 lies beyond the string record of module 0 (11 bytes of texts)"},
        {"string record that is not a module", true, [](Bytes& b) { b[elementAt(b, 0, 1) + 18] = 12; },
         "element 2 (module 0, element 1): names string record 12, which is not a module 0..9"},
        {"missing string record", true, [](Bytes& b) { b[recordAt(b, 1) + 12] = 9; },
         "element 1 (module 0, element 0): names the string record of module 0, which the file does not have"},
        {"attribute string cut off", true, [](Bytes& b) { b[recordAt(b, 3) + 16 + 15] = 'x'; },
         "element 4 (module 1, element 1): the attribute string after its text runs past the end of the string record"},
        {"text cut off", true, [](Bytes& b) { std::memset(b.data() + recordAt(b, 3) + 16 + 3, 'x', 13); },
         "element 4 (module 1, element 1): the text at textOffset 3 runs past the end of the string record of module 1 "
         "without its terminating NUL"},
        {"module after a missing module", true, [](Bytes& b) { b[recordAt(b, 2) + 12] = 7; },
         "module 2 comes after module 1, which is missing or empty: the program never sees its elements"},
        {"no module 0", true, [](Bytes& b) { b[recordAt(b, 0) + 12] = 7; },
         "there is no hierarchy record of module 0 with elements: the questionnaire is empty"},
        {"dose-range entries past the record", false, [](Bytes& b) { setU16(b, recordAt(b, 0) + 8, 2); },
         "dose-range entry 1 (offset 20 from the first entry) runs past the end of the record (20 bytes of entries)"},
        {"conversion entries past the record", false, [](Bytes& b) { setU16(b, recordAt(b, 1) + 8, 3); },
         "conversion entry 1 (offset "},
        {"reference entries past the record", false, [](Bytes& b) { setU16(b, recordAt(b, 2) + 8, 5); },
         "reference entry 2 (offset 48 from the first entry) runs past the end of the record (48 bytes of entries)"},
        {"last reference cut off", false, [](Bytes& b) { b.resize(b.size() - 4); },
         "reference entry 1 (offset 24 from the first entry) runs past the end of the record (44 bytes of entries)"},
        {"negative entry count", false, [](Bytes& b) { setU16(b, recordAt(b, 0) + 8, 0xFFFE); },
         "dose-range record: entryCount -2 is negative"},
    };
    for (const DamageCase& c : cases) {
        Bytes b = c.display ? displayFixture() : contentFixture();
        c.damage(b);
        DumpResult r = dumpBytes(b, c.display);
        ASSERT_FALSE(r.damage.empty()) << c.name;
        EXPECT_THAT(r.damage, Contains(HasSubstr(c.message))) << c.name << ": got\n  " << ::testing::PrintToString(r.damage);
        EXPECT_THAT(r.text, HasSubstr("# damage: ")) << c.name << ": the dump shows the damage where it is found";
    }
}

TEST(Damage, SoundFixturesHaveNone)
{
    EXPECT_TRUE(dumpBytes(displayFixture(), true).damage.empty());
    EXPECT_TRUE(dumpBytes(contentFixture(), false).damage.empty());
}

TEST(Damage, EveryTruncationIsReportedAndNothingIsReadPastTheEnd)
{
    for (bool display : {true, false}) {
        Bytes whole = display ? displayFixture() : contentFixture();
        // The content file may lose the last entry's padding (up to 3 bytes) unharmed.
        std::size_t harmless = display ? 0 : 3;
        for (std::size_t n = 0; n < whole.size(); ++n) {
            Bytes b(whole.begin(), whole.begin() + std::ptrdiff_t(n));
            DumpResult r = dumpBytes(b, display);
            if (n + harmless < whole.size())
                EXPECT_FALSE(r.damage.empty()) << (display ? "display" : "content") << " cut to " << n << " bytes";
        }
    }
}

TEST(Damage, RandomBytesNeverMakeTheDumpReadOutsideTheFile)
{
    std::mt19937 random(20261209);
    for (bool display : {true, false}) {
        Bytes whole = display ? displayFixture() : contentFixture();
        for (int round = 0; round < 300; ++round) {
            Bytes b = whole;
            int flips = 1 + int(random() % 4);
            for (int i = 0; i < flips; ++i)
                b[random() % b.size()] = std::uint8_t(random());
            dumpBytes(b, display);   // the sanitizer build fails on any read outside the data
        }
    }
}

} // namespace
