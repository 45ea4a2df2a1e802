// Fixture for the report tests: the two global records with a display list on the fixed-width
// test face, a real section selector combo box, a small questionnaire for element texts, and a
// temporary data root (the current folder while a test runs) for the content database.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "tests/common/fixture.h"

// A display line as the report tests compare it. plain: the style every report line shares
// (a TextLine with copied text, tags 0, id 0, group 0, not underlined, state false, no width).
struct ReportLine {
    int row;
    std::string text;
    int x = 0, contX = 0;
    bool bold = false;
    bool plain = true;
    bool operator==(const ReportLine&) const = default;
};
std::ostream& operator<<(std::ostream& out, const ReportLine& l);

inline ReportLine heading(int row, const std::string& text) { return {row, text, 0, 0, true}; }
inline ReportLine body(int row, const std::string& text, int x = 0) { return {row, text, x, x}; }

// A citation entry: the u16 id, the type byte and 17 fields (missing ones empty).
PackedEntry referenceEntry(std::uint16_t id, std::int8_t type, const std::vector<std::string>& fields);

class ReportTest : public ::testing::Test, public GlobalRecords {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the content database of the data root: another record, then these.
    void writeContent(const std::vector<Bytes>& records);
    void writeReferences(const std::vector<PackedEntry>& entries);

    // The selector holding one item per name, the one at index chosen (none when -1).
    void selectorShows(const std::vector<std::u16string>& names, int chosen);
    void selectSection(const std::u16string& name) { selectorShows({name}, 0); }

    // The display database's module 0 made of these elements, for element texts.
    void loadQuestionnaire(const std::vector<ElementSpec>& elements);

    static void add(TextList* list, const char* text, const char* marker = "");
    std::vector<ReportLine> lines() const;
    void clearLines();

    ScratchFolder folder{"reports"};
};
