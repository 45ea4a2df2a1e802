// The References section over reference records written into the data root: cited entries in
// stored order two rows apart, the 4-byte padding between entries, a work cited twice listed once, and
// damaged or missing records that add nothing they cannot read.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "dbfile/heap.h"
#include "reports/reference_record.h"
#include "reports/reports.h"
#include "report_fixture.h"

namespace {

typedef std::vector<ReportLine> Lines;

// Field indexes of the type 1 example.
PackedEntry smith(std::uint16_t id)
{
    std::vector<std::string> f(17);
    f[1] = "Smith J";
    f[2] = "Opioid dosing";
    f[8] = "J Analg";
    f[5] = "2003";
    f[9] = "4";
    f[10] = "2";
    f[11] = "10-5";
    return referenceEntry(id, 1, f);
}

PackedEntry webPage(std::uint16_t id, const std::string& title)
{
    std::vector<std::string> f(17);
    f[2] = title;
    return referenceEntry(id, 13, f);
}

class References : public ReportTest {};

TEST_F(References, CitedEntriesInStoredOrderOneBlankRowApart)
{
    writeReferences({webPage(10, "Uncited"), webPage(11, "Second"), smith(12), webPage(13, "Also uncited")});
    cite({12, 11, 99});
    EXPECT_EQ(appendReferences(0), 4);
    EXPECT_EQ(lines(), (Lines{body(0, "Second. "), body(2, "Smith J. Opioid dosing. J Analg. 2003;4(2):10-5")}));

    clearLines();
    EXPECT_EQ(appendReferences(5), 9);
    EXPECT_EQ(lines(), (Lines{body(5, "Second. "), body(7, "Smith J. Opioid dosing. J Analg. 2003;4(2):10-5")}));
}

TEST_F(References, AllFieldsEmptyByType)
{
    struct Case {
        int type;
        const char* expected;
    } cases[] = {{1, ""}, {4, "."}, {5, "."}, {8, ". "}, {12, " package insert. "}, {13, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type);
        writeReferences({referenceEntry(7, std::int8_t(c.type), {})});
        cite({7});
        clearLines();
        EXPECT_EQ(appendReferences(0), 2);
        EXPECT_EQ(lines(), (Lines{body(0, c.expected)}));
    }
}

TEST_F(References, OnlyCitedIdsWithSecondKeyZeroCount)
{
    writeReferences({smith(3363)});
    findOrAddNode(citedReferences, 3363, 1, 0, 0);
    EXPECT_EQ(appendReferences(3), 3);
    EXPECT_TRUE(lines().empty());
}

TEST_F(References, NothingCitedOrNoRecordAddsNothing)
{
    struct Case {
        const char* name;
        bool file;
        std::vector<Bytes> records;
        bool cites;
    } cases[] = {
        {"nothing cited", true, {makePackedRecord(3, 0, {smith(1)})}, false},
        {"no database file", false, {}, true},
        {"no reference record", true, {makeRecord(1, 0, 0, Bytes(4, 0))}, true},
        {"a reference record of another module", true, {makePackedRecord(3, 1, {smith(1)})}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder.path + "/Program Files");
        if (c.file)
            writeContent(c.records);
        releaseList(citedReferences);
        if (c.cites)
            cite({1});
        clearLines();
        EXPECT_EQ(appendReferences(6), 6);
        EXPECT_TRUE(lines().empty());
    }
}

TEST_F(References, EntriesArePaddedToAMultipleOfFour)
{
    // An entry of 20 + n bytes (one field of n characters) is followed by (4 - n % 4) % 4
    // padding bytes; the padding is filled with bytes that would be misread as an entry.
    for (int n = 0; n <= 4; ++n) {
        SCOPED_TRACE(testing::Message() << "first entry of " << 20 + n << " bytes");
        Bytes record = makePackedRecord(3, 0, {webPage(1, std::string(std::size_t(n), 'a')), webPage(2, "Next")});
        const std::size_t nextEntry[] = {36, 40, 40, 40, 40};
        std::size_t next = nextEntry[n];
        for (std::size_t at = std::size_t(16 + 20 + n); at < next; ++at)
            record[at] = 0xAA;
        ASSERT_EQ(record[next], 2);   // the next entry's id, little-endian
        ASSERT_EQ(record[next + 1], 0);
        writeContent({record});
        releaseList(citedReferences);
        cite({2});
        clearLines();
        EXPECT_EQ(appendReferences(0), 2);
        EXPECT_EQ(lines(), (Lines{body(0, "Next. ")}));
    }
}

TEST_F(References, AWorkCitedUnderSeveralIdsIsListedOnce)
{
    // Rules citing the same work under their own ids: the work is listed once, where it first
    // comes in stored order; a different text that merely starts the same is its own line.
    writeReferences({smith(20), webPage(21, "Other work"), smith(22), webPage(23, "Other"), webPage(24, "Other work")});
    cite({24, 23, 22, 21, 20});
    EXPECT_EQ(appendReferences(0), 6);
    EXPECT_EQ(lines(), (Lines{body(0, "Smith J. Opioid dosing. J Analg. 2003;4(2):10-5"), body(2, "Other work. "),
                              body(4, "Other. ")}));
}

TEST_F(References, AWorkIsListedOnceWhateverStoresItAgain)
{
    // A field the template does not print (3) differs: other bytes, the same citation. Past the
    // works the section keeps for comparing stored bytes, citations are still compared.
    PackedEntry withNote = webPage(31, "Guideline");
    withNote.strings[3] = "a note";
    std::vector<PackedEntry> many;
    std::vector<std::uint16_t> ids;
    Lines expected;
    for (std::uint16_t i = 0; i < 70; ++i) {
        std::string title = "Work " + std::to_string(i);
        many.insert(many.end(), {webPage(100 + i, title), webPage(200 + i, title)});
        ids.insert(ids.end(), {std::uint16_t(200 + i), std::uint16_t(100 + i)});
        expected.push_back(body(2 * i, title + ". "));
    }
    struct Case {
        const char* name;
        std::vector<PackedEntry> entries;
        std::vector<std::uint16_t> cited;
        Lines expected;
    } cases[] = {
        {"the same bytes under another id", {webPage(30, "Guideline"), webPage(31, "Guideline")}, {30, 31},
         {body(0, "Guideline. ")}},
        {"other bytes giving the same text", {webPage(30, "Guideline"), withNote}, {31, 30}, {body(0, "Guideline. ")}},
        {"seventy works each stored twice", many, ids, expected},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeReferences(c.entries);
        releaseList(citedReferences);
        cite(c.cited);
        clearLines();
        EXPECT_EQ(appendReferences(0), int(2 * c.expected.size()));
        EXPECT_EQ(lines(), c.expected);
    }
}

TEST_F(References, TheSectionListsFromTheReadOfTheCheckBeforeIt)
{
    // The results page's check reads the record; the section chosen next lists from that read,
    // and every later listing reads the record again.
    ReferenceIndex* index = &app->referenceIndex;
    cite({1});
    struct Step {
        const char* name;
        const char* before;   // stored before the step ("": no record), nullptr: the file as it is
        bool check;           // the References check reads the record
        const char* after;    // stored after the check, nullptr: nothing
        const char* listed;
    } steps[] = {
        {"no read yet: the section reads", "First", false, nullptr, "First. "},
        {"listed again: read again", "Second", false, nullptr, "Second. "},
        {"changed after a check: the check's read", nullptr, true, "Third", "Second. "},
        {"listed again: the change", nullptr, false, nullptr, "Third. "},
        {"a check that found no record: read", "", true, "Fourth", "Fourth. "},
        {"a check of the same bytes", nullptr, true, nullptr, "Fourth. "},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        if (s.before && !s.before[0])
            writeContent({});
        else if (s.before)
            writeReferences({webPage(1, s.before)});
        if (s.check)
            readIndexedReferences(index);
        if (s.after)
            writeReferences({webPage(1, s.after)});
        clearLines();
        EXPECT_EQ(appendReferences(0), 2);
        EXPECT_EQ(lines(), (Lines{body(0, s.listed)}));
    }
}

// The record as stored: three cited entries of different lengths.
Bytes threeCitations()
{
    return makePackedRecord(3, 0, {webPage(1, "First"), smith(2), webPage(3, "Third one")});
}
const Lines threeLines = {body(0, "First. "), body(2, "Smith J. Opioid dosing. J Analg. 2003;4(2):10-5"),
                          body(4, "Third one. ")};

TEST_F(References, TheEntryCountBoundsTheWalk)
{
    Bytes full = threeCitations();
    Bytes entries(full.begin() + 16, full.end());
    struct Case {
        const char* name;
        std::int16_t count;
        std::size_t listed;
    } cases[] = {
        {"as stored", 3, 3}, {"two", 2, 2}, {"zero", 0, 0}, {"negative", -1, 0},
        {"more than stored: the walk ends with the record", 9, 3}, {"the largest count", 32767, 3},
    };
    cite({1, 2, 3});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeContent({makeRecord(3, 0, c.count, entries)});
        clearLines();
        EXPECT_EQ(appendReferences(0), int(2 * c.listed));
        EXPECT_EQ(lines(), Lines(threeLines.begin(), threeLines.begin() + std::ptrdiff_t(c.listed)));
    }
}

TEST_F(References, ARecordCutAtEveryByteListsOnlyTheEntriesItHoldsWhole)
{
    Bytes full = threeCitations();
    // Where each entry's last string ends (its padding may be cut off): the entries hold 25, 57
    // and 29 bytes and start at 16, 44 and 104.
    const std::size_t ends[] = {16 + 25, 44 + 57, 104 + 29};
    ASSERT_EQ(full.size(), 136u);
    cite({1, 2, 3});
    for (std::size_t size = 0; size <= full.size(); ++size) {
        SCOPED_TRACE(testing::Message() << "record of " << size << " bytes");
        writeContent({Bytes(full.begin(), full.begin() + std::ptrdiff_t(size))});
        clearLines();
        std::size_t whole = 0;
        while (whole < 3 && ends[whole] <= size)
            ++whole;
        EXPECT_EQ(appendReferences(0), int(2 * whole));
        EXPECT_EQ(lines(), Lines(threeLines.begin(), threeLines.begin() + std::ptrdiff_t(whole)));
    }
}

TEST_F(References, FlippedBytesNeverCrash)
{
    Bytes full = threeCitations();
    cite({1, 2, 3, 0x0100, 0x0200});
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        Bytes damaged = full;
        for (int flips = 0; flips < 3; ++flips)
            damaged[random() % damaged.size()] ^= std::uint8_t(1 + random() % 255);
        writeContent({damaged});
        clearLines();
        int row = appendReferences(0);
        EXPECT_EQ(std::size_t(row), 2 * lines().size()) << "round " << round;
    }
}

TEST_F(References, WithoutMemoryTheCitationsThatCanBeMadeAreListed)
{
    writeReferences({webPage(1, "First"), smith(2), webPage(3, "Third")});
    cite({1, 2, 3});
    const std::vector<std::string> texts = {"First. ", "Smith J. Opioid dosing. J Analg. 2003;4(2):10-5", "Third. "};
    for (long failAt = 1;; ++failAt) {
        SCOPED_TRACE(testing::Message() << "allocation " << failAt << " fails");
        clearLines();
        setAllocationFailure(failAt);
        int row = appendReferences(0);
        long used = allocationCount();
        setAllocationFailure(0);
        // The lines shown are citations in stored order, two rows apart; one whose text could not
        // be made leaves no row, one whose line could not be added leaves its row empty.
        Lines got = lines();
        std::size_t next = 0;
        int lastRow = -2;
        for (const ReportLine& line : got) {
            while (next < texts.size() && texts[next] != line.text)
                ++next;
            EXPECT_LT(next, texts.size()) << line;
            EXPECT_EQ(line.row % 2, 0) << line;
            EXPECT_GT(line.row, lastRow) << line;
            lastRow = line.row;
            ++next;
        }
        EXPECT_LE(row, 6);
        EXPECT_GE(row, lastRow + 2);
        if (failAt > used) {
            EXPECT_EQ(got, (Lines{body(0, texts[0]), body(2, texts[1]), body(4, texts[2])}));
            EXPECT_EQ(row, 6);
            break;
        }
    }
}

} // namespace
